#pragma once
// The rows of one page of a listing's viewings (client groups shown the listing), read from
// the server's reply.
#include <QJsonValue>
#include <QList>
#include <QString>

class QJsonObject;

class HousebookTakeLookList_Model
{
public:
    struct ListData
    {
        int id = 0;
        QString username;    // the agent who showed the listing
        QString content;
        QString time;
        QString clientname;
        QString clientphone;
        int clientid = 0;
        QString storename;
        QString agentphone;
        QString remark;      // the client's feedback
        int tixing = 0;
        QString contents;
        QString tixinguser;
        QString tixingtime;
        int userid = 0;
        int houseid = 0;

        static ListData fromJson(const QJsonObject &row);
    };

    void setReply(const QJsonValue &data);

    QList<ListData> list() const { return m_list; }
    int total() const { return m_total; }

private:
    QList<ListData> m_list;
    int m_total = 0;
};
