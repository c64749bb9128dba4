#include "import/AccessFileCheck.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "data/JetErrors.h"

namespace access_import {

namespace fs = std::filesystem;

platform::Outcome accessFileProblem(const std::string& accessFile)
{
    std::error_code error;
    const fs::file_status status = fs::status(accessFile, error);
    if (!fs::exists(status))
        return platform::Fault(data::CouldNotFindFile, "the file does not exist");
    if (fs::is_directory(status))
        return platform::Fault(data::NotAValidPath, "it is a folder, not an Access file");
    if (!fs::is_regular_file(status))
        return platform::Fault(data::NotAValidPath, "it is not a plain file");
    const std::uintmax_t size = fs::file_size(accessFile, error);
    std::ifstream in(accessFile, std::ios::binary);
    if (error || !in)
        return platform::Fault(data::CannotOpenFile,
                               "the file cannot be read; you may not have permission to read it");
    std::array<unsigned char, 32> header{};
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    const auto has = [&](std::size_t at, std::string_view text) {
        return got >= at + text.size() && std::memcmp(header.data() + at, text.data(), text.size()) == 0;
    };
    if (size == 0)
        return platform::Fault(data::UnrecognizedFormat, "the file is empty");
    if (has(0, std::string_view("SQLite format 3\0", 16)))
        return platform::Fault(data::UnrecognizedFormat,
                               "it is already a SQLite shop database; it needs no import");
    if (!has(0, std::string_view("\x00\x01\x00\x00", 4)) || !(has(4, "Standard Jet DB") || has(4, "Standard ACE DB")))
        return platform::Fault(data::UnrecognizedFormat, "it is not an Access database");
    // Jet 3 files are made of 2 KB pages, later versions of 4 KB pages; a file that is not a whole number of
    // pages, or too short for its table list, was cut off.
    const std::uintmax_t page = header[0x14] == 0 ? 2048 : 4096;
    if (size % page != 0 || size < 3 * page)
        return platform::Fault(data::UnrecognizedFormat, "the file is truncated");
    return std::nullopt;
}

} // namespace access_import
