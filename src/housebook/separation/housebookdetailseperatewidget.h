#pragma once
// The team cooperation (separation) page of a listing: one row per role, and everything the
// rows offer. Handing a role over, picking up the maintenance, releasing a holder, entering a
// role's evidence, viewing and approving an entry, its history and reporting a holder. Every
// change reloads the rows and has the local store fetch the listing again, whose holder
// columns follow the roles.
#include "separation/housebookdetailseperateitemview.h"
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonValue>
#include <QList>
#include <QVariantMap>
#include <QWidget>

#include <functional>

class BusyOverlay;
class CommonAddWidget;
class ListingDetailService;
class LoadFailureView;
class QLabel;
class QVBoxLayout;
class SeparationService;

class HouseBookDetailSeperateWidget : public QWidget
{
    Q_OBJECT
public:
    using ItemData = HouseBookSeperateList_Model::ItemData;
    using House = HouseMessage_DataSqlTable::HouseMessageData;
    // Opens the listing's photo editor and calls saved once the agent's set has been stored.
    using PhotoEditorOpener = std::function<void(QWidget *parent, const House &house, std::function<void()> saved)>;

    explicit HouseBookDetailSeperateWidget(QWidget *parent = nullptr);

    // Shows a listing and loads its rows.
    void setHouse(const House &house);
    const House &house() const { return m_house; }
    QList<HouseBookDetailSeperateItemView *> rows() const { return m_rowViews; }
    HouseBookDetailSeperateItemView::Rights rights() const { return m_rights; }

    // Where 上传图片 goes; without an opener the page asks for the photo tab (goToPhoto).
    void setPhotoEditorOpener(const PhotoEditorOpener &opener) { m_photoEditor = opener; }
    // The office approval library ("qx_reviewBook.dll" unless told otherwise).
    void setReviewLibrary(const QString &library) { m_reviewLibrary = library; }
    QString reviewLibrary() const { return m_reviewLibrary; }

    // The text that starts an office approval of a holder change.
    static QString reviewText(const House &house, const QString &roleName, const QString &newHolder);

signals:
    void goToPhoto();
    void closeWidget();
    // 编辑 on the entry row: the listing itself is edited.
    void houseEdit();

public slots:
    void ruleSet();
    void download_dataList();
    void dealData(QJsonValue value);
    void showListView();
    void operate(HouseBookSeperateList_Model::ItemData model, QString txt);
    void checkUserIsOAReviewPeople(QString record_id);
    void checkUserIsOAReviewPeopleResult(bool canCheck);
    void jianRuHouse();
    void addShiKan();
    void addKeyMessage();
    void addWeiTuoMessage();
    void addVipMessage();
    void addCompleteContractMessage();
    void houseChange();
    void watchDetail();
    void watchOperateHistory(QString id);
    void juBaoPeople();
    void remove_people(int type);
    void assignatePeopleToLuRu();
    void luruPeople(QVariantMap map);
    void oa_luruPeople(QVariantMap map);
    void assignatePeopleToWeiHu();
    void weiHuPeople(QVariantMap map);
    void oa_weiHuPeople(QVariantMap map);
    void assignatePeopleToOtherXieZuo(int itemId);
    void otherXieZuoPeople(QVariantMap map);
    void choosePeopleMap(QVariantMap map);

private:
    void buildUi();
    void connectService();
    bool mayEnterEvidence();
    bool holds(int right) const;
    void dispatchEvidence();
    void openChooser(int type);
    void confirmAssign(const QString &question, const QVariantMap &person, bool throughOffice);
    void startOfficeReview(const QVariantMap &person);
    // Opens a page of the row in its pop-up (the detail window's size or the forms' size).
    CommonAddWidget *openPage(QWidget *content, const QString &title, bool detailSize);
    // A page's success: its pop-up closes and the page shows the change.
    void closeAndReload(CommonAddWidget *popup);

    House m_house;
    QList<ItemData> m_data;
    ItemData m_current;
    bool m_editing = false;
    HouseBookDetailSeperateItemView::Rights m_rights;
    PhotoEditorOpener m_photoEditor;
    QString m_reviewLibrary;

    SeparationService *m_service;
    ListingDetailService *m_listings;
    BusyOverlay *m_overlay = nullptr;
    QLabel *m_unsupported = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
    QList<HouseBookDetailSeperateItemView *> m_rowViews;
    LoadFailureView *m_failure = nullptr;
};
