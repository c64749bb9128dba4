// The press estimate at the edges a shop meets: difficulty ratings, caliper, carbonless sets, passes
// against signatures, plate life, plate material, missing rows and the faults that end an estimate.
// Unless a case says otherwise it prints the letterhead (5,000 pieces 2 up, one plate of 20 make-ready
// sheets, 12 minutes' mounting) on the steady press (4,000 an hour, 3.2 per cent spoilage).

#include <cmath>
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "estimator/press/PressInputs.h"
#include "estimator/press/PressResults.h"
#include "platform/Fault.h"
#include "tests/estimator/press/PressShop.h"

namespace presstest {
namespace {

using estimator::cEstimator;
namespace press = estimator::press;

std::string steadyShop(const Row& order, const Row& press = steadyPress(), const Row& plate = paperPlate())
{
    return order.insert() + press.insert() + plate.insert() + shopMarkups();
}

// ---- difficulty -------------------------------------------------------------------------------------

struct DifficultyCase
{
    int difficulty;
    std::int32_t speedMember; // curve speed after the clamps
    double pressSpeed;        // v
    double pressSpoilage;     // s
    double runHours;
};

// Failures name the case rather than print its bytes.
void PrintTo(const DifficultyCase& c, std::ostream* os)
{
    *os << "difficulty " << c.difficulty;
}

// On the curved press the letterhead's curve gives 2185.6146 an hour before difficulty and 5.8503576 per
// cent spoilage (which difficulties above 9 leave alone).
const DifficultyCase kDifficultyCases[] = {
    // 0: the curves get 0 and give speed 0, raised to the press minimum 2000; the rating takes 5.
    {0, 2000, 2000, 5.850357624861276, 5000.0 / 2000 / 2},
    // 10: curve 10 x 2185.6146 / 5 = 4371.23 -> 4371; rating 10 x 4371 / 5 = 8742, spoilage x 5 / 10.
    {10, 4371, 8742, 5.850357624861276 / 2, 5000.0 / 8742 / 2},
    // 11: the difficulty is the speed; the curve's 4808 is kept in the engine only.
    {11, 4808, 11, 5.850357624861276, 5000.0 / 11 / 2},
    {12, 5245, 12, 5.850357624861276, 5000.0 / 12 / 2},
};

class Difficulty : public ::testing::TestWithParam<DifficultyCase>
{
};

TEST_P(Difficulty, RatesSpeedAndSpoilage)
{
    const DifficultyCase& c = GetParam();
    press::PressInputs in = letterheadInputs();
    in.settings.difficulty = static_cast<std::int16_t>(c.difficulty);
    press::PressResults out;
    press::pricePressRun(in, out);
    EXPECT_EQ(out.curveSpeed, c.speedMember);
    EXPECT_DOUBLE_EQ(out.pressSpeed, c.pressSpeed);
    EXPECT_EQ(out.report.pressSpeed, static_cast<std::int32_t>(c.pressSpeed));
    EXPECT_NEAR(out.report.pressSpoilagePercent, c.pressSpoilage, 1e-12);
    EXPECT_NEAR(out.report.runHours, c.runHours, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Ratings, Difficulty, ::testing::ValuesIn(kDifficultyCases));

// ---- caliper factor ---------------------------------------------------------------------------------

struct CaliperCase
{
    double caliperBefore; // as the bindery left it
    double caliperAfter;  // as the press leaves it
    double factor;
};

// Failures name the case rather than print its bytes.
void PrintTo(const CaliperCase& c, std::ostream* os)
{
    *os << "caliper " << c.caliperBefore;
}

// Without a stock the factor is 2.71828 ^ (-(p - 1)^2 / 2) x (1 / Sqr(3.14159)) x 1.77258.
const CaliperCase kCaliperCases[] = {
    {0, 0.004, 1.0000715943673402},       // nothing loaded: the reference caliper, p = 1
    {0.95, 0.004, 1.0000715943673402},    // above 0.9: replaced
    {0.00005, 0.004, 1.0000715943673402}, // not above 0.0001: replaced
    {0.006, 0.006, 0.8825601585990737},   // p = 1.5: 2.71828 ^ -0.125 x 1.00007159
    {0.002, 0.002, 0.7},                  // p = 2: 0.6065, raised to 0.7
    {0.9, 0.9, 0.7},                      // 0.9 itself is kept; p = 225
};

class CaliperFactor : public ::testing::TestWithParam<CaliperCase>
{
};

TEST_P(CaliperFactor, FollowsTheStockCaliper)
{
    const CaliperCase& c = GetParam();
    press::PressInputs in = steadyLetterheadInputs();
    in.order.stockSelected = false;
    in.order.parentUsageRatio = 0;
    in.bindery.stockCaliper = c.caliperBefore;
    press::PressResults out;
    press::pricePressRun(in, out);
    EXPECT_NEAR(out.caliperFactor, c.factor, 1e-12);
    EXPECT_DOUBLE_EQ(out.stockCaliper, c.caliperAfter);
}

INSTANTIATE_TEST_SUITE_P(Calipers, CaliperFactor, ::testing::ValuesIn(kCaliperCases));

TEST_F(PressShopTest, StockThatDoesNotRunOnPressesGetsTheLowestCaliperFactor)
{
    // Stock selected with a press efficiency of 0 (read from the order as 0): factor 0, raised to 0.7;
    // T = 3.2 + 20 x 1 x 2 / 5000 x 100 / 0.7 = 3.2 + 1.1428571.
    const ShopDatabase db(steadyShop(letterheadOrder().num("STOCKPRESSEFFPERC", 0)));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_NEAR(summary().totalSpoilagePercent, 4.342857142857143, 1e-12);
    press::PressInputs in = steadyLetterheadInputs();
    in.settings.stockPressEfficiency = 0;
    press::PressResults out;
    press::pricePressRun(in, out);
    EXPECT_DOUBLE_EQ(out.caliperFactor, 0.7);
    EXPECT_NEAR(out.report.totalSpoilagePercent, 4.342857142857143, 1e-12);
}

// ---- spoilage ---------------------------------------------------------------------------------------

TEST_F(PressShopTest, CarbonlessSetsSpoilEveryPart)
{
    // Three-part sets on a press that spoils a whole set: s = 3.2 x 3 = 9.6; P = 15000;
    // T = 9.6 + 20 x 1 x 2 / 15000 x 100 = 9.8666667.
    const ShopDatabase db(steadyShop(letterheadOrder().num("STOCKPARTS", 3),
                                     steadyPress().num("CARBONLESSIMPACTFLAG", -1)));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_NEAR(summary().pressSpoilagePercent, 9.6, 1e-12);
    EXPECT_NEAR(summary().totalSpoilagePercent, 9.866666666666667, 1e-12);
}

TEST_F(PressShopTest, TotalSpoilageOfZeroIsKeptJustAboveZero)
{
    // No spoilage on the press and no make-ready sheets: T = 0 -> 0.0001; spoilage sheets
    // 0.0001 x 5000 / 2 / 100 = 0.0025; spoiled stock 50 x 0.0001 / 100.
    const ShopDatabase db(steadyShop(letterheadOrder(), steadyPress().num("MINSPOILAGE", 0).num("MAXSPOILAGE", 0),
                                     paperPlate().num("SHEETSPERPLATE", 0)));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_DOUBLE_EQ(summary().totalSpoilagePercent, 0.0001);
    EXPECT_EQ(summary().spoilageSheets, 0);
    EXPECT_EQ(summary().pressSheetsToOrder, 2500);
    EXPECT_NEAR(summary().spoilageStockCost, 0.00005, 1e-15);
    // The added-thousand figures divide by T and stay finite: nothing spoils, so nothing is added.
    EXPECT_TRUE(std::isfinite(summary().costPerAddedThousand));
}

struct PassesCase
{
    int passes;
    double signatures;
    double spoilageHours;
};

// Failures name the case rather than print its bytes.
void PrintTo(const PassesCase& c, std::ostream* os)
{
    *os << c.passes << " passes, " << c.signatures << " signatures";
}

// n = N / S rounded half to even; per pass d: (d x 3.2 + 0) / 100 x 2500 sheets, then 1 / (d x S) x 20.
const PassesCase kPassesCases[] = {
    {1, 1, 0.025},  // 80 + 20 = 100 sheets / 4000
    {2, 1, 0.0675}, // 80 + 20 + 160 + 10 = 270 / 4000
    {1, 3, 0.0},    // n = 0: no passes priced
    {3, 2, 0.1275}, // n = 2: 80 + 10 + 160 + 5 = 255 / 4000 x 2
    {5, 2, 0.1275}, // 2.5 rounds to 2, not 3
};

class SpoilageHours : public PressShopTest, public ::testing::WithParamInterface<PassesCase>
{
};

TEST_P(SpoilageHours, CountEachPassOverTheSignatures)
{
    const PassesCase& c = GetParam();
    const ShopDatabase db(
        steadyShop(letterheadOrder().num("PRESSPASSES", c.passes).num("PRESSSIGNATURES", c.signatures)));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_NEAR(summary().spoilageHours, c.spoilageHours, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(PassesAndSignatures, SpoilageHours, ::testing::ValuesIn(kPassesCases));

// ---- plates and make-ready --------------------------------------------------------------------------

struct PlateCase
{
    double quantity;
    double impressionsPerPlate;
    int workAndTurn;
    int plates;          // total plates
    double plateMinutes; // mounting, remounting and work-and-turn minutes
    double makeReadyHours;
    double plateCost;
};

// Failures name the case rather than print its bytes.
void PrintTo(const PlateCase& c, std::ostream* os)
{
    *os << c.quantity << " pieces, plate life " << c.impressionsPerPlate << (c.workAndTurn ? ", work and turn" : "");
}

// Make-ready = (6 x P x 1 / (2500 x 2) + plate minutes) / 60 + (5 + 3 + 10) / 60.
const PlateCase kPlateCases[] = {
    // No plate life on file: one set however long the run. (6 + 12) / 60 + 0.3.
    {5000, 0, 0, 1, 12, 0.6, 8},
    // 25,000 impressions on 10,000-impression plates: Int(3.5) = 3 sets, remounting charged for 4:
    // 12 + 8 x 1 x 4 = 44 minutes; (60 + 44) / 60 + 0.3.
    {50000, 10000, 0, 3, 44, 2.033333333333333, 24},
    // Exactly twice the plate life: Int(2) = 2 sets, 12 + 8 x 3 = 36; (24 + 36) / 60 + 0.3.
    {20000, 10000, 0, 2, 36, 1.3, 16},
    // Work and turn doubles the impressions (5000, still one set) and adds 4 minutes a plate.
    {5000, 10000, 1, 1, 16, 0.6666666666666666, 8},
};

class PlatesAndMakeReady : public ::testing::TestWithParam<PlateCase>
{
};

TEST_P(PlatesAndMakeReady, FollowPlateLife)
{
    const PlateCase& c = GetParam();
    press::PressInputs in = steadyLetterheadInputs();
    in.order.quantity = static_cast<std::int32_t>(c.quantity);
    in.order.piecesToProduce = c.quantity;
    in.settings.pressSpec = c.workAndTurn;
    in.settings.impressionsPerPlate = c.impressionsPerPlate;
    press::PressResults out;
    press::pricePressRun(in, out);
    EXPECT_EQ(out.report.plates, c.plates);
    EXPECT_DOUBLE_EQ(out.plateMinutes, c.plateMinutes);
    EXPECT_NEAR(out.report.makeReadyHours, c.makeReadyHours, 1e-12);
    EXPECT_NEAR(out.report.plateCostOther, c.plateCost, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(PlateLife, PlatesAndMakeReady, ::testing::ValuesIn(kPlateCases));

struct PlateMaterialCase
{
    const char* name;
    const char* description;
    bool metal;
};

// Failures name the case rather than print its bytes.
void PrintTo(const PlateMaterialCase& c, std::ostream* os)
{
    *os << c.name << " / " << c.description;
}

const PlateMaterialCase kPlateMaterials[] = {
    {"Paper", "Polyester plate", false},
    {"METAL", "", true},
    {"Positive", "anodised metal", true}, // found in the description, whatever its case
};

class PlateMaterial : public PressShopTest, public ::testing::WithParamInterface<PlateMaterialCase>
{
};

TEST_P(PlateMaterial, MetalPlatesAreReportedApart)
{
    const PlateMaterialCase& c = GetParam();
    const ShopDatabase db(
        steadyShop(letterheadOrder(), steadyPress(), paperPlate().text("PLATENAME", c.name).text("PLATEDESC", c.description)));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_DOUBLE_EQ(summary().plateCostMetal, c.metal ? 8.0 : 0.0);
    EXPECT_DOUBLE_EQ(summary().plateCostOther, c.metal ? 0.0 : 8.0);
}

INSTANTIATE_TEST_SUITE_P(Materials, PlateMaterial, ::testing::ValuesIn(kPlateMaterials));

// ---- stock price breaks -----------------------------------------------------------------------------

TEST_F(PressShopTest, SecondStockBreakAddsTheCartonToTheBreak)
{
    // 1,250 parent sheets (10,000 pieces, 4 up, 2 out): the first break 0.5 x 2 x 1000 = 1000 is passed;
    // the second is 2 x 1000 + 0.5 = 2000.5, not 2 x 0.5 x 1000 = 1000, so the second price $75 applies:
    // 75 / 2 x 1 / 4 x 10000 / 1000 = $93.75.
    Row order = letterheadOrder();
    order.num("PRESSQTY", 10000).num("PRESSNUMUPPRESSSHT", 4).num("PRESSNUMUPPARENTSHT", 2);
    order.num("STOCKIND2", 2).num("STOCKIND3", 2).num("STOCK1000CTN", 0.5);
    order.num("STOCKCOST1", 90).num("STOCKCOST2", 75).num("STOCKCOST3", 65);
    const ShopDatabase db(steadyShop(order));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_NEAR(summary().pressStockCost, 93.75, 1e-12);
}

TEST_F(PressShopTest, ParentSheetsExactlyAtTheFirstBreakDoNotTakeTheFirstPrice)
{
    // 625 parent sheets against a first break of 0.25 x 2.5 x 1000 = 625: not above, so the second price
    // ($70, the second break 4 x 1000 + 0.25 being above): 70 / 4 x 1 / 2 x 5 = $43.75.
    const ShopDatabase db(steadyShop(letterheadOrder().num("STOCK1000CTN", 0.25).num("STOCKIND2", 2.5)));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_NEAR(summary().pressStockCost, 43.75, 1e-12);
}

// ---- missing rows -----------------------------------------------------------------------------------

TEST_F(PressShopTest, MissingPressRowPricesNothing)
{
    const ShopDatabase db(steadyShop(letterheadOrder().num("PRESSID", 9)));
    cEstimator engine(m_context);
    const double result = price(engine, db, "Q100", "Q", [](cEstimator& e) { e.context().summary[1].totalRetail = 123.45; });
    EXPECT_DOUBLE_EQ(result, 0.0);
    EXPECT_DOUBLE_EQ(summary().totalRetail, 123.45);
    EXPECT_EQ(summary().pressSpeed, 0);
    EXPECT_EQ(summary().pressSheetsToOrder, 0);
    EXPECT_EQ(engine.PressSheetsToOrder(), 0);
    EXPECT_DOUBLE_EQ(engine.EstRetail(), 0.0);
}

TEST_F(PressShopTest, MissingPlateRowPricesNothing)
{
    const ShopDatabase db(steadyShop(letterheadOrder().num("PRESSPLATEID", 9)));
    cEstimator engine(m_context);
    EXPECT_DOUBLE_EQ(price(engine, db, "Q100", "Q"), 0.0);
    EXPECT_DOUBLE_EQ(summary().totalCost, 0.0);
    EXPECT_EQ(summary().plates, 0);
}

// ---- faults -----------------------------------------------------------------------------------------

struct FaultCase
{
    const char* situation;
    std::function<std::string()> shop;
    int number;
};

// Failures name the case rather than print its bytes.
void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << c.situation;
}

const FaultCase kFaultCases[] = {
    {"a feeder height that is not on file",
     [] { return steadyShop(letterheadOrder(), steadyPress().null("FEEDERHEIGHT")); },
     platform::fault::InvalidUseOfNull},
    {"a press that runs at 0 an hour",
     [] { return steadyShop(letterheadOrder(), steadyPress().num("MINSPEED", 0).num("MAXSPEED", 0)); },
     platform::fault::DivisionByZero},
    {"difficulty 10 times 500,000,000 an hour beyond 32 bits",
     [] {
         return steadyShop(letterheadOrder().num("PRESSDIFFICULTY", 10),
                           steadyPress().num("MINSPEED", 500000000).num("MAXSPEED", 500000000));
     },
     platform::fault::Overflow},
    {"a stock k factor of 33 (33 x 1000 beyond 16 bits)",
     [] { return steadyShop(letterheadOrder().num("STOCKQTYKFACTOR", 33)); }, platform::fault::Overflow},
    {"a maximum stock markup beyond 16 bits",
     [] { return letterheadOrder().insert() + steadyPress().insert() + paperPlate().insert() + shopMarkups(10, 40000); },
     platform::fault::Overflow},
    {"a press number that is not a number",
     [] { return steadyShop(letterheadOrder().text("PRESSID", "P1")); }, platform::fault::TypeMismatch},
    {"an ink with a mileage but no coverage",
     [] {
         return steadyShop(letterheadOrder()) + colour(1, "Black", 10, 216000)
                + Row("INKSELECTIONS")
                      .text("ORDERNO", "Q100")
                      .num("PARTNO", 1)
                      .text("QUOTEORJOB", "Q")
                      .num("COLORID", 1)
                      .text("INKCOLOR", "Black")
                      .null("COVERAGE")
                      .insert();
     },
     platform::fault::InvalidUseOfNull},
};

class PressFault : public PressShopTest, public ::testing::WithParamInterface<FaultCase>
{
};

TEST_P(PressFault, EndsTheEstimateWithTheRuntimeFault)
{
    const FaultCase& c = GetParam();
    const ShopDatabase db(c.shop());
    cEstimator engine(m_context);
    try {
        price(engine, db, "Q100", "Q");
        ADD_FAILURE() << c.situation << ": no fault";
    } catch (const platform::Fault& fault) {
        EXPECT_EQ(fault.number(), c.number) << c.situation << ": " << fault.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, PressFault, ::testing::ValuesIn(kFaultCases));

TEST_F(PressShopTest, FaultKeepsWhatWasWrittenBefore)
{
    // The speed of 0 is found when the run hours are worked out; the spoilage figures before it stay in
    // the summary: T = 3.2 + 0.8.
    const ShopDatabase db(steadyShop(letterheadOrder(), steadyPress().num("MINSPEED", 0).num("MAXSPEED", 0)));
    cEstimator engine(m_context);
    EXPECT_THROW(price(engine, db, "Q100", "Q"), platform::Fault);
    EXPECT_NEAR(summary().totalSpoilagePercent, 4.0, 1e-12);
    EXPECT_DOUBLE_EQ(summary().pressSpoilagePercent, 3.2);
    EXPECT_DOUBLE_EQ(summary().runHours, 0.0);
}

// A column the press reads part-way through its arithmetic, missing from the shop's table, ends the
// estimate where it is read: the figures worked out before it are in the report, none after it. Only the
// press is priced, as the stock estimate would miss the stock columns first.
struct MissingColumnCase
{
    const char* drop; // the column dropped from its table
    std::function<void(const estimator::SummaryRecord&)> expect;
};

void PrintTo(const MissingColumnCase& c, std::ostream* os)
{
    *os << c.drop;
}

const MissingColumnCase kMissingColumns[] = {
    // The steady letterhead: 5000 / 4000 / 2 = 0.625 run hours at $60.
    {"ORDERS DROP COLUMN STOCK1000CTN",
     [](const estimator::SummaryRecord& record) {
         EXPECT_NEAR(record.runCost, 37.5, 1e-12);
         EXPECT_DOUBLE_EQ(record.pressStockCost, 0.0);
     }},
    {"PLATES DROP COLUMN PLATEDESC",
     [](const estimator::SummaryRecord& record) {
         EXPECT_NEAR(record.pressStockCost, 50.0, 1e-12);
         EXPECT_EQ(record.plates, 1);
         EXPECT_DOUBLE_EQ(record.plateCostOther, 0.0);
     }},
    {"ORDERS DROP COLUMN STOCKWT1000",
     [](const estimator::SummaryRecord& record) {
         EXPECT_EQ(record.pressSheetsToOrder, 2600);
         EXPECT_DOUBLE_EQ(record.pressSheetWeight, 0.0);
         EXPECT_EQ(record.effectiveSpeed, 0);
     }},
};

class MissingColumn : public PressShopTest, public ::testing::WithParamInterface<MissingColumnCase>
{
};

TEST_P(MissingColumn, EndsTheEstimateWhereItIsRead)
{
    const MissingColumnCase& c = GetParam();
    const ShopDatabase db(steadyShop(letterheadOrder()) + "ALTER TABLE " + c.drop + ";\n");
    cEstimator engine(m_context);
    openOrder(engine, db, "Q100", "Q");
    EXPECT_THROW(engine.Estimate(estimator::EstimateArea::Press, 1, 1), platform::Fault);
    c.expect(summary());
}

INSTANTIATE_TEST_SUITE_P(Columns, MissingColumn, ::testing::ValuesIn(kMissingColumns));

} // namespace
} // namespace presstest
