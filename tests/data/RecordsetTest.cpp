#include <functional>
#include <string>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "data/Database.h"
#include "data/Dialect.h"
#include "platform/Fault.h"
#include "platform/Format.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Faults.h"

namespace {

using platform::Value;
using testsupport::TestDatabase;

using testsupport::faultNumber;

const char* const markupRows = "INSERT INTO MARKUPS VALUES ('Stock', 30);"
                               "INSERT INTO MARKUPS VALUES ('Stock (minimum)', 20);"
                               "INSERT INTO MARKUPS VALUES ('Stock (maximum)', 70);"
                               "INSERT INTO MARKUPS VALUES ('stock rush', 80);"
                               "INSERT INTO MARKUPS VALUES ('Press', 40);"
                               "INSERT INTO MARKUPS VALUES (NULL, 99);";

TEST(RecordsetTest, WalksRowsAndFaultsPastTheEnd)
{
    TestDatabase db(markupRows);
    data::Database database = data::Database::open(db.path());
    data::Recordset rows = database.openRecordset("SELECT DEPARTMENT, MARKUP FROM MARKUPS WHERE MARKUP < 50 "
                                                  "ORDER BY MARKUP");
    ASSERT_EQ(rows.recordCount(), 3); // 20, 30, 40
    EXPECT_FALSE(rows.bof());
    EXPECT_EQ(rows.field("department").text(), "Stock (minimum)");
    rows.moveNext();
    EXPECT_EQ(rows.field(1).number(), 30);
    rows.moveLast();
    EXPECT_EQ(rows.field("Department").text(), "Press");
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
    EXPECT_EQ(faultNumber([&] { rows.field("MARKUP"); }), 3021);
    EXPECT_EQ(faultNumber([&] { rows.moveNext(); }), 3021);
    rows.moveFirst();
    EXPECT_EQ(rows.field(0).text(), "Stock (minimum)");
    EXPECT_EQ(rows.fieldCount(), 2);
    EXPECT_EQ(rows.fieldName(1), "MARKUP");
}

TEST(RecordsetTest, UnknownFieldsAndPositionsAreFault3265)
{
    TestDatabase db(markupRows);
    data::Recordset rows = data::Database::open(db.path()).openRecordset("SELECT * FROM MARKUPS");
    std::string text;
    EXPECT_EQ(faultNumber([&] { rows.field("MARKUPS"); }, &text), 3265);
    EXPECT_NE(text.find("MARKUPS"), std::string::npos) << text;
    EXPECT_EQ(faultNumber([&] { rows.field(2); }), 3265);
    EXPECT_EQ(faultNumber([&] { rows.field(-1); }), 3265);
    EXPECT_EQ(faultNumber([&] { rows.fieldName(7); }), 3265);
    // A column written with its table finds the column.
    EXPECT_EQ(rows.field("MARKUPS.MARKUP").number(), 30);
}

TEST(RecordsetTest, AnEmptyResultHasNoCurrentRow)
{
    TestDatabase db(markupRows);
    data::Recordset rows =
        data::Database::open(db.path()).openRecordset("SELECT * FROM MARKUPS WHERE DEPARTMENT = 'Outside Services'");
    EXPECT_EQ(rows.recordCount(), 0);
    EXPECT_TRUE(rows.eof());
    EXPECT_TRUE(rows.bof());
    EXPECT_EQ(faultNumber([&] { rows.moveFirst(); }), 3021);
    EXPECT_EQ(faultNumber([&] { rows.moveLast(); }), 3021);
    EXPECT_EQ(faultNumber([&] { rows.field(0); }), 3021);
}

TEST(RecordsetTest, LikeAndAvgAnswerAsTheOldEngineDid)
{
    TestDatabase db(markupRows);
    data::Database database = data::Database::open(db.path());
    // 'Stock*' matches Stock 30, Stock (minimum) 20, Stock (maximum) 70 and, without regard to case,
    // stock rush 80: (30 + 20 + 70 + 80) / 4 = 50. A case-sensitive match would give 40.
    data::Recordset average =
        database.openRecordset("SELECT Avg(MARKUP) AS AVGMARKUP From MARKUPS WHERE DEPARTMENT Like 'Stock*'");
    EXPECT_DOUBLE_EQ(average.field("AVGMARKUP").number(), 50.0);
    // NOT LIKE leaves out the four stock rows and the Null department: only Press.
    data::Recordset others = database.openRecordset("SELECT * FROM MARKUPS WHERE DEPARTMENT NOT LIKE \"stock*\"");
    ASSERT_EQ(others.recordCount(), 1);
    EXPECT_EQ(others.field("DEPARTMENT").text(), "Press");
    // % is a plain character to the old engine, not a wildcard.
    EXPECT_EQ(database.openRecordset("SELECT * FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock%'").recordCount(), 0);
    EXPECT_EQ(database.openRecordset("SELECT * FROM MARKUPS WHERE UCASE(DEPARTMENT) = 'STOCK RUSH'").recordCount(), 1);
    // Whole numbers divide as doubles: 25 / 100 = 0.25, not 0.
    EXPECT_DOUBLE_EQ(database.openRecordset("SELECT 25/100 AS X").field("X").number(), 0.25);
}

TEST(RecordsetTest, ValuesComeBackAsTheirKinds)
{
    TestDatabase db("CREATE TABLE KINDS (I INTEGER, R REAL, T TEXT, N TEXT, B BLOB, Y YESNO, D DATETIME);"
                    "INSERT INTO KINDS VALUES (7, 2.5, 'x', NULL, X'414243', -1, '2026-12-08 13:30:00');"
                    "INSERT INTO KINDS VALUES (0, 0, '', NULL, NULL, 0, '2026-12-08');"
                    "INSERT INTO KINDS VALUES (1, 1, 'y', NULL, NULL, NULL, 46364.5625);"
                    "INSERT INTO KINDS VALUES (2, 2, 'z', NULL, NULL, 'True', 'next week');");
    data::Recordset rows = data::Database::open(db.path()).openRecordset("SELECT * FROM KINDS ORDER BY I");
    ASSERT_EQ(rows.recordCount(), 4);
    // I = 0: an empty text is a text, not Null; yes/no 0 is False; a date alone is midnight.
    EXPECT_EQ(rows.field("I"), Value::fromInteger(0));
    EXPECT_EQ(rows.field("T"), Value::fromText(""));
    EXPECT_EQ(rows.field("Y"), Value::fromBoolean(false));
    // 8 December 2026 is 46364 days after 30 December 1899.
    EXPECT_EQ(rows.field("D"), Value::fromDate(46364));
    rows.moveNext();
    // I = 1: a Null yes/no is Null; a real in a date column is a day serial (13:30 = 0.5625 of a day).
    EXPECT_TRUE(rows.field("Y").isNull());
    EXPECT_EQ(rows.field("D"), Value::fromDate(46364.5625));
    rows.moveNext();
    // I = 2: the text True in a yes/no column; a text that is no date stays a text.
    EXPECT_EQ(rows.field("Y"), Value::fromBoolean(true));
    EXPECT_EQ(rows.field("D"), Value::fromText("next week"));
    rows.moveNext();
    // I = 7
    EXPECT_EQ(rows.field("I"), Value::fromInteger(7));
    EXPECT_EQ(rows.field("R"), Value::fromDouble(2.5));
    EXPECT_EQ(rows.field("T"), Value::fromText("x"));
    EXPECT_TRUE(rows.field("N").isNull());
    EXPECT_EQ(rows.field("B"), Value::fromText("ABC"));
    EXPECT_EQ(rows.field("Y"), Value::fromBoolean(true));
    EXPECT_DOUBLE_EQ(rows.field("D").dateSerial(), platform::dateSerial(2026, 12, 8, 13, 30, 0));
    EXPECT_DOUBLE_EQ(rows.field("D").dateSerial(), 46364.5625);
}

TEST(RecordsetTest, RequerySeesRowsChangedSince)
{
    TestDatabase db(markupRows);
    data::Recordset press =
        data::Database::open(db.path()).openRecordset("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT = 'Press'");
    EXPECT_EQ(press.field(0).number(), 40);
    db.exec("UPDATE MARKUPS SET MARKUP = 45 WHERE DEPARTMENT = 'Press'"); // another program writes
    EXPECT_EQ(press.field(0).number(), 40);                               // a snapshot keeps what it read
    press.requery();
    EXPECT_EQ(press.field(0).number(), 45);
    press.close();
    EXPECT_FALSE(press.isOpen());
    EXPECT_EQ(faultNumber([&] { press.requery(); }), 3420);
}

// The message names the missing object; the SQL text and SQLite's own words go to the fault's detail only.
TEST(RecordsetTest, EngineErrorsAreFaultsNamingTheObjectWithTheSqlInTheDetail)
{
    TestDatabase db(markupRows);
    data::Database database = data::Database::open(db.path());
    struct Case
    {
        const char* sql;
        int number;
        const char* named; // in the message
    } cases[] = {
        {"SELECT * FROM PRICES", 3078, "PRICES"},
        {"SELECT NOSUCHCOLUMN FROM MARKUPS", 3061, "NOSUCHCOLUMN"},
        // A bracketed name that is no column is an error too, not the text of its name.
        {"SELECT [NO SUCH COLUMN] FROM MARKUPS", 3061, "NO SUCH COLUMN"},
        {"SELECT * FROM MARKUPS WHERE [DEPT] = 'Press'", 3061, "DEPT"},
        {"SELECT * FROM MARKUPS WHERE", 3075, "Syntax error"},
        {"SELECT LEFTSTR(DEPARTMENT) FROM MARKUPS", 3085, "LEFTSTR"},
        {"DELETE FROM MARKUPS", 3219, "only a query that reads rows"},
        {"SELECT 1; DELETE FROM MARKUPS", 3142, "Characters found after end"},
        {"", 3129, "Invalid SQL statement"},
        {"SELECT * FROM MARKUPS WHERE MARKUP = ?", 3061, "Too few parameters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            database.openRecordset(c.sql);
            ADD_FAILURE() << "no fault";
        } catch (const platform::Fault& fault) {
            const std::string text = fault.what();
            EXPECT_EQ(fault.number(), c.number) << text;
            EXPECT_NE(text.find(c.named), std::string::npos) << text;
            EXPECT_EQ(text.find("SQL:"), std::string::npos) << text;
            EXPECT_NE(fault.detail().find("SQL: "), std::string::npos) << fault.detail();
            if (*c.sql != '\0') {
                EXPECT_EQ(text.find(c.sql), std::string::npos) << text;
            }
        }
    }
    // Nothing was deleted by any of them.
    EXPECT_EQ(database.openRecordset("SELECT * FROM MARKUPS").recordCount(), 6);
}

TEST(RecordsetTest, AHostileOrderNumberRoundTripsThroughALiteral)
{
    const std::string orderNo = "O'Brien \"x\" ; DROP TABLE ORDERS; --";
    TestDatabase db("INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION) VALUES "
                    "('O''Brien \"x\" ; DROP TABLE ORDERS; --', 1, 'Q', 'hostile');"
                    "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION) VALUES ('O', 1, 'Q', 'plain');");
    data::Database database = data::Database::open(db.path());
    data::Recordset order =
        database.openRecordset("SELECT * FROM ORDERS WHERE ORDERNO = " + data::sqlLiteral(orderNo) + " AND PARTNO = 1");
    ASSERT_EQ(order.recordCount(), 1);
    EXPECT_EQ(order.field("ORDERNO").text(), orderNo);
    EXPECT_EQ(order.field("DESCRIPTION").text(), "hostile");

    // The same key as a double-quoted literal with its quotes doubled, as the estimator writes it.
    std::string doubled = "\"";
    for (const char c : orderNo)
        doubled += c == '"' ? std::string("\"\"") : std::string(1, c);
    doubled += "\"";
    EXPECT_EQ(database.openRecordset("SELECT * FROM ORDERS WHERE ORDERNO = " + doubled).recordCount(), 1);
    EXPECT_EQ(database.openRecordset("SELECT * FROM ORDERS").recordCount(), 2);

    // Texts with wildcards, brackets and non-ASCII letters come back unchanged.
    for (const std::string text : {"50% off * [rush]", "Café Müller & Söhne", "a\"b'c"}) {
        data::Recordset echo = database.openRecordset("SELECT " + data::sqlLiteral(text) + " AS T");
        EXPECT_EQ(echo.field("T").text(), text);
    }
}

TEST(RecordsetTest, ALockedDatabaseIsAFaultAfterTheBusyTimeout)
{
    TestDatabase db(markupRows);
    data::Database database = data::Database::open(db.path());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE MARKUPS SET MARKUP = 1", nullptr, nullptr, nullptr),
              SQLITE_OK);
    data::setBusyTimeout(50);
    std::string text;
    EXPECT_EQ(faultNumber([&] { database.execute("UPDATE MARKUPS SET MARKUP = 2"); }, &text), 3218);
    EXPECT_NE(text.find("locked"), std::string::npos) << text;
    // Readers still see the last committed rows while the other program holds its write lock.
    EXPECT_EQ(database.openRecordset("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT = 'Press'").field(0).number(), 40);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    data::setBusyTimeout(5000);
    // Once the lock is gone the same statement goes through.
    database.execute("UPDATE MARKUPS SET MARKUP = 2 WHERE DEPARTMENT = 'Press'");
    EXPECT_EQ(database.openRecordset("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT = 'Press'").field(0).number(), 2);
}

TEST(RecordsetTest, TheTraceHookSeesEveryAdaptedStatementInOrder)
{
    TestDatabase db(markupRows);
    data::Database database = data::Database::open(db.path());
    std::vector<std::string> seen;
    data::setTraceHook([&](const std::string& sql) { seen.push_back(sql); });
    database.openRecordset("SELECT [MARKUP] FROM MARKUPS WHERE DEPARTMENT = \"Press\"");
    database.execute("UPDATE MARKUPS SET MARKUP = 41 WHERE DEPARTMENT = 'Press'");
    database.openRecordset("SELECT [MARKUP] FROM MARKUPS WHERE DEPARTMENT = \"Press\"");
    data::setTraceHook({});
    database.openRecordset("SELECT 1");
    const std::vector<std::string> expected = {
        "SELECT \"MARKUP\" FROM MARKUPS WHERE DEPARTMENT = 'Press'",
        "UPDATE MARKUPS SET MARKUP = 41 WHERE DEPARTMENT = 'Press'",
        "SELECT \"MARKUP\" FROM MARKUPS WHERE DEPARTMENT = 'Press'",
    };
    EXPECT_EQ(seen, expected);
}

} // namespace
