// The shop database on a server keeps the guarantees it has in a file: table views walk rows in stored
// order, a transaction keeps one snapshot and leaves nothing behind, a working copy is read in the table's
// place on this connection only, and another session's lock is the same plain "currently locked" fault.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include "data/Database.h"
#include "platform/Value.h"
#include "tests/support/EngineShop.h"
#include "tests/support/Faults.h"

namespace {

using platform::Value;
using testsupport::Engine;
using testsupport::EngineShop;
using testsupport::faultNumber;

const char* const orderRows =
    "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRINTPRICING, DUEDATE) VALUES "
    "('24101', 1, 'J', 500, 0, '2026-12-01');"
    "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRINTPRICING) VALUES ('24102', 1, 'J', 700, "
    "-1);"
    "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRINTPRICING) VALUES ('24101', 2, 'J', 900, "
    "-1);";

// Another program's session on the same database, with its own transaction.
class OtherSession
{
public:
    explicit OtherSession(const std::string& conninfo) : m_conn(PQconnectdb(conninfo.c_str())) {}
    ~OtherSession() { PQfinish(m_conn); }
    OtherSession(const OtherSession&) = delete;
    OtherSession& operator=(const OtherSession&) = delete;
    // The first column of every row, joined with ";" ("!" and the server's message when it failed).
    std::string run(const std::string& sql)
    {
        PGresult* result = PQexec(m_conn, sql.c_str());
        std::string out;
        if (PQresultStatus(result) == PGRES_TUPLES_OK) {
            for (int row = 0; row < PQntuples(result); ++row)
                out += std::string(PQgetvalue(result, row, 0)) + ";";
        } else if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            out = "!" + std::string(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        }
        PQclear(result);
        return out;
    }

private:
    PGconn* m_conn;
};

double pressQty(const data::Database& db, int part = 1)
{
    return db
        .openRecordset("SELECT PRESSQTY FROM ORDERS WHERE ORDERNO = '24101' AND PARTNO = " +
                       std::to_string(part))
        .field("PRESSQTY")
        .number();
}

class ServerEngineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!EngineShop::available(Engine::Server))
            GTEST_SKIP() << testsupport::noTestServerReason();
        shop = std::make_unique<EngineShop>(Engine::Server, orderRows);
    }
    void TearDown() override { data::setBusyTimeout(5000); }
    std::unique_ptr<EngineShop> shop;
};

// A server keeps a changed row wherever it likes; the table view still walks the rows in the order they
// were stored, and a bookmark finds its row again after another session changed it.
TEST_F(ServerEngineTest, TableViewWalksStoredOrderAndUpdatesOneRow)
{
    OtherSession other(shop->location());
    ASSERT_EQ(
        other.run("UPDATE \"ORDERS\" SET \"PRESSQTY\" = 501 WHERE \"ORDERNO\" = '24101' AND \"PARTNO\" = 1"),
        "");
    data::TableView orders = shop->database().openTable("orders");
    EXPECT_EQ(faultNumber([&] { orders.field("pricebook_rowid"); }), 3265)
        << "the row key is no column of the shop's";
    std::vector<std::string> seen;
    std::vector<std::int64_t> bookmarks;
    for (orders.moveFirst(); !orders.eof(); orders.moveNext()) {
        seen.push_back(orders.field("ORDERNO").text() + "/" + orders.field("PRESSQTY").formatted());
        bookmarks.push_back(orders.bookmark());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"24101/501", "24102/700", "24101/900"}));
    EXPECT_EQ(
        faultNumber([&] { shop->database().openRecordset("SELECT * FROM ORDERS").field("pricebook_rowid"); }),
        3265);

    orders.setBookmark(bookmarks[1]);
    EXPECT_EQ(orders.field("PRINTPRICING"), Value::fromBoolean(true)) << "a yes/no column reads as yes/no";
    orders.edit();
    orders.setField("PRESSQTY", Value::fromDouble(1250.4)); // a whole-number column keeps 1250
    orders.setField("DUEDATE", Value::fromDate(46364));
    orders.update();
    EXPECT_EQ(
        other.run("SELECT \"PRESSQTY\" || ' ' || \"DUEDATE\" FROM \"ORDERS\" WHERE \"ORDERNO\" = '24102'"),
        "1250 2026-12-08 00:00:00;");
    EXPECT_EQ(orders.field("DUEDATE"), Value::fromDate(46364));
    EXPECT_EQ(faultNumber([&] { orders.setBookmark(bookmarks.back() + 100); }), 3159);
}

TEST_F(ServerEngineTest, TransactionKeepsOneSnapshotAndRollsBack)
{
    const data::Database& db = shop->database();
    OtherSession other(shop->location());
    {
        data::Transaction writes = db.beginTransaction();
        db.execute("UPDATE ORDERS SET PRESSQTY = 125 WHERE ORDERNO = '24101' AND PARTNO = 1");
        EXPECT_EQ(pressQty(db), 125.0) << "its own write is seen inside";
        EXPECT_EQ(faultNumber([&] { (void)db.openRecordset("SELECT * FROM NOSUCHTABLE"); }), 3078);
        EXPECT_EQ(pressQty(db), 125.0) << "a failed statement is undone alone; the transaction goes on";
        EXPECT_EQ(
            other.run("SET lock_timeout = 100; UPDATE \"ORDERS\" SET \"PRESSQTY\" = 1 WHERE \"PARTNO\" = 1"),
            "!55P03")
            << "the row written inside is locked";
        EXPECT_EQ(faultNumber([&] { (void)db.beginTransaction(); }), 3219) << "one at a time";
    }
    EXPECT_EQ(pressQty(db), 500.0) << "let go without commit: rolled back";
    {
        const data::Transaction reads = db.beginTransaction();
        EXPECT_EQ(pressQty(db, 2), 900.0);
        EXPECT_EQ(other.run("UPDATE \"ORDERS\" SET \"PRESSQTY\" = 999 WHERE \"PARTNO\" = 2"), "")
            << "a reader holds up no writer";
        EXPECT_EQ(pressQty(db, 2), 900.0) << "and keeps the snapshot it began with";
    }
    EXPECT_EQ(pressQty(db, 2), 999.0);
}

TEST_F(ServerEngineTest, WorkingCopyIsReadInTheTablesPlaceOnThisConnectionOnly)
{
    const data::Database& db = shop->database();
    OtherSession other(shop->location());
    const std::string everyRow =
        "SELECT \"ORDERNO\" || \"PARTNO\" || '=' || \"PRESSQTY\" FROM \"ORDERS\" ORDER BY 1";
    const std::string before = other.run(everyRow);
    data::TableView earlier = db.openTable("ORDERS");
    earlier.moveLast();
    const std::int64_t part2 = earlier.bookmark();
    {
        data::WorkingCopy copy = db.workingCopy("Orders");
        EXPECT_EQ(db.openRecordset("SELECT * FROM ORDERS").recordCount(), 0) << "empty until filled";
        EXPECT_EQ(faultNumber([&] { (void)db.workingCopy("ORDERS"); }), 3010) << "one copy a table";
        {
            const data::Transaction quantity = db.beginTransaction();
            copy.refill(part2, "ORDERNO", Value::fromText("24102"));
            const data::Recordset rows = db.openRecordset("SELECT * FROM ORDERS");
            ASSERT_EQ(rows.recordCount(), 2) << "the bookmarked row and the rows of the order number";
            EXPECT_EQ(rows.field("PRINTPRICING").kind(), Value::Kind::Boolean);

            earlier.setBookmark(part2);
            earlier.edit();
            earlier.setField("PRESSQTY", Value::fromInteger(2000));
            earlier.update();
            EXPECT_EQ(pressQty(db, 2), 2000.0) << "the write went to the copy, which the query reads";
            EXPECT_EQ(other.run(everyRow), before) << "no other session sees it";
            EXPECT_EQ(
                other.run(
                    "SET lock_timeout = 100; UPDATE \"ORDERS\" SET \"PRESSQTY\" = 900 WHERE \"PARTNO\" = 2"),
                "")
                << "writing the copy holds no lock of the table";
        }
        EXPECT_EQ(db.openRecordset("SELECT * FROM ORDERS").recordCount(), 0)
            << "rolled back with its transaction";
    }
    EXPECT_EQ(pressQty(db, 2), 900.0) << "without the copy the name means the shop's table again";
    EXPECT_EQ(other.run(everyRow), before);
    EXPECT_EQ(faultNumber([&] { (void)db.workingCopy("NOSUCHTABLE"); }), 3078);
}

// Another program's lock ends the wait after the busy timeout with the same fault and words as a locked
// file: the pricing run shows its one plain message for both.
TEST_F(ServerEngineTest, AnotherSessionsLockIsTheLockedFault)
{
    data::setBusyTimeout(200);
    OtherSession other(shop->location());
    ASSERT_EQ(other.run("BEGIN; UPDATE \"ORDERS\" SET \"PRESSQTY\" = 1 WHERE \"ORDERNO\" = '24102'"), "");
    data::TableView orders = shop->database().openTable("ORDERS");
    orders.moveFirst();
    orders.moveNext();
    orders.edit();
    orders.setField("PRESSQTY", Value::fromInteger(5));
    std::string text;
    EXPECT_EQ(faultNumber([&] { orders.update(); }, &text), 3218);
    EXPECT_EQ(text, "Could not update; currently locked.");
    other.run("ROLLBACK");
    EXPECT_EQ(shop->database()
                  .openRecordset("SELECT PRESSQTY FROM ORDERS WHERE ORDERNO = '24102'")
                  .field(0)
                  .number(),
              700);
}

} // namespace
