// Where the personal databases and settings file live: the application folder unless the
// INI file or the environment names another folder (the demo host names one per user).
#include "datacenter.h"
#include "net/endpoints.h"
#include "net/serverconfig.h"
#include "sql/basesqlobject.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

class TestDataFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void precedence_data();
    void precedence();
    void processConfigMovesThePersonalStore();

private:
    QTemporaryDir m_dir;
};

void TestDataFolder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    // Read once per process on first use, like the server roots: set before anything asks.
    qputenv("QX_HOUSEBOOK_DATA_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("user"))));
}

void TestDataFolder::cleanupTestCase()
{
    BaseSqlObject::removeAllConnect();
    DataCenter::reset();
}

void TestDataFolder::precedence_data()
{
    QTest::addColumn<QString>("ini");      // contents; null: no file
    QTest::addColumn<QString>("env");      // QX_HOUSEBOOK_DATA_DIR; null: unset
    QTest::addColumn<QString>("expected"); // "<ini>/" stands for the INI file's folder; empty: application folder

    const QString none;
    const QString store = QStringLiteral("[store]\ndataRoot=/srv/housebook/a\n");
    QTest::newRow("nothing configured") << none << none << QString();
    QTest::newRow("ini") << store << none << "/srv/housebook/a";
    QTest::newRow("ini relative to its folder") << QStringLiteral("[store]\ndataRoot=users/b/\n") << none << "<ini>/users/b";
    QTest::newRow("ini outside [store] ignored") << QStringLiteral("[server]\ndataRoot=/srv/x\n") << none << QString();
    QTest::newRow("ini empty value") << QStringLiteral("[store]\ndataRoot=\n") << none << QString();
    QTest::newRow("environment") << none << "/home/u/.local/share/qx_host/13800000002" << "/home/u/.local/share/qx_host/13800000002";
    QTest::newRow("environment beats ini") << store << "/tmp/demo//c/" << "/tmp/demo/c";
    QTest::newRow("empty environment keeps ini") << store << "" << "/srv/housebook/a";
}

void TestDataFolder::precedence()
{
    QFETCH(QString, ini);
    QFETCH(QString, env);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QString iniPath;
    if (!ini.isNull()) {
        iniPath = dir.filePath(ServerConfig::iniFileName());
        QFile file(iniPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini.toUtf8());
    }
    QProcessEnvironment environment;
    if (!env.isNull())
        environment.insert(QStringLiteral("QX_HOUSEBOOK_DATA_DIR"), env);

    const ServerConfig c = ServerConfig::fromSettings(iniPath, environment);
    QCOMPARE(c.dataRoot, expected.replace(QStringLiteral("<ini>"), dir.path()));
}

// The configured folder takes the place of the application folder for the personal
// database and the settings file; the company database stays where it was.
void TestDataFolder::processConfigMovesThePersonalStore()
{
    const QString user = m_dir.filePath(QStringLiteral("user"));
    QCOMPARE(BaseSqlObject::applicationDir(), user);

    DataCenter::UserPhoneNumber = QStringLiteral("13800000002");
    DataCenter::CompanyID = 101;
    BaseSqlObject sql(nullptr, false);
    QVERIFY(sql.getDBAddress(BaseSqlObject::PersonDB).startsWith(user + QStringLiteral("/sql/4_2_0_1/cp-")));
    QVERIFY(!sql.getDBAddress(BaseSqlObject::CompanyDB).startsWith(user));
    QVERIFY(QFileInfo(user + QStringLiteral("/sql/4_2_0_1")).isDir());

    // A folder set by the process itself (tests, portable installs) still comes first.
    BaseSqlObject::setPersonalBaseDir(m_dir.filePath(QStringLiteral("override")));
    QCOMPARE(BaseSqlObject::applicationDir(), m_dir.filePath(QStringLiteral("override")));
    BaseSqlObject::setPersonalBaseDir(QString());
    QCOMPARE(BaseSqlObject::applicationDir(), user);
}

QTEST_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
