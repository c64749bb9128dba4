#include "ui/SheetPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/Fault.h"
#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"
#include "ui/PrinterChoice.h"

namespace ui {

PrintOutcome print(const PrintJob& job, QPrinter& printer)
{
    PrintOutcome outcome;
    // A printer with a file name prints to that file, whatever else it is set to: the document is written as
    // the sheet command writes it (whole or not at all, never through a symbolic link, on the printer's
    // paper and margins), and never over a file that is there.
    if (!printer.outputFileName().isEmpty()) {
        outcome.file = unusedFileName(printer.outputFileName());
        try {
            job.writePdf(outcome.file, printer.pageLayout());
        } catch (const platform::Fault& fault) {
            outcome.failure = QString::fromStdString(fault.what());
            outcome.failureDetail = QString::fromStdString(fault.detail());
        }
        return outcome;
    }
    // Without a print system Qt hands out a PDF printer with no file: that is no printer either.
    const QString name = printer.printerName();
    if (name.isEmpty() && QPrinterInfo::availablePrinters().isEmpty()) {
        outcome.failure = QStringLiteral("No printer is installed. Add a printer, then choose it with File, Printer.");
        return outcome;
    }
    if (!name.isEmpty() && QPrinterInfo::printerInfo(name).isNull()) {
        outcome.failure =
            QStringLiteral("The printer %1 is not installed any more. Choose another with File, Printer.").arg(name);
        return outcome;
    }
    printer.setDocName(QStringLiteral("Counter Price Book"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        outcome.failure = QStringLiteral("The printer %1 could not start the %2. Check that it is switched on and "
                                         "ready, or choose another with File, Printer.")
                              .arg(name, job.what);
        return outcome;
    }
    job.paint(painter, printer);
    if (!painter.end() || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
        outcome.failure = QStringLiteral("The printer %1 did not take the %2.").arg(name, job.what);
        return outcome;
    }
    outcome.printerName = name;
    return outcome;
}

PrintOutcome printSheet(const sheet::SheetInputs& inputs, QPrinter& printer)
{
    if (inputs.priceLines.empty())
        return {};
    const double printedAt = sheet::localNowSerial();
    return print({QStringLiteral("price sheet"),
                  [&](QPainter& painter, QPrinter& device) { sheet::paintPriceSheet(inputs, printedAt, painter, device); },
                  [&](const QString& file, const QPageLayout& layout) {
                      sheet::writeSheetPdf(inputs, printedAt, file, layout);
                  }},
                 printer);
}

QString printedText(const QString& document, const PrintOutcome& outcome, const QPrinter& printer)
{
    if (outcome.file.isEmpty())
        return QStringLiteral("%1 sent to the printer %2.").arg(document, outcome.printerName);
    if (outcome.file == printer.outputFileName())
        return QStringLiteral("%1 saved as %2.").arg(document, outcome.file);
    return QStringLiteral("%1 saved as %2, as %3 is already there.")
        .arg(document, outcome.file, QFileInfo(printer.outputFileName()).fileName());
}

QString unusedFileName(const QString& path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return path;
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    const QString stem = file.dir().filePath(file.completeBaseName());
    for (int number = 2;; ++number) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(number).arg(suffix);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

void previewSheet(const sheet::SheetInputs& inputs, QPrinter& printer, QWidget* parent)
{
    // The dialog's own printer settings are a copy: what its print dialog chooses or cancels is its own.
    QPrinter shown;
    copyPrinterChoice(printer, shown);
    QPrintPreviewDialog dialog(&shown, parent);
    dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    const double printedAt = sheet::localNowSerial();
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        QPainter painter(target);
        sheet::paintPriceSheet(inputs, printedAt, painter, *target);
    });
    dialog.exec();
}

} // namespace ui
