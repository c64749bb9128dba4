// Every demo order has the rows each department of the estimate looks up, found with the estimate's own
// SQL texts, so pricing a demo order never stops at a missing press, plate, stock, ink or bindery row.
#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "cli/DemoDataCommand.h"
#include "data/Database.h"
#include "data/Dialect.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::TemporaryFolder;

struct DemoOrder
{
    const char* orderNo;
    const char* quoteOrJob;
    int pressId; // 0: no press (outside work only)
    int plateId;
    int stockId; // 0: no stock of the shop's own
    int inkRows; // ink selections with a stock colour
    int binderyOperations;
    int vendorRows;
    int cameraRows;
    int scanRows;
};

// Counts from demo/demo-data.sql.
const DemoOrder kDemoOrders[] = {
    {"24101", "Q", 1, 1, 1, 1, 1, 0, 0, 0},     // letterhead: cutting
    {"24102", "Q", 3, 4, 3, 8, 3, 0, 0, 2},     // brochure 4/4: cut, fold, pack-out; scans
    {"24103", "J", 1, 2, 5, 1, 3, 0, 0, 0},     // carbonless forms: cut, collate, pad
    {"24104", "J", 2, 3, 8, 4, 4, 0, 2, 0},     // booklet: fold, stitch, trim, deliver; camera
    {"O'NEIL-01", "Q", 2, 3, 4, 2, 1, 2, 0, 0}, // folders: foil; die-cutting bought in
    {"24105", "J", 3, 4, 6, 4, 2, 0, 0, 0},     // business cards: auto trim, shrink-wrap
    {"24106", "Q", 0, 0, 0, 0, 0, 3, 0, 0},     // postcards bought in: vendors only
    {"24107", "J", 1, 1, 10, 1, 3, 0, 0, 0},    // scratch pads: cut, pad, drill
};

void PrintTo(const DemoOrder& o, std::ostream* os)
{
    *os << o.orderNo;
}

class DemoOrders : public testing::TestWithParam<DemoOrder>
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = new TemporaryFolder;
        s_path = cli::buildDemoShop(s_folder->path(), false);
    }
    static void TearDownTestSuite()
    {
        delete s_folder;
        s_folder = nullptr;
    }

    // The order key as the estimate puts it into its SQL texts (an escaped literal).
    static std::string keyClause(const DemoOrder& o, const std::string& table = "")
    {
        const std::string prefix = table.empty() ? "" : table + ".";
        return "WHERE " + prefix + "ORDERNO = " + data::sqlLiteral(o.orderNo) + " AND " + prefix +
               "PARTNO = 1 AND " + prefix + "QUOTEORJOB = " + data::sqlLiteral(o.quoteOrJob);
    }

    data::Database open() const { return data::Database::open(s_path); }

    static TemporaryFolder* s_folder;
    static std::string s_path;
};

TemporaryFolder* DemoOrders::s_folder = nullptr;
std::string DemoOrders::s_path;

TEST_P(DemoOrders, HasItsOrderRowWithAQuantity)
{
    const DemoOrder& o = GetParam();
    data::Recordset order = open().openRecordset("SELECT * FROM ORDERS " + keyClause(o));
    ASSERT_EQ(order.recordCount(), 1) << o.orderNo;
    EXPECT_GT(order.field("PRESSQTY").number(), 0) << o.orderNo;
    EXPECT_EQ(order.field("PRESSID").number(), o.pressId) << o.orderNo;
    EXPECT_EQ(order.field("STOCKID").number(), o.stockId) << o.orderNo;
}

TEST_P(DemoOrders, PressAndPlateRowsExistAndCanBeRun)
{
    const DemoOrder& o = GetParam();
    data::Database db = open();
    data::Recordset order = db.openRecordset("SELECT * FROM ORDERS " + keyClause(o));
    if (o.pressId == 0) {
        // Work bought in: a Null press sends the estimate down the job totals without a press.
        EXPECT_TRUE(order.field("PRESSID").isNull()) << o.orderNo;
        return;
    }
    data::Recordset press =
        db.openRecordset("SELECT * FROM PRESSES WHERE PRESSID = " + std::to_string(o.pressId));
    ASSERT_EQ(press.recordCount(), 1) << o.orderNo;
    // A Null feeder height or a zero speed would stop the press estimate with a fault.
    EXPECT_FALSE(press.field("FEEDERHEIGHT").isNull()) << o.orderNo;
    EXPECT_GT(press.field("MINSPEED").number(), 0) << o.orderNo;
    EXPECT_GE(press.field("MAXSPEED").number(), press.field("MINSPEED").number()) << o.orderNo;
    EXPECT_GT(press.field("COSTPERHOUR").number(), 0) << o.orderNo;
    EXPECT_EQ(press.field("PRESSTYPE").number(), order.field("PRESSTYPE").number()) << o.orderNo;

    EXPECT_EQ(order.field("PRESSPLATEID").number(), o.plateId) << o.orderNo;
    data::Recordset plate =
        db.openRecordset("SELECT * FROM PLATES WHERE PLATEID = " + std::to_string(o.plateId));
    ASSERT_EQ(plate.recordCount(), 1) << o.orderNo;
    EXPECT_GT(plate.field("COSTPERPLATE").number(), 0) << o.orderNo;
    EXPECT_GT(order.field("PRESSNUMUPPRESSSHT").number(), 0) << o.orderNo;
    EXPECT_GT(order.field("PRESSSIGNATURES").number(), 0) << o.orderNo;
    EXPECT_GT(order.field("PRESSDIFFFRMPRESSSHT").number(), 0) << o.orderNo;
}

TEST_P(DemoOrders, StockRowIsFoundByItsFormattedNumber)
{
    const DemoOrder& o = GetParam();
    data::Database db = open();
    data::Recordset order = db.openRecordset("SELECT * FROM ORDERS " + keyClause(o));
    if (o.stockId == 0) {
        // No stock of the shop's own: a Null stock leaves the stock-selected flag and the usage ratio at 0.
        EXPECT_TRUE(order.field("STOCKID").isNull()) << o.orderNo;
        return;
    }
    char stockText[16];
    std::snprintf(stockText, sizeof stockText, "%04d", o.stockId); // the stock number as "0000" formats it
    // The bindery looks the stock up with a double-quoted text of the number.
    data::Recordset stock =
        db.openRecordset(std::string("SELECT * FROM STOCK WHERE STOCKID = \"") + stockText + "\"");
    ASSERT_EQ(stock.recordCount(), 1) << o.orderNo << " stock " << stockText;
    EXPECT_GT(stock.field("BINDEFFPERC").number(), 0) << o.orderNo;

    // With a stock, the parent sheet's area divides the usage ratio: it must not be 0.
    EXPECT_FALSE(order.field("STOCKPARENTSIZE").formatted().empty()) << o.orderNo;
    EXPECT_GT(order.field("STOCKCALIPER").number(), 0) << o.orderNo;
    EXPECT_GT(order.field("STOCKCOST1").number(), 0) << o.orderNo;
    EXPECT_GT(order.field("PRESSNUMUPPARENTSHT").number(), 0) << o.orderNo;
}

TEST_P(DemoOrders, EveryInkHasAColourWithPriceAndMileage)
{
    const DemoOrder& o = GetParam();
    data::Recordset inks = open().openRecordset(
        "SELECT INKSELECTIONS.COLORID, INKSELECTIONS.INKCOLOR, COLORS.COSTPERLB AS CCOSTPERLB, "
        "COLORS.MILEAGE AS CMILEAGE, INKSELECTIONS.COVERAGE "
        "FROM (INKSELECTIONS LEFT JOIN COLORS ON INKSELECTIONS.COLORID = COLORS.COLORID) "
        "LEFT JOIN PMSCOLORS ON INKSELECTIONS.PMSID = PMSCOLORS.PMSID " +
        keyClause(o, "INKSELECTIONS") + " AND INKSELECTIONS.COLORID <> 0");
    EXPECT_EQ(inks.recordCount(), o.inkRows) << o.orderNo;
    for (; !inks.eof(); inks.moveNext()) {
        const std::string colour = inks.field("INKCOLOR").formatted();
        EXPECT_GT(inks.field("CCOSTPERLB").number(), 0) << o.orderNo << " " << colour;
        EXPECT_GT(inks.field("CMILEAGE").number(), 0) << o.orderNo << " " << colour;
        EXPECT_FALSE(inks.field("COVERAGE").isNull()) << o.orderNo << " " << colour;
    }
}

TEST_P(DemoOrders, EveryBinderyOperationHasItsMachineAndCategory)
{
    const DemoOrder& o = GetParam();
    data::Database db = open();
    data::Recordset operations =
        db.openRecordset("SELECT * FROM BINDERYSELECTIONS " + keyClause(o) + " ORDER BY BINDERYSELECTIONID");
    EXPECT_EQ(operations.recordCount(), o.binderyOperations) << o.orderNo;
    for (; !operations.eof(); operations.moveNext()) {
        const std::string id = operations.field("BINDERYID").formatted();
        data::Recordset machine = db.openRecordset(
            "SELECT BINDERIES.BINDERYNAME, BINDERYCATEGORIES.BINDERYCATEGORY FROM BINDERIES INNER JOIN "
            "BINDERYCATEGORIES ON BINDERIES.BINDERYCATEGORYID = BINDERYCATEGORIES.BINDERYCATEGORYID "
            "WHERE BINDERIES.BINDERYID=" +
            id + ";");
        ASSERT_EQ(machine.recordCount(), 1) << o.orderNo << " bindery " << id;
        // The window lists the operation under the machine's name.
        EXPECT_EQ(operations.field("BINDERY").formatted(), machine.field("BINDERYNAME").formatted())
            << o.orderNo;
        // A padding or shrink-wrap operation without set-ups would be costed but never reported.
        EXPECT_GT(operations.field("SETUPS").number(), 0) << o.orderNo << " bindery " << id;
    }
}

TEST_P(DemoOrders, CameraAndScanSelectionsFindTheirTypeAndSize)
{
    const DemoOrder& o = GetParam();
    data::Database db = open();
    data::Recordset camera = db.openRecordset("SELECT * FROM CAMERASELECTIONS " + keyClause(o));
    EXPECT_EQ(camera.recordCount(), o.cameraRows) << o.orderNo;
    for (; !camera.eof(); camera.moveNext()) {
        data::Recordset lookup = db.openRecordset(
            "SELECT CAMERATYPES.COSTTYPE, CAMERASIZES.CAMERASIZE FROM CAMERATYPES LEFT JOIN CAMERASIZES ON "
            "CAMERATYPES.CAMERATYPEID = CAMERASIZES.CAMERATYPEID WHERE CAMERATYPES.CAMERATYPEID = " +
            camera.field("CAMERATYPEID").formatted() +
            " AND CAMERASIZES.CAMERASIZEID = " + camera.field("CAMERASIZEID").formatted());
        EXPECT_EQ(lookup.recordCount(), 1)
            << o.orderNo << " camera " << camera.field("CAMERATYPE").formatted();
    }
    data::Recordset scans = db.openRecordset("SELECT * FROM SCANSELECTIONS " + keyClause(o));
    EXPECT_EQ(scans.recordCount(), o.scanRows) << o.orderNo;
    for (; !scans.eof(); scans.moveNext()) {
        data::Recordset lookup = db.openRecordset(
            "SELECT SCANTYPES.COSTTYPE, SCANSIZES.SCANSIZE FROM SCANTYPES LEFT JOIN SCANSIZES ON "
            "SCANTYPES.SCANTYPEID = SCANSIZES.SCANTYPEID WHERE SCANTYPES.SCANTYPEID = " +
            scans.field("SCANTYPEID").formatted() +
            " AND SCANSIZES.SCANSIZEID = " + scans.field("SCANSIZEID").formatted());
        EXPECT_EQ(lookup.recordCount(), 1) << o.orderNo << " scan " << scans.field("SCANTYPE").formatted();
    }
}

TEST_P(DemoOrders, VendorRowsBelongToTheOrder)
{
    const DemoOrder& o = GetParam();
    data::Recordset vendors = open().openRecordset("SELECT * FROM VENDORSELECTIONS " + keyClause(o));
    EXPECT_EQ(vendors.recordCount(), o.vendorRows) << o.orderNo;
}

INSTANTIATE_TEST_SUITE_P(Demo,
                         DemoOrders,
                         testing::ValuesIn(kDemoOrders),
                         [](const testing::TestParamInfo<DemoOrder>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.orderNo))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return "Order_" + name;
                         });

// The vendor totals the estimate reads, worked by hand from the demo rows.
struct VendorTotals
{
    const char* orderNo;
    const char* suffix; // the quantity level's cost column: "" for level 1, "2" for level 2 ...
    double cost;
    double retail;
};

const VendorTotals kVendorTotals[] = {
    // 185 + 145 = 330; 185 x 1.25 + 145 x 1.00 = 231.25 + 145 = 376.25
    {"O'NEIL-01", "", 330.00, 376.25},
    // 420 + 275 + 1425 = 2120; 420 x 1.35 + 275 x 1.15 + 1425 x 1.00 = 567 + 316.25 + 1425 = 2308.25
    {"24106", "", 2120.00, 2308.25},
    // 610 + 400 + 2850 = 3860; 610 x 1.35 + 400 x 1.15 + 2850 = 823.50 + 460 + 2850 = 4133.50
    {"24106", "2", 3860.00, 4133.50},
};

void PrintTo(const VendorTotals& v, std::ostream* os)
{
    *os << v.orderNo << " level " << (*v.suffix ? v.suffix : "1");
}

class DemoVendorTotals : public testing::TestWithParam<VendorTotals>
{
};

TEST_P(DemoVendorTotals, SumCostAndEachRowsOwnMarkup)
{
    const VendorTotals& v = GetParam();
    TemporaryFolder folder;
    data::Database db = data::Database::open(cli::buildDemoShop(folder.path(), false));
    const std::string key =
        "WHERE ORDERNO = " + data::sqlLiteral(v.orderNo) + " AND PARTNO = 1 AND QUOTEORJOB = 'Q'";
    data::Recordset cost = db.openRecordset(std::string("SELECT SUM(COST") + v.suffix +
                                            ") AS TOTCOST FROM VENDORSELECTIONS " + key);
    EXPECT_DOUBLE_EQ(cost.field("TOTCOST").number(), v.cost) << v.orderNo << " level " << v.suffix;
    data::Recordset retail = db.openRecordset(std::string("SELECT SUM(COST") + v.suffix +
                                              " * (1+MARKUP/100)) AS TOTRETAIL FROM VENDORSELECTIONS " + key);
    EXPECT_DOUBLE_EQ(retail.field("TOTRETAIL").number(), v.retail) << v.orderNo << " level " << v.suffix;
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoVendorTotals, testing::ValuesIn(kVendorTotals));

// The department markups, looked up as the estimate looks them up.
struct MarkupLookup
{
    const char* sql;
    double markup;
};

const MarkupLookup kMarkupLookups[] = {
    // Stock, Stock (minimum), Stock (maximum): (30 + 20 + 40) / 3 = 30
    {"SELECT Avg(MARKUP) AS AVGMARKUP From MARKUPS WHERE DEPARTMENT Like 'Stock*'", 30},
    {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (minimum)*'", 20},
    {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (maximum)*'", 40},
    // "Pre-Press:" does not begin with "Press", so only the press markup matches.
    {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Press*'", 35},
    {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Pre-Press*'", 25},
    {"SELECT MARKUP FROM MARKUPS WHERE UCASE(DEPARTMENT) = 'PRE-PRESS:'", 25},
    {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Bindery*'", 30},
    {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Outside Services*'", 20},
    // Only the carbonless stock has a markup of its own.
    {"SELECT MARKUP FROM STOCKMARKUP WHERE STOCKID = '0005'", 25},
};

void PrintTo(const MarkupLookup& m, std::ostream* os)
{
    *os << m.sql;
}

class DemoMarkups : public testing::TestWithParam<MarkupLookup>
{
};

TEST_P(DemoMarkups, FindOneRowWithTheShopsMarkup)
{
    const MarkupLookup& m = GetParam();
    TemporaryFolder folder;
    data::Database db = data::Database::open(cli::buildDemoShop(folder.path(), false));
    data::Recordset rows = db.openRecordset(m.sql);
    ASSERT_EQ(rows.recordCount(), 1) << m.sql;
    EXPECT_DOUBLE_EQ(rows.field(0).number(), m.markup) << m.sql;
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoMarkups, testing::ValuesIn(kMarkupLookups));

} // namespace
