#include "cli/Cli.h"

#include <cstdio>
#include <string_view>

namespace cli {

bool wantsCommandLine(int argc, char** argv)
{
    return argc > 1 && std::string_view(argv[1]) != "--program-dir";
}

int run(int, char**)
{
    std::fputs("pricebook: no headless commands yet\n", stderr);
    return 2;
}

} // namespace cli
