#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pricing/PriceRequest.h"
#include "pricing/PriceSettings.h"

namespace sheet {

using pricing::Typeface;

// One operation of the printer: the sheet is laid out once as a list of these, and each renderer (the
// printer, preview and PDF painter, and the plain-text renderer) plays them in order.
enum class SheetOpKind
{
    FontName,   // text: the font name
    FontSize,   // number: points
    Bold,       // on
    Underline,  // on
    Text,       // text, printed at the current position; the line goes on
    EndLine,    // ends the line: the next text starts at the left margin one line lower
    Column,     // number: move to print column n (counted from 1)
    EndDocument // sends the page or pages to the printer
};

struct SheetOp
{
    SheetOpKind kind = SheetOpKind::Text;
    std::string text;
    int number = 0;
    bool on = false;
    bool operator==(const SheetOp&) const = default;
};

using SheetOps = std::vector<SheetOp>;

// The column positions and widths of one typeface (print columns counted from 1).
struct SheetLayout
{
    const char* fontName;
    int titleColumn;
    int timeColumn;               // on the date line
    std::size_t descriptionWidth; // characters of one description line
    std::size_t stockWidth;       // stock text padded on the right to this
    std::size_t binderyWidth;     // bindery text padded on the right to this
    std::size_t ruleLength;       // dashes after two spaces
    int leftPriceColumn;
    int rightQuantityColumn;
    int rightPriceColumn;
    // The column heading: one text, or the same text twice with the second at headingRepeatColumn.
    const char* heading;
    int headingRepeatColumn; // 0: printed once
};

// The layout of a typeface; no typeface chosen uses the Times Roman columns.
const SheetLayout& sheetLayout(std::optional<Typeface> typeface);

// What the sheet prints, read from the main window when printing starts.
struct SheetInputs
{
    std::vector<std::string> priceLines; // lstPrice, in list order
    std::string category;                // cboCategories as shown
    bool job = false;                    // optJob
    std::string orderNo;                 // txtQuoteorJob
    std::string description;             // txtDesc
    std::string stock;                   // txtStock
    std::string size;                    // txtSize
    std::string bindery;                 // txtBind
    // optCour, optTime, optSans; none chosen keeps the printer's own font with the Times Roman columns.
    std::optional<Typeface> typeface = Typeface::TimesRoman;
    // Price lines whose price changed since the book printed last (changed[i] for priceLines[i]): the price
    // is followed by the change mark. The single sheet marks none.
    std::vector<bool> changed;
    // For a list that is not complete: which quantities have no price, printed on the sheet's face above the
    // prices. Empty for a complete list.
    std::string notComplete;
};

// How many rows of prices a page holds: below the sheet's head on the first page, from the top on the others.
// 0 on the first page: as many as there are, on one page as far as the printer is concerned.
struct SheetPageRows
{
    std::size_t first = 0;
    std::size_t later = 0;
};

// The sheet of a priced list: its lines, the order's texts, and the typeface and category of its request.
SheetInputs sheetInputs(const pricing::PriceRequest& request, const pricing::OrderSelection& order,
                        std::vector<std::string> priceLines);
// The same for an order priced as a quote or a job, under a category, in a typeface (a book's page).
SheetInputs sheetInputs(const pricing::OrderSelection& order,
                        pricing::QuoteOrJob quoteOrJob,
                        std::string category,
                        Typeface typeface,
                        std::vector<std::string> priceLines = {});

// What follows a changed price, after a space.
inline constexpr const char* kChangeMark = "*";

// The quantity and the price of a price line as the sheet prints them: the line's leading number as
// "  #,###,##0" ("  1,000"), and its text after the first "$" as "$#,##0.00" ("$1,446.39" for "$1446.39").
std::string printedQuantity(const std::string& priceLine);
std::string printedPrice(const std::string& priceLine);

// The category line: its first 40 characters, blanks trimmed.
std::string sheetCategory(std::string_view category);
// "J-" for a job, else "Q-", and the order number, whole.
std::string sheetReference(bool job, std::string_view orderNo);
// The description in lines of at most `width` characters, each broken after its last space; a stretch
// of more than `width` characters without a space is broken at `width` characters.
std::vector<std::string> descriptionLines(std::string_view description, std::size_t width);

// The local date and time now, as a day serial (days since 30 December 1899).
double localNowSerial();

// The Counter Price Book sheet: the title, category, reference, date and time, description, stock, size
// and bindery, and the price lines in two column pairs, ending with EndDocument. `printedAt` is the day
// serial printed as the sheet's date and time. An empty list gives no operations: nothing is printed.
// The two columns share each page: with `rows` the lines fill the left column of the first page, then its
// right column, then the left column of the next page, and so on; each page's last pair of columns shares
// its lines out evenly.
SheetOps buildPriceSheet(const SheetInputs& inputs, double printedAt, SheetPageRows rows = {});

// The sheet's head: everything above the first row of prices, as buildPriceSheet lays it out.
SheetOps buildSheetHead(const SheetInputs& inputs, double printedAt);

// The sheet as plain text, one character a print column: fonts, sizes, bold and underline are dropped.
// A move to a column already passed goes on at that column of the next line, as the printer does.
std::string renderSheetText(const SheetOps& ops);

} // namespace sheet
