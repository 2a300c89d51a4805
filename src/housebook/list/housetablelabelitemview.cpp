#include "housetablelabelitemview.h"

#include <QPainter>

namespace {

const int kPadding = 6;

} // namespace

HouseTableLabelItemView::HouseTableLabelItemView(int row, QWidget *parent) : HoverTableCell(row, parent)
{
}

void HouseTableLabelItemView::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_line = text.simplified();
    setToolTip(text);
    update();
}

QString HouseTableLabelItemView::shownText() const
{
    return fontMetrics().elidedText(m_line, Qt::ElideRight, textRect().width());
}

QSize HouseTableLabelItemView::sizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(m_line) + 2 * kPadding, fontMetrics().height() + 2 * kPadding);
}

void HouseTableLabelItemView::paintEvent(QPaintEvent *event)
{
    HoverTableCell::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

QRect HouseTableLabelItemView::textRect() const
{
    return rect().adjusted(kPadding, 0, -kPadding, 0);
}
