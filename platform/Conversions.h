#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Val: the leading number of a text. Blanks (space, tab, CR, LF) anywhere are skipped; an optional
// sign, digits, one decimal point and an exponent with E or D are read; &H and &O prefixes read hex and
// octal; reading stops at the first character that cannot continue the number. No number gives 0.
// " 1 2 3" -> 123, "8 1/2" -> 81, "12abc" -> 12, "1,000" -> 1, "-.5" -> -0.5, "1e3" -> 1000, "&HFF" -> 255.
double val(std::string_view text);

// IsNumeric of a text: the whole text (surrounding blanks allowed) is one number.
bool isNumeric(std::string_view text);

// CInt and CLng: round to the nearest whole number, halves to even; outside the range is fault 6.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

// Int: the largest whole number not above the value.
double intFloor(double value);

// CSng: the value rounded to single precision and widened back.
double toSingle(double value);

// Division as the old runtime did it: a divisor of 0 is fault 11 even for doubles, where a bare '/'
// would give inf or NaN and put nonsense on a price sheet.
double divide(double dividend, double divisor);

// Checked 16- and 32-bit integer arithmetic: a result outside the range is fault 6.
std::int16_t multiply16(std::int16_t a, std::int16_t b);
std::int32_t multiply32(std::int32_t a, std::int32_t b);
std::int32_t add32(std::int32_t a, std::int32_t b);

// Str: the number's text with a leading blank for numbers that are not negative ("Str(3159)" is " 3159",
// "Str(0.5)" is " .5").
std::string str(double value);

// The shortest text that reads back as exactly this number ("2", "1.6", "2147483648"): a number written
// into an SQL text as it is stored, so the lookup finds that row or none, never a rounded neighbour. A
// value that is no finite number is an overflow fault (6).
std::string exactText(double value);

// Text helpers of the runtime.
std::string upperCase(std::string_view text); // UCase (ASCII letters; other bytes unchanged)
// Whether two texts are the same but for the letter case of ASCII letters (no allocation: field names
// and yes/no words are compared this way on every read).
bool equalsIgnoringCase(std::string_view text, std::string_view word);
std::string trim(std::string_view text);      // Trim (spaces only)

// The currency number: a 64-bit count of ten-thousandths, converted from double half to even.
class Currency
{
public:
    Currency() = default;
    static Currency fromDouble(double value); // fault 6 outside the range
    static Currency fromTenThousandths(std::int64_t units) { Currency c; c.m_units = units; return c; }
    std::int64_t tenThousandths() const noexcept { return m_units; }
    double toDouble() const noexcept { return static_cast<double>(m_units) / 10000.0; }
    bool operator==(const Currency&) const = default;
    auto operator<=>(const Currency&) const = default;

    // Exact sums and differences; a result outside the range is fault 6.
    Currency operator+(const Currency& other) const;
    Currency operator-(const Currency& other) const;
    Currency operator-() const;

    // Int of the amount: the largest whole number of dollars not above it (Int(-12.25) is -13).
    Currency wholeFloor() const;

private:
    std::int64_t m_units = 0;
};

} // namespace platform
