// The simulator's answers behind the listing detail window: the must-follow cycle, follow-ups
// with paging, tags and deletion, call recordings, the change history, the detail counts,
// hidden-number calls, hand-over, viewings; then over HTTP the raw pages, the recording file
// and a fault switch on one of these paths.
#include "allianceserver.h"
#include "alliancestore.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString kManager = QStringLiteral("13800000001");
const QString kAgent = QStringLiteral("13800000002");
const QString kFollowFirst = QStringLiteral("您有房源尚查看后未跟进，请先跟进后再查看其它房源！");

QJsonObject dataOf(const Alliance::Answer &a)
{
    return a.data.toObject();
}

QJsonArray listOf(const Alliance::Answer &a)
{
    return dataOf(a).value(QStringLiteral("list")).toArray();
}

qint64 idOf(const QJsonValue &v)
{
    return v.toObject().value(QStringLiteral("id")).toVariant().toLongLong();
}

} // namespace

class TestDetailRoutes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void mustFollowCycle();
    void followUpsPageTagAndDelete();
    void followTags();
    void recordings();
    void changeHistory();
    void detailInfoMatchesSync();
    void hiddenCall_data();
    void hiddenCall();
    void handOverShowsInSync();
    void collectionToggles();
    void viewings_data();
    void viewings();
    void httpPagesAndFaults();

private:
    Alliance::Answer ask(const QString &path, const Alliance::Form &form, const QString &phone = kManager)
    {
        return m_store->handle(path, form, phone);
    }
    // Listings the manager may view, found by viewing them.
    QList<qint64> viewableIds(int count);
    QJsonObject syncedRecord(qint64 id);

    QTemporaryDir m_dir;
    QScopedPointer<Alliance::Store> m_store;
};

void TestDetailRoutes::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 60;
    options.communities = 20;
    options.dbPath = m_dir.filePath(QStringLiteral("alliance.db"));
    m_store.reset(new Alliance::Store(options));
    QString error;
    QVERIFY2(m_store->open(&error), qPrintable(error));
    m_store->setBaseUrl(QStringLiteral("http://127.0.0.1:1"));
}

QList<qint64> TestDetailRoutes::viewableIds(int count)
{
    QList<qint64> ids;
    for (qint64 id = 20; id <= 60 && ids.size() < count; ++id) {
        if (id % 25 != 1 && ask(QStringLiteral("app/addviews"), {{"id", QString::number(id)}, {"type", "1"}}).code == 200)
            ids << id;
    }
    return ids;
}

QJsonObject TestDetailRoutes::syncedRecord(qint64 id)
{
    return dataOf(ask(QStringLiteral("app/SyncHousebookDetail"), {{"id", QString::number(id)}}));
}

// After a listing is marked as owing its follow-up, every other listing is refused with 128
// and the waiting listing, until that listing is followed up or the mark is cleared.
void TestDetailRoutes::mustFollowCycle()
{
    const QList<qint64> ids = viewableIds(3);
    QCOMPARE(ids.size(), 3);
    const QString w = QString::number(ids.at(0)), other = QString::number(ids.at(1)), third = QString::number(ids.at(2));
    QCOMPARE(ask(QStringLiteral("app/addgenjinlimt"), {{"id", w}, {"type", "1"}}).code, 200);

    const Alliance::Answer refused = ask(QStringLiteral("app/addviews"), {{"id", other}, {"type", "1"}});
    QCOMPARE(refused.code, 128);
    QCOMPARE(refused.message, kFollowFirst);
    QCOMPARE(idOf(refused.data), ids.at(0));
    QCOMPARE(ask(QStringLiteral("app/addviews"), {{"id", w}}).code, 200);
    QVERIFY(ask(QStringLiteral("app/addviews"), {{"id", other}}, kAgent).code != 128);  // only the marked user owes it

    // A follow-up of another listing does not settle the debt; one of the waiting listing does.
    QCOMPARE(ask(QStringLiteral("app/followadd"), {{"id", third}, {"type", "1"}, {"content", "别的房源"}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/addviews"), {{"id", other}}).code, 128);
    QCOMPARE(ask(QStringLiteral("app/followadd"), {{"id", w}, {"type", "1"}, {"content", "已跟进"}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/addviews"), {{"id", other}}).code, 200);

    QCOMPARE(ask(QStringLiteral("app/addgenjinlimt"), {{"id", w}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/addviews"), {{"id", third}}).code, 128);
    QCOMPARE(ask(QStringLiteral("app/cleargenjinlimt"), {{"lianmai", "1"}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/addviews"), {{"id", third}}).code, 200);

    // Views feed the personal history of the next sync.
    const QJsonObject page = dataOf(ask(QStringLiteral("app/LianmaiSyncHousebook"), {{"pageindex", "1"}, {"lasttime", "2018/01/01 00:00:00"},
                                                                                      {"community_lastupdatatime", "2018/01/01 00:00:00"}}));
    const QVariantList history = page.value(QStringLiteral("history")).toArray().toVariantList();
    QVERIFY(history.contains(QVariant(ids.at(2))));
}

void TestDetailRoutes::followUpsPageTagAndDelete()
{
    const QString id = QStringLiteral("2");
    const int countBefore = syncedRecord(2).value(QStringLiteral("follows")).toString().toInt();
    const QString hostile = QStringLiteral("业主说\"价格'可谈\" & 100% 满意 😀 ") + QString(5000, QChar(0x623F));
    for (int k = 1; k <= 11; ++k)
        QCOMPARE(ask(QStringLiteral("app/followadd"), {{"id", id}, {"type", "1"}, {"content", QStringLiteral("跟进%1").arg(k)}}).code, 200);
    const Alliance::Answer added = ask(QStringLiteral("app/followadd"),
                                       {{"id", id}, {"type", "1"}, {"content", hostile}, {"tag", "加急,重要"}, {"tixing", "1"},
                                        {"startdate", "2030-05-06"}, {"starthour", "9"}, {"startminute", "5"},
                                        {"tixinguserid", "5002"}, {"contents", "回访业主"}});
    QCOMPARE(added.code, 200);
    QVERIFY(idOf(added.data) > 0);
    QCOMPARE(ask(QStringLiteral("app/followadd"), {{"id", id}, {"content", "  "}}).code, 405);

    const Alliance::Answer first = ask(QStringLiteral("app/followposts"), {{"id", id}, {"type", "1"}, {"pageindex", "1"}});
    QCOMPARE(dataOf(first).value(QStringLiteral("total")).toInt(), 12);
    QCOMPARE(dataOf(first).value(QStringLiteral("pagesize")).toInt(), 10);
    QCOMPARE(listOf(first).size(), 10);
    const QJsonObject newest = listOf(first).first().toObject();
    QCOMPARE(idOf(newest), idOf(added.data));
    QCOMPARE(newest.value(QStringLiteral("content")).toString(), hostile);
    QCOMPARE(newest.value(QStringLiteral("tag")).toString(), QStringLiteral("加急,重要"));
    QCOMPARE(newest.value(QStringLiteral("tixing")).toInt(), 1);
    QCOMPARE(newest.value(QStringLiteral("tixingtime")).toString(), QStringLiteral("2030-05-06 9:05"));
    QCOMPARE(newest.value(QStringLiteral("tixinguser")).toString(), QStringLiteral("李娜"));
    QCOMPARE(newest.value(QStringLiteral("username")).toString(), QStringLiteral("张伟"));
    QCOMPARE(newest.value(QStringLiteral("own")).toInt(), 1);
    QCOMPARE(listOf(ask(QStringLiteral("app/followposts"), {{"id", id}, {"pageindex", "1"}}, kAgent)).first().toObject()
                 .value(QStringLiteral("own")).toInt(), 0);
    QCOMPARE(listOf(ask(QStringLiteral("app/followposts"), {{"id", id}, {"pageindex", "2"}})).size(), 2);

    // Only the author deletes; the listing's count follows.
    const QString followId = QString::number(idOf(added.data));
    QCOMPARE(ask(QStringLiteral("app/followdel"), {{"id", followId}}, kAgent).code, 405);
    QCOMPARE(ask(QStringLiteral("app/followdel"), {{"id", followId}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/followdel"), {{"id", followId}}).code, 405);
    QCOMPARE(dataOf(ask(QStringLiteral("app/followposts"), {{"id", id}})).value(QStringLiteral("total")).toInt(), 11);
    QCOMPARE(syncedRecord(2).value(QStringLiteral("follows")).toString().toInt(), countBefore + 11);
}

void TestDetailRoutes::followTags()
{
    auto tags = [this](const QString &type) {
        return listOf(ask(QStringLiteral("app/gettag"), {{"type", type}})).toVariantList();
    };
    QVERIFY(tags("1").contains(QStringLiteral("加急")));
    QCOMPARE(ask(QStringLiteral("app/addtag"), {{"type", "1"}, {"tag", "带看 & 回访"}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/addtag"), {{"type", "1"}, {"tag", "带看 & 回访"}}).code, 405);
    QCOMPARE(ask(QStringLiteral("app/addtag"), {{"type", "1"}, {"tag", " "}}).code, 405);
    QVERIFY(tags("1").contains(QStringLiteral("带看 & 回访")));
    QVERIFY(!tags("2").contains(QStringLiteral("带看 & 回访")));  // each kind has its own list
    QCOMPARE(ask(QStringLiteral("app/deltag"), {{"type", "1"}, {"tag", "加急"}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/deltag"), {{"type", "1"}, {"tag", "加急"}}).code, 405);
    QVERIFY(!tags("1").contains(QStringLiteral("加急")));
    QVERIFY(tags("2").contains(QStringLiteral("加急")));
}

// Listing 1's recording is still converting; listing 51's can be fetched, hidden and followed up.
void TestDetailRoutes::recordings()
{
    const Alliance::Answer converting = ask(QStringLiteral("call/getrecordfileX"), {{"id", "700001"}});
    QCOMPARE(converting.code, 200);
    QCOMPARE(converting.message, QStringLiteral("录音内容正在转码处理中，请稍后再进行访问！"));
    QCOMPARE(dataOf(converting).value(QStringLiteral("url")).toString(), QString());
    QCOMPARE(dataOf(ask(QStringLiteral("call/getrecordfileX"), {{"id", "700051"}})).value(QStringLiteral("url")).toString(),
             QStringLiteral("http://127.0.0.1:1/app/call/record/700051.wav"));
    QCOMPARE(ask(QStringLiteral("call/getrecordfileX"), {{"id", "123"}}).code, 405);

    auto recordingRow = [this] {
        for (const QJsonValue &v : listOf(ask(QStringLiteral("app/followposts"), {{"id", "51"}})))
            if (v.toObject().value(QStringLiteral("recordid")).toInt() == 700051)
                return v.toObject();
        return QJsonObject();
    };
    QCOMPARE(recordingRow().value(QStringLiteral("recordhidden")).toInt(), 0);
    QCOMPARE(ask(QStringLiteral("call/recordhidden"), {{"type", "1"}, {"id", "700051"}, {"state", "1"}}).code, 200);
    QCOMPARE(recordingRow().value(QStringLiteral("recordhidden")).toInt(), 1);
    QCOMPARE(ask(QStringLiteral("call/recordhidden"), {{"type", "1"}, {"id", "700051"}, {"state", "2"}}).code, 200);
    QCOMPARE(recordingRow().value(QStringLiteral("recordhidden")).toInt(), 0);
    QCOMPARE(ask(QStringLiteral("call/recordhidden"), {{"type", "1"}, {"id", "700051"}, {"state", "3"}}).code, 405);

    QCOMPARE(ask(QStringLiteral("call/followcall"), {{"id", "700051"}, {"content", "通话后跟进"}}).code, 200);
    QCOMPARE(listOf(ask(QStringLiteral("app/followposts"), {{"id", "51"}})).first().toObject().value(QStringLiteral("content")).toString(),
             QStringLiteral("通话后跟进"));
}

void TestDetailRoutes::changeHistory()
{
    auto history = [this](const QString &id) { return ask(QStringLiteral("app/modifyrecord"), {{"id", id}, {"type", "1"}, {"pageindex", "1"}, {"pagesize", "15"}}); };
    QCOMPARE(dataOf(history("11")).value(QStringLiteral("total")).toInt(), 2);  // seeded

    QCOMPARE(ask(QStringLiteral("app/housebooknewstate"), {{"id", "12"}, {"state", "已售"}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/housebookzhuangongpan"), {{"id", "12"}}).code, 200);
    QCOMPARE(ask(QStringLiteral("app/housebooknewstate"), {{"id", "12"}, {"state", ""}}).code, 405);  // refused: not written
    const QJsonArray rows = listOf(history("12"));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).toObject().value(QStringLiteral("content")).toString(), QStringLiteral("房源转为公盘"));
    QCOMPARE(rows.at(1).toObject().value(QStringLiteral("content")).toString(), QStringLiteral("房源状态修改为已售"));
    QCOMPARE(rows.at(1).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("张伟"));
    QVERIFY(QDateTime::fromString(rows.at(0).toObject().value(QStringLiteral("time")).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid());
    QCOMPARE(syncedRecord(12).value(QStringLiteral("stype")).toInt(), 0);
}

// The detail counts carry the listing's update time in the detail window's form.
void TestDetailRoutes::detailInfoMatchesSync()
{
    QCOMPARE(ask(QStringLiteral("fd/hbpictureadd"), {{"id", "13"}, {"photo", "a.jpg,b.jpg"}}).code, 200);
    const QJsonObject record = syncedRecord(13);
    const QJsonObject info = dataOf(ask(QStringLiteral("app/housebookdetailInfo"), {{"id", "13"}}));
    QCOMPARE(record.contains(QStringLiteral("replenish")), true);  // the sync's detail keeps its shape
    const QString lasttime = info.value(QStringLiteral("lasttime")).toString();
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$")).match(lasttime).hasMatch());
    QCOMPARE(Alliance::parseTime(lasttime), Alliance::parseTime(record.value(QStringLiteral("lasttime")).toString()));
    QCOMPARE(info.value(QStringLiteral("photocount")).toInt(),
             record.value(QStringLiteral("photo")).toString().split(QLatin1Char(','), Qt::SkipEmptyParts).size());
    QCOMPARE(info.value(QStringLiteral("videocount")).toInt(), record.value(QStringLiteral("havevideo")).toInt() ? 1 : 0);
    QCOMPARE(ask(QStringLiteral("app/housebookdetailInfo"), {{"id", "99999"}}).code, 405);
}

void TestDetailRoutes::hiddenCall_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<int>("code");
    QTest::newRow("credit") << kManager << 200;
    QTest::newRow("no balance") << "13900000046" << 101;
    QTest::newRow("expired") << "13900000047" << 102;
    QTest::newRow("not opened") << "13900000048" << 103;
}

void TestDetailRoutes::hiddenCall()
{
    QFETCH(QString, phone);
    QFETCH(int, code);
    const Alliance::Form form{{"type", "1"}, {"itemid", "14"}, {"wphone", "13912345678"}};
    const Alliance::Answer answer = ask(QStringLiteral("call/LianmaiGetPhoneV2"), form, phone);
    QCOMPARE(answer.code, code);
    if (code != 200) {
        QVERIFY(!answer.message.isEmpty());
        // A top-up through the call library lets the user call.
        QCOMPARE(ask(QStringLiteral("call/recharge"), {{"amount", "50"}}, phone).code, 200);
        QCOMPARE(ask(QStringLiteral("call/LianmaiGetPhoneV2"), form, phone).code, 200);
        return;
    }
    QCOMPARE(dataOf(answer).value(QStringLiteral("caller")).toString(), phone);
    QVERIFY(dataOf(answer).value(QStringLiteral("called")).toString().startsWith(QStringLiteral("170")));
    QCOMPARE(ask(QStringLiteral("app/showphone"), {{"id", "14"}, {"type", "1"}, {"itemtype", "2"}}).code, 200);
}

void TestDetailRoutes::handOverShowsInSync()
{
    // 李娜 is user 5002.
    QCOMPARE(ask(QStringLiteral("app/LianmaiHouseFenpei"), {{"id", "15"}, {"companyid", "101"}, {"yonghuid", "5001"},
                                                           {"ncompanyid", "101"}, {"nuserid", "5002"}}).code, 200);
    const QJsonObject record = syncedRecord(15);
    QCOMPARE(record.value(QStringLiteral("userphone")).toString(), kAgent);
    QCOMPARE(record.value(QStringLiteral("replenish")).toObject().value(QStringLiteral("lururen")).toObject()
                 .value(QStringLiteral("phone")).toString(), kAgent);
    QCOMPARE(listOf(ask(QStringLiteral("app/modifyrecord"), {{"id", "15"}})).first().toObject().value(QStringLiteral("content")).toString(),
             QStringLiteral("录入人变更为李娜"));
    QCOMPARE(ask(QStringLiteral("app/LianmaiHouseFenpei"), {{"id", "15"}, {"nuserid", "1"}}).code, 405);
}

// `type` names the listing's kind; it must not decide the collection state.
void TestDetailRoutes::collectionToggles()
{
    const Alliance::Form form{{"id", "16"}, {"type", "1"}};
    QCOMPARE(dataOf(ask(QStringLiteral("app/collection"), form)).value(QStringLiteral("collection")).toBool(), true);
    QCOMPARE(dataOf(ask(QStringLiteral("app/collection"), form)).value(QStringLiteral("collection")).toBool(), false);
}

void TestDetailRoutes::viewings_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("total");
    QTest::newRow("none") << "2" << 1 << 0 << 0;
    QTest::newRow("few") << "6" << 1 << 3 << 3;
    QTest::newRow("first of two pages") << "10" << 1 << 15 << 18;
    QTest::newRow("second page") << "10" << 2 << 3 << 18;
    QTest::newRow("gone") << "99999" << 1 << 0 << 0;
}

void TestDetailRoutes::viewings()
{
    QFETCH(QString, id);
    QFETCH(int, page);
    QFETCH(int, rows);
    QFETCH(int, total);
    const Alliance::Answer a = ask(QStringLiteral("client/house_daikan_posts"), {{"houseid", id}, {"pageindex", QString::number(page)}, {"pagesize", "15"}});
    QCOMPARE(listOf(a).size(), rows);
    QCOMPARE(dataOf(a).value(QStringLiteral("total")).toInt(), total);
    for (const QJsonValue &v : listOf(a))
        for (const char *key : {"clientname", "clientphone", "username", "time", "agentphone", "houseid"})
            QVERIFY2(v.toObject().contains(QLatin1String(key)), key);
}

void TestDetailRoutes::httpPagesAndFaults()
{
    AllianceServer::Options options;
    options.listings = 60;
    options.communities = 20;
    AllianceServer server(options);
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    auto get = [&nam](const QString &url, int *status = nullptr) {
        QNetworkReply *reply = nam.get(QNetworkRequest(QUrl(url)));
        QSignalSpy done(reply, &QNetworkReply::finished);
        done.wait(15000);
        if (status)
            *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        reply->deleteLater();
        return reply->readAll();
    };
    const QString app = server.rootUrl(QStringLiteral("app"));
    const QString map = QString::fromUtf8(get(app + "map/residence.html?lng=117.25&lat=31.83"));
    QVERIFY(map.contains(QStringLiteral("117.25")) && map.contains(QStringLiteral("31.83")));
    QVERIFY(!map.contains(QStringLiteral("http")));  // nothing loaded from elsewhere
    const QString player = QString::fromUtf8(get(app + "call/player.html?url=" + QUrl::toPercentEncoding(app + "call/record/700051.wav?a=1&b=\"2\"")));
    QVERIFY(player.contains(QStringLiteral("<audio")) && player.contains(QStringLiteral("autoplay")));
    QVERIFY(player.contains(QStringLiteral("700051.wav?a=1&amp;b=&quot;2&quot;")));
    QVERIFY(get(app + "call/record/700051.wav").startsWith("RIFF"));

    AllianceServer::Fault fault;
    fault.status500 = true;
    server.setFault(QStringLiteral("call/record.wav"), fault);
    int status = 0;
    get(app + "call/record/700051.wav", &status);
    QCOMPARE(status, 500);
    fault = AllianceServer::Fault();
    fault.refuse405 = true;
    fault.message = QStringLiteral("跟进服务维护中");
    server.setFault(QStringLiteral("app/followposts"), fault);
    const QByteArray refused = get(app + "app/followposts?id=1&pageindex=1");
    QCOMPARE(QJsonDocument::fromJson(refused).object().value(QStringLiteral("code")).toInt(), 405);
    QCOMPARE(QJsonDocument::fromJson(refused).object().value(QStringLiteral("message")).toString(), QStringLiteral("跟进服务维护中"));
    QCOMPARE(server.hits(QStringLiteral("app/followposts")), 1);
}

QTEST_MAIN(TestDetailRoutes)
#include "tst_detailroutes.moc"
