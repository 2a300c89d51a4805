#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QVariant>
#include <QVector>

#include <atomic>

// Shrinks one photo to a JPEG of about `limit` bytes before it is uploaded.
//
// One object per picture, normally moved to a worker QThread of its own
// (see startInThread()). startCompression() always ends with exactly one
// compression_address(): either the path of the shrunk copy under
// "<cache root>/cache/temporary", or the source path unchanged when the file
// is small enough, is an icon, cannot be read or written, or the run was
// stopped. `value` is the caller's context and comes back untouched.
class PhotoCompression : public QObject
{
    Q_OBJECT

public:
    // Files up to this size (200 KB) are left alone.
    static constexpr qint64 DefaultLimit = 204800;

    explicit PhotoCompression(QObject *parent = nullptr);
    ~PhotoCompression() override;

    // The box a picture is fitted into; 1920 x 1080 by default.
    void setMaxSize(const QSize &size) { m_maxSize = size; }
    QSize maxSize() const { return m_maxSize; }

    // Path of the source picture.
    void setAddress(const QString &address) { m_address = address; }
    QString address() const { return m_address; }

    // The caller's context, handed back with the result.
    void setValue(const QVariant &value) { m_value = value; }
    QVariant value() const { return m_value; }

    // Size in bytes under which a file is left alone, and the target of the
    // quality loop.
    void setLimit(qint64 limit) { m_limit = limit; }
    qint64 limit() const { return m_limit; }

    // Free text kept for the caller; the compression does not use it.
    void setSpareText(const QString &text) { m_spareText = text; }
    QString spareText() const { return m_spareText; }

    // Divisor of the extra reduction when quality alone does not reach the
    // limit; raised by 2.0 per reduction during a run. Above 1.0 large
    // pictures are scaled in two passes (fast, then smooth).
    void setFactor(double factor) { m_factor = factor; }
    double factor() const { return m_factor; }

    bool isStopped() const { return m_stop.load(); }

    // What the last run did, for diagnostics; read them after
    // compression_address() has arrived. targetSize() is the size the picture
    // was fitted to (invalid when it was never decoded); savedQualities() lists
    // every JPEG save in order, -1 standing for the writer's default quality.
    QSize targetSize() const { return m_targetSize; }
    QVector<int> savedQualities() const { return m_savedQualities; }

    // Folder under which "cache/temporary" receives the shrunk copies:
    // QCoreApplication::applicationDirPath() unless set (tests point it at a
    // scratch folder). An empty text restores the default. Thread-safe.
    static void setCacheRoot(const QString &folder);
    static QString cacheRoot();
    // "<cache root>/cache/temporary".
    static QString outputFolder();

    // Starts the compression of one picture on a new worker thread: the
    // object is moved to the thread, the thread's started() runs
    // startCompression(), compression_address() quits the thread, and object
    // and thread delete themselves once the thread has finished.
    //
    // The thread is started from the calling thread's event loop, not inside
    // this call, so the caller connects compression_address() to its own slot
    // (an ordinary auto connection, which is queued across the threads) right
    // after this returns and cannot miss the result. The calling thread must
    // run an event loop. Keep the pointer in a QPointer when it is used later
    // (e.g. for stopCompresssion()): the object is gone after the result.
    static PhotoCompression *startInThread(const QString &address, const QVariant &value,
                                           qint64 limit = DefaultLimit);

signals:
    void compression_address(QString address, QVariant value);

public slots:
    void startCompression();

    // Makes a running or not yet started compression give up at its next
    // step and report the source path unchanged; a copy it had already
    // written is removed. Safe to call from any thread. Because the worker
    // does not return to its event loop during a run, a caller on another
    // thread calls this directly (or with Qt::DirectConnection); a queued
    // call would only arrive after the run has ended.
    void stopCompresssion();

private:
    // Steps of one run; returns the path to report.
    QString compress();
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }

    std::atomic<bool> m_stop{false};
    QSize m_maxSize{1920, 1080};
    QString m_address;
    QVariant m_value;
    qint64 m_limit = DefaultLimit;
    QString m_spareText;
    double m_factor = 4.0;

    QSize m_targetSize;
    QVector<int> m_savedQualities;
};
