// The community → building → unit → room wizard against a recording server: lock state,
// typed buildings and units with their refusals, resets of later steps, the intensive-farming
// register, the manual community row, failed and malformed lists, and late replies.
#include "alertrecorder.h"
#include "entry_forms/chooser/choosehouseloudongwidget.h"
#include "entry_forms/chooser/choosehousemessagestackwidget.h"
#include "entry_forms/chooser/choosehouseroomwidget.h"
#include "entry_forms/chooser/choosehouseunitwidget.h"
#include "entry_forms/chooser/choosexiaoquwidget.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "recordingserver.h"
#include "services/communitystructureservice.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using Wizard = ChooseHouseMessageStackWidget;
using Reply = RecordingServer::Reply;
Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

QString path(const QString Endpoints::*member)
{
    return QUrl(Endpoints::instance().*member).path();
}

Reply ok(const QJsonValue &data)
{
    return RecordingServer::envelope(200, data);
}

Reply locks(bool dong, bool uar)
{
    return ok(QJsonObject{{"lockdong", dong ? 1 : 0}, {"lockuar", uar ? 1 : 0}});
}

// A community with the agency's own record 12 and two buildings of its own.
QVariantMap community(const QVariant &myid = 12, bool withBuildings = true)
{
    QVariantMap map{{"id", 500}, {"name", "天鹅湖小区"}, {"districtname", "蜀山区"}, {"areaname", "天鹅湖"}};
    if (myid.isValid())
        map.insert("myid", myid);
    if (withBuildings)
        map.insert("building", QVariantList{QVariantMap{{"id", 31}, {"name", "5栋"}}, QVariantMap{{"id", 32}, {"name", "6栋"}}});
    return map;
}

QStringList navTexts(Wizard *w)
{
    QStringList texts;
    for (QPushButton *b : w->navButtons())
        texts << (b->isHidden() ? QStringLiteral("-") : b->text());
    return texts;
}

bool clickTile(QWidget *page, const QString &name)
{
    auto *tile = page->findChild<QPushButton *>(name);
    if (!tile)
        return false;
    tile->click();
    return true;
}

} // namespace

class TestChooserWizard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void lockStateAskedOnlyWithMyid_data();
    void lockStateAskedOnlyWithMyid();
    void typedExistingBuildingTakenWithId_data();
    void typedExistingBuildingTakenWithId();
    void typedValueRefusals_data();
    void typedValueRefusals();
    void laterStepsResetOnNewChoice();
    void registerServesIntensiveFarmingBuilding();
    void manualCommunityNeedsRight_data();
    void manualCommunityNeedsRight();
    void failedBuildingListOffersRetry_data();
    void failedBuildingListOffersRetry();
    void failedSearchKeepsManualRow();
    void communityOnlyEndsAfterFirstStep();
    void lateUnitsOfEarlierBuildingIgnored();

private:
    // The wizard on step 3 of community() after choosing its first building.
    void toUnitStep(Wizard *w)
    {
        w->hasChooseXiaoQu(community());
        QVERIFY(clickTile(w->louDongPage(), "loudong_0"));
        QTRY_COMPARE(w->unitPage()->shownNames(), QStringList{"2单元"});
    }

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestChooserWizard::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestChooserWizard::init()
{
    // The old fixture signs out when it goes, so it must go before the new one signs in.
    m_alerts.reset();
    m_host.reset();
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setReply(path(&Endpoints::house_jinggeng_getLocks), locks(false, false));
    m_server.setReply(path(&Endpoints::house_jinggeng_loudongInfo),
                      ok(QJsonArray{QJsonObject{{"id", 41}, {"name", "7"}, {"unit", "栋"}, {"jinggeng", 0}}}));
    m_server.setReply(path(&Endpoints::house_jinggeng_danyuanInfo),
                      ok(QJsonArray{QJsonObject{{"id", 61}, {"name", "2"}, {"unit", "单元"}}}));
    m_server.setReply(path(&Endpoints::house_jinggeng_unitInfo),
                      ok(QJsonArray{QJsonObject{{"id", 71}, {"name", "301"}, {"floor", 3}}}));
    m_server.setReply(path(&Endpoints::house_xiaoqu_search), ok(QJsonArray{}));
}

void TestChooserWizard::lockStateAskedOnlyWithMyid_data()
{
    QTest::addColumn<QVariant>("myid");
    QTest::addColumn<QString>("asked"); // comid posted, empty: not asked
    QTest::newRow("no own record") << QVariant() << "";
    QTest::newRow("myid 0") << QVariant(0) << "";
    QTest::newRow("myid as text") << QVariant("12") << "12";
    QTest::newRow("myid as number") << QVariant(12) << "12";
}

void TestChooserWizard::lockStateAskedOnlyWithMyid()
{
    QFETCH(QVariant, myid);
    QFETCH(QString, asked);
    m_server.setReply(path(&Endpoints::house_jinggeng_getLocks), locks(true, true));
    Wizard w;
    w.hasChooseXiaoQu(community(myid, false));
    QCOMPARE(w.currentPage(), 1);
    // Two round trips later a lock request sent with the first would long have arrived.
    QTRY_COMPARE(w.louDongPage()->shownNames(), QStringList{"7栋"});
    QVERIFY(clickTile(w.louDongPage(), "loudong_0"));
    QTRY_COMPARE(w.unitPage()->shownNames(), QStringList{"2单元"});

    const auto lockRequests = m_server.requestsTo(path(&Endpoints::house_jinggeng_getLocks));
    QCOMPARE(lockRequests.size(), asked.isEmpty() ? 0 : 1);
    QCOMPARE(w.isBuildingLocked(), !asked.isEmpty());
    if (!asked.isEmpty()) {
        QCOMPARE(lockRequests.at(0).form.value("comid"), asked);
        QCOMPARE(lockRequests.at(0).form.value("lianmai"), QStringLiteral("1"));
    }
    const auto buildingRequest = m_server.requestsTo(path(&Endpoints::house_jinggeng_loudongInfo)).value(0);
    QCOMPARE(buildingRequest.form.value("comid"), QStringLiteral("500"));
}

void TestChooserWizard::typedExistingBuildingTakenWithId_data()
{
    QTest::addColumn<bool>("locked");
    QTest::newRow("open") << false;
    QTest::newRow("locked") << true;
}

void TestChooserWizard::typedExistingBuildingTakenWithId()
{
    QFETCH(bool, locked);
    m_server.setReply(path(&Endpoints::house_jinggeng_getLocks), locks(locked, false));
    Wizard w;
    w.hasChooseXiaoQu(community());
    QTRY_COMPARE(w.isBuildingLocked(), locked);
    QCOMPARE(w.louDongPage()->shownNames(), (QStringList{"5栋", "6栋"}));

    w.louDongPage()->addCustomTxt("5", "栋");
    QCOMPARE(w.currentPage(), 2);
    QCOMPARE(w.chosen().louDong.id, QStringLiteral("31"));
    QCOMPARE(navTexts(&w), (QStringList{"天鹅湖小区", "5栋", "选择单元", "-"}));
    QTRY_COMPARE(m_server.requestsTo(path(&Endpoints::house_jinggeng_danyuanInfo)).size(), 1);
    const auto form = m_server.requestsTo(path(&Endpoints::house_jinggeng_danyuanInfo)).at(0).form;
    QCOMPARE(form.value("dongid"), QStringLiteral("31"));
    QCOMPARE(form.value("xiaoquid"), QStringLiteral("500"));
    QCOMPARE(form.value("lianmai"), QStringLiteral("1"));
    QCOMPARE(m_alerts->count(), 0);
}

void TestChooserWizard::typedValueRefusals_data()
{
    QTest::addColumn<bool>("unitStep");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("mayAdd");
    QTest::addColumn<QString>("refusal"); // empty: the typed value is taken as new
    QTest::newRow("building locked") << false << true << true
                                     << "当前小区楼栋号已锁定，不支持添加新的楼栋号，请从已有的楼栋号中选择！";
    QTest::newRow("building without right") << false << false << false << "您没有新增楼栋号的权限，请联系管理员开通！";
    QTest::newRow("building added") << false << false << true << "";
    QTest::newRow("unit locked") << true << true << true
                                 << "当前小区单元号已锁定，不支持添加新的单元号，请从已有的单元号中选择！";
    QTest::newRow("unit without right") << true << false << false << "您没有新增单元号的权限，请联系管理员开通！";
    QTest::newRow("unit added") << true << false << true << "";
}

void TestChooserWizard::typedValueRefusals()
{
    QFETCH(bool, unitStep);
    QFETCH(bool, locked);
    QFETCH(bool, mayAdd);
    QFETCH(QString, refusal);
    TestUser user;
    if (mayAdd)
        user.grant(121);
    else
        user.withoutRights();
    HostFixture::signInAs(user);
    m_server.setReply(path(&Endpoints::house_jinggeng_getLocks), locks(locked && !unitStep, locked && unitStep));
    Wizard w;
    toUnitStep(&w);
    QTRY_COMPARE(unitStep ? w.isUnitLocked() : w.isBuildingLocked(), locked);
    if (!unitStep)
        QVERIFY(clickTile(&w, "nav_1"));
    const int step = w.currentPage();

    if (unitStep)
        w.unitPage()->addCustomTxt("9", "单元");
    else
        w.louDongPage()->addCustomTxt("9", "栋");
    if (!refusal.isEmpty()) {
        QTRY_COMPARE(m_alerts->texts(), QStringList{refusal});
        QCOMPARE(w.currentPage(), step);
        return;
    }
    QCOMPARE(w.currentPage(), step + 1);
    QCOMPARE(unitStep ? w.chosen().danYuan.name : w.chosen().louDong.name, unitStep ? "9单元" : "9栋");
    QVERIFY((unitStep ? w.chosen().danYuan.id : w.chosen().louDong.id).isEmpty());
    QCOMPARE(m_alerts->count(), 0);
}

void TestChooserWizard::laterStepsResetOnNewChoice()
{
    Wizard w;
    toUnitStep(&w);
    QVERIFY(clickTile(w.unitPage(), "danyuan_0"));
    QTRY_COMPARE(w.roomPage()->shownNames(), QStringList{"301"});
    QCOMPARE(m_server.requestsTo(path(&Endpoints::house_jinggeng_unitInfo)).value(0).form.value("unitid"),
             QStringLiteral("61"));
    QCOMPARE(navTexts(&w), (QStringList{"天鹅湖小区", "5栋", "2单元", "选择房号"}));

    // Back to the buildings through the navigation bar, another building.
    QVERIFY(clickTile(&w, "nav_1"));
    QCOMPARE(w.currentPage(), 1);
    QVERIFY(clickTile(w.louDongPage(), "loudong_1"));
    QCOMPARE(navTexts(&w), (QStringList{"天鹅湖小区", "6栋", "选择单元", "-"}));
    QVERIFY(w.chosen().danYuan.name.isEmpty() && w.chosen().room.name.isEmpty());
    QVERIFY(w.roomPage()->shownNames().isEmpty());
    QTRY_COMPARE(w.unitPage()->shownNames(), QStringList{"2单元"});
    QVERIFY(clickTile(w.unitPage(), "danyuan_0"));

    // Another community forgets building, unit and room.
    QVERIFY(clickTile(&w, "nav_0"));
    QVariantMap other = community(0, false);
    other.insert("name", "翡翠湖小区");
    w.hasChooseXiaoQu(other);
    QCOMPARE(navTexts(&w), (QStringList{"翡翠湖小区", "选择楼栋", "-", "-"}));
    QVERIFY(w.chosen().louDong.name.isEmpty() && w.chosen().danYuan.name.isEmpty());
    QVERIFY(w.unitPage()->shownNames().isEmpty() && w.roomPage()->shownNames().isEmpty());
    QVERIFY(!w.isBuildingLocked());
}

void TestChooserWizard::registerServesIntensiveFarmingBuilding()
{
    m_server.setReply(path(&Endpoints::house_jinggeng_loudongInfo),
                      ok(QJsonArray{QJsonObject{{"id", "41"}, {"name", "7栋"}, {"unit", "栋"}, {"jinggeng", 1}}}));
    m_server.setReply(path(&Endpoints::intensiveFarming_getUnitList),
                      ok(QJsonArray{QJsonObject{{"id", "u1"}, {"name", "1"}, {"unit", "单元"}}}));
    m_server.setReply(path(&Endpoints::intensiveFarming_getHouseList),
                      ok(QJsonArray{QJsonObject{{"id", 9}, {"name", "101"}, {"unitid", "u1"}, {"roomid", "r9"}}}));
    Wizard w;
    QSignalSpy done(&w, &Wizard::chooseSuccess);
    w.hasChooseXiaoQu(community(12, false));
    QTRY_COMPARE(w.louDongPage()->shownNames(), QStringList{"7栋"});
    QVERIFY(clickTile(w.louDongPage(), "loudong_0"));
    QTRY_COMPARE(w.unitPage()->shownNames(), QStringList{"1单元"});
    const auto unitAsk = m_server.requestsTo(path(&Endpoints::intensiveFarming_getUnitList));
    QCOMPARE(unitAsk.size(), 1);
    QCOMPARE(unitAsk.at(0).form.value("id"), QStringLiteral("41"));
    QCOMPARE(unitAsk.at(0).form.value("cityid"), QStringLiteral("340100"));
    QVERIFY(m_server.requestsTo(path(&Endpoints::house_jinggeng_danyuanInfo)).isEmpty());

    QVERIFY(clickTile(w.unitPage(), "danyuan_0"));
    QTRY_COMPARE(w.roomPage()->shownNames(), QStringList{"101"});
    const auto roomAsk = m_server.requestsTo(path(&Endpoints::intensiveFarming_getHouseList));
    QCOMPARE(roomAsk.value(0).form.value("id"), QStringLiteral("u1"));
    QCOMPARE(roomAsk.value(0).form.value("cityid"), QStringLiteral("340100"));
    QVERIFY(m_server.requestsTo(path(&Endpoints::house_jinggeng_unitInfo)).isEmpty());

    // A room the register lacks is refused; one it has is handed back with its register ids.
    w.roomPage()->addCustomTxt("888", QString());
    QTRY_COMPARE(m_alerts->texts(),
                 QStringList{"该楼栋号已开启精耕，您选中的房间号在精耕盘中不存在，请重新选择！"});
    QCOMPARE(done.count(), 0);
    QVERIFY(clickTile(w.roomPage(), "room_0"));
    QCOMPARE(done.count(), 1);
    const auto msg = done.at(0).at(0).value<Wizard::HouseMsg>();
    QCOMPARE(msg.room.unitId, QStringLiteral("u1"));
    QCOMPARE(msg.room.roomId, QStringLiteral("r9"));
    QCOMPARE(msg.louDong.name, QStringLiteral("7栋"));
    QCOMPARE(msg.community.value("name").toString(), QStringLiteral("天鹅湖小区"));
}

void TestChooserWizard::manualCommunityNeedsRight_data()
{
    QTest::addColumn<bool>("granted");
    QTest::newRow("with the right") << true;
    QTest::newRow("without") << false;
}

void TestChooserWizard::manualCommunityNeedsRight()
{
    QFETCH(bool, granted);
    TestUser user;
    if (granted)
        user.grant(18);
    else
        user.withoutRights();
    HostFixture::signInAs(user);
    Wizard w;
    w.resize(760, 560);
    w.show();
    w.xiaoQuPage()->setSearchText("新建小区");
    QVERIFY(clickTile(w.xiaoQuPage(), "pushButton_search"));
    QWidget *manual = nullptr;
    QTRY_VERIFY((manual = w.xiaoQuPage()->findChild<QWidget *>("xiaoqu_manual")));
    const auto asked = m_server.requestsTo(path(&Endpoints::house_xiaoqu_search)).value(0).form;
    QCOMPARE(asked.value("key"), QStringLiteral("新建小区"));
    QCOMPARE(asked.value("lianmai"), QStringLiteral("1"));

    QTest::mouseClick(manual, Qt::LeftButton);
    if (!granted) {
        QTRY_COMPARE(m_alerts->texts(),
                     QStringList{"您当前职位不支持录入新小区档案权限,如需添加请联系管理员！"});
        QCOMPARE(w.currentPage(), 0);
        return;
    }
    QCOMPARE(w.currentPage(), 1);
    QCOMPARE(w.chosen().community, (QVariantMap{{"name", "新建小区"}}));
    QCOMPARE(navTexts(&w), (QStringList{"新建小区", "选择楼栋", "-", "-"}));
}

void TestChooserWizard::failedBuildingListOffersRetry_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::newRow("not json") << RecordingServer::raw("<html>oops</html>");
    QTest::newRow("data is a number") << ok(42);
    QTest::newRow("server error") << RecordingServer::raw("", 500);
    QTest::newRow("connection dropped") << RecordingServer::dropped();
}

void TestChooserWizard::failedBuildingListOffersRetry()
{
    QFETCH(Reply, reply);
    m_server.queueReply(path(&Endpoints::house_jinggeng_loudongInfo), reply);
    Wizard w;
    w.hasChooseXiaoQu(community(0, false));
    QTRY_VERIFY(w.louDongPage()->errorText().startsWith(QStringLiteral("楼栋号列表加载失败：")));
    QVERIFY(!w.louDongPage()->isLoading());
    QVERIFY(w.louDongPage()->shownNames().isEmpty());
    QVERIFY(w.louDongPage()->findChild<QPushButton *>("loudong_add"));

    QVERIFY(clickTile(w.louDongPage(), "pushButton_retry"));
    QTRY_COMPARE(w.louDongPage()->shownNames(), QStringList{"7栋"});
    QVERIFY(w.louDongPage()->errorText().isEmpty());
}

void TestChooserWizard::failedSearchKeepsManualRow()
{
    m_server.queueReply(path(&Endpoints::house_xiaoqu_search), RecordingServer::raw("{\"code\":", 200));
    ChooseXiaoQuWidget page;
    page.setSearchText("天鹅");
    page.downloadXiaoQu();
    QTRY_VERIFY(page.errorText().startsWith(QStringLiteral("小区搜索失败：")));
    QVERIFY(page.findChild<QWidget *>("xiaoqu_manual"));

    m_server.queueReply(path(&Endpoints::house_xiaoqu_search),
                        ok(QJsonArray{QJsonObject{{"id", 1}, {"name", "天鹅湖小区"}, {"othername", "天鹅湖"},
                                                  {"housecount", "12"}, {"lianmai", 1}}}));
    QVERIFY(clickTile(&page, "pushButton_retry"));
    QTRY_COMPARE(page.communities().size(), 1);
    QVERIFY(page.errorText().isEmpty());
    auto *name = page.findChild<QWidget *>("xiaoqu_0")->findChild<QLabel *>("label_name");
    QVERIFY(name->text().startsWith(QStringLiteral("天鹅湖小区(天鹅湖)")));
    QVERIFY(name->text().contains(QStringLiteral("<img src=\":/res/lm_small.png\"/>")));
    QCOMPARE(page.findChild<QWidget *>("xiaoqu_0")->findChild<QLabel *>("label_count")->text(), QStringLiteral("12套"));

    // A click where the agent clicks, on the row's rich-text name, chooses the row.
    QSignalSpy chosen(&page, &ChooseXiaoQuWidget::chooseItem);
    page.resize(600, 400);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTest::mouseClick(page.window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      name->mapTo(page.window(), name->rect().center()));
    QTRY_COMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toMap().value("name").toString(), QStringLiteral("天鹅湖小区"));
}

void TestChooserWizard::communityOnlyEndsAfterFirstStep()
{
    Wizard w(nullptr, Wizard::CommunityOnly);
    QSignalSpy done(&w, &Wizard::chooseSuccess);
    QSignalSpy closed(&w, &Wizard::closeWidget);
    QCOMPARE(navTexts(&w), (QStringList{"选择小区", "-", "-", "-"}));
    w.hasChooseXiaoQu(community());
    QCOMPARE(done.count(), 1);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(done.at(0).at(0).value<Wizard::HouseMsg>().community.value("id").toInt(), 500);
    QCOMPARE(w.currentPage(), 0);
    QCOMPARE(m_server.requestCount(), 0);
}

// Units of a building the agent left are not shown under the building chosen after it.
void TestChooserWizard::lateUnitsOfEarlierBuildingIgnored()
{
    Reply late = ok(QJsonArray{QJsonObject{{"id", 1}, {"name", "旧"}, {"unit", "单元"}}});
    late.delayMs = 300;
    m_server.queueReply(path(&Endpoints::house_jinggeng_danyuanInfo), late);
    Wizard w;
    w.hasChooseXiaoQu(community());
    QVERIFY(clickTile(w.louDongPage(), "loudong_0"));
    QTRY_COMPARE(m_server.requestsTo(path(&Endpoints::house_jinggeng_danyuanInfo)).size(), 1);
    QVERIFY(clickTile(&w, "nav_1"));
    QVERIFY(clickTile(w.louDongPage(), "loudong_1"));
    QTRY_COMPARE(w.unitPage()->shownNames(), QStringList{"2单元"});

    auto *service = w.findChild<CommunityStructureService *>(QString(), Qt::FindDirectChildrenOnly);
    QTRY_VERIFY(service->findChildren<NetRequestObjecet *>().isEmpty());
    QCOMPARE(w.unitPage()->shownNames(), QStringList{"2单元"});
    QCOMPARE(w.chosen().louDong.id, QStringLiteral("32"));
}

QTEST_MAIN(TestChooserWizard)
#include "tst_chooserwizard.moc"
