#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/Dialect.h"
#include "platform/Fault.h"

// The SQL dialect adapter over any text: a fault is a fine answer, a crash or a hang is not.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        (void)data::adaptSql(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const platform::Fault&) {
    }
    return 0;
}
