// The listing table laid out for real windows (1280 × 800 and 1920 × 1080) with the book's
// chosen columns: short values (ids, prices, areas, times) never cut, long names elided with
// "…", columns filling the width, and wide books scrolling sideways with 编号 and 小区 kept in
// view. With HOUSEBOOK_SCREENSHOT_DIR set, each layout is also saved there for a look by eye.
#include "hostfixture.h"
#include "list/houselistcolumns.h"
#include "widgets/houselisttableheadview.h"
#include "list/housetableitemwidget.h"
#include "list/housetablelabelitemview.h"
#include "list/houselisttablewidget.h"
#include "sql/housebookset_sqltable.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using Record = HouseMessage_DataSqlTable::HouseMessageData;

namespace {

const QString kLongName = QStringLiteral("翡翠湖畔国际花园二期东区");

// Values as wide as the book has them: five-digit ids, prices with decimals, long names.
QList<Record> listings(bool sale)
{
    QList<Record> rows;
    for (int i = 0; i < 20; ++i) {
        Record r;
        r.id = 23450 + i;
        r.types = sale ? 0 : 1;
        r.housestatus = 1;
        r.name = i == 0 ? kLongName : QStringLiteral("阳光花园");
        r.buildingNo = QString::number(12 + i);
        r.unitNo = QStringLiteral("3");
        r.roomNo = QStringLiteral("2801");
        r.district = QStringLiteral("包河区");
        r.area = QStringLiteral("滨湖世纪城");
        r.room = 3;
        r.hall = 2;
        r.huxingwei = 2;
        r.builtuparea = 106.53;
        r.price = sale ? 374.1 : 5600;
        r.zuunit = QStringLiteral("元/月");
        r.unitprice = sale ? 35120 : 0;
        r.floors = 18;
        r.allfloors = 33;
        r.author = QStringLiteral("张伟");
        r.deptname = QStringLiteral("天鹅湖店");
        r.createtime = QStringLiteral("2025/11/30 20:00:00");
        r.lasttime = QStringLiteral("2025/12/01 09:15:42");
        r.followtime = QStringLiteral("2025/12/02 10:30:00");
        r.follows = QStringLiteral("业主诚心出售，周末可看房，价格可小刀，已带客户看过两次");
        r.remark = QStringLiteral("满五唯一，南北通透，中间楼层");
        r.tags = QStringLiteral("满五唯一,学区房,地铁房");
        r.photo = QStringLiteral("a.jpg");
        r.istop = i % 3 == 0;
        r.hbdujia = 1;
        r.newstate = QStringLiteral("有效");
        rows << r;
    }
    return rows;
}

// Keys whose values must show whole whatever the window.
bool isShortValue(const QString &key)
{
    static const QStringList keys{"key_bianHao", "key_price", "key_unitprice", "key_monthmoney", "key_size",
                                  "key_publishtime", "key_updatatime", "key_followdate", "key_housetype",
                                  "key_floor", "key_loudong", "key_area", "key_state"};
    return keys.contains(key);
}

int columnOf(const HouseListTableWidget &table, const QString &title)
{
    for (int i = 0; i < table.columnCount(); ++i) {
        if (table.horizontalHeaderItem(i)->text() == title)
            return i;
    }
    return -1;
}

} // namespace

class TestListLayout : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void shortValuesAreNeverCut_data();
    void shortValuesAreNeverCut();
    void wideBookScrollsWithIdAndCommunityInView();
    void frozenCellsReportRowsAndMenus();
    void fewColumnsFillTheWidth();

private:
    HouseListTableWidget *layOut(bool sale, const QSize &window);

    QScopedPointer<HostFixture> m_host;
    QScopedPointer<HouseListTableWidget> m_table;
};

void TestListLayout::init()
{
    m_host.reset(new HostFixture);
}

void TestListLayout::cleanup()
{
    m_table.reset();
    m_host.reset();
}

// Every listing column of the book chosen: the widest table an agent can ask for.
void chooseEveryListingColumn()
{
    HouseBookSet_SqlTable settings(nullptr, true);
    for (auto book : {HouseBookSet_SqlTable::SaleBook, HouseBookSet_SqlTable::RentBook}) {
        QList<QVariantMap> items = settings.showItems(book);
        for (QVariantMap &item : items)
            item.insert(QStringLiteral("choose"), true);
        settings.setShowItems(book, items);
    }
}

HouseListTableWidget *TestListLayout::layOut(bool sale, const QSize &window)
{
    m_table.reset(new HouseListTableWidget);
    m_table->installSortHeader();
    m_table->resize(window);
    m_table->show();
    if (!QTest::qWaitForWindowExposed(m_table.data()))
        return nullptr;
    const QList<QVariantMap> columns = HouseListColumns::visibleColumns(sale, window.width(), true);
    HouseListColumns::renderPage(m_table.data(), columns, window.width(), 20, listings(sale));
    QCoreApplication::processEvents();
    return m_table.data();
}

void TestListLayout::shortValuesAreNeverCut_data()
{
    QTest::addColumn<bool>("sale");
    QTest::addColumn<QSize>("window");
    QTest::newRow("sale 1280x800") << true << QSize(1280, 800);
    QTest::newRow("sale 1920x1080") << true << QSize(1920, 1080);
    QTest::newRow("rent 1280x800") << false << QSize(1280, 800);
    QTest::newRow("rent 1920x1080") << false << QSize(1920, 1080);
}

void TestListLayout::shortValuesAreNeverCut()
{
    QFETCH(bool, sale);
    QFETCH(QSize, window);
    chooseEveryListingColumn();
    HouseListTableWidget *table = layOut(sale, window);
    QVERIFY(table);
    const QString shots = qEnvironmentVariable("HOUSEBOOK_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        table->grab().save(QDir(shots).filePath(QStringLiteral("table_%1_%2.png").arg(sale ? "sale" : "rent").arg(window.width())));

    const QList<QVariantMap> columns = table->columns();
    int checked = 0;
    for (int column = 0; column < columns.size(); ++column) {
        const QString key = columns.at(column).value(QStringLiteral("key")).toString();
        if (!isShortValue(key))
            continue;
        table->scrollTo(table->model()->index(0, column));
        for (int row = 0; row < 5; ++row) {
            auto *cell = qobject_cast<HouseTableLabelItemView *>(table->cellAt(row, column));
            QVERIFY(cell);
            QTRY_VERIFY(cell->isVisible());
            QVERIFY2(cell->shownText() == cell->text(), qPrintable(key + ": " + cell->shownText()));
            ++checked;
        }
    }
    QVERIFY(checked >= 40);

    // The long community name ends in "…" and is whole in its tooltip.
    const int community = columnOf(*table, QStringLiteral("小区"));
    auto *name = qobject_cast<HouseTableItemWidget *>(table->cellAt(0, community));
    QVERIFY(name);
    QVERIFY(name->toolTip().startsWith(kLongName));
    if (name->contentWidth() > table->columnWidth(community))
        QVERIFY(name->labelText().contains(QChar(0x2026)));
    else
        QVERIFY(name->labelText().contains(QStringLiteral("2801")));

    // The columns fill the window at least.
    int sum = 0;
    for (int column = 0; column < table->columnCount(); ++column)
        sum += table->columnWidth(column);
    QVERIFY(sum >= table->viewport()->width());
}

// More columns than the window holds: the table scrolls sideways, 编号 and 小区 stay.
void TestListLayout::wideBookScrollsWithIdAndCommunityInView()
{
    chooseEveryListingColumn();
    HouseListTableWidget *table = layOut(true, QSize(1280, 800));
    QVERIFY(table);
    QScrollBar *bar = table->horizontalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const int id = columnOf(*table, QStringLiteral("编号"));
    const int community = columnOf(*table, QStringLiteral("小区"));
    QCOMPARE(table->frozenColumnCount(), community + 1);
    QVERIFY(id < community);

    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    const QString shots = qEnvironmentVariable("HOUSEBOOK_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        table->grab().save(QDir(shots).filePath(QStringLiteral("table_sale_1280_scrolled.png")));
    for (int column : {id, community}) {
        HoverTableCell *cell = table->cellAt(0, column);
        QVERIFY(cell->isVisible());
        const QPoint at = cell->mapTo(table, QPoint(0, 0));
        QCOMPARE(at.x(), table->frameWidth() + table->columnViewportPosition(column) + bar->value());
        // Nothing of the scrolled columns lies over it.
        QWidget *top = table->childAt(cell->mapTo(table, QPoint(4, cell->height() - 4)));
        QVERIFY(top == cell || cell->isAncestorOf(top));
    }
    QCOMPARE(static_cast<HouseTableLabelItemView *>(table->cellAt(0, id))->text(), QStringLiteral("23450"));
    // The header over them stays too, sorting like the table's.
    auto *frozenHeader = qobject_cast<HouseListTableHeadView *>(table->frozenView()->horizontalHeader());
    QVERIFY(frozenHeader && frozenHeader->isVisible());
    QCOMPARE(frozenHeader->sectionViewportPosition(id), table->columnViewportPosition(id) + bar->value());
    auto *header = qobject_cast<HouseListTableHeadView *>(table->horizontalHeader());
    QSignalSpy sorted(header, &QHeaderView::sectionDoubleClicked);
    emit frozenHeader->sectionDoubleClicked(id);
    QCOMPARE(sorted.count(), 1);
    header->setCurrentSection(id);
    QCOMPARE(frozenHeader->sortIcon(id), header->sortIcon(id));

    // The last column is in view as well, and rows scrolled into view are there on both sides.
    const int last = table->columnCount() - 1;
    QVERIFY(table->cellAt(0, last)->isVisible());
    table->scrollToBottom();
    QTRY_VERIFY(table->cellAt(19, id)->isVisible());
    QVERIFY(table->cellAt(19, last)->isVisible());
    QCOMPARE(table->cellAt(19, id)->mapTo(table, QPoint(0, 0)).y(), table->cellAt(19, last)->mapTo(table, QPoint(0, 0)).y());
}

// A click or a right click on a frozen cell is one on its row, as anywhere in the table.
void TestListLayout::frozenCellsReportRowsAndMenus()
{
    chooseEveryListingColumn();
    HouseListTableWidget *table = layOut(true, QSize(1280, 800));
    QVERIFY(table);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy clicked(table, &HouseListTableWidget::clickRowIndex);
    QSignalSpy menu(table, &QWidget::customContextMenuRequested);
    table->horizontalScrollBar()->setValue(table->horizontalScrollBar()->maximum());
    QCoreApplication::processEvents();
    HoverTableCell *cell = table->cellAt(3, columnOf(*table, QStringLiteral("编号")));
    QTest::mouseClick(table->windowHandle(), Qt::LeftButton, Qt::NoModifier, cell->mapTo(table, cell->rect().center()));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 3);
    QCOMPARE(table->selectedRow(), 3);

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), cell->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(cell, &event);
    QCOMPARE(menu.count(), 1);
    QCOMPARE(table->rowAt(menu.at(0).at(0).toPoint().y()), 3);
}

// A few columns share the window by their rates and do not scroll.
void TestListLayout::fewColumnsFillTheWidth()
{
    HouseBookSet_SqlTable settings(nullptr, true);
    QList<QVariantMap> items = settings.showItems(HouseBookSet_SqlTable::SaleBook);
    const QStringList keep{"编号", "小区", "面积", "单价", "录入时间"};
    for (QVariantMap &item : items)
        item.insert(QStringLiteral("choose"), keep.contains(item.value(QStringLiteral("title")).toString()));
    settings.setShowItems(HouseBookSet_SqlTable::SaleBook, items);
    HouseListTableWidget *table = layOut(true, QSize(1280, 800));
    QVERIFY(table);
    QCOMPARE(table->columnCount(), 5);
    QCOMPARE(table->horizontalScrollBar()->maximum(), 0);
    const int community = columnOf(*table, QStringLiteral("小区"));
    const int id = columnOf(*table, QStringLiteral("编号"));
    // 小区 has rate 8, 编号 rate 3: the room left over goes mostly to the community.
    int sum = 0;
    for (int column = 0; column < 5; ++column) {
        QVERIFY(table->columnWidth(column) > table->neededWidth(column));
        sum += table->columnWidth(column);
    }
    QCOMPARE(sum, table->viewport()->width());
    QVERIFY(table->columnWidth(community) - table->neededWidth(community)
            > 2 * (table->columnWidth(id) - table->neededWidth(id)));
    QVERIFY(!static_cast<HouseTableItemWidget *>(table->cellAt(0, community))->labelText().contains(QChar(0x2026)));
}

QTEST_MAIN(TestListLayout)
#include "tst_listlayout.moc"
