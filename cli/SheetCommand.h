#pragma once

#include <string>
#include <vector>

#include "cli/Command.h"
#include "pricing/PricingRun.h"
#include "sheet/PriceSheet.h"

namespace cli {

// "pricebook sheet DATAFOLDER --order NO (--pdf FILE | --text) [options]": prices one quote or job as
// "price" does and writes its Counter Price Book sheet.
class SheetCommand : public Command
{
public:
    SheetCommand();

protected:
    int run(const ParsedArguments& arguments) const override;
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

// What the face of a sheet with quantities missing says: "NOT COMPLETE: no price for 100, 125 and 150", the
// first twelve of them named and the rest counted. Empty without any.
std::string notCompleteText(const std::vector<pricing::SkippedQuantity>& skipped);

} // namespace cli
