#pragma once

#include <string>

struct sqlite3;

namespace data {

// Refuses, by its directory entry alone, what cannot be a shop database: a missing file (3024), a folder
// (3044), a pipe or device (3343). Nothing is opened here, so no lock of this process on the file can be
// dropped by it, and a pipe or device is never read.
void checkIsAFile(const std::string& path);

// Refuses, with a message that says what is wrong, every file SQLite has just opened that is not a whole
// SQLite database: an empty file, an Access file, another kind of file (3343), a damaged or cut-off one
// (3049). SQLite itself would take an empty file for a new database and report others only at the first
// query. The header is read through SQLite's own handle of the file: a second handle, once closed, would
// drop every lock this process holds on the file, and another program could then checkpoint and remove
// the write-ahead log under an open connection.
void checkHeader(sqlite3* db, const std::string& path);

} // namespace data
