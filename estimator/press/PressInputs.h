#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "platform/Value.h"

namespace estimator::press {

// A group of order or plate columns the estimate reads part-way through its arithmetic. The loader reads
// them up front; should a read fail (a column missing from the shop's table), the failure is raised again
// where the estimate reads them, after the figures worked out before it, as it always surfaced there.
struct LateRead
{
    std::exception_ptr fault;
    void raiseIfFailed() const
    {
        if (fault)
            std::rethrow_exception(fault);
    }
};

// The press, plate and job settings of the order part, as the estimate reads them from the order row, the
// press row and the plate row (defaults already in place where the shop left a setting at 0).
struct PressSettings
{
    std::int32_t pressId = 0;
    std::int32_t plateId = 0;
    double stockPressEfficiency = 0; // per cent; 100 for a job without stock
    std::int16_t speedEfficiency = 0, speedKFactor = 0, spoilEfficiency = 0, spoilKFactor = 0;
    std::int16_t difficulty = 0;   // PRESSDIFFICULTY as read (0 stays 0 for the curves)
    std::int32_t plates = 0;       // L, at least 1
    std::int32_t passes = 0;       // N, at least 1
    std::int32_t printHeads = 0;   // H
    double pressSpec = 0;          // 1 for work-and-turn
    bool useStockPressEfficiency = false;
    double feederHeight = 0;
    std::int32_t minSpeed = 0, maxSpeed = 0;
    double minSpoilage = 0, maxSpoilage = 0;
    bool carbonlessImpact = false, stockImpact = false;
    double washupTime = 0, fountainWaste = 0, feederLoadingTime = 0;
    double regGuideTime = 0, deliveryTime = 0, setupTime = 0;
    double costPerHour = 0;          // R
    std::int32_t sheetsPerPlate = 0; // K
    double impressionsPerPlate = 0, mountingTime = 0, remountTime = 0, wtTime = 0, costPerPlate = 0;
    bool metalPlate = false; // "METAL" in the plate's name or description
    LateRead plateNameRead{}; // PLATENAME and PLATEDESC
};

// The order part's variables as the engine worked them out for the quantity.
struct OrderFigures
{
    std::int32_t quantity = 0;   // the quantity being priced
    double piecesToProduce = 0;  // P
    double numberUp = 0;         // U
    double signatures = 0;       // S
    double parts = 0;            // sheets in a carbonless set
    double pressDiffFactor = 0;  // the press-sheet difference factor
    double pressSheetsPerParent = 0;
    bool stockSelected = false;
    bool pressTypeZero = false;  // a duplicator
    bool parentSheetKnown = false; // the parent sheet has both dimensions
    double parentUsageRatio = 0;
};

// The order's stock at its three price breaks. The first break is its cartons times the carton's thousands;
// the second adds one carton's thousands to the break's thousands.
struct StockPrices
{
    double cartonThousands = 0; // STOCK1000CTN
    double break2 = 0, break3 = 0;
    double cost1 = 0, cost2 = 0, cost3 = 0; // a thousand parent sheets
    LateRead pricesRead{};                  // the carton, break and cost columns
    double weightPerThousand = 0;           // a thousand parent sheets
    LateRead weightRead{};
};

// What the bindery estimate left for the quantity.
struct BinderyHandover
{
    double stockCaliper = 0; // as the bindery loaded it; 0 when it loaded none
    double spoilagePercent = 0;
    double waste = 0;        // units spoiled
    double cost = 0, retail = 0;
    double setupMinutes = 0;
    double costPerHour = 0;
    double hours = 0;
};

// What the pre-press estimate left for the quantity.
struct PrePressHandover
{
    double workMinutes = 0, cameraMinutes = 0, scanMinutes = 0;
    double workCost = 0, cameraCost = 0, scanCost = 0;
    double resultCost = 0;              // the pre-press cost result, which the press marks up
    double reportCost = 0, reportHours = 0, reportRetail = 0; // as the quantity's report holds them
};

// Everything the press run works from.
struct PressInputs
{
    PressSettings settings;
    OrderFigures order;
    StockPrices stock;
    BinderyHandover bindery;
    PrePressHandover prePress;
};

// One ink selection of a colour, its values kept as read: a missing mileage or coverage is a fault only
// when the ink is priced.
struct InkSelection
{
    double costPerPound = 0;
    platform::Value mileage;
    platform::Value coverage;
};

// One stock colour of the order part and its selections.
struct InkColour
{
    std::string name; // cut to 15 characters and trimmed, as the ink list holds it
    std::vector<InkSelection> selections;
};

struct InkInputs
{
    double sheetWidth = 0, sheetLength = 0; // the press sheet
    bool hasBlack = false;  // any colour with "black" in its name
    bool hasColour = false; // any other colour
    std::vector<InkColour> colours; // every stock colour selected (PMS-only selections are not priced)
};

// The department markups (per cent) of the shop.
struct Markups
{
    double stockMinimum = 0, stockMaximum = 0;
    double press = 0, prePress = 0, bindery = 0, outsideServices = 0;
};

// What the job totals read besides the press run: the vendors' costs and the markups.
struct JobTotalsInputs
{
    double vendorCost = 0;         // outside services at the quantity's level
    double vendorLevelOneCost = 0; // at level 1; read only from 1,000 pieces on
    Markups markups;
    // The stock markup's curve, as the order row holds it.
    bool stockMarkupByDollars = false;
    double stockEfficiency = 0, stockKFactor = 0;
};

// A column used "as read" rather than through its formatted text: Null is fault 94 (invalid use of Null)
// and a text that is not a number is fault 13 (type mismatch), as the old runtime's arithmetic on a
// variant was.
double numberAsRead(const platform::Value& value);

// A column converted straight to a 32-bit integer (CLng of the variant): Null is fault 94, a text that is
// not a number fault 13, a value beyond the range fault 6.
std::int32_t longAsRead(const platform::Value& value);

} // namespace estimator::press
