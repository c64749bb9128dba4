#pragma once

#include <QString>

#include "pricing/PriceSheet.h"

class QPageLayout;
class QPagedPaintDevice;
class QPainter;

namespace cli {

// The installed family that prints a sheet font name. The shop's fonts are used when installed; else
// the metric-compatible stand-ins: "Courier New" -> Liberation Mono, "Times New Roman" -> Liberation
// Serif, "MS Sans Serif" -> Liberation Sans (the stand-in for Arial, the nearest outline face to that
// screen font), so the columns fall where the shop's printers put them.
QString sheetFontFamily(const QString& name);

// Plays the sheet's operations onto a painter already begun on `device`: print column n at (n - 1) times
// the current font's average character width from the left margin; each line ends one line height of
// the current font lower; text below the page continues on the next page. Returns the pages used.
int paintSheet(const pricing::SheetOps& ops, QPainter& painter, QPagedPaintDevice& device);

// Writes the sheet as a Letter-size PDF file; an existing file (or a symbolic link of that name) is replaced
// only when the new one is complete, and nothing else is left beside it. Returns an empty text on success,
// else what went wrong, for the user. `pages` gets the page count.
QString writeSheetPdf(const pricing::SheetOps& ops, const QString& path, int* pages = nullptr);
// The same on the pages of `layout` (a printer's paper and margins).
QString writeSheetPdf(const pricing::SheetOps& ops, const QString& path, const QPageLayout& layout,
                      int* pages = nullptr);

// The margins of a printed sheet: a quarter inch, the printable area of the shop's printers.
void setSheetMargins(QPagedPaintDevice& device);

} // namespace cli
