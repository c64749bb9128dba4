#include <string>

#include "estimator/cEstimator.h"
#include "estimator/press/PressInputs.h"
#include "estimator/press/PressResults.h"

namespace estimator {

// Prices the press run of the order part at the current quantity, then its ink and the whole job's
// totals. Returns the job's total cost; 0 when the order, its press or its plate cannot be found; the
// vendor cost alone when the order names no press.
double cEstimator::EstimatePress()
{
    // The order row, read afresh: the pricing run has just written the quantity into it.
    const data::Recordset order = m_db.openRecordset("SELECT * FROM ORDERS WHERE " + m_key.where());
    if (order.recordCount() == 0)
        return 0;
    CheckVariables();
    press::PressInputs in = LoadPressHandover();
    press::PressResults out;

    // A job printed outside (or not printed at all) is only its vendor, bindery and pre-press work.
    const platform::Value& pressIdValue = order.field("PRESSID");
    if (pressIdValue.isNull() || press::numberAsRead(pressIdValue) == 0) {
        const press::JobTotalsInputs totals = LoadJobTotals(order, false);
        KeepPressFigures(out, [&] { press::priceJobWithoutPress(in, totals, out); });
        return out.engine.VendorCost;
    }

    if (!LoadPressRows(order, in))
        return 0;
    KeepPressFigures(out, [&] { press::pricePressRun(in, out); });
    const press::InkInputs inks = LoadInks(order);
    KeepPressFigures(out, [&] { press::priceInk(in, inks, out); });
    const press::JobTotalsInputs totals = LoadJobTotals(order, true);
    KeepPressFigures(out, [&] { press::priceJobTotals(in, totals, out); });
    SetSummary(order);
    return out.totalCost;
}

// Runs one step of the press estimate on what the engine keeps of it as it stands (the quantity's report
// record, the engine's results, the stock caliper and the curve speed and spoilage), and keeps what the
// step reached even when a fault ends it, so the figures reached so far can be looked into.
void cEstimator::KeepPressFigures(press::PressResults& out, const std::function<void()>& step)
{
    struct Keep
    {
        cEstimator& engine;
        SummaryRecord& record;
        press::PressResults& out;
        ~Keep()
        {
            record = out.report;
            engine.m_results = out.engine;
            engine.m_stockCaliper = out.stockCaliper;
            engine.m_speed = out.curveSpeed;
            engine.m_spoilagePercent = out.curveSpoilage;
        }
    };
    SummaryRecord& record = summary();
    out.report = record;
    out.engine = m_results;
    out.stockCaliper = m_stockCaliper;
    out.curveSpeed = m_speed;
    out.curveSpoilage = m_spoilagePercent;
    const Keep keep{*this, record, out};
    step();
}

} // namespace estimator
