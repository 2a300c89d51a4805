#pragma once
// The "房源详情" tab of the detail window: every fact of one listing, its menus and buttons,
// and the follow-up, viewing, collaboration and change-history tabs at its foot.
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseDetailFirstPageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseDetailFirstPageWidget(QWidget *parent = nullptr);

    // Shows a record. refreshed: the record comes from a reload after a local change, so a
    // changed update time does not cause another download of the listing.
    void showRecord(const HouseMessage_DataSqlTable::HouseMessageData &record, bool refreshed, bool rent);
    // Hides "上一条" / "下一条" when the opener handed over a single listing.
    void setNavigationHidden(bool hidden);

    const HouseMessage_DataSqlTable::HouseMessageData &record() const { return m_record; }
    // A follow-up has been written since the listing was opened.
    bool followed() const { return m_followed; }

signals:
    void closeWidget();
    void goToPhoto();
    void houseEdit(bool oa);
    void lastHouse();
    void nextHouse();
    void followSuccess();
    void fenPei();
    void watchKeyMessage();

private:
    HouseMessage_DataSqlTable::HouseMessageData m_record;
    bool m_followed = false;
};
