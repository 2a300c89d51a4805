#include "recordingserver.h"

#include "loopbackhttp.h"

// The only file that sees cpp-httplib: the header stays cheap for every suite that
// includes it.
#include <httplib.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>


#include <cstdlib>

#ifndef RECORDING_SERVER_CERT_DIR
#error "RECORDING_SERVER_CERT_DIR must name the folder holding test-cert.pem and test-key.pem"
#endif

namespace {

// Workers for the connections. Qt keeps up to six connections per host open per network
// access manager, and cpp-httplib parks a worker on each idle keep-alive connection, so a
// small pool would make a suite with several clients wait for idle connections to time out.
constexpr size_t kWorkerThreads = 64;

// See Impl::serve(): how long a dropped or cut-short answer waits at least.
constexpr int kBrokenAnswerPauseMs = 100;

QString decodeComponent(QByteArray text)
{
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

// application/x-www-form-urlencoded, also the shape of a query string. A key without '='
// maps to an empty value; a repeated key keeps its last value.
QMap<QString, QString> decodeUrlEncoded(const QByteArray &text)
{
    QMap<QString, QString> out;
    const QList<QByteArray> pairs = text.split('&');
    for (const QByteArray &pair : pairs) {
        if (pair.isEmpty())
            continue;
        const int eq = pair.indexOf('=');
        if (eq < 0)
            out.insert(decodeComponent(pair), QString());
        else
            out.insert(decodeComponent(pair.left(eq)), decodeComponent(pair.mid(eq + 1)));
    }
    return out;
}

QString fromStd(const std::string &s)
{
    return QString::fromUtf8(s.data(), int(s.size()));
}

bool startsWithNoCase(const std::string &text, const char *prefix)
{
    return QByteArray::fromStdString(text).trimmed().toLower().startsWith(prefix);
}

// Carries the real method of a request routed as a POST so that its body gets read.
const char kRealMethodHeader[] = "X-Recording-Server-Real-Method";

// cpp-httplib adds the connection's addresses to the request headers; they were never sent.
bool isAddedHere(const std::string &name)
{
    return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR"
        || name == "LOCAL_PORT" || name == kRealMethodHeader;
}

bool hasBody(const httplib::Request &req)
{
    return req.get_header_value("Content-Length", 0).find_first_not_of("0 ") != std::string::npos
        || req.has_header("Transfer-Encoding");
}


} // namespace

struct RecordingServer::Impl
{
    bool tls = false;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = -1;

    mutable std::mutex mutex;
    std::condition_variable wake;  // ends delays early when the server stops
    bool stopping = false;
    QMap<QString, Reply> standing;
    QMap<QString, QList<Reply>> queued;
    Reply defaultReply;
    QList<Request> records;

    Impl()
    {
        defaultReply.status = 404;
    }

    Request record(const httplib::Request &req, const httplib::ContentReader *reader, bool *bodyOk);
    Reply take(const QString &path);
    void serve(const httplib::Request &req, httplib::Response &res,
               const httplib::ContentReader *reader);
    static void answer(const Reply &reply, httplib::Response &res);
};

RecordingServer::Request RecordingServer::Impl::record(const httplib::Request &req,
                                                       const httplib::ContentReader *reader,
                                                       bool *bodyOk)
{
    Request r;
    r.method = fromStd(req.method);
    r.path = fromStd(req.path);
    const std::string::size_type q = req.target.find('?');
    if (q != std::string::npos) {
        const QByteArray query = QByteArray::fromStdString(req.target.substr(q + 1));
        r.query = QString::fromUtf8(query);
        r.queryItems = decodeUrlEncoded(query);
    }
    for (const auto &h : req.headers) {
        if (isAddedHere(h.first))
            continue;
        const QString name = fromStd(h.first).toLower();
        const QString value = fromStd(h.second);
        auto it = r.headers.find(name);
        if (it == r.headers.end())
            r.headers.insert(name, value);
        else
            it.value() += QStringLiteral(", ") + value;
    }

    *bodyOk = true;
    if (reader && req.is_multipart_form_data()) {
        // The multipart reader hands parts over in the order they were sent (req.files
        // would sort them by name); cpp-httplib never exposes the raw multipart body.
        std::vector<httplib::MultipartFormData> parts;
        *bodyOk = (*reader)(
            [&](const httplib::MultipartFormData &part) {
                parts.push_back(part);
                return true;
            },
            [&](const char *data, size_t size) {
                if (!parts.empty())
                    parts.back().content.append(data, size);
                return true;
            });
        for (const auto &p : parts) {
            r.parts.append(Part{fromStd(p.name), fromStd(p.filename), fromStd(p.content_type),
                                QByteArray::fromStdString(p.content)});
        }
    } else if (reader) {
        std::string body;
        *bodyOk = (*reader)([&](const char *data, size_t size) {
            body.append(data, size);
            return true;
        });
        r.body = QByteArray::fromStdString(body);
    } else {
        r.body = QByteArray::fromStdString(req.body);
    }

    if (startsWithNoCase(req.get_header_value("Content-Type"), "application/x-www-form-urlencoded"))
        r.form = decodeUrlEncoded(r.body);
    return r;
}

RecordingServer::Reply RecordingServer::Impl::take(const QString &path)
{
    auto q = queued.find(path);
    if (q != queued.end() && !q->isEmpty())
        return q->takeFirst();
    auto s = standing.constFind(path);
    if (s != standing.constEnd())
        return *s;
    return defaultReply;
}

void RecordingServer::Impl::serve(const httplib::Request &req, httplib::Response &res,
                                  const httplib::ContentReader *reader)
{
    // The request object is not const; only the handler's view of it is.
    httplib::Request &mutableReq = const_cast<httplib::Request &>(req);
    if (req.has_header(kRealMethodHeader)) {
        mutableReq.method = req.get_header_value(kRealMethodHeader);
        mutableReq.headers.erase(kRealMethodHeader);
    }

    bool bodyOk = true;
    const Request r = record(req, reader, &bodyOk);
    Reply reply;
    {
        std::lock_guard<std::mutex> lock(mutex);
        records.append(r);
        reply = take(r.path);
    }
    if (!bodyOk) {
        // The body could not be read to its end (a malformed multipart body, say); the
        // scripted reply would be meaningless on what is left of the connection.
        res.status = 400;
        res.set_content("unreadable request body", "text/plain");
        return;
    }

    // The scripted reply goes out as scripted: a Range header the client sent must not make
    // cpp-httplib slice the body.
    mutableReq.ranges.clear();

    // A broken answer must not reach Qt before Qt has taken note that its request went out
    // (for a request with a body that happens one turn of its HTTP thread's event loop after
    // the last write). An answer arriving earlier is read while Qt still counts itself as
    // waiting for one, so the close that follows makes Qt re-send the request, or even report
    // the cut-off body as complete. A short pause on the server side avoids that race.
    const bool broken = reply.drop || reply.truncateAt >= 0;
    const int waitMs = broken ? std::max(reply.delayMs, kBrokenAnswerPauseMs) : reply.delayMs;
    if (waitMs > 0) {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return stopping; });
    }
    answer(reply, res);
}

void RecordingServer::Impl::answer(const Reply &reply, httplib::Response &res)
{
    res.status = reply.status;
    std::string contentType = reply.contentType.toStdString();
    for (const auto &h : reply.headers) {
        if (h.first.trimmed().toLower() == "content-type")
            contentType = h.second.toStdString();
        else
            res.set_header(h.first.toStdString(), h.second.toStdString());
    }

    const int cut = reply.drop ? 0 : reply.truncateAt;
    if (cut >= 0) {
        // Announce more than is sent; returning false from the provider makes cpp-httplib
        // close the connection right after the bytes already written.
        const std::string head = reply.body.left(cut).toStdString();
        const size_t announced = std::max<size_t>(size_t(reply.body.size()), size_t(cut) + 1);
        res.set_content_provider(announced, contentType.empty() ? "text/plain" : contentType,
                                 [head](size_t offset, size_t, httplib::DataSink &sink) {
                                     if (offset == 0 && !head.empty())
                                         sink.write(head.data(), head.size());
                                     return false;
                                 });
        return;
    }

    if (reply.body.isEmpty()) {
        if (!contentType.empty())
            res.set_header("Content-Type", contentType);
        return;
    }
    // Through a provider rather than set_content(): cpp-httplib would gzip a body the client
    // accepts gzip for, and the client is to receive exactly the scripted bytes.
    const std::string body = reply.body.toStdString();
    res.set_content_provider(body.size(), contentType.empty() ? "text/plain" : contentType,
                             [body](size_t offset, size_t length, httplib::DataSink &sink) {
                                 sink.write(body.data() + offset, length);
                                 return true;
                             });
}

RecordingServer::RecordingServer(bool tls)
    : d(new Impl)
{
    d->tls = tls;
}

RecordingServer::~RecordingServer()
{
    if (!d->thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_all();
    LoopbackHttp::stopAndJoin(*d->server, d->thread, d->port);
}

bool RecordingServer::start()
{
    if (d->thread.joinable())
        return d->server->is_running();

    if (d->tls) {
        const std::string cert = certificatePath().toStdString();
        const std::string key = QStringLiteral(RECORDING_SERVER_CERT_DIR "/test-key.pem").toStdString();
        d->server.reset(new httplib::SSLServer(cert.c_str(), key.c_str()));
    } else {
        d->server.reset(new httplib::Server);
    }
    httplib::Server &svr = *d->server;
    if (!svr.is_valid())
        return false;

    LoopbackHttp::configure(svr, kWorkerThreads);

    Impl *impl = d.get();
    const auto plain = [impl](const httplib::Request &req, httplib::Response &res) {
        impl->serve(req, res, nullptr);
    };
    // Bodies are read through a content reader: the stock path refuses urlencoded bodies
    // over 8 KiB and files multipart parts by name instead of in order.
    const auto withBody = [impl](const httplib::Request &req, httplib::Response &res,
                                 const httplib::ContentReader &reader) {
        impl->serve(req, res, &reader);
    };
    // cpp-httplib reads the body of POST, PUT, PATCH and DELETE requests only; any other
    // body would stay in the connection and garble the next request on it. Such a request is
    // routed as a POST, and serve() gives it its own method back before anything else.
    svr.set_pre_routing_handler([](const httplib::Request &req, httplib::Response &) {
        if ((req.method == "GET" || req.method == "HEAD" || req.method == "OPTIONS") && hasBody(req)) {
            httplib::Request &mutableReq = const_cast<httplib::Request &>(req);
            mutableReq.set_header(kRealMethodHeader, req.method);
            mutableReq.method = "POST";
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    const std::string any = ".*";
    svr.Get(any, plain);  // HEAD too
    svr.Options(any, plain);
    svr.Post(any, withBody).Post(any, plain);
    svr.Put(any, withBody).Put(any, plain);
    svr.Patch(any, withBody).Patch(any, plain);
    svr.Delete(any, withBody).Delete(any, plain);

    d->port = svr.bind_to_any_port("127.0.0.1");
    if (d->port <= 0)
        return false;

    return LoopbackHttp::serveInThread(svr, d->thread);
}

int RecordingServer::port() const
{
    return d->port;
}

QString RecordingServer::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(d->tls ? QStringLiteral("https") : QStringLiteral("http"))
        .arg(d->port);
}

QString RecordingServer::url(const QString &path) const
{
    return baseUrl() + path;
}

void RecordingServer::setReply(const QString &path, const Reply &reply)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->standing.insert(path, reply);
}

void RecordingServer::queueReply(const QString &path, const Reply &reply)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->queued[path].append(reply);
}

void RecordingServer::setDefaultReply(const Reply &reply)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->defaultReply = reply;
}

RecordingServer::Reply RecordingServer::envelope(const QJsonValue &code, const QJsonValue &data,
                                                 const QString &message)
{
    QJsonObject o;
    o.insert(QStringLiteral("code"), code);
    if (!data.isUndefined())
        o.insert(QStringLiteral("data"), data);
    o.insert(QStringLiteral("message"), message);
    Reply r;
    r.body = QJsonDocument(o).toJson(QJsonDocument::Compact);
    return r;
}

RecordingServer::Reply RecordingServer::raw(const QByteArray &body, int status,
                                            const QString &contentType)
{
    Reply r;
    r.status = status;
    r.body = body;
    r.contentType = contentType;
    return r;
}

RecordingServer::Reply RecordingServer::dropped()
{
    Reply r;
    r.drop = true;
    return r;
}

QString RecordingServer::certificatePath()
{
    return QStringLiteral(RECORDING_SERVER_CERT_DIR "/test-cert.pem");
}

QByteArray RecordingServer::certificatePem()
{
    QFile f(certificatePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<RecordingServer::Request> RecordingServer::requests() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->records;
}

int RecordingServer::requestCount() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->records.size();
}

RecordingServer::Request RecordingServer::lastRequest() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->records.isEmpty() ? Request() : d->records.last();
}

QList<RecordingServer::Request> RecordingServer::requestsTo(const QString &path) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    QList<Request> out;
    for (const Request &r : d->records) {
        if (r.path == path)
            out.append(r);
    }
    return out;
}

void RecordingServer::clearRequests()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->records.clear();
}
