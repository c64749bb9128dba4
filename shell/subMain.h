#pragma once

namespace shell {

// Starts the desktop program: finds the program and data folders and opens the main window. Returns the
// process exit code when the last window closes.
int Main(int argc, char** argv);

} // namespace shell
