#include "allianceserver.h"

#include "alliancestore.h"
#include "loopbackhttp.h"
#include "net/endpoints.h"

// Only the server's sources see cpp-httplib.
#include <httplib.h>

#include <QFile>
#include <QRegularExpression>
#include <QJsonDocument>
#include <QSet>
#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>


#include <cstdlib>

namespace {

// Qt keeps up to six connections per host open per network access manager, and
// cpp-httplib parks a worker on each idle keep-alive connection.
constexpr size_t kWorkerThreads = 24;
// Where a snapshot offered by setSnapshotFile is downloaded from.
constexpr char kSnapshotPath[] = "/files/snapshot.db";

// A dropped answer waits at least this long: an answer that reaches Qt before it has noted
// that its request went out makes Qt send the request again instead of failing it.
constexpr int kDropPauseMs = 100;

const QStringList &roots()
{
    static const QStringList list{QStringLiteral("app"), QStringLiteral("soft"), QStringLiteral("web"),
                                  QStringLiteral("unit"), QStringLiteral("help"), QStringLiteral("gather")};
    return list;
}

const QSet<QString> &knownPaths()
{
    static const QSet<QString> paths = [] {
        QSet<QString> s;
#define ALLIANCE_PATH(root, member, path) s.insert(QStringLiteral(path));
        HOUSEBOOK_ENDPOINT_TABLE(ALLIANCE_PATH)
#undef ALLIANCE_PATH
        s.insert(QStringLiteral("app/upphoto"));  // the photo upload address
        s.insert(QStringLiteral("files/photos"));  // every stored upload (servedFilePath)
        s.insert(QStringLiteral("files/vr"));      // the VR pages
        s.insert(QStringLiteral("call/record.wav"));  // every recording file (recordingPath)
        s.insert(QStringLiteral("call/recharge"));    // the call library's top-up
        s.insert(QStringLiteral("files/contracts"));  // the electronic contracts' PDF files
        s.insert(QStringLiteral("house/xiaoqu/edit"));  // the community library's editors
        // The review dialog library's office approval of a change of the entry role.
        s.insert(QStringLiteral("apiv3_0_2/ArApplyRecordCtr/apply"));
        s.insert(QStringLiteral("apiv3_0_2/ArApplyRecordCtr/check"));
        return s;
    }();
    return paths;
}

QString fromStd(const std::string &s)
{
    return QString::fromUtf8(s.data(), int(s.size()));
}

QString decodeComponent(QByteArray text)
{
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

void decodeUrlEncoded(const QByteArray &text, Alliance::Form &out)
{
    for (const QByteArray &pair : text.split('&')) {
        if (pair.isEmpty())
            continue;
        const int eq = pair.indexOf('=');
        if (eq < 0)
            out.insert(decodeComponent(pair), QString());
        else
            out.insert(decodeComponent(pair.left(eq)), decodeComponent(pair.mid(eq + 1)));
    }
}

QByteArray envelope(int code, const QString &message, const QJsonValue &data)
{
    QJsonObject o{{"code", code}, {"message", message}};
    o.insert(QStringLiteral("data"), data.isUndefined() ? QJsonValue() : data);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// The signed-in user: a "qxphone" cookie or header; the server's default otherwise.
QString phoneOf(const httplib::Request &req)
{
    if (req.has_header("qxphone"))
        return fromStd(req.get_header_value("qxphone")).trimmed();
    const QString cookie = fromStd(req.get_header_value("Cookie"));
    for (const QString &part : cookie.split(QLatin1Char(';'))) {
        const QString item = part.trimmed();
        if (item.startsWith(QLatin1String("qxphone=")))
            return item.mid(8).trimmed();
    }
    return QString();
}


// The form of a request: the query's items, then the multipart parts or the url-encoded body.
Alliance::Form formOf(const httplib::Request &req, const httplib::ContentReader *reader)
{
    Alliance::Form form;
    const std::string::size_type q = req.target.find('?');
    if (q != std::string::npos)
        decodeUrlEncoded(QByteArray::fromStdString(req.target.substr(q + 1)), form);
    if (reader && req.is_multipart_form_data()) {
        std::vector<httplib::MultipartFormData> parts;
        (*reader)(
            [&](const httplib::MultipartFormData &part) {
                parts.push_back(part);
                return true;
            },
            [&](const char *data, size_t size) {
                if (!parts.empty())
                    parts.back().content.append(data, size);
                return true;
            });
        // A file part gives its name as "file", its bytes (base64) and its content type.
        for (const auto &p : parts) {
            if (p.filename.empty()) {
                form.insert(fromStd(p.name), fromStd(p.content));
                continue;
            }
            form.insert(QStringLiteral("file"), fromStd(p.filename));
            form.insert(QStringLiteral("file.bytes"),
                        QString::fromLatin1(QByteArray(p.content.data(), int(p.content.size())).toBase64()));
            form.insert(QStringLiteral("file.type"), fromStd(p.content_type));
        }
    } else if (reader) {
        std::string body;
        (*reader)([&](const char *data, size_t size) {
            body.append(data, size);
            return true;
        });
        decodeUrlEncoded(QByteArray::fromStdString(body), form);
    }
    return form;
}

// Recordings are served as "call/record/N.wav"; they share one route ("call/record.wav", with
// N as the form's "file"), so one fault switch and one hit count cover them all.
QString recordingPath(const QString &path, Alliance::Form &form)
{
    static const QRegularExpression file(QStringLiteral("^call/record/(\\d+)\\.wav$"));
    const QRegularExpressionMatch m = file.match(path);
    if (!m.hasMatch())
        return path;
    form.insert(QStringLiteral("file"), m.captured(1));
    return QStringLiteral("call/record.wav");
}

// Stored files are served as "/files/photos/N.ext", "/files/vr/N.html" and
// "/files/contracts/N.pdf", outside the six roots; each kind is one route (with N as the
// form's "file"). Empty for any other path.
QString servedFilePath(const QString &full, Alliance::Form &form)
{
    static const QRegularExpression file(QStringLiteral("^/files/(photos|vr|contracts)/(\\d+)\\.\\w+$"));
    const QRegularExpressionMatch m = file.match(full);
    if (!m.hasMatch())
        return QString();
    form.insert(QStringLiteral("file"), m.captured(2));
    return QStringLiteral("files/") + m.captured(1);
}

// Answers the request as the fault wants; false when the fault leaves the answer to the store.
bool answerFault(const AllianceServer::Fault &fault, httplib::Response &res)
{
    if (fault.drop) {
        // Announce a body, send none: cpp-httplib closes the connection when the provider
        // gives up.
        res.set_content_provider(64, "application/json", [](size_t, size_t, httplib::DataSink &) { return false; });
        return true;
    }
    if (fault.status500) {
        res.status = 500;
        res.set_content("Internal Server Error", "text/plain");
        return true;
    }
    if (fault.refuse405 || fault.lostLogin400) {
        const bool lost = !fault.refuse405;
        const QString message = !fault.message.isEmpty() ? fault.message
                                : lost                   ? QStringLiteral("登录已失效，请重新登录")
                                                         : QStringLiteral("当前操作不被允许");
        res.set_content(envelope(lost ? 400 : 405, message, QJsonValue()).toStdString(), "application/json; charset=utf-8");
        return true;
    }
    if (fault.malformed) {
        res.set_content("{\"code\":200,\"message\":\"success\",\"data\":{\"housebook\":[{\"id\":1,", "application/json");
        return true;
    }
    return false;
}

} // namespace

struct AllianceServer::Impl
{
    Options options;
    std::unique_ptr<QTemporaryDir> tempDir;
    std::unique_ptr<Alliance::Store> store;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = -1;

    std::mutex storeMutex;  // one request at a time reaches the store
    mutable std::mutex mutex;  // faults, hits, default phone, stopping
    std::condition_variable wake;
    bool stopping = false;
    QMap<QString, Fault> faults;
    QHash<QString, int> hits;
    QString defaultPhone;
    QString snapshotFile;

    bool serveSnapshot(const QString &path, httplib::Response &res);
    void serve(const httplib::Request &req, httplib::Response &res, const httplib::ContentReader *reader);
    bool pause(int ms);
};

bool AllianceServer::Impl::pause(int ms)
{
    std::unique_lock<std::mutex> lock(mutex);
    return !wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping; });
}

bool AllianceServer::Impl::serveSnapshot(const QString &path, httplib::Response &res)
{
    if (path != QLatin1String(kSnapshotPath))
        return false;
    QString file;
    {
        std::lock_guard<std::mutex> lock(mutex);
        file = snapshotFile;
        ++hits[path.mid(1)];
    }
    QFile f(file);
    if (file.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        res.status = 404;
        return true;
    }
    const QByteArray bytes = f.readAll();
    res.set_content(bytes.constData(), size_t(bytes.size()), "application/octet-stream");
    return true;
}

void AllianceServer::Impl::serve(const httplib::Request &req, httplib::Response &res, const httplib::ContentReader *reader)
{
    const QString full = fromStd(req.path);
    const int slash = full.indexOf(QLatin1Char('/'), 1);
    QString root = slash > 0 ? full.mid(1, slash - 1) : QString();
    if (serveSnapshot(full, res))
        return;
    Alliance::Form form = formOf(req, reader);
    QString path = servedFilePath(full, form);
    if (!path.isEmpty())
        root = roots().first();
    else
        path = recordingPath(slash > 0 ? full.mid(slash + 1) : QString(), form);

    if (!roots().contains(root) || !knownPaths().contains(path)) {
        res.status = 404;
        res.set_content(envelope(404, QStringLiteral("接口不存在"), QJsonValue()).toStdString(), "application/json; charset=utf-8");
        return;
    }

    Fault fault;
    QString phone = phoneOf(req);
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++hits[path];
        fault = faults.value(path, faults.value(QStringLiteral("*")));
        if (phone.isEmpty())
            phone = defaultPhone;
    }
    const int waitMs = fault.drop ? std::max(fault.delayMs, kDropPauseMs) : fault.delayMs;
    if (waitMs > 0 && !pause(waitMs))
        return;  // stopping

    if (answerFault(fault, res))
        return;

    Alliance::Answer answer;
    {
        std::lock_guard<std::mutex> lock(storeMutex);
        answer = store->handle(path, form, phone);
    }
    if (answer.isRaw) {
        if (answer.code == 404)
            res.status = 404;
        res.set_content(answer.raw.constData(), size_t(answer.raw.size()), answer.rawType.toStdString());
        return;
    }
    res.set_content(envelope(answer.code, answer.message, answer.data).toStdString(), "application/json; charset=utf-8");
}

AllianceServer::AllianceServer()
    : AllianceServer(Options())
{
}

AllianceServer::AllianceServer(const Options &options)
    : d(new Impl)
{
    d->options = options;
    d->defaultPhone = QStringLiteral("13800000001");
}

AllianceServer::~AllianceServer()
{
    stop();
}

bool AllianceServer::start()
{
    if (d->thread.joinable())
        return true;
    if (d->options.dbPath.isEmpty()) {
        d->tempDir.reset(new QTemporaryDir);
        if (!d->tempDir->isValid())
            return false;
        d->options.dbPath = d->tempDir->filePath(QStringLiteral("alliance.db"));
    }
    d->store.reset(new Alliance::Store(d->options));
    QString error;
    if (!d->store->open(&error)) {
        qWarning("alliance server: database: %s", qPrintable(error));
        d->store.reset();
        return false;
    }
    // The store's connection made here belongs to this thread; the workers make their own.
    d->store->close();

    d->server.reset(new httplib::Server);
    httplib::Server &svr = *d->server;
    LoopbackHttp::configure(svr, kWorkerThreads);
    Impl *impl = d.get();
    const auto plain = [impl](const httplib::Request &req, httplib::Response &res) { impl->serve(req, res, nullptr); };
    // Bodies are read through a content reader: the stock path refuses form bodies over 8 KiB.
    const auto withBody = [impl](const httplib::Request &req, httplib::Response &res, const httplib::ContentReader &reader) {
        impl->serve(req, res, &reader);
    };
    const std::string any = ".*";
    svr.Get(any, plain);
    svr.Post(any, withBody);
    svr.Put(any, withBody);
    svr.Delete(any, withBody);

    const std::string host = d->options.host.toStdString();
    d->port = d->options.port > 0 ? (svr.bind_to_port(host, d->options.port) ? d->options.port : -1)
                                  : svr.bind_to_any_port(host);
    if (d->port <= 0) {
        d->server.reset();
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = false;
    }
    d->store->setBaseUrl(baseUrl());
    if (!d->snapshotFile.isEmpty())
        d->store->setSnapshotUrl(baseUrl() + QLatin1String(kSnapshotPath));
    return LoopbackHttp::serveInThread(svr, d->thread);
}

void AllianceServer::stop()
{
    if (!d->thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_all();
    LoopbackHttp::stopAndJoin(*d->server, d->thread, d->port);
    d->server.reset();
    d->store->close();
}

bool AllianceServer::isRunning() const
{
    return d->thread.joinable() && d->server && d->server->is_running();
}

int AllianceServer::port() const
{
    return d->port;
}

QString AllianceServer::baseUrl() const
{
    return QStringLiteral("http://%1:%2").arg(d->options.host).arg(d->port);
}

QString AllianceServer::rootUrl(const QString &root) const
{
    return baseUrl() + QLatin1Char('/') + root + QLatin1Char('/');
}

void AllianceServer::setFault(const QString &path, const Fault &fault)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    if (fault.isSet())
        d->faults.insert(path, fault);
    else
        d->faults.remove(path);
}

void AllianceServer::clearFaults()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->faults.clear();
}

bool AllianceServer::parseFault(const QString &text, Fault *fault)
{
    Fault f;
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString kind = item.section(QLatin1Char(':'), 0, 0).trimmed().toLower();
        const QString arg = item.section(QLatin1Char(':'), 1).trimmed();
        if (kind == QLatin1String("delay")) {
            bool ok = false;
            f.delayMs = arg.toInt(&ok);
            if (!ok || f.delayMs < 0)
                return false;
        } else if (kind == QLatin1String("500")) {
            f.status500 = true;
        } else if (kind == QLatin1String("malformed")) {
            f.malformed = true;
        } else if (kind == QLatin1String("405")) {
            f.refuse405 = true;
            f.message = arg;
        } else if (kind == QLatin1String("400")) {
            f.lostLogin400 = true;
            f.message = arg;
        } else if (kind == QLatin1String("drop")) {
            f.drop = true;
        } else {
            return false;
        }
    }
    *fault = f;
    return true;
}

void AllianceServer::setSnapshotFile(const QString &path)
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->snapshotFile = path;
    }
    std::lock_guard<std::mutex> lock(d->storeMutex);
    if (d->store)
        d->store->setSnapshotUrl(path.isEmpty() ? QString() : baseUrl() + QLatin1String(kSnapshotPath));
}

void AllianceServer::setDefaultPhone(const QString &phone)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->defaultPhone = phone;
}

QString AllianceServer::defaultPhone() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->defaultPhone;
}

QStringList AllianceServer::userPhones() const
{
    if (d->store)
        return d->store->userPhones();
    return Alliance::Store(d->options).userPhones();
}

int AllianceServer::hits(const QString &path) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->hits.value(path);
}

const AllianceServer::Options &AllianceServer::options() const
{
    return d->options;
}

QVariantMap AllianceServer::portalRecord(const QString &portal, qint64 houseId) const
{
    std::lock_guard<std::mutex> lock(d->storeMutex);
    return d->store ? d->store->portalRecord(portal, houseId) : QVariantMap();
}
