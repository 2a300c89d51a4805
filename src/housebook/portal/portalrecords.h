#pragma once
// Everything the two portal push objects decide without talking to a server: reading the
// gathering replies, the checks a listing must pass before it is pushed, and the records
// posted to each portal. Each portal's record is built from one field table that names, for
// every key, where its value comes from (the listing record, the promotion facts, the portal
// data, a constant) or that it has no source.
//
// Reply shapes read here (all tolerant: a missing or malformed key reads as empty):
//  - housebook2/housebookdesdetail: {"title","describes","pic":[{"url","type","frist"}], facts...}
//      pic type 2 floor plan, 3 outside, anything else indoor; a pic carrying a photo page
//      category instead (1 floor plan, 6 outside) is sorted by it; "frist" 1 (number or text)
//      marks the cover, else the first photo is the cover; rows without an address are dropped.
//  - house/vr/VRContent:  {"list":[{"id","url","cover","title"}]} or a bare list.
//  - fd/getHouseVod:      {"list":[{"id","url","cover","title"}]} or {"url","cover"}; first entry used.
//  - Propaganda/WatermarkDetail: {"platform","imagestyle"}.
//  - search/xinfuli/info: {"neighborhood_id","city_name","district_name","area_name",
//      "house_code","entrustAgreementNo",
//      "realtor":{"realtor_id","user_name","phone","show_phone","agency_name","realtor_code",
//                 "qualificationCertificate","certNo","realtor_id_num"},
//      "corp":{"corp_name","business_code","corporation"},
//      "top":{"top_userid","top_username","top_status"}}
//      portalInfoOf gives every key of this shape (nested ones in their objects) as text.
//  - Wubapush/housestatus, VtApp/housestatus: {"housestatus": n}.
//  - Wubapush/dataxiaoqu: {"ownerCommId": "..."}.
#include "portal/portalpushdata.h"

#include <QJsonValue>
#include <QStringList>
#include <QVariantMap>

namespace PortalRecords {

// ---- gathering replies ----------------------------------------------------------------
QList<PortalPhoto> promotionPhotosOf(const QJsonValue &detail);
QJsonArray vrsOf(const QJsonValue &data);
void videoOf(const QJsonValue &data, QString *url, QString *cover);
void watermarkOf(const QJsonValue &data, QString *platform, int *style);
QJsonObject portalInfoOf(const QJsonValue &data);
// housestatus of a status reply; -1 when missing or not a number.
int housestatusOf(const QJsonValue &data);
QString wubaCommunityIdOf(const QJsonValue &data);
// Who holds the promotion of the listing on XinfuLi: the portal data's "top" object when it
// names a holder, else the given user (the signed-in agent) with status "1". Keys top_userid,
// top_username, top_status, all text.
QJsonObject topHolder(const QJsonObject &portalInfo, const QString &userId, const QString &userName);

// ---- checks ---------------------------------------------------------------------------
enum class Refusal {
    None,
    NoCommunity,       // "未检索到小区信息！"
    NoMapPosition,     // 58: "前往标注"; XinfuLi: "前往标注" / "继续推送"
    BuildYear,         // 58: "前往修改"
    FloorPlans,        // 58: 1..10
    IndoorPhotos,      // 58: 3..15
    OutsidePhotos,     // 58: <= 10
    NoCertificate,     // XinfuLi: the agent's qualification certificate number
    NoEntrustCode,     // XinfuLi: the listing's entrustment code
    PhotoCount,        // XinfuLi: 1 < photos <= 50
};
// The message box text of a refusal for the portal (wuba true: 58, false: XinfuLi).
QString refusalText(Refusal refusal, bool wuba);

bool hasMapPosition(const PortalCommunity &community);
// 1900 < year <= currentYear + 2; the year is read from the leading digits of the text.
bool buildYearAcceptable(const QString &years, int currentYear);
// The year a build year text starts with ("2008年" → 2008); 0 when it starts with no digit.
int buildYearOf(const QString &years);
// The 58 checks in their order: community record, map position, build year, floor plans,
// indoor photos, outside photos.
Refusal wubaRefusal(const PortalPushData &data, int currentYear);
// The XinfuLi checks in their order: community record, map position (skipped when
// positionWaived: the agent chose "继续推送" or a position came with the push),
// certificate number, entrustment code, photo count.
Refusal xinfuLiRefusal(const PortalPushData &data, bool positionWaived);

// ---- records --------------------------------------------------------------------------
// 58's category of the listing kind: "12" sale, "8" rent.
QString wubaCateId(bool rent);
// Wubapush/dataxiaoqu form.
QVariantMap wubaCommunityForm(const PortalPushData &data);
// Both records send the price as the listing keeps it: 万元 for a sale, 元 a month for a rent.
// The 58 listing record (the keys of Wubapush/datahouse besides bianhao/cateid/content).
QJsonObject wubaRecord(const PortalPushData &data);
// Wubapush/datahouse form: bianhao, cateid, content (the record as compact JSON) and every
// record key (lists as compact JSON text).
QVariantMap wubaHouseForm(const PortalPushData &data);
// bianhao, cateid: the video post and the takedown.
QVariantMap wubaListingForm(const PortalPushData &data);

// The XinfuLi listing record (nested objects and lists as JSON).
QJsonObject xinfuLiRecord(const PortalPushData &data, const QString &latLng = QString());
// VtApp/houseimport form: companyid, house_id and every record key (objects and lists as
// compact JSON text).
QVariantMap xinfuLiImportForm(const PortalPushData &data, const QString &latLng = QString());

// One row of a portal's field table, for the record builders and for documentation.
struct Field
{
    QString key;
    QString source;   // where the value comes from, in words; "无来源" when nothing holds it
};
QList<Field> wubaFieldTable();
QList<Field> xinfuLiFieldTable();

} // namespace PortalRecords
