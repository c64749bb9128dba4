#include <cstdint>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "tests/estimator/EngineTestSupport.h"

namespace {

using enginetest::kNoDepartment;
using estimator::cEstimator;

// Order V1/1/Q buys two outside services: die cutting (100.00 at level 1, 180.00 at level 2, 20 %
// markup) and shrink wrap (50.00 and 90.00, no markup); no prices at levels 3 and 4. Another part and
// the job of the same number have services of their own that must not be counted.
const char* const kVendorShop = R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY) VALUES ('V1', 1, 'Q', 1000), ('V2', 1, 'Q', 1000);
INSERT INTO VENDORSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, VENDORNAME, DESCRIPTION, COST, COST2, MARKUP)
VALUES ('V1', 1, 'Q', 'Diecraft', 'Die cutting', 100, 180, 20),
       ('V1', 1, 'Q', 'Wrapco', 'Shrink wrap', 50, 90, 0),
       ('V1', 2, 'Q', 'Diecraft', 'Other part', 999, 999, 0),
       ('V1', 1, 'J', 'Diecraft', 'The job', 999, 999, 0);
)sql";

struct VendorCase
{
    const char* why;
    std::int16_t level;
    double cost;
    double retail;
};

const VendorCase kLevels[] = {
    // 100 + 50 = 150.00; 100 x 1.2 + 50 x 1.0 = 170.00.
    {"level 1 reads COST", 1, 150.00, 170.00},
    // 180 + 90 = 270.00; 180 x 1.2 + 90 = 306.00.
    {"level 2 reads COST2", 2, 270.00, 306.00},
    {"level 0 reads COST", 0, 150.00, 170.00},
    {"negative level reads COST", -3, 150.00, 170.00},
    // COST3 is empty on every row: the sum is Null and reads as 0.
    {"a level without prices", 3, 0, 0},
};

class VendorEstimate : public enginetest::EngineTest
{
};

TEST_F(VendorEstimate, TotalsCostAndRetailAtEachLevel)
{
    testsupport::TestDatabase db(kVendorShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "V1", 1, "Q");
    engine.Estimate(kNoDepartment, 1, 0); // opens the order's connection
    for (const VendorCase& c : kLevels) {
        std::int16_t level = c.level;
        const double returned = engine.EstimateVendor(level);
        EXPECT_NEAR(engine.VendorCost(), c.cost, 1e-9) << c.why;
        EXPECT_NEAR(engine.VendorRetail(), c.retail, 1e-9) << c.why;
        EXPECT_EQ(returned, engine.VendorCost()) << c.why;
        EXPECT_EQ(level, c.level) << "the level is not changed";
    }
}

TEST_F(VendorEstimate, OrderWithoutServicesTotalsNothing)
{
    testsupport::TestDatabase db(kVendorShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "V2", 1, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    std::int16_t level = 1;
    EXPECT_EQ(engine.EstimateVendor(level), 0);
    EXPECT_EQ(engine.VendorCost(), 0);
    EXPECT_EQ(engine.VendorRetail(), 0);
}

TEST_F(VendorEstimate, MissingPriceColumnIsAFaultWithBothTotalsAtZero)
{
    testsupport::TestDatabase db(kVendorShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "V1", 1, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    std::int16_t level = 1;
    engine.EstimateVendor(level);
    ASSERT_NEAR(engine.VendorCost(), 150.00, 1e-9);
    level = 5; // there is no COST5 column
    EXPECT_THROW(engine.EstimateVendor(level), platform::Fault);
    EXPECT_EQ(engine.VendorCost(), 0);
    EXPECT_EQ(engine.VendorRetail(), 0);
}

TEST_F(VendorEstimate, OrderNumberWithAnApostropheIsPricedLikeAnyOther)
{
    testsupport::TestDatabase db(R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY) VALUES ('O''Neil', 1, 'Q', 1000);
INSERT INTO VENDORSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, COST, MARKUP) VALUES ('O''Neil', 1, 'Q', 40, 25);
)sql");
    cEstimator engine(m_context);
    pointAt(engine, db, "O'Neil", 1, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    std::int16_t level = 1;
    EXPECT_NEAR(engine.EstimateVendor(level), 40.00, 1e-9);
    EXPECT_NEAR(engine.VendorRetail(), 50.00, 1e-9); // 40 x 1.25
}

TEST_F(VendorEstimate, WithoutAnOpenOrderItIsAFaultNotACrash)
{
    cEstimator engine(m_context);
    std::int16_t level = 1;
    EXPECT_THROW(engine.EstimateVendor(level), platform::Fault);
    EXPECT_EQ(engine.VendorCost(), 0);
}

} // namespace
