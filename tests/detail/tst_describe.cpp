// The promotion tab: the rules of the facts editor, the "&" token both ways, the photo limit
// and collected pictures of the promotion editor, the forms both editors post, evaluations
// with their confirmation and reload, and the simulator keeping what was saved.
#include "alertrecorder.h"
#include "alliancestore.h"
#include "detail/describe/describefacts.h"
#include "detail/describe/describephotoset.h"
#include "detail/describe/housedescribechoosephotoview.h"
#include "detail/describe/housebookdescribeevaluatewidget.h"
#include "detail/describe/housedescribemessageeditwidget.h"
#include "detail/describe/housedetaildescribeeditwidget.h"
#include "detail/describe/joinertext.h"
#include "detail/describe/salehousedetaildescribewidget.h"
#include "hostfixture.h"
#include "portal/housebookxinfulipushobject.h"
#include "recordingserver.h"
#include "services/describeservice.h"
#include "testuser.h"
#include "widgets/photopicker.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using Record = HouseMessage_DataSqlTable::HouseMessageData;

namespace {

Record listing(int id, bool rent = false)
{
    Record r;
    r.id = id;
    r.types = rent ? 1 : 0;
    r.userphone = QStringLiteral("13900000099");
    return r;
}

QJsonArray jsonArray(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).array();
}

} // namespace

class TestDescribe : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void factRules_data();
    void factRules();
    void joinerBothWays_data();
    void joinerBothWays();
    void thirtyFirstPhotoRefused();
    void collectedPictureRefused();
    void promotionEditorPosts();
    void factsEditorShowsAndPosts();
    void salePageShowsFactsAndSetsCover();
    void evaluationsAddAndDelete();
    void pushButtonsWaitForThePush_data();
    void pushButtonsWaitForThePush();
    void simulatorKeepsWhatWasSaved();

private:
    QString makeJpeg(const QString &name);

    RecordingServer m_server;
    QTemporaryDir m_files;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestDescribe::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestDescribe::init()
{
    m_host.reset(new HostFixture);
    HostFixture::signInAs(TestUser().jointSaleManager());
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
}

void TestDescribe::cleanup()
{
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    m_alerts.reset();
    m_host.reset();
}

QString TestDescribe::makeJpeg(const QString &name)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = m_files.filePath(name);
    image.save(path, "JPG");
    return path;
}

void TestDescribe::factRules_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("portalMode");
    QTest::addColumn<QString>("message");

    const QString title = QStringLiteral("房源标题：");
    QTest::newRow("title 9") << "title" << QString(9, QChar(0x623f)) << 0 << "房源标题不能少于10个字符！";
    QTest::newRow("title 10") << "title" << QString(10, QChar(0x623f)) << 0 << "";
    QTest::newRow("title 30") << "title" << QString(30, QChar(0x623f)) << 0 << "";
    QTest::newRow("title 31") << "title" << QString(31, QChar(0x623f)) << 0 << "房源标题不能大于30个字符！";
    QTest::newRow("title blank") << "title" << "   " << 0 << "请填写房源标题！";
    const QString commission = QStringLiteral("房屋佣金应保持在0.5-3.0之间");
    QTest::newRow("commission 3.0") << "yongjin" << "3.0" << 0 << "";
    QTest::newRow("commission 3.1") << "yongjin" << "3.1" << 0 << commission;
    QTest::newRow("commission 0.4") << "yongjin" << "0.4" << 0 << commission;
    QTest::newRow("commission empty") << "yongjin" << "" << 0 << "";
    QTest::newRow("commission unset") << "yongjin" << "-1" << 0 << "";
    QTest::newRow("commission 0") << "yongjin" << "0" << 0 << commission;
    QTest::newRow("commission 0, owner's own") << "yongjin" << "0" << 1 << "";
    QTest::newRow("commission 0.2, owner's own") << "yongjin" << "0.2" << 1 << commission;
    QTest::newRow("attitude empty") << "yezhuxintai" << "" << 0 << "";
    QTest::newRow("attitude 19") << "yezhuxintai" << QString(19, 'a') << 0 << "业主心态应该保持在20-300字以内";
    QTest::newRow("attitude 20") << "yezhuxintai" << QString(20, 'a') << 0 << "";
    QTest::newRow("details 301") << "describes" << QString(301, 'a') << 0 << "房源详情应该保持在20-300字以内";
    QTest::newRow("service 19") << "fuwujieshao" << QString(19, 'a') << 0 << "服务介绍应该保持在20-300字以内";
    QTest::newRow("inner area 9") << "taoneimianji" << "9" << 0 << "套内面积填写范围在10~5000以内";
    QTest::newRow("inner area 10") << "taoneimianji" << "10" << 0 << "";
    QTest::newRow("inner area 5000") << "taoneimianji" << "5000" << 0 << "";
    QTest::newRow("inner area 5001") << "taoneimianji" << "5001" << 0 << "套内面积填写范围在10~5000以内";
    QTest::newRow("7 tags") << "tags" << "7" << 0 << "房源标签最多添加6个";
    QTest::newRow("6 tags") << "tags" << "6" << 0 << "";
    QTest::newRow("58 community missing") << "community" << "" << 0 << "请选择58小区";
    QTest::newRow("58 community chosen") << "community" << "滨湖世纪城" << 0 << "";
}

// Each row varies one value of an otherwise valid set.
void TestDescribe::factRules()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, portalMode);
    QFETCH(QString, message);

    DescribeFacts::Check check;
    check.values.insert(QStringLiteral("title"), QStringLiteral("滨湖世纪城南北通透三室两厅"));
    check.portalMode = portalMode;
    if (key == QLatin1String("tags")) {
        check.tagCount = value.toInt();
    } else if (key == QLatin1String("community")) {
        check.portalCommunityRequired = true;
        check.portalCommunity = value;
    } else {
        check.values.insert(key, value);
    }
    QCOMPARE(DescribeFacts::firstProblem(check), message);
}

void TestDescribe::joinerBothWays_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << "三室两厅" << "三室两厅";
    QTest::newRow("one") << "学区[qx_joiner]地铁" << "学区&地铁";
    QTest::newRow("several") << "[qx_joiner]a[qx_joiner][qx_joiner]" << "&a&&";
}

void TestDescribe::joinerBothWays()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(JoinerText::shown(stored), shown);
    QCOMPARE(JoinerText::stored(shown), stored);
}

// A batch that would pass 30 photos keeps its first pictures; a full set does not even ask.
void TestDescribe::thirtyFirstPhotoRefused()
{
    Record r = listing(7, true);
    for (int i = 0; i < 29; ++i)
        r.describespicture << QVariantMap{{"url", m_server.url(QStringLiteral("/files/%1.jpg").arg(i))}, {"frist", i == 0}};
    HouseDetailDescribeEditWidget editor(r);
    DescribePhotoSet *set = editor.photoSet();
    int asked = 0;
    const QStringList files{makeJpeg("a.jpg"), makeJpeg("b.jpg")};
    set->picker()->setFileChooser([&](QWidget *, const QString &title, const QString &, const QString &filter) {
        ++asked;
        [&] {
            QCOMPARE(title, QStringLiteral("选取图片"));
            QCOMPARE(filter, QStringLiteral("Image Files(*.jpg *.png *.jpeg)"));
        }();
        return files;
    });
    QSignalSpy done(set->picker(), &PhotoPicker::finished);
    editor.findChild<QPushButton *>("pushButton_upload")->click();
    QVERIFY(done.wait());
    QCOMPARE(set->count(), 30);
    QCOMPARE(set->photos().last().url, done.first().first().toStringList().first());
    QTRY_COMPARE(m_alerts->texts(), QStringList{QStringLiteral("最多上传30张图片！")});
    QCOMPARE(editor.findChild<QLabel *>("label_photoCount")->text(), QStringLiteral("房源图片：30/30张"));

    editor.findChild<QPushButton *>("pushButton_upload")->click();
    QCOMPARE(asked, 1);
    QTRY_COMPARE(m_alerts->count(), 2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("最多上传30张图片！"));
}

void TestDescribe::collectedPictureRefused()
{
    HouseDetailDescribeEditWidget editor(listing(8, true));
    HouseBookPhotos_Model::DataItem record;
    const QString own = m_server.url("/files/photos/1.jpg");
    const QString collected = QStringLiteral("http://localhost:%1/files/photos/2.jpg").arg(m_server.port());
    record.photos = {{"1", own, 3, "客厅"}, {"2", collected, 3, "卧室"}};
    editor.dealHousePhotosData({record});
    const auto items = editor.findChildren<HouseDescribeChoosePhotoView *>();
    QCOMPARE(items.size(), 2);
    for (HouseDescribeChoosePhotoView *item : items)
        emit item->clickItem(item);
    QCOMPARE(editor.photoSet()->count(), 1);
    QCOMPARE(editor.photoSet()->photos().first().url, own);
    QTRY_COMPARE(m_alerts->texts(),
                 QStringList{QStringLiteral("房源推广图片不支持采集图片，如果需要选择该图片可在<房源实勘>页下载下来图片，再重新上传到房源实勘！")});
}

void TestDescribe::promotionEditorPosts()
{
    Record r = listing(9, true);
    r.title = QStringLiteral("学区[qx_joiner]地铁");
    r.describespicture = {{{"url", m_server.url("/p/1.jpg")}, {"frist", 0}}, {{"url", m_server.url("/p/2.jpg")}, {"frist", 1}}};
    HouseDetailDescribeEditWidget editor(r);
    auto *title = editor.findChild<QLineEdit *>("lineEdit_title");
    QCOMPARE(title->text(), QStringLiteral("学区&地铁"));

    title->clear();
    editor.findChild<QPushButton *>("pushButton_submit")->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{QStringLiteral("请填写描述标题！")});

    title->setText(QStringLiteral("近地铁&拎包入住"));
    editor.findChild<QTextEdit *>("textEdit_describes")->setPlainText(QStringLiteral("采光好&安静"));
    editor.findChild<QLineEdit *>("lineEdit_quanjing")->setText(QStringLiteral("https://vr.example/p?a=1&b=2"));
    QSignalSpy saved(&editor, &HouseDetailDescribeEditWidget::editSuccess);
    editor.findChild<QPushButton *>("pushButton_submit")->click();
    QVERIFY(saved.wait());
    const auto posts = m_server.requestsTo("/app/app/housebookeditdes");
    QCOMPARE(posts.size(), 1);
    const auto form = posts.first().form;
    QCOMPARE(form.value("type"), QStringLiteral("2"));
    QCOMPARE(form.value("id"), QStringLiteral("9"));
    QCOMPARE(form.value("title"), QStringLiteral("近地铁[qx_joiner]拎包入住"));
    QCOMPARE(form.value("describes"), QStringLiteral("采光好[qx_joiner]安静"));
    QCOMPARE(form.value("quanjing"), QStringLiteral("https://vr.example/p?a=1[qx_joiner]b=2"));
    QCOMPARE(form.value("purl"), m_server.url("/p/2.jpg"));
    QCOMPARE(form.value("lianmai"), QStringLiteral("1"));
    const QJsonArray pictures = jsonArray(form.value("describespicture"));
    QCOMPARE(pictures.size(), 2);
    QCOMPARE(pictures.at(1).toObject().value("frist").toInt(), 1);
    QVERIFY(form.contains("ptitle") && form.contains("tags"));
}

void TestDescribe::factsEditorShowsAndPosts()
{
    const QJsonObject detail{{"id", 11}, {"axid", "AX-9"}, {"title", "南北通透[qx_joiner]满五唯一的三室"},
                             {"taoneimianji", -1}, {"yongjin", 2.5}, {"dianti", "是"},
                             {"pic", QJsonArray{QJsonObject{{"url", m_server.url("/p/9.jpg")}, {"type", 2}, {"frist", 1}}}}};
    HouseDescribeMessageEditWidget editor(listing(11), detail);
    auto *title = editor.findChild<QLineEdit *>("lineEdit_title");
    QCOMPARE(title->text(), QStringLiteral("南北通透&满五唯一的三室"));
    QCOMPARE(editor.findChild<QLineEdit *>("lineEdit_taoneimianji")->text(), QString());
    QCOMPARE(editor.findChild<QLabel *>("label_photoCount2")->text(), QStringLiteral("户型图(1张)"));

    editor.findChild<QLineEdit *>("lineEdit_yongjin")->setText(QStringLiteral("3.5"));
    editor.findChild<QPushButton *>("pushButton_submit")->click();
    QCOMPARE(editor.errorText(), QStringLiteral("房屋佣金应保持在0.5-3.0之间"));
    QVERIFY(m_server.requestsTo("/app/housebook2/housebookeditdes").isEmpty());

    editor.findChild<QLineEdit *>("lineEdit_yongjin")->setText(QStringLiteral("1.5"));
    QSignalSpy saved(&editor, &HouseDescribeMessageEditWidget::operateSuccess);
    editor.findChild<QPushButton *>("pushButton_submit")->click();
    QVERIFY(saved.wait());
    QCOMPARE(editor.errorText(), QString());
    const auto form = m_server.requestsTo("/app/housebook2/housebookeditdes").first().form;
    QCOMPARE(form.value("id"), QStringLiteral("11"));
    QCOMPARE(form.value("axid"), QStringLiteral("AX-9"));
    QCOMPARE(form.value("title"), QStringLiteral("南北通透[qx_joiner]满五唯一的三室"));
    QCOMPARE(form.value("taoneimianji"), QStringLiteral("-1"));
    QCOMPARE(form.value("shoufu"), QStringLiteral("-1"));
    QCOMPARE(form.value("yongjin"), QStringLiteral("1.5"));
    QCOMPARE(form.value("dianti"), QStringLiteral("是"));
    QCOMPARE(form.value("lianmai"), QStringLiteral("1"));
    for (const DescribeFacts::Fact &fact : DescribeFacts::facts())
        QVERIFY2(form.contains(fact.key), qPrintable(fact.key));
    QVERIFY(form.contains("fangyuantag") && form.contains("vrurl"));
    const QJsonObject pic = jsonArray(form.value("pic")).first().toObject();
    QCOMPARE(pic.value("type").toInt(), 2);
    QCOMPARE(pic.value("frist").toInt(), 1);
}

void TestDescribe::salePageShowsFactsAndSetsCover()
{
    const QJsonObject detail{{"id", 12}, {"title", "地铁口[qx_joiner]学区"}, {"taoneimianji", 89}, {"dianti", ""},
                             {"shoufu", 60}, {"fangyuantag", "满五唯一,近地铁"},
                             {"pic", QJsonArray{QJsonObject{{"url", m_server.url("/p/1.jpg")}, {"type", 1}, {"frist", 1}},
                                                QJsonObject{{"url", m_server.url("/p/2.jpg")}, {"type", 3}, {"frist", 0}}}}};
    m_server.setReply("/app/housebook2/housebookdesdetail", RecordingServer::envelope(200, detail));
    SaleHouseDetailDescribeWidget page;
    QSignalSpy asked(page.service(), &DescribeService::detailLoaded);
    page.showRecord(listing(12));
    QVERIFY(asked.wait());
    QCOMPARE(page.findChild<QLabel *>("label_title")->text(), QStringLiteral("地铁口&学区"));
    QCOMPARE(page.findChild<QLabel *>("label_taoneimianji")->text(), QStringLiteral("套内面积：89"));
    QCOMPARE(page.findChild<QLabel *>("label_dianti")->text(), QStringLiteral("电梯："));
    QCOMPARE(page.findChild<QLabel *>("label_shoufu")->text(), QStringLiteral("首付：60万"));
    QCOMPARE(page.findChild<QLabel *>("label_yongjin")->text(), QStringLiteral("佣金比例："));
    QCOMPARE(page.findChildren<QLabel *>("label_tag").size(), 2);

    QList<QPushButton *> covers;
    for (QPushButton *b : page.findChildren<QPushButton *>("pushButton_cover"))
        if (!b->isHidden())
            covers << b;
    QCOMPARE(covers.size(), 1);  // the cover itself offers none
    QSignalSpy saved(page.service(), &DescribeService::coverSaved);
    covers.first()->click();
    QVERIFY(saved.wait());
    const auto form = m_server.requestsTo("/app/housebook2/housebookeditdes").first().form;
    QCOMPARE(form.keys(), (QStringList{"id", "lianmai", "pic"}));
    const QJsonArray pic = jsonArray(form.value("pic"));
    QCOMPARE(pic.at(0).toObject().value("frist").toInt(), 0);
    QCOMPARE(pic.at(1).toObject().value("frist").toInt(), 1);
}

void TestDescribe::evaluationsAddAndDelete()
{
    m_server.setReply("/app/app/housepjposts",
                      RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray{QJsonObject{{"id", "31"}, {"username", "王五"},
                                                                                                 {"content", "好[qx_joiner]房"}}}},
                                                                 {"total", 1}}));
    HouseBookDescribeEvaluateWidget page;
    page.dealHouseData(listing(13));
    QTRY_COMPARE(page.model().list().size(), 1);
    QCOMPARE(page.findChild<QLabel *>("label_content")->text(), QStringLiteral("好&房"));

    page.findChild<QPushButton *>("pushButton_send")->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{QStringLiteral("请添加评价内容后再提交！")});
    QVERIFY(m_server.requestsTo("/app/app/housepjadd").isEmpty());

    auto *entry = page.findChild<QLineEdit *>("lineEdit_evaluate");
    entry->setText(QStringLiteral("采光&户型都好"));
    page.findChild<QPushButton *>("pushButton_send")->click();
    QTRY_COMPARE(m_server.requestsTo("/app/app/housepjposts").size(), 2);
    const auto added = m_server.requestsTo("/app/app/housepjadd").first().form;
    QCOMPARE(added.value("id"), QStringLiteral("13"));
    QCOMPARE(added.value("content"), QStringLiteral("采光[qx_joiner]户型都好"));
    QCOMPARE(entry->text(), QString());

    m_alerts->answerWith(AlertWidget::Sure);
    page.findChild<QPushButton *>("pushButton_delete")->click();
    QTRY_COMPARE(m_server.requestsTo("/app/app/housepjposts").size(), 3);
    QCOMPARE(m_alerts->last().text, QStringLiteral("您确定要删除该条评价吗？"));
    QCOMPARE(m_server.requestsTo("/app/app/housepjdel").first().form.value("id"), QStringLiteral("31"));
}

void TestDescribe::pushButtonsWaitForThePush_data()
{
    QTest::addColumn<bool>("manager");
    QTest::newRow("may push") << true;
    QTest::newRow("may not push") << false;
}

void TestDescribe::pushButtonsWaitForThePush()
{
    QFETCH(bool, manager);
    HostFixture::signInAs(TestUser().jointSaleManager(manager).withoutRights());
    // The portal does not take the listing: the push ends at its first answer.
    m_server.setReply("/web/VtApp/housestatus", RecordingServer::envelope(200, QJsonObject{{"housestatus", 0}}));
    SaleHouseDetailDescribeWidget page;
    page.showRecord(listing(12));
    auto *wuba = page.findChild<QPushButton *>("pushWubaButton");
    auto *xinfuLi = page.findChild<QPushButton *>("pushXinfuLiButton");
    QVERIFY(wuba && xinfuLi);
    QCOMPARE(wuba->text(), QStringLiteral("推送到58安选"));
    QCOMPARE(xinfuLi->text(), QStringLiteral("推送到幸福里"));
    QCOMPARE(!xinfuLi->isHidden() && xinfuLi->isVisibleTo(&page), manager);
    if (!manager)
        return;
    xinfuLi->click();
    QVERIFY(!wuba->isEnabled() && !xinfuLi->isEnabled());
    QVERIFY(page.findChild<HouseBookXinfuLiPushObject *>());
    QTRY_VERIFY(wuba->isEnabled() && xinfuLi->isEnabled());
    QTRY_COMPARE(m_alerts->count(), 1);  // the agent hears why it ended
    const auto asked = m_server.requestsTo("/web/VtApp/housestatus");
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().form.value("house_id"), QStringLiteral("12"));
}

void TestDescribe::simulatorKeepsWhatWasSaved()
{
    QTemporaryDir dir;
    AllianceServer::Options options;
    options.listings = 20;
    options.communities = 5;
    options.dbPath = dir.filePath(QStringLiteral("alliance.db"));
    Alliance::Store store(options);
    QString error;
    QVERIFY2(store.open(&error), qPrintable(error));
    const QString phone = store.userPhones().first();
    const auto ask = [&](const char *path, const Alliance::Form &form) { return store.handle(QLatin1String(path), form, phone); };

    const Alliance::Form facts{{"id", "3"}, {"axid", "AX1"}, {"title", "南北[qx_joiner]通透 "}, {"yongjin", "1.5"},
                               {"taoneimianji", "-1"}, {"fuwujieshao", "  随时看房  "},
                               {"pic", R"([{"url":"http://127.0.0.1/a.jpg","type":1,"frist":1}])"}};
    QCOMPARE(ask("housebook2/housebookeditdes", facts).code, 200);
    QJsonObject back = ask("housebook2/housebookdesdetail", {{"id", "3"}}).data.toObject();
    QCOMPARE(back.value("title").toString(), facts.value("title"));
    QCOMPARE(back.value("fuwujieshao").toString(), facts.value("fuwujieshao"));
    QCOMPARE(back.value("axid").toString(), QStringLiteral("AX1"));
    QCOMPARE(back.value("yongjin").toDouble(), 1.5);
    QCOMPARE(back.value("taoneimianji").toDouble(), -1.0);
    QCOMPARE(back.value("shoufu").toDouble(), -1.0);
    QCOMPARE(back.value("pic").toArray().first().toObject().value("frist").toInt(), 1);
    QCOMPARE(ask("housebook2/housebookeditdes", {{"id", "3"}, {"pic", "[]"}}).code, 200);
    back = ask("housebook2/housebookdesdetail", {{"id", "3"}}).data.toObject();
    QCOMPARE(back.value("pic").toArray().size(), 0);
    QCOMPARE(back.value("title").toString(), facts.value("title"));

    const Alliance::Form promotion{{"type", "1"}, {"id", "4"}, {"title", "地铁[qx_joiner]学区"}, {"describes", "  采光好\n"},
                                   {"describespicture", R"([{"url":"http://127.0.0.1/b.jpg","frist":1}])"}, {"quanjing", "https://vr/1"}};
    QCOMPARE(ask("app/housebookeditdes", promotion).code, 200);
    const QJsonObject synced = ask("app/SyncHousebookDetail", {{"id", "4"}}).data.toObject();
    QCOMPARE(synced.value("title").toString(), promotion.value("title"));
    QCOMPARE(synced.value("describes").toString(), promotion.value("describes"));
    QCOMPARE(synced.value("quanjing").toString(), promotion.value("quanjing"));

    QCOMPARE(ask("app/housepjadd", {{"id", "4"}, {"content", " "}}).message, QStringLiteral("请添加评价内容后再提交！"));
    const qint64 id = ask("app/housepjadd", {{"id", "4"}, {"content", "不错"}}).data.toObject().value("id").toVariant().toLongLong();
    QCOMPARE(ask("app/housepjposts", {{"id", "4"}}).data.toObject().value("total").toInt(), 1);
    QCOMPARE(ask("app/housepjdel", {{"id", QString::number(id)}}).code, 200);
    QCOMPARE(ask("app/housepjposts", {{"id", "4"}}).data.toObject().value("total").toInt(), 0);
    QVERIFY(ask("anxuan/gethousetag", {}).data.toObject().value("list").toArray().size() >= 8);
    store.close();
}

QTEST_MAIN(TestDescribe)
#include "tst_describe.moc"
