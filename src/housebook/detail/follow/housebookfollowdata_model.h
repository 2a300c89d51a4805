#pragma once
// The rows of one page of a listing's follow-ups, read from the server's reply. A row with a
// recording id is a call recording; the others are written follow-ups.
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

class QJsonObject;

class HouseBookFollowData_Model
{
public:
    struct ListData
    {
        int id = 0;
        int type = 0;
        QString username;     // the writer
        QString time;
        QString content;
        bool own = false;     // written by the signed-in agent
        bool recordhidden = false;
        QStringList tags;
        bool tixing = false;  // a reminder goes with it
        QString contents;     // the reminder's text
        QString tixinguser;   // the reminded person
        QString tixingtime;   // "yyyy-MM-dd H:mm"
        int userid = 0;
        int recordid = 0;     // > 0: a call recording

        bool isRecording() const { return recordid > 0; }
        bool urgent() const { return tags.contains(QStringLiteral("加急")); }
        bool important() const { return tags.contains(QStringLiteral("重要")); }
        static ListData fromJson(const QJsonObject &row);
    };

    static constexpr int kDefaultPageSize = 10;

    // Reads {"list":[...],"total":N,"pagesize":M}; whatever does not fit is left out.
    void setReply(const QJsonValue &data);

    QList<ListData> list() const { return m_list; }
    int total() const { return m_total; }
    int pageSize() const { return m_pageSize; }

private:
    QList<ListData> m_list;
    int m_total = 0;
    int m_pageSize = kDefaultPageSize;
};
