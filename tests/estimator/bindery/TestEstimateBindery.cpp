#include <cstdint>
#include <ostream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "estimator/RunContext.h"
#include "platform/Fault.h"
#include "tests/estimator/bindery/BinderyShop.h"

using estimator::BinderyReportRow;
using testsupport::TestDatabase;
using testing::AllOf;
using testing::Property;
using testing::Throws;

namespace bindery_test {
namespace {

constexpr double kCent = 1e-6;

const char* const kBinderyMarkup25 =
    "INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES ('Press', 40), ('Bindery', 25);\n";

// The guillotine cut of the neutral curve case: 3059 an hour, spoilage 4.900953 %, set-up 30 min at 60
// an hour, waste 17.25 press sheets, run 20.967823, operation 50.967823.
std::string neutralCutter(int binderyId)
{
    return binderySql(binderyId, 1, "Guillotine cutter") + "UPDATE BINDERIES SET MINSPEED = 3000, MAXSPEED = 7000, "
           "MINSPOILAGE = 0.5, MAXSPOILAGE = 5, SETUPTIME = 30, ADDLSETUPTIME = 10, FIXEDWASTE = 20 WHERE BINDERYID = " +
           std::to_string(binderyId) + ";\n";
}

std::string neutralTuning(int selectionId)
{
    return "UPDATE BINDERYSELECTIONS SET SPEEDEFFICIENCY = 10, SPEEDKFACTOR = 5, SPOILEFFICIENCY = 10, "
           "SPOILKFACTOR = 5 WHERE BINDERYSELECTIONID = " +
           std::to_string(selectionId) + ";\n";
}

double runBindery(estimator::cEstimator& engine)
{
    return engine.Estimate(estimator::EstimateArea::Bindery, 1, 1);
}


// Two identical cuts: each row as the operation, the totals twice a row, the average spoilage a row's.
TEST_F(BinderyTest, TwoCutsMakeTwoRowsAndTotalsOfBoth)
{
    TestDatabase shop(shopSql(std::string(kBinderyMarkup25) + neutralCutter(1) + selectionSql(10, 1) +
                              selectionSql(11, 1) + neutralTuning(10) + neutralTuning(11)));
    auto engine = openEstimator(shop);

    // 2 x 50.967823
    EXPECT_NEAR(runBindery(*engine), 101.935646973, kCent);

    const BinderyReportRow& first = row(1);
    EXPECT_EQ(first.description.str(), "GUILLOTINE CUTTER        ");
    EXPECT_EQ(first.setups, 1);
    EXPECT_EQ(first.sheetSizeCode, 0);
    EXPECT_EQ(first.runs, 0);
    EXPECT_EQ(first.percentOfRun, 100);
    EXPECT_EQ(first.difficulty, 5);
    EXPECT_DOUBLE_EQ(first.setupMinutes, 30);                    // set-up 30.00 x 60 / 60
    EXPECT_NEAR(first.runMinutes, 20.967823487, kCent);          // 50.967823 - 30
    EXPECT_NEAR(first.totalMinutes, 50.967823487, kCent);
    EXPECT_EQ(first.setupTimeText.str(), "000:30    ");
    EXPECT_EQ(first.runTimeText.str(), "000:21    ");
    EXPECT_EQ(first.totalTimeText.str(), "000:51    ");
    EXPECT_EQ(first.waste, 17);                                  // 17.25 press sheets
    EXPECT_NEAR(first.spoilagePercent, 4.900953409, 1e-8);
    EXPECT_EQ(first.averageSpoilagePercent, 0);
    EXPECT_NEAR(first.cost, 50.967823487, kCent);
    EXPECT_NEAR(first.retail, 63.709779358, kCent);              // x 1.25
    EXPECT_NEAR(row(2).cost, first.cost, 1e-12);

    const BinderyReportRow& sum = totals();
    EXPECT_EQ(sum.description.str(), std::string(25, ' '));
    EXPECT_DOUBLE_EQ(sum.setupMinutes, 60);
    EXPECT_NEAR(sum.totalMinutes, 101.935646973, kCent);
    EXPECT_EQ(sum.setupTimeText.str(), "001:00    ");
    EXPECT_EQ(sum.runTimeText.str(), "000:42    ");               // 41.94 minutes
    EXPECT_EQ(sum.totalTimeText.str(), "001:42    ");             // 1 h 41.94 min
    EXPECT_EQ(sum.waste, 34);
    EXPECT_NEAR(sum.spoilagePercent, 9.801906819, 1e-8);
    EXPECT_NEAR(sum.averageSpoilagePercent, 4.900953409, 1e-8);
    EXPECT_NEAR(sum.retail, 127.419558716, kCent);

    EXPECT_NEAR(engine->ResBindCost(), 101.935646973, kCent);
    EXPECT_NEAR(engine->ResBindRetail(), 127.419558716, kCent);
    EXPECT_NEAR(engine->ResBindMinutes(), 101.935646973, kCent);
    const estimator::SummaryRecord& record = m_context.summary[1];
    EXPECT_NEAR(record.binderyHours, 1.698927450, kCent);         // 101.935647 / 60
    EXPECT_EQ(record.binderyHoursText.str(), "001:42");
    EXPECT_NEAR(record.binderyCost, 101.935646973, kCent);
    EXPECT_DOUBLE_EQ(record.binderyMarkup, 0.25);

    // The estimator's own copies: rows of this quantity, empty rows for the others, and the totals.
    const auto& rows = engine->BinderyRows();
    for (std::size_t slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(rows[slot].size(), 3u) << "slot " << slot;
    EXPECT_NEAR(rows[1][1].cost, first.cost, 1e-12);
    EXPECT_EQ(rows[1][2].description.str(), "GUILLOTINE CUTTER        ");
    EXPECT_EQ(rows[2][1].cost, 0);
    EXPECT_NEAR(engine->BinderyTotals()[1].cost, sum.cost, 1e-12);
    EXPECT_EQ(engine->BinderyTotals()[1].totalTimeText.str(), "001:42    ");
}

// An automatic cut is costed and counted but reported nowhere: the totals hold the other cut alone and
// its spoilage is averaged over both operations.
TEST_F(BinderyTest, AutomaticCutIsCountedWithoutARow)
{
    TestDatabase shop(shopSql(neutralCutter(1) + binderySql(2, 2, "Auto cutter") + selectionSql(10, 2) +
                              selectionSql(11, 1) + neutralTuning(10) + neutralTuning(11) +
                              "UPDATE BINDERIES SET MINSPOILAGE = 3, MAXSPOILAGE = 3 WHERE BINDERYID = 2;"));
    auto engine = openEstimator(shop);

    EXPECT_NEAR(runBindery(*engine), 50.967823487, kCent);
    EXPECT_EQ(m_context.binderyRows[1].size(), 3u);
    EXPECT_EQ(row(1).cost, 0);
    EXPECT_EQ(row(1).description.str(), std::string(25, ' '));
    EXPECT_NEAR(row(2).cost, 50.967823487, kCent);
    EXPECT_NEAR(totals().spoilagePercent, 4.900953409, 1e-8);
    EXPECT_NEAR(totals().averageSpoilagePercent, 2.450476705, 1e-8); // 4.900953 / 2
    EXPECT_EQ(engine->ResBindRetail(), engine->ResBindCost());         // no bindery markup
}

// Padding below the bindery's minimum charge shows the minimum in its row; the totals, written before
// the minimum is applied, keep the figure worked out.
TEST_F(BinderyTest, PaddingBelowMinimumShowsItInTheRowOnly)
{
    TestDatabase shop(shopSql(binderySql(3, 3, "Padding press") + selectionSql(10, 3) + R"sql(
INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES ('Bindery', 10);
UPDATE ORDERS SET STOCKPARTS = 2;
UPDATE BINDERIES SET MINSPOILAGE = 2, MAXSPOILAGE = 2, SETUPTIME = 15, COSTPERHR = 40, ADDLSETUPTIME = 1,
    ADDLRUNTIME = 0.5, CARBONLESSSPOILAGEFLAG = 1, MINCOST = 50;
UPDATE BINDERYSELECTIONS SET PCTOFRUN = 0, SETUPS = 10;
)sql"));
    auto engine = openEstimator(shop);

    // Without a thickness rating the edge time 11.3872 is rescaled by the lots and the caliper:
    // 10.00 x (1.3872 / (10 x 1000 x 0.004)) = 0.3468.
    EXPECT_NEAR(runBindery(*engine), 0.3468, kCent);
    EXPECT_DOUBLE_EQ(row(1).cost, 50);
    EXPECT_DOUBLE_EQ(row(1).retail, 55);
    EXPECT_NEAR(row(1).totalMinutes, 0.5202, kCent);       // 0.3468 x 60 / 40
    EXPECT_NEAR(totals().cost, 0.3468, kCent);
    EXPECT_NEAR(totals().retail, 0.38148, kCent);           // 0.3468 x 1.10
    EXPECT_NEAR(engine->ResBindRetail(), 0.38148, kCent);
}

// A plain operation below its minimum is reported and totalled at the minimum.
TEST_F(BinderyTest, PlainOperationBelowMinimumIsChargedTheMinimum)
{
    TestDatabase shop(shopSql(std::string(kBinderyMarkup25) + binderySql(1, 1, "Cutter") + selectionSql(10, 1) +
                              "UPDATE BINDERIES SET SETUPTIME = 6, COSTPERHR = 30, MINCOST = 40;"));
    auto engine = openEstimator(shop);

    // Worked out: set-up 6 / 60 x 30 = 3.00, run 1000 / 1000 x 30 = 30.00, together 33.00 < 40.00.
    EXPECT_DOUBLE_EQ(runBindery(*engine), 40);
    EXPECT_DOUBLE_EQ(row(1).cost, 40);
    EXPECT_DOUBLE_EQ(row(1).retail, 50);
    EXPECT_DOUBLE_EQ(row(1).setupMinutes, 6);   // 3.00 x 60 / 30
    EXPECT_DOUBLE_EQ(row(1).totalMinutes, 80);  // 40.00 x 60 / 30
    EXPECT_DOUBLE_EQ(row(1).runMinutes, 74);
    EXPECT_DOUBLE_EQ(totals().cost, 40);
    EXPECT_DOUBLE_EQ(engine->ResBindRetail(), 50);
    EXPECT_DOUBLE_EQ(engine->ResBindMinutes(), 80);
}

// An operation without a set-up is counted (it lowers the average spoilage) but gets no row; when the
// minimum charge lifts it, its row slot holds only that cost and retail.
TEST_F(BinderyTest, OperationWithoutSetupIsCountedButNotReported)
{
    TestDatabase shop(shopSql(std::string(kBinderyMarkup25) + binderySql(1, 1, "Cutter") +
                              binderySql(2, 1, "Trimmer") + selectionSql(10, 1) + selectionSql(11, 2) + R"sql(
UPDATE BINDERIES SET MINCOST = 12 WHERE BINDERYID = 1;
UPDATE BINDERIES SET MINSPOILAGE = 3, MAXSPOILAGE = 3 WHERE BINDERYID = 2;
UPDATE BINDERYSELECTIONS SET SETUPS = 0 WHERE BINDERYSELECTIONID = 10;
)sql"));
    auto engine = openEstimator(shop);

    // Trimmer: waste 3 x 1000 / 100 = 30, run (1000 + 30) x 60 / 1000 = 61.80.
    EXPECT_NEAR(runBindery(*engine), 61.8, kCent);
    EXPECT_DOUBLE_EQ(row(1).cost, 12);
    EXPECT_DOUBLE_EQ(row(1).retail, 15);
    EXPECT_EQ(row(1).setups, 0);
    EXPECT_EQ(row(1).totalMinutes, 0);
    EXPECT_EQ(row(1).description.str(), std::string(25, ' '));
    EXPECT_NEAR(row(2).cost, 61.8, kCent);
    EXPECT_NEAR(totals().averageSpoilagePercent, 1.5, kCent); // 3 % over two operations
}

// Cartons of 500 pieces of 0.004 stock, fewer of the 0.008 stock here; 60 cartons an hour of the
// reference stock.
TEST_F(BinderyTest, PackagingCountsPackagesOfThickStock)
{
    TestDatabase shop(shopSql(binderySql(4, 4, "Carton pack") + selectionSql(10, 4) + R"sql(
UPDATE ORDERS SET STOCKCALIPER = 0.008;
UPDATE BINDERIES SET PACKAGINGFILEFLAG = 1, THICKNESSFLAG = 1, MINSPEED = 60, MAXSPEED = 60, SETUPTIME = 10,
    COSTPERHR = 30, ADDLRUNTIME = 500;
)sql"));
    auto engine = openEstimator(shop);

    // 4 cartons of 250 pieces at 60 an hour plus the set-up: 7.00 (worked out in the packaging rule test).
    EXPECT_NEAR(runBindery(*engine), 7, kCent);
    EXPECT_DOUBLE_EQ(row(1).setupMinutes, 10);   // set-up 10 / 60 x 30 = 5.00, x 60 / 30
    EXPECT_NEAR(row(1).totalMinutes, 14, kCent); // 7.00 x 60 / 30
    EXPECT_NEAR(row(1).runMinutes, 4, kCent);
    EXPECT_NEAR(totals().cost, 7, kCent);        // written once: the carton category is not padding
}

// A padding bindery that also packages writes its row twice: the row shows the packaging figure, the
// totals hold both.
TEST_F(BinderyTest, PaddingThatAlsoPackagesIsTotalledTwice)
{
    TestDatabase shop(shopSql(binderySql(3, 3, "Pad and wrap") + selectionSql(10, 3) +
                              "UPDATE BINDERIES SET PACKAGINGFILEFLAG = 1, SETUPTIME = 30, ADDLRUNTIME = 100;"));
    auto engine = openEstimator(shop);

    // Padding: 8.5 x 1000 / 1000 = 8.5; x 60 x 0.004 + 30.00 first set-up = 32.04; rescaled without a
    // thickness rating: 30.00 x (2.04 / (1 x 1000 x 0.004)) = 15.30.
    // Packaging: Int(1000 / 100 + 0.8) = 10 packages / 1000 an hour = 0.01 h; (0.01 + 30 / 60) x 60 = 30.60.
    EXPECT_NEAR(runBindery(*engine), 45.9, kCent);
    EXPECT_NEAR(row(1).cost, 30.6, kCent);
    EXPECT_NEAR(row(1).totalMinutes, 30.6, kCent);
    EXPECT_NEAR(totals().totalMinutes, 45.9, kCent);
    EXPECT_DOUBLE_EQ(totals().setupMinutes, 60); // 30 minutes from each write
}

// A category without a name is neither padding nor an automatic cut: the operation is reported plainly.
TEST_F(BinderyTest, NamelessCategoryIsAPlainOperation)
{
    TestDatabase shop(shopSql(binderySql(1, 10, "Cutter") + selectionSql(10, 1) +
                              "INSERT INTO BINDERYCATEGORIES (BINDERYCATEGORYID, BINDERYCATEGORY) VALUES (10, NULL);"));
    auto engine = openEstimator(shop);

    EXPECT_DOUBLE_EQ(runBindery(*engine), 60); // 1000 x 60 / 1000
    EXPECT_DOUBLE_EQ(row(1).cost, 60);
}

TEST_F(BinderyTest, FoilPaysTheStampedAreaOfItsShare)
{
    TestDatabase shop(shopSql(binderySql(6, 6, "Foil stamper") + selectionSql(10, 6) + R"sql(
UPDATE BINDERIES SET FOILFLAG = 1, MINSPEED = 2000, MAXSPEED = 2000, SETUPTIME = 30, COSTPERHR = 50,
    ADDLSETUPTIME = 2;
UPDATE BINDERYSELECTIONS SET RUNS = 1, PCTOFRUN = 50;
)sql"));
    auto engine = openEstimator(shop);

    // 8.5 x 1000 pieces x 1 set-up x 0.5 of the run x 2 / 1000 = 8.50, plus the run 1000 x 50 / 2000 = 25.
    EXPECT_NEAR(runBindery(*engine), 33.5, kCent);
    EXPECT_EQ(row(1).percentOfRun, 100);
    EXPECT_EQ(row(1).runs, 1);
    EXPECT_DOUBLE_EQ(row(1).setupMinutes, 30);     // set-up 25.00 x 60 / 50
    EXPECT_NEAR(row(1).totalMinutes, 40.2, kCent); // 33.50 x 60 / 50
}

TEST_F(BinderyTest, StitcherOfABookIsReportedWithItsPageCost)
{
    TestDatabase shop(shopSql(binderySql(7, 7, "Saddle stitcher") + selectionSql(10, 7) + R"sql(
UPDATE ORDERS SET PRODUCTIONTYPE = 1, PRESSSIGNATURES = 3, PRESSPAGES = 48, PRESSNUMUPPARENTSHT = 1;
UPDATE BINDERIES SET MULTIBINDERFILEFLAG = 1, PAGESFLAG = 1, MINSPEED = 3000, MAXSPEED = 3000,
    MINSPOILAGE = 1, MAXSPOILAGE = 1, SETUPTIME = 20, ADDLSETUPTIME = 5, FIXEDWASTE = 10;
UPDATE BINDERYSELECTIONS SET SETUPS = 3;
)sql"));
    auto engine = openEstimator(shop);

    // Set-up 140.00 and run 162.133333 (see the stitcher table of the operation tests).
    EXPECT_NEAR(runBindery(*engine), 302.133333333, kCent);
    EXPECT_DOUBLE_EQ(row(1).setupMinutes, 140);    // 140.00 x 60 / 60
    EXPECT_EQ(row(1).waste, 10);
}

TEST_F(BinderyTest, WeighedAndDeliveredWorkAddUp)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "10 LB BUNDLES") + binderySql(8, 8, "20 LB BOXES") +
                              selectionSql(10, 1) + selectionSql(11, 8) + R"sql(
UPDATE ORDERS SET STOCKID = 12, STOCKWT1000 = 200;
UPDATE BINDERIES SET WTBASEDFILEFLAG = 1, MINSPEED = 100, MAXSPEED = 100, SETUPTIME = 6, COSTPERHR = 30,
    ADDLRUNTIME = 1.5 WHERE BINDERYID = 1;
UPDATE BINDERIES SET DELIVERYFILEFLAG = 1, MINSPEED = 500, MAXSPEED = 500, COSTPERHR = 40, MINCOST = 0.2,
    ADDLRUNTIME = 2 WHERE BINDERYID = 8;
UPDATE BINDERYSELECTIONS SET SETUPS = 2 WHERE BINDERYSELECTIONID = 11;
)sql"));
    auto engine = openEstimator(shop);

    // Bundling 15.00 and delivery 16.00, worked out in the operation tests.
    EXPECT_NEAR(runBindery(*engine), 31, kCent);
    EXPECT_NEAR(row(1).cost, 15, kCent);
    EXPECT_NEAR(row(2).cost, 16, kCent);
    EXPECT_EQ(row(2).setups, 2);
    EXPECT_NEAR(row(2).totalMinutes, 24, kCent); // 16.00 x 60 / 40
}

struct SignatureCase
{
    const char* why;
    double differenceFactor;
    double cost;
};

void PrintTo(const SignatureCase& c, std::ostream* os) { *os << c.why; }

// Folding 1000 pieces of 3 signatures: the folder is costed for one signature of 1000 pieces (the
// difference factor taken out), 1000 an hour, spoilage 2 %, 5 fixed waste: waste 2 x 1000 / 100 + 5 = 25,
// run (1000 + 25) x 60 / 1000 = 61.50, waste 25 / 4 up x 3 signatures = 18.75. The cut after it works
// on the pieces the folder left, all 3 signatures: pieces x 3 x 60 / 1000.
const SignatureCase kSignatures[] = {
    {"factor 2 within the 4 up is put back: the cut works 2000 pieces", 2, 61.5 + 360},
    {"factor 6 beyond the 4 up stays taken out: the cut works 1000 pieces", 6, 61.5 + 180},
};

class SignatureBinderies : public BinderyTest, public testing::WithParamInterface<SignatureCase>
{
};

TEST_P(SignatureBinderies, CostOneSignatureAndCountEverySignaturesWaste)
{
    const SignatureCase& c = GetParam();
    TestDatabase shop(shopSql(binderySql(5, 5, "Folder") + binderySql(1, 1, "Cutter") + selectionSql(10, 5) +
                              selectionSql(11, 1) + R"sql(
UPDATE BINDERIES SET SIGNATURESFLAG = 1, MINSPOILAGE = 2, MAXSPOILAGE = 2, FIXEDWASTE = 5 WHERE BINDERYID = 5;
UPDATE ORDERS SET PRESSSIGNATURES = 3, PRESSDIFFFRMPRESSSHT = )sql" + std::to_string(c.differenceFactor) + ";"));
    auto engine = openEstimator(shop);

    EXPECT_NEAR(runBindery(*engine), c.cost, kCent) << c.why;
    EXPECT_NEAR(row(1).cost, 61.5, kCent) << c.why;
    EXPECT_EQ(row(1).waste, 19) << c.why; // 18.75
}

INSTANTIATE_TEST_SUITE_P(Bindery, SignatureBinderies, testing::ValuesIn(kSignatures));

// A cut that runs at 1000 an hour for 60.00 an hour: 60.00 for the 1000 pieces.
TEST_F(BinderyTest, FaultInARowAfterTheFirstOperationIsPassedOver)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "Outside cutter") + binderySql(2, 1, "Cutter") +
                              selectionSql(10, 1) + selectionSql(11, 2) +
                              "UPDATE BINDERIES SET COSTPERHR = 0, MINCOST = 25 WHERE BINDERYID = 1;"));
    auto engine = openEstimator(shop);

    // The outside cutter has no hourly rate, so its minutes cannot be worked out; its row still shows
    // its 25.00 minimum charge and the next cut is costed as usual.
    EXPECT_DOUBLE_EQ(runBindery(*engine), 85);
    EXPECT_DOUBLE_EQ(row(1).cost, 25);
    EXPECT_EQ(row(1).totalMinutes, 0);
    EXPECT_EQ(row(1).totalTimeText.str(), "000:00    ");
    EXPECT_EQ(row(1).description.str(), "OUTSIDE CUTTER           ");
    EXPECT_DOUBLE_EQ(row(2).cost, 60);
    EXPECT_DOUBLE_EQ(totals().totalMinutes, 60);
    EXPECT_DOUBLE_EQ(engine->ResBindMinutes(), 60);
}

// A stitcher set to no speed cannot be costed (its run divides by the speed). After the first counted
// operation the walk still finishes, with every row written, but the quantity is not priced: the
// stitcher's row would repeat the cutter's 60.00 in the bindery cost.
TEST_F(BinderyTest, FaultInALaterOperationLeavesTheQuantityUnpriced)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + binderySql(7, 7, "Broken stitcher") +
                              binderySql(2, 1, "Trimmer") + selectionSql(10, 1) + selectionSql(11, 7) +
                              selectionSql(12, 2) + R"sql(
UPDATE BINDERIES SET MULTIBINDERFILEFLAG = 1, MINSPEED = 0, MAXSPEED = 0 WHERE BINDERYID = 7;
UPDATE BINDERIES SET COSTPERHR = 30 WHERE BINDERYID = 2;
)sql"));
    auto engine = openEstimator(shop);

    EXPECT_THAT([&] { runBindery(*engine); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::DivisionByZero)));
    EXPECT_EQ(m_context.binderyRows[1].size(), 4u); // three operations counted
    EXPECT_DOUBLE_EQ(row(1).cost, 60);                    // 1000 x 60 / 1000
    EXPECT_DOUBLE_EQ(row(3).cost, 30);                    // 1000 x 30 / 1000
    EXPECT_DOUBLE_EQ(row(2).cost, 60); // the cutter's figure, never its own: hence no price
}

TEST_F(BinderyTest, FaultBeforeTheFirstOperationEndsTheEstimate)
{
    TestDatabase shop(shopSql(binderySql(7, 7, "Broken stitcher") + binderySql(1, 1, "Cutter") +
                              selectionSql(9, 77) + selectionSql(10, 7) + selectionSql(11, 1) +
                              "UPDATE BINDERIES SET MULTIBINDERFILEFLAG = 1, MINSPEED = 0, MAXSPEED = 0 "
                              "WHERE BINDERYID = 7;"));
    auto engine = openEstimator(shop);

    // The missing bindery 77 is passed over without counting, so the stitcher is still the first.
    EXPECT_THAT([&] { runBindery(*engine); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::DivisionByZero)));
    EXPECT_EQ(engine->ResBindCost(), 0);
    EXPECT_EQ(totals().cost, 0);
    EXPECT_TRUE(m_context.binderyRows[1].empty());
}

// BINDERYID, SHEETSIZE and the bindery's BINDERYCATEGORYID are read as plain values: a Null is "Invalid
// use of Null" and a text that is no number (an empty one too) "Type mismatch", never an operation on
// sheet size 0, a bindery dropped from the price or a category left out of it. Before the first counted
// operation the fault ends the estimate at once; after it, the walk finishes with the operations before
// it keeping their rows, and the fault ends the estimate then.
TEST_F(BinderyTest, ANullOrAStrayTextInAPlainColumnIsAFaultNeverAZero)
{
    struct Case
    {
        const char* table; // the bad selection's row, or its bindery's (bindery 2)
        const char* assignment;
        int fault;
    };
    const Case cases[] = {
        {"BINDERYSELECTIONS", "BINDERYID = NULL", platform::fault::InvalidUseOfNull},
        {"BINDERYSELECTIONS", "BINDERYID = 'one'", platform::fault::TypeMismatch},
        {"BINDERYSELECTIONS", "SHEETSIZE = NULL", platform::fault::InvalidUseOfNull},
        {"BINDERYSELECTIONS", "SHEETSIZE = 'press'", platform::fault::TypeMismatch},
        {"BINDERIES", "BINDERYCATEGORYID = NULL", platform::fault::InvalidUseOfNull},
        {"BINDERIES", "BINDERYCATEGORYID = ''", platform::fault::TypeMismatch},
        {"BINDERIES", "BINDERYCATEGORYID = 'cut'", platform::fault::TypeMismatch},
    };
    for (const Case& c : cases) {
        for (const bool afterACountedOne : {false, true}) {
            SCOPED_TRACE(std::string(c.table) + ": " + c.assignment + (afterACountedOne ? ", second" : ", first"));
            const int bad = afterACountedOne ? 11 : 9;
            const std::string where = std::string(c.table) == "BINDERIES"
                                          ? " WHERE BINDERYID = 2;"
                                          : " WHERE BINDERYSELECTIONID = " + std::to_string(bad) + ";";
            TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + binderySql(2, 1, "Cutter") +
                                      selectionSql(9, afterACountedOne ? 1 : 2) + selectionSql(10, 1) +
                                      selectionSql(11, afterACountedOne ? 2 : 1) + "UPDATE " + c.table + " SET " +
                                      c.assignment + where));
            auto engine = openEstimator(shop);
            EXPECT_THAT([&] { runBindery(*engine); },
                        Throws<platform::Fault>(Property(&platform::Fault::number, c.fault)));
            if (!afterACountedOne) {
                EXPECT_TRUE(m_context.binderyRows[1].empty());
                continue;
            }
            EXPECT_DOUBLE_EQ(row(1).cost, 60); // 1000 x 60 / 1000, before the bad row
            EXPECT_DOUBLE_EQ(row(2).cost, 60);
        }
    }
}

// A selection's BINDERYID is looked up as stored: 1.6 or 2147483648 name no bindery, so the selection is
// passed over as for a deleted machine, never rounded to the trimmer (bindery 2, 30.00) nor an overflow.
TEST_F(BinderyTest, ABinderyIdThatNamesNoBinderyIsPassedOver)
{
    for (const char* id : {"1.6", "2147483648", "-0.4"}) {
        SCOPED_TRACE(id);
        TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + binderySql(2, 1, "Trimmer") + selectionSql(10, 1) +
                                  selectionSql(11, 2) + selectionSql(12, 2) +
                                  "UPDATE BINDERIES SET COSTPERHR = 30 WHERE BINDERYID = 2;\n"
                                  "UPDATE BINDERYSELECTIONS SET BINDERYID = " + id +
                                  " WHERE BINDERYSELECTIONID = 11;"));
        auto engine = openEstimator(shop);
        EXPECT_DOUBLE_EQ(runBindery(*engine), 60 + 30);
        EXPECT_EQ(m_context.binderyRows[1].size(), 3u); // two operations counted
        EXPECT_EQ(row(2).description.str(), "TRIMMER                  ");
    }
}

// A field of an operation's row that no price is worked out from may fail without the quantity being
// left out: the field keeps its old value and the operation is priced as costed. 32768 does not fit the
// row's 16-bit set-ups, runs or share of the run; the price multiplies by them all the same.
TEST_F(BinderyTest, AFieldOnlyTheReportShowsNeverLeavesTheQuantityUnpriced)
{
    struct Case
    {
        const char* assignment;
        double cost;
    };
    const Case cases[] = {
        {"SETUPS = 32768", 60},                    // no set-up time: the run alone
        {"RUNS = 32767.5", 60 * 32768.5},          // the run 32768.5 times
        {"PCTOFRUN = 3276800", 60 * 32768.0},      // 32768 times the run
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment);
        TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + selectionSql(10, 1) +
                                  "UPDATE BINDERYSELECTIONS SET " + c.assignment + ";"));
        auto engine = openEstimator(shop);
        EXPECT_NEAR(runBindery(*engine), c.cost, kCent);
        EXPECT_NEAR(row(1).cost, c.cost, kCent);
        EXPECT_NEAR(totals().cost, c.cost, kCent);
        EXPECT_EQ(row(1).description.str(), "CUTTER                   ");
    }
}

// A quantity the bindery cannot price says which operation (its bindery's name) and which figure failed,
// whether the fault ends the estimate at once or after the walk.
TEST_F(BinderyTest, AFaultNamesTheOperationAndTheFigure)
{
    struct Case
    {
        const char* name;
        std::string shop;
        int fault;
        const char* text;
    };
    const Case cases[] = {
        {"padding without the thickness flag on a caliper of 0",
         binderySql(3, 3, "Padder") + selectionSql(10, 3) + "UPDATE ORDERS SET STOCKCALIPER = 0;",
         platform::fault::DivisionByZero, "Division by zero in the padding charge of bindery operation \"Padder\""},
        {"a stitcher with no speed after a cut",
         binderySql(1, 1, "Cutter") + binderySql(7, 7, "Broken stitcher") + selectionSql(10, 1) + selectionSql(11, 7) +
             "UPDATE BINDERIES SET MULTIBINDERFILEFLAG = 1, MINSPEED = 0, MAXSPEED = 0 WHERE BINDERYID = 7;",
         platform::fault::DivisionByZero,
         "Division by zero in the set-up and run cost of bindery operation \"Broken stitcher\""},
        {"a category that is no number",
         binderySql(1, 1, "Cutter") + selectionSql(10, 1) + "UPDATE BINDERIES SET BINDERYCATEGORYID = 'cut';",
         platform::fault::TypeMismatch, "Type mismatch in the category of bindery operation \"Cutter\""},
        {"a nameless bindery",
         binderySql(3, 3, "") + selectionSql(10, 3) + "UPDATE ORDERS SET STOCKCALIPER = 0;",
         platform::fault::DivisionByZero, "Division by zero in the padding charge of bindery operation (rec # 3)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase shop(shopSql(c.shop));
        auto engine = openEstimator(shop);
        EXPECT_THAT([&] { runBindery(*engine); },
                    Throws<platform::Fault>(AllOf(Property(&platform::Fault::number, c.fault),
                                                  testing::ResultOf([](const platform::Fault& f) { return std::string(f.what()); },
                                                                    std::string(c.text)))));
    }
}

TEST_F(BinderyTest, OrderWithoutBinderyWorkLeavesTheResults)
{
    TestDatabase shop(shopSql());
    auto engine = openEstimator(shop);
    m_context.summary[1].binderyCost = 99;

    EXPECT_EQ(runBindery(*engine), 0);
    EXPECT_EQ(m_context.summary[1].binderyCost, 99);
    EXPECT_TRUE(engine->BinderyRows()[1].empty());
}

// Selections whose binderies were all deleted count no operation: no bindery work, not a division by
// zero in the average spoilage.
TEST_F(BinderyTest, SelectionsWithoutBinderiesAreNoBinderyWork)
{
    TestDatabase shop(shopSql(selectionSql(10, 77) + selectionSql(11, 78)));
    auto engine = openEstimator(shop);
    m_context.summary[1].binderyCost = 99;

    EXPECT_EQ(runBindery(*engine), 0);
    EXPECT_EQ(totals().averageSpoilagePercent, 0);
    EXPECT_EQ(totals().totalTimeText.str(), "000:00    ");
    EXPECT_EQ(m_context.summary[1].binderyCost, 0);
    EXPECT_EQ(m_context.summary[1].binderyHoursText.str(), "000:00");
    EXPECT_EQ(engine->BinderyRows()[1].size(), 1u); // the unused slot 0 only
}

// The window gets its events after every selection (counted or not) and after every row copied back.
TEST_F(BinderyTest, WindowEventsRunAfterEachSelectionAndCopiedRow)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "Cutter") + selectionSql(10, 1) + selectionSql(11, 77) +
                              selectionSql(12, 1)));
    auto engine = openEstimator(shop);

    int yields = 0;
    m_context.hooks.yield = [&yields] { ++yields; };
    runBindery(*engine);
    m_context.hooks.yield = {};

    EXPECT_EQ(yields, 3 + 2); // three selections, two rows
}

} // namespace
} // namespace bindery_test
