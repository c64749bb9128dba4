#pragma once

#include <string>
#include <vector>

namespace cli {

// The "import" command; args are the words after the command name. Returns the exit code.
int importCommand(const std::vector<std::string>& args);

} // namespace cli
