#pragma once
// The worker behind the community choosers: runs one community query on a thread of its own,
// through its own table object and so through that thread's own connection, and answers by
// signal. One worker serves one request; CommunityBookDataObject creates it, moves it to a
// fresh QThread and deletes both once the answer is out.
#include "sql/communitymessage_datasqltable.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class CommunityBookThreadObject : public QObject
{
    Q_OBJECT
public:
    using ListData = CommunityMessage_DataSqlTable::ListData;

    struct Condition
    {
        // The community search fields: keyWord, name, districtname, areaname, price_up,
        // price_down, primaryschool, middleschool, id, ids and houseKind.
        QVariantMap search;
        int page = 1;
        // Communities per page; 0 or less: every match.
        int pageSize = 100;
        // When not empty, only these communities (and, if the search has its own ids, only
        // those in both). The one-community query reads the first of them.
        QList<int> ids;
        // Columns to read; empty: all of them.
        QStringList fields;
        // The choosers read the communities of the normal book's company database. The
        // joint-sale book keeps its own company database, so its search bar sets this to
        // list that book's communities instead.
        bool isJointSale = false;
    };

    // Takes the signed-in user from the host: construct it on the GUI thread, before it is
    // moved to its own. Its queries never read the host's login, which may change meanwhile.
    explicit CommunityBookThreadObject(QObject *parent = nullptr);

    // Safe to call from any thread; a query copies the condition when it starts.
    void setCondition(const Condition &condition);
    Condition condition() const;

    // Called on the worker thread inside every query, after the table has answered and
    // before its connection is removed. Lets tests look at a query from inside its thread;
    // set it only while no worker runs. Empty: nothing is called.
    using QueryObserver = std::function<void(CommunityBookThreadObject *worker)>;
    static void setQueryObserver(QueryObserver observer);

signals:
    void backComunityList(const QList<CommunityMessage_DataSqlTable::ListData> &list);
    void backComunityListCount(int count);
    void backCommunityData(const CommunityMessage_DataSqlTable::ListData &model);

public slots:
    void getComunityList();
    void getComunityListCount();
    void getComunityData();

private:
    template <typename Result, typename Query>
    Result runQuery(Query query);

    QPointer<CommunityBookThreadObject> m_alive;
    const BaseSqlObject::Login m_login;
    mutable QMutex m_conditionLock;
    Condition m_condition;
    // One per query kind, each held for the whole of its query.
    QMutex m_listLock;
    QMutex m_countLock;
    QMutex m_dataLock;
};
