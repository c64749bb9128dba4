#include "cli/SheetCommand.h"

#include <algorithm>
#include <iostream>
#include <memory>

#include "cli/ExitCode.h"
#include "cli/GuiApplication.h"
#include "cli/PricingCommandRun.h"
#include "cli/Report.h"
#include "platform/Fault.h"
#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"

namespace cli {

namespace {

const CommandText kSheetText = {
    .name = "sheet",
    .summary = "print the Counter Price Book sheet to a PDF file",
    .synopsis = "DATAFOLDER --order NO (--pdf FILE | --text) [options]",
    .description =
        "Prices one quote or job exactly as \"pricebook price\" does (the same run, the same rewriting of the\n"
        "order's row, the same options but --format) and writes its \"Counter Price Book\" sheet, as the\n"
        "window's \"Print Price Sheet\" button prints it.",
    .epilogue =
        "Exit codes as for \"pricebook price\". When some quantities could not be priced (exit 5) no sheet is\n"
        "written, unless --incomplete is given: the sheet then names the missing quantities above its prices.\n"
        "With no price line at all nothing is written.",
};

} // namespace

SheetCommand::SheetCommand()
    : Command(kSheetText, pricingOptions({
          {"--pdf", "FILE", "write the sheet as a PDF file (an existing file is replaced)"},
          paperOption(),
          {"--text", "", "print the sheet as plain text, one character a print column"},
          {"--typeface", "courier|times|sans",
           "the sheet's typeface (default: the price-data file's, else Times Roman)", true},
          {"--category", "TEXT", "the category printed under the title (first 40 characters)"},
          {"--incomplete", "", "write the sheet even when some quantities could not be priced"},
      }))
{
}

int SheetCommand::run(const ParsedArguments& arguments) const
{
    return runPricingCommand(arguments, PricingCommand::Sheet);
}

int writeSheet(const SheetRequest& request, const sheet::SheetInputs& inputs)
{
    if (inputs.priceLines.empty()) {
        std::cerr << "pricebook: no quantity could be priced, so there is no sheet to write\n";
        return ExitFailure;
    }
    const double printedAt = sheet::localNowSerial();
    if (request.text) {
        std::cout << sheet::renderSheetText(sheet::buildPriceSheet(inputs, printedAt));
        flushOutput(std::cout);
        return ExitSuccess;
    }
    const auto application = guiApplication();
    const sheet::Paper paper = request.paper.value_or(sheet::systemPaper());
    int pages = 0;
    try {
        pages = sheet::writeSheetPdf(inputs, printedAt, QString::fromStdString(request.pdfPath), sheet::pageLayout(paper));
    } catch (const platform::Fault& fault) {
        report(std::cerr, fault.what(), fault.detail());
        return ExitFailure;
    }
    notice("the price sheet is in " + request.pdfPath + " (" + pagesText(pages, paper) + ")");
    return ExitSuccess;
}

const Option& paperOption()
{
    static const Option paper{"--paper", "a4|letter", "the PDF's paper (default: the system's, see PAPERSIZE)", true};
    return paper;
}

sheet::Paper paperOf(const std::string& value)
{
    return value == "a4" ? sheet::Paper::A4 : sheet::Paper::Letter;
}

std::string pagesText(int pages, sheet::Paper paper)
{
    return std::to_string(pages) + (pages == 1 ? " page, " : " pages, ") + sheet::paperName(paper);
}

std::string notCompleteText(const std::vector<pricing::SkippedQuantity>& skipped)
{
    if (skipped.empty())
        return {};
    constexpr std::size_t kNamed = 12;
    const std::size_t named = std::min(skipped.size(), kNamed);
    std::string text = "NOT COMPLETE: no price for ";
    for (std::size_t i = 0; i < named; ++i) {
        const std::string& quantity = skipped[i].text.empty() ? std::to_string(skipped[i].quantity) : skipped[i].text;
        if (i > 0)
            text += i + 1 == named && named == skipped.size() ? " and " : ", ";
        text += quantity;
    }
    if (skipped.size() > named)
        text += " and " + std::to_string(skipped.size() - named) + " more";
    return text;
}

} // namespace cli
