// Pricing runs beside the shop's other programs and beside other runs on one shop database, every one a
// real process: nothing of theirs is lost or corrupted, nobody is held up for long, every run gives the
// lines of a lone run, and a run killed at any moment leaves the order as it was.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pricing/PricingRun.h"
#include "tests/reliability/ProgramRunner.h"
#include "tests/support/TestDatabase.h"

namespace {

using reliability::makeDemoFolder;
using reliability::program;
using reliability::runShell;
using reliability::shellQuoted;
namespace fs = std::filesystem;

constexpr int ExitDataFolder = 3;

// The order figures a run must leave as they were (the run clears the stored estimate figures, as the
// rules want, and nothing else).
constexpr const char* kOrderState =
    "SELECT rowid, ORDERNO, quote(PRESSQTY), DESCRIPTION FROM Orders ORDER BY rowid";

struct Shop
{
    testsupport::TemporaryFolder work;
    std::string folder = work.path() + "/shop";
    std::string database = folder + "/vmdata.mdb";
    Shop() { makeDemoFolder(folder, work.path()); }

    std::string sql(const std::string& text) const
    {
        return reliability::sqlite(database, text, work.path());
    }

    // The shell command of one run, its lines into `out`.
    std::string priceCommand(const std::string& arguments, const std::string& out) const
    {
        return program() + " --program-dir " + shellQuoted(work.path()) + " price " + shellQuoted(folder) +
               " " + arguments + " >" + shellQuoted(out) + " 2>" + shellQuoted(out + ".err");
    }

    reliability::ProgramOutput price(const std::string& arguments) const
    {
        return runShell(program() + " --program-dir " + shellQuoted(work.path()) + " price " +
                            shellQuoted(folder) + " " + arguments,
                        work.path());
    }

    // A shell script run with a time limit; its exit code.
    int shell(const std::string& script) const
    {
        return runShell("bash -c " + shellQuoted(script), work.path()).exitCode;
    }

    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
};

std::string file(const std::string& path)
{
    return testsupport::readFile(path);
}

// A run's lines against a lone run's, reported by the first line that differs.
testing::AssertionResult sameLines(const std::string& got, const std::string& lone)
{
    if (got == lone)
        return testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < got.size() && at < lone.size() && got[at] == lone[at])
        ++at;
    const std::size_t line = lone.rfind('\n', at) == std::string::npos ? 0 : lone.rfind('\n', at) + 1;
    return testing::AssertionFailure() << "differs from a lone run at \"" << got.substr(line, 50) << "\" (lone: \""
                                       << lone.substr(line, 50) << "\")";
}

// Should the run read the file through a second handle, closing it would drop the run's locks, and another
// program's close would checkpoint and remove the log under the run. Here other programs grow the file and
// close it again and again while a long run prices, and one of them changes the order being priced. Each
// waits for a lock as the shop's programs do (a writer meets the run's one short write, and its close), but
// never for the length of the run.
TEST(RunsBesideOthers, AnotherProgramGrowingAndClosingTheFileLeavesItWholeWithEveryChangeKept)
{
    Shop shop;
    const std::string schedule = "--order 24101 --schedule 1,1,1000,1,2000,1,3000";
    const auto lone = shop.price(schedule);
    ASSERT_EQ(lone.exitCode, 0) << lone.err;

    const std::string out = shop.work.path() + "/run.txt";
    const std::string db = shellQuoted(shop.database);
    const int code = shop.shell(shop.priceCommand(schedule, out) +
                                " & run=$!; sleep 0.1; "
                                "for i in $(seq 1 12); do sqlite3 -cmd '.timeout 2000' " +
                                db +
                                " \"CREATE TABLE big$i AS "
                                "SELECT randomblob(400000) AS b\"; done; sqlite3 -cmd '.timeout 2000' " +
                                db +
                                " \"UPDATE Orders SET DESCRIPTION = 'Changed meanwhile', PRESSQTY = 2600 "
                                "WHERE rowid = 1\"; wait $run");
    EXPECT_EQ(code, 0) << file(out + ".err");
    EXPECT_TRUE(sameLines(file(out), lone.out));
    EXPECT_EQ(shop.sql("PRAGMA integrity_check"), "ok\n");
    EXPECT_EQ(shop.sql("SELECT count(*) FROM sqlite_schema WHERE name LIKE 'big%'"), "12\n");
    EXPECT_EQ(shop.sql("SELECT PRESSQTY, DESCRIPTION FROM Orders WHERE rowid = 1"),
              "2600|Changed meanwhile\n");
}

// Two runs at once, on the same order or on two orders, started a little apart each time: each gives
// exactly the lines of a lone run, and every order stays as it was. No file of a run is left beside
// the shop's data, so none can be taken by another run for its own.
TEST(RunsBesideOthers, TwoRunsAtOnceEachGiveTheLinesOfALoneRun)
{
    Shop shop;
    const std::string first = "--order 24101 --schedule 100,10,1500,50,4000,250,8000";
    const std::string second = "--order 24102 --schedule 100,10,1500,50,4000,250,8000";
    const auto loneFirst = shop.price(first);
    const auto loneSecond = shop.price(second);
    ASSERT_EQ(loneFirst.exitCode, 0) << loneFirst.err;
    ASSERT_EQ(loneSecond.exitCode, 0) << loneSecond.err;
    const std::string before = shop.sql(kOrderState);
    // Links planted under the names a run's note once had lead nowhere now: no run writes beside the data.
    const std::string victim = shop.work.path() + "/victim.txt";
    testsupport::writeFile(victim, "the shop's own file");
    for (const char* planted : {"/vmdata.mdb.pricing", "/vmdata.mdb.pricing.tmp"})
        fs::create_symlink(victim, shop.folder + planted);
    const std::set<std::string> files = shop.files();

    const std::string a = shop.work.path() + "/a.txt";
    const std::string b = shop.work.path() + "/b.txt";
    for (const bool sameOrder : {true, false}) {
        const std::string& other = sameOrder ? first : second;
        const std::string& otherLone = sameOrder ? loneFirst.out : loneSecond.out;
        for (int attempt = 0; attempt < 20; ++attempt) {
            SCOPED_TRACE((sameOrder ? "same order, attempt " : "two orders, attempt ") +
                         std::to_string(attempt));
            // Offsets of 0 to 45 ms, so the second run starts anywhere in the first (about 80 ms long).
            const std::string offset = "0.0" + std::to_string((attempt * 37) % 10 / 2);
            const int code = shop.shell(shop.priceCommand(first, a) + " & one=$!; sleep " + offset + "; " +
                                        shop.priceCommand(other, b) + "; two=$?; wait $one && exit $two");
            EXPECT_EQ(code, 0) << file(a + ".err") << file(b + ".err");
            EXPECT_TRUE(sameLines(file(a), loneFirst.out));
            EXPECT_TRUE(sameLines(file(b), otherLone));
            EXPECT_EQ(shop.sql(kOrderState), before);
        }
    }
    EXPECT_EQ(shop.files(), files);
    EXPECT_EQ(file(victim), "the shop's own file");
}

// Another program changes a rate (every press's hourly cost) at a moment different each time, in the
// middle of a long run and in the middle of the whole book: every list is priced from one state of the
// shop's data, exactly a lone run's from before the change or from after it, never a mix. On a file kept
// with a rollback journal, which a run reads a quantity at a time so as never to hold its writers up, a run
// the change came in the middle of stops instead, with a plain message; the lines it gave are all of one
// state, and a book that stops is not written.
TEST(RunsBesideOthers, ARateChangedDuringARunOrABookNeverGivesAMixedList)
{
    const std::string change = "UPDATE PRESSES SET COSTPERHOUR = COSTPERHOUR * 2";
    const std::string undo = "UPDATE PRESSES SET COSTPERHOUR = COSTPERHOUR / 2";
    const char* commands[] = {"price SHOP --order 24104 --schedule 1,1,1000,1,2000,1,3000", "book SHOP --text -"};
    for (const char* journal : {"WAL", "DELETE"}) {
        Shop shop;
        shop.sql(std::string("PRAGMA journal_mode = ") + journal);
        const std::string db = shellQuoted(shop.database);
        for (const char* command : commands) {
            const std::string line = program() + " --program-dir " + shellQuoted(shop.work.path()) + " " +
                                     std::regex_replace(command, std::regex("SHOP"), shellQuoted(shop.folder));
            // The book's pages show the time they were printed at.
            const auto withoutClock = [](const std::string& text) {
                return std::regex_replace(text, std::regex("Time: [0-9:]+ [AP]M"), "Time:");
            };
            const auto lone = [&] { return withoutClock(runShell(line, shop.work.path()).out); };
            const std::string before = lone();
            shop.sql(change);
            const std::string after = lone();
            shop.sql(undo);
            ASSERT_NE(before, "");
            ASSERT_NE(before, after) << "the rate shows in the prices";
            for (int attempt = 0; attempt < 6; ++attempt) {
                SCOPED_TRACE(std::string(journal) + ", " + command + ", attempt " + std::to_string(attempt));
                const std::string out = shop.work.path() + "/during.txt";
                const std::string offset = "0.0" + std::to_string(attempt * 3 % 10);
                const int code = shop.shell(line + " >" + shellQuoted(out) + " 2>" + shellQuoted(out + ".err") +
                                            " & run=$!; sleep " + offset + "; sqlite3 -cmd '.timeout 5000' " + db +
                                            " " + shellQuoted(change) + " || exit 99; wait $run");
                const std::string got = withoutClock(file(out));
                shop.sql(undo);
                EXPECT_NE(code, 99) << "the other program was held up";
                if (code == 0) {
                    EXPECT_TRUE(got == before || got == after) << sameLines(got, before).message();
                    continue;
                }
                // Only a file read a quantity at a time stops, and only a run stops part-way with lines.
                EXPECT_EQ(std::string(journal), "DELETE") << file(out + ".err");
                EXPECT_EQ(code, ExitDataFolder);
                EXPECT_THAT(file(out + ".err"), testing::HasSubstr("changed the shop's data"));
                EXPECT_TRUE(before.rfind(got, 0) == 0 || after.rfind(got, 0) == 0) << sameLines(got, before).message();
            }
        }
    }
}

// A run killed at a random moment, alone or while another run prices: right afterwards, before any
// program starts again, the order is as it was, and the other run is not disturbed.
TEST(RunsBesideOthers, ARunKilledAtAnyMomentLeavesTheOrderAsItWas)
{
    Shop shop;
    const std::string killed = "--order 24101 --schedule 1,1,1000,1,2000,1,3000";
    const std::string other = "--order 24102 --schedule 100,5,1500,25,4000,100,8000";
    const auto otherLone = shop.price(other);
    ASSERT_EQ(otherLone.exitCode, 0) << otherLone.err;
    ASSERT_EQ(shop.price("--order 24101 --qty 100").exitCode, 0); // its start clears the estimate figures
    const std::string before = shop.sql(kOrderState);

    const std::string a = shop.work.path() + "/a.txt";
    const std::string b = shop.work.path() + "/b.txt";
    for (int attempt = 0; attempt < 12; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        const bool beside = attempt % 2 == 1;
        const std::string delay = "0.0" + std::to_string((attempt * 7) % 10) + std::to_string(attempt % 10);
        const std::string script =
            shop.priceCommand(killed, a) + " & victim=$!; " +
            (beside ? shop.priceCommand(other, b) + " & survivor=$!; " : std::string()) + "sleep " + delay +
            "; kill -9 $victim; wait $victim; " + (beside ? "wait $survivor" : "true");
        EXPECT_EQ(shop.shell(script), 0) << file(b + ".err");
        EXPECT_EQ(shop.sql(kOrderState), before);
        if (beside) {
            EXPECT_TRUE(sameLines(file(b), otherLone.out));
        }
    }
    EXPECT_EQ(shop.sql("PRAGMA integrity_check"), "ok\n");
}

// Another program holds the shop database: a file kept in write-ahead-log mode while the other program
// writes (reading goes on, writing waits), or a rollback-journal file it holds exclusively (reading waits
// too). Every command waits one busy timeout at most, whichever the mode, then says so in the shop's words
// and changes nothing; the console's --timeout covers the wait at the open; Ctrl-C ends any wait at once
// and is said as cancelled.
struct WaitCase
{
    const char* why;
    bool rollbackJournal;
    std::string arguments; // after the program's name; FOLDER and WORK stand for the folders
    bool ctrlC;
    int exitCode;
    const char* says;
    double leastSeconds; // from the start, or from Ctrl-C
    double mostSeconds;
};

void PrintTo(const WaitCase& c, std::ostream* os)
{
    *os << c.why;
}

const std::string kBusy = pricing::kShopDatabaseBusyMessage;
constexpr int ExitCancelled = 130; // 128 + SIGINT

const WaitCase kWaits[] = {
    // One busy timeout is 5 s; two would be 10.
    {"a run writing beside a writer", false, "price FOLDER --order 24101", false, ExitDataFolder, kBusy.c_str(), 4.5, 8.5},
    {"a run reading an exclusively held file", true, "price FOLDER --order 24101", false, ExitDataFolder,
     kBusy.c_str(), 4.5, 8.5},
    {"a book of an exclusively held file", true, "book FOLDER --pdf WORK/book.pdf", false, ExitDataFolder,
     kBusy.c_str(), 4.5, 8.5},
    {"the console with a time limit of 1 s", true, "sql FOLDER --timeout 1 \"SELECT COUNT(*) FROM ORDERS\"", false,
     ExitDataFolder, "currently locked by another program", 0.8, 3.5},
    {"Ctrl-C in a run's wait to write", false, "price FOLDER --order 24101", true, ExitCancelled, "cancelled", 0, 1.5},
    {"Ctrl-C in a run's wait to read", true, "price FOLDER --order 24101", true, ExitCancelled, "cancelled", 0, 1.5},
    {"Ctrl-C in a book's wait to write", false, "book FOLDER --pdf WORK/book.pdf", true, ExitCancelled, "cancelled",
     0, 1.5},
    {"Ctrl-C in the console's wait to read", true, "sql FOLDER \"SELECT COUNT(*) FROM ORDERS\"", true,
     ExitCancelled, "stopped by Ctrl-C", 0, 1.5},
    {"Ctrl-C in the console's wait to write", false, "sql FOLDER --write \"DELETE FROM ORDERS\"", true,
     ExitCancelled, "stopped by Ctrl-C", 0, 1.5},
};

class Waits : public testing::TestWithParam<WaitCase>
{
};

TEST_P(Waits, AreOneBusyTimeoutAtMostAndEndAtCtrlC)
{
    const WaitCase& c = GetParam();
    Shop shop;
    if (c.rollbackJournal) {
        ASSERT_EQ(shop.sql("PRAGMA journal_mode = DELETE"), "delete\n");
    }
    const std::string before = shop.sql("SELECT * FROM Orders");
    reliability::BackgroundProgram holder("sqlite3 " + shellQuoted(shop.database), shop.work.path(), "holder");
    holder.send(std::string(c.rollbackJournal ? "BEGIN EXCLUSIVE;" : "BEGIN IMMEDIATE;") +
                " UPDATE Orders SET PRESSQTY = PRESSQTY; SELECT 'held';\n");
    ASSERT_TRUE(holder.waitForOutput("held"));

    std::string arguments = c.arguments;
    for (const auto& [name, folder] : {std::pair{"FOLDER", shop.folder}, std::pair{"WORK", shop.work.path()}}) {
        for (std::size_t at; (at = arguments.find(name)) != std::string::npos;)
            arguments.replace(at, std::string(name).size(), shellQuoted(folder));
    }
    using Clock = std::chrono::steady_clock;
    Clock::time_point from = Clock::now();
    reliability::BackgroundProgram run(program() + " --program-dir " + shellQuoted(shop.work.path()) + " " + arguments,
                                       shop.work.path(), "run");
    if (c.ctrlC) {
        // Well inside the wait.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        from = Clock::now();
        run.signal(SIGINT);
    }
    const reliability::ProgramOutput out = run.finish();
    const double seconds = std::chrono::duration<double>(Clock::now() - from).count();
    holder.finish();

    EXPECT_EQ(out.exitCode, c.exitCode) << out.err;
    EXPECT_NE(out.err.find(c.says), std::string::npos) << out.err;
    EXPECT_EQ(out.out.find("$"), std::string::npos) << "no price of a run that did not go through";
    EXPECT_GE(seconds, c.leastSeconds);
    EXPECT_LE(seconds, c.mostSeconds);
    EXPECT_EQ(shop.sql("SELECT * FROM Orders"), before);
    EXPECT_FALSE(fs::exists(shop.work.path() + "/book.pdf"));
}

INSTANTIATE_TEST_SUITE_P(RunsBesideOthers, Waits, testing::ValuesIn(kWaits));

} // namespace
