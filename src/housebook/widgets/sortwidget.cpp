#include "widgets/sortwidget.h"

#include "widgets/alertwidget.h"
#include "widgets/sortitemview.h"

#include <QGridLayout>

namespace {
constexpr int kRowHeight = 40;
}

SortWidget::SortWidget(QWidget *parent) : QWidget(parent), m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(0);
    setFixedHeight(0);
}

void SortWidget::setItems(const QList<QVariantMap> &items, int columns)
{
    m_items = items;
    m_columns = qMax(1, columns);
    rebuildViews();
}

void SortWidget::moveItem(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= m_items.size() || to >= m_items.size())
        return;
    // The views move with their entries: the dragged one is still running its drag.
    m_items.move(from, to);
    m_views.move(from, to);
    placeViews();
    emit itemsChanged();
}

void SortWidget::changeTo(int fromRow, int fromColum, int toRow, int toColum)
{
    moveItem(fromRow * m_columns + fromColum, toRow * m_columns + toColum);
}

void SortWidget::setChoose(SortItemView *view, bool choose)
{
    const int index = m_views.indexOf(view);
    if (index < 0)
        return;
    QVariantMap &item = m_items[index];
    if (!choose && item.value(QStringLiteral("default_choose")).toBool()) {
        view->setChoose(true);
        AlertWidget::tip(QStringLiteral("【%1】为必选项！").arg(item.value(QStringLiteral("title")).toString()));
        return;
    }
    item.insert(QStringLiteral("choose"), choose);
    emit itemsChanged();
}

void SortWidget::rebuildViews()
{
    for (SortItemView *old : qAsConst(m_views)) {
        m_grid->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
    m_views.clear();
    for (int i = 0; i < m_items.size(); ++i)
        m_views << createView(i);
    placeViews();
}

SortItemView *SortWidget::createView(int index)
{
    const QVariantMap &item = m_items.at(index);
    auto *view = new SortItemView(item, index / m_columns, index % m_columns, this);
    connect(view, &SortItemView::statechange, this, [this, view](bool choose) { setChoose(view, choose); });
    connect(view, &SortItemView::changeTo, this, &SortWidget::changeTo);
    const int id = item.value(QStringLiteral("id")).toInt();
    connect(view, &SortItemView::btnClick, this, [this, id] { emit btnClick(id); });
    return view;
}

void SortWidget::placeViews()
{
    for (SortItemView *view : qAsConst(m_views))
        m_grid->removeWidget(view);
    for (int i = 0; i < m_views.size(); ++i) {
        m_views.at(i)->setPosition(i / m_columns, i % m_columns);
        m_grid->addWidget(m_views.at(i), i / m_columns, i % m_columns);
    }
    // Equal columns, also in a last row that is not full; columns of an earlier, wider grid
    // stop taking space.
    for (int c = 0; c < m_grid->columnCount(); ++c)
        m_grid->setColumnStretch(c, c < m_columns ? 1 : 0);
    const int rows = (m_items.size() + m_columns - 1) / m_columns;
    for (int r = 0; r < m_grid->rowCount(); ++r)
        m_grid->setRowMinimumHeight(r, r < rows ? kRowHeight : 0);
    setFixedHeight(kRowHeight * rows);
}
