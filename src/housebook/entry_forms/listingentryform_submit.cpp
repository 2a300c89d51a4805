// What the entry form posts, the rules it checks first, the review and the fill from a record.
#include "entry_forms/listingentryform.h"

#include "entry_forms/choicelistfield.h"
#include "entry_forms/contactrowswidget.h"
#include "platform/housebookcodes.h"
#include "sql/housebookset_sqltable.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/forms/choicecombobox.h"
#include "widgets/forms/tagchooserwidget.h"
#include "widgets/forms/unitlineedit.h"

#include "datacenter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTextEdit>

#include <functional>

namespace {

// How long after its last change a graded or closed listing keeps its owner's phone from
// other agents editing it.
constexpr int kPhoneProtectionDays = 30;
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

QString positive(int value)
{
    return value > 0 ? QString::number(value) : QString();
}

double numberOf(const QLineEdit *edit)
{
    return edit->text().trimmed().toDouble();
}

} // namespace

// ---- Post forms -------------------------------------------------------------------------

// Rows the add form and the edit form share, by post key; each table picks them in its order.
QList<FormField> ListingEntryForm::commonFacts() const
{
    return {
        {QStringLiteral("roomNolineEdit"), QStringLiteral("roomNo"), QStringLiteral("roomNo")},
        {QStringLiteral("comboBox_quYu"), QStringLiteral("district"), QStringLiteral("district"), FormField::Choice},
        {QStringLiteral("comboBox_pianQu"), QStringLiteral("area"), QStringLiteral("area"), FormField::Choice},
        {QStringLiteral("adresslineEdit"), QStringLiteral("address"), QStringLiteral("address")},
        {QStringLiteral("floorslineEdit"), QStringLiteral("floors"), QStringLiteral("floors"), FormField::Integer},
        {QStringLiteral("allfloorslineEdit"), QStringLiteral("allfloors"), QStringLiteral("allfloors"), FormField::Integer},
        {QStringLiteral("priceLineEdit"), QStringLiteral("price"), QStringLiteral("price"), FormField::Decimal},
        {QStringLiteral("builtupareaLineEdit"), QStringLiteral("builtuparea"), QStringLiteral("builtuparea"),
         FormField::Decimal},
    };
}

QString ListingEntryForm::communityReference(const QString &key) const
{
    const int myid = m_community.value(QStringLiteral("myid")).toInt();
    const QVariant id = m_community.value(QStringLiteral("id"));
    const bool textId = id.type() == QVariant::String && !id.toString().isEmpty();
    if (key == QLatin1String("mycommunityid"))
        return positive(myid);
    if (myid > 0)
        return QString();
    if (key == QLatin1String("scommunityid"))
        return textId ? id.toString() : QString();
    return textId ? QString() : QString::number(qMax(0, id.toInt()));
}

// The add form, sale and rent in one table: a row whose widget the kind lacks is left out,
// so the rent form posts no certificate or garage and the sale form no rent terms.
QList<FormField> ListingEntryForm::addFields() const
{
    using F = FormField;
    const auto computed = [](const QString &key, std::function<QString()> fn, int flags = F::NoFlags) {
        return F::computed(key, std::move(fn), flags);
    };
    const QList<FormField> facts = commonFacts();
    QList<FormField> rows{
        F::constant(QStringLiteral("types"), m_kind.typesCode),
        computed(QStringLiteral("name"), [this] { return m_community.value(QStringLiteral("name")).toString(); }),
        computed(QStringLiteral("buildingNo"), [this] { return buildingText(); }),
    };
    rows << facts;
    rows << QList<FormField>{
        computed(QStringLiteral("contacts"), [this] { return m_contacts->contactsJson(); }),
        {QStringLiteral("comboBox_zhuangXiu"), QStringLiteral("renovation"), QString(), F::Choice},
        {QStringLiteral("comboBox_ChanZhen"), QStringLiteral("property"), QString(), F::Choice},
        {QStringLiteral("comboBox_houseType"), QStringLiteral("houseType"), QString(), F::Choice},
        {QStringLiteral("remarktextEdit"), QStringLiteral("remark"), QString()},
        {QStringLiteral("checkBox_remarkShow"), QStringLiteral("remarkshow"), QString(), F::Check},
        {QStringLiteral("garageLineEdit"), QStringLiteral("garage"), QString()},
        {QStringLiteral("checkBox_carHouse"), QStringLiteral("havegarage"), QString(), F::Check},
        {QStringLiteral("comboBox_ruZhuTime"), QStringLiteral("ruzhutime"), QString(), F::Choice},
        {QStringLiteral("comboBox_payWay"), QStringLiteral("payway"), QString(), F::Choice},
        {QStringLiteral("comboBox_rentWay"), QStringLiteral("rentway"), QString(), F::Choice},
        {QStringLiteral("tagChooser"), QStringLiteral("tags"), QString(), F::Tags},
        {QStringLiteral("peitaoChooser"), QStringLiteral("peitao"), QString(), F::Tags},
        {QStringLiteral("comboBox_Orientate"), QStringLiteral("toward"), QString(), F::Choice},
        {QStringLiteral("keysLineEdit"), QStringLiteral("keys"), QString()},
        {QStringLiteral("checkBox_key"), QStringLiteral("havekeys"), QString(), F::Check},
        {QStringLiteral("comboBox_seeTime"), QStringLiteral("seetime"), QString(), F::Choice},
        {QStringLiteral("comboBox_source"), QStringLiteral("source"), QString(), F::Choice},
        {QStringLiteral("trafficChooser"), QStringLiteral("traffic"), QString(), F::Tags},
        {QStringLiteral("comboBox_chanQuan"), QStringLiteral("propertyquan"), QString(), F::Choice},
        // Kind and origin codes of the server's own; a record that has them keeps them.
        computed(QStringLiteral("stype"), [this] { return QString::number(m_model.stype); }),
        computed(QStringLiteral("sf"), [this] { return QString::number(m_model.sf); }),
        computed(QStringLiteral("unitNo"), [this] { return unitText(); }),
        {QStringLiteral("comboBox_zuUnit"), QStringLiteral("zuunit"), QString(), F::Choice},
        {QStringLiteral("roomSpinBox"), QStringLiteral("room"), QString()},
        {QStringLiteral("hallSpinBox"), QStringLiteral("hall"), QString()},
        {QStringLiteral("huxingweiSpinBox"), QStringLiteral("huxingwei"), QString()},
        computed(QStringLiteral("dongid"), [this] { return positive(m_building.id.toInt()); }, F::SkipEmpty),
        computed(QStringLiteral("unitid"), [this] { return positive(m_unit.id.toInt()); }, F::SkipEmpty),
        computed(QStringLiteral("roomid"), [this] { return positive(m_roomId); }, F::SkipEmpty),
        computed(QStringLiteral("danyuanunit"), [this] { return m_unit.unit; }),
        computed(QStringLiteral("dongunit"), [this] { return m_building.unit; }),
        {QStringLiteral("kitchenSpinBox"), QStringLiteral("kitchen"), QString()},
        {QStringLiteral("balconySpinBox"), QStringLiteral("balcony"), QString()},
        computed(QStringLiteral("imgurls"), [this] { return m_photoUrls.join(QLatin1Char(',')); }, F::SkipEmpty),
    };
    for (const QString &key : {QStringLiteral("mycommunityid"), QStringLiteral("scommunityid"), QStringLiteral("communityid")})
        rows << computed(key, [this, key] { return communityReference(key); }, F::SkipEmpty);
    const bool withSource = !m_sourceId.isEmpty() && !m_sourceType.isEmpty();
    rows << computed(QStringLiteral("sourceid"), [this, withSource] { return withSource ? m_sourceId : QString(); }, F::SkipEmpty);
    rows << computed(QStringLiteral("sourcetype"), [this, withSource] { return withSource ? m_sourceType : QString(); }, F::SkipEmpty);
    rows << computed(QStringLiteral("yinsifangwen"), [this] { return m_hiddenOwner->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); });
    return FormBinder::presentIn(const_cast<ListingEntryForm *>(this), rows);
}

// The edit form: every key is sent, the kind's missing fields as "" (a sale listing has no
// rent terms); the rent form adds its rent unit at the end.
QList<FormField> ListingEntryForm::editFields() const
{
    QHash<QString, FormField> add;
    for (const FormField &field : FormBinder::presentIn(const_cast<ListingEntryForm *>(this), addFields()))
        add.insert(field.postKey, field);
    const auto rowFor = [&add](const QString &key, const QString &addKey) {
        FormField field = add.value(addKey, FormField::constant(key, QString()));
        field.postKey = key;
        field.flags = FormField::NoFlags;
        return field;
    };
    QList<FormField> rows{
        FormField::computed(QStringLiteral("myid"), [this] { return QString::number(m_model.id); }),
        FormField::computed(QStringLiteral("mycommunityid"), [this] { return communityReference(QStringLiteral("mycommunityid")); }),
        FormField::computed(QStringLiteral("scommunityid"), [this] { return communityReference(QStringLiteral("scommunityid")); }),
        FormField::computed(QStringLiteral("communityid"), [this] { return communityReference(QStringLiteral("communityid")); }),
    };
    const QStringList keys{"name", "unitNo", "buildingNo", "roomNo", "district", "area", "address", "floors",
                           "allfloors", "price", "builtuparea", "tags", "contacts", "renovation", "property",
                           "propertyquan", "housetype", "remark", "remarkshow", "garage", "toward", "keys", "seetime",
                           "source", "traffic", "havegarage", "havekeys", "payway", "peitao", "rentway", "ruzhutime",
                           "room", "hall", "huxingwei", "danyuanunit", "dongunit", "yinsifangwen", "dongid", "unitid",
                           "roomid", "kitchen", "balcony"};
    for (const QString &key : keys)
        rows << rowFor(key, key == QLatin1String("housetype") ? QStringLiteral("houseType") : key);
    if (m_kind.rent)
        rows << rowFor(QStringLiteral("zuunit"), QStringLiteral("zuunit"));
    // Ids of a listing already in the book are sent as they are, 0 included.
    for (FormField &row : rows) {
        if (row.postKey == QLatin1String("dongid"))
            row = FormField::computed(row.postKey, [this] { return QString::number(qMax(0, m_building.id.toInt())); });
        else if (row.postKey == QLatin1String("unitid"))
            row = FormField::computed(row.postKey, [this] { return QString::number(qMax(0, m_unit.id.toInt())); });
        else if (row.postKey == QLatin1String("roomid"))
            row = FormField::computed(row.postKey, [this] { return QString::number(m_roomId); });
    }
    return rows;
}

ListingEntryService::PostForm ListingEntryForm::addPostForm() const
{
    return FormBinder(const_cast<ListingEntryForm *>(this), addFields()).collect();
}

ListingEntryService::PostForm ListingEntryForm::editPostForm() const
{
    return FormBinder(const_cast<ListingEntryForm *>(this), editFields()).collect();
}

// ---- Rules ------------------------------------------------------------------------------

bool ListingEntryForm::repeatRuleHas(const QString &item) const
{
    const QStringList items = HouseBookSet_SqlTable(nullptr, HouseBookCodes::kJointSale).houseRepeat().split(QLatin1Char(','));
    for (const QString &entry : items) {
        if (entry.trimmed() == item)
            return true;
    }
    return false;
}

// The rules in the order the agent is told of them; the first one broken is the only message.
QString ListingEntryForm::firstFailure() const
{
    const bool unitRequired = repeatRuleHas(QStringLiteral("3"));
    const QList<QPair<std::function<bool()>, QString>> rules{
        {[this] { return m_community.value(QStringLiteral("name")).toString().trimmed().isEmpty(); }, QStringLiteral("请填写小区名")},
        {[this] { return buildingText().trimmed().isEmpty(); }, QStringLiteral("请填写楼栋号")},
        {[this, unitRequired] { return unitRequired && unitText().trimmed().isEmpty(); }, QStringLiteral("请填写单元号")},
        {[this] { return m_roomNo->text().trimmed().isEmpty(); }, QStringLiteral("请填写房号")},
        {[this] { return m_rooms->value() == 0 && m_halls->value() == 0 && m_baths->value() == 0; }, QStringLiteral("请填写户型")},
        {[this] { return m_floor->text().trimmed().toInt() == 0; }, QStringLiteral("请填写所在楼层")},
        {[this] { return m_allFloors->text().trimmed().toInt() < m_floor->text().trimmed().toInt(); },
         QStringLiteral("所在楼层不能大于总楼层")},
        {[this] { return numberOf(m_price) == 0; }, QStringLiteral("请填写价格")},
        {[this] { return numberOf(m_areaEdit) == 0; }, QStringLiteral("请填写面积")},
    };
    for (const auto &rule : rules) {
        if (rule.first())
            return rule.second;
    }
    return m_contacts->firstProblem();
}

// ---- Duplicate check --------------------------------------------------------------------

void ListingEntryForm::checkRepeat()
{
    if (m_isEdit || m_isReview || m_registerBuilding || !repeatRuleHas(QStringLiteral("5")))
        return;
    const QString name = m_community.value(QStringLiteral("name")).toString();
    if (name.isEmpty() || buildingText().isEmpty() || m_roomNo->text().isEmpty())
        return;
    m_service->checkDuplicate(m_kind.rent, name, buildingText(), m_roomNo->text(), unitText());
}

// The rent form lets the agent go on with a listing the book holds under the same address
// ("继续"); otherwise the second button only closes the box.
void ListingEntryForm::onDuplicate(const QString &message, int houseId)
{
    auto *box = new AlertWidget(message, AlertWidget::WarningIcon, AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("查看"));
    box->setCancleText(m_kind.rent && message.contains(QStringLiteral("相同")) ? QStringLiteral("继续")
                                                                              : QStringLiteral("取消"));
    QPointer<ListingEntryForm> self(this);
    connect(box, &AlertWidget::sureClick, this, [self, houseId] {
        if (self)
            emit self->viewListingRequested(houseId);
    });
}

// ---- Price ------------------------------------------------------------------------------

// The field being typed in drives the other: unit price (1) → total, total (2) → unit price.
void ListingEntryForm::priceCalculate(int type)
{
    if (!m_unitPrice)
        return;
    const double area = numberOf(m_areaEdit);
    if (area == 0)
        return;
    if (type == 1)
        m_price->setText(QString::number(numberOf(m_unitPrice) * area / 10000.0, 'f', 2));
    else if (type == 2)
        m_unitPrice->setText(QString::number(numberOf(m_price) * 10000.0 / area, 'f', 0));
}

// ---- Submission and review --------------------------------------------------------------

void ListingEntryForm::sureButtonClick()
{
    submit(false);
}

void ListingEntryForm::tongGuoReview()
{
    submit(true);
}

void ListingEntryForm::submit(bool approve)
{
    // A click while a save runs posts nothing.
    if (m_service->isBusy())
        return;
    const QString failure = firstFailure();
    if (!failure.isEmpty()) {
        AlertWidget::warning(failure);
        return;
    }
    if (approve)
        m_service->approveListing(editPostForm());
    else if (m_isEdit)
        m_service->editListing(editPostForm());
    else
        m_service->addListing(addPostForm());
}

void ListingEntryForm::boHuiReview()
{
    if (m_service->isBusy())
        return;
    auto *box = new AlertWidget(QStringLiteral("您确定要驳回该房源吗？"), AlertWidget::WarningIcon, AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("驳回"));
    QPointer<ListingEntryForm> self(this);
    connect(box, &AlertWidget::sureClick, this, [self] {
        if (self)
            self->m_service->rejectListing(self->m_model.id);
    });
}

void ListingEntryForm::onSaved(ListingEntryService::Operation operation, int houseId)
{
    // An edit, approval or rejection is about the listing the form shows.
    emit addHouseSuccess(operation == ListingEntryService::Add ? houseId : (houseId > 0 ? houseId : m_model.id));
}

// ---- Fill from a record -----------------------------------------------------------------

void ListingEntryForm::setSourceData(const QString &sourceId, const QString &sourceType, int flag)
{
    m_sourceId = sourceId;
    m_sourceType = sourceType;
    m_sourceFlag = flag;
}

void ListingEntryForm::setHouseData(const HouseMessage_DataSqlTable::HouseMessageData &model)
{
    m_model = model;
    fillFromRecord();
    if (m_submit && m_isEdit)
        m_submit->setText(QStringLiteral("编辑保存"));
    hideContractPhone();
}

void ListingEntryForm::fillFromRecord()
{
    const auto &r = m_model;
    m_community = {{QStringLiteral("name"), r.name}, {QStringLiteral("myid"), r.mycommunityid},
                   {QStringLiteral("id"), r.mycommunityid}};
    m_communityButton->setText(r.name.isEmpty() ? QStringLiteral("请选择小区") : r.name);
    m_building = {r.dongid > 0 ? QString::number(r.dongid) : QString(), r.buildingNo, r.dongunit, false};
    m_unit = {r.unitid > 0 ? QString::number(r.unitid) : QString(), r.unitNo, r.danyuanunit};
    m_roomId = r.roomid;
    m_buildings.clear();
    if (!r.buildingNo.isEmpty())
        m_buildings << m_building;
    if (!r.unitNo.isEmpty() && !ListingChoices::buildingNumbersWithoutStructure().contains(r.unitNo))
        m_units << m_unit;
    showBuildings();
    showUnits();

    int rooms = r.room, halls = r.hall, baths = r.huxingwei;
    if (rooms == 0 && halls == 0 && baths == 0 && !r.hutype.isEmpty()) {
        // Older records keep the layout as text only ("3室2厅1卫").
        const QStringList parts = r.hutype.split(QRegularExpression(QStringLiteral("[室厅卫]")));
        rooms = parts.value(0).trimmed().toInt();
        halls = parts.value(1).trimmed().toInt();
        baths = parts.value(2).trimmed().toInt();
    }
    QVariantMap record{
        {"roomNo", r.roomNo}, {"district", r.district}, {"area", r.area}, {"address", r.address},
        {"floors", r.floors}, {"allfloors", r.allfloors}, {"price", r.price}, {"builtuparea", r.builtuparea},
        {"renovation", ListingChoices::currentDecoration(r.renovation)}, {"property", r.property},
        {"housetype", ListingChoices::currentHouseType(r.housetype)}, {"remark", r.remark},
        {"remarkshow", r.remarkshow}, {"garage", r.garage}, {"havegarage", r.havegarage}, {"ruzhutime", r.ruzhutime},
        {"payway", r.payway}, {"rentway", r.rentway}, {"tags", r.tags}, {"peitao", r.peitao}, {"toward", r.toward},
        {"keys", r.keys}, {"havekeys", r.havekeys}, {"seetime", r.seetime}, {"source", r.source},
        {"traffic", r.traffic}, {"propertyquan", r.propertyquan}, {"zuunit", r.zuunit}, {"room", rooms},
        {"hall", halls}, {"huxingwei", baths}, {"kitchen", r.kitchen}, {"balcony", r.balcony}};
    // A record without a rent unit keeps the form's first one.
    if (r.zuunit.isEmpty())
        record.remove(QStringLiteral("zuunit"));
    // District first: choosing it fills the area list the area is then chosen from.
    m_district->setValue(r.district);
    QList<FormField> rows;
    for (FormField field : FormBinder::presentIn(this, editFields())) {
        if (field.objectName.isEmpty())
            continue;
        field.recordField = field.postKey;
        rows << field;
    }
    FormBinder(this, rows).fill(record);
    for (ChoiceListField *field : {m_tags, m_traffic, m_facilities}) {
        if (field)
            field->refresh();
    }
    // The unit price is not stored with the form; it follows from the price and the area.
    if (m_unitPrice && r.builtuparea > 0 && r.price > 0)
        m_unitPrice->setText(QString::number(r.price * 10000.0 / r.builtuparea, 'f', 0));
    m_remark->setVisible(!r.remark.isEmpty());
    m_contacts->setContacts(ContactRowsWidget::parse(r.contacts));
    if (r.yinsifangwen == 1)
        m_hiddenOwner->setChecked(true);
}

// A graded owner, or a listing that left the market, keeps its phone protected for a while
// after its last change; other agents editing it see the number masked unless they are the
// joint-sale manager or hold the right to see protected phones.
void ListingEntryForm::hideContractPhone()
{
    if (!m_isEdit)
        return;
    static const QStringList grades{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    static const QStringList closed{"暂不售", "电话无效", "已定", "成交", "已售", "无效"};
    bool graded = false;
    for (const QVariantMap &contact : m_contacts->contacts())
        graded = graded || grades.contains(contact.value(QStringLiteral("level")).toString().trimmed());
    if (!graded && !closed.contains(m_model.newstate))
        return;
    const QDateTime changed = QDateTime::fromString(m_model.lasttime, kTimeFormat);
    const bool protectedNow = changed.isValid() && changed.addDays(kPhoneProtectionDays) > QDateTime::currentDateTime();
    const bool maySee = DataCenter::isJointSaleManger
                        || UserMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale)
                               .isHaveAuthority(111, QString(), m_model.deptid);
    m_contacts->setPhonesProtected(protectedNow && !maySee);
}
