#include "shell/subMain.h"

#include <cstdio>

namespace shell {

int Main(int, char**)
{
    std::fputs("pricebook: the main window is not available yet\n", stderr);
    return 2;
}

} // namespace shell
