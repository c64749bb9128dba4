#include "data/LikePattern.h"

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "data/LetterCase.h"
#include "data/Utf8.h"

namespace data {

namespace {

struct PatternElement
{
    enum class Kind { AnyRun, One, Digit, Char, List };
    explicit PatternElement(Kind k, char32_t character = 0) : kind(k), c(character) {}
    Kind kind;
    char32_t c = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool inRanges(char32_t x) const
    {
        for (const auto& [low, high] : ranges)
            if (x >= low && x <= high)
                return true;
        return false;
    }

    bool matches(char32_t x) const
    {
        switch (kind) {
        case Kind::One:
            return true;
        case Kind::Digit:
            return x >= U'0' && x <= U'9';
        case Kind::Char:
            return lowerCase(x) == lowerCase(c);
        case Kind::List: {
            const bool in = inRanges(x) || inRanges(lowerCase(x)) || inRanges(upperCase(x));
            return in != negated;
        }
        case Kind::AnyRun:
            break;
        }
        return false;
    }
};

std::vector<PatternElement> parsePattern(const std::vector<char32_t>& pattern)
{
    using Kind = PatternElement::Kind;
    std::vector<PatternElement> elements;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'*') {
            if (elements.empty() || elements.back().kind != Kind::AnyRun)
                elements.emplace_back(Kind::AnyRun);
        } else if (c == U'?') {
            elements.emplace_back(Kind::One);
        } else if (c == U'#') {
            elements.emplace_back(Kind::Digit);
        } else if (c == U'[') {
            std::size_t j = i + 1;
            PatternElement list(Kind::List);
            if (j < pattern.size() && pattern[j] == U'!') {
                list.negated = true;
                ++j;
            }
            std::size_t close = j;
            while (close < pattern.size() && pattern[close] != U']')
                ++close;
            if (close >= pattern.size()) {
                // No closing bracket: the bracket is a plain character.
                elements.emplace_back(Kind::Char, c);
                continue;
            }
            for (std::size_t k = j; k < close; ++k) {
                if (k + 2 < close && pattern[k + 1] == U'-') {
                    list.ranges.emplace_back(pattern[k], pattern[k + 2]);
                    k += 2;
                } else {
                    list.ranges.emplace_back(pattern[k], pattern[k]);
                }
            }
            i = close;
            if (list.ranges.empty() && !list.negated)
                continue; // "[]" stands for no character at all
            elements.push_back(std::move(list));
        } else {
            elements.emplace_back(Kind::Char, c);
        }
    }
    return elements;
}

} // namespace

bool matchesLikePattern(std::string_view text, std::string_view pattern)
{
    const std::vector<char32_t> characters = decodeUtf8(text);
    const std::vector<PatternElement> elements = parsePattern(decodeUtf8(pattern));
    using Kind = PatternElement::Kind;

    // Every element but * takes exactly one character, so going back to the latest * is enough.
    std::size_t t = 0, p = 0;
    std::size_t starAt = std::string::npos, starText = 0;
    while (t < characters.size()) {
        if (p < elements.size() && elements[p].kind == Kind::AnyRun) {
            starAt = p++;
            starText = t;
        } else if (p < elements.size() && elements[p].matches(characters[t])) {
            ++p;
            ++t;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < elements.size() && elements[p].kind == Kind::AnyRun)
        ++p;
    return p == elements.size();
}

namespace {

// One character for a regular expression, inside a bracket list or outside: ASCII letters and digits as
// they are, other ASCII characters escaped, the rest (and stray bytes) as their UTF-8 bytes.
void appendRegexCharacter(char32_t c, std::string& out)
{
    if (c < 0x80 && !std::isalnum(static_cast<int>(c)))
        out += '\\';
    appendUtf8(c, out);
}

void appendRange(char32_t low, char32_t high, std::string& out)
{
    appendRegexCharacter(low, out);
    if (high != low) {
        out += '-';
        appendRegexCharacter(high, out);
    }
}

} // namespace

std::string likePatternRegex(std::string_view pattern)
{
    using Kind = PatternElement::Kind;
    std::string out = "^";
    for (const PatternElement& element : parsePattern(decodeUtf8(pattern))) {
        switch (element.kind) {
        case Kind::AnyRun:
            out += ".*";
            break;
        case Kind::One:
            out += '.';
            break;
        case Kind::Digit:
            out += "[0-9]";
            break;
        case Kind::Char:
            if (lowerCase(element.c) != upperCase(element.c) && element.c < StrayByte) {
                out += '[';
                appendRegexCharacter(lowerCase(element.c), out);
                appendRegexCharacter(upperCase(element.c), out);
                out += ']';
            } else {
                appendRegexCharacter(element.c, out);
            }
            break;
        case Kind::List:
            if (element.ranges.empty()) { // "[!]": any one character
                out += '.';
                break;
            }
            out += element.negated ? "[^" : "[";
            for (const auto& [low, high] : element.ranges) {
                appendRange(low, high, out);
                // A letter matches a list holding it in either case.
                if (lowerCase(low) != low || lowerCase(high) != high)
                    appendRange(lowerCase(low), lowerCase(high), out);
                if (upperCase(low) != low || upperCase(high) != high)
                    appendRange(upperCase(low), upperCase(high), out);
            }
            out += ']';
            break;
        }
    }
    return out + "$";
}

} // namespace data
