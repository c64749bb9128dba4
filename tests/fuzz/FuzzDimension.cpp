#include <cstddef>
#include <cstdint>
#include <string_view>

#include "estimator/Sheets.h"
#include "platform/Fault.h"

// The size texts of an order ("8 1/2 x 11", "11x17"): the first byte picks the part and the separator.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto part = static_cast<std::int16_t>(data[0] % 4);
    const std::string_view separator = (data[0] & 0x80) ? "X" : "x";
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        (void)estimator::readDimension(text, part, separator);
    } catch (const platform::Fault&) {
    }
    return 0;
}
