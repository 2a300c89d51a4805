#pragma once
// The form the alliance's two hand-over requests take (app/LianmaiHouseFenpei for the entering
// agent, fd/LianmaiChangeWeihuren for the maintainer): the present holder's company and user,
// the listing, and the new holder's company and user. Holder and person objects come from
// several servers and name their ids differently; the first key holding a number wins.
#include "sql/housemessage_datasqltable.h"

#include <QVariantMap>

#include <initializer_list>

namespace AllianceAssignForm {

// A whole number above 0 held as a number or as its text; 0 for anything else.
int positiveNumber(const QVariant &value);
// The first of the given keys of an entry that holds a number above 0; 0 when none does.
int firstNumber(const QVariantMap &entry, std::initializer_list<const char *> keys);

// The company of a role's present holder: its own company id, else the listing's publishing
// company, else the listing's company.
int holderCompanyId(const HouseMessage_DataSqlTable::HouseMessageData &record,
                    const HouseMessage_DataSqlTable::XieZuoItemData &holder);
// The user id of a role's present holder; 0 when the role has none.
int holderUserId(const HouseMessage_DataSqlTable::XieZuoItemData &holder);

// The whole form without lianmai. presentUserId: the present holder's user id when the caller
// knows it better than the holder object (0: taken from the holder).
QVariantMap of(const HouseMessage_DataSqlTable::HouseMessageData &record,
               const HouseMessage_DataSqlTable::XieZuoItemData &holder, const QVariantMap &person,
               int presentUserId = 0);

} // namespace AllianceAssignForm
