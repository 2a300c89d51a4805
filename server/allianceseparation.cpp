// The role records of a listing: the seven role rows, handing a role to someone, picking up
// the maintenance, releasing a holder, the evidence of a role (keys, exclusive agency, deal,
// commission), an entry's details, its review and its history.
//
// The entry table holds the review state, the evidence and the office approval of each role;
// the listing's holder column holds who has it. Other requests change holder columns too (the
// entry form, the listing review, the survey review), so an entry is brought in line with its
// column before it is read, and every change here rewrites the column (holder and `review`,
// true when the entry is approved).
#include "allianceseparation.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

namespace Alliance {

namespace {

const char *const kColumns[] = {"lururen", "weihuren", "weituoren", "shikanren", "yaoshiren", "dujiaren", "chengjiaoren"};
const char *const kTitles[] = {"录入人", "维护人", "委托人", "实勘人", "钥匙人", "独家代理人", "成交人"};
constexpr int kRoleCount = 7;

const QString kGone = QStringLiteral("房源不存在或已被删除");
const QString kNoRecord = QStringLiteral("记录不存在");
const QString kEntryColumns = QStringLiteral(
    "id, houseid, type, userid, state, remark, evidence, sp_id, pendinguser, heyancode, weituocode, author, ms");
// The photo groups of an entry's details.
const QStringList kPictureGroups{QStringLiteral("contract"), QStringLiteral("fangchanzheng"),
                                 QStringLiteral("shenfenzheng_zhenmian"), QStringLiteral("shenfenzheng_fanmian"),
                                 QStringLiteral("weituoshu"), QStringLiteral("hostcernum"), QStringLiteral("housecernum"),
                                 QStringLiteral("other")};

qint64 nowSecs()
{
    return QDateTime::currentSecsSinceEpoch();
}

QString compactText(const QJsonObject &o)
{
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

QJsonValue parsedJson(const QString &text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    return doc.isArray() ? QJsonValue(doc.array()) : doc.isObject() ? QJsonValue(doc.object()) : QJsonValue();
}

// The role kind a form names (0 … 6); -1 when it names none.
int roleType(const Form &form)
{
    bool ok = false;
    const int type = form.value(QStringLiteral("type")).trimmed().toInt(&ok);
    return ok && type >= 0 && type < kRoleCount ? type : -1;
}

RoleEntry readEntry(const QSqlQuery &q)
{
    RoleEntry e;
    e.id = q.value(0).toLongLong();
    e.houseId = q.value(1).toLongLong();
    e.type = q.value(2).toInt();
    e.userId = q.value(3).toInt();
    e.state = q.value(4).toInt();
    e.remark = q.value(5).toString();
    e.evidence = QJsonDocument::fromJson(q.value(6).toString().toUtf8()).object();
    e.spId = q.value(7).toLongLong();
    e.pendingUser = q.value(8).toInt();
    e.heyancode = q.value(9).toString();
    e.weituocode = q.value(10).toString();
    e.author = q.value(11).toString();
    e.ms = q.value(12).toLongLong();
    return e;
}

Answer done(const QJsonValue &data, const QString &message = QStringLiteral("操作成功"))
{
    return fetched(data, message);
}

} // namespace

QString roleTitle(int type)
{
    return type >= 0 && type < kRoleCount ? QString::fromUtf8(kTitles[type]) : QString();
}

QString recordTime(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// ---- entries ----

bool SeparationRoutes::canReview(const User &u)
{
    return u.manager || u.rights == User::Full;
}

QString SeparationRoutes::deptName(const Store &s, int deptId)
{
    for (const Department &d : s.m_departments)
        if (d.id == deptId)
            return d.name;
    return QString();
}

// Stored photo addresses of this server start with "{base}", so a database reused on another
// port serves them under the new base.
QString SeparationRoutes::resolve(const Store &s, QString url)
{
    static const QString base = QStringLiteral("{base}");
    return url.startsWith(base) ? url.replace(0, base.size(), s.m_baseUrl) : url;
}

QString SeparationRoutes::stored(const Store &s, QString url)
{
    return !s.m_baseUrl.isEmpty() && url.startsWith(s.m_baseUrl) ? url.replace(0, s.m_baseUrl.size(), QStringLiteral("{base}")) : url;
}

RoleEntry SeparationRoutes::entryById(Store &s, qint64 id)
{
    QSqlQuery q(s.db());
    q.prepare(QStringLiteral("select %1 from roleentries where id=?").arg(kEntryColumns));
    q.addBindValue(id);
    return q.exec() && q.next() ? readEntry(q) : RoleEntry();
}

void SeparationRoutes::save(Store &s, RoleEntry &e)
{
    QSqlQuery q(s.db());
    save(q, e);
}

// Prepares the statement only when the query holds another one, so a run of inserts (the
// seed) prepares once.
void SeparationRoutes::save(QSqlQuery &q, RoleEntry &e)
{
    static const QString update = QStringLiteral("update roleentries set houseid=?, type=?, userid=?, state=?, remark=?, "
                                                 "evidence=?, sp_id=?, pendinguser=?, heyancode=?, weituocode=?, author=?, "
                                                 "ms=? where id=?");
    static const QString insert = QStringLiteral("insert into roleentries(houseid, type, userid, state, remark, evidence, sp_id, "
                                                 "pendinguser, heyancode, weituocode, author, ms) values(?,?,?,?,?,?,?,?,?,?,?,?)");
    if (q.lastQuery() != (e.exists() ? update : insert))
        q.prepare(e.exists() ? update : insert);
    for (const QVariant &v : QVariantList{e.houseId, e.type, e.userId, e.state, e.remark, compactText(e.evidence), e.spId,
                                          e.pendingUser, e.heyancode, e.weituocode, e.author, e.ms})
        q.addBindValue(v);
    if (e.exists())
        q.addBindValue(e.id);
    if (!q.exec())
        qWarning("alliance server: role entry: %s", qPrintable(q.lastError().text()));
    else if (!e.exists())
        e.id = q.lastInsertId().toLongLong();
}

QVector<RoleEntry> SeparationRoutes::entriesOf(Store &s, qint64 houseId)
{
    QVector<RoleEntry> entries(kRoleCount);
    for (int type = 0; type < kRoleCount; ++type) {
        entries[type].houseId = houseId;
        entries[type].type = type;
    }
    QSqlQuery q(s.db());
    q.prepare(QStringLiteral("select %1 from roleentries where houseid=?").arg(kEntryColumns));
    q.addBindValue(houseId);
    if (q.exec())
        while (q.next()) {
            const RoleEntry e = readEntry(q);
            if (e.type >= 0 && e.type < kRoleCount)
                entries[e.type] = e;
        }
    const QVariantMap row = s.houseRow(houseId);
    for (RoleEntry &e : entries) {
        const QJsonObject holder = parsedJson(row.value(QLatin1String(kColumns[e.type])).toString()).toObject();
        const User *u = s.user(holder.value(QStringLiteral("phone")).toString());
        const int holderId = u ? u->userId : 0;
        const bool reviewed = holder.value(QStringLiteral("review")).toBool(true);
        if (e.userId == holderId && !(holderId && reviewed && e.state != 2 && e.spId == 0))
            continue;
        if (!e.exists() && !holderId)
            continue;
        // The column changed through another request: it knows the holder and whether the
        // holding was approved.
        e.userId = holderId;
        e.state = holderId ? (reviewed ? 2 : 1) : 0;
        if (!e.exists()) {
            e.author = u->name;
            e.ms = nowSecs();
        }
        save(s, e);
    }
    return entries;
}

RoleEntry SeparationRoutes::entryOf(Store &s, qint64 houseId, int type)
{
    return entriesOf(s, houseId).value(type);
}

void SeparationRoutes::writeHolder(Store &s, const RoleEntry &e)
{
    const User *holder = s.userById(e.userId);
    QVariantMap columns{{QLatin1String(kColumns[e.type]), holder ? compactText(s.roleHolder(*holder, e.state == 2)) : QString()}};
    if (e.type == 4) {
        columns.insert(QStringLiteral("havekeys"), holder ? 1 : 0);
        const QString keyCode = e.evidence.value(QStringLiteral("keycode")).toString();
        if (!holder || !keyCode.isEmpty())
            columns.insert(QStringLiteral("keys"), holder ? e.evidence.value(QStringLiteral("deptName")).toString() + keyCode : QString());
    } else if (e.type == 5) {
        columns.insert(QStringLiteral("hbdujia"), holder ? 1 : 0);
    }
    s.updateHouse(e.houseId, columns);
}

void SeparationRoutes::setHolder(Store &s, RoleEntry &e, int userId)
{
    if (e.spId > 0) {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("update approvals set state=2, remark='角色已另行分配' where id=? and state=0"));
        q.addBindValue(e.spId);
        q.exec();
    }
    e.userId = userId;
    e.state = userId ? 2 : 0;
    e.spId = 0;
    e.pendingUser = 0;
    e.ms = nowSecs();
    save(s, e);
    writeHolder(s, e);
}

void SeparationRoutes::decide(Store &s, RoleEntry &e, bool approve)
{
    if (e.spId > 0) {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("update approvals set state=? where id=? and state=0"));
        q.addBindValue(approve ? 1 : 2);
        q.addBindValue(e.spId);
        q.exec();
    }
    if (approve && e.pendingUser)
        e.userId = e.pendingUser;
    e.state = approve ? 2 : 3;
    e.spId = 0;
    e.pendingUser = 0;
    save(s, e);
    writeHolder(s, e);
}

void SeparationRoutes::note(Store &s, qint64 entryId, const User &by, const QString &content, qint64 ms)
{
    QSqlQuery q(s.db());
    note(q, entryId, by, content, ms);
}

void SeparationRoutes::note(QSqlQuery &q, qint64 entryId, const User &by, const QString &content, qint64 ms)
{
    static const QString insert = QStringLiteral("insert into rolehistory(entryid, author, content, ms) values(?,?,?,?)");
    if (q.lastQuery() != insert)
        q.prepare(insert);
    q.addBindValue(entryId);
    q.addBindValue(by.name);
    q.addBindValue(content);
    q.addBindValue(ms > 0 ? ms : nowSecs());
    q.exec();
}

void enterHolderChanged(Store &store, qint64 houseId, const User &holder, const User &by)
{
    RoleEntry e = SeparationRoutes::entryOf(store, houseId, 0);
    SeparationRoutes::setHolder(store, e, holder.userId);
    SeparationRoutes::note(store, e.id, by, QStringLiteral("分配录入人给%1").arg(holder.name));
}

// ---- requests ----

namespace {

struct RoleRequests
{
    using S = SeparationRoutes;

    static QJsonObject rowObject(Store &s, const RoleEntry &e, const User &u)
    {
        const User *holder = S::userById(s, e.userId);
        const QJsonObject info{{"name", holder ? holder->name : QString()},
                               {"store", holder ? S::deptName(s, holder->deptId) : QString()},
                               {"head", QString()},
                               {"userid", holder ? holder->userId : 0}};
        return QJsonObject{{"id", e.id}, {"type", e.type}, {"title", roleTitle(e.type)}, {"state", e.state},
                           {"phone", holder ? holder->phone : QString()}, {"deptid", holder ? holder->deptId : 0},
                           {"info", info}, {"remark", e.remark}, {"own", holder && holder->userId == u.userId ? 1 : 0},
                           {"detailinfo", QJsonObject{{"heyancode", e.heyancode}, {"weituocode", e.weituocode},
                                                      {"sp_id", QString::number(e.spId)}}}};
    }

    static Answer list(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"itemid", "houseid", "id"});
        if (!S::houseExists(s, houseId))
            return refusal(kGone);
        QJsonArray rows;
        for (const RoleEntry &e : S::entriesOf(s, houseId))
            rows.append(rowObject(s, e, u));
        return fetched(QJsonObject{{"list", rows}});
    }

    // The named role goes to target, approved; the history says who gave it to whom.
    static Answer assign(Store &s, qint64 houseId, int type, const User *target, const User &by)
    {
        if (!S::houseExists(s, houseId))
            return refusal(kGone);
        if (!target)
            return refusal(QStringLiteral("经纪人不存在"));
        RoleEntry e = S::entryOf(s, houseId, type);
        S::setHolder(s, e, target->userId);
        S::note(s, e.id, by, QStringLiteral("分配%1给%2").arg(roleTitle(type), target->name));
        return done(QJsonObject{{"id", e.id}, {"phone", target->phone}, {"name", target->name}}, QStringLiteral("分配成功"));
    }

    static Answer changeOperator(Store &s, const Form &form, const User &u)
    {
        const int type = roleType(form);
        if (type < 0)
            return refusal(QStringLiteral("角色类型错误"));
        qint64 houseId = formId(form, {"houseid", "itemid"});
        if (!houseId)
            houseId = S::entryById(s, formId(form, {"xiezuoid"})).houseId;
        return assign(s, houseId, type, S::userById(s, form.value(QStringLiteral("userid")).toInt()), u);
    }

    static Answer changeMaintainer(Store &s, const Form &form, const User &u)
    {
        return assign(s, formId(form, {"id", "houseid", "itemid"}), 1, S::userById(s, form.value(QStringLiteral("nuserid")).toInt()), u);
    }

    // 拣入: the user takes the maintenance of a listing nobody maintains.
    static Answer pickUp(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"itemid", "houseid", "id"});
        if (!S::houseExists(s, houseId))
            return refusal(kGone);
        RoleEntry e = S::entryOf(s, houseId, 1);
        if (e.userId && e.userId != u.userId)
            return refusal(QStringLiteral("该房源已有维护人"));
        S::setHolder(s, e, u.userId);
        S::note(s, e.id, u, QStringLiteral("拣入成为维护人"));
        return done(QJsonObject{{"id", e.id}}, QStringLiteral("拣入成功"));
    }

    // With a role kind: the role loses its holder and its evidence. Without one: a lock or
    // seal of the listing ends early.
    static Answer release(Store &s, const Form &form, const User &u)
    {
        if (!form.contains(QStringLiteral("type"))) {
            const qint64 id = formId(form, {"id", "houseid", "itemid", "hid"});
            if (!S::updateHouse(s, id, {{"suopan", 0}, {"fengpan", 0}}))
                return refusal(kGone);
            return done(QJsonObject{{"id", id}});
        }
        const int type = roleType(form);
        if (type < 0)
            return refusal(QStringLiteral("角色类型错误"));
        qint64 houseId = formId(form, {"itemid", "houseid"});
        if (!houseId)
            houseId = S::entryById(s, formId(form, {"id"})).houseId;
        if (!S::houseExists(s, houseId))
            return refusal(kGone);
        RoleEntry e = S::entryOf(s, houseId, type);
        if (!e.userId)
            return refusal(QStringLiteral("当前无操作人"));
        e.evidence = QJsonObject();
        e.remark.clear();
        e.heyancode.clear();
        e.weituocode.clear();
        S::setHolder(s, e, 0);
        S::note(s, e.id, u, QStringLiteral("解除%1").arg(roleTitle(type)));
        return done(QJsonObject(), QStringLiteral("解除成功"));
    }

    static Answer history(Store &s, const Form &form, const User &)
    {
        const qint64 id = formId(form, {"id"});
        const int page = std::max(1, form.value(QStringLiteral("pageindex")).toInt());
        const int size = std::max(1, form.value(QStringLiteral("pagesize"), QStringLiteral("20")).toInt());
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("select count(*) from rolehistory where entryid=?"));
        q.addBindValue(id);
        const int total = q.exec() && q.next() ? q.value(0).toInt() : 0;
        q.prepare(QStringLiteral("select author, content, ms from rolehistory where entryid=? order by ms desc, id desc limit ? offset ?"));
        q.addBindValue(id);
        q.addBindValue(size);
        q.addBindValue(qint64(page - 1) * size);
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(QJsonObject{{"author", q.value(0).toString()}, {"content", q.value(1).toString()},
                                        {"time", recordTime(q.value(2).toLongLong())}});
        return fetched(QJsonObject{{"list", list}, {"total", total}});
    }

    // A reviewer's judgement of an entry (state 2 approve, 3 refuse, remark the reason). A form
    // without `state` approves the holders of a listing (`id`) awaiting review, or only the
    // one of the column `role`.
    static Answer review(Store &s, const Form &form, const User &u)
    {
        if (!form.contains(QStringLiteral("state")))
            return approveHolders(s, form, u);
        RoleEntry e = S::entryById(s, formId(form, {"id"}));
        if (!e.exists())
            return refusal(kNoRecord, 405);
        const int state = form.value(QStringLiteral("state")).trimmed().toInt();
        if (state != 2 && state != 3)
            return refusal(QStringLiteral("审核状态不正确"));
        if (!S::canReview(u))
            return refusal(QStringLiteral("您没有审核权限，如有需要请联系管理员！"));
        S::decide(s, e, state == 2);
        const QString remark = form.value(QStringLiteral("remark")).trimmed();
        S::note(s, e.id, u, state == 2 ? QStringLiteral("审核通过") : QStringLiteral("审核拒绝") + (remark.isEmpty() ? QString() : QStringLiteral("：") + remark));
        return done(QJsonObject(), state == 2 ? QStringLiteral("审核成功") : QStringLiteral("已拒绝"));
    }

    static Answer approveHolders(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"id", "houseid", "itemid"});
        if (!S::houseExists(s, houseId))
            return refusal(kGone);
        const QString role = form.value(QStringLiteral("role"));
        for (RoleEntry e : S::entriesOf(s, houseId)) {
            if (!e.userId || e.state == 2 || (!role.isEmpty() && role != QLatin1String(kColumns[e.type])))
                continue;
            S::decide(s, e, true);
            S::note(s, e.id, u, QStringLiteral("审核通过"));
        }
        return done(QJsonObject{{"id", houseId}}, QStringLiteral("审核成功"));
    }
};

} // namespace

void addSeparationRoutes(RouteTable &table)
{
    using R = RoleRequests;
    addRoutes(table, {{"fd/LianmaiPosts", R::list}, {"fd/hbweihuren", R::pickUp}, {"fd/Changeoperator", R::changeOperator},
                      {"fd/LianmaiChangeWeihuren", R::changeMaintainer}, {"fd/JieChu", R::release},
                      {"fd/fendanrecord", R::history}, {"fd/shenpi", R::review}});
    SeparationRoutes::addTo(table);
    SeparationRoutes::addReportTo(table);
}

} // namespace Alliance
