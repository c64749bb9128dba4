#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class QLabel;

namespace ui {

// Paints a line of the calculated prices (quantity, 27 blanks, price) as its quantity at the left and its
// price right-aligned under the heading's "Price", whatever the quantity's length: on screen the money of
// every line stands in one column. The line's text stays the price line the sheet prints.
class PriceListDelegate : public QStyledItemDelegate
{
public:
    PriceListDelegate(const QLabel* heading, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the line's price is painted in an item of `option`, and its quantity.
    QRect priceRect(const QStyleOptionViewItem& option, const QString& line) const;
    QRect quantityRect(const QStyleOptionViewItem& option, const QString& line) const;

    // The quantity and the price of a price line.
    static std::pair<QString, QString> split(const QString& line);

private:
    // The right edge of the heading's text in the coordinates of the list's items.
    int headingRight(const QStyleOptionViewItem& option) const;

    QPointer<const QLabel> m_heading;
};

} // namespace ui
