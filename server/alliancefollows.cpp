// Follow-ups of a listing (with tags, reminders and call recordings), the follow-up tag lists
// of each company, and the viewings shown under a listing. Also the detail window's tables and
// the rows seeded into them.
#include "alliancestore.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace Alliance {

namespace {

constexpr int kFollowPageSize = 10;
// Recording ids live in their own range, apart from follow-up ids.
constexpr qint64 kFirstRecording = 700000;
const QString kConverting = QStringLiteral("录音内容正在转码处理中，请稍后再进行访问！");
const QStringList kDefaultTags{QStringLiteral("加急"), QStringLiteral("重要"), QStringLiteral("已带看"), QStringLiteral("价格可谈")};

QString minuteText(qint64 secs, const QString &format)
{
    return secs > 0 ? QDateTime::fromSecsSinceEpoch(secs).toString(format) : QString();
}

bool execAll(QSqlQuery &q, const QStringList &statements, QString *error)
{
    for (const QString &sql : statements) {
        if (!q.exec(sql)) {
            *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

// A follow-up as a form gives it.
struct FollowInput
{
    int type = 1;
    QString content;
    QString tag;
    bool remind = false;
    qint64 remindAt = 0;
    const User *remindUser = nullptr;
    QString remindText;
};

qint64 remindTime(const Form &form)
{
    const QDate day = QDate::fromString(form.value(QStringLiteral("startdate")), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return 0;
    const QTime time(form.value(QStringLiteral("starthour")).toInt(), form.value(QStringLiteral("startminute")).toInt());
    return QDateTime(day, time.isValid() ? time : QTime(0, 0)).toSecsSinceEpoch();
}

QStringList viewingNames()
{
    return {QStringLiteral("王先生"), QStringLiteral("李女士"), QStringLiteral("张先生"), QStringLiteral("刘女士"),
            QStringLiteral("陈先生"), QStringLiteral("杨女士")};
}

} // namespace

bool createDetailTables(QSqlQuery &q, QString *error)
{
    return execAll(q,
                   {QStringLiteral("create table followtags(companyid integer, type integer, name text, primary key(companyid, type, name))"),
                    QStringLiteral("create table modifyrecord(id integer primary key autoincrement, houseid integer, name text, "
                                   "content text, ms integer)"),
                    QStringLiteral("create index modifyrecord_house on modifyrecord(houseid, ms)"),
                    QStringLiteral("create index follows_house on follows(houseid, ms)"),
                    QStringLiteral("create table mustfollow(phone text primary key, houseid integer)")},
                   error);
}

// Every 25th listing has a follow-up, every 50th a call recording (the first one still
// converting), listing 1 a dozen follow-ups, every 10th two rows of change history.
bool seedDetailRecords(QSqlQuery &q, const QVector<Company> &companies, QString *error)
{
    const QString follows = QStringLiteral("insert into follows(houseid, phone, name, content, ms, lianmai, type, tag, recordid, "
                                           "recordconverting) ");
    QStringList statements{
        follows + QStringLiteral("select id, userphone, author, '业主表示价格可以再谈', lastms - 3600, 1, types + 1, '重要', 0, 0 "
                                 "from house where id % 25 = 1"),
        follows + QStringLiteral("with recursive n(k) as (select 1 union all select k + 1 from n where k < 11) "
                                 "select h.id, h.userphone, h.author, '第' || n.k || '次电话回访，业主在考虑', h.lastms - n.k * 86400, 1, "
                                 "h.types + 1, '', 0, 0 from house h, n where h.id = 1"),
        follows + QStringLiteral("select id, userphone, author, '隐号通话录音', lastms - 7200, 1, types + 1, '', %1 + id, "
                                 "case when id = 1 then 1 else 0 end from house where id % 50 = 1")
                      .arg(kFirstRecording),
        QStringLiteral("insert into modifyrecord(houseid, name, content, ms) select id, author, '录入房源', lastms - 86400 * 30 "
                       "from house where id % 10 = 1"),
        QStringLiteral("insert into modifyrecord(houseid, name, content, ms) select id, author, '房源状态修改为' || newstate, lastms "
                       "from house where id % 10 = 1")};
    for (const Company &c : companies)
        for (int type = 1; type <= 2; ++type)
            for (const QString &tag : kDefaultTags)
                statements << QStringLiteral("insert into followtags values(%1, %2, '%3')").arg(c.id).arg(type).arg(tag);
    return execAll(q, statements, error);
}

// The handlers of follow-ups, tags, recordings and viewings, one per path.
struct FollowRoutes
{
    static FollowInput followInput(const Store &s, const Form &form, const User &u)
    {
        FollowInput in;
        in.type = form.value(QStringLiteral("type"), QStringLiteral("1")).toInt() == 2 ? 2 : 1;
        in.content = form.value(QStringLiteral("content"));
        in.tag = form.value(QStringLiteral("tag"));
        in.remind = form.value(QStringLiteral("tixing")).toInt() == 1;
        if (in.remind) {
            in.remindAt = remindTime(form);
            in.remindUser = s.userById(form.value(QStringLiteral("tixinguserid")).toInt());
            if (!in.remindUser)
                in.remindUser = &u;
            in.remindText = form.value(QStringLiteral("contents"));
        }
        return in;
    }

    // Stores a follow-up of a listing; it counts on the listing and settles the user's debt.
    static qint64 addFollow(Store &s, const QVariantMap &row, const User &u, const FollowInput &in)
    {
        const qint64 houseId = row.value(QStringLiteral("id")).toLongLong();
        const qint64 t = QDateTime::currentSecsSinceEpoch();
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("insert into follows(houseid, phone, name, content, ms, lianmai, type, tag, tixing, contents, "
                                 "tixinguser, tixingms) values(?,?,?,?,?,1,?,?,?,?,?,?)"));
        for (const QVariant &v : QVariantList{houseId, u.phone, u.name, in.content, t, in.type, in.tag, in.remind ? 1 : 0,
                                              in.remindText, in.remindUser ? in.remindUser->name : QString(), in.remindAt})
            q.addBindValue(v);
        if (!q.exec())
            return 0;
        const qint64 followId = q.lastInsertId().toLongLong();
        s.updateHouse(houseId, {{"follows", QString::number(row.value(QStringLiteral("follows")).toInt() + 1)},
                                {"followtime", QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("yyyy/M/d H:mm"))}});
        s.followedUp(u.phone, houseId);
        if (in.remind && in.remindUser)
            s.addPersonal(in.remindUser->phone, QStringLiteral("remind"), houseId, in.remindText);
        return followId;
    }

    static Answer followAdd(Store &s, const Form &form, const User &u)
    {
        const QVariantMap row = s.houseRow(formId(form, {"id", "houseid"}));
        if (row.isEmpty())
            return refusal(QStringLiteral("房源不存在或已被删除"));
        const FollowInput in = followInput(s, form, u);
        if (in.content.trimmed().isEmpty())
            return refusal(QStringLiteral("请输入跟进内容"));
        const qint64 id = addFollow(s, row, u, in);
        if (id <= 0)
            return refusal(QStringLiteral("跟进失败"));
        return fetched(QJsonObject{{"id", id}}, QStringLiteral("跟进成功"));
    }

    static QJsonObject followRow(const Store &s, const QSqlQuery &q, const User &u)
    {
        const User *author = s.user(q.value(2).toString());
        return QJsonObject{{"id", q.value(0).toLongLong()},
                           {"type", q.value(1).toInt()},
                           {"username", q.value(3).toString()},
                           {"time", minuteText(q.value(5).toLongLong(), QStringLiteral("yyyy-MM-dd HH:mm"))},
                           {"content", q.value(4).toString()},
                           {"own", q.value(2).toString() == u.phone ? 1 : 0},
                           {"recordhidden", q.value(12).toInt()},
                           {"tag", q.value(6).toString()},
                           {"tixing", q.value(7).toInt()},
                           {"contents", q.value(8).toString()},
                           {"tixinguser", q.value(9).toString()},
                           {"tixingtime", minuteText(q.value(10).toLongLong(), QStringLiteral("yyyy-MM-dd H:mm"))},
                           {"userid", author ? author->userId : 0},
                           {"recordid", q.value(11).toLongLong()}};
    }

    static Answer followPosts(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"id", "houseid"});
        const int page = std::max(1, form.value(QStringLiteral("pageindex")).toInt());
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select count(*) from follows where houseid=?"));
        q.addBindValue(houseId);
        const int total = q.exec() && q.next() ? q.value(0).toInt() : 0;
        q.prepare(QStringLiteral("select id, type, phone, name, content, ms, tag, tixing, contents, tixinguser, tixingms, recordid, "
                                 "recordhidden from follows where houseid=? order by ms desc, id desc limit ? offset ?"));
        q.addBindValue(houseId);
        q.addBindValue(kFollowPageSize);
        q.addBindValue((page - 1) * kFollowPageSize);
        QJsonArray list;
        if (q.exec()) {
            while (q.next())
                list.append(followRow(s, q, u));
        }
        return fetched(QJsonObject{{"list", list}, {"total", total}, {"pagesize", kFollowPageSize}});
    }

    // Only the author deletes a follow-up; the listing counts one fewer.
    static Answer followDelete(Store &s, const Form &form, const User &u)
    {
        const qint64 id = formId(form, {"id", "followid"});
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select houseid, phone from follows where id=?"));
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            return refusal(QStringLiteral("跟进记录不存在"));
        if (q.value(1).toString() != u.phone)
            return refusal(QStringLiteral("只能删除自己的跟进记录"));
        const qint64 houseId = q.value(0).toLongLong();
        q.prepare(QStringLiteral("delete from follows where id=?"));
        q.addBindValue(id);
        q.exec();
        const QVariantMap row = s.houseRow(houseId);
        if (!row.isEmpty())
            s.updateHouse(houseId, {{"follows", QString::number(std::max(0, row.value(QStringLiteral("follows")).toInt() - 1))}});
        return fetched(QJsonObject(), QStringLiteral("删除成功"));
    }

    static int tagKind(const Form &form)
    {
        return form.value(QStringLiteral("type")).toInt() == 2 ? 2 : 1;
    }

    static Answer tags(Store &s, const Form &form, const User &u)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select name from followtags where companyid=? and type=? order by rowid"));
        q.addBindValue(u.companyId);
        q.addBindValue(tagKind(form));
        QJsonArray list;
        if (q.exec()) {
            while (q.next())
                list.append(q.value(0).toString());
        }
        return fetched(QJsonObject{{"list", list}});
    }

    static Answer changeTag(Store &s, const Form &form, const User &u, bool add)
    {
        const QString tag = form.value(QStringLiteral("tag")).trimmed();
        if (tag.isEmpty())
            return refusal(QStringLiteral("请输入标签"));
        QSqlQuery q(s.db());
        q.prepare(add ? QStringLiteral("insert or ignore into followtags(companyid, type, name) values(?,?,?)")
                      : QStringLiteral("delete from followtags where companyid=? and type=? and name=?"));
        q.addBindValue(u.companyId);
        q.addBindValue(tagKind(form));
        q.addBindValue(tag);
        if (!q.exec() || q.numRowsAffected() != 1)
            return refusal(add ? QStringLiteral("标签已存在") : QStringLiteral("标签不存在"));
        return fetched(QJsonObject(), add ? QStringLiteral("添加成功") : QStringLiteral("删除成功"));
    }

    // The follow-up row holding a recording, found by its recording id or by its own id.
    static bool findRecording(const Form &form, QSqlQuery &q)
    {
        const qint64 id = formId(form, {"id", "recordid"});
        q.prepare(QStringLiteral("select id, houseid, recordid, recordconverting from follows where recordid>0 and (recordid=? or id=?)"));
        q.addBindValue(id);
        q.addBindValue(id);
        return q.exec() && q.next();
    }

    static Answer recordFile(Store &s, const Form &form, const User &)
    {
        QSqlQuery q(s.db());
        if (!findRecording(form, q))
            return refusal(QStringLiteral("录音不存在"));
        if (q.value(3).toInt())
            return fetched(QJsonObject{{"url", QString()}}, kConverting);
        const QString url = QStringLiteral("%1/app/call/record/%2.wav").arg(s.m_baseUrl).arg(q.value(2).toLongLong());
        return fetched(QJsonObject{{"url", url}});
    }

    static Answer recordHidden(Store &s, const Form &form, const User &)
    {
        const int state = form.value(QStringLiteral("state")).toInt();
        if (state != 1 && state != 2)
            return refusal(QStringLiteral("参数错误"));
        QSqlQuery q(s.db());
        if (!findRecording(form, q))
            return refusal(QStringLiteral("录音不存在"));
        const qint64 rowId = q.value(0).toLongLong();
        q.prepare(QStringLiteral("update follows set recordhidden=? where id=?"));
        q.addBindValue(state == 1 ? 1 : 0);
        q.addBindValue(rowId);
        q.exec();
        return fetched(QJsonObject(), state == 1 ? QStringLiteral("隐藏成功") : QStringLiteral("取消隐藏成功"));
    }

    // "+跟进" on a recording: a follow-up of the recording's listing.
    static Answer followCall(Store &s, const Form &form, const User &u)
    {
        QSqlQuery q(s.db());
        if (!findRecording(form, q))
            return refusal(QStringLiteral("录音不存在"));
        const QVariantMap row = s.houseRow(q.value(1).toLongLong());
        if (row.isEmpty())
            return refusal(QStringLiteral("房源不存在或已被删除"));
        FollowInput in;
        in.type = row.value(QStringLiteral("types")).toInt() == 1 ? 2 : 1;
        in.content = form.value(QStringLiteral("content"));
        if (in.content.trimmed().isEmpty())
            return refusal(QStringLiteral("请输入跟进内容"));
        addFollow(s, row, u, in);
        return fetched(QJsonObject(), QStringLiteral("跟进成功"));
    }

    // Viewings are generated from the listing's number: ids ending in 0 or 5 have 18, ids
    // ending in 1 or 6 have 3, the others none.
    static int viewingCount(qint64 houseId)
    {
        return houseId % 5 == 0 ? 18 : houseId % 5 == 1 ? 3 : 0;
    }

    static QJsonObject viewing(const Store &s, const QVariantMap &row, int k)
    {
        const qint64 houseId = row.value(QStringLiteral("id")).toLongLong();
        const User &agent = s.m_users.at(int((houseId + k) % s.m_users.size()));
        const QString client = viewingNames().at(int((houseId + k) % viewingNames().size()));
        const qint64 t = row.value(QStringLiteral("lastms")).toLongLong() - qint64(k + 1) * 2 * 86400;
        return QJsonObject{{"id", houseId * 100 + k + 1}, {"username", agent.name}, {"content", QStringLiteral("客户看房，对户型满意")},
                           {"time", minuteText(t, QStringLiteral("yyyy-MM-dd HH:mm"))}, {"clientname", client},
                           {"clientphone", QStringLiteral("139%1").arg(houseId * 100 + k, 8, 10, QLatin1Char('0'))},
                           {"clientid", houseId * 100 + k + 1}, {"storename", QStringLiteral("天鹅湖店")},
                           {"agentphone", agent.phone}, {"remark", k % 2 ? QStringLiteral("客户预算偏低") : QString()},
                           {"tixing", k % 4 == 0 ? 1 : 0}, {"contents", k % 4 == 0 ? QStringLiteral("三天后回访客户") : QString()},
                           {"tixinguser", k % 4 == 0 ? agent.name : QString()}, {"userid", agent.userId}, {"houseid", houseId}};
    }

    static Answer viewings(Store &s, const Form &form, const User &)
    {
        const QVariantMap row = s.houseRow(formId(form, {"houseid", "id"}));
        const int total = row.isEmpty() ? 0 : viewingCount(row.value(QStringLiteral("id")).toLongLong());
        const int page = std::max(1, form.value(QStringLiteral("pageindex")).toInt());
        const int size = std::max(1, form.value(QStringLiteral("pagesize"), QStringLiteral("15")).toInt());
        QJsonArray list;
        for (int k = (page - 1) * size; k < std::min(total, page * size); ++k)
            list.append(viewing(s, row, k));
        return fetched(QJsonObject{{"list", list}, {"total", total}});
    }

    static void addTo(RouteTable &t)
    {
        using F = const Form &;
        using U = const User &;
        addRoutes(t, {{"app/followadd", followAdd}, {"app/followposts", followPosts}, {"app/LianmaiFollowPosts", followPosts},
                      {"app/followdel", followDelete}, {"app/gettag", tags},
                      {"app/addtag", [](Store &s, F f, U u) { return changeTag(s, f, u, true); }},
                      {"app/deltag", [](Store &s, F f, U u) { return changeTag(s, f, u, false); }},
                      {"call/getrecordfileX", recordFile}, {"call/recordhidden", recordHidden},
                      {"call/followcall", followCall}, {"client/house_daikan_posts", viewings}});
    }
};

void addFollowRoutes(RouteTable &table)
{
    FollowRoutes::addTo(table);
}

} // namespace Alliance
