#pragma once

#include <QString>

#include <QMarginsF>

#include "sheet/PriceSheet.h"

class QPagedPaintDevice;
class QPainter;

namespace sheet {

// The installed family that prints a sheet font name. The shop's fonts are used when installed; else
// the metric-compatible stand-ins: "Courier New" -> Liberation Mono, "Times New Roman" -> Liberation
// Serif, "MS Sans Serif" -> Liberation Sans (the stand-in for Arial, the nearest outline face to that
// screen font), so the columns fall where the shop's printers put them.
QString sheetFontFamily(const QString& name);

// Plays the sheet's operations onto a painter already begun on `device`: print column n at (n - 1) times
// the current font's average character width from the left margin; each line ends one line height of
// the current font lower; text below the page continues on the next page. A footer, when given, is
// centred at the foot of every page the sheet uses, and the sheet's lines stay above it. Returns the pages
// used.
int paintSheet(const SheetOps& ops, QPainter& painter, QPagedPaintDevice& device, const QString& footer = {});

// How many rows of prices the pages of `device` hold for this sheet (below its head on the first page), with
// the footer's room kept at the foot of each page when there is one.
SheetPageRows sheetPageRows(const SheetInputs& inputs, double printedAt, QPagedPaintDevice& device,
                            const QString& footer = {});

// The sheet laid out for the pages of `device`, its columns filling each page in turn, and painted there.
// Returns the pages used.
int paintPriceSheet(const SheetInputs& inputs, double printedAt, QPainter& painter, QPagedPaintDevice& device);

// The margins of a printed sheet: a quarter inch, the printable area of the shop's printers.
QMarginsF sheetMargins();
void setSheetMargins(QPagedPaintDevice& device);

} // namespace sheet
