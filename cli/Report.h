#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace cli {

// Whether the user asked, with --verbose, for what stands behind a message: the database's own words and
// the SQL text of the statement that failed.
void setVerbose(bool on);
bool verbose();

// Whether the user asked, with --quiet, to hear only of what went wrong: no progress, no word of what was done.
void setQuiet(bool on);
bool quiet();

// Writes "pricebook: message" on a line of its own and, with --verbose, the detail below it, each of its
// lines indented. Both are made printable first.
void report(std::ostream& out, const std::string& message, const std::string& detail = {});

// What a command did (a file written, the shop database in use), on standard error as report() writes it;
// nothing with --quiet.
void notice(const std::string& message);

// Whether what the command printed on standard output so far has reached it (none of it went to a full
// disk, a closed descriptor ...).
bool outputWritten();

// Flushes a command's output and keeps the system's reason when it (first) fails. True when all of it has
// been written.
bool flushOutput(std::ostream& out);

// Flushes standard output and says so when what the command printed there could not all be written,
// naming the system's reason. True when everything was written.
bool finishOutput();

// Says so when something other than a file stands at an output's name (a device, a pipe, a folder): it is
// never written over. True when it does; "-" (standard output) and a free name are fine.
bool reportUnwritableOutput(const std::string& path);

// The text with every control character shown as an escape ("\x1b", "\u009b") instead of reaching the
// terminal, where an order number or description holding one could move the cursor, recolour or retitle
// the window. Other characters, UTF-8 letters among them, are left as they are; a byte that starts no
// valid UTF-8 character is escaped too.
std::string printable(std::string_view text);

} // namespace cli
