#pragma once

#include <string>
#include <vector>

namespace cli {

// The "price" command; args are the words after the command name. Returns the exit code.
int priceCommand(const std::vector<std::string>& args);

// The run behind "price" and "sheet": the same options, the same pricing run; "price" prints the price
// lines, "sheet" writes the Counter Price Book sheet of them.
enum class PricingCommand { Price, Sheet };
int runPricingCommand(const std::vector<std::string>& args, PricingCommand command);

} // namespace cli
