#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Reads the items of a sequential text file the way the old runtime's Input # did: an item ends at a
// comma or at the end of a line; blanks around it are dropped; a quoted item loses its quotes (and may
// then hold commas, and a quote written as two). CR LF and LF line ends read the same. The file is read by
// readSmallFile: a missing file is fault 53 ("File not found"), one that is no ordinary file of at most
// kSmallFileLimit bytes fault 75, naming the file and why it was not read.
std::vector<std::string> readItems(const std::string& path);
std::vector<std::string> splitItems(std::string_view content); // the same over text already read

// The line that holds `item` so that the reader gives it back whole: as it is where it reads back so (a
// name without commas or surrounding blanks, as the old program's files hold them), else in double quotes
// as Write # put it, with a quote inside written as two.
std::string itemLine(std::string_view item);

// Writes each text as one line ended by CR LF, no quotes, replacing the file whole (Print #); a symbolic
// link at the name is replaced, never written through. Appending adds lines at the end of a plain file
// (not through a symbolic link) and creates a missing file. Failures are faults 75/76 naming the file.
void writeLines(const std::string& path, const std::vector<std::string>& lines);
void appendLine(const std::string& path, std::string_view line);

// The same with one item a line, each written by itemLine.
void writeItems(const std::string& path, const std::vector<std::string>& items);

} // namespace platform
