#include "cli/PriceCommand.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/Report.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "pricing/OrderSelection.h"
#include "pricing/PricingRun.h"
#include "tests/cli/CapturedOutput.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestNames.h"
#include "tests/support/Watchdog.h"

namespace {

using testing::HasSubstr;
using testing::StartsWith;
using testsupport::TestDatabase;

using Outcome = testsupport::CommandOutcome;

// Runs the command in this process with its standard output and error caught.
Outcome price(const std::vector<std::string>& args)
{
    return testsupport::runCommand(cli::PriceCommand(), args);
}

class PriceCommand : public testing::Test
{
protected:
    std::vector<std::string> withProgram(std::vector<std::string> args) const
    {
        args.push_back("--program-dir");
        args.push_back(m_program.path());
        return args;
    }
    testsupport::TemporaryFolder m_program;
};

// 100, 200, 300: 400 is above 350, then 400 - 100 + 500 = 800 is above 400.
const std::string kThreeQuantities = "100,100,300,100,350,500,400";

// The prices of the window's run, each quantity and price as the sheet prints them, in columns under what
// was priced.
TEST_F(PriceCommand, PrintsThePricesOfTheWindowsRunUnderWhatWasPriced)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    const Outcome got = price(withProgram({db.folder(), "--order", "24101", "--schedule", kThreeQuantities}));
    EXPECT_EQ(got.code, 0) << got.err;
    EXPECT_EQ(got.err, "") << "no progress when standard error is no terminal";

    // The same run through the pricing objects, as the window makes it.
    pricing::PricingInputs inputs;
    inputs.dataFolder = db.folder();
    inputs.order = *pricing::selectOrder(db.path(), "24101");
    pricing::PriceParameters p;
    p.qty1 = "100", p.jump1 = "100", p.qty2 = "300", p.jump2 = "100", p.qty3 = "350", p.jump3 = "500", p.qty4 = "400";
    inputs.request = std::get<pricing::PriceRequest>(pricing::makePriceRequest(inputs.order, inputs.order.quoteOrJob, p));
    pricing::PricingRun run(inputs);
    const pricing::PricingResult result = run.run();
    ASSERT_EQ(result.lines.size(), 3u);
    // The quantity right-aligned under "Quantity", the price under "Price" (12 columns, 2 apart); prices
    // under $1,000 read as the window's list shows them.
    std::string expected = "24101 part 1, quote: 100 by 100 to 300, by 100 to 350, by 500 to 400; not rounded\n"
                           "Quantity         Price\n";
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string price = result.lines[i].substr(result.lines[i].find('$'));
        expected += "     " + std::to_string(100 * (i + 1)) + std::string(14 - price.size(), ' ') + price + "\n";
    }
    EXPECT_EQ(got.out, expected);

    // Thousands as the sheet prints them: "50,000" and "$1,234.56", where the window's list shows "$1234.56".
    const Outcome large = price(withProgram({db.folder(), "--order", "24101", "--qty", "50000", "--round", "dollar"}));
    EXPECT_EQ(large.code, 0) << large.err;
    EXPECT_THAT(large.out, testing::MatchesRegex("24101 part 1, quote: 50000 only; rounded to 1.00 down\n"
                                                 "Quantity         Price\n"
                                                 "  50,000 +\\$[0-9]{1,3},[0-9]{3}\\.00\n"));
}

// The message says what happened; --verbose adds the database's own words and the SQL text below it.
TEST_F(PriceCommand, TheSqlBehindAMessageIsShownOnlyWithVerbose)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    db.exec("DROP TABLE PRESSES;");
    for (const bool verbose : {false, true}) {
        SCOPED_TRACE(verbose ? "--verbose" : "plain");
        std::vector<std::string> args = withProgram({db.folder(), "--order", "24101", "--schedule", kThreeQuantities});
        if (verbose)
            args.push_back("--verbose");
        const Outcome got = price(args);
        cli::setVerbose(false);
        EXPECT_EQ(got.code, 5) << got.err;
        EXPECT_THAT(got.err, HasSubstr("3 quantities could not be priced: 100, 200, 300 (The database engine cannot "
                                       "find the input table or query 'PRESSES'."));
        EXPECT_EQ(got.err.find("SQL: ") != std::string::npos, verbose) << got.err;
        EXPECT_EQ(got.err.find("\n    100, 200, 300: no such table: PRESSES\n    SQL: SELECT") != std::string::npos,
                  verbose)
            << got.err;
    }
}

// Schedules from the command line and the price-data file, by the window's rules and in its words: whole
// numbers, each quantity above the one before, the first two steps above 0, at most 100,000 quantities
// without --force. Anything else stops with exit code 2 before the shop database is touched, naming the value.
TEST_F(PriceCommand, RefusesAScheduleItCannotPriceNamingTheValue)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    const std::string abovePrevious = "\": Quantities Must Be Greater Than Zero or Greater than Previous Quantity!";
    struct Case
    {
        std::vector<std::string> options;
        std::string saved; // PriceData.dta, one item a line; "" for none
        std::string message;
    };
    const Case cases[] = {
        {{"--schedule", "-100,50,100,0,0,0,0"}, "",
         "Start Quantity takes a whole number, such as 1000 or 1,000, not \"-100\"."},
        {{"--schedule", "100,abc,500,100,2000,500,5000"}, "", "Jump by (after the start quantity) takes a whole number"},
        {{"--schedule", "100,25,inf,100,2000,500,5000"}, "", "2nd Quantity takes a whole number"},
        {{"--schedule", "100,25,500,,2000,500,5000"}, "", "Jump by (after the 2nd quantity) takes a whole number"},
        {{"--qty3", "1e3"}, "", "3rd Quantity takes a whole number, such as 1000 or 1,000, not \"1e3\"."},
        {{"--jump2", "12.5"}, "", "not \"12.5\""},
        {{"--schedule", "600,25,500,100,2000,500,5000"}, "", "2nd Quantity \"500" + abovePrevious},
        {{"--qty4", "1500"}, "", "Final Quantity \"1500" + abovePrevious},
        // A quantity equal to the one before, refused as the window refuses it.
        {{"--schedule", "100,100,300,100,300,100,500"}, "", "3rd Quantity \"300" + abovePrevious},
        // No quantity at all is never an empty success.
        {{"--schedule", "100,0,100,0,100,0,100"}, "", "2nd Quantity \"100" + abovePrevious},
        {{"--schedule", "100,0,200,10,300,10,400"}, "",
         "Jump by (after the start quantity) \"0\": Quantities Must Be Greater Than Zero!"},
        // A falling schedule saved in the price-data file.
        {{}, "100\r\n25\r\n500\r\n100\r\n2000\r\n500\r\n5000\r\n1\r\n0\r\n1\r\n", "2nd Quantity \"25" + abovePrevious},
        {{"--schedule", "1,1,200000,1,200001,1,200002"}, "",
         "the schedule has 200002 quantities; more than 100000 are priced only with --force"},
    };
    const std::string before = testsupport::readFile(db.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string saved = db.folder() + "/PriceData.dta";
        if (c.saved.empty())
            std::filesystem::remove(saved);
        else
            testsupport::writeFile(saved, c.saved);
        std::vector<std::string> args = withProgram({db.folder(), "--order", "24101"});
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome got = price(args);
        EXPECT_EQ(got.code, 2);
        EXPECT_THAT(got.err, HasSubstr(c.message));
        EXPECT_EQ(got.out, "");
    }
    EXPECT_EQ(testsupport::readFile(db.path()), before) << "nothing was written";
    // With --force the long schedule goes to the run, which here stops at once: the quote asked for as a job.
    const Outcome forced = price(
        withProgram({db.folder(), "--order", "24101", "--job", "--schedule", "1,1,200000,1,200001,1,200002", "--force"}));
    EXPECT_EQ(forced.code, 4) << forced.err;
}

// A price-data file that is no ordinary file (here a FIFO) is named and passed over: the run uses the
// window's initial schedule instead of waiting on it.
TEST_F(PriceCommand, APriceDataFileThatCannotBeReadIsNamedAndThePricingGoesOn)
{
    const testsupport::Watchdog watchdog(30);
    TestDatabase db(testsupport::demoShopSql(), false);
    const std::string file = db.folder() + "/PriceData.dta";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const Outcome got = price(withProgram({db.folder(), "--order", "24101"}));
    EXPECT_EQ(got.code, 0) << got.err;
    EXPECT_THAT(got.err, HasSubstr(file));
    EXPECT_THAT(got.err, HasSubstr("The window's initial schedule is used."));
    EXPECT_EQ(std::count(got.out.begin(), got.out.end(), '\n'), 2 + 38) << "the heading and 38 prices";
}

// Order numbers and descriptions reach the terminal with their control characters shown, not obeyed.
TEST(Printable, ShowsControlCharactersAndKeepsLetters)
{
    EXPECT_EQ(cli::printable("24101\x1b]0;owned\x07 Caf\xc3\xa9"), "24101\\x1b]0;owned\\x07 Caf\xc3\xa9");
    EXPECT_EQ(cli::printable("A\xc2\x9b" "2J\x7f\xff"), "A\\u009b2J\\x7f\\xff");
}

TEST_F(PriceCommand, TakesTheScheduleAndRoundingFromThePriceDataFile)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    // Start 1000, second 1001 by 500, third 1002 by 600, final 1003 by 100; Up, 1.00, Courier.
    testsupport::writeFile(db.folder() + "/PriceData.dta", "1000\r\n1001\r\n1002\r\n1003\r\n500\r\n600\r\n100\r\n0\r\n2\r\n0\r\n");
    const Outcome got = price(withProgram({db.folder(), "--order", "24101", "--format", "csv"}));
    EXPECT_EQ(got.code, 0) << got.err;
    // Only 1000 is priced: 1500 > 1001; 1500 - 500 + 600 = 1600 > 1002; 1600 - 600 + 100 = 1100 > 1003.
    // Rounded up to the next dollar, so the price ends in .00.
    EXPECT_THAT(got.out, testing::MatchesRegex("quantity,price\n1000,[0-9]+\\.00\n"));
}

TEST_F(PriceCommand, JsonHoldsTheLinesTheResultsAndTheSummary)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    const Outcome got = price(withProgram({"--data", db.folder(), "--order", "24101", "--qty", "250", "--format", "json"}));
    EXPECT_EQ(got.code, 0) << got.err;
    // Each quantity is written as it is priced; the lines follow them.
    EXPECT_THAT(got.out, StartsWith("{\"order\": \"24101\",\n \"part\": 1,\n \"quote_or_job\": \"Q\",\n \"quantities\": [\n  "
                                    "{\"quantity\": 250, \"price\": "));
    EXPECT_THAT(got.out, HasSubstr("\"lines\": [\"250 "));
    EXPECT_THAT(got.out, HasSubstr("\"ResStockCost\": "));
    EXPECT_THAT(got.out, HasSubstr("\"PressSheetsToOrder\": "));
    EXPECT_THAT(got.out, HasSubstr("\"total_retail\": "));
    EXPECT_THAT(got.out, HasSubstr("\"skipped\": []"));
    // The summary's texts without the blanks that padded them to the old fixed widths.
    EXPECT_THAT(got.out, HasSubstr("\"order_number\": \"24101\", "));
    EXPECT_THAT(got.out, HasSubstr("\"account_name\": \"Harbor View Dental\", "));
    EXPECT_THAT(got.out, testing::Not(testing::ContainsRegex(" \"[,}]"))) << "a text ending in a blank";
}

// The demo orders' lists as the checks see them, on the 38 quantities from 100 to 5,000: the postcards printed
// and mailed outside cost the same at every quantity, the letterhead costs more a piece at 5,000 than at
// 4,500, the forms give nothing to look at. The JSON carries them, standard error says them.
TEST_F(PriceCommand, TheListsChecksGoToTheJsonAndStandardError)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    const struct
    {
        const char* order;
        const char* json;   // the checks of the JSON, from their opening bracket
        const char* stderr; // empty when nothing is said
    } cases[] = {
        {"24106",
         "\"checks\": [\n  {\"kind\": \"same-price\", \"quantities\": [100, 125, 150, 175, 200, 225, 250, 275, 300, "
         "325, 350, 375, 400, 425, 450, 475, 500, 600, 700, 800, 900, 1000, 1100, 1200, 1300, 1400, 1500, 1600, 1700, "
         "1800, 1900, 2000, 2500, 3000, 3500, 4000, 4500, 5000],\n   \"text\": \"Every quantity from 100 to 5,000 has "
         "the same price, $2,629.00.\"}]}\n",
         "pricebook: check the prices: Every quantity from 100 to 5,000 has the same price, $2,629.00.\n"},
        {"24101",
         "\"checks\": [\n  {\"kind\": \"dearer-per-piece\", \"quantities\": [5000],\n   \"text\": \"5,000 costs more "
         "per piece than 4,500: $0.0613 against $0.0596 each.\"}]}\n",
         "pricebook: check the prices: 5,000 costs more per piece than 4,500: $0.0613 against $0.0596 each.\n"},
        {"24103", "\"checks\": []}\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        const Outcome got = price(withProgram({db.folder(), "--order", c.order, "--format", "json"}));
        ASSERT_EQ(got.code, 0) << got.err;
        const std::size_t checks = got.out.find("\"checks\": [");
        ASSERT_NE(checks, std::string::npos);
        EXPECT_EQ(got.out.substr(checks), c.json);
        EXPECT_EQ(got.err, c.stderr);
    }
}

TEST_F(PriceCommand, TheOrderRowGetsItsOwnQuantityBack)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    ASSERT_EQ(price(withProgram({db.folder(), "--order", "24101", "--qty", "777"})).code, 0);
    const data::Recordset row =
        data::Database::open(db.path()).openRecordset("SELECT PRESSQTY, PRINTPRICING FROM ORDERS WHERE ORDERNO = '24101'");
    EXPECT_EQ(row.field("PRESSQTY").number(), 2500);
    EXPECT_TRUE(row.field("PRINTPRICING").toBoolean());
}

TEST_F(PriceCommand, SkippedQuantitiesAreNamedWithExitCode5)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    db.exec("DROP TABLE VENDORSELECTIONS;");
    const Outcome got = price(withProgram({db.folder(), "--order", "24101", "--schedule", kThreeQuantities}));
    EXPECT_EQ(got.code, 5);
    EXPECT_EQ(got.out, "");
    EXPECT_THAT(got.err, HasSubstr("3 quantities could not be priced: 100, 200, 300 ("));
}

// An order that is not there is exit code 4, and so is a quote asked for as a job or a job as a quote: that
// one is told by the mark its row has, as the window tells it.
TEST_F(PriceCommand, AnOrderNotFoundIsExitCode4AndAWrongMarkIsNamed)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    const struct
    {
        std::vector<std::string> key;
        std::string says;
    } cases[] = {
        {{"--order", "99999"}, "order 99999 was not found in " + db.path()},
        {{"--order", "24101", "--part", "2"}, "order 24101 part 2 was not found in " + db.path()},
        {{"--order", "24103", "--quote"},
         "Order 24103 part 1 is not a quote (Q) in the shop database: its row is marked J. Nothing was priced."},
        {{"--order", "24101", "--part", "1", "--job"},
         "Order 24101 part 1 is not a job (J) in the shop database: its row is marked Q. Nothing was priced."},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {db.folder()};
        args.insert(args.end(), c.key.begin(), c.key.end());
        const Outcome got = price(withProgram(args));
        EXPECT_EQ(got.code, 4) << c.says;
        EXPECT_EQ(got.err, "pricebook: " + c.says + "\n");
        EXPECT_EQ(got.out, "");
    }
}

TEST_F(PriceCommand, AMissingOrDamagedDatabaseIsExitCode3AndNamesTheFile)
{
    testsupport::TemporaryFolder folder;
    Outcome got = price({folder.path(), "--order", "24101"});
    EXPECT_EQ(got.code, 3);
    EXPECT_THAT(got.err, HasSubstr(folder.path() + "/vmdata.mdb"));

    testsupport::writeFile(folder.path() + "/vmdata.mdb", "not a database at all");
    got = price({folder.path(), "--order", "24101"});
    EXPECT_EQ(got.code, 3);
    EXPECT_THAT(got.err, HasSubstr(folder.path() + "/vmdata.mdb"));

    got = price({folder.path() + "/nowhere", "--order", "24101"});
    EXPECT_EQ(got.code, 3);
    EXPECT_THAT(got.err, HasSubstr("nowhere"));
}

struct UsageCase
{
    const char* why;
    std::vector<std::string> args;
    const char* says;
};

const UsageCase kUsage[] = {
    {"no data folder", {"--order", "24101"}, "no data folder"},
    {"no order", {"/tmp"}, "no order given"},
    {"an option without its value", {"/tmp", "--order"}, "--order needs a value"},
    {"an unknown rounding", {"/tmp", "--order", "1", "--round", "half"}, "--round is none"},
    {"a quantity of 0", {"/tmp", "--order", "1", "--qty", "0"}, "--qty needs a whole quantity"},
    {"a quantity that is no whole number", {"/tmp", "--order", "1", "--qty", "12.5"}, "--qty needs a whole quantity"},
    {"a schedule of six", {"/tmp", "--order", "1", "--schedule", "1,2,3,4,5,6"}, "--schedule needs seven numbers"},
    {"an unknown format", {"/tmp", "--order", "1", "--format", "xml"}, "--format is text"},
    {"an unknown option", {"/tmp", "--order", "1", "--fast"}, "unknown option --fast"},
    {"an unknown short option", {"/tmp", "--order", "1", "-V"}, "unknown option -V"},
    {"two data folders", {"/tmp", "/var", "--order", "1"}, "more than one data folder"},
    {"a part beyond 16 bits", {"/tmp", "--order", "1", "--part", "40000"}, "--part needs"},
    {"a paper for the price lines", {"/tmp", "--order", "1", "--paper", "a4"}, "unknown option --paper"},
};

class PriceCommandUsage : public testing::TestWithParam<UsageCase>
{
};

TEST_P(PriceCommandUsage, IsExitCode2WithTheReason)
{
    const Outcome got = price(GetParam().args);
    EXPECT_EQ(got.code, 2) << GetParam().why;
    EXPECT_THAT(got.err, StartsWith("pricebook price: " + std::string(GetParam().says))) << GetParam().why;
    EXPECT_THAT(got.err, testing::EndsWith(" (see \"pricebook price --help\")\n")) << GetParam().why;
    EXPECT_EQ(got.out, "");
}

INSTANTIATE_TEST_SUITE_P(Pricing, PriceCommandUsage, testing::ValuesIn(kUsage),
                         [](const auto& info) { return testsupport::testName(info.param.why); });

TEST(PriceCommandHelp, SaysHowTheRunChangesTheOrderRow)
{
    const Outcome got = price({"--help"});
    EXPECT_EQ(got.code, 0);
    EXPECT_THAT(got.out, HasSubstr("changes the order's row in the shop database once"));
    EXPECT_THAT(got.out, HasSubstr("PRESSQTY is left as it is stored"));
    EXPECT_EQ(got.err, "");
}

} // namespace
