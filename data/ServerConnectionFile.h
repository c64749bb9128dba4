#pragma once

#include <string>

#include "platform/Outcome.h"

namespace data {

// The file in the shop's data folder that puts the shop database on a database server, every counter's
// data folder holding one: one libpq connection string ("host=shop-server dbname=shop user=counter") or
// service name ("shop", from the service file), without a password (each counter's user keeps that in
// libpq's own password file).
inline constexpr const char* ServerConnectionFileName = "vmdata.pg";

// Whether a database path names such a file (ends in ".pg") rather than a database file.
bool isServerConnectionFile(const std::string& path);

// The connection string of a connection file: its first line that is not blank or a # comment, a bare
// service name as "service=NAME". A file that cannot be read, holds no connection string or one libpq
// cannot read, or holds a password is fault 3051, whose text names the file and says what is wrong.
std::string readServerConnectionFile(const std::string& path);

// Nothing for a connection string that libpq reads and that holds no password; otherwise fault 3151 whose
// text says why it cannot be used.
platform::Outcome checkConnectionString(const std::string& conninfo);

} // namespace data
