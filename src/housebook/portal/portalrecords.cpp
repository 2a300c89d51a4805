#include "portal/portalrecords.h"

#include "services/photoservice.h"

#include <algorithm>

// Reading the gathering replies and checking a listing against the portals' rules. The
// records themselves are built in portalrecords_tables.cpp.

namespace PortalRecords {

namespace {

QString textOf(const QJsonObject &o, const char *key)
{
    return PhotoService::textOf(o.value(QLatin1String(key)));
}

// The named keys of an object, each as text ("" when missing), nothing else.
QJsonObject textsOf(const QJsonValue &value, const QStringList &keys)
{
    const QJsonObject in = PhotoService::objectOf(value);
    QJsonObject out;
    for (const QString &key : keys)
        out.insert(key, PhotoService::textOf(in.value(key)));
    return out;
}

bool present(const QJsonValue &value)
{
    return !value.isUndefined() && !value.isNull();
}

// Photo kinds come as the promotion's `type` (2 floor plan, 3 outside) or, from the photo
// pages, as a photo `category` (1 floor plan, 6 outside); everything else is an indoor photo.
int kindOf(const QJsonObject &pic)
{
    const QJsonValue type = pic.value(QStringLiteral("type"));
    if (present(type)) {
        const int t = PhotoService::numberOf(type);
        return t == 2 ? PortalPhoto::FloorPlan : t == 3 ? PortalPhoto::Outside : PortalPhoto::Indoor;
    }
    const int category = PhotoService::numberOf(pic.value(QStringLiteral("category")), HouseBookPhotos_Model::Other);
    if (category == HouseBookPhotos_Model::FloorPlan)
        return PortalPhoto::FloorPlan;
    return category == HouseBookPhotos_Model::Outside ? PortalPhoto::Outside : PortalPhoto::Indoor;
}

// A photo row of the promotion: an object, or a bare address. frist: whether it is marked
// as the cover.
PortalPhoto photoOf(const QJsonValue &row, bool *frist)
{
    PortalPhoto photo;
    *frist = false;
    if (!row.isObject()) {
        photo.url = row.toString().trimmed();
        return photo;
    }
    const QJsonObject o = row.toObject();
    photo.url = textOf(o, "url").trimmed();
    photo.kind = kindOf(o);
    photo.title = textOf(o, "title");
    *frist = PhotoService::numberOf(o.value(QStringLiteral("frist"))) == 1;
    return photo;
}

const QStringList kRealtorKeys{"realtor_id", "user_name", "phone", "show_phone", "agency_name",
                               "realtor_code", "qualificationCertificate", "certNo", "realtor_id_num"};
const QStringList kCorpKeys{"corp_name", "business_code", "corporation"};
const QStringList kTopKeys{"top_userid", "top_username", "top_status"};
const QStringList kInfoKeys{"neighborhood_id", "city_name", "district_name", "area_name", "house_code",
                            "entrustAgreementNo"};

// The digits a build year text starts with ("2008年" → 2008); 0 when it starts otherwise.
int leadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    int digits = 0;
    while (digits < trimmed.size() && digits < 9 && trimmed.at(digits).isDigit())
        ++digits;
    return trimmed.leftRef(digits).toInt();
}

bool coordinate(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && value != 0;
}

int countOf(const QList<PortalPhoto> &photos, int kind)
{
    return int(std::count_if(photos.cbegin(), photos.cend(), [kind](const PortalPhoto &p) { return p.kind == kind; }));
}

} // namespace

// ---- gathering replies ----------------------------------------------------------------

QList<PortalPhoto> promotionPhotosOf(const QJsonValue &detail)
{
    // The detail reply carries the photos under "pic"; a bare list is taken as the photos.
    const QJsonValue pic = detail.isArray() ? detail : PhotoService::objectOf(detail).value(QStringLiteral("pic"));
    QList<PortalPhoto> photos;
    int head = -1;
    for (const QJsonValue &row : PhotoService::entriesOf(pic)) {
        bool frist = false;
        const PortalPhoto photo = photoOf(row, &frist);
        if (photo.url.isEmpty())
            continue;
        if (frist && head < 0)
            head = photos.size();
        photos << photo;
    }
    if (!photos.isEmpty())
        photos[qMax(head, 0)].head = true;
    return photos;
}

QJsonArray vrsOf(const QJsonValue &data)
{
    QJsonArray vrs;
    for (const QJsonValue &row : PhotoService::entriesOf(data)) {
        const QJsonObject vr = textsOf(row.isObject() ? row : QJsonValue(), {"id", "url", "cover", "title"});
        if (!vr.value(QStringLiteral("url")).toString().trimmed().isEmpty())
            vrs.append(vr);
    }
    return vrs;
}

void videoOf(const QJsonValue &data, QString *url, QString *cover)
{
    const QJsonObject o = PhotoService::objectOf(data);
    QJsonObject video = o.contains(QStringLiteral("url")) ? o : QJsonObject();
    if (video.isEmpty()) {
        const QJsonArray list = vrsOf(data);  // same rows: {"id","url","cover","title"}
        video = list.isEmpty() ? QJsonObject() : list.first().toObject();
    }
    if (url)
        *url = textOf(video, "url").trimmed();
    if (cover)
        *cover = textOf(video, "cover").trimmed();
}

void watermarkOf(const QJsonValue &data, QString *platform, int *style)
{
    const QJsonObject o = PhotoService::objectOf(data);
    if (platform)
        *platform = textOf(o, "platform");
    if (style)
        *style = PhotoService::numberOf(o.value(QStringLiteral("imagestyle")));
}

QJsonObject portalInfoOf(const QJsonValue &data)
{
    const QJsonObject in = PhotoService::objectOf(data);
    QJsonObject info = textsOf(in, kInfoKeys);
    info.insert(QStringLiteral("realtor"), textsOf(in.value(QStringLiteral("realtor")), kRealtorKeys));
    info.insert(QStringLiteral("corp"), textsOf(in.value(QStringLiteral("corp")), kCorpKeys));
    info.insert(QStringLiteral("top"), textsOf(in.value(QStringLiteral("top")), kTopKeys));
    return info;
}

int housestatusOf(const QJsonValue &data)
{
    return PhotoService::numberOf(PhotoService::objectOf(data).value(QStringLiteral("housestatus")), -1);
}

QString wubaCommunityIdOf(const QJsonValue &data)
{
    return textOf(PhotoService::objectOf(data), "ownerCommId").trimmed();
}

QJsonObject topHolder(const QJsonObject &portalInfo, const QString &userId, const QString &userName)
{
    const QJsonObject top = textsOf(portalInfo.value(QStringLiteral("top")), kTopKeys);
    if (!top.value(QStringLiteral("top_userid")).toString().trimmed().isEmpty())
        return top;
    return {{"top_userid", userId}, {"top_username", userName}, {"top_status", QStringLiteral("1")}};
}

// ---- checks ---------------------------------------------------------------------------

QString refusalText(Refusal refusal, bool wuba)
{
    switch (refusal) {
    case Refusal::None:
        return QString();
    case Refusal::NoCommunity:
        return QStringLiteral("未检索到小区信息！");
    case Refusal::NoMapPosition:
        return wuba ? QStringLiteral("您推送的房源所在小区未标注地图位置，请您标注好小区位置后再推送！")
                    : QStringLiteral("您推送的房源所在小区未标注地图位置，直接推送需要幸福里人工审核，审核周期较长，"
                                     "建议您标注好小区位置后推送");
    case Refusal::BuildYear:
        return QStringLiteral("您推送的房源所在小区建筑年代信息不准确（建筑年代需>1900,<=当前年+2），"
                              "请修改好小区建筑年代后再推送！");
    case Refusal::FloorPlans:
        return QStringLiteral("图片不符合要求，户型图：至少上传1张，最多上传10张。请重新编辑房源推广信息！");
    case Refusal::IndoorPhotos:
        return QStringLiteral("图片不符合要求，室内图：至少上传3张，最多上传15张。请重新编辑房源推广信息！");
    case Refusal::OutsidePhotos:
        return QStringLiteral("图片不符合要求，室外图：最多上传10张。请重新编辑房源推广信息！");
    case Refusal::NoCertificate:
        return QStringLiteral("缺少委托人【经纪人资格证号】信息！");
    case Refusal::NoEntrustCode:
        return QStringLiteral("缺少委托人【房源委托码】信息！");
    case Refusal::PhotoCount:
        return QStringLiteral("房源信息不符合要求（要求：图片个数 >1且图片个数 <= 50）");
    }
    return QString();
}

bool hasMapPosition(const PortalCommunity &community)
{
    return coordinate(community.lng) && coordinate(community.lat);
}

bool buildYearAcceptable(const QString &years, int currentYear)
{
    const int year = leadingNumber(years);
    return year > 1900 && year <= currentYear + 2;
}

int buildYearOf(const QString &years)
{
    return leadingNumber(years);
}

Refusal wubaRefusal(const PortalPushData &data, int currentYear)
{
    if (!data.community.found)
        return Refusal::NoCommunity;
    if (!hasMapPosition(data.community))
        return Refusal::NoMapPosition;
    if (!buildYearAcceptable(data.community.years, currentYear))
        return Refusal::BuildYear;
    const int floorPlans = countOf(data.photos, PortalPhoto::FloorPlan);
    if (floorPlans < 1 || floorPlans > 10)
        return Refusal::FloorPlans;
    const int indoor = countOf(data.photos, PortalPhoto::Indoor);
    if (indoor < 3 || indoor > 15)
        return Refusal::IndoorPhotos;
    if (countOf(data.photos, PortalPhoto::Outside) > 10)
        return Refusal::OutsidePhotos;
    return Refusal::None;
}

Refusal xinfuLiRefusal(const PortalPushData &data, bool positionWaived)
{
    if (!data.community.found)
        return Refusal::NoCommunity;
    if (!positionWaived && !hasMapPosition(data.community))
        return Refusal::NoMapPosition;
    const QJsonObject info = portalInfoOf(data.portalInfo);
    if (info.value(QStringLiteral("realtor")).toObject().value(QStringLiteral("certNo")).toString().trimmed().isEmpty())
        return Refusal::NoCertificate;
    if (info.value(QStringLiteral("entrustAgreementNo")).toString().trimmed().isEmpty())
        return Refusal::NoEntrustCode;
    if (data.photos.size() <= 1 || data.photos.size() > 50)
        return Refusal::PhotoCount;
    return Refusal::None;
}

} // namespace PortalRecords
