#include "pricing/Schedule.h"

#include "pricing/QuantityText.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using pricing::PriceParameters;
using pricing::Schedule;
using testing::HasSubstr;

std::vector<std::int32_t> quantitiesOf(const Schedule& schedule)
{
    std::vector<std::int32_t> quantities;
    for (const auto& entry : schedule.entries)
        quantities.push_back(entry.quantity);
    return quantities;
}

// Every quantity from `from` to `to` by `step`.
std::vector<std::int32_t> range(std::int32_t from, std::int32_t to, std::int32_t step)
{
    std::vector<std::int32_t> values;
    for (std::int32_t q = from; q <= to; q += step)
        values.push_back(q);
    return values;
}

std::vector<std::int32_t> joined(std::initializer_list<std::vector<std::int32_t>> parts)
{
    std::vector<std::int32_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

PriceParameters parameters(std::string q1, std::string j1, std::string q2, std::string j2, std::string q3,
                           std::string j3, std::string q4)
{
    PriceParameters p;
    p.qty1 = std::move(q1);
    p.jump1 = std::move(j1);
    p.qty2 = std::move(q2);
    p.jump2 = std::move(j2);
    p.qty3 = std::move(q3);
    p.jump3 = std::move(j3);
    p.qty4 = std::move(q4);
    return p;
}

TEST(Schedule, TheWindowsInitialParametersGiveThe38Quantities)
{
    // 100 to 500 by 25: 100, 125, ..., 500 (17). Then 525 - 25 + 100 = 600; 600 to 2000 by 100 (15).
    // Then 2100 - 100 + 500 = 2500; 2500 to 5000 by 500 (6). 17 + 15 + 6 = 38.
    const std::vector<std::int32_t> expected = {
        100,  125,  150,  175,  200,  225,  250,  275,  300,  325,  350,  375,  400,
        425,  450,  475,  500,  600,  700,  800,  900,  1000, 1100, 1200, 1300, 1400,
        1500, 1600, 1700, 1800, 1900, 2000, 2500, 3000, 3500, 4000, 4500, 5000};
    const Schedule schedule = pricing::buildSchedule(PriceParameters{});
    EXPECT_EQ(quantitiesOf(schedule), expected);
    ASSERT_EQ(schedule.entries.size(), 38u);
    EXPECT_EQ(schedule.entries[0].text, "100");
    EXPECT_EQ(schedule.entries[17].text, "600");
    EXPECT_EQ(schedule.entries[37].text, "5000");
    EXPECT_TRUE(schedule.notes.empty());
}

TEST(Schedule, TheFirstLineShowsTheStartQuantityAsTyped)
{
    // " 0100 pcs" reads as 100; its line keeps the text, the next line shows the number 125.
    const Schedule schedule = pricing::buildSchedule(parameters(" 0100 pcs", "25", "150", "100", "300", "500", "1000"));
    ASSERT_GE(schedule.entries.size(), 2u);
    EXPECT_EQ(schedule.entries[0].quantity, 100);
    EXPECT_EQ(schedule.entries[0].text, " 0100 pcs");
    EXPECT_EQ(schedule.entries[1].text, "125");
}

struct ScheduleCase
{
    const char* why;
    PriceParameters parameters;
    std::vector<std::int32_t> expected;
    std::size_t notes;
};

const ScheduleCase kSchedules[] = {
    {"a stretch that is no multiple of its step ends below its upper quantity and the next starts from "
     "its last quantity: 100 by 30 to 490, then 490 + 100",
     parameters("100", "30", "500", "100", "800", "500", "1000"), joined({range(100, 490, 30), range(590, 790, 100)}),
     0},
    {"a second quantity below the start prices nothing first; then 600 - 25 + 100 = 675 by 100 to 1975, "
     "then 1975 + 500 = 2475 by 500 to 4975",
     parameters("600", "25", "500", "100", "2000", "500", "5000"),
     joined({range(675, 1975, 100), range(2475, 4975, 500)}), 0},
    {"a first step of 0 leaves its stretch out with a note; then 100 - 0 + 100 = 200 by 100",
     parameters("100", "0", "500", "100", "800", "500", "1000"), range(200, 800, 100), 1},
    {"a negative second step: after 100..500 the second stretch starts at 525 - 25 - 50 = 450 and is left "
     "out; the third starts at 450 + 50 + 500 = 1000",
     parameters("100", "25", "500", "-50", "2000", "500", "5000"),
     joined({range(100, 500, 25), range(1000, 5000, 500)}), 1},
    {"a third step of 0 (the window never checks it) ends the run after the second stretch",
     parameters("100", "25", "500", "100", "2000", "0", "5000"), joined({range(100, 500, 25), range(600, 2000, 100)}),
     1},
    {"a step of 0.4 rounds 100.4 back to 100: the stretch ends after 100 with a note",
     parameters("100", "0.4", "500", "100", "700", "500", "1000"), joined({{100}, range(200, 700, 100)}), 1},
    {"a step of 2.5: 100 + 2.5 = 102.5 rounds half to even to 102, 104.5 to 104 ..., so the quantities go by "
     "2 to 110; 112 - 2.5 = 109.5 rounds to 110, + 100 = 210",
     parameters("100", "2.5", "110", "100", "410", "500", "400"), joined({range(100, 110, 2), {210, 310, 410}}), 0},
    {"upper quantities all below the start price nothing: 175 > 60, then 575 > 70",
     parameters("100", "25", "50", "100", "60", "500", "70"), {}, 0},
};

class ScheduleTable : public testing::TestWithParam<ScheduleCase>
{
};

TEST_P(ScheduleTable, GivesTheQuantitiesWorkedOutByHand)
{
    const ScheduleCase& c = GetParam();
    const Schedule schedule = pricing::buildSchedule(c.parameters);
    EXPECT_EQ(quantitiesOf(schedule), c.expected) << c.why;
    EXPECT_EQ(schedule.notes.size(), c.notes) << c.why;
    // Counted without walking it, the schedule has as many quantities, and the same notes.
    EXPECT_EQ(pricing::scheduleLength(c.parameters), c.expected.size()) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Schedule, ScheduleTable, testing::ValuesIn(kSchedules));

TEST(Schedule, AStepOfZeroNamesTheStepAndTheQuantitiesLeftOut)
{
    const Schedule schedule = pricing::buildSchedule(parameters("100", "25", "500", "100", "2000", "0", "5000"));
    ASSERT_EQ(schedule.notes.size(), 1u);
    // After 2000: 2100 - 100 + 0 = 2000, not above 5000, so 2000 to 5000 is what the step leaves out.
    EXPECT_THAT(schedule.notes[0], HasSubstr("third step is 0"));
    EXPECT_THAT(schedule.notes[0], HasSubstr("from 2000 to 5000"));
}

TEST(Schedule, TheLargestWholeQuantityEndsTheScheduleInsteadOfOverflowing)
{
    // 2147483600, 2147483625 are priced; 2147483625 + 25 = 2147483650 is beyond 2^31 - 1 = 2147483647.
    const Schedule schedule = pricing::buildSchedule(
        parameters("2147483600", "25", "2147483647", "100", "2147483647", "500", "2147483647"));
    EXPECT_EQ(quantitiesOf(schedule), (std::vector<std::int32_t>{2147483600, 2147483625}));
    ASSERT_EQ(schedule.notes.size(), 1u);
    EXPECT_THAT(schedule.notes[0], HasSubstr("2147483647"));
}

// A schedule of every quantity up to the largest one is counted at once, as arithmetic: 2,147,483,647
// quantities, then 2147483647 - 1 + 1 lands on the limit again and its + 1 is beyond it.
TEST(Schedule, AScheduleOfTwoBillionQuantitiesIsCountedWithoutWalkingIt)
{
    const PriceParameters all = parameters("1", "1", "2147483647", "1", "2147483647", "1", "2147483647");
    EXPECT_EQ(pricing::scheduleLength(all), 2147483647u);
    std::size_t visited = 0;
    pricing::walkSchedule(all, [&](const pricing::ScheduleEntry&) { return ++visited < 5; });
    EXPECT_EQ(visited, 5u) << "the walk stops when asked";
}

TEST(Schedule, AStartQuantityBeyondTheLimitGivesNoQuantities)
{
    const Schedule schedule = pricing::buildSchedule(parameters("3000000000", "25", "500", "100", "2000", "500", "5000"));
    EXPECT_TRUE(schedule.entries.empty());
    EXPECT_EQ(schedule.notes.size(), 1u);
}

// What a clerk may type into a quantity or step field: digits, grouped in thousands or not.
TEST(QuantityText, ReadsWholeNumbersWithThousandsAndNothingElse)
{
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"1000", 1000},  {"1,000", 1000},  {" 1 000 ", 1000}, {"12,500,000", 12500000}, {"0", 0},
        {"99999999999", 99999999999ULL},   {"", std::nullopt},  {"   ", std::nullopt},  {"12abc", std::nullopt},
        {"-5", std::nullopt},  {"+5", std::nullopt},  {"12.5", std::nullopt},  {"1,00", std::nullopt},
        {"1,0000", std::nullopt}, {",100", std::nullopt}, {"1000,", std::nullopt}, {"1,000 000", std::nullopt},
        {"1e3", std::nullopt}, {"&H10", std::nullopt}, {"9999999999999999999999", std::nullopt},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(pricing::readQuantityText(typed), expected) << '"' << typed << '"';
}

TEST(Schedule, ASingleQuantity)
{
    const Schedule schedule = pricing::singleQuantity(750);
    ASSERT_EQ(schedule.entries.size(), 1u);
    EXPECT_EQ(schedule.entries[0], (pricing::ScheduleEntry{750, "750"}));
}

} // namespace
