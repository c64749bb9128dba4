#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/FixedText.h"

namespace estimator {

// One bindery report row: an operation's row or a quantity's totals record.
struct BinderyReportRow
{
    platform::FixedText<25> description;
    std::int16_t setups = 0;
    std::int16_t sheetSizeCode = 0;
    std::int16_t runs = 0;
    std::int16_t percentOfRun = 0;
    std::int16_t difficulty = 0;
    double setupMinutes = 0;
    double runMinutes = 0;
    double totalMinutes = 0;
    platform::FixedText<10> setupTimeText;
    platform::FixedText<10> runTimeText;
    platform::FixedText<10> totalTimeText;
    std::int32_t waste = 0;
    double spoilagePercent = 0;
    double averageSpoilagePercent = 0;
    double cost = 0;
    double retail = 0;
};

// Rows by quantity slot (1 to 4) and operation number (1 to n); index 0 of each is unused so the
// numbers read as the shop's estimating rules count them.
using BinderyRowTable = std::array<std::vector<BinderyReportRow>, 5>;
using BinderyTotalsTable = std::array<BinderyReportRow, 5>;

// One camera or scan selection line of the pre-press estimate.
struct PrePressLine
{
    double quantity = 0;
    platform::FixedText<15> typeName;
    platform::FixedText<15> sizeName;
    double lineCost = 0;
    double lineMinutes = 0;
    double lineRetail = 0;
};

} // namespace estimator
