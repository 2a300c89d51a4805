#pragma once
// The editor of a configurable list (table columns, search items, category tabs): one
// SortItemView per entry, in a grid of 40 px rows, each a check box with the entry's title.
// Entries are maps {id, title, choose, default_choose, tip_id, has_set}: a required entry
// (default_choose) cannot be unchosen, has_set shows its "设置>" button. Entries are
// dragged onto one another to reorder them.
#include <QList>
#include <QVariantMap>
#include <QWidget>

class QGridLayout;
class SortItemView;

class SortWidget : public QWidget
{
    Q_OBJECT
public:
    explicit SortWidget(QWidget *parent = nullptr);

    // Replaces the entries (the old views go first) and lays them out in `columns` columns.
    void setItems(const QList<QVariantMap> &items, int columns);
    // The entries in their current order, with their current `choose`.
    QList<QVariantMap> items() const { return m_items; }
    int columnCount() const { return m_columns; }
    // Moves the entry at `from` to `to`; the entries between shift by one place.
    void moveItem(int from, int to);

signals:
    // An entry's "设置>" button was pressed.
    void btnClick(int id);
    // An entry was chosen, unchosen or moved.
    void itemsChanged();

private:
    // Drops the old views (after the current event: a drop comes from one of them) and
    // builds one view per entry.
    void rebuildViews();
    SortItemView *createView(int index);
    // Puts each view in the cell of its entry's position and fixes the height.
    void placeViews();
    void changeTo(int fromRow, int fromColum, int toRow, int toColum);
    void setChoose(SortItemView *view, bool choose);

    QList<QVariantMap> m_items;
    QList<SortItemView *> m_views;
    QGridLayout *m_grid = nullptr;
    int m_columns = 1;
};
