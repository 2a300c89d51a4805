// The survey tab against a recording server: the record list with its pending mark, the
// photo groups and their counts, video playback or the transcoding notice, removing and
// uploading media with and without the edit right, saving a record's files into a folder
// under their group names, the role operations, and the review of a record directly or
// through the office approval flow.
#include "alertrecorder.h"
#include "datacenter.h"
#include "detail/mysalehousedetailwidget.h"
#include "detail/photos/housebookphotosaddwidget.h"
#include "detail/photos/housebookphotosonitemview.h"
#include "detail/photos/housebookphotostackwidget.h"
#include "detail/photos/housedetailsecondpagewidget.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "platform/siblinglibrary.h"
#include "recordingserver.h"
#include "testuser.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLibrary>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace HouseBookPhotos_Model;
using Page = HouseDetailSecondPageWidget;
using FormMap = QMap<QString, QString>;
using Holder = HouseMessage_DataSqlTable::XieZuoItemData;

namespace {

constexpr int kHouse = 31;
const QString kPlayer = QStringLiteral("qx_testplayer.dll");
const QString kReview = QStringLiteral("qx_testreview.dll");
const QString kNoEditRight = QStringLiteral("您没有编辑该房源图片的权限，如有需要请联系管理员开通对应权限！");
const QString kNoDownloadRight = QStringLiteral("您没有导出该房源图片的权限，如有需要请联系管理员开通对应权限！");
const QString kNothingToSave = QStringLiteral("该房源没有图片/视频资源以供下载！");

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

HouseMessage_DataSqlTable::HouseMessageData listing(const Holder &shikan = Holder())
{
    HouseMessage_DataSqlTable::HouseMessageData l;
    l.id = kHouse;
    l.userphone = QStringLiteral("13900000009");  // another agent's listing
    l.deptid = 10;
    l.shikanren = shikan;
    return l;
}

Photo photo(int type, const QString &url)
{
    Photo p;
    p.id = url.section(QLatin1Char('/'), -1);
    p.url = url;
    p.type = type;
    return p;
}

Video video(const QString &url, bool ready)
{
    Video v;
    v.id = QStringLiteral("v1");
    v.url = url;
    v.ready = ready;
    return v;
}

DataItem record(const QString &id, int state, bool oa = false)
{
    DataItem r;
    r.id = id;
    r.xiezuoid = QStringLiteral("x") + id;
    r.username = QStringLiteral("实勘") + id;
    r.userphone = QStringLiteral("13900000008");
    r.time = QStringLiteral("2024-05-01 10:00");
    r.state = state;
    r.oa = oa;
    return r;
}

void signIn(const QList<int> &rights)
{
    TestUser user;
    if (!rights.isEmpty())
        user.grant(rights, 1);
    HostFixture::signInAs(user);
}

template <typename Fn>
Fn testExport(const QString &library, const char *name)
{
    return reinterpret_cast<Fn>(QLibrary(SiblingLibrary::filePath(library)).resolve(name));
}

int playerCalls(QString *url, QString *title)
{
    using Last = int (*)(QString *, QString *, int *, int *);
    int width = 0, height = 0;
    auto last = testExport<Last>(kPlayer, "lastPlayerCall");
    return last ? last(url, title, &width, &height) : -1;
}

int reviewCalls(int *houseId, QString *recordId)
{
    using Last = int (*)(int *, QString *);
    auto last = testExport<Last>(kReview, "lastReviewCall");
    return last ? last(houseId, recordId) : -1;
}

} // namespace

class TestSurveyPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void recordListMarksPendingAndKeepsChoice();
    void groupsCountEachCategory();
    void collectedPictures_data();
    void collectedPictures();
    void thumbnailMenuReportsChoice();
    void videoPlaysOnlyWhenReady_data();
    void videoPlaysOnlyWhenReady();
    void deleteNeedsEditRight_data();
    void deleteNeedsEditRight();
    void videoUploadPostsFileAndReloads();
    void downloadRefusals_data();
    void downloadRefusals();
    void downloadNamesFilesByGroup();
    void roleOperationsWithoutHolder_data();
    void roleOperationsWithoutHolder();
    void roleOperationsWithHolder();
    void reviewPostsStateAndRemark();
    void oaReview_data();
    void oaReview();
    void surveyTabFollowsListing();
    void submittedSetShowsOwnRecordAndListing();

private:
    QList<RecordingServer::Request> waitFor(const QString &url, int count = 1);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestSurveyPage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().fd_ShikanShenpi.startsWith(m_server.baseUrl()));
}

void TestSurveyPage::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
}

void TestSurveyPage::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

QList<RecordingServer::Request> TestSurveyPage::waitFor(const QString &url, int count)
{
    const QString path = pathOf(url);
    if (!QTest::qWaitFor([&] { return m_server.requestsTo(path).size() >= count; }))
        qWarning() << "no request to" << path;
    return m_server.requestsTo(path);
}

void TestSurveyPage::recordListMarksPendingAndKeepsChoice()
{
    HouseBookPhotoStackWidget stack;
    stack.setListing(listing());
    // Before any record arrives the listing's page is already shown.
    auto *pages = stack.findChild<QStackedWidget *>("photoPageStack");
    QVERIFY(qobject_cast<Page *>(pages->currentWidget()));
    stack.dealData({record("1", 1), record("2", 0), record("3", 2)});
    QListWidget *list = stack.recordList();
    QCOMPARE(list->count(), 3);
    QStringList labels;
    for (int row = 0; row < list->count(); ++row)
        labels << qobject_cast<QLabel *>(list->itemWidget(list->item(row)))->text();
    QVERIFY(labels.at(0).contains(QStringLiteral("实勘1")) && !labels.at(0).contains(QStringLiteral("(待审核)")));
    QVERIFY(labels.at(1).contains(QStringLiteral("<span style=\"color:red\">(待审核)</span>")));
    QVERIFY(!labels.at(2).contains(QStringLiteral("(待审核)")));

    list->setCurrentRow(2);
    QCOMPARE(stack.getPhotoShowView()->record().id, QStringLiteral("3"));
    // A reload in another order keeps the chosen record; one without it falls back to the first.
    stack.dealData({record("3", 2), record("1", 1)});
    QCOMPARE(stack.getPhotoShowView()->record().id, QStringLiteral("3"));
    QCOMPARE(list->currentRow(), 0);
    stack.dealData({record("4", 0)});
    QCOMPARE(stack.getPhotoShowView()->record().id, QStringLiteral("4"));
    stack.dealData({});
    QVERIFY(stack.getPhotoShowView()->record().id.isEmpty());
    QCOMPARE(list->count(), 0);
}

void TestSurveyPage::groupsCountEachCategory()
{
    DataItem r = record("1", 1);
    r.photos = {photo(FloorPlan, "http://a/1.jpg"), photo(FloorPlan, "http://a/2.jpg"), photo(Kitchen, "http://a/3.jpg"),
                photo(DiningRoom, "http://a/4.jpg"), photo(7, "http://a/5.jpg"), photo(Other, "http://a/6.jpg"),
                photo(Outside, "http://a/7.jpg")};
    r.videos = {video("http://a/v.mp4", true)};
    Video vr;
    vr.url = QStringLiteral("http://a/vr.html");
    Page page;
    page.setData(listing(), r, {vr, vr});
    QCOMPARE(page.groupTitles(),
             (QStringList{"房源视频(1)", "VR(2)", "户型图(2)", "厨房图(1)", "客厅图(0)", "餐厅图(1)", "卧室图(0)",
                          "卫生间(0)", "室外图(1)", "其他(1)"}));
    QCOMPARE(page.findChildren<HouseBookPhotoSonItemView *>().size(), 6 + 1 + 2);  // type 7 has no place

    page.setData(listing(), DataItem(), {});
    QCOMPARE(page.groupTitles().first(), QStringLiteral("房源视频(0)"));
    QCOMPARE(page.findChildren<HouseBookPhotoSonItemView *>().size(), 0);
}

void TestSurveyPage::collectedPictures_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("collected");
    const QString port = QString::number(m_server.port());
    QTest::newRow("upload host") << QStringLiteral("http://127.0.0.1:%1/files/photos/1.jpg").arg(port) << false;
    QTest::newRow("same port, other host name") << QStringLiteral("http://localhost:%1/files/photos/1.jpg").arg(port) << true;
    QTest::newRow("alliance picture host") << "http://IMG.example.invalid/p/1.jpg" << false;
    QTest::newRow("another site") << "https://pic.other.test/a.jpg" << true;
    QTest::newRow("local file") << "/tmp/a.jpg" << false;
    QTest::newRow("empty") << "" << false;
}

void TestSurveyPage::collectedPictures()
{
    QFETCH(QString, url);
    QFETCH(bool, collected);
    HouseBookPhotoSonItemView item(url, QString());
    QCOMPARE(item.isCollected(), collected);
    QCOMPARE(!item.findChild<QLabel *>("label_collected")->isHidden(), collected);
}

void TestSurveyPage::thumbnailMenuReportsChoice()
{
    HouseBookPhotoSonItemView item("http://a/1.jpg", QString());
    QSignalSpy chosen(&item, &HouseBookPhotoSonItemView::operatesClick);
    QStringList texts;
    for (QAction *action : item.menu()->actions())
        texts << action->text();
    QCOMPARE(texts, (QStringList{"查看大图", "下载", "删除"}));
    item.menu()->actions().at(2)->trigger();
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().toString(), QStringLiteral("删除"));
    QVERIFY(!HouseBookPhotoSonItemView("http://a/vr.png", QString(), {}).menu());
}

void TestSurveyPage::videoPlaysOnlyWhenReady_data()
{
    QTest::addColumn<bool>("ready");
    QTest::newRow("transcoding") << false;
    QTest::newRow("ready") << true;
}

void TestSurveyPage::videoPlaysOnlyWhenReady()
{
    QFETCH(bool, ready);
    Page page;
    page.setLibraries(kPlayer, kReview);
    QString url, title;
    const int before = playerCalls(&url, &title);
    page.playVideo(video(QStringLiteral("http://media.test/v 1.mp4"), ready));
    if (!ready) {
        QTRY_COMPARE(m_alerts->texts(), QStringList{"视频正在转码审核中，请稍后观看！"});
        QCOMPARE(playerCalls(&url, &title), before);
        return;
    }
    QCOMPARE(playerCalls(&url, &title), before + 1);
    QCOMPARE(url, QStringLiteral("http://media.test/v 1.mp4"));
    QCOMPARE(title, QStringLiteral("视频播放"));
    QCOMPARE(m_alerts->count(), 0);
}

void TestSurveyPage::deleteNeedsEditRight_data()
{
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<bool>("video");
    QTest::newRow("no right") << QList<int>{7} << false;
    QTest::newRow("photo") << QList<int>{10} << false;
    QTest::newRow("video") << QList<int>{10} << true;
}

void TestSurveyPage::deleteNeedsEditRight()
{
    QFETCH(QList<int>, rights);
    QFETCH(bool, video);
    signIn(rights);
    Page page;
    page.setData(listing(), record("12", 1), {});
    QSignalSpy reload(&page, &Page::refreshList);
    const QString url = QStringLiteral("http://127.0.0.1/files/photos/a b.jpg");
    page.deleteMedia(url, video);
    if (!rights.contains(10)) {
        QTRY_COMPARE(m_alerts->texts(), QStringList{kNoEditRight});
        QCOMPARE(m_server.requestCount(), 0);
        return;
    }
    const QString endpoint = video ? Endpoints::instance().fd_hbvoddel : Endpoints::instance().fd_hbpicturedel;
    const auto sent = waitFor(endpoint);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().form,
             (FormMap{{"isvideo", video ? "1" : "0"}, {"shikaneditid", "12"}, {"photoName", url}, {"lianmai", "1"}}));
    QTRY_COMPARE(reload.count(), 1);
}

void TestSurveyPage::videoUploadPostsFileAndReloads()
{
    signIn({10});
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("clip.mp4"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QByteArray(64 * 1024, 'v'));
    out.close();
    m_server.setReply(pathOf(Endpoints::instance().fd_uploadvod),
                      RecordingServer::envelope(200, QJsonObject{{"id", 5}, {"url", "http://127.0.0.1/v/5.mp4"}, {"status", 0}}));
    Page page;
    page.setData(listing(), record("12", 1), {});
    QSignalSpy processing(page.service(), &SurveyService::uploadProcessing);
    QSignalSpy uploaded(page.service(), &SurveyService::videoUploaded);
    QSignalSpy reload(&page, &Page::refreshList);
    page.uploadVideo(file);
    QTRY_COMPARE(reload.count(), 1);
    QCOMPARE(uploaded.first().first().toString(), QStringLiteral("http://127.0.0.1/v/5.mp4"));
    QCOMPARE(processing.count(), 1);
    const auto sent = m_server.requestsTo(pathOf(Endpoints::instance().fd_uploadvod));
    QCOMPARE(sent.size(), 1);
    QMap<QString, QByteArray> parts;
    for (const auto &part : sent.first().parts)
        parts.insert(part.name, part.body);
    QCOMPARE(parts.value("houseid"), QByteArray("31"));
    QCOMPARE(parts.value("shikaneditid"), QByteArray("12"));
    QCOMPARE(parts.value("file").size(), 64 * 1024);
}

void TestSurveyPage::downloadRefusals_data()
{
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<bool>("withPhotos");
    QTest::addColumn<QString>("text");
    QTest::newRow("no right") << QList<int>{10} << true << kNoDownloadRight;
    QTest::newRow("nothing to save") << QList<int>{7} << false << kNothingToSave;
}

// Both refusals come before the folder dialog would open.
void TestSurveyPage::downloadRefusals()
{
    QFETCH(QList<int>, rights);
    QFETCH(bool, withPhotos);
    QFETCH(QString, text);
    signIn(rights);
    DataItem r = record("12", 1);
    if (withPhotos)
        r.photos = {photo(FloorPlan, "http://a/1.jpg")};
    Page page;
    page.setData(listing(), r, {});
    page.findChild<QPushButton *>("pushButton_download")->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{text});
}

void TestSurveyPage::downloadNamesFilesByGroup()
{
    signIn({7});
    const QMap<QString, QByteArray> served{{"/files/plan-a.jpg", "plan a"}, {"/files/plan-b.JPG", "plan b"},
                                           {"/files/kitchen.png", "kitchen"}, {"/files/clip", "video"}};
    for (auto it = served.cbegin(); it != served.cend(); ++it)
        m_server.setReply(it.key(), RecordingServer::raw(it.value(), 200, QStringLiteral("image/jpeg")));
    DataItem r = record("12", 1);
    r.photos = {photo(Kitchen, m_server.url("/files/kitchen.png")), photo(FloorPlan, m_server.url("/files/plan-a.jpg")),
                photo(FloorPlan, m_server.url("/files/plan-b.JPG"))};
    r.videos = {video(m_server.url("/files/clip"), true)};
    QTemporaryDir folder;
    QFile taken(folder.filePath(QStringLiteral("厨房图1.png")));  // a name already taken is not overwritten
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.write("older");
    taken.close();

    Page page;
    page.setData(listing(), r, {});
    page.downloadAllTo(folder.path());
    QTRY_COMPARE(m_alerts->texts(), QStringList{"房源图片下载成功！"});
    QDir dir(folder.path());
    QCOMPARE(dir.entryList(QDir::Files, QDir::Name),
             (QStringList{"厨房图1(2).png", "厨房图1.png", "户型图1.jpg", "户型图2.jpg", "房源视频1.mp4"}));
    const auto bytes = [&](const QString &name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QCOMPARE(bytes("户型图1.jpg"), QByteArray("plan a"));
    QCOMPARE(bytes("户型图2.jpg"), QByteArray("plan b"));
    QCOMPARE(bytes("厨房图1(2).png"), QByteArray("kitchen"));
    QCOMPARE(bytes("厨房图1.png"), QByteArray("older"));
    QCOMPARE(bytes("房源视频1.mp4"), QByteArray("video"));
}

void TestSurveyPage::roleOperationsWithoutHolder_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("release") << "pushButton_release_3" << "当前无操作人，不支持移除！";
    QTest::newRow("report") << "pushButton_report_5" << "当前无操作人，不支持举报！";
}

void TestSurveyPage::roleOperationsWithoutHolder()
{
    QFETCH(QString, button);
    QFETCH(QString, text);
    Page page;
    page.setData(listing(), record("12", 1), {});
    QSignalSpy report(&page, &Page::reportRequested);
    page.findChild<QPushButton *>(button)->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{text});
    QCOMPARE(report.count(), 0);
    QCOMPARE(m_server.requestCount(), 0);
}

void TestSurveyPage::roleOperationsWithHolder()
{
    Holder holder;
    holder.name = QStringLiteral("赵六");
    holder.phone = QStringLiteral("13900000007");
    holder.review = true;
    holder.data = {{"id", 77}, {"name", holder.name}};
    Page page;
    page.setData(listing(holder), record("12", 1), {});
    QCOMPARE(page.findChild<QLabel *>("label_role_3")->text(), QStringLiteral("实勘人：赵六"));
    QSignalSpy report(&page, &Page::reportRequested);
    QSignalSpy reload(&page, &Page::refreshList);

    page.findChild<QPushButton *>("pushButton_report_3")->click();
    QCOMPARE(report.count(), 1);
    QCOMPARE(report.first().first().toInt(), 3);

    page.findChild<QPushButton *>("pushButton_release_3")->click();
    QTRY_VERIFY(m_alerts->openBox());
    QCOMPARE(m_alerts->last().text, QStringLiteral("您确定解除该项操作人吗？"));
    m_alerts->openBox()->answer(AlertWidget::Sure);
    auto sent = waitFor(Endpoints::instance().fd_JieChu);
    QCOMPARE(sent.first().form, (FormMap{{"type", "3"}, {"itemid", "31"}, {"lianmai", "1"}}));
    QTRY_COMPARE(reload.count(), 1);
    // The holders come with the listing, which the local store fetches again.
    QCOMPARE(waitFor(Endpoints::instance().app_SyncHousebookDetail).first().form.value("id"), QStringLiteral("31"));

    page.confirmAssign(3, {{"id", 501}, {"name", "王五"}, {"phone", "13900000005"}});
    QTRY_COMPARE(m_alerts->count(), 2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("你确定要将该房源的实勘人分配给王五<13900000005>吗？"));
    QVERIFY(m_alerts->last().buttons.contains(QStringLiteral("分配")));
    m_alerts->openBox()->answer(AlertWidget::Cancle);  // nothing is sent
    page.confirmAssign(3, {{"id", 501}, {"name", "王五"}, {"phone", "13900000005"}});
    QTRY_COMPARE(m_alerts->count(), 3);
    m_alerts->openBox()->answer(AlertWidget::Sure);
    sent = waitFor(Endpoints::instance().fd_Changeoperator);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().form,
             (FormMap{{"type", "3"}, {"houseid", "31"}, {"xiezuoid", "77"}, {"userid", "501"}, {"lianmai", "1"}}));
    QTRY_COMPARE(reload.count(), 2);
}

void TestSurveyPage::reviewPostsStateAndRemark()
{
    signIn({99});
    Page page;
    page.setData(listing(), record("12", 0), {});
    QVERIFY(!page.findChild<QPushButton *>("pushButton_pass")->isHidden());
    QVERIFY(page.findChild<QPushButton *>("pushButton_oa")->isHidden());
    page.findChild<QPushButton *>("pushButton_pass")->click();
    auto sent = waitFor(Endpoints::instance().fd_ShikanShenpi);
    QCOMPARE(sent.first().form,
             (FormMap{{"houseid", "31"}, {"shikanid", "12"}, {"xiezuoid", "x12"}, {"state", "1"}, {"lianmai", "1"}}));

    page.findChild<QPushButton *>("pushButton_refuse")->click();
    QWidget *box = nullptr;
    QTRY_VERIFY((box = page.findChild<QWidget *>("rejectReasonBox")));
    auto *reason = box->findChild<QPlainTextEdit *>("textEdit_reason");
    QVERIFY(reason);
    QCOMPARE(reason->placeholderText(), QStringLiteral("请输入驳回原因"));
    // A rejection without a reason tells the agent nothing: refused, the box stays.
    reason->setPlainText(QStringLiteral("  "));
    box->findChild<QPushButton *>("submitButton")->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{QStringLiteral("请输入驳回原因")});
    QVERIFY(page.findChild<QWidget *>("rejectReasonBox"));
    reason->setPlainText(QStringLiteral("客厅照片模糊 & 缺厨房"));
    box->findChild<QPushButton *>("submitButton")->click();
    sent = waitFor(Endpoints::instance().fd_ShikanShenpi, 2);
    QCOMPARE(sent.at(1).form.value("state"), QStringLiteral("2"));
    QCOMPARE(sent.at(1).form.value("remark"), QStringLiteral("客厅照片模糊 & 缺厨房"));

    signIn({7});  // without the review right the buttons stay hidden
    page.setData(listing(), record("12", 0), {});
    QVERIFY(page.findChild<QPushButton *>("pushButton_pass")->isHidden());
}

void TestSurveyPage::oaReview_data()
{
    QTest::addColumn<QJsonValue>("reply");
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");
    QTest::newRow("may not review") << QJsonValue(QJsonObject{{"cancheck", 0}}) << kReview << "您没有权限审核该OA申请！" << false;
    QTest::newRow("may review, number as text") << QJsonValue(QJsonObject{{"cancheck", "1"}}) << kReview << "" << true;
    QTest::newRow("library missing") << QJsonValue(QJsonObject{{"cancheck", 1}}) << "qx_nosuchreview.dll"
                                     << "缺少<qx_nosuchreview>组件！" << false;
}

void TestSurveyPage::oaReview()
{
    QFETCH(QJsonValue, reply);
    QFETCH(QString, library);
    QFETCH(QString, text);
    QFETCH(bool, shown);
    m_server.setReply(pathOf(Endpoints::instance().apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck),
                      RecordingServer::envelope(200, reply));
    Page page;
    page.setLibraries(kPlayer, library);
    page.setData(listing(), record("12", 0, true), {});
    QVERIFY(!page.findChild<QPushButton *>("pushButton_oa")->isHidden());
    int house = 0;
    QString recordId;
    const int before = reviewCalls(&house, &recordId);
    QSignalSpy answered(page.service(), &SurveyService::canCheckAnswered);
    page.findChild<QPushButton *>("pushButton_oa")->click();
    const auto sent = waitFor(Endpoints::instance().apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck);
    QCOMPARE(sent.first().form, (FormMap{{"houseid", "31"}, {"shikanid", "12"}, {"lianmai", "1"}}));
    QTRY_COMPARE(answered.count(), 1);
    if (!text.isEmpty())
        QTRY_COMPARE(m_alerts->texts(), QStringList{text});
    QCOMPARE(reviewCalls(&house, &recordId), before + (shown ? 1 : 0));
    if (shown) {
        QCOMPARE(house, kHouse);
        QCOMPARE(recordId, QStringLiteral("12"));
    }
}

void TestSurveyPage::surveyTabFollowsListing()
{
    MySaleHouseDetailWidget window(nullptr, MySaleHouseDetailWidget::SurveyTab, 1);
    auto *stack = qobject_cast<HouseBookPhotoStackWidget *>(window.tabPage(MySaleHouseDetailWidget::SurveyTab));
    QVERIFY(stack);
    window.houseDataDeal(listing(), kHouse, true, false);
    QCOMPARE(stack->listing().id, kHouse);
    auto other = listing();
    other.id = kHouse + 1;
    window.houseDataDeal(other, other.id, true, false);
    QCOMPARE(stack->listing().id, kHouse + 1);
}

// Photos submitted while another agent's record is shown become the agent's own record: the
// reload shows hers rather than the one chosen before, and the listing is fetched again so
// its photo count follows.
void TestSurveyPage::submittedSetShowsOwnRecordAndListing()
{
    signIn({10});
    const QString records = pathOf(Endpoints::instance().fd_HousePhotoNavigation);
    const QJsonObject other{{"id", 1}, {"userphone", "13900000008"}, {"state", 1}};
    m_server.setReply(records, RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray{other}}}));
    HouseBookPhotoStackWidget stack;
    stack.setListing(listing());
    QTRY_COMPARE(stack.records().size(), 1);

    const QJsonObject own{{"id", "9"}, {"userphone", DataCenter::UserPhoneNumber}, {"state", 1}};
    m_server.setReply(records, RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray{own, other}}}));
    stack.getPhotoShowView()->findChild<QPushButton *>("pushButton_editPhotos")->click();
    auto *editor = stack.findChild<HouseBookPhotosAddWidget *>();
    QVERIFY(editor);
    emit editor->addSuccess();
    QTRY_COMPARE(stack.records().size(), 2);
    QCOMPARE(stack.getPhotoShowView()->record().id, QStringLiteral("9"));
    QCOMPARE(waitFor(Endpoints::instance().app_SyncHousebookDetail).value(0).form.value("id"), QString::number(kHouse));
}

QTEST_MAIN(TestSurveyPage)
#include "tst_surveypage.moc"
