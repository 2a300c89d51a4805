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
        m_thread->start();
    }
    const int generation = ++m_generation;
    m_pending = true;
    const BaseSqlObject::Login login = BaseSqlObject::loginFromHost();
    QMetaObject::invokeMethod(m_context, [this, generation, statement, isJointSale, login] {
        run(generation, statement, isJointSale, login);
    });
    return generation;
}

void HouseCountWorker::cancel()
{
    ++m_generation;
    m_pending = false;
}

// On the worker thread. A count that went stale while it waited is not run; one that went
// stale while it ran is still announced, and the page's own generation check drops it.
void HouseCountWorker::run(int generation, const QString &statement, bool isJointSale,
                           const BaseSqlObject::Login &login)
{
    if (generation != m_generation.load())
        return;
    if (gateSlot())
        gateSlot()();
    bool failed = false;
    int count = 0;
    {
        const BaseSqlObject::LoginScope scope(login);
        QScopedPointer<CountReader> reader(new CountReader(isJointSale));
        count = reader->count(statement, &failed);
        // Removed before the thread goes idle: a connection named after this thread must not
        // be found by the idle pruning of another thread while a later count uses it.
        const QString connection = reader->connectionName(BaseSqlObject::CompanyDB);
        reader.reset();
        if (!connection.isEmpty())
            QSqlDatabase::removeDatabase(connection);
    }
    QMetaObject::invokeMethod(this, [this, generation, count, failed] { finished(generation, count, failed); });
}

// On the owner's thread.
void HouseCountWorker::finished(int generation, int count, bool failed)
{
    if (generation != m_generation.load())
        return;
    m_pending = false;
    emit counted(generation, count, failed);
}
