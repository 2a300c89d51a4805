#include "sql/cityhouseset_datasqltable.h"

#include "datacenter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace {

const QString kTable = QStringLiteral("cityHouseSet");

// A reply member as the JSON text stored in the table; a member that already is text is kept.
QString jsonText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    return QString();
}

} // namespace

CityHouseSet_DataSqlTable::CityHouseSet_DataSqlTable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    if (!isHaveTable(kTable, PersonDB))
        createTable(QStringLiteral("create table %1(id int unique,showsort varchar,searchsort varchar)").arg(kTable),
                    PersonDB);
    if (isHaveTable(kTable, PersonDB) && getRow().isEmpty())
        exec(PersonDB, QStringLiteral("insert into %1 values(?,?,?)").arg(kTable), {1, QString(), QString()});
}

QVariantMap CityHouseSet_DataSqlTable::getRow()
{
    return selectRows(PersonDB, QStringLiteral("select * from %1 where id=1").arg(kTable)).value(0);
}

bool CityHouseSet_DataSqlTable::updateColumn(const QString &column, const QString &value)
{
    if (isLoginWindow())
        return false;
    if (column != QLatin1String("showsort") && column != QLatin1String("searchsort"))
        return false;
    return exec(PersonDB, QStringLiteral("update %1 set %2=? where id=1").arg(kTable, column), {value});
}

bool CityHouseSet_DataSqlTable::storeConfigReply(const QJsonObject &reply)
{
    const bool show = updateColumn(QStringLiteral("showsort"), jsonText(reply.value(QStringLiteral("showsort"))));
    const bool search = updateColumn(QStringLiteral("searchsort"), jsonText(reply.value(QStringLiteral("search"))));
    return show && search;
}

QVariant CityHouseSet_DataSqlTable::showSort()
{
    return parsedColumn(QStringLiteral("showsort"));
}

QVariant CityHouseSet_DataSqlTable::searchSort()
{
    return parsedColumn(QStringLiteral("searchsort"));
}

QVariant CityHouseSet_DataSqlTable::parsedColumn(const QString &column)
{
    const QJsonDocument doc = QJsonDocument::fromJson(getRow().value(column).toString().toUtf8());
    return doc.isNull() ? QVariant() : doc.toVariant();
}
