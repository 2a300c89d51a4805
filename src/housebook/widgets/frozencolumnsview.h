#pragma once
// The view laid over the leading columns of a listing table so that they stay in view while
// the table scrolls sideways (Qt's frozen column pattern). It shares the table's model and
// selection, follows its vertical scrolling, row heights and column widths, and shows only
// the frozen columns; the cell widgets of those columns live in it.
#include <QTableView>

class QHeaderView;

class FrozenColumnsView : public QTableView
{
    Q_OBJECT
public:
    // Created over `table` (its parent), hidden until columns are frozen.
    explicit FrozenColumnsView(QTableView *table);

    // Shows the first `count` columns and hides the others.
    void showLeadingColumns(int count);
    int leadingColumns() const { return m_count; }
    // Takes over the table's column widths and default row height, and lays itself over the
    // frozen columns (hidden when nothing is frozen or the table has no rows).
    void followTable();
    // Replaces the header (the sortable one when the table has it), 40 px high like the table's.
    void useHeader(QHeaderView *header);

    // Shows and places the cell widgets of the rows in view, hides the others; also used by
    // the table for its own columns. Every shown child of a viewport is weighed against its
    // shown siblings whenever one paints or moves, so only the cells in view are shown.
    static void placeCellsInView(QTableView *view);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

protected slots:
    void updateEditorGeometries() override;

private:
    QTableView *m_table;
    int m_count = 0;
};
