#pragma once

#include "cli/Command.h"

namespace cli {

// "pricebook copy-db DATAFOLDER --postgres CONNINFO [--replace]": moves a shop database file onto a
// database server, every table and row, checked by counts.
class CopyDbCommand : public Command
{
public:
    CopyDbCommand();

protected:
    int run(const ParsedArguments& arguments) const override;
};

} // namespace cli
