#include "sql/basemessage_sqltable.h"
#include "sql/housebookcatalogue.h"

#include "datacenter.h"
#include "hostfixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopedPointer>
#include <QtTest>

namespace {

class SqlProbe : public BaseSqlObject
{
public:
    SqlProbe() : BaseSqlObject(nullptr, false) {}
    using BaseSqlObject::exec;
    using BaseSqlObject::selectRows;
};

QJsonValue parse(const QString &json)
{
    return QJsonDocument::fromJson(json.toUtf8()).object().value(QStringLiteral("v"));
}

QList<int> idsOf(const QList<QVariantMap> &entries)
{
    QList<int> ids;
    for (const QVariantMap &e : entries)
        ids << e.value(QStringLiteral("id")).toInt();
    return ids;
}

} // namespace

class TestBaseMessage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshRow();
    void storeCategoryReply();
    void malformedCategoryReplies_data();
    void malformedCategoryReplies();
    void storeHouseBookCategoryReply();
    void refusedWrites();

    void settingLists_data();
    void settingLists();
    void customerStates();
    void callSettings();
    void otherReferenceData();
    void unreadableColumnsReadEmpty();
    void contractAndCustomerColumns();
    void contractStepField();

private:
    QScopedPointer<HostFixture> m_host;
};

namespace {

const char *kCategoryReply = R"({"v":[
    {"name":"装修","data":[{"id":1,"name":"毛坯"},{"id":2,"name":"精装"}]},
    {"name":"房产证","data":[{"name":"满二"}]},
    {"name":"房屋类型","data":[{"name":"住宅"},{"name":"商铺"}]},
    {"name":"标签","data":"[{\"name\":\"学区房\"}]"},
    {"name":"户型","data":[{"name":"一室"}]}]})";

} // namespace

void TestBaseMessage::init()
{
    m_host.reset(new HostFixture);
}

void TestBaseMessage::cleanup()
{
    m_host.reset();
}

void TestBaseMessage::freshRow()
{
    BaseMessage_SqlTable ref(nullptr, false);
    BaseMessage_SqlTable again(nullptr, false);
    SqlProbe probe;
    const QList<QVariantMap> rows = probe.selectRows(BaseSqlObject::PersonDB, QStringLiteral("select * from basemessage"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().size(), 35);
    QCOMPARE(rows.first().value(QStringLiteral("id")).toInt(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("cloudrefreshtime")).toInt(), 0);
    QCOMPARE(rows.first().value(QStringLiteral("housesource")).toString(), QString());

    // A lost row comes back with the next construction.
    QVERIFY(probe.exec(BaseSqlObject::PersonDB, QStringLiteral("delete from basemessage")));
    BaseMessage_SqlTable rebuilt(nullptr, false);
    QCOMPARE(rebuilt.readRow().value(QStringLiteral("id")).toInt(), 1);
}

void TestBaseMessage::storeCategoryReply()
{
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(ref.storePublicCategory(parse(QString::fromUtf8(kCategoryReply))));
    QCOMPARE(ref.names(QStringLiteral("zhuangxiu")), QStringList({"毛坯", "精装"}));
    QCOMPARE(ref.names(QStringLiteral("fangchan")), QStringList({"满二"}));
    QCOMPARE(ref.names(QStringLiteral("housetype")), QStringList({"住宅", "商铺"}));
    QCOMPARE(ref.names(QStringLiteral("tag")), QStringList({"学区房"}));
    QCOMPARE(ref.names(QStringLiteral("hutype")), QStringList({"一室"}));
    // Stored as the JSON text the server sent.
    QCOMPARE(QJsonDocument::fromJson(ref.getValue(QStringLiteral("zhuangxiu")).toUtf8()).array().at(1)
                 .toObject().value(QStringLiteral("id")).toInt(),
             2);
}

void TestBaseMessage::malformedCategoryReplies_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("object") << R"({"v":{"name":"装修","data":[]}})" << false;
    QTest::newRow("null") << R"({"v":null})" << false;
    QTest::newRow("text") << R"({"v":"装修"})" << false;
    QTest::newRow("numbers") << R"({"v":[1,2,3]})" << true;
    QTest::newRow("no names") << R"({"v":[{"data":[{"name":"x"}]},{"name":null,"data":[]}]})" << true;
    QTest::newRow("unknown name") << R"({"v":[{"name":"车位","data":[{"name":"x"}]}]})" << true;
    QTest::newRow("no data") << R"({"v":[{"name":"装修"}]})" << true;
    QTest::newRow("null data") << R"({"v":[{"name":"装修","data":null}]})" << true;
}

void TestBaseMessage::malformedCategoryReplies()
{
    QFETCH(QString, reply);
    QFETCH(bool, accepted);
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(ref.storePublicCategory(parse(QString::fromUtf8(kCategoryReply))));
    const QVariantMap before = ref.readRow();
    QCOMPARE(ref.storePublicCategory(parse(reply)), accepted);
    QCOMPARE(ref.readRow(), before);
}

void TestBaseMessage::storeHouseBookCategoryReply()
{
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(ref.setValue(QStringLiteral("payway"), QStringLiteral("[{\"name\":\"月付\"}]")));
    QVERIFY(ref.storeHouseBookCategory(parse(QStringLiteral(
        R"({"v":{"property1":[{"name":"商品房"}],"property2":[{"name":"有证"}],"traffic":[{"name":"地铁"}],
              "renttag":[{"name":"近地铁"}],"saletag":[{"name":"满五"}],"laiyuan":[{"name":"上门"},{"name":"电话"}],
              "payway":null}})"))));
    QCOMPARE(ref.names(QStringLiteral("property1")), QStringList({"商品房"}));
    QCOMPARE(ref.names(QStringLiteral("property2")), QStringList({"有证"}));
    QCOMPARE(ref.names(QStringLiteral("traffic")), QStringList({"地铁"}));
    QCOMPARE(ref.names(QStringLiteral("renttag")), QStringList({"近地铁"}));
    QCOMPARE(ref.names(QStringLiteral("saletag")), QStringList({"满五"}));
    QCOMPARE(ref.names(QStringLiteral("housesource")), QStringList({"上门", "电话"}));
    QCOMPARE(ref.names(QStringLiteral("payway")), QStringList({"月付"}));

    const QVariantMap before = ref.readRow();
    for (const char *bad : {R"({"v":[1]})", R"({"v":"x"})", R"({"v":null})"})
        QVERIFY(!ref.storeHouseBookCategory(parse(QString::fromUtf8(bad))));
    QCOMPARE(ref.readRow(), before);
}

void TestBaseMessage::refusedWrites()
{
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(!ref.setValue(QStringLiteral("id"), QStringLiteral("2")));
    QVERIFY(!ref.setValue(QStringLiteral("tag=1,id"), QStringLiteral("2")));
    QVERIFY(!ref.setJsonValue(QStringLiteral("tag"), QJsonValue()));
    DataCenter::CurrentWindow = QStringLiteral("Login");
    QVERIFY(!ref.setValue(QStringLiteral("tag"), QStringLiteral("[]")));
    QVERIFY(!ref.storePublicCategory(parse(QString::fromUtf8(kCategoryReply))));
    QCOMPARE(ref.getValue(QStringLiteral("tag")), QString());
    QCOMPARE(ref.readRow().value(QStringLiteral("id")).toInt(), 1);
}

void TestBaseMessage::settingLists_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("tags");
    QTest::newRow("objects") << R"({"tags":[{"name":"急"},{"name":"优"}]})" << QStringList{"急", "优"};
    QTest::newRow("texts") << R"({"tags":["急","优"]})" << QStringList{"急", "优"};
    QTest::newRow("JSON text") << R"({"tags":"[{\"name\":\"急\"}]"})" << QStringList{"急"};
    QTest::newRow("comma text") << R"({"tags":"急,优"})" << QStringList{"急", "优"};
    QTest::newRow("missing") << R"({"fukuan":[]})" << QStringList();
    QTest::newRow("not an object") << R"([{"tags":["急"]}])" << QStringList();
    QTest::newRow("garbage") << "{tags" << QStringList();
}

void TestBaseMessage::settingLists()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, tags);
    BaseMessage_SqlTable ref(nullptr, false);
    for (const QString &column : {QStringLiteral("customersaleset"), QStringLiteral("customerrentset"),
                                  QStringLiteral("customernewhouseset"), QStringLiteral("salecontractset"),
                                  QStringLiteral("rentcontractset")}) {
        QVERIFY(ref.setValue(column, stored));
        QCOMPARE(ref.settingNames(column, QStringLiteral("tags")), tags);
    }
}

void TestBaseMessage::customerStates()
{
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(ref.setValue(QStringLiteral("customerrentset"),
                         QStringLiteral(R"({"state":[{"title":"有效","lable":"A"},{"title":"","lable":"B"},)"
                                        R"("oops",{"title":"暂缓"}],"fukuan":[{"name":"月付"}]})")));
    QCOMPARE(ref.customerStates(QStringLiteral("customerrentset")), QStringList({"有效(A)", "暂缓"}));
    QCOMPARE(ref.settingNames(QStringLiteral("customerrentset"), QStringLiteral("fukuan")), QStringList({"月付"}));
}

void TestBaseMessage::callSettings()
{
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(!ref.isCallOpen());
    QVERIFY(ref.setValue(QStringLiteral("callbabybaseset"),
                         QStringLiteral(R"({"isopen":1,"housebook":{"sale":{"timeLimit":1,"choose":true,"days":3,)"
                                        R"("wuXiao":{"timeLimit":0,"choose":false,"days":7}},"rent":{"days":5}},)"
                                        R"("clientbook":{"xinfang":{"days":9}},"hetong":"bad"})")));
    QVERIFY(ref.isCallOpen());
    QCOMPARE(ref.callRule(QStringLiteral("housebook"), QStringLiteral("sale")).value(QStringLiteral("days")).toInt(), 3);
    QCOMPARE(ref.callRule(QStringLiteral("housebook"), QStringLiteral("sale"))
                 .value(QStringLiteral("wuXiao")).toMap().value(QStringLiteral("days")).toInt(),
             7);
    QCOMPARE(ref.callRule(QStringLiteral("clientbook"), QStringLiteral("xinfang")).value(QStringLiteral("days")).toInt(), 9);
    QVERIFY(ref.callRule(QStringLiteral("hetong"), QStringLiteral("zufang")).isEmpty());
    QVERIFY(ref.setValue(QStringLiteral("callbabybaseset"), QStringLiteral(R"({"isopen":"0"})")));
    QVERIFY(!ref.isCallOpen());
}

void TestBaseMessage::otherReferenceData()
{
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(ref.setJsonValue(QStringLiteral("area"), parse(QStringLiteral(
        R"({"v":[{"name":"蜀山区","status":1,"sons":[{"name":"南七"}]},"x",{"name":"包河区","status":0,"sons":[]}]})"))));
    QCOMPARE(ref.areaTree().size(), 2);
    QCOMPARE(ref.areaTree().first().value(QStringLiteral("sons")).toList().size(), 1);
    QVERIFY(ref.setJsonValue(QStringLiteral("job"), parse(QStringLiteral(R"({"v":[{"id":3,"name":"店长"}]})"))));
    QCOMPARE(ref.names(QStringLiteral("job")), QStringList{"店长"});
    QVERIFY(ref.setJsonValue(QStringLiteral("contrct_step"),
                             parse(QStringLiteral(R"({"v":[{"name":"网签","stepinfo":[]},7]})"))));
    QCOMPARE(ref.contractSteps().size(), 1);
    QVERIFY(ref.setJsonValue(QStringLiteral("watchcommunitys"), parse(QStringLiteral(R"({"v":[{"id":9},{"id":10}]})"))));
    QCOMPARE(ref.watchCommunitys().size(), 2);
    QVERIFY(ref.setJsonValue(QStringLiteral("oaauth"), parse(QStringLiteral(R"({"v":{"isprime":true}})"))));
    QCOMPARE(ref.oaAuth().toMap().value(QStringLiteral("isprime")).toBool(), true);
    QVERIFY(ref.setJsonValue(QStringLiteral("oaauth"), parse(QStringLiteral(R"({"v":1})"))));
    QCOMPARE(ref.oaAuth().toInt(), 1);
    QVERIFY(ref.setJsonValue(QStringLiteral("clouditem"), parse(QStringLiteral(R"({"v":[{"name":"住宅","rentType":1}]})"))));
    QCOMPARE(ref.list(QStringLiteral("clouditem")).first().toMap().value(QStringLiteral("rentType")).toInt(), 1);
}

void TestBaseMessage::unreadableColumnsReadEmpty()
{
    BaseMessage_SqlTable ref(nullptr, false);
    for (const QString &column : {QStringLiteral("area"), QStringLiteral("job"), QStringLiteral("contrct_step"),
                                  QStringLiteral("callbabybaseset"), QStringLiteral("customersaleset")})
        QVERIFY(ref.setValue(column, QStringLiteral("{[not json")));
    QVERIFY(ref.areaTree().isEmpty());
    QVERIFY(ref.names(QStringLiteral("job")).isEmpty());
    QVERIFY(ref.contractSteps().isEmpty());
    QVERIFY(!ref.isCallOpen());
    QVERIFY(ref.customerStates(QStringLiteral("customersaleset")).isEmpty());
    QVERIFY(ref.list(QStringLiteral("no such column")).isEmpty());
    QVERIFY(!ref.oaAuth().isValid());
}

void TestBaseMessage::contractAndCustomerColumns()
{
    using namespace HouseBookCatalogue;
    BaseMessage_SqlTable ref(nullptr, false);
    QCOMPARE(idsOf(ref.contractShowItems(true)), idsOf(defaultChoices(SaleContractShow)));
    QCOMPARE(idsOf(ref.contractShowItems(false)), idsOf(defaultChoices(RentContractShow)));
    QCOMPARE(idsOf(ref.customerShowItems()), idsOf(defaultChoices(CustomerShow)));
    QCOMPARE(ref.contractShowItems(true).last().value(QStringLiteral("fixed")).toInt(), 185);

    QVERIFY(ref.setValue(QStringLiteral("rentcontractshowsort"), QStringLiteral("[{\"id\":64,\"choose\":true,\"title\":\"到期\"},38]")));
    QCOMPARE(idsOf(ref.contractShowItems(false)), QList<int>({64, 38}));
    QCOMPARE(ref.contractShowItems(false).first().value(QStringLiteral("key")).toString(), QStringLiteral("key_expiredate"));

    // The customer list's choice lives inside the customer-book base settings, as a list or as text.
    QVERIFY(ref.setValue(QStringLiteral("customerbaseset"), QStringLiteral("{\"liebiaoitem\":[{\"id\":50,\"choose\":true,\"title\":\"姓名\"}]}")));
    QCOMPARE(idsOf(ref.customerShowItems()), QList<int>({50}));
    QVERIFY(ref.setValue(QStringLiteral("customerbaseset"), QStringLiteral("{\"liebiaoitem\":\"[57,56]\"}")));
    QCOMPARE(idsOf(ref.customerShowItems()), QList<int>({57, 56}));
    QVERIFY(ref.setValue(QStringLiteral("customerbaseset"), QStringLiteral("{\"liebiaoitem\":null}")));
    QCOMPARE(idsOf(ref.customerShowItems()), idsOf(defaultChoices(CustomerShow)));
}

void TestBaseMessage::contractStepField()
{
    BaseMessage_SqlTable ref(nullptr, false);
    QVERIFY(ref.setValue(QStringLiteral("contrct_step"),
                         QStringLiteral("[{\"name\":\"网签\",\"stepinfo\":[]},{\"name\":\"过户\"},{\"stepinfo\":1}]")));
    QVariantList steps;
    for (const QVariantMap &s : ref.contractSteps())
        steps << s;
    const QVariantMap field = HouseBookCatalogue::contractStepField(steps);
    QCOMPARE(field.value(QStringLiteral("title")).toString(), QStringLiteral("合同步骤搜素"));
    QCOMPARE(field.value(QStringLiteral("placeholder")).toString(), QStringLiteral("选择步骤<step>网签,过户"));
    const QVariantList sons = field.value(QStringLiteral("sons")).toList();
    QCOMPARE(sons.size(), 2);
    const QVariantList options = sons.first().toMap().value(QStringLiteral("sons")).toList();
    QCOMPARE(options.size(), 2);
    QCOMPARE(options.at(0).toMap().value(QStringLiteral("title")).toString(), QStringLiteral("未完成"));
    QCOMPARE(options.at(1).toMap().value(QStringLiteral("title")).toString(), QStringLiteral("已完成"));
}

QTEST_MAIN(TestBaseMessage)
#include "tst_basemessage.moc"
