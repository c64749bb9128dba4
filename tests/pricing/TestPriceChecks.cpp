// The checks of a priced list as a whole, on made-up lists whose findings are worked out by hand: each kind
// where it must speak and where it must keep quiet.
#include "pricing/PriceChecks.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

using pricing::CheckKind;
using pricing::PriceCheck;
using pricing::PricePoint;

// Quantity and price in cents.
std::vector<PricePoint> list(std::initializer_list<std::pair<std::int32_t, std::int64_t>> prices)
{
    std::vector<PricePoint> points;
    for (const auto& [quantity, cents] : prices)
        points.push_back({quantity, platform::Currency::fromTenThousandths(cents * 100)});
    return points;
}

struct CheckCase
{
    const char* why;
    std::vector<PricePoint> prices;
    std::vector<PriceCheck> expected;
};

const CheckCase kChecks[] = {
    {"every quantity the same price",
     list({{100, 5000}, {200, 5000}, {300, 5000}, {400, 5000}}),
     {{CheckKind::SamePrice, {100, 200, 300, 400}, "Every quantity from 100 to 400 has the same price, $50.00."}}},
    {"a cent apart is not the same price (and three prices have no usual rise)",
     list({{100, 5000}, {200, 5000}, {300, 5001}}),
     {}},
    {"one quantity has nothing to compare", list({{100, 5000}}), {}},
    // Each is below the dearest smaller quantity, $50.00 at 100, not only below its neighbour. The rises are
    // -$10 and then nothing: the usual rise is nothing, and nothing rises at all.
    {"larger quantities cheaper than a smaller one",
     list({{100, 5000}, {200, 4000}, {300, 4000}, {400, 4000}, {500, 4000}, {600, 4000}, {700, 4000}}),
     {{CheckKind::LowerPrice, {200, 300, 400, 500, 600, 700},
       "200 costs less than 100: $40.00 against $50.00. Also at 300, 400, 500 and 2 more."}}},
    {"the same price at a larger quantity is not lower, nor dearer a piece",
     list({{100, 2000}, {200, 3000}, {300, 3000}, {400, 4000}}),
     {}},
    // $0.0667, $0.0625, $0.0596, $0.0613 each. The rises a piece: 0.05, 0.0364, 0.0766; the usual 0.05, so
    // the $38.30 to 5,000 is well within 3 x $25.00.
    {"dearer per piece at 5,000 than at 4,500",
     list({{3000, 20000}, {4000, 25000}, {4500, 26820}, {5000, 30650}}),
     {{CheckKind::DearerPerPiece, {5000}, "5,000 costs more per piece than 4,500: $0.0613 against $0.0596 each."}}},
    // $119.21 / 2,000 = $0.059605, which shows as $0.0596 like $59.60 / 1,000.
    {"per piece compared as shown, to a hundredth of a cent", list({{1000, 5960}, {2000, 11921}}), {}},
    // $2,000 + $0.10 a piece, and a second press run of $250 from 5,000: the usual rise is $100 a thousand,
    // the $350 to 5,000 is more than 3 times it. A piece still costs less at every larger quantity.
    {"a big step",
     list({{1000, 210000}, {2000, 220000}, {3000, 230000}, {4000, 240000}, {5000, 275000}, {6000, 285000},
           {7000, 295000}}),
     {{CheckKind::BigStep, {5000}, "The price jumps $350.00 from 4,000 to 5,000, more than 3 times the usual rise."}}},
    // $50 + $0.05 a piece: $1.25 a step of 25, $5.00 a step of 100, $25.00 a step of 500; the same a piece.
    {"steps of 25, 100 and 500 pieces are no jumps",
     list({{100, 5500}, {125, 5625}, {150, 5750}, {200, 6000}, {300, 6500}, {400, 7000}, {500, 7500}, {1000, 10000},
           {1500, 12500}, {2000, 15000}}),
     {}},
    // $10 + $0.004 a piece rounded down to the dollar: rises of $0 and $1, the usual one $0.
    {"rounding to the dollar alone is no jump",
     list({{100, 1000}, {200, 1000}, {300, 1100}, {400, 1100}, {500, 1200}, {600, 1200}, {700, 1200}, {800, 1300},
           {900, 1300}, {1000, 1400}}),
     {}},
};

class PriceChecks : public testing::TestWithParam<CheckCase>
{
};

TEST_P(PriceChecks, FindWhatIsWorthASecondLook)
{
    EXPECT_EQ(pricing::checkPrices(GetParam().prices), GetParam().expected) << GetParam().why;
    // The order the prices come in does not matter.
    std::vector<PricePoint> reversed(GetParam().prices.rbegin(), GetParam().prices.rend());
    EXPECT_EQ(pricing::checkPrices(reversed), GetParam().expected) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(MadeUpLists, PriceChecks, testing::ValuesIn(kChecks));

// A list longer than the checks hold is kept no further, and not checked.
TEST(PriceListChecks, AListTooLongIsNotChecked)
{
    pricing::PriceListChecks checks;
    for (std::int32_t quantity = 1; quantity <= 1000001; ++quantity)
        checks.add(quantity, platform::Currency::fromTenThousandths(50000));
    EXPECT_TRUE(checks.tooLong());
    EXPECT_TRUE(checks.prices().empty());
    EXPECT_TRUE(checks.checks().empty());
    EXPECT_EQ(pricing::notCheckedText(), "The prices were not checked: the list has more than 1,000,000 quantities.");
}

} // namespace
