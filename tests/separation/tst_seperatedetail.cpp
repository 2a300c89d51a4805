// The details of a role entry against a recording server: the lines and photo groups each
// role shows (also from replies of the wrong shape), approval and refusal with the reviewer's
// right, a load that fails, and the contract links handed to the host's contract libraries.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "platform/siblinglibrary.h"
#include "recordingserver.h"
#include "separation/houseseperatemessagedetailwidget.h"
#include "testuser.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/thumbnailview.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLibrary>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace HouseBookSeperateList_Model;
using Page = HouseSeperateMessageDetailWidget;

namespace {

constexpr int kReviewRight = 99;
const QString kContracts = QStringLiteral("qx_testcontracts.dll");
const QString kNoPreview = QStringLiteral("qx_testsibling.dll");  // a library without the export
const QString kMissing = QStringLiteral("qx_nosuchlibrary.dll");

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QJsonArray urls(const QStringList &list)
{
    QJsonArray out;
    for (const QString &url : list)
        out.append(QJsonObject{{"url", url}});
    return out;
}

HouseMessage_DataSqlTable::HouseMessageData listing()
{
    HouseMessage_DataSqlTable::HouseMessageData l;
    l.id = 41;
    l.name = QStringLiteral("翡翠湖花园");
    l.deptid = 10;
    return l;
}

ItemData row(int type, const QString &spId = QString())
{
    ItemData r;
    r.id = QStringLiteral("71");
    r.type = type;
    r.state = Waiting;
    r.phone = QStringLiteral("13900000008");
    r.info.name = QStringLiteral("王五");
    r.detailinfo.sp_id = spId;
    return r;
}

QJsonObject commission()
{
    return {{"id", 71}, {"type", 2}, {"author", "王五"}, {"time", "2024-05-01 10:00"}, {"state", 1},
            {"remark", "业主委托"},
            {"picturecontent", QJsonObject{{"contract", urls({"http://127.0.0.1:1/c.jpg"})},
                                           {"fangchanzheng", urls({"http://127.0.0.1:1/f1.jpg", "http://127.0.0.1:1/f2.jpg"})},
                                           {"shenfenzheng_zhenmian", urls({"http://127.0.0.1:1/z.jpg"})},
                                           {"shenfenzheng_fanmian", urls({"http://127.0.0.1:1/b.jpg"})},
                                           {"weituoshu", urls({"http://127.0.0.1:1/w.jpg"})},
                                           {"other", urls({"http://127.0.0.1:1/o.jpg"})}}},
            {"contractid", 5}, {"contractNo", "WT-2024-5"},
            {"pdf", QJsonArray{QJsonObject{{"name", "委托合同"}, {"url", "http://127.0.0.1:1/a.pdf"}}}},
            {"detailinfo", QJsonObject{{"sp_id", ""}, {"heyancode", "HY01"}, {"weituocode", "WT01"},
                                       {"heyanren", QJsonObject{{"name", "李四"}}}}}};
}

QJsonObject withPdfs(int count, const QString &base)
{
    QJsonObject detail = commission();
    QJsonArray pdfs;
    for (int i = 1; i <= count; ++i)
        pdfs.append(QJsonObject{{"name", QStringLiteral("合同%1").arg(i)}, {"url", QStringLiteral("%1/files/%2.pdf").arg(base).arg(i)}});
    detail.insert("pdf", pdfs);
    return detail;
}

QStringList texts(const QList<QLabel *> &labels)
{
    QStringList out;
    for (const QLabel *label : labels)
        out << label->text();
    return out;
}

template <typename Fn>
Fn testExport(const char *name)
{
    return reinterpret_cast<Fn>(QLibrary(SiblingLibrary::filePath(kContracts)).resolve(name));
}

int previewCalls(QString *path, QByteArray *bytes)
{
    auto last = testExport<int (*)(QString *, QByteArray *)>("lastPreviewCall");
    return last ? last(path, bytes) : -1;
}

int contractCalls(QVariantMap *args)
{
    auto last = testExport<int (*)(QVariantMap *)>("lastContractCall");
    return last ? last(args) : -1;
}

} // namespace

Q_DECLARE_METATYPE(RecordingServer::Reply)

class TestSeperateDetail : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linesAndGroupsByRole_data();
    void linesAndGroupsByRole();
    void photoOpensLarge();
    void reviewButtonsNeedWaitingEntryAndRight_data();
    void reviewButtonsNeedWaitingEntryAndRight();
    void approvePostsApprovedState();
    void refuseAsksReasonAndPostsIt();
    void failedReviewKeepsWindowOpen_data();
    void failedReviewKeepsWindowOpen();
    void failedLoadOffersRetry_data();
    void failedLoadOffersRetry();
    void electronicContractChoice_data();
    void electronicContractChoice();
    void failedDownloadIsReported();
    void contractLinkHandsOverContractAndListing();
    void missingLibraries_data();
    void missingLibraries();

private:
    // A page for the entry, its details answered with data, loaded.
    Page *openPage(const QJsonValue &data, const ItemData &entry = row(WeiTuo));

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QScopedPointer<Page> m_page;
    QString m_detailPath;
    QString m_reviewPath;
};

void TestSeperateDetail::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    m_detailPath = pathOf(Endpoints::instance().fd_hbfendandetail);
    m_reviewPath = pathOf(Endpoints::instance().fd_shenpi);
    QVERIFY(Endpoints::instance().fd_shenpi.startsWith(m_server.baseUrl()));
}

void TestSeperateDetail::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    auto reset = testExport<void (*)()>("resetContractCalls");
    QVERIFY(reset);
    reset();
}

void TestSeperateDetail::cleanup()
{
    m_page.reset();
    m_alerts.reset();
    m_host.reset();
}

Page *TestSeperateDetail::openPage(const QJsonValue &data, const ItemData &entry)
{
    m_server.setReply(m_detailPath, RecordingServer::envelope(200, data));
    m_page.reset(new Page(listing(), entry, m_host->mainWindow()));
    m_page->setLibraries(kContracts, kContracts);
    m_page->resize(900, 650);
    m_page->show();
    auto *overlay = m_page->findChild<BusyOverlay *>();
    if (!QTest::qWaitFor([&] { return !overlay->isRunning(); }))
        qWarning("the details never finished loading");
    return m_page.data();
}

void TestSeperateDetail::linesAndGroupsByRole_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QJsonValue>("data");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<bool>("contractLink");
    QTest::addColumn<bool>("dudLink");

    QTest::newRow("commission, every group")
        << int(WeiTuo) << QJsonValue(commission())
        << QStringList{"时间：2024-05-01 10:00", "当前状态：等待审核", "核验码：HY01", "委托码：WT01", "核验人：李四", "备注：业主委托"}
        << QStringList{"委托合同", "房产证", "身份证正面", "身份证反面", "委托书", "其他"} << true << true;

    QJsonObject keys{{"id", "72"}, {"time", "2024-05-02 09:30"}, {"state", "2"}, {"remark", ""},
                     {"detailinfo", QJsonObject{{"keycode", "K-12"}, {"shoudate", "2024-5-2"}, {"deptName", "南七店"}}}};
    QTest::newRow("keys, numbers as text")
        << int(YaoShi) << QJsonValue(keys)
        << QStringList{"时间：2024-05-02 09:30", "当前状态：审核通过", "钥匙编号：K-12", "收钥日期：2024-5-2", "钥匙所在部门：南七店", "备注：暂无"}
        << QStringList{} << false << false;

    QJsonObject dujia{{"id", 73}, {"time", "2024-05-03"}, {"state", 3}, {"remark", "资料不全"}, {"endtime", "2024-12-31"},
                      {"contractid", "0"}, {"contractNo", ""},
                      {"picturecontent", QJsonObject{{"contract", urls({"http://127.0.0.1:1/d.jpg"})},
                                                     {"housecernum", urls({"http://127.0.0.1:1/h.jpg"})},
                                                     {"hostcernum", urls({"http://127.0.0.1:1/i.jpg"})}}},
                      {"pdf", QJsonArray{}}};
    QTest::newRow("exclusive agency")
        << int(DuJia) << QJsonValue(dujia)
        << QStringList{"时间：2024-05-03", "当前状态：审核拒绝", "代理截止日期：2024-12-31", "备注：资料不全"}
        << QStringList{"独家代理合同", "房产证", "身份证"} << false << true;

    QJsonObject deal{{"id", 74}, {"time", "2024-05-04"}, {"state", 1}, {"contractNo", "CJ-9"},
                     {"picturecontent", QJsonObject{{"contract", urls({"http://127.0.0.1:1/x.jpg"})}}}};
    QTest::newRow("deal")
        << int(ChengJiao) << QJsonValue(deal)
        << QStringList{"时间：2024-05-04", "当前状态：等待审核", "备注：暂无"} << QStringList{"成交合同"} << true << true;

    // Members of the wrong shape: objects as JSON text, the verifier as a bare name, an
    // unknown photo group, a group that is a number, pdf as an object, no time at all.
    QJsonObject hostile{{"id", 75}, {"state", "1"}, {"remark", 12},
                        {"detailinfo", QString::fromUtf8(R"({"heyancode":"HY9","heyanren":"赵六"})")},
                        {"picturecontent", QJsonObject{{"video", urls({"http://127.0.0.1:1/v.mp4"})}, {"weituoshu", 5},
                                                       {"other", QString::fromUtf8(R"([{"url":"http://127.0.0.1:1/o.jpg"}])")}}},
                        {"pdf", QJsonObject{{"name", "x"}}}};
    QTest::newRow("commission, hostile members")
        << int(WeiTuo) << QJsonValue(hostile)
        << QStringList{"时间：暂无", "当前状态：等待审核", "核验码：HY9", "委托码：暂无", "核验人：赵六", "备注：12"}
        << QStringList{"其他"} << false << true;

    QTest::newRow("data is a list") << int(WeiTuo) << QJsonValue(QJsonArray{1, 2}) << QStringList{} << QStringList{}
                                    << false << false;
}

void TestSeperateDetail::linesAndGroupsByRole()
{
    QFETCH(int, type);
    QFETCH(QJsonValue, data);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, groups);
    QFETCH(bool, contractLink);
    QFETCH(bool, dudLink);

    Page *page = openPage(data, row(type));
    QCOMPARE(m_server.requestsTo(m_detailPath).size(), 1);
    QCOMPARE(m_server.requestsTo(m_detailPath).first().form.value("id"), QStringLiteral("71"));
    QCOMPARE(m_server.requestsTo(m_detailPath).first().form.value("lianmai"), QStringLiteral("1"));
    QVERIFY(page->findChild<QWidget *>("detailBody"));
    QVERIFY(page->findChild<QWidget *>("loadFailure")->isHidden());
    QCOMPARE(texts(page->findChildren<QLabel *>("detailLine")), lines);
    QCOMPARE(texts(page->findChildren<QLabel *>("photoGroupTitle")), groups);
    QCOMPARE(bool(page->findChild<QPushButton *>("contractLink")), contractLink);
    QCOMPARE(bool(page->findChild<QPushButton *>("dudLink")), dudLink);
    // An answer with nothing in it says so, never a blank page.
    QCOMPARE(bool(page->findChild<QLabel *>("emptyLabel")), lines.isEmpty());
    QVERIFY(m_alerts->texts().isEmpty());
}

void TestSeperateDetail::photoOpensLarge()
{
    Page *page = openPage(commission());
    const auto thumbs = page->findChildren<ThumbnailView *>("photo_fangchanzheng");
    QCOMPARE(thumbs.size(), 2);
    QTest::mouseClick(thumbs.at(1), Qt::LeftButton);
    ThumbnailView *large = nullptr;
    QTRY_VERIFY((large = page->findChild<ThumbnailView *>("largePicture")));
    QCOMPARE(large->source(), QStringLiteral("http://127.0.0.1:1/f2.jpg"));
}

void TestSeperateDetail::reviewButtonsNeedWaitingEntryAndRight_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("spId");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("manager");
    QTest::addColumn<bool>("offered");

    QTest::newRow("waiting, review right") << 1 << "" << true << false << true;
    QTest::newRow("waiting, manager") << 1 << "0" << false << true << true;
    QTest::newRow("waiting, no right") << 1 << "" << false << false << false;
    QTest::newRow("approved, review right") << 2 << "" << true << false << false;
    QTest::newRow("refused, manager") << 3 << "" << false << true << false;
    QTest::newRow("waiting in office approval") << 1 << "17" << true << true << false;
}

void TestSeperateDetail::reviewButtonsNeedWaitingEntryAndRight()
{
    QFETCH(int, state);
    QFETCH(QString, spId);
    QFETCH(bool, right);
    QFETCH(bool, manager);
    QFETCH(bool, offered);

    TestUser user;
    user.jointSaleManager(manager);
    if (right)
        user.grant(kReviewRight);
    HostFixture::signInAs(user);
    QJsonObject detail = commission();
    detail.insert("state", state);
    Page *page = openPage(detail, row(WeiTuo, spId));
    QCOMPARE(!page->findChild<QPushButton *>("passButton")->isHidden(), offered);
    QCOMPARE(!page->findChild<QPushButton *>("refuseButton")->isHidden(), offered);
}

void TestSeperateDetail::approvePostsApprovedState()
{
    HostFixture::signInAs(TestUser().grant(kReviewRight));
    Page *page = openPage(commission());
    QSignalSpy done(page, &Page::refreshListAndClose);
    page->findChild<QPushButton *>("passButton")->click();
    QVERIFY(done.wait());
    const auto posts = m_server.requestsTo(m_reviewPath);
    QCOMPARE(posts.size(), 1);
    QCOMPARE(posts.first().form.value("id"), QStringLiteral("71"));
    QCOMPARE(posts.first().form.value("state"), QStringLiteral("2"));
    QCOMPARE(posts.first().form.value("remark"), QString());
    QCOMPARE(posts.first().form.value("lianmai"), QStringLiteral("1"));
}

void TestSeperateDetail::refuseAsksReasonAndPostsIt()
{
    HostFixture::signInAs(TestUser().grant(kReviewRight));
    Page *page = openPage(commission());
    QSignalSpy done(page, &Page::refreshListAndClose);
    page->findChild<QPushButton *>("refuseButton")->click();
    QWidget *box = nullptr;
    QTRY_VERIFY((box = page->findChild<QWidget *>("refuseReasonBox")));
    auto *reason = box->findChild<QPlainTextEdit *>("textEdit_reason");
    auto *submit = box->findChild<QPushButton *>("submitButton");

    // Blank is no reason: the box stays and nothing is posted.
    reason->setPlainText(QStringLiteral("   "));
    submit->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{QStringLiteral("请输入拒绝原因！")});
    QVERIFY(page->findChild<QWidget *>("refuseReasonBox"));
    QVERIFY(m_server.requestsTo(m_reviewPath).isEmpty());

    reason->setPlainText(QStringLiteral("核验码与委托书不符"));
    submit->click();
    QVERIFY(done.wait());
    const auto posts = m_server.requestsTo(m_reviewPath);
    QCOMPARE(posts.size(), 1);
    QCOMPARE(posts.first().form.value("state"), QStringLiteral("3"));
    QCOMPARE(posts.first().form.value("remark"), QStringLiteral("核验码与委托书不符"));
    QTRY_VERIFY(!page->findChild<QWidget *>("refuseReasonBox"));
}

void TestSeperateDetail::failedReviewKeepsWindowOpen_data()
{
    QTest::addColumn<RecordingServer::Reply>("failure");
    QTest::addColumn<QStringList>("alerts");

    QTest::newRow("refused") << RecordingServer::envelope(405, QJsonValue(), QStringLiteral("该记录已审核"))
                             << QStringList{QStringLiteral("该记录已审核")};
    QTest::newRow("connection dropped") << RecordingServer::dropped() << QStringList{};
}

// A judgement that failed must neither close the window nor pass unnoticed.
void TestSeperateDetail::failedReviewKeepsWindowOpen()
{
    QFETCH(RecordingServer::Reply, failure);
    QFETCH(QStringList, alerts);

    HostFixture::signInAs(TestUser().jointSaleManager());
    Page *page = openPage(commission());
    m_server.queueReply(m_reviewPath, failure);
    QSignalSpy done(page, &Page::refreshListAndClose);
    page->findChild<QPushButton *>("passButton")->click();
    auto *note = page->findChild<QLabel *>("reviewFailure");
    QTRY_VERIFY(!note->isHidden());
    QVERIFY(note->text().startsWith(QStringLiteral("审核未完成：")));
    QTRY_COMPARE(m_alerts->texts(), alerts);
    QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
    QCOMPARE(done.count(), 0);

    // Trying again clears the note and, answered, closes.
    page->findChild<QPushButton *>("passButton")->click();
    QVERIFY(done.wait());
    QVERIFY(note->isHidden());
}

void TestSeperateDetail::failedLoadOffersRetry_data()
{
    QTest::addColumn<RecordingServer::Reply>("failure");
    QTest::addColumn<QString>("reason");

    QTest::newRow("refused") << RecordingServer::envelope(400, QJsonValue(), QStringLiteral("记录不存在"))
                             << QStringLiteral("记录不存在");
    QTest::newRow("connection dropped") << RecordingServer::dropped() << QString();
    QTest::newRow("not JSON") << RecordingServer::raw("<html>busy</html>", 200) << QString();
    QTest::newRow("server error") << RecordingServer::raw("oops", 500) << QString();
}

void TestSeperateDetail::failedLoadOffersRetry()
{
    QFETCH(RecordingServer::Reply, failure);
    QFETCH(QString, reason);

    m_server.queueReply(m_detailPath, failure);
    Page *page = openPage(commission());
    auto *failed = page->findChild<QWidget *>("loadFailure");
    QVERIFY(!failed->isHidden());
    const QString text = page->findChild<QLabel *>("failureLabel")->text();
    QVERIFY2(text.startsWith(QStringLiteral("获取详情失败：")) && text.size() > 7, qPrintable(text));
    if (!reason.isEmpty())
        QVERIFY(text.contains(reason));
    QVERIFY(!page->findChild<QLabel *>("emptyLabel"));
    QVERIFY(page->findChildren<QLabel *>("detailLine").isEmpty());
    QVERIFY(page->findChild<QPushButton *>("passButton")->isHidden());

    page->findChild<QPushButton *>("retryButton")->click();
    QTRY_COMPARE(page->findChildren<QLabel *>("detailLine").size(), 6);
    QVERIFY(failed->isHidden());
    QCOMPARE(m_server.requestsTo(m_detailPath).size(), 2);
}

void TestSeperateDetail::electronicContractChoice_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("chosen");   // row picked in the chooser; -1 when none opens
    QTest::addColumn<QString>("message");

    QTest::newRow("none") << 0 << -1 << QStringLiteral("无可查看的dud合同！");
    QTest::newRow("one, no chooser") << 1 << -1 << QString();
    QTest::newRow("two, second chosen") << 2 << 1 << QString();
}

void TestSeperateDetail::electronicContractChoice()
{
    QFETCH(int, count);
    QFETCH(int, chosen);
    QFETCH(QString, message);

    m_server.setReply("/files/1.pdf", RecordingServer::raw("%PDF-first", 200, "application/pdf"));
    m_server.setReply("/files/2.pdf", RecordingServer::raw("%PDF-second", 200, "application/pdf"));
    Page *page = openPage(withPdfs(count, m_server.baseUrl()));
    page->findChild<QPushButton *>("dudLink")->click();
    if (chosen >= 0) {
        QListWidget *list = nullptr;
        QTRY_VERIFY((list = page->findChild<QListWidget *>("dudList")));
        QCOMPARE(list->count(), count);
        QCOMPARE(list->item(1)->text(), QStringLiteral("合同2"));
        QStringList titles;
        for (const CommonAddWidget *frame : page->findChildren<CommonAddWidget *>())
            titles << frame->title();
        QVERIFY(titles.contains(QStringLiteral("选择要查看的dud合同")));
        emit list->itemClicked(list->item(chosen));
    }
    QString path;
    QByteArray bytes;
    if (message.isEmpty()) {
        // The preview gets the whole file, downloaded into the data folder's cache/temporary.
        QTRY_COMPARE(previewCalls(&path, &bytes), 1);
        const QByteArray expected = chosen == 1 ? "%PDF-second" : "%PDF-first";
        QCOMPARE(bytes, expected);
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(m_host->dataDir()).filePath(QStringLiteral("app/cache/temporary")));
        QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
        QVERIFY(m_alerts->texts().isEmpty());
    } else {
        QTRY_COMPARE(m_alerts->texts(), QStringList{message});
        QCOMPARE(previewCalls(&path, &bytes), 0);
    }
    QCOMPARE(m_server.requestsTo("/files/1.pdf").size() + m_server.requestsTo("/files/2.pdf").size(), message.isEmpty() ? 1 : 0);
}

void TestSeperateDetail::failedDownloadIsReported()
{
    m_server.setReply("/files/1.pdf", RecordingServer::raw("gone", 404));
    Page *page = openPage(withPdfs(1, m_server.baseUrl()));
    page->findChild<QPushButton *>("dudLink")->click();
    QTRY_COMPARE(m_alerts->count(), 1);
    QVERIFY(m_alerts->last().text.startsWith(QStringLiteral("dud合同下载失败：")));
    QString path;
    QByteArray bytes;
    QCOMPARE(previewCalls(&path, &bytes), 0);
    QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
}

void TestSeperateDetail::contractLinkHandsOverContractAndListing()
{
    Page *page = openPage(commission());
    auto *link = page->findChild<QPushButton *>("contractLink");
    QCOMPARE(link->text(), QStringLiteral("WT-2024-5"));
    link->click();
    QVariantMap args;
    QCOMPARE(contractCalls(&args), 1);
    QCOMPARE(args.value("contractId").toString(), QStringLiteral("5"));
    QCOMPARE(args.value("contractNo").toString(), QStringLiteral("WT-2024-5"));
    QCOMPARE(args.value("houseId").toInt(), 41);
    QCOMPARE(args.value("entryId").toString(), QStringLiteral("71"));
    QCOMPARE(args.value("roleType").toInt(), int(WeiTuo));
}

void TestSeperateDetail::missingLibraries_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("message");

    QTest::newRow("no preview library") << kMissing << "dudLink" << QStringLiteral("缺少<房源本>组件！");
    QTest::newRow("no preview export") << kNoPreview << "dudLink" << QStringLiteral("pdfPreview 导出失败！");
    QTest::newRow("no contract library") << kMissing << "contractLink" << QStringLiteral("缺少<房源本>组件！");
    QTest::newRow("no contract export") << kNoPreview << "contractLink" << QStringLiteral("showContractDetail 导出失败！");
}

void TestSeperateDetail::missingLibraries()
{
    QFETCH(QString, library);
    QFETCH(QString, link);
    QFETCH(QString, message);

    Page *page = openPage(withPdfs(1, m_server.baseUrl()));
    page->setLibraries(library, library);
    page->findChild<QPushButton *>(link)->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{message});
    // Nothing is fetched for a contract that cannot be shown.
    QVERIFY(m_server.requestsTo("/files/1.pdf").isEmpty());
    QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
}

QTEST_MAIN(TestSeperateDetail)
#include "tst_seperatedetail.moc"
