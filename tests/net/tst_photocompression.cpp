#include "net/photocompression.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>

namespace {

const qint64 kLimit = PhotoCompression::DefaultLimit;

// A photo-like picture: a smooth gradient, a coarse random texture (blocks of
// `block` pixels, so it survives the downscale) and fine per-pixel noise.
// The texture keeps the JPEG of a shrunk copy well above 200 KB at the
// writer's default quality, as a real camera photo would be.
QImage texturedPhoto(const QSize &size, quint32 seed, int block = 6, int amplitude = 40)
{
    QRandomGenerator rng(seed);
    QImage image(size, QImage::Format_RGB32);
    const int blocksPerRow = size.width() / block + 1;
    QVector<int> rowOffsets(blocksPerRow);
    for (int y = 0; y < size.height(); ++y) {
        if (y % block == 0) {
            for (int &o : rowOffsets)
                o = int(rng.bounded(2 * amplitude + 1)) - amplitude;
        }
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int n = rowOffsets[x / block] + int(rng.bounded(17)) - 8;
            line[x] = qRgb(qBound(0, 40 + x * 160 / size.width() + n, 255),
                           qBound(0, 60 + y * 140 / size.height() + n, 255),
                           qBound(0, 120 + n, 255));
        }
    }
    return image;
}

// Independent random pixels: the worst case for JPEG.
QImage pureNoise(const QSize &size, quint32 seed)
{
    QRandomGenerator rng(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xff000000u | (rng.generate() & 0xffffffu);
    }
    return image;
}

QByteArray encoded(const QImage &image, const QByteArray &format, int quality = 95)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        qFatal("cannot encode test image: %s", qPrintable(writer.errorString()));
    return bytes;
}

// Qt's JPEG writer does not store an orientation, so the EXIF segment
// (APP1, big-endian TIFF with one IFD entry: tag 0x0112 Orientation) is put
// right behind the start-of-image marker by hand.
QByteArray withExifOrientation(const QByteArray &jpeg, quint16 orientation)
{
    QByteArray tiff("MM\x00\x2a\x00\x00\x00\x08", 8);
    const uchar ifd[] = {0x00, 0x01,             // one entry
                         0x01, 0x12,             // Orientation
                         0x00, 0x03,             // SHORT
                         0x00, 0x00, 0x00, 0x01, // one value
                         uchar(orientation >> 8), uchar(orientation & 0xff), 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00}; // no further IFD
    tiff.append(reinterpret_cast<const char *>(ifd), sizeof ifd);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xff\xe1", 2);
    const quint16 length = quint16(payload.size() + 2);
    segment.append(char(length >> 8)).append(char(length & 0xff)).append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Mean colour of one quarter of an image: 0 top-left, 1 top-right,
// 2 bottom-left, 3 bottom-right.
QColor quarterMean(const QImage &image, int quarter)
{
    const int w = image.width() / 2, h = image.height() / 2;
    const int x0 = (quarter % 2) * w, y0 = (quarter / 2) * h;
    qint64 r = 0, g = 0, b = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const QRgb p = image.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
        }
    const qint64 n = qint64(w) * h;
    return QColor(int(r / n), int(g / n), int(b / n));
}

struct Outcome
{
    int emissions = 0;
    QString path;
    QVariant value;
};

// Runs one compression synchronously on the calling thread.
Outcome run(PhotoCompression &job)
{
    QSignalSpy spy(&job, &PhotoCompression::compression_address);
    job.startCompression();
    Outcome o;
    o.emissions = spy.count();
    if (!spy.isEmpty()) {
        o.path = spy.first().at(0).toString();
        o.value = spy.first().at(1);
    }
    return o;
}

// The qualities a run may try, in order, after the first save at the
// writer's default quality.
const QVector<int> kQualitySequence{50, 10, 100, 60, 20};

bool isQualityPrefix(const QVector<int> &saved)
{
    if (saved.isEmpty() || saved.first() != -1 || saved.size() > 1 + kQualitySequence.size())
        return false;
    return saved.mid(1) == kQualitySequence.mid(0, saved.size() - 1);
}

// Receives results on the thread it lives on, as a page does.
class ResultReceiver : public QObject
{
    Q_OBJECT
public:
    QString path;
    QVariant value;
    QThread *deliveredOn = nullptr;

public slots:
    void compressionResult(const QString &p, const QVariant &v)
    {
        path = p;
        value = v;
        deliveredOn = QThread::currentThread();
        emit received();
    }

signals:
    void received();
};

} // namespace

class TestPhotoCompression : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    // Files that are passed on as they are.
    void passedOnUnchanged_data();
    void passedOnUnchanged();
    void limitIsInclusive();
    void unwritableCacheReturnsSource();
    void stopBeforeStartReturnsSource();

    // Shrinking.
    void largePhotoEndsInTemporaryCacheUnderLimit();
    void existingOutputGetsCopyName();
    void fitting_data();
    void fitting();
    void hopelessPictureStopsAfterFiveLoopSaves();
    void orientation_data();
    void orientation();
    void formatComesFromContent();
    void transparentPngIsLaidOnWhite();

    // Worker threads.
    void resultArrivesOnCallersThread_data();
    void resultArrivesOnCallersThread();
    void severalPhotosInParallel();

private:
    QString sourcePath(const QString &name) const { return m_dir.filePath(QStringLiteral("src/") + name); }
    QString cacheFolder() const { return m_dir.filePath(QStringLiteral("root/cache/temporary")); }
    QStringList cacheEntries() const
    {
        return QDir(cacheFolder()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
    // 4000 x 3000 photo of about 5 MB, shared by several cases.
    QByteArray m_largeJpeg;
};

void TestPhotoCompression::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("src")));
    PhotoCompression::setCacheRoot(m_dir.filePath(QStringLiteral("root")));
    QCOMPARE(PhotoCompression::outputFolder(), cacheFolder());

    m_largeJpeg = encoded(texturedPhoto(QSize(4000, 3000), 1), "jpeg", 92);
    QVERIFY2(m_largeJpeg.size() > 3 * 1024 * 1024, QByteArray::number(m_largeJpeg.size()).constData());
}

void TestPhotoCompression::init()
{
    // Every case starts with an empty cache, so output names are predictable.
    QDir(cacheFolder()).removeRecursively();
    PhotoCompression::setCacheRoot(m_dir.filePath(QStringLiteral("root")));
}

void TestPhotoCompression::cleanupTestCase()
{
    PhotoCompression::setCacheRoot(QString());
    QCOMPARE(PhotoCompression::cacheRoot(), QCoreApplication::applicationDirPath());
}

void TestPhotoCompression::passedOnUnchanged_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    // About 150 KB: under the limit, so not even decoded.
    QByteArray small = encoded(texturedPhoto(QSize(520, 390), 2), "jpeg", 95);
    for (int side = 520; small.size() < 140 * 1024; side += 40)
        small = encoded(texturedPhoto(QSize(side, side * 3 / 4), 2), "jpeg", 95);
    QVERIFY(small.size() < kLimit);
    QTest::newRow("150 KB JPEG") << "small.jpg" << small;

    // Icons stay as they are, whatever their size.
    QTest::newRow("large .ico") << "logo.ico" << m_largeJpeg;
    QTest::newRow("large .ICO") << "LOGO.ICO" << m_largeJpeg;

    QTest::newRow("zero bytes") << "empty.jpg" << QByteArray();
    QTest::newRow("missing file") << QString() << QByteArray();

    // Above the limit but not a picture.
    QByteArray garbage(300 * 1024, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    QTest::newRow("random bytes named .jpg") << "garbage.jpg" << garbage;
    QTest::newRow("random bytes named .png") << "garbage.png" << garbage;
    QTest::newRow("PNG signature, broken body")
        << "broken.png" << QByteArray("\x89PNG\r\n\x1a\n", 8) + garbage;
}

void TestPhotoCompression::passedOnUnchanged()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);

    const QString path = name.isEmpty() ? sourcePath(QStringLiteral("does-not-exist.jpg")) : sourcePath(name);
    if (!name.isEmpty())
        QVERIFY(writeFile(path, content));

    PhotoCompression job;
    job.setAddress(path);
    job.setValue(QVariantList{3, QStringLiteral("户型图")});
    const Outcome o = run(job);

    QCOMPARE(o.emissions, 1);
    QCOMPARE(o.path, path);
    QCOMPARE(o.value, QVariant(QVariantList{3, QStringLiteral("户型图")}));
    QVERIFY2(cacheEntries().isEmpty(), qPrintable(cacheEntries().join(QLatin1Char(' '))));
    QVERIFY(job.savedQualities().isEmpty());
}

void TestPhotoCompression::limitIsInclusive()
{
    const QString path = sourcePath(QStringLiteral("edge.jpg"));
    QVERIFY(writeFile(path, m_largeJpeg));

    PhotoCompression atLimit;
    atLimit.setAddress(path);
    atLimit.setLimit(m_largeJpeg.size());
    QCOMPARE(run(atLimit).path, path);
    QVERIFY(!atLimit.targetSize().isValid());

    PhotoCompression justBelow;
    justBelow.setAddress(path);
    justBelow.setLimit(m_largeJpeg.size() - 1);
    QCOMPARE(run(justBelow).path, cacheFolder() + QStringLiteral("/edge_com.jpg"));
}

void TestPhotoCompression::unwritableCacheReturnsSource()
{
    // A plain file where the cache root should be: no folder, no save.
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, "not a folder"));
    PhotoCompression::setCacheRoot(blocker);

    const QString path = sourcePath(QStringLiteral("unsaved.jpg"));
    QVERIFY(writeFile(path, m_largeJpeg));
    PhotoCompression job;
    job.setAddress(path);
    const Outcome o = run(job);
    QCOMPARE(o.emissions, 1);
    QCOMPARE(o.path, path);
    QCOMPARE(job.savedQualities(), QVector<int>{-1});
}

void TestPhotoCompression::stopBeforeStartReturnsSource()
{
    const QString path = sourcePath(QStringLiteral("stopped.jpg"));
    QVERIFY(writeFile(path, m_largeJpeg));
    PhotoCompression job;
    job.setAddress(path);
    job.setValue(42);
    job.stopCompresssion();
    QVERIFY(job.isStopped());

    const Outcome o = run(job);
    QCOMPARE(o.emissions, 1);
    QCOMPARE(o.path, path);
    QCOMPARE(o.value, QVariant(42));
    QVERIFY(cacheEntries().isEmpty());
    QVERIFY(job.savedQualities().isEmpty());
}

void TestPhotoCompression::largePhotoEndsInTemporaryCacheUnderLimit()
{
    const QString path = sourcePath(QStringLiteral("living room.jpg"));
    QVERIFY(writeFile(path, m_largeJpeg));

    PhotoCompression job;
    job.setAddress(path);
    job.setValue(QStringLiteral("ctx"));
    const Outcome o = run(job);

    QCOMPARE(o.emissions, 1);
    QCOMPARE(o.value, QVariant(QStringLiteral("ctx")));
    QCOMPARE(o.path, cacheFolder() + QStringLiteral("/living room_com.jpg"));
    QCOMPARE(job.targetSize(), QSize(1440, 1080));

    const QVector<int> saved = job.savedQualities();
    QVERIFY2(isQualityPrefix(saved), qPrintable(QString::number(saved.size())));
    QVERIFY(saved.size() >= 2); // the default quality alone is not enough here

    const QFileInfo out(o.path);
    QVERIFY(out.exists());
    QVERIFY2(out.size() <= kLimit, qPrintable(QString::number(out.size())));
    QCOMPARE(QFileInfo(path).size(), qint64(m_largeJpeg.size())); // source untouched

    QImageReader reader(o.path);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QSize size = reader.size();
    // Still 1440 x 1080 unless a further reduction (target / 6) was saved.
    const bool reduced = saved.size() > 3;
    QCOMPARE(size, reduced ? QSize(240, 180) : QSize(1440, 1080));
    QCOMPARE(cacheEntries(), QStringList{QStringLiteral("living room_com.jpg")});
}

void TestPhotoCompression::existingOutputGetsCopyName()
{
    const QString path = sourcePath(QStringLiteral("kitchen.jpg"));
    QVERIFY(writeFile(path, m_largeJpeg));

    QStringList results;
    for (int i = 0; i < 3; ++i) {
        PhotoCompression job;
        job.setAddress(path);
        results << run(job).path;
    }
    QCOMPARE(results.at(0), cacheFolder() + QStringLiteral("/kitchen_com.jpg"));
    // "_copy" goes in once, before the extension; a third run reuses that name.
    QCOMPARE(results.at(1), cacheFolder() + QStringLiteral("/kitchen_com_copy.jpg"));
    QCOMPARE(results.at(2), results.at(1));
    QCOMPARE(cacheEntries().size(), 2);
    for (const QString &r : results)
        QVERIFY(!QImageReader(r).read().isNull());
}

void TestPhotoCompression::fitting_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QSize>("target");

    QTest::newRow("landscape 4:3") << QSize(4000, 3000) << 4.0 << QSize(1440, 1080);
    QTest::newRow("portrait 3:4") << QSize(3000, 4000) << 4.0 << QSize(810, 1080);
    QTest::newRow("exactly 16:9") << QSize(3840, 2160) << 4.0 << QSize(1920, 1080);
    QTest::newRow("panorama") << QSize(6000, 1000) << 4.0 << QSize(1920, 320);
    QTest::newRow("tall strip") << QSize(1000, 3000) << 4.0 << QSize(360, 1080);
    QTest::newRow("only too wide") << QSize(2400, 1000) << 4.0 << QSize(1920, 800);
    QTest::newRow("only too tall") << QSize(1000, 1200) << 4.0 << QSize(900, 1080);
    QTest::newRow("already fits") << QSize(1200, 900) << 4.0 << QSize(1200, 900);
    QTest::newRow("single smooth pass") << QSize(4000, 3000) << 1.0 << QSize(1440, 1080);
}

void TestPhotoCompression::fitting()
{
    QFETCH(QSize, source);
    QFETCH(double, factor);
    QFETCH(QSize, target);

    const QString path = sourcePath(QStringLiteral("fit.jpg"));
    QVERIFY(writeFile(path, encoded(pureNoise(source, 3), "jpeg", 90)));
    QVERIFY(QFileInfo(path).size() > kLimit);

    PhotoCompression job;
    job.setAddress(path);
    job.setFactor(factor);
    // Just under the source: shrunk, but normally without further reduction.
    job.setLimit(QFileInfo(path).size() - 1);
    const Outcome o = run(job);

    QCOMPARE(o.path, cacheFolder() + QStringLiteral("/fit_com.jpg"));
    QCOMPARE(job.targetSize(), target);
    QCOMPARE(job.savedQualities().first(), -1);
    if (job.savedQualities().size() <= 3)
        QCOMPARE(QImageReader(o.path).size(), target);
}

void TestPhotoCompression::hopelessPictureStopsAfterFiveLoopSaves()
{
    // Noise never gets under 1 KB: every quality and one reduction are tried,
    // then the loop gives up and the (still too big) copy is the result.
    const QString path = sourcePath(QStringLiteral("noise.jpg"));
    QVERIFY(writeFile(path, encoded(pureNoise(QSize(1920, 1080), 4), "jpeg", 90)));

    PhotoCompression job;
    job.setAddress(path);
    job.setLimit(1000);
    const Outcome o = run(job);

    QCOMPARE(o.emissions, 1);
    QCOMPARE(o.path, cacheFolder() + QStringLiteral("/noise_com.jpg"));
    QCOMPARE(job.savedQualities(), (QVector<int>{-1, 50, 10, 100, 60, 20}));
    QCOMPARE(job.factor(), 6.0);
    QCOMPARE(QImageReader(o.path).size(), QSize(320, 180));
}

void TestPhotoCompression::orientation_data()
{
    QTest::addColumn<int>("exif");
    QTest::addColumn<bool>("swapped");
    // Quarter where the red top-left corner of the stored picture ends up,
    // -1 when only the proportions are checked.
    QTest::addColumn<int>("redQuarter");

    QTest::newRow("1 normal") << 1 << false << 0;
    QTest::newRow("2 mirrored") << 2 << false << -1;
    QTest::newRow("3 upside down") << 3 << false << 3;
    QTest::newRow("4 flipped") << 4 << false << -1;
    QTest::newRow("5 transposed") << 5 << true << -1;
    QTest::newRow("6 rotated 90") << 6 << true << 1;
    QTest::newRow("7 transverse") << 7 << true << -1;
    QTest::newRow("8 rotated 270") << 8 << true << 2;
}

void TestPhotoCompression::orientation()
{
    QFETCH(int, exif);
    QFETCH(bool, swapped);
    QFETCH(int, redQuarter);

    // 1600 x 1200 stored; the top-left quarter is red, the rest grey.
    QImage stored = pureNoise(QSize(1600, 1200), 5);
    for (int y = 0; y < stored.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(stored.scanLine(y));
        for (int x = 0; x < stored.width(); ++x) {
            const int n = qGray(line[x]) / 4;
            const bool red = x < stored.width() / 2 && y < stored.height() / 2;
            line[x] = red ? qRgb(200 + n / 2, n, n) : qRgb(80 + n, 80 + n, 80 + n);
        }
    }
    const QByteArray jpeg = withExifOrientation(encoded(stored, "jpeg", 95), quint16(exif));
    {
        QByteArray copy = jpeg;
        QBuffer buffer(&copy);
        QImageReader probe(&buffer, "jpeg");
        QVERIFY(probe.transformation() != QImageIOHandler::TransformationNone || exif == 1);
    }
    const QString path = sourcePath(QStringLiteral("oriented.jpg"));
    QVERIFY(writeFile(path, jpeg));

    PhotoCompression job;
    job.setAddress(path);
    job.setLimit(50 * 1024);
    const Outcome o = run(job);
    QCOMPARE(o.path, cacheFolder() + QStringLiteral("/oriented_com.jpg"));

    QImageReader reader(o.path);
    reader.setAutoTransform(false);
    const QImage out = reader.read();
    QVERIFY(!out.isNull());
    QCOMPARE(job.targetSize(), swapped ? QSize(810, 1080) : QSize(1440, 1080));
    QCOMPARE(out.width() < out.height(), swapped);

    if (redQuarter >= 0) {
        for (int q = 0; q < 4; ++q) {
            const QColor c = quarterMean(out, q);
            const bool isRed = c.red() > c.green() + 80;
            QVERIFY2(isRed == (q == redQuarter),
                     qPrintable(QStringLiteral("quarter %1: %2").arg(q).arg(c.name())));
        }
    }
}

void TestPhotoCompression::formatComesFromContent()
{
    // A JPEG under a name that says nothing about its format.
    const QString path = sourcePath(QStringLiteral("upload.dat"));
    QVERIFY(writeFile(path, m_largeJpeg));
    PhotoCompression job;
    job.setAddress(path);
    const Outcome o = run(job);
    QCOMPARE(o.path, cacheFolder() + QStringLiteral("/upload_com.jpg"));
    QCOMPARE(job.targetSize(), QSize(1440, 1080));
}

void TestPhotoCompression::transparentPngIsLaidOnWhite()
{
    QImage image = pureNoise(QSize(1200, 800), 6).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width() / 2; ++x)
            line[x] = qRgba(0, 0, 0, 0);
    }
    const QString path = sourcePath(QStringLiteral("plan.png"));
    QVERIFY(writeFile(path, encoded(image, "png")));
    QVERIFY(QFileInfo(path).size() > kLimit);

    PhotoCompression job;
    job.setAddress(path);
    const Outcome o = run(job);
    QCOMPARE(o.path, cacheFolder() + QStringLiteral("/plan_com.jpg"));
    QCOMPARE(job.targetSize(), QSize(1200, 800));

    const QImage out = QImageReader(o.path).read();
    QVERIFY(!out.isNull());
    const QColor left = quarterMean(out, 0), right = quarterMean(out, 1);
    QVERIFY2(left.lightness() > 230, qPrintable(left.name()));
    QVERIFY2(right.lightness() < 200, qPrintable(right.name()));
}

void TestPhotoCompression::resultArrivesOnCallersThread_data()
{
    QTest::addColumn<bool>("large");
    // A picture that needs no work answers at once: the result must not be
    // emitted before the caller has connected.
    QTest::newRow("nothing to do") << false;
    QTest::newRow("large photo") << true;
}

void TestPhotoCompression::resultArrivesOnCallersThread()
{
    QFETCH(bool, large);
    const QString path = sourcePath(QStringLiteral("threaded.jpg"));
    QVERIFY(writeFile(path, large ? m_largeJpeg : QByteArray(1024, 'x')));

    ResultReceiver receiver;
    QPointer<PhotoCompression> job = PhotoCompression::startInThread(path, QVariant(7));
    QVERIFY(job);
    QPointer<QThread> worker = job->thread();
    QVERIFY(worker && worker != QThread::currentThread());
    // Started from the event loop, not before the caller could connect.
    QVERIFY(!worker->isRunning());
    connect(job, &PhotoCompression::compression_address, &receiver, &ResultReceiver::compressionResult);

    QSignalSpy spy(&receiver, &ResultReceiver::received);
    QVERIFY(spy.wait(60000));
    QCOMPARE(receiver.deliveredOn, QThread::currentThread());
    QCOMPARE(receiver.value, QVariant(7));
    QCOMPARE(receiver.path, large ? cacheFolder() + QStringLiteral("/threaded_com.jpg") : path);
    if (large)
        QVERIFY(QFileInfo(receiver.path).size() <= kLimit);

    // The thread ends by itself and both objects are released.
    QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(job.isNull(), 10000);
    QCOMPARE(spy.count(), 1);
}

void TestPhotoCompression::severalPhotosInParallel()
{
    // One thread per picture, as a page adding several photos does.
    const QStringList names{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    ResultReceiver receiver;
    QHash<int, QString> results;
    connect(&receiver, &ResultReceiver::received, this,
            [&] { results.insert(receiver.value.toInt(), receiver.path); });
    for (int i = 0; i < names.size(); ++i) {
        const QString path = sourcePath(names.at(i) + QStringLiteral(".jpg"));
        QVERIFY(writeFile(path, m_largeJpeg));
        PhotoCompression *job = PhotoCompression::startInThread(path, i);
        connect(job, &PhotoCompression::compression_address, &receiver, &ResultReceiver::compressionResult);
    }
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), names.size(), 120000);
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(results.value(i), cacheFolder() + QLatin1Char('/') + names.at(i) + QStringLiteral("_com.jpg"));
}

QTEST_MAIN(TestPhotoCompression)
#include "tst_photocompression.moc"
