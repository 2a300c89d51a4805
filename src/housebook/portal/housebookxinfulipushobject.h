#pragma once
// Takes a listing of the book down from the XinfuLi portal when it goes off the market or is
// deleted. Pages create one without a parent, call xiaJiaData() and forget it: the object
// neither reports a result to its caller nor blocks it, and releases itself afterwards.
// For now the takedown only records and announces the request; the portal exchange (status
// query, reason, removal) is added on top of the same call.
#include <QObject>
#include <QString>

class HouseBookXinfuLiPushObject : public QObject
{
    Q_OBJECT
public:
    // The takedown mode of the object (a push is mode 1).
    enum Mode { PushMode = 1, PutDownMode = 2 };

    explicit HouseBookXinfuLiPushObject(QObject *parent = nullptr);

    int houseId() const { return m_houseId; }
    int mode() const { return m_mode; }
    QString reason() const { return m_reason; }

    // Every takedown asked for in this process, as "id:reason" (diagnostics and tests).
    static QStringList putDownLog();
    static void clearPutDownLog();

    // Process-wide announcer of takedown requests, so a caller that does not keep the
    // short-lived object can still be heard.
    static HouseBookXinfuLiPushObject *announcer();

signals:
    void pushSuccess();
    void putDownSuccess();
    // A takedown of listing id with this reason was asked for.
    void putDownRequested(int id, QString reason);

public slots:
    // The takedown: stores the id and the reason and starts the portal exchange.
    void xiaJiaData(int id, const QString &reason);

private:
    int m_houseId = 0;
    int m_mode = PushMode;
    QString m_reason;
};
