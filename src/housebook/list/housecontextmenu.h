#pragma once
// The right-click menu of a listing row: which entries the user gets (by rights, the
// joint-sale manager role and the listing's flags), their texts, and the menu built from them.
#include "sql/housemessage_datasqltable.h"
#include "sql/listingrights.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

namespace HouseContextMenu {

using Record = HouseMessage_DataSqlTable::HouseMessageData;

enum EntryKind { FlagEntry, DeleteEntry, StatusEntry };

struct Entry
{
    EntryKind kind = FlagEntry;
    QString text;
    int flagType = 0;   // FlagEntry: HouseBookCodes::FlagType
    int flagState = 0;  // FlagEntry: 1 sets the flag, 0 cancels it
};

// What the user may do with one listing (one rule for the menu and the detail window).
using Rights = ListingRights;

// "置顶" or "取消置顶" and so on, by the listing's current flag.
Entry flagEntry(const Record &record, int flagType);
// The entries offered, each at most once, in the order they are decided.
QList<Entry> entriesFor(const Record &record, const Rights &rights);
// The status names of the submenu: the four company classes, then the fixed ones.
QStringList statusNames(bool sale, bool isJointSale);

QString styleSheet();
QString currentStatusIcon();

struct Handlers
{
    std::function<void(int type, int state)> flag;
    std::function<void()> remove;
    std::function<void(const QString &status)> status;
};

// Replaces the menu's actions with the entries; the status entry becomes the submenu
// "修改状态" holding statuses (each shown after two blanks, the current one marked).
void fill(QMenu *menu, const QList<Entry> &entries, const QStringList &statuses, const QString &currentStatus,
          const Handlers &handlers);

} // namespace HouseContextMenu
