// The listing change service against a recording server and a local store: every accepted
// change posts its exact form once, writes the local record, starts exactly one house sync
// and asks for the portal takedown when due; a refused, failed or unreadable answer is
// reported and leaves the local record, the sync and the portal alone.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "platform/housebookcodes.h"
#include "recordingserver.h"
#include "services/listingchangeservice.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using FormMap = QMap<QString, QString>;
using Record = HouseMessage_DataSqlTable::HouseMessageData;
Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

constexpr int kId = 42;

enum Action { SetFlag, CancelFlag, ChangeStatus, Delete };

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QString flagPath() { return pathOf(Endpoints::instance().app_houseshuxing); }
QString statusPath() { return pathOf(Endpoints::instance().app_housebooknewstate); }
QString deletePath() { return pathOf(Endpoints::instance().app_housebookdel); }
QString syncPath() { return pathOf(Endpoints::instance().app_LianmaiSyncHousebook); }

void seedListing()
{
    const QVariantMap record{{"id", kId}, {"types", 0}, {"userphone", "13900000002"}, {"name", "阳光花园"},
                             {"newstate", "有效"}, {"cityid", 340100}, {"companyid", 0}, {"isdel", 0},
                             {"housestatus", 1}, {"istop", 0}, {"suopan", 0}, {"fengpan", 1}, {"hbdujia", 0}};
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses({record}, false), 1);
}

Record stored()
{
    return HouseMessage_DataSqlTable(nullptr, true).getHouseData(kId);
}

// What the local record says of the change: the flag column, the status, or whether it is there.
QString localState(const Record &r)
{
    return QStringLiteral("top=%1 lock=%2 seal=%3 exclusive=%4 status=%5 %6")
        .arg(r.istop)
        .arg(r.suopan)
        .arg(r.fengpan)
        .arg(r.hbdujia)
        .arg(r.newstate)
        .arg(r.id == kId ? "present" : "gone");
}

void run(ListingChangeService &service, Action action, int type, int days, const QString &status)
{
    switch (action) {
    case SetFlag:
        service.changeFlag(kId, type, 1, days);
        break;
    case CancelFlag:
        service.changeFlag(kId, type, 0, days);
        break;
    case ChangeStatus:
        service.changeStatus(kId, status);
        break;
    case Delete:
        service.deleteListing(kId);
        break;
    }
}

} // namespace

class TestListingChangeService : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void acceptedChange_data();
    void acceptedChange();
    void failedChange_data();
    void failedChange();
    void unknownFlagTypePostsNothing();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestListingChangeService::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_houseshuxing.startsWith(m_server.baseUrl()));
}

void TestListingChangeService::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    seedListing();
}

void TestListingChangeService::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

void TestListingChangeService::acceptedChange_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("path");
    QTest::addColumn<FormMap>("form");
    QTest::addColumn<QString>("local");
    QTest::addColumn<QStringList>("takeDowns");

    QTest::newRow("lock for 30 days") << int(SetFlag) << int(HouseBookCodes::LockFlag) << 30 << "" << flagPath()
                                      << FormMap{{"itemid", "42"}, {"state", "1"}, {"type", "2"}, {"days", "30"}, {"lianmai", "1"}}
                                      << "top=0 lock=1 seal=1 exclusive=0 status=有效 present" << QStringList();
    QTest::newRow("top for good") << int(SetFlag) << int(HouseBookCodes::TopFlag) << 0 << "" << flagPath()
                                  << FormMap{{"itemid", "42"}, {"state", "1"}, {"type", "1"}, {"lianmai", "1"}}
                                  << "top=1 lock=0 seal=1 exclusive=0 status=有效 present" << QStringList();
    // A cancelled flag has no term, whatever the caller passed.
    QTest::newRow("cancel seal") << int(CancelFlag) << int(HouseBookCodes::SealFlag) << 7 << "" << flagPath()
                                 << FormMap{{"itemid", "42"}, {"state", "0"}, {"type", "3"}, {"lianmai", "1"}}
                                 << "top=0 lock=0 seal=0 exclusive=0 status=有效 present" << QStringList();
    QTest::newRow("status stays on market") << int(ChangeStatus) << 0 << 0 << "急售" << statusPath()
                                            << FormMap{{"id", "42"}, {"state", "急售"}, {"lianmai", "1"}}
                                            << "top=0 lock=0 seal=1 exclusive=0 status=急售 present" << QStringList();
    QTest::newRow("status off market") << int(ChangeStatus) << 0 << 0 << "电话无效" << statusPath()
                                       << FormMap{{"id", "42"}, {"state", "电话无效"}, {"lianmai", "1"}}
                                       << "top=0 lock=0 seal=1 exclusive=0 status=电话无效 present"
                                       << QStringList{"42:房源状态修改为：电话无效"};
    QTest::newRow("delete") << int(Delete) << 0 << 0 << "" << deletePath()
                            << FormMap{{"id", "42"}, {"lianmai", "1"}}
                            << "top=0 lock=0 seal=0 exclusive=0 status= gone"
                            << QStringList{"42:房源已被删除！"};
}

void TestListingChangeService::acceptedChange()
{
    QFETCH(int, action);
    QFETCH(int, type);
    QFETCH(int, days);
    QFETCH(QString, status);
    QFETCH(QString, path);
    QFETCH(FormMap, form);
    QFETCH(QString, local);
    QFETCH(QStringList, takeDowns);

    ListingChangeService service;
    QSignalSpy finished(&service, &ListingChangeService::postFinished);
    QSignalSpy flagged(&service, &ListingChangeService::flagChanged);
    QSignalSpy statused(&service, &ListingChangeService::statusChanged);
    QSignalSpy deleted(&service, &ListingChangeService::listingDeleted);
    QSignalSpy failed(&service, &ListingChangeService::changeFailed);
    QSignalSpy takeDown(&service, &ListingChangeService::takeDownDue);
    QSignalSpy synced(&service, &ListingChangeService::houseSyncFinished);

    run(service, Action(action), type, days, status);
    QVERIFY(service.isPosting());
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(!service.isPosting());

    QCOMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(m_server.requestsTo(path).first().method, QStringLiteral("POST"));
    QCOMPARE(m_server.requestsTo(path).first().form, form);
    QCOMPARE(localState(stored()), local);
    QCOMPARE(flagged.count() + statused.count() + deleted.count(), 1);
    const QList<QVariant> reported = (action == Delete ? deleted : action == ChangeStatus ? statused : flagged).first();
    QCOMPARE(reported.first().toInt(), kId);
    QCOMPARE(failed.count(), 0);
    QStringList asked;
    for (const QList<QVariant> &args : qAsConst(takeDown))
        asked << QStringLiteral("%1:%2").arg(args.at(0).toInt()).arg(args.at(1).toString());
    QCOMPARE(asked, takeDowns);

    QTRY_COMPARE(synced.count(), 1);
    QCOMPARE(m_server.requestsTo(syncPath()).size(), 1);
    // Success is the page's to tell; the service shows nothing.
    QCOMPARE(m_alerts->count(), 0);
}

void TestListingChangeService::failedChange_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<RecordingServer::Reply>("reply");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("box");

    const QString flagFail = QStringLiteral("更改封盘状态失败：%1\n房源未作更改，请稍后重试。");
    const QString statusFail = QStringLiteral("更改房源状态失败：%1\n房源未作更改，请稍后重试。");
    const QString deleteFail = QStringLiteral("删除房源失败：%1\n房源未删除，请稍后重试。");
    QTest::newRow("flag refused") << int(CancelFlag) << flagPath()
                                  << RecordingServer::envelope(405, QJsonValue(), QStringLiteral("房源已被锁定"))
                                  << "房源已被锁定(405)" << "房源已被锁定";
    QTest::newRow("flag server error") << int(CancelFlag) << flagPath() << RecordingServer::raw("oops", 500)
                                       << "服务器错误(500)" << flagFail.arg("服务器错误(500)");
    QTest::newRow("status malformed") << int(ChangeStatus) << statusPath()
                                      << RecordingServer::raw("<html>busy</html>", 200) << "服务器返回的数据无法识别"
                                      << statusFail.arg("服务器返回的数据无法识别");
    QTest::newRow("status envelope error") << int(ChangeStatus) << statusPath()
                                           << RecordingServer::envelope(500, QJsonValue(), QStringLiteral("服务器繁忙"))
                                           << "服务器繁忙(500)" << statusFail.arg("服务器繁忙(500)");
    QTest::newRow("delete dropped") << int(Delete) << deletePath() << RecordingServer::dropped()
                                    << "与服务器的连接中断" << deleteFail.arg("与服务器的连接中断");
}

void TestListingChangeService::failedChange()
{
    QFETCH(int, action);
    QFETCH(QString, path);
    QFETCH(RecordingServer::Reply, reply);
    QFETCH(QString, reason);
    QFETCH(QString, box);
    m_server.setReply(path, reply);
    const QString before = localState(stored());

    ListingChangeService service;
    QSignalSpy finished(&service, &ListingChangeService::postFinished);
    QSignalSpy failed(&service, &ListingChangeService::changeFailed);
    QSignalSpy flagged(&service, &ListingChangeService::flagChanged);
    QSignalSpy statused(&service, &ListingChangeService::statusChanged);
    QSignalSpy deleted(&service, &ListingChangeService::listingDeleted);
    QSignalSpy takeDown(&service, &ListingChangeService::takeDownDue);
    QSignalSpy hub(CommonSignalTool::Instance(), &CommonSignalTool::baseSqlReq);

    run(service, Action(action), HouseBookCodes::SealFlag, 0, QStringLiteral("无效"));
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toInt(), kId);
    QCOMPARE(failed.first().at(1).toString(), reason);
    QTRY_COMPARE(m_alerts->texts(), QStringList{box});

    QCOMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(localState(stored()), before);
    QCOMPARE(flagged.count() + statused.count() + deleted.count() + takeDown.count(), 0);
    // A sync announces its start on the hub as it is started.
    for (const QList<QVariant> &args : qAsConst(hub))
        QVERIFY(args.at(0).toInt() != HouseBookCodes::HubSyncStarted);
    QCOMPARE(m_server.requestsTo(syncPath()).size(), 0);
    QVERIFY(!service.isPosting());
}

// A type the server does not know would be posted and written into no column at all.
void TestListingChangeService::unknownFlagTypePostsNothing()
{
    ListingChangeService service;
    for (int type : {0, 5, -1}) {
        service.changeFlag(kId, type, 1, 3);
        service.changeFlag(kId, type, 0);
        QVERIFY(!service.isPosting());
    }
    QCOMPARE(ListingChangeService::flagColumn(5), QString());
}

QTEST_MAIN(TestListingChangeService)
#include "tst_listingchangeservice.moc"
