// The host boundary: slot semantics, list mapping, pop-ups and callback messages.
#include "alertrecorder.h"
#include "customtabwidget.h"
#include "datacenter.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/mysalehousedetailwidget.h"
#include "entry/exports.h"
#include "entry_forms/addrenthousetobookwidget.h"
#include "entry_forms/addsalehousetobookwidget.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "list/housebookweihupeopleneeddealwidget.h"
#include "separation/highseperatereporthistorywidget.h"
#include "settings/housebooksetwidget.h"
#include "settings/permissionhousebookwidget.h"
#include "widgets/commonaddwidget.h"

#include <QPointer>
#include <QStackedWidget>
#include <QtTest>

namespace {

void recordMessage(QString message, void *context)
{
    static_cast<QStringList *>(context)->append(message);
}

QList<CommonAddWidget *> popupsOf(QWidget *parent)
{
    return parent->findChildren<CommonAddWidget *>();
}

} // namespace

class TestExports : public QObject
{
    Q_OBJECT
private slots:
    void version();
    void tabListBuildsOnceAndRebuildsAfterClose();
    void listKindMapping_data();
    void listKindMapping();
    void stackedListAndWorklists();
    void worklistsReapplyKeywordEveryCall();
    void otherStackedPagesAndRefreshes();
    void nullSlotsAreIgnored();
    void houseDetailParsesJsonAndRelaysSignals();
    void houseDetailRebuiltAfterDestroyed();
    void houseDetailNullCallbackIsSafe();
    void bookDetailPopupReportsClose();
    void addNewListingForms();
    void publishFormsFillAndReport();
    void publishWithNullCallback();
    void settingsPopup();
    void permissionPage();
};

void TestExports::version()
{
    QCOMPARE(getVersion(), 2);
}

void TestExports::tabListBuildsOnceAndRebuildsAfterClose()
{
    HostFixture host;
    auto *tabs = new CustomTabWidget(host.mainWindow());
    QPointer<HouseBookListWidget> slot;
    loadHouseListWidget(host.mainWindow(), &tabs, &slot, 0, 0);
    QVERIFY(slot);
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->currentWidget(), static_cast<QWidget *>(slot.data()));
    QCOMPARE(tabs->tabText(0), QStringLiteral("出售房源"));
    QCOMPARE(slot->objectName(), QStringLiteral("出售房源"));
    HouseBookListWidget *first = slot;

    // A second call with a live page only brings its tab forward.
    auto *other = new QWidget;
    tabs->addTabWidget(QStringLiteral("其他"), other);
    QCOMPARE(tabs->currentWidget(), other);
    loadHouseListWidget(host.mainWindow(), &tabs, &slot, 1, 2);
    QCOMPARE(slot.data(), first);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentWidget(), static_cast<QWidget *>(first));
    QCOMPARE(first->mode(), 4);

    // The user closes the tab: the guarded slot empties and the next call builds anew.
    emit tabs->tabCloseRequested(tabs->indexOf(first));
    QTRY_VERIFY(slot.isNull());
    loadHouseListWidget(host.mainWindow(), &tabs, &slot, 1, 2);
    QVERIFY(slot);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(slot->mode(), 3);
    QCOMPARE(slot->subMode(), 2);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("出租房源"));
}

void TestExports::listKindMapping_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("subMode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("expectedSubMode");
    QTest::newRow("sale book") << 0 << 0 << QStringLiteral("出售房源") << 4 << 0;
    QTest::newRow("rent book, read") << 1 << 1 << QStringLiteral("出租房源") << 3 << 1;
    QTest::newRow("my sale, liked") << 2 << 2 << QStringLiteral("我的出售") << 2 << 2;
    QTest::newRow("my rent, notice") << 3 << 3 << QStringLiteral("我的出租") << 1 << 3;
    QTest::newRow("unknown kind, bad sub-mode") << 7 << 9 << QString() << 4 << 0;
    QTest::newRow("negative") << -1 << -1 << QString() << 4 << 0;
}

void TestExports::listKindMapping()
{
    QFETCH(int, kind);
    QFETCH(int, subMode);
    QFETCH(QString, title);
    QFETCH(int, mode);
    QFETCH(int, expectedSubMode);
    HostFixture host;
    auto *tabs = new CustomTabWidget(host.mainWindow());
    QPointer<HouseBookListWidget> slot;
    loadHouseListWidget(host.mainWindow(), &tabs, &slot, kind, subMode);
    QVERIFY(slot);
    QCOMPARE(slot->objectName(), title);
    QCOMPARE(tabs->tabText(tabs->indexOf(slot)), title);
    QCOMPARE(slot->mode(), mode);
    QCOMPARE(slot->subMode(), expectedSubMode);

    auto *stack = new QStackedWidget(host.mainWindow());
    HouseBookListWidget *plain = nullptr;
    loadHouseListWidget_2(host.mainWindow(), &stack, &plain, kind, subMode);
    QVERIFY(plain);
    QCOMPARE(plain->mode(), mode);
    QCOMPARE(plain->subMode(), expectedSubMode);
    QVERIFY(plain->objectName().isEmpty());
    QCOMPARE(stack->currentWidget(), static_cast<QWidget *>(plain));
}

void TestExports::stackedListAndWorklists()
{
    HostFixture host;
    auto *stack = new QStackedWidget(host.mainWindow());
    HouseBookListWidget *list = nullptr;
    loadHouseListWidget_2(host.mainWindow(), &stack, &list, 2, 0);
    HouseBookListWidget *first = list;
    auto *other = new QWidget;
    stack->addWidget(other);
    stack->setCurrentWidget(other);
    loadHouseListWidget_2(host.mainWindow(), &stack, &list, 0, 1);
    QCOMPARE(list, first);
    QCOMPARE(list->mode(), 2);  // the mode is set on first build only
    QCOMPARE(stack->currentWidget(), static_cast<QWidget *>(first));
    QCOMPARE(stack->count(), 2);

    struct Case { void (*fn)(QWidget *, QStackedWidget **, HouseBookListWidget **, int); int kind; int mode; QString key; };
    const QList<Case> cases = {
        {loadNeedDealHouseList, 0, 2, QStringLiteral("待处理")},
        {loadNeedDealHouseList, 1, 1, QStringLiteral("待处理")},
        {loadNeedDealHouseList, 5, 2, QStringLiteral("待处理")},
        {loadNeedReviewHouseList, 0, 4, QStringLiteral("待审核房源")},
        {loadNeedReviewHouseList, 1, 3, QStringLiteral("待审核房源")},
        {loadNeedXieZuoHouseList, 0, 4, QStringLiteral("待审核")},
        {loadNeedXieZuoHouseList, 1, 3, QStringLiteral("待审核")},
    };
    for (const Case &c : cases) {
        HouseBookListWidget *page = nullptr;
        c.fn(host.mainWindow(), &stack, &page, c.kind);
        QVERIFY(page);
        QCOMPARE(page->mode(), c.mode);
        QCOMPARE(page->subMode(), 0);
        QCOMPARE(page->keyWord(), c.key);
        QCOMPARE(stack->currentWidget(), static_cast<QWidget *>(page));
    }
}

void TestExports::worklistsReapplyKeywordEveryCall()
{
    HostFixture host;
    auto *stack = new QStackedWidget(host.mainWindow());
    HouseBookListWidget *page = nullptr;
    loadNeedDealHouseList(host.mainWindow(), &stack, &page, 0);
    HouseBookListWidget *first = page;
    houseListRefresh(&page);  // the host's refresh clears the conditions
    QVERIFY(page->keyWord().isEmpty());
    loadNeedDealHouseList(host.mainWindow(), &stack, &page, 1);
    QCOMPARE(page, first);
    QCOMPARE(page->keyWord(), QStringLiteral("待处理"));
    QCOMPARE(page->mode(), 2);  // built as sale; the later kind does not rebuild
    QCOMPARE(stack->count(), 1);
}

void TestExports::otherStackedPagesAndRefreshes()
{
    HostFixture host;
    auto *stack = new QStackedWidget(host.mainWindow());
    HouseBookWeiHuPeoPleNeedDealWidget *weihu = nullptr;
    loadWeiHuHouseList(host.mainWindow(), &stack, &weihu, 0);
    QVERIFY(weihu && weihu->flag());
    HouseBookWeiHuPeoPleNeedDealWidget *other = nullptr;
    loadWeiHuHouseList(host.mainWindow(), &stack, &other, 3);
    QVERIFY(other && !other->flag());
    loadWeiHuHouseList(host.mainWindow(), &stack, &weihu, 1);
    QVERIFY(weihu->flag());
    QCOMPARE(stack->currentWidget(), static_cast<QWidget *>(weihu));
    weihuListRefresh(&weihu);
    QCOMPARE(weihu->refreshCount(), 1);

    HighSeperateReportHistoryWidget *reports = nullptr;
    loadJubaoReviewHouseList(host.mainWindow(), &stack, &reports);
    QVERIFY(reports);
    QCOMPARE(reports->type(), 1);
    QCOMPARE(stack->currentWidget(), static_cast<QWidget *>(reports));
    reports->setPageIndex(5);
    const int loads = reports->loadCount();
    reportListRefresh(&reports);
    QCOMPARE(reports->pageIndex(), 1);
    QCOMPARE(reports->loadCount(), loads + 1);
}

void TestExports::nullSlotsAreIgnored()
{
    HostFixture host;
    HouseBookListWidget *list = nullptr;
    HouseBookWeiHuPeoPleNeedDealWidget *weihu = nullptr;
    HighSeperateReportHistoryWidget *reports = nullptr;
    houseListRefresh(&list);
    weihuListRefresh(&weihu);
    reportListRefresh(&reports);
    houseListRefresh(nullptr);
    weihuListRefresh(nullptr);
    reportListRefresh(nullptr);
    // A missing container still builds the page into its slot.
    QStackedWidget *noStack = nullptr;
    loadNeedReviewHouseList(host.mainWindow(), &noStack, &list, 0);
    QVERIFY(list);
    loadHouseListWidget(host.mainWindow(), nullptr, nullptr, 0, 0);
}

void TestExports::houseDetailParsesJsonAndRelaysSignals()
{
    HostFixture host;
    auto *stack = new QStackedWidget(host.mainWindow());
    QPointer<MySaleHouseDetailWidget> slot;
    QStringList messages;
    HouseMessage_DataSqlTable store(nullptr, true);
    QCOMPARE(store.insertOrReplaceHouses({{{"id", 15}, {"types", 0}, {"name", QStringLiteral("翡翠湖畔")}}}, false), 1);
    loadHouseDetail(host.mainWindow(), stack, &slot, QStringLiteral("{\"id\":15}"), recordMessage, &messages);
    QVERIFY(slot);
    QCOMPARE(stack->currentWidget(), static_cast<QWidget *>(slot.data()));
    QCOMPARE(slot->requestedId(), 15);
    QCOMPARE(slot->record().id, 15);  // read from the local store
    QCOMPARE(slot->record().name, QStringLiteral("翡翠湖畔"));
    QVERIFY(!slot->hideNavigation());
    QVERIFY(!slot->refreshed());

    MySaleHouseDetailWidget *first = slot;
    loadHouseDetail(host.mainWindow(), stack, &slot, QStringLiteral("{\"id\":15,\"hidePage\":true}"),
                    recordMessage, &messages);
    QCOMPARE(slot.data(), first);
    QVERIFY(slot->hideNavigation());
    QCOMPARE(stack->count(), 1);

    for (const QString &notObject : {QStringLiteral("[15]"), QStringLiteral("id=15"), QString(),
                                     QStringLiteral("{\"id\":\"x\",\"hidePage\":\"maybe\"")}) {
        loadHouseDetail(host.mainWindow(), stack, &slot, notObject, recordMessage, &messages);
        QCOMPARE(slot->requestedId(), 0);
        QVERIFY(!slot->hideNavigation());
    }

    emit slot->closeWidget();
    emit slot->lastPage();
    emit slot->nextPage();
    emit slot->refreshBaseMessage();
    emit slot->loadHouseId(27);
    // Compact JSON as QJsonDocument writes it: keys in sorted order.
    QCOMPARE(messages, (QStringList{
                           QStringLiteral("{\"type\":\"close\"}"),
                           QStringLiteral("{\"type\":\"last_page\"}"),
                           QStringLiteral("{\"type\":\"next_page\"}"),
                           QStringLiteral("{\"type\":\"refreshBaseMessage\"}"),
                           QStringLiteral("{\"id\":27,\"type\":\"loadHouseId\"}"),
                       }));
}

void TestExports::houseDetailRebuiltAfterDestroyed()
{
    HostFixture host;
    auto *stack = new QStackedWidget(host.mainWindow());
    QPointer<MySaleHouseDetailWidget> slot;
    QStringList messages;
    loadHouseDetail(host.mainWindow(), stack, &slot, QStringLiteral("{\"id\":1}"), recordMessage, &messages);
    delete slot.data();
    QVERIFY(slot.isNull());
    loadHouseDetail(host.mainWindow(), stack, &slot, QStringLiteral("{\"id\":2}"), recordMessage, &messages);
    QVERIFY(slot);
    QCOMPARE(slot->requestedId(), 2);
    QCOMPARE(slot->record().id, 0);  // not in the local store
    QCOMPARE(stack->count(), 1);
    emit slot->closeWidget();
    QCOMPARE(messages, QStringList{QStringLiteral("{\"type\":\"close\"}")});
}

void TestExports::houseDetailNullCallbackIsSafe()
{
    HostFixture host;
    auto *stack = new QStackedWidget(host.mainWindow());
    QPointer<MySaleHouseDetailWidget> slot;
    loadHouseDetail(host.mainWindow(), stack, &slot, QStringLiteral("{\"id\":3}"), nullptr, nullptr);
    emit slot->closeWidget();
    emit slot->loadHouseId(4);
    QVERIFY(slot);
}

void TestExports::bookDetailPopupReportsClose()
{
    HostFixture host;
    QStringList messages;
    loadHouseBookDetail(host.mainWindow(), 42, 2, 1, recordMessage, &messages);
    QCOMPARE(popupsOf(host.mainWindow()).size(), 1);
    QPointer<CommonAddWidget> popup = popupsOf(host.mainWindow()).first();
    QCOMPARE(popup->size(), QSize(912, 692));
    QVERIFY(popup->title().isEmpty());
    QCOMPARE(popup->shadowColor(), QColor(0, 0, 0, 30));
    QVERIFY(popup->isVisible());
    auto *detail = qobject_cast<HouseBookMessageDetailWidget *>(popup->contentWidget());
    QVERIFY(detail);
    QTRY_COMPARE(detail->ids(), QList<int>{42});  // loaded after its short delay
    QVERIFY(messages.isEmpty());

    emit detail->closeWidget();
    QTRY_VERIFY(popup.isNull());
    QCOMPARE(messages, QStringList{QStringLiteral("close")});

    // Every call builds a new pop-up.
    loadHouseBookDetail(host.mainWindow(), 1, 1, 1, nullptr, nullptr);
    loadHouseBookDetail(host.mainWindow(), 2, 1, 1, nullptr, nullptr);
    QCOMPARE(popupsOf(host.mainWindow()).size(), 2);
}

void TestExports::addNewListingForms()
{
    HostFixture host;
    host.signInAs(TestUser().jointSaleManager());  // holds the right to enter listings
    AlertRecorder recorder;
    addNewSaleHouse(host.mainWindow());
    addNewRentHouse(host.mainWindow());
    const QList<CommonAddWidget *> popups = popupsOf(host.mainWindow());
    QCOMPARE(popups.size(), 2);
    QPointer<CommonAddWidget> sale = popups.at(0);
    QPointer<CommonAddWidget> rent = popups.at(1);
    if (!qobject_cast<AddSaleHouseToBookWidget *>(sale->contentWidget()))
        std::swap(sale, rent);
    QCOMPARE(sale->title(), QStringLiteral("添加出售"));
    QCOMPARE(rent->title(), QStringLiteral("添加出租"));
    QCOMPARE(sale->size(), QSize(762, 762));
    QCOMPARE(rent->size(), QSize(762, 762));
    auto *rentForm = qobject_cast<addRentHouseToBookWidget *>(rent->contentWidget());
    QVERIFY(rentForm);
    QVERIFY(rentForm->sourceId().isEmpty());

    // A saved new listing closes its form and offers its detail window.
    emit rentForm->addHouseSuccess(9);
    QTRY_VERIFY(rent.isNull());
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, QStringLiteral("出租房源已成功添加到房源本，是否查看?"));
    QVERIFY(recorder.last().buttons.contains(QStringLiteral("查看")));
    QVERIFY(recorder.last().buttons.contains(QStringLiteral("我知道了")));
    QVERIFY(recorder.openBox());
    recorder.openBox()->answer(AlertWidget::Sure);
    QTRY_VERIFY(host.mainWindow()->findChild<HouseBookMessageDetailWidget *>());
    QTRY_COMPARE(host.mainWindow()->findChild<HouseBookMessageDetailWidget *>()->ids(), QList<int>{9});
    QVERIFY(sale);

    emit qobject_cast<AddSaleHouseToBookWidget *>(sale->contentWidget())->closeWidget();
    QTRY_VERIFY(sale.isNull());
}

void TestExports::publishFormsFillAndReport()
{
    HostFixture host;
    host.signInAs(TestUser().jointSaleManager());  // holds the right to enter listings
    AlertRecorder recorder;
    HouseMessage_DataSqlTable::HouseMessageData record;
    record.id = 77;
    record.name = QStringLiteral("翡翠湖畔");
    record.price = 128.5;
    QStringList messages;
    addSaleHouse(host.mainWindow(), record, recordMessage, &messages);
    QPointer<CommonAddWidget> popup = popupsOf(host.mainWindow()).value(0);
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("发布出售房源至联卖系统"));
    QCOMPARE(popup->size(), QSize(762, 762));
    auto *form = qobject_cast<AddSaleHouseToBookWidget *>(popup->contentWidget());
    QVERIFY(form);
    QCOMPARE(form->sourceId(), QStringLiteral("77"));
    QCOMPARE(form->sourceType(), QStringLiteral("20"));
    QCOMPARE(form->sourceFlag(), 0);
    QCOMPARE(form->houseData().name, QStringLiteral("翡翠湖畔"));
    QCOMPARE(form->houseData().price, 128.5);

    emit form->addHouseSuccess(3105);
    QCOMPARE(messages, QStringList{QStringLiteral("{\"type\":\"addSuccess\",\"value\":3105}")});
    QTRY_VERIFY(popup.isNull());
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, QStringLiteral("推送至联卖系统成功，等待审核中！"));

    addRentHouse(host.mainWindow(), record, recordMessage, &messages);
    popup = popupsOf(host.mainWindow()).value(0);
    QCOMPARE(popup->title(), QStringLiteral("发布出租房源至联卖系统"));
    QVERIFY(qobject_cast<addRentHouseToBookWidget *>(popup->contentWidget()));
}

void TestExports::publishWithNullCallback()
{
    HostFixture host;
    host.signInAs(TestUser().jointSaleManager());  // holds the right to enter listings
    AlertRecorder recorder;
    HouseMessage_DataSqlTable::HouseMessageData record;
    record.id = 5;
    addRentHouse(host.mainWindow(), record, nullptr, nullptr);
    QPointer<CommonAddWidget> popup = popupsOf(host.mainWindow()).value(0);
    QVERIFY(popup);
    emit qobject_cast<addRentHouseToBookWidget *>(popup->contentWidget())->addHouseSuccess(6);
    QTRY_VERIFY(popup.isNull());
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, QStringLiteral("推送至联卖系统成功，等待审核中！"));
}

void TestExports::settingsPopup()
{
    HostFixture host;
    AlertRecorder recorder;
    QStringList messages;
    showHouseBookSet(host.mainWindow(), recordMessage, &messages);
    QPointer<CommonAddWidget> popup = popupsOf(host.mainWindow()).value(0);
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("房源本设置"));
    QCOMPARE(popup->size(), QSize(762, 662));
    auto *settings = qobject_cast<HouseBookSetWidget *>(popup->contentWidget());
    QVERIFY(settings);
    emit settings->setSuccess();
    QCOMPARE(messages, QStringList{QStringLiteral("success")});
    QTRY_VERIFY(popup.isNull());
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, QStringLiteral("设置应用成功！"));

    // Cancelling closes without telling the host anything.
    showHouseBookSet(host.mainWindow(), recordMessage, &messages);
    popup = popupsOf(host.mainWindow()).value(0);
    emit qobject_cast<HouseBookSetWidget *>(popup->contentWidget())->closeWidget();
    QTRY_VERIFY(popup.isNull());
    QCOMPARE(messages.size(), 1);
}

void TestExports::permissionPage()
{
    HostFixture host;
    auto *stack = new QStackedWidget(host.mainWindow());
    PermissionHouseBookWidget *page = nullptr;
    QStringList messages;
    const QList<QVariantMap> ranges{{{QStringLiteral("id"), 48}, {QStringLiteral("selected"), true}}};
    initAutuView(host.mainWindow(), stack, &page, ranges, recordMessage, &messages);
    QVERIFY(page);
    const auto entryOf = [&page](int id) {
        for (const QVariantMap &entry : page->permissionList()) {
            if (entry.value(QStringLiteral("id")).toInt() == id)
                return entry;
        }
        return QVariantMap();
    };
    QVERIFY(entryOf(48).value(QStringLiteral("selected")).toBool());
    PermissionHouseBookWidget *first = page;
    const QList<QVariantMap> next{{{QStringLiteral("id"), 59}, {QStringLiteral("range"), 2}}};
    initAutuView(host.mainWindow(), stack, &page, next, recordMessage, &messages);
    QCOMPARE(page, first);
    QCOMPARE(entryOf(59).value(QStringLiteral("range")).toInt(), 2);
    QVERIFY(!entryOf(48).value(QStringLiteral("selected")).toBool());
    QCOMPARE(stack->count(), 1);

    emit page->valueChange({{{QStringLiteral("id"), 7}, {QStringLiteral("selected"), false}},
                            {{QStringLiteral("id"), 36}, {QStringLiteral("bumens"), QStringLiteral("1,2")}}});
    QCOMPARE(messages, QStringList{QStringLiteral(
                           "[{\"id\":7,\"selected\":false},{\"bumens\":\"1,2\",\"id\":36}]")});
}

QTEST_MAIN(TestExports)
#include "tst_exports.moc"
