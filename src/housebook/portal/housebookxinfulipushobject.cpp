#include "portal/housebookxinfulipushobject.h"

#include <QStringList>
#include <QTimer>

namespace {
QStringList &takedowns()
{
    static QStringList log;
    return log;
}
} // namespace

HouseBookXinfuLiPushObject::HouseBookXinfuLiPushObject(QObject *parent) : QObject(parent) {}

QStringList HouseBookXinfuLiPushObject::putDownLog()
{
    return takedowns();
}

void HouseBookXinfuLiPushObject::clearPutDownLog()
{
    takedowns().clear();
}

HouseBookXinfuLiPushObject *HouseBookXinfuLiPushObject::announcer()
{
    static HouseBookXinfuLiPushObject instance;
    return &instance;
}

void HouseBookXinfuLiPushObject::xiaJiaData(int id, const QString &reason)
{
    m_houseId = id;
    m_mode = PutDownMode;
    m_reason = reason;
    takedowns() << QStringLiteral("%1:%2").arg(id).arg(reason);
    emit putDownRequested(id, reason);
    if (this != announcer())
        emit announcer()->putDownRequested(id, reason);
    // Objects made without a parent are the caller's fire-and-forget takedowns.
    if (!parent() && this != announcer())
        QTimer::singleShot(0, this, &QObject::deleteLater);
}
