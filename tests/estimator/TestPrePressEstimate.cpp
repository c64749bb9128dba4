#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "estimator/PrePressPricing.h"
#include "platform/Conversions.h"
#include "tests/estimator/EngineTestSupport.h"

namespace {

using enginetest::Area;
using estimator::cEstimator;

// Order PP1/1/J with the five pre-press items, two camera types and two scan types, and the
// pre-press markup 20 % ('Pre-Press:'; the row 'Pre-Press' without the colon is another department).
//
// Items (M = 20 %, factor 1.2):
//   typesetting  120, type 1 (a retail price): cost 120 / 1.2 = 100.00, retail 120.00, 30 min
//   design       120, type 0 (a cost):         cost 120.00, retail 144.00,             45 min
//   paste-up       0:                          nothing priced,                         15 min
//   preflight     -5:                          nothing priced,                          0 min
//   match print   50, type 0:                  cost 50.00, retail 60.00,               10 min
//   items: cost 270.00, retail 324.00, 100 min
// Camera (set-up minutes = SETUPCOST / COSTHR x 60):
//   2 x Halftone 8 X 10, per square inch 0.05: 2 x 10 x 8 x 0.05 = 8.00; 2 x 4 min + 15 / 60 x 60 = 23 min
//   4 x Negative 11 X 17, per unit 2.50:       4 x 2.50 = 10.00;         4 x 3 min, no hourly rate = 12 min
//   a size that does not exist, and a size of another type: no lookup row, nothing added
//   camera: cost 18.00, 35 min
// Scans:
//   3 x Drum 4 X 5, per size 12.50:            3 x 12.50 = 37.50;        3 x 6 min + 30 / 120 x 60 = 33 min
//   1 x Proof A4, cost type 7:                 no cost;                  1 x 2 min = 2 min
//   scans: cost 37.50, 35 min
// Totals: cost 270 + 18 + 37.50 = 325.50; retail 324 + 1.2 x 18 + 1.2 x 37.50 = 390.60;
//         minutes 100 + 35 + 35 = 170 (2 h 50 min).
const char* const kPrePressShop = R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES,
    PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES,
    PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE, PPPREFLIGHTMINUTES,
    PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES)
VALUES ('PP1', 1, 'J', 2500, 120, 1, 30, 120, 0, 45, 0, 0, 15, -5, 0, 0, 50, 0, 10);
INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES ('Pre-Press:', 20), ('Pre-Press', 50);
INSERT INTO CAMERATYPES (CAMERATYPEID, CAMERATYPE, COSTTYPE, SETUPCOST, COSTONLY, COSTSQIN, COSTHR)
VALUES (1, 'Halftone', 1, 15, 0, 0.05, 60), (2, 'Negative', 0, 10, 2.5, 0, 0);
INSERT INTO CAMERASIZES (CAMERASIZEID, CAMERATYPEID, CAMERASIZE, COSTPERSIZE, MINUTES)
VALUES (10, 1, '8 X 10', 3, 4), (11, 2, '11 X 17', 0, 3);
INSERT INTO CAMERASELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, CAMERATYPEID, CAMERASIZEID, QTY)
VALUES ('PP1', 1, 'J', 1, 10, 2), ('PP1', 1, 'J', 2, 11, 4), ('PP1', 1, 'J', 1, 99, 3), ('PP1', 1, 'J', 1, 11, 5),
       ('PP1', 2, 'J', 2, 11, 100), ('PP1', 1, 'Q', 2, 11, 100);
INSERT INTO SCANTYPES (SCANTYPEID, SCANTYPE, COSTTYPE, SETUPCOST, COSTONLY, COSTSQIN, COSTHR)
VALUES (5, 'Drum', 2, 30, 0, 0, 120), (6, 'Proof', 7, 0, 9, 0, 0);
INSERT INTO SCANSIZES (SCANSIZEID, SCANTYPEID, SCANSIZE, COSTPERSIZE, MINUTES)
VALUES (50, 5, '4 X 5', 12.5, 6), (60, 6, 'A4', 0, 2);
INSERT INTO SCANSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, SCANTYPEID, SCANSIZEID, QTY)
VALUES ('PP1', 1, 'J', 5, 50, 3), ('PP1', 1, 'J', 6, 60, 1);
)sql";

class PrePressEstimate : public enginetest::EngineTest
{
};

TEST_F(PrePressEstimate, PricesItemsCameraAndScans)
{
    testsupport::TestDatabase db(kPrePressShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "PP1");
    const double returned = engine.Estimate(Area::PrePress, 1, 0);

    EXPECT_NEAR(returned, 325.50, 1e-9);
    EXPECT_NEAR(engine.ResPrePressCost(), 325.50, 1e-9);
    EXPECT_NEAR(engine.ResPrePressRetail(), 390.60, 1e-9);
    EXPECT_NEAR(engine.ResPrePressMinutes(), 170, 1e-9);

    // Kept for the press estimate: items alone, then camera and scans.
    EXPECT_NEAR(engine.prePressFigures().workCost, 270.00, 1e-9);
    EXPECT_NEAR(engine.prePressFigures().workMinutes, 100, 1e-9);
    EXPECT_NEAR(engine.prePressFigures().cameraCost, 18.00, 1e-9);
    EXPECT_NEAR(engine.prePressFigures().cameraMinutes, 35, 1e-9);
    EXPECT_NEAR(engine.prePressFigures().scanCost, 37.50, 1e-9);
    EXPECT_NEAR(engine.prePressFigures().scanMinutes, 35, 1e-9);
}

TEST_F(PrePressEstimate, FillsSummaryRecordOne)
{
    testsupport::TestDatabase db(kPrePressShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "PP1");
    engine.Estimate(Area::PrePress, 1, 0);
    const estimator::SummaryRecord& s = summary(1);

    EXPECT_EQ(s.typesetMinutes, 30);
    EXPECT_EQ(s.typesetMinutesText.str(), "000:30");
    EXPECT_EQ(s.typesetCost, 100);
    EXPECT_EQ(s.typesetRetail, 120);
    EXPECT_EQ(s.typesetMarkup, platform::toSingle(0.2)); // the markup as a fraction, in single precision
    EXPECT_EQ(s.designMinutesText.str(), "000:45");
    EXPECT_EQ(s.designCost, 120);
    EXPECT_EQ(s.designRetail, 144);
    EXPECT_EQ(s.pasteupMinutes, 15); // no value, but its minutes count
    EXPECT_EQ(s.pasteupCost, 0);
    EXPECT_EQ(s.preflightMinutesText.str(), "000:00");
    EXPECT_EQ(s.preflightRetail, 0);
    EXPECT_EQ(s.matchprintMinutes, 10);
    EXPECT_EQ(s.matchprintCost, 50);
    EXPECT_EQ(s.matchprintRetail, 60);

    EXPECT_NEAR(s.cameraCost, 18.00, 1e-9);
    EXPECT_EQ(s.cameraMinutes, 35);
    EXPECT_EQ(s.cameraMinutesText.str(), "000:35");
    EXPECT_NEAR(s.scanCost, 37.50, 1e-9);
    EXPECT_EQ(s.scanMinutesText.str(), "000:35");

    EXPECT_NEAR(s.prePressHours, 170.0 / 60, 1e-12);
    EXPECT_EQ(s.prePressMinutesText.str(), "002:50");
    EXPECT_NEAR(s.prePressCost, 325.50, 1e-9);
    EXPECT_NEAR(s.prePressRetail, 390.60, 1e-9);
}

TEST_F(PrePressEstimate, SingleValuesAreRoundedToSinglePrecision)
{
    // 100 / 1.2 = 83.333...: the summary holds it as a single, the totals keep the double.
    testsupport::TestDatabase db(kPrePressShop);
    db.exec("UPDATE ORDERS SET PPTYPESETVALUE = 100, PPTYPESETMINUTES = 12.3;");
    cEstimator engine(m_context);
    pointAt(engine, db, "PP1");
    engine.Estimate(Area::PrePress, 1, 0);
    EXPECT_EQ(summary(1).typesetCost, platform::toSingle(100 / 1.2));
    EXPECT_NE(summary(1).typesetCost, 100 / 1.2);
    EXPECT_EQ(summary(1).typesetMinutes, platform::toSingle(12.3));
    // Totals: 100 / 1.2 + 120 + 50 + 18 + 37.50 and 12.3 + 45 + 15 + 10 + 70 minutes.
    EXPECT_NEAR(engine.ResPrePressCost(), 100 / 1.2 + 225.5, 1e-9);
    EXPECT_NEAR(engine.ResPrePressMinutes(), 152.3, 1e-9);
}

TEST_F(PrePressEstimate, OneLinePerSelectionRead)
{
    testsupport::TestDatabase db(kPrePressShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "PP1");
    engine.Estimate(Area::PrePress, 1, 0);
    const auto& camera = m_context.cameraLines;
    ASSERT_EQ(camera.size(), 4u); // the order part's four selections; other parts' rows are not read
    EXPECT_EQ(camera[0].quantity, 2);
    EXPECT_EQ(camera[0].typeName.str(), "Halftone       ");
    EXPECT_EQ(camera[0].sizeName.str(), "8 X 10         ");
    EXPECT_EQ(camera[0].lineCost, 8);
    EXPECT_EQ(camera[0].lineMinutes, 23);
    EXPECT_NEAR(camera[0].lineRetail, 9.60, 1e-12);
    EXPECT_EQ(camera[1].lineCost, 10);
    EXPECT_EQ(camera[1].lineMinutes, 12);
    // Selections without a type-and-size row: their quantity is kept, nothing is priced.
    EXPECT_EQ(camera[2].quantity, 3);
    EXPECT_EQ(camera[2].lineCost, 0);
    EXPECT_EQ(camera[3].lineMinutes, 0);

    const auto& scans = m_context.scanLines;
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_EQ(scans[0].lineCost, 37.5);
    EXPECT_EQ(scans[0].lineMinutes, 33);
    EXPECT_EQ(scans[1].typeName.str(), "Proof          ");
    EXPECT_EQ(scans[1].lineCost, 0); // an unknown cost type adds only its minutes
    EXPECT_EQ(scans[1].lineMinutes, 2);
}

TEST_F(PrePressEstimate, LineTablesStartEmptyForEachEstimate)
{
    testsupport::TestDatabase db(kPrePressShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "PP1");
    engine.Estimate(Area::PrePress, 1, 0);
    db.exec("DELETE FROM CAMERASELECTIONS; DELETE FROM SCANSELECTIONS;");
    engine.Estimate(Area::PrePress, 1, 0);
    EXPECT_TRUE(m_context.cameraLines.empty());
    EXPECT_TRUE(m_context.scanLines.empty());
    // Items only: 270.00 at cost, 324.00 retail, 100 minutes.
    EXPECT_NEAR(engine.ResPrePressCost(), 270.00, 1e-9);
    EXPECT_NEAR(engine.ResPrePressRetail(), 324.00, 1e-9);
    EXPECT_EQ(summary(1).cameraMinutesText.str(), "000:00");
}

TEST_F(PrePressEstimate, WithoutAMarkupRetailIsCost)
{
    testsupport::TestDatabase db(kPrePressShop);
    db.exec("DELETE FROM MARKUPS WHERE DEPARTMENT = 'Pre-Press:';");
    cEstimator engine(m_context);
    pointAt(engine, db, "PP1");
    engine.Estimate(Area::PrePress, 1, 0);
    // Typesetting's retail value is now its cost: 120 + 120 + 50 + 18 + 37.50 = 345.50 both ways.
    EXPECT_NEAR(engine.ResPrePressCost(), 345.50, 1e-9);
    EXPECT_NEAR(engine.ResPrePressRetail(), 345.50, 1e-9);
    EXPECT_EQ(summary(1).typesetMarkup, 0);
}

TEST_F(PrePressEstimate, TotalsGoToEveryPricedQuantitySlot)
{
    testsupport::TestDatabase db(kPrePressShop);
    cEstimator engine(m_context);
    pointAt(engine, db, "PP1");
    engine.Estimate(Area::PrePress, 1, 0);
    // Slots 2 and 3 carry quantities, slot 4 none.
    summary(2).quantity = 5000;
    summary(3).quantity = 10000;
    summary(4).quantity = 0;
    estimator::prepress::spreadTotals({.cost = engine.ResPrePressCost(),
                                       .retail = engine.ResPrePressRetail(),
                                       .minutes = engine.ResPrePressMinutes()},
                                      m_context.summary);
    for (std::size_t slot : {2u, 3u}) {
        EXPECT_NEAR(summary(slot).prePressCost, 325.50, 1e-9) << "slot " << slot;
        EXPECT_NEAR(summary(slot).prePressRetail, 390.60, 1e-9) << "slot " << slot;
        EXPECT_EQ(summary(slot).prePressMinutesText.str(), "002:50") << "slot " << slot;
        EXPECT_EQ(summary(slot).typesetCost, 0) << "items go to slot 1 only";
    }
    EXPECT_EQ(summary(4).prePressCost, 0);
    EXPECT_EQ(summary(4).prePressHours, 0);
}

// Camera and scan lines priced straight from what a loader would read, without a database: the selections
// of the shop above, at the 20 % markup.
TEST(PrePressSelections, PricesEachLineByItsCostType)
{
    using estimator::prepress::SelectionInput;
    struct Case
    {
        const char* why;
        SelectionInput in;
        double cost, retail, minutes;
    };
    const Case cases[] = {
        {"per square inch of the size: 2 x 10 x 8 x 0.05; 2 x 4 min + 15 / 60 x 60",
         {.quantity = 2, .found = true, .typeName = "Halftone", .sizeName = "8 X 10", .costType = 1,
          .costRate = 0.05, .costPerHour = 60, .setupCost = 15, .minutesEach = 4},
         8.00, 9.60, 23},
        {"per piece, no hourly rate: no set-up minutes",
         {.quantity = 4, .found = true, .typeName = "Negative", .sizeName = "11 X 17", .costType = 0,
          .costRate = 2.5, .costPerHour = 0, .setupCost = 10, .minutesEach = 3},
         10.00, 12.00, 12},
        {"per size: 3 x 12.50; 3 x 6 min + 30 / 120 x 60",
         {.quantity = 3, .found = true, .typeName = "Drum", .sizeName = "4 X 5", .costType = 2, .costRate = 12.5,
          .costPerHour = 120, .setupCost = 30, .minutesEach = 6},
         37.50, 45.00, 33},
        {"an unknown cost type costs nothing, its minutes count",
         {.quantity = 1, .found = true, .typeName = "Proof", .sizeName = "A4", .costType = 7, .costRate = 9,
          .costPerHour = 0, .setupCost = 0, .minutesEach = 2},
         0, 0, 2},
        {"type and size not on file: only the quantity", {.quantity = 3}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const estimator::prepress::SelectionWork work = estimator::prepress::priceSelections({c.in}, 1.2);
        ASSERT_EQ(work.lines.size(), 1u) << c.why;
        EXPECT_NEAR(work.lines[0].lineCost, c.cost, 1e-9) << c.why;
        EXPECT_NEAR(work.lines[0].lineRetail, c.retail, 1e-9) << c.why;
        EXPECT_NEAR(work.lines[0].lineMinutes, c.minutes, 1e-9) << c.why;
        EXPECT_EQ(work.lines[0].quantity, c.in.quantity) << c.why;
        EXPECT_NEAR(work.cost, c.cost, 1e-9) << c.why;
    }
}

} // namespace
