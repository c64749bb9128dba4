#include <cmath>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "estimator/cPressCurves.h"
#include "platform/Fault.h"

namespace {

using estimator::cPressCurves;

// The modifier at the reference caliper: e^0 x (1 / sqrt(3.14159265358979)) x 1.77258
// = 1.77258 / 1.7724538509055 = 1.000071172.
constexpr double kReferenceModifier = 1.0000711720050823;

struct CurveCase
{
    const char* why;
    std::function<void(cPressCurves&)> setUp;
    double pe, modifier, ncp, speed, spoilage;
};

// The four published runs, to six decimals.
const CurveCase kWorkedRuns[] = {
    // a = atan(1000 / (1 x 1000 x 5)) = atan(0.2) = 0.197395560;
    // speed = (0.197395560 x 10 / 100 + 1) x 1.000071172 x 3000 = 3059.436399;
    // spoilage = (1 - 0.0197395560) x 5 / 1.000071172 = 4.900953.
    {"all defaults", [](cPressCurves&) {}, 1, kReferenceModifier, 1000, 3059.436399, 4.900953},
    // PE = 0.008 / 0.004 = 2; modifier = e^-0.5 x 1.000071172 = 0.606574;
    // curve speed (1 + 0.1 x atan(0.5)) x 0.606574 x 3000 = 1904.09, raised to PressMin 3000;
    // spoilage = (1 - 0.1 x 0.463648) x 5 / 0.606574 = 7.860834.
    {"thick stock on a long run",
     [](cPressCurves& c) {
         c.Caliper(0.008);
         c.Ordered(10000);
         c.NumUp(4);
     },
     2, 0.606573827715829, 10000, 3000, 7.860834},
    // modifier exactly 1; curve speed (1 + 0.1 x atan(2.5 / 5)) x 3000 = 3139.09;
    // Int(80 x 3139.09 / 100 + 0.5) = 2511, raised to PressMin 3000;
    // spoilage = (1 - 0.1 x 0.463648) x 5 x 100 / 80 = 5.960220.
    {"stock press efficiency of 80 per cent",
     [](cPressCurves& c) {
         c.UseStockPressFile(true);
         c.StockPressEfficiency(80);
         c.Ordered(5000);
         c.NumUp(2);
     },
     1, 1, 5000, 3000, 5.960220},
    // speed doubles (10 / 5); spoilage is not scaled above a rating of 9.
    {"difficulty 10", [](cPressCurves& c) { c.Difficulty(10); }, 1, kReferenceModifier, 1000, 6118.872797,
     4.900953},
};

class WorkedRuns : public testing::TestWithParam<CurveCase>
{
};

TEST_P(WorkedRuns, MatchToSixDecimals)
{
    const CurveCase& c = GetParam();
    cPressCurves curves;
    c.setUp(curves);
    SCOPED_TRACE(c.why);
    EXPECT_NEAR(curves.PE(), c.pe, 5e-7);
    EXPECT_NEAR(curves.PerformanceModifier(), c.modifier, 5e-7);
    EXPECT_NEAR(curves.NCP(), c.ncp, 5e-7);
    EXPECT_NEAR(curves.Speed(), c.speed, 5e-7);
    EXPECT_NEAR(curves.Spoilage(), c.spoilage, 5e-7);
}

INSTANTIATE_TEST_SUITE_P(PressCurves, WorkedRuns, testing::ValuesIn(kWorkedRuns));

TEST(PressCurves, DefaultsAreTheNeutralPress)
{
    const cPressCurves c;
    EXPECT_EQ(c.NumUp(), 1);
    EXPECT_EQ(c.NumOn(), 1);
    EXPECT_EQ(c.NumParts(), 1);
    EXPECT_EQ(c.Ordered(), 1000);
    EXPECT_EQ(c.Caliper(), 0.004);
    EXPECT_EQ(c.Difficulty(), 5);
    EXPECT_EQ(c.PressMin(), 3000);
    EXPECT_EQ(c.PressMax(), 7000);
    EXPECT_EQ(c.PressEfficiency(), 10);
    EXPECT_EQ(c.PressKFactor(), 5);
    EXPECT_EQ(c.SpoilEfficiency(), 10);
    EXPECT_EQ(c.SpoilKFactor(), 5);
    EXPECT_EQ(c.MinSpoil(), 0.5);
    EXPECT_EQ(c.MaxSpoil(), 5);
    EXPECT_EQ(c.StockPressEfficiency(), 100);
    EXPECT_FALSE(c.UseStockPressFile());
    EXPECT_EQ(c.CurveType(), 0);
}

// PE is a factor of at least 1 however far the caliper is from the reference, on either side.
struct CaliperCase
{
    double caliper;
    double pe;
};
const CaliperCase kCalipers[] = {
    {0.004, 1},   // the reference itself
    {0.002, 2},   // half as thick: 0.004 / 0.002
    {0.008, 2},   // twice as thick
    {0.012, 3},   // 0.012 / 0.004
    {0.0, 1},     // no caliper on the order
    {-0.004, 1},  // a negative entry: 0.004 / -0.004 = -1, not at least 1
    {0.0041, 1.025}, // just above the reference
};

TEST(PressCurves, CaliperRatioIsAtLeastOne)
{
    for (const CaliperCase& c : kCalipers) {
        cPressCurves curves;
        curves.Caliper(c.caliper);
        EXPECT_NEAR(curves.PE(), c.pe, 1e-12) << "caliper " << c.caliper;
    }
}

TEST(PressCurves, ModifierFallsAwayFromTheReferenceCaliper)
{
    cPressCurves curves;
    curves.Caliper(0);
    EXPECT_NEAR(curves.PerformanceModifier(), kReferenceModifier, 1e-12); // not exactly 1
    curves.Caliper(0.012); // PE 3: e^-2 x 1.000071172 = 0.1353449153
    EXPECT_NEAR(curves.PerformanceModifier(), 0.1353449153, 1e-9);
}

TEST(PressCurves, ZeroNumberUpLeavesOnlyTheClamps)
{
    cPressCurves curves;
    curves.NumUp(0);
    // No curve: the speed is PressMin scaled by difficulty 5 / 5, the spoilage the MinSpoil floor.
    EXPECT_EQ(curves.Speed(), 3000);
    EXPECT_EQ(curves.Spoilage(), 0.5);
    curves.Difficulty(7.5); // 7.5 x 3000 / 5
    EXPECT_EQ(curves.Speed(), 4500);
}

TEST(PressCurves, NegativeNumberUpIsReadAsItsSize)
{
    cPressCurves up, down;
    up.NumUp(2);
    down.NumUp(-2);
    EXPECT_EQ(down.Speed(), up.Speed());
    EXPECT_EQ(down.Spoilage(), up.Spoilage());
}

TEST(PressCurves, DifficultyZeroStopsThePressButNotTheSpoilage)
{
    cPressCurves curves;
    curves.Difficulty(0);
    EXPECT_EQ(curves.Speed(), 0);
    EXPECT_NEAR(curves.Spoilage(), 4.900953, 5e-7); // not scaled by 5 / 0
}

TEST(PressCurves, DifficultyScalesSpoilageUpToNine)
{
    cPressCurves curves;
    curves.Difficulty(9); // 4.900953 x 5 / 9
    EXPECT_NEAR(curves.Spoilage(), 4.900953409394098 * 5 / 9, 1e-12);
    curves.Difficulty(2.5); // 5 / 2.5 doubles the allowance
    EXPECT_NEAR(curves.Spoilage(), 4.900953409394098 * 2, 1e-12);
}

TEST(PressCurves, StockEfficiencyOfZeroIsIgnored)
{
    cPressCurves plain, zero;
    zero.UseStockPressFile(true);
    zero.StockPressEfficiency(0);
    EXPECT_EQ(zero.PerformanceModifier(), plain.PerformanceModifier());
    EXPECT_EQ(zero.Speed(), plain.Speed());
    EXPECT_EQ(zero.Spoilage(), plain.Spoilage());
}

TEST(PressCurves, StockEfficiencyRoundsTheSpeedHalfUp)
{
    // A flat curve (PressKFactor so large that atan gives 0) prices at PressMin 3001 exactly.
    cPressCurves curves;
    curves.UseStockPressFile(true);
    curves.PressKFactor(1e300);
    curves.PressMin(3001);
    curves.PressMax(10000);
    curves.StockPressEfficiency(250); // 250 x 3001 / 100 = 7502.5: Int(7503.0) = 7503, not the even 7502
    EXPECT_EQ(curves.Speed(), 7503);
    curves.StockPressEfficiency(149.9); // 4498.499 + 0.5 = 4498.999 -> 4498
    EXPECT_EQ(curves.Speed(), 4498);
}

TEST(PressCurves, UpperClampComesBeforeTheLower)
{
    cPressCurves curves;
    curves.PressMin(5000);
    curves.PressMax(4000); // inverted range: PressMin wins
    EXPECT_EQ(curves.Speed(), 5000);
}

TEST(PressCurves, LongRunsReachPressMaxBeforeDifficulty)
{
    cPressCurves curves;
    curves.PressEfficiency(200); // (1 + 2 x atan(0.2)) x 1.000071 x 3000 = 4184.6: under the max
    EXPECT_NEAR(curves.Speed(), (0.19739555984988078 * 2 + 1) * kReferenceModifier * 3000, 1e-9);
    curves.PressMax(4000);
    EXPECT_EQ(curves.Speed(), 4000);
    curves.Difficulty(10); // difficulty after the clamp: may go beyond PressMax
    EXPECT_EQ(curves.Speed(), 8000);
}

TEST(PressCurves, SpoilageHasNoUpperClamp)
{
    cPressCurves curves;
    curves.Caliper(0.016); // PE 4: modifier e^-4.5 x 1.000071 = 0.011110; spoilage ~ 441
    EXPECT_GT(curves.Spoilage(), curves.MaxSpoil());
    EXPECT_NEAR(curves.Spoilage(), (1 - 0.019739555984988078) * 5 / (std::exp(-4.5) * kReferenceModifier), 1e-9);
}

TEST(PressCurves, ZeroSpoilFactorGivesTheFloor)
{
    cPressCurves curves;
    curves.SpoilKFactor(0);
    EXPECT_EQ(curves.Spoilage(), 0.5);
    curves.MinSpoil(0);
    EXPECT_EQ(curves.Spoilage(), 0);
}

TEST(PressCurves, RunLengthMultipliesPartsOrderedAndOn)
{
    cPressCurves curves;
    curves.NumParts(3);
    curves.Ordered(2500);
    curves.NumOn(2);
    EXPECT_EQ(curves.NCP(), 15000);
}

TEST(PressCurves, CurveTypeChangesNothing)
{
    cPressCurves plain, typed;
    typed.CurveType(3);
    EXPECT_EQ(typed.CurveType(), 3);
    EXPECT_EQ(typed.Speed(), plain.Speed());
    EXPECT_EQ(typed.Spoilage(), plain.Spoilage());
    EXPECT_EQ(typed.PE(), plain.PE());
}

TEST(PressCurves, ReadingAnOutputLeavesTheInputs)
{
    cPressCurves curves;
    curves.Caliper(-1);
    curves.NumUp(-3);
    (void)curves.Speed();
    (void)curves.Spoilage();
    EXPECT_EQ(curves.Caliper(), -1);
    EXPECT_EQ(curves.NumUp(), -3);
}

TEST(PressCurves, ArithmeticOverflowIsAFaultOfTheRead)
{
    using testing::Property;
    using testing::Throws;
    cPressCurves curves;
    curves.Ordered(1e308);
    curves.NumParts(10);
    EXPECT_THAT([&] { (void)curves.NCP(); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::Overflow)));
}

} // namespace
