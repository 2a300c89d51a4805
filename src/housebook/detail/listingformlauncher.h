#pragma once
// Opens the sale or rent entry form in its pop-up for what the agent is doing, and ends it
// as that calls for: a new listing offers to open its detail window, an edit confirms the
// change. "查看" on a duplicate opens the existing listing's detail window. After every save
// the local store fetches the changed listings so the book shows the change at once.
// Callers add their own endings (host notices, list refreshes) on addHouseSuccess.
#include "sql/housemessage_datasqltable.h"

#include <QString>

class CommonAddWidget;
class ListingEntryForm;
class QWidget;

namespace ListingFormLauncher {

enum class Purpose {
    NewListing, // empty form, "添加出售" / "添加出租"
    Publish,    // filled from the agency's own listing, remembers its source
    Edit,       // edit mode on a book listing
    Review      // review mode on a listing awaiting approval
};

// The pop-up title of a purpose and kind ("出售房源编辑", "发布出租房源至联卖系统", ...).
QString titleOf(Purpose purpose, bool rent);

// Builds the form, fills it for every purpose but NewListing and shows it; the pop-up is
// the form's window().
ListingEntryForm *open(QWidget *parent, Purpose purpose, bool rent,
                       const HouseMessage_DataSqlTable::HouseMessageData &record =
                           HouseMessage_DataSqlTable::HouseMessageData());

// The listing's detail window in its own pop-up.
void openDetail(QWidget *parent, int houseId);

} // namespace ListingFormLauncher
