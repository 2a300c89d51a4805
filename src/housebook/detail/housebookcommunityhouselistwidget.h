#pragma once
// The listings of one community, read from the local store a page at a time: a pop-up list
// "小区" whose rows open the detail window on their listing.
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QWidget>

class CommonAddWidget;
class PagedListController;
class QLabel;
class QPushButton;
class QVBoxLayout;

// One row: the listing's name, its price and its layout; a click asks to open it.
class HouseBookCommunityHouseListItemView : public QWidget
{
    Q_OBJECT
public:
    HouseBookCommunityHouseListItemView(const HouseMessage_DataSqlTable::HouseMessageData &record, QWidget *parent = nullptr);

    int houseId() const { return m_houseId; }
    // "%1万" for a sale, "%1元/月" for a rent.
    static QString priceText(const HouseMessage_DataSqlTable::HouseMessageData &record);
    // "%1室%2厅%3卫 %4m²".
    static QString layoutText(const HouseMessage_DataSqlTable::HouseMessageData &record);

signals:
    void clicked(int houseId);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_houseId = 0;
};

class HouseBookCommunityHouseListWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kPageSize = 10;

    // rent: the community's rent listings, else its sale listings (on the shelf only).
    HouseBookCommunityHouseListWidget(QWidget *parent, int communityId, bool isJointSale, bool rent = false);

    // Opens the list in its pop-up titled "小区" and shows the first page.
    static CommonAddWidget *openFor(QWidget *parent, int communityId, bool isJointSale, bool rent = false);

    // Reads and shows one page (1-based).
    void loadPage(int page);
    PagedListController *pager() const { return m_pager; }
    QList<HouseBookCommunityHouseListItemView *> rows() const;
    // Opens the detail window on a listing of this community.
    void openHouse(int houseId);

signals:
    void closeWidget();

private:
    void buildUi();
    void showRows(const QList<HouseMessage_DataSqlTable::HouseMessageData> &records);
    void showStatus();

    int m_communityId;
    bool m_isJointSale;
    bool m_rent;
    PagedListController *m_pager = nullptr;
    QVBoxLayout *m_rows = nullptr;
    QLabel *m_status = nullptr;
};
