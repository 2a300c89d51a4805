// The XinfuLi push object against a recording server: takedowns by status, with a given or a
// typed reason and with or without the portal's data; the push's requests, what stops it
// before the import and the map position box; failed requests ending the work.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "listing.h"
#include "net/endpoints.h"
#include "portal/housebookxinfulipushobject.h"
#include "recordingserver.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "testuser.h"
#include "widgets/commonaddwidget.h"
#include "widgets/reasonbox.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

#include "datacenter.h"

using FormMap = QMap<QString, QString>;
Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

constexpr int kHouse = 42;
constexpr int kCommunity = 100;

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

const Endpoints &ep()
{
    return Endpoints::instance();
}

QJsonObject promotionWith(int photos)
{
    QJsonArray pic;
    for (int i = 0; i < photos; ++i)
        pic.append(QJsonObject{{"url", QStringLiteral("http://127.0.0.1/p/%1.jpg").arg(i)}, {"type", i % 3 + 1},
                               {"frist", i == 0 ? 1 : 0}});
    return QJsonObject{{"id", kHouse}, {"title", "南北通透"}, {"describes", "近地铁"}, {"pic", pic}};
}

QJsonObject portalInfo(const QString &certNo = QStringLiteral("ZG-2024-001"),
                       const QString &entrust = QStringLiteral("WT-42"))
{
    return QJsonObject{{"neighborhood_id", "n100"},
                       {"city_name", "合肥"},
                       {"district_name", "蜀山区"},
                       {"house_code", "HC42"},
                       {"entrustAgreementNo", entrust},
                       {"realtor", QJsonObject{{"realtor_id", "r7"}, {"user_name", "王五"}, {"certNo", certNo}}},
                       {"corp", QJsonObject{{"corp_name", "安居地产"}}},
                       {"top", QJsonObject{{"top_userid", 77}, {"top_username", "赵六"}, {"top_status", 2}}}};
}

} // namespace

class TestXinfuLiPushObject : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void takedown_data();
    void takedown();
    void typedReason();
    void push_data();
    void push();
    void missingMapPositionContinuesOnRequest();
    void failedRequestEndsWork_data();
    void failedRequestEndsWork();

private:
    void replyStatus(const QJsonValue &data);
    void storeCommunity(const QString &lng, const QString &lat);
    QStringList paths() const;
    // Owned by the test: an object without a parent deletes itself once its work ended.
    HouseBookXinfuLiPushObject *makePush();

    RecordingServer m_server;
    QScopedPointer<QObject> m_owner;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestXinfuLiPushObject::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestXinfuLiPushObject::init()
{
    m_host.reset(new HostFixture);
    HostFixture::signInAs(TestUser().jointSaleManager());
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    replyStatus(QJsonObject{{"housestatus", 2}});
    m_server.setReply(pathOf(ep().housebook2_housebookdesdetail), RecordingServer::envelope(200, promotionWith(5)));
    m_server.setReply(pathOf(ep().house_vr_VRContent), RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray()}}));
    m_server.setReply(pathOf(ep().Propaganda_WatermarkDetail),
                      RecordingServer::envelope(200, QJsonObject{{"platform", "联卖"}, {"imagestyle", 1}}));
    m_server.setReply(pathOf(ep().search_xinfuli_info), RecordingServer::envelope(200, portalInfo()));
    m_server.setReply(pathOf(ep().VtApp_houseimport), RecordingServer::envelope(200, QJsonObject(), "操作成功"));
    m_server.setReply(pathOf(ep().VtApp_houseremove), RecordingServer::envelope(200, QJsonObject(), "操作成功"));
    QVERIFY(HouseMessage_DataSqlTable(nullptr, true)
                .insertOrReplaceHouses({Listing(kHouse).community(kCommunity, QStringLiteral("阳光花园"))}, false) == 1);
    storeCommunity(QStringLiteral("117.28"), QStringLiteral("31.86"));
}

void TestXinfuLiPushObject::cleanup()
{
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    m_owner.reset();
    m_alerts.reset();
    m_host.reset();
}

void TestXinfuLiPushObject::replyStatus(const QJsonValue &data)
{
    m_server.setReply(pathOf(ep().VtApp_housestatus), RecordingServer::envelope(200, data));
}

void TestXinfuLiPushObject::storeCommunity(const QString &lng, const QString &lat)
{
    const QVariantMap community{{"id", kCommunity}, {"name", QStringLiteral("阳光花园")},
                                {"districtname", QStringLiteral("蜀山区")}, {"address", QStringLiteral("长江西路1号")},
                                {"lng", lng}, {"lat", lat}, {"years", QStringLiteral("2008")}};
    QCOMPARE(CommunityMessage_DataSqlTable(nullptr, true).insertOrReplaceCommunities({community}, false), 1);
}

HouseBookXinfuLiPushObject *TestXinfuLiPushObject::makePush()
{
    if (!m_owner)
        m_owner.reset(new QObject);
    return new HouseBookXinfuLiPushObject(m_owner.data());
}

QStringList TestXinfuLiPushObject::paths() const
{
    QStringList list;
    for (const RecordingServer::Request &r : m_server.requests())
        list << r.path;
    return list;
}

enum Removal { NoRemoval, HeldByPortalData, HeldByAgent };

void TestXinfuLiPushObject::takedown_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<RecordingServer::Reply>("info");
    QTest::addColumn<int>("removal");
    const auto info = RecordingServer::envelope(200, portalInfo());
    QTest::newRow("not handled by the portal") << 0 << info << int(NoRemoval);
    QTest::newRow("not on the portal") << 1 << info << int(HeldByPortalData);
    QTest::newRow("on the portal") << 2 << info << int(HeldByPortalData);
    // Unsure whether the portal shows it: a sold listing must not stay there.
    QTest::newRow("unreadable status") << -1 << info << int(HeldByPortalData);
    // The listing may be gone from the server already; the removal still goes out.
    QTest::newRow("portal data refused") << 2 << RecordingServer::envelope(405, QJsonValue(), "房源不存在")
                                         << int(HeldByAgent);
    QTest::newRow("portal data broken") << 2 << RecordingServer::raw("oops", 500) << int(HeldByAgent);
}

// The list page and the detail window make the object without a parent and forget it.
void TestXinfuLiPushObject::takedown()
{
    QFETCH(int, status);
    QFETCH(RecordingServer::Reply, info);
    QFETCH(int, removal);
    replyStatus(status < 0 ? QJsonObject() : QJsonObject{{"housestatus", status}});
    m_server.setReply(pathOf(ep().search_xinfuli_info), info);
    HouseBookXinfuLiPushObject::clearPutDownLog();
    QPointer<HouseBookXinfuLiPushObject> push = new HouseBookXinfuLiPushObject;
    QSignalSpy done(push.data(), &HouseBookXinfuLiPushObject::putDownSuccess);
    QSignalSpy finished(push.data(), &HouseBookXinfuLiPushObject::finished);
    push->xiaJiaData(kHouse, QStringLiteral("房源状态修改为：已售"));
    QTRY_VERIFY(push.isNull());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(done.count(), removal == NoRemoval ? 0 : 1);
    QCOMPARE(HouseBookXinfuLiPushObject::putDownLog(), QStringList{"42:房源状态修改为：已售"});
    QCOMPARE(m_server.requests().first().form, (FormMap{{"companyid", "1001"}, {"house_id", "42"}, {"lianmai", "1"}}));
    QCOMPARE(m_alerts->count(), 0);
    const auto removals = m_server.requestsTo(pathOf(ep().VtApp_houseremove));
    if (removal == NoRemoval) {
        QCOMPARE(paths(), QStringList{pathOf(ep().VtApp_housestatus)});
        return;
    }
    QCOMPARE(removals.size(), 1);
    FormMap expected{{"companyid", "1001"}, {"house_id", "42"}, {"reason", "房源状态修改为：已售"}, {"lianmai", "1"}};
    if (removal == HeldByPortalData)
        expected.insert({{"city_name", "合肥"}, {"top_userid", "77"}, {"top_username", "赵六"}, {"top_status", "2"}});
    else
        expected.insert({{"city_name", ""}, {"top_userid", QString::number(DataCenter::YongHuID)},
                         {"top_username", DataCenter::UserPhoneNumber}, {"top_status", "1"}});
    QCOMPARE(removals.first().form, expected);
}

// Without a reason the agent is asked for one; an empty one is refused in the box.
void TestXinfuLiPushObject::typedReason()
{
    HouseBookXinfuLiPushObject *push = makePush();
    QSignalSpy done(push, &HouseBookXinfuLiPushObject::putDownSuccess);
    push->xiaJiaData(kHouse, QString());
    ReasonBox *box = nullptr;
    QTRY_VERIFY((box = m_host->mainWindow()->findChild<ReasonBox *>("xiaJiaReasonBox")));
    QCOMPARE(box->findChild<QLabel *>("label_reason")->text(), QStringLiteral("下架原因："));
    auto *edit = box->findChild<QPlainTextEdit *>("textEdit_reason");
    QCOMPARE(edit->placeholderText(), QStringLiteral("请输入下架的原因"));
    auto *submit = box->findChild<QPushButton *>("submitButton");
    QCOMPARE(submit->text(), QStringLiteral("下架"));

    edit->setPlainText(QStringLiteral("   "));
    submit->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{"请输入下架的原因"});
    QVERIFY(m_host->mainWindow()->findChild<ReasonBox *>("xiaJiaReasonBox"));
    edit->setPlainText(QStringLiteral("业主自售"));
    submit->click();
    QVERIFY(done.wait());
    const auto removals = m_server.requestsTo(pathOf(ep().VtApp_houseremove));
    QCOMPARE(removals.size(), 1);
    QCOMPARE(removals.first().form.value("reason"), QStringLiteral("业主自售"));
    QTRY_VERIFY(!m_host->mainWindow()->findChild<ReasonBox *>("xiaJiaReasonBox"));

    // Closing the box instead leaves the listing on the portal.
    m_server.clearRequests();
    HouseBookXinfuLiPushObject *closed = makePush();
    QSignalSpy failed(closed, &HouseBookXinfuLiPushObject::failed);
    closed->xiaJiaData(kHouse, QString());
    QTRY_VERIFY((box = m_host->mainWindow()->findChild<ReasonBox *>("xiaJiaReasonBox")));
    qobject_cast<CommonAddWidget *>(box->window())->closeWidget();
    QVERIFY(failed.count() == 1 || failed.wait());
    QVERIFY(m_server.requestsTo(pathOf(ep().VtApp_houseremove)).isEmpty());
}

void TestXinfuLiPushObject::push_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("house");
    QTest::addColumn<int>("photos");
    QTest::addColumn<QJsonObject>("info");
    QTest::addColumn<QString>("alert");
    QTest::addColumn<bool>("imported");
    const QString count = QStringLiteral("房源信息不符合要求（要求：图片个数 >1且图片个数 <= 50）");
    const QString done = QStringLiteral("房源已推送到幸福里！");
    QTest::newRow("1 photo") << 2 << kHouse << 1 << portalInfo() << count << false;
    QTest::newRow("2 photos, not on the portal") << 1 << kHouse << 2 << portalInfo() << done << true;
    QTest::newRow("50 photos") << 2 << kHouse << 50 << portalInfo() << done << true;
    QTest::newRow("51 photos") << 2 << kHouse << 51 << portalInfo() << count << false;
    QTest::newRow("no certificate") << 2 << kHouse << 5 << portalInfo(QString()) << "缺少委托人【经纪人资格证号】信息！"
                                    << false;
    QTest::newRow("no entrust code") << 2 << kHouse << 5 << portalInfo("ZG-1", QString())
                                     << "缺少委托人【房源委托码】信息！" << false;
    // These stop at the status answer.
    QTest::newRow("not handled") << 0 << kHouse << 5 << portalInfo() << "该房源暂不支持推送到幸福里" << false;
    QTest::newRow("unreadable status") << -1 << kHouse << 5 << portalInfo() << "推送状态查询失败" << false;
    QTest::newRow("not stored") << 1 << 43 << 5 << portalInfo() << "房源不存在或已被删除！" << false;
}

void TestXinfuLiPushObject::push()
{
    QFETCH(int, status);
    QFETCH(int, house);
    QFETCH(int, photos);
    QFETCH(QJsonObject, info);
    QFETCH(QString, alert);
    QFETCH(bool, imported);
    replyStatus(status < 0 ? QJsonObject{{"housestatus", "x"}} : QJsonObject{{"housestatus", status}});
    m_server.setReply(pathOf(ep().housebook2_housebookdesdetail), RecordingServer::envelope(200, promotionWith(photos)));
    m_server.setReply(pathOf(ep().search_xinfuli_info), RecordingServer::envelope(200, info));
    HouseBookXinfuLiPushObject *push = makePush();
    QSignalSpy finished(push, &HouseBookXinfuLiPushObject::finished);
    QSignalSpy pushed(push, &HouseBookXinfuLiPushObject::pushSuccess);
    push->pushHouse(house);
    QVERIFY(finished.wait());
    QTRY_COMPARE(m_alerts->texts(), QStringList{alert});
    QCOMPARE(pushed.count(), imported ? 1 : 0);
    QCOMPARE(m_server.requestsTo(pathOf(ep().VtApp_houseimport)).size(), imported ? 1 : 0);
    if (status > 0 && house == kHouse && !imported)
        QCOMPARE(paths().size(), 5);  // gathered everything, imported nothing
    if (status <= 0 || house != kHouse)
        QCOMPARE(paths(), QStringList{pathOf(ep().VtApp_housestatus)});
    if (!imported)
        return;
    QCOMPARE(paths(), (QStringList{pathOf(ep().VtApp_housestatus), pathOf(ep().housebook2_housebookdesdetail),
                                   pathOf(ep().house_vr_VRContent), pathOf(ep().Propaganda_WatermarkDetail),
                                   pathOf(ep().search_xinfuli_info), pathOf(ep().VtApp_houseimport)}));
    const QList<RecordingServer::Request> r = m_server.requests();
    QCOMPARE(r.at(1).form, (FormMap{{"id", "42"}, {"lianmai", "1"}}));
    QCOMPARE(r.at(2).form, (FormMap{{"type", "1"}, {"houseid", "42"}, {"lianmai", "1"}}));
    QCOMPARE(r.at(4).form, (FormMap{{"houseid", "42"}, {"lianmai", "1"}}));
    QCOMPARE(r.at(5).form.value("companyid"), QStringLiteral("1001"));
    QCOMPARE(r.at(5).form.value("house_id"), QStringLiteral("42"));
}

void TestXinfuLiPushObject::missingMapPositionContinuesOnRequest()
{
    storeCommunity(QStringLiteral("0"), QStringLiteral("31.86"));
    m_alerts->answerWith(AlertWidget::Cancle);  // "继续推送" is the box's second button
    HouseBookXinfuLiPushObject *push = makePush();
    QSignalSpy pushed(push, &HouseBookXinfuLiPushObject::pushSuccess);
    push->pushHouse(kHouse);
    QVERIFY(pushed.wait());
    QTRY_COMPARE(m_alerts->records().size(), 2);
    const AlertRecord box = m_alerts->records().first();
    QCOMPARE(box.text, QStringLiteral("您推送的房源所在小区未标注地图位置，直接推送需要幸福里人工审核，审核周期较长，"
                                      "建议您标注好小区位置后推送"));
    QCOMPARE(box.buttons, (QStringList{"继续推送", "前往标注"}));  // left to right
    QCOMPARE(m_server.requestsTo(pathOf(ep().VtApp_houseimport)).size(), 1);
}

void TestXinfuLiPushObject::failedRequestEndsWork_data()
{
    QTest::addColumn<bool>("takedown");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("alert");
    const QString push = QStringLiteral("推送失败：服务器错误(500)");
    QTest::newRow("status") << false << ep().VtApp_housestatus << push;
    QTest::newRow("promotion") << false << ep().housebook2_housebookdesdetail << push;
    QTest::newRow("vr") << false << ep().house_vr_VRContent << push;
    QTest::newRow("watermark") << false << ep().Propaganda_WatermarkDetail << push;
    QTest::newRow("portal data") << false << ep().search_xinfuli_info << push;
    QTest::newRow("import") << false << ep().VtApp_houseimport << push;
    const QString stays = QStringLiteral("幸福里下架失败：服务器错误(500)，房源仍在幸福里展示，请稍后重试。");
    QTest::newRow("takedown status") << true << ep().VtApp_housestatus << stays;
    QTest::newRow("removal") << true << ep().VtApp_houseremove << stays;
}

void TestXinfuLiPushObject::failedRequestEndsWork()
{
    QFETCH(bool, takedown);
    QFETCH(QString, failing);
    QFETCH(QString, alert);
    m_server.setReply(pathOf(failing), RecordingServer::raw("oops", 500));
    HouseBookXinfuLiPushObject *push = makePush();
    QSignalSpy finished(push, &HouseBookXinfuLiPushObject::finished);
    QSignalSpy failed(push, &HouseBookXinfuLiPushObject::failed);
    QSignalSpy pushed(push, &HouseBookXinfuLiPushObject::pushSuccess);
    QSignalSpy removed(push, &HouseBookXinfuLiPushObject::putDownSuccess);
    if (takedown)
        push->xiaJiaData(kHouse, QStringLiteral("房源状态修改为：已售"));
    else
        push->pushHouse(kHouse);
    QVERIFY(finished.wait());
    QTRY_COMPARE(m_alerts->texts(), QStringList{alert});
    QCOMPARE(failed.count(), 1);
    QCOMPARE(pushed.count() + removed.count(), 0);
    // Nothing is asked after the failed request.
    QCOMPARE(paths().last(), pathOf(failing));
    QCOMPARE(finished.count(), 1);
}

QTEST_MAIN(TestXinfuLiPushObject)
#include "tst_xinfulipushobject.moc"
