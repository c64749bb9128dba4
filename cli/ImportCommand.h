#pragma once

#include "cli/Command.h"

namespace cli {

// "pricebook import-mdb FILE.mdb DIR [--replace]": builds DIR/vmdata.mdb from a shop database kept in Access
// (Jet) format, reading the Access file without changing it. Exit codes: 0 done, 2 wrong arguments, 3 the
// import failed (nothing written).
class ImportCommand : public Command
{
public:
    ImportCommand();

protected:
    int run(const ParsedArguments& arguments) const override;
};

} // namespace cli
