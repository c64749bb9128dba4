#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/estimator/EngineTestSupport.h"

namespace {

using enginetest::Area;
using estimator::cEstimator;

// Reads the report work database behind the engine's back, with sqlite3 itself.
std::vector<std::string> column(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(message);
    }
    std::vector<std::string> values;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        values.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return values;
}

void write(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error(message);
}

const char* const kOrder = R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRESSSIGNATURES, PRESSDIFFFRMPRESSSHT,
    PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, STOCKID, STOCKCOST3)
VALUES ('R1', 1, 'J', 1000, 1, 1, 1, 1, 12, 40);
)sql";

class ReportDatabase : public enginetest::EngineTest
{
protected:
    bool checksReportDatabase() const override { return true; }
    std::string reportFile() const { return m_programFolder.path() + "/VMestrpt.mdb"; }

    // One pricing step, as the pricing run does it: a new estimator, one estimate.
    double estimateOnce(const testsupport::TestDatabase& db)
    {
        cEstimator engine(m_context);
        pointAt(engine, db, "R1");
        return engine.Estimate(Area::Stock, 1, 0);
    }

    std::vector<std::string> tables() const
    {
        return column(reportFile(), "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    }
    std::vector<std::string> runIds() const
    {
        return column(reportFile(), "SELECT PRINTRPTRUNID || ',' || PREPRESSRPTRUNID || ',' || BINDERYRPTRUNID || ',' "
                                    "|| DEPTRPTRUNID FROM RPTRUNID");
    }
};

TEST_F(ReportDatabase, FirstEstimateCreatesItWithFiveTables)
{
    testsupport::TestDatabase db(kOrder);
    ASSERT_FALSE(std::filesystem::exists(reportFile()));
    EXPECT_NEAR(estimateOnce(db), 40.00, 1e-9);
    ASSERT_TRUE(std::filesystem::exists(reportFile()));
    EXPECT_THAT(tables(), testing::ElementsAre("BINDERYRPT", "DEPTRPT", "PREPRESSRPT", "PRINTRPT", "RPTRUNID"));
    EXPECT_THAT(runIds(), testing::ElementsAre("0,0,0,0"));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(m_context.reportDatabaseChecked);
}

TEST_F(ReportDatabase, ReportTablesHaveTheirColumnsAndIndexes)
{
    testsupport::TestDatabase db(kOrder);
    estimateOnce(db);
    EXPECT_THAT(column(reportFile(), "SELECT name FROM pragma_table_info('BINDERYRPT')"),
                testing::ElementsAre("BINDERYRPTRUNID", "SORTORDER", "DESCRIPTION1", "UNITS1", "MRRUNTIME1",
                                     "PSSPOIL1", "COST1", "RETAIL1", "MRRUNTIME2", "PSSPOIL2", "COST2", "RETAIL2",
                                     "MRRUNTIME3", "PSSPOIL3", "COST3", "RETAIL3", "MRRUNTIME4", "PSSPOIL4", "COST4",
                                     "RETAIL4", "BREAKAFTER", "RUNDATE"));
    EXPECT_EQ(column(reportFile(), "SELECT name FROM pragma_table_info('DEPTRPT')").size(), 25u);
    EXPECT_EQ(column(reportFile(), "SELECT name FROM pragma_table_info('PREPRESSRPT')").size(), 10u);
    // A run-date index and a unique primary index on each of the four report tables.
    EXPECT_EQ(column(reportFile(), "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL").size(),
              8u);
    EXPECT_THAT(column(reportFile(), "SELECT name FROM pragma_index_list('PRINTRPT') WHERE \"unique\" = 1"),
                testing::SizeIs(1));
    // The primary index keeps report rows of a run apart.
    write(reportFile(), "INSERT INTO PRINTRPT VALUES (1, 1, 'Stock', '', '', '', '', 0, '2026-01-01');");
    EXPECT_THROW(write(reportFile(), "INSERT INTO PRINTRPT VALUES (1, 1, 'Press', '', '', '', '', 0, '2026-01-01');"),
                 std::runtime_error);
}

TEST_F(ReportDatabase, CheckedOncePerProcess)
{
    testsupport::TestDatabase db(kOrder);
    estimateOnce(db);
    std::filesystem::remove(reportFile());
    estimateOnce(db); // a later estimator of the same run does not look again
    EXPECT_FALSE(std::filesystem::exists(reportFile()));
}

TEST_F(ReportDatabase, SecondProcessRecreatesNothing)
{
    testsupport::TestDatabase db(kOrder);
    estimateOnce(db);
    // The report programs have used the file since: run numbers moved on, a report row was written.
    write(reportFile(), "UPDATE RPTRUNID SET PRINTRPTRUNID = 3, PREPRESSRPTRUNID = 4, BINDERYRPTRUNID = 5, "
                        "DEPTRPTRUNID = 6; INSERT INTO PRINTRPT VALUES (3, 1, 'Stock', '1', '2', '3', '4', 0, "
                        "'2026-01-01');");

    startNewRun(); // the program starts again
    EXPECT_NEAR(estimateOnce(db), 40.00, 1e-9);
    EXPECT_THAT(runIds(), testing::ElementsAre("3,4,5,6"));
    EXPECT_THAT(column(reportFile(), "SELECT DESCRIPTION FROM PRINTRPT"), testing::ElementsAre("Stock"));
    EXPECT_EQ(tables().size(), 5u);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ReportDatabase, MissingTablesOfAnOlderFileAreAdded)
{
    // A file from an earlier version with the print report only: the rest is created around it, and the
    // new run-number table gets its first row.
    write(reportFile(), "CREATE TABLE PRINTRPT (PRINTRPTRUNID INTEGER, SORTORDER INTEGER, DESCRIPTION TEXT);"
                        "INSERT INTO PRINTRPT VALUES (9, 1, 'Kept');");
    testsupport::TestDatabase db(kOrder);
    estimateOnce(db);
    EXPECT_THAT(tables(), testing::ElementsAre("BINDERYRPT", "DEPTRPT", "PREPRESSRPT", "PRINTRPT", "RPTRUNID"));
    EXPECT_THAT(column(reportFile(), "SELECT DESCRIPTION FROM PRINTRPT"), testing::ElementsAre("Kept"));
    EXPECT_THAT(runIds(), testing::ElementsAre("0,0,0,0"));
}

TEST_F(ReportDatabase, FolderThatCannotHoldItGivesOneMessageAndPricingGoesOn)
{
    m_context.programFolder = m_programFolder.path() + "/no such folder";
    testsupport::TestDatabase db(kOrder);
    EXPECT_NEAR(estimateOnce(db), 40.00, 1e-9);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].first, "Could not create report work file.");
    EXPECT_EQ(m_messages[0].second, "Orvelle Estimator Module");
    EXPECT_NEAR(estimateOnce(db), 40.00, 1e-9);
    EXPECT_EQ(m_messages.size(), 1u); // once per run
}

TEST_F(ReportDatabase, FileThatIsNotADatabaseIsLeftAlone)
{
    testsupport::writeFile(reportFile(), "report notes, not a database\r\n");
    testsupport::TestDatabase db(kOrder);
    EXPECT_NEAR(estimateOnce(db), 40.00, 1e-9);
    EXPECT_EQ(testsupport::readFile(reportFile()), "report notes, not a database\r\n");
    EXPECT_TRUE(m_messages.empty()); // a file exists at the path
}

TEST_F(ReportDatabase, ProgramFolderWithATrailingSeparator)
{
    m_context.programFolder = m_programFolder.path() + "/";
    testsupport::TestDatabase db(kOrder);
    estimateOnce(db);
    EXPECT_TRUE(std::filesystem::exists(reportFile()));
    EXPECT_EQ(m_context.reportDatabasePath, m_programFolder.path() + "/VMestrpt.mdb");
}

} // namespace
