// The settings and reference downloads against a loopback server: what each code posts
// where, what it stores, how several codes end together, and that failures and malformed
// replies still end a code without touching stored data.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "recordingserver.h"
#include "sql/basemessage_sqltable.h"
#include "sql/basesqlobject.h"
#include "sql/cityhouseset_datasqltable.h"
#include "sql/housebookcatalogue.h"
#include "sql/housebookset_sqltable.h"
#include "sql/usermessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopedPointer>
#include <QtTest>

Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

using Reply = RecordingServer::Reply;

QJsonValue json(const char *text)
{
    return HouseBookCatalogue::fromText(QString::fromUtf8(text));
}

QList<int> codesOf(const QSignalSpy &spy)
{
    QList<int> codes;
    for (const QList<QVariant> &args : spy)
        codes << args.at(0).toInt();
    return codes;
}

// Every stored column of the personal tables, as "table.column", plus the alliance state.
QVariantMap storedState(bool jointSale = false)
{
    QVariantMap state;
    const auto add = [&state](const QString &table, const QVariantMap &row) {
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            state.insert(table + QLatin1Char('.') + it.key(), it.value());
    };
    BaseMessage_SqlTable base(nullptr, jointSale);
    add(QStringLiteral("basemessage"), base.readRow());
    HouseBookSet_SqlTable settings(nullptr, jointSale);
    add(QStringLiteral("housebookset"), settings.readRow());
    UserMessage_DataSqlTable user(nullptr, jointSale);
    add(QStringLiteral("user"), user.getUserRow());
    CityHouseSet_DataSqlTable city(nullptr, jointSale);
    add(QStringLiteral("cityHouseSet"), city.getRow());
    state.insert(QStringLiteral("JointSaleCompanyId"), DataCenter::JointSaleCompanyId);
    state.insert(QStringLiteral("isJointSaleManger"), DataCenter::isJointSaleManger);
    return state;
}

// What one code did on a download object of its own.
struct Ended
{
    QList<int> finished;
    QList<int> succeeded;
    int requestsLeft = 0;
};

// Runs one code and waits for its end and for its request object to be released.
Ended runCode(int code, bool jointSale = false)
{
    BaseSqlObject sql(nullptr, jointSale);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    sql.updataSqlData(code);
    if (!QTest::qWaitFor([&] { return !finish.isEmpty() && sql.findChildren<NetRequestObjecet *>().isEmpty(); }, 5000))
        qWarning("code %d did not end", code);
    return {codesOf(finish), codesOf(success), sql.findChildren<NetRequestObjecet *>().size()};
}

QStringList formPairs(const QMap<QString, QString> &form)
{
    QStringList pairs;
    for (auto it = form.cbegin(); it != form.cend(); ++it)
        pairs << it.key() + QLatin1Char('=') + it.value();
    return pairs;
}

} // namespace

class TestDownloads : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void requestOfEveryCode_data();
    void requestOfEveryCode();
    void watchRangeForm_data();
    void watchRangeForm();

    void storesReply_data();
    void storesReply();
    void jointSaleStoresInItsOwnTables();
    void malformedReplyKeepsStoredData_data();
    void malformedReplyKeepsStoredData();
    void failedRequestStillEnds_data();
    void failedRequestStillEnds();

    void jointSaleCompany_data();
    void jointSaleCompany();
    void hostHearsSuccessAndEnd_data();
    void hostHearsSuccessAndEnd();

    void listEndsOnce_data();
    void listEndsOnce();
    void immediateCodeEndsBeforeFetchedOne();
    void codesOutsideTheListDoNotCount();
    void loginWindowFetchesNothingButEnds();
    void loginDuringRequestStoresNothing();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestDownloads::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QCOMPARE(Endpoints::instance().appRoot, m_server.baseUrl() + QStringLiteral("/app/"));
}

void TestDownloads::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    // Unscripted paths succeed with nothing to store.
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonValue::Null));
    m_server.clearRequests();
}

void TestDownloads::cleanup()
{
    QCOMPARE(m_alerts->count(), 0); // background downloads never put up a box for these replies
    m_alerts.reset();
    m_host.reset();
}

// ---- What is posted where ----

void TestDownloads::requestOfEveryCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("form");
    const QList<std::tuple<int, QString, QStringList>> codes{
        {2, "/app/app/getdistric", {}},
        {3, "/app/publics/housecategory", {}},
        {4, "/app/workcenter/jobposts", {}},
        {5, "/app/account/initialize", {}},
        {6, "/app/app/gethousebookconfig", {}},
        {7, "/app/app/gethousebookcategory", {}},
        {10, "/soft/softpack/basePcAppPosts", {}},
        {11, "/app/workcenter/currentauth", {}},
        {12, "/app/app/getpublicofferconfig", {}},
        {13, "/gather/black/cityList", {"cityId=340100"}},
        {14, "/app/app/getclientbookconfig", {}},
        {15, "/app/app/getclientbookbconfig", {}},
        {16, "/app/app/scontractSetting", {}},
        {17, "/app/app/scontractrentsetting", {}},
        {19, "/app/call/getsetting", {}},
        {20, "/soft/community/search/range", {"deptids=", "distance=0"}},
        {22, "/soft/omp/emp/dept_staff_info", {}},
        {23, "/soft/lmai/user/info", {}},
        {24, "/help/apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime", {}},
        {25, "/app/fd/getfendanguize", {}},
        {26, "/app/fd/GetRentFendanguize", {}}};
    for (const auto &[code, path, form] : codes) {
        QTest::addRow("%d normal", code) << code << path << form;
        QStringList joint = form;
        joint << QStringLiteral("lianmai=1");
        joint.sort();
        QTest::addRow("%d joint sale", code) << code << path << joint;
    }
}

void TestDownloads::requestOfEveryCode()
{
    QFETCH(int, code);
    QFETCH(QString, path);
    QFETCH(QStringList, form);
    const Ended ended = runCode(code, QByteArray(QTest::currentDataTag()).endsWith("joint sale"));
    QCOMPARE(ended.finished, QList<int>{code});
    QCOMPARE(ended.requestsLeft, 0);
    const QList<RecordingServer::Request> requests = m_server.requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().method, QStringLiteral("POST"));
    QCOMPARE(requests.first().path, path);
    QCOMPARE(formPairs(requests.first().form), form);
}

// The watched communities are asked for around the user's own departments, within the
// distance of the view-scope right when it keeps the default scope.
void TestDownloads::watchRangeForm_data()
{
    QTest::addColumn<QString>("bumens");
    QTest::addColumn<QString>("userauth");
    QTest::addColumn<QString>("deptids");
    QTest::addColumn<QString>("distance");
    const QString ownDepts = QStringLiteral(R"({"suozai_bumens":{"12":{"id":12},"15":{"id":15}}})");
    QTest::newRow("default scope with distance") << ownDepts << R"([{"id":132,"range":0,"count":3000}])"
                                                 << "12,15" << "3000";
    QTest::newRow("distance member") << ownDepts << R"([{"id":132,"range":0,"distance":800}])" << "12,15" << "800";
    QTest::newRow("department scope has no distance") << ownDepts << R"([{"id":132,"range":4,"count":3000}])"
                                                      << "12,15" << "0";
    QTest::newRow("right not granted") << ownDepts << R"([{"id":132,"selected":false,"count":3000}])" << "12,15"
                                       << "0";
    QTest::newRow("departments as a list") << R"({"suozai_bumens":[{"id":7,"name":"一店"}]})" << "[]" << "7" << "0";
}

void TestDownloads::watchRangeForm()
{
    QFETCH(QString, bumens);
    QFETCH(QString, userauth);
    QFETCH(QString, deptids);
    QFETCH(QString, distance);
    {
        UserMessage_DataSqlTable user(nullptr, false);
        QVERIFY(user.updateColumn(QStringLiteral("bumens"), bumens));
        QVERIFY(user.updateColumn(QStringLiteral("userauth"), userauth));
    }
    QCOMPARE(runCode(20).finished, QList<int>{20});
    const QList<RecordingServer::Request> sent = m_server.requestsTo(QStringLiteral("/soft/community/search/range"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().form.value(QStringLiteral("deptids")), deptids);
    QCOMPARE(sent.first().form.value(QStringLiteral("distance")), distance);
}

// ---- What is stored ----

void TestDownloads::storesReply_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonValue>("reply");
    QTest::addColumn<QVariantMap>("expected"); // "table.column" -> stored JSON value

    const auto row = [](const char *name, int code, const char *path, const QJsonValue &reply,
                        const QVariantMap &expected) {
        QTest::newRow(name) << code << QString::fromLatin1(path) << reply << expected;
    };
    const QJsonValue area = json(R"([{"name":"蜀山区","status":1,"sons":[{"name":"南七"}]}])");
    row("2 areas", 2, "/app/app/getdistric", area, {{"basemessage.area", area}});
    row("2 areas sent as JSON text", 2, "/app/app/getdistric", QJsonValue(R"([{"name":"瑶海区"}])"),
        {{"basemessage.area", json(R"([{"name":"瑶海区"}])")}});
    row("3 public categories", 3, "/app/publics/housecategory",
        json(R"([{"name":"装修","data":[{"name":"精装"}]},{"name":"户型","data":[{"name":"三室"}]}])"),
        {{"basemessage.zhuangxiu", json(R"([{"name":"精装"}])")}, {"basemessage.hutype", json(R"([{"name":"三室"}])")}});
    const QJsonValue jobs = json(R"([{"name":"经纪人"}])");
    row("4 jobs", 4, "/app/workcenter/jobposts", jobs, {{"basemessage.job", jobs}});
    const QJsonValue init = json(R"({"cityid":340100,"userinfo":{"name":"张三"}})");
    row("5 user init", 5, "/app/account/initialize", init, {{"user.init", init}});
    const QJsonValue bookset = json(R"({"page":30,"enterfresh":0,"setrepeat":{"rule":1},"chushoustate":[]})");
    row("6 house-book settings", 6, "/app/app/gethousebookconfig", bookset,
        {{"housebookset.page", QJsonValue(30)}, {"housebookset.enterfresh", QJsonValue(0)}, {"housebookset.houserepeat", json(R"({"rule":1})")},
         {"housebookset.bookset", bookset}});
    row("7 house-book categories", 7, "/app/app/gethousebookcategory",
        json(R"({"property1":[{"name":"商品房"}],"laiyuan":[{"name":"上门"}]})"),
        {{"basemessage.property1", json(R"([{"name":"商品房"}])")}, {"basemessage.housesource", json(R"([{"name":"上门"}])")}});
    const QJsonValue apps = json(R"([{"name":"计算器"}])");
    row("10 applications", 10, "/soft/softpack/basePcAppPosts", apps, {{"basemessage.applist", apps}});
    const QJsonValue rights = json(R"([{"id":132,"range":0}])");
    row("11 rights", 11, "/app/workcenter/currentauth", rights, {{"user.userauth", rights}});
    row("12 city list settings", 12, "/app/app/getpublicofferconfig", json(R"({"showsort":[1,2],"search":[3,4]})"),
        {{"cityHouseSet.showsort", json("[1,2]")}, {"cityHouseSet.searchsort", json("[3,4]")}});
    row("12 only one member keeps the other", 12, "/app/app/getpublicofferconfig", json(R"({"search":[5]})"),
        {{"cityHouseSet.searchsort", json("[5]")}});
    const QJsonValue cloud = json(R"([{"name":"住宅","rentType":1}])");
    row("13 cloud items", 13, "/gather/black/cityList", cloud, {{"basemessage.clouditem", cloud}});
    row("14 customer settings by column", 14, "/app/app/getclientbookconfig",
        json(R"({"customersaleset":{"tags":["急"]},"customerrentset":{"tags":["短租"]},"customernewhouseset":{"tags":[]}})"),
        {{"basemessage.customersaleset", json(R"({"tags":["急"]})")},
         {"basemessage.customerrentset", json(R"({"tags":["短租"]})")},
         {"basemessage.customernewhouseset", json(R"({"tags":[]})")}});
    row("14 customer settings by book kind", 14, "/app/app/getclientbookconfig",
        json(R"({"ershoufang":{"fukuan":["全款"]},"xinfang":{"tags":["新"]}})"),
        {{"basemessage.customersaleset", json(R"({"fukuan":["全款"]})")},
         {"basemessage.customernewhouseset", json(R"({"tags":["新"]})")}});
    const QJsonValue base = json(R"({"liebiaoitem":[49,50]})");
    row("15 customer base settings", 15, "/app/app/getclientbookbconfig", base, {{"basemessage.customerbaseset", base}});
    const QJsonValue saleContract = json(R"({"tags":["急售"]})");
    row("16 sale contract settings", 16, "/app/app/scontractSetting", saleContract,
        {{"basemessage.salecontractset", saleContract}});
    const QJsonValue rentContract = json(R"({"tags":["月付"]})");
    row("17 rent contract settings", 17, "/app/app/scontractrentsetting", rentContract,
        {{"basemessage.rentcontractset", rentContract}});
    const QJsonValue call = json(R"({"isopen":true,"housebook":{"sale":{"days":3}}})");
    row("19 call settings", 19, "/app/call/getsetting", call, {{"basemessage.callbabybaseset", call}});
    const QJsonValue watched = json(R"([{"id":7,"name":"绿地"}])");
    row("20 watched communities", 20, "/soft/community/search/range", watched, {{"basemessage.watchcommunitys", watched}});
    const QJsonValue depts = json(R"({"suozai_bumens":{"12":{"id":12}}})");
    row("22 departments", 22, "/soft/omp/emp/dept_staff_info", depts, {{"user.bumens", depts}});
    row("24 review authority as a flag", 24, "/help/apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime", QJsonValue(true),
        {{"basemessage.oaauth", QJsonValue(true)}});
    const QJsonValue oa = json(R"({"isprime":1})");
    row("24 review authority as an object", 24, "/help/apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime", oa,
        {{"basemessage.oaauth", oa}});
    const QJsonValue saleRules = json(R"({"roles":[{"name":"维护人","rate":20}]})");
    row("25 sale separation rules", 25, "/app/fd/getfendanguize", saleRules, {{"housebookset.salexiezuoset", saleRules}});
    const QJsonValue rentRules = json(R"([{"name":"钥匙人","rate":10}])");
    row("26 rent separation rules", 26, "/app/fd/GetRentFendanguize", rentRules,
        {{"housebookset.rentxiezuoset", rentRules}});
}

// The reply lands in exactly the columns named, and every other stored value stays.
void TestDownloads::storesReply()
{
    QFETCH(int, code);
    QFETCH(QString, path);
    QFETCH(QJsonValue, reply);
    QFETCH(QVariantMap, expected);
    m_server.setReply(path, RecordingServer::envelope(200, reply));
    const QVariantMap before = storedState();

    const Ended ended = runCode(code);
    QCOMPARE(ended.succeeded, QList<int>{code});
    QCOMPARE(ended.finished, QList<int>{code});

    const QVariantMap after = storedState();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(HouseBookCatalogue::fromText(after.value(it.key()).toString()), it.value().toJsonValue());
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!expected.contains(it.key()))
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
}

void TestDownloads::jointSaleStoresInItsOwnTables()
{
    const QJsonValue area = json(R"([{"name":"包河区"}])");
    m_server.setReply(QStringLiteral("/app/app/getdistric"), RecordingServer::envelope(200, area));
    QCOMPARE(runCode(2, true).succeeded, QList<int>{2});
    BaseMessage_SqlTable joint(nullptr, true);
    BaseMessage_SqlTable normal(nullptr, false);
    QCOMPARE(joint.names(QStringLiteral("area")), QStringList{QStringLiteral("包河区")});
    QVERIFY(normal.getValue(QStringLiteral("area")).isEmpty());
}

void TestDownloads::malformedReplyKeepsStoredData_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonValue>("good");
    QTest::addColumn<QJsonValue>("bad");
    const QJsonValue null(QJsonValue::Null);
    const QJsonValue list = json(R"([{"name":"x"}])");
    const QJsonValue object = json(R"({"name":"x"})");
    const auto row = [](const char *name, int code, const char *path, const QJsonValue &good, const QJsonValue &bad) {
        QTest::newRow(name) << code << QString::fromLatin1(path) << good << bad;
    };
    row("2 null data", 2, "/app/app/getdistric", list, null);
    row("2 object instead of list", 2, "/app/app/getdistric", list, object);
    row("2 number", 2, "/app/app/getdistric", list, QJsonValue(5));
    row("2 text that is not JSON", 2, "/app/app/getdistric", list, QJsonValue("oops"));
    row("3 object instead of list", 3, "/app/publics/housecategory", json(R"([{"name":"装修","data":[1]}])"), object);
    row("4 empty text", 4, "/app/workcenter/jobposts", list, QJsonValue(""));
    row("5 list instead of object", 5, "/app/account/initialize", object, list);
    row("6 list instead of object", 6, "/app/app/gethousebookconfig", json(R"({"page":30})"), list);
    row("6 null data", 6, "/app/app/gethousebookconfig", json(R"({"page":30})"), null);
    row("7 list instead of object", 7, "/app/app/gethousebookcategory", json(R"({"traffic":[1]})"), list);
    row("11 number", 11, "/app/workcenter/currentauth", list, QJsonValue(1));
    row("12 list instead of object", 12, "/app/app/getpublicofferconfig", json(R"({"showsort":[1],"search":[2]})"), list);
    row("12 members null", 12, "/app/app/getpublicofferconfig", json(R"({"showsort":[1],"search":[2]})"),
        json(R"({"showsort":null,"search":7})"));
    row("14 members not objects", 14, "/app/app/getclientbookconfig", json(R"({"customersaleset":{"tags":[]}})"),
        json(R"({"customersaleset":[1],"zufang":"x"})"));
    row("15 list instead of object", 15, "/app/app/getclientbookbconfig", object, list);
    row("19 list instead of object", 19, "/app/call/getsetting", object, list);
    row("20 object instead of list", 20, "/soft/community/search/range", list, object);
    row("22 plain text", 22, "/soft/omp/emp/dept_staff_info", object, QJsonValue("abc"));
    row("24 null data", 24, "/help/apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime", QJsonValue(true), null);
    row("25 number", 25, "/app/fd/getfendanguize", object, QJsonValue(3));
    row("26 null data", 26, "/app/fd/GetRentFendanguize", list, null);
}

// A reply of the wrong shape still ends the code, reports no success and leaves the data
// of an earlier good reply in place.
void TestDownloads::malformedReplyKeepsStoredData()
{
    QFETCH(int, code);
    QFETCH(QString, path);
    QFETCH(QJsonValue, good);
    QFETCH(QJsonValue, bad);
    m_server.setReply(path, RecordingServer::envelope(200, good));
    QCOMPARE(runCode(code).succeeded, QList<int>{code});
    const QVariantMap before = storedState();

    m_server.setReply(path, RecordingServer::envelope(200, bad));
    const Ended ended = runCode(code);
    QCOMPARE(ended.finished, QList<int>{code});
    QCOMPARE(ended.succeeded, QList<int>());
    QCOMPARE(storedState(), before);
}

void TestDownloads::failedRequestStillEnds_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::newRow("http 500") << RecordingServer::raw("internal error", 500);
    QTest::newRow("dropped connection") << RecordingServer::dropped();
    QTest::newRow("refusal in the envelope") << RecordingServer::envelope(500, QJsonValue(), QStringLiteral("失败"));
    QTest::newRow("body is not JSON") << RecordingServer::raw("<html>busy</html>", 200, QStringLiteral("text/html"));
}

// Failing requests end their codes, the list still ends once, nothing is stored and every
// request object is released.
void TestDownloads::failedRequestStillEnds()
{
    QFETCH(Reply, reply);
    m_server.setReply(QStringLiteral("/app/app/getdistric"), RecordingServer::envelope(200, json(R"([{"name":"a"}])")));
    QCOMPARE(runCode(2).succeeded, QList<int>{2});
    const QVariantMap before = storedState();
    m_server.setReply(QStringLiteral("/app/app/getdistric"), reply);
    m_server.setReply(QStringLiteral("/app/publics/housecategory"), reply);

    BaseSqlObject sql(nullptr, false);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
    sql.download_id({2, 3});
    QTRY_COMPARE(all.count(), 1);
    QTRY_VERIFY(sql.findChildren<NetRequestObjecet *>().isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(all.count(), 1);
    QList<int> ended = codesOf(finish);
    std::sort(ended.begin(), ended.end());
    QCOMPARE(ended, (QList<int>{2, 3}));
    QVERIFY(success.isEmpty());
    QCOMPARE(storedState(), before);
}

// ---- Code 23 ----

void TestDownloads::jointSaleCompany_data()
{
    QTest::addColumn<QJsonValue>("reply");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("companyId");
    QTest::addColumn<bool>("manager");
    QTest::newRow("number and flag") << json(R"({"lmcompanyid":77,"manager":true})") << true << 77 << true;
    QTest::newRow("numeric text, flag text") << json(R"({"lmcompanyid":" 78 ","manager":"true"})") << true << 78 << true;
    QTest::newRow("flag as 1") << json(R"({"lmcompanyid":79,"manager":1})") << true << 79 << true;
    QTest::newRow("flag as 0") << json(R"({"lmcompanyid":80,"manager":0})") << true << 80 << false;
    QTest::newRow("not a manager") << json(R"({"lmcompanyid":81,"manager":false})") << true << 81 << false;
    QTest::newRow("no alliance company") << json(R"({"lmcompanyid":0,"manager":false})") << true << 0 << false;
    QTest::newRow("list instead of object") << json("[77,true]") << false << 0 << false;
    QTest::newRow("null data") << QJsonValue(QJsonValue::Null) << false << 0 << false;
    QTest::newRow("id not a number") << json(R"({"lmcompanyid":"abc","manager":true})") << false << 0 << false;
    QTest::newRow("id an object") << json(R"({"lmcompanyid":{"id":7},"manager":true})") << false << 0 << false;
    QTest::newRow("id with a fraction") << json(R"({"lmcompanyid":12.5,"manager":true})") << false << 0 << false;
    QTest::newRow("negative id") << json(R"({"lmcompanyid":-3,"manager":true})") << false << 0 << false;
    QTest::newRow("id too large") << json(R"({"lmcompanyid":99999999999,"manager":true})") << false << 0 << false;
    QTest::newRow("id missing") << json(R"({"manager":true})") << false << 0 << false;
    QTest::newRow("flag unreadable") << json(R"({"lmcompanyid":77,"manager":"maybe"})") << false << 0 << false;
    QTest::newRow("flag 2") << json(R"({"lmcompanyid":77,"manager":2})") << false << 0 << false;
    QTest::newRow("flag missing") << json(R"({"lmcompanyid":77})") << false << 0 << false;
}

void TestDownloads::jointSaleCompany()
{
    QFETCH(QJsonValue, reply);
    QFETCH(bool, taken);
    QFETCH(int, companyId);
    QFETCH(bool, manager);
    DataCenter::JointSaleCompanyId = 9001;
    DataCenter::isJointSaleManger = taken ? !manager : true;
    m_server.setReply(QStringLiteral("/soft/lmai/user/info"), RecordingServer::envelope(200, reply));

    const Ended ended = runCode(23);
    QCOMPARE(ended.finished, QList<int>{23});
    QCOMPARE(ended.succeeded, taken ? QList<int>{23} : QList<int>());
    QCOMPARE(DataCenter::JointSaleCompanyId, taken ? companyId : 9001);
    QCOMPARE(DataCenter::isJointSaleManger, taken ? manager : true);
}

// ---- The host's signal hub ----

void TestDownloads::hostHearsSuccessAndEnd_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<QList<int>>("states");
    QTest::newRow("stored") << 2 << RecordingServer::envelope(200, json("[]")) << QList<int>{1, 3};
    QTest::newRow("failed") << 2 << RecordingServer::raw("", 500) << QList<int>{3};
    QTest::newRow("malformed") << 2 << RecordingServer::envelope(200, json("{}")) << QList<int>{3};
    QTest::newRow("nothing to fetch") << 21 << Reply() << QList<int>{1, 3};
}

// State 1 announces stored data, state 3 the end, each with the code as value.
void TestDownloads::hostHearsSuccessAndEnd()
{
    QFETCH(int, code);
    QFETCH(Reply, reply);
    QFETCH(QList<int>, states);
    m_server.setReply(QStringLiteral("/app/app/getdistric"), reply);
    QSignalSpy hub(CommonSignalTool::Instance(), &CommonSignalTool::baseSqlReq);
    QCOMPARE(runCode(code).finished, QList<int>{code});
    QCOMPARE(codesOf(hub), states);
    for (const QList<QVariant> &args : hub) {
        QCOMPARE(args.at(1).toInt(), code);
        QVERIFY(!args.at(2).value<QObject *>());
    }
}

// ---- Several codes ----

void TestDownloads::listEndsOnce_data()
{
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<bool>("atOnce");
    QTest::addColumn<int>("requests");
    QTest::addColumn<QList<int>>("ended");
    QTest::newRow("empty list") << QList<int>{} << true << 0 << QList<int>{};
    QTest::newRow("nothing to fetch") << QList<int>{8, 9, 21} << true << 0 << QList<int>{8, 9, 21};
    QTest::newRow("one fetched") << QList<int>{3} << false << 1 << QList<int>{3};
    QTest::newRow("code listed twice") << QList<int>{2, 2} << false << 2 << QList<int>{2, 2};
    QTest::newRow("back-fill is not started") << QList<int>{2, 18} << false << 1 << QList<int>{2};
    QTest::newRow("only the back-fill") << QList<int>{18} << true << 0 << QList<int>{};
    QTest::newRow("unknown code") << QList<int>{99, 4} << false << 1 << QList<int>{4};
}

void TestDownloads::listEndsOnce()
{
    QFETCH(QList<int>, codes);
    QFETCH(bool, atOnce);
    QFETCH(int, requests);
    QFETCH(QList<int>, ended);
    BaseSqlObject sql(nullptr, false);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
    sql.download_id(codes);
    QCOMPARE(all.count(), atOnce ? 1 : 0);
    QTRY_COMPARE(all.count(), 1);
    QTRY_VERIFY(sql.findChildren<NetRequestObjecet *>().isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(all.count(), 1);
    QCOMPARE(codesOf(finish), ended);
    QCOMPARE(m_server.requestCount(), requests);
    QVERIFY(m_server.requestsTo(QStringLiteral("/app/app/synchouseInfo")).isEmpty());
}

void TestDownloads::immediateCodeEndsBeforeFetchedOne()
{
    BaseSqlObject sql(nullptr, false);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
    sql.download_id({2, 8});
    QCOMPARE(codesOf(finish), QList<int>{8});
    QCOMPARE(all.count(), 0);
    QVERIFY(all.wait(5000));
    QCOMPARE(codesOf(finish), (QList<int>{8, 2}));
    QTRY_VERIFY(sql.findChildren<NetRequestObjecet *>().isEmpty());
    QCOMPARE(all.count(), 1);
    // A listed code ending again later does not end the list a second time.
    sql.download_allStaffList();
    QCOMPARE(codesOf(finish), (QList<int>{8, 2, 8}));
    QCOMPARE(all.count(), 1);
}

// Ends of codes run besides the list, even on the same object, are not counted for it.
void TestDownloads::codesOutsideTheListDoNotCount()
{
    Reply slow = RecordingServer::envelope(200, json("[]"));
    slow.delayMs = 1500;
    m_server.setReply(QStringLiteral("/app/workcenter/jobposts"), slow);
    BaseSqlObject sql(nullptr, false);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
    sql.download_id({2, 4});
    sql.updataSqlData(3);
    sql.download_allStaffList();
    QTRY_VERIFY(codesOf(finish).contains(2) && codesOf(finish).contains(3));
    QCOMPARE(all.count(), 0);
    QVERIFY(all.wait(5000));
    QCOMPARE(codesOf(finish).last(), 4);
    QCOMPARE(all.count(), 1);
}

// While the login window is in front nothing is fetched or stored, yet every code ends once,
// so that the objects pages release on that end are released.
void TestDownloads::loginWindowFetchesNothingButEnds()
{
    m_server.setReply(QStringLiteral("/app/workcenter/jobposts"), RecordingServer::envelope(200, QJsonValue::Null));
    DataCenter::CurrentWindow = QStringLiteral("Login");
    BaseSqlObject sql(nullptr, false);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
    QSignalSpy hub(CommonSignalTool::Instance(), &CommonSignalTool::baseSqlReq);
    QList<int> every;
    for (int code = 1; code <= 26; ++code) {
        if (code != 18)
            every << code;
    }
    sql.download_id(every);
    QCOMPARE(all.count(), 1);
    QCOMPARE(codesOf(finish), every);
    sql.download_id({});
    QCOMPARE(all.count(), 2);
    finish.clear();
    for (int code : every)
        sql.updataSqlData(code);
    sql.downloadUndateOneHouse(7);
    sql.download_keyHouse({{{QStringLiteral("key"), QStringLiteral("vrurl")}}}, {});
    QCOMPARE(codesOf(finish), (every + QList<int>{-1, 18}));
    QVERIFY(sql.findChildren<NetRequestObjecet *>().isEmpty());
    QVERIFY(success.isEmpty());
    QVERIFY(hub.isEmpty());  // the host's sign-in window hears nothing of it

    // A request made once the user is in shows that none went out before it.
    DataCenter::CurrentWindow = QStringLiteral("main");
    finish.clear();
    sql.updataSqlData(4);
    QVERIFY(finish.wait(5000));
    QCOMPARE(codesOf(finish), QList<int>{4});
    QCOMPARE(m_server.requestCount(), 1);
    QCOMPARE(all.count(), 2);
    QVERIFY(success.isEmpty());
    QCOMPARE(codesOf(hub), QList<int>{3});
}

// A reply that arrives after the user went back to the login window stores nothing; the code
// still ends once.
void TestDownloads::loginDuringRequestStoresNothing()
{
    Reply slow = RecordingServer::envelope(200, json(R"([{"name":"x"}])"));
    slow.delayMs = 300;
    m_server.setReply(QStringLiteral("/app/app/getdistric"), slow);
    const QVariantMap before = storedState();
    BaseSqlObject sql(nullptr, false);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    sql.updataSqlData(2);
    QTRY_COMPARE(m_server.requestCount(), 1);
    DataCenter::CurrentWindow = QStringLiteral("Login");
    QTRY_VERIFY(sql.findChildren<NetRequestObjecet *>().isEmpty());
    QCOMPARE(codesOf(finish), QList<int>{2});
    QVERIFY(success.isEmpty());
    DataCenter::CurrentWindow = QStringLiteral("main");
    QCOMPARE(storedState(), before);
}

QTEST_MAIN(TestDownloads)
#include "tst_downloads.moc"
