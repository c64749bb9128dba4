#include "platform/FixedText.h"

namespace platform {

std::string fixedText(std::string_view text, std::size_t width)
{
    std::string result(text.substr(0, width));
    result.resize(width, ' ');
    return result;
}

} // namespace platform
