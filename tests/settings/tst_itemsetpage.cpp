// The category page against a recording server: the lists it shows from the local store,
// adding and deleting entries, the refusals of an empty list in their order, the form it
// posts, and what it shows after a save that succeeded or failed.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "platform/housebookcodes.h"
#include "recordingserver.h"
#include "settings/housebookitemsetwidget.h"
#include "sql/basemessage_sqltable.h"
#include "widgets/busyoverlay.h"

#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

const QStringList kKeys{"property1", "property2", "traffic", "renttag", "saletag", "payway"};

// What the store holds before each test, as the download stores it.
const QMap<QString, QString> kStored{
    {"property1", R"([{"id":1,"name":"商品房"},{"id":2,"name":"经适房"}])"},
    {"property2", R"([{"id":3,"name":"有证"}])"},
    {"traffic", R"([{"id":4,"name":"地铁"},{"id":5,"name":"公交"}])"},
    {"renttag", R"([{"id":6,"name":"拎包入住"}])"},
    {"saletag", R"([{"id":7,"name":"满五唯一"}])"},
    {"payway", R"([{"id":8,"name":"全款"},{"id":9,"name":"按揭"}])"}};

QString savePath()
{
    return QUrl(Endpoints::instance().app_sethousebookcategory).path();
}

QString downloadPath()
{
    return QUrl(Endpoints::instance().app_gethousebookcategory).path();
}

QListWidget *listOf(QWidget *page, const QString &key)
{
    return page->findChild<QListWidget *>("categoryList_" + key);
}

QStringList namesIn(QWidget *page, const QString &key)
{
    QStringList names;
    QListWidget *list = listOf(page, key);
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    return names;
}

void add(QWidget *page, const QString &key, const QString &text)
{
    page->findChild<QLineEdit *>("categoryEdit_" + key)->setText(text);
    page->findChild<QPushButton *>("categoryAdd_" + key)->click();
}

void deleteAll(QWidget *page, const QString &key)
{
    QListWidget *list = listOf(page, key);
    while (list->count() > 0)
        list->itemWidget(list->item(0))->findChild<QPushButton *>("categoryDelete")->click();
}

} // namespace

class TestItemSetPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void addAndDelete_data();
    void addAndDelete();
    void emptyListRefusedInOrder_data();
    void emptyListRefusedInOrder();
    void postsSixLists_data();
    void postsSixLists();
    void successShowsWhatTheStoreHolds();
    void failureKeepsEditedLists_data();
    void failureKeepsEditedLists();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestItemSetPage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_sethousebookcategory.startsWith(m_server.baseUrl()));
}

void TestItemSetPage::init()
{
    m_alerts.reset();
    m_host.reset();  // one fixture at a time: the old one takes its data folder with it
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    BaseMessage_SqlTable store(nullptr, HouseBookCodes::kJointSale);
    for (auto it = kStored.cbegin(); it != kStored.cend(); ++it)
        QVERIFY(store.setValue(it.key(), it.value()));
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonValue::Null));
    m_server.setReply(savePath(), RecordingServer::envelope(200, QJsonValue::Null));
    m_server.clearRequests();
}

void TestItemSetPage::addAndDelete_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("new name, trimmed") << "  电梯房 " << QStringList{"地铁", "公交", "电梯房"} << QString();
    QTest::newRow("only spaces") << "   " << QStringList{"地铁", "公交"} << "请输入要添加的交通选项名称";
    QTest::newRow("listed name") << " 公交" << QStringList{"地铁", "公交"} << "交通选项【公交】已存在，请勿重复添加";
}

void TestItemSetPage::addAndDelete()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, names);
    QFETCH(QString, refusal);
    HouseBookItemSetWidget page(nullptr);
    add(&page, "traffic", typed);
    QCOMPARE(namesIn(&page, "traffic"), names);
    if (refusal.isEmpty()) {
        QCOMPARE(m_alerts->count(), 0);
        QVERIFY(page.findChild<QLineEdit *>("categoryEdit_traffic")->text().isEmpty());
    } else {
        QTRY_COMPARE(m_alerts->count(), 1);
        QCOMPARE(m_alerts->last().text, refusal);
    }

    // The delete button of a row removes that row only.
    QListWidget *list = listOf(&page, "traffic");
    list->itemWidget(list->item(0))->findChild<QPushButton *>("categoryDelete")->click();
    QCOMPARE(namesIn(&page, "traffic"), names.mid(1));
    QCOMPARE(namesIn(&page, "payway"), QStringList({"全款", "按揭"}));
}

void TestItemSetPage::emptyListRefusedInOrder_data()
{
    QTest::addColumn<int>("firstEmpty");
    QTest::addColumn<QString>("refusal");
    const QStringList refusals{"至少添加一个产权选项",     "至少添加一个产证选项",     "至少添加一个交通选项",
                               "至少添加一个租房标签选项", "至少添加一个售房标签选项", "至少添加一个付款方式选项"};
    for (int i = 0; i < kKeys.size(); ++i)
        QTest::newRow(qPrintable(kKeys.at(i))) << i << refusals.at(i);
}

// Every list from the first empty one on is empty; only the first is named.
void TestItemSetPage::emptyListRefusedInOrder()
{
    QFETCH(int, firstEmpty);
    QFETCH(QString, refusal);
    HouseBookItemSetWidget page(nullptr);
    for (int i = firstEmpty; i < kKeys.size(); ++i)
        deleteAll(&page, kKeys.at(i));
    page.submit();
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, refusal);
    QVERIFY(!page.findChild<BusyOverlay *>()->isRunning());
    // The box came up after the page returned to the event loop; still nothing went out.
    QCOMPARE(m_server.requestCount(), 0);
    QCOMPARE(m_alerts->count(), 1);
}

void TestItemSetPage::postsSixLists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("asJson");
    QTest::newRow("quotes") << R"(他说"近'站")" << R"(他说\"近'站\")";
    QTest::newRow("form separators") << "a&b=c+d%20e" << "a&b=c+d%20e";
    QTest::newRow("backslash and percent") << R"(50%\近)" << R"(50%\\近)";
}

void TestItemSetPage::postsSixLists()
{
    QFETCH(QString, name);
    QFETCH(QString, asJson);
    HouseBookItemSetWidget page(nullptr);
    add(&page, "traffic", name);
    listOf(&page, "payway")->itemWidget(listOf(&page, "payway")->item(0))->findChild<QPushButton *>("categoryDelete")->click();
    page.submit();
    QTRY_COMPARE(m_server.requestsTo(savePath()).size(), 1);

    const QMap<QString, QString> form = m_server.requestsTo(savePath()).first().form;
    QCOMPARE(form.keys(), QStringList({"lianmai", "payway", "property1", "property2", "renttag", "saletag", "traffic"}));
    QCOMPARE(form.value("lianmai"), QStringLiteral("1"));
    for (const char *key : {"property1", "property2", "renttag", "saletag"})
        QCOMPARE(form.value(key), kStored.value(key));
    QCOMPARE(form.value("traffic"),
             QStringLiteral(R"([{"id":4,"name":"地铁"},{"id":5,"name":"公交"},{"id":0,"name":"%1"}])").arg(asJson));
    QCOMPARE(form.value("payway"), QStringLiteral(R"([{"id":9,"name":"按揭"}])"));
}

void TestItemSetPage::successShowsWhatTheStoreHolds()
{
    m_server.setReply(downloadPath(), RecordingServer::envelope(200, QJsonDocument::fromJson(R"({
        "property1":[{"id":1,"name":"商品房"}], "property2":[{"id":3,"name":"有证"}],
        "traffic":[{"id":4,"name":"地铁"},{"id":5,"name":"公交"},{"id":12,"name":"轻轨"}],
        "renttag":[{"id":6,"name":"拎包入住"}], "saletag":[{"id":7,"name":"满五唯一"}],
        "payway":[{"id":8,"name":"全款"}]})").object()));
    HouseBookItemSetWidget page(nullptr);
    auto *overlay = page.findChild<BusyOverlay *>();
    QSignalSpy success(&page, &HouseBookItemSetWidget::setSuccess);
    add(&page, "traffic", "轻轨");
    page.submit();
    QVERIFY(overlay->isRunning());
    QCOMPARE(overlay->text(), QStringLiteral("提交设置中..."));
    page.submit();  // a second press while saving sends nothing more

    QVERIFY(success.wait(5000));
    QVERIFY(!overlay->isRunning());
    QCOMPARE(m_server.requestsTo(savePath()).size(), 1);
    QCOMPARE(m_server.requestsTo(downloadPath()).size(), 1);
    // The page now shows the store, with the server's numbering, and not what was typed.
    QCOMPARE(namesIn(&page, "traffic"), QStringList({"地铁", "公交", "轻轨"}));
    QCOMPARE(listOf(&page, "traffic")->item(2)->data(Qt::UserRole).toInt(), 12);
    QCOMPARE(namesIn(&page, "property1"), QStringList({"商品房"}));
    QCOMPARE(namesIn(&page, "payway"), QStringList({"全款"}));
    QCOMPARE(m_alerts->count(), 0);
}

void TestItemSetPage::failureKeepsEditedLists_data()
{
    QTest::addColumn<RecordingServer::Reply>("reply");
    QTest::newRow("refused") << RecordingServer::envelope(405, QJsonValue::Null, QStringLiteral("没有修改权限"));
    QTest::newRow("connection lost") << RecordingServer::dropped();
}

void TestItemSetPage::failureKeepsEditedLists()
{
    QFETCH(RecordingServer::Reply, reply);
    m_server.setReply(savePath(), reply);
    HouseBookItemSetWidget page(nullptr);
    QSignalSpy success(&page, &HouseBookItemSetWidget::setSuccess);
    add(&page, "renttag", "近地铁");
    deleteAll(&page, "property2");
    add(&page, "property2", "无证");
    page.submit();

    QTRY_VERIFY(!page.findChild<BusyOverlay *>()->isRunning());
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(success.count(), 0);
    QCOMPARE(m_server.requestsTo(downloadPath()).size(), 0);
    QCOMPARE(namesIn(&page, "renttag"), QStringList({"拎包入住", "近地铁"}));
    QCOMPARE(namesIn(&page, "property2"), QStringList({"无证"}));

}

QTEST_MAIN(TestItemSetPage)
#include "tst_itemsetpage.moc"
