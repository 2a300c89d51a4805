#include "net/netrequestobjecet.h"

#include "commonsignaltool.h"
#include "datacenter.h"
#include "net/endpoints.h"
#include "net/formencoding.h"
#include "net/serverconfig.h"
#include "net/wholenumber.h"
#include "platform/usernotice.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHttpMultiPart>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkReply>
#include <QSaveFile>
#include <QSslError>
#include <QTimer>
#include <QUrl>

namespace {

// Which handler owns a finished reply: plain requests go through loadResult, uploads and
// downloads through their own handlers.
const char kReplyKind[] = "hbReplyKind";
enum ReplyKind { PlainReply = 0, UploadReply = 1, DownloadReply = 2 };

// A download whose file could not be written.
QString saveFailure()
{
    return QStringLiteral("文件保存失败！");
}

QMutex limitsLock;
NetRequestObjecet::Limits currentLimits;

int envelopeCode(const QJsonValue &code)
{
    if (code.isDouble())
        return WholeNumber::toInt(code);
    if (code.isString()) {
        bool ok = false;
        const int n = code.toString().trimmed().toInt(&ok);
        return ok ? n : 0;
    }
    return 0;
}

QString networkFailureReason(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400)
        return QStringLiteral("服务器错误(%1)").arg(status);
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return QStringLiteral("无法连接服务器");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("连接服务器超时");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("与服务器的连接中断");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("服务器证书无法验证");
    default:
        return QStringLiteral("网络错误(%1)").arg(int(reply->error()));
    }
}

// Certificate problems a self-signed test server causes; anything else still fails.
bool onlySelfSignedErrors(const QList<QSslError> &errors)
{
    for (const QSslError &e : errors) {
        switch (e.error()) {
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            break;
        default:
            return false;
        }
    }
    return true;
}

// The location named by an "Object moved" page: after the first `<a href=` and its quote.
QString movedLocation(const QString &page)
{
    const int anchor = page.indexOf(QLatin1String("<a href="));
    if (anchor < 0)
        return QString();
    const int open = page.indexOf(QLatin1Char('"'), anchor);
    if (open < 0)
        return QString();
    const int close = page.indexOf(QLatin1Char('"'), open + 1);
    if (close < 0)
        return QString();
    QString location = page.mid(open + 1, close - open - 1);
    if (location.startsWith(QLatin1Char('/')))
        location.remove(0, 1);
    return location;
}

} // namespace

NetRequestObjecet::Limits NetRequestObjecet::limits()
{
    QMutexLocker lock(&limitsLock);
    return currentLimits;
}

void NetRequestObjecet::setLimits(const Limits &limits)
{
    QMutexLocker lock(&limitsLock);
    currentLimits = limits;
}

QString NetRequestObjecet::timeoutReason()
{
    return QStringLiteral("连接服务器超时");
}

QString NetRequestObjecet::tooLargeReason()
{
    return QStringLiteral("服务器返回的数据过大");
}

NetRequestObjecet::NetRequestObjecet(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
    , m_headers(DataCenter::HttpHeadMap)
    , m_allowSelfSigned(Endpoints::config().allowSelfSigned)
{
    setObjectName(QStringLiteral("NetRequestObjecet"));
    connect(m_manager, &QNetworkAccessManager::finished, this, &NetRequestObjecet::loadResult);
    connect(m_manager, &QNetworkAccessManager::sslErrors, this, &NetRequestObjecet::onSslErrors);
}

void NetRequestObjecet::closeAlert()
{
    m_isShowAlert = false;
}

void NetRequestObjecet::prepare(const QString &url, const QByteArray &body, bool flag, int method)
{
    m_url = url;
    m_body = body;
    m_flag = flag;
    m_method = method;
    // Test and LAN addresses must never ship; say so loudly but still send.
    if (url.contains(QLatin1String("192.")) || url.contains(QLatin1String("test01."))
        || url.contains(QLatin1String("test02.")))
        UserNotice::error(QStringLiteral("接口使用错误！"));
}

QNetworkRequest NetRequestObjecet::buildRequest(const QString &url, int contentType) const
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    for (auto it = m_headers.cbegin(); it != m_headers.cend(); ++it)
        request.setRawHeader(it.key().toUtf8(), it.value().toString().toUtf8());
    request.setRawHeader("dump", "1");
    const QVariant &cookie = DataCenter::CookieVar;
    if (cookie.canConvert<QList<QNetworkCookie>>() && cookie.userType() != QMetaType::QString
        && cookie.userType() != QMetaType::QByteArray)
        request.setHeader(QNetworkRequest::CookieHeader, cookie);
    else if (!cookie.toString().isEmpty())
        request.setRawHeader("Cookie", cookie.toString().toUtf8());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      contentType == Json ? QStringLiteral("application/json")
                                          : QStringLiteral("application/x-www-form-urlencoded"));
    return request;
}

QNetworkReply *NetRequestObjecet::dispatch(const QString &url, const QByteArray &body, int method, int contentType)
{
    const QNetworkRequest request = buildRequest(url, contentType);
    QNetworkReply *reply = nullptr;
    switch (method) {
    case Get:
        reply = m_manager->get(request);
        break;
    case Delete:
        reply = m_manager->deleteResource(request);
        break;
    case Put:
        reply = m_manager->put(request, body);
        break;
    default:
        reply = m_manager->post(request, body);
        break;
    }
    reply->setProperty(kReplyKind, PlainReply);
    watch(reply, m_timeoutMs > 0 ? m_timeoutMs : limits().postTimeoutMs, false);
    return reply;
}

void NetRequestObjecet::watch(QNetworkReply *reply, int timeoutMs, bool idleTimeout)
{
    m_abortReason.clear();
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, reply] {
        m_abortReason = timeoutReason();
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    if (idleTimeout) {
        connect(reply, &QNetworkReply::downloadProgress, deadline, qOverload<>(&QTimer::start));
        connect(reply, &QNetworkReply::uploadProgress, deadline, qOverload<>(&QTimer::start));
    }
    deadline->start(timeoutMs);
    // The announced length is checked before any body arrives, the count while it does.
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        checkSize(reply, 0, reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply](qint64 received, qint64 total) { checkSize(reply, received, total); });
}

qint64 NetRequestObjecet::replyCap() const
{
    return m_maxReplyBytes > 0 ? m_maxReplyBytes : limits().maxReplyBytes;
}

void NetRequestObjecet::checkSize(QNetworkReply *reply, qint64 received, qint64 total)
{
    const qint64 cap = replyCap();
    if (!m_abortReason.isEmpty() || !reply->isRunning() || (received <= cap && total <= cap))
        return;
    m_abortReason = tooLargeReason();
    reply->abort();
}

QNetworkReply *NetRequestObjecet::sendRequest(const QString &url, const QVariant &params, bool flag,
                                              int method, int contentType)
{
    QByteArray payload;
    if (contentType == Json) {
        if (params.type() == QVariant::List || params.type() == QVariant::StringList)
            payload = QJsonDocument(QJsonArray::fromVariantList(params.toList())).toJson(QJsonDocument::Compact);
        else if (params.type() == QVariant::Map)
            payload = QJsonDocument(QJsonObject::fromVariantMap(params.toMap())).toJson(QJsonDocument::Compact);
        else
            payload = params.toString().toUtf8();
    } else {
        payload = FormEncoding::encodeMap(params.toMap());
    }

    QString target = url;
    QByteArray body = payload;
    if (contentType == Form && (method == Get || method == Delete)) {
        if (!payload.isEmpty())
            target += QLatin1Char('?') + QString::fromLatin1(payload);
        body.clear();
    }
    m_redirects = 0;
    prepare(target, body, flag, method);
    return dispatch(target, body, method, contentType);
}

QNetworkReply *NetRequestObjecet::postForm(const QString &url, const QVariantMap &params, bool flag)
{
    return sendRequest(url, params, flag, Post, Form);
}

QNetworkReply *NetRequestObjecet::sendRaw(const QString &url, const QByteArray &body, bool flag, int method)
{
    m_redirects = 0;
    const int m = method == Get ? Get : Post;
    prepare(url, m == Get ? QByteArray() : body, flag, m);
    return dispatch(url, m_body, m, Form);
}

void NetRequestObjecet::noteNetworkError(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_result = QStringLiteral("网络加载错误code: %1 \n错误信息：%2\n%3")
                   .arg(status)
                   .arg(reply->errorString(), reply->url().toString());
    m_errorText = m_result;
    m_failureReason = m_abortReason.isEmpty() ? networkFailureReason(reply) : m_abortReason;
}

void NetRequestObjecet::showFailureNotice()
{
    if (m_failureNotice.isEmpty() || !m_isShowAlert)
        return;
    UserNotice::warning(m_failureNotice.contains(QLatin1String("%1")) ? m_failureNotice.arg(m_failureReason)
                                                                        : m_failureNotice);
}

NetRequestObjecet::Envelope NetRequestObjecet::parseEnvelope(const QByteArray &text)
{
    Envelope envelope;
    const QJsonObject object = QJsonDocument::fromJson(text).object();
    envelope.code = envelopeCode(object.value(QLatin1String("code")));
    envelope.wellFormed = !object.isEmpty() && envelope.code != 0;
    envelope.data = object.value(QLatin1String("data"));
    envelope.message = object.value(QLatin1String("message")).toString();
    return envelope;
}

void NetRequestObjecet::loadResult(QNetworkReply *reply)
{
    if (reply->property(kReplyKind).toInt() != PlainReply)
        return;
    if (reply->error() != QNetworkReply::NoError) {
        noteNetworkError(reply);
        emit loadFail(0, m_abortReason.isEmpty() ? reply->errorString() : m_abortReason);
        showFailureNotice();
    } else {
        const QByteArray raw = reply->readAll();
        m_result = QString::fromUtf8(raw);
        if (m_externalApi) {
            emit loadSuccessFromExternalAPI(raw);
        } else {
            Envelope envelope = parseEnvelope(raw);
            if (envelope.code == 200) {
                if (envelope.data.isNull() || envelope.data.isUndefined())
                    envelope.data = QJsonValue(QString());
                emit loadSuccess(envelope.data);
            } else {
                const bool handled = dealRefusal(envelope);
                m_failureReason = !envelope.wellFormed      ? QStringLiteral("服务器返回的数据无法识别")
                                  : envelope.message.isEmpty() ? QStringLiteral("服务器返回错误(%1)").arg(envelope.code)
                                                               : QStringLiteral("%1(%2)").arg(envelope.message).arg(envelope.code);
                reportFailure(envelope);
                const bool redirected =
                    !handled && m_result.contains(QLatin1String("Object moved")) && followRedirect();
                if (!handled && !redirected)
                    showFailureNotice();
            }
        }
    }
    emit loadFinish();
    reply->deleteLater();
}

// Sends the request again where an "Object moved" page points, as a GET on the application
// server. A server that keeps answering so is given up on after a few tries.
bool NetRequestObjecet::followRedirect()
{
    const QString location = movedLocation(m_result);
    if (location.isEmpty() || m_redirects >= kMaxRedirects)
        return false;
    const int followed = m_redirects + 1;
    const QString target = Endpoints::instance().appRoot + location;
    prepare(target, QByteArray(), m_flag, Get);
    dispatch(target, QByteArray(), Get, Form);
    m_redirects = followed;
    return true;
}

// A refusal with the server's text (405) goes to the user, a lost login (400) to the host.
// Returns whether the reply was one of the two.
bool NetRequestObjecet::dealRefusal(const Envelope &envelope)
{
    if (envelope.message.isEmpty())
        return false;
    if (envelope.code == 405) {
        if (m_isShowAlert)
            UserNotice::warning(envelope.message);
        return true;
    }
    if (envelope.code == 400) {
        if (m_isShowAlert)
            CommonSignalTool::Instance()->send_lostLogin(
                QVariantMap{{QStringLiteral("use"), QStringLiteral("again_login")},
                            {QStringLiteral("message"), envelope.message}});
        return true;
    }
    return false;
}

void NetRequestObjecet::reportFailure(const Envelope &envelope)
{
    m_errorText = envelope.message;
    emit loadFail(envelope.code, envelope.message);
    CommonSignalTool::Instance()->send_reviceMsg(
        QStringLiteral("request_fail"),
        QVariantMap{{QStringLiteral("code"), envelope.code},
                    {QStringLiteral("message"), envelope.message},
                    {QStringLiteral("isShowAlert"), m_isShowAlert},
                    {QStringLiteral("url"), m_url}},
        this);
}

QNetworkReply *NetRequestObjecet::uploadFiles(const QString &url, const QVariantMap &params,
                                              const QList<UploadFile> &files)
{
    m_redirects = 0;
    prepare(url, QByteArray(), m_flag, Post);
    auto *multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=\"%1\"").arg(it.key()));
        part.setBody(FormEncoding::valueText(it.value()).toUtf8());
        multi->append(part);
    }
    for (const UploadFile &f : files) {
        auto *file = new QFile(f.path, multi);
        if (!file->open(QIODevice::ReadOnly)) {
            delete multi;
            m_errorText = QStringLiteral("文件打开失败！");
            emit loadFail(0, m_errorText);
            emit loadFinish();
            return nullptr;
        }
        QHttpPart part;
        const QString sentName = f.fileName.isEmpty() ? QStringLiteral("filename.jpg") : f.fileName;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=\"%1\"; filename=\"%2\"").arg(f.name, sentName));
        part.setBodyDevice(file);
        multi->append(part);
    }

    QNetworkRequest request = buildRequest(url, Form);
    // The multipart object sets its own content type with the boundary.
    request.setHeader(QNetworkRequest::ContentTypeHeader, QVariant());
    QNetworkReply *reply = m_manager->post(request, multi);
    multi->setParent(reply);
    reply->setProperty(kReplyKind, UploadReply);
    watch(reply, m_timeoutMs > 0 ? m_timeoutMs : limits().postTimeoutMs, true);
    connect(reply, &QNetworkReply::uploadProgress, this, &NetRequestObjecet::fileUploadProgress);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { dealUploadResult(reply); });
    return reply;
}

void NetRequestObjecet::dealUploadResult(QNetworkReply *reply)
{
    if (reply->error() != QNetworkReply::NoError) {
        noteNetworkError(reply);
        if (m_isShowAlert)
            UserNotice::error(QStringLiteral("上传文件错误！"));
        emit loadFail(0, m_abortReason.isEmpty() ? reply->errorString() : m_abortReason);
    } else {
        const QByteArray raw = reply->readAll();
        m_result = QString::fromUtf8(raw);
        const Envelope envelope = parseEnvelope(raw);
        if (envelope.code == 200) {
            emit fileUploadSuccess(envelope.message);
        } else {
            if (!dealRefusal(envelope) && m_isShowAlert)
                UserNotice::error(QStringLiteral("上传文件失败！"));
            reportFailure(envelope);
        }
    }
    emit loadFinish();
    reply->deleteLater();
}

QNetworkReply *NetRequestObjecet::downloadFile(const QString &url, const QString &folder)
{
    QString target = url;
    target.remove(QLatin1Char(' '));
    if (target.isEmpty()) {
        emit loadFinish();
        return nullptr;
    }
    if (!target.startsWith(QLatin1String("http://")) && !target.startsWith(QLatin1String("https://")))
        target = QStringLiteral("http://%1").arg(target);
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(target.toLatin1(), QCryptographicHash::Md5).toHex());
    const QString filePart = QUrl(target, QUrl::TolerantMode).fileName();
    m_fileName = QStringLiteral("%1/%2").arg(folder, QStringLiteral("%1-%2").arg(digest, filePart));
    m_url = target;

    // Only the dump marker: the login cookie is not handed to file hosts.
    QNetworkRequest request(QUrl(target, QUrl::TolerantMode));
    request.setRawHeader("dump", "1");
    QNetworkReply *reply = m_manager->get(request);
    reply->setProperty(kReplyKind, DownloadReply);
    watch(reply, m_timeoutMs > 0 ? m_timeoutMs : limits().downloadIdleMs, true);
    connect(reply, &QNetworkReply::downloadProgress, this, &NetRequestObjecet::fileDownloadProgress);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { writeDownloadChunk(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { downloadFileDeal(reply); });
    return reply;
}

// The body goes to disk as it arrives, so a large file is never held in memory whole.
void NetRequestObjecet::writeDownloadChunk(QNetworkReply *reply)
{
    if (!m_download) {
        QDir().mkpath(QFileInfo(m_fileName).absolutePath());
        m_download = new QSaveFile(m_fileName, this);
        if (!m_download->open(QIODevice::WriteOnly))
            m_abortReason = saveFailure();
    }
    const QByteArray chunk = reply->readAll();
    if (m_abortReason.isEmpty() && m_download->write(chunk) != chunk.size())
        m_abortReason = saveFailure();
    if (!m_abortReason.isEmpty() && reply->isRunning())
        reply->abort();
}

void NetRequestObjecet::failDownload(const QString &text)
{
    if (m_download)
        m_download->cancelWriting();
    m_errorText = text;
    emit loadFail(0, text);
}

// Commits a finished download to its file. The file appears whole or not at all, and every
// failure is reported, so a waiting page always hears the end.
void NetRequestObjecet::downloadFileDeal(QNetworkReply *reply)
{
    const bool received = reply->error() == QNetworkReply::NoError;
    if (received)
        writeDownloadChunk(reply);  // what is left, and the file of an empty body
    if (!received && m_abortReason != saveFailure()) {
        noteNetworkError(reply);
        failDownload(m_abortReason.isEmpty() ? reply->errorString() : m_abortReason);
    } else if (m_abortReason.isEmpty() && m_download->commit()) {
        emit downloadFileSuccess(m_fileName);
    } else {
        failDownload(saveFailure());
    }
    delete m_download;
    m_download = nullptr;
    emit loadFinish();
    reply->deleteLater();
}

void NetRequestObjecet::onSslErrors(QNetworkReply *reply, const QList<QSslError> &errors)
{
    if (m_allowSelfSigned && onlySelfSignedErrors(errors))
        reply->ignoreSslErrors(errors);
}
