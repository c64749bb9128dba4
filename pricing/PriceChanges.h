#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ExclusiveFile.h"
#include "platform/ReplacementFile.h"
#include "platform/SmallFile.h"
#include "pricing/BookRun.h"
#include "pricing/PageStore.h"
#include "pricing/PriceBook.h"

namespace pricing {

// What the book printed last, kept beside it ("PriceBook.last") so the next book shows which prices moved.
// One line a page: the date it was printed on the first line ("printed", mm/dd/yy), then for each page its
// order number, part, Q or J, category and its quantities and prices as the sheet showed them (quantity,
// price, ...). A page is known again by its order, part, Q or J and category, so an order on two pages of
// the book (two categories) is compared page by page.
inline constexpr const char* LastBookFileName = "PriceBook.last";

// The most the file holds, written or read under this one limit: every price of the largest book the
// program prices (kMostBookQuantities, each at its longest: a quantity of ten digits and a price of
// nineteen characters, with their commas) and the pages' own items (at most twice the book file's bytes
// when quoted, and a few bytes a page: well under sixteen times the most a book file holds).
inline constexpr std::uint64_t kMostBytesAPrice = 32;
inline constexpr std::uint64_t kLastBookLimit = kMostBookQuantities * kMostBytesAPrice + 16 * platform::kSmallFileLimit;

// data folder + "/PriceBook.last"
std::string lastBookPath(const std::string& dataFolder);

// What a page is known by from one book to the next.
struct PageKey
{
    std::string orderNo;
    std::string part;
    std::string mark; // "Q" or "J"
    std::string category;
    auto operator<=>(const PageKey&) const = default;
};

struct LastPrice
{
    std::int32_t quantity = 0;
    std::string price; // as the sheet showed it, without the "$": "1234.50"
    bool operator==(const LastPrice&) const = default;
};

struct LastPage
{
    PageKey key;
    std::vector<LastPrice> prices;
    bool operator==(const LastPage&) const = default;
};

// The last book, read a page at a time: opening it reads the file through once, checks every line and
// notes where each page's line lies, holding the file open; a page's prices are read when they are asked
// for. So a book of long pages is compared with the last one without holding it in memory.
class LastBook
{
public:
    // None when there is none yet. A file that is there but cannot be read (a folder, a FIFO, one larger
    // than kLastBookLimit) or is not such a list is a platform::Fault naming it and why.
    static std::optional<LastBook> open(const std::string& dataFolder);

    const std::string& printedOn() const noexcept { return m_printedOn; }
    // The page of that key; none when the last book had none.
    std::optional<LastPage> page(const PageKey& key) const;
    // Every page, in the file's order.
    std::vector<LastPage> pages() const;

private:
    struct Where
    {
        std::uint64_t offset = 0;
        std::uint64_t bytes = 0;
    };
    std::string readLine(const Where& where) const;

    std::string m_path;
    platform::FileDescriptor m_file;
    std::string m_printedOn;
    std::vector<std::pair<PageKey, Where>> m_lines; // in the file's order
    std::map<PageKey, std::size_t> m_byKey;         // the first line of each key
};

// The prices a book printed, written for the next book page by page as they come, and put in place whole
// or not at all, never through a symbolic link and never beyond kLastBookLimit. Failures are
// platform::Fault naming the file.
class LastBookWriter
{
public:
    LastBookWriter(const std::string& dataFolder, const std::string& printedOn);
    void add(const LastPage& page);
    void putInPlace();

private:
    void write(const std::string& line);

    std::string m_path;
    std::optional<platform::ReplacementFile> m_file;
    std::uint64_t m_bytes = 0;
};

// The kept page of a printed page: its key and the price of each line.
LastPage lastPageOf(const PricedPage& priced);
LastPage lastPageOf(const PageKey& key, const std::vector<StoredLine>& lines);
// The key of a page whose order was found; none for one whose order was not.
std::optional<PageKey> pageKeyOf(const PricedPage& priced);

// One price that moved since the last book.
struct PriceChange
{
    std::size_t page = 0; // index of the page in the book
    std::int32_t quantity = 0;
    std::int64_t oldCents = 0;
    std::int64_t newCents = 0;
    // The change in per cent; none when the old price was 0.
    std::optional<double> percent() const;
};

// A printed page against its page of the last book: one flag a price line (true where the price moved) and
// the moves. A page whose quantities are not those it had (its schedule changed) is not compared: no
// flags, no moves.
struct PageComparison
{
    std::vector<bool> changed;
    std::vector<PriceChange> changes;
};
PageComparison comparePage(std::size_t index, const LastPage& now, const LastPage& then);

// Sorted by the size of the change in per cent, largest first (a price that was 0 before first of all), then
// in book order.
void sortChanges(std::vector<PriceChange>& changes);

// The change report, a line at a time to `write`: a heading line, then "reference,part,category,quantity,
// old price,new price,change in per cent" a change, quoted where a text needs it; the per cent with two
// decimals and its sign. `pages` are the book's pages the changes' indices name.
void writeChangesCsv(const std::vector<PriceChange>& changes, const std::vector<PricedPage>& pages,
                     const std::function<void(std::string_view)>& write);

} // namespace pricing
