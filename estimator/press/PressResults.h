#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "estimator/EstimateResults.h"
#include "estimator/Summary.h"

namespace estimator::press {

// The figures of one press estimate: the press run, its ink and the job's totals, as the three steps
// hand them to each other, and what the engine keeps of them: the quantity's report record and the
// engine's results, each starting from what the earlier departments left there.
struct PressResults
{
    // Speed and spoilage.
    std::int32_t curveSpeed = 0;   // from the performance curves, inside the press's range
    double curveSpoilage = 0;      // likewise
    double stockCaliper = 0;       // as the press leaves it: the reference 0.004 when out of range
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

    // Ink.
    struct Ink
    {
        std::string colourName;
        double costPerPound = 0; // of the colour's last selection
    };
    std::vector<Ink> inks;
    std::int16_t colourSelections = 0;
    double blackPounds = 0, blackCost = 0, colourPounds = 0, colourCost = 0;

    // Job totals.
    double vendorCost = 0, totalCost = 0, totalRetail = 0;
    double stockMarkupPercent = 0;
    double binderyTimeCost = 0, vendorPerThousand = 0;
    double costPerAddedThousand = 0, retailPerAddedThousand = 0, pricePerThousand = 0;

    // What the engine keeps: the quantity's report record and the engine's results.
    SummaryRecord report;
    EstimateResults engine;
};

struct PressInputs;
struct InkInputs;
struct JobTotalsInputs;

// The press run: speed and spoilage, time, plates, stock and press sheets.
void pricePressRun(const PressInputs& in, PressResults& out);

// Pounds and cost of the inks over the press sheets to order, black apart from the other colours, plus
// the ink each fountain wastes on washup.
void priceInk(const PressInputs& in, const InkInputs& inks, PressResults& out);

// The whole job once the press and its ink are priced: total cost, retail with each department's markup,
// the stock markup from its curve, and what each further thousand costs and sells for.
void priceJobTotals(const PressInputs& in, const JobTotalsInputs& totals, PressResults& out);

// The job when the order names no press: outside services, bindery and pre-press only, and the press
// sheets the bindery's spoilage alone calls for.
void priceJobWithoutPress(const PressInputs& in, const JobTotalsInputs& totals, PressResults& out);

} // namespace estimator::press
