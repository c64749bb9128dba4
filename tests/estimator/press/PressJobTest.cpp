// Whole jobs priced by the press department, with every press, ink and job-total figure worked out by hand
// beside its check. Each job is priced from its inputs alone; a job a shop database can hold is priced
// again from that database through the four department estimates, which must reach the same figures.

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "estimator/press/PressInputs.h"
#include "estimator/press/PressResults.h"
#include "tests/estimator/press/PressShop.h"

namespace presstest {
namespace {

using estimator::cEstimator;
using estimator::press::PressResults;
using platform::Value;
namespace press = estimator::press;

constexpr double kMoney = 1e-9; // figures are compared to far below a cent
constexpr double kFine = 1e-9;
constexpr double kExact = 0;

// One figure of a job and how to read it from the press department's results. Working figures exist only
// in the results; report and engine figures are also what a shop database run leaves in the engine.
struct Figure
{
    const char* name;
    double (*read)(const PressResults&);
    double expected;
    double tolerance;
    bool working = false;
    std::string (*readText)(const PressResults&) = nullptr;
    const char* text = nullptr;
};

#define REPORT(field, value, tolerance) \
    Figure { #field, [](const PressResults& r) { return static_cast<double>(r.report.field); }, value, tolerance }
#define ENGINE(field, value, tolerance) \
    Figure { #field, [](const PressResults& r) { return static_cast<double>(r.engine.field); }, value, tolerance }
#define WORKING(field, value, tolerance) \
    Figure { #field, [](const PressResults& r) { return static_cast<double>(r.field); }, value, tolerance, true }
#define TEXT(field, value)                                                                          \
    Figure { #field, nullptr, 0, 0, false, [](const PressResults& r) { return r.report.field.str(); }, value }

struct GoldenJob
{
    const char* name;
    press::PressInputs (*inputs)();
    press::InkInputs (*inks)();
    press::JobTotalsInputs (*totals)();
    std::vector<Figure> figures;
    std::string (*shop)() = nullptr; // the same job as a shop database, where one can hold it
    const char* orderNo = nullptr;
    const char* quoteOrJob = nullptr;
};

// Failures name the case rather than print its bytes.
void PrintTo(const GoldenJob& job, std::ostream* os)
{
    *os << job.name;
}

press::InkInputs letterheadInks()
{
    return {.sheetWidth = 12, .sheetLength = 18, .hasBlack = true, .hasColour = false,
            .colours = {inkColour("Black", 12, 400000, 10)}};
}

// A numbering service of $100 at every level.
press::JobTotalsInputs letterheadTotals()
{
    return {.vendorCost = 100, .vendorLevelOneCost = 100, .markups = shopMarkupPercents()};
}

std::string letterheadShop()
{
    return letterheadOrder().insert() + offsetPress().insert() + paperPlate().insert() + shopMarkups()
           + inkSelection("Q100", "Q", 1, "Black", 10) + colour(1, "Black", 12, 400000)
           + "INSERT INTO VENDORSELECTIONS VALUES ('Q100', 1, 'Q', 'Numbering Co', 'Numbering', 100, 150, 0, 0, "
             "25);\n";
}

const std::vector<Figure> kLetterheadFigures = {
    // Curves: caliper 0 -> 0.004, modifier 1.77258 / sqrt(3.14159265358979) = 1.00007117; run length
    // 5,000; speed (Atn(5000 / (2 x 1000 x 5)) x 20 / 100 + 1) x 1.00007117 x 2000
    // = 1.0927295 x 2000.1423 = 2185.61 -> 2186; difficulty 5 leaves it.
    WORKING(curveSpeed, 2186, kExact),
    REPORT(pressSpeed, 2186, kExact),
    // Spoilage (1 - Atn(5000 / (2 x 1000 x 20)) x 20 / 100) x 6 / 1.00007117 = 0.9751290 x 5.9995730
    // = 5.8503576.
    REPORT(pressSpoilagePercent, 5.850357624861276, kFine),
    // With stock selected and a stock press efficiency of 100 the caliper factor is 1.
    WORKING(caliperFactor, 1.0, kExact),
    // T = 1 x 5.8503576 / 1 + (20 x 1) x 2 / 5000 x 100 / 1 / 1 + 0 = 5.8503576 + 0.8.
    REPORT(totalSpoilagePercent, 6.650357624861276, kFine),
    // Run hours 5000 / 2186 x 1 / 2 = 1.1436414; at $60: $68.6185.
    REPORT(runHours, 1.1436413540713632, kFine),
    TEXT(runHoursText, "001:09"),
    REPORT(runCost, 68.6184812442818, kMoney),
    // Spoilage hours: (1 x 5.8503576 + 0) / 100 x 5000 / 2 = 146.2589, + 1 / 1 x 20 = 166.2589 sheets,
    // / 2186 x 1 = 0.0760562 h; $4.5634.
    REPORT(spoilageHours, 0.07605623999155164, kFine),
    REPORT(spoilageCost, 4.563374399493099, kMoney),
    // Make-ready: feeder stack 10 / 0.004 = 2500; (6 x 5000 x 1 / (2500 x 2) + 12 x 1) / 60 = 0.3, plus
    // (5 x 1 + 3 + 10) / 60 = 0.3 -> 0.6 h, $36.
    REPORT(makeReadyHours, 0.6, kFine),
    TEXT(makeReadyHoursText, "000:36"),
    REPORT(makeReadyCost, 36.0, kMoney),
    // Washup 15 minutes x 1 head; 15 / 60 x 60 x 1 = $15.
    REPORT(washupMinutes, 15.0, kExact),
    TEXT(washupMinutesText, "000:15"),
    REPORT(washupCost, 15.0, kMoney),
    // 2,500 impressions on a 10,000 plate life: one set, one plate at $8, not metal.
    REPORT(plates, 1, kExact),
    REPORT(plateCostOther, 8.0, kMoney),
    REPORT(plateCostMetal, 0.0, kExact),
    // Parent sheets 5000 / (4 x 2) x 1 = 625, below 2.5 x 2 x 1000 = 5000: $80 a thousand, $20 a thousand
    // press sheets; stock 20 x 1 / 2 x 5000 / 1000 = $50; spoiled stock 50 x 6.6503576 / 100 = $3.3252.
    REPORT(pressStockCost, 50.0, kMoney),
    REPORT(spoilageStockCost, 3.325178812430638, kMoney),
    // Sheets: spoilage 6.6503576 x 5000 / 2 x 1 / 100 = 166.26 -> 166; to order 2500 + 166.26 = 2666.26
    // -> 2666.
    REPORT(spoilageSheets, 166, kExact),
    REPORT(pressSheetsToOrder, 2666, kExact),
    ENGINE(PressSheetsToOrder, 2666, kExact),
    // Weights: 40 / 4 / 1000 x 2666.2589 = 26.6626; used: 2500 x 40 / 4000 x (8.5 x 11 x 2 x 4 / (23 x 35)
    // = 0.9291925) = 23.2298.
    REPORT(pressSheetWeight, 26.66258940621532, kFine),
    REPORT(usedPaperWeight, 23.229813664596275, kFine),
    // Effective speed: loads 1 x 5000 / (2500 x 2) = 1 (not above 1, kept); base make-ready
    // (1 x 6 + 12) / 60 = 0.3; Int(2500 x 1 / (0.6 - 0.3 + 1.1436414) + 0.5) = Int(1732.3) = 1732.
    REPORT(effectiveSpeed, 1732, kExact),
    // Total hours: 1.1436414 + 0.0760562 + 0.6 + 0 bindery + 30 / 60 pre-press + 15 / 60 washup.
    REPORT(totalHours, 2.569697594062915, kFine),
    TEXT(totalHoursText, "002:34"),
    REPORT(pressHours, 2.069697594062915, kFine),
    // Ink: 12 x 18 x 2666.2589 / 400000 x 10 / 100 = 0.1439780 lb at $12 = $1.7277; one head of black only:
    // fountain waste 0.25 lb at $12 -> 0.3939780 lb, $4.7277.
    REPORT(blackInkPounds, 0.3939779827935627, kFine),
    REPORT(blackInkCost, 4.727735793522752, kMoney),
    REPORT(colourInkPounds, 0.0, kExact),
    REPORT(colourInkCost, 0.0, kExact),
    // Total cost 68.6185 + 4.5634 + 36 + 40 pre-press + 50 + 3.3252 + 8 + 15 + 4.7277 + 0 + 0 + 100 vendor.
    REPORT(totalCost, 330.2347702497283, kMoney),
    WORKING(totalCost, 330.2347702497283, kMoney),
    REPORT(pressCost, 68.6184812442818 + 4.563374399493099 + 36 + 15, kMoney),
    // Stock markup by sheets: basis 5000 x 1 / 2 = 2500; (1 - 20 x Atn(2500 / 5000) / 100) x 40 = 36.2908.
    REPORT(stockMarkup, 0.3629081912799355, kFine),
    // Retail: press part 330.2348 - 100 - 40 - 50 - 3.3252 - 0 = 136.9096 x 1.5 = 205.3644; + 1.3 x 40;
    // + 1.2 x 0 + 53.3252 x 1.3629082; + 1.15 x 100 = 445.0417.
    REPORT(totalRetail, 445.0417101608755, kMoney),
    ENGINE(EstRetail, 445.0417101608755, kMoney),
    REPORT(vendorRetail, 115.0, kMoney),
    ENGINE(VendorRetail, 115.0, kMoney),
    REPORT(pressMarkup, 0.5, kExact),
    REPORT(outsideServicesMarkup, 0.15, kExact),
    // Per thousand: 445.0417 x 1000 / 5000.
    REPORT(pricePerThousand, 89.0083420321751, kMoney),
    ENGINE(Price1000, 89.0083420321751, kMoney),
    // Added thousand cost: (0.6 - 1 x 12 / 60) x 60 + 68.6185 = 92.6185; + (4.5634 + 3.3252) x 5.8504
    // / 6.6504 + 50 = 149.5582; + 4.7277 = 154.2860; x 1000 / 5000 = 30.8572 + 100 x 1000 / 5000.
    REPORT(costPerAddedThousand, 50.857164479954804, kMoney),
    // Added thousand retail: y = 92.6185 + 5.8504 x 4.5634 / 6.6504 + 4.7277 = 101.3606; x 1.5
    // + (5.8504 x 3.3252 / 6.6504 + 50) x 1.3629082 = 220.2893; x 1000 / 5000 + 1.15 x 20.
    REPORT(retailPerAddedThousand, 67.83462502188642, kMoney),
    // Impressions 5000 x 1 x 1 x 1 / 2.
    REPORT(impressions, 2500, kExact),
    ENGINE(EstHrs, 2.569697594062915, kFine),
    ENGINE(ResStockCost, 53.325178812430636, kMoney),
    ENGINE(ResStockRetail, 72.67732300492898, kMoney),
    ENGINE(ResPressMinutes, 124.1818556437749, kFine),
    // No estimate prices the press and ink result properties.
    ENGINE(ResPressCost, 0.0, kExact),
    ENGINE(ResInkCost, 0.0, kExact),
};

// ---- four colours with bindery work -------------------------------------------------------------------

// 10,000 pieces 4 up, 4 metal plates of 1,000 impressions' life, a stock that runs at 80 per cent on a
// press whose speed the stock affects, stock marked up by dollars, and the bindery's work: 40 sheets of
// waste, 1.5 per cent, $80 cost ($96 retail), 30 set-up minutes at $45 an hour, 1.25 hours.
press::PressInputs fourColourInputs()
{
    press::PressInputs in = letterheadInputs();
    in.order = {.quantity = 10000, .piecesToProduce = 10000, .numberUp = 4, .signatures = 1, .parts = 1,
                .pressDiffFactor = 1, .pressSheetsPerParent = 2, .stockSelected = true, .pressTypeZero = false,
                .parentSheetKnown = true, .parentUsageRatio = 8.5 * 11 * 4 * 2 / (25.0 * 38)};
    press::PressSettings& p = in.settings;
    p.pressId = 2;
    p.plateId = 2;
    p.stockPressEfficiency = 80;
    p.useStockPressEfficiency = true;
    p.stockImpact = true;
    p.speedEfficiency = 25;
    p.speedKFactor = 4;
    p.spoilEfficiency = 30;
    p.spoilKFactor = 10;
    p.difficulty = 6;
    p.plates = 4;
    p.printHeads = 4;
    p.feederHeight = 20;
    p.minSpeed = 5000;
    p.maxSpeed = 12000;
    p.minSpoilage = 2;
    p.maxSpoilage = 8;
    p.feederLoadingTime = 5;
    p.regGuideTime = 6;
    p.deliveryTime = 4;
    p.setupTime = 15;
    p.washupTime = 20;
    p.fountainWaste = 0.5;
    p.costPerHour = 120;
    p.sheetsPerPlate = 15;
    p.impressionsPerPlate = 1000;
    p.mountingTime = 10;
    p.remountTime = 5;
    p.costPerPlate = 14;
    p.metalPlate = true;
    in.stock = {.cartonThousands = 0.5, .break2 = 2, .break3 = 2, .cost1 = 90, .cost2 = 75, .cost3 = 65,
                .weightPerThousand = 120};
    in.bindery = {.stockCaliper = 0, .spoilagePercent = 1.5, .waste = 40, .cost = 80, .retail = 96,
                  .setupMinutes = 30, .costPerHour = 45, .hours = 1.25};
    in.prePress = {};
    return in;
}

press::InkInputs fourColourInks()
{
    return {.sheetWidth = 19, .sheetLength = 25, .hasBlack = true, .hasColour = true,
            .colours = {inkColour("Black", 10, 350000, 30), inkColour("Cyan", 14, 300000, 20),
                        inkColour("Magenta", 16, 300000, 20), inkColour("Yellow", 13, 320000, 20)}};
}

press::JobTotalsInputs fourColourTotals()
{
    return {.markups = shopMarkupPercents(), .stockMarkupByDollars = true, .stockEfficiency = 30,
            .stockKFactor = 1};
}

const std::vector<Figure> kFourColourFigures = {
    // Curves with the stock's own efficiency: modifier 1; (Atn(10000 / (4 x 1000 x 4)) x 25 / 100 + 1)
    // x 5000 = 5698.25; Int(80 x 5698.25 / 100 + 0.5) = 4559, raised to 5000, x 6 / 5 = 6000.
    WORKING(curveSpeed, 6000, kExact),
    // Spoilage (1 - Atn(0.25) x 30 / 100) x 8 = 7.4120512; x 100 / 80 = 9.2650640; x 5 / 6 = 7.7208867.
    WORKING(curveSpoilage, 7.720886675516174, kFine),
    // Rating 6: 6 x 6000 / 5 = 7200 and 7.7208867 x 5 / 6 = 6.4340722; the stock's effect on this press:
    // Int(7200 x 80 / 100 + 0.5) = 5760 and 6.4340722 x 100 / 80 = 8.0425903.
    REPORT(pressSpeed, 5760, kExact),
    REPORT(pressSpoilagePercent, 8.042590286996013, kFine),
    // Bindery: B = 1.5; Q = 40 x 4 / (10000 x 1) x 100 = 1.6.
    REPORT(binderySpoilagePercent, 1.5, kExact),
    WORKING(binderyShare, 1.6, kFine),
    // T = 1 x 8.0425903 / 1 + (15 x 4) x 4 / 10000 x 100 / 1 / 1 + 1.6 = 12.0425903.
    REPORT(totalSpoilagePercent, 12.042590286996013, kFine),
    // Run 10000 / 5760 x 1 / 4 = 0.4340278 h at $120 = $52.0833.
    REPORT(runHours, 0.4340277777777778, kFine),
    REPORT(runCost, 52.083333333333336, kMoney),
    // Spoilage: (8.0425903 + 1.6) / 100 x 2500 = 241.0648 + 4 / 1 x 15 = 301.0648 sheets / 5760.
    REPORT(spoilageHours, 0.0522681870095313, kFine),
    REPORT(spoilageCost, 6.272182441143756, kMoney),
    // Plates: 2500 impressions / 1000 + 1 -> 3 sets, 12 plates; minutes 10 x 4 = 40, + 5 x 4 x (3 + 1)
    // = 120. Make-ready (5 x 10000 x 1 / (5000 x 4) + 120) / 60 + (6 x 4 + 4 + 15) / 60 = 165.5 / 60.
    REPORT(plates, 12, kExact),
    WORKING(plateSets, 3.0, kExact),
    WORKING(mountingPerPlate, 10.0, kFine),
    REPORT(makeReadyHours, 2.7583333333333333, kFine),
    REPORT(makeReadyCost, 331.0, kMoney),
    // Metal plates: 12 x $14.
    REPORT(plateCostMetal, 168.0, kMoney),
    REPORT(plateCostOther, 0.0, kExact),
    // Washup 20 x 4 = 80 minutes; 20 / 60 x 120 x 4 = $160.
    REPORT(washupMinutes, 80.0, kExact),
    REPORT(washupCost, 160.0, kMoney),
    // Stock: parent sheets 10000 / (2 x 4) x 1 = 1250; 0.5 x 2 x 1000 = 1000 is not above, the second
    // break 2 x 1000 + 0.5 = 2000.5 is: $75 a thousand, 37.5 a thousand press sheets; 37.5 x 1 / 4 x 10 =
    // $93.75; spoiled 93.75 x 12.0425903 / 100 = $11.2899.
    REPORT(pressStockCost, 93.75, kMoney),
    REPORT(spoilageStockCost, 11.289928394058764, kMoney),
    // Sheets: 12.0425903 x 2500 / 100 = 301.06 -> 301; 2500 + 301.06 = 2801.06 -> 2801.
    REPORT(spoilageSheets, 301, kExact),
    REPORT(pressSheetsToOrder, 2801, kExact),
    // Weights: 120 / 2 / 1000 x 2801.0648 = 168.0639; used 2500 x 120 / 2000 x (8.5 x 11 x 4 x 2 / 950).
    REPORT(pressSheetWeight, 168.06388543049403, kFine),
    REPORT(usedPaperWeight, 118.10526315789474, kFine),
    // Effective: loads 10000 / (5000 x 4) = 0.5; base (0.5 x 5 + 40) / 60 = 0.7083333;
    // Int(2500 / (2.7583333 - 0.7083333 + 0.4340278) + 0.5) = Int(1006.9) = 1006.
    REPORT(effectiveSpeed, 1006, kExact),
    // Hours 0.4340278 + 0.0522682 + 2.7583333 + 1.25 bindery + 80 / 60.
    REPORT(totalHours, 5.827962631453976, kFine),
    // Ink on 19 x 25 = 475 square inches x 2801.0648 sheets: black / 350000 x 30% = 1.1404 lb ($11.4043);
    // cyan / 300000 x 20% = 0.8870 lb ($12.4181), magenta 0.8870 lb ($14.1921), yellow / 320000 x 20% =
    // 0.8316 lb ($10.8104). Colours 2.6056 lb, $37.4205. Four heads for black and three colours: three
    // colour fountains at 0.5 lb, at 37.4205 / 2.6056 a pound (+$21.5425), and one of black at $10.
    REPORT(blackInkPounds, 1.6404335082783523, kFine),
    REPORT(blackInkCost, 16.404335082783525, kMoney),
    REPORT(colourInkPounds, 4.105573779330403, kFine),
    REPORT(colourInkCost, 58.96302768187279, kMoney),
    WORKING(colourSelections, 3, kExact),
    // Total 52.0833 + 6.2722 + 331 + 0 + 93.75 + 11.2899 + 168 + 160 + 16.4043 + 80 + 58.9630 + 0.
    REPORT(totalCost, 977.7628069331922, kMoney),
    WORKING(totalCost, 977.7628069331922, kMoney),
    // Stock markup by dollars: basis 105.0399; (1 - 30 x Atn(105.0399 / 1000) / 100) x 40 = 38.7441.
    REPORT(stockMarkup, 0.3874412619456828, kFine),
    // Retail: press part 977.7628 - 0 - 0 - 105.0399 - 80 = 792.7229 x 1.5 = 1189.0843; + 1.2 x 80
    // + 105.0399 x 1.3874413 = 145.7367 -> 1430.8210.
    REPORT(totalRetail, 1430.8210486144374, kMoney),
    REPORT(pricePerThousand, 143.08210486144375, kMoney),
    // Bindery time cost 30 x 45 / 60 = 22.5.
    WORKING(binderyTimeCost, 22.5, kExact),
    // Added thousand cost: (2.7583333 - 12 x 10 / 60) x 120 + 52.0833 = 143.0833; + (6.2722 + 11.2899)
    // x (8.0426 + 1.5) / 12.0426 + 93.75 = 250.7524; + 16.4043 + 80 - 22.5 + 58.9630 = 383.6170; / 10.
    REPORT(costPerAddedThousand, 38.36169735998589, kMoney),
    REPORT(retailPerAddedThousand, 54.66161081567521, kMoney),
    REPORT(impressions, 2500, kExact),
    ENGINE(ResStockRetail, 145.73673080573704, kMoney),
    ENGINE(ResPressMinutes, 274.67775788723856, kFine),
};

// ---- a booklet on the duplicator ----------------------------------------------------------------------

// Press type 0 in book mode: 2,000 copies of 3 signatures one up on 11 X 17, 2 plates and 2 passes, paper
// masters that last 800 impressions, no stock selected, black ink plus a PMS colour (not priced), and a
// saddle-stitching vendor at $50.
press::PressInputs bookletInputs()
{
    press::PressInputs in = letterheadInputs();
    in.order = {.quantity = 2000, .piecesToProduce = 2000, .numberUp = 1, .signatures = 3, .parts = 1,
                .pressDiffFactor = 1, .pressSheetsPerParent = 1, .stockSelected = false, .pressTypeZero = true,
                .parentSheetKnown = false, .parentUsageRatio = 0};
    press::PressSettings& p = in.settings;
    p.pressId = 3;
    p.plateId = 3;
    p.speedEfficiency = 10;
    p.speedKFactor = 2;
    p.spoilEfficiency = 10;
    p.spoilKFactor = 2;
    p.plates = 2;
    p.passes = 2;
    p.feederHeight = 2;
    p.minSpeed = 6000;
    p.maxSpeed = 9000;
    p.minSpoilage = 2;
    p.maxSpoilage = 4;
    p.feederLoadingTime = 3;
    p.regGuideTime = 2;
    p.deliveryTime = 1;
    p.setupTime = 5;
    p.washupTime = 10;
    p.fountainWaste = 0.1;
    p.costPerHour = 40;
    p.sheetsPerPlate = 5;
    p.impressionsPerPlate = 800;
    p.mountingTime = 2;
    p.remountTime = 1;
    p.wtTime = 0;
    p.costPerPlate = 3;
    in.stock = {.cost3 = 30, .weightPerThousand = 50};
    in.prePress = {};
    return in;
}

press::InkInputs bookletInks()
{
    return {.sheetWidth = 11, .sheetLength = 17, .hasBlack = true, .hasColour = false,
            .colours = {inkColour("Black", 10, 350000, 5)}};
}

press::JobTotalsInputs bookletTotals()
{
    return {.vendorCost = 50, .vendorLevelOneCost = 50, .markups = shopMarkupPercents()};
}

std::string bookletShop()
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
    return order.insert() + press.insert() + plate.insert() + shopMarkups()
           + inkSelection("Q300", "Q", 1, "Black", 5) + inkSelection("Q300", "Q", 0, "PMS 185", 30)
           + colour(1, "Black", 10, 350000)
           + "INSERT INTO VENDORSELECTIONS VALUES ('Q300', 1, 'Q', 'Bindery Co', 'Saddle stitch', 50, 0, 0, 0, 10);\n";
}

const std::vector<Figure> kBookletFigures = {
    // Curves: run length 2000, Atn(2000 / (1 x 1000 x 2)) = pi / 4; speed (0.7853982 x 10 / 100 + 1) x
    // 1.00007117 x 6000 = 6472.7 -> 6472; spoilage (1 - 0.0785398) x 4 / 1.00007117 = 3.6855784.
    REPORT(pressSpeed, 6472, kExact),
    REPORT(pressSpoilagePercent, 3.685578424634651, kFine),
    // No stock: caliper 0.004, p = 1, c = 2.71828 ^ 0 x (1 / Sqr(3.14159)) x 1.77258 = 1.00007159.
    WORKING(caliperFactor, 1.0000715943673402, 1e-12),
    // Feeder: 2 / 0.004 = 500 sheets, three signatures -> 500 ^ (3 - 1) = 250000.
    WORKING(feederStack, 250000.0, kExact),
    // T = (5 x 3.6855784 x 2 x 1 / 2000 x 100) / Int(3.6) + 1 / 1.00007159 + 0 + 0
    // = 1.8427892 / 3 + 0.9999284 = 1.6141915.
    REPORT(totalSpoilagePercent, 1.614191481530488, kFine),
    // Run 2000 / 6472 x 2 / 1 = 0.6180470 h, $24.7219.
    REPORT(runHours, 0.6180469715698393, kFine),
    REPORT(runCost, 24.721878862793574, kMoney),
    // Spoilage: (3.6855784 + 0) / 100 x 2000 = 73.7116 + 2 / 3 x 5 = 77.0449 sheets / 6472.
    REPORT(spoilageHours, 0.011904342062117792, kFine),
    // Plates: 2000 impressions / 800 + 1 = 3.5 -> 3 sets, 6 plates at $3; minutes 2 x 2 + 1 x 2 x 4 = 12;
    // make-ready (3 x 3 + 12) / 60 + (2 x 2 + 1 + 5) / 60 = 31 / 60.
    REPORT(plates, 6, kExact),
    REPORT(plateCostOther, 18.0, kMoney),
    REPORT(makeReadyHours, 0.5166666666666666, kFine),
    REPORT(makeReadyCost, 20.666666666666664, kMoney),
    // Stock: parent sheets 2000 / 1 x 3 = 6000; both breaks are 0 -> third price $30; 30 x 3 x 2 = $180.
    REPORT(pressStockCost, 180.0, kMoney),
    REPORT(spoilageStockCost, 2.9055446667548783, kMoney),
    // Sheets: 1.6141915 x 2000 x 3 / 100 = 96.85 -> 97; 6000 + 96.85 = 6096.85 -> 6097.
    REPORT(spoilageSheets, 97, kExact),
    REPORT(pressSheetsToOrder, 6097, kExact),
    // No parent sheet size: no used paper weight.
    REPORT(pressSheetWeight, 304.84257444459143, kFine),
    REPORT(usedPaperWeight, 0.0, kExact),
    // Loads 2 x 2000 / 250000 = 0.016; base (0.016 x 3 + 4) / 60 = 0.0674667;
    // Int(4000 / (0.5166667 - 0.0674667 + 0.6180470) + 0.5) = Int(3748.9) = 3748.
    REPORT(effectiveSpeed, 3748, kExact),
    // Black 11 x 17 x 6096.85 / 350000 x 5% = 0.1628730 lb + 0.1 lb fountain; the PMS colour is not priced.
    REPORT(blackInkPounds, 0.26287303263182454, kFine),
    REPORT(blackInkCost, 2.6287303263182453, kMoney),
    REPORT(colourInkPounds, 0.0, kExact),
    // Totals: 24.7219 + 0.4762 + 20.6667 + 0 + 180 + 2.9055 + 18 + 6.6667 + 2.6287 + 0 + 0 + 50.
    WORKING(totalCost, 306.0656608716847, kMoney),
    // Stock markup: basis 2000 x 3 / 1 = 6000; (1 - 0.2 x Atn(1.2)) x 40 = 32.9915.
    REPORT(stockMarkup, 0.3299153559521445, kFine),
    REPORT(totalRetail, 410.4890668485029, kMoney),
    REPORT(pricePerThousand, 205.24453342425144, kMoney),
    REPORT(costPerAddedThousand, 142.7298954916643, kMoney),
    REPORT(retailPerAddedThousand, 188.90887674315346, kMoney),
    // Impressions 2000 x 2 passes x 1 x 1 / 1.
    REPORT(impressions, 4000, kExact),
};

const GoldenJob kGoldenJobs[] = {
    {"one-colour letterhead", letterheadInputs, letterheadInks, letterheadTotals, kLetterheadFigures,
     letterheadShop, "Q100", "Q"},
    {"four colours with bindery work", fourColourInputs, fourColourInks, fourColourTotals, kFourColourFigures},
    {"booklet on the duplicator", bookletInputs, bookletInks, bookletTotals, kBookletFigures, bookletShop,
     "Q300", "Q"},
};

void expectFigures(const std::vector<Figure>& figures, const PressResults& results, bool withWorking)
{
    for (const Figure& figure : figures) {
        if (figure.working && !withWorking)
            continue;
        if (figure.readText) {
            EXPECT_EQ(figure.readText(results), figure.text) << figure.name;
        } else {
            EXPECT_NEAR(figure.read(results), figure.expected, figure.tolerance) << figure.name;
        }
    }
}

class Golden : public PressShopTest, public ::testing::WithParamInterface<GoldenJob>
{
};

TEST_P(Golden, PricedFromItsInputs)
{
    const GoldenJob& job = GetParam();
    const press::PressInputs in = job.inputs();
    PressResults results;
    press::pricePressRun(in, results);
    press::priceInk(in, job.inks(), results);
    press::priceJobTotals(in, job.totals(), results);
    expectFigures(job.figures, results, true);
}

TEST_P(Golden, PricedFromTheShopDatabaseAlike)
{
    const GoldenJob& job = GetParam();
    if (!job.shop)
        GTEST_SKIP() << "the bindery work of this job is set up by its inputs only";
    const ShopDatabase db(job.shop());
    cEstimator engine(m_context);
    const double result = price(engine, db, job.orderNo, job.quoteOrJob);
    PressResults seen;
    seen.report = summary();
    seen.engine = engine.results();
    expectFigures(job.figures, seen, false);
    for (const Figure& figure : job.figures) {
        if (std::string(figure.name) == "totalCost" && figure.working) {
            EXPECT_NEAR(result, figure.expected, figure.tolerance) << "what the estimate returns";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, Golden, ::testing::ValuesIn(kGoldenJobs));

// ---- a job printed elsewhere --------------------------------------------------------------------------

// No press on the order, a vendor's $200, bindery work of $50 ($60 retail, 20 set-up minutes at $36 an
// hour, 30 sheets of waste, 0.75 hours) and $60 of typesetting (45 minutes, $78 retail); 2 up.
struct PrintedElsewhereCase
{
    std::int32_t quantity;
    std::vector<Figure> figures;
};

void PrintTo(const PrintedElsewhereCase& c, std::ostream* os)
{
    *os << c.quantity << " pieces";
}

const PrintedElsewhereCase kPrintedElsewhere[] = {
    {1000,
     {
         REPORT(vendorCost, 200.0, kMoney),
         // 200 + 50 + 60 pre-press.
         REPORT(totalCost, 310.0, kMoney),
         // 0.75 pre-press + 0.75 bindery hours.
         REPORT(totalHours, 1.5, kExact),
         TEXT(totalHoursText, "001:30"),
         // Vendor retail at the Outside Services markup, 1.15 x 200.
         REPORT(vendorRetail, 230.0, kMoney),
         ENGINE(VendorRetail, 230.0, kMoney),
         REPORT(outsideServicesMarkup, 0.15, kExact),
         // Retail 230 + 60 bindery + 78 pre-press (60 at 30 per cent).
         REPORT(totalRetail, 368.0, kMoney),
         ENGINE(EstRetail, 368.0, kMoney),
         // Per thousand without the pre-press: (230 + 60) x 1000 / 1000.
         REPORT(pricePerThousand, 290.0, kMoney),
         // Added thousand: bindery time 20 x 36 / 60 = 12; (50 - 12) x 1000 / 1000 + 200 x 1000 / 1000 = 238;
         // retail (50 - 12) x 1.2 + 1.15 x 200 = 275.6.
         WORKING(binderyTimeCost, 12.0, kExact),
         REPORT(costPerAddedThousand, 238.0, kMoney),
         REPORT(retailPerAddedThousand, 275.6, kMoney),
         // Sheets for the bindery's spoilage: Q = 30 x 2 / (1000 x 1) x 100 = 6; 6 x 1000 / 2 x 1 / 100 = 30;
         // 500 + 30 = 530.
         REPORT(spoilageSheets, 30, kExact),
         REPORT(pressSheetsToOrder, 530, kExact),
         ENGINE(PressSheetsToOrder, 530, kExact),
         // Hours, price per thousand and the stock and press results are the press's own: left alone.
         ENGINE(EstHrs, 0.0, kExact),
         ENGINE(Price1000, 0.0, kExact),
         ENGINE(ResPressMinutes, 0.0, kExact),
     }},
    {999,
     {
         REPORT(costPerAddedThousand, 0.0, kExact),
         REPORT(retailPerAddedThousand, 0.0, kExact),
         // (230 + 60) x 1000 / 999.
         REPORT(pricePerThousand, 290000.0 / 999, kMoney),
     }},
};

class PrintedElsewhere : public ::testing::TestWithParam<PrintedElsewhereCase>
{
};

TEST_P(PrintedElsewhere, IsPricedFromVendorBinderyAndPrePress)
{
    const PrintedElsewhereCase& c = GetParam();
    press::PressInputs in;
    in.order = {.quantity = c.quantity, .piecesToProduce = static_cast<double>(c.quantity), .numberUp = 2,
                .signatures = 1, .parts = 1, .pressDiffFactor = 1, .pressSheetsPerParent = 4};
    in.bindery = {.cost = 50, .retail = 60, .setupMinutes = 20, .costPerHour = 36, .hours = 0.75};
    in.bindery.waste = 30;
    in.prePress = {.reportCost = 60, .reportHours = 0.75, .reportRetail = 78};
    const press::JobTotalsInputs totals{.vendorCost = 200, .vendorLevelOneCost = c.quantity > 999 ? 200.0 : 0.0,
                                        .markups = shopMarkupPercents()};
    PressResults results;
    press::priceJobWithoutPress(in, totals, results);
    expectFigures(c.figures, results, true);
}

INSTANTIATE_TEST_SUITE_P(Quantities, PrintedElsewhere, ::testing::ValuesIn(kPrintedElsewhere));

TEST_F(PressShopTest, JobWithNothingToPriceHasEveryTotalZero)
{
    // A press number of 0 reads as no press, like an empty one.
    Row bare = letterheadOrder();
    bare.text("ORDERNO", "J400").text("QUOTEORJOB", "J").num("PRESSQTY", 2500).num("PRESSID", 0);
    bare.num("PPTYPESETVALUE", 0).num("PPTYPESETMINUTES", 0);
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

// ---- the demo shop ------------------------------------------------------------------------------------

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
    // A printed job: it has a press speed, spoils something, and sells at its price per thousand.
    if (record.pressSpeed != 0) {
        EXPECT_GT(record.pressSpeed, 0);
        EXPECT_GE(record.pressSheetsToOrder, record.spoilageSheets);
        EXPECT_GT(record.totalSpoilagePercent, 0.0);
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
