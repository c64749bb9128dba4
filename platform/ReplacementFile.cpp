#include "platform/ReplacementFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

[[noreturn]] void fail(const char* what, const std::string& path)
{
    const int error = errno;
    throw std::system_error(error, std::generic_category(), what + path);
}

// The rename itself reaches the disk only with its folder.
void syncFolderOf(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const FileDescriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

} // namespace

ReplacementFile::ReplacementFile(std::string target, std::string_view tag, std::vector<std::string> companions)
    : m_target(std::move(target)), m_companions(std::move(companions))
{
    m_fd = createUnique(m_target + std::string(tag), {}, m_path);
}

ReplacementFile::ReplacementFile(std::string target, std::string path, FileDescriptor created,
                                 std::vector<std::string> companions)
    : m_target(std::move(target)), m_path(std::move(path)), m_fd(std::move(created)),
      m_companions(std::move(companions))
{
}

ReplacementFile::~ReplacementFile()
{
    if (!m_placed)
        discard();
}

void ReplacementFile::write(std::string_view bytes)
{
    writeAll(m_fd, bytes, m_path);
}

bool ReplacementFile::putInPlace(Placing placing)
{
    if (m_fd.get() >= 0) {
        // On the disk before it takes the target's name, so a power cut cannot leave an empty file there.
        if (::fsync(m_fd.get()) != 0)
            fail("cannot write ", m_path);
        if (::close(m_fd.release()) != 0)
            fail("cannot write ", m_path);
    }
    if (placing == Placing::OnlyIfFree) {
        // A hard link is made only under a free name, in one step.
        if (::link(m_path.c_str(), m_target.c_str()) == 0) {
            m_placed = true;
            ::unlink(m_path.c_str());
            syncFolderOf(m_target);
            return true;
        }
        const bool taken = errno == EEXIST;
        std::error_code ignored;
        // Without hard links (some shared and removable drives) a look first is the best there is.
        if (taken || std::filesystem::exists(std::filesystem::symlink_status(m_target, ignored))) {
            discard();
            return false;
        }
    }
    if (::rename(m_path.c_str(), m_target.c_str()) != 0)
        fail("cannot put in place ", m_target);
    m_placed = true;
    syncFolderOf(m_target);
    return true;
}

void ReplacementFile::discard() noexcept
{
    m_fd.reset();
    ::unlink(m_path.c_str());
    for (const std::string& ending : m_companions)
        ::unlink((m_path + ending).c_str());
}

} // namespace platform
