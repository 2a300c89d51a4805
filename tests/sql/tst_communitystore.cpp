// The local community table: records, the community search with its hostile texts, paging,
// buildings, partial updates and deletes.
#include "datacenter.h"
#include "hostfixture.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"

#include <QtTest>

#include <algorithm>

using ListData = CommunityMessage_DataSqlTable::ListData;

namespace {

QVariantMap community(int id, const QVariantMap &changes = QVariantMap())
{
    QVariantMap m{{"id", id},           {"companyid", 1001},      {"name", "阳光花园"},
                  {"district", 3401},   {"districtname", "蜀山区"}, {"areaid", 11},
                  {"areaname", "南七"}, {"othrename", "阳光小区"}, {"address", "长江西路1号"},
                  {"pinyin", "yangguanghuayuan"}, {"price", "15000"}, {"primaryschool", "一小"},
                  {"lasttime", "2024/03/01 10:00:00"}, {"cityid", 340100}};
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        m.insert(it.key(), it.value());
    return m;
}

QList<int> sortedIds(const QList<ListData> &list)
{
    QList<int> ids;
    for (const ListData &d : list)
        ids << d.id;
    std::sort(ids.begin(), ids.end());
    return ids;
}

QList<QVariantMap> searchSeed()
{
    return {community(1),
            community(2, {{"name", "阳光花园二期"}, {"othrename", ""}, {"pinyin", "yangguanghuayuanerqi"}, {"price", "900"}}),
            community(3, {{"name", "翡翠湖畔"}, {"othrename", "翡翠"}, {"pinyin", "feicuihupan"}, {"price", "1000"},
                          {"districtname", "包河区"}, {"areaname", "滨湖"}, {"primaryschool", "二小"}}),
            community(4, {{"name", "50%苑"}, {"othrename", ""}, {"pinyin", "wushi"}, {"price", "12000"},
                          {"address", "O'Brien路"}})};
}

} // namespace

class TestCommunityStore : public QObject
{
    Q_OBJECT
private slots:
    void recordsRoundTrip();
    void search_data();
    void search();
    void pagingNewestFirst();
    void buildingsAreDecoded();
    void updatesAndDeletes();
};

void TestCommunityStore::recordsRoundTrip()
{
    HostFixture host;
    CommunityMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(table.getTableColumns(QStringLiteral("community"), BaseSqlObject::CompanyDB).size(), 31);
    QVERIFY(CommunityMessage_DataSqlTable::createSql().startsWith(QStringLiteral("create table community(id int unique,")));
    QVariantMap record = community(7, {{"building", QVariantList{QVariantMap{{"name", "1栋"}}}}});
    QCOMPARE(table.insertOrReplaceCommunities({record, community(7, {{"name", "新名"}})}), 2);
    const ListData d = table.getCommunityData(7);
    QCOMPARE(d.name, QStringLiteral("新名"));  // the id is unique: the later record replaced the first
    QCOMPARE(d.district, 3401);
    QCOMPARE(d.cityid, 340100);
    QCOMPARE(d.othrename, QStringLiteral("阳光小区"));
    QCOMPARE(table.getCommunityData(8).id, 0);

    const ListData sparse = CommunityMessage_DataSqlTable::toListData({{"id", 3}, {"name", "x"}});
    QCOMPARE(sparse.id, 3);
    QCOMPARE(sparse.name, QStringLiteral("x"));
    QCOMPARE(sparse.companyid, 0);
    QVERIFY(sparse.pinyin.isEmpty());
}

void TestCommunityStore::search_data()
{
    QTest::addColumn<QVariantMap>("search");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("all") << QVariantMap() << QList<int>{1, 2, 3, 4};
    QTest::newRow("part of a name") << QVariantMap{{"keyWord", "花园"}} << QList<int>{1, 2};
    QTest::newRow("other name") << QVariantMap{{"keyWord", "小区"}} << QList<int>{1};
    QTest::newRow("pinyin any case") << QVariantMap{{"keyWord", "FeiCui"}} << QList<int>{3};
    QTest::newRow("percent is literal") << QVariantMap{{"keyWord", "%"}} << QList<int>{4};
    QTest::newRow("underscore is literal") << QVariantMap{{"keyWord", "_"}} << QList<int>{};
    QTest::newRow("quote trick") << QVariantMap{{"keyWord", "' or '1'='1"}} << QList<int>{};
    QTest::newRow("whole name") << QVariantMap{{"name", "阳光花园"}} << QList<int>{1};
    QTest::newRow("whole name only") << QVariantMap{{"name", "阳光"}} << QList<int>{};
    QTest::newRow("whole address with a quote") << QVariantMap{{"name", "O'Brien路"}} << QList<int>{4};
    QTest::newRow("whole name percent") << QVariantMap{{"name", "50%"}} << QList<int>{};
    QTest::newRow("district") << QVariantMap{{"districtname", "包河区"}} << QList<int>{3};
    QTest::newRow("district with a trick") << QVariantMap{{"districtname", "x' or '1'='1"}} << QList<int>{};
    QTest::newRow("area") << QVariantMap{{"areaname", "滨湖"}} << QList<int>{3};
    QTest::newRow("school") << QVariantMap{{"primaryschool", "二小"}} << QList<int>{3};
    // Prices are stored as text; compared as numbers 900 is below 1000.
    QTest::newRow("price from") << QVariantMap{{"price_up", "1000"}} << QList<int>{1, 3, 4};
    QTest::newRow("price to") << QVariantMap{{"price_down", "1000"}} << QList<int>{2, 3};
    QTest::newRow("price not a number") << QVariantMap{{"price_up", "1 or 1=1"}} << QList<int>{1, 2, 3, 4};
    QTest::newRow("id") << QVariantMap{{"id", "3"}} << QList<int>{3};
    QTest::newRow("ids, numbers only") << QVariantMap{{"ids", "1,x,3"}} << QList<int>{1, 3};
    QTest::newRow("ids with a trick") << QVariantMap{{"ids", "1) or (1=1"}} << QList<int>{};
    QTest::newRow("my rent listings") << QVariantMap{{"houseKind", "my_rent_house"}} << QList<int>{2};
    QTest::newRow("store rent listings") << QVariantMap{{"houseKind", "store_rent_house"}} << QList<int>{2, 3};
    QTest::newRow("store sale listings") << QVariantMap{{"houseKind", "store_sale_house"}} << QList<int>{1};
}

void TestCommunityStore::search()
{
    QFETCH(QVariantMap, search);
    QFETCH(QList<int>, expected);
    HostFixture host;
    CommunityMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(table.insertOrReplaceCommunities(searchSeed(), false), 4);
    const QString me = DataCenter::UserPhoneNumber;
    HouseMessage_DataSqlTable houses(nullptr, false);
    const auto house = [](int id, int communityId, int types, const QString &owner, int status = 1) {
        return QVariantMap{{"id", id},         {"mycommunityid", communityId}, {"types", types},
                           {"userphone", owner}, {"housestatus", status},     {"cityid", 340100},
                           {"companyid", 1001}};
    };
    QCOMPARE(houses.insertOrReplaceHouses({house(1, 2, 1, me), house(2, 3, 1, QStringLiteral("139")),
                                           house(3, 4, 1, me, 0), house(4, 1, 0, me),
                                           QVariantMap{{"id", 5}, {"mycommunityid", 4}, {"types", 1}, {"housestatus", 1},
                                                       {"cityid", 999}, {"companyid", 1001}}},
                                          false),
             5);
    QCOMPARE(sortedIds(table.getCommunityList(search, 1, 0)), expected);
    QCOMPARE(table.getCommunityCount(search), expected.size());
    QCOMPARE(table.getCommunityCount(QVariantMap()), 4);
}

void TestCommunityStore::pagingNewestFirst()
{
    HostFixture host;
    CommunityMessage_DataSqlTable table(nullptr, false);
    QList<QVariantMap> records;
    for (int id = 1; id <= 5; ++id)
        records << community(id);
    table.insertOrReplaceCommunities(records, false);
    const QList<ListData> page2 = table.getCommunityList(QVariantMap(), 2, 2);
    QCOMPARE(page2.size(), 2);
    QCOMPARE(page2.at(0).id, 3);
    QCOMPARE(page2.at(1).id, 2);
    QCOMPARE(table.getCommunityList(QVariantMap(), 3, 2).size(), 1);
    QCOMPARE(table.getCommunityList(QVariantMap(), 1, 0).size(), 5);
    const ListData narrow = table.getCommunityList(QVariantMap(), 1, 1, {QStringLiteral("id"), QStringLiteral("name"),
                                                                         QStringLiteral("x;drop")}).value(0);
    QCOMPARE(narrow.id, 5);
    QCOMPARE(narrow.name, QStringLiteral("阳光花园"));
    QVERIFY(narrow.pinyin.isEmpty());
}

void TestCommunityStore::buildingsAreDecoded()
{
    HostFixture host;
    CommunityMessage_DataSqlTable table(nullptr, false);
    const QString tree = QStringLiteral(
        R"([{"name":"1栋","lng":"117.1","lat":"31.8","unit":"栋","children":[{"name":"1单元","unit":"单元",)"
        R"("children":[{"name":"101"}]}]},{"name":"2栋","unit":"栋"}])");
    table.insertOrReplaceCommunities({community(1, {{"building", tree}}), community(2, {{"building", "not json"}})}, false);
    const QVariantList buildings = table.buildings(1);
    QCOMPARE(buildings.size(), 2);
    const QVariantMap first = buildings.first().toMap();
    QCOMPARE(first.value("name").toString(), QStringLiteral("1栋"));
    QCOMPARE(first.value("lng").toString(), QStringLiteral("117.1"));
    const QVariantMap unit = first.value("children").toList().value(0).toMap();
    QCOMPARE(unit.value("unit").toString(), QStringLiteral("单元"));
    QCOMPARE(unit.value("children").toList().value(0).toMap().value("name").toString(), QStringLiteral("101"));
    QVERIFY(buildings.at(1).toMap().value("children").toList().isEmpty());
    QVERIFY(table.buildings(2).isEmpty());
    QVERIFY(table.buildings(3).isEmpty());
}

void TestCommunityStore::updatesAndDeletes()
{
    HostFixture host;
    CommunityMessage_DataSqlTable table(nullptr, false);
    table.insertOrReplaceCommunities({community(1), community(2), community(3)}, false);
    QVERIFY(table.updateCommunities({{{"id", 2}, {"lng", "117.2"}, {"lat", "31.9"}}},
                                    {QStringLiteral("lng"), QStringLiteral("lat")}));
    QCOMPARE(table.getCommunityData(2).lng, QStringLiteral("117.2"));
    QCOMPARE(table.getCommunityData(2).name, QStringLiteral("阳光花园"));
    QVERIFY(!table.updateCommunities({{{"id", 2}}}, {QStringLiteral("name=1,lng")}));
    QVERIFY(!table.deleteCommunities({QStringLiteral("1) or (1=1")}));
    QCOMPARE(table.getCommunityCount(QVariantMap()), 3);
    QVERIFY(table.deleteCommunities({QStringLiteral("1"), QStringLiteral("3")}));
    QCOMPARE(sortedIds(table.getCommunityList(QVariantMap(), 1, 0)), QList<int>{2});
}

QTEST_MAIN(TestCommunityStore)
#include "tst_communitystore.moc"
