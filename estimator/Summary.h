#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FixedText.h"
#include "platform/Value.h"

namespace estimator {

// The fields of the summary record, each once: X(type, name). The record and its readers are made from
// these lists, in this order.

// Order facts (SetSummary); the quantity is written by Estimate.
#define PRICEBOOK_SUMMARY_ORDER_FIELDS(X)    \
    X(platform::FixedText<8>, orderNumber)   \
    X(platform::FixedText<8>, reference)     \
    X(platform::FixedText<40>, accountName)  \
    X(platform::FixedText<20>, phone)        \
    X(platform::FixedText<10>, dueDate)      \
    X(platform::FixedText<40>, stockText)    \
    X(platform::FixedText<4>, stockNumber)   \
    X(platform::FixedText<25>, pressName)    \
    X(std::int16_t, pressSides)              \
    X(std::int16_t, numberUp)                \
    X(platform::FixedText<20>, mode)         \
    X(platform::FixedText<255>, description) \
    X(platform::FixedText<15>, pressSize)    \
    X(platform::FixedText<15>, finishedSize) \
    X(double, caliper)                       \
    X(platform::FixedText<255>, inkColours)  \
    X(std::int32_t, quantity)

// Pre-press: the five items on the order, camera and scan work, and the department totals; typesetMarkup is
// the pre-press markup as a fraction.
#define PRICEBOOK_SUMMARY_PRE_PRESS_FIELDS(X)        \
    X(double, typesetMinutes)                        \
    X(platform::FixedText<6>, typesetMinutesText)    \
    X(double, typesetCost)                           \
    X(double, typesetRetail)                         \
    X(double, typesetMarkup)                         \
    X(double, designMinutes)                         \
    X(platform::FixedText<6>, designMinutesText)     \
    X(double, designCost)                            \
    X(double, designRetail)                          \
    X(double, pasteupMinutes)                        \
    X(platform::FixedText<6>, pasteupMinutesText)    \
    X(double, pasteupCost)                           \
    X(double, pasteupRetail)                         \
    X(double, preflightMinutes)                      \
    X(platform::FixedText<6>, preflightMinutesText)  \
    X(double, preflightCost)                         \
    X(double, preflightRetail)                       \
    X(double, matchprintMinutes)                     \
    X(platform::FixedText<6>, matchprintMinutesText) \
    X(double, matchprintCost)                        \
    X(double, matchprintRetail)                      \
    X(double, cameraCost)                            \
    X(double, cameraMinutes)                         \
    X(platform::FixedText<6>, cameraMinutesText)     \
    X(double, scanCost)                              \
    X(double, scanMinutes)                           \
    X(platform::FixedText<6>, scanMinutesText)       \
    X(double, prePressHours)                         \
    X(platform::FixedText<6>, prePressMinutesText)   \
    X(double, prePressCost)                          \
    X(double, prePressRetail)

// Press run.
#define PRICEBOOK_SUMMARY_PRESS_FIELDS(X)         \
    X(std::int32_t, pressSpeed)                   \
    X(double, pressSpoilagePercent)               \
    X(double, binderySpoilagePercent)             \
    X(double, totalSpoilagePercent)               \
    X(double, runHours)                           \
    X(platform::FixedText<6>, runHoursText)       \
    X(double, spoilageHours)                      \
    X(platform::FixedText<6>, spoilageHoursText)  \
    X(double, makeReadyHours)                     \
    X(platform::FixedText<6>, makeReadyHoursText) \
    X(double, washupMinutes)                      \
    X(platform::FixedText<6>, washupMinutesText)  \
    X(double, washupCost)                         \
    X(std::int32_t, effectiveSpeed)               \
    X(double, runCost)                            \
    X(double, spoilageCost)                       \
    X(double, makeReadyCost)                      \
    X(double, pressStockCost)                     \
    X(double, spoilageStockCost)                  \
    X(double, plateCostMetal)                     \
    X(double, plateCostOther)                     \
    X(std::int16_t, plates)                       \
    X(std::int32_t, spoilageSheets)               \
    X(std::int32_t, pressSheetsToOrder)           \
    X(double, pressSheetWeight)                   \
    X(double, usedPaperWeight)                    \
    X(double, pressHours)                         \
    X(double, totalHours)                         \
    X(platform::FixedText<6>, totalHoursText)

// Ink.
#define PRICEBOOK_SUMMARY_INK_FIELDS(X) \
    X(double, blackInkCost)             \
    X(double, colourInkCost)            \
    X(double, blackInkPounds)           \
    X(double, colourInkPounds)          \
    X(double, thirdInkCost)             \
    X(double, thirdInkPounds)

// Job totals.
#define PRICEBOOK_SUMMARY_JOB_TOTALS_FIELDS(X) \
    X(double, pressCost)                       \
    X(double, vendorCost)                      \
    X(double, vendorRetail)                    \
    X(double, totalCost)                       \
    X(double, totalRetail)                     \
    X(double, pressMarkup)                     \
    X(double, stockMarkup)                     \
    X(double, outsideServicesMarkup)           \
    X(double, costPerAddedThousand)            \
    X(double, retailPerAddedThousand)          \
    X(double, pricePerThousand)                \
    X(std::int32_t, impressions)

// Bindery; binderyMarkup as a fraction.
#define PRICEBOOK_SUMMARY_BINDERY_FIELDS(X)     \
    X(double, binderyHours)                     \
    X(platform::FixedText<6>, binderyHoursText) \
    X(double, binderyCost)                      \
    X(double, binderyMarkup)

#define PRICEBOOK_SUMMARY_FIELDS(X)        \
    PRICEBOOK_SUMMARY_ORDER_FIELDS(X)      \
    PRICEBOOK_SUMMARY_PRE_PRESS_FIELDS(X)  \
    PRICEBOOK_SUMMARY_PRESS_FIELDS(X)      \
    PRICEBOOK_SUMMARY_INK_FIELDS(X)        \
    PRICEBOOK_SUMMARY_JOB_TOTALS_FIELDS(X) \
    PRICEBOOK_SUMMARY_BINDERY_FIELDS(X)

// One summary record: everything the departments worked out for one quantity slot, beside the order's
// descriptive facts. Four of them (slots 1 to 4) are shared by the estimator objects of a pricing run;
// the pricing run reads the total retail of slot 1. Texts are fixed-length, as the record's readers
// (summary screens and reports of the estimating system) expect.
struct SummaryRecord
{
#define PRICEBOOK_SUMMARY_MEMBER(type, name) type name{};
    PRICEBOOK_SUMMARY_FIELDS(PRICEBOOK_SUMMARY_MEMBER)
#undef PRICEBOOK_SUMMARY_MEMBER
};

// Calls `visit` once per field of the record, in declaration order, with the field's snake_case name
// (order_number, total_retail ...) and its value (texts as stored, fixed width included).
void forEachSummaryField(const SummaryRecord& record,
                         const std::function<void(std::string_view name, const platform::Value& value)>& visit);

} // namespace estimator
