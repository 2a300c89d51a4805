#pragma once
// The listing sync's side of a server reply: records made ready for the stores (ids as
// numbers, times in the stored form), the deleted ids, whether another page follows, and the
// writing of a whole page as one transaction of the company database.
//
// Nothing here trusts the reply: objects without a usable id, or with a value an int column
// cannot hold, are refused (counted and logged), ids that are not numbers are ignored, times that do not read as the server's format are kept as they came
// (the store never lets such a time move a sync mark), and a page whose lists are not lists
// is refused as a whole.
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

namespace SyncRecords {

// The server's "yyyy/M/d H:mm:ss" (the stored form reads the same way) as the stored
// "yyyy/MM/dd HH:mm:ss"; anything else, impossible dates included, comes back unchanged.
QString normalisedTime(const QString &text);
// Follow-up times: "yyyy/M/d H:mm" as "yyyy/MM/dd HH:mm"; anything else unchanged.
QString normalisedFollowTime(const QString &text);

// A listing or community id: a whole number from 1 to the largest int (the id column's
// range), sent as a number or as its decimal text; 0 when the value is anything else.
qint64 recordId(const QJsonValue &value);

// A server object ready for the store: id as a number, times normalised, other keys as they
// came (the store picks its own columns). Empty when the object has no usable id, or when one
// of its int columns holds anything but a whole number within the int range: such a value
// could only be guessed, and a guessed city, company, department, privacy or deletion flag
// could show the listing to users outside its scope. A refused record is fetched again when
// it next changes.
QVariantMap houseRecord(const QJsonObject &object);
QVariantMap communityRecord(const QJsonObject &object);

// Ids to delete, sent as "1,,1,x", as a JSON list or as one number: the numeric ones, each
// once, in the order first seen.
QStringList uniqueIds(const QJsonValue &value);

// `nextpage` as true, 1, "true" or "1"; anything else, a missing key included, ends the paging.
bool hasNextPage(const QJsonValue &value);

// One page of the listing sync, read from the reply object.
struct Page
{
    QList<QVariantMap> houses;
    QList<QVariantMap> communities;
    QStringList houseIds;  // of the records above, as decimal text
    QStringList communityIds;
    QStringList houseDels;
    QStringList communityDels;
    int refusedHouses = 0;  // entries of housebook that are not storable records
    int refusedCommunities = 0;
    bool isLast = true;      // nextpage false or missing, or both lists empty
    bool malformed = false;  // housebook or community present but not a list
};
// Reads a reply; refused entries are counted in the page and logged as a warning.
Page readPage(const QJsonObject &reply);

// What the sync must know of a reply before it is read: whether another page follows and
// whether the reply can be read at all. Costs no copy of the records.
struct PageShape
{
    bool isLast = true;
    bool malformed = false;
};
PageShape pageShape(const QJsonObject &reply);

// Runs work inside one transaction on the calling thread's connection to the company
// database of a book; the table classes join it. Commits when work returns true, rolls back
// otherwise. False without a database, or when the connection is already inside a
// transaction that is not ours to commit.
bool inCompanyTransaction(bool isJointSale, const std::function<bool()> &work);

// The sync bookkeeping row of a book's company database, made when missing, with the
// initial marks where none is stored.
QVariantMap storedMarks(bool isJointSale);

// A page's deletions, records and the sync marks they move, all or nothing.
bool writePage(bool isJointSale, const Page &page);

// Partial updates (the column back-fill): each record with the columns it carries among
// known (id excepted), grouped so that records carrying the same columns share a statement.
// A column a record does not carry is left alone rather than blanked.
QList<QPair<QStringList, QList<QVariantMap>>> byColumns(const QList<QVariantMap> &records,
                                                      const QStringList &known);

// The back-fill of one reply: listing and community records, each updating only the columns
// it carries, in one transaction. False when nothing could be written.
bool writeColumns(bool isJointSale, const QList<QVariantMap> &houses, const QList<QVariantMap> &communities);

} // namespace SyncRecords
