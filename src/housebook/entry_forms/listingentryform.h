#pragma once
// The entry form of a listing, sale or rent: new, published from the agency's own book,
// edited, or reviewed. One implementation serves both kinds; what differs (texts, choice
// lists, the rent-only and sale-only fields) is the ListingFormKind it is built with, and the
// post forms are field tables over the form-field kit.
//
// Community, building, unit and room: the community comes from the chooser wizard; its
// buildings, lock state and, for a chosen building, its units come from the structure
// service. "手动添加" in the building or unit list lets the agent type a value the list lacks
// (withdrawn when the community locks buildings or units). A room may be picked through the
// community library's room picker, which fills floor, area and layout.
//
// A building from the intensive-farming register is verified room by room, so a listing in
// it cannot be a duplicate: choosing one switches the duplicate check off.
#include "entry_forms/chooser/choosehousemessagestackwidget.h"
#include "entry_forms/listingformkind.h"
#include "services/communitystructure.h"
#include "services/listingentryservice.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/forms/formbinder.h"

#include <QJsonValue>
#include <QPointer>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class ChoiceComboBox;
class ChoiceListField;
class CommunityStructureService;
class ContactRowsWidget;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTextEdit;
class UnitLineEdit;

class ListingEntryForm : public QWidget
{
    Q_OBJECT
public:
    ListingEntryForm(QWidget *parent, bool isEdit, bool isReview, const ListingFormKind &kind);

    // Fills every field from a listing record.
    void setHouseData(const HouseMessage_DataSqlTable::HouseMessageData &model);
    // Remembers where a published listing comes from (source id, source type, flag).
    void setSourceData(const QString &sourceId, const QString &sourceType, int flag);
    // Photo addresses a new listing brings along (the portal imports); posted as imgurls.
    void setPhotoUrls(const QStringList &urls) { m_photoUrls = urls; }

    bool isEdit() const { return m_isEdit; }
    bool isReview() const { return m_isReview; }
    bool isRent() const { return m_kind.rent; }
    const HouseMessage_DataSqlTable::HouseMessageData &houseData() const { return m_model; }
    QString sourceId() const { return m_sourceId; }
    QString sourceType() const { return m_sourceType; }
    int sourceFlag() const { return m_sourceFlag; }
    QVariantMap community() const { return m_community; }
    bool lockDong() const { return m_lockDong; }
    bool lockUar() const { return m_lockUar; }

    // The post forms as they would be sent now.
    ListingEntryService::PostForm addPostForm() const;
    ListingEntryService::PostForm editPostForm() const;
    // The first validation message the current input earns; "" when it may be sent.
    QString firstFailure() const;

signals:
    void addHouseSuccess(int houseid);
    void closeWidget();
    // "查看" on a duplicate: the opener shows that listing's detail window.
    void viewListingRequested(int houseId);

public slots:
    // Community, building, unit and room.
    void deal_chooseXiaoQu();
    void dealChooseMessage(const ChooseHouseMessageStackWidget::HouseMsg &msg);
    void deal_areaChooseDeal(int index);
    void downloadXiaoQuLouDong(const QString &communityId);
    void dealSearchData(const QList<CommunityStructure::LouDong> &buildings);
    void louDongChooseIndexClick();
    void dealUnitData(const QList<CommunityStructure::DanYuan> &units);
    void addloudong(const QString &text);
    void adddanyuna(const QString &text);
    void downloadCommunityLockState(const QString &communityId);
    void dealLockData(bool lockdong, bool lockuar);
    void chooseRoom();
    void dealChooseRoomMessage(const QVariantMap &room);
    void dealRoomDetailMsg(const QVariantMap &room);
    void fangHaoFormatCheck();

    // Duplicate check, price and contacts.
    void checkRepeat();
    void priceCalculate(int type);
    void hideContractPhone();

    // Submission and review.
    void sureButtonClick();
    void tongGuoReview();
    void boHuiReview();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building the widgets (listingentryform_ui.cpp).
    void buildUi();
    QWidget *buildFields();
    void addLocationRows(QGridLayout *grid, int &row);
    void addSizeRows(QGridLayout *grid, int &row);
    void addChoiceRows(QGridLayout *grid, int &row);
    void addExtraRows(QGridLayout *grid, int &row);
    QWidget *buildLayoutRow();
    QWidget *buildPhoneSet();
    QWidget *buildButtons();
    void connectFields();
    void applyContactDisplayMode();
    void fillDistricts();

    // Structure combos (listingentryform_structure.cpp).
    void showBuildings();
    void showUnits();
    void selectBuilding(int listIndex);
    void selectUnit(int listIndex);
    void withoutStructureUnits();
    void typedBuilding(const QString &name, const QString &suffix);
    void typedUnit(const QString &name, const QString &suffix);
    QString communityIdText() const;
    QString buildingText() const;
    QString unitText() const;

    // Post forms and rules (listingentryform_submit.cpp).
    QList<FormField> addFields() const;
    QList<FormField> editFields() const;
    QList<FormField> commonFacts() const;
    QString communityReference(const QString &key) const;
    bool repeatRuleHas(const QString &item) const;
    void submit(bool approve);
    void onSaved(ListingEntryService::Operation operation, int houseId);
    void onDuplicate(const QString &message, int houseId);
    void fillFromRecord();

    ListingFormKind m_kind;
    bool m_isEdit;
    bool m_isReview;
    HouseMessage_DataSqlTable::HouseMessageData m_model;
    QString m_sourceId;
    QString m_sourceType;
    int m_sourceFlag = 0;
    QStringList m_photoUrls;

    QVariantMap m_community;
    QList<CommunityStructure::LouDong> m_buildings;
    QList<CommunityStructure::DanYuan> m_units;
    CommunityStructure::LouDong m_building; // the chosen one; empty name when none
    CommunityStructure::DanYuan m_unit;
    int m_roomId = 0;
    bool m_hasStructure = false;
    bool m_lockDong = false;
    bool m_lockUar = false;
    bool m_registerBuilding = false; // the duplicate check's off switch, see above

    ListingEntryService *m_service = nullptr;
    CommunityStructureService *m_structure = nullptr;
    BusyOverlay *m_busy = nullptr;

    QPushButton *m_communityButton = nullptr;
    ChoiceComboBox *m_district = nullptr;
    ChoiceComboBox *m_area = nullptr;
    QComboBox *m_buildingCombo = nullptr;
    QComboBox *m_unitCombo = nullptr;
    QLineEdit *m_roomNo = nullptr;
    QSpinBox *m_rooms = nullptr;
    QSpinBox *m_halls = nullptr;
    QSpinBox *m_baths = nullptr;
    QSpinBox *m_kitchens = nullptr;
    QSpinBox *m_balconies = nullptr;
    UnitLineEdit *m_floor = nullptr;
    QLineEdit *m_allFloors = nullptr;
    UnitLineEdit *m_areaEdit = nullptr;
    UnitLineEdit *m_price = nullptr;
    UnitLineEdit *m_unitPrice = nullptr;
    ContactRowsWidget *m_contacts = nullptr;
    QWidget *m_phoneSet = nullptr;
    QRadioButton *m_showOwner = nullptr;
    QRadioButton *m_showPublisher = nullptr;
    QRadioButton *m_hiddenOwner = nullptr;
    QTextEdit *m_remark = nullptr;
    ChoiceListField *m_tags = nullptr;
    ChoiceListField *m_traffic = nullptr;
    ChoiceListField *m_facilities = nullptr;
    QPushButton *m_submit = nullptr;
    QPushButton *m_approve = nullptr;
    QPushButton *m_reject = nullptr;
};
