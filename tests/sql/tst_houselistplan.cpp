// The active sale and rent books ordered by id or a sortable column read their page through an
// index in order, never sorting the book, and return the same rows in the same order as the
// plain "order by istop desc, column" statement.
#include "hostfixture.h"
#include "listing.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/housequerybuilder.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

// Distinct values in every sortable column, so that both statements have one order only;
// every seventh listing pinned, half of them on the rent book.
QVariantMap listing(int id)
{
    const QString time = QDateTime(QDate(2024, 1, 1), QTime(8, 0)).addSecs(qint64((id * 37) % 401) * 60)
                             .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    const QString later = QDateTime(QDate(2024, 3, 1), QTime(8, 0)).addSecs(qint64((id * 53) % 401) * 60)
                              .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    Listing l(id);
    if (id % 2 == 0)
        l.rent();
    return l.company(0)
        .top(id % 7 == 0)
        .price((id * 13) % 401 + 0.5)
        .unitPrice(10000 + (id * 17) % 401)
        .area(40 + (id * 19) % 401 / 4.0)
        .created(time)
        .updated(later)
        .set(QStringLiteral("followtime"), later.left(16).replace(QLatin1String("2024"), QLatin1String("2025")));
}

QList<int> idsOf(const QList<HouseMessage_DataSqlTable::HouseMessageData> &rows)
{
    QList<int> ids;
    for (const auto &r : rows)
        ids << r.id;
    return ids;
}

} // namespace

class TestHouseListPlan : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sortedPageReadsAnIndexInOrder_data();
    void sortedPageReadsAnIndexInOrder();
    void pinValuesOtherThanOneAndZeroKeepTheirOrder();
    void rangeFiltersKeepTheCoveringIndex_data();
    void rangeFiltersKeepTheCoveringIndex();

private:
    QStringList plan(const QString &statement);
    QScopedPointer<HostFixture> m_host;
};

void TestHouseListPlan::init()
{
    m_host.reset(new HostFixture);
    m_host->signInAs(TestUser().viewRange(0).grant({}, 0));
    QList<QVariantMap> records;
    for (int id = 1; id <= 400; ++id)
        records << listing(id);
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(records, false), records.size());
}

void TestHouseListPlan::cleanup()
{
    HouseMessage_DataSqlTable::setSortIndexes(true);
    m_host.reset();
}

QStringList TestHouseListPlan::plan(const QString &statement)
{
    QStringList lines;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plan"));
        db.setDatabaseName(HouseMessage_DataSqlTable(nullptr, true).getDBAddress(BaseSqlObject::CompanyDB));
        db.open();
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("explain query plan ") + statement))
            qWarning() << query.lastError().text();
        while (query.next())
            lines << query.value(3).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plan"));
    return lines;
}

void TestHouseListPlan::sortedPageReadsAnIndexInOrder_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("descending");
    for (int mode : {4, 3}) {
        for (const char *key : {"id", "price", "unitprice", "builtuparea", "createtime", "lasttime", "followtime"}) {
            for (bool descending : {true, false})
                QTest::addRow("%s %s %s", mode == 4 ? "sale" : "rent", key, descending ? "desc" : "asc")
                    << mode << QString::fromLatin1(key) << descending;
        }
    }
}

void TestHouseListPlan::sortedPageReadsAnIndexInOrder()
{
    QFETCH(int, mode);
    QFETCH(QString, key);
    QFETCH(bool, descending);
    HouseQuery query;
    query.mode = mode;
    query.conditions = {{QStringLiteral("state"), QStringLiteral("急售,有效,一般,暂缓")}};
    query.sortKey = key;
    query.sortDescending = descending;
    query.page = 2;
    query.pageSize = 20;
    query.fields = QStringList{QStringLiteral("name"), QStringLiteral("createtime")};

    const QStringList lines = plan(HouseMessage_DataSqlTable(nullptr, true).listStatement(query));
    QVERIFY2(!lines.join('\n').contains(QLatin1String("TEMP B-TREE")), qPrintable(lines.join('\n')));
    const QString index = key == QLatin1String("id") ? QStringLiteral("house_kind_order") : QStringLiteral("house_sort_") + key;
    for (const QString &line : lines) {
        if (line.contains(QLatin1String(" house ")) || line.endsWith(QLatin1String(" house")))
            QVERIFY2(line.contains(QLatin1String("INDEX ") + index), qPrintable(line));
    }

    const QList<int> indexed = idsOf(HouseMessage_DataSqlTable(nullptr, true).getHouseList(query));
    HouseMessage_DataSqlTable::setSortIndexes(false);
    const QList<int> sorted = idsOf(HouseMessage_DataSqlTable(nullptr, true).getHouseList(query));
    QCOMPARE(indexed.size(), 20);
    QCOMPARE(indexed, sorted);
}

void TestHouseListPlan::pinValuesOtherThanOneAndZeroKeepTheirOrder()
{
    QVERIFY(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses({Listing(401).company(0).with({{"istop", 2}})},
                                                                           false) == 1);
    HouseQuery query;
    query.mode = 4;
    query.sortKey = QStringLiteral("price");
    query.sortDescending = false;
    QVERIFY(!HouseMessage_DataSqlTable(nullptr, true).listStatement(query).contains(QLatin1String("union all")));
    const QList<int> ids = idsOf(HouseMessage_DataSqlTable(nullptr, true).getHouseList(query));
    QVERIFY(!ids.isEmpty());
    QCOMPARE(ids.first(), 401);
    QVERIFY(ids.at(1) % 7 == 0);  // then the pinned ones
}

void TestHouseListPlan::rangeFiltersKeepTheCoveringIndex_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::newRow("总价") << "price" << "100" << "300";
    QTest::newRow("单价") << "unitPrice" << "10100" << "10300";
    QTest::newRow("面积") << "size" << "50" << "120";
    QTest::newRow("录入时间") << "publishTime" << "2024-01-01" << "2024-01-02";
    QTest::newRow("跟进时间") << "followTime" << "2025-03-01" << "2025-03-02";
}

// A range filter on the newest-first book reads the covering index, not the narrow sort index
// of the filtered column (which would fetch every listing in the range from the table); the
// rows are those of the plain statement.
void TestHouseListPlan::rangeFiltersKeepTheCoveringIndex()
{
    QFETCH(QString, key);
    QFETCH(QString, low);
    QFETCH(QString, high);
    HouseQuery query;
    query.mode = 4;
    query.conditions = {{key + QStringLiteral("_up"), low}, {key + QStringLiteral("_down"), high}};
    query.pageSize = 20;
    const QStringList lines = plan(HouseMessage_DataSqlTable(nullptr, true).listStatement(query));
    for (const QString &line : lines) {
        if (line.contains(QLatin1String(" house ")) || line.endsWith(QLatin1String(" house")))
            QVERIFY2(line.contains(QLatin1String("INDEX house_kind_order")), qPrintable(lines.join('\n')));
    }
    const QList<int> indexed = idsOf(HouseMessage_DataSqlTable(nullptr, true).getHouseList(query));
    HouseMessage_DataSqlTable::setSortIndexes(false);
    QCOMPARE(indexed, idsOf(HouseMessage_DataSqlTable(nullptr, true).getHouseList(query)));
    QVERIFY(!indexed.isEmpty());
}

QTEST_MAIN(TestHouseListPlan)
#include "tst_houselistplan.moc"
