#pragma once

#include <string>
#include <string_view>

namespace data {

// The old engine's LIKE: * any characters, ? one character, # one digit, [list] and [!list] one
// character of (or not of) a list with ranges (a-z); every other character stands for itself, so % and
// _ are plain characters. Letters match without regard to case (ASCII and Latin-1 letters).
bool matchesLikePattern(std::string_view text, std::string_view pattern);

// The same pattern as an anchored regular expression of a database server's "~" operator (POSIX advanced
// regular expressions), with each letter written in both cases, so it matches exactly the texts
// matchesLikePattern does.
std::string likePatternRegex(std::string_view pattern);

} // namespace data
