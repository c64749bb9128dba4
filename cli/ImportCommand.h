#pragma once

#include <string>
#include <vector>

namespace cli {

// The "import-mdb" command: `import-mdb FILE.mdb DIR [--replace]` builds DIR/vmdata.mdb from a shop database
// kept in Access (Jet) format, reading the Access file without changing it. args are the words after the
// command name. Returns the exit code: 0 done, 2 wrong arguments, 3 the import failed (nothing written).
int importCommand(const std::vector<std::string>& args);

} // namespace cli
