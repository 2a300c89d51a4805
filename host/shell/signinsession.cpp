#include "signinsession.h"

#include "datacenter.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QNetworkCookie>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

namespace {

const int kTimeoutMs = 15000;

// Looks a member up by any of its spellings, case-insensitively, in the object itself and
// then in the objects it holds (servers nest the user under "user" or "userinfo").
QJsonValue member(const QJsonObject &object, const QStringList &names)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        for (const QString &n : names) {
            if (it.key().compare(n, Qt::CaseInsensitive) == 0)
                return it.value();
        }
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.value().isObject()) {
            const QJsonValue v = member(it.value().toObject(), names);
            if (!v.isUndefined())
                return v;
        }
    }
    return QJsonValue(QJsonValue::Undefined);
}

// Ids arrive as numbers or as decimal text.
int toId(const QJsonValue &value)
{
    if (value.isDouble())
        return value.toInt();
    return value.toString().trimmed().toInt();
}

bool toFlag(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isDouble())
        return value.toInt() != 0;
    const QString text = value.toString().trimmed().toLower();
    return text == QLatin1String("1") || text == QLatin1String("true");
}

} // namespace

SignInSession::SignInSession(const QString &serverBase, QObject *parent)
    : QObject(parent)
    , m_base(serverBase)
{
    while (m_base.endsWith(QLatin1Char('/')))
        m_base.chop(1);
}

void SignInSession::start(const QString &phone)
{
    if (m_running)
        return;
    m_running = true;
    m_phone = phone.trimmed();
    // The simulator knows the user by this cookie; a server that sets its own replaces it.
    m_cookie = QStringLiteral("qxphone=%1").arg(m_phone);
    DataCenter::CurrentWindow = QStringLiteral("Login");
    emit progress(1, QStringLiteral("账号初始化…"));
    post(m_base + QStringLiteral("/app/account/initialize"),
         [this](const QJsonObject &data, QString *error) { return takeInitialize(data, error); },
         [this] {
             emit progress(2, QStringLiteral("读取联卖信息…"));
             post(m_base + QStringLiteral("/soft/lmai/user/info"),
                  [this](const QJsonObject &data, QString *error) { return takeJointSale(data, error); },
                  [this] {
                      m_running = false;
                      DataCenter::UserOnline = true;
                      DataCenter::CurrentWindow = QStringLiteral("main");
                      emit succeeded();
                  });
         });
}

void SignInSession::post(const QString &url, DataHandler handler, std::function<void()> next)
{
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("Cookie", m_cookie.toUtf8());
    request.setTransferTimeout(kTimeoutMs);
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("phone"), m_phone);
    QNetworkReply *reply = m_network.post(request, form.query(QUrl::FullyEncoded).toUtf8());
    connect(reply, &QNetworkReply::finished, this, [this, reply, handler, next] {
        reply->deleteLater();
        finishReply(reply, handler, next);
    });
}

void SignInSession::finishReply(QNetworkReply *reply, const DataHandler &handler, const std::function<void()> &next)
{
    const QString path = reply->url().path();
    if (reply->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("%1：%2").arg(path, reply->errorString()));
        return;
    }
    const QJsonObject envelope = QJsonDocument::fromJson(reply->readAll()).object();
    if (envelope.isEmpty()) {
        fail(QStringLiteral("%1：服务器返回的数据无法解析").arg(path));
        return;
    }
    if (toId(envelope.value(QStringLiteral("code"))) != 200) {
        // The server's own words are what the user can act on (an unregistered phone).
        const QString message = envelope.value(QStringLiteral("message")).toString();
        fail(message.isEmpty() ? QStringLiteral("%1：登录被拒绝").arg(path) : message);
        return;
    }
    const QVariant cookies = reply->header(QNetworkRequest::SetCookieHeader);
    if (cookies.isValid()) {
        QStringList parts;
        for (const QNetworkCookie &c : cookies.value<QList<QNetworkCookie>>())
            parts << QString::fromUtf8(c.toRawForm(QNetworkCookie::NameAndValueOnly));
        if (!parts.isEmpty())
            m_cookie = parts.join(QStringLiteral("; "));
    }
    QString error;
    if (!handler(envelope.value(QStringLiteral("data")).toObject(), &error)) {
        fail(QStringLiteral("%1：%2").arg(path, error));
        return;
    }
    next();
}

bool SignInSession::takeInitialize(const QJsonObject &data, QString *error)
{
    const int companyId = toId(member(data, {QStringLiteral("companyid"), QStringLiteral("company_id")}));
    if (companyId <= 0) {
        *error = QStringLiteral("账号初始化数据中没有公司");
        return false;
    }
    DataCenter::UserPhoneNumber = m_phone;
    DataCenter::CompanyID = companyId;
    DataCenter::CityID = toId(member(data, {QStringLiteral("cityid"), QStringLiteral("city_id")}));
    DataCenter::YongHuID = toId(member(data, {QStringLiteral("yonghuid"), QStringLiteral("userid"),
                                              QStringLiteral("user_id"), QStringLiteral("uid"), QStringLiteral("id")}));
    DataCenter::isManager = toFlag(member(data, {QStringLiteral("ismanager"), QStringLiteral("is_manager")}));
    DataCenter::CookieVar = m_cookie;
    return true;
}

bool SignInSession::takeJointSale(const QJsonObject &data, QString *error)
{
    const QJsonValue company = member(data, {QStringLiteral("lmcompanyid")});
    if (company.isUndefined()) {
        *error = QStringLiteral("联卖信息中没有联卖公司");
        return false;
    }
    DataCenter::JointSaleCompanyId = toId(company);
    DataCenter::isJointSaleManger = toFlag(member(data, {QStringLiteral("manager")}));
    DataCenter::CookieVar = m_cookie;
    return true;
}

void SignInSession::fail(const QString &reason)
{
    m_running = false;
    emit failed(reason);
}
