#include "pricing/PriceBook.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <filesystem>

#include "platform/Fault.h"
#include "platform/SmallFile.h"
#include "platform/TextFile.h"
#include "pricing/Schedule.h"

namespace pricing {

namespace {

// The most quantities one page prices: far more than a counter sheet shows, few enough that a slip of a
// finger (a step of 1 up to a million) does not keep the shop database busy for hours.
constexpr std::uint64_t kMostPageQuantities = 100000;

constexpr const char* kScheduleNames[] = {"start quantity", "first step",  "second quantity", "second step",
                                          "third quantity", "third step", "final quantity"};

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

// The seven schedule texts of the parameters, in the book's order: Q1, J1, Q2, J2, Q3, J3, Q4.
std::array<std::string*, 7> scheduleTexts(PriceParameters& p)
{
    return {&p.qty1, &p.jump1, &p.qty2, &p.jump2, &p.qty3, &p.jump3, &p.qty4};
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

    const std::array<std::string*, 7> schedule = scheduleTexts(page.parameters);
    for (std::size_t k = 0; k < schedule.size(); ++k) {
        if (const std::string* text = given(4 + k))
            *schedule[k] = *text;
    }
    // Every number of the schedule is checked, given or taken from the defaults: a page is priced only on a
    // schedule that makes sense.
    for (std::size_t k = 0; k < schedule.size(); ++k) {
        const bool quantity = k % 2 == 0;
        const std::optional<std::int64_t> number = wholeNumber(*schedule[k]);
        if (number && *number <= INT32_MAX)
            *schedule[k] = std::to_string(*number); // "1,000" as the pricing run reads it: 1000
        if (!number || *number > INT32_MAX || (quantity && *number == 0)) {
            fail("the " + std::string(kScheduleNames[k]) + " \"" + *schedule[k] + "\" is not a whole number " +
                 (quantity ? "above 0" : "of 0 or more"));
        } else if (quantity && k > 0) {
            const std::optional<std::int64_t> previous = wholeNumber(*schedule[k - 2]);
            if (previous && *number < *previous)
                fail("the " + std::string(kScheduleNames[k]) + " (" + *schedule[k] + ") is below the " +
                     kScheduleNames[k - 2] + " (" + *schedule[k - 2] + ")");
        }
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
    PriceParameters parameters = page.parameters;
    std::vector<std::string> items = {page.orderNo,
                                      page.key.partNo ? std::to_string(*page.key.partNo) : std::string(),
                                      page.key.quoteOrJob ? quoteOrJobCode(*page.key.quoteOrJob) : std::string(),
                                      page.category};
    for (const std::string* text : scheduleTexts(parameters))
        items.push_back(*text);
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

std::string describeBookPage(const BookPage& page)
{
    std::string text = "order " + page.orderNo;
    if (page.key.partNo)
        text += " part " + std::to_string(*page.key.partNo);
    if (page.key.quoteOrJob)
        text += *page.key.quoteOrJob == QuoteOrJob::Job ? " (job)" : " (quote)";
    return text;
}

} // namespace pricing
