#include "platform/ReplacementFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "platform/Fault.h"
#include "platform/FileKind.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRandomLength = 6; // as createUnique makes them

[[noreturn]] void fail(const char* what, const std::string& path)
{
    const int error = errno;
    throw std::system_error(error, std::generic_category(), what + path);
}

// The rename itself reaches the disk only with its folder.
void syncFolderOf(const std::string& path)
{
    const fs::path folder = fs::path(path).parent_path();
    const FileDescriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

// A folder, a pipe, a device or a socket at the output's name is never replaced: writing over /dev/null or
// a pipe another program reads from would break what relies on it.
void refuseNonFile(const std::string& target)
{
    if (const std::string refused = unwritableKindAt(target); !refused.empty())
        throw Fault(fault::PathFileAccessError, refused);
}

bool isRandomPart(std::string_view text)
{
    if (text.size() != kRandomLength)
        return false;
    for (const char c : text)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

} // namespace

ReplacementFile::ReplacementFile(std::string target, std::string_view tag, std::vector<std::string> companions)
    : m_target(std::move(target)), m_companions(std::move(companions))
{
    refuseNonFile(m_target);
    removeLeftovers(m_target, tag, m_companions);
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_fd = createUnique(m_target + std::string(tag), {}, m_path);
        if (claim(m_fd, m_path))
            return;
        // Taken by a run clearing leftovers in the moment before the claim: that run removes it.
        m_fd.reset();
    }
    throw std::system_error(EEXIST, std::generic_category(), "no free name for a new file beside " + m_target);
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
    refuseNonFile(m_target);
    if (m_fd.get() >= 0) {
        // On the disk before it takes the target's name, so a power cut cannot leave an empty file there.
        if (::fsync(m_fd.get()) != 0)
            fail("cannot write ", m_path);
    }
    if (placing == Placing::OnlyIfFree) {
        // A hard link is made only under a free name, in one step.
        if (::link(m_path.c_str(), m_target.c_str()) == 0) {
            m_placed = true;
            ::unlink(m_path.c_str());
            m_fd.reset();
            syncFolderOf(m_target);
            return true;
        }
        const bool taken = errno == EEXIST;
        std::error_code ignored;
        // Without hard links (some shared and removable drives) a look first is the best there is.
        if (taken || fs::exists(fs::symlink_status(m_target, ignored))) {
            discard();
            return false;
        }
    }
    if (::rename(m_path.c_str(), m_target.c_str()) != 0)
        fail("cannot put in place ", m_target);
    m_placed = true;
    // Closed only now (its bytes were synced above): until the file has its name, its claim keeps a run
    // clearing leftovers off it.
    m_fd.reset();
    syncFolderOf(m_target);
    return true;
}

void ReplacementFile::discard() noexcept
{
    // Removed while still claimed, so no other run can take the name for a leftover in between.
    ::unlink(m_path.c_str());
    for (const std::string& ending : m_companions)
        ::unlink((m_path + ending).c_str());
    m_fd.reset();
}

std::vector<std::string> removeLeftovers(const std::string& target, std::string_view tag,
                                         const std::vector<std::string>& companions)
{
    const fs::path targetPath(target);
    const std::string stem = targetPath.filename().string() + std::string(tag);
    std::vector<fs::path> candidates;
    std::error_code error;
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() == stem.size() + kRandomLength && name.starts_with(stem) &&
            isRandomPart(std::string_view(name).substr(stem.size())))
            candidates.push_back(entry->path());
    }
    std::vector<std::string> removed;
    for (const fs::path& candidate : candidates) {
        // Removed while this run holds it, so a run that made it and is still going can never lose it.
        const std::optional<FileDescriptor> taken = takeUnclaimed(candidate.string());
        if (!taken)
            continue;
        for (const std::string& ending : companions)
            ::unlink((candidate.string() + ending).c_str());
        if (::unlink(candidate.c_str()) == 0)
            removed.push_back(candidate.filename().string());
    }
    return removed;
}

void writeWholeFile(const std::string& target, const std::string& what, const FilePieces& pieces)
{
    try {
        ReplacementFile file(target, ".new-");
        pieces([&file](std::string_view piece) { file.write(piece); });
        file.putInPlace(ReplacementFile::Placing::Replace);
    } catch (const std::system_error& error) {
        throw Fault(fault::PathFileAccessError,
                    what + " could not be written to " + target +
                        ". Choose a folder that exists and that you may write in, on a disk with room.",
                    error.code().message());
    }
}

} // namespace platform
