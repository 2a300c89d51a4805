// Community, building, unit and room of the entry form.
#include "entry_forms/listingentryform.h"

#include "entry_forms/chooser/addnewloudongmessagewidget.h"
#include "platform/siblinglibrary.h"
#include "services/communitystructureservice.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/forms/choicecombobox.h"
#include "widgets/forms/unitlineedit.h"

#include "datacenter.h"

#include <QComboBox>
#include <QLibrary>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

const QString kChooseText = QStringLiteral("请选择");
const QString kUnitPlaceholder = QStringLiteral("单元");
const QString kAddByHand = QStringLiteral("手动添加");

using JinGenHousePicked = void (*)(void *context, const QVariantMap &room);
using ChooseJinGenHouse = QWidget *(*)(QWidget *parent, const QVariantMap &args, JinGenHousePicked picked,
                                       void *context);

// Lives as long as the room picker; the form may be gone when the room is picked.
class RoomPickContext : public QObject
{
public:
    explicit RoomPickContext(ListingEntryForm *form) : form(form) {}
    QPointer<ListingEntryForm> form;

    static void picked(void *context, const QVariantMap &room)
    {
        auto *self = static_cast<RoomPickContext *>(context);
        if (self->form)
            self->form->dealChooseRoomMessage(room);
    }
};

int idNumber(const QString &id)
{
    return qMax(0, id.trimmed().toInt());
}

// A typed structure value or a chosen one: shown with its unit word (the word is part of
// the name the list shows).
template <typename Entry>
int indexOfName(const QList<Entry> &list, const QString &name)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).name == name)
            return i;
    }
    return -1;
}

} // namespace

// Changing the community of a listing already in the book is for the joint-sale manager and
// for the agent who entered it; a reviewer corrects the rest and rejects a wrong community.
void ListingEntryForm::deal_chooseXiaoQu()
{
    if (m_isEdit && !DataCenter::isJointSaleManger && m_model.userphone != DataCenter::UserPhoneNumber) {
        AlertWidget::warning(QStringLiteral("您当前没有修改该房源小区的权限，请联系管理员开通！"));
        return;
    }
    const bool onlyCommunity = !m_community.isEmpty() && !m_hasStructure;
    auto *chooser = new ChooseHouseMessageStackWidget(
        this, onlyCommunity ? ChooseHouseMessageStackWidget::CommunityOnly : ChooseHouseMessageStackWidget::FullChoice);
    chooser->setObjectName(QStringLiteral("houseChooser"));
    chooser->setWindowFlags(Qt::Tool);
    chooser->setWindowTitle(onlyCommunity ? QStringLiteral("选择小区") : QStringLiteral("选择小区楼栋"));
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &ChooseHouseMessageStackWidget::chooseSuccess, this, [this, chooser](const auto &msg) {
        dealChooseMessage(msg);
        chooser->close();
    });
    connect(chooser, &ChooseHouseMessageStackWidget::closeWidget, chooser, &QWidget::close);
    chooser->resize(600, 520);
    chooser->show();
}

void ListingEntryForm::dealChooseMessage(const ChooseHouseMessageStackWidget::HouseMsg &msg)
{
    const QString previous = communityIdText();
    m_community = msg.community;
    const QString name = m_community.value(QStringLiteral("name")).toString();
    m_communityButton->setText(name.isEmpty() ? QStringLiteral("请选择小区") : name);
    const auto text = [this](const char *key) { return m_community.value(QLatin1String(key)).toString(); };
    const QString district = text("district").isEmpty() ? text("districtname") : text("district");
    const QString area = text("area").isEmpty() ? text("areaname") : text("area");
    if (!district.isEmpty())
        m_district->setValue(district);
    if (!area.isEmpty())
        m_area->setValue(area);
    if (!text("address").isEmpty())
        findChild<QLineEdit *>(QStringLiteral("adresslineEdit"))->setText(text("address"));

    if (previous != communityIdText()) {
        m_lockDong = m_lockUar = false;
        m_buildings = CommunityStructure::buildingsOfCommunity(m_community);
        m_hasStructure = !m_buildings.isEmpty();
        m_units.clear();
        if (!m_hasStructure)
            withoutStructureUnits();
    }
    m_building = msg.louDong;
    m_unit = msg.danYuan;
    // A building of the community's own list has its own units, asked for below.
    const bool listedBuilding = m_hasStructure && !m_building.id.isEmpty();
    if (listedBuilding)
        m_units.clear();
    if (!m_building.name.isEmpty() && indexOfName(m_buildings, m_building.name) < 0)
        m_buildings << m_building;
    if (!m_unit.name.isEmpty() && indexOfName(m_units, m_unit.name) < 0)
        m_units << m_unit;
    m_registerBuilding = m_building.jinggeng;
    showBuildings();
    showUnits();
    if (!msg.room.name.isEmpty()) {
        m_roomNo->setText(msg.room.name);
        m_roomId = idNumber(msg.room.id);
    }
    const QString id = communityIdText();
    if (!id.isEmpty()) {
        if (m_community.value(QStringLiteral("myid")).toInt() > 0)
            downloadCommunityLockState(id);
        downloadXiaoQuLouDong(id);
        if (listedBuilding)
            m_structure->fetchUnits(id, m_building);
    }
    checkRepeat();
}

QString ListingEntryForm::communityIdText() const
{
    const QString id = m_community.value(QStringLiteral("id")).toString();
    if (!id.isEmpty() && id != QLatin1String("0"))
        return id;
    const int myid = m_community.value(QStringLiteral("myid")).toInt();
    return myid > 0 ? QString::number(myid) : QString();
}

void ListingEntryForm::downloadXiaoQuLouDong(const QString &communityId)
{
    m_structure->fetchBuildings(communityId);
}

void ListingEntryForm::downloadCommunityLockState(const QString &communityId)
{
    m_structure->fetchLocks(communityId);
}

void ListingEntryForm::dealLockData(bool lockdong, bool lockuar)
{
    m_lockDong = lockdong;
    m_lockUar = lockuar;
    showBuildings();
    showUnits();
}

// The community's buildings; one chosen before (or taken from the record) stays chosen.
void ListingEntryForm::dealSearchData(const QList<CommunityStructure::LouDong> &buildings)
{
    m_buildings = buildings;
    m_hasStructure = !buildings.isEmpty();
    const int known = indexOfName(m_buildings, m_building.name);
    if (known >= 0) {
        // The list knows the building: take its id and register flag.
        m_building = m_buildings.at(known);
        m_registerBuilding = m_building.jinggeng;
    } else if (!m_building.name.isEmpty()) {
        m_buildings << m_building;
    } else if (m_hasStructure) {
        m_units.clear(); // the units come with the building
        showUnits();
    }
    showBuildings();
    if (known >= 0 && m_units.isEmpty() && !m_building.id.isEmpty())
        m_structure->fetchUnits(communityIdText(), m_building);
}

// "请选择", the buildings, then "手动添加" unless the community locks its buildings.
void ListingEntryForm::showBuildings()
{
    const QSignalBlocker quiet(m_buildingCombo);
    m_buildingCombo->clear();
    m_buildingCombo->addItem(kChooseText);
    for (const CommunityStructure::LouDong &building : qAsConst(m_buildings))
        m_buildingCombo->addItem(building.name);
    if (!m_lockDong)
        m_buildingCombo->addItem(kAddByHand);
    m_buildingCombo->setCurrentIndex(qMax(0, indexOfName(m_buildings, m_building.name) + 1));
}

// Without a structure the units are "0单元" … "20单元"; with one, its units and "手动添加"
// unless the community locks its units.
void ListingEntryForm::showUnits()
{
    const QSignalBlocker quiet(m_unitCombo);
    m_unitCombo->clear();
    m_unitCombo->addItem(kUnitPlaceholder);
    for (const CommunityStructure::DanYuan &unit : qAsConst(m_units))
        m_unitCombo->addItem(unit.name);
    if (m_hasStructure && !m_lockUar)
        m_unitCombo->addItem(kAddByHand);
    m_unitCombo->setCurrentIndex(qMax(0, indexOfName(m_units, m_unit.name) + 1));
}

void ListingEntryForm::withoutStructureUnits()
{
    m_units.clear();
    for (const QString &name : ListingChoices::buildingNumbersWithoutStructure())
        m_units << CommunityStructure::DanYuan{QString(), name, kUnitPlaceholder};
}

void ListingEntryForm::addloudong(const QString &text)
{
    if (text != kAddByHand) {
        louDongChooseIndexClick();
        return;
    }
    showBuildings(); // back to the chosen building until a typed one is taken
    auto *dialog = new AddNewLouDongMessageWidget(QStringLiteral("添加楼栋号"), QStringLiteral("请输入要添加的楼栋号"),
                                                  CommunityStructure::buildingSuffixes(), this);
    dialog->setObjectName(QStringLiteral("addLouDongDialog"));
    dialog->setWindowFlags(Qt::Tool);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &AddNewLouDongMessageWidget::backValue, this, [this, dialog](const QString &name, const QString &unit) {
        typedBuilding(name, unit);
        dialog->close();
    });
    connect(dialog, &AddNewLouDongMessageWidget::closeWidget, dialog, &QWidget::close);
    dialog->show();
}

void ListingEntryForm::adddanyuna(const QString &text)
{
    if (text != kAddByHand) {
        selectUnit(m_unitCombo->currentIndex() - 1);
        return;
    }
    showUnits();
    auto *dialog = new AddNewLouDongMessageWidget(QStringLiteral("添加单元号"), QStringLiteral("请输入要添加的单元"),
                                                  CommunityStructure::unitSuffixes(), this);
    dialog->setObjectName(QStringLiteral("addDanYuanDialog"));
    dialog->setWindowFlags(Qt::Tool);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &AddNewLouDongMessageWidget::backValue, this, [this, dialog](const QString &name, const QString &unit) {
        typedUnit(name, unit);
        dialog->close();
    });
    connect(dialog, &AddNewLouDongMessageWidget::closeWidget, dialog, &QWidget::close);
    dialog->show();
}

void ListingEntryForm::typedBuilding(const QString &name, const QString &suffix)
{
    const auto outcome = CommunityStructure::typedBuilding(name, suffix, m_buildings, m_lockDong,
                                                           CommunityStructure::mayAddStructure());
    if (outcome.kind == CommunityStructure::TypedOutcome::Refused) {
        if (!outcome.refusal.isEmpty())
            AlertWidget::warning(outcome.refusal);
        return;
    }
    if (outcome.kind == CommunityStructure::TypedOutcome::AddNew) {
        m_buildings << CommunityStructure::LouDong{QString(), outcome.name, outcome.unit, false};
        selectBuilding(m_buildings.size() - 1);
    } else {
        selectBuilding(outcome.index);
    }
}

void ListingEntryForm::typedUnit(const QString &name, const QString &suffix)
{
    const auto outcome = CommunityStructure::typedUnit(name, suffix, m_units, m_lockUar,
                                                       CommunityStructure::mayAddStructure());
    if (outcome.kind == CommunityStructure::TypedOutcome::Refused) {
        if (!outcome.refusal.isEmpty())
            AlertWidget::warning(outcome.refusal);
        return;
    }
    if (outcome.kind == CommunityStructure::TypedOutcome::AddNew)
        m_units << CommunityStructure::DanYuan{QString(), outcome.name, outcome.unit};
    selectUnit(outcome.kind == CommunityStructure::TypedOutcome::AddNew ? m_units.size() - 1 : outcome.index);
}

void ListingEntryForm::selectBuilding(int listIndex)
{
    m_building = m_buildings.value(listIndex);
    m_registerBuilding = m_building.jinggeng;
    showBuildings();
    louDongChooseIndexClick();
}

void ListingEntryForm::selectUnit(int listIndex)
{
    m_unit = m_units.value(listIndex);
    showUnits();
    checkRepeat();
}

// A building chosen from the list: its units are asked for (a typed one has none).
void ListingEntryForm::louDongChooseIndexClick()
{
    const CommunityStructure::LouDong chosen = m_buildings.value(m_buildingCombo->currentIndex() - 1);
    const bool changed = chosen.name != m_building.name || chosen.id != m_building.id;
    m_building = chosen;
    m_registerBuilding = chosen.jinggeng;
    if (changed || m_hasStructure) {
        m_unit = CommunityStructure::DanYuan();
        if (m_hasStructure)
            m_units.clear();
        else
            withoutStructureUnits();
        showUnits();
    }
    if (m_hasStructure && !m_building.id.isEmpty())
        m_structure->fetchUnits(communityIdText(), m_building);
    checkRepeat();
}

void ListingEntryForm::dealUnitData(const QList<CommunityStructure::DanYuan> &units)
{
    m_units = units;
    const int known = indexOfName(m_units, m_unit.name);
    if (known >= 0)
        m_unit = m_units.at(known);
    else if (!m_unit.name.isEmpty())
        m_units << m_unit;
    showUnits();
}

QString ListingEntryForm::buildingText() const
{
    return m_building.name;
}

QString ListingEntryForm::unitText() const
{
    return m_unit.name;
}

// The room picker of the community library. Without the library the agent types the room.
void ListingEntryForm::chooseRoom()
{
    QLibrary library(SiblingLibrary::filePath(QStringLiteral("qx_jointsale_community.dll")));
    const auto choose = library.load() ? reinterpret_cast<ChooseJinGenHouse>(library.resolve("chooseJinGenHouse")) : nullptr;
    if (!choose)
        return;
    auto *context = new RoomPickContext(this);
    const QVariantMap args{{QStringLiteral("editId"), m_isEdit ? m_model.id : 0},
                           {QStringLiteral("unitId"), idNumber(m_unit.id)},
                           {QStringLiteral("roomId"), m_roomId},
                           {QStringLiteral("isSale"), !m_kind.rent}};
    QWidget *picker = choose(this, args, &RoomPickContext::picked, context);
    if (picker)
        context->setParent(picker);
    else
        delete context;
}

void ListingEntryForm::dealChooseRoomMessage(const QVariantMap &room)
{
    m_roomNo->setText(room.value(QStringLiteral("name")).toString());
    m_roomId = room.value(QStringLiteral("rid")).toInt();
    m_structure->fetchRoomDetail(room.value(QStringLiteral("uid")).toString(), room.value(QStringLiteral("rid")).toString());
    checkRepeat();
}

void ListingEntryForm::dealRoomDetailMsg(const QVariantMap &room)
{
    const auto has = [&room](const char *key) { return room.contains(QLatin1String(key)); };
    const auto number = [&room](const char *key) { return room.value(QLatin1String(key)).toString(); };
    if (has("floors"))
        m_floor->setText(number("floors"));
    if (has("allfloors"))
        m_allFloors->setText(number("allfloors"));
    if (has("builtuparea"))
        m_areaEdit->setText(number("builtuparea"));
    const QList<QPair<const char *, QSpinBox *>> counts{{"room", m_rooms}, {"hall", m_halls}, {"huxingwei", m_baths},
                                                         {"kitchen", m_kitchens}, {"balcony", m_balconies}};
    for (const auto &count : counts) {
        if (has(count.first))
            count.second->setValue(room.value(QLatin1String(count.first)).toInt());
    }
}

// A room number never starts with "0" and holds no blanks.
void ListingEntryForm::fangHaoFormatCheck()
{
    QString text = m_roomNo->text();
    text.remove(QLatin1Char(' '));
    if (!text.startsWith(QLatin1Char('0')))
        return;
    const QSignalBlocker quiet(m_roomNo);
    m_roomNo->setText(text.mid(1));
}
