#pragma once

#include <functional>

#include <QString>

#include "sheet/BookLayout.h"

class QPageLayout;
class QPagedPaintDevice;
class QPainter;

namespace sheet {

// Told before each printed page of the book is painted (its number from 1, and how many there are); returns
// false to stop painting.
using BookProgress = std::function<bool(int sheet, int count)>;

// Paints the whole book onto a painter begun on `device`: the cover, the contents and every page, each
// starting on a page of its own, every printed page with its footer, its price lines fetched from `lines`
// as it is painted. Returns the pages used, or 0 when `progress` stopped it.
int paintBook(const LaidOutBook& book, const BookPageLines& lines, QPainter& painter, QPagedPaintDevice& device,
              const BookProgress& progress = {});

// Writes the book as one PDF file on the system's paper, as the single sheet is written (whole or not at all,
// never through a symbolic link). Returns the pages written. A file that cannot be written is a platform::Fault naming it;
// so is a book whose painting `progress` stopped (nothing is then written).
int writeBookPdf(const LaidOutBook& book, const BookPageLines& lines, const QString& path,
                 const BookProgress& progress = {});
int writeBookPdf(const LaidOutBook& book, const BookPageLines& lines, const QString& path, const QPageLayout& layout,
                 const BookProgress& progress = {});

} // namespace sheet
