// The unpack library as the plug-in uses it: loaded by the host's file name, one call, one
// callback. Archives are made here with QuaZip.
#include "alertrecorder.h"
#include "platform/siblinglibrary.h"
#include "hostfixture.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

typedef void (*JieYaCallback)(bool success, void *context);
typedef void (*JieYaFile)(QString archivePath, QString destDir, JieYaCallback callback, void *context);

const QString kDbName = QStringLiteral("cp-c-0123456789abcdefv2.0.db");
const QString kNestedName = QStringLiteral("nested/deeper/readme.txt");

struct Outcome
{
    int calls = 0;
    bool success = false;
};

void record(bool success, void *context)
{
    auto *outcome = static_cast<Outcome *>(context);
    ++outcome->calls;
    outcome->success = success;
}

struct ZipEntry
{
    QString name; // ends with '/' for a folder
    QByteArray data;
};

bool writeZip(const QString &path, const QVector<ZipEntry> &entries, int level = Z_DEFAULT_COMPRESSION)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const ZipEntry &entry : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.name), nullptr, 0, Z_DEFLATED, level))
            return false;
        if (file.write(entry.data) != entry.data.size())
            return false;
        file.close();
        if (file.getZipError() != ZIP_OK)
            return false;
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

QStringList storedNames(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return {};
    return zip.getFileNameList();
}

// Several chunks' worth of bytes of every value, zeros included, like a real database.
QByteArray dbBytes()
{
    QByteArray bytes(300 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(20240305);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(generator.bounded(256));
    bytes.replace(0, 16, "SQLite format 3\0", 16);
    return bytes;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Every path below dir, relative and sorted, hidden ones included - leftovers show up here.
QStringList tree(const QString &dir)
{
    QStringList paths;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(dir).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

} // namespace

class TestQxZip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void unpacksWholeArchive();
    void emptyDestinationMeansArchiveFolder();
    void damagedArchiveChangesNothing_data();
    void damagedArchiveChangesNothing();
    void refusesNamesLeavingDestination_data();
    void refusesNamesLeavingDestination();
#if defined(Q_OS_UNIX)
    void doesNotFollowLinksOutOfDestination();
#endif

private:
    Outcome unpack(const QString &archive, const QString &dest);

    JieYaFile m_jieYaFile = nullptr;
};

void TestQxZip::initTestCase()
{
    HostFixture host;
    AlertRecorder recorder;
    m_jieYaFile = SiblingLibrary::resolveAs<JieYaFile>(QStringLiteral("qx_zip.dll"), "jieYaFile");
    QVERIFY2(m_jieYaFile, qPrintable(SiblingLibrary::filePath(QStringLiteral("qx_zip.dll"))));
    QCOMPARE(AlertRecorder::liveBoxes(), 0);
}

Outcome TestQxZip::unpack(const QString &archive, const QString &dest)
{
    Outcome outcome;
    m_jieYaFile(archive, dest, &record, &outcome);
    return outcome;
}

void TestQxZip::unpacksWholeArchive()
{
    QTemporaryDir tmp;
    const QString archive = tmp.filePath(QStringLiteral("snapshot.zip"));
    const QByteArray db = dbBytes();
    const QByteArray nested("floor plan notes\n");
    QVERIFY(writeZip(archive, {{kDbName, db},
                               {QStringLiteral("emptydir/"), {}},
                               {kNestedName, nested}}));
    const QString dest = tmp.filePath(QStringLiteral("dest"));
    QVERIFY(QDir().mkpath(dest));

    Outcome outcome = unpack(archive, dest);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QCOMPARE(readAll(QDir(dest).filePath(kDbName)), db);
    QCOMPARE(readAll(QDir(dest).filePath(kNestedName)), nested);
    QCOMPARE(tree(dest), QStringList({QStringLiteral("cp-c-0123456789abcdefv2.0.db"), QStringLiteral("emptydir"),
                                      QStringLiteral("nested"), QStringLiteral("nested/deeper"), kNestedName}));

    // Unpacking again over the same files replaces them; no callback is fine.
    QVERIFY(writeFile(QDir(dest).filePath(kDbName), "stale"));
    m_jieYaFile(archive, dest, nullptr, nullptr);
    QCOMPARE(readAll(QDir(dest).filePath(kDbName)), db);

    // A destination that does not exist yet is created.
    const QString fresh = tmp.filePath(QStringLiteral("fresh/inner"));
    outcome = unpack(archive, fresh);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QCOMPARE(readAll(QDir(fresh).filePath(kDbName)), db);
}

void TestQxZip::emptyDestinationMeansArchiveFolder()
{
    // The plug-in downloads "<name>.zip" beside "<name>.db" and passes no destination.
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("company"));
    const QString archive = QDir(folder).filePath(QStringLiteral("cp-c-0123456789abcdefv2.0.zip"));
    const QByteArray db = dbBytes();
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeZip(archive, {{kDbName, db}}));
    QVERIFY(writeFile(QDir(folder).filePath(kDbName), "previous snapshot"));

    const Outcome outcome = unpack(archive, QString());
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QCOMPARE(readAll(QDir(folder).filePath(kDbName)), db);
    QCOMPARE(tree(folder), QStringList({QStringLiteral("cp-c-0123456789abcdefv2.0.db"),
                                        QStringLiteral("cp-c-0123456789abcdefv2.0.zip")}));
}

void TestQxZip::damagedArchiveChangesNothing_data()
{
    QTest::addColumn<QByteArray>("archiveBytes"); // null: no archive file at all
    QTest::addColumn<bool>("besideArchive");      // empty destination, archive in the target folder

    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("good.zip"));
    // Stored at level 0 so the payload is found verbatim and can be damaged in place. A
    // good entry comes first: it must not survive the failure of the second.
    const QByteArray db = dbBytes();
    QVERIFY(writeZip(path, {{QStringLiteral("first.txt"), "intact"}, {kNestedName, "intact too"}, {kDbName, db}}, 0));
    const QByteArray good = readAll(path);

    QByteArray corrupted = good;
    const int payload = corrupted.indexOf(db.mid(150 * 1024, 64));
    QVERIFY(payload > 0);
    corrupted[payload] = char(corrupted.at(payload) ^ 0x5a);

    QByteArray noise(4096, Qt::Uninitialized);
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char(QRandomGenerator::global()->bounded(256));

    QTest::newRow("truncated") << good.left(good.size() / 2) << false;
    QTest::newRow("truncated, beside archive") << good.left(good.size() / 2) << true;
    QTest::newRow("central directory cut") << good.left(good.size() - 30) << false;
    QTest::newRow("damaged entry data") << corrupted << false;
    QTest::newRow("damaged entry data, beside archive") << corrupted << true;
    QTest::newRow("random bytes") << noise << false;
    QTest::newRow("empty file") << QByteArray("") << false;
    QTest::newRow("missing file") << QByteArray() << false;
}

void TestQxZip::damagedArchiveChangesNothing()
{
    QFETCH(QByteArray, archiveBytes);
    QFETCH(bool, besideArchive);

    QTemporaryDir tmp;
    const QString dest = tmp.filePath(QStringLiteral("dest"));
    const QString archive = (besideArchive ? dest : tmp.path()) + QStringLiteral("/snapshot.zip");
    QVERIFY(writeFile(QDir(dest).filePath(kDbName), "previous snapshot"));
    if (!archiveBytes.isNull())
        QVERIFY(writeFile(archive, archiveBytes));
    const QStringList before = tree(dest);

    Outcome outcome = unpack(archive, besideArchive ? QString() : dest);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(!outcome.success);
    QCOMPARE(tree(dest), before);
    QCOMPARE(readAll(QDir(dest).filePath(kDbName)), QByteArray("previous snapshot"));

    // A destination that did not exist is not left behind either.
    const QString fresh = tmp.filePath(QStringLiteral("fresh"));
    outcome = unpack(archive, fresh);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(!outcome.success);
    QVERIFY(!QFileInfo::exists(fresh));
}

void TestQxZip::refusesNamesLeavingDestination_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << QStringLiteral("../evil.txt");
    QTest::newRow("parent after a folder") << QStringLiteral("nested/../../evil.txt");
    QTest::newRow("parent, backslashes") << QStringLiteral("..\\evil.txt");
    QTest::newRow("absolute") << QStringLiteral("/tmp/evil.txt");
    QTest::newRow("drive letter") << QStringLiteral("C:/evil.txt");
    QTest::newRow("drive-relative") << QStringLiteral("C:evil.txt");
}

void TestQxZip::refusesNamesLeavingDestination()
{
    QFETCH(QString, name);
    QTemporaryDir tmp;
    const QString archive = tmp.filePath(QStringLiteral("evil.zip"));
    // The harmless entry comes first: the whole archive is refused, not just the bad name.
    QVERIFY(writeZip(archive, {{QStringLiteral("good.txt"), "fine"}, {name, "gotcha"}}));
    QVERIFY(storedNames(archive).contains(name)); // stored as given, not cleaned by the writer
    const QString dest = tmp.filePath(QStringLiteral("a/b/dest"));
    QVERIFY(QDir().mkpath(dest));

    const Outcome outcome = unpack(archive, dest);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(!outcome.success);
    QCOMPARE(tree(dest), QStringList());
    QCOMPARE(tree(tmp.path()), QStringList({QStringLiteral("a"), QStringLiteral("a/b"), QStringLiteral("a/b/dest"),
                                            QStringLiteral("evil.zip")}));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/evil.txt")));
}

#if defined(Q_OS_UNIX)
void TestQxZip::doesNotFollowLinksOutOfDestination()
{
    QTemporaryDir tmp;
    const QString outside = tmp.filePath(QStringLiteral("outside"));
    const QString dest = tmp.filePath(QStringLiteral("dest"));
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(QDir().mkpath(dest));
    QVERIFY(QFile::link(outside, QDir(dest).filePath(QStringLiteral("link"))));
    const QString archive = tmp.filePath(QStringLiteral("link.zip"));
    QVERIFY(writeZip(archive, {{QStringLiteral("good.txt"), "fine"}, {QStringLiteral("link/evil.txt"), "gotcha"}}));

    const Outcome outcome = unpack(archive, dest);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(!outcome.success);
    QCOMPARE(tree(outside), QStringList());
    QCOMPARE(tree(dest), QStringList({QStringLiteral("link")}));
}
#endif

QTEST_MAIN(TestQxZip)
#include "tst_qxzip.moc"
