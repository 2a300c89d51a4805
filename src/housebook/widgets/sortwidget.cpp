#include "widgets/sortwidget.h"

#include "widgets/alertwidget.h"
#include "widgets/sortitemview.h"

#include <QGridLayout>

SortWidget::SortWidget(QWidget *parent) : QWidget(parent), m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(0);
}

void SortWidget::setItems(const QList<QVariantMap> &items, int columns)
{
    m_items = items;
    m_columns = qMax(1, columns);
    layoutItems();
}

void SortWidget::moveItem(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= m_items.size() || to >= m_items.size())
        return;
    m_items.move(from, to);
    layoutItems();
    emit itemsChanged();
}

void SortWidget::changeTo(int fromRow, int fromColum, int toRow, int toColum)
{
    moveItem(fromRow * m_columns + fromColum, toRow * m_columns + toColum);
}

void SortWidget::setChoose(int index, bool choose)
{
    if (index < 0 || index >= m_items.size())
        return;
    QVariantMap &item = m_items[index];
    if (!choose && item.value(QStringLiteral("default_choose")).toBool()) {
        m_views.value(index)->setChoose(true);
        AlertWidget::tip(QStringLiteral("【%1】为必选项！").arg(item.value(QStringLiteral("title")).toString()));
        return;
    }
    item.insert(QStringLiteral("choose"), choose);
    emit itemsChanged();
}

void SortWidget::layoutItems()
{
    // A drop arrives from one of the old views, so they go after the event.
    for (SortItemView *old : qAsConst(m_views)) {
        m_grid->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
    m_views.clear();
    for (int i = 0; i < m_items.size(); ++i) {
        auto *view = new SortItemView(m_items.at(i), i / m_columns, i % m_columns, this);
        m_grid->addWidget(view, i / m_columns, i % m_columns);
        connect(view, &SortItemView::statechange, this, [this, i](bool choose) { setChoose(i, choose); });
        connect(view, &SortItemView::changeTo, this, &SortWidget::changeTo);
        const int id = m_items.at(i).value(QStringLiteral("id")).toInt();
        connect(view, &SortItemView::btnClick, this, [this, id] { emit btnClick(id); });
        m_views << view;
    }
    setFixedHeight(40 * ((m_items.size() + m_columns - 1) / m_columns));
}
