#include "pricing/QuantityText.h"

namespace pricing {

std::optional<std::uint64_t> readQuantityText(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;

    constexpr std::uint64_t kMost = 999'999'999'999'999'999ULL;
    std::uint64_t value = 0;
    std::size_t digitsInGroup = 0; // digits since the last separator
    bool grouped = false;          // a separator has been seen
    char separator = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (value > kMost / 10)
                return std::nullopt;
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
            ++digitsInGroup;
            continue;
        }
        if (c != ',' && c != ' ')
            return std::nullopt;
        // A separator stands between whole thousands: after 1 to 3 digits at first, after exactly 3 later,
        // and always the same one.
        const bool fits = grouped ? digitsInGroup == 3 : digitsInGroup >= 1 && digitsInGroup <= 3;
        if (!fits || (grouped && c != separator))
            return std::nullopt;
        grouped = true;
        separator = c;
        digitsInGroup = 0;
    }
    if (grouped && digitsInGroup != 3)
        return std::nullopt;
    return value;
}

} // namespace pricing
