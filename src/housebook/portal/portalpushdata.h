#pragma once
// What a portal push gathers about one listing before it is checked and posted: the listing
// as the local store has it, its community, the promotion text and photos, the VR views,
// the video, the watermark and the portal's own data of the listing. The push objects fill
// it step by step; the record builders (portalrecords.h) only read it.
#include "sql/housemessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

// One promotion photo as the portals receive it.
struct PortalPhoto
{
    enum Kind { Indoor = 1, FloorPlan = 2, Outside = 3 };
    QString url;
    int kind = Indoor;
    bool head = false;   // the cover
    QString title;
};

// The listing's community as the local store has it.
struct PortalCommunity
{
    bool found = false;  // false: no community record (refused by both portals' checks)
    int id = 0;
    QString name;
    QString city;
    QString district;
    QString area;
    QString address;
    QString lng;         // empty or "0": no map position
    QString lat;
    QString years;       // build year as stored ("2008", "2008年", "" ...)
};

struct PortalPushData
{
    int houseId = 0;
    int companyId = 0;
    bool rent = false;
    bool houseFound = false;
    HouseMessage_DataSqlTable::HouseMessageData house;
    PortalCommunity community;
    // housebook2/housebookdesdetail: the extended facts, title and introduction, as received.
    QJsonObject promotion;
    QList<PortalPhoto> photos;
    // house/vr/VRContent: [{"id","url","cover","title"}].
    QJsonArray vrs;
    // fd/getHouseVod: the listing's video; empty url when it has none.
    QString videoUrl;
    QString videoCover;
    // Propaganda/WatermarkDetail.
    QString watermarkPlatform;
    int watermarkStyle = 0;
    // search/xinfuli/info: the portal's data of the listing (see PortalRecords::portalInfoOf).
    QJsonObject portalInfo;
    // Wubapush/dataxiaoqu: 58's id of the community, used by the listing record.
    QString wubaCommunityId;
    // The status reply's housestatus; -1 before it arrived or when unreadable.
    int portalStatus = -1;
};
