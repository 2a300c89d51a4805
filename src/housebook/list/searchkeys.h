#pragma once
// The search vocabulary shared by every book's search bar: which search key(s) an item id
// fills, and how the collected item values {id, content} become the condition map that the
// house store reads (HouseQuery::conditions).
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace SearchKeys {

// How an item's content is spread over its keys.
enum class Shape {
    Single,     // the whole content under one key
    Range,      // "low,high" under <key>_up and <key>_down
    ThreeParts, // "a,b,c" under three keys in order (building/unit/room, room/hall/bathroom)
    AreaTree    // district choices, or a district-and-area tree (JSON) under district and area
};

// The keys of an item id (empty for an unknown id). A range id gives its two keys.
QStringList keysOf(int id);
Shape shapeOf(int id);

// Puts one item's content into the map under its key(s). Range and three-part contents are
// split at "," keeping empty parts; texts are passed on untouched (the store escapes them).
void addItemValue(QVariantMap &map, int id, const QString &content);
// The condition map of the collected values, in their order (a later value of the same key
// replaces an earlier one).
QVariantMap searchMap(const QList<QVariantMap> &collected);

} // namespace SearchKeys
