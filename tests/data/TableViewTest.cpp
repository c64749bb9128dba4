#include <functional>
#include <string>
#include <vector>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "data/JetErrors.h"
#include "data/Database.h"
#include "platform/Fault.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Faults.h"

namespace {

using platform::Value;
using testsupport::TestDatabase;

using testsupport::faultNumber;

// Three orders stored out of key order: rowid 10, then 5, then 7.
const char* const orderRows =
    "INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSQTY, PRESSQTY2, PRINTPRICING) "
    "VALUES (10, '10045', 1, 'J', 'Letterhead', 2500, 5000, 0);"
    "INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSQTY, PRESSQTY2, PRINTPRICING) "
    "VALUES (5, '10046', 1, 'Q', 'Business cards', 1000, 2000, 0);"
    "INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSQTY, PRESSQTY2, PRINTPRICING) "
    "VALUES (7, '10047', 2, 'Q', 'NCR forms', 500, 1000, 0);";

// One column of one row read with sqlite3 directly, as the shop's management system would see it.
std::string storedText(const TestDatabase& db, const std::string& sql)
{
    sqlite3* raw = nullptr;
    sqlite3_open_v2(db.path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string text = "<no row>";
    if (sqlite3_prepare_v2(raw, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* value = sqlite3_column_text(statement, 0);
        text = value ? reinterpret_cast<const char*>(value) : "<null>";
    }
    sqlite3_finalize(statement);
    sqlite3_close(raw);
    return text;
}

TEST(TableViewTest, WalksRowsInStoredOrderWithRowidBookmarks)
{
    TestDatabase db(orderRows);
    data::TableView orders = data::Database::open(db.path()).openTable("Orders");
    ASSERT_EQ(orders.recordCount(), 3);
    std::vector<std::int64_t> bookmarks;
    std::vector<std::string> numbers;
    for (orders.moveFirst(); !orders.eof(); orders.moveNext()) {
        bookmarks.push_back(orders.bookmark());
        numbers.push_back(orders.field("orderno").text());
    }
    EXPECT_EQ(bookmarks, (std::vector<std::int64_t>{5, 7, 10}));
    EXPECT_EQ(numbers, (std::vector<std::string>{"10046", "10047", "10045"}));
    EXPECT_EQ(faultNumber([&] { orders.bookmark(); }), 3021);
    EXPECT_EQ(faultNumber([&] { orders.field("ORDERNO"); }), 3021);

    orders.setBookmark(10);
    EXPECT_EQ(orders.field("DESCRIPTION").text(), "Letterhead");
    orders.moveLast();
    EXPECT_EQ(orders.bookmark(), 10);
    EXPECT_EQ(faultNumber([&] { orders.field("NOSUCHCOLUMN"); }), 3265);
}

TEST(TableViewTest, ABookmarkOfAGoneRowIsFault3159)
{
    TestDatabase db(orderRows);
    data::TableView orders = data::Database::open(db.path()).openTable("Orders");
    db.exec("DELETE FROM ORDERS WHERE rowid = 7"); // the shop's system deletes the order meanwhile
    try {
        orders.setBookmark(7);
        FAIL() << "no fault";
    } catch (const platform::Fault& fault) {
        EXPECT_EQ(fault.number(), data::NotAValidBookmark);
        EXPECT_STREQ(fault.what(), "Not a valid bookmark.");
    }
    EXPECT_EQ(faultNumber([&] { orders.setBookmark(999); }), 3159);
    EXPECT_EQ(faultNumber([&] { orders.setBookmark(-1); }), 3159);
    // The view is still usable.
    orders.setBookmark(5);
    EXPECT_EQ(orders.field("ORDERNO").text(), "10046");
}

TEST(TableViewTest, SetBookmarkReadsTheRowAgainFromTheFile)
{
    TestDatabase db(orderRows);
    data::TableView orders = data::Database::open(db.path()).openTable("ORDERS");
    db.exec("UPDATE ORDERS SET DESCRIPTION = 'Letterhead, revised' WHERE rowid = 10");
    orders.setBookmark(10);
    EXPECT_EQ(orders.field("DESCRIPTION").text(), "Letterhead, revised");
}

TEST(TableViewTest, UpdateWritesTheEditedFieldsOfThatRowOnly)
{
    TestDatabase db(orderRows);
    data::Database database = data::Database::open(db.path());
    data::TableView orders = database.openTable("Orders");
    orders.setBookmark(7);
    orders.edit();
    orders.setField("PressQty", Value::fromInteger(750));
    orders.setField("PRESSQTY2", Value::fromInteger(0));
    orders.setField("PrintPricing", Value::fromInteger(-1));
    EXPECT_EQ(orders.field("PRESSQTY").number(), 750); // the edit is seen before it is stored

    std::vector<std::string> seen;
    data::setTraceHook([&](const std::string& sql) { seen.push_back(sql); });
    orders.update();
    data::setTraceHook({});

    ASSERT_GE(seen.size(), 1u);
    EXPECT_EQ(seen.front(),
              "UPDATE \"Orders\" SET \"PRESSQTY\" = ?1, \"PRESSQTY2\" = ?2, \"PRINTPRICING\" = ?3 WHERE rowid = ?4");
    EXPECT_EQ(storedText(db, "SELECT PRESSQTY || '/' || PRESSQTY2 || '/' || PRINTPRICING FROM ORDERS WHERE rowid = 7"),
              "750/0/-1");
    // The other columns of the row and the other rows keep their values.
    EXPECT_EQ(storedText(db, "SELECT DESCRIPTION FROM ORDERS WHERE rowid = 7"), "NCR forms");
    EXPECT_EQ(storedText(db, "SELECT PRESSQTY FROM ORDERS WHERE rowid = 5"), "1000");
    EXPECT_EQ(orders.field("PRINTPRICING"), Value::fromBoolean(true));
}

TEST(TableViewTest, AssignedValuesTakeTheColumnsOwnType)
{
    TestDatabase db(orderRows);
    data::TableView orders = data::Database::open(db.path()).openTable("Orders");
    orders.setBookmark(5);
    orders.edit();
    orders.setField("PRESSQTY", Value::fromText("1500"));      // a numeric text into a whole-number column
    orders.setField("PRESSQTY2", Value::fromDouble(2.5));      // halves go to the even number: 2
    orders.setField("PRESSQTY3", Value::fromDouble(3.5));      // 4
    orders.setField("PRINTPRICING", Value::fromBoolean(true)); // stored as -1
    orders.setField("DESCRIPTION", Value::fromInteger(12));    // a number into a text column: "12"
    EXPECT_EQ(faultNumber([&] { orders.setField("PRESSQTY4", Value::fromText("abc")); }), 3421);
    EXPECT_EQ(faultNumber([&] { orders.setField("NOSUCHCOLUMN", Value::fromInteger(0)); }), 3265);
    orders.update();
    EXPECT_EQ(storedText(db, "SELECT PRESSQTY || '/' || PRESSQTY2 || '/' || PRESSQTY3 || '/' || PRINTPRICING || '/' || "
                             "typeof(DESCRIPTION) || ':' || DESCRIPTION || '/' || ifnull(PRESSQTY4, 'null') "
                             "FROM ORDERS WHERE rowid = 5"),
              "1500/2/4/-1/text:12/null");
}

TEST(TableViewTest, EditingOutOfTurnIsAFault)
{
    TestDatabase db(orderRows);
    data::TableView orders = data::Database::open(db.path()).openTable("Orders");
    EXPECT_EQ(faultNumber([&] { orders.setField("PRESSQTY", Value::fromInteger(1)); }), 3020);
    EXPECT_EQ(faultNumber([&] { orders.update(); }), 3020);
    orders.edit();
    orders.setField("PRESSQTY", Value::fromInteger(1));
    orders.moveNext(); // moving away drops the edit
    EXPECT_EQ(faultNumber([&] { orders.update(); }), 3020);
    EXPECT_EQ(storedText(db, "SELECT PRESSQTY FROM ORDERS WHERE rowid = 5"), "1000");
    orders.moveLast();
    orders.moveNext();
    EXPECT_EQ(faultNumber([&] { orders.edit(); }), 3021);
}

TEST(TableViewTest, AnUpdateOfADeletedRowIsAFaultAndWritesNothing)
{
    TestDatabase db(orderRows);
    data::TableView orders = data::Database::open(db.path()).openTable("Orders");
    orders.setBookmark(10);
    orders.edit();
    orders.setField("PRESSQTY", Value::fromInteger(1));
    db.exec("DELETE FROM ORDERS WHERE rowid = 10");
    EXPECT_EQ(faultNumber([&] { orders.update(); }), 3167);
    EXPECT_EQ(storedText(db, "SELECT count(*) FROM ORDERS WHERE PRESSQTY = 1"), "0");
}

TEST(TableViewTest, AnUpdateWhileAnotherProgramHoldsTheLockChangesNothing)
{
    TestDatabase db(orderRows);
    data::TableView orders = data::Database::open(db.path()).openTable("Orders");
    orders.setBookmark(5);
    orders.edit();
    orders.setField("PRESSQTY", Value::fromInteger(1));
    orders.setField("PRESSQTY2", Value::fromInteger(2));

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    data::setBusyTimeout(50);
    EXPECT_EQ(faultNumber([&] { orders.update(); }), 3218);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    data::setBusyTimeout(5000);
    EXPECT_EQ(storedText(db, "SELECT PRESSQTY || '/' || PRESSQTY2 FROM ORDERS WHERE rowid = 5"), "1000/2000");
    // The edit is still there: storing it again once the lock is gone writes both fields.
    orders.update();
    EXPECT_EQ(storedText(db, "SELECT PRESSQTY || '/' || PRESSQTY2 FROM ORDERS WHERE rowid = 5"), "1/2");
}

TEST(TableViewTest, RefreshSeesRowsAddedSinceAndAMissingTableIsAFault)
{
    TestDatabase db(orderRows);
    data::Database database = data::Database::open(db.path());
    data::TableView orders = database.openTable("Orders");
    db.exec("INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB) VALUES (6, '10048', 1, 'J')");
    EXPECT_EQ(orders.recordCount(), 3);
    orders.refresh();
    EXPECT_EQ(orders.recordCount(), 4);
    orders.moveNext();
    EXPECT_EQ(orders.bookmark(), 6);

    data::TableView selections = database.openTable("BinderySelections");
    EXPECT_EQ(selections.recordCount(), 0);
    EXPECT_TRUE(selections.eof());
    EXPECT_EQ(faultNumber([&] { database.openTable("NoSuchTable"); }), 3078);
}

} // namespace
