#include <cmath>
#include <cstdint>
#include <clocale>
#include <string>

#include <gtest/gtest.h>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Format.h"
#include "tests/support/Faults.h"

namespace {

using platform::Fault;

using testsupport::faultNumber;

struct ValCase
{
    const char* text;
    double expected;
};

// Val reads the leading number of a text, passing over blanks anywhere inside it.
TEST(Val, ReadsTheLeadingNumber)
{
    const ValCase cases[] = {
        {" 1 2 3", 123},        // blanks inside the digits are skipped
        {"8 1/2", 81},          // "8 1" reads as 81, the slash stops it
        {"12abc", 12},          // stops at the first letter
        {"1,000", 1},           // a comma is no part of a number
        {"-.5", -0.5},          // sign and point without a leading digit
        {"+ 5", 5},             // a blank between the sign and the digits
        {"- 2.5", -2.5},
        {"1e3", 1000},          // exponent with E
        {"1D2", 100},           // exponent with D, as the old runtime wrote doubles
        {"2.5E-1", 0.25},
        {"1 e 2", 100},         // blanks inside the exponent too
        {"1e", 1},              // no exponent digits: the letter ends the number
        {"1e+", 1},
        {"3.14.15", 3.14},      // the second point stops it
        {"&HFF", 255},
        {"&hff", 255},
        {"&O17", 15},           // 1*8 + 7
        {"&H7FFF", 32767},
        {"&HFFFF", -1},         // four hex digits read as a 16-bit integer
        {"&H10000", 65536},     // five digits: a 32-bit integer
        {"&HFFFFFFFF", -1},     // eight digits: a 32-bit integer
        {"&H", 0},
        {"&X12", 0},
        {"", 0},
        {"   ", 0},
        {"abc", 0},
        {".", 0},
        {"-", 0},
        {"-0", 0},
        {"\t42\r\n", 42},
        {"007", 7},
        {"0.0001", 0.0001},
        {"12:30", 12},
        {"$5", 0},              // a currency sign is not a number
        {"True", 0},
    };
    for (const ValCase& c : cases)
        EXPECT_EQ(platform::val(c.text), c.expected) << "Val(\"" << c.text << "\")";
}

TEST(Val, NegativeZeroReadsAsPlainZero)
{
    EXPECT_FALSE(std::signbit(platform::val("-0")));
}

TEST(Val, NumbersBeyondTheDoubleRangeOverflow)
{
    EXPECT_EQ(faultNumber([] { platform::val("1e400"); }), platform::fault::Overflow);
    EXPECT_EQ(faultNumber([] { platform::val("&H100000000"); }), platform::fault::Overflow);
}

struct NumericCase
{
    const char* text;
    bool expected;
};

TEST(IsNumeric, AcceptsOnlyOneWholeNumber)
{
    const NumericCase cases[] = {
        {"12", true},     {" 12 ", true},    {"-1.5", true},  {"+.5", true},    {"1.", true},
        {"1e3", true},    {"1D-2", true},    {"&HFF", true},  {"&O17", true},   {"", false},
        {"  ", false},    {"abc", false},    {"12abc", false}, {"1 2", false},  {"1e", false},
        {".", false},     {"-", false},      {"&H", false},   {"&O8", false},   {"1.2.3", false},
        {"1,000", false}, {"1e400", false},
    };
    for (const NumericCase& c : cases)
        EXPECT_EQ(platform::isNumeric(c.text), c.expected) << "IsNumeric(\"" << c.text << "\")";
}

struct RoundCase
{
    double value;
    int expected;
};

// CInt and CLng round to the nearest whole number, an exact half to the even neighbour.
TEST(IntegerConversion, RoundsHalvesToEven)
{
    const RoundCase cases[] = {
        {2.5, 2},   {3.5, 4},   {-2.5, -2}, {-3.5, -4}, {0.5, 0},   {1.5, 2},   {-0.5, 0},
        {2.4999999, 2}, {2.5000001, 3}, {-1.4, -1}, {-1.6, -2}, {0.49999999999999994, 0},
        {-0.49999999999999994, 0}, {7, 7}, {0, 0},
    };
    for (const RoundCase& c : cases) {
        EXPECT_EQ(platform::toInt16(c.value), c.expected) << "CInt(" << c.value << ")";
        EXPECT_EQ(platform::toInt32(c.value), c.expected) << "CLng(" << c.value << ")";
    }
}

TEST(IntegerConversion, SixteenBitBounds)
{
    EXPECT_EQ(platform::toInt16(32767.0), 32767);
    EXPECT_EQ(platform::toInt16(32767.4999), 32767);
    EXPECT_EQ(faultNumber([] { platform::toInt16(32767.5); }), 6);   // rounds to the even 32768
    EXPECT_EQ(platform::toInt16(32766.5), 32766);                    // even neighbour inside
    EXPECT_EQ(platform::toInt16(-32768.0), -32768);
    EXPECT_EQ(platform::toInt16(-32768.5), -32768);                  // the even neighbour is inside
    EXPECT_EQ(faultNumber([] { platform::toInt16(-32768.51); }), 6);
    EXPECT_EQ(faultNumber([] { platform::toInt16(-32769.5); }), 6);  // rounds to -32770
    EXPECT_EQ(faultNumber([] { platform::toInt16(1e10); }), 6);
    EXPECT_EQ(faultNumber([] { platform::toInt16(NAN); }), 6);
}

TEST(IntegerConversion, ThirtyTwoBitBounds)
{
    EXPECT_EQ(platform::toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(platform::toInt32(2147483646.5), 2147483646);
    EXPECT_EQ(faultNumber([] { platform::toInt32(2147483647.5); }), 6);
    EXPECT_EQ(platform::toInt32(-2147483648.0), INT32_MIN);
    EXPECT_EQ(platform::toInt32(-2147483648.5), INT32_MIN);
    EXPECT_EQ(faultNumber([] { platform::toInt32(-2147483649.0); }), 6);
    EXPECT_EQ(faultNumber([] { platform::toInt32(INFINITY); }), 6);
    EXPECT_EQ(platform::toInt32(40000.0), 40000); // beyond 16 bits is fine for CLng
}

TEST(IntFloor, GoesDownForNegatives)
{
    EXPECT_EQ(platform::intFloor(2.7), 2);
    EXPECT_EQ(platform::intFloor(-2.7), -3);
    EXPECT_EQ(platform::intFloor(-0.5), -1); // -30 minutes is hour -1 and 30 minutes
    EXPECT_EQ(platform::intFloor(-3.0), -3);
    EXPECT_EQ(platform::intFloor(0.9999999), 0);
}

TEST(Single, RoundsToSinglePrecision)
{
    // 0.1 as a float is 13421773 x 2^-27 = 0.100000001490116119384765625.
    EXPECT_EQ(platform::toSingle(0.1), 0.100000001490116119384765625);
    EXPECT_EQ(platform::toSingle(0.5), 0.5);
    // 16777217 = 2^24 + 1 lies halfway between two floats and goes to the even 2^24.
    EXPECT_EQ(platform::toSingle(16777217.0), 16777216.0);
    EXPECT_EQ(platform::toSingle(3.4e38), static_cast<double>(3.4e38f));
    EXPECT_EQ(faultNumber([] { platform::toSingle(1e39); }), 6);
}

TEST(Divide, ByZeroIsFaultElevenEvenForDoubles)
{
    EXPECT_EQ(platform::divide(7.0, 2.0), 3.5);
    EXPECT_EQ(platform::divide(-1.0, 4.0), -0.25);
    EXPECT_EQ(faultNumber([] { platform::divide(1.0, 0.0); }), 11);
    EXPECT_EQ(faultNumber([] { platform::divide(0.0, 0.0); }), 11);
    EXPECT_EQ(faultNumber([] { platform::divide(1.0, -0.0); }), 11);
    EXPECT_EQ(faultNumber([] { platform::divide(1e300, 1e-300); }), 6); // beyond the double range
}

TEST(CheckedIntegers, OverflowAtTheBounds)
{
    EXPECT_EQ(platform::multiply16(181, 181), 32761);
    EXPECT_EQ(faultNumber([] { platform::multiply16(182, 182); }), 6); // 33124 > 32767
    EXPECT_EQ(platform::multiply16(-128, 256), -32768);
    EXPECT_EQ(platform::multiply32(46340, 46340), 2147395600);
    EXPECT_EQ(faultNumber([] { platform::multiply32(46341, 46341); }), 6); // 2147488281
    EXPECT_EQ(platform::add32(2147483646, 1), 2147483647);
    EXPECT_EQ(faultNumber([] { platform::add32(2147483647, 1); }), 6);
    EXPECT_EQ(faultNumber([] { platform::add32(INT32_MIN, -1); }), 6);
}

struct StrCase
{
    double value;
    const char* expected;
};

TEST(Str, LeadingBlankForNumbersNotNegative)
{
    const StrCase cases[] = {
        {3159, " 3159"}, {0, " 0"}, {-7, "-7"}, {0.5, " .5"}, {-0.25, "-.25"}, {12.5, " 12.5"},
        {1e15, " 1E+15"}, {-1e-5, "-1E-05"},
    };
    for (const StrCase& c : cases)
        EXPECT_EQ(platform::str(c.value), c.expected);
}

TEST(TextHelpers, UpperCaseAndTrim)
{
    EXPECT_EQ(platform::upperCase("Pms 185 black"), "PMS 185 BLACK");
    EXPECT_EQ(platform::upperCase("caf\xc3\xa9"), "CAF\xc3\xa9"); // bytes past ASCII unchanged
    EXPECT_EQ(platform::trim("  Black  "), "Black");
    EXPECT_EQ(platform::trim("\tBlack "), "\tBlack"); // Trim removes spaces only
    EXPECT_EQ(platform::trim("   "), "");
}

// The windows take the user's locale at start-up; a decimal comma there must not change how numbers
// read or print.
TEST(Conversions, IndependentOfTheUsersLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
        if (!german && std::setlocale(LC_ALL, name))
            german = name;
    if (!german)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(platform::val("1.5"), 1.5);
    EXPECT_TRUE(platform::isNumeric("1.5"));
    EXPECT_EQ(platform::formatGeneral(1.5), "1.5");
    EXPECT_EQ(platform::format(1234.5, "$#,##0.00"), "$1,234.50");
    std::setlocale(LC_ALL, before.c_str());
}

} // namespace
