// A transaction keeps one snapshot of the file and leaves nothing behind; a working copy of a table is
// read in the table's place by this process only, and nothing written to it reaches the file.
#include <string>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "data/TableView.h"
#include "platform/Value.h"
#include "tests/support/Faults.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::TestDatabase;

constexpr const char* kRows =
    "CREATE TABLE \"Orders\" (ORDERNO TEXT, PARTNO INTEGER, PRESSQTY INTEGER, "
    "PRINTPRICING YESNO, DUEDATE DATETIME, \"Odd \"\"Name\" TEXT (8));"
    "INSERT INTO Orders (rowid, ORDERNO, PARTNO, PRESSQTY, PRINTPRICING, DUEDATE) VALUES "
    "(3, '24101', 1, 500, 0, '2026-12-01'), (5, '24102', 1, 700, -1, NULL), "
    "(9, '24101', 2, 900, -1, NULL);";

// Another program's connection to the same file.
class OtherProgram
{
public:
    explicit OtherProgram(const std::string& path)
    {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~OtherProgram() { sqlite3_close(m_db); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    std::string text(const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        std::string out;
        sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            out += std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))) + ";";
        sqlite3_finalize(statement);
        return out;
    }

private:
    sqlite3* m_db = nullptr;
};

double pressQty(const data::Database& db, const char* orderNo = "24101")
{
    return db.openRecordset(std::string("SELECT PRESSQTY FROM ORDERS WHERE ORDERNO = '") + orderNo + "'")
        .field("PRESSQTY")
        .number();
}

// Another program that drops a column between two reads of the same "SELECT *": the second read names its
// values by the columns the table has now, not by those of the first.
TEST(Transaction, ARowIsReadUnderItsOwnColumnsAfterAnotherProgramChangedThem)
{
    TestDatabase file(kRows, false);
    const data::Database db = data::Database::open(file.path());
    const char* query = "SELECT * FROM ORDERS WHERE ORDERNO = '24102'";
    EXPECT_EQ(db.openRecordset(query).field("PRESSQTY").number(), 700);
    OtherProgram other(file.path());
    ASSERT_EQ(other.exec("ALTER TABLE Orders DROP COLUMN PARTNO"), SQLITE_OK);
    const data::Recordset again = db.openRecordset(query);
    EXPECT_EQ(again.field("PRESSQTY").number(), 700);
    EXPECT_EQ(again.field("ORDERNO").text(), "24102");
    EXPECT_EQ(db.openRecordset("SELECT * FROM ORDERS WHERE ORDERNO = '24101'").fieldCount(), 5);
}

TEST(Transaction, KeepsOneSnapshotWithoutHoldingUpAWriterAndRollsBack)
{
    TestDatabase file(kRows, false);
    file.exec("PRAGMA journal_mode = WAL");
    const data::Database db = data::Database::open(file.path());
    OtherProgram other(file.path());
    {
        data::Transaction reads = db.beginTransaction();
        EXPECT_EQ(pressQty(db), 500.0);
        db.execute("UPDATE ORDERS SET PRESSQTY = 125 WHERE ORDERNO = '24101'");
        EXPECT_EQ(pressQty(db), 125.0) << "its own write is seen inside";
        EXPECT_EQ(other.exec("UPDATE ORDERS SET PRESSQTY = 999 WHERE ORDERNO = '24102'"), SQLITE_BUSY)
            << "a write inside holds the file's write lock";
        EXPECT_EQ(testsupport::faultNumber([&] { (void)db.beginTransaction(); }), 3219) << "one at a time";
    }
    EXPECT_EQ(pressQty(db), 500.0) << "let go without commit: rolled back";
    {
        const data::Transaction reads = db.beginTransaction();
        EXPECT_EQ(pressQty(db, "24102"), 700.0);
        // A reader holds up no writer of another program, and keeps the snapshot it began with.
        EXPECT_EQ(other.exec("UPDATE ORDERS SET PRESSQTY = 999 WHERE ORDERNO = '24102'"), SQLITE_OK);
        EXPECT_EQ(pressQty(db, "24102"), 700.0);
    }
    EXPECT_EQ(pressQty(db, "24102"), 999.0);
}

TEST(WorkingCopy, IsReadAndWrittenInTheTablesPlaceAndNeverReachesTheFile)
{
    TestDatabase file(kRows, false);
    file.exec("PRAGMA journal_mode = WAL");
    const std::string before =
        OtherProgram(file.path()).text("SELECT quote(rowid) || ORDERNO || PRESSQTY FROM Orders");
    const data::Database db = data::Database::open(file.path());
    // A view of the table opened before the copy, as the order-row writer holds one.
    data::TableView earlier = db.openTable("ORDERS");
    ASSERT_EQ(pressQty(db), 500.0);
    {
        data::WorkingCopy copy = db.workingCopy("orders");
        EXPECT_EQ(db.openRecordset("SELECT * FROM ORDERS").recordCount(), 0) << "empty until filled";
        EXPECT_EQ(testsupport::faultNumber([&] { (void)db.workingCopy("Orders"); }), 3010)
            << "one copy a table";
        {
            const data::Transaction quantity = db.beginTransaction();
            copy.refill(5, "ORDERNO", platform::Value::fromText("24101"));
            const data::Recordset rows = db.openRecordset("SELECT rowid, * FROM ORDERS ORDER BY rowid");
            ASSERT_EQ(rows.recordCount(), 3) << "the bookmarked row and the rows of the order number";
            // Yes/no and date columns read back as from the table itself.
            EXPECT_EQ(rows.field("PRINTPRICING").kind(), platform::Value::Kind::Boolean);
            EXPECT_EQ(rows.field("DUEDATE").kind(), platform::Value::Kind::Date);
            EXPECT_EQ(rows.fieldCount(), 7) << "rowid and every column, the oddly named one too";

            earlier.setBookmark(3);
            earlier.edit();
            earlier.setField("PRESSQTY", platform::Value::fromInteger(2000));
            earlier.update();
            EXPECT_EQ(pressQty(db), 2000.0) << "the write went to the copy, which the query reads";
            OtherProgram other(file.path());
            EXPECT_EQ(other.text("SELECT quote(rowid) || ORDERNO || PRESSQTY FROM Orders"), before);
            EXPECT_EQ(
                other.exec("UPDATE Orders SET PRESSQTY = 1 WHERE rowid = 9; UPDATE Orders SET PRESSQTY = 900 "
                           "WHERE rowid = 9"),
                SQLITE_OK)
                << "writing the copy holds no lock of the file";
        }
        EXPECT_EQ(db.openRecordset("SELECT * FROM ORDERS").recordCount(), 0)
            << "rolled back with its transaction";
    }
    EXPECT_EQ(pressQty(db), 500.0) << "without the copy the name means the file's table again";
    EXPECT_EQ(OtherProgram(file.path()).text("SELECT quote(rowid) || ORDERNO || PRESSQTY FROM Orders"),
              before);
    EXPECT_EQ(testsupport::faultNumber([&] { (void)db.workingCopy("NOSUCHTABLE"); }), 3078);
}

} // namespace
