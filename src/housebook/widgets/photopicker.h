#pragma once
// Picks photos for the photo window, the promotion editor and the evidence forms: a file
// dialog for images, then one compression per picture on a worker thread of its own.
// Progress is reported as done/total, each shrunk photo as it arrives, and the whole batch
// in the order it was chosen once the last one is done. Destroying the picker stops the
// compressions still running; their results go nowhere.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class PhotoCompression;
class QWidget;

class PhotoPicker : public QObject
{
    Q_OBJECT
public:
    // Asks the user for files: (dialog parent, title, start folder, filter) -> paths.
    using FileChooser = std::function<QStringList(QWidget *, const QString &, const QString &, const QString &)>;

    explicit PhotoPicker(QObject *parent = nullptr);
    ~PhotoPicker() override;

    void setTitle(const QString &title) { m_title = title; }
    QString title() const { return m_title; }
    void setStartFolder(const QString &folder) { m_startFolder = folder; }
    QString startFolder() const { return m_startFolder; }
    void setFilter(const QString &filter) { m_filter = filter; }
    QString filter() const { return m_filter; }
    // Size under which a picture is sent as it is.
    void setLimit(qint64 bytes) { m_limit = bytes; }
    // Replaces the file dialog (tests, or a caller with its own chooser).
    void setFileChooser(FileChooser chooser);

    // Opens the chooser and compresses what was chosen; returns the chosen paths (none
    // when the user cancelled).
    QStringList pick(QWidget *dialogParent = nullptr);
    // Compresses the given pictures without asking. Added to a batch still running, they
    // join it: the total grows and the batch ends after the last of all of them.
    void compress(const QStringList &paths);

    // Compressions asked for and not yet answered (waiting for a worker included).
    int runningCount() const { return m_running; }
    bool isBusy() const { return m_running > 0; }
    int doneCount() const { return m_done; }
    int totalCount() const { return m_sources.size(); }

    // Stops every running compression and forgets the batch; no further signals for it.
    void cancel();

    // Compressions started by any picker whose worker has not answered yet, including
    // those of pickers already destroyed; lets a shutdown wait for the workers.
    static int activeCompressions();
    // Workers at most at once: a batch of camera photos on more threads than cores only
    // starves the window's own thread and holds every decoded picture in memory at once.
    static int workerLimit();

signals:
    void progress(int done, int total);
    // One picture is ready: the path to upload (the shrunk copy, or the source when it
    // needed no work or could not be shrunk) and the source it came from.
    void photoReady(const QString &path, const QString &source);
    // The batch is done: the paths to upload, in the order the sources were given.
    void finished(const QStringList &paths);

private:
    struct LiveJobs;

    void compressionResult(const QString &path, const QVariant &value);
    void startJob(const QString &path, const QVariant &context);
    void startWaiting();
    void stopAll();

    QString m_title = QStringLiteral("选取图片");
    QString m_startFolder;
    QString m_filter = QStringLiteral("Image Files(*.jpg *.png *.jpeg)");
    qint64 m_limit;
    FileChooser m_chooser;

    // The batch: sources in order, results by position, and the jobs still working.
    int m_batch = 0;
    QStringList m_sources;
    QStringList m_results;
    std::shared_ptr<LiveJobs> m_live;
    int m_running = 0;
    int m_working = 0;  // jobs on a worker now
    QList<QPair<QString, QVariant>> m_waiting;
    int m_done = 0;
};
