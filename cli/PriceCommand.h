#pragma once

#include <string>
#include <vector>

namespace cli {

// The "price" command; args are the words after the command name. Returns the exit code.
int priceCommand(const std::vector<std::string>& args);

} // namespace cli
