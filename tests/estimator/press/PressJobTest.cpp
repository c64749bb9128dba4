// Whole jobs priced through the four department estimates, with every press, ink and job-total figure
// worked out by hand beside its check.

#include <ostream>

#include <gtest/gtest.h>

#include "tests/estimator/press/PressShop.h"

namespace presstest {
namespace {

using estimator::cEstimator;

constexpr double kMoney = 1e-9; // figures are compared to far below a cent
constexpr double kFine = 1e-9;

// The letterhead: 5,000 pieces, 2 up, 1 signature, 1 plate, 1 pass, one head of black at 10 per cent.
// The performance curves run unclamped, so the speed and spoilage come from their arctangents.
TEST_F(PressShopTest, OneColourLetterheadIsPricedToTheCent)
{
    const ShopDatabase db(letterheadOrder().insert() + offsetPress().insert() + paperPlate().insert()
                          + shopMarkups() + inkSelection("Q100", "Q", 1, "Black", 10)
                          + colour(1, "Black", 12, 400000)
                          + "INSERT INTO VENDORSELECTIONS VALUES ('Q100', 1, 'Q', 'Numbering Co', "
                            "'Numbering', 100, 150, 0, 0, 25);\n");
    cEstimator engine(m_context);
    const double result = price(engine, db, "Q100", "Q");
    const auto& run = EstimatorProbe::lastRun(engine);
    const auto& record = summary();

    // Curves: caliper 0 -> 0.004, modifier 1.77258 / sqrt(3.14159265358979) = 1.00007117; run length
    // 5,000; speed (Atn(5000 / (2 x 1000 x 5)) x 20 / 100 + 1) x 1.00007117 x 2000
    // = 1.0927295 x 2000.1423 = 2185.61 -> 2186; difficulty 5 leaves it.
    EXPECT_EQ(EstimatorProbe::speedMember(engine), 2186);
    EXPECT_EQ(record.pressSpeed, 2186);
    // Spoilage (1 - Atn(5000 / (2 x 1000 x 20)) x 20 / 100) x 6 / 1.00007117 = 0.9751290 x 5.9995730
    // = 5.8503576.
    EXPECT_NEAR(record.pressSpoilagePercent, 5.850357624861276, kFine);
    // With stock selected and a stock press efficiency of 100 the caliper factor is 1.
    EXPECT_DOUBLE_EQ(run.caliperFactor, 1.0);
    // T = 1 x 5.8503576 / 1 + (20 x 1) x 2 / 5000 x 100 / 1 / 1 + 0 = 5.8503576 + 0.8.
    EXPECT_NEAR(record.totalSpoilagePercent, 6.650357624861276, kFine);
    // Run hours 5000 / 2186 x 1 / 2 = 1.1436414; at $60: $68.6185.
    EXPECT_NEAR(record.runHours, 1.1436413540713632, kFine);
    EXPECT_EQ(record.runHoursText.str(), "001:09");
    EXPECT_NEAR(record.runCost, 68.6184812442818, kMoney);
    // Spoilage hours: (1 x 5.8503576 + 0) / 100 x 5000 / 2 = 146.2589, + 1 / 1 x 20 = 166.2589 sheets,
    // / 2186 x 1 = 0.0760562 h; $4.5634.
    EXPECT_NEAR(record.spoilageHours, 0.07605623999155164, kFine);
    EXPECT_NEAR(record.spoilageCost, 4.563374399493099, kMoney);
    // Make-ready: feeder stack 10 / 0.004 = 2500; (6 x 5000 x 1 / (2500 x 2) + 12 x 1) / 60 = 0.3, plus
    // (5 x 1 + 3 + 10) / 60 = 0.3 -> 0.6 h, $36.
    EXPECT_NEAR(record.makeReadyHours, 0.6, kFine);
    EXPECT_EQ(record.makeReadyHoursText.str(), "000:36");
    EXPECT_NEAR(record.makeReadyCost, 36.0, kMoney);
    // Washup 15 minutes x 1 head; 15 / 60 x 60 x 1 = $15.
    EXPECT_DOUBLE_EQ(record.washupMinutes, 15.0);
    EXPECT_EQ(record.washupMinutesText.str(), "000:15");
    EXPECT_NEAR(record.washupCost, 15.0, kMoney);
    // 2,500 impressions on a 10,000 plate life: one set, one plate at $8, not metal.
    EXPECT_EQ(record.plates, 1);
    EXPECT_NEAR(record.plateCostOther, 8.0, kMoney);
    EXPECT_DOUBLE_EQ(record.plateCostMetal, 0.0);
    // Parent sheets 5000 / (4 x 2) x 1 = 625, below 2.5 x 2 x 1000 = 5000: $80 a thousand, $20 a thousand
    // press sheets; stock 20 x 1 / 2 x 5000 / 1000 = $50; spoiled stock 50 x 6.6503576 / 100 = $3.3252.
    EXPECT_NEAR(record.pressStockCost, 50.0, kMoney);
    EXPECT_NEAR(record.spoilageStockCost, 3.325178812430638, kMoney);
    // Sheets: spoilage 6.6503576 x 5000 / 2 x 1 / 100 = 166.26 -> 166; to order 2500 + 166.26 = 2666.26
    // -> 2666.
    EXPECT_EQ(record.spoilageSheets, 166);
    EXPECT_EQ(record.pressSheetsToOrder, 2666);
    EXPECT_EQ(engine.PressSheetsToOrder(), 2666);
    // Weights: 40 / 4 / 1000 x 2666.2589 = 26.6626; used: 2500 x 40 / 4000 x (8.5 x 11 x 2 x 4 / (23 x 35)
    // = 0.9291925) = 23.2298.
    EXPECT_NEAR(record.pressSheetWeight, 26.66258940621532, kFine);
    EXPECT_NEAR(record.usedPaperWeight, 23.229813664596275, kFine);
    // Effective speed: loads 1 x 5000 / (2500 x 2) = 1 (not above 1, kept); base make-ready
    // (1 x 6 + 12) / 60 = 0.3; Int(2500 x 1 / (0.6 - 0.3 + 1.1436414) + 0.5) = Int(1732.3) = 1732.
    EXPECT_EQ(record.effectiveSpeed, 1732);
    // Total hours: 1.1436414 + 0.0760562 + 0.6 + 0 bindery + 30 / 60 pre-press + 15 / 60 washup.
    EXPECT_NEAR(record.totalHours, 2.569697594062915, kFine);
    EXPECT_EQ(record.totalHoursText.str(), "002:34");
    EXPECT_NEAR(record.pressHours, 2.069697594062915, kFine);

    // Ink: 12 x 18 x 2666.2589 / 400000 x 10 / 100 = 0.1439780 lb at $12 = $1.7277; one head of black only:
    // fountain waste 0.25 lb at $12 -> 0.3939780 lb, $4.7277.
    EXPECT_NEAR(record.blackInkPounds, 0.3939779827935627, kFine);
    EXPECT_NEAR(record.blackInkCost, 4.727735793522752, kMoney);
    EXPECT_DOUBLE_EQ(record.colourInkPounds, 0.0);
    EXPECT_DOUBLE_EQ(record.colourInkCost, 0.0);

    // Total cost 68.6185 + 4.5634 + 36 + 40 pre-press + 50 + 3.3252 + 8 + 15 + 4.7277 + 0 + 0 + 100 vendor.
    EXPECT_NEAR(record.totalCost, 330.2347702497283, kMoney);
    EXPECT_NEAR(result, 330.2347702497283, kMoney);
    EXPECT_NEAR(record.pressCost, 68.6184812442818 + 4.563374399493099 + 36 + 15, kMoney);
    // Stock markup by sheets: basis 5000 x 1 / 2 = 2500; (1 - 20 x Atn(2500 / 5000) / 100) x 40 = 36.2908.
    EXPECT_NEAR(record.stockMarkup, 0.3629081912799355, kFine);
    // Retail: press part 330.2348 - 100 - 40 - 50 - 3.3252 - 0 = 136.9096 x 1.5 = 205.3644; + 1.3 x 40;
    // + 1.2 x 0 + 53.3252 x 1.3629082; + 1.15 x 100 = 445.0417.
    EXPECT_NEAR(record.totalRetail, 445.0417101608755, kMoney);
    EXPECT_NEAR(engine.EstRetail(), 445.0417101608755, kMoney);
    EXPECT_NEAR(record.vendorRetail, 115.0, kMoney);
    EXPECT_NEAR(engine.VendorRetail(), 115.0, kMoney);
    EXPECT_NEAR(engine.VendorCost(), 100.0, kMoney);
    EXPECT_DOUBLE_EQ(record.pressMarkup, 0.5);
    EXPECT_DOUBLE_EQ(record.outsideServicesMarkup, 0.15);
    // Per thousand: 445.0417 x 1000 / 5000.
    EXPECT_NEAR(record.pricePerThousand, 89.0083420321751, kMoney);
    EXPECT_NEAR(engine.Price1000(), 89.0083420321751, kMoney);
    // Added thousand cost: (0.6 - 1 x 12 / 60) x 60 + 68.6185 = 92.6185; + (4.5634 + 3.3252) x 5.8504
    // / 6.6504 + 50 = 149.5582; + 4.7277 = 154.2860; x 1000 / 5000 = 30.8572 + 100 x 1000 / 5000.
    EXPECT_NEAR(record.costPerAddedThousand, 50.857164479954804, kMoney);
    // Added thousand retail: y = 92.6185 + 5.8504 x 4.5634 / 6.6504 + 4.7277 = 101.3606; x 1.5
    // + (5.8504 x 3.3252 / 6.6504 + 50) x 1.3629082 = 220.2893; x 1000 / 5000 + 1.15 x 20.
    EXPECT_NEAR(record.retailPerAddedThousand, 67.83462502188642, kMoney);
    // Impressions 5000 x 1 x 1 x 1 / 2.
    EXPECT_EQ(record.impressions, 2500);
    EXPECT_NEAR(engine.EstHrs(), 2.569697594062915, kFine);
    EXPECT_NEAR(engine.ResStockCost(), 53.325178812430636, kMoney);
    EXPECT_NEAR(engine.ResStockRetail(), 72.67732300492898, kMoney);
    EXPECT_NEAR(engine.ResPressMinutes(), 124.1818556437749, kFine);
    // The stock values of the press: carton, breaks 2 and 3, and the three prices.
    EXPECT_DOUBLE_EQ(EstimatorProbe::orderStockValue(engine, 9), 2.5);
    EXPECT_DOUBLE_EQ(EstimatorProbe::orderStockValue(engine, 17), 2.0);
    EXPECT_DOUBLE_EQ(EstimatorProbe::orderStockValue(engine, 18), 4.0);
    EXPECT_DOUBLE_EQ(EstimatorProbe::orderStockValue(engine, 10), 80.0);
    EXPECT_DOUBLE_EQ(EstimatorProbe::orderStockValue(engine, 11), 70.0);
    EXPECT_DOUBLE_EQ(EstimatorProbe::orderStockValue(engine, 12), 60.0);
    // No estimate prices the press and ink result properties.
    EXPECT_DOUBLE_EQ(engine.ResPressCost(), 0.0);
    EXPECT_DOUBLE_EQ(engine.ResInkCost(), 0.0);
}

// Four colours on four heads: 10,000 pieces 4 up, 4 metal plates of 1,000 impressions' life, a stock
// that runs at 80 per cent on a press whose speed the stock affects, stock marked up by dollars, and
// bindery work left by the bindery estimate (40 sheets of waste, 1.5 per cent, $80 cost, 30 set-up
// minutes at $45 an hour, 1.25 hours).
TEST_F(PressShopTest, FourColourJobWithBinderyWorkIsPricedToTheCent)
{
    Row order = letterheadOrder();
    order.text("ORDERNO", "J200").text("QUOTEORJOB", "J").num("PRESSQTY", 10000);
    order.num("STOCKID", 7).text("STOCKPARENTSIZE", "25 X 38").num("STOCKWT1000", 120);
    order.num("STOCKPRESSEFFPERC", 80).num("STOCKUSEPRESSEFF", -1);
    order.num("STOCKIND2", 2).num("STOCKIND3", 2).num("STOCK1000CTN", 0.5);
    order.num("STOCKCOST1", 90).num("STOCKCOST2", 75).num("STOCKCOST3", 65);
    order.num("STOCKUSEDOLLARMARKUP", -1).num("STOCKDOLLAREFF", 30).num("STOCKDOLLARKFACTOR", 1);
    order.num("PRESSID", 2).num("PRESSPLATEID", 2).text("PRESSSIZE", "19 X 25");
    order.num("PRESSNUMUPPRESSSHT", 4).num("PRESSNUMUPPARENTSHT", 2);
    order.num("PRESSPLATES", 4).num("PRESSPRINTHEADS", 4).num("PRESSDIFFICULTY", 6);
    order.num("PRESSSPEEDEFF", 25).num("PRESSSPEEDKFACTOR", 4).num("PRESSSPOILEFF", 30).num("PRESSSPOILKFACTOR", 10);
    order.num("PPTYPESETVALUE", 0).num("PPTYPESETMINUTES", 0);
    Row press = offsetPress(2);
    press.text("PRESSNAME", "Four colour").num("PRINTHEADS", 4).num("FEEDERHEIGHT", 20);
    press.num("MINSPEED", 5000).num("MAXSPEED", 12000).num("MINSPOILAGE", 2).num("MAXSPOILAGE", 8);
    press.num("STOCKIMPACTFLAG", -1).num("FEEDERLOADINGTIME", 5).num("REGGUIDETIME", 6);
    press.num("DELIVERYTIME", 4).num("SETUPTIME", 15).num("WASHUPTIME", 20).num("FOUNTAINWASTE", 0.5);
    press.num("COSTPERHOUR", 120);
    Row plate = paperPlate(2);
    plate.text("PLATENAME", "Metal").text("PLATEDESC", "Aluminium positive").num("SHEETSPERPLATE", 15);
    plate.num("IMPRESSIONSPERPLATE", 1000).num("MOUNTINGTIME", 10).num("REMOUNTTIME", 5).num("COSTPERPLATE", 14);
    const ShopDatabase db(order.insert() + press.insert() + plate.insert() + shopMarkups()
                          + inkSelection("J200", "J", 1, "Black", 30) + inkSelection("J200", "J", 2, "Cyan", 20)
                          + inkSelection("J200", "J", 3, "Magenta", 20) + inkSelection("J200", "J", 4, "Yellow", 20)
                          + colour(1, "Black", 10, 350000) + colour(2, "Cyan", 14, 300000)
                          + colour(3, "Magenta", 16, 300000) + colour(4, "Yellow", 13, 320000));
    cEstimator engine(m_context);
    const double result = price(engine, db, "J200", "J", [](cEstimator& e) {
        estimator::BinderyReportRow& totals = EstimatorProbe::binderyTotals(e, 1);
        totals.waste = 40;
        totals.spoilagePercent = 1.5;
        totals.cost = 80;
        totals.retail = 96;
        totals.setupMinutes = 30;
        EstimatorProbe::binderyCostPerHour(e) = 45;
        e.context().summary[1].binderyHours = 1.25;
    });
    const auto& run = EstimatorProbe::lastRun(engine);
    const auto& record = summary();

    // Curves with the stock's own efficiency: modifier 1; (Atn(10000 / (4 x 1000 x 4)) x 25 / 100 + 1)
    // x 5000 = 5698.25; Int(80 x 5698.25 / 100 + 0.5) = 4559, raised to 5000, x 6 / 5 = 6000.
    EXPECT_EQ(EstimatorProbe::speedMember(engine), 6000);
    // Spoilage (1 - Atn(0.25) x 30 / 100) x 8 = 7.4120512; x 100 / 80 = 9.2650640; x 5 / 6 = 7.7208867.
    EXPECT_NEAR(EstimatorProbe::spoilagePercentMember(engine), 7.720886675516174, kFine);
    // Rating 6: 6 x 6000 / 5 = 7200 and 7.7208867 x 5 / 6 = 6.4340722; the stock's effect on this press:
    // Int(7200 x 80 / 100 + 0.5) = 5760 and 6.4340722 x 100 / 80 = 8.0425903.
    EXPECT_EQ(record.pressSpeed, 5760);
    EXPECT_NEAR(record.pressSpoilagePercent, 8.042590286996013, kFine);
    // Bindery: B = 1.5; Q = 40 x 4 / (10000 x 1) x 100 = 1.6.
    EXPECT_DOUBLE_EQ(record.binderySpoilagePercent, 1.5);
    EXPECT_NEAR(run.binderyShare, 1.6, kFine);
    // T = 1 x 8.0425903 / 1 + (15 x 4) x 4 / 10000 x 100 / 1 / 1 + 1.6 = 12.0425903.
    EXPECT_NEAR(record.totalSpoilagePercent, 12.042590286996013, kFine);
    // Run 10000 / 5760 x 1 / 4 = 0.4340278 h at $120 = $52.0833.
    EXPECT_NEAR(record.runHours, 0.4340277777777778, kFine);
    EXPECT_NEAR(record.runCost, 52.083333333333336, kMoney);
    // Spoilage: (8.0425903 + 1.6) / 100 x 2500 = 241.0648 + 4 / 1 x 15 = 301.0648 sheets / 5760.
    EXPECT_NEAR(record.spoilageHours, 0.0522681870095313, kFine);
    EXPECT_NEAR(record.spoilageCost, 6.272182441143756, kMoney);
    // Plates: 2500 impressions / 1000 + 1 -> 3 sets, 12 plates; minutes 10 x 4 = 40, + 5 x 4 x (3 + 1)
    // = 120. Make-ready (5 x 10000 x 1 / (5000 x 4) + 120) / 60 + (6 x 4 + 4 + 15) / 60 = 165.5 / 60.
    EXPECT_EQ(record.plates, 12);
    EXPECT_DOUBLE_EQ(run.plateSets, 3.0);
    EXPECT_NEAR(run.mountingPerPlate, 10.0, kFine);
    EXPECT_NEAR(record.makeReadyHours, 2.7583333333333333, kFine);
    EXPECT_NEAR(record.makeReadyCost, 331.0, kMoney);
    // Metal plates: 12 x $14.
    EXPECT_NEAR(record.plateCostMetal, 168.0, kMoney);
    EXPECT_DOUBLE_EQ(record.plateCostOther, 0.0);
    // Washup 20 x 4 = 80 minutes; 20 / 60 x 120 x 4 = $160.
    EXPECT_DOUBLE_EQ(record.washupMinutes, 80.0);
    EXPECT_NEAR(record.washupCost, 160.0, kMoney);
    // Stock: parent sheets 10000 / (2 x 4) x 1 = 1250; 0.5 x 2 x 1000 = 1000 is not above, the second
    // break 2 x 1000 + 0.5 = 2000.5 is: $75 a thousand, 37.5 a thousand press sheets; 37.5 x 1 / 4 x 10 =
    // $93.75; spoiled 93.75 x 12.0425903 / 100 = $11.2899.
    EXPECT_NEAR(record.pressStockCost, 93.75, kMoney);
    EXPECT_NEAR(record.spoilageStockCost, 11.289928394058764, kMoney);
    // Sheets: 12.0425903 x 2500 / 100 = 301.06 -> 301; 2500 + 301.06 = 2801.06 -> 2801.
    EXPECT_EQ(record.spoilageSheets, 301);
    EXPECT_EQ(record.pressSheetsToOrder, 2801);
    // Weights: 120 / 2 / 1000 x 2801.0648 = 168.0639; used 2500 x 120 / 2000 x (8.5 x 11 x 4 x 2 / 950).
    EXPECT_NEAR(record.pressSheetWeight, 168.06388543049403, kFine);
    EXPECT_NEAR(record.usedPaperWeight, 118.10526315789474, kFine);
    // Effective: loads 10000 / (5000 x 4) = 0.5; base (0.5 x 5 + 40) / 60 = 0.7083333;
    // Int(2500 / (2.7583333 - 0.7083333 + 0.4340278) + 0.5) = Int(1006.9) = 1006.
    EXPECT_EQ(record.effectiveSpeed, 1006);
    // Hours 0.4340278 + 0.0522682 + 2.7583333 + 1.25 bindery + 80 / 60.
    EXPECT_NEAR(record.totalHours, 5.827962631453976, kFine);

    // Ink on 19 x 25 = 475 square inches x 2801.0648 sheets: black / 350000 x 30% = 1.1404 lb ($11.4043);
    // cyan / 300000 x 20% = 0.8870 lb ($12.4181), magenta 0.8870 lb ($14.1921), yellow / 320000 x 20% =
    // 0.8316 lb ($10.8104). Colours 2.6056 lb, $37.4205. Four heads for black and three colours: three
    // colour fountains at 0.5 lb, at 37.4205 / 2.6056 a pound (+$21.5425), and one of black at $10.
    EXPECT_NEAR(record.blackInkPounds, 1.6404335082783523, kFine);
    EXPECT_NEAR(record.blackInkCost, 16.404335082783525, kMoney);
    EXPECT_NEAR(record.colourInkPounds, 4.105573779330403, kFine);
    EXPECT_NEAR(record.colourInkCost, 58.96302768187279, kMoney);
    EXPECT_EQ(run.colourSelections, 3);

    // Total 52.0833 + 6.2722 + 331 + 0 + 93.75 + 11.2899 + 168 + 160 + 16.4043 + 80 + 58.9630 + 0.
    EXPECT_NEAR(record.totalCost, 977.7628069331922, kMoney);
    EXPECT_NEAR(result, 977.7628069331922, kMoney);
    // Stock markup by dollars: basis 105.0399; (1 - 30 x Atn(105.0399 / 1000) / 100) x 40 = 38.7441.
    EXPECT_NEAR(record.stockMarkup, 0.3874412619456828, kFine);
    // Retail: press part 977.7628 - 0 - 0 - 105.0399 - 80 = 792.7229 x 1.5 = 1189.0843; + 1.2 x 80
    // + 105.0399 x 1.3874413 = 145.7367 -> 1430.8210.
    EXPECT_NEAR(record.totalRetail, 1430.8210486144374, kMoney);
    EXPECT_NEAR(record.pricePerThousand, 143.08210486144375, kMoney);
    // Bindery time cost 30 x 45 / 60 = 22.5, kept in the bindery work table.
    EXPECT_DOUBLE_EQ(EstimatorProbe::binderyWork(engine, 8), 22.5);
    // Added thousand cost: (2.7583333 - 12 x 10 / 60) x 120 + 52.0833 = 143.0833; + (6.2722 + 11.2899)
    // x (8.0426 + 1.5) / 12.0426 + 93.75 = 250.7524; + 16.4043 + 80 - 22.5 + 58.9630 = 383.6170; / 10.
    EXPECT_NEAR(record.costPerAddedThousand, 38.36169735998589, kMoney);
    EXPECT_NEAR(record.retailPerAddedThousand, 54.66161081567521, kMoney);
    EXPECT_EQ(record.impressions, 2500);
    EXPECT_NEAR(engine.ResStockRetail(), 145.73673080573704, kMoney);
    EXPECT_NEAR(engine.ResPressMinutes(), 274.67775788723856, kFine);
}

// A booklet on the duplicator (press type 0) in book mode: 2,000 copies of 3 signatures one up, 2 plates
// and 2 passes, paper masters that last 800 impressions, no stock selected, black ink plus a PMS colour.
TEST_F(PressShopTest, BookletOnTheDuplicatorIsPricedToTheCent)
{
    Row order = letterheadOrder();
    order.text("ORDERNO", "Q300").num("PRESSQTY", 2000).null("STOCKID").text("STOCKPARENTSIZE", "");
    order.num("STOCKWT1000", 50).num("PRODUCTIONTYPE", 1).num("PRESSTYPE", 0).num("PRESSSIGNATURES", 3);
    order.num("PRESSNUMUPPRESSSHT", 1).num("PRESSNUMUPPARENTSHT", 1).text("PRESSSIZE", "11 X 17");
    order.num("STOCK1000CTN", 0).num("STOCKIND2", 0).num("STOCKIND3", 0);
    order.num("STOCKCOST1", 0).num("STOCKCOST2", 0).num("STOCKCOST3", 30);
    order.num("PRESSID", 3).num("PRESSPLATEID", 3).num("PRESSPLATES", 2).num("PRESSPASSES", 2);
    order.num("PRESSSPEEDEFF", 10).num("PRESSSPEEDKFACTOR", 2).num("PRESSSPOILEFF", 10).num("PRESSSPOILKFACTOR", 2);
    order.num("PPTYPESETVALUE", 0).num("PPTYPESETMINUTES", 0);
    Row press = offsetPress(3);
    press.text("PRESSNAME", "Duplicator").num("PRESSTYPE", 0).num("FEEDERHEIGHT", 2);
    press.num("MINSPEED", 6000).num("MAXSPEED", 9000).num("MINSPOILAGE", 2).num("MAXSPOILAGE", 4);
    press.num("FEEDERLOADINGTIME", 3).num("REGGUIDETIME", 2).num("DELIVERYTIME", 1).num("SETUPTIME", 5);
    press.num("WASHUPTIME", 10).num("FOUNTAINWASTE", 0.1).num("COSTPERHOUR", 40);
    Row plate = paperPlate(3);
    plate.text("PLATENAME", "Paper master").text("PLATEDESC", "Direct image").num("SHEETSPERPLATE", 5);
    plate.num("IMPRESSIONSPERPLATE", 800).num("MOUNTINGTIME", 2).num("REMOUNTTIME", 1).num("WTTIME", 0);
    plate.num("COSTPERPLATE", 3);
    const ShopDatabase db(order.insert() + press.insert() + plate.insert() + shopMarkups()
                          + inkSelection("Q300", "Q", 1, "Black", 5) + inkSelection("Q300", "Q", 0, "PMS 185", 30)
                          + colour(1, "Black", 10, 350000)
                          + "INSERT INTO VENDORSELECTIONS VALUES ('Q300', 1, 'Q', 'Bindery Co', 'Saddle stitch', "
                            "50, 0, 0, 0, 10);\n");
    cEstimator engine(m_context);
    const double result = price(engine, db, "Q300", "Q");
    const auto& run = EstimatorProbe::lastRun(engine);
    const auto& record = summary();

    // Curves: run length 2000, Atn(2000 / (1 x 1000 x 2)) = pi / 4; speed (0.7853982 x 10 / 100 + 1) x
    // 1.00007117 x 6000 = 6472.7 -> 6472; spoilage (1 - 0.0785398) x 4 / 1.00007117 = 3.6855784.
    EXPECT_EQ(record.pressSpeed, 6472);
    EXPECT_NEAR(record.pressSpoilagePercent, 3.685578424634651, kFine);
    // No stock: caliper 0.004, p = 1, c = 2.71828 ^ 0 x (1 / Sqr(3.14159)) x 1.77258 = 1.00007159.
    EXPECT_NEAR(run.caliperFactor, 1.0000715943673402, 1e-12);
    // Feeder: 2 / 0.004 = 500 sheets, three signatures -> 500 ^ (3 - 1) = 250000.
    EXPECT_DOUBLE_EQ(run.feederStack, 250000.0);
    // T = (5 x 3.6855784 x 2 x 1 / 2000 x 100) / Int(3.6) + 1 / 1.00007159 + 0 + 0
    // = 1.8427892 / 3 + 0.9999284 = 1.6141915.
    EXPECT_NEAR(record.totalSpoilagePercent, 1.614191481530488, kFine);
    // Run 2000 / 6472 x 2 / 1 = 0.6180470 h, $24.7219.
    EXPECT_NEAR(record.runHours, 0.6180469715698393, kFine);
    EXPECT_NEAR(record.runCost, 24.721878862793574, kMoney);
    // Spoilage: (3.6855784 + 0) / 100 x 2000 = 73.7116 + 2 / 3 x 5 = 77.0449 sheets / 6472.
    EXPECT_NEAR(record.spoilageHours, 0.011904342062117792, kFine);
    // Plates: 2000 impressions / 800 + 1 = 3.5 -> 3 sets, 6 plates at $3; minutes 2 x 2 + 1 x 2 x 4 = 12;
    // make-ready (3 x 3 + 12) / 60 + (2 x 2 + 1 + 5) / 60 = 31 / 60.
    EXPECT_EQ(record.plates, 6);
    EXPECT_NEAR(record.plateCostOther, 18.0, kMoney);
    EXPECT_NEAR(record.makeReadyHours, 0.5166666666666666, kFine);
    EXPECT_NEAR(record.makeReadyCost, 20.666666666666664, kMoney);
    // Stock: parent sheets 2000 / 1 x 3 = 6000; both breaks are 0 -> third price $30; 30 x 3 x 2 = $180.
    EXPECT_NEAR(record.pressStockCost, 180.0, kMoney);
    EXPECT_NEAR(record.spoilageStockCost, 2.9055446667548783, kMoney);
    // Sheets: 1.6141915 x 2000 x 3 / 100 = 96.85 -> 97; 6000 + 96.85 = 6096.85 -> 6097.
    EXPECT_EQ(record.spoilageSheets, 97);
    EXPECT_EQ(record.pressSheetsToOrder, 6097);
    // No parent sheet size: no used paper weight.
    EXPECT_NEAR(record.pressSheetWeight, 304.84257444459143, kFine);
    EXPECT_DOUBLE_EQ(record.usedPaperWeight, 0.0);
    // Loads 2 x 2000 / 250000 = 0.016; base (0.016 x 3 + 4) / 60 = 0.0674667;
    // Int(4000 / (0.5166667 - 0.0674667 + 0.6180470) + 0.5) = Int(3748.9) = 3748.
    EXPECT_EQ(record.effectiveSpeed, 3748);
    // Black 11 x 17 x 6096.85 / 350000 x 5% = 0.1628730 lb + 0.1 lb fountain; the PMS colour is not priced.
    EXPECT_NEAR(record.blackInkPounds, 0.26287303263182454, kFine);
    EXPECT_NEAR(record.blackInkCost, 2.6287303263182453, kMoney);
    EXPECT_DOUBLE_EQ(record.colourInkPounds, 0.0);
    // Totals: 24.7219 + 0.4762 + 20.6667 + 0 + 180 + 2.9055 + 18 + 6.6667 + 2.6287 + 0 + 0 + 50.
    EXPECT_NEAR(result, 306.0656608716847, kMoney);
    // Stock markup: basis 2000 x 3 / 1 = 6000; (1 - 0.2 x Atn(1.2)) x 40 = 32.9915.
    EXPECT_NEAR(record.stockMarkup, 0.3299153559521445, kFine);
    EXPECT_NEAR(record.totalRetail, 410.4890668485029, kMoney);
    EXPECT_NEAR(record.pricePerThousand, 205.24453342425144, kMoney);
    EXPECT_NEAR(record.costPerAddedThousand, 142.7298954916643, kMoney);
    EXPECT_NEAR(record.retailPerAddedThousand, 188.90887674315346, kMoney);
    // Impressions 2000 x 2 passes x 1 x 1 / 1.
    EXPECT_EQ(record.impressions, 4000);
}

// A job printed elsewhere: no press on the order, a vendor's $200, bindery work of $50 ($60 retail,
// 20 set-up minutes at $36 an hour, 30 sheets of waste, 0.75 hours) and $60 of typesetting (45 minutes).
class JobWithoutPress : public PressShopTest
{
protected:
    static Row order(double quantity)
    {
        Row row = letterheadOrder();
        row.text("ORDERNO", "J400").text("QUOTEORJOB", "J").null("PRESSID").num("PRESSQTY", quantity);
        row.num("PPTYPESETVALUE", 60).num("PPTYPESETMINUTES", 45);
        return row;
    }
    static std::string vendor()
    {
        return "INSERT INTO VENDORSELECTIONS VALUES ('J400', 1, 'J', 'Foil House', 'Foil stamping', 200, 0, 0, 0, "
               "20);\n";
    }
    static void binderyWork(cEstimator& e)
    {
        estimator::BinderyReportRow& totals = EstimatorProbe::binderyTotals(e, 1);
        totals.cost = 50;
        totals.retail = 60;
        totals.setupMinutes = 20;
        totals.waste = 30;
        EstimatorProbe::binderyCostPerHour(e) = 36;
        e.context().summary[1].binderyHours = 0.75;
    }
};

TEST_F(JobWithoutPress, IsPricedFromVendorBinderyAndPrePress)
{
    const ShopDatabase db(order(1000).insert() + shopMarkups() + vendor());
    cEstimator engine(m_context);
    const double result = price(engine, db, "J400", "J", binderyWork);
    const auto& record = summary();

    // The vendor cost is what the estimate returns.
    EXPECT_NEAR(result, 200.0, kMoney);
    EXPECT_NEAR(record.vendorCost, 200.0, kMoney);
    // 200 + 50 + 60 pre-press.
    EXPECT_NEAR(record.totalCost, 310.0, kMoney);
    // 0.75 pre-press + 0.75 bindery hours.
    EXPECT_DOUBLE_EQ(record.totalHours, 1.5);
    EXPECT_EQ(record.totalHoursText.str(), "001:30");
    // Vendor retail at the Outside Services markup, 1.15 x 200.
    EXPECT_NEAR(record.vendorRetail, 230.0, kMoney);
    EXPECT_NEAR(engine.VendorRetail(), 230.0, kMoney);
    EXPECT_DOUBLE_EQ(record.outsideServicesMarkup, 0.15);
    // Retail 230 + 60 bindery + 78 pre-press (60 at 30 per cent).
    EXPECT_NEAR(record.totalRetail, 368.0, kMoney);
    EXPECT_NEAR(engine.EstRetail(), 368.0, kMoney);
    // Per thousand without the pre-press: (230 + 60) x 1000 / 1000.
    EXPECT_NEAR(record.pricePerThousand, 290.0, kMoney);
    // Added thousand: bindery time 20 x 36 / 60 = 12; (50 - 12) x 1000 / 1000 + 200 x 1000 / 1000 = 238;
    // retail (50 - 12) x 1.2 + 1.15 x 200 = 275.6.
    EXPECT_DOUBLE_EQ(EstimatorProbe::binderyWork(engine, 8), 12.0);
    EXPECT_NEAR(record.costPerAddedThousand, 238.0, kMoney);
    EXPECT_NEAR(record.retailPerAddedThousand, 275.6, kMoney);
    // Sheets for the bindery's spoilage: Q = 30 x 2 / (1000 x 1) x 100 = 6; 6 x 1000 / 2 x 1 / 100 = 30;
    // 500 + 30 = 530.
    EXPECT_EQ(record.spoilageSheets, 30);
    EXPECT_EQ(record.pressSheetsToOrder, 530);
    EXPECT_EQ(engine.PressSheetsToOrder(), 530);
    // Hours, price per thousand and the stock and press results are the press's own: left alone.
    EXPECT_DOUBLE_EQ(engine.EstHrs(), 0.0);
    EXPECT_DOUBLE_EQ(engine.Price1000(), 0.0);
    EXPECT_DOUBLE_EQ(engine.ResPressMinutes(), 0.0);
}

TEST_F(JobWithoutPress, Quantity999HasNoAddedThousandFigures)
{
    const ShopDatabase db(order(999).insert() + shopMarkups() + vendor());
    cEstimator engine(m_context);
    price(engine, db, "J400", "J", binderyWork);
    EXPECT_DOUBLE_EQ(summary().costPerAddedThousand, 0.0);
    EXPECT_DOUBLE_EQ(summary().retailPerAddedThousand, 0.0);
    // (230 + 60) x 1000 / 999.
    EXPECT_NEAR(summary().pricePerThousand, 290000.0 / 999, kMoney);
}

TEST_F(JobWithoutPress, WithNothingToPriceEveryTotalIsZero)
{
    // A press number of 0 reads as no press, like an empty one.
    Row bare = order(2500);
    bare.num("PRESSID", 0).num("PPTYPESETVALUE", 0).num("PPTYPESETMINUTES", 0);
    const ShopDatabase db(bare.insert());
    cEstimator engine(m_context);
    EXPECT_DOUBLE_EQ(price(engine, db, "J400", "J"), 0.0);
    EXPECT_DOUBLE_EQ(summary().totalCost, 0.0);
    EXPECT_DOUBLE_EQ(summary().totalRetail, 0.0);
    EXPECT_DOUBLE_EQ(summary().pricePerThousand, 0.0);
    EXPECT_DOUBLE_EQ(summary().costPerAddedThousand, 0.0);
    // 2500 x 1 / 2 net sheets and no spoilage.
    EXPECT_EQ(summary().pressSheetsToOrder, 1250);
}

} // namespace
} // namespace presstest

namespace presstest {
namespace {

// Every order of the demo shop, with its own bindery, pre-press and vendor work, prices through to its
// job totals without a fault: the press sheets cover the net sheets, the retail covers the cost, and the
// price per thousand is the retail over the quantity.
struct DemoOrder
{
    const char* orderNo;
    const char* quoteOrJob;
};

void PrintTo(const DemoOrder& order, std::ostream* os)
{
    *os << order.orderNo;
}

class DemoShop : public PressShopTest, public ::testing::WithParamInterface<DemoOrder>
{
};

TEST_P(DemoShop, OrderPricesToItsJobTotals)
{
    const DemoOrder& order = GetParam();
    const testsupport::TestDatabase db("BEGIN;\n" + testsupport::demoShopSql() + "\nCOMMIT;\n", false);
    estimator::cEstimator engine(m_context);
    ASSERT_NO_THROW(price(engine, db, order.orderNo, order.quoteOrJob));
    const estimator::SummaryRecord& record = summary();
    ASSERT_GT(record.quantity, 0);
    EXPECT_GT(record.totalCost, 0.0);
    EXPECT_GE(record.totalRetail, record.totalCost);
    EXPECT_GE(record.pressSheetsToOrder, 0);
    EXPECT_GE(engine.PressSheetsToOrder(), 0);
    if (EstimatorProbe::hasRun(engine) && EstimatorProbe::lastRun(engine).pressId != 0) {
        const auto& run = EstimatorProbe::lastRun(engine);
        EXPECT_GT(record.pressSpeed, 0);
        EXPECT_GE(run.pressSheetsToOrder, run.spoilageSheets);
        EXPECT_GT(run.totalSpoilage, 0.0);
        EXPECT_NEAR(record.pricePerThousand, record.totalRetail * 1000 / record.quantity, 1e-9);
        EXPECT_NEAR(engine.EstRetail(), record.totalRetail, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, DemoShop,
                         ::testing::Values(DemoOrder{"24101", "Q"}, DemoOrder{"24102", "Q"}, DemoOrder{"24103", "J"},
                                           DemoOrder{"24104", "J"}, DemoOrder{"O'NEIL-01", "Q"},
                                           DemoOrder{"24105", "J"}, DemoOrder{"24106", "Q"},
                                           DemoOrder{"24107", "J"}));

} // namespace
} // namespace presstest
