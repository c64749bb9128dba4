#include "platform/Value.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Format.h"

namespace platform {

namespace {

std::string_view withoutBlanks(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The general text of a date: the date as m/d/yyyy, the time as h:mm:ss AM/PM. A value without a time
// of day shows the date alone; a value on day 0 (30 December 1899) shows the time alone, as the old
// runtime printed a bare time.
std::string generalDateText(double serial)
{
    const CivilDateTime t = civilFromSerial(serial);
    const bool hasTime = t.hour != 0 || t.minute != 0 || t.second != 0;
    const bool dayZero = t.year == 1899 && t.month == 12 && t.day == 30;

    std::string date = std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
    auto twoDigits = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    std::string time = std::to_string(hour12) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second)
        + (t.hour < 12 ? " AM" : " PM");

    if (dayZero)
        return time;
    if (!hasTime)
        return date;
    return date + " " + time;
}

} // namespace

Value Value::fromInteger(std::int64_t v)
{
    Value value;
    value.m_kind = Kind::Integer;
    value.m_data = v;
    return value;
}

Value Value::fromDouble(double v)
{
    Value value;
    value.m_kind = Kind::Double;
    value.m_data = v;
    return value;
}

Value Value::fromText(std::string v)
{
    Value value;
    value.m_kind = Kind::Text;
    value.m_data = std::move(v);
    return value;
}

Value Value::fromBoolean(bool v)
{
    Value value;
    value.m_kind = Kind::Boolean;
    value.m_data = v;
    return value;
}

Value Value::fromDate(double serial)
{
    Value value;
    value.m_kind = Kind::Date;
    value.m_data = serial;
    return value;
}

std::int64_t Value::integer() const
{
    if (m_kind != Kind::Integer)
        raise(m_kind == Kind::Null ? fault::InvalidUseOfNull : fault::TypeMismatch);
    return std::get<std::int64_t>(m_data);
}

double Value::real() const
{
    switch (m_kind) {
    case Kind::Integer:
        return static_cast<double>(std::get<std::int64_t>(m_data));
    case Kind::Double:
    case Kind::Date:
        return std::get<double>(m_data);
    case Kind::Boolean:
        return std::get<bool>(m_data) ? -1.0 : 0.0;
    case Kind::Null:
        raise(fault::InvalidUseOfNull);
    case Kind::Text:
        break;
    }
    raise(fault::TypeMismatch);
}

const std::string& Value::text() const
{
    if (m_kind != Kind::Text)
        raise(m_kind == Kind::Null ? fault::InvalidUseOfNull : fault::TypeMismatch);
    return std::get<std::string>(m_data);
}

bool Value::boolean() const
{
    if (m_kind != Kind::Boolean)
        raise(m_kind == Kind::Null ? fault::InvalidUseOfNull : fault::TypeMismatch);
    return std::get<bool>(m_data);
}

double Value::dateSerial() const
{
    if (m_kind != Kind::Date)
        raise(m_kind == Kind::Null ? fault::InvalidUseOfNull : fault::TypeMismatch);
    return std::get<double>(m_data);
}

std::string Value::formatted() const
{
    switch (m_kind) {
    case Kind::Null:
        return std::string();
    case Kind::Integer:
        return std::to_string(std::get<std::int64_t>(m_data));
    case Kind::Double:
        return formatGeneral(std::get<double>(m_data));
    case Kind::Text:
        return std::get<std::string>(m_data);
    case Kind::Boolean:
        return std::get<bool>(m_data) ? "True" : "False";
    case Kind::Date:
        return generalDateText(std::get<double>(m_data));
    }
    return std::string();
}

namespace {

// Whether a double reads back unchanged through its formatted text: written in plain digits (not in
// E notation) and with no more than the 15 significant digits the text keeps. The shortest text that reads
// back as the double then has at most 15 digits; being within half a unit of the double's last binary
// place, it is the 15-digit rounding the formatted text holds, and reading that text gives the double.
bool readsBackUnchanged(double value)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15))
        return false;
    char shortest[32];
    const std::to_chars_result written =
        std::to_chars(shortest, shortest + sizeof shortest, magnitude, std::chars_format::scientific);
    int digits = 0;
    for (const char* c = shortest; c < written.ptr && *c != 'e'; ++c)
        digits += *c >= '0' && *c <= '9';
    return digits <= 15;
}

} // namespace

double Value::number() const
{
    switch (m_kind) {
    case Kind::Null:
        return 0.0;
    case Kind::Integer:
        return static_cast<double>(std::get<std::int64_t>(m_data));
    case Kind::Double:
        // The engine reads every number of a row at every quantity: most need no text made for them.
        if (readsBackUnchanged(std::get<double>(m_data)))
            return std::get<double>(m_data);
        return val(formatted());
    default:
        return val(formatted());
    }
}

double Value::plainNumber() const
{
    switch (m_kind) {
    case Kind::Null:
        raise(fault::InvalidUseOfNull);
    case Kind::Text:
        if (!isNumeric(std::get<std::string>(m_data)))
            raise(fault::TypeMismatch);
        return val(std::get<std::string>(m_data));
    default:
        return real();
    }
}

bool Value::toBoolean() const
{
    switch (m_kind) {
    case Kind::Null:
        return false;
    case Kind::Boolean:
        return std::get<bool>(m_data);
    case Kind::Integer:
        return std::get<std::int64_t>(m_data) != 0;
    case Kind::Double:
    case Kind::Date:
        return std::get<double>(m_data) != 0.0;
    case Kind::Text:
        break;
    }
    const std::string_view body = withoutBlanks(std::get<std::string>(m_data));
    if (equalsIgnoringCase(body, "True"))
        return true;
    if (equalsIgnoringCase(body, "False"))
        return false;
    if (isNumeric(body))
        return val(body) != 0.0;
    raise(fault::TypeMismatch);
}

} // namespace platform
