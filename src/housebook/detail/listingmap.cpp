#include "detail/listingmap.h"

#include "net/endpoints.h"
#include "platform/housebookcodes.h"
#include "platform/siblinglibrary.h"
#include "sql/communitymessage_datasqltable.h"

namespace ListingMap {

namespace {

CommunityMessage_DataSqlTable::ListData communityOf(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    return CommunityMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).getCommunityData(record.mycommunityid);
}

} // namespace

QString url(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    const CommunityMessage_DataSqlTable::ListData community = communityOf(record);
    return QStringLiteral("%1?lng=%2&lat=%3").arg(Endpoints::instance().map_residence_html, community.lng, community.lat);
}

QString title(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    const CommunityMessage_DataSqlTable::ListData community = communityOf(record);
    return QStringLiteral("%1-%2-%3-%4")
        .arg(community.districtname.isEmpty() ? record.district : community.districtname,
             community.areaname.isEmpty() ? record.area : community.areaname,
             community.name.isEmpty() ? record.name : community.name,
             community.address.isEmpty() ? record.address : community.address);
}

void open(QWidget *window, const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    using LoadUrl = void (*)(QWidget *, const QString &, const QString &, int, int);
    if (auto loadUrl = SiblingLibrary::resolveAs<LoadUrl>(QStringLiteral("qx_cefview.dll"), "loadUrl"))
        loadUrl(window, url(record), title(record), 900, 650);
}

} // namespace ListingMap
