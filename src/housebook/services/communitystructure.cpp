#include "services/communitystructure.h"

#include "platform/housebookcodes.h"
#include "sql/usermessage_datasqltable.h"

#include "datacenter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace CommunityStructure {

namespace {

// Users who may add buildings and units beyond the community's list.
constexpr int kAddStructureRight = 121;

const QString kNoSuffix = QStringLiteral("无");
const QString kBuildingWord = QStringLiteral("栋");

// A scalar as text: ids and names arrive as texts or numbers ("12", 12, 12.0).
QString textOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString().trimmed();
    case QJsonValue::Double: {
        const double d = value.toDouble();
        const qint64 whole = qint64(d);
        return double(whole) == d ? QString::number(whole) : QString::number(d, 'g', 15);
    }
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return QString();
    }
}

bool flagOf(const QJsonValue &value)
{
    const QString text = textOf(value).toLower();
    return text == QLatin1String("1") || text == QLatin1String("true");
}

// The entries of a list reply: an array, an array under a wrapping key, an object keyed by
// id, a single entry, or any of these sent as JSON text.
QJsonArray entriesOf(const QJsonValue &data, int depth = 0)
{
    if (depth > 3)
        return {};
    if (data.isArray())
        return data.toArray();
    if (data.isString()) {
        const QByteArray text = data.toString().trimmed().toUtf8();
        if (!text.startsWith('[') && !text.startsWith('{'))
            return {};
        const QJsonDocument doc = QJsonDocument::fromJson(text);
        return entriesOf(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()), depth + 1);
    }
    if (!data.isObject())
        return {};
    const QJsonObject object = data.toObject();
    for (const char *key : {"list", "data", "rows", "items"}) {
        const QJsonValue inner = object.value(QLatin1String(key));
        if (inner.isArray() || inner.isObject())
            return entriesOf(inner, depth + 1);
    }
    if (object.contains(QLatin1String("name")))
        return QJsonArray{object};
    QJsonArray values;
    for (const QJsonValue &value : object)
        values.append(value);
    return values;
}

// The suffix a name already ends with ("5号楼" → "号楼"), the longest one that fits.
QString endingSuffix(const QString &name, const QStringList &suffixes)
{
    QString found;
    for (const QString &suffix : suffixes) {
        if (suffix != kNoSuffix && name.endsWith(suffix) && name.size() > suffix.size() && suffix.size() > found.size())
            found = suffix;
    }
    return found;
}

// A name with its unit word, unless it already carries it.
QString withUnit(const QString &name, const QString &unit)
{
    return unit.isEmpty() || name.endsWith(unit) ? name : name + unit;
}

LouDong buildingFrom(const QJsonValue &entry)
{
    LouDong building;
    if (!entry.isObject()) {
        const QString name = textOf(entry);
        building.unit = endingSuffix(name, buildingSuffixes());
        if (building.unit.isEmpty() && !name.isEmpty())
            building.unit = kBuildingWord;
        building.name = withUnit(name, building.unit);
        return building;
    }
    const QJsonObject object = entry.toObject();
    building.id = textOf(object.value(QLatin1String("id")));
    building.unit = textOf(object.value(QLatin1String("unit")));
    const QString name = textOf(object.value(QLatin1String("name")));
    if (building.unit.isEmpty())
        building.unit = endingSuffix(name, buildingSuffixes());
    building.name = name.isEmpty() ? QString() : withUnit(name, building.unit);
    building.jinggeng = flagOf(object.value(QLatin1String("jinggeng")));
    return building;
}

QList<LouDong> buildingsFrom(const QJsonArray &entries)
{
    QList<LouDong> list;
    for (const QJsonValue &entry : entries) {
        const LouDong building = buildingFrom(entry);
        if (!building.name.isEmpty())
            list.append(building);
    }
    return list;
}

QString normalised(const QString &name)
{
    QString text = name;
    text.remove(QLatin1Char(' '));
    return text.toLower();
}

template <typename Entry>
int indexByName(const QList<Entry> &list, const QString &name)
{
    const QString wanted = normalised(name);
    for (int i = 0; i < list.size(); ++i) {
        if (normalised(list.at(i).name) == wanted)
            return i;
    }
    return -1;
}

TypedOutcome refused(const QString &text)
{
    TypedOutcome outcome;
    outcome.refusal = text;
    return outcome;
}

TypedOutcome taken(int index)
{
    TypedOutcome outcome;
    outcome.kind = TypedOutcome::TakeExisting;
    outcome.index = index;
    return outcome;
}

TypedOutcome added(const QString &name, const QString &unit)
{
    TypedOutcome outcome;
    outcome.kind = TypedOutcome::AddNew;
    outcome.name = name;
    outcome.unit = unit;
    return outcome;
}

// The texts of one kind of typed structure value.
struct StructureTexts
{
    QString empty;
    QString locked;
    QString noRight;
};

template <typename Entry>
TypedOutcome typedStructure(const QString &typed, const QString &suffix, const QList<Entry> &list, bool locked,
                            bool mayAdd, const StructureTexts &texts)
{
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return refused(texts.empty);
    const QString unit = suffix == kNoSuffix ? QString() : suffix.trimmed();
    const QString full = withUnit(name, unit);
    const int existing = indexByName(list, full);
    if (existing >= 0)
        return taken(existing);
    if (locked)
        return refused(texts.locked);
    if (!mayAdd)
        return refused(texts.noRight);
    return added(full, unit);
}

} // namespace

QStringList buildingSuffixes()
{
    return {QStringLiteral("无"), QStringLiteral("栋"), QStringLiteral("座"), QStringLiteral("号"),
            QStringLiteral("号楼"), QStringLiteral("胡同"), QStringLiteral("弄"), QStringLiteral("阁"),
            QStringLiteral("苑"), QStringLiteral("轩"), QStringLiteral("巷")};
}

QStringList unitSuffixes()
{
    return {QStringLiteral("无"), QStringLiteral("单元"), QStringLiteral("弄"), QStringLiteral("街")};
}

QList<QVariantMap> communitiesOf(const QJsonValue &data)
{
    QList<QVariantMap> list;
    for (const QJsonValue &entry : entriesOf(data)) {
        if (!entry.isObject() || textOf(entry.toObject().value(QLatin1String("name"))).isEmpty())
            continue;
        list.append(entry.toObject().toVariantMap());
    }
    return list;
}

QList<LouDong> buildingsOfCommunity(const QVariantMap &community)
{
    const QVariant building = community.value(QStringLiteral("building"));
    QJsonValue value = QJsonValue::fromVariant(building);
    // A plain text of names ("1,2,3") is a list too.
    if (value.isString() && !value.toString().trimmed().startsWith(QLatin1Char('['))) {
        QJsonArray names;
        for (const QString &name : value.toString().split(QRegExp(QStringLiteral("[,，]")), Qt::SkipEmptyParts))
            names.append(name.trimmed());
        value = names;
    }
    return buildingsFrom(entriesOf(value));
}

QList<LouDong> buildingsOf(const QJsonValue &data)
{
    return buildingsFrom(entriesOf(data));
}

QList<DanYuan> unitsOf(const QJsonValue &data)
{
    QList<DanYuan> list;
    for (const QJsonValue &entry : entriesOf(data)) {
        const QJsonObject object = entry.toObject();
        DanYuan unit;
        unit.id = textOf(object.value(QLatin1String("id")));
        unit.unit = textOf(object.value(QLatin1String("unit")));
        const QString name = entry.isObject() ? textOf(object.value(QLatin1String("name"))) : textOf(entry);
        if (name.isEmpty())
            continue;
        if (unit.unit.isEmpty())
            unit.unit = endingSuffix(name, unitSuffixes());
        unit.name = withUnit(name, unit.unit);
        list.append(unit);
    }
    return list;
}

namespace {

// Rooms carry their floor; where the reply leaves it out, a room number such as "1203" says it.
int floorOf(const QJsonObject &object, const QString &name)
{
    const int floor = textOf(object.value(QLatin1String("floor"))).toInt();
    if (floor != 0)
        return floor;
    bool numeric = false;
    const int number = name.toInt(&numeric);
    return numeric && number >= 100 ? number / 100 : 0;
}

QList<RoomModel> roomsFrom(const QJsonValue &data, bool fromRegister)
{
    QList<RoomModel> list;
    for (const QJsonValue &entry : entriesOf(data)) {
        const QJsonObject object = entry.toObject();
        RoomModel room;
        room.name = entry.isObject() ? textOf(object.value(QLatin1String("name"))) : textOf(entry);
        if (room.name.isEmpty())
            continue;
        room.id = textOf(object.value(QLatin1String("id")));
        if (fromRegister) {
            room.unitId = textOf(object.value(QLatin1String("unitid")));
            room.roomId = textOf(object.value(QLatin1String("roomid")));
        }
        room.floor = floorOf(object, room.name);
        list.append(room);
    }
    return list;
}

} // namespace

QList<RoomModel> roomsOf(const QJsonValue &data)
{
    return roomsFrom(data, false);
}

QList<RoomModel> registerRoomsOf(const QJsonValue &data)
{
    return roomsFrom(data, true);
}

void locksOf(const QJsonValue &data, bool *lockdong, bool *lockuar)
{
    QJsonObject object = data.toObject();
    if (data.isString())
        object = QJsonDocument::fromJson(data.toString().toUtf8()).object();
    if (lockdong)
        *lockdong = flagOf(object.value(QLatin1String("lockdong")));
    if (lockuar)
        *lockuar = flagOf(object.value(QLatin1String("lockuar")));
}

TypedOutcome typedBuilding(const QString &typed, const QString &suffix, const QList<LouDong> &list, bool locked,
                           bool mayAdd)
{
    return typedStructure(typed, suffix, list, locked, mayAdd,
                          {QStringLiteral("请填写楼栋号名称！"),
                           QStringLiteral("当前小区楼栋号已锁定，不支持添加新的楼栋号，请从已有的楼栋号中选择！"),
                           QStringLiteral("您没有新增楼栋号的权限，请联系管理员开通！")});
}

TypedOutcome typedUnit(const QString &typed, const QString &suffix, const QList<DanYuan> &list, bool locked,
                       bool mayAdd)
{
    return typedStructure(typed, suffix, list, locked, mayAdd,
                          {QStringLiteral("请填写单元号名称！"),
                           QStringLiteral("当前小区单元号已锁定，不支持添加新的单元号，请从已有的单元号中选择！"),
                           QStringLiteral("您没有新增单元号的权限，请联系管理员开通！")});
}

TypedOutcome typedRoom(const QString &typed, const QList<RoomModel> &list, bool intensiveFarming)
{
    QString name = typed.trimmed();
    // Rooms are shown as "301室"; typing it so means the same room.
    if (name.endsWith(QStringLiteral("室")) && name.size() > 1)
        name.chop(1);
    if (name.isEmpty())
        return refused(QStringLiteral("请填写房间名称！"));
    const int existing = indexByName(list, name);
    if (existing >= 0)
        return taken(existing);
    if (intensiveFarming)
        return refused(QStringLiteral("该楼栋号已开启精耕，您选中的房间号在精耕盘中不存在，请重新选择！"));
    return added(name, QString());
}

bool mayAddStructure()
{
    return DataCenter::isJointSaleManger
           || UserMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).isHaveAuthority(kAddStructureRight);
}

} // namespace CommunityStructure
