// The first download of an empty book: what depends on who the user is (the view range, the
// book itself) waits for the user's rights, departments, profile and alliance company, so a
// narrow agent never gets the whole book, and the listings land in her alliance's file.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "sql/basesqlobject.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QScopedPointer>
#include <QtTest>

Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

using Reply = RecordingServer::Reply;

const QString kCompanyPath = QStringLiteral("/soft/lmai/user/info");
const QString kProfilePath = QStringLiteral("/app/account/initialize");
const QString kRightsPath = QStringLiteral("/app/workcenter/currentauth");
const QString kDepartmentsPath = QStringLiteral("/soft/omp/emp/dept_staff_info");
const QString kRangePath = QStringLiteral("/soft/community/search/range");
const QString kBookPath = QStringLiteral("/app/app/LianmaiSyncHousebook");
const QStringList kIdentityPaths{kCompanyPath, kProfilePath, kRightsPath, kDepartmentsPath};
constexpr int kAlliance = 9002;

Reply delayed(Reply reply, int ms)
{
    reply.delayMs = ms;
    return reply;
}

Reply companyReply()
{
    return RecordingServer::envelope(200, QJsonObject{{"lmcompanyid", kAlliance}, {"manager", false}});
}

Reply rightsReply()
{
    // The view scope kept at its default, limited to 3000 m around the user's departments.
    return RecordingServer::envelope(200, QJsonArray{QJsonObject{{"id", 132}, {"range", 0}, {"count", 3000}}});
}

int bookCount(int alliance)
{
    const int signedIn = DataCenter::JointSaleCompanyId;
    DataCenter::JointSaleCompanyId = alliance;
    const int count = HouseMessage_DataSqlTable(nullptr, true).haveDataInTable(QStringLiteral("house"),
                                                                              BaseSqlObject::CompanyDB);
    DataCenter::JointSaleCompanyId = signedIn;
    return count;
}

int lastArrival(const QList<RecordingServer::Request> &requests, const QStringList &paths)
{
    int last = -1;
    for (int i = 0; i < requests.size(); ++i) {
        if (paths.contains(requests.at(i).path))
            last = i;
    }
    return last;
}

int firstArrival(const QList<RecordingServer::Request> &requests, const QString &path)
{
    for (int i = 0; i < requests.size(); ++i) {
        if (requests.at(i).path == path)
            return i;
    }
    return -1;
}

} // namespace

class TestFirstBookDownload : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dependentDownloadsWaitForWhoTheUserIs();
    void missingIdentityStopsTheBook_data();
    void missingIdentityStopsTheBook();

private:
    void answerIdentity();
    // Until every download started by the first-book download has reported its end to the host.
    bool waitForAllEnds(const QSignalSpy &hub, int ends);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestFirstBookDownload::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QCOMPARE(Endpoints::instance().appRoot, m_server.baseUrl() + QStringLiteral("/app/"));
}

void TestFirstBookDownload::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    // A first sign-in: the alliance company is not known until code 23 has answered.
    m_host->signInAs(TestUser().jointSaleCompany(0));
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonValue::Null));
    m_server.setReply(kRangePath, RecordingServer::envelope(200, QJsonArray{QJsonObject{{"id", 1001}}}));
    QJsonArray listings;
    for (int id : {1, 2})
        listings.append(QJsonObject{{"id", id}, {"types", 0}, {"lasttime", "2024/1/1 8:00:00"}});
    m_server.setReply(kBookPath,
                      RecordingServer::envelope(200, QJsonObject{{"housebook", listings}, {"community", QJsonArray{}},
                                                                 {"nextpage", false}}));
    answerIdentity();
    m_server.clearRequests();
}

void TestFirstBookDownload::answerIdentity()
{
    // Who the user is arrives last.
    m_server.setReply(kCompanyPath, delayed(companyReply(), 400));
    m_server.setReply(kRightsPath, delayed(rightsReply(), 600));
    m_server.setReply(kProfilePath, RecordingServer::envelope(200, QJsonObject{{"cityid", 340100}}));
    m_server.setReply(kDepartmentsPath,
                      RecordingServer::envelope(200, QJsonObject{{"suozai_bumens", QJsonObject{{"12", QJsonObject{{"id", 12}}}}}}));
}

void TestFirstBookDownload::cleanup()
{
    QCOMPARE(m_alerts->count(), 0);
    m_alerts.reset();
    m_host.reset();
}

bool TestFirstBookDownload::waitForAllEnds(const QSignalSpy &hub, int ends)
{
    return QTest::qWaitFor(
        [&] {
            int count = 0;
            for (const QList<QVariant> &args : hub)
                count += args.at(0).toInt() == 3;
            return count >= ends;
        },
        15000);
}

// Fault: the view range was asked before the rights had arrived (distance 0: every
// community) and the first page was written before the alliance company was known.
void TestFirstBookDownload::dependentDownloadsWaitForWhoTheUserIs()
{
    QSignalSpy hub(CommonSignalTool::Instance(), &CommonSignalTool::baseSqlReq);
    QVERIFY(FirstBookDownload::startIfNeeded(true));
    QCOMPARE(BookSyncStatus::instance()->state(true), BookSyncStatus::Running);
    QVERIFY(!FirstBookDownload::startIfNeeded(true));
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded, 15000);
    QVERIFY(waitForAllEnds(hub, 22));

    const QList<RecordingServer::Request> requests = m_server.requests();
    const QList<RecordingServer::Request> range = m_server.requestsTo(kRangePath);
    QCOMPARE(range.size(), 1);
    QCOMPARE(range.first().form.value(QStringLiteral("distance")), QStringLiteral("3000"));
    QCOMPARE(range.first().form.value(QStringLiteral("deptids")), QStringLiteral("12"));
    QCOMPARE(m_server.requestsTo(kBookPath).size(), 1);
    QVERIFY(firstArrival(requests, kRangePath) > lastArrival(requests, kIdentityPaths));
    QVERIFY(firstArrival(requests, kBookPath) > lastArrival(requests, kIdentityPaths));

    QCOMPARE(DataCenter::JointSaleCompanyId, kAlliance);
    QCOMPARE(bookCount(kAlliance), 2);
    QCOMPARE(bookCount(0), 0);
}

void TestFirstBookDownload::missingIdentityStopsTheBook_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<QString>("reason");
    QTest::newRow("rights: server error") << kRightsPath << RecordingServer::raw("busy", 500) << "服务器错误(500)";
    QTest::newRow("alliance company: dropped") << kCompanyPath << RecordingServer::dropped() << "与服务器的连接中断";
    QTest::newRow("departments: cut-off JSON") << kDepartmentsPath << RecordingServer::raw(R"({"code":200,"data":{)", 200)
                                               << "服务器返回的数据无法识别";
    QTest::newRow("profile: failure in the envelope")
        << kProfilePath << RecordingServer::envelope(500, QJsonValue(), QStringLiteral("系统繁忙")) << "系统繁忙(500)";
}

// Without any of them the view range and the book are not fetched at all (rather than asked
// with the widest reading); the book stays empty, the failure is told, and a retry once the
// server answers again fetches everything with the user's own range.
void TestFirstBookDownload::missingIdentityStopsTheBook()
{
    QFETCH(QString, path);
    QFETCH(Reply, reply);
    QFETCH(QString, reason);
    m_server.setReply(path, reply);
    QSignalSpy hub(CommonSignalTool::Instance(), &CommonSignalTool::baseSqlReq);
    BookSyncStatus::instance()->retry(true);
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Failed, 15000);
    QCOMPARE(BookSyncStatus::instance()->lastError(true), reason);
    QVERIFY(waitForAllEnds(hub, 20));
    QVERIFY(m_server.requestsTo(kRangePath).isEmpty());
    QVERIFY(m_server.requestsTo(kBookPath).isEmpty());
    QCOMPARE(bookCount(DataCenter::JointSaleCompanyId), 0);
    bool hostTold = false;
    for (const QList<QVariant> &args : hub)
        hostTold = hostTold || (args.at(0).toInt() == 2 && args.at(1).toMap().value("message").toString() == reason);
    QVERIFY(hostTold);

    answerIdentity();
    m_server.clearRequests();
    BookSyncStatus::instance()->retry(true);
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded, 15000);
    QVERIFY(waitForAllEnds(hub, 20 + 22));
    QCOMPARE(m_server.requestsTo(kRangePath).value(0).form.value(QStringLiteral("distance")), QStringLiteral("3000"));
    QCOMPARE(bookCount(kAlliance), 2);
}

QTEST_MAIN(TestFirstBookDownload)
#include "tst_firstbookdownload.moc"
