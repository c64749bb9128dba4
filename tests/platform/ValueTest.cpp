#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Format.h"
#include "platform/Value.h"
#include "tests/support/Faults.h"

namespace {

using platform::Value;

using testsupport::faultNumber;

// 45306 is 15 January 2024 (36526 for 1 January 2000, + 8766 days to 2024, + 14).
constexpr double Jan15th2024 = 45306;

struct FormattedCase
{
    const char* name;
    Value value;
    const char* expected;
};

TEST(Value, FormattedAsTheOldRuntimePrintedValues)
{
    const FormattedCase cases[] = {
        {"Null", Value::null(), ""},
        {"integer", Value::fromInteger(42), "42"},
        {"negative integer", Value::fromInteger(-7), "-7"},
        {"double to 15 digits", Value::fromDouble(0.1 + 0.2), "0.3"},
        {"large double", Value::fromDouble(1e15), "1E+15"},
        {"small double", Value::fromDouble(0.00001), "1E-05"},
        {"text", Value::fromText(" 8 1/2 x 11 "), " 8 1/2 x 11 "},
        {"yes", Value::fromBoolean(true), "True"},
        {"no", Value::fromBoolean(false), "False"},
        {"date", Value::fromDate(Jan15th2024), "1/15/2024"},
        {"date and time", Value::fromDate(Jan15th2024 + 0.5), "1/15/2024 12:00:00 PM"},
        {"afternoon", Value::fromDate(Jan15th2024 + (13 * 3600 + 5 * 60 + 9) / 86400.0), "1/15/2024 1:05:09 PM"},
        {"time alone", Value::fromDate(0.25), "6:00:00 AM"},
        {"day zero", Value::fromDate(0), "12:00:00 AM"},
        {"before day zero", Value::fromDate(-1.25), "12/29/1899 6:00:00 AM"},
    };
    for (const FormattedCase& c : cases) {
        EXPECT_EQ(c.value.formatted(), c.expected) << c.name;
        EXPECT_EQ(platform::format(c.value), c.expected) << c.name;
    }
}

struct NumberCase
{
    const char* name;
    Value value;
    double expected;
};

// Every column reads as Val of its formatted text.
TEST(Value, NumberReadsThroughTheFormattedText)
{
    const NumberCase cases[] = {
        {"Null", Value::null(), 0},
        {"integer", Value::fromInteger(2500), 2500},
        {"double", Value::fromDouble(12.605), 12.605},
        {"17 digits round to 15", Value::fromDouble(0.30000000000000004), 0.3},
        {"one and a tiny bit", Value::fromDouble(1.0000000000000002), 1},
        {"long fraction", Value::fromDouble(123456789.123456789), 123456789.123457},
        {"large", Value::fromDouble(1234567890123456), 1.23456789012346e15},
        {"numeric text", Value::fromText("12abc"), 12},
        {"text with blanks", Value::fromText(" 1 2 3"), 123},
        {"plain text", Value::fromText("Black"), 0},
        {"empty text", Value::fromText(""), 0},
        {"yes reads as text True", Value::fromBoolean(true), 0},
        {"date reads as its month", Value::fromDate(Jan15th2024), 1}, // "1/15/2024"
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(c.value.number(), c.expected) << c.name;
}

// Reading a double needs no text where the text would give the double back; the answer is the same as
// reading its text, for numbers of every length and size around the edges of that shortcut.
TEST(Value, NumberOfADoubleIsItsTextsValueWhateverItsDigits)
{
    std::mt19937_64 random(2024);
    std::vector<double> values = {1e-4, std::nextafter(1e-4, 0.0), 1e15, std::nextafter(1e15, 0.0), 999999999999999.9,
                                  0.1 + 0.2, 1.0000000000000002, -0.0, 5e-324, 1e300};
    for (int i = 0; i < 100000; ++i) {
        // A number of 1 to 17 significant digits, at a power of ten from 10^-7 to 10^17.
        const int digits = 1 + static_cast<int>(random() % 17);
        const int exponent = -7 + static_cast<int>(random() % 25);
        const double mantissa = static_cast<double>(random() % 100000000000000000ULL) / 1e17;
        const double rounded = std::round(mantissa * std::pow(10.0, digits)) / std::pow(10.0, digits);
        values.push_back((i % 2 ? -1 : 1) * rounded * std::pow(10.0, exponent));
        values.push_back(std::bit_cast<double>(random() >> 2)); // any double below 2
    }
    for (const double value : values) {
        const Value v = Value::fromDouble(value);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(v.number()), std::bit_cast<std::uint64_t>(platform::val(v.formatted())))
            << std::hexfloat << value;
    }
}

struct BooleanCase
{
    const char* name;
    Value value;
    bool expected;
};

TEST(Value, ToBoolean)
{
    const BooleanCase cases[] = {
        {"Null", Value::null(), false},
        {"yes", Value::fromBoolean(true), true},
        {"no", Value::fromBoolean(false), false},
        {"zero", Value::fromInteger(0), false},
        {"minus one", Value::fromInteger(-1), true},
        {"five", Value::fromInteger(5), true},
        {"double zero", Value::fromDouble(0.0), false},
        {"half", Value::fromDouble(0.5), true},
        {"True", Value::fromText("True"), true},
        {"false any case", Value::fromText("fAlSe"), false},
        {"blanks around", Value::fromText(" TRUE "), true},
        {"numeric zero", Value::fromText("0"), false},
        {"numeric minus one", Value::fromText("-1"), true},
    };
    for (const BooleanCase& c : cases)
        EXPECT_EQ(c.value.toBoolean(), c.expected) << c.name;
    EXPECT_EQ(faultNumber([] { Value::fromText("yes").toBoolean(); }), 13);
    EXPECT_EQ(faultNumber([] { Value::fromText("").toBoolean(); }), 13);
}

TEST(Value, RawContentOfTheWrongKindIsAFault)
{
    EXPECT_EQ(Value::fromInteger(7).integer(), 7);
    EXPECT_EQ(Value::fromInteger(7).real(), 7.0);
    EXPECT_EQ(Value::fromBoolean(true).real(), -1.0);
    EXPECT_EQ(Value::fromBoolean(false).real(), 0.0);
    EXPECT_EQ(Value::fromDate(2.5).real(), 2.5);
    EXPECT_EQ(Value::fromDate(2.5).dateSerial(), 2.5);
    EXPECT_EQ(Value::fromText("x").text(), "x");
    EXPECT_TRUE(Value::fromBoolean(true).boolean());

    EXPECT_EQ(faultNumber([] { Value::fromDouble(1.0).integer(); }), 13);
    EXPECT_EQ(faultNumber([] { Value::fromText("12").real(); }), 13);
    EXPECT_EQ(faultNumber([] { Value::fromInteger(12).text(); }), 13);
    EXPECT_EQ(faultNumber([] { Value::fromInteger(1).boolean(); }), 13);
    EXPECT_EQ(faultNumber([] { Value::fromDouble(1.0).dateSerial(); }), 13);
    EXPECT_EQ(faultNumber([] { Value::null().real(); }), 94);
    EXPECT_EQ(faultNumber([] { Value::null().text(); }), 94);
    EXPECT_EQ(faultNumber([] { Value::null().integer(); }), 94);
}

TEST(Value, KindsAndEquality)
{
    EXPECT_TRUE(Value().isNull());
    EXPECT_EQ(Value(), Value::null());
    EXPECT_EQ(Value::fromText("a"), Value::fromText("a"));
    EXPECT_NE(Value::fromInteger(1), Value::fromDouble(1.0)); // same number, different kinds
    EXPECT_NE(Value::fromDate(1.0), Value::fromDouble(1.0));
    EXPECT_EQ(Value::fromDate(1.0).kind(), Value::Kind::Date);
}

struct ValuePatternCase
{
    const char* name;
    Value value;
    const char* pattern;
    const char* expected;
};

TEST(Value, FormatWithPattern)
{
    const ValuePatternCase cases[] = {
        {"Null", Value::null(), "0000", ""},
        {"stock id", Value::fromInteger(12), "0000", "0012"},
        {"numeric text", Value::fromText("12"), "0000", "0012"},
        {"other text stays", Value::fromText("ABC"), "0000", "ABC"},
        {"caliper", Value::fromDouble(0.01234), "0.0000", "0.0123"},
        {"yes is -1", Value::fromBoolean(true), "0000", "-0001"},
        {"due date", Value::fromDate(Jan15th2024), "mm/dd/yyyy", "01/15/2024"},
        {"date text iso", Value::fromText("2024-01-15"), "mm/dd/yyyy", "01/15/2024"},
        {"date text with time", Value::fromText("2024-01-15 13:05:09"), "hh:mm:ss AM/PM", "01:05:09 PM"},
        {"date text us", Value::fromText("1/15/2024"), "mm/dd/yyyy", "01/15/2024"},
        {"no such day", Value::fromText("2024-02-30"), "mm/dd/yyyy", "2024-02-30"},
        {"not a date", Value::fromText("ASAP"), "mm/dd/yyyy", "ASAP"},
        {"serial text", Value::fromText("45306"), "mm/dd/yyyy", "01/15/2024"},
        {"Null date", Value::null(), "mm/dd/yyyy", ""},
    };
    for (const ValuePatternCase& c : cases)
        EXPECT_EQ(platform::format(c.value, c.pattern), c.expected) << c.name;
}

} // namespace
