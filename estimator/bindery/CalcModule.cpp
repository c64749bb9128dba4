#include <cstdint>
#include <string>

#include "estimator/bindery/BinderyInputs.h"
#include "estimator/bindery/OperationCost.h"
#include "estimator/bindery/OperationLoader.h"
#include "estimator/cEstimator.h"

namespace estimator {

// Costs one bindery operation (one BINDERYSELECTIONS row) at the current quantity: its rows are read,
// then costed into the bindery working figures, where the bindery estimate and the press estimate read
// them. Returns an empty text, or the message naming the missing row. Database and arithmetic faults
// end the calculation and pass up; the bindery estimate decides whether they end the department.
std::string cEstimator::CalcModule(std::int32_t& selectionId, const bindery::OrderFigures& order)
{
    const bindery::OperationInputs inputs = bindery::loadOperation(m_db, m_order, selectionId, m_stockIdText);

    // The press and the job totals read the caliper and the hourly rate as far as the costing got.
    m_binderyFigures.stockCaliper = m_stockCaliper;
    m_binderyFigures.costPerHour = m_costPerHour;
    struct Publish
    {
        cEstimator& engine;
        ~Publish()
        {
            engine.m_stockCaliper = engine.m_binderyFigures.stockCaliper;
            engine.m_costPerHour = engine.m_binderyFigures.costPerHour;
        }
    } publish{*this};
    return bindery::costOperation(inputs, order, m_binderyFigures);
}

bindery::OrderFigures cEstimator::BinderyOrderFigures() const
{
    const OrderVariables& v = m_orderVariables;
    return {.piecesToProduce = v.piecesToProduce,
            .parts = v.parts,
            .pressDiffFactor = v.pressDiffFactor,
            .productionType = v.productionType,
            .numberUp = v.numberUp,
            .pressSheetsPerParent = v.pressSheetsPerParent,
            .signatures = v.signatures,
            .parentUsageRatio = v.parentUsageRatio,
            .sheetDim = v.sheetDim,
            .stockSelected = v.stockSelected};
}

} // namespace estimator
