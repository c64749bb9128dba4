#include "cli/SheetCommand.h"

#include <cstdio>

namespace cli {

int sheetCommand(const std::vector<std::string>&)
{
    std::fputs("pricebook: this command is not available yet\n", stderr);
    return 2;
}

} // namespace cli
