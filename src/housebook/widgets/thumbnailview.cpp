#include "widgets/thumbnailview.h"

#include "sql/basesqlobject.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QThreadPool>
#include <QUrl>

namespace {

const QString kNoPhoto = QStringLiteral("://res/icon_no_photo.png");
constexpr qint64 kCacheBytes = qint64(200) << 20;

bool isWebAddress(const QString &source)
{
    return source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
           || source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

// Reads the picture already scaled to fit the box (aspect kept), so a camera-sized file is
// never decoded at full size. Runs on a pool thread.
QImage readScaled(QImageReader &reader, const QSize &box)
{
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && box.isValid() && (full.width() > box.width() || full.height() > box.height()))
        reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull() && box.isValid() && (image.width() > box.width() || image.height() > box.height()))
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QString cacheFolder()
{
    return BaseSqlObject::applicationDir() + QStringLiteral("/cache/thumbnails");
}

} // namespace

ThumbnailView::ThumbnailView(QWidget *parent)
    : QLabel(parent)
    , m_placeholder(kNoPhoto)
{
    setAlignment(Qt::AlignCenter);
    showPlaceholder();
}

ThumbnailView::~ThumbnailView()
{
    abortFetch();
}

QNetworkAccessManager *ThumbnailView::sharedNetwork()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager)
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    auto *cache = qobject_cast<QNetworkDiskCache *>(manager->cache());
    const QString folder = cacheFolder();
    if (!cache || cache->cacheDirectory() != folder + QLatin1Char('/')) {
        cache = new QNetworkDiskCache;
        cache->setCacheDirectory(folder);
        cache->setMaximumCacheSize(kCacheBytes);
        manager->setCache(cache);  // the manager deletes the previous cache
    }
    return manager;
}

void ThumbnailView::setSource(const QString &source)
{
    abortFetch();
    ++m_generation;
    m_source = source.trimmed();
    showPlaceholder();
    if (m_source.isEmpty()) {
        emit loaded(false);
        return;
    }
    if (isWebAddress(m_source))
        fetch(m_source);
    else
        decodeLater(QByteArray(), m_source, m_generation);
}

void ThumbnailView::setPlaceholder(const QString &resource)
{
    m_placeholder = resource.isEmpty() ? kNoPhoto : resource;
    if (!m_hasPicture)
        showPlaceholder();
}

// A picture once fetched is taken from the disk cache without asking the server again:
// an uploaded photo's address never changes its content.
void ThumbnailView::fetch(const QString &url)
{
    QNetworkAccessManager *network = sharedNetwork();
    if (QAbstractNetworkCache *cache = network->cache()) {
        if (QIODevice *cached = cache->data(QUrl(url))) {
            const QByteArray bytes = cached->readAll();
            delete cached;
            if (!bytes.isEmpty()) {
                decodeLater(bytes, QString(), m_generation);
                return;
            }
        }
    }
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = network->get(request);
    m_reply = reply;
    const int generation = m_generation;
    connect(reply, &QNetworkReply::finished, this, [this, reply, generation] { fetched(reply, generation); });
}

void ThumbnailView::fetched(QNetworkReply *reply, int generation)
{
    reply->deleteLater();
    if (m_reply == reply)
        m_reply = nullptr;
    if (generation != m_generation)
        return;
    if (reply->error() != QNetworkReply::NoError) {
        emit loaded(false);
        return;
    }
    decodeLater(reply->readAll(), QString(), generation);
}

void ThumbnailView::decodeLater(const QByteArray &bytes, const QString &path, int generation)
{
    const QSize size = box();
    QPointer<ThumbnailView> self(this);
    QThreadPool::globalInstance()->start([self, bytes, path, size, generation] {
        QImage image;
        if (path.isEmpty()) {
            QBuffer buffer;
            buffer.setData(bytes);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer);
            image = readScaled(reader, size);
        } else {
            QImageReader reader(path);
            image = readScaled(reader, size);
        }
        // The pointer is read on the GUI thread only, where the view would be destroyed.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, image, generation] {
            if (self)
                self->decoded(image, generation);
        }, Qt::QueuedConnection);
    });
}

void ThumbnailView::decoded(const QImage &image, int generation)
{
    if (generation != m_generation)
        return;
    if (image.isNull()) {
        emit loaded(false);
        return;
    }
    setPixmap(QPixmap::fromImage(image));
    m_hasPicture = true;
    emit loaded(true);
}

void ThumbnailView::showPlaceholder()
{
    m_hasPicture = false;
    QPixmap placeholder(m_placeholder);
    const QSize size = box();
    if (!placeholder.isNull() && (placeholder.width() > size.width() || placeholder.height() > size.height()))
        placeholder = placeholder.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setPixmap(placeholder);
}

void ThumbnailView::abortFetch()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

// The size pictures are scaled to: the fixed size when one is set, else the current size.
QSize ThumbnailView::box() const
{
    const QSize fixed = maximumSize();
    if (fixed.width() < QWIDGETSIZE_MAX && fixed.height() < QWIDGETSIZE_MAX)
        return fixed;
    return size().isValid() && !size().isEmpty() ? size() : QSize(160, 120);
}

void ThumbnailView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
