#include "sheet/SheetPdf.h"

#include <system_error>

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "platform/Fault.h"
#include "platform/ReplacementFile.h"
#include "sheet/SheetPainter.h"

namespace sheet {

QPageLayout pageLayout(Paper paper)
{
    return QPageLayout(QPageSize(paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter), QPageLayout::Portrait,
                       sheetMargins(), QPageLayout::Point);
}

int writePdf(const QString& path, const QPageLayout& layout, const QString& what, const PdfPainting& paint)
{
    const auto failed = [&](const QString& detail) {
        return platform::Fault(platform::fault::PathFileAccessError,
                               QStringLiteral("%1 could not be written to %2. Choose a folder that exists and that "
                                              "you may write in, on a disk with room.")
                                   .arg(what, path)
                                   .toStdString(),
                               detail.toStdString());
    };
    try {
        // Painted into a file of its own beside the target and put in its place only when whole: a failure
        // leaves an earlier file as it was, and a symbolic link with the file's name is replaced, never
        // written through.
        platform::ReplacementFile target(QFile::encodeName(path).toStdString(), ".new-");
        QFile file;
        if (!file.open(target.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            throw failed(file.errorString());
        int used = 0;
        {
            QPdfWriter writer(&file);
            writer.setPageLayout(layout);
            writer.setResolution(600);
            writer.setTitle(QStringLiteral("Counter Price Book"));
            writer.setCreator(QStringLiteral("pricebook"));
            QPainter painter;
            if (!painter.begin(&writer))
                throw failed(QStringLiteral("the PDF could not be started"));
            used = paint(painter, writer);
            painter.end();
        }
        if (!file.flush() || file.error() != QFileDevice::NoError)
            throw failed(file.errorString());
        file.close();
        target.putInPlace(platform::ReplacementFile::Placing::Replace);
        return used;
    } catch (const std::system_error& error) {
        throw failed(QString::fromStdString(error.code().message()));
    }
}

int writeSheetPdf(const SheetInputs& inputs, double printedAt, const QString& path)
{
    return writeSheetPdf(inputs, printedAt, path, pageLayout(systemPaper()));
}

int writeSheetPdf(const SheetInputs& inputs, double printedAt, const QString& path, const QPageLayout& layout)
{
    return writePdf(path, layout, QStringLiteral("The price sheet"),
                    [&](QPainter& painter, QPagedPaintDevice& device) {
                        return paintPriceSheet(inputs, printedAt, painter, device);
                    });
}

} // namespace sheet
