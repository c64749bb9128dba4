// Job totals: the stock markup curve between the shop's minimum and maximum, department markups, and
// the added-thousand figures at the 999 / 1,000 boundary. The letterhead prints on the steady press
// (4,000 an hour, 3.2 per cent spoilage) with black at 10 per cent and a $100 vendor service.

#include <cmath>
#include <ostream>

#include <gtest/gtest.h>

#include "tests/estimator/press/PressShop.h"

namespace presstest {
namespace {

using estimator::cEstimator;

std::string letterheadShop(const Row& order, const std::string& markups)
{
    return order.insert() + steadyPress().insert() + paperPlate().insert() + markups
           + inkSelection("Q100", "Q", 1, "Black", 10) + colour(1, "Black", 12, 400000)
           + "INSERT INTO VENDORSELECTIONS VALUES ('Q100', 1, 'Q', 'Numbering Co', 'Numbering', 100, 150, 0, 0, "
             "25);\n";
}

// 1,000 pieces, the first quantity that prices an added thousand. P = 1000, U = 2, v = 4000, s = 3.2.
TEST_F(PressShopTest, ThousandPiecesPriceTheAddedThousand)
{
    const ShopDatabase db(letterheadShop(letterheadOrder().num("PRESSQTY", 1000), shopMarkups()));
    cEstimator engine(m_context);
    const double result = price(engine, db, "Q100", "Q");
    const auto& record = summary();

    // T = 3.2 + 20 x 1 x 2 / 1000 x 100 = 7.2. Run 1000 / 4000 / 2 = 0.125 h, $7.50. Spoilage
    // (3.2 / 100 x 500 + 20) / 4000 = 0.009 h, $0.54. Make-ready (6 x 1000 / 5000 + 12) / 60 + 0.3 = 0.52 h,
    // $31.20. Stock: 125 parent sheets at $80 -> 20 x 1 / 2 x 1 = $10; spoiled $0.72. Sheets to order
    // 500 + 36 = 536; black 216 x 536 / 400000 x 10% = 0.028944 lb + 0.25 fountain, $3.347328.
    EXPECT_NEAR(record.totalSpoilagePercent, 7.2, 1e-12);
    EXPECT_EQ(record.pressSheetsToOrder, 536);
    EXPECT_NEAR(record.blackInkCost, 3.347328, 1e-12);
    // 7.50 + 0.54 + 31.20 + 40 pre-press + 10 + 0.72 + 8 plate + 15 washup + 3.347328 + 100 vendor.
    EXPECT_NEAR(result, 216.307328, 1e-9);
    EXPECT_NEAR(record.totalCost, 216.307328, 1e-9);
    // Stock markup: basis 500 sheets; (1 - 20 x Atn(0.1) / 100) x 40 = 39.2026508.
    EXPECT_NEAR(record.stockMarkup, 0.39202650780070705, 1e-12);
    // Retail: press part 216.307328 - 100 - 40 - 10 - 0.72 = 65.587328 x 1.5 = 98.380992; + 1.3 x 40 = 52;
    // + 10.72 x 1.3920265 = 14.922524; + 1.15 x 100 = 115 -> 280.303516.
    EXPECT_NEAR(record.totalRetail, 280.3035161636236, 1e-9);
    EXPECT_NEAR(record.pricePerThousand, 280.3035161636236, 1e-9);
    // Cost: (0.52 - 1 x 12 / 60) x 60 + 7.50 = 26.70; + (0.54 + 0.72) x 3.2 / 7.2 + 10 = 37.26; + 3.347328;
    // x 1000 / 1000 + 100 x 1000 / 1000 = 140.607328.
    EXPECT_NEAR(record.costPerAddedThousand, 140.607328, 1e-9);
    // Retail: 26.70 + 3.2 x 0.54 / 7.2 + 3.347328 = 30.287328 x 1.5 = 45.430992; + (3.2 x 0.72 / 7.2 + 10)
    // x 1.3920265 = 14.365714; + 1.15 x 100 = 174.796706.
    EXPECT_NEAR(record.retailPerAddedThousand, 174.79670556050328, 1e-9);
    // The vendor's level-1 cost was fetched last; the retail is at the Outside Services markup, not the
    // service's own 25 per cent.
    EXPECT_NEAR(engine.VendorCost(), 100.0, 1e-12);
    EXPECT_NEAR(engine.VendorRetail(), 115.0, 1e-12);
    EXPECT_EQ(record.impressions, 500);
}

TEST_F(PressShopTest, NineHundredNinetyNinePiecesHaveNoAddedThousand)
{
    const ShopDatabase db(letterheadShop(letterheadOrder().num("PRESSQTY", 999), shopMarkups()));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_DOUBLE_EQ(summary().costPerAddedThousand, 0.0);
    EXPECT_DOUBLE_EQ(summary().retailPerAddedThousand, 0.0);
    // 280.2753237 x 1000 / 999.
    EXPECT_NEAR(summary().totalRetail, 280.2753237280512, 1e-9);
    EXPECT_NEAR(summary().pricePerThousand, 280.5558796076589, 1e-9);
    // Impressions 999 x 1 / 2 = 499.5, rounded half to even.
    EXPECT_EQ(summary().impressions, 500);
}

struct StockMarkupCase
{
    const char* situation;
    double minimum, maximum;
    double percent;
};

// Failures name the case rather than print its bytes.
void PrintTo(const StockMarkupCase& c, std::ostream* os)
{
    *os << c.situation;
}

// 5,000 pieces 2 up: basis 2,500 net sheets, efficiency 20, k 5: (1 - 0.2 x Atn(0.5)) = 0.9072705.
const StockMarkupCase kStockMarkups[] = {
    {"a maximum of 40", 10, 40, 36.29081912799355},
    {"37.5 is used as 38 (half to even)", 10, 37.5, 34.476278171593876},
    {"36.5 is used as 36 (half to even)", 10, 36.5, 32.661737215194194},
    {"the minimum floors the curve", 35, 36.5, 35},
    {"no maximum leaves the minimum", 10, 0, 10},
};

class StockMarkup : public PressShopTest, public ::testing::WithParamInterface<StockMarkupCase>
{
};

TEST_P(StockMarkup, FollowsTheCurveBetweenMinimumAndMaximum)
{
    const StockMarkupCase& c = GetParam();
    const ShopDatabase db(letterheadShop(letterheadOrder(), shopMarkups(c.minimum, c.maximum)));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_NEAR(summary().stockMarkup, c.percent / 100, 1e-12) << c.situation;
    // The press's stock ($50 + $2 spoiled at T = 4) is sold at that markup.
    EXPECT_NEAR(engine.ResStockCost(), 52.0, 1e-9);
    EXPECT_NEAR(engine.ResStockRetail(), 52.0 * (c.percent / 100 + 1), 1e-9) << c.situation;
}

INSTANTIATE_TEST_SUITE_P(Markups, StockMarkup, ::testing::ValuesIn(kStockMarkups));

TEST_F(PressShopTest, WithoutMarkupsTheRetailIsTheCost)
{
    const ShopDatabase db(letterheadShop(letterheadOrder(), ""));
    cEstimator engine(m_context);
    const double cost = price(engine, db, "Q100", "Q");
    EXPECT_GT(cost, 0.0);
    EXPECT_NEAR(summary().totalRetail, cost, 1e-9);
    EXPECT_DOUBLE_EQ(summary().stockMarkup, 0.0);
    EXPECT_DOUBLE_EQ(summary().pressMarkup, 0.0);
}

TEST_F(PressShopTest, DollarStockMarkupUsesTheStockCost)
{
    // Stock by dollars: basis $50 + $2 = $52, efficiency 0 -> 20, k 2:
    // (1 - 20 x Atn(52 / 2000) / 100) x 40 = 40 - 8 x 0.0259941 = 39.7920469.
    const ShopDatabase db(letterheadShop(
        letterheadOrder().num("STOCKUSEDOLLARMARKUP", -1).num("STOCKDOLLARKFACTOR", 2).num("STOCKQTYKFACTOR", 40),
        shopMarkups()));
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");
    EXPECT_NEAR(summary().stockMarkup, (1 - 20 * std::atan(52.0 / 2000) / 100) * 40 / 100, 1e-12);
    EXPECT_NEAR(summary().stockMarkup, 0.3979204685033231, 1e-12);
}

} // namespace
} // namespace presstest
