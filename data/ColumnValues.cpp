#include "data/ColumnValues.h"

#include <cctype>
#include <cstdio>
#include <string_view>

#include <sqlite3.h>

#include "platform/Conversions.h"
#include "platform/Format.h"

namespace data {

namespace {

bool readNumber(std::string_view text, std::size_t& at, std::size_t digits, int& out)
{
    if (at + digits > text.size())
        return false;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    at += digits;
    out = value;
    return true;
}

} // namespace

// "yyyy-mm-dd", "yyyy-mm-dd hh:mm[:ss]" (or with a T) as a day serial.
bool parseDateText(std::string_view text, double& serial)
{
    std::size_t at = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readNumber(text, at, 4, year) || at >= text.size() || text[at++] != '-' ||
        !readNumber(text, at, 2, month) || at >= text.size() || text[at++] != '-' || !readNumber(text, at, 2, day))
        return false;
    if (at < text.size()) {
        if (text[at] != ' ' && text[at] != 'T')
            return false;
        ++at;
        if (!readNumber(text, at, 2, hour) || at >= text.size() || text[at++] != ':' ||
            !readNumber(text, at, 2, minute))
            return false;
        if (at < text.size() && (text[at++] != ':' || !readNumber(text, at, 2, second)))
            return false;
        if (at != text.size())
            return false;
    }
    static constexpr int daysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > daysIn[month - 1] || hour > 23 || minute > 59 || second > 59)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return false;
    serial = platform::dateSerial(year, month, day, hour, minute, second);
    return true;
}

std::string dateText(double serial)
{
    const platform::CivilDateTime civil = platform::civilFromSerial(serial);
    char buffer[32];
    if (civil.hour == 0 && civil.minute == 0 && civil.second == 0)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", civil.year, civil.month, civil.day);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", civil.year, civil.month, civil.day,
                      civil.hour, civil.minute, civil.second);
    return buffer;
}

std::string declaredTypeWord(const char* declared)
{
    if (!declared)
        return {};
    std::string word;
    for (const char* p = declared; *p && *p != '(' && !std::isspace(static_cast<unsigned char>(*p)); ++p)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return word;
}

std::vector<ColumnKind> columnKinds(sqlite3_stmt* statement)
{
    std::vector<ColumnKind> kinds;
    const int columns = sqlite3_column_count(statement);
    for (int i = 0; i < columns; ++i) {
        const std::string type = declaredTypeWord(sqlite3_column_decltype(statement, i));
        if (type == "YESNO" || type == "BOOLEAN" || type == "BIT" || type == "LOGICAL")
            kinds.push_back(ColumnKind::Boolean);
        else if (type == "DATETIME" || type == "DATE" || type == "TIMESTAMP")
            kinds.push_back(ColumnKind::Date);
        else
            kinds.push_back(ColumnKind::Plain);
    }
    return kinds;
}

platform::Value readColumn(sqlite3_stmt* statement, int i, ColumnKind kind)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_NULL:
        return platform::Value::null();
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(statement, i);
        if (kind == ColumnKind::Boolean)
            return platform::Value::fromBoolean(v != 0);
        if (kind == ColumnKind::Date)
            return platform::Value::fromDate(static_cast<double>(v));
        return platform::Value::fromInteger(v);
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(statement, i);
        if (kind == ColumnKind::Boolean)
            return platform::Value::fromBoolean(v != 0.0);
        if (kind == ColumnKind::Date)
            return platform::Value::fromDate(v);
        return platform::Value::fromDouble(v);
    }
    default: {
        // TEXT, and BLOB as the text of its bytes.
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
        const int size = sqlite3_column_bytes(statement, i);
        std::string text = bytes ? std::string(bytes, static_cast<std::size_t>(size)) : std::string();
        if (kind == ColumnKind::Boolean) {
            if (platform::equalsIgnoringCase(text, "TRUE") || platform::equalsIgnoringCase(text, "YES"))
                return platform::Value::fromBoolean(true);
            if (platform::equalsIgnoringCase(text, "FALSE") || platform::equalsIgnoringCase(text, "NO"))
                return platform::Value::fromBoolean(false);
            if (platform::isNumeric(text))
                return platform::Value::fromBoolean(platform::val(text) != 0.0);
        } else if (kind == ColumnKind::Date) {
            double serial = 0;
            if (parseDateText(text, serial))
                return platform::Value::fromDate(serial);
        }
        return platform::Value::fromText(std::move(text));
    }
    }
}

void bindValue(sqlite3_stmt* statement, int index, const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        sqlite3_bind_null(statement, index);
        break;
    case Kind::Integer:
        sqlite3_bind_int64(statement, index, value.integer());
        break;
    case Kind::Double:
        sqlite3_bind_double(statement, index, value.real());
        break;
    case Kind::Text:
        sqlite3_bind_text(statement, index, value.text().data(), static_cast<int>(value.text().size()),
                          SQLITE_TRANSIENT);
        break;
    case Kind::Boolean:
        // Yes/no values as the old engine stored them.
        sqlite3_bind_int(statement, index, value.boolean() ? -1 : 0);
        break;
    case Kind::Date: {
        // Dates as the shop's file keeps them: "yyyy-mm-dd", with the time when it is not midnight.
        const std::string text = dateText(value.dateSerial());
        sqlite3_bind_text(statement, index, text.c_str(), -1, SQLITE_TRANSIENT);
        break;
    }
    }
}

} // namespace data
