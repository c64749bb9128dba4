#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/StopCleanup.h"

namespace access_import {

struct ImportOptions
{
    std::string_view schemaSql;  // the shop database's tables (demo/schema.sql)
    bool replace = false;        // an existing DIR/vmdata.mdb is replaced only when set
    // Called once a table is copied, with its name and row count.
    std::function<void(const std::string& table, std::size_t rows)> progress;
    // Filled in while the import runs with what a stop-signal handler of the program must undo (the
    // import installs no handler of its own); none when null.
    StopCleanup* stopCleanup = nullptr;
};

struct ImportedTable
{
    std::string name;
    std::size_t rows = 0;
};

struct ImportReport
{
    std::string database;               // the shop database written
    std::vector<ImportedTable> tables;  // Access tables copied, in the file's order
    std::vector<std::string> notes;     // what was added empty, skipped or could not be read
};

// Reads every table of an Access (Jet 3 / Jet 4) file, never writing it, and writes folder/vmdata.mdb as a
// shop database: the tables of the schema filled from the Access tables of the same name (compared without
// regard to case), other tables copied as they are. The new file is built beside the target and renamed into
// place only when the whole import succeeded. The Access file is read in a child process, so a file that
// makes the reader crash becomes a failed import instead. What earlier imports that were killed left in the
// folder is removed first (each removal is a note of the report).
// A failed import is a platform::Fault, and nothing is left behind then: the Access file is missing, not an
// Access file, damaged, encrypted, or one of its tables cannot be read; or the shop database cannot be
// written. Its text names the file (and the table); its number is the old engine's nearest one (3049 for a
// file the reader could not read whole, 3204 for a shop database that is kept, ...); the system's own words
// for a file that could not be written are its detail.
ImportReport importAccessDatabase(const std::string& accessFile, const std::string& folder,
                                  const ImportOptions& options);

} // namespace access_import
