#include "pricing/PriceBook.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <variant>

#include "platform/Fault.h"
#include "platform/Format.h"
#include "platform/SmallFile.h"
#include "platform/TextFile.h"
#include "pricing/PriceRequest.h"
#include "pricing/Schedule.h"

namespace pricing {

namespace {


std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// A whole number as the shop types it: digits, with or without thousands separators ("1,000", quoted in the
// file). Nothing for anything else.
std::optional<std::int64_t> wholeNumber(std::string_view text)
{
    std::string digits;
    for (const char c : text) {
        if (c == ',' && !digits.empty())
            continue;
        if (c < '0' || c > '9' || digits.size() > 12)
            return std::nullopt;
        digits += c;
    }
    if (digits.empty())
        return std::nullopt;
    std::int64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

const char* stepWord(RoundingStep step)
{
    switch (step) {
    case RoundingStep::Quarter:
        return "0.25";
    case RoundingStep::Dollar:
        return "1.00";
    case RoundingStep::None:
        break;
    }
    return "none";
}

const char* typefaceWord(Typeface typeface)
{
    switch (typeface) {
    case Typeface::Courier:
        return "courier";
    case Typeface::SansSerif:
        return "sans";
    case Typeface::TimesRoman:
        break;
    }
    return "times";
}

// Reads one line's items into a page; the first problem found is kept and ends the reading.
BookPage pageOf(const std::vector<std::string>& items, const PriceParameters& defaults,
                const std::string& defaultCategory)
{
    BookPage page;
    page.parameters = defaults;
    page.category = defaultCategory;
    const auto given = [&items](std::size_t position) -> const std::string* {
        return position < items.size() && !items[position].empty() ? &items[position] : nullptr;
    };
    const auto fail = [&page](std::string why) {
        if (page.problem.empty())
            page.problem = std::move(why);
    };

    if (const std::string* orderNo = given(0))
        page.orderNo = *orderNo;
    else
        fail("no order number");
    if (items.size() > kBookPageItems)
        fail("more than the " + std::to_string(kBookPageItems) + " items a page has");

    if (const std::string* part = given(1)) {
        const std::optional<std::int64_t> number = wholeNumber(*part);
        if (!number || *number > INT16_MAX)
            fail("the part \"" + *part + "\" is not a part number");
        else
            page.key.partNo = static_cast<std::int16_t>(*number);
    }
    if (const std::string* mark = given(2)) {
        const std::string word = lowered(*mark);
        if (word == "q")
            page.key.quoteOrJob = QuoteOrJob::Quote;
        else if (word == "j")
            page.key.quoteOrJob = QuoteOrJob::Job;
        else
            fail("\"" + *mark + "\" is neither Q (quote) nor J (job)");
    }
    if (const std::string* category = given(3))
        page.category = *category;

    for (std::size_t k = 0; k < kScheduleItems; ++k) {
        if (const std::string* text = given(4 + k))
            scheduleText(page.parameters, static_cast<ScheduleItem>(k)) = *text;
    }
    // Every number of the schedule is checked, given or taken from the defaults, by the window's rules: a
    // page is priced only on a schedule the window would price.
    const std::variant<ScheduleNumbers, ScheduleProblem> numbers = readScheduleNumbers(page.parameters);
    if (const auto* problem = std::get_if<ScheduleProblem>(&numbers)) {
        fail(problem->withValue());
    } else {
        // "1,000" as the pricing run reads it: 1000.
        for (std::size_t k = 0; k < kScheduleItems; ++k)
            scheduleText(page.parameters, static_cast<ScheduleItem>(k)) =
                std::to_string(std::get<ScheduleNumbers>(numbers)[k]);
    }
    if (page.problem.empty()) {
        const std::uint64_t length = scheduleLength(page.parameters);
        if (length > kMostPageQuantities)
            fail("the schedule has " + std::to_string(length) + " quantities; a page prices at most " +
                 std::to_string(kMostPageQuantities));
    }

    if (const std::string* step = given(11)) {
        const std::string word = lowered(*step);
        if (word == "none")
            page.parameters.step = RoundingStep::None;
        else if (word == "0.25" || word == ".25" || word == "quarter")
            page.parameters.step = RoundingStep::Quarter;
        else if (word == "1.00" || word == "1" || word == "dollar")
            page.parameters.step = RoundingStep::Dollar;
        else
            fail("the rounding \"" + *step + "\" is not none, 0.25 or 1.00");
    }
    if (const std::string* direction = given(12)) {
        const std::string word = lowered(*direction);
        if (word == "up")
            page.parameters.direction = RoundingDirection::Up;
        else if (word == "down")
            page.parameters.direction = RoundingDirection::Down;
        else
            fail("the rounding direction \"" + *direction + "\" is not up or down");
    }
    if (const std::string* typeface = given(13)) {
        const std::string word = lowered(*typeface);
        if (word == "courier")
            page.parameters.typeface = Typeface::Courier;
        else if (word == "times")
            page.parameters.typeface = Typeface::TimesRoman;
        else if (word == "sans")
            page.parameters.typeface = Typeface::SansSerif;
        else
            fail("the typeface \"" + *typeface + "\" is not courier, times or sans");
    }
    return page;
}

} // namespace

std::string priceBookPath(const std::string& dataFolder)
{
    return (std::filesystem::path(dataFolder) / PriceBookFileName).string();
}

std::vector<BookPage> parsePriceBook(std::string_view content, const PriceParameters& defaults,
                                     const std::string& defaultCategory)
{
    std::vector<BookPage> pages;
    std::size_t pos = 0;
    std::size_t lineNumber = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = content.size();
        ++lineNumber;
        const std::vector<std::string> items = platform::splitItems(content.substr(pos, end - pos));
        const bool blank = std::all_of(items.begin(), items.end(), [](const std::string& i) { return i.empty(); });
        if (!blank) {
            pages.push_back(pageOf(items, defaults, defaultCategory));
            pages.back().line = lineNumber;
        }
        // CR LF, LF or a lone CR end the line.
        pos = end;
        if (pos < content.size() && content[pos] == '\r')
            ++pos;
        if (pos < content.size() && content[pos] == '\n')
            ++pos;
    }
    return pages;
}

std::vector<BookPage> readPriceBook(const std::string& dataFolder, const PriceParameters& defaults,
                                    const std::string& defaultCategory)
{
    const std::optional<std::string> content = platform::readSmallFileIfThere(priceBookPath(dataFolder));
    if (!content)
        return {};
    return parsePriceBook(*content, defaults, defaultCategory);
}

std::string bookLine(const BookPage& page)
{
    const PriceParameters& parameters = page.parameters;
    std::vector<std::string> items = {page.orderNo,
                                      page.key.partNo ? std::to_string(*page.key.partNo) : std::string(),
                                      page.key.quoteOrJob ? quoteOrJobCode(*page.key.quoteOrJob) : std::string(),
                                      page.category};
    for (std::size_t k = 0; k < kScheduleItems; ++k)
        items.push_back(scheduleText(parameters, static_cast<ScheduleItem>(k)));
    items.emplace_back(stepWord(parameters.step));
    items.emplace_back(parameters.direction == RoundingDirection::Up ? "up" : "down");
    items.emplace_back(typefaceWord(parameters.typeface));

    std::string line;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0)
            line += ',';
        // An empty item is written as "" so it reads back as empty and the later items keep their places.
        line += items[k].empty() ? std::string("\"\"") : platform::itemLine(items[k]);
    }
    return line;
}

void writePriceBook(const std::string& dataFolder, const std::vector<BookPage>& pages)
{
    std::vector<std::string> lines;
    lines.reserve(pages.size());
    for (const BookPage& page : pages)
        lines.push_back(bookLine(page));
    platform::writeLines(priceBookPath(dataFolder), lines);
}

std::string bookReference(QuoteOrJob quoteOrJob, std::string_view orderNo)
{
    return (quoteOrJob == QuoteOrJob::Job ? "J-" : "Q-") + std::string(orderNo);
}

std::optional<OrderSelection> findBookOrder(const std::string& databaseFile, const BookPage& page)
{
    return selectOrder(databaseFile, page.orderNo, page.key);
}

std::optional<OrderSelection> findBookOrder(const data::Database& db, const BookPage& page)
{
    return selectOrder(db, page.orderNo, page.key);
}

std::vector<BookPage> inPrintedOrder(std::vector<BookPage> pages)
{
    std::vector<std::string> categories;
    for (const BookPage& page : pages) {
        if (std::find(categories.begin(), categories.end(), page.category) == categories.end())
            categories.push_back(page.category);
    }
    std::stable_sort(pages.begin(), pages.end(), [&categories](const BookPage& a, const BookPage& b) {
        return std::find(categories.begin(), categories.end(), a.category) <
               std::find(categories.begin(), categories.end(), b.category);
    });
    return pages;
}

std::size_t addBookPage(std::vector<BookPage>& pages, BookPage page)
{
    std::size_t at = pages.size();
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (pages[k].category == page.category)
            at = k + 1;
    }
    pages.insert(pages.begin() + static_cast<std::ptrdiff_t>(at), std::move(page));
    return at;
}

std::vector<std::size_t> movedPageOrder(const std::vector<std::string>& categories, std::size_t at, int by)
{
    std::vector<std::size_t> order(categories.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    if (at >= order.size() || (by < 0 && at == 0) || (by > 0 && at + 1 >= order.size()))
        return order;
    const std::size_t to = by < 0 ? at - 1 : at + 1;
    if (categories[to] == categories[at]) {
        std::swap(order[at], order[to]);
        return order;
    }
    // The first (or last) page of its category: the category and the one before (or after) change places.
    const auto blockOf = [&categories](std::size_t k) {
        std::size_t first = k;
        std::size_t end = k + 1;
        while (first > 0 && categories[first - 1] == categories[k])
            --first;
        while (end < categories.size() && categories[end] == categories[k])
            ++end;
        return std::pair{first, end};
    };
    const auto [ownFirst, ownEnd] = blockOf(at);
    const auto [otherFirst, otherEnd] = blockOf(to);
    const auto position = [&order](std::size_t k) { return order.begin() + static_cast<std::ptrdiff_t>(k); };
    // The later of the two blocks comes first.
    std::rotate(position(std::min(ownFirst, otherFirst)), position(by < 0 ? ownFirst : ownEnd),
                position(std::max(ownEnd, otherEnd)));
    return order;
}

std::optional<std::size_t> findBookPage(const std::vector<BookPage>& pages, const BookPage& page)
{
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (pages[k].orderNo == page.orderNo && pages[k].key == page.key)
            return k;
    }
    return std::nullopt;
}

std::string describeBookPage(const BookPage& page)
{
    std::string text = "order " + page.orderNo;
    if (page.key.partNo)
        text += " part " + std::to_string(*page.key.partNo);
    if (page.key.quoteOrJob)
        text += *page.key.quoteOrJob == QuoteOrJob::Job ? " (job)" : " (quote)";
    return text;
}

std::uint64_t bookQuantities(const std::vector<BookPage>& pages)
{
    std::uint64_t count = 0;
    for (const BookPage& page : pages) {
        if (page.problem.empty())
            count += scheduleLength(page.parameters);
    }
    return count;
}

platform::Outcome checkBookSize(const std::vector<BookPage>& pages)
{
    const std::uint64_t count = bookQuantities(pages);
    if (count <= kMostBookQuantities)
        return std::nullopt;
    return platform::Fault(platform::fault::PathFileAccessError,
                           "The pages of the price book price " + platform::format(static_cast<double>(count), "#,##0") +
                               " quantities together; a book prices at most " +
                               platform::format(static_cast<double>(kMostBookQuantities), "#,##0") +
                               ". Shorten the schedules of its longest pages.");
}

} // namespace pricing
