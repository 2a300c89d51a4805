// The company database's small tables: the sync bookkeeping row with the column upgrade,
// the city's list settings, and the maintenance days of listings.
#include "datacenter.h"
#include "hostfixture.h"
#include "sql/cityhouseset_datasqltable.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housebookweihumessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {

QVariantMap column(const QString &key, const QString &type)
{
    return {{QStringLiteral("key"), key}, {QStringLiteral("type"), type}};
}

QStringList keysOf(const QList<QVariantMap> &columns)
{
    QStringList keys;
    for (const QVariantMap &c : columns)
        keys << c.value("key").toString();
    return keys;
}

// "create table name(k1 t1 unique,k2 t2,...)" as the house and community classes build it.
QString createStatement(const QString &table, const QList<QVariantMap> &columns)
{
    QStringList defs;
    for (const QVariantMap &c : columns)
        defs << c.value("key").toString() + QLatin1Char(' ') + c.value("type").toString();
    defs.first() += QStringLiteral(" unique");
    return QStringLiteral("create table %1(%2)").arg(table, defs.join(QLatin1Char(',')));
}

bool run(BaseSqlObject &store, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(store.connectionName(BaseSqlObject::CompanyDB)));
    return query.exec(sql);
}

QVariant scalar(BaseSqlObject &store, const QString &sql, BaseSqlObject::DBTYPE type = BaseSqlObject::CompanyDB)
{
    QSqlQuery query(QSqlDatabase::database(store.connectionName(type)));
    return query.exec(sql) && query.next() ? query.value(0) : QVariant();
}

QVariantMap weihu(const QVariant &houseId, const QVariant &days)
{
    return {{QStringLiteral("houseid"), houseId}, {QStringLiteral("days"), days}};
}

} // namespace

class TestCompanyConfig : public QObject
{
    Q_OBJECT
private slots:
    void freshRowDefaults_data();
    void freshRowDefaults();
    void constructionKeepsStoredRow();
    void setColumnWritesKnownColumnsOnly();
    void marksMoveOnlyForward_data();
    void marksMoveOnlyForward();
    void marksAreIndependent();
    void requiredColumnLists();
    void requiredColumnsSurviveSqlite();
    void columnComparisons_data();
    void columnComparisons();
    void upgradeBringsOldTableToRequiredColumns();
    void cityHouseSetRowAndWrites();
    void cityHouseSetIgnoresJointSaleFlag();
    void weihuStoresDaysAndSkipsBadIds();
    void weihuCountJoinsHouse();
};

void TestCompanyConfig::freshRowDefaults_data()
{
    QTest::addColumn<bool>("jointSale");
    QTest::addColumn<int>("companyId");
    QTest::newRow("normal book") << false << 1001;
    QTest::newRow("joint-sale book") << true << 9001;
}

void TestCompanyConfig::freshRowDefaults()
{
    QFETCH(bool, jointSale);
    QFETCH(int, companyId);
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, jointSale);
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2018/01/01 00:00:00"));
    QCOMPARE(config.communityLastUpdateTime(), QStringLiteral("2018/01/01 00:00:00"));
    QCOMPARE(config.version(), QStringLiteral("4.2.0.1"));
    QCOMPARE(config.building(), 0);
    const QVariantMap row = config.getRow();
    QCOMPARE(row.value("id").toInt(), 1);
    QCOMPARE(row.value("companyid").toInt(), companyId);
    QCOMPARE(row.value("house_add_key").toString(), QString());
    QCOMPARE(scalar(config, QStringLiteral("select count(*) from company_config")).toInt(), 1);
}

void TestCompanyConfig::constructionKeepsStoredRow()
{
    HostFixture host;
    {
        CompanySQLConfig_DataSqltable config(nullptr, false);
        QVERIFY(config.advanceLastUpdateTime(QStringLiteral("2024/03/05 09:07:03")));
        QVERIFY(config.setColumn(QStringLiteral("building"), 12));
    }
    CompanySQLConfig_DataSqltable again(nullptr, false);
    QCOMPARE(again.lastUpdateTime(), QStringLiteral("2024/03/05 09:07:03"));
    QCOMPARE(again.building(), 12);
    QCOMPARE(scalar(again, QStringLiteral("select count(*) from company_config")).toInt(), 1);
}

void TestCompanyConfig::setColumnWritesKnownColumnsOnly()
{
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, false);
    QVERIFY(config.setColumn(QStringLiteral("version"), QStringLiteral("4.1.9.0")));
    QCOMPARE(config.version(), QStringLiteral("4.1.9.0"));
    QVERIFY(!config.setColumn(QStringLiteral("id"), 2));
    QVERIFY(!config.setColumn(QStringLiteral("building=1,version"), QStringLiteral("x")));
    QCOMPARE(config.getRow().value("id").toInt(), 1);
    QCOMPARE(config.version(), QStringLiteral("4.1.9.0"));
}

void TestCompanyConfig::marksMoveOnlyForward_data()
{
    QTest::addColumn<QString>("offered");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("stored");

    const QString start = QStringLiteral("2024/03/05 09:07:03");
    QTest::newRow("later") << QStringLiteral("2024/03/05 09:07:04") << true << QStringLiteral("2024/03/05 09:07:04");
    QTest::newRow("later year") << QStringLiteral("2025/01/01 00:00:00") << true << QStringLiteral("2025/01/01 00:00:00");
    QTest::newRow("equal") << start << false << start;
    QTest::newRow("earlier") << QStringLiteral("2023/12/31 23:59:59") << false << start;
    // Not normalised: as text "2024/3/9" sorts after "2024/03/05" though it may be earlier.
    QTest::newRow("unpadded") << QStringLiteral("2024/3/1 9:00:00") << false << start;
    QTest::newRow("empty") << QString() << false << start;
    QTest::newRow("garbage") << QStringLiteral("9999/99/99 99:99:99") << false << start;
}

void TestCompanyConfig::marksMoveOnlyForward()
{
    QFETCH(QString, offered);
    QFETCH(bool, moved);
    QFETCH(QString, stored);
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, false);
    QVERIFY(config.advanceLastUpdateTime(QStringLiteral("2024/03/05 09:07:03")));
    QVERIFY(config.advanceCommunityLastUpdateTime(QStringLiteral("2024/03/05 09:07:03")));
    QCOMPARE(config.advanceLastUpdateTime(offered), moved);
    QCOMPARE(config.advanceCommunityLastUpdateTime(offered), moved);
    QCOMPARE(config.lastUpdateTime(), stored);
    QCOMPARE(config.communityLastUpdateTime(), stored);
}

void TestCompanyConfig::marksAreIndependent()
{
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, false);
    QVERIFY(config.advanceCommunityLastUpdateTime(QStringLiteral("2024/06/01 10:00:00")));
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2018/01/01 00:00:00"));
    // Dropping the listing table sends the listing sync back to the beginning only.
    QVERIFY(config.advanceLastUpdateTime(QStringLiteral("2024/06/01 10:00:00")));
    QVERIFY(config.createTable(QStringLiteral("create table house_old(id int)"), BaseSqlObject::CompanyDB));
    QVERIFY(config.deleteTable(QStringLiteral("house_old"), BaseSqlObject::CompanyDB));
    QCOMPARE(config.lastUpdateTime(), QStringLiteral("2018/01/01 00:00:00"));
    QCOMPARE(config.communityLastUpdateTime(), QStringLiteral("2024/06/01 10:00:00"));
}

void TestCompanyConfig::requiredColumnLists()
{
    const QList<QVariantMap> house = CompanySQLConfig_DataSqltable::houseColumns();
    const QList<QVariantMap> community = CompanySQLConfig_DataSqltable::communityColumns();
    QCOMPARE(house.size(), 97);
    QCOMPARE(community.size(), 31);
    const QStringList houseKeys = keysOf(house);
    const QStringList communityKeys = keysOf(community);
    QCOMPARE(QSet<QString>(houseKeys.begin(), houseKeys.end()).size(), 97);
    QCOMPARE(QSet<QString>(communityKeys.begin(), communityKeys.end()).size(), 31);
    const QSet<QString> types{QStringLiteral("int"), QStringLiteral("varchar"), QStringLiteral("float")};
    for (const QVariantMap &c : house + community)
        QVERIFY2(types.contains(c.value("type").toString()), qPrintable(c.value("key").toString()));

    // Spot checks at both ends and where the types vary.
    QCOMPARE(house.first(), column("id", "int"));
    QCOMPARE(house.at(15), column("price", "float"));
    QCOMPARE(house.at(17), column("builtuparea", "float"));
    QCOMPARE(house.at(52), column("unitNo", "varchar"));
    QCOMPARE(house.last(), column("isdel", "int"));
    QCOMPARE(community.at(3), column("district", "int"));
    QCOMPARE(community.at(7), column("othrename", "varchar"));
    QCOMPARE(community.last(), column("cityid", "int"));
}

// A table built from the lists reads back through PRAGMA as needing no change.
void TestCompanyConfig::requiredColumnsSurviveSqlite()
{
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, false);
    const QList<QVariantMap> required = CompanySQLConfig_DataSqltable::houseColumns();
    QVERIFY(config.createTable(createStatement("house", required), BaseSqlObject::CompanyDB));
    const QList<QVariantMap> present = config.getTableColumns("house", BaseSqlObject::CompanyDB);
    QCOMPARE(present.size(), 97);
    QVERIFY(CompanySQLConfig_DataSqltable::columnsToAdd(present, required).isEmpty());
    QVERIFY(CompanySQLConfig_DataSqltable::columnsToDrop(present, required).isEmpty());
}

void TestCompanyConfig::columnComparisons_data()
{
    using Columns = QList<QVariantMap>;
    QTest::addColumn<Columns>("present");
    QTest::addColumn<Columns>("required");
    QTest::addColumn<QStringList>("toAdd");
    QTest::addColumn<QStringList>("toDrop");

    const Columns required{column("id", "int"), column("name", "varchar"), column("price", "float")};
    QTest::newRow("same") << required << required << QStringList() << QStringList();
    QTest::newRow("copied table types")
        << Columns{column("id", "INT"), column("name", "TEXT"), column("price", "REAL")} << required
        << QStringList() << QStringList();
    QTest::newRow("upper-case declarations")
        << Columns{column("ID", "INT"), column("Name", "VARCHAR"), column("price", "FLOAT")} << required
        << QStringList() << QStringList();
    QTest::newRow("missing column") << Columns{column("id", "int"), column("price", "float")} << required
                                    << QStringList{"name"} << QStringList();
    QTest::newRow("extra column")
        << Columns{column("id", "int"), column("oldflag", "int"), column("name", "varchar"), column("price", "float")}
        << required << QStringList() << QStringList{"oldflag"};
    QTest::newRow("type changed")
        << Columns{column("id", "int"), column("name", "varchar"), column("price", "TEXT")} << required
        << QStringList{"price"} << QStringList{"price"};
    QTest::newRow("empty table") << Columns() << required << QStringList{"id", "name", "price"} << QStringList();
}

void TestCompanyConfig::columnComparisons()
{
    using Columns = QList<QVariantMap>;
    QFETCH(Columns, present);
    QFETCH(Columns, required);
    QFETCH(QStringList, toAdd);
    QFETCH(QStringList, toDrop);
    const Columns added = CompanySQLConfig_DataSqltable::columnsToAdd(present, required);
    QCOMPARE(keysOf(added), toAdd);
    for (const QVariantMap &c : added)
        QVERIFY(required.contains(c));  // added with the required declaration
    QCOMPARE(CompanySQLConfig_DataSqltable::columnsToDrop(present, required), toDrop);
}

void TestCompanyConfig::upgradeBringsOldTableToRequiredColumns()
{
    HostFixture host;
    CompanySQLConfig_DataSqltable config(nullptr, false);
    QList<QVariantMap> old = CompanySQLConfig_DataSqltable::houseColumns();
    old.removeLast();  // isdel
    old.removeAt(old.size() - 1);  // realuserphone
    old.append(column("oldflag", "int"));
    QVERIFY(config.createTable(createStatement("house", old), BaseSqlObject::CompanyDB));
    QVERIFY(run(config, "insert into house(id, name, price, oldflag) values(7, 'n', 88.5, 1)"));

    QVERIFY(config.upgradeColumns());

    const QList<QVariantMap> present = config.getTableColumns("house", BaseSqlObject::CompanyDB);
    QVERIFY(CompanySQLConfig_DataSqltable::columnsToAdd(present, CompanySQLConfig_DataSqltable::houseColumns()).isEmpty());
    QVERIFY(CompanySQLConfig_DataSqltable::columnsToDrop(present, CompanySQLConfig_DataSqltable::houseColumns()).isEmpty());
    QCOMPARE(scalar(config, "select price from house where id=7").toDouble(), 88.5);
    QVERIFY(!run(config, "insert into house(id) values(7)"));  // the id stays unique

    const QJsonArray added = QJsonDocument::fromJson(config.getRow().value("house_add_key").toString().toUtf8()).array();
    QCOMPARE(added.size(), 2);
    QCOMPARE(added.at(0).toObject().value("key").toString(), QStringLiteral("realuserphone"));
    QCOMPARE(added.at(1).toObject().value("key").toString(), QStringLiteral("isdel"));
    // No community table yet: nothing to upgrade, nothing recorded.
    QCOMPARE(config.getRow().value("community_add_key").toString(), QString());
}

void TestCompanyConfig::cityHouseSetRowAndWrites()
{
    HostFixture host;
    CityHouseSet_DataSqlTable city(nullptr, false);
    const QVariantMap row = city.getRow();
    QCOMPARE(row.value("id").toInt(), 1);
    QCOMPARE(row.value("showsort").toString(), QString());
    QVERIFY(!city.showSort().isValid());

    const QJsonObject reply{{"showsort", QJsonArray{"name", "price"}},
                            {"search", QJsonArray{QJsonObject{{"key", "district"}}}}};
    QVERIFY(city.storeConfigReply(reply));
    QCOMPARE(city.showSort().toStringList(), QStringList({"name", "price"}));
    QCOMPARE(city.searchSort().toList().first().toMap().value("key").toString(), QStringLiteral("district"));

    QVERIFY(!city.updateColumn(QStringLiteral("id"), QStringLiteral("2")));
    QVERIFY(city.updateColumn(QStringLiteral("showsort"), QStringLiteral("[\"broken")));
    QVERIFY(!city.showSort().isValid());

    DataCenter::CurrentWindow = QStringLiteral("Login");
    QVERIFY(!city.updateColumn(QStringLiteral("searchsort"), QStringLiteral("[]")));
    QVERIFY(city.searchSort().isValid());

    CityHouseSet_DataSqlTable again(nullptr, false);  // one row, however often it is opened
    QCOMPARE(scalar(again, "select count(*) from cityHouseSet", BaseSqlObject::PersonDB).toInt(), 1);
}

void TestCompanyConfig::cityHouseSetIgnoresJointSaleFlag()
{
    HostFixture host;
    CityHouseSet_DataSqlTable jointSale(nullptr, true);
    QVERIFY(jointSale.updateColumn(QStringLiteral("showsort"), QStringLiteral("[\"a\"]")));
    QVERIFY(jointSale.isHaveTable(QStringLiteral("cityHouseSet"), BaseSqlObject::PersonDB));
    QVERIFY(!jointSale.isHaveTable(QStringLiteral("cityHouseSet_jointsale"), BaseSqlObject::PersonDB));
    CityHouseSet_DataSqlTable normal(nullptr, false);
    QCOMPARE(normal.showSort().toStringList(), QStringList{"a"});
}

void TestCompanyConfig::weihuStoresDaysAndSkipsBadIds()
{
    HostFixture host;
    HouseBookWeiHuMessage_DataSqlTable weihuTable(nullptr, true);
    const QList<QVariantMap> list{weihu(31, 3), weihu("32", "12"), weihu("x", 5), weihu(0, 5),
                                  weihu("33; drop table weihu_house", 1), weihu(31, 4)};
    QVERIFY(weihuTable.storeDays(list));
    QCOMPARE(weihuTable.daysOf(31), QStringLiteral("4"));  // a later entry replaces the earlier
    QCOMPARE(weihuTable.daysOf(32), QStringLiteral("12"));
    QCOMPARE(scalar(weihuTable, "select count(*) from weihu_house").toInt(), 2);

    // A new download is the whole worklist; kept rows only when asked.
    QVERIFY(weihuTable.storeDays({weihu(40, 1)}));
    QCOMPARE(weihuTable.daysOf(31), QString());
    QVERIFY(weihuTable.storeDays({weihu(41, 2)}, false));
    QCOMPARE(weihuTable.daysOf(40), QStringLiteral("1"));
}

void TestCompanyConfig::weihuCountJoinsHouse()
{
    HostFixture host;
    HouseBookWeiHuMessage_DataSqlTable weihuTable(nullptr, true);
    QCOMPARE(weihuTable.count(), 0);  // no listing table yet
    QVERIFY(weihuTable.createTable(QStringLiteral("create table house(id int unique,types int,name varchar)"),
                                   BaseSqlObject::CompanyDB));
    QVERIFY(run(weihuTable, "insert into house values(1, 0, 'a%b'), (2, 1, 'c'), (3, 0, 'd')"));
    QVERIFY(weihuTable.storeDays({weihu(1, 3), weihu(2, 5), weihu(9, 1)}));

    QCOMPARE(weihuTable.count(), 2);  // listing 9 is not in house, listing 3 has no days
    QCOMPARE(weihuTable.count(QStringLiteral("where house.types = ?"), {0}), 1);
    QCOMPARE(weihuTable.count(QStringLiteral("where house.name like '<%>%<%>'")), 2);
    QCOMPARE(weihuTable.count(QStringLiteral("where house.name like ?"), {QStringLiteral("a%")}), 1);
}

QTEST_MAIN(TestCompanyConfig)
#include "tst_companyconfig.moc"
