// The snapshot check: only a whole SQLite database with a listing table may replace the
// company database, whether it came as a file of its own or unpacked from an archive.
#include "sql/snapshotfile.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs statements on a database file of its own connection, closed afterwards.
bool run(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("tst_snapshotfile");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QStringList listings()
{
    QStringList statements{QStringLiteral("create table house(id int unique, types int, name varchar)"),
                           QStringLiteral("create index house_kind on house(types)")};
    for (int id = 1; id <= 40; ++id)
        statements << QStringLiteral("insert into house values(%1, %2, 'n%1')").arg(id).arg(id % 3);
    return statements;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSnapshotFile : public QObject
{
    Q_OBJECT

private slots:
    void checksDownloadedFile_data();
    void checksDownloadedFile();
    void findsDatabaseInUnpackedFolder_data();
    void findsDatabaseInUnpackedFolder();
    void moveReplacesDatabaseAndDropsItsJournal();
};

void TestSnapshotFile::checksDownloadedFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("whole database with listings") << "whole" << true;
    QTest::newRow("database without listing table") << "no listings" << false;
    QTest::newRow("text that is no database") << "text" << false;
    QTest::newRow("truncated database") << "truncated" << false;
    // An index listing other rows than its table holds passes SQLite's quick check.
    QTest::newRow("index not matching its table") << "index mismatch" << false;
}

void TestSnapshotFile::checksDownloadedFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1001.db"));
    if (kind == QLatin1String("text")) {
        writeFile(path, "SQLite format 3 is what this file only says");
    } else if (kind == QLatin1String("no listings")) {
        QVERIFY(run(path, {QStringLiteral("create table community(id int)")}));
    } else {
        QVERIFY(run(path, listings()));
        if (kind == QLatin1String("truncated"))
            QVERIFY(QFile(path).resize(QFileInfo(path).size() / 2));
        if (kind == QLatin1String("index mismatch"))
            QVERIFY(run(path, {QStringLiteral("pragma writable_schema=ON"),
                               QStringLiteral("update sqlite_master set sql='create index house_kind on house(id)' "
                                              "where name='house_kind'")}));
    }
    QCOMPARE(SnapshotFile::checked(path, QString(), QStringLiteral("1001.db")), accepted ? path : QString());
}

void TestSnapshotFile::findsDatabaseInUnpackedFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");
    QTest::newRow("named like the company database") << QStringList{"a/0.db", "b/1001.db"} << "b/1001.db";
    QTest::newRow("first database otherwise") << QStringList{"b/9.db", "a/8.db"} << "a/8.db";
    QTest::newRow("no database") << QStringList{"readme.txt"} << QString();
}

void TestSnapshotFile::findsDatabaseInUnpackedFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    for (const QString &file : files) {
        const QString path = dir.filePath(file.section(QLatin1Char(':'), 0, 0));
        QDir().mkpath(QFileInfo(path).path());
        if (file.endsWith(QLatin1String(":broken")) || !file.endsWith(QLatin1String(".db")))
            writeFile(path, "not a database");
        else
            QVERIFY(run(path, listings()));
    }
    const QString found = SnapshotFile::checked(dir.filePath(QStringLiteral("download.zip")), dir.path(),
                                                QStringLiteral("1001.db"));
    QCOMPARE(found, expected.isEmpty() ? QString() : dir.filePath(expected));
}

void TestSnapshotFile::moveReplacesDatabaseAndDropsItsJournal()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("1001.db"));
    const QString candidate = dir.filePath(QStringLiteral("snapshot/1001.db"));
    writeFile(target, "old");
    writeFile(target + QStringLiteral("-journal"), "old journal");
    writeFile(candidate, "new");
    QVERIFY(SnapshotFile::moveIntoPlace(candidate, target));
    QCOMPARE(readFile(target), QByteArray("new"));
    QVERIFY(!QFile::exists(target + QStringLiteral("-journal")));
    QVERIFY(!QFile::exists(candidate));
}

QTEST_GUILESS_MAIN(TestSnapshotFile)
#include "tst_snapshotfile.moc"
