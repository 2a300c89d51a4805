#pragma once
// The survey tab of the detail window: the listing's survey records on the left (who, when,
// "(待审核)" while one awaits review), the chosen record's survey page on the right, the
// listing's VR views and the company's watermark for every page, the entry to apply for the
// survey role, and the photo edit window; every change reloads the records.
#include "services/photoservice.h"
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QMap>
#include <QWidget>

class HouseDetailSecondPageWidget;
class ListingDetailService;
class QListWidget;
class QPushButton;
class QStackedWidget;

class HouseBookPhotoStackWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookPhotoStackWidget(QWidget *parent = nullptr);

    // Shows the listing and loads its records, VR views and the watermark.
    void setListing(const HouseMessage_DataSqlTable::HouseMessageData &listing);
    const HouseMessage_DataSqlTable::HouseMessageData &listing() const { return m_listing; }
    const QList<HouseBookPhotos_Model::DataItem> &records() const { return m_records; }
    int chosenRow() const { return m_chosen; }
    QListWidget *recordList() const { return m_list; }
    PhotoService *photos() const { return m_photos; }

signals:
    void closeWidget();

public slots:
    void downloadPhotos();
    void dealData(const QList<HouseBookPhotos_Model::DataItem> &records);
    void downloadVrs();
    void dealVrData(const QList<HouseBookPhotos_Model::Video> &vrs);
    void downloadWaterMark();
    void dealWaterMarkData(const QString &platform, int imagestyle);
    void showLeftList();
    void updateChooseUI();
    HouseDetailSecondPageWidget *getPhotoShowView();
    void refreshListDeal();
    void applyShiKanPeople();
    // Opens the photo edit window for a record ("" for a new one).
    void editPhotos(const QString &recordId);

private:
    HouseDetailSecondPageWidget *pageFor(int row);
    void fillPages();

    HouseMessage_DataSqlTable::HouseMessageData m_listing;
    QList<HouseBookPhotos_Model::DataItem> m_records;
    QList<HouseBookPhotos_Model::Video> m_vrs;
    QString m_watermark;
    int m_watermarkStyle = 0;
    int m_chosen = 0;
    bool m_showOwnRecord = false;  // the next reload shows the agent's own record

    PhotoService *m_photos = nullptr;
    ListingDetailService *m_listingService = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_apply = nullptr;
    QStackedWidget *m_stack = nullptr;
    // One page per record row, created when the record is first chosen.
    QMap<int, HouseDetailSecondPageWidget *> m_pages;
};
