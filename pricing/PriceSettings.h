#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/Fault.h"

namespace pricing {

// The rounding step of the price list (optNone, opt25, opt1).
enum class RoundingStep { None, Quarter, Dollar };

// The rounding direction (optUP, optDN); neither is set when the window starts. Only Up rounds up:
// neither counts as Down.
enum class RoundingDirection { Neither, Up, Down };

// The typeface of the printed sheet (optCour, optTime, optSans).
enum class Typeface { Courier, TimesRoman, SansSerif };

// The price-list parameters as the main window holds them: the seven texts as typed and the options.
struct PriceParameters
{
    std::string qty1 = "100";  // txtQty1, start quantity
    std::string qty2 = "500";  // txtQty2, second quantity
    std::string qty3 = "2000"; // txtQty3, third quantity
    std::string qty4 = "5000"; // txtQty4, final quantity
    std::string jump1 = "25";  // txtJump1, step from the start to the second quantity
    std::string jump2 = "100"; // txtJump2
    std::string jump3 = "500"; // txtJump3
    RoundingStep step = RoundingStep::None;
    RoundingDirection direction = RoundingDirection::Neither;
    Typeface typeface = Typeface::TimesRoman;

    bool operator==(const PriceParameters&) const = default;
};

// The ten positions of the price-data file (index 0 holds position 1): the seven texts, then the
// direction ("0" Up, "1" Down), the step ("0" None, "1" 0.25, "2" 1.00), the typeface ("0" Courier,
// "1" Times Roman, "2" Sans Serif).
using PriceDataPositions = std::array<std::string, 10>;

inline constexpr const char* PriceDataFileName = "PriceData.dta";

// data folder + "/PriceData.dta"
std::string priceDataPath(const std::string& dataFolder);

// The positions to save (PriceData): the seven texts and the options; a direction of Neither keeps
// position 8 as it was in `previous`.
PriceDataPositions priceDataFrom(const PriceParameters& parameters, const PriceDataPositions& previous);

// Writes the ten positions as ten lines, replacing the file. Write errors are not reported to the
// user (the settings are a convenience); the result says whether the file was written.
bool writePriceData(const std::string& dataFolder, const PriceDataPositions& positions);

// Reads the file item by item into positions 1, 2, 3 ... Missing positions stay empty. No file, an
// unreadable file or an 11th item give no positions at all: nothing is applied. A file that is there but
// cannot be read (a folder, a FIFO, one too large) puts the fault naming it and why into `unreadable`.
std::optional<PriceDataPositions> readPriceData(const std::string& dataFolder,
                                                std::optional<platform::Fault>* unreadable = nullptr);

// GetPrice: the seven texts as they stand; positions 8 to 10 by their leading number (0 when empty):
// 8: 0 Up, 1 Down, else neither; 9: 0 None, 1 0.25, else 1.00; 10: 0 Courier, 1 Times Roman, else Sans Serif.
void applyPriceData(const PriceDataPositions& positions, PriceParameters& parameters);

// Read and apply in one: the parameters from the file when it reads, else `parameters` unchanged.
// Returns whether the file was applied.
bool loadPriceData(const std::string& dataFolder, PriceParameters& parameters);

} // namespace pricing
