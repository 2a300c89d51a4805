// The alliance server simulator over HTTP: the sync's paging since a time mark, changes
// and deletions coming back through the next sync, seed determinism and the fault switches;
// then the plug-in's own downloads and sync against it, so both sides agree on the shapes.
#include "allianceserver.h"

#include "alertrecorder.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "sql/basesqlobject.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/usermessage_datasqltable.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <QtTest>

namespace {

struct Result
{
    int httpStatus = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    QJsonObject envelope;  // empty when the body is no JSON object
    int code() const { return envelope.value(QStringLiteral("code")).toInt(); }
    QJsonValue data() const { return envelope.value(QStringLiteral("data")); }
};

QByteArray formBody(const QVariantMap &form)
{
    QByteArray body;
    for (auto it = form.cbegin(); it != form.cend(); ++it) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(it.key()) + '=' + QUrl::toPercentEncoding(it.value().toString());
    }
    return body;
}

QNetworkReply *send(QNetworkAccessManager &nam, const QString &url, const QVariantMap &form, const QString &phone = QString())
{
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    if (!phone.isEmpty())
        request.setRawHeader("Cookie", "qxphone=" + phone.toUtf8());
    return nam.post(request, formBody(form));
}

Result resultOf(QNetworkReply *reply)
{
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    loop.exec();
    Result r;
    r.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.error = reply->isFinished() ? reply->error() : QNetworkReply::TimeoutError;
    r.body = reply->readAll();
    r.envelope = QJsonDocument::fromJson(r.body).object();
    reply->deleteLater();
    return r;
}

Result post(QNetworkAccessManager &nam, const QString &url, const QVariantMap &form, const QString &phone = QString())
{
    return resultOf(send(nam, url, form, phone));
}

const QString kStart = QStringLiteral("2018/01/01 00:00:00");

qint64 secsOf(const QString &serverTime)
{
    return QDateTime::fromString(serverTime, QStringLiteral("yyyy/M/d H:mm:ss")).toSecsSinceEpoch();
}

// One whole sync: every page from pageindex 1 until nextpage is false.
struct Sync
{
    QList<QJsonArray> housePages;
    QList<QJsonArray> communityPages;
    QJsonObject firstPage;
    QString maxHouseTime;
    QString maxCommunityTime;

    QJsonArray houses() const
    {
        QJsonArray all;
        for (const QJsonArray &p : housePages)
            for (const QJsonValue &v : p)
                all.append(v);
        return all;
    }
    QJsonObject house(qint64 id) const
    {
        for (const QJsonValue &v : houses())
            if (v.toObject().value(QStringLiteral("id")).toVariant().toLongLong() == id)
                return v.toObject();
        return QJsonObject();
    }
    QStringList dels() const { return firstPage.value(QStringLiteral("dels")).toString().split(QLatin1Char(','), Qt::SkipEmptyParts); }
};

Sync runSync(QNetworkAccessManager &nam, const AllianceServer &server, const QString &houseMark, const QString &communityMark,
             bool joint = true, const QString &phone = QString())
{
    Sync s;
    s.maxHouseTime = houseMark;
    s.maxCommunityTime = communityMark;
    const QString url = server.rootUrl(QStringLiteral("app")) + (joint ? QStringLiteral("app/LianmaiSyncHousebook") : QStringLiteral("app/synchousebook"));
    for (int page = 1; page < 100; ++page) {
        const Result r = post(nam, url,
                              {{"pageindex", page}, {"lasttime", houseMark}, {"community_lastupdatatime", communityMark},
                               {"cityid", 340100}, {"lianmai", joint ? "1" : "0"}},
                              phone);
        if (r.code() != 200)
            break;
        const QJsonObject data = r.data().toObject();
        if (page == 1)
            s.firstPage = data;
        s.housePages << data.value(QStringLiteral("housebook")).toArray();
        s.communityPages << data.value(QStringLiteral("community")).toArray();
        for (const QJsonValue &h : s.housePages.last()) {
            const QString t = h.toObject().value(QStringLiteral("lasttime")).toString();
            if (secsOf(t) > secsOf(s.maxHouseTime))
                s.maxHouseTime = t;
        }
        for (const QJsonValue &c : s.communityPages.last()) {
            const QString t = c.toObject().value(QStringLiteral("lasttime")).toString();
            if (secsOf(t) > secsOf(s.maxCommunityTime))
                s.maxCommunityTime = t;
        }
        if (!data.value(QStringLiteral("nextpage")).toBool())
            break;
    }
    return s;
}

AllianceServer::Options smallOptions(quint32 seed = 7)
{
    AllianceServer::Options o;
    o.seed = seed;
    o.listings = 260;
    o.communities = 30;
    o.pageSize = 100;
    return o;
}

} // namespace

class TestAllianceServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void pagingSinceMark();
    void changesComeBackInNextSync();
    void changesDuringSyncWaitForNextSync();
    void sameSeedSameData();
    void faultSwitches_data();
    void faultSwitches();
    void rootsAndUnknownPaths();
    void unknownPhoneIsRefused_data();
    void unknownPhoneIsRefused();
    void seededAddressTexts();
    void pluginStoresEverySetting();
    void pluginReadsRightRanges();
    void pluginSyncRoundTrip();

private:
    std::unique_ptr<AllianceServer> m_server;
    QNetworkAccessManager m_nam;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

namespace {

QList<int> codesOf(const QSignalSpy &spy)
{
    QList<int> codes;
    for (const QList<QVariant> &args : spy)
        codes << args.at(0).toInt();
    std::sort(codes.begin(), codes.end());
    return codes;
}

// Runs the plug-in's listing sync of a book to its end.
bool pluginSync(bool jointSale)
{
    BaseSqlObject sql(nullptr, jointSale);
    QSignalSpy finish(&sql, &BaseSqlObject::loadDataFinish);
    QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
    sql.download_house(true, true);
    return QTest::qWaitFor([&] { return codesOf(finish).contains(1); }, 30000) && !success.isEmpty();
}

} // namespace

void TestAllianceServer::initTestCase()
{
    m_server.reset(new AllianceServer(smallOptions()));
    QVERIFY(m_server->start());
    QVERIFY(m_server->port() > 0);
    // The plug-in's addresses are fixed on first use: every root points here.
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
    QCOMPARE(Endpoints::instance().softRoot, m_server->rootUrl(QStringLiteral("soft")));
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
}

void TestAllianceServer::cleanupTestCase()
{
    m_alerts.reset();
    m_host.reset();
    m_server.reset();
}

void TestAllianceServer::init()
{
    m_server->clearFaults();
}

// From the initial mark the sync walks through all listings in pages of the page size,
// oldest change first; the communities come on the first page; a sync from the mark the
// pages moved to brings nothing.
void TestAllianceServer::pagingSinceMark()
{
    const Sync all = runSync(m_nam, *m_server, kStart, kStart);
    QCOMPARE(all.housePages.size(), 3);
    QCOMPARE(all.housePages.at(0).size(), 100);
    QCOMPARE(all.housePages.at(1).size(), 100);
    QVERIFY(all.housePages.at(2).size() > 0 && all.housePages.at(2).size() < 100);
    QCOMPARE(all.communityPages.at(0).size(), 30);
    QVERIFY(all.communityPages.at(1).isEmpty());

    QSet<qint64> ids;
    qint64 previous = 0;
    for (const QJsonValue &v : all.houses()) {
        const QJsonObject h = v.toObject();
        const qint64 id = h.value(QStringLiteral("id")).toVariant().toLongLong();
        QVERIFY2(!ids.contains(id), "a listing came twice");
        ids.insert(id);
        const qint64 t = secsOf(h.value(QStringLiteral("lasttime")).toString());
        QVERIFY(t > 0);
        QVERIFY2(t >= previous, "pages must run from the oldest change to the newest");
        previous = t;
    }
    // The personal lists come with page 1 only.
    QVERIFY(all.firstPage.value(QStringLiteral("collection")).isArray());
    QVERIFY(all.firstPage.value(QStringLiteral("history")).isArray());
    QVERIFY(all.firstPage.value(QStringLiteral("newremindinfo")).isArray());

    // A mark inside the listings: only the later ones come, and all of them.
    const QJsonArray first = all.housePages.at(0);
    const QString mid = first.at(first.size() - 1).toObject().value(QStringLiteral("lasttime")).toString();
    const Sync later = runSync(m_nam, *m_server, mid, all.maxCommunityTime);
    int expected = 0;
    for (const QJsonValue &v : all.houses())
        expected += secsOf(v.toObject().value(QStringLiteral("lasttime")).toString()) > secsOf(mid) ? 1 : 0;
    QCOMPARE(later.houses().size(), expected);
    QCOMPARE(later.housePages.size(), 2);
    QVERIFY(later.communityPages.at(0).isEmpty());

    const Sync none = runSync(m_nam, *m_server, all.maxHouseTime, all.maxCommunityTime);
    QCOMPARE(none.housePages.size(), 1);
    QVERIFY(none.houses().isEmpty());
    QCOMPARE(none.firstPage.value(QStringLiteral("nextpage")).toBool(), false);

    // The company's own book holds fewer listings than the alliance's, all of its company.
    const Sync own = runSync(m_nam, *m_server, kStart, kStart, false);
    QVERIFY(own.houses().size() > 0 && own.houses().size() < all.houses().size());
    for (const QJsonValue &v : own.houses())
        QCOMPARE(v.toObject().value(QStringLiteral("companyid")).toInt(), 101);
}

// Status, flag, delete, entry and follow-up requests change the server's state; the next
// sync from the previous mark brings exactly the changed listings and the deletion.
void TestAllianceServer::changesComeBackInNextSync()
{
    const Sync before = runSync(m_nam, *m_server, kStart, kStart);
    const QJsonArray houses = before.houses();
    const qint64 statusId = houses.at(3).toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    const qint64 flagId = houses.at(10).toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    const qint64 delId = houses.at(20).toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    const QJsonObject followed = houses.at(30).toObject();
    const qint64 followId = followed.value(QStringLiteral("id")).toVariant().toLongLong();
    const QString app = m_server->rootUrl(QStringLiteral("app"));

    QCOMPARE(post(m_nam, app + "app/housebooknewstate", {{"id", statusId}, {"state", "已售"}, {"lianmai", "1"}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/houseshuxing", {{"itemid", flagId}, {"state", 1}, {"type", 2}, {"days", 3}, {"lianmai", "1"}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/housebookdel", {{"id", delId}, {"lianmai", "1"}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/followadd", {{"id", followId}, {"content", "业主说价格可谈"}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/collection", {{"id", followId}}).code(), 200);
    const Result added = post(m_nam, app + "fd/HouseAdd",
                              {{"types", 0}, {"mycommunityid", 1001}, {"buildingNo", "9"}, {"unitNo", "1"}, {"roomNo", "901"},
                               {"price", "188.5"}, {"builtuparea", "96.5"}, {"room", 3}});
    QCOMPARE(added.code(), 200);
    const qint64 addedId = added.data().toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    QVERIFY(addedId > 0);
    // A deleted listing takes no further changes.
    QCOMPARE(post(m_nam, app + "app/housebooknewstate", {{"id", delId}, {"state", "有效"}}).code(), 405);

    const Sync after = runSync(m_nam, *m_server, before.maxHouseTime, before.maxCommunityTime);
    QSet<qint64> changed;
    for (const QJsonValue &v : after.houses())
        changed.insert(v.toObject().value(QStringLiteral("id")).toVariant().toLongLong());
    QCOMPARE(changed, (QSet<qint64>{statusId, flagId, followId, addedId}));
    QCOMPARE(after.house(statusId).value(QStringLiteral("newstate")).toString(), QStringLiteral("已售"));
    QCOMPARE(after.house(flagId).value(QStringLiteral("suopan")).toInt(), 1);
    QCOMPARE(after.house(followId).value(QStringLiteral("follows")).toString(),
             QString::number(followed.value(QStringLiteral("follows")).toString().toInt() + 1));
    const QJsonObject fresh = after.house(addedId);
    QVERIFY(!fresh.value(QStringLiteral("name")).toString().isEmpty());
    QCOMPARE(fresh.value(QStringLiteral("shenhestatus")).toInt(), 1);
    QCOMPARE(fresh.value(QStringLiteral("replenish")).toObject().value(QStringLiteral("lururen")).toObject().value(QStringLiteral("phone")).toString(),
             QStringLiteral("13800000001"));
    QCOMPARE(after.dels(), QStringList{QString::number(delId)});
    QVERIFY(after.firstPage.value(QStringLiteral("collection")).toArray().contains(QJsonValue(followId)));
    QVERIFY(secsOf(after.maxHouseTime) > secsOf(before.maxHouseTime));

    // Reviewed, then rejected: each step comes back once more.
    QCOMPARE(post(m_nam, app + "fd/HouseShenhe", {{"id", addedId}}).code(), 200);
    Sync reviewed = runSync(m_nam, *m_server, after.maxHouseTime, after.maxCommunityTime);
    QCOMPARE(reviewed.houses().size(), 1);
    QCOMPARE(reviewed.house(addedId).value(QStringLiteral("shenhestatus")).toInt(), 2);
    QVERIFY(reviewed.dels().isEmpty());

    // The duplicate check finds the entered room.
    const Result check = post(m_nam, app + "app/housebookcheck",
                              {{"type", 0}, {"name", fresh.value(QStringLiteral("name")).toString()}, {"buildingNo", "9"},
                               {"unitNo", "1"}, {"roomNo", "901"}, {"lianmai", 1}});
    QCOMPARE(check.data().toObject().value(QStringLiteral("existed")).toBool(), true);
    QCOMPARE(check.data().toObject().value(QStringLiteral("id")).toVariant().toLongLong(), addedId);
}

// Changes made while a sync is between pages neither shift its later pages (nothing is
// skipped) nor get lost: they come with the next sync.
void TestAllianceServer::changesDuringSyncWaitForNextSync()
{
    const Sync reference = runSync(m_nam, *m_server, kStart, kStart);
    QCOMPARE(reference.housePages.size(), 3);
    const QString url = m_server->rootUrl(QStringLiteral("app")) + "app/LianmaiSyncHousebook";
    const auto page = [&](int index) {
        return post(m_nam, url, {{"pageindex", index}, {"lasttime", kStart}, {"community_lastupdatatime", kStart}, {"cityid", 340100}})
            .data()
            .toObject();
    };
    const auto idAt = [&](int p, int i) {
        return reference.housePages.at(p).at(i).toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    };

    QStringList delivered;
    QString mark = kStart;
    const auto take = [&](const QJsonObject &data) {
        for (const QJsonValue &v : data.value(QStringLiteral("housebook")).toArray()) {
            delivered << QString::number(v.toObject().value(QStringLiteral("id")).toVariant().toLongLong());
            const QString t = v.toObject().value(QStringLiteral("lasttime")).toString();
            if (secsOf(t) > secsOf(mark))
                mark = t;
        }
    };
    take(page(1));
    const qint64 onFirst = idAt(0, 0);
    const qint64 onSecond = idAt(1, 50);
    const qint64 onThird = idAt(2, 0);
    const QString app = m_server->rootUrl(QStringLiteral("app"));
    QCOMPARE(post(m_nam, app + "app/housebooknewstate", {{"id", onFirst}, {"state", "已定"}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/housebookdel", {{"id", onSecond}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/houseshuxing", {{"itemid", onThird}, {"state", 1}, {"type", 3}}).code(), 200);
    const QJsonObject second = page(2);
    QVERIFY(second.value(QStringLiteral("nextpage")).toBool());
    take(second);
    const QJsonObject third = page(3);
    QVERIFY(!third.value(QStringLiteral("nextpage")).toBool());
    take(third);

    QStringList expected;
    for (const QJsonValue &v : reference.houses()) {
        const qint64 id = v.toObject().value(QStringLiteral("id")).toVariant().toLongLong();
        if (id != onSecond && id != onThird)
            expected << QString::number(id);
    }
    QCOMPARE(delivered, expected);

    const Sync next = runSync(m_nam, *m_server, mark, reference.maxCommunityTime);
    QSet<qint64> changed;
    for (const QJsonValue &v : next.houses())
        changed.insert(v.toObject().value(QStringLiteral("id")).toVariant().toLongLong());
    QCOMPARE(changed, (QSet<qint64>{onFirst, onThird}));
    QCOMPARE(next.house(onFirst).value(QStringLiteral("newstate")).toString(), QStringLiteral("已定"));
    QCOMPARE(next.house(onThird).value(QStringLiteral("fengpan")).toInt(), 1);
    QCOMPARE(next.dels(), QStringList{QString::number(onSecond)});
}

// The same seed gives the same data, another seed other data.
void TestAllianceServer::sameSeedSameData()
{
    AllianceServer again(smallOptions());
    AllianceServer other(smallOptions(8));
    QVERIFY(again.start());
    QVERIFY(other.start());
    const auto firstPage = [this](const AllianceServer &s) {
        return post(m_nam, s.rootUrl(QStringLiteral("app")) + "app/LianmaiSyncHousebook",
                    {{"pageindex", 1}, {"lasttime", kStart}, {"community_lastupdatatime", kStart}})
            .data()
            .toObject();
    };
    const QJsonObject a = firstPage(again);
    AllianceServer third(smallOptions());
    QVERIFY(third.start());
    const QJsonObject b = firstPage(third);
    QVERIFY(!a.value(QStringLiteral("housebook")).toArray().isEmpty());
    QCOMPARE(a.value(QStringLiteral("housebook")).toArray().first(), b.value(QStringLiteral("housebook")).toArray().first());
    QCOMPARE(a.value(QStringLiteral("community")), b.value(QStringLiteral("community")));
    QVERIFY(a.value(QStringLiteral("housebook")).toArray().first() != firstPage(other).value(QStringLiteral("housebook")).toArray().first());
}

void TestAllianceServer::faultSwitches_data()
{
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("networkError");
    QTest::addColumn<bool>("json");
    QTest::newRow("500") << "500" << 500 << 0 << true << false;
    QTest::newRow("405") << "405:房源已锁定" << 200 << 405 << false << true;
    QTest::newRow("400") << "400" << 200 << 400 << false << true;
    QTest::newRow("malformed") << "malformed" << 200 << 0 << false << false;
    QTest::newRow("drop") << "drop" << -1 << 0 << true << false;  // headers may have gone out
    QTest::newRow("delay") << "delay:2000" << 200 << 200 << false << true;
}

// A switch answers its path (under every root) as set, leaves other paths alone and is gone
// once cleared.
void TestAllianceServer::faultSwitches()
{
    QFETCH(QString, kinds);
    QFETCH(int, httpStatus);
    QFETCH(int, code);
    QFETCH(bool, networkError);
    QFETCH(bool, json);

    AllianceServer::Fault fault;
    QVERIFY(AllianceServer::parseFault(kinds, &fault));
    m_server->setFault(QStringLiteral("app/getdistric"), fault);

    const int hitsBefore = m_server->hits(QStringLiteral("app/getdistric"));
    QNetworkReply *pending = send(m_nam, m_server->rootUrl(QStringLiteral("soft")) + "app/getdistric", {});
    if (fault.delayMs > 0) {
        // The delay holds this answer back: a request sent after it arrived is answered first.
        QTRY_COMPARE(m_server->hits(QStringLiteral("app/getdistric")), hitsBefore + 1);
        QCOMPARE(post(m_nam, m_server->rootUrl(QStringLiteral("app")) + "app/gethousebookcategory", {}).code(), 200);
        QVERIFY(!pending->isFinished());
    }
    const Result r = resultOf(pending);
    if (httpStatus >= 0)
        QCOMPARE(r.httpStatus, httpStatus);
    QCOMPARE(r.error != QNetworkReply::NoError, networkError);
    QCOMPARE(!r.envelope.isEmpty(), json);
    if (json)
        QCOMPARE(r.code(), code);
    if (fault.refuse405)
        QCOMPARE(r.envelope.value(QStringLiteral("message")).toString(), QStringLiteral("房源已锁定"));
    if (fault.lostLogin400)
        QVERIFY(!r.envelope.value(QStringLiteral("message")).toString().isEmpty());

    QCOMPARE(post(m_nam, m_server->rootUrl(QStringLiteral("app")) + "app/gethousebookcategory", {}).code(), 200);
    m_server->setFault(QStringLiteral("app/getdistric"), AllianceServer::Fault());
    const Result cleared = post(m_nam, m_server->rootUrl(QStringLiteral("app")) + "app/getdistric", {});
    QCOMPARE(cleared.code(), 200);
    QVERIFY(cleared.data().toArray().size() > 0);
}

void TestAllianceServer::rootsAndUnknownPaths()
{
    AllianceServer::Fault unused;
    QVERIFY(!AllianceServer::parseFault(QStringLiteral("explode"), &unused));
    for (const char *root : {"app", "soft", "web", "unit", "help", "gather"}) {
        const Result r = post(m_nam, m_server->rootUrl(QLatin1String(root)) + "lmai/user/info", {}, QStringLiteral("13800000002"));
        QCOMPARE(r.code(), 200);
        QCOMPARE(r.data().toObject().value(QStringLiteral("manager")).toBool(), false);
        QCOMPARE(r.data().toObject().value(QStringLiteral("lmcompanyid")).toInt(), 9001);
    }
    QCOMPARE(post(m_nam, m_server->rootUrl(QStringLiteral("app")) + "lmai/user/info", {}).data().toObject().value(QStringLiteral("manager")).toBool(),
             true);
    QCOMPARE(post(m_nam, m_server->rootUrl(QStringLiteral("app")) + "app/nosuchthing", {}).httpStatus, 404);
    QCOMPARE(post(m_nam, m_server->baseUrl() + "/other/app/getdistric", {}).httpStatus, 404);
}

void TestAllianceServer::unknownPhoneIsRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("phone");
    QTest::newRow("sign-in, short number") << "account/initialize" << "12345";
    QTest::newRow("joint-sale info, letters") << "lmai/user/info" << "abc";
    QTest::newRow("sync, unseeded mobile") << "app/LianmaiSyncHousebook" << "13812345678";
    QTest::newRow("settings") << "app/gethousebookconfig" << "12345";
}

// A phone that is not seeded signs nobody in and borrows nobody's rights: every path refuses
// it by name, while a seeded phone on the same path is served.
void TestAllianceServer::unknownPhoneIsRefused()
{
    QFETCH(QString, path);
    QFETCH(QString, phone);
    const QString url = m_server->rootUrl(QStringLiteral("app")) + path;
    const QVariantMap form{{"pageindex", 1}, {"lasttime", kStart}, {"community_lastupdatatime", kStart}};
    const Result refused = post(m_nam, url, form, phone);
    QCOMPARE(refused.httpStatus, 200);
    QCOMPARE(refused.code(), 405);
    QCOMPARE(refused.envelope.value(QStringLiteral("message")).toString(), QStringLiteral("该手机号未注册：%1").arg(phone));
    QVERIFY(refused.data().isNull());
    QCOMPARE(post(m_nam, url, form, QStringLiteral("13800000004")).code(), 200);
}

// Building, unit and room read as an agent writes them ("4栋" or "4号楼", "1单元", "304"),
// with the words in their own fields, and the listing's building is one of its community's.
void TestAllianceServer::seededAddressTexts()
{
    AllianceServer seeded(smallOptions());  // untouched by the other cases' changes
    QVERIFY(seeded.start());
    const Sync all = runSync(m_nam, seeded, kStart, kStart);
    QHash<qint64, QString> buildingNames;
    for (const QJsonArray &page : all.communityPages) {
        for (const QJsonValue &c : page) {
            const QJsonArray buildings = QJsonDocument::fromJson(c.toObject().value(QStringLiteral("building")).toString().toUtf8()).array();
            for (const QJsonValue &b : buildings)
                buildingNames.insert(b.toObject().value(QStringLiteral("id")).toVariant().toLongLong(),
                                     b.toObject().value(QStringLiteral("name")).toString());
        }
    }
    const QRegularExpression building(QStringLiteral("^[1-9]\\d*(栋|号楼)$"));
    const QRegularExpression unit(QStringLiteral("^[1-9]\\d*单元$"));
    const QRegularExpression room(QStringLiteral("^[1-9]\\d{2,3}$"));
    QSet<QString> words;
    const QJsonArray houses = all.houses();
    QVERIFY(houses.size() > 100);
    for (const QJsonValue &v : houses) {
        const QJsonObject h = v.toObject();
        const QString b = h.value(QStringLiteral("buildingNo")).toString();
        const QString id = h.value(QStringLiteral("id")).toVariant().toString();
        QVERIFY2(building.match(b).hasMatch(), qPrintable(id + QLatin1Char(' ') + b));
        QVERIFY2(unit.match(h.value(QStringLiteral("unitNo")).toString()).hasMatch(), qPrintable(id));
        QVERIFY2(room.match(h.value(QStringLiteral("roomNo")).toString()).hasMatch(), qPrintable(id));
        QVERIFY2(b.endsWith(h.value(QStringLiteral("dongunit")).toString()), qPrintable(id));
        QCOMPARE(h.value(QStringLiteral("danyuanunit")).toString(), QStringLiteral("单元"));
        QCOMPARE(buildingNames.value(h.value(QStringLiteral("dongid")).toVariant().toLongLong()), b);
        words.insert(h.value(QStringLiteral("dongunit")).toString());
    }
    QCOMPARE(words, (QSet<QString>{QStringLiteral("栋"), QStringLiteral("号楼")}));
}

// Every settings download of the plug-in takes the simulator's reply as well-formed and
// stores it where its readers find it.
void TestAllianceServer::pluginStoresEverySetting()
{
    const QList<int> codes{2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 22, 23, 24, 25, 26};
    m_host->signInAs(TestUser().jointSaleCompany(0));
    {
        BaseSqlObject sql(nullptr, false);
        QSignalSpy success(&sql, &BaseSqlObject::loadDataSuccess);
        QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
        sql.download_id(codes);
        QVERIFY(QTest::qWaitFor([&] { return !all.isEmpty(); }, 15000));
        QCOMPARE(codesOf(success), codes);
    }
    QCOMPARE(DataCenter::JointSaleCompanyId, 9001);
    QVERIFY(DataCenter::isJointSaleManger);

    HouseBookSet_SqlTable settings(nullptr, false);
    QCOMPARE(settings.pageSize(), 20);
    QCOMPARE(settings.tabs().size(), 4);
    QCOMPARE(settings.saleStates().value(1).value(QStringLiteral("title")).toString(), QStringLiteral("急售"));
    QCOMPARE(settings.rentStates().value(1).value(QStringLiteral("lable")).toString(), QStringLiteral("B"));
    QVERIFY(!settings.saleXieZuoSet().isEmpty());

    UserMessage_DataSqlTable user(nullptr, false);
    QCOMPARE(user.authorityRange(36), int(UserMessage_DataSqlTable::RangeCompany));
    QCOMPARE(user.ownDepartmentIds(), QStringList{QStringLiteral("10100")});
    QCOMPARE(user.getDepartmentList().size(), 7);  // the company, two regions, four stores
}

// The department ranges of the regional manager read as the rights check expects.
void TestAllianceServer::pluginReadsRightRanges()
{
    m_server->setDefaultPhone(QStringLiteral("13800000003"));
    {
        BaseSqlObject sql(nullptr, false);
        QSignalSpy all(&sql, &BaseSqlObject::allLoadFinish);
        sql.download_id({11, 22});
        QVERIFY(QTest::qWaitFor([&] { return !all.isEmpty(); }, 15000));
    }
    m_server->setDefaultPhone(QStringLiteral("13800000001"));
    UserMessage_DataSqlTable user(nullptr, false);
    QCOMPARE(user.authorityRange(36), int(UserMessage_DataSqlTable::RangeDeptAndSubs));
    QStringList own = user.authorityDeptIds(36);
    own.sort();
    QCOMPARE(own, (QStringList{"10101", "10111", "10112"}));
    QStringList chosen = user.authorityDeptIds(102);
    chosen.sort();
    QCOMPARE(chosen, (QStringList{"10102", "10121", "10122"}));
    QCOMPARE(user.authorityRange(1), -1);  // not every right is held
}

// The plug-in's sync stores what the simulator serves; a status change, a flag and a
// deletion made on the server arrive through its next sync.
void TestAllianceServer::pluginSyncRoundTrip()
{
    QVERIFY(pluginSync(true));
    const Sync served = runSync(m_nam, *m_server, kStart, kStart);
    BaseSqlObject probe(nullptr, true);
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB), served.houses().size());
    QCOMPARE(probe.haveDataInTable(QStringLiteral("community"), BaseSqlObject::CompanyDB), 30);

    const qint64 statusId = served.houses().at(5).toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    const qint64 delId = served.houses().at(6).toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    const QJsonObject holder = served.house(statusId).value(QStringLiteral("replenish")).toObject().value(QStringLiteral("weihuren")).toObject();
    {
        HouseMessage_DataSqlTable table(nullptr, true);
        const HouseMessage_DataSqlTable::HouseMessageData row = table.getHouseData(int(statusId));
        QCOMPARE(row.id, int(statusId));
        QCOMPARE(row.weihuren.phone, holder.value(QStringLiteral("phone")).toString());
    }
    const QString app = m_server->rootUrl(QStringLiteral("app"));
    QCOMPARE(post(m_nam, app + "app/housebooknewstate", {{"id", statusId}, {"state", "无效"}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/houseshuxing", {{"itemid", statusId}, {"state", 1}, {"type", 1}}).code(), 200);
    QCOMPARE(post(m_nam, app + "app/housebookdel", {{"id", delId}}).code(), 200);

    QVERIFY(pluginSync(true));
    HouseMessage_DataSqlTable table(nullptr, true);
    const HouseMessage_DataSqlTable::HouseMessageData changed = table.getHouseData(int(statusId));
    QCOMPARE(changed.newstate, QStringLiteral("无效"));
    QCOMPARE(changed.istop, 1);
    QVERIFY(table.getHouseData(int(delId)).id <= 0);
    QCOMPARE(probe.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB), served.houses().size() - 1);
}

QTEST_MAIN(TestAllianceServer)
#include "tst_allianceserver.moc"
