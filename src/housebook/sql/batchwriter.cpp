#include "sql/batchwriter.h"

#include "net/wholenumber.h"
#include "sql/basesqlobject.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QTime>
#include <QJsonDocument>
#include <QSqlQuery>

#include <limits>

namespace {

bool intFromWhole(qint64 n, int *out)
{
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return false;
    *out = int(n);
    return true;
}

bool intFromText(const QString &text, int *out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (ok)
        return intFromWhole(n, out);
    const double d = t.toDouble(&ok);
    return ok && WholeNumber::fromDouble(d, out);
}

// The sync form of the latest time a mark may take: a day after the present.
QString latestMarkTime()
{
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(BaseSqlObject::currentMSecsSinceEpoch());
    return now.addDays(1).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

} // namespace

namespace BatchWriter {

namespace {
thread_local StatementCache *innermostCache = nullptr;
}

struct StatementCache::Entry
{
    QString connection;
    QString sql;
    QSqlQuery query;
};

StatementCache::StatementCache()
    : m_outer(innermostCache)
{
    innermostCache = this;
}

StatementCache::~StatementCache()
{
    innermostCache = m_outer;
    qDeleteAll(m_entries);
}

StatementCache *StatementCache::current()
{
    return innermostCache;
}

QSqlQuery *StatementCache::prepared(const QSqlDatabase &db, const QString &sql)
{
    for (Entry *entry : qAsConst(m_entries)) {
        if (entry->sql == sql && entry->connection == db.connectionName())
            return &entry->query;
    }
    auto *entry = new Entry{db.connectionName(), sql, QSqlQuery(db)};
    if (!entry->query.prepare(sql)) {
        delete entry;
        return nullptr;
    }
    ++m_prepared;
    m_entries.append(entry);
    return &entry->query;
}

int run(QSqlDatabase db, const QString &sql, const QList<QVariantList> &rows,
        const std::function<void(const QList<int> &)> &beforeCommit)
{
    if (!db.isOpen())
        return -1;
    const bool ownTransaction = db.transaction();
    QList<int> written;
    {
        StatementCache *cache = StatementCache::current();
        QSqlQuery own(db);
        QSqlQuery *query = cache ? cache->prepared(db, sql) : (own.prepare(sql) ? &own : nullptr);
        if (!query) {
            if (ownTransaction)
                db.rollback();
            return -1;
        }
        for (int i = 0; i < rows.size(); ++i) {
            const QVariantList &values = rows.at(i);
            for (int v = 0; v < values.size(); ++v)
                query->bindValue(v, values.at(v));
            if (query->exec())
                written << i;
        }
        // A kept statement is reset, so that it holds nothing of the transaction.
        query->finish();
    }
    if (beforeCommit)
        beforeCommit(written);
    if (ownTransaction && !db.commit()) {
        db.rollback();
        return -1;
    }
    return written.size();
}

ColumnType columnType(const QString &declared)
{
    if (declared == QLatin1String("int"))
        return ColumnType::Int;
    if (declared == QLatin1String("float"))
        return ColumnType::Float;
    return ColumnType::Text;
}

QVariant typed(ColumnType type, const QVariant &value)
{
    switch (type) {
    case ColumnType::Int: {
        int n = 0;
        return intValue(value, &n) ? n : 0;
    }
    case ColumnType::Float:
        return value.toDouble();
    case ColumnType::Text:
        break;
    }
    if (value.type() == QVariant::Map || value.type() == QVariant::List)
        return QString::fromUtf8(QJsonDocument::fromVariant(value).toJson(QJsonDocument::Compact));
    return value.isNull() ? QString(QLatin1String("")) : value.toString();
}

bool intValue(const QVariant &value, int *out)
{
    *out = 0;
    if (value.isNull() || value.userType() == QMetaType::Nullptr)
        return true;
    switch (value.type()) {
    case QVariant::Bool:
        *out = value.toBool() ? 1 : 0;
        return true;
    case QVariant::Int:
    case QVariant::UInt:
    case QVariant::LongLong:
        return intFromWhole(value.toLongLong(), out);
    case QVariant::ULongLong:
        return value.toULongLong() <= qulonglong(std::numeric_limits<int>::max()) && intFromWhole(value.toLongLong(), out);
    case QVariant::Double:
        return WholeNumber::fromDouble(value.toDouble(), out);
    case QVariant::String:
        return intFromText(value.toString(), out);
    default:
        return false;
    }
}

QVariant typed(const QString &declaredType, const QVariant &value)
{
    return typed(columnType(declaredType), value);
}

// "yyyy/MM/dd HH:mm:ss" with a real date and time; checked without QDateTime, whose parser
// consults the time zone files on every call.
bool isSyncTime(const QString &t)
{
    static const QString shape = QStringLiteral("dddd/dd/dd dd:dd:dd");
    if (t.size() != shape.size())
        return false;
    for (int i = 0; i < t.size(); ++i) {
        if (shape.at(i) == QLatin1Char('d') ? !t.at(i).isDigit() || t.at(i).unicode() > '9' : t.at(i) != shape.at(i))
            return false;
    }
    const auto num = [&t](int from, int n) { return t.midRef(from, n).toInt(); };
    return QDate::isValid(num(0, 4), num(5, 2), num(8, 2)) && QTime::isValid(num(11, 2), num(14, 2), num(17, 2));
}

QString newestSyncTime(const QStringList &times, const QList<int> &written)
{
    QString newest;
    QString latest;
    QStringList ahead;
    for (int i : written) {
        const QString &time = times.at(i);
        if (time <= newest || !isSyncTime(time))
            continue;
        if (latest.isEmpty())
            latest = latestMarkTime();
        if (time <= latest)
            newest = time;
        else
            ahead << time;
    }
    if (!ahead.isEmpty())
        qWarning().noquote() << "sync mark:" << ahead.size() << "record time(s) after" << latest
                             << "(a day from now) left out, first" << ahead.first();
    return newest;
}

} // namespace BatchWriter
