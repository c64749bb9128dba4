#pragma once

#include <cstdint>

namespace estimator::bindery {

// The caliper (inch) the speed tables of thickness-rated machines and packages are quoted for.
constexpr double kReferenceCaliper = 0.004;

// The working figures of the latest bindery operation. Each operation starts from those of the one
// before it: an unknown sheet-size code keeps the previous sheet, and an operation whose costing
// failed part-way keeps what it had reached. The press and the job totals read the stock caliper and
// the cost per hour of the last operation.
struct OperationFigures
{
    std::int16_t sheetSizeCode = 0;
    double sheetWidth = 0, sheetLength = 0;
    double runFraction = 0;      // share of the run the operation works
    double numberUp = 0;         // pieces the operation handles at once
    double setupCost = 0;        // all set-ups
    double firstSetupCost = 0;
    double packageSize = 0;      // pieces to a package of a packaging step
    std::int16_t difficulty = 0;
    double runs = 0;             // further runs; 0 is one run
    double setups = 0;
    double savedRunFraction = 0; // the share a foil operation names; its speed and waste use the whole run
    double unitsForCurve = 0;
    std::int32_t speed = 0;      // units an hour
    double spoilagePercent = 0;
    double stockBinderyEfficiency = 0;
    double setupMinutes = 0, costPerHour = 0, addlSetupMinutes = 0;
    double wasteUnits = 0;       // press sheets, once the operation is costed
    std::int32_t fixedWaste = 0;
    double runCost = 0;
    double weightPerThousand = 0; // of the order's stock
    double weight = 0;            // pounds of the finished job
    double addlRunTime = 0, minimumCost = 0;
    std::int32_t pressPages = 0;
    double operationCost = 0;
    double stockCaliper = 0; // a missing caliper of a thickness-rated machine becomes the 0.004 reference
};

} // namespace estimator::bindery
