// One read transaction around the engine's queries of a quantity: it sees the row just written, keeps
// one snapshot while another program writes, and holds nothing in a rollback-journal file.
#include <string>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "platform/Value.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::TestDatabase;

constexpr const char* kRows = "CREATE TABLE ORDERS (ORDERNO TEXT, PRESSQTY INTEGER);"
                              "INSERT INTO ORDERS VALUES ('24101', 500);";

// Another program's connection to the same file.
class OtherProgram
{
public:
    explicit OtherProgram(const std::string& path) { sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr); }
    ~OtherProgram() { sqlite3_close(m_db); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
};

double pressQty(const data::Database& db)
{
    return db.openRecordset("SELECT PRESSQTY FROM ORDERS WHERE ORDERNO = '24101'").field("PRESSQTY").number();
}

TEST(ReadGroup, InLogModeItReadsTheRowJustWrittenAndKeepsOneSnapshot)
{
    TestDatabase file(kRows, false);
    file.exec("PRAGMA journal_mode = WAL");
    const data::Database db = data::Database::open(file.path());
    db.execute("UPDATE ORDERS SET PRESSQTY = 125 WHERE ORDERNO = '24101'");
    OtherProgram other(file.path());
    {
        const data::ReadGroup reads = db.groupReads();
        EXPECT_TRUE(reads.isGrouping());
        EXPECT_EQ(pressQty(db), 125.0) << "the write before the group is seen";
        // Another program writes meanwhile: it is not held up, and the group's reads stay as they began.
        EXPECT_EQ(other.exec("UPDATE ORDERS SET PRESSQTY = 999"), SQLITE_OK);
        EXPECT_EQ(pressQty(db), 125.0);
        // A group inside a group leaves the outer one open.
        {
            const data::ReadGroup inner = db.groupReads();
            EXPECT_FALSE(inner.isGrouping());
        }
        EXPECT_EQ(pressQty(db), 125.0);
    }
    EXPECT_EQ(pressQty(db), 999.0) << "after the group the next read sees the other program's write";
}

TEST(ReadGroup, ARollbackJournalFileIsLeftInAutocommit)
{
    TestDatabase file(kRows, false);
    file.exec("PRAGMA journal_mode = DELETE");
    const data::Database db = data::Database::open(file.path());
    OtherProgram other(file.path());
    const data::ReadGroup reads = db.groupReads();
    EXPECT_FALSE(reads.isGrouping());
    EXPECT_EQ(pressQty(db), 500.0);
    // No shared lock is held between reads: the other program can write at once.
    EXPECT_EQ(other.exec("UPDATE ORDERS SET PRESSQTY = 250"), SQLITE_OK);
    EXPECT_EQ(pressQty(db), 250.0);
}

TEST(ReadGroup, AClosedDatabaseGivesNoGroup)
{
    const data::Database closed;
    EXPECT_FALSE(closed.groupReads().isGrouping());
}

} // namespace
