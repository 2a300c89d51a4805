// The community worker: requests answered from a worker thread by queued signal, each once,
// with pages of 100 by default; nothing to read still answers and ends the thread; the worker's
// connection does not outlive its thread; a front object deleted early only loses the answer.
#include "hostfixture.h"
#include "sql/communitybookdataobject.h"
#include "sql/communitybookthreadobject.h"
#include "sql/communitymessage_datasqltable.h"

#include "datacenter.h"

#include <QAtomicInt>
#include <QMutex>
#include <QPointer>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <functional>

using ListData = CommunityMessage_DataSqlTable::ListData;
using Condition = CommunityBookThreadObject::Condition;

namespace {

constexpr int kSeeded = 150;

// Communities 1..150; 7 and 8 have names of their own so conditions can tell them apart.
void seedCommunities(bool isJointSale = false)
{
    QList<QVariantMap> records;
    for (int id = 1; id <= kSeeded; ++id) {
        QString name = QStringLiteral("小区%1").arg(id);
        if (id == 7)
            name = QStringLiteral("翡翠湖畔");
        if (id == 8)
            name = QStringLiteral("阳光花园");
        records << QVariantMap{{"id", id}, {"companyid", 1001}, {"name", name}, {"cityid", 340100},
                               {"pinyin", QStringLiteral("xq%1").arg(id)}};
    }
    CommunityMessage_DataSqlTable table(nullptr, isJointSale);
    QCOMPARE(table.insertOrReplaceCommunities(records, false), kSeeded);
}

QList<int> idsOf(const QList<ListData> &list)
{
    QList<int> ids;
    for (const ListData &d : list)
        ids << d.id;
    return ids;
}

QList<int> descending(int from, int to)
{
    QList<int> ids;
    for (int id = from; id >= to; --id)
        ids << id;
    return ids;
}

Condition keyWord(const QString &words)
{
    Condition c;
    c.search.insert(QStringLiteral("keyWord"), words);
    return c;
}

// Watches queries from inside their threads, and can hold chosen ones until released.
struct Probe
{
    QMutex lock;
    QList<QThread *> threads;
    QList<QStringList> connections;
    QList<QPointer<QObject>> workers;
    std::function<bool(const Condition &)> holdWhen;
    QSemaphore gate;
    QAtomicInt held{0};

    void install()
    {
        threads.clear();
        connections.clear();
        workers.clear();
        holdWhen = nullptr;
        held.storeRelaxed(0);
        gate.tryAcquire(gate.available());
        CommunityBookThreadObject::setQueryObserver([this](CommunityBookThreadObject *worker) {
            {
                QMutexLocker locker(&lock);
                threads << QThread::currentThread();
                connections << QSqlDatabase::connectionNames();
                workers << QPointer<QObject>(worker);
            }
            if (holdWhen && holdWhen(worker->condition())) {
                held.ref();
                gate.tryAcquire(1, 10000);
            }
        });
    }
};

} // namespace

class RelayOfAnswer : public QObject
{
    Q_OBJECT
signals:
    void answer(const QList<CommunityMessage_DataSqlTable::ListData> &list);
};

class TestCommunityWorker : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listPages_data();
    void listPages();
    void quickSuccessionAnswersEachOnce();
    void answersComeInTheOrderThreadsFinish();
    void countAndOneCommunity();
    void nothingToRead_data();
    void nothingToRead();
    void queryRunsOnWorkerAndLeavesNoConnection();
    void jointSaleFlagReadsJointSaleBook();
    void frontDeletedBeforeAnswer();
    void workerKeepsTheLoginItStartedWith();
    void signOutWhileWorkersRegisterConnections();

private:
    Probe m_probe;
};

void TestCommunityWorker::init()
{
    m_probe.install();
}

void TestCommunityWorker::cleanup()
{
    // A failed test must not leave a worker waiting at the gate.
    m_probe.gate.release(16);
    CommunityBookThreadObject::setQueryObserver(nullptr);
}

void TestCommunityWorker::listPages_data()
{
    QTest::addColumn<QVariantMap>("search");
    QTest::addColumn<QVariant>("page");      // invalid: left at its default
    QTest::addColumn<QVariant>("pageSize");  // invalid: left at its default
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("no page size: 100 newest") << QVariantMap() << QVariant() << QVariant() << QList<int>()
                                              << descending(150, 51);
    QTest::newRow("second page of 100") << QVariantMap() << QVariant(2) << QVariant() << QList<int>()
                                        << descending(50, 1);
    QTest::newRow("page size 0 reads all") << QVariantMap() << QVariant() << QVariant(0) << QList<int>()
                                           << descending(150, 1);
    QTest::newRow("third page of 20") << QVariantMap() << QVariant(3) << QVariant(20) << QList<int>()
                                      << descending(110, 91);
    QTest::newRow("search words") << QVariantMap{{"keyWord", "翡翠"}} << QVariant() << QVariant() << QList<int>()
                                  << QList<int>{7};
    QTest::newRow("ids") << QVariantMap() << QVariant() << QVariant() << QList<int>{3, 5, 999} << QList<int>{5, 3};
    QTest::newRow("ids narrow the search's ids")
        << QVariantMap{{"ids", "3,4"}} << QVariant() << QVariant() << QList<int>{3, 5} << QList<int>{3};
    QTest::newRow("ids outside the search's ids") << QVariantMap{{"ids", "3,4"}} << QVariant() << QVariant()
                                                  << QList<int>{5} << QList<int>();
}

void TestCommunityWorker::listPages()
{
    QFETCH(QVariantMap, search);
    QFETCH(QVariant, page);
    QFETCH(QVariant, pageSize);
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, expected);
    HostFixture host;
    seedCommunities();

    Condition condition;
    condition.search = search;
    condition.ids = ids;
    if (page.isValid())
        condition.page = page.toInt();
    if (pageSize.isValid())
        condition.pageSize = pageSize.toInt();

    CommunityBookDataObject front;
    QSignalSpy spy(&front, &CommunityBookDataObject::backCommunityList);
    QPointer<QThread> thread = front.requestCommunityList(condition);
    QVERIFY(spy.wait(10000));
    QCOMPARE(idsOf(spy.at(0).at(0).value<QList<ListData>>()), expected);
    QTRY_VERIFY(thread.isNull());
}

void TestCommunityWorker::quickSuccessionAnswersEachOnce()
{
    HostFixture host;
    seedCommunities();
    CommunityBookDataObject front;
    QSignalSpy spy(&front, &CommunityBookDataObject::backCommunityList);

    QPointer<QThread> first = front.requestCommunityList(keyWord(QStringLiteral("翡翠")));
    QPointer<QThread> second = front.requestCommunityList(keyWord(QStringLiteral("阳光")));
    QTRY_VERIFY(first.isNull() && second.isNull());

    // The answers were queued before the threads' deletion, so every answer is in by now.
    QCOMPARE(spy.count(), 2);
    QList<QList<int>> answers{idsOf(spy.at(0).at(0).value<QList<ListData>>()),
                              idsOf(spy.at(1).at(0).value<QList<ListData>>())};
    std::sort(answers.begin(), answers.end());
    QCOMPARE(answers, (QList<QList<int>>{{7}, {8}}));
}

void TestCommunityWorker::answersComeInTheOrderThreadsFinish()
{
    HostFixture host;
    seedCommunities();
    m_probe.holdWhen = [](const Condition &c) { return c.search.value("keyWord") == QStringLiteral("翡翠"); };
    CommunityBookDataObject front;
    QSignalSpy spy(&front, &CommunityBookDataObject::backCommunityList);

    QPointer<QThread> slow = front.requestCommunityList(keyWord(QStringLiteral("翡翠")));
    QPointer<QThread> fast = front.requestCommunityList(keyWord(QStringLiteral("阳光")));
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(idsOf(spy.at(0).at(0).value<QList<ListData>>()), QList<int>{8});
    QTRY_VERIFY(fast.isNull());
    QVERIFY(!slow.isNull());

    m_probe.gate.release();
    QTRY_VERIFY(slow.isNull());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(idsOf(spy.at(1).at(0).value<QList<ListData>>()), QList<int>{7});
}

void TestCommunityWorker::countAndOneCommunity()
{
    HostFixture host;
    seedCommunities();
    CommunityBookDataObject front;
    QSignalSpy counts(&front, &CommunityBookDataObject::backCommunityListCount);
    QSignalSpy records(&front, &CommunityBookDataObject::backCommunityData);

    // Count and one-community requests of one front object may run side by side.
    front.requestCommunityListCount(Condition());
    Condition byIds;
    byIds.ids = {8};
    front.requestCommunityData(byIds);
    QTRY_COMPARE(counts.count(), 1);
    QTRY_COMPARE(records.count(), 1);
    QCOMPARE(counts.at(0).at(0).toInt(), kSeeded);
    const ListData eight = records.at(0).at(0).value<ListData>();
    QCOMPARE(eight.id, 8);
    QCOMPARE(eight.name, QStringLiteral("阳光花园"));
    QCOMPARE(eight.cityid, 340100);

    // The count follows the condition, not the page.
    Condition narrow = keyWord(QStringLiteral("翡翠"));
    narrow.pageSize = 1;
    front.requestCommunityListCount(narrow);
    QTRY_COMPARE(counts.count(), 2);
    QCOMPARE(counts.at(1).at(0).toInt(), 1);

    Condition bySearchId;
    bySearchId.search.insert(QStringLiteral("id"), QStringLiteral("7"));
    front.requestCommunityData(bySearchId);
    QTRY_COMPARE(records.count(), 2);
    QCOMPARE(records.at(1).at(0).value<ListData>().name, QStringLiteral("翡翠湖畔"));

    Condition missing;
    missing.ids = {999};
    QPointer<QThread> last = front.requestCommunityData(missing);
    QTRY_COMPARE(records.count(), 3);
    QCOMPARE(records.at(2).at(0).value<ListData>().id, 0);
    QTRY_VERIFY(last.isNull());
}

void TestCommunityWorker::nothingToRead_data()
{
    QTest::addColumn<bool>("signedIn");
    QTest::newRow("empty database") << true;
    QTest::newRow("no signed-in user") << false;
}

void TestCommunityWorker::nothingToRead()
{
    QFETCH(bool, signedIn);
    HostFixture host;
    if (!signedIn)
        DataCenter::UserPhoneNumber.clear();

    CommunityBookDataObject front;
    QSignalSpy lists(&front, &CommunityBookDataObject::backCommunityList);
    QSignalSpy counts(&front, &CommunityBookDataObject::backCommunityListCount);
    QSignalSpy records(&front, &CommunityBookDataObject::backCommunityData);
    Condition one;
    one.ids = {1};
    QList<QPointer<QThread>> threads{front.requestCommunityList(Condition()),
                                     front.requestCommunityListCount(Condition()),
                                     front.requestCommunityData(one)};

    QTRY_VERIFY(std::all_of(threads.cbegin(), threads.cend(), [](const QPointer<QThread> &t) { return t.isNull(); }));
    QCOMPARE(lists.count(), 1);
    QVERIFY(lists.at(0).at(0).value<QList<ListData>>().isEmpty());
    QCOMPARE(counts.count(), 1);
    QCOMPARE(counts.at(0).at(0).toInt(), 0);
    QCOMPARE(records.count(), 1);
    QCOMPARE(records.at(0).at(0).value<ListData>().id, 0);

    QMutexLocker locker(&m_probe.lock);
    QCOMPARE(m_probe.workers.size(), 3);
    for (const QPointer<QObject> &worker : qAsConst(m_probe.workers))
        QVERIFY(worker.isNull());
}

// Thread ids are reused once a thread has ended: a connection a worker left behind would be
// found, under its name, by a later worker that cannot use it, whose query would then read
// nothing. So each of several requests in a row must still read its rows.
void TestCommunityWorker::queryRunsOnWorkerAndLeavesNoConnection()
{
    HostFixture host;
    seedCommunities();
    CommunityMessage_DataSqlTable guiTable(nullptr, false);
    const QString guiConnection = guiTable.connectionName(BaseSqlObject::CompanyDB);
    const QStringList before = QSqlDatabase::connectionNames();
    QVERIFY(before.contains(guiConnection));

    CommunityBookDataObject front;
    QSignalSpy spy(&front, &CommunityBookDataObject::backCommunityList);
    for (int round = 0; round < 5; ++round) {
        QPointer<QThread> thread = front.requestCommunityList(Condition());
        QVERIFY(spy.wait(10000));
        QCOMPARE(spy.takeFirst().at(0).value<QList<ListData>>().size(), 100);
        QTRY_VERIFY(thread.isNull());
        QCOMPARE(QSqlDatabase::connectionNames(), before);
    }

    QMutexLocker locker(&m_probe.lock);
    QCOMPARE(m_probe.threads.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(m_probe.threads.at(i) != QThread::currentThread());
        QStringList workerConnections = m_probe.connections.at(i);
        for (const QString &name : before)
            workerConnections.removeAll(name);
        QCOMPARE(workerConnections.size(), 1);
        QVERIFY(workerConnections.first().startsWith(QStringLiteral("company_fxmsqlitewcp-")));
        QVERIFY(m_probe.workers.at(i).isNull());
    }
}

void TestCommunityWorker::jointSaleFlagReadsJointSaleBook()
{
    HostFixture host;
    seedCommunities();
    {
        CommunityMessage_DataSqlTable jointSale(nullptr, true);
        QCOMPARE(jointSale.insertOrReplaceCommunities(
                     {QVariantMap{{"id", 500}, {"name", QStringLiteral("联卖小区")}, {"cityid", 340100}}}, false),
                 1);
    }
    CommunityBookDataObject front;
    QSignalSpy spy(&front, &CommunityBookDataObject::backCommunityList);

    QPointer<QThread> normal = front.requestCommunityList(Condition());
    QVERIFY(spy.wait(10000));
    QCOMPARE(idsOf(spy.at(0).at(0).value<QList<ListData>>()), descending(150, 51));

    Condition jointSale;
    jointSale.isJointSale = true;
    QPointer<QThread> joint = front.requestCommunityList(jointSale);
    QTRY_COMPARE(spy.count(), 2);
    QCOMPARE(idsOf(spy.at(1).at(0).value<QList<ListData>>()), QList<int>{500});
    QTRY_VERIFY(normal.isNull() && joint.isNull());
}

void TestCommunityWorker::frontDeletedBeforeAnswer()
{
    HostFixture host;
    seedCommunities();
    m_probe.holdWhen = [](const Condition &) { return true; };
    auto *front = new CommunityBookDataObject;
    QPointer<QThread> thread = front->requestCommunityList(Condition());
    QTRY_COMPARE(m_probe.held.loadAcquire(), 1);

    delete front;
    m_probe.gate.release();
    QTRY_VERIFY(thread.isNull());
    QMutexLocker locker(&m_probe.lock);
    QVERIFY(m_probe.workers.value(0).isNull());
}

// Workers used to read the host's login statics from their own thread while the GUI thread
// could change them. A worker now queries with the login taken when it was made, and so
// reads that user's book even if another user has signed in since.
void TestCommunityWorker::workerKeepsTheLoginItStartedWith()
{
    HostFixture host;
    seedCommunities();
    QString workerPhone;
    CommunityBookThreadObject::setQueryObserver([&workerPhone](CommunityBookThreadObject *) {
        workerPhone = BaseSqlObject::currentLogin().phone;  // read after the thread has ended
    });

    auto *worker = new CommunityBookThreadObject;
    // The answer is emitted on the worker's thread; relay it to this thread so the spy's
    // list is only touched here.
    qRegisterMetaType<QList<ListData>>();
    RelayOfAnswer relay;
    connect(worker, &CommunityBookThreadObject::backComunityList, &relay, &RelayOfAnswer::answer,
            Qt::QueuedConnection);
    QSignalSpy answer(&relay, &RelayOfAnswer::answer);
    DataCenter::UserPhoneNumber = QStringLiteral("13900000009");
    DataCenter::CompanyID = 2002;
    QThread thread;
    worker->moveToThread(&thread);
    connect(&thread, &QThread::started, worker, &CommunityBookThreadObject::getComunityList);
    connect(worker, &CommunityBookThreadObject::backComunityList, &thread, &QThread::quit, Qt::DirectConnection);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    thread.start();
    QVERIFY(answer.wait(10000));
    QVERIFY(thread.wait(10000));
    QCOMPARE(answer.first().at(0).value<QList<ListData>>().size(), 100);
    QCOMPARE(workerPhone, QStringLiteral("13800000001"));
}

// Signing out cleared the connection registry without its lock while worker threads could be
// adding to it.
void TestCommunityWorker::signOutWhileWorkersRegisterConnections()
{
    HostFixture host;
    QAtomicInt stop{0};
    QThread *adder = QThread::create([&stop] {
        for (int i = 0; !stop.loadRelaxed(); ++i)
            BaseSqlObject::addConnectName(QStringLiteral("worker-%1").arg(i % 50));
    });
    adder->start();
    for (int i = 0; i < 2000; ++i) {
        DataCenter::reset();
        BaseSqlObject::addConnectName(QStringLiteral("gui"));
    }
    stop.storeRelaxed(1);
    QVERIFY(adder->wait(10000));
    delete adder;
    std::lock_guard<std::mutex> locker(DataCenter::sqlConnectListLock());
    QVERIFY(DataCenter::sqlConnectList.size() <= 51);
}

QTEST_MAIN(TestCommunityWorker)
#include "tst_communityworker.moc"
