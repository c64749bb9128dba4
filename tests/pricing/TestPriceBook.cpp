// The book file: one page a line, items as the folder's other files hold them, missing items taken from the
// parameters the book is read with, and every page that cannot be priced as written said so.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/DemoDataCommand.h"
#include "platform/Fault.h"
#include "pricing/PriceBook.h"
#include "pricing/PriceChanges.h"
#include "pricing/PricedBook.h"
#include "pricing/Schedule.h"
#include "tests/support/TestDatabase.h"

namespace {

using pricing::BookPage;
using pricing::PriceParameters;
using pricing::QuoteOrJob;
using pricing::RoundingDirection;
using pricing::RoundingStep;
using pricing::Typeface;
using testsupport::readFile;
using testsupport::TemporaryFolder;
using testsupport::writeFile;

// The parameters a window might hold while the book is read: every missing item comes from here.
PriceParameters windowParameters()
{
    PriceParameters p;
    p.qty1 = "50";
    p.jump1 = "10";
    p.qty2 = "100";
    p.jump2 = "50";
    p.qty3 = "500";
    p.jump3 = "250";
    p.qty4 = "1000";
    p.step = RoundingStep::Quarter;
    p.direction = RoundingDirection::Up;
    p.typeface = Typeface::Courier;
    return p;
}

struct LineCase
{
    const char* name;
    const char* line;
    const char* orderNo;
    std::optional<std::int16_t> part;
    std::optional<QuoteOrJob> mark;
    const char* category;
    const char* schedule; // Q1,J1,Q2,J2,Q3,J3,Q4 as the page holds them
    RoundingStep step;
    RoundingDirection direction;
    Typeface typeface;
    const char* problem; // start of the problem; "" for none
};

std::string scheduleOf(const PriceParameters& p)
{
    return p.qty1 + "," + p.jump1 + "," + p.qty2 + "," + p.jump2 + "," + p.qty3 + "," + p.jump3 + "," + p.qty4;
}

const LineCase kLines[] = {
    {"every item", "24101,1,Q,Letterheads,100,25,500,100,2000,500,5000,1.00,down,sans", "24101", 1,
     QuoteOrJob::Quote, "Letterheads", "100,25,500,100,2000,500,5000", RoundingStep::Dollar, RoundingDirection::Down,
     Typeface::SansSerif, ""},
    {"only the order: all else from the window", "24103", "24103", std::nullopt, std::nullopt, "Window category",
     "50,10,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier, ""},
    {"schedule cut short after Q2", "24103,1,j,Forms,200,20,400", "24103", 1, QuoteOrJob::Job, "Forms",
     "200,20,400,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier, ""},
    {"empty items in the middle take the window's", "24104,,,,,,,,,,,NONE", "24104", std::nullopt, std::nullopt,
     "Window category", "50,10,100,50,500,250,1000", RoundingStep::None, RoundingDirection::Up, Typeface::Courier,
     ""},
    {"quoted order, category with a comma, quoted thousands",
     "\"O'NEIL-01\",1,Q,\"Folders, pockets\",\"1,000\",500,\"2,000\",1000,5000,1000,10000,0.25,up,times",
     "O'NEIL-01", 1, QuoteOrJob::Quote, "Folders, pockets", "1000,500,2000,1000,5000,1000,10000",
     RoundingStep::Quarter, RoundingDirection::Up, Typeface::TimesRoman, ""},
    {"blanks around items are dropped", "  24105 , 1 , J , Business Cards ", "24105", 1, QuoteOrJob::Job,
     "Business Cards", "50,10,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up,
     Typeface::Courier, ""},
    // Pages that cannot be priced as written: the reason names the item.
    {"no order number", ",1,Q,Forms", "", 1, QuoteOrJob::Quote, "Forms", "50,10,100,50,500,250,1000",
     RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier, "no order number"},
    {"a part that is no number", "24101,one,Q", "24101", std::nullopt, QuoteOrJob::Quote, "Window category",
     "50,10,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "the part \"one\" is not a part number"},
    {"a part beyond 16 bits", "24101,40000", "24101", std::nullopt, std::nullopt, "Window category",
     "50,10,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "the part \"40000\""},
    {"neither Q nor J", "24101,1,X", "24101", 1, std::nullopt, "Window category", "50,10,100,50,500,250,1000",
     RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier, "\"X\" is neither Q (quote) nor J (job)"},
    {"a start quantity of 0", "24101,1,Q,,0", "24101", 1, QuoteOrJob::Quote, "Window category",
     "0,10,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "Start Quantity \"0\": Quantities Must Be Greater Than Zero!"},
    {"a step with a fraction", "24101,1,Q,,10,2.5", "24101", 1, QuoteOrJob::Quote, "Window category",
     "10,2.5,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "Jump by (after the start quantity) takes a whole number, such as 1000 or 1,000, not \"2.5\"."},
    {"a negative step", "24101,1,Q,,10,-5", "24101", 1, QuoteOrJob::Quote, "Window category",
     "10,-5,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "Jump by (after the start quantity) takes a whole number, such as 1000 or 1,000, not \"-5\"."},
    {"a second step of 0", "24101,1,Q,,10,5,100,0", "24101", 1, QuoteOrJob::Quote, "Window category",
     "10,5,100,0,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "Jump by (after the 2nd quantity) \"0\": Quantities Must Be Greater Than Zero!"},
    {"a quantity beyond 32 bits", "24101,1,Q,,100,25,500,100,2000,500,3000000000", "24101", 1, QuoteOrJob::Quote,
     "Window category", "100,25,500,100,2000,500,3000000000", RoundingStep::Quarter, RoundingDirection::Up,
     Typeface::Courier, "Final Quantity can be at most 2,147,483,647, not 3000000000."},
    {"a quantity below the one before", "24101,1,Q,,600,25,500", "24101", 1, QuoteOrJob::Quote, "Window category",
     "600,25,500,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "2nd Quantity \"500\": Quantities Must Be Greater Than Zero or Greater than Previous Quantity!"},
    {"a quantity equal to the one before, as the window refuses it", "24101,1,Q,,100,100,300,100,300,100,500",
     "24101", 1, QuoteOrJob::Quote, "Window category", "100,100,300,100,300,100,500", RoundingStep::Quarter,
     RoundingDirection::Up, Typeface::Courier,
     "3rd Quantity \"300\": Quantities Must Be Greater Than Zero or Greater than Previous Quantity!"},
    {"a schedule too long to price", "24101,1,Q,,1,1,1000000,1,1000001,1,1000002", "24101", 1, QuoteOrJob::Quote,
     "Window category", "1,1,1000000,1,1000001,1,1000002", RoundingStep::Quarter, RoundingDirection::Up,
     Typeface::Courier, "the schedule has 1000002 quantities"},
    {"an unknown rounding", "24101,1,Q,,,,,,,,,0.50", "24101", 1, QuoteOrJob::Quote, "Window category",
     "50,10,100,50,500,250,1000", RoundingStep::Quarter, RoundingDirection::Up, Typeface::Courier,
     "the rounding \"0.50\" is not none, 0.25 or 1.00"},
    {"an unknown direction", "24101,1,Q,,,,,,,,,none,sideways", "24101", 1, QuoteOrJob::Quote, "Window category",
     "50,10,100,50,500,250,1000", RoundingStep::None, RoundingDirection::Up, Typeface::Courier,
     "the rounding direction \"sideways\""},
    {"an unknown typeface", "24101,1,Q,,,,,,,,,none,up,Gothic", "24101", 1, QuoteOrJob::Quote, "Window category",
     "50,10,100,50,500,250,1000", RoundingStep::None, RoundingDirection::Up, Typeface::Courier,
     "the typeface \"Gothic\""},
    {"an item too many", "24101,1,Q,C,1,1,2,1,3,1,4,none,up,times,extra", "24101", 1, QuoteOrJob::Quote, "C",
     "1,1,2,1,3,1,4", RoundingStep::None, RoundingDirection::Up, Typeface::TimesRoman, "more than the 14 items"},
};

class BookLine : public testing::TestWithParam<LineCase>
{
};

TEST_P(BookLine, ReadsItsPage)
{
    const LineCase& c = GetParam();
    const std::vector<BookPage> pages = pricing::parsePriceBook(c.line, windowParameters(), "Window category");
    ASSERT_EQ(pages.size(), 1u);
    const BookPage& page = pages[0];
    EXPECT_EQ(page.orderNo, c.orderNo);
    EXPECT_EQ(page.key.partNo, c.part);
    EXPECT_EQ(page.key.quoteOrJob, c.mark);
    EXPECT_EQ(page.category, c.category);
    EXPECT_EQ(scheduleOf(page.parameters), c.schedule);
    EXPECT_EQ(page.parameters.step, c.step);
    EXPECT_EQ(page.parameters.direction, c.direction);
    EXPECT_EQ(page.parameters.typeface, c.typeface);
    if (*c.problem)
        EXPECT_EQ(page.problem.rfind(c.problem, 0), 0u) << page.problem;
    else
        EXPECT_EQ(page.problem, "");
}

INSTANTIATE_TEST_SUITE_P(Lines, BookLine, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<LineCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// The book window's rows are the printed order, where the categories come in the order they first come: a
// page moved past a page of another category takes its whole category along, and a page added joins its
// category.
TEST(PriceBookOrder, MovesAndAddsKeepThePagesInPrintedOrder)
{
    const std::vector<std::string> categories = {"A", "A", "B", "C", "C"};
    const struct
    {
        const char* why;
        std::size_t at;
        int by;
        std::vector<std::size_t> order;
    } moves[] = {
        {"within its category", 1, -1, {1, 0, 2, 3, 4}},
        {"the first of its category up: before the category above", 2, -1, {2, 0, 1, 3, 4}},
        {"the first of its category up, with the rest of it", 3, -1, {0, 1, 3, 4, 2}},
        {"the last of its category down: after the whole category below", 1, 1, {2, 0, 1, 3, 4}},
        {"the first page up goes nowhere", 0, -1, {0, 1, 2, 3, 4}},
        {"the last page down goes nowhere", 4, 1, {0, 1, 2, 3, 4}},
    };
    for (const auto& move : moves)
        EXPECT_EQ(pricing::movedPageOrder(categories, move.at, move.by), move.order) << move.why;

    const auto page = [](const char* orderNo, const char* category) {
        BookPage p;
        p.orderNo = orderNo;
        p.category = category;
        return p;
    };
    std::vector<BookPage> book = pricing::inPrintedOrder({page("1", "B"), page("2", "A"), page("3", "B")});
    const auto orders = [&book] {
        std::string text;
        for (const BookPage& p : book)
            text += p.orderNo;
        return text;
    };
    EXPECT_EQ(orders(), "132");
    EXPECT_EQ(pricing::addBookPage(book, page("4", "B")), 2u);
    EXPECT_EQ(pricing::addBookPage(book, page("5", "Z")), 4u);
    EXPECT_EQ(orders(), "13425");
    EXPECT_EQ(pricing::findBookPage(book, page("2", "other")), std::optional<std::size_t>(3));
    EXPECT_FALSE(pricing::findBookPage(book, page("6", "B")));
}

TEST(PriceBookFile, PagesKeepTheirLinesAndBlankLinesAreSkipped)
{
    const std::vector<BookPage> pages =
        pricing::parsePriceBook("24101\r\n\r\n  ,  \n24102,2\r24103", windowParameters());
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].line, 1u);
    EXPECT_EQ(pages[1].orderNo, "24102");
    EXPECT_EQ(pages[1].line, 4u);
    EXPECT_EQ(pages[2].line, 5u);
}

TEST(PriceBookFile, WritesEveryItemAndReadsItBackWhole)
{
    TemporaryFolder folder;
    BookPage awkward;
    awkward.orderNo = "O'NEIL-01";
    awkward.key.partNo = 2;
    awkward.key.quoteOrJob = QuoteOrJob::Job;
    awkward.category = " Folders, \"pocket\" ";
    awkward.parameters.step = RoundingStep::Dollar;
    awkward.parameters.direction = RoundingDirection::Up;
    awkward.parameters.typeface = Typeface::SansSerif;
    BookPage plain;
    plain.orderNo = "24101"; // no part, no mark, no category: written empty, read back empty
    plain.parameters.direction = RoundingDirection::Down;
    pricing::writePriceBook(folder.path(), {awkward, plain});
    EXPECT_EQ(readFile(folder.path() + "/PriceBook.dat"),
              "O'NEIL-01,2,J,\" Folders, \"\"pocket\"\" \",100,25,500,100,2000,500,5000,1.00,up,sans\r\n"
              "24101,\"\",\"\",\"\",100,25,500,100,2000,500,5000,none,down,times\r\n");

    std::vector<BookPage> read = pricing::readPriceBook(folder.path(), windowParameters());
    ASSERT_EQ(read.size(), 2u);
    awkward.line = 1;
    plain.line = 2;
    EXPECT_EQ(read[0], awkward);
    EXPECT_EQ(read[1], plain);
}

TEST(PriceBookFile, NoFileIsAnEmptyBookAndAFolderInItsPlaceIsSaidSo)
{
    TemporaryFolder folder;
    EXPECT_TRUE(pricing::readPriceBook(folder.path(), {}).empty());
    std::filesystem::create_directory(folder.path() + "/PriceBook.dat");
    EXPECT_THROW(pricing::readPriceBook(folder.path(), {}), platform::Fault);
}

// The demo data folder's book: every demo order, each page naming a row of the demo shop; pages naming no
// row (an unknown number, a part or a quote-or-job mark the order does not have) find none.
TEST(PriceBookFile, DemoBookNamesEveryDemoOrderAndUnknownOrdersFindNoRow)
{
    TemporaryFolder folder;
    const std::string database = cli::buildDemoShop(folder.path(), false);
    const std::vector<BookPage> book = pricing::readPriceBook(folder.path(), windowParameters());
    ASSERT_EQ(book.size(), 12u);
    for (const BookPage& page : book) {
        EXPECT_EQ(page.problem, "") << page.orderNo;
        EXPECT_EQ(pricing::scheduleLength(page.parameters), 38u) << page.orderNo;
        const auto order = pricing::findBookOrder(database, page);
        ASSERT_TRUE(order) << pricing::describeBookPage(page);
        EXPECT_EQ(order->orderNo, page.orderNo);
        EXPECT_EQ(order->partNo, std::to_string(*page.key.partNo));
    }

    const char* const unknown[] = {"99999,1,Q", "24101,3,Q", "24101,1,J", "24103,1,Q"};
    for (const char* line : unknown) {
        const std::vector<BookPage> pages = pricing::parsePriceBook(line, {});
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_FALSE(pricing::findBookOrder(database, pages[0])) << line;
    }
    // A shop's own book is never overwritten by the demo's.
    writeFile(folder.path() + "/PriceBook.dat", "24101\r\n");
    cli::buildDemoShop(folder.path(), true);
    EXPECT_EQ(readFile(folder.path() + "/PriceBook.dat"), "24101\r\n");
}

} // namespace

namespace {

// The prices kept beside the book: written whole, read back as written; a file that is not such a list is
// said so (naming the file) rather than compared with, so no page is marked from a damaged record.
TEST(LastBookFile, ReadsBackWhatWasWrittenAndRefusesWhatIsNotSuchAList)
{
    TemporaryFolder folder;
    EXPECT_FALSE(pricing::LastBook::open(folder.path()));
    const std::vector<pricing::LastPage> pages = {
        {{"O'NEIL, 01", "1", "Q", "Folders"}, {{100, "76.84"}, {1000, "1234.50"}, {2000, "-0.50"}}},
        {{"24103", "1", "J", ""}, {}}};
    pricing::LastBookWriter writer(folder.path(), "12/09/26");
    for (const pricing::LastPage& page : pages)
        writer.add(page);
    writer.putInPlace();
    EXPECT_EQ(readFile(folder.path() + "/PriceBook.last"),
              "printed,12/09/26\r\n\"O'NEIL, 01\",1,Q,Folders,100,76.84,1000,1234.50,2000,-0.50\r\n24103,1,J,\"\"\r\n");
    const std::optional<pricing::LastBook> book = pricing::LastBook::open(folder.path());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->printedOn(), "12/09/26");
    EXPECT_EQ(book->pages(), pages);
    EXPECT_EQ(book->page(pages[1].key), pages[1]);
    EXPECT_FALSE(book->page({"24103", "1", "Q", ""}));

    const char* const damaged[] = {
        "",                                     // empty
        "24101,1,Q,C,100,76.84\r\n",              // no date line
        "printed,12/09/26\r\n24101,1,Q\r\n",      // no category
        "printed,12/09/26\r\n24101,1,Q,C,100\r\n", // a quantity without its price
        "printed,12/09/26\r\n24101,1,Q,C,100,$76.84\r\n",
        "printed,12/09/26\r\n24101,1,Q,C,1e2,76.84\r\n",
        "printed,12/09/26\r\n24101,1,Q,C,100,--1.00\r\n",
    };
    for (const char* content : damaged) {
        writeFile(folder.path() + "/PriceBook.last", content);
        try {
            pricing::LastBook::open(folder.path());
            ADD_FAILURE() << "read: " << content;
        } catch (const platform::Fault& fault) {
            EXPECT_THAT(std::string(fault.what()), testing::HasSubstr(folder.path() + "/PriceBook.last")) << content;
        }
    }
    // Larger than the largest book's prices can be: refused without being read.
    testsupport::writeFile(folder.path() + "/PriceBook.last", "printed,12/09/26\r\n");
    std::filesystem::resize_file(folder.path() + "/PriceBook.last", pricing::kLastBookLimit + 1);
    EXPECT_THROW(pricing::LastBook::open(folder.path()), platform::Fault);
}

// The largest book the program prices, every price at its longest, is kept under the limit the next book
// reads it with.
TEST(LastBookFile, TheLargestBookFitsTheLimitItIsReadWith)
{
    TemporaryFolder folder;
    const std::string longName(2000, 'N');
    {
        pricing::LastBookWriter writer(folder.path(), "12/09/26");
        for (std::uint64_t page = 0; page < pricing::kMostBookQuantities / pricing::kMostPageQuantities; ++page) {
            pricing::LastPage longest{{longName + std::to_string(page), "32767", "Q", longName}, {}};
            longest.prices.assign(pricing::kMostPageQuantities, {2147483647, "-922337203685477.58"});
            writer.add(longest);
        }
        writer.putInPlace();
    }
    EXPECT_GT(std::filesystem::file_size(folder.path() + "/PriceBook.last"), 30000000u);
    const std::optional<pricing::LastBook> book = pricing::LastBook::open(folder.path());
    ASSERT_TRUE(book);
    const std::optional<pricing::LastPage> last = book->page({longName + "9", "32767", "Q", longName});
    ASSERT_TRUE(last);
    EXPECT_EQ(last->prices.size(), pricing::kMostPageQuantities);
}

pricing::PricedPage pricedPage(const std::string& orderNo, std::vector<std::string> prices,
                               const std::string& schedule = "100,100")
{
    pricing::PricedPage page;
    page.page = pricing::parsePriceBook(orderNo + ",1,Q,Cards," + schedule, {}).front();
    page.order.emplace();
    page.order->orderNo = orderNo;
    page.order->partNo = "1";
    page.quoteOrJob = QuoteOrJob::Quote;
    for (std::size_t k = 0; k < prices.size(); ++k) {
        const std::int32_t quantity = static_cast<std::int32_t>(100 * (k + 1));
        page.lines.push_back(std::to_string(quantity) + std::string(27, ' ') + "$" + prices[k]);
        page.prices.push_back({quantity, {}});
    }
    return page;
}

// A page of 100,000 quantities, over a megabyte of prices: kept whole for the next book, which marks exactly
// the prices that moved and lists them largest first.
TEST(PricedBook, APageOf100000QuantitiesKeepsItsChangeHistory)
{
    TemporaryFolder folder;
    std::vector<std::string> prices(pricing::kMostPageQuantities, "1234.50");
    const std::string schedule = "100,100,9999800,100,9999900,100,10000000";
    std::vector<pricing::PricedPage> pages = {pricedPage("24101", prices, schedule)};
    ASSERT_EQ(pages[0].page.problem, "");
    {
        pricing::PricedBook first(std::nullopt, true);
        first.add(0, pages[0]);
        EXPECT_TRUE(pages[0].lines.empty()) << "the lines are put aside";
        EXPECT_EQ(first.lines(0).size(), pricing::kMostPageQuantities);
        first.keepForNextBook(folder.path(), pages, "12/01/26");
    }
    EXPECT_GT(std::filesystem::file_size(folder.path() + "/PriceBook.last"), platform::kSmallFileLimit);

    prices[7] = "1358.00";   // +10 %
    prices[99999] = "617.25"; // -50 %
    pages = {pricedPage("24101", prices, schedule)};
    pricing::PricedBook second(pricing::LastBook::open(folder.path()), true);
    second.add(0, pages[0]);
    EXPECT_EQ(second.changesSince(), "12/01/26");
    const std::vector<bool> marks = second.marks(0);
    EXPECT_EQ(std::count(marks.begin(), marks.end(), true), 2);
    EXPECT_TRUE(marks[7] && marks[99999]);
    std::string csv;
    pricing::writeChangesCsv(second.changes(), pages, [&csv](std::string_view piece) { csv += piece; });
    EXPECT_EQ(csv, "reference,part,category,quantity,old price,new price,change in per cent\r\n"
                   "Q-24101,1,Cards,10000000,1234.50,617.25,-50.00\r\n"
                   "Q-24101,1,Cards,800,1234.50,1358.00,+10.00\r\n");
}

// A page not printed this time keeps what the binder holds of it, as long as its schedule prices no fewer
// quantities; a page no longer in the book, or whose order is gone, is not kept.
TEST(PricedBook, APageNotPrintedKeepsItsLastPricesWhileTheyFitItsSchedule)
{
    TemporaryFolder folder;
    {
        std::vector<pricing::PricedPage> pages = {pricedPage("A", {"1.00", "2.00", "3.00"}),
                                                  pricedPage("B", {"1.00", "2.00", "3.00"}),
                                                  pricedPage("C", {"1.00"}), pricedPage("D", {"1.00"})};
        pricing::PricedBook first(std::nullopt, false);
        for (std::size_t k = 0; k < pages.size(); ++k)
            first.add(k, pages[k]);
        first.keepForNextBook(folder.path(), pages, "12/01/26");
    }
    // A: not priced, schedule of 3 quantities; B: not priced, schedule of 2; C: order gone; D: left the book.
    std::vector<pricing::PricedPage> pages = {pricedPage("A", {}, "100,100,300,0,300,0,300"),
                                              pricedPage("B", {}, "100,100,200,0,200,0,200"),
                                              pricedPage("C", {})};
    ASSERT_EQ(pricing::scheduleLength(pages[1].page.parameters), 2u);
    for (pricing::PricedPage& page : pages)
        page.problem = "1 quantity could not be priced";
    pages[2].order.reset();
    pricing::PricedBook second(pricing::LastBook::open(folder.path()), false);
    for (std::size_t k = 0; k < pages.size(); ++k)
        second.add(k, pages[k]);
    second.keepForNextBook(folder.path(), pages, "12/08/26");
    EXPECT_EQ(readFile(folder.path() + "/PriceBook.last"), "printed,12/08/26\r\nA,1,Q,Cards,100,1.00,200,2.00,300,3.00\r\n");
}

// A book whose pages price more than a book may, all together, is refused before anything is priced.
TEST(PriceBookFile, ABookOfTooManyQuantitiesIsRefusedAsAWhole)
{
    std::string text;
    for (int page = 0; page < 10; ++page)
        text += "2410" + std::to_string(page) + ",1,Q,Cards,1,1,99998,1,99999,1,100000\r\n";
    std::vector<BookPage> pages = pricing::parsePriceBook(text, {});
    EXPECT_EQ(pricing::bookQuantities(pages), 1000000u);
    EXPECT_FALSE(pricing::checkBookSize(pages));
    pages.push_back(pricing::parsePriceBook("24110,1,Q,Cards,1,1,2,1,3,0,4", {}).front());
    const platform::Outcome refused = pricing::checkBookSize(pages);
    ASSERT_TRUE(refused);
    EXPECT_THAT(refused->what(), testing::HasSubstr("1,000,003 quantities together; a book prices at most 1,000,000"));
    EXPECT_TRUE(pricing::priceBook("/nonexistent", "/nonexistent", pages).stopped);
}

} // namespace
