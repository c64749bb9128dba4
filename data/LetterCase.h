#pragma once

#include <string>
#include <string_view>

namespace data {

// The old runtime's letter case: ASCII and Latin-1 letters have a lower and an upper form, every other
// character is its own.
char32_t lowerCase(char32_t c);
char32_t upperCase(char32_t c);

// UCase of the old runtime for UTF-8 text: ASCII and Latin-1 letters to upper case.
std::string upperCaseText(std::string_view text);

} // namespace data
