#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "tests/estimator/EngineTestSupport.h"

namespace {

using enginetest::Area;
using enginetest::kNoDepartment;
using estimator::cEstimator;
using testing::Property;
using testing::Throws;

// Job D1/1 at 2500 pieces: 1 signature, 1 up, 1 out of the parent, 2500 parent sheets at 40.00 a
// thousand (no breaks set, so break 3 applies) = 100.00, no markup. A quote of the same number exists
// so the key's third part matters.
const char* const kDriverShop = R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRESSSIGNATURES, PRESSDIFFFRMPRESSSHT,
    PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, STOCKID, STOCKCOST3, ACCTNAME)
VALUES ('D1', 1, 'J', 2500, 1, 1, 1, 1, 12, 40, 'Harbour Deli'),
       ('D1', 1, 'Q', 9999, 1, 1, 1, 1, 12, 40, 'Quote side');
)sql";

class EstimateDriver : public enginetest::EngineTest
{
protected:
    bool checksReportDatabase() const override { return true; }
    std::string reportFile() const { return m_programFolder.path() + "/VMestrpt.mdb"; }
};

TEST_F(EstimateDriver, ResultsStartAtZero)
{
    const cEstimator engine(m_context);
    EXPECT_EQ(engine.ResStockCost(), 0);
    EXPECT_EQ(engine.ResStockRetail(), 0);
    EXPECT_EQ(engine.ResPrePressCost(), 0);
    EXPECT_EQ(engine.ResPrePressMinutes(), 0);
    EXPECT_EQ(engine.ResBindCost(), 0);
    EXPECT_EQ(engine.ResPressCost(), 0);
    EXPECT_EQ(engine.ResInkRetail(), 0);
    EXPECT_EQ(engine.EstRetail(), 0);
    EXPECT_EQ(engine.EstHrs(), 0);
    EXPECT_EQ(engine.Price1000(), 0);
    EXPECT_EQ(engine.VendorCost(), 0);
    EXPECT_EQ(engine.PressSheetsToOrder(), 0);
    EXPECT_EQ(engine.OrderNo(), "");
    EXPECT_EQ(engine.PartNo(), 0);
}

TEST_F(EstimateDriver, KeysAreStoredAsGivenAndShared)
{
    cEstimator engine(m_context);
    engine.DataFile("/shop/vmdata.mdb");
    engine.QuoteOrJob("Q");
    engine.OrderNo(" 1001 ");
    engine.PartNo(-2);
    EXPECT_EQ(engine.QuoteOrJob(), "Q");
    EXPECT_EQ(engine.OrderNo(), " 1001 ");
    EXPECT_EQ(engine.PartNo(), -2);
    EXPECT_EQ(m_context.dataFile, "/shop/vmdata.mdb");
    EXPECT_EQ(m_context.quoteOrJob, "Q");
}

TEST_F(EstimateDriver, FirstCallLoadsTheQuantityIntoSlotOne)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    EXPECT_NEAR(engine.Estimate(Area::Stock, 1, 0), 100.00, 1e-9); // 2500 x 40 / 1000
    EXPECT_EQ(summary(1).quantity, 2500);
    EXPECT_EQ(summary(2).quantity, 0);
    EXPECT_EQ(summary(3).quantity, 0);
    EXPECT_EQ(summary(4).quantity, 0);
    EXPECT_EQ(trimmed(summary(1).accountName.str()), "Harbour Deli"); // the job row, not the quote
}

TEST_F(EstimateDriver, LaterCallsSeeTheQuantityWrittenSince)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    engine.Estimate(Area::Stock, 1, 0);
    db.exec("UPDATE ORDERS SET PRESSQTY = 4000 WHERE QUOTEORJOB = 'J';");
    EXPECT_NEAR(engine.Estimate(Area::Stock, 1, 0), 160.00, 1e-9); // 4000 x 40 / 1000
    EXPECT_EQ(summary(1).quantity, 4000);
}

TEST_F(EstimateDriver, KeysAreReadOnlyAtTheFirstCall)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    engine.Estimate(Area::Stock, 1, 0);
    engine.QuoteOrJob("Q"); // the quote is at 9999 pieces; the object stays on the job
    EXPECT_NEAR(engine.Estimate(Area::Stock, 1, 0), 100.00, 1e-9);
}

TEST_F(EstimateDriver, SummaryIsClearedAtTheStartOfAPricingRun)
{
    testsupport::TestDatabase db(kDriverShop);
    summary(1).totalRetail = 99;
    summary(3).binderyCost = 7;
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    engine.Estimate(Area::PrePress, 1, 0); // a first call clears, whatever the area
    EXPECT_EQ(summary(1).totalRetail, 0);
    EXPECT_EQ(summary(3).binderyCost, 0);

    summary(1).totalRetail = 5;
    engine.Estimate(Area::PrePress, 1, 0); // a later pre-press call keeps the run's figures
    EXPECT_EQ(summary(1).totalRetail, 5);
    engine.Estimate(Area::Stock, 2, 0); // stock at another slot: not the start of a run
    EXPECT_EQ(summary(1).totalRetail, 5);
    engine.Estimate(Area::Stock, 1, 0); // stock at slot 1 starts a new run
    EXPECT_EQ(summary(1).totalRetail, 0);
}

TEST_F(EstimateDriver, MissingOrderRowPricesNothing)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "NOSUCH");
    EXPECT_EQ(engine.Estimate(Area::Stock, 1, 0), 0);
    EXPECT_EQ(trimmed(summary(1).orderNumber.str()), ""); // the summary is not refreshed
    EXPECT_FALSE(m_context.reportDatabaseChecked);
    EXPECT_FALSE(std::filesystem::exists(reportFile()));

    // The row appearing later does not move the object: it stays unpriced and touches nothing.
    db.exec("INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY) VALUES ('NOSUCH', 1, 'J', 1000);");
    EXPECT_EQ(engine.Estimate(Area::Stock, 1, 0), 0);
    EXPECT_EQ(engine.Estimate(Area::Press, 1, 1), 0);
    EXPECT_EQ(engine.ResStockCost(), 0);
}

TEST_F(EstimateDriver, ZeroQuantityPricesNothing)
{
    testsupport::TestDatabase db(kDriverShop);
    db.exec("UPDATE ORDERS SET PRESSQTY = 0;");
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    EXPECT_EQ(engine.Estimate(Area::Stock, 1, 0), 0);
    EXPECT_EQ(engine.ResStockCost(), 0);
    EXPECT_EQ(trimmed(summary(1).orderNumber.str()), "");
    EXPECT_FALSE(m_context.reportDatabaseChecked);
}

TEST_F(EstimateDriver, OtherSlotsHaveNoQuantity)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    EXPECT_EQ(engine.Estimate(Area::Stock, 2, 0), 0);
    EXPECT_EQ(engine.ResStockCost(), 0);
    EXPECT_EQ(summary(1).quantity, 2500);
    EXPECT_EQ(trimmed(summary(2).orderNumber.str()), "");
}

TEST_F(EstimateDriver, SlotOutsideOneToFourIsASubscriptFault)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    for (std::int16_t slot : {0, 5, -1}) {
        EXPECT_THAT([&] { engine.Estimate(Area::Stock, slot, 0); },
                    Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::SubscriptOutOfRange)))
            << "slot " << slot;
    }
    // The quantity was loaded before the fault; a good slot still prices.
    EXPECT_EQ(summary(1).quantity, 2500);
    EXPECT_NEAR(engine.Estimate(Area::Stock, 1, 0), 100.00, 1e-9);
}

TEST_F(EstimateDriver, BinderyWithCountZeroOnlyRefreshesTheSummary)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    engine.Estimate(kNoDepartment, 1, 0);
    m_context.binderyTotals[2].cost = 12;
    m_context.binderyRows[1].emplace_back();
    summary(1).orderNumber = "";
    EXPECT_EQ(engine.Estimate(Area::Bindery, 1, 0), 0);
    EXPECT_EQ(trimmed(summary(1).orderNumber.str()), "D1");
    // A bindery pass at slot 1 starts from empty process-wide rows and totals.
    EXPECT_EQ(m_context.binderyTotals[2].cost, 0);
    EXPECT_TRUE(m_context.binderyRows[1].empty());
}

TEST_F(EstimateDriver, UnknownAreaPricesNothingButRefreshesTheSummary)
{
    testsupport::TestDatabase db(kDriverShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    EXPECT_EQ(engine.Estimate(kNoDepartment, 1, 0), 0);
    EXPECT_EQ(engine.Estimate(static_cast<Area>(-1), 1, 0), 0);
    EXPECT_EQ(summary(1).orderNumber.str(), "D1      ");
    EXPECT_EQ(engine.ResStockCost(), 0);
    EXPECT_TRUE(m_context.reportDatabaseChecked);
}

TEST_F(EstimateDriver, OrderNumberWithAnApostropheIsPriced)
{
    testsupport::TestDatabase db(R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRESSSIGNATURES, PRESSDIFFFRMPRESSSHT,
    PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, STOCKID, STOCKCOST3)
VALUES ('O''Neil', 1, 'J', 1000, 1, 1, 1, 1, 12, 40), ('x'' OR ''1''=''1', 1, 'J', 5000, 1, 1, 1, 1, 12, 40);
)sql");
    cEstimator engine(m_context);
    pointAt(engine, db, "O'Neil");
    EXPECT_NEAR(engine.Estimate(Area::Stock, 1, 0), 40.00, 1e-9); // 1000 x 40 / 1000
    EXPECT_EQ(trimmed(summary(1).orderNumber.str()), "O'Neil");

    // A key that reads like SQL is only a key: it finds its own row and nothing else.
    startNewRun();
    cEstimator other(m_context);
    pointAt(other, db, "x' OR '1'='1");
    EXPECT_NEAR(other.Estimate(Area::Stock, 1, 0), 200.00, 1e-9);
    EXPECT_EQ(summary(1).quantity, 5000);
}

TEST_F(EstimateDriver, MissingDatabaseFileIsAFault)
{
    testsupport::TemporaryFolder empty;
    cEstimator engine(m_context);
    engine.DataFile(empty.path() + "/vmdata.mdb");
    engine.OrderNo("D1");
    engine.PartNo(1);
    engine.QuoteOrJob("J");
    EXPECT_THROW(engine.Estimate(Area::Stock, 1, 0), platform::Fault);
    EXPECT_FALSE(std::filesystem::exists(empty.path() + "/vmdata.mdb")); // opening never creates one
}

TEST_F(EstimateDriver, FaultingOrderQueryIsReportedAgainNotSilenced)
{
    // A shop database without an ORDERS table: every call is a database fault, none a quiet 0.
    testsupport::TestDatabase db("CREATE TABLE OTHER (X INTEGER);", false);
    cEstimator engine(m_context);
    pointAt(engine, db, "D1");
    EXPECT_THROW(engine.Estimate(Area::Stock, 1, 0), platform::Fault);
    EXPECT_THROW(engine.Estimate(Area::Stock, 1, 0), platform::Fault);
}

// The engine reaches its user only through its context's hooks: each is called when set, and without them
// a yield does nothing and a message goes to stderr with its title.
TEST(EngineHooks, CallTheHookSetOrFallBack)
{
    estimator::EngineHooks hooks;
    testing::internal::CaptureStderr();
    hooks.yieldEvents();
    hooks.showMessage("Could not create report work file.", "Orvelle Estimator Module");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Orvelle Estimator Module: Could not create report work file.\n");

    int yields = 0;
    std::vector<std::string> shown;
    hooks.yield = [&] { ++yields; };
    hooks.message = [&](const std::string& text, const std::string& title) { shown.push_back(title + "|" + text); };
    hooks.yieldEvents();
    hooks.yieldEvents();
    hooks.showMessage("text", "title");
    EXPECT_EQ(yields, 2);
    EXPECT_THAT(shown, testing::ElementsAre("title|text"));
}

} // namespace
