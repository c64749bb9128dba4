#include "sheet/BookPdf.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include "platform/Fault.h"
#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"

namespace sheet {

int paintBook(const LaidOutBook& book, const BookPageLines& lines, QPainter& painter, QPagedPaintDevice& device,
              const BookProgress& progress)
{
    int pages = paintSheet(book.cover, painter, device);
    device.newPage();
    pages += paintSheet(book.contents, painter, device);
    const int count = static_cast<int>(book.sheets.size());
    for (const BookSheet& sheet : book.sheets) {
        if (progress && !progress(sheet.number, count))
            return 0;
        device.newPage();
        // The page's operations are made as it is painted and gone after it.
        pages += paintSheet(bookSheetOps(book, sheet, lines), painter, device, QString::fromStdString(sheet.footer));
    }
    return pages;
}

int writeBookPdf(const LaidOutBook& book, const BookPageLines& lines, const QString& path,
                 const BookProgress& progress)
{
    return writeBookPdf(book, lines, path, pageLayout(systemPaper()), progress);
}

int writeBookPdf(const LaidOutBook& book, const BookPageLines& lines, const QString& path, const QPageLayout& layout,
                 const BookProgress& progress)
{
    return writePdf(path, layout, QStringLiteral("The price book"), [&](QPainter& painter, QPagedPaintDevice& device) {
        const int used = paintBook(book, lines, painter, device, progress);
        // Nothing of a stopped book takes the place of an earlier one.
        if (used == 0)
            throw platform::Fault(platform::fault::PathFileAccessError,
                                  "The price book was cancelled; nothing was written.");
        return used;
    });
}

} // namespace sheet
