#pragma once
// Counts listings for a list page on a thread of its own, so that a page of a large book is
// painted without waiting for "select count(*)". One worker serves one page: each count asked
// for gets a generation number; a newer count makes every older one stale, so an older one is
// skipped when it has not started yet, and its answer is dropped when it has. The page hears
// only the count of the last query it asked for.
//
// The worker thread reads through a connection of its own (opened by a table object of that
// thread, registered in DataCenter::sqlConnectList like every connection) and removes it after
// each count, so no connection outlives its use or its thread.
#include "sql/basesqlobject.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

class QThread;

class HouseCountWorker : public QObject
{
    Q_OBJECT
public:
    explicit HouseCountWorker(QObject *parent = nullptr);
    // Drops every count still to come and waits for the one running, if any.
    ~HouseCountWorker() override;

    // Counts with a statement built on the GUI thread ("select count(*) from house where ..."),
    // in the company database of a book, as the user signed in now. Returns the generation
    // that counted() will carry.
    int request(const QString &statement, bool isJointSale);
    // Makes every count asked for so far stale.
    void cancel();
    int generation() const { return m_generation.load(); }
    // A count asked for has not answered yet (and was not cancelled).
    bool isPending() const { return m_pending; }

    // Called on the worker thread before each count that is still current. Lets tests hold the
    // worker until they release it; set it only while no worker runs. Empty: nothing is called.
    using Gate = std::function<void()>;
    static void setGate(Gate gate);

signals:
    // The count of the current generation; failed when the statement failed (count 0 then).
    void counted(int generation, int count, bool failed);
    // Internal: a job was handed over (to the worker thread), an answer is ready (to the owner).
    void jobPosted();
    void answerReady();

private:
    struct Job
    {
        int generation = 0;
        QString statement;
        bool isJointSale = false;
        BaseSqlObject::Login login;
    };
    struct Answer
    {
        int generation = 0;
        int count = 0;
        bool failed = false;
    };
    void runPosted();
    void takeAnswer();

    QThread *m_thread = nullptr;
    QObject *m_context = nullptr;  // lives on m_thread; queued jobs run there
    std::atomic<int> m_generation{0};
    bool m_pending = false;

    // Jobs and answers cross the threads here, under the lock, and never inside a queued
    // call's captures: a thread checker sees this lock order them, not Qt's event queue.
    std::mutex m_lock;
    bool m_hasJob = false;
    Job m_job;        // only the newest job waits; an older one not begun is stale anyway
    bool m_hasAnswer = false;
    Answer m_answer;  // likewise the newest answer
};
