#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "platform/Fault.h"
#include "pricing/PriceSettings.h"

namespace {

// A data folder of this run's own, removed when the run ends so the suite's smoke runs leave nothing behind.
struct FuzzFolder
{
    std::string path;
    FuzzFolder()
        : path((std::filesystem::temp_directory_path() / ("fuzz-pricedata-" + std::to_string(::getpid()))).string())
    {
        std::filesystem::create_directories(path);
    }
    ~FuzzFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

} // namespace

// "PriceData.dta" with any bytes in it, read and applied as the window does at start-up.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFolder folder;
    if (std::FILE* file = std::fopen((folder.path + "/PriceData.dta").c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    try {
        if (const auto positions = pricing::readPriceData(folder.path)) {
            pricing::PriceParameters parameters;
            pricing::applyPriceData(*positions, parameters);
        }
    } catch (const platform::Fault&) {
    }
    return 0;
}
