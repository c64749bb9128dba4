#include "estimator/PrePressLoader.h"
#include "estimator/PrePressPricing.h"
#include "estimator/cEstimator.h"
#include "estimator/modEstimator.h"
#include "platform/Conversions.h"

namespace estimator {

namespace {

// Where each item's figures go in the quantity's summary record, in the order the items are priced.
struct ItemSummaryFields
{
    double SummaryRecord::*minutes;
    platform::FixedText<6> SummaryRecord::*minutesText;
    double SummaryRecord::*cost;
    double SummaryRecord::*retail;
};

constexpr ItemSummaryFields kItemFields[prepress::kItemCount] = {
    {&SummaryRecord::typesetMinutes, &SummaryRecord::typesetMinutesText, &SummaryRecord::typesetCost,
     &SummaryRecord::typesetRetail},
    {&SummaryRecord::designMinutes, &SummaryRecord::designMinutesText, &SummaryRecord::designCost,
     &SummaryRecord::designRetail},
    {&SummaryRecord::pasteupMinutes, &SummaryRecord::pasteupMinutesText, &SummaryRecord::pasteupCost,
     &SummaryRecord::pasteupRetail},
    {&SummaryRecord::preflightMinutes, &SummaryRecord::preflightMinutesText, &SummaryRecord::preflightCost,
     &SummaryRecord::preflightRetail},
    {&SummaryRecord::matchprintMinutes, &SummaryRecord::matchprintMinutesText, &SummaryRecord::matchprintCost,
     &SummaryRecord::matchprintRetail},
};

} // namespace

// Prices the order part's pre-press work: the five items entered on the order, then camera work and
// scans, one line per selection. Each step reads its rows and prices them before the next step reads,
// so a fault ends the estimate where it always did.
double cEstimator::EstimatePrePress()
{
    const double markup = prepress::loadMarkup(m_db);
    const double markupFactor = markup / 100 + 1;
    SummaryRecord& first = m_context.summary[1];
    prepress::PrePressTotals totals;

    for (std::size_t i = 0; i < prepress::kItemCount; ++i) {
        const prepress::ItemFigures item = prepress::priceItem(prepress::loadItem(m_order, i), markupFactor);
        prepress::addItem(totals, item);
        const ItemSummaryFields& to = kItemFields[i];
        first.*to.minutes = platform::toSingle(item.minutes);
        first.*to.minutesText = ConvertMinutes(item.minutes);
        first.*to.cost = platform::toSingle(item.cost);
        first.*to.retail = platform::toSingle(item.retail);
        if (i == 0)
            first.typesetMarkup = platform::toSingle(markup / 100);
    }
    m_prePress.workCost = totals.cost; // the items alone: the press estimate prices their time apart
    m_prePress.workMinutes = totals.minutes;

    const auto selectionWork = [&](const prepress::SelectionTables& tables, std::vector<PrePressLine>& lines,
                                   double& keptCost, double& keptMinutes) {
        lines.clear();
        prepress::SelectionWork work =
            prepress::priceSelections(prepress::loadSelections(m_db, tables, m_key), markupFactor);
        prepress::addSelections(totals, work, markupFactor);
        lines = std::move(work.lines);
        keptCost = work.cost;
        keptMinutes = work.minutes;
    };

    selectionWork(prepress::kCamera, m_context.cameraLines, m_prePress.cameraCost, m_prePress.cameraMinutes);
    first.cameraCost = m_prePress.cameraCost;
    first.cameraMinutes = m_prePress.cameraMinutes;
    first.cameraMinutesText = ConvertMinutes(m_prePress.cameraMinutes);

    selectionWork(prepress::kScan, m_context.scanLines, m_prePress.scanCost, m_prePress.scanMinutes);
    first.scanCost = m_prePress.scanCost;
    first.scanMinutes = m_prePress.scanMinutes;
    first.scanMinutesText = ConvertMinutes(m_prePress.scanMinutes);

    m_results.ResPrePressCost = totals.cost;
    m_results.ResPrePressRetail = totals.retail;
    m_results.ResPrePressMinutes = totals.minutes;
    prepress::spreadTotals(totals, m_context.summary);
    return totals.cost;
}

} // namespace estimator
