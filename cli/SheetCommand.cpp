#include "cli/SheetCommand.h"

#include <iostream>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>

#include "cli/PriceCommand.h"
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

} // namespace

int sheetCommand(const std::vector<std::string>& args)
{
    return runPricingCommand(args, PricingCommand::Sheet);
}

int writeSheet(const SheetRequest& request, const sheet::SheetInputs& inputs)
{
    if (inputs.priceLines.empty()) {
        std::cerr << "pricebook: no quantity could be priced, so there is no sheet to write\n";
        return 1;
    }
    const sheet::SheetOps ops = sheet::buildPriceSheet(inputs, sheet::localNowSerial());
    if (request.text) {
        std::cout << sheet::renderSheetText(ops) << std::flush;
        return 0;
    }
    const auto application = guiApplication();
    int pages = 0;
    const QString failure = writeSheetPdf(ops, QString::fromStdString(request.pdfPath), &pages);
    if (!failure.isEmpty()) {
        std::cerr << "pricebook: " << failure.toStdString() << "\n";
        return 1;
    }
    std::cerr << "pricebook: the price sheet is in " << request.pdfPath << " (" << pages
              << (pages == 1 ? " page" : " pages") << ")\n";
    return 0;
}

} // namespace cli
