#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Conversions.h"

namespace pricing {

// One quantity of a priced list and its rounded price, as the checks read it.
struct PricePoint
{
    std::int32_t quantity = 0;
    platform::Currency price;
};

// What may be wrong with a price list as a whole. None of them stops a price or a sheet: they say where a
// second look is worth it before the list goes on the counter.
enum class CheckKind
{
    SamePrice,      // every quantity the same price: the quantity reaches none of the order's costs
    LowerPrice,     // a larger quantity costs less than a smaller one
    DearerPerPiece, // a larger quantity costs more per piece than a smaller one
    BigStep,        // the price rises far more between two quantities than it does elsewhere in the list
};

struct PriceCheck
{
    CheckKind kind = CheckKind::SamePrice;
    std::vector<std::int32_t> quantities; // the quantities to look at, ascending
    std::string text;                     // what to look at, in the shop's words

    bool operator==(const PriceCheck&) const = default;
};

// The kind's name where the checks are written for other programs: "same-price", "lower-price",
// "dearer-per-piece", "big-step".
std::string_view checkKindName(CheckKind kind);

// A rise between neighbouring quantities counts as a big step when it is more than this many times the
// rise the list's median rise a piece gives for as many more pieces.
inline constexpr int kBigStepFactor = 3;

// Checks a priced list (in any order; a quantity given twice counts once). Prices per piece are compared as
// the shop reads them, to a hundredth of a cent. A rise is measured a piece, so a schedule whose steps grow
// from 25 to 500 pieces does not look like a list of jumps; and a rise counts as a big step only when it is
// more than a dollar over the usual one, so rounding prices to the dollar alone never sets it off. A list
// of fewer than two quantities has nothing to compare; one of fewer than four has no usual rise.
std::vector<PriceCheck> checkPrices(std::vector<PricePoint> prices);

// The prices of a list as its run gives them, for its checks once it is over. A list of more than
// kMostCheckedQuantities is not kept (nor checked): its memory stays what the run's is.
class PriceListChecks
{
public:
    static constexpr std::size_t kMostCheckedQuantities = 1000000;

    void add(std::int32_t quantity, const platform::Currency& price);
    // The list's checks; none for a list too long to be checked.
    std::vector<PriceCheck> checks() const;
    // The prices kept, in the order they were added.
    const std::vector<PricePoint>& prices() const noexcept { return m_prices; }
    bool tooLong() const noexcept { return m_tooLong; }

private:
    std::vector<PricePoint> m_prices;
    bool m_tooLong = false;
};

// What a list too long to check is told: "The prices were not checked: the list has more than 1,000,000
// quantities."
std::string notCheckedText();

} // namespace pricing
