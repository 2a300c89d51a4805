#include "detail/follow/housebookfollowdata_model.h"

#include "detail/follow/replyfields.h"

using namespace ReplyFields;

HouseBookFollowData_Model::ListData HouseBookFollowData_Model::ListData::fromJson(const QJsonObject &row)
{
    ListData d;
    d.id = number(row.value(QStringLiteral("id")));
    d.type = number(row.value(QStringLiteral("type")));
    d.username = text(row.value(QStringLiteral("username")));
    d.time = text(row.value(QStringLiteral("time")));
    d.content = text(row.value(QStringLiteral("content")));
    d.own = number(row.value(QStringLiteral("own"))) > 0;
    d.recordhidden = number(row.value(QStringLiteral("recordhidden"))) > 0;
    for (const QString &tag : text(row.value(QStringLiteral("tag"))).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!tag.trimmed().isEmpty())
            d.tags.append(tag.trimmed());
    }
    d.tixing = number(row.value(QStringLiteral("tixing"))) > 0;
    d.contents = text(row.value(QStringLiteral("contents")));
    d.tixinguser = text(row.value(QStringLiteral("tixinguser")));
    d.tixingtime = text(row.value(QStringLiteral("tixingtime")));
    d.userid = number(row.value(QStringLiteral("userid")));
    d.recordid = number(row.value(QStringLiteral("recordid")));
    return d;
}

void HouseBookFollowData_Model::setReply(const QJsonValue &data)
{
    m_list.clear();
    for (const QJsonObject &row : rows(data))
        m_list.append(ListData::fromJson(row));
    m_total = qMax(m_list.size(), field(data, QStringLiteral("total"), m_list.size()));
    const int size = field(data, QStringLiteral("pagesize"), kDefaultPageSize);
    m_pageSize = size > 0 ? size : kDefaultPageSize;
}
