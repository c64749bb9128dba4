#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FixedText.h"
#include "platform/Value.h"

namespace estimator {

// One summary record: everything the departments worked out for one quantity slot, beside the order's
// descriptive facts. Four of them (slots 1 to 4) are shared by every estimator object of the process;
// the pricing run reads the total retail of slot 1. Texts are fixed-length, as the record's readers
// (summary screens and reports of the estimating system) expect.
struct SummaryRecord
{
    // Order facts (SetSummary).
    platform::FixedText<8> orderNumber;
    platform::FixedText<8> reference;
    platform::FixedText<40> accountName;
    platform::FixedText<20> phone;
    platform::FixedText<10> dueDate;
    platform::FixedText<40> stockText;
    platform::FixedText<4> stockNumber;
    platform::FixedText<25> pressName;
    std::int16_t pressSides = 0;
    std::int16_t numberUp = 0;
    platform::FixedText<20> mode;
    platform::FixedText<255> description;
    platform::FixedText<15> pressSize;
    platform::FixedText<15> finishedSize;
    double caliper = 0;
    platform::FixedText<255> inkColours;
    std::int32_t quantity = 0; // written by Estimate

    // Pre-press: the five items on the order, camera and scan work, and the department totals.
    double typesetMinutes = 0;
    platform::FixedText<6> typesetMinutesText;
    double typesetCost = 0;
    double typesetRetail = 0;
    double typesetMarkup = 0; // the pre-press markup as a fraction
    double designMinutes = 0;
    platform::FixedText<6> designMinutesText;
    double designCost = 0;
    double designRetail = 0;
    double pasteupMinutes = 0;
    platform::FixedText<6> pasteupMinutesText;
    double pasteupCost = 0;
    double pasteupRetail = 0;
    double preflightMinutes = 0;
    platform::FixedText<6> preflightMinutesText;
    double preflightCost = 0;
    double preflightRetail = 0;
    double matchprintMinutes = 0;
    platform::FixedText<6> matchprintMinutesText;
    double matchprintCost = 0;
    double matchprintRetail = 0;
    double cameraCost = 0;
    double cameraMinutes = 0;
    platform::FixedText<6> cameraMinutesText;
    double scanCost = 0;
    double scanMinutes = 0;
    platform::FixedText<6> scanMinutesText;
    double prePressHours = 0;
    platform::FixedText<6> prePressMinutesText;
    double prePressCost = 0;
    double prePressRetail = 0;

    // Press run.
    std::int32_t pressSpeed = 0;
    double pressSpoilagePercent = 0;
    double binderySpoilagePercent = 0;
    double totalSpoilagePercent = 0;
    double runHours = 0;
    platform::FixedText<6> runHoursText;
    double spoilageHours = 0;
    platform::FixedText<6> spoilageHoursText;
    double makeReadyHours = 0;
    platform::FixedText<6> makeReadyHoursText;
    double washupMinutes = 0;
    platform::FixedText<6> washupMinutesText;
    double washupCost = 0;
    std::int32_t effectiveSpeed = 0;
    double runCost = 0;
    double spoilageCost = 0;
    double makeReadyCost = 0;
    double pressStockCost = 0;
    double spoilageStockCost = 0;
    double plateCostMetal = 0;
    double plateCostOther = 0;
    std::int16_t plates = 0;
    std::int32_t spoilageSheets = 0;
    std::int32_t pressSheetsToOrder = 0;
    double pressSheetWeight = 0;
    double usedPaperWeight = 0;
    double pressHours = 0;
    double totalHours = 0;
    platform::FixedText<6> totalHoursText;

    // Ink.
    double blackInkCost = 0;
    double colourInkCost = 0;
    double blackInkPounds = 0;
    double colourInkPounds = 0;
    double thirdInkCost = 0;
    double thirdInkPounds = 0;

    // Job totals.
    double pressCost = 0;
    double vendorCost = 0;
    double vendorRetail = 0;
    double totalCost = 0;
    double totalRetail = 0;
    double pressMarkup = 0;
    double stockMarkup = 0;
    double outsideServicesMarkup = 0;
    double costPerAddedThousand = 0;
    double retailPerAddedThousand = 0;
    double pricePerThousand = 0;
    std::int32_t impressions = 0;

    // Bindery.
    double binderyHours = 0;
    platform::FixedText<6> binderyHoursText;
    double binderyCost = 0;
    double binderyMarkup = 0; // fraction
};

// Calls `visit` once per field of the record, in declaration order, with the field's snake_case name
// (order_number, total_retail ...) and its value (texts as stored, fixed width included).
void forEachSummaryField(const SummaryRecord& record,
                         const std::function<void(std::string_view name, const platform::Value& value)>& visit);

} // namespace estimator
