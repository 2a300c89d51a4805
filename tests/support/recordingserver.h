#pragma once
// A scripted HTTP(S) server on 127.0.0.1 for the test suites. It answers each request
// from a script (per-path queued and standing replies, then a default), records every
// request it receives, and can misbehave on purpose: answer late, drop the connection,
// or cut the body short. It serves on its own thread, so the test thread keeps its event
// loop free for the client under test.
#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

#include <memory>

class RecordingServer
{
public:
    struct Part
    {
        QString name;
        QString fileName;      // empty for plain form fields
        QString contentType;   // empty when the part had none
        QByteArray body;
    };

    struct Request
    {
        QString method;                     // "GET", "POST", ...
        QString path;                       // percent-decoded, without the query
        QString query;                      // raw query string without '?', "" when none
        QMap<QString, QString> queryItems;  // decoded; a repeated key keeps its last value
        QMap<QString, QString> headers;     // names lower-cased; repeated headers joined with ", "
        QByteArray body;                    // raw body; empty for multipart (see parts)
        QMap<QString, QString> form;        // decoded application/x-www-form-urlencoded body
        QList<Part> parts;                  // multipart/form-data parts, in the order sent
    };

    struct Reply
    {
        int status = 200;
        QByteArray body;
        QString contentType = QStringLiteral("application/json");
        // Wait this long (on the server side) before answering.
        int delayMs = 0;
        // Close the connection before any body byte arrives: the client sees a transport
        // error (QNetworkReply::RemoteHostClosedError). The status line and headers,
        // announcing a non-empty body, do go out first: after a close with no answer at all
        // Qt quietly re-sends the request up to twice, and the re-sent copy would get the
        // next scripted reply.
        bool drop = false;
        // >= 0: announce the full body's length, send only its first N bytes, then close.
        // When N is not below the body's size the announced length is N + 1, so the body is
        // still cut short.
        // Dropped and cut-short answers leave at least 100 ms after the request arrived, so
        // that Qt has finished sending it (see recordingserver.cpp). Neither breaks a HEAD
        // request, whose answer has no body to cut.
        int truncateAt = -1;
        // Extra response headers; a Content-Type here replaces contentType.
        QList<QPair<QByteArray, QByteArray>> headers;
    };

    // tls: HTTPS with the self-signed test certificate (see certificatePath()).
    explicit RecordingServer(bool tls = false);
    ~RecordingServer();  // stops serving, cuts open connections and joins the threads

    RecordingServer(const RecordingServer &) = delete;
    RecordingServer &operator=(const RecordingServer &) = delete;

    // Binds 127.0.0.1 on a free port and serves on its own thread; true once listening.
    bool start();
    int port() const;
    QString baseUrl() const;                 // "http://127.0.0.1:PORT" (https:// with tls)
    QString url(const QString &path) const;  // baseUrl() + path ("/x/y")

    // A queued reply for a path is used once (FIFO) before the path's standing reply;
    // without either the default reply is used (initially 404 with an empty body).
    // Paths are matched against the decoded request path, without the query.
    void setReply(const QString &path, const Reply &reply);
    void queueReply(const QString &path, const Reply &reply);
    void setDefaultReply(const Reply &reply);

    // {"code":..,"data":..,"message":..}; "data" is left out when undefined, kept when null.
    static Reply envelope(const QJsonValue &code, const QJsonValue &data = QJsonValue(),
                          const QString &message = QString());
    static Reply raw(const QByteArray &body, int status = 200,
                     const QString &contentType = QStringLiteral("text/plain"));
    static Reply dropped();

    // The certificate the tls server presents, for a client that wants to trust it.
    static QString certificatePath();
    static QByteArray certificatePem();

    // Requests are recorded on arrival, before any delay, in arrival order.
    QList<Request> requests() const;
    int requestCount() const;
    Request lastRequest() const;  // a default Request when none arrived
    QList<Request> requestsTo(const QString &path) const;
    void clearRequests();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
