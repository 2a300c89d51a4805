#pragma once
// The module's one way to talk to the servers. A page makes one object per request,
// connects to its signals and starts one request; the object checks the reply envelope
// {code, data, message}, reports failures itself (message box, lost login, failure notice)
// and hands the page only the payload.
#include <QJsonValue>
#include <QObject>
#include <QVariant>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QSaveFile;
class QSslError;

class NetRequestObjecet : public QObject
{
    Q_OBJECT
public:
    enum Method { Post = 0, Get = 1, Delete = 2, Put = 3 };
    enum ContentType { Form = 0, Json = 1 };

    // One file of a multipart upload: form field name, path on disk, file name sent.
    struct UploadFile
    {
        QString name;
        QString path;
        QString fileName;
    };

    explicit NetRequestObjecet(QObject *parent = nullptr);

    QNetworkReply *sendRequest(const QString &url, const QVariant &params, bool flag = false,
                               int method = Post, int contentType = Form);
    QNetworkReply *postForm(const QString &url, const QVariantMap &params, bool flag = false);
    // Sends the body unchanged: GET (no body) for method 1, POST otherwise. Pages send
    // filled templates this way (FormEncoding::fill).
    QNetworkReply *sendRaw(const QString &url, const QByteArray &body, bool flag = false, int method = Post);
    QNetworkReply *uploadFiles(const QString &url, const QVariantMap &params, const QList<UploadFile> &files);
    QNetworkReply *downloadFile(const QString &url, const QString &folder);

    // Failures of this request reach only loadFail and the failure notice.
    void closeAlert();
    // A change the user asked for: when it fails in a way the user has not already been
    // told of (a refusal box or a lost login), a warning shows this text with "%1" replaced
    // by failureReason(), so a lost connection or a broken server never passes unnoticed.
    void setFailureNotice(const QString &text) { m_failureNotice = text; }
    // The reply is handed out raw (loadSuccessFromExternalAPI) instead of being parsed.
    void setExternalApi(bool external) { m_externalApi = external; }
    // Accepts a self-signed server certificate; off unless configured for a test server.
    void setAllowSelfSigned(bool allow) { m_allowSelfSigned = allow; }

    // How long a request may take and how much it may bring back. A stalled server or an
    // endless reply ends as a failure like a lost connection, so nobody waits for ever.
    struct Limits
    {
        int postTimeoutMs = 60 * 1000;        // a form post from a page or a download code
        int pageTimeoutMs = 3 * 60 * 1000;    // one page of the listing sync
        int downloadIdleMs = 2 * 60 * 1000;   // a file download with no byte arriving
        qint64 maxReplyBytes = qint64(64) << 20;      // a JSON reply or a downloaded file
        qint64 maxSnapshotBytes = qint64(4) << 30;    // a database snapshot or its archive
    };
    // The process-wide limits new requests take (tests shorten them).
    static Limits limits();
    static void setLimits(const Limits &limits);

    // This request's own limits; 0 keeps the one its operation takes from limits().
    void setTimeout(int ms) { m_timeoutMs = ms; }
    void setMaxReplyBytes(qint64 bytes) { m_maxReplyBytes = bytes; }

    // The reasons of the two failures the limits cause.
    static QString timeoutReason();
    static QString tooLargeReason();

    QString url() const { return m_url; }
    QByteArray body() const { return m_body; }
    QString result() const { return m_result; }
    QString errorText() const { return m_errorText; }
    // Why the last request failed, in words an agent understands ("无法连接服务器",
    // "服务器错误(500)", "服务器返回的数据无法识别", "连接服务器超时", or the server's
    // own message).
    QString failureReason() const { return m_failureReason; }
    QString fileName() const { return m_fileName; }
    bool flag() const { return m_flag; }
    int method() const { return m_method; }
    bool isShowAlert() const { return m_isShowAlert; }

    // Redirects ("Object moved") followed for one request before it fails like any other.
    static constexpr int kMaxRedirects = 3;

signals:
    void loadFinish();
    void loadSuccess(QJsonValue result);
    void loadSuccessFromExternalAPI(QByteArray result);
    void loadFail(int code, QString msg);
    void fileUploadProgress(qint64 bytesSent, qint64 bytesTotal);
    void fileUploadSuccess(QString address);
    void fileDownloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void downloadFileSuccess(QString filename);

public slots:
    void loadResult(QNetworkReply *reply);
    void downloadFileDeal(QNetworkReply *reply);

private:
    struct Envelope
    {
        int code = 0;
        QJsonValue data;
        QString message;
        bool wellFormed = false;  // a JSON object with a code
    };

    QNetworkReply *dispatch(const QString &url, const QByteArray &body, int method, int contentType);
    // Arms the timeout and the size cap on a reply just started. An idle timeout restarts
    // with every byte; otherwise the whole request must end in time.
    void watch(QNetworkReply *reply, int timeoutMs, bool idleTimeout);
    void checkSize(QNetworkReply *reply, qint64 received, qint64 total);
    qint64 replyCap() const;
    void writeDownloadChunk(QNetworkReply *reply);
    void failDownload(const QString &text);
    QNetworkRequest buildRequest(const QString &url, int contentType) const;
    void prepare(const QString &url, const QByteArray &body, bool flag, int method);
    void dealUploadResult(QNetworkReply *reply);
    void onSslErrors(QNetworkReply *reply, const QList<QSslError> &errors);
    bool followRedirect();
    bool dealRefusal(const Envelope &envelope);
    void reportFailure(const Envelope &envelope);
    void noteNetworkError(QNetworkReply *reply);
    void showFailureNotice();
    static Envelope parseEnvelope(const QByteArray &text);

    QNetworkAccessManager *m_manager;
    bool m_flag = false;
    QString m_url;
    QByteArray m_body;
    QString m_result;
    QVariantMap m_headers;
    bool m_externalApi = false;
    int m_method = Post;
    int m_redirects = 0;
    QString m_errorText;
    QString m_failureReason;
    QString m_failureNotice;
    bool m_isShowAlert = true;
    bool m_allowSelfSigned = false;
    QString m_fileName;
    int m_timeoutMs = 0;
    qint64 m_maxReplyBytes = 0;
    // Why this object aborted its reply: the timeout or the size cap; empty otherwise.
    QString m_abortReason;
    QSaveFile *m_download = nullptr;
};
