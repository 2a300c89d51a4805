#include "sql/companysqlconfig_datasqltable.h"

#include "net/wholenumber.h"
#include "sql/storecolumns.h"


#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

const QString kTable = QStringLiteral("company_config");
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");


QList<QVariantMap> parseColumns(const char *columnList)
{
    QList<QVariantMap> columns;
    for (const QString &item : QString::fromLatin1(columnList).split(QLatin1Char(','))) {
        const QStringList parts = item.split(QLatin1Char(' '));
        columns.append({{QStringLiteral("key"), parts.value(0)}, {QStringLiteral("type"), parts.value(1)}});
    }
    return columns;
}

// A column as name and type in the forms the comparison treats as equal.
QString columnSignature(const QVariantMap &column)
{
    return column.value(QStringLiteral("key")).toString().toLower() + QLatin1Char(' ')
           + CompanySQLConfig_DataSqltable::normalizedType(column.value(QStringLiteral("type")).toString());
}

QSet<QString> signatures(const QList<QVariantMap> &columns)
{
    QSet<QString> set;
    for (const QVariantMap &column : columns)
        set.insert(columnSignature(column));
    return set;
}

bool isKnownColumn(const QString &column)
{
    static const QStringList known{QStringLiteral("lastupdatatime"),   QStringLiteral("community_lastupdatatime"),
                                   QStringLiteral("companyid"),        QStringLiteral("version"),
                                   QStringLiteral("house_add_key"),    QStringLiteral("community_add_key"),
                                   QStringLiteral("building")};
    return known.contains(column);
}

QString columnsJson(const QList<QVariantMap> &columns)
{
    QJsonArray array;
    for (const QVariantMap &column : columns)
        array.append(QJsonObject::fromVariantMap(column));
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

} // namespace

CompanySQLConfig_DataSqltable::CompanySQLConfig_DataSqltable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    if (!isHaveTable(kTable, CompanyDB))
        createTable(QStringLiteral("create table %1(id int unique,lastupdatatime varchar,community_lastupdatatime "
                                   "varchar,companyid int,version varchar,house_add_key varchar,community_add_key "
                                   "varchar,building int)")
                        .arg(kTable),
                    CompanyDB);
    if (isHaveTable(kTable, CompanyDB) && getRow().isEmpty())
        writeDefaultRow();
}

void CompanySQLConfig_DataSqltable::writeDefaultRow()
{
    const Login login = currentLogin();
    const int companyId = isJointSale() ? login.jointSaleCompanyId : login.companyId;
    exec(CompanyDB, QStringLiteral("replace into %1 values(?,?,?,?,?,?,?,?)").arg(kTable),
         {1, initialSyncTime(), initialSyncTime(), companyId, pluginVersion(), QString(), QString(), 0});
}

QVariantMap CompanySQLConfig_DataSqltable::getRow()
{
    return selectRows(CompanyDB, QStringLiteral("select * from %1 where id=1").arg(kTable)).value(0);
}

QString CompanySQLConfig_DataSqltable::lastUpdateTime()
{
    return getRow().value(QStringLiteral("lastupdatatime")).toString();
}

QString CompanySQLConfig_DataSqltable::communityLastUpdateTime()
{
    return getRow().value(QStringLiteral("community_lastupdatatime")).toString();
}

QString CompanySQLConfig_DataSqltable::version()
{
    return getRow().value(QStringLiteral("version")).toString();
}

int CompanySQLConfig_DataSqltable::building()
{
    return WholeNumber::toInt(getRow().value(QStringLiteral("building")));
}

bool CompanySQLConfig_DataSqltable::setColumn(const QString &column, const QVariant &value)
{
    if (!isKnownColumn(column))
        return false;
    return exec(CompanyDB, QStringLiteral("update %1 set %2=? where id=1").arg(kTable, column), {value});
}

bool CompanySQLConfig_DataSqltable::advanceLastUpdateTime(const QString &time)
{
    return advanceMark(QStringLiteral("lastupdatatime"), time);
}

bool CompanySQLConfig_DataSqltable::advanceCommunityLastUpdateTime(const QString &time)
{
    return advanceMark(QStringLiteral("community_lastupdatatime"), time);
}

// Only a normalised time moves a mark: the text comparison is chronological for that form
// alone, and a malformed mark would make the next sync skip or repeat listings.
bool CompanySQLConfig_DataSqltable::advanceMark(const QString &column, const QString &time)
{
    if (!QDateTime::fromString(time, kTimeFormat).isValid())
        return false;
    const QVariantMap row = getRow();
    if (row.isEmpty() || time <= row.value(column).toString())
        return false;
    return exec(CompanyDB, QStringLiteral("update %1 set %2=? where id=1").arg(kTable, column), {time});
}

QList<QVariantMap> CompanySQLConfig_DataSqltable::houseColumns()
{
    static const QList<QVariantMap> columns = parseColumns(StoreColumns::kHouse);
    return columns;
}

QList<QVariantMap> CompanySQLConfig_DataSqltable::communityColumns()
{
    static const QList<QVariantMap> columns = parseColumns(StoreColumns::kCommunity);
    return columns;
}

QString CompanySQLConfig_DataSqltable::normalizedType(const QString &declaredType)
{
    const QString upper = declaredType.trimmed().toUpper();
    if (upper == QLatin1String("INT"))
        return QStringLiteral("int");
    if (upper == QLatin1String("TEXT"))
        return QStringLiteral("varchar");
    if (upper == QLatin1String("REAL"))
        return QStringLiteral("float");
    return declaredType.trimmed().toLower();
}

QList<QVariantMap> CompanySQLConfig_DataSqltable::columnsToAdd(const QList<QVariantMap> &present,
                                                               const QList<QVariantMap> &required)
{
    const QSet<QString> have = signatures(present);
    QList<QVariantMap> missing;
    for (const QVariantMap &column : required) {
        if (!have.contains(columnSignature(column)))
            missing.append(column);
    }
    return missing;
}

QStringList CompanySQLConfig_DataSqltable::columnsToDrop(const QList<QVariantMap> &present,
                                                         const QList<QVariantMap> &required)
{
    const QSet<QString> wanted = signatures(required);
    QStringList extra;
    for (const QVariantMap &column : present) {
        if (!wanted.contains(columnSignature(column)))
            extra.append(column.value(QStringLiteral("key")).toString());
    }
    return extra;
}

bool CompanySQLConfig_DataSqltable::upgradeColumns()
{
    const bool house = upgradeTable(QStringLiteral("house"), houseColumns(), QStringLiteral("house_add_key"));
    const bool community =
        upgradeTable(QStringLiteral("community"), communityColumns(), QStringLiteral("community_add_key"));
    return house && community;
}

// Drops the columns that are not required (a column of the wrong type is dropped and added
// again), adds the missing ones and records what was added, for the back-fill download.
bool CompanySQLConfig_DataSqltable::upgradeTable(const QString &table, const QList<QVariantMap> &required,
                                                 const QString &addKeyColumn)
{
    if (!isHaveTable(table, CompanyDB))
        return true;
    const QList<QVariantMap> present = getTableColumns(table, CompanyDB);
    const QStringList drop = columnsToDrop(present, required);
    if (!drop.isEmpty()) {
        QStringList before;
        for (const QVariantMap &column : present)
            before << column.value(QStringLiteral("key")).toString();
        if (!deleteTableColumns(table, before, drop, CompanyDB))
            return false;
    }
    const QList<QVariantMap> add = columnsToAdd(getTableColumns(table, CompanyDB), required);
    if (!add.isEmpty() && !addNewTableColumn(table, add, CompanyDB))
        return false;
    return setColumn(addKeyColumn, add.isEmpty() ? QString() : columnsJson(add));
}
