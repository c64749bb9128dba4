#include "platform/Conversions.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include <locale.h>

#include "platform/Fault.h"
#include "platform/Format.h"

namespace platform {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexDigit(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The nearest whole number, an exact half going to the even neighbour. Does not depend on the
// floating-point rounding mode someone else may have set.
double roundHalfEven(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below; // exact: both lie in the same or adjacent binades
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// &H and &O numbers: the runtime handed them out as 16-bit integers when they fit in four hex digits
// (so &HFFFF is -1) and as 32-bit integers up to &HFFFFFFFF; anything larger is an overflow.
double radixValue(std::uint64_t magnitude)
{
    if (magnitude <= 0xFFFFu)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(magnitude));
    if (magnitude <= 0xFFFFFFFFu)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    raise(fault::Overflow);
}

// Reads the digits of an &H or &O number from text[pos] on; blanks are skipped when skipBlanks.
// Returns the digits' value (saturated above 32 bits so it reports overflow) and moves pos past them.
std::uint64_t readRadixDigits(std::string_view text, std::size_t& pos, int radix, bool skipBlanks,
                              int& digitCount)
{
    std::uint64_t magnitude = 0;
    digitCount = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (skipBlanks && isBlank(c)) {
            ++pos;
            continue;
        }
        const int d = hexDigit(c);
        if (d < 0 || d >= radix)
            break;
        if (magnitude <= 0xFFFFFFFFu)
            magnitude = magnitude * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        ++digitCount;
        ++pos;
    }
    return magnitude;
}

// Decimal text to double in the C locale: the windows set the user's locale at start-up, and a decimal
// comma there must not change how the shop's numbers read.
double readDecimal(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// Converts the collected characters of a decimal number exactly; a number beyond the double range is
// an overflow, as the old runtime reported it.
double decimalValue(const std::string& collected)
{
    const double v = readDecimal(collected);
    if (std::isinf(v))
        raise(fault::Overflow);
    return v == 0.0 ? 0.0 : v; // "-0" reads as plain 0
}

} // namespace

double val(std::string_view text)
{
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
    };
    skipBlanks();
    if (pos < text.size() && text[pos] == '&') {
        const std::size_t afterAmp = pos + 1;
        pos = afterAmp;
        skipBlanks();
        if (pos >= text.size())
            return 0.0;
        const char kind = text[pos];
        int radix = 0;
        if (kind == 'H' || kind == 'h')
            radix = 16;
        else if (kind == 'O' || kind == 'o')
            radix = 8;
        else
            return 0.0;
        ++pos;
        int digits = 0;
        const std::uint64_t magnitude = readRadixDigits(text, pos, radix, true, digits);
        return digits == 0 ? 0.0 : radixValue(magnitude);
    }

    std::string collected;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        collected += text[pos];
        ++pos;
    }
    bool seenPoint = false;
    int mantissaDigits = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isBlank(c))
            continue;
        if (isDigit(c)) {
            collected += c;
            ++mantissaDigits;
        } else if (c == '.' && !seenPoint) {
            collected += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;

    // An exponent counts only when at least one digit follows the letter (and its sign): "1e" and
    // "1e+" read as 1.
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
        std::size_t look = pos + 1;
        std::string exponent = "e";
        auto skipBlanksAt = [&] {
            while (look < text.size() && isBlank(text[look]))
                ++look;
        };
        skipBlanksAt();
        if (look < text.size() && (text[look] == '+' || text[look] == '-')) {
            exponent += text[look];
            ++look;
        }
        int exponentDigits = 0;
        for (; look < text.size(); ++look) {
            if (isBlank(text[look]))
                continue;
            if (!isDigit(text[look]))
                break;
            exponent += text[look];
            ++exponentDigits;
        }
        if (exponentDigits > 0)
            collected += exponent;
    }
    return decimalValue(collected);
}

bool isNumeric(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    const std::string_view body = text.substr(first, last - first);
    if (body.empty())
        return false;

    std::size_t pos = 0;
    if (body[0] == '&') {
        if (body.size() < 3)
            return false;
        const char kind = body[1];
        const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
        if (radix == 0)
            return false;
        pos = 2;
        int digits = 0;
        const std::uint64_t magnitude = readRadixDigits(body, pos, radix, false, digits);
        return digits > 0 && pos == body.size() && magnitude <= 0xFFFFFFFFu;
    }

    // Thousands separators ("1,000") do not count as numeric: sizes and quantities in the shop's
    // records never carry them, and Val would read "1,000" as 1, so calling it a number would be wrong.
    if (body[pos] == '+' || body[pos] == '-')
        ++pos;
    int digits = 0;
    bool seenPoint = false;
    for (; pos < body.size(); ++pos) {
        if (isDigit(body[pos]))
            ++digits;
        else if (body[pos] == '.' && !seenPoint)
            seenPoint = true;
        else
            break;
    }
    if (digits == 0)
        return false;
    if (pos < body.size() && (body[pos] == 'E' || body[pos] == 'e' || body[pos] == 'D' || body[pos] == 'd')) {
        ++pos;
        if (pos < body.size() && (body[pos] == '+' || body[pos] == '-'))
            ++pos;
        int exponentDigits = 0;
        for (; pos < body.size() && isDigit(body[pos]); ++pos)
            ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    if (pos != body.size())
        return false;
    std::string collected(body);
    for (char& c : collected)
        if (c == 'D' || c == 'd')
            c = 'e';
    return std::isfinite(readDecimal(collected));
}

std::int16_t toInt16(double value)
{
    if (!std::isfinite(value))
        raise(fault::Overflow);
    const double r = roundHalfEven(value);
    if (r < -32768.0 || r > 32767.0)
        raise(fault::Overflow);
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double value)
{
    if (!std::isfinite(value))
        raise(fault::Overflow);
    const double r = roundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        raise(fault::Overflow);
    return static_cast<std::int32_t>(r);
}

double intFloor(double value)
{
    return std::floor(value);
}

double toSingle(double value)
{
    if (std::isnan(value))
        return value;
    // Past the largest float plus half a unit in its last place the value rounds to infinity; the old
    // runtime called that an overflow.
    const double limit = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
    if (std::fabs(value) >= limit)
        raise(fault::Overflow);
    return static_cast<double>(static_cast<float>(value));
}

double divide(double dividend, double divisor)
{
    if (divisor == 0.0)
        raise(fault::DivisionByZero);
    const double quotient = dividend / divisor;
    // A quotient beyond the double range was an overflow in the old runtime, never an infinite price.
    if (std::isinf(quotient) && std::isfinite(dividend))
        raise(fault::Overflow);
    return quotient;
}

std::int16_t multiply16(std::int16_t a, std::int16_t b)
{
    const std::int32_t product = static_cast<std::int32_t>(a) * static_cast<std::int32_t>(b);
    if (product < std::numeric_limits<std::int16_t>::min() || product > std::numeric_limits<std::int16_t>::max())
        raise(fault::Overflow);
    return static_cast<std::int16_t>(product);
}

std::int32_t multiply32(std::int32_t a, std::int32_t b)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * static_cast<std::int64_t>(b);
    if (product < std::numeric_limits<std::int32_t>::min() || product > std::numeric_limits<std::int32_t>::max())
        raise(fault::Overflow);
    return static_cast<std::int32_t>(product);
}

std::int32_t add32(std::int32_t a, std::int32_t b)
{
    const std::int64_t sum = static_cast<std::int64_t>(a) + static_cast<std::int64_t>(b);
    if (sum < std::numeric_limits<std::int32_t>::min() || sum > std::numeric_limits<std::int32_t>::max())
        raise(fault::Overflow);
    return static_cast<std::int32_t>(sum);
}

std::string str(double value)
{
    // Str drops the zero before the decimal point of a number below 1: Str(0.5) is " .5".
    std::string digits = formatGeneral(value);
    const std::size_t sign = (!digits.empty() && digits[0] == '-') ? 1 : 0;
    if (digits.size() > sign + 1 && digits[sign] == '0' && digits[sign + 1] == '.')
        digits.erase(sign, 1);
    return sign == 0 ? " " + digits : digits;
}

std::string exactText(double value)
{
    if (!std::isfinite(value))
        raise(fault::Overflow);
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

std::string upperCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

bool equalsIgnoringCase(std::string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        char w = word[i];
        if (w >= 'a' && w <= 'z')
            w = static_cast<char>(w - 'a' + 'A');
        if (c != w)
            return false;
    }
    return true;
}

std::string trim(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ')
        ++first;
    while (last > first && text[last - 1] == ' ')
        --last;
    return std::string(text.substr(first, last - first));
}

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        raise(fault::Overflow);
    // The exact product value × 10000 is p + e: p the rounded double product, e its rounding error
    // (exact through fma). Rounding p + e half to even decides ties on the true binary value, so only
    // values that are exactly halfway between two ten-thousandths go to the even one.
    const double p = value * 10000.0;
    const double e = std::fma(value, 10000.0, -p);
    const double r = roundHalfEven(p);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        raise(fault::Overflow);
    std::int64_t units = static_cast<std::int64_t>(r);
    const double a = p - r; // exact, within [-0.5, 0.5]
    std::int64_t adjust = 0;
    if (a == 0.0) {
        // p is whole; when its units are coarser than 1, the error alone may carry a whole number.
        const double re = roundHalfEven(e);
        const double rest = e - re;
        adjust = static_cast<std::int64_t>(re);
        const bool odd = ((units + adjust) & 1) != 0;
        if (rest == 0.5 && odd)
            adjust += 1;
        else if (rest == -0.5 && odd)
            adjust -= 1;
    } else if (std::fabs(a) == 0.5 && e != 0.0) {
        // p was a half, but the true product lies on one side of it.
        if ((e > 0.0) == (a > 0.0))
            adjust = a > 0.0 ? 1 : -1;
    }
    if (__builtin_add_overflow(units, adjust, &units))
        raise(fault::Overflow);
    return fromTenThousandths(units);
}

Currency Currency::operator+(const Currency& other) const
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &sum))
        raise(fault::Overflow);
    return fromTenThousandths(sum);
}

Currency Currency::operator-(const Currency& other) const
{
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(m_units, other.m_units, &difference))
        raise(fault::Overflow);
    return fromTenThousandths(difference);
}

Currency Currency::operator-() const
{
    return fromTenThousandths(0) - *this;
}

Currency Currency::wholeFloor() const
{
    std::int64_t whole = m_units / 10000;
    if (m_units % 10000 < 0)
        --whole;
    std::int64_t units = 0;
    if (__builtin_mul_overflow(whole, std::int64_t{10000}, &units))
        raise(fault::Overflow);
    return fromTenThousandths(units);
}

} // namespace platform
