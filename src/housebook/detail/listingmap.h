#pragma once
// The residence map of a listing's community, opened in the web view library: the address
// "map/residence.html?lng=…&lat=…" from the community's coordinates, titled
// "district-area-community-address" (the listing's own values where the community lacks them).
#include "sql/housemessage_datasqltable.h"

#include <QString>

class QWidget;

namespace ListingMap {

QString url(const HouseMessage_DataSqlTable::HouseMessageData &record);
QString title(const HouseMessage_DataSqlTable::HouseMessageData &record);
// Opens the page over window; without the web view library nothing happens.
void open(QWidget *window, const HouseMessage_DataSqlTable::HouseMessageData &record);

} // namespace ListingMap
