// The house list page driven through its widgets, on listings seeded into the local store and
// a recording server: paging rules and refusals, page size edits, sorting from the header,
// the context menu by rights and flags, flag, status and delete posts with their local writes
// and portal takedowns, failed posts, and opening rows.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "datacenter.h"
#include "detail/housebookmessagedetailwidget.h"
#include "entry_forms/listingentryform.h"
#include "hostfixture.h"
#include "listing.h"
#include "list/housebookchangestatechoosedayswidget.h"
#include "list/housebooklistwidget.h"
#include "widgets/houselisttableheadview.h"
#include "list/housesearchview.h"
#include "list/housetableitemwidget.h"
#include "widgets/hovertablewidget.h"
#include "net/endpoints.h"
#include "portal/housebookxinfulipushobject.h"
#include "recordingserver.h"
#include "sql/booksyncstatus.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QVBoxLayout>
#include <QtTest>

using Record = HouseMessage_DataSqlTable::HouseMessageData;
using FormMap = QMap<QString, QString>;
Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

const QString kMe = QStringLiteral("13800000001");
const QString kOther = QStringLiteral("13900000002");

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

// An active sale listing of another agent, visible to everybody in the city.
QVariantMap listing(int id, const QVariantMap &overrides = QVariantMap())
{
    return Listing(id)
        .owner(kOther)
        .company(0)
        .unit("3", "2", QString::number(100 + id % 900))
        .district(QStringLiteral("蜀山区"), QStringLiteral("南七"))
        .price(100 + id % 97)
        .area(50 + id % 83)
        .unitPrice(10000 + id)
        .floors(1 + id % 30, 33)
        .created(QStringLiteral("2024/01/01 08:00:00"))
        .updated(QStringLiteral("2024/01/01 08:00:00"))
        .with({{"room", 1 + id % 4}, {"hall", 1}})
        .with(overrides);
}

void seed(int count, int firstId = 1)
{
    QList<QVariantMap> records;
    for (int id = firstId; id < firstId + count; ++id)
        records << listing(id);
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false), count);
}

void seedOne(const QVariantMap &record)
{
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses({record}, false), 1);
}

Record stored(int id)
{
    return HouseMessage_DataSqlTable(nullptr, true).getHouseData(id);
}

// An agent of the default view range holding the given rights over the whole company.
TestUser agentWith(const QList<int> &rights = {})
{
    return TestUser().viewRange(0).grant(rights, 0);
}

void setSaleStates()
{
    const QVariantMap bookset{{"chushoustate", QStringLiteral("急售,有效,一般,暂缓")},
                              {"chuzustate", QStringLiteral("急租,有效,一般,暂缓")}};
    HouseBookSet_SqlTable(nullptr, true)
        .setValue(QStringLiteral("bookset"), QString::fromUtf8(QJsonDocument::fromVariant(bookset).toJson()));
}

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->menu() ? a->menu()->title() : a->text());
    return texts;
}

QAction *actionNamed(const QMenu *menu, const QString &text)
{
    for (QAction *a : menu->actions()) {
        if (a->text() == text)
            return a;
        if (a->menu()) {
            if (QAction *inner = actionNamed(a->menu(), text))
                return inner;
        }
    }
    return nullptr;
}

} // namespace

class TestHouseListPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageShape();
    void emptyBookRefusesEveryStep();
    void fortyOneListingsMakeThreePages();
    void thousandListingsStepAndJump();
    void pageSizeEdits_data();
    void pageSizeEdits();
    void sortByHeaderTitle_data();
    void sortByHeaderTitle();
    void topFlaggedFirstWhateverTheSort();
    void menuEntriesByRights_data();
    void menuEntriesByRights();
    void statusSubmenu();
    void menuOutsideListingsDoesNothing();
    void flagCancelPostsAtOnce();
    void flagSetOpensDaysChooser();
    void statusChangeWritesStoredState_data();
    void statusChangeWritesStoredState();
    void deleteRemovesRow_data();
    void deleteRemovesRow();
    void failedPostChangesNothing_data();
    void failedPostChangesNothing();
    void openingRows();
    void worklistKeywords();
    void reloadsOnHouseChangeNotDuringSync();
    void watchRangeLines_data();
    void defaultStatusFilter();
    void detailStepsAcrossPages();
    void watchRangeLines();
    void statusClassesByLabel();
    void pagingBarShowsWhatIsShown();
    void savedPageSizePagesTheOpenBook();
    void searchWordsInRed();
    void syncFailureIsNotAnEmptyBook();
    void noEmptyHintWhileLoading();

private:
    void openPage(int mode = 4, int expectedTotal = -1);
    void openMenuOnRow(int row);
    QLineEdit *edit(const char *name) const { return m_page->findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QPushButton *button(const char *name) const { return m_page->findChild<QPushButton *>(QString::fromLatin1(name)); }
    QString description() const
    {
        return m_page->findChild<QLabel *>(QStringLiteral("pageDesLabel"))->text();
    }
    void clickAndExpectRefusal(const char *buttonName, const QString &text);
    void clickAndExpectPage(const char *buttonName, int page);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    HouseBookListWidget *m_page = nullptr;
};

void TestHouseListPage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_houseshuxing.startsWith(m_server.baseUrl()));
}

void TestHouseListPage::init()
{
    m_host.reset(new HostFixture);
    m_host->signInAs(agentWith());
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    HouseBookXinfuLiPushObject::clearPutDownLog();
    setSaleStates();
}

void TestHouseListPage::cleanup()
{
    m_page = nullptr;  // a child of the host window
    m_alerts.reset();
    m_host.reset();
}

void TestHouseListPage::openPage(int mode, int expectedTotal)
{
    m_page = new HouseBookListWidget(m_host->mainWindow());
    m_host->mainWindow()->setLayout(new QVBoxLayout);
    m_host->mainWindow()->layout()->addWidget(m_page);
    m_page->setMode(mode, 0);
    m_page->show();
    // The first load shows the page size; until then the size field is empty.
    QTRY_COMPARE(edit("pageNumEdit")->text(), QString::number(m_page->pageSize()));
    if (expectedTotal >= 0)
        QTRY_COMPARE(m_page->total(), expectedTotal);
}

void TestHouseListPage::openMenuOnRow(int row)
{
    auto *table = m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    const QRect cell = table->visualRect(table->model()->index(row, 0));
    QVERIFY(cell.isValid());
    m_page->showTableMeun(cell.center());
}

void TestHouseListPage::clickAndExpectRefusal(const char *buttonName, const QString &text)
{
    const int before = m_alerts->count();
    const int page = m_page->page();
    QTest::mouseClick(button(buttonName), Qt::LeftButton);
    QTRY_COMPARE(m_alerts->count(), before + 1);
    QCOMPARE(m_alerts->last().text, text);
    QCOMPARE(m_page->page(), page);
}

void TestHouseListPage::clickAndExpectPage(const char *buttonName, int page)
{
    const int before = m_alerts->count();
    QTest::mouseClick(button(buttonName), Qt::LeftButton);
    QCOMPARE(m_page->page(), page);
    // A successful step reloads under the overlay.
    QVERIFY(m_page->findChild<BusyOverlay *>()->isRunning());
    QCOMPARE(m_page->findChild<BusyOverlay *>()->text(), QStringLiteral("获取房源列表中..."));
    QTRY_VERIFY(!m_page->findChild<BusyOverlay *>()->isRunning());
    QCOMPARE(edit("currentPageIndexEdit")->text(), QString::number(page));
    QCOMPARE(m_alerts->count(), before);
}

void TestHouseListPage::pageShape()
{
    openPage();
    for (const char *name : {"houseSearchView", "tableWidget", "pushButton_watchRange", "widget_tip_34", "pageWidget"})
        QVERIFY2(m_page->findChild<QWidget *>(QString::fromLatin1(name)), name);
    QCOMPARE(button("pushButton_watchRange")->text(), QStringLiteral("查看范围"));
    QCOMPARE(button("jumpBtn")->text(), QStringLiteral("跳转"));
    QCOMPARE(button("lastTenPushButton")->text(), QStringLiteral("<<"));
    QCOMPARE(button("lastPage")->text(), QStringLiteral("上一页"));
    QCOMPARE(button("nextPage")->text(), QStringLiteral("下一页"));
    QCOMPARE(button("nextTenPushButton")->text(), QStringLiteral(">>"));
    QVERIFY(button("jumpBtn")->styleSheet().contains(QStringLiteral("rgb(92,185,92)")));
    QVERIFY(edit("pageNumEdit")->styleSheet().contains(QStringLiteral("1px solid rgb(12,145,235)")));
    QCOMPARE(edit("currentPageIndexEdit")->alignment(), Qt::AlignCenter);
    // The sortable header replaces the table's own; it must not stay hidden after the swap.
    auto *table = m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    QVERIFY(qobject_cast<HouseListTableHeadView *>(table->horizontalHeader()));
    QVERIFY(table->horizontalHeader()->isVisible());
    QCOMPARE(table->horizontalHeader()->height(), 40);
    QCOMPARE(m_page->sortKey(), QStringLiteral("id"));
    QVERIFY(m_page->sortDescending());
    // The fixed columns are read whatever the table shows, then those of the shown columns.
    QCOMPARE(m_page->fields().mid(0, 3), (QStringList{"id", "types", "userphone"}));
    QVERIFY(m_page->fields().contains(QStringLiteral("builtuparea")));
}

void TestHouseListPage::emptyBookRefusesEveryStep()
{
    openPage(4, 0);
    QCOMPARE(description(), QStringLiteral(" 条，共0页，共计0条，当前第 "));
    QCOMPARE(m_page->pageCount(), 0);
    clickAndExpectRefusal("nextPage", QStringLiteral("亲，当前已是最后一页无法再翻到下一页了！"));
    clickAndExpectRefusal("nextTenPushButton", QStringLiteral("后面没有十页内容了！"));
    clickAndExpectRefusal("lastPage", QStringLiteral("亲，当前已是第一页无法再翻到上一页了！"));
    edit("currentPageIndexEdit")->setText(QStringLiteral("1"));
    clickAndExpectRefusal("jumpBtn", QStringLiteral("请选择有效的页数！"));
}

void TestHouseListPage::fortyOneListingsMakeThreePages()
{
    seed(41);
    openPage(4, 41);
    QCOMPARE(m_page->pageSize(), 20);
    QCOMPARE(description(), QStringLiteral(" 条，共3页，共计41条，当前第 "));
    QCOMPARE(m_page->listings().size(), 20);
    clickAndExpectRefusal("nextTenPushButton", QStringLiteral("后面没有十页内容了！"));
    clickAndExpectPage("nextPage", 2);
    clickAndExpectPage("nextPage", 3);
    QCOMPARE(m_page->listings().size(), 1);
    clickAndExpectRefusal("nextPage", QStringLiteral("亲，当前已是最后一页无法再翻到下一页了！"));
    clickAndExpectPage("lastTenPushButton", 1);
    QCOMPARE(m_page->listings().value(0).id, 41);  // newest first
}

void TestHouseListPage::thousandListingsStepAndJump()
{
    seed(1000);
    openPage(4, 1000);
    QCOMPARE(description(), QStringLiteral(" 条，共50页，共计1000条，当前第 "));
    clickAndExpectPage("nextTenPushButton", 11);
    clickAndExpectPage("lastPage", 10);
    edit("currentPageIndexEdit")->setText(QStringLiteral("50"));
    clickAndExpectPage("jumpBtn", 50);
    QCOMPARE(m_page->listings().value(m_page->listings().size() - 1).id, 1);
    clickAndExpectRefusal("nextPage", QStringLiteral("亲，当前已是最后一页无法再翻到下一页了！"));
    edit("currentPageIndexEdit")->setText(QStringLiteral("51"));
    clickAndExpectRefusal("jumpBtn", QStringLiteral("请选择有效的页数！"));
    edit("currentPageIndexEdit")->setText(QStringLiteral("abc"));
    clickAndExpectRefusal("jumpBtn", QStringLiteral("请选择有效的页数！"));
    // Return in the page field jumps like the button.
    edit("currentPageIndexEdit")->setText(QStringLiteral("7"));
    QTest::keyClick(edit("currentPageIndexEdit"), Qt::Key_Return);
    QCOMPARE(m_page->page(), 7);
    QTRY_COMPARE(m_page->listings().value(0).id, 1000 - 6 * 20);
}

void TestHouseListPage::pageSizeEdits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("pageSize");
    QTest::newRow("text") << "abc" << 20 << 30;
    QTest::newRow("zero") << "0" << 20 << 30;
    QTest::newRow("over 100") << "101" << 20 << 30;
    QTest::newRow("valid") << "50" << 50 << 50;
    QTest::newRow("upper bound") << "100" << 100 << 100;
}

void TestHouseListPage::pageSizeEdits()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(int, pageSize);
    seed(120);
    HouseBookSet_SqlTable(nullptr, true).setValue(QStringLiteral("page"), QStringLiteral("30"));
    openPage(4, 120);
    QCOMPARE(m_page->pageSize(), 30);
    QCOMPARE(m_page->listings().size(), 30);
    QLineEdit *size = edit("pageNumEdit");
    size->setFocus();
    size->setText(typed);
    QTest::keyClick(size, Qt::Key_Return);
    QCOMPARE(HouseBookSet_SqlTable(nullptr, true).pageSize(), stored);
    QCOMPARE(m_page->pageSize(), pageSize);
    // The host's refresh reads the stored size again.
    m_page->refreshPage();
    QCOMPARE(m_page->pageSize(), stored);
    QTRY_COMPARE(m_page->listings().size(), qMin(stored, 120));
    QCOMPARE(description(), QStringLiteral(" 条，共%1页，共计120条，当前第 ").arg((120 + stored - 1) / stored));
}

void TestHouseListPage::sortByHeaderTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("sortKey");
    QTest::newRow("面积") << "面积" << "builtuparea";
    QTest::newRow("户型") << "户型" << "room";
    QTest::newRow("录入时间") << "录入时间" << "createtime";
    QTest::newRow("更新时间") << "更新时间" << "lasttime";
    QTest::newRow("编号") << "编号" << "id";
    QTest::newRow("小区 does not sort") << "小区" << "";
}

void TestHouseListPage::sortByHeaderTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, sortKey);
    seed(30);
    openPage(4, 30);
    auto *table = m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    auto *header = qobject_cast<HouseListTableHeadView *>(table->horizontalHeader());
    QVERIFY(header);
    int section = -1;
    for (int i = 0; i < table->columnCount(); ++i) {
        if (table->horizontalHeaderItem(i)->text() == title)
            section = i;
    }
    QVERIFY2(section >= 0, qPrintable(title));
    QTest::mouseClick(button("nextPage"), Qt::LeftButton);
    QTRY_COMPARE(m_page->page(), 2);
    emit header->sectionDoubleClicked(section);
    if (sortKey.isEmpty()) {
        QCOMPARE(m_page->sortKey(), QStringLiteral("id"));
        QCOMPARE(m_page->page(), 2);
        return;
    }
    QCOMPARE(m_page->sortKey(), sortKey);
    QCOMPARE(m_page->sortDescending(), header->isDescending());
    QCOMPARE(m_page->page(), 1);
    QTRY_COMPARE(edit("currentPageIndexEdit")->text(), QStringLiteral("1"));
    // Rows come in the chosen order.
    const QList<Record> rows = m_page->listings();
    for (int i = 1; i < rows.size(); ++i) {
        const Record &a = rows.at(i - 1);
        const Record &b = rows.at(i);
        const double va = sortKey == "builtuparea" ? a.builtuparea : sortKey == "room" ? a.room : a.id;
        const double vb = sortKey == "builtuparea" ? b.builtuparea : sortKey == "room" ? b.room : b.id;
        if (sortKey == "createtime" || sortKey == "lasttime")
            break;
        QVERIFY2(m_page->sortDescending() ? va >= vb : va <= vb, qPrintable(QString::number(i)));
    }
}

void TestHouseListPage::topFlaggedFirstWhateverTheSort()
{
    seed(25);
    seedOne(listing(3, {{"istop", 1}}));
    openPage(4, 25);
    QCOMPARE(m_page->listings().value(0).id, 3);
}

void TestHouseListPage::menuEntriesByRights_data()
{
    QTest::addColumn<bool>("manager");
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<QVariantMap>("record");
    QTest::addColumn<QStringList>("entries");
    const QVariantMap plain;
    QTest::newRow("manager") << true << QList<int>() << plain
                             << QStringList{"置顶", "锁盘", "封盘", "独家", "删除", "修改状态"};
    QTest::newRow("manager, flags set") << true << QList<int>()
                                        << QVariantMap{{"istop", 1}, {"suopan", 1}, {"fengpan", 1}, {"hbdujia", 1}}
                                        << QStringList{"取消置顶", "取消锁盘", "取消封盘", "取消独家", "删除", "修改状态"};
    QTest::newRow("lock, seal and top rights") << false << QList<int>{102, 108, 109, 110} << QVariantMap{{"suopan", 1}}
                                               << QStringList{"取消锁盘", "封盘", "置顶"};
    QTest::newRow("delete right") << false << QList<int>{36} << plain << QStringList{"删除"};
    QTest::newRow("pending listing") << false << QList<int>() << QVariantMap{{"housestatus", 0}} << QStringList{"删除"};
    QTest::newRow("sale status right") << false << QList<int>{48} << plain << QStringList{"修改状态"};
    QTest::newRow("rent right on a sale listing") << false << QList<int>{59} << plain << QStringList();
    QTest::newRow("rent status right") << false << QList<int>{59} << QVariantMap{{"types", 1}} << QStringList{"修改状态"};
    QTest::newRow("owner") << false << QList<int>() << QVariantMap{{"userphone", kMe}}
                           << QStringList{"删除", "修改状态"};
    QTest::newRow("no rights") << false << QList<int>() << plain << QStringList();
}

void TestHouseListPage::menuEntriesByRights()
{
    QFETCH(bool, manager);
    QFETCH(QList<int>, rights);
    QFETCH(QVariantMap, record);
    QFETCH(QStringList, entries);
    seedOne(listing(7, record));
    m_host->signInAs(agentWith(rights).jointSaleManager(manager));
    openPage(record.value("types").toInt() == 1 ? 6 : 5, 1);
    openMenuOnRow(0);
    QMenu *menu = m_page->tableMenu();
    QCOMPARE(menu->parent(), static_cast<QObject *>(m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"))));
    QCOMPARE(m_page->menuRow(), 0);
    if (entries.isEmpty()) {
        QVERIFY(!menu->isVisible());
        return;
    }
    QCOMPARE(actionTexts(menu), entries);
    QVERIFY(menu->isVisible());
    const QString style = menu->styleSheet();
    for (const char *part : {"background-color:rgb(240,240,240)", "border:1px solid rgb(221,221,221)", "font-size:13px",
                             "padding:3px 30px 4px 10px", "background-color:rgb(24,135,240)", "color:white"})
        QVERIFY2(style.contains(QString::fromLatin1(part)), part);
    menu->hide();
}

void TestHouseListPage::statusSubmenu()
{
    seedOne(listing(7, {{"newstate", QStringLiteral("一般")}}));
    seedOne(listing(8, {{"types", 1}, {"newstate", QStringLiteral("已租")}}));
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(5, 1);
    openMenuOnRow(0);
    auto *sub = qobject_cast<QMenu *>(actionNamed(m_page->tableMenu(), QStringLiteral("  有效"))->parent());
    QVERIFY(sub);
    QCOMPARE(sub->title(), QStringLiteral("修改状态"));
    QCOMPARE(actionTexts(sub), (QStringList{"  急售", "  有效", "  一般", "  暂缓", "  暂不售", "  电话无效", "  已定",
                                            "  成交", "  已售", "  无效"}));
    for (QAction *a : sub->actions())
        QCOMPARE(!a->icon().isNull(), a->text() == QStringLiteral("  一般"));
    m_page->tableMenu()->hide();

    m_page->setMode(6, 0);
    QTRY_COMPARE(m_page->listings().value(0).id, 8);
    openMenuOnRow(0);
    sub = qobject_cast<QMenu *>(actionNamed(m_page->tableMenu(), QStringLiteral("  已租"))->parent());
    QCOMPARE(actionTexts(sub), (QStringList{"  急租", "  有效", "  一般", "  暂缓", "  暂不租", "  电话无效", "  已定",
                                            "  成交", "  已租", "  无效"}));
    QVERIFY(!actionNamed(sub, QStringLiteral("  已租"))->icon().isNull());
    m_page->tableMenu()->hide();
}

void TestHouseListPage::menuOutsideListingsDoesNothing()
{
    seed(2);
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(4, 2);
    auto *table = m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    m_page->showTableMeun(QPoint(5, table->viewport()->height() - 2));
    QVERIFY(!m_page->tableMenu()->isVisible());
    QCOMPARE(m_page->menuRow(), -1);
    emit table->clickRowIndex(5);
    QVERIFY(m_page->findChildren<CommonAddWidget *>().isEmpty());
}

void TestHouseListPage::flagCancelPostsAtOnce()
{
    seedOne(listing(42, {{"istop", 1}}));
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(4, 1);
    openMenuOnRow(0);
    actionNamed(m_page->tableMenu(), QStringLiteral("取消置顶"))->trigger();
    QVERIFY(m_page->findChild<BusyOverlay *>()->isRunning());
    const QString path = pathOf(Endpoints::instance().app_houseshuxing);
    QTRY_COMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(m_server.requestsTo(path).first().form,
             (FormMap{{"itemid", "42"}, {"state", "0"}, {"type", "1"}, {"lianmai", "1"}}));
    QTRY_VERIFY(m_alerts->texts().contains(QStringLiteral("更改置顶状态成功！")));
    QCOMPARE(stored(42).istop, 0);
    QTRY_COMPARE(m_page->listings().value(0).istop, 0);
    QVERIFY(m_page->findChildren<HouseBookChangeStateChooseDaysWidget *>().isEmpty());
}

void TestHouseListPage::flagSetOpensDaysChooser()
{
    seedOne(listing(42));
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(4, 1);
    openMenuOnRow(0);
    actionNamed(m_page->tableMenu(), QStringLiteral("锁盘"))->trigger();
    auto *chooser = m_page->findChild<HouseBookChangeStateChooseDaysWidget *>();
    QVERIFY(chooser);
    QCOMPARE(chooser->houseId(), 42);
    QCOMPARE(chooser->type(), 2);
    auto *popup = qobject_cast<CommonAddWidget *>(chooser->window());
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("修改房源-锁盘"));
    QCOMPARE(popup->size(), QSize(412, 312));
    QCOMPARE(popup->shadowColor(), QColor(0, 0, 0, 30));
    QCOMPARE(m_server.requestCount(), 0);
    // The chooser's success closes the pop-up.
    QPointer<CommonAddWidget> guard(popup);
    emit chooser->modifySuccess();
    QTRY_VERIFY(guard.isNull());
}

void TestHouseListPage::statusChangeWritesStoredState_data()
{
    QTest::addColumn<int>("types");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("takenDown");
    QTest::newRow("sale 已售") << 0 << "已售" << true;
    QTest::newRow("sale 暂不售") << 0 << "暂不售" << true;
    QTest::newRow("sale 电话无效") << 0 << "电话无效" << true;
    QTest::newRow("sale class 急售") << 0 << "急售" << false;
    QTest::newRow("rent 已租") << 1 << "已租" << false;
    QTest::newRow("rent 暂不租") << 1 << "暂不租" << false;
    QTest::newRow("rent 成交") << 1 << "成交" << true;
    QTest::newRow("rent 已定") << 1 << "已定" << true;
    QTest::newRow("rent 无效") << 1 << "无效" << true;
}

void TestHouseListPage::statusChangeWritesStoredState()
{
    QFETCH(int, types);
    QFETCH(QString, status);
    QFETCH(bool, takenDown);
    seedOne(listing(77, {{"types", types}}));
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(types == 1 ? 6 : 5, 1);
    openMenuOnRow(0);
    QAction *entry = actionNamed(m_page->tableMenu(), QStringLiteral("  ") + status);
    QVERIFY(entry);
    entry->trigger();
    const QString path = pathOf(Endpoints::instance().app_housebooknewstate);
    QTRY_COMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(m_server.requestsTo(path).first().form, (FormMap{{"id", "77"}, {"state", status}, {"lianmai", "1"}}));
    QTRY_VERIFY(m_alerts->texts().contains(QStringLiteral("更改房源状态成功！")));
    // Read back through the store: the column holds the stored form of the clear text.
    QCOMPARE(stored(77).newstate, status);
    QTRY_COMPARE(m_page->listings().value(0).newstate, status);
    const QStringList expected = takenDown ? QStringList{QStringLiteral("77:房源状态修改为：%1").arg(status)} : QStringList();
    QCOMPARE(HouseBookXinfuLiPushObject::putDownLog(), expected);
}

void TestHouseListPage::deleteRemovesRow_data()
{
    QTest::addColumn<int>("housestatus");
    QTest::addColumn<int>("notDealSignals");
    QTest::newRow("pending listing") << 0 << 1;
    QTest::newRow("active listing") << 1 << 0;
}

void TestHouseListPage::deleteRemovesRow()
{
    QFETCH(int, housestatus);
    QFETCH(int, notDealSignals);
    seed(3);
    seedOne(listing(2, {{"housestatus", housestatus}, {"name", QStringLiteral("翡翠湖畔")}}));
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(5, 3);
    QSignalSpy notDeal(m_page, &HouseBookListWidget::refreshNotDeal);
    m_alerts->answerWith(AlertWidget::Sure);
    openMenuOnRow(1);
    QCOMPARE(m_page->listings().at(1).id, 2);
    actionNamed(m_page->tableMenu(), QStringLiteral("删除"))->trigger();
    QTRY_COMPARE(m_alerts->count(), 1);
    const AlertRecord box = m_alerts->last();
    QCOMPARE(box.title, QStringLiteral("删除房源"));
    QVERIFY(box.buttons.contains(QStringLiteral("删除")));
    QVERIFY(box.text.contains(QStringLiteral("是否确定要删除房源")));
    QVERIFY(box.text.contains(QStringLiteral("&lt;翡翠湖畔-3栋-2单元102&gt;")));
    QVERIFY(box.text.contains(QStringLiteral("color:#ff0000")) && box.text.contains(QStringLiteral("font-weight:600")));
    const QString path = pathOf(Endpoints::instance().app_housebookdel);
    QTRY_COMPARE(m_server.requestsTo(path).size(), 1);
    QCOMPARE(m_server.requestsTo(path).first().form, (FormMap{{"id", "2"}, {"lianmai", "1"}}));
    QTRY_COMPARE(m_page->listings().size(), 2);
    QCOMPARE(m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"))->rowCount(), 2);
    QCOMPARE(m_page->total(), 2);
    QCOMPARE(stored(2).id, 0);
    QCOMPARE(notDeal.count(), notDealSignals);
    QCOMPARE(HouseBookXinfuLiPushObject::putDownLog(), QStringList{QStringLiteral("2:房源已被删除！")});
}

void TestHouseListPage::failedPostChangesNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("endpoint");
    QTest::addColumn<RecordingServer::Reply>("reply");
    QTest::addColumn<QString>("alert");
    const QString status = pathOf(Endpoints::instance().app_housebooknewstate);
    const QString flag = pathOf(Endpoints::instance().app_houseshuxing);
    const QString del = pathOf(Endpoints::instance().app_housebookdel);
    const auto refused = RecordingServer::envelope(405, QJsonValue(), QStringLiteral("房源已被锁定"));
    const auto broken = RecordingServer::envelope(200, QJsonValue(), QString());
    const auto serverError = RecordingServer::raw("oops", 500);
    const auto malformed = RecordingServer::raw("<html>busy</html>", 200);
    const auto dropped = RecordingServer::dropped();
    Q_UNUSED(broken)
    const QString statusFail = QStringLiteral("更改房源状态失败：%1\n房源未作更改，请稍后重试。");
    const QString flagFail = QStringLiteral("更改封盘状态失败：%1\n房源未作更改，请稍后重试。");
    const QString delFail = QStringLiteral("删除房源失败：%1\n房源未删除，请稍后重试。");
    QTest::newRow("status refused") << "  无效" << status << refused << "房源已被锁定";
    QTest::newRow("flag cancel refused") << "取消封盘" << flag << refused << "房源已被锁定";
    QTest::newRow("delete refused") << "删除" << del << refused << "房源已被锁定";
    // Failures the request object does not put into words of its own must still reach the
    // agent, with what failed and that nothing was changed.
    QTest::newRow("status 500") << "  无效" << status << serverError << statusFail.arg("服务器错误(500)");
    QTest::newRow("status malformed") << "  无效" << status << malformed << statusFail.arg("服务器返回的数据无法识别");
    QTest::newRow("status dropped") << "  无效" << status << dropped << statusFail.arg("与服务器的连接中断");
    QTest::newRow("flag cancel 500") << "取消封盘" << flag << serverError << flagFail.arg("服务器错误(500)");
    QTest::newRow("flag cancel dropped") << "取消封盘" << flag << dropped << flagFail.arg("与服务器的连接中断");
    QTest::newRow("delete 500") << "删除" << del << serverError << delFail.arg("服务器错误(500)");
    QTest::newRow("delete malformed") << "删除" << del << malformed << delFail.arg("服务器返回的数据无法识别");
}

void TestHouseListPage::failedPostChangesNothing()
{
    QFETCH(QString, entry);
    QFETCH(QString, endpoint);
    QFETCH(RecordingServer::Reply, reply);
    QFETCH(QString, alert);
    seed(2);
    seedOne(listing(2, {{"fengpan", 1}, {"newstate", QStringLiteral("有效")}}));
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(5, 2);
    m_alerts->answerWith(AlertWidget::Sure);
    m_server.setDefaultReply(reply);
    openMenuOnRow(0);
    actionNamed(m_page->tableMenu(), entry)->trigger();
    QTRY_COMPARE(m_server.requestsTo(endpoint).size(), 1);
    QTRY_VERIFY(m_alerts->texts().contains(alert));
    QTRY_VERIFY(!m_page->findChild<BusyOverlay *>()->isRunning());
    // Exactly one box tells of the failure (the delete also asked for confirmation).
    int failureBoxes = 0;
    for (const AlertRecord &r : m_alerts->records())
        failureBoxes += r.text == alert ? 1 : 0;
    QCOMPARE(failureBoxes, 1);
    QCOMPARE(m_page->listings().size(), 2);
    QCOMPARE(m_page->total(), 2);
    const Record after = stored(2);
    QCOMPARE(after.id, 2);
    QCOMPARE(after.fengpan, 1);
    QCOMPARE(after.newstate, QStringLiteral("有效"));
    QVERIFY(HouseBookXinfuLiPushObject::putDownLog().isEmpty());
}

void TestHouseListPage::openingRows()
{
    seedOne(listing(1));
    seedOne(listing(2, {{"housestatus", 0}}));
    // Awaiting review: only its owner and the reviewers see it.
    seedOne(listing(3, {{"shenhestatus", 1}, {"userphone", kMe}}));
    seedOne(listing(4, {{"types", 1}, {"housestatus", 0}}));
    openPage(5, 3);
    auto *table = m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    QSignalSpy notDeal(m_page, &HouseBookListWidget::refreshNotDeal);

    // Row 0 is listing 3, awaiting review: refused without permission 136.
    emit table->clickRowIndex(0);
    QTRY_COMPARE(m_alerts->last().text, QStringLiteral("你没有审核权限，无法审核该房源！"));
    QVERIFY(m_page->findChildren<CommonAddWidget *>().isEmpty());
    m_host->signInAs(agentWith({136}));
    emit table->clickRowIndex(0);
    auto *review = m_page->findChild<CommonAddWidget *>();
    QVERIFY(review);
    QCOMPARE(review->title(), QStringLiteral("出售房源审核"));
    QCOMPARE(review->size(), QSize(762, 762));
    auto *form = qobject_cast<ListingEntryForm *>(review->contentWidget());
    QVERIFY(form && form->isReview() && form->isEdit());
    QCOMPARE(form->houseData().id, 3);
    QPointer<CommonAddWidget> guard(review);
    emit form->addHouseSuccess(3);
    QTRY_VERIFY(guard.isNull());
    QTRY_COMPARE(m_alerts->last().text, QStringLiteral("审核房源成功！"));
    QCOMPARE(notDeal.count(), 1);

    // Row 1 is listing 2, pending: re-edit.
    emit table->clickRowIndex(1);
    auto *edit = m_page->findChild<CommonAddWidget *>();
    QVERIFY(edit);
    QCOMPARE(edit->title(), QStringLiteral("出售房源编辑"));
    form = qobject_cast<ListingEntryForm *>(edit->contentWidget());
    QVERIFY(form && form->isEdit() && !form->isReview());
    guard = edit;
    emit form->addHouseSuccess(2);
    QTRY_VERIFY(guard.isNull());
    QTRY_COMPARE(m_alerts->last().text, QStringLiteral("修改房源成功！"));
    QCOMPARE(notDeal.count(), 2);

    // Row 2 is listing 1, active: the detail window with the page's ids, marked read.
    emit table->clickRowIndex(2);
    auto *detail = m_page->findChild<HouseBookMessageDetailWidget *>();
    QVERIFY(detail);
    QTRY_COMPARE(detail->ids(), (QList<int>{3, 2, 1}));  // loaded after its short delay
    QCOMPARE(detail->index(), 2);
    QCOMPARE(qobject_cast<CommonAddWidget *>(detail->window())->size(), QSize(912, 692));
    QVERIFY(HouseBookSet_SqlTable(nullptr, true).historyIds(QStringLiteral("readhistory")).contains(QStringLiteral("1")));
    // Stepping past the page from the detail window is refused on a single page.
    emit detail->nextPage(detail);
    QTRY_COMPARE(m_alerts->last().text, QStringLiteral("亲，当前已是最后一页无法再翻到下一页了！"));
    emit detail->lastPage(detail);
    QTRY_COMPARE(m_alerts->last().text, QStringLiteral("亲，当前已是第一页无法再翻到上一页了！"));
}

void TestHouseListPage::worklistKeywords()
{
    seed(5);
    seedOne(listing(6, {{"housestatus", 0}}));
    seedOne(listing(7, {{"shenhestatus", 1}}));
    openPage(2);
    m_host->signInAs(TestUser().jointSaleManager());
    m_page->showNeedDeal();
    QCOMPARE(m_page->keyWord(), QStringLiteral("待处理"));
    QCOMPARE(m_page->page(), 1);
    m_page->setMode(5, 0);
    m_page->showNeedDeal();
    QTRY_COMPARE(m_page->total(), 1);
    QCOMPARE(m_page->listings().value(0).id, 6);
    m_page->showNeedReview();
    QCOMPARE(m_page->keyWord(), QStringLiteral("待审核房源"));
    QTRY_COMPARE(m_page->listings().value(0).id, 7);
    QCOMPARE(m_page->total(), 1);
    m_page->showNeedXieZuo();
    QCOMPARE(m_page->keyWord(), QStringLiteral("待审核"));
    m_page->refreshPage();
    QVERIFY(m_page->keyWord().isEmpty());
    QTRY_COMPARE(m_page->total(), 7);
}

void TestHouseListPage::reloadsOnHouseChangeNotDuringSync()
{
    seed(3);
    openPage(4, 3);
    seed(2, 10);
    CommonSignalTool::Instance()->send_localHouseChange(QVariant());
    QTRY_COMPARE(m_page->total(), 5);

    seed(1, 20);
    DataCenter::refreshStateOfDB = QByteArray("\x00\x01", 2);
    auto *loadTimer = m_page->findChild<QTimer *>(QStringLiteral("loadTimer"));
    QVERIFY(loadTimer && !loadTimer->isActive());
    CommonSignalTool::Instance()->send_houseBookSetChange(QVariant());
    QVERIFY(!loadTimer->isActive());
    QCOMPARE(m_page->total(), 5);
    DataCenter::refreshStateOfDB = QByteArray(2, '\0');
    CommonSignalTool::Instance()->send_houseBookSetChange(QVariant());
    QTRY_COMPARE(m_page->total(), 6);
}

void TestHouseListPage::watchRangeLines_data()
{
    QTest::addColumn<bool>("manager");
    QTest::addColumn<QVariantList>("rights");
    QTest::addColumn<QStringList>("lines");
    const auto right = [](int id, int range, const QVariantMap &more = QVariantMap()) {
        QVariantMap r{{"id", id}, {"selected", true}, {"range", range}};
        r.insert(more);
        return QVariant(r);
    };
    const QString city = QStringLiteral("1.当前城市(340100)的房源");
    QTest::newRow("manager") << true << QVariantList() << QStringList{city};
    QTest::newRow("no rights") << false << QVariantList()
                               << QStringList{city, "2.公司房源及所在部门房源", "4.锁盘查看：仅自己的锁盘房源"};
    QTest::newRow("distance") << false << QVariantList{right(132, 0, {{"count", 800}}), right(102, 0)}
                              << QStringList{city, "2.以所在部门为中心【800m】以内的公司房源及所在部门房源",
                                             "4.锁盘查看：全公司的锁盘房源"};
    QTest::newRow("own only, lock scope 2")
        << false << QVariantList{right(132, 2), right(102, 2)}
        << QStringList{city, "2.仅自己的房源", "4.锁盘查看：所在部门及以下部门的锁盘房源"};
    // An unknown scope and a status right without statuses say nothing: no empty line, no "【】".
    QTest::newRow("unknown scope, no statuses")
        << false << QVariantList{right(132, 1), right(114, 0), right(102, 1)} << QStringList{city};
    QTest::newRow("statuses") << false
                              << QVariantList{right(132, 6), right(114, 0, {{"sons", QVariantList{QVariantMap{{"name", "已售"}},
                                                                                                  QVariantMap{{"name", "无效"}}}}}),
                                              right(102, 6)}
                              << QStringList{city, "2.所在部门的房源", "3.状态包含在【已售,无效】以内的房源",
                                             "4.锁盘查看：所在部门的锁盘房源"};
}

void TestHouseListPage::watchRangeLines()
{
    QFETCH(bool, manager);
    QFETCH(QVariantList, rights);
    QFETCH(QStringList, lines);
    m_host->signInAs(TestUser().rights(rights).jointSaleManager(manager));
    openPage(4, 0);
    QTest::mouseClick(button("pushButton_watchRange"), Qt::LeftButton);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().title, QStringLiteral("查看房源范围："));
    QCOMPARE(m_alerts->last().text.split(QLatin1Char('\n')), lines);
}

void TestHouseListPage::defaultStatusFilter()
{
    HouseBookSet_SqlTable settings(nullptr, true);
    QList<QVariantMap> items = settings.searchItems(HouseBookSet_SqlTable::SaleBook);
    for (QVariantMap &item : items) {
        if (item.value("id").toInt() == 20)
            item.insert("choose", true);
    }
    QVERIFY(settings.setSearchItems(HouseBookSet_SqlTable::SaleBook, items));
    seed(3);
    seedOne(listing(2, {{"newstate", QStringLiteral("已售")}}));
    openPage(4, 2);
    QCOMPARE(m_page->conditions().value("state").toString(), QStringLiteral("急售,有效,一般,暂缓"));
    QVERIFY(m_page->findChild<QWidget *>(QStringLiteral("houseSearchView")));
    for (const Record &r : m_page->listings())
        QVERIFY(r.id != 2);
    // The host's refresh clears the search but sets the default filter again.
    m_page->refreshPage();
    QCOMPARE(m_page->conditions(), (QVariantMap{{"state", QStringLiteral("急售,有效,一般,暂缓")}}));
}

void TestHouseListPage::detailStepsAcrossPages()
{
    seed(41);
    openPage(4, 41);
    auto *table = m_page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    emit table->clickRowIndex(19);
    auto *detail = m_page->findChild<HouseBookMessageDetailWidget *>();
    QVERIFY(detail);
    QTRY_COMPARE(detail->index(), 19);
    emit detail->nextPage(detail);
    QCOMPARE(m_page->page(), 2);  // loaded at once, no deferral
    QCOMPARE(m_page->listings().value(0).id, 21);
    QTRY_COMPARE(detail->index(), 0);
    QCOMPARE(detail->ids().size(), 20);
    QCOMPARE(detail->ids().value(0), 21);
    emit detail->lastPage(detail);
    QCOMPARE(m_page->page(), 1);
    QTRY_COMPARE(detail->index(), 19);
    QCOMPARE(detail->ids().value(19), 22);
    QCOMPARE(m_alerts->count(), 0);
}

// The status menu and the default filter both take the classes labelled A to D, whatever
// order the company stored them in and whatever other classes it keeps.
void TestHouseListPage::statusClassesByLabel()
{
    const QJsonArray states{QJsonObject{{"title", "暂缓"}, {"lable", "D"}}, QJsonObject{{"title", "特价"}, {"lable", "E"}},
                            QJsonObject{{"title", "一般"}, {"lable", "C"}}, QJsonObject{{"title", "有效"}, {"lable", "B"}},
                            QJsonObject{{"title", "急售"}, {"lable", "A"}}};
    HouseBookSet_SqlTable(nullptr, true)
        .setValue(QStringLiteral("bookset"),
                  QString::fromUtf8(QJsonDocument(QJsonObject{{"chushoustate", states}}).toJson(QJsonDocument::Compact)));
    QCOMPARE(HouseBookSet_SqlTable(nullptr, true).classStateNames(true), (QStringList{"急售", "有效", "一般", "暂缓"}));
    seedOne(listing(7, {{"newstate", QStringLiteral("急售")}}));
    m_host->signInAs(TestUser().jointSaleManager());
    openPage(5, 1);
    openMenuOnRow(0);
    auto *sub = qobject_cast<QMenu *>(actionNamed(m_page->tableMenu(), QStringLiteral("  有效"))->parent());
    QVERIFY(sub);
    QCOMPARE(actionTexts(sub).mid(0, 5), (QStringList{"  急售", "  有效", "  一般", "  暂缓", "  暂不售"}));
    m_page->tableMenu()->hide();
    const QString filter = m_page->conditions().value(QStringLiteral("state")).toString();
    if (!filter.isEmpty())
        QCOMPARE(filter, QStringLiteral("急售,有效,一般,暂缓"));
}

// After a refusal, and after a page size typed with Return, the bar describes the page and
// size on screen, never the refused values.
// A page size saved in the settings reaches an open book with the settings download: it
// pages by the new size from its first page, and the bar shows the size.
void TestHouseListPage::savedPageSizePagesTheOpenBook()
{
    seed(130);
    openPage(4, 130);
    clickAndExpectPage("nextPage", 2);
    QVERIFY(HouseBookSet_SqlTable(nullptr, true).storeHouseBookSet(QJsonObject{{"page", 50}}));
    QTRY_COMPARE(m_page->listings().size(), 50);
    QCOMPARE(m_page->pageSize(), 50);
    QCOMPARE(m_page->page(), 1);
    QCOMPARE(edit("pageNumEdit")->text(), QStringLiteral("50"));
    QCOMPARE(description(), QStringLiteral(" 条，共3页，共计130条，当前第 "));
}

void TestHouseListPage::pagingBarShowsWhatIsShown()
{
    seed(1200);
    openPage(4, 1200);
    clickAndExpectPage("nextPage", 2);
    edit("currentPageIndexEdit")->setText(QStringLiteral("999"));
    clickAndExpectRefusal("jumpBtn", QStringLiteral("请选择有效的页数！"));
    QCOMPARE(edit("currentPageIndexEdit")->text(), QStringLiteral("2"));

    const int boxes = m_alerts->count();
    QLineEdit *size = edit("pageNumEdit");
    size->setFocus();
    size->setText(QStringLiteral("50"));
    QTest::keyClick(size, Qt::Key_Return);
    QTRY_COMPARE(m_page->listings().size(), 50);
    QCOMPARE(m_alerts->count(), boxes);
    QCOMPARE(m_page->pageSize(), 50);
    // Page 2 at 20 rows started with row 21, which page 1 at 50 rows holds.
    QCOMPARE(m_page->page(), 1);
    QCOMPARE(size->text(), QStringLiteral("50"));
    QCOMPARE(description(), QStringLiteral(" 条，共24页，共计1200条，当前第 "));
    QCOMPARE(edit("currentPageIndexEdit")->text(), QStringLiteral("1"));

    // A size out of range is stored as 20 (the stored default) but the page keeps 50 rows,
    // and so does the field.
    size->setText(QStringLiteral("0"));
    QTest::keyClick(size, Qt::Key_Return);
    QCOMPARE(size->text(), QStringLiteral("50"));
    QCOMPARE(m_page->listings().size(), 50);
}

// The words of a search reach the community cells, which show them in red; a worklist's
// own keyword is not a search word.
void TestHouseListPage::searchWordsInRed()
{
    seed(3);
    openPage(4, 3);
    auto *search = m_page->findChild<HouseSearchView *>(QStringLiteral("houseSearchView"));
    emit search->searchParam(QVariantMap{{"keyWord", QStringLiteral("阳光花园")}}, {});
    QTRY_COMPARE(m_page->listings().size(), 3);
    const auto cellTexts = [this] {
        QStringList texts;
        for (HouseTableItemWidget *cell : m_page->findChildren<HouseTableItemWidget *>())
            texts << cell->labelText();
        return texts;
    };
    QTRY_VERIFY(!cellTexts().isEmpty());
    for (const QString &text : cellTexts())
        QVERIFY2(text.contains(QStringLiteral("<span style=\"color:#ff0000;\">阳光花园</span>")), qPrintable(text));

    m_page->showNeedDeal();
    QTRY_VERIFY(m_page->listings().isEmpty());
    seedOne(listing(9, {{"housestatus", 0}, {"userphone", kMe}}));
    m_page->setMode(2, 0);
    m_page->showNeedDeal();
    QTRY_COMPARE(m_page->listings().size(), 1);
    QTRY_VERIFY(!cellTexts().isEmpty());
    for (const QString &text : cellTexts())
        QVERIFY2(!text.contains(QStringLiteral("#ff0000;\">阳光花园")), qPrintable(text));
}

// A book that could not be fetched says so, with the reason, keeps the listings stored
// here in view and offers a retry; it never blames a missing right.
void TestHouseListPage::syncFailureIsNotAnEmptyBook()
{
    BookSyncStatus *status = BookSyncStatus::instance();
    openPage(4, 0);
    QTRY_VERIFY(status->state(true) != BookSyncStatus::Running);
    auto *bar = m_page->findChild<QWidget *>(QStringLiteral("syncFailBar"));
    auto *hint = m_page->findChild<QLabel *>(QStringLiteral("emptyHint"));
    QVERIFY(bar && hint);
    status->setFailed(true, QStringLiteral("无法连接服务器"));
    QTRY_VERIFY(bar->isVisible());
    QVERIFY(m_page->findChild<QLabel *>(QStringLiteral("syncFailLabel"))->text().contains(QStringLiteral("无法连接服务器")));
    QTRY_VERIFY(hint->isVisible());
    QVERIFY(hint->text().contains(QStringLiteral("房源同步失败：无法连接服务器")));
    QVERIFY(!hint->text().contains(QStringLiteral("查看权限")));

    seed(3);
    m_page->refreshData();
    QTRY_COMPARE(m_page->listings().size(), 3);
    QVERIFY(bar->isVisible());
    QVERIFY(!hint->isVisible());

    m_server.clearRequests();
    QTest::mouseClick(button("syncRetryButton"), Qt::LeftButton);
    QTRY_VERIFY(m_server.requestCount() > 0);
    status->setSucceeded(true);
    QTRY_VERIFY(!bar->isVisible());
    QCOMPARE(m_page->listings().size(), 3);
}

// The empty table's hint belongs to a finished, empty result: not while a page is being
// read, and not while the book is still being downloaded.
void TestHouseListPage::noEmptyHintWhileLoading()
{
    BookSyncStatus *status = BookSyncStatus::instance();
    openPage(4, 0);
    QTRY_VERIFY(status->state(true) != BookSyncStatus::Running);
    status->setSucceeded(true);
    auto *hint = m_page->findChild<QLabel *>(QStringLiteral("emptyHint"));
    QTRY_VERIFY(hint->isVisible());
    QVERIFY(hint->text().contains(QStringLiteral("查看权限")));

    m_page->refreshPage();
    QVERIFY(!hint->isVisible());
    QVERIFY(m_page->findChild<BusyOverlay *>()->isRunning());
    QTRY_VERIFY(hint->isVisible());

    status->setRunning(true);
    m_page->refreshData();
    QTRY_VERIFY(hint->text().contains(QStringLiteral("正在从服务器同步房源")));
    QVERIFY(!hint->text().contains(QStringLiteral("查看权限")));
    status->setSucceeded(true);
    QTRY_VERIFY(hint->text().contains(QStringLiteral("查看权限")));
}

QTEST_MAIN(TestHouseListPage)
#include "tst_houselistpage.moc"
