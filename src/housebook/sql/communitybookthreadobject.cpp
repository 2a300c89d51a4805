#include "sql/communitybookthreadobject.h"

#include "sql/sqlliteral.h"

#include <QMutexLocker>
#include <QScopedPointer>
#include <QSqlDatabase>

using ListData = CommunityMessage_DataSqlTable::ListData;
using Condition = CommunityBookThreadObject::Condition;

namespace {

CommunityBookThreadObject::QueryObserver &observerSlot()
{
    static CommunityBookThreadObject::QueryObserver observer;
    return observer;
}

// The search as the table takes it: the condition's own ids narrow the search's ids.
QVariantMap searchOf(const Condition &condition)
{
    QVariantMap search = condition.search;
    if (condition.ids.isEmpty())
        return search;
    const bool narrowing = search.contains(QStringLiteral("ids"));
    const QStringList searched = SqlLiteral::items(search.value(QStringLiteral("ids")));
    QStringList ids;
    for (int id : condition.ids) {
        const QString text = QString::number(id);
        if (!narrowing || searched.contains(text))
            ids << text;
    }
    // An empty list stays a restriction: "id in()" matches nothing.
    search.insert(QStringLiteral("ids"), ids.join(QLatin1Char(',')));
    return search;
}

int communityIdOf(const Condition &condition)
{
    if (!condition.ids.isEmpty())
        return condition.ids.first();
    return SqlLiteral::integer(SqlLiteral::text(condition.search.value(QStringLiteral("id")))).toInt();
}

} // namespace

CommunityBookThreadObject::CommunityBookThreadObject(QObject *parent)
    : QObject(parent)
    , m_alive(this)
    , m_login(BaseSqlObject::loginFromHost())
{
}

void CommunityBookThreadObject::setCondition(const Condition &condition)
{
    QMutexLocker locker(&m_conditionLock);
    m_condition = condition;
}

Condition CommunityBookThreadObject::condition() const
{
    QMutexLocker locker(&m_conditionLock);
    return m_condition;
}

void CommunityBookThreadObject::setQueryObserver(QueryObserver observer)
{
    observerSlot() = std::move(observer);
}

// Runs one query on a table object of this thread and leaves no connection behind.
// A thread's connection is named after its thread id, and ids are reused once a thread has
// ended: a connection left in Qt's registry would hold its SQLite handle until the idle
// pruning, and a later thread with the same id would find a connection that belongs to a
// dead thread and cannot use it. So the table goes at once (not by deleteLater, which would
// outlive the connection's removal) and then this thread's connection is removed, all before
// the answer lets the thread end. Its entry in DataCenter::sqlConnectList stays until the
// idle pruning drops it; removing an already removed connection there does nothing.
template <typename Result, typename Query>
Result CommunityBookThreadObject::runQuery(Query query)
{
    const Condition current = condition();
    const BaseSqlObject::LoginScope login(m_login);
    QScopedPointer<CommunityMessage_DataSqlTable> table(new CommunityMessage_DataSqlTable(nullptr, current.isJointSale));
    const Result result = query(*table, current);
    if (observerSlot())
        observerSlot()(this);
    // Empty without a signed-in user: then nothing was opened.
    const QString connection = table->connectionName(BaseSqlObject::CompanyDB);
    table.reset();
    if (!connection.isEmpty())
        QSqlDatabase::removeDatabase(connection);
    return result;
}

void CommunityBookThreadObject::getComunityList()
{
    if (!m_alive)
        return;
    QMutexLocker locker(&m_listLock);
    const auto list = runQuery<QList<ListData>>([](CommunityMessage_DataSqlTable &table, const Condition &c) {
        return table.getCommunityList(searchOf(c), c.page, c.pageSize, c.fields);
    });
    emit backComunityList(list);
}

void CommunityBookThreadObject::getComunityListCount()
{
    if (!m_alive)
        return;
    QMutexLocker locker(&m_countLock);
    const int count = runQuery<int>([](CommunityMessage_DataSqlTable &table, const Condition &c) {
        return table.getCommunityCount(searchOf(c));
    });
    emit backComunityListCount(count);
}

void CommunityBookThreadObject::getComunityData()
{
    if (!m_alive)
        return;
    QMutexLocker locker(&m_dataLock);
    const ListData model = runQuery<ListData>([](CommunityMessage_DataSqlTable &table, const Condition &c) {
        const int id = communityIdOf(c);
        return id > 0 ? table.getCommunityData(id) : ListData();
    });
    emit backCommunityData(model);
}
