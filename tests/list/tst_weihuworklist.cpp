// The maintainer worklist against a recording server: the download of the maintainer terms,
// the page of listings joined with them (shortest term first, "%1天" under "到期时间"), the
// sale or rent columns of its kind, sorting by any sortable title, paging, row opening, the
// back button, and a failed download.
#include "alertrecorder.h"
#include "detail/housebookmessagedetailwidget.h"
#include "hostfixture.h"
#include "listing.h"
#include "list/housebookweihupeopleneeddealwidget.h"
#include "widgets/houselisttableheadview.h"
#include "list/housetablelabelitemview.h"
#include "widgets/hovertablewidget.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "sql/booksyncstatus.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housebookweihumessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"

#include <QDir>
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

const int kFirstRent = 41;

// Listings 1..40 are for sale, 41..48 for rent at 5000元/月.
QVariantMap listing(int id)
{
    const bool rent = id >= kFirstRent;
    Listing l(id);
    (rent ? l.rent() : l.sale())
        .owner("13900000002")
        .company(0)
        .unit("3", "2", QString::number(100 + id))
        .price(rent ? 5000 : 100 + id)
        .unitPrice(rent ? 0 : 12000 + id)
        .area(50 + (id * 13) % 90)
        .created("2024/01/01 08:00:00")
        .updated("2024/01/01 08:00:00")
        .set("zuunit", rent ? QStringLiteral("元/月") : QStringLiteral("万"));
    return l;
}

// The server names sale listings 1..25 and rent listings 41..46, listing n with (n * 7) % 31 + 1
// days.
QJsonArray seedBookAndTerms()
{
    QList<QVariantMap> records;
    for (int id = 1; id <= 48; ++id)
        records << listing(id);
    HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false);
    QJsonArray terms;
    for (int id = 1; id <= 46; ++id) {
        if (id <= 25 || id >= kFirstRent)
            terms << QJsonObject{{"houseid", id}, {"days", QString::number((id * 7) % 31 + 1)}};
    }
    return terms;
}

QStringList titlesOf(const HoverTableWidget *table)
{
    QStringList titles;
    for (int i = 0; i < table->columnCount(); ++i)
        titles << table->horizontalHeaderItem(i)->text();
    return titles;
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
    void sortsByHeaderTitle_data();
    void sortsByHeaderTitle();
    void kindChoosesListingsAndColumns_data();
    void kindChoosesListingsAndColumns();
    void pagingRules();
    void rowOpensDetailWithPageIds();
    void backButtonAndRefresh();
    void failedDownloadShowsStoredTerms();
    void emptyListSaysWhy();
    void typedPageSizeAppliesAtOnce();

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
    m_host->signInAs(TestUser().viewRange(0));
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
    m_list->resize(1280, 800);
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
    // Listings the server did not name stay off the worklist, and so do rent listings.
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

void TestWeihuWorklist::sortsByHeaderTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("sortKey");
    QTest::newRow("area") << QStringLiteral("面积") << QStringLiteral("builtuparea");
    QTest::newRow("number") << QStringLiteral("编号") << QStringLiteral("id");
}

// Every sortable title sorts by its own column, as on the list page.
void TestWeihuWorklist::sortsByHeaderTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, sortKey);
    openList();
    auto *table = m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    auto *header = qobject_cast<HouseListTableHeadView *>(table->horizontalHeader());
    const int section = titlesOf(table).indexOf(title);
    QVERIFY2(section >= 0, qPrintable(title));
    for (bool descending : {true, false}) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, 10));
        QCOMPARE(header->isDescending(), descending);
        const QList<int> before = [&] {
            QList<int> ids;
            for (const Record &r : m_list->listings())
                ids << r.id;
            return ids;
        }();
        emit header->sectionDoubleClicked(section);
        QCOMPARE(m_list->sortKey(), sortKey);
        QTRY_VERIFY(m_list->listings().size() == 20 && m_list->listings().first().id != before.first());
        const QList<Record> rows = m_list->listings();
        for (int i = 1; i < rows.size(); ++i) {
            const double a = sortKey == QLatin1String("id") ? rows.at(i - 1).id : rows.at(i - 1).builtuparea;
            const double b = sortKey == QLatin1String("id") ? rows.at(i).id : rows.at(i).builtuparea;
            QVERIFY2(descending ? a >= b : a <= b, qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
        }
    }
}

void TestWeihuWorklist::kindChoosesListingsAndColumns_data()
{
    QTest::addColumn<bool>("sale");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("priceTitle");
    QTest::addColumn<QString>("otherTitle");
    QTest::addColumn<QString>("priceText");
    QTest::newRow("sale") << true << 25 << QStringLiteral("总价") << QStringLiteral("租金") << QStringLiteral("万");
    QTest::newRow("rent") << false << 6 << QStringLiteral("租金") << QStringLiteral("总价") << QStringLiteral("5000元/月");
}

// The flag says sale or rent: the listings of that kind under the columns of that book.
void TestWeihuWorklist::kindChoosesListingsAndColumns()
{
    QFETCH(bool, sale);
    QFETCH(int, total);
    QFETCH(QString, priceTitle);
    QFETCH(QString, otherTitle);
    QFETCH(QString, priceText);
    // Both books show their price column.
    HouseBookSet_SqlTable settings(nullptr, true);
    for (auto book : {HouseBookSet_SqlTable::SaleBook, HouseBookSet_SqlTable::RentBook}) {
        QList<QVariantMap> columns = settings.showItems(book);
        for (QVariantMap &c : columns) {
            const QString title = c.value(QStringLiteral("title")).toString();
            if (title == QStringLiteral("总价") || title == QStringLiteral("租金"))
                c.insert(QStringLiteral("choose"), true);
        }
        settings.setShowItems(book, columns);
    }
    openList(sale, total);
    QVERIFY(m_list->isSale() == sale);
    const QString shots = qEnvironmentVariable("HOUSEBOOK_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        m_list->grab().save(QDir(shots).filePath(QStringLiteral("worklist_%1.png").arg(sale ? "sale" : "rent")));
    for (const Record &r : m_list->listings())
        QCOMPARE(r.types, sale ? 0 : 1);
    auto *table = m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    const QStringList titles = titlesOf(table);
    QVERIFY(!titles.contains(otherTitle));
    const int price = titles.indexOf(priceTitle);
    QVERIFY2(price >= 0, qPrintable(titles.join(',')));
    auto *cell = qobject_cast<HouseTableLabelItemView *>(table->cellAt(0, price));
    QVERIFY(cell->text().endsWith(priceText));
    QCOMPARE(titles.last(), QStringLiteral("到期时间"));

    // Sized to the window: the columns fill it, and the days are never cut.
    int sum = 0;
    for (int i = 0; i < table->columnCount(); ++i)
        sum += table->columnWidth(i);
    QVERIFY(sum >= table->viewport()->width());
    table->scrollTo(table->model()->index(0, titles.size() - 1));
    auto *days = qobject_cast<HouseTableLabelItemView *>(table->cellAt(0, titles.size() - 1));
    QTRY_VERIFY(days->isVisible());
    QCOMPARE(days->shownText(), days->text());
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
    QTRY_COMPARE(detail->index(), 3);  // loaded after its short delay
    QList<int> ids;
    for (const Record &r : m_list->listings())
        ids << r.id;
    QTRY_COMPARE(detail->ids(), ids);
    // Stepping past either end of the page goes on with the neighbouring page.
    emit detail->nextPage(detail);
    QCOMPARE(m_list->page(), 2);
    QTRY_COMPARE(detail->ids().size(), 5);
    QCOMPARE(detail->index(), 0);
    emit detail->lastPage(detail);
    QCOMPARE(m_list->page(), 1);
    QTRY_COMPARE(detail->index(), 19);
    QCOMPARE(detail->ids(), ids);
}

void TestWeihuWorklist::backButtonAndRefresh()
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

    openList(false, 6);
    QVERIFY(m_list->findChild<QPushButton *>(QStringLiteral("backButton"))->isVisible());
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

// "Nothing due" only when the terms and the book were both fetched: a failed download of
// either says so, with its reason.
void TestWeihuWorklist::emptyListSaysWhy()
{
    m_server.setReply(maintainPath(), RecordingServer::envelope(500, QJsonValue(), QStringLiteral("服务器繁忙")));
    openList(true, 0);
    auto *hint = m_list->findChild<QLabel *>(QStringLiteral("emptyHint"));
    QVERIFY(hint);
    QTRY_VERIFY(hint->isVisible());
    QVERIFY2(hint->text().contains(QStringLiteral("维护人数据获取失败：服务器繁忙(500)")), qPrintable(hint->text()));

    m_server.setReply(maintainPath(), RecordingServer::envelope(200, QJsonArray()));
    QTest::mouseClick(m_list->findChild<QPushButton *>(QStringLiteral("refreshPushButton")), Qt::LeftButton);
    QTRY_VERIFY(hint->text().contains(QStringLiteral("暂无即将到期的房源")));

    BookSyncStatus::instance()->setFailed(true, QStringLiteral("无法连接服务器"));
    QTRY_VERIFY(hint->text().contains(QStringLiteral("房源同步失败：无法连接服务器")));
    BookSyncStatus::instance()->setRunning(true);
    QTRY_VERIFY(hint->text().contains(QStringLiteral("正在从服务器同步房源")));
}

// A page size typed with Return is the size shown at once, as on the list page.
void TestWeihuWorklist::typedPageSizeAppliesAtOnce()
{
    openList(true, 25);
    QCOMPARE(m_list->listings().size(), 20);
    auto *size = m_list->findChild<QLineEdit *>(QStringLiteral("pageNumEdit"));
    size->setFocus();
    size->setText(QStringLiteral("10"));
    QTest::keyClick(size, Qt::Key_Return);
    QTRY_COMPARE(m_list->listings().size(), 10);
    QCOMPARE(m_list->pageSize(), 10);
    QCOMPARE(size->text(), QStringLiteral("10"));
    QCOMPARE(m_alerts->count(), 0);
}

QTEST_MAIN(TestWeihuWorklist)
#include "tst_weihuworklist.moc"
