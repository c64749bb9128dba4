#include "estimator/StockPricing.h"
#include "estimator/cEstimator.h"

namespace estimator {

double cEstimator::EstimateStock()
{
    const StockInputs in = loadStock(m_db, m_order, currentQuantityValue());
    m_stockIdText = in.stockIdText;
    const StockResults out = priceStock(in);
    m_results.ResStockCost = out.cost;
    m_results.ResStockRetail = out.retail;
    return out.cost;
}

} // namespace estimator
