// The portal exchange: what the outside listing portals (58 with its AnXuan service, and
// XinfuLi) hold of the alliance's listings. Each push stores the whole form last posted for the
// listing with its status (on the portal or taken down), the takedown reason and time; the
// status queries answer from it. Also the portal data XinfuLi needs of a listing (agent,
// agency, entrustment code, promotion holder), the listing's video and the community editor's
// save.
//
// What the seeded organisation lacks for XinfuLi is taken from ids alone:
//  - company 104 has not signed up for XinfuLi (its listings read housestatus 0, pushes refused);
//  - user 13800000003 has no qualification certificate number (certNo "");
//  - listings whose id ends in 9 have no entrustment code (entrustAgreementNo "").
#include "alliancestore.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlQuery>

namespace Alliance {

namespace {

const QString kGone = QStringLiteral("房源不存在或已被删除");
const QString kDone = QStringLiteral("操作成功");

constexpr int kNotOnXinfuLiCompany = 104;
const QString kWithoutCertificate = QStringLiteral("13800000003");

// The portals' keys in the store: the listing records, the 58 video posts and the 58
// community records (kept under the community's id).
const QString kWuba = QStringLiteral("58");
const QString kWubaVideo = QStringLiteral("58video");
const QString kWubaCommunity = QStringLiteral("58xiaoqu");
const QString kXinfuLi = QStringLiteral("xinfuli");

bool hasEntrustCode(qint64 houseId)
{
    return houseId % 10 != 9;
}

QString compactForm(const Form &form)
{
    QJsonObject object;
    for (auto it = form.cbegin(); it != form.cend(); ++it)
        object.insert(it.key(), it.value());
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

bool isNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

} // namespace

struct PortalRoutes
{
    // Made on first use, so a database seeded before the portals existed works too.
    static QSqlQuery query(Store &s)
    {
        QSqlQuery q(s.db());
        q.exec(QStringLiteral("create table if not exists portalrecords(portal text, houseid integer, form text default '{}', "
                              "status integer default 0, reason text default '', ms integer default 0, "
                              "primary key(portal, houseid))"));
        return q;
    }

    static void storeRecord(Store &s, const QString &portal, qint64 id, const Form &form)
    {
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("insert or replace into portalrecords(portal, houseid, form, status, reason, ms) "
                                 "values(?,?,?,1,'',?)"));
        q.addBindValue(portal);
        q.addBindValue(id);
        q.addBindValue(compactForm(form));
        q.addBindValue(QDateTime::currentSecsSinceEpoch());
        q.exec();
    }

    // A takedown keeps the last record posted; a listing never pushed gets an empty one.
    static void takeDown(Store &s, const QString &portal, qint64 id, const QString &reason)
    {
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("insert or ignore into portalrecords(portal, houseid) values(?,?)"));
        q.addBindValue(portal);
        q.addBindValue(id);
        q.exec();
        q.prepare(QStringLiteral("update portalrecords set status=0, reason=?, ms=? where portal=? and houseid=?"));
        q.addBindValue(reason);
        q.addBindValue(QDateTime::currentSecsSinceEpoch());
        q.addBindValue(portal);
        q.addBindValue(id);
        q.exec();
    }

    static QVariantMap record(Store &s, const QString &portal, qint64 id)
    {
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("select form, status, reason, ms from portalrecords where portal=? and houseid=?"));
        q.addBindValue(portal);
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            return QVariantMap();
        return {{"form", QJsonDocument::fromJson(q.value(0).toString().toUtf8()).object().toVariantMap()},
                {"status", q.value(1).toInt()},
                {"reason", q.value(2).toString()},
                {"time", q.value(3).toLongLong()}};
    }

    static bool isOn(Store &s, const QString &portal, qint64 id)
    {
        return record(s, portal, id).value(QStringLiteral("status")).toInt() == 1;
    }

    // The listing a portal form names by `key`, with the company id the request carries (the
    // 58 requests in the address, the XinfuLi ones in the form). Empty, with the refusal, when
    // either is missing or the listing is gone.
    static QVariantMap listingOf(Store &s, const Form &form, const char *key, Answer *refused)
    {
        const QString text = form.value(QLatin1String(key)).trimmed();
        bool ok = false;
        const qint64 id = text.toLongLong(&ok);
        if (text.isEmpty() || !ok) {
            *refused = refusal(QStringLiteral("缺少房源编号"));
            return QVariantMap();
        }
        if (form.value(QStringLiteral("companyid")).trimmed().toInt() <= 0) {
            *refused = refusal(QStringLiteral("缺少公司编号"));
            return QVariantMap();
        }
        const QVariantMap row = s.houseRow(id);
        if (row.isEmpty())
            *refused = refusal(kGone);
        return row;
    }

    // Runs act on the listing the form names, or answers the refusal.
    template <typename Act>
    static Answer onListing(Store &s, const Form &form, const char *key, Act act)
    {
        Answer refused;
        const QVariantMap row = listingOf(s, form, key, &refused);
        return row.isEmpty() ? refused : act(row);
    }

    static qint64 idOf(const QVariantMap &row)
    {
        return row.value(QStringLiteral("id")).toLongLong();
    }

    static QJsonObject status(int n)
    {
        return QJsonObject{{"housestatus", n}};
    }

    // ---- 58 ----

    static Answer wubaStatus(Store &s, const Form &form, const User &)
    {
        return onListing(s, form, "bianhao", [&](const QVariantMap &row) {
            return fetched(status(isOn(s, kWuba, idOf(row)) ? 1 : 0));
        });
    }

    static Answer wubaCommunity(Store &s, const Form &form, const User &)
    {
        qint64 id = formId(form, {"sourceId", "externalCommunityId"});
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("select id from community where id=? and deleted=0"));
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            return refusal(QStringLiteral("小区不存在"));
        if (form.value(QStringLiteral("companyid")).trimmed().toInt() <= 0)
            return refusal(QStringLiteral("缺少公司编号"));
        storeRecord(s, kWubaCommunity, id, form);
        return fetched(QJsonObject{{"ownerCommId", QStringLiteral("58c%1").arg(id)}}, kDone);
    }

    static Answer wubaHouse(Store &s, const Form &form, const User &)
    {
        return onListing(s, form, "bianhao", [&](const QVariantMap &row) {
            storeRecord(s, kWuba, idOf(row), form);
            return fetched(QJsonObject(), kDone);
        });
    }

    static Answer wubaVideo(Store &s, const Form &form, const User &)
    {
        return onListing(s, form, "bianhao", [&](const QVariantMap &row) {
            if (!isOn(s, kWuba, idOf(row)))
                return refusal(QStringLiteral("房源未推送到58，无法添加视频"));
            storeRecord(s, kWubaVideo, idOf(row), form);
            return fetched(QJsonObject(), kDone);
        });
    }

    static Answer wubaRemove(Store &s, const Form &form, const User &)
    {
        return onListing(s, form, "bianhao", [&](const QVariantMap &row) {
            takeDown(s, kWuba, idOf(row), QString());
            return fetched(QJsonObject(), kDone);
        });
    }

    // ---- XinfuLi ----

    static bool signedUp(const QVariantMap &row)
    {
        return row.value(QStringLiteral("companyid")).toInt() != kNotOnXinfuLiCompany;
    }

    static Answer xinfuLiStatus(Store &s, const Form &form, const User &)
    {
        return onListing(s, form, "house_id", [&](const QVariantMap &row) {
            if (!signedUp(row))
                return fetched(status(0));
            return fetched(status(isOn(s, kXinfuLi, idOf(row)) ? 2 : 1));
        });
    }

    static Answer xinfuLiImport(Store &s, const Form &form, const User &)
    {
        return onListing(s, form, "house_id", [&](const QVariantMap &row) {
            if (!signedUp(row))
                return refusal(QStringLiteral("该公司未开通幸福里"));
            storeRecord(s, kXinfuLi, idOf(row), form);
            return fetched(QJsonObject(), kDone);
        });
    }

    static Answer xinfuLiRemove(Store &s, const Form &form, const User &)
    {
        return onListing(s, form, "house_id", [&](const QVariantMap &row) {
            const QString reason = form.value(QStringLiteral("reason")).trimmed();
            if (reason.isEmpty())
                return refusal(QStringLiteral("请输入下架原因"));
            takeDown(s, kXinfuLi, idOf(row), reason);
            return fetched(QJsonObject(), kDone);
        });
    }

    // The agent who entered the listing: its entry holder, else the phone it was entered under.
    static const User *enteringAgent(Store &s, const QVariantMap &row)
    {
        const QJsonObject holder = QJsonDocument::fromJson(row.value(QStringLiteral("lururen")).toString().toUtf8()).object();
        const User *u = s.user(holder.value(QStringLiteral("phone")).toString());
        return u ? u : s.user(row.value(QStringLiteral("userphone")).toString());
    }

    static QString companyName(const Store &s, int id)
    {
        for (const Company &c : s.m_companies)
            if (c.id == id)
                return c.name;
        return QString();
    }

    static QJsonObject realtor(const Store &s, const User *u)
    {
        if (!u)
            return QJsonObject{{"realtor_id", ""}, {"user_name", ""}, {"phone", ""}, {"show_phone", ""}, {"agency_name", ""},
                               {"realtor_code", ""}, {"qualificationCertificate", ""}, {"certNo", ""}, {"realtor_id_num", ""}};
        const bool certified = u->phone != kWithoutCertificate;
        return QJsonObject{{"realtor_id", QString::number(u->userId)},
                           {"user_name", u->name},
                           {"phone", u->phone},
                           {"show_phone", u->phone},
                           {"agency_name", companyName(s, u->companyId)},
                           {"realtor_code", QStringLiteral("JJR%1").arg(u->userId)},
                           {"qualificationCertificate", certified ? QStringLiteral("房地产经纪人协理") : QString()},
                           {"certNo", certified ? QStringLiteral("ZJ3401%1").arg(u->userId, 6, 10, QLatin1Char('0')) : QString()},
                           {"realtor_id_num", QStringLiteral("34010419900101%1").arg(u->userId % 10000, 4, 10, QLatin1Char('0'))}};
    }

    static Answer xinfuLiInfo(Store &s, const Form &form, const User &)
    {
        const qint64 id = formId(form, {"houseid", "house_id", "id"});
        const QVariantMap row = s.houseRow(id);
        if (row.isEmpty())
            return refusal(kGone);
        const User *agent = enteringAgent(s, row);
        const int company = row.value(QStringLiteral("companyid")).toInt();
        const QJsonObject corp{{"corp_name", companyName(s, company)},
                               {"business_code", QStringLiteral("91340100MA2%1").arg(company, 7, 10, QLatin1Char('0'))},
                               {"corporation", QStringLiteral("法人%1").arg(company)}};
        const QJsonObject top{{"top_userid", agent ? QString::number(agent->userId) : QString()},
                              {"top_username", agent ? agent->name : QString()},
                              {"top_status", 1}};
        return fetched(QJsonObject{
            {"neighborhood_id", QStringLiteral("xfl%1").arg(row.value(QStringLiteral("mycommunityid")).toLongLong())},
            {"city_name", QStringLiteral("合肥")},
            {"district_name", row.value(QStringLiteral("district")).toString()},
            {"area_name", row.value(QStringLiteral("area")).toString()},
            {"house_code", QStringLiteral("HB%1").arg(id, 8, 10, QLatin1Char('0'))},
            {"entrustAgreementNo", hasEntrustCode(id) ? QStringLiteral("WT3401%1").arg(id, 8, 10, QLatin1Char('0')) : QString()},
            {"realtor", realtor(s, agent)},
            {"corp", corp},
            {"top", top}});
    }

    // ---- The listing's video ----

    // The videos of the listing's survey records, newest first: an uploaded one leads the
    // seeded one.
    static Answer houseVideo(Store &s, const Form &form, const User &)
    {
        const qint64 id = formId(form, {"houseid", "id"});
        if (!s.houseExists(id))
            return refusal(kGone);
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select v.id, v.url, v.cover, v.title from recordvideos v join photorecords r on r.id = v.recordid "
                                 "where r.houseid = ? order by v.id desc"));
        q.addBindValue(id);
        QJsonArray list;
        if (q.exec()) {
            while (q.next())
                list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"url", servedPhotoUrl(s, q.value(1).toString())},
                                        {"cover", servedPhotoUrl(s, q.value(2).toString())}, {"title", q.value(3).toString()}});
        }
        return fetched(QJsonObject{{"list", list}});
    }

    // ---- The community editor ----

    static Answer editCommunity(Store &s, const Form &form, const User &)
    {
        const qint64 id = formId(form, {"id"});
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select id from community where id=? and deleted=0"));
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            return refusal(QStringLiteral("小区不存在"));
        QVariantMap columns;
        if (form.contains(QStringLiteral("lng")) || form.contains(QStringLiteral("lat"))) {
            const QString lng = form.value(QStringLiteral("lng")).trimmed();
            const QString lat = form.value(QStringLiteral("lat")).trimmed();
            if (!isNumber(lng) || !isNumber(lat))
                return refusal(QStringLiteral("经纬度格式错误"));
            columns.insert(QStringLiteral("lng"), lng);
            columns.insert(QStringLiteral("lat"), lat);
        }
        if (form.contains(QStringLiteral("years"))) {
            bool ok = false;
            const QString years = form.value(QStringLiteral("years")).trimmed();
            years.toInt(&ok);
            if (!ok)
                return refusal(QStringLiteral("建筑年代格式错误"));
            columns.insert(QStringLiteral("years"), years);
        }
        if (columns.isEmpty())
            return refusal(QStringLiteral("没有要修改的内容"));
        const qint64 t = s.nextChangeTime();
        QStringList sets{QStringLiteral("lasttime=?"), QStringLiteral("lastms=?")};
        QVariantList values{serverTime(t), t};
        for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
            sets << it.key() + QStringLiteral("=?");
            values << it.value();
        }
        q.prepare(QStringLiteral("update community set %1 where id=?").arg(sets.join(QLatin1Char(','))));
        for (const QVariant &v : qAsConst(values))
            q.addBindValue(v);
        q.addBindValue(id);
        if (!q.exec())
            return refusal(QStringLiteral("保存失败"), 500);
        return fetched(QJsonObject::fromVariantMap(columns), QStringLiteral("保存成功"));
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"Wubapush/housestatus", wubaStatus},
                      {"Wubapush/dataxiaoqu", wubaCommunity},
                      {"Wubapush/datahouse", wubaHouse},
                      {"Wubapush/addhousevideo", wubaVideo},
                      {"Wubapush/delclaimhouse", wubaRemove},
                      {"VtApp/housestatus", xinfuLiStatus},
                      {"VtApp/houseimport", xinfuLiImport},
                      {"VtApp/houseremove", xinfuLiRemove},
                      {"search/xinfuli/info", xinfuLiInfo},
                      {"fd/getHouseVod", houseVideo},
                      {"house/xiaoqu/edit", editCommunity}});
    }
};

void addPortalRoutes(RouteTable &table)
{
    PortalRoutes::addTo(table);
}

QVariantMap Store::portalRecord(const QString &portal, qint64 houseId)
{
    return PortalRoutes::record(*this, portal, houseId);
}

} // namespace Alliance
