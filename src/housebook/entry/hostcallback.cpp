#include "hostcallback.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace HostNotify {

void send(HostCallback callback, void *context, const QString &message)
{
    if (callback)
        callback(message, context);
}

void sendJson(HostCallback callback, void *context, const QJsonObject &object)
{
    send(callback, context, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

void sendJson(HostCallback callback, void *context, const QJsonArray &array)
{
    send(callback, context, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
}

} // namespace HostNotify
