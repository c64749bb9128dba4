// "pricebook book": every page of the data folder's book priced by the run of "pricebook price" and printed
// as the single sheet prints it, behind a cover and the contents.
#include "cli/BookCommand.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

// The fields of a CSV line (without its line end), a field in double quotes holding commas and doubled quotes.
std::vector<std::string> csvFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (c == '"' && quoted && k + 1 < line.size() && line[k + 1] == '"')
            fields.back() += line[++k];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The lines of a file written with CR LF, each without it.
std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::string line : split(text, '\n')) {
        EXPECT_TRUE(line.ends_with('\r')) << line;
        line.pop_back();
        lines.push_back(line);
    }
    return lines;
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
        {"Q-O'NEIL-01", {"--order", "O'NEIL-01", "--part", "1", "--quote"}, "Brochures and Flyers"},
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
        args.insert(args.end(), {"--round", "none", "--down", "--format", "csv"});
        const CommandOutcome priced = price(args);
        ASSERT_EQ(priced.code, 0) << priced.err;
        std::vector<std::string> expected;
        for (const std::string& row : split(priced.out, '\n')) {
            if (row != "quantity,price")
                expected.push_back(row.substr(0, row.find(',')) + " $" + row.substr(row.find(',') + 1));
        }
        ASSERT_EQ(expected.size(), 38u);
        EXPECT_EQ(pricePairs(page), expected);
    }
}

// Pages that cannot be priced are not printed: the contents list each with its reason, the rest of the
// book still prints, and the command ends with exit 5.
TEST_F(BookCommand, PagesThatCannotBePricedAreListedWithTheReason)
{
    const std::string small = "100,100,300,100,350,500,400";
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
    EXPECT_THAT(contents, HasSubstr("not printed: line 4 of PriceBook.dat: Jump by (after the \n"));
    EXPECT_THAT(contents, testing::ContainsRegex("J-24104 +Member newsletter[^\n]*\n +not printed: 3 quantities "
                                                 "could not be priced: 100, 200, \n +300 \\(Invalid use of Null "
                                                 "in the set-up and run cost of \n +bindery operation "
                                                 "\"Signature Folder\"\\)"));
    EXPECT_THAT(pages[2], HasSubstr("Ref#: Q-24101"));
    EXPECT_THAT(pages[2], HasSubstr("  Page 1\n"));
    EXPECT_THAT(got.err, HasSubstr("the page of order 99999 part 1 (quote) was not printed: Order 99999 is not"));
}

// What changed: the shop pays 10 % more for its 24# bond. The next book marks exactly the prices of the two
// orders printed on it (the letterhead 24101 and the brochure's price insert 24102 part 2), and the change
// report gives each moved price with its old and new figure, as "pricebook price" gives them before and
// after, largest change first. A report on its own keeps the prices of the last book.
TEST_F(BookCommand, AStockPriceRaisedMarksOnlyTheOrdersUsingThatStock)
{
    if (!testsupport::havePdfTools())
        GTEST_SKIP() << "poppler-utils is not installed";
    const std::string last = m_data.path() + "/PriceBook.last";
    ASSERT_EQ(book({"--pdf", out("first.pdf")}).code, 0);
    ASSERT_TRUE(std::filesystem::exists(last));

    // Quantity -> price ("76.84") of an order, as the price command lists it.
    const auto prices = [this](const char* order, const char* part) {
        std::map<int, std::string> byQuantity;
        const CommandOutcome got = price(
            {"--order", order, "--part", part, "--quote", "--round", "none", "--down", "--format", "csv"});
        for (const std::string& row : split(got.out, '\n'))
            if (row != "quantity,price")
                byQuantity[std::stoi(row)] = row.substr(row.find(',') + 1);
        return byQuantity;
    };
    const std::pair<const char*, const char*> bond[] = {{"24101", "1"}, {"24102", "2"}};
    std::map<std::string, std::map<int, std::string>> before, after;
    for (const auto& [order, part] : bond)
        before[std::string(order) + "/" + part] = prices(order, part);
    testsupport::runSql(m_data.path() + "/vmdata.mdb",
                        "UPDATE ORDERS SET STOCKCOST1 = STOCKCOST1 * 1.1, STOCKCOST2 = STOCKCOST2 * 1.1, "
                        "STOCKCOST3 = STOCKCOST3 * 1.1 WHERE STOCKID = 1;");
    for (const auto& [order, part] : bond)
        after[std::string(order) + "/" + part] = prices(order, part);

    const std::string csv = out("changes.csv");
    const CommandOutcome got = book({"--pdf", out("second.pdf"), "--changes", csv});
    ASSERT_EQ(got.code, 0) << got.err;

    // Every moved price of the two orders, and nothing else.
    std::vector<std::string> rows = split(testsupport::readFile(csv), '\n');
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "reference,part,category,quantity,old price,new price,change in per cent\r");
    rows.erase(rows.begin());
    std::size_t moved = 0;
    std::map<std::string, std::size_t> movedOf;
    for (const auto& [key, was] : before) {
        for (const auto& [quantity, price] : was) {
            if (after[key].at(quantity) != price) {
                ++moved;
                ++movedOf[key];
            }
        }
    }
    EXPECT_GT(moved, 38u);
    ASSERT_EQ(rows.size(), moved);
    double previous = 1e9;
    for (const std::string& row : rows) {
        const std::vector<std::string> f = split(row.substr(0, row.size() - 1), ',');
        ASSERT_EQ(f.size(), 7u) << row;
        const std::string key = (f[0] == "Q-24101" ? "24101/" : "24102/") + f[1];
        ASSERT_TRUE(key == "24101/1" || key == "24102/2") << row;
        const int quantity = std::stoi(f[3]);
        EXPECT_EQ(f[4], before[key].at(quantity)) << row;
        EXPECT_EQ(f[5], after[key].at(quantity)) << row;
        const double percent = (std::stod(f[5]) - std::stod(f[4])) * 100 / std::stod(f[4]);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%+.2f", percent);
        EXPECT_EQ(f[6], expected) << row;
        EXPECT_LE(std::fabs(percent), previous + 0.005) << "sorted by the size of the change: " << row;
        previous = std::fabs(percent);
    }

    // The marks: beside each moved price of those two pages (1 and 3 of the book), on no other page.
    const std::vector<std::string> pages = split(testsupport::pdfText(out("second.pdf")), '\f');
    ASSERT_GE(pages.size(), 14u);
    EXPECT_THAT(pages[0], HasSubstr("changed since the book of"));
    for (std::size_t k = 2; k < 14; ++k) {
        const std::size_t marks = static_cast<std::size_t>(std::count(pages[k].begin(), pages[k].end(), '*'));
        const std::size_t expected = k == 2 ? movedOf["24101/1"] : k == 4 ? movedOf["24102/2"] : 0;
        // A marked page's footer names the mark once more.
        EXPECT_EQ(marks, expected == 0 ? 0 : expected + 1) << "page " << k - 1;
    }

    // A report alone writes no book and keeps the prices of the book just printed.
    const std::string kept = testsupport::readFile(last);
    testsupport::runSql(m_data.path() + "/vmdata.mdb",
                        "UPDATE ORDERS SET STOCKCOST1 = STOCKCOST1 * 1.1 WHERE STOCKID = 1;");
    const CommandOutcome report = book({"--changes", "-"});
    ASSERT_EQ(report.code, 0) << report.err;
    EXPECT_THAT(report.out, HasSubstr("\nQ-24101,1,Letterheads and Envelopes,"));
    EXPECT_EQ(testsupport::readFile(last), kept);
    EXPECT_FALSE(std::filesystem::exists(out("third.pdf")));

    // A page whose schedule changed shows its new quantities unmarked, and reports nothing.
    std::string bookFile = testsupport::readFile(m_data.path() + "/PriceBook.dat");
    bookFile.replace(bookFile.find("24101,1,Q,Letterheads and Envelopes,100,"), 40,
                     "24101,1,Q,Letterheads and Envelopes,150,");
    testsupport::writeFile(m_data.path() + "/PriceBook.dat", bookFile);
    const CommandOutcome rescheduled = book({"--changes", "-", "--only", "Letterheads and Envelopes"});
    ASSERT_EQ(rescheduled.code, 0) << rescheduled.err;
    EXPECT_EQ(rescheduled.out, "reference,part,category,quantity,old price,new price,change in per cent\r\n");
}

// The demo book's price matrix, as CSV and as JSON: a row for each of its twelve pages, a column for each of
// the 38 quantities, each cell the price "pricebook price" gives the page's order at that quantity. The same
// run says what the pages' prices give to look at, and the contents say it beside the page.
TEST_F(BookCommand, TheMatrixHoldsEveryPagesPricesAsThePriceCommandGivesThem)
{
    const std::string csv = out("matrix.csv");
    const std::string text = out("book.txt");
    const CommandOutcome got = book({"--text", text, "--matrix", csv});
    ASSERT_EQ(got.code, 0) << got.err;
    EXPECT_THAT(got.err, HasSubstr("pricebook: the price matrix is in " + csv + " (12 rows, 38 quantities)\n"));
    EXPECT_THAT(got.err, HasSubstr("pricebook: check the prices of order 24106 part 1 (quote): Every quantity from "
                                   "100 to 5,000 has the same price, $2,629.00.\n"));
    EXPECT_THAT(got.err, HasSubstr("pricebook: check the prices of order 24101 part 1 (quote): 5,000 costs more per "
                                   "piece than 4,500: $0.0613 against $0.0596 each.\n"));
    EXPECT_THAT(split(testsupport::readFile(text), '\f').at(1),
                HasSubstr("Q-24106      Direct-mail postcards, printed and mailed outside\n"
                          "                     check: Every quantity from 100 to 5,000 has the same price, \n"));

    const std::vector<std::string> lines = crlfLines(testsupport::readFile(csv));
    ASSERT_EQ(lines.size(), 13u);
    const std::vector<std::string> header = csvFields(lines[0]);
    ASSERT_EQ(header.size(), 6u + 38u);
    const std::vector<std::string> named(header.begin(), header.begin() + 7);
    EXPECT_EQ(named, (std::vector<std::string>{"reference", "order", "part", "quote or job", "description", "category",
                                               "100"}));
    EXPECT_EQ(header.back(), "5000");

    const QJsonObject json = [&] {
        const CommandOutcome asJson = book({"--matrix", "-", "--matrix-format", "json"});
        EXPECT_EQ(asJson.code, 0) << asJson.err;
        return QJsonDocument::fromJson(QByteArray::fromStdString(asJson.out)).object();
    }();
    const QJsonArray quantities = json["quantities"].toArray();
    ASSERT_EQ(quantities.size(), 38);
    const QJsonArray rows = json["rows"].toArray();
    ASSERT_EQ(rows.size(), 12);

    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::vector<std::string> row = csvFields(lines[k]);
        ASSERT_EQ(row.size(), header.size()) << lines[k];
        SCOPED_TRACE(row[0]);
        const CommandOutcome priced = price({"--order", row[1], "--part", row[2], row[3] == "J" ? "--job" : "--quote",
                                             "--round", "none", "--down", "--format", "csv"});
        ASSERT_EQ(priced.code, 0) << priced.err;
        std::map<std::string, std::string> byQuantity;
        for (const std::string& pair : split(priced.out, '\n'))
            byQuantity[pair.substr(0, pair.find(','))] = pair.substr(pair.find(',') + 1);
        const QJsonObject same = rows[static_cast<int>(k - 1)].toObject();
        EXPECT_EQ(same["reference"].toString().toStdString(), row[0]);
        EXPECT_EQ(same["order"].toString().toStdString(), row[1]);
        EXPECT_EQ(same["part"].toInt(), std::stoi(row[2]));
        EXPECT_EQ(same["quote_or_job"].toString().toStdString(), row[3]);
        EXPECT_EQ(same["description"].toString().toStdString(), row[4]);
        EXPECT_EQ(same["category"].toString().toStdString(), row[5]);
        const QJsonArray prices = same["prices"].toArray();
        ASSERT_EQ(prices.size(), 38);
        for (std::size_t column = 6; column < header.size(); ++column) {
            const int at = static_cast<int>(column - 6);
            ASSERT_EQ(quantities[at].toInt(), std::stoi(header[column]));
            EXPECT_EQ(row[column], byQuantity.at(header[column])) << header[column];
            char shown[32];
            std::snprintf(shown, sizeof shown, "%.2f", prices[at].toDouble());
            EXPECT_EQ(shown, row[column]) << header[column];
        }
    }

    // The price command's row of one order is the book's row of its page.
    const CommandOutcome one =
        price({"--order", "24101", "--format", "matrix", "--category", "Letterheads and Envelopes"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.out, lines[0] + "\r\n" + lines[1] + "\r\n");
    EXPECT_THAT(lines[1], testing::StartsWith("Q-24101,24101,1,Q,\"Letterhead, 1 colour PMS 286\",Letterheads and "
                                              "Envelopes,76.84,77.95,"));
}

// A page that cannot be priced is left out of the matrix and named, with exit 5; the matrix alone keeps
// nothing for the next book.
TEST_F(BookCommand, TheMatrixLeavesOutPagesThatCannotBePriced)
{
    const std::string small = "100,100,300,100,350,500,400";
    testsupport::writeFile(m_data.path() + "/PriceBook.dat", "24101,1,Q,Letterheads," + small + "\r\n" +
                                                                 "99999,1,Q,Letterheads," + small + "\r\n" +
                                                                 "24104,1,J,Forms," + small + "\r\n");
    testsupport::runSql(m_data.path() + "/vmdata.mdb",
                        "UPDATE BINDERYSELECTIONS SET SHEETSIZE = NULL WHERE ORDERNO = '24104';");
    const std::string csv = out("matrix.csv");
    const CommandOutcome got = book({"--matrix", csv});
    EXPECT_EQ(got.code, 5) << got.err;
    const std::vector<std::string> lines = crlfLines(testsupport::readFile(csv));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "reference,order,part,quote or job,description,category,100,200,300");
    EXPECT_THAT(lines[1], testing::StartsWith("Q-24101,24101,1,Q,"));
    EXPECT_THAT(got.err, HasSubstr("the page of order 99999 part 1 (quote) was left out: Order 99999 is not in"));
    EXPECT_THAT(got.err,
                HasSubstr("the page of order 24104 part 1 (job) was left out: 3 quantities could not be priced"));
    EXPECT_FALSE(std::filesystem::exists(m_data.path() + "/PriceBook.last"));
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
        {{"--matrix", "-", "--changes", "-"}, 2},             // two outputs on standard output
        {{"--matrix", "m.csv", "--matrix-format", "xml"}, 2}, // no such matrix format
        {{"--matrix", "/dev/null"}, 1},                       // a device, refused before pricing
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
