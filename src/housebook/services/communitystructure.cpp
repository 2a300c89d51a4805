#include "communitystructure.h"

namespace CommunityStructure {

QStringList buildingSuffixes() { return {}; }
QStringList unitSuffixes() { return {}; }
QList<QVariantMap> communitiesOf(const QJsonValue &) { return {}; }
QList<LouDong> buildingsOfCommunity(const QVariantMap &) { return {}; }
QList<LouDong> buildingsOf(const QJsonValue &) { return {}; }
QList<DanYuan> unitsOf(const QJsonValue &) { return {}; }
QList<RoomModel> roomsOf(const QJsonValue &) { return {}; }
QList<RoomModel> registerRoomsOf(const QJsonValue &) { return {}; }
void locksOf(const QJsonValue &, bool *lockdong, bool *lockuar)
{
    if (lockdong)
        *lockdong = false;
    if (lockuar)
        *lockuar = false;
}
TypedOutcome typedBuilding(const QString &, const QString &, const QList<LouDong> &, bool, bool) { return {}; }
TypedOutcome typedUnit(const QString &, const QString &, const QList<DanYuan> &, bool, bool) { return {}; }
TypedOutcome typedRoom(const QString &, const QList<RoomModel> &, bool) { return {}; }
bool mayAddStructure() { return false; }

} // namespace CommunityStructure
