#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/Fault.h"
#include "pricing/PriceSettings.h"

// "PriceData.dta" with any bytes in it, read and applied as the window does at start-up.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / ("fuzz-pricedata-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        // The folder goes when the run ends, so the suite's smoke runs leave nothing behind.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return path.string();
    }();
    if (std::FILE* file = std::fopen((folder + "/PriceData.dta").c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    try {
        if (const auto positions = pricing::readPriceData(folder)) {
            pricing::PriceParameters parameters;
            pricing::applyPriceData(*positions, parameters);
        }
    } catch (const platform::Fault&) {
    }
    return 0;
}
