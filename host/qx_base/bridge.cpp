#include "bridge.h"

Bridge::Bridge(QObject *parent) : QObject(parent) {}

void Bridge::sendMessage(const QString &type, const QString &json)
{
    emit messageReceived(type, json);
}
