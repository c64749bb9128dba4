#pragma once

#include <vector>

#include "cli/Command.h"

namespace cli {

// "pricebook price DATAFOLDER --order NO [options]": prices one quote or job at every quantity of the
// schedule and prints the price lines as text, CSV or JSON.
class PriceCommand : public Command
{
public:
    PriceCommand();

    std::string_view name() const override { return "price"; }
    std::string_view summary() const override;
    std::string_view synopsis() const override;
    std::string_view description() const override;
    std::span<const Option> options() const override { return m_options; }
    std::string_view epilogue() const override;

protected:
    int run(const ParsedArguments& arguments) const override;

private:
    std::vector<Option> m_options;
};

} // namespace cli
