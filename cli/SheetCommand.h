#pragma once

#include <string>
#include <vector>

#include "sheet/PriceSheet.h"

namespace cli {

// The "sheet" command; args are the words after the command name. Returns the exit code.
int sheetCommand(const std::vector<std::string>& args);

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
