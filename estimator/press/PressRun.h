#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "estimator/cEstimator.h"
#include "platform/Value.h"

namespace estimator {

// The working values of one press estimate: what the press run, the ink estimate and the job totals
// hand each other within one call. Nothing here outlives the call except the copy the engine keeps of
// the last run, which lets a shop (and the tests) see how a figure came about.
struct cEstimator::PressRun
{
    // Settings of the order row, the press row and the plate row, as the estimate reads them.
    std::int32_t pressId = 0;
    std::int32_t plateId = 0;
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
    double costPerHour = 0;        // R
    std::int32_t sheetsPerPlate = 0; // K
    double impressionsPerPlate = 0, mountingTime = 0, remountTime = 0, wtTime = 0, costPerPlate = 0;
    bool metalPlate = false;

    // Speed and spoilage.
    double feederSheets = 0;
    double pressSpeed = 0;         // v, after difficulty and the stock's own efficiency
    double pressSpoilage = 0;      // s
    double caliperFactor = 0;      // c
    double feederStack = 0;
    double binderySpoilage = 0;    // B
    double binderyShare = 0;       // Q
    double totalSpoilage = 0;      // T

    // Time.
    double runHours = 0, washupMinutes = 0, spoilageHours = 0, makeReadyHours = 0, totalHours = 0;
    double impressions = 0;
    double plateSets = 0, totalPlates = 0, plateMinutes = 0, mountingPerPlate = 0;

    // Money.
    double runCost = 0, spoilageCost = 0, makeReadyCost = 0, washupCost = 0, plateCost = 0;
    double prePressCost = 0;
    double parentSheets = 0, stockPricePerThousand = 0;
    double pressStockCost = 0, spoilageStockCost = 0;

    // Press sheets.
    double spoilageSheets = 0, pressSheetsToOrder = 0;
    double pressSheetWeight = 0, usedPaperWeight = 0;
    double effectiveSpeed = 0;
    double pressSheetWidth = 0, pressSheetLength = 0;

    // Ink.
    struct Ink
    {
        std::string colourName; // cut to 15 characters and trimmed, as the ink list holds it
        double costPerPound = 0;
    };
    std::vector<Ink> inks;
    bool hasBlack = false, hasColour = false;
    std::int16_t colourSelections = 0;
    double blackPounds = 0, blackCost = 0, colourPounds = 0, colourCost = 0;

    // Job totals.
    double vendorCost = 0, totalCost = 0, totalRetail = 0;
    double stockMarkupPercent = 0;
    double binderyTimeCost = 0, vendorPerThousand = 0;
    double costPerAddedThousand = 0, retailPerAddedThousand = 0, pricePerThousand = 0;
};

namespace press {

// A column used "as read" rather than through its formatted text: Null is fault 94 (invalid use of
// Null) and a text that is not a number is fault 13 (type mismatch), as the old runtime's arithmetic
// on a variant was.
double numberAsRead(const platform::Value& value);

// A column converted straight to a 32-bit integer (CLng of the variant): Null is fault 94, a text that
// is not a number fault 13, a value beyond the range fault 6.
std::int32_t longAsRead(const platform::Value& value);

} // namespace press
} // namespace estimator
