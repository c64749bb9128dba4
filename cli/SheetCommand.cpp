#include "cli/SheetCommand.h"

#include <iostream>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>

#include "cli/ExitCode.h"
#include "cli/PricingCommandRun.h"
#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"

namespace cli {

namespace {

QtMessageHandler g_qtHandler = nullptr;

// Qt's notice that a login session has no runtime folder (a root shell, a service) says nothing the user
// of the sheet command can act on; everything else Qt reports is passed on.
void filterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (g_qtHandler)
        g_qtHandler(type, context, message);
}

// Fonts and their metrics need a GUI application; a headless one (the offscreen platform, unless the
// user chose another) so the command runs without a display.
std::unique_ptr<QGuiApplication> guiApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_qtHandler = qInstallMessageHandler(filterQtMessage);
    static int argc = 1;
    static char name[] = "pricebook";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

const CommandText kSheetText = {
    .name = "sheet",
    .summary = "print the Counter Price Book sheet to a PDF file",
    .synopsis = "DATAFOLDER --order NO (--pdf FILE | --text) [options]",
    .description =
        "Prices one quote or job exactly as \"pricebook price\" does (the same run, the same rewriting of the\n"
        "order's row, the same options but --format) and writes its \"Counter Price Book\" sheet, as the\n"
        "window's \"Print Price Sheet\" button prints it.",
    .epilogue =
        "Exit codes as for \"pricebook price\"; a sheet is written even when some quantities could not be\n"
        "priced (exit 5); with no price line at all nothing is written.",
};

} // namespace

SheetCommand::SheetCommand()
    : Command(kSheetText, pricingOptions({
          {"--pdf", "FILE", "write the sheet as a Letter-size PDF file (an existing file is replaced)"},
          {"--text", "", "print the sheet as plain text, one character a print column"},
          {"--typeface", "courier|times|sans",
           "the sheet's typeface (default: the price-data file's, else Times Roman)", true},
          {"--category", "TEXT", "the category printed under the title (first 40 characters)"},
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
    const sheet::SheetOps ops = sheet::buildPriceSheet(inputs, sheet::localNowSerial());
    if (request.text) {
        std::cout << sheet::renderSheetText(ops) << std::flush;
        return ExitSuccess;
    }
    const auto application = guiApplication();
    int pages = 0;
    const QString failure = writeSheetPdf(ops, QString::fromStdString(request.pdfPath), &pages);
    if (!failure.isEmpty()) {
        std::cerr << "pricebook: " << failure.toStdString() << "\n";
        return ExitFailure;
    }
    std::cerr << "pricebook: the price sheet is in " << request.pdfPath << " (" << pages
              << (pages == 1 ? " page" : " pages") << ")\n";
    return ExitSuccess;
}

} // namespace cli
