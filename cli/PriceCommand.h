#pragma once

#include <vector>

#include "cli/Command.h"

namespace cli {

// "pricebook price DATAFOLDER --order NO [options]": prices one quote or job at every quantity of the
// schedule and prints the price lines as text, CSV or JSON.
class PriceCommand : public Command
{
public:
    PriceCommand();

protected:
    int run(const ParsedArguments& arguments) const override;
};

} // namespace cli
