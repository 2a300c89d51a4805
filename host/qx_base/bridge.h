#pragma once
// The object an embedded web page reaches from its scripts.
#include "qx_base_global.h"

#include <QObject>
#include <QVariant>

class QX_BASE_EXPORT Bridge : public QObject
{
    Q_OBJECT
public:
    explicit Bridge(QObject *parent = nullptr);

public slots:
    // A page script hands a message (type and JSON text) to the client.
    void sendMessage(const QString &type, const QString &json);

signals:
    void messageReceived(QString type, QString json);
};
