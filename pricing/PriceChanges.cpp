#include "pricing/PriceChanges.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

#include "platform/Fault.h"
#include "platform/SmallFile.h"
#include "platform/TextFile.h"

namespace pricing {

namespace {

std::string key(const LastPage& page)
{
    return page.orderNo + '\x1f' + page.part + '\x1f' + page.mark + '\x1f' + page.category;
}

// The price a list line shows, after its "$".
std::string shownPrice(const std::string& line)
{
    const std::size_t dollar = line.find('$');
    return dollar == std::string::npos ? std::string() : line.substr(dollar + 1);
}

// Cents of a shown price ("1234.50"); none for anything else.
std::optional<std::int64_t> cents(const std::string& price)
{
    const std::size_t point = price.find('.');
    if (point == std::string::npos || price.size() != point + 3)
        return std::nullopt;
    std::int64_t dollars = 0;
    std::int64_t hundredths = 0;
    const char* begin = price.data();
    if (std::from_chars(begin, begin + point, dollars).ptr != begin + point ||
        std::from_chars(begin + point + 1, begin + price.size(), hundredths).ptr != begin + price.size())
        return std::nullopt;
    return dollars * 100 + (dollars < 0 ? -hundredths : hundredths);
}

[[noreturn]] void notALastBook(const std::string& path, const std::string& why)
{
    throw platform::Fault(platform::fault::PathFileAccessError,
                          "The prices of the last book (" + path +
                              ") could not be read, so no change is marked. Move the file out of the way; the next "
                              "whole book writes it again.",
                          why);
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

LastPage lastPageOf(const PricedPage& priced)
{
    LastPage page;
    page.orderNo = priced.order->orderNo;
    page.part = priced.order->partNo;
    page.mark = quoteOrJobCode(priced.quoteOrJob);
    page.category = priced.page.category;
    for (std::size_t k = 0; k < priced.lines.size(); ++k)
        page.prices.push_back({priced.prices[k].quantity, shownPrice(priced.lines[k])});
    return page;
}

} // namespace

std::string lastBookPath(const std::string& dataFolder)
{
    return (std::filesystem::path(dataFolder) / LastBookFileName).string();
}

std::optional<LastBook> readLastBook(const std::string& dataFolder)
{
    const std::string path = lastBookPath(dataFolder);
    const std::optional<std::string> content = platform::readSmallFileIfThere(path);
    if (!content)
        return std::nullopt;
    LastBook book;
    std::size_t pos = 0;
    std::size_t lineNumber = 0;
    while (pos < content->size()) {
        std::size_t end = content->find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = content->size();
        ++lineNumber;
        const std::vector<std::string> items =
            platform::splitItems(std::string_view(*content).substr(pos, end - pos));
        pos = end;
        while (pos < content->size() && (*content)[pos] != '\n' && (*content)[pos] == '\r')
            ++pos;
        if (pos < content->size() && (*content)[pos] == '\n')
            ++pos;
        if (items.empty())
            continue;
        const std::string where = "line " + std::to_string(lineNumber);
        if (lineNumber == 1) {
            if (items.size() != 2 || items[0] != "printed")
                notALastBook(path, where + ": the date the book was printed is missing");
            book.printedOn = items[1];
            continue;
        }
        if (items.size() < 4 || (items.size() - 4) % 2 != 0)
            notALastBook(path,
                         where + ": an order, its part, Q or J, category and pairs of quantity and price were expected");
        LastPage& page = book.pages.emplace_back();
        page.orderNo = items[0];
        page.part = items[1];
        page.mark = items[2];
        page.category = items[3];
        for (std::size_t k = 4; k < items.size(); k += 2) {
            std::int32_t quantity = 0;
            const std::string& q = items[k];
            if (std::from_chars(q.data(), q.data() + q.size(), quantity).ptr != q.data() + q.size() ||
                !cents(items[k + 1]))
                notALastBook(path, where + ": \"" + q + "\" and \"" + items[k + 1] + "\" are no quantity and price");
            page.prices.push_back({quantity, items[k + 1]});
        }
    }
    if (lineNumber == 0)
        notALastBook(path, "the file is empty");
    return book;
}

void writeLastBook(const std::string& dataFolder, const LastBook& book)
{
    std::vector<std::string> lines = {"printed," + platform::itemLine(book.printedOn)};
    for (const LastPage& page : book.pages) {
        std::string line = platform::itemLine(page.orderNo) + "," + platform::itemLine(page.part) + "," +
                           platform::itemLine(page.mark) + "," +
                           (page.category.empty() ? std::string("\"\"") : platform::itemLine(page.category));
        for (const LastPrice& price : page.prices)
            line += "," + std::to_string(price.quantity) + "," + price.price;
        lines.push_back(std::move(line));
    }
    platform::writeLines(lastBookPath(dataFolder), lines);
}

LastBook lastBookOf(const std::vector<PricedPage>& pages, const std::optional<LastBook>& previous,
                    const std::string& printedOn)
{
    LastBook book;
    book.printedOn = printedOn;
    std::map<std::string, bool> printed;
    for (const PricedPage& priced : pages) {
        if (!priced.printable() || !priced.order)
            continue;
        LastPage page = lastPageOf(priced);
        if (printed.emplace(key(page), true).second)
            book.pages.push_back(std::move(page));
    }
    if (previous) {
        for (const LastPage& page : previous->pages) {
            if (printed.emplace(key(page), true).second)
                book.pages.push_back(page);
        }
    }
    return book;
}

std::vector<PriceChange> compareWithLast(const std::vector<PricedPage>& pages, const LastBook& last,
                                         std::vector<std::vector<bool>>* marks)
{
    std::map<std::string, const LastPage*> before;
    for (const LastPage& page : last.pages)
        before.emplace(key(page), &page);

    std::vector<PriceChange> changes;
    if (marks)
        marks->assign(pages.size(), {});
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const PricedPage& priced = pages[p];
        if (!priced.printable() || !priced.order)
            continue;
        const LastPage now = lastPageOf(priced);
        const auto found = before.find(key(now));
        if (found == before.end())
            continue;
        const LastPage& then = *found->second;
        const bool sameQuantities =
            then.prices.size() == now.prices.size() &&
            std::equal(then.prices.begin(), then.prices.end(), now.prices.begin(),
                       [](const LastPrice& a, const LastPrice& b) { return a.quantity == b.quantity; });
        if (!sameQuantities)
            continue;
        std::vector<bool> changed(now.prices.size(), false);
        for (std::size_t k = 0; k < now.prices.size(); ++k) {
            const std::optional<std::int64_t> oldCents = cents(then.prices[k].price);
            const std::optional<std::int64_t> newCents = cents(now.prices[k].price);
            if (oldCents == newCents)
                continue;
            changed[k] = true;
            PriceChange& change = changes.emplace_back();
            change.reference = bookReference(priced.quoteOrJob, now.orderNo);
            change.part = now.part;
            change.category = priced.page.category;
            change.quantity = now.prices[k].quantity;
            change.oldPrice = then.prices[k].price;
            change.newPrice = now.prices[k].price;
            if (oldCents && newCents && *oldCents != 0)
                change.percent = static_cast<double>(*newCents - *oldCents) * 100.0 / static_cast<double>(*oldCents);
            change.page = p;
        }
        if (marks)
            (*marks)[p] = std::move(changed);
    }
    std::stable_sort(changes.begin(), changes.end(), [](const PriceChange& a, const PriceChange& b) {
        const double sizeA = a.percent ? std::fabs(*a.percent) : INFINITY;
        const double sizeB = b.percent ? std::fabs(*b.percent) : INFINITY;
        return sizeA > sizeB;
    });
    return changes;
}

std::string changesCsv(const std::vector<PriceChange>& changes)
{
    std::string csv = "reference,part,category,quantity,old price,new price,change in per cent\r\n";
    for (const PriceChange& c : changes) {
        char percent[32] = "";
        if (c.percent)
            std::snprintf(percent, sizeof percent, "%+.2f", *c.percent);
        csv += csvField(c.reference) + "," + csvField(c.part) + "," + csvField(c.category) + "," +
               std::to_string(c.quantity) + "," + c.oldPrice + "," + c.newPrice + "," + percent + "\r\n";
    }
    return csv;
}

} // namespace pricing
