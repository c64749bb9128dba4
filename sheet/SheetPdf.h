#pragma once

#include <functional>

#include <QPageLayout>
#include <QString>

#include "sheet/PaperSize.h"
#include "sheet/PriceSheet.h"

class QPagedPaintDevice;
class QPainter;

namespace sheet {

// Writes the sheet, printed at `printedAt`, as a PDF file on the system's paper (systemPaper), its columns
// filling each page in turn; an existing file (or a symbolic link of that name) is replaced only when the new
// one is complete, and nothing else is left beside it. Returns the page count. A file that cannot be written is a platform::Fault
// whose text names it and says what to do, the library's wording behind it.
int writeSheetPdf(const SheetInputs& inputs, double printedAt, const QString& path);
// The same on the pages of `layout` (a printer's paper and margins).
int writeSheetPdf(const SheetInputs& inputs, double printedAt, const QString& path, const QPageLayout& layout);

// What a PDF writer paints: the pages it used.
using PdfPainting = std::function<int(QPainter& painter, QPagedPaintDevice& device)>;

// A PDF file written as the sheet is (whole or not at all, never through a symbolic link) with whatever
// `paint` draws; `what` names the document in the message of a failure ("The price sheet"). Returns the
// pages used.
int writePdf(const QString& path, const QPageLayout& layout, const QString& what, const PdfPainting& paint);

// The paper's pages with the sheet's margins.
QPageLayout pageLayout(Paper paper);

} // namespace sheet
