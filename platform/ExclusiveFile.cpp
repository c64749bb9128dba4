#include "platform/ExclusiveFile.h"

#include <cerrno>
#include <random>
#include <system_error>

#include <fcntl.h>
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
