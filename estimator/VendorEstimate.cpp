#include "estimator/cEstimator.h"

#include "platform/Fault.h"

namespace estimator {

double cEstimator::EstimateVendor(std::int16_t& level)
{
    m_results.VendorCost = 0;
    m_results.VendorRetail = 0;
    // Outside services are read through the order's connection, which the first Estimate opens.
    if (!m_db.isOpen())
        platform::raise(91, "Object variable or With block variable not set");

    // Each quantity level has its own vendor price column: COST, COST2, COST3, COST4.
    const std::string suffix = level <= 1 ? std::string() : std::to_string(level);
    const std::string where = "WHERE " + m_key.where();

    data::Recordset totals =
        m_db.openRecordset("SELECT SUM(COST" + suffix + ") AS TOTCOST FROM VENDORSELECTIONS " + where);
    if (totals.recordCount() == 0) {
        totals.close();
        return 0;
    }
    // Both totals are kept only once both queries have run, so a failing query leaves them at 0.
    const double cost = totals.field("TOTCOST").number();
    totals.close();

    // Every service carries its own markup, so the retail total is summed row by row.
    totals = m_db.openRecordset("SELECT SUM(COST" + suffix +
                                " * (1+MARKUP/100)) AS TOTRETAIL FROM VENDORSELECTIONS " + where);
    const double retail = totals.recordCount() > 0 ? totals.field("TOTRETAIL").number() : 0;
    totals.close();
    m_results.VendorCost = cost;
    m_results.VendorRetail = retail;
    return m_results.VendorCost;
}

} // namespace estimator
