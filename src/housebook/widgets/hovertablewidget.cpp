#include "widgets/hovertablewidget.h"

#include "widgets/frozencolumnsview.h"
#include "widgets/houselisttableheadview.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {

const int kHeaderHeight = 40;
const QString kReadMarkStyle = QStringLiteral("border-image: url(:/res/hasread.png);");
// Widest a column grows for its content unless the list says otherwise.
const int kTextCap = 240;
// Header: section margins, and the sort icon with its gaps.
const int kHeaderPadding = 16;
const int kSortIconRoom = 24;

QString columnTitle(const QVariantMap &column)
{
    return column.value(QStringLiteral("title")).toString();
}

} // namespace

// ---- HoverTableCell ----

HoverTableCell::HoverTableCell(int row, QWidget *parent) : QWidget(parent), m_row(row)
{
}

// The colours go on as one style sheet so that every child (community text, progress) takes
// the row's text colour too, even under pages that style their widgets. Only rows whose
// colours change are restyled; a fresh cell has none and costs no style sheet.
void HoverTableCell::setColors(const QColor &text, const QColor &background)
{
    if (text == m_text && background == m_background)
        return;
    m_text = text;
    m_background = background;
    setStyleSheet(colorStyle(text, background));
    update();
}

QString HoverTableCell::colorStyle(const QColor &text, const QColor &background)
{
    return QStringLiteral("background-color:rgba(%1,%2,%3,%4);color:rgba(%5,%6,%7,%8);")
        .arg(background.red())
        .arg(background.green())
        .arg(background.blue())
        .arg(background.alpha())
        .arg(text.red())
        .arg(text.green())
        .arg(text.blue())
        .arg(text.alpha());
}

void HoverTableCell::setRead(bool read)
{
    if (!read) {
        delete m_readMark;
        m_readMark = nullptr;
        return;
    }
    if (m_readMark)
        return;
    m_readMark = new QLabel(this);
    m_readMark->setObjectName(QStringLiteral("readMark"));
    m_readMark->setStyleSheet(kReadMarkStyle);
    m_readMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    placeReadMark();
    m_readMark->show();
}

bool HoverTableCell::isRead() const
{
    return m_readMark != nullptr;
}

void HoverTableCell::setSelectedRow(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

int HoverTableCell::contentWidth() const
{
    return qMax(0, sizeHint().width());
}

void HoverTableCell::enterEvent(QEvent *event)
{
    QWidget::enterEvent(event);
    emit enterRow(m_row);
}

// The press is taken here so the table underneath does not also report it as its own click.
void HoverTableCell::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void HoverTableCell::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clickRow(m_row);
    event->accept();
}

void HoverTableCell::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    if (!isBuilt() && !m_buildQueued) {
        m_buildQueued = true;
        QMetaObject::invokeMethod(this, &HoverTableCell::ensureBuilt, Qt::QueuedConnection);
    }
    if (m_selected && m_background.alpha() == 0)
        return;
    QPainter painter(this);
    if (!m_selected)
        painter.fillRect(rect(), baseColor());
    if (m_background.alpha() != 0)
        painter.fillRect(rect(), m_background);
}

void HoverTableCell::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeReadMark();
}

// The mark sits in the top right corner, at most as tall as the cell.
void HoverTableCell::placeReadMark()
{
    if (!m_readMark)
        return;
    const int side = qMin(32, height());
    m_readMark->setGeometry(width() - side, 0, side, side);
    m_readMark->raise();
}

// ---- HoverTableWidget ----

HoverTableWidget::HoverTableWidget(QWidget *parent) : QTableWidget(parent)
{
    setObjectName(QStringLiteral("tableWidget"));
    setMouseTracking(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setStyleSheet(QStringLiteral("QTableWidget::item:selected{background-color: rgba(0,0,0,0)}"));
    verticalHeader()->setVisible(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setFixedHeight(kHeaderHeight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_frozen = new FrozenColumnsView(this);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &HoverTableWidget::syncFrozenView);

    connect(this, &QAbstractItemView::entered, this, &HoverTableWidget::showToolTip);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) { rowClicked(index.row()); });
    // Cells carry their row: keep them right when rows go away (a deleted item).
    connect(model(), &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { rowsGone(first, last); });
}

void HoverTableWidget::setColumns(const QList<QVariantMap> &columns)
{
    m_columns = columns;
    QStringList titles;
    QList<int> widths;
    for (const QVariantMap &column : columns) {
        titles << columnTitle(column);
        widths << column.value(QStringLiteral("width")).toInt();
    }
    setVerHeaderContent(titles, widths);
    if (m_sortHeader) {
        m_sortHeader->setSortSections(sortableColumns());
        if (auto *frozenHeader = qobject_cast<HouseListTableHeadView *>(m_frozen->horizontalHeader()))
            frozenHeader->setSortSections(sortableColumns());
    }
}

QList<int> HoverTableWidget::sortableColumns() const
{
    QList<int> sortable;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).value(QStringLiteral("sort")).toBool())
            sortable << i;
    }
    return sortable;
}

void HoverTableWidget::setVerHeaderContent(const QStringList &titles, const QList<int> &widths)
{
    setRowCount(0);
    setColumnCount(titles.size());
    setHorizontalHeaderLabels(titles);
    for (int i = 0; i + 1 < titles.size() && i < widths.size(); ++i) {
        if (widths.at(i) > 0)
            setColumnWidth(i, widths.at(i));
    }
    setFrozenColumns(m_columns.size() == titles.size() ? frozenColumnsFor(m_columns) : 0);
}

void HoverTableWidget::setFrozenColumns(int count)
{
    m_frozenCount = count;
    m_frozen->showLeadingColumns(count);
}

QTableView *HoverTableWidget::frozenView() const
{
    return m_frozen;
}

// Also reached while the table is being built (style changes lay the header out again).
void HoverTableWidget::syncFrozenView()
{
    if (m_frozen)
        m_frozen->followTable();
}

int HoverTableWidget::neededWidth(int column) const
{
    const QVariantMap &chosen = m_columns.at(column);
    const int fixed = fixedWidth(chosen);
    if (fixed > 0)
        return fixed;
    const QString title = columnTitle(chosen);
    int content = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if (const HoverTableCell *cell = cellAt(row, column))
            content = qMax(content, cell->contentWidth());
    }
    const bool sortable = chosen.value(QStringLiteral("sort")).toBool();
    const int header = horizontalHeader()->fontMetrics().horizontalAdvance(title) + kHeaderPadding
                       + (sortable ? kSortIconRoom : 0);
    // One pixel of the cell goes to the grid line, two more absorb the rounding of eliding
    // (it measures a little wider than the text's advance).
    return qMax(header, qMin(content, widthCap(chosen)) + 3);
}

// Without a size of its own (a page not laid out yet) the table goes by the width it is
// told; otherwise by its viewport, less the vertical scroll bar its rows will need.
int HoverTableWidget::viewportWidthFor(int availableWidth) const
{
    if (!isVisible() && !testAttribute(Qt::WA_Resized))
        return availableWidth;
    const QRect inside = contentsRect();
    const int rowsHeight = rowCount() * verticalHeader()->defaultSectionSize();
    const bool needsScrollBar = rowsHeight > inside.height() - horizontalHeader()->height();
    return inside.width() - (needsScrollBar ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0);
}

QList<int> HoverTableWidget::spreadWidths(const QList<QVariantMap> &columns, const QList<int> &needed,
                                          int availableWidth)
{
    QList<int> widths = needed;
    int total = 0;
    int rateSum = 0;
    for (int i = 0; i < columns.size() && i < needed.size(); ++i) {
        total += needed.at(i);
        if (columns.at(i).value(QStringLiteral("fixed")).toInt() <= 0)
            rateSum += qMax(1, columns.at(i).value(QStringLiteral("rate")).toInt());
    }
    const int room = availableWidth - total;
    if (room <= 0 || rateSum == 0)
        return widths;
    int given = 0;
    int last = -1;
    for (int i = 0; i < columns.size() && i < widths.size(); ++i) {
        if (columns.at(i).value(QStringLiteral("fixed")).toInt() > 0)
            continue;
        const int share = room * qMax(1, columns.at(i).value(QStringLiteral("rate")).toInt()) / rateSum;
        widths[i] += share;
        given += share;
        last = i;
    }
    // What the division leaves goes to the last shared column, so the columns fill the width.
    if (last >= 0)
        widths[last] += room - given;
    return widths;
}

int HoverTableWidget::frozenColumnsFor(const QList<QVariantMap> &) const
{
    return 0;
}

int HoverTableWidget::fixedWidth(const QVariantMap &column) const
{
    return column.value(QStringLiteral("fixed")).toInt();
}

int HoverTableWidget::widthCap(const QVariantMap &) const
{
    return kTextCap;
}

void HoverTableWidget::fitColumnWidths(int availableWidth)
{
    m_fitWidth = availableWidth;
    if (m_columns.isEmpty() || m_columns.size() != columnCount())
        return;
    QList<int> needed;
    for (int column = 0; column < m_columns.size(); ++column)
        needed << neededWidth(column);
    const QList<int> widths = spreadWidths(m_columns, needed, viewportWidthFor(availableWidth));
    for (int column = 0; column < widths.size(); ++column)
        setColumnWidth(column, widths.at(column));
    syncFrozenView();
}

// Cells are built with updates off, so the table lays them out and paints once at the end
// instead of after every widget.
void HoverTableWidget::fillRows(int count, const CellMaker &makeCell)
{
    const bool wasEnabled = updatesEnabled();
    setUpdatesEnabled(false);
    m_hoverRow = -1;
    m_selectedRow = -1;
    m_rowColors.clear();
    clearSelection();
    setRowCount(0);
    setRowCount(count);
    const int lastInView = lastRowInView();
    for (int row = 0; row < count; ++row)
        addRow(row, makeCell, row <= lastInView);
    buildRowsInView();
    updateEmptyHint();
    syncFrozenView();
    setUpdatesEnabled(wasEnabled);
}

int HoverTableWidget::lastRowInView() const
{
    const int bottom = rowAt(viewport()->height() - 1);
    return bottom < 0 ? rowCount() - 1 : bottom;
}

void HoverTableWidget::buildRowsInView()
{
    if (rowCount() == 0)
        return;
    const int first = qMax(0, rowAt(0));
    const int last = lastRowInView();
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            if (HoverTableCell *cell = cellAt(row, column))
                cell->ensureBuilt();
        }
    }
}

// Cells of rows below the view start hidden (see updateEditorGeometries).
void HoverTableWidget::addRow(int row, const CellMaker &makeCell, bool inView)
{
    for (int column = 0; column < m_columns.size(); ++column) {
        HoverTableCell *cell = makeCell(row, column);
        connect(cell, &HoverTableCell::enterRow, this, &HoverTableWidget::hoverRow);
        connect(cell, &HoverTableCell::clickRow, this, &HoverTableWidget::rowClicked);
        if (column < m_frozenCount)
            m_frozen->setIndexWidget(model()->index(row, column), cell);
        else
            setCellWidget(row, column, cell);
        if (!inView)
            cell->hide();
    }
}

void HoverTableWidget::setEmptyText(const QString &richText)
{
    if (!m_emptyHint) {
        m_emptyHint = new QLabel(viewport());
        m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
        m_emptyHint->setAlignment(Qt::AlignCenter);
        m_emptyHint->setTextFormat(Qt::RichText);
        m_emptyHint->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_emptyHint->setText(richText);
    updateEmptyHint();
}

void HoverTableWidget::updateEmptyHint()
{
    if (!m_emptyHint)
        return;
    m_emptyHint->setGeometry(viewport()->rect());
    m_emptyHint->setVisible(rowCount() == 0 && !m_emptyHint->text().isEmpty());
}

void HoverTableWidget::fitRowHeight(int pageSize)
{
    if (pageSize <= 0)
        return;
    const int height = (this->height() - kHeaderHeight) / pageSize;
    if (height <= 0)
        return;
    verticalHeader()->setDefaultSectionSize(qBound(40, height, 50));
    syncFrozenView();
    buildRowsInView();
}

HouseListTableHeadView *HoverTableWidget::installSortHeader()
{
    if (m_sortHeader)
        return m_sortHeader;
    m_sortHeader = new HouseListTableHeadView(this);
    setHorizontalHeader(m_sortHeader);
    m_sortHeader->setStretchLastSection(true);
    m_sortHeader->setFixedHeight(kHeaderHeight);
    m_sortHeader->setSortSections(sortableColumns());
    // Taking over the header re-parents it, which hides it.
    m_sortHeader->show();
    connect(m_sortHeader, &QHeaderView::sectionResized, this, &HoverTableWidget::syncFrozenView);
    auto *frozenHeader = new HouseListTableHeadView(m_frozen);
    frozenHeader->setObjectName(QStringLiteral("frozenHeadView"));
    frozenHeader->followSortOf(m_sortHeader);
    frozenHeader->setSortSections(m_sortHeader->sortSections());
    m_frozen->useHeader(frozenHeader);
    return m_sortHeader;
}

void HoverTableWidget::markRowRead(int row)
{
    if (HoverTableCell *cell = cellAt(row, columnCount() - 1))
        cell->setRead(true);
}

HoverTableCell *HoverTableWidget::cellAt(int row, int column) const
{
    if (column < m_frozenCount)
        return qobject_cast<HoverTableCell *>(m_frozen->indexWidget(model()->index(row, column)));
    return qobject_cast<HoverTableCell *>(cellWidget(row, column));
}

void HoverTableWidget::setRowColors(int row, const RowColors &colors)
{
    m_rowColors.insert(row, colors);
    paintRow(row, row == m_hoverRow || row == m_selectedRow);
}

void HoverTableWidget::resetHoverState()
{
    const QList<int> coloured = m_rowColors.keys();
    m_rowColors.clear();
    const int hovered = m_hoverRow;
    m_hoverRow = -1;
    for (int row : coloured)
        paintRow(row, row == m_selectedRow);
    if (hovered >= 0 && hovered != m_selectedRow)
        paintRow(hovered, false);
}

void HoverTableWidget::showToolTip(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    hoverRow(index.row());
    const QString tip = index.data(Qt::ToolTipRole).toString();
    if (!tip.isEmpty())
        QToolTip::showText(QCursor::pos(), tip, viewport());
}

void HoverTableWidget::selectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    QTableWidget::selectRow(row);
    const int previous = m_selectedRow;
    m_selectedRow = row;
    if (previous >= 0 && previous != row) {
        markRowSelected(previous, false);
        if (previous != m_hoverRow)
            paintRow(previous, false);
    }
    markRowSelected(row, true);
    paintRow(row, true);
}

void HoverTableWidget::markRowSelected(int row, bool selected)
{
    for (int column = 0; column < columnCount(); ++column) {
        if (HoverTableCell *cell = cellAt(row, column))
            cell->setSelectedRow(selected);
    }
}

// The row left behind gets its normal colours back unless it is the selected one.
void HoverTableWidget::hoverRow(int row)
{
    if (row == m_hoverRow)
        return;
    if (m_hoverRow >= 0 && m_hoverRow != m_selectedRow)
        paintRow(m_hoverRow, false);
    m_hoverRow = row;
    if (row >= 0)
        paintRow(row, true);
    emit cellHasEntered(row);
}

void HoverTableWidget::paintRow(int row, bool hover)
{
    if (row < 0 || row >= rowCount())
        return;
    const RowColors colors = m_rowColors.value(row);
    for (int column = 0; column < columnCount(); ++column) {
        if (HoverTableCell *cell = cellAt(row, column))
            cell->setColors(hover ? colors.hoverText : colors.text,
                            hover ? colors.hoverBackground : colors.background);
    }
}

void HoverTableWidget::rowClicked(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    selectRow(row);
    emit rowHadClick(row);
    emit clickRowIndex(row);
}

void HoverTableWidget::rowsGone(int first, int last)
{
    const int removed = last - first + 1;
    QMap<int, RowColors> shifted;
    for (auto it = m_rowColors.cbegin(); it != m_rowColors.cend(); ++it) {
        if (it.key() < first)
            shifted.insert(it.key(), it.value());
        else if (it.key() > last)
            shifted.insert(it.key() - removed, it.value());
    }
    m_rowColors = shifted;
    m_hoverRow = -1;
    if (m_selectedRow > last)
        m_selectedRow -= removed;
    else if (m_selectedRow >= first)
        m_selectedRow = -1;
    renumberFrom(first);
    updateEmptyHint();
    syncFrozenView();
}

void HoverTableWidget::renumberFrom(int first)
{
    for (int row = first; row < rowCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            if (HoverTableCell *cell = cellAt(row, column))
                cell->setRow(row);
        }
    }
}

void HoverTableWidget::leaveEvent(QEvent *event)
{
    QTableWidget::leaveEvent(event);
    if (m_hoverRow >= 0 && m_hoverRow != m_selectedRow)
        paintRow(m_hoverRow, false);
    m_hoverRow = -1;
}

// The owner (the list page) builds the context menu; the request travels on to it.
void HoverTableWidget::contextMenuEvent(QContextMenuEvent *event)
{
    event->ignore();
}

// Only the cells in view are shown (and built). Every shown child of the viewport is weighed
// against all its shown siblings whenever one of them paints or moves, so two thousand shown
// cells would make painting and scrolling a page quadratic.
void HoverTableWidget::updateEditorGeometries()
{
    FrozenColumnsView::placeCellsInView(this);
}

void HoverTableWidget::updateGeometries()
{
    QTableWidget::updateGeometries();
    syncFrozenView();
}

void HoverTableWidget::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    updateEditorGeometries();
}

void HoverTableWidget::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    if (m_fitWidth >= 0 && rowCount() > 0)
        fitColumnWidths(m_fitWidth);
    updateEmptyHint();
    syncFrozenView();
    buildRowsInView();
}
