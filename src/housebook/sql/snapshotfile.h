#pragma once
// The files of a database snapshot the server offers: what it is, whether it may replace the
// company database, and the replacing itself. A snapshot comes from outside and may be
// anything; only a whole SQLite database with listings gets in.
#include <QString>

namespace SnapshotFile {

// The file starts as a zip archive does.
bool startsAsZip(const QString &path);

// The database a downloaded snapshot brings: the download itself, or, when it was an archive,
// the database found in the folder it was unpacked into (the file named databaseName, else
// the first ".db"). Empty unless that is a whole SQLite database with a listing table.
QString checked(const QString &downloaded, const QString &unpackedFolder, const QString &databaseName);

// Renames the checked snapshot over the closed database; on failure the old file is put back.
bool moveIntoPlace(const QString &candidate, const QString &target);

} // namespace SnapshotFile
