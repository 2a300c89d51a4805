// A reply body (or a transport failure) handed to the request object as a finished reply.
// Input: byte 0 picks the transport outcome and the request's switches, the rest is the body.
// Invariants: every reply ends exactly once; it either succeeds or fails, never both; success
// means the envelope's code reads as 200 and hands on a value; a failure always has a reason;
// a request told to stay silent shows nothing and signs nobody out; an external request gets
// the body unchanged.
#include "fuzzsupport.h"

#include "commonsignaltool.h"
#include "net/netrequestobjecet.h"
#include "platform/usernotice.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QUrl>

#include <cstring>

namespace {

// A finished reply with a canned body, as the network access manager would hand it over.
class CannedReply : public QNetworkReply
{
public:
    CannedReply(const QByteArray &body, NetworkError error, int status) : m_body(body)
    {
        setUrl(QUrl(QStringLiteral("http://127.0.0.1:9/app/app/synchousebook")));
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, status);
        if (error != NoError)
            setError(error, QStringLiteral("canned failure"));
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        setFinished(true);
    }
    void abort() override {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_body.size() - m_read + QNetworkReply::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = qMin<qint64>(maxSize, m_body.size() - m_read);
        if (n <= 0)
            return m_read >= m_body.size() ? -1 : 0;
        std::memcpy(data, m_body.constData() + m_read, size_t(n));
        m_read += n;
        return n;
    }

private:
    QByteArray m_body;
    qint64 m_read = 0;
};

struct Heard
{
    int finishes = 0;
    int successes = 0;
    int failures = 0;
    int external = 0;
    int notices = 0;
    int lostLogins = 0;
    int failCode = -1;
    QJsonValue data;
    QByteArray externalBody;
};

const QNetworkReply::NetworkError kErrors[] = {
    QNetworkReply::NoError, QNetworkReply::ConnectionRefusedError, QNetworkReply::TimeoutError,
    QNetworkReply::RemoteHostClosedError, QNetworkReply::ContentNotFoundError, QNetworkReply::InternalServerError};

// The envelope's code as a number 200: the only success.
bool saysSuccess(const QByteArray &body)
{
    const QJsonValue code = QJsonDocument::fromJson(body).object().value(QLatin1String("code"));
    if (code.isDouble())
        return code.toInt() == 200;
    return code.isString() && code.toString().trimmed().toInt() == 200;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input;
    if (!FuzzSupport::split(data, size, &input))
        return 0;
    const uint8_t switches = input.selector;
    const QByteArray &body = input.payload;
    const QNetworkReply::NetworkError error = kErrors[(switches & 0x0f) % (sizeof kErrors / sizeof kErrors[0])];
    const bool silent = switches & 0x10;
    const bool external = switches & 0x20;
    const int status = error == QNetworkReply::NoError ? 200 : (switches & 0x40 ? 500 : 0);

    Heard heard;
    UserNotice::setSink([&heard](UserNotice::Kind, const QString &) { ++heard.notices; });
    auto *request = new NetRequestObjecet;
    if (silent)
        request->closeAlert();
    request->setExternalApi(external);
    request->setFailureNotice(QStringLiteral("保存失败：%1"));
    QObject::connect(request, &NetRequestObjecet::loadFinish, [&heard] { ++heard.finishes; });
    QObject::connect(request, &NetRequestObjecet::loadSuccess, [&heard](const QJsonValue &value) {
        ++heard.successes;
        heard.data = value;
    });
    QObject::connect(request, &NetRequestObjecet::loadFail, [&heard](int code, const QString &) {
        ++heard.failures;
        heard.failCode = code;
    });
    QObject::connect(request, &NetRequestObjecet::loadSuccessFromExternalAPI, [&heard](const QByteArray &raw) {
        ++heard.external;
        heard.externalBody = raw;
    });
    const auto lost = QObject::connect(CommonSignalTool::Instance(), &CommonSignalTool::lostLogin,
                                       [&heard](const QVariant &, QObject *) { ++heard.lostLogins; });

    auto *reply = new CannedReply(body, error, status);
    request->loadResult(reply);

    const QString detail = QStringLiteral("switches %1, body %2").arg(switches).arg(QString::fromUtf8(body.left(200)));
    FUZZ_CHECK(heard.finishes == 1, detail);
    FUZZ_CHECK(heard.successes + heard.failures + heard.external == 1, detail);
    if (error != QNetworkReply::NoError) {
        FUZZ_CHECK(heard.failures == 1 && heard.failCode == 0, detail);
        FUZZ_CHECK(!request->failureReason().isEmpty(), detail);
    } else if (external) {
        FUZZ_CHECK(heard.external == 1 && heard.externalBody == body, detail);
    } else {
        FUZZ_CHECK((heard.successes == 1) == saysSuccess(body), detail);
        if (heard.successes == 1)
            FUZZ_CHECK(!heard.data.isUndefined() && !heard.data.isNull(), detail);
        else
            FUZZ_CHECK(!request->failureReason().isEmpty(), detail);
    }
    if (silent)
        FUZZ_CHECK(heard.notices == 0 && heard.lostLogins == 0, detail);

    QObject::disconnect(lost);
    UserNotice::setSink(nullptr);
    delete request;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
