// The local store against hostile input: search texts carrying lone surrogates and NULs.
#include "datacenter.h"
#include "hostfixture.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/housequerybuilder.h"
#include "sql/usermessage_datasqltable.h"

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

// The same text as valid Unicode: what the store may look for.
QString repairedText(const QString &kind, const QString &closers)
{
    return QString(surrogates(kind).size(), QChar(QChar::ReplacementCharacter)) + QLatin1Char('\'') + closers
           + QStringLiteral(" or 1=1 ");
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
            << repairedText(QLatin1String(kind), closers);
    }
}

// A sale listing on the shelf in the user's city, company and department.
QVariantMap listing(int id, const QVariantMap &changes)
{
    QVariantMap m{{"id", id},          {"types", 0},         {"userphone", "13900000009"}, {"mycommunityid", 100},
                  {"name", "阳光花园"}, {"housestatus", 1},   {"cityid", 340100},           {"companyid", 1001},
                  {"isdel", 0},         {"sf", 0},            {"stype", 0},                 {"deptid", 11},
                  {"fbcompanyid", 1001}, {"newstate", "有效"}, {"lasttime", "2024/03/01 10:00:00"}};
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        m.insert(it.key(), it.value());
    return m;
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

// A signed-in user without rights of their own, in department 11.
void signInWithoutRights()
{
    UserMessage_DataSqlTable user(nullptr, false);
    QVERIFY(user.updateColumn(QStringLiteral("bumens"), QStringLiteral(R"({"suozai_bumens":[{"id":11,"name":"一部"}],)"
                                                                       R"("sons":[{"dept_id":10,"sons":[{"dept_id":11}]}]})")));
    QVERIFY(user.updateColumn(QStringLiteral("userauth"), QStringLiteral("[]")));
    DataCenter::isManager = false;
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

} // namespace

class TestHostileStore : public QObject
{
    Q_OBJECT
private slots:
    void surrogatesStayInListingLiterals_data();
    void surrogatesStayInListingLiterals();
    void surrogatesStayInCommunityLiterals_data();
    void surrogatesStayInCommunityLiterals();
};

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
    signInWithoutRights();
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

QTEST_MAIN(TestHostileStore)
#include "tst_hostilestore.moc"
