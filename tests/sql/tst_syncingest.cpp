// The listing sync stores its pages on a worker thread: the interface thread keeps running
// while they are stored, every stored page is counted, a page that cannot be stored stops the
// sync with the marks of the pages before it, and a sync broken off mid-way neither crashes
// nor leaves the worker's connection behind.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "listing.h"
#include "recordingserver.h"
#include "sql/basesqlobject.h"
#include "sql/batchwriter.h"
#include "sql/booksyncstatus.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/syncingest.h"

#include <QDateTime>
#include <QEventLoop>
#include <QJsonArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <ctime>

namespace {

using Reply = RecordingServer::Reply;

const QString kSalePath = QStringLiteral("/app/app/synchousebook");
const QString kCheckPath = QStringLiteral("/soft/hbook/checkhousedb");

// Listing n changed n seconds into 2024, in the server's form; the stored form of the same.
QDateTime changedAt(qint64 id)
{
    return QDateTime(QDate(2024, 1, 1), QTime(0, 0)).addSecs(id);
}

QJsonObject listing(qint64 id)
{
    return Listing(id)
        .set("name", QStringLiteral("翡翠湖畔花园"))
        .set("address", QStringLiteral("合肥市蜀山区黄山路128号"))
        .set("remark", QStringLiteral("满五唯一，南北通透，近地铁，业主诚心出售"))
        .set("tags", QStringLiteral("满五唯一,近地铁"))
        .set("contacts", QVariantList{QVariantMap{{"name", QStringLiteral("王先生")}, {"phone", "13912345678"}}})
        .role(QStringLiteral("weihuren"), QStringLiteral("李娜"), QStringLiteral("13800001111"))
        .price(128.5)
        .updated(changedAt(id).toString(QStringLiteral("yyyy/M/d H:mm:ss")))
        .json();
}

Reply page(const QJsonArray &houses, const QJsonArray &communities, bool next)
{
    return RecordingServer::envelope(200, QJsonObject{{"housebook", houses}, {"community", communities}, {"nextpage", next}});
}

// Pages of perPage listings with ids from 1, oldest first as the server sends them.
void queueBook(RecordingServer &server, int pages, int perPage)
{
    for (int p = 0; p < pages; ++p) {
        QJsonArray houses;
        for (int i = 1; i <= perPage; ++i)
            houses.append(listing(qint64(p) * perPage + i));
        server.queueReply(kSalePath, page(houses, {}, p + 1 < pages));
    }
}

QJsonObject community(qint64 id)
{
    return {{"id", id}, {"name", QStringLiteral("翡翠湖畔花园")}, {"lasttime", "2024/1/1 0:00:01"}};
}

QList<int> codesOf(const QSignalSpy &spy)
{
    QList<int> codes;
    for (const QList<QVariant> &args : spy)
        codes << args.at(0).toInt();
    return codes;
}

class Store : public BaseSqlObject
{
public:
    Store() : BaseSqlObject(nullptr, false) {}
    using BaseSqlObject::exec;
    int houseIndexes()
    {
        return selectRows(CompanyDB, QStringLiteral("select count(*) as n from sqlite_master where type='index' "
                                                    "and tbl_name='house' and sql is not null"))
            .value(0).value(QStringLiteral("n")).toInt();
    }
    QList<qint64> houseIds()
    {
        QList<qint64> ids;
        for (const QVariantMap &row : selectRows(CompanyDB, QStringLiteral("select id from house order by id")))
            ids << row.value(QStringLiteral("id")).toLongLong();
        return ids;
    }
};

QString houseMark()
{
    return CompanySQLConfig_DataSqltable(nullptr, false).lastUpdateTime();
}

// The interface thread's longest work between two ticks; ThreadSanitizer makes all code
// several times slower.
#if defined(__SANITIZE_THREAD__)
constexpr qint64 kWorkLimitMs = 400;
#else
constexpr qint64 kWorkLimitMs = 50;
#endif

// CPU time the calling thread has used, in milliseconds.
qint64 threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool syncFlag()
{
    return !DataCenter::refreshStateOfDB.isEmpty() && DataCenter::refreshStateOfDB.at(0) != 0;
}

bool registered(const QString &connection)
{
    std::lock_guard<std::mutex> locker(DataCenter::sqlConnectListLock());
    for (const QVariantMap &entry : DataCenter::sqlConnectList) {
        if (entry.value(QStringLiteral("name")).toString() == connection)
            return true;
    }
    return false;
}

// Runs the event loop until the sync object reports the end of code 1.
bool runUntilEnd(BaseSqlObject &sql, int timeoutMs = 60000)
{
    QEventLoop loop;
    bool ended = false;
    QObject::connect(&sql, &BaseSqlObject::loadDataFinish, &loop, [&](int code) {
        ended = ended || code == 1;
        if (ended)
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    // The worker goes with the end (deferred); let it.
    return ended && QTest::qWaitFor([&] { return sql.findChildren<SyncIngest *>().isEmpty(); }, 5000);
}

} // namespace

class TestSyncIngest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void interfaceStaysResponsive();
    void progressIsCounted();
    void unstorablePageStopsAtTheMarks();
    void shutdownMidSync_data();
    void shutdownMidSync();
    void othersClosingConnectionsLeaveTheWorkerAlone();
    void statementsArePreparedOncePerConnection();
    void largeBookGetsItsIndexesFromTheWorker();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestSyncIngest::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestSyncIngest::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonValue::Null));
    m_server.setReply(kCheckPath, RecordingServer::envelope(200, QJsonValue::Null));
    m_server.setReply(kSalePath, page({}, {}, false));
    m_server.clearRequests();
}

void TestSyncIngest::cleanup()
{
    DataCenter::CurrentWindow = QStringLiteral("main");
    QCOMPARE(m_alerts->count(), 0);
    QVERIFY(!syncFlag());
    m_alerts.reset();
    m_host.reset();
}

// A 10 ms timer on the interface thread keeps firing while thousands of listings are parsed,
// scrambled and written: only the replies and the reports pass through that thread. Between two
// ticks the interface thread itself never works 50 ms; the wall-clock gap is not the measure,
// since a loaded machine may leave any thread waiting for a core that long.
void TestSyncIngest::interfaceStaysResponsive()
{
    const int pages = 10;
    const int perPage = 1000;
    queueBook(m_server, pages, perPage);
    BaseSqlObject sql(nullptr, false);

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    qint64 lastCpu = threadCpuMs();
    qint64 longestWork = 0;
    connect(&tick, &QTimer::timeout, this, [&] {
        const qint64 now = threadCpuMs();
        longestWork = qMax(longestWork, now - lastCpu);
        lastCpu = now;
    });
    tick.start(10);
    sql.download_house(true, false);
    QVERIFY(runUntilEnd(sql));
    tick.stop();

    QCOMPARE(Store().houseIds().size(), pages * perPage);
    QCOMPARE(houseMark(), changedAt(pages * perPage).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    QVERIFY2(longestWork < kWorkLimitMs, qPrintable(QStringLiteral("the interface thread worked %1 ms between two ticks").arg(longestWork)));
}

// Every stored page is counted, on the sync object and on the hub, before success is told.
void TestSyncIngest::progressIsCounted()
{
    m_server.queueReply(kSalePath, page({listing(1), listing(2)}, {community(11)}, true));
    m_server.queueReply(kSalePath, page({listing(3)}, {}, true));
    m_server.queueReply(kSalePath, page({listing(4), listing(5)}, {}, false));
    BaseSqlObject sql(nullptr, false);
    QSignalSpy progress(&sql, &BaseSqlObject::syncProgress);
    QSignalSpy hub(CommonSignalTool::Instance(), &CommonSignalTool::baseSqlReq);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    sql.download_house(true, false);
    QVERIFY(runUntilEnd(sql));

    QList<QPair<int, int>> told;
    for (const QList<QVariant> &args : progress)
        told << qMakePair(args.at(0).toInt(), args.at(1).toInt());
    QCOMPARE(told, (QList<QPair<int, int>>{{1, 2}, {2, 3}, {3, 5}}));
    QList<QPair<int, int>> heard;
    int lastProgress = -1;
    for (int i = 0; i < hub.size(); ++i) {
        if (hub.at(i).at(0).toInt() != 5)
            continue;
        const QVariantMap value = hub.at(i).at(1).toMap();
        QCOMPARE(value.value("type").toInt(), 1);
        heard << qMakePair(value.value("pages").toInt(), value.value("listings").toInt());
        lastProgress = i;
    }
    QCOMPARE(heard, told);
    QVERIFY(lastProgress < codesOf(hub).indexOf(1));
    QCOMPARE(codesOf(success), QList<int>{1});
}

// The second page is refused by the table: the first stays with its marks, nothing after the
// refused page is stored (even a page already fetched), and the sync fails once.
void TestSyncIngest::unstorablePageStopsAtTheMarks()
{
    Store store;
    QVERIFY(store.exec(BaseSqlObject::CompanyDB, QStringLiteral("create table community(id int unique, lasttime "
                                                                "varchar, check(id < 0))")));
    m_server.queueReply(kSalePath, page({listing(1), listing(2)}, {}, true));
    m_server.queueReply(kSalePath, page({listing(3)}, {community(11)}, true));
    m_server.setReply(kSalePath, page({listing(4)}, {}, false));
    BaseSqlObject sql(nullptr, false);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    QSignalSpy progress(&sql, &BaseSqlObject::syncProgress);
    QSignalSpy changes(CommonSignalTool::Instance(), &CommonSignalTool::localHouseChange);
    sql.download_house(true, false);
    QVERIFY(runUntilEnd(sql));
    QTest::qWait(50);  // a second end would show

    QCOMPARE(store.houseIds(), (QList<qint64>{1, 2}));
    QCOMPARE(houseMark(), changedAt(2).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    QCOMPARE(progress.size(), 1);
    QCOMPARE(codesOf(finish), QList<int>{1});
    QVERIFY(success.isEmpty());
    QVERIFY(changes.isEmpty());
    QCOMPARE(BookSyncStatus::instance()->state(false), BookSyncStatus::Failed);
    QCOMPARE(BookSyncStatus::instance()->lastError(false), BookSyncStatus::storeFailure());
}

void TestSyncIngest::shutdownMidSync_data()
{
    QTest::addColumn<bool>("destroy");
    QTest::newRow("sync object destroyed") << true;
    QTest::newRow("login window in front") << false;
}

// Broken off after some pages: whole pages stored with the mark of the last of them, the
// book no longer marked as syncing, and the worker's connection gone from Qt and from the
// module's list of connections.
void TestSyncIngest::shutdownMidSync()
{
    QFETCH(bool, destroy);
    const int perPage = 40;
    queueBook(m_server, 60, perPage);
    QScopedPointer<BaseSqlObject> sql(new BaseSqlObject(nullptr, false));
    QSignalSpy progress(sql.data(), &BaseSqlObject::syncProgress);
    QSignalSpy finish(sql.data(), &BaseSqlObject::loadDataFinish);
    sql->download_house(true, false);
    QTRY_VERIFY_WITH_TIMEOUT(progress.size() >= 2, 20000);
    const auto *ingest = sql->findChild<SyncIngest *>();
    QVERIFY(ingest);
    const QString connection = ingest->connectionName();
    QVERIFY(connection.startsWith(QStringLiteral("company_fxmsqlitewcp-")));

    if (destroy) {
        sql.reset();
    } else {
        DataCenter::CurrentWindow = QStringLiteral("Login");
        QTRY_COMPARE_WITH_TIMEOUT(codesOf(finish), QList<int>{1}, 20000);
        QTRY_VERIFY(sql->findChildren<SyncIngest *>().isEmpty());
        DataCenter::CurrentWindow = QStringLiteral("main");
    }
    QVERIFY(!syncFlag());
    QVERIFY(!QSqlDatabase::connectionNames().contains(connection));
    QVERIFY(!registered(connection));
    QCOMPARE(BookSyncStatus::instance()->state(false), BookSyncStatus::Idle);

    const QList<qint64> ids = Store().houseIds();
    QVERIFY(ids.size() >= 2 * perPage);
    QCOMPARE(ids.size() % perPage, 0);
    QCOMPARE(ids.last(), qint64(ids.size()));
    QCOMPARE(houseMark(), changedAt(ids.last()).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    m_server.clearRequests();
    // What the server still had queued is taken by a sync that runs to its end.
    BaseSqlObject drain(nullptr, false);
    drain.download_house(true, false);
    QVERIFY(runUntilEnd(drain));
}

// Another object closing every connection of the module (as a snapshot swap does) used to
// pull the worker's connection from under the page it was storing.
void TestSyncIngest::othersClosingConnectionsLeaveTheWorkerAlone()
{
    const int pages = 20;
    const int perPage = 40;
    queueBook(m_server, pages, perPage);
    BaseSqlObject sql(nullptr, false);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    connect(&sql, &BaseSqlObject::syncProgress, this, [] { BaseSqlObject::removeAllConnect(); });
    sql.download_house(true, false);
    QVERIFY(runUntilEnd(sql));
    QCOMPARE(codesOf(success), QList<int>{1});
    QCOMPARE(Store().houseIds().size(), pages * perPage);
}

// Pages of the same table reuse one prepared statement per connection; a statement that cannot
// be prepared is refused without being kept.
void TestSyncIngest::statementsArePreparedOncePerConnection()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList names{QStringLiteral("cache-a"), QStringLiteral("cache-b")};
    for (const QString &name : names) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dir.filePath(QStringLiteral("cache.db")));
        QVERIFY(db.open());
    }
    QSqlDatabase a = QSqlDatabase::database(names.at(0));
    QSqlDatabase b = QSqlDatabase::database(names.at(1));
    QSqlQuery(a).exec(QStringLiteral("create table t(id int unique, v varchar)"));
    const QString replace = QStringLiteral("replace into t(id, v) values(?, ?)");
    {
        BatchWriter::StatementCache cache;
        QCOMPARE(BatchWriter::run(a, replace, {{1, "一"}, {2, "二"}}), 2);
        QCOMPARE(BatchWriter::run(a, replace, {{3, "三"}}), 1);
        QCOMPARE(cache.preparedCount(), 1);
        QCOMPARE(BatchWriter::run(a, QStringLiteral("delete from t where id=?"), {{1}}), 1);
        QCOMPARE(cache.preparedCount(), 2);
        QCOMPARE(BatchWriter::run(b, replace, {{4, "四"}}), 1);
        QCOMPARE(cache.preparedCount(), 3);
        QCOMPARE(BatchWriter::run(a, QStringLiteral("replace into nosuchtable values(?)"), {{1}}), -1);
        QCOMPARE(cache.preparedCount(), 3);
        QVERIFY(b.transaction());  // a kept statement holds nothing that keeps a commit waiting
        QVERIFY(QSqlQuery(b).exec(QStringLiteral("delete from t where id=2")));
        QVERIFY(b.commit());
    }
    QVERIFY(!BatchWriter::StatementCache::current());
    QSqlQuery rows(a);
    QVERIFY(rows.exec(QStringLiteral("select group_concat(id) from (select id from t order by id)")) && rows.next());
    QCOMPARE(rows.value(0).toString(), QStringLiteral("3,4"));
    rows = QSqlQuery();
    a = QSqlDatabase();
    b = QSqlDatabase();
    for (const QString &name : names)
        QSqlDatabase::removeDatabase(name);
}

// A book of an older version that lacks indexes and is too large to index quickly is opened
// without them (building them there would freeze the interface thread); the next sync's worker
// builds them after the last page, before the end is told.
void TestSyncIngest::largeBookGetsItsIndexesFromTheWorker()
{
    queueBook(m_server, 1, 5);
    BaseSqlObject sql(nullptr, false);
    sql.download_house(true, false);
    QVERIFY(runUntilEnd(sql));
    Store store;
    // The first sync filled the empty book without them and built them after its last page.
    const int indexes = store.houseIndexes();
    QCOMPARE(indexes, HouseMessage_DataSqlTable::sortIndexNames().size() + 2);
    QSqlQuery drop(QSqlDatabase::database(store.connectionName(BaseSqlObject::CompanyDB)));
    QVERIFY(drop.exec(QStringLiteral("select name from sqlite_master where type='index' and tbl_name='house' "
                                     "and sql is not null")));
    QStringList names;
    while (drop.next())
        names << drop.value(0).toString();
    for (const QString &name : names)
        QVERIFY(store.exec(BaseSqlObject::CompanyDB, QStringLiteral("drop index %1").arg(name)));

    HouseMessage_DataSqlTable::setInlineIndexRows(3);
    HouseMessage_DataSqlTable opened(nullptr, false);
    QCOMPARE(store.houseIndexes(), 0);

    m_server.queueReply(kSalePath, page({listing(6)}, {}, false));
    BaseSqlObject again(nullptr, false);
    again.download_house(true, false);
    QVERIFY(runUntilEnd(again));
    HouseMessage_DataSqlTable::setInlineIndexRows(20000);
    QCOMPARE(store.houseIndexes(), indexes);
    QCOMPARE(store.houseIds().size(), 6);
}

QTEST_MAIN(TestSyncIngest)
#include "tst_syncingest.moc"
