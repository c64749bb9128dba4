#pragma once

#include <optional>
#include <string>

#include "platform/Fault.h"

struct sqlite3;

namespace data {

// The system's error number behind SQLite's last failure on a connection. A failed write of the log or
// journal leaves none for sqlite3_system_errno; SQLite keeps it with the file that failed.
int systemErrorOf(sqlite3* db);

// A failure of the disk or folder that holds the database at `path` rather than of the statement: no room
// left (3183), or a file or folder that cannot be written (3027 at a write, 3051 when even reading needs a
// file beside it). SQLite reports these as a disk error or a file it cannot open; the system's own error
// number and the folder's state tell which. Nothing for any other failure.
std::optional<platform::Fault> storageFault(const std::string& path, int code, int systemError, bool writing,
                                            const std::string& detail);

} // namespace data
