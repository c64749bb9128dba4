#include "estimator/PrePressPricing.h"

#include "estimator/Sheets.h"
#include "estimator/modEstimator.h"
#include "platform/Conversions.h"

namespace estimator::prepress {

ItemFigures priceItem(const ItemInput& item, double markupFactor)
{
    ItemFigures out;
    out.minutes = item.minutes;
    if (item.value > 0) {
        if (item.valueType == 0) {
            out.cost = item.value;
            out.retail = markupFactor * item.value;
        } else {
            out.cost = platform::divide(item.value, markupFactor);
            out.retail = item.value;
        }
    }
    return out;
}

SelectionWork priceSelections(const std::vector<SelectionInput>& selections, double markupFactor)
{
    SelectionWork work;
    for (const SelectionInput& s : selections) {
        PrePressLine& line = work.lines.emplace_back();
        line.quantity = s.quantity;
        if (!s.found)
            continue;
        line.typeName = s.typeName;
        line.sizeName = s.sizeName;

        double lineCost = 0;
        if (s.costType == 0)
            lineCost = s.quantity * s.costRate;
        else if (s.costType == 1)
            lineCost = s.quantity * readDimension(s.sizeName, 1, "X") * readDimension(s.sizeName, 0, "X") * s.costRate;
        else if (s.costType == 2)
            lineCost = s.quantity * s.costRate;
        work.cost += lineCost;
        line.lineCost = lineCost;
        line.lineRetail = markupFactor * lineCost;

        const double setupMinutes = s.costPerHour != 0 ? s.setupCost / s.costPerHour * 60 : 0;
        line.lineMinutes = s.minutesEach * s.quantity + setupMinutes;
        work.minutes += line.lineMinutes;
    }
    return work;
}

void addItem(PrePressTotals& totals, const ItemFigures& item)
{
    totals.cost += item.cost;
    totals.retail += item.retail;
    totals.minutes += item.minutes;
}

void addSelections(PrePressTotals& totals, const SelectionWork& work, double markupFactor)
{
    totals.cost += work.cost;
    totals.retail += markupFactor * work.cost;
    totals.minutes += work.minutes;
}

void spreadTotals(const PrePressTotals& totals, std::array<SummaryRecord, 5>& summary)
{
    const std::string minutesText = ConvertMinutes(totals.minutes);
    for (std::size_t slot = 1; slot <= 4; ++slot) {
        SummaryRecord& record = summary[slot];
        if (slot != 1 && record.quantity == 0)
            continue;
        record.prePressHours = totals.minutes / 60;
        record.prePressMinutesText = minutesText;
        record.prePressCost = totals.cost;
        record.prePressRetail = totals.retail;
    }
}

} // namespace estimator::prepress
