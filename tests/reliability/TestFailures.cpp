#include <chrono>
#include <thread>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/SmallFile.h"
#include "pricing/Categories.h"
#include "pricing/PriceSettings.h"
#include "tests/reliability/ProgramRunner.h"
#include "tests/support/TestDatabase.h"

namespace {

using reliability::makeDemoFolder;
using reliability::program;
using reliability::runShell;
using reliability::shellQuoted;
using reliability::sqlite;
namespace fs = std::filesystem;

constexpr int ExitDataFolder = 3;
constexpr int ExitSkipped = 5;

struct DemoShop
{
    testsupport::TemporaryFolder work;
    std::string folder = work.path() + "/shop";
    std::string database = folder + "/vmdata.mdb";
    DemoShop() { makeDemoFolder(folder, work.path()); }
    std::string sql(const std::string& text) const { return sqlite(database, text, work.path()); }
    reliability::ProgramOutput price(const std::string& arguments) const
    {
        return runShell(program() + " price " + shellQuoted(folder) + " " + arguments + " --program-dir " +
                            shellQuoted(work.path()),
                        work.path());
    }
};

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(Failures, MissingDataFolderOrShopDatabaseNamesWhatIsMissing)
{
    testsupport::TemporaryFolder work;
    const auto noFolder = runShell(program() + " price " + shellQuoted(work.path() + "/gone") + " --order 24101", work.path());
    EXPECT_EQ(noFolder.exitCode, ExitDataFolder);
    EXPECT_TRUE(contains(noFolder.err, work.path() + "/gone")) << noFolder.err;

    const auto empty = runShell(program() + " price " + shellQuoted(work.path()) + " --order 24101", work.path());
    EXPECT_EQ(empty.exitCode, ExitDataFolder);
    EXPECT_TRUE(contains(empty.err, "vmdata.mdb")) << empty.err;
    EXPECT_FALSE(fs::exists(work.path() + "/vmdata.mdb")) << "opening must never create the file";
}

TEST(Failures, DamagedShopDatabaseIsNamedAndLeftByteForByte)
{
    DemoShop shop;
    const std::string demo = testsupport::readFile(shop.database);
    std::string random(4096, '\0');
    unsigned seed = 12345;
    for (char& c : random) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    std::string jet(2048, '\0');
    jet.replace(0, 19, std::string("\x00\x01\x00\x00Standard Jet DB", 19));
    const std::vector<std::pair<std::string, std::string>> files = {
        {"zero-length", ""},
        {"truncated", demo.substr(0, 1500)},
        {"random bytes", random},
        {"Access file", jet},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        testsupport::writeFile(shop.database, bytes);
        const auto run = shop.price("--order 24101 --qty 100");
        EXPECT_EQ(run.exitCode, ExitDataFolder) << run.err;
        EXPECT_TRUE(contains(run.err, shop.database)) << run.err;
        EXPECT_EQ(testsupport::readFile(shop.database), bytes);
    }
}

TEST(Failures, MissingTableSkipsEveryQuantityAndPutsTheRowBack)
{
    DemoShop shop;
    shop.sql("DROP TABLE PRESSES");
    const std::string before = shop.sql("SELECT ORDERNO, PRESSQTY FROM Orders");
    const auto run = shop.price("--order 24101 --schedule 100,100,200,100,300,100,301");
    EXPECT_EQ(run.exitCode, ExitSkipped) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(contains(run.err, "3 quantities could not be priced: 100, 200, 300 (")) << run.err;
    EXPECT_EQ(shop.sql("SELECT ORDERNO, PRESSQTY FROM Orders"), before);
}

// Root writes through any mode bits, so the file is made immutable instead; where the file system
// cannot do that the case cannot be set up.
TEST(Failures, ReadOnlyShopDatabaseIsReportedWithoutACrash)
{
    DemoShop shop;
    const std::string before = testsupport::readFile(shop.database);
    if (std::system(("chattr +i " + shellQuoted(shop.database) + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "this file system cannot make a file read-only for the root user";
    const auto run = shop.price("--order 24101 --qty 100");
    std::system(("chattr -i " + shellQuoted(shop.database)).c_str());
    EXPECT_NE(run.exitCode, 0);
    EXPECT_LT(run.exitCode, 128) << "ended by a signal: " << run.err;
    EXPECT_TRUE(contains(run.err, "The order row could not be written: the shop database or its folder is "
                                  "read-only.")) << run.err;
    EXPECT_EQ(testsupport::readFile(shop.database), before);
}

// An order copied under a hostile number, with its ink, bindery, vendor, camera and scan rows, prices
// exactly as the original.
TEST(Failures, HostileOrderNumbersPriceAsTheSameOrderUnderAPlainNumber)
{
    const std::vector<std::string> numbers = {"A'B\"C*%", "[X];--", "DROP TAB", "Ünïcø", "12345678"};
    DemoShop shop;
    const auto plain = shop.price("--order 24101 --schedule 100,400,500,500,1000,1000,2000");
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    for (const std::string& number : numbers) {
        SCOPED_TRACE(number);
        std::string literal;
        for (const char c : number)
            literal += c == '\'' ? std::string("''") : std::string(1, c);
        std::string copy = "CREATE TEMP TABLE t AS SELECT * FROM ORDERS WHERE rowid=1; UPDATE t SET ORDERNO='" +
                           literal + "'; INSERT INTO ORDERS SELECT * FROM t; DROP TABLE t;";
        for (const std::string table : {"INKSELECTIONS", "VENDORSELECTIONS", "CAMERASELECTIONS", "SCANSELECTIONS"})
            copy += "CREATE TEMP TABLE x AS SELECT * FROM " + table + " WHERE ORDERNO='24101'; UPDATE x SET ORDERNO='" +
                    literal + "'; INSERT INTO " + table + " SELECT * FROM x; DROP TABLE x;";
        copy += "CREATE TEMP TABLE b AS SELECT * FROM BINDERYSELECTIONS WHERE ORDERNO='24101'; UPDATE b SET "
                "BINDERYSELECTIONID=NULL, ORDERNO='" + literal + "'; INSERT INTO BINDERYSELECTIONS SELECT * FROM b;";
        shop.sql(copy);
        const std::string before = shop.sql("SELECT * FROM ORDERS");
        const auto hostile = shop.price("--order " + shellQuoted(number) + " --schedule 100,400,500,500,1000,1000,2000");
        EXPECT_EQ(hostile.exitCode, 0) << hostile.err;
        // The same prices under a heading that names the order as it is.
        const std::size_t heading = hostile.out.find('\n');
        EXPECT_EQ(hostile.out.substr(0, hostile.out.find(" part 1, quote: ")), number);
        EXPECT_EQ(hostile.out.substr(heading), plain.out.substr(plain.out.find('\n')));
        EXPECT_EQ(shop.sql("SELECT * FROM ORDERS"), before);
    }
}

TEST(Failures, OddSchedulesNeitherHangNorOverflow)
{
    DemoShop shop;
    const std::vector<std::string> schedules = {
        "100,0,200,0,300,0,400",           // steps of 0
        "100,-25,200,-5,300,0,400",        // steps below 0
        "500,25,200,100,100,100,50",       // each quantity below the one before
        "2147483500,100,2147483600,100,2147483640,5,2147483647", // at the 32-bit limit
    };
    for (const std::string& schedule : schedules) {
        SCOPED_TRACE(schedule);
        const auto run = shop.price("--order 24101 --schedule " + schedule);
        EXPECT_LT(run.exitCode, 128) << "ended by a signal or the time limit: " << run.err;
        EXPECT_EQ(shop.sql("SELECT PRESSQTY FROM Orders WHERE rowid=1"), "2500\n");
    }
}

TEST(Failures, DamagedPriceDataFilesAreReadWithoutACrash)
{
    testsupport::TemporaryFolder folder;
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 131) % 256);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"binary garbage", garbage},
        {"one very long line", std::string(1 << 20, '9')},
        {"thousands of items", [] { std::string s; for (int i = 0; i < 5000; ++i) s += std::to_string(i) + ","; return s; }()},
        {"thousands separators", "1,000\r\n25\r\n2,000\r\n"},
        {"no final newline", "100\r\n25\r\n500"},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        testsupport::writeFile(folder.path() + "/PriceData.dta", bytes);
        pricing::PriceParameters parameters;
        EXPECT_NO_THROW(pricing::loadPriceData(folder.path(), parameters));
        EXPECT_EQ(testsupport::readFile(folder.path() + "/PriceData.dta"), bytes);
    }
}

// The category file as a shop may leave it: edited by hand, damaged, or grown over years. Each is read
// item by item (an item ends at a comma or a line end, blanks around it are dropped, quotes are taken off)
// and left exactly as it was.
TEST(Failures, DamagedCategoryFilesAreReadByTheItemRules)
{
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 131) % 256);
    std::string manyLines;
    std::vector<std::string> manyNames;
    for (int i = 1; i <= 5000; ++i) {
        manyNames.push_back("Category " + std::to_string(i));
        manyLines += manyNames.back() + "\r\n";
    }
    // Nearly as long as a category file may be read: room is left for a short line after it.
    const std::string longName(platform::kSmallFileLimit - 64, 'L');
    struct Case
    {
        const char* why;
        std::string bytes;
        std::vector<std::string> categories;
    };
    const std::vector<Case> cases = {
        {"control bytes, a NUL and high bytes stay in their item", std::string("\xff\xfe" "A\0B\r\n\x01,\x7f", 10),
         {std::string("\xff\xfe" "A\0B", 5), "\x01", "\x7f"}},
        {"one very long line", longName, {longName}},
        {"a very long line then a short one", longName + "\r\nForms\r\n", {longName, "Forms"}},
        {"thousands of lines, in file order", manyLines, manyNames},
        {"no final line end", "Brochures\r\nFlyers", {"Brochures", "Flyers"}},
        {"a comma splits a name in two", "Cards, Business\r\n", {"Cards", "Business"}},
        {"a quoted name keeps its comma", "\"Cards, Business\"\r\nForms\r\n", {"Cards, Business", "Forms"}},
        {"blanks around a name are dropped", "  Letterheads \t\r\n", {"Letterheads"}},
        {"empty lines give no category", "\r\n\r\nFlyers\r\n\r\n", {"Flyers"}},
        {"line ends of other systems", "Flyers\nForms\rPads", {"Flyers", "Forms", "Pads"}},
        {"an unclosed quote runs to the end of the file", "\"Flyers\r\nForms", {"Flyers\r\nForms"}},
        {"an empty file", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        testsupport::TemporaryFolder folder;
        const std::string file = pricing::categoriesPath(folder.path());
        testsupport::writeFile(file, c.bytes);
        std::vector<std::string> read;
        EXPECT_NO_THROW(read = pricing::readCategories(folder.path()));
        EXPECT_EQ(read, c.categories);
        EXPECT_EQ(testsupport::readFile(file), c.bytes) << "reading must leave the file as it was";
    }

    // Binary garbage: no rule to check item by item, but it reads without a crash and stays as it was.
    testsupport::TemporaryFolder folder;
    testsupport::writeFile(pricing::categoriesPath(folder.path()), garbage);
    EXPECT_NO_THROW((void)pricing::readCategories(folder.path()));
    EXPECT_EQ(testsupport::readFile(pricing::categoriesPath(folder.path())), garbage);

    // A folder where the file should be is read as no categories, without a message.
    testsupport::TemporaryFolder blocked;
    fs::create_directory(pricing::categoriesPath(blocked.path()));
    EXPECT_TRUE(pricing::readCategories(blocked.path()).empty());
}

// A category saved into a file whose last line has no line end becomes a line of its own: it is not
// glued onto the last category.
TEST(Failures, SavingACategoryAfterALastLineWithoutALineEndKeepsBothCategories)
{
    struct Case
    {
        const char* why;
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"no final line end", "Brochures\r\nFlyers", "Brochures\r\nFlyers\r\nPosters\r\n"},
        {"a final line end", "Brochures\r\nFlyers\r\n", "Brochures\r\nFlyers\r\nPosters\r\n"},
        {"a final LF only", "Flyers\n", "Flyers\nPosters\r\n"},
        {"an empty file", "", "Posters\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        testsupport::TemporaryFolder folder;
        const std::string file = pricing::categoriesPath(folder.path());
        testsupport::writeFile(file, c.before);
        EXPECT_TRUE(pricing::appendCategory(folder.path(), "Posters"));
        EXPECT_EQ(testsupport::readFile(file), c.after);
    }
    testsupport::TemporaryFolder fresh;
    EXPECT_TRUE(pricing::appendCategory(fresh.path(), "Posters"));
    EXPECT_EQ(testsupport::readFile(pricing::categoriesPath(fresh.path())), "Posters\r\n");
}

} // namespace
