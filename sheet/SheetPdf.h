#pragma once

#include <QString>

#include "sheet/PriceSheet.h"

class QPageLayout;

namespace sheet {

// Writes the sheet as a Letter-size PDF file; an existing file (or a symbolic link of that name) is replaced
// only when the new one is complete, and nothing else is left beside it. Returns an empty text on success,
// else what went wrong, for the user. `pages` gets the page count.
QString writeSheetPdf(const SheetOps& ops, const QString& path, int* pages = nullptr);
// The same on the pages of `layout` (a printer's paper and margins).
QString writeSheetPdf(const SheetOps& ops, const QString& path, const QPageLayout& layout,
                      int* pages = nullptr);

} // namespace sheet
