// The simulator's answers behind the entry forms and the community chooser, over HTTP: the
// community search and its rows, the lock flags, buildings → units → rooms and a room's facts,
// the intensive-farming register, the duplicate check, and entered or edited listings coming
// back through the next sync exactly as they were typed.
#include "allianceserver.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

namespace {

struct Reply
{
    int code = 0;
    QString message;
    QJsonValue data;
    QJsonObject object() const { return data.toObject(); }
    QJsonArray list() const { return data.toArray(); }
};

qint64 idOf(const QJsonValue &v)
{
    return v.toVariant().toLongLong();
}

QList<qint64> idsOf(const QJsonArray &list)
{
    QList<qint64> ids;
    for (const QJsonValue &v : list)
        ids << idOf(v.toObject().value(QStringLiteral("id")));
    return ids;
}

// Texts an agent may well type: quotes, &, %, +, = and ; of a form, emoji, a long remark.
const QString kQuoted = QStringLiteral("业主说\"价格可谈\" & 'O''Neil' 50% + 税=满五;唯一");
const QString kEmoji = QStringLiteral("南北通透🏠😀，拎包入住👍");
const QString kLong = QString(QStringLiteral("阳光充足，交通便利+学区房&")).repeated(25);

QVariantMap saleForm()
{
    return {{"types", "0"}, {"name", kQuoted}, {"buildingNo", "9栋"}, {"roomNo", "1808"}, {"district", "蜀山区"},
            {"area", "南七"}, {"address", kEmoji}, {"floors", "18"}, {"allfloors", "33"}, {"price", "188.5"},
            {"builtuparea", "96.5"},
            {"contacts", "[{\"name\":\"王\\\"先生\",\"phone\":\"13900001111\",\"level\":\"A\",\"title\":\"先生\"}]"},
            {"renovation", "精装修"}, {"property", "满五年"}, {"houseType", "普通住宅"}, {"remark", kLong},
            {"remarkshow", "1"}, {"garage", "地下 B2-18 & 19"}, {"havegarage", "1"}, {"tags", "满五唯一,近地铁"},
            {"toward", "南北"}, {"keys", "门店#3 抽屉"}, {"havekeys", "1"}, {"seetime", "预约"}, {"source", "来电"},
            {"traffic", "地铁1号线,地铁3号线"}, {"propertyquan", "商品房"}, {"stype", "1"}, {"sf", "1"},
            {"unitNo", "2单元"}, {"room", "3"}, {"hall", "2"}, {"huxingwei", "1"}, {"dongid", "100309"},
            {"unitid", "1003092"}, {"roomid", "1003092018"}, {"danyuanunit", "单元"}, {"dongunit", "栋"},
            {"kitchen", "1"}, {"balcony", "2"}, {"imgurls", "https://img.qxfdc.example/a.jpg,https://img.qxfdc.example/b.jpg"},
            {"mycommunityid", "1003"}, {"sourceid", "77"}, {"sourcetype", "20"}, {"yinsifangwen", "1"}};
}

QVariantMap rentForm()
{
    return {{"types", "1"}, {"name", kEmoji}, {"buildingNo", "3号楼"}, {"roomNo", "502"}, {"district", "包河区"},
            {"area", "滨湖"}, {"address", kQuoted}, {"floors", "5"}, {"allfloors", "6"}, {"price", "2500"},
            {"builtuparea", "60"}, {"contacts", "[]"}, {"renovation", "简单装修"}, {"houseType", "公寓"},
            {"remark", kQuoted}, {"remarkshow", "0"}, {"ruzhutime", "一周内"}, {"payway", "押一付三"},
            {"rentway", "合租"}, {"tags", "拎包入住"}, {"peitao", "水,电,宽带"}, {"toward", "东"}, {"keys", ""},
            {"havekeys", "0"}, {"seetime", "随时"}, {"source", "网络"}, {"traffic", ""}, {"stype", "0"}, {"sf", "0"},
            {"unitNo", "1单元"}, {"zuunit", "元/月"}, {"room", "1"}, {"hall", "1"}, {"huxingwei", "1"},
            {"danyuanunit", "单元"}, {"dongunit", "号楼"}, {"kitchen", "1"}, {"balcony", "0"},
            {"scommunityid", "gz-1009"}, {"yinsifangwen", "0"}};
}

// The listing column each entry form key is stored in.
QString columnOf(const QString &key)
{
    static const QMap<QString, QString> renamed{{"houseType", "housetype"}, {"imgurls", "photo"}};
    return renamed.value(key, key);
}

} // namespace

class TestEntryRoutes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void communitySearch_data();
    void communitySearch();
    void searchRowShape();
    void locks_data();
    void locks();
    void buildingsUnitsRooms();
    void intensiveFarmingRegister_data();
    void intensiveFarmingRegister();
    void roomDetail_data();
    void roomDetail();
    void entryComesBackAsTyped_data();
    void entryComesBackAsTyped();
    void editReviewAndReject();
    void duplicateCheck_data();
    void duplicateCheck();

private:
    Reply ask(const QString &path, const QVariantMap &form, const QString &root = QStringLiteral("soft"));
    // The listing as the company book's next sync since `mark` brings it.
    QJsonObject synced(qint64 id, const QString &mark);
    static QString markNow() { return QDateTime::currentDateTime().addSecs(-1).toString(QStringLiteral("yyyy/M/d H:mm:ss")); }

    QNetworkAccessManager m_nam;
    QScopedPointer<AllianceServer> m_server;
    qint64 m_entered = 0;  // the listing the duplicate check looks for
};

const QString kCheckedName = QStringLiteral("查重 \"测试\" 苑");

void TestEntryRoutes::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 200;
    options.communities = 40;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    QVariantMap form = saleForm();
    form.insert(QStringLiteral("name"), kCheckedName);
    form.insert(QStringLiteral("roomNo"), QStringLiteral("606"));
    m_entered = idOf(ask(QStringLiteral("fd/HouseAdd"), form, QStringLiteral("app")).object().value(QStringLiteral("id")));
    QVERIFY(m_entered > 0);
}

Reply TestEntryRoutes::ask(const QString &path, const QVariantMap &form, const QString &root)
{
    QByteArray encoded;
    for (auto it = form.cbegin(); it != form.cend(); ++it)
        encoded += (encoded.isEmpty() ? "" : "&") + QUrl::toPercentEncoding(it.key()) + '=' + QUrl::toPercentEncoding(it.value().toString());
    QNetworkRequest request{QUrl(m_server->rootUrl(root) + path)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply *reply = m_nam.post(request, encoded);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    Reply r;
    if (!finished.wait(15000))
        return r;
    const QJsonObject envelope = QJsonDocument::fromJson(reply->readAll()).object();
    reply->deleteLater();
    r.code = envelope.value(QStringLiteral("code")).toInt();
    r.message = envelope.value(QStringLiteral("message")).toString();
    r.data = envelope.value(QStringLiteral("data"));
    return r;
}

QJsonObject TestEntryRoutes::synced(qint64 id, const QString &mark)
{
    const Reply r = ask(QStringLiteral("app/synchousebook"),
                        {{"pageindex", 1}, {"lasttime", mark}, {"community_lastupdatatime", mark}, {"cityid", 340100}},
                        QStringLiteral("app"));
    for (const QJsonValue &v : r.object().value(QStringLiteral("housebook")).toArray())
        if (idOf(v.toObject().value(QStringLiteral("id"))) == id)
            return v.toObject();
    return QJsonObject();
}

void TestEntryRoutes::communitySearch_data()
{
    QTest::addColumn<QString>("formKey");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QList<qint64>>("expected");  // empty: anything but an empty answer is wrong
    QTest::newRow("alias") << "key" << "1005号地块" << QList<qint64>{1005};
    QTest::newRow("alias, older key") << "keyword" << "1030号地块" << QList<qint64>{1030};
    QTest::newRow("LIKE wildcards match nothing") << "key" << "%" << QList<qint64>{};
    QTest::newRow("quote") << "key" << "万科' or '1'='1" << QList<qint64>{};
}

// Searched by `key` (or the older `keyword`) in names and aliases; wildcards are plain text.
void TestEntryRoutes::communitySearch()
{
    QFETCH(QString, formKey);
    QFETCH(QString, key);
    QFETCH(QList<qint64>, expected);
    const Reply r = ask(QStringLiteral("house/xiaoqu/search"), {{formKey, key}, {"lianmai", 1}});
    QCOMPARE(r.code, 200);
    QCOMPARE(idsOf(r.list()), expected);
}

void TestEntryRoutes::searchRowShape()
{
    const QJsonArray all = ask(QStringLiteral("house/xiaoqu/search"), {{"key", ""}, {"lianmai", 1}}).list();
    QCOMPARE(all.size(), 30);
    QSet<QString> keys;
    for (const QString &k : all.first().toObject().keys())
        keys << k;
    QCOMPARE(keys, (QSet<QString>{"id", "myid", "name", "othername", "districtname", "areaname", "areaid", "address",
                                  "housecount", "complete", "lianmai", "building"}));
    // A part of one community's name finds it among the rows.
    const QJsonObject third = all.at(2).toObject();
    const QString part = third.value(QStringLiteral("name")).toString().mid(1, 2);
    QVERIFY(idsOf(ask(QStringLiteral("house/xiaoqu/search"), {{"key", part}}).list()).contains(1003));

    const auto row = [&](qint64 id) { return all.at(int(id - 1001)).toObject(); };
    QCOMPARE(idOf(row(1001).value(QStringLiteral("myid"))), 1001);
    QCOMPARE(idOf(row(1004).value(QStringLiteral("myid"))), 0);
    QCOMPARE(row(1001).value(QStringLiteral("lianmai")).toInt(), 1);
    QCOMPARE(row(1002).value(QStringLiteral("lianmai")).toInt(), 0);
    QCOMPARE(row(1005).value(QStringLiteral("othername")).toString(), QStringLiteral("1005号地块"));
    // Buildings as bare numbers (1001), as maps (1003) or not at all (1002).
    const QJsonArray texts = row(1001).value(QStringLiteral("building")).toArray();
    QVERIFY(!texts.isEmpty());
    QCOMPARE(texts.first().toString(), QStringLiteral("1"));
    const QJsonObject map = row(1003).value(QStringLiteral("building")).toArray().first().toObject();
    QCOMPARE(idOf(map.value(QStringLiteral("id"))), 100301);
    QCOMPARE(map.value(QStringLiteral("name")).toString(), QStringLiteral("1栋"));
    QVERIFY(row(1002).value(QStringLiteral("building")).toArray().isEmpty());
    // housecount counts the community's listings (1003 holds the one entered at the start).
    qint64 listings = 0;
    for (const QJsonValue &v : all)
        listings += idOf(v.toObject().value(QStringLiteral("housecount")));
    QVERIFY(idOf(row(1003).value(QStringLiteral("housecount"))) >= 1);
    QVERIFY(listings <= 201);
}

void TestEntryRoutes::locks_data()
{
    QTest::addColumn<int>("community");
    QTest::addColumn<int>("lockdong");
    QTest::addColumn<int>("lockuar");
    QTest::newRow("buildings locked") << 1009 << 1 << 0;
    QTest::newRow("units locked") << 1010 << 0 << 1;
    QTest::newRow("both") << 1011 << 1 << 1;
    QTest::newRow("neither") << 1012 << 0 << 0;
    QTest::newRow("unknown community") << 4040 << 0 << 0;
}

void TestEntryRoutes::locks()
{
    QFETCH(int, community);
    QFETCH(int, lockdong);
    QFETCH(int, lockuar);
    const QJsonObject data = ask(QStringLiteral("house/jinggeng/getLocks"), {{"comid", community}, {"lianmai", 1}}).object();
    QCOMPARE(data.value(QStringLiteral("lockdong")).toInt(), lockdong);
    QCOMPARE(data.value(QStringLiteral("lockuar")).toInt(), lockuar);
}

// danyuanInfo answers a building's units and unitInfo a unit's rooms.
void TestEntryRoutes::buildingsUnitsRooms()
{
    const QJsonArray buildings = ask(QStringLiteral("house/jinggeng/loudongInfo"), {{"comid", 1002}, {"lianmai", 1}}).list();
    QVERIFY(buildings.size() >= 3);
    const QJsonObject first = buildings.at(0).toObject();
    QCOMPARE(idOf(first.value(QStringLiteral("id"))), 100201);
    QCOMPARE(first.value(QStringLiteral("name")).toString(), QStringLiteral("1号楼"));
    QCOMPARE(first.value(QStringLiteral("unit")).toString(), QStringLiteral("号楼"));
    QCOMPARE(first.value(QStringLiteral("jinggeng")).toInt(), 1);
    QCOMPARE(buildings.at(2).toObject().value(QStringLiteral("jinggeng")).toInt(), 0);

    const QJsonArray units = ask(QStringLiteral("house/jinggeng/danyuanInfo"), {{"xiaoquid", 1002}, {"dongid", 100201}, {"lianmai", 1}}).list();
    QVERIFY(!units.isEmpty());
    QCOMPARE(units.first().toObject(), (QJsonObject{{"id", 1002011}, {"name", "1单元"}, {"unit", "单元"}}));

    const QJsonArray rooms = ask(QStringLiteral("house/jinggeng/unitInfo"), {{"unitid", 1002011}, {"lianmai", 1}}).list();
    QVERIFY(!rooms.isEmpty());
    QCOMPARE(rooms.first().toObject(), (QJsonObject{{"id", 1002011001LL}, {"name", "101"}, {"floor", 1}}));
    // Asked the other way round, each path finds nothing.
    QVERIFY(ask(QStringLiteral("house/jinggeng/danyuanInfo"), {{"unitid", 1002011}}).list().isEmpty());
    QVERIFY(ask(QStringLiteral("house/jinggeng/unitInfo"), {{"dongid", 100201}}).list().isEmpty());
}

void TestEntryRoutes::intensiveFarmingRegister_data()
{
    QTest::addColumn<qint64>("building");
    QTest::addColumn<int>("city");
    QTest::addColumn<bool>("known");
    QTest::newRow("under intensive farming") << qint64(100201) << 340100 << true;
    QTest::newRow("another city") << qint64(100201) << 320100 << false;
    QTest::newRow("not under intensive farming") << qint64(100203) << 340100 << false;
}

// The register (unit root) answers only for its buildings, with the community service's ids.
void TestEntryRoutes::intensiveFarmingRegister()
{
    QFETCH(qint64, building);
    QFETCH(int, city);
    QFETCH(bool, known);
    const QJsonArray units = ask(QStringLiteral("intensiveFarming/getUnitList"), {{"id", building}, {"cityid", city}}, QStringLiteral("unit")).list();
    const qint64 unit = building * 10 + 1;
    const QJsonArray rooms = ask(QStringLiteral("intensiveFarming/getHouseList"), {{"id", unit}, {"cityid", city}}, QStringLiteral("unit")).list();
    QCOMPARE(!units.isEmpty(), known);
    QCOMPARE(!rooms.isEmpty(), known);
    if (!known)
        return;
    QCOMPARE(units, ask(QStringLiteral("house/jinggeng/danyuanInfo"), {{"dongid", building}}).list());
    const QJsonObject room = rooms.first().toObject();
    QCOMPARE(idOf(room.value(QStringLiteral("unitid"))), unit);
    QCOMPARE(idOf(room.value(QStringLiteral("roomid"))), unit * 1000 + 1);
    QCOMPARE(room.value(QStringLiteral("name")).toString(), QStringLiteral("101"));
}

void TestEntryRoutes::roomDetail_data()
{
    QTest::addColumn<qint64>("unit");
    QTest::addColumn<qint64>("room");
    QTest::addColumn<int>("code");
    QTest::newRow("known room") << qint64(1002011) << qint64(1002011002) << 200;
    QTest::newRow("room of another unit") << qint64(1002012) << qint64(1002011002) << 405;
    QTest::newRow("beyond the unit's rooms") << qint64(1002011) << qint64(1002011999) << 405;
    QTest::newRow("no room") << qint64(1002011) << qint64(0) << 405;
}

void TestEntryRoutes::roomDetail()
{
    QFETCH(qint64, unit);
    QFETCH(qint64, room);
    QFETCH(int, code);
    const Reply r = ask(QStringLiteral("house/jinggeng/RoomDetail"), {{"unitid", unit}, {"roomid", room}, {"lianmai", 1}});
    QCOMPARE(r.code, code);
    if (code != 200) {
        QCOMPARE(r.message, QStringLiteral("房间不存在"));
        return;
    }
    const QJsonObject d = r.object();
    for (const char *key : {"id", "name", "floors", "allfloors", "builtuparea", "room", "hall", "huxingwei", "kitchen", "balcony"})
        QVERIFY2(d.contains(QLatin1String(key)), key);
    QCOMPARE(d.value(QStringLiteral("name")).toString(), QStringLiteral("102"));
    QCOMPARE(d.value(QStringLiteral("floors")).toInt(), 1);
    const QJsonObject building = ask(QStringLiteral("house/jinggeng/loudongInfo"), {{"comid", 1002}}).list().first().toObject();
    QCOMPARE(d.value(QStringLiteral("allfloors")).toInt(), building.value(QStringLiteral("floors")).toInt());
    QVERIFY(d.value(QStringLiteral("builtuparea")).toDouble() > 0 && d.value(QStringLiteral("room")).toInt() > 0);
}

void TestEntryRoutes::entryComesBackAsTyped_data()
{
    QTest::addColumn<QVariantMap>("form");
    QTest::addColumn<qint64>("community");
    QTest::addColumn<qint64>("unitprice");
    QTest::newRow("sale") << saleForm() << qint64(1003) << qint64(19534);  // 188.5 万 / 96.5 m²
    QTest::newRow("rent, text community id") << rentForm() << qint64(0) << qint64(0);
    QVariantMap alliance = saleForm();
    alliance.remove(QStringLiteral("mycommunityid"));
    alliance.insert(QStringLiteral("communityid"), QStringLiteral("1007"));
    QTest::newRow("sale, alliance community") << alliance << qint64(1007) << qint64(19534);
}

// Every key of the entry form comes back through the sync exactly as posted.
void TestEntryRoutes::entryComesBackAsTyped()
{
    QFETCH(QVariantMap, form);
    QFETCH(qint64, community);
    QFETCH(qint64, unitprice);
    const QString mark = markNow();
    const Reply added = ask(QStringLiteral("fd/HouseAdd"), form, QStringLiteral("app"));
    QCOMPARE(added.code, 200);
    const qint64 id = idOf(added.object().value(QStringLiteral("id")));
    const QJsonObject listing = synced(id, mark);
    QVERIFY(!listing.isEmpty());
    static const QSet<QString> notColumns{"mycommunityid", "scommunityid", "communityid", "sourceid", "sourcetype"};
    for (auto it = form.cbegin(); it != form.cend(); ++it) {
        if (!notColumns.contains(it.key()))
            QCOMPARE(listing.value(columnOf(it.key())).toVariant().toString(), it.value().toString());
    }
    QCOMPARE(idOf(listing.value(QStringLiteral("mycommunityid"))), community);
    QCOMPARE(idOf(listing.value(QStringLiteral("unitprice"))), unitprice);
    QCOMPARE(listing.value(QStringLiteral("shenhestatus")).toInt(), 1);
}

// An edit is found by `myid`; the reviewer's edit is applied before the approval; a rejection
// takes `houseid`.
void TestEntryRoutes::editReviewAndReject()
{
    const qint64 id = idOf(ask(QStringLiteral("fd/HouseAdd"), saleForm(), QStringLiteral("app")).object().value(QStringLiteral("id")));
    QVERIFY(id > 0);
    const auto editForm = [&](const QString &remark) {
        return QVariantMap{{"myid", id}, {"mycommunityid", "0"}, {"scommunityid", ""}, {"communityid", "1011"},
                           {"housetype", "别墅"}, {"remark", remark}, {"price", "200"}, {"builtuparea", "100"},
                           {"ruzhutime", ""}, {"zuunit", "万"}};
    };
    struct Step
    {
        const char *path;
        QString remark;
        int shenhestatus;
    };
    for (const Step &step : {Step{"fd/HouseEidt", kEmoji, 1}, Step{"fd/HouseShenhe", kQuoted, 2}}) {
        const QString mark = markNow();
        const Reply r = ask(QLatin1String(step.path), editForm(step.remark), QStringLiteral("app"));
        QCOMPARE(r.code, 200);
        QCOMPARE(idOf(r.object().value(QStringLiteral("id"))), id);
        const QJsonObject listing = synced(id, mark);
        QCOMPARE(listing.value(QStringLiteral("remark")).toString(), step.remark);
        QCOMPARE(listing.value(QStringLiteral("housetype")).toString(), QStringLiteral("别墅"));
        QCOMPARE(idOf(listing.value(QStringLiteral("mycommunityid"))), 1011);
        QCOMPARE(idOf(listing.value(QStringLiteral("unitprice"))), 20000);
        QCOMPARE(listing.value(QStringLiteral("shenhestatus")).toInt(), step.shenhestatus);
        QCOMPARE(listing.value(QStringLiteral("housestatus")).toInt(), 1);
        QCOMPARE(listing.value(QStringLiteral("buildingNo")).toString(), QStringLiteral("9栋"));  // not in the form: kept
    }
    const QString mark = markNow();
    QCOMPARE(ask(QStringLiteral("fd/HouseBohui"), {{"houseid", id}}, QStringLiteral("app")).code, 200);
    QCOMPARE(synced(id, mark).value(QStringLiteral("shenhestatus")).toInt(), 3);
    QCOMPARE(ask(QStringLiteral("fd/HouseEidt"), {{"myid", 999999}, {"remark", "x"}}, QStringLiteral("app")).code, 405);
}

void TestEntryRoutes::duplicateCheck_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("room");
    QTest::addColumn<bool>("existed");
    QTest::addColumn<bool>("same");
    QTest::newRow("same room and unit") << 0 << "2单元" << "606" << true << true;
    QTest::newRow("same room, other unit") << 0 << "3单元" << "606" << true << false;
    QTest::newRow("other room") << 0 << "2单元" << "607" << false << false;
    QTest::newRow("rent book") << 1 << "2单元" << "606" << false << false;
}

void TestEntryRoutes::duplicateCheck()
{
    QFETCH(int, type);
    QFETCH(QString, unit);
    QFETCH(QString, room);
    QFETCH(bool, existed);
    QFETCH(bool, same);
    const Reply r = ask(QStringLiteral("app/housebookcheck"),
                        {{"type", type}, {"name", kCheckedName}, {"buildingNo", "9栋"}, {"roomNo", room}, {"unitNo", unit}, {"lianmai", 1}},
                        QStringLiteral("app"));
    QCOMPARE(r.code, 200);
    const QJsonObject d = r.object();
    QCOMPARE(d.value(QStringLiteral("existed")).toBool(), existed);
    QCOMPARE(idOf(d.value(QStringLiteral("id"))), existed ? m_entered : 0);
    QCOMPARE(d.value(QStringLiteral("message")).toString().contains(QStringLiteral("相同")), same);
    if (existed)
        QVERIFY(d.value(QStringLiteral("message")).toString().contains(QStringLiteral("张伟")));  // who entered it
}

QTEST_MAIN(TestEntryRoutes)
#include "tst_entryroutes.moc"
