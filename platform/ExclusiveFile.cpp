#include "platform/ExclusiveFile.h"

#include <cerrno>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        reset();
        m_fd = other.release();
    }
    return *this;
}

int FileDescriptor::release() noexcept
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void FileDescriptor::reset() noexcept
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

FileDescriptor createExclusive(const std::string& path)
{
    // Not mkstemp: it makes the file private, and widening it afterwards means reading the umask by setting
    // it, for every thread of the program at once. Given 0666, the system applies the umask and any default
    // ACL of the folder itself.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        throw std::system_error(error, std::generic_category(), "cannot create " + path);
    }
    return FileDescriptor(fd);
}

FileDescriptor createUnique(const std::string& stem, std::string_view suffix, std::string& path)
{
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    // 62^6 names: a clash with another run's file is rare, a hundred in a row means something else is wrong.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = stem;
        for (int i = 0; i < 6; ++i)
            candidate += kLetters[pick(seed)];
        candidate += suffix;
        try {
            FileDescriptor fd = createExclusive(candidate);
            path = std::move(candidate);
            return fd;
        } catch (const std::system_error& error) {
            if (error.code() != std::errc::file_exists)
                throw;
        }
    }
    throw std::system_error(EEXIST, std::generic_category(), "no free name for a new file beside " + stem);
}

bool claim(const FileDescriptor& fd, const std::string& path)
{
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK)
            return false;
        throw std::system_error(error, std::generic_category(), "cannot lock " + path);
    }
    // Taken and removed in the moment between making and locking: no longer the file of that name.
    struct stat status {};
    return ::fstat(fd.get(), &status) == 0 && status.st_nlink > 0;
}

std::optional<FileDescriptor> takeUnclaimed(const std::string& path)
{
    // Nothing but an ordinary file is opened: opening a device can be an action of its own.
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return std::nullopt;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return std::nullopt;
    // Still the file of that name, not one another run clearing up removed (and a new one made) meanwhile.
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) || ::lstat(path.c_str(), &named) != 0 ||
        opened.st_dev != named.st_dev || opened.st_ino != named.st_ino)
        return std::nullopt;
    return fd;
}

std::string readAt(const FileDescriptor& fd, std::uint64_t offset, std::size_t count, const std::string& path)
{
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t read = ::pread(fd.get(), bytes.data() + got, count - got, static_cast<off_t>(offset + got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0) {
            const int error = read < 0 ? errno : EIO;
            throw std::system_error(error, std::generic_category(), "cannot read " + path);
        }
        got += static_cast<std::size_t>(read);
    }
    return bytes;
}

void writeAll(const FileDescriptor& fd, std::string_view bytes, const std::string& path)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            throw std::system_error(error, std::generic_category(), "cannot write " + path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace platform
