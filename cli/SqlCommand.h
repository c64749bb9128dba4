#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Command.h"
#include "data/TypedStatement.h"

namespace cli {

// The SQL console, "pricebook sql [options] DB \"SQL TEXT\"", with DB a shop database file or a data folder
// (its vmdata.mdb), or given by --data DIR or --db FILE. Exit codes: 0 done, 1 refused or stopped, 2 wrong
// arguments, 3 the data folder or database.
class SqlCommand : public Command
{
public:
    SqlCommand();

protected:
    int run(const ParsedArguments& arguments) const override;
};

// Runs one SQL text of the old engine's dialect against an existing shop database, opened for reading
// only unless the limits allow writing. A text that returns rows prints a header line of column names and
// one line per row as it is read, tab-separated, each value in its general format (Null as empty); a
// statement that changes the database then prints what it changed ("table STOCK dropped", "12 rows
// changed"). A text with a second statement after the first (SQLite's own reading of where a statement
// ends: trigger bodies, literals, quoted names and comments are known) is refused unrun (fault 3142); a
// statement the console does not run is refused unrun (fault data::RefusedStatement). Faults
// of the database layer pass through; a statement stopped by Ctrl-C or a limit says so in the outcome.
// For a terminal, control characters in names and values are shown escaped (see printable).
data::TypedOutcome runSql(const std::string& databasePath,
                          std::string_view sql,
                          std::ostream& out,
                          const data::TypedStatementLimits& limits = {},
                          bool toTerminal = false);

// What the console says of a statement that stopped before its end (empty when it did not).
std::string stopMessage(const data::TypedOutcome& outcome, const data::TypedStatementLimits& limits);

} // namespace cli
