#pragma once

#include <QLabel>

namespace ui {

// A one-line label for texts that may hold long paths: a text wider than the label gives way in the middle
// ("..."), keeping its start and its end (a file's name); the whole text is the tooltip. Its width never makes
// the window wider.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // Sets the text and the tooltip (QLabel::setText is not virtual: set the text through this class).
    void setText(const QString& text);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
