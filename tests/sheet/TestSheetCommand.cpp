// "pricebook sheet": the same pricing run as "pricebook price", written as the counter sheet.
#include "cli/SheetCommand.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/PriceCommand.h"
#include "pricing/PriceSettings.h"
#include "tests/cli/CapturedOutput.h"
#include "tests/sheet/PdfText.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestDatabase.h"

namespace {

using testing::HasSubstr;
using testing::StartsWith;
using testsupport::TestDatabase;

using Outcome = testsupport::CommandOutcome;
using testsupport::runCommand;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// The price command's lines of quantity and price, below its two lines of heading.
std::vector<std::string> priceLines(const std::string& text)
{
    std::vector<std::string> result = lines(text);
    result.erase(result.begin(), result.begin() + std::min<std::ptrdiff_t>(2, std::ssize(result)));
    return result;
}

// The price rows: the lines between the second and third dash rules.
std::vector<std::string> priceRows(const std::string& text)
{
    std::vector<std::string> rows;
    int rules = 0;
    for (const std::string& line : lines(text)) {
        if (line.rfind("  ---", 0) == 0)
            ++rules;
        else if (rules == 2)
            rows.push_back(line);
    }
    return rows;
}

class SheetCommand : public testing::Test
{
protected:
    Outcome sheet(std::vector<std::string> args)
    {
        args.insert(args.begin(), m_db.folder());
        args.push_back("--program-dir");
        args.push_back(m_program.path());
        return runCommand(cli::SheetCommand(), args);
    }
    Outcome price(std::vector<std::string> args)
    {
        args.insert(args.begin(), m_db.folder());
        args.push_back("--program-dir");
        args.push_back(m_program.path());
        return runCommand(cli::PriceCommand(), args);
    }
    TestDatabase m_db{testsupport::demoShopSql(), false};
    testsupport::TemporaryFolder m_program;
    testsupport::TemporaryFolder m_out;
};

// The default schedule's 38 prices of the demo letterhead, in the window's two column pairs: the sheet's
// rows are the very lines "pricebook price" prints, lines 1-19 on the left and 20-38 on the right.
TEST_F(SheetCommand, TheTextSheetHoldsThePriceRunsLinesInTwoColumnPairs)
{
    const Outcome priced = price({"--order", "24101"});
    ASSERT_EQ(priced.code, 0) << priced.err;
    const std::vector<std::string> list = priceLines(priced.out);
    ASSERT_EQ(list.size(), 38u);

    const Outcome got = sheet({"--order", "24101", "--text", "--typeface", "courier", "--category", "Letterheads"});
    ASSERT_EQ(got.code, 0) << got.err;
    const std::vector<std::string> text = lines(got.out);
    ASSERT_GE(text.size(), 6u);
    EXPECT_EQ(text[0], "       Counter Price Book");
    EXPECT_EQ(text[2], "  Category:  Letterheads");
    EXPECT_EQ(text[4], "  Ref#: Q-24101");
    EXPECT_THAT(text[5], StartsWith("  Date: "));
    EXPECT_THAT(got.out, HasSubstr("  Quantity       Price                Quantity       Price\n"));

    const std::vector<std::string> rows = priceRows(got.out);
    ASSERT_EQ(rows.size(), 19u);
    // 100 to 500 by 25 are lines 1-17, 600 to 2,000 by 100 lines 18-32, 2,500 to 5,000 by 500 lines 33-38.
    // Row 1: line 1 on the left (100), line 20 on the right (800); the right quantity at column 37.
    EXPECT_THAT(rows[0], StartsWith("  100 "));
    EXPECT_EQ(rows[0].substr(36, 6), "  800 ");
    EXPECT_THAT(rows[18], StartsWith("  700 "));
    EXPECT_EQ(rows[18].substr(36, 7), "  5,000");
    // Each price is the price command's, as both print it with the sheet's thousands format.
    const std::string first = list[0].substr(list[0].find('$'));
    EXPECT_EQ(rows[0].substr(17, first.size()), first);
    const std::string last = list[37].substr(list[37].find('$'));
    EXPECT_EQ(rows[18].substr(53, last.size()), last);
}

// The PDF is on the paper asked for with --paper, else on the system's; the run restores the order.
TEST_F(SheetCommand, ThePdfSheetIsOnePageOnItsPaperAndTheOrderGetsItsQuantityBack)
{
    if (!testsupport::havePdfTools())
        GTEST_SKIP() << "poppler-utils is not installed";
    struct Case
    {
        std::vector<std::string> paper; // the option, if any
        const char* papersize;          // the system's paper (PAPERSIZE)
        const char* named;
        const char* pdfinfo;
    };
    const Case cases[] = {
        {{}, "letter", "Letter", "612 x 792 pts (letter)"},
        {{}, "a4", "A4", "595 x 842 pts (A4)"},
        {{"--paper", "a4"}, "letter", "A4", "595 x 842 pts (A4)"},
        {{"--paper=letter"}, "a4", "Letter", "612 x 792 pts (letter)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.named) + " with PAPERSIZE=" + c.papersize);
        const testsupport::ScopedEnvironment system({{"PAPERSIZE", c.papersize}});
        const std::string pdf = m_out.path() + "/24101.pdf";
        std::vector<std::string> args = {"--order", "24101", "--pdf", pdf};
        args.insert(args.end(), c.paper.begin(), c.paper.end());
        const Outcome got = sheet(args);
        ASSERT_EQ(got.code, 0) << got.err;
        // Before it, what the list's checks find in 24101's prices.
        EXPECT_THAT(got.err, testing::EndsWith("\npricebook: the price sheet is in " + pdf + " (1 page, " + c.named + ")\n"));
        EXPECT_EQ(testsupport::pdfPages(pdf), 1);
        EXPECT_THAT(testsupport::commandOutput("pdfinfo '" + pdf + "'"), HasSubstr(c.pdfinfo));
        EXPECT_THAT(testsupport::pdfText(pdf), HasSubstr("Counter Price Book"));
    }

    // The run restored the order: pricing it again gives the same 38 lines.
    const Outcome again = price({"--order", "24101"});
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(priceLines(again.out).size(), 38u);
}

// Without --typeface the price-data file's typeface prints; without a file, Times Roman.
TEST_F(SheetCommand, TheTypefaceComesFromThePriceDataFile)
{
    const Outcome times = sheet({"--order", "24101", "--text", "--qty", "500"});
    ASSERT_EQ(times.code, 0) << times.err;
    EXPECT_EQ(lines(times.out)[0], std::string(13, ' ') + "Counter Price Book");

    pricing::PriceParameters parameters;
    parameters.typeface = pricing::Typeface::SansSerif;
    ASSERT_TRUE(pricing::writePriceData(m_db.folder(), pricing::priceDataFrom(parameters, {})));
    const Outcome sans = sheet({"--order", "24101", "--text", "--qty", "500"});
    ASSERT_EQ(sans.code, 0) << sans.err;
    EXPECT_EQ(lines(sans.out)[0], std::string(11, ' ') + "Counter Price Book");

    const Outcome courier = sheet({"--order", "24101", "--text", "--qty", "500", "--typeface", "courier"});
    EXPECT_EQ(lines(courier.out)[0], std::string(7, ' ') + "Counter Price Book");
}

TEST_F(SheetCommand, WrongArgumentsAreExitCode2)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--order", "24101"},                                  // no output
        {"--order", "24101", "--text", "--pdf", "x.pdf"},      // two outputs
        {"--order", "24101", "--text", "--typeface", "arial"}, // no such typeface
        {"--order", "24101", "--text", "--format", "json"},    // a price option only
        {"--order", "24101", "--pdf", ""},
    };
    for (const auto& args : cases) {
        const Outcome got = sheet(args);
        EXPECT_EQ(got.code, 2) << args.back();
        EXPECT_THAT(got.err, StartsWith("pricebook sheet: ")) << args.back();
        EXPECT_THAT(got.err, testing::EndsWith(" (see \"pricebook sheet --help\")\n")) << args.back();
        EXPECT_EQ(std::count(got.err.begin(), got.err.end(), '\n'), 1) << "one line, not the help";
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_out.path()));
}

TEST_F(SheetCommand, AnUnwritableFileIsNamedAndTheRunStillRestoresTheOrder)
{
    const std::string pdf = m_out.path() + "/no such folder/24101.pdf";
    const Outcome got = sheet({"--order", "24101", "--qty", "500", "--pdf", pdf});
    EXPECT_EQ(got.code, 1);
    EXPECT_THAT(got.err, HasSubstr("could not be written to " + pdf));
    EXPECT_FALSE(std::filesystem::exists(pdf));
    const Outcome priced = price({"--order", "24101", "--qty", "500"});
    EXPECT_EQ(priced.code, 0) << priced.err;
}

// A list with a quantity the engine cannot price (2,000,000,000 overflows) is no price sheet: none is written
// unless asked for with --incomplete, and then its face names the missing quantity above the prices.
TEST_F(SheetCommand, AnIncompleteListGivesASheetOnlyWhenAskedAndSaysSoOnItsFace)
{
    const std::vector<std::string> overflowing = {"--order", "24101", "--schedule", "100,100,200,100,300,1999999700,2000000000"};
    const std::string pdf = m_out.path() + "/24101.pdf";
    std::vector<std::string> args = overflowing;
    args.insert(args.end(), {"--pdf", pdf});
    const Outcome refused = sheet(args);
    EXPECT_EQ(refused.code, 5);
    EXPECT_THAT(refused.err, HasSubstr("1 quantity could not be priced: 2000000000 (Overflow)"));
    EXPECT_THAT(refused.err, HasSubstr("no sheet was written"));
    EXPECT_FALSE(std::filesystem::exists(pdf));

    args = overflowing;
    args.insert(args.end(), {"--text", "--incomplete"});
    const Outcome written = sheet(args);
    EXPECT_EQ(written.code, 5) << written.err;
    const std::vector<std::string> text = lines(written.out);
    const auto notice = std::find(text.begin(), text.end(), "  NOT COMPLETE: no price for 2000000000");
    ASSERT_NE(notice, text.end()) << written.out;
    EXPECT_EQ(priceRows(written.out).size(), 2u) << "100, 200 and 300 in two rows";
    EXPECT_LT(notice - text.begin(), std::find_if(text.begin(), text.end(), [](const std::string& line) {
                                         return line.rfind("  ---", 0) == 0;
                                     }) - text.begin())
        << "the notice stands above the prices";
}

TEST_F(SheetCommand, AnOrderThatIsNotThereWritesNothing)
{
    const std::string pdf = m_out.path() + "/x.pdf";
    const Outcome got = sheet({"--order", "99999", "--pdf", pdf});
    EXPECT_EQ(got.code, 4);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace
