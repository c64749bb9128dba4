#pragma once

#include <string>
#include <string_view>

#include "platform/Conversions.h"
#include "platform/Value.h"

namespace platform {

// Format(number, pattern) for the patterns the program uses: "0000", "000", "00", "0.0000", "$##0.00",
// "$#,##0.00", "  #,###,##0". Digits past the last one shown round half away from zero, as the old
// runtime's Format did (its integer conversions round half to even; Format does not). Negative numbers
// get a leading "-" (before the "$"). Any other pattern is a program error (fault 5).
std::string format(double value, std::string_view pattern);
std::string format(const Currency& value, std::string_view pattern); // exact: no binary rounding

// Format(value) with no pattern: the general text of Value::formatted().
std::string format(const Value& value);
// Format(value, pattern) of a database value: numbers as above, dates with a date pattern, Null as "".
std::string format(const Value& value, std::string_view pattern);

// Date and time patterns "mm/dd/yyyy", "mm/dd/yy", "hh:mm:ss AM/PM" of a day serial.
std::string formatDate(double serial, std::string_view pattern);

// The general text of a double: at most 15 significant digits, no trailing zeros, E notation for very
// large or very small magnitudes ("1E+15", "1E-05"), as the old runtime printed doubles.
std::string formatGeneral(double value);

// Day serials (days since 30 December 1899) from a civil date and time, and back.
double dateSerial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
struct CivilDateTime
{
    int year, month, day, hour, minute, second;
};
CivilDateTime civilFromSerial(double serial);

} // namespace platform
