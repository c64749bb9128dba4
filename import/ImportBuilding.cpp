#include "import/ImportBuilding.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include <unistd.h>

// How a killed import's files are told from those of an import still running: each import holds an flock()
// on a small lock file of its own from before its building file exists until after it is gone. The system
// drops the lock when the process dies however it dies, so a lock file nobody holds marks a leftover.
// The lock is not taken on the building file itself: the reading child's SQLite holds POSIX (fcntl) locks
// there, which a close of any other descriptor of that file in the same process would drop, and on network
// file systems flock() is carried out as such a lock and would stand in SQLite's way. The reading child
// inherits the locked descriptor (never closing it while SQLite runs), so a child still writing after its
// parent was killed keeps the file claimed.

namespace access_import {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTag = ".import-";
constexpr std::string_view kLockEnding = ".lock";
constexpr std::size_t kRandomLength = 6; // as platform::createUnique makes them

std::string withoutLockEnding(const std::string& lockPath)
{
    return lockPath.substr(0, lockPath.size() - kLockEnding.size());
}

} // namespace

ImportBuilding::ImportBuilding(const std::string& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        platform::FileDescriptor lock = platform::createUnique(target + std::string(kTag), kLockEnding, m_lockPath);
        if (!platform::claim(lock, m_lockPath))
            continue; // another import clearing up took it in the moment before; it removes it
        const std::string building = withoutLockEnding(m_lockPath);
        try {
            m_building.emplace(target, building, platform::createExclusive(building), platform::sqliteCompanions());
        } catch (const std::system_error& error) {
            ::unlink(m_lockPath.c_str());
            if (error.code() == std::errc::file_exists)
                continue; // a file of that name not made by this program
            throw;
        }
        // The reading child's SQLite opens the file by its name; no other descriptor of it stays open here.
        m_building->close();
        m_lock = std::move(lock);
        return;
    }
    throw std::system_error(EEXIST, std::generic_category(), "no free name for a new file beside " + target);
}

ImportBuilding::~ImportBuilding()
{
    // The lock file goes last and while still locked, so it never stands unlocked beside a building file.
    m_building.reset();
    ::unlink(m_lockPath.c_str());
}

std::vector<std::string> removeStoppedImports(const std::string& target)
{
    const fs::path targetPath(target);
    const std::string stem = targetPath.filename().string() + std::string(kTag);
    std::vector<fs::path> locks;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(targetPath.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == stem.size() + kRandomLength + kLockEnding.size() && name.starts_with(stem) &&
            name.ends_with(kLockEnding))
            locks.push_back(entry.path());
    }

    std::vector<std::string> removed;
    for (const fs::path& lockPath : locks) {
        // Held by the import that is still running; once taken here, held until its files are gone.
        const std::optional<platform::FileDescriptor> lock = platform::takeUnclaimed(lockPath.string());
        if (!lock)
            continue;
        const std::string building = withoutLockEnding(lockPath.string());
        if (::unlink(building.c_str()) == 0)
            removed.push_back(fs::path(building).filename().string());
        for (const std::string& ending : platform::sqliteCompanions())
            ::unlink((building + ending).c_str());
        ::unlink(lockPath.c_str());
    }
    return removed;
}

} // namespace access_import
