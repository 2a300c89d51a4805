// The user store: the profile row, the user-information map, the department tree, the right
// test that every page and the privacy mask rely on, and the settings file.
#include "datacenter.h"
#include "hostfixture.h"
#include "sql/configdatasettings.h"
#include "sql/textscramble.h"
#include "sql/usermessage_datasqltable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopedPointer>
#include <QSettings>
#include <QtTest>

namespace {

const QString kOwnPhone = QStringLiteral("13800000001");  // the fixture's signed-in user
const QString kOtherPhone = QStringLiteral("13900000009");

QString json(const QJsonValue &value)
{
    const QJsonDocument doc = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return QString::fromUtf8(doc.toJson(QJsonDocument::Compact));
}

QJsonObject dept(int id, const QString &name, const QJsonArray &sons = QJsonArray())
{
    return {{"dept_id", id}, {"dept_name", name}, {"count", 3}, {"sons", sons}};
}

// 10 总部 > (11 一区 > 111, 112), (12 二区 > 121); the user sits in 11.
QString departmentsJson()
{
    const QJsonArray tree{dept(10, QStringLiteral("总部"),
                               {dept(11, QStringLiteral("一区"),
                                     {dept(111, QStringLiteral("一区一店")), dept(112, QStringLiteral("一区二店"))}),
                                dept(12, QStringLiteral("二区"), {dept(121, QStringLiteral("二区一店"))})})};
    const QJsonObject own{{"11", QJsonObject{{"id", 11}, {"name", QStringLiteral("一区")}}}};
    const QJsonObject top{{"10", QJsonObject{{"id", 10}, {"name", QStringLiteral("总部")}}}};
    return json(QJsonObject{{"sons", tree}, {"suozai_bumens", own}, {"top_bumens", top}});
}

QString initJson()
{
    const QJsonObject init{
        {"cityid", 340100},
        {"companyid", 1001},
        {"cityname", QStringLiteral("合肥")},
        {"citylng", "117.27"},
        {"citylat", "31.86"},
        {"userinfo", QJsonObject{{"userid", 501}, {"yonghuid", 501}, {"name", QStringLiteral("王经纪")},
                                 {"phone", kOwnPhone}, {"company", QStringLiteral("安居房产")},
                                 {"ismanager", 0}, {"storeid", 11}}},
        {"softinfo", QJsonObject{{"version", "4.2.0.1"}, {"neturl", "http://soft.test"}}},
        {"limits", QJsonObject{{"jobname", QStringLiteral("店长")}, {"jobid", 31}}},
        {"enterprise", QJsonObject{{"name", QStringLiteral("安居房产")}, {"logo1", "http://img.test/l1.png"}}},
        {"cityinfo", QJsonObject{{"cityid", 340100}, {"city", QStringLiteral("合肥")}}},
        {"lianmai", 1},
    };
    return json(init);
}

QJsonObject right(int id, int range, const QJsonArray &bumens = QJsonArray())
{
    return {{"id", id}, {"selected", true}, {"range", range}, {"bumens", bumens}};
}

QJsonObject chosen(int id, bool withDown)
{
    return {{"dept_id", id}, {"dept_name", QString::number(id)}, {"with_down", withDown}};
}

// A user store with a department tree and the given rights.
UserMessage_DataSqlTable *storeWith(QObject *parent, const QString &userauth)
{
    auto *store = new UserMessage_DataSqlTable(parent, true);
    store->updateColumn(QStringLiteral("bumens"), departmentsJson());
    store->updateColumn(QStringLiteral("userauth"), userauth);
    return store;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestUserStore : public QObject
{
    Q_OBJECT
private slots:
    void rowIsCreatedReadAndUpdated();
    void rowsOfTheTwoBooksAreSeparate();
    void loginWindowBlocksWriting();
    void userInfoFromInitReply();
    void malformedColumnsReadAsEmpty();
    void departmentTreeWholeAndFlattened();
    void rightAgainstListing_data();
    void rightAgainstListing();
    void rangeDepartmentIds_data();
    void rangeDepartmentIds();
    void rightEntryStates_data();
    void rightEntryStates();
    void managerHoldsEveryRight();
    void subItemsMustBeChosen_data();
    void subItemsMustBeChosen();
    void settingsRoundTripScrambledOnDisk();
    void unchangedSettingIsNotRewritten();
    void unreadableSettingReadsEmpty();
    void companyLogoAndNameDefaults();
    void appendLineWritesUtf8();
};

void TestUserStore::rowIsCreatedReadAndUpdated()
{
    HostFixture host;
    UserMessage_DataSqlTable store(nullptr, true);
    QVERIFY(store.getUserRow().isEmpty());
    QVERIFY(store.getUserInfo().isEmpty());

    QVERIFY(store.updateColumn(QStringLiteral("init"), initJson()));
    QVERIFY(store.updateColumn(QStringLiteral("userauth"), QStringLiteral("[]")));
    const QVariantMap row = store.getUserRow();
    QCOMPARE(row.value("phone").toString(), kOwnPhone);
    QCOMPARE(row.value("init").toString(), initJson());  // a later column leaves the others alone
    QCOMPARE(row.value("userauth").toString(), QStringLiteral("[]"));

    // Only the three data columns are writable; a column name never comes from data.
    QVERIFY(!store.updateColumn(QStringLiteral("phone"), QStringLiteral("x")));
    QVERIFY(!store.updateColumn(QStringLiteral("init=init,phone"), QStringLiteral("x")));
    QCOMPARE(store.getUserRow().value("phone").toString(), kOwnPhone);

    // Another user's sign-in reads and writes that user's own row.
    DataCenter::UserPhoneNumber = kOtherPhone;
    UserMessage_DataSqlTable other(nullptr, true);
    QVERIFY(other.getUserRow().isEmpty());
}

void TestUserStore::rowsOfTheTwoBooksAreSeparate()
{
    HostFixture host;
    UserMessage_DataSqlTable jointSale(nullptr, true);
    QVERIFY(jointSale.updateColumn(QStringLiteral("init"), initJson()));
    UserMessage_DataSqlTable normal(nullptr, false);
    QVERIFY(normal.getUserRow().isEmpty());
    QVERIFY(normal.isHaveTable(QStringLiteral("user_jointsale"), BaseSqlObject::PersonDB));
    QVERIFY(normal.isHaveTable(QStringLiteral("user"), BaseSqlObject::PersonDB));
}

void TestUserStore::loginWindowBlocksWriting()
{
    HostFixture host;
    UserMessage_DataSqlTable store(nullptr, true);
    DataCenter::CurrentWindow = QStringLiteral("Login");
    QVERIFY(!store.updateColumn(QStringLiteral("init"), initJson()));
    QVERIFY(store.getUserRow().isEmpty());
    DataCenter::CurrentWindow = QStringLiteral("main");
    QVERIFY(store.updateColumn(QStringLiteral("init"), initJson()));
    DataCenter::CurrentWindow = QStringLiteral("Login");
    QVERIFY(!store.updateColumn(QStringLiteral("init"), QStringLiteral("{}")));
    QCOMPARE(store.getUserRow().value("init").toString(), initJson());
}

void TestUserStore::userInfoFromInitReply()
{
    HostFixture host;
    QScopedPointer<UserMessage_DataSqlTable> store(
        storeWith(nullptr, json(QJsonArray{right(36, 4), right(7, 0)})));
    store->updateColumn(QStringLiteral("init"), initJson());

    const QVariantMap info = store->getUserInfo();
    QCOMPARE(info.value("phone").toString(), kOwnPhone);
    QCOMPARE(info.value("cityid").toInt(), 340100);
    QCOMPARE(info.value("cityname").toString(), QStringLiteral("合肥"));
    QCOMPARE(info.value("userinfo").toMap().value("name").toString(), QStringLiteral("王经纪"));
    QCOMPARE(info.value("limits").toMap().value("jobid").toInt(), 31);
    QCOMPARE(info.value("enterprise").toMap().value("logo1").toString(), QStringLiteral("http://img.test/l1.png"));
    QCOMPARE(info.value("cityinfo").toMap().value("city").toString(), QStringLiteral("合肥"));
    QCOMPARE(info.value("init").toMap().value("companyid").toInt(), 1001);
    QCOMPARE(info.value("userauth").toList().size(), 2);
    QVERIFY(info.value("bumens").toMap().value("suozai_bumens").toMap().contains("11"));
}

void TestUserStore::malformedColumnsReadAsEmpty()
{
    HostFixture host;
    UserMessage_DataSqlTable store(nullptr, true);
    store.updateColumn(QStringLiteral("init"), QStringLiteral("{\"cityid\": 34"));
    store.updateColumn(QStringLiteral("userauth"), QStringLiteral("[{\"id\":7,"));
    store.updateColumn(QStringLiteral("bumens"), QStringLiteral("not json"));

    const QVariantMap info = store.getUserInfo();
    QCOMPARE(info.value("phone").toString(), kOwnPhone);
    QVERIFY(!info.contains("cityid"));
    QVERIFY(info.value("userauth").toList().isEmpty());
    QVERIFY(store.getDepartmentTree().isEmpty());
    QVERIFY(store.getDepartmentList().isEmpty());
    QVERIFY(store.authorityItem(7).isEmpty());
    QVERIFY(!store.isHaveAuthority(7));

    // Rights of unexpected types are ignored, not trusted.
    store.updateColumn(QStringLiteral("userauth"), QStringLiteral("[7, \"7\", null, {\"id\":\"x\"}]"));
    QVERIFY(!store.isHaveAuthority(7));
    store.updateColumn(QStringLiteral("userauth"), QStringLiteral("\"7\""));
    QVERIFY(!store.isHaveAuthority(7));
}

void TestUserStore::departmentTreeWholeAndFlattened()
{
    HostFixture host;
    QScopedPointer<UserMessage_DataSqlTable> store(storeWith(nullptr, QStringLiteral("[]")));

    const QVariantList tree = store->getDepartmentTree();
    QCOMPARE(tree.size(), 1);
    QCOMPARE(tree.first().toMap().value("sons").toList().size(), 2);

    const QList<QVariantMap> list = store->getDepartmentList();
    QStringList ids, parents;
    QList<int> levels;
    for (const QVariantMap &node : list) {
        ids << node.value("dept_id").toString();
        parents << node.value("parent_id").toString();
        levels << node.value("level").toInt();
        QVERIFY(!node.contains("sons"));
    }
    QCOMPARE(ids, QStringList({"10", "11", "111", "112", "12", "121"}));
    QCOMPARE(parents, QStringList({"", "10", "11", "11", "10", "12"}));
    QCOMPARE(levels, QList<int>({0, 1, 2, 2, 1, 2}));
    QCOMPARE(list.at(2).value("dept_name").toString(), QStringLiteral("一区一店"));
    QCOMPARE(store->ownDepartmentIds(), QStringList{"11"});

    // A bare array of nodes is a tree as well.
    store->updateColumn(QStringLiteral("bumens"), json(QJsonArray{dept(5, "a", {dept(6, "b")})}));
    QCOMPARE(store->getDepartmentList().size(), 2);
    QVERIFY(store->ownDepartmentIds().isEmpty());
}

void TestUserStore::rightAgainstListing_data()
{
    QTest::addColumn<QString>("userauth");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<int>("deptId");
    QTest::addColumn<bool>("held");

    const auto rights = [](const QJsonObject &r) { return json(QJsonArray{right(1, 0), r}); };
    const QString own = rights(right(36, 2));
    QTest::newRow("own only: someone else's") << own << kOtherPhone << 11 << false;
    QTest::newRow("own only: own listing") << own << kOwnPhone << 11 << true;
    QTest::newRow("own only: the right as such") << own << QString() << 0 << true;

    const QString deptOnly = rights(right(36, 6));
    QTest::newRow("own dept: in it") << deptOnly << kOtherPhone << 11 << true;
    QTest::newRow("own dept: sub-department") << deptOnly << kOtherPhone << 111 << false;
    QTest::newRow("own dept: sibling") << deptOnly << kOtherPhone << 12 << false;
    QTest::newRow("own dept: own listing elsewhere") << deptOnly << kOwnPhone << 121 << true;
    QTest::newRow("own dept: no department given") << deptOnly << kOtherPhone << 0 << false;

    const QString withSubs = rights(right(36, 4));
    QTest::newRow("dept and subs: own dept") << withSubs << kOtherPhone << 11 << true;
    QTest::newRow("dept and subs: child") << withSubs << kOtherPhone << 112 << true;
    QTest::newRow("dept and subs: parent") << withSubs << kOtherPhone << 10 << false;
    QTest::newRow("dept and subs: other branch") << withSubs << kOtherPhone << 121 << false;
    QTest::newRow("dept and subs: dept only, no owner") << withSubs << QString() << 111 << true;

    const QString chosenPlain = rights(right(36, 5, {chosen(12, false)}));
    QTest::newRow("chosen: the department") << chosenPlain << kOtherPhone << 12 << true;
    QTest::newRow("chosen: below it, without with_down") << chosenPlain << kOtherPhone << 121 << false;
    QTest::newRow("chosen: elsewhere") << chosenPlain << kOtherPhone << 11 << false;

    const QString chosenDown = rights(right(36, 5, {chosen(11, true), chosen(121, false)}));
    QTest::newRow("chosen with_down: below") << chosenDown << kOtherPhone << 112 << true;
    QTest::newRow("chosen with_down: plain one") << chosenDown << kOtherPhone << 121 << true;
    QTest::newRow("chosen with_down: parent of plain") << chosenDown << kOtherPhone << 12 << false;

    const QJsonArray group{QJsonObject{{"content", QJsonArray{QJsonObject{{"id", 111}, {"selected", true}},
                                                            QJsonObject{{"id", 112}, {"selected", false}}}}}};
    const QString grouped = rights(right(36, 5, group));
    QTest::newRow("chosen groups: selected item") << grouped << kOtherPhone << 111 << true;
    QTest::newRow("chosen groups: unselected item") << grouped << kOtherPhone << 112 << false;

    QTest::newRow("chosen: none chosen") << rights(right(36, 5)) << kOtherPhone << 11 << false;
    QTest::newRow("default range") << rights(right(36, 0)) << kOtherPhone << 121 << true;
    QTest::newRow("whole company") << rights(right(36, 1)) << kOtherPhone << 121 << true;
    QTest::newRow("right missing") << json(QJsonArray{right(48, 0)}) << kOwnPhone << 11 << false;
}

void TestUserStore::rightAgainstListing()
{
    QFETCH(QString, userauth);
    QFETCH(QString, owner);
    QFETCH(int, deptId);
    QFETCH(bool, held);
    HostFixture host;
    QScopedPointer<UserMessage_DataSqlTable> store(storeWith(nullptr, userauth));
    QCOMPARE(store->isHaveAuthority(36, owner, deptId), held);
}

void TestUserStore::rangeDepartmentIds_data()
{
    QTest::addColumn<QString>("userauth");
    QTest::addColumn<int>("range");
    QTest::addColumn<QStringList>("ids");

    QTest::newRow("dept and subs") << json(QJsonArray{right(31, 4)}) << 4 << QStringList{"11", "111", "112"};
    QTest::newRow("dept only") << json(QJsonArray{right(31, 6)}) << 6 << QStringList{"11"};
    QTest::newRow("chosen, one with_down")
        << json(QJsonArray{right(31, 5, {chosen(12, true), chosen(111, false), chosen(121, false)})}) << 5
        << QStringList{"12", "121", "111"};
    QTest::newRow("own only") << json(QJsonArray{right(31, 2)}) << 2 << QStringList();
    QTest::newRow("default") << json(QJsonArray{right(31, 0)}) << 0 << QStringList();
    QJsonObject refused = right(31, 4);
    refused.insert("selected", false);
    QTest::newRow("not granted") << json(QJsonArray{refused}) << -1 << QStringList();
    QTest::newRow("absent") << json(QJsonArray{right(32, 4)}) << -1 << QStringList();
}

void TestUserStore::rangeDepartmentIds()
{
    QFETCH(QString, userauth);
    QFETCH(int, range);
    QFETCH(QStringList, ids);
    HostFixture host;
    QScopedPointer<UserMessage_DataSqlTable> store(storeWith(nullptr, userauth));
    QCOMPARE(store->authorityRange(31), range);
    QCOMPARE(store->authorityDeptIds(31), ids);
}

void TestUserStore::rightEntryStates_data()
{
    QTest::addColumn<QString>("userauth");
    QTest::addColumn<bool>("held");

    QTest::newRow("granted") << QStringLiteral("[{\"id\":7,\"selected\":true}]") << true;
    QTest::newRow("listed without selected") << QStringLiteral("[{\"id\":7}]") << true;
    QTest::newRow("not selected") << QStringLiteral("[{\"id\":7,\"selected\":false}]") << false;
    QTest::newRow("id as text") << QStringLiteral("[{\"id\":\"7\",\"selected\":true}]") << true;
    QTest::newRow("another right") << QStringLiteral("[{\"id\":70,\"selected\":true}]") << false;
    QTest::newRow("wrapped in list") << QStringLiteral("{\"list\":[{\"id\":7,\"selected\":true}]}") << true;
    QTest::newRow("keyed by id") << QStringLiteral("{\"7\":{\"selected\":true,\"range\":0}}") << true;
    QTest::newRow("empty") << QString() << false;
}

void TestUserStore::rightEntryStates()
{
    QFETCH(QString, userauth);
    QFETCH(bool, held);
    HostFixture host;
    QScopedPointer<UserMessage_DataSqlTable> store(storeWith(nullptr, userauth));
    QCOMPARE(store->isHaveAuthority(7), held);
}

void TestUserStore::managerHoldsEveryRight()
{
    HostFixture host;
    QScopedPointer<UserMessage_DataSqlTable> store(storeWith(nullptr, json(QJsonArray{right(36, 2)})));
    QVERIFY(!store->isHaveAuthority(36, kOtherPhone, 121));
    DataCenter::isJointSaleManger = true;
    QVERIFY(store->isHaveAuthority(36, kOtherPhone, 121));
    QVERIFY(store->isHaveAuthority(154, kOtherPhone, 121, {QStringLiteral("已售")}));
    // The company manager of the normal book is not the alliance's manager.
    DataCenter::isJointSaleManger = false;
    DataCenter::isManager = true;
    QVERIFY(!store->isHaveAuthority(154));
}

void TestUserStore::subItemsMustBeChosen_data()
{
    QTest::addColumn<QString>("sons");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("held");

    const QString names = QStringLiteral("[\"无效\",\"已售\"]");
    QTest::newRow("none asked") << names << QStringList() << true;
    QTest::newRow("one chosen") << names << QStringList{QStringLiteral("已售")} << true;
    QTest::newRow("all chosen") << names << QStringList{QStringLiteral("已售"), QStringLiteral("无效")} << true;
    QTest::newRow("one missing") << names << QStringList{QStringLiteral("已售"), QStringLiteral("成交")} << false;
    QTest::newRow("no sons chosen") << QStringLiteral("[]") << QStringList{QStringLiteral("已售")} << false;
    QTest::newRow("sons as objects") << QStringLiteral("[{\"name\":\"已售\"}]") << QStringList{QStringLiteral("已售")}
                                     << true;
}

void TestUserStore::subItemsMustBeChosen()
{
    QFETCH(QString, sons);
    QFETCH(QStringList, asked);
    QFETCH(bool, held);
    HostFixture host;
    QScopedPointer<UserMessage_DataSqlTable> store(
        storeWith(nullptr, QStringLiteral("[{\"id\":48,\"selected\":true,\"range\":0,\"sons\":%1}]").arg(sons)));
    QCOMPARE(store->isHaveAuthority(48, kOtherPhone, 11, asked), held);
}

void TestUserStore::settingsRoundTripScrambledOnDisk()
{
    HostFixture host;
    const QString logo = QStringLiteral("D:/企业/logo.png");
    QVERIFY(UserMessage_DataSqlTable::setConfigValue(kOwnPhone, QStringLiteral("logo"), logo));
    QCOMPARE(UserMessage_DataSqlTable::getConfigValue(kOwnPhone, QStringLiteral("logo")), logo);
    QCOMPARE(UserMessage_DataSqlTable::getConfigValue(kOwnPhone, QStringLiteral("company_name")), QString());

    const QString path = ConfigDataSettings::filePath();
    QCOMPARE(path, BaseSqlObject::applicationDir() + QStringLiteral("/configdata.ini"));
    const QSettings raw(path, QSettings::IniFormat);
    QCOMPARE(raw.value(kOwnPhone + QStringLiteral("/logo")).toString(), TextScramble::scramble(logo));
    QVERIFY(!fileBytes(path).contains("logo.png"));
}

void TestUserStore::unchangedSettingIsNotRewritten()
{
    HostFixture host;
    QVERIFY(ConfigDataSettings::setValue(kOwnPhone, QStringLiteral("company_name"), QStringLiteral("安居")));
    // A hand-written line that any rewrite would normalise.
    const QString path = ConfigDataSettings::filePath();
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("\n[zz]\nkept = as typed\n");
    }
    const QByteArray before = fileBytes(path);
    QVERIFY(!ConfigDataSettings::setValue(kOwnPhone, QStringLiteral("company_name"), QStringLiteral("安居")));
    QCOMPARE(fileBytes(path), before);

    QVERIFY(ConfigDataSettings::setValue(kOwnPhone, QStringLiteral("company_name"), QStringLiteral("安家")));
    QCOMPARE(ConfigDataSettings::value(kOwnPhone, QStringLiteral("company_name")), QStringLiteral("安家"));
}

void TestUserStore::unreadableSettingReadsEmpty()
{
    HostFixture host;
    {
        QSettings raw(ConfigDataSettings::filePath(), QSettings::IniFormat);
        raw.setValue(kOwnPhone + QStringLiteral("/logo"), QStringLiteral("plain text!"));
    }
    QCOMPARE(ConfigDataSettings::value(kOwnPhone, QStringLiteral("logo")), QString());
}

void TestUserStore::companyLogoAndNameDefaults()
{
    HostFixture host;
    // No user has signed in on this computer yet.
    QCOMPARE(UserMessage_DataSqlTable::companyLogo(), QStringLiteral("://res/icon_logo.png"));
    QCOMPARE(UserMessage_DataSqlTable::companyName(), QStringLiteral("启贤"));

    QVERIFY(UserMessage_DataSqlTable::setLastLoginPhone(kOwnPhone));
    QCOMPARE(UserMessage_DataSqlTable::lastLoginPhone(), kOwnPhone);
    QCOMPARE(UserMessage_DataSqlTable::companyLogo(), QStringLiteral("://res/icon_logo.png"));
    QCOMPARE(UserMessage_DataSqlTable::companyName(), QStringLiteral("启贤"));

    ConfigDataSettings::setValue(kOwnPhone, QStringLiteral("logo"), QStringLiteral("/logos/anju.png"));
    ConfigDataSettings::setValue(kOwnPhone, QStringLiteral("company_name"), QStringLiteral("安居房产"));
    QCOMPARE(UserMessage_DataSqlTable::companyLogo(), QStringLiteral("/logos/anju.png"));
    QCOMPARE(UserMessage_DataSqlTable::companyName(), QStringLiteral("安居房产"));

    // Another phone signing in later sees its own company, or the defaults.
    UserMessage_DataSqlTable::setLastLoginPhone(kOtherPhone);
    QCOMPARE(UserMessage_DataSqlTable::companyLogo(), QStringLiteral("://res/icon_logo.png"));
    QCOMPARE(UserMessage_DataSqlTable::companyName(), QStringLiteral("启贤"));
}

void TestUserStore::appendLineWritesUtf8()
{
    HostFixture host;
    const QString path = host.dataDir() + QStringLiteral("/log.txt");
    QVERIFY(UserMessage_DataSqlTable::appendLine(path, QStringLiteral("第一行")));
    QVERIFY(UserMessage_DataSqlTable::appendLine(path, QStringLiteral("second")));
    QCOMPARE(fileBytes(path), QStringLiteral("第一行\nsecond\n").toUtf8());
    QVERIFY(!UserMessage_DataSqlTable::appendLine(host.dataDir() + QStringLiteral("/no/such/dir/x.txt"), "x"));
}

QTEST_MAIN(TestUserStore)
#include "tst_userstore.moc"
