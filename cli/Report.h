#pragma once

#include <ostream>
#include <string>

namespace cli {

// Whether the user asked, with --verbose, for what stands behind a message: the database's own words and
// the SQL text of the statement that failed.
void setVerbose(bool on);
bool verbose();

// Writes "pricebook: message" on a line of its own and, with --verbose, the detail below it, each of its
// lines indented.
void report(std::ostream& out, const std::string& message, const std::string& detail = {});

} // namespace cli
