// The simulator's saved settings: each text form of the settings pages comes back from the
// readers as posted (lists as arrays, numbers as numbers), hostile texts included over HTTP;
// personal book settings stay the user's until a manager unifies the group; categories get
// numbers; the survey standard follows a saved rule change; a saved job's permissions
// become its holders' rights in that company only; malformed posts store nothing; all of it
// outlives a restart on the same database file.
#include "allianceserver.h"
#include "alliancestore.h"
#include "services/housebooksettingsservice.h"
#include "widgets/choosers/departmentlevel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kManager = QStringLiteral("13800000001");  // company 101, manager
const QString kAgent = QStringLiteral("13800000002");    // company 101, 置业顾问
const QString kRegion = QStringLiteral("13800000003");   // company 101, 区域经理
const QString kOther = QStringLiteral("13800000005");    // company 103, every right
const QString kShopLead = QStringLiteral("13800000004"); // company 102, 店长 (job 3)
const QString kHostile = QStringLiteral("引号\"单'号 & 百分%25 加+号 =等；DROP TABLE savedsettings;-- 😀");

QJsonValue parsed(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).array();
}

QString choices(std::initializer_list<std::pair<int, const char *>> items)
{
    QList<QVariantMap> list;
    for (const auto &i : items)
        list << QVariantMap{{"id", i.first}, {"title", QString::fromUtf8(i.second)}, {"choose", i.first % 2 == 0}};
    return HouseBookSettingsService::listText(list);
}

} // namespace

class TestSettingsRoutes : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void textFormsRoundTrip_data();
    void textFormsRoundTrip();
    void hostileTextsOverHttp_data();
    void hostileTextsOverHttp();
    void personalAndCompanyStorage();
    void categoriesAreNumbered();
    void surveyStandardFollowsRules();
    void jobPermissionsBecomeRights();
    void malformedPostsStoreNothing_data();
    void malformedPostsStoreNothing();
    void survivesRestart();
    void departmentTreesReadByChooser();

private:
    Alliance::Answer ask(const QString &path, Alliance::Form form = {}, const QString &phone = kManager)
    {
        form.insert(QStringLiteral("lianmai"), QStringLiteral("1"));
        return m_store->handle(path, form, phone);
    }
    QJsonObject config(const QString &phone) { return ask("app/gethousebookconfig", {}, phone).data.toObject(); }
    QJsonArray rights(const QString &phone) { return ask("workcenter/currentauth", {}, phone).data.toArray(); }
    void openStore()
    {
        AllianceServer::Options options;
        options.listings = 20;
        options.communities = 5;
        options.dbPath = m_dir->filePath(QStringLiteral("alliance.db"));
        m_store.reset(new Alliance::Store(options));
        QString error;
        QVERIFY2(m_store->open(&error), qPrintable(error));
    }

    QScopedPointer<QTemporaryDir> m_dir;
    QScopedPointer<Alliance::Store> m_store;
};

void TestSettingsRoutes::init()
{
    m_store.reset();
    m_dir.reset(new QTemporaryDir);
    openStore();
}

void TestSettingsRoutes::textFormsRoundTrip_data()
{
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QJsonValue>("expected");
    const QString cfg = QStringLiteral("app/housebookconfig");
    const QString getCfg = QStringLiteral("app/gethousebookconfig");
    const QString tabs = choices({{4, "出售房源"}, {1, "我的出租"}, {2, "我的出售"}});
    const QString states = HouseBookSettingsService::stateClassesText({"有效", "急售", "特价", "一般"});
    const QString view = QStringLiteral(R"([{"id":1,"title":"单元栋号房号","choose":false},{"id":2,"title":"电话号码","choose":true},{"id":3,"title":"楼层","choose":true}])");
    QTest::newRow("item") << cfg << getCfg << "item" << tabs << parsed(tabs);
    QTest::newRow("page") << cfg << getCfg << "page" << "100" << QJsonValue(100);
    QTest::newRow("setrepeat") << cfg << getCfg << "setrepeat" << HouseBookSettingsService::repeatText({5, 1, 2}) << QJsonValue("1,2,5");
    QTest::newRow("setrepeat none") << cfg << getCfg << "setrepeat" << "" << QJsonValue("");
    QTest::newRow("publish flag") << cfg << getCfg << "storeSstate" << "1" << QJsonValue(1);
    QTest::newRow("viewrecord") << cfg << getCfg << "viewrecord" << view << parsed(view);
    QTest::newRow("chuzustate") << cfg << getCfg << "chuzustate" << states << parsed(states);
    QTest::newRow("yinhao_mode") << cfg << getCfg << "yinhao_mode" << "2" << QJsonValue(2);
    QTest::newRow("store search") << cfg << getCfg << "storesalesearch" << choices({{83, "区域/片区"}, {1, "小区"}}) << parsed(choices({{83, "区域/片区"}, {1, "小区"}}));
    const QString payway = QStringLiteral(R"([{"id":3,"name":"季付"},{"id":1,"name":"年付"}])");
    QTest::newRow("category") << "app/sethousebookcategory" << "app/gethousebookcategory" << "payway" << payway << parsed(payway);
    QTest::newRow("rule text") << "fd/fendanguize" << "fd/getfendanguize" << "shikancontent" << "横拍\n不带水印" << QJsonValue("横拍\n不带水印");
}

// Unknown keys (lianmai) are not given back.
void TestSettingsRoutes::textFormsRoundTrip()
{
    QFETCH(QString, save);
    QFETCH(QString, read);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QJsonValue, expected);
    QCOMPARE(ask(save, {{key, text}}).code, 200);
    const QJsonObject reply = ask(read).data.toObject();
    QCOMPARE(reply.value(key), expected);
    QVERIFY(!reply.contains(QStringLiteral("lianmai")));
}

void TestSettingsRoutes::hostileTextsOverHttp_data()
{
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QVariantMap>("form");
    QTest::addColumn<QJsonValue>("expected");
    const QString names = HouseBookSettingsService::listText({{{"id", 2}, {"name", kHostile}}});
    QTest::newRow("category name") << "app/sethousebookcategory" << "app/gethousebookcategory"
                                   << QVariantMap{{"saletag", names}} << QJsonValue(QJsonObject{{"saletag", parsed(names)}});
    QTest::newRow("survey text") << "fd/fendanguize" << "fd/getfendanguize" << QVariantMap{{"shikancontent", kHostile}}
                                 << QJsonValue(QJsonObject{{"shikancontent", kHostile}});
    const QString states = HouseBookSettingsService::stateClassesText({kHostile, "B", "C", "D"});
    QTest::newRow("state class") << "app/housebookconfig" << "app/gethousebookconfig" << QVariantMap{{"chushoustate", states}}
                                 << QJsonValue(QJsonObject{{"chushoustate", parsed(states)}});
    const QString entries = QStringLiteral(R"([{"id":102,"selected":true,"range":5,"bumens":[{"dept_id":10121,"dept_name":"%1","with_down":true}],"count":0,"sons":[]}])");
    const QString content = entries.arg(QString(kHostile).replace('"', "\\\""));
    QTest::newRow("department name") << "workcenter/jobedit" << "workcenter/currentauth"
                                     << QVariantMap{{"id", 1}, {"content", content}} << parsed(content);
}

// Posted percent-encoded as the plug-in posts: quotes, &, %, + and CJK come back unchanged.
void TestSettingsRoutes::hostileTextsOverHttp()
{
    QFETCH(QString, save);
    QFETCH(QString, read);
    QFETCH(QVariantMap, form);
    QFETCH(QJsonValue, expected);
    AllianceServer::Options options;
    options.listings = 10;
    options.communities = 3;
    options.dbPath = m_dir->filePath(QStringLiteral("http.db"));
    AllianceServer server(options);
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    auto post = [&](const QString &path, const QVariantMap &fields) {
        QByteArray body = "lianmai=1";
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            body += '&' + QUrl::toPercentEncoding(it.key()) + '=' + QUrl::toPercentEncoding(it.value().toString());
        QNetworkRequest request(QUrl(server.rootUrl(QStringLiteral("app")) + path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
        QNetworkReply *reply = nam.post(request, body);
        QSignalSpy done(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            done.wait(15000);
        reply->deleteLater();
        return QJsonDocument::fromJson(reply->readAll()).object();
    };
    QCOMPARE(post(save, form).value(QStringLiteral("code")).toInt(), 200);
    const QJsonValue data = post(read, {}).value(QStringLiteral("data"));
    if (expected.isArray())
        QCOMPARE(data, expected);
    for (const QString &key : expected.toObject().keys())
        QCOMPARE(data.toObject().value(key), expected.toObject().value(key));
}

void TestSettingsRoutes::personalAndCompanyStorage()
{
    const QJsonArray seededShow = config(kAgent).value(QStringLiteral("mysaleshow")).toArray();
    const QString own = choices({{3, "小区"}, {26, "总价"}});
    QCOMPARE(ask("app/housebookconfig", {{"page", "30"}, {"mysaleshow", own}, {"storeGstate", "1"}}, kAgent).code, 200);
    QCOMPARE(config(kAgent).value(QStringLiteral("page")).toInt(), 30);
    QCOMPARE(config(kAgent).value(QStringLiteral("mysaleshow")), parsed(own));
    // Personal keys stay the agent's; the company's keys reach the colleague, not company 103.
    QCOMPARE(config(kRegion).value(QStringLiteral("page")).toInt(), 20);
    QCOMPARE(config(kRegion).value(QStringLiteral("mysaleshow")).toArray(), seededShow);
    QCOMPARE(config(kRegion).value(QStringLiteral("storeGstate")).toInt(), 1);
    QCOMPARE(config(kOther).value(QStringLiteral("storeGstate")).toInt(), 0);

    // A manager's own choice without unifying stays the manager's.
    QCOMPARE(ask("app/housebookconfig", {{"page", "40"}, {"company_base_style", "0"}}).code, 200);
    QCOMPARE(config(kRegion).value(QStringLiteral("page")).toInt(), 20);
    // Unifying the base group: everyone of the company, the agent's own page cleared, her sale
    // columns (another group) kept; company 103 untouched.
    QCOMPARE(ask("app/housebookconfig", {{"page", "50"}, {"company_base_style", "1"}}).code, 200);
    for (const QString &phone : {kManager, kAgent, kRegion})
        QCOMPARE(config(phone).value(QStringLiteral("page")).toInt(), 50);
    QCOMPARE(config(kAgent).value(QStringLiteral("mysaleshow")), parsed(own));
    QCOMPARE(config(kOther).value(QStringLiteral("page")).toInt(), 20);
    // A style "1" from someone who is no manager unifies nothing.
    QCOMPARE(ask("app/housebookconfig", {{"page", "60"}, {"company_base_style", "1"}}, kAgent).code, 200);
    QCOMPARE(config(kRegion).value(QStringLiteral("page")).toInt(), 50);
    QCOMPARE(config(kAgent).value(QStringLiteral("page")).toInt(), 60);
}

void TestSettingsRoutes::categoriesAreNumbered()
{
    const QString first = QStringLiteral(R"([{"id":2,"name":"商铺"},{"id":0,"name":"新类目"},{"id":0,"name":"另一个"}])");
    QCOMPARE(ask("app/sethousebookcategory", {{"property1", first}}).code, 200);
    auto ids = [this](const QString &phone) {
        QList<int> list;
        for (const QJsonValue &v : ask("app/gethousebookcategory", {}, phone).data.toObject().value("property1").toArray())
            list << v.toObject().value("id").toInt();
        return list;
    };
    QCOMPARE(ids(kAgent), (QList<int>{2, 6, 7}));  // the seeded list ends at 5
    // A removed entry's number is not given again while the list still has a larger one.
    QCOMPARE(ask("app/sethousebookcategory", {{"property1", R"([{"id":7,"name":"另一个"},{"id":0,"name":"第三"}])"}}).code, 200);
    QCOMPARE(ids(kAgent), (QList<int>{7, 8}));
    QCOMPARE(ids(kOther), (QList<int>{1, 2, 3, 4, 5}));
    QCOMPARE(ask("app/gethousebookcategory").data.toObject().value("laiyuan").toArray().size(), 6);
}

// The photo page reads its survey standard from fd/getfendanguize.
void TestSettingsRoutes::surveyStandardFollowsRules()
{
    const QJsonObject seeded = ask("fd/getfendanguize").data.toObject();
    QList<QVariantMap> rules;
    for (int type = 1; type <= 6; ++type)
        rules << QVariantMap{{"type", type}, {"count", type == 2 ? 3 : 1}, {"choose", type == 2}};
    const QString text = HouseBookSettingsService::listText(rules);
    QCOMPARE(ask("fd/fendanguize", {{"rules", text}, {"followdays", "7"}, {"dujiaren", "0"}}).code, 200);
    const QJsonObject saved = ask("fd/getfendanguize", {}, kAgent).data.toObject();
    QCOMPARE(saved.value("rules"), parsed(text));
    QCOMPARE(saved.value("followdays"), QJsonValue(7));
    QCOMPARE(saved.value("dujiaren"), QJsonValue(0));
    for (const char *member : {"open", "shenhe", "fendan", "shikancontent"})
        QCOMPARE(saved.value(member), seeded.value(member));
    QCOMPARE(ask("fd/getfendanguize", {}, kOther).data.toObject(), seeded);
}

void TestSettingsRoutes::jobPermissionsBecomeRights()
{
    const QString coLeadOf101 = QStringLiteral("13900000001");  // 店长, company 101
    const QString advisorOf102 = QStringLiteral("13900000014");  // 置业顾问, company 102
    const QJsonArray before101 = rights(coLeadOf101);
    const QJsonArray beforeAdvisor = rights(advisorOf102);
    QCOMPARE(ask("workcenter/jobauthInfo", {{"id", "3"}}, kShopLead).data.toArray(), rights(kShopLead));
    QCOMPARE(ask("workcenter/jobauthInfo", {{"id", "5"}}, kShopLead).data.toArray(), QJsonArray());  // nobody holds it

    const QString content = QStringLiteral(R"([{"id":36,"selected":false,"range":0,"bumens":[],"count":0,"sons":[]},)"
                                           R"({"id":48,"selected":true,"range":2,"bumens":[],"count":0,"sons":["已售","成交"]}])");
    QCOMPARE(ask("workcenter/jobedit", {{"id", "3"}, {"content", content}}, kShopLead).code, 200);
    QCOMPARE(rights(kShopLead), parsed(content).toArray());
    QCOMPARE(ask("workcenter/jobauthInfo", {{"id", "3"}}, kShopLead).data.toArray(), parsed(content).toArray());
    QCOMPARE(rights(coLeadOf101), before101);
    QCOMPARE(rights(advisorOf102), beforeAdvisor);
}

void TestSettingsRoutes::malformedPostsStoreNothing_data()
{
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QVariantMap>("form");
    QTest::addColumn<QString>("message");
    const QString ok = QStringLiteral(R"([{"id":1,"name":"住宅"}])");
    QTest::newRow("list not json") << "app/housebookconfig" << "app/gethousebookconfig"
                                   << QVariantMap{{"page", "30"}, {"item", "出售房源,出租房源"}} << "设置格式错误：item";
    QTest::newRow("list as object") << "app/housebookconfig" << "app/gethousebookconfig"
                                    << QVariantMap{{"mysaleshow", R"({"id":1})"}, {"storeGstate", "1"}} << "设置格式错误：mysaleshow";
    QTest::newRow("number as words") << "app/housebookconfig" << "app/gethousebookconfig"
                                     << QVariantMap{{"page", "二十"}, {"setrepeat", "1,2"}} << "设置格式错误：page";
    QTest::newRow("entries not objects") << "app/sethousebookcategory" << "app/gethousebookcategory"
                                         << QVariantMap{{"property1", ok}, {"traffic", "[1,2]"}} << "设置格式错误：traffic";
    QTest::newRow("rules empty") << "fd/fendanguize" << "fd/getfendanguize"
                                 << QVariantMap{{"rules", ""}, {"followdays", "9"}} << "设置格式错误：rules";
    QTest::newRow("content not json") << "workcenter/jobedit" << "workcenter/currentauth"
                                      << QVariantMap{{"id", "1"}, {"content", "[{"}} << "设置格式错误：content";
    QTest::newRow("no job") << "workcenter/jobedit" << "workcenter/currentauth"
                            << QVariantMap{{"content", "[]"}} << "岗位不存在";
    QTest::newRow("unknown job") << "workcenter/jobedit" << "workcenter/currentauth"
                                 << QVariantMap{{"id", "99"}, {"content", "[]"}} << "岗位不存在";
}

void TestSettingsRoutes::malformedPostsStoreNothing()
{
    QFETCH(QString, save);
    QFETCH(QString, read);
    QFETCH(QVariantMap, form);
    QFETCH(QString, message);
    const QJsonValue before = ask(read).data;
    Alliance::Form fields;
    for (auto it = form.cbegin(); it != form.cend(); ++it)
        fields.insert(it.key(), it.value().toString());
    const Alliance::Answer answer = ask(save, fields);
    QCOMPARE(answer.code, 405);
    QCOMPARE(answer.message, message);
    QCOMPARE(ask(read).data, before);
}

void TestSettingsRoutes::survivesRestart()
{
    const QString tabs = choices({{2, "我的出售"}});
    QCOMPARE(ask("app/housebookconfig", {{"item", tabs}, {"storeSstate", "1"}}, kAgent).code, 200);
    QCOMPARE(ask("workcenter/jobedit", {{"id", "4"}, {"content", "[]"}}).code, 200);
    m_store->close();
    openStore();
    QCOMPARE(m_store->seedSeconds(), 0.0);  // the same file, not seeded again
    QCOMPARE(config(kAgent).value(QStringLiteral("item")), parsed(tabs));
    QCOMPARE(config(kRegion).value(QStringLiteral("storeSstate")).toInt(), 1);
    QCOMPARE(rights(kAgent), QJsonArray());
}

// The people and department chooser reads every level of both trees.
void TestSettingsRoutes::departmentTreesReadByChooser()
{
    for (const auto &request : {qMakePair(QString("omp/lwpV2"), QString()), qMakePair(QString("omp/dept/lwpSub"), QString("10101")),
                                qMakePair(QString("lmai/lwpV2"), QString()), qMakePair(QString("lmai/dept/lwpSub"), QString("10211"))}) {
        const DepartmentLevel level = DepartmentLevel::parse(ask(request.first, {{"dept_id", request.second}}).data);
        QVERIFY2(level.valid && level.skipped == 0 && level.departments.size() + level.people.size() > 0,
                 qPrintable(request.first));
    }
}

QTEST_GUILESS_MAIN(TestSettingsRoutes)
#include "tst_settingsroutes.moc"
