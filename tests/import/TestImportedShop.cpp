// An imported Access file is a working shop database: the demo shop's rows written into it price exactly as
// they do in the demo shop itself, and Access tables named like the shop's own fill those tables.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "cli/DemoDataCommand.h"
#include "cli/PriceCommand.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "tests/cli/CapturedOutput.h"
#include "tests/import/ImportTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

using testing::HasSubstr;
using testing::Not;
using testsupport::TemporaryFolder;

// 1000 to 2500 in steps of 500.
const std::vector<std::string> kLetterhead = {"--order", "24101", "--schedule", "1000,500,2000,500,2500,500,2501"};

importtest::Outcome price(const std::string& folder, const std::string& programDir)
{
    std::vector<std::string> args = {folder};
    args.insert(args.end(), kLetterhead.begin(), kLetterhead.end());
    args.push_back("--program-dir");
    args.push_back(programDir);
    testsupport::CapturedOutput output;
    const int code = cli::PriceCommand().execute(args);
    return {code, output.out(), output.err()};
}

// The demo shop's rows (demo/demo-data.sql), written with sqlite3 into the tables the import created.
void writeDemoRows(const std::string& database)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, std::string(cli::demoDataSql()).c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

// The Jet 3 sample with two tables renamed, byte for byte, to names of the shop's own tables in other
// cases: Table1 (two rows) becomes "Orders", the empty Table3 "colors".
std::string renamedSample(const std::string& folder)
{
    std::string bytes = testsupport::readFile(importtest::jet3File());
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"Table1", "Orders"}, {"Table3", "colors"}})
        for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at))
            bytes.replace(at, from.size(), to);
    const std::string path = folder + "/renamed.mdb";
    testsupport::writeFile(path, bytes);
    return path;
}

TEST(ImportedShop, PricesADemoOrderAsTheDemoShopDoes)
{
    TemporaryFolder program, demo, imported;
    cli::buildDemoShop(demo.path(), true);
    const importtest::Outcome expected = price(demo.path(), program.path());
    ASSERT_EQ(expected.code, 0) << expected.err;
    ASSERT_THAT(expected.out, HasSubstr("2,500"));

    ASSERT_EQ(importtest::importMdb({importtest::jet3File(), imported.path()}).code, 0);
    writeDemoRows(imported.path() + "/vmdata.mdb");

    const importtest::Outcome got = price(imported.path(), program.path());
    ASSERT_EQ(got.code, 0) << got.err;
    EXPECT_EQ(got.out, expected.out);
    // The Access tables are still there beside the shop's.
    EXPECT_EQ(data::Database::open(imported.path() + "/vmdata.mdb").openRecordset("SELECT * FROM Table1").recordCount(),
              2);
}

TEST(ImportedShop, AccessTablesNamedLikeTheShopsFillThemWithMissingColumnsAdded)
{
    TemporaryFolder work, program, demo;
    const std::string dir = work.path() + "/data";
    const importtest::Outcome result = importtest::importMdb({renamedSample(work.path()), dir});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("  kept column A of table Orders, which the shop database does not use\n"));
    EXPECT_THAT(result.err, HasSubstr("  added column ORDERNO to table ORDERS empty: the Access table has none\n"));
    EXPECT_THAT(result.err, HasSubstr("  added column COLORID to table COLORS empty: the Access table has none\n"));
    EXPECT_THAT(result.err, Not(HasSubstr("added table ORDERS")));
    EXPECT_THAT(result.err, Not(HasSubstr("added table COLORS")));

    data::Database db = data::Database::open(dir + "/vmdata.mdb");
    data::Recordset orders = db.openRecordset("SELECT * FROM ORDERS WHERE A = 'abcdefg'");
    ASSERT_EQ(orders.recordCount(), 1);
    EXPECT_TRUE(orders.field("ORDERNO").isNull());
    EXPECT_EQ(orders.field("E").integer(), 333333333);
    EXPECT_EQ(db.openRecordset("SELECT * FROM ORDERS").recordCount(), 2);
    EXPECT_EQ(db.openRecordset("SELECT * FROM sqlite_master WHERE name IN ('Orders', 'colors')").recordCount(), 0)
        << "no second table beside the shop's own";

    // Still a shop database the demo order prices in, exactly as in the demo shop, with the Access rows of
    // ORDERS beside the demo's.
    writeDemoRows(dir + "/vmdata.mdb");
    cli::buildDemoShop(demo.path(), true);
    const importtest::Outcome expected = price(demo.path(), program.path());
    ASSERT_EQ(expected.code, 0) << expected.err;
    const importtest::Outcome got = price(dir, program.path());
    ASSERT_EQ(got.code, 0) << got.err;
    EXPECT_EQ(got.out, expected.out);
}

} // namespace
