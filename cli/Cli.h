#pragma once

namespace cli {

// Whether the arguments ask for a headless command (a subcommand, --help or --version) rather than the
// main window.
bool wantsCommandLine(int argc, char** argv);

// Runs one headless command and returns the process exit code (0 success; errors go to stderr).
int run(int argc, char** argv);

} // namespace cli
