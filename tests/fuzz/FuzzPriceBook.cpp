#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Fault.h"
#include "pricing/PriceBook.h"

// "PriceBook.dat" with any bytes in it. Every page the reader takes as it stands must come back the same
// when it is written as a line and read again: the book window saves every page it shows that way, so a
// page that changed on the way would print another order, category or schedule than the one listed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const pricing::PriceParameters defaults;
    try {
        for (pricing::BookPage page : pricing::parsePriceBook(content, defaults)) {
            if (!page.problem.empty())
                continue;
            // A price that is not rounded up is rounded down: the line says "down" for the window's
            // "neither".
            if (page.parameters.direction == pricing::RoundingDirection::Neither)
                page.parameters.direction = pricing::RoundingDirection::Down;
            const std::vector<pricing::BookPage> again = pricing::parsePriceBook(pricing::bookLine(page), defaults);
            if (again.size() != 1)
                __builtin_trap();
            pricing::BookPage read = again.front();
            read.line = page.line;
            if (!(read == page))
                __builtin_trap();
        }
    } catch (const platform::Fault&) {
    }
    return 0;
}
