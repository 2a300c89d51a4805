// What the portal pushes decide without a server: reading the gathering replies whatever
// they look like, the checks and the order they run in, and the two portals' records built
// from their field tables.
#include "portal/portalrecords.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include "datacenter.h"

using namespace PortalRecords;
Q_DECLARE_METATYPE(PortalRecords::Refusal)

namespace {

QList<PortalPhoto> photos(int floorPlans, int indoor, int outside)
{
    QList<PortalPhoto> list;
    for (const auto &[count, kind] : {std::pair{floorPlans, int(PortalPhoto::FloorPlan)}, {indoor, PortalPhoto::Indoor},
                                      {outside, PortalPhoto::Outside}})
        for (int i = 0; i < count; ++i)
            list.append({QStringLiteral("https://img.test/%1-%2.jpg").arg(kind).arg(i), kind, false, QString()});
    return list;
}

QJsonObject info(const QString &certNo, const QString &entrustCode)
{
    return portalInfoOf(QJsonObject{{"entrustAgreementNo", entrustCode}, {"realtor", QJsonObject{{"certNo", certNo}}}});
}

// A listing with every source filled, each value distinct; it passes both portals' checks.
PortalPushData filled()
{
    PortalPushData d;
    d.houseId = 7001;
    auto &h = d.house;
    h.id = 7001;
    h.buildingNo = QStringLiteral("4");
    h.dongunit = QStringLiteral("号楼");
    h.unitNo = QStringLiteral("2");
    h.roomNo = QStringLiteral("1203");
    h.price = 215.5;
    h.title = QStringLiteral("房源记录的标题");
    std::tie(h.room, h.hall, h.huxingwei, h.kitchen, h.balcony, h.floors, h.allfloors) = std::tuple(3, 2, 1, 1, 2, 12, 18);
    h.builtuparea = 98.6;
    h.toward = QStringLiteral("南北");
    h.renovation = QStringLiteral("精装");
    h.housetype = QStringLiteral("普通住宅");
    h.contacts = QStringLiteral(R"([{"name":"王业主","phone":"13800001111"},{"name":"李","phone":"13900002222"}])");
    d.community = {true, 31, "滨湖花园", "", "包河区", "滨湖", "徽州大道1号", "117.28", "31.86", "2008年"};
    d.promotion = QJsonObject{{"title", "推广标题"}, {"describes", "推广详情"}, {"taoneimianji", 80.5}, {"shoufu", -1},
                              {"yongjin", "1.5"}, {"dianti", "是"}, {"jianzhuxingshi", "板塔结合"}, {"heating", "集体供暖"},
                              {"chanquannianxian", "70年"}, {"chanquanleixing", "商住两用"}, {"fushuxinxi", "飘窗,自带权属车位"},
                              {"weiyizhufang", "是"}, {"isyishoufang", "否"}, {"fangbennianxian", "满五年"},
                              {"certificateNo", "CZ-9"}, {"depreciateMark", "是"}, {"showingTime", "任意时间"},
                              {"yezhuxintai", "急售"}, {"fuwujieshao", "全程陪同"}};
    d.photos = photos(1, 3, 1);
    d.photos[2].head = true;  // an indoor photo is the cover
    d.photos[2].title = QStringLiteral("客厅");
    d.vrs = QJsonArray{QJsonObject{{"id", "5"}, {"url", "https://vr.test/5"}, {"cover", "c5"}, {"title", "全景"}}};
    d.videoUrl = QStringLiteral("https://vod.test/1.mp4");
    d.videoCover = QStringLiteral("https://vod.test/1.jpg");
    d.wubaCommunityId = QStringLiteral("58c31");
    d.portalInfo = portalInfoOf(QJsonObject{
        {"neighborhood_id", 6601}, {"city_name", "合肥"}, {"house_code", "HC-1"}, {"entrustAgreementNo", "WT-88"},
        {"realtor", QJsonObject{{"realtor_id", 12}, {"user_name", "张经纪"}, {"certNo", "ZG-1"}}},
        {"corp", QJsonObject{{"corp_name", "安居"}}},
        {"top", QJsonObject{{"top_userid", "77"}, {"top_username", "13700007777"}, {"top_status", 2}}}});
    return d;
}

using Expected = QList<QPair<const char *, QJsonValue>>;

// Every key of the 58 record but the photos, with the value filled() must give.
const Expected kWubaValues{
    {"ownerCommId", "58c31"}, {"loudong", "4"}, {"loudongdanwei", "号楼"}, {"danyuan", "2"}, {"danyuandanwei", "单元"},
    {"menpaihao", "1203"}, {"jiage", 215.5}, {"title", "推广标题"}, {"ting", 2}, {"kitchen", 1}, {"zonglouceng", 18},
    {"suozailouceng", 12}, {"mianji", 98.6}, {"taoneimianji", "80.5"}, {"chaoxiang", "南北"}, {"jianzhuniandai", "2008"},
    {"zhuangxiuqingkuang", "精装"}, {"fangwuleixing", "商住两用"}, {"shoufu", ""}, {"balcony", 2},
    {"chanquanleixing", "商住两用"}, {"isyishoufang", "否"}, {"dianti", "是"}, {"fushuxinxi", "飘窗,自带权属车位"},
    {"chanquannianxian", "70年"}, {"fangbennianxian", "满五年"}, {"heating", "集中供暖"}, {"parkingSpace", 1},
    {"depreciateMark", "是"}, {"yongjin", "1.5"}, {"showingTime", "任意时间"}, {"certificateNo", "CZ-9"},
    {"fangyuanxiangqing", "推广详情"}, {"yezhuxintai", "急售"}, {"fuwujieshao", "全程陪同"}, {"jianzhuxingshi", "板塔结合"},
    {"data_video", QJsonArray{QJsonObject{{"url", "https://vod.test/1.mp4"}, {"cover", "https://vod.test/1.jpg"}}}},
    {"data_vr", QJsonArray{QJsonObject{{"id", "5"}, {"url", "https://vr.test/5"}, {"cover", "c5"}, {"title", "全景"}}}}};

// Every key of the XinfuLi record but the photos, likewise.
const Expected kXinfuLiValues{
    {"neighborhood_id", "6601"}, {"name", "滨湖花园"}, {"city_name", "合肥"}, {"district_name", "包河区"},
    {"area_name", "滨湖"}, {"general_address", "徽州大道1号"}, {"baidu_longitude", "117.28"}, {"baidu_latitude", "31.86"},
    {"house_id", 7001}, {"pricing", 215.5}, {"squaremeter", 98.6}, {"floor", 12}, {"total_floor", 18},
    {"floorplan_towards", "南北"}, {"is_new_house", "否"}, {"depreciatemark", "是"}, {"text", "推广标题"},
    {"house_desc", "推广详情"}, {"commission", "1.5"},
    {"house_owner", QJsonObject{{"house_owner_name", "王业主"}, {"house_owner_phone", "13800001111"}}},
    {"building_number", "4"}, {"building_company", "号楼"}, {"unit_number", "2"}, {"unit_company", "单元"},
    {"house_number", "1203"}, {"decoration_type", "精装"}, {"built_year", "2008"}, {"floor_plan_room", 3},
    {"floor_plan_hall", 2}, {"floor_plan_bath", 1}, {"heating_type", "集体供暖"}, {"property_certificate_period", "满五唯一"},
    {"right_period", "70年"}, {"property_only", "是"}, {"building_type", "板塔结合"}, {"elevator", "是"},
    {"ownership", "商住两用"}, {"property_management_type", "普通住宅"}, {"vr_2d", "https://vr.test/5"},
    {"house_realtor", QJsonObject{{"realtor_id", "12"}, {"user_name", "张经纪"}, {"phone", ""}, {"show_phone", ""},
                                  {"agency_name", ""}, {"realtor_code", ""}, {"qualificationCertificate", ""},
                                  {"certNo", "ZG-1"}, {"realtor_id_num", ""}}},
    {"house_corp", QJsonObject{{"corp_name", "安居"}, {"business_code", ""}, {"corporation", ""}}},
    {"house_code", "HC-1"}, {"weituo_code", "WT-88"}, {"top_userid", "77"}, {"top_username", "13700007777"},
    {"top_status", "2"}};

void addValueRows(const Expected &values)
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    for (const auto &row : values)
        QTest::newRow(row.first) << QString::fromLatin1(row.first) << row.second;
}

QStringList keysOf(const Expected &values, const char *photoKey)
{
    QStringList keys{QLatin1String(photoKey)};
    for (const auto &row : values)
        keys << QLatin1String(row.first);
    return keys;
}

} // namespace

class tst_PortalRecords : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { DataCenter::reset(); }

    void refusals_data();
    void refusals();
    void mapPositionTextsDifferByPortal();

    void promotionPhotosRead_data();
    void promotionPhotosRead();
    void readersSurviveMalformedReplies_data();
    void readersSurviveMalformedReplies();
    void readersTakeNumbersAsText();

    void tablesHoldEveryPortalKey();
    void wubaRecordFollowsSources_data() { addValueRows(kWubaValues); }
    void wubaRecordFollowsSources();
    void xinfuLiRecordFollowsSources_data() { addValueRows(kXinfuLiValues); }
    void xinfuLiRecordFollowsSources();
    void photosGoCoverFirst();
    void choiceWords_data();
    void choiceWords();
    void positionAndHolderFallbacks();
    void formsCarryRecordAsText();
};

// ---- checks ----

// Each row starts from the passing listing of filled() and changes what its columns say.
void tst_PortalRecords::refusals_data()
{
    QTest::addColumn<bool>("wuba");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("position");  // "lng,lat"
    QTest::addColumn<QString>("years");
    QTest::addColumn<QList<int>>("counts");  // floor plans, indoor, outside
    QTest::addColumn<QString>("certNo");
    QTest::addColumn<bool>("waived");
    QTest::addColumn<Refusal>("refusal");
    const int now = QDate::currentDate().year();
    const QString ok = QStringLiteral("117.28,31.86"), year = QStringLiteral("2008");
    const QList<int> good{2, 5, 1};
    auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
    // 58 build years
    row("1899") << true << true << ok << "1899" << good << "c" << false << Refusal::BuildYear;
    row("1900") << true << true << ok << "1900" << good << "c" << false << Refusal::BuildYear;
    row("1901") << true << true << ok << "1901" << good << "c" << false << Refusal::None;
    row("now+2") << true << true << ok << QString::number(now + 2) << good << "c" << false << Refusal::None;
    row("now+3") << true << true << ok << QString::number(now + 3) << good << "c" << false << Refusal::BuildYear;
    row("no year") << true << true << ok << "" << good << "c" << false << Refusal::BuildYear;
    row("year with word") << true << true << ok << "2008年" << good << "c" << false << Refusal::None;
    // 58 photo limits
    row("floor 0") << true << true << ok << year << QList<int>{0, 5, 0} << "c" << false << Refusal::FloorPlans;
    row("floor 1") << true << true << ok << year << QList<int>{1, 5, 0} << "c" << false << Refusal::None;
    row("floor 10") << true << true << ok << year << QList<int>{10, 5, 0} << "c" << false << Refusal::None;
    row("floor 11") << true << true << ok << year << QList<int>{11, 5, 0} << "c" << false << Refusal::FloorPlans;
    row("indoor 2") << true << true << ok << year << QList<int>{1, 2, 0} << "c" << false << Refusal::IndoorPhotos;
    row("indoor 3") << true << true << ok << year << QList<int>{1, 3, 0} << "c" << false << Refusal::None;
    row("indoor 15") << true << true << ok << year << QList<int>{1, 15, 0} << "c" << false << Refusal::None;
    row("indoor 16") << true << true << ok << year << QList<int>{1, 16, 0} << "c" << false << Refusal::IndoorPhotos;
    row("outside 10") << true << true << ok << year << QList<int>{1, 3, 10} << "c" << false << Refusal::None;
    row("outside 11") << true << true << ok << year << QList<int>{1, 3, 11} << "c" << false << Refusal::OutsidePhotos;
    // XinfuLi photo count, floor plans included
    row("xfl 0 photos") << false << true << ok << year << QList<int>{0, 0, 0} << "c" << false << Refusal::PhotoCount;
    row("xfl 1 photo") << false << true << ok << year << QList<int>{1, 0, 0} << "c" << false << Refusal::PhotoCount;
    row("xfl 2 photos") << false << true << ok << year << QList<int>{1, 1, 0} << "c" << false << Refusal::None;
    row("xfl 50 photos") << false << true << ok << year << QList<int>{20, 20, 10} << "c" << false << Refusal::None;
    row("xfl 51 photos") << false << true << ok << year << QList<int>{20, 20, 11} << "c" << false << Refusal::PhotoCount;
    // map positions
    row("no lng") << true << true << ",31.86" << year << good << "c" << false << Refusal::NoMapPosition;
    row("zero lat") << true << true << "117.28,0.000" << year << good << "c" << false << Refusal::NoMapPosition;
    row("text lng") << false << true << "东经117,31.86" << year << good << "c" << false << Refusal::NoMapPosition;
    row("padded") << true << true << " 117.28 , 31.86" << year << good << "c" << false << Refusal::None;
    // the first failing check is the one reported
    row("58 community first") << true << false << "," << "" << QList<int>{} << "c" << false << Refusal::NoCommunity;
    row("58 position before year") << true << true << "," << "" << QList<int>{} << "c" << false << Refusal::NoMapPosition;
    row("58 year before photos") << true << true << ok << "" << QList<int>{} << "c" << false << Refusal::BuildYear;
    row("58 floor before indoor") << true << true << ok << year << QList<int>{0, 0, 20} << "c" << false << Refusal::FloorPlans;
    row("58 indoor before outside") << true << true << ok << year << QList<int>{1, 0, 20} << "c" << false << Refusal::IndoorPhotos;
    row("xfl community first") << false << false << "," << year << QList<int>{} << "" << false << Refusal::NoCommunity;
    row("xfl position before cert") << false << true << "," << year << QList<int>{} << "" << false << Refusal::NoMapPosition;
    row("xfl waived position") << false << true << "," << year << QList<int>{} << "" << true << Refusal::NoCertificate;
    row("xfl cert before photos") << false << true << ok << year << QList<int>{} << "" << false << Refusal::NoCertificate;
    row("xfl ignores 58 rules") << false << true << ok << "" << QList<int>{0, 2, 0} << "c" << false << Refusal::None;
}

void tst_PortalRecords::refusals()
{
    QFETCH(bool, wuba);
    QFETCH(bool, found);
    QFETCH(QString, position);
    QFETCH(QString, years);
    QFETCH(QList<int>, counts);
    QFETCH(QString, certNo);
    QFETCH(bool, waived);
    QFETCH(Refusal, refusal);
    PortalPushData d = filled();
    d.community.found = found;
    d.community.lng = position.section(QLatin1Char(','), 0, 0);
    d.community.lat = position.section(QLatin1Char(','), 1, 1);
    d.community.years = years;
    counts << 0 << 0 << 0;
    d.photos = photos(counts.at(0), counts.at(1), counts.at(2));
    d.portalInfo = info(certNo, QStringLiteral("WT-88"));
    QCOMPARE(wuba ? wubaRefusal(d, QDate::currentDate().year()) : xinfuLiRefusal(d, waived), refusal);
    if (refusal == Refusal::NoMapPosition)
        QVERIFY(!hasMapPosition(d.community));
}

void tst_PortalRecords::mapPositionTextsDifferByPortal()
{
    PortalPushData d = filled();
    d.portalInfo = info(QStringLiteral("ZG-1"), QString());
    QCOMPARE(xinfuLiRefusal(d, false), Refusal::NoEntrustCode);
    QCOMPARE(refusalText(Refusal::NoMapPosition, true),
             QStringLiteral("您推送的房源所在小区未标注地图位置，请您标注好小区位置后再推送！"));
    QCOMPARE(refusalText(Refusal::NoMapPosition, false),
             QStringLiteral("您推送的房源所在小区未标注地图位置，直接推送需要幸福里人工审核，审核周期较长，建议您标注好小区位置后推送"));
}

// ---- readers ----

void tst_PortalRecords::promotionPhotosRead_data()
{
    QTest::addColumn<QByteArray>("pic");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<int>("head");
    const int in = PortalPhoto::Indoor, plan = PortalPhoto::FloorPlan, out = PortalPhoto::Outside;
    QTest::newRow("types, frist as text") << QByteArray(R"([{"url":"a","type":1},{"url":"b","type":"2","frist":"1"},{"url":"c","type":3}])")
                                          << QList<int>{in, plan, out} << 1;
    QTest::newRow("other types indoor, no frist: first") << QByteArray(R"([{"url":"a","type":9},{"url":"b","type":0}])")
                                                         << QList<int>{in, in} << 0;
    QTest::newRow("categories") << QByteArray(R"([{"url":"a","category":1},{"url":"b","category":"6"},{"url":"c","category":4,"frist":1}])")
                                << QList<int>{plan, out, in} << 2;
    QTest::newRow("rows without url dropped") << QByteArray(R"([{"type":2,"frist":1},{"url":"","type":2},{"url":"b","type":3},null,7])")
                                              << QList<int>{out} << 0;
    QTest::newRow("two covers: the first wins") << QByteArray(R"([{"url":"a"},{"url":"b","frist":1},{"url":"c","frist":1}])")
                                                << QList<int>{in, in, in} << 1;
    QTest::newRow("rows as an object") << QByteArray(R"({"0":{"url":"a","type":2}})") << QList<int>{plan} << 0;
}

void tst_PortalRecords::promotionPhotosRead()
{
    QFETCH(QByteArray, pic);
    QFETCH(QList<int>, kinds);
    QFETCH(int, head);
    const QJsonDocument rows = QJsonDocument::fromJson(pic);
    const QList<PortalPhoto> read = promotionPhotosOf(QJsonObject{{"pic", rows.isArray() ? QJsonValue(rows.array()) : rows.object()}});
    QList<int> readKinds, heads;
    for (int i = 0; i < read.size(); ++i) {
        readKinds << read.at(i).kind;
        if (read.at(i).head)
            heads << i;
    }
    QCOMPARE(readKinds, kinds);
    QCOMPARE(heads, QList<int>{head});
}

void tst_PortalRecords::readersSurviveMalformedReplies_data()
{
    QTest::addColumn<QJsonValue>("reply");
    QTest::newRow("null") << QJsonValue();
    QTest::newRow("number") << QJsonValue(5);
    QTest::newRow("text") << QJsonValue(QStringLiteral("<html>"));
    QTest::newRow("list of numbers") << QJsonValue(QJsonArray{1, 2, 3});
    QTest::newRow("keys of the wrong kind") << QJsonValue(QJsonObject{{"pic", 3}, {"list", "x"}, {"realtor", 4},
                                                                      {"housestatus", "many"}, {"ownerCommId", QJsonArray{}}});
    QTest::newRow("rows without addresses")
        << QJsonValue(QJsonObject{{"pic", QJsonArray{QJsonObject{{"type", 2}}}}, {"list", QJsonArray{QJsonObject{{"id", 1}}}}});
}

void tst_PortalRecords::readersSurviveMalformedReplies()
{
    QFETCH(QJsonValue, reply);
    QString url = QStringLiteral("stale"), cover = url, platform = url;
    int style = 9;
    videoOf(reply, &url, &cover);
    watermarkOf(reply, &platform, &style);
    QVERIFY(promotionPhotosOf(reply).isEmpty());
    QVERIFY(vrsOf(reply).isEmpty());
    QCOMPARE(url + cover + platform, QString());
    QCOMPARE(style, 0);
    QCOMPARE(housestatusOf(reply), -1);
    QVERIFY(wubaCommunityIdOf(reply).isEmpty());
    QCOMPARE(xinfuLiRefusal({}, true), Refusal::NoCommunity);
    PortalPushData d = filled();
    d.portalInfo = portalInfoOf(reply);
    QCOMPARE(xinfuLiRefusal(d, false), Refusal::NoCertificate);
}

void tst_PortalRecords::readersTakeNumbersAsText()
{
    QCOMPARE(housestatusOf(QJsonObject{{"housestatus", "2"}}), 2);
    QCOMPARE(wubaCommunityIdOf(QJsonObject{{"ownerCommId", 58031}}), QStringLiteral("58031"));
    const QJsonArray vrs = vrsOf(QJsonObject{{"list", QJsonArray{QJsonObject{{"id", 5}, {"url", "u"}}, QJsonObject{{"id", 6}}}}});
    QCOMPARE(vrs, (QJsonArray{QJsonObject{{"id", "5"}, {"url", "u"}, {"cover", ""}, {"title", ""}}}));
    QString url, cover;
    videoOf(QJsonObject{{"list", QJsonArray{QJsonObject{{"url", "v1"}, {"cover", "c1"}}, QJsonObject{{"url", "v2"}}}}}, &url, &cover);
    QCOMPARE(url + QLatin1Char('|') + cover, QStringLiteral("v1|c1"));
    QString platform;
    int style = 0;
    watermarkOf(QJsonObject{{"platform", "幸福里"}, {"imagestyle", "3"}}, &platform, &style);
    QCOMPARE(style, 3);
    // Nested objects may arrive as JSON text.
    const QJsonObject read = portalInfoOf(QJsonObject{{"neighborhood_id", 66}, {"realtor", R"({"certNo":123})"}});
    QCOMPARE(read.value(QStringLiteral("neighborhood_id")).toString(), QStringLiteral("66"));
    QCOMPARE(read.value(QStringLiteral("realtor")).toObject().value(QStringLiteral("certNo")).toString(), QStringLiteral("123"));
}

// ---- records ----

void tst_PortalRecords::tablesHoldEveryPortalKey()
{
    const PortalPushData d = filled();
    const struct
    {
        QList<Field> table;
        QJsonObject record;
        QStringList keys;
    } portals[] = {{wubaFieldTable(), wubaRecord(d), keysOf(kWubaValues, "data_fy")},
                   {xinfuLiFieldTable(), xinfuLiRecord(d), keysOf(kXinfuLiValues, "house_image")}};
    for (const auto &portal : portals) {
        QStringList tableKeys;
        for (const Field &f : portal.table) {
            tableKeys << f.key;
            QVERIFY2(!f.source.trimmed().isEmpty(), qPrintable(f.key));
        }
        tableKeys.sort();
        QCOMPARE(portal.record.keys(), tableKeys);  // every table key in the record, none twice
        QStringList keys = portal.keys;
        keys.sort();
        QCOMPARE(tableKeys, keys);
    }
    QCOMPARE(wubaFieldTable().at(12).source, QStringLiteral("房源记录 builtuparea"));
    QCOMPARE(xinfuLiFieldTable().last().source, QStringLiteral("幸福里资料 top.top_status，无则常量 1"));
}

void tst_PortalRecords::wubaRecordFollowsSources()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QCOMPARE(wubaRecord(filled()).value(key), value);
}

void tst_PortalRecords::xinfuLiRecordFollowsSources()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QCOMPARE(xinfuLiRecord(filled()).value(key), value);
}

void tst_PortalRecords::photosGoCoverFirst()
{
    const PortalPushData d = filled();
    const QJsonArray wuba = wubaRecord(d).value(QStringLiteral("data_fy")).toArray();
    const QJsonArray xfl = xinfuLiRecord(d).value(QStringLiteral("house_image")).toArray();
    const QList<int> order{2, 0, 1, 3, 4};  // the cover, then the others as they came
    QCOMPARE(wuba.size(), order.size());
    QCOMPARE(xfl.size(), order.size());
    for (int i = 0; i < order.size(); ++i) {
        const PortalPhoto &p = d.photos.at(order.at(i));
        QCOMPARE(wuba.at(i).toObject(), (QJsonObject{{"url", p.url}, {"type", p.kind}, {"frist", i == 0 ? 1 : 0}}));
        QCOMPARE(xfl.at(i).toObject(),
                 (QJsonObject{{"image_uri", p.url}, {"is_head", i == 0 ? 1 : 0}, {"image_type", p.kind}, {"content", p.title}}));
    }
}

void tst_PortalRecords::choiceWords_data()
{
    QTest::addColumn<QJsonObject>("facts");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("ordinary ownership keeps the type") << QJsonObject{{"chanquanleixing", "商品房"}} << "fangwuleixing" << "普通住宅";
    QTest::newRow("subsidised ownership") << QJsonObject{{"chanquanleixing", "经济适用房"}} << "fangwuleixing" << "经济适用房";
    QTest::newRow("own heating passes") << QJsonObject{{"heating", "自供暖"}} << "heating_type" << "自供暖";
    QTest::newRow("58 central heating") << QJsonObject{{"heating", "集中供暖"}} << "heating" << "集中供暖";
    QTest::newRow("no own parking") << QJsonObject{{"fushuxinxi", "飘窗"}} << "parkingSpace" << "0";
    QTest::newRow("under two years") << QJsonObject{{"fangbennianxian", "不满两年"}} << "property_certificate_period" << "未满二年";
    QTest::newRow("two years, only home") << QJsonObject{{"fangbennianxian", "满两年"}, {"weiyizhufang", "是"}}
                                          << "property_certificate_period" << "满二唯一";
    QTest::newRow("five years, not only home") << QJsonObject{{"fangbennianxian", "满五年"}, {"weiyizhufang", "否"}}
                                               << "property_certificate_period" << "";
    QTest::newRow("title from the listing") << QJsonObject{{"title", ""}} << "text" << "房源记录的标题";
}

void tst_PortalRecords::choiceWords()
{
    QFETCH(QJsonObject, facts);
    QFETCH(QString, key);
    QFETCH(QString, value);
    PortalPushData d = filled();
    d.promotion = facts;
    const QJsonValue read = wubaRecord(d).contains(key) ? wubaRecord(d).value(key) : xinfuLiRecord(d).value(key);
    QCOMPARE(read.toVariant().toString(), value);
}

void tst_PortalRecords::positionAndHolderFallbacks()
{
    DataCenter::YongHuID = 501;
    DataCenter::UserPhoneNumber = QStringLiteral("13900000001");
    PortalPushData d = filled();
    const QJsonObject marked = xinfuLiRecord(d, QStringLiteral("117.3,31.9"));
    QCOMPARE(marked.value(QStringLiteral("baidu_longitude")).toString() + QLatin1Char(',') +
                 marked.value(QStringLiteral("baidu_latitude")).toString(),
             QStringLiteral("117.3,31.9"));
    QCOMPARE(xinfuLiRecord(d, QStringLiteral("117.3")).value(QStringLiteral("baidu_longitude")).toString(), d.community.lng);
    // Without a holder in the portal data the signed-in agent holds the promotion.
    d.portalInfo = portalInfoOf(QJsonObject{{"top", QJsonObject{{"top_userid", ""}}}});
    const QJsonObject record = xinfuLiRecord(d);
    QCOMPARE(QStringList({record.value(QStringLiteral("top_userid")).toString(), record.value(QStringLiteral("top_username")).toString(),
                          record.value(QStringLiteral("top_status")).toString()}),
             QStringList({"501", "13900000001", "1"}));
}

void tst_PortalRecords::formsCarryRecordAsText()
{
    PortalPushData d = filled();
    d.companyId = 1001;
    d.rent = true;
    const QVariantMap wuba = wubaHouseForm(d);
    QCOMPARE(wuba.value(QStringLiteral("bianhao")).toString() + QLatin1Char('/') + wuba.value(QStringLiteral("cateid")).toString(),
             QStringLiteral("7001/8"));
    QCOMPARE(QJsonDocument::fromJson(wuba.value(QStringLiteral("content")).toString().toUtf8()).object(), wubaRecord(d));
    QCOMPARE(wuba.value(QStringLiteral("jiage")).toString(), QStringLiteral("215.5"));
    QCOMPARE(QJsonDocument::fromJson(wuba.value(QStringLiteral("data_fy")).toString().toUtf8()).array(),
             wubaRecord(d).value(QStringLiteral("data_fy")).toArray());
    QCOMPARE(wuba.size(), wubaRecord(d).size() + 3);

    const QVariantMap xfl = xinfuLiImportForm(d);
    QCOMPARE(xfl.value(QStringLiteral("companyid")).toString() + QLatin1Char('/') + xfl.value(QStringLiteral("house_id")).toString(),
             QStringLiteral("1001/7001"));
    QCOMPARE(QJsonDocument::fromJson(xfl.value(QStringLiteral("house_owner")).toString().toUtf8()).object(),
             xinfuLiRecord(d).value(QStringLiteral("house_owner")).toObject());
    QCOMPARE(xfl.size(), xinfuLiRecord(d).size() + 1);  // house_id is a record key as well
}

QTEST_GUILESS_MAIN(tst_PortalRecords)
#include "tst_portalrecords.moc"
