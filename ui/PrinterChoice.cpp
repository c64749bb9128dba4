#include "ui/PrinterChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace ui {

namespace {

const QString kPrinterKey = QStringLiteral("Printer/Name");
const QString kFileKey = QStringLiteral("Printer/File");

bool printsToFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

} // namespace

void rememberPrinter(const QPrinter& printer)
{
    QSettings settings;
    const bool toFile = printsToFile(printer);
    settings.setValue(kPrinterKey, toFile ? QString() : printer.printerName());
    settings.setValue(kFileKey, toFile ? printer.outputFileName() : QString());
}

void restorePrinter(QPrinter& printer)
{
    const QSettings settings;
    const QString name = settings.value(kPrinterKey).toString();
    const QString file = settings.value(kFileKey).toString();
    if (!name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull()) {
        printer.setPrinterName(name);
    } else if (!file.isEmpty() && QFileInfo(file).dir().exists()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    }
}

} // namespace ui
