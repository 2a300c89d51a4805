#include "sql/listingrights.h"

#include "datacenter.h"
#include "platform/housebookcodes.h"
#include "sql/usermessage_datasqltable.h"

namespace {

bool isOwner(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    return !record.userphone.isEmpty() && record.userphone == DataCenter::UserPhoneNumber;
}

} // namespace

ListingRights ListingRights::of(const HouseMessage_DataSqlTable::HouseMessageData &record, bool isJointSale)
{
    ListingRights r;
    r.manager = DataCenter::isJointSaleManger;
    UserMessage_DataSqlTable user(nullptr, isJointSale);
    const auto holds = [&](int right) { return user.isHaveAuthority(right, QString(), record.deptid); };
    const bool owner = isOwner(record);
    r.lock = holds(108);
    r.seal = holds(109);
    r.top = holds(110);
    r.remove = record.housestatus == 0 || owner || holds(36);
    r.status = owner || holds(HouseBookCodes::isRentListing(record.types) ? 59 : 48);
    r.edit = owner || holds(9);
    r.assign = holds(149);
    return r;
}

QStringList ListingRights::operations() const
{
    QStringList names;
    if (manager || edit)
        names << QStringLiteral("编辑");
    if (manager || status)
        names << QStringLiteral("状态");
    if (manager || assign)
        names << QStringLiteral("录入人");
    return names;
}
