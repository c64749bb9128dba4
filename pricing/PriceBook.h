#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// What a page names, for messages: "order 24101 part 1 (quote)".
std::string describeBookPage(const BookPage& page);

} // namespace pricing
