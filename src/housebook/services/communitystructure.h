#pragma once
// A community's structure as the entry forms and the chooser handle it: buildings, units and
// rooms read from the community service or from the intensive-farming register, and the
// rules for a value the agent types because the list lacks it.
#include <QJsonValue>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace XiaoQuLouDongMsg_Model {

// A building. id is empty for one typed by hand.
struct LouDong
{
    QString id;
    QString name;          // as shown, with its unit word ("5栋")
    QString unit;          // the unit word ("栋", "座", "" for none)
    bool jinggeng = false; // under intensive farming: units and rooms come from the register
};

// A unit of a building. id is empty for one typed by hand.
struct DanYuan
{
    QString id;
    QString name; // as shown ("2单元")
    QString unit; // the unit word ("单元", "弄", "街", "" for none)
};

} // namespace XiaoQuLouDongMsg_Model

namespace JingGengLouDongMessage_Model {

// A room. id is empty for one typed by hand; unitId/roomId are the register's ids (empty
// outside intensive farming).
struct RoomModel
{
    QString id;
    QString name;
    QString unitId;
    QString roomId;
    int floor = 0;
};

} // namespace JingGengLouDongMessage_Model

namespace CommunityStructure {

using LouDong = XiaoQuLouDongMsg_Model::LouDong;
using DanYuan = XiaoQuLouDongMsg_Model::DanYuan;
using RoomModel = JingGengLouDongMessage_Model::RoomModel;

// Suffix choices of a typed building and of a typed unit ("无" adds nothing).
QStringList buildingSuffixes();
QStringList unitSuffixes();

// Reply readers: any shape is accepted, entries without a name are skipped.
QList<QVariantMap> communitiesOf(const QJsonValue &data);
// A community's own `building` entries: a text gets the word "栋", a map gives id and name.
QList<LouDong> buildingsOfCommunity(const QVariantMap &community);
QList<LouDong> buildingsOf(const QJsonValue &data);
QList<DanYuan> unitsOf(const QJsonValue &data);
QList<RoomModel> roomsOf(const QJsonValue &data);         // community service rooms
QList<RoomModel> registerRoomsOf(const QJsonValue &data); // intensive-farming register rooms
// lockdong / lockuar of a getLocks reply (false for anything unreadable).
void locksOf(const QJsonValue &data, bool *lockdong, bool *lockuar);

// What becomes of a value the agent typed.
struct TypedOutcome
{
    enum Kind { TakeExisting, AddNew, Refused };
    Kind kind = Refused;
    int index = -1;  // TakeExisting: the entry of the list that was meant
    QString name;    // AddNew: the name with its suffix
    QString unit;    // AddNew: the suffix ("" for "无")
    QString refusal; // Refused: the message to show
};

// A typed building: empty name refused; the name with its suffix is first looked up in the
// list (an existing building is taken with its id); then a locked community or an agent who
// may not add buildings is refused; else a new building without id.
TypedOutcome typedBuilding(const QString &typed, const QString &suffix, const QList<LouDong> &list,
                           bool locked, bool mayAdd);
TypedOutcome typedUnit(const QString &typed, const QString &suffix, const QList<DanYuan> &list,
                       bool locked, bool mayAdd);
// A typed room: empty refused, an existing room taken, a room the register lacks refused in a
// building under intensive farming, else new.
TypedOutcome typedRoom(const QString &typed, const QList<RoomModel> &list, bool intensiveFarming);

// Whether the signed-in agent may add buildings and units (joint-sale manager or the right to).
bool mayAddStructure();

} // namespace CommunityStructure

Q_DECLARE_METATYPE(XiaoQuLouDongMsg_Model::LouDong)
Q_DECLARE_METATYPE(XiaoQuLouDongMsg_Model::DanYuan)
Q_DECLARE_METATYPE(JingGengLouDongMessage_Model::RoomModel)
