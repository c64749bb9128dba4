#include "platform/SmallFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ExclusiveFile.h"
#include "platform/Fault.h"

namespace platform {

namespace {

[[noreturn]] void notRead(const std::string& path, const std::string& why, std::string detail = {})
{
    throw Fault(fault::PathFileAccessError,
                path + why + " Move it out of the way or put the shop's own file in its place.", std::move(detail));
}

[[noreturn]] void systemRefused(const std::string& path, const char* call, int error)
{
    notRead(path, " could not be read.", std::string(call) + ": " + std::generic_category().message(error));
}

[[noreturn]] void tooLarge(const std::string& path)
{
    notRead(path, " holds more than " + std::to_string(kSmallFileLimit >> 20) +
                      " MB, far more than such a file ever holds, so it was not read.");
}

} // namespace

std::string readSmallFile(const std::string& path)
{
    // Opened without waiting (a FIFO would otherwise wait for a writer) and judged by what was opened, so
    // nothing put at the name between a look and the open can slip through.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            raise(fault::FileNotFound, "File not found: " + path);
        systemRefused(path, "open", error);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        systemRefused(path, "fstat", errno);
    if (S_ISDIR(status.st_mode))
        notRead(path, " is a folder, not a file, so it was not read.");
    if (!S_ISREG(status.st_mode))
        notRead(path, " is a pipe or a device, not a file, so it was not read.");
    if (static_cast<std::uintmax_t>(status.st_size) > kSmallFileLimit)
        tooLarge(path);

    // At most one byte past the limit is read: a file that holds more than its size says still cannot keep
    // us reading.
    std::string content;
    std::array<char, 65536> buffer{};
    while (content.size() <= kSmallFileLimit) {
        const std::size_t wanted = std::min(buffer.size(), kSmallFileLimit + 1 - content.size());
        const ssize_t got = ::read(fd.get(), buffer.data(), wanted);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            systemRefused(path, "read", errno);
        if (got == 0)
            break;
        content.append(buffer.data(), static_cast<std::size_t>(got));
    }
    if (content.size() > kSmallFileLimit)
        tooLarge(path);
    // A file of the system (under /proc or /sys) gives other bytes than its size says; so does a file
    // another program is writing as we read. Neither is the shop's file as it stands.
    if (::fstat(fd.get(), &status) != 0)
        systemRefused(path, "fstat", errno);
    if (static_cast<std::uintmax_t>(status.st_size) != content.size())
        notRead(path, " changed while it was read or is not an ordinary file, so it was not read.");
    return content;
}

std::optional<std::string> readSmallFileIfThere(const std::string& path)
{
    try {
        return readSmallFile(path);
    } catch (const Fault& raised) {
        if (raised.number() == fault::FileNotFound)
            return std::nullopt;
        throw;
    }
}

} // namespace platform
