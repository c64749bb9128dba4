#include "cli/Cli.h"
#include "shell/subMain.h"

// Without a command the program opens its main window; a command runs headless.
int main(int argc, char** argv)
{
    if (cli::wantsCommandLine(argc, argv))
        return cli::run(argc, argv);
    return shell::Main(argc, argv);
}
