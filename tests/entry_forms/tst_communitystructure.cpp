// Reading a community's structure from replies of any shape, and what becomes of a building,
// unit or room the agent types: taken from the list, refused, or added.
#include "hostfixture.h"
#include "services/communitystructure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace CommunityStructure;
using Outcome = TypedOutcome;

namespace {

QJsonValue json(const char *text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text);
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

// "id:name:unit" per building, jinggeng marked with a trailing "*".
QStringList describe(const QList<LouDong> &list)
{
    QStringList out;
    for (const LouDong &b : list)
        out << QStringLiteral("%1:%2:%3%4").arg(b.id, b.name, b.unit, b.jinggeng ? "*" : "");
    return out;
}

QList<LouDong> buildings()
{
    return {{"31", "5栋", "栋", false}, {"32", "6号楼", "号楼", false}, {"33", "A座", "座", true}};
}

} // namespace

class TestCommunityStructure : public QObject
{
    Q_OBJECT
private slots:
    void buildingsOfCommunity_data();
    void buildingsOfCommunity();
    void listReplies_data();
    void listReplies();
    void roomsAndLocks();
    void typedBuilding_data();
    void typedBuilding();
    void typedUnit_data();
    void typedUnit();
    void typedRoom_data();
    void typedRoom();
    void mayAddStructure_data();
    void mayAddStructure();
};

void TestCommunityStructure::buildingsOfCommunity_data()
{
    QTest::addColumn<QVariant>("building");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("texts get 栋") << QVariant(QVariantList{"3", 4}) << QStringList{":3栋:栋", ":4栋:栋"};
    QTest::newRow("texts keep own suffix") << QVariant(QVariantList{"5号楼", "B座"}) << QStringList{":5号楼:号楼", ":B座:座"};
    QTest::newRow("maps with ids") << QVariant(QVariantList{QVariantMap{{"id", 31}, {"name", "5栋"}},
                                                            QVariantMap{{"id", "32"}, {"name", "6"}, {"unit", "号楼"}}})
                                   << QStringList{"31:5栋:栋", "32:6号楼:号楼"};
    QTest::newRow("mixed, nameless skipped")
        << QVariant(QVariantList{"7", QVariantMap{{"id", 9}}, QVariantMap{{"id", 8.0}, {"name", "8栋"}, {"jinggeng", "1"}}})
        << QStringList{":7栋:栋", "8:8栋:栋*"};
    QTest::newRow("comma text") << QVariant("1,2") << QStringList{":1栋:栋", ":2栋:栋"};
    QTest::newRow("missing") << QVariant() << QStringList();
    QTest::newRow("a number") << QVariant(12.5) << QStringList();
}

void TestCommunityStructure::buildingsOfCommunity()
{
    QFETCH(QVariant, building);
    QFETCH(QStringList, expected);
    QVariantMap community{{"name", "天鹅湖小区"}};
    if (building.isValid())
        community.insert("building", building);
    QCOMPARE(describe(CommunityStructure::buildingsOfCommunity(community)), expected);
}

// The same three buildings however the list is wrapped.
void TestCommunityStructure::listReplies_data()
{
    QTest::addColumn<QJsonValue>("data");
    QTest::addColumn<int>("count");
    const char *list = R"([{"id":1,"name":"1","unit":"栋","jinggeng":0},{"id":"2","name":"2栋"},{"id":3,"name":"3座"}])";
    QTest::newRow("array") << json(list) << 3;
    QTest::newRow("under list") << QJsonValue(QJsonObject{{"list", json(list)}}) << 3;
    QTest::newRow("json text") << QJsonValue(QString::fromUtf8(list)) << 3;
    QTest::newRow("keyed by id") << json(R"({"1":{"id":1,"name":"1栋"},"2":{"id":2,"name":"2栋"}})") << 2;
    QTest::newRow("single entry") << json(R"({"id":1,"name":"1栋"})") << 1;
    QTest::newRow("garbage entries") << json(R"([null, 5, [], {"id":4}, {"name":""}])") << 1;
    QTest::newRow("plain text") << QJsonValue("oops") << 0;
    QTest::newRow("number") << QJsonValue(42) << 0;
}

void TestCommunityStructure::listReplies()
{
    QFETCH(QJsonValue, data);
    QFETCH(int, count);
    QCOMPARE(buildingsOf(data).size(), count);
    QCOMPARE(unitsOf(data).size(), count);
    QCOMPARE(roomsOf(data).size(), count);
}

void TestCommunityStructure::roomsAndLocks()
{
    const QList<RoomModel> rooms =
        registerRoomsOf(json(R"([{"id":7,"name":"1203","unitid":"55","roomid":901},{"id":8,"name":"b1","floor":"-1"}])"));
    QCOMPARE(rooms.size(), 2);
    QCOMPARE(rooms.at(0).unitId, QStringLiteral("55"));
    QCOMPARE(rooms.at(0).roomId, QStringLiteral("901"));
    QCOMPARE(rooms.at(0).floor, 12);
    QCOMPARE(rooms.at(1).floor, -1);
    QVERIFY(roomsOf(json(R"([{"id":7,"name":"301","unitid":"55"}])")).at(0).unitId.isEmpty());

    const QList<DanYuan> units = unitsOf(json(R"([{"id":5,"name":"2","unit":"单元"},{"id":6,"name":"3单元","unit":"单元"}])"));
    QCOMPARE(units.at(0).name, QStringLiteral("2单元"));
    QCOMPARE(units.at(1).name, QStringLiteral("3单元"));

    bool dong = true, uar = true;
    locksOf(json(R"({"lockdong":1,"lockuar":"0"})"), &dong, &uar);
    QVERIFY(dong && !uar);
    locksOf(json(R"({"lockdong":"true","lockuar":true})"), &dong, &uar);
    QVERIFY(dong && uar);
    locksOf(QJsonValue(QJsonArray{1, 2}), &dong, &uar);
    QVERIFY(!dong && !uar);
}

void TestCommunityStructure::typedBuilding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("mayAdd");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("result"); // index, new name or refusal
    const QString locked = "当前小区楼栋号已锁定，不支持添加新的楼栋号，请从已有的楼栋号中选择！";
    const QString noRight = "您没有新增楼栋号的权限，请联系管理员开通！";
    QTest::newRow("existing with suffix") << "5" << "栋" << false << false << int(Outcome::TakeExisting) << "0";
    QTest::newRow("existing typed whole") << " 6号楼 " << "无" << false << false << int(Outcome::TakeExisting) << "1";
    QTest::newRow("existing while locked") << "A" << "座" << true << false << int(Outcome::TakeExisting) << "2";
    QTest::newRow("other suffix is new") << "5" << "座" << false << true << int(Outcome::AddNew) << "5座";
    QTest::newRow("new while locked") << "9" << "栋" << true << true << int(Outcome::Refused) << locked;
    QTest::newRow("new without right") << "9" << "栋" << false << false << int(Outcome::Refused) << noRight;
    QTest::newRow("new without suffix") << "9" << "无" << false << true << int(Outcome::AddNew) << "9";
    QTest::newRow("empty") << "  " << "栋" << false << true << int(Outcome::Refused) << "请填写楼栋号名称！";
}

void TestCommunityStructure::typedBuilding()
{
    QFETCH(QString, typed);
    QFETCH(QString, suffix);
    QFETCH(bool, locked);
    QFETCH(bool, mayAdd);
    QFETCH(int, kind);
    QFETCH(QString, result);
    const Outcome outcome = CommunityStructure::typedBuilding(typed, suffix, buildings(), locked, mayAdd);
    QCOMPARE(int(outcome.kind), kind);
    if (kind == Outcome::TakeExisting)
        QCOMPARE(QString::number(outcome.index), result);
    else if (kind == Outcome::AddNew)
        QCOMPARE(outcome.name, result);
    else
        QCOMPARE(outcome.refusal, result);
    if (kind == Outcome::AddNew)
        QCOMPARE(outcome.unit, suffix == "无" ? QString() : suffix);
}

void TestCommunityStructure::typedUnit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("mayAdd");
    QTest::addColumn<QString>("refusal"); // empty: not refused
    QTest::newRow("existing while locked") << "2" << "单元" << true << false << "";
    QTest::newRow("locked") << "4" << "单元" << true << true
                            << "当前小区单元号已锁定，不支持添加新的单元号，请从已有的单元号中选择！";
    QTest::newRow("no right") << "4" << "街" << false << false << "您没有新增单元号的权限，请联系管理员开通！";
    QTest::newRow("allowed") << "4" << "弄" << false << true << "";
}

void TestCommunityStructure::typedUnit()
{
    QFETCH(QString, typed);
    QFETCH(QString, suffix);
    QFETCH(bool, locked);
    QFETCH(bool, mayAdd);
    QFETCH(QString, refusal);
    const QList<DanYuan> units{{"5", "2单元", "单元"}};
    const Outcome outcome = CommunityStructure::typedUnit(typed, suffix, units, locked, mayAdd);
    QCOMPARE(outcome.refusal, refusal);
    QCOMPARE(outcome.kind == Outcome::Refused, !refusal.isEmpty());
    QCOMPARE(unitSuffixes(), (QStringList{"无", "单元", "弄", "街"}));
}

void TestCommunityStructure::typedRoom_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("fromRegister");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("existing") << "301" << true << int(Outcome::TakeExisting) << "";
    QTest::newRow("existing as shown") << "302室" << false << int(Outcome::TakeExisting) << "";
    QTest::newRow("missing from register") << "999" << true << int(Outcome::Refused)
                                           << "该楼栋号已开启精耕，您选中的房间号在精耕盘中不存在，请重新选择！";
    QTest::newRow("new") << "999" << false << int(Outcome::AddNew) << "";
    QTest::newRow("empty") << "" << false << int(Outcome::Refused) << "请填写房间名称！";
}

void TestCommunityStructure::typedRoom()
{
    QFETCH(QString, typed);
    QFETCH(bool, fromRegister);
    QFETCH(int, kind);
    QFETCH(QString, refusal);
    const QList<RoomModel> rooms{{"1", "301", {}, {}, 3}, {"2", "302", {}, {}, 3}};
    const Outcome outcome = CommunityStructure::typedRoom(typed, rooms, fromRegister);
    QCOMPARE(int(outcome.kind), kind);
    QCOMPARE(outcome.refusal, refusal);
}

void TestCommunityStructure::mayAddStructure_data()
{
    QTest::addColumn<bool>("jointSaleManager");
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("expected");
    QTest::newRow("ordinary agent") << false << 0 << false;
    QTest::newRow("other right only") << false << 18 << false;
    QTest::newRow("right to add") << false << 121 << true;
    QTest::newRow("joint-sale manager") << true << 0 << true;
}

void TestCommunityStructure::mayAddStructure()
{
    QFETCH(bool, jointSaleManager);
    QFETCH(int, right);
    QFETCH(bool, expected);
    HostFixture host;
    TestUser user;
    user.jointSaleManager(jointSaleManager);
    if (right > 0)
        user.grant(right);
    else
        user.withoutRights();
    HostFixture::signInAs(user);
    QCOMPARE(CommunityStructure::mayAddStructure(), expected);
    QCOMPARE(buildingSuffixes().size(), 11);
}

QTEST_MAIN(TestCommunityStructure)
#include "tst_communitystructure.moc"
