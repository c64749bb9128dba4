#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "tests/estimator/EngineTestSupport.h"

namespace {

using enginetest::Area;
using estimator::cEstimator;

// The demo shop's stock, pre-press and outside-service figures at each order's own press quantity.
//
// Shop markups: 'Stock' 30, 'Stock (minimum)' 20, 'Stock (maximum)' 40, so a stock without its own
// STOCKMARKUP row is marked up by their average (30 + 20 + 40) / 3 = 30 %; stock 5 (carbonless) has its
// own 25 %. Pre-press 'Pre-Press:' 25 % (factor 1.25).
//
// Press sheets = signatures x quantity x factor / number up; parent sheets = press sheets / number out
// of the parent; the break-2 and break-3 sheet counts are STOCKIND2 and STOCKIND3 x STOCK1000CTN x 1000.
struct DemoCase
{
    const char* orderNo;
    const char* quoteOrJob;
    double stockCost, stockRetail;
    double prePressCost, prePressRetail, prePressMinutes;
};

const DemoCase kDemoOrders[] = {
    // 24101 letterhead: 2500 press sheets, 4 out: 625 parents; break 2 = 1 x 2.5 x 1000 = 2500 not
    // reached: 625 x 68.00 / 1000 = 42.50; x 1.30 = 55.25. No pre-press.
    {"24101", "Q", 42.50, 55.25, 0, 0, 0},
    // 24102 brochure: 5000 / 4 up = 1250 press sheets, 2 out: 625 parents; break 2 = 1000 not reached:
    // 625 x 245.00 / 1000 = 153.125; x 1.30 = 199.0625.
    // Pre-press: preflight 35.00 as cost (retail 43.75, 30 min); match print 60.00 as retail (cost
    // 60 / 1.25 = 48.00, 20 min). Scans: 3 colour scans 4 X 5 at 15.00 = 45.00, 3 x 8 min + 12 / 72 x 60
    // = 34 min; 1 drum scan 4 X 5 at 0.35 a square inch = 5 x 4 x 0.35 = 7.00, 15 + 24 / 72 x 60 = 35 min.
    // Cost 35 + 48 + 45 + 7 = 135.00; retail 43.75 + 60 + 1.25 x 52 = 168.75; 30 + 20 + 69 = 119 min.
    {"24102", "Q", 153.125, 199.0625, 135.00, 168.75, 119},
    // 24103 carbonless forms: 1000 press sheets, 4 out: 250 parents at 118.00 = 29.50; stock 5's own
    // 25 %: 36.875. Typesetting 35.00 as cost: retail 43.75, 45 min.
    {"24103", "J", 29.50, 36.875, 35.00, 43.75, 45},
    // 24104 booklet: 2 signatures x 2000 = 4000 press sheets, 2 out: 2000 parents = break 2
    // (1 x 2.0 x 1000) exactly, below break 3 (8000): 2000 x 83.50 / 1000 = 167.00; x 1.30 = 217.10.
    // Pre-press: typesetting 240.00 cost (300.00, 240 min); preflight 25.00 cost (31.25, 20 min); match
    // print 45.00 retail (cost 36.00, 15 min). Camera: 4 halftones 4 X 5 at 0.05 a square inch =
    // 4 x 5 x 4 x 0.05 = 4.00, 4 x 4 + 15 / 60 x 60 = 31 min; 2 line negatives 8 X 10 at 6.50 = 13.00,
    // 2 x 5 + 10 = 20 min. Cost 240 + 25 + 36 + 17 = 318.00; retail 376.25 + 1.25 x 17 = 397.50;
    // 275 + 51 = 326 min.
    {"24104", "J", 167.00, 217.10, 318.00, 397.50, 326},
    // O'NEIL-01 folders: 500 press sheets, 1 out: 500 parents at 265.00 = 132.50; x 1.30 = 172.25.
    // Design 150.00 as retail: cost 120.00, 120 min.
    {"O'NEIL-01", "Q", 132.50, 172.25, 120.00, 150.00, 120},
    // 24105 business cards: 2000 / 20 up = 100 press sheets = 100 parents at 395.00 = 39.50; 51.35.
    // Preflight 15.00 cost: retail 18.75, 15 min.
    {"24105", "J", 39.50, 51.35, 15.00, 18.75, 15},
    // 24106 postcards bought in: no stock prices on the order, so break 3 (0 sheets) applies at a
    // price of 0: nothing. Design 85.00 as retail: cost 68.00, 60 min.
    {"24106", "Q", 0, 0, 68.00, 85.00, 60},
    // 24107 scratch pads: 5000 / 2 up = 2500 press sheets, 4 out: 625 parents at 52.00 = 32.50; 42.25.
    {"24107", "J", 32.50, 42.25, 0, 0, 0},
};

class DemoOrders : public enginetest::EngineTest
{
};

TEST_F(DemoOrders, StockAndPrePressToTheCent)
{
    testsupport::TestDatabase db(testsupport::demoShopSql(), false);
    for (const DemoCase& c : kDemoOrders) {
        SCOPED_TRACE(c.orderNo);
        cEstimator engine(m_context); // one estimator per quantity, as the pricing run does it
        pointAt(engine, db, c.orderNo, 1, c.quoteOrJob);
        EXPECT_NEAR(engine.Estimate(Area::Stock, 1, 0), c.stockCost, 1e-9);
        EXPECT_NEAR(engine.ResStockRetail(), c.stockRetail, 1e-9);
        EXPECT_NEAR(engine.Estimate(Area::PrePress, 1, 0), c.prePressCost, 1e-9);
        EXPECT_NEAR(engine.ResPrePressRetail(), c.prePressRetail, 1e-9);
        EXPECT_NEAR(engine.ResPrePressMinutes(), c.prePressMinutes, 1e-9);
    }
}

struct VendorDemoCase
{
    const char* orderNo;
    std::int16_t level;
    double cost, retail;
};

const VendorDemoCase kDemoVendors[] = {
    // O'NEIL-01: die-cut and glue 185.00 at 25 % and the cutting die 145.00 at 0 %:
    // 330.00; 185 x 1.25 + 145 = 376.25.
    {"O'NEIL-01", 1, 330.00, 376.25},
    // Level 2: 260 + 145 = 405.00; 260 x 1.25 + 145 = 470.00.
    {"O'NEIL-01", 2, 405.00, 470.00},
    // Level 4: 610 + 145 = 755.00; 762.50 + 145 = 907.50.
    {"O'NEIL-01", 4, 755.00, 907.50},
    // 24106: gang printing 420.00 at 35 %, mail house 275.00 at 15 %, postage 1425.00 at cost:
    // 2120.00; 567.00 + 316.25 + 1425.00 = 2308.25.
    {"24106", 1, 2120.00, 2308.25},
    // Level 2: 610 + 400 + 2850 = 3860.00; 823.50 + 460.00 + 2850.00 = 4133.50.
    {"24106", 2, 3860.00, 4133.50},
    // 24101 buys nothing outside.
    {"24101", 1, 0, 0},
};

TEST_F(DemoOrders, OutsideServicesToTheCent)
{
    testsupport::TestDatabase db(testsupport::demoShopSql(), false);
    for (const VendorDemoCase& c : kDemoVendors) {
        SCOPED_TRACE(std::string(c.orderNo) + " level " + std::to_string(c.level));
        cEstimator engine(m_context);
        pointAt(engine, db, c.orderNo, 1, "Q");
        engine.Estimate(Area::Stock, 1, 0);
        std::int16_t level = c.level;
        EXPECT_NEAR(engine.EstimateVendor(level), c.cost, 1e-9);
        EXPECT_NEAR(engine.VendorRetail(), c.retail, 1e-9);
    }
}

TEST_F(DemoOrders, BrochureInksArePrintedAsProcess)
{
    testsupport::TestDatabase db(testsupport::demoShopSql(), false);
    cEstimator engine(m_context);
    pointAt(engine, db, "24102", 1, "Q");
    engine.Estimate(Area::Stock, 1, 0);
    EXPECT_EQ(trimmed(summary(1).inkColours.str()), "Process");
    EXPECT_EQ(trimmed(summary(1).stockText.str()), "25 X 38-100# Gloss Text");
    EXPECT_EQ(summary(1).stockNumber.str(), "0003");
    EXPECT_EQ(summary(1).dueDate.str(), "01/22/2027");
}

TEST_F(DemoOrders, FolderInksAreListed)
{
    testsupport::TestDatabase db(testsupport::demoShopSql(), false);
    cEstimator engine(m_context);
    pointAt(engine, db, "O'NEIL-01", 1, "Q");
    engine.Estimate(Area::Stock, 1, 0);
    EXPECT_EQ(trimmed(summary(1).inkColours.str()), "Reflex Blue, PMS 877");
    EXPECT_EQ(trimmed(summary(1).accountName.str()), "O'Neil & Daughters Realty");
}

} // namespace
