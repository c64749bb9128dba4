#pragma once

#include <QString>

#include "sheet/PriceSheet.h"

class QPrinter;
class QWidget;

namespace ui {

// Where a printed sheet went, or why it did not.
struct PrintOutcome
{
    QString failure; // empty when the sheet was printed; else what went wrong, for the user
    QString failureDetail; // the system's own words behind it, for Show Details
    QString printerName; // the printer it went to
    QString file; // the PDF file written, when the printer prints to a file
};

// Prints on the printer. A printer that prints to a file never writes over a file that is there (an earlier
// sheet): the sheet goes to the first free name of "NAME (2).pdf", "NAME (3).pdf" ... instead.
PrintOutcome printSheet(const sheet::SheetOps& ops, QPrinter& printer);

// The path itself when nothing is there; else the first free one of "NAME (2).EXT", "NAME (3).EXT" ...
QString unusedFileName(const QString& path);

// Shows the sheet as it will print on `printer`, with the dialog's own Print button (modal).
void previewSheet(const sheet::SheetOps& ops, QPrinter& printer, QWidget* parent);

} // namespace ui
