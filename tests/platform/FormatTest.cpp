#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Format.h"
#include "tests/support/Faults.h"

namespace {

using platform::Currency;
using platform::format;
using platform::formatGeneral;

using testsupport::faultNumber;

struct PatternCase
{
    double value;
    const char* pattern;
    const char* expected;
};

// Digits past the last one shown round half away from zero, on the number's 15 significant digits.
TEST(FormatNumber, Patterns)
{
    const PatternCase cases[] = {
        // stock numbers and hours of the hours-and-minutes text
        {12, "0000", "0012"},
        {12345, "0000", "12345"},        // more digits than zeros: all shown
        {0, "0000", "0000"},
        {12.5, "0000", "0013"},          // half away from zero, not to even
        {11.5, "0000", "0012"},
        {-12, "0000", "-0012"},
        {5, "000", "005"},
        {-1, "000", "-001"},             // -30 minutes: hours -1 shown as -001
        {5, "00", "05"},
        {59.5, "00", "60"},
        {0.4, "00", "00"},
        // caliper
        {0.0045, "0.0000", "0.0045"},
        {0.00455, "0.0000", "0.0046"},   // 15 digits 0.00455000000000000: the 5 rounds up
        {0.012345, "0.0000", "0.0123"},
        {1.23456, "0.0000", "1.2346"},
        {0.30000000000000004, "0.0000", "0.3000"},
        {1e-20, "0.0000", "0.0000"},
        // list prices
        {1234.5, "$##0.00", "$1234.50"},
        {0.5, "$##0.00", "$0.50"},
        {0, "$##0.00", "$0.00"},
        {2.675, "$##0.00", "$2.68"},     // binary 2.67499999999999982236431605997495353221893310546875,
                                         // but its 15 digits are 2.67500000000000: rounds up
        {1.005, "$##0.00", "$1.01"},     // likewise 1.00499999999999989...
        {-12.5, "$##0.00", "-$12.50"},   // the sign goes before the dollar sign
        {1e15, "$##0.00", "$1000000000000000.00"},
        // printed prices
        {1234.5, "$#,##0.00", "$1,234.50"},
        {1234567.891, "$#,##0.00", "$1,234,567.89"},
        {999.995, "$#,##0.00", "$1,000.00"}, // the carry runs into a new group
        {12, "$#,##0.00", "$12.00"},
        {0.004, "$#,##0.00", "$0.00"},
        {-1234.5, "$#,##0.00", "-$1,234.50"},
        {-0.004, "$#,##0.00", "$0.00"},  // shows as zero: no minus sign
        // printed quantities
        {1000, "  #,###,##0", "  1,000"},
        {250, "  #,###,##0", "  250"},
        {1234567, "  #,###,##0", "  1,234,567"},
        {0, "  #,###,##0", "  0"},
        {1e9, "  #,###,##0", "  1,000,000,000"},
        {999.5, "  #,###,##0", "  1,000"},
        {-2500, "  #,###,##0", "-  2,500"},
        // very large values keep their 15 digits and pad with zeros
        {1.5e20, "0000", "150000000000000000000"},
        {123456789012345678.0, "0000", "123456789012346000"},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(format(c.value, c.pattern), c.expected) << "Format(" << c.value << ", \"" << c.pattern << "\")";
}

struct CurrencyPatternCase
{
    std::int64_t units;
    const char* pattern;
    const char* expected;
};

// A currency amount is exact to four decimals, so halves at the cent are true halves.
TEST(FormatNumber, CurrencyIsExact)
{
    const CurrencyPatternCase cases[] = {
        {126050, "$##0.00", "$12.61"},   // 12.6050: half away from zero
        {126150, "$##0.00", "$12.62"},   // 12.6150
        {126250, "$##0.00", "$12.63"},
        {126049, "$##0.00", "$12.60"},
        {-126050, "$##0.00", "-$12.61"},
        {12345000, "$#,##0.00", "$1,234.50"},
        {126050, "0000", "0013"},
        {50, "$#,##0.00", "$0.01"},      // 0.0050
        {-49, "$#,##0.00", "$0.00"},
        {INT64_MAX, "$#,##0.00", "$922,337,203,685,477.58"}, // 922337203685477.5807
        {INT64_MIN, "$#,##0.00", "-$922,337,203,685,477.58"},
    };
    for (const CurrencyPatternCase& c : cases)
        EXPECT_EQ(format(Currency::fromTenThousandths(c.units), c.pattern), c.expected) << c.units;
}

TEST(FormatNumber, UnknownPatternIsFaultFive)
{
    for (const char* pattern : {"", "$", "0.00%", "#.##", "abc", "0.0a"})
        EXPECT_EQ(faultNumber([&] { format(1.0, pattern); }), 5) << pattern;
    EXPECT_EQ(faultNumber([] { format(Currency(), "x"); }), 5);
}

TEST(FormatNumber, NonFiniteIsOverflow)
{
    EXPECT_EQ(faultNumber([] { format(1.0 / 0.0 * 1.0, "0000"); }), 6);
}

struct GeneralCase
{
    double value;
    const char* expected;
};

// Up to 15 significant digits, no trailing zeros; E notation from 1E+15 up and below 0.0001.
TEST(FormatGeneral, FifteenDigitsAndENotation)
{
    const GeneralCase cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1, "-1"},
        {100, "100"},
        {0.5, "0.5"},
        {123.456, "123.456"},
        {12.605, "12.605"},
        {0.1 + 0.2, "0.3"},                      // 0.30000000000000004 to 15 digits
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {1e14, "100000000000000"},
        {123456789012345, "123456789012345"},   // 15 digits: still plain
        {1e15, "1E+15"},
        {1234567890123456, "1.23456789012346E+15"},
        {999999999999999.9, "1E+15"},           // rounds up to 16 digits' worth
        {1.5e20, "1.5E+20"},
        {1e100, "1E+100"},
        {0.0001, "0.0001"},
        {0.00012, "0.00012"},
        {1e-5, "1E-05"},
        {-2.5e-7, "-2.5E-07"},
        {1e-300, "1E-300"},
    };
    for (const GeneralCase& c : cases)
        EXPECT_EQ(formatGeneral(c.value), c.expected);
}

} // namespace
