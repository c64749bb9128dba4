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

namespace ui {

using sheet::paintSheet;

PrintOutcome printSheet(const sheet::SheetOps& ops, QPrinter& printer)
{
    PrintOutcome outcome;
    if (ops.empty())
        return outcome;
    // Without a print system Qt hands out a PDF printer with no file: that is no printer either.
    // A sheet printed to a file is written as the sheet command writes it: whole or not at all, and never
    // through a symbolic link; the printer's paper and margins are kept.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        outcome.file = unusedFileName(printer.outputFileName());
        try {
            sheet::writeSheetPdf(ops, outcome.file, printer.pageLayout());
        } catch (const platform::Fault& fault) {
            outcome.failure = QString::fromStdString(fault.what());
            outcome.failureDetail = QString::fromStdString(fault.detail());
        }
        return outcome;
    }
    if (printer.printerName().isEmpty() && QPrinterInfo::availablePrinters().isEmpty()) {
        outcome.failure = QStringLiteral("No printer is installed. Add a printer, then choose it with File, Printer.");
        return outcome;
    }
    const QString name = printer.printerName();
    outcome.printerName = name;
    printer.setDocName(QStringLiteral("Counter Price Book"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        outcome.failure = QStringLiteral("The printer %1 could not start the price sheet. Check that it is switched "
                                         "on and ready, or choose another with File, Printer.")
                              .arg(name);
        return outcome;
    }
    paintSheet(ops, painter, printer);
    painter.end();
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        outcome.failure = QStringLiteral("The printer %1 reported an error while printing the price sheet.").arg(name);
    return outcome;
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

void previewSheet(const sheet::SheetOps& ops, QPrinter& printer, QWidget* parent)
{
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&ops](QPrinter* target) {
        QPainter painter(target);
        paintSheet(ops, painter, *target);
    });
    dialog.exec();
}

} // namespace ui
