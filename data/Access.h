#pragma once

namespace data {

// How a database file is opened.
enum class Access
{
    ReadWrite, // for reading and writing; for reading only, by itself, when the file cannot be written
    ReadOnly,  // for reading only, at SQLite's own level: no statement of the connection can change the file
};

} // namespace data
