#include "sql/communitybookdataobject.h"

#include <QMetaType>
#include <QThread>

namespace {

// The records cross from the worker threads by queued signal, which needs their types known
// to the meta-type system by the names the signals use.
void registerCommunityTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<CommunityMessage_DataSqlTable::ListData>();
        qRegisterMetaType<QList<CommunityMessage_DataSqlTable::ListData>>();
        return true;
    }();
    Q_UNUSED(registered)
}

} // namespace

CommunityBookDataObject::CommunityBookDataObject(QObject *parent)
    : QObject(parent)
    , m_alive(this)
{
    registerCommunityTypes();
}

QThread *CommunityBookDataObject::requestCommunityList(const Condition &condition)
{
    return startWorker(condition, &CommunityBookThreadObject::getComunityList,
                       &CommunityBookThreadObject::backComunityList, &CommunityBookDataObject::dealBackCommunityList);
}

QThread *CommunityBookDataObject::requestCommunityListCount(const Condition &condition)
{
    return startWorker(condition, &CommunityBookThreadObject::getComunityListCount,
                       &CommunityBookThreadObject::backComunityListCount,
                       &CommunityBookDataObject::dealBackCommunityListCount);
}

QThread *CommunityBookDataObject::requestCommunityData(const Condition &condition)
{
    return startWorker(condition, &CommunityBookThreadObject::getComunityData,
                       &CommunityBookThreadObject::backCommunityData, &CommunityBookDataObject::dealBackCommunityData);
}

// One worker on one thread for one request. The answer ends the thread directly (quit() is
// safe from any thread, so the thread ends even while the interface is busy); the worker is
// deleted on its own thread as the thread finishes, the thread later on this one. Neither has
// a parent, so deleting this object never destroys a running thread.
template <typename Result>
QThread *CommunityBookDataObject::startWorker(const Condition &condition, void (CommunityBookThreadObject::*query)(),
                                              void (CommunityBookThreadObject::*result)(Result),
                                              void (CommunityBookDataObject::*deal)(Result))
{
    auto *worker = new CommunityBookThreadObject;
    worker->setCondition(condition);
    auto *thread = new QThread;
    thread->setObjectName(QStringLiteral("CommunityBookThread"));
    worker->moveToThread(thread);

    connect(thread, &QThread::started, worker, query);
    connect(worker, result, this, deal, Qt::QueuedConnection);
    connect(worker, result, thread, &QThread::quit, Qt::DirectConnection);
    connect(thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

void CommunityBookDataObject::dealBackCommunityList(const QList<CommunityMessage_DataSqlTable::ListData> &list)
{
    if (m_alive)
        emit backCommunityList(list);
}

void CommunityBookDataObject::dealBackCommunityListCount(int count)
{
    if (m_alive)
        emit backCommunityListCount(count);
}

void CommunityBookDataObject::dealBackCommunityData(const CommunityMessage_DataSqlTable::ListData &model)
{
    if (m_alive)
        emit backCommunityData(model);
}
