#pragma once
// The evaluations of a listing as the server lists them: {"list":[{id,username,time,content}],
// "total":N}. Rows of the wrong shape are left out; numbers may come as text.
#include <QJsonValue>
#include <QList>
#include <QString>

class HouseDescribeList_Model
{
public:
    struct ListData
    {
        int id = 0;
        QString username;
        QString time;
        QString content;  // as shown ("&" restored)
    };

    void setReply(const QJsonValue &data);

    QList<ListData> list() const { return m_list; }
    int total() const { return m_total; }

private:
    QList<ListData> m_list;
    int m_total = 0;
};
