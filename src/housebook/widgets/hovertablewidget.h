#pragma once
// The table of the paged lists: every cell is a small widget (HoverTableCell), rows light up
// under the mouse, and a click anywhere on a row reports the row.
//
// Filling it (what a list page does):
//
//     HouseListTableHeadView *header = table->installSortHeader();  // once, if it sorts
//     connect(header, &QHeaderView::sectionDoubleClicked, ...);
//     table->setColumns(columns);        // after each settings change: titles, widths, sort
//     table->fitRowHeight(pageSize);     // before each fill
//     table->fillRows(count, makeCell);  // every page: one cell widget per row and column
//     table->fitColumnWidths(width);     // widths to the content and the window
//     connect(table, &HoverTableWidget::clickRowIndex, ...);  // row = index into the page
//
// Column widths: every column gets what its content needs up to a cap (longer texts are the
// cells' business: they elide and show the whole text in their tooltip); the room left is
// shared by `rate`. Columns that do not fit scroll sideways, while the leading columns a
// list chooses (frozenColumnsFor) stay in view: a second view over them, as in Qt's frozen
// column example, shares the model, the selection and the vertical scrolling, and the cells
// of those columns live in it.
//
// A column is a map with `title` (header text), `width` (pixels; ignored for the last
// column, which stretches), `sort` (bool: the header offers sorting on it), `rate` (share of
// the spare width, at least 1) and `fixed` (pixels the column always takes; 0 or absent:
// none). Lists add keys of their own. Right clicks are left to the table's owner (its
// contextMenuPolicy / customContextMenuRequested); removeRow keeps the row numbers of the
// cells below right.
#include <QColor>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QTableView>
#include <QTableWidget>
#include <QVariantMap>

#include <functional>

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

    // The read mark of a row the user has opened: a corner label showing
    // "border-image: url(:/res/hasread.png);".
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
    // The cell of a row and column, made for the table (which takes it over).
    using CellMaker = std::function<HoverTableCell *(int row, int column)>;

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
    // `count` rows with one cell widget per column from makeCell; replaces all rows. With no
    // rows the empty text (if any) is shown over the table.
    void fillRows(int count, const CellMaker &makeCell);
    QList<QVariantMap> columns() const { return m_columns; }
    // Indexes of the columns whose `sort` is true.
    QList<int> sortableColumns() const;
    // Column widths for the rows shown: every column as wide as its content needs (long texts
    // up to a cap), the room left over shared by `rate`. availableWidth stands for the
    // viewport's width while the table is not shown. Called again on every resize.
    void fitColumnWidths(int availableWidth);
    // The width column `column` needs for its header and the cells of the rows shown.
    int neededWidth(int column) const;
    // Widths for columns that need `needed` pixels each: what they need, and when that leaves
    // room in availableWidth, the room shared by `rate` among the columns without a `fixed`
    // width. Columns that need more than there is keep their need (the table then scrolls).
    static QList<int> spreadWidths(const QList<QVariantMap> &columns, const QList<int> &needed, int availableWidth);
    // Leading columns kept in view while the table scrolls sideways (frozenColumnsFor).
    int frozenColumnCount() const { return m_frozenCount; }
    QTableView *frozenView() const;
    // Rich text shown centred over the table while it has no rows (empty: none).
    void setEmptyText(const QString &richText);
    // Row height (table height − 40) / pageSize, clamped to 40..50; nothing when not positive.
    // Call it before fillRows, so the rows in view are known when the cells are made.
    void fitRowHeight(int pageSize);
    // A HouseListTableHeadView as horizontal header (created once), set up like the default one
    // and given the sortable columns; the page connects its sectionDoubleClicked.
    HouseListTableHeadView *installSortHeader();

    // ---- Rows ----
    // Marks the last cell widget of the row read (after its item was opened).
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
    // How many leading columns stay in view; none unless a list says otherwise.
    virtual int frozenColumnsFor(const QList<QVariantMap> &columns) const;
    // The width a column always takes (its `fixed` key), 0 when it goes by its content.
    virtual int fixedWidth(const QVariantMap &column) const;
    // The widest a column grows for its content.
    virtual int widthCap(const QVariantMap &column) const;

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
    void addRow(int row, const CellMaker &makeCell, bool inView);
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
    QMap<int, RowColors> m_rowColors;
    int m_hoverRow = -1;
    int m_selectedRow = -1;
    QLabel *m_emptyHint = nullptr;
    HouseListTableHeadView *m_sortHeader = nullptr;
    FrozenColumnsView *m_frozen = nullptr;
    int m_frozenCount = 0;
    int m_fitWidth = -1;  // the width hint of the last fitColumnWidths; -1: never fitted
};
