// The price request: one set of rules and words for the schedule, whether it comes from the window's fields,
// the price-data file, the book file or the command line.
#include "pricing/PriceRequest.h"

#include <string>
#include <variant>

#include <gtest/gtest.h>

namespace {

using pricing::PriceParameters;
using pricing::ScheduleItem;

// The seven texts in the book's order: Q1, J1, Q2, J2, Q3, J3, Q4.
PriceParameters texts(const char* q1, const char* j1, const char* q2, const char* j2, const char* q3, const char* j3,
                      const char* q4)
{
    PriceParameters p;
    p.qty1 = q1, p.jump1 = j1, p.qty2 = q2, p.jump2 = j2, p.qty3 = q3, p.jump3 = j3, p.qty4 = q4;
    return p;
}

struct ItemCase
{
    const char* why;
    PriceParameters texts;
    ScheduleItem item;
    bool againstNext;
    const char* message;   // what the window says; "" when the number is taken
    const char* withValue; // what the book file and the command line say
};

const std::string kAbovePrevious = "Quantities Must Be Greater Than Zero or Greater than Previous Quantity!";

const ItemCase kItems[] = {
    {"thousands separators are taken", texts("100", "25", "500", "100", "2,500", "500", "5000"), ScheduleItem::Qty3,
     true, "", ""},
    {"a start quantity of 0", texts("0", "25", "500", "100", "2000", "500", "5000"), ScheduleItem::Qty1, false,
     "Quantities Must Be Greater Than Zero!", "Start Quantity \"0\": Quantities Must Be Greater Than Zero!"},
    {"a quantity equal to the one before", texts("100", "25", "100", "100", "2000", "500", "5000"),
     ScheduleItem::Qty2, false, kAbovePrevious.c_str(), ""},
    {"a start above the second, as the clerk leaves the field", texts("600", "25", "500", "100", "2000", "500", "5000"),
     ScheduleItem::Qty1, true, "Start Quantity must be below the 2nd Quantity (500).",
     "Start Quantity (600) must be below the 2nd Quantity (500)."},
    {"the same start, checked against the one before only", texts("600", "25", "500", "100", "2000", "500", "5000"),
     ScheduleItem::Qty1, false, "", ""},
    {"a second step of 0", texts("100", "25", "500", "0", "2000", "500", "5000"), ScheduleItem::Jump2, false,
     "Quantities Must Be Greater Than Zero!", "Jump by (after the 2nd quantity) \"0\": Quantities Must Be Greater Than Zero!"},
    {"a third step of 0 leaves its stretch out", texts("100", "25", "500", "100", "2000", "0", "5000"),
     ScheduleItem::Jump3, true, "", ""},
    {"beyond what the order row holds", texts("100", "25", "500", "100", "2000", "500", "99999999999"),
     ScheduleItem::Qty4, true, "Final Quantity can be at most 2,147,483,647.",
     "Final Quantity can be at most 2,147,483,647, not 99999999999."},
    {"letters", texts("100", "abc", "500", "100", "2000", "500", "5000"), ScheduleItem::Jump1, false,
     "Jump by (after the start quantity) takes a whole number, such as 1000 or 1,000.",
     "Jump by (after the start quantity) takes a whole number, such as 1000 or 1,000, not \"abc\"."},
    {"a neighbour that is no number is not compared", texts("100", "25", "x", "100", "2000", "500", "5000"),
     ScheduleItem::Qty3, true, "", ""},
};

class ScheduleItemCheck : public testing::TestWithParam<ItemCase>
{
};

TEST_P(ScheduleItemCheck, TakesOrRefusesTheNumber)
{
    const ItemCase& c = GetParam();
    const std::optional<pricing::ScheduleProblem> problem = pricing::scheduleItemProblem(c.texts, c.item, c.againstNext);
    if (!*c.message) {
        EXPECT_FALSE(problem) << c.why << ": " << problem->message();
        return;
    }
    ASSERT_TRUE(problem) << c.why;
    EXPECT_EQ(problem->item, c.item) << c.why;
    EXPECT_EQ(problem->message(), c.message) << c.why;
    if (*c.withValue) {
        EXPECT_EQ(problem->withValue(), c.withValue) << c.why;
    }
}

INSTANTIATE_TEST_SUITE_P(PriceRequest, ScheduleItemCheck, testing::ValuesIn(kItems));

TEST(PriceRequest, TheScheduleIsReadWholeAndItsFirstProblemInTheWindowsOrderIsNamed)
{
    const auto numbers = pricing::readScheduleNumbers(texts("1,000", "25", "1 500", "100", "2000", "0", "5000"));
    ASSERT_TRUE(std::holds_alternative<pricing::ScheduleNumbers>(numbers));
    EXPECT_EQ(std::get<pricing::ScheduleNumbers>(numbers), (pricing::ScheduleNumbers{1000, 25, 1500, 100, 2000, 0, 5000}));

    // The quantities before the steps: the second quantity is named, not the first step.
    const auto falling = pricing::readScheduleNumbers(texts("100", "0", "100", "0", "100", "0", "100"));
    ASSERT_TRUE(std::holds_alternative<pricing::ScheduleProblem>(falling));
    EXPECT_EQ(std::get<pricing::ScheduleProblem>(falling).withValue(), "2nd Quantity \"100\": " + kAbovePrevious);
}

TEST(PriceRequest, CarriesWhatTheListIsPricedForAndSaysIt)
{
    pricing::OrderSelection order;
    order.orderNo = "O'NEIL-01";
    order.partNo = "2";
    PriceParameters parameters = texts("100", "25", "500", "100", "2,000", "500", "5000");
    parameters.step = pricing::RoundingStep::Quarter; // neither Up nor Down: priced down
    const auto made = pricing::makePriceRequest(order, pricing::QuoteOrJob::Job, parameters, "Folders");
    ASSERT_TRUE(std::holds_alternative<pricing::PriceRequest>(made));
    const pricing::PriceRequest& request = std::get<pricing::PriceRequest>(made);
    EXPECT_EQ(request.direction, pricing::RoundingDirection::Down);
    EXPECT_EQ(pricing::describeRequest(request),
              "O'NEIL-01 part 2, job: 100 by 25 to 500, by 100 to 2000, by 500 to 5000; rounded to 0.25 down");
    EXPECT_EQ(pricing::requestParameters(request).qty3, "2000");

    // The typeface and the category change the sheet, not the prices.
    pricing::PriceRequest other = request;
    other.typeface = pricing::Typeface::Courier;
    other.category = "Brochures";
    EXPECT_TRUE(pricing::samePrices(request, other));
    other.direction = pricing::RoundingDirection::Up;
    EXPECT_FALSE(pricing::samePrices(request, other));
}

} // namespace
