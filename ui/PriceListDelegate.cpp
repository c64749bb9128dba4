#include "ui/PriceListDelegate.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPainter>

namespace ui {

namespace {

constexpr int kMargin = 3; // between an item's edge and its text

} // namespace

PriceListDelegate::PriceListDelegate(const QLabel* heading, QObject* parent)
    : QStyledItemDelegate(parent), m_heading(heading)
{
}

std::pair<QString, QString> PriceListDelegate::split(const QString& line)
{
    const qsizetype firstBlank = line.indexOf(QLatin1Char(' '));
    const qsizetype lastBlank = line.lastIndexOf(QLatin1Char(' '));
    if (firstBlank < 0)
        return {line, {}};
    return {line.left(firstBlank), line.mid(lastBlank + 1)};
}

int PriceListDelegate::headingRight(const QStyleOptionViewItem& option) const
{
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!m_heading || !view)
        return -1;
    const QRect text = m_heading->contentsRect();
    const int indent = std::max(0, m_heading->indent()) + m_heading->margin();
    const int inLabel = text.left() + indent + m_heading->fontMetrics().horizontalAdvance(m_heading->text());
    return m_heading->mapToGlobal(QPoint(inLabel, 0)).x() - view->viewport()->mapToGlobal(QPoint(0, 0)).x();
}

QRect PriceListDelegate::quantityRect(const QStyleOptionViewItem& option, const QString& line) const
{
    const QString quantity = split(line).first;
    const int width = option.fontMetrics.horizontalAdvance(quantity);
    return {option.rect.left() + kMargin, option.rect.top(), width, option.rect.height()};
}

QRect PriceListDelegate::priceRect(const QStyleOptionViewItem& option, const QString& line) const
{
    const QString price = split(line).second;
    const int width = option.fontMetrics.horizontalAdvance(price);
    // Under the heading's "Price", but never over the quantity: one blank at least between them.
    const int least = quantityRect(option, line).right() + 1 + option.fontMetrics.horizontalAdvance(QLatin1Char(' ')) +
                      width;
    const int right = std::max(headingRight(option), least);
    return {right - width, option.rect.top(), width, option.rect.height()};
}

void PriceListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString line = item.text;
    item.text.clear(); // the background, selection and focus as the style paints them
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                           : QPalette::Text));
    const auto [quantity, price] = split(line);
    painter->drawText(quantityRect(item, line), Qt::AlignLeft | Qt::AlignVCenter, quantity);
    painter->drawText(priceRect(item, line), Qt::AlignRight | Qt::AlignVCenter, price);
    painter->restore();
}

} // namespace ui
