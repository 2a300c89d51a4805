#include "net/photocompression.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <QTransform>

namespace {

QMutex &cacheRootMutex()
{
    static QMutex mutex;
    return mutex;
}

QString &cacheRootOverride()
{
    static QString folder;
    return folder;
}

// Applies the orientation tag by turning only: the quarter-turn kinds
// (rotated by 90, transposed, transverse) are turned by 90 degrees, the one
// rotated by 270 the other way round, upside-down by 180 degrees. Mirrored
// kinds are not mirrored back; what matters for the upload is that a portrait
// photo is stored upright with width and height the right way round.
QImage turnedUpright(const QImage &image, QImageIOHandler::Transformations orientation)
{
    qreal angle = 0;
    if (orientation == QImageIOHandler::TransformationRotate270)
        angle = 270;
    else if (orientation & QImageIOHandler::TransformationRotate90)
        angle = 90;
    else if (orientation == QImageIOHandler::TransformationRotate180)
        angle = 180;
    if (angle == 0)
        return image;
    return image.transformed(QTransform().rotate(angle));
}

// The size a picture of `size` gets inside `box`, aspect ratio kept. A picture
// proportionally taller than the box (height / width above 1080 / 1920 for the
// default box) is pinned to the box height, any other to the box width.
// Pictures that already fit keep their own size.
QSize fittedSize(const QSize &size, const QSize &box)
{
    if (box.isEmpty() || (size.width() <= box.width() && size.height() <= box.height()))
        return size;
    if (qint64(size.height()) * box.width() > qint64(box.height()) * size.width()) {
        const qint64 w = qRound64(double(size.width()) * box.height() / size.height());
        return QSize(int(qMax<qint64>(1, w)), box.height());
    }
    const qint64 h = qRound64(double(size.height()) * box.width() / size.width());
    return QSize(box.width(), int(qMax<qint64>(1, h)));
}

// Scales `image` to `target`. Target sizes are always derived from the
// picture's own proportions, so scaling to them exactly keeps the aspect
// ratio without rounding twice. In two passes a cheap nearest-pixel pass first
// brings a much larger picture down to twice the target, and the smooth pass
// then only has to average a 2 x 2 neighbourhood.
QImage scaledTo(const QImage &image, const QSize &target, bool twoPass)
{
    if (image.size() == target)
        return image;
    QImage work = image;
    if (twoPass) {
        const QSize intermediate = target * 2;
        if (work.width() > intermediate.width() && work.height() > intermediate.height())
            work = work.scaled(intermediate, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return work.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// JPEG has no transparency: transparent parts of a PNG would come out black,
// so the picture is laid on white first.
QImage flattenedOnWhite(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

} // namespace

PhotoCompression::PhotoCompression(QObject *parent)
    : QObject(parent)
{
}

PhotoCompression::~PhotoCompression() = default;

void PhotoCompression::setCacheRoot(const QString &folder)
{
    QMutexLocker lock(&cacheRootMutex());
    cacheRootOverride() = folder;
}

QString PhotoCompression::cacheRoot()
{
    {
        QMutexLocker lock(&cacheRootMutex());
        if (!cacheRootOverride().isEmpty())
            return cacheRootOverride();
    }
    return QCoreApplication::applicationDirPath();
}

QString PhotoCompression::outputFolder()
{
    return QStringLiteral("%1/cache/temporary").arg(cacheRoot());
}

void PhotoCompression::stopCompresssion()
{
    m_stop.store(true);
}

void PhotoCompression::startCompression()
{
    // Lets a stop request or other work queued for this thread through first.
    QCoreApplication::processEvents();
    m_targetSize = QSize();
    m_savedQualities.clear();
    const QString result = compress();
    emit compression_address(result, m_value);
}

QString PhotoCompression::compress()
{
    const QString unchanged = m_address;
    if (stopRequested())
        return unchanged;

    // Small files and icons are passed on without being decoded.
    if (m_address.contains(QLatin1String(".ico"), Qt::CaseInsensitive)
        || QFileInfo(m_address).size() <= m_limit)
        return unchanged;

    QImageReader reader;
    if (m_address.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        reader.setFormat("png");
    else
        reader.setDecideFormatFromContent(true);
    reader.setFileName(m_address);
    reader.setAutoTransform(false);
    const QImageIOHandler::Transformations orientation = reader.transformation();
    QImage image = reader.read();
    if (image.isNull() || stopRequested())
        return unchanged;

    image = turnedUpright(image, orientation);
    if (stopRequested())
        return unchanged;

    const QSize target = fittedSize(image.size(), m_maxSize);
    m_targetSize = target;
    image = flattenedOnWhite(scaledTo(image, target, m_factor > 1.0));
    if (stopRequested())
        return unchanged;

    const QString folder = outputFolder();
    QDir().mkpath(folder); // a failure shows as a failed save below
    QString output = QStringLiteral("%1/%2_com.%3")
                         .arg(folder, QFileInfo(m_address).baseName(), QStringLiteral("jpg"));
    if (QFileInfo::exists(output) && output.length() > 4)
        output.insert(output.length() - 4, QLatin1String("_copy"));

    bool written = false;
    auto giveUp = [&]() {
        if (written)
            QFile::remove(output);
        return unchanged;
    };
    auto save = [&](const QImage &picture, int quality) {
        m_savedQualities.append(quality);
        const bool ok = picture.save(output, "JPEG", quality);
        written = written || ok;
        return ok;
    };

    if (!save(image, -1))
        return giveUp();

    // Lower the quality first; when even a low quality is too big, shrink the
    // picture further (target / factor) and start again from a high quality.
    // Qualities tried: 50, 10, then after one reduction 100, 60, 20.
    const QImage fitted = image;
    int quality = 50;
    while (QFileInfo(output).size() > m_limit) {
        if (stopRequested())
            return giveUp();
        if (!save(image, quality))
            break;
        if (quality < 40) {
            if (m_factor > 5.0)
                break;
            m_factor += 2.0;
            const QSize smaller(qMax(1, qRound(target.width() / m_factor)),
                                qMax(1, qRound(target.height() / m_factor)));
            image = scaledTo(fitted, smaller, true);
            quality = 140;
        }
        quality -= 40;
    }
    if (stopRequested())
        return giveUp();
    return output;
}

PhotoCompression *PhotoCompression::startInThread(const QString &address, const QVariant &value,
                                                  qint64 limit)
{
    auto *job = new PhotoCompression;
    job->setAddress(address);
    job->setValue(value);
    job->setLimit(limit);

    auto *thread = new QThread;
    job->moveToThread(thread);
    connect(thread, &QThread::started, job, &PhotoCompression::startCompression);
    // Quit from the worker itself, so the thread ends even while the calling
    // thread is busy.
    connect(job, &PhotoCompression::compression_address, thread, &QThread::quit,
            Qt::DirectConnection);
    connect(thread, &QThread::finished, job, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    // Started from the caller's event loop: by then the caller has connected
    // to compression_address, even for a picture that needs no work at all.
    QTimer::singleShot(0, thread, [thread] { thread->start(); });
    return job;
}
