#include <cstdint>
#include <ostream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "estimator/bindery/OperationCost.h"
#include "platform/Fault.h"
#include "platform/Value.h"
#include "tests/estimator/bindery/GoldenInputs.h"

using estimator::bindery::costOperation;
using estimator::bindery::OperationFigures;
using estimator::bindery::OperationInputs;
using estimator::bindery::OrderFigures;
using testing::Property;
using testing::Throws;

namespace bindery_test {
namespace {

constexpr double kCent = 1e-6;

// A guillotine cut at the finished size, tuned like the press curves' neutral case (efficiencies 10,
// k-factors 5, 3000 to 7000 an hour, spoilage 0.5 to 5 per cent), so the curves give their worked figures
// for 1000 pieces one up: speed 3059.436399 and spoilage 4.900953409.
TEST(OperationCost, CutterAtNeutralCurveFiguresCostsSetupRunAndWaste)
{
    OperationInputs in = cutterInputs();
    in.bindery.minSpeed = 3000;
    in.bindery.maxSpeed = 7000;
    in.bindery.minSpoilage = 0.5;
    in.bindery.maxSpoilage = 5;
    in.bindery.setupTime = 30;
    in.bindery.addlSetupTime = 10;
    in.bindery.fixedWaste = 20;
    in.selection.speedEfficiency = 10;
    in.selection.speedKFactor = 5;
    in.selection.spoilEfficiency = 10;
    in.selection.spoilKFactor = 5;

    OperationFigures f;
    EXPECT_EQ(costOperation(in, shopOrder(), f), "");
    EXPECT_EQ(f.numberUp, 1);                        // finished size: one piece at a time
    EXPECT_EQ(f.speed, 3059);                        // 3059.436399 rounded
    EXPECT_NEAR(f.spoilagePercent, 4.900953409, 1e-8);
    EXPECT_DOUBLE_EQ(f.firstSetupCost, 30);          // 30 min / 60 x 60 an hour
    EXPECT_DOUBLE_EQ(f.setupCost, 30);               // ((1 - 1) x 10 + 30) x 60 / 60
    // Run: (1000 pieces + 69.00953 waste) x 60 / 3059, where waste = 4.900953 x 1000 / 100 + 20 fixed.
    EXPECT_NEAR(f.runCost, 20.967823487, kCent);
    // Waste in press sheets: 69.00953 x 1 / 4 up.
    EXPECT_NEAR(f.wasteUnits, 17.252383523, kCent);
    EXPECT_NEAR(f.operationCost, 50.967823487, kCent); // 30 + 20.967823
}

TEST(OperationCost, MissingSelectionIsReportedByItsNumber)
{
    OperationInputs in;
    in.selectionId = 999;
    OperationFigures f;
    EXPECT_EQ(costOperation(in, shopOrder(), f), "Specified Bindery Operation (rec # 999) could not be found.");
}

// The selection's own settings are taken before the bindery is looked up, so they are there even when
// the bindery is gone: difficulty 0 reads as 5 and no percentage of run as the whole run.
TEST(OperationCost, MissingBinderyIsReportedAfterTheSelectionIsRead)
{
    OperationInputs in = cutterInputs();
    in.binderyFound = false;
    in.selection.binderyId = 77;
    in.selection.sheetSizeCode = 2;
    in.selection.difficulty = 0;
    in.selection.runs = 2;
    in.selection.setups = 3;
    in.selection.percentOfRun = 0;

    OperationFigures f;
    EXPECT_EQ(costOperation(in, shopOrder(), f), "Specified Bindery (rec # 77) could not be found.");
    EXPECT_EQ(f.sheetSizeCode, 2);
    EXPECT_EQ(f.sheetWidth, 17); // the 17 x 22 press sheet
    EXPECT_EQ(f.sheetLength, 22);
    EXPECT_EQ(f.numberUp, 4); // 4 up
    EXPECT_EQ(f.difficulty, 5);
    EXPECT_EQ(f.runs, 2);
    EXPECT_EQ(f.setups, 3);
    EXPECT_EQ(f.runFraction, 1);
}

// A yes/no column holding a text is a type mismatch where the costing first uses it (the foil flag,
// right after the selection's settings), so the figures up to there are taken and the rest untouched.
TEST(OperationCost, UnreadableFlagFaultsWhereItIsUsed)
{
    OperationInputs in = cutterInputs();
    in.selection.setups = 3;
    in.bindery.foil = estimator::bindery::Loaded<bool>::read([] { return platform::Value::fromText("yes").toBoolean(); });
    OperationFigures f;
    f.runCost = 7;
    EXPECT_THAT([&] { costOperation(in, shopOrder(), f); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::TypeMismatch)));
    EXPECT_EQ(f.setups, 3);
    EXPECT_EQ(f.runCost, 7);
}

struct SheetCase
{
    const char* why;
    int sheetSize;
    double bleedWidth, bleedLength, numberUp, sheetsPerParent;
    double width, length, operationNumberUp;
};

void PrintTo(const SheetCase& c, std::ostream* os) { *os << c.why; }

// The shop's job: 8.5 x 11 pieces, 4 up on a 17 x 22 press sheet, 2 press sheets to a 22 x 34 parent.
const SheetCase kSheets[] = {
    {"finished size", 0, 0, 0, 4, 2, 8.5, 11, 1},
    {"bleed size without a bleed falls back to the finished size", 1, 0, 0, 4, 2, 8.5, 11, 1},
    {"bleed size", 1, 8.75, 11.25, 4, 2, 8.75, 11.25, 1},
    {"press sheet carries the number up", 2, 0, 0, 4, 2, 17, 22, 4},
    {"parent sheet carries 2 press sheets of 4 up", 3, 0, 0, 4, 2, 22, 34, 8},
    {"parent sheet of a 1-up job carries the press sheets alone", 3, 0, 0, 1, 2, 22, 34, 2},
    {"parent sheet that is the press sheet is worked as finished pieces", 3, 0, 0, 4, 1, 8.5, 11, 1},
};

class SheetSizes : public testing::TestWithParam<SheetCase>
{
};

TEST_P(SheetSizes, ChooseTheSheetAndHowManyPiecesItCarries)
{
    const SheetCase& c = GetParam();
    OperationInputs in = cutterInputs();
    in.selection.sheetSizeCode = static_cast<std::int16_t>(c.sheetSize);
    OrderFigures order = shopOrder();
    order.sheetDim[0] = c.bleedWidth;
    order.sheetDim[1] = c.bleedLength;
    order.numberUp = c.numberUp;
    order.pressSheetsPerParent = c.sheetsPerParent;

    OperationFigures f;
    ASSERT_EQ(costOperation(in, order, f), "");
    EXPECT_EQ(f.sheetWidth, c.width) << c.why;
    EXPECT_EQ(f.sheetLength, c.length) << c.why;
    EXPECT_EQ(f.numberUp, c.operationNumberUp) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, SheetSizes, testing::ValuesIn(kSheets));

// An unknown sheet-size code works on the sheet of the operation before it, one piece at a time.
TEST(OperationCost, UnknownSheetSizeKeepsThePreviousOperationsSheet)
{
    OperationInputs pressSheet = cutterInputs();
    pressSheet.selection.sheetSizeCode = 2;
    OperationInputs unknown = cutterInputs();
    unknown.selection.sheetSizeCode = 7;

    OperationFigures f;
    ASSERT_EQ(costOperation(pressSheet, shopOrder(), f), "");
    ASSERT_EQ(costOperation(unknown, shopOrder(), f), "");
    EXPECT_EQ(f.sheetWidth, 17);
    EXPECT_EQ(f.sheetLength, 22);
    EXPECT_EQ(f.numberUp, 1);
}

struct SpeedCase
{
    const char* why;
    void (*adjust)(OperationInputs&, OrderFigures&);
    std::int32_t speed;
    double caliper;
};

void PrintTo(const SpeedCase& c, std::ostream* os) { *os << c.why; }

// The cutter runs at exactly 1000 an hour before these adjustments.
const SpeedCase kSpeeds[] = {
    {"double caliper halves a thickness-rated speed: 1000 x 0.004 / 0.008",
     [](OperationInputs& in, OrderFigures&) {
         in.bindery.thickness = true;
         in.stockCaliper = 0.008;
     },
     500, 0.008},
    {"no caliper is taken as the reference one and leaves the speed",
     [](OperationInputs& in, OrderFigures&) {
         in.bindery.thickness = true;
         in.stockCaliper = 0;
     },
     1000, 0.004},
    {"a multiple-signature binder ignores thickness here",
     [](OperationInputs& in, OrderFigures&) {
         in.bindery.thickness = true;
         in.bindery.multiBinder = true;
         in.stockCaliper = 0.008;
     },
     1000, 0.008},
    {"an 11-inch sheet keeps a length-rated speed", [](OperationInputs& in, OrderFigures&) { in.bindery.length = true; },
     1000, 0.004},
    {"a 17-inch sheet runs at 11/17: 11000 / 17 = 647.06",
     [](OperationInputs& in, OrderFigures& order) {
         in.bindery.length = true;
         order.sheetDim[2] = 11;
         order.sheetDim[3] = 17;
     },
     647, 0.004},
    {"book press sheet 9 up: 1000 x 11 x 3 / 22 inches high",
     [](OperationInputs& in, OrderFigures& order) {
         in.bindery.length = true;
         in.selection.sheetSizeCode = 2;
         order.productionType = 1;
         order.numberUp = 9;
     },
     1500, 0.004},
    {"book press sheet 2 up: 1000 x 11 / 17 inches wide",
     [](OperationInputs& in, OrderFigures& order) {
         in.bindery.length = true;
         in.selection.sheetSizeCode = 2;
         order.productionType = 1;
         order.numberUp = 2;
     },
     647, 0.004},
    {"stock bindery efficiency 80 per cent of a chosen stock: 0.8 x 1000",
     [](OperationInputs& in, OrderFigures& order) {
         in.bindery.stock = true;
         in.stockFound = true;
         in.stockBinderyEfficiency = 80;
         order.stockSelected = 1;
     },
     800, 0.004},
    {"stock efficiency needs the order to name its stock",
     [](OperationInputs& in, OrderFigures&) {
         in.bindery.stock = true;
         in.stockFound = true;
         in.stockBinderyEfficiency = 80;
     },
     1000, 0.004},
};

class SpeedAdjustments : public testing::TestWithParam<SpeedCase>
{
};

TEST_P(SpeedAdjustments, ScaleTheCurveSpeed)
{
    const SpeedCase& c = GetParam();
    OperationInputs in = cutterInputs();
    OrderFigures order = shopOrder();
    c.adjust(in, order);
    OperationFigures f;
    ASSERT_EQ(costOperation(in, order, f), "");
    EXPECT_EQ(f.speed, c.speed) << c.why;
    EXPECT_DOUBLE_EQ(f.stockCaliper, c.caliper) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, SpeedAdjustments, testing::ValuesIn(kSpeeds));

// Two-part carbonless sets padded whole: 2000 sheets, only every second one counts towards the run, and
// a spoiled set wastes both sheets.
TEST(OperationCost, CarbonlessPaddingCountsSetsAndWastesWholeSets)
{
    OperationInputs in = carbonlessPadInputs(10);
    OperationFigures f;
    ASSERT_EQ(costOperation(in, twoPartOrder(), f), "");
    EXPECT_DOUBLE_EQ(f.runFraction, 0.5);  // whole run / 2 parts
    EXPECT_DOUBLE_EQ(f.firstSetupCost, 10); // 15 / 60 x 40
    EXPECT_DOUBLE_EQ(f.setupCost, 16);      // (9 x 1 + 15) x 40 / 60
    // Waste: 2 % x 2000 x 0.5 / 100 = 20, x 2 parts = 40; run (1000 + 40) x 40 / 1000 = 41.6.
    EXPECT_DOUBLE_EQ(f.runCost, 41.6);
    EXPECT_DOUBLE_EQ(f.wasteUnits, 10); // 40 / 4 up
    EXPECT_DOUBLE_EQ(f.operationCost, 57.6);
}

// Foil ignores the share of the run for its speed and waste (run fraction 1), keeps the share for the
// stamping charge, and pays a repeat run only through that charge, not the runs multiplier.
TEST(OperationCost, FoilWorksTheWholeRunAndKeepsTheShare)
{
    OperationInputs in = foilInputs();
    OperationFigures f;
    ASSERT_EQ(costOperation(in, shopOrder(), f), "");
    EXPECT_EQ(f.runFraction, 1);
    EXPECT_EQ(f.savedRunFraction, 0.5);
    EXPECT_DOUBLE_EQ(f.runCost, 25);       // 1000 x 50 / 2000, not doubled
    EXPECT_DOUBLE_EQ(f.operationCost, 50); // 30 / 60 x 50 set-up + 25
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

class Stitchers : public testing::TestWithParam<StitcherCase>
{
};

TEST_P(Stitchers, PriceSetupsPerSignatureAndPassesPerPocket)
{
    const StitcherCase& c = GetParam();
    OperationInputs in = stitcherInputs(c.setups);
    OperationFigures f;
    ASSERT_EQ(costOperation(in, bookOrder(), f), "");
    EXPECT_EQ(f.pressPages, 48);
    EXPECT_NEAR(f.setupCost, c.setupCost, kCent) << c.why;
    EXPECT_NEAR(f.runCost, c.runCost, kCent) << c.why;
    EXPECT_DOUBLE_EQ(f.wasteUnits, 10) << c.why;
    EXPECT_NEAR(f.operationCost, c.setupCost + c.runCost, kCent) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, Stitchers, testing::ValuesIn(kStitchers));

// The job weighs 25 lb: 1000 pieces / 4 up x parent usage 1 (4 pieces of 8.5 x 11, 2 press sheets to a
// 22 x 34 parent fill it) x 200 lb per thousand parent sheets / (2 x 1000).
TEST(OperationCost, WeightBasedOperationChargesPoundsAndPackages)
{
    OperationInputs in = bundlingInputs();
    OperationFigures f;
    ASSERT_EQ(costOperation(in, weighedOrder(), f), "");
    EXPECT_DOUBLE_EQ(f.weight, 25);
    // 25 lb / 100 an hour x 30 = 7.50, plus 3 bundles of 10 lb (2.5 rounded up) x 1.50 = 4.50.
    EXPECT_DOUBLE_EQ(f.runCost, 12);
    EXPECT_DOUBLE_EQ(f.operationCost, 15); // + 6 / 60 x 30 set-up
}

TEST(OperationCost, DeliveryChargesPoundsPerDropAndBoxes)
{
    OperationInputs in = deliveryInputs();
    OperationFigures f;
    ASSERT_EQ(costOperation(in, weighedOrder(), f), "");
    // 25 lb / 500 x 40 = 2 driving, 25 lb x 0.20 a pound x 2 drops = 10, 2 boxes (1.25 up) x 2 = 4.
    EXPECT_DOUBLE_EQ(f.runCost, 16);
    EXPECT_DOUBLE_EQ(f.operationCost, 16); // no set-up time
}

} // namespace
} // namespace bindery_test
