#include "sql/communitymessage_datasqltable.h"

#include "datacenter.h"
#include "net/wholenumber.h"
#include "sql/batchwriter.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/sqlliteral.h"
#include "sql/textscramble.h"

#include <QHash>
#include <QJsonDocument>

#include <functional>

using namespace SqlLiteral;
using ListData = CommunityMessage_DataSqlTable::ListData;

namespace {

const QHash<QString, QString> &columnTypes()
{
    static const QHash<QString, QString> types = [] {
        QHash<QString, QString> h;
        for (const QVariantMap &c : CompanySQLConfig_DataSqltable::communityColumns())
            h.insert(c.value(QStringLiteral("key")).toString(), c.value(QStringLiteral("type")).toString());
        return h;
    }();
    return types;
}

QStringList columnNames()
{
    QStringList names;
    for (const QVariantMap &c : CompanySQLConfig_DataSqltable::communityColumns())
        names << c.value(QStringLiteral("key")).toString();
    return names;
}

using Setter = std::function<void(ListData &, const QVariant &)>;

const QHash<QString, Setter> &setters()
{
    static const QHash<QString, Setter> table = [] {
        QHash<QString, Setter> h;
        const QList<QPair<const char *, int ListData::*>> numbers{
            {"id", &ListData::id}, {"companyid", &ListData::companyid}, {"district", &ListData::district},
            {"areaid", &ListData::areaid}, {"cityid", &ListData::cityid}};
        for (const auto &n : numbers)
            h.insert(QLatin1String(n.first), [m = n.second](ListData &d, const QVariant &v) { d.*m = WholeNumber::toInt(v); });
        const QList<QPair<const char *, QString ListData::*>> texts{
            {"name", &ListData::name}, {"districtname", &ListData::districtname}, {"areaname", &ListData::areaname},
            {"othrename", &ListData::othrename}, {"address", &ListData::address}, {"pinyin", &ListData::pinyin},
            {"lng", &ListData::lng}, {"lat", &ListData::lat}, {"years", &ListData::years}, {"green", &ListData::green},
            {"primaryschool", &ListData::primaryschool}, {"middleschool", &ListData::middleschool},
            {"buildingtype", &ListData::buildingtype}, {"propertyfee", &ListData::propertyfee},
            {"propertycompany", &ListData::propertycompany}, {"buildingcompany", &ListData::buildingcompany},
            {"buildingcount", &ListData::buildingcount}, {"housecount", &ListData::housecount},
            {"picture", &ListData::picture}, {"price", &ListData::price}, {"createtime", &ListData::createtime},
            {"lasttime", &ListData::lasttime}, {"building", &ListData::building}, {"complete", &ListData::complete},
            {"remark", &ListData::remark}, {"panid", &ListData::panid}};
        for (const auto &t : texts)
            h.insert(QLatin1String(t.first), [m = t.second](ListData &d, const QVariant &v) { d.*m = v.toString(); });
        return h;
    }();
    return table;
}

QString valueOf(const QVariantMap &search, const char *key)
{
    return text(search.value(QLatin1String(key)));
}


QVariantMap buildingNode(const QVariantMap &node)
{
    QVariantList children;
    for (const QVariant &child : node.value(QStringLiteral("children")).toList())
        children << buildingNode(child.toMap());
    return {{QStringLiteral("name"), node.value(QStringLiteral("name")).toString()},
            {QStringLiteral("lng"), node.value(QStringLiteral("lng")).toString()},
            {QStringLiteral("lat"), node.value(QStringLiteral("lat")).toString()},
            {QStringLiteral("unit"), node.value(QStringLiteral("unit")).toString()},
            {QStringLiteral("children"), children}};
}

} // namespace

CommunityMessage_DataSqlTable::CommunityMessage_DataSqlTable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    if (!isHaveTable(table(), CompanyDB))
        createTable(createSql(), CompanyDB);
}

QString CommunityMessage_DataSqlTable::createSql()
{
    QStringList definitions;
    for (const QVariantMap &c : CompanySQLConfig_DataSqltable::communityColumns()) {
        const QString format = definitions.isEmpty() ? QStringLiteral("%1 %2 unique") : QStringLiteral("%1 %2");
        definitions << format.arg(c.value(QStringLiteral("key")).toString(), c.value(QStringLiteral("type")).toString());
    }
    return QStringLiteral("create table %1(%2)").arg(table(), definitions.join(QLatin1Char(',')));
}

ListData CommunityMessage_DataSqlTable::toListData(const QVariantMap &row)
{
    ListData data;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        const auto setter = setters().constFind(it.key());
        if (setter != setters().cend())
            (*setter)(data, it.value());
    }
    return data;
}

// Communities with listings of a kind, within the user's city and company.
QString CommunityMessage_DataSqlTable::kindClause(const QString &kind) const
{
    const bool rent = kind.endsWith(QLatin1String("_rent_house"));
    if (!rent && !kind.endsWith(QLatin1String("_sale_house")))
        return QString();
    const Login login = currentLogin();
    QStringList inner{rent ? QStringLiteral("types = 1") : QStringLiteral("types = 0")};
    if (kind.startsWith(QLatin1String("my_")))
        inner << QStringLiteral("userphone = %1").arg(quoted(TextScramble::scramble(login.phone)));
    inner << QStringLiteral("housestatus = 1") << QStringLiteral("(cityid = %1)").arg(login.cityId)
          << QStringLiteral("(companyid = %1 or companyid = 0)")
                 .arg(isJointSale() ? login.jointSaleCompanyId : login.companyId);
    return QStringLiteral("id in(select mycommunityid from %1 where %2)")
        .arg(QStringLiteral("house"), inner.join(QLatin1String(" and ")));
}

QString CommunityMessage_DataSqlTable::whereClause(const QVariantMap &search)
{
    for (const char *key : {"keyWord", "name", "districtname", "areaname", "primaryschool", "middleschool"}) {
        if (isUnmatchable(search.value(QLatin1String(key))))
            return QStringLiteral(" where 0");
    }
    QStringList clauses;
    const QString words = valueOf(search, "keyWord");
    if (!words.isEmpty())
        clauses << QStringLiteral("(name like %1 or othrename like %1 or pinyin like %1)").arg(containsPattern(words));
    const QString name = valueOf(search, "name");
    if (!name.isEmpty())
        clauses << QStringLiteral("(name like %1 or othrename like %1 or address like %1 or pinyin like %1)")
                       .arg(exactPattern(name));
    for (const char *key : {"districtname", "areaname", "primaryschool", "middleschool"}) {
        if (!valueOf(search, key).isEmpty())
            clauses << QLatin1String(key) + QLatin1String(" = ") + quoted(valueOf(search, key));
    }
    // price is stored as text: compared as a number, so 900 is below 1000.
    if (!number(valueOf(search, "price_up")).isEmpty())
        clauses << QStringLiteral("cast(price as real) >= ") + number(valueOf(search, "price_up"));
    if (!number(valueOf(search, "price_down")).isEmpty())
        clauses << QStringLiteral("cast(price as real) <= ") + number(valueOf(search, "price_down"));
    if (!integer(valueOf(search, "id")).isEmpty())
        clauses << QStringLiteral("id = ") + integer(valueOf(search, "id"));
    if (search.contains(QStringLiteral("ids")))
        clauses << QStringLiteral("id in(%1)").arg(integerList(items(search.value(QStringLiteral("ids")))));
    clauses << kindClause(valueOf(search, "houseKind"));
    clauses.removeAll(QString());
    return clauses.isEmpty() ? QString() : QLatin1String(" where ") + clauses.join(QLatin1String(" and "));
}

QList<QVariantMap> CommunityMessage_DataSqlTable::rows(const QString &sql, const char *purpose)
{
    if (currentLogin().phone.isEmpty())
        return {};
    bool ok = true;
    const QList<QVariantMap> found = searchRows(CompanyDB, finalized(sql), purpose, &ok);
    m_queryFailed = m_queryFailed || !ok;
    return found;
}

QList<ListData> CommunityMessage_DataSqlTable::getCommunityList(const QVariantMap &search, int page, int pageSize,
                                                                const QStringList &fields)
{
    QStringList columns;
    for (const QString &f : fields) {
        if (columnTypes().contains(f) && !columns.contains(f))
            columns << f;
    }
    const QString select = columns.isEmpty() ? QStringLiteral("*") : columns.join(QLatin1Char(','));
    const QString where = whereClause(search);
    QString sql = QStringLiteral("select %1 from %2%3 order by id desc").arg(select, table(), where);
    if (pageSize > 0)
        sql += QStringLiteral(" limit %1 offset %2").arg(pageSize).arg(qint64(qMax(1, page) - 1) * pageSize);
    QList<ListData> list;
    for (const QVariantMap &row : rows(sql, "community search"))
        list << toListData(row);
    return list;
}

int CommunityMessage_DataSqlTable::getCommunityCount(const QVariantMap &search)
{
    const QList<QVariantMap> result =
        rows(QStringLiteral("select count(*) from %1 %2").arg(table(), whereClause(search)), "community count");
    return result.isEmpty() ? 0 : result.first().cbegin().value().toInt();
}

ListData CommunityMessage_DataSqlTable::getCommunityData(int id)
{
    const QString sql = QStringLiteral("select * from %1 where id=%2").arg(table()).arg(id);
    return toListData(rows(sql, "community by id").value(0));
}

int CommunityMessage_DataSqlTable::insertOrReplaceCommunities(const QList<QVariantMap> &records, bool moveTimeMark)
{
    if (!m_alive || currentLogin().phone.isEmpty())
        return -1;
    QScopedPointer<CompanySQLConfig_DataSqltable> config(
        moveTimeMark ? new CompanySQLConfig_DataSqltable(nullptr, isJointSale()) : nullptr);
    const QStringList columns = columnNames();
    QList<QVariantList> values;
    QStringList times;
    for (const QVariantMap &record : records) {
        QVariantList row;
        for (const QString &c : columns)
            row << BatchWriter::typed(columnTypes().value(c), record.value(c));
        values << row;
        times << record.value(QStringLiteral("lasttime")).toString();
    }
    const QString sql = QStringLiteral("replace into %1 (%2) values (:%3)")
                            .arg(table(), columns.join(QLatin1Char(',')), columns.join(QLatin1String(",:")));
    return BatchWriter::run(database(CompanyDB), sql, values, [&](const QList<int> &written) {
        const QString newest = BatchWriter::newestSyncTime(times, written);
        if (config && !newest.isEmpty())
            config->advanceCommunityLastUpdateTime(newest);
    });
}

bool CommunityMessage_DataSqlTable::updateCommunities(const QList<QVariantMap> &records, const QStringList &columns)
{
    QStringList known;
    for (const QString &c : columns) {
        if (columnTypes().contains(c) && c != QLatin1String("id") && !known.contains(c))
            known << c;
    }
    if (known.isEmpty() || !m_alive)
        return false;
    QList<QVariantList> values;
    for (const QVariantMap &record : records) {
        QVariantList row;
        for (const QString &c : known)
            row << BatchWriter::typed(columnTypes().value(c), record.value(c));
        values << (row << record.value(QStringLiteral("id")).toLongLong());
    }
    const QString sql = QStringLiteral("update %1 set %2 where id=?").arg(table(), known.join(QLatin1String("=?,")) + QLatin1String("=?"));
    return BatchWriter::run(database(CompanyDB), sql, values) == values.size();
}

bool CommunityMessage_DataSqlTable::deleteCommunities(const QStringList &ids)
{
    const QString list = integerList(ids);
    return !list.isEmpty() && exec(CompanyDB, QStringLiteral("delete from %1 where id in(%2)").arg(table(), list));
}

QVariantList CommunityMessage_DataSqlTable::buildings(int communityId)
{
    const QString text = rows(QStringLiteral("select building from %1 where id=%2").arg(table()).arg(communityId),
                              "community buildings")
                             .value(0)
                             .value(QStringLiteral("building"))
                             .toString();
    QVariantList nodes;
    for (const QVariant &node : QJsonDocument::fromJson(text.toUtf8()).toVariant().toList())
        nodes << buildingNode(node.toMap());
    return nodes;
}
