#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pricing {

// A quantity or step as a clerk types it into the window: digits, optionally grouped in thousands by commas
// or blanks ("1,000", "1 000", "12,500"), with blanks around. Returns the number (up to 18
// digits, far beyond any quantity), or nothing for any other text: letters, decimals, signs,
// badly grouped digits ("1,00") or an empty field.
std::optional<std::uint64_t> readQuantityText(std::string_view text);

// The largest quantity the order row holds, and so the largest that can be priced.
inline constexpr std::uint64_t kLargestQuantity = 2147483647;

} // namespace pricing
