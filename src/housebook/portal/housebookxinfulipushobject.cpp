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

HouseBookXinfuLiPushObject::HouseBookXinfuLiPushObject(QObject *parent) : PortalPushBase(parent) {}

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

void HouseBookXinfuLiPushObject::pushHouse(int id)
{
    m_data.houseId = id;
    m_mode = PushMode;
}

void HouseBookXinfuLiPushObject::downloadXinfuliPushStatus() {}
void HouseBookXinfuLiPushObject::dealXinfuLiPushStatusData(QJsonValue) {}
void HouseBookXinfuLiPushObject::downloadHouseDescriceData() {}
void HouseBookXinfuLiPushObject::dealHouseDescriceData(QJsonValue) {}
void HouseBookXinfuLiPushObject::downloadHouseVrs() {}
void HouseBookXinfuLiPushObject::dealHouseVrs(QJsonValue) {}
void HouseBookXinfuLiPushObject::downloadWaterMark() {}
void HouseBookXinfuLiPushObject::dealWaterMark(QJsonValue) {}
void HouseBookXinfuLiPushObject::downloadXinfuLiNeedData() {}
void HouseBookXinfuLiPushObject::dealXinfuLiNeedData(QJsonValue) {}
void HouseBookXinfuLiPushObject::submitData(const QString &) {}
void HouseBookXinfuLiPushObject::fillXiaJiaReason() {}

void HouseBookXinfuLiPushObject::xiaJiaData(int id, const QString &reason)
{
    m_data.houseId = id;
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
