#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The "sql" command: `sql DB "SQL TEXT"`, `sql --data DIR "SQL TEXT"` or `sql --db FILE "SQL TEXT"`. DB may
// be a shop database file or a data folder (its vmdata.mdb). args are the words after the command name.
// Returns the exit code.
int sqlCommand(const std::vector<std::string>& args);

// Runs one SQL text of the old engine's dialect against an existing shop database. A text that returns
// rows prints a header line of column names and one line per row, tab-separated, each value in its
// general format (Null as empty); any other statement prints how many rows it changed. A text with a
// second statement after a semicolon is refused (fault 3142) before the database is touched. Faults of the
// database layer pass through.
void runSql(const std::string& databasePath, std::string_view sql, std::ostream& out);

// Whether an SQL text holds anything but blanks after a statement-ending semicolon (outside literals,
// quoted names and comments).
bool hasSecondStatement(std::string_view sql);

} // namespace cli
