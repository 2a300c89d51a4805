// The lists of a listing's detail against a recording server: what each list asks for,
// how replies of any shape become rows, paging refusals that leave the page alone, masking
// of clients in viewings, and the reminder and change-history texts.
#include "alertrecorder.h"
#include "detail/follow/customerfollowhistorywidget.h"
#include "detail/follow/housebookdetailfollowhistorywidget.h"
#include "detail/follow/housebookdetailmodifyhistorywidget.h"
#include "detail/follow/housebookdetailtakelookhistorywidget.h"
#include "detail/follow/housebookfollowdata_model.h"
#include "detail/follow/housebooktakelooklist_model.h"
#include "detail/follow/housefollowhistorywidget.h"
#include "detail/follow/takelooklistitem.h"
#include "detail/housebookmessagedetailwidget.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "widgets/commonaddwidget.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

using FormMap = QMap<QString, QString>;

namespace {

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QJsonValue json(const char *text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray("{\"v\":") + text + "}");
    return doc.object().value("v");
}

QString labelText(QWidget *row, const QString &name)
{
    auto *label = row->findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<none>");
}

QJsonArray viewingRows(int count)
{
    QJsonArray rows;
    for (int i = 1; i <= count; ++i)
        rows.append(QJsonObject{{"id", i}, {"clientname", QString("客户%1").arg(i)}, {"houseid", 42}});
    return rows;
}

enum ListKind { Follows, Viewings, History };

} // namespace

class TestFollowLists : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void followModelReadsAnyShape_data();
    void followModelReadsAnyShape();
    void viewingModelReadsAnyShape_data();
    void viewingModelReadsAnyShape();
    void listRequests_data();
    void listRequests();
    void viewingsOfNoListingAskNothing();
    void refusedStepLeavesPage_data();
    void refusedStepLeavesPage();
    void masking_data();
    void masking();
    void reminderTexts_data();
    void reminderTexts();
    void viewingLinkOpensDetail();
    void historyRows();
    void failedLoadSaysSoAndRetries_data();
    void failedLoadSaysSoAndRetries();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestFollowLists::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestFollowLists::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
}

void TestFollowLists::cleanup()
{
    // A box asked for shows a moment later: it belongs to this test, not the next.
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    m_alerts.reset();
    m_host.reset();
}

void TestFollowLists::followModelReadsAnyShape_data()
{
    QTest::addColumn<QJsonValue>("data");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("first");  // id|writer|tags|own|recordid|tixing of the first row

    QTest::newRow("as agreed") << json(R"({"list":[{"id":3,"username":"张三","tag":"加急,重要","own":1,"recordid":0,"tixing":1}],"total":12,"pagesize":10})")
                               << 1 << 12 << "3|张三|加急+重要|1|0|1";
    QTest::newRow("numbers as text") << json(R"({"list":[{"id":"3","username":"张三","own":"1","recordid":"88","tixing":"0"}],"total":"12"})")
                                     << 1 << 12 << "3|张三||1|88|0";
    QTest::newRow("list as an object") << json(R"({"list":{"a":{"id":5,"username":7},"b":{"id":6}},"total":2})")
                                       << 2 << 2 << "5|7||0|0|0";
    QTest::newRow("missing keys") << json(R"({"list":[{}]})") << 1 << 1 << "0|||0|0|0";
    QTest::newRow("rows of the wrong shape") << json(R"({"list":[1,"x",null,{"id":9}],"total":"lots"})") << 1 << 1
                                             << "9|||0|0|0";
    QTest::newRow("bare array") << json(R"([{"id":4,"tag":" 重要 ,,"}])") << 1 << 1 << "4||重要|0|0|0";
    QTest::newRow("total below the rows") << json(R"({"list":[{"id":1},{"id":2}],"total":0})") << 2 << 2 << "1|||0|0|0";
    QTest::newRow("null") << json("null") << 0 << 0 << "";
    QTest::newRow("text") << json(R"("error")") << 0 << 0 << "";
    QTest::newRow("huge numbers") << json(R"({"list":[{"id":1e300,"recordid":-1e300}],"total":1e300})") << 1 << 1
                                  << "0|||0|0|0";
}

void TestFollowLists::followModelReadsAnyShape()
{
    QFETCH(QJsonValue, data);
    QFETCH(int, rows);
    QFETCH(int, total);
    QFETCH(QString, first);

    HouseBookFollowData_Model model;
    model.setReply(data);
    QCOMPARE(model.list().size(), rows);
    QCOMPARE(model.total(), total);
    QVERIFY(model.pageSize() > 0);
    if (rows == 0)
        return;
    const auto row = model.list().first();
    QCOMPARE(QStringLiteral("%1|%2|%3|%4|%5|%6")
                 .arg(row.id)
                 .arg(row.username, row.tags.join('+'))
                 .arg(int(row.own))
                 .arg(row.recordid)
                 .arg(int(row.tixing)),
             first);
}

void TestFollowLists::viewingModelReadsAnyShape_data()
{
    QTest::addColumn<QJsonValue>("data");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("first");  // client|phone|userid|houseid|tixing

    QTest::newRow("as agreed") << json(R"({"list":[{"clientname":"李四","clientphone":"13800001111","userid":501,"houseid":42,"tixing":1}],"total":31})")
                               << 1 << 31 << "李四|13800001111|501|42|1";
    QTest::newRow("phone as a number") << json(R"({"list":[{"clientname":"李四","clientphone":13800001111,"userid":"501"}]})")
                                       << 1 << 1 << "李四|13800001111|501|0|0";
    QTest::newRow("list as an object") << json(R"({"list":{"0":{"clientname":"王"}}})") << 1 << 1 << "王||0|0|0";
    QTest::newRow("list is text") << json(R"({"list":"none","total":3})") << 0 << 3 << "";
    QTest::newRow("array instead of object") << json("[[1,2]]") << 0 << 0 << "";
}

void TestFollowLists::viewingModelReadsAnyShape()
{
    QFETCH(QJsonValue, data);
    QFETCH(int, rows);
    QFETCH(int, total);
    QFETCH(QString, first);

    HousebookTakeLookList_Model model;
    model.setReply(data);
    QCOMPARE(model.list().size(), rows);
    QCOMPARE(model.total(), total);
    if (rows == 0)
        return;
    const auto row = model.list().first();
    QCOMPARE(QStringLiteral("%1|%2|%3|%4|%5").arg(row.clientname, row.clientphone).arg(row.userid).arg(row.houseid).arg(row.tixing),
             first);
}

void TestFollowLists::listRequests_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<bool>("variant");
    QTest::addColumn<QString>("path");
    QTest::addColumn<FormMap>("form");

    const Endpoints &e = Endpoints::instance();
    QTest::newRow("listing follow-ups") << 0 << false << pathOf(e.app_followposts)
                                        << FormMap{{"type", "2"}, {"id", "42"}, {"pageindex", "1"}, {"lianmai", "1"}};
    QTest::newRow("general follow-ups") << 1 << false << pathOf(e.app_followposts)
                                        << FormMap{{"type", "2"}, {"id", "42"}, {"pageindex", "1"}, {"lianmai", "1"}};
    QTest::newRow("alliance follow-ups") << 1 << true << pathOf(e.app_LianmaiFollowPosts)
                                         << FormMap{{"type", "2"}, {"id", "42"}, {"pageindex", "1"}};
    QTest::newRow("viewings") << 2 << false << pathOf(e.client_house_daikan_posts)
                              << FormMap{{"houseid", "42"}, {"pageindex", "1"}, {"pagesize", "15"}, {"lianmai", "1"}};
    QTest::newRow("alliance change history") << 3 << true << pathOf(e.app_modifyrecord)
                                             << FormMap{{"id", "42"}, {"type", "2"}, {"pageindex", "1"}, {"pagesize", "15"}, {"lianmai", "1"}};
    QTest::newRow("own change history") << 3 << false << pathOf(e.app_modifyrecord)
                                        << FormMap{{"id", "42"}, {"type", "2"}, {"pageindex", "1"}, {"pagesize", "15"}};
}

void TestFollowLists::listRequests()
{
    QFETCH(int, list);
    QFETCH(bool, variant);
    QFETCH(QString, path);
    QFETCH(FormMap, form);

    QScopedPointer<QWidget> w;
    if (list == 0) {
        auto *l = new HouseBookDetailFollowHistoryWidget;
        w.reset(l);
        l->showHouse(42, true);
    } else if (list == 1) {
        auto *l = new CustomerFollowHistoryWidget(nullptr, variant);
        w.reset(l);
        l->showHouse(42, true);
    } else if (list == 2) {
        auto *l = new HouseBookDetailTakeLookHistoryWidget;
        w.reset(l);
        l->showHouse(42, true);
    } else {
        auto *l = new HouseBookDetailModifyHistoryWidget;
        w.reset(l);
        l->setJointSale(variant);
        l->showHouse(42, true);
    }
    QTRY_COMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(m_server.requestsTo(path).first().form, form);
}

void TestFollowLists::viewingsOfNoListingAskNothing()
{
    const QString path = pathOf(Endpoints::instance().client_house_daikan_posts);
    m_server.setReply(path, RecordingServer::envelope(200, QJsonObject{{"list", viewingRows(1)}, {"total", 1}}));
    HouseBookDetailTakeLookHistoryWidget w;
    w.showHouse(0, false);
    w.nextPage();
    QTRY_COMPARE(m_alerts->texts(), QStringList{"当前已经是最后一页了，无法向下翻页了！"});
    // A later listing is asked for: only its request reaches the server.
    w.showHouse(7, false);
    QTRY_COMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(m_server.requestsTo(path).first().form.value("houseid"), QString("7"));
}

void TestFollowLists::refusedStepLeavesPage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("total");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("follow-ups, back from the first") << int(Follows) << 25 << false << "当前已经是第一页跟进记录了，无法向上翻页了！";
    QTest::newRow("follow-ups, forward from the last") << int(Follows) << 8 << true << "当前已经是最后一页跟进记录了，无法向下翻页了！";
    QTest::newRow("viewings, back from the first") << int(Viewings) << 40 << false << "当前已经是第一页了，无法向上翻页了！";
    QTest::newRow("viewings, forward from the last") << int(Viewings) << 15 << true << "当前已经是最后一页了，无法向下翻页了！";
    QTest::newRow("history, forward from the last") << int(History) << 3 << true << "当前已经是最后一页了，无法向下翻页了！";
}

void TestFollowLists::refusedStepLeavesPage()
{
    QFETCH(int, kind);
    QFETCH(int, total);
    QFETCH(bool, forward);
    QFETCH(QString, refusal);
    const Endpoints &e = Endpoints::instance();
    const QString path = pathOf(kind == Follows ? e.app_followposts
                                : kind == Viewings ? e.client_house_daikan_posts
                                                   : e.app_modifyrecord);
    QJsonArray rows;
    for (int i = 1; i <= 3; ++i)
        rows.append(QJsonObject{{"id", i}, {"name", "改价"}, {"content", QString::number(i)}});
    m_server.setReply(path, RecordingServer::envelope(200, QJsonObject{{"list", rows}, {"total", total}}));

    HouseBookDetailFollowHistoryWidget follows;
    HouseBookDetailTakeLookHistoryWidget viewings;
    HouseBookDetailModifyHistoryWidget history;
    FollowPagedPage *page = kind == Follows ? static_cast<FollowPagedPage *>(&follows)
                            : kind == Viewings ? static_cast<FollowPagedPage *>(&viewings)
                                               : static_cast<FollowPagedPage *>(&history);
    follows.showHouse(kind == Follows ? 42 : 0, false);
    viewings.showHouse(kind == Viewings ? 42 : 0, false);
    history.showHouse(kind == History ? 42 : 0, false);
    QTRY_COMPARE(m_server.requestsTo(path).size(), 1);
    QTRY_COMPARE(page->findChildren<QWidget *>(QRegularExpression("Row$")).size(), 3);

    forward ? page->nextPage() : page->lastPage();
    QTRY_VERIFY2(m_alerts->count() > 0, "no refusal shown");
    QCOMPARE(m_alerts->texts(), QStringList{refusal});
    QCOMPARE(page->page(), 1);
    QCOMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(page->findChildren<QWidget *>(QRegularExpression("Row$")).size(), 3);
}

void TestFollowLists::masking_data()
{
    QTest::addColumn<bool>("manager");
    QTest::addColumn<int>("writer");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("remark");

    QTest::newRow("another agent's client") << false << 777 << "13800001111" << false
                                            << "带看了一组客户:***(138********)" << "反馈：******";
    QTest::newRow("own viewing") << false << 501 << "13800001111" << false
                                 << "带看了一组客户:李四(13800001111)" << "反馈：嫌贵";
    QTest::newRow("manager") << true << 777 << "13800001111" << false
                             << "带看了一组客户:李四(13800001111)" << "反馈：嫌贵";
    QTest::newRow("client the viewer may see") << false << 777 << "13800001111" << true
                                               << "带看了一组客户:李四(13800001111)" << "反馈：嫌贵";
    QTest::newRow("short phone stays") << false << 777 << "110" << false << "带看了一组客户:***(110)" << "反馈：******";
}

void TestFollowLists::masking()
{
    QFETCH(bool, manager);
    QFETCH(int, writer);
    QFETCH(QString, phone);
    QFETCH(bool, known);
    QFETCH(QString, client);
    QFETCH(QString, remark);
    HostFixture::signInAs(TestUser().userId(501).manager(manager));
    const QString path = pathOf(Endpoints::instance().client_house_daikan_posts);
    const QJsonObject row{{"id", 1}, {"clientname", "李四"}, {"clientphone", phone}, {"clientid", 66},
                          {"remark", "嫌贵"}, {"userid", writer}, {"username", "赵六"}, {"storename", "天鹅湖店"}};
    m_server.setReply(path, RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray{row}}, {"total", 1}}));

    HouseBookDetailTakeLookHistoryWidget w;
    if (known)
        w.setVisibleCustomers({{"66", true}});
    w.showHouse(42, false);
    QTRY_VERIFY(w.findChild<TakeLookListItem *>());
    auto *item = w.findChild<TakeLookListItem *>();
    QCOMPARE(labelText(item, "clientLabel"), client);
    QCOMPARE(labelText(item, "remarkLabel"), remark);
    QCOMPARE(labelText(item, "agentLabel"), QString("赵六 天鹅湖店"));
}

void TestFollowLists::reminderTexts_data()
{
    QTest::addColumn<int>("tixing");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QString>("reminder");
    QTest::addColumn<bool>("expired");

    QTest::newRow("past") << 1 << "2001-02-03 9:05" << "提醒:王五(2001-02-03-9:05)" << true;
    QTest::newRow("future") << 1 << "2999-12-31 23:59" << "提醒:王五(2999-12-31-23:59)" << false;
    QTest::newRow("unreadable moment") << 1 << "明天" << "提醒:王五(明天-)" << false;
    QTest::newRow("no reminder") << 0 << "2001-02-03 9:05" << "<none>" << false;
}

void TestFollowLists::reminderTexts()
{
    QFETCH(int, tixing);
    QFETCH(QString, moment);
    QFETCH(QString, reminder);
    QFETCH(bool, expired);
    const QJsonObject row{{"id", 1}, {"tixing", tixing}, {"tixinguser", "王五"}, {"tixingtime", moment}, {"contents", "回访"}};

    HouseFollowHistoryWidget follow(HouseBookFollowData_Model::ListData::fromJson(row));
    TakeLookListItem viewing(HousebookTakeLookList_Model::ListData::fromJson(row), true);
    for (QWidget *item : {static_cast<QWidget *>(&follow), static_cast<QWidget *>(&viewing)}) {
        QCOMPARE(labelText(item, "reminderLabel"), reminder);
        QCOMPARE(labelText(item, "expiredLabel"), expired ? QString("已过期") : QString("<none>"));
    }
    // A viewing without its data yet shows the placeholder time.
    QCOMPARE(labelText(&viewing, "timeLabel"), QString("0000 00-00 00:00"));
}

void TestFollowLists::viewingLinkOpensDetail()
{
    TakeLookListItem item(HousebookTakeLookList_Model::ListData::fromJson({{"id", 1}, {"houseid", 314}}), true);
    QVERIFY(item.findChild<QLabel *>("houseLink"));
    item.dealClickLink("314");
    CommonAddWidget *popup = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *candidate = qobject_cast<CommonAddWidget *>(top))
            popup = candidate;
    }
    QVERIFY(popup);
    auto *shell = qobject_cast<HouseBookMessageDetailWidget *>(popup->contentWidget());
    QVERIFY(shell);
    QTRY_COMPARE(shell->ids(), QList<int>{314});
    QCOMPARE(popup->size(), QSize(912, 692));
    popup->closeWidget();
}

void TestFollowLists::historyRows()
{
    QCOMPARE(HouseBookDetailModifyHistoryWidget::linesOf(json(R"({"list":[{"name":"张三","time":"2024-01-02 10:00","content":"价格 120→115"},{"name":5}, 3]})")),
             (QStringList{"张三(2024-01-02 10:00)：价格 120→115", "5()："}));
    QCOMPARE(HouseBookDetailModifyHistoryWidget::linesOf(json("{}")), QStringList());
}

void TestFollowLists::failedLoadSaysSoAndRetries_data()
{
    QTest::addColumn<int>("failure");
    QTest::newRow("server error") << 0;
    QTest::newRow("dropped") << 1;
    QTest::newRow("refused") << 2;
}

// A list that could not be loaded must not read as an empty one: the reason shows in place of
// the rows, and "重试" asks for the same page again.
void TestFollowLists::failedLoadSaysSoAndRetries()
{
    QFETCH(int, failure);
    const QString path = pathOf(Endpoints::instance().app_followposts);
    m_server.setReply(path, failure == 0   ? RecordingServer::raw("oops", 500)
                            : failure == 1 ? RecordingServer::dropped()
                                           : RecordingServer::envelope(101, QJsonValue(), QStringLiteral("暂无权限")));
    HouseBookDetailFollowHistoryWidget follows;
    follows.showHouse(42, false);
    auto *failureText = follows.findChild<QLabel *>(QStringLiteral("failureLabel"));
    QVERIFY(failureText);
    QTRY_VERIFY(failureText->isVisibleTo(&follows));
    QVERIFY(failureText->text().startsWith(QStringLiteral("加载失败：")));
    QVERIFY(!follows.findChild<QLabel *>(QStringLiteral("emptyLabel"))->isVisibleTo(&follows));

    m_server.setReply(path, RecordingServer::envelope(
                                200, QJsonObject{{"list", QJsonArray{QJsonObject{{"id", 1}, {"content", "到访"}}}}, {"total", 1}}));
    follows.findChild<QPushButton *>(QStringLiteral("retryButton"))->click();
    QTRY_COMPARE(m_server.requestsTo(path).size(), 2);
    QCOMPARE(m_server.requestsTo(path).last().form.value(QStringLiteral("pageindex")), QStringLiteral("1"));
    QTRY_VERIFY(!failureText->isVisibleTo(&follows));
    QCOMPARE(follows.findChildren<QWidget *>(QRegularExpression("Row$")).size(), 1);
}

QTEST_MAIN(TestFollowLists)
#include "tst_followlists.moc"
