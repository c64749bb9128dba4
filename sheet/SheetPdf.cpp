#include "sheet/SheetPdf.h"

#include <system_error>

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "platform/ReplacementFile.h"
#include "sheet/SheetPainter.h"

namespace sheet {

QString writeSheetPdf(const SheetOps& ops, const QString& path, int* pages)
{
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait, sheetMargins(), QPageLayout::Point);
    return writeSheetPdf(ops, path, letter, pages);
}

QString writeSheetPdf(const SheetOps& ops, const QString& path, const QPageLayout& layout, int* pages)
{
    const auto failed = [&path](const QString& detail) {
        return QStringLiteral("The price sheet could not be written to %1 (%2). Choose a folder that exists and "
                              "that you may write in, on a disk with room.")
            .arg(path, detail);
    };
    try {
        // Painted into a file of its own beside the sheet and put in its place only when whole: a failure
        // leaves an earlier sheet as it was, and a symbolic link with the sheet's name is replaced, never
        // written through.
        platform::ReplacementFile sheet(QFile::encodeName(path).toStdString(), ".new-");
        QFile file;
        if (!file.open(sheet.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            return failed(file.errorString());
        int used = 0;
        {
            QPdfWriter writer(&file);
            writer.setPageLayout(layout);
            writer.setResolution(600);
            writer.setTitle(QStringLiteral("Counter Price Book"));
            writer.setCreator(QStringLiteral("pricebook"));
            QPainter painter;
            if (!painter.begin(&writer))
                return failed(QStringLiteral("the PDF could not be started"));
            used = paintSheet(ops, painter, writer);
            painter.end();
        }
        if (!file.flush() || file.error() != QFileDevice::NoError)
            return failed(file.errorString());
        file.close();
        sheet.putInPlace(platform::ReplacementFile::Placing::Replace);
        if (pages)
            *pages = used;
        return {};
    } catch (const std::system_error& error) {
        return failed(QString::fromStdString(error.code().message()));
    }
}

} // namespace sheet
