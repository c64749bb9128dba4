#include "sheet/SheetPainter.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>


namespace sheet {

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The average character width that places print columns: the advances of the lower-case letters and the
// space, weighted by how often they occur in English text (the classic definition of a font's average
// width, which the shop's printers used). Qt's own averageCharWidth reads the font's stored figure, which
// newer fonts compute over all their glyphs: about a third wider in the serif and sans stand-ins, enough
// to push the right price column of a Times Roman sheet off the page.
qreal averageCharWidth(const QFontMetricsF& metrics)
{
    static constexpr struct
    {
        char letter;
        int weight;
    } kWeights[] = {{'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42},
                    {'i', 63}, {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20},  {'n', 56}, {'o', 56}, {'p', 17},
                    {'q', 4},  {'r', 49}, {'s', 56}, {'t', 71}, {'u', 31},  {'v', 10}, {'w', 18}, {'x', 3},
                    {'y', 18}, {'z', 2},  {' ', 166}};
    qreal sum = 0;
    int weights = 0;
    for (const auto& w : kWeights) {
        sum += w.weight * metrics.horizontalAdvance(QLatin1Char(w.letter));
        weights += w.weight;
    }
    return sum / weights;
}

// Plays the operations like the old printer object: a current font, a current position, lines whose
// tops sit at the current height.
class SheetPainter
{
public:
    // Without a painter the sheet is only measured: nothing is drawn and no page is begun.
    SheetPainter(QPainter* painter, QPagedPaintDevice& device, QString footer)
        : m_painter(painter), m_device(device), m_footer(std::move(footer))
    {
        if (!m_footer.isEmpty()) {
            // The foot of each page holds the footer; the sheet's lines stop above it.
            m_footerFont = QFont(sheetFontFamily(QStringLiteral("Times New Roman")));
            m_footerFont.setPointSizeF(kFooterPoints);
            const QFontMetricsF footerMetrics(m_footerFont, &m_device);
            m_bottom = m_device.height() - footerMetrics.lineSpacing() * 2;
            drawFooter();
        }
        // A sheet without a typeface of its own keeps the printer's font: a fresh printer starts in the
        // Times Roman face, the one whose columns such a sheet uses.
        m_font = QFont(sheetFontFamily(QStringLiteral("Times New Roman")));
        apply();
    }

    int play(const SheetOps& ops)
    {
        for (const SheetOp& op : ops) {
            switch (op.kind) {
            case SheetOpKind::FontName:
                m_font.setFamily(sheetFontFamily(fromStd(op.text)));
                apply();
                break;
            case SheetOpKind::FontSize:
                m_font.setPointSizeF(op.number);
                apply();
                break;
            case SheetOpKind::Bold:
                m_font.setBold(op.on);
                apply();
                break;
            case SheetOpKind::Underline:
                m_font.setUnderline(op.on);
                apply();
                break;
            case SheetOpKind::Text:
                text(fromStd(op.text));
                break;
            case SheetOpKind::EndLine:
                endLine();
                break;
            case SheetOpKind::Column:
                column(op.number);
                break;
            case SheetOpKind::EndDocument:
                return m_pages;
            }
        }
        return m_pages;
    }

    // How many rows of the current font fit from the current line to the foot of this page, and on a whole
    // page: each line's top one line spacing below the last, as endLine() moves down and draw() breaks pages.
    SheetPageRows rowsPerPage() const
    {
        const auto fitting = [this](qreal y) {
            std::size_t rows = 0;
            while (y == 0 || y + metrics().height() <= bottom()) {
                ++rows;
                y += metrics().lineSpacing();
            }
            return rows;
        };
        const std::size_t later = fitting(0);
        const std::size_t first = fitting(m_y);
        return {first > 0 ? first : later, later};
    }

private:
    static constexpr qreal kFooterPoints = 10;

    QPainter* m_painter;
    QPagedPaintDevice& m_device;
    QString m_footer;
    QFont m_footerFont;
    qreal m_bottom = 0; // the lowest a line may reach; 0: the page's height
    QFont m_font;
    qreal m_x = 0;
    qreal m_y = 0;
    int m_pages = 1;
    std::optional<QFontMetricsF> m_metrics;
    qreal m_columnWidth = 0;

    // The metrics and the print-column width belong to the current font: worked out once at each change.
    void apply()
    {
        if (m_painter)
            m_painter->setFont(m_font);
        m_metrics.emplace(m_font, &m_device);
        m_columnWidth = averageCharWidth(*m_metrics);
    }
    const QFontMetricsF& metrics() const { return *m_metrics; }
    qreal bottom() const { return m_bottom > 0 ? m_bottom : m_device.height(); }

    void text(QString text)
    {
        const QFontMetricsF& m = metrics();
        // A text that runs past the right edge (a long bindery list in Courier) goes on at the left of
        // the next line, broken after a space where one fits, instead of being cut off the paper. The
        // blanks that pad a text to its width are dropped there rather than making an empty line.
        while (m_x + m.horizontalAdvance(text) > m_device.width() + 0.01) {
            qsizetype fits = 0;
            while (fits < text.size() && m_x + m.horizontalAdvance(text.left(fits + 1)) <= m_device.width())
                ++fits;
            const qsizetype space = text.left(fits).lastIndexOf(QLatin1Char(' '));
            const qsizetype cut = space > 0 ? space + 1 : (fits > 0 || m_x > 0 ? fits : 1);
            const QString rest = text.mid(cut);
            if (rest.trimmed().isEmpty()) {
                text = text.left(cut);
                break;
            }
            draw(text.left(cut), m);
            endLine();
            text = rest;
        }
        draw(text, m);
    }

    void draw(const QString& text, const QFontMetricsF& m)
    {
        // A line that would not fit below continues at the top of the next page.
        if (m_y > 0 && m_y + m.height() > bottom()) {
            if (m_painter)
                m_device.newPage();
            ++m_pages;
            m_y = 0;
            drawFooter();
        }
        if (m_painter && !text.isEmpty())
            m_painter->drawText(QPointF(m_x, m_y + m.ascent()), text);
        m_x += m.horizontalAdvance(text);
    }

    // The footer, centred at the foot of the current page.
    void drawFooter()
    {
        if (m_footer.isEmpty() || !m_painter)
            return;
        m_painter->setFont(m_footerFont);
        const QFontMetricsF footer(m_painter->font(), &m_device);
        const qreal x = std::max<qreal>(0, (m_device.width() - footer.horizontalAdvance(m_footer)) / 2);
        m_painter->drawText(QPointF(x, m_device.height() - footer.descent()), m_footer);
        m_painter->setFont(m_font);
    }

    void endLine()
    {
        m_y += metrics().lineSpacing();
        m_x = 0;
    }

    void column(int n)
    {
        const qreal target = std::max(0, n - 1) * m_columnWidth;
        // A column already passed is reached on the next line.
        if (m_x > target + 0.01)
            endLine();
        m_x = target;
    }
};

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

int paintSheet(const SheetOps& ops, QPainter& painter, QPagedPaintDevice& device, const QString& footer)
{
    SheetPainter sheet(&painter, device, footer);
    return sheet.play(ops);
}

SheetPageRows sheetPageRows(const SheetInputs& inputs, double printedAt, QPagedPaintDevice& device,
                            const QString& footer)
{
    SheetPainter measure(nullptr, device, footer);
    measure.play(buildSheetHead(inputs, printedAt));
    return measure.rowsPerPage();
}

int paintPriceSheet(const SheetInputs& inputs, double printedAt, QPainter& painter, QPagedPaintDevice& device)
{
    return paintSheet(buildPriceSheet(inputs, printedAt, sheetPageRows(inputs, printedAt, device)), painter, device);
}

QMarginsF sheetMargins()
{
    // A quarter inch, in points.
    return {18, 18, 18, 18};
}

void setSheetMargins(QPagedPaintDevice& device)
{
    device.setPageMargins(sheetMargins(), QPageLayout::Point);
}

} // namespace sheet
