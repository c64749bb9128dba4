#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace estimator {

// Hours-and-minutes texts of the estimate summaries: whole hours padded to at least three digits, a
// colon and two-digit minutes ("001:30"). Minutes are rounded on their own after the whole hours are
// taken, so 119.6 minutes reads "001:60".
std::string ConvertMinutes(double minutes); // fault 6 when the hours do not fit 16 bits
std::string ConvertHours(double hours);     // skips failing steps: out-of-range hours give "000:00"

// Wraps a text in quote characters for use as a literal inside an SQL text: the apostrophe when the
// selector is not 0, the double quote when it is 0. A quote character inside the text is doubled, so an
// order number holding one still matches itself and cannot change the query.
std::string Quotes(std::string_view text, std::int32_t selector = 0);

} // namespace estimator
