#pragma once
// The requests about a community's structure that the chooser and the entry forms make:
// community search, lock state, buildings, units and rooms from the community service or
// from the intensive-farming register, and one room's facts. Each call posts one form and
// answers with one signal; a refusal or a lost connection has been shown by the request
// object and ends in failed(); every call ends with finished(). A reply of the wrong shape
// ends in failed() too. A newer call of the same kind supersedes an older one: the older
// one's reply is dropped, so a slow answer about the building chosen before never replaces
// the one asked for last.
#include "services/communitystructure.h"

#include <QHash>
#include <QObject>

#include <functional>

class CommunityStructureService : public QObject
{
    Q_OBJECT
public:
    enum Request { Search, Locks, Buildings, Units, Rooms, RoomDetail };
    Q_ENUM(Request)

    explicit CommunityStructureService(QObject *parent = nullptr);

    void searchCommunities(const QString &key);
    void fetchLocks(const QString &communityId);
    void fetchBuildings(const QString &communityId);
    // From the register for a building under intensive farming, else from the community service.
    void fetchUnits(const QString &communityId, const CommunityStructure::LouDong &building);
    void fetchRooms(const CommunityStructure::DanYuan &unit, bool intensiveFarming);
    void fetchRoomDetail(const QString &unitId, const QString &roomId);
    // Forgets the call of that kind still on its way: its reply, failure and end are dropped.
    void drop(Request kind) { ++m_serials[kind]; }

signals:
    void communitiesArrived(const QList<QVariantMap> &communities);
    void locksArrived(bool lockdong, bool lockuar);
    void buildingsArrived(const QList<CommunityStructure::LouDong> &buildings);
    void unitsArrived(const QList<CommunityStructure::DanYuan> &units);
    void roomsArrived(const QList<CommunityStructure::RoomModel> &rooms);
    // Keys as the reply gives them: floors, allfloors, builtuparea, room, hall, huxingwei,
    // kitchen, balcony.
    void roomDetailArrived(const QVariantMap &room);
    void failed(CommunityStructureService::Request request, const QString &message);
    void finished(CommunityStructureService::Request request);

private:
    void post(Request kind, const QString &url, const QVariantMap &form,
              std::function<void(const QJsonValue &)> accepted);
    void postList(Request kind, const QString &url, const QVariantMap &form,
                  std::function<void(const QJsonValue &)> accepted);
    bool isCurrent(Request kind, int serial) const;

    QHash<int, int> m_serials;
};
