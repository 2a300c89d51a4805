#pragma once
// What the community choosers use: each request runs on a fresh worker and thread of its own
// (CommunityBookThreadObject), and the answer arrives here on the interface thread by queued
// signal, to be passed on under this object's signals.
#include "sql/communitybookthreadobject.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QThread;

class CommunityBookDataObject : public QObject
{
    Q_OBJECT
public:
    using Condition = CommunityBookThreadObject::Condition;

    explicit CommunityBookDataObject(QObject *parent = nullptr);

    // Each starts one request and returns its thread, which ends once the answer is sent and
    // then deletes itself and its worker (hold it in a QPointer). Requests may overlap; each
    // answers once, in the order in which their threads finish. Deleting this object while a
    // request runs only drops the answer.
    QThread *requestCommunityList(const Condition &condition);
    QThread *requestCommunityListCount(const Condition &condition);
    QThread *requestCommunityData(const Condition &condition);

signals:
    void backCommunityList(const QList<CommunityMessage_DataSqlTable::ListData> &list);
    void backCommunityListCount(int count);
    void backCommunityData(const CommunityMessage_DataSqlTable::ListData &model);

public slots:
    void dealBackCommunityList(const QList<CommunityMessage_DataSqlTable::ListData> &list);
    void dealBackCommunityListCount(int count);
    void dealBackCommunityData(const CommunityMessage_DataSqlTable::ListData &model);

private:
    template <typename Result>
    QThread *startWorker(const Condition &condition, void (CommunityBookThreadObject::*query)(),
                         void (CommunityBookThreadObject::*result)(Result),
                         void (CommunityBookDataObject::*deal)(Result));

    QPointer<CommunityBookDataObject> m_alive;
};
