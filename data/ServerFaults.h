#pragma once

#include <string>
#include <string_view>

#include "platform/Fault.h"

struct pg_result;

namespace data {

// The old engine's numbers for a database server that cannot be reached or stops answering, and for a
// statement the server stopped because it ran too long.
inline constexpr int ServerConnectionFailed = 3151;
inline constexpr int ServerQueryTimeout = 3234;

// A setting of a connection string that is never shown: one libpq marks as secret.
bool isSecretSetting(std::string_view keyword);

// A libpq connection string as messages may show it: every secret setting (password=, sslpassword= ...)
// left out.
std::string conninfoWithoutSecrets(const std::string& conninfo);

// The fault of a statement the server refused or could not finish on the database `name`, with the old
// engine's number and words by the server's error code; the server's own words and the SQL text go into
// its detail.
platform::Fault
serverStatementFault(const std::string& name, const pg_result* result, const std::string& sql);

// The connection to the server was lost: the server rolls back whatever was not committed.
platform::Fault
lostConnectionFault(const std::string& name, const std::string& message, const std::string& sql);

} // namespace data
