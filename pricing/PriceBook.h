#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Outcome.h"
#include "pricing/OrderSelection.h"
#include "pricing/PriceSettings.h"

namespace pricing {

// The Counter Price Book: the binder on the counter, one page for each standard product. The book file in
// the data folder holds one page a line, its items read and written as the folder's other files are:
//   order number, part, Q or J, category, Q1, J1, Q2, J2, Q3, J3, Q4, rounding (none, 0.25, 1.00),
//   up or down, typeface (courier, times, sans)
// Items missing at the end of a line, or left empty, take the parameters the book is read with.
inline constexpr const char* PriceBookFileName = "PriceBook.dat";
inline constexpr std::size_t kBookPageItems = 14;

// The most quantities one page prices: far more than a counter sheet shows, few enough that a slip of a
// finger (a step of 1 up to a million) does not keep the shop database busy for hours.
inline constexpr std::uint64_t kMostPageQuantities = 100000;
// The most quantities a whole book prices, its pages together: ten pages of the most a page prices, or a
// binder of 25,000 pages of 40 quantities. Its prices are kept for the next book (PriceBook.last) under a
// limit made for it.
inline constexpr std::uint64_t kMostBookQuantities = 1000000;

// data folder + "/PriceBook.dat"
std::string priceBookPath(const std::string& dataFolder);

struct BookPage
{
    std::string orderNo;
    OrderKeyFilter key; // part and quote-or-job mark; none given picks the order's first row, as the window does
    std::string category;
    PriceParameters parameters;
    std::size_t line = 0; // the page's line in the book file, counted from 1
    // Why the page cannot be priced as it stands (a bad number, an unknown word), in the shop's words;
    // empty when it can.
    std::string problem;

    bool operator==(const BookPage&) const = default;
};

// The pages of a book file's text, one for each line that holds anything. `defaults` and `defaultCategory`
// stand in for missing items.
std::vector<BookPage> parsePriceBook(std::string_view content, const PriceParameters& defaults,
                                     const std::string& defaultCategory = {});

// The book of the data folder; no file gives no pages. A file that is there but cannot be read (a folder, a
// FIFO, one too large) is a platform::Fault naming it and why.
std::vector<BookPage> readPriceBook(const std::string& dataFolder, const PriceParameters& defaults,
                                    const std::string& defaultCategory = {});

// The line of one page: every item, quoted where the reader would otherwise split or trim it.
std::string bookLine(const BookPage& page);

// Replaces the book file with one line a page, whole or not at all (never through a symbolic link). A
// failure is a platform::Fault naming the file.
void writePriceBook(const std::string& dataFolder, const std::vector<BookPage>& pages);

// "Q-24101" or "J-24103": the reference a page of the book prints.
std::string bookReference(QuoteOrJob quoteOrJob, std::string_view orderNo);

// The shop database's row of a page: the first row of "Orders" with its number that fits its part and
// quote-or-job mark; none when no row does. A database that cannot be read is a platform::Fault.
std::optional<OrderSelection> findBookOrder(const std::string& databaseFile, const BookPage& page);
std::optional<OrderSelection> findBookOrder(const data::Database& db, const BookPage& page);

// The pages in the order the book prints them: the categories in the order they first come, the pages of
// each category in book order.
std::vector<BookPage> inPrintedOrder(std::vector<BookPage> pages);

// Adds a page where the book prints it: after the last page of its category, else at the end. `pages` are in
// printed order. Returns the new page's place.
std::size_t addBookPage(std::vector<BookPage>& pages, BookPage page);

// The order of a book's pages (in printed order, by their categories) after the page at `at` moves one place
// up (by -1) or down (by 1) in print: past its neighbour of the same category, or, from the first or last page
// of its category, with its whole category past the category before or after it. Returns the indices of the
// pages in their new order; the same order when the page cannot move.
std::vector<std::size_t> movedPageOrder(const std::vector<std::string>& categories, std::size_t at, int by);

// The place of the page for the same order, part and quote or job as `page`; none when the book has none.
std::optional<std::size_t> findBookPage(const std::vector<BookPage>& pages, const BookPage& page);

// What a page names, for messages: "order 24101 part 1 (quote)".
std::string describeBookPage(const BookPage& page);

// How many quantities the pages price together (a page whose line cannot be read prices none).
std::uint64_t bookQuantities(const std::vector<BookPage>& pages);
// Why the book cannot be priced as a whole, in the shop's words: its pages price more than
// kMostBookQuantities together. Nothing when it can.
platform::Outcome checkBookSize(const std::vector<BookPage>& pages);

} // namespace pricing
