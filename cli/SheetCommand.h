#pragma once

#include <string>
#include <vector>

namespace cli {

// The "sheet" command; args are the words after the command name. Returns the exit code.
int sheetCommand(const std::vector<std::string>& args);

} // namespace cli
