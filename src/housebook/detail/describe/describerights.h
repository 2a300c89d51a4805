#pragma once
// What the signed-in user may do on the promotion tab of one listing. The joint-sale manager
// may do everything; the listing's own agent may edit its promotion; the rest follows the
// rights of the listing's department.
#include "sql/housemessage_datasqltable.h"

struct DescribeRights
{
    bool push = false;            // 62: the portal facts that go out with a push
    bool edit = false;            // 63: title, introduction, photos, panorama, tags
    bool evaluate = false;        // 64: add an evaluation
    bool removeEvaluation = false;  // 84

    static DescribeRights of(const HouseMessage_DataSqlTable::HouseMessageData &record);
};
