// Building the demo shop's data folder: what is written, what is never overwritten, and the command's
// arguments.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/DemoDataCommand.h"
#include "data/Database.h"
#include "platform/Fault.h"
#include "tests/cli/CapturedOutput.h"
#include "tests/support/Faults.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;
using platform::Fault;
using testing::HasSubstr;
using testing::Property;
using testing::Throws;
using testsupport::readFile;
using testsupport::TemporaryFolder;
using testsupport::writeFile;

long countRows(const std::string& databasePath, const std::string& table)
{
    data::Database db = data::Database::open(databasePath);
    data::Recordset rows = db.openRecordset("SELECT COUNT(*) AS N FROM " + table);
    return static_cast<long>(rows.field(0).number());
}

std::vector<std::string> folderContents(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The program carries its own copy of the demo SQL; a stale copy would build an out-of-date shop.
TEST(DemoShopSql, EmbeddedTextsAreTheDemoFilesOfTheSourceTree)
{
    EXPECT_EQ(std::string(cli::demoSchemaSql()), readFile(SCHEMA_SQL));
    EXPECT_EQ(std::string(cli::demoDataSql()), readFile(DEMO_DATA_SQL));
}

TEST(DemoShop, WritesTheShopDatabaseCategoriesAndPriceBookAndNothingElse)
{
    TemporaryFolder temp;
    const std::string folder = temp.path() + "/shop/data"; // two levels that do not exist yet
    const std::string written = cli::buildDemoShop(folder, false);

    EXPECT_EQ(fs::path(written), fs::path(folder) / "vmdata.mdb");
    EXPECT_EQ(folderContents(folder), (std::vector<std::string>{"Categories.dat", "PriceBook.dat", "vmdata.mdb"}));
    // Twelve quotes and jobs; twenty-two bindery operations (see demo/demo-data.sql).
    EXPECT_EQ(countRows(written, "ORDERS"), 12);
    EXPECT_EQ(countRows(written, "BINDERYSELECTIONS"), 22);
    EXPECT_EQ(countRows(written, "PRESSES"), 3);
    // One category a line, CR LF, no quotes: the category file's own layout.
    EXPECT_EQ(readFile(folder + "/Categories.dat"),
              "Letterheads and Envelopes\r\nBusiness Forms\r\nBrochures and Flyers\r\n"
              "Booklets and Newsletters\r\nBusiness Cards\r\nNotepads\r\n");
}

TEST(DemoShop, RefusesToOverwriteAShopDatabaseUnlessAskedTo)
{
    TemporaryFolder temp;
    const std::string target = temp.path() + "/vmdata.mdb";
    writeFile(target, "the shop's real data");

    EXPECT_THAT([&] { cli::buildDemoShop(temp.path(), false); },
                Throws<Fault>(AllOf(Property(&Fault::number, platform::fault::FileAlreadyExists), Property(&Fault::what, HasSubstr(target)),
                                    Property(&Fault::what, HasSubstr("--replace")))));
    EXPECT_EQ(readFile(target), "the shop's real data");
    EXPECT_EQ(folderContents(temp.path()), std::vector<std::string>{"vmdata.mdb"}); // no stray files

    cli::buildDemoShop(temp.path(), true);
    EXPECT_EQ(countRows(target, "ORDERS"), 12);
}

// A symbolic link planted at the database's name is replaced by the new database, and the file it points to
// kept; a disk that fills up keeps the old database. Nothing else is left in the folder either way.
TEST(DemoShop, ALinkAtTheNameIsReplacedAndAFullDiskKeepsTheOldDatabase)
{
    struct Case
    {
        const char* what;
        bool link;
        rlim_t sizeLimit;
        int fault;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"a link to another file", true, RLIM_INFINITY, 0, {"Categories.dat", "PriceBook.dat", "vmdata.mdb"}},
        {"a full disk", false, 64 * 1024, 75, {"vmdata.mdb"}},
    };
    for (const Case& c : cases) {
        TemporaryFolder temp;
        TemporaryFolder elsewhere;
        const std::string target = temp.path() + "/vmdata.mdb";
        const std::string victim = elsewhere.path() + "/accounts.db";
        writeFile(victim, "another program's data");
        if (c.link)
            fs::create_symlink(victim, target);
        else
            writeFile(target, "the shop's real data");
        {
            const testsupport::FileSizeLimit limit(c.sizeLimit);
            EXPECT_EQ(testsupport::faultNumber([&] { cli::buildDemoShop(temp.path(), true); }), c.fault) << c.what;
        }
        EXPECT_EQ(readFile(victim), "another program's data") << c.what;
        EXPECT_EQ(folderContents(temp.path()), c.left) << c.what;
        if (c.fault == 0)
            EXPECT_EQ(countRows(target, "ORDERS"), 12) << c.what;
        else
            EXPECT_EQ(readFile(target), "the shop's real data") << c.what;
    }
}

TEST(DemoShop, KeepsTheShopsOwnCategoryList)
{
    TemporaryFolder temp;
    writeFile(temp.path() + "/Categories.dat", "Wedding Invitations\r\n");
    cli::buildDemoShop(temp.path(), false);
    EXPECT_EQ(readFile(temp.path() + "/Categories.dat"), "Wedding Invitations\r\n");
}

TEST(DemoShop, AFolderThatCannotBeMadeIsAFaultNamingIt)
{
    TemporaryFolder temp;
    writeFile(temp.path() + "/blocker", "a file where the folder should go");
    const std::string folder = temp.path() + "/blocker/shop";
    EXPECT_THAT(
        [&] { cli::buildDemoShop(folder, false); },
        Throws<Fault>(AllOf(Property(&Fault::number, platform::fault::PathFileAccessError), Property(&Fault::what, HasSubstr(folder)))));
}

TEST(DemoShop, AFolderNamedLikeTheDatabaseIsNeverTouched)
{
    TemporaryFolder temp;
    fs::create_directory(temp.path() + "/vmdata.mdb");
    EXPECT_THAT([&] { cli::buildDemoShop(temp.path(), true); }, Throws<Fault>(Property(&Fault::number, platform::fault::FileAlreadyExists)));
    EXPECT_TRUE(fs::is_directory(temp.path() + "/vmdata.mdb"));
}

struct ArgumentCase
{
    const char* why;
    std::vector<std::string> args;
    int exitCode;
    const char* message;
};

const ArgumentCase kDemoDataArguments[] = {
    {"no folder", {}, 2, "no data folder given"},
    {"two folders", {"a", "b"}, 2, "one data folder only"},
    {"unknown option", {"--force", "a"}, 2, "unknown option --force"},
};

void PrintTo(const ArgumentCase& c, std::ostream* os)
{
    *os << c.why;
}

class DemoDataArguments : public testing::TestWithParam<ArgumentCase>
{
};

TEST_P(DemoDataArguments, AreRefusedWithUsage)
{
    const ArgumentCase& c = GetParam();
    testsupport::CapturedOutput output;
    const int code = cli::DemoDataCommand().execute(c.args);
    EXPECT_EQ(code, c.exitCode) << c.why;
    EXPECT_THAT(output.err(), HasSubstr(c.message)) << c.why;
    EXPECT_THAT(output.err(), HasSubstr("(see \"pricebook demo-data --help\")")) << c.why;
    EXPECT_EQ(output.out(), "") << c.why;
}

INSTANTIATE_TEST_SUITE_P(DemoData, DemoDataArguments, testing::ValuesIn(kDemoDataArguments));

TEST(DemoDataCommand, ReplaceMayComeBeforeTheFolder)
{
    TemporaryFolder temp;
    writeFile(temp.path() + "/vmdata.mdb", "old");
    testsupport::CapturedOutput output;
    EXPECT_EQ(cli::DemoDataCommand().execute({"--replace", temp.path()}), 0);
    // What it did is a message, on standard error; standard output is for data.
    EXPECT_EQ(output.err(), "pricebook: demo shop database written to " + temp.path() + "/vmdata.mdb\n");
    EXPECT_EQ(output.out(), "");
    EXPECT_EQ(countRows(temp.path() + "/vmdata.mdb", "ORDERS"), 12);
}

} // namespace
