#include "widgets/photopicker.h"

#include "net/photocompression.h"

#include <QFileDialog>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QThread>

#include <atomic>

// The jobs of one picker whose worker has not answered yet. A job leaves the set from its
// own worker thread, while it emits its result and so before it can be deleted; stopping
// the jobs under the same lock therefore never reaches a deleted one. Shared with the
// workers, so it outlives the picker.
struct PhotoPicker::LiveJobs
{
    QMutex mutex;
    QSet<PhotoCompression *> jobs;
};

namespace {

std::atomic<int> activeJobs{0};

QStringList askForFiles(QWidget *parent, const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parent, title, folder, filter);
}

} // namespace

PhotoPicker::PhotoPicker(QObject *parent)
    : QObject(parent)
    , m_limit(PhotoCompression::DefaultLimit)
    , m_chooser(askForFiles)
    , m_live(std::make_shared<LiveJobs>())
{
}

PhotoPicker::~PhotoPicker()
{
    stopAll();
}

void PhotoPicker::setFileChooser(FileChooser chooser)
{
    m_chooser = chooser ? std::move(chooser) : FileChooser(askForFiles);
}

QStringList PhotoPicker::pick(QWidget *dialogParent)
{
    const QStringList paths = m_chooser(dialogParent, m_title, m_startFolder, m_filter);
    compress(paths);
    return paths;
}

void PhotoPicker::compress(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    for (const QString &path : paths) {
        const int index = m_sources.size();
        m_sources << path;
        m_results << QString();
        // The batch number travels with the job, so a result of a cancelled batch that
        // was already on its way is recognised and dropped.
        m_waiting.append({path, QVariantList{m_batch, index}});
        ++m_running;
    }
    startWaiting();
    emit progress(m_done, m_sources.size());
}

int PhotoPicker::workerLimit()
{
    return qMax(1, QThread::idealThreadCount() - 1);
}

void PhotoPicker::startWaiting()
{
    while (m_working < workerLimit() && !m_waiting.isEmpty()) {
        const QPair<QString, QVariant> job = m_waiting.takeFirst();
        ++m_working;
        startJob(job.first, job.second);
    }
}

int PhotoPicker::activeCompressions()
{
    return activeJobs.load();
}

void PhotoPicker::startJob(const QString &path, const QVariant &context)
{
    PhotoCompression *job = PhotoCompression::startInThread(path, context, m_limit);
    {
        QMutexLocker lock(&m_live->mutex);
        m_live->jobs.insert(job);
    }
    ++activeJobs;
    // The answer is queued to this picker before the job counts as done.
    connect(job, &PhotoCompression::compression_address, this, &PhotoPicker::compressionResult);
    std::shared_ptr<LiveJobs> live = m_live;
    connect(job, &PhotoCompression::compression_address, job, [live, job] {
        QMutexLocker lock(&live->mutex);
        live->jobs.remove(job);
        --activeJobs;
    }, Qt::DirectConnection);
}

void PhotoPicker::compressionResult(const QString &path, const QVariant &value)
{
    m_working = qMax(0, m_working - 1);
    startWaiting();
    const QVariantList context = value.toList();
    if (context.size() != 2 || context.at(0).toInt() != m_batch)
        return;
    const int index = context.at(1).toInt();
    if (index < 0 || index >= m_sources.size())
        return;
    m_results[index] = path;
    --m_running;
    ++m_done;
    emit progress(m_done, m_sources.size());
    emit photoReady(path, m_sources.at(index));
    if (m_running > 0)
        return;
    const QStringList results = m_results;
    m_sources.clear();
    m_results.clear();
    m_done = 0;
    ++m_batch;
    emit finished(results);
}

void PhotoPicker::cancel()
{
    stopAll();
    m_waiting.clear();
    m_working = 0;
    m_sources.clear();
    m_results.clear();
    m_running = 0;
    m_done = 0;
    ++m_batch;
}

void PhotoPicker::stopAll()
{
    QMutexLocker lock(&m_live->mutex);
    for (PhotoCompression *job : qAsConst(m_live->jobs))
        job->stopCompresssion();
}
