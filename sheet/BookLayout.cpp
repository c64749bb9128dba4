#include "sheet/BookLayout.h"

#include <algorithm>

#include "platform/Conversions.h"
#include "platform/Format.h"
#include "sheet/SheetWriter.h"

namespace sheet {

namespace {

// The contents are set in Courier, so the page numbers, references and descriptions stand in columns.
constexpr const char* kContentsFont = "Courier New";
constexpr int kReferenceColumn = 9;
constexpr int kDescriptionColumn = 22;
constexpr std::size_t kDescriptionWidth = 60;
constexpr const char* kNoCategory = "(no category)";

std::string pagesText(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " page" : " pages");
}

SheetOps cover(const std::vector<BookEntry>& entries, std::size_t printed, const BookFront& front)
{
    const SheetLayout& layout = sheetLayout(Typeface::TimesRoman);
    SheetWriter w;
    w.fontName(layout.fontName);
    w.size(30);
    w.bold(true);
    w.column(layout.titleColumn);
    w.line("Counter Price Book");
    w.line(" ");
    if (!front.company.empty()) {
        w.size(20);
        w.line("  " + front.company);
        w.line(" ");
    }
    w.size(14);
    w.text("  Date: ");
    w.bold(false);
    w.line(platform::formatDate(front.printedAt, "mm/dd/yy"));
    w.bold(true);
    w.text("  Pages: ");
    w.bold(false);
    w.line(std::to_string(printed));
    const std::size_t missing = entries.size() - printed;
    if (missing > 0) {
        w.endLine();
        w.line("  " + pagesText(missing) + " of the book could not be printed: the contents say why.");
    }
    if (!front.changesSince.empty()) {
        w.endLine();
        w.line(std::string("  ") + kChangeMark + " beside a price: changed since the book of " + front.changesSince +
               ".");
    }
    w.endDocument();
    return w.take();
}

} // namespace

std::vector<BookEntry> bookEntries(const std::vector<pricing::PricedPage>& pages, const pricing::PricedBook& book)
{
    const std::vector<bool> changedPages = book.changedPages();
    std::vector<BookEntry> entries;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        const pricing::PricedPage& priced = pages[k];
        BookEntry& entry = entries.emplace_back();
        entry.category = priced.page.category;
        if (!priced.order) {
            entry.reference = pricing::bookReference(
                priced.page.key.quoteOrJob.value_or(pricing::QuoteOrJob::Quote), priced.page.orderNo);
            entry.problem = priced.problem;
            continue;
        }
        const bool job = priced.quoteOrJob == pricing::QuoteOrJob::Job;
        entry.reference = sheetReference(job, priced.order->orderNo);
        entry.description = priced.order->description;
        if (!priced.printable()) {
            entry.problem = priced.problem;
            continue;
        }
        entry.sheet = sheetInputs(*priced.order, priced.quoteOrJob, priced.page.category,
                                  priced.page.parameters.typeface);
        entry.changed = k < changedPages.size() && changedPages[k];
        for (const pricing::PriceCheck& check : book.checks(k))
            entry.checks.push_back(check.text);
    }
    return entries;
}

std::vector<std::size_t> bookOrder(const std::vector<BookEntry>& entries)
{
    std::vector<std::string> categories;
    for (const BookEntry& entry : entries) {
        if (std::find(categories.begin(), categories.end(), entry.category) == categories.end())
            categories.push_back(entry.category);
    }
    std::vector<std::size_t> order;
    order.reserve(entries.size());
    for (const std::string& category : categories) {
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (entries[k].category == category)
                order.push_back(k);
        }
    }
    return order;
}

LaidOutBook layOutBook(const std::vector<BookEntry>& entries, const BookFront& front)
{
    LaidOutBook book;
    book.printedAt = front.printedAt;
    const std::vector<std::size_t> order = bookOrder(entries);

    SheetWriter contents;
    contents.fontName(kContentsFont);
    contents.size(18);
    contents.bold(true);
    contents.line("  Contents");
    contents.line(" ");
    const std::string* category = nullptr;
    for (const std::size_t k : order) {
        const BookEntry& entry = entries[k];
        if (!category || *category != entry.category) {
            if (category)
                contents.line(" ");
            category = &entry.category;
            contents.size(12);
            contents.bold(true);
            contents.line("  " + (entry.category.empty() ? std::string(kNoCategory) : entry.category));
            contents.size(11);
            contents.bold(false);
        }
        std::string number = "-";
        if (entry.sheet) {
            BookSheet& sheet = book.sheets.emplace_back();
            sheet.number = static_cast<int>(book.sheets.size());
            sheet.entry = k;
            sheet.sheet = *entry.sheet;
            sheet.footer = "Page " + std::to_string(sheet.number);
            if (entry.changed)
                sheet.footer += std::string("      ") + kChangeMark + " changed since " + front.changesSince;
            number = std::to_string(sheet.number);
        }
        contents.text(std::string(number.size() < 6 ? 6 - number.size() : 0, ' ') + number);
        contents.column(kReferenceColumn);
        contents.text(entry.reference);
        contents.column(kDescriptionColumn);
        const std::vector<std::string> description = descriptionLines(entry.description, kDescriptionWidth);
        contents.line(description.empty() ? std::string() : platform::trim(description.front()));
        std::vector<std::string> notes;
        if (!entry.sheet)
            notes.push_back("not printed: " + entry.problem);
        for (const std::string& check : entry.checks)
            notes.push_back("check: " + check);
        for (const std::string& note : notes) {
            for (const std::string& line : descriptionLines(note, kDescriptionWidth)) {
                contents.column(kDescriptionColumn);
                contents.line(line);
            }
        }
    }
    contents.endDocument();
    book.contents = contents.take();
    book.cover = cover(entries, book.sheets.size(), front);
    return book;
}

SheetOps bookSheetOps(const LaidOutBook& book, const BookSheet& sheet, const BookPageLines& lines)
{
    SheetInputs inputs = sheet.sheet;
    PageLines page = lines(sheet.entry);
    inputs.priceLines = std::move(page.lines);
    inputs.changed = std::move(page.changed);
    return buildPriceSheet(inputs, book.printedAt);
}

void renderBookText(const LaidOutBook& book, const BookPageLines& lines,
                    const std::function<void(std::string_view)>& write)
{
    write(renderSheetText(book.cover));
    write("\f");
    write(renderSheetText(book.contents));
    for (const BookSheet& sheet : book.sheets) {
        write("\f");
        write(renderSheetText(bookSheetOps(book, sheet, lines)) + "\n  " + sheet.footer + "\n");
    }
}

} // namespace sheet
