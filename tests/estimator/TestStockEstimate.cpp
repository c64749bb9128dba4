#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "estimator/StockPricing.h"
#include "platform/Fault.h"
#include "tests/estimator/EngineTestSupport.h"

namespace {

using enginetest::Area;
using estimator::cEstimator;

// A two-signature job, 4 up on the press sheet, stock 12 bought in cartons of 500 sheets
// (STOCK1000CTN 0.5) with breaks at 1, 2 and 4 cartons: break 2 is 1000 parent sheets, break 3 2000.
// Prices per thousand parent sheets: 60.00, 48.00, 40.00. Stock 12 carries its own 25 % markup; the
// shop's stock departments average (30 + 10) / 2 = 20 %.
std::string stockShop(const std::string& quantity, const std::string& parentUp, const std::string& stockId = "12",
                      const std::string& breaks = "1, 2, 4")
{
    return "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRESSSIGNATURES, PRESSDIFFFRMPRESSSHT, "
           "PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, STOCKID, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, "
           "STOCKCOST1, STOCKCOST2, STOCKCOST3) VALUES ('S1', 1, 'J', " +
           quantity + ", 2, 1, 4, " + parentUp + ", " + stockId + ", " + breaks +
           ", 0.5, 60, 48, 40);"
           "INSERT INTO STOCKMARKUP (STOCKID, MARKUP) VALUES (12, 25);"
           "INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES ('Stock', 30), ('Stock (minimum)', 10), ('Press', 50);";
}

struct StockCase
{
    const char* why;
    const char* quantity;
    const char* parentUp;
    double cost;
    double retail;
};

const StockCase kStock[] = {
    // 2 x 5000 / 4 = 2500 press sheets, 2 out of a parent: 1250 parents, past break 2 (1000) only:
    // 1250 x 48 / 1000 = 60.00; x 1.25 = 75.00.
    {"between breaks 2 and 3", "5000", "2", 60.00, 75.00},
    // 4000 press sheets, 2000 parents = break 3 exactly (at least): 2000 x 40 / 1000 = 80.00; 100.00.
    {"exactly break 3", "8000", "2", 80.00, 100.00},
    // 1000 parents = break 2 exactly: 1000 x 48 / 1000 = 48.00; 60.00.
    {"exactly break 2", "4000", "2", 48.00, 60.00},
    // 750 parents: below break 2, so the break-1 price: 750 x 60 / 1000 = 45.00; 56.25.
    {"below break 2", "3000", "2", 45.00, 56.25},
    // 2500 / 3 = 833.33 parents, not rounded: 833.33 x 60 / 1000 = 50.00 (833 would give 49.98); 62.50.
    {"fractional parent sheets", "5000", "3", 50.00, 62.50},
    {"no press sheets out of a parent", "5000", "0", 0, 0},
    {"negative number out", "5000", "-2", 0, 0},
};

class StockEstimate : public enginetest::EngineTest
{
};

TEST_F(StockEstimate, PricesParentSheetsAtTheirBreak)
{
    testsupport::TestDatabase db(stockShop("0", "0"));
    for (const StockCase& c : kStock) {
        db.exec(std::string("UPDATE ORDERS SET PRESSQTY = ") + c.quantity +
                ", PRESSNUMUPPARENTSHT = " + c.parentUp + ";");
        cEstimator engine(m_context);
        pointAt(engine, db, "S1");
        const double returned = engine.Estimate(Area::Stock, 1, 0);
        EXPECT_NEAR(engine.ResStockCost(), c.cost, 1e-9) << c.why;
        EXPECT_NEAR(engine.ResStockRetail(), c.retail, 1e-9) << c.why;
        EXPECT_EQ(returned, engine.ResStockCost()) << c.why;
    }
}

TEST_F(StockEstimate, LoaderReadsTheOrdersStockAndItsOwnMarkup)
{
    testsupport::TestDatabase db(stockShop("5000", "2"));
    data::Database connection = data::Database::open(db.path());
    const data::Recordset order = connection.openRecordset("SELECT * FROM ORDERS");
    const estimator::StockInputs in = estimator::loadStock(connection, order, 5000);
    EXPECT_EQ(in.pressSheets, 2500);
    EXPECT_EQ(in.pressSheetsPerParent, 2);
    EXPECT_EQ(in.stockIdText, "0012"); // the bindery looks the stock up by it
    EXPECT_EQ(in.sheetsPerCarton, 0.5);
    EXPECT_EQ(in.break1, 1);
    EXPECT_EQ(in.break3, 4);
    EXPECT_EQ(in.cost3, 40);
    EXPECT_EQ(in.markup, 25);
}

TEST_F(StockEstimate, StockWithoutItsOwnMarkupTakesTheStockDepartmentsAverage)
{
    // Stock 7 has no STOCKMARKUP row: Avg over 'Stock*' = (30 + 10) / 2 = 20 %; 60.00 x 1.2 = 72.00.
    testsupport::TestDatabase db(stockShop("5000", "2", "7"));
    cEstimator engine(m_context);
    pointAt(engine, db, "S1");
    engine.Estimate(Area::Stock, 1, 0);
    EXPECT_NEAR(engine.ResStockCost(), 60.00, 1e-9);
    EXPECT_NEAR(engine.ResStockRetail(), 72.00, 1e-9);
}

TEST_F(StockEstimate, NoMarkupAnywhereSellsAtCost)
{
    testsupport::TestDatabase db(stockShop("5000", "2", "7"));
    db.exec("DELETE FROM MARKUPS;");
    cEstimator engine(m_context);
    pointAt(engine, db, "S1");
    engine.Estimate(Area::Stock, 1, 0);
    EXPECT_NEAR(engine.ResStockCost(), 60.00, 1e-9);
    EXPECT_NEAR(engine.ResStockRetail(), 60.00, 1e-9);
}

TEST_F(StockEstimate, BreakThreeWinsWhenReachedFirst)
{
    // Breaks 2 and 3 at 0: every quantity reaches break 3. 1000 pieces: 500 press sheets, 250 parents,
    // 250 x 40 / 1000 = 10.00; x 1.25 = 12.50.
    {
        testsupport::TestDatabase db(stockShop("1000", "2", "12", "1, 0, 0"));
        cEstimator engine(m_context);
        pointAt(engine, db, "S1");
        engine.Estimate(Area::Stock, 1, 0);
        EXPECT_NEAR(engine.ResStockCost(), 10.00, 1e-9);
        EXPECT_NEAR(engine.ResStockRetail(), 12.50, 1e-9);
    }
    // Break 3 (2 cartons, 1000 sheets) set below break 2 (4 cartons): 1250 parents reach break 3:
    // 1250 x 40 / 1000 = 50.00.
    {
        testsupport::TestDatabase db(stockShop("5000", "2", "12", "1, 4, 2"));
        cEstimator engine(m_context);
        pointAt(engine, db, "S1");
        engine.Estimate(Area::Stock, 1, 0);
        EXPECT_NEAR(engine.ResStockCost(), 50.00, 1e-9);
    }
}

TEST_F(StockEstimate, DatabaseFaultKeepsTheEarlierResults)
{
    testsupport::TestDatabase db(stockShop("5000", "2"));
    cEstimator engine(m_context);
    pointAt(engine, db, "S1");
    engine.Estimate(Area::Stock, 1, 0);
    db.exec("DROP TABLE STOCKMARKUP; UPDATE ORDERS SET PRESSQTY = 8000;");
    EXPECT_THROW(engine.Estimate(Area::Stock, 1, 0), platform::Fault);
    EXPECT_NEAR(engine.ResStockCost(), 60.00, 1e-9);
    EXPECT_NEAR(engine.ResStockRetail(), 75.00, 1e-9);
}

} // namespace
