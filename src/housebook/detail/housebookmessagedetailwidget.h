#pragma once
// Navigation shell of the detail window: steps through the ids its opener handed over.
#include <QList>
#include <QWidget>

class HouseBookMessageDetailWidget : public QWidget
{
    Q_OBJECT
public:
    HouseBookMessageDetailWidget(QWidget *parent, int firstTab, int firstPageFlag);

    void showHouseId(int id);
    void showHouseAt(int index, const QList<int> &ids, bool refreshed);

    QList<int> ids() const { return m_ids; }
    int index() const { return m_index; }

signals:
    void closeWidget();
    void pageChange(int page);
    void lastPage(HouseBookMessageDetailWidget *widget);
    void nextPage(HouseBookMessageDetailWidget *widget);

private:
    int m_firstTab;
    int m_firstPageFlag;
    int m_index = 0;
    QList<int> m_ids;
    bool m_refreshed = false;
};
