#include "data/LetterCase.h"

#include "data/Utf8.h"

namespace data {

char32_t lowerCase(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 32;
    return c;
}

char32_t upperCase(char32_t c)
{
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 32;
    return c;
}

std::string upperCaseText(std::string_view text)
{
    std::string upper;
    upper.reserve(text.size());
    for (const char32_t c : decodeUtf8(text))
        appendUtf8(upperCase(c), upper);
    return upper;
}

} // namespace data
