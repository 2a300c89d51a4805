#include "sql/housecountworker.h"

#include <QPointer>
#include <QScopedPointer>
#include <QSqlDatabase>
#include <QThread>

namespace {

HouseCountWorker::Gate &gateSlot()
{
    static HouseCountWorker::Gate gate;
    return gate;
}

// The company database as the worker thread reads it: one statement, one number.
class CountReader : public BaseSqlObject
{
public:
    explicit CountReader(bool isJointSale) : BaseSqlObject(nullptr, isJointSale) {}

    int count(const QString &statement, bool *failed)
    {
        bool ok = true;
        const QList<QVariantMap> rows = searchRows(CompanyDB, statement, "listing count", &ok);
        *failed = !ok;
        return rows.isEmpty() || rows.first().isEmpty() ? 0 : rows.first().cbegin().value().toInt();
    }
};

} // namespace

HouseCountWorker::HouseCountWorker(QObject *parent) : QObject(parent)
{
}

HouseCountWorker::~HouseCountWorker()
{
    cancel();
    if (!m_thread)
        return;
    m_thread->quit();
    m_thread->wait();
    delete m_context;
    delete m_thread;
}

void HouseCountWorker::setGate(Gate gate)
{
    gateSlot() = std::move(gate);
}

int HouseCountWorker::request(const QString &statement, bool isJointSale)
{
    if (!m_thread) {
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("housecount"));
        m_context = new QObject;
        m_context->moveToThread(m_thread);
        connect(this, &HouseCountWorker::jobPosted, m_context, [this] { runPosted(); }, Qt::QueuedConnection);
        connect(this, &HouseCountWorker::answerReady, this, &HouseCountWorker::takeAnswer, Qt::QueuedConnection);
        m_thread->start();
    }
    const int generation = ++m_generation;
    m_pending = true;
    {
        std::lock_guard<std::mutex> locker(m_lock);
        m_job = Job{generation, statement, isJointSale, BaseSqlObject::loginFromHost()};
        m_hasJob = true;
    }
    emit jobPosted();
    return generation;
}

void HouseCountWorker::cancel()
{
    ++m_generation;
    m_pending = false;
}

// On the worker thread. A count that went stale while it waited is not run; one that went
// stale while it ran is still answered, and the owner's generation check drops it.
void HouseCountWorker::runPosted()
{
    Job job;
    {
        std::lock_guard<std::mutex> locker(m_lock);
        if (!m_hasJob)
            return;  // an earlier posting already took it
        job = m_job;
        m_hasJob = false;
    }
    if (job.generation != m_generation.load())
        return;
    if (gateSlot())
        gateSlot()();
    Answer answer;
    answer.generation = job.generation;
    {
        const BaseSqlObject::LoginScope scope(job.login);
        QScopedPointer<CountReader> reader(new CountReader(job.isJointSale));
        answer.count = reader->count(job.statement, &answer.failed);
        // Removed before the thread goes idle: a connection named after this thread must not
        // be found by the idle pruning of another thread while a later count uses it.
        const QString connection = reader->connectionName(BaseSqlObject::CompanyDB);
        reader.reset();
        if (!connection.isEmpty())
            QSqlDatabase::removeDatabase(connection);
    }
    {
        std::lock_guard<std::mutex> locker(m_lock);
        m_answer = answer;
        m_hasAnswer = true;
    }
    emit answerReady();
}

// On the owner's thread.
void HouseCountWorker::takeAnswer()
{
    Answer answer;
    {
        std::lock_guard<std::mutex> locker(m_lock);
        if (!m_hasAnswer)
            return;
        answer = m_answer;
        m_hasAnswer = false;
    }
    if (answer.generation != m_generation.load())
        return;
    m_pending = false;
    emit counted(answer.generation, answer.count, answer.failed);
}
