#pragma once
// The listing table of the list pages: every cell is a small widget (HoverTableCell), rows
// light up under the mouse, and a click anywhere on a row reports the row.
//
// Filling it (what a list page does):
//
//     HouseListTableHeadView *header = table->installSortHeader();  // once, if it sorts
//     connect(header, &QHeaderView::sectionDoubleClicked, ...);
//     table->setColumns(columns);        // after each settings change: titles, widths, sort
//     table->fitRowHeight(pageSize);     // before each fill
//     table->setSearchWords(words);      // optional, red in the community cells
//     table->setRows(listings);          // every page: one cell widget per row and column
//     table->fitColumnWidths(width);     // widths to the content and the window
//     connect(table, &HoverTableWidget::clickRowIndex, ...);  // row = index into listings
//
// Column widths: ids, prices, areas, times and other short values are never cut; long texts
// are elided with "…" and shown whole in their tooltip. Columns that do not fit scroll
// sideways, while the leading columns up to 编号 and 小区 stay in view (a second view over
// them, as in Qt's frozen column example, shares the model, the selection and the vertical
// scrolling; the cells of those columns live in it).
//
// A column is a map with `key` (column key of the settings catalogue, e.g. "key_price"),
// `title` (header text), `width` (pixels; ignored for the last column, which stretches) and
// `sort` (bool: the header offers sorting on it). The title chooses the cell kind: "小区" the
// community cell, "标签" the tag chips, "团队协作" the collaboration cell, any other title a
// plain text cell showing HouseRowTexts::cellValue(key, listing). The last column's cell
// carries the read mark of listings whose `isread` is 1. Right clicks are left to the
// table's owner (its contextMenuPolicy / customContextMenuRequested); removeRow keeps the
// row numbers of the cells below right.
#include "sql/housemessage_datasqltable.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QTableView>
#include <QTableWidget>
#include <QVariantMap>

class QDate;
class QLabel;
class HouseListTableHeadView;

// What every cell of a HoverTableWidget is: it knows its row, reports the pointer entering it
// and clicks on it, paints the row's colours and can carry the read mark.
//
// Cells with child widgets (community, tags, collaboration) can be made with deferBuild: they
// then keep their data and make their children only in ensureBuilt(), which the table calls
// for the rows in view. A page of a hundred rows shows about a fifth of them, and child
// widgets are what a cell costs. A deferred cell that gets painted unbuilt builds itself
// right after.
class HoverTableCell : public QWidget
{
    Q_OBJECT
public:
    explicit HoverTableCell(int row = -1, QWidget *parent = nullptr);

    int row() const { return m_row; }
    void setRow(int row) { m_row = row; }

    // Paints the cell (and its children) with "background-color:rgba(..);color:rgba(..);".
    void setColors(const QColor &text, const QColor &background);
    QColor textColor() const { return m_text; }
    QColor backgroundColor() const { return m_background; }
    static QString colorStyle(const QColor &text, const QColor &background);

    // The read mark: a corner label showing "border-image: url(:/res/hasread.png);".
    void setRead(bool read);
    bool isRead() const;

    // Cells of rows that are not selected stand on baseColor(); the selected row's cells are
    // transparent below their colours.
    void setSelectedRow(bool selected);
    bool isSelectedRow() const { return m_selected; }
    static QColor baseColor() { return QColor(250, 250, 250, 255); }

    // The width the cell needs to show its content uncut (before the table's grid line).
    virtual int contentWidth() const;

    virtual bool isBuilt() const { return true; }
    virtual void ensureBuilt() {}

signals:
    void enterRow(int row);
    void clickRow(int row);

protected:
    void enterEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeReadMark();

    int m_row;
    QColor m_text{0, 0, 0, 255};
    QColor m_background{255, 255, 255, 0};
    QLabel *m_readMark = nullptr;
    bool m_buildQueued = false;
    bool m_selected = false;
};

class FrozenColumnsView;

class HoverTableWidget : public QTableWidget
{
    Q_OBJECT
public:
    using Record = HouseMessage_DataSqlTable::HouseMessageData;

    // The four colours of a row; the defaults are those of rows without their own.
    struct RowColors
    {
        QColor text{0, 0, 0, 255};
        QColor background{255, 255, 255, 0};
        QColor hoverText{30, 30, 30, 255};
        QColor hoverBackground{230, 230, 230, 255};
    };

    explicit HoverTableWidget(QWidget *parent = nullptr);

    // ---- Filling ----
    // Header titles, widths of all but the last column, sortable columns (handed to the
    // sort header when one is installed). Existing rows are dropped.
    void setColumns(const QList<QVariantMap> &columns);
    // One row per listing with one cell widget per column; replaces all rows. With no
    // listings the empty text (if any) is shown over the table.
    void setRows(const QList<Record> &listings);
    void setRows(const QList<QVariantMap> &columns, const QList<Record> &listings);
    QList<QVariantMap> columns() const { return m_columns; }
    // Indexes of the columns whose `sort` is true.
    QList<int> sortableColumns() const;
    // Words of the current search, coloured red in the community cells: those shown now and
    // those of later fills. Words are split at blanks; empty ones are dropped.
    void setSearchWords(const QStringList &words);
    QStringList searchWords() const { return m_searchWords; }
    // Column widths for the rows shown: every column as wide as its content needs (long texts
    // up to a cap), the room left over shared by `rate`. availableWidth stands for the
    // viewport's width while the table is not shown. Called again on every resize.
    void fitColumnWidths(int availableWidth);
    // The width column `column` needs for its header and the cells of the rows shown.
    int neededWidth(int column) const;
    // Leading columns kept in view while the table scrolls sideways: up to 编号 and 小区.
    int frozenColumnCount() const { return m_frozenCount; }
    QTableView *frozenView() const;
    // Rich text shown centred over the table while it has no rows (empty: none).
    void setEmptyText(const QString &richText);
    // Row height (table height − 40) / pageSize, clamped to 40..50; nothing when not positive.
    // Call it before setRows, so the rows in view are known when the cells are made.
    void fitRowHeight(int pageSize);
    // A HouseListTableHeadView as horizontal header (created once), set up like the default one
    // and given the sortable columns; the page connects its sectionDoubleClicked.
    HouseListTableHeadView *installSortHeader();

    // ---- Rows ----
    // Joined in the order status, main text, left tags, right tags (HouseRowTexts).
    static QString composeCommunityText(const QStringList &leftTags, const QString &mainText,
                                        const QString &statusText, const QStringList &rightTags);
    // Marks the last cell widget of the row read (after the listing was opened).
    void markRowRead(int row);
    HoverTableCell *cellAt(int row, int column) const;

    // ---- Hover and selection ----
    void setRowColors(int row, const RowColors &colors);
    RowColors rowColors(int row) const { return m_rowColors.value(row); }
    // Forgets the hovered row and every row's own colours; all rows get the defaults.
    void resetHoverState();
    int hoveredRow() const { return m_hoverRow; }
    int selectedRow() const { return m_selectedRow; }

signals:
    // A row was clicked (cell widget or bare item); the row is selected first.
    void clickRowIndex(int row);
    void rowHadClick(int row);
    // The pointer entered a row.
    void cellHasEntered(int row);

public slots:
    void showToolTip(const QModelIndex &index);
    // Selects the row and keeps it in its hover colours.
    void selectRow(int row);
    // Column titles, and the widths of all columns but the last.
    void setVerHeaderContent(const QStringList &titles, const QList<int> &widths);

protected:
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

protected slots:
    void updateEditorGeometries() override;

private:
    void setFrozenColumns(int count);
    void syncFrozenView();
    void placeFrozenView();
    int viewportWidthFor(int availableWidth) const;
    HoverTableCell *createCell(const QVariantMap &column, const Record &listing, int row, const QDate &today) const;
    void addRow(int row, const Record &listing, const QDate &today, bool inView);
    void hoverRow(int row);
    void paintRow(int row, bool hover);
    void markRowSelected(int row, bool selected);
    void rowClicked(int row);
    void renumberFrom(int first);
    void rowsGone(int first, int last);
    void updateEmptyHint();
    void buildRowsInView();
    int lastRowInView() const;

    QList<QVariantMap> m_columns;
    QStringList m_searchWords;
    QMap<int, RowColors> m_rowColors;
    int m_hoverRow = -1;
    int m_selectedRow = -1;
    QLabel *m_emptyHint = nullptr;
    HouseListTableHeadView *m_sortHeader = nullptr;
    FrozenColumnsView *m_frozen = nullptr;
    int m_frozenCount = 0;
    int m_fitWidth = -1;  // the width hint of the last fitColumnWidths; -1: never fitted
};
