#include "ui/WrappingLabel.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QTextLayout>

namespace ui {

namespace {

// The label's text as QTextLayout lays it out: a line break of the text starts a new line there too.
QString layoutText(QString text)
{
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

// Lays the text out in lines of `width`, breaking between words where it can; returns the height used.
qreal layOut(QTextLayout& layout, qreal width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

} // namespace

WrappingLabel::WrappingLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void WrappingLabel::setText(const QString& text)
{
    QLabel::setText(text);
    setToolTip(text);
    updateGeometry();
}

int WrappingLabel::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const int oneLine = fontMetrics().height() + margins.top() + margins.bottom();
    // A label not laid out yet (or squeezed to a few letters) asks for one line, never a letter a line.
    const int textWidth = width - margins.left() - margins.right();
    if (textWidth < 10 * fontMetrics().averageCharWidth())
        return oneLine;
    QTextLayout layout(layoutText(text()), font());
    return std::max(oneLine, static_cast<int>(std::ceil(layOut(layout, textWidth))) + margins.top() + margins.bottom());
}

QSize WrappingLabel::minimumSizeHint() const
{
    // The lines the text needs at the width it has.
    return {0, heightForWidth(width())};
}

QSize WrappingLabel::sizeHint() const
{
    return {QLabel::sizeHint().width(), minimumSizeHint().height()};
}

void WrappingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    QTextLayout layout(layoutText(text()), font());
    layOut(layout, area.width());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    layout.draw(&painter, area.topLeft());
}

void WrappingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    // Layouts that do not ask a label's height for its width (a status bar's) take its lines from its size
    // hints, which follow its width.
    if (minimumSizeHint().height() != height())
        updateGeometry();
}

} // namespace ui
