#pragma once

#include <string>
#include <vector>

#include "cli/Command.h"
#include "sheet/PriceSheet.h"

namespace cli {

// "pricebook sheet DATAFOLDER --order NO (--pdf FILE | --text) [options]": prices one quote or job as
// "price" does and writes its Counter Price Book sheet.
class SheetCommand : public Command
{
public:
    SheetCommand();

    std::string_view name() const override { return "sheet"; }
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

// Where the sheet command sends the sheet.
struct SheetRequest
{
    std::string pdfPath;  // --pdf FILE
    bool text = false;    // --text: the plain-text rendering on standard output
    std::string category; // --category TEXT
};

// Lays out the sheet of a finished run, printed now, and writes it as the request says. Messages go to
// standard error. Returns 0, or 1 when there is nothing to print or the file could not be written.
int writeSheet(const SheetRequest& request, const sheet::SheetInputs& inputs);

} // namespace cli
