// One page of the listing sync handed to the sync object as the request layer would: the
// parsed `data` of a reply. Input: byte 0 picks the book (bit 0: joint sale), the rest is the
// page. Invariants: both databases pass SQLite's integrity check; the time marks never move
// backwards, never leave the stored time form and never pass a day after the present; a page
// that is not an object or not well formed leaves the company database as it was; a stored
// page is stored whole (every record of it present, every deletion it asks for done) or not
// at all.
#include "fuzzsupport.h"

#include "sql/basesqlobject.h"
#include "sql/batchwriter.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/syncrecords.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

struct Marks
{
    QString house;
    QString community;
};

Marks marksOf(bool isJointSale)
{
    CompanySQLConfig_DataSqltable config(nullptr, isJointSale);
    return {config.lastUpdateTime(), config.communityLastUpdateTime()};
}

QSet<QString> idsOf(const QString &connection, const QString &table)
{
    QSet<QString> ids;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.exec(QStringLiteral("select id from %1").arg(table));
    while (query.next())
        ids.insert(QString::number(query.value(0).toLongLong()));
    return ids;
}

// Every record of the page is present and every deletion it asks for (of an id it does not
// also bring) is done.
bool storedWhole(const QString &connection, const SyncRecords::Page &page)
{
    const QSet<QString> houses = idsOf(connection, QStringLiteral("house"));
    const QSet<QString> communities = idsOf(connection, QStringLiteral("community"));
    for (const QString &id : page.houseIds) {
        if (!houses.contains(id))
            return false;
    }
    for (const QString &id : page.communityIds) {
        if (!communities.contains(id))
            return false;
    }
    for (const QString &id : page.houseDels) {
        if (houses.contains(id) && !page.houseIds.contains(id))
            return false;
    }
    for (const QString &id : page.communityDels) {
        if (communities.contains(id) && !page.communityIds.contains(id))
            return false;
    }
    return true;
}

void checkMark(const QString &before, const QString &after, const QString &detail)
{
    const QString latest = QDateTime::fromMSecsSinceEpoch(BaseSqlObject::currentMSecsSinceEpoch() + 24 * 3600 * 1000)
                               .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    FUZZ_CHECK(after >= before, detail + QStringLiteral("\nmark %1 -> %2").arg(before, after));
    FUZZ_CHECK(BatchWriter::isSyncTime(after), detail + QStringLiteral("\nmark %1").arg(after));
    FUZZ_CHECK(after == before || after <= latest, detail + QStringLiteral("\nmark %1").arg(after));
}

// The store grows with every stored page; now and then it starts again from empty tables
// (the marks stay, so they are still compared with what came before).
void trimStore(const QString &connection)
{
    static int runs = 0;
    if (++runs % 500 != 0)
        return;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.exec(QStringLiteral("delete from house"));
    query.exec(QStringLiteral("delete from community"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input;
    if (!FuzzSupport::split(data, size, &input))
        return 0;
    const bool isJointSale = input.selector & 1;
    const QByteArray &bytes = input.payload;
    const QJsonValue value = FuzzSupport::jsonOf(bytes);
    const QString detail = QString::fromUtf8(bytes.left(400));

    const Marks before = marksOf(isJointSale);
    const QString company = FuzzSupport::companyConnection(isJointSale);
    trimStore(company);
    const QByteArray checksumBefore = FuzzSupport::checksum(company);
    {
        BaseSqlObject sync(nullptr, isJointSale);
        sync.deal_UpdateData(value);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    FUZZ_CHECK(FuzzSupport::integrity(company) == QLatin1String("ok"), detail);
    FUZZ_CHECK(FuzzSupport::integrity(FuzzSupport::personalConnection(isJointSale)) == QLatin1String("ok"), detail);
    const Marks after = marksOf(isJointSale);
    checkMark(before.house, after.house, detail);
    checkMark(before.community, after.community, detail);

    const SyncRecords::Page page = SyncRecords::readPage(value.toObject());
    const bool unchanged = FuzzSupport::checksum(company) == checksumBefore;
    if (!value.isObject() || page.malformed)
        FUZZ_CHECK(unchanged, detail);
    else
        FUZZ_CHECK(unchanged || storedWhole(company, page), detail);
    return 0;
}
