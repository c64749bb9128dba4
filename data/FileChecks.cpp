#include "data/FileChecks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string_view>

#include <sqlite3.h>

#include "data/JetErrors.h"

namespace data {

namespace {

namespace fs = std::filesystem;

std::uint32_t bigEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

[[noreturn]] void damaged(const std::string& path, const std::string& why)
{
    throw platform::Fault(CannotOpenDatabase,
                          "Cannot open database " + quoted(path) +
                              ". It may not be a database that your application recognizes, or the file may be "
                              "corrupt (" + why + ").");
}

// Whether a log or journal with something in it lies beside the file: another program may then be playing
// it into the file, writing the first page (and its page count) before the file has grown to match.
bool companionInUse(const std::string& path)
{
    for (const char* companion : {"-wal", "-journal"}) {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(path + companion, error);
        if (!error && size > 0)
            return true;
    }
    return false;
}

} // namespace

void checkIsAFile(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        throw platform::Fault(CouldNotFindFile, "Could not find file " + quoted(path) + ".");
    if (fs::is_directory(status))
        throw platform::Fault(NotAValidPath, quoted(path) + " is a folder, not a database file.");
    if (!fs::is_regular_file(status))
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) + ". It is not a file.");
}

void checkHeader(sqlite3* db, const std::string& path)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) + ".");
    const auto fileSize = [&] {
        sqlite3_int64 size = 0;
        if (file->pMethods->xFileSize(file, &size) != SQLITE_OK)
            throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) + ".");
        return static_cast<std::uint64_t>(size);
    };
    // A pipe or device put in the file's place since it was looked at has no size either.
    const std::uint64_t size = fileSize();
    if (size == 0)
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) + ". The file is empty.");

    std::array<unsigned char, 100> header{};
    const std::size_t got = static_cast<std::size_t>(std::min<std::uint64_t>(size, header.size()));
    const int rc = file->pMethods->xRead(file, header.data(), static_cast<int>(got), 0);
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ)
        throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) +
                                                  ". You may not have permission to read it.");

    const auto headerHas = [&](std::size_t at, std::string_view text) {
        return got >= at + text.size() && std::memcmp(header.data() + at, text.data(), text.size()) == 0;
    };
    if (headerHas(4, "Standard Jet DB") || headerHas(4, "Standard ACE DB"))
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) +
                                  ". It is an Access database; import it first with \"pricebook import-mdb\".");
    if (!headerHas(0, std::string_view("SQLite format 3\0", 16)))
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) + ". The file is not a database.");
    if (got < header.size())
        damaged(path, "the file is truncated");

    std::uint32_t pageSize = bigEndian(header.data() + 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        damaged(path, "its header is damaged");
    // The page count in the header counts only when the file's last writer kept it current, and only
    // while no log or journal is being played into the file (the size is read again after that check).
    const std::uint32_t changeCounter = bigEndian(header.data() + 24, 4);
    const std::uint32_t pageCount = bigEndian(header.data() + 28, 4);
    const std::uint32_t validFor = bigEndian(header.data() + 92, 4);
    if (companionInUse(path))
        return;
    const std::uint64_t settled = fileSize();
    if (settled % pageSize != 0)
        damaged(path, "the file is truncated");
    if (pageCount != 0 && changeCounter == validFor &&
        static_cast<std::uint64_t>(pageCount) * pageSize > settled)
        damaged(path, "the file is truncated");
}

} // namespace data
