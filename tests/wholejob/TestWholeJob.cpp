// Whole jobs of the demo shop priced through the pricing run, every department's figures worked out by
// hand from the demo rows (demo/demo-data.sql) and checked to the cent.
//
// Shared facts of the derivations:
// - Curve modifier at the reference caliper 0.004: 1.77258 / sqrt(3.14159265358979) = 1.0000712; at
//   caliper 0.0038 the caliper ratio is 0.004 / 0.0038 = 1.05263 and the modifier
//   e^(-(0.05263^2) / 2) x 1.0000712 = 0.9986870.
// - Curve speed = (1 + 20 % x atan(run / (up x 1000 x 5))) x modifier x slowest speed, clamped to the
//   machine's range; curve spoilage = (1 - 20 % x atan(run / (up x 1000 x 20))) x highest spoilage /
//   modifier, clamped the same way. Difficulty 5 leaves both as they are.
// - Markups: Press 35 %, Bindery 30 %, Pre-Press 25 %, Outside Services 20 %; the stock markup runs on
//   the curve (1 - 20 x atan(net press sheets / 5000) / 100) x 40 %, never below 20 %.
// - Small offset press: 4000 to 9000 an hour, spoilage 1 to 6 %, $55.00 an hour, one head, washup
//   10 min ($9.17), make-ready 3 min feeder + plate mounting + 5 min register + 3 min delivery + 10 min
//   set-up. Paper plate: $4.50, 10 make-ready sheets, life 5000 impressions, mounting 3 min, remount 3.
// - Small-offset spoilage (duplicator class), with K = 10 plate sheets, s = press spoilage %, Q = bindery
//   waste as a % of the net press sheets, B = the bindery operations' spoilage % summed:
//   total spoilage T = 10 x s x up / quantity x 100 + 1 + Q + B (caliper factor 1 with stock selected).
// - Spoilage hours = (10 plate sheets + (s + Q) % x net press sheets) / speed.
// - PMS mixing base ink $22.00 a pound, 320000 sq in a pound; fountain waste 0.1 lb on one head adds
//   0.1 x $22.00 = $2.20.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "pricing/PricingRun.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::TestDatabase;

constexpr double kCent = 0.005;  // money: to the cent
constexpr double kFine = 1e-4;   // hours, per cents and pounds

struct WholeJob
{
    const char* orderNo;
    std::int32_t quantity;
    // Bindery
    double bindCost, bindRetail, bindMinutes;
    // Press
    std::int32_t pressSpeed;
    double totalSpoilage, runHours, spoilageHours, makeReadyHours;
    double runCost, spoilageCost, makeReadyCost, washupCost;
    std::int16_t plates;
    double plateCost;
    double pressStockCost, spoilageStockCost;
    std::int32_t pressSheetsToOrder;
    double inkCost;
    // Job totals
    double stockCost, stockRetail, stockMarkup;
    double totalCost, totalRetail;
    double pressMinutes, estHours;
    double costPerAddedThousand, retailPerAddedThousand;
    const char* priceText;
};

void PrintTo(const WholeJob& job, std::ostream* os)
{
    *os << job.orderNo << " at " << job.quantity;
}

const WholeJob kWholeJobs[] = {
    // 24101 letterhead, 1000: 1 up on 8.5 x 11, 4 out of a 17 x 22 parent, 24# bond (caliper 0.004).
    // Bindery, guillotine on the parent (4 press sheets a cut sheet, 250 cut sheets): speed 8020.57 ->
    // 8021; spoilage 1.99861 %; set-up 10 min x $65 / 60 = 10.8333; waste 1.99861 % x 1000 / 4 = 4.9965;
    // run (250 + 4.9965) x 65 / 8021 = 2.0664; 12.8998 is below the $15.00 minimum: 15.00, retail 19.50,
    // 15 x 60 / 65 = 13.846 min. Waste 4.9965 x 4 = 20 press sheets: Q = 20 / 1000 x 100 = 2 %.
    // Press: atan(1000 / 5000) -> 4158.21 -> 4158 an hour; spoilage 5.93963 %.
    // T = 10 x 5.93963 / 1000 x 100 + 1 + 2 + 1.99861 = 10.93824 %.
    // Run 1000 / 4158 = 0.2405 h ($13.23); spoilage (10 + 7.93963 % x 1000) / 4158 = 0.0215 h ($1.18);
    // make-ready (3 + 3 + 18) / 60 = 0.4 h ($22.00). One plate set: Int(1000 / 5000 + 1) = 1.
    // Stock: 250 parents, below break 2 (1 x 2.5 x 1000): $68.00 / 4 = $17.00 a thousand press sheets:
    // 17.00; spoilage stock 17.00 x 10.93824 % = 1.8595. Sheets 1000 + 109.38 = 1109.
    // Ink: 93.5 sq in x 1109.38 / 320000 x 8 % = 0.02593 lb x 22 = 0.5705, + 2.20 = 2.7705.
    // Cost 13.2275 + 1.1825 + 22 + 17 + 1.8595 + 4.50 + 9.1667 + 15 + 2.7705 = 86.7067.
    // Stock markup (1 - 20 x atan(0.2) / 100) x 40 = 38.4208 %: 18.8595 x 1.384208 = 26.1055.
    // Retail 1.35 x (86.7067 - 18.8595 - 15) + 1.30 x 15 + 26.1055 = 116.9492.
    // Press minutes (0.2405 + 0.0215 + 0.4 + 10 / 60) x 60 = 49.72; hours + 13.846 / 60 = 1.0594.
    // Per added thousand: labour without plate mounting (0.4 - 3 / 60) x 55 + 13.2275 = 32.4775;
    // + (1.1825 + 1.8595) x (5.93963 + 1.99861) / 10.93824 + 17.00 = 51.6852; + ink 2.7705 + bindery
    // 15 - set-up 10.8333 = 58.6224. Retail: (32.4775 + 7.93824 x 1.1825 / 10.93824 + 2.7705) x 1.35
    // + 4.1667 x 1.30 + (7.93824 x 1.8595 / 10.93824 + 17) x 1.384208 = 79.5595.
    {"24101", 1000, 15.00, 19.50, 13.846154, 4158, 10.938235, 0.240500, 0.021500, 0.4, 13.227513, 1.182490, 22.00,
     9.166667, 1, 4.50, 17.00, 1.859500, 1109, 2.770500, 18.859500, 26.105477, 0.384208, 86.706670, 116.949157,
     49.720004, 1.059436, 58.622352, 79.559548, "$116.95"},
    // 24101, 2500: bindery 625 cut sheets: speed 8050.56 -> 8051; spoilage 1.99673 %; waste 12.4796;
    // run (625 + 12.4796) x 65 / 8051 = 5.1467 + 10.8333 = 15.9800 (above the minimum), retail 20.7741,
    // 14.751 min. Waste 49.92 -> 50 press sheets: Q = 2 %.
    // Press: atan(0.5) -> 4371 an hour; spoilage 5.85036 %; T = 5.85036 x 10 / 2500 x 100 + 1 + 2
    // + 1.99673 = 7.33688 %. Run 2500 / 4371 = 0.57195 h ($31.46); spoilage (10 + 7.85036 % x 2500) /
    // 4371 = 0.04719 h ($2.60); make-ready 0.4 h ($22.00); Int(2500 / 5000 + 1) = 1 plate set.
    // Stock: 625 parents at $68.00: 42.50; spoilage stock 3.1182. Sheets 2500 + 183.42 = 2683.
    // Ink 93.5 x 2683.42 / 320000 x 8 % x 22 = 1.3800 + 2.20 = 3.5800.
    // Cost 31.4573 + 2.5953 + 22 + 42.50 + 3.1182 + 4.50 + 9.1667 + 15.98 + 3.58 = 134.8975.
    // Stock markup (1 - 0.2 x atan(0.5)) x 40 = 36.2908 %: 45.6182 x 1.362908 = 62.1734.
    // Retail 1.35 x (134.8975 - 45.6182 - 15.98) + 1.30 x 15.98 + 62.1734 = 181.9015.
    {"24101", 2500, 15.980045, 20.774058, 14.750810, 4371, 7.336876, 0.571951, 0.047188, 0.4, 31.457332, 2.595342,
     22.00, 9.166667, 1, 4.50, 42.50, 3.118172, 2683, 3.579950, 45.618172, 62.173381, 0.362908, 134.897508,
     181.901482, 71.148373, 1.431653, 43.217933, 58.477934, "$181.90"},
    // 24107 scratch pads, 1000: 2 up on 8.5 x 11, 4 out of 17 x 22, 20# bond (caliper 0.0038, modifier
    // 0.9986870, so the bindery's thickness rule speeds the cutter and the drill by 0.004 / 0.0038).
    // Guillotine on the parent: 4 x 2 = 8 pieces a cut sheet, 125 cut sheets; curve 7994.49 -> 8000
    // (slowest), x 0.004 / 0.0038 = 8421; spoilage 2.0023 -> 2 % (highest); waste 2 % x 1000 / 8 = 2.5;
    // run (125 + 2.5) x 65 / 8421 = 0.9841 + 10.8333 = 11.8175, minimum 15.00. Waste 2.5 x 8 / 2 = 10.
    // Glue padding, 50 sheets a pad, finished 5.5 x 8.5: curve atan(0.2) -> 1038; spoilage 1.98262 %;
    // glue 5.5 x 1000 x 1.0198262 / 1038 = 5.4037; x 45 x 0.004 + 11.25 first set-up = 12.2227;
    // 11.25 x (12.2227 - 11.25) / (50 x 1000 x 0.0038) = 0.0576; 20 pads x (5.5 x 0.25 x 8.5 / 93.5
    // + 1 min x 45 / 60) = 17.50: 17.5576. Waste 19.83 / 2 = 9.9131 -> 10. Set-up (49 x 1 + 15) = 64 min.
    // 3-hole drill: curve 3114.34 -> 3114, x 0.004 / 0.0038 = 3278; spoilage 0.99131 %; waste 9.9131;
    // run (1000 + 9.9131) x 50 / 3278 = 15.4044 + 8.3333 = 23.7377. Waste 4.9566 -> 5.
    // Bindery 15 + 17.5576 + 23.7377 = 56.2953, retail 73.1839; minutes 15 x 60 / 65 + 17.5576 x 60 / 45
    // + 23.7377 x 60 / 50 = 65.7416. Waste 10 + 10 + 5 = 25 press sheets of 500: Q = 5 %;
    // B = 2 + 1.98262 + 0.99131 = 4.97393 %.
    // Press: atan(1000 / 10000) -> 4074 an hour; spoilage 5.97786 %. T = 10 x 5.97786 x 2 / 1000 x 100
    // + 1 + 5 + 4.97393 = 22.92964 %. Run 500 / 4074 = 0.12273 h ($6.75); spoilage (10 + 10.97786 % x
    // 500) / 4074 = 0.01593 h ($0.88); make-ready 0.4 h ($22.00); one plate set (500 impressions).
    // Stock: 125 parents at $52.00 / 4 = $13.00 a thousand press sheets: 500 x 13 / 1000 = 6.50;
    // spoilage stock 6.50 x 22.92964 % = 1.4904. Sheets 500 + 114.65 = 615.
    // Ink 93.5 x 614.65 / 320000 x 5 % x 22 = 0.1976 + 2.20 = 2.3976.
    // Cost 6.7501 + 0.8760 + 22 + 6.50 + 1.4904 + 4.50 + 9.1667 + 56.2953 + 2.3976 = 109.9761.
    // Stock markup (1 - 0.2 x atan(500 / 5000)) x 40 = 39.2027 %: 7.9904 x 1.392027 = 11.1229.
    // Retail 1.35 x (109.9761 - 7.9904 - 56.2953) + 1.30 x 56.2953 + 11.1229 = 145.9888.
    // Per added thousand: the bindery's set-up of 84 min is taken at the drill's $50 an hour: 70.00.
    {"24107", 1000, 56.295335, 73.183936, 65.741568, 4074, 22.929640, 0.122730, 0.015928, 0.4, 6.750123, 0.876021,
     22.00, 9.166667, 1, 4.50, 6.50, 1.490427, 615, 2.397552, 7.990427, 11.122886, 0.392027, 109.976124, 145.988810,
     42.319430, 1.801017, 22.323286, 31.124759, "$145.99"},
    // 24107, 2500: cutter curve 8001.98 -> 8002, x 0.004 / 0.0038 = 8423; spoilage 2 %; waste 6.25 (25
    // press sheets); run (312.5 + 6.25) x 65 / 8423 = 2.4598 + 10.8333 = 13.2931, minimum 15.00.
    // Padding: curve atan(0.5) -> 1091; spoilage 1.95282 %; glue 5.5 x 2500 x 1.0195282 / 1091 = 12.8497
    // x 0.18 + 11.25 = 13.5629; 11.25 x 2.3129 / 190 = 0.1369; 50 pads x 0.875 = 43.75: 43.8869; waste
    // 48.82 / 2 = 24.41 -> 24. Drill: 3273.88 -> 3274, x 0.004 / 0.0038 = 3446; spoilage 0.97641 %;
    // run (2500 + 24.41) x 50 / 3446 = 36.6281 + 8.3333 = 44.9615; waste 12.21 -> 12.
    // Bindery 15 + 43.8869 + 44.9615 = 103.8484, retail 135.0029, minutes 13.8462 + 58.5159 + 53.9538
    // = 126.3158. Waste 25 + 24 + 12 = 61 of 1250: Q = 4.88 %; B = 2 + 1.95282 + 0.97641 = 4.92923 %.
    // Press: atan(0.25) -> 4190 an hour; spoilage 5.93289 %; T = 5.93289 x 20 / 2500 x 100 + 1 + 4.88
    // + 4.92923 = 15.55554 %. Run 1250 / 4190 = 0.29833 h ($16.41); spoilage (10 + 10.81289 % x 1250) /
    // 4190 = 0.03465 h ($1.91); make-ready 0.4 h.
    // Stock: 312.5 parents at $52.00: 1250 x 13 / 1000 = 16.25; spoilage stock 2.5278. Sheets 1444.
    // Ink 93.5 x 1444.44 / 320000 x 5 % x 22 = 0.4643 + 2.20 = 2.6643.
    // Cost 16.4081 + 1.9055 + 22 + 16.25 + 2.5278 + 4.50 + 9.1667 + 103.8484 + 2.6643 = 179.2707.
    // Stock markup (1 - 0.2 x atan(0.25)) x 40 = 38.0402 %: 18.7778 x 1.380402 = 25.9209.
    // Retail 1.35 x (179.2707 - 18.7778 - 103.8484) + 1.30 x 103.8484 + 25.9209 = 237.3939.
    {"24107", 2500, 103.848403, 135.002923, 126.315830, 4190, 15.555543, 0.298329, 0.034645, 0.4, 16.408115, 1.905456,
     22.00, 9.166667, 1, 4.50, 16.25, 2.527776, 1444, 2.664253, 18.777776, 25.920874, 0.380402, 179.270669,
     237.393859, 53.978440, 3.004905, 36.606563, 48.960967, "$237.39"},
};

class WholeJobTest : public testing::TestWithParam<WholeJob>
{
protected:
    // Prices one quantity of a demo order through the pricing run, as the main window does it.
    std::optional<pricing::PricedQuantity> price(const TestDatabase& db, const std::string& orderNo,
                                                 std::int32_t quantity, const pricing::OrderKeyFilter& filter = {})
    {
        const std::optional<pricing::OrderSelection> order = pricing::selectOrder(db.path(), orderNo, filter);
        if (!order) {
            ADD_FAILURE() << "no demo order " << orderNo;
            return std::nullopt;
        }
        pricing::PricingInputs inputs;
        inputs.dataFolder = db.folder();
        inputs.programFolder = m_programFolder.path();
        inputs.order = *order;
        inputs.request.quoteOrJob = order->quoteOrJob;
        pricing::PricingRun run(inputs);
        const pricing::PricingResult result = run.run(pricing::singleQuantity(quantity));
        if (result.priced.size() != 1) {
            ADD_FAILURE() << orderNo << " at " << quantity << ": " << pricing::skippedMessage(result.skipped);
            return std::nullopt;
        }
        return result.priced.front();
    }

    static std::string demoShop() { return "BEGIN;\n" + testsupport::demoShopSql() + "\nCOMMIT;\n"; }

    testsupport::TemporaryFolder m_programFolder;
};

TEST_P(WholeJobTest, EveryDepartmentToTheCent)
{
    const WholeJob& job = GetParam();
    const TestDatabase db(demoShop(), false);
    const std::optional<pricing::PricedQuantity> priced = price(db, job.orderNo, job.quantity);
    ASSERT_TRUE(priced);
    const pricing::EstimateResults& r = priced->results;
    const estimator::SummaryRecord& s = priced->summary;

    EXPECT_EQ(s.quantity, job.quantity);
    // No pre-press work and no outside services on either order.
    EXPECT_EQ(r.ResPrePressCost, 0);
    EXPECT_EQ(r.ResPrePressRetail, 0);
    EXPECT_EQ(r.ResPrePressMinutes, 0);
    EXPECT_EQ(r.VendorCost, 0);
    EXPECT_EQ(r.VendorRetail, 0);

    EXPECT_NEAR(r.ResBindCost, job.bindCost, kCent);
    EXPECT_NEAR(r.ResBindRetail, job.bindRetail, kCent);
    EXPECT_NEAR(r.ResBindMinutes, job.bindMinutes, kFine);
    EXPECT_NEAR(s.binderyCost, job.bindCost, kCent);

    EXPECT_EQ(s.pressSpeed, job.pressSpeed);
    EXPECT_NEAR(s.totalSpoilagePercent, job.totalSpoilage, kFine);
    EXPECT_NEAR(s.runHours, job.runHours, kFine);
    EXPECT_NEAR(s.spoilageHours, job.spoilageHours, kFine);
    EXPECT_NEAR(s.makeReadyHours, job.makeReadyHours, kFine);
    EXPECT_NEAR(s.runCost, job.runCost, kCent);
    EXPECT_NEAR(s.spoilageCost, job.spoilageCost, kCent);
    EXPECT_NEAR(s.makeReadyCost, job.makeReadyCost, kCent);
    EXPECT_NEAR(s.washupCost, job.washupCost, kCent);
    EXPECT_NEAR(s.pressCost, job.runCost + job.spoilageCost + job.makeReadyCost + job.washupCost, kCent);
    EXPECT_EQ(s.plates, job.plates);
    EXPECT_NEAR(s.plateCostOther, job.plateCost, kCent);
    EXPECT_EQ(s.plateCostMetal, 0) << "a paper plate is not metal";
    EXPECT_NEAR(s.pressStockCost, job.pressStockCost, kCent);
    EXPECT_NEAR(s.spoilageStockCost, job.spoilageStockCost, kCent);
    EXPECT_EQ(s.pressSheetsToOrder, job.pressSheetsToOrder);
    EXPECT_EQ(r.PressSheetsToOrder, job.pressSheetsToOrder);
    EXPECT_EQ(s.blackInkCost, 0);
    EXPECT_NEAR(s.colourInkCost, job.inkCost, kCent);

    EXPECT_NEAR(r.ResStockCost, job.stockCost, kCent);
    EXPECT_NEAR(r.ResStockRetail, job.stockRetail, kCent);
    EXPECT_NEAR(s.stockMarkup, job.stockMarkup, 1e-6);
    EXPECT_NEAR(s.totalCost, job.totalCost, kCent);
    EXPECT_NEAR(s.totalRetail, job.totalRetail, kCent);
    EXPECT_NEAR(r.EstRetail, job.totalRetail, kCent);
    EXPECT_NEAR(r.Price1000, job.totalRetail * 1000 / job.quantity, kCent);
    EXPECT_NEAR(r.ResPressMinutes, job.pressMinutes, kFine);
    EXPECT_NEAR(r.EstHrs, job.estHours, kFine);
    EXPECT_NEAR(s.costPerAddedThousand, job.costPerAddedThousand, kCent);
    EXPECT_NEAR(s.retailPerAddedThousand, job.retailPerAddedThousand, kCent);
    // Press and ink live in the summary record; the engine's own press and ink results stay 0.
    EXPECT_EQ(r.ResPressCost, 0);
    EXPECT_EQ(r.ResInkCost, 0);

    EXPECT_EQ(priced->line, std::to_string(job.quantity) + std::string(27, ' ') + job.priceText);
}

INSTANTIATE_TEST_SUITE_P(DemoOrders, WholeJobTest, testing::ValuesIn(kWholeJobs));

} // namespace

namespace {

// The letterhead's price list jumps by about $38 from 4500 to 5000 where other 500-steps add about $21.
// The paper plate lasts 5000 impressions and the plate sets are Int(impressions / 5000 + 1): 4500 and
// 4999 impressions need one set, 5000 need two. The second set costs one more plate ($4.50) and remount
// time for plate sets + 1 = 3 mountings of 3 min: make-ready (3 feeder + 3 mounting + 9 remount + 18) / 60
// = 0.55 h instead of 0.4 h, 0.15 h x $55 = $8.25. That is 12.75 of press cost, 12.75 x 1.35 = $17.21 of
// retail on top of the ordinary step. Stock breaks do not move here (parents stay below 2500 up to
// 9999 letterheads) and the curves are smooth.
struct PlateLifeCase
{
    std::int32_t quantity;
    std::int16_t plates;
    double makeReadyHours, plateCost, totalCost, totalRetail;
    const char* priceText;
};

const PlateLifeCase kPlateLife[] = {
    // 4500: press 4587 an hour, T 6.26846 %; bindery 20.0525; stock 76.50 + 4.7954 at 34.1375 %;
    // cost 53.9568 + 4.2929 + 22 + 76.50 + 4.7954 + 4.50 + 9.1667 + 20.0525 + 4.6592 = 199.9235;
    // retail 1.35 x 98.5756 + 1.30 x 20.0525 + 81.2954 x 1.341375 = 268.1929.
    {4500, 1, 0.4, 4.50, 199.923519, 268.192934, "$268.19"},
    // 4999: still one plate set (Int(4999 / 5000 + 1) = 1); cost 215.9464, retail 289.3179.
    {4999, 1, 0.4, 4.50, 215.946409, 289.317872, "$289.32"},
    // 5000: two plate sets, plates 2 ($9.00), make-ready 0.55 h ($30.25); press 4629 an hour; cost
    // 59.4081 + 4.6966 + 30.25 + 85 + 5.2145 + 9.00 + 9.1667 + 21.0642 + 4.9290 = 228.7290;
    // retail 1.35 x 117.4503 + 1.30 x 21.0642 + 90.2145 x 1.337168 = 306.5733.
    {5000, 2, 0.55, 9.00, 228.729009, 306.573333, "$306.57"},
};

class PlateLifeTest : public WholeJobTest
{
};

TEST_F(PlateLifeTest, TheSecondPlateSetAtFiveThousandImpressionsMakesTheJump)
{
    const TestDatabase db(demoShop(), false);
    for (const PlateLifeCase& c : kPlateLife) {
        SCOPED_TRACE(c.quantity);
        const std::optional<pricing::PricedQuantity> priced = price(db, "24101", c.quantity);
        ASSERT_TRUE(priced);
        const estimator::SummaryRecord& s = priced->summary;
        EXPECT_EQ(s.plates, c.plates);
        EXPECT_NEAR(s.makeReadyHours, c.makeReadyHours, kFine);
        EXPECT_NEAR(s.plateCostOther, c.plateCost, kCent);
        EXPECT_NEAR(s.totalCost, c.totalCost, kCent);
        EXPECT_NEAR(s.totalRetail, c.totalRetail, kCent);
        EXPECT_EQ(priced->line, std::to_string(c.quantity) + std::string(27, ' ') + c.priceText);
    }
    // One impression more, from 4999 to 5000: the ordinary step is a few cents; the plate set adds
    // (4.50 + 0.15 x 55) x 1.35 = 17.2125 on top: 306.5733 - 289.3179 = 17.2555.
    EXPECT_NEAR(kPlateLife[2].totalRetail - kPlateLife[1].totalRetail - 17.2125, 0.0430, kCent);
}

} // namespace

namespace {

// The four orders added to the demo shop price through the run at their own quantities: a flyer with
// camera and scan work and no bindery, a two-colour job drilled, a shrink-wrapped job and a second part
// under an existing order number.
struct AddedOrder
{
    const char* orderNo;
    std::int16_t partNo;
    std::int32_t quantity;
    bool hasBindery;
    bool hasPrePress;
};

class AddedOrdersTest : public WholeJobTest
{
};

TEST_F(AddedOrdersTest, EachPricesThroughToItsJobTotals)
{
    const TestDatabase db(demoShop(), false);
    const AddedOrder added[] = {
        {"24108", 1, 1000, false, true},
        {"24109", 1, 2500, true, false},
        {"24110", 1, 2000, true, false},
        {"24102", 2, 5000, true, false},
    };
    for (const AddedOrder& a : added) {
        SCOPED_TRACE(std::string(a.orderNo) + " part " + std::to_string(a.partNo));
        pricing::OrderKeyFilter filter;
        filter.partNo = a.partNo;
        const std::optional<pricing::PricedQuantity> priced = price(db, a.orderNo, a.quantity, filter);
        ASSERT_TRUE(priced);
        const pricing::EstimateResults& r = priced->results;
        const estimator::SummaryRecord& s = priced->summary;
        EXPECT_EQ(s.quantity, a.quantity);
        EXPECT_GT(s.pressSpeed, 0);
        EXPECT_GE(s.pressSheetsToOrder, s.spoilageSheets);
        EXPECT_GT(s.totalCost, 0);
        EXPECT_GT(s.totalRetail, s.totalCost);
        EXPECT_EQ(r.ResBindCost > 0, a.hasBindery);
        EXPECT_EQ(r.ResPrePressCost > 0, a.hasPrePress);
    }
}

// The flyer's pre-press is camera and scan work alone, at the 25 % pre-press markup:
// camera 2 line negatives 10 X 12 at 8.00 = 16.00, 2 x 6 + 10 / 60 x 60 = 22 min; 1 halftone 8 X 10
// at 0.05 a square inch = 4.00, 6 + 15 = 21 min. Scans 2 grayscale 8 X 10 at 8.00 = 16.00, 2 x 5 = 10
// min; 1 colour scan 8 X 10 at 25.00, 12 + 12 / 72 x 60 = 22 min. Cost 16 + 4 + 16 + 25 = 61.00,
// retail 76.25, 75 min.
TEST_F(AddedOrdersTest, TheFlyersPrePressIsItsCameraAndScanWork)
{
    const TestDatabase db(demoShop(), false);
    const std::optional<pricing::PricedQuantity> priced = price(db, "24108", 1000);
    ASSERT_TRUE(priced);
    EXPECT_NEAR(priced->results.ResPrePressCost, 61.00, kCent);
    EXPECT_NEAR(priced->results.ResPrePressRetail, 76.25, kCent);
    EXPECT_NEAR(priced->results.ResPrePressMinutes, 75, kFine);
    EXPECT_NEAR(priced->summary.cameraCost, 20.00, kCent);
    EXPECT_NEAR(priced->summary.scanCost, 41.00, kCent);
    EXPECT_EQ(priced->results.ResBindCost, 0);
}

// The second part of 24102 is its own quote: the window's choice by order number alone still takes part
// 1 (the first row, the four-colour brochure), and part 2 prices as its own job. It is the letterhead's
// job at 5000 (same stock, press, plates and cut) but for its ink: black at 10 %, 93.5 x 5306.74 /
// 400000 x 10 % x 9.50 = 1.1784, plus the fountain's 0.1 lb x 9.50 = 0.95: 2.1284 in place of the
// letterhead's 4.9290 of PMS. Cost 228.7290 - 4.9290 + 2.1284 = 225.9284; retail 306.5733 - 2.8006 x
// 1.35 = 302.7926.
TEST_F(AddedOrdersTest, TheSecondPartOfAnOrderIsPricedOnItsOwn)
{
    const TestDatabase db(demoShop(), false);
    const std::optional<pricing::OrderSelection> first = pricing::selectOrder(db.path(), "24102");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->partNo, "1");
    pricing::OrderKeyFilter second;
    second.partNo = 2;
    const std::optional<pricing::PricedQuantity> part2 = price(db, "24102", 5000, second);
    ASSERT_TRUE(part2);
    EXPECT_EQ(part2->summary.pressSpeed, 4629);
    EXPECT_EQ(part2->summary.plates, 2);
    EXPECT_EQ(part2->summary.colourInkCost, 0);
    EXPECT_NEAR(part2->summary.blackInkCost, 2.128427, kCent);
    EXPECT_NEAR(part2->summary.totalCost, 225.928447, kCent);
    EXPECT_NEAR(part2->summary.totalRetail, 302.792574, kCent);
    EXPECT_EQ(part2->line, "5000" + std::string(27, ' ') + "$302.79");
}

} // namespace
