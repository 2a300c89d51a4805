#pragma once
// The listing counts the list pages have seen, by count statement (the statement holds the
// book, the scope, the rights and the filters) and database file, so that reopening a book or
// turning back to a query already counted shows its total at once.
//
// A count is never older than the table: each entry keeps the data version of the company
// database taken before its count was asked for, read through a connection of the cache's own
// that never writes, so any commit of another connection (a sync page written on any thread, a
// local change, a snapshot taking the file's place) makes the entry stale. The store's change
// announcement (CommonSignalTool::localHouseChange) empties the cache as well.
// GUI thread only.
#include <QHash>
#include <QObject>
#include <QString>

class HouseCountCache : public QObject
{
    Q_OBJECT
public:
    static HouseCountCache *instance();

    // What a lookup needs to be answered and, on a miss, what the count stores back.
    struct Ticket
    {
        QString key;
        qint64 version = -1;  // -1: the database could not be read; nothing is cached then
    };
    // The ticket of a statement on a book's company database, as it stands now.
    Ticket ticket(const QString &statement, bool isJointSale);
    // The count of a ticket when one was stored for the same data version; -1 otherwise.
    int lookup(const Ticket &ticket) const;
    void store(const Ticket &ticket, int count);
    void clear();
    int size() const { return m_counts.size(); }

private:
    explicit HouseCountCache(QObject *parent = nullptr);
    qint64 dataVersion(bool isJointSale, const QString &path);

    struct Entry
    {
        qint64 version;
        int count;
    };
    QHash<QString, Entry> m_counts;
    // Each book's probe connection and the file it was opened on; a new file or a connection
    // that was closed in between (the idle pruning, a snapshot swap) starts from an empty cache.
    QHash<bool, QString> m_probedPath;
};
