#pragma once
// The seven collaboration roles of a listing and how a holder of each is shown: the caption
// with the holder's name ("录入人：%1", "（待审核）" while the role awaits review, "待录入"
// when nobody holds it) and the icon (assigned, pending or nobody; "_my" when the holder is
// the signed-in user; the commission role of a verified listing has icons of its own).
#include "sql/housemessage_datasqltable.h"

#include <QString>

namespace XieZuoRoles {

using Holder = HouseMessage_DataSqlTable::XieZuoItemData;

// In the order the roles are shown.
enum Role { LuRuRen, WeiHuRen, WeiTuoRen, ShiKanRen, YaoShiRen, DuJiaRen, ChengJiaoRen, RoleCount };

// The record field of a role ("lururen", ...).
QString field(int role);
bool isAssigned(const Holder &holder);
bool isMine(const Holder &holder);
QString text(int role, const Holder &holder);
// verified: the listing carries a verification code (heyan).
QString icon(int role, const Holder &holder, bool verified);
// The holders of a record, in Role order.
QList<Holder> holdersOf(const HouseMessage_DataSqlTable::HouseMessageData &record);

} // namespace XieZuoRoles
