// The review of survey records: approving or rejecting a listing's survey record, and whether
// a user may review one that waits in the office approval flow.
//
// A review is kept per survey record (state 1 approved, 2 rejected, with the reviewer's
// remark), so the record lists can show it; approving also marks the listing's survey role
// holder as reviewed.
#include "alliancestore.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlQuery>

namespace Alliance {

struct SurveyRoutes
{
    static bool ensureTable(QSqlQuery &q)
    {
        return q.exec(QStringLiteral("create table if not exists survey_reviews(recordid text primary key, "
                                     "houseid integer, state integer, remark text, reviewer text, ms integer)"));
    }

    static void markSurveyHolderReviewed(Store &s, qint64 houseId, const QVariantMap &row)
    {
        QJsonObject holder = QJsonDocument::fromJson(row.value(QStringLiteral("shikanren")).toString().toUtf8()).object();
        if (holder.isEmpty() || holder.value(QStringLiteral("review")).toBool())
            return;
        holder.insert(QStringLiteral("review"), true);
        s.updateHouse(houseId, {{"shikanren", QString::fromUtf8(QJsonDocument(holder).toJson(QJsonDocument::Compact))}});
    }

    static Answer review(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"houseid", "id"});
        const QVariantMap row = s.houseRow(houseId);
        if (row.isEmpty())
            return refusal(QStringLiteral("房源不存在或已被删除"));
        const QString record = form.value(QStringLiteral("shikanid")).trimmed();
        if (record.isEmpty() || record == QLatin1String("0"))
            return refusal(QStringLiteral("实勘记录不存在"));
        const int state = form.value(QStringLiteral("state")).trimmed().toInt();
        if (state != 1 && state != 2)
            return refusal(QStringLiteral("审核状态不正确"));
        QSqlQuery q(s.db());
        if (!ensureTable(q))
            return refusal(QStringLiteral("审核失败"), 500);
        q.prepare(QStringLiteral("insert or replace into survey_reviews(recordid, houseid, state, remark, reviewer, ms) "
                                 "values(?,?,?,?,?,?)"));
        q.addBindValue(record);
        q.addBindValue(houseId);
        q.addBindValue(state);
        q.addBindValue(state == 2 ? form.value(QStringLiteral("remark")) : QString());
        q.addBindValue(u.phone);
        q.addBindValue(QDateTime::currentSecsSinceEpoch());
        if (!q.exec())
            return refusal(QStringLiteral("审核失败"), 500);
        if (state == 1)
            markSurveyHolderReviewed(s, houseId, row);
        return fetched(QJsonObject(), state == 1 ? QStringLiteral("审核成功") : QStringLiteral("驳回成功"));
    }

    // Reviewers of the office approval flow: the joint-sale manager and users with every right.
    static Answer canCheck(Store &, const Form &, const User &u)
    {
        return fetched(QJsonObject{{"cancheck", u.manager || u.rights == User::Full ? 1 : 0}});
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"fd/ShikanShenpi", review}, {"apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck", canCheck}});
    }
};

void addSurveyRoutes(RouteTable &table)
{
    SurveyRoutes::addTo(table);
}

} // namespace Alliance
