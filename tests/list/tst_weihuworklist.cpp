// The maintainer worklist against a recording server: the download of the maintainer terms,
// the page of listings joined with them (shortest term first, "%1天" under "到期时间"),
// sorting by the term, paging, row opening, the back button, and a failed download.
#include "alertrecorder.h"
#include "detail/housebookmessagedetailwidget.h"
#include "hostfixture.h"
#include "list/housebookweihupeopleneeddealwidget.h"
#include "list/houselisttableheadview.h"
#include "list/housetablelabelitemview.h"
#include "list/hovertablewidget.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "sql/housebookweihumessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using WorkList = HouseBookWeiHuPeoPleNeedDealWidget;
using Record = HouseMessage_DataSqlTable::HouseMessageData;

namespace {

QString maintainPath()
{
    return QUrl(Endpoints::instance().app_HouseMaintain).path();
}

QVariantMap listing(int id)
{
    return {{"id", id}, {"types", id % 3 == 0 ? 1 : 0}, {"userphone", "13900000002"}, {"name", QStringLiteral("阳光花园")},
            {"buildingNo", "3"}, {"unitNo", "2"}, {"roomNo", QString::number(100 + id)}, {"cityid", 340100},
            {"companyid", 0}, {"isdel", 0}, {"sf", 0}, {"stype", 0}, {"housestatus", 1}, {"deptid", 11},
            {"newstate", QStringLiteral("有效")}, {"createtime", "2024/01/01 08:00:00"}, {"lasttime", "2024/01/01 08:00:00"}};
}

// Listings 1..40 in the book; the server names 25 of them, listing n with (n * 7) % 31 + 1 days.
QJsonArray seedBookAndTerms()
{
    QList<QVariantMap> records;
    for (int id = 1; id <= 40; ++id)
        records << listing(id);
    HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false);
    QJsonArray terms;
    for (int id = 1; id <= 25; ++id)
        terms << QJsonObject{{"houseid", id}, {"days", QString::number((id * 7) % 31 + 1)}};
    return terms;
}

QList<int> daysOf(const QList<Record> &rows)
{
    QList<int> days;
    for (const Record &r : rows)
        days << r.days;
    return days;
}

} // namespace

class TestWeihuWorklist : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void downloadsTermsAndShowsShortestFirst();
    void sortsByTermBothWays();
    void pagingRules();
    void rowOpensDetailWithPageIds();
    void backButtonFollowsFlag();
    void failedDownloadShowsStoredTerms();

private:
    WorkList *openList(bool flag = true, int expectedTotal = 25);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QScopedPointer<WorkList> m_list;
};

void TestWeihuWorklist::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestWeihuWorklist::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setReply(maintainPath(), RecordingServer::envelope(200, seedBookAndTerms()));
}

void TestWeihuWorklist::cleanup()
{
    m_list.reset();
    m_alerts.reset();
    m_host.reset();
}

WorkList *TestWeihuWorklist::openList(bool flag, int expectedTotal)
{
    m_list.reset(new WorkList(nullptr, flag));
    m_list->resize(1200, 700);
    m_list->show();
    [&] { QTRY_COMPARE(m_list->total(), expectedTotal); }();
    return m_list.data();
}

void TestWeihuWorklist::downloadsTermsAndShowsShortestFirst()
{
    openList();
    QCOMPARE(m_server.requestsTo(maintainPath()).size(), 1);
    QCOMPARE(m_server.requestsTo(maintainPath()).first().form, (QMap<QString, QString>{{"lianmai", "1"}}));
    QCOMPARE(m_list->sortKey(), QStringLiteral("days"));
    QCOMPARE(m_list->listings().size(), 20);
    const QList<int> days = daysOf(m_list->listings());
    QList<int> sorted = days;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(days, sorted);
    QCOMPARE(days.first(), 2);  // listing 9: 63 % 31 + 1
    // Listings the server did not name stay off the worklist.
    for (const Record &r : m_list->listings())
        QVERIFY(r.id <= 25);

    auto *table = m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    const int last = table->columnCount() - 1;
    QCOMPARE(table->horizontalHeaderItem(last)->text(), QStringLiteral("到期时间"));
    auto *cell = qobject_cast<HouseTableLabelItemView *>(table->cellAt(0, last));
    QVERIFY(cell);
    QCOMPARE(cell->text(), QStringLiteral("2天"));
    QCOMPARE(m_list->findChild<QLabel *>(QStringLiteral("pageDesLabel"))->text(),
             QStringLiteral(" 条，共2页，共计25条，当前第 "));
}

void TestWeihuWorklist::sortsByTermBothWays()
{
    openList();
    auto *table = m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    auto *header = qobject_cast<HouseListTableHeadView *>(table->horizontalHeader());
    QVERIFY(header);
    const int section = table->columnCount() - 1;
    QVERIFY(header->isSortSection(section));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(section) + 5, 10));
    emit header->sectionDoubleClicked(section);
    QCOMPARE(m_list->sortKey(), QStringLiteral("days"));
    QCOMPARE(m_list->sortDescending(), header->isDescending());
    QVERIFY(m_list->sortDescending());
    QTRY_COMPARE(m_list->listings().value(0).days, 31);
    QList<int> days = daysOf(m_list->listings());
    QList<int> sorted = days;
    std::sort(sorted.begin(), sorted.end(), std::greater<int>());
    QCOMPARE(days, sorted);
}

void TestWeihuWorklist::pagingRules()
{
    openList();
    auto *next = m_list->findChild<QPushButton *>(QStringLiteral("nextPage"));
    QTest::mouseClick(m_list->findChild<QPushButton *>(QStringLiteral("nextTenPushButton")), Qt::LeftButton);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("后面没有十页内容了！"));
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(m_list->page(), 2);
    QTRY_COMPARE(m_list->listings().size(), 5);
    QTest::mouseClick(next, Qt::LeftButton);
    QTRY_COMPARE(m_alerts->count(), 2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("亲，当前已是最后一页无法再翻到下一页了！"));
    QCOMPARE(m_list->page(), 2);
    m_list->findChild<QLineEdit *>(QStringLiteral("currentPageIndexEdit"))->setText(QStringLiteral("3"));
    QTest::mouseClick(m_list->findChild<QPushButton *>(QStringLiteral("jumpBtn")), Qt::LeftButton);
    QTRY_COMPARE(m_alerts->count(), 3);
    QCOMPARE(m_alerts->last().text, QStringLiteral("请选择有效的页数！"));
    QTest::mouseClick(m_list->findChild<QPushButton *>(QStringLiteral("lastPage")), Qt::LeftButton);
    QCOMPARE(m_list->page(), 1);
    QTRY_COMPARE(m_list->listings().size(), 20);
}

void TestWeihuWorklist::rowOpensDetailWithPageIds()
{
    openList();
    auto *table = m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    emit table->clickRowIndex(25);  // outside the page: nothing
    QVERIFY(!m_list->findChild<HouseBookMessageDetailWidget *>());
    emit table->clickRowIndex(3);
    auto *detail = m_list->findChild<HouseBookMessageDetailWidget *>();
    QVERIFY(detail);
    QCOMPARE(detail->index(), 3);
    QList<int> ids;
    for (const Record &r : m_list->listings())
        ids << r.id;
    QCOMPARE(detail->ids(), ids);
}

void TestWeihuWorklist::backButtonFollowsFlag()
{
    openList(true);
    QSignalSpy back(m_list.data(), &WorkList::back_mainPage);
    auto *button = m_list->findChild<QPushButton *>(QStringLiteral("backButton"));
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("返回"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(back.count(), 1);

    QSignalSpy count(m_list.data(), &WorkList::back_count);
    QTest::mouseClick(m_list->findChild<QPushButton *>(QStringLiteral("refreshPushButton")), Qt::LeftButton);
    QTRY_COMPARE(count.count(), 1);
    QCOMPARE(count.first().first().toInt(), 25);
    QCOMPARE(m_server.requestsTo(maintainPath()).size(), 2);

    openList(false);
    QVERIFY(!m_list->findChild<QPushButton *>(QStringLiteral("backButton"))->isVisible());
}

void TestWeihuWorklist::failedDownloadShowsStoredTerms()
{
    HouseBookWeiHuMessage_DataSqlTable(nullptr, true).storeDays({{{"houseid", 4}, {"days", "9"}}, {{"houseid", 7}, {"days", "2"}}});
    m_server.setReply(maintainPath(), RecordingServer::envelope(500, QJsonValue(), QStringLiteral("服务器繁忙")));
    openList(true, 2);
    QCOMPARE(daysOf(m_list->listings()), (QList<int>{2, 9}));
    // The download runs in the background: its failure does not interrupt the user.
    QCOMPARE(m_alerts->count(), 0);
}

QTEST_MAIN(TestWeihuWorklist)
#include "tst_weihuworklist.moc"
