#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ExclusiveFile.h"
#include "platform/ReplacementFile.h"

namespace access_import {

// The file an import builds the new shop database in, beside the target: "vmdata.mdb.import-XXXXXX", with a
// lock file of its own, "vmdata.mdb.import-XXXXXX.lock", that stays locked while the import (or its reading
// child) runs. An import that is killed leaves both behind, unlocked; the next import removes them
// (removeStoppedImports).
class ImportBuilding
{
public:
    // Creates both files. Throws std::system_error.
    explicit ImportBuilding(const std::string& target);
    // Removes the building file (unless it was put in place) and its companions, then the lock file.
    ~ImportBuilding();
    ImportBuilding(const ImportBuilding&) = delete;
    ImportBuilding& operator=(const ImportBuilding&) = delete;

    const std::string& path() const noexcept { return m_building->path(); }
    const std::string& lockPath() const noexcept { return m_lockPath; }

    // See ReplacementFile::putInPlace.
    bool putInPlace(platform::ReplacementFile::Placing placing) { return m_building->putInPlace(placing); }

private:
    std::string m_lockPath;
    platform::FileDescriptor m_lock;
    std::optional<platform::ReplacementFile> m_building;
};

// Removes what imports into `target` that are no longer running left beside it: each building file whose
// lock nobody holds, with its -journal, -wal and -shm, then the lock file. A building file without a lock
// file is not known to be an import's and is left alone. Returns the names of the building files removed.
std::vector<std::string> removeStoppedImports(const std::string& target);

} // namespace access_import
