#pragma once
// The listing detail window proper: facts, actions and the tabs hanging from a listing.
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class QLabel;

class MySaleHouseDetailWidget : public QWidget
{
    Q_OBJECT
public:
    MySaleHouseDetailWidget(QWidget *parent, int firstTab, int firstPageFlag);

    const HouseMessage_DataSqlTable::HouseMessageData &record() const { return m_record; }
    int requestedId() const { return m_requestedId; }
    bool hideNavigation() const { return m_hideNavigation; }
    bool refreshed() const { return m_refreshed; }

signals:
    void closeWidget();
    void lastPage();
    void nextPage();
    void refreshBaseMessage();
    void loadHouseId(int id);

public slots:
    void closeThisWidget();
    void houseDataDeal(const HouseMessage_DataSqlTable::HouseMessageData &model, int page,
                       bool hideNavigation, bool refreshed);
    void loadLastPage();
    void loadNextPage();

private:
    int m_firstTab;
    int m_firstPageFlag;
    HouseMessage_DataSqlTable::HouseMessageData m_record;
    int m_requestedId = 0;
    bool m_hideNavigation = false;
    bool m_refreshed = false;
    QLabel *m_caption = nullptr;
};
