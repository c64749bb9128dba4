#include "ui/SheetPrinter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "cli/SheetPainter.h"

namespace ui {

using cli::paintSheet;

QString printSheet(const pricing::SheetOps& ops, QPrinter& printer)
{
    if (ops.empty())
        return {};
    // Without a print system Qt hands out a PDF printer with no file: that is no printer either.
    // A sheet printed to a file is written as the sheet command writes it: whole or not at all, and never
    // through a symbolic link; the printer's paper and margins are kept.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return cli::writeSheetPdf(ops, printer.outputFileName(), printer.pageLayout());
    if (printer.printerName().isEmpty() && QPrinterInfo::availablePrinters().isEmpty())
        return QStringLiteral("No printer is installed. Add a printer, then choose it with File, Printer.");
    const QString name = printer.printerName();
    printer.setDocName(QStringLiteral("Counter Price Book"));
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("The printer %1 could not start the price sheet. Check that it is switched on "
                              "and ready, or choose another with File, Printer.")
            .arg(name);
    paintSheet(ops, painter, printer);
    painter.end();
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return QStringLiteral("The printer %1 reported an error while printing the price sheet.").arg(name);
    return {};
}

void previewSheet(const pricing::SheetOps& ops, QPrinter& printer, QWidget* parent)
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
