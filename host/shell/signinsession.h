#pragma once
// The host's own sign-in requests: "account/initialize" on the application root and
// "lmai/user/info" on the software root, form-encoded, one after the other. On success the
// login-state globals of DataCenter describe the user, as the plug-in expects to find them.
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkReply;

class SignInSession : public QObject
{
    Q_OBJECT
public:
    // serverBase: "http://host:port", the roots are "/app/" and "/soft/" below it.
    explicit SignInSession(const QString &serverBase, QObject *parent = nullptr);

    static constexpr int StepCount = 2;
    void start(const QString &phone);
    bool isRunning() const { return m_running; }

signals:
    void progress(int step, const QString &text);
    void succeeded();
    void failed(const QString &reason);

private:
    using DataHandler = std::function<bool(const QJsonObject &data, QString *error)>;
    void post(const QString &url, DataHandler handler, std::function<void()> next);
    void finishReply(QNetworkReply *reply, const DataHandler &handler, const std::function<void()> &next);
    bool takeInitialize(const QJsonObject &data, QString *error);
    bool takeJointSale(const QJsonObject &data, QString *error);
    void fail(const QString &reason);

    QString m_base;
    QString m_phone;
    QString m_cookie;
    bool m_running = false;
    QNetworkAccessManager m_network;
};
