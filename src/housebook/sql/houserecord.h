#pragma once
// The listing row in its three forms: the server object, the stored row (text columns
// scrambled) and the record pages use. Scrambling follows the column:
//   whole value   - most text columns;
//   item by item  - tags, peitao, traffic (comma lists, items joined with "qxwcp");
//   contacts      - a JSON list whose entries are scrambled one by one;
//   role holders  - lururen ... chengjiaoren keep their JSON, with name and phone scrambled;
//   none          - numbers, follows, followtime, createtime, lasttime (range conditions).
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace HouseRecord {

enum class Scramble { None, Whole, Items, Contacts, Roles };

Scramble scrambleKind(const QString &column);
// The seven role columns, from entry to deal.
const QStringList &roleColumns();
// The house columns in table order, and a quick membership test.
const QStringList &columnNames();
bool isColumn(const QString &name);
bool isTextColumn(const QString &name);

// The stored form of a clear value, and back. Values that were never scrambled read as they are.
QVariant toStored(const QString &column, const QVariant &value);
QVariant toClear(const QString &column, const QVariant &stored);
void unscrambleRow(QVariantMap &row);

// A server object ready for the table: the replenish object merged in, JSON members as text.
QVariantMap fromServer(const QVariantMap &object);
// The values of a prepared object for the given columns in the columns' stored types;
// missing values are 0 or "".
QVariantList storedValues(const QVariantMap &object, const QStringList &columns);
// The same for every column, in table order (one pass over the object's keys).
QVariantList storedRow(const QVariantMap &object);

// A building or unit number with its unit word ("4" + "栋" → "4栋"); texts that already end
// in a word of their own ("4号楼", "1单元", "A座") are kept as they are.
QString withUnitWord(const QString &number, const QString &storedWord, const QString &defaultWord);

// The entries of a stored contacts value: a JSON list of maps (or of bare numbers); any other
// non-empty text counts as one phone.
QList<QVariantMap> contactEntries(const QString &contacts);

// The phones of the holder(s) of a role column value (clear JSON text or map or list).
QStringList rolePhones(const QVariant &value);

HouseMessage_DataSqlTable::XieZuoItemData toXieZuo(const QVariant &value);
// Only the keys present in the (clear) row are copied.
HouseMessage_DataSqlTable::HouseMessageData toHouseData(const QVariantMap &row);

} // namespace HouseRecord
