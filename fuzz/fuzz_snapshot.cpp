// A downloaded snapshot, which may be anything but what it claims: a SQLite database, a zip
// archive holding one, or neither. Input: byte 0 bit 0 says the address named an archive, the
// rest is the file. An archive (named so, or starting as one) is unpacked by the unpack library
// as the sync does, then the snapshot check decides. Invariants: the library answers exactly
// once; it writes nothing outside its destination, and nothing at all when it fails; a
// snapshot the check accepts lies in what was downloaded or unpacked, passes SQLite's full
// integrity check and has a readable listing table.
#include "fuzzsupport.h"

#include "platform/siblinglibrary.h"
#include "sql/snapshotfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

using JieYaFile = void (*)(QString, QString, void (*)(bool, void *), void *);

struct Unpacked
{
    int answers = 0;
    bool ok = false;
};

void answered(bool ok, void *context)
{
    auto *unpacked = static_cast<Unpacked *>(context);
    ++unpacked->answers;
    unpacked->ok = ok;
}

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

void checkAccepted(const QString &database, const QString &detail)
{
    const QString name = QStringLiteral("fuzz-snapshot");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(database);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        FUZZ_CHECK(db.open(), detail);
        FUZZ_CHECK(FuzzSupport::integrity(name) == QLatin1String("ok"), detail + QLatin1Char('\n') + FuzzSupport::integrity(name));
        QSqlQuery query(db);
        FUZZ_CHECK(query.exec(QStringLiteral("select * from house")), detail);
        while (query.next()) {
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const auto jieYaFile =
        SiblingLibrary::resolveAs<JieYaFile>(QStringLiteral("qx_zip.dll"), "jieYaFile");
    if (!jieYaFile)
        FuzzSupport::fail("the unpack library loads", SiblingLibrary::filePath(QStringLiteral("qx_zip.dll")));
    FuzzSupport::Input input;
    if (!FuzzSupport::split(data, size, &input))
        return 0;
    const QByteArray &bytes = input.payload;
    const bool namedArchive = input.selector & 1;
    const QString detail = QStringLiteral("%1 bytes, named archive %2").arg(bytes.size()).arg(namedArchive);

    QTemporaryDir work(FuzzSupport::dataDir() + QStringLiteral("/snapshot-XXXXXX"));
    const QString downloaded = work.filePath(QStringLiteral("1001.db"));
    QFile file(downloaded);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        FuzzSupport::fail("the download is written", downloaded);
    file.close();

    QString folder;
    if (namedArchive || bytes.startsWith(QByteArray("PK\x03\x04", 4))) {
        folder = work.filePath(QStringLiteral("unpacked"));
        QDir().mkpath(folder);
        const QStringList around = filesBelow(work.path());
        Unpacked unpacked;
        jieYaFile(downloaded, folder, &answered, &unpacked);
        FUZZ_CHECK(unpacked.answers == 1, detail);
        QStringList aroundAfter = filesBelow(work.path());
        aroundAfter = aroundAfter.filter(QRegExp(QStringLiteral("^(?!") + QRegExp::escape(folder + QLatin1Char('/')) + QLatin1Char(')')));
        FUZZ_CHECK(aroundAfter == around, detail + QLatin1Char('\n') + aroundAfter.join(QLatin1Char('\n')));
        if (!unpacked.ok)
            FUZZ_CHECK(filesBelow(folder).isEmpty(), detail + QLatin1Char('\n') + filesBelow(folder).join(QLatin1Char('\n')));
    }

    const QString accepted = SnapshotFile::checked(downloaded, folder, QStringLiteral("1001.db"));
    if (!accepted.isEmpty()) {
        FUZZ_CHECK(folder.isEmpty() ? accepted == downloaded : accepted.startsWith(folder + QLatin1Char('/')),
                   detail + QLatin1Char('\n') + accepted);
        checkAccepted(accepted, detail);
    }
    return 0;
}
