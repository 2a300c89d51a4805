#include "sql/basemessage_sqltable.h"

#include "datacenter.h"
#include "sql/housebookcatalogue.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QPair>

namespace {

const QString kCreateSql = QStringLiteral(
    "create table %1(id int unique,zhuangxiu varchar,fangchan varchar,housetype varchar,tag varchar,"
    "area varchar,job varchar,property1 varchar,property2 varchar,traffic varchar,renttag varchar,"
    "saletag varchar,payway varchar,storelist varchar,stafflist varchar,applist varchar,"
    "cloudrefreshtime int,cloudarea varchar,leftapp varchar,clouditem varchar,hutype varchar,"
    "salecontractshowsort varchar,rentcontractshowsort varchar,customersaleset varchar,"
    "customerrentset varchar,customerbaseset varchar,elecontractset varchar,salecontractset varchar,"
    "rentcontractset varchar,customernewhouseset varchar,callbabybaseset varchar,contrct_step varchar,"
    "watchcommunitys varchar,oaauth varchar,housesource varchar)");

// The columns after `id`, in table order.
const QStringList kColumns = {
    QStringLiteral("zhuangxiu"), QStringLiteral("fangchan"), QStringLiteral("housetype"),
    QStringLiteral("tag"), QStringLiteral("area"), QStringLiteral("job"), QStringLiteral("property1"),
    QStringLiteral("property2"), QStringLiteral("traffic"), QStringLiteral("renttag"),
    QStringLiteral("saletag"), QStringLiteral("payway"), QStringLiteral("storelist"),
    QStringLiteral("stafflist"), QStringLiteral("applist"), QStringLiteral("cloudrefreshtime"),
    QStringLiteral("cloudarea"), QStringLiteral("leftapp"), QStringLiteral("clouditem"),
    QStringLiteral("hutype"), QStringLiteral("salecontractshowsort"), QStringLiteral("rentcontractshowsort"),
    QStringLiteral("customersaleset"), QStringLiteral("customerrentset"), QStringLiteral("customerbaseset"),
    QStringLiteral("elecontractset"), QStringLiteral("salecontractset"), QStringLiteral("rentcontractset"),
    QStringLiteral("customernewhouseset"), QStringLiteral("callbabybaseset"), QStringLiteral("contrct_step"),
    QStringLiteral("watchcommunitys"), QStringLiteral("oaauth"), QStringLiteral("housesource")};

// A list held either as a list, or as text: JSON array text or a comma text.
QVariantList asList(const QVariant &value)
{
    if (value.type() == QVariant::List)
        return value.toList();
    const QString text = value.toString();
    const QVariantList parsed = HouseBookCatalogue::listFromText(text);
    if (!parsed.isEmpty() || HouseBookCatalogue::fromText(text).isArray())
        return parsed;
    QVariantList items;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        items << part.trimmed();
    return items;
}

QList<QVariantMap> mapsOf(const QVariantList &list)
{
    QList<QVariantMap> maps;
    for (const QVariant &item : list) {
        if (item.type() == QVariant::Map)
            maps << item.toMap();
    }
    return maps;
}

} // namespace

BaseMessage_SqlTable::BaseMessage_SqlTable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    ensureDefaultRow();
}

// The row exists from the first construction on; a table that lost it gets it back.
void BaseMessage_SqlTable::ensureDefaultRow()
{
    const QString table = tableName(QStringLiteral("basemessage"));
    if (!isHaveTable(table, PersonDB))
        createTable(kCreateSql.arg(table), PersonDB);
    if (!isHaveTable(table, PersonDB) || !readRow().isEmpty())
        return;
    QVariantList values{1};
    for (const QString &column : kColumns)
        values << (column == QLatin1String("cloudrefreshtime") ? QVariant(0) : QVariant(QString()));
    QStringList marks;
    for (int i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    exec(PersonDB, QStringLiteral("insert into %1 values(%2)").arg(table, marks.join(QLatin1Char(','))), values);
}

QVariantMap BaseMessage_SqlTable::readRow()
{
    return selectRows(PersonDB, QStringLiteral("select * from %1 where id=1").arg(tableName(QStringLiteral("basemessage"))))
        .value(0);
}

QString BaseMessage_SqlTable::getValue(const QString &key)
{
    if (!kColumns.contains(key))
        return QString();
    return readRow().value(key).toString();
}

bool BaseMessage_SqlTable::setValue(const QString &key, const QString &value)
{
    if (isLoginWindow() || !kColumns.contains(key))
        return false;
    return exec(PersonDB, QStringLiteral("update %1 set %2=? where id=1").arg(tableName(QStringLiteral("basemessage")), key),
                {value});
}

bool BaseMessage_SqlTable::setJsonValue(const QString &key, const QJsonValue &value)
{
    if (value.isNull() || value.isUndefined())
        return false;
    return setValue(key, HouseBookCatalogue::toText(value));
}

QVariantList BaseMessage_SqlTable::list(const QString &column)
{
    return HouseBookCatalogue::listFromText(getValue(column));
}

QVariantMap BaseMessage_SqlTable::object(const QString &column)
{
    return HouseBookCatalogue::mapFromText(getValue(column));
}

QStringList BaseMessage_SqlTable::names(const QString &column)
{
    return HouseBookCatalogue::namesOf(list(column));
}

QList<QVariantMap> BaseMessage_SqlTable::areaTree()
{
    return mapsOf(list(QStringLiteral("area")));
}

QStringList BaseMessage_SqlTable::settingNames(const QString &column, const QString &member)
{
    return HouseBookCatalogue::namesOf(asList(object(column).value(member)));
}

QStringList BaseMessage_SqlTable::customerStates(const QString &column)
{
    QStringList states;
    for (const QVariantMap &state : mapsOf(asList(object(column).value(QStringLiteral("state"))))) {
        const QString title = state.value(QStringLiteral("title")).toString();
        const QString lable = state.value(QStringLiteral("lable")).toString();
        if (title.isEmpty())
            continue;
        states << (lable.isEmpty() ? title : QStringLiteral("%1(%2)").arg(title, lable));
    }
    return states;
}

QList<QVariantMap> BaseMessage_SqlTable::contractSteps()
{
    return mapsOf(list(QStringLiteral("contrct_step")));
}

QVariantList BaseMessage_SqlTable::watchCommunitys()
{
    return list(QStringLiteral("watchcommunitys"));
}

QVariant BaseMessage_SqlTable::oaAuth()
{
    return HouseBookCatalogue::fromText(getValue(QStringLiteral("oaauth"))).toVariant();
}

QVariantMap BaseMessage_SqlTable::callSettings()
{
    return object(QStringLiteral("callbabybaseset"));
}

bool BaseMessage_SqlTable::isCallOpen()
{
    return callSettings().value(QStringLiteral("isopen")).toBool();
}

QVariantMap BaseMessage_SqlTable::callRule(const QString &group, const QString &name)
{
    return callSettings().value(group).toMap().value(name).toMap();
}

QList<QVariantMap> BaseMessage_SqlTable::contractShowItems(bool sale)
{
    using namespace HouseBookCatalogue;
    const QString column = sale ? QStringLiteral("salecontractshowsort") : QStringLiteral("rentcontractshowsort");
    return mergeChoices(getValue(column), listColumns(), defaultChoices(sale ? SaleContractShow : RentContractShow));
}

QList<QVariantMap> BaseMessage_SqlTable::customerShowItems()
{
    using namespace HouseBookCatalogue;
    const QVariant stored = object(QStringLiteral("customerbaseset")).value(QStringLiteral("liebiaoitem"));
    const QString text = stored.type() == QVariant::String ? stored.toString() : toText(QJsonValue::fromVariant(stored));
    return mergeChoices(text, listColumns(), defaultChoices(CustomerShow));
}

bool BaseMessage_SqlTable::storePublicCategory(const QJsonValue &reply)
{
    static const QHash<QString, QString> columnOfName{
        {QStringLiteral("装修"), QStringLiteral("zhuangxiu")}, {QStringLiteral("房产证"), QStringLiteral("fangchan")},
        {QStringLiteral("房屋类型"), QStringLiteral("housetype")}, {QStringLiteral("标签"), QStringLiteral("tag")},
        {QStringLiteral("户型"), QStringLiteral("hutype")}};
    if (!reply.isArray())
        return false;
    // Entries without a known name or without data leave their columns as they were.
    bool allStored = true;
    for (const QJsonValue &entry : reply.toArray()) {
        const QJsonObject category = entry.toObject();
        const QString column = columnOfName.value(category.value(QStringLiteral("name")).toString());
        const QJsonValue data = category.value(QStringLiteral("data"));
        if (!column.isEmpty() && !data.isNull() && !data.isUndefined())
            allStored = setJsonValue(column, data) && allStored;
    }
    return allStored;
}

bool BaseMessage_SqlTable::storeHouseBookCategory(const QJsonValue &reply)
{
    static const QList<QPair<QString, QString>> columnOfKey{
        {QStringLiteral("property1"), QStringLiteral("property1")}, {QStringLiteral("property2"), QStringLiteral("property2")},
        {QStringLiteral("traffic"), QStringLiteral("traffic")},     {QStringLiteral("renttag"), QStringLiteral("renttag")},
        {QStringLiteral("saletag"), QStringLiteral("saletag")},     {QStringLiteral("payway"), QStringLiteral("payway")},
        {QStringLiteral("laiyuan"), QStringLiteral("housesource")}};
    if (!reply.isObject())
        return false;
    const QJsonObject object = reply.toObject();
    bool allStored = true;
    for (const auto &pair : columnOfKey) {
        const QJsonValue value = object.value(pair.first);
        if (!value.isNull() && !value.isUndefined())
            allStored = setJsonValue(pair.second, value) && allStored;
    }
    return allStored;
}
