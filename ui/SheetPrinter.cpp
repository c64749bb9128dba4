#include "ui/SheetPrinter.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

namespace ui {

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Plays the operations like the old printer object: a current font, a current position, lines whose
// tops sit at the current height.
class SheetPainter
{
public:
    SheetPainter(QPainter& painter, QPagedPaintDevice& device) : m_painter(painter), m_device(device)
    {
        m_font = painter.font();
        apply();
    }

    int play(const pricing::SheetOps& ops)
    {
        for (const pricing::SheetOp& op : ops) {
            switch (op.kind) {
            case pricing::SheetOpKind::FontName:
                m_font.setFamily(sheetFontFamily(fromStd(op.text)));
                apply();
                break;
            case pricing::SheetOpKind::FontSize:
                m_font.setPointSizeF(op.number);
                apply();
                break;
            case pricing::SheetOpKind::Bold:
                m_font.setBold(op.on);
                apply();
                break;
            case pricing::SheetOpKind::Underline:
                m_font.setUnderline(op.on);
                apply();
                break;
            case pricing::SheetOpKind::Text:
                text(fromStd(op.text));
                break;
            case pricing::SheetOpKind::EndLine:
                endLine();
                break;
            case pricing::SheetOpKind::Column:
                column(op.number);
                break;
            case pricing::SheetOpKind::EndDocument:
                return m_pages;
            }
        }
        return m_pages;
    }

private:
    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    QFont m_font;
    qreal m_x = 0;
    qreal m_y = 0;
    int m_pages = 1;

    void apply() { m_painter.setFont(m_font); }
    QFontMetricsF metrics() const { return QFontMetricsF(m_painter.font(), &m_device); }

    void text(const QString& text)
    {
        const QFontMetricsF m = metrics();
        // A line that would not fit below continues at the top of the next page.
        if (m_y > 0 && m_y + m.height() > m_device.height()) {
            m_device.newPage();
            ++m_pages;
            m_y = 0;
        }
        if (!text.isEmpty())
            m_painter.drawText(QPointF(m_x, m_y + m.ascent()), text);
        m_x += m.horizontalAdvance(text);
    }

    void endLine()
    {
        m_y += metrics().lineSpacing();
        m_x = 0;
    }

    void column(int n)
    {
        const qreal target = std::max(0, n - 1) * metrics().averageCharWidth();
        // A column already passed is reached on the next line.
        if (m_x > target + 0.01)
            endLine();
        m_x = target;
    }
};

void setSheetMargins(QPagedPaintDevice& device)
{
    // A quarter inch: the printable area of the shop's printers.
    device.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
}

} // namespace

QString sheetFontFamily(const QString& name)
{
    if (QFontDatabase::hasFamily(name))
        return name;
    QString standIn;
    if (name == QLatin1String("Courier New"))
        standIn = QStringLiteral("Liberation Mono");
    else if (name == QLatin1String("Times New Roman"))
        standIn = QStringLiteral("Liberation Serif");
    else if (name == QLatin1String("MS Sans Serif"))
        standIn = QStringLiteral("Liberation Sans");
    if (!standIn.isEmpty() && QFontDatabase::hasFamily(standIn))
        return standIn;
    return name; // left to the font system's own matching
}

int paintSheet(const pricing::SheetOps& ops, QPainter& painter, QPagedPaintDevice& device)
{
    SheetPainter sheet(painter, device);
    return sheet.play(ops);
}

QString printSheet(const pricing::SheetOps& ops, QPrinter& printer)
{
    if (ops.empty())
        return {};
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty() &&
        QPrinterInfo::availablePrinters().isEmpty())
        return QStringLiteral("No printer is installed. Add a printer, then choose it with File, Printer.");
    const QString name = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
    printer.setDocName(QStringLiteral("Counter Price Book"));
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("The printer %1 could not start the price sheet. Check that it is switched on "
                              "and ready, or choose another with File, Printer.")
            .arg(name);
    paintSheet(ops, painter, printer);
    painter.end();
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return QStringLiteral("The printer %1 reported an error while printing the price sheet.").arg(name);
    return {};
}

QString writeSheetPdf(const pricing::SheetOps& ops, const QString& path, int* pages)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("The price sheet could not be written to %1: %2").arg(path, file.errorString());
    int used = 0;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        setSheetMargins(writer);
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("Counter Price Book"));
        writer.setCreator(QStringLiteral("pricebook"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return QStringLiteral("The price sheet could not be written to %1").arg(path);
        }
        used = paintSheet(ops, painter, writer);
        painter.end();
    }
    if (!file.commit())
        return QStringLiteral("The price sheet could not be written to %1: %2").arg(path, file.errorString());
    if (pages)
        *pages = used;
    return {};
}

void previewSheet(const pricing::SheetOps& ops, QPrinter& printer, QWidget* parent)
{
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&ops](QPrinter* target) {
        QPainter painter(target);
        paintSheet(ops, painter, *target);
    });
    dialog.exec();
}

} // namespace ui
