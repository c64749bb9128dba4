#include "platform/Format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/Fault.h"

namespace platform {

namespace {

constexpr int InvalidCall = 5;

// The days from 1 January 1970 to a civil date of the proleptic Gregorian calendar, for any month and
// day count (a day past the month's end runs on into the next month).
std::int64_t daysFromCivil(std::int64_t year, int month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// Day serial 0 is 30 December 1899, 25569 days before 1 January 1970.
constexpr std::int64_t SerialOfUnixEpoch = 25569;

// The dates the old runtime could hold: 1 January 100 to 31 December 9999.
constexpr double FirstSerial = -657434.0;
constexpr double LastSerial = 2958466.0; // exclusive: the end of 31 December 9999

// The double's 15 significant digits and decimal exponent, "d.dddddddddddddde+XX", whatever the
// locale the windows set (to_chars always writes a decimal point).
void scientific15(double magnitude, std::string& digits, int& exponent)
{
    char buffer[40];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer - 1, magnitude, std::chars_format::scientific, 14);
    *written.ptr = '\0';
    digits = std::string(1, buffer[0]) + std::string(buffer + 2, 14);
    exponent = std::atoi(buffer + 17);
}

// A non-negative decimal number as a digit string: value = 0.d1d2d3... x 10^intLength, so intLength is
// the count of digits before the decimal point (0 or less for values below 1).
struct Decimal
{
    std::string digits;
    int intLength = 0;
};

// The 15 significant digits of a double, as the old runtime's Format saw a double.
Decimal decimalOf(double magnitude)
{
    Decimal d;
    if (magnitude == 0.0) {
        d.digits = "0";
        d.intLength = 1;
        return d;
    }
    int exponent = 0;
    scientific15(magnitude, d.digits, exponent);
    d.intLength = exponent + 1;
    return d;
}

Decimal decimalOf(const Currency& value)
{
    const std::int64_t units = value.tenThousandths();
    const std::uint64_t magnitude = units < 0 ? 0u - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    Decimal d;
    d.digits = std::to_string(magnitude);
    d.intLength = static_cast<int>(d.digits.size()) - 4;
    return d;
}

// Keeps `decimals` digits after the point; a dropped part of one half or more rounds up (away from
// zero, as the sign is kept apart).
void roundAt(Decimal& d, int decimals)
{
    const long keep = static_cast<long>(d.intLength) + decimals;
    if (keep >= static_cast<long>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.assign(1, '0');
        d.intLength = 1;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (!up)
        return;
    std::size_t i = d.digits.size();
    while (i > 0 && d.digits[i - 1] == '9') {
        d.digits[i - 1] = '0';
        --i;
    }
    if (i == 0) {
        d.digits.insert(d.digits.begin(), '1');
        ++d.intLength;
    } else {
        ++d.digits[i - 1];
    }
}

char digitAt(const Decimal& d, long position)
{
    if (position < 0 || position >= static_cast<long>(d.digits.size()))
        return '0';
    return d.digits[static_cast<std::size_t>(position)];
}

// A numeric pattern: literal blanks and "$" in front, then digit placeholders ("0" always shown, "#"
// only when needed), "," anywhere among them for thousands separators, and "." with the decimals.
struct NumberPattern
{
    std::string prefix;
    int minimumIntegerDigits = 0;
    bool thousands = false;
    int decimals = 0;
};

NumberPattern parseNumberPattern(std::string_view pattern)
{
    NumberPattern p;
    std::size_t pos = 0;
    while (pos < pattern.size() && (pattern[pos] == ' ' || pattern[pos] == '$'))
        p.prefix += pattern[pos++];
    int placeholders = 0;
    for (; pos < pattern.size() && pattern[pos] != '.'; ++pos) {
        const char c = pattern[pos];
        if (c == '0')
            ++p.minimumIntegerDigits;
        else if (c == ',')
            p.thousands = true;
        else if (c != '#')
            raise(InvalidCall, "Invalid number format \"" + std::string(pattern) + "\"");
        ++placeholders;
    }
    if (pos < pattern.size()) {
        for (++pos; pos < pattern.size(); ++pos) {
            if (pattern[pos] != '0')
                raise(InvalidCall, "Invalid number format \"" + std::string(pattern) + "\"");
            ++p.decimals;
        }
    } else if (placeholders == 0) {
        raise(InvalidCall, "Invalid number format \"" + std::string(pattern) + "\"");
    }
    return p;
}

std::string layOut(Decimal d, bool negative, const NumberPattern& p)
{
    roundAt(d, p.decimals);
    std::string whole;
    for (long i = 0; i < d.intLength; ++i)
        whole += digitAt(d, i);
    std::size_t firstSignificant = 0;
    while (firstSignificant < whole.size() && whole[firstSignificant] == '0')
        ++firstSignificant;
    whole.erase(0, firstSignificant);
    if (static_cast<int>(whole.size()) < p.minimumIntegerDigits)
        whole.insert(0, static_cast<std::size_t>(p.minimumIntegerDigits) - whole.size(), '0');
    if (p.thousands) {
        for (long at = static_cast<long>(whole.size()) - 3; at > 0; at -= 3)
            whole.insert(static_cast<std::size_t>(at), 1, ',');
    }
    std::string fraction;
    for (int i = 0; i < p.decimals; ++i)
        fraction += digitAt(d, d.intLength + i);

    // A value that shows as nothing but zeros carries no minus sign: "-$0.00" on a price sheet would
    // only confuse.
    bool allZero = true;
    for (char c : d.digits)
        if (c != '0')
            allZero = false;
    std::string result = (negative && !allZero) ? "-" : "";
    result += p.prefix + whole;
    if (p.decimals > 0)
        result += "." + fraction;
    return result;
}

bool isDatePattern(std::string_view pattern)
{
    return pattern == "mm/dd/yyyy" || pattern == "mm/dd/yy" || pattern == "hh:mm:ss AM/PM" || pattern == "m/d/yyyy";
}

std::string twoDigits(int n)
{
    std::string text;
    if (n < 10)
        text = '0';
    text += std::to_string(n);
    return text;
}

// A date text as the shop's database may hold it: "yyyy-mm-dd" or "m/d/yyyy", optionally followed by
// a blank or "T" and a time "h:mm" or "h:mm:ss". Returns false when the text is not such a date.
bool parseDateText(std::string_view text, double& serial)
{
    std::size_t pos = 0;
    auto number = [&](int maxDigits, int& out) {
        int digits = 0;
        out = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < maxDigits) {
            out = out * 10 + (text[pos] - '0');
            ++pos;
            ++digits;
        }
        return digits > 0;
    };
    auto expect = [&](char c) {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    };
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    int first = 0, second = 0, third = 0;
    if (!number(4, first))
        return false;
    const char separator = pos < text.size() ? text[pos] : '\0';
    if ((separator != '-' && separator != '/') || !expect(separator) || !number(2, second) || !expect(separator)
        || !number(4, third))
        return false;
    const int year = separator == '-' ? first : third;
    const int month = separator == '-' ? second : first;
    const int day = separator == '-' ? third : second;
    int hour = 0, minute = 0, secs = 0;
    if (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T')) {
        ++pos;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (pos < text.size()) {
            if (!number(2, hour) || !expect(':') || !number(2, minute))
                return false;
            if (expect(':') && !number(2, secs))
                return false;
        }
    }
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos != text.size() || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || secs > 59)
        return false;
    if (year < 100 || year > 9999)
        return false;
    serial = dateSerial(year, month, day, hour, minute, secs);
    return civilFromSerial(serial).day == day; // 31 April is no date
}

} // namespace

std::string format(double value, std::string_view pattern)
{
    if (isDatePattern(pattern))
        return formatDate(value, pattern);
    const NumberPattern p = parseNumberPattern(pattern);
    if (!std::isfinite(value))
        raise(fault::Overflow);
    return layOut(decimalOf(std::fabs(value)), value < 0.0, p);
}

std::string format(const Currency& value, std::string_view pattern)
{
    if (isDatePattern(pattern))
        return formatDate(value.toDouble(), pattern);
    const NumberPattern p = parseNumberPattern(pattern);
    return layOut(decimalOf(value), value.tenThousandths() < 0, p);
}

std::string format(const Value& value)
{
    return value.formatted();
}

std::string format(const Value& value, std::string_view pattern)
{
    switch (value.kind()) {
    case Value::Kind::Null:
        return std::string();
    case Value::Kind::Text: {
        // A text that reads as a number or a date takes the pattern; any other text shows as it is.
        const std::string& text = value.text();
        if (isDatePattern(pattern)) {
            double serial = 0;
            if (parseDateText(text, serial))
                return formatDate(serial, pattern);
        }
        if (isNumeric(text))
            return format(val(text), pattern);
        return text;
    }
    default:
        return format(value.real(), pattern);
    }
}

std::string formatDate(double serial, std::string_view pattern)
{
    const CivilDateTime t = civilFromSerial(serial);
    if (pattern == "mm/dd/yyyy")
        return twoDigits(t.month) + "/" + twoDigits(t.day) + "/" + std::to_string(t.year);
    if (pattern == "m/d/yyyy")
        return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
    if (pattern == "mm/dd/yy")
        return twoDigits(t.month) + "/" + twoDigits(t.day) + "/" + twoDigits(t.year % 100);
    if (pattern == "hh:mm:ss AM/PM") {
        const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        return twoDigits(hour12) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second) + (t.hour < 12 ? " AM" : " PM");
    }
    raise(InvalidCall, "Invalid date format \"" + std::string(pattern) + "\"");
}

std::string formatGeneral(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0.0)
        return "0";
    std::string digits;
    int exponent = 0;
    scientific15(std::fabs(value), digits, exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string result = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        result += digits.substr(0, 1);
        if (digits.size() > 1) {
            result += '.';
            result.append(digits, 1, std::string::npos);
        }
        const int magnitude = exponent < 0 ? -exponent : exponent;
        result += exponent < 0 ? "E-" : "E+";
        result += twoDigits(magnitude);
        return result;
    }
    if (exponent < 0)
        return result + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole)
        return result + digits + std::string(whole - digits.size(), '0');
    return result + digits.substr(0, whole) + "." + digits.substr(whole);
}

double dateSerial(int year, int month, int day, int hour, int minute, int second)
{
    // Months past 12 or below 1 run on into the next or previous years, as the old DateSerial allowed.
    std::int64_t y = year;
    std::int64_t m = month - 1;
    y += m >= 0 ? m / 12 : -((11 - m) / 12);
    m -= (m >= 0 ? m / 12 : -((11 - m) / 12)) * 12;
    const std::int64_t days = daysFromCivil(y, static_cast<int>(m) + 1, day) + SerialOfUnixEpoch;
    const std::int64_t seconds = days * 86400 + static_cast<std::int64_t>(hour) * 3600
        + static_cast<std::int64_t>(minute) * 60 + second;
    const std::int64_t serialDay = seconds >= 0 ? seconds / 86400 : -((86399 - seconds) / 86400);
    const std::int64_t timeOfDay = seconds - serialDay * 86400;
    // Before day 0 the time of day is counted away from day 0: 29 December 1899 06:00 is -1.25.
    const double fraction = static_cast<double>(timeOfDay) / 86400.0;
    const double serial = serialDay >= 0 ? static_cast<double>(serialDay) + fraction : static_cast<double>(serialDay) - fraction;
    if (!(serial >= FirstSerial && serial < LastSerial))
        raise(fault::Overflow);
    return serial;
}

CivilDateTime civilFromSerial(double serial)
{
    if (!(serial > FirstSerial - 1.0 && serial < LastSerial))
        raise(fault::Overflow);
    // The whole days count towards day 0; the fraction, whatever the sign, is the time of day.
    double whole = std::trunc(serial);
    long long seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += 1.0;
    }
    CivilDateTime t{};
    civilFromDays(static_cast<std::int64_t>(whole) - SerialOfUnixEpoch, t.year, t.month, t.day);
    if (t.year < 100 || t.year > 9999)
        raise(fault::Overflow);
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    return t;
}

} // namespace platform
