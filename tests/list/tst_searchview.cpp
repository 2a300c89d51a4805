// The search bar: items built from the configured search fields, the condition key and value
// each widget kind gives, range splitting, clearing, values set by id, the layout of single-line
// and grid items, community names looked up through the worker, and hostile texts.
#include "hostfixture.h"
#include "list/housesearchview.h"
#include "list/searchitem.h"
#include "list/searchitemchooserwidgets.h"
#include "list/searchitemcommunitywidget.h"
#include "list/searchitemchoicewidgets.h"
#include "sql/communitybookdataobject.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housebookset_sqltable.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QtTest>

#include <atomic>

namespace {

QVariantMap field(int type, int id, const QVariantMap &extra = QVariantMap())
{
    QVariantMap m{{"type", type}, {"id", id}, {"title", QStringLiteral("项%1").arg(id)}, {"SingleLine", false}};
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        m.insert(it.key(), it.value());
    return m;
}

QVariantList sons(const QStringList &titles)
{
    QVariantList list;
    for (const QString &t : titles)
        list << QVariantMap{{"title", t}, {"choose", false}};
    return list;
}

QVariantList areaTree()
{
    return {QVariantMap{{"title", "蜀山区"}, {"choose", false}, {"sons", sons({"南七", "三里庵"})}},
            QVariantMap{{"title", "包河区"}, {"choose", false}, {"sons", sons({"滨湖"})}}};
}

QVariantMap community(int id, const QString &name, const QString &lasttime, const QString &school = QString())
{
    return {{"id", id},         {"companyid", 9001}, {"name", name},       {"pinyin", ""},
            {"othrename", ""},  {"cityid", 340100},  {"lasttime", lasttime}, {"primaryschool", school}};
}

void seedCommunities()
{
    CommunityMessage_DataSqlTable table(nullptr, true);
    QCOMPARE(table.insertOrReplaceCommunities({community(1, "阳光花园", "2024/03/01 10:00:00", "一小"),
                                               community(2, "阳光花园二期", "2024/03/02 10:00:00", "二小"),
                                               community(3, "翡翠湖畔", "2024/03/03 10:00:00"),
                                               community(4, "50%苑", "2024/03/04 10:00:00"),
                                               community(5, "O'Brien公寓", "2024/03/05 10:00:00")}),
             5);
}

template <typename T>
T *itemOf(HouseSearchView &view, int id)
{
    auto *item = qobject_cast<T *>(view.getItemWidget(id));
    if (!item)
        qWarning() << "no item" << id << "of the expected kind";
    return item;
}

template <typename T>
T *childOf(QWidget *parent, const char *name)
{
    T *child = parent ? parent->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!child)
        qWarning() << "no child" << name;
    return child;
}

// Chinese text arrives from the input method as one committed string.
void typeByInputMethod(QWidget *widget, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

QList<int> idsOf(const QList<HouseSearchItem *> &items)
{
    QList<int> ids;
    for (const HouseSearchItem *item : items)
        ids << item->itemId();
    return ids;
}

// The company's state classes and the chosen search fields, as the settings download stores them.
void storeSettings(const QJsonArray &saleSearch, const QJsonArray &rentSearch)
{
    const QJsonArray saleStates{QJsonObject{{"title", "急售"}, {"lable", "A"}}, QJsonObject{{"title", "在售"}, {"lable", "B"}},
                                QJsonObject{{"title", "满五"}, {"lable", "C"}}, QJsonObject{{"title", "新上"}, {"lable", "D"}}};
    const QJsonArray rentStates{QJsonObject{{"title", "急租"}, {"lable", "A"}}, QJsonObject{{"title", "在租"}, {"lable", "B"}}};
    HouseBookSet_SqlTable settings(nullptr, true);
    QVERIFY(settings.storeHouseBookSet(QJsonObject{{"chushoustate", saleStates},
                                                   {"chuzustate", rentStates},
                                                   {"mysalesearch", saleSearch},
                                                   {"myrentsearch", rentSearch}}));
}

QJsonObject chosenField(int id, const QString &title)
{
    return {{"id", id}, {"choose", true}, {"title", title}};
}

QString compactJson(const QJsonValue &value)
{
    return value.isArray() ? QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact))
                           : QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
}

} // namespace

class TestSearchView : public QObject
{
    Q_OBJECT
private slots:
    void builtFromConfiguredItems_data();
    void builtFromConfiguredItems();
    void configuredChoicesDecideTheItems();
    void kindGivesConditionKey_data();
    void kindGivesConditionKey();
    void userInputReportsValues();
    void rangeSplitting_data();
    void rangeSplitting();
    void sameIdKeepsOneValue();
    void clearDataEmptiesEverything();
    void setValueById_data();
    void setValueById();
    void layoutRules();
    void recreatingReplacesItems();
    void communitySuggestions();
    void staleCommunityAnswerIsDropped();
    void hostileText_data();
    void hostileText();
    void hostileCommunityLookup_data();
    void hostileCommunityLookup();
};

void TestSearchView::builtFromConfiguredItems_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("sale") << int(HouseBookSet_SqlTable::SaleBook);
    QTest::newRow("rent") << int(HouseBookSet_SqlTable::RentBook);
}

// A fresh settings row: one item per chosen field, in the configured order, each of its kind.
void TestSearchView::builtFromConfiguredItems()
{
    QFETCH(int, kind);
    HostFixture host;
    HouseSearchView view;
    view.setItemsFromSettings(kind);

    QList<int> expected;
    HouseBookSet_SqlTable settings(nullptr, true);
    for (const QVariantMap &f : settings.searchItems(kind)) {
        if (f.value("choose").toBool())
            expected << f.value("id").toInt();
    }
    QVERIFY(expected.size() > 10);
    QCOMPARE(idsOf(view.items()), expected);
    QVERIFY(!view.hasItem(9)); // 朝向 is not chosen by default

    const QList<QPair<int, const char *>> kinds{{1, "HouseSearch_SixWidget"},  {83, "HouseSearch_SevenWidget"},
                                                {3, "HouseSearch_SecondWidget"}, {4, "HouseSearch_ZeroWidget"},
                                                {6, "HouseSearch_FirstWidget"}, {7, "HouseSearch_EightWidget"},
                                                {25, "HouseSearch_FourWidget"}, {28, "HouseSearch_FifthWidget"}};
    for (const auto &k : kinds) {
        QVERIFY2(view.getItemWidget(k.first), qPrintable(QString::number(k.first)));
        QCOMPARE(view.getItemWidget(k.first)->metaObject()->className(), k.second);
    }
    QCOMPARE(view.getItemWidget(9), nullptr);
}

// The user's own choice list: states and people fields appear, an unchosen field does not.
void TestSearchView::configuredChoicesDecideTheItems()
{
    HostFixture host;
    QJsonObject hidden = chosenField(1, "小区");
    hidden.insert("choose", false);
    storeSettings({chosenField(20, "状态"), chosenField(86, "录入人"), hidden, chosenField(23, "关键字")},
                  {chosenField(37, "状态")});
    HouseSearchView view;
    view.setItemsFromSettings(HouseBookSet_SqlTable::SaleBook);
    QCOMPARE(idsOf(view.items()), QList<int>({20, 86, 23}));
    auto *states = itemOf<HouseSearch_SevenWidget>(view, 20);
    QVERIFY(states);
    auto *model = qobject_cast<QStandardItemModel *>(childOf<QComboBox>(states, "comboBox")->model());
    QStringList titles;
    for (int row = 1; row < model->rowCount(); ++row)
        titles << model->item(row)->data(Qt::UserRole).toString();
    QCOMPARE(titles, QStringList({"急售", "在售", "满五", "新上", "无效", "已售", "成交", "已定", "电话无效", "暂不售"}));
    QVERIFY(itemOf<HouseSearch_ChooseDeptmentMessageWidget>(view, 86));

    view.setItemsFromSettings(HouseBookSet_SqlTable::RentBook);
    QCOMPARE(idsOf(view.items()), QList<int>({37}));
}

void TestSearchView::kindGivesConditionKey_data()
{
    QTest::addColumn<QVariantMap>("description");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariantMap>("expected");

    const QVariantMap none;
    QTest::newRow("0 keyword") << field(0, 23) << "待处理" << QVariantMap{{"keyWord", "待处理"}};
    QTest::newRow("0 number") << field(0, 4) << "1024" << QVariantMap{{"id", "1024"}};
    QTest::newRow("0 phone") << field(0, 5) << "138" << QVariantMap{{"tel", "138"}};
    QTest::newRow("1 choice") << field(1, 10, {{"placeholder", "钥匙,有钥匙,无钥匙"}}) << "无钥匙"
                              << QVariantMap{{"keys", "无钥匙"}};
    QTest::newRow("1 caption is empty") << field(1, 21, {{"placeholder", "权限,公司公盘"}}) << ""
                                        << QVariantMap{{"quanXian", ""}};
    QTest::newRow("1 unknown option kept") << field(1, 8, {{"placeholder", "装修,精装"}}) << "毛坯"
                                           << QVariantMap{{"renovation", "毛坯"}};
    QTest::newRow("2 building unit room") << field(2, 3) << "1,2,301"
                                          << QVariantMap{{"buildingNo", "1"}, {"unitNo", "2"}, {"roomNo", "301"}};
    QTest::newRow("2 building only") << field(2, 3) << "5"
                                     << QVariantMap{{"buildingNo", "5"}, {"unitNo", ""}, {"roomNo", ""}};
    QTest::newRow("3 two texts on a range") << field(3, 36, {{"placeholder", "最低,最高"}}) << "1000,3000"
                                            << QVariantMap{{"yueZu_up", "1000"}, {"yueZu_down", "3000"}};
    QTest::newRow("4 number range") << field(4, 26) << "100,200"
                                    << QVariantMap{{"price_up", "100"}, {"price_down", "200"}};
    QTest::newRow("5 date range") << field(5, 28) << "2024/01/01,2024/02/01"
                                  << QVariantMap{{"publishTime_up", "2024/01/01"}, {"publishTime_down", "2024/02/01"}};
    QTest::newRow("6 community") << field(6, 1, {{"placeholder", "小区,0"}}) << "阳光花园"
                                 << QVariantMap{{"name", "阳光花园"}};
    QTest::newRow("7 states") << field(7, 20, {{"sons", sons({"急售", "在售", "无效"})}}) << "急售,无效"
                              << QVariantMap{{"state", "急售,无效"}};
    QTest::newRow("7 unknown state added") << field(7, 37, {{"sons", sons({"无效"})}}) << "甲,无效"
                                           << QVariantMap{{"state", "无效,甲"}};
    QTest::newRow("7 placeholder options") << field(7, 76, {{"placeholder", "已协作状态,已录入,已维护"}}) << "已维护"
                                           << QVariantMap{{"xiezuo", "已维护"}};
    QTest::newRow("7 districts") << field(7, 2, {{"sons", sons({"蜀山区", "包河区"})}}) << "包河区"
                                 << QVariantMap{{"district", "包河区"}};
    const QString tree = compactJson(QJsonArray{
        QJsonObject{{"title", "蜀山区"}, {"choose", true}, {"sons", QJsonArray{}}},
        QJsonObject{{"title", "包河区"}, {"choose", false}, {"sons", QJsonArray{QJsonObject{{"title", "滨湖"}, {"choose", true}}}}}});
    QTest::newRow("7 district and area tree") << field(7, 83, {{"sons", areaTree()}}) << tree
                                              << QVariantMap{{"district", "蜀山区"}, {"area", "滨湖"}};
    QTest::newRow("9 layout") << field(9, 7) << "3,2,1" << QVariantMap{{"room", "3"}, {"hall", "2"}, {"huxingwei", "1"}};
    const QVariantList steps{QVariantMap{{"title", "签约"}, {"stepinfo", 1}, {"sons", sons({"未完成", "已完成"})}}};
    QTest::newRow("10 contract step") << field(10, 82, {{"sons", steps}}) << "{\"name\":\"签约\",\"state\":\"已完成\"}"
                                      << QVariantMap{{"contrctStepJson", "{\"name\":\"签约\",\"state\":\"已完成\",\"stepinfo\":1}"}};
    QTest::newRow("11 staff phones") << field(11, 92) << "13800000002, 13800000003"
                                     << QVariantMap{{"xiezuo_weihu", "[{\"nodeType\":\"staff\",\"phone\":\"13800000002\"},"
                                                                     "{\"nodeType\":\"staff\",\"phone\":\"13800000003\"}]"}};
    QTest::newRow("12 single date on a range id") << field(12, 30) << "2024/03/05"
                                                  << QVariantMap{{"followTime_up", "2024/03/05"}};
    QTest::newRow("13 schools and communities") << field(13, 34) << "{\"schools\":[\"一小\"],\"coms\":[\"阳光花园\"]}"
                                                 << QVariantMap{{"school", "{\"coms\":[\"阳光花园\"],\"schools\":[\"一小\"]}"}};
    QTest::newRow("unknown id gives no key") << field(0, 99) << "x" << none;
}

// Each kind, given a value by id, shows it and reports it under its id's key(s).
void TestSearchView::kindGivesConditionKey()
{
    QFETCH(QVariantMap, description);
    QFETCH(QString, value);
    QFETCH(QVariantMap, expected);
    HostFixture host;
    HouseSearchView view;
    view.setItems({description});
    const int id = description.value("id").toInt();
    QVERIFY(view.setItemValue(id, value));

    QSignalSpy spy(&view, &HouseSearchView::searchParam);
    view.searchClick();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toMap(), expected);
    const auto list = spy.at(0).at(1).value<QList<QVariantMap>>();
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.first().value("id").toInt(), id);
    // The widget shows what it reported.
    QCOMPARE(list.first().value("content").toString(), static_cast<HouseSearchItem *>(view.getItemWidget(id))->value());
}

// What the agent does in each widget reaches the collected values.
void TestSearchView::userInputReportsValues()
{
    HostFixture host;
    HouseSearchView view(host.mainWindow());
    view.setItems({field(0, 23), field(1, 10, {{"placeholder", "钥匙,有钥匙,无钥匙"}}), field(2, 3), field(4, 25),
                   field(5, 28), field(7, 20, {{"sons", sons({"急售", "在售"})}}), field(9, 7), field(11, 86),
                   field(12, 30), field(13, 34)});
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(host.mainWindow()));
    QSignalSpy spy(&view, &HouseSearchView::searchParam);

    QTest::keyClicks(childOf<QLineEdit>(view.getItemWidget(23), "lineTextEdit"), "key a");
    QTest::keyClick(childOf<QComboBox>(view.getItemWidget(10), "comboBox"), Qt::Key_Down);
    QWidget *building = view.getItemWidget(3);
    QTest::keyClicks(childOf<QLineEdit>(building, "firstLineEdit"), "1");
    QTest::keyClicks(childOf<QLineEdit>(building, "secondLineEdit"), ","); // a part cannot hold the separator
    QTest::keyClicks(childOf<QLineEdit>(building, "thirdLineEdit"), "301");
    QTest::keyClicks(childOf<QLineEdit>(view.getItemWidget(25), "secondLineEdit"), "80");
    QTest::keyClicks(childOf<QLineEdit>(view.getItemWidget(7), "lineEdit_hall"), "2");
    QTest::keyClicks(childOf<QLineEdit>(view.getItemWidget(86), "down_search"), "13800000002");

    auto *dates = view.getItemWidget(28);
    childOf<QPushButton>(dates, "pushButton_endDate")->click();
    auto *calendar = childOf<QCalendarWidget>(dates, "calendarWidget");
    QVERIFY(calendar->isVisible());
    emit calendar->clicked(QDate(2024, 2, 9));
    QVERIFY(!calendar->isVisible());
    QCOMPARE(childOf<QPushButton>(dates, "pushButton_endDate")->text(), QStringLiteral("2024/02/09"));
    QCOMPARE(childOf<QPushButton>(dates, "pushButton_startDate")->text(), QStringLiteral("请选择"));
    childOf<QPushButton>(view.getItemWidget(30), "pushButton_date")->click();
    emit childOf<QCalendarWidget>(view.getItemWidget(30), "calendarWidget")->clicked(QDate(2023, 12, 1));

    auto *states = childOf<QComboBox>(view.getItemWidget(20), "comboBox");
    qobject_cast<QStandardItemModel *>(states->model())->item(2)->setCheckState(Qt::Checked);
    QCOMPARE(states->currentText(), QStringLiteral("在售"));

    auto *schools = itemOf<HouseSearch_ChooseMoreSchoolWidget>(view, 34);
    schools->chooser()->setChosen({"一小", "二小"}, {"阳光花园"});
    schools->chooser()->submitData();
    QCOMPARE(childOf<QLabel>(schools, "chosenLabel")->text(), QStringLiteral("学区：一小、二小；小区：阳光花园"));

    QTest::keyClick(childOf<QLineEdit>(view.getItemWidget(23), "lineTextEdit"), Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    const QVariantMap expected{
        {"keyWord", "key a"}, {"keys", "有钥匙"}, {"buildingNo", "1"}, {"unitNo", ""}, {"roomNo", "301"},
        {"size_up", ""}, {"size_down", "80"}, {"room", ""}, {"hall", "2"}, {"huxingwei", ""},
        {"lurupeople", "[{\"nodeType\":\"staff\",\"phone\":\"13800000002\"}]"},
        {"publishTime_up", ""}, {"publishTime_down", "2024/02/09"}, {"followTime_up", "2023/12/01"},
        {"state", "在售"}, {"school", "{\"coms\":[\"阳光花园\"],\"schools\":[\"一小\",\"二小\"]}"}};
    QCOMPARE(spy.at(0).at(0).toMap(), expected);
}

void TestSearchView::rangeSplitting_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QVariantMap>("expected");
    QTest::newRow("both") << 25 << "100,200" << QVariantMap{{"size_up", "100"}, {"size_down", "200"}};
    QTest::newRow("low only, no comma") << 26 << "100" << QVariantMap{{"price_up", "100"}};
    QTest::newRow("low only, comma") << 26 << "100," << QVariantMap{{"price_up", "100"}, {"price_down", ""}};
    QTest::newRow("high only") << 27 << ",80" << QVariantMap{{"floor_up", ""}, {"floor_down", "80"}};
    QTest::newRow("reversed passed on as given") << 35 << "200,100"
                                                 << QVariantMap{{"unitPrice_up", "200"}, {"unitPrice_down", "100"}};
    QTest::newRow("dash is no separator") << 36 << "100-200" << QVariantMap{{"yueZu_up", "100-200"}};
    QTest::newRow("not numbers") << 25 << "abc,十" << QVariantMap{{"size_up", "abc"}, {"size_down", "十"}};
    QTest::newRow("third part ignored") << 25 << "1,2,3" << QVariantMap{{"size_up", "1"}, {"size_down", "2"}};
    QTest::newRow("empty") << 29 << "" << QVariantMap{{"updataTime_up", ""}};
    QTest::newRow("dates") << 29 << "2024/1/2,2024/3/4"
                           << QVariantMap{{"updataTime_up", "2024/1/2"}, {"updataTime_down", "2024/3/4"}};
    QTest::newRow("other book's range") << 46 << ",2024/01/01"
                                        << QVariantMap{{"signingDate_up", ""}, {"signingDate_down", "2024/01/01"}};
}

// A range value splits at "," keeping empty parts; nothing is reordered or checked here.
void TestSearchView::rangeSplitting()
{
    QFETCH(int, id);
    QFETCH(QString, content);
    QFETCH(QVariantMap, expected);
    HouseSearchView view;
    view.changValue(id, content);
    QCOMPARE(view.conditionMap(), expected);
}

// Two items with one id keep one value, the last entered; a kind-8 item creates nothing.
void TestSearchView::sameIdKeepsOneValue()
{
    HostFixture host;
    HouseSearchView view;
    view.setItems({field(0, 23), field(8, 5), field(0, 23), field(0, 4)});
    QCOMPARE(view.items().size(), 3);
    QVERIFY(!view.hasItem(5));
    QVERIFY(!view.setItemValue(5, "x"));
    QTest::keyClicks(view.items().at(0)->findChild<QLineEdit *>("lineTextEdit"), "a");
    QTest::keyClicks(view.items().at(2)->findChild<QLineEdit *>("lineTextEdit"), "7");
    QTest::keyClicks(view.items().at(1)->findChild<QLineEdit *>("lineTextEdit"), "b");
    const QList<QVariantMap> expected{{{"id", 23}, {"content", "b"}}, {{"id", 4}, {"content", "7"}}};
    QCOMPARE(view.collectedValues(), expected);
    QCOMPARE(view.conditionMap(), QVariantMap({{"keyWord", "b"}, {"id", "7"}}));
    // Setting the value by id shows it in both.
    QVERIFY(view.setItemValue(23, "待审核"));
    QCOMPARE(view.items().at(1)->value(), QStringLiteral("待审核"));
    QCOMPARE(view.items().at(0)->value(), QStringLiteral("待审核"));
    QCOMPARE(view.collectedValues().size(), 2);
}

// Every kind goes back to empty, the collected values go, and a search then has no conditions.
void TestSearchView::clearDataEmptiesEverything()
{
    HostFixture host;
    HouseSearchView view;
    const QList<QVariantMap> items{field(0, 23), field(1, 10, {{"placeholder", "钥匙,有钥匙"}}), field(2, 3), field(4, 25),
                                   field(5, 28), field(6, 1), field(7, 83, {{"sons", areaTree()}}), field(9, 7),
                                   field(10, 82, {{"sons", QVariantList{QVariantMap{{"title", "签约"}}}}}), field(11, 86),
                                   field(12, 30), field(13, 34)};
    view.setItems(items);
    const QStringList values{"a", "有钥匙", "1,2,3", "1,2", "2024/01/01,2024/01/02", "阳光", "南七,蜀山区", "1,1,1",
                             "{\"name\":\"签约\"}", "138", "2024/01/01", "{\"schools\":[\"一小\"]}"};
    for (int i = 0; i < items.size(); ++i) {
        QVERIFY(view.setItemValue(items.at(i).value("id").toInt(), values.at(i)));
        QVERIFY2(!view.items().at(i)->value().remove(',').isEmpty(), qPrintable(values.at(i)));
    }
    QCOMPARE(view.collectedValues().size(), items.size());

    QSignalSpy spy(&view, &HouseSearchView::searchParam);
    childOf<QPushButton>(&view, "clearButton")->click();
    QVERIFY(view.collectedValues().isEmpty());
    for (HouseSearchItem *item : view.items())
        QVERIFY2(item->value().remove(',').isEmpty(), item->metaObject()->className());
    QCOMPARE(childOf<QPushButton>(view.getItemWidget(28), "pushButton_startDate")->text(), QStringLiteral("请选择"));
    QCOMPARE(childOf<QPushButton>(view.getItemWidget(30), "pushButton_date")->text(), QStringLiteral("请选择"));
    QCOMPARE(childOf<QComboBox>(view.getItemWidget(83), "comboBox")->currentText(), QStringLiteral("项83"));
    QVERIFY(childOf<QLabel>(view.getItemWidget(34), "chosenLabel")->text().isEmpty());
    childOf<QPushButton>(&view, "searchButton")->click();
    QCOMPARE(spy.count(), 1);
    QVERIFY(spy.at(0).at(0).toMap().isEmpty());
    QVERIFY(spy.at(0).at(1).value<QList<QVariantMap>>().isEmpty());
}

void TestSearchView::setValueById_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("sale states") << int(HouseBookSet_SqlTable::SaleBook) << 20 << "急售,在售,满五,新上" << "state";
    QTest::newRow("rent states") << int(HouseBookSet_SqlTable::RentBook) << 37 << "急租,在租" << "state";
    QTest::newRow("worklist keyword") << int(HouseBookSet_SqlTable::SaleBook) << 23 << "待处理" << "keyWord";
    QTest::newRow("review keyword") << int(HouseBookSet_SqlTable::RentBook) << 23 << "待审核房源" << "keyWord";
}

// What the list page does with the status and keyword items of the configured bar.
void TestSearchView::setValueById()
{
    QFETCH(int, kind);
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QString, key);
    HostFixture host;
    storeSettings({chosenField(1, "小区"), chosenField(20, "状态"), chosenField(23, "关键字")},
                  {chosenField(37, "状态"), chosenField(23, "关键字")});
    HouseSearchView view;
    view.setItemsFromSettings(kind);
    QVERIFY(view.hasItem(id));
    QVERIFY(view.setItemValue(id, text));
    auto *item = static_cast<HouseSearchItem *>(view.getItemWidget(id));
    if (auto *states = qobject_cast<HouseSearch_SevenWidget *>(item)) {
        QCOMPARE(states->chosenTitles(), text.split(','));
        QCOMPARE(childOf<QComboBox>(states, "comboBox")->currentText(), text);
    } else {
        QCOMPARE(childOf<QLineEdit>(item, "lineTextEdit")->text(), text);
    }
    QSignalSpy spy(&view, &HouseSearchView::searchParam);
    view.searchClick();
    QCOMPARE(spy.at(0).at(0).toMap(), QVariantMap({{key, text}}));

    // An id the bar does not have changes nothing.
    QVERIFY(!view.setItemValue(99, "x"));
    QCOMPARE(view.collectedValues().size(), 1);
}

// Single-line items sit in the top line just before the two buttons; the others fill a grid
// of two rows column by column.
void TestSearchView::layoutRules()
{
    HostFixture host;
    HouseSearchView view;
    view.setItemsFromSettings(HouseBookSet_SqlTable::SaleBook);
    auto *top = view.findChild<QHBoxLayout *>("topLineLayout");
    auto *grid = view.findChild<QGridLayout *>("gridLayout");
    QVERIFY(top && grid);

    QList<int> singles;
    int n = 0;
    for (HouseSearchItem *item : view.items()) {
        if (item->isSingleLine()) {
            QCOMPARE(top->indexOf(item), singles.size());
            QCOMPARE(top->stretch(singles.size()), 1);
            singles << item->itemId();
            continue;
        }
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(item), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, n % 2);
        QCOMPARE(column, n / 2);
        QCOMPARE(grid->columnStretch(column), 4);
        ++n;
    }
    QCOMPARE(singles, QList<int>({25, 26, 27, 28}));
    QVERIFY(n >= 4);
    QCOMPARE(top->count(), singles.size() + 3); // the buttons and the empty rest of the line
    QCOMPARE(top->itemAt(singles.size())->widget(), view.findChild<QPushButton *>("searchButton"));
    QCOMPARE(top->itemAt(singles.size() + 1)->widget(), view.findChild<QPushButton *>("clearButton"));
    int row = -1, column = -1, span = 0;
    grid->getItemPosition(grid->indexOf(view.getItemWidget(83)), &row, &column, &span, &span);
    QCOMPARE(row, 1);
    QCOMPARE(column, 0);
}

// Re-creating removes the old items, their values and their grid columns.
void TestSearchView::recreatingReplacesItems()
{
    HostFixture host;
    HouseSearchView view;
    view.setItems({field(0, 1), field(0, 2), field(0, 3), field(0, 4), field(0, 5), field(4, 25, {{"SingleLine", true}})});
    view.setItemValue(1, "x");
    QSignalSpy again(&view, &HouseSearchView::againSet);
    QSignalSpy filled(&view, &HouseSearchView::backFillContent);
    view.setItems({field(0, 23, {{"content", "待处理"}}), field(0, 4)});
    QCOMPARE(again.count(), 1);
    QCOMPARE(filled.count(), 1);
    QCOMPARE(view.findChildren<HouseSearchItem *>().size(), 2);
    QCOMPARE(view.findChild<QHBoxLayout *>("topLineLayout")->count(), 3);
    auto *grid = view.findChild<QGridLayout *>("gridLayout");
    QCOMPARE(grid->columnStretch(0), 4);
    QCOMPARE(grid->columnStretch(1), 0);
    QCOMPARE(grid->columnStretch(2), 0);
    // Only the description's content is left.
    QCOMPARE(view.conditionMap(), QVariantMap({{"keyWord", "待处理"}}));
    QCOMPARE(childOf<QLineEdit>(view.getItemWidget(23), "lineTextEdit")->text(), QStringLiteral("待处理"));
}

// Typing looks the names up in the local community table through the worker; picking one
// adds its id to the conditions, typing on drops it again.
void TestSearchView::communitySuggestions()
{
    HostFixture host;
    seedCommunities();
    HouseSearchView view;
    view.setItems({field(6, 1, {{"placeholder", "小区,0"}})});
    auto *six = itemOf<HouseSearch_SixWidget>(view, 1);
    auto *edit = childOf<QLineEdit>(six, "houseName");
    QCOMPARE(edit->placeholderText(), QStringLiteral("小区"));

    typeByInputMethod(edit, "阳光");
    QTRY_COMPARE(six->suggestions(), QStringList({"阳光花园二期", "阳光花园"}));
    QCOMPARE(view.conditionMap(), QVariantMap({{"name", "阳光"}}));

    six->chooseCommunity(1);
    QCOMPARE(edit->text(), QStringLiteral("阳光花园"));
    QCOMPARE(view.conditionMap(), QVariantMap({{"name", "阳光花园"}, {"xiaoid", "1"}}));
    QTest::keyClicks(edit, "x");
    QCOMPARE(view.conditionMap(), QVariantMap({{"name", "阳光花园x"}}));
    QTRY_VERIFY(six->suggestions().isEmpty());

    QTest::keyClick(edit, Qt::Key_Backspace);
    QTRY_COMPARE(six->suggestions(), QStringList({"阳光花园二期", "阳光花园"}));
    // Clearing drops the offer and whatever lookup is still under way.
    six->deal_XiaoQuSearch("翡翠");
    view.clearData();
    QVERIFY(six->suggestions().isEmpty());
    QTRY_VERIFY(six->findChildren<CommunityBookDataObject *>().isEmpty());
    QVERIFY(six->suggestions().isEmpty());
}

// An answer for older text that arrives after the newer one never replaces it.
void TestSearchView::staleCommunityAnswerIsDropped()
{
    HostFixture host;
    seedCommunities();
    std::atomic<int> answered{0};
    CommunityBookThreadObject::setQueryObserver([&answered](CommunityBookThreadObject *worker) {
        if (worker->condition().search.value("keyWord").toString() == QStringLiteral("阳光"))
            QThread::msleep(400);
        ++answered;
    });
    HouseSearchView view;
    view.setItems({field(6, 1)});
    auto *six = itemOf<HouseSearch_SixWidget>(view, 1);
    six->deal_XiaoQuSearch("阳光");
    six->deal_XiaoQuSearch("翡翠");
    QTRY_COMPARE(answered.load(), 2);
    QTRY_VERIFY(six->findChildren<CommunityBookDataObject *>().isEmpty());
    CommunityBookThreadObject::setQueryObserver(nullptr);
    QCOMPARE(six->suggestions(), QStringList({"翡翠湖畔"}));
}

void TestSearchView::hostileText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << "O'Brien\"; drop table house; --";
    QTest::newRow("wildcards") << "50%_<%>";
    QTest::newRow("arg markers") << "%1 %2 %L1";
    QTest::newRow("emoji") << QStringLiteral("🏠阳光😀");
    QTest::newRow("control chars") << "a\tb\nc";
    QTest::newRow("very long") << QString(20000, QChar(0x5b89));
    QTest::newRow("json look-alike") << "[{\"title\":\"x\",\"choose\":true}]";
}

// Hostile text reaches the map as given, through every kind that takes free text.
void TestSearchView::hostileText()
{
    QFETCH(QString, text);
    HostFixture host;
    HouseSearchView view;
    view.setItems({field(0, 23), field(6, 1), field(1, 8, {{"placeholder", "装修,精装"}}), field(12, 30),
                   field(7, 20, {{"sons", sons({"无效"})}}), field(11, 86)});
    for (int id : {23, 1, 8, 30, 20})
        QVERIFY(view.setItemValue(id, text));
    QTest::keyClicks(childOf<QLineEdit>(view.getItemWidget(86), "down_search"), "'%");
    const QVariantMap map = view.conditionMap();
    QCOMPARE(map.value("keyWord").toString(), text);
    QCOMPARE(map.value("name").toString(), text);
    QCOMPARE(map.value("renovation").toString(), text);
    QCOMPARE(map.value("followTime_up").toString(), text.section(',', 0, 0));
    QCOMPARE(map.value("lurupeople").toString(), QStringLiteral("[{\"nodeType\":\"staff\",\"phone\":\"'%\"}]"));
    QVERIFY(map.contains("state"));
}

void TestSearchView::hostileCommunityLookup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("percent is literal") << "50%" << QStringList{"50%苑"};
    QTest::newRow("quote") << "O'B" << QStringList{"O'Brien公寓"};
    QTest::newRow("underscore") << "_" << QStringList();
    QTest::newRow("statement") << "'; delete from community; --" << QStringList();
    QTest::newRow("emoji") << QStringLiteral("😀") << QStringList();
    QTest::newRow("very long") << QString(5000, 'x') << QStringList();
}

// The lookup passes hostile text on as text: it finds what it literally says, and the table
// survives it.
void TestSearchView::hostileCommunityLookup()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    HostFixture host;
    seedCommunities();
    HouseSearchView view;
    view.setItems({field(6, 1)});
    auto *six = itemOf<HouseSearch_SixWidget>(view, 1);
    six->deal_XiaoQuSearch(text);
    QTRY_VERIFY(six->findChildren<CommunityBookDataObject *>().isEmpty());
    QCOMPARE(six->suggestions(), expected);
    six->deal_XiaoQuSearch("阳光花园二");
    QTRY_COMPARE(six->suggestions(), QStringList({"阳光花园二期"}));
}

QTEST_MAIN(TestSearchView)
#include "tst_searchview.moc"
