// The local store against hostile input: search texts carrying lone surrogates and NULs,
// sync pages with ids and numbers no int column can hold, and record times far in the future.
#include "datacenter.h"
#include "hostfixture.h"
#include "listing.h"
#include "net/wholenumber.h"
#include "sql/basesqlobject.h"
#include "sql/batchwriter.h"
#include "sql/housebookset_sqltable.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/housequerybuilder.h"
#include "sql/syncrecords.h"
#include "sql/usermessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <algorithm>

namespace {

const int kTarget = 1;

// Lone surrogates of the three shapes, right before the quote that ends the text's literal.
QString surrogates(const QString &kind)
{
    if (kind == QLatin1String("high"))
        return QString(QChar(0xD800));
    if (kind == QLatin1String("low"))
        return QString(QChar(0xDC00));
    return QString(QChar(0xDC00)) + QChar(0xD800);  // a reversed pair
}

// A text that, decoded carelessly, closes its literal and the given brackets, adds "or 1=1"
// and cuts off the rest of the statement with a NUL.
QString hostileText(const QString &kind, const QString &closers)
{
    return surrogates(kind) + QLatin1Char('\'') + closers + QStringLiteral(" or 1=1 ") + QChar(0);
}

// The same text without what no stored text holds, trimmed: what the store may look for.
QString repairedText(const QString &closers)
{
    return QLatin1Char('\'') + closers + QStringLiteral(" or 1=1");
}

void addSurrogateColumns()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("text");    // as typed
    QTest::addColumn<QString>("stored");  // the repaired text, held by the rows it should find
}

void addSurrogateRows(const char *condition, const QString &closers)
{
    for (const char *kind : {"high", "low", "reversed"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(condition), QLatin1String(kind))))
            << QString::fromLatin1(condition) << hostileText(QLatin1String(kind), closers)
            << repairedText(closers);
    }
}

QVariantMap listing(int id, const QVariantMap &changes)
{
    return Listing(id).with(changes);
}

// Listings the user must never see, each carrying the same texts as the target: deleted,
// another city, another company, another department's private one, locked, sealed and
// under review there.
QList<QVariantMap> hiddenListings(const QVariantMap &texts)
{
    const QList<QVariantMap> differences{{{"isdel", 1}},
                                         {{"cityid", 999}},
                                         {{"companyid", 5555}},
                                         {{"deptid", 33}, {"stype", 1}},
                                         {{"deptid", 33}, {"suopan", 1}},
                                         {{"deptid", 33}, {"fengpan", 1}},
                                         {{"deptid", 33}, {"shenhestatus", 1}}};
    QList<QVariantMap> out;
    for (const QVariantMap &difference : differences) {
        QVariantMap changes = texts;
        changes.insert(difference);
        out << listing(kTarget + 1 + out.size(), changes);
    }
    return out;
}

// An agent in department 11 with nothing beyond the default view range.
TestUser agent()
{
    return TestUser().ownDepartment(11, "一部").departmentTree({TestUser::department(10, {TestUser::department(11)})}).viewRange(0);
}

// The ids of listing or community records, in order.
template <typename Record>
QList<int> sortedIds(const QList<Record> &records)
{
    QList<int> ids;
    for (const Record &d : records)
        ids << d.id;
    std::sort(ids.begin(), ids.end());
    return ids;
}

QJsonObject syncListing(const QJsonValue &id, const QString &lasttime, const QJsonObject &changes = QJsonObject())
{
    QJsonObject o{{"id", id},          {"types", 0},         {"name", QStringLiteral("翡翠湖畔")},
                  {"cityid", 340100},  {"companyid", 1001},  {"lasttime", lasttime}};
    for (auto it = changes.begin(); it != changes.end(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

QJsonObject syncCommunity(const QJsonValue &id, const QString &lasttime, const QJsonObject &changes = QJsonObject())
{
    QJsonObject o{{"id", id}, {"name", QStringLiteral("阳光花园")}, {"cityid", 340100}, {"lasttime", lasttime}};
    for (auto it = changes.begin(); it != changes.end(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

// Reads and stores one sync page the way the listing sync does.
bool writeSyncPage(const QJsonArray &houses, const QJsonArray &communities, SyncRecords::Page *read = nullptr)
{
    const SyncRecords::Page page = SyncRecords::readPage(
        QJsonObject{{"housebook", houses}, {"community", communities}, {"nextpage", false}});
    if (read)
        *read = page;
    return SyncRecords::writePage(false, page);
}

QVariantMap storedRow(const QString &table, qint64 id)
{
    BaseSqlObject probe(nullptr, false);
    const QString name = probe.connectionName(BaseSqlObject::CompanyDB);
    QSqlQuery query(QSqlDatabase::database(name));
    query.exec(QStringLiteral("select * from %1 where id=%2").arg(table).arg(id));
    QVariantMap row;
    if (query.next()) {
        for (int i = 0; i < query.record().count(); ++i)
            row.insert(query.record().fieldName(i), query.record().value(i));
    }
    return row;
}

int rowCount(const QString &table)
{
    BaseSqlObject probe(nullptr, false);
    return probe.haveDataInTable(table, BaseSqlObject::CompanyDB);
}

qint64 localMSecs(const QDate &date, const QTime &time)
{
    return QDateTime(date, time).toMSecsSinceEpoch();
}

} // namespace

class TestHostileStore : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void surrogatesStayInListingLiterals_data();
    void surrogatesStayInListingLiterals();
    void surrogatesStayInCommunityLiterals_data();
    void surrogatesStayInCommunityLiterals();
    void intColumnValues_data();
    void intColumnValues();
    void numbersBeyondTheirRange_data();
    void numbersBeyondTheirRange();
    void settingsNumbersBeyondTheirRange();
    void recordsOutOfIntRangeAreRefused_data();
    void recordsOutOfIntRangeAreRefused();
    void futureTimesLeaveTheMarksAlone_data();
    void futureTimesLeaveTheMarksAlone();
};

void TestHostileStore::cleanup()
{
    BaseSqlObject::setClock(nullptr);
}

void TestHostileStore::surrogatesStayInListingLiterals_data()
{
    addSurrogateColumns();
    // The brackets each text closes are those around its literal in the listing query.
    addSurrogateRows("keyWord", QStringLiteral("))"));
    addSurrogateRows("name", QStringLiteral("))"));
    addSurrogateRows("follows", QString());
    addSurrogateRows("followtime", QString());
    addSurrogateRows("createtime", QString());
    addSurrogateRows("lasttime", QString());
    addSurrogateRows("weihuren", QString());
}

// The target listing holds the repaired text, in its community's name for the name
// conditions; hidden listings hold it too. Only the target is found, by list and by count.
void TestHostileStore::surrogatesStayInListingLiterals()
{
    QFETCH(QString, condition);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    HostFixture host;
    host.signInAs(agent());
    CommunityMessage_DataSqlTable communities(nullptr, false);
    QCOMPARE(communities.insertOrReplaceCommunities(
                 {{{"id", 100}, {"name", stored}, {"cityid", 340100}, {"companyid", 1001}}}, false),
             1);
    const bool isCondition = condition == QLatin1String("keyWord") || condition == QLatin1String("name");
    const QVariantMap texts = isCondition ? QVariantMap() : QVariantMap{{condition, stored}};
    HouseMessage_DataSqlTable table(nullptr, false);
    const QList<QVariantMap> seed = QList<QVariantMap>{listing(kTarget, texts)} + hiddenListings(texts);
    QCOMPARE(table.insertOrReplaceHouses(seed, false), seed.size());

    HouseQuery query;
    query.pageSize = 100;
    (isCondition ? query.conditions : query.columnFilters).insert(condition, text);
    QCOMPARE(sortedIds(table.getHouseList(query)), QList<int>{kTarget});
    QCOMPARE(table.getHouseCount(query), 1);
}

void TestHostileStore::surrogatesStayInCommunityLiterals_data()
{
    addSurrogateColumns();
    addSurrogateRows("keyWord", QStringLiteral(")"));
    addSurrogateRows("name", QStringLiteral(")"));
    addSurrogateRows("districtname", QString());
    addSurrogateRows("areaname", QString());
    addSurrogateRows("primaryschool", QString());
    addSurrogateRows("middleschool", QString());
}

// Communities with sale listings in the user's scope: the target has one; the others, with
// the same texts, have listings in another city, another company or off the shelf only.
void TestHostileStore::surrogatesStayInCommunityLiterals()
{
    QFETCH(QString, condition);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    HostFixture host;
    const QString column = condition == QLatin1String("keyWord") ? QStringLiteral("name") : condition;
    QList<QVariantMap> communities;
    for (int id = 1; id <= 4; ++id)
        communities << QVariantMap{{"id", id}, {"name", "阳光花园"}, {"cityid", 340100}, {column, stored}};
    CommunityMessage_DataSqlTable table(nullptr, false);
    QCOMPARE(table.insertOrReplaceCommunities(communities, false), 4);
    HouseMessage_DataSqlTable houses(nullptr, false);
    QCOMPARE(houses.insertOrReplaceHouses({listing(1, {{"mycommunityid", 1}}),
                                           listing(2, {{"mycommunityid", 2}, {"cityid", 999}}),
                                           listing(3, {{"mycommunityid", 3}, {"companyid", 5555}}),
                                           listing(4, {{"mycommunityid", 4}, {"housestatus", 0}})},
                                          false),
             4);

    const QVariantMap search{{condition, text}, {"houseKind", "store_sale_house"}};
    QCOMPARE(sortedIds(table.getCommunityList(search, 1, 0)), QList<int>{1});
    QCOMPARE(table.getCommunityCount(search), 1);
}

void TestHostileStore::intColumnValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("stored");  // what an int column is given
    QTest::newRow("number") << QVariant(12) << true << 12;
    QTest::newRow("whole double") << QVariant(12.0) << true << 12;
    QTest::newRow("decimal text") << QVariant(" 12 ") << true << 12;
    QTest::newRow("largest int") << QVariant(qlonglong(2147483647)) << true << 2147483647;
    QTest::newRow("smallest int") << QVariant(-2147483648.0) << true << int(-2147483648LL);
    QTest::newRow("boolean") << QVariant(true) << true << 1;
    QTest::newRow("nothing") << QVariant() << true << 0;
    QTest::newRow("empty text") << QVariant("") << true << 0;
    QTest::newRow("beyond int") << QVariant(qlonglong(4294967297LL)) << false << 0;
    QTest::newRow("beyond int as double") << QVariant(4294967297.0) << false << 0;
    QTest::newRow("beyond int as text") << QVariant("4294967297") << false << 0;
    QTest::newRow("beyond qint64 as text") << QVariant("1e300") << false << 0;
    QTest::newRow("beyond qint64 as double") << QVariant(1e300) << false << 0;
    QTest::newRow("unsigned beyond") << QVariant(qulonglong(18446744073709551615ULL)) << false << 0;
    QTest::newRow("infinity as text") << QVariant("inf") << false << 0;
    QTest::newRow("below qint64 as text") << QVariant("-1e300") << false << 0;
    QTest::newRow("not a number as text") << QVariant("nan") << false << 0;
    QTest::newRow("negative infinity as text") << QVariant("-inf") << false << 0;
    QTest::newRow("one past qint64 as text") << QVariant("9223372036854775808") << false << 0;
    QTest::newRow("one past qint64 as double") << QVariant(9223372036854775808.0) << false << 0;
    QTest::newRow("not a number") << QVariant(qQNaN()) << false << 0;
    QTest::newRow("infinity") << QVariant(qInf()) << false << 0;
    QTest::newRow("fraction") << QVariant(2.5) << false << 0;
    QTest::newRow("fraction as text") << QVariant("2.5") << false << 0;
    QTest::newRow("word") << QVariant("two") << false << 0;
    QTest::newRow("object") << QVariant(QVariantMap{{"a", 1}}) << false << 0;
}

void TestHostileStore::intColumnValues()
{
    QFETCH(QVariant, value);
    QFETCH(bool, fits);
    QFETCH(int, stored);
    int n = -1;
    QCOMPARE(BatchWriter::intValue(value, &n), fits);
    QCOMPARE(BatchWriter::typed(BatchWriter::ColumnType::Int, value), QVariant(stored));
}

void TestHostileStore::numbersBeyondTheirRange_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("asInt");   // read as QVariant::toInt would, -1 when it cannot be
    QTest::addColumn<int>("asJson");  // the same value as a JSON number
    QTest::newRow("1e300") << QVariant(1e300) << -1 << -1;
    QTest::newRow("-1e300") << QVariant(-1e300) << -1 << -1;
    QTest::newRow("nan") << QVariant(qQNaN()) << -1 << -1;
    QTest::newRow("inf") << QVariant(qInf()) << -1 << -1;
    QTest::newRow("-inf") << QVariant(-qInf()) << -1 << -1;
    QTest::newRow("2^63") << QVariant(9223372036854775808.0) << -1 << -1;
    QTest::newRow("2^31") << QVariant(2147483648.0) << -1 << -1;
    QTest::newRow("-2^31") << QVariant(-2147483648.0) << int(-2147483648LL) << int(-2147483648LL);
    QTest::newRow("whole") << QVariant(12.0) << 12 << 12;
    QTest::newRow("fraction") << QVariant(2.6) << 3 << -1;
    QTest::newRow("1e300 as text") << QVariant("1e300") << -1 << -1;
    QTest::newRow("nan as text") << QVariant("nan") << -1 << -1;
    QTest::newRow("inf as text") << QVariant("inf") << -1 << -1;
    QTest::newRow("2^63 as text") << QVariant("9223372036854775808") << -1 << -1;
    QTest::newRow("2^31 as text") << QVariant("2147483648") << -1 << -1;
    QTest::newRow("decimal text") << QVariant("42") << 42 << -1;
    QTest::newRow("2^32 + 1 as qint64") << QVariant(qlonglong(4294967297LL)) << -1 << -1;
}

// Numbers from replies and settings become ints through one range-checked conversion;
// a double beyond the int range used to be cast as it was.
void TestHostileStore::numbersBeyondTheirRange()
{
    QFETCH(QVariant, value);
    QFETCH(int, asInt);
    QFETCH(int, asJson);
    QCOMPARE(WholeNumber::toInt(value, -1), asInt);
    QCOMPARE(WholeNumber::toInt(QJsonValue::fromVariant(value), -1), asJson);
}

// The settings reply's numbers and the book settings read from it: an out-of-range number
// leaves the stored value (or the default) in place.
void TestHostileStore::settingsNumbersBeyondTheirRange()
{
    HostFixture host;
    HouseBookSet_SqlTable set(nullptr, false);
    QVERIFY(set.storeHouseBookSet(QJsonObject{{"page", 30}, {"enterfresh", 2}, {"housepush", 0}}));
    QVERIFY(set.storeHouseBookSet(QJsonObject{{"page", 1e300},
                                              {"enterfresh", -1e300},
                                              {"housepush", 9223372036854775808.0},
                                              {"companyGstate", 1e300}}));
    QCOMPARE(set.pageSize(), 30);
    QCOMPARE(set.enterFresh(), 2);
    QCOMPARE(set.housePush(), 0);
    QCOMPARE(set.companyGstate(), 0);
    QVERIFY(set.setValue(QStringLiteral("likehistory"), QStringLiteral("[1e300, 7, 9223372036854775808]")));
    QCOMPARE(set.historyIds(QStringLiteral("likehistory")), QStringList{"7"});
}

void TestHostileStore::recordsOutOfIntRangeAreRefused_data()
{
    QTest::addColumn<QJsonObject>("house");
    QTest::addColumn<QJsonObject>("community");
    QTest::addColumn<bool>("refused");
    const auto row = [](const char *name, const QJsonValue &id, const QJsonObject &changes, bool refused) {
        QTest::newRow(name) << syncListing(id, "2024/03/05 09:00:00", changes)
                            << syncCommunity(id, "2024/03/05 09:00:00", changes) << refused;
    };
    row("id beyond int", 4294967297.0, {}, true);
    row("id beyond int as text", "4294967297", {}, true);
    row("id one past the largest int", 2147483648.0, {}, true);
    row("id beyond qint64", 1e300, {}, true);
    row("id as a fraction", 1.5, {}, true);
    row("largest id", 2147483647.0, {}, false);
    row("city beyond int", 3.0, {{"cityid", 4294967297.0}}, true);
    row("city as 1e300 text", 3.0, {{"cityid", "1e300"}}, true);
    row("city as a fraction", 3.0, {{"cityid", 340100.5}}, true);
    row("city as a word", 3.0, {{"cityid", "合肥"}}, true);
    row("city as decimal text", 3.0, {{"cityid", "340100"}}, false);
    row("city missing", 3.0, {{"cityid", QJsonValue::Null}}, false);
}

// The refused record is counted and logged; listing and community 1 stay as they were, and
// the rest of the page is stored and moves the marks.
void TestHostileStore::recordsOutOfIntRangeAreRefused()
{
    QFETCH(QJsonObject, house);
    QFETCH(QJsonObject, community);
    QFETCH(bool, refused);
    HostFixture host;
    QVERIFY(writeSyncPage({syncListing(1, "2024/03/01 00:00:00")}, {syncCommunity(1, "2024/03/01 00:00:00")}));
    const QVariantMap houseBefore = storedRow(QStringLiteral("house"), 1);
    const QVariantMap communityBefore = storedRow(QStringLiteral("community"), 1);

    if (refused)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refused 1 listing and 1 community")));
    SyncRecords::Page page;
    QVERIFY(writeSyncPage({house, syncListing(2, "2024/03/04 00:00:00")},
                          {community, syncCommunity(2, "2024/03/04 00:00:00")}, &page));
    QCOMPARE(storedRow(QStringLiteral("house"), 1), houseBefore);
    QCOMPARE(storedRow(QStringLiteral("community"), 1), communityBefore);
    // No listing reads back under an id of another (or under 0, "no listing").
    DataCenter::isManager = true;
    HouseQuery all;
    all.pageSize = 100;
    QCOMPARE(sortedIds(HouseMessage_DataSqlTable(nullptr, false).getHouseList(all)).mid(0, 2), (QList<int>{1, 2}));
    QCOMPARE(rowCount(QStringLiteral("house")), refused ? 2 : 3);
    QCOMPARE(rowCount(QStringLiteral("community")), refused ? 2 : 3);
    QCOMPARE(page.refusedHouses, refused ? 1 : 0);
    QCOMPARE(page.refusedCommunities, refused ? 1 : 0);
    CompanySQLConfig_DataSqltable marks(nullptr, false);
    const QString mark = refused ? QStringLiteral("2024/03/04 00:00:00") : QStringLiteral("2024/03/05 09:00:00");
    QCOMPARE(marks.lastUpdateTime(), mark);
    QCOMPARE(marks.communityLastUpdateTime(), mark);
}

void TestHostileStore::futureTimesLeaveTheMarksAlone_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("mark");  // with the clock at 2024/03/10 12:00:00
    QTest::newRow("end of time") << "9999/12/31 23:59:59" << "2024/03/05 09:00:00";
    QTest::newRow("next year") << "2025/03/10 12:00:00" << "2024/03/05 09:00:00";
    QTest::newRow("just over a day ahead") << "2024/03/11 12:00:01" << "2024/03/05 09:00:00";
    QTest::newRow("a day ahead, the server's clock ahead") << "2024/03/11 12:00:00" << "2024/03/11 12:00:00";
    QTest::newRow("the present") << "2024/03/10 12:00:00" << "2024/03/10 12:00:00";
}

// The record itself is stored whatever its time; only the marks ignore a time too far ahead,
// and a later page with ordinary times still moves them.
void TestHostileStore::futureTimesLeaveTheMarksAlone()
{
    QFETCH(QString, time);
    QFETCH(QString, mark);
    HostFixture host;
    BaseSqlObject::setClock([] { return localMSecs(QDate(2024, 3, 10), QTime(12, 0)); });
    const bool ahead = mark != time;
    for (int i = 0; ahead && i < 2; ++i)  // the listings' mark, then the communities'
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("sync mark: 1 record time.*first ") + time));
    QVERIFY(writeSyncPage({syncListing(1, time), syncListing(2, "2024/03/05 09:00:00")},
                          {syncCommunity(1, time), syncCommunity(2, "2024/03/05 09:00:00")}));
    CompanySQLConfig_DataSqltable marks(nullptr, false);
    QCOMPARE(marks.lastUpdateTime(), mark);
    QCOMPARE(marks.communityLastUpdateTime(), mark);
    QCOMPARE(storedRow(QStringLiteral("house"), 1).value("lasttime").toString(), time);
    QCOMPARE(storedRow(QStringLiteral("community"), 1).value("lasttime").toString(), time);

    if (!ahead)
        return;
    QVERIFY(writeSyncPage({syncListing(3, "2024/03/09 08:00:00")}, {syncCommunity(3, "2024/03/09 08:00:00")}));
    QCOMPARE(marks.lastUpdateTime(), QStringLiteral("2024/03/09 08:00:00"));
    QCOMPARE(marks.communityLastUpdateTime(), QStringLiteral("2024/03/09 08:00:00"));
}

QTEST_MAIN(TestHostileStore)
#include "tst_hostilestore.moc"
