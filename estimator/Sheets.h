#pragma once

#include <cstdint>
#include <string_view>

namespace data {
class Recordset;
}

namespace estimator {

// One number out of a size text such as "8.5 X 11": part 0 is the number before the separator, any other
// part the number after it. The separator matches in either letter case; a text without it is a square
// sheet whose one number stands for both sides. Anything unreadable is 0.
double readDimension(std::string_view text, std::int16_t part, std::string_view separator);

// Press sheets the order row needs for a quantity: signatures x quantity x difference factor / number up,
// in 32-bit whole numbers (fault 6 past them). No defaults here: a job with 0 signatures or a 0 difference
// factor needs no press sheets, and so does one with no number up or no order row.
std::int32_t calcPressSheets(const data::Recordset& order, std::int32_t quantity);

} // namespace estimator
