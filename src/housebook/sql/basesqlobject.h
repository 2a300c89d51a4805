#pragma once
// The one way into the local SQLite databases: the database files, one connection per thread
// and database kind, and the schema operations every table class uses.
#include <QList>
#include <QMutex>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <functional>

class QJsonValue;
class QSqlDatabase;
class QSqlError;
class QSqlQuery;
class NetRequestObjecet;
class SyncIngest;
struct SyncPageOutcome;

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

    // The signed-in user as the store needs it. A worker thread runs with the copy its starter
    // took on the GUI thread (LoginScope), never with the host's statics, which the GUI
    // thread changes at sign-in and sign-out.
    struct Login
    {
        QString phone;
        int companyId = 0;
        int jointSaleCompanyId = 0;
        int cityId = 0;
    };
    // The host's signed-in user; read on the GUI thread only.
    static Login loginFromHost();
    // The calling thread's scoped login, else the host's.
    static Login currentLogin();
    // While it lives, the store code of this thread works with the given login.
    class LoginScope
    {
    public:
        explicit LoginScope(const Login &login);
        ~LoginScope();
        LoginScope(const LoginScope &) = delete;
        LoginScope &operator=(const LoginScope &) = delete;

    private:
        Login m_login;
        const Login *m_previous;
    };

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
    // A worker thread that keeps its connection over a long job pins it: the idle pruning
    // and removeAllConnect() of other threads then leave it alone (removing it would pull the
    // driver from under a running statement). The worker removes it itself with
    // releaseConnection() once its statements are gone.
    static void pinConnection(const QString &name);
    static void releaseConnection(const QString &name);

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

    // ---- Downloads that fill the local store, one type code each ----
    // Runs several codes; allLoadFinish() follows once every one of them has ended.
    void download_id(const QList<int> &download_idList);
    // Runs one code.
    void updataSqlData(int download_id);
    // Why the last failed request of a settings download failed; empty when none failed.
    QString lastFailure() const { return m_lastFailure; }

public slots:
    // Code 1: the incremental listing sync (and the snapshot, when the server offers one).
    void download_house(bool authRefresh = true, bool isCanDownloadBD = false);
    void download_first_house();
    void first_house_download_finish();
    void first_house_download_fail();
    void deal_UpdateData(const QJsonValue &value);
    void dealData_checkHouseDB(const QJsonValue &value);
    void downloadDB(const QString &url);
    void downloadDBSuccess();
    // Code 18: back-fill of the columns a column upgrade added.
    void download_keyHouse(const QList<QVariantMap> &house_add_list, const QList<QVariantMap> &community_add_list);
    void dealData_keyHouse(const QJsonValue &value);
    void finshData_keyHouse();
    // Code -1: refresh of one listing.
    void downloadUndateOneHouse(int id);
    void deal_UpdateOneHouseData(const QJsonValue &value);
    void finshData_UpdateOneHouseData();

    // Codes 2-17, 19-26: settings and reference data.
    void download_DistricAndArea();
    void dealData_DistricAndArea(const QJsonValue &value);
    void finshData_DistricAndArea();
    void download_PublicCategory();
    void dealData_PublicCategory(const QJsonValue &value);
    void finshData_PublicCategory();
    void download_JobList();
    void dealData_JobList(const QJsonValue &value);
    void finshData_JobList();
    void download_userInit();
    void dealData_userInit(const QJsonValue &value);
    void finshData_userInit();
    void download_HouseBookSet();
    void dealData_HouseBookSet(const QJsonValue &value);
    void finshData_HouseBookSet();
    void download_HouseBookCategory();
    void dealData_HouseBookCategory(const QJsonValue &value);
    void finshData_HouseBookCategory();
    void download_allStaffList();
    void download_allStoreList();
    void download_applist();
    void dealData_applist(const QJsonValue &value);
    void finshData_applist();
    void download_userAuth();
    void dealData_userAuth(const QJsonValue &value);
    void finshData_userAuth();
    void download_cityHouseSet();
    void dealData_cityHouseSet(const QJsonValue &value);
    void finshData_cityHouseSet();
    void download_cloudDistrict();
    void dealData_cloudDistrict(const QJsonValue &value);
    void finshData_cloudDistrict();
    void download_customerBookSet();
    void dealData_customerBookSet(const QJsonValue &value);
    void finshData_customerBookSet();
    void download_customerBookBaseSet();
    void dealData_customerBookBaseSet(const QJsonValue &value);
    void finshData_customerBookBaseSet();
    void download_saleContractSet();
    void dealData_saleContractSet(const QJsonValue &value);
    void finshData_saleContractSet();
    void download_rentContractSet();
    void dealData_rentContractSet(const QJsonValue &value);
    void finshData_rentContractSet();
    void download_callBabyBaseSet();
    void dealData_callBabyBaseSet(const QJsonValue &value);
    void finshData_callBabyBaseSet();
    void download_watchCommunityList();
    void dealData_watchCommunityList(const QJsonValue &value);
    void finshData_watchCommunityList();
    void downloadCompanyAllStaffDepartment();
    void downloadMyDepartment();
    void dealData_MyDepartment(const QJsonValue &value);
    void finshData_MyDepartment();
    void downloadJointSaleMsg();
    void dealData_JointSaleMsg(const QJsonValue &value);
    void finshData_JointSaleMsg();
    void downloadIsJointReviewMsg();
    void dealData_IsJointReviewMsg(const QJsonValue &value);
    void finshData_IsJointReviewMsg();
    void downloadHouseBookSaleXieZuoSet();
    void dealData_HouseBookSaleXieZuoSet(const QJsonValue &value);
    void finshData_HouseBookSaleXieZuoSet();
    void downloadHouseBookRentXieZuoSet();
    void dealData_HouseBookRentXieZuoSet(const QJsonValue &value);
    void finshData_HouseBookRentXieZuoSet();

public:
    // Where the personal database lives instead of the application folder (tests, portable
    // installs); empty: the application folder.
    static void setPersonalBaseDir(const QString &dir);
    // The suffix a database file carries while a snapshot swap has set it aside.
    static QString setAsideSuffix() { return QStringLiteral(".replaced"); }
    // The folder of the personal database and of the settings file: that override, else
    // the configured data folder (ServerConfig::dataRoot), else the application folder.
    static QString applicationDir();
    // The clock of the connection registry and of the sync marks' check against the present,
    // replaceable so both can be tested without waiting.
    static void setClock(std::function<qint64()> clock);
    // The host's sign-in window is in front: nothing is fetched or stored then.
    static bool isLoginWindow();
    // The host's flag of a running listing sync of the normal (false) or joint-sale book.
    static bool isSyncRunning(bool isJointSale);
    static qint64 currentMSecsSinceEpoch();
    // Idle time after which a connection is closed.
    static constexpr qint64 kConnectionIdleMs = 60 * 1000;

signals:
    void loadDataFinish(int type);
    void loadDataSuccess(int type);
    void allLoadFinish();
    void downloadDBProcess(qint64 bytesReceived, qint64 bytesTotal);
    // The listing sync (code 1) has stored another page: pages and listings stored so far by
    // this sync. The host hears the same on the signal hub (HubSyncProgress).
    void syncProgress(int pages, int listings);

protected:
    // The open database of the calling thread; invalid without a signed-in user.
    QSqlDatabase database(DBTYPE type);
    // Runs one statement with bound values; false (and the table untouched) when it fails.
    bool exec(DBTYPE type, const QString &sql, const QVariantList &values = QVariantList());
    // Rows of a query as maps of column name to value.
    QList<QVariantMap> selectRows(DBTYPE type, const QString &sql, const QVariantList &values = QVariantList());
    // selectRows() of a search: a statement that fails is logged under its purpose and clears
    // *ok, so that the caller can tell a failure from "nothing found".
    QList<QVariantMap> searchRows(DBTYPE type, const QString &sql, const char *purpose, bool *ok);
    // Logs a failed search statement: its purpose and the driver's message cut short, never
    // the statement, which holds what the agent typed.
    static void logFailedSearch(const char *purpose, const QSqlError &error);

    // Cleared on destruction; slots that may run late test it first.
    QPointer<BaseSqlObject> m_alive;

private:
    QList<QVariantMap> runSelect(DBTYPE type, const QString &sql, const QVariantList &values, QSqlError *error);
    static void restoreSetAsideDatabase(const QString &path);
    void resetSyncMarks(const QString &droppedTable);
    // The common shape of a settings download: skipped while signing in, posts the form with
    // lianmai in joint-sale mode, reply to dealSlot, end to finishSlot.
    void postDownload(const QString &url, QVariantMap form, void (BaseSqlObject::*dealSlot)(const QJsonValue &),
                      void (BaseSqlObject::*finishSlot)());
    void reportSuccess(int type);
    void reportFinish(int type);
    void countFinished(int type);
    void setSyncFlag(bool on);
    // Pages go to the sync's worker thread to be stored; the next page is asked for while the
    // worker stores the one before it.
    void handOverSyncPage(const QJsonObject &page);
    void syncPageStored(const SyncPageOutcome &outcome);
    void requestNextSyncPage();
    // Ends the sync once the page request and every handed-over page are done.
    void finishHouseSync();
    // The one way a running listing sync ends: flag cleared, outcome told, end reported.
    void endHouseSync();
    void fetchJointSaleCompanyThenSync();
    void beginHouseSync();
    void syncMarksRead(const QVariantMap &marks);
    SyncIngest *newIngest();
    void failHouseSync(const QString &reason);
    void settleSyncStatus();

    bool m_isJointSale;
    QMutex m_connectionLock;
    // Download state.
    int m_finishedCount = 0;
    QList<int> m_downloadIds;
    bool m_allReported = false;
    int m_pageIndex = 1;
    bool m_authRefresh = true;
    bool m_isCanDownloadBD = true;
    bool m_ownsSyncFlag = false;
    QString m_lastHouseTime = initialSyncTime();
    QString m_lastCommunityTime = initialSyncTime();
    int m_pendingUnpack = 0;
    // The listing sync's pages: the worker storing them, whether a page request is out,
    // whether the next one waits for the worker to catch up, and what has been stored.
    SyncIngest *m_ingest = nullptr;
    bool m_pageRequestOpen = false;
    bool m_nextPageWaits = false;
    int m_pagesStored = 0;
    int m_listingsStored = 0;
    QString m_lastFailure;
    // The listing sync's outcome for the book's sync status: set Running by this object and
    // not yet settled; success of the last page; the reason of a failure.
    bool m_statusOpen = false;
    bool m_syncSucceeded = false;
    QString m_syncFailure;
};
