#pragma once
// The sortable header of the listing table. Sortable sections carry a sort icon at their
// right and the tooltip "双击排序"; pressing one flips the direction, and the page sorts on a
// double click, making that section the current one. The current section shows ▼ while the
// order is descending and ▲ while it is ascending; the other sortable sections show a faint ▲▼.
//
// A table with frozen leading columns has a second header over them; it follows the main
// one (followSortOf): one direction and one current section, and its double clicks are
// reported by the main header.
#include <QHeaderView>
#include <QList>
#include <QPointer>

class HouseListTableHeadView : public QHeaderView
{
    Q_OBJECT
public:
    explicit HouseListTableHeadView(QWidget *parent = nullptr);

    void setSortSections(const QList<int> &sections);
    QList<int> sortSections() const { return m_sortSections; }
    bool isSortSection(int logicalIndex) const { return m_sortSections.contains(logicalIndex); }
    void setCurrentSection(int logicalIndex);
    int currentSection() const;
    bool isDescending() const;
    int hoveredSection() const { return m_hoveredSection; }
    // Shares the sort state of `leader` and reports its double clicks through it.
    void followSortOf(HouseListTableHeadView *leader);

    // The icon painted on a section; empty for sections that do not sort.
    QString sortIcon(int logicalIndex) const;

signals:
    // The direction or the current section changed.
    void sortStateChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    HouseListTableHeadView *sortState() { return m_leader ? m_leader.data() : this; }
    const HouseListTableHeadView *sortState() const { return m_leader ? m_leader.data() : this; }
    void hoverSection(int logicalIndex, const QPoint &globalPos);

    QList<int> m_sortSections;
    int m_currentSection = -1;
    bool m_descending = false;
    int m_hoveredSection = -1;
    QPointer<HouseListTableHeadView> m_leader;
};
