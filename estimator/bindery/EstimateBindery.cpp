#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/Recordset.h"
#include "estimator/bindery/BinderyStatements.h"
#include "estimator/bindery/DepartmentRules.h"
#include "estimator/bindery/OperationLoader.h"
#include "estimator/cEstimator.h"
#include "estimator/modEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace estimator {

// Prices the bindery department of the order part at the current quantity: every bindery operation of
// the order in BINDERYSELECTIONID order, costed by CalcModule, with the department's own padding,
// packaging, foil and minimum-charge rules on top. Reported operations get a row; the rows add up to the
// quantity's totals, which the press estimate and the job totals read. Returns the bindery cost, or 0
// (results untouched) when the order has no bindery operations. A fault raises at once before the first
// counted operation and once the walk is done after it (BinderyStatements).
double cEstimator::EstimateBindery(BinderyRowTable& rows, BinderyTotalsTable& totals)
{
    const auto quantitySlot = static_cast<std::size_t>(m_currentQuantity);
    if (m_currentQuantity < 1 || m_currentQuantity > 4)
        platform::raise(platform::fault::SubscriptOutOfRange);

    bindery::BinderyStatements statement;
    CheckVariables();
    // The press may have replaced the caliper since the last operation was costed.
    m_binderyFigures.stockCaliper = m_stockCaliper;
    m_binderyFigures.costPerHour = m_costPerHour;

    bindery::DepartmentRun run;
    run.order = BinderyOrderFigures();
    run.markup = bindery::loadBinderyMarkup(m_db);

    data::Recordset selections = m_db.openRecordset("SELECT * FROM BINDERYSELECTIONS WHERE " + m_key.where() +
                                                    " ORDER BY BINDERYSELECTIONID");
    if (selections.recordCount() == 0) {
        selections.close();
        return 0;
    }

    // Moving on is never skipped, so the walk always ends; the window may repaint meanwhile.
    while (!selections.eof()) {
        EstimateBinderyOperation(selections, run, statement);
        selections.moveNext();
        m_context.hooks.yieldEvents();
    }

    statement.operation({});
    BinderyReportRow& total = m_context.binderyTotals[quantitySlot];
    bindery::finishTotals(total, run.operations, statement);

    // Results and the quantity's summary.
    statement([&] { summary().binderyHours = total.totalMinutes / 60; });
    statement.reportOnly([&] { summary().binderyHoursText = ConvertHours(summary().binderyHours); });
    statement([&] { m_results.ResBindCost = total.cost; });
    statement([&] { m_results.ResBindMinutes = total.totalMinutes; });
    statement([&] { m_results.ResBindRetail = total.retail; });
    statement([&] { summary().binderyCost = total.cost; });
    statement([&] { summary().binderyMarkup = platform::toSingle(run.markup / 100); });

    // The caller's copies of this quantity's rows and totals.
    statement([&] { selections.close(); });
    const auto n = static_cast<std::size_t>(run.operations);
    statement([&] {
        for (std::size_t slot = 1; slot <= 4; ++slot)
            rows[slot].assign(n + 1, BinderyReportRow{});
    });
    for (std::size_t k = 1; k <= n; ++k) {
        statement([&] {
            const std::vector<BinderyReportRow>& from = m_context.binderyRows[quantitySlot];
            std::vector<BinderyReportRow>& to = rows[quantitySlot];
            if (k >= from.size() || k >= to.size())
                platform::raise(platform::fault::SubscriptOutOfRange);
            to[k] = from[k];
        });
        m_context.hooks.yieldEvents();
    }
    statement([&] { totals[quantitySlot] = total; });

    statement.raiseIfAnyPassedOver();
    return m_results.ResBindCost;
}

// One selection of the order: its bindery and category are read, the operation costed, counted, and the
// department's rules applied to it. A selection whose bindery is gone is passed over without being
// counted; one whose bindery cannot be read faults like any other statement.
void cEstimator::EstimateBinderyOperation(const data::Recordset& selections, bindery::DepartmentRun& run,
                                          bindery::BinderyStatements& statement)
{
    std::optional<bindery::BinderyRow> found;
    statement.operation({});
    statement([&] { found = bindery::loadSelectedBindery(m_db, selections); });
    if (!found)
        return;
    const bindery::BinderyRow& machine = *found;
    statement.operation(bindery::operationName(machine));

    // Signatures afresh for every operation: a signature bindery below changes them.
    statement.figure("signatures");
    statement([&] {
        run.order.signatures = m_order.field("PRESSSIGNATURES").number();
        if (run.order.signatures == 0)
            run.order.signatures = 1;
    });

    const auto costOperation = [&] {
        statement.figure("set-up and run cost");
        statement([&] {
            std::int32_t selectionId = platform::toInt32(selections.field("BINDERYSELECTIONID").number());
            CalcModule(selectionId, run.order);
        });
    };
    bool signatureBindery = false;
    statement([&] { signatureBindery = *machine.signatures; });
    if (signatureBindery) {
        bindery::takeOutSignatures(run.order, run, statement);
        costOperation();
        bindery::putBackSignatures(run.order, run, m_binderyFigures, statement);
    } else {
        statement.figure("category");
        statement([&] { bindery::classifyCategory(bindery::loadCategoryName(m_db, machine), run); });
        costOperation();
    }

    // The operation counts; from here on a failing statement no longer ends the estimate.
    statement.skipFailingFromHereOn();
    statement.figure("operation count");
    statement([&] { run.operations = platform::toInt16(run.operations + 1.0); });
    statement([&] {
        const auto size = static_cast<std::size_t>(run.operations) + 1;
        for (std::size_t slot = 1; slot <= 4; ++slot) {
            if (m_context.binderyRows[slot].size() < size)
                m_context.binderyRows[slot].resize(size);
        }
    });

    const auto quantitySlot = static_cast<std::size_t>(m_currentQuantity);
    std::vector<BinderyReportRow>& rows = m_context.binderyRows[quantitySlot];
    BinderyReportRow& total = m_context.binderyTotals[quantitySlot];
    bindery::OperationFigures& figures = m_binderyFigures;
    const bindery::OrderFigures& order = run.order;

    if (run.padding && figures.setups > 0) {
        bool fixedChip = false;
        statement.figure("padding charge");
        if (figures.setups > 10)
            statement([&] { fixedChip = bindery::loadFixedChipPadding(m_db, machine); });
        bindery::chargePadding(machine, fixedChip, order, figures, run, statement);
        bindery::writeRowAndTotal(machine, figures, run, rows, total, statement);
    }

    bool packaging = false;
    statement.figure("packaging charge");
    statement([&] { packaging = *machine.packaging && figures.setups > 0; });
    if (packaging) {
        bindery::chargePackaging(machine, order, figures, statement);
        bindery::writeRowAndTotal(machine, figures, run, rows, total, statement);
    }

    bindery::chargeFoil(machine, order, figures, statement);
    bindery::applyMinimumCharge(rows, run, figures, statement);

    // Every other operation with a set-up is reported as costed. Automatic cuts are part of the press
    // sheet handling and get no row of their own.
    bool plain = false;
    statement.figure("report row");
    statement([&] { plain = !run.padding && !run.autoCut && !*machine.packaging && figures.setups > 0; });
    if (plain)
        bindery::writeRowAndTotal(machine, figures, run, rows, total, statement);
}

} // namespace estimator
