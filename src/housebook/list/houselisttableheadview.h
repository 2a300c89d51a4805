#pragma once
// The sortable header of the listing table. Sortable sections carry a sort icon at their
// right and the tooltip "双击排序"; pressing one flips the direction, and the page sorts on a
// double click, making that section the current one. The up icon marks the current section
// while the order is descending.
#include <QHeaderView>
#include <QList>

class HouseListTableHeadView : public QHeaderView
{
    Q_OBJECT
public:
    explicit HouseListTableHeadView(QWidget *parent = nullptr);

    void setSortSections(const QList<int> &sections);
    QList<int> sortSections() const { return m_sortSections; }
    bool isSortSection(int logicalIndex) const { return m_sortSections.contains(logicalIndex); }
    void setCurrentSection(int logicalIndex);
    int currentSection() const { return m_currentSection; }
    bool isDescending() const { return m_descending; }
    int hoveredSection() const { return m_hoveredSection; }

    // The icon painted on a section; empty for sections that do not sort.
    QString sortIcon(int logicalIndex) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    void hoverSection(int logicalIndex, const QPoint &globalPos);

    QList<int> m_sortSections;
    int m_currentSection = -1;
    bool m_descending = false;
    int m_hoveredSection = -1;
};
