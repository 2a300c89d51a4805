#include "sql/houserecord.h"

#include "net/wholenumber.h"
#include "sql/batchwriter.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/textscramble.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <functional>

using Data = HouseMessage_DataSqlTable::HouseMessageData;
using XieZuo = HouseMessage_DataSqlTable::XieZuoItemData;

namespace {

const QString kName = QStringLiteral("name");
const QString kPhone = QStringLiteral("phone");

const QSet<QString> &wholeColumns()
{
    static const QSet<QString> columns{
        QStringLiteral("userphone"), QStringLiteral("name"), QStringLiteral("buildingNo"), QStringLiteral("roomNo"),
        QStringLiteral("district"), QStringLiteral("area"), QStringLiteral("address"), QStringLiteral("author"),
        QStringLiteral("primaryschool"), QStringLiteral("middleschool"), QStringLiteral("renovation"),
        QStringLiteral("property"), QStringLiteral("housetype"), QStringLiteral("remark"), QStringLiteral("toward"),
        QStringLiteral("keys"), QStringLiteral("seetime"), QStringLiteral("ruzhutime"), QStringLiteral("source"),
        QStringLiteral("payway"), QStringLiteral("rentway"), QStringLiteral("photo"), QStringLiteral("attribute"),
        QStringLiteral("garage"), QStringLiteral("propertyquan"), QStringLiteral("state"), QStringLiteral("hutype"),
        QStringLiteral("unitNo"), QStringLiteral("storename"), QStringLiteral("vrurl"), QStringLiteral("zuunit"),
        QStringLiteral("tongbu"), QStringLiteral("title"), QStringLiteral("describes"),
        QStringLiteral("describespicture"), QStringLiteral("quanjing"), QStringLiteral("newstate"),
        QStringLiteral("danyuanunit"), QStringLiteral("dongunit"), QStringLiteral("deptname"),
        QStringLiteral("companyname"), QStringLiteral("heyan"), QStringLiteral("phonerange"),
        QStringLiteral("realuserphone")};
    return columns;
}

const QHash<QString, QString> &columnTypes()
{
    static const QHash<QString, QString> types = [] {
        QHash<QString, QString> h;
        for (const QVariantMap &c : CompanySQLConfig_DataSqltable::houseColumns())
            h.insert(c.value(QStringLiteral("key")).toString(), c.value(QStringLiteral("type")).toString());
        return h;
    }();
    return types;
}

bool isContainer(const QVariant &v)
{
    return v.type() == QVariant::Map || v.type() == QVariant::List || v.type() == QVariant::StringList;
}

QString jsonText(const QVariant &v)
{
    return QString::fromUtf8(QJsonDocument::fromVariant(v).toJson(QJsonDocument::Compact));
}

// A value as text: containers as compact JSON.
QString plainText(const QVariant &v)
{
    return isContainer(v) ? jsonText(v) : v.toString();
}

// A JSON text or an already decoded value; invalid text gives an invalid variant.
QVariant decoded(const QVariant &v)
{
    if (isContainer(v))
        return v;
    const QString text = v.toString();
    if (text.isEmpty())
        return QVariant();
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    return doc.isNull() ? QVariant() : doc.toVariant();
}

// Unscrambles, keeping a value that was never scrambled as it is.
QString clearOf(const QString &stored)
{
    if (stored.isEmpty())
        return stored;
    const QString clear = TextScramble::unscramble(stored);
    return clear.isEmpty() ? stored : clear;
}

QVariantMap personWith(QVariantMap person, const std::function<QString(const QString &)> &convert)
{
    for (const QString &key : {kName, kPhone}) {
        if (person.contains(key) && !person.value(key).toString().isEmpty())
            person.insert(key, convert(person.value(key).toString()));
    }
    return person;
}

// A role value (one person object or a list of them) with name and phone converted.
QString convertRoles(const QVariant &value, const std::function<QString(const QString &)> &convert)
{
    const QVariant parsed = decoded(value);
    if (parsed.type() == QVariant::Map) {
        const QVariantMap person = parsed.toMap();
        return person.isEmpty() ? QString() : jsonText(personWith(person, convert));
    }
    if (parsed.type() == QVariant::List) {
        QVariantList people;
        for (const QVariant &p : parsed.toList())
            people << (p.type() == QVariant::Map ? QVariant(personWith(p.toMap(), convert)) : p);
        return people.isEmpty() ? QString() : jsonText(people);
    }
    return plainText(value);  // not JSON: kept, and read back as an empty holder
}

bool isScalarText(const QVariant &v)
{
    switch (v.type()) {
    case QVariant::String:
    case QVariant::Int:
    case QVariant::UInt:
    case QVariant::LongLong:
    case QVariant::ULongLong:
    case QVariant::Double:
        return true;
    default:
        return false;
    }
}

// One contacts entry: a text (name or number), or an object whose texts are converted.
QVariant convertEntry(const QVariant &entry, const std::function<QString(const QString &)> &convert)
{
    if (entry.type() != QVariant::Map)
        return convert(entry.toString());
    QVariantMap map = entry.toMap();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (isScalarText(it.value()))
            it.value() = convert(it.value().toString());
    }
    return map;
}

// The contacts list with every entry converted; a text that is no list is converted whole.
QString convertContacts(const QVariant &value, const std::function<QString(const QString &)> &convert)
{
    const QVariant parsed = decoded(value);
    if (parsed.type() != QVariant::List)
        return convert(plainText(value));
    QVariantList entries;
    for (const QVariant &e : parsed.toList())
        entries << convertEntry(e, convert);
    return entries.isEmpty() ? QString() : jsonText(entries);
}

// A comma list given as text or as a list.
QString listText(const QVariant &value)
{
    if (!isContainer(value))
        return value.toString();
    QStringList items;
    for (const QVariant &v : value.toList())
        items << v.toString();
    return items.join(QLatin1Char(','));
}

QString scrambled(const QString &text)
{
    return TextScramble::scramble(text);
}

} // namespace

namespace {

QString clearItems(const QString &stored)
{
    QStringList items;
    for (const QString &item : stored.split(QStringLiteral("qxwcp"), Qt::SkipEmptyParts))
        items << clearOf(item);
    return items.join(QLatin1Char(','));
}

// What the replenish object of a server record supplies.
void mergeReplenish(QVariantMap &row, const QVariantMap &replenish)
{
    if (replenish.contains(QStringLiteral("describespicture")))
        row.insert(QStringLiteral("describespicture"), plainText(replenish.value(QStringLiteral("describespicture"))));
    const QVariant xiezuo = replenish.value(QStringLiteral("xiezuo"));
    QVariantMap roles = replenish;
    if (xiezuo.type() == QVariant::Map) {
        roles.insert(xiezuo.toMap());
        if (xiezuo.toMap().contains(QStringLiteral("jindu")))
            row.insert(QStringLiteral("jindu"), WholeNumber::toInt(xiezuo.toMap().value(QStringLiteral("jindu"))));
    } else if (xiezuo.isValid() && !xiezuo.isNull()) {
        row.insert(QStringLiteral("jindu"), WholeNumber::toInt(xiezuo));
    }
    for (const QString &role : HouseRecord::roleColumns()) {
        if (roles.contains(role))
            row.insert(role, plainText(roles.value(role)));
    }
    if (replenish.contains(QStringLiteral("heyanState")))
        row.insert(QStringLiteral("heyan"), plainText(replenish.value(QStringLiteral("heyanState"))));
    for (const QString &key : {QStringLiteral("phonerange"), QStringLiteral("realuserphone")}) {
        if (replenish.contains(key))
            row.insert(key, replenish.value(key));
    }
}

} // namespace

namespace HouseRecord {

Scramble scrambleKind(const QString &column)
{
    static const QHash<QString, Scramble> kinds = [] {
        QHash<QString, Scramble> h;
        for (const QString &c : wholeColumns())
            h.insert(c, Scramble::Whole);
        for (const char *c : {"tags", "peitao", "traffic"})
            h.insert(QLatin1String(c), Scramble::Items);
        h.insert(QStringLiteral("contacts"), Scramble::Contacts);
        for (const QString &c : roleColumns())
            h.insert(c, Scramble::Roles);
        return h;
    }();
    return kinds.value(column, Scramble::None);
}

const QStringList &roleColumns()
{
    static const QStringList roles{QStringLiteral("lururen"),   QStringLiteral("weihuren"),  QStringLiteral("weituoren"),
                                   QStringLiteral("shikanren"), QStringLiteral("yaoshiren"), QStringLiteral("dujiaren"),
                                   QStringLiteral("chengjiaoren")};
    return roles;
}

const QStringList &columnNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const QVariantMap &c : CompanySQLConfig_DataSqltable::houseColumns())
            list << c.value(QStringLiteral("key")).toString();
        return list;
    }();
    return names;
}

bool isColumn(const QString &name)
{
    return columnTypes().contains(name);
}

bool isTextColumn(const QString &name)
{
    return columnTypes().value(name) == QLatin1String("varchar");
}

// The stored form of a value of a column whose scramble kind is known.
QVariant storedAs(Scramble kind, bool isText, const QVariant &value)
{
    switch (kind) {
    case Scramble::Whole:
        return scrambled(plainText(value));
    case Scramble::Items:
        return TextScramble::scrambleList(listText(value));
    case Scramble::Contacts:
        return convertContacts(value, scrambled);
    case Scramble::Roles:
        return convertRoles(value, scrambled);
    case Scramble::None:
        break;
    }
    return isText ? QVariant(plainText(value)) : value;
}

QVariant toStored(const QString &column, const QVariant &value)
{
    return storedAs(scrambleKind(column), isTextColumn(column), value);
}

QVariant toClear(const QString &column, const QVariant &stored)
{
    switch (scrambleKind(column)) {
    case Scramble::Whole:
        return clearOf(stored.toString());
    case Scramble::Items:
        return clearItems(stored.toString());
    case Scramble::Contacts:
        return stored.toString().isEmpty() ? QString() : convertContacts(stored, clearOf);
    case Scramble::Roles:
        return convertRoles(stored, clearOf);
    case Scramble::None:
        break;
    }
    return stored;
}

void unscrambleRow(QVariantMap &row)
{
    for (auto it = row.begin(); it != row.end(); ++it) {
        if (scrambleKind(it.key()) != Scramble::None)
            it.value() = toClear(it.key(), it.value());
    }
}

QVariantMap fromServer(const QVariantMap &object)
{
    const auto replenish = object.constFind(QStringLiteral("replenish"));
    if (replenish == object.cend())
        return object;  // shared, not copied
    QVariantMap row = object;
    row.remove(QStringLiteral("replenish"));
    mergeReplenish(row, decoded(*replenish).toMap());
    return row;
}

QVariantList storedValues(const QVariantMap &object, const QStringList &columns)
{
    QVariantList values;
    values.reserve(columns.size());
    for (const QString &column : columns) {
        const QVariant value = object.contains(column) ? toStored(column, object.value(column)) : QVariant();
        values << BatchWriter::typed(columnTypes().value(column), value);
    }
    return values;
}

// How each column is written, by name: its position, type and scrambling.
struct ColumnPlan
{
    int position;
    BatchWriter::ColumnType type;
    Scramble kind;
};

QVariantList storedRow(const QVariantMap &object)
{
    static const QVariantList defaults = storedValues(QVariantMap(), columnNames());
    static const QHash<QString, ColumnPlan> plans = [] {
        QHash<QString, ColumnPlan> h;
        for (int i = 0; i < columnNames().size(); ++i) {
            const QString &name = columnNames().at(i);
            h.insert(name, {i, BatchWriter::columnType(columnTypes().value(name)), scrambleKind(name)});
        }
        return h;
    }();
    QVariantList values = defaults;
    for (auto it = object.cbegin(); it != object.cend(); ++it) {
        const auto plan = plans.constFind(it.key());
        if (plan == plans.cend())
            continue;
        const bool isText = plan->type == BatchWriter::ColumnType::Text;
        values[plan->position] = BatchWriter::typed(plan->type, storedAs(plan->kind, isText, it.value()));
    }
    return values;
}

QStringList rolePhones(const QVariant &value)
{
    const QVariant parsed = decoded(value);
    const QVariantList people = parsed.type() == QVariant::List ? parsed.toList() : QVariantList{parsed};
    QStringList phones;
    for (const QVariant &p : people) {
        const QString phone = p.toMap().value(kPhone).toString();
        if (!phone.isEmpty())
            phones << phone;
    }
    return phones;
}

XieZuo toXieZuo(const QVariant &value)
{
    QVariant parsed = decoded(value);
    if (parsed.type() == QVariant::List)
        parsed = parsed.toList().value(0);
    XieZuo holder;
    if (parsed.type() != QVariant::Map)
        return holder;
    holder.data = parsed.toMap();
    holder.name = holder.data.value(kName).toString();
    holder.phone = holder.data.value(kPhone).toString();
    const QVariant review = holder.data.value(QStringLiteral("review"));
    holder.review = review.type() == QVariant::String ? review.toString() == QLatin1String("true") : review.toBool();
    return holder;
}

// Stored numbers are often bare ("4", "1"); the word makes "4栋1单元" of them. Texts that
// already end in a word of their own ("4号楼", "1单元", "A座") keep it.
QString withUnitWord(const QString &number, const QString &storedWord, const QString &defaultWord)
{
    if (number.isEmpty())
        return number;
    const QString word = storedWord.trimmed().isEmpty() ? defaultWord : storedWord.trimmed();
    static const QStringList ownWords{QStringLiteral("栋"), QStringLiteral("幢"), QStringLiteral("座"), QStringLiteral("楼"),
                                      QStringLiteral("号"), QStringLiteral("单元"), QStringLiteral("门"), QStringLiteral("梯"),
                                      QStringLiteral("区"), QStringLiteral("期")};
    if (number.endsWith(word))
        return number;
    for (const QString &own : ownWords) {
        if (number.endsWith(own))
            return number;
    }
    return number + word;
}

QList<QVariantMap> contactEntries(const QString &contacts)
{
    QList<QVariantMap> entries;
    const QJsonDocument document = QJsonDocument::fromJson(contacts.toUtf8());
    if (!document.isArray()) {
        if (!contacts.trimmed().isEmpty())
            entries << QVariantMap{{QStringLiteral("phone"), contacts}};
        return entries;
    }
    for (const QJsonValue &value : document.array()) {
        if (value.isObject())
            entries << value.toObject().toVariantMap();
        else if (!value.toVariant().toString().isEmpty())
            entries << QVariantMap{{QStringLiteral("phone"), value.toVariant().toString()}};
    }
    return entries;
}

} // namespace HouseRecord

// ---- the record of a clear row ----

namespace {

using Setter = std::function<void(Data &, const QVariant &)>;

Setter field(int Data::*member)
{
    return [member](Data &d, const QVariant &v) { d.*member = v.type() == QVariant::Bool ? v.toBool() : WholeNumber::toInt(v); };
}

Setter field(double Data::*member)
{
    return [member](Data &d, const QVariant &v) { d.*member = v.toDouble(); };
}

Setter field(bool Data::*member)
{
    return [member](Data &d, const QVariant &v) { d.*member = v.type() == QVariant::Bool ? v.toBool() : WholeNumber::toInt(v) != 0; };
}

Setter field(QString Data::*member)
{
    return [member](Data &d, const QVariant &v) { d.*member = plainText(v); };
}

Setter field(XieZuo Data::*member)
{
    return [member](Data &d, const QVariant &v) { d.*member = HouseRecord::toXieZuo(v); };
}

void setHeyan(Data &d, const QVariant &v)
{
    const QVariantMap heyan = decoded(v).toMap();
    d.heyanCode = heyan.value(QStringLiteral("hycode")).toString();
    d.heyanState = heyan.value(QStringLiteral("state"), QStringLiteral("0")).toString();
    d.heyanExpires = heyan.value(QStringLiteral("expires")).toString();
    d.heyanShowState = heyan.value(QStringLiteral("showState")).toString();
}

void setPictures(Data &d, const QVariant &v)
{
    d.describespicture.clear();
    for (const QVariant &p : decoded(v).toList()) {
        if (p.type() == QVariant::Map)
            d.describespicture << p.toMap();
    }
}

void addNumberSetters(QHash<QString, Setter> &h)
{
    h.insert(QStringLiteral("id"), field(&Data::id));
    h.insert(QStringLiteral("types"), field(&Data::types));
    h.insert(QStringLiteral("mycommunityid"), field(&Data::mycommunityid));
    h.insert(QStringLiteral("roomid"), field(&Data::roomid));
    h.insert(QStringLiteral("dongid"), field(&Data::dongid));
    h.insert(QStringLiteral("unitid"), field(&Data::unitid));
    h.insert(QStringLiteral("room"), field(&Data::room));
    h.insert(QStringLiteral("hall"), field(&Data::hall));
    h.insert(QStringLiteral("huxingwei"), field(&Data::huxingwei));
    h.insert(QStringLiteral("balcony"), field(&Data::balcony));
    h.insert(QStringLiteral("kitchen"), field(&Data::kitchen));
    h.insert(QStringLiteral("floors"), field(&Data::floors));
    h.insert(QStringLiteral("allfloors"), field(&Data::allfloors));
    h.insert(QStringLiteral("price"), field(&Data::price));
    h.insert(QStringLiteral("unitprice"), field(&Data::unitprice));
    h.insert(QStringLiteral("builtuparea"), field(&Data::builtuparea));
    h.insert(QStringLiteral("remarkshow"), field(&Data::remarkshow));
    h.insert(QStringLiteral("havekeys"), field(&Data::havekeys));
    h.insert(QStringLiteral("isdel"), field(&Data::isdel));
    h.insert(QStringLiteral("havegarage"), field(&Data::havegarage));
    h.insert(QStringLiteral("islike"), field(&Data::islike));
    h.insert(QStringLiteral("isread"), field(&Data::isread));
    h.insert(QStringLiteral("companyid"), field(&Data::companyid));
    h.insert(QStringLiteral("sf"), field(&Data::sf));
    h.insert(QStringLiteral("stype"), field(&Data::stype));
    h.insert(QStringLiteral("housestatus"), field(&Data::housestatus));
    h.insert(QStringLiteral("deptid"), field(&Data::deptid));
}

void addFlagSetters(QHash<QString, Setter> &h)
{
    h.insert(QStringLiteral("istop"), field(&Data::istop));
    h.insert(QStringLiteral("suopan"), field(&Data::suopan));
    h.insert(QStringLiteral("fengpan"), field(&Data::fengpan));
    h.insert(QStringLiteral("hbdujia"), field(&Data::hbdujia));
    h.insert(QStringLiteral("jindu"), field(&Data::jindu));
    h.insert(QStringLiteral("havevideo"), field(&Data::havevideo));
    h.insert(QStringLiteral("anxuan"), field(&Data::anxuan));
    h.insert(QStringLiteral("cityid"), field(&Data::cityid));
    h.insert(QStringLiteral("days"), field(&Data::days));
    h.insert(QStringLiteral("fbcompanyid"), field(&Data::fbcompanyid));
    h.insert(QStringLiteral("shenhestatus"), field(&Data::shenhestatus));
    h.insert(QStringLiteral("aboutid"), field(&Data::aboutid));
    h.insert(QStringLiteral("yinsifangwen"), field(&Data::yinsifangwen));
    h.insert(QStringLiteral("lururen"), field(&Data::lururen));
    h.insert(QStringLiteral("weihuren"), field(&Data::weihuren));
    h.insert(QStringLiteral("weituoren"), field(&Data::weituoren));
    h.insert(QStringLiteral("shikanren"), field(&Data::shikanren));
    h.insert(QStringLiteral("yaoshiren"), field(&Data::yaoshiren));
    h.insert(QStringLiteral("dujiaren"), field(&Data::dujiaren));
    h.insert(QStringLiteral("chengjiaoren"), field(&Data::chengjiaoren));
    h.insert(QStringLiteral("heyan"), setHeyan);
    h.insert(QStringLiteral("describespicture"), setPictures);
}

void addTextSetters(QHash<QString, Setter> &h)
{
    const QList<QPair<const char *, QString Data::*>> texts{
        {"userphone", &Data::userphone},   {"name", &Data::name},
        {"buildingNo", &Data::buildingNo}, {"roomNo", &Data::roomNo},
        {"district", &Data::district},     {"area", &Data::area},
        {"address", &Data::address},       {"author", &Data::author},
        {"primaryschool", &Data::primaryschool}, {"middleschool", &Data::middleschool},
        {"contacts", &Data::contacts},     {"renovation", &Data::renovation},
        {"property", &Data::property},     {"housetype", &Data::housetype},
        {"remark", &Data::remark},         {"tags", &Data::tags},
        {"follows", &Data::follows},       {"followtime", &Data::followtime},
        {"toward", &Data::toward},         {"keys", &Data::keys},
        {"seetime", &Data::seetime},       {"ruzhutime", &Data::ruzhutime},
        {"source", &Data::source},         {"payway", &Data::payway},
        {"rentway", &Data::rentway},       {"peitao", &Data::peitao},
        {"traffic", &Data::traffic},       {"createtime", &Data::createtime},
        {"lasttime", &Data::lasttime},     {"photo", &Data::photo},
        {"attribute", &Data::attribute},   {"garage", &Data::garage},
        {"propertyquan", &Data::propertyquan}, {"newstate", &Data::newstate},
        {"hutype", &Data::hutype},         {"unitNo", &Data::unitNo},
        {"deptname", &Data::deptname},     {"vrurl", &Data::vrurl},
        {"zuunit", &Data::zuunit},         {"tongbu", &Data::tongbu},
        {"title", &Data::title},           {"describes", &Data::describes},
        {"quanjing", &Data::quanjing},     {"danyuanunit", &Data::danyuanunit},
        {"dongunit", &Data::dongunit},     {"companyname", &Data::companyname},
        {"phonerange", &Data::phonerange}, {"realuserphone", &Data::realuserphone}};
    for (const auto &t : texts)
        h.insert(QLatin1String(t.first), field(t.second));
}

const QHash<QString, Setter> &setters()
{
    static const QHash<QString, Setter> table = [] {
        QHash<QString, Setter> h;
        addNumberSetters(h);
        addFlagSetters(h);
        addTextSetters(h);
        return h;
    }();
    return table;
}

} // namespace

Data HouseRecord::toHouseData(const QVariantMap &row)
{
    Data data;
    const QHash<QString, Setter> &table = setters();
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        const auto setter = table.constFind(it.key());
        if (setter != table.cend())
            (*setter)(data, it.value());
    }
    return data;
}
