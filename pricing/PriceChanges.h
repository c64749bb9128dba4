#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pricing/BookRun.h"

namespace pricing {

// What the book printed last, kept beside it ("PriceBook.last") so the next book shows which prices moved.
// One line a page: the date it was printed on the first line ("printed", mm/dd/yy), then for each page its
// order number, part, Q or J, category and its quantities and prices as the sheet showed them (quantity,
// price, ...). A page is known again by its order, part, Q or J and category, so an order on two pages of
// the book (two categories) is compared page by page.
inline constexpr const char* LastBookFileName = "PriceBook.last";

// data folder + "/PriceBook.last"
std::string lastBookPath(const std::string& dataFolder);

struct LastPrice
{
    std::int32_t quantity = 0;
    std::string price; // as the sheet showed it, without the "$": "1234.50"
    bool operator==(const LastPrice&) const = default;
};

struct LastPage
{
    std::string orderNo;
    std::string part;
    std::string mark; // "Q" or "J"
    std::string category;
    std::vector<LastPrice> prices;
    bool operator==(const LastPage&) const = default;
};

struct LastBook
{
    std::string printedOn; // mm/dd/yy
    std::vector<LastPage> pages;
    bool operator==(const LastBook&) const = default;
};

// The last book of the data folder; none when there is none yet. A file that is there but cannot be read
// (a folder, a FIFO, one too large) or is not such a file is a platform::Fault naming it and why.
std::optional<LastBook> readLastBook(const std::string& dataFolder);

// Replaces the file whole or not at all, never through a symbolic link. A failure is a platform::Fault.
void writeLastBook(const std::string& dataFolder, const LastBook& book);

// What the book just printed: every printed page's prices; a page of `previous` that was not printed this
// time (it could not be priced, or was not asked for) keeps what the binder still holds of it.
LastBook lastBookOf(const std::vector<PricedPage>& pages, const std::optional<LastBook>& previous,
                    const std::string& printedOn);

// One price that moved since the last book.
struct PriceChange
{
    std::string reference; // "Q-24101"
    std::string part;
    std::string category;
    std::int32_t quantity = 0;
    std::string oldPrice;
    std::string newPrice;
    std::optional<double> percent; // none when the old price was 0
    std::size_t page = 0;          // index of the page in the book
};

// The moves of every printed page against the last book. `marks` gets, for each page, one flag a price line
// (true where the price changed). A page whose quantities are not those it had last time (its schedule
// changed) or that the last book did not have is not compared: no marks, no changes. Sorted by the size of
// the change in per cent, largest first (a price that was 0 before first of all), then in book order.
std::vector<PriceChange> compareWithLast(const std::vector<PricedPage>& pages, const LastBook& last,
                                         std::vector<std::vector<bool>>* marks = nullptr);

// The change report: a heading line, then "reference,part,category,quantity,old price,new price,change in
// per cent" a change, quoted where a text needs it; the per cent with two decimals and its sign.
std::string changesCsv(const std::vector<PriceChange>& changes);

} // namespace pricing
