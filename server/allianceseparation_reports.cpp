// Reports against role holders: filing one, the reviewers' paged list and the export of the
// last 30 days, and the judgement (upheld: the role is released or handed over; rework: the
// holder gets a number of days; rejected: nothing changes).
#include "allianceseparation.h"

#include <QDateTime>
#include <QSqlQuery>

namespace Alliance {

namespace {

using S = SeparationRoutes;

const QString kReportColumns = QStringLiteral("id, houseid, entryid, type, reporterid, holderid, content, state, ms, "
                                              "reviewerid, reviewms, days");

enum Judgement { Waiting = 0, Upheld = 1, Rework = 2, Rejected = 3 };

struct ReportRequests
{
    static QJsonObject houseObject(Store &s, qint64 houseId)
    {
        const QVariantMap row = S::houseRow(s, houseId);
        const auto col = [&row](const char *c) { return row.value(QLatin1String(c)).toString(); };
        return QJsonObject{{"id", houseId}, {"title", col("title")}, {"photo", col("photo").section(QLatin1Char(','), 0, 0)},
                           {"video", row.value(QStringLiteral("havevideo")).toInt() ? 1 : 0}, {"time", col("createtime")},
                           {"username", col("author")}, {"userdept", col("deptname")}};
    }

    // One report row as the list and the export give it.
    static QJsonObject rowObject(Store &s, const QSqlQuery &q)
    {
        const qint64 houseId = q.value(1).toLongLong();
        const RoleEntry e = S::entryById(s, q.value(2).toLongLong());
        const User *reporter = S::userById(s, q.value(4).toInt());
        const User *holder = S::userById(s, q.value(5).toInt());
        const User *reviewer = S::userById(s, q.value(9).toInt());
        const int type = q.value(3).toInt();
        const QJsonObject sh{{"id", e.id}, {"xiezuoid", e.id}, {"state", e.state}, {"userid", holder ? holder->userId : 0},
                             {"userdeptId", holder ? holder->deptId : 0},
                             {"username", holder ? holder->name : QString()},
                             {"userdept", holder ? S::deptName(s, holder->deptId) : QString()},
                             {"userPhone", holder ? holder->phone : QString()}, {"time", e.ms ? recordTime(e.ms) : QString()},
                             {"shenpi_id", QString::number(e.spId)}, {"data", roleTitle(type)}};
        const qint64 reviewed = q.value(10).toLongLong();
        return QJsonObject{
            {"id", q.value(0).toLongLong()}, {"state", q.value(7).toInt()}, {"itemid", houseId}, {"content", q.value(6).toString()},
            {"author", reporter ? QStringLiteral("%1 %2").arg(S::deptName(s, reporter->deptId), reporter->name) : QString()},
            {"authorid", reporter ? reporter->userId : 0}, {"time", recordTime(q.value(8).toLongLong())},
            {"shenpiren", reviewer ? reviewer->name : QString()}, {"shenpitime", reviewed ? recordTime(reviewed) : QString()},
            {"fdstepname", roleTitle(type)}, {"days", q.value(11).toInt()}, {"house", houseObject(s, houseId)}, {"sh", sh}};
    }

    static Answer file(Store &s, const Form &form, const User &u)
    {
        const int type = form.value(QStringLiteral("type")).trimmed().toInt();
        RoleEntry e = S::entryById(s, formId(form, {"id"}));
        const qint64 houseId = formId(form, {"itemid", "houseid"});
        if (!e.exists() && S::houseExists(s, houseId))
            e = S::entryOf(s, houseId, type);
        else if (e.exists())
            e = S::entryOf(s, e.houseId, e.type);
        if (!e.userId)
            return refusal(QStringLiteral("当前无操作人"));
        const QString content = form.value(QStringLiteral("content")).trimmed();
        if (content.isEmpty())
            return refusal(QStringLiteral("请输入举报内容！"));
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("insert into reports(houseid, entryid, type, reporterid, holderid, content, state, ms) "
                                 "values(?,?,?,?,?,?,0,?)"));
        for (const QVariant &v : QVariantList{e.houseId, e.id, e.type, u.userId, e.userId, content, QDateTime::currentSecsSinceEpoch()})
            q.addBindValue(v);
        if (!q.exec())
            return refusal(QStringLiteral("举报失败"), 500);
        return fetched(QJsonObject{{"id", q.lastInsertId().toLongLong()}}, QStringLiteral("举报成功"));
    }

    // The reports `where` selects, newest first, cut by `limit`.
    static QJsonArray rows(Store &s, const QString &where, const QVariantList &binds, const QString &limit = QString())
    {
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("select %1 from reports %2 order by ms desc, id desc %3").arg(kReportColumns, where, limit));
        for (const QVariant &b : binds)
            q.addBindValue(b);
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(rowObject(s, q));
        return list;
    }

    // status 0: waiting, 1: reviewed, anything else: all.
    static Answer list(Store &s, const Form &form, const User &)
    {
        const int status = form.value(QStringLiteral("status"), QStringLiteral("2")).trimmed().toInt();
        const QString where = status == 0 ? QStringLiteral("where state=0") : status == 1 ? QStringLiteral("where state<>0") : QString();
        const int page = std::max(1, form.value(QStringLiteral("pageindex")).toInt());
        const int size = std::max(1, form.value(QStringLiteral("pagesize"), QStringLiteral("20")).toInt());
        QSqlQuery q(S::db(s));
        q.exec(QStringLiteral("select count(*) from reports %1").arg(where));
        const int total = q.next() ? q.value(0).toInt() : 0;
        const QJsonArray list = rows(s, where, {size, qint64(page - 1) * size}, QStringLiteral("limit ? offset ?"));
        return fetched(QJsonObject{{"total", total}, {"data", list}});
    }

    static Answer download(Store &s, const Form &, const User &)
    {
        const qint64 since = QDateTime::currentSecsSinceEpoch() - qint64(30) * 86400;
        return fetched(QJsonObject{{"data", rows(s, QStringLiteral("where ms>=?"), {since})}});
    }

    // Acts on the reported role; answers the history line, or a refusal in *problem.
    static QString judge(Store &s, RoleEntry &e, int state, const Form &form, QString *problem)
    {
        if (state == Rework) {
            const int days = form.value(QStringLiteral("days")).trimmed().toInt();
            if (days <= 0)
                *problem = QStringLiteral("请填写返工时限！");
            return QStringLiteral("举报限期返工，%1天内完成").arg(days);
        }
        if (state == Rejected)
            return QStringLiteral("举报驳回");
        const QString newUser = form.value(QStringLiteral("newuserid")).trimmed();
        const User *target = S::userById(s, newUser.toInt());
        if (!newUser.isEmpty() && !target) {
            *problem = QStringLiteral("经纪人不存在");
            return QString();
        }
        if (target) {
            S::setHolder(s, e, target->userId);
            return QStringLiteral("举报属实，%1分配给%2").arg(roleTitle(e.type), target->name);
        }
        e.evidence = QJsonObject();
        e.remark.clear();
        S::setHolder(s, e, 0);
        return QStringLiteral("举报属实，解除%1").arg(roleTitle(e.type));
    }

    static Answer review(Store &s, const Form &form, const User &u)
    {
        QSqlQuery q(S::db(s));
        q.prepare(QStringLiteral("select houseid, type, state from reports where id=?"));
        q.addBindValue(formId(form, {"id"}));
        if (!q.exec() || !q.next())
            return refusal(QStringLiteral("举报记录不存在"), 405);
        const qint64 houseId = q.value(0).toLongLong();
        const int type = q.value(1).toInt();
        if (q.value(2).toInt() != Waiting)
            return refusal(QStringLiteral("该举报已审核"));
        const int state = form.value(QStringLiteral("state")).trimmed().toInt();
        if (state != Upheld && state != Rework && state != Rejected)
            return refusal(QStringLiteral("审核状态不正确"));
        if (!S::canReview(u))
            return refusal(QStringLiteral("您没有审核权限，如有需要请联系管理员！"));
        // Checked before anything changes: a refusal leaves the role as it was.
        if (state == Upheld && !S::houseExists(s, houseId))
            return refusal(QStringLiteral("房源不存在或已被删除"));
        RoleEntry e = state == Upheld ? S::entryOf(s, houseId, type) : RoleEntry();
        QString problem;
        const QString line = judge(s, e, state, form, &problem);
        if (!problem.isEmpty())
            return refusal(problem);
        q.prepare(QStringLiteral("update reports set state=?, reviewerid=?, reviewms=?, days=?, reason=? where id=?"));
        for (const QVariant &v : QVariantList{state, u.userId, QDateTime::currentSecsSinceEpoch(),
                                              state == Rework ? form.value(QStringLiteral("days")).trimmed().toInt() : 0,
                                              form.value(QStringLiteral("content")), formId(form, {"id"})})
            q.addBindValue(v);
        q.exec();
        q.prepare(QStringLiteral("select entryid from reports where id=?"));
        q.addBindValue(formId(form, {"id"}));
        S::note(s, q.exec() && q.next() ? q.value(0).toLongLong() : e.id, u, line);
        return fetched(QJsonObject(), QStringLiteral("审核成功"));
    }
};

} // namespace

void SeparationRoutes::addReportTo(RouteTable &t)
{
    using R = ReportRequests;
    addRoutes(t, {{"fd/Jubao", R::file}, {"fd/jubaoposts", R::list}, {"fd/jubaoDownload", R::download},
                  {"fd/jubaoshenpi", R::review}});
}

} // namespace Alliance
