#include "fuzzsupport.h"

#include "datacenter.h"
#include "sql/basemessage_sqltable.h"
#include "sql/basesqlobject.h"
#include "sql/cityhouseset_datasqltable.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/usermessage_datasqltable.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

namespace {

QTemporaryDir *folder = nullptr;

void signIn()
{
    DataCenter::reset();
    DataCenter::CityID = 340100;
    DataCenter::CompanyID = 1001;
    DataCenter::JointSaleCompanyId = 9001;
    DataCenter::YongHuID = 501;
    DataCenter::UserPhoneNumber = QStringLiteral("13800000001");
    DataCenter::UserOnline = true;
    DataCenter::CurrentWindow = QStringLiteral("main");
}

QByteArray rowDigest(const QString &table, const QSqlQuery &query)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(table.toUtf8());
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        const QVariant value = query.value(i);
        hash.addData(record.fieldName(i).toUtf8());
        hash.addData(QByteArray::number(value.isNull() ? -1 : int(value.type())));
        hash.addData(value.toString().toUtf8());
    }
    return hash.result();
}

// Every table of both books exists before the first input, so that creating one is never
// taken for a change an input made.
void createTables()
{
    for (const bool isJointSale : {false, true}) {
        BaseMessage_SqlTable base(nullptr, isJointSale);
        CityHouseSet_DataSqlTable city(nullptr, isJointSale);
        CommunityMessage_DataSqlTable communities(nullptr, isJointSale);
        CompanySQLConfig_DataSqltable config(nullptr, isJointSale);
        HouseBookSet_SqlTable settings(nullptr, isJointSale);
        HouseMessage_DataSqlTable houses(nullptr, isJointSale);
        UserMessage_DataSqlTable user(nullptr, isJointSale);
    }
}

} // namespace

void init()
{
    if (folder)
        return;
    static int argc = 1;
    static char name[] = "housebook_fuzz";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    // In memory where the system offers it: the store syncs every commit to disk, which on a
    // busy disk would make each input take seconds.
    const QString shm = QStringLiteral("/dev/shm");
    folder = QFileInfo(shm).isDir() && QFileInfo(shm).isWritable()
                 ? new QTemporaryDir(shm + QStringLiteral("/housebook_fuzz-XXXXXX"))
                 : new QTemporaryDir;
    // Where Qt would write on its own (settings, caches) stays inside the private folder too.
    qputenv("XDG_DATA_HOME", folder->filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", folder->filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", folder->filePath(QStringLiteral("cache")).toUtf8());
    // Requests that escape the code under test go nowhere but to a closed loopback port.
    qputenv("QX_HOUSEBOOK_SERVER", "http://127.0.0.1:9");
    BaseSqlObject::setPersonalBaseDir(folder->filePath(QStringLiteral("app")));
    signIn();
    createTables();
}

bool split(const uint8_t *data, size_t size, Input *input)
{
    if (size < 1)
        return false;
    input->selector = data[0];
    input->payload = QByteArray(reinterpret_cast<const char *>(data + 1), int(size - 1));
    return true;
}

QString dataDir()
{
    return folder ? folder->path() : QString();
}

void fail(const char *invariant, const QString &detail)
{
    std::fprintf(stderr, "INVARIANT FAILED: %s\n%s\n", invariant, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QJsonValue jsonOf(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return QJsonValue(QString::fromUtf8(bytes));
    if (document.isArray())
        return document.array();
    return document.object();
}

QString integrity(const QString &connection)
{
    QSqlQuery query(QSqlDatabase::database(connection, false));
    if (!query.exec(QStringLiteral("pragma integrity_check")))
        return QStringLiteral("integrity check did not run");
    QStringList lines;
    while (query.next())
        lines << query.value(0).toString();
    return lines.join(QLatin1Char('\n'));
}

QByteArray checksum(const QString &connection)
{
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    QSqlQuery tables(db);
    tables.exec(QStringLiteral("select name from sqlite_master where type='table' order by name"));
    QList<QByteArray> rows;
    while (tables.next()) {
        const QString table = tables.value(0).toString();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.exec(QStringLiteral("select * from \"%1\"").arg(table));
        while (query.next())
            rows << rowDigest(table, query);
        rows << table.toUtf8();
    }
    std::sort(rows.begin(), rows.end());
    QCryptographicHash all(QCryptographicHash::Sha1);
    for (const QByteArray &row : rows)
        all.addData(row);
    return all.result().toHex();
}

QString companyConnection(bool isJointSale)
{
    BaseSqlObject probe(nullptr, isJointSale);
    return probe.connectionName(BaseSqlObject::CompanyDB);
}

QString personalConnection(bool isJointSale)
{
    BaseSqlObject probe(nullptr, isJointSale);
    return probe.connectionName(BaseSqlObject::PersonDB);
}

} // namespace FuzzSupport

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::init();
    return 0;
}
