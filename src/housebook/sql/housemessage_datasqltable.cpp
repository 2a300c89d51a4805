#include "sql/housemessage_datasqltable.h"

#include "datacenter.h"
#include "platform/housebookcodes.h"
#include "sql/batchwriter.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housepermission.h"
#include "sql/housequerybuilder.h"
#include "sql/houserecord.h"
#include "sql/sqlliteral.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

using Data = HouseMessage_DataSqlTable::HouseMessageData;

namespace {

const QString kWeihuTable = QStringLiteral("weihu_house");

// Columns the privacy mask reads, added to a narrower select list.
const QStringList &maskColumns()
{
    static const QStringList columns{QStringLiteral("id"),     QStringLiteral("userphone"), QStringLiteral("deptid"),
                                     QStringLiteral("sf"),     QStringLiteral("hbdujia"),   QStringLiteral("weihuren")};
    return columns;
}

// The listing pages filter on kind and state, order by pin and a column, and count the same
// set. One index holding every column of the scope, kind, state, community, keyword, price and
// permission clauses answers the page and its count without touching the wide rows: counting
// 100,000 sale listings reads about 20 MB of index instead of 260 MB of rows. The second finds
// a community's listings directly. (An index on the scrambled name cost a third of the insert
// speed and served nothing the first does not.)
const QStringList &baseIndexStatements()
{
    static const QStringList statements{
        QStringLiteral("create index if not exists house_kind_order on house(types,housestatus,istop,id,cityid,"
                       "companyid,isdel,newstate,mycommunityid,name,price,stype,sf,deptid,suopan,fengpan,shenhestatus,"
                       "userphone,realuserphone,phonerange)"),
        QStringLiteral("create index if not exists house_community on house(mycommunityid)")};
    return statements;
}

// A book page sorted by a column walks one of these in order (pinned and other listings as two
// arms, see HouseQueryBuilder::pinnedSplitPage) and stops after the page, instead of sorting
// every listing of the book. They hold no scope columns: the page reads its rows anyway, and
// the scope passes most listings, so a page reads little more than its own rows; narrow
// entries keep the file and the sync's writes small.
QString sortIndexName(const QString &column)
{
    return QStringLiteral("house_sort_") + column;
}

QStringList sortIndexStatements()
{
    QStringList statements;
    for (const QString &column : HouseQueryBuilder::indexedSortKeys()) {
        if (column != QLatin1String("id"))  // house_kind_order leads with the same columns
            statements << QStringLiteral("create index if not exists %1 on house(types,housestatus,istop,%2)")
                              .arg(sortIndexName(column), column);
    }
    return statements;
}

bool &sortIndexesWanted()
{
    static bool wanted = true;
    return wanted;
}

// Indexes missing from a book larger than this are not built where the table object is made
// (usually the interface thread, where a million listings would freeze it for a minute) but by
// the sync worker at the end of the next sync. Counted by the largest rowid, which costs
// nothing and never undercounts.
std::atomic<int> &inlineIndexRows()
{
    static std::atomic<int> rows{20000};
    return rows;
}

// Set while a first sync fills an empty book without its secondary indexes (built once after
// the last page, which is several times faster than keeping them up to date row by row); no
// table object builds them in the meantime.
std::atomic<bool> &indexesDeferred()
{
    static std::atomic<bool> deferred{false};
    return deferred;
}

QStringList indexStatements()
{
    return sortIndexesWanted() ? baseIndexStatements() + sortIndexStatements() : baseIndexStatements();
}

// The index a "create index if not exists NAME on ..." statement creates.
QString indexNameOf(const QString &statement)
{
    return statement.section(QLatin1Char(' '), 5, 5);
}

// The index names of the statements, quoted for an "in(...)" list.
QString quotedIndexNames(const QStringList &statements)
{
    QStringList names;
    for (const QString &statement : statements)
        names << QStringLiteral("'%1'").arg(indexNameOf(statement));
    return names.join(QLatin1Char(','));
}

QString replaceSql()
{
    const QStringList columns = HouseRecord::columnNames();
    QStringList placeholders;
    for (const QString &c : columns)
        placeholders << QLatin1Char(':') + c;
    return QStringLiteral("replace into %1 %2")
        .arg(HouseMessage_DataSqlTable::table(),
             QStringLiteral("(%1) values (%2)").arg(columns.join(QLatin1Char(',')), placeholders.join(QLatin1Char(','))));
}

QString historyKey(int subMode)
{
    switch (subMode) {
    case 1:
        return QStringLiteral("readhistory");
    case 2:
        return QStringLiteral("likehistory");
    case 3:
        return QStringLiteral("noticehistory");
    default:
        return QString();
    }
}

QSet<QString> idSet(const QStringList &ids)
{
    return QSet<QString>(ids.cbegin(), ids.cend());
}

} // namespace

HouseMessage_DataSqlTable::HouseMessage_DataSqlTable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    ensureSchema();
}

HouseMessage_DataSqlTable::~HouseMessage_DataSqlTable() = default;

QString HouseMessage_DataSqlTable::createSql()
{
    QStringList definitions;
    for (const QVariantMap &c : CompanySQLConfig_DataSqltable::houseColumns()) {
        const QString format = definitions.isEmpty() ? QStringLiteral("%1 %2 unique") : QStringLiteral("%1 %2");
        definitions << format.arg(c.value(QStringLiteral("key")).toString(), c.value(QStringLiteral("type")).toString());
    }
    return QStringLiteral("create table %1(%2)").arg(table(), definitions.join(QLatin1Char(',')));
}

// One look at the schema per construction (pages build a table object for every load): the
// table, its indexes (a column upgrade rebuilds the table without them) and the community table
// that keyword searches use.
void HouseMessage_DataSqlTable::ensureSchema()
{
    const QStringList indexes = indexStatements();
    const QVariantMap present = selectRows(CompanyDB, QStringLiteral(
        "select (select count(*) from sqlite_master where type='table' and name='house') as house,"
        "(select count(*) from sqlite_master where type='index' and tbl_name='house' and name in(%1)) as indexes,"
        "(select count(*) from sqlite_master where type='table' and name='community') as community")
        .arg(quotedIndexNames(indexes))).value(0);
    m_hasCommunityTable = present.value(QStringLiteral("community")).toInt() > 0;
    m_indexesComplete = present.value(QStringLiteral("indexes")).toInt() == indexes.size();
    if (m_indexesComplete)
        return;
    if (present.value(QStringLiteral("house")).toInt() == 0) {
        createTable(createSql(), CompanyDB);
    } else if (indexesDeferred().load()) {
        return;
    } else {
        // A database of an older version gets the indexes it lacks here when they are quick to
        // build; a large book gets them from the sync worker (createMissingIndexes), and its
        // pages are read without them until then.
        const QVariantMap size = selectRows(CompanyDB, QStringLiteral("select max(rowid) as n from %1").arg(table())).value(0);
        if (size.value(QStringLiteral("n")).toLongLong() > inlineIndexRows().load())
            return;
    }
    createMissingIndexes();
}

// The build keeps its pages in memory until each index is committed: spilling them to the file
// on the way would lock every reader out until the end (the book keeps a rollback journal).
bool HouseMessage_DataSqlTable::createMissingIndexes()
{
    if (m_indexesComplete)  // as this object found them; every sync's end asks
        return true;
    const QVariantMap cache = selectRows(CompanyDB, QStringLiteral("pragma cache_size")).value(0);
    exec(CompanyDB, QStringLiteral("pragma cache_size=-131072"));
    bool ok = true;
    for (const QString &statement : indexStatements())
        ok = exec(CompanyDB, statement) && ok;
    if (!cache.isEmpty())
        exec(CompanyDB, QStringLiteral("pragma cache_size=%1").arg(cache.first().toInt()));
    indexesDeferred() = false;
    m_indexesComplete = ok;
    return ok;
}

bool HouseMessage_DataSqlTable::deferIndexesOfEmptyBook()
{
    if (!selectRows(CompanyDB, QStringLiteral("select 1 from %1 limit 1").arg(table())).isEmpty())
        return false;
    indexesDeferred() = true;
    for (const QString &statement : indexStatements())
        exec(CompanyDB, QStringLiteral("drop index if exists %1").arg(indexNameOf(statement)));
    return true;
}

void HouseMessage_DataSqlTable::endIndexDeferral()
{
    indexesDeferred() = false;
}

void HouseMessage_DataSqlTable::setInlineIndexRows(int rows)
{
    inlineIndexRows() = rows;
}

void HouseMessage_DataSqlTable::setSortIndexes(bool on)
{
    sortIndexesWanted() = on;
}

QStringList HouseMessage_DataSqlTable::sortIndexNames()
{
    QStringList names;
    for (const QString &statement : sortIndexStatements())
        names << indexNameOf(statement);
    return names;
}

// The active sale and rent books ordered by an indexed column read their page in index order
// when every listing of the kind is pinned (1) or not (0), which the same index tells at once.
bool HouseMessage_DataSqlTable::readsInIndexOrder(const HouseQuery &query)
{
    if (!sortIndexesWanted() || !HouseQueryBuilder::indexedSortKeys().contains(query.sortKey))
        return false;
    if (query.mode != HouseBookCodes::ActiveSaleMode && query.mode != HouseBookCodes::ActiveRentMode)
        return false;
    const int types = query.mode == HouseBookCodes::ActiveRentMode ? 1 : 0;
    // Three probes, each a seek in the index; one "or" of the three would scan the whole kind.
    const QString probe = QStringLiteral("exists(select 1 from %1 where types = %2 and housestatus = 1 and istop %3)");
    const QVariantMap other = selectRows(
        CompanyDB, QStringLiteral("select (%1 or %2 or %3) as other")
                       .arg(probe.arg(table()).arg(types).arg(QStringLiteral("is null")),
                            probe.arg(table()).arg(types).arg(QStringLiteral("< 0")),
                            probe.arg(table()).arg(types).arg(QStringLiteral("> 1")))).value(0);
    return other.value(QStringLiteral("other")).toInt() == 0 && !other.isEmpty();
}

QString HouseMessage_DataSqlTable::whereOf(const HouseQuery &query, HousePermission &permission,
                                           HouseBookSet_SqlTable &settings, const QString &idColumn)
{
    HouseQueryBuilder::Scope scope;
    scope.cityId = DataCenter::CityID;
    scope.companyId = isJointSale() ? DataCenter::JointSaleCompanyId : DataCenter::CompanyID;
    scope.userPhone = DataCenter::UserPhoneNumber;
    scope.hasCommunityTable = m_hasCommunityTable;
    scope.idColumn = idColumn;
    QStringList extra = permission.clauses(query.mode, settings);
    const QString history = historyKey(query.subMode);
    if (!history.isEmpty())
        extra << idColumn + QLatin1String(" in(") + SqlLiteral::integerList(settings.historyIds(history)) + QLatin1Char(')');
    return HouseQueryBuilder(scope).whereClause(query, extra);
}

// A failed statement is logged and remembered (queryFailed()), so a page can tell it from an
// empty result.
QList<QVariantMap> HouseMessage_DataSqlTable::fetchRows(const QString &sql, const char *purpose)
{
    QList<QVariantMap> rows;
    if (!m_alive)
        return rows;
    QSqlDatabase db = database(CompanyDB);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!db.isOpen() || !query.exec(SqlLiteral::finalized(sql))) {
        logFailedSearch(purpose, db.isOpen() ? query.lastError() : db.lastError());
        m_queryFailed = true;
        return rows;
    }
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    while (query.next()) {
        QVariantMap row;
        for (int i = 0; i < names.size(); ++i)
            row.insert(names.at(i), query.value(i));
        rows << row;
    }
    return rows;
}

int HouseMessage_DataSqlTable::fetchCount(const QString &sql, const char *purpose)
{
    const QList<QVariantMap> rows = fetchRows(sql, purpose);
    return rows.isEmpty() ? 0 : rows.first().cbegin().value().toInt();
}

QList<Data> HouseMessage_DataSqlTable::toRecords(QList<QVariantMap> rows, HousePermission &permission,
                                                 HouseBookSet_SqlTable &settings)
{
    if (rows.isEmpty())
        return {};
    const QSet<QString> read = idSet(settings.historyIds(QStringLiteral("readhistory")));
    const QSet<QString> liked = idSet(settings.historyIds(QStringLiteral("likehistory")));
    QList<Data> records;
    records.reserve(rows.size());
    for (QVariantMap &row : rows) {
        HouseRecord::unscrambleRow(row);
        permission.mask(row);
        const QString id = row.value(QStringLiteral("id")).toString();
        row.insert(QStringLiteral("isread"), read.contains(id) ? 1 : 0);
        row.insert(QStringLiteral("islike"), liked.contains(id) ? 1 : 0);
        records << HouseRecord::toHouseData(row);
    }
    return records;
}

QString HouseMessage_DataSqlTable::listSql(const HouseQuery &query, HousePermission &permission,
                                           HouseBookSet_SqlTable &settings)
{
    const QString where = whereOf(query, permission, settings, QStringLiteral("id"));
    if (readsInIndexOrder(query)) {
        const QString select = HouseQueryBuilder::selectList(
            query.fields, maskColumns() + QStringList{QStringLiteral("istop"), query.sortKey});
        return HouseQueryBuilder::pinnedSplitPage(select, table(), where, query.sortKey, query.sortDescending,
                                                  query.page, query.pageSize);
    }
    return QStringLiteral("select %1 from %2 %3 %4 %5")
        .arg(HouseQueryBuilder::selectList(query.fields, maskColumns()), table(), where,
             HouseQueryBuilder::orderClause(query.sortKey, query.sortDescending),
             HouseQueryBuilder::pagingClause(query.page, query.pageSize));
}

QString HouseMessage_DataSqlTable::countSql(const HouseQuery &query, HousePermission &permission,
                                            HouseBookSet_SqlTable &settings)
{
    return QStringLiteral("select count(*) from %1 %2").arg(table(), whereOf(query, permission, settings, QStringLiteral("id")));
}

QString HouseMessage_DataSqlTable::listStatement(const HouseQuery &query)
{
    HousePermission permission(isJointSale());
    HouseBookSet_SqlTable settings(nullptr, isJointSale());
    return SqlLiteral::finalized(listSql(query, permission, settings));
}

QString HouseMessage_DataSqlTable::countStatement(const HouseQuery &query)
{
    HousePermission permission(isJointSale());
    HouseBookSet_SqlTable settings(nullptr, isJointSale());
    return SqlLiteral::finalized(countSql(query, permission, settings));
}

QList<Data> HouseMessage_DataSqlTable::getHouseList(const HouseQuery &query)
{
    if (DataCenter::UserPhoneNumber.isEmpty())
        return {};
    HousePermission permission(isJointSale());
    HouseBookSet_SqlTable settings(nullptr, isJointSale());
    return toRecords(fetchRows(listSql(query, permission, settings), "listing page"), permission, settings);
}

int HouseMessage_DataSqlTable::getHouseCount(const HouseQuery &query)
{
    if (DataCenter::UserPhoneNumber.isEmpty())
        return 0;
    HousePermission permission(isJointSale());
    HouseBookSet_SqlTable settings(nullptr, isJointSale());
    return fetchCount(countSql(query, permission, settings), "listing count");
}

Data HouseMessage_DataSqlTable::getHouseData(int id)
{
    if (DataCenter::UserPhoneNumber.isEmpty())
        return Data();
    HousePermission permission(isJointSale());
    HouseBookSet_SqlTable settings(nullptr, isJointSale());
    const QString sql = QStringLiteral("select * from %1 where id=%2").arg(table()).arg(id);
    const QList<Data> records = toRecords(fetchRows(sql, "listing by id"), permission, settings);
    return records.value(0);
}

QList<Data> HouseMessage_DataSqlTable::weihuHouseList(const HouseQuery &query)
{
    if (DataCenter::UserPhoneNumber.isEmpty() || !isHaveTable(kWeihuTable, CompanyDB))
        return {};
    HousePermission permission(isJointSale());
    HouseBookSet_SqlTable settings(nullptr, isJointSale());
    const QString house = table();
    // days is stored as text: ordered as a number, so 9 comes before 10. Another sort key
    // orders by that listing column, the term breaking ties.
    const QString days = QStringLiteral("cast(%1.days as integer)").arg(kWeihuTable);
    const QString direction = query.sortDescending ? QStringLiteral("desc") : QStringLiteral("asc");
    const QString order = query.sortKey != QLatin1String("days") && HouseRecord::isColumn(query.sortKey)
                              ? QStringLiteral("order by %1.%2 %3, %4 asc").arg(house, query.sortKey, direction, days)
                              : QStringLiteral("order by %1 %2").arg(days, direction);
    const int size = qMax(1, query.pageSize);
    // One arg() pass: a second one could find "%9" inside a condition's text.
    const QString sql = QStringLiteral("select %1.*,%2.days from %3 inner join %4 on %5.id=%6.id %7 %8 limit %9 offset %10")
                            .arg(house, kWeihuTable, house, kWeihuTable, house, kWeihuTable,
                                 whereOf(query, permission, settings, house + QLatin1String(".id")), order,
                                 QString::number(size), QString::number(qint64(qMax(1, query.page) - 1) * size));
    return toRecords(fetchRows(sql, "maintainer worklist page"), permission, settings);
}

int HouseMessage_DataSqlTable::weihuHouseCount(const HouseQuery &query)
{
    if (DataCenter::UserPhoneNumber.isEmpty() || !isHaveTable(kWeihuTable, CompanyDB))
        return 0;
    HousePermission permission(isJointSale());
    HouseBookSet_SqlTable settings(nullptr, isJointSale());
    const QString house = table();
    return fetchCount(QStringLiteral("select count(*) from %1 inner join %2 on %3.id=%4.id %5")
                          .arg(house, kWeihuTable, house, kWeihuTable,
                               whereOf(query, permission, settings, house + QLatin1String(".id"))),
                      "maintainer worklist count");
}

int HouseMessage_DataSqlTable::insertOrReplaceHouses(const QList<QVariantMap> &records, bool moveTimeMark)
{
    if (!m_alive || currentLogin().phone.isEmpty())
        return -1;
    // Constructed before the transaction starts: it creates its table and row when missing.
    QScopedPointer<CompanySQLConfig_DataSqltable> config(
        moveTimeMark ? new CompanySQLConfig_DataSqltable(nullptr, isJointSale()) : nullptr);
    QList<QVariantList> values;
    QStringList times;
    values.reserve(records.size());
    for (const QVariantMap &record : records) {
        const QVariantMap row = HouseRecord::fromServer(record);
        values << HouseRecord::storedRow(row);
        times << row.value(QStringLiteral("lasttime")).toString();
    }
    return BatchWriter::run(database(CompanyDB), replaceSql(), values, [&](const QList<int> &written) {
        const QString newest = BatchWriter::newestSyncTime(times, written);
        if (config && !newest.isEmpty())
            config->advanceLastUpdateTime(newest);
    });
}

bool HouseMessage_DataSqlTable::updateHouseColumn(int id, const QString &column, const QVariant &value)
{
    if (!HouseRecord::isColumn(column))
        return false;
    const QVariant stored = HouseRecord::storedValues({{column, value}}, {column}).value(0);
    return exec(CompanyDB, QStringLiteral("update %1 set %2=? where id=%3").arg(table(), column).arg(id), {stored});
}

bool HouseMessage_DataSqlTable::updateHouseColumns(const QList<QVariantMap> &records, const QStringList &columns)
{
    QStringList known;
    for (const QString &c : columns) {
        if (HouseRecord::isColumn(c) && c != QLatin1String("id") && !known.contains(c))
            known << c;
    }
    if (known.isEmpty() || !m_alive)
        return false;
    QList<QVariantList> values;
    for (const QVariantMap &record : records) {
        const QVariantMap row = HouseRecord::fromServer(record);
        values << (HouseRecord::storedValues(row, known) << row.value(QStringLiteral("id")).toLongLong());
    }
    const QString sql = QStringLiteral("update %1 set %2 where id=?")
                            .arg(table(), known.join(QLatin1String("=?,")) + QLatin1String("=?"));
    return BatchWriter::run(database(CompanyDB), sql, values) == values.size();
}

bool HouseMessage_DataSqlTable::deleteHouse(int id)
{
    return exec(CompanyDB, QStringLiteral("delete from %1 where id=%2").arg(table()).arg(id));
}

bool HouseMessage_DataSqlTable::deleteHouses(const QStringList &ids)
{
    const QString list = SqlLiteral::integerList(ids);
    if (list.isEmpty())
        return false;
    return exec(CompanyDB, QStringLiteral("delete from %1 where id in(%2)").arg(table(), list));
}
