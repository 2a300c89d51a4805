// Reports against role holders against a recording server: the report form, the reviewer's
// list (filter, paging, row texts, failures, outdated replies) and the review form (the keys
// of each judgement, its refusals, the people chooser, and what a judged report leads to).
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "separation/highseperatereporthistoryitemview.h"
#include "separation/highseperatereporthistorywidget.h"
#include "separation/highseperatereportreviewwidget.h"
#include "separation/houseseperatejubaowidget.h"
#include "services/reportservice.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>

using FormMap = QMap<QString, QString>;
Q_DECLARE_METATYPE(RecordingServer::Reply)
using namespace HighSeperateReportList_Model;

namespace {

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QString postsPath()
{
    return pathOf(Endpoints::instance().fd_jubaoposts);
}

QString judgePath()
{
    return pathOf(Endpoints::instance().fd_jubaoshenpi);
}

QJsonObject reportRow(int id, int state = Pending, int days = 0)
{
    return QJsonObject{{"id", id},
                       {"state", state},
                       {"itemid", 3000 + id},
                       {"content", QString("照片不实%1").arg(id)},
                       {"author", "天鹅湖店 李四"},
                       {"authorid", "602"},
                       {"time", "2024-05-01 10:00"},
                       {"shenpiren", state == Pending ? "" : "王审核"},
                       {"shenpitime", state == Pending ? "" : "2024-05-02 09:30"},
                       {"fdstepname", "实勘人"},
                       {"days", days},
                       {"house", QJsonObject{{"id", 3000 + id}, {"title", "翡翠湖小区 3室"}}},
                       {"sh", QJsonObject{{"id", 88}, {"userid", 701}, {"username", "赵五"}}}};
}

RecordingServer::Reply pageReply(const QJsonArray &rows, int total)
{
    return RecordingServer::envelope(200, QJsonObject{{"total", total}, {"data", rows}});
}

QString labelText(QWidget *row, const QString &name)
{
    auto *label = row->findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<none>");
}

template <typename T>
T *anyWidget()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        if (auto *found = qobject_cast<T *>(widget))
            return found;
    }
    return nullptr;
}

ItemData reviewedItem()
{
    return fromJson(reportRow(5));
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void reportForm_data();
    void reportForm();
    void failedReportKeepsForm_data();
    void failedReportKeepsForm();
    void listAsksPageOfStatus_data();
    void listAsksPageOfStatus();
    void pagingStopsAtEnds();
    void rowTexts_data();
    void rowTexts();
    void failedPageSaysSoAndRetries();
    void outdatedReplyIsDropped();
    void judgementKeys_data();
    void judgementKeys();
    void judgementRefusals_data();
    void judgementRefusals();
    void personChooser();
    void judgedReportSyncsAndReloads();
    void listingOpensDetail();

private:
    HighSeperateReportHistoryWidget *openList(const QJsonArray &rows, int total);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestReports::initTestCase()
{
    qRegisterMetaType<ReportService::Request>();
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestReports::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    m_server.setReply(postsPath(), pageReply({}, 0));
}

void TestReports::cleanup()
{
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    HighSeperateReportHistoryWidget::setDetailOpener({});
    m_alerts.reset();
    m_host.reset();
}

HighSeperateReportHistoryWidget *TestReports::openList(const QJsonArray &rows, int total)
{
    m_server.setReply(postsPath(), pageReply(rows, total));
    auto *list = new HighSeperateReportHistoryWidget(m_host->mainWindow(), 1);
    list->show();
    auto *overlay = list->findChild<BusyOverlay *>();
    if (!QTest::qWaitFor([&] { return !overlay->isRunning(); }))
        qWarning("the first page did not arrive");
    return list;
}

void TestReports::reportForm_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("alert");

    QTest::newRow("empty") << "" << "请输入举报内容！";
    QTest::newRow("blank") << " \n\t " << "请输入举报内容！";
    QTest::newRow("text") << "  照片是别的房子的 & <b>\"假\"</b>  " << "";
}

void TestReports::reportForm()
{
    QFETCH(QString, typed);
    QFETCH(QString, alert);
    HouseMessage_DataSqlTable::HouseMessageData house;
    house.id = 4321;
    HouseBookSeperateList_Model::ItemData row;
    row.id = "77";
    row.type = HouseBookSeperateList_Model::ShiKan;
    row.info.userId = "701";
    row.info.name = "赵五";
    m_server.setReply(pathOf(Endpoints::instance().fd_Jubao), RecordingServer::envelope(200, QJsonObject{{"id", 9}}));
    HouseSeperateJuBaoWidget form(house, row, m_host->mainWindow());
    QSignalSpy success(&form, &HouseSeperateJuBaoWidget::operateSuccess);
    QCOMPARE(form.findChild<QTextEdit *>("contentEdit")->placeholderText(), QStringLiteral("请输入举报内容"));
    form.findChild<QTextEdit *>("contentEdit")->setPlainText(typed);
    form.findChild<QPushButton *>("submitButton")->click();

    if (!alert.isEmpty()) {
        QTRY_COMPARE(m_alerts->count(), 1);
        QCOMPARE(m_alerts->last().text, alert);
        QCOMPARE(m_server.requestCount(), 0);
        return;
    }
    QCOMPARE(form.findChild<BusyOverlay *>()->text(), QStringLiteral("举报..."));
    QVERIFY(success.wait());
    const auto posts = m_server.requestsTo(pathOf(Endpoints::instance().fd_Jubao));
    QCOMPARE(posts.size(), 1);
    QCOMPARE(posts.first().form, (FormMap{{"id", "77"},
                                          {"type", "3"},
                                          {"itemid", "4321"},
                                          {"userid", "701"},
                                          {"content", typed.trimmed()},
                                          {"lianmai", "1"}}));
    QTRY_VERIFY(!form.findChild<BusyOverlay *>()->isRunning());
}

void TestReports::failedReportKeepsForm_data()
{
    QTest::addColumn<RecordingServer::Reply>("reply");
    QTest::addColumn<QString>("alert");

    QTest::newRow("refused") << RecordingServer::envelope(405, QJsonValue(), "当前无操作人") << "当前无操作人";
    QTest::newRow("server error") << RecordingServer::raw("busy", 503) << "举报失败";
}

void TestReports::failedReportKeepsForm()
{
    QFETCH(RecordingServer::Reply, reply);
    QFETCH(QString, alert);
    m_server.setReply(pathOf(Endpoints::instance().fd_Jubao), reply);
    HouseSeperateJuBaoWidget form({}, {}, m_host->mainWindow());
    QSignalSpy success(&form, &HouseSeperateJuBaoWidget::operateSuccess);
    form.findChild<QTextEdit *>("contentEdit")->setPlainText("没有实勘");
    form.submitData();
    QTRY_COMPARE(m_alerts->count(), 1);
    QVERIFY2(m_alerts->last().text.startsWith(alert), qPrintable(m_alerts->last().text));
    QTRY_VERIFY(!form.findChild<BusyOverlay *>()->isRunning());
    QCOMPARE(success.count(), 0);
    QCOMPARE(form.findChild<QTextEdit *>("contentEdit")->toPlainText(), QStringLiteral("没有实勘"));
}

void TestReports::listAsksPageOfStatus_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("status");

    QTest::newRow("reviewed") << "已审核" << "1";
    QTest::newRow("all") << "全部" << "2";
}

void TestReports::listAsksPageOfStatus()
{
    QFETCH(QString, choice);
    QFETCH(QString, status);
    QJsonArray rows;
    for (int i = 1; i <= 20; ++i)
        rows.append(reportRow(i));
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList(rows, 41));
    // The reviewer's own work comes first: the waiting reports.
    QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 1);
    QCOMPARE(m_server.requestsTo(postsPath()).first().form,
             (FormMap{{"pageindex", "1"}, {"pagesize", "20"}, {"status", "0"}, {"lianmai", "1"}}));

    list->nextPage();
    QCOMPARE(list->pageIndex(), 2);
    QTRY_VERIFY(!list->findChild<BusyOverlay *>()->isRunning());
    auto *box = list->findChild<QComboBox *>("statusBox");
    QVERIFY(box);
    const int index = box->findText(choice);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    list->changeStatus(index);
    // A new filter starts again from the first page.
    QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 3);
    QCOMPARE(m_server.requestsTo(postsPath()).last().form,
             (FormMap{{"pageindex", "1"}, {"pagesize", "20"}, {"status", status}, {"lianmai", "1"}}));
    QCOMPARE(list->pageIndex(), 1);
}

void TestReports::pagingStopsAtEnds()
{
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList({reportRow(1)}, 21));
    QCOMPARE(list->items().size(), 1);

    list->lastPage();
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("当前已经是第一页跟进记录了，无法向上翻页了！"));

    list->findChild<QPushButton *>("nextPageButton")->click();
    QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 2);
    QCOMPARE(m_server.requestsTo(postsPath()).last().form.value("pageindex"), QStringLiteral("2"));
    QTRY_VERIFY(!list->findChild<BusyOverlay *>()->isRunning());

    list->nextPage();
    QTRY_COMPARE(m_alerts->count(), 2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("当前已经是最后一页跟进记录了，无法向下翻页了！"));
    QCOMPARE(m_server.requestsTo(postsPath()).size(), 2);
    QCOMPARE(list->pageIndex(), 2);
}

void TestReports::rowTexts_data()
{
    QTest::addColumn<QJsonObject>("row");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("waiting");

    QTest::newRow("waiting") << reportRow(1) << "待处理" << true;
    QTest::newRow("rework") << reportRow(2, Rework, 3) << "限期返工(3天内)" << false;
    QTest::newRow("upheld") << reportRow(3, Upheld) << "举报属实" << false;
    QTest::newRow("rejected, numbers as text")
        << QJsonObject{{"id", "4"}, {"state", "3"}, {"itemid", "3004"}, {"author", "<b>店</b> 张三"}} << "驳回" << false;
}

void TestReports::rowTexts()
{
    QFETCH(QJsonObject, row);
    QFETCH(QString, state);
    QFETCH(bool, waiting);
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList({row}, 1));
    const auto rows = list->findChildren<HighSeperateReportHistoryItemView *>();
    QCOMPARE(rows.size(), 1);
    QWidget *view = rows.first();
    const ItemData item = fromJson(row);
    QCOMPARE(view->findChild<QPushButton *>("houseButton")->text(), QStringLiteral("房源编号：%1").arg(item.itemid));
    QCOMPARE(labelText(view, "authorLabel"), QStringLiteral("举报：%1").arg(item.author));
    QCOMPARE(labelText(view, "timeLabel"), QStringLiteral("举报时间：%1").arg(item.time));
    QCOMPARE(labelText(view, "contentLabel"), QStringLiteral("举报内容：%1").arg(item.content));
    QCOMPARE(labelText(view, "reviewerLabel"), QStringLiteral("审核人：%1").arg(item.shenpiren));
    QCOMPARE(labelText(view, "reviewTimeLabel"), QStringLiteral("审核时间：%1").arg(item.shenpitime));
    auto *stateLabel = view->findChild<QLabel *>("stateLabel");
    QCOMPARE(stateLabel->text(), state);
    QCOMPARE(stateLabel->styleSheet(), waiting ? HighSeperateReportHistoryItemView::waitingStyle()
                                               : HighSeperateReportHistoryItemView::reviewedStyle());
    // Another agent's text is shown as typed, never read as markup.
    QCOMPARE(view->findChild<QLabel *>("authorLabel")->textFormat(), Qt::PlainText);
    QVERIFY(!list->findChild<QLabel *>("emptyLabel")->isVisible());
}

void TestReports::failedPageSaysSoAndRetries()
{
    m_server.queueReply(postsPath(), RecordingServer::envelope(500, QJsonValue(), "数据库忙"));
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList({reportRow(1), reportRow(2)}, 2));
    auto *failure = list->findChild<QWidget *>("widget_error");
    QTRY_VERIFY(failure && failure->isVisible());
    QVERIFY(list->findChild<QLabel *>("label_error")->text().contains("数据库忙"));
    QVERIFY(!list->findChild<QLabel *>("emptyLabel")->isVisible());
    QVERIFY(list->findChildren<HighSeperateReportHistoryItemView *>().isEmpty());

    list->findChild<QPushButton *>("pushButton_retry")->click();
    QTRY_COMPARE(list->findChildren<HighSeperateReportHistoryItemView *>().size(), 2);
    QVERIFY(!failure->isVisible());
    QCOMPARE(m_server.requestsTo(postsPath()).size(), 2);
}

void TestReports::outdatedReplyIsDropped()
{
    // The first page (waiting reports) answers late, after the reviewer switched to all.
    RecordingServer::Reply late = pageReply({reportRow(1), reportRow(2), reportRow(3)}, 3);
    late.delayMs = 400;
    m_server.queueReply(postsPath(), late);
    m_server.queueReply(postsPath(), pageReply({reportRow(9, Upheld)}, 1));
    auto *list = new HighSeperateReportHistoryWidget(m_host->mainWindow(), 1);
    QScopedPointer<HighSeperateReportHistoryWidget> owner(list);
    QSignalSpy finished(list->findChild<ReportService *>(), &ReportService::finished);
    // The late answer belongs to the first request only once that request has arrived.
    QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 1);
    auto *box = list->findChild<QComboBox *>("statusBox");
    list->changeStatus(box->findText("全部"));
    QTRY_COMPARE(finished.count(), 2);
    QCOMPARE(list->items().size(), 1);
    QCOMPARE(list->items().first().id, QStringLiteral("9"));
}

void TestReports::judgementKeys_data()
{
    QTest::addColumn<QString>("judgement");
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QString>("days");
    QTest::addColumn<FormMap>("expected");  // state, newuserid, days, content

    QTest::newRow("upheld, released") << "upheldRadio" << "releaseRadio" << ""
                                      << FormMap{{"state", "1"}, {"newuserid", ""}, {"days", ""}, {"content", "属实"}};
    QTest::newRow("upheld, to reporter") << "upheldRadio" << "toReporterRadio" << ""
                                         << FormMap{{"state", "1"}, {"newuserid", "602"}, {"days", ""}, {"content", "属实"}};
    QTest::newRow("upheld, to chosen") << "upheldRadio" << "toChosenRadio" << ""
                                       << FormMap{{"state", "1"}, {"newuserid", "7001"}, {"days", ""}, {"content", "属实"}};
    // The role choice left on "to reporter" means nothing once the judgement is another.
    QTest::newRow("rework") << "reworkRadio" << "toReporterRadio" << "5"
                            << FormMap{{"state", "2"}, {"newuserid", ""}, {"days", "5"}, {"content", "属实"}};
    QTest::newRow("rejected") << "rejectRadio" << "toChosenRadio" << "9"
                              << FormMap{{"state", "3"}, {"newuserid", ""}, {"days", ""}, {"content", "属实"}};
}

void TestReports::judgementKeys()
{
    QFETCH(QString, judgement);
    QFETCH(QString, assignment);
    QFETCH(QString, days);
    QFETCH(FormMap, expected);
    HighSeperateReportReviewWidget review(reviewedItem());
    QSignalSpy success(&review, &HighSeperateReportReviewWidget::reviewSuccess);
    QCOMPARE(review.findChild<QLabel *>("targetLabel")->text(), QStringLiteral("实勘人：赵五"));
    QCOMPARE(review.findChild<QLabel *>("reporterLabel")->text(), QStringLiteral("天鹅湖店 李四"));
    QCOMPARE(review.findChild<QPushButton *>("houseButton")->text(), QStringLiteral("翡翠湖小区 3室"));
    review.findChild<QRadioButton *>("upheldRadio")->click();
    review.findChild<QRadioButton *>(assignment)->click();
    review.setChosenPerson({{"id", 7001}, {"name", "钱六"}});
    review.findChild<QRadioButton *>(judgement)->click();
    review.findChild<QLineEdit *>("daysEdit")->setText(days);
    review.findChild<QTextEdit *>("reasonEdit")->setPlainText("属实");
    review.findChild<QPushButton *>("submitButton")->click();

    QVERIFY(success.wait());
    const auto posts = m_server.requestsTo(judgePath());
    QCOMPARE(posts.size(), 1);
    FormMap form = expected;
    form.insert("id", "5");
    form.insert("yonghuid", "701");
    form.insert("lianmai", "1");
    QCOMPARE(posts.first().form, form);
}

void TestReports::judgementRefusals_data()
{
    QTest::addColumn<QString>("judgement");
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("alert");

    QTest::newRow("nothing chosen") << "" << "" << "" << "" << "请选择审核结果！";
    QTest::newRow("rework without days") << "reworkRadio" << "" << "" << "" << "请填写返工时限！";
    QTest::newRow("rework of 0 days") << "reworkRadio" << "" << "0" << "" << "请填写返工时限！";
    QTest::newRow("chosen person missing") << "upheldRadio" << "toChosenRadio" << "" << "" << "请选择指定人！";
    QTest::newRow("rejection without reason") << "rejectRadio" << "" << "" << "  " << "请输入驳回理由！";
}

void TestReports::judgementRefusals()
{
    QFETCH(QString, judgement);
    QFETCH(QString, assignment);
    QFETCH(QString, days);
    QFETCH(QString, reason);
    QFETCH(QString, alert);
    HighSeperateReportReviewWidget review(reviewedItem());
    if (!judgement.isEmpty())
        review.findChild<QRadioButton *>(judgement)->click();
    if (!assignment.isEmpty())
        review.findChild<QRadioButton *>(assignment)->click();
    review.findChild<QLineEdit *>("daysEdit")->setText(days);
    review.findChild<QTextEdit *>("reasonEdit")->setPlainText(reason);
    review.submitDataClick();
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, alert);
    QCOMPARE(m_server.requestsTo(judgePath()).size(), 0);
}

void TestReports::personChooser()
{
    HighSeperateReportReviewWidget review(reviewedItem());
    review.show();
    auto *days = review.findChild<QLineEdit *>("daysEdit");
    auto *choose = review.findChild<QPushButton *>("choosePersonButton");
    // Parts of the form follow the judgement and the role choice.
    QVERIFY(!days->isEnabled());
    review.findChild<QRadioButton *>("reworkRadio")->click();
    QVERIFY(days->isEnabled());
    QTest::keyClicks(days, "1a-2.");
    QCOMPARE(days->text(), QStringLiteral("12"));
    QCOMPARE(days->placeholderText(), QStringLiteral("请输入返工期限"));
    review.findChild<QRadioButton *>("upheldRadio")->click();
    QVERIFY(!days->isEnabled());
    QVERIFY(!choose->isEnabled());
    review.findChild<QRadioButton *>("toChosenRadio")->click();
    QVERIFY(choose->isEnabled());

    choose->click();
    auto *chooser = review.findChild<PersonOrDepartmentChooseWidget *>("personChooser");
    QVERIFY(chooser);
    QCOMPARE(chooser->chooseKind(), int(PersonOrDepartmentChooseWidget::People));
    QVERIFY(!chooser->isMultiple());
    auto *popup = qobject_cast<CommonAddWidget *>(chooser->parentWidget()->window());
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("选择部门"));
    emit chooser->backSingleChoose({{"id", 7002}, {"name", "孙七"}});
    QCOMPARE(choose->text(), QStringLiteral("孙七"));
    QCOMPARE(review.chosenPerson().value("id").toInt(), 7002);
}

void TestReports::judgedReportSyncsAndReloads()
{
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList({reportRow(5)}, 1));
    auto rows = list->findChildren<HighSeperateReportHistoryItemView *>();
    QCOMPARE(rows.size(), 1);
    QTest::mouseClick(rows.first()->findChild<QLabel *>("contentLabel"), Qt::LeftButton);
    auto *review = anyWidget<HighSeperateReportReviewWidget>();
    QVERIFY(review);
    auto *popup = qobject_cast<CommonAddWidget *>(review->window());
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("举报审核"));
    QPointer<CommonAddWidget> guard(popup);

    review->findChild<QRadioButton *>("rejectRadio")->click();
    review->findChild<QTextEdit *>("reasonEdit")->setPlainText("证据不足");
    review->submitDataClick();

    QTRY_VERIFY(m_alerts->texts().contains("审核成功！"));
    const QString syncPath = pathOf(Endpoints::instance().app_SyncHousebookDetail);
    QTRY_COMPARE(m_server.requestsTo(syncPath).size(), 1);
    QCOMPARE(m_server.requestsTo(syncPath).first().form.value("id"), QStringLiteral("3005"));
    QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 2);
    QTRY_VERIFY(guard.isNull() || !guard->isVisible());
}

void TestReports::listingOpensDetail()
{
    QList<int> opened;
    HighSeperateReportHistoryWidget::setDetailOpener([&opened](QWidget *, int id) { opened << id; });
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList({reportRow(2)}, 1));
    auto *row = list->findChild<HighSeperateReportHistoryItemView *>();
    int reviews = 0;
    connect(row, &HighSeperateReportHistoryItemView::itemClick, this, [&reviews] { ++reviews; });
    row->findChild<QPushButton *>("houseButton")->click();
    QCOMPARE(opened, QList<int>{3002});
    QCOMPARE(reviews, 0);  // the listing, not the review

    HighSeperateReportReviewWidget form(fromJson(reportRow(4)));
    connect(&form, &HighSeperateReportReviewWidget::houseClick, list.data(), &HighSeperateReportHistoryWidget::openHouseDetail);
    form.findChild<QPushButton *>("houseButton")->click();
    QCOMPARE(opened, (QList<int>{3002, 3004}));
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
