// Unpacks zip archives for the host: everything is read and checked inside a temporary
// folder first, and only a fully good archive touches the destination.
#include "qx_zip.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPair>
#include <QTemporaryDir>
#include <QVector>

#include <exception>

namespace {

struct Entry
{
    QString path; // relative to the destination, '/'-separated, never empty for files
    bool isDir = false;
};

// The stored name as a path below the destination, or false when it would reach outside
// it: absolute names, drive letters (and any ':' - NTFS streams too), "..". Backslashes
// count as separators, as some Windows tools store them.
bool relativePath(const QString &stored, QString *out)
{
    QString name = stored;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
        return false;
    QStringList parts;
    const QStringList split = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : split) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return false;
        parts << part;
    }
    *out = parts.join(QLatin1Char('/'));
    return true;
}

// Lists every entry, refusing the archive as a whole when one of them is unsafe or unreadable.
bool listEntries(QuaZip &zip, QVector<Entry> *entries)
{
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info) || info.isEncrypted())
            return false;
        Entry entry;
        entry.isDir = info.name.endsWith(QLatin1Char('/')) || info.name.endsWith(QLatin1Char('\\'));
        if (!relativePath(info.name, &entry.path))
            return false;
        if (entry.path.isEmpty() && !entry.isDir)
            return false;
        entries->append(entry);
    }
    return zip.getZipError() == UNZ_OK;
}

// Copies the current entry to target. The size and the CRC (checked by QuaZip on close once
// the whole entry was read) catch damaged data. Symbolic-link entries come out as plain
// files holding the link text, so nothing can point outside the destination.
bool extractCurrent(QuaZip &zip, const QString &target)
{
    QuaZipFileInfo64 info;
    if (!zip.getCurrentFileInfo(&info))
        return false;
    QuaZipFile in(&zip);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QFile out(target);
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    quint64 total = 0;
    char buffer[64 * 1024];
    while (ok) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        ok = out.write(buffer, n) == n;
        total += quint64(n);
    }
    in.close();
    ok = ok && in.getZipError() == UNZ_OK && total == info.uncompressedSize;
    ok = ok && out.flush();
    out.close();
    return ok && out.error() == QFileDevice::NoError;
}

// Unpacks every entry below root, in archive order.
bool extractAll(QuaZip &zip, const QVector<Entry> &entries, const QString &root)
{
    const QDir dir(root);
    int index = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile(), ++index) {
        if (index >= entries.size())
            return false;
        const Entry &entry = entries.at(index);
        if (entry.isDir) {
            if (!dir.mkpath(entry.path.isEmpty() ? QStringLiteral(".") : entry.path))
                return false;
            continue;
        }
        const QString target = dir.filePath(entry.path);
        if (!dir.mkpath(QFileInfo(target).path()) || !extractCurrent(zip, target))
            return false;
    }
    return zip.getZipError() == UNZ_OK && index == entries.size();
}

// True when path, or its nearest existing ancestor, resolves inside canonicalRoot - an
// existing symbolic link in the destination must not carry files elsewhere.
bool staysInside(const QString &canonicalRoot, const QString &path)
{
    QFileInfo info(path);
    while (!info.exists()) {
        const QString parent = info.path();
        if (parent == info.filePath())
            return false;
        info.setFile(parent);
    }
    const QString canonical = info.canonicalFilePath();
    return canonical == canonicalRoot || canonical.startsWith(canonicalRoot + QLatin1Char('/'));
}

// Moves the unpacked tree from staging into dest, replacing files of the same names. Every
// clash (a file where a folder must go or the reverse, a path leaving dest) is found before
// anything moves.
bool moveIntoPlace(const QString &staging, const QString &dest)
{
    const QDir stagingDir(staging);
    const QDir destDir(dest);
    const QString canonicalDest = QFileInfo(dest).canonicalFilePath();
    if (canonicalDest.isEmpty())
        return false;

    QVector<QPair<QString, bool>> plan; // relative path, is a folder
    QDirIterator it(staging, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo source = it.fileInfo();
        const QString relative = stagingDir.relativeFilePath(source.filePath());
        const QFileInfo target(destDir.filePath(relative));
        if (!staysInside(canonicalDest, target.path()))
            return false;
        if (source.isDir() ? (target.exists() && !target.isDir()) : (target.isDir() && !target.isSymLink()))
            return false;
        plan.append(qMakePair(relative, source.isDir()));
    }

    for (const auto &step : qAsConst(plan)) {
        const QString target = destDir.filePath(step.first);
        if (step.second) {
            if (!destDir.mkpath(step.first))
                return false;
            continue;
        }
        if (!destDir.mkpath(QFileInfo(target).path()))
            return false;
        if (QFileInfo(target).isSymLink() || QFileInfo::exists(target)) {
            if (!QFile::remove(target))
                return false;
        }
        if (!QFile::rename(stagingDir.filePath(step.first), target))
            return false;
    }
    return true;
}

bool unpack(const QString &archivePath, const QString &requestedDest)
{
    if (archivePath.isEmpty())
        return false;
    const QString dest = QDir::cleanPath(QFileInfo(requestedDest.isEmpty() ? QFileInfo(archivePath).absolutePath()
                                                                            : requestedDest)
                                             .absoluteFilePath());

    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    QVector<Entry> entries;
    if (!listEntries(zip, &entries)) {
        zip.close();
        return false;
    }

    // Only a readable archive gets its destination created; a failure later removes it again
    // when it was created here and is still empty.
    const bool destExisted = QFileInfo(dest).isDir();
    if (!destExisted && !QDir().mkpath(dest)) {
        zip.close();
        return false;
    }
    bool ok = false;
    {
        QTemporaryDir staging(QDir(dest).filePath(QStringLiteral(".qx_zip-XXXXXX")));
        ok = staging.isValid() && extractAll(zip, entries, staging.path());
        // Closed before moving: some systems keep open files from being replaced.
        zip.close();
        ok = ok && moveIntoPlace(staging.path(), dest);
    } // the staging folder goes, with whatever a failure left in it
    if (!ok && !destExisted)
        QDir().rmdir(dest);
    return ok;
}

} // namespace

extern "C" QX_ZIP_EXPORT void jieYaFile(QString archivePath, QString destDir, JieYaCallback callback, void *context)
{
    bool ok = false;
    // Nothing may escape into the host's C caller; the callback must come in any case.
    try {
        ok = unpack(archivePath, destDir);
    } catch (const std::exception &) {
        ok = false;
    } catch (...) {
        ok = false;
    }
    if (callback)
        callback(ok, context);
}
