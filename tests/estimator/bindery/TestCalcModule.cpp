#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "tests/estimator/bindery/BinderyShop.h"

using estimator::EstimatorProbe;
using testsupport::TestDatabase;

namespace bindery_test {
namespace {

constexpr double kCent = 1e-6;

// A guillotine cut at the finished size, tuned like the press curves' neutral case (efficiencies 10,
// k-factors 5, 3000 to 7000 an hour, spoilage 0.5 to 5 per cent), so the curves give their worked figures
// for 1000 pieces one up: speed 3059.436399 and spoilage 4.900953409.
TEST_F(BinderyTest, CutterAtNeutralCurveFiguresCostsSetupRunAndWaste)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "Guillotine cutter") + selectionSql(10, 1) + R"sql(
UPDATE BINDERIES SET MINSPEED = 3000, MAXSPEED = 7000, MINSPOILAGE = 0.5, MAXSPOILAGE = 5,
    SETUPTIME = 30, COSTPERHR = 60, ADDLSETUPTIME = 10, FIXEDWASTE = 20;
UPDATE BINDERYSELECTIONS SET SPEEDEFFICIENCY = 10, SPEEDKFACTOR = 5, SPOILEFFICIENCY = 10, SPOILKFACTOR = 5;
)sql"));
    auto engine = openEstimator(shop);

    EXPECT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    const auto& work = EstimatorProbe::work(*engine);
    EXPECT_EQ(work[2], 1);                                 // finished size: one piece at a time
    EXPECT_EQ(EstimatorProbe::speed(*engine), 3059);      // 3059.436399 rounded
    EXPECT_NEAR(EstimatorProbe::spoilage(*engine), 4.900953409, 1e-8);
    EXPECT_DOUBLE_EQ(work[7], 30);                         // 30 min / 60 x 60 an hour
    EXPECT_DOUBLE_EQ(work[5], 30);                         // ((1 - 1) x 10 + 30) x 60 / 60
    // Run: (1000 pieces + 69.00953 waste) x 60 / 3059, where waste = 4.900953 x 1000 / 100 + 20 fixed.
    EXPECT_NEAR(EstimatorProbe::runCost(*engine), 20.967823487, kCent);
    // Waste in press sheets: 69.00953 x 1 / 4 up.
    EXPECT_NEAR(EstimatorProbe::waste(*engine), 17.252383523, kCent);
    EXPECT_NEAR(EstimatorProbe::operationCost(*engine), 50.967823487, kCent); // 30 + 20.967823
}

TEST_F(BinderyTest, MissingSelectionIsReportedByItsNumber)
{
    TestDatabase shop(shopSql());
    auto engine = openEstimator(shop);
    EXPECT_EQ(EstimatorProbe::calcModule(*engine, 999),
              "Specified Bindery Operation (rec # 999) could not be found.");
}

// The selection's own settings are taken before the bindery is looked up, so they are there even when
// the bindery is gone: difficulty 0 reads as 5 and no percentage of run as the whole run.
TEST_F(BinderyTest, MissingBinderyIsReportedAfterTheSelectionIsRead)
{
    TestDatabase shop(shopSql(selectionSql(10, 77) + R"sql(
UPDATE BINDERYSELECTIONS SET SHEETSIZE = 2, DIFFICULTY = 0, RUNS = 2, SETUPS = 3, PCTOFRUN = 0;
)sql"));
    auto engine = openEstimator(shop);

    EXPECT_EQ(EstimatorProbe::calcModule(*engine, 10), "Specified Bindery (rec # 77) could not be found.");
    EXPECT_EQ(EstimatorProbe::sheetSizeCode(*engine), 2);
    EXPECT_EQ(EstimatorProbe::sheetWidth(*engine), 17); // the 17 x 22 press sheet
    EXPECT_EQ(EstimatorProbe::sheetLength(*engine), 22);
    EXPECT_EQ(EstimatorProbe::work(*engine)[2], 4); // 4 up
    EXPECT_EQ(EstimatorProbe::difficulty(*engine), 5);
    EXPECT_EQ(EstimatorProbe::runs(*engine), 2);
    EXPECT_EQ(EstimatorProbe::setups(*engine), 3);
    EXPECT_EQ(EstimatorProbe::work(*engine)[0], 1);
}

struct SheetCase
{
    const char* why;
    const char* orderUpdate;
    int sheetSize;
    double width, length, numberUp;
};

void PrintTo(const SheetCase& c, std::ostream* os) { *os << c.why; }

const SheetCase kSheets[] = {
    {"finished size", "", 0, 8.5, 11, 1},
    {"bleed size without a bleed falls back to the finished size", "", 1, 8.5, 11, 1},
    {"bleed size", "UPDATE ORDERS SET PRESSBLEEDSIZE = '8.75 X 11.25';", 1, 8.75, 11.25, 1},
    {"press sheet carries the number up", "", 2, 17, 22, 4},
    {"parent sheet carries 2 press sheets of 4 up", "", 3, 22, 34, 8},
    {"parent sheet of a 1-up job carries the press sheets alone", "UPDATE ORDERS SET PRESSNUMUPPRESSSHT = 1;", 3,
     22, 34, 2},
    {"parent sheet that is the press sheet is worked as finished pieces",
     "UPDATE ORDERS SET PRESSNUMUPPARENTSHT = 1;", 3, 8.5, 11, 1},
};

class SheetSizes : public BinderyTest, public testing::WithParamInterface<SheetCase>
{
};

TEST_P(SheetSizes, ChooseTheSheetAndHowManyPiecesItCarries)
{
    const SheetCase& c = GetParam();
    TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + selectionSql(10, 1) + c.orderUpdate +
                              "UPDATE BINDERYSELECTIONS SET SHEETSIZE = " + std::to_string(c.sheetSize) + ";"));
    auto engine = openEstimator(shop);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    EXPECT_EQ(EstimatorProbe::sheetWidth(*engine), c.width) << c.why;
    EXPECT_EQ(EstimatorProbe::sheetLength(*engine), c.length) << c.why;
    EXPECT_EQ(EstimatorProbe::work(*engine)[2], c.numberUp) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, SheetSizes, testing::ValuesIn(kSheets));

// An unknown sheet-size code works on the sheet of the operation before it, one piece at a time.
TEST_F(BinderyTest, UnknownSheetSizeKeepsThePreviousOperationsSheet)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + selectionSql(10, 1) + selectionSql(11, 1) + R"sql(
UPDATE BINDERYSELECTIONS SET SHEETSIZE = 2 WHERE BINDERYSELECTIONID = 10;
UPDATE BINDERYSELECTIONS SET SHEETSIZE = 7 WHERE BINDERYSELECTIONID = 11;
)sql"));
    auto engine = openEstimator(shop);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 11), "");
    EXPECT_EQ(EstimatorProbe::sheetWidth(*engine), 17);
    EXPECT_EQ(EstimatorProbe::sheetLength(*engine), 22);
    EXPECT_EQ(EstimatorProbe::work(*engine)[2], 1);
}

struct SpeedCase
{
    const char* why;
    const char* updates;
    const char* stockIdText;
    std::int32_t speed;
    double caliper;
};

void PrintTo(const SpeedCase& c, std::ostream* os) { *os << c.why; }

// The cutter runs at exactly 1000 an hour before these adjustments.
const SpeedCase kSpeeds[] = {
    {"double caliper halves a thickness-rated speed: 1000 x 0.004 / 0.008",
     "UPDATE BINDERIES SET THICKNESSFLAG = 1; UPDATE ORDERS SET STOCKCALIPER = 0.008;", "", 500, 0.008},
    {"no caliper is taken as the reference one and leaves the speed",
     "UPDATE BINDERIES SET THICKNESSFLAG = 1; UPDATE ORDERS SET STOCKCALIPER = 0;", "", 1000, 0.004},
    {"a multiple-signature binder ignores thickness here",
     "UPDATE BINDERIES SET THICKNESSFLAG = 1, MULTIBINDERFILEFLAG = 1, SETUPTIME = 0;"
     "UPDATE ORDERS SET STOCKCALIPER = 0.008;",
     "", 1000, 0.008},
    {"an 11-inch sheet keeps a length-rated speed", "UPDATE BINDERIES SET LENGTHFLAG = 1;", "", 1000, 0.004},
    {"a 17-inch sheet runs at 11/17: 11000 / 17 = 647.06",
     "UPDATE BINDERIES SET LENGTHFLAG = 1; UPDATE ORDERS SET PRESSFINISHEDSIZE = '11 X 17';", "", 647, 0.004},
    {"book press sheet 9 up: 1000 x 11 x 3 / 22 inches high",
     "UPDATE BINDERIES SET LENGTHFLAG = 1; UPDATE BINDERYSELECTIONS SET SHEETSIZE = 2;"
     "UPDATE ORDERS SET PRODUCTIONTYPE = 1, PRESSNUMUPPRESSSHT = 9;",
     "", 1500, 0.004},
    {"book press sheet 2 up: 1000 x 11 / 17 inches wide",
     "UPDATE BINDERIES SET LENGTHFLAG = 1; UPDATE BINDERYSELECTIONS SET SHEETSIZE = 2;"
     "UPDATE ORDERS SET PRODUCTIONTYPE = 1, PRESSNUMUPPRESSSHT = 2;",
     "", 647, 0.004},
    {"stock bindery efficiency 80 per cent of a chosen stock: 0.8 x 1000",
     "UPDATE BINDERIES SET STOCKFLAG = 1; UPDATE ORDERS SET STOCKID = 12;"
     "INSERT INTO STOCK (STOCKID, BINDEFFPERC) VALUES (12, 80);",
     "0012", 800, 0.004},
    {"stock efficiency needs the order to name its stock",
     "UPDATE BINDERIES SET STOCKFLAG = 1; INSERT INTO STOCK (STOCKID, BINDEFFPERC) VALUES (12, 80);", "0012",
     1000, 0.004},
};

class SpeedAdjustments : public BinderyTest, public testing::WithParamInterface<SpeedCase>
{
};

TEST_P(SpeedAdjustments, ScaleTheCurveSpeed)
{
    const SpeedCase& c = GetParam();
    TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + selectionSql(10, 1) + c.updates));
    auto engine = openEstimator(shop);
    EstimatorProbe::setStockIdText(*engine, c.stockIdText);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    EXPECT_EQ(EstimatorProbe::speed(*engine), c.speed) << c.why;
    EXPECT_DOUBLE_EQ(EstimatorProbe::stockCaliper(*engine), c.caliper) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, SpeedAdjustments, testing::ValuesIn(kSpeeds));

// Two-part carbonless sets padded whole: 2000 sheets, only every second one counts towards the run, and
// a spoiled set wastes both sheets.
TEST_F(BinderyTest, CarbonlessPaddingCountsSetsAndWastesWholeSets)
{
    TestDatabase shop(shopSql(binderySql(3, 3, "Padding press") + selectionSql(10, 3) + R"sql(
UPDATE ORDERS SET STOCKPARTS = 2;
UPDATE BINDERIES SET MINSPOILAGE = 2, MAXSPOILAGE = 2, SETUPTIME = 15, COSTPERHR = 40, ADDLSETUPTIME = 1,
    ADDLRUNTIME = 0.5, CARBONLESSSPOILAGEFLAG = 1, THICKNESSFLAG = 1;
UPDATE BINDERYSELECTIONS SET SETUPS = 10, PCTOFRUN = 0;
)sql"));
    auto engine = openEstimator(shop);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    const auto& work = EstimatorProbe::work(*engine);
    EXPECT_DOUBLE_EQ(work[0], 0.5);  // whole run / 2 parts
    EXPECT_DOUBLE_EQ(work[7], 10);   // 15 / 60 x 40
    EXPECT_DOUBLE_EQ(work[5], 16);   // (9 x 1 + 15) x 40 / 60
    // Waste: 2 % x 2000 x 0.5 / 100 = 20, x 2 parts = 40; run (1000 + 40) x 40 / 1000 = 41.6.
    EXPECT_DOUBLE_EQ(EstimatorProbe::runCost(*engine), 41.6);
    EXPECT_DOUBLE_EQ(EstimatorProbe::waste(*engine), 10); // 40 / 4 up
    EXPECT_DOUBLE_EQ(EstimatorProbe::operationCost(*engine), 57.6);
}

// Foil ignores the share of the run for its speed and waste (run fraction 1), keeps the share for the
// stamping charge, and pays a repeat run only through that charge, not the runs multiplier.
TEST_F(BinderyTest, FoilWorksTheWholeRunAndKeepsTheShare)
{
    TestDatabase shop(shopSql(binderySql(6, 6, "Foil stamper") + selectionSql(10, 6) + R"sql(
UPDATE BINDERIES SET FOILFLAG = 1, MINSPEED = 2000, MAXSPEED = 2000, SETUPTIME = 30, COSTPERHR = 50,
    ADDLSETUPTIME = 2;
UPDATE BINDERYSELECTIONS SET RUNS = 1, PCTOFRUN = 50;
)sql"));
    auto engine = openEstimator(shop);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    EXPECT_EQ(EstimatorProbe::work(*engine)[0], 1);
    EXPECT_EQ(EstimatorProbe::savedRunFraction(*engine), 0.5);
    EXPECT_DOUBLE_EQ(EstimatorProbe::runCost(*engine), 25);       // 1000 x 50 / 2000, not doubled
    EXPECT_DOUBLE_EQ(EstimatorProbe::operationCost(*engine), 50); // 30 / 60 x 50 set-up + 25
}

// A saddle stitcher with a pocket per signature on a 48-page book of 3 signatures, 1000 copies.
struct StitcherCase
{
    const char* why;
    int setups;
    double setupCost, runCost;
};

void PrintTo(const StitcherCase& c, std::ostream* os) { *os << c.why; }

// Figures shared by every row: spoilage 1 %, so waste = 1 x 1000 x 3 / 100 + 10 fixed = 40 (10 press
// sheets at 4 up). Set-up per signature: 5 / 60 x 60 x 3 = 15, for 48 pages over 3 x 2 = 120, plus the
// first set-up 20 / 60 x 60 = 20 when there is a set-up. Run per pass: (1000 + 40 / 3) x 60 / 3000 =
// 20.266667, x 48 pages / (3 signatures x 2) = 162.133333, times the passes the pockets need.
const StitcherCase kStitchers[] = {
    {"3 pockets for 3 signatures: one pass", 3, 140, 162.133333333},
    {"2 pockets for 3 signatures: 3 / 2 = 1.5 rounds up to 2 passes", 2, 140, 324.266666667},
    {"4 pockets for 3 signatures: 4 \\ 3 = 1, one pass", 4, 140, 162.133333333},
    {"7 pockets for 3 signatures: 7 \\ 3 = 2 books a pass, half a pass each", 7, 140, 81.066666667},
    {"no set-up: no first set-up and no passes", 0, 120, 0},
};

class Stitchers : public BinderyTest, public testing::WithParamInterface<StitcherCase>
{
};

TEST_P(Stitchers, PriceSetupsPerSignatureAndPassesPerPocket)
{
    const StitcherCase& c = GetParam();
    TestDatabase shop(shopSql(binderySql(7, 7, "Saddle stitcher") + selectionSql(10, 7) + R"sql(
UPDATE ORDERS SET PRODUCTIONTYPE = 1, PRESSSIGNATURES = 3, PRESSPAGES = 48, PRESSNUMUPPARENTSHT = 1;
UPDATE BINDERIES SET MULTIBINDERFILEFLAG = 1, PAGESFLAG = 1, MINSPEED = 3000, MAXSPEED = 3000,
    MINSPOILAGE = 1, MAXSPOILAGE = 1, SETUPTIME = 20, ADDLSETUPTIME = 5, FIXEDWASTE = 10;
)sql" + "UPDATE BINDERYSELECTIONS SET SETUPS = " + std::to_string(c.setups) + ";"));
    auto engine = openEstimator(shop);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    EXPECT_EQ(EstimatorProbe::pressPages(*engine), 48);
    EXPECT_NEAR(EstimatorProbe::work(*engine)[5], c.setupCost, kCent) << c.why;
    EXPECT_NEAR(EstimatorProbe::runCost(*engine), c.runCost, kCent) << c.why;
    EXPECT_DOUBLE_EQ(EstimatorProbe::waste(*engine), 10) << c.why;
    EXPECT_NEAR(EstimatorProbe::operationCost(*engine), c.setupCost + c.runCost, kCent) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, Stitchers, testing::ValuesIn(kStitchers));

// The job weighs 25 lb: 1000 pieces / 4 up x parent usage 1 (4 pieces of 8.5 x 11, 2 press sheets to a
// 22 x 34 parent fill it) x 200 lb per thousand parent sheets / (2 x 1000).
const char* const kWeighedJob = "UPDATE ORDERS SET STOCKID = 12, STOCKWT1000 = 200;";

TEST_F(BinderyTest, WeightBasedOperationChargesPoundsAndPackages)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "10 LB BUNDLES") + selectionSql(10, 1) + kWeighedJob + R"sql(
UPDATE BINDERIES SET WTBASEDFILEFLAG = 1, MINSPEED = 100, MAXSPEED = 100, SETUPTIME = 6, COSTPERHR = 30,
    ADDLRUNTIME = 1.5;
)sql"));
    auto engine = openEstimator(shop);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    EXPECT_DOUBLE_EQ(EstimatorProbe::weight(*engine), 25);
    // 25 lb / 100 an hour x 30 = 7.50, plus 3 bundles of 10 lb (2.5 rounded up) x 1.50 = 4.50.
    EXPECT_DOUBLE_EQ(EstimatorProbe::runCost(*engine), 12);
    EXPECT_DOUBLE_EQ(EstimatorProbe::operationCost(*engine), 15); // + 6 / 60 x 30 set-up
}

TEST_F(BinderyTest, DeliveryChargesPoundsPerDropAndBoxes)
{
    TestDatabase shop(shopSql(binderySql(8, 8, "20 LB BOXES") + selectionSql(10, 8) + kWeighedJob + R"sql(
UPDATE BINDERIES SET DELIVERYFILEFLAG = 1, MINSPEED = 500, MAXSPEED = 500, COSTPERHR = 40, MINCOST = 0.2,
    ADDLRUNTIME = 2;
UPDATE BINDERYSELECTIONS SET SETUPS = 2;
)sql"));
    auto engine = openEstimator(shop);
    ASSERT_EQ(EstimatorProbe::calcModule(*engine, 10), "");
    // 25 lb / 500 x 40 = 2 driving, 25 lb x 0.20 a pound x 2 drops = 10, 2 boxes (1.25 up) x 2 = 4.
    EXPECT_DOUBLE_EQ(EstimatorProbe::runCost(*engine), 16);
    EXPECT_DOUBLE_EQ(EstimatorProbe::operationCost(*engine), 16); // no set-up time
}

} // namespace
} // namespace bindery_test
