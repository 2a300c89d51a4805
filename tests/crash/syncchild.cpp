// A signed-in agent's first downloads and listing sync, alone in a process, so that a test can
// kill it at any moment with SIGKILL and look at what it left on disk.
//
//   qx_syncchild FOLDER SERVER_URL [snapshot]
//
// With "snapshot" it runs the listing sync alone, asking the server for a snapshot first.
// Every location the plug-in writes to lies under FOLDER. Prints the company database's path
// on its first line, then "synced" and exits 0 once the book is complete; exits 3 when a
// download failed.
#include "datacenter.h"
#include "sql/basesqlobject.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        QTextStream(stderr) << "usage: qx_syncchild FOLDER SERVER_URL\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    qputenv("QX_HOUSEBOOK_SERVER", argv[2]);
    qputenv("XDG_DATA_HOME", QDir(folder).filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(folder).filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", QDir(folder).filePath(QStringLiteral("cache")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BaseSqlObject::setPersonalBaseDir(QDir(folder).filePath(QStringLiteral("app")));

    // What the host leaves after signing in the alliance manager.
    DataCenter::CityID = 340100;
    DataCenter::CompanyID = 101;
    DataCenter::JointSaleCompanyId = 9001;
    DataCenter::UserPhoneNumber = QStringLiteral("13800000001");
    DataCenter::CookieVar = QStringLiteral("qxphone=13800000001");
    DataCenter::UserOnline = true;
    DataCenter::CurrentWindow = QStringLiteral("main");

    QTextStream out(stdout);
    BaseSqlObject sync(nullptr, true);
    out << sync.getDBAddress(BaseSqlObject::CompanyDB) << Qt::endl;

    bool bookSynced = false;
    QObject::connect(&sync, &BaseSqlObject::loadDataSuccess, [&bookSynced](int type) { bookSynced = bookSynced || type == 1; });
    const auto done = [&] {
        if (bookSynced)
            out << "synced" << Qt::endl;
        app.exit(bookSynced ? 0 : 3);
    };
    if (argc > 3 && qstrcmp(argv[3], "snapshot") == 0) {
        // An installed snapshot is followed by a sync of what changed since: the end is the
        // finish after which no sync runs any more.
        QObject::connect(&sync, &BaseSqlObject::loadDataFinish, &app, [&](int type) {
            if (type == 1)
                QTimer::singleShot(0, &app, [&] {
                    if (!BaseSqlObject::isSyncRunning(true))
                        done();
                });
        });
        sync.download_house(true, true);
    } else {
        QObject::connect(&sync, &BaseSqlObject::allLoadFinish, &app, done);
        sync.download_id({23, 5, 11, 22, 20, 1});
    }
    return app.exec();
}
