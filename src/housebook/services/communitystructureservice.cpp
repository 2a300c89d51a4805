#include "services/communitystructureservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"

#include "datacenter.h"

#include <QJsonObject>

namespace {

const QString kLianmai = QStringLiteral("lianmai");
const QString kOne = QStringLiteral("1");

QString unreadableReason()
{
    return QStringLiteral("服务器返回的数据无法识别");
}

// A list reply may be an array or an object in any wrapping; an empty payload is an empty
// list. A number or a bare text is not a list at all.
bool isListShape(const QJsonValue &data)
{
    if (data.isArray() || data.isObject() || data.isNull() || data.isUndefined())
        return true;
    if (!data.isString())
        return false;
    const QString text = data.toString().trimmed();
    return text.isEmpty() || text.startsWith(QLatin1Char('[')) || text.startsWith(QLatin1Char('{'));
}

} // namespace

CommunityStructureService::CommunityStructureService(QObject *parent)
    : QObject(parent)
{
}

void CommunityStructureService::post(Request kind, const QString &url, const QVariantMap &form,
                                     std::function<void(const QJsonValue &)> accepted)
{
    const int serial = ++m_serials[kind];
    auto *request = new NetRequestObjecet(this);
    connect(request, &NetRequestObjecet::loadSuccess, this, [this, kind, serial, accepted](const QJsonValue &data) {
        if (isCurrent(kind, serial))
            accepted(data);
    });
    connect(request, &NetRequestObjecet::loadFail, this, [this, kind, serial, request] {
        if (isCurrent(kind, serial))
            emit failed(kind, request->failureReason().isEmpty() ? request->errorText() : request->failureReason());
    });
    connect(request, &NetRequestObjecet::loadFinish, this, [this, kind, serial, request] {
        disconnect(request, nullptr, this, nullptr);
        request->deleteLater();
        if (isCurrent(kind, serial))
            emit finished(kind);
    });
    request->postForm(url, form);
}

bool CommunityStructureService::isCurrent(Request kind, int serial) const
{
    return m_serials.value(kind) == serial;
}

void CommunityStructureService::postList(Request kind, const QString &url, const QVariantMap &form,
                                         std::function<void(const QJsonValue &)> accepted)
{
    post(kind, url, form, [this, kind, accepted](const QJsonValue &data) {
        if (isListShape(data))
            accepted(data);
        else
            emit failed(kind, unreadableReason());
    });
}

void CommunityStructureService::searchCommunities(const QString &key)
{
    postList(Search, Endpoints::instance().house_xiaoqu_search, {{QStringLiteral("key"), key}, {kLianmai, kOne}},
             [this](const QJsonValue &data) { emit communitiesArrived(CommunityStructure::communitiesOf(data)); });
}

void CommunityStructureService::fetchLocks(const QString &communityId)
{
    post(Locks, Endpoints::instance().house_jinggeng_getLocks, {{QStringLiteral("comid"), communityId}, {kLianmai, kOne}},
         [this](const QJsonValue &data) {
             bool lockdong = false;
             bool lockuar = false;
             CommunityStructure::locksOf(data, &lockdong, &lockuar);
             emit locksArrived(lockdong, lockuar);
         });
}

void CommunityStructureService::fetchBuildings(const QString &communityId)
{
    postList(Buildings, Endpoints::instance().house_jinggeng_loudongInfo,
             {{QStringLiteral("comid"), communityId}, {kLianmai, kOne}},
             [this](const QJsonValue &data) { emit buildingsArrived(CommunityStructure::buildingsOf(data)); });
}

void CommunityStructureService::fetchUnits(const QString &communityId, const CommunityStructure::LouDong &building)
{
    const auto arrived = [this](const QJsonValue &data) { emit unitsArrived(CommunityStructure::unitsOf(data)); };
    if (building.jinggeng) {
        postList(Units, Endpoints::instance().intensiveFarming_getUnitList,
                 {{QStringLiteral("id"), building.id}, {QStringLiteral("cityid"), DataCenter::CityID}}, arrived);
        return;
    }
    postList(Units, Endpoints::instance().house_jinggeng_danyuanInfo,
             {{QStringLiteral("xiaoquid"), communityId}, {QStringLiteral("dongid"), building.id}, {kLianmai, kOne}},
             arrived);
}

void CommunityStructureService::fetchRooms(const CommunityStructure::DanYuan &unit, bool intensiveFarming)
{
    if (intensiveFarming) {
        postList(Rooms, Endpoints::instance().intensiveFarming_getHouseList,
                 {{QStringLiteral("id"), unit.id}, {QStringLiteral("cityid"), DataCenter::CityID}},
                 [this](const QJsonValue &data) { emit roomsArrived(CommunityStructure::registerRoomsOf(data)); });
        return;
    }
    postList(Rooms, Endpoints::instance().house_jinggeng_unitInfo, {{QStringLiteral("unitid"), unit.id}, {kLianmai, kOne}},
             [this](const QJsonValue &data) { emit roomsArrived(CommunityStructure::roomsOf(data)); });
}

void CommunityStructureService::fetchRoomDetail(const QString &unitId, const QString &roomId)
{
    post(RoomDetail, Endpoints::instance().house_jinggeng_RoomDetail,
         {{QStringLiteral("unitid"), unitId}, {QStringLiteral("roomid"), roomId}, {kLianmai, kOne}},
         [this](const QJsonValue &data) {
             if (data.isObject())
                 emit roomDetailArrived(data.toObject().toVariantMap());
             else
                 emit failed(RoomDetail, unreadableReason());
         });
}
