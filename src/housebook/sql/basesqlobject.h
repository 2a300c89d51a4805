#pragma once
// The one way into the local SQLite databases: the database files, one connection per thread
// and database kind, and the schema operations every table class uses.
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <functional>

class QSqlDatabase;
class QSqlQuery;

class BaseSqlObject : public QObject
{
    Q_OBJECT
public:
    // 0: the signed-in user's own database; 1: the company database.
    enum DBTYPE { PersonDB = 0, CompanyDB = 1 };

    BaseSqlObject(QObject *parent, bool isJointSale);
    ~BaseSqlObject() override;

    bool isJointSale() const { return m_isJointSale; }

    // The plug-in version whose points, replaced by underscores, name the database folder.
    static QString pluginVersion() { return QStringLiteral("4.2.0.1"); }
    // The sync marks of a fresh database.
    static QString initialSyncTime() { return QStringLiteral("2018/01/01 00:00:00"); }

    // "name" or "name_jointsale" for tables of the personal database.
    QString tableName(const QString &name) const;

    QString getDBAddress(DBTYPE type) const;
    bool isHaveDB(DBTYPE type) const;
    // The connection of the calling thread for a database kind, opened when new; empty
    // without a signed-in user.
    QString connectionName(DBTYPE type);
    static void addConnectName(const QString &name);
    void closeDB(DBTYPE type);
    static void removeAllConnect();

    bool isHaveTable(const QString &tableName, DBTYPE type);
    int haveDataInTable(const QString &tableName, DBTYPE type);
    bool createTable(const QString &createSqlString, DBTYPE type);
    bool clearTableData(const QString &tableName, DBTYPE type);
    bool deleteTable(const QString &tableName, DBTYPE type, bool resetTime = true);
    void deleteAllTable();
    bool addNewTableColumn(const QString &table_name, const QList<QVariantMap> &list, DBTYPE type);
    QList<QVariantMap> getTableColumns(const QString &table_name, DBTYPE type);
    bool copyTable(const QString &from_table_name, const QString &to_table_name, const QStringList &newKeyList,
                   DBTYPE type);
    bool renameTable(const QString &old_table_name, const QString &new_table_name, DBTYPE type);
    bool deleteTableColumns(const QString &table_name, const QStringList &beforeKeyList,
                            const QStringList &deleteKeyList, DBTYPE type);

    // Where the personal database lives instead of the application folder (tests, portable
    // installs); empty: the application folder.
    static void setPersonalBaseDir(const QString &dir);
    // The folder of the personal database and of the settings file: that override, else
    // the application folder.
    static QString applicationDir();
    // The clock of the connection registry, replaceable so pruning can be tested without waiting.
    static void setClock(std::function<qint64()> clock);
    // Idle time after which a connection is closed.
    static constexpr qint64 kConnectionIdleMs = 60 * 1000;

signals:
    void loadDataFinish(int type);
    void loadDataSuccess(int type);
    void allLoadFinish();
    void downloadDBProcess(qint64 bytesReceived, qint64 bytesTotal);

protected:
    // The open database of the calling thread; invalid without a signed-in user.
    QSqlDatabase database(DBTYPE type);
    // Runs one statement with bound values; false (and the table untouched) when it fails.
    bool exec(DBTYPE type, const QString &sql, const QVariantList &values = QVariantList());
    // Rows of a query as maps of column name to value.
    QList<QVariantMap> selectRows(DBTYPE type, const QString &sql, const QVariantList &values = QVariantList());

    // Cleared on destruction; slots that may run late test it first.
    QPointer<BaseSqlObject> m_alive;

private:
    void resetSyncMarks(const QString &droppedTable);

    bool m_isJointSale;
    QMutex m_connectionLock;
};
