#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "import/StopCleanup.h"

namespace access_import {

// A failure of the import: the Access file is missing, not an Access file, damaged, encrypted, or one of its
// tables cannot be read; or the shop database cannot be written. The text names the file (and the table).
// Nothing is left behind when it is raised.
class ImportError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

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
// makes the reader crash becomes an ImportError instead. What earlier imports that were killed left in the
// folder is removed first (each removal is a note of the report).
ImportReport importAccessDatabase(const std::string& accessFile, const std::string& folder,
                                  const ImportOptions& options);

} // namespace access_import
