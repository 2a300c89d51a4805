// The photo submission window against a recording server: the refusals of a submit in
// their order, the category counts and tagging, uploads before the post with the answered
// addresses in place, a failed upload that keeps the agent's work and resumes, removed
// stored photos, the first-use notice per user and the notice of a self-approved set.
#include "alertrecorder.h"
#include "detail/photos/housebookphotoedititemview.h"
#include "detail/photos/housebookphotosaddwidget.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "net/photocompression.h"
#include "recordingserver.h"
#include "sql/configdatasettings.h"
#include "widgets/thumbnailview.h"
#include "datacenter.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace {

constexpr int kHouse = 77;
const QString kNotice = QStringLiteral("选中标签后单击下方图片，给图片添加标签，添加完成后点击提交完成添加。");

QString pathOf(const QString &url) { return QUrl(url).path(); }
QString uploadPath() { return pathOf(Endpoints::instance().photoUpload); }
QString addPath() { return pathOf(Endpoints::instance().fd_hbpictureadd); }

RecordingServer::Reply standard(int floorPlans)
{
    QJsonArray rules{QJsonObject{{"type", 1}, {"count", floorPlans}, {"choose", floorPlans > 0}},
                     QJsonObject{{"type", "2"}, {"count", "3"}, {"choose", false}}};
    return RecordingServer::envelope(200, QJsonObject{{"rules", rules}, {"shikancontent", "横拍"}});
}

RecordingServer::Reply stored(const QJsonArray &photos, int recordId = 0)
{
    return RecordingServer::envelope(200, QJsonObject{{"id", recordId}, {"list", photos}});
}

// The upload answers its address in the message.
RecordingServer::Reply uploaded(const QString &url)
{
    return RecordingServer::envelope(200, QJsonObject{{"url", url}}, url);
}

QList<HouseBookPhotoEditItemView *> items(QWidget *w)
{
    return w->findChildren<HouseBookPhotoEditItemView *>();
}

void clickPhoto(HouseBookPhotoEditItemView *item, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(item->picture(), button);
}

} // namespace

class TestPhotosAddWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void submitRefusals_data();
    void submitRefusals();
    void categoryCountsAndTagging();
    void uploadsThenPostsWithAddresses();
    void failedUploadKeepsWorkAndResumes();
    void removedStoredPhotosAreSent();
    void firstNoticePerUser();

private:
    HouseBookPhotosAddWidget *open(int floorPlans = 0, const QJsonArray &base = {}, int recordId = 0);
    // Adds n small pictures through the chooser; with wait, until their compressions are done.
    void addLocal(HouseBookPhotosAddWidget *w, int n, bool wait = true);
    QJsonArray postedPhotos() const;

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QScopedPointer<HouseBookPhotosAddWidget> m_window;
    QTemporaryDir m_files;
    int m_fileCount = 0;
};

void TestPhotosAddWidget::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().photoUpload.startsWith(m_server.baseUrl()));
    PhotoCompression::setCacheRoot(m_files.path());
}

void TestPhotosAddWidget::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    // The first-use notice has its own test.
    ConfigDataSettings::setValue(DataCenter::UserPhoneNumber, HouseBookPhotosAddWidget::noticeKey(), "1");
    m_server.setReply(addPath(), RecordingServer::envelope(200, QJsonObject{{"id", 9}, {"pass", 0}}));
}

void TestPhotosAddWidget::cleanup()
{
    m_window.reset();
    m_alerts.reset();
    m_host.reset();
}

HouseBookPhotosAddWidget *TestPhotosAddWidget::open(int floorPlans, const QJsonArray &base, int recordId)
{
    m_server.setReply(pathOf(Endpoints::instance().fd_getfendanguize), standard(floorPlans));
    m_server.setReply(pathOf(Endpoints::instance().fd_photonavigation), stored(base, recordId));
    HouseMessage_DataSqlTable::HouseMessageData listing;
    listing.id = kHouse;
    listing.name = QStringLiteral("天鹅湖小区");
    listing.shikanren.name = QStringLiteral("王五");
    listing.shikanren.phone = QStringLiteral("13900000009");
    m_window.reset(new HouseBookPhotosAddWidget(listing, QString()));
    m_window->show();
    // Both loads answered (a test that depends on them checks what they brought).
    const bool ready = QTest::qWaitFor([this, &base] {
        return m_window->findChild<QLabel *>("shikancontentLabel")->text() == QStringLiteral("实勘标准：横拍")
               && m_window->photos().size() == base.size();
    });
    if (!ready)
        qWarning("the window's loads did not arrive");
    return m_window.data();
}

void TestPhotosAddWidget::addLocal(HouseBookPhotosAddWidget *w, int n, bool wait)
{
    QStringList paths;
    for (int k = 0; k < n; ++k) {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(qRgb(k * 5 % 256, 120, 200));
        paths << m_files.filePath(QStringLiteral("p%1.jpg").arg(m_fileCount++));
        QVERIFY(image.save(paths.last(), "JPEG"));
    }
    const int before = w->photos().size();
    w->setFileChooser([paths](QWidget *, const QString &title, const QString &, const QString &filter) {
        return title == QStringLiteral("选取房源图片") && filter.contains("*.jpeg") ? paths : QStringList();
    });
    w->choosePhotos();
    if (wait) {
        QTRY_COMPARE(w->runningCompressions(), 0);
        QTRY_COMPARE(w->photos().size(), before + n);
    }
}

QJsonArray TestPhotosAddWidget::postedPhotos() const
{
    const QList<RecordingServer::Request> posts = m_server.requestsTo(addPath());
    return posts.isEmpty() ? QJsonArray() : QJsonDocument::fromJson(posts.last().form.value("photos").toUtf8()).array();
}

void TestPhotosAddWidget::submitRefusals_data()
{
    QTest::addColumn<int>("photos");
    QTest::addColumn<bool>("compressing");
    QTest::addColumn<int>("required");
    QTest::addColumn<int>("floorPlans");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no photo") << 0 << false << 0 << 0 << "请至少选择一张图片";
    QTest::newRow("no photo beats compression") << 0 << true << 0 << 0 << "请至少选择一张图片";
    QTest::newRow("compression running") << 1 << true << 0 << 0 << "正在处理图片，请稍等！";
    QTest::newRow("41 photos") << 41 << false << 0 << 0 << "图片上传最多40张！";
    QTest::newRow("41 beats the standard") << 41 << false << 2 << 0 << "图片上传最多40张！";
    QTest::newRow("standard of 2 floor plans, 1 tagged") << 3 << false << 2 << 1 << "户型图:至少选择2张";
    QTest::newRow("standard met") << 3 << false << 2 << 2 << "";
    QTest::newRow("40 photos") << 40 << false << 0 << 0 << "";
}

void TestPhotosAddWidget::submitRefusals()
{
    QFETCH(int, photos);
    QFETCH(bool, compressing);
    QFETCH(int, required);
    QFETCH(int, floorPlans);
    QFETCH(QString, refusal);
    HouseBookPhotosAddWidget *w = open(required);
    if (photos > 0)
        addLocal(w, photos);
    w->getPhoto(1);
    for (int k = 0; k < floorPlans; ++k)
        clickPhoto(items(w).at(k));
    if (compressing)
        addLocal(w, 1, false);  // its worker has not answered yet
    m_server.setReply(uploadPath(), uploaded(m_server.baseUrl() + "/files/photos/1.jpg"));
    w->findChild<QPushButton *>("submitButton")->click();
    if (refusal.isEmpty()) {
        QTRY_COMPARE(m_server.requestsTo(addPath()).size(), 1);
        QCOMPARE(m_server.requestsTo(uploadPath()).size(), photos);
        QVERIFY(m_alerts->texts().isEmpty());
    } else {
        QTRY_COMPARE(m_alerts->texts(), QStringList{refusal});
        QCOMPARE(m_server.requestsTo(uploadPath()).size(), 0);
    }
}

// Counts follow every change; a type no category owns is counted nowhere.
void TestPhotosAddWidget::categoryCountsAndTagging()
{
    QJsonArray base;
    for (const QJsonValue &type : {QJsonValue(1), QJsonValue("1"), QJsonValue(7), QJsonValue(0), QJsonValue(8)})
        base.append(QJsonObject{{"id", base.size() + 1}, {"url", "https://img.example/a.jpg"}, {"type", type}});
    HouseBookPhotosAddWidget *w = open(0, base);
    auto label = [w](int type) { return w->findChild<QPushButton *>(QStringLiteral("categoryButton_%1").arg(type))->text(); };
    const QStringList all{label(1), label(2), label(3), label(4), label(5), label(6), label(0), label(8)};
    QCOMPARE(all, (QStringList{"户型图(2)", "厨房图(0)", "客厅图(0)", "卧室图(0)", "卫生间(0)", "室外图(0)", "其他(1)", "餐厅(1)"}));

    w->getPhoto(3);
    clickPhoto(items(w).at(2));  // the type 7 photo becomes a living room
    QCOMPARE(label(3), QStringLiteral("客厅图(1)"));
    clickPhoto(items(w).at(0));
    QCOMPARE(label(1), QStringLiteral("户型图(1)"));
    QCOMPARE(label(3), QStringLiteral("客厅图(2)"));
    clickPhoto(items(w).at(1), Qt::RightButton);  // ends tagging
    QCOMPARE(w->currentType(), -1);
    clickPhoto(items(w).at(1));
    QCOMPARE(label(1), QStringLiteral("户型图(1)"));
}

void TestPhotosAddWidget::uploadsThenPostsWithAddresses()
{
    const QString storedUrl = QStringLiteral("https://img.example/stored.jpg");
    HouseBookPhotosAddWidget *w = open(0, {QJsonObject{{"id", "5"}, {"url", storedUrl}, {"type", 1}, {"title", "户型"}}}, 31);
    addLocal(w, 2);
    m_server.queueReply(uploadPath(), uploaded(m_server.baseUrl() + "/files/photos/1.jpg"));
    m_server.queueReply(uploadPath(), uploaded(m_server.baseUrl() + "/files/photos/2.jpg"));
    m_server.setReply(addPath(), RecordingServer::envelope(200, QJsonObject{{"id", 31}, {"pass", "1"}}));
    QSignalSpy added(w, &HouseBookPhotosAddWidget::addSuccess);
    w->getPhoto(4);
    clickPhoto(items(w).at(2));
    w->click();
    QTRY_COMPARE(m_server.requestsTo(addPath()).size(), 1);

    QStringList order;
    for (const RecordingServer::Request &r : m_server.requests())
        if (r.path == uploadPath() || r.path == addPath())
            order << r.path;
    QCOMPARE(order, (QStringList{uploadPath(), uploadPath(), addPath()}));
    const QMap<QString, QString> form = m_server.requestsTo(addPath()).first().form;
    QCOMPARE(form.value("houseid"), QString::number(kHouse));
    QCOMPARE(form.value("shikaneditid"), QStringLiteral("31"));
    QCOMPARE(form.value("xiaoquname"), QStringLiteral("天鹅湖小区"));
    QCOMPARE(QJsonDocument::fromJson(form.value("shikan").toUtf8()).object().value("phone").toString(), QStringLiteral("13900000009"));
    QCOMPARE(form.value("lianmai"), QStringLiteral("1"));
    const QJsonArray photos = postedPhotos();
    QCOMPARE(photos.size(), 3);
    QCOMPARE(photos.at(0).toObject().value("url").toString(), storedUrl);
    QCOMPARE(photos.at(1).toObject().value("url").toString(), m_server.baseUrl() + "/files/photos/1.jpg");
    QCOMPARE(photos.at(2).toObject().value("url").toString(), m_server.baseUrl() + "/files/photos/2.jpg");
    QCOMPARE(photos.at(2).toObject().value("type").toInt(), 4);

    QLabel *notice = nullptr;
    const auto findNotice = [&notice] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("approvalNotice") && top->isVisible())
                notice = qobject_cast<QLabel *>(top);
        return notice != nullptr;
    };
    QTRY_VERIFY(findNotice());
    QCOMPARE(notice->text(), QStringLiteral("您拥有当前操作的审批权限，系统已为您自动审批通过。"));
    QVERIFY(added.isEmpty());  // the notice is read first
    QVERIFY(added.wait(10000));
}

void TestPhotosAddWidget::failedUploadKeepsWorkAndResumes()
{
    HouseBookPhotosAddWidget *w = open();
    addLocal(w, 3);
    w->getPhoto(2);
    clickPhoto(items(w).at(0));
    m_server.queueReply(uploadPath(), RecordingServer::raw("broken", 500));
    m_server.queueReply(uploadPath(), uploaded(m_server.baseUrl() + "/files/photos/12.jpg"));
    m_server.queueReply(uploadPath(), uploaded(m_server.baseUrl() + "/files/photos/13.jpg"));
    auto *submit = w->findChild<QPushButton *>("submitButton");
    submit->click();
    QTRY_COMPARE(m_server.requestsTo(uploadPath()).size(), 3);
    QTRY_VERIFY(submit->isEnabled());
    QTRY_VERIFY(!m_alerts->texts().isEmpty());
    QCOMPARE(m_server.requestsTo(addPath()).size(), 0);
    QVERIFY(items(w).at(0)->isUploadFailed());
    QVERIFY(!items(w).at(1)->isUploadFailed());
    QCOMPARE(w->photos().size(), 3);
    QCOMPARE(w->photos().at(0).toMap().value("type").toInt(), 2);
    QVERIFY(!w->photos().at(0).toMap().value("url").toString().startsWith("http"));

    m_server.queueReply(uploadPath(), uploaded(m_server.baseUrl() + "/files/photos/14.jpg"));
    submit->click();
    QTRY_COMPARE(m_server.requestsTo(addPath()).size(), 1);
    QCOMPARE(m_server.requestsTo(uploadPath()).size(), 4);
    QVERIFY(!items(w).at(0)->isUploadFailed());
    const QJsonArray photos = postedPhotos();
    QCOMPARE(photos.at(0).toObject().value("url").toString(), m_server.baseUrl() + "/files/photos/14.jpg");
    QCOMPARE(photos.at(0).toObject().value("type").toInt(), 2);
    QCOMPARE(photos.at(1).toObject().value("url").toString(), m_server.baseUrl() + "/files/photos/12.jpg");
}

void TestPhotosAddWidget::removedStoredPhotosAreSent()
{
    const QJsonArray base{QJsonObject{{"id", 11}, {"url", "https://img.example/a.jpg"}, {"type", 1}},
                          QJsonObject{{"id", "12"}, {"url", "https://img.example/b.jpg"}, {"type", 3}},
                          QJsonObject{{"id", 13}, {"url", "https://img.example/c.jpg"}, {"type", 3}}};
    HouseBookPhotosAddWidget *w = open(0, base);
    addLocal(w, 1);
    items(w).at(0)->findChild<QPushButton *>("deleteButton")->click();
    w->deletePhotoAgainLayout(items(w).at(3));  // the new photo: nothing to tell the server
    QTRY_COMPARE(items(w).size(), 2);
    QCOMPARE(w->findChild<QPushButton *>("categoryButton_1")->text(), QStringLiteral("户型图(0)"));
    w->click();
    QTRY_COMPARE(m_server.requestsTo(addPath()).size(), 1);
    QCOMPARE(m_server.requestsTo(addPath()).first().form.value("photodels"), QStringLiteral("11"));
    QCOMPARE(m_server.requestsTo(addPath()).first().form.value("photodelurls"), QStringLiteral("https://img.example/a.jpg"));
    QCOMPARE(postedPhotos().size(), 2);
    QCOMPARE(m_server.requestsTo(uploadPath()).size(), 0);
}

void TestPhotosAddWidget::firstNoticePerUser()
{
    const QString first = DataCenter::UserPhoneNumber;
    ConfigDataSettings::setValue(first, HouseBookPhotosAddWidget::noticeKey(), QString());
    open();
    QTRY_COMPARE(m_alerts->texts(), QStringList{kNotice});
    QCOMPARE(m_alerts->last().buttons, (QStringList{"不再提醒", "我知道了"}));
    m_alerts->openBox()->answer(AlertWidget::Cancle);
    QCOMPARE(ConfigDataSettings::value(first, HouseBookPhotosAddWidget::noticeKey()), QStringLiteral("1"));

    m_alerts->clear();
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    open();
    QCOMPARE(AlertRecorder::liveBoxes(), 0);

    DataCenter::UserPhoneNumber = QStringLiteral("13700000077");
    open();
    QTRY_COMPARE(m_alerts->texts(), QStringList{kNotice});
    m_alerts->openBox()->answer(AlertWidget::Sure);  // "我知道了" asks again next time
    QVERIFY(ConfigDataSettings::value(DataCenter::UserPhoneNumber, HouseBookPhotosAddWidget::noticeKey()).isEmpty());
}

QTEST_MAIN(TestPhotosAddWidget)
#include "tst_photosaddwidget.moc"
