#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pricing/BookRun.h"
#include "pricing/PricedBook.h"
#include "sheet/PriceSheet.h"

namespace sheet {

// One page of the Counter Price Book as the book lists it.
struct BookEntry
{
    std::string category;
    std::string reference;   // "Q-24101"
    std::string description;
    // The page's sheet, exactly as the single sheet prints it, but for its price lines and their change
    // marks, which are given when the page is printed (BookPageLines); none when the page is not printed.
    std::optional<SheetInputs> sheet;
    bool changed = false; // a price of the page moved since the last book
    std::string problem;  // why the page is not printed, in the shop's words
    std::vector<std::string> checks; // what the page's prices give to look at (checkPrices), in the shop's words
};

// The front of the book.
struct BookFront
{
    std::string company;       // the shop's name from its settings; empty when they name none
    double printedAt = 0;      // day serial of the date printed on the cover and every page
    std::string changesSince;  // "mm/dd/yy" of the book the change marks compare with; empty: no marks
};

// One printed page of the book: its number and its sheet but for its price lines.
struct BookSheet
{
    int number = 0; // counted from 1 after the cover and the contents
    std::size_t entry = 0; // index into the entries
    SheetInputs sheet;
    std::string footer; // "Page 3", and the change mark's meaning when the page has marks
};

struct LaidOutBook
{
    SheetOps cover;
    SheetOps contents;
    std::vector<BookSheet> sheets;
    double printedAt = 0; // day serial printed on every page
};

// The price lines of a printed page and which of them changed since the last book, fetched when the page
// is printed: a book holds one page's lines at a time.
struct PageLines
{
    std::vector<std::string> lines;
    std::vector<bool> changed;
};
using BookPageLines = std::function<PageLines(std::size_t entry)>;

// The book's pages after pricing as the layout lists them: each printable page with its sheet, exactly as the
// single sheet prints it, whether a price of it moved and what its prices give to look at (as `book` found
// them), the others with the reason they are not printed.
std::vector<BookEntry> bookEntries(const std::vector<pricing::PricedPage>& pages, const pricing::PricedBook& book);

// The operations of a printed page: its sheet with the lines `lines` gives for it.
SheetOps bookSheetOps(const LaidOutBook& book, const BookSheet& sheet, const BookPageLines& lines);

// The order the book prints in: categories in the order they first appear, the pages of each category in
// book order. Returns indices into `entries`.
std::vector<std::size_t> bookOrder(const std::vector<BookEntry>& entries);

// The cover (the title, the shop's name, the date, the number of pages), the contents (for each category the
// page number, reference and description of its pages, under a page what its prices give to look at; a page
// not printed with its reason instead of a number) and every printed page.
LaidOutBook layOutBook(const std::vector<BookEntry>& entries, const BookFront& front);

// The book as plain text, a page at a time to `write`: the cover, the contents and every page, each printed
// page followed by its footer, with a form feed before each new page.
void renderBookText(const LaidOutBook& book, const BookPageLines& lines,
                    const std::function<void(std::string_view)>& write);

} // namespace sheet
