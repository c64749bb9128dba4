#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "pricing/PricingRun.h"
#include "sheet/PaperSize.h"
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
    std::optional<sheet::Paper> paper; // --paper; else the system's
};

// Lays out the sheet of a finished run, printed now, and writes it as the request says. Messages go to
// standard error. Returns 0, or 1 when there is nothing to print or the file could not be written.
int writeSheet(const SheetRequest& request, const sheet::SheetInputs& inputs);

// --paper, which the sheet and the book take: the PDF's paper, "a4" or "letter" (the option allows no other).
const Option& paperOption();
sheet::Paper paperOf(const std::string& value);

// "1 page, A4", "3 pages, Letter": what a PDF written holds.
std::string pagesText(int pages, sheet::Paper paper);

// What the face of a sheet with quantities missing says: "NOT COMPLETE: no price for 100, 125 and 150", the
// first twelve of them named and the rest counted. Empty without any.
std::string notCompleteText(const std::vector<pricing::SkippedQuantity>& skipped);

} // namespace cli
