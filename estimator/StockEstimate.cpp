#include "estimator/cEstimator.h"

#include "data/Dialect.h"
#include "platform/Format.h"

namespace estimator {

double cEstimator::EstimateStock()
{
    m_pressSheets = CalcPressSheets();

    const double up = m_order.field("PRESSNUMUPPARENTSHT").number();
    m_pressSheetsPerParent = up;
    // Parent sheets stay fractional: a press sheet count that does not divide evenly is priced as is.
    const double parentSheets = up > 0 ? m_pressSheets / up : 0;

    m_stockBreak1 = m_order.field("STOCKIND1").number();
    m_stockBreak2 = m_order.field("STOCKIND2").number();
    m_stockBreak3 = m_order.field("STOCKIND3").number();
    m_sheetsPerCarton = m_order.field("STOCK1000CTN").number();
    m_stockCost1 = m_order.field("STOCKCOST1").number();
    m_stockCost2 = m_order.field("STOCKCOST2").number();
    m_stockCost3 = m_order.field("STOCKCOST3").number();

    m_stockIdText = platform::format(m_order.field("STOCKID"), "0000");

    // The stock's own markup when the shop set one, else the average of its stock departments.
    double markup = 0;
    data::Recordset markups =
        m_db.openRecordset("SELECT MARKUP FROM STOCKMARKUP WHERE STOCKID = " + data::sqlLiteral(m_stockIdText));
    if (markups.recordCount() > 0) {
        markup = markups.field(0).number();
    } else {
        markups.close();
        markups = m_db.openRecordset(
            "SELECT Avg(MARKUP) AS AVGMARKUP From MARKUPS WHERE DEPARTMENT Like 'Stock*'");
        if (markups.recordCount() > 0)
            markup = markups.field(0).number();
    }
    m_stockMarkup = markup;

    // Price per thousand parent sheets from the carton breaks, highest break first. Break 1 only
    // documents the smallest carton count: everything below break 2 pays the break-1 price.
    double pricePerThousand = m_stockCost1;
    if (m_stockBreak3 * m_sheetsPerCarton * 1000 <= parentSheets)
        pricePerThousand = m_stockCost3;
    else if (m_stockBreak2 * m_sheetsPerCarton * 1000 <= parentSheets)
        pricePerThousand = m_stockCost2;

    const double cost = parentSheets * pricePerThousand / 1000;
    m_results.ResStockCost = cost;
    m_results.ResStockRetail = (markup / 100 + 1) * cost;

    markups.close();
    return cost;
}

} // namespace estimator
