#include "sql/snapshotfile.h"

#include "sql/basesqlobject.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace SnapshotFile {

namespace {

// The database in an unpacked snapshot: the file named like the company database, else the
// first ".db" file found.
QString findDatabase(const QString &folder, const QString &preferredName)
{
    QStringList found;
    QDirIterator it(folder, {QStringLiteral("*.db")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    found.sort();
    for (const QString &path : found) {
        if (QFileInfo(path).fileName() == preferredName)
            return path;
    }
    return found.value(0);
}

// The full check, not the quick one: an index whose entries do not match its table passes
// the quick check, and once in place it would answer searches wrongly and break later writes.
bool passesIntegrityCheck(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("pragma integrity_check")) && query.next()
           && query.value(0).toString() == QLatin1String("ok");
}

// A SQLite database, whole, with a listing table: the only thing allowed to replace the
// company database.
bool isUsableSnapshot(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(16) != QByteArray("SQLite format 3\0", 16))
        return false;
    file.close();
    const QString name = QStringLiteral("snapshot-check-%1").arg(reinterpret_cast<quintptr>(&file));
    bool usable = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        usable = db.open() && db.tables().contains(QStringLiteral("house")) && passesIntegrityCheck(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return usable;
}

} // namespace

bool startsAsZip(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == QByteArray("PK\x03\x04", 4);
}

QString checked(const QString &downloaded, const QString &unpackedFolder, const QString &databaseName)
{
    const QString candidate = unpackedFolder.isEmpty() ? downloaded : findDatabase(unpackedFolder, databaseName);
    return !candidate.isEmpty() && isUsableSnapshot(candidate) ? candidate : QString();
}

bool moveIntoPlace(const QString &candidate, const QString &target)
{
    const QString backup = target + BaseSqlObject::setAsideSuffix();
    QFile::remove(backup);
    const bool hadOld = QFile::exists(target);
    if (hadOld && !QFile::rename(target, backup))
        return false;
    if (!QFile::rename(candidate, target)) {
        if (hadOld)
            QFile::rename(backup, target);
        return false;
    }
    // Journals of the old file would be played into the new one on its next opening.
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(target + QLatin1String(suffix));
    QFile::remove(backup);
    return true;
}

} // namespace SnapshotFile
