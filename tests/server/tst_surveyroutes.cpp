// The simulator's review of survey records: refusals of malformed reviews, the stored state
// and remark per record, the survey holder marked reviewed on approval, and who may review a
// record in the office approval flow.
#include "allianceserver.h"
#include "alliancestore.h"

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

} // namespace

class TestSurveyRoutes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void refusals_data();
    void refusals();
    void reviewIsStoredPerRecord();
    void canCheck_data();
    void canCheck();

private:
    Alliance::Answer ask(const QString &path, const Alliance::Form &form, const QString &phone = kManager)
    {
        return m_store->handle(path, form, phone);
    }
    // The stored state and remark of a record, read from the database file itself.
    QPair<int, QString> stored(const QString &recordId);
    QJsonObject surveyHolder(qint64 houseId);

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

QPair<int, QString> TestSurveyRoutes::stored(const QString &recordId)
{
    QPair<int, QString> result{-1, QString()};
    {
        QSqlDatabase db = QSqlDatabase::contains(QStringLiteral("survey-check"))
            ? QSqlDatabase::database(QStringLiteral("survey-check"))
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("survey-check"));
        db.setDatabaseName(m_dir.filePath(QStringLiteral("alliance.db")));
        if (!db.open())
            return result;
        QSqlQuery q(db);
        q.prepare(QStringLiteral("select state, remark from survey_reviews where recordid=?"));
        q.addBindValue(recordId);
        if (q.exec() && q.next())
            result = {q.value(0).toInt(), q.value(1).toString()};
    }
    return result;
}

QJsonObject TestSurveyRoutes::surveyHolder(qint64 houseId)
{
    const QJsonObject row = ask(QStringLiteral("app/SyncHousebookDetail"), {{"id", QString::number(houseId)}}).data.toObject();
    const QJsonValue holder = row.value(QStringLiteral("replenish")).toObject().value(QStringLiteral("shikanren"));
    return holder.isObject() ? holder.toObject() : QJsonDocument::fromJson(holder.toString().toUtf8()).object();
}

void TestSurveyRoutes::refusals_data()
{
    QTest::addColumn<QString>("houseId");
    QTest::addColumn<QString>("recordId");
    QTest::addColumn<QString>("state");
    QTest::newRow("no such listing") << "999999" << "5" << "1";
    QTest::newRow("no record") << "3" << "" << "1";
    QTest::newRow("record 0") << "3" << "0" << "2";
    QTest::newRow("unknown state") << "3" << "5" << "3";
    QTest::newRow("state as words") << "3" << "5" << "通过";
}

void TestSurveyRoutes::refusals()
{
    QFETCH(QString, houseId);
    QFETCH(QString, recordId);
    QFETCH(QString, state);
    const auto answer = ask(kReview, {{"houseid", houseId}, {"shikanid", recordId}, {"state", state}, {"lianmai", "1"}});
    QVERIFY(answer.code != 200);
    QVERIFY(!answer.message.isEmpty());
}

// A rejection keeps its remark; approving afterwards clears it and marks the survey holder.
void TestSurveyRoutes::reviewIsStoredPerRecord()
{
    // A listing whose survey holder still waits for review, else any with a holder.
    qint64 house = 0;
    for (qint64 id = 1; id <= 60; ++id) {
        const QJsonObject holder = surveyHolder(id);
        if (holder.isEmpty())
            continue;
        if (house == 0 || !holder.value(QStringLiteral("review")).toBool())
            house = id;
        if (!holder.value(QStringLiteral("review")).toBool())
            break;
    }
    QVERIFY(house > 0);
    const QString id = QString::number(house);
    QCOMPARE(ask(kReview, {{"houseid", id}, {"shikanid", "71"}, {"state", "2"}, {"remark", "缺少户型图"}}).code, 200);
    QCOMPARE(stored("71"), qMakePair(2, QStringLiteral("缺少户型图")));
    QCOMPARE(stored("72").first, -1);  // other records are untouched

    QCOMPARE(ask(kReview, {{"houseid", id}, {"shikanid", "71"}, {"xiezuoid", "9"}, {"state", "1"}}).code, 200);
    QCOMPARE(stored("71"), qMakePair(1, QString()));
    QCOMPARE(surveyHolder(house).value(QStringLiteral("review")).toBool(), true);
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
