// The SQL console as a whole program: what it refuses leaves the shop database as it was, and an endless
// statement stops at Ctrl-C or at its time limit.
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/reliability/ProgramRunner.h"
#include "tests/support/TestDatabase.h"

namespace {

using reliability::program;
using reliability::runShell;
using reliability::shellQuoted;
using reliability::sqlite;

constexpr int ExitRefusedOrStopped = 1;
constexpr int ExitCancelled = 130; // 128 + SIGINT

// Counts without end; prints its one row at once.
const char* const kEndless = "WITH RECURSIVE C(X) AS (SELECT 1 UNION ALL SELECT X + 1 FROM C) "
                             "SELECT X FROM C WHERE X = 1 OR X < 0";

TEST(SqlConsoleProgram, WhatItRefusesLeavesTheShopDatabaseAsItWas)
{
    testsupport::TemporaryFolder work;
    const std::string folder = work.path() + "/shop";
    const std::string database = folder + "/vmdata.mdb";
    reliability::makeDemoFolder(folder, work.path());
    const std::string before = testsupport::readFile(database);
    const std::string copy = work.path() + "/copy.mdb";
    struct Case
    {
        std::vector<std::string> arguments;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"DROP TABLE STOCK"}, "add --write to change the database"},
        {{"--write", "PRAGMA journal_mode=DELETE"}, "does not run PRAGMA journal_mode"},
        {{"--write", "pragma MAIN.Writable_Schema ('ON') -- at the end"}, "does not run PRAGMA writable_schema"},
        {{"--write", "VACUUM INTO '" + copy + "'"}, "does not run VACUUM"},
        {{"--write", "ATTACH '" + copy + "' AS COPY"}, "does not run ATTACH"},
        {{"--write", "DETACH COPY"}, "does not run ATTACH or DETACH"},
        {{"--write", "VACUUM"}, "does not run VACUUM"},
        {{"--write", "PRAGMA user_version = 7"}, "does not run PRAGMA user_version"},
        {{"--write", "PRAGMA wal_checkpoint(TRUNCATE)"}, "does not run PRAGMA wal_checkpoint"},
        {{"--write", "PRAGMA optimize"}, "does not run PRAGMA optimize"},
        {{"SELECT fts3_tokenizer('simple')"}, "does not run fts3_tokenizer"},
        {{"--write", "SELECT FTS3_TOKENIZER('mine', X'0000000000000000')"}, "does not run fts3_tokenizer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        std::string commandLine = program() + " sql " + shellQuoted(folder);
        for (const std::string& argument : c.arguments)
            commandLine += " " + shellQuoted(argument);
        const auto run = runShell(commandLine, work.path());
        EXPECT_EQ(run.exitCode, ExitRefusedOrStopped) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_EQ(testsupport::readFile(database), before);
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(sqlite(database, "SELECT COUNT(*) > 0 FROM STOCK; PRAGMA journal_mode; PRAGMA user_version;",
                     work.path()),
              "1\nwal\n0\n");
}

TEST(SqlConsoleProgram, AnEndlessStatementStopsAtCtrlCOrItsTimeLimit)
{
    testsupport::TemporaryFolder work;
    const std::string folder = work.path() + "/shop";
    reliability::makeDemoFolder(folder, work.path());
    struct Case
    {
        const char* why;
        const char* timeout;
        bool ctrlC;
        int exitCode;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"Ctrl-C", "600", true, ExitCancelled, "pricebook: The statement was stopped by Ctrl-C.\n"},
        {"the time limit", "1", false, ExitRefusedOrStopped,
         "pricebook: The statement was stopped at its time limit of 1 second."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        reliability::BackgroundProgram console(program() + " sql " + shellQuoted(folder) + " \"" + kEndless +
                                                   "\" --timeout " + c.timeout,
                                               work.path(), "console");
        // The header shows that the statement runs, with Ctrl-C already in the console's hands.
        ASSERT_TRUE(console.waitForOutput("X\n"));
        if (c.ctrlC)
            console.signal(SIGINT);
        const reliability::ProgramOutput run = console.finish();
        EXPECT_EQ(run.exitCode, c.exitCode) << "not stopped by itself before the watchdog: " << run.err;
        EXPECT_EQ(run.out, "X\n1\n");
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

} // namespace
