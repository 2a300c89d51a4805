// The local listing store: stored form, records, every book kind and search condition
// against a seeded table, hostile condition texts, paging, rights, the privacy mask, sync
// marks and transactions, updates, the maintainer worklist and the alliance's own file.
#include "datacenter.h"
#include "hostfixture.h"
#include "listing.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/housequerybuilder.h"
#include "sql/housepermission.h"
#include "sql/houserecord.h"
#include "sql/textscramble.h"
#include "sql/usermessage_datasqltable.h"

#include <QJsonDocument>
#include <QSqlDatabase>
#include <QtTest>

#include <algorithm>

using Data = HouseMessage_DataSqlTable::HouseMessageData;

namespace {

const QString kMe = QStringLiteral("13800000001");
const QString kOther = QStringLiteral("13900000009");

// Exposes the protected helpers so tests can look at the stored form.
class StoreProbe : public HouseMessage_DataSqlTable
{
public:
    explicit StoreProbe(bool jointSale = false) : HouseMessage_DataSqlTable(nullptr, jointSale) {}
    using BaseSqlObject::database;
    using BaseSqlObject::exec;
    using BaseSqlObject::selectRows;
};

QVariantMap person(const QString &name, const QString &phone, bool review)
{
    return Listing::person(name, phone, review);
}

// A sale listing on the shelf, owned by someone else, described in every field a search reads.
QVariantMap listing(int id, const QVariantMap &changes = QVariantMap())
{
    return Listing(id)
        .unit("1", "1", "101")
        .district("蜀山区", "南七")
        .floors(5, 18)
        .price(100)
        .unitPrice(10000)
        .area(100)
        .with({{"room", 2},           {"hall", 1},           {"huxingwei", 1},          {"contacts", QVariantList{"王先生", "13911110000"}},
               {"renovation", "精装"}, {"property", "有"},    {"propertyquan", "70年"},  {"housetype", "住宅"},
               {"toward", "南"},      {"tags", "满五唯一"},   {"peitao", "电梯"},        {"traffic", "地铁"},
               {"seetime", "随时"},   {"ruzhutime", "随时"},  {"source", "上门"},        {"payway", "一次性付款"}})
        .with(changes);
}

QList<int> idsOf(const QList<Data> &records)
{
    QList<int> ids;
    for (const Data &d : records)
        ids << d.id;
    return ids;
}

QList<int> sortedIds(const QList<Data> &records)
{
    QList<int> ids = idsOf(records);
    std::sort(ids.begin(), ids.end());
    return ids;
}

HouseQuery queryOf(int mode, const QVariantMap &conditions = QVariantMap())
{
    HouseQuery q;
    q.mode = mode;
    q.conditions = conditions;
    q.pageSize = 100;
    return q;
}

void store(const QList<QVariantMap> &records)
{
    HouseMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(table.insertOrReplaceHouses(records, false), records.size());
}

void storeCommunities(const QList<QVariantMap> &records)
{
    CommunityMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(table.insertOrReplaceCommunities(records, false), records.size());
}

QVariantMap community(int id, const QString &name, const QString &pinyin = QString())
{
    return {{"id", id}, {"name", name}, {"pinyin", pinyin}, {"cityid", 340100}, {"companyid", 1001}};
}

QVariantMap right(int id, int range = 1, const QVariantList &bumens = {}, const QStringList &sons = {})
{
    return {{"id", id}, {"selected", true}, {"range", range}, {"bumens", bumens}, {"count", 0}, {"sons", sons}};
}

// An agent with the rights as the server sends them: own department 11 under 10, beside 12.
TestUser agentWith(const QVariantList &rights)
{
    return TestUser()
        .ownDepartment(11, "一部")
        .departmentTree({TestUser::department(10, {TestUser::department(11), TestUser::department(12)})})
        .rights(rights);
}

// The seed of the search tests: each listing differs from the first in what it is found by.
QList<QVariantMap> searchSeed()
{
    return {
        listing(1),
        listing(2, {{"buildingNo", "3'A"}, {"unitNo", "2"}, {"roomNo", "302"}, {"name", "翡翠湖畔"},
                    {"mycommunityid", 200}, {"district", "包河区"}, {"area", "滨湖"}, {"price", 250},
                    {"unitprice", 25000}, {"builtuparea", 60}, {"floors", 12}, {"room", 3}, {"hall", 2},
                    {"huxingwei", 2}, {"renovation", "简装"}, {"toward", "南北"}, {"tags", "学区房,满二"},
                    {"peitao", "电梯,暖气"}, {"traffic", "公交"}, {"havekeys", 1}, {"photo", "a.jpg"},
                    {"follows", "客户看过"}, {"followtime", "2024/03/02 09:00"}, {"primaryschool", "一小"},
                    {"createtime", "2024/03/05 23:30:00"}, {"lasttime", "2024/03/06 08:00:00"},
                    {"contacts", QVariantList{"李女士", "13800138000", "0551-1234567"}}, {"newstate", "急售"},
                    {"housetype", "商铺"}, {"propertyquan", "40年"}, {"property", "无"}, {"seetime", "预约"},
                    {"source", "网络"}, {"payway", "贷款"}, {"havegarage", 1}}),
        listing(3, {{"types", 1}, {"rentway", "整租"}, {"ruzhutime", "一周内"}, {"price", 3000}}),
        listing(4, {{"sf", 1}, {"stype", 1}}),
        listing(5, {{"housestatus", 0}}),
        listing(6, {{"fengpan", 1}, {"suopan", 1}, {"hbdujia", 1}, {"havevideo", 1}, {"anxuan", 1},
                    {"vrurl", "http://vr"}, {"quanjing", "q"}, {"aboutid", 9}, {"shenhestatus", 1},
                    {"yaoshiren", person("钱七", "13711112222", true)}}),
        listing(7, {{"lururen", person("我", kMe, true)}, {"weihuren", person("赵六", "13700000000", false)}}),
        listing(8, {{"userphone", "13600000000"}, {"deptid", 22}, {"fbcompanyid", 2002},
                    {"createtime", "2024/03/06 00:00:00"}}),
        listing(9, {{"isdel", 1}}),
        listing(10, {{"cityid", 999}}),
        listing(11, {{"companyid", 5555}}),
        listing(12, {{"companyid", 0}}),
        listing(13, {{"realuserphone", "13500000000"}, {"phonerange", ""}}),
        listing(14, {{"realuserphone", "13500000000"}, {"phonerange", kMe}}),
    };
}

const QList<int> kVisibleSale{1, 2, 4, 5, 6, 7, 8, 12, 14};

QList<int> visibleSaleBut(const QList<int> &excluded)
{
    QList<int> ids;
    for (int id : kVisibleSale) {
        if (!excluded.contains(id))
            ids << id;
    }
    return ids;
}

void addSearchColumns()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QVariantMap>("conditions");
    QTest::addColumn<QVariantMap>("filters");
    QTest::addColumn<QList<int>>("expected");
}

// A row of the search tables, in mode 5 unless given.
void searchRow(const char *name, const QVariantMap &conditions, const QList<int> &expected, int mode = 5)
{
    QTest::newRow(name) << mode << conditions << QVariantMap() << expected;
}

void filterRow(const char *name, const QVariantMap &filters, const QList<int> &expected)
{
    QTest::newRow(name) << 5 << QVariantMap() << filters << expected;
}

// Seeds the search table and checks the current row's listings and count.
void checkSearch()
{
    QFETCH(int, mode);
    QFETCH(QVariantMap, conditions);
    QFETCH(QVariantMap, filters);
    QFETCH(QList<int>, expected);
    HostFixture host;
    host.signInAs(TestUser().manager());
    storeCommunities({community(100, "阳光花园", "yangguanghuayuan"), community(200, "翡翠湖畔", "feicuihupan")});
    store(searchSeed());
    HouseQuery q = queryOf(mode, conditions);
    q.columnFilters = filters;
    HouseMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(sortedIds(table.getHouseList(q)), expected);
    QCOMPARE(table.getHouseCount(q), expected.size());
}

// "b" building/unit/room blanked, "f" floors blanked, "c" contacts blanked, "-" nothing.
QString maskOf(const Data &d)
{
    QString s;
    if (d.buildingNo.isEmpty() && d.roomNo.isEmpty() && d.unitNo.isEmpty())
        s += QLatin1Char('b');
    if (d.floors == 0 && d.allfloors == 0)
        s += QLatin1Char('f');
    if (d.contacts.isEmpty())
        s += QLatin1Char('c');
    return s.isEmpty() ? QStringLiteral("-") : s;
}

} // namespace

class TestHouseStore : public QObject
{
    Q_OBJECT
private slots:
    void schemaAndIndexes();
    void storedFormIsScrambled();
    void recordsFromMaps();
    void replenishIsMerged();
    void bookKinds_data();
    void bookKinds();
    void textAndNumberConditions_data();
    void textAndNumberConditions();
    void rangeAndChoiceConditions_data();
    void rangeAndChoiceConditions();
    void peopleAndCommunityConditions_data();
    void peopleAndCommunityConditions();
    void keywordWords_data();
    void keywordWords();
    void columnFilters_data();
    void columnFilters();
    void hostileTextsFindNothingWrongly_data();
    void hostileTextsFindNothingWrongly();
    void pinnedFirstAndPaging();
    void permissionClauses_data();
    void permissionClauses();
    void rightsArrivingWidenTheView_data();
    void rightsArrivingWidenTheView();
    void privacyMask_data();
    void privacyMask();
    void rightTestMatchesUserStore();
    void timeMarksMoveForwardOnlyOnSuccess();
    void pageJoinsCallersTransaction();
    void updatesAndDeletes();
    void readAndLikedLists();
    void maintainerWorklist();
    void jointSaleBookIsSeparate();
    void noUserNoRows();
};

void TestHouseStore::schemaAndIndexes()
{
    HostFixture host;
    StoreProbe probe;
    const QList<QVariantMap> columns = probe.getTableColumns(QStringLiteral("house"), BaseSqlObject::CompanyDB);
    QCOMPARE(columns.size(), 97);
    QCOMPARE(columns.first().value("key").toString(), QStringLiteral("id"));
    QCOMPARE(columns.last().value("key").toString(), QStringLiteral("isdel"));
    QVERIFY(HouseMessage_DataSqlTable::createSql().startsWith(QStringLiteral("create table house(id int unique,types int,")));

    // The id is unique: a record written twice is replaced, not doubled.
    store({listing(1, {{"name", "旧名"}})});
    store({listing(1, {{"name", "新名"}})});
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB), 1);
    DataCenter::isManager = true;
    QCOMPARE(probe.getHouseData(1).name, QStringLiteral("新名"));

    const QList<QVariantMap> indexes = probe.selectRows(
        BaseSqlObject::CompanyDB, QStringLiteral("select name from sqlite_master where type='index' and tbl_name='house'"));
    QVERIFY(indexes.size() >= 2);
}

void TestHouseStore::storedFormIsScrambled()
{
    HostFixture host;
    host.signInAs(TestUser().manager());
    store({searchSeed().at(1), listing(7, {{"weihuren", person("赵六", "13700000000", false)}})});
    StoreProbe probe;
    const QVariantMap raw = probe.selectRows(BaseSqlObject::CompanyDB, QStringLiteral("select * from house where id=2")).value(0);
    QCOMPARE(raw.value("name").toString(), TextScramble::scramble(QStringLiteral("翡翠湖畔")));
    QCOMPARE(raw.value("buildingNo").toString(), TextScramble::scramble(QStringLiteral("3'A")));
    QCOMPARE(raw.value("newstate").toString(), TextScramble::scramble(QStringLiteral("急售")));
    QCOMPARE(raw.value("tags").toString(), TextScramble::scramble(QStringLiteral("学区房")) + QStringLiteral("qxwcp")
                                               + TextScramble::scramble(QStringLiteral("满二")));
    const QVariantList contacts = QJsonDocument::fromJson(raw.value("contacts").toString().toUtf8()).toVariant().toList();
    QCOMPARE(contacts.value(1).toString(), TextScramble::scramble(QStringLiteral("13800138000")));
    // Numbers, follow-ups and times stay readable for range conditions.
    QCOMPARE(raw.value("follows").toString(), QStringLiteral("客户看过"));
    QCOMPARE(raw.value("createtime").toString(), QStringLiteral("2024/03/05 23:30:00"));
    QCOMPARE(raw.value("price").toDouble(), 250.0);

    const QString role = probe.selectRows(BaseSqlObject::CompanyDB, QStringLiteral("select weihuren from house where id=7"))
                             .value(0).value("weihuren").toString();
    QVERIFY(role.contains(QStringLiteral("\"review\":false")));
    QVERIFY(role.contains(TextScramble::scramble(QStringLiteral("13700000000"))));
    QVERIFY(!role.contains(QStringLiteral("13700000000")));

    const Data back = probe.getHouseData(2);
    QCOMPARE(back.name, QStringLiteral("翡翠湖畔"));
    QCOMPARE(back.buildingNo, QStringLiteral("3'A"));
    QCOMPARE(back.tags, QStringLiteral("学区房,满二"));
    QCOMPARE(back.peitao, QStringLiteral("电梯,暖气"));
    QCOMPARE(QJsonDocument::fromJson(back.contacts.toUtf8()).toVariant().toList(),
             (QVariantList{"李女士", "13800138000", "0551-1234567"}));
    QCOMPARE(probe.getHouseData(7).weihuren.phone, QStringLiteral("13700000000"));
    QCOMPARE(probe.getHouseData(7).weihuren.review, false);
}

void TestHouseStore::recordsFromMaps()
{
    // Only present keys are copied; the rest keep their defaults.
    const Data sparse = HouseRecord::toHouseData({{"id", 5}, {"name", "x"}, {"price", 12.5}});
    QCOMPARE(sparse.id, 5);
    QCOMPARE(sparse.price, 12.5);
    QCOMPARE(sparse.types, 0);
    QVERIFY(sparse.heyanCode.isEmpty() && sparse.heyanState.isEmpty());

    const Data full = HouseRecord::toHouseData(
        {{"id", 6},
         {"lururen", "not json"},
         {"weihuren", R"([{"name":"赵六","phone":"137","review":true}])"},
         {"heyan", R"({"hycode":"HY01","state":2,"expires":"2024/9/1 0:00:00","showState":"1"})"},
         {"describespicture", R"([{"url":"a.jpg"},{"url":"b.jpg"}])"},
         {"havevideo", 1},
         {"anxuan", true}});
    QCOMPARE(full.lururen.name, QString());  // invalid JSON: an empty holder
    QVERIFY(full.lururen.data.isEmpty());
    QCOMPARE(full.weihuren.name, QStringLiteral("赵六"));
    QVERIFY(full.weihuren.review);
    QCOMPARE(full.heyanCode, QStringLiteral("HY01"));
    QCOMPARE(full.heyanState, QStringLiteral("2"));
    QCOMPARE(full.heyanExpires, QStringLiteral("2024/9/1 0:00:00"));
    QCOMPARE(full.describespicture.size(), 2);
    QCOMPARE(full.describespicture.at(1).value("url").toString(), QStringLiteral("b.jpg"));
    QVERIFY(full.havevideo && full.anxuan);

    // An empty verification object: no code, state 0.
    for (const QString &heyan : {QString(), QStringLiteral("{broken")}) {
        const Data none = HouseRecord::toHouseData({{"id", 7}, {"heyan", heyan}});
        QCOMPARE(none.heyanCode, QString());
        QCOMPARE(none.heyanState, QStringLiteral("0"));
    }
}

void TestHouseStore::replenishIsMerged()
{
    HostFixture host;
    host.signInAs(TestUser().manager());
    QVariantMap record = listing(30);
    record.insert("replenish", QVariantMap{{"describespicture", QVariantList{QVariantMap{{"url", "p.jpg"}}}},
                                           {"xiezuo", 3},
                                           {"weihuren", person("赵六", "13700000000", false)},
                                           {"heyanState", QVariantMap{{"hycode", "HY9"}, {"state", 1}}},
                                           {"phonerange", kMe},
                                           {"realuserphone", "13500000000"}});
    store({record});
    StoreProbe probe;
    const Data d = probe.getHouseData(30);
    QCOMPARE(d.describespicture.value(0).value("url").toString(), QStringLiteral("p.jpg"));
    QCOMPARE(d.jindu, 3);
    QCOMPARE(d.weihuren.phone, QStringLiteral("13700000000"));
    QCOMPARE(d.heyanCode, QStringLiteral("HY9"));
    QCOMPARE(d.heyanState, QStringLiteral("1"));
    QCOMPARE(d.realuserphone, QStringLiteral("13500000000"));
    QCOMPARE(d.phonerange, kMe);
    // A listing with an empty verification object reads as no code and state 0.
    store({listing(31, {{"heyan", ""}})});
    QCOMPARE(probe.getHouseData(31).heyanState, QStringLiteral("0"));
    QCOMPARE(probe.getHouseData(31).heyanCode, QString());
}

void TestHouseStore::bookKinds_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("activeOnly");
    QTest::addColumn<QString>("keyWord");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("4 sale on the shelf") << 4 << false << QString() << QList<int>{20, 24, 25, 27};
    QTest::newRow("3 rent on the shelf") << 3 << false << QString() << QList<int>{22, 26};
    QTest::newRow("5 all sale") << 5 << false << QString() << QList<int>{20, 21, 24, 25, 27};
    QTest::newRow("6 all rent") << 6 << false << QString() << QList<int>{22, 23, 26};
    QTest::newRow("2 my sales") << 2 << false << QString() << QList<int>{21, 24, 27};
    QTest::newRow("1 my rents without exclusive role") << 1 << false << QString() << QList<int>{23};
    QTest::newRow("2 my sales on the shelf") << 2 << true << QString() << QList<int>{24, 27};
    QTest::newRow("5 all sale on the shelf") << 5 << true << QString() << QList<int>{20, 24, 25, 27};
    QTest::newRow("2 pending keeps pending") << 2 << true << QStringLiteral("待处理") << QList<int>{21};
    QTest::newRow("no kind") << 0 << false << QString() << QList<int>{20, 21, 22, 23, 24, 25, 26, 27};
}

void TestHouseStore::bookKinds()
{
    QFETCH(int, mode);
    QFETCH(bool, activeOnly);
    QFETCH(QString, keyWord);
    QFETCH(QList<int>, expected);
    HostFixture host;
    host.signInAs(TestUser().manager());
    store({listing(20), listing(21, {{"housestatus", 0}, {"userphone", kMe}}), listing(22, {{"types", 1}}),
           listing(23, {{"types", 1}, {"housestatus", 0}, {"userphone", kMe}}),
           listing(24, {{"lururen", person("我", kMe, true)}}),
           listing(25, {{"lururen", person("我", kMe, true)}, {"sf", 1}}),
           listing(26, {{"types", 1}, {"dujiaren", person("我", kMe, true)}}),
           listing(27, {{"dujiaren", person("我", kMe, true)}})});
    HouseQuery q = queryOf(mode, keyWord.isEmpty() ? QVariantMap() : QVariantMap{{"keyWord", keyWord}});
    q.activeOnly = activeOnly;
    HouseMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(sortedIds(table.getHouseList(q)), expected);
    QCOMPARE(table.getHouseCount(q), expected.size());
}

void TestHouseStore::textAndNumberConditions_data()
{
    addSearchColumns();
    searchRow("everything visible", {}, kVisibleSale);
    searchRow("building with a quote", {{"buildingNo", "3'A"}}, {2});
    searchRow("building is whole", {{"buildingNo", "3"}}, {});
    searchRow("unit", {{"unitNo", "2"}}, {2});
    searchRow("room number", {{"roomNo", "302"}}, {2});
    searchRow("listing number", {{"id", "8"}}, {8});
    searchRow("listing number not a number", {{"id", "8 or 1=1"}}, kVisibleSale);
    searchRow("phone whole", {{"tel", "13800138000"}}, {2});
    searchRow("phone part", {{"tel", "1380013800"}}, {});
    searchRow("phone longer", {{"tel", "138001380001"}}, {});
    searchRow("landline", {{"tel", "0551-1234567"}}, {2});
    searchRow("house type", {{"houseType", "商铺"}}, {2});
    searchRow("bedrooms", {{"room", "3"}}, {2});
    searchRow("living rooms", {{"hall", "2"}}, {2});
    searchRow("bathrooms", {{"huxingwei", "2"}}, {2});
    searchRow("bedrooms not a number", {{"room", "x"}}, kVisibleSale);
    searchRow("decoration", {{"renovation", "简装"}}, {2});
    searchRow("orientation", {{"chaoXiang", "南北"}}, {2});
    searchRow("orientation is whole", {{"chaoXiang", "南"}}, visibleSaleBut({2}));
    searchRow("with keys", {{"keys", "有钥匙"}}, {2, 6});
    searchRow("without keys", {{"keys", "无钥匙"}}, visibleSaleBut({2, 6}));
    searchRow("with pictures", {{"pic", "有图"}}, {2});
    searchRow("without pictures", {{"pic", "无图"}}, visibleSaleBut({2}));
    searchRow("facility", {{"peitao", "暖气"}}, {2});
    searchRow("facility everyone has", {{"peitao", "电梯"}}, kVisibleSale);
    searchRow("two facilities", {{"peitao", "电梯,暖气"}}, {2});
    searchRow("traffic", {{"traffic", "公交"}}, {2});
    searchRow("tag", {{"tag", "学区房"}}, {2});
    searchRow("tag is a whole item", {{"tag", "学区"}}, {});
    searchRow("viewing time", {{"seetime", "预约"}}, {2});
    searchRow("source", {{"source", "网络"}}, {2});
    searchRow("payment", {{"payWay", "贷款"}}, {2});
}

void TestHouseStore::textAndNumberConditions()
{
    checkSearch();
}

void TestHouseStore::rangeAndChoiceConditions_data()
{
    addSearchColumns();
    searchRow("price from", {{"price_up", "200"}}, {2});
    searchRow("price to", {{"price_down", "150"}}, visibleSaleBut({2}));
    searchRow("price not a number", {{"price_up", "abc"}}, kVisibleSale);
    searchRow("price infinite", {{"price_up", "1e999"}}, kVisibleSale);
    searchRow("unit price", {{"unitPrice_up", "20000"}}, {2});
    searchRow("area to", {{"size_down", "80"}}, {2});
    searchRow("floor from", {{"floor_up", "10"}}, {2});
    searchRow("store private", {{"quanXian", "门店私盘"}}, {4});
    searchRow("company public", {{"quanXian", "公司公盘"}}, visibleSaleBut({4}));
    searchRow("followed", {{"follow", "有跟进"}}, {2});
    searchRow("not followed", {{"follow", "无跟进"}}, visibleSaleBut({2}));
    searchRow("school district", {{"school", "有学区"}}, {2});
    searchRow("no school district", {{"school", "无学区"}}, visibleSaleBut({2}));
    searchRow("garage", {{"carhouse", "有车库"}}, {2});
    searchRow("no garage", {{"carhouse", "无车库"}}, visibleSaleBut({2}));
    searchRow("state", {{"state", "急售"}}, {2});
    searchRow("two states", {{"state", "急售,有效"}}, kVisibleSale);
    searchRow("district", {{"district", "包河区"}}, {2});
    searchRow("area", {{"area", "滨湖"}}, {2});
    searchRow("property right", {{"chanQuan", "40年"}}, {2});
    searchRow("deed", {{"chanZhen", "无"}}, {2});
    searchRow("entered from", {{"publishTime_up", "2024/03/05"}}, {2, 8});
    searchRow("entered until covers the day", {{"publishTime_down", "2024/03/05"}}, visibleSaleBut({8}));
    searchRow("entered on one day", {{"publishTime_up", "2024/03/05"}, {"publishTime_down", "2024/03/05"}}, {2});
    searchRow("entered until, dashes", {{"publishTime_down", "2024-03-05"}}, visibleSaleBut({8}));
    searchRow("date not a date", {{"publishTime_up", "yesterday"}}, kVisibleSale);
    searchRow("changed from", {{"updataTime_up", "2024/03/06"}}, {2});
    searchRow("followed from", {{"followTime_up", "2024/03/02"}}, {2});
    searchRow("rent way", {{"rentWay", "整租"}}, {3}, 6);
    searchRow("move in", {{"ruZhuTime", "一周内"}}, {3}, 6);
    searchRow("rent from", {{"yueZu_up", "2000"}}, {3}, 6);
    searchRow("rent to", {{"yueZu_down", "2000"}}, {}, 6);
}

void TestHouseStore::rangeAndChoiceConditions()
{
    checkSearch();
}

void TestHouseStore::peopleAndCommunityConditions_data()
{
    addSearchColumns();
    searchRow("entering person", {{"lurupeople", QVariantList{QVariantMap{{"nodeType", "staff"}, {"phone", "13600000000"}}}}}, {8});
    searchRow("entering person as JSON", {{"lurupeople", R"([{"phone":"13600000000"}])"}}, {8});
    searchRow("entering department", {{"lurudept", QVariantList{QVariantMap{{"dept_id", 22}}}}}, {8});
    searchRow("entering company", {{"lurudept", QVariantList{QVariantMap{{"nodeType", "company"}, {"companyid", 2002}}}}}, {8});
    searchRow("maintainer", {{"xiezuo_weihu", "13700000000"}}, {7});
    searchRow("maintainer part of a number", {{"xiezuo_weihu", "1370000000"}}, {});
    searchRow("maintainer node", {{"xiezuo_weihu", QVariantList{QVariantMap{{"phone", "13700000000"}}}}}, {7});
    searchRow("keys holder or maintainer", {{"xiezuo_yaoshi", "13711112222"}, {"xiezuo_weihu", "13700000000"}}, {6, 7});
    searchRow("cooperation done", {{"xiezuo", "已维护"}}, {7});
    searchRow("cooperation done twice", {{"xiezuo", "已录入,已维护"}}, {7});
    searchRow("cooperation keys", {{"xiezuo", "已钥匙"}}, {6});
    searchRow("cooperation missing", {{"xiezuo_null", "待维护"}}, visibleSaleBut({4, 7}));
    searchRow("review state", {{"shenhestatus", "1"}}, {6});
    searchRow("community name", {{"name", "翡翠湖畔"}}, {2});
    searchRow("community name part", {{"name", "翡翠"}}, {2});
    searchRow("community id", {{"xiaoid", "200"}}, {2});
    searchRow("community ids", {{"xiaoid", "200,999"}}, {2});
    searchRow("community ids or name", {{"xiaoid", "999"}, {"name", "翡翠湖畔"}}, {2});
}

void TestHouseStore::peopleAndCommunityConditions()
{
    checkSearch();
}

void TestHouseStore::keywordWords_data()
{
    addSearchColumns();
    searchRow("pending", {{"keyWord", "待处理"}}, {5});
    searchRow("sealed", {{"keyWord", "封盘"}}, {6});
    searchRow("locked", {{"keyWord", "锁盘"}}, {6});
    searchRow("exclusive", {{"keyWord", "独家"}}, {6});
    searchRow("video", {{"keyWord", "视频"}}, {6});
    searchRow("portal selected", {{"keyWord", "安选"}}, {6});
    searchRow("vr", {{"keyWord", "VR"}}, {6});
    searchRow("joint sale", {{"keyWord", "联卖"}}, {6});
    searchRow("panorama", {{"keyWord", "全景"}}, {6});
    searchRow("awaiting review", {{"keyWord", "待审核房源"}}, {6});
    searchRow("role awaiting review", {{"keyWord", "待审核"}}, {7});
    searchRow("maintainer awaiting review", {{"keyWord", "待审核维护人"}}, {7});
    searchRow("entry awaiting review", {{"keyWord", "待审核录入人"}}, {});
    searchRow("two words", {{"keyWord", "封盘 锁盘"}}, {6});
    searchRow("keyword part of a community", {{"keyWord", "翡翠"}}, {2});
    searchRow("keyword pinyin", {{"keyWord", "FeiCui"}}, {2});
    searchRow("keyword number", {{"keyWord", "8"}}, {8});
}

void TestHouseStore::keywordWords()
{
    checkSearch();
}

void TestHouseStore::columnFilters_data()
{
    addSearchColumns();
    filterRow("filter text column", {{"buildingNo", "3'A"}}, {2});
    filterRow("filter item column", {{"tags", "满二"}}, {2});
    filterRow("filter follow-ups", {{"follows", "看过"}}, {2});
    filterRow("filter number", {{"floors", "12"}}, {2});
    filterRow("filter unknown column", {{"floors = 12 or 1", "1"}}, kVisibleSale);
    filterRow("filter number not a number", {{"floors", "x"}}, kVisibleSale);
}

void TestHouseStore::columnFilters()
{
    checkSearch();
}

void TestHouseStore::hostileTextsFindNothingWrongly_data()
{
    QTest::addColumn<QVariantMap>("conditions");
    QTest::addColumn<QList<int>>("expected");
    const QList<int> all{61, 62, 63};
    QTest::newRow("building with quote") << QVariantMap{{"buildingNo", "3'A"}} << QList<int>{61};
    QTest::newRow("quote trick in building") << QVariantMap{{"buildingNo", "' or '1'='1"}} << QList<int>{};
    QTest::newRow("quote trick in keyword") << QVariantMap{{"keyWord", "' or '1'='1"}} << QList<int>{};
    QTest::newRow("percent in keyword") << QVariantMap{{"keyWord", "%"}} << QList<int>{61};
    QTest::newRow("underscore in keyword") << QVariantMap{{"keyWord", "_"}} << QList<int>{62};
    QTest::newRow("underscore inside a word") << QVariantMap{{"keyWord", "A_B"}} << QList<int>{62};
    QTest::newRow("percent in community name") << QVariantMap{{"name", "%"}} << QList<int>{61};
    QTest::newRow("wildcard token in keyword") << QVariantMap{{"keyWord", "<%>"}} << QList<int>{};
    QTest::newRow("wildcard token as building") << QVariantMap{{"buildingNo", "<%>"}} << QList<int>{63};
    QTest::newRow("backslash in keyword") << QVariantMap{{"keyWord", "\\"}} << QList<int>{};
    QTest::newRow("tag with underscore") << QVariantMap{{"tag", "a_b"}} << QList<int>{61};
    QTest::newRow("tag with percent") << QVariantMap{{"tag", "100%"}} << QList<int>{61};
    QTest::newRow("percent as tag") << QVariantMap{{"tag", "%"}} << QList<int>{};
    QTest::newRow("percent as phone") << QVariantMap{{"tel", "%"}} << QList<int>{};
    QTest::newRow("quote as state") << QVariantMap{{"state", "'"}} << QList<int>{};
    QTest::newRow("closing bracket in district") << QVariantMap{{"district", "x') or ('1'='1"}} << QList<int>{};
    QTest::newRow("statement in keyword") << QVariantMap{{"keyWord", "x'); drop table house; --"}} << QList<int>{};
    QTest::newRow("arg markers in keyword") << QVariantMap{{"keyWord", "%1%2%9%10"}} << QList<int>{};
    QTest::newRow("community ids with a trick") << QVariantMap{{"xiaoid", "300) or (1=1"}} << all;
    QTest::newRow("price with a trick") << QVariantMap{{"price_up", "0 or 1=1"}} << all;
    QTest::newRow("date with a trick") << QVariantMap{{"publishTime_up", "2024/01/01' or '1'='1"}} << all;
    QTest::newRow("department with a trick") << QVariantMap{{"lurudept", R"([{"dept_id":"1) or (1=1"}])"}} << all;
    QTest::newRow("maintainer with a quote") << QVariantMap{{"xiezuo_weihu", "1'3"}} << QList<int>{};
}

void TestHouseStore::hostileTextsFindNothingWrongly()
{
    QFETCH(QVariantMap, conditions);
    QFETCH(QList<int>, expected);
    HostFixture host;
    host.signInAs(TestUser().manager());
    storeCommunities({community(300, "50%花园"), community(301, "阳光A_B苑"), community(302, "阳光AXB苑")});
    store({listing(61, {{"buildingNo", "3'A"}, {"mycommunityid", 300}, {"name", "50%花园"}, {"tags", "a_b,100%"}}),
           listing(62, {{"buildingNo", "3A"}, {"mycommunityid", 301}, {"name", "阳光A_B苑"}, {"tags", "axb"}}),
           listing(63, {{"buildingNo", "<%>"}, {"mycommunityid", 302}, {"name", "阳光AXB苑"}})});
    HouseMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(sortedIds(table.getHouseList(queryOf(5, conditions))), expected);
    QCOMPARE(table.getHouseCount(queryOf(5, conditions)), expected.size());
    QCOMPARE(table.getHouseCount(queryOf(5)), 3);  // nothing was changed or dropped
}

void TestHouseStore::pinnedFirstAndPaging()
{
    HostFixture host;
    host.signInAs(TestUser().manager());
    QList<QVariantMap> records;
    for (int id = 1; id <= 45; ++id)
        records << listing(id, {{"istop", id == 5 || id == 30 ? 1 : 0}, {"price", 1000 - id}});
    store(records);
    HouseMessage_DataSqlTable table(nullptr, false);
    HouseQuery q = queryOf(4);
    q.pageSize = 20;
    QCOMPARE(idsOf(table.getHouseList(q)).mid(0, 4), (QList<int>{30, 5, 45, 44}));
    q.sortKey = QStringLiteral("price");
    q.sortDescending = false;
    QCOMPARE(idsOf(table.getHouseList(q)).mid(0, 4), (QList<int>{30, 5, 45, 44}));
    q.sortKey = QStringLiteral("price; drop table house");  // not a column: sorted by id
    QCOMPARE(idsOf(table.getHouseList(q)).mid(0, 3), (QList<int>{5, 30, 1}));
    q.sortKey = QStringLiteral("id");
    q.sortDescending = true;
    q.page = 3;  // offset 40: the 41st to 45th listing in order
    QCOMPARE(idsOf(table.getHouseList(q)), (QList<int>{6, 4, 3, 2, 1}));
    q.page = 2;
    QCOMPARE(table.getHouseList(q).size(), 20);
    QCOMPARE(table.getHouseCount(q), 45);
}

void TestHouseStore::permissionClauses_data()
{
    QTest::addColumn<QVariantList>("rights");
    QTest::addColumn<QList<int>>("expected");
    const QVariantList full{right(132), right(102), right(109), right(136)};
    QTest::newRow("no rights") << QVariantList() << QList<int>{45, 49, 51};
    QTest::newRow("company-wide rights") << full << QList<int>{40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51};
    QVariantList own = full;
    own[0] = right(132, 2);
    QTest::newRow("view own only") << own << QList<int>{45, 49, 51};
    QVariantList dept = full;
    dept[0] = right(132, 6);
    QTest::newRow("view own department") << dept << QList<int>{40, 43, 45, 46, 49, 51};
    QVariantList locked = full;
    locked[1] = right(102, 6);
    QTest::newRow("locked within department") << locked << QList<int>{40, 41, 42, 43, 45, 46, 47, 48, 49, 50, 51};
    QVariantList states = full;
    states << right(114, 1, {}, {QStringLiteral("无效")});
    QTest::newRow("sale states chosen") << states << QList<int>{40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 51};
    QVariantList review = full;
    review[3] = right(136, 5, {QVariantMap{{"dept_id", 11}, {"with_down", false}}});
    QTest::newRow("review within chosen department") << review << QList<int>{40, 41, 42, 43, 44, 45, 46, 47, 49, 50, 51};
}

void TestHouseStore::permissionClauses()
{
    QFETCH(QVariantList, rights);
    QFETCH(QList<int>, expected);
    HostFixture host;
    host.signInAs(agentWith(rights));
    store({listing(40), listing(41, {{"deptid", 33}}), listing(42, {{"deptid", 33}, {"stype", 1}}),
           listing(43, {{"stype", 1}}), listing(44, {{"deptid", 33}, {"suopan", 1}}),
           listing(45, {{"userphone", kMe}, {"deptid", 33}, {"suopan", 1}}), listing(46, {{"suopan", 1}}),
           listing(47, {{"deptid", 33}, {"fengpan", 1}}), listing(48, {{"deptid", 33}, {"shenhestatus", 1}}),
           listing(49, {{"userphone", kMe}, {"shenhestatus", 1}}), listing(50, {{"deptid", 33}, {"newstate", "已售"}}),
           listing(51, {{"userphone", kMe}, {"newstate", "已售"}})});
    HouseMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(sortedIds(table.getHouseList(queryOf(4))), expected);
    QCOMPARE(table.getHouseCount(queryOf(4)), expected.size());
    DataCenter::isManager = true;  // a manager is not limited by rights
    QCOMPARE(table.getHouseCount(queryOf(4)), 12);
}

void TestHouseStore::rightsArrivingWidenTheView_data()
{
    QTest::addColumn<bool>("jointSale");
    QTest::addColumn<bool>("downloaded");
    for (bool jointSale : {false, true}) {
        const char *book = jointSale ? "joint-sale book" : "company book";
        QTest::newRow(qPrintable(QStringLiteral("%1, rights not downloaded").arg(QLatin1String(book)))) << jointSale << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, empty rights download").arg(QLatin1String(book)))) << jointSale << true;
    }
}

// A user whose rights are unknown sees only her own listings, not the company's public ones;
// the rights arriving widen the view at the next query.
void TestHouseStore::rightsArrivingWidenTheView()
{
    QFETCH(bool, jointSale);
    QFETCH(bool, downloaded);
    HostFixture host;
    const TestUser agent = TestUser().ownDepartment(11, QStringLiteral("一部"));
    host.signInAs(downloaded ? TestUser(agent).withoutRights() : agent);
    HouseMessage_DataSqlTable table(nullptr, jointSale);
    const int company = jointSale ? DataCenter::JointSaleCompanyId : DataCenter::CompanyID;
    const auto listing = [company](int id) { return Listing(id).company(company); };
    QCOMPARE(table.insertOrReplaceHouses({listing(1), listing(2).department(33), listing(3).owner(kMe).department(33),
                                          listing(4).owner(kMe).set("stype", 1), listing(5).set("stype", 1)},
                                         false),
             5);
    QCOMPARE(sortedIds(table.getHouseList(queryOf(4))), (QList<int>{3, 4}));
    QCOMPARE(table.getHouseCount(queryOf(4)), 2);

    host.signInAs(TestUser(agent).viewRange(UserMessage_DataSqlTable::RangeDefault));
    QCOMPARE(sortedIds(table.getHouseList(queryOf(4))), (QList<int>{1, 2, 3, 4, 5}));
    QCOMPARE(table.getHouseCount(queryOf(4)), 5);
}

void TestHouseStore::privacyMask_data()
{
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<bool>("manager");
    QTest::addColumn<QString>("expected");  // 71 private, 72 public kept by another, 73 kept by me,
                                            // 74 exclusive kept by another, 75 my own private
    QTest::newRow("no rights") << QList<int>{} << false << "bfc bfc - bfc -";
    QTest::newRow("private building") << QList<int>{31} << false << "fc bfc - bfc -";
    QTest::newRow("private floors") << QList<int>{127} << false << "bc bfc - bfc -";
    QTest::newRow("private phone") << QList<int>{32} << false << "bf bfc - bfc -";
    QTest::newRow("public building") << QList<int>{152} << false << "bfc fc - fc -";
    QTest::newRow("public floors") << QList<int>{153} << false << "bfc bc - bc -";
    QTest::newRow("public phone but exclusive") << QList<int>{154} << false << "bfc bf - bfc -";
    QTest::newRow("all six") << QList<int>{31, 127, 32, 152, 153, 154} << false << "- - - c -";
    QTest::newRow("manager") << QList<int>{} << true << "- - - - -";
}

void TestHouseStore::privacyMask()
{
    QFETCH(QList<int>, rights);
    QFETCH(bool, manager);
    QFETCH(QString, expected);
    HostFixture host;
    QVariantList granted{right(132), right(102), right(109), right(136)};
    for (int r : rights)
        granted << right(r);
    host.signInAs(agentWith(granted).manager(manager));
    const QVariantMap maintainer{{"weihuren", person("赵六", "13700000000", true)}};
    store({listing(71, {{"sf", 1}}), listing(72, maintainer),
           listing(73, {{"weihuren", person("我", kMe, true)}}),
           listing(74, {{"hbdujia", 1}, {"weihuren", person("赵六", "13700000000", true)}}),
           listing(75, {{"sf", 1}, {"userphone", kMe}})});
    HouseMessage_DataSqlTable table(nullptr, false);
    QStringList masks;
    QList<Data> records = table.getHouseList(queryOf(4));
    std::sort(records.begin(), records.end(), [](const Data &a, const Data &b) { return a.id < b.id; });
    for (const Data &d : records)
        masks << maskOf(d);
    QCOMPARE(masks.join(QLatin1Char(' ')), expected);
    QCOMPARE(maskOf(table.getHouseData(71)), expected.section(QLatin1Char(' '), 0, 0));
}

// The mask evaluates rights from a snapshot; it must answer as the user store's right test.
void TestHouseStore::rightTestMatchesUserStore()
{
    HostFixture host;
    const QVariantList chosen{QVariantMap{{"dept_id", 12}, {"with_down", false}}};
    QVariantMap notGranted = right(152);
    notGranted.insert("selected", false);
    host.signInAs(agentWith({right(31, 0), right(127, 1), right(32, 2), notGranted, right(153, 4), right(154, 5, chosen), right(102, 6)}));
    UserMessage_DataSqlTable user(nullptr, false);
    for (const bool jointManager : {false, true}) {
        DataCenter::isJointSaleManger = jointManager;
        HousePermission permission(false);
        for (int r : {31, 127, 32, 152, 153, 154, 102, 999}) {
            for (const QString &owner : {kMe, kOther, QString()}) {
                for (int dept : {0, 10, 11, 12, 33}) {
                    QVERIFY2(permission.holds(r, owner, dept) == user.isHaveAuthority(r, owner, dept),
                             qPrintable(QStringLiteral("right %1 owner %2 dept %3").arg(r).arg(owner).arg(dept)));
                }
            }
        }
    }
}

void TestHouseStore::timeMarksMoveForwardOnlyOnSuccess()
{
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, false);
    StoreProbe probe;
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2018/01/01 00:00:00"));

    QCOMPARE(probe.insertOrReplaceHouses({listing(1, {{"lasttime", "2024/03/05 09:07:03"}}),
                                          listing(2, {{"lasttime", "2024/02/01 00:00:00"}})}),
             2);
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2024/03/05 09:07:03"));
    probe.insertOrReplaceHouses({listing(3, {{"lasttime", "2023/01/01 00:00:00"}})});
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2024/03/05 09:07:03"));  // never backwards
    probe.insertOrReplaceHouses({listing(4, {{"lasttime", "2025/01/01 00:00:00"}})}, false);
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2024/03/05 09:07:03"));  // not asked to move
    probe.insertOrReplaceHouses({listing(5, {{"lasttime", "2030/1/1 1:00:00"}})});
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2024/03/05 09:07:03"));  // not a sync time

    // A record whose statement fails is skipped and moves nothing; the others are written.
    QVERIFY(probe.exec(BaseSqlObject::CompanyDB,
                       QStringLiteral("create trigger refuse99 before insert on house when new.id = 99 "
                                      "begin select raise(abort, 'refused'); end")));
    QCOMPARE(probe.insertOrReplaceHouses({listing(98, {{"lasttime", "2024/06/01 00:00:00"}}),
                                          listing(99, {{"lasttime", "2026/01/01 00:00:00"}})}),
             1);
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2024/06/01 00:00:00"));
    QCOMPARE(probe.selectRows(BaseSqlObject::CompanyDB, QStringLiteral("select id from house where id in(98,99)")).size(), 1);

    // Communities move their own mark.
    CommunityMessage_DataSqlTable communities(nullptr, false);
    QVariantMap c = community(7, "阳光花园");
    c.insert("lasttime", "2024/07/01 00:00:00");
    QCOMPARE(communities.insertOrReplaceCommunities({c}), 1);
    QCOMPARE(config.communityLastUpdateTime(), QStringLiteral("2024/07/01 00:00:00"));
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2024/06/01 00:00:00"));
}

void TestHouseStore::pageJoinsCallersTransaction()
{
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, false);
    StoreProbe probe;
    QSqlDatabase db = probe.database(BaseSqlObject::CompanyDB);
    // The rows and the mark are written on the caller's connection: rolling back undoes both.
    QVERIFY(db.transaction());
    QCOMPARE(probe.insertOrReplaceHouses({listing(1, {{"lasttime", "2024/03/05 09:07:03"}}), listing(2)}), 2);
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2024/03/05 09:07:03"));
    QVERIFY(db.rollback());
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB), 0);
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2018/01/01 00:00:00"));
    // On its own the page commits whole.
    QCOMPARE(probe.insertOrReplaceHouses({listing(1), listing(2), listing(3)}), 3);
    QVERIFY(db.transaction());  // nothing left open
    QVERIFY(db.rollback());
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB), 3);
}

void TestHouseStore::updatesAndDeletes()
{
    HostFixture host;
    host.signInAs(TestUser().manager());
    store({listing(1), listing(2), listing(3), listing(4)});
    StoreProbe probe;
    QVERIFY(probe.updateHouseColumn(1, QStringLiteral("newstate"), QStringLiteral("已售")));
    QCOMPARE(probe.selectRows(BaseSqlObject::CompanyDB, QStringLiteral("select newstate from house where id=1"))
                 .value(0).value("newstate").toString(),
             TextScramble::scramble(QStringLiteral("已售")));
    QCOMPARE(probe.getHouseData(1).newstate, QStringLiteral("已售"));
    QVERIFY(probe.updateHouseColumn(1, QStringLiteral("istop"), 1));
    QCOMPARE(probe.getHouseData(1).istop, 1);
    QVERIFY(!probe.updateHouseColumn(1, QStringLiteral("istop=1,isdel"), 1));

    QVERIFY(probe.updateHouseColumns({{{"id", 2}, {"floors", 9}, {"tags", "新上"}}, {{"id", 3}, {"floors", 10}, {"tags", "急"}}},
                                     {QStringLiteral("floors"), QStringLiteral("tags")}));
    QCOMPARE(probe.getHouseData(2).floors, 9);
    QCOMPARE(probe.getHouseData(3).tags, QStringLiteral("急"));
    QCOMPARE(probe.getHouseData(3).name, QStringLiteral("阳光花园"));  // other columns untouched

    QVERIFY(probe.deleteHouse(4));
    QVERIFY(!probe.deleteHouses({QStringLiteral("1) or (1=1")}));
    QCOMPARE(probe.getHouseCount(queryOf(5)), 3);
    QVERIFY(probe.deleteHouses({QStringLiteral("1"), QStringLiteral("x"), QStringLiteral("3")}));
    QCOMPARE(idsOf(probe.getHouseList(queryOf(5))), QList<int>{2});
    QCOMPARE(probe.getHouseData(1).id, 0);
}

void TestHouseStore::readAndLikedLists()
{
    HostFixture host;
    host.signInAs(TestUser().manager());
    store({listing(1), listing(2), listing(3)});
    HouseBookSet_SqlTable settings(nullptr, false);
    QVERIFY(settings.setValue(QStringLiteral("likehistory"), QStringLiteral("[2,3]")));
    QVERIFY(settings.setValue(QStringLiteral("readhistory"), QStringLiteral("3")));
    HouseMessage_DataSqlTable table(nullptr, false);
    const QList<Data> all = table.getHouseList(queryOf(5));
    QCOMPARE(idsOf(all), (QList<int>{3, 2, 1}));
    QCOMPARE(all.at(0).isread + all.at(0).islike, 2);
    QCOMPARE(all.at(1).islike, 1);
    QCOMPARE(all.at(1).isread, 0);
    QCOMPARE(all.at(2).isread + all.at(2).islike, 0);
    QCOMPARE(table.getHouseData(3).isread, 1);
    HouseQuery liked = queryOf(5);
    liked.subMode = 2;
    QCOMPARE(idsOf(table.getHouseList(liked)), (QList<int>{3, 2}));
    liked.subMode = 3;  // nothing noticed
    QCOMPARE(table.getHouseCount(liked), 0);
}

void TestHouseStore::maintainerWorklist()
{
    HostFixture host;
    host.signInAs(TestUser().manager());
    store({listing(1), listing(2), listing(3), listing(4)});
    StoreProbe probe;
    HouseQuery q = queryOf(4);
    q.sortKey = QStringLiteral("days");
    QCOMPARE(probe.weihuHouseList(q).size(), 0);  // no worklist table yet
    QVERIFY(probe.exec(BaseSqlObject::CompanyDB, QStringLiteral("create table weihu_house(id int unique,days varchar)")));
    QVERIFY(probe.exec(BaseSqlObject::CompanyDB, QStringLiteral("insert into weihu_house values(1,'9'),(2,'10'),(3,'2')")));
    const QList<Data> longest = probe.weihuHouseList(q);
    QCOMPARE(idsOf(longest), (QList<int>{2, 1, 3}));  // 10 days before 9
    QCOMPARE(longest.first().days, 10);
    q.sortDescending = false;
    QCOMPARE(idsOf(probe.weihuHouseList(q)), (QList<int>{3, 1, 2}));
    QCOMPARE(probe.weihuHouseCount(q), 3);
    q.sortKey = QStringLiteral("id");  // any listing column sorts too
    QCOMPARE(idsOf(probe.weihuHouseList(q)), (QList<int>{1, 2, 3}));
    q.sortKey = QStringLiteral("days");
    q.conditions = {{"id", "1"}};  // the id of both tables: no ambiguity
    QCOMPARE(idsOf(probe.weihuHouseList(q)), QList<int>{1});
    QCOMPARE(probe.weihuHouseCount(q), 1);
    q.conditions = {{"keyWord", "2"}};
    QCOMPARE(idsOf(probe.weihuHouseList(q)), QList<int>{2});
    q.conditions.clear();
    q.pageSize = 2;
    q.page = 2;
    QCOMPARE(idsOf(probe.weihuHouseList(q)), QList<int>{2});
}

void TestHouseStore::jointSaleBookIsSeparate()
{
    HostFixture host;
    host.signInAs(TestUser().manager().viewRange(UserMessage_DataSqlTable::RangeDefault));  // manager of the normal book only
    StoreProbe joint(true);
    StoreProbe normal(false);
    QVERIFY(joint.getDBAddress(BaseSqlObject::CompanyDB) != normal.getDBAddress(BaseSqlObject::CompanyDB));
    QCOMPARE(joint.insertOrReplaceHouses({listing(1, {{"companyid", 9001}, {"sf", 1}}), listing(2)}), 2);
    QCOMPARE(normal.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB), 0);
    // The alliance's book is scoped to the alliance's company id.
    QCOMPARE(idsOf(joint.getHouseList(queryOf(5))), QList<int>{1});
    QCOMPARE(joint.getHouseData(1).buildingNo, QString());
    DataCenter::isJointSaleManger = true;
    QCOMPARE(joint.getHouseData(1).buildingNo, QStringLiteral("1"));
    store({listing(3, {{"sf", 1}})});
    QCOMPARE(normal.getHouseData(3).buildingNo, QStringLiteral("1"));
}

void TestHouseStore::noUserNoRows()
{
    HostFixture host;
    host.signInAs(TestUser().manager());
    store({listing(1)});
    HouseMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(table.getHouseCount(queryOf(5)), 1);
    DataCenter::UserPhoneNumber.clear();
    QCOMPARE(table.getHouseList(queryOf(5)).size(), 0);
    QCOMPARE(table.getHouseCount(queryOf(5)), 0);
    QCOMPARE(table.getHouseData(1).id, 0);
    QCOMPARE(table.insertOrReplaceHouses({listing(2)}), -1);
}

QTEST_MAIN(TestHouseStore)
#include "tst_housestore.moc"
