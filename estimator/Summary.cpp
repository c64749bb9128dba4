#include "estimator/Summary.h"

#include <cctype>

namespace estimator {

namespace {

// Field names for readers outside the engine (exports, tests): the member name in snake_case, so
// orderNumber reads order_number and prePressHours reads pre_press_hours.
std::string snakeCase(std::string_view memberName)
{
    std::string name;
    for (const char c : memberName) {
        if (std::isupper(static_cast<unsigned char>(c))) {
            name += '_';
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else {
            name += c;
        }
    }
    return name;
}

platform::Value fieldValue(double value)
{
    return platform::Value::fromDouble(value);
}

platform::Value fieldValue(std::int16_t value)
{
    return platform::Value::fromInteger(value);
}

platform::Value fieldValue(std::int32_t value)
{
    return platform::Value::fromInteger(value);
}

template <std::size_t Width>
platform::Value fieldValue(const platform::FixedText<Width>& value)
{
    return platform::Value::fromText(value.str());
}

} // namespace

void forEachSummaryField(const SummaryRecord& record,
                         const std::function<void(std::string_view name, const platform::Value& value)>& visit)
{
#define SUMMARY_FIELD(member) visit(snakeCase(#member), fieldValue(record.member))
    SUMMARY_FIELD(orderNumber);
    SUMMARY_FIELD(reference);
    SUMMARY_FIELD(accountName);
    SUMMARY_FIELD(phone);
    SUMMARY_FIELD(dueDate);
    SUMMARY_FIELD(stockText);
    SUMMARY_FIELD(stockNumber);
    SUMMARY_FIELD(pressName);
    SUMMARY_FIELD(pressSides);
    SUMMARY_FIELD(numberUp);
    SUMMARY_FIELD(mode);
    SUMMARY_FIELD(description);
    SUMMARY_FIELD(pressSize);
    SUMMARY_FIELD(finishedSize);
    SUMMARY_FIELD(caliper);
    SUMMARY_FIELD(inkColours);
    SUMMARY_FIELD(quantity);
    SUMMARY_FIELD(typesetMinutes);
    SUMMARY_FIELD(typesetMinutesText);
    SUMMARY_FIELD(typesetCost);
    SUMMARY_FIELD(typesetRetail);
    SUMMARY_FIELD(typesetMarkup);
    SUMMARY_FIELD(designMinutes);
    SUMMARY_FIELD(designMinutesText);
    SUMMARY_FIELD(designCost);
    SUMMARY_FIELD(designRetail);
    SUMMARY_FIELD(pasteupMinutes);
    SUMMARY_FIELD(pasteupMinutesText);
    SUMMARY_FIELD(pasteupCost);
    SUMMARY_FIELD(pasteupRetail);
    SUMMARY_FIELD(preflightMinutes);
    SUMMARY_FIELD(preflightMinutesText);
    SUMMARY_FIELD(preflightCost);
    SUMMARY_FIELD(preflightRetail);
    SUMMARY_FIELD(matchprintMinutes);
    SUMMARY_FIELD(matchprintMinutesText);
    SUMMARY_FIELD(matchprintCost);
    SUMMARY_FIELD(matchprintRetail);
    SUMMARY_FIELD(cameraCost);
    SUMMARY_FIELD(cameraMinutes);
    SUMMARY_FIELD(cameraMinutesText);
    SUMMARY_FIELD(scanCost);
    SUMMARY_FIELD(scanMinutes);
    SUMMARY_FIELD(scanMinutesText);
    SUMMARY_FIELD(prePressHours);
    SUMMARY_FIELD(prePressMinutesText);
    SUMMARY_FIELD(prePressCost);
    SUMMARY_FIELD(prePressRetail);
    SUMMARY_FIELD(pressSpeed);
    SUMMARY_FIELD(pressSpoilagePercent);
    SUMMARY_FIELD(binderySpoilagePercent);
    SUMMARY_FIELD(totalSpoilagePercent);
    SUMMARY_FIELD(runHours);
    SUMMARY_FIELD(runHoursText);
    SUMMARY_FIELD(spoilageHours);
    SUMMARY_FIELD(spoilageHoursText);
    SUMMARY_FIELD(makeReadyHours);
    SUMMARY_FIELD(makeReadyHoursText);
    SUMMARY_FIELD(washupMinutes);
    SUMMARY_FIELD(washupMinutesText);
    SUMMARY_FIELD(washupCost);
    SUMMARY_FIELD(effectiveSpeed);
    SUMMARY_FIELD(runCost);
    SUMMARY_FIELD(spoilageCost);
    SUMMARY_FIELD(makeReadyCost);
    SUMMARY_FIELD(pressStockCost);
    SUMMARY_FIELD(spoilageStockCost);
    SUMMARY_FIELD(plateCostMetal);
    SUMMARY_FIELD(plateCostOther);
    SUMMARY_FIELD(plates);
    SUMMARY_FIELD(spoilageSheets);
    SUMMARY_FIELD(pressSheetsToOrder);
    SUMMARY_FIELD(pressSheetWeight);
    SUMMARY_FIELD(usedPaperWeight);
    SUMMARY_FIELD(pressHours);
    SUMMARY_FIELD(totalHours);
    SUMMARY_FIELD(totalHoursText);
    SUMMARY_FIELD(blackInkCost);
    SUMMARY_FIELD(colourInkCost);
    SUMMARY_FIELD(blackInkPounds);
    SUMMARY_FIELD(colourInkPounds);
    SUMMARY_FIELD(thirdInkCost);
    SUMMARY_FIELD(thirdInkPounds);
    SUMMARY_FIELD(pressCost);
    SUMMARY_FIELD(vendorCost);
    SUMMARY_FIELD(vendorRetail);
    SUMMARY_FIELD(totalCost);
    SUMMARY_FIELD(totalRetail);
    SUMMARY_FIELD(pressMarkup);
    SUMMARY_FIELD(stockMarkup);
    SUMMARY_FIELD(outsideServicesMarkup);
    SUMMARY_FIELD(costPerAddedThousand);
    SUMMARY_FIELD(retailPerAddedThousand);
    SUMMARY_FIELD(pricePerThousand);
    SUMMARY_FIELD(impressions);
    SUMMARY_FIELD(binderyHours);
    SUMMARY_FIELD(binderyHoursText);
    SUMMARY_FIELD(binderyCost);
    SUMMARY_FIELD(binderyMarkup);
#undef SUMMARY_FIELD
}

} // namespace estimator
