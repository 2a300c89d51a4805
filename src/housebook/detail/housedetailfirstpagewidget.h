#pragma once
// The "房源详情" tab of the detail window: every fact of one listing, its menus and buttons,
// and the follow-up, viewing, collaboration and change-history tabs at its foot.
#include "sql/housemessage_datasqltable.h"

#include <QJsonValue>
#include <QMap>
#include <QStringList>
#include <QWidget>

class ListingChangeService;
class ListingDetailService;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class XieZuoRolesWidget;

class HouseDetailFirstPageWidget : public QWidget
{
    Q_OBJECT
public:
    using Holder = HouseMessage_DataSqlTable::XieZuoItemData;

    explicit HouseDetailFirstPageWidget(QWidget *parent = nullptr);

    // Shows a record. refreshed: the record comes from a reload after a local change, so a
    // changed update time does not cause another download of the listing.
    void showRecord(const HouseMessage_DataSqlTable::HouseMessageData &record, bool refreshed, bool rent);
    // Hides "上一条" / "下一条" when the opener handed over a single listing.
    void setNavigationHidden(bool hidden);

    const HouseMessage_DataSqlTable::HouseMessageData &record() const { return m_record; }
    // A follow-up has been written since the listing was opened.
    bool followed() const { return m_followed; }
    // What the user may do with the shown listing: "编辑", "状态", "录入人".
    QStringList operations() const { return m_operations; }
    bool isCollected() const { return m_collected == 1; }
    // The menu of "操作 ▼" as last filled (null before the first showMenu).
    QMenu *operationMenu() const { return m_menu; }

signals:
    void closeWidget();
    void goToPhoto();
    void houseEdit(bool oa);
    void lastHouse();
    void nextHouse();
    void followSuccess();
    void fenPei();
    void watchKeyMessage();

public slots:
    void showMenu();
    void modifyHouseStatus(int id, QString txt);
    void collocteHouse();
    void showHouseMap();
    void hiddenLinkPeopleMessage();
    void setXieZuoData(const Holder &add, const Holder &modify, const Holder &weituo, const Holder &shikan,
                       const Holder &key, const Holder &daili, const Holder &chenjiao, int rate);
    void watchTongJi(int itemtype);
    void followSuccessDeal();
    void fenPeiClick();
    void changeToPublicHouse();
    void showLinkPeople();
    // Whether the agent may see the real numbers behind the hidden ones.
    bool getYinsifangwenRealValue() const;
    void downloadPhotosVideoNum();
    void dealPhotosVideo(QJsonValue value);
    void showRoomMsg();
    void hideRoomMsg();
    void showFloorMsg();
    void hideFloorMsg();

private:
    void buildUi();
    QWidget *createHeader();
    QWidget *createFacts();
    QWidget *createContact();
    QWidget *createButtons();
    QTabWidget *createFootTabs();
    QLabel *factLabel(const QString &objectName);
    void fillFacts();
    void fillTags();
    void fillButtons();
    void showFootTab(int index);
    void revealed(int itemtype);
    void statusChanged(int id, const QString &status);
    void collectChanged(int id, bool collected);
    void turnedPublic(int id);
    void takeDownFromPortal(int id, const QString &reason);
    void clearYinHaoRows();
    QStringList contactTexts() const;
    void copyNumber();

    HouseMessage_DataSqlTable::HouseMessageData m_record;
    bool m_rent = false;
    bool m_refreshed = false;
    int m_collected = 0;
    QStringList m_operations;
    bool m_followed = false;
    bool m_roomShown = false;
    bool m_floorShown = false;
    // The listing whose changed update time has already caused a download in this opening.
    int m_downloadedId = 0;
    QMap<int, int> m_footShownIds;  // foot tab index -> listing shown in it

    ListingDetailService *m_service;
    ListingChangeService *m_changes;
    QMenu *m_menu = nullptr;
    QLabel *m_nameLabel = nullptr;
    QLabel *m_statusLabel = nullptr;
    QWidget *m_tagWidget = nullptr;
    QLabel *m_addressLabel = nullptr;
    QLabel *m_floorLabel = nullptr;
    QMap<QString, QLabel *> m_facts;
    QVBoxLayout *m_factsLayout = nullptr;
    QLabel *m_contactLabel = nullptr;
    QPushButton *m_contactButton = nullptr;
    QWidget *m_yinHaoList = nullptr;
    QLabel *m_remarkLabel = nullptr;
    QLabel *m_countsLabel = nullptr;
    QPushButton *m_roomButton = nullptr;
    QPushButton *m_floorButton = nullptr;
    QPushButton *m_fenPeiButton = nullptr;
    QPushButton *m_publicButton = nullptr;
    QPushButton *m_collectButton = nullptr;
    QPushButton *m_menuButton = nullptr;
    QPushButton *m_lastButton = nullptr;
    QPushButton *m_nextButton = nullptr;
    XieZuoRolesWidget *m_roles = nullptr;
    QTabWidget *m_footTabs = nullptr;
};
