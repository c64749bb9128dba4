#pragma once

#include <string>

#include "estimator/bindery/BinderyInputs.h"

namespace bindery_test {

using estimator::bindery::OperationInputs;
using estimator::bindery::OrderFigures;

// The shop of the database tests (BinderyShop.h) as the loaders read it, for the costing without a
// database: 1000 pieces of a one-part 8.5 x 11 job, 4 up on a 17 x 22 press sheet, 2 press sheets to a
// 22 x 34 parent sheet, sheet mode, one signature, stock not selected.
inline OrderFigures shopOrder()
{
    OrderFigures order;
    order.piecesToProduce = 1000;
    order.numberUp = 4;
    order.pressSheetsPerParent = 2;
    order.sheetDim = {0, 0, 8.5, 11, 17, 22, 22, 34, 0, 0};
    return order;
}

// Two-part sets: 2000 sheets.
inline OrderFigures twoPartOrder()
{
    OrderFigures order = shopOrder();
    order.parts = 2;
    order.piecesToProduce = 2000;
    return order;
}

// A book of 3 signatures printed on press sheets that are the parent sheets.
inline OrderFigures bookOrder()
{
    OrderFigures order = shopOrder();
    order.productionType = 1;
    order.signatures = 3;
    order.pressSheetsPerParent = 1;
    return order;
}

// The order names its stock, whose parent sheets the 4-up job fills exactly (usage 1).
inline OrderFigures weighedOrder()
{
    OrderFigures order = shopOrder();
    order.stockSelected = 1;
    order.parentUsageRatio = 1;
    return order;
}

// A cutter that runs at exactly 1000 an hour with no spoilage, 60 an hour, no set-up time, waste or
// minimum charge and no flag set; its operation at the finished size, difficulty 5, no repeat runs, one
// set-up, the whole run, curve tuning left to the defaults; caliper at the 0.004 reference.
inline OperationInputs cutterInputs()
{
    OperationInputs in;
    in.selectionId = 10;
    in.selectionFound = true;
    in.selection.binderyId = 1;
    in.selection.difficulty = 5;
    in.selection.setups = 1;
    in.selection.percentOfRun = 100;
    in.binderyFound = true;
    in.bindery.binderyId = 1;
    in.bindery.categoryId = 1;
    in.bindery.name = std::string("Cutter");
    in.bindery.minSpeed = 1000;
    in.bindery.maxSpeed = 1000;
    in.bindery.costPerHour = 60;
    in.paddingCategory = false;
    in.stockCaliper = 0.004;
    return in;
}

// Carbonless sets padded whole: spoilage 2 %, 40 an hour, first set-up 15 min, further set-ups 1 min,
// 0.5 pad glue per square unit, thickness-rated; no percentage of run entered.
inline OperationInputs carbonlessPadInputs(double setups)
{
    OperationInputs in = cutterInputs();
    in.paddingCategory = true;
    in.bindery.name = std::string("Padding press");
    in.bindery.minSpoilage = 2;
    in.bindery.maxSpoilage = 2;
    in.bindery.setupTime = 15;
    in.bindery.costPerHour = 40;
    in.bindery.addlSetupTime = 1;
    in.bindery.addlRunTime = 0.5;
    in.bindery.carbonlessSpoilage = true;
    in.bindery.thickness = true;
    in.selection.setups = setups;
    in.selection.percentOfRun = 0;
    return in;
}

// A foil stamper at 2000 an hour, 50 an hour, 30 min set-up, 2 per thousand square units stamped; the
// selection stamps half the run and repeats it once.
inline OperationInputs foilInputs()
{
    OperationInputs in = cutterInputs();
    in.bindery.name = std::string("Foil stamper");
    in.bindery.foil = true;
    in.bindery.minSpeed = 2000;
    in.bindery.maxSpeed = 2000;
    in.bindery.setupTime = 30;
    in.bindery.costPerHour = 50;
    in.bindery.addlSetupTime = 2;
    in.selection.runs = 1;
    in.selection.percentOfRun = 50;
    return in;
}

// A saddle stitcher with a pocket per signature, priced by the page, 3000 an hour, spoilage 1 %, 20 min
// first set-up, 5 min a signature, 10 sheets fixed waste, on a 48-page book.
inline OperationInputs stitcherInputs(double setups)
{
    OperationInputs in = cutterInputs();
    in.bindery.name = std::string("Saddle stitcher");
    in.bindery.multiBinder = true;
    in.bindery.pages = true;
    in.bindery.minSpeed = 3000;
    in.bindery.maxSpeed = 3000;
    in.bindery.minSpoilage = 1;
    in.bindery.maxSpoilage = 1;
    in.bindery.setupTime = 20;
    in.bindery.addlSetupTime = 5;
    in.bindery.fixedWaste = 10;
    in.selection.setups = setups;
    in.pressPages = 48;
    return in;
}

// Bundling by weight: 100 lb an hour at 30 an hour, 6 min set-up, 1.50 a 10 lb bundle; 200 lb per
// thousand parent sheets.
inline OperationInputs bundlingInputs()
{
    OperationInputs in = cutterInputs();
    in.bindery.name = std::string("10 LB BUNDLES");
    in.bindery.weightBased = true;
    in.bindery.minSpeed = 100;
    in.bindery.maxSpeed = 100;
    in.bindery.setupTime = 6;
    in.bindery.costPerHour = 30;
    in.bindery.addlRunTime = 1.5;
    in.weightPerThousand = 200;
    return in;
}

// Delivery: 500 lb an hour at 40 an hour, 0.20 a pound a drop, 2.00 a 20 lb box, two drops.
inline OperationInputs deliveryInputs()
{
    OperationInputs in = cutterInputs();
    in.bindery.name = std::string("20 LB BOXES");
    in.bindery.delivery = true;
    in.bindery.minSpeed = 500;
    in.bindery.maxSpeed = 500;
    in.bindery.costPerHour = 40;
    in.bindery.minCost = 0.2;
    in.bindery.addlRunTime = 2;
    in.selection.setups = 2;
    in.weightPerThousand = 200;
    return in;
}

} // namespace bindery_test
