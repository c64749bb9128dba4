#pragma once

#include <initializer_list>
#include <vector>

#include "cli/Command.h"

namespace cli {

// The run behind "price" and "sheet": the same options, the same pricing run; "price" prints the price
// lines, "sheet" writes the Counter Price Book sheet of them.
enum class PricingCommand { Price, Sheet };

// The options both commands take, then `own`.
std::vector<Option> pricingOptions(std::initializer_list<Option> own);

// Prices the order the arguments name at every quantity of the schedule and prints or writes the result.
// Returns the exit code; throws UsageError for arguments that cannot be run.
int runPricingCommand(const ParsedArguments& arguments, PricingCommand command);

} // namespace cli
