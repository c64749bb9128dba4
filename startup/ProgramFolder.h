#pragma once

#include <optional>
#include <string>
#include <vector>

namespace startup {

// Names the program for the per-user folders and settings Qt works out ("Velmora", "PriceCatalogs"),
// before either front end asks for one, so the window and the command line find the same folders.
void nameProgram();

// The folder of --program-dir DIR or --program-dir=DIR among the arguments; none when not given.
std::optional<std::string> programFolderOption(const std::vector<std::string>& arguments);

// The program folder, which holds the marker file and the report work database: the folder given, else
// the executable's folder when it can be written and the program is not installed, else the user's
// application data folder (made when missing). An installed program (its folder a bin with the
// package's share/pricebook beside it) never writes into the package's folders, not even as root. The
// window and the command line both take it from here, so they share one report database.
std::string resolveProgramFolder(const std::optional<std::string>& given, const std::string& executableFolder);

// The folder of the running executable (argv[0] when the system cannot say); empty when neither tells.
std::string runningProgramFolder(const char* argv0);

} // namespace startup
