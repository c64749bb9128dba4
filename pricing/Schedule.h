#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pricing/PriceSettings.h"

namespace pricing {

// One quantity of the price list: the number priced and the text its line shows (the start quantity's
// line shows txtQty1 as typed, the others the computed number).
struct ScheduleEntry
{
    std::int32_t quantity = 0;
    std::string text;
    bool operator==(const ScheduleEntry&) const = default;
};

struct Schedule
{
    std::vector<ScheduleEntry> entries;
    // Why quantities were left out: a step of 0 or less (its stretch is treated as done) or a
    // quantity beyond the largest whole number the order row holds (the schedule ends there).
    std::vector<std::string> notes;
};

// The schedule of the four quantities and three steps: each stretch goes by its step while the quantity
// is not above the stretch's upper quantity, and the next stretch starts at the last quantity of the
// one before plus its own step (start 100, step 30, second 500: 100, 130, ..., 490, then 490 + second
// step). A second quantity below the start prices nothing in the first stretch; the second stretch then
// starts at start - first step + second step.
// Numbers are the leading numbers of the texts; sums are doubles rounded half to even to 32 bits.
Schedule buildSchedule(const PriceParameters& parameters);

// A schedule of one quantity (the command line's --qty).
Schedule singleQuantity(std::int32_t quantity);

// The same schedule one quantity at a time, without keeping it: `visit` gets each entry in turn and may stop
// the walk by returning false. Returns the schedule's notes. A long schedule so costs no memory.
using ScheduleVisitor = std::function<bool(const ScheduleEntry& entry)>;
std::vector<std::string> walkSchedule(const PriceParameters& parameters, const ScheduleVisitor& visit);

// How many quantities the schedule has, worked out without walking it quantity by quantity where the
// steps are whole numbers (a schedule of a billion quantities is counted at once).
std::uint64_t scheduleLength(const PriceParameters& parameters);

} // namespace pricing
