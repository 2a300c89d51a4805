// The 58 push object against a recording exchange: its requests in order and where they go,
// a failed or unreadable step ending the push, the build year and map position refusals and
// their buttons, the takedown, and parentless objects going away once done.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "listing.h"
#include "platform/housebookcodes.h"
#include "platform/siblinglibrary.h"
#include "portal/housebook58anxuanpushobject.h"
#include "recordingserver.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "testuser.h"

#include <QApplication>
#include <QJsonArray>
#include <QPointer>
#include <QtTest>

namespace {

const int kHouse = 3101;
const QString kStatus = QStringLiteral("/web/Wubapush/housestatus");
const QString kDetail = QStringLiteral("/app/housebook2/housebookdesdetail");
const QString kVrs = QStringLiteral("/soft/house/vr/VRContent");
const QString kVideo = QStringLiteral("/app/fd/getHouseVod");
const QString kXiaoQu = QStringLiteral("/web/Wubapush/dataxiaoqu");
const QString kHouseData = QStringLiteral("/web/Wubapush/datahouse");
const QString kAddVideo = QStringLiteral("/web/Wubapush/addhousevideo");
const QString kDelete = QStringLiteral("/web/Wubapush/delclaimhouse");

// One floor plan (the cover), three indoor photos and one outside photo: within the 58 rules.
QJsonObject promotion()
{
    QJsonArray pic;
    for (int type : {2, 1, 1, 1, 3})
        pic.append(QJsonObject{{"url", QStringLiteral("http://127.0.0.1/p/%1.jpg").arg(pic.size())}, {"type", type},
                               {"frist", pic.isEmpty() ? 1 : 0}});
    return {{"id", kHouse}, {"title", QStringLiteral("南北通透三室两厅")}, {"pic", pic}};
}

QJsonObject videos(bool one)
{
    return {{"list", one ? QJsonArray{QJsonObject{{"id", 7}, {"url", "http://127.0.0.1/v/7.mp4"}}} : QJsonArray()}};
}

void storeCommunity(const QString &lng, const QString &years)
{
    const QVariantMap row{{"id", 100}, {"name", QStringLiteral("阳光花园")}, {"lng", lng}, {"lat", "31.83"},
                          {"years", years}, {"lasttime", "2024/03/01 10:00:00"}};
    CommunityMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).insertOrReplaceCommunities({row});
}

void storeListing(bool rent)
{
    Listing listing(kHouse);
    HouseMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).insertOrReplaceHouses({rent ? listing.rent() : listing});
}

QStringList pathsOf(const QList<RecordingServer::Request> &requests)
{
    QStringList paths;
    for (const RecordingServer::Request &r : requests)
        paths << r.path;
    return paths;
}

} // namespace

class TestWubaPushObject : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void push_data();
    void push();
    void refusals_data();
    void refusals();
    void takedown_data();
    void takedown();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestWubaPushObject::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestWubaPushObject::init()
{
    m_host.reset(new HostFixture);
    HostFixture::signInAs(TestUser().company(1001));
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    for (const QString &path : {kHouseData, kAddVideo, kDelete})
        m_server.setReply(path, RecordingServer::envelope(200, QJsonObject(), QStringLiteral("操作成功")));
    m_server.setReply(kStatus, RecordingServer::envelope(200, QJsonObject{{"housestatus", 0}}));
    m_server.setReply(kDetail, RecordingServer::envelope(200, promotion()));
    m_server.setReply(kVrs, RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray()}}));
    m_server.setReply(kVideo, RecordingServer::envelope(200, videos(true)));
    m_server.setReply(kXiaoQu, RecordingServer::envelope(200, QJsonObject{{"ownerCommId", "58c100"}}));
    storeCommunity(QStringLiteral("117.25"), QStringLiteral("2008"));
    storeListing(false);
}

void TestWubaPushObject::cleanup()
{
    m_alerts->answerWith(AlertWidget::Know);
    if (m_alerts->openBox())
        m_alerts->openBox()->answer(AlertWidget::Know);
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    m_alerts.reset();
    m_host.reset();
}

void TestWubaPushObject::push_data()
{
    QTest::addColumn<bool>("rent");
    QTest::addColumn<bool>("withVideo");
    QTest::addColumn<QString>("brokenPath");  // empty: every step answers
    QTest::addColumn<QByteArray>("body");     // the broken step's answer; empty: connection dropped
    QTest::addColumn<QString>("notice");      // the box the agent ends with
    const QByteArray refused = R"({"code":400,"message":"服务繁忙"})";
    const QByteArray list = R"({"code":200,"data":[1,2]})";
    const QString pushed = QStringLiteral("房源已推送到58安选！");
    const QString unreadable = QStringLiteral("推送失败：服务器返回的数据无法识别");
    const QString dropped = QStringLiteral("推送失败：与服务器的连接中断");
    QTest::newRow("sale with video") << false << true << "" << QByteArray() << pushed;
    QTest::newRow("sale without video") << false << false << "" << QByteArray() << pushed;
    QTest::newRow("rent with video") << true << true << "" << QByteArray() << pushed;
    QTest::newRow("status refused") << false << true << kStatus << refused << "";
    QTest::newRow("status unreadable") << false << true << kStatus << list << "推送状态查询失败";
    QTest::newRow("detail dropped") << false << true << kDetail << QByteArray() << dropped;
    QTest::newRow("detail not an object") << false << true << kDetail << list << unreadable;
    QTest::newRow("video refused") << false << true << kVideo << refused << "";
    QTest::newRow("community not an object") << false << true << kXiaoQu << list << unreadable;
    QTest::newRow("listing dropped") << false << true << kHouseData << QByteArray() << dropped;
    QTest::newRow("video post refused") << false << true << kAddVideo << refused << "";
}

// A parentless push object posts the steps in order, up to the first broken one, and goes.
void TestWubaPushObject::push()
{
    QFETCH(bool, rent);
    QFETCH(bool, withVideo);
    QFETCH(QString, brokenPath);
    QFETCH(QByteArray, body);
    QFETCH(QString, notice);
    storeListing(rent);
    m_server.setReply(kVideo, RecordingServer::envelope(200, videos(withVideo)));
    if (!brokenPath.isEmpty())
        m_server.setReply(brokenPath, body.isEmpty() ? RecordingServer::dropped() : RecordingServer::raw(body, 200, "application/json"));
    QPointer<HouseBook58AnXuanPushObject> object = new HouseBook58AnXuanPushObject;
    QStringList seen;
    connect(object, &PortalPushBase::pushSuccess, this, [&] { seen << "pushSuccess"; });
    connect(object, &PortalPushBase::failed, this, [&] { seen << "failed"; });
    connect(object, &PortalPushBase::finished, this, [&] { seen << "finished"; });
    object->pushHouse(kHouse);
    QTRY_VERIFY(object.isNull());
    QCOMPARE(seen, (QStringList{brokenPath.isEmpty() ? "pushSuccess" : "failed", "finished"}));

    QStringList steps{kStatus, kDetail, kVrs, kVideo, kXiaoQu, kHouseData};
    if (withVideo)
        steps << kAddVideo;
    if (!brokenPath.isEmpty())
        steps = steps.mid(0, steps.indexOf(brokenPath) + 1);
    const QList<RecordingServer::Request> requests = m_server.requests();
    QCOMPARE(pathsOf(requests), steps);
    if (!notice.isEmpty())
        QTRY_COMPARE(m_alerts->texts(), QStringList{notice});
    if (!brokenPath.isEmpty())
        return;
    const QString id = QString::number(kHouse);
    for (const RecordingServer::Request &r : requests) {
        QCOMPARE(r.form.value("lianmai"), QStringLiteral("1"));
        QCOMPARE(r.query, r.path.startsWith("/web/") ? QStringLiteral("companyid=1001") : QString());
        if (r.path.startsWith("/web/Wubapush/") && r.path != kXiaoQu)
            QCOMPARE(r.form.value("bianhao"), id);
    }
    QCOMPARE(requests.at(1).form.value("id"), id);
    QCOMPARE(requests.at(2).form.value("type"), rent ? QStringLiteral("2") : QStringLiteral("1"));
    QCOMPARE(requests.at(2).form.value("houseid"), id);
    QCOMPARE(requests.at(3).form.value("houseid"), id);
    QCOMPARE(requests.at(5).form.value("cateid"), rent ? QStringLiteral("8") : QStringLiteral("12"));
}

void TestWubaPushObject::refusals_data()
{
    QTest::addColumn<QString>("lng");
    QTest::addColumn<QString>("years");
    QTest::addColumn<int>("currentYear");  // 0: the object counts from today's year
    QTest::addColumn<QString>("button");   // empty: pushed
    QTest::addColumn<QString>("editor");
    const QString year = QStringLiteral("前往修改");
    const QString yearEditor = QStringLiteral("communityMessageEditor");
    QTest::newRow("built 1900") << "117.25" << "1900" << 2024 << year << yearEditor;
    QTest::newRow("built 1901") << "117.25" << "1901" << 2024 << "" << "";
    QTest::newRow("built this year + 2") << "117.25" << "2026" << 2024 << "" << "";
    QTest::newRow("built this year + 3") << "117.25" << "2027" << 2024 << year << yearEditor;
    QTest::newRow("built today + 3") << "117.25" << QString::number(QDate::currentDate().year() + 3) << 0 << year
                                     << yearEditor;
    QTest::newRow("no map position") << "0" << "2008" << 2024 << "前往标注" << "communityLocationEditor";
}

// A refused push posts nothing after the checks; its button opens the community editor and
// the push ends with it. Without the host's community library the agent is told it is missing.
void TestWubaPushObject::refusals()
{
    QFETCH(QString, lng);
    QFETCH(QString, years);
    QFETCH(int, currentYear);
    QFETCH(QString, button);
    QFETCH(QString, editor);
    storeCommunity(lng, years);
    m_alerts->leaveOpen();
    HouseBook58AnXuanPushObject object(this);
    QSignalSpy finished(&object, &PortalPushBase::finished);
    if (currentYear)
        object.setCurrentYear(currentYear);
    object.pushHouse(kHouse);
    if (button.isEmpty()) {
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(m_server.requestsTo(kHouseData).size(), 1);
        return;
    }
    QTRY_VERIFY(m_alerts->openBox());
    QVERIFY(m_alerts->last().buttons.contains(button));
    QCOMPARE(pathsOf(m_server.requests()), (QStringList{kStatus, kDetail, kVrs, kVideo}));
    m_alerts->answerWith(AlertWidget::Know);
    m_alerts->openBox()->answer(AlertWidget::Sure);
    if (QFile::exists(SiblingLibrary::filePath(QStringLiteral("qx_community.dll")))) {
        auto dialog = [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == editor)
                    return w;
            return static_cast<QWidget *>(nullptr);
        };
        QTRY_VERIFY(dialog());
        QCOMPARE(finished.count(), 0);
        dialog()->close();
    } else {
        QTRY_COMPARE(m_alerts->last().text, QStringLiteral("缺少<qx_community>组件！"));
    }
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(m_server.requestsTo(kXiaoQu).size(), 0);
}

void TestWubaPushObject::takedown_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("rent");
    QTest::newRow("sale") << true << false;
    QTest::newRow("rent") << true << true;
    QTest::newRow("listing no longer stored") << false << false;
}

void TestWubaPushObject::takedown()
{
    QFETCH(bool, stored);
    QFETCH(bool, rent);
    storeListing(rent);
    if (!stored)
        QVERIFY(HouseMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).deleteHouse(kHouse));
    QPointer<HouseBook58AnXuanPushObject> object = new HouseBook58AnXuanPushObject;
    QSignalSpy putDown(object, &PortalPushBase::putDownSuccess);
    object->realPutDown(kHouse);
    QTRY_VERIFY(object.isNull());

    QCOMPARE(putDown.count(), int(stored));
    if (!stored) {
        QCOMPARE(m_server.requestCount(), 0);
        QTRY_COMPARE(m_alerts->texts(), QStringList{QStringLiteral("房源不存在或已被删除！")});
        return;
    }
    QCOMPARE(pathsOf(m_server.requests()), QStringList{kDelete});
    const RecordingServer::Request request = m_server.lastRequest();
    QCOMPARE(request.query, QStringLiteral("companyid=1001"));
    QCOMPARE(request.form.value("bianhao"), QString::number(kHouse));
    QCOMPARE(request.form.value("cateid"), rent ? QStringLiteral("8") : QStringLiteral("12"));
}

QTEST_MAIN(TestWubaPushObject)
#include "tst_wubapushobject.moc"
