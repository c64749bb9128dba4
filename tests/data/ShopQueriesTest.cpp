#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/JetErrors.h"
#include "data/Database.h"
#include "platform/Fault.h"
#include "tests/support/EngineShop.h"
#include "tests/support/Faults.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::Engine;
using testsupport::EngineShop;
using testsupport::noTestServerReason;
using testsupport::TemporaryFolder;
using testsupport::TestDatabase;

// A small shop: job 10045 part 1 with black, cyan and a PMS colour, two outside services, a camera and
// a scan line, and a padding bindery operation.
const char* const shopRows = R"sql(
BEGIN;
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSQTY, STOCKID) VALUES ('10045', 1, 'J', 'NCR forms', 2500, 12);
INSERT INTO STOCK (STOCKID, STOCKDESC, STOCKCALIPER) VALUES (12, '3-part NCR', 0.0035);
INSERT INTO STOCKMARKUP VALUES (12, 35);
INSERT INTO MARKUPS VALUES ('Stock', 30);
INSERT INTO MARKUPS VALUES ('Stock (minimum)', 20);
INSERT INTO MARKUPS VALUES ('Stock (maximum)', 70);
INSERT INTO MARKUPS VALUES ('Press', 40);
INSERT INTO MARKUPS VALUES ('Pre-Press:', 50);
INSERT INTO MARKUPS VALUES ('Bindery', 45);
INSERT INTO MARKUPS VALUES ('Outside Services', 25);
INSERT INTO PRESSES (PRESSID, PRESSNAME) VALUES (2, 'Two-colour offset');
INSERT INTO PLATES (PLATEID, PLATENAME) VALUES (1, 'Metal');
INSERT INTO COLORS VALUES (1, 'Black', 8.5, 400);
INSERT INTO COLORS VALUES (2, 'Cyan', 12, 380);
INSERT INTO PMSCOLORS VALUES (185, '185', 22, 350);
INSERT INTO PMSCOLORS VALUES (901, '901', 1e16, 0);
INSERT INTO PMSCOLORS VALUES (902, '902', -1e16, 0);
INSERT INTO PMSCOLORS VALUES (903, '903', 1, 0);
UPDATE PMSCOLORS SET MILEAGE = 1 WHERE PMSID = 901;
INSERT INTO INKSELECTIONS VALUES ('10045', 1, 'J', 1, 'Black', NULL, NULL, 0.3);
INSERT INTO INKSELECTIONS VALUES ('10045', 1, 'J', 2, 'Cyan', NULL, NULL, 0.2);
INSERT INTO INKSELECTIONS VALUES ('10045', 1, 'J', 3, 'PMS 185', 185, '185', 0.1);
INSERT INTO INKSELECTIONS VALUES ('10045', 2, 'J', 1, 'Black', NULL, NULL, 0.3);
INSERT INTO BINDERYCATEGORIES VALUES (3, 'Padding');
INSERT INTO BINDERIES (BINDERYID, BINDERYCATEGORYID, BINDERYNAME) VALUES (7, 3, 'Padding, 50 sets');
INSERT INTO BINDERYSELECTIONS (BINDERYSELECTIONID, ORDERNO, PARTNO, QUOTEORJOB, BINDERYID, BINDERY) VALUES (4, '10045', 1, 'J', 7, 'Padding');
INSERT INTO VENDORSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, VENDORNAME, COST, COST2, MARKUP) VALUES ('10045', 1, 'J', 'Numbering', 100, 200, 25);
INSERT INTO VENDORSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, VENDORNAME, COST, COST2, MARKUP) VALUES ('10045', 1, 'J', 'Delivery', 40, 80, 10);
INSERT INTO CAMERATYPES VALUES (1, 'Negatives', 1, 15, 0, 0, 60);
INSERT INTO CAMERASIZES VALUES (11, 1, '8 X 10', 4.5, 6);
INSERT INTO CAMERASELECTIONS VALUES ('10045', 1, 'J', 1, 'Negatives', 11, '8 X 10', 2);
INSERT INTO SCANTYPES VALUES (1, 'Colour scan', 1, 10, 0, 0, 60);
INSERT INTO SCANSIZES VALUES (21, 1, '4 X 5', 12, 10);
INSERT INTO SCANSELECTIONS VALUES ('10045', 1, 'J', 1, 'Colour scan', 21, '4 X 5', 1);
COMMIT;
)sql";

const std::string K = "WHERE INKSELECTIONS.ORDERNO=\"10045\" AND INKSELECTIONS.PARTNO=1 AND INKSELECTIONS.QUOTEORJOB=\"J\"";
const std::string D = "SELECT DISTINCT COLORID AS ID, INKCOLOR AS COLOR FROM INKSELECTIONS ";
const std::string keyClause = "WHERE ORDERNO = '10045' AND PARTNO = 1 AND QUOTEORJOB = 'J'";

struct QueryCase
{
    std::string sql;
    long rows;
    const char* column; // checked on the first row
    double value;
};

// The rows of a query in the order read, every value with its kind, for comparing two engines' answers.
std::vector<std::string> rowsRead(const data::Recordset& rows)
{
    std::vector<std::string> out;
    data::Recordset copy = rows;
    if (copy.recordCount() > 0)
        copy.moveFirst();
    for (; !copy.eof(); copy.moveNext()) {
        std::string line;
        for (int i = 0; i < copy.fieldCount(); ++i)
            line += copy.fieldName(i) + "=" + std::to_string(static_cast<int>(copy.field(i).kind())) + ":" +
                    copy.field(i).formatted() + "|";
        out.push_back(line);
    }
    return out;
}

class ShopQueriesOnBothEnginesTest : public testing::TestWithParam<Engine>
{
};

INSTANTIATE_TEST_SUITE_P(BothEngines, ShopQueriesOnBothEnginesTest, testing::Values(Engine::File, Engine::Server),
                         [](const auto& info) { return engineName(info.param); });

// Each query on the file and on the server: the hand-worked figure on each, and on the server the very
// same rows, in the same order, with the same columns and kinds of value as on the file.
TEST_P(ShopQueriesOnBothEnginesTest, EveryQueryOfTheEngineAndTheWindowsRunsUnchanged)
{
    if (!EngineShop::available(GetParam()))
        GTEST_SKIP() << noTestServerReason();
    const QueryCase cases[] = {
        {"SELECT * FROM ORDERS WHERE ORDERNO = '10045' AND PARTNO = 1 AND QUOTEORJOB = 'J'", 1, "PRESSQTY", 2500},
        {"SELECT MARKUP FROM STOCKMARKUP WHERE STOCKID = '12'", 1, "MARKUP", 35},
        // Stock 30, Stock (minimum) 20, Stock (maximum) 70: (30 + 20 + 70) / 3 = 40
        {"SELECT Avg(MARKUP) AS AVGMARKUP From MARKUPS WHERE DEPARTMENT Like 'Stock*'", 1, "AVGMARKUP", 40},
        {"SELECT MARKUP FROM MARKUPS WHERE UCASE(DEPARTMENT) = 'PRE-PRESS:'", 1, "MARKUP", 50},
        {"SELECT * FROM CAMERASELECTIONS WHERE ORDERNO = '10045' AND PARTNO = 1 AND QUOTEORJOB = 'J'", 1, "QTY", 2},
        {"SELECT CAMERATYPES.CAMERATYPEID, CAMERATYPES.CAMERATYPE, CAMERATYPES.COSTTYPE, CAMERATYPES.SETUPCOST, "
         "CAMERATYPES.COSTONLY, CAMERATYPES.COSTSQIN, CAMERATYPES.COSTHR, CAMERASIZES.CAMERASIZEID, "
         "CAMERASIZES.CAMERASIZE, CAMERASIZES.COSTPERSIZE, CAMERASIZES.MINUTES "
         "FROM CAMERATYPES LEFT JOIN CAMERASIZES ON CAMERATYPES.CAMERATYPEID = CAMERASIZES.CAMERATYPEID "
         "WHERE CAMERATYPES.CAMERATYPEID = 1 AND CAMERASIZES.CAMERASIZEID = 11",
         1, "COSTPERSIZE", 4.5},
        {"SELECT * FROM SCANSELECTIONS WHERE ORDERNO = '10045' AND PARTNO = 1 AND QUOTEORJOB = 'J'", 1, "SCANSIZEID", 21},
        {"SELECT SCANTYPES.SCANTYPEID, SCANTYPES.SCANTYPE, SCANTYPES.COSTTYPE, SCANTYPES.SETUPCOST, "
         "SCANTYPES.COSTONLY, SCANTYPES.COSTSQIN, SCANTYPES.COSTHR, SCANSIZES.SCANSIZEID, SCANSIZES.SCANSIZE, "
         "SCANSIZES.COSTPERSIZE, SCANSIZES.MINUTES "
         "FROM SCANTYPES LEFT JOIN SCANSIZES ON SCANTYPES.SCANTYPEID = SCANSIZES.SCANTYPEID "
         "WHERE SCANTYPES.SCANTYPEID = 1 AND SCANSIZES.SCANSIZEID = 21",
         1, "MINUTES", 10},
        // 100 + 40 = 140
        {"SELECT SUM(COST) AS TOTCOST FROM VENDORSELECTIONS " + keyClause, 1, "TOTCOST", 140},
        // 100 x 1.25 + 40 x 1.10 = 125 + 44 = 169
        {"SELECT SUM(COST * (1+MARKUP/100)) AS TOTRETAIL FROM VENDORSELECTIONS " + keyClause, 1, "TOTRETAIL", 169},
        // 200 x 1.25 + 80 x 1.10 = 250 + 88 = 338
        {"SELECT SUM(COST2 * (1+MARKUP/100)) AS TOTRETAIL FROM VENDORSELECTIONS " + keyClause, 1, "TOTRETAIL", 338},
        {"SELECT DISTINCT INKCOLOR AS COLOR FROM INKSELECTIONS WHERE ORDERNO = \"10045\" AND PARTNO = 1 AND "
         "QUOTEORJOB = \"J\"",
         3, nullptr, 0},
        {"SELECT * FROM PRESSES WHERE PRESSID = 2", 1, "PRESSID", 2},
        {"SELECT * FROM PLATES WHERE PLATEID = 1", 1, "PLATEID", 1},
        {D + K + " AND COLORID <> 0 AND UCASE(INKCOLOR) LIKE '*BLACK*'", 1, "ID", 1},
        {D + K + " AND COLORID <> 0 AND UCASE(INKCOLOR) NOT LIKE '*BLACK*'", 2, nullptr, 0},
        {D + K + " AND COLORID <> 0", 3, nullptr, 0},
        {"SELECT INKSELECTIONS.ORDERNO, INKSELECTIONS.PARTNO, INKSELECTIONS.QUOTEORJOB, INKSELECTIONS.COLORID, "
         "INKSELECTIONS.INKCOLOR, COLORS.COSTPERLB AS CCOSTPERLB, COLORS.MILEAGE AS CMILEAGE, INKSELECTIONS.PMSID, "
         "INKSELECTIONS.PMSNO, PMSCOLORS.COSTPERLB AS PCOSTPERLB, PMSCOLORS.MILEAGE AS PMILEAGE, "
         "INKSELECTIONS.COVERAGE "
         "FROM (INKSELECTIONS LEFT JOIN COLORS ON INKSELECTIONS.COLORID = COLORS.COLORID) LEFT JOIN PMSCOLORS ON "
         "INKSELECTIONS.PMSID = PMSCOLORS.PMSID " + K + " AND INKSELECTIONS.COLORID= 3",
         1, "PCOSTPERLB", 22},
        {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (minimum)*'", 1, "MARKUP", 20},
        {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (maximum)*'", 1, "MARKUP", 70},
        {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Press*'", 1, "MARKUP", 40},
        {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Pre-Press*'", 1, "MARKUP", 50},
        {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Bindery*'", 1, "MARKUP", 45},
        {"SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Outside Services*'", 1, "MARKUP", 25},
        {"SELECT * FROM BINDERYSELECTIONS WHERE BINDERYSELECTIONID = 4", 1, "BINDERYID", 7},
        {"SELECT * FROM BINDERIES  WHERE BINDERYID=7;", 1, "BINDERYCATEGORYID", 3},
        // 'Padding' upper-cased is "PADDING": the IIf gives True, -1
        {"SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)=\"PADDING\",True,False) AS IsPadding "
         "FROM BINDERIES INNER JOIN BINDERYCATEGORIES ON BINDERIES.BINDERYCATEGORYID = "
         "BINDERYCATEGORIES.BINDERYCATEGORYID WHERE BINDERIES.BINDERYID=7;",
         1, "IsPadding", -1},
        {"SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)=\"FIXED CHIP PADDING\",True,False) AS "
         "IsFixedChipPadding FROM BINDERIES INNER JOIN BINDERYCATEGORIES ON BINDERIES.BINDERYCATEGORYID = "
         "BINDERYCATEGORIES.BINDERYCATEGORYID WHERE BINDERIES.BINDERYID=7;",
         1, "IsFixedChipPadding", 0},
        {"SELECT * FROM STOCK WHERE STOCKID = 12", 1, "STOCKCALIPER", 0.0035},
        {"SELECT * FROM BINDERYSELECTIONS " + keyClause + " ORDER BY BINDERYSELECTIONID", 1, "BINDERYSELECTIONID", 4},
        {"SELECT * FROM BINDERIES WHERE BINDERYID = 7", 1, "BINDERYID", 7},
        {"SELECT * FROM BINDERYCATEGORIES WHERE BINDERYCATEGORYID = 3", 1, "BINDERYCATEGORYID", 3},
        // A number column against a text: a number text is the number, any other text no number at all.
        {"SELECT MARKUP FROM STOCKMARKUP WHERE STOCKID = ''", 0, nullptr, 0},
        {"SELECT MARKUP FROM STOCKMARKUP WHERE STOCKID <> ''", 1, "MARKUP", 35},
        {"SELECT MARKUP FROM STOCKMARKUP WHERE STOCKID = '12.0'", 1, "MARKUP", 35},
        {"SELECT MARKUP FROM STOCKMARKUP WHERE STOCKMARKUP.STOCKID > 'x'", 0, nullptr, 0},
        // Rows in the order they were stored; DISTINCT values in the order of their first rows.
        {"SELECT DEPARTMENT, MARKUP FROM MARKUPS", 7, "MARKUP", 30},
        {"SELECT DISTINCT INKCOLOR FROM INKSELECTIONS ORDER BY INKCOLOR DESC", 3, nullptr, 0},
        {"SELECT DISTINCT QUOTEORJOB, INKCOLOR FROM INKSELECTIONS", 3, nullptr, 0},
        {"SELECT 7 / 2 AS HALF FROM PLATES", 1, "HALF", 3.5},
        // Added up in stored order, whatever order the server keeps the rows in: (1e16 - 1e16) + 1.
        {"SELECT SUM(COSTPERLB) AS TOTAL FROM PMSCOLORS WHERE PMSNO LIKE '9*'", 1, "TOTAL", 1},
        {"SELECT Avg(COSTPERLB * 3) AS MEAN FROM PMSCOLORS WHERE PMSNO LIKE '9*'", 1, "MEAN", 1},
        // 30 + 20 + 70 + 40 + 50 + 45 + 25 = 280, each value once
        {"SELECT SUM(DISTINCT MARKUP) AS S FROM MARKUPS", 1, "S", 280},
    };
    EngineShop shop(GetParam(), shopRows);
    std::unique_ptr<EngineShop> file;
    if (GetParam() == Engine::Server)
        file = std::make_unique<EngineShop>(Engine::File, shopRows);
    for (const QueryCase& c : cases) {
        try {
            data::Recordset rows = shop.database().openRecordset(c.sql);
            EXPECT_EQ(rows.recordCount(), c.rows) << c.sql;
            if (c.column && rows.recordCount() > 0) {
                EXPECT_DOUBLE_EQ(rows.field(c.column).number(), c.value) << c.sql;
            }
            if (file) {
                EXPECT_EQ(rowsRead(rows), rowsRead(file->database().openRecordset(c.sql))) << c.sql;
            }
        } catch (const platform::Fault& fault) {
            ADD_FAILURE() << c.sql << "\n  fault " << fault.number() << ": " << fault.what() << "\n"
                          << fault.detail();
        }
    }
}

// A statement the database cannot run is the same fault, by the old engine's number, on either engine.
TEST_P(ShopQueriesOnBothEnginesTest, AFailedStatementIsTheSameFaultOnEitherEngine)
{
    if (!EngineShop::available(GetParam()))
        GTEST_SKIP() << noTestServerReason();
    const struct
    {
        std::string sql;
        int number;
    } cases[] = {
        {"SELECT * FROM NOSUCHTABLE", 3078},
        {"SELECT NOSUCHCOLUMN FROM ORDERS", 3061},
        {"SELECT * FROM ORDERS WHERE", 3075},
        {"INSERT INTO STOCK (STOCKID, STOCKDESC) VALUES (12, 'Again')", 3022},
        {"SELECT * FROM ORDERS WHERE ORDERNO = 'unterminated", 3075},
    };
    EngineShop shop(GetParam(), shopRows);
    for (const auto& c : cases) {
        EXPECT_EQ(testsupport::faultNumber([&] {
                      if (c.sql.rfind("SELECT", 0) == 0)
                          (void)shop.database().openRecordset(c.sql);
                      else
                          shop.database().execute(c.sql);
                  }),
                  c.number)
            << c.sql;
    }
    EXPECT_EQ(shop.database().openRecordset("SELECT * FROM STOCK").recordCount(), 1) << "nothing was written";
}

// The report work database, built with the DDL texts exactly as the engine writes them.
std::vector<std::string> reportDdl()
{
    std::vector<std::string> ddl;
    const auto reportTable = [&](const std::string& table, const std::string& runId, const std::string& columns) {
        ddl.push_back("CREATE TABLE [" + table + "] ([" + runId + "] LONG NOT NULL, [SORTORDER] LONG NOT NULL, " +
                      columns + "[BREAKAFTER] YESNO NOT NULL, [RUNDATE] DATETIME NOT NULL);");
        ddl.push_back("CREATE INDEX [RUNDATE] ON [" + table + "] ([RUNDATE] ASC);");
        ddl.push_back("CREATE UNIQUE INDEX [PrimaryKey] ON [" + table + "] ([" + runId +
                      "] ASC, [SORTORDER] ASC) WITH PRIMARY;");
    };
    reportTable("PRINTRPT", "PRINTRPTRUNID",
                "[DESCRIPTION] TEXT (25) NOT NULL, [QTY1VAL] TEXT (15) NOT NULL, [QTY2VAL] TEXT (15) NOT NULL, "
                "[QTY3VAL] TEXT (15) NOT NULL, [QTY4VAL] TEXT (15) NOT NULL, ");
    reportTable("PREPRESSRPT", "PREPRESSRPTRUNID",
                "[QTY] TEXT (10) NOT NULL, [DESCRIPTION] TEXT (25) NOT NULL, [SIZE] TEXT (15) NOT NULL, "
                "[COST] TEXT (15) NOT NULL, [MINUTES] TEXT (15) NOT NULL, [RETAIL] TEXT (15) NOT NULL, ");
    reportTable("BINDERYRPT", "BINDERYRPTRUNID",
                "[DESCRIPTION1] TEXT (25) NOT NULL, [UNITS1] TEXT (6) NOT NULL, [MRRUNTIME1] TEXT (6) NOT NULL, "
                "[PSSPOIL1] TEXT (10) NOT NULL, [COST1] TEXT (15) NOT NULL, [RETAIL1] TEXT (15) NOT NULL, ");
    reportTable("DEPTRPT", "DEPTRPTRUNID",
                "[DESCRIPTION] TEXT (25) NOT NULL, [HOURS1] TEXT (6) NOT NULL, [COST1] TEXT (15) NOT NULL, "
                "[PCTMU1] TEXT (6) NOT NULL, [MU1] TEXT (15) NOT NULL, [TOTAL1] TEXT (15) NOT NULL, ");
    return ddl;
}

TEST(ShopQueriesTest, TheReportWorkDatabaseIsBuiltAndItsSecondBuildFailsStatementByStatement)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/VMestrpt.mdb";
    const std::string runIds = "CREATE TABLE [RPTRUNID] ([PRINTRPTRUNID] LONG NOT NULL, [PREPRESSRPTRUNID] LONG NOT "
                               "NULL, [BINDERYRPTRUNID] LONG NOT NULL, [DEPTRPTRUNID] LONG NOT NULL);";
    const std::string firstRow = "INSERT INTO RPTRUNID (PRINTRPTRUNID, PREPRESSRPTRUNID, BINDERYRPTRUNID, "
                                 "DEPTRPTRUNID) VALUES (0,0,0,0)";
    {
        data::Database report = data::Database::create(path);
        for (const std::string& ddl : reportDdl())
            EXPECT_NO_THROW(report.execute(ddl)) << ddl;
        report.execute(runIds);
        report.execute(firstRow);
    }
    data::Database report = data::Database::open(path);
    data::Recordset runs = report.openRecordset("SELECT * FROM RPTRUNID");
    ASSERT_EQ(runs.recordCount(), 1);
    EXPECT_EQ(runs.field("DEPTRPTRUNID").number(), 0);

    // The unique index keeps two rows of one run and sort order apart.
    report.execute("INSERT INTO PRINTRPT VALUES (1, 1, 'Stock', '$1.00', '', '', '', False, '2026-12-08')");
    try {
        report.execute("INSERT INTO PRINTRPT VALUES (1, 1, 'Press', '$2.00', '', '', '', True, '2026-12-08')");
        ADD_FAILURE() << "a duplicate key was stored";
    } catch (const platform::Fault& fault) {
        EXPECT_EQ(fault.number(), data::DuplicateValues);
    }
    data::Recordset printed = report.openRecordset("SELECT * FROM PRINTRPT");
    EXPECT_EQ(printed.field("BREAKAFTER"), platform::Value::fromBoolean(false));
    EXPECT_EQ(printed.field("RUNDATE"), platform::Value::fromDate(46364)); // 8 December 2026

    // On an existing database each statement fails on its own: tables with 3010, indexes with 3375.
    for (const std::string& ddl : reportDdl()) {
        try {
            report.execute(ddl);
            ADD_FAILURE() << "no fault for " << ddl;
        } catch (const platform::Fault& fault) {
            EXPECT_EQ(fault.number(), ddl.rfind("CREATE TABLE", 0) == 0 ? 3010 : 3375) << fault.what();
        }
    }
    EXPECT_THROW(report.execute(runIds), platform::Fault);
    EXPECT_EQ(report.openRecordset("SELECT * FROM RPTRUNID").recordCount(), 1);
}

} // namespace
