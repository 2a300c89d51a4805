// The sale and rent pages of the house-book settings: what they refuse, what they post, what
// they show after a save or a failed one, and which entries they offer.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "platform/housebookcodes.h"
#include "recordingserver.h"
#include "settings/housebookrentsetwidget.h"
#include "settings/housebooksalesetwidget.h"
#include "sql/housebookset_sqltable.h"
#include "widgets/busyoverlay.h"
#include "widgets/sortwidget.h"
#include "datacenter.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

using Entries = QList<QVariantMap>;

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QJsonArray choices(const QList<QPair<int, bool>> &entries)
{
    QJsonArray array;
    for (const auto &e : entries)
        array.append(QJsonObject{{"id", e.first}, {"title", QStringLiteral("项%1").arg(e.first)}, {"choose", e.second}});
    return array;
}

QList<int> idsOf(const Entries &entries)
{
    QList<int> ids;
    for (const QVariantMap &e : entries)
        ids << e.value("id").toInt();
    return ids;
}

QVariantMap entryOf(const Entries &entries, int id)
{
    for (const QVariantMap &e : entries) {
        if (e.value("id").toInt() == id)
            return e;
    }
    return {};
}

} // namespace

class TestBookSetPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void refusalsInOrder_data();
    void refusalsInOrder();
    void postsAllListsAsShown_data();
    void postsAllListsAsShown();
    void successShowsWhatTheServerKept();
    void failedSaveKeepsEdits();
    void numberAndCommunityAreRequired();
    void catalogueRestOfferedUnchosen_data();
    void catalogueRestOfferedUnchosen();
    void companySwitchForManagersOnly();

private:
    QWidget *newPage(bool rent);
    static SortWidget *sort(QWidget *page, const char *name);
    static void submit(QWidget *page);
    void seedStore(const QJsonObject &settings);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestBookSetPages::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestBookSetPages::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
}

void TestBookSetPages::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

QWidget *TestBookSetPages::newPage(bool rent)
{
    if (rent)
        return new HouseBookRentSetWidget(m_host->mainWindow());
    return new HouseBookSaleSetWidget(m_host->mainWindow());
}

SortWidget *TestBookSetPages::sort(QWidget *page, const char *name)
{
    return page->findChild<SortWidget *>(QLatin1String(name));
}

void TestBookSetPages::submit(QWidget *page)
{
    const bool rent = qobject_cast<HouseBookRentSetWidget *>(page);
    QVERIFY(QMetaObject::invokeMethod(page, rent ? "rent_message_submit" : "sale_message_submit"));
}

void TestBookSetPages::seedStore(const QJsonObject &settings)
{
    HouseBookSet_SqlTable store(nullptr, HouseBookCodes::kJointSale);
    QVERIFY(store.storeHouseBookSet(settings));
}

void TestBookSetPages::refusalsInOrder_data()
{
    QTest::addColumn<bool>("rent");
    QTest::addColumn<QString>("word");
    QTest::newRow("sale") << false << QStringLiteral("出售");
    QTest::newRow("rent") << true << QStringLiteral("出租");
}

// The agent's own search items are checked before her columns; nothing is posted on a refusal.
void TestBookSetPages::refusalsInOrder()
{
    QFETCH(bool, rent);
    QFETCH(QString, word);
    QWidget *page = newPage(rent);
    const Entries none{{{"id", 5}, {"title", "电话"}, {"choose", false}}};
    const Entries some{{{"id", 5}, {"title", "电话"}, {"choose", true}}};
    sort(page, "mySearchSort")->setItems(none, 6);
    sort(page, "myShowSort")->setItems(none, 6);
    submit(page);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("请至少选择一个我的%1搜索项显示").arg(word));

    sort(page, "mySearchSort")->setItems(some, 6);
    submit(page);
    QTRY_COMPARE(m_alerts->count(), 2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("请至少选择一个我的%1列表项显示").arg(word));
    QCOMPARE(m_server.requestCount(), 0);
}

void TestBookSetPages::postsAllListsAsShown_data()
{
    QTest::addColumn<bool>("rent");
    QTest::addColumn<QString>("stem");
    QTest::newRow("sale") << false << QStringLiteral("sale");
    QTest::newRow("rent") << true << QStringLiteral("rent");
}

// Every list goes out whole, chosen and unchosen entries as {id, title, choose} in the shown
// order, with the company switch as "1"/"0".
void TestBookSetPages::postsAllListsAsShown()
{
    QFETCH(bool, rent);
    QFETCH(QString, stem);
    DataCenter::isManager = true;
    seedStore({{"my" + stem + "search", choices({{1, true}, {3, true}, {4, true}})},
               {"my" + stem + "show", choices({{1, true}, {2, true}, {3, true}})},
               {"company_" + stem + "_style", 0}});
    QWidget *page = newPage(rent);
    SortWidget *mySearch = sort(page, "mySearchSort");
    mySearch->moveItem(2, 0);
    QList<QCheckBox *> boxes;
    for (QCheckBox *box : sort(page, "myShowSort")->findChildren<QCheckBox *>("sortItemCheckBox")) {
        if (!box->parentWidget()->isHidden())
            boxes << box;
    }
    QVERIFY(boxes.size() > 2);
    boxes.at(2)->setChecked(false);
    page->findChild<QCheckBox *>("companyStyleCheck")->setChecked(true);
    submit(page);

    QTRY_COMPARE(m_server.requestsTo(pathOf(Endpoints::instance().app_housebookconfig)).size(), 1);
    const QMap<QString, QString> form = m_server.requestsTo(pathOf(Endpoints::instance().app_housebookconfig)).first().form;
    QCOMPARE(form.keys(), (QStringList{"company_" + stem + "_style", "lianmai", "my" + stem + "search", "my" + stem + "show",
                                       "store" + stem + "search", "store" + stem + "show"}));
    QCOMPARE(form.value("company_" + stem + "_style"), QStringLiteral("1"));
    const QString searchText = form.value("my" + stem + "search");
    QVERIFY2(!searchText.contains(' ') && !searchText.contains('\n'), qPrintable(searchText));
    const QJsonArray search = QJsonDocument::fromJson(searchText.toUtf8()).array();
    QCOMPARE(search.at(0).toObject(), (QJsonObject{{"id", 4}, {"title", "项4"}, {"choose", true}}));
    QCOMPARE(search.at(1).toObject().value("id").toInt(), 1);
    const QJsonArray show = QJsonDocument::fromJson(form.value("my" + stem + "show").toUtf8()).array();
    QCOMPARE(show.at(2).toObject(), (QJsonObject{{"id", 3}, {"title", "项3"}, {"choose", false}}));
    QCOMPARE(show.size(), sort(page, "myShowSort")->items().size());
    // The store's lists were never set: they start as the agent's own.
    const QJsonArray storeShow = QJsonDocument::fromJson(form.value("store" + stem + "show").toUtf8()).array();
    QCOMPARE(storeShow.at(2).toObject().value("choose").toBool(), true);
}

void TestBookSetPages::successShowsWhatTheServerKept()
{
    QWidget *page = newPage(false);
    const QJsonObject kept{{"mysalesearch", choices({{4, true}, {1, true}, {3, false}})},
                           {"storesaleshow", choices({{2, true}, {1, true}})}};
    m_server.setReply(pathOf(Endpoints::instance().app_gethousebookconfig), RecordingServer::envelope(200, kept));
    QSignalSpy success(page, SIGNAL(setSuccess()));
    submit(page);
    QVERIFY(page->findChild<BusyOverlay *>()->isRunning());
    QTRY_COMPARE(success.count(), 1);
    QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
    QCOMPARE(idsOf(sort(page, "mySearchSort")->items()).mid(0, 3), (QList<int>{4, 1, 3}));
    QCOMPARE(entryOf(sort(page, "mySearchSort")->items(), 3).value("choose").toBool(), false);
    QCOMPARE(idsOf(sort(page, "storeShowSort")->items()).mid(0, 2), (QList<int>{2, 1}));
}

void TestBookSetPages::failedSaveKeepsEdits()
{
    QWidget *page = newPage(true);
    m_server.setReply(pathOf(Endpoints::instance().app_housebookconfig),
                      RecordingServer::envelope(405, QJsonValue(), QStringLiteral("参数错误")));
    SortWidget *myShow = sort(page, "myShowSort");
    myShow->moveItem(3, 0);
    const Entries edited = myShow->items();
    QSignalSpy success(page, SIGNAL(setSuccess()));
    submit(page);
    QTRY_COMPARE(m_alerts->count(), 1);
    QVERIFY(m_alerts->last().text.contains(QStringLiteral("参数错误")));
    QTRY_VERIFY(!page->findChild<BusyOverlay *>()->isRunning());
    QCOMPARE(myShow->items(), edited);
    QCOMPARE(success.count(), 0);
    QCOMPARE(m_server.requestsTo(pathOf(Endpoints::instance().app_gethousebookconfig)).size(), 0);
}

// Id 1 (the community among the search items, the number among the columns) is required and
// shown chosen in all four lists, even when a list had it unchosen.
void TestBookSetPages::numberAndCommunityAreRequired()
{
    seedStore({{"mysalesearch", choices({{1, false}, {3, true}})},
               {"storesaleshow", choices({{2, true}, {1, false}})}});
    QWidget *page = newPage(false);
    for (const char *name : {"mySearchSort", "myShowSort", "storeSearchSort", "storeShowSort"}) {
        const Entries items = sort(page, name)->items();
        for (const QVariantMap &entry : items) {
            const bool required = entry.value("id").toInt() == 1;
            QCOMPARE(entry.value("default_choose").toBool(), required);
            if (required)
                QVERIFY2(entry.value("choose").toBool(), name);
        }
    }
}

void TestBookSetPages::catalogueRestOfferedUnchosen_data()
{
    QTest::addColumn<bool>("rent");
    QTest::addColumn<QList<int>>("foreignColumns");
    QTest::newRow("sale") << false << QList<int>{13, 11};
    QTest::newRow("rent") << true << QList<int>{26, 32};
}

// After the stored entries come the book's other catalogue entries, unchosen; the other
// book's own columns and the contract and customer columns are never offered.
void TestBookSetPages::catalogueRestOfferedUnchosen()
{
    QFETCH(bool, rent);
    QFETCH(QList<int>, foreignColumns);
    const QString stem = rent ? "rent" : "sale";
    seedStore({{"my" + stem + "show", choices({{3, true}, {1, true}})}});
    QWidget *page = newPage(rent);
    const Entries shown = sort(page, "myShowSort")->items();
    const QList<int> ids = idsOf(shown);
    QCOMPARE(ids.mid(0, 2), (QList<int>{3, 1}));
    for (int id : {2, 6, 24, 61})
        QCOMPARE(entryOf(shown, id).value("choose").toBool(), false);
    for (int id : foreignColumns + QList<int>{37, 50})
        QVERIFY2(!ids.contains(id), qPrintable(QString::number(id)));
    QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), ids.size());
    const QList<int> searchIds = idsOf(sort(page, "mySearchSort")->items());
    QVERIFY(searchIds.contains(76));
    QVERIFY(!searchIds.contains(58));
    // The fresh lists search by 区域/片区; the plain area field would be a second area filter.
    QVERIFY(searchIds.contains(83));
    QVERIFY(!searchIds.contains(2));
}

void TestBookSetPages::companySwitchForManagersOnly()
{
    seedStore({{"company_sale_style", 1}});
    QScopedPointer<QWidget> agentPage(newPage(false));
    auto *agentSwitch = agentPage->findChild<QCheckBox *>("companyStyleCheck");
    QVERIFY(agentSwitch->isChecked());
    QVERIFY(!agentSwitch->isEnabled());
    DataCenter::isJointSaleManger = true;
    QScopedPointer<QWidget> managerPage(newPage(false));
    QVERIFY(managerPage->findChild<QCheckBox *>("companyStyleCheck")->isEnabled());
}

QTEST_MAIN(TestBookSetPages)
#include "tst_booksetpages.moc"
