// Settings taking effect, against the simulator: a manager hides a column of the sale book
// and moves another to the front on the settings window, and the open sale book shows that
// order; a job loses the right to delete listings, and after the next rights download its
// agent's listing menu no longer offers deleting.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "commonsignaltool.h"
#include "customtabwidget.h"
#include "datacenter.h"
#include "entry/exports.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "list/houselisttablewidget.h"
#include "settings/housebooksalesetwidget.h"
#include "settings/housebooksetwidget.h"
#include "settings/permissionhousebookwidget.h"
#include "sql/basesqlobject.h"
#include "sql/booksyncstatus.h"
#include "sql/housebookset_sqltable.h"
#include "sql/firstbookdownload.h"
#include "widgets/sortitemview.h"
#include "widgets/sortwidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

namespace {

const QString kManager = QStringLiteral("13800000001");
// The first agent of the store 天鹅湖店 of company 101, job 店长 (3); deleting is hers within
// her store.
const QString kAgent = QStringLiteral("13900000001");
constexpr int kAgentDept = 10111;
constexpr int kAgentJob = 3;
constexpr int kWait = 20000;

void actAs(const QString &phone)
{
    DataCenter::CookieVar = QStringLiteral("qxphone=") + phone;
}

template <typename T>
T *findTopLevel()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(top))
            return found;
        if (auto *found = top->findChild<T *>())
            return found;
    }
    return nullptr;
}

// Downloads the given settings caches as the current server-side user.
bool download(const QList<int> &codes)
{
    BaseSqlObject sql(nullptr, true);
    QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
    sql.download_id(codes);
    return all.wait(kWait);
}

QStringList headerTitles(const HouseListTableWidget *table)
{
    QStringList titles;
    for (int i = 0; i < table->columnCount(); ++i)
        titles << (table->horizontalHeaderItem(i) ? table->horizontalHeaderItem(i)->text() : QString());
    return titles;
}

SortItemView *entryTitled(SortWidget *sort, const QString &title)
{
    for (SortItemView *view : sort->findChildren<SortItemView *>()) {
        auto *box = view->findChild<QCheckBox *>(QStringLiteral("sortItemCheckBox"));
        if (box && box->text() == title && view->isVisible())
            return view;
    }
    return nullptr;
}

int indexOfTitle(const QList<QVariantMap> &items, const QString &title)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).value(QStringLiteral("title")).toString() == title)
            return i;
    }
    return -1;
}

} // namespace

class TestSettingsEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void savedColumnOrderIsWhatTheSaleBookShows();
    void jobWithoutDeleteRightLosesTheMenuEntry();

private:
    HouseBookSetWidget *openSettings();
    QStringList menuOfRowIn(int deptId);

    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QPointer<HouseBookListWidget> m_list;
};

void TestSettingsEndToEnd::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 300;
    options.communities = 30;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());

    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_host->signInAs(TestUser().company(101));
    actAs(kManager);
    QVERIFY(FirstBookDownload::startIfNeeded(true));
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded, 60000);
    QVERIFY(download({4, 6, 7}));

    auto *tabs = new CustomTabWidget(m_host->mainWindow());
    loadHouseListWidget(m_host->mainWindow(), &tabs, &m_list, 0, 0);
    QVERIFY(m_list);
    QTRY_VERIFY_WITH_TIMEOUT(!m_list->listings().isEmpty(), 10000);
}

void TestSettingsEndToEnd::cleanupTestCase()
{
    if (HouseBookSetWidget *settings = findTopLevel<HouseBookSetWidget>())
        emit settings->closeWidget();
    delete m_list;
    m_alerts.reset();
    m_host.reset();
}

HouseBookSetWidget *TestSettingsEndToEnd::openSettings()
{
    showHouseBookSet(m_host->mainWindow(), nullptr, nullptr);
    HouseBookSetWidget *settings = nullptr;
    if (!QTest::qWaitFor([&] { return (settings = findTopLevel<HouseBookSetWidget>()) != nullptr; }, kWait))
        return nullptr;
    return settings;
}

void TestSettingsEndToEnd::savedColumnOrderIsWhatTheSaleBookShows()
{
    QVERIFY(m_list->mode() == 4 || m_list->mode() == 2 || m_list->mode() == 5);
    auto *table = m_list->findChild<HouseListTableWidget *>(QStringLiteral("tableWidget"));
    QVERIFY(table);
    QVERIFY(headerTitles(table).contains(QStringLiteral("面积")));

    actAs(kManager);
    HouseBookSetWidget *settings = openSettings();
    QVERIFY(settings);
    settings->findChild<QPushButton *>(QStringLiteral("saleSetButton"))->click();
    auto *page = settings->findChild<HouseBookSaleSetWidget *>();
    QVERIFY(page);
    auto *columns = page->findChild<SortWidget *>(QStringLiteral("myShowSort"));
    QVERIFY(columns);
    QTRY_VERIFY(entryTitled(columns, QStringLiteral("面积")));

    // The agent unticks 面积 and drops 总价 onto the first entry.
    entryTitled(columns, QStringLiteral("面积"))->findChild<QCheckBox *>(QStringLiteral("sortItemCheckBox"))->click();
    SortItemView *price = entryTitled(columns, QStringLiteral("总价"));
    QVERIFY(price);
    emit price->changeTo(price->row(), price->colum(), 0, 0);
    const QList<QVariantMap> chosen = columns->items();
    QCOMPARE(indexOfTitle(chosen, QStringLiteral("总价")), 0);
    QVERIFY(!chosen.at(indexOfTitle(chosen, QStringLiteral("面积"))).value(QStringLiteral("choose")).toBool());

    const int boxes = m_alerts->count();
    settings->findChild<QPushButton *>(QStringLiteral("saveButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_alerts->texts().mid(boxes).contains(QStringLiteral("设置应用成功！")), kWait);

    // The open book took the saved order with the settings download: 总价 leads the chosen
    // columns, 面积 is gone, the others keep their order.
    QStringList expected;
    for (const QVariantMap &item : chosen) {
        if (item.value(QStringLiteral("choose")).toBool())
            expected << item.value(QStringLiteral("title")).toString();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!headerTitles(table).contains(QStringLiteral("面积")), kWait);
    QStringList shown;
    for (const QString &title : headerTitles(table)) {
        if (expected.contains(title))
            shown << title;
    }
    QCOMPARE(shown.value(0), QStringLiteral("总价"));
    QStringList expectedShown;
    for (const QString &title : expected) {
        if (shown.contains(title))
            expectedShown << title;
    }
    QCOMPARE(shown, expectedShown);
}

// The listing menu of a row of the first page whose listing belongs to deptId and not to
// the signed-in user; empty when there is none.
QStringList TestSettingsEndToEnd::menuOfRowIn(int deptId)
{
    m_list->refreshData();
    int row = -1;
    if (!QTest::qWaitFor(
            [&] {
                const QList<HouseBookListWidget::Record> rows = m_list->listings();
                for (int i = 0; i < rows.size(); ++i) {
                    const HouseBookListWidget::Record &r = rows.at(i);
                    if (r.deptid == deptId && r.housestatus != 0 && r.userphone != DataCenter::UserPhoneNumber) {
                        row = i;
                        return true;
                    }
                }
                return false;
            },
            kWait))
    {
        QStringList seen;
        for (const auto &r : m_list->listings())
            seen << QStringLiteral("%1/%2/%3").arg(r.deptid).arg(r.userphone).arg(r.housestatus);
        return {QStringLiteral("<no row of the department>") + seen.join(QLatin1Char(' '))};
    }
    auto *table = m_list->findChild<HouseListTableWidget *>(QStringLiteral("tableWidget"));
    const QRect cell = table->visualRect(table->model()->index(row, 0));
    m_list->showTableMeun(cell.center());
    QStringList texts;
    for (QAction *action : m_list->tableMenu()->actions())
        texts << action->text();
    m_list->tableMenu()->hide();
    return texts;
}

void TestSettingsEndToEnd::jobWithoutDeleteRightLosesTheMenuEntry()
{
    // The signed-in user holds the agent's rights and departments.
    actAs(kAgent);
    DataCenter::isJointSaleManger = false;
    DataCenter::isManager = false;
    QVERIFY(download({11, 22}));
    // A page of 100 listings holds some of her store's.
    HouseBookSet_SqlTable(nullptr, true).setValue(QStringLiteral("page"), QStringLiteral("100"));
    CommonSignalTool::Instance()->send_houseBookSetChange(true);
    QTRY_COMPARE(m_list->pageSize(), 100);
    const QStringList before = menuOfRowIn(kAgentDept);
    QVERIFY2(before.contains(QStringLiteral("删除")), qPrintable(before.join(QLatin1Char(','))));

    // The manager takes deleting from the agent's job.
    actAs(kManager);
    HouseBookSetWidget *settings = findTopLevel<HouseBookSetWidget>();
    if (!settings)
        settings = openSettings();
    QVERIFY(settings);
    settings->findChild<QPushButton *>(QStringLiteral("xieZuoSetButton"))->click();
    auto *tabs = settings->findChild<QTabWidget *>(QStringLiteral("xieZuoTabWidget"));
    QVERIFY(tabs);
    tabs->setCurrentIndex(1);
    auto *jobs = settings->findChild<QListWidget *>(QStringLiteral("jobListWidget"));
    QVERIFY(jobs);
    QTRY_VERIFY(jobs->count() > 0);
    QString jobName;
    for (int i = 0; i < jobs->count(); ++i) {
        if (jobs->item(i)->data(Qt::UserRole).toInt() == kAgentJob) {
            jobs->setCurrentRow(i);
            jobName = jobs->item(i)->text();
        }
    }
    QCOMPARE(jobName, QStringLiteral("店长"));
    auto *permissions = settings->findChild<PermissionHouseBookWidget *>(QStringLiteral("permissionHouseBookWidget"));
    QVERIFY(permissions);
    QCheckBox *remove = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((remove = permissions->findChild<QCheckBox *>(QStringLiteral("permCheck_36")))
                                 && remove->isChecked(),
                             kWait);
    remove->click();
    auto *save = settings->findChild<QPushButton *>(QStringLiteral("saveJobButton"));
    QCOMPARE(save->text(), QStringLiteral("保存<店长>设置"));
    const int boxes = m_alerts->count();
    save->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_alerts->texts().mid(boxes).contains(QStringLiteral("保存<店长>权限设置成功！")), kWait);

    // Until her rights are downloaded again the agent keeps the entry; afterwards it is gone,
    // and the rest of her menu stays.
    actAs(kAgent);
    QVERIFY(menuOfRowIn(kAgentDept).contains(QStringLiteral("删除")));
    QVERIFY(download({11}));
    const QStringList after = menuOfRowIn(kAgentDept);
    QVERIFY2(!after.contains(QStringLiteral("删除")), qPrintable(after.join(QLatin1Char(','))));
    QVERIFY2(after.contains(QStringLiteral("修改状态")), qPrintable(after.join(QLatin1Char(','))));
}

QTEST_MAIN(TestSettingsEndToEnd)
#include "tst_settingsendtoend.moc"
