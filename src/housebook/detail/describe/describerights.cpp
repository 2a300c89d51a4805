#include "detail/describe/describerights.h"

#include "datacenter.h"
#include "platform/housebookcodes.h"
#include "sql/usermessage_datasqltable.h"

DescribeRights DescribeRights::of(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    DescribeRights r;
    const bool manager = DataCenter::isJointSaleManger;
    const bool owner = !record.userphone.isEmpty() && record.userphone == DataCenter::UserPhoneNumber;
    UserMessage_DataSqlTable user(nullptr, HouseBookCodes::kJointSale);
    const auto holds = [&](int right) { return manager || user.isHaveAuthority(right, QString(), record.deptid); };
    r.push = owner || holds(62);
    r.edit = owner || holds(63);
    r.evaluate = holds(64);
    r.removeEvaluation = holds(84);
    return r;
}
