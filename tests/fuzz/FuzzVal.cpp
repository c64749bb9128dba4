#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Conversions.h"
#include "platform/Fault.h"

// Val reads any text a shop's files or fields may hold; it must never crash or read past the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        (void)platform::val(text);
        (void)platform::isNumeric(std::string(text));
    } catch (const platform::Fault&) {
    }
    return 0;
}
