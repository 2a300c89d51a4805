#include "detail/follow/housebooktakelooklist_model.h"

#include "detail/follow/replyfields.h"

using namespace ReplyFields;

HousebookTakeLookList_Model::ListData HousebookTakeLookList_Model::ListData::fromJson(const QJsonObject &row)
{
    ListData d;
    d.id = number(row.value(QStringLiteral("id")));
    d.username = text(row.value(QStringLiteral("username")));
    d.content = text(row.value(QStringLiteral("content")));
    d.time = text(row.value(QStringLiteral("time")));
    d.clientname = text(row.value(QStringLiteral("clientname")));
    d.clientphone = text(row.value(QStringLiteral("clientphone")));
    d.clientid = number(row.value(QStringLiteral("clientid")));
    d.storename = text(row.value(QStringLiteral("storename")));
    d.agentphone = text(row.value(QStringLiteral("agentphone")));
    d.remark = text(row.value(QStringLiteral("remark")));
    d.tixing = number(row.value(QStringLiteral("tixing")));
    d.contents = text(row.value(QStringLiteral("contents")));
    d.tixinguser = text(row.value(QStringLiteral("tixinguser")));
    d.tixingtime = text(row.value(QStringLiteral("tixingtime")));
    d.userid = number(row.value(QStringLiteral("userid")));
    d.houseid = number(row.value(QStringLiteral("houseid")));
    return d;
}

void HousebookTakeLookList_Model::setReply(const QJsonValue &data)
{
    m_list.clear();
    for (const QJsonObject &row : rows(data))
        m_list.append(ListData::fromJson(row));
    m_total = qMax(m_list.size(), field(data, QStringLiteral("total"), m_list.size()));
}
