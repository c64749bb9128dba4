#pragma once

#include "cli/Command.h"

namespace cli {

// "pricebook import-mdb FILE.mdb DIR [--replace]": builds DIR/vmdata.mdb from a shop database kept in Access
// (Jet) format, reading the Access file without changing it. Exit codes: 0 done, 2 wrong arguments, 3 the
// import failed (nothing written).
class ImportCommand : public Command
{
public:
    std::string_view name() const override { return "import-mdb"; }
    std::string_view summary() const override;
    std::string_view synopsis() const override;
    std::string_view description() const override;
    std::span<const Option> options() const override;

protected:
    int run(const ParsedArguments& arguments) const override;
};

} // namespace cli
