// The team cooperation page of a listing: which buttons each role row offers to whom, what
// each button refuses or opens, the requests of handing over, picking up and releasing a role,
// the history's paging and the office approval library.
#include "alertrecorder.h"
#include "detail/housedetailfirstpagewidget.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "separation/housebookdetailseperateitemview.h"
#include "separation/housebookdetailseperatewidget.h"
#include "separation/houseseperatejubaowidget.h"
#include "separation/houseseperatemessagedetailwidget.h"
#include "separation/houseseperateoperatehistorylistwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include "widgets/loadfailureview.h"

#include <QtTest>

using Row = HouseBookSeperateList_Model::ItemData;
using House = HouseMessage_DataSqlTable::HouseMessageData;
using Page = HouseBookDetailSeperateWidget;
using FormMap = QMap<QString, QString>;

namespace {

constexpr int kHouse = 31;
const QVariantMap kPerson{{"id", 501}, {"name", "王五"}, {"phone", "13900000005"}, {"companyid", 9002}};

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

House house(int id = kHouse)
{
    House h;
    h.id = id;
    h.name = QStringLiteral("天鹅湖小区");
    h.deptid = 10;
    h.companyid = 9001;
    h.lururen.data = {{"companyid", 1001}, {"yonghuid", 70}};
    h.weihuren.data = {{"companyid", 1003}, {"yonghuid", 71}};
    return h;
}

Row row(int type, bool holder, bool own = false, int state = 0, const QString &spId = QString())
{
    Row r;
    r.id = holder || state ? QStringLiteral("8%1").arg(type) : QString();
    r.type = type;
    r.title = HouseBookSeperateList_Model::roleName(type);
    r.state = state;
    r.own = own;
    r.detailinfo.sp_id = spId;
    if (holder) {
        r.phone = QStringLiteral("13900000007");
        r.info.name = QStringLiteral("赵六");
        r.info.userId = QStringLiteral("77");
    }
    return r;
}

void signIn(const QList<int> &rights, bool manager = false)
{
    TestUser user;
    user.jointSaleManager(manager);
    if (rights.isEmpty())
        user.withoutRights();
    else
        user.grant(rights, 1);
    HostFixture::signInAs(user);
}

} // namespace

class TestSeperatePage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rowButtonsFollowKindHolderAndRights_data();
    void rowButtonsFollowKindHolderAndRights();
    void stateAndCodes_data();
    void stateAndCodes();
    void evidenceOnlyByHolder_data();
    void evidenceOnlyByHolder();
    void detailAndReviewRefusals();
    void reportAndReleaseNeedHolder();
    void assignPostsPerKind_data();
    void assignPostsPerKind();
    void pickUpAndReleasePostReloadAndSync();
    void historyPagesStopAtTheEnds();
    void officeReviewAsksFirst_data();
    void officeReviewAsksFirst();
    void officeAssignGoesThroughApproval();
    void reviewLibraryMissing_data();
    void reviewLibraryMissing();
    void ruleButton();
    void teamTabLoadsShownListing();
    void failedListSaysSoAndRetries_data();
    void failedListSaysSoAndRetries();

private:
    QList<RecordingServer::Request> waitFor(const QString &url, int count = 1);
    Page *newPage();
    CommonAddWidget *waitForPopup(int count = 1);
    void answerSure(int boxes);
    void replyRows(const QList<Row> &rows);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestSeperatePage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().fd_LianmaiPosts.startsWith(m_server.baseUrl()));
}

void TestSeperatePage::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    m_server.setReply(pathOf(Endpoints::instance().fd_LianmaiPosts),
                      RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray()}}));
}

void TestSeperatePage::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

QList<RecordingServer::Request> TestSeperatePage::waitFor(const QString &url, int count)
{
    const QString path = pathOf(url);
    if (!QTest::qWaitFor([&] { return m_server.requestsTo(path).size() >= count; }))
        qWarning() << "no request to" << path;
    return m_server.requestsTo(path);
}

Page *TestSeperatePage::newPage()
{
    auto *page = new Page(m_host->mainWindow());
    page->setReviewLibrary(QStringLiteral("qx_reviewBook.dll"));
    return page;
}

CommonAddWidget *TestSeperatePage::waitForPopup(int count)
{
    QWidget *main = m_host->mainWindow();
    if (!QTest::qWaitFor([&] { return main->findChildren<CommonAddWidget *>().size() >= count; }))
        return nullptr;
    return main->findChildren<CommonAddWidget *>().last();
}

void TestSeperatePage::answerSure(int boxes)
{
    QTRY_COMPARE(m_alerts->count(), boxes);
    QTRY_VERIFY(m_alerts->openBox());
    m_alerts->openBox()->answer(AlertWidget::Sure);
}

void TestSeperatePage::replyRows(const QList<Row> &rows)
{
    QJsonArray list;
    for (const Row &r : rows) {
        list.append(QJsonObject{{"id", r.id},
                                {"type", r.type},
                                {"title", r.title},
                                {"state", r.state},
                                {"phone", r.phone},
                                {"own", r.own ? 1 : 0},
                                {"info", QJsonObject{{"name", r.info.name}, {"userid", r.info.userId}}},
                                {"detailinfo", QJsonObject{{"heyancode", r.detailinfo.heyancode},
                                                           {"weituocode", r.detailinfo.weituocode},
                                                           {"sp_id", r.detailinfo.sp_id}}}});
    }
    m_server.setReply(pathOf(Endpoints::instance().fd_LianmaiPosts),
                      RecordingServer::envelope(200, QJsonObject{{"list", list}}));
}

void TestSeperatePage::rowButtonsFollowKindHolderAndRights_data()
{
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<bool>("manager");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("holder");
    QTest::addColumn<QStringList>("buttons");
    const QList<int> none{7};
    const QList<int> both{149, 151};
    QTest::newRow("entry, no rights") << none << false << 0 << false << QStringList{"编辑", "查看详情"};
    QTest::newRow("entry, assign right") << QList<int>{149} << false << 0 << true << QStringList{"编辑", "查看详情", "分配"};
    QTest::newRow("maintenance free") << both << false << 1 << false << QStringList{"分配", "拣入"};
    QTest::newRow("maintenance held, release right") << QList<int>{151} << false << 1 << true << QStringList{"解除"};
    QTest::newRow("commission held") << both << false << 2 << true << QStringList{"上传文件", "编辑", "分配", "解除"};
    QTest::newRow("commission free: nothing to release") << both << false << 2 << false
                                                         << QStringList{"上传文件", "编辑", "分配"};
    QTest::newRow("survey, no rights") << none << false << 3 << true << QStringList{"上传图片", "编辑"};
    QTest::newRow("keys held, release right only") << QList<int>{151} << false << 4 << true
                                                   << QStringList{"录入钥匙", "编辑", "解除"};
    QTest::newRow("exclusive, manager") << QList<int>() << true << 5 << true
                                        << QStringList{"上传文件", "编辑", "查看详情", "分配", "解除"};
    QTest::newRow("deal, assign right") << QList<int>{149} << false << 6 << true << QStringList{"录入合同", "编辑", "分配"};
}

void TestSeperatePage::rowButtonsFollowKindHolderAndRights()
{
    QFETCH(QList<int>, rights);
    QFETCH(bool, manager);
    QFETCH(int, type);
    QFETCH(bool, holder);
    QFETCH(QStringList, buttons);
    signIn(rights, manager);
    replyRows({row(type, holder)});
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    QTRY_COMPARE(page->rows().size(), 1);
    HouseBookDetailSeperateItemView *view = page->rows().first();
    QCOMPARE(view->buttonTexts(), buttons);
    QCOMPARE(view->findChild<QLabel *>("label_title")->text(), HouseBookSeperateList_Model::roleName(type));
    // Only the entry row names its missing holder.
    if (!holder)
        QCOMPARE(view->findChild<QLabel *>("label_name")->isVisibleTo(view), type == 0);
    if (!holder && type == 0)
        QCOMPARE(view->findChild<QLabel *>("label_name")->text(), QStringLiteral("暂无"));
}

void TestSeperatePage::stateAndCodes_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("spId");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colour");
    QTest::newRow("none") << 0 << "" << "" << "";
    QTest::newRow("waiting") << 1 << "0" << "等待审核" << "rgb(224,165,22)";
    QTest::newRow("waiting in the office flow") << 1 << "12" << "等待OA审核" << "rgb(224,165,22)";
    QTest::newRow("approved") << 2 << "" << "已审核" << "rgb(52,133,234)";
    QTest::newRow("refused") << 3 << "" << "已驳回" << "border:1px solid rgb(151,151,151)";
}

void TestSeperatePage::stateAndCodes()
{
    QFETCH(int, state);
    QFETCH(QString, spId);
    QFETCH(QString, text);
    QFETCH(QString, colour);
    HouseBookDetailSeperateItemView view;
    Row r = row(2, true, true, state, spId);
    r.detailinfo.heyancode = QStringLiteral("HY01");
    r.detailinfo.weituocode = QStringLiteral("WT02");
    view.setTypeAndStatu(r, house());
    auto *label = view.findChild<QPushButton *>("pushButton_state");
    QCOMPARE(label->isVisibleTo(&view), !text.isEmpty());
    QCOMPARE(label->text(), text);
    QVERIFY(label->styleSheet().contains(colour));

    // Only a waiting state is a button.
    QSignalSpy clicks(&view, &HouseBookDetailSeperateItemView::clickBtn);
    label->click();
    QCOMPARE(clicks.size(), state == 1 ? 1 : 0);

    QCOMPARE(view.findChild<QLabel *>("label_heyanCode")->text(), QStringLiteral("核验码：HY01"));
    QCOMPARE(view.findChild<QLabel *>("label_weituoCode")->text(), QStringLiteral("委托码：WT02"));
    view.findChild<QPushButton *>("pushButton_copyWeituo")->click();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("WT02"));
    view.findChild<QPushButton *>("pushButton_copyHeyan")->click();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("HY01"));
    QTRY_COMPARE(m_alerts->texts(), (QStringList{"委托码复制成功", "核验码复制成功"}));
}

void TestSeperatePage::evidenceOnlyByHolder_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("title");
    QTest::newRow("commission") << 2 << "上传文件" << "您不是委托人无法重新上传文件！" << "录入委托信息";
    QTest::newRow("commission edit") << 2 << "编辑" << "您不是委托人无法重新上传文件！" << "修改委托信息";
    QTest::newRow("keys") << 4 << "录入钥匙" << "您不是钥匙人无法重新录入钥匙！" << "录入钥匙";
    QTest::newRow("exclusive") << 5 << "上传文件" << "您不是独家代理人无法重新上传文件！" << "录入独家代理信息";
    QTest::newRow("deal") << 6 << "编辑" << "您不是成交人无法重新录入合同！" << "录入成交信息";
}

void TestSeperatePage::evidenceOnlyByHolder()
{
    QFETCH(int, type);
    QFETCH(QString, button);
    QFETCH(QString, refusal);
    QFETCH(QString, title);
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    page->operate(row(type, true, false), button);
    QTRY_COMPARE(m_alerts->texts(), QStringList{refusal});
    QVERIFY(m_host->mainWindow()->findChildren<CommonAddWidget *>().isEmpty());

    // The holder, and anyone while nobody holds the role, opens the form.
    page->operate(row(type, true, true), button);
    CommonAddWidget *popup = waitForPopup();
    QVERIFY(popup);
    QCOMPARE(popup->title(), title);
    page->operate(row(type, false), QStringLiteral("编辑"));
    QVERIFY(waitForPopup(2));
    QCOMPARE(m_alerts->count(), 1);

    // A stored form closes its window and the page shows the change.
    const int loads = m_server.requestsTo(pathOf(Endpoints::instance().fd_LianmaiPosts)).size();
    QPointer<CommonAddWidget> first(popup);
    QMetaObject::invokeMethod(popup->contentWidget(), "submitSuccess");
    QTRY_VERIFY(first.isNull());
    waitFor(Endpoints::instance().fd_LianmaiPosts, loads + 1);
    QCOMPARE(waitFor(Endpoints::instance().app_SyncHousebookDetail).first().form.value("id"), QString::number(kHouse));
}

void TestSeperatePage::detailAndReviewRefusals()
{
    signIn({7});
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    page->operate(row(5, false), QStringLiteral("查看详情"));
    page->operate(row(2, true, false, 1), QStringLiteral("等待审核"));
    QTRY_COMPARE(m_alerts->texts(), (QStringList{"当前项无详情内容！", "您没有审核权限，如有需要请联系管理员！"}));
    QVERIFY(m_host->mainWindow()->findChildren<CommonAddWidget *>().isEmpty());

    signIn({99});
    page->operate(row(2, true, false, 1), QStringLiteral("等待审核"));
    CommonAddWidget *popup = waitForPopup();
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("查看详情"));
    QVERIFY(qobject_cast<HouseSeperateMessageDetailWidget *>(popup->contentWidget()));
    QPointer<CommonAddWidget> guard(popup);
    emit qobject_cast<HouseSeperateMessageDetailWidget *>(popup->contentWidget())->refreshListAndClose();
    QTRY_VERIFY(guard.isNull());
    QVERIFY(!waitFor(Endpoints::instance().app_SyncHousebookDetail).isEmpty());
}

void TestSeperatePage::reportAndReleaseNeedHolder()
{
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    waitFor(Endpoints::instance().fd_LianmaiPosts);
    m_server.clearRequests();
    page->operate(row(3, false), QStringLiteral("举报"));
    page->operate(row(3, false), QStringLiteral("解除"));
    QTRY_COMPARE(m_alerts->texts(), (QStringList{"当前无操作人，不支持举报！", "当前无操作人，不支持移除！"}));
    QCOMPARE(m_server.requestCount(), 0);

    // The row menu reaches the same place.
    HouseBookDetailSeperateItemView view;
    view.setTypeAndStatu(row(3, true), house());
    view.showMenu();
    QStringList items;
    for (QAction *action : view.menu()->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{"编辑", "查看详情", "操作记录", "举报"}));

    page->operate(row(3, true), QStringLiteral("举报"));
    CommonAddWidget *popup = waitForPopup();
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("举报"));
    QPointer<CommonAddWidget> guard(popup);
    emit qobject_cast<HouseSeperateJuBaoWidget *>(popup->contentWidget())->operateSuccess();
    QTRY_VERIFY(guard.isNull());
    QTRY_COMPARE(m_alerts->last().text, QStringLiteral("举报成功！"));
}

void TestSeperatePage::assignPostsPerKind_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("question");
    QTest::addColumn<FormMap>("form");
    QTest::newRow("entry") << 0 << Endpoints::instance().app_LianmaiHouseFenpei << "选择要指定的录入人"
                           << "你确定要将该房源的录入人分配给王五<13900000005>吗？"
                           << FormMap{{"companyid", "1001"}, {"yonghuid", "77"}, {"id", "31"},
                                      {"ncompanyid", "9002"}, {"nuserid", "501"}, {"lianmai", "1"}};
    QTest::newRow("maintenance") << 1 << Endpoints::instance().fd_LianmaiChangeWeihuren << "选择要指定的维护人"
                                 << "你确定要将该房源的维护人分配给王五<13900000005>吗？"
                                 << FormMap{{"companyid", "1003"}, {"yonghuid", "77"}, {"id", "31"},
                                            {"ncompanyid", "9002"}, {"nuserid", "501"}, {"lianmai", "1"}};
    QTest::newRow("keys") << 4 << Endpoints::instance().fd_Changeoperator << "选择要指定的钥匙人"
                          << "你确定要将该房源的钥匙人分配给王五<13900000005>吗？"
                          << FormMap{{"type", "4"}, {"houseid", "31"}, {"xiezuoid", "84"}, {"userid", "501"}, {"lianmai", "1"}};
    QTest::newRow("deal without entry") << 6 << Endpoints::instance().fd_Changeoperator << "选择要指定的成交人"
                                        << "你确定要将该房源的成交人分配给王五<13900000005>吗？"
                                        << FormMap{{"type", "6"}, {"houseid", "31"}, {"xiezuoid", "0"}, {"userid", "501"}, {"lianmai", "1"}};
}

void TestSeperatePage::assignPostsPerKind()
{
    QFETCH(int, type);
    QFETCH(QString, url);
    QFETCH(QString, title);
    QFETCH(QString, question);
    QFETCH(FormMap, form);
    signIn({149});
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    waitFor(Endpoints::instance().fd_LianmaiPosts);
    const Row target = row(type, type != 6);
    page->operate(target, QStringLiteral("分配"));
    CommonAddWidget *popup = waitForPopup();
    QVERIFY(popup);
    QCOMPARE(popup->title(), title);
    auto *chooser = qobject_cast<PersonOrDepartmentChooseWidget *>(popup->contentWidget());
    QVERIFY(chooser);
    QVERIFY(chooser->chosen().isEmpty());
    emit chooser->backSingleChoose(kPerson);
    answerSure(1);
    QCOMPARE(m_alerts->last().text, question);
    const auto sent = waitFor(url);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().form, form);
    // The page shows the new holder and the local store fetches the listing.
    waitFor(Endpoints::instance().fd_LianmaiPosts, 2);
    QCOMPARE(waitFor(Endpoints::instance().app_SyncHousebookDetail).first().form.value("id"), QStringLiteral("31"));

    // The next chooser, on any listing, starts on the person chosen.
    page->operate(target, QStringLiteral("分配"));
    popup = waitForPopup(1);
    chooser = qobject_cast<PersonOrDepartmentChooseWidget *>(popup->contentWidget());
    QVERIFY(chooser);
    QCOMPARE(chooser->chosen().value(0).value("id").toInt(), 501);
}

void TestSeperatePage::pickUpAndReleasePostReloadAndSync()
{
    signIn({151});
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    waitFor(Endpoints::instance().fd_LianmaiPosts);
    auto *overlay = page->findChild<BusyOverlay *>();

    page->operate(row(1, false), QStringLiteral("拣入"));
    answerSure(1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("您确定要拣入该房源成为该房源的维护人吗？"));
    QCOMPARE(waitFor(Endpoints::instance().fd_hbweihuren).first().form, (FormMap{{"itemid", "31"}, {"lianmai", "1"}}));
    QCOMPARE(overlay->text(), QStringLiteral("成为维护人..."));
    waitFor(Endpoints::instance().fd_LianmaiPosts, 2);
    QCOMPARE(waitFor(Endpoints::instance().app_SyncHousebookDetail).size(), 1);

    page->operate(row(4, true), QStringLiteral("解除"));
    answerSure(2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("您确定解除该项操作人吗？"));
    QCOMPARE(waitFor(Endpoints::instance().fd_JieChu).first().form,
             (FormMap{{"type", "4"}, {"id", "84"}, {"itemid", "31"}, {"lianmai", "1"}}));
    QCOMPARE(overlay->text(), QStringLiteral("解除中..."));
    waitFor(Endpoints::instance().fd_LianmaiPosts, 3);
    QCOMPARE(waitFor(Endpoints::instance().app_SyncHousebookDetail, 2).size(), 2);
    QTRY_VERIFY(!overlay->isRunning());
}

void TestSeperatePage::historyPagesStopAtTheEnds()
{
    QJsonArray lines;
    for (int i = 0; i < 20; ++i)
        lines.append(QJsonObject{{"author", "张三"}, {"content", QStringLiteral("分配给李四%1").arg(i)}, {"time", "2024-05-01"}});
    const QString path = pathOf(Endpoints::instance().fd_fendanrecord);
    m_server.setReply(path, RecordingServer::envelope(200, QJsonObject{{"list", lines}, {"total", "25"}}));
    HouseSeperateOperateHistoryListWidget history(QStringLiteral("88"));
    QTRY_COMPARE(history.lines().size(), 20);
    QCOMPARE(history.lines().first(), QStringLiteral("张三：分配给李四02024-05-01"));
    QCOMPARE(m_server.requestsTo(path).first().form,
             (FormMap{{"id", "88"}, {"pageindex", "1"}, {"pagesize", "20"}, {"lianmai", "1"}}));

    history.lastPage();
    QTRY_COMPARE(m_alerts->texts(), QStringList{"当前已经是第一页了，无法向上翻页了！"});
    history.nextPage();
    QCOMPARE(waitFor(Endpoints::instance().fd_fendanrecord, 2).at(1).form.value("pageindex"), QStringLiteral("2"));
    QTRY_COMPARE(history.page(), 2);
    history.nextPage();
    QTRY_COMPARE(m_alerts->count(), 2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("当前已经是最后一页了，无法向下翻页了！"));
    QCOMPARE(m_server.requestsTo(path).size(), 2);
}

void TestSeperatePage::officeReviewAsksFirst_data()
{
    QTest::addColumn<int>("canCheck");
    QTest::newRow("denied") << 0;
    QTest::newRow("allowed") << 1;
}

void TestSeperatePage::officeReviewAsksFirst()
{
    QFETCH(int, canCheck);
    const QString path = pathOf(Endpoints::instance().apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck);
    m_server.setReply(path, RecordingServer::envelope(200, QJsonObject{{"cancheck", canCheck}}));
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    page->operate(row(0, true, false, 1, QStringLiteral("12")), QStringLiteral("等待OA审核"));
    const auto sent = waitFor(Endpoints::instance().apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck);
    QCOMPARE(sent.first().form.value("record_id"), QStringLiteral("12"));
    QCOMPARE(sent.first().form.value("user_id"), QStringLiteral("501"));
    QVERIFY(sent.first().form.contains("store_id") && sent.first().form.contains("role_id"));
    if (canCheck == 0) {
        QTRY_COMPARE(m_alerts->texts(), QStringList{"您没有权限审核该OA申请！"});
        return;
    }
    QDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = m_host->mainWindow()->findChild<QDialog *>("reviewDetailDialog")));
    // The approval library's decision posts the record's approval.
    dialog->findChild<QPushButton *>("reviewApprove")->click();
    const auto checks = waitFor(m_server.url("/help/apiv3_0_2/ArApplyRecordCtr/check"));
    QCOMPARE(checks.first().form.value("record_id"), QStringLiteral("12"));
    QCOMPARE(checks.first().form.value("state"), QStringLiteral("1"));
    QCOMPARE(m_alerts->count(), 0);
}

void TestSeperatePage::officeAssignGoesThroughApproval()
{
    signIn({149});
    const QString apply = QStringLiteral("/help/apiv3_0_2/ArApplyRecordCtr/apply");
    m_server.setReply(apply, RecordingServer::envelope(200, QJsonObject{{"record_id", 9}}));
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    waitFor(Endpoints::instance().fd_LianmaiPosts);
    page->operate(row(0, true, false, 2, QStringLiteral("5")), QStringLiteral("分配"));
    CommonAddWidget *popup = waitForPopup();
    QVERIFY(popup);
    emit qobject_cast<PersonOrDepartmentChooseWidget *>(popup->contentWidget())->backSingleChoose(kPerson);
    answerSure(1);
    QDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = m_host->mainWindow()->findChild<QDialog *>("reviewStepDialog")));
    QVERIFY(dialog->findChild<QLabel *>("reviewContent")->text().startsWith(
        QStringLiteral("修改房源【天鹅湖小区】的录入人为【王五】需要进行审批，审批")));
    dialog->findChild<QPushButton *>("reviewSubmit")->click();
    const FormMap form = waitFor(m_server.url(apply)).first().form;
    for (const auto &key : {"house_book_id", "xiaoquname", "yonghuid", "userid", "name", "username", "tag_id", "pro_id"})
        QVERIFY2(form.contains(QLatin1String(key)), key);
    QCOMPARE(form.value("house_book_id"), QStringLiteral("31"));
    QCOMPARE(form.value("userid"), QStringLiteral("501"));
    QCOMPARE(form.value("yonghuid"), QStringLiteral("77"));
    QCOMPARE(form.value("pro_id"), QStringLiteral("5"));
    // Filed: the page reloads; the holder itself changes only once approved.
    waitFor(Endpoints::instance().fd_LianmaiPosts, 2);
    QVERIFY(m_server.requestsTo(pathOf(Endpoints::instance().app_LianmaiHouseFenpei)).isEmpty());
}

void TestSeperatePage::reviewLibraryMissing_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("message");
    QTest::newRow("library") << "qx_noReviewHere.dll" << "缺少<qx_noReviewHere>组件！";
    QTest::newRow("entry") << "qx_testsibling.dll" << "loadReviewDetail 导出失败！";
}

void TestSeperatePage::reviewLibraryMissing()
{
    QFETCH(QString, library);
    QFETCH(QString, message);
    QScopedPointer<Page> page(newPage());
    page->setReviewLibrary(library);
    page->checkUserIsOAReviewPeopleResult(true);
    QTRY_COMPARE(m_alerts->texts(), QStringList{message});
    QVERIFY(!m_host->mainWindow()->findChild<QDialog *>());
}

void TestSeperatePage::ruleButton()
{
    signIn({7});
    QScopedPointer<Page> page(newPage());
    House h = house();
    page->setHouse(h);
    page->findChild<QPushButton *>("pushButton_rule")->click();
    h.sf = 1;
    page->setHouse(h);
    QVERIFY(page->findChild<QLabel *>("label_unsupported")->isVisibleTo(page.data()));
    page->ruleSet();
    QTRY_COMPARE(m_alerts->texts(), (QStringList{"您没有设置权限！", "该房源类型不支持"}));

    signIn({99});
    page->setHouse(house());
    page->ruleSet();
    CommonAddWidget *popup = waitForPopup();
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("房源本设置"));
    // The rules live on the settings' team page, which opens in front.
    QCOMPARE(popup->contentWidget()->findChild<QStackedWidget *>("setStackedWidget")->currentIndex(), 4);
}

void TestSeperatePage::teamTabLoadsShownListing()
{
    HouseDetailFirstPageWidget first;
    first.showRecord(house(), false, false);
    auto *tabs = first.findChild<QTabWidget *>("tabWidget_foot");
    auto *team = first.findChild<Page *>("seperateWidget");
    QVERIFY(tabs && team);
    QCOMPARE(tabs->tabText(tabs->indexOf(team)), QStringLiteral("团队协作"));
    const QString path = pathOf(Endpoints::instance().fd_LianmaiPosts);
    QVERIFY(m_server.requestsTo(path).isEmpty());  // loaded when first shown
    tabs->setCurrentWidget(team);
    QCOMPARE(waitFor(Endpoints::instance().fd_LianmaiPosts).first().form.value("itemid"), QStringLiteral("31"));
    first.showRecord(house(32), false, false);
    QCOMPARE(waitFor(Endpoints::instance().fd_LianmaiPosts, 2).at(1).form.value("itemid"), QStringLiteral("32"));
    QCOMPARE(team->house().id, 32);
}

Q_DECLARE_METATYPE(RecordingServer::Reply)

// A role list that could not be had is told apart from a listing without roles, and a retry
// asks again.
void TestSeperatePage::failedListSaysSoAndRetries_data()
{
    QTest::addColumn<RecordingServer::Reply>("failure");
    QTest::addColumn<QString>("reason");  // in the agent's words, not the transport's
    QTest::newRow("server error") << RecordingServer::raw("oops", 500) << QStringLiteral("服务器错误(500)");
    QTest::newRow("broken reply") << RecordingServer::raw("{not json") << QStringLiteral("服务器返回的数据无法识别");
    QTest::newRow("dropped") << RecordingServer::dropped() << QString();
}

void TestSeperatePage::failedListSaysSoAndRetries()
{
    QFETCH(RecordingServer::Reply, failure);
    const QString path = pathOf(Endpoints::instance().fd_LianmaiPosts);
    m_server.queueReply(path, failure);
    QScopedPointer<Page> page(newPage());
    page->setHouse(house());
    auto *view = page->findChild<LoadFailureView *>(QStringLiteral("loadFailure"));
    QVERIFY(view);
    QTRY_VERIFY(view->isVisibleTo(page.data()));
    QVERIFY(view->text().startsWith(QStringLiteral("团队协作加载失败：")));
    QFETCH(QString, reason);
    QVERIFY2(view->text().contains(reason), qPrintable(view->text()));
    QVERIFY(page->rows().isEmpty());
    QVERIFY(m_alerts->texts().isEmpty());  // told in place, not in a box as well

    replyRows({row(HouseBookSeperateList_Model::ShiKan, true)});
    emit view->retryRequested();
    QTRY_COMPARE(page->rows().size(), 1);
    QVERIFY(!view->isVisibleTo(page.data()));
}

QTEST_MAIN(TestSeperatePage)
#include "tst_seperatepage.moc"
