#include "estimator/cEstimator.h"

#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace estimator {

cEstimator::cEstimator(RunContext& context) : m_context(context) {}

cEstimator::~cEstimator()
{
    if (m_order.isOpen())
        m_order.close();
    m_db.close();
}

void cEstimator::QuoteOrJob(const std::string& value)
{
    m_key.quoteOrJob = value;
    m_context.quoteOrJob = value;
}

void cEstimator::DataFile(const std::string& path)
{
    m_dataFile = path;
    m_context.dataFile = path;
}

SummaryRecord& cEstimator::summary()
{
    if (m_currentQuantity < 1 || m_currentQuantity > 4)
        platform::raise(platform::fault::SubscriptOutOfRange);
    return m_context.summary[static_cast<std::size_t>(m_currentQuantity)];
}

std::int32_t cEstimator::currentQuantityValue() const
{
    if (m_currentQuantity < 1 || m_currentQuantity > 4)
        platform::raise(platform::fault::SubscriptOutOfRange);
    return m_quantity[static_cast<std::size_t>(m_currentQuantity)];
}

double cEstimator::Estimate(EstimateArea area, std::int16_t currentQuantity, std::int16_t count)
{
    if (!m_connected) {
        if (!m_db.isOpen())
            m_db = m_context.shop.isOpen() ? m_context.shop : data::Database::open(m_dataFile);
        m_context.clearSummary();
        // Only a completed order query ties the object to its order: a query that faulted is tried
        // again (and reported again) by the next call instead of leaving the object silently unpriced.
        m_order = m_db.openRecordset("SELECT * FROM ORDERS WHERE " + m_key.where());
        m_connected = true;
        if (m_order.recordCount() == 0) {
            m_order.close();
            m_orderMissing = true;
            return 0;
        }
    } else {
        // An order that was not there at the first call stays unpriced: the object is tied to that key.
        if (m_orderMissing || !m_order.isOpen())
            return 0;
        // Re-read the row so the quantity the pricing run just wrote is seen.
        m_order.requery();
        if (area == EstimateArea::Stock && currentQuantity == 1)
            m_context.clearSummary();
    }

    m_quantity[1] = platform::toInt32(m_order.field("PRESSQTY").number());
    for (std::size_t slot = 1; slot <= 4; ++slot)
        m_context.summary[slot].quantity = m_quantity[slot];

    if (currentQuantity < 1 || currentQuantity > 4)
        platform::raise(platform::fault::SubscriptOutOfRange);
    m_currentQuantity = currentQuantity;

    if (m_quantity[static_cast<std::size_t>(m_currentQuantity)] == 0)
        return 0;

    double result = 0;
    switch (area) {
    case EstimateArea::Stock:
        result = EstimateStock();
        break;
    case EstimateArea::PrePress:
        result = EstimatePrePress();
        break;
    case EstimateArea::Bindery:
        // A bindery pass at the first quantity slot starts from empty shared rows and totals.
        if (m_currentQuantity == 1) {
            m_context.binderyRows = BinderyRowTable{};
            m_context.binderyTotals = BinderyTotalsTable{};
        }
        if (count == 1) {
            m_binderyRows = BinderyRowTable{};
            m_binderyTotals = BinderyTotalsTable{};
            result = EstimateBindery(m_binderyRows, m_binderyTotals);
        }
        break;
    case EstimateArea::Press:
        result = EstimatePress();
        break;
    default:
        break;
    }

    SetSummary(m_order);
    if (!m_context.reportDatabaseChecked)
        VerifReportDB();
    m_context.reportDatabaseChecked = true;

    return result;
}

void cEstimator::CheckVariables()
{
    loadOrderVariables(m_order, currentQuantityValue(), m_orderVariables);
}

} // namespace estimator
