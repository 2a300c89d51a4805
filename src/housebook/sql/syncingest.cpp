#include "sql/syncingest.h"

#include "sql/batchwriter.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/syncrecords.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>

SyncIngest::SyncIngest(QObject *parent, bool isJointSale, Report report)
    : QObject(parent)
    , m_isJointSale(isJointSale)
    , m_login(BaseSqlObject::loginFromHost())
    , m_report(std::move(report))
{
    m_thread.reset(QThread::create([this] { work(); }));
    m_thread->setObjectName(QStringLiteral("housebook sync ingest"));
    m_thread->start();
}

SyncIngest::~SyncIngest()
{
    {
        std::lock_guard<std::mutex> locker(m_lock);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    m_thread->wait();
    // Ended before the last page rebuilt them (the build clears the deferral itself).
    if (m_deferredIndexes)
        HouseMessage_DataSqlTable::endIndexDeferral();
}

void SyncIngest::readMarks(const std::function<void(const QVariantMap &)> &done)
{
    m_marksRead = done;
    push(Job{QJsonObject(), true});
}

void SyncIngest::enqueue(const QJsonObject &reply)
{
    ++m_unreported;
    push(Job{reply, false});
}

void SyncIngest::push(const Job &job)
{
    {
        std::lock_guard<std::mutex> locker(m_lock);
        m_jobs.push_back(job);
    }
    m_wake.notify_one();
}

// Only pages are dropped: a marks read is quick and its answer is awaited.
void SyncIngest::dropPending()
{
    std::lock_guard<std::mutex> locker(m_lock);
    const auto isPage = [](const Job &job) { return !job.marks; };
    m_unreported -= int(std::count_if(m_jobs.cbegin(), m_jobs.cend(), isPage));
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(), isPage), m_jobs.end());
}

QString SyncIngest::connectionName() const
{
    std::lock_guard<std::mutex> locker(m_lock);
    return m_connection;
}

// The thread's whole life: one connection, pinned so that no other thread removes it while a
// page is being stored, and statements prepared once for every page. Both go before the
// thread ends; a thread id can be reused, and a connection named after a dead thread would
// hold its file open until the idle pruning.
void SyncIngest::work()
{
    const BaseSqlObject::LoginScope login(m_login);
    QString connection;
    {
        const BatchWriter::StatementCache statements;
        connection = BaseSqlObject(nullptr, m_isJointSale).connectionName(BaseSqlObject::CompanyDB);
        if (!connection.isEmpty())
            BaseSqlObject::pinConnection(connection);
        {
            std::lock_guard<std::mutex> locker(m_lock);
            m_connection = connection;
        }
        bool failed = false;
        Job job;
        while (take(&job)) {
            if (job.marks) {
                const QVariantMap marks = SyncRecords::storedMarks(m_isJointSale);
                QMetaObject::invokeMethod(this, [this, marks] { m_marksRead(marks); }, Qt::QueuedConnection);
                continue;
            }
            Outcome outcome;
            if (failed)
                outcome.skipped = true;
            else
                outcome = store(job.reply);
            job = Job();
            failed = failed || !outcome.stored;
            QMetaObject::invokeMethod(this, [this, outcome] { deliver(outcome); }, Qt::QueuedConnection);
        }
    }
    if (!connection.isEmpty())
        BaseSqlObject::releaseConnection(connection);
}

bool SyncIngest::take(Job *job)
{
    std::unique_lock<std::mutex> locker(m_lock);
    m_wake.wait(locker, [this] { return m_stopping || !m_jobs.empty(); });
    if (m_jobs.empty())
        return false;
    *job = m_jobs.front();
    m_jobs.pop_front();
    return true;
}

SyncIngest::Outcome SyncIngest::store(const QJsonObject &reply)
{
    Outcome outcome;
    const SyncRecords::Page page = SyncRecords::readPage(reply);
    outcome.isLast = page.isLast;
    if (!m_pageSeen) {
        m_pageSeen = true;
        m_deferredIndexes = HouseMessage_DataSqlTable(nullptr, m_isJointSale).deferIndexesOfEmptyBook();
    }
    if (page.malformed || !SyncRecords::writePage(m_isJointSale, page))
        return outcome;
    // A book that lacked indexes (an older version's, too large to index where it was opened)
    // gets them once it is complete, here, off the interface thread.
    if (page.isLast)
        HouseMessage_DataSqlTable(nullptr, m_isJointSale).createMissingIndexes();
    outcome.stored = true;
    outcome.listings = page.houses.size();
    outcome.houseIds = page.houseIds;
    outcome.communityIds = page.communityIds;
    return outcome;
}

void SyncIngest::deliver(const Outcome &outcome)
{
    --m_unreported;
    m_report(outcome);
}
