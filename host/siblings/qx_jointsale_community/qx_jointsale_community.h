#pragma once
// The host's community library, the parts the listing detail window and the entry forms call:
// a community's stored record, its archive page and the room picker of a unit. Callers load it
// on demand by file name ("qx_jointsale_community.dll") and resolve the undecorated exports below.
//
// The record and the page read the community table of the signed-in user's local company database, the file
// the house-book plug-in syncs into, opened read-only:
//   <AppConfigLocation>/sql/4_2_0_1/cp-c-<key>.db
// where <key> is characters 8..23 of the hex MD5 of "<company id>v2.0", for the user's
// company (DataCenter::CompanyID) and then the alliance's (DataCenter::JointSaleCompanyId).
// Nothing is written and the plug-in itself is not linked.
#include <QVariantMap>
#include <QtGlobal>

#if defined(QX_JOINTSALE_COMMUNITY_LIBRARY)
#define QX_JOINTSALE_COMMUNITY_EXPORT Q_DECL_EXPORT
#else
#define QX_JOINTSALE_COMMUNITY_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// Fills *out with the community's stored columns (keys as stored: id, name, districtname,
// areaname, address, lng, lat, years, buildingcount, ...). False, and *out untouched, when
// no local database holds the community or out is null.
extern "C" QX_JOINTSALE_COMMUNITY_EXPORT bool loadLocalCommunityData(int communityId, QVariantMap *out);

// The community's archive page as a child of parent ("communityArchivePage"); the caller
// places and owns it. A community that is not stored shows "暂无该小区的档案信息".
extern "C" QX_JOINTSALE_COMMUNITY_EXPORT QWidget *localCommunityShow(QWidget *parent, int communityId);

// What the room picker hands back: {"uid": unit id, "rid": room id, "name": room name}.
typedef void (*JinGenHousePicked)(void *context, const QVariantMap &room);

// Opens a non-modal room picker ("jinGenHousePicker", deleted when closed) over parent and
// returns it at once. It lists the rooms of args["unitId"] as the community service has them
// (`house/jinggeng/unitInfo` with `unitid` and `lianmai`=1 under the soft root: the variable
// QX_HOUSEBOOK_SOFT_ROOT, else QX_HOUSEBOOK_SERVER + "/soft/"), for the signed-in user (header
// qxphone), marking args["roomId"] as the current one. Clicking a room calls
// picked(context, room) once and closes the picker; closing it otherwise calls nothing.
// Other args (editId, isSale) are accepted for the caller's sake.
extern "C" QX_JOINTSALE_COMMUNITY_EXPORT QWidget *chooseJinGenHouse(QWidget *parent, const QVariantMap &args,
                                                                     JinGenHousePicked picked, void *context);
