#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace testsupport {

// A case's sentence as the name of its test, for INSTANTIATE_TEST_SUITE_P's name generator: "an unknown
// rounding" as "AnUnknownRounding", apostrophes dropped ("the paper file's name" as "ThePaperFilesName").
inline std::string testName(std::string_view sentence)
{
    std::string name;
    bool capital = true;
    for (const char c : sentence) {
        if (c == '\'')
            continue;
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            capital = true;
            continue;
        }
        name += capital ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        capital = false;
    }
    return name;
}

} // namespace testsupport
