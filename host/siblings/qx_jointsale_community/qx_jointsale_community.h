#pragma once
// The host's community library, the part the listing detail window calls: a community's
// stored record and its archive page. Callers load it on demand by file name
// ("qx_jointsale_community.dll") and resolve the undecorated exports below.
//
// Both read the community table of the signed-in user's local company database, the file
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
