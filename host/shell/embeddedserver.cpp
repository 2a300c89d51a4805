#include "embeddedserver.h"

#ifdef HOST_EMBEDS_SIMULATOR
#include "allianceserver.h"
#endif

struct EmbeddedServer::Impl
{
#ifdef HOST_EMBEDS_SIMULATOR
    AllianceServer server;
#endif
};

EmbeddedServer::EmbeddedServer() = default;

EmbeddedServer::~EmbeddedServer()
{
#ifdef HOST_EMBEDS_SIMULATOR
    if (d)
        d->server.stop();
#endif
}

bool EmbeddedServer::isAvailable()
{
#ifdef HOST_EMBEDS_SIMULATOR
    return true;
#else
    return false;
#endif
}

bool EmbeddedServer::start(QString *error)
{
#ifdef HOST_EMBEDS_SIMULATOR
    d = std::make_unique<Impl>();
    if (d->server.start())
        return true;
    d.reset();
    *error = QStringLiteral("内置联卖服务器无法启动（数据库或端口不可用）");
    return false;
#else
    *error = QStringLiteral("此版本未包含内置联卖服务器，请用 --server 或 QX_HOUSEBOOK_SERVER 指定服务器");
    return false;
#endif
}

QString EmbeddedServer::baseUrl() const
{
#ifdef HOST_EMBEDS_SIMULATOR
    if (d) {
        QString url = d->server.baseUrl();
        while (url.endsWith(QLatin1Char('/')))
            url.chop(1);
        return url;
    }
#endif
    return QString();
}

QStringList EmbeddedServer::userPhones() const
{
#ifdef HOST_EMBEDS_SIMULATOR
    if (d)
        return d->server.userPhones();
#endif
    return QStringList();
}

void EmbeddedServer::setSignedInPhone(const QString &phone)
{
#ifdef HOST_EMBEDS_SIMULATOR
    if (d)
        d->server.setDefaultPhone(phone);
#else
    Q_UNUSED(phone)
#endif
}
