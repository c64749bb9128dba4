// A run's session reads one state of the shop's data for the whole run, each read once: whatever another
// program commits meanwhile is not seen (or, on a file whose readers would hold up its writers, stops the
// next quantity), nobody waits for the run, and each quantity's write into the working copy is undone at
// its end. The same on a file kept with a write-ahead log, a file kept with a rollback journal, and a
// server.
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "data/Database.h"
#include "data/Snapshot.h"
#include "data/TableView.h"
#include "platform/Value.h"
#include "tests/support/EngineShop.h"
#include "tests/support/Faults.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

namespace {

using platform::Value;
using testsupport::faultNumber;

enum class Keeping
{
    FileWithLog,
    FileWithJournal,
    Server,
};

constexpr const char* kRows =
    "INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES ('Press', 40), ('Stock', 25);"
    "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY) VALUES ('24101', 1, 'Q', 500);"
    "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY) VALUES ('24102', 1, 'Q', 700);";

// The shop database on its engine, a session of its own on it whose statements are counted, and another
// program's way of committing a change.
class SnapshotTest : public testing::TestWithParam<Keeping>
{
protected:
    void SetUp() override
    {
        if (GetParam() == Keeping::Server) {
            if (!testsupport::EngineShop::available(testsupport::Engine::Server))
                GTEST_SKIP() << testsupport::noTestServerReason();
            m_server = std::make_unique<testsupport::EngineShop>(testsupport::Engine::Server, kRows);
            m_path = m_folder.path() + "/vmdata.pg";
            testsupport::writeFile(m_path, m_server->location() + "\n");
        } else {
            m_file = std::make_unique<testsupport::TestDatabase>(kRows);
            m_file->exec(GetParam() == Keeping::FileWithLog ? "PRAGMA journal_mode = WAL"
                                                            : "PRAGMA journal_mode = DELETE");
            m_path = m_file->path();
        }
        m_session = data::Database::openSession(m_path, {-1, [this](const std::string&, auto) { ++m_sent; }});
    }

    void otherProgramCommits(const std::string& sql)
    {
        if (m_server) {
            m_server->database().execute(sql);
            return;
        }
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open_v2(m_path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(other, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << "a writer is never held up by the run: " << sqlite3_errmsg(other);
        sqlite3_close(other);
    }

    double number(const char* sql) { return m_session.openRecordset(sql).field(0).number(); }

    testsupport::TemporaryFolder m_folder;
    std::unique_ptr<testsupport::TestDatabase> m_file;
    std::unique_ptr<testsupport::EngineShop> m_server;
    std::string m_path;
    data::Database m_session;
    int m_sent = 0;
};

constexpr const char* kMarkup = "SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT = 'Press'";
constexpr const char* kQuantity = "SELECT PRESSQTY FROM ORDERS WHERE ORDERNO = '24101'";

TEST_P(SnapshotTest, ReadsOneStateOfTheDataEachReadOnceAndUndoesEveryQuantitysWrite)
{
    data::TableView orders = m_session.openTable("Orders");
    const std::int64_t first = orders.bookmark();
    {
        data::Snapshot snapshot(m_session, "ORDERS");
        snapshot.fill(first, "ORDERNO", Value::fromText("24101"));
        {
            const data::Snapshot::Quantity quantity(snapshot);
            EXPECT_EQ(faultNumber([&] { (void)m_session.beginTransaction(); }), 3219) << "no commit inside";
            m_sent = 0;
            EXPECT_EQ(number(kMarkup), 40);
            EXPECT_EQ(number(kMarkup), 40);
            EXPECT_EQ(m_sent, 1) << "asked twice, sent once";
            EXPECT_EQ(faultNumber([&] { (void)m_session.openRecordset("SELECT * FROM NOSUCHTABLE"); }), 3078);
            m_sent = 0;
            (void)m_session.openRecordset("SELECT random() AS R FROM MARKUPS");
            (void)m_session.openRecordset("SELECT random() AS R FROM MARKUPS");
            EXPECT_EQ(m_sent, 2) << "an answer that can change is asked for each time; a failed statement is "
                                    "undone alone and the snapshot goes on";
            EXPECT_EQ(number(kQuantity), 500);

            // The quantity written into the working copy: the order is read again, the markups are not.
            orders.setBookmark(first);
            orders.edit();
            orders.setField("PRESSQTY", Value::fromInteger(125));
            orders.update();
            m_sent = 0;
            EXPECT_EQ(number(kQuantity), 125);
            EXPECT_EQ(number(kMarkup), 40);
            EXPECT_EQ(m_sent, 1);
        }
        otherProgramCommits("UPDATE MARKUPS SET MARKUP = 55 WHERE DEPARTMENT = 'Press'");
        if (GetParam() == Keeping::FileWithJournal) {
            EXPECT_EQ(faultNumber([&] { const data::Snapshot::Quantity quantity(snapshot); }), 3197)
                << "read a quantity at a time, a change in between stops the run";
        } else {
            const data::Snapshot::Quantity quantity(snapshot);
            m_sent = 0;
            EXPECT_EQ(number(kMarkup), 40) << "the state the snapshot began with";
            EXPECT_EQ(number(kQuantity), 500) << "the last quantity's write undone";
            EXPECT_EQ(m_sent, 1) << "only the order, written since, is read again";
        }
    }
    EXPECT_EQ(number(kMarkup), 55) << "after the snapshot the change is seen";
    EXPECT_EQ(number(kQuantity), 500) << "nothing of the run reached the database";
}

INSTANTIATE_TEST_SUITE_P(Keepings, SnapshotTest,
                         testing::Values(Keeping::FileWithLog, Keeping::FileWithJournal, Keeping::Server),
                         [](const testing::TestParamInfo<Keeping>& info) {
                             return info.param == Keeping::FileWithLog       ? std::string("FileWithLog")
                                    : info.param == Keeping::FileWithJournal ? std::string("FileWithJournal")
                                                                             : std::string("Server");
                         });

} // namespace
