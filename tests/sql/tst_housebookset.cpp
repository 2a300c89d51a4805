#include "sql/basemessage_sqltable.h"
#include "sql/housebookcatalogue.h"
#include "sql/housebookset_sqltable.h"

#include "commonsignaltool.h"
#include "datacenter.h"
#include "hostfixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopedPointer>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Reaches the raw table, to see what was stored and to damage it the way a crash or another
// module might.
class SqlProbe : public BaseSqlObject
{
public:
    explicit SqlProbe(bool jointSale = false) : BaseSqlObject(nullptr, jointSale) {}
    using BaseSqlObject::exec;
    using BaseSqlObject::selectRows;
    QVariant value(const QString &sql)
    {
        const QList<QVariantMap> rows = selectRows(PersonDB, sql);
        return rows.isEmpty() ? QVariant() : rows.first().value(QStringLiteral("v"));
    }
};

QList<int> idsOf(const QList<QVariantMap> &entries)
{
    QList<int> ids;
    for (const QVariantMap &e : entries)
        ids << e.value(QStringLiteral("id")).toInt();
    return ids;
}

QList<int> idsOfJson(const QString &json)
{
    QList<int> ids;
    for (const QJsonValue &v : QJsonDocument::fromJson(json.toUtf8()).array())
        ids << v.toObject().value(QStringLiteral("id")).toInt();
    return ids;
}

QVariantMap entryWithId(const QList<QVariantMap> &entries, int id)
{
    for (const QVariantMap &e : entries) {
        if (e.value(QStringLiteral("id")).toInt() == id)
            return e;
    }
    return QVariantMap();
}

QJsonValue parse(const char *json)
{
    return QJsonDocument::fromJson(json).object().value(QStringLiteral("v"));
}

QList<int> intList(std::initializer_list<int> ids)
{
    return QList<int>(ids);
}

} // namespace

class TestHouseBookSet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshRowHoldsDefaults();
    void freshChoiceColumns_data();
    void freshChoiceColumns();
    void lostRowOrTableComesBack();
    void jointSaleTablesAreSeparate();

    void cataloguesAreComplete();
    void catalogueEntries_data();
    void catalogueEntries();
    void defaultListsCarryCatalogueFlags();

    void mergedListKeepsStoredOrderAndCompletesEntries();
    void unreadableChoiceListsGiveDefaults_data();
    void unreadableChoiceListsGiveDefaults();
    void verificationColumnOnlyInItsCity();
    void otherKindReadsCitySearchOrder();
    void placeholdersFilledFromReferenceData();
    void placeholdersWithoutReferenceDataKeepCaption();

    void unreadableSettingsFallBack_data();
    void unreadableSettingsFallBack();
    void bookSetMembers();
    void stateClassesAsNames();

    void storeSettingsReply();
    void storeSettingsReplyKeepsWhatIsMissing();
    void malformedSettingsRepliesChangeNothing_data();
    void malformedSettingsRepliesChangeNothing();
    void changeIsAnnounced();
    void loginWindowWritesNothing();
    void columnNamesAreNotTakenFromCallers();
    void xieZuoRules();

    void historyIds_data();
    void historyIds();
    void appendHistoryId();

private:
    QScopedPointer<HostFixture> m_host;
};

void TestHouseBookSet::init()
{
    m_host.reset(new HostFixture);
}

void TestHouseBookSet::cleanup()
{
    m_host.reset();
}

// ---- the row -------------------------------------------------------------------------

void TestHouseBookSet::freshRowHoldsDefaults()
{
    HouseBookSet_SqlTable set(nullptr, false);
    QCOMPARE(set.pageSize(), 20);
    QCOMPARE(set.enterFresh(), 1);
    QCOMPARE(set.housePush(), 1);
    QCOMPARE(set.houseRepeat(), QString());
    QCOMPARE(set.getValue(QStringLiteral("item")),
             QStringLiteral("[{\"id\":4,\"title\":\"出售房源\",\"choose\":true},{\"id\":3,\"title\":\"出租房源\","
                            "\"choose\":true},{\"id\":2,\"title\":\"我的出售\",\"choose\":true},{\"id\":1,\"title\":"
                            "\"我的出租\",\"choose\":true}]"));

    const QList<QVariantMap> tabs = set.tabs();
    QCOMPARE(tabs.size(), 4);
    const QStringList titles{QStringLiteral("出售房源"), QStringLiteral("出租房源"), QStringLiteral("我的出售"),
                             QStringLiteral("我的出租")};
    for (int i = 0; i < tabs.size(); ++i) {
        QCOMPARE(tabs.at(i).value(QStringLiteral("title")).toString(), titles.at(i));
        QVERIFY(tabs.at(i).value(QStringLiteral("choose")).toBool());
    }
    for (const QString &key : {QStringLiteral("readhistory"), QStringLiteral("likehistory"),
                               QStringLiteral("noticehistory"), QStringLiteral("bookset")})
        QCOMPARE(set.getValue(key), QString());
    QVERIFY(set.historyIds(QStringLiteral("likehistory")).isEmpty());

    SqlProbe probe;
    QCOMPARE(probe.value(QStringLiteral("select count(*) as v from housebookset")).toInt(), 1);
    QCOMPARE(probe.value(QStringLiteral("select typeof(page) as v from housebookset")).toString(),
             QStringLiteral("integer"));
}

void TestHouseBookSet::freshChoiceColumns_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QList<int>>("ids");
    // Search field 24 is described nowhere and is not stored; 83 comes from the default lists.
    QTest::newRow("myrentsearch") << "myrentsearch"
                                  << intList({1, 83, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 38, 37,
                                              21, 22, 23, 25, 36, 27, 28, 29, 30});
    QTest::newRow("myrentshow") << "myrentshow"
                                << intList({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                            22, 23, 24, 25, 36});
    QTest::newRow("mysalesearch") << "mysalesearch"
                                  << intList({1, 83, 3, 4, 5, 6, 7, 8, 9, 31, 32, 10, 33, 11, 34, 13, 14, 18, 19, 20,
                                              21, 22, 23, 25, 26, 35, 27, 28, 29, 30});
    QTest::newRow("mysaleshow") << "mysaleshow"
                                << intList({1, 2, 3, 4, 5, 6, 7, 32, 26, 27, 28, 20, 16, 15, 29, 30, 9, 10, 19, 17,
                                            31, 18, 21, 22, 23, 24, 25, 36});
}

void TestHouseBookSet::freshChoiceColumns()
{
    QFETCH(QString, column);
    QFETCH(QList<int>, ids);
    HouseBookSet_SqlTable set(nullptr, false);
    const QString stored = set.getValue(column);
    QCOMPARE(idsOfJson(stored), ids);
    // Each stored entry is exactly {choose, id, title}, with a title.
    for (const QJsonValue &v : QJsonDocument::fromJson(stored.toUtf8()).array()) {
        const QJsonObject o = v.toObject();
        QCOMPARE(o.keys(), QStringList({"choose", "id", "title"}));
        QVERIFY(!o.value(QStringLiteral("title")).toString().isEmpty());
    }
}

void TestHouseBookSet::lostRowOrTableComesBack()
{
    {
        HouseBookSet_SqlTable set(nullptr, false);
        set.setValue(QStringLiteral("page"), QStringLiteral("50"));
        QCOMPARE(set.pageSize(), 50);
    }
    SqlProbe probe;
    QVERIFY(probe.exec(BaseSqlObject::PersonDB, QStringLiteral("delete from housebookset")));
    {
        HouseBookSet_SqlTable set(nullptr, false);
        QCOMPARE(set.pageSize(), 20);
        QCOMPARE(set.tabs().size(), 4);
    }
    probe.deleteAllTable();
    QVERIFY(!probe.isHaveTable(QStringLiteral("housebookset"), BaseSqlObject::PersonDB));
    HouseBookSet_SqlTable set(nullptr, false);
    QCOMPARE(set.pageSize(), 20);
    QCOMPARE(probe.value(QStringLiteral("select count(*) as v from housebookset")).toInt(), 1);
    // A second construction adds no second row.
    HouseBookSet_SqlTable again(nullptr, false);
    QCOMPARE(probe.value(QStringLiteral("select count(*) as v from housebookset")).toInt(), 1);
}

void TestHouseBookSet::jointSaleTablesAreSeparate()
{
    HouseBookSet_SqlTable normal(nullptr, false);
    HouseBookSet_SqlTable joint(nullptr, true);
    BaseMessage_SqlTable normalRef(nullptr, false);
    BaseMessage_SqlTable jointRef(nullptr, true);
    for (const char *table : {"housebookset", "housebookset_jointsale", "basemessage", "basemessage_jointsale"})
        QVERIFY2(normal.isHaveTable(QString::fromLatin1(table), BaseSqlObject::PersonDB), table);

    QVERIFY(joint.setValue(QStringLiteral("page"), QStringLiteral("35")));
    QVERIFY(jointRef.setValue(QStringLiteral("zhuangxiu"), QStringLiteral("[{\"name\":\"精装\"}]")));
    QCOMPARE(joint.pageSize(), 35);
    QCOMPARE(normal.pageSize(), 20);
    QCOMPARE(jointRef.names(QStringLiteral("zhuangxiu")), QStringList{QStringLiteral("精装")});
    QVERIFY(normalRef.names(QStringLiteral("zhuangxiu")).isEmpty());

    // The joint-sale catalogue is filled from the joint-sale reference data only.
    QCOMPARE(entryWithId(joint.searchCatalogue(), 8).value(QStringLiteral("placeholder")).toString(),
             QStringLiteral("装修,精装"));
    QCOMPARE(entryWithId(normal.searchCatalogue(), 8).value(QStringLiteral("placeholder")).toString(),
             QStringLiteral("装修"));
}

// ---- catalogues ----------------------------------------------------------------------

void TestHouseBookSet::cataloguesAreComplete()
{
    const QList<QVariantMap> fields = HouseBookCatalogue::searchFields();
    const QList<QVariantMap> columns = HouseBookCatalogue::listColumns();
    QCOMPARE(fields.size(), 74);
    QCOMPARE(columns.size(), 67);
    const QList<int> fieldIds = idsOf(fields);
    QCOMPARE(QSet<int>(fieldIds.begin(), fieldIds.end()).size(), 74);
    const QList<int> columnIds = idsOf(columns);
    QCOMPARE(QSet<int>(columnIds.begin(), columnIds.end()), [] {
        QSet<int> all;
        for (int i = 1; i <= 67; ++i)
            all << i;
        return all;
    }());

    for (const QVariantMap &f : fields) {
        for (const char *member : {"id", "title", "choose", "type", "maxW", "SingleLine", "placeholder", "content"})
            QVERIFY2(f.contains(QLatin1String(member)), member);
        QVERIFY(!f.value(QStringLiteral("placeholder")).toString().isEmpty());
    }
    for (const QVariantMap &c : columns) {
        for (const char *member : {"id", "title", "choose", "sort", "rate", "attach", "key"})
            QVERIFY2(c.contains(QLatin1String(member)), member);
        QVERIFY(c.value(QStringLiteral("key")).toString().startsWith(QLatin1String("key_")));
        QCOMPARE(c.contains(QStringLiteral("default_choose")), c.value(QStringLiteral("id")).toInt() == 67);
    }
    // The JSON texts carry the same catalogues.
    QCOMPARE(QJsonDocument::fromJson(HouseBookCatalogue::searchFieldsJson().toUtf8()).array().size(), 74);
    QCOMPARE(QJsonDocument::fromJson(HouseBookCatalogue::listColumnsJson().toUtf8()).array().size(), 67);
}

void TestHouseBookSet::catalogueEntries_data()
{
    QTest::addColumn<bool>("search");
    QTest::addColumn<int>("id");
    QTest::addColumn<QVariantMap>("expected");
    auto map = [](std::initializer_list<std::pair<QString, QVariant>> l) { return QVariantMap(l); };
    QTest::newRow("search 1 community") << true << 1
                                        << map({{"title", "小区"}, {"type", 6}, {"choose", true}, {"maxW", 240}});
    QTest::newRow("search 9 options")
        << true << 9
        << map({{"type", 1}, {"choose", false}, {"placeholder", "朝向,其他,东,南,西,北,南北,东西,东南,西南,东北,西北"}});
    QTest::newRow("search 25 range") << true << 25 << map({{"type", 4}, {"maxW", 165}, {"SingleLine", true}});
    QTest::newRow("search 29 dates") << true << 29
                                     << map({{"type", 5}, {"choose", false}, {"maxW", 165}, {"SingleLine", true}});
    QTest::newRow("search 67 names") << true << 67 << map({{"title", "房主、客户姓名"}, {"type", 0}});
    QTest::newRow("search 77 worklist")
        << true << 77 << map({{"type", 7}, {"placeholder", "待协作状态,待录入,待维护,待委托,待实勘,待钥匙,待独家代理,待成交"}});
    QTest::newRow("search 81 numbered") << true << 81 << map({{"placeholder", "类型,%27"}, {"choose", true}});
    QTest::newRow("column 1") << false << 1
                              << map({{"key", "key_bianHao"}, {"sort", true}, {"choose", true}, {"rate", 3}});
    QTest::newRow("column 13") << false << 13 << map({{"key", "key_monthmoney"}, {"sort", true}, {"choose", false}});
    QTest::newRow("column 61 fixed") << false << 61 << map({{"key", "key_xiezuo"}, {"rate", 1}, {"fixed", 215}});
    QTest::newRow("column 67 required")
        << false << 67 << map({{"title", "核验码"}, {"fixed", 150}, {"default_choose", true}});
}

void TestHouseBookSet::catalogueEntries()
{
    QFETCH(bool, search);
    QFETCH(int, id);
    QFETCH(QVariantMap, expected);
    const QVariantMap entry =
        entryWithId(search ? HouseBookCatalogue::searchFields() : HouseBookCatalogue::listColumns(), id);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(entry.value(it.key()).toString(), it.value().toString());
}

void TestHouseBookSet::defaultListsCarryCatalogueFlags()
{
    using namespace HouseBookCatalogue;
    const QList<QVariantMap> sale = defaultChoices(SaleSearch);
    QCOMPARE(sale.size(), 34);
    QCOMPARE(idsOf(sale).mid(0, 4), intList({1, 83, 3, 4}));
    QCOMPARE(entryWithId(sale, 83).value(QStringLiteral("title")).toString(), QStringLiteral("区域/片区"));
    QCOMPARE(entryWithId(sale, 76).value(QStringLiteral("title")).toString(), QStringLiteral("已协作"));
    QVERIFY(entryWithId(sale, 10).value(QStringLiteral("choose")).toBool());
    QVERIFY(!entryWithId(sale, 9).value(QStringLiteral("choose")).toBool());
    QCOMPARE(defaultChoices(RentSearch).size(), 31);
    QCOMPARE(defaultChoices(SaleShow).size(), 30);
    QCOMPARE(defaultChoices(RentShow).size(), 29);
    QCOMPARE(idsOf(defaultChoices(SaleContractShow)).last(), 66);
    QCOMPARE(idsOf(defaultChoices(RentContractShow)).size(), 15);
    QCOMPARE(idsOf(defaultChoices(CustomerShow)).size(), 16);
    QVERIFY(!idsOf(defaultChoices(SaleShow)).contains(67));
}

// ---- choice lists --------------------------------------------------------------------

void TestHouseBookSet::mergedListKeepsStoredOrderAndCompletesEntries()
{
    HouseBookSet_SqlTable set(nullptr, false);
    // An entry of its own title and flag, a bare id, numeric text, a duplicate, an unknown id
    // without a title, and an unknown id with one.
    QVERIFY(set.setValue(QStringLiteral("mysaleshow"),
                         QStringLiteral("[{\"choose\":false,\"id\":26,\"title\":\"售价\"},3,\"13\",{\"id\":26},"
                                        "{\"id\":999},{\"id\":998,\"title\":\"自定义\",\"choose\":true},null,\"x\"]")));
    const QList<QVariantMap> items = set.showItems(HouseBookSet_SqlTable::SaleBook);
    QCOMPARE(idsOf(items), intList({26, 3, 13, 998}));

    const QVariantMap price = items.at(0);
    QCOMPARE(price.value(QStringLiteral("title")).toString(), QStringLiteral("售价"));
    QCOMPARE(price.value(QStringLiteral("choose")).toBool(), false);
    QCOMPARE(price.value(QStringLiteral("key")).toString(), QStringLiteral("key_price"));
    QCOMPARE(price.value(QStringLiteral("sort")).toBool(), true);
    QCOMPARE(price.value(QStringLiteral("rate")).toInt(), 4);
    QCOMPARE(items.at(1).value(QStringLiteral("title")).toString(), QStringLiteral("小区"));
    QCOMPARE(items.at(1).value(QStringLiteral("choose")).toBool(), true);
    QCOMPARE(items.at(3).value(QStringLiteral("title")).toString(), QStringLiteral("自定义"));

    QVERIFY(set.setValue(QStringLiteral("myrentsearch"), QStringLiteral("[{\"choose\":true,\"id\":36,\"title\":\"租金\"},"
                                                                         "{\"choose\":false,\"id\":12,\"title\":\"配套\"}]")));
    const QList<QVariantMap> search = set.searchItems(HouseBookSet_SqlTable::RentBook);
    QCOMPARE(idsOf(search), intList({36, 12}));
    QCOMPARE(search.at(0).value(QStringLiteral("type")).toInt(), 4);
    QCOMPARE(search.at(0).value(QStringLiteral("SingleLine")).toBool(), true);
    QCOMPARE(search.at(1).value(QStringLiteral("placeholder")).toString().section(',', 0, 1),
             QStringLiteral("配套,水"));

    // What the settings pages write back is read back in the same order.
    QList<QVariantMap> edited = set.searchItems(HouseBookSet_SqlTable::RentBook);
    std::reverse(edited.begin(), edited.end());
    QVERIFY(set.setSearchItems(HouseBookSet_SqlTable::RentBook, edited));
    QCOMPARE(idsOf(set.searchItems(HouseBookSet_SqlTable::RentBook)), intList({12, 36}));
    QCOMPARE(idsOfJson(set.getValue(QStringLiteral("myrentsearch"))), intList({12, 36}));
}

void TestHouseBookSet::unreadableChoiceListsGiveDefaults_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << "";
    QTest::newRow("empty array") << "[]";
    QTest::newRow("truncated") << "[{\"id\":1,";
    QTest::newRow("object") << "{\"id\":3}";
    QTest::newRow("text") << "小区,区域";
    QTest::newRow("null") << "null";
    QTest::newRow("wrong things") << "[null,true,[1],{\"title\":\"x\"},{\"id\":-2},{\"id\":\"abc\"}]";
}

void TestHouseBookSet::unreadableChoiceListsGiveDefaults()
{
    QFETCH(QString, stored);
    using namespace HouseBookCatalogue;
    HouseBookSet_SqlTable set(nullptr, false);
    for (const QString &column : {QStringLiteral("mysalesearch"), QStringLiteral("myrentsearch"),
                                  QStringLiteral("mysaleshow"), QStringLiteral("myrentshow")})
        QVERIFY(set.setValue(column, stored));
    QCOMPARE(idsOf(set.searchItems(HouseBookSet_SqlTable::SaleBook)), idsOf(defaultChoices(SaleSearch)));
    QCOMPARE(idsOf(set.searchItems(HouseBookSet_SqlTable::RentBook)), idsOf(defaultChoices(RentSearch)));
    QCOMPARE(idsOf(set.showItems(HouseBookSet_SqlTable::SaleBook)), idsOf(defaultChoices(SaleShow)));
    QCOMPARE(idsOf(set.showItems(HouseBookSet_SqlTable::RentBook)), idsOf(defaultChoices(RentShow)));
    // Defaults are completed from the catalogue too.
    QCOMPARE(entryWithId(set.showItems(HouseBookSet_SqlTable::SaleBook), 61).value(QStringLiteral("fixed")).toInt(), 215);
}

void TestHouseBookSet::verificationColumnOnlyInItsCity()
{
    HouseBookSet_SqlTable set(nullptr, false);
    DataCenter::HuaiNanCityId = 340400;
    QVERIFY(!idsOf(set.showItems(HouseBookSet_SqlTable::SaleBook)).contains(67));
    QVERIFY(!idsOf(set.showItems(HouseBookSet_SqlTable::RentBook)).contains(67));

    DataCenter::CityID = DataCenter::HuaiNanCityId;
    for (int kind : {int(HouseBookSet_SqlTable::SaleBook), int(HouseBookSet_SqlTable::RentBook)}) {
        const QList<QVariantMap> items = set.showItems(kind);
        QCOMPARE(items.last().value(QStringLiteral("id")).toInt(), 67);
        QVERIFY(items.last().value(QStringLiteral("default_choose")).toBool());
        QCOMPARE(idsOf(items).count(67), 1);
    }
    // Already chosen: kept where the user put it, not added twice.
    QVERIFY(set.setValue(QStringLiteral("mysaleshow"), QStringLiteral("[67,1,2]")));
    QCOMPARE(idsOf(set.showItems(HouseBookSet_SqlTable::SaleBook)), intList({67, 1, 2}));
}

void TestHouseBookSet::otherKindReadsCitySearchOrder()
{
    HouseBookSet_SqlTable set(nullptr, false);
    QCOMPARE(idsOf(set.searchItems(0)), idsOf(HouseBookCatalogue::defaultChoices(HouseBookCatalogue::SaleSearch)));
    SqlProbe probe;
    QVERIFY(probe.exec(BaseSqlObject::PersonDB, QStringLiteral("update cityHouseSet set searchsort=? where id=1"),
                       {QStringLiteral("[{\"id\":23,\"title\":\"关键字\",\"choose\":true},{\"id\":4}]")}));
    QCOMPARE(idsOf(set.searchItems(3)), intList({23, 4}));
    QCOMPARE(idsOf(set.searchItems(HouseBookSet_SqlTable::SaleBook)).size(), 30);
}

void TestHouseBookSet::placeholdersFilledFromReferenceData()
{
    BaseMessage_SqlTable ref(nullptr, false);
    HouseBookSet_SqlTable set(nullptr, false);
    const QList<QPair<QString, QString>> stored{
        {"area", "[{\"name\":\"蜀山区\",\"status\":1,\"sons\":[{\"name\":\"南七\"},{\"name\":\"西园\"}]},"
                 "{\"name\":\"包河区\",\"status\":1,\"sons\":[]}]"},
        {"housetype", "[{\"name\":\"住宅\"},{\"name\":\"别墅\"}]"},
        {"zhuangxiu", "[{\"name\":\"毛坯\"},{\"name\":\"精装\"}]"},
        {"traffic", "[{\"name\":\"地铁\"}]"},
        {"saletag", "[{\"name\":\"满五\"}]"},
        {"renttag", "[{\"name\":\"拎包入住\"}]"},
        {"property2", "[{\"name\":\"有证\"}]"},
        {"hutype", "[{\"name\":\"一室\"}]"},
        {"clouditem", "[{\"name\":\"住宅\",\"rentType\":1}]"},
        {"customersaleset", "{\"tags\":[{\"name\":\"急\"}],\"fukuan\":[{\"name\":\"全款\"}],"
                            "\"state\":[{\"title\":\"有效\",\"lable\":\"A\"},{\"title\":\"暂缓\",\"lable\":\"B\"}]}"},
        {"salecontractset", "{\"tags\":[{\"name\":\"加急\"},{\"name\":\"贷款\"}]}"}};
    for (const auto &p : stored)
        QVERIFY(ref.setValue(p.first, p.second));
    QVERIFY(set.setValue(QStringLiteral("bookset"),
                         QStringLiteral("{\"chushoustate\":[{\"title\":\"急售\",\"lable\":\"A\"},"
                                        "{\"title\":\"普通\",\"lable\":\"B\"}]}")));

    const QList<QVariantMap> catalogue = set.searchCatalogue();
    auto placeholder = [&](int id) { return entryWithId(catalogue, id).value(QStringLiteral("placeholder")).toString(); };
    QCOMPARE(placeholder(6), QStringLiteral("房屋类型,住宅,别墅"));
    QCOMPARE(placeholder(8), QStringLiteral("装修,毛坯,精装"));
    QCOMPARE(placeholder(13), QStringLiteral("交通,地铁"));
    QCOMPARE(placeholder(19), QStringLiteral("标签,满五"));
    QCOMPARE(placeholder(38), QStringLiteral("标签,拎包入住"));
    QCOMPARE(placeholder(32), QStringLiteral("产证,有证"));
    QCOMPARE(placeholder(55), QStringLiteral("区域,蜀山区,包河区"));
    QCOMPARE(placeholder(63), QStringLiteral("标签,急"));
    QCOMPARE(placeholder(68), QStringLiteral("标签,加急,贷款"));
    QCOMPARE(placeholder(72), QStringLiteral("付款方式,全款"));
    QCOMPARE(placeholder(75), QStringLiteral("户型,一室"));
    QCOMPARE(placeholder(78), QStringLiteral("状态,有效(A),暂缓(B)"));
    QCOMPARE(placeholder(81), QStringLiteral("类型,住宅"));
    // Sale states: the company's classes, then the states every sale book has.
    QCOMPARE(placeholder(20), QStringLiteral("状态,急售,普通,无效,已售,成交,已定,电话无效,暂不售"));
    QCOMPARE(placeholder(37), QStringLiteral("状态,无效,已租,成交,已定,电话无效,暂不租"));
    const QVariantList stateSons = entryWithId(catalogue, 20).value(QStringLiteral("sons")).toList();
    QCOMPARE(stateSons.size(), 8);
    QCOMPARE(stateSons.first().toMap().value(QStringLiteral("title")).toString(), QStringLiteral("急售"));

    // The area field lists the districts and, under each, its areas.
    QCOMPARE(placeholder(2), QStringLiteral("选择区域<step>蜀山区,包河区<step>more"));
    const QVariantList districts = entryWithId(catalogue, 2).value(QStringLiteral("sons")).toList();
    QCOMPARE(districts.size(), 2);
    const QVariantList areas = districts.first().toMap().value(QStringLiteral("sons")).toList();
    QCOMPARE(areas.size(), 2);
    QCOMPARE(areas.at(1).toMap().value(QStringLiteral("title")).toString(), QStringLiteral("西园"));

    // The chosen search items carry the filled placeholders.
    QCOMPARE(entryWithId(set.searchItems(HouseBookSet_SqlTable::SaleBook), 8).value(QStringLiteral("placeholder")).toString(),
             QStringLiteral("装修,毛坯,精装"));
}

void TestHouseBookSet::placeholdersWithoutReferenceDataKeepCaption()
{
    BaseMessage_SqlTable ref(nullptr, false);
    HouseBookSet_SqlTable set(nullptr, false);
    // Option texts that look like placeholders are taken literally, never filled again.
    QVERIFY(ref.setValue(QStringLiteral("traffic"), QStringLiteral("[{\"name\":\"%5路\"},{\"name\":\"%1\"}]")));
    QVERIFY(ref.setValue(QStringLiteral("payway"), QStringLiteral("not json")));
    const QList<QVariantMap> catalogue = set.searchCatalogue();
    QCOMPARE(catalogue.size(), 74);
    for (const QVariantMap &field : catalogue) {
        const QString text = field.value(QStringLiteral("placeholder")).toString();
        if (field.value(QStringLiteral("id")).toInt() != 13)
            QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("%\\d"))), qPrintable(text));
    }
    QCOMPARE(entryWithId(catalogue, 13).value(QStringLiteral("placeholder")).toString(), QStringLiteral("交通,%5路,%1"));
    QCOMPARE(entryWithId(catalogue, 17).value(QStringLiteral("placeholder")).toString(), QStringLiteral("付款方式"));
    QCOMPARE(entryWithId(catalogue, 6).value(QStringLiteral("placeholder")).toString(), QStringLiteral("房屋类型"));
    QCOMPARE(entryWithId(catalogue, 80).value(QStringLiteral("sons")).toList().size(), 0);
    QCOMPARE(entryWithId(catalogue, 48).value(QStringLiteral("sons")).toList().size(), 5);
}

// ---- settings values -----------------------------------------------------------------

void TestHouseBookSet::unreadableSettingsFallBack_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("bookset");
    QTest::newRow("garbage") << "not json" << "abc" << "{broken";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("wrong shapes") << "{\"id\":4}" << "0" << "[1,2]";
    QTest::newRow("wrong entries") << "[1,\"a\",null,{\"title\":\"x\"}]" << "-5" << "\"text\"";
}

void TestHouseBookSet::unreadableSettingsFallBack()
{
    QFETCH(QString, item);
    QFETCH(QString, page);
    QFETCH(QString, bookset);
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(set.setValue(QStringLiteral("item"), item));
    QVERIFY(set.setValue(QStringLiteral("page"), page));
    QVERIFY(set.setValue(QStringLiteral("bookset"), bookset));
    QVERIFY(set.setValue(QStringLiteral("salexiezuoset"), bookset));
    QCOMPARE(idsOf(set.tabs()), intList({4, 3, 2, 1}));
    QCOMPARE(set.pageSize(), 20);
    QVERIFY(set.bookSet().isEmpty());
    QCOMPARE(set.companyGstate(), 0);
    QVERIFY(set.saleStates().isEmpty());
    QVERIFY(set.viewRecord().isEmpty());
    QVERIFY(set.saleXieZuoSet().isEmpty());
    QCOMPARE(set.searchCatalogue().size(), 74);
}

void TestHouseBookSet::bookSetMembers()
{
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(set.setValue(QStringLiteral("bookset"),
                         QStringLiteral("{\"companyGstate\":1,\"companySstate\":\"1\",\"company_rent_style\":2,"
                                        "\"company_sale_style\":3,\"storeGstate\":true,\"storeSstate\":0,"
                                        "\"yinhao_mode\":2,\"chuzustate\":[{\"title\":\"好租\",\"lable\":\"A\"}],"
                                        "\"viewrecord\":[{\"id\":1,\"choose\":true},{\"id\":2,\"choose\":false}]}")));
    QCOMPARE(set.companyGstate(), 1);
    QCOMPARE(set.companySstate(), 1);
    QCOMPARE(set.companyRentStyle(), 2);
    QCOMPARE(set.companySaleStyle(), 3);
    QCOMPARE(set.storeGstate(), 1);
    QCOMPARE(set.storeSstate(), 0);
    QCOMPARE(set.bookSetValue(QStringLiteral("yinhao_mode")).toInt(), 2);
    QCOMPARE(set.rentStates().size(), 1);
    QCOMPARE(set.rentStates().first().value(QStringLiteral("lable")).toString(), QStringLiteral("A"));
    QCOMPARE(set.viewRecord().size(), 2);
    QCOMPARE(set.viewRecord().at(1).value(QStringLiteral("choose")).toBool(), false);
}

void TestHouseBookSet::stateClassesAsNames()
{
    // The settings page may send the class names alone, as a list or as text.
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(set.setValue(QStringLiteral("bookset"),
                         QStringLiteral("{\"chushoustate\":[\"甲\",\"乙\",\"丙\",\"丁\"],\"chuzustate\":\"A1,B1\"}")));
    const QList<QVariantMap> sale = set.saleStates();
    QCOMPARE(sale.size(), 4);
    QCOMPARE(sale.at(2).value(QStringLiteral("title")).toString(), QStringLiteral("丙"));
    QCOMPARE(sale.at(2).value(QStringLiteral("lable")).toString(), QStringLiteral("C"));
    QCOMPARE(set.rentStates().size(), 2);
    QCOMPARE(set.rentStates().at(1).value(QStringLiteral("title")).toString(), QStringLiteral("B1"));
}

// ---- the settings download -----------------------------------------------------------

void TestHouseBookSet::storeSettingsReply()
{
    HouseBookSet_SqlTable set(nullptr, false);
    const QJsonValue reply = parse(R"({"v":{
        "item":[{"id":3,"title":"出租房源","choose":true},{"id":4,"title":"出售房源","choose":false}],
        "page":50,"enterfresh":0,"housepush":"0","setrepeat":"1,2,5",
        "mysalesearch":[{"choose":true,"id":23,"title":"关键字"}],
        "myrentsearch":"[{\"choose\":true,\"id\":36,\"title\":\"租金\"}]",
        "mysaleshow":[{"choose":true,"id":26,"title":"总价"}],
        "myrentshow":[{"choose":true,"id":13,"title":"租金"}],
        "companyGstate":1,"chushoustate":[{"title":"急售","lable":"A"}],"yinhao_mode":1}})");
    QVERIFY(set.storeHouseBookSet(reply));

    QCOMPARE(idsOf(set.tabs()), intList({3, 4}));
    QCOMPARE(set.tabs().at(1).value(QStringLiteral("choose")).toBool(), false);
    QCOMPARE(set.pageSize(), 50);
    QCOMPARE(set.enterFresh(), 0);
    QCOMPARE(set.housePush(), 0);
    QCOMPARE(set.houseRepeat(), QStringLiteral("1,2,5"));
    QCOMPARE(idsOf(set.searchItems(HouseBookSet_SqlTable::SaleBook)), intList({23}));
    QCOMPARE(idsOf(set.searchItems(HouseBookSet_SqlTable::RentBook)), intList({36}));
    QCOMPARE(idsOf(set.showItems(HouseBookSet_SqlTable::SaleBook)), intList({26}));
    QCOMPARE(idsOf(set.showItems(HouseBookSet_SqlTable::RentBook)), intList({13}));
    // The whole object is the company's settings.
    QCOMPARE(set.companyGstate(), 1);
    QCOMPARE(set.bookSet().value(QStringLiteral("page")).toInt(), 50);
    QCOMPARE(set.saleStates().first().value(QStringLiteral("title")).toString(), QStringLiteral("急售"));

    SqlProbe probe;
    for (const char *column : {"page", "enterfresh", "housepush"})
        QCOMPARE(probe.value(QStringLiteral("select typeof(%1) as v from housebookset").arg(QLatin1String(column))).toString(),
                 QStringLiteral("integer"));
}

void TestHouseBookSet::storeSettingsReplyKeepsWhatIsMissing()
{
    HouseBookSet_SqlTable set(nullptr, false);
    const QString saleSearch = set.getValue(QStringLiteral("mysalesearch"));
    QVERIFY(set.setValue(QStringLiteral("likehistory"), QStringLiteral("[7]")));
    // Missing members, nulls and numbers that are no numbers leave their columns alone.
    QVERIFY(set.storeHouseBookSet(parse(R"({"v":{"page":"abc","enterfresh":1.5,"housepush":null,
                                                  "item":null,"mysalesearch":null}})")));
    QCOMPARE(set.pageSize(), 20);
    QCOMPARE(set.enterFresh(), 1);
    QCOMPARE(set.housePush(), 1);
    QCOMPARE(set.tabs().size(), 4);
    QCOMPARE(set.getValue(QStringLiteral("mysalesearch")), saleSearch);
    QCOMPARE(set.historyIds(QStringLiteral("likehistory")), QStringList{"7"});
    QCOMPARE(set.bookSet().value(QStringLiteral("page")).toString(), QStringLiteral("abc"));

    // Members of the wrong kind are stored as text and read back as the defaults.
    QVERIFY(set.storeHouseBookSet(parse(R"({"v":{"item":5,"mysaleshow":{"id":1},"page":true}})")));
    QCOMPARE(idsOf(set.tabs()), intList({4, 3, 2, 1}));
    QCOMPARE(idsOf(set.showItems(HouseBookSet_SqlTable::SaleBook)),
             idsOf(HouseBookCatalogue::defaultChoices(HouseBookCatalogue::SaleShow)));
    QCOMPARE(set.pageSize(), 1);
}

void TestHouseBookSet::malformedSettingsRepliesChangeNothing_data()
{
    QTest::addColumn<QString>("reply");
    QTest::newRow("array") << R"({"v":[{"page":5}]})";
    QTest::newRow("text") << R"({"v":"{\"page\":5}"})";
    QTest::newRow("number") << R"({"v":5})";
    QTest::newRow("null") << R"({"v":null})";
    QTest::newRow("missing") << R"({})";
}

void TestHouseBookSet::malformedSettingsRepliesChangeNothing()
{
    QFETCH(QString, reply);
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(set.setValue(QStringLiteral("bookset"), QStringLiteral("{\"companyGstate\":1}")));
    const QVariantMap before = set.readRow();
    QSignalSpy spy(CommonSignalTool::Instance(), &CommonSignalTool::houseBookSetChange);
    QVERIFY(!set.storeHouseBookSet(parse(reply.toUtf8().constData())));
    QCOMPARE(set.readRow(), before);
    QCOMPARE(spy.count(), 0);
}

void TestHouseBookSet::changeIsAnnounced()
{
    HouseBookSet_SqlTable joint(nullptr, true);
    QSignalSpy spy(CommonSignalTool::Instance(), &CommonSignalTool::houseBookSetChange);
    QVERIFY(joint.storeHouseBookSet(parse(R"({"v":{"page":30}})")));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true); // which book changed
    QCOMPARE(spy.at(0).at(1).value<QObject *>(), &joint);

    QVERIFY(joint.setShowItems(HouseBookSet_SqlTable::RentBook, joint.showItems(HouseBookSet_SqlTable::RentBook)));
    QVERIFY(joint.setTabs(joint.tabs()));
    QCOMPARE(spy.count(), 3);

    // The listing sync's personal lists are no settings change; neither is a refused write.
    QVERIFY(joint.setValue(QStringLiteral("readhistory"), QStringLiteral("[1]")));
    QVERIFY(!joint.setSearchItems(7, joint.searchItems(HouseBookSet_SqlTable::SaleBook)));
    QCOMPARE(spy.count(), 3);
}

void TestHouseBookSet::loginWindowWritesNothing()
{
    HouseBookSet_SqlTable set(nullptr, false);
    DataCenter::CurrentWindow = QStringLiteral("Login");
    QSignalSpy spy(CommonSignalTool::Instance(), &CommonSignalTool::houseBookSetChange);
    QVERIFY(!set.setValue(QStringLiteral("page"), QStringLiteral("40")));
    QVERIFY(!set.storeHouseBookSet(parse(R"({"v":{"page":40}})")));
    QVERIFY(!set.setTabs({}));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(set.pageSize(), 20);
    QVERIFY(set.bookSet().isEmpty());
}

void TestHouseBookSet::columnNamesAreNotTakenFromCallers()
{
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(!set.setValue(QStringLiteral("page=1,id"), QStringLiteral("2")));
    QVERIFY(!set.setValue(QStringLiteral("id"), QStringLiteral("2")));
    QCOMPARE(set.getValue(QStringLiteral("id")), QString());
    QCOMPARE(set.getValue(QStringLiteral("page from housebookset --")), QString());
    // Values are bound, so quotes and SQL in them are stored as they are.
    const QString hostile = QStringLiteral("x'); drop table housebookset; --");
    QVERIFY(set.setValue(QStringLiteral("houserepeat"), hostile));
    QCOMPARE(set.houseRepeat(), hostile);
    QCOMPARE(set.readRow().value(QStringLiteral("id")).toInt(), 1);
}

void TestHouseBookSet::xieZuoRules()
{
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(set.storeXieZuoSet(true, parse(R"({"v":{"followdays":3,"rules":[{"type":1,"count":2,"choose":true}]}})")));
    QCOMPARE(set.saleXieZuoSet().value(QStringLiteral("followdays")).toInt(), 3);
    QVERIFY(set.rentXieZuoSet().isEmpty());
    QVERIFY(!set.storeXieZuoSet(true, parse(R"({"v":null})")));
    QVERIFY(!set.storeXieZuoSet(true, parse(R"({"v":"oops"})")));
    QCOMPARE(set.saleXieZuoSet().value(QStringLiteral("followdays")).toInt(), 3);
}

// ---- personal lists ------------------------------------------------------------------

void TestHouseBookSet::historyIds_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("numbers") << "[101,102,103]" << QStringList{"101", "102", "103"};
    QTest::newRow("numeric texts") << "[\"201\",\" 202 \"]" << QStringList{"201", "202"};
    QTest::newRow("objects") << "[{\"id\":301,\"title\":\"a\"},{\"houseid\":\"302\"},{\"id\":\"303\"}]"
                             << QStringList{"301", "302", "303"};
    QTest::newRow("comma text") << "401, 402,,403" << QStringList{"401", "402", "403"};
    QTest::newRow("one id") << "501" << QStringList{"501"};
    QTest::newRow("JSON text of a comma text") << "\"601,602\"" << QStringList{"601", "602"};
    QTest::newRow("JSON text of an array") << "\"[701,702]\"" << QStringList{"701", "702"};
    QTest::newRow("duplicates") << "[801,\"801\",{\"id\":801},802]" << QStringList{"801", "802"};
    QTest::newRow("wrong things") << "[null,true,-1,0,1.5,\"x\",[9],{\"name\":\"y\"},901]" << QStringList{"901"};
    QTest::newRow("big ids") << "[4294967297]" << QStringList{"4294967297"};
    QTest::newRow("garbage") << "garbage, text" << QStringList();
    QTest::newRow("broken JSON") << "[{\"id\":1" << QStringList();
    QTest::newRow("object") << "{\"list\":[1,2]}" << QStringList();
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("null") << "null" << QStringList();
}

void TestHouseBookSet::historyIds()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, ids);
    HouseBookSet_SqlTable set(nullptr, false);
    for (const QString &key : {QStringLiteral("likehistory"), QStringLiteral("readhistory"),
                               QStringLiteral("noticehistory")}) {
        QVERIFY(set.setValue(key, stored));
        QCOMPARE(set.historyIds(key), ids);
    }
    QVERIFY(set.setValue(QStringLiteral("houserepeat"), stored));
    QVERIFY(set.historyIds(QStringLiteral("houserepeat")).isEmpty());
}

void TestHouseBookSet::appendHistoryId()
{
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(set.appendHistoryId(QStringLiteral("readhistory"), QStringLiteral("11")));
    QVERIFY(set.appendHistoryId(QStringLiteral("readhistory"), QStringLiteral("12")));
    QVERIFY(set.appendHistoryId(QStringLiteral("readhistory"), QStringLiteral("11")));
    QCOMPARE(set.historyIds(QStringLiteral("readhistory")), QStringList({"11", "12"}));

    // Reminder objects the server sent stay as they are.
    QVERIFY(set.setValue(QStringLiteral("noticehistory"), QStringLiteral("[{\"id\":5,\"content\":\"回访\"}]")));
    QVERIFY(set.appendHistoryId(QStringLiteral("noticehistory"), QStringLiteral("6")));
    const QVariantList notices = set.historyList(QStringLiteral("noticehistory"));
    QCOMPARE(notices.size(), 2);
    QCOMPARE(notices.first().toMap().value(QStringLiteral("content")).toString(), QStringLiteral("回访"));
    QCOMPARE(set.historyIds(QStringLiteral("noticehistory")), QStringList({"5", "6"}));

    QVERIFY(!set.appendHistoryId(QStringLiteral("readhistory"), QStringLiteral("1 or 1=1")));
    QVERIFY(!set.appendHistoryId(QStringLiteral("bookset"), QStringLiteral("3")));
    QCOMPARE(set.historyIds(QStringLiteral("readhistory")), QStringList({"11", "12"}));
}

QTEST_MAIN(TestHouseBookSet)
#include "tst_housebookset.moc"
