// A book that cannot be fetched says so: against the simulator in this process, each way the
// server can fail a sync leaves the stored listings, ends the book's sync status as failed
// with a reason an agent understands, shows that reason in the host's status bar instead of
// "房源已同步", and a retry once the server is back brings the book up to date again.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "sql/basesqlobject.h"
#include "sql/booksyncstatus.h"
#include "sql/housemessage_datasqltable.h"
#include "syncstatelabel.h"

#include <QTcpServer>
#include <QtTest>

namespace {

const QString kBookPath = QStringLiteral("app/LianmaiSyncHousebook");

int freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

int bookCount()
{
    return HouseMessage_DataSqlTable(nullptr, true).haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB);
}

bool settlesAs(BookSyncStatus::State state)
{
    return QTest::qWaitFor([state] { return BookSyncStatus::instance()->state(true) == state; }, 30000);
}

} // namespace

class TestSyncFailures : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void failureIsToldAndRetried_data();
    void failureIsToldAndRetried();

private:
    QScopedPointer<AllianceServer> m_server;
};

void TestSyncFailures::initTestCase()
{
    // A fixed port, so that the server can go away (connections refused) and come back.
    AllianceServer::Options options;
    options.port = freePort();
    options.listings = 240;
    options.communities = 40;
    options.pageSize = 100;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().appRoot.startsWith(m_server->baseUrl()));
}

void TestSyncFailures::failureIsToldAndRetried_data()
{
    QTest::addColumn<QString>("fault");  // a simulator fault switch, or "refused": no server
    QTest::addColumn<QString>("reason");
    QTest::newRow("http 500") << "500" << "服务器错误(500)";
    QTest::newRow("malformed JSON") << "malformed" << "服务器返回的数据无法识别";
    QTest::newRow("dropped connection") << "drop" << "与服务器的连接中断";
    QTest::newRow("refused connection") << "refused" << "无法连接服务器";
}

void TestSyncFailures::failureIsToldAndRetried()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    HostFixture host;
    AlertRecorder alerts;
    DataCenter::CookieVar = QStringLiteral("qxphone=13800000001");
    host.signInAs(TestUser().jointSaleCompany(0));
    BookSyncStatus *status = BookSyncStatus::instance();
    SyncStateLabel label;
    QCOMPARE(label.text(), QString());

    // The empty book is fetched by the first-book download.
    status->retry(true);
    QVERIFY(settlesAs(BookSyncStatus::Succeeded));
    const int stored = bookCount();
    QVERIFY(stored > 0);
    QTRY_COMPARE(label.text(), QStringLiteral("房源已同步"));

    if (fault == QLatin1String("refused")) {
        m_server->stop();
    } else {
        AllianceServer::Fault f;
        QVERIFY(AllianceServer::parseFault(fault, &f));
        m_server->setFault(kBookPath, f);
    }
    status->retry(true);
    QVERIFY(settlesAs(BookSyncStatus::Failed));
    QCOMPARE(status->lastError(true), reason);
    QCOMPARE(bookCount(), stored);
    QTRY_COMPARE(label.text(), QStringLiteral("房源同步失败：%1").arg(reason));

    m_server->clearFaults();
    QVERIFY(m_server->start());
    status->retry(true);
    QVERIFY(settlesAs(BookSyncStatus::Succeeded));
    QCOMPARE(status->lastError(true), QString());
    QCOMPARE(bookCount(), stored);
    QTRY_COMPARE(label.text(), QStringLiteral("房源已同步"));
    QCOMPARE(alerts.count(), 0);
    QTRY_VERIFY(!SyncStateLabel::syncRunning());
}

QTEST_MAIN(TestSyncFailures)
#include "tst_syncfailures.moc"
