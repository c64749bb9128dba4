#pragma once

#include <cstdint>
#include <string_view>

namespace estimator {

// One number out of a size text such as "8.5 X 11": part 0 is the number before the separator, any other
// part the number after it. The separator matches in either letter case; a text without it is a square
// sheet whose one number stands for both sides. Anything unreadable is 0.
double readDimension(std::string_view text, std::int16_t part, std::string_view separator);

} // namespace estimator
