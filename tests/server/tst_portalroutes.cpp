// The simulator's portal exchange: a push stores the whole form and the status queries reflect
// it until a takedown; malformed or unknown pushes are refused and store nothing; the 58 company
// id is read from the address; XinfuLi's portal data follows the entering agent, the company and
// the listing; the listing's video; the community editor's save reaches the next sync; the
// seeded communities without a map position or with impossible build years.
#include "allianceserver.h"
#include "alliancestore.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QString kManager = QStringLiteral("13800000001");
const QString kWithoutCertificate = QStringLiteral("13800000003");  // 王强, user id 5003

} // namespace

class TestPortalRoutes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pushThenTakedown_data();
    void pushThenTakedown();
    void refusedFormsStoreNothing_data();
    void refusedFormsStoreNothing();
    void companyIdFromTheAddress();
    void companyWithoutXinfuLi();
    void xinfuLiInfoFollowsTheListing();
    void listingVideo();
    void communityEditReachesTheSync();
    void communityEditRefusals_data();
    void communityEditRefusals();
    void seededCommunityGaps();

private:
    Alliance::Answer ask(const QString &path, Alliance::Form form)
    {
        form.insert(QStringLiteral("lianmai"), QStringLiteral("1"));
        return m_store->handle(path, form, kManager);
    }
    int housestatus(const QString &path, const Alliance::Form &form)
    {
        return ask(path, form).data.toObject().value(QStringLiteral("housestatus")).toInt(-1);
    }
    // The first seeded listing the predicate takes, as the detail sync gives it; 0 when none.
    qint64 listingWhere(const std::function<bool(const QJsonObject &)> &take)
    {
        for (int id = 1; id <= m_options.listings; ++id) {
            const Alliance::Answer a = ask(QStringLiteral("app/SyncHousebookDetail"), {{"id", QString::number(id)}});
            if (a.code == 200 && take(a.data.toObject()))
                return id;
        }
        return 0;
    }
    static int companyOf(const QJsonObject &listing) { return listing.value(QStringLiteral("companyid")).toInt(); }
    // Communities changed after the mark, as the company book's sync hands them out.
    QHash<qint64, QJsonObject> syncedCommunities(const QString &mark = QStringLiteral("0"));

    QTemporaryDir m_dir;
    AllianceServer::Options m_options;
    QScopedPointer<Alliance::Store> m_store;
};

void TestPortalRoutes::initTestCase()
{
    m_options.listings = 120;
    m_options.communities = 40;
    m_options.dbPath = m_dir.filePath(QStringLiteral("alliance.db"));
    m_store.reset(new Alliance::Store(m_options));
    QString error;
    QVERIFY2(m_store->open(&error), qPrintable(error));
}

void TestPortalRoutes::pushThenTakedown_data()
{
    QTest::addColumn<QString>("portal");
    QTest::addColumn<QString>("statusPath");
    QTest::addColumn<QString>("pushPath");
    QTest::addColumn<QString>("removePath");
    QTest::addColumn<QString>("idKey");
    QTest::addColumn<int>("off");
    QTest::addColumn<int>("on");
    QTest::addColumn<QString>("reason");
    QTest::newRow("58") << "58" << "Wubapush/housestatus" << "Wubapush/datahouse" << "Wubapush/delclaimhouse" << "bianhao" << 0 << 1 << "";
    QTest::newRow("xinfuli") << "xinfuli" << "VtApp/housestatus" << "VtApp/houseimport" << "VtApp/houseremove" << "house_id" << 1 << 2
                             << "房源状态修改为：已售";
}

// A second push replaces the stored form; the takedown keeps it with the reason.
void TestPortalRoutes::pushThenTakedown()
{
    QFETCH(QString, portal);
    QFETCH(QString, statusPath);
    QFETCH(QString, pushPath);
    QFETCH(QString, removePath);
    QFETCH(QString, idKey);
    QFETCH(int, off);
    QFETCH(int, on);
    QFETCH(QString, reason);
    // Past the listings the refusals below name.
    const qint64 id = listingWhere([](const QJsonObject &l) { return companyOf(l) == 101 && l.value(QStringLiteral("id")).toInt() > 10; });
    QVERIFY(id > 0);
    const Alliance::Form key{{idKey, QString::number(id)}, {"companyid", "101"}};
    QCOMPARE(housestatus(statusPath, key), off);

    Alliance::Form form = key;
    form.insert(QStringLiteral("title"), QStringLiteral("第一次"));
    QCOMPARE(ask(pushPath, form).code, 200);
    form.insert(QStringLiteral("title"), QStringLiteral("南北通透 & 100% \"满五\""));
    form.insert(QStringLiteral("house_image"), QStringLiteral(R"([{"image_uri":"a.jpg","is_head":1}])"));
    QCOMPARE(ask(pushPath, form).code, 200);
    QCOMPARE(housestatus(statusPath, key), on);
    QVariantMap stored = m_store->portalRecord(portal, id);
    QCOMPARE(stored.value(QStringLiteral("status")).toInt(), 1);
    QCOMPARE(stored.value(QStringLiteral("form")).toMap().value(QStringLiteral("title")).toString(), form.value(QStringLiteral("title")));
    QCOMPARE(stored.value(QStringLiteral("form")).toMap().value(QStringLiteral("house_image")).toString(),
             form.value(QStringLiteral("house_image")));

    Alliance::Form remove = key;
    remove.insert(QStringLiteral("reason"), reason);
    QCOMPARE(ask(removePath, remove).code, 200);
    QCOMPARE(housestatus(statusPath, key), off);
    stored = m_store->portalRecord(portal, id);
    QCOMPARE(stored.value(QStringLiteral("status")).toInt(), 0);
    QCOMPARE(stored.value(QStringLiteral("reason")).toString(), reason);
    QVERIFY(stored.value(QStringLiteral("time")).toLongLong() > 0);
    QCOMPARE(stored.value(QStringLiteral("form")).toMap().value(QStringLiteral("title")).toString(), form.value(QStringLiteral("title")));
}

void TestPortalRoutes::refusedFormsStoreNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("portal");
    QTest::addColumn<Alliance::Form>("form");
    QTest::addColumn<QString>("message");
    QTest::newRow("58 without bianhao") << "Wubapush/datahouse" << "58" << Alliance::Form{{"companyid", "101"}, {"title", "x"}} << "缺少房源编号";
    QTest::newRow("58 unknown listing") << "Wubapush/datahouse" << "58" << Alliance::Form{{"bianhao", "99999"}, {"companyid", "101"}}
                                        << "房源不存在或已被删除";
    QTest::newRow("58 without company") << "Wubapush/datahouse" << "58" << Alliance::Form{{"bianhao", "5"}} << "缺少公司编号";
    QTest::newRow("58 video before the listing") << "Wubapush/addhousevideo" << "58video"
                                                 << Alliance::Form{{"bianhao", "5"}, {"companyid", "101"}} << "房源未推送到58，无法添加视频";
    QTest::newRow("58 takedown unknown") << "Wubapush/delclaimhouse" << "58" << Alliance::Form{{"bianhao", "99999"}, {"companyid", "101"}}
                                         << "房源不存在或已被删除";
    QTest::newRow("xinfuli without house_id") << "VtApp/houseimport" << "xinfuli" << Alliance::Form{{"companyid", "101"}} << "缺少房源编号";
    QTest::newRow("xinfuli text house_id") << "VtApp/houseimport" << "xinfuli" << Alliance::Form{{"house_id", "5a"}, {"companyid", "101"}}
                                           << "缺少房源编号";
    QTest::newRow("xinfuli unknown") << "VtApp/houseimport" << "xinfuli" << Alliance::Form{{"house_id", "99999"}, {"companyid", "101"}}
                                     << "房源不存在或已被删除";
    QTest::newRow("xinfuli takedown without reason") << "VtApp/houseremove" << "xinfuli"
                                                     << Alliance::Form{{"house_id", "5"}, {"companyid", "101"}, {"reason", " "}}
                                                     << "请输入下架原因";
}

void TestPortalRoutes::refusedFormsStoreNothing()
{
    QFETCH(QString, path);
    QFETCH(QString, portal);
    QFETCH(Alliance::Form, form);
    QFETCH(QString, message);
    const Alliance::Answer a = ask(path, form);
    QCOMPARE(a.code, 405);
    QCOMPARE(a.message, message);
    for (qint64 id : {5, 99999})
        QVERIFY(m_store->portalRecord(portal, id).isEmpty());
}

// The 58 requests carry the company id in the address of a form post.
void TestPortalRoutes::companyIdFromTheAddress()
{
    AllianceServer::Options options;
    options.listings = 20;
    options.communities = 5;
    AllianceServer server(options);
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    auto post = [&](const QString &address) {
        QNetworkRequest request{QUrl(server.rootUrl(QStringLiteral("web")) + address)};
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
        QScopedPointer<QNetworkReply> reply(nam.post(request, QByteArray("bianhao=7&cateid=12&lianmai=1")));
        QSignalSpy done(reply.data(), &QNetworkReply::finished);
        if (!reply->isFinished())
            done.wait(10000);
        return QJsonDocument::fromJson(reply->readAll()).object();
    };
    QCOMPARE(post(QStringLiteral("Wubapush/datahouse")).value(QStringLiteral("message")).toString(), QStringLiteral("缺少公司编号"));
    QVERIFY(server.portalRecord(QStringLiteral("58"), 7).isEmpty());
    const QJsonObject answer = post(QStringLiteral("Wubapush/datahouse?companyid=101"));
    QCOMPARE(answer.value(QStringLiteral("code")).toInt(), 200);
    QCOMPARE(answer.value(QStringLiteral("message")).toString(), QStringLiteral("操作成功"));
    const QVariantMap form = server.portalRecord(QStringLiteral("58"), 7).value(QStringLiteral("form")).toMap();
    QCOMPARE(form.value(QStringLiteral("companyid")).toString(), QStringLiteral("101"));
    QCOMPARE(form.value(QStringLiteral("cateid")).toString(), QStringLiteral("12"));
    QCOMPARE(post(QStringLiteral("Wubapush/housestatus?companyid=101")).value(QStringLiteral("data")).toObject()
                 .value(QStringLiteral("housestatus")).toInt(), 1);
}

// Company 104 has not signed up: its listings read 0 and cannot be pushed, the others can.
void TestPortalRoutes::companyWithoutXinfuLi()
{
    const qint64 id = listingWhere([](const QJsonObject &l) { return companyOf(l) == 104; });
    QVERIFY(id > 0);
    const Alliance::Form key{{"house_id", QString::number(id)}, {"companyid", "104"}};
    QCOMPARE(housestatus(QStringLiteral("VtApp/housestatus"), key), 0);
    QCOMPARE(ask(QStringLiteral("VtApp/houseimport"), key).message, QStringLiteral("该公司未开通幸福里"));
    QVERIFY(m_store->portalRecord(QStringLiteral("xinfuli"), id).isEmpty());
    const qint64 other = listingWhere([](const QJsonObject &l) { return companyOf(l) == 102; });
    QCOMPARE(housestatus(QStringLiteral("VtApp/housestatus"), {{"house_id", QString::number(other)}, {"companyid", "104"}}), 1);
}

void TestPortalRoutes::xinfuLiInfoFollowsTheListing()
{
    auto info = [&](qint64 id) {
        return ask(QStringLiteral("search/xinfuli/info"), {{"houseid", QString::number(id)}}).data.toObject();
    };
    // An ordinary listing: its entering agent, company and code.
    const qint64 id = listingWhere([](const QJsonObject &l) { return l.value(QStringLiteral("id")).toInt() % 10 != 9; });
    const QJsonObject listing = ask(QStringLiteral("app/SyncHousebookDetail"), {{"id", QString::number(id)}}).data.toObject();
    const QJsonObject enterer = listing.value(QStringLiteral("replenish")).toObject().value(QStringLiteral("lururen")).toObject();
    QJsonObject o = info(id);
    const QJsonObject realtor = o.value(QStringLiteral("realtor")).toObject();
    QCOMPARE(realtor.value(QStringLiteral("user_name")).toString(), enterer.value(QStringLiteral("name")).toString());
    QCOMPARE(realtor.value(QStringLiteral("phone")).toString(), enterer.value(QStringLiteral("phone")).toString());
    QCOMPARE(realtor.value(QStringLiteral("certNo")).toString().isEmpty(), enterer.value(QStringLiteral("phone")).toString() == kWithoutCertificate);
    QCOMPARE(o.value(QStringLiteral("corp")).toObject().value(QStringLiteral("corp_name")).toString(),
             listing.value(QStringLiteral("companyname")).toString());
    QCOMPARE(o.value(QStringLiteral("top")).toObject().value(QStringLiteral("top_username")).toString(), realtor.value(QStringLiteral("user_name")).toString());
    QCOMPARE(o.value(QStringLiteral("district_name")).toString(), listing.value(QStringLiteral("district")).toString());
    QVERIFY(!o.value(QStringLiteral("entrustAgreementNo")).toString().isEmpty());
    for (const char *key : {"neighborhood_id", "city_name", "area_name", "house_code"})
        QVERIFY2(!o.value(QLatin1String(key)).toString().isEmpty(), key);
    for (const char *key : {"realtor_id", "show_phone", "agency_name", "realtor_code", "qualificationCertificate", "realtor_id_num"})
        QVERIFY2(realtor.contains(QLatin1String(key)), key);

    // Handed to the agent without a certificate number, the listing has none either.
    QCOMPARE(ask(QStringLiteral("app/LianmaiHouseFenpei"), {{"id", QString::number(id)}, {"nuserid", "5003"}}).code, 200);
    o = info(id);
    QCOMPARE(o.value(QStringLiteral("realtor")).toObject().value(QStringLiteral("phone")).toString(), kWithoutCertificate);
    QCOMPARE(o.value(QStringLiteral("realtor")).toObject().value(QStringLiteral("certNo")).toString(), QString());
    QCOMPARE(o.value(QStringLiteral("top")).toObject().value(QStringLiteral("top_userid")).toString(), QStringLiteral("5003"));

    QCOMPARE(info(19).value(QStringLiteral("entrustAgreementNo")).toString(), QString());
    QCOMPARE(ask(QStringLiteral("search/xinfuli/info"), {{"houseid", "99999"}}).code, 405);
}

// Seeded videos on listings 3, 63, …; an upload leads.
void TestPortalRoutes::listingVideo()
{
    auto videos = [&](int id) {
        return ask(QStringLiteral("fd/getHouseVod"), {{"houseid", QString::number(id)}}).data.toObject().value(QStringLiteral("list")).toArray();
    };
    QCOMPARE(videos(3).size(), 1);
    QVERIFY(videos(3).first().toObject().value(QStringLiteral("url")).toString().endsWith(QLatin1String(".mp4")));
    QVERIFY(videos(4).isEmpty());
    const QString uploaded = ask(QStringLiteral("fd/uploadvod"), {{"houseid", "3"}, {"file", "v.mp4"},
                                                                  {"file.bytes", QString::fromLatin1(QByteArray("movie").toBase64())}})
                                 .data.toObject().value(QStringLiteral("url")).toString();
    QVERIFY(!uploaded.isEmpty());
    QCOMPARE(videos(3).size(), 2);
    QCOMPARE(videos(3).first().toObject().value(QStringLiteral("url")).toString(), uploaded);
}

QHash<qint64, QJsonObject> TestPortalRoutes::syncedCommunities(const QString &mark)
{
    QHash<qint64, QJsonObject> found;
    for (int page = 1; page < 50; ++page) {
        const QJsonObject data = ask(QStringLiteral("app/synchousebook"), {{"pageindex", QString::number(page)},
                                                                          {"lasttime", mark},
                                                                          {"community_lastupdatatime", mark}})
                                     .data.toObject();
        for (const QJsonValue &v : data.value(QStringLiteral("community")).toArray())
            found.insert(v.toObject().value(QStringLiteral("id")).toVariant().toLongLong(), v.toObject());
        if (!data.value(QStringLiteral("nextpage")).toBool())
            break;
    }
    return found;
}

void TestPortalRoutes::communityEditReachesTheSync()
{
    // Every change gets a time of at least now; the seeded ones are older.
    const QString now = Alliance::serverTime(QDateTime::currentSecsSinceEpoch() - 1);
    QVERIFY(syncedCommunities(now).isEmpty());
    const Alliance::Answer saved = ask(QStringLiteral("house/xiaoqu/edit"), {{"id", "1006"}, {"lng", "117.2283"}, {"lat", "31.8206"}});
    QCOMPARE(saved.code, 200);
    QCOMPARE(ask(QStringLiteral("house/xiaoqu/edit"), {{"id", "1008"}, {"years", "2009"}}).code, 200);
    const QHash<qint64, QJsonObject> changed = syncedCommunities(now);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed.value(1006).value(QStringLiteral("lng")).toString(), QStringLiteral("117.2283"));
    QCOMPARE(changed.value(1006).value(QStringLiteral("lat")).toString(), QStringLiteral("31.8206"));
    QCOMPARE(changed.value(1008).value(QStringLiteral("years")).toString(), QStringLiteral("2009"));
    QCOMPARE(changed.value(1008).value(QStringLiteral("name")), syncedCommunities().value(1008).value(QStringLiteral("name")));
}

void TestPortalRoutes::communityEditRefusals_data()
{
    QTest::addColumn<Alliance::Form>("form");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown") << Alliance::Form{{"id", "99999"}, {"years", "2001"}} << "小区不存在";
    QTest::newRow("text lng") << Alliance::Form{{"id", "1011"}, {"lng", "东经117"}, {"lat", "31.8"}} << "经纬度格式错误";
    QTest::newRow("lat missing") << Alliance::Form{{"id", "1011"}, {"lng", "117.2"}} << "经纬度格式错误";
    QTest::newRow("text year") << Alliance::Form{{"id", "1011"}, {"years", "2008年"}} << "建筑年代格式错误";
}

void TestPortalRoutes::communityEditRefusals()
{
    QFETCH(Alliance::Form, form);
    QFETCH(QString, message);
    const QJsonObject before = syncedCommunities().value(1011);
    const Alliance::Answer a = ask(QStringLiteral("house/xiaoqu/edit"), form);
    QCOMPARE(a.code, 405);
    QCOMPARE(a.message, message);
    QCOMPARE(syncedCommunities().value(1011), before);
}

void TestPortalRoutes::seededCommunityGaps()
{
    // A fresh seed: the edits above changed some of these.
    QTemporaryDir dir;
    AllianceServer::Options options = m_options;
    options.dbPath = dir.filePath(QStringLiteral("fresh.db"));
    m_store.reset(new Alliance::Store(options));
    QString error;
    QVERIFY2(m_store->open(&error), qPrintable(error));
    const QHash<qint64, QJsonObject> all = syncedCommunities();
    QCOMPARE(all.size(), 40);
    auto text = [&](qint64 id, const char *key) { return all.value(id).value(QLatin1String(key)).toString(); };
    QCOMPARE(text(1006, "lng"), QString());
    QCOMPARE(text(1006, "lat"), QString());
    QCOMPARE(text(1016, "lng"), QStringLiteral("0"));
    QCOMPARE(text(1036, "lat"), QStringLiteral("0"));
    QCOMPARE(text(1008, "years"), QStringLiteral("1900"));
    QCOMPARE(text(1018, "years"), QStringLiteral("1850"));
    QCOMPARE(text(1028, "years"), QString::number(QDate::currentDate().year() + 5));
    QVERIFY(text(1001, "lng").toDouble() > 117);
    const int year = text(1001, "years").toInt();
    QVERIFY(year > 1900 && year <= QDate::currentDate().year());
}

QTEST_MAIN(TestPortalRoutes)
#include "tst_portalroutes.moc"
