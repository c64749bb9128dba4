#include <cmath>
#include <cstdint>
#include <random>

#include <gtest/gtest.h>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "tests/support/Faults.h"

namespace {

using platform::Currency;

using testsupport::faultNumber;

Currency units(std::int64_t n)
{
    return Currency::fromTenThousandths(n);
}

struct CurrencyCase
{
    double value;
    std::int64_t units; // ten-thousandths
};

// A double becomes a count of ten-thousandths, rounding on the double's exact binary value: only a
// true half goes to the even neighbour. Exact products worked out from the doubles' binary values.
TEST(Currency, FromDoubleRoundsHalfToEvenOnTheExactValue)
{
    const CurrencyCase cases[] = {
        {12.605, 126050},  // 126050.0000000000043 units
        {12.615, 126150},  // 126150.0000000000021
        {0.03125, 312},    // 1/32: exactly 312.5 units, a true half: even 312
        {0.09375, 938},    // 3/32: exactly 937.5 units: even 938
        {1.03125, 10312},  // exactly 10312.5: even 10312
        {-0.03125, -312},
        {-0.09375, -938},
        {0.00025, 3},      // 2.5000000000000000520 units: just above the half, although 0.00025 * 10000
                           // rounds to exactly 2.5 in double arithmetic
        {0.00125, 13},     // 12.500000000000000260
        {1.23455, 12346},  // 12345.500000000000362
        {0.00015, 1},      // 1.4999999999999998686: below the half
        {0.00005, 1},      // 0.50000000000000002396
        {-0.00005, -1},
        {0.000075, 1},     // 0.74999999999999993430
        {0.000025, 0},     // 0.25000000000000001198
        {0.0, 0},
        {-0.0, 0},
        {1.5, 15000},
        {-12.345, -123450},
    };
    for (const CurrencyCase& c : cases)
        EXPECT_EQ(Currency::fromDouble(c.value).tenThousandths(), c.units) << c.value;
}

// The same rule over many prices: the exact product in extended precision (a double times 10000 needs
// at most 63 significant bits, so it is exact there) rounded half to even.
TEST(Currency, FromDoubleAgreesWithExactProductOverManyPrices)
{
    if (sizeof(long double) < 10)
        GTEST_SKIP() << "needs an extended long double";
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<std::int64_t> cents(-10000000, 10000000);
    for (int i = 0; i < 200000; ++i) {
        // Prices with five decimals put many values near a half ten-thousandth.
        const double value = static_cast<double>(cents(random)) / 100000.0;
        const long double exact = static_cast<long double>(value) * 10000.0L;
        const auto expected = static_cast<std::int64_t>(std::nearbyintl(exact));
        ASSERT_EQ(Currency::fromDouble(value).tenThousandths(), expected) << value;
    }
}

TEST(Currency, OutOfRangeIsOverflow)
{
    EXPECT_EQ(faultNumber([] { Currency::fromDouble(1e15); }), 6);
    EXPECT_EQ(faultNumber([] { Currency::fromDouble(-1e15); }), 6);
    EXPECT_EQ(faultNumber([] { Currency::fromDouble(NAN); }), 6);
    EXPECT_EQ(faultNumber([] { Currency::fromDouble(INFINITY); }), 6);
    // 922337203685477 dollars is 9223372036854770000 units, inside the 64-bit range.
    EXPECT_EQ(Currency::fromDouble(922337203685477.0).tenThousandths(), 9223372036854770000);
}

TEST(Currency, ToDouble)
{
    EXPECT_EQ(units(126050).toDouble(), 12.605);
    EXPECT_EQ(units(-5).toDouble(), -0.0005);
}

TEST(Currency, ArithmeticIsExact)
{
    // 0.1 + 0.2 in doubles is 0.30000000000000004; in ten-thousandths 1000 + 2000 = 3000.
    EXPECT_EQ(Currency::fromDouble(0.1) + Currency::fromDouble(0.2), units(3000));
    EXPECT_EQ(units(125000) - units(2500), units(122500)); // 12.50 - 0.25 = 12.25
    EXPECT_EQ(-units(7), units(-7));
    EXPECT_LT(units(122500), units(122501));
    EXPECT_GT(units(0), units(-1));
    EXPECT_EQ(faultNumber([] { units(INT64_MAX) + units(1); }), 6);
    EXPECT_EQ(faultNumber([] { units(INT64_MIN) - units(1); }), 6);
    EXPECT_EQ(faultNumber([] { -units(INT64_MIN); }), 6);
}

TEST(Currency, WholeFloorGoesDown)
{
    EXPECT_EQ(units(127500).wholeFloor(), units(120000));   // 12.75 -> 12
    EXPECT_EQ(units(120000).wholeFloor(), units(120000));   // 12.00 stays
    EXPECT_EQ(units(-122500).wholeFloor(), units(-130000)); // -12.25 -> -13
    EXPECT_EQ(units(-1).wholeFloor(), units(-10000));
    EXPECT_EQ(faultNumber([] { units(INT64_MIN).wholeFloor(); }), 6);
}

} // namespace
