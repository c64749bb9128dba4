#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Fault.h"
#include "platform/TextFile.h"

// The item reader of the price-data and category files, over any bytes a damaged file may hold.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        (void)platform::splitItems(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const platform::Fault&) {
    }
    return 0;
}
