#include <string>

#include <gtest/gtest.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "estimator/bindery/OperationLoader.h"
#include "tests/estimator/bindery/BinderyShop.h"

using estimator::bindery::loadOperation;
using estimator::bindery::OperationInputs;
using testsupport::TestDatabase;

namespace bindery_test {
namespace {

OperationInputs load(const TestDatabase& shop, int selectionId, const std::string& stockIdText)
{
    const data::Database db = data::Database::open(shop.path());
    const data::Recordset order = db.openRecordset("SELECT * FROM ORDERS");
    return loadOperation(db, order, selectionId, stockIdText);
}

// Every column the costing uses comes from its own row: the selection, its bindery, the order's stock
// and the order row.
TEST(OperationLoader, ReadsEveryColumnTheCostingUses)
{
    TestDatabase shop(shopSql(binderySql(1, 1, "Guillotine cutter") + selectionSql(10, 1) + R"sql(
UPDATE BINDERIES SET MINSPEED = 3000, MAXSPEED = 7000, MINSPOILAGE = 0.5, MAXSPOILAGE = 5, SETUPTIME = 30,
    COSTPERHR = 45, ADDLSETUPTIME = 10, FIXEDWASTE = 20, ADDLRUNTIME = 1.5, MINCOST = 12, LENGTHFLAG = 1,
    STOCKFLAG = 1, PAGESFLAG = 1;
UPDATE BINDERYSELECTIONS SET SHEETSIZE = 2, DIFFICULTY = 7, RUNS = 1, SETUPS = 3, PCTOFRUN = 50,
    SPEEDEFFICIENCY = 11, SPEEDKFACTOR = 6, SPOILEFFICIENCY = 12, SPOILKFACTOR = 4;
UPDATE ORDERS SET STOCKID = 12, STOCKCALIPER = 0.008, STOCKWT1000 = 200, PRESSPAGES = 48, STOCKUSEPRESSEFF = 1;
INSERT INTO STOCK (STOCKID, BINDEFFPERC) VALUES (12, 80);
)sql"));
    const OperationInputs in = load(shop, 10, "0012");

    ASSERT_TRUE(in.selectionFound);
    EXPECT_EQ(in.selection.binderyId, 1);
    EXPECT_EQ(in.selection.sheetSizeCode, 2);
    EXPECT_EQ(*in.selection.difficulty, 7);
    EXPECT_EQ(*in.selection.runs, 1);
    EXPECT_EQ(*in.selection.setups, 3);
    EXPECT_EQ(*in.selection.percentOfRun, 50);
    EXPECT_EQ(*in.selection.speedEfficiency, 11);
    EXPECT_EQ(*in.selection.speedKFactor, 6);
    EXPECT_EQ(*in.selection.spoilEfficiency, 12);
    EXPECT_EQ(*in.selection.spoilKFactor, 4);

    ASSERT_TRUE(in.binderyFound);
    EXPECT_EQ(*in.bindery.name, "Guillotine cutter");
    EXPECT_EQ(*in.bindery.categoryId, 1);
    EXPECT_EQ(*in.bindery.minSpeed, 3000);
    EXPECT_EQ(*in.bindery.maxSpeed, 7000);
    EXPECT_EQ(*in.bindery.minSpoilage, 0.5);
    EXPECT_EQ(*in.bindery.maxSpoilage, 5);
    EXPECT_EQ(*in.bindery.setupTime, 30);
    EXPECT_EQ(*in.bindery.costPerHour, 45);
    EXPECT_EQ(*in.bindery.addlSetupTime, 10);
    EXPECT_EQ(*in.bindery.fixedWaste, 20);
    EXPECT_EQ(*in.bindery.addlRunTime, 1.5);
    EXPECT_EQ(*in.bindery.minCost, 12);
    EXPECT_TRUE(*in.bindery.length);
    EXPECT_TRUE(*in.bindery.stock);
    EXPECT_TRUE(*in.bindery.pages);
    EXPECT_FALSE(*in.bindery.foil);
    EXPECT_FALSE(*in.paddingCategory);

    EXPECT_TRUE(in.stockFound);
    EXPECT_EQ(*in.stockBinderyEfficiency, 80);
    EXPECT_EQ(*in.stockCaliper, 0.008);
    EXPECT_EQ(*in.weightPerThousand, 200);
    EXPECT_EQ(*in.pressPages, 48);
    EXPECT_TRUE(*in.useStockPressEfficiency);
}

// Reading stops where the costing stops: at a missing selection or bindery. The padding category is
// found through the bindery's category, and a stock that is not in STOCK is none.
TEST(OperationLoader, StopsAtAMissingRowAndFindsThePaddingCategory)
{
    TestDatabase shop(shopSql(binderySql(3, 3, "Padding press") + selectionSql(10, 3) + selectionSql(11, 77)));

    const OperationInputs padding = load(shop, 10, "0012");
    EXPECT_TRUE(padding.binderyFound);
    EXPECT_TRUE(*padding.paddingCategory);
    EXPECT_FALSE(padding.stockFound);

    const OperationInputs binderyGone = load(shop, 11, "");
    EXPECT_TRUE(binderyGone.selectionFound);
    EXPECT_EQ(binderyGone.selection.binderyId, 77);
    EXPECT_FALSE(binderyGone.binderyFound);

    const OperationInputs selectionGone = load(shop, 99, "");
    EXPECT_FALSE(selectionGone.selectionFound);
    EXPECT_EQ(selectionGone.selectionId, 99);
}

} // namespace
} // namespace bindery_test
