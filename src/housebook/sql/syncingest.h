#pragma once
// Stores the pages of one listing sync on a thread of its own, through that thread's own
// connection to the book's company database: reading the records, scrambling their texts and
// the page's transaction never hold up the interface thread, which only receives the replies,
// hands them over and hears how each one went.
//
// Pages are stored one after another in the order they were handed over, each in one
// transaction with the sync marks it moves. Once a page cannot be stored, the pages after it
// are skipped, so the marks stay where the last stored page left them and the next sync asks
// again from there.
#include "sql/basesqlobject.h"

#include <QJsonObject>
#include <QObject>
#include <QScopedPointer>
#include <QStringList>
#include <QVariantMap>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class QThread;

// How one handed-over page went.
struct SyncPageOutcome
{
    bool stored = false;
    bool skipped = false;  // not tried: an earlier page of this sync was not stored
    bool isLast = false;
    int listings = 0;      // listing records the page stored
    QStringList houseIds;
    QStringList communityIds;
};

class SyncIngest : public QObject
{
    Q_OBJECT
public:
    using Outcome = SyncPageOutcome;
    using Report = std::function<void(const Outcome &)>;

    // Takes the signed-in user from the host: construct it on the interface thread. report is
    // called there, once per page not dropped, in the order the pages were handed over; never
    // after this object is gone.
    SyncIngest(QObject *parent, bool isJointSale, Report report);
    // Drops the pages not yet begun, lets the page being stored finish (all of it or none of it
    // is kept either way) and removes the thread's connection.
    ~SyncIngest() override;

    // The book's sync marks (SyncRecords::storedMarks), read on the worker before any page
    // handed over after this call; done is called with them on the interface thread.
    void readMarks(const std::function<void(const QVariantMap &)> &done);
    void enqueue(const QJsonObject &reply);
    // Forgets the pages not yet begun; their reports never come.
    void dropPending();
    // Pages handed over whose report has not come yet, the one being stored included.
    int unreported() const { return m_unreported; }

    // The connection the worker thread uses; empty until it has opened it. For tests.
    QString connectionName() const;

private:
    // One piece of work: a page to store, or the marks to read.
    struct Job
    {
        QJsonObject reply;
        bool marks = false;
    };
    void work();
    bool take(Job *job);
    void push(const Job &job);
    Outcome store(const QJsonObject &reply);
    void deliver(const Outcome &outcome);

    const bool m_isJointSale;
    const BaseSqlObject::Login m_login;
    const Report m_report;
    int m_unreported = 0;  // interface thread only
    std::function<void(const QVariantMap &)> m_marksRead;  // interface thread only

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    QString m_connection;
    // Worker thread only (read by the destructor after the thread has ended).
    bool m_pageSeen = false;
    bool m_deferredIndexes = false;

    QScopedPointer<QThread> m_thread;
};
