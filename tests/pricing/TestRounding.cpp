#include "pricing/Rounding.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

using pricing::RoundingDirection;
using pricing::RoundingStep;
using platform::Currency;

constexpr RoundingDirection Up = RoundingDirection::Up;
constexpr RoundingDirection Down = RoundingDirection::Down;
constexpr RoundingDirection Neither = RoundingDirection::Neither;
constexpr RoundingStep None = RoundingStep::None;
constexpr RoundingStep Quarter = RoundingStep::Quarter;
constexpr RoundingStep Dollar = RoundingStep::Dollar;

struct RoundCase
{
    const char* why;
    std::int64_t price; // ten-thousandths
    RoundingStep step;
    RoundingDirection direction;
    std::int64_t expected; // ten-thousandths
};

const RoundCase kRounding[] = {
    // The shop's own examples.
    {"12.10 up to the next quarter", 121000, Quarter, Up, 122500},
    {"12.10 down to the quarter below", 121000, Quarter, Down, 120000},
    {"12.00 up moves on a quarter: up is always strictly above", 120000, Quarter, Up, 122500},
    {"12.60 up to the next dollar", 126000, Dollar, Up, 130000},
    {"12.60 down to the dollar", 126000, Dollar, Down, 120000},
    {"none leaves 12.6049 as it is", 126049, None, Up, 126049},
    {"none with no direction", 126049, None, Neither, 126049},
    // Exact quarters: up goes to the next quarter, down to the one below.
    {"12.25 up", 122500, Quarter, Up, 125000},
    {"12.50 up", 125000, Quarter, Up, 127500},
    {"12.75 up", 127500, Quarter, Up, 130000},
    {"12.25 down to 12.00", 122500, Quarter, Down, 120000},
    {"12.50 down to 12.25", 125000, Quarter, Down, 122500},
    {"12.75 down to 12.50", 127500, Quarter, Down, 125000},
    {"12.00 down stays 12.00 (fraction 0 is not above a quarter)", 120000, Quarter, Down, 120000},
    // Just either side of a quarter, to the ten-thousandth.
    {"12.2499 up to 12.25", 122499, Quarter, Up, 122500},
    {"12.2501 up to 12.50", 122501, Quarter, Up, 125000},
    {"12.2501 down to 12.25", 122501, Quarter, Down, 122500},
    {"12.7501 down to 12.75", 127501, Quarter, Down, 127500},
    {"12.9999 up to 13.00", 129999, Quarter, Up, 130000},
    {"12.9999 down to 12.75", 129999, Quarter, Down, 127500},
    // Exact dollars.
    {"12.00 up to 13.00: a whole dollar moves on too", 120000, Dollar, Up, 130000},
    {"12.00 down stays", 120000, Dollar, Down, 120000},
    {"12.9999 down to 12.00", 129999, Dollar, Down, 120000},
    // Neither Up nor Down chosen (the window's start) rounds down.
    {"no direction rounds a quarter down", 121000, Quarter, Neither, 120000},
    {"no direction rounds a dollar down", 126000, Dollar, Neither, 120000},
    // An empty estimate (0) still rounds up to the first step.
    {"0 up a quarter gives 0.25", 0, Quarter, Up, 2500},
    {"0 up a dollar gives 1.00", 0, Dollar, Up, 10000},
    // A credit: whole = Int(-12.10) = -13, fraction 0.90.
    {"-12.10 up a quarter: -13 + 1.00", -121000, Quarter, Up, -120000},
    {"-12.10 down a quarter: -13 + 0.75", -121000, Quarter, Down, -122500},
};

class Rounding : public testing::TestWithParam<RoundCase>
{
};

TEST_P(Rounding, FollowsTheCounterSteps)
{
    const RoundCase& c = GetParam();
    const Currency got = pricing::roundPrice(Currency::fromTenThousandths(c.price), c.step, c.direction);
    EXPECT_EQ(got.tenThousandths(), c.expected) << c.why << "\n    price:    " << c.price
                                                << "\n    expected: " << c.expected
                                                << "\n    got:      " << got.tenThousandths();
}

INSTANTIATE_TEST_SUITE_P(Pricing, Rounding, testing::ValuesIn(kRounding));

struct TextCase
{
    const char* why;
    double price;
    const char* expected;
};

const TextCase kPriceTexts[] = {
    {"no thousands separator", 1234.5, "$1234.50"},
    {"a leading zero below a dollar", 0.5, "$0.50"},
    {"zero", 0, "$0.00"},
    {"12.6049 shows two decimals", 12.6049, "$12.60"},
    {"a half cent rounds away from zero", 12.605, "$12.61"},
    {"and so does the next one", 12.615, "$12.62"},
    {"large totals keep every digit", 123456.78, "$123456.78"},
};

class PriceText : public testing::TestWithParam<TextCase>
{
};

TEST_P(PriceText, ShowsDollarsAndCents)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(pricing::priceText(Currency::fromDouble(c.price)), c.expected) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Pricing, PriceText, testing::ValuesIn(kPriceTexts));

TEST(PriceLine, IsTheQuantityText27SpacesAndThePrice)
{
    EXPECT_EQ(pricing::priceLine("100", Currency::fromDouble(12.25)), "100                           $12.25");
    EXPECT_EQ(pricing::priceLine("1 000", Currency::fromDouble(1234.5)),
              "1 000" + std::string(27, ' ') + "$1234.50");
}

} // namespace
