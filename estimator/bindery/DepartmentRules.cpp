#include "estimator/bindery/DepartmentRules.h"

#include <cstddef>

#include "estimator/modEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace estimator::bindery {

namespace {

using platform::divide;
using platform::intFloor;
using platform::toInt16;
using platform::toInt32;

// 93.5 square inches: the 8.5 by 11 sheet that pad charges are quoted for.
constexpr double kLetterSheetArea = 93.5;

BinderyReportRow& rowOf(std::vector<BinderyReportRow>& rows, std::int16_t operation)
{
    if (operation < 1 || static_cast<std::size_t>(operation) >= rows.size())
        platform::raise(platform::fault::SubscriptOutOfRange);
    return rows[static_cast<std::size_t>(operation)];
}

} // namespace

std::string operationName(const BinderyRow& bindery)
{
    try {
        if (!platform::trim(*bindery.name).empty())
            return "\"" + *bindery.name + "\"";
    } catch (const platform::Fault&) {
    }
    try {
        return "(rec # " + platform::exactText(*bindery.binderyId) + ")";
    } catch (const platform::Fault&) {
        return "(its record cannot be read)";
    }
}

void classifyCategory(const std::optional<std::string>& name, DepartmentRun& run)
{
    if (!name) {
        run.autoCut = false;
        run.padding = false;
    } else {
        const std::string upper = platform::upperCase(*name);
        run.autoCut = upper == "AUTOCUT";
        run.padding = upper == "PADDING";
    }
}

void takeOutSignatures(OrderFigures& order, DepartmentRun& run, BinderyStatements& statement)
{
    statement.figure("signatures");
    statement([&] { order.piecesToProduce = divide(order.piecesToProduce, order.parts * order.pressDiffFactor); });
    statement([&] { run.savedSignatures = order.signatures; });
    statement([&] { order.signatures = 1; });
}

void putBackSignatures(OrderFigures& order, const DepartmentRun& run, OperationFigures& f, BinderyStatements& statement)
{
    statement.figure("signatures");
    statement([&] { order.signatures = run.savedSignatures; });
    statement([&] { f.wasteUnits = f.wasteUnits * order.signatures; });
    statement([&] { order.piecesToProduce = order.piecesToProduce * order.parts; });
    // A difference factor outside 0 to the number up is not put back: the pieces stay divided by it for
    // the operations that follow.
    statement([&] {
        if (order.pressDiffFactor > 0 && order.pressDiffFactor <= order.numberUp)
            order.piecesToProduce = order.piecesToProduce * order.pressDiffFactor;
    });
}

void chargePadding(const BinderyRow& bindery, bool fixedChip, const OrderFigures& order, OperationFigures& f,
                   DepartmentRun& run, BinderyStatements& statement)
{
    statement.figure("padding charge");
    statement([&] {
        if (f.speed > 0)
            f.operationCost = divide(f.sheetWidth * order.piecesToProduce * f.runFraction * order.signatures *
                                         (f.spoilagePercent / 100 + 1),
                                     f.speed * f.numberUp);
    });
    statement([&] { f.operationCost = (f.runs + 1) * f.operationCost * f.costPerHour * kReferenceCaliper + f.firstSetupCost; });
    statement([&] {
        if (!*bindery.thickness)
            f.operationCost = f.firstSetupCost * divide(f.operationCost - f.firstSetupCost, f.setups * 1000 * f.stockCaliper);
    });
    if (f.setups > 10) {
        statement([&] {
            run.padCount = divide(order.piecesToProduce * f.runFraction * order.signatures, f.numberUp * f.setups);
        });
        // Fixed chip padding is charged per pad whatever its size. The padding step runs only for the
        // PADDING category, so this holds only for a signature bindery of that category that follows a
        // padding operation; every other padding job pays by the pad area.
        statement([&] {
            if (fixedChip)
                f.operationCost = f.operationCost + run.padCount * (f.addlSetupMinutes * f.costPerHour / 60 + f.addlRunTime);
            else
                f.operationCost = f.operationCost + run.padCount * (f.sheetWidth * f.addlRunTime * f.sheetLength / kLetterSheetArea +
                                                                    f.addlSetupMinutes * f.costPerHour / 60);
        });
    }
}

void chargePackaging(const BinderyRow& bindery, const OrderFigures& order, OperationFigures& f,
                     BinderyStatements& statement)
{
    statement.figure("packaging charge");
    bool thickness = false;
    statement([&] { thickness = *bindery.thickness; });
    statement([&] {
        if (thickness)
            f.speed = toInt32(f.speed * f.stockCaliper / kReferenceCaliper);
    });
    // The package size: the set-ups when more than one is entered, else the bindery's pieces per package,
    // fewer of thick stock, and for books counted in leaves.
    if (f.setups > 1) {
        statement([&] { f.packageSize = f.setups; });
    } else {
        statement([&] { f.packageSize = *bindery.addlRunTime; });
        statement([&] {
            if (thickness)
                f.packageSize = divide(f.packageSize * kReferenceCaliper, f.stockCaliper);
        });
        bool pages = false;
        statement([&] { pages = *bindery.pages; });
        if (pages) {
            statement([&] { f.numberUp = f.pressPages / 2.0; });
            statement([&] {
                if (f.numberUp != 0)
                    f.packageSize = divide(f.packageSize, f.numberUp);
            });
        }
    }
    statement([&] {
        if (f.speed > 0) {
            if (order.productionType == 1)
                f.operationCost = intFloor(divide(order.piecesToProduce * f.runFraction, f.packageSize) + 0.8) / f.speed;
            else
                f.operationCost =
                    intFloor(divide(order.piecesToProduce * f.runFraction * order.signatures, f.packageSize * f.numberUp) +
                             0.8) /
                    f.speed;
        }
    });
    statement([&] { f.operationCost = ((f.runs + 1) * f.operationCost + f.setupMinutes / 60) * f.costPerHour; });
}

void chargeFoil(const BinderyRow& bindery, const OrderFigures& order, OperationFigures& f, BinderyStatements& statement)
{
    statement.figure("foil charge");
    statement([&] {
        if (*bindery.foil && f.setups > 0)
            f.operationCost =
                f.sheetWidth * order.piecesToProduce * f.setups * f.savedRunFraction * f.addlSetupMinutes / 1000 + f.runCost;
    });
}

void applyMinimumCharge(std::vector<BinderyReportRow>& rows, const DepartmentRun& run, OperationFigures& f,
                        BinderyStatements& statement)
{
    statement.figure("minimum charge");
    if (f.operationCost < f.minimumCost) {
        statement([&] { f.operationCost = f.minimumCost; });
        statement([&] { rowOf(rows, run.operations).cost = f.minimumCost; });
        statement([&] { rowOf(rows, run.operations).retail = run.retailOf(f.minimumCost); });
    }
}

void writeRowAndTotal(const BinderyRow& bindery, const OperationFigures& f, const DepartmentRun& run,
                      std::vector<BinderyReportRow>& rows, BinderyReportRow& total, BinderyStatements& statement)
{
    const auto row = [&]() -> BinderyReportRow& { return rowOf(rows, run.operations); };
    statement.figure("report row");
    statement.reportOnly([&] { row().description = platform::upperCase(*bindery.name); });
    statement.reportOnly([&] { row().setups = toInt16(f.setups); });
    statement.reportOnly([&] { row().sheetSizeCode = f.sheetSizeCode; });
    statement.reportOnly([&] { row().runs = toInt16(f.runs); });
    statement.reportOnly([&] { row().percentOfRun = toInt16(f.runFraction * 100); });
    statement.reportOnly([&] { row().difficulty = f.difficulty; });
    // An outside service has no hourly rate: its charge is no time of the shop's.
    const auto minutes = [&](double cost) { return f.costPerHour != 0 ? divide(cost * 60, f.costPerHour) : 0.0; };
    statement([&] { row().setupMinutes = minutes(f.setupCost); });
    statement([&] { row().runMinutes = minutes(f.operationCost) - minutes(f.setupCost); });
    statement([&] { row().totalMinutes = minutes(f.operationCost); });
    statement.reportOnly([&] { row().setupTimeText = ConvertMinutes(row().setupMinutes); });
    statement.reportOnly([&] { row().runTimeText = ConvertMinutes(row().runMinutes); });
    statement.reportOnly([&] { row().totalTimeText = ConvertMinutes(row().totalMinutes); });
    statement([&] { row().waste = toInt32(f.wasteUnits); });
    statement([&] { row().spoilagePercent = f.spoilagePercent; });
    statement([&] { row().averageSpoilagePercent = 0; });
    statement([&] { row().cost = f.operationCost; });
    statement([&] { row().retail = run.retailOf(f.operationCost); });

    statement.figure("bindery totals");
    statement([&] { total.setupMinutes = total.setupMinutes + row().setupMinutes; });
    statement([&] { total.runMinutes = total.runMinutes + row().runMinutes; });
    statement([&] { total.totalMinutes = total.totalMinutes + row().totalMinutes; });
    statement([&] { total.waste = platform::add32(total.waste, row().waste); });
    statement([&] { total.spoilagePercent = total.spoilagePercent + row().spoilagePercent; });
    statement([&] { total.cost = total.cost + row().cost; });
    statement([&] { total.retail = total.retail + row().retail; });
}

void finishTotals(BinderyReportRow& total, std::int16_t operations, BinderyStatements& statement)
{
    statement.reportOnly([&] { total.setupTimeText = ConvertMinutes(total.setupMinutes); });
    statement.reportOnly([&] { total.runTimeText = ConvertMinutes(total.runMinutes); });
    statement.reportOnly([&] { total.totalTimeText = ConvertMinutes(total.totalMinutes); });
    // Selections whose binderies are all gone count no operation: that is no bindery work, not a
    // division by zero.
    statement([&] { total.averageSpoilagePercent = operations > 0 ? divide(total.spoilagePercent, operations) : 0; });
}

} // namespace estimator::bindery
