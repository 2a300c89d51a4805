// The detail window's navigation shell over a seeded local store: deferred loads in the
// order asked, stepping and the ends handed to the opener, a single id without navigation.
#include "alertrecorder.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/mysalehousedetailwidget.h"
#include "hostfixture.h"
#include "listing.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

using Shell = HouseBookMessageDetailWidget;

namespace {

const QList<int> kIds{11, 12, 13};

QString viewsPath()
{
    return QUrl(Endpoints::instance().app_addviews).path();
}

QList<int> pagesOf(const QSignalSpy &spy)
{
    QList<int> pages;
    for (const QList<QVariant> &args : spy)
        pages << args.first().toInt();
    return pages;
}

} // namespace

class TestDetailShell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stepping_data();
    void stepping();
    void quickRequestsLoadInOrder();
    void pendingRequestLeadsStepsAndReloads();
    void singleIdHidesNavigation();

private:
    // Asks for a reload and waits for it: every load asked before it has run by then.
    void settle(Shell &shell, QSignalSpy &pages);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestDetailShell::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestDetailShell::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject{{"id", 1}}));
    const QList<QVariantMap> records{Listing(11).map(), Listing(12).map(), Listing(13).map()};
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false), kIds.size());
}

void TestDetailShell::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

void TestDetailShell::settle(Shell &shell, QSignalSpy &pages)
{
    const int before = pages.count();
    shell.detailWindow()->refreshBaseMessage();
    QTRY_COMPARE(pages.count(), before + 1);
}

void TestDetailShell::stepping_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("steps");  // n: next, b: back
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<int>("lastPages");
    QTest::addColumn<int>("nextPages");

    QTest::newRow("forward to the end") << 0 << "nn" << QList<int>{0, 1, 2} << 0 << 0;
    QTest::newRow("back to the start") << 2 << "bb" << QList<int>{2, 1, 0} << 0 << 0;
    QTest::newRow("past the end") << 2 << "n" << QList<int>{2} << 0 << 1;
    QTest::newRow("past the start") << 0 << "b" << QList<int>{0} << 1 << 0;
}

void TestDetailShell::stepping()
{
    QFETCH(int, start);
    QFETCH(QString, steps);
    QFETCH(QList<int>, pages);
    QFETCH(int, lastPages);
    QFETCH(int, nextPages);

    Shell shell(nullptr, 1, 1);
    QSignalSpy changes(&shell, &Shell::pageChange);
    QSignalSpy last(&shell, &Shell::lastPage);
    QSignalSpy next(&shell, &Shell::nextPage);
    shell.showHouseAt(start, kIds, false);
    QTRY_COMPARE(changes.count(), 1);
    for (const QChar step : steps) {
        const int before = changes.count() + last.count() + next.count();
        if (step == QLatin1Char('n'))
            shell.detailWindow()->loadNextPage();
        else
            shell.detailWindow()->loadLastPage();
        QTRY_COMPARE(changes.count() + last.count() + next.count(), before + 1);
    }
    QCOMPARE(pagesOf(changes), pages);
    QCOMPARE(last.count(), lastPages);
    QCOMPARE(next.count(), nextPages);
    if (!last.isEmpty())
        QCOMPARE(last.first().first().value<Shell *>(), &shell);
    if (!next.isEmpty())
        QCOMPARE(next.first().first().value<Shell *>(), &shell);

    // Stepping past an end changed nothing: the reload shows the same listing.
    settle(shell, changes);
    QCOMPARE(changes.last().first().toInt(), pages.last());
    QCOMPARE(shell.detailWindow()->record().id, kIds.at(pages.last()));
    QVERIFY(!shell.detailWindow()->hideNavigation());
}

// Quick requests each load after their own delay, in the order asked; bad indexes load nothing.
void TestDetailShell::quickRequestsLoadInOrder()
{
    Shell shell(nullptr, 1, 1);
    QSignalSpy changes(&shell, &Shell::pageChange);
    shell.showHouseAt(0, kIds, false);
    shell.showHouseAt(3, kIds, false);
    shell.showHouseAt(-1, kIds, false);
    shell.showHouseAt(2, kIds, false);
    QCOMPARE(changes.count(), 0);
    QTRY_COMPARE(changes.count(), 2);
    QCOMPARE(pagesOf(changes), (QList<int>{0, 2}));
    QCOMPARE(shell.detailWindow()->record().id, 13);
    QCOMPARE(shell.findChildren<MySaleHouseDetailWidget *>().size(), 1);
    QTRY_COMPARE(m_server.requestsTo(viewsPath()).size(), 2);
    QStringList viewed;  // two connections: the server may see them in either order
    for (const RecordingServer::Request &r : m_server.requestsTo(viewsPath()))
        viewed << r.form.value("id");
    viewed.sort();
    QCOMPARE(viewed, (QStringList{"11", "13"}));
    settle(shell, changes);
    QCOMPARE(pagesOf(changes), (QList<int>{0, 2, 2}));
    QVERIFY(shell.detailWindow()->refreshed());
}

// A reload or a step asked before the previous request loaded starts from that request: a
// record change arriving just after a step to the next page must not bring the old page back.
void TestDetailShell::pendingRequestLeadsStepsAndReloads()
{
    Shell shell(nullptr, 1, 1);
    QSignalSpy changes(&shell, &Shell::pageChange);
    shell.showHouseAt(0, kIds, false);
    QTRY_COMPARE(changes.count(), 1);

    const QList<int> nextPage{13, 12};
    shell.showHouseAt(0, nextPage, false);
    shell.detailWindow()->refreshBaseMessage();
    QTRY_COMPARE(changes.count(), 3);
    QCOMPARE(shell.ids(), nextPage);
    QCOMPARE(shell.detailWindow()->record().id, 13);

    // Two quick steps go two listings on, not the same one twice.
    shell.showHouseAt(0, kIds, false);
    shell.detailWindow()->loadNextPage();
    shell.detailWindow()->loadNextPage();
    QTRY_COMPARE(changes.count(), 6);
    QCOMPARE(pagesOf(changes).mid(3), (QList<int>{0, 1, 2}));
    QCOMPARE(shell.detailWindow()->record().id, 13);
}

void TestDetailShell::singleIdHidesNavigation()
{
    Shell shell(nullptr, 1, 1);
    QSignalSpy changes(&shell, &Shell::pageChange);
    QSignalSpy last(&shell, &Shell::lastPage);
    QSignalSpy next(&shell, &Shell::nextPage);
    shell.showHouseAt(0, kIds, false);
    QTRY_COMPARE(changes.count(), 1);
    QVERIFY(!shell.detailWindow()->hideNavigation());
    // The window's request for one listing (as "去跟进" makes it) shows that one alone.
    shell.detailWindow()->loadHouseId(12);
    QTRY_COMPARE(changes.count(), 2);
    QCOMPARE(shell.ids(), QList<int>{12});
    QVERIFY(shell.detailWindow()->hideNavigation());
    shell.detailWindow()->loadNextPage();
    shell.detailWindow()->loadLastPage();
    QCOMPARE(next.count(), 1);
    QCOMPARE(last.count(), 1);
}

QTEST_MAIN(TestDetailShell)
#include "tst_detailshell.moc"
