#include "sql/basesqlobject.h"

#include "datacenter.h"
#include "net/endpoints.h"
#include "net/serverconfig.h"
#include "sql/booksyncstatus.h"
#include "sql/syncingest.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <functional>

namespace {

// Guards DataCenter::sqlConnectList, which worker threads' table objects also touch.
std::mutex &registryLock()
{
    return DataCenter::sqlConnectListLock();
}

// Connections their worker threads keep for a long job; guarded by registryLock().
QSet<QString> &pinnedConnections()
{
    static QSet<QString> names;
    return names;
}

// Drops the registered connections whose name matches; the caller holds registryLock().
void unregisterWhere(const std::function<bool(const QString &)> &matches)
{
    QList<QVariantMap> &list = DataCenter::sqlConnectList;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const QVariantMap &entry) { return matches(entry.value(QStringLiteral("name")).toString()); }),
               list.end());
}

// The login a worker thread runs with, while its scope lasts; none on the GUI thread.
thread_local const BaseSqlObject::Login *threadLogin = nullptr;

std::function<qint64()> &clockSlot()
{
    static std::function<qint64()> clock;
    return clock;
}

QString &personalBaseSlot()
{
    static QString dir;
    return dir;
}

qint64 nowMs()
{
    return clockSlot() ? clockSlot()() : QDateTime::currentMSecsSinceEpoch();
}

QString threadTag()
{
    return QString::number(reinterpret_cast<quintptr>(QThread::currentThreadId()));
}

// The column definitions of a "create table name(...)" statement, split at top-level commas.
QStringList columnDefinitions(const QString &createSql)
{
    const int open = createSql.indexOf(QLatin1Char('('));
    const int close = createSql.lastIndexOf(QLatin1Char(')'));
    QStringList defs;
    if (open < 0 || close <= open)
        return defs;
    int depth = 0;
    QString current;
    for (const QChar c : createSql.mid(open + 1, close - open - 1)) {
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        if (c == QLatin1Char(',') && depth == 0) {
            defs << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        defs << current.trimmed();
    return defs;
}

QString definitionName(const QString &def)
{
    QString name = def.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    if (name.size() > 1 && (name.startsWith(QLatin1Char('"')) || name.startsWith(QLatin1Char('`'))
                            || name.startsWith(QLatin1Char('['))))
        name = name.mid(1, name.size() - 2);
    return name;
}

} // namespace

BaseSqlObject::BaseSqlObject(QObject *parent, bool isJointSale)
    : QObject(parent)
    , m_alive(this)
    , m_isJointSale(isJointSale)
{
}

BaseSqlObject::~BaseSqlObject()
{
    // The sync's worker stops first: it finishes the page it is storing and closes its
    // connection before the book is shown as no longer syncing.
    delete m_ingest;
    // A sync that dies with its object must not leave its book marked as syncing.
    if (m_ownsSyncFlag)
        setSyncFlag(false);
    if (m_statusOpen)
        BookSyncStatus::instance()->setIdle(m_isJointSale);
}

// Byte 0 marks a running sync of the normal book, byte 1 one of the joint-sale book.
void BaseSqlObject::setSyncFlag(bool on)
{
    if (DataCenter::refreshStateOfDB.size() < 2)
        DataCenter::refreshStateOfDB.resize(2);
    DataCenter::refreshStateOfDB[m_isJointSale ? 1 : 0] = on ? 1 : 0;
    m_ownsSyncFlag = on;
}

QString BaseSqlObject::tableName(const QString &name) const
{
    return m_isJointSale ? name + QStringLiteral("_jointsale") : name;
}

void BaseSqlObject::setPersonalBaseDir(const QString &dir)
{
    personalBaseSlot() = dir;
}

QString BaseSqlObject::applicationDir()
{
    if (!personalBaseSlot().isEmpty())
        return personalBaseSlot();
    // A configured folder (the demo host's per-user folder) replaces the application folder.
    const QString configured = Endpoints::config().dataRoot;
    return configured.isEmpty() ? QCoreApplication::applicationDirPath() : configured;
}

void BaseSqlObject::setClock(std::function<qint64()> clock)
{
    clockSlot() = std::move(clock);
}

qint64 BaseSqlObject::currentMSecsSinceEpoch()
{
    return nowMs();
}

BaseSqlObject::Login BaseSqlObject::loginFromHost()
{
    Login login;
    login.phone = DataCenter::UserPhoneNumber;
    login.companyId = DataCenter::CompanyID;
    login.jointSaleCompanyId = DataCenter::JointSaleCompanyId;
    login.cityId = DataCenter::CityID;
    return login;
}

BaseSqlObject::Login BaseSqlObject::currentLogin()
{
    return threadLogin ? *threadLogin : loginFromHost();
}

BaseSqlObject::LoginScope::LoginScope(const Login &login)
    : m_login(login)
    , m_previous(threadLogin)
{
    threadLogin = &m_login;
}

BaseSqlObject::LoginScope::~LoginScope()
{
    threadLogin = m_previous;
}

QString BaseSqlObject::getDBAddress(DBTYPE type) const
{
    const Login login = currentLogin();
    QString key;
    if (type == PersonDB)
        key = login.phone;
    else
        key = QString::number(m_isJointSale ? login.jointSaleCompanyId : login.companyId) + QStringLiteral("v2.0");
    if (key.isEmpty() || login.phone.isEmpty())
        return QString();

    QString base;
    if (type == CompanyDB)
        base = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    else
        base = applicationDir();
    const QString folder = QStringLiteral("%1/sql/%2").arg(base, pluginVersion().replace(QLatin1Char('.'), QLatin1Char('_')));
    QDir().mkpath(folder);

    const QString digest = QString::fromLatin1(QCryptographicHash::hash(key.toLatin1(), QCryptographicHash::Md5).toHex());
    QString name = digest.mid(8, 16);
    if (type == CompanyDB)
        name.prepend(QStringLiteral("c-"));
    name.prepend(QStringLiteral("cp-"));
    return QStringLiteral("%1/%2.db").arg(folder, name);
}

bool BaseSqlObject::isHaveDB(DBTYPE type) const
{
    const QString path = getDBAddress(type);
    return !path.isEmpty() && QFileInfo::exists(path);
}

// A snapshot swap sets the database aside under this suffix before it moves the new file
// in; a process that dies between the two renames leaves only the set-aside file. Taking it
// back keeps the book (the sync resumes from its marks) instead of starting an empty one.
void BaseSqlObject::restoreSetAsideDatabase(const QString &path)
{
    const QString setAside = path + setAsideSuffix();
    if (!path.isEmpty() && !QFileInfo::exists(path) && QFileInfo::exists(setAside) && !QFile::rename(setAside, path))
        qWarning("housebook: could not take back the database set aside at %s", qPrintable(setAside));
}

QString BaseSqlObject::connectionName(DBTYPE type)
{
    if (currentLogin().phone.isEmpty())
        return QString();
    QString name;
    {
        QMutexLocker locker(&m_connectionLock);
        const QString base = type == PersonDB ? QStringLiteral("fxmsqlitewcp") : tableName(QStringLiteral("company_fxmsqlitewcp"));
        name = QStringLiteral("%1-%2").arg(base, threadTag());
        const QString path = getDBAddress(type);
        // A connection left from another login points at another user's or company's file.
        if (QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).databaseName() != path)
            QSqlDatabase::removeDatabase(name);
        if (!QSqlDatabase::contains(name)) {
            restoreSetAsideDatabase(path);
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            db.open();
        }
    }
    addConnectName(name);
    return name;
}

QSqlDatabase BaseSqlObject::database(DBTYPE type)
{
    const QString name = connectionName(type);
    if (name.isEmpty())
        return QSqlDatabase();
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (!db.isOpen())
        db.open();
    return db;
}

void BaseSqlObject::addConnectName(const QString &name)
{
    const qint64 now = nowMs();
    QStringList stale;
    {
        std::lock_guard<std::mutex> locker(registryLock());
        QList<QVariantMap> &list = DataCenter::sqlConnectList;
        bool found = false;
        for (QVariantMap &entry : list) {
            if (entry.value(QStringLiteral("name")).toString() == name) {
                entry.insert(QStringLiteral("time"), now);
                found = true;
            }
        }
        if (!found)
            list.append({{QStringLiteral("name"), name}, {QStringLiteral("time"), now}});
        for (int i = list.size() - 1; i >= 0; --i) {
            if (pinnedConnections().contains(list.at(i).value(QStringLiteral("name")).toString()))
                continue;
            if (now - list.at(i).value(QStringLiteral("time")).toLongLong() > kConnectionIdleMs) {
                stale << list.at(i).value(QStringLiteral("name")).toString();
                list.removeAt(i);
            }
        }
    }
    for (const QString &s : stale)
        QSqlDatabase::removeDatabase(s);
}

void BaseSqlObject::closeDB(DBTYPE type)
{
    const QString name = type == PersonDB ? QStringLiteral("fxmsqlitewcp") : tableName(QStringLiteral("company_fxmsqlitewcp"));
    const QString full = QStringLiteral("%1-%2").arg(name, threadTag());
    if (QSqlDatabase::contains(full)) {
        QSqlDatabase db = QSqlDatabase::database(full, false);
        if (db.isOpen())
            db.close();
    }
    removeAllConnect();
}

void BaseSqlObject::removeAllConnect()
{
    QSet<QString> pinned;
    {
        std::lock_guard<std::mutex> locker(registryLock());
        pinned = pinnedConnections();
        unregisterWhere([&](const QString &name) { return !pinned.contains(name); });
    }
    // Only the plug-in's own connections: the host and its other modules share this process
    // and keep theirs (removing one under a running query crashes its owner).
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (name.contains(QLatin1String("fxmsqlitewcp")) && !pinned.contains(name))
            QSqlDatabase::removeDatabase(name);
    }
}

void BaseSqlObject::pinConnection(const QString &name)
{
    std::lock_guard<std::mutex> locker(registryLock());
    pinnedConnections().insert(name);
}

void BaseSqlObject::releaseConnection(const QString &name)
{
    {
        std::lock_guard<std::mutex> locker(registryLock());
        pinnedConnections().remove(name);
        unregisterWhere([&](const QString &registered) { return registered == name; });
    }
    QSqlDatabase::removeDatabase(name);
}

bool BaseSqlObject::exec(DBTYPE type, const QString &sql, const QVariantList &values)
{
    if (!m_alive)
        return false;
    QSqlDatabase db = database(type);
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (!query.prepare(sql))
        return false;
    for (const QVariant &v : values)
        query.addBindValue(v);
    return query.exec();
}

QList<QVariantMap> BaseSqlObject::selectRows(DBTYPE type, const QString &sql, const QVariantList &values)
{
    return runSelect(type, sql, values, nullptr);
}

QList<QVariantMap> BaseSqlObject::searchRows(DBTYPE type, const QString &sql, const char *purpose, bool *ok)
{
    QSqlError error;
    const QList<QVariantMap> rows = runSelect(type, sql, QVariantList(), &error);
    if (error.isValid()) {
        logFailedSearch(purpose, error);
        if (ok)
            *ok = false;
    }
    return rows;
}

void BaseSqlObject::logFailedSearch(const char *purpose, const QSqlError &error)
{
    qWarning("%s: statement failed (%s): %s", purpose, qPrintable(error.nativeErrorCode()),
             qPrintable(error.text().left(80)));
}

// error, when given, is set when the statement could not run (a database that is not open
// included); an object being destroyed just returns nothing.
QList<QVariantMap> BaseSqlObject::runSelect(DBTYPE type, const QString &sql, const QVariantList &values,
                                            QSqlError *error)
{
    QList<QVariantMap> rows;
    if (!m_alive)
        return rows;
    QSqlDatabase db = database(type);
    if (!db.isOpen()) {
        if (error)
            *error = QSqlError(QStringLiteral("database not open"), QString(), QSqlError::ConnectionError);
        return rows;
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool ran = query.prepare(sql);
    for (int i = 0; ran && i < values.size(); ++i)
        query.addBindValue(values.at(i));
    ran = ran && query.exec();
    if (!ran) {
        if (error)
            *error = query.lastError();
        return rows;
    }
    while (query.next()) {
        const QSqlRecord record = query.record();
        QVariantMap row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i));
        rows.append(row);
    }
    return rows;
}

bool BaseSqlObject::isHaveTable(const QString &tableName, DBTYPE type)
{
    if (!m_alive)
        return false;
    QSqlDatabase db = database(type);
    return db.isOpen() && db.tables().contains(tableName);
}

int BaseSqlObject::haveDataInTable(const QString &tableName, DBTYPE type)
{
    if (!isHaveDB(type))
        return 0;
    const QList<QVariantMap> rows = selectRows(type, QStringLiteral("select count(*) as n from %1").arg(tableName));
    return rows.isEmpty() ? 0 : rows.first().value(QStringLiteral("n")).toInt();
}

bool BaseSqlObject::createTable(const QString &createSqlString, DBTYPE type)
{
    return exec(type, createSqlString);
}

bool BaseSqlObject::clearTableData(const QString &tableName, DBTYPE type)
{
    return exec(type, QStringLiteral("delete from %1").arg(tableName));
}

bool BaseSqlObject::deleteTable(const QString &tableName, DBTYPE type, bool resetTime)
{
    if (!isHaveTable(tableName, type))
        return false;
    if (!exec(type, QStringLiteral("drop table %1").arg(tableName)))
        return false;
    if (resetTime)
        resetSyncMarks(tableName);
    return true;
}

// A dropped listing or community table must be synced again from the beginning.
void BaseSqlObject::resetSyncMarks(const QString &droppedTable)
{
    if (!isHaveTable(QStringLiteral("company_config"), CompanyDB))
        return;
    if (droppedTable.contains(QLatin1String("house_")))
        exec(CompanyDB, QStringLiteral("update company_config set lastupdatatime=? where id=1"), {initialSyncTime()});
    if (droppedTable.contains(QLatin1String("community_")))
        exec(CompanyDB, QStringLiteral("update company_config set community_lastupdatatime=? where id=1"),
             {initialSyncTime()});
}

void BaseSqlObject::deleteAllTable()
{
    for (const QString &t : {QStringLiteral("house"), QStringLiteral("community"), QStringLiteral("company_config")})
        deleteTable(t, CompanyDB);
    for (const QString &t : {QStringLiteral("basemessage"), QStringLiteral("housebookset"), QStringLiteral("user"),
                             QStringLiteral("cityHouseSet"), QStringLiteral("backpost"), QStringLiteral("loan"),
                             QStringLiteral("tax")})
        deleteTable(tableName(t), PersonDB);
}

bool BaseSqlObject::addNewTableColumn(const QString &table_name, const QList<QVariantMap> &list, DBTYPE type)
{
    QSqlDatabase db = database(type);
    if (!m_alive || !db.isOpen() || !db.transaction())
        return false;
    for (const QVariantMap &column : list) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("alter table %1 add %2 %3")
                            .arg(table_name, column.value(QStringLiteral("key")).toString(),
                                 column.value(QStringLiteral("type")).toString()))) {
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

QList<QVariantMap> BaseSqlObject::getTableColumns(const QString &table_name, DBTYPE type)
{
    QList<QVariantMap> columns;
    for (const QVariantMap &row : selectRows(type, QStringLiteral("PRAGMA table_info('%1')").arg(table_name)))
        columns.append({{QStringLiteral("key"), row.value(QStringLiteral("name"))},
                        {QStringLiteral("type"), row.value(QStringLiteral("type"))}});
    return columns;
}

bool BaseSqlObject::copyTable(const QString &from_table_name, const QString &to_table_name,
                              const QStringList &newKeyList, DBTYPE type)
{
    return exec(type, QStringLiteral("create table %1 as select %2 from %3")
                          .arg(to_table_name, newKeyList.join(QLatin1Char(',')), from_table_name));
}

bool BaseSqlObject::renameTable(const QString &old_table_name, const QString &new_table_name, DBTYPE type)
{
    return exec(type, QStringLiteral("alter table %1 rename to %2").arg(old_table_name, new_table_name));
}

// SQLite cannot drop a column: the table is rebuilt without it, with the kept columns'
// declared types and constraints (the unique id above all), in one transaction, so an
// interruption leaves either the old table or the new one.
bool BaseSqlObject::deleteTableColumns(const QString &table_name, const QStringList &beforeKeyList,
                                       const QStringList &deleteKeyList, DBTYPE type)
{
    const QList<QVariantMap> master = selectRows(
        type, QStringLiteral("select sql from sqlite_master where type='table' and name=?"), {table_name});
    if (master.isEmpty())
        return false;
    QHash<QString, QString> definitions;
    for (const QString &def : columnDefinitions(master.first().value(QStringLiteral("sql")).toString()))
        definitions.insert(definitionName(def).toLower(), def);

    QStringList kept;
    QStringList keptDefs;
    for (const QString &key : beforeKeyList) {
        if (deleteKeyList.contains(key) || kept.contains(key))
            continue;
        const QString def = definitions.value(key.toLower());
        if (def.isEmpty())
            continue;
        kept << key;
        keptDefs << def;
    }
    if (kept.isEmpty())
        return false;

    QSqlDatabase db = database(type);
    if (!m_alive || !db.isOpen() || !db.transaction())
        return false;
    const QString temp = table_name + QStringLiteral("temp");
    const QString columns = kept.join(QLatin1Char(','));
    const QStringList steps{
        QStringLiteral("drop table if exists %1").arg(temp),
        QStringLiteral("create table %1(%2)").arg(temp, keptDefs.join(QLatin1Char(','))),
        QStringLiteral("insert into %1(%2) select %2 from %3").arg(temp, columns, table_name),
        QStringLiteral("drop table %1").arg(table_name),
        QStringLiteral("alter table %1 rename to %2").arg(temp, table_name),
    };
    for (const QString &step : steps) {
        QSqlQuery query(db);
        if (!query.exec(step)) {
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

bool BaseSqlObject::isLoginWindow()
{
    return DataCenter::CurrentWindow == QLatin1String("Login");
}

bool BaseSqlObject::isSyncRunning(bool isJointSale)
{
    const int byte = isJointSale ? 1 : 0;
    return DataCenter::refreshStateOfDB.size() > byte && DataCenter::refreshStateOfDB.at(byte) != 0;
}
