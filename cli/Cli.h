#pragma once

#include <string>
#include <vector>

namespace cli {

// Whether the arguments ask for a headless command (a subcommand, --help or --version) rather than the
// main window.
bool wantsCommandLine(int argc, char** argv);

// The program folder of a command line: the folder of --program-dir among the options before the command,
// else the one the window would take for a program in executableFolder.
std::string programFolderFor(const std::vector<std::string>& leadingOptions, const std::string& executableFolder);

// The program folder run() worked out at its start; the commands price in it unless told another.
const std::string& programFolder();

// Runs one headless command and returns the process exit code (0 success; errors go to stderr).
int run(int argc, char** argv);

} // namespace cli
