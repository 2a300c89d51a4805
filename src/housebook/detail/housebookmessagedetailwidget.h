#pragma once
// Navigation shell of the detail window: holds the ids its opener handed over and the
// position in them, reads the listing at that position from the local store and hands it to
// the window. Stepping past either end asks the opener for the neighbouring page of ids.
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QWidget>

class MySaleHouseDetailWidget;
class QStackedWidget;

class HouseBookMessageDetailWidget : public QWidget
{
    Q_OBJECT
public:
    HouseBookMessageDetailWidget(QWidget *parent, int firstTab, int firstPageFlag);

    // One listing alone: the previous/next buttons are hidden.
    void showHouseId(int id);
    // Loads the listing at index 30 ms later; an index outside ids is ignored. Each request
    // has its own delay, so quick requests load one after the other, the last one winning.
    void showHouseAt(int index, const QList<int> &ids, bool refreshed);

    QList<int> ids() const { return m_ids; }
    int index() const { return m_index; }
    bool refreshed() const { return m_refreshed; }
    const HouseMessage_DataSqlTable::HouseMessageData &record() const { return m_record; }
    // Null until the first load.
    MySaleHouseDetailWidget *detailWindow() const { return m_window; }

signals:
    void closeWidget();
    void pageChange(int page);
    void lastPage(HouseBookMessageDetailWidget *widget);
    void nextPage(HouseBookMessageDetailWidget *widget);

public slots:
    void stepBack();
    void stepForward();
    // The shown listing again, after its local record changed.
    void reload();

private:
    void load(int index, const QList<int> &ids, bool refreshed);
    void createWindow();

    int m_firstTab;
    int m_firstPageFlag;
    int m_index = 0;
    QList<int> m_ids;
    // The position of the latest request, which may not have loaded yet.
    int m_wantedIndex = 0;
    QList<int> m_wantedIds;
    bool m_refreshed = false;
    HouseMessage_DataSqlTable::HouseMessageData m_record;
    MySaleHouseDetailWidget *m_window = nullptr;
    QStackedWidget *m_stack = nullptr;
};
