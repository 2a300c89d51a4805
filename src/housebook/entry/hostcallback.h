#pragma once
// The host's callback: a plain function taking a message and the host's context word.
#include <QString>

class QJsonArray;
class QJsonObject;

typedef void (*HostCallback)(QString message, void *context);

namespace HostNotify {

// Each call is safe with a null callback: then nothing is called.
void send(HostCallback callback, void *context, const QString &message);
void sendJson(HostCallback callback, void *context, const QJsonObject &object);
void sendJson(HostCallback callback, void *context, const QJsonArray &array);

} // namespace HostNotify
