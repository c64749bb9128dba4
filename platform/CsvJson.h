#pragma once

#include <string>
#include <string_view>

namespace platform {

// A CSV field: the text as it is, or in double quotes (a quote inside written as two) when it holds a
// comma, a quote or a line break, so a spreadsheet or a web store's import reads it back whole.
std::string csvField(std::string_view text);

// A JSON string: the text in double quotes, with quotes, backslashes and control characters escaped.
std::string jsonString(std::string_view text);

} // namespace platform
