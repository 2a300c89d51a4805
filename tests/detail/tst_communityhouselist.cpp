// The listings of one community from the local store: paging with its texts and refusals,
// the row texts of sale and rent listings, and a row opening the detail window.
#include "alertrecorder.h"
#include "detail/housebookcommunityhouselistwidget.h"
#include "detail/housebookmessagedetailwidget.h"
#include "hostfixture.h"
#include "listing.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/commonaddwidget.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

constexpr int kCommunity = 1001;

Listing listing(int id, int community = kCommunity)
{
    return Listing(id)
        .sale()
        .owner(QStringLiteral("13900000002"))
        .company(0)
        .community(community, QStringLiteral("万科城市花园"))
        .price(100 + id)
        .area(88.5)
        .with({{"room", 3}, {"hall", 2}, {"huxingwei", 1}});
}

QString labelText(QWidget *row, const char *name)
{
    auto *label = row->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QString();
}

} // namespace

class TestCommunityHouseList : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void paging_data();
    void paging();
    void rowTexts_data();
    void rowTexts();
    void rowOpensDetail();

private:
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestCommunityHouseList::init()
{
    m_host.reset(new HostFixture);
    m_host->signInAs(TestUser().viewRange(0).grant(QList<int>{}, 0));
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    // 23 sale listings of the community, one of another community, one off the shelf.
    QList<QVariantMap> records;
    for (int id = 1; id <= 23; ++id)
        records << listing(id).map();
    records << listing(24, 2002) << listing(25).active(false).map();
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, false).insertOrReplaceHouses(records, false), records.size());
}

void TestCommunityHouseList::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

void TestCommunityHouseList::paging_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("first page") << QStringList() << "当前第1/3页，共23条" << 10 << QString();
    QTest::newRow("back from the first") << QStringList{"lastPageButton"} << "当前第1/3页，共23条" << 10 << "当前已经是第一页了！";
    QTest::newRow("forward") << QStringList{"nextPageButton"} << "当前第2/3页，共23条" << 10 << QString();
    QTest::newRow("last page") << QStringList{"nextPageButton", "nextPageButton"} << "当前第3/3页，共23条" << 3 << QString();
    QTest::newRow("past the last") << QStringList{"nextPageButton", "nextPageButton", "nextPageButton"} << "当前第3/3页，共23条" << 3
                                   << "当前已经是最后一页了！";
    QTest::newRow("and back") << QStringList{"nextPageButton", "nextPageButton", "lastPageButton"} << "当前第2/3页，共23条" << 10 << QString();
}

void TestCommunityHouseList::paging()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, status);
    QFETCH(int, rows);
    QFETCH(QString, refusal);

    HouseBookCommunityHouseListWidget list(nullptr, kCommunity, false);
    list.loadPage(1);
    for (const QString &button : clicks)
        QTest::mouseClick(list.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(list.findChild<QLabel *>(QStringLiteral("pageStatus"))->text(), status);
    QCOMPARE(list.rows().size(), rows);
    QTRY_COMPARE(m_alerts->texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
}

void TestCommunityHouseList::rowTexts_data()
{
    QTest::addColumn<QVariantMap>("record");
    QTest::addColumn<bool>("rent");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("layout");

    QTest::newRow("sale") << listing(101).map() << false << "201万" << "3室2厅1卫 88.5m²";
    QTest::newRow("rent") << listing(102).rent().price(2500).area(60).with({{"room", 1}, {"hall", 1}, {"huxingwei", 1}}).map()
                          << true << "2500元/月" << "1室1厅1卫 60m²";
}

void TestCommunityHouseList::rowTexts()
{
    QFETCH(QVariantMap, record);
    QFETCH(bool, rent);
    QFETCH(QString, price);
    QFETCH(QString, layout);
    HouseMessage_DataSqlTable(nullptr, false).insertOrReplaceHouses({record}, false);

    HouseBookCommunityHouseListWidget list(nullptr, kCommunity, false, rent);
    list.loadPage(1);
    HouseBookCommunityHouseListItemView *row = list.rows().first();
    QCOMPARE(row->houseId(), record.value(QStringLiteral("id")).toInt());  // newest first
    QCOMPARE(labelText(row, "houseName"), QStringLiteral("万科城市花园"));
    QCOMPARE(labelText(row, "housePrice"), price);
    QCOMPARE(labelText(row, "houseLayout"), layout);
}

void TestCommunityHouseList::rowOpensDetail()
{
    CommonAddWidget *popup = HouseBookCommunityHouseListWidget::openFor(m_host->mainWindow(), kCommunity, false);
    QCOMPARE(popup->title(), QStringLiteral("小区"));
    auto *list = qobject_cast<HouseBookCommunityHouseListWidget *>(popup->contentWidget());
    QVERIFY(list);
    HouseBookCommunityHouseListItemView *row = list->rows().first();
    QTest::mouseClick(row, Qt::LeftButton);
    HouseBookMessageDetailWidget *detail = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *frame = qobject_cast<CommonAddWidget *>(w))
            if (auto *d = qobject_cast<HouseBookMessageDetailWidget *>(frame->contentWidget()))
                detail = d;
    QVERIFY(detail);
    QTRY_COMPARE(detail->ids(), QList<int>{row->houseId()});
    popup->closeWidget();
}

QTEST_MAIN(TestCommunityHouseList)
#include "tst_communityhouselist.moc"
