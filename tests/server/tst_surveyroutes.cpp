// The simulator's review of survey records: refusals of malformed reviews and of records
// that are not the listing's, the review shown by the next load of the listing's records
// (state, remark, the other records untouched), the approved photos joining the listing's
// photo count and column, the survey holder marked reviewed on approval, and who may review
// a record in the office approval flow.
#include "allianceserver.h"
#include "alliancestore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kManager = QStringLiteral("13800000001");
const QString kAgent = QStringLiteral("13800000004");
const QString kReview = QStringLiteral("fd/ShikanShenpi");
// Seeded: listings 3, 23, 43, … have an approved record; 3, 43, … also one awaiting review.
constexpr qint64 kHouse = 43;
constexpr qint64 kOtherHouse = 23;

} // namespace

class TestSurveyRoutes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void refusals_data();
    void refusals();
    void reviewShowsInTheNextLoad();
    void canCheck_data();
    void canCheck();

private:
    Alliance::Answer ask(const QString &path, const Alliance::Form &form, const QString &phone = kManager)
    {
        return m_store->handle(path, form, phone);
    }
    // The listing's survey records as fd/HousePhotoNavigation lists them.
    QJsonArray records(qint64 houseId);
    QJsonObject record(qint64 houseId, const QString &recordId);
    QString recordWithState(qint64 houseId, int state);
    int photoCount(qint64 houseId);
    QJsonObject surveyHolder(qint64 houseId);
    // Puts an unreviewed survey holder on the listing, written into the database file itself.
    bool setUnreviewedHolder(qint64 houseId);

    QTemporaryDir m_dir;
    QScopedPointer<Alliance::Store> m_store;
};

void TestSurveyRoutes::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 60;
    options.communities = 10;
    options.dbPath = m_dir.filePath(QStringLiteral("alliance.db"));
    m_store.reset(new Alliance::Store(options));
    QString error;
    QVERIFY2(m_store->open(&error), qPrintable(error));
}

void TestSurveyRoutes::cleanupTestCase()
{
    m_store->close();
    QSqlDatabase::removeDatabase(QStringLiteral("survey-check"));
}

QJsonArray TestSurveyRoutes::records(qint64 houseId)
{
    const auto answer = ask(QStringLiteral("fd/HousePhotoNavigation"), {{"houseid", QString::number(houseId)}, {"lianmai", "1"}});
    return answer.data.toObject().value(QStringLiteral("list")).toArray();
}

QJsonObject TestSurveyRoutes::record(qint64 houseId, const QString &recordId)
{
    for (const QJsonValue &v : records(houseId)) {
        if (v.toObject().value(QStringLiteral("id")).toVariant().toString() == recordId)
            return v.toObject();
    }
    return {};
}

QString TestSurveyRoutes::recordWithState(qint64 houseId, int state)
{
    for (const QJsonValue &v : records(houseId)) {
        if (v.toObject().value(QStringLiteral("state")).toInt(-1) == state)
            return v.toObject().value(QStringLiteral("id")).toVariant().toString();
    }
    return QString();
}

int TestSurveyRoutes::photoCount(qint64 houseId)
{
    const auto answer = ask(QStringLiteral("app/housebookdetailInfo"), {{"id", QString::number(houseId)}, {"type", "1"}});
    return answer.data.toObject().value(QStringLiteral("photocount")).toInt(-1);
}

QJsonObject TestSurveyRoutes::surveyHolder(qint64 houseId)
{
    const QJsonObject row = ask(QStringLiteral("app/SyncHousebookDetail"), {{"id", QString::number(houseId)}}).data.toObject();
    const QJsonValue holder = row.value(QStringLiteral("replenish")).toObject().value(QStringLiteral("shikanren"));
    return holder.isObject() ? holder.toObject() : QJsonDocument::fromJson(holder.toString().toUtf8()).object();
}

bool TestSurveyRoutes::setUnreviewedHolder(qint64 houseId)
{
    QSqlDatabase db = QSqlDatabase::contains(QStringLiteral("survey-check"))
        ? QSqlDatabase::database(QStringLiteral("survey-check"))
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("survey-check"));
    db.setDatabaseName(m_dir.filePath(QStringLiteral("alliance.db")));
    if (!db.open())
        return false;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("update house set shikanren = ? where id = ?"));
    q.addBindValue(QStringLiteral("{\"name\":\"王五\",\"phone\":\"13800000004\",\"review\":false}"));
    q.addBindValue(houseId);
    return q.exec() && q.numRowsAffected() == 1;
}

void TestSurveyRoutes::refusals_data()
{
    QTest::addColumn<QString>("houseId");
    QTest::addColumn<QString>("recordId");  // "pending": the listing's record awaiting review
    QTest::addColumn<QString>("state");
    QTest::newRow("no such listing") << "999999" << "pending" << "1";
    QTest::newRow("no record") << QString::number(kHouse) << "" << "1";
    QTest::newRow("record 0") << QString::number(kHouse) << "0" << "2";
    QTest::newRow("no such record") << QString::number(kHouse) << "999999" << "1";
    QTest::newRow("record of another listing") << QString::number(kOtherHouse) << "pending" << "1";
    QTest::newRow("unknown state") << QString::number(kHouse) << "pending" << "3";
    QTest::newRow("state as words") << QString::number(kHouse) << "pending" << "通过";
}

void TestSurveyRoutes::refusals()
{
    QFETCH(QString, houseId);
    QFETCH(QString, recordId);
    QFETCH(QString, state);
    const QString pending = recordWithState(kHouse, 0);
    QVERIFY(!pending.isEmpty());
    if (recordId == QLatin1String("pending"))
        recordId = pending;
    const auto answer = ask(kReview, {{"houseid", houseId}, {"shikanid", recordId}, {"state", state}, {"lianmai", "1"}});
    QVERIFY(answer.code != 200);
    QVERIFY(!answer.message.isEmpty());
    QCOMPARE(record(kHouse, pending).value(QStringLiteral("state")).toInt(-1), 0);
}

// A rejection shows with its remark and leaves the listing's photos alone; approving
// afterwards clears the remark, counts the record's photos with the listing's and marks the
// survey holder reviewed.
void TestSurveyRoutes::reviewShowsInTheNextLoad()
{
    const QString pending = recordWithState(kHouse, 0);
    const QString approved = recordWithState(kHouse, 1);
    QVERIFY(!pending.isEmpty() && !approved.isEmpty());
    const int pendingPhotos = record(kHouse, pending).value(QStringLiteral("photos")).toArray().size();
    QVERIFY(pendingPhotos > 0);
    const int before = photoCount(kHouse);
    QVERIFY(setUnreviewedHolder(kHouse));

    QCOMPARE(ask(kReview, {{"houseid", QString::number(kHouse)}, {"shikanid", pending}, {"state", "2"},
                           {"remark", "缺少户型图 & \"厨房\""}, {"lianmai", "1"}}).code, 200);
    QJsonObject shown = record(kHouse, pending);
    QCOMPARE(shown.value(QStringLiteral("state")).toInt(-1), 2);
    QCOMPARE(shown.value(QStringLiteral("remark")).toString(), QStringLiteral("缺少户型图 & \"厨房\""));
    QCOMPARE(record(kHouse, approved).value(QStringLiteral("state")).toInt(-1), 1);
    QCOMPARE(photoCount(kHouse), before);
    QCOMPARE(surveyHolder(kHouse).value(QStringLiteral("review")).toBool(true), false);

    QCOMPARE(ask(kReview, {{"houseid", QString::number(kHouse)}, {"shikanid", pending}, {"xiezuoid", "9"},
                           {"state", "1"}, {"lianmai", "1"}}).code, 200);
    shown = record(kHouse, pending);
    QCOMPARE(shown.value(QStringLiteral("state")).toInt(-1), 1);
    QCOMPARE(shown.value(QStringLiteral("remark")).toString(), QString());
    QCOMPARE(photoCount(kHouse), before + pendingPhotos);
    QCOMPARE(surveyHolder(kHouse).value(QStringLiteral("review")).toBool(), true);
}

void TestSurveyRoutes::canCheck_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<int>("cancheck");
    QTest::newRow("joint-sale manager") << kManager << 1;
    QTest::newRow("agent") << kAgent << 0;
}

void TestSurveyRoutes::canCheck()
{
    QFETCH(QString, phone);
    QFETCH(int, cancheck);
    const auto answer = ask(QStringLiteral("apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck"),
                            {{"houseid", "3"}, {"shikanid", "71"}}, phone);
    QCOMPARE(answer.code, 200);
    QCOMPARE(answer.data.toObject().value(QStringLiteral("cancheck")).toInt(-1), cancheck);
}

QTEST_MAIN(TestSurveyRoutes)
#include "tst_surveyroutes.moc"
