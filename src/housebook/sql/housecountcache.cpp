#include "sql/housecountcache.h"

#include "commonsignaltool.h"
#include "sql/basesqlobject.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// Carries the plug-in's connection mark, so that closing the plug-in's connections before a
// database file is replaced closes this one too.
QString probeName(bool isJointSale)
{
    return isJointSale ? QStringLiteral("company_fxmsqlitewcp_jointsale-countprobe")
                       : QStringLiteral("company_fxmsqlitewcp-countprobe");
}

} // namespace

HouseCountCache *HouseCountCache::instance()
{
    static HouseCountCache *cache = new HouseCountCache;
    return cache;
}

HouseCountCache::HouseCountCache(QObject *parent) : QObject(parent)
{
    connect(CommonSignalTool::Instance(), &CommonSignalTool::localHouseChange, this, &HouseCountCache::clear);
}

HouseCountCache::Ticket HouseCountCache::ticket(const QString &statement, bool isJointSale)
{
    const QString path = BaseSqlObject(nullptr, isJointSale).getDBAddress(BaseSqlObject::CompanyDB);
    Ticket t;
    t.key = path + QLatin1Char('\n') + statement;
    t.version = path.isEmpty() ? -1 : dataVersion(isJointSale, path);
    return t;
}

int HouseCountCache::lookup(const Ticket &ticket) const
{
    const auto it = m_counts.constFind(ticket.key);
    return ticket.version >= 0 && it != m_counts.cend() && it->version == ticket.version ? it->count : -1;
}

void HouseCountCache::store(const Ticket &ticket, int count)
{
    if (ticket.version < 0)
        return;
    // Bounded: one entry per query an agent ran since the book last changed.
    if (m_counts.size() >= 256)
        m_counts.clear();
    m_counts.insert(ticket.key, {ticket.version, count});
}

void HouseCountCache::clear()
{
    m_counts.clear();
}

// "pragma data_version" changes whenever another connection commits to the file.
qint64 HouseCountCache::dataVersion(bool isJointSale, const QString &path)
{
    const QString name = probeName(isJointSale);
    const bool reopened = !QSqlDatabase::contains(name) || m_probedPath.value(isJointSale) != path
                          || !QSqlDatabase::database(name, false).isOpen();
    if (reopened) {
        if (QSqlDatabase::contains(name))
            QSqlDatabase::removeDatabase(name);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            return -1;
        m_probedPath.insert(isJointSale, path);
        // Versions of the connection before are not comparable with this one's.
        clear();
    }
    QSqlQuery query(QSqlDatabase::database(name, false));
    if (!query.exec(QStringLiteral("pragma data_version")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}
