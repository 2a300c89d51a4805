// The evidence of a role (keys, exclusive agency, deal, commission) and an entry's details; the
// contracts an entry links to (deal contracts of the company, electronic contracts with their
// PDF files); the company's verification settings; and the office approval of a change of
// the entry role, which the review dialog library starts and decides.
#include "allianceseparation.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Alliance {

namespace {

using S = SeparationRoutes;

const QString kGone = QStringLiteral("房源不存在或已被删除");
const QString kContractOrPhoto = QStringLiteral("请至少选择一个合同或者上传一张合同照片！");
const QStringList kPictureGroups{QStringLiteral("contract"), QStringLiteral("fangchanzheng"),
                                 QStringLiteral("shenfenzheng_zhenmian"), QStringLiteral("shenfenzheng_fanmian"),
                                 QStringLiteral("weituoshu"), QStringLiteral("hostcernum"), QStringLiteral("housecernum"),
                                 QStringLiteral("other")};

// The photos of a posted value: JSON [{url}] or ["url"], or comma-separated addresses.
QJsonArray photosOf(const Store &s, const QJsonValue &value)
{
    QJsonArray out;
    if (value.isString()) {
        const QJsonDocument doc = QJsonDocument::fromJson(value.toString().toUtf8());
        if (doc.isArray())
            return photosOf(s, doc.array());
        for (const QString &url : value.toString().split(QLatin1Char(','), Qt::SkipEmptyParts))
            out.append(QJsonObject{{"url", S::stored(s, url.trimmed())}});
        return out;
    }
    for (const QJsonValue &item : value.toArray()) {
        const QString url = item.isObject() ? item.toObject().value(QStringLiteral("url")).toString() : item.toString();
        if (!url.trimmed().isEmpty())
            out.append(QJsonObject{{"url", S::stored(s, url.trimmed())}});
    }
    return out;
}

// The photo groups of an evidence form: the keys posted as photo lists, then `picturecontent`
// (a list: other photos; an object: groups by key, unknown keys among the other photos).
QJsonObject picturesOf(const Store &s, const Form &form, const QStringList &keys)
{
    QJsonObject pictures;
    for (const QString &key : keys)
        pictures.insert(key, photosOf(s, form.value(key)));
    const QJsonDocument content = QJsonDocument::fromJson(form.value(QStringLiteral("picturecontent")).toUtf8());
    QJsonArray other = content.isArray() ? photosOf(s, content.array()) : QJsonArray();
    const QJsonObject groups = content.object();
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        const QJsonArray photos = photosOf(s, it.value());
        if (kPictureGroups.contains(it.key()) && it.key() != QLatin1String("other"))
            pictures.insert(it.key(), photos);
        else
            for (const QJsonValue &p : photos)
                other.append(p);
    }
    pictures.insert(QStringLiteral("other"), other);
    return pictures;
}

bool hasPhotos(const QJsonObject &pictures, std::initializer_list<const char *> groups)
{
    for (const char *g : groups)
        if (!pictures.value(QLatin1String(g)).toArray().isEmpty())
            return true;
    return false;
}

QString text(const Form &form, const char *key)
{
    return form.value(QLatin1String(key)).trimmed();
}

// Each evidence form: what it stores, or why it is refused.
using Evidence = QString (*)(const Store &s, const Form &form, QJsonObject *evidence);

QString keyEvidence(const Store &, const Form &form, QJsonObject *evidence)
{
    if (text(form, "keycode").isEmpty())
        return QStringLiteral("请输入钥匙编号！");
    if (text(form, "keydeptname").isEmpty() && text(form, "keydeptid").isEmpty())
        return QStringLiteral("请选择钥匙所在部门！");
    *evidence = {{"keycode", text(form, "keycode")}, {"shoudate", text(form, "shoudate")}, {"deptName", text(form, "keydeptname")},
                 {"deptid", text(form, "keydeptid")}, {"keyuser", text(form, "userid")}};
    return QString();
}

QString exclusiveEvidence(const Store &s, const Form &form, QJsonObject *evidence)
{
    const QJsonObject pictures = picturesOf(s, form, {QStringLiteral("contract")});
    if (text(form, "contractid").isEmpty() && !hasPhotos(pictures, {"contract", "housecernum", "hostcernum"}))
        return QStringLiteral("请至少选择一个合同或者上传一张合同图片或房产证或身份证图片！");
    *evidence = {{"pictures", pictures}, {"housecernum", text(form, "housecernum")}, {"hostcernum", text(form, "hostcernum")},
                 {"endtime", text(form, "endtime")}, {"contractid", text(form, "contractid")}};
    return QString();
}

QString dealEvidence(const Store &s, const Form &form, QJsonObject *evidence)
{
    const QJsonObject pictures = picturesOf(s, form, {QStringLiteral("contract")});
    if (text(form, "contractid").isEmpty() && !hasPhotos(pictures, {"contract"}))
        return kContractOrPhoto;
    *evidence = {{"pictures", pictures}, {"contractid", text(form, "contractid")}};
    return QString();
}

QString commissionEvidence(const Store &s, const Form &form, QJsonObject *evidence)
{
    const QJsonObject pictures = picturesOf(s, form, kPictureGroups.mid(0, 5));
    if (text(form, "contractid").isEmpty() && !hasPhotos(pictures, {"contract"}))
        return kContractOrPhoto;
    *evidence = {{"pictures", pictures}, {"contractid", text(form, "contractid")}, {"heyanleixing", text(form, "heyanleixing")},
                 {"heyanrenid", text(form, "heyanrenid")}, {"heyanren", text(form, "heyanren")}, {"userid", text(form, "userid")}};
    return QString();
}

QVariantMap contractRow(Store &s, const QString &id)
{
    QSqlQuery q(S::db(s));
    q.prepare(QStringLiteral("select id, kind, contractno, typename, xiaoqu, houseaddress, qianyueren, storename, ms "
                             "from contracts where id=?"));
    q.addBindValue(id.toLongLong());
    QVariantMap row;
    if (q.exec() && q.next())
        for (int k = 0; k < 9; ++k)
            row.insert(q.record().fieldName(k), q.value(k));
    return row;
}

QJsonArray pdfLinks(const Store &s, qint64 id, const QString &contractNo)
{
    return QJsonArray{QJsonObject{{"name", contractNo + QStringLiteral(".pdf")},
                                  {"url", QStringLiteral("%1/files/contracts/%2.pdf").arg(S::baseUrl(s)).arg(id)}}};
}

struct EvidenceRequests
{
    static Answer submit(Store &s, const Form &form, const User &u, int type, Evidence build, const QString &label)
    {
        const qint64 houseId = formId(form, {"itemid", "houseid", "id"});
        if (!S::houseExists(s, houseId))
            return refusal(kGone);
        QJsonObject evidence;
        const QString problem = build(s, form, &evidence);
        if (!problem.isEmpty())
            return refusal(problem);
        RoleEntry e = S::entryOf(s, houseId, type);
        if (e.userId && e.userId != u.userId)
            return refusal(QStringLiteral("您不是该角色的操作人"), 405);
        const bool edit = !e.evidence.isEmpty();
        const bool applied = text(form, "pass") == QLatin1String("1") && S::canReview(u);
        e.userId = u.userId;
        e.evidence = evidence;
        e.remark = form.value(QStringLiteral("remark"));
        e.state = applied ? 2 : 1;
        e.author = u.name;
        e.ms = QDateTime::currentSecsSinceEpoch();
        if (type == 2) {
            e.heyancode = text(form, "heyancode");
            e.weituocode = text(form, "weituocode");
        }
        S::save(s, e);
        S::writeHolder(s, e);
        S::note(s, e.id, u, (edit ? QStringLiteral("修改") : QStringLiteral("录入")) + label);
        return fetched(QJsonObject{{"id", e.id}, {"pass", applied ? 1 : 0}},
                       applied ? QStringLiteral("提交成功") : QStringLiteral("提交成功，等待审核"));
    }

    static Answer keys(Store &s, const Form &f, const User &u) { return submit(s, f, u, 4, keyEvidence, QStringLiteral("钥匙信息")); }
    static Answer exclusive(Store &s, const Form &f, const User &u) { return submit(s, f, u, 5, exclusiveEvidence, QStringLiteral("独家代理信息")); }
    static Answer deal(Store &s, const Form &f, const User &u) { return submit(s, f, u, 6, dealEvidence, QStringLiteral("成交信息")); }
    static Answer commission(Store &s, const Form &f, const User &u) { return submit(s, f, u, 2, commissionEvidence, QStringLiteral("委托信息")); }

    static Answer detail(Store &s, const Form &form, const User &)
    {
        const RoleEntry e = S::entryById(s, formId(form, {"id"}));
        if (!e.exists())
            return refusal(QStringLiteral("记录不存在"), 405);
        const QJsonObject stored = e.evidence.value(QStringLiteral("pictures")).toObject();
        QJsonObject pictures;
        for (const QString &group : kPictureGroups) {
            QJsonArray photos;
            for (const QJsonValue &p : stored.value(group).toArray())
                photos.append(QJsonObject{{"url", S::resolve(s, p.toObject().value(QStringLiteral("url")).toString())}});
            pictures.insert(group, photos);
        }
        const auto ev = [&e](const char *key) { return e.evidence.value(QLatin1String(key)).toString(); };
        const QVariantMap contract = contractRow(s, ev("contractid"));
        const QString contractNo = contract.value(QStringLiteral("contractno")).toString();
        const bool electronic = contract.value(QStringLiteral("kind")).toInt() == 2;
        const QJsonObject info{{"sp_id", QString::number(e.spId)}, {"heyancode", e.heyancode}, {"weituocode", e.weituocode},
                               {"heyanren", QJsonObject{{"name", ev("heyanren")}}}, {"keycode", ev("keycode")},
                               {"shoudate", ev("shoudate")}, {"deptName", ev("deptName")},
                               {"housecernum", ev("housecernum")}, {"hostcernum", ev("hostcernum")}};
        return fetched(QJsonObject{{"id", e.id}, {"type", e.type}, {"author", e.author}, {"time", recordTime(e.ms)},
                                   {"state", e.state}, {"remark", e.remark}, {"picturecontent", pictures},
                                   {"endtime", ev("endtime")}, {"contractid", ev("contractid")}, {"contractNo", contractNo},
                                   {"pdf", electronic ? pdfLinks(s, contract.value(QStringLiteral("id")).toLongLong(), contractNo) : QJsonArray()},
                                   {"detailinfo", info}});
    }
};

struct ContractRequests
{
    // Deal contracts of one kind (0 sale, 1 rent) whose community contains `xiaoqu`.
    static Answer deals(Store &s, const Form &form, int kind)
    {
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("select id, contractno, xiaoqu, houseaddress, qianyueren, storename, ms from contracts "
                                 "where kind=? and instr(xiaoqu, ?)>0 order by ms desc, id"));
        q.addBindValue(kind);
        q.addBindValue(text(form, "xiaoqu"));
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"contractno", q.value(1).toString()},
                                        {"xiaoqu", q.value(2).toString()}, {"houseaddress", q.value(3).toString()},
                                        {"qianyueren", q.value(4).toString()}, {"storename", q.value(5).toString()},
                                        {"time", recordTime(q.value(6).toLongLong())}});
        return fetched(QJsonObject{{"list", list}});
    }

    static Answer saleDeals(Store &s, const Form &f, const User &) { return deals(s, f, 0); }
    static Answer rentDeals(Store &s, const Form &f, const User &) { return deals(s, f, 1); }

    // Electronic contracts whose number contains `htcode` (any case).
    static Answer electronic(Store &s, const Form &form, const User &)
    {
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("select id, contractno, typename, qianyueren, storename from contracts "
                                 "where kind=2 and instr(upper(contractno), upper(?))>0 order by id"));
        q.addBindValue(text(form, "htcode"));
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"contractno", q.value(1).toString()},
                                        {"typename", q.value(2).toString()}, {"qianyueren", q.value(3).toString()},
                                        {"storename", q.value(4).toString()},
                                        {"pdf", pdfLinks(s, q.value(0).toLongLong(), q.value(1).toString())}});
        return fetched(QJsonObject{{"list", list}});
    }

    // GET /files/contracts/N.pdf
    static Answer file(Store &s, const Form &form, const User &)
    {
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("select pdf from contracts where id=? and kind=2"));
        q.addBindValue(form.value(QStringLiteral("file")).toLongLong());
        Answer a;
        a.isRaw = true;
        if (!q.exec() || !q.next()) {
            a.code = 404;
            a.rawType = "text/plain";
            a.raw = "not found";
            return a;
        }
        a.rawType = "application/pdf";
        a.raw = q.value(0).toByteArray();
        return a;
    }

    // Companies 101 and 103 require a verifier on the commission form; 102 and 104 do not.
    static Answer promotion(Store &, const Form &, const User &u)
    {
        const QJsonArray people{
            QJsonObject{{"id", 1}, {"name", QStringLiteral("王建国")}, {"type", QStringLiteral("业主")},
                        {"idcard", QStringLiteral("340104196805121234")}, {"isweituo", 1}},
            QJsonObject{{"id", 2}, {"name", QStringLiteral("李秀梅")}, {"type", QStringLiteral("共有人")},
                        {"idcard", QStringLiteral("340104197002083326")}, {"isweituo", 0}},
            QJsonObject{{"id", 3}, {"name", QStringLiteral("赵磊")}, {"type", QStringLiteral("代理人")},
                        {"idcard", QStringLiteral("340111198911230517")}, {"isweituo", 0}}};
        return fetched(QJsonObject{{"heyan", u.companyId == 101 || u.companyId == 103 ? 1 : 0}, {"heyanren", people}});
    }
};

// The review dialog library's side of a change of the entry role that needs approval.
struct ApprovalRequests
{
    static Answer apply(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"house_book_id", "houseid", "id"});
        if (!S::houseExists(s, houseId))
            return refusal(kGone);
        const User *target = S::userById(s, form.value(QStringLiteral("userid")).toInt());
        if (!target)
            return refusal(QStringLiteral("经纪人不存在"));
        RoleEntry e = S::entryOf(s, houseId, 0);
        if (!e.exists())
            S::save(s, e);
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("insert into approvals(entryid, houseid, userid, applicant, content, state, ms) values(?,?,?,?,?,0,?)"));
        for (const QVariant &v : QVariantList{e.id, houseId, target->userId, u.name, form.value(QStringLiteral("content")),
                                              QDateTime::currentSecsSinceEpoch()})
            q.addBindValue(v);
        if (!q.exec())
            return refusal(QStringLiteral("提交审批失败"), 500);
        e.spId = q.lastInsertId().toLongLong();
        e.pendingUser = target->userId;
        e.state = 1;
        S::save(s, e);
        S::writeHolder(s, e);
        S::note(s, e.id, u, QStringLiteral("申请将录入人变更为%1，等待OA审批").arg(target->name));
        return fetched(QJsonObject{{"record_id", e.spId}}, QStringLiteral("提交审批成功"));
    }

    static Answer check(Store &s, const Form &form, const User &u)
    {
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("select entryid, state from approvals where id=?"));
        q.addBindValue(formId(form, {"record_id", "id"}));
        if (!q.exec() || !q.next())
            return refusal(QStringLiteral("审批记录不存在"), 405);
        RoleEntry e = S::entryById(s, q.value(0).toLongLong());
        if (q.value(1).toInt() != 0 || !e.exists())
            return refusal(QStringLiteral("该审批已处理"));
        const int state = text(form, "state").toInt();
        if (state != 1 && state != 2)
            return refusal(QStringLiteral("审核状态不正确"));
        if (!S::canReview(u))
            return refusal(QStringLiteral("您没有权限审核该OA申请！"));
        S::decide(s, e, state == 1);
        const QString remark = text(form, "remark");
        S::note(s, e.id, u, state == 1 ? QStringLiteral("OA审批通过") : QStringLiteral("OA审批拒绝") + (remark.isEmpty() ? QString() : QStringLiteral("：") + remark));
        return fetched(QJsonObject(), QStringLiteral("审批成功"));
    }
};

} // namespace

void SeparationRoutes::addTo(RouteTable &t)
{
    using E = EvidenceRequests;
    using C = ContractRequests;
    addRoutes(t, {{"fd/hbaddkey", E::keys}, {"fd/hbdujia", E::exclusive}, {"fd/hbchengjiao", E::deal},
                  {"fd/hbweituo", E::commission}, {"fd/hbfendandetail", E::detail},
                  {"app/LianmaiScontractPosts", C::saleDeals}, {"app/LianmaiScontractRentPosts", C::rentDeals},
                  {"itcontract/LianmaiPosts", C::electronic}, {"files/contracts", C::file},
                  {"xinfuli/getCompanyPromotion", C::promotion},
                  {"apiv3_0_2/ArApplyRecordCtr/apply", ApprovalRequests::apply},
                  {"apiv3_0_2/ArApplyRecordCtr/check", ApprovalRequests::check}});
}

} // namespace Alliance
