#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "estimator/OrderKey.h"
#include "estimator/modEstimator.h"
#include "platform/Fault.h"

namespace {

struct TimeCase
{
    const char* why;
    double duration;
    const char* expected;
};

// Minutes: hours = Int(m / 60), minutes = (m / 60 - hours) x 60 rounded half to even.
const TimeCase kMinutes[] = {
    {"an hour and a half", 90, "001:30"},
    {"under an hour", 5, "000:05"},
    {"nothing", 0, "000:00"},
    {"minutes rounded after the hours are taken: no carry", 119.6, "001:60"},
    {"half a minute rounds to even (0)", 0.5, "000:00"},
    {"one and a half minutes rounds to even (2)", 1.5, "000:02"},
    {"negative: Int goes down to -1, leaving +30 minutes", -30, "-001:30"},
    {"a long job pads, never truncates", 60000, "1000:00"},
    {"the largest whole hour that fits 16 bits", 32767 * 60.0, "32767:00"},
};

TEST(ConvertMinutes, HoursAndMinutesTexts)
{
    for (const TimeCase& c : kMinutes) {
        const std::string got = estimator::ConvertMinutes(c.duration);
        EXPECT_EQ(got, c.expected) << c.why << "\n    minutes:  " << c.duration;
    }
}

TEST(ConvertMinutes, HoursBeyondSixteenBitsAreAnOverflow)
{
    using testing::Property;
    using testing::Throws;
    // 32768 whole hours do not fit the 16-bit hours.
    EXPECT_THAT([] { (void)estimator::ConvertMinutes(32768 * 60.0); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::Overflow)));
    EXPECT_THAT([] { (void)estimator::ConvertMinutes(-32769 * 60.0); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::Overflow)));
}

const TimeCase kHours[] = {
    {"a quarter past", 2.25, "002:15"},
    {"half past twelve", 12.5, "012:30"},
    {"a thousand hours", 1000, "1000:00"},
    {"nothing", 0, "000:00"},
    {"minutes rounded on their own: 0.9999 h is 59.994 min", 0.9999, "000:60"},
    {"negative half hour: hours -1, minutes 30", -0.5, "-001:30"},
    {"too long for 16 bits: both steps fail and leave 0", 40000, "000:00"},
    {"too negative for 16 bits", -40000, "000:00"},
};

TEST(ConvertHours, HoursAndMinutesTextsAndSkippedSteps)
{
    for (const TimeCase& c : kHours) {
        std::string got;
        ASSERT_NO_THROW(got = estimator::ConvertHours(c.duration)) << c.why;
        EXPECT_EQ(got, c.expected) << c.why << "\n    hours:    " << c.duration;
    }
}

struct QuoteCase
{
    const char* why;
    const char* text;
    std::int32_t selector;
    const char* expected;
};

const QuoteCase kQuotes[] = {
    {"selector 0 gives double quotes", "J1001", 0, "\"J1001\""},
    {"any other selector gives apostrophes", "J1001", 1, "'J1001'"},
    {"negative selector is not 0", "Q7", -1, "'Q7'"},
    {"empty text: two quote characters", "", 0, "\"\""},
    {"empty text in apostrophes", "", 5, "''"},
    // The quote character inside is doubled, so the literal still means the text itself inside SQL.
    {"inner double quote doubled", "12\" ruler", 0, "\"12\"\" ruler\""},
    {"inner apostrophe doubled", "O'Neil", 1, "'O''Neil'"},
    {"the other quote character is left alone", "O'Neil", 0, "\"O'Neil\""},
};

TEST(Quotes, WrapsTextForSql)
{
    for (const QuoteCase& c : kQuotes)
        EXPECT_EQ(estimator::Quotes(c.text, c.selector), c.expected) << c.why;
}

// The order key goes into every order query the same way: escaped literals, the part as a number, the
// columns of a joined table qualified.
TEST(OrderKey, WritesTheKeyOnceForEveryQuery)
{
    const estimator::OrderKey key{"O'Neil 7", 2, "Q"};
    EXPECT_EQ(key.orderClause(), "ORDERNO = 'O''Neil 7'");
    EXPECT_EQ(key.partClause(), "ORDERNO = 'O''Neil 7' AND PARTNO = 2");
    EXPECT_EQ(key.where(), "ORDERNO = 'O''Neil 7' AND PARTNO = 2 AND QUOTEORJOB = 'Q'");
    EXPECT_EQ(key.where("INKSELECTIONS"),
              "INKSELECTIONS.ORDERNO = 'O''Neil 7' AND INKSELECTIONS.PARTNO = 2 AND INKSELECTIONS.QUOTEORJOB = 'Q'");
}

} // namespace
