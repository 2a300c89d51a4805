// The detail window inside its shell, against a recording server and a seeded local store:
// the view record and the server's two refusals, the refresh offer for a listing missing
// locally, the follow-up rule before leaving a listing (by mouse and by key), reloads on
// local changes, and assigning the listing to another entering agent.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/housebookcommunityhouselistwidget.h"
#include "detail/housedetailfirstpagewidget.h"
#include "detail/mysalehousedetailwidget.h"
#include "hostfixture.h"
#include "testuser.h"
#include "datacenter.h"
#include "listing.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "services/listingviewservice.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/jointsale_personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonObject>
#include <QSignalSpy>
#include <QPushButton>
#include <QtTest>

using Shell = HouseBookMessageDetailWidget;
using Window = MySaleHouseDetailWidget;
using FormMap = QMap<QString, QString>;
Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

constexpr int kPublic = 21;
constexpr int kPrivate = 22;
constexpr int kRent = 23;
constexpr int kWaiting = 24;
const QList<int> kIds{kPublic, kPrivate, kRent};

const QString kPrivateText = QStringLiteral("私盘房源设置了查看必跟进，请填写跟进后，再进行其他操作！");
const QString kPublicText = QStringLiteral("公盘房源设置了查看必跟进，请填写跟进后，再进行其他操作！");
const QString kFollowFirstText = QStringLiteral("您有房源尚查看后未跟进，请先跟进后再查看其它房源！");

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QString viewsPath() { return pathOf(Endpoints::instance().app_addviews); }
QString lockPath() { return pathOf(Endpoints::instance().app_addgenjinlimt); }
QString unlockPath() { return pathOf(Endpoints::instance().app_cleargenjinlimt); }
QString assignPath() { return pathOf(Endpoints::instance().app_LianmaiHouseFenpei); }

void seed()
{
    const QVariantMap enterer{{"name", "李四"}, {"phone", "13900000009"}, {"review", true},
                              {"companyid", 1001}, {"yonghuid", 77}};
    const QList<QVariantMap> records{Listing(kPublic).set("lururen", enterer).map(),
                                     Listing(kPrivate).set("stype", 1).map(), Listing(kRent).rent().map(),
                                     Listing(kWaiting).map()};
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false), records.size());
}

// A shell with its spies, showing the listings from position index once open() returns.
struct Opened
{
    Shell shell{nullptr, 1, 1};
    QSignalSpy pages{&shell, &Shell::pageChange};
    QSignalSpy closed{&shell, &Shell::closeWidget};
    Window *window = nullptr;

    bool open(int index)
    {
        shell.showHouseAt(index, kIds, false);
        window = QTest::qWaitFor([this] { return pages.count() > 0; }) ? shell.detailWindow() : nullptr;
        return window && window->firstPage();
    }
    HouseDetailFirstPageWidget *page() const { return window->firstPage(); }
};

} // namespace

class TestDetailWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void viewAnswers_data();
    void viewAnswers();
    void waitingIdFromReply_data();
    void waitingIdFromReply();
    void missingRecordOffersRefresh();
    void mustFollowBeforeLeaving_data();
    void mustFollowBeforeLeaving();
    void mustFollowBindsOnlyTheRevealedListing();
    void keysGoThroughTheRule_data();
    void keysGoThroughTheRule();
    void copyKeyCopiesNumber();
    void localChange_data();
    void localChange();
    void assignPostsFormAndRemembersPerson();
    void communityListingsOpenFromArchive();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestDetailWindow::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_addviews.startsWith(m_server.baseUrl()));
}

void TestDetailWindow::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    seed();
}

void TestDetailWindow::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

void TestDetailWindow::viewAnswers_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<RecordingServer::Reply>("reply");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("goTo");  // the listing "去跟进" opens; -1: no such box

    QTest::newRow("sale accepted") << 0 << RecordingServer::envelope(200, QJsonObject{{"id", 9}}) << false << -1;
    QTest::newRow("rent accepted") << 2 << RecordingServer::envelope(200, QJsonObject{{"id", 9}}) << false << -1;
    QTest::newRow("may not view") << 0 << RecordingServer::envelope(405, QJsonObject(), "无权查看该房源") << true << -1;
    QTest::newRow("follow up first, id in data") << 0
        << RecordingServer::envelope(128, QJsonObject{{"id", kWaiting}}, kFollowFirstText) << false << kWaiting;
    QTest::newRow("follow up first, id as text") << 0
        << RecordingServer::envelope(128, QJsonObject{{"id", "24"}}, kFollowFirstText) << false << kWaiting;
    QTest::newRow("follow up first, id in message") << 0
        << RecordingServer::envelope(128, QJsonArray{1, 2}, "房源24尚未跟进") << false << kWaiting;
    QTest::newRow("follow up first, no id anywhere") << 0
        << RecordingServer::envelope(128, "data", kFollowFirstText) << false << 0;
    QTest::newRow("follow up first, body not JSON") << 0 << RecordingServer::raw("{\"code\":128,", 200) << false << -1;
    QTest::newRow("server error") << 0 << RecordingServer::envelope(500, QJsonValue(), "服务器错误") << false << -1;
}

void TestDetailWindow::viewAnswers()
{
    QFETCH(int, index);
    QFETCH(RecordingServer::Reply, reply);
    QFETCH(bool, closes);
    QFETCH(int, goTo);
    reply.delayMs = 100;  // the spies below are in place before the answer
    m_server.queueReply(viewsPath(), reply);
    Opened o;
    QVERIFY(o.open(index));
    const QString id = QString::number(kIds.at(index));
    QCOMPARE(o.page()->record().id, id.toInt());  // shown before any answer
    QSignalSpy sent(o.window, &Window::loadHouseId);
    auto *views = o.window->findChild<ListingViewService *>();
    QSignalSpy viewed(views, &ListingViewService::viewed);
    QSignalSpy failed(views, &ListingViewService::viewFailed);
    QTRY_COMPARE(m_server.requestsTo(viewsPath()).size(), 1);
    QCOMPARE(m_server.requestsTo(viewsPath()).first().form,
             (FormMap{{"id", id}, {"type", index == 2 ? "2" : "1"}, {"lianmai", "1"}}));
    QVERIFY(HouseBookSet_SqlTable(nullptr, true).historyIds("readhistory").contains(id));
    if (closes) {
        QTRY_COMPARE(o.closed.count(), 1);
        QTRY_COMPARE(m_alerts->texts(), QStringList{"无权查看该房源"});  // the server's own words
        return;
    }
    if (goTo < 0) {
        QTRY_COMPARE(viewed.count() + failed.count(), 1);
        QCOMPARE(AlertRecorder::liveBoxes(), 0);
        QCOMPARE(o.closed.count(), 0);
        return;
    }
    QTRY_VERIFY(m_alerts->openBox());
    QCOMPARE(m_alerts->last().text, kFollowFirstText);
    QCOMPARE(m_alerts->last().buttons, QStringList{"去跟进"});
    m_alerts->openBox()->answer(AlertWidget::Know);
    QCOMPARE(sent.count(), goTo > 0 ? 1 : 0);  // nowhere to go: the box just closes
    if (goTo == 0)
        return;
    QCOMPARE(sent.first().first().toInt(), goTo);
    QTRY_COMPARE(o.pages.count(), 2);
    QCOMPARE(o.shell.ids(), QList<int>{goTo});
    QCOMPARE(o.window->record().id, goTo);
    QVERIFY(o.window->mustFollowActive());
}

void TestDetailWindow::waitingIdFromReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("id");
    QTest::newRow("number in data") << QByteArray(R"({"code":128,"data":{"id":77}})") << "" << 77;
    QTest::newRow("text in data") << QByteArray(R"({"code":128,"data":{"id":" 78 "}})") << "房源5" << 78;
    QTest::newRow("message when data has none") << QByteArray(R"({"code":128,"data":[]})") << "房源123456未跟进" << 123456;
    QTest::newRow("broken body") << QByteArray("{\"code\":") << "请先跟进8" << 8;
    QTest::newRow("nothing") << QByteArray(R"({"code":128})") << "请先跟进" << 0;
}

void TestDetailWindow::waitingIdFromReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, message);
    QFETCH(int, id);
    QCOMPARE(ListingViewService::waitingIdFrom(reply, message), id);
}

void TestDetailWindow::missingRecordOffersRefresh()
{
    Shell shell(nullptr, 1, 1);
    shell.showHouseId(999);
    QTRY_VERIFY(m_alerts->openBox());
    QCOMPARE(m_alerts->last().text, QStringLiteral("不能检索到该房源信息，您可以尝试刷新一下。"));
    QCOMPARE(m_alerts->last().buttons, (QStringList{"我知道了", "刷新"}));
    QCOMPARE(m_server.requestsTo(viewsPath()).size(), 0);
    // "刷新" has the store fetch the book; the waiting animation lasts until it has finished.
    auto *overlay = shell.detailWindow()->findChild<BusyOverlay *>();
    m_alerts->openBox()->answer(AlertWidget::Sure);
    QVERIFY(overlay->isRunning());
    QTRY_VERIFY(!overlay->isRunning());
    QVERIFY(!m_server.requestsTo(pathOf(Endpoints::instance().app_LianmaiSyncHousebook)).isEmpty());
}

void TestDetailWindow::mustFollowBeforeLeaving_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<bool>("manager");
    QTest::addColumn<QString>("refusal");  // empty: the agent may leave

    QTest::newRow("public listing, public rule") << 0 << QList<int>{30} << false << kPublicText;
    QTest::newRow("private listing, private rule") << 1 << QList<int>{33} << false << kPrivateText;
    QTest::newRow("rent listing, both rules") << 2 << QList<int>{30, 33} << false << kPublicText;
    QTest::newRow("private listing, public rule only") << 1 << QList<int>{30} << false << QString();
    QTest::newRow("public listing, private rule only") << 0 << QList<int>{33} << false << QString();
    QTest::newRow("joint-sale manager") << 0 << QList<int>{30, 33} << true << QString();
}

void TestDetailWindow::mustFollowBeforeLeaving()
{
    QFETCH(int, index);
    QFETCH(QList<int>, rights);
    QFETCH(bool, manager);
    QFETCH(QString, refusal);
    HostFixture::signInAs(TestUser().grant(rights).jointSaleManager(manager));
    m_alerts->answerWith(AlertWidget::Know);
    Opened o;
    QVERIFY(o.open(index));
    // Revealing key information raises the rule without a word.
    emit o.page()->watchKeyMessage();
    QVERIFY(o.window->mustFollowActive());
    QTRY_COMPARE(m_server.requestsTo(refusal.isEmpty() ? unlockPath() : lockPath()).size(), 1);
    if (!refusal.isEmpty()) {
        QCOMPARE(m_server.requestsTo(lockPath()).first().form,
                 (FormMap{{"id", QString::number(kIds.at(index))}, {"type", index == 2 ? "2" : "1"}, {"lianmai", "1"}}));
        o.window->loadNextPage();
        o.window->closeThisWidget();
        QTRY_COMPARE(m_alerts->texts(), (QStringList{refusal, refusal}));
        QCOMPARE(o.closed.count() + o.pages.count(), 1);
        QTRY_COMPARE(m_server.requestsTo(lockPath()).size(), 3);
        QCOMPARE(m_server.requestsTo(unlockPath()).size(), 0);
        // Once followed up, the agent may go; the server lifts its lock.
        emit o.page()->followSuccess();
    }
    QCOMPARE(m_alerts->texts().size(), refusal.isEmpty() ? 0 : 2);
    const int unlocks = m_server.requestsTo(unlockPath()).size();
    o.window->closeThisWidget();
    QCOMPARE(o.closed.count(), 1);
    QTRY_COMPARE(m_server.requestsTo(unlockPath()).size(), unlocks + 1);
    QCOMPARE(m_server.requestsTo(unlockPath()).last().form, (FormMap{{"lianmai", "1"}}));
}

// Another listing starts free of the rule (the one "去跟进" opens does not: see viewAnswers).
void TestDetailWindow::mustFollowBindsOnlyTheRevealedListing()
{
    HostFixture::signInAs(TestUser().grant(30));
    Opened o;
    QVERIFY(o.open(0));
    emit o.page()->watchKeyMessage();
    emit o.page()->followSuccess();
    o.window->loadNextPage();
    QTRY_COMPARE(o.pages.count(), 2);
    QVERIFY(!o.window->mustFollowActive());
    o.window->closeThisWidget();
    QCOMPARE(o.closed.count(), 1);
}

void TestDetailWindow::keysGoThroughTheRule_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("index");  // expected position after the key; -1: closed

    QTest::newRow("Alt+Right") << int(Qt::Key_Right) << int(Qt::AltModifier) << 2;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << int(Qt::NoModifier) << 2;
    QTest::newRow("Alt+Left") << int(Qt::Key_Left) << int(Qt::AltModifier) << 0;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << int(Qt::NoModifier) << 0;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier) << -1;
}

void TestDetailWindow::keysGoThroughTheRule()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, index);
    HostFixture::signInAs(TestUser().grant(33));
    m_alerts->answerWith(AlertWidget::Know);
    Opened o;
    QVERIFY(o.open(1));
    emit o.page()->watchKeyMessage();
    QTest::keyClick(o.window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(m_alerts->texts(), QStringList{kPrivateText});
    QCOMPARE(o.closed.count() + o.pages.count(), 1);

    emit o.page()->followSuccess();
    QTest::keyClick(o.window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(o.closed.count(), index < 0 ? 1 : 0);
    if (index >= 0) {
        QTRY_COMPARE(o.pages.count(), 2);
        QCOMPARE(o.shell.index(), index);
    }
}

void TestDetailWindow::copyKeyCopiesNumber()
{
    Opened o;
    QVERIFY(o.open(2));
    QApplication::clipboard()->clear();
    QTest::keyClick(o.window, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("23"));
}

void TestDetailWindow::localChange_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("reloads");
    QTest::newRow("every listing") << QVariant(QStringList()) << true;
    QTest::newRow("the shown one among others") << QVariant(QStringList{"5", "22"}) << true;
    QTest::newRow("another listing") << QVariant(QStringList{"21", "222"}) << false;
    QTest::newRow("not a list") << QVariant(22) << false;
    QTest::newRow("nothing") << QVariant() << false;
}

void TestDetailWindow::localChange()
{
    QFETCH(QVariant, value);
    QFETCH(bool, reloads);
    Opened o;
    QVERIFY(o.open(1));
    QSignalSpy refresh(o.window, &Window::refreshBaseMessage);
    CommonSignalTool::Instance()->send_localHouseChange(value);
    QCOMPARE(refresh.count(), reloads ? 1 : 0);
    if (reloads) {
        QTRY_COMPARE(o.pages.count(), 2);
        QCOMPARE(o.shell.index(), 1);
        QVERIFY(o.window->refreshed());
    }
}

void TestDetailWindow::assignPostsFormAndRemembersPerson()
{
    Opened o;
    QVERIFY(o.open(0));
    emit o.page()->fenPei();
    auto *popup = o.window->findChild<CommonAddWidget *>();
    QCOMPARE(popup->title(), QStringLiteral("选择要指定的录入人"));
    auto *chooser = popup->findChild<JointSale_PersonOrDepartmentChooseWidget *>();
    QVERIFY(chooser->chosen().isEmpty());
    const QVariantMap person{{"id", 5003}, {"name", "王强"}, {"phone", "13800000003"}, {"companyid", 9002},
                             {"storename", "天鹅湖店"}, {"companyname", "安家房产"}};
    emit chooser->backSingleChoose(person);
    QTRY_VERIFY(m_alerts->openBox());
    QCOMPARE(m_alerts->last().text, QStringLiteral("你确定要将该房源分配给安家房产-天鹅湖店-王强<13800000003>吗？"));
    QVERIFY(m_alerts->last().buttons.contains("分配"));
    auto *overlay = o.window->findChild<BusyOverlay *>();
    m_alerts->openBox()->answer(AlertWidget::Sure);
    QVERIFY(overlay->isRunning());
    QTRY_VERIFY(!overlay->isRunning());
    QCOMPARE(m_server.requestsTo(assignPath()).size(), 1);
    QCOMPARE(m_server.requestsTo(assignPath()).first().form,
             (FormMap{{"companyid", "1001"}, {"yonghuid", "77"}, {"id", "21"}, {"ncompanyid", "9002"},
                      {"nuserid", "5003"}, {"lianmai", "1"}}));
    // The next assignment starts from the person chosen last.
    emit o.page()->fenPei();
    QTRY_COMPARE(o.window->findChildren<JointSale_PersonOrDepartmentChooseWidget *>().size(), 1);
    chooser = o.window->findChild<JointSale_PersonOrDepartmentChooseWidget *>();
    QCOMPARE(chooser->chosen().size(), 1);
    QCOMPARE(chooser->chosen().first().value("id").toInt(), 5003);
}

// The archive tab leads to the community's other listings; the sale listings of the shown
// one's community are listed, the rent listing is not.
void TestDetailWindow::communityListingsOpenFromArchive()
{
    m_host->signInAs(TestUser().jointSaleManager());  // sees every listing of the book
    // The alliance's book holds listings under the alliance's company.
    QList<QVariantMap> records;
    for (const Listing &l : {Listing(kPublic), Listing(kPrivate), Listing(kRent).rent()})
        records << Listing(l).set("companyid", DataCenter::JointSaleCompanyId).map();
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false), records.size());
    Opened o;
    QVERIFY(o.open(0));
    o.window->findChild<QPushButton *>(QStringLiteral("thirdPagePushButton"))->click();
    auto *button = o.window->findChild<QPushButton *>(QStringLiteral("communityListingsButton"));
    QVERIFY(button);
    button->click();
    auto *list = o.window->findChild<HouseBookCommunityHouseListWidget *>();
    QVERIFY(list);
    QList<int> ids;
    for (HouseBookCommunityHouseListItemView *row : list->rows())
        ids << row->houseId();
    QVERIFY(ids.contains(kPublic));
    QVERIFY(ids.contains(kPrivate));
    QVERIFY(!ids.contains(kRent));
}

QTEST_MAIN(TestDetailWindow)
#include "tst_detailwindow.moc"
