// The listing table and its cells: how a record becomes row texts, the three cell kinds,
// tag chips and their overflow window, read marks, hover and selection colours, the sortable
// header, and the collaboration cell.
#include "datacenter.h"
#include "list/housebookxiezuoitemview.h"
#include "widgets/houselisttableheadview.h"
#include "list/houserowtexts.h"
#include "list/housetableitemwidget.h"
#include "list/housetablelabelitemview.h"
#include "list/housetabletagitemwidget.h"
#include "list/houselisttablewidget.h"
#include "list/moretablehousetagview.h"
#include "list/moretagpushbutton.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolTip>
#include <QtTest>

using Record = HouseMessage_DataSqlTable::HouseMessageData;
using Holder = HouseMessage_DataSqlTable::XieZuoItemData;
using RowColors = HouseListTableWidget::RowColors;

namespace {

const QDate kToday(2024, 5, 20);
const QString kMe = QStringLiteral("13800000001");
const QString kReadMarkStyle = QStringLiteral("border-image: url(:/res/hasread.png);");

// An active sale listing in a known community, with nothing special about it.
Record plainListing(int id = 1001)
{
    Record r;
    r.id = id;
    r.name = QStringLiteral("阳光小区");
    r.housestatus = 1;
    r.district = QStringLiteral("蜀山");
    r.area = QStringLiteral("南七");
    r.room = 3;
    r.hall = 2;
    r.huxingwei = 1;
    r.builtuparea = 89.5;
    r.price = 150;
    r.unitprice = 16760;
    r.floors = 5;
    r.allfloors = 18;
    r.createtime = QStringLiteral("2024/05/01 09:30:00");
    return r;
}

QVariantMap column(const QString &key, const QString &title, int width = 80, bool sort = false)
{
    return {{QStringLiteral("key"), key},
            {QStringLiteral("title"), title},
            {QStringLiteral("width"), width},
            {QStringLiteral("sort"), sort}};
}

QList<QVariantMap> mixedColumns()
{
    return {column(QStringLiteral("key_bianHao"), QStringLiteral("编号"), 60, true),
            column(QStringLiteral("key_address"), QStringLiteral("小区"), 260),
            column(QStringLiteral("key_tags"), QStringLiteral("标签"), 160),
            column(QStringLiteral("key_xiezuo"), QStringLiteral("团队协作"), 215),
            column(QStringLiteral("key_price"), QStringLiteral("总价"), 80, true)};
}

Holder holder(const QString &name, const QString &phone, bool review)
{
    Holder h;
    h.name = name;
    h.phone = phone;
    h.review = review;
    return h;
}

void sendEnter(QWidget *widget)
{
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(widget, &enter);
}

void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QLabel *readMark(QWidget *cell)
{
    return cell->findChild<QLabel *>(QStringLiteral("readMark"));
}

QPoint sectionCenter(QHeaderView *header, int section)
{
    return QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
}

} // namespace

class TestListCells : public QObject
{
    Q_OBJECT
private slots:
    void init();

    // Row texts
    void cellValue_data();
    void cellValue();
    void cellValuesCoverEveryListingKey();
    void communityTextParts_data();
    void communityTextParts();
    void composeOrderAndSplit();
    void splitNeedsFourParts_data();
    void splitNeedsFourParts();

    // Community cell
    void communityCellStatusAndIcons();
    void communityCellPlainText_data();
    void communityCellPlainText();
    void searchWordsAreRedAndTextEscaped();
    void searchWordsReachShownCells();
    void longCommunityNameIsElided();

    // Tag cell
    void tagChipsFit_data();
    void tagChipsFit();
    void chipLookAndPalette();
    void chipsWaitForWidthAndReplaceOldOnes();
    void moreButtonShowsAllTags();

    // Plain cell, read marks
    void plainCellElidesAndKeepsWholeText();
    void readMarkOnEveryCellKind();

    // Table
    void tableSetUp();
    void cellKindFollowsColumnTitle();
    void readMarkOnlyInLastColumn();
    void clickOnCellReportsRowOnce();
    void hoverColours();
    void pointerMovesLightRows();
    void ownRowColoursAndReset();
    void unselectedRowsStandOnBase();
    void removedRowsKeepCellRowsRight();
    void contextMenuGoesToOwner();
    void emptyTextAndRowHeight();
    void fillsFullPageQuickly();
    void onlyRowsInViewAreBuilt();
    void deferredCellBuildsWhenPainted();

    // Header
    void headerSortFlagAndIcons();
    void headerTooltip();
    void headerPaintsSortIcons();
    void sortArrowsPointTheirWay();
    void tableInstallsSortHeader();

    // Collaboration cell
    void roleIconsAndToolTips_data();
    void roleIconsAndToolTips();
    void collaborationFromListing();
    void collaborationNotSupported_data();
    void collaborationNotSupported();
    void collaborationLook();
};

void TestListCells::init()
{
    DataCenter::reset();
    DataCenter::UserPhoneNumber = kMe;
}

// ---- Row texts ----

void TestListCells::cellValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<Record>("record");
    QTest::addColumn<QString>("expected");

    Record r = plainListing(1234);
    QTest::newRow("id") << "key_bianHao" << r << "1234";
    QTest::newRow("district-area") << "key_area" << r << "蜀山-南七";
    QTest::newRow("layout") << "key_housetype" << r << "3室2厅1卫";
    QTest::newRow("size with fraction") << "key_size" << r << "89.5m²";
    QTest::newRow("total price") << "key_price" << r << "150万";
    QTest::newRow("unit price") << "key_unitprice" << r << "16760元";
    QTest::newRow("floor") << "key_floor" << r << "5/18层";
    QTest::newRow("unknown key") << "key_nothing" << r << "";

    Record rent = plainListing();
    rent.price = 2500;
    rent.zuunit = QStringLiteral("元/月");
    rent.builtuparea = 120;
    QTest::newRow("rent") << "key_monthmoney" << rent << "2500元/月";
    QTest::newRow("whole size") << "key_size" << rent << "120m²";

    Record floors = plainListing();
    floors.floors = 0;
    floors.allfloors = 0;
    QTest::newRow("floors missing") << "key_floor" << floors << "*/*层";
    floors.floors = 7;
    QTest::newRow("building height missing") << "key_floor" << floors << "*/*层";
    floors.floors = -1;
    floors.allfloors = 6;
    QTest::newRow("basement") << "key_floor" << floors << "-1/6层";

    Record text = plainListing();
    QTest::newRow("no follow-up") << "key_follow" << text << "暂无跟进";
    QTest::newRow("no school") << "key_school" << text << "暂无学区";
    QTest::newRow("no publisher") << "key_publisher" << text << "暂无";
    text.follows = QStringLiteral("客户已看房");
    text.primaryschool = QStringLiteral("一小");
    text.author = QStringLiteral("张三");
    QTest::newRow("follow-up") << "key_follow" << text << "客户已看房";
    QTest::newRow("primary school only") << "key_school" << text << "一小";
    QTest::newRow("publisher without department") << "key_publisher" << text << "张三";
    text.middleschool = QStringLiteral("八中");
    text.deptname = QStringLiteral("高新店");
    QTest::newRow("both schools") << "key_school" << text << "一小、八中";
    QTest::newRow("publisher with department") << "key_publisher" << text << "张三(高新店)";

    Record columns = plainListing();
    columns.newstate = QStringLiteral("在售");
    columns.remark = QStringLiteral("满五唯一");
    columns.contacts = QStringLiteral("李女士");
    columns.lasttime = QStringLiteral("2024/05/19 10:00:00");
    columns.days = 3;
    QTest::newRow("status name") << "key_state" << columns << "在售";
    QTest::newRow("remark") << "key_remark" << columns << "满五唯一";
    QTest::newRow("contacts") << "key_phone" << columns << "李女士";
    QTest::newRow("entry time") << "key_publishtime" << columns << "2024/05/01 09:30:00";
    QTest::newRow("update time") << "key_updatatime" << columns << "2024/05/19 10:00:00";
    QTest::newRow("days left") << "key_days" << columns << "3天";

    // Building, unit and room carry their words, from the record or "栋"/"单元".
    Record room = plainListing();
    room.buildingNo = QStringLiteral("4");
    room.unitNo = QStringLiteral("1");
    room.roomNo = QStringLiteral("304");
    QTest::newRow("bare numbers get the default words") << "key_loudong" << room << "4栋1单元304";
    room.dongunit = QStringLiteral("号楼");
    room.danyuanunit = QStringLiteral("单元");
    QTest::newRow("the record's own words") << "key_loudong" << room << "4号楼1单元304";
    room.buildingNo = QStringLiteral("4号楼");
    room.unitNo = QStringLiteral("1单元");
    QTest::newRow("words already stored are not doubled") << "key_loudong" << room << "4号楼1单元304";
    room.dongunit.clear();
    room.danyuanunit.clear();
    room.buildingNo = QStringLiteral("A座");
    room.unitNo = QStringLiteral("-1");
    QTest::newRow("a word of its own, unknown unit") << "key_loudong" << room << "A座304";
}

void TestListCells::cellValue()
{
    QFETCH(QString, key);
    QFETCH(Record, record);
    QFETCH(QString, expected);
    QCOMPARE(HouseRowTexts::cellValue(key, record, kToday), expected);
    if (!expected.isEmpty())
        QCOMPARE(HouseRowTexts::cellValues(record, kToday).value(key).toString(), expected);
}

// Every listing column key the settings catalogue can show has a value in the row map.
void TestListCells::cellValuesCoverEveryListingKey()
{
    const QStringList keys{"key_bianHao", "key_area", "key_address", "key_housetype", "key_size", "key_monthmoney",
                           "key_price", "key_unitprice", "key_floor", "key_follow", "key_school", "key_publisher",
                           "key_state", "key_zhuangxiu", "key_peitao", "key_jiaotong", "key_seehousetime",
                           "key_rentway", "key_payway", "key_zhutime", "key_key", "key_chaoxiang", "key_source",
                           "key_phone", "key_remark", "key_publishtime", "key_updatatime", "key_followdate",
                           "key_chanquan", "key_chanzheng", "key_car", "key_xingzhi", "key_tags", "key_house_type"};
    Record r = plainListing();
    r.renovation = QStringLiteral("精装");
    r.keys = QStringLiteral("有钥匙");
    r.garage = QStringLiteral("地下车位");
    r.housetype = QStringLiteral("住宅");
    const QVariantMap values = HouseRowTexts::cellValues(r, kToday);
    for (const QString &key : keys)
        QVERIFY2(values.contains(key), qPrintable(key));
    QCOMPARE(values.value("key_zhuangxiu").toString(), QStringLiteral("精装"));
    QCOMPARE(values.value("key_key").toString(), QStringLiteral("有钥匙"));
    QCOMPARE(values.value("key_car").toString(), QStringLiteral("地下车位"));
    QCOMPARE(values.value("key_house_type").toString(), QStringLiteral("住宅"));
    QCOMPARE(values.value("key_address").toString(), HouseRowTexts::communityText(r, kToday));
}

void TestListCells::communityTextParts_data()
{
    QTest::addColumn<Record>("record");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("main");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("right");

    const Record plain = plainListing();
    QTest::newRow("nothing special") << plain << "" << "阳光小区" << QStringList() << QStringList();

    Record pending = plain;
    pending.housestatus = 0;
    QTest::newRow("pending") << pending << "待处理" << "阳光小区" << QStringList() << QStringList();
    Record review = pending;
    review.shenhestatus = 1;
    QTest::newRow("awaiting review wins over pending") << review << "待审核" << "阳光小区" << QStringList() << QStringList();
    Record rejected = pending;
    rejected.shenhestatus = 3;
    QTest::newRow("rejected") << rejected << "驳回" << "阳光小区" << QStringList() << QStringList();

    Record all = plain;
    all.createtime = QStringLiteral("2024/05/20 08:01:02");
    all.photo = QStringLiteral("a.jpg");
    all.quanjing = QStringLiteral("https://vr.example/1");
    all.havevideo = true;
    all.sf = 1;
    all.havegarage = 1;
    all.istop = 1;
    all.suopan = 1;
    all.fengpan = 1;
    all.hbdujia = 1;
    QTest::newRow("every tag, in order")
        << all << "" << "阳光小区" << QStringList{"新上房源", "有图", "VR", "视频房源"}
        << QStringList{"私房", "有车库", "置顶", "锁盘", "封盘", "独家"};

    Record old = plain;
    old.createtime = QStringLiteral("2024/05/19 23:59:59");
    old.vrurl = QStringLiteral("https://vr.example/2");
    old.hbdujia = 1;
    QTest::newRow("entered yesterday") << old << "" << "阳光小区" << QStringList{"VR"} << QStringList{"独家"};
    Record badTime = plain;
    badTime.createtime = QStringLiteral("2024-05-20 08:00:00");
    QTest::newRow("unreadable entry time") << badTime << "" << "阳光小区" << QStringList() << QStringList();

    Record room = plain;
    room.buildingNo = QStringLiteral("3栋");
    room.unitNo = QStringLiteral("2单元");
    room.roomNo = QStringLiteral("501");
    QTest::newRow("building, unit, room") << room << "" << "阳光小区-3栋-2单元501" << QStringList() << QStringList();
    room.buildingNo = QStringLiteral("-1");
    QTest::newRow("unknown building") << room << "" << "阳光小区-2单元501" << QStringList() << QStringList();
    room.buildingNo = QStringLiteral("4");
    room.unitNo = QStringLiteral("1");
    room.roomNo = QStringLiteral("304");
    QTest::newRow("bare numbers") << room << "" << "阳光小区-4栋-1单元304" << QStringList() << QStringList();
    room.dongunit = QStringLiteral("幢");
    QTest::newRow("the record's building word") << room << "" << "阳光小区-4幢-1单元304" << QStringList() << QStringList();
    room.buildingNo = QStringLiteral("-1");
    room.unitNo.clear();
    room.roomNo = QStringLiteral("-1");
    QTest::newRow("nothing known") << room << "" << "阳光小区" << QStringList() << QStringList();
}

void TestListCells::communityTextParts()
{
    QFETCH(Record, record);
    QFETCH(QString, status);
    QFETCH(QString, main);
    QFETCH(QStringList, left);
    QFETCH(QStringList, right);
    const HouseRowTexts::CommunityParts parts =
        HouseRowTexts::splitCommunityText(HouseRowTexts::communityText(record, kToday));
    QVERIFY(parts.valid);
    QCOMPARE(parts.status, status);
    QCOMPARE(parts.main, main);
    QCOMPARE(parts.leftTags, left);
    QCOMPARE(parts.rightTags, right);
}

void TestListCells::composeOrderAndSplit()
{
    const QString text = HouseListTableWidget::composeCommunityText({"有图", "VR"}, "阳光小区", "驳回", {"置顶"});
    QCOMPARE(text, QStringLiteral("驳回<HouseTableItemWidget>阳光小区<HouseTableItemWidget>有图<HouseTableTagSplit>VR"
                                  "<HouseTableItemWidget>置顶"));
    const HouseRowTexts::CommunityParts noTags =
        HouseRowTexts::splitCommunityText(HouseListTableWidget::composeCommunityText({}, "阳光小区", "", {}));
    QVERIFY(noTags.valid);
    QVERIFY(noTags.leftTags.isEmpty());
    QVERIFY(noTags.rightTags.isEmpty());
}

void TestListCells::splitNeedsFourParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("no markers") << "阳光小区";
    QTest::newRow("two parts") << "驳回<HouseTableItemWidget>阳光小区";
    QTest::newRow("five parts") << "a<HouseTableItemWidget>b<HouseTableItemWidget>c<HouseTableItemWidget>d"
                                   "<HouseTableItemWidget>e";
}

void TestListCells::splitNeedsFourParts()
{
    QFETCH(QString, text);
    QVERIFY(!HouseRowTexts::splitCommunityText(text).valid);
}

// ---- Community cell ----

void TestListCells::communityCellStatusAndIcons()
{
    HouseTableItemWidget cell(4);
    cell.resize(420, 44);
    cell.setText(HouseListTableWidget::composeCommunityText({"新上房源", "VR", "不认识的标签"}, "阳光小区", "驳回",
                                                        {"置顶", "独家"}));
    const QString html = cell.labelText();
    const int status = html.indexOf(QStringLiteral("(驳回)"));
    QVERIFY(status >= 0);
    QVERIFY(status < html.indexOf(QStringLiteral("阳光小区")));
    QVERIFY(html.left(status).contains(QStringLiteral("color:#ff0000")));
    QCOMPARE(cell.leftIconTags(), QStringList({"新上房源", "VR"}));
    QCOMPARE(cell.rightIconTags(), QStringList({"置顶", "独家"}));

    auto *label = cell.findChild<QLabel *>(QStringLiteral("textLabel"));
    QVERIFY(label);
    QCOMPARE(label->textFormat(), Qt::RichText);
    QCOMPARE(label->font().pixelSize(), 14);
    QCOMPARE(label->font().family(), QStringLiteral("微软雅黑"));

    // A click on the name itself opens the row, as a click beside it does.
    QSignalSpy clicks(&cell, &HoverTableCell::clickRow);
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    const QPoint onName = label->geometry().center();
    QWidget *target = cell.childAt(onName);  // where a real click would land
    if (target)
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&cell, onName));
    else
        QTest::mouseClick(&cell, Qt::LeftButton, {}, onName);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.first().at(0).toInt(), 4);

    // Icons: border images sized from their images, left tags before the text, right ones after.
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    QMap<QString, QLabel *> icons;
    for (QLabel *icon : cell.findChildren<QLabel *>(QStringLiteral("tagIcon")))
        icons.insert(icon->property("tag").toString(), icon);
    QCOMPARE(icons.size(), 4);
    QCOMPARE(icons.value("新上房源")->styleSheet(), QStringLiteral("border-image:url(://res/add_new.png);"));
    QCOMPARE(icons.value("VR")->size(), QSize(22, 16));
    QCOMPARE(icons.value("置顶")->size(), QSize(16, 16));
    QVERIFY(icons.value("新上房源")->x() < icons.value("VR")->x());
    QVERIFY(icons.value("VR")->geometry().right() < label->x());
    QVERIFY(label->geometry().right() < icons.value("置顶")->x());
    QVERIFY(icons.value("置顶")->x() < icons.value("独家")->x());

    // A new text replaces the icons.
    cell.setText(HouseListTableWidget::composeCommunityText({}, "阳光小区", "", {"锁盘"}));
    QCOMPARE(cell.findChildren<QLabel *>(QStringLiteral("tagIcon")).size(), 1);
    QVERIFY(!cell.labelText().contains(QStringLiteral("(")));
}

void TestListCells::communityCellPlainText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no markers") << "阳光小区<b>";
    QTest::newRow("three parts") << "驳回<HouseTableItemWidget>阳光小区<HouseTableItemWidget>有图";
}

void TestListCells::communityCellPlainText()
{
    QFETCH(QString, text);
    HouseTableItemWidget cell;
    cell.setText(text);
    auto *label = cell.findChild<QLabel *>(QStringLiteral("textLabel"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), text);
    QVERIFY(cell.findChildren<QLabel *>(QStringLiteral("tagIcon")).isEmpty());
}

void TestListCells::searchWordsAreRedAndTextEscaped()
{
    HouseTableItemWidget cell;
    cell.setSearchWords({"阳光", "b"});
    cell.setText(HouseListTableWidget::composeCommunityText({}, "阳光<B>小区阳光", "", {}));
    const QString html = cell.labelText();
    QCOMPARE(html.count(QStringLiteral("<span style=\"color:#ff0000;\">阳光</span>")), 2);
    QVERIFY(html.contains(QStringLiteral("&lt;<span style=\"color:#ff0000;\">B</span>&gt;")));
    QVERIFY(!html.contains(QStringLiteral("<B>")));

    // Without search words nothing is red.
    QCOMPARE(HouseRowTexts::communityHtml(QString(), QStringLiteral("阳光"), {}), QStringLiteral("阳光"));
}

// The table takes the search words at any time: the rows shown turn red at once.
void TestListCells::searchWordsReachShownCells()
{
    HouseListTableWidget table;
    Record r = plainListing(5);
    r.name = QStringLiteral("翡翠湖畔花园");
    table.setRows(mixedColumns(), {r});
    auto *community = qobject_cast<HouseTableItemWidget *>(table.cellAt(0, 1));
    QVERIFY(community);
    QVERIFY(!community->labelText().contains(QStringLiteral("color:#ff0000")));

    table.setSearchWords({QStringLiteral(" 翡翠  花园 "), QString()});
    QCOMPARE(table.searchWords(), QStringList({"翡翠", "花园"}));
    const QString html = community->labelText();
    QVERIFY(html.contains(QStringLiteral("<span style=\"color:#ff0000;\">翡翠</span>")));
    QVERIFY(html.contains(QStringLiteral("<span style=\"color:#ff0000;\">花园</span>")));

    // The next page keeps them; clearing them takes the red away again.
    table.setRows({r});
    community = qobject_cast<HouseTableItemWidget *>(table.cellAt(0, 1));
    QVERIFY(community->labelText().contains(QStringLiteral("color:#ff0000;\">翡翠")));
    table.setSearchWords({});
    QVERIFY(!community->labelText().contains(QStringLiteral("color:#ff0000")));
}

// A name wider than its cell ends in "…" instead of being cut mid-character; the tooltip
// and a wider cell show it whole.
void TestListCells::longCommunityNameIsElided()
{
    const QString name = QStringLiteral("翡翠湖畔国际花园二期东区-12栋-3单元2801");
    HouseTableItemWidget cell;
    cell.setSearchWords({QStringLiteral("翡翠")});
    cell.setText(HouseListTableWidget::composeCommunityText({"有图"}, name, QStringLiteral("待处理"), {"独家"}));
    cell.resize(180, 44);
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    const QString html = cell.labelText();
    QVERIFY2(html.contains(QChar(0x2026)), qPrintable(html));
    QVERIFY(html.contains(QStringLiteral("(待处理)")));
    QVERIFY(html.contains(QStringLiteral("color:#ff0000;\">翡翠")));
    QCOMPARE(cell.toolTip(), name);
    auto *label = cell.findChild<QLabel *>(QStringLiteral("textLabel"));
    QVERIFY(label->geometry().right() < cell.width());
    QVERIFY(label->sizeHint().width() <= label->width() + 1);

    cell.resize(cell.contentWidth(), 44);
    QTRY_VERIFY(!cell.labelText().contains(QChar(0x2026)));
    QVERIFY(cell.labelText().contains(QStringLiteral("2801")));
}

// ---- Tag cell ----

void TestListCells::tagChipsFit_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("tags");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("more");

    // Each tag takes 15 px per character and 8 px, after a 4 px margin.
    QTest::newRow("all fit") << 400 << "学区,满五,地铁" << QStringList{"学区", "满五", "地铁"} << false;
    QTest::newRow("fits exactly") << 80 << "学区,满五" << QStringList{"学区", "满五"} << false;
    QTest::newRow("one px short") << 79 << "学区,满五" << QStringList{"学区"} << true;
    QTest::newRow("wide tag ends the row before short ones") << 140 << "学区,满五唯一税费少,新" << QStringList{"学区"}
                                                             << true;
    QTest::newRow("first does not fit") << 30 << "学区" << QStringList() << true;
    QTest::newRow("blanks dropped") << 400 << " ,学区,, 满五 ," << QStringList{"学区", "满五"} << false;
    QTest::newRow("no tags") << 400 << "" << QStringList() << false;
}

void TestListCells::tagChipsFit()
{
    QFETCH(int, width);
    QFETCH(QString, tags);
    QFETCH(QStringList, shown);
    QFETCH(bool, more);
    HouseTableTagItemWidget cell(2);
    cell.resize(width, 44);
    cell.setText(tags);
    QCOMPARE(cell.shownTags(), shown);
    QCOMPARE(cell.moreButton() != nullptr, more);
    QCOMPARE(cell.findChildren<HouseTagChip *>().size(), shown.size());
    if (more) {
        QCOMPARE(cell.moreButton()->text(), QStringLiteral("●●●"));
        QVERIFY(cell.moreButton()->styleSheet().contains(QStringLiteral("color:rgb(12,137,240)")));
    }
}

void TestListCells::chipLookAndPalette()
{
    HouseTableTagItemWidget cell;
    cell.resize(1000, 44);
    cell.setText(QStringLiteral("一,二,三,四,五,六,七"));
    const QList<HouseTagChip *> chips = cell.findChildren<HouseTagChip *>();
    QCOMPARE(chips.size(), 7);
    const QStringList palette{"#fdb800", "#f94283", "#f9933f", "#a060bc", "#49c8a6", "#00b1ff", "#fdb800"};
    int x = -1;
    for (int i = 0; i < chips.size(); ++i) {
        HouseTagChip *chip = cell.shownTags().at(i) == chips.at(i)->text() ? chips.at(i) : nullptr;
        QVERIFY(chip);
        QCOMPARE(chip->color().name(), palette.at(i));
        QCOMPARE(chip->palette().color(QPalette::WindowText).name(), palette.at(i));
        QCOMPARE(chip->height(), 18);
        QCOMPARE(chip->font().pixelSize(), 14);
        QCOMPARE(chip->font().family(), QStringLiteral("微软雅黑"));
        QVERIFY(chip->x() > x);
        x = chip->x();
    }

    // The chip draws its border in its own colour, whatever the row's text colour is.
    cell.setColors(Qt::black, Qt::white);
    const QImage image = chips.at(1)->grab().toImage();
    QCOMPARE(QColor(image.pixel(image.width() / 2, 0)).name(), palette.at(1));
}

void TestListCells::chipsWaitForWidthAndReplaceOldOnes()
{
    HouseTableTagItemWidget cell;
    cell.setText(QStringLiteral("学区,满五"));
    // The table has not placed the cell yet: no chips at a guessed width.
    QVERIFY(cell.findChildren<HouseTagChip *>().isEmpty());
    cell.resize(300, 44);
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    QCOMPARE(cell.shownTags(), QStringList({"学区", "满五"}));

    cell.setText(QStringLiteral("地铁"));
    QCOMPARE(cell.findChildren<HouseTagChip *>().size(), 1);
    QCOMPARE(cell.shownTags(), QStringList({"地铁"}));

    // Narrowed by the table: the chips are laid out again.
    cell.resize(30, 44);
    QTRY_VERIFY(cell.moreButton() != nullptr);
    QVERIFY(cell.shownTags().isEmpty());
}

void TestListCells::moreButtonShowsAllTags()
{
    HouseTableTagItemWidget cell;
    cell.resize(120, 44);
    cell.setText(QStringLiteral("学区,满五唯一,地铁,南北通透"));
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    MoreTagPushButton *more = cell.moreButton();
    QVERIFY(more);
    QSignalSpy entered(more, &MoreTagPushButton::enterButton);
    QSignalSpy left(more, &MoreTagPushButton::leaveButton);

    sendEnter(more);
    QCOMPARE(entered.count(), 1);
    MoreTableHouseTagView *view = cell.moreView();
    QVERIFY(view);
    QVERIFY(view->isVisible());
    QCOMPARE(view->width(), 174);
    QVERIFY(view->height() >= 53);
    QCOMPARE(view->tags(), cell.tags());
    const QList<HouseTagChip *> chips = view->findChildren<HouseTagChip *>();
    QCOMPARE(chips.size(), 4);
    // Chips are centred on their line and keep the palette of their position.
    for (HouseTagChip *chip : chips) {
        const int index = cell.tags().indexOf(chip->text());
        QCOMPARE(chip->color(), HouseTableTagItemWidget::tagColor(index));
        QVERIFY(chip->x() >= 0 && chip->geometry().right() < view->width());
    }
    const QList<HouseTagChip *> firstLine = [&] {
        QList<HouseTagChip *> line;
        for (HouseTagChip *chip : chips)
            if (chip->y() == chips.first()->y())
                line << chip;
        return line;
    }();
    int leftEdge = view->width();
    int rightEdge = 0;
    for (HouseTagChip *chip : firstLine) {
        leftEdge = qMin(leftEdge, chip->x());
        rightEdge = qMax(rightEdge, chip->geometry().right());
    }
    QVERIFY(qAbs(leftEdge - (view->width() - 1 - rightEdge)) <= 1);

    sendLeave(more);
    QCOMPARE(left.count(), 1);
    QVERIFY(!view->isVisible());
}

// ---- Plain cell, read marks ----

void TestListCells::plainCellElidesAndKeepsWholeText()
{
    HouseTableLabelItemView cell(7);
    QCOMPARE(cell.row(), 7);
    cell.resize(60, 40);
    cell.setText(QStringLiteral("满五唯一，业主诚心出售，随时看房"));
    QCOMPARE(cell.text(), QStringLiteral("满五唯一，业主诚心出售，随时看房"));
    QCOMPARE(cell.toolTip(), cell.text());
    QVERIFY(cell.shownText().endsWith(QChar(0x2026)));
    cell.resize(800, 40);
    QCOMPARE(cell.shownText(), cell.text());
}

void TestListCells::readMarkOnEveryCellKind()
{
    std::vector<std::unique_ptr<HoverTableCell>> cells;
    cells.emplace_back(new HouseTableLabelItemView);
    cells.emplace_back(new HouseTableItemWidget);
    cells.emplace_back(new HouseTableTagItemWidget);
    cells.emplace_back(new HouseBookXieZuoItemView);
    for (const auto &cell : cells) {
        const char *kind = cell->metaObject()->className();
        cell->resize(200, 44);
        QVERIFY2(!readMark(cell.get()), kind);
        cell->setRead(true);
        cell->setRead(true);
        QCOMPARE(cell->findChildren<QLabel *>(QStringLiteral("readMark")).size(), 1);
        QCOMPARE(readMark(cell.get())->styleSheet(), kReadMarkStyle);
        QCOMPARE(readMark(cell.get())->geometry().right(), cell->width() - 1);
        QVERIFY(cell->isRead());
        cell->setRead(false);
        QVERIFY2(!readMark(cell.get()), kind);
    }
}

// ---- Table ----

void TestListCells::tableSetUp()
{
    HouseListTableWidget table;
    QCOMPARE(table.objectName(), QStringLiteral("tableWidget"));
    QVERIFY(table.hasMouseTracking());
    QCOMPARE(table.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(table.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(table.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(table.verticalHeader()->isHidden());
    QVERIFY(table.horizontalHeader()->stretchLastSection());
    QCOMPARE(table.horizontalHeader()->height(), 40);
    QVERIFY(table.styleSheet().contains(QStringLiteral("QTableWidget::item:selected{background-color: rgba(0,0,0,0)}")));

    table.setColumns(mixedColumns());
    QCOMPARE(table.columnCount(), 5);
    QCOMPARE(table.horizontalHeaderItem(1)->text(), QStringLiteral("小区"));
    QCOMPARE(table.columnWidth(1), 260);
    QCOMPARE(table.columnWidth(3), 215);
    QCOMPARE(table.sortableColumns(), QList<int>({0, 4}));
}

void TestListCells::cellKindFollowsColumnTitle()
{
    HouseListTableWidget table;
    Record r = plainListing(77);
    r.tags = QStringLiteral("学区,满五");
    r.shenhestatus = 3;
    table.setRows(mixedColumns(), {r});
    QCOMPARE(table.rowCount(), 1);

    auto *id = qobject_cast<HouseTableLabelItemView *>(table.cellAt(0, 0));
    QVERIFY(id);
    QCOMPARE(id->text(), QStringLiteral("77"));
    auto *community = qobject_cast<HouseTableItemWidget *>(table.cellAt(0, 1));
    QVERIFY(community);
    QCOMPARE(community->text(), HouseRowTexts::communityText(r));
    QCOMPARE(community->findChild<QLabel *>(QStringLiteral("textLabel"))->font().pixelSize(), 14);
    QVERIFY(community->labelText().contains(QStringLiteral("(驳回)")));
    auto *tags = qobject_cast<HouseTableTagItemWidget *>(table.cellAt(0, 2));
    QVERIFY(tags);
    QCOMPARE(tags->tags(), QStringList({"学区", "满五"}));
    QVERIFY(qobject_cast<HouseBookXieZuoItemView *>(table.cellAt(0, 3)));
    auto *price = qobject_cast<HouseTableLabelItemView *>(table.cellAt(0, 4));
    QVERIFY(price);
    QCOMPARE(price->text(), QStringLiteral("150万"));
    for (int c = 0; c < 5; ++c)
        QCOMPARE(table.cellAt(0, c)->row(), 0);

    // Search words reach the community cells of the next fill.
    table.setSearchWords({"阳光"});
    table.setRows({r});
    community = qobject_cast<HouseTableItemWidget *>(table.cellAt(0, 1));
    QVERIFY(community->labelText().contains(QStringLiteral("color:#ff0000;\">阳光")));
}

void TestListCells::readMarkOnlyInLastColumn()
{
    HouseListTableWidget table;
    Record read = plainListing(1);
    read.isread = 1;
    Record unread = plainListing(2);
    table.setRows(mixedColumns(), {read, unread});
    for (int c = 0; c < 4; ++c)
        QVERIFY(!table.cellAt(0, c)->isRead());
    QVERIFY(table.cellAt(0, 4)->isRead());
    QVERIFY(!table.cellAt(1, 4)->isRead());

    table.markRowRead(1);
    QVERIFY(table.cellAt(1, 4)->isRead());
    QVERIFY(!table.cellAt(1, 0)->isRead());
    table.markRowRead(5);  // outside the page: nothing
}

// A click on a cell widget is the row's click, reported once, and selects the row.
void TestListCells::clickOnCellReportsRowOnce()
{
    HouseListTableWidget table;
    table.resize(1000, 300);
    table.setRows(mixedColumns(), {plainListing(1), plainListing(2), plainListing(3)});
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QSignalSpy clicked(&table, &HouseListTableWidget::clickRowIndex);
    QSignalSpy had(&table, &HouseListTableWidget::rowHadClick);

    for (int c : {0, 1, 3}) {
        clicked.clear();
        QWidget *cell = table.cellAt(2, c);
        const QPoint at = cell->mapTo(&table, QPoint(cell->width() / 2, cell->height() / 2));
        QTest::mouseClick(table.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 2);
    }
    QCOMPARE(had.count(), 3);
    QCOMPARE(table.selectedRow(), 2);
    QCOMPARE(table.selectionModel()->selectedRows().size(), 1);
    QCOMPARE(table.selectionModel()->selectedRows().first().row(), 2);

    // A right click is no row click.
    clicked.clear();
    QWidget *cell = table.cellAt(0, 0);
    QTest::mouseClick(table.windowHandle(), Qt::RightButton, Qt::NoModifier, cell->mapTo(&table, QPoint(5, 5)));
    QCOMPARE(clicked.count(), 0);
}

void TestListCells::hoverColours()
{
    const RowColors defaults;
    QCOMPARE(defaults.text, QColor(0, 0, 0, 255));
    QCOMPARE(defaults.background, QColor(255, 255, 255, 0));
    QCOMPARE(defaults.hoverText, QColor(30, 30, 30, 255));
    QCOMPARE(defaults.hoverBackground, QColor(230, 230, 230, 255));

    HouseListTableWidget table;
    table.setRows(mixedColumns(), {plainListing(1), plainListing(2), plainListing(3)});
    QSignalSpy entered(&table, &HouseListTableWidget::cellHasEntered);
    auto rowIs = [&](int row, const QColor &text, const QColor &background) {
        for (int c = 0; c < table.columnCount(); ++c) {
            if (table.cellAt(row, c)->textColor() != text || table.cellAt(row, c)->backgroundColor() != background)
                return false;
        }
        return true;
    };

    sendEnter(table.cellAt(1, 2));
    QCOMPARE(table.hoveredRow(), 1);
    QCOMPARE(entered.count(), 1);
    QVERIFY(rowIs(1, defaults.hoverText, defaults.hoverBackground));
    QCOMPARE(table.cellAt(1, 4)->styleSheet(),
             QStringLiteral("background-color:rgba(230,230,230,255);color:rgba(30,30,30,255);"));
    // Children of a cell take the row's text colour.
    auto *label = table.cellAt(1, 1)->findChild<QLabel *>(QStringLiteral("textLabel"));
    QCOMPARE(label->palette().color(QPalette::WindowText), defaults.hoverText);

    sendEnter(table.cellAt(0, 4));
    QCOMPARE(table.hoveredRow(), 0);
    QVERIFY(rowIs(0, defaults.hoverText, defaults.hoverBackground));
    QVERIFY(rowIs(1, defaults.text, defaults.background));

    // The selected row keeps its hover colours when the pointer moves on.
    table.selectRow(0);
    sendEnter(table.cellAt(2, 0));
    QVERIFY(rowIs(0, defaults.hoverText, defaults.hoverBackground));
    QVERIFY(rowIs(2, defaults.hoverText, defaults.hoverBackground));

    // Leaving the table restores the hovered row, not the selected one.
    sendLeave(&table);
    QCOMPARE(table.hoveredRow(), -1);
    QVERIFY(rowIs(2, defaults.text, defaults.background));
    QVERIFY(rowIs(0, defaults.hoverText, defaults.hoverBackground));

    // Selecting another row gives the old one its normal colours back.
    table.selectRow(1);
    QVERIFY(rowIs(0, defaults.text, defaults.background));
    QVERIFY(rowIs(1, defaults.hoverText, defaults.hoverBackground));
}

// The same through the window system: the pointer crossing cells and their children.
void TestListCells::pointerMovesLightRows()
{
    HouseListTableWidget table;
    table.resize(1000, 300);
    table.setRows(mixedColumns(), {plainListing(1), plainListing(2), plainListing(3)});
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    auto centreOf = [&](int row, int column) {
        QWidget *cell = table.cellAt(row, column);
        return cell->mapTo(&table, cell->rect().center());
    };
    QTest::mouseMove(table.windowHandle(), centreOf(0, 0));
    QTest::mouseMove(table.windowHandle(), centreOf(1, 1));
    QTRY_COMPARE(table.hoveredRow(), 1);
    QCOMPARE(table.cellAt(1, 0)->backgroundColor(), RowColors().hoverBackground);
    QTest::mouseMove(table.windowHandle(), centreOf(2, 3));
    QTRY_COMPARE(table.hoveredRow(), 2);
    QCOMPARE(table.cellAt(1, 0)->backgroundColor(), RowColors().background);
}

// Rows that are not selected show rgba(250,250,250,255) behind their cells; the selected
// one shows its selection (hover) colours.
void TestListCells::unselectedRowsStandOnBase()
{
    HouseListTableWidget table;
    table.resize(1000, 300);
    table.setRows(mixedColumns(), {plainListing(1), plainListing(2), plainListing(3)});
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    auto colourAt = [&](int row, int column) {
        HoverTableCell *cell = table.cellAt(row, column);
        return QColor(cell->grab().toImage().pixel(cell->width() - 3, cell->height() - 3));
    };
    for (int row : {0, 1, 2}) {
        for (int column : {0, 1, 4})
            QCOMPARE(colourAt(row, column), QColor(250, 250, 250));
    }
    table.selectRow(1);
    QCOMPARE(colourAt(1, 4), RowColors().hoverBackground);
    QCOMPARE(colourAt(0, 4), QColor(250, 250, 250));
    table.selectRow(2);
    QCOMPARE(colourAt(1, 0), QColor(250, 250, 250));
    QVERIFY(table.cellAt(2, 0)->isSelectedRow());
    QVERIFY(!table.cellAt(1, 0)->isSelectedRow());
}

void TestListCells::ownRowColoursAndReset()
{
    HouseListTableWidget table;
    table.setRows(mixedColumns(), {plainListing(1), plainListing(2)});
    RowColors red;
    red.text = QColor(200, 0, 0);
    red.background = QColor(255, 240, 240);
    red.hoverText = QColor(255, 0, 0);
    red.hoverBackground = QColor(255, 200, 200);
    table.setRowColors(1, red);
    QCOMPARE(table.cellAt(1, 0)->textColor(), red.text);
    QCOMPARE(table.cellAt(1, 3)->backgroundColor(), red.background);

    sendEnter(table.cellAt(1, 0));
    QCOMPARE(table.cellAt(1, 2)->backgroundColor(), red.hoverBackground);
    QCOMPARE(table.cellAt(1, 2)->textColor(), red.hoverText);
    sendEnter(table.cellAt(0, 0));
    QCOMPARE(table.cellAt(1, 2)->backgroundColor(), red.background);

    table.resetHoverState();
    QCOMPARE(table.hoveredRow(), -1);
    const RowColors defaults;
    for (int row : {0, 1}) {
        QCOMPARE(table.cellAt(row, 0)->textColor(), defaults.text);
        QCOMPARE(table.cellAt(row, 0)->backgroundColor(), defaults.background);
    }
    QCOMPARE(table.rowColors(1).text, defaults.text);
}

// After a listing's row is taken out, the rows below still report their own index.
void TestListCells::removedRowsKeepCellRowsRight()
{
    HouseListTableWidget table;
    RowColors own;
    own.text = QColor(1, 2, 3);
    table.setRows(mixedColumns(), {plainListing(1), plainListing(2), plainListing(3)});
    table.setRowColors(2, own);
    table.selectRow(2);
    QSignalSpy clicked(&table, &HouseListTableWidget::clickRowIndex);

    table.removeRow(0);
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.selectedRow(), 1);
    QCOMPARE(table.rowColors(1).text, own.text);
    HoverTableCell *cell = table.cellAt(1, 0);
    QCOMPARE(cell->row(), 1);
    emit cell->clickRow(cell->row());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 1);
    QCOMPARE(static_cast<HouseTableLabelItemView *>(table.cellAt(1, 0))->text(), QStringLiteral("3"));

    // A click reported by a stale cell outside the table is ignored.
    emit cell->clickRow(5);
    QCOMPARE(clicked.count(), 1);
}

void TestListCells::contextMenuGoesToOwner()
{
    QWidget owner;
    owner.setContextMenuPolicy(Qt::CustomContextMenu);
    auto *table = new HouseListTableWidget(&owner);
    table->resize(800, 300);
    table->setRows(mixedColumns(), {plainListing(1)});
    owner.resize(800, 300);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QSignalSpy requested(&owner, &QWidget::customContextMenuRequested);

    QWidget *cell = table->cellAt(0, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), cell->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(cell, &event);
    QCOMPARE(requested.count(), 1);
    QCOMPARE(table->rowAt(table->viewport()->mapFrom(&owner, requested.at(0).at(0).toPoint()).y()), 0);
}

void TestListCells::emptyTextAndRowHeight()
{
    HouseListTableWidget table;
    table.resize(800, 540);
    table.setColumns(mixedColumns());
    table.setEmptyText(QStringLiteral("木有找到呀！"));
    table.setRows({});
    auto *hint = table.findChild<QLabel *>(QStringLiteral("emptyHint"));
    QVERIFY(hint);
    QVERIFY(!hint->isHidden());
    table.setRows({plainListing()});
    QVERIFY(hint->isHidden());
    table.removeRow(0);
    QVERIFY(!hint->isHidden());

    table.fitRowHeight(20);  // (540 - 40) / 20 = 25, raised to 40
    QCOMPARE(table.verticalHeader()->defaultSectionSize(), 40);
    table.fitRowHeight(10);  // 50
    QCOMPARE(table.verticalHeader()->defaultSectionSize(), 50);
    table.fitRowHeight(5);   // 100, capped to 50
    QCOMPARE(table.verticalHeader()->defaultSectionSize(), 50);
    table.resize(800, 500);
    table.fitRowHeight(11);  // 41
    QCOMPARE(table.verticalHeader()->defaultSectionSize(), 41);
    table.fitRowHeight(0);
    QCOMPARE(table.verticalHeader()->defaultSectionSize(), 41);
}

// A full page must not cost a relayout per cell: 100 rows of 20 columns, built and painted.
void TestListCells::fillsFullPageQuickly()
{
    QList<QVariantMap> columns = mixedColumns();
    const QStringList keys{"key_area", "key_housetype", "key_size", "key_zhuangxiu", "key_unitprice", "key_publisher",
                           "key_publishtime", "key_follow", "key_remark", "key_jiaotong", "key_chaoxiang",
                           "key_state", "key_updatatime", "key_floor", "key_school"};
    for (const QString &key : keys)
        columns << column(key, key, 70);
    QList<Record> rows;
    for (int i = 0; i < 100; ++i) {
        Record r = plainListing(i + 1);
        r.tags = QStringLiteral("学区,满五唯一,地铁");
        r.photo = QStringLiteral("a.jpg");
        r.istop = i % 3 == 0;
        r.isread = i % 2;
        r.weihuren = holder(QStringLiteral("张三"), kMe, i % 2);
        rows << r;
    }
    HouseListTableWidget table;
    table.resize(1600, 900);
    table.setColumns(columns);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    QElapsedTimer timer;
    timer.start();
    table.setRows(rows);
    // The delayed layout, then the paint it asks for.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    qInfo("100 x 20 cells in %lld ms", elapsed);  // speed itself is bench_houselist's to measure
    QCOMPARE(table.rowCount(), 100);
}

// Cells below the view are neither shown nor built until the table scrolls to them.
void TestListCells::onlyRowsInViewAreBuilt()
{
    HouseListTableWidget table;
    table.resize(1000, 300);
    table.setColumns(mixedColumns());
    QList<Record> rows;
    for (int i = 0; i < 100; ++i) {
        Record r = plainListing(i + 1);
        r.name = QStringLiteral("小区%1").arg(i);
        r.tags = QStringLiteral("学区");
        r.lururen = holder(QStringLiteral("张三"), kMe, true);
        rows << r;
    }
    table.setRows(rows);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    for (int c : {1, 2, 3}) {
        QVERIFY(table.cellAt(0, c)->isBuilt());
        QVERIFY(table.cellAt(0, c)->isVisible());
        QVERIFY(!table.cellAt(99, c)->isBuilt());
        QVERIFY(!table.cellAt(99, c)->isVisible());
    }
    QVERIFY(table.cellAt(0, 2)->findChild<HouseTagChip *>());

    table.scrollToBottom();
    QTRY_VERIFY(table.cellAt(99, 3)->isVisible());
    for (int c : {1, 2, 3})
        QVERIFY(table.cellAt(99, c)->isBuilt());
    QVERIFY(!table.cellAt(0, 1)->isVisible());
    auto *community = static_cast<HouseTableItemWidget *>(table.cellAt(99, 1));
    QVERIFY(community->labelText().contains(QStringLiteral("小区99")));
    auto *xiezuo = static_cast<HouseBookXieZuoItemView *>(table.cellAt(99, 3));
    QCOMPARE(xiezuo->roleLabel(0)->styleSheet(), QStringLiteral("border-image:url(:/res/xiezuo_my_add.png);"));
    QCOMPARE(table.cellAt(99, 2)->findChild<HouseTagChip *>()->text(), QStringLiteral("学区"));
    QCOMPARE(table.cellAt(99, 3)->geometry(), table.visualRect(table.model()->index(99, 3)));
}

// A deferred cell that gets painted before anyone built it does so by itself.
void TestListCells::deferredCellBuildsWhenPainted()
{
    HouseTableItemWidget cell(0, nullptr, true);
    cell.setText(HouseListTableWidget::composeCommunityText({"有图"}, "阳光小区", "", {}));
    QVERIFY(!cell.isBuilt());
    QVERIFY(cell.labelText().isEmpty());
    cell.resize(300, 40);
    cell.show();
    QTRY_VERIFY(cell.isBuilt());
    QCOMPARE(cell.labelText(), QStringLiteral("阳光小区"));
    QCOMPARE(cell.leftIconTags(), QStringList({"有图"}));

    HouseBookXieZuoItemView xiezuo(0, nullptr, true);
    Record r = plainListing();
    r.jindu = 40;
    xiezuo.setData(r);
    QCOMPARE(xiezuo.progressText(), QStringLiteral("40%"));
    QVERIFY(!xiezuo.isBuilt());
    xiezuo.resize(215, 40);
    xiezuo.show();
    QTRY_VERIFY(xiezuo.isBuilt());
    QCOMPARE(xiezuo.findChild<QLabel *>(QStringLiteral("label_jindu"))->text(), QStringLiteral("40%"));
}

// ---- Header ----

void TestListCells::headerSortFlagAndIcons()
{
    HouseListTableWidget table;
    table.resize(600, 200);
    table.setColumns({column("key_bianHao", "编号", 100, true), column("key_area", "区域", 100),
                      column("key_price", "总价", 100, true)});
    HouseListTableHeadView *header = table.installSortHeader();
    QCOMPARE(header->defaultAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(header->currentSection(), -1);
    QVERIFY(!header->isDescending());
    QCOMPARE(header->hoveredSection(), -1);
    QCOMPARE(header->sortSections(), QList<int>({0, 2}));
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    QCOMPARE(header->sortIcon(1), QString());
    // Not sorted by it yet: the faint pair.
    QCOMPARE(header->sortIcon(0), QStringLiteral("://res/icon_sort.png"));
    QVERIFY(!QPixmap(header->sortIcon(0)).isNull());

    QSignalSpy pressed(header, &QHeaderView::sectionPressed);
    QSignalSpy doubleClicked(header, &QHeaderView::sectionDoubleClicked);
    // A double click arrives as press, release, double click, release: one flip.
    QWidget *viewport = header->viewport();
    const QPoint first = sectionCenter(header, 0);
    sendMouse(viewport, QEvent::MouseButtonPress, first);
    sendMouse(viewport, QEvent::MouseButtonRelease, first);
    sendMouse(viewport, QEvent::MouseButtonDblClick, first);
    sendMouse(viewport, QEvent::MouseButtonRelease, first);
    QVERIFY(header->isDescending());
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).toInt(), 0);
    QCOMPARE(doubleClicked.count(), 1);
    QCOMPARE(doubleClicked.at(0).at(0).toInt(), 0);

    header->setCurrentSection(0);
    QCOMPARE(header->sortIcon(0), QStringLiteral("://res/icon_sort_down.png"));  // ▼ descending
    QCOMPARE(header->sortIcon(2), QStringLiteral("://res/icon_sort.png"));

    // A section that does not sort leaves the direction alone.
    sendMouse(viewport, QEvent::MouseButtonPress, sectionCenter(header, 1));
    sendMouse(viewport, QEvent::MouseButtonRelease, sectionCenter(header, 1));
    QVERIFY(header->isDescending());
    sendMouse(viewport, QEvent::MouseButtonPress, sectionCenter(header, 2));
    sendMouse(viewport, QEvent::MouseButtonRelease, sectionCenter(header, 2));
    QVERIFY(!header->isDescending());
    QCOMPARE(header->sortIcon(0), QStringLiteral("://res/icon_sort_up.png"));  // ▲ ascending
}

// ▼ has its wide side at the top, ▲ at the bottom.
void TestListCells::sortArrowsPointTheirWay()
{
    auto inkInRow = [](const QImage &image, int y) {
        int ink = 0;
        for (int x = 0; x < image.width(); ++x)
            ink += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        return ink;
    };
    auto widerAtTop = [&](const QString &path) {
        const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
        int top = 0;
        int bottom = 0;
        for (int y = 0; y < image.height() / 2; ++y) {
            top = qMax(top, inkInRow(image, y));
            bottom = qMax(bottom, inkInRow(image, image.height() - 1 - y));
        }
        return top > bottom;
    };
    HouseListTableWidget table;
    table.resize(400, 200);
    table.setColumns({column("key_bianHao", "编号", 150, true), column("key_area", "区域", 150)});
    HouseListTableHeadView *header = table.installSortHeader();
    header->setCurrentSection(0);
    QVERIFY(!header->isDescending());
    QVERIFY(!widerAtTop(header->sortIcon(0)));
    sendMouse(header->viewport(), QEvent::MouseButtonPress, sectionCenter(header, 0));
    QVERIFY(header->isDescending());
    QVERIFY(widerAtTop(header->sortIcon(0)));
}

void TestListCells::headerTooltip()
{
    HouseListTableWidget table;
    table.resize(600, 200);
    table.setColumns({column("key_bianHao", "编号", 100, true), column("key_area", "区域", 100)});
    HouseListTableHeadView *header = table.installSortHeader();
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    sendMouse(header->viewport(), QEvent::MouseMove, sectionCenter(header, 0));
    QCOMPARE(header->hoveredSection(), 0);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("双击排序"));

    sendMouse(header->viewport(), QEvent::MouseMove, sectionCenter(header, 1));
    QCOMPARE(header->hoveredSection(), 1);
    QTRY_VERIFY(!QToolTip::isVisible());

    sendMouse(header->viewport(), QEvent::MouseMove, sectionCenter(header, 0));
    QTRY_VERIFY(QToolTip::isVisible());
    sendLeave(header);
    QCOMPARE(header->hoveredSection(), -1);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestListCells::headerPaintsSortIcons()
{
    HouseListTableWidget table;
    table.resize(600, 200);
    table.setColumns({column("key_bianHao", "编号", 150, true), column("key_area", "区域", 150)});
    HouseListTableHeadView *header = table.installSortHeader();
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    const QRect iconArea(header->sectionViewportPosition(0) + header->sectionSize(0) - 30, 0, 30, header->height());
    auto iconPixels = [&] { return header->viewport()->grab(iconArea).toImage(); };

    const QImage sortable = iconPixels();
    header->setSortSections({});
    const QImage none = iconPixels();
    QVERIFY(sortable != none);
    header->setSortSections({0});
    header->setCurrentSection(0);
    sendMouse(header->viewport(), QEvent::MouseButtonPress, sectionCenter(header, 0));
    sendMouse(header->viewport(), QEvent::MouseButtonRelease, sectionCenter(header, 0));
    QVERIFY(header->isDescending());
    const QImage descending = iconPixels();
    QVERIFY(descending != sortable);
    QVERIFY(descending != none);
}

void TestListCells::tableInstallsSortHeader()
{
    HouseListTableWidget table;
    HouseListTableHeadView *header = table.installSortHeader();
    QCOMPARE(table.installSortHeader(), header);
    QCOMPARE(table.horizontalHeader(), header);
    QVERIFY(header->stretchLastSection());
    QCOMPARE(header->height(), 40);
    table.setColumns(mixedColumns());
    QCOMPARE(header->sortSections(), QList<int>({0, 4}));
    // Widths survive a fill through the installed header.
    table.setRows({plainListing()});
    QCOMPARE(table.columnWidth(1), 260);
}

// ---- Collaboration cell ----

void TestListCells::roleIconsAndToolTips_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<Holder>("who");
    QTest::addColumn<bool>("verification");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("tip");

    using V = HouseBookXieZuoItemView;
    const Holder nobody;
    const Holder other = holder("张三", "13900000002", true);
    const Holder otherPending = holder("张三", "13900000002", false);
    const Holder me = holder("王五", kMe, true);
    const Holder mePending = holder("王五", kMe, false);

    QTest::newRow("entry, nobody") << int(V::LuRuRen) << nobody << false << ":/res/xiezuo_add_null.png" << "待录入";
    QTest::newRow("entry, other") << int(V::LuRuRen) << other << false << ":/res/xiezuo_add.png" << "录入人：张三";
    QTest::newRow("entry, other pending") << int(V::LuRuRen) << otherPending << false
                                          << ":/res/xiezuo_add_review.png" << "录入人：张三（待审核）";
    QTest::newRow("entry, me") << int(V::LuRuRen) << me << false << ":/res/xiezuo_my_add.png" << "录入人：王五";
    QTest::newRow("entry, me pending") << int(V::LuRuRen) << mePending << false << ":/res/xiezuo_my_add_review.png"
                                       << "录入人：王五（待审核）";
    QTest::newRow("maintainer, nobody") << int(V::WeiHuRen) << nobody << false << ":/res/xiezuo_modify_null.png"
                                        << "待维护";
    QTest::newRow("maintainer, me") << int(V::WeiHuRen) << me << false << ":/res/xiezuo_my_modify.png"
                                    << "维护人：王五";
    QTest::newRow("entrusting, other") << int(V::WeiTuoRen) << other << false << ":/res/xiezuo_weituo.png"
                                       << "委托人：张三";
    QTest::newRow("entrusting, me pending") << int(V::WeiTuoRen) << mePending << false
                                            << ":/res/xiezuo_my_weituo_review.png" << "委托人：王五（待审核）";
    QTest::newRow("entrusting, nobody, verified") << int(V::WeiTuoRen) << nobody << true
                                                  << ":/res/xiezuo_weituo_null.png" << "待委托";
    QTest::newRow("entrusting, other, verified") << int(V::WeiTuoRen) << other << true
                                                 << ":/res/xiezuo_weituo_heyan.png" << "委托人：张三";
    QTest::newRow("entrusting, me, verified") << int(V::WeiTuoRen) << me << true
                                              << ":/res/xiezuo_weituo_heyan_my.png" << "委托人：王五";
    QTest::newRow("entrusting, other pending, verified") << int(V::WeiTuoRen) << otherPending << true
                                                         << ":/res/xiezuo_weituo_heyan_review.png"
                                                         << "委托人：张三（待审核）";
    QTest::newRow("entrusting, me pending, verified") << int(V::WeiTuoRen) << mePending << true
                                                      << ":/res/xiezuo_weituo_heyan_my_review.png"
                                                      << "委托人：王五（待审核）";
    QTest::newRow("survey, other pending") << int(V::ShiKanRen) << otherPending << false
                                           << ":/res/xiezuo_shikan_review.png" << "实勘人：张三（待审核）";
    QTest::newRow("survey, nobody") << int(V::ShiKanRen) << nobody << true << ":/res/xiezuo_shikan_null.png"
                                    << "待实勘";
    QTest::newRow("keys, me, verified listing") << int(V::YaoShiRen) << me << true << ":/res/xiezuo_my_key.png"
                                                << "钥匙人：王五";
    QTest::newRow("keys, nobody") << int(V::YaoShiRen) << nobody << false << ":/res/xiezuo_key_null.png" << "待钥匙";
    QTest::newRow("exclusive, other") << int(V::DuJiaRen) << other << false << ":/res/xiezuo_dujia.png"
                                      << "独家代理人：张三";
    QTest::newRow("exclusive, nobody") << int(V::DuJiaRen) << nobody << false << ":/res/xiezuo_dujia_null.png"
                                       << "待独家代理";
    QTest::newRow("deal, me pending") << int(V::ChengJiaoRen) << mePending << false
                                      << ":/res/xiezuo_my_complete_review.png" << "成交人：王五（待审核）";
    QTest::newRow("deal, nobody") << int(V::ChengJiaoRen) << nobody << false << ":/res/xiezuo_complete_null.png"
                                  << "待成交";
    // A holder without a phone is never the signed-in user, even one without a phone.
    QTest::newRow("deal, phone unknown") << int(V::ChengJiaoRen) << holder("赵六", "", true) << false
                                         << ":/res/xiezuo_complete.png" << "成交人：赵六";
}

void TestListCells::roleIconsAndToolTips()
{
    QFETCH(int, role);
    QFETCH(Holder, who);
    QFETCH(bool, verification);
    QFETCH(QString, icon);
    QFETCH(QString, tip);
    if (who.phone.isEmpty())
        DataCenter::UserPhoneNumber.clear();

    QVERIFY2(QFile::exists(icon), qPrintable(icon));
    HouseBookXieZuoItemView view;
    QList<Holder> holders;
    for (int r = 0; r < HouseBookXieZuoItemView::RoleCount; ++r)
        holders << (r == role ? who : Holder());
    view.setRoles(holders, verification);
    QCOMPARE(view.roleIcon(role), icon);
    QLabel *label = view.roleLabel(role);
    QCOMPARE(label->objectName(), QStringLiteral("label_") + HouseBookXieZuoItemView::roleField(role));
    QCOMPARE(label->styleSheet(), QStringLiteral("border-image:url(%1);").arg(icon));
    QCOMPARE(label->toolTip(), tip);
}

void TestListCells::collaborationFromListing()
{
    HouseBookXieZuoItemView fresh;
    QCOMPARE(fresh.progressText(), QStringLiteral("100%"));
    for (int role = 0; role < HouseBookXieZuoItemView::RoleCount; ++role)
        QVERIFY(fresh.roleIcon(role).endsWith(QStringLiteral("_null.png")));

    Record r = plainListing();
    r.jindu = 60;
    r.lururen = holder("张三", "13900000002", true);
    r.weituoren = holder("王五", kMe, false);
    r.chengjiaoren = holder("李四", "13900000003", true);
    r.heyanCode = QStringLiteral("HY2024");
    HouseBookXieZuoItemView view;
    view.setData(r);
    QVERIFY(view.isSupported());
    QCOMPARE(view.progressText(), QStringLiteral("60%"));
    const QStringList expected{":/res/xiezuo_add.png",          ":/res/xiezuo_modify_null.png",
                               ":/res/xiezuo_weituo_heyan_my_review.png", ":/res/xiezuo_shikan_null.png",
                               ":/res/xiezuo_key_null.png",     ":/res/xiezuo_dujia_null.png",
                               ":/res/xiezuo_complete.png"};
    view.resize(215, 44);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QStringList icons;
    int x = -1;
    for (int role = 0; role < HouseBookXieZuoItemView::RoleCount; ++role) {
        icons << view.roleIcon(role);
        QVERIFY(view.roleLabel(role)->x() > x);
        x = view.roleLabel(role)->x();
    }
    QCOMPARE(icons, expected);
    QVERIFY(view.findChild<QLabel *>(QStringLiteral("label_jindu"))->x() > x);

    // The listing loses its verification code: the entrusting role gets its plain icon back.
    r.heyanCode.clear();
    r.jindu = 0;
    view.setData(r);
    QCOMPARE(view.roleIcon(HouseBookXieZuoItemView::WeiTuoRen), QStringLiteral(":/res/xiezuo_my_weituo_review.png"));
    QCOMPARE(view.progressText(), QStringLiteral("0%"));
}

void TestListCells::collaborationNotSupported_data()
{
    QTest::addColumn<int>("sf");
    QTest::addColumn<int>("stype");
    QTest::addColumn<bool>("supported");
    QTest::newRow("alliance listing") << 0 << 0 << true;
    QTest::newRow("private listing") << 1 << 0 << false;
    QTest::newRow("special listing") << 0 << 2 << false;
}

void TestListCells::collaborationNotSupported()
{
    QFETCH(int, sf);
    QFETCH(int, stype);
    QFETCH(bool, supported);
    Record r = plainListing();
    r.sf = sf;
    r.stype = stype;
    HouseBookXieZuoItemView view;
    view.setData(r);
    QCOMPARE(view.isSupported(), supported);
    auto *stack = view.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    QVERIFY(stack);
    QCOMPARE(stack->currentIndex(), supported ? 0 : 1);
    if (!supported) {
        auto *tip = qobject_cast<QLabel *>(stack->currentWidget());
        QVERIFY(tip);
        QCOMPARE(tip->text(), QStringLiteral("不支持团队协作"));
    }
}

void TestListCells::collaborationLook()
{
    HouseBookXieZuoItemView view(3);
    QSignalSpy entered(&view, &HoverTableCell::enterRow);
    QSignalSpy clicked(&view, &HoverTableCell::clickRow);
    view.resize(215, 44);
    view.setData(plainListing());
    view.setColors(Qt::black, QColor(230, 230, 230));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    auto *progress = view.findChild<QLabel *>(QStringLiteral("label_jindu"));
    QCOMPARE(progress->font().pixelSize(), 12);
    QCOMPARE(progress->font().family(), QStringLiteral("微软雅黑"));

    // A white pill with a grey border on the row's background.
    const QImage image = view.grab().toImage();
    auto *stack = view.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    const QRect pill = stack->geometry();
    QCOMPARE(QColor(image.pixel(pill.center().x(), pill.top())), QColor(212, 212, 212));
    QCOMPARE(QColor(image.pixel(pill.center().x(), pill.bottom())), QColor(212, 212, 212));
    QCOMPARE(QColor(image.pixel(pill.left() + 5, pill.center().y())), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(pill.left() + 1, pill.top() + 1)), QColor(230, 230, 230));
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(230, 230, 230));

    sendEnter(&view);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(entered.at(0).at(0).toInt(), 3);
    QTest::mouseClick(view.roleLabel(0), Qt::LeftButton);
    // The icon does not take the click itself; the cell reports it as its row's.
    QTest::mouseClick(&view, Qt::LeftButton);
    QVERIFY(clicked.count() >= 1);
    QCOMPARE(clicked.last().at(0).toInt(), 3);
}

QTEST_MAIN(TestListCells)
#include "tst_listcells.moc"
