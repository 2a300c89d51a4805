// The simulator's maintainer records (app/HouseMaintain): the days since each maintained
// listing was last changed or followed up count from the present, spread as a real book's
// would, so the maintainer worklist shows more than one number.
#include "alliancestore.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

class TestMaintainerDays : public QObject
{
    Q_OBJECT
private slots:
    void daysCountFromThePresent();
};

void TestMaintainerDays::daysCountFromThePresent()
{
    QTemporaryDir dir;
    AllianceServer::Options options;
    options.listings = 2000;
    options.dbPath = dir.filePath(QStringLiteral("alliance.db"));
    Alliance::Store store(options);
    QString error;
    QVERIFY2(store.open(&error), qPrintable(error));
    // The manager: every maintained listing of the company.
    const Alliance::Answer answer = store.handle(QStringLiteral("app/HouseMaintain"), {}, QStringLiteral("13800000001"));
    store.close();
    QCOMPARE(answer.code, 200);
    QList<int> days;
    for (const QJsonValue &entry : answer.data.toArray()) {
        bool isNumber = false;
        days << entry.toObject().value(QStringLiteral("days")).toString().toInt(&isNumber);
        QVERIFY(isNumber);
    }
    QVERIFY(days.size() > 100);
    std::sort(days.begin(), days.end());
    QVERIFY2(days.first() >= 0, qPrintable(QString::number(days.first())));
    // Some listings were touched in the last weeks; the shortest twenty are not one value.
    QVERIFY2(days.first() <= 7, qPrintable(QString::number(days.first())));
    const QList<int> shortest = days.mid(0, 20);
    QVERIFY(QSet<int>(shortest.cbegin(), shortest.cend()).size() >= 5);
    QVERIFY(days.last() <= 700);
}

QTEST_MAIN(TestMaintainerDays)
#include "tst_maintainerdays.moc"
