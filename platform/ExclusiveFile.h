#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// An open file descriptor, closed with the object.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const noexcept { return m_fd; }
    int release() noexcept;
    void reset() noexcept;

private:
    int m_fd = -1;
};

// Creates the new, empty file `path`, open for reading and writing. Fails when anything already has the name
// (a file, a symbolic link), so it never writes into someone else's file or through a link. The file gets the
// permissions of any new file of the user's: 0666 less the umask, or the folder's default ACL. The descriptor
// is closed on exec. Throws std::system_error.
FileDescriptor createExclusive(const std::string& path);

// The same under a name no other run can have: `stem`, six random letters and digits, then `suffix`. `path`
// gets the name.
FileDescriptor createUnique(const std::string& stem, std::string_view suffix, std::string& path);

// How a file a run is still making is told from one a killed run left: the run holds an flock() on it from
// just after making it until it is gone or in place. The system drops the lock when the process dies,
// however it dies, so a file of a run's pattern that nobody holds is a leftover.
//
// Claims the file just made for this run. False when another run clearing leftovers took it in the moment
// before (and so removes it): make another. Throws std::system_error.
bool claim(const FileDescriptor& fd, const std::string& path);

// The file at `path` when no running program claims it: opened without following a link or waiting, locked,
// an ordinary file and still the one of that name. None otherwise (claimed, gone, something else).
std::optional<FileDescriptor> takeUnclaimed(const std::string& path);

// The `count` bytes of the open file `path` from `offset` on (its position untouched). A file that ends
// before is std::system_error EIO, as is any failure to read.
std::string readAt(const FileDescriptor& fd, std::uint64_t offset, std::size_t count, const std::string& path);

// Writes all of `bytes` to the open file `path`. Throws std::system_error.
void writeAll(const FileDescriptor& fd, std::string_view bytes, const std::string& path);

} // namespace platform
