// The SQL console: its output layout, statements that change rows, and texts meant to do harm.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/DemoDataCommand.h"
#include "cli/SqlCommand.h"
#include "data/TypedStatement.h"
#include "platform/Fault.h"
#include "tests/cli/CapturedOutput.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;
using platform::Fault;
using testing::HasSubstr;
using testing::Property;
using testing::Throws;
using testsupport::TemporaryFolder;

class SqlConsole : public testing::Test
{
protected:
    void SetUp() override { m_path = cli::buildDemoShop(m_folder.path(), false); }

    std::string run(const std::string& sql, bool write = false) const
    {
        std::ostringstream out;
        data::TypedStatementLimits limits;
        limits.mayWrite = write;
        cli::runSql(m_path, sql, out, limits);
        return out.str();
    }

    TemporaryFolder m_folder;
    std::string m_path;
};

// Where a statement ends is SQLite's own reading of the text: a semicolon inside a literal, a quoted name, a
// comment or a trigger's body ends nothing, and blanks and comments may follow the end. Anything else after
// it is a second statement, refused unrun (3142) with the database left as it was.
TEST_F(SqlConsole, OneStatementMayEndInCommentsAndASecondIsRefusedUnrun)
{
    const struct
    {
        const char* why;
        const char* sql;
        bool second;
    } cases[] = {
        {"a closing semicolon and blanks", "SELECT COUNT(*) AS N FROM ORDERS ;  \r\n", false},
        {"semicolons only", "SELECT 1 AS N;;", false},
        {"a semicolon inside a literal", "SELECT COUNT(*) AS N FROM ORDERS WHERE DESCRIPTION = 'a; DROP TABLE ORDERS'",
         false},
        {"a semicolon inside a double-quoted literal", "SELECT \"x; DELETE FROM ORDERS\" AS T", false},
        {"a semicolon inside a bracketed name", "SELECT 1 AS [a;b]", false},
        {"a doubled apostrophe before a semicolon", "SELECT 'O''NEIL; x' AS T", false},
        {"a line comment after the end", "SELECT 1 AS N; -- nothing more", false},
        {"a block comment after the end", "SELECT 1 AS N; /* nothing more */", false},
        {"an open block comment after the end", "SELECT 1 AS N; /* nothing more", false},
        {"a trigger's body", "CREATE TRIGGER NOTE_ORDER AFTER UPDATE ON ORDERS BEGIN UPDATE ORDERS SET PRINTPRICING = "
                             "PRINTPRICING WHERE 0; SELECT 1; END",
         false},
        {"a second statement", "SELECT * FROM ORDERS; DROP TABLE ORDERS", true},
        {"a second statement after a literal", "SELECT 'a' AS T;DELETE FROM ORDERS", true},
        {"two changes", "DELETE FROM ORDERS WHERE ORDERNO = '24101'; DELETE FROM ORDERS", true},
        {"an apostrophe hidden in a comment", "SELECT 1 /* ' */ ; DROP TABLE ORDERS", true},
        {"a statement after a line comment", "SELECT 1; -- x\nDROP TABLE ORDERS", true},
        {"a statement after a trigger's end", "CREATE TRIGGER T2 AFTER UPDATE ON ORDERS BEGIN SELECT 1; END; "
                                              "DROP TABLE ORDERS",
         true},
    };
    for (const auto& c : cases) {
        int number = 0;
        try {
            run(c.sql, true);
        } catch (const Fault& fault) {
            number = fault.number();
        }
        EXPECT_EQ(number, c.second ? 3142 : 0) << c.why << "\n    sql: " << c.sql;
        EXPECT_EQ(run("SELECT COUNT(*) AS N FROM ORDERS"), "N\n12\n") << c.why;
    }
    EXPECT_EQ(run("SELECT name FROM sqlite_schema WHERE type = 'trigger'"), "name\nNOTE_ORDER\n");
}

TEST_F(SqlConsole, PrintsAHeaderAndTabSeparatedRows)
{
    EXPECT_EQ(run("SELECT ORDERNO, QUOTEORJOB, PRESSQTY FROM ORDERS WHERE ORDERNO IN ('24101', '24103') "
                  "ORDER BY ORDERNO"),
              "ORDERNO\tQUOTEORJOB\tPRESSQTY\n"
              "24101\tQ\t2500\n"
              "24103\tJ\t1000\n");
}

TEST_F(SqlConsole, RunsTheOldDialect)
{
    // (30 + 20 + 40) / 3 = 30
    EXPECT_EQ(run("SELECT Avg(MARKUP) AS AVGMARKUP From MARKUPS WHERE DEPARTMENT Like 'Stock*'"),
              "AVGMARKUP\n30\n");
    // Black is ink 1; the brochure, forms, booklet and cards use it.
    EXPECT_EQ(run("SELECT DISTINCT COLORID AS ID, INKCOLOR AS COLOR FROM INKSELECTIONS "
                  "WHERE UCASE(INKCOLOR) LIKE '*BLACK*'"),
              "ID\tCOLOR\n1\tBlack\n");
}

TEST_F(SqlConsole, ANullPrintsAsAnEmptyValue)
{
    // The bought-in postcards have no press.
    EXPECT_EQ(run("SELECT ORDERNO, PRESSID, DESCRIPTION FROM ORDERS WHERE ORDERNO = '24106'"),
              "ORDERNO\tPRESSID\tDESCRIPTION\n24106\t\tDirect-mail postcards, printed and mailed outside\n");
}

TEST_F(SqlConsole, AnApostropheInTheKeyIsALiteralNotTheEndOfIt)
{
    EXPECT_EQ(run("SELECT ORDERNO, ACCTNAME FROM ORDERS WHERE ORDERNO = 'O''NEIL-01'"),
              "ORDERNO\tACCTNAME\nO'NEIL-01\tO'Neil & Daughters Realty\n");
}

TEST_F(SqlConsole, StatementsWithWriteSayWhatTheyChanged)
{
    const std::pair<const char*, const char*> statements[] = {
        // Jobs: 24103, 24104, 24105, 24107, 24109.
        {"UPDATE ORDERS SET PRINTPRICING = True WHERE QUOTEORJOB = 'J'", "5 rows changed\n"},
        {"UPDATE ORDERS SET PRINTPRICING = False WHERE ORDERNO = 'O''NEIL-01'", "1 row changed\n"},
        {"DELETE FROM ORDERS WHERE ORDERNO = 'none'", "0 rows changed\n"},
        {"CREATE TABLE NOTES (NOTE TEXT (50))", "table NOTES created\n"},
        {"ALTER TABLE NOTES ADD COLUMN SEEN YESNO", "table NOTES changed\n"},
        {"DROP TABLE NOTES", "table NOTES dropped\n"},
        {"DROP TABLE IF EXISTS NOTES", "nothing changed\n"},
    };
    for (const auto& [sql, said] : statements)
        EXPECT_EQ(run(sql, true), said) << sql;
    EXPECT_EQ(run("SELECT COUNT(*) AS N FROM ORDERS WHERE PRINTPRICING = True"), "N\n5\n");
}

TEST_F(SqlConsole, PragmasThatOnlyReadRunWithoutWrite)
{
    EXPECT_EQ(run("PRAGMA journal_mode"), "journal_mode\nwal\n");
    EXPECT_EQ(run("PRAGMA table_info(MARKUPS)").substr(0, 36), "cid\tname\ttype\tnotnull\tdflt_value\tpk\n");
}

// Ctrl-C and the time limit are checked on the whole program (tests/reliability).
TEST_F(SqlConsole, AStatementIsStoppedAtItsRowOrMemoryLimit)
{
    struct Case
    {
        data::TypedStop stop;
        const char* sql;
        const char* printed;
    };
    const Case cases[] = {
        {data::TypedStop::RowLimit, "WITH RECURSIVE C(X) AS (SELECT 1 UNION ALL SELECT X + 1 FROM C) SELECT X FROM C",
         "X\n1\n2\n3\n"},
        // Each text twice as long as the one before.
        {data::TypedStop::MemoryLimit,
         "WITH RECURSIVE C(T) AS (SELECT 'x' UNION ALL SELECT T || T FROM C) SELECT COUNT(*) AS N FROM C", "N\n"},
    };
    for (const Case& c : cases) {
        data::TypedStatementLimits limits;
        limits.rows = 3;
        limits.memory = 16 << 20;
        std::ostringstream out;
        const data::TypedOutcome outcome = cli::runSql(m_path, c.sql, out, limits);
        EXPECT_EQ(outcome.stopped, c.stop) << c.sql;
        EXPECT_EQ(out.str(), c.printed) << c.sql;
        EXPECT_THAT(cli::stopMessage(outcome, limits), HasSubstr("The statement was stopped")) << c.sql;
    }
}

TEST_F(SqlConsole, TextsWithQuotesWildcardsAndAccentsRoundTrip)
{
    run("UPDATE ORDERS SET ACCTNAME = 'Café \"Ñandú\" 100% [*]' WHERE ORDERNO = '24101'", true);
    EXPECT_EQ(run("SELECT ACCTNAME FROM ORDERS WHERE ORDERNO = '24101'"),
              "ACCTNAME\nCafé \"Ñandú\" 100% [*]\n");
}

TEST_F(SqlConsole, MalformedSqlIsAFaultAndChangesNothing)
{
    EXPECT_THROW(run("SELECT * FROM ORDERS WHERE ORDERNO = 'unterminated"), Fault);
    EXPECT_THROW(run("SELECT * FROM NO_SUCH_TABLE"), Fault);
    EXPECT_THROW(run("UPDATE ORDERS SET NO_SUCH_COLUMN = 1"), Fault);
    EXPECT_EQ(run("SELECT COUNT(*) AS N FROM ORDERS"), "N\n12\n");
}

TEST(SqlConsoleFiles, AMissingDatabaseIsAFaultNamingItAndNoFileIsMade)
{
    TemporaryFolder folder;
    const std::string missing = folder.path() + "/vmdata.mdb";
    std::ostringstream out;
    EXPECT_THAT([&] { cli::runSql(missing, "SELECT 1", out); },
                Throws<Fault>(Property(&Fault::what, HasSubstr(missing))));
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(out.str(), "");
}

struct SqlArgumentCase
{
    const char* why;
    std::vector<std::string> args;
    const char* message;
};

const SqlArgumentCase kSqlArguments[] = {
    {"nothing", {}, "no database given"},
    {"no SQL text", {"shop"}, "no SQL text given"},
    {"--data without a folder", {"--data"}, "--data needs a value"},
    {"an SQL text in several words", {"shop", "SELECT", "*"}, "unexpected argument *"},
    {"a blank SQL text", {"shop", "  ; "}, "the SQL text is empty"},
    {"no time limit", {"--timeout", "0", "shop", "SELECT 1"}, "--timeout takes a whole number of seconds"},
    {"a row limit that is no number", {"shop", "SELECT 1", "--max-rows", "many"}, "--max-rows takes a whole number"},
};

void PrintTo(const SqlArgumentCase& c, std::ostream* os)
{
    *os << c.why;
}

class SqlArguments : public testing::TestWithParam<SqlArgumentCase>
{
};

TEST_P(SqlArguments, AreRefusedWithUsage)
{
    const SqlArgumentCase& c = GetParam();
    testsupport::CapturedOutput output;
    EXPECT_EQ(cli::SqlCommand().execute(c.args), 2) << c.why;
    EXPECT_THAT(output.err(), HasSubstr(c.message)) << c.why;
    EXPECT_THAT(output.err(), testing::EndsWith(" (see \"pricebook sql --help\")\n")) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Sql, SqlArguments, testing::ValuesIn(kSqlArguments));

TEST(SqlCommand, TakesADataFolderOrTheDatabaseFile)
{
    TemporaryFolder folder;
    const std::string path = cli::buildDemoShop(folder.path(), false);
    // Quotes: 24101, 24102 (two parts), O'NEIL-01, 24106, 24108, 24110.
    const std::string sql = "SELECT COUNT(*) AS N FROM ORDERS WHERE QUOTEORJOB = 'Q'";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{folder.path(), sql}, std::vector<std::string>{path, sql},
          std::vector<std::string>{"--data", folder.path(), sql},
          std::vector<std::string>{"--db", path, sql}}) {
        testsupport::CapturedOutput output;
        EXPECT_EQ(cli::SqlCommand().execute(args), 0) << args[0];
        EXPECT_EQ(output.out(), "N\n7\n") << args[0];
        EXPECT_EQ(output.err(), "") << args[0];
    }
}

} // namespace
