// pricebook import-mdb on real Access files: every value as mdb-export reads it, each kind of column mapped
// to the type the shop database reads back, the Access file never changed, and bad input refused with
// nothing left behind.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/DemoDataCommand.h"
#include "cli/ImportStopGuard.h"
#include "data/Database.h"
#include "import/AccessImport.h"
#include "data/Recordset.h"
#include "platform/Fault.h"
#include "platform/Format.h"
#include "tests/import/ImportTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;
using importtest::importMdb;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
using testsupport::TemporaryFolder;

// The imported file read with sqlite3 directly, not through the code under test.
class Sqlite
{
public:
    explicit Sqlite(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path;
    }
    ~Sqlite() { sqlite3_close(m_db); }
    sqlite3* get() const { return m_db; }

    struct Cell
    {
        int type;         // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_NULL ...
        std::string decl; // the column's declared type
        std::string text;
        double real;
        sqlite3_int64 integer;
    };
    std::vector<std::vector<Cell>> rows(const std::string& sql) const
    {
        std::vector<std::vector<Cell>> out;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(m_db) << " in " << sql;
            return out;
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<Cell> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const char* decl = sqlite3_column_decltype(statement, i);
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                row.push_back({sqlite3_column_type(statement, i), decl ? decl : "", text ? text : "",
                               sqlite3_column_double(statement, i), sqlite3_column_int64(statement, i)});
            }
            out.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        return out;
    }

private:
    sqlite3* m_db = nullptr;
};

std::string quotedName(const std::string& name) { return "\"" + name + "\""; }

// Checks one imported value against mdb-export's text for it. Yes/no is -1/0 here and 1/0 there; dates at
// midnight are kept without the time; an empty text is imported as Null, which mdb-export prints empty.
void expectSameValue(const Sqlite::Cell& got, const std::string& expected, const std::string& where)
{
    switch (got.type) {
    case SQLITE_NULL:
        EXPECT_EQ(expected, "") << where;
        return;
    case SQLITE_INTEGER:
        if (got.decl == "YESNO")
            EXPECT_EQ(expected, got.integer != 0 ? "1" : "0") << where;
        else
            EXPECT_EQ(expected, std::to_string(got.integer)) << where;
        return;
    case SQLITE_FLOAT: {
        char* end = nullptr;
        const double want = std::strtod(expected.c_str(), &end);
        ASSERT_TRUE(end && *end == '\0' && !expected.empty()) << where << ": mdb-export printed " << expected;
        EXPECT_DOUBLE_EQ(got.real, want) << where;
        return;
    }
    default:
        if (got.decl == "DATETIME" && got.text.size() == 10)
            EXPECT_EQ(expected, got.text + " 00:00:00") << where;
        else
            EXPECT_EQ(expected, got.text) << where;
        return;
    }
}

struct Fixture
{
    const char* name;
    std::string (*file)();
    std::vector<std::string> tables;
};

void PrintTo(const Fixture& f, std::ostream* os) { *os << f.name; }

const Fixture kFixtures[] = {
    {"Jet3", importtest::jet3File, {"Table1", "Table2", "Table3", "Table4"}},
    {"Jet4", importtest::jet4File, {"test"}},
};

class EveryTable : public testing::TestWithParam<Fixture>
{
};

TEST_P(EveryTable, HoldsWhatMdbExportPrints)
{
    const Fixture& fixture = GetParam();
    TemporaryFolder dir;
    const importtest::Outcome result = importMdb({fixture.file(), dir.path()});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("pricebook: imported " + std::to_string(fixture.tables.size())));
    const Sqlite db(dir.path() + "/vmdata.mdb");
    for (const std::string& table : fixture.tables) {
        const importtest::Export expected = importtest::mdbExport(fixture.file(), table);
        if (!expected.found)
            GTEST_SKIP() << "mdb-export is not on PATH";
        ASSERT_FALSE(expected.rows.empty()) << table << ": mdb-export printed no header";
        const std::vector<std::string>& header = expected.rows.front();
        std::string columns;
        for (const std::string& name : header)
            columns += (columns.empty() ? "" : ", ") + quotedName(name);
        const auto rows = db.rows("SELECT " + columns + " FROM " + quotedName(table) + " ORDER BY rowid");
        ASSERT_EQ(rows.size(), expected.rows.size() - 1) << table;
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < header.size(); ++c)
                expectSameValue(rows[r][c], expected.rows[r + 1][c],
                                table + " row " + std::to_string(r + 1) + " column " + header[c]);
    }
}

TEST_P(EveryTable, LeavesTheAccessFileByteForByte)
{
    const Fixture& fixture = GetParam();
    const std::string before = testsupport::readFile(fixture.file());
    const std::size_t hashBefore = std::hash<std::string>{}(before);
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({fixture.file(), dir.path()}).code, 0);
    ASSERT_EQ(importMdb({fixture.file(), dir.path(), "--replace"}).code, 0);
    const std::string after = testsupport::readFile(fixture.file());
    EXPECT_EQ(std::hash<std::string>{}(after), hashBefore);
    EXPECT_TRUE(after == before);
}

INSTANTIATE_TEST_SUITE_P(AccessFiles, EveryTable, testing::ValuesIn(kFixtures),
                         [](const auto& info) { return std::string(info.param.name); });

// Each kind of Access column: the declared type the database layer reads it by, and the stored type.
struct ColumnKind
{
    const char* why;
    bool jet4;
    const char* table;
    const char* column;
    const char* declared;
    const char* stored; // typeof() of a value
};

void PrintTo(const ColumnKind& k, std::ostream* os) { *os << k.table << "." << k.column; }

const ColumnKind kColumnKinds[] = {
    {"Text", false, "Table1", "A", "TEXT", "text"},
    {"Byte", false, "Table1", "C", "INTEGER", "integer"},
    {"Integer", false, "Table1", "D", "INTEGER", "integer"},
    {"Long Integer", false, "Table1", "E", "INTEGER", "integer"},
    {"Double", false, "Table1", "F", "REAL", "real"},
    {"Date/Time", false, "Table1", "G", "DATETIME", "text"},
    {"Currency", false, "Table1", "H", "REAL", "real"},
    {"Yes/No", false, "Table1", "I", "YESNO", "integer"},
    {"Memo", true, "test", "col1", "TEXT", "text"},
    {"Numeric (18, 0): whole numbers", true, "test", "col2", "INTEGER", "integer"},
    {"Numeric (18, 0) holding -1", true, "test", "col6", "INTEGER", "integer"},
};

class ColumnKinds : public testing::TestWithParam<ColumnKind>
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TemporaryFolder;
        ASSERT_EQ(importMdb({importtest::jet3File(), s_dir->path() + "/jet3"}).code, 0);
        ASSERT_EQ(importMdb({importtest::jet4File(), s_dir->path() + "/jet4"}).code, 0);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    static std::string database(bool jet4) { return s_dir->path() + (jet4 ? "/jet4" : "/jet3") + "/vmdata.mdb"; }
    static TemporaryFolder* s_dir;
};

TemporaryFolder* ColumnKinds::s_dir = nullptr;

TEST_P(ColumnKinds, AreStoredAsTheShopDatabaseReadsThem)
{
    const ColumnKind& k = GetParam();
    const Sqlite db(database(k.jet4));
    const auto rows = db.rows(std::string("SELECT ") + quotedName(k.column) + ", typeof(" + quotedName(k.column) +
                              ") FROM " + quotedName(k.table));
    ASSERT_FALSE(rows.empty()) << k.why;
    for (const auto& row : rows) {
        EXPECT_EQ(row[0].decl, k.declared) << k.why;
        EXPECT_EQ(row[1].text, k.stored) << k.why;
    }
}

INSTANTIATE_TEST_SUITE_P(AccessColumns, ColumnKinds, testing::ValuesIn(kColumnKinds));

// The second row of Table1 through the database layer, as the estimate reads it.
TEST(ImportedValues, ReadBackThroughTheDatabaseLayerAsTheirKinds)
{
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet3File(), dir.path()}).code, 0);
    data::Recordset rows =
        data::Database::open(dir.path() + "/vmdata.mdb").openRecordset("SELECT * FROM Table1 WHERE A = 'abcdefg'");
    ASSERT_EQ(rows.recordCount(), 1);
    EXPECT_EQ(rows.field("B").text(), "hijklmnop");
    EXPECT_EQ(rows.field("C").integer(), 2);
    EXPECT_EQ(rows.field("D").integer(), 222);
    EXPECT_EQ(rows.field("E").integer(), 333333333);
    EXPECT_DOUBLE_EQ(rows.field("F").real(), 444.555);
    ASSERT_EQ(rows.field("G").kind(), platform::Value::Kind::Date);
    EXPECT_EQ(rows.field("G").dateSerial(), platform::dateSerial(1974, 9, 21)); // 27293
    ASSERT_EQ(rows.field("I").kind(), platform::Value::Kind::Boolean);
    EXPECT_TRUE(rows.field("I").boolean());
    // Currency 3.5000: 35000 ten-thousandths, exact.
    EXPECT_EQ(rows.field("H").real() * 10000, 35000.0);

    data::Recordset first =
        data::Database::open(dir.path() + "/vmdata.mdb").openRecordset("SELECT * FROM Table1 WHERE A = 'a'");
    ASSERT_EQ(first.recordCount(), 1);
    EXPECT_FALSE(first.field("I").boolean());
    EXPECT_EQ(first.field("G").dateSerial(), platform::dateSerial(1981, 12, 12));
    EXPECT_EQ(first.field("H").real(), 0.0);
}

TEST(ImportedValues, YesNoIsMinusOneAndZeroAsTheOldEngineStoredIt)
{
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet3File(), dir.path()}).code, 0);
    const Sqlite db(dir.path() + "/vmdata.mdb");
    const auto rows = db.rows("SELECT I FROM Table1 ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].integer, 0);
    EXPECT_EQ(rows[1][0].integer, -1);
}

TEST(ImportedValues, TheShopDatabaseIsKeptInWriteAheadLogModeWithNoLogLeft)
{
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet4File(), dir.path()}).code, 0);
    const std::string bytes = testsupport::readFile(dir.path() + "/vmdata.mdb");
    ASSERT_GT(bytes.size(), 20u);
    // The header's read and write format versions are 2 in write-ahead-log mode.
    EXPECT_EQ(bytes[18], 2);
    EXPECT_EQ(bytes[19], 2);
    EXPECT_EQ(importtest::filesIn(dir.path()), std::vector<std::string>{"vmdata.mdb"});
}

TEST(ImportReport, ListsTheShopTablesItAddedEmpty)
{
    TemporaryFolder dir;
    const importtest::Outcome result = importMdb({importtest::jet4File(), dir.path()});
    ASSERT_EQ(result.code, 0) << result.err;
    // What the import did is a message, on standard error, and only that: progress lines are for a terminal.
    EXPECT_THAT(result.err, testing::StartsWith("pricebook: imported 1 table from " + importtest::jet4File() +
                                                " into " + dir.path() + "/vmdata.mdb\n"));
    EXPECT_THAT(result.err, HasSubstr("\n  added table ORDERS empty: the Access file has none\n"));
    EXPECT_THAT(result.err, HasSubstr("\n  added table PRESSES empty: the Access file has none\n"));
    EXPECT_THAT(result.err, Not(HasSubstr(" rows\n")));
    EXPECT_EQ(result.out, "");
}

// ---------------------------------------------------------------------------------------------------------
// Bad input: exit 3, a message naming the file, nothing in the data folder.

struct BadFile
{
    const char* why;
    // Writes the bad file at path (nothing for a missing file).
    void (*make)(const std::string& path);
    const char* says;
    int fault; // the number of the import's fault
};

void PrintTo(const BadFile& b, std::ostream* os) { *os << b.why; }

void cutCopy(const std::string& from, const std::string& path, std::size_t size)
{
    testsupport::writeFile(path, testsupport::readFile(from).substr(0, size));
}

const BadFile kBadFiles[] = {
    {"missing", [](const std::string&) {}, "the file does not exist", 3024},
    {"empty", [](const std::string& p) { testsupport::writeFile(p, ""); }, "the file is empty", 3343},
    {"a text file", [](const std::string& p) { testsupport::writeFile(p, "ORDERNO,PARTNO\n24101,1\n"); },
     "it is not an Access database", 3343},
    {"a SQLite shop database",
     [](const std::string& p) { testsupport::writeFile(p, std::string("SQLite format 3\0", 16) + std::string(4080, '\0')); },
     "it is already a SQLite shop database", 3343},
    {"Jet 3 cut within its first page", [](const std::string& p) { cutCopy(importtest::jet3File(), p, 100); },
     "the file is truncated", 3343},
    {"Jet 3 cut off mid-page", [](const std::string& p) { cutCopy(importtest::jet3File(), p, 100000); },
     "the file is truncated", 3343},
    // Cut at a page boundary, so the size alone does not tell: libmdb reads past the end, or (94208)
    // complains without end inside its reading of the table list.
    {"Jet 3 one page short", [](const std::string& p) { cutCopy(importtest::jet3File(), p, 116736); },
     "cannot be read", 3049},
    {"Jet 3 cut at 92 KB", [](const std::string& p) { cutCopy(importtest::jet3File(), p, 94208); },
     "cannot be read", 3049},
    {"Jet 3 cut at 40 KB", [](const std::string& p) { cutCopy(importtest::jet3File(), p, 40960); },
     "cannot be read", 3049},
    {"Jet 4 one page short", [](const std::string& p) { cutCopy(importtest::jet4File(), p, 126976); },
     "cannot be read", 3049},
    {"Jet 4 without its table list", [](const std::string& p) { cutCopy(importtest::jet4File(), p, 32768); },
     "cannot be read", 3049},
};

class BadInput : public testing::TestWithParam<BadFile>
{
};

TEST_P(BadInput, ExitsWithThreeNamingTheFileAndLeavesNothing)
{
    const BadFile& bad = GetParam();
    TemporaryFolder work;
    const std::string file = work.path() + "/shop.mdb";
    const std::string dir = work.path() + "/data";
    bad.make(file);
    const importtest::Outcome result = importMdb({file, dir});
    EXPECT_EQ(result.code, 3) << bad.why;
    EXPECT_THAT(result.err, HasSubstr("'" + file + "'")) << bad.why;
    EXPECT_THAT(result.err, HasSubstr(bad.says)) << bad.why;
    EXPECT_EQ(result.out, "") << bad.why;
    EXPECT_THAT(importtest::filesIn(dir), IsEmpty()) << bad.why;

    // Called directly, the import fails with a platform::Fault, the one kind its callers catch.
    access_import::ImportOptions options;
    options.schemaSql = cli::demoSchemaSql();
    try {
        access_import::importAccessDatabase(file, dir, options);
        ADD_FAILURE() << bad.why << ": imported";
    } catch (const platform::Fault& fault) {
        EXPECT_EQ(fault.number(), bad.fault) << bad.why;
        EXPECT_THAT(fault.what(), HasSubstr(bad.says)) << bad.why;
    }
}

INSTANTIATE_TEST_SUITE_P(AccessFiles, BadInput, testing::ValuesIn(kBadFiles));

// Every cut of both files at a page boundary fails whole: exit 3 and an empty data folder.
TEST(BadInput, EveryPageBoundaryCutFailsWhole)
{
    struct Source
    {
        std::string file;
        std::size_t page;
    };
    for (const Source& source : {Source{importtest::jet3File(), 2048}, Source{importtest::jet4File(), 4096}}) {
        const std::string bytes = testsupport::readFile(source.file);
        for (std::size_t size = source.page; size < bytes.size(); size += source.page) {
            TemporaryFolder work;
            const std::string file = work.path() + "/cut.mdb";
            testsupport::writeFile(file, bytes.substr(0, size));
            const importtest::Outcome result = importMdb({file, work.path() + "/data"});
            EXPECT_EQ(result.code, 3) << source.file << " cut at " << size << ": " << result.out;
            EXPECT_THAT(importtest::filesIn(work.path() + "/data"), IsEmpty()) << source.file << " cut at " << size;
        }
    }
}

// The program stopped while it imports, under the import command's guard: here the signal goes to the
// program and its reading child together, as a terminal sends Ctrl-C or a hang-up, as the first table is
// reported. The reader is stopped, the half-built file removed, and the signal ends the program as it
// would have. A signal the program was started ignoring (nohup) is ignored by both, and the import ends
// well with the ignoring put back.
TEST(StoppedImport, LeavesNothingInTheDataFolder)
{
    struct Case
    {
        const char* why;
        int signal;
        bool ignored;
    };
    const Case cases[] = {
        {"Ctrl-C", SIGINT, false},
        {"terminated", SIGTERM, false},
        {"the terminal closed", SIGHUP, false},
        {"the terminal closed under nohup", SIGHUP, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TemporaryFolder work;
        const std::string dir = work.path() + "/data";
        std::fflush(nullptr);
        const pid_t program = ::fork();
        ASSERT_GE(program, 0);
        if (program == 0) {
            ::setpgid(0, 0); // a process group of its own, as a terminal's foreground job
            if (c.ignored)
                ::signal(c.signal, SIG_IGN);
            access_import::StopCleanup cleanup;
            access_import::ImportOptions options;
            options.schemaSql = cli::demoSchemaSql();
            options.stopCleanup = &cleanup;
            const int signal = c.signal;
            options.progress = [signal](const std::string&, std::size_t) { ::kill(0, signal); };
            try {
                const cli::ImportStopGuard guard(cleanup);
                access_import::importAccessDatabase(importtest::jet3File(), dir, options);
            } catch (...) {
                ::_exit(1);
            }
            struct sigaction after {};
            ::sigaction(c.signal, nullptr, &after);
            ::_exit(after.sa_handler == SIG_IGN ? 0 : 2); // not reached when the signal ends the program
        }
        int status = 0;
        ASSERT_EQ(::waitpid(program, &status, 0), program);
        if (c.ignored) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            EXPECT_THAT(importtest::filesIn(dir), testing::ElementsAre("vmdata.mdb"));
            continue;
        }
        ASSERT_TRUE(WIFSIGNALED(status)) << "the program went on after the signal";
        EXPECT_EQ(WTERMSIG(status), c.signal);
        EXPECT_TRUE(fs::is_directory(dir));
        EXPECT_THAT(importtest::filesIn(dir), IsEmpty());
    }
}

// A real import in a process of its own (another window or command), held as it reports its first table, with
// its building file half written.
class ImportInAnotherProcess
{
public:
    explicit ImportInAnotherProcess(const std::string& dir)
    {
        // The reading child of an import that is killed then comes to this process, which can wait for it.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        int ready[2];
        int go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0)
            return;
        std::fflush(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(go[1]);
            access_import::ImportOptions options;
            options.schemaSql = cli::demoSchemaSql();
            options.replace = true;
            bool held = false;
            options.progress = [&](const std::string&, std::size_t) {
                char signal = 0;
                if (!std::exchange(held, true) && ::write(ready[1], &signal, 1) == 1)
                    (void)!::read(go[0], &signal, 1);
            };
            try {
                access_import::importAccessDatabase(importtest::jet3File(), dir, options);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(go[0]);
        m_go = go[1];
        char signal = 0;
        m_held = m_pid > 0 && ::read(ready[0], &signal, 1) == 1;
        ::close(ready[0]);
    }
    ~ImportInAnotherProcess()
    {
        if (m_pid > 0)
            kill();
        if (m_go >= 0)
            ::close(m_go);
        ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    }
    bool held() const { return m_held; }

    // Kills it outright, as kill -9 or a power cut would, and waits until its reading child is gone too.
    void kill()
    {
        ::kill(m_pid, SIGKILL);
        while (::waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
        }
        m_pid = -1;
    }
    // Lets it go on to its end; its exit code.
    int finish()
    {
        ::close(std::exchange(m_go, -1));
        int status = 0;
        ::waitpid(std::exchange(m_pid, -1), &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_go = -1;
    bool m_held = false;
};

TEST(StoppedImport, WhatAKilledImportLeftIsRemovedByTheNextImport)
{
    TemporaryFolder work;
    const std::string dir = work.path() + "/data";
    ImportInAnotherProcess killed(dir);
    ASSERT_TRUE(killed.held());
    killed.kill();
    ASSERT_THAT(importtest::filesIn(dir), testing::Contains(HasSubstr(".import-"))) << "the kill left nothing";

    const importtest::Outcome next = importMdb({importtest::jet4File(), dir});
    ASSERT_EQ(next.code, 0) << next.err;
    EXPECT_THAT(next.err, HasSubstr(", left unfinished by an import that was stopped"));
    EXPECT_EQ(importtest::filesIn(dir), std::vector<std::string>{"vmdata.mdb"});
}

TEST(StoppedImport, AnImportStillRunningKeepsItsFileWhileAnotherImports)
{
    TemporaryFolder work;
    const std::string dir = work.path() + "/data";
    ImportInAnotherProcess running(dir);
    ASSERT_TRUE(running.held());
    const importtest::Outcome meanwhile = importMdb({importtest::jet4File(), dir});
    ASSERT_EQ(meanwhile.code, 0) << meanwhile.err;
    EXPECT_THAT(meanwhile.err, Not(HasSubstr("stopped")));

    // The running import goes on to put its whole file in place (it was given --replace).
    EXPECT_EQ(running.finish(), 0);
    EXPECT_EQ(importtest::filesIn(dir), std::vector<std::string>{"vmdata.mdb"});
    EXPECT_EQ(Sqlite(dir + "/vmdata.mdb").rows("SELECT * FROM Table1").size(), 2u);
}

// What the next import clears beside the shop database, by what an import that was killed left there.
TEST(StoppedImport, TheNextImportClearsEveryLeftoverWithItsLockFile)
{
    const std::string building = "vmdata.mdb.import-Ab12Cd";
    struct Case
    {
        const char* what;
        std::vector<std::string> endings;
        bool cleared;
    };
    const Case cases[] = {
        {"killed while writing", {"", "-journal", ".lock"}, true},
        {"killed with its log open", {"", "-wal", "-shm", ".lock"}, true},
        {"killed as it cleared up", {".lock"}, true},
        {"no lock file: not known to be an import's", {"", "-journal"}, false},
    };
    for (const Case& c : cases) {
        TemporaryFolder dir;
        std::vector<std::string> expected = {"vmdata.mdb"};
        for (const std::string& ending : c.endings) {
            testsupport::writeFile(dir.path() + "/" + building + ending, "half written");
            if (!c.cleared)
                expected.push_back(building + ending);
        }
        const importtest::Outcome next = importMdb({importtest::jet4File(), dir.path()});
        EXPECT_EQ(next.code, 0) << c.what << ": " << next.err;
        std::vector<std::string> left = importtest::filesIn(dir.path());
        std::sort(left.begin(), left.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(left, expected) << c.what;
    }
}

// ---------------------------------------------------------------------------------------------------------
// An existing shop database.

TEST(SecondImport, WithoutReplaceKeepsTheFirstAndSaysSo)
{
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet3File(), dir.path()}).code, 0);
    const std::string first = testsupport::readFile(dir.path() + "/vmdata.mdb");
    const importtest::Outcome second = importMdb({importtest::jet4File(), dir.path()});
    EXPECT_EQ(second.code, 3);
    EXPECT_THAT(second.err, HasSubstr("'" + dir.path() + "/vmdata.mdb' already exists and is kept"));
    EXPECT_THAT(second.err, HasSubstr("--replace"));
    EXPECT_TRUE(testsupport::readFile(dir.path() + "/vmdata.mdb") == first);
    EXPECT_EQ(importtest::filesIn(dir.path()), std::vector<std::string>{"vmdata.mdb"});
}

TEST(SecondImport, WithReplaceReplacesIt)
{
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet3File(), dir.path()}).code, 0);
    const importtest::Outcome second = importMdb({importtest::jet4File(), dir.path(), "--replace"});
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_EQ(importtest::filesIn(dir.path()), std::vector<std::string>{"vmdata.mdb"});
    const Sqlite db(dir.path() + "/vmdata.mdb");
    EXPECT_EQ(db.rows("SELECT * FROM sqlite_master WHERE name = 'Table1'").size(), 0u);
    EXPECT_EQ(db.rows("SELECT * FROM test").size(), 1u);
}

// A shop database open in another program has its log beside it, which would be played into the new file.
TEST(SecondImport, WithReplaceKeepsADatabaseInUse)
{
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet3File(), dir.path()}).code, 0);
    const std::string first = testsupport::readFile(dir.path() + "/vmdata.mdb");
    {
        const Sqlite inUse(dir.path() + "/vmdata.mdb"); // a reader of a log-mode file keeps its log open
        ASSERT_EQ(inUse.rows("SELECT count(*) FROM Table1").size(), 1u);
        const importtest::Outcome second = importMdb({importtest::jet4File(), dir.path(), "--replace"});
        EXPECT_EQ(second.code, 3);
        EXPECT_THAT(second.err, HasSubstr("'" + dir.path() + "/vmdata.mdb' is in use (its vmdata.mdb-wal file"));
    }
    EXPECT_TRUE(testsupport::readFile(dir.path() + "/vmdata.mdb") == first);
    for (const std::string& name : importtest::filesIn(dir.path()))
        EXPECT_THAT(name, Not(HasSubstr(".import-"))) << "no temporary file left";
}

TEST(SecondImport, AFailedReplaceKeepsTheFirst)
{
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet3File(), dir.path()}).code, 0);
    const std::string first = testsupport::readFile(dir.path() + "/vmdata.mdb");
    const std::string cut = dir.path() + "/../cut-" + fs::path(dir.path()).filename().string() + ".mdb";
    cutCopy(importtest::jet4File(), cut, 126976);
    const importtest::Outcome second = importMdb({cut, dir.path(), "--replace"});
    fs::remove(cut);
    EXPECT_EQ(second.code, 3);
    EXPECT_THAT(second.err, HasSubstr("Nothing was written"));
    EXPECT_TRUE(testsupport::readFile(dir.path() + "/vmdata.mdb") == first);
    EXPECT_EQ(importtest::filesIn(dir.path()), std::vector<std::string>{"vmdata.mdb"});
}

TEST(SecondImport, AReadOnlyDataFolderIsNamedAndKeepsTheFirst)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TemporaryFolder dir;
    ASSERT_EQ(importMdb({importtest::jet3File(), dir.path()}).code, 0);
    const std::string first = testsupport::readFile(dir.path() + "/vmdata.mdb");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const importtest::Outcome second = importMdb({importtest::jet4File(), dir.path(), "--replace"});
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(second.code, 3);
    EXPECT_THAT(second.err, HasSubstr("Cannot write the shop database '" + dir.path() + "/vmdata.mdb'"));
    EXPECT_THAT(second.err, HasSubstr("Check that the data folder can be written"));
    EXPECT_TRUE(testsupport::readFile(dir.path() + "/vmdata.mdb") == first);
    EXPECT_EQ(importtest::filesIn(dir.path()), std::vector<std::string>{"vmdata.mdb"});
}

TEST(ImportArguments, WrongWordsAreExitTwo)
{
    EXPECT_EQ(importMdb({}).code, 2);
    EXPECT_EQ(importMdb({importtest::jet3File()}).code, 2);
    EXPECT_EQ(importMdb({importtest::jet3File(), "/tmp", "--force"}).code, 2);
}

} // namespace
