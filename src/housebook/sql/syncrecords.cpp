#include "sql/syncrecords.h"

#include "net/wholenumber.h"
#include "sql/batchwriter.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/houserecord.h"

#include <QDate>
#include <QDebug>
#include <QJsonArray>
#include <QSet>
#include <QSqlDatabase>
#include <QTime>

#include <limits>

namespace SyncRecords {

namespace {

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Reads whole numbers separated by exactly the given characters: the first of four digits
// (the year), the others of one or two. The text must hold nothing else.
bool readFields(const QString &text, const QString &separators, int *fields)
{
    int pos = 0;
    for (int f = 0; f <= separators.size(); ++f) {
        const int minDigits = f == 0 ? 4 : 1;
        const int maxDigits = f == 0 ? 4 : 2;
        int value = 0;
        int digits = 0;
        for (; pos < text.size() && digits < maxDigits && isAsciiDigit(text.at(pos)); ++pos, ++digits)
            value = value * 10 + (text.at(pos).unicode() - '0');
        if (digits < minDigits)
            return false;
        fields[f] = value;
        if (f < separators.size() && (pos >= text.size() || text.at(pos++) != separators.at(f)))
            return false;
    }
    return pos == text.size();
}

void normaliseMember(QVariantMap &record, const QString &key, QString (*normalise)(const QString &))
{
    const auto it = record.find(key);
    if (it != record.end() && it->type() == QVariant::String)
        *it = normalise(it->toString());
}

constexpr qint64 kLargestId = std::numeric_limits<int>::max();

// A whole number from 1 to the largest id in decimal text (surrounding blanks allowed).
qint64 idFromText(const QString &text)
{
    bool ok = false;
    const qint64 id = text.trimmed().toLongLong(&ok);
    return ok && id > 0 && id <= kLargestId ? id : 0;
}

QSet<QString> intColumns(const QList<QVariantMap> &columns)
{
    QSet<QString> names;
    for (const QVariantMap &column : columns) {
        if (BatchWriter::columnType(column.value(QStringLiteral("type")).toString()) == BatchWriter::ColumnType::Int)
            names.insert(column.value(QStringLiteral("key")).toString());
    }
    return names;
}

// Every int column the object carries holds a value that column can take.
bool intColumnsFit(const QVariantMap &record, const QSet<QString> &columns)
{
    int ignored = 0;
    for (auto it = record.cbegin(); it != record.cend(); ++it) {
        if (columns.contains(it.key()) && !BatchWriter::intValue(it.value(), &ignored))
            return false;
    }
    return true;
}

// The object as a record with a usable id, or empty.
QVariantMap withId(const QJsonObject &object, const QSet<QString> &intColumnNames)
{
    const qint64 id = recordId(object.value(QLatin1String("id")));
    if (id <= 0)
        return QVariantMap();
    QVariantMap record = object.toVariantMap();
    record.insert(QStringLiteral("id"), id);
    return intColumnsFit(record, intColumnNames) ? record : QVariantMap();
}

// A list, or nothing sent (null, missing or empty text) - which reads as an empty list.
bool isListOrNothing(const QJsonValue &value)
{
    return value.isArray() || value.isNull() || value.isUndefined() || (value.isString() && value.toString().isEmpty());
}

// The storable records of a list and their ids; returns how many entries were refused.
template <typename MakeRecord>
int collect(const QJsonArray &array, MakeRecord makeRecord, QList<QVariantMap> &records, QStringList &ids)
{
    records.reserve(array.size());
    int refused = 0;
    for (const QJsonValue &value : array) {
        QVariantMap record = value.isObject() ? makeRecord(value.toObject()) : QVariantMap();
        if (record.isEmpty()) {
            ++refused;
            continue;
        }
        ids << QString::number(record.value(QStringLiteral("id")).toLongLong());
        records << std::move(record);
    }
    return refused;
}

QStringList communityColumnNames()
{
    QStringList names;
    for (const QVariantMap &column : CompanySQLConfig_DataSqltable::communityColumns())
        names << column.value(QStringLiteral("key")).toString();
    return names;
}

} // namespace

QString normalisedTime(const QString &text)
{
    int f[6];
    if (!readFields(text, QStringLiteral("// ::"), f) || !QDate::isValid(f[0], f[1], f[2])
        || !QTime::isValid(f[3], f[4], f[5]))
        return text;
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", f[0], f[1], f[2], f[3], f[4], f[5]);
}

QString normalisedFollowTime(const QString &text)
{
    int f[5];
    if (!readFields(text, QStringLiteral("// :"), f) || !QDate::isValid(f[0], f[1], f[2]) || !QTime::isValid(f[3], f[4], 0))
        return text;
    return QString::asprintf("%04d/%02d/%02d %02d:%02d", f[0], f[1], f[2], f[3], f[4]);
}

qint64 recordId(const QJsonValue &value)
{
    if (value.isString())
        return idFromText(value.toString());
    if (!value.isDouble())
        return 0;
    qint64 id = 0;
    return WholeNumber::fromDouble(value.toDouble(), &id) && id >= 1 && id <= kLargestId ? id : 0;
}

QVariantMap houseRecord(const QJsonObject &object)
{
    static const QSet<QString> ints = intColumns(CompanySQLConfig_DataSqltable::houseColumns());
    QVariantMap record = withId(object, ints);
    if (record.isEmpty())
        return record;
    normaliseMember(record, QStringLiteral("lasttime"), normalisedTime);
    normaliseMember(record, QStringLiteral("createtime"), normalisedTime);
    normaliseMember(record, QStringLiteral("followtime"), normalisedFollowTime);
    return record;
}

QVariantMap communityRecord(const QJsonObject &object)
{
    static const QSet<QString> ints = intColumns(CompanySQLConfig_DataSqltable::communityColumns());
    QVariantMap record = withId(object, ints);
    if (record.isEmpty())
        return record;
    normaliseMember(record, QStringLiteral("lasttime"), normalisedTime);
    normaliseMember(record, QStringLiteral("createtime"), normalisedTime);
    return record;
}

QStringList uniqueIds(const QJsonValue &value)
{
    QJsonArray items;
    if (value.isString()) {
        for (const QString &item : value.toString().split(QLatin1Char(',')))
            items.append(item);
    } else if (value.isArray()) {
        items = value.toArray();
    } else if (value.isDouble()) {
        items.append(value);  // a single id sent as a number
    }
    QStringList ids;
    QSet<qint64> seen;
    for (const QJsonValue &item : items) {
        const qint64 id = recordId(item);
        if (id > 0 && !seen.contains(id)) {
            seen.insert(id);
            ids << QString::number(id);
        }
    }
    return ids;
}

bool hasNextPage(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isDouble())
        return value.toDouble() != 0;
    const QString text = value.toString().trimmed().toLower();
    return text == QLatin1String("true") || text == QLatin1String("1");
}

PageShape pageShape(const QJsonObject &reply)
{
    PageShape shape;
    const QJsonValue houses = reply.value(QLatin1String("housebook"));
    const QJsonValue communities = reply.value(QLatin1String("community"));
    if (!isListOrNothing(houses) || !isListOrNothing(communities)) {
        shape.malformed = true;
        return shape;
    }
    shape.isLast = !hasNextPage(reply.value(QLatin1String("nextpage")))
                   || (houses.toArray().isEmpty() && communities.toArray().isEmpty());
    return shape;
}

Page readPage(const QJsonObject &reply)
{
    Page page;
    const PageShape shape = pageShape(reply);
    if (shape.malformed) {
        page.malformed = true;
        return page;
    }
    page.isLast = shape.isLast;
    const QJsonArray houseArray = reply.value(QLatin1String("housebook")).toArray();
    const QJsonArray communityArray = reply.value(QLatin1String("community")).toArray();
    page.refusedHouses = collect(houseArray, houseRecord, page.houses, page.houseIds);
    page.refusedCommunities = collect(communityArray, communityRecord, page.communities, page.communityIds);
    if (page.refusedHouses > 0 || page.refusedCommunities > 0)
        qWarning().noquote() << "sync page: refused" << page.refusedHouses << "listing and" << page.refusedCommunities
                             << "community entries (not an object, no usable id, or an int column out of range)";
    page.houseDels = uniqueIds(reply.value(QLatin1String("dels")));
    page.communityDels = uniqueIds(reply.value(QLatin1String("communitydels")));
    return page;
}

bool inCompanyTransaction(bool isJointSale, const std::function<bool()> &work)
{
    BaseSqlObject probe(nullptr, isJointSale);
    const QString name = probe.connectionName(BaseSqlObject::CompanyDB);
    if (name.isEmpty())
        return false;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if ((!db.isOpen() && !db.open()) || !db.transaction())
        return false;
    if (work() && db.commit())
        return true;
    db.rollback();
    return false;
}

QVariantMap storedMarks(bool isJointSale)
{
    CompanySQLConfig_DataSqltable config(nullptr, isJointSale);
    QVariantMap row = config.getRow();
    for (const QString &mark : {QStringLiteral("lastupdatatime"), QStringLiteral("community_lastupdatatime")}) {
        if (row.value(mark).toString().isEmpty())
            row.insert(mark, BaseSqlObject::initialSyncTime());
    }
    return row;
}

bool writePage(bool isJointSale, const Page &page)
{
    // Built before the transaction opens: they create their tables when missing.
    HouseMessage_DataSqlTable houses(nullptr, isJointSale);
    CommunityMessage_DataSqlTable communities(nullptr, isJointSale);
    CompanySQLConfig_DataSqltable marks(nullptr, isJointSale);
    return inCompanyTransaction(isJointSale, [&] {
        return (page.houseDels.isEmpty() || houses.deleteHouses(page.houseDels))
               && (page.communityDels.isEmpty() || communities.deleteCommunities(page.communityDels))
               && (page.houses.isEmpty() || houses.insertOrReplaceHouses(page.houses, true) == page.houses.size())
               && (page.communities.isEmpty()
                   || communities.insertOrReplaceCommunities(page.communities, true) == page.communities.size());
    });
}

QList<QPair<QStringList, QList<QVariantMap>>> byColumns(const QList<QVariantMap> &records, const QStringList &known)
{
    QList<QPair<QStringList, QList<QVariantMap>>> groups;
    for (const QVariantMap &record : records) {
        QStringList columns;
        for (auto it = record.cbegin(); it != record.cend(); ++it) {
            if (it.key() != QLatin1String("id") && known.contains(it.key()))
                columns << it.key();
        }
        if (columns.isEmpty())
            continue;
        auto group = std::find_if(groups.begin(), groups.end(), [&](const auto &g) { return g.first == columns; });
        if (group == groups.end())
            groups.append({columns, {record}});
        else
            group->second.append(record);
    }
    return groups;
}

bool writeColumns(bool isJointSale, const QList<QVariantMap> &houses, const QList<QVariantMap> &communities)
{
    HouseMessage_DataSqlTable houseTable(nullptr, isJointSale);
    CommunityMessage_DataSqlTable communityTable(nullptr, isJointSale);
    return inCompanyTransaction(isJointSale, [&] {
        for (const auto &group : byColumns(houses, HouseRecord::columnNames())) {
            if (!houseTable.updateHouseColumns(group.second, group.first))
                return false;
        }
        for (const auto &group : byColumns(communities, communityColumnNames())) {
            if (!communityTable.updateCommunities(group.second, group.first))
                return false;
        }
        return true;
    });
}

} // namespace SyncRecords
