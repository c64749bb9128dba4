#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace platform {

// A database value as the old engine handed it out: Null, a whole number, a double, a text, a yes/no
// or a date. Dates are day serials: whole days since 30 December 1899, the fraction the time of day.
class Value
{
public:
    enum class Kind { Null, Integer, Double, Text, Boolean, Date };

    Value() = default; // Null
    static Value null() { return Value(); }
    static Value fromInteger(std::int64_t v);
    static Value fromDouble(double v);
    static Value fromText(std::string v);
    static Value fromBoolean(bool v);
    static Value fromDate(double serial);

    Kind kind() const noexcept { return m_kind; }
    bool isNull() const noexcept { return m_kind == Kind::Null; }

    // The raw content; asking for the wrong kind is a type mismatch fault (13).
    std::int64_t integer() const;
    double real() const;             // Integer, Double, Boolean (-1/0) and Date serials
    const std::string& text() const; // Text only
    bool boolean() const;            // Boolean only
    double dateSerial() const;       // Date only

    // The value's formatted text, Format(value) with no pattern: "" for Null, "True"/"False", doubles
    // with up to 15 significant digits, dates as m/d/yyyy (with the time h:mm:ss AM/PM when it is not
    // midnight; a time on day 0 alone, as a bare time printed).
    std::string formatted() const;

    // The numeric value: Val of the formatted text, so Null and non-numeric text give 0 and doubles come
    // back rounded to 15 significant digits. This is how every column is read unless a rule says otherwise.
    double number() const;

    // The value as the runtime converted a variant to a number (CDbl, and so CInt and CLng): a number as it
    // is, yes/no as -1/0, a date as its serial, a text only when it is a whole number text (IsNumeric);
    // Null is fault 94 (invalid use of Null) and any other text fault 13 (type mismatch). For the columns a
    // rule reads "as plain values", where reading Null or a stray text as 0 would price the wrong thing.
    double plainNumber() const;

    // Conversion to yes/no: Null is false; numbers are true when not 0; texts "True"/"False" (any case)
    // or numeric texts; any other text is a type mismatch fault (13).
    bool toBoolean() const;

    bool operator==(const Value& other) const = default;

private:
    Kind m_kind = Kind::Null;
    std::variant<std::monostate, std::int64_t, double, std::string, bool> m_data;
};

} // namespace platform
