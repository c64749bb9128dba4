#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <unistd.h>

#include <gtest/gtest.h>

#include "pricing/RunJournal.h"
#include "tests/reliability/ProgramRunner.h"
#include "tests/support/TestDatabase.h"

namespace {

using pricing::JournalEntry;
using reliability::makeDemoFolder;
using reliability::program;
using reliability::shellQuoted;
using reliability::runShell;
using reliability::sqlite;

namespace fs = std::filesystem;

struct DemoShop
{
    testsupport::TemporaryFolder work;
    std::string folder = work.path() + "/shop";
    std::string database = folder + "/vmdata.mdb";
    DemoShop() { makeDemoFolder(folder, work.path()); }
    std::string sql(const std::string& text) const { return sqlite(database, text, work.path()); }
    std::string orderRow(int rowid) const { return sql("SELECT * FROM Orders WHERE rowid=" + std::to_string(rowid)); }
};

TEST(RunJournal, KeepsEveryKindOfKeyAndQuantityExactly)
{
    testsupport::TemporaryFolder folder;
    const std::vector<JournalEntry> entries = {
        {"24101", "1", 1, platform::Value::fromInteger(2500)},
        {"O'N\"%;*[", "2", 7, platform::Value::null()},
        {"line\nend\r%41", "1", 9007199254740993LL, platform::Value::fromText("2,500\n")},
        {"Ünïcødé", "3", 0, platform::Value::fromDouble(0.1 + 0.2)}, // 0.30000000000000004 must not round
    };
    for (const JournalEntry& entry : entries) {
        SCOPED_TRACE(entry.orderNo);
        ASSERT_TRUE(pricing::writeJournal(folder.path(), entry));
        EXPECT_FALSE(fs::exists(pricing::journalPath(folder.path()) + ".tmp"));
        const auto back = pricing::readJournal(folder.path());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->orderNo, entry.orderNo);
        EXPECT_EQ(back->partNo, entry.partNo);
        EXPECT_EQ(back->bookmark, entry.bookmark);
        EXPECT_EQ(back->pressQty, entry.pressQty);
    }
}

TEST(RunJournal, DamagedJournalsAreNotRead)
{
    testsupport::TemporaryFolder folder;
    const std::string whole = "pricebook pricing journal 1\norder=24101\npart=1\nbookmark=1\npressqty=integer 2500\nend\n";
    const std::vector<std::string> damaged = {
        "",
        whole.substr(0, whole.size() - 4), // cut before "end"
        "pricebook pricing journal 1\norder=24101\npart=1\nbookmark=x\npressqty=integer 2500\nend\n",
        "pricebook pricing journal 1\norder=%4\npart=1\nbookmark=1\npressqty=integer 2500\nend\n",
        "pricebook pricing journal 1\norder=1\npart=1\nbookmark=1\npressqty=integer 99999999999999999999\nend\n",
        std::string("\x00\xff\xfe garbage", 11),
    };
    for (const std::string& text : damaged) {
        testsupport::writeFile(pricing::journalPath(folder.path()), text);
        EXPECT_FALSE(pricing::readJournal(folder.path()).has_value()) << text;
    }
    testsupport::writeFile(pricing::journalPath(folder.path()), whole);
    EXPECT_TRUE(pricing::readJournal(folder.path()).has_value());
}

TEST(RunJournal, RecoveryWritesOnlyThePressQuantityOfThatRow)
{
    DemoShop shop;
    const std::string before = shop.sql("SELECT * FROM Orders"); // order 24101, row 1, PRESSQTY 2500
    shop.sql("UPDATE Orders SET PRESSQTY = 175 WHERE rowid = 1");
    ASSERT_TRUE(pricing::writeJournal(shop.folder, {"24101", "1", 1, platform::Value::fromInteger(2500)}));

    std::vector<std::string> told;
    EXPECT_TRUE(pricing::recoverInterruptedRun(shop.folder, [&](const std::string& m) { told.push_back(m); }));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "The last pricing run of order 24101 part 1 did not finish; its press quantity (2500) was put back.");
    EXPECT_EQ(shop.sql("SELECT * FROM Orders"), before);
    EXPECT_FALSE(fs::exists(pricing::journalPath(shop.folder)));

    // Told once: the next start finds nothing.
    EXPECT_FALSE(pricing::recoverInterruptedRun(shop.folder, [&](const std::string& m) { told.push_back(m); }));
    EXPECT_EQ(told.size(), 1u);
}

TEST(RunJournal, RecoveryLeavesARowOfAnotherOrderAlone)
{
    DemoShop shop;
    const std::string before = shop.sql("SELECT * FROM Orders");
    struct Case
    {
        JournalEntry entry;
        std::string told;
    };
    const std::vector<Case> cases = {
        {{"99999", "1", 1, platform::Value::fromInteger(7)},
         "The last pricing run of order 99999 part 1 did not finish, and its row now holds another order; nothing was changed."},
        {{"24101", "1", 4000, platform::Value::fromInteger(7)},
         "The last pricing run of order 24101 part 1 did not finish, and the order is no longer in the shop database; nothing was changed."},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(pricing::writeJournal(shop.folder, c.entry));
        std::string told;
        pricing::recoverInterruptedRun(shop.folder, [&](const std::string& m) { told += m; });
        EXPECT_EQ(told, c.told);
        EXPECT_FALSE(fs::exists(pricing::journalPath(shop.folder)));
    }
    EXPECT_EQ(shop.sql("SELECT * FROM Orders"), before);
}

TEST(RunJournal, AJournalThatCannotBeAppliedYetIsKept)
{
    testsupport::TemporaryFolder folder; // no vmdata.mdb in it
    ASSERT_TRUE(pricing::writeJournal(folder.path(), {"24101", "1", 1, platform::Value::fromInteger(2500)}));
    std::string told;
    EXPECT_TRUE(pricing::recoverInterruptedRun(folder.path(), [&](const std::string& m) { told += m; }));
    EXPECT_NE(told.find("(2500) could not be put back yet"), std::string::npos) << told;
    EXPECT_TRUE(pricing::readJournal(folder.path()).has_value());
}

TEST(RunJournal, AFinishedRunLeavesNoJournal)
{
    DemoShop shop;
    const auto run = runShell(program() + " price " + shellQuoted(shop.folder) + " --order 24101 --qty 1000 --program-dir " +
                                  shellQuoted(shop.work.path()),
                              shop.work.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(fs::exists(pricing::journalPath(shop.folder)));
    EXPECT_EQ(shop.sql("SELECT PRESSQTY FROM Orders WHERE rowid=1"), "2500\n");
}

// The program killed outright between quantities of a long run: the next start puts the press
// quantity back and says so once.
TEST(RunJournal, KilledRunIsPutRightAtTheNextStart)
{
    DemoShop shop;
    const std::string journal = pricing::journalPath(shop.folder);
    const std::string pidFile = shop.work.path() + "/run.pid";
    // 100 to 100000 by 1: far more quantities than can be priced before the kill.
    const std::string longRun = program() + " price " + shellQuoted(shop.folder) +
                                " --order 24101 --schedule 100,1,200,1,300,1,100000 --program-dir " +
                                shellQuoted(shop.work.path()) + " >/dev/null 2>&1 & echo $! >" + shellQuoted(pidFile);
    ASSERT_EQ(std::system(("sh -c " + shellQuoted(longRun)).c_str()), 0);
    pid_t pid = 0;
    for (int i = 0; i < 200 && pid == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pid = std::atoi(testsupport::readFile(pidFile).c_str());
    }
    ASSERT_GT(pid, 0);

    // Wait until the journal exists and the row holds a scheduled quantity other than its own.
    bool midRun = false;
    for (int i = 0; i < 600 && !midRun; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string quantity = shop.sql("SELECT PRESSQTY FROM Orders WHERE rowid=1");
        midRun = fs::exists(journal) && !quantity.empty() && quantity != "2500\n" && std::atoi(quantity.c_str()) > 102;
    }
    ::kill(pid, SIGKILL);
    ASSERT_TRUE(midRun) << "the run never got past its first quantities";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(fs::exists(journal));
    ASSERT_NE(shop.sql("SELECT PRESSQTY FROM Orders WHERE rowid=1"), "2500\n");

    // Another order priced at the next start: the killed run's order is put back first.
    const auto next = runShell(program() + " price " + shellQuoted(shop.folder) + " --order 24103 --qty 100 --program-dir " +
                                   shellQuoted(shop.work.path()),
                               shop.work.path());
    EXPECT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(next.err, "pricebook: The last pricing run of order 24101 part 1 did not finish; its press quantity "
                        "(2500) was put back.\n");
    EXPECT_EQ(shop.sql("SELECT PRESSQTY FROM Orders WHERE rowid=1"), "2500\n");
    EXPECT_FALSE(fs::exists(journal));
    // Rows other than 24101's: only 24103's own run touched them, and it put its press quantity back.
    EXPECT_EQ(shop.sql("SELECT PRESSQTY FROM Orders WHERE rowid=3"), "1000\n");

    const auto again = runShell(program() + " price " + shellQuoted(shop.folder) + " --order 24103 --qty 100 --program-dir " +
                                    shellQuoted(shop.work.path()),
                                shop.work.path());
    EXPECT_EQ(again.err, "") << "told only once";
}

} // namespace
