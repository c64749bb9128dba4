#pragma once

#include <functional>

#include <QString>

#include "sheet/PriceSheet.h"

class QPageLayout;
class QPainter;
class QPrinter;
class QWidget;

namespace ui {

// Where a printed document went, or why it did not.
struct PrintOutcome
{
    QString failure; // empty when it was printed; else what went wrong, for the user
    QString failureDetail; // the system's own words behind it, for Show Details
    QString printerName; // the printer that took it
    QString file; // the PDF file written, when the printer prints to a file
};

// A document the printer prints: painted on a painter begun on the printer, or written whole as a PDF file on
// the printer's pages. `what` names it in messages ("price sheet", "price book").
struct PrintJob
{
    QString what;
    std::function<void(QPainter& painter, QPrinter& printer)> paint;
    std::function<void(const QString& file, const QPageLayout& layout)> writePdf; // a platform::Fault on failure
};

// Prints on the printer. A printer that prints to a file never writes over a file that is there (an earlier
// sheet): the document goes to the first free name of "NAME (2).pdf", "NAME (3).pdf" ... instead. A printer
// that is not installed (any longer), or that does not take the document, is named in the failure; the
// printer's name is given only when the job went to it.
PrintOutcome print(const PrintJob& job, QPrinter& printer);

// The price sheet printed on the printer, its columns filling each page in turn.
PrintOutcome printSheet(const sheet::SheetInputs& inputs, QPrinter& printer);

// What the status line says of an outcome that did not fail: "Price sheet sent to the printer X." or
// "Price sheet saved as FILE." (naming the file asked for when the name was taken).
QString printedText(const QString& document, const PrintOutcome& outcome, const QPrinter& printer);

// The path itself when nothing is there; else the first free one of "NAME (2).EXT", "NAME (3).EXT" ...
QString unusedFileName(const QString& path);

// Shows the sheet as it will print on `printer`, with the dialog's own Print button (modal), which prints on a
// copy of the printer's settings.
void previewSheet(const sheet::SheetInputs& inputs, QPrinter& printer, QWidget* parent);

} // namespace ui
