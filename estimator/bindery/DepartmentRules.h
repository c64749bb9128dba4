#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "estimator/ReportRows.h"
#include "estimator/bindery/BinderyInputs.h"
#include "estimator/bindery/BinderyStatements.h"
#include "estimator/bindery/OperationFigures.h"

namespace estimator::bindery {

// The bindery department's rules on top of each operation's costing: signature work, padding,
// packaging, foil, the minimum charge, and the report rows with the quantity's totals. Every rule runs
// statement by statement under the department's fault rule; none reads the database.

// What one bindery estimate carries from one operation to the next.
struct DepartmentRun
{
    // The order variables the operations work from. Signature work changes the pieces and signatures
    // for the operations after it; the press reads the order afresh.
    OrderFigures order;
    double markup = 0;           // per cent
    std::int16_t operations = 0; // counted so far; the current operation's row number
    // Both flags carry over from one operation to the next: an operation of a signature bindery does
    // not look at its category and is treated like the operation before it (plain for the first), so
    // estimates made before keep their figures.
    bool padding = false;
    bool autoCut = false;
    double savedSignatures = 0;
    double padCount = 0;

    double retailOf(double cost) const { return (markup / 100 + 1) * cost; }
};

// How a fault names the operation: its bindery's name in quotes as the shop entered it, or the
// bindery's record number when the name is empty or cannot be read.
std::string operationName(const BinderyRow& bindery);

// The category decides whether the operation is padding or an automatic cut. A category that is gone,
// or has no name, is neither.
void classifyCategory(const std::optional<std::string>& name, DepartmentRun& run);

// Gathering, stitching and folding work once per printed piece, signature by signature: the operation
// is costed for one signature of the unmultiplied count, then the waste of every signature is counted.
void takeOutSignatures(OrderFigures& order, DepartmentRun& run, BinderyStatements& statement);
void putBackSignatures(OrderFigures& order, const DepartmentRun& run, OperationFigures& f, BinderyStatements& statement);

// Padding: glue time by the pad edge area per set-up, then a charge per pad when the job is padded in
// more than ten lots (per pad whatever its size for fixed chip padding).
void chargePadding(const BinderyRow& bindery, bool fixedChip, const OrderFigures& order, OperationFigures& f,
                   DepartmentRun& run, BinderyStatements& statement);

// Packaging: cartons (or bundles) of a package size, so many per hour.
void chargePackaging(const BinderyRow& bindery, const OrderFigures& order, OperationFigures& f,
                     BinderyStatements& statement);

// Foil: the die area stamped on every piece of the share of the run the selection names.
void chargeFoil(const BinderyRow& bindery, const OrderFigures& order, OperationFigures& f, BinderyStatements& statement);

// The bindery's minimum charge. Rows written already (padding, packaging) show the minimum, their totals
// keep the figure worked out.
void applyMinimumCharge(std::vector<BinderyReportRow>& rows, const DepartmentRun& run, OperationFigures& f,
                        BinderyStatements& statement);

// An operation's report row (row number run.operations), then its share of the quantity's totals. A
// statement that fails (a bindery without an hourly rate has no minutes) leaves its field as it was and
// the row is still written and totalled. The fields the press and the totals read (minutes, waste,
// spoilage, cost, retail) keep their fault for the quantity; the others only describe the operation.
void writeRowAndTotal(const BinderyRow& bindery, const OperationFigures& f, const DepartmentRun& run,
                      std::vector<BinderyReportRow>& rows, BinderyReportRow& total, BinderyStatements& statement);

// The totals' time texts and the average spoilage over the counted operations.
void finishTotals(BinderyReportRow& total, std::int16_t operations, BinderyStatements& statement);

} // namespace estimator::bindery
