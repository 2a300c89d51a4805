#pragma once
// What the signed-in user may do with one listing, decided once for every page that offers
// actions on it (the list's context menu, the detail window's menu and buttons): the
// joint-sale manager may do everything, the listing's owner may delete it and change its
// status, editing and assigning follow their rights within the listing's department.
#include "sql/housemessage_datasqltable.h"

#include <QStringList>

struct ListingRights
{
    bool manager = false;
    bool lock = false;    // 108
    bool seal = false;    // 109
    bool top = false;     // 110
    bool remove = false;  // 36, or the listing is still pending
    bool status = false;  // 48 sale / 59 rent
    bool edit = false;    // 9 (public listing's facts), or the owner
    bool assign = false;  // 149 (collaboration staffing)

    // Asks the user store about the listing's department.
    static ListingRights of(const HouseMessage_DataSqlTable::HouseMessageData &record, bool isJointSale);
    // The operation names the detail window looks up: "编辑", "状态", "录入人".
    QStringList operations() const;
};
