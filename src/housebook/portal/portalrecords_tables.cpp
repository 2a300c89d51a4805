#include "portal/portalrecords.h"

#include "services/photoservice.h"
#include "sql/houserecord.h"

#include <QJsonDocument>

#include <algorithm>
#include <functional>

#include "datacenter.h"

// The two portals' listing records. Each portal has one table of rows {key, where the value
// comes from in words, how to read it}; the record builders and the documentation tables are
// both read off it, so a key cannot be posted without saying where it came from.

namespace PortalRecords {

namespace {

using House = HouseMessage_DataSqlTable::HouseMessageData;

// Everything a row may read, prepared once per record.
struct Source
{
    const PortalPushData &data;
    QJsonObject info;            // the portal data, every key present
    QJsonObject top;             // who holds the promotion on XinfuLi
    QString lng;
    QString lat;
    QList<PortalPhoto> photos;   // the cover first
    QVariantMap owner;           // the first contact of the listing
};

using Getter = std::function<QJsonValue(const Source &)>;

struct Row
{
    QString key;
    QString source;
    Getter value;
};

const QString kWubaSource = QStringLiteral("housebook");  // who sends the community to 58

// ---- reading the sources ----

// A promotion fact as text; the unset number -1 reads as "".
QString fact(const Source &s, const QString &key)
{
    const QString text = PhotoService::textOf(s.data.promotion.value(key)).trimmed();
    return text == QLatin1String("-1") ? QString() : text;
}

QString orElse(const QString &first, const QString &second)
{
    return first.trimmed().isEmpty() ? second : first;
}

QString infoText(const Source &s, const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('.'));
    QJsonValue v = s.info;
    for (const QString &part : parts)
        v = v.toObject().value(part);
    return v.isObject() ? QString() : v.toString();
}

QString titleOf(const Source &s)
{
    return orElse(fact(s, QStringLiteral("title")), s.data.house.title);
}

QString describesOf(const Source &s)
{
    return orElse(fact(s, QStringLiteral("describes")), s.data.house.describes);
}

// The heating fact in the portal's word for central heating; other answers pass as they are.
QString heatingAs(const Source &s, const QString &centralWord)
{
    const QString heating = fact(s, QStringLiteral("heating"));
    const bool central = heating == QStringLiteral("集体供暖") || heating == QStringLiteral("集中供暖");
    return central ? centralWord : heating;
}

// 58 sorts mixed-use and subsidised housing by house type; other listings keep their type.
QString wubaHouseType(const Source &s)
{
    const QString ownership = fact(s, QStringLiteral("chanquanleixing"));
    if (ownership == QStringLiteral("商住两用") || ownership == QStringLiteral("经济适用房"))
        return ownership;
    return s.data.house.housetype;
}

bool ownParking(const Source &s)
{
    return fact(s, QStringLiteral("fushuxinxi")).contains(QStringLiteral("自带权属车位")) || s.data.house.havegarage == 1;
}

// XinfuLi's tax period: how long the certificate is held and whether it is the owner's only
// home. Periods no choice of the portal covers (two or five years, not the only home) are
// left empty.
QString certificatePeriod(const Source &s)
{
    static const QStringList portalWords{QStringLiteral("未满二年"), QStringLiteral("满二唯一"), QStringLiteral("满五唯一")};
    const QString period = fact(s, QStringLiteral("fangbennianxian"));
    if (portalWords.contains(period))
        return period;
    if (period == QStringLiteral("不满两年"))
        return portalWords.at(0);
    if (fact(s, QStringLiteral("weiyizhufang")) != QStringLiteral("是"))
        return QString();
    if (period == QStringLiteral("满两年"))
        return portalWords.at(1);
    return period == QStringLiteral("满五年") ? portalWords.at(2) : QString();
}

QString withDefault(const QString &word, const char *fallback)
{
    return word.trimmed().isEmpty() ? QString::fromUtf8(fallback) : word;
}

QString yearText(const QString &years)
{
    const int year = buildYearOf(years);
    return year > 0 ? QString::number(year) : QString();
}

QString vrAddress(const Source &s)
{
    const QString first = s.data.vrs.isEmpty() ? QString() : s.data.vrs.first().toObject().value(QStringLiteral("url")).toString();
    return orElse(orElse(first, fact(s, QStringLiteral("vrurl"))), s.data.house.vrurl);
}

QJsonArray wubaPhotos(const Source &s)
{
    QJsonArray list;
    for (const PortalPhoto &p : s.photos)
        list.append(QJsonObject{{"url", p.url}, {"type", p.kind}, {"frist", p.head ? 1 : 0}});
    return list;
}

QJsonArray xinfuLiPhotos(const Source &s)
{
    QJsonArray list;
    for (const PortalPhoto &p : s.photos)
        list.append(QJsonObject{{"image_uri", p.url}, {"is_head", p.head ? 1 : 0}, {"image_type", p.kind}, {"content", p.title}});
    return list;
}

QJsonArray videos(const Source &s)
{
    if (s.data.videoUrl.isEmpty())
        return {};
    return {QJsonObject{{"url", s.data.videoUrl}, {"cover", s.data.videoCover}}};
}

// ---- row makers ----

Row house(const char *key, const char *column, std::function<QJsonValue(const House &)> get)
{
    return {QLatin1String(key), QStringLiteral("房源记录 ") + QString::fromUtf8(column),
            [get](const Source &s) { return get(s.data.house); }};
}

Row promotion(const char *key, const char *factKey)
{
    const QString name = QLatin1String(factKey);
    return {QLatin1String(key), QStringLiteral("推广资料 ") + name, [name](const Source &s) { return fact(s, name); }};
}

Row portal(const char *key, const char *path)
{
    const QString name = QLatin1String(path);
    return {QLatin1String(key), QStringLiteral("幸福里资料 ") + name, [name](const Source &s) { return infoText(s, name); }};
}

Row derived(const char *key, const QString &source, Getter get)
{
    return {QLatin1String(key), source, std::move(get)};
}

Row price(const char *key)
{
    return house(key, "price（出售：万元；出租：元/月）", [](const House &h) { return h.price; });
}

Row title(const char *key)
{
    return derived(key, QStringLiteral("推广资料 title，空时房源记录 title"), [](const Source &s) { return titleOf(s); });
}

Row describes(const char *key)
{
    return derived(key, QStringLiteral("推广资料 describes，空时房源记录 describes"), [](const Source &s) { return describesOf(s); });
}

Row buildYear(const char *key)
{
    return derived(key, QStringLiteral("小区记录 years 开头的数字"), [](const Source &s) { return yearText(s.data.community.years); });
}

// ---- the tables ----

QList<Row> buildWubaRows()
{
    return {
        derived("ownerCommId", QStringLiteral("58小区 ownerCommId（小区推送的回复）"), [](const Source &s) { return s.data.wubaCommunityId; }),
        house("loudong", "buildingNo", [](const House &h) { return h.buildingNo; }),
        house("loudongdanwei", "dongunit，空时常量 栋", [](const House &h) { return withDefault(h.dongunit, "栋"); }),
        house("danyuan", "unitNo", [](const House &h) { return h.unitNo; }),
        house("danyuandanwei", "danyuanunit，空时常量 单元", [](const House &h) { return withDefault(h.danyuanunit, "单元"); }),
        house("menpaihao", "roomNo", [](const House &h) { return h.roomNo; }),
        price("jiage"),
        title("title"),
        house("ting", "hall", [](const House &h) { return h.hall; }),
        house("kitchen", "kitchen", [](const House &h) { return h.kitchen; }),
        house("zonglouceng", "allfloors", [](const House &h) { return h.allfloors; }),
        house("suozailouceng", "floors", [](const House &h) { return h.floors; }),
        house("mianji", "builtuparea", [](const House &h) { return h.builtuparea; }),
        promotion("taoneimianji", "taoneimianji"),
        house("chaoxiang", "toward", [](const House &h) { return h.toward; }),
        buildYear("jianzhuniandai"),
        house("zhuangxiuqingkuang", "renovation", [](const House &h) { return h.renovation; }),
        derived("fangwuleixing", QStringLiteral("推广资料 chanquanleixing 为 商住两用/经济适用房 时取之，否则房源记录 housetype"),
                [](const Source &s) { return wubaHouseType(s); }),
        promotion("shoufu", "shoufu"),
        house("balcony", "balcony", [](const House &h) { return h.balcony; }),
        promotion("chanquanleixing", "chanquanleixing"),
        promotion("isyishoufang", "isyishoufang"),
        promotion("dianti", "dianti"),
        promotion("fushuxinxi", "fushuxinxi"),
        promotion("chanquannianxian", "chanquannianxian"),
        promotion("fangbennianxian", "fangbennianxian"),
        derived("heating", QStringLiteral("推广资料 heating（集体供暖 记为 集中供暖）"),
                [](const Source &s) { return heatingAs(s, QStringLiteral("集中供暖")); }),
        derived("parkingSpace", QStringLiteral("推广资料 fushuxinxi 含 自带权属车位 或房源记录 havegarage 为 1 时 1，否则 0"),
                [](const Source &s) { return ownParking(s) ? 1 : 0; }),
        promotion("depreciateMark", "depreciateMark"),
        promotion("yongjin", "yongjin"),
        promotion("showingTime", "showingTime"),
        promotion("certificateNo", "certificateNo"),
        describes("fangyuanxiangqing"),
        promotion("yezhuxintai", "yezhuxintai"),
        promotion("fuwujieshao", "fuwujieshao"),
        promotion("jianzhuxingshi", "jianzhuxingshi"),
        derived("data_fy", QStringLiteral("推广照片 pic，封面在前（url, type, frist）"), [](const Source &s) { return wubaPhotos(s); }),
        derived("data_video", QStringLiteral("视频 url, cover；无视频时空列表"), [](const Source &s) { return videos(s); }),
        derived("data_vr", QStringLiteral("VR列表 id, url, cover, title"), [](const Source &s) { return s.data.vrs; }),
    };
}

QList<Row> buildXinfuLiRows()
{
    return {
        portal("neighborhood_id", "neighborhood_id"),
        derived("name", QStringLiteral("小区记录 name，空时房源记录 name"),
                [](const Source &s) { return orElse(s.data.community.name, s.data.house.name); }),
        derived("city_name", QStringLiteral("幸福里资料 city_name，空时小区记录 city"),
                [](const Source &s) { return orElse(infoText(s, QStringLiteral("city_name")), s.data.community.city); }),
        derived("district_name", QStringLiteral("幸福里资料 district_name，空时小区记录 district，再空时房源记录 district"),
                [](const Source &s) {
                    return orElse(orElse(infoText(s, QStringLiteral("district_name")), s.data.community.district), s.data.house.district);
                }),
        derived("area_name", QStringLiteral("幸福里资料 area_name，空时小区记录 area，再空时房源记录 area"),
                [](const Source &s) {
                    return orElse(orElse(infoText(s, QStringLiteral("area_name")), s.data.community.area), s.data.house.area);
                }),
        derived("general_address", QStringLiteral("小区记录 address，空时房源记录 address"),
                [](const Source &s) { return orElse(s.data.community.address, s.data.house.address); }),
        derived("baidu_longitude", QStringLiteral("推送时标注的位置 lng，否则小区记录 lng"), [](const Source &s) { return s.lng; }),
        derived("baidu_latitude", QStringLiteral("推送时标注的位置 lat，否则小区记录 lat"), [](const Source &s) { return s.lat; }),
        house("house_id", "id", [](const House &h) { return h.id; }),
        price("pricing"),
        house("squaremeter", "builtuparea", [](const House &h) { return h.builtuparea; }),
        house("floor", "floors", [](const House &h) { return h.floors; }),
        house("total_floor", "allfloors", [](const House &h) { return h.allfloors; }),
        house("floorplan_towards", "toward", [](const House &h) { return h.toward; }),
        promotion("is_new_house", "isyishoufang"),
        promotion("depreciatemark", "depreciateMark"),
        title("text"),
        describes("house_desc"),
        promotion("commission", "yongjin"),
        derived("house_owner", QStringLiteral("房源记录 contacts 的第一位联系人 name, phone"),
                [](const Source &s) {
                    return QJsonObject{{"house_owner_name", s.owner.value(QStringLiteral("name")).toString()},
                                       {"house_owner_phone", s.owner.value(QStringLiteral("phone")).toString()}};
                }),
        house("building_number", "buildingNo", [](const House &h) { return h.buildingNo; }),
        house("building_company", "dongunit，空时常量 栋", [](const House &h) { return withDefault(h.dongunit, "栋"); }),
        house("unit_number", "unitNo", [](const House &h) { return h.unitNo; }),
        house("unit_company", "danyuanunit，空时常量 单元", [](const House &h) { return withDefault(h.danyuanunit, "单元"); }),
        house("house_number", "roomNo", [](const House &h) { return h.roomNo; }),
        house("decoration_type", "renovation", [](const House &h) { return h.renovation; }),
        buildYear("built_year"),
        house("floor_plan_room", "room", [](const House &h) { return h.room; }),
        house("floor_plan_hall", "hall", [](const House &h) { return h.hall; }),
        house("floor_plan_bath", "huxingwei", [](const House &h) { return h.huxingwei; }),
        derived("heating_type", QStringLiteral("推广资料 heating（集中供暖 记为 集体供暖）"),
                [](const Source &s) { return heatingAs(s, QStringLiteral("集体供暖")); }),
        derived("property_certificate_period",
                QStringLiteral("推广资料 fangbennianxian 与 weiyizhufang：不满两年→未满二年，满两年且唯一→满二唯一，"
                               "满五年且唯一→满五唯一，其余为空"),
                [](const Source &s) { return certificatePeriod(s); }),
        promotion("right_period", "chanquannianxian"),
        promotion("property_only", "weiyizhufang"),
        promotion("building_type", "jianzhuxingshi"),
        promotion("elevator", "dianti"),
        promotion("ownership", "chanquanleixing"),
        house("property_management_type", "housetype", [](const House &h) { return h.housetype; }),
        derived("house_image", QStringLiteral("推广照片 pic，封面在前（image_uri=url, is_head=frist, image_type=类别, content=title）"),
                [](const Source &s) { return xinfuLiPhotos(s); }),
        derived("vr_2d", QStringLiteral("VR列表第一条 url，空时推广资料 vrurl，再空时房源记录 vrurl"),
                [](const Source &s) { return vrAddress(s); }),
        derived("house_realtor", QStringLiteral("幸福里资料 realtor"), [](const Source &s) { return s.info.value(QStringLiteral("realtor")); }),
        derived("house_corp", QStringLiteral("幸福里资料 corp"), [](const Source &s) { return s.info.value(QStringLiteral("corp")); }),
        portal("house_code", "house_code"),
        portal("weituo_code", "entrustAgreementNo"),
        derived("top_userid", QStringLiteral("幸福里资料 top.top_userid，无则登录用户的 id"),
                [](const Source &s) { return s.top.value(QStringLiteral("top_userid")); }),
        derived("top_username", QStringLiteral("幸福里资料 top.top_username，无则登录用户的手机号"),
                [](const Source &s) { return s.top.value(QStringLiteral("top_username")); }),
        derived("top_status", QStringLiteral("幸福里资料 top.top_status，无则常量 1"),
                [](const Source &s) { return s.top.value(QStringLiteral("top_status")); }),
    };
}

const QList<Row> &wubaRows()
{
    static const QList<Row> rows = buildWubaRows();
    return rows;
}

const QList<Row> &xinfuLiRows()
{
    static const QList<Row> rows = buildXinfuLiRows();
    return rows;
}

// ---- building ----

QList<PortalPhoto> coverFirst(QList<PortalPhoto> photos)
{
    const auto cover = std::find_if(photos.begin(), photos.end(), [](const PortalPhoto &p) { return p.head; });
    if (cover != photos.end())
        std::rotate(photos.begin(), cover, cover + 1);
    return photos;
}

Source sourceOf(const PortalPushData &data, const QString &latLng)
{
    Source s{data, portalInfoOf(data.portalInfo), {}, data.community.lng, data.community.lat,
             coverFirst(data.photos), HouseRecord::contactEntries(data.house.contacts).value(0)};
    s.top = topHolder(s.info, QString::number(DataCenter::YongHuID), DataCenter::UserPhoneNumber);
    const QStringList position = latLng.split(QLatin1Char(','));
    if (position.size() == 2 && !position.at(0).trimmed().isEmpty() && !position.at(1).trimmed().isEmpty()) {
        s.lng = position.at(0).trimmed();
        s.lat = position.at(1).trimmed();
    }
    return s;
}

QJsonObject recordOf(const QList<Row> &rows, const Source &source)
{
    QJsonObject record;
    for (const Row &row : rows)
        record.insert(row.key, row.value(source));
    return record;
}

QList<Field> fieldsOf(const QList<Row> &rows)
{
    QList<Field> fields;
    for (const Row &row : rows)
        fields.append({row.key, row.source});
    return fields;
}

QString formText(const QJsonValue &value)
{
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    return PhotoService::textOf(value);
}

void addRecord(QVariantMap &form, const QJsonObject &record)
{
    for (auto it = record.constBegin(); it != record.constEnd(); ++it)
        form.insert(it.key(), formText(it.value()));
}

QString listingNumber(const PortalPushData &data)
{
    return QString::number(data.houseId > 0 ? data.houseId : data.house.id);
}

} // namespace

QString wubaCateId(bool rent)
{
    return rent ? QStringLiteral("8") : QStringLiteral("12");
}

QVariantMap wubaCommunityForm(const PortalPushData &data)
{
    const PortalCommunity &c = data.community;
    return {{"sourceFrom", kWubaSource},
            {"sourceId", QString::number(c.id)},
            {"cityName", c.city},
            {"districtName", orElse(c.district, data.house.district)},
            {"communityName", orElse(c.name, data.house.name)},
            {"communityAddress", orElse(c.address, data.house.address)},
            {"externalCommunityId", QString::number(c.id)},
            {"externalBuildingId", QString::number(data.house.dongid)},
            {"externalUnitsId", QString::number(data.house.unitid)},
            {"baiduLng", c.lng},
            {"baiduLat", c.lat}};
}

QJsonObject wubaRecord(const PortalPushData &data)
{
    return recordOf(wubaRows(), sourceOf(data, QString()));
}

QVariantMap wubaListingForm(const PortalPushData &data)
{
    return {{"bianhao", listingNumber(data)}, {"cateid", wubaCateId(data.rent)}};
}

QVariantMap wubaHouseForm(const PortalPushData &data)
{
    const QJsonObject record = wubaRecord(data);
    QVariantMap form;
    addRecord(form, record);
    form.insert(wubaListingForm(data));
    form.insert(QStringLiteral("content"), formText(record));
    return form;
}

QJsonObject xinfuLiRecord(const PortalPushData &data, const QString &latLng)
{
    return recordOf(xinfuLiRows(), sourceOf(data, latLng));
}

QVariantMap xinfuLiImportForm(const PortalPushData &data, const QString &latLng)
{
    QVariantMap form;
    addRecord(form, xinfuLiRecord(data, latLng));
    form.insert(QStringLiteral("companyid"), QString::number(data.companyId > 0 ? data.companyId : DataCenter::CompanyID));
    form.insert(QStringLiteral("house_id"), listingNumber(data));
    return form;
}

QList<Field> wubaFieldTable()
{
    return fieldsOf(wubaRows());
}

QList<Field> xinfuLiFieldTable()
{
    return fieldsOf(xinfuLiRows());
}

} // namespace PortalRecords
