#include "detail/describe/housedescribelist_model.h"

#include "detail/describe/joinertext.h"
#include "detail/follow/replyfields.h"

void HouseDescribeList_Model::setReply(const QJsonValue &data)
{
    m_list.clear();
    for (const QJsonObject &row : ReplyFields::rows(data)) {
        ListData item;
        item.id = ReplyFields::number(row.value(QStringLiteral("id")));
        item.username = ReplyFields::text(row.value(QStringLiteral("username")));
        item.time = ReplyFields::text(row.value(QStringLiteral("time")));
        item.content = JoinerText::shown(ReplyFields::text(row.value(QStringLiteral("content"))));
        m_list << item;
    }
    m_total = qMax(m_list.size(), ReplyFields::field(data, QStringLiteral("total"), m_list.size()));
}
