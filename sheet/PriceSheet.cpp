#include "sheet/PriceSheet.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>

#include "platform/Conversions.h"
#include "platform/Format.h"
#include "pricing/PriceBook.h"
#include "pricing/Rounding.h"
#include "sheet/SheetWriter.h"

namespace sheet {

namespace {

// Texts of the window are UTF-8; widths, cuts and padding count characters, never bytes, so a cut never
// splits a letter such as an accented one.
std::vector<std::size_t> characterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    }
    return starts;
}

std::size_t characterCount(std::string_view text)
{
    return characterStarts(text).size();
}

std::string leftCharacters(std::string_view text, std::size_t count)
{
    const std::vector<std::size_t> starts = characterStarts(text);
    if (count >= starts.size())
        return std::string(text);
    return std::string(text.substr(0, starts[count]));
}

std::string padRight(std::string_view text, std::size_t width)
{
    std::string padded(text);
    const std::size_t count = characterCount(text);
    if (count < width)
        padded.append(width - count, ' ');
    return padded;
}

// Courier, Times Roman, Sans Serif.
constexpr SheetLayout kCourier{"Courier New", 8, 22, 50, 60, 60, 62, 18, 37, 54,
                               "  Quantity       Price                Quantity       Price", 0};
constexpr SheetLayout kTimesRoman{"Times New Roman", 14, 24, 80, 75, 68, 116, 22, 59, 80, "  Quantity                Price", 56};
constexpr SheetLayout kSansSerif{"MS Sans Serif", 12, 24, 75, 75, 68, 110, 22, 54, 75, "  Quantity                Price", 50};

constexpr std::size_t kCategoryWidth = 40;
constexpr std::size_t kSizeWidth = 20;
constexpr int kDescriptionColumn = 17;

std::string changeMark(const SheetInputs& inputs, std::size_t line)
{
    return line < inputs.changed.size() && inputs.changed[line] ? std::string(" ") + kChangeMark : std::string();
}

} // namespace

std::string printedQuantity(const std::string& priceLine)
{
    return platform::format(static_cast<double>(platform::toInt32(platform::val(priceLine))), "  #,###,##0");
}

std::string printedPrice(const std::string& priceLine)
{
    // The text after the line's "$", with the minus sign before it for a price below nothing.
    return platform::format(platform::Currency::fromDouble(platform::val(pricing::shownPrice(priceLine))),
                            "$#,##0.00");
}

const SheetLayout& sheetLayout(std::optional<Typeface> typeface)
{
    if (typeface == Typeface::Courier)
        return kCourier;
    if (typeface == Typeface::SansSerif)
        return kSansSerif;
    return kTimesRoman;
}

SheetInputs sheetInputs(const pricing::PriceRequest& request,
                        const pricing::OrderSelection& order,
                        std::vector<std::string> priceLines)
{
    return sheetInputs(order, request.quoteOrJob, request.category, request.typeface, std::move(priceLines));
}

SheetInputs sheetInputs(const pricing::OrderSelection& order,
                        pricing::QuoteOrJob quoteOrJob,
                        std::string category,
                        Typeface typeface,
                        std::vector<std::string> priceLines)
{
    SheetInputs inputs;
    inputs.priceLines = std::move(priceLines);
    inputs.category = std::move(category);
    inputs.job = quoteOrJob == pricing::QuoteOrJob::Job;
    inputs.orderNo = order.orderNo;
    inputs.description = order.description;
    inputs.stock = order.stock;
    inputs.size = order.size;
    inputs.bindery = order.bindery;
    inputs.typeface = typeface;
    return inputs;
}

std::string sheetCategory(std::string_view category)
{
    return platform::trim(leftCharacters(category, kCategoryWidth));
}

std::string sheetReference(bool job, std::string_view orderNo)
{
    return pricing::bookReference(job ? pricing::QuoteOrJob::Job : pricing::QuoteOrJob::Quote, orderNo);
}

std::vector<std::string> descriptionLines(std::string_view description, std::size_t width)
{
    std::vector<std::string> lines;
    if (width == 0)
        return lines;
    std::string_view remaining = description;
    while (!remaining.empty()) {
        const std::vector<std::size_t> starts = characterStarts(remaining);
        std::size_t length = remaining.size(); // bytes of this line
        if (starts.size() > width) {
            // The first `width` characters, shortened from the right until they end with a space.
            std::size_t count = width;
            while (count > 0 && remaining[starts[count - 1]] != ' ')
                --count;
            if (count == 0)
                count = width; // no space to break at: break at the width
            length = starts[count];
        }
        lines.emplace_back(remaining.substr(0, length));
        remaining.remove_prefix(length);
    }
    return lines;
}

double localNowSerial()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return platform::dateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                local.tm_sec);
}

namespace {

// Everything above the price rows, ending plain after the column heading.
void writeHead(SheetWriter& w, const SheetInputs& inputs, const SheetLayout& layout, const std::string& rule,
               double printedAt)
{
    if (inputs.typeface)
        w.fontName(layout.fontName);

    // Title.
    w.size(30);
    w.bold(true);
    w.column(layout.titleColumn);
    w.line("Counter Price Book");
    w.line(" ");

    // Category, underlined and larger.
    w.size(14);
    w.text("  Category:  ");
    w.size(18);
    w.underline(true);
    w.line(sheetCategory(inputs.category));
    w.underline(false);
    w.size(8);
    w.endLine();
    w.size(14);

    // Reference, date and time.
    w.text("  Ref#: ");
    w.bold(false);
    w.line(sheetReference(inputs.job, inputs.orderNo));
    w.bold(true);
    w.text("  ");
    w.text("Date: ");
    w.bold(false);
    w.text(platform::formatDate(printedAt, "mm/dd/yy"));
    w.column(layout.timeColumn);
    w.bold(true);
    w.text("Time: ");
    w.bold(false);
    w.line(platform::formatDate(printedAt, "hh:mm:ss AM/PM"));
    w.endLine();

    // Description, stock, size and bindery.
    w.bold(true);
    w.text("  Description: ");
    w.bold(false);
    const std::vector<std::string> description = descriptionLines(inputs.description, layout.descriptionWidth);
    for (const std::string& line : description) {
        w.column(kDescriptionColumn);
        w.line(line);
    }
    // Without a description the stock still starts a line of its own.
    if (description.empty())
        w.endLine();
    w.bold(true);
    w.text("  Stock: ");
    w.bold(false);
    w.line(padRight(inputs.stock, layout.stockWidth));
    w.bold(true);
    w.text("  Size: ");
    w.bold(false);
    w.line(leftCharacters(inputs.size, kSizeWidth));
    w.bold(true);
    w.text("  Bindery: ");
    w.bold(false);
    w.text(padRight(inputs.bindery, layout.binderyWidth));
    w.bold(true);
    w.line("");
    // A list with quantities missing says so before anyone reads a price of it.
    if (!inputs.notComplete.empty())
        w.line("  " + inputs.notComplete);

    // Column heading between two rules.
    w.line(rule);
    w.text(layout.heading);
    if (layout.headingRepeatColumn > 0) {
        w.column(layout.headingRepeatColumn);
        w.text(layout.heading);
    }
    w.endLine();
    w.line(rule);
    w.bold(false);
}

// One row: the quantity and price of `left`, and of `right` when there is one.
void writeRow(SheetWriter& w, const SheetInputs& inputs, const SheetLayout& layout, std::size_t left,
              std::optional<std::size_t> right)
{
    w.text(printedQuantity(inputs.priceLines[left]));
    w.column(layout.leftPriceColumn);
    w.text(printedPrice(inputs.priceLines[left]) + changeMark(inputs, left));
    if (right) {
        w.column(layout.rightQuantityColumn);
        w.text(printedQuantity(inputs.priceLines[*right]));
        w.column(layout.rightPriceColumn);
        w.text(printedPrice(inputs.priceLines[*right]) + changeMark(inputs, *right));
    }
    w.endLine();
}

} // namespace

SheetOps buildSheetHead(const SheetInputs& inputs, double printedAt)
{
    const SheetLayout& layout = sheetLayout(inputs.typeface);
    SheetWriter w;
    writeHead(w, inputs, layout, "  " + std::string(layout.ruleLength, '-'), printedAt);
    return w.take();
}

SheetOps buildPriceSheet(const SheetInputs& inputs, double printedAt, SheetPageRows rows)
{
    if (inputs.priceLines.empty())
        return {};
    const SheetLayout& layout = sheetLayout(inputs.typeface);
    const std::string rule = "  " + std::string(layout.ruleLength, '-');
    SheetWriter w;
    writeHead(w, inputs, layout, rule, printedAt);

    // Price rows, page by page: the page's lines down its left column, then down its right one. A page that
    // is not full (the only one of a short list) shares its lines out evenly between the two.
    const std::size_t count = inputs.priceLines.size();
    std::size_t next = 0; // the first line of the page
    for (std::size_t page = 0; next < count; ++page) {
        const std::size_t capacity = rows.first == 0 ? count : std::max<std::size_t>(1, page == 0 ? rows.first : rows.later);
        const std::size_t lines = std::min(2 * capacity, count - next);
        const std::size_t pageRows = (lines + 1) / 2;
        for (std::size_t i = 0; i < pageRows; ++i) {
            const std::size_t right = next + pageRows + i;
            writeRow(w, inputs, layout, next + i, right < next + lines ? std::optional(right) : std::nullopt);
        }
        next += lines;
    }

    w.bold(true);
    w.line(rule);
    w.endDocument();
    return w.take();
}

std::string renderSheetText(const SheetOps& ops)
{
    std::string out;
    std::size_t column = 0; // characters on the current line
    for (const SheetOp& op : ops) {
        switch (op.kind) {
        case SheetOpKind::Text:
            out += op.text;
            column += characterCount(op.text);
            break;
        case SheetOpKind::EndLine:
            out += '\n';
            column = 0;
            break;
        case SheetOpKind::Column: {
            const std::size_t target = op.number > 1 ? static_cast<std::size_t>(op.number - 1) : 0;
            if (column > target) {
                out += '\n';
                column = 0;
            }
            out.append(target - column, ' ');
            column = target;
            break;
        }
        case SheetOpKind::EndDocument:
            if (column > 0)
                out += '\n';
            return out;
        case SheetOpKind::FontName:
        case SheetOpKind::FontSize:
        case SheetOpKind::Bold:
        case SheetOpKind::Underline:
            break;
        }
    }
    return out;
}

} // namespace sheet
