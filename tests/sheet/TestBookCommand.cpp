// "pricebook book": every page of the data folder's book priced by the run of "pricebook price" and printed
// as the single sheet prints it, behind a cover and the contents.
#include "cli/BookCommand.h"

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/DemoDataCommand.h"
#include "cli/PriceCommand.h"
#include "tests/cli/CapturedOutput.h"
#include "tests/sheet/PdfText.h"
#include "tests/support/TestDatabase.h"

namespace {

using testing::HasSubstr;
using testing::Not;
using testsupport::CommandOutcome;
using testsupport::runCommand;
using testsupport::TemporaryFolder;

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// The quantity and price pairs of a page, in list order: each row holds a line of the first half of the list
// on the left and one of the second half on the right. Thousands separators are dropped, so a sheet's
// "$1,234.50" and a list line's "$1234.50" compare equal.
std::vector<std::string> pricePairs(const std::string& page)
{
    static const std::regex pair(R"(([0-9][0-9,]*) +\$([0-9][0-9,]*\.[0-9][0-9]))");
    std::vector<std::string> left, right;
    for (const std::string& line : split(page, '\n')) {
        int n = 0;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), pair); it != std::sregex_iterator(); ++it, ++n) {
            std::string text = (*it)[1].str() + " $" + (*it)[2].str();
            std::erase(text, ',');
            (n == 0 ? left : right).push_back(text);
        }
    }
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

class BookCommand : public testing::Test
{
protected:
    void SetUp() override { cli::buildDemoShop(m_data.path(), false); }

    CommandOutcome book(std::vector<std::string> args)
    {
        args.insert(args.begin(), m_data.path());
        args.push_back("--program-dir");
        args.push_back(m_program.path());
        return runCommand(cli::BookCommand(), args);
    }
    CommandOutcome price(std::vector<std::string> args)
    {
        args.insert(args.begin(), m_data.path());
        args.push_back("--program-dir");
        args.push_back(m_program.path());
        return runCommand(cli::PriceCommand(), args);
    }
    std::string out(const std::string& name) const { return m_out.path() + "/" + name; }

    TemporaryFolder m_data;
    TemporaryFolder m_program;
    TemporaryFolder m_out;
};

// The demo book as one PDF: the cover, the contents, then the twelve pages grouped by category in the order
// the categories first come in the book. Each page's prices, read back from the PDF, are exactly the lines
// "pricebook price" gives for its order, and its foot carries its page number.
TEST_F(BookCommand, TheDemoBookPrintsEveryOrderWithThePriceRunsLines)
{
    if (!testsupport::havePdfTools())
        GTEST_SKIP() << "poppler-utils is not installed";
    const std::string pdf = out("book.pdf");
    const CommandOutcome got = book({"--pdf", pdf});
    ASSERT_EQ(got.code, 0) << got.err;
    EXPECT_THAT(got.err, HasSubstr("page 12 of 12"));
    EXPECT_EQ(testsupport::pdfPages(pdf), 14);

    const std::vector<std::string> pages = split(testsupport::pdfText(pdf), '\f');
    ASSERT_GE(pages.size(), 14u);
    EXPECT_THAT(pages[0], HasSubstr("Counter Price Book"));
    EXPECT_THAT(pages[0], testing::ContainsRegex("Pages: +12"));

    // Book order: 24101 (Letterheads), the brochures, 24103 (Forms) ...; grouped: every category's pages
    // together, in the order the category first appears.
    const struct
    {
        const char* reference;
        std::vector<std::string> priceArgs;
        const char* category;
    } kExpected[] = {
        {"Q-24101", {"--order", "24101", "--part", "1", "--quote"}, "Letterheads and Envelopes"},
        {"Q-24102", {"--order", "24102", "--part", "1", "--quote"}, "Brochures and Flyers"},
        {"Q-24102", {"--order", "24102", "--part", "2", "--quote"}, "Brochures and Flyers"},
        {"Q-O'NEIL-0", {"--order", "O'NEIL-01", "--part", "1", "--quote"}, "Brochures and Flyers"},
        {"Q-24106", {"--order", "24106", "--part", "1", "--quote"}, "Brochures and Flyers"},
        {"Q-24108", {"--order", "24108", "--part", "1", "--quote"}, "Brochures and Flyers"},
        {"J-24103", {"--order", "24103", "--part", "1", "--job"}, "Business Forms"},
        {"J-24109", {"--order", "24109", "--part", "1", "--job"}, "Business Forms"},
        {"J-24104", {"--order", "24104", "--part", "1", "--job"}, "Booklets and Newsletters"},
        {"J-24105", {"--order", "24105", "--part", "1", "--job"}, "Business Cards"},
        {"Q-24110", {"--order", "24110", "--part", "1", "--quote"}, "Business Cards"},
        {"J-24107", {"--order", "24107", "--part", "1", "--job"}, "Notepads"},
    };
    const std::string& contents = pages[1];
    std::size_t at = 0;
    for (std::size_t k = 0; k < std::size(kExpected); ++k) {
        const auto& e = kExpected[k];
        const std::string number = std::to_string(k + 1);
        SCOPED_TRACE(e.reference + std::string(" page ") + number);
        // The contents list it under its category, with its page number, in this order.
        if (k == 0 || kExpected[k - 1].category != std::string(e.category)) {
            const std::size_t heading = contents.find(std::string(e.category) + "\n", at);
            ASSERT_NE(heading, std::string::npos) << contents;
            at = heading;
        }
        const std::smatch found = [&] {
            std::smatch m;
            const std::string rest = contents.substr(at);
            std::regex_search(rest, m, std::regex("\n *" + number + " +" + e.reference + " +[A-Z]"));
            return m;
        }();
        ASSERT_FALSE(found.empty()) << contents;
        at += found.position(0) + found.length(0);

        const std::string& page = pages[k + 2];
        EXPECT_THAT(page, HasSubstr("Ref#: " + std::string(e.reference)));
        EXPECT_THAT(page, HasSubstr(e.category));
        EXPECT_THAT(page, testing::ContainsRegex("Page " + number + "\\s*$"));

        std::vector<std::string> args = e.priceArgs;
        args.insert(args.end(), {"--round", "none", "--down"});
        const CommandOutcome priced = price(args);
        ASSERT_EQ(priced.code, 0) << priced.err;
        std::vector<std::string> expected;
        for (std::string line : split(priced.out, '\n')) {
            const std::size_t dollar = line.find('$');
            expected.push_back(line.substr(0, line.find(' ')) + " " + line.substr(dollar));
        }
        ASSERT_EQ(expected.size(), 38u);
        EXPECT_EQ(pricePairs(page), expected);
    }
}

// Pages that cannot be priced are not printed: the contents list each with its reason, the rest of the
// book still prints, and the command ends with exit 5.
TEST_F(BookCommand, PagesThatCannotBePricedAreListedWithTheReason)
{
    const std::string small = "100,100,300,100,300,100,300";
    testsupport::writeFile(m_data.path() + "/PriceBook.dat",
                           "24101,1,Q,Letterheads," + small + "\r\n" + // priced
                               "99999,1,Q,Letterheads," + small + "\r\n" + // no such order
                               "24103,1,Q,Forms," + small + "\r\n" +       // 24103 is a job
                               "24105,1,J,Cards,100,x\r\n" +                // a step that is no number
                               "24104,1,J,Forms," + small + "\r\n");        // loses its quantities below
    // The booklet's folding has no sheet size: the bindery estimate cannot price it at any quantity.
    testsupport::runSql(m_data.path() + "/vmdata.mdb",
                        "UPDATE BINDERYSELECTIONS SET SHEETSIZE = NULL WHERE ORDERNO = '24104';");
    const std::string text = out("book.txt");
    const CommandOutcome got = book({"--text", text});
    EXPECT_EQ(got.code, 5) << got.err;

    const std::vector<std::string> pages = split(testsupport::readFile(text), '\f');
    ASSERT_EQ(pages.size(), 3u) << "cover, contents and the one page that was priced";
    EXPECT_THAT(pages[0], HasSubstr("Pages: 1\n"));
    EXPECT_THAT(pages[0], HasSubstr("4 pages of the book could not be printed"));
    const std::string& contents = pages[1];
    EXPECT_THAT(contents, HasSubstr("     1  Q-24101      Letterhead"));
    EXPECT_THAT(contents, HasSubstr("     -  Q-99999      \n"));
    EXPECT_THAT(contents, HasSubstr("not printed: Order 99999 is not in the shop database"));
    EXPECT_THAT(contents, HasSubstr("not printed: Order 24103 part 1 is not a quote (Q) in the \n"
                                    "                     shop database: its row is marked J."));
    EXPECT_THAT(contents, HasSubstr("not printed: line 4 of PriceBook.dat: the first step \"x\" is"));
    EXPECT_THAT(contents, testing::ContainsRegex("J-24104 +Member newsletter[^\n]*\n +not printed: 3 quantities "
                                                 "could not be priced: 100, 200, \n +300 \\(Invalid use of Null\\)"));
    EXPECT_THAT(pages[2], HasSubstr("Ref#: Q-24101"));
    EXPECT_THAT(pages[2], HasSubstr("  Page 1\n"));
    EXPECT_THAT(got.err, HasSubstr("the page of order 99999 part 1 (quote) was not printed: Order 99999 is not"));
}

TEST_F(BookCommand, OnlyPrintsTheCategoryAsked)
{
    const CommandOutcome got = book({"--text", "-", "--only", "Business Cards"});
    ASSERT_EQ(got.code, 0) << got.err;
    const std::vector<std::string> pages = split(got.out, '\f');
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_THAT(pages[2], HasSubstr("Ref#: J-24105"));
    EXPECT_THAT(pages[3], HasSubstr("Ref#: Q-24110"));
    EXPECT_THAT(pages[1], Not(HasSubstr("Letterheads")));

    EXPECT_EQ(book({"--text", "-", "--only", "Posters"}).code, 1);
}

TEST_F(BookCommand, WrongArgumentsAndAMissingBookWriteNothing)
{
    const struct
    {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{}, 2},                                              // no output
        {{"--pdf", "a.pdf", "--text", "-"}, 2},               // two outputs
        {{"--pdf", ""}, 2},                                   // no file name
    };
    for (const auto& c : cases)
        EXPECT_EQ(book(c.args).code, c.code);
    std::filesystem::remove(m_data.path() + "/PriceBook.dat");
    const CommandOutcome missing = book({"--pdf", out("book.pdf")});
    EXPECT_EQ(missing.code, 3);
    EXPECT_THAT(missing.err, HasSubstr("PriceBook.dat has no pages"));
    EXPECT_TRUE(std::filesystem::is_empty(m_out.path()));
}

} // namespace
