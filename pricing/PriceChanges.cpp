#include "pricing/PriceChanges.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CsvJson.h"
#include "platform/Fault.h"
#include "platform/FileKind.h"
#include "platform/TextFile.h"
#include "pricing/Rounding.h"

namespace pricing {

namespace {

// Cents of a shown price ("1234.50", "-0.50"); none for anything else.
std::optional<std::int64_t> cents(std::string_view price)
{
    const bool negative = price.starts_with('-');
    if (negative)
        price.remove_prefix(1);
    const std::size_t point = price.find('.');
    if (point == std::string_view::npos || point == 0 || price.size() != point + 3)
        return std::nullopt;
    std::int64_t dollars = 0;
    std::int64_t hundredths = 0;
    const char* begin = price.data();
    const auto whole = std::from_chars(begin, begin + point, dollars);
    const auto part = std::from_chars(begin + point + 1, begin + price.size(), hundredths);
    if (whole.ptr != begin + point || whole.ec != std::errc() || part.ptr != begin + price.size() ||
        begin[point + 1] == '-' || dollars < 0 || dollars > INT64_MAX / 100 - 1)
        return std::nullopt;
    const std::int64_t value = dollars * 100 + hundredths;
    return negative ? -value : value;
}

// "1234.50" for 123450 cents, as the sheet shows a price.
std::string centsText(std::int64_t value)
{
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char hundredths[4];
    std::snprintf(hundredths, sizeof hundredths, "%02u", static_cast<unsigned>(magnitude % 100));
    return (value < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + hundredths;
}

[[noreturn]] void notALastBook(const std::string& path, const std::string& why)
{
    throw platform::Fault(platform::fault::PathFileAccessError,
                          "The prices of the last book (" + path +
                              ") could not be read, so no change is marked. Move the file out of the way; the next "
                              "whole book writes it again.",
                          why);
}

[[noreturn]] void notKept(const std::string& path, const std::string& why)
{
    throw platform::Fault(platform::fault::PathFileAccessError,
                          "The prices of this book could not be kept in " + path + ".", why);
}

// A page line's items: order number, part, Q or J, category, then pairs of quantity and price.
LastPage parsePage(const std::vector<std::string>& items, const std::string& path, const std::string& where)
{
    if (items.size() < 4 || (items.size() - 4) % 2 != 0)
        notALastBook(path,
                     where + ": an order, its part, Q or J, category and pairs of quantity and price were expected");
    LastPage page;
    page.key = {items[0], items[1], items[2], items[3]};
    page.prices.reserve((items.size() - 4) / 2);
    for (std::size_t k = 4; k < items.size(); k += 2) {
        std::int32_t quantity = 0;
        const std::string& q = items[k];
        if (std::from_chars(q.data(), q.data() + q.size(), quantity).ptr != q.data() + q.size() || !cents(items[k + 1]))
            notALastBook(path, where + ": \"" + q + "\" and \"" + items[k + 1] + "\" are no quantity and price");
        page.prices.push_back({quantity, items[k + 1]});
    }
    return page;
}

std::string megabytes(std::uint64_t bytes)
{
    return std::to_string(bytes >> 20) + " MB";
}

} // namespace

std::string lastBookPath(const std::string& dataFolder)
{
    return (std::filesystem::path(dataFolder) / LastBookFileName).string();
}

std::optional<LastBook> LastBook::open(const std::string& dataFolder)
{
    LastBook book;
    book.m_path = lastBookPath(dataFolder);
    const std::string& path = book.m_path;
    // Opened without waiting (a FIFO would wait for a writer) and judged by what was opened.
    book.m_file = platform::FileDescriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (book.m_file.get() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return std::nullopt;
        notALastBook(path, "open: " + std::generic_category().message(error));
    }
    struct stat status {};
    if (::fstat(book.m_file.get(), &status) != 0)
        notALastBook(path, "fstat: " + std::generic_category().message(errno));
    if (!S_ISREG(status.st_mode))
        notALastBook(path, "it is " + std::string(platform::nonFileKind(status.st_mode)) + ", not a file");
    const std::string tooLarge = "it holds more than " + megabytes(kLastBookLimit) +
                                 ", more than the prices of the largest book the program prints";
    if (static_cast<std::uint64_t>(status.st_size) > kLastBookLimit)
        notALastBook(path, tooLarge);

    // Read through once, a piece at a time: every line is checked, and where each page's line lies noted.
    std::size_t lineNumber = 0;
    const auto take = [&](std::string_view line, std::uint64_t offset) {
        ++lineNumber;
        const std::vector<std::string> items = platform::splitItems(line);
        if (items.empty())
            return;
        const std::string where = "line " + std::to_string(lineNumber);
        if (lineNumber == 1) {
            if (items.size() != 2 || items[0] != "printed")
                notALastBook(path, where + ": the date the book was printed is missing");
            book.m_printedOn = items[1];
            return;
        }
        const LastPage page = parsePage(items, path, where);
        book.m_byKey.emplace(page.key, book.m_lines.size());
        book.m_lines.push_back({page.key, {offset, line.size()}});
    };
    std::string pending;        // the lines not yet taken
    std::uint64_t pendingAt = 0; // where they start in the file
    std::uint64_t total = 0;
    std::array<char, 65536> buffer{};
    for (bool end = false; !end;) {
        const ssize_t got = ::read(book.m_file.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            notALastBook(path, "read: " + std::generic_category().message(errno));
        end = got == 0;
        total += static_cast<std::uint64_t>(got);
        if (total > kLastBookLimit)
            notALastBook(path, tooLarge);
        pending.append(buffer.data(), static_cast<std::size_t>(got));
        std::size_t pos = 0;
        for (;;) {
            const std::size_t stop = pending.find_first_of("\r\n", pos);
            // A carriage return at the end of what was read may still have its line feed to come.
            if (stop == std::string::npos || (!end && stop + 1 == pending.size() && pending[stop] == '\r'))
                break;
            take(std::string_view(pending).substr(pos, stop - pos), pendingAt + pos);
            pos = stop + (pending[stop] == '\r' && stop + 1 < pending.size() && pending[stop + 1] == '\n' ? 2 : 1);
        }
        if (end && pos < pending.size()) {
            take(std::string_view(pending).substr(pos), pendingAt + pos);
            pos = pending.size();
        }
        pending.erase(0, pos);
        pendingAt += pos;
    }
    if (lineNumber == 0)
        notALastBook(path, "the file is empty");
    return book;
}

std::string LastBook::readLine(const Where& where) const
{
    try {
        return platform::readAt(m_file, where.offset, where.bytes, m_path);
    } catch (const std::system_error& error) {
        notALastBook(m_path, "read: " + error.code().message());
    }
}

std::optional<LastPage> LastBook::page(const PageKey& key) const
{
    const auto found = m_byKey.find(key);
    if (found == m_byKey.end())
        return std::nullopt;
    return parsePage(platform::splitItems(readLine(m_lines[found->second].second)), m_path, "a page");
}

std::vector<LastPage> LastBook::pages() const
{
    std::vector<LastPage> pages;
    for (const auto& [key, where] : m_lines)
        pages.push_back(parsePage(platform::splitItems(readLine(where)), m_path, "a page"));
    return pages;
}

LastBookWriter::LastBookWriter(const std::string& dataFolder, const std::string& printedOn)
    : m_path(lastBookPath(dataFolder))
{
    try {
        m_file.emplace(m_path, ".new-");
    } catch (const std::system_error& error) {
        notKept(m_path, error.code().message());
    }
    write("printed," + platform::itemLine(printedOn));
}

void LastBookWriter::add(const LastPage& page)
{
    std::string line = platform::itemLine(page.key.orderNo) + "," + platform::itemLine(page.key.part) + "," +
                       platform::itemLine(page.key.mark) + "," +
                       (page.key.category.empty() ? std::string("\"\"") : platform::itemLine(page.key.category));
    for (const LastPrice& price : page.prices)
        line += "," + std::to_string(price.quantity) + "," + price.price;
    write(line);
}

void LastBookWriter::write(const std::string& line)
{
    m_bytes += line.size() + 2;
    if (m_bytes > kLastBookLimit)
        notKept(m_path, "the prices would take more than the " + megabytes(kLastBookLimit) + " the file may hold");
    try {
        m_file->write(line + "\r\n");
    } catch (const std::system_error& error) {
        notKept(m_path, error.code().message());
    }
}

void LastBookWriter::putInPlace()
{
    try {
        m_file->putInPlace(platform::ReplacementFile::Placing::Replace);
    } catch (const std::system_error& error) {
        notKept(m_path, error.code().message());
    }
}

std::optional<PageKey> pageKeyOf(const PricedPage& priced)
{
    if (!priced.order)
        return std::nullopt;
    return PageKey{priced.order->orderNo, priced.order->partNo, quoteOrJobCode(priced.quoteOrJob),
                   priced.page.category};
}

LastPage lastPageOf(const PageKey& key, const std::vector<StoredLine>& lines)
{
    LastPage page;
    page.key = key;
    page.prices.reserve(lines.size());
    for (const StoredLine& line : lines)
        page.prices.push_back({line.quantity, shownPrice(line.line)});
    return page;
}

LastPage lastPageOf(const PricedPage& priced)
{
    LastPage page;
    page.key = pageKeyOf(priced).value_or(PageKey{});
    page.prices.reserve(priced.lines.size());
    for (std::size_t k = 0; k < priced.lines.size(); ++k)
        page.prices.push_back({priced.prices[k].quantity, shownPrice(priced.lines[k])});
    return page;
}

std::optional<double> PriceChange::percent() const
{
    if (oldCents == 0)
        return std::nullopt;
    return static_cast<double>(newCents - oldCents) * 100.0 / static_cast<double>(oldCents);
}

PageComparison comparePage(std::size_t index, const LastPage& now, const LastPage& then)
{
    PageComparison comparison;
    const bool sameQuantities =
        then.prices.size() == now.prices.size() &&
        std::equal(then.prices.begin(), then.prices.end(), now.prices.begin(),
                   [](const LastPrice& a, const LastPrice& b) { return a.quantity == b.quantity; });
    if (!sameQuantities)
        return comparison;
    comparison.changed.assign(now.prices.size(), false);
    for (std::size_t k = 0; k < now.prices.size(); ++k) {
        const std::optional<std::int64_t> oldCents = cents(then.prices[k].price);
        const std::optional<std::int64_t> newCents = cents(now.prices[k].price);
        if (oldCents == newCents || !oldCents || !newCents)
            continue;
        comparison.changed[k] = true;
        comparison.changes.push_back({index, now.prices[k].quantity, *oldCents, *newCents});
    }
    return comparison;
}

void sortChanges(std::vector<PriceChange>& changes)
{
    std::stable_sort(changes.begin(), changes.end(), [](const PriceChange& a, const PriceChange& b) {
        const std::optional<double> percentA = a.percent();
        const std::optional<double> percentB = b.percent();
        const double sizeA = percentA ? std::fabs(*percentA) : INFINITY;
        const double sizeB = percentB ? std::fabs(*percentB) : INFINITY;
        return sizeA > sizeB;
    });
}

void writeChangesCsv(const std::vector<PriceChange>& changes, const std::vector<PricedPage>& pages,
                     const std::function<void(std::string_view)>& write)
{
    write("reference,part,category,quantity,old price,new price,change in per cent\r\n");
    for (const PriceChange& c : changes) {
        const PricedPage& priced = pages.at(c.page);
        char percent[32] = "";
        if (const std::optional<double> moved = c.percent())
            std::snprintf(percent, sizeof percent, "%+.2f", *moved);
        write(platform::csvField(bookReference(priced.quoteOrJob, priced.order->orderNo)) + "," +
              platform::csvField(priced.order->partNo) + "," + platform::csvField(priced.page.category) + "," +
              std::to_string(c.quantity) + "," + centsText(c.oldCents) + "," + centsText(c.newCents) + "," + percent +
              "\r\n");
    }
}

} // namespace pricing
