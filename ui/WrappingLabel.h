#pragma once

#include <QLabel>

namespace ui {

// A label for status texts that may hold long paths: a text wider than the label goes on to further lines,
// broken between words, or anywhere inside a path too long for a line; nothing of it is left out. A line
// break in the text ("\n") starts a new line. The label grows to the lines it needs, and its text never
// makes the window wider. The whole text is the tooltip too.
class WrappingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget* parent = nullptr);

    // Sets the text and the tooltip (QLabel::setText is not virtual: set the text through this class).
    void setText(const QString& text);
    int heightForWidth(int width) const override;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace ui
