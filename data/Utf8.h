#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace data {

// A byte of a text that does not start a valid UTF-8 sequence stands for itself, as this value plus the
// byte: past the Unicode range, so it never equals a real character, and written back unchanged.
inline constexpr char32_t StrayByte = 0x110000;

// The code points of a UTF-8 text, stray bytes kept (see StrayByte).
std::vector<char32_t> decodeUtf8(std::string_view text);

// Appends one code point (or stray byte) to a UTF-8 text.
void appendUtf8(char32_t point, std::string& out);

} // namespace data
