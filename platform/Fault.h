#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

// The one error type of the program. It carries the number and text the old runtime gave the same
// failure (6 overflow, 9 subscript out of range, 11 division by zero, 13 type mismatch, 94 invalid use
// of Null, 3xxx database errors), so messages and the rules that test error numbers (3159 for a row
// position the database no longer knows) keep working. The text is what the user reads; the detail,
// when there is one, holds the library's own words and the SQL text, for a details view or --verbose.
class Fault : public std::runtime_error
{
public:
    Fault(int number, const std::string& text, std::string detail = {})
        : std::runtime_error(text), m_number(number), m_detail(std::move(detail))
    {
    }
    int number() const noexcept { return m_number; }
    const std::string& detail() const noexcept { return m_detail; }

private:
    int m_number;
    std::string m_detail;
};

namespace fault {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidUseOfNull = 94;
} // namespace fault

// Raise one of the runtime's own faults with its standard text ("Overflow", "Division by zero" ...).
[[noreturn]] void raise(int number);
[[noreturn]] void raise(int number, const std::string& text);

} // namespace platform
