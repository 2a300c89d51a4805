// The review of survey records: approving or rejecting a listing's survey record, and whether
// a user may review one that waits in the office approval flow.
//
// A review sets the state of the record itself (1 approved, 2 rejected with the reviewer's
// remark), so the next load of the listing's records shows it; an approved record's photos
// join the listing's photo column, and approving marks the survey role holder as reviewed.
#include "alliancestore.h"

#include <QJsonDocument>
#include <QSqlQuery>

namespace Alliance {

struct SurveyRoutes
{
    // Whether the record is one of the listing's survey records.
    static bool isRecordOf(Store &s, qint64 houseId, qint64 recordId)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select 1 from photorecords where id = ? and houseid = ?"));
        q.addBindValue(recordId);
        q.addBindValue(houseId);
        return q.exec() && q.next();
    }

    static void markSurveyHolderReviewed(Store &s, qint64 houseId, const QVariantMap &row)
    {
        QJsonObject holder = QJsonDocument::fromJson(row.value(QStringLiteral("shikanren")).toString().toUtf8()).object();
        if (holder.isEmpty() || holder.value(QStringLiteral("review")).toBool())
            return;
        holder.insert(QStringLiteral("review"), true);
        s.updateHouse(houseId, {{"shikanren", QString::fromUtf8(QJsonDocument(holder).toJson(QJsonDocument::Compact))}});
    }

    static Answer review(Store &s, const Form &form, const User &)
    {
        const qint64 houseId = formId(form, {"houseid", "id"});
        const QVariantMap row = s.houseRow(houseId);
        if (row.isEmpty())
            return refusal(QStringLiteral("房源不存在或已被删除"));
        const qint64 record = form.value(QStringLiteral("shikanid")).trimmed().toLongLong();
        if (record <= 0 || !isRecordOf(s, houseId, record))
            return refusal(QStringLiteral("实勘记录不存在"));
        const int state = form.value(QStringLiteral("state")).trimmed().toInt();
        if (state != 1 && state != 2)
            return refusal(QStringLiteral("审核状态不正确"));
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("update photorecords set state = ?, remark = ? where id = ?"));
        q.addBindValue(state);
        q.addBindValue(state == 2 ? form.value(QStringLiteral("remark")) : QString());
        q.addBindValue(record);
        if (!q.exec())
            return refusal(QStringLiteral("审核失败"), 500);
        followListingPhotos(s, houseId);
        if (state == 1)
            markSurveyHolderReviewed(s, houseId, row);
        return fetched(QJsonObject(), state == 1 ? QStringLiteral("审核成功") : QStringLiteral("驳回成功"));
    }

    // Reviewers of the office approval flow: the joint-sale manager and users with every right.
    // `user_id` names the user asked about; without a known one, the signed-in user.
    static Answer canCheck(Store &s, const Form &form, const User &u)
    {
        const User *asked = s.userById(form.value(QStringLiteral("user_id")).toInt());
        const User &who = asked ? *asked : u;
        return fetched(QJsonObject{{"cancheck", who.manager || who.rights == User::Full ? 1 : 0}});
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
