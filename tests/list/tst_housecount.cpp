// The list page's count on its worker thread: the page is painted before its count, a newer
// query makes an older count stale, and the counts kept between loads follow every change of
// the table, announced or not.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "hostfixture.h"
#include "listing.h"
#include "list/housebooklistwidget.h"
#include "list/housesearchview.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housecountcache.h"
#include "sql/housecountworker.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/syncrecords.h"
#include "widgets/hovertablewidget.h"

#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>

namespace {

QVariantMap listing(int id, const QString &state = QStringLiteral("有效"))
{
    return Listing(id).company(0).status(state).price(100 + id);
}

void seed(int first, int count, const QString &state = QStringLiteral("有效"))
{
    QList<QVariantMap> records;
    for (int id = first; id < first + count; ++id)
        records << listing(id, state);
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false), count);
}

} // namespace

class TestHouseCount : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstPagePaintedBeforeItsCount();
    void olderCountNeverReachesTheBar();
    void keptCountFollowsChanges_data();
    void keptCountFollowsChanges();

private:
    void open();
    // Holds every count at the worker's gate until released one by one.
    void holdCounts();
    QString description() const { return m_page->findChild<QLabel *>(QStringLiteral("pageDesLabel"))->text(); }
    HouseCountWorker *worker() const { return m_page->findChild<HouseCountWorker *>(); }

    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    HouseBookListWidget *m_page = nullptr;
    QSemaphore m_entered;
    QSemaphore m_release;
};

void TestHouseCount::init()
{
    m_host.reset(new HostFixture);
    m_host->signInAs(TestUser().viewRange(0).grant({}, 0));
    m_alerts.reset(new AlertRecorder);
    const QVariantMap bookset{{"chushoustate", QStringLiteral("急售,有效,一般,暂缓")},
                              {"chuzustate", QStringLiteral("急租,有效,一般,暂缓")}};
    HouseBookSet_SqlTable(nullptr, true)
        .setValue(QStringLiteral("bookset"), QString::fromUtf8(QJsonDocument::fromVariant(bookset).toJson()));
    HouseCountCache::instance()->clear();
}

void TestHouseCount::cleanup()
{
    m_release.release(100);
    delete m_page;
    m_page = nullptr;
    HouseCountWorker::setGate({});
    m_entered.acquire(m_entered.available());
    m_release.acquire(m_release.available());
    m_alerts.reset();
    m_host.reset();
}

void TestHouseCount::open()
{
    m_page = new HouseBookListWidget(m_host->mainWindow());
    m_page->resize(1200, 700);
    m_page->show();
    m_page->setMode(4, 0);
}

void TestHouseCount::holdCounts()
{
    HouseCountWorker::setGate([this] {
        m_entered.release();
        m_release.acquire();
    });
}

void TestHouseCount::firstPagePaintedBeforeItsCount()
{
    seed(1, 25);
    holdCounts();
    open();
    auto *table = m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    QTRY_COMPARE(table->rowCount(), 20);
    QVERIFY(m_entered.tryAcquire(1, 5000));
    QVERIFY(m_page->counting());
    QCOMPARE(description(), QStringLiteral(" 条，共…页，共计…条，当前第 "));

    // A full page steps forward while the count is held; the same query is not counted again.
    m_page->findChild<QPushButton *>(QStringLiteral("nextPage"))->click();
    QTRY_COMPARE(m_page->page(), 2);
    QTRY_COMPARE(table->rowCount(), 5);
    QVERIFY(m_page->counting());

    m_release.release();
    QTRY_COMPARE(m_page->total(), 25);
    QVERIFY(!m_page->counting());
    QCOMPARE(description(), QStringLiteral(" 条，共2页，共计25条，当前第 "));
    QCOMPARE(m_entered.available(), 0);
}

void TestHouseCount::olderCountNeverReachesTheBar()
{
    seed(1, 3, QStringLiteral("有效"));
    seed(10, 2, QStringLiteral("急售"));
    holdCounts();
    open();
    QVERIFY(m_entered.tryAcquire(1, 5000));  // the default states' count (5) is running
    QSignalSpy counted(worker(), &HouseCountWorker::counted);

    auto *search = m_page->findChild<HouseSearchView *>(QStringLiteral("houseSearchView"));
    emit search->searchParam({{QStringLiteral("state"), QStringLiteral("急售")}}, {});
    QTRY_COMPARE(m_page->listings().size(), 2);
    QVERIFY(m_page->counting());

    m_release.release();  // the older count ends while the newer one waits behind it
    QVERIFY(m_entered.tryAcquire(1, 5000));
    m_release.release();
    QTRY_COMPARE(counted.size(), 1);
    QCOMPARE(counted.first().at(1).toInt(), 2);
    QCOMPARE(m_page->total(), 2);
    QVERIFY(description().contains(QStringLiteral("共计2条")));
}

void TestHouseCount::keptCountFollowsChanges_data()
{
    QTest::addColumn<bool>("announced");
    QTest::addColumn<int>("expected");
    // A sync page before the last one writes without announcing anything.
    QTest::newRow("sync page") << false << 6;
    QTest::newRow("local change") << true << 6;
}

void TestHouseCount::keptCountFollowsChanges()
{
    QFETCH(bool, announced);
    QFETCH(int, expected);
    seed(1, 5);
    open();
    QTRY_COMPARE(m_page->total(), 5);
    QTRY_VERIFY(!worker()->isPending());

    // Counted once: loading the same query again takes the kept count.
    QSignalSpy counted(worker(), &HouseCountWorker::counted);
    m_page->refreshData();
    QTRY_VERIFY(!m_page->findChild<QTimer *>(QStringLiteral("loadTimer"))->isActive());
    QVERIFY(!m_page->counting());
    QCOMPARE(m_page->total(), 5);
    QCOMPARE(counted.size(), 0);

    if (announced) {
        HouseMessage_DataSqlTable store(nullptr, true);
        QVERIFY(store.insertOrReplaceHouses({listing(6), listing(7)}, false) == 2);
        QVERIFY(store.deleteHouse(1));
        CommonSignalTool::Instance()->send_localHouseChange(QStringList{"6", "7", "1"});
    } else {
        SyncRecords::Page page;
        page.houses = {listing(6), listing(7)};
        page.houseIds = QStringList{"6", "7"};
        page.houseDels = QStringList{"1"};
        page.isLast = false;
        QVERIFY(SyncRecords::writePage(true, page));
        m_page->refreshData();
    }
    QTRY_COMPARE(m_page->total(), expected);
    QCOMPARE(counted.size(), 1);
}

QTEST_MAIN(TestHouseCount)
#include "tst_housecount.moc"
