#include "pricing/RunJournal.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#if defined(__unix__)
#include <fcntl.h>
#include <unistd.h>
#endif

#include "data/Database.h"
#include "data/TableView.h"
#include "platform/Fault.h"
#include "pricing/OrderSelection.h"

namespace pricing {

namespace {

constexpr const char* kHeader = "pricebook pricing journal 1";
constexpr const char* kEnd = "end";
constexpr int NotAValidBookmark = 3159;

// Order numbers and texts may hold any character: line ends, the escape character itself and other
// control characters are written as %XX so every field stays on its one line.
std::string escape(std::string_view text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '%') {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0f];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc() || end != text.data() + i + 3)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

std::string exactNumber(double value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string encodeValue(const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        return "null";
    case Kind::Integer:
        return "integer " + std::to_string(value.integer());
    case Kind::Double:
        return "double " + exactNumber(value.real());
    case Kind::Text:
        return "text " + escape(value.text());
    case Kind::Boolean:
        return std::string("boolean ") + (value.boolean() ? "1" : "0");
    case Kind::Date:
        return "date " + exactNumber(value.dateSerial());
    }
    return "null";
}

template <typename Number>
std::optional<Number> parseNumber(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<platform::Value> decodeValue(std::string_view text)
{
    const std::size_t space = text.find(' ');
    const std::string_view kind = text.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
    if (kind == "null" && space == std::string_view::npos)
        return platform::Value::null();
    if (kind == "integer") {
        if (const auto n = parseNumber<std::int64_t>(rest))
            return platform::Value::fromInteger(*n);
    } else if (kind == "double") {
        if (const auto d = parseNumber<double>(rest))
            return platform::Value::fromDouble(*d);
    } else if (kind == "text") {
        if (auto t = unescape(rest))
            return platform::Value::fromText(std::move(*t));
    } else if (kind == "boolean") {
        if (rest == "1" || rest == "0")
            return platform::Value::fromBoolean(rest == "1");
    } else if (kind == "date") {
        if (const auto d = parseNumber<double>(rest))
            return platform::Value::fromDate(*d);
    }
    return std::nullopt;
}

std::string describeQuantity(const platform::Value& value)
{
    return value.isNull() ? std::string("empty") : value.formatted();
}

std::string describeOrder(const JournalEntry& entry)
{
    return "order " + entry.orderNo + " part " + entry.partNo;
}

} // namespace

std::string journalPath(const std::string& dataFolder)
{
    return databasePath(dataFolder) + ".pricing";
}

bool writeJournal(const std::string& dataFolder, const JournalEntry& entry, std::string* failure)
{
    const std::string path = journalPath(dataFolder);
    const std::string temporary = path + ".tmp";
    const std::string content = std::string(kHeader) + "\n" + "order=" + escape(entry.orderNo) + "\n" +
                                "part=" + escape(entry.partNo) + "\n" + "bookmark=" +
                                std::to_string(entry.bookmark) + "\n" + "pressqty=" + encodeValue(entry.pressQty) +
                                "\n" + kEnd + "\n";
    const auto fail = [&](const std::string& what) {
        if (failure)
            *failure = what + " " + temporary + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    };

    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return fail("cannot create");
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size() &&
                         std::fflush(file) == 0;
#if defined(__unix__)
    // On the disk before the rename, so a power cut cannot leave an empty journal under the real name.
    const bool synced = written && ::fsync(::fileno(file)) == 0;
#else
    const bool synced = written;
#endif
    if (std::fclose(file) != 0 || !synced)
        return fail("cannot write");
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        if (failure)
            *failure = "cannot rename " + temporary + " to " + path + ": " + error.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<JournalEntry> readJournal(const std::string& dataFolder)
{
    std::ifstream in(journalPath(dataFolder), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    // A journal is six short lines; anything much longer is not ours.
    while (lines.size() < 7 && std::getline(in, line))
        lines.push_back(line);
    if (lines.size() != 6 || lines[0] != kHeader || lines[5] != kEnd)
        return std::nullopt;
    const auto field = [&](std::size_t index, std::string_view name) -> std::optional<std::string_view> {
        const std::string_view text = lines[index];
        if (text.size() <= name.size() || text.substr(0, name.size()) != name || text[name.size()] != '=')
            return std::nullopt;
        return text.substr(name.size() + 1);
    };
    const auto order = field(1, "order");
    const auto part = field(2, "part");
    const auto bookmark = field(3, "bookmark");
    const auto quantity = field(4, "pressqty");
    if (!order || !part || !bookmark || !quantity)
        return std::nullopt;
    JournalEntry entry;
    auto orderNo = unescape(*order);
    auto partNo = unescape(*part);
    const auto rowid = parseNumber<std::int64_t>(*bookmark);
    auto pressQty = decodeValue(*quantity);
    if (!orderNo || !partNo || !rowid || !pressQty)
        return std::nullopt;
    entry.orderNo = std::move(*orderNo);
    entry.partNo = std::move(*partNo);
    entry.bookmark = *rowid;
    entry.pressQty = std::move(*pressQty);
    return entry;
}

void removeJournal(const std::string& dataFolder)
{
    std::error_code ignored;
    std::filesystem::remove(journalPath(dataFolder), ignored);
}

bool recoverInterruptedRun(const std::string& dataFolder, const MessageCallback& onMessage)
{
    const auto tell = [&](const std::string& message) {
        if (onMessage)
            onMessage(message);
    };
    std::error_code ignored;
    if (!std::filesystem::exists(journalPath(dataFolder), ignored))
        return false;

    const std::optional<JournalEntry> entry = readJournal(dataFolder);
    if (!entry) {
        // Written whole or not at all, so a damaged one was not written by a run: nothing can be put back.
        removeJournal(dataFolder);
        tell("A pricing run journal (" + journalPath(dataFolder) +
             ") could not be read and was removed; check the press quantity of the order last priced.");
        return true;
    }

    const std::string databaseFile = databasePath(dataFolder);
    try {
        data::Database db = data::Database::open(databaseFile);
        data::TableView orders = db.openTable("Orders");
        try {
            orders.setBookmark(entry->bookmark);
        } catch (const platform::Fault& fault) {
            if (fault.number() != NotAValidBookmark)
                throw;
            removeJournal(dataFolder);
            tell("The last pricing run of " + describeOrder(*entry) +
                 " did not finish, and the order is no longer in the shop database; nothing was changed.");
            return true;
        }
        // The row must still be that order's: a row deleted and its place reused belongs to someone else.
        if (orders.field("OrderNo").formatted() != entry->orderNo ||
            orders.field("PartNo").formatted() != entry->partNo) {
            removeJournal(dataFolder);
            tell("The last pricing run of " + describeOrder(*entry) +
                 " did not finish, and its row now holds another order; nothing was changed.");
            return true;
        }
        orders.edit();
        orders.setField("PRESSQTY", entry->pressQty);
        orders.update();
    } catch (const platform::Fault& fault) {
        // Busy, read-only or missing: the journal stays, so the next start tries again.
        tell("The last pricing run of " + describeOrder(*entry) +
             " did not finish, and its press quantity (" + describeQuantity(entry->pressQty) +
             ") could not be put back yet: " + fault.what());
        return true;
    }
    removeJournal(dataFolder);
    tell("The last pricing run of " + describeOrder(*entry) + " did not finish; its press quantity (" +
         describeQuantity(entry->pressQty) + ") was put back.");
    return true;
}

} // namespace pricing
