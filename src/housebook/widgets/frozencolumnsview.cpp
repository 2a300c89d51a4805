#include "widgets/frozencolumnsview.h"

#include "widgets/hovertablewidget.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>

FrozenColumnsView::FrozenColumnsView(QTableView *table) : QTableView(table), m_table(table)
{
    setObjectName(QStringLiteral("frozenColumnsView"));
    setModel(table->model());
    setSelectionModel(table->selectionModel());
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(table->verticalScrollMode());
    setStyleSheet(QStringLiteral("QTableView{border:none;}QTableView::item:selected{background-color: rgba(0,0,0,0)}"));
    verticalHeader()->hide();
    useHeader(new QHeaderView(Qt::Horizontal, this));
    table->viewport()->stackUnder(this);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, table->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(table->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    hide();
}

void FrozenColumnsView::useHeader(QHeaderView *header)
{
    setHorizontalHeader(header);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setStretchLastSection(false);
    header->setFixedHeight(m_table->horizontalHeader()->height());
    header->setDefaultAlignment(m_table->horizontalHeader()->defaultAlignment());
    header->show();
    showLeadingColumns(m_count);
}

void FrozenColumnsView::showLeadingColumns(int count)
{
    m_count = count;
    for (int column = 0; model() && column < model()->columnCount(); ++column)
        setColumnHidden(column, column >= count);
    followTable();
}

void FrozenColumnsView::followTable()
{
    if (!model())
        return;
    int width = 0;
    for (int column = 0; column < m_count && column < model()->columnCount(); ++column) {
        setColumnWidth(column, m_table->columnWidth(column));
        width += m_table->columnWidth(column);
    }
    verticalHeader()->setDefaultSectionSize(m_table->verticalHeader()->defaultSectionSize());
    if (m_count == 0 || model()->rowCount() == 0) {
        hide();
        return;
    }
    const int frame = m_table->frameWidth();
    setGeometry(frame, frame, qMin(width, m_table->viewport()->width()),
                m_table->viewport()->height() + m_table->horizontalHeader()->height());
    verticalScrollBar()->setValue(m_table->verticalScrollBar()->value());
    show();
    raise();
}

// The table's owner builds the context menu: the request goes on as if it came from the
// table's own viewport at the same place.
void FrozenColumnsView::contextMenuEvent(QContextMenuEvent *event)
{
    QContextMenuEvent forwarded(event->reason(), m_table->viewport()->mapFromGlobal(event->globalPos()),
                                event->globalPos(), event->modifiers());
    QCoreApplication::sendEvent(m_table->viewport(), &forwarded);
    event->accept();
}

void FrozenColumnsView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    updateEditorGeometries();
}

void FrozenColumnsView::updateEditorGeometries()
{
    placeCellsInView(this);
}

void FrozenColumnsView::placeCellsInView(QTableView *view)
{
    const QAbstractItemModel *model = view->model();
    if (!model)
        return;
    const QRect area = view->viewport()->rect();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            QWidget *cell = view->indexWidget(index);
            if (!cell)
                continue;
            const QRect rect = view->visualRect(index);
            if (!rect.isValid() || !rect.intersects(area)) {
                cell->hide();
                continue;
            }
            cell->setGeometry(rect);
            if (auto *hoverCell = qobject_cast<HoverTableCell *>(cell))
                hoverCell->ensureBuilt();
            cell->show();
        }
    }
}
