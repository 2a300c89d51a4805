// The request object against a real loopback server: request building, the reply
// envelope, every failure path, redirects, TLS, uploads and downloads.
#include "alertrecorder.h"
#include "commonsignaltool.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "net/formencoding.h"
#include "net/netrequestobjecet.h"
#include "recordingserver.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkCookie>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Everything one request object reported, in order.
struct Outcome
{
    explicit Outcome(NetRequestObjecet *r)
        : finish(r, &NetRequestObjecet::loadFinish)
        , success(r, &NetRequestObjecet::loadSuccess)
        , fail(r, &NetRequestObjecet::loadFail)
        , external(r, &NetRequestObjecet::loadSuccessFromExternalAPI)
        , lostLogin(CommonSignalTool::Instance(), &CommonSignalTool::lostLogin)
        , notice(CommonSignalTool::Instance(), &CommonSignalTool::reviceMsg)
    {
    }
    QSignalSpy finish, success, fail, external, lostLogin, notice;
};

QJsonValue bigString(int bytes)
{
    return QJsonValue(QString(bytes, QLatin1Char('x')));
}

} // namespace

class TestNetRequestObjecet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void successDeliversData_data();
    void successDeliversData();
    void nonSuccessRepliesFail_data();
    void nonSuccessRepliesFail();
    void refusalShowsServerMessage();
    void closeAlertSilencesBoxAndLogin();
    void lostLogin();
    void transportErrors_data();
    void transportErrors();
    void externalApiGetsRawBytes();

    void headersCookieAndContentType();
    void formValuesArriveWhole();
    void templatesAreEncodedInOnePass();
    void queryForGetAndDelete();
    void jsonBodies();
    void lanAddressWarnsButSends();

    void redirectIsFollowedOnce();
    void redirectLoopIsBounded();
    void tlsIsVerified();

    void uploadSendsPartsAndReportsAddress();
    void uploadFailures();
    void downloadWritesNamedFile();
    void downloadFailures();

    void stalledServerTimesOut_data();
    void stalledServerTimesOut();
    void oversizedReplyIsCut_data();
    void oversizedReplyIsCut();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QTemporaryDir m_dir;
};

void TestNetRequestObjecet::initTestCase()
{
    QVERIFY(m_server.start());
    // All roots on the recording server; read once on first use of the endpoint table.
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QCOMPARE(Endpoints::instance().appRoot, m_server.baseUrl() + QStringLiteral("/app/"));
}

void TestNetRequestObjecet::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
}

void TestNetRequestObjecet::cleanup()
{
    NetRequestObjecet::setLimits(NetRequestObjecet::Limits());
    m_alerts.reset();
    m_host.reset();
}

void TestNetRequestObjecet::successDeliversData_data()
{
    QTest::addColumn<QJsonValue>("code");
    QTest::addColumn<QJsonValue>("data");
    QTest::addColumn<QJsonValue>("expected");
    QTest::newRow("object") << QJsonValue(200) << QJsonValue(QJsonObject{{"id", 5}}) << QJsonValue(QJsonObject{{"id", 5}});
    QTest::newRow("code as text, null data") << QJsonValue("200") << QJsonValue(QJsonValue::Null) << QJsonValue(QString());
    QTest::newRow("missing data") << QJsonValue(200) << QJsonValue(QJsonValue::Undefined) << QJsonValue(QString());
    QTest::newRow("array") << QJsonValue(200) << QJsonValue(QJsonArray{1, 2}) << QJsonValue(QJsonArray{1, 2});
    QTest::newRow("10 MB payload") << QJsonValue(200) << bigString(10 * 1024 * 1024) << bigString(10 * 1024 * 1024);
}

void TestNetRequestObjecet::successDeliversData()
{
    QFETCH(QJsonValue, code);
    QFETCH(QJsonValue, data);
    QFETCH(QJsonValue, expected);
    m_server.setReply(QStringLiteral("/app/ok"), RecordingServer::envelope(code, data, QStringLiteral("ok")));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/ok")), {{QStringLiteral("id"), 1}});
    QTRY_COMPARE_WITH_TIMEOUT(o.finish.count(), 1, 20000);
    QCOMPARE(o.success.count(), 1);
    QCOMPARE(o.success.at(0).at(0).value<QJsonValue>(), expected);
    QCOMPARE(o.fail.count(), 0);
    QCOMPARE(o.notice.count(), 0);
    QCOMPARE(m_alerts->count() + AlertRecorder::liveBoxes(), 0);
    delete r;
}

void TestNetRequestObjecet::nonSuccessRepliesFail_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty body") << QByteArray() << 0 << QString();
    QTest::newRow("not JSON") << QByteArray("<html>busy</html>") << 0 << QString();
    QTest::newRow("JSON array") << QByteArray("[{\"code\":200}]") << 0 << QString();
    QTest::newRow("truncated JSON") << QByteArray("{\"code\":200,\"data\":{\"id\":") << 0 << QString();
    QTest::newRow("code abc") << QByteArray("{\"code\":\"abc\",\"data\":1}") << 0 << QString();
    QTest::newRow("code 500 with message") << QByteArray("{\"code\":500,\"message\":\"服务器繁忙\"}") << 500 << QStringLiteral("服务器繁忙");
    QTest::newRow("code 0 null data") << QByteArray("{\"code\":0,\"data\":null}") << 0 << QString();
    QTest::newRow("405 without message") << QByteArray("{\"code\":405}") << 405 << QString();
    QTest::newRow("400 without message") << QByteArray("{\"code\":400,\"message\":\"\"}") << 400 << QString();
}

// Every failure ends in loadFail, the process-wide notice and loadFinish, without a box.
void TestNetRequestObjecet::nonSuccessRepliesFail()
{
    QFETCH(QByteArray, body);
    QFETCH(int, code);
    QFETCH(QString, message);
    m_server.setReply(QStringLiteral("/app/bad"), RecordingServer::raw(body, 200, QStringLiteral("application/json")));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/bad")), {});
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(o.success.count(), 0);
    QCOMPARE(o.fail.count(), 1);
    QCOMPARE(o.fail.at(0).at(0).toInt(), code);
    QCOMPARE(o.fail.at(0).at(1).toString(), message);
    QCOMPARE(o.lostLogin.count(), 0);
    QCOMPARE(o.notice.count(), 1);
    QCOMPARE(o.notice.at(0).at(0).toString(), QStringLiteral("request_fail"));
    const QVariantMap notice = o.notice.at(0).at(1).toMap();
    QCOMPARE(notice.value(QStringLiteral("code")).toInt(), code);
    QCOMPARE(notice.value(QStringLiteral("message")).toString(), message);
    QCOMPARE(notice.value(QStringLiteral("isShowAlert")).toBool(), true);
    QCOMPARE(notice.value(QStringLiteral("url")).toString(), m_server.url(QStringLiteral("/app/bad")));
    QCOMPARE(AlertRecorder::liveBoxes(), 0);
    delete r;
}

void TestNetRequestObjecet::refusalShowsServerMessage()
{
    m_server.setReply(QStringLiteral("/app/refuse"),
                      RecordingServer::envelope(405, QJsonValue(), QStringLiteral("您没有权限操作该房源！")));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/refuse")), {});
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(o.fail.count(), 1);
    QCOMPARE(o.fail.at(0).at(0).toInt(), 405);
    QCOMPARE(o.notice.count(), 1);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("您没有权限操作该房源！"));
    QCOMPARE(m_alerts->last().title, QStringLiteral("警告"));
    delete r;
}

void TestNetRequestObjecet::closeAlertSilencesBoxAndLogin()
{
    m_server.setReply(QStringLiteral("/app/refuse"), RecordingServer::envelope(405, QJsonValue(), QStringLiteral("不行")));
    m_server.setReply(QStringLiteral("/app/login"), RecordingServer::envelope(400, QJsonValue(), QStringLiteral("请重新登录")));
    for (const QString &path : {QStringLiteral("/app/refuse"), QStringLiteral("/app/login")}) {
        auto *r = new NetRequestObjecet(this);
        r->closeAlert();
        Outcome o(r);
        r->postForm(m_server.url(path), {});
        QTRY_COMPARE(o.finish.count(), 1);
        QCOMPARE(o.fail.count(), 1);
        QCOMPARE(o.lostLogin.count(), 0);
        QCOMPARE(o.notice.count(), 1);
        QCOMPARE(o.notice.at(0).at(1).toMap().value(QStringLiteral("isShowAlert")).toBool(), false);
        QCOMPARE(AlertRecorder::liveBoxes(), 0);
        delete r;
    }
}

void TestNetRequestObjecet::lostLogin()
{
    m_server.setReply(QStringLiteral("/app/login"), RecordingServer::envelope(400, QJsonValue(), QStringLiteral("登录已失效")));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/login")), {});
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(o.lostLogin.count(), 1);
    const QVariantMap login = o.lostLogin.at(0).at(0).toMap();
    QCOMPARE(login.value(QStringLiteral("use")).toString(), QStringLiteral("again_login"));
    QCOMPARE(login.value(QStringLiteral("message")).toString(), QStringLiteral("登录已失效"));
    QCOMPARE(o.fail.count(), 1);
    QCOMPARE(o.fail.at(0).at(0).toInt(), 400);
    QCOMPARE(o.notice.count(), 1);
    QCOMPARE(AlertRecorder::liveBoxes(), 0);
    delete r;
}

void TestNetRequestObjecet::transportErrors_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("dropped connection") << 0;
    QTest::newRow("cut mid-body") << 1;
    QTest::newRow("HTTP 500") << 2;
}

void TestNetRequestObjecet::transportErrors()
{
    QFETCH(int, kind);
    RecordingServer::Reply reply = RecordingServer::envelope(200, QJsonObject{{"id", 1}});
    if (kind == 0)
        reply = RecordingServer::dropped();
    else if (kind == 1)
        reply.truncateAt = 5;
    else
        reply.status = 500;
    m_server.setReply(QStringLiteral("/app/broken"), reply);
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/broken")), {});
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(o.success.count(), 0);
    QCOMPARE(o.fail.count(), 1);
    QCOMPARE(o.fail.at(0).at(0).toInt(), 0);
    QVERIFY(!o.fail.at(0).at(1).toString().isEmpty());
    QVERIFY(r->errorText().startsWith(QStringLiteral("网络加载错误code: ")));
    QVERIFY(r->errorText().contains(m_server.url(QStringLiteral("/app/broken"))));
    QCOMPARE(o.notice.count(), 0);
    QCOMPARE(AlertRecorder::liveBoxes(), 0);
    delete r;
}

void TestNetRequestObjecet::externalApiGetsRawBytes()
{
    m_server.setReply(QStringLiteral("/web/raw"), RecordingServer::raw("plain,text"));
    auto *r = new NetRequestObjecet(this);
    r->setExternalApi(true);
    Outcome o(r);
    r->sendRequest(m_server.url(QStringLiteral("/web/raw")), QVariantMap(), false, NetRequestObjecet::Get);
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(o.external.count(), 1);
    QCOMPARE(o.external.at(0).at(0).toByteArray(), QByteArray("plain,text"));
    QCOMPARE(o.fail.count(), 0);
    delete r;
}

void TestNetRequestObjecet::headersCookieAndContentType()
{
    DataCenter::HttpHeadMap.insert(QStringLiteral("token"), QStringLiteral("t-123"));
    DataCenter::HttpHeadMap.insert(QStringLiteral("version"), 42);
    DataCenter::CookieVar = QVariant::fromValue(QList<QNetworkCookie>{QNetworkCookie("SESSION", "abc")});
    m_server.setReply(QStringLiteral("/app/h"), RecordingServer::envelope(200));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/h")), {{QStringLiteral("a"), 1}});
    QTRY_COMPARE(o.finish.count(), 1);
    const RecordingServer::Request req = m_server.lastRequest();
    QCOMPARE(req.method, QStringLiteral("POST"));
    QCOMPARE(req.headers.value(QStringLiteral("token")), QStringLiteral("t-123"));
    QCOMPARE(req.headers.value(QStringLiteral("version")), QStringLiteral("42"));
    QCOMPARE(req.headers.value(QStringLiteral("dump")), QStringLiteral("1"));
    QVERIFY(req.headers.value(QStringLiteral("cookie")).contains(QStringLiteral("SESSION=abc")));
    QCOMPARE(req.headers.value(QStringLiteral("content-type")), QStringLiteral("application/x-www-form-urlencoded"));
    delete r;

    // Headers are taken when the object is made: later changes do not leak into it.
    DataCenter::CookieVar = QStringLiteral("SESSION=plain");
    r = new NetRequestObjecet(this);
    DataCenter::HttpHeadMap.insert(QStringLiteral("token"), QStringLiteral("later"));
    Outcome o2(r);
    r->sendRequest(m_server.url(QStringLiteral("/app/h")), QVariantMap{{"a", 1}}, false, NetRequestObjecet::Post,
                   NetRequestObjecet::Json);
    QTRY_COMPARE(o2.finish.count(), 1);
    QCOMPARE(m_server.lastRequest().headers.value(QStringLiteral("token")), QStringLiteral("t-123"));
    QCOMPARE(m_server.lastRequest().headers.value(QStringLiteral("cookie")), QStringLiteral("SESSION=plain"));
    QCOMPARE(m_server.lastRequest().headers.value(QStringLiteral("content-type")), QStringLiteral("application/json"));
    delete r;
}

// A remark with "&", "=", "%" or "+" must reach the server whole.
void TestNetRequestObjecet::formValuesArriveWhole()
{
    m_server.setReply(QStringLiteral("/app/app/followadd"), RecordingServer::envelope(200));
    const QString remark = QStringLiteral("南北通透&满五唯一=100%+急售 a b");
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/app/followadd")),
                {{QStringLiteral("content"), remark},
                 {QStringLiteral("id"), 15},
                 {QStringLiteral("price"), 128.5},
                 {QStringLiteral("top"), true},
                 {QStringLiteral("k&=%"), QStringLiteral("v")}});
    QTRY_COMPARE(o.finish.count(), 1);
    const RecordingServer::Request req = m_server.lastRequest();
    QCOMPARE(req.form.value(QStringLiteral("content")), remark);
    QCOMPARE(req.form.value(QStringLiteral("id")), QStringLiteral("15"));
    QCOMPARE(req.form.value(QStringLiteral("price")), QStringLiteral("128.5"));
    QCOMPARE(req.form.value(QStringLiteral("top")), QStringLiteral("1"));
    QCOMPARE(req.form.value(QStringLiteral("k&=%")), QStringLiteral("v"));
    QCOMPARE(req.form.size(), 5);
    delete r;
}

void TestNetRequestObjecet::templatesAreEncodedInOnePass()
{
    // A value that looks like a placeholder must not be substituted again.
    QCOMPARE(FormEncoding::fill(QStringLiteral("id=%1&state=%2&lianmai=1"), {15, QStringLiteral("%2 有效&x=1")}),
             QByteArray("id=15&state=%252%20%E6%9C%89%E6%95%88%26x%3D1&lianmai=1"));
    QCOMPARE(FormEncoding::fill(QStringLiteral("a=%1&b=%3"), {1, 2}), QByteArray("a=1&b=%3"));
    QCOMPARE(FormEncoding::fill(QStringLiteral("a=%10&b=%1"), QVariantList{1, 2, 3, 4, 5, 6, 7, 8, 9, QStringLiteral("ten")}),
             QByteArray("a=ten&b=1"));

    m_server.setReply(QStringLiteral("/app/app/housebooknewstate"), RecordingServer::envelope(200));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->sendRaw(m_server.url(QStringLiteral("/app/app/housebooknewstate")),
               FormEncoding::fill(QStringLiteral("id=%1&state=%2&lianmai=1"), {7, QStringLiteral("暂缓&售")}));
    QTRY_COMPARE(o.finish.count(), 1);
    const RecordingServer::Request req = m_server.lastRequest();
    QCOMPARE(req.method, QStringLiteral("POST"));
    QCOMPARE(req.form.value(QStringLiteral("id")), QStringLiteral("7"));
    QCOMPARE(req.form.value(QStringLiteral("state")), QStringLiteral("暂缓&售"));
    QCOMPARE(req.form.value(QStringLiteral("lianmai")), QStringLiteral("1"));
    delete r;
}

void TestNetRequestObjecet::queryForGetAndDelete()
{
    m_server.setReply(QStringLiteral("/app/q"), RecordingServer::envelope(200));
    const QList<int> methods{NetRequestObjecet::Get, NetRequestObjecet::Delete, NetRequestObjecet::Put};
    for (int method : methods) {
        auto *r = new NetRequestObjecet(this);
        Outcome o(r);
        r->sendRequest(m_server.url(QStringLiteral("/app/q")),
                       QVariantMap{{QStringLiteral("b"), QStringLiteral("x")}, {QStringLiteral("a"), 1}}, false, method);
        QTRY_COMPARE(o.finish.count(), 1);
        const RecordingServer::Request req = m_server.lastRequest();
        if (method == NetRequestObjecet::Put) {
            QCOMPARE(req.method, QStringLiteral("PUT"));
            QCOMPARE(req.body, QByteArray("a=1&b=x"));
            QVERIFY(req.query.isEmpty());
        } else {
            QCOMPARE(req.method, method == NetRequestObjecet::Get ? QStringLiteral("GET") : QStringLiteral("DELETE"));
            QCOMPARE(req.query, QStringLiteral("a=1&b=x"));
            QCOMPARE(r->url(), m_server.url(QStringLiteral("/app/q?a=1&b=x")));
        }
        delete r;
    }
    // No parameters: no "?" is appended.
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->sendRequest(m_server.url(QStringLiteral("/app/q")), QVariantMap(), false, NetRequestObjecet::Get);
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(r->url(), m_server.url(QStringLiteral("/app/q")));
    delete r;
}

void TestNetRequestObjecet::jsonBodies()
{
    m_server.setReply(QStringLiteral("/app/j"), RecordingServer::envelope(200));
    const QList<QPair<QVariant, QByteArray>> cases{
        {QVariantMap{{QStringLiteral("ids"), QVariantList{1, 2}}}, QByteArray("{\"ids\":[1,2]}")},
        {QVariantList{QStringLiteral("a"), 2}, QByteArray("[\"a\",2]")},
        {QStringLiteral("{\"raw\":true}"), QByteArray("{\"raw\":true}")},
    };
    for (const auto &c : cases) {
        auto *r = new NetRequestObjecet(this);
        Outcome o(r);
        r->sendRequest(m_server.url(QStringLiteral("/app/j")), c.first, false, NetRequestObjecet::Post, NetRequestObjecet::Json);
        QTRY_COMPARE(o.finish.count(), 1);
        QCOMPARE(m_server.lastRequest().body, c.second);
        delete r;
    }
}

void TestNetRequestObjecet::lanAddressWarnsButSends()
{
    m_server.setReply(QStringLiteral("/app/lan"), RecordingServer::envelope(200));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/lan?host=192.168.1.9")), {});
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(o.success.count(), 1);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("接口使用错误！"));
    QCOMPARE(m_alerts->last().title, QStringLiteral("错误"));
    delete r;
}

void TestNetRequestObjecet::redirectIsFollowedOnce()
{
    m_server.setReply(QStringLiteral("/app/old"),
                      RecordingServer::raw("<html><body><h2>Object moved to <a href=\"/app/new?x=1\">here</a>.</h2></body></html>",
                                           302, QStringLiteral("text/html")));
    m_server.setReply(QStringLiteral("/app/app/new"), RecordingServer::envelope(200, QJsonObject{{"moved", true}}));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/old")), {{QStringLiteral("a"), 1}});
    QTRY_COMPARE(o.success.count(), 1);
    QCOMPARE(o.success.at(0).at(0).value<QJsonValue>(), QJsonValue(QJsonObject{{"moved", true}}));
    QCOMPARE(o.fail.count(), 1);  // the moved reply itself counts as a failed request
    QTRY_COMPARE(o.finish.count(), 2);
    const QList<RecordingServer::Request> reqs = m_server.requests();
    QCOMPARE(reqs.size(), 2);
    QCOMPARE(reqs.at(1).method, QStringLiteral("GET"));
    QCOMPARE(reqs.at(1).path, QStringLiteral("/app/app/new"));
    QCOMPARE(reqs.at(1).query, QStringLiteral("x=1"));
    delete r;
}

// A server that points back at itself must not keep the client busy forever.
void TestNetRequestObjecet::redirectLoopIsBounded()
{
    m_server.setReply(QStringLiteral("/app/loop"),
                      RecordingServer::raw("Object moved to <a href=\"/loop\">here</a>", 200, QStringLiteral("text/html")));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    r->postForm(m_server.url(QStringLiteral("/app/loop")), {});
    QTRY_COMPARE(o.finish.count(), 1 + NetRequestObjecet::kMaxRedirects);
    QCOMPARE(m_server.requestsTo(QStringLiteral("/app/loop")).size(), 1 + NetRequestObjecet::kMaxRedirects);
    QCOMPARE(o.fail.count(), 1 + NetRequestObjecet::kMaxRedirects);
    QCOMPARE(o.success.count(), 0);
    delete r;
}

void TestNetRequestObjecet::tlsIsVerified()
{
    RecordingServer tls(true);
    QVERIFY(tls.start());
    tls.setReply(QStringLiteral("/web/secure"), RecordingServer::envelope(200, QJsonValue(QStringLiteral("ok"))));

    auto *strict = new NetRequestObjecet(this);
    Outcome refused(strict);
    strict->postForm(tls.url(QStringLiteral("/web/secure")), {});
    QTRY_COMPARE(refused.finish.count(), 1);
    QCOMPARE(refused.success.count(), 0);
    QCOMPARE(refused.fail.count(), 1);
    QCOMPARE(tls.requestCount(), 0);  // nothing, not even the cookie, reached the server
    delete strict;

    auto *lenient = new NetRequestObjecet(this);
    lenient->setAllowSelfSigned(true);
    Outcome accepted(lenient);
    lenient->postForm(tls.url(QStringLiteral("/web/secure")), {});
    QTRY_COMPARE(accepted.finish.count(), 1);
    QCOMPARE(accepted.success.count(), 1);
    QCOMPARE(accepted.success.at(0).at(0).value<QJsonValue>(), QJsonValue(QStringLiteral("ok")));
    delete lenient;
}

void TestNetRequestObjecet::uploadSendsPartsAndReportsAddress()
{
    const QString path = m_dir.filePath(QStringLiteral("photo.jpg"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3000, 'j'));
    f.close();
    m_server.setReply(QStringLiteral("/app/app/upphoto"),
                      RecordingServer::envelope(200, QJsonValue(), QStringLiteral("img.example.invalid/a.jpg")));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    QSignalSpy uploaded(r, &NetRequestObjecet::fileUploadSuccess);
    QSignalSpy progress(r, &NetRequestObjecet::fileUploadProgress);
    r->uploadFiles(m_server.url(QStringLiteral("/app/app/upphoto")), {{QStringLiteral("type"), QStringLiteral("实勘")}},
                   {{QStringLiteral("file"), path, QString()}});
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(uploaded.count(), 1);
    QCOMPARE(uploaded.at(0).at(0).toString(), QStringLiteral("img.example.invalid/a.jpg"));
    QVERIFY(progress.count() >= 1);
    QCOMPARE(o.fail.count(), 0);
    QCOMPARE(o.success.count(), 0);
    const RecordingServer::Request req = m_server.lastRequest();
    QCOMPARE(req.parts.size(), 2);
    QCOMPARE(req.parts.at(0).name, QStringLiteral("type"));
    QCOMPARE(QString::fromUtf8(req.parts.at(0).body), QStringLiteral("实勘"));
    QCOMPARE(req.parts.at(1).name, QStringLiteral("file"));
    QCOMPARE(req.parts.at(1).fileName, QStringLiteral("filename.jpg"));
    QCOMPARE(req.parts.at(1).body, QByteArray(3000, 'j'));
    QCOMPARE(req.headers.value(QStringLiteral("dump")), QStringLiteral("1"));
    delete r;
}

void TestNetRequestObjecet::uploadFailures()
{
    const QString path = m_dir.filePath(QStringLiteral("p.jpg"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("jpeg");
    f.close();

    // A file that cannot be opened: nothing is sent.
    auto *r = new NetRequestObjecet(this);
    Outcome missing(r);
    QVERIFY(!r->uploadFiles(m_server.url(QStringLiteral("/app/app/upphoto")), {},
                            {{QStringLiteral("file"), m_dir.filePath(QStringLiteral("none.jpg")), QString()}}));
    QCOMPARE(missing.fail.count(), 1);
    QCOMPARE(missing.fail.at(0).at(1).toString(), QStringLiteral("文件打开失败！"));
    QCOMPARE(missing.finish.count(), 1);
    QCOMPARE(m_server.requestCount(), 0);
    delete r;

    // A refused upload and a broken connection each show their box.
    struct Case { RecordingServer::Reply reply; QString box; int code; };
    const QList<Case> cases{
        {RecordingServer::envelope(500, QJsonValue(), QStringLiteral("磁盘已满")), QStringLiteral("上传文件失败！"), 500},
        {RecordingServer::envelope(405, QJsonValue(), QStringLiteral("图片过大")), QStringLiteral("图片过大"), 405},
        {RecordingServer::dropped(), QStringLiteral("上传文件错误！"), 0},
    };
    for (const Case &c : cases) {
        m_alerts->clear();
        m_server.setReply(QStringLiteral("/app/app/upphoto"), c.reply);
        r = new NetRequestObjecet(this);
        Outcome o(r);
        QSignalSpy uploaded(r, &NetRequestObjecet::fileUploadSuccess);
        r->uploadFiles(m_server.url(QStringLiteral("/app/app/upphoto")), {}, {{QStringLiteral("file"), path, QString()}});
        QTRY_COMPARE(o.finish.count(), 1);
        QCOMPARE(uploaded.count(), 0);
        QCOMPARE(o.fail.count(), 1);
        QCOMPARE(o.fail.at(0).at(0).toInt(), c.code);
        QTRY_COMPARE(m_alerts->count(), 1);
        QCOMPARE(m_alerts->last().text, c.box);
        delete r;
    }
}

void TestNetRequestObjecet::downloadWritesNamedFile()
{
    const QByteArray content(70000, 'z');
    m_server.setReply(QStringLiteral("/files/house plan.pdf"), RecordingServer::raw(content, 200, QStringLiteral("application/pdf")));
    m_server.setReply(QStringLiteral("/files/houseplan.pdf"), RecordingServer::raw(content, 200, QStringLiteral("application/pdf")));
    auto *r = new NetRequestObjecet(this);
    Outcome o(r);
    QSignalSpy done(r, &NetRequestObjecet::downloadFileSuccess);
    // Spaces are dropped from the address and a missing scheme becomes http.
    const QString given = m_server.url(QStringLiteral("/files/house plan.pdf")).mid(int(qstrlen("http://")));
    r->downloadFile(given, m_dir.filePath(QStringLiteral("downloads")));
    QTRY_COMPARE(o.finish.count(), 1);
    QCOMPARE(done.count(), 1);
    const QString url = m_server.url(QStringLiteral("/files/houseplan.pdf"));
    const QString expected = m_dir.filePath(QStringLiteral("downloads/%1-houseplan.pdf").arg(
        QString::fromLatin1(QCryptographicHash::hash(url.toLatin1(), QCryptographicHash::Md5).toHex())));
    QCOMPARE(done.at(0).at(0).toString(), expected);
    QCOMPARE(r->fileName(), expected);
    QFile file(expected);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    QCOMPARE(o.fail.count(), 0);
    QCOMPARE(o.notice.count(), 0);  // a file is not an envelope
    delete r;
}

void TestNetRequestObjecet::downloadFailures()
{
    // Empty address: only the end is reported.
    auto *r = new NetRequestObjecet(this);
    Outcome empty(r);
    QSignalSpy done(r, &NetRequestObjecet::downloadFileSuccess);
    r->downloadFile(QStringLiteral("  "), m_dir.path());
    QCOMPARE(empty.finish.count(), 1);
    QCOMPARE(empty.fail.count(), 0);
    QCOMPARE(done.count(), 0);
    delete r;

    // A missing file on the server and an unwritable folder both end in loadFail, no file.
    m_server.setReply(QStringLiteral("/files/ok.bin"), RecordingServer::raw("data"));
    QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QList<QPair<QString, QString>> cases{
        {m_server.url(QStringLiteral("/files/missing.bin")), m_dir.filePath(QStringLiteral("d1"))},
        {m_server.url(QStringLiteral("/files/ok.bin")), m_dir.filePath(QStringLiteral("blocker/sub"))},
    };
    for (const auto &c : cases) {
        r = new NetRequestObjecet(this);
        Outcome o(r);
        QSignalSpy ok(r, &NetRequestObjecet::downloadFileSuccess);
        r->downloadFile(c.first, c.second);
        QTRY_COMPARE(o.finish.count(), 1);
        QCOMPARE(o.fail.count(), 1);
        QCOMPARE(ok.count(), 0);
        QVERIFY(!QFile::exists(r->fileName()));
        delete r;
    }
}

// What one kind of request does against the server: 0 form post, 1 upload, 2 download.
void startRequest(NetRequestObjecet *r, int kind, const QString &url, const QString &folder)
{
    if (kind == 0) {
        r->postForm(url, {});
    } else if (kind == 1) {
        const QString path = folder + QStringLiteral("/photo.jpg");
        QFile photo(path);
        QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write("jpeg") == 4);
        photo.close();
        r->uploadFiles(url, {}, {{QStringLiteral("file"), path, QString()}});
    } else {
        r->downloadFile(url, folder);
    }
}

void TestNetRequestObjecet::stalledServerTimesOut_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("ownTimeout");  // else the process-wide limit of the operation
    QTest::newRow("post, process-wide limit") << 0 << false;
    QTest::newRow("post, own timeout") << 0 << true;
    QTest::newRow("upload") << 1 << true;
    QTest::newRow("download, process-wide limit") << 2 << false;
    QTest::newRow("download, own timeout") << 2 << true;
}

// A server that takes a request and never answers used to leave its caller waiting for ever:
// the request now ends as a failure with a reason, once, and leaves no file behind.
void TestNetRequestObjecet::stalledServerTimesOut()
{
    QFETCH(int, kind);
    QFETCH(bool, ownTimeout);
    RecordingServer::Reply never = RecordingServer::envelope(200, QJsonObject{{"id", 1}});
    never.delayMs = 10 * 60 * 1000;  // ended early when the server stops
    m_server.setReply(QStringLiteral("/app/stalled.bin"), never);
    if (!ownTimeout) {
        NetRequestObjecet::Limits limits;
        limits.postTimeoutMs = 200;
        limits.downloadIdleMs = 200;
        NetRequestObjecet::setLimits(limits);
    }

    auto *r = new NetRequestObjecet(this);
    r->closeAlert();
    if (ownTimeout)
        r->setTimeout(200);
    Outcome o(r);
    QSignalSpy downloaded(r, &NetRequestObjecet::downloadFileSuccess);
    QSignalSpy uploaded(r, &NetRequestObjecet::fileUploadSuccess);
    const QString folder = m_dir.filePath(QStringLiteral("stalled"));
    QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder));
    startRequest(r, kind, m_server.url(QStringLiteral("/app/stalled.bin")), folder);
    QTRY_COMPARE_WITH_TIMEOUT(o.finish.count(), 1, 15000);
    QTRY_COMPARE(m_server.requestsTo(QStringLiteral("/app/stalled.bin")).size(), 1);
    QCOMPARE(o.fail.count(), 1);
    QCOMPARE(o.fail.at(0).at(1).toString(), NetRequestObjecet::timeoutReason());
    QCOMPARE(r->failureReason(), QStringLiteral("连接服务器超时"));
    QCOMPARE(o.success.count() + downloaded.count() + uploaded.count(), 0);
    QCOMPARE(QDir(folder).entryList(QDir::Files), kind == 1 ? QStringList{QStringLiteral("photo.jpg")} : QStringList());
    delete r;
}

void TestNetRequestObjecet::oversizedReplyIsCut_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<bool>("fits");
    QTest::newRow("post at the cap") << 0 << 4096 << true;
    QTest::newRow("post beyond the cap") << 0 << 4097 << false;
    QTest::newRow("post far beyond the cap") << 0 << 8 * 1024 * 1024 << false;
    QTest::newRow("download at the cap") << 2 << 4096 << true;
    QTest::newRow("download beyond the cap") << 2 << 4097 << false;
}

// Replies were read whole into memory however large; now one beyond the cap fails with a
// reason and a download beyond it leaves no file.
void TestNetRequestObjecet::oversizedReplyIsCut()
{
    QFETCH(int, kind);
    QFETCH(int, bytes);
    QFETCH(bool, fits);
    QByteArray body = QJsonDocument(QJsonObject{{"code", 200}, {"data", ""}}).toJson(QJsonDocument::Compact);
    body.insert(body.size() - 1, QByteArray(bytes - body.size(), ' '));
    QCOMPARE(body.size(), bytes);
    m_server.setReply(QStringLiteral("/app/big.json"), RecordingServer::raw(body, 200, QStringLiteral("application/json")));

    auto *r = new NetRequestObjecet(this);
    r->setMaxReplyBytes(4096);
    Outcome o(r);
    QSignalSpy downloaded(r, &NetRequestObjecet::downloadFileSuccess);
    const QString folder = m_dir.filePath(QStringLiteral("big"));
    QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder));
    startRequest(r, kind, m_server.url(QStringLiteral("/app/big.json")), folder);
    QTRY_COMPARE_WITH_TIMEOUT(o.finish.count(), 1, 15000);
    QCOMPARE(o.success.count() + downloaded.count(), fits ? 1 : 0);
    QCOMPARE(o.fail.count(), fits ? 0 : 1);
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), kind == 2 && fits ? 1 : 0);
    if (!fits) {
        QCOMPARE(o.fail.at(0).at(1).toString(), QStringLiteral("服务器返回的数据过大"));
        QCOMPARE(r->failureReason(), NetRequestObjecet::tooLargeReason());
    }
    delete r;
}

QTEST_MAIN(TestNetRequestObjecet)
#include "tst_netrequestobjecet.moc"
