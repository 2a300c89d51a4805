// Database files, per-thread connections, the connection registry and schema changes.
#include "datacenter.h"
#include "hostfixture.h"
#include "sql/basesqlobject.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

namespace {

// Exposes the protected helpers to the tests.
class Probe : public BaseSqlObject
{
public:
    explicit Probe(bool jointSale = false) : BaseSqlObject(nullptr, jointSale) {}
    using BaseSqlObject::exec;
    using BaseSqlObject::selectRows;
};

QString md5Part(const QString &key)
{
    return QString::fromLatin1(QCryptographicHash::hash(key.toLatin1(), QCryptographicHash::Md5).toHex()).mid(8, 16);
}

QString tag()
{
    return QString::number(reinterpret_cast<quintptr>(QThread::currentThreadId()));
}

QStringList registryNames()
{
    QStringList names;
    for (const QVariantMap &e : DataCenter::sqlConnectList)
        names << e.value(QStringLiteral("name")).toString();
    return names;
}

} // namespace

class TestBaseSqlObject : public QObject
{
    Q_OBJECT
private slots:
    void fileNamesAndFolders();
    void noUserNoDatabase();
    void connectionsPerThreadAndKind();
    void idleConnectionsArePruned();
    void droppingTablesResetsSyncMarks();
    void columnRebuildKeepsDataAndUniqueness();
    void addedColumnsAreAllOrNothing();
};

void TestBaseSqlObject::fileNamesAndFolders()
{
    HostFixture host;
    Probe normal;
    Probe joint(true);
    const QString personal = normal.getDBAddress(BaseSqlObject::PersonDB);
    const QString company = normal.getDBAddress(BaseSqlObject::CompanyDB);
    QCOMPARE(QFileInfo(personal).fileName(), QStringLiteral("cp-%1.db").arg(md5Part(DataCenter::UserPhoneNumber)));
    QCOMPARE(QFileInfo(company).fileName(), QStringLiteral("cp-c-%1.db").arg(md5Part(QStringLiteral("1001v2.0"))));
    QVERIFY(QRegularExpression(QStringLiteral("^cp-c-[0-9a-f]{16}\\.db$")).match(QFileInfo(company).fileName()).hasMatch());
    QCOMPARE(QFileInfo(personal).absolutePath(), host.dataDir() + QStringLiteral("/app/sql/4_2_0_1"));
    QCOMPARE(QFileInfo(company).absolutePath(),
             QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/sql/4_2_0_1"));
    QVERIFY(company.startsWith(host.dataDir()));
    QVERIFY(QFileInfo(company).dir().exists());

    // The joint-sale book keeps its own company file; the personal file is shared.
    QCOMPARE(QFileInfo(joint.getDBAddress(BaseSqlObject::CompanyDB)).fileName(),
             QStringLiteral("cp-c-%1.db").arg(md5Part(QStringLiteral("9001v2.0"))));
    QCOMPARE(joint.getDBAddress(BaseSqlObject::PersonDB), personal);
    QCOMPARE(joint.tableName(QStringLiteral("user")), QStringLiteral("user_jointsale"));
    QCOMPARE(normal.tableName(QStringLiteral("user")), QStringLiteral("user"));

    DataCenter::CompanyID = 1002;
    QVERIFY(normal.getDBAddress(BaseSqlObject::CompanyDB) != company);
    QVERIFY(!normal.isHaveDB(BaseSqlObject::CompanyDB));
    QVERIFY(normal.createTable(QStringLiteral("create table t(id int)"), BaseSqlObject::CompanyDB));
    QVERIFY(normal.isHaveDB(BaseSqlObject::CompanyDB));
}

void TestBaseSqlObject::noUserNoDatabase()
{
    HostFixture host;
    DataCenter::UserPhoneNumber.clear();
    Probe probe;
    QVERIFY(probe.getDBAddress(BaseSqlObject::PersonDB).isEmpty());
    QVERIFY(probe.getDBAddress(BaseSqlObject::CompanyDB).isEmpty());
    QVERIFY(probe.connectionName(BaseSqlObject::PersonDB).isEmpty());
    QVERIFY(!probe.createTable(QStringLiteral("create table t(id int)"), BaseSqlObject::PersonDB));
    QVERIFY(!probe.isHaveTable(QStringLiteral("t"), BaseSqlObject::PersonDB));
    QCOMPARE(probe.haveDataInTable(QStringLiteral("t"), BaseSqlObject::PersonDB), 0);
    QVERIFY(probe.getTableColumns(QStringLiteral("t"), BaseSqlObject::CompanyDB).isEmpty());
    QVERIFY(DataCenter::sqlConnectList.isEmpty());
}

void TestBaseSqlObject::connectionsPerThreadAndKind()
{
    HostFixture host;
    Probe normal;
    Probe joint(true);
    QCOMPARE(normal.connectionName(BaseSqlObject::PersonDB), QStringLiteral("fxmsqlitewcp-") + tag());
    QCOMPARE(normal.connectionName(BaseSqlObject::CompanyDB), QStringLiteral("company_fxmsqlitewcp-") + tag());
    QCOMPARE(joint.connectionName(BaseSqlObject::CompanyDB), QStringLiteral("company_fxmsqlitewcp_jointsale-") + tag());
    QCOMPARE(registryNames().size(), 3);

    // Another thread gets connections of its own, recorded in the shared registry.
    QString workerName;
    QThread *worker = QThread::create([&workerName] {
        Probe p;
        workerName = p.connectionName(BaseSqlObject::CompanyDB);
        p.createTable(QStringLiteral("create table w(id int)"), BaseSqlObject::CompanyDB);
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QVERIFY(!workerName.isEmpty());
    QVERIFY(workerName != normal.connectionName(BaseSqlObject::CompanyDB));
    QVERIFY(registryNames().contains(workerName));
    QVERIFY(normal.isHaveTable(QStringLiteral("w"), BaseSqlObject::CompanyDB));

    // A connection left from another company is pointed at the current file.
    DataCenter::CompanyID = 2002;
    QVERIFY(!normal.isHaveTable(QStringLiteral("w"), BaseSqlObject::CompanyDB));

    // Closing removes the plug-in's connections only: the host and its other modules share the
    // process, and removing one of theirs under a running query crashed its owner.
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("host-own"));
    normal.closeDB(BaseSqlObject::CompanyDB);
    QVERIFY(DataCenter::sqlConnectList.isEmpty());
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList{QStringLiteral("host-own")});
    QSqlDatabase::removeDatabase(QStringLiteral("host-own"));
}

void TestBaseSqlObject::idleConnectionsArePruned()
{
    HostFixture host;
    qint64 now = 1000000;
    BaseSqlObject::setClock([&now] { return now; });
    Probe probe;
    const QString personal = probe.connectionName(BaseSqlObject::PersonDB);
    now += 30 * 1000;
    const QString company = probe.connectionName(BaseSqlObject::CompanyDB);
    now += 31 * 1000;  // personal idle for 61 s, company for 31 s
    BaseSqlObject::addConnectName(QStringLiteral("other"));
    QCOMPARE(registryNames(), (QStringList{company, QStringLiteral("other")}));
    QVERIFY(!QSqlDatabase::contains(personal));
    QVERIFY(QSqlDatabase::contains(company));

    now += 60 * 1000;  // exactly 60 s is not yet idle
    BaseSqlObject::addConnectName(QStringLiteral("other"));
    QVERIFY(registryNames().contains(QStringLiteral("other")));
    QVERIFY(!registryNames().contains(company));
    BaseSqlObject::setClock(nullptr);
}

void TestBaseSqlObject::droppingTablesResetsSyncMarks()
{
    HostFixture host;
    Probe probe;
    const auto db = BaseSqlObject::CompanyDB;
    QVERIFY(probe.createTable(QStringLiteral("create table company_config(id int unique,lastupdatatime varchar,"
                                             "community_lastupdatatime varchar,companyid int,version varchar,"
                                             "house_add_key varchar,community_add_key varchar,building int)"), db));
    QVERIFY(probe.exec(db, QStringLiteral("replace into company_config values(?,?,?,?,?,?,?,?)"),
                       {1, "2024/05/01 10:00:00", "2024/05/02 10:00:00", 1001, "4.2.0.1", "", "", 0}));
    auto marks = [&] {
        const QVariantMap row = probe.selectRows(db, QStringLiteral("select * from company_config where id=1")).value(0);
        return QStringList{row.value(QStringLiteral("lastupdatatime")).toString(),
                           row.value(QStringLiteral("community_lastupdatatime")).toString()};
    };
    QVERIFY(probe.createTable(QStringLiteral("create table house_old(id int)"), db));
    QVERIFY(probe.deleteTable(QStringLiteral("house_old"), db, false));
    QCOMPARE(marks(), (QStringList{"2024/05/01 10:00:00", "2024/05/02 10:00:00"}));

    QVERIFY(probe.createTable(QStringLiteral("create table house_old(id int)"), db));
    QVERIFY(probe.deleteTable(QStringLiteral("house_old"), db));
    QCOMPARE(marks(), (QStringList{"2018/01/01 00:00:00", "2024/05/02 10:00:00"}));

    QVERIFY(probe.createTable(QStringLiteral("create table community_old(id int)"), db));
    QVERIFY(probe.deleteTable(QStringLiteral("community_old"), db));
    QCOMPARE(marks(), (QStringList{"2018/01/01 00:00:00", "2018/01/01 00:00:00"}));

    // Dropping a table that is not there changes nothing.
    QVERIFY(probe.exec(db, QStringLiteral("update company_config set lastupdatatime='x' where id=1")));
    QVERIFY(!probe.deleteTable(QStringLiteral("house_missing"), db));
    QCOMPARE(marks().first(), QStringLiteral("x"));
}

// Removing a column rebuilds the table: the rows stay, and id stays unique so that
// "replace into" keeps replacing instead of duplicating listings.
void TestBaseSqlObject::columnRebuildKeepsDataAndUniqueness()
{
    HostFixture host;
    Probe probe;
    const auto db = BaseSqlObject::CompanyDB;
    QVERIFY(probe.createTable(QStringLiteral("create table house(id int unique,name varchar,price float,oldcol varchar)"), db));
    for (int i = 1; i <= 3; ++i)
        QVERIFY(probe.exec(db, QStringLiteral("insert into house values(?,?,?,?)"), {i, QStringLiteral("小区%1").arg(i), i * 1.5, "x"}));

    QVERIFY(probe.deleteTableColumns(QStringLiteral("house"), {"id", "name", "price", "oldcol"}, {"oldcol"}, db));
    const QList<QVariantMap> columns = probe.getTableColumns(QStringLiteral("house"), db);
    QCOMPARE(columns.size(), 3);
    QCOMPARE(columns.at(0).value(QStringLiteral("type")).toString().toLower(), QStringLiteral("int"));
    QCOMPARE(columns.at(2).value(QStringLiteral("type")).toString().toLower(), QStringLiteral("float"));
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), db), 3);
    QCOMPARE(probe.selectRows(db, QStringLiteral("select name from house where id=2")).value(0).value("name").toString(),
             QStringLiteral("小区2"));
    QVERIFY(probe.exec(db, QStringLiteral("replace into house(id,name,price) values(2,'新',9)")));
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), db), 3);
    QVERIFY(!probe.isHaveTable(QStringLiteral("housetemp"), db));

    // Removing every column is refused and leaves the table as it was.
    QVERIFY(!probe.deleteTableColumns(QStringLiteral("house"), {"id", "name", "price"}, {"id", "name", "price"}, db));
    QCOMPARE(probe.getTableColumns(QStringLiteral("house"), db).size(), 3);
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), db), 3);
}

void TestBaseSqlObject::addedColumnsAreAllOrNothing()
{
    HostFixture host;
    Probe probe;
    const auto db = BaseSqlObject::CompanyDB;
    QVERIFY(probe.createTable(QStringLiteral("create table community(id int unique,name varchar)"), db));
    const QList<QVariantMap> bad{{{"key", "pinyin"}, {"type", "varchar"}}, {{"key", "name"}, {"type", "varchar"}}};
    QVERIFY(!probe.addNewTableColumn(QStringLiteral("community"), bad, db));
    QCOMPARE(probe.getTableColumns(QStringLiteral("community"), db).size(), 2);
    const QList<QVariantMap> good{{{"key", "pinyin"}, {"type", "varchar"}}, {{"key", "cityid"}, {"type", "int"}}};
    QVERIFY(probe.addNewTableColumn(QStringLiteral("community"), good, db));
    QCOMPARE(probe.getTableColumns(QStringLiteral("community"), db).size(), 4);
}

QTEST_MAIN(TestBaseSqlObject)
#include "tst_basesqlobject.moc"
