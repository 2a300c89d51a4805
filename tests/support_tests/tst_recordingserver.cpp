// The scripted server the network suites rely on, driven by a real QNetworkAccessManager.
#include "recordingserver.h"

#include <QHttpMultiPart>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

using Headers = QList<QPair<QByteArray, QByteArray>>;

QNetworkReply *send(QNetworkAccessManager &nam, const QByteArray &method, const QString &url,
                    const QByteArray &body = QByteArray(), const Headers &headers = Headers())
{
    QNetworkRequest req{QUrl(url)};
    for (const auto &h : headers)
        req.setRawHeader(h.first, h.second);
    if (!body.isEmpty() && !req.hasRawHeader("Content-Type"))
        req.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
    return nam.sendCustomRequest(req, method, body);
}

bool finish(QNetworkReply *reply, int timeoutMs = 10000)
{
    if (reply->isFinished())
        return true;
    QSignalSpy done(reply, &QNetworkReply::finished);
    return done.wait(timeoutMs);
}

int statusOf(QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

class TestRecordingServer : public QObject
{
    Q_OBJECT

private slots:
    void recordsMethodPathQueryAndHeaders_data();
    void recordsMethodPathQueryAndHeaders();
    void decodesUrlEncodedForms();
    void keepsMultipartPartsInOrder();
    void repliesFollowTheScript();
    void sendsScriptedBytesVerbatim();
    void envelopeKeepsNullAndOmitsUndefined();
    void recordsDelayedRequestBeforeAnswering();
    void brokenRepliesFailOnTheClient_data();
    void brokenRepliesFailOnTheClient();
    void droppedQueuedReplyCostsOneRequest();
    void tlsServerNeedsTrust();
    void manyIdleClientsDoNotStallNewOnes();
    void destructionDoesNotWaitForClients();
};

void TestRecordingServer::recordsMethodPathQueryAndHeaders_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("GET") << QByteArray("GET") << QByteArray();
    QTest::newRow("GET with body") << QByteArray("GET") << QByteArray("a=1&b=2");
    QTest::newRow("OPTIONS with body") << QByteArray("OPTIONS") << QByteArray("o");
    QTest::newRow("POST") << QByteArray("POST") << QByteArray("raw\0bytes", 9);
    QTest::newRow("PUT") << QByteArray("PUT") << QByteArray("{\"a\":1}");
    QTest::newRow("PATCH") << QByteArray("PATCH") << QByteArray("p");
    QTest::newRow("DELETE") << QByteArray("DELETE") << QByteArray();
    QTest::newRow("DELETE with body") << QByteArray("DELETE") << QByteArray("gone");
    QTest::newRow("OPTIONS") << QByteArray("OPTIONS") << QByteArray();
}

void TestRecordingServer::recordsMethodPathQueryAndHeaders()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, body);
    RecordingServer server;
    QVERIFY(server.start());
    QVERIFY(server.port() > 0);
    QCOMPARE(server.baseUrl(), QStringLiteral("http://127.0.0.1:%1").arg(server.port()));
    server.setReply(QStringLiteral("/deep/house plan/房源"), RecordingServer::raw("ok", 201));

    QNetworkAccessManager nam;
    QUrl url(server.url(QStringLiteral("/deep/house plan/房源")));
    const QByteArray query = "city=%E6%B7%B1%E5%9C%B3&q=a+b%2Bc&pct=100%25&amp=x%26y%3Dz&flag";
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    // Twice: the second request reuses the connection, which the first must leave clean.
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<QNetworkReply> reply(
            send(nam, method, url.toString(QUrl::FullyEncoded), body,
                 {{"X-Token", "t-123"}, {"Cookie", "SESSION=plain"}}));
        QVERIFY(finish(reply.get()));
        QCOMPARE(reply->error(), QNetworkReply::NoError);
        QCOMPARE(statusOf(reply.get()), 201);
    }

    QCOMPARE(server.requestCount(), 2);
    QCOMPARE(server.requests().first().body, body);
    const RecordingServer::Request r = server.lastRequest();
    QCOMPARE(r.method, QString::fromLatin1(method));
    QCOMPARE(r.path, QStringLiteral("/deep/house plan/房源"));
    QCOMPARE(r.query, QString::fromLatin1(query));
    QCOMPARE(r.queryItems.value(QStringLiteral("city")), QStringLiteral("深圳"));
    QCOMPARE(r.queryItems.value(QStringLiteral("q")), QStringLiteral("a b+c"));
    QCOMPARE(r.queryItems.value(QStringLiteral("pct")), QStringLiteral("100%"));
    QCOMPARE(r.queryItems.value(QStringLiteral("amp")), QStringLiteral("x&y=z"));
    QVERIFY(r.queryItems.contains(QStringLiteral("flag")));
    QCOMPARE(r.queryItems.size(), 5);
    QCOMPARE(r.headers.value(QStringLiteral("x-token")), QStringLiteral("t-123"));
    QCOMPARE(r.headers.value(QStringLiteral("cookie")), QStringLiteral("SESSION=plain"));
    QCOMPARE(r.headers.value(QStringLiteral("host")), QStringLiteral("127.0.0.1:%1").arg(server.port()));
    // Only what the client sent: no addresses or markers added on the server's side.
    for (const QString &name : r.headers.keys()) {
        QCOMPARE(name, name.toLower());
        QVERIFY2(!name.contains(QLatin1Char('_')), qPrintable(name));
        QVERIFY2(!name.startsWith(QLatin1String("x-")) || name == QLatin1String("x-token"), qPrintable(name));
    }
    QCOMPARE(r.body, body);
    QVERIFY(r.form.isEmpty());
    QVERIFY(r.parts.isEmpty());
    QCOMPARE(server.requestsTo(QStringLiteral("/deep/house plan/房源")).size(), 2);
    QVERIFY(server.requestsTo(QStringLiteral("/deep")).isEmpty());
}

void TestRecordingServer::decodesUrlEncodedForms()
{
    RecordingServer server;
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    const Headers form{{"Content-Type", "application/x-www-form-urlencoded; charset=UTF-8"}};

    // Encoded by hand so every awkward character reaches the server exactly as written.
    const QByteArray body = "name=%E5%BC%A0%E4%B8%89+%E6%9D%8E%E5%9B%9B&expr=a%26b%3Dc&rate=5%25"
                            "&sum=1%2B1&empty=&bare&%E9%94%AE=%E5%80%BC";
    std::unique_ptr<QNetworkReply> reply(send(nam, "POST", server.url(QStringLiteral("/f")), body, form));
    QVERIFY(finish(reply.get()));
    RecordingServer::Request r = server.lastRequest();
    QCOMPARE(r.body, body);
    QCOMPARE(r.form.value(QStringLiteral("name")), QStringLiteral("张三 李四"));
    QCOMPARE(r.form.value(QStringLiteral("expr")), QStringLiteral("a&b=c"));
    QCOMPARE(r.form.value(QStringLiteral("rate")), QStringLiteral("5%"));
    QCOMPARE(r.form.value(QStringLiteral("sum")), QStringLiteral("1+1"));
    QVERIFY(r.form.contains(QStringLiteral("empty")));
    QVERIFY(r.form.value(QStringLiteral("empty")).isEmpty());
    QVERIFY(r.form.contains(QStringLiteral("bare")));
    QCOMPARE(r.form.value(QStringLiteral("键")), QStringLiteral("值"));
    QCOMPARE(r.form.size(), 7);

    // Forms far beyond 8 KiB (photo descriptions, base64 blobs) arrive whole.
    QUrlQuery big;
    const QString longText = QString(20000, QChar(0x623F));  // 房 x 20000, 180 KB encoded
    big.addQueryItem(QStringLiteral("text"), longText);
    big.addQueryItem(QStringLiteral("after"), QStringLiteral("end"));
    const QByteArray bigBody = big.query(QUrl::FullyEncoded).toUtf8();
    reply.reset(send(nam, "POST", server.url(QStringLiteral("/f")), bigBody, form));
    QVERIFY(finish(reply.get()));
    QCOMPARE(reply->error(), QNetworkReply::ContentNotFoundError);  // the default 404, not a 413
    r = server.lastRequest();
    QCOMPARE(r.body.size(), bigBody.size());
    QCOMPARE(r.form.value(QStringLiteral("text")), longText);
    QCOMPARE(r.form.value(QStringLiteral("after")), QStringLiteral("end"));

    // Only urlencoded bodies are decoded.
    reply.reset(send(nam, "POST", server.url(QStringLiteral("/f")), "a=1",
                     {{"Content-Type", "text/plain"}}));
    QVERIFY(finish(reply.get()));
    QVERIFY(server.lastRequest().form.isEmpty());
}

void TestRecordingServer::keepsMultipartPartsInOrder()
{
    RecordingServer server;
    QVERIFY(server.start());
    server.setReply(QStringLiteral("/up"), RecordingServer::envelope(200));

    // Part bodies that look like multipart syntax must not confuse the parser.
    QByteArray binary("\r\n--boundary\r\n\0\xff\xfe", 17);
    binary += QByteArray(70000, 'j');
    binary += "\r\n--";

    auto *multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    const auto add = [multi](const QByteArray &disposition, const QByteArray &type, const QByteArray &body) {
        QHttpPart part;
        part.setRawHeader("Content-Disposition", disposition);
        if (!type.isEmpty())
            part.setRawHeader("Content-Type", type);
        part.setBody(body);
        multi->append(part);
    };
    add("form-data; name=\"zz_type\"", QByteArray(), QStringLiteral("实勘").toUtf8());
    add("form-data; name=\"file\"; filename=\"" + QStringLiteral("客厅 1.jpg").toUtf8() + "\"", "image/jpeg", binary);
    add("form-data; name=\"aa_note\"", "text/plain; charset=utf-8", "second & last");

    QNetworkAccessManager nam;
    std::unique_ptr<QNetworkReply> reply(
        nam.post(QNetworkRequest(QUrl(server.url(QStringLiteral("/up")))), multi));
    multi->setParent(reply.get());
    QVERIFY(finish(reply.get()));
    QCOMPARE(reply->error(), QNetworkReply::NoError);

    const RecordingServer::Request r = server.lastRequest();
    QVERIFY(r.headers.value(QStringLiteral("content-type")).startsWith(QStringLiteral("multipart/form-data")));
    QCOMPARE(r.parts.size(), 3);
    QCOMPARE(r.parts.at(0).name, QStringLiteral("zz_type"));
    QVERIFY(r.parts.at(0).fileName.isEmpty());
    QVERIFY(r.parts.at(0).contentType.isEmpty());
    QCOMPARE(r.parts.at(0).body, QStringLiteral("实勘").toUtf8());
    QCOMPARE(r.parts.at(1).name, QStringLiteral("file"));
    QCOMPARE(r.parts.at(1).fileName, QStringLiteral("客厅 1.jpg"));
    QCOMPARE(r.parts.at(1).contentType, QStringLiteral("image/jpeg"));
    QCOMPARE(r.parts.at(1).body.size(), binary.size());
    QVERIFY(r.parts.at(1).body == binary);
    QCOMPARE(r.parts.at(2).name, QStringLiteral("aa_note"));
    QCOMPARE(r.parts.at(2).contentType, QStringLiteral("text/plain; charset=utf-8"));
    QCOMPARE(r.parts.at(2).body, QByteArray("second & last"));
    QVERIFY(r.form.isEmpty());
}

void TestRecordingServer::repliesFollowTheScript()
{
    RecordingServer server;
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    const QString path = QStringLiteral("/app/x");
    const auto get = [&](const QString &p) {
        std::unique_ptr<QNetworkReply> reply(send(nam, "GET", server.url(p)));
        const bool done = finish(reply.get());
        return QPair<int, QByteArray>(done ? statusOf(reply.get()) : -1, reply->readAll());
    };
    using Answer = QPair<int, QByteArray>;

    // Unscripted: 404 with nothing in it.
    QCOMPARE(get(path), Answer(404, QByteArray()));

    server.setReply(path, RecordingServer::raw("standing"));
    server.queueReply(path, RecordingServer::raw("first", 201));
    server.queueReply(path, RecordingServer::raw("second", 202));
    server.queueReply(QStringLiteral("/other"), RecordingServer::raw("elsewhere"));
    QCOMPARE(get(path), Answer(201, "first"));
    QCOMPARE(get(path), Answer(202, "second"));
    QCOMPARE(get(path), Answer(200, "standing"));
    QCOMPARE(get(path), Answer(200, "standing"));
    // A queued reply scripted later still goes before the standing one.
    server.queueReply(path, RecordingServer::raw("late", 203));
    QCOMPARE(get(path), Answer(203, "late"));
    QCOMPARE(get(path), Answer(200, "standing"));
    server.setReply(path, RecordingServer::raw("replaced"));
    QCOMPARE(get(path), Answer(200, "replaced"));

    QCOMPARE(get(QStringLiteral("/unknown")), Answer(404, QByteArray()));
    server.setDefaultReply(RecordingServer::raw("fallback", 503));
    QCOMPARE(get(QStringLiteral("/unknown")), Answer(503, "fallback"));
    QCOMPARE(get(QStringLiteral("/other")), Answer(200, "elsewhere"));
    QCOMPARE(get(QStringLiteral("/other")), Answer(503, "fallback"));

    QCOMPARE(server.requestCount(), 12);
    QCOMPARE(server.requestsTo(path).size(), 8);
    QCOMPARE(server.lastRequest().path, QStringLiteral("/other"));
    server.clearRequests();
    QCOMPARE(server.requestCount(), 0);
    QVERIFY(server.requests().isEmpty());
    QVERIFY(server.lastRequest().method.isEmpty());
    QCOMPARE(get(path), Answer(200, "replaced"));
    QCOMPARE(server.requestCount(), 1);
}

void TestRecordingServer::sendsScriptedBytesVerbatim()
{
    RecordingServer server;
    QVERIFY(server.start());
    // JSON and text are what cpp-httplib would compress.
    RecordingServer::Reply reply = RecordingServer::envelope(200, QString(5000, QLatin1Char('a')));
    reply.headers = {{"X-Extra", "yes"}, {"Set-Cookie", "SESSION=abc; Path=/"}};
    server.setReply(QStringLiteral("/v"), reply);
    RecordingServer::Reply typed = RecordingServer::raw("<p/>");
    typed.headers = {{"Content-Type", "text/html"}};
    server.setReply(QStringLiteral("/typed"), typed);

    QNetworkAccessManager nam;
    // Asking for gzip by hand turns off Qt's transparent decompression: a compressed
    // answer would show here. A Range header must not slice the scripted body either.
    std::unique_ptr<QNetworkReply> r(send(nam, "GET", server.url(QStringLiteral("/v")), QByteArray(),
                                          {{"Accept-Encoding", "gzip, deflate, br"}, {"Range", "bytes=10-"}}));
    QVERIFY(finish(r.get()));
    QCOMPARE(r->error(), QNetworkReply::NoError);
    QCOMPARE(statusOf(r.get()), 200);
    QVERIFY(!r->hasRawHeader("Content-Encoding"));
    QCOMPARE(r->readAll(), reply.body);
    QCOMPARE(r->header(QNetworkRequest::ContentTypeHeader).toString(), QStringLiteral("application/json"));
    QCOMPARE(r->rawHeader("X-Extra"), QByteArray("yes"));
    QCOMPARE(r->rawHeader("Set-Cookie"), QByteArray("SESSION=abc; Path=/"));

    r.reset(nam.head(QNetworkRequest(QUrl(server.url(QStringLiteral("/v"))))));
    QVERIFY(finish(r.get(), 2000));  // a body after the headers would spoil the connection
    QCOMPARE(r->error(), QNetworkReply::NoError);
    QCOMPARE(r->header(QNetworkRequest::ContentLengthHeader).toInt(), reply.body.size());
    QCOMPARE(server.lastRequest().method, QStringLiteral("HEAD"));

    r.reset(send(nam, "GET", server.url(QStringLiteral("/typed"))));
    QVERIFY(finish(r.get()));
    QCOMPARE(r->rawHeader("Content-Type"), QByteArray("text/html"));  // one header, the given one
    QCOMPARE(r->readAll(), QByteArray("<p/>"));
}

void TestRecordingServer::envelopeKeepsNullAndOmitsUndefined()
{
    const auto parse = [](const RecordingServer::Reply &r) {
        return QJsonDocument::fromJson(r.body).object();
    };
    QJsonObject o = parse(RecordingServer::envelope(200, QJsonObject{{"id", 7}}, QStringLiteral("好")));
    QCOMPARE(o, (QJsonObject{{"code", 200}, {"data", QJsonObject{{"id", 7}}}, {"message", QStringLiteral("好")}}));

    o = parse(RecordingServer::envelope(QStringLiteral("E1"), QJsonValue::Null));
    QCOMPARE(o, (QJsonObject{{"code", QStringLiteral("E1")}, {"data", QJsonValue::Null}, {"message", QString()}}));
    QVERIFY(parse(RecordingServer::envelope(200)).contains(QStringLiteral("data")));

    o = parse(RecordingServer::envelope(405, QJsonValue(QJsonValue::Undefined), QStringLiteral("不行")));
    QCOMPARE(o, (QJsonObject{{"code", 405}, {"message", QStringLiteral("不行")}}));

    const RecordingServer::Reply e = RecordingServer::envelope(200);
    QCOMPARE(e.status, 200);
    QCOMPARE(e.contentType, QStringLiteral("application/json"));
}

void TestRecordingServer::recordsDelayedRequestBeforeAnswering()
{
    RecordingServer server;
    QVERIFY(server.start());
    RecordingServer::Reply slow = RecordingServer::raw("late");
    slow.delayMs = 2000;
    server.setReply(QStringLiteral("/slow"), slow);
    server.setReply(QStringLiteral("/fast"), RecordingServer::raw("quick"));

    QNetworkAccessManager nam;
    std::unique_ptr<QNetworkReply> late(send(nam, "POST", server.url(QStringLiteral("/slow")), "payload"));
    QSignalSpy lateDone(late.get(), &QNetworkReply::finished);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestCount(), 1, 1000);
    QCOMPARE(server.lastRequest().body, QByteArray("payload"));
    QCOMPARE(lateDone.count(), 0);

    // The delay holds up its own answer only.
    std::unique_ptr<QNetworkReply> quick(send(nam, "GET", server.url(QStringLiteral("/fast"))));
    QVERIFY(finish(quick.get(), 1000));
    QCOMPARE(quick->readAll(), QByteArray("quick"));
    QCOMPARE(lateDone.count(), 0);

    QVERIFY(finish(late.get()));
    QCOMPARE(late->error(), QNetworkReply::NoError);
    QCOMPARE(late->readAll(), QByteArray("late"));
}

void TestRecordingServer::brokenRepliesFailOnTheClient_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<RecordingServer::Reply>("reply");
    RecordingServer::Reply body = RecordingServer::envelope(200, QJsonObject{{"id", 1}});
    RecordingServer::Reply cut = body;
    cut.truncateAt = 5;
    RecordingServer::Reply cutAtStart = body;
    cutAtStart.truncateAt = 0;
    RecordingServer::Reply cutPastEnd = body;
    cutPastEnd.truncateAt = body.body.size();
    RecordingServer::Reply emptyCut = RecordingServer::raw(QByteArray());
    emptyCut.truncateAt = 0;
    RecordingServer::Reply slowDrop = RecordingServer::dropped();
    slowDrop.delayMs = 200;
    RecordingServer::Reply dropWithBody = body;
    dropWithBody.drop = true;

    for (const bool tls : {false, true}) {
        const char *scheme = tls ? "https " : "http ";
        QTest::addRow("%sdropped", scheme) << tls << RecordingServer::dropped();
        QTest::addRow("%sdropped after a delay", scheme) << tls << slowDrop;
        QTest::addRow("%sdropped despite a body", scheme) << tls << dropWithBody;
        QTest::addRow("%scut mid-body", scheme) << tls << cut;
        QTest::addRow("%scut before the body", scheme) << tls << cutAtStart;
        QTest::addRow("%scut at the body's end", scheme) << tls << cutPastEnd;
        QTest::addRow("%scut of an empty body", scheme) << tls << emptyCut;
    }
}

void TestRecordingServer::brokenRepliesFailOnTheClient()
{
    QFETCH(bool, tls);
    QFETCH(RecordingServer::Reply, reply);
    RecordingServer server(tls);
    QVERIFY(server.start());
    server.setReply(QStringLiteral("/broken"), reply);

    QNetworkAccessManager nam;
    for (const QByteArray &method : {QByteArray("GET"), QByteArray("POST")}) {
        server.clearRequests();
        std::unique_ptr<QNetworkReply> r(send(nam, method, server.url(QStringLiteral("/broken")), "a=1"));
        if (tls)
            r->ignoreSslErrors();
        QVERIFY(finish(r.get()));
        if (r->error() == QNetworkReply::NoError) qWarning() << "DEBUG" << method << statusOf(r.get()) << r->readAll() << r->rawHeaderPairs() << server.requestCount();
        QCOMPARE(r->error(), QNetworkReply::RemoteHostClosedError);
        // Qt did not quietly re-send it: the failure reaches the caller at the first try.
        QCOMPARE(server.requestCount(), 1);
    }
}

void TestRecordingServer::droppedQueuedReplyCostsOneRequest()
{
    RecordingServer server;
    QVERIFY(server.start());
    const QString path = QStringLiteral("/app/up");
    server.queueReply(path, RecordingServer::dropped());
    server.queueReply(path, RecordingServer::envelope(200, QJsonValue(), QStringLiteral("h/2.jpg")));
    server.setReply(path, RecordingServer::raw("standing"));

    QNetworkAccessManager nam;
    std::unique_ptr<QNetworkReply> first(send(nam, "POST", server.url(path), "photo=1"));
    QVERIFY(finish(first.get()));
    QVERIFY(first->error() != QNetworkReply::NoError);
    QCOMPARE(server.requestCount(), 1);

    // The connection that broke leaves the client able to carry on.
    std::unique_ptr<QNetworkReply> second(send(nam, "POST", server.url(path), "photo=2"));
    QVERIFY(finish(second.get()));
    QCOMPARE(second->error(), QNetworkReply::NoError);
    QCOMPARE(QJsonDocument::fromJson(second->readAll()).object().value(QStringLiteral("message")).toString(),
             QStringLiteral("h/2.jpg"));
    QCOMPARE(server.requestCount(), 2);
    QCOMPARE(server.lastRequest().body, QByteArray("photo=2"));
}

void TestRecordingServer::tlsServerNeedsTrust()
{
    RecordingServer server(true);
    QVERIFY(server.start());
    QCOMPARE(server.baseUrl(), QStringLiteral("https://127.0.0.1:%1").arg(server.port()));
    server.setReply(QStringLiteral("/secure"), RecordingServer::envelope(200, QStringLiteral("ok")));
    QNetworkAccessManager nam;

    std::unique_ptr<QNetworkReply> strict(send(nam, "POST", server.url(QStringLiteral("/secure")), "a=1"));
    QVERIFY(finish(strict.get()));
    QCOMPARE(strict->error(), QNetworkReply::SslHandshakeFailedError);
    QCOMPARE(server.requestCount(), 0);

    std::unique_ptr<QNetworkReply> lenient(send(nam, "POST", server.url(QStringLiteral("/secure")), "a=2"));
    lenient->ignoreSslErrors();
    QVERIFY(finish(lenient.get()));
    QCOMPARE(lenient->error(), QNetworkReply::NoError);
    QCOMPARE(QJsonDocument::fromJson(lenient->readAll()).object().value(QStringLiteral("data")).toString(),
             QStringLiteral("ok"));
    QCOMPARE(server.lastRequest().body, QByteArray("a=2"));

    // Trusting the test certificate is enough: it is valid for 127.0.0.1.
    const QList<QSslCertificate> certs = QSslCertificate::fromData(RecordingServer::certificatePem());
    QCOMPARE(certs.size(), 1);
    QVERIFY(certs.first().expiryDate() > QDateTime::currentDateTimeUtc().addYears(50));
    QNetworkRequest trusted{QUrl(server.url(QStringLiteral("/secure")))};
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setCaCertificates(certs);
    trusted.setSslConfiguration(ssl);
    std::unique_ptr<QNetworkReply> verified(nam.get(trusted));
    QSignalSpy sslErrors(verified.get(), &QNetworkReply::sslErrors);
    QVERIFY(finish(verified.get()));
    QCOMPARE(verified->error(), QNetworkReply::NoError);
    QCOMPARE(sslErrors.count(), 0);
    QCOMPARE(server.requestCount(), 2);
}

void TestRecordingServer::manyIdleClientsDoNotStallNewOnes()
{
    RecordingServer server;
    QVERIFY(server.start());
    server.setDefaultReply(RecordingServer::raw("ok"));

    // Each manager keeps its connections open after its answers.
    std::vector<std::unique_ptr<QNetworkAccessManager>> managers;
    std::vector<std::unique_ptr<QNetworkReply>> replies;
    for (int i = 0; i < 12; ++i) {
        managers.emplace_back(new QNetworkAccessManager);
        for (int j = 0; j < 2; ++j)
            replies.emplace_back(send(*managers.back(), "GET", server.url(QStringLiteral("/idle/%1").arg(i))));
    }
    for (const auto &r : replies)
        QVERIFY(finish(r.get()));
    // Connections that never send a request also hold a worker until the server gives up
    // on them; they witness that the new client did not wait for an idle one to be closed.
    std::vector<std::unique_ptr<QTcpSocket>> silent;
    for (int i = 0; i < 8; ++i) {
        silent.emplace_back(new QTcpSocket);
        silent.back()->connectToHost(QStringLiteral("127.0.0.1"), quint16(server.port()));
        QVERIFY(silent.back()->waitForConnected(5000));
    }

    QNetworkAccessManager fresh;
    std::unique_ptr<QNetworkReply> r(send(fresh, "GET", server.url(QStringLiteral("/new"))));
    QVERIFY(finish(r.get()));
    QCOMPARE(r->readAll(), QByteArray("ok"));
    QCoreApplication::processEvents();
    for (const auto &socket : silent)
        QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
}

void TestRecordingServer::destructionDoesNotWaitForClients()
{
    QNetworkAccessManager nam;
    std::unique_ptr<QNetworkReply> pending;
    {
        RecordingServer server;
        QVERIFY(server.start());
        server.setReply(QStringLiteral("/keep"), RecordingServer::raw("ok"));
        RecordingServer::Reply never = RecordingServer::raw("never");
        // Longer than the suite may run: a destructor that waited would fail it by timeout.
        never.delayMs = 24 * 60 * 60 * 1000;
        server.setReply(QStringLiteral("/never"), never);

        std::unique_ptr<QNetworkReply> kept(send(nam, "GET", server.url(QStringLiteral("/keep"))));
        QVERIFY(finish(kept.get()));  // its connection now idles in keep-alive
        pending.reset(send(nam, "GET", server.url(QStringLiteral("/never"))));
        QTRY_COMPARE(server.requestsTo(QStringLiteral("/never")).size(), 1);
    }
    QVERIFY(finish(pending.get()));
    QVERIFY(pending->error() != QNetworkReply::NoError || pending->readAll() == "never");
}

QTEST_MAIN(TestRecordingServer)
#include "tst_recordingserver.moc"
