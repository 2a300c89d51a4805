// A sync killed at any moment (SIGKILL: no destructor, no rollback by the process) leaves a
// database that opens, holds whole pages only, and whose marks match what it holds; the
// next sync completes the book to exactly what an uninterrupted sync stores. The same holds
// for a snapshot that replaces the database while the process dies.
//
// The number of kills per case is QX_CRASH_KILLS (default 5), their moments drawn from
// QX_CRASH_SEED (default 1); a long run sets QX_CRASH_KILLS=100.
#include "allianceserver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

constexpr int kPageSize = 100;

struct Run
{
    bool killed = false;
    int exitCode = -1;
    QString output;
};

// When to kill the child: after a time, or at the n-th poll (every millisecond) that finds
// the condition true, e.g. a rollback journal beside the database (a page transaction open).
struct KillAt
{
    int afterMs = -1;
    std::function<bool()> condition;
    int sightings = 1;
};

// Runs the sync child on a folder until it ends or the kill moment comes.
Run runChild(const QString &folder, const QString &server, const KillAt &at = KillAt(), bool snapshot = false)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{folder, server};
    if (snapshot)
        arguments << QStringLiteral("snapshot");
    child.start(QStringLiteral(HOUSEBOOK_BIN_DIR "/qx_syncchild"), arguments);
    Run run;
    if (!child.waitForStarted(30000))
        return run;
    const auto kill = [&child, &run] {
        if (child.state() == QProcess::Running) {
            run.killed = true;
            child.kill();
        }
    };
    if (at.afterMs >= 0)
        QTimer::singleShot(at.afterMs, &child, kill);
    QTimer poll;
    int seen = 0;
    if (at.condition) {
        QObject::connect(&poll, &QTimer::timeout, &child, [&] {
            if (at.condition() && ++seen >= at.sightings)
                kill();
        });
        poll.start(1);
    }
    QEventLoop loop;
    QObject::connect(&child, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop, &QEventLoop::quit);
    if (child.state() == QProcess::Running)
        loop.exec();
    poll.stop();
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.output = QString::fromUtf8(child.readAllStandardOutput());
    return run;
}

// What a company database holds, read through a connection of its own.
struct Book
{
    bool opened = false;
    QString integrity;
    QMap<qint64, QString> houses;      // id -> every column but the local ones
    QString houseMark;                 // the listing sync mark
    QDateTime newestHouse;             // newest lasttime among the stored listings
};

QDateTime serverTime(const QString &text)
{
    for (const char *format : {"yyyy/M/d H:mm:ss", "yyyy-MM-dd HH:mm:ss", "yyyy-M-d H:mm:ss"}) {
        const QDateTime t = QDateTime::fromString(text, QLatin1String(format));
        if (t.isValid())
            return t;
    }
    return QDateTime();
}

Book readBook(const QString &path)
{
    Book book;
    if (!QFile::exists(path))
        return book;
    const QString name = QStringLiteral("crash-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        book.opened = db.open();
        QSqlQuery q(db);
        if (book.opened && q.exec(QStringLiteral("pragma integrity_check")) && q.next())
            book.integrity = q.value(0).toString();
        if (q.exec(QStringLiteral("select * from house order by id"))) {
            while (q.next()) {
                const QSqlRecord r = q.record();
                QStringList values;
                for (int i = 0; i < r.count(); ++i)
                    values << r.fieldName(i) + QLatin1Char('=') + r.value(i).toString();
                book.houses.insert(r.value(QStringLiteral("id")).toLongLong(), values.join(QLatin1Char('|')));
                const QDateTime t = serverTime(r.value(QStringLiteral("lasttime")).toString());
                if (t.isValid() && (!book.newestHouse.isValid() || t > book.newestHouse))
                    book.newestHouse = t;
            }
        }
        if (q.exec(QStringLiteral("select lastupdatatime from company_config")) && q.next())
            book.houseMark = q.value(0).toString();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return book;
}

int envInt(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void killedSyncLeavesWholePagesAndCompletes();
    void killedSnapshotSwapKeepsADatabase();
    void swapCutBetweenItsRenamesKeepsTheOldBook();

private:
    // Kills a sync on the folder at random moments, checking the book after each kill.
    void killRepeatedly(const QString &folder, int kills, bool snapshotOffered);
    void checkAfterKill(const Book &book, bool hadBook, bool snapshotOffered, const QString &what);
    QString companyDb(const QString &folder) const { return QDir(folder).filePath(m_dbRelative); }

    QScopedPointer<AllianceServer> m_server;
    QTemporaryDir m_dir;
    QString m_dbRelative;
    Book m_reference;
    qint64 m_referenceMs = 0;
    QRandomGenerator m_random;
    int m_kills = 5;
};

void TestCrashSafety::initTestCase()
{
    AllianceServer::Options options;
    options.pageSize = kPageSize;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    m_random.seed(quint32(envInt("QX_CRASH_SEED", 1)));
    m_kills = envInt("QX_CRASH_KILLS", 5);

    // The book an uninterrupted sync stores.
    const QString folder = m_dir.filePath(QStringLiteral("reference"));
    QElapsedTimer clock;
    clock.start();
    const Run run = runChild(folder, m_server->baseUrl());
    m_referenceMs = clock.elapsed();
    QCOMPARE(run.exitCode, 0);
    const QString path = run.output.section(QLatin1Char('\n'), 0, 0).trimmed();
    QVERIFY(path.startsWith(folder));
    m_dbRelative = QDir(folder).relativeFilePath(path);
    m_reference = readBook(path);
    QCOMPARE(m_reference.integrity, QStringLiteral("ok"));
    QVERIFY(m_reference.houses.size() > 5 * kPageSize);
    qInfo("reference sync: %d listings in %lld ms", int(m_reference.houses.size()), m_referenceMs);
}

void TestCrashSafety::checkAfterKill(const Book &book, bool hadBook, bool snapshotOffered, const QString &what)
{
    const QByteArray where = what.toUtf8();
    if (hadBook)
        QVERIFY2(book.opened, where.constData());  // a database once there is never lost
    if (!book.opened)
        return;
    QVERIFY2(book.integrity == QLatin1String("ok"), where.constData());
    // Only listings the server sent, each exactly as stored by a whole sync of the same pages.
    for (auto it = book.houses.cbegin(); it != book.houses.cend(); ++it)
        QVERIFY2(m_reference.houses.contains(it.key()), where.constData());
    const bool complete = book.houses.size() == m_reference.houses.size();
    if (!snapshotOffered || !complete)
        QVERIFY2(book.houses.size() % kPageSize == 0 || complete, qPrintable(what + QStringLiteral(": %1 listings").arg(book.houses.size())));
    // The mark never runs ahead of the listings stored with it.
    if (!book.houses.isEmpty() && !book.houseMark.isEmpty() && serverTime(book.houseMark).isValid())
        QVERIFY2(serverTime(book.houseMark) <= book.newestHouse, qPrintable(what + QStringLiteral(": mark %1").arg(book.houseMark)));
}

void TestCrashSafety::killRepeatedly(const QString &folder, int kills, bool snapshotOffered)
{
    const QString db = companyDb(folder);
    const QDir dbFolder = QFileInfo(db).dir();
    const QStringList ownFiles{QFileInfo(db).fileName(), QFileInfo(db).fileName() + QStringLiteral("-journal")};
    // Inside a page transaction: the rollback journal is there.
    const auto pageOpen = [db] { return QFile::exists(db + QStringLiteral("-journal")); };
    // During the swap: the snapshot's download, unpack folder or the set-aside old file.
    const auto swapping = [dbFolder, ownFiles] {
        const QStringList names = dbFolder.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &name : names) {
            if (!ownFiles.contains(name))
                return true;
        }
        return false;
    };
    QMap<QString, int> ways;
    for (int i = 0; i < kills; ++i) {
        const bool hadBook = QFile::exists(db);
        KillAt at;
        QString way;
        if (i % 2 == 0) {
            // The swap comes first in a sync: timed kills of it fall into the first half.
            const qint64 window = qMax<qint64>(50, snapshotOffered ? m_referenceMs / 2 : m_referenceMs);
            at.afterMs = int(m_random.bounded(quint32(window)));
            way = QStringLiteral("after %1 ms").arg(at.afterMs);
        } else {
            at.condition = snapshotOffered ? std::function<bool()>(swapping) : std::function<bool()>(pageOpen);
            at.sightings = 1 + int(m_random.bounded(snapshotOffered ? 3u : 20u));
            way = QStringLiteral("at sighting %1 of %2").arg(at.sightings).arg(snapshotOffered ? "the swap" : "an open page");
        }
        const Run run = runChild(folder, m_server->baseUrl(), at, snapshotOffered);
        const bool inside = QFile::exists(db + QStringLiteral("-journal"));
        ++ways[run.killed ? (inside ? QStringLiteral("killed, journal left") : QStringLiteral("killed")) : QStringLiteral("ended first")];
        const Book book = readBook(db);
        checkAfterKill(book, hadBook, snapshotOffered, QStringLiteral("kill %1 %2").arg(i).arg(way));
        if (QTest::currentTestFailed())
            return;
        if (!run.killed && !snapshotOffered) {
            // A sync that outran its kill completed the book; the next kill starts a new one.
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(book.houses, m_reference.houses);
            QVERIFY(QDir(folder).removeRecursively());
        }
    }
    for (auto it = ways.cbegin(); it != ways.cend(); ++it)
        qInfo("%s: %d", qPrintable(it.key()), it.value());
}

void TestCrashSafety::killedSyncLeavesWholePagesAndCompletes()
{
    const QString folder = m_dir.filePath(QStringLiteral("killed"));
    killRepeatedly(folder, m_kills, false);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(runChild(folder, m_server->baseUrl()).exitCode, 0);
    const Book book = readBook(companyDb(folder));
    QCOMPARE(book.integrity, QStringLiteral("ok"));
    QCOMPARE(book.houses.size(), m_reference.houses.size());
    QCOMPARE(book.houses, m_reference.houses);
}

void TestCrashSafety::killedSnapshotSwapKeepsADatabase()
{
    // An older, partial book first, then a snapshot of the whole book on every sync.
    const QString folder = m_dir.filePath(QStringLiteral("snapshot"));
    KillAt third;
    third.afterMs = int(m_referenceMs / 3);
    runChild(folder, m_server->baseUrl(), third);
    const QString snapshot = m_dir.filePath(QStringLiteral("snapshot.db"));
    QVERIFY(QFile::copy(companyDb(m_dir.filePath(QStringLiteral("reference"))), snapshot));
    QVERIFY(QFile::exists(companyDb(folder)));
    m_server->setSnapshotFile(snapshot);
    killRepeatedly(folder, m_kills, true);
    QVERIFY(m_server->hits(QStringLiteral("files/snapshot.db")) > 0);
    if (!QTest::currentTestFailed()) {
        QCOMPARE(runChild(folder, m_server->baseUrl(), KillAt(), true).exitCode, 0);
        const Book book = readBook(companyDb(folder));
        QCOMPARE(book.integrity, QStringLiteral("ok"));
        QCOMPARE(book.houses, m_reference.houses);
        // What killed swaps left beside the database (downloads, unpack folders, the set-aside
        // old file) is cleared by the next sync, not kept for ever.
        const QString name = QFileInfo(companyDb(folder)).fileName();
        QStringList left = QFileInfo(companyDb(folder)).dir().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        left.removeAll(name);
        left.removeAll(name + QStringLiteral("-journal"));
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    }
    m_server->setSnapshotFile(QString());
}

// A swap sets the old file aside before it moves the snapshot in; a process killed between
// the two renames leaves no database under its name. The next opening takes the old one back
// instead of starting an empty book that would be synced again from the start.
void TestCrashSafety::swapCutBetweenItsRenamesKeepsTheOldBook()
{
    const QString folder = m_dir.filePath(QStringLiteral("cut"));
    const QString db = companyDb(folder);
    QVERIFY(QDir().mkpath(QFileInfo(db).absolutePath()));
    QVERIFY(QFile::copy(companyDb(m_dir.filePath(QStringLiteral("reference"))), db + QStringLiteral(".replaced")));
    const int pagesBefore = m_server->hits(QStringLiteral("app/LianmaiSyncHousebook"));
    QCOMPARE(runChild(folder, m_server->baseUrl()).exitCode, 0);
    QCOMPARE(m_server->hits(QStringLiteral("app/LianmaiSyncHousebook")) - pagesBefore, 1);
    QCOMPARE(readBook(db).houses, m_reference.houses);
    QVERIFY(!QFile::exists(db + QStringLiteral(".replaced")));
}

QTEST_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
