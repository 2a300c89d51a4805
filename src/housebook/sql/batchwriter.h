#pragma once
// Writes many rows with one prepared statement inside one transaction: a page of server
// records is stored whole or, when the commit fails, not at all. A row whose statement fails
// is skipped; the others go on.
#include <QList>
#include <QSqlQuery>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

namespace BatchWriter {

// Runs sql once per value list. When the connection is already inside a transaction (a caller
// groups several writes), the rows join it. beforeCommit receives the indexes of the rows
// that were written and runs inside the transaction, on the same connection. Returns the
// number of rows written, or -1 when the statement could not be prepared or committed.
int run(QSqlDatabase db, const QString &sql, const QList<QVariantList> &rows,
        const std::function<void(const QList<int> &written)> &beforeCommit = nullptr);

// While one lives on a thread, run() on that thread prepares each statement once per
// connection and reuses it for every later call with the same text: a sync writes hundreds
// of pages through the same few statements. Scopes nest; the innermost serves. It must go
// before the connections its statements were prepared on are removed.
class StatementCache
{
public:
    StatementCache();
    ~StatementCache();
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // The calling thread's innermost cache, or none.
    static StatementCache *current();
    // The statement prepared on db, or nullptr when it cannot be prepared.
    QSqlQuery *prepared(const QSqlDatabase &db, const QString &sql);
    // How many statements were prepared through this cache.
    int preparedCount() const { return m_prepared; }

private:
    struct Entry;
    QList<Entry *> m_entries;
    StatementCache *m_outer;
    int m_prepared = 0;
};

enum class ColumnType { Int, Float, Text };
// The kind of a declared column type: "int", "float", anything else text.
ColumnType columnType(const QString &declared);

// A value an int column can hold, as that int: a whole number within the int range (the
// records keep these columns as int), sent as a number, a boolean or a decimal text; nothing
// sent (missing, null, empty text) is 0. False for anything else: fractions, numbers beyond the
// range, infinities, words, objects and lists.
bool intValue(const QVariant &value, int *out);

// A value in the form of a column type: numbers as numbers (booleans as 0/1), texts as text
// with JSON objects and lists written compactly; a missing value is 0 or "". A value an int
// column cannot hold is written as 0 (the sync refuses such records before they get here).
QVariant typed(ColumnType type, const QVariant &value);
QVariant typed(const QString &declaredType, const QVariant &value);

// The normalised sync form "yyyy/MM/dd HH:mm:ss" of a real date and time.
bool isSyncTime(const QString &time);
// The latest of the written rows' times in the normalised sync form "yyyy/MM/dd HH:mm:ss"
// (the only form that compares chronologically as text); empty when none is in that form.
// A time more than a day after the present (BaseSqlObject's clock, local time) is left out
// with a warning: a mark there would make every later change look old, and the sync would
// never fetch it. The day allows for the server's clock running ahead of this machine's.
QString newestSyncTime(const QStringList &times, const QList<int> &written);

} // namespace BatchWriter
