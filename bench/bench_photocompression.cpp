// Times PhotoCompression on a camera-sized photo against ImageMagick doing the
// comparable job (convert <src> -resize 1440x1080 -quality 50 <out>).
//
//   bench_photocompression [--reps N] [--convert PATH] [--data DIR]
//   bench_photocompression --picker N [--data DIR]
//
// The 4000 x 3000 test photo (about 5 MB) is generated once and kept in
// bench/data. Each tool runs N times (default 5); the median wall time is
// reported with the output's size and dimensions. Exit code 1 when our output
// is above 200 KB, not fitted to 1440 x 1080, or slower than 1.5 x ImageMagick.
//
// With --picker N, N copies of a 3000 x 2000 photo go through the photo picker
// as an agent's batch would, while a 10 ms timer on the event loop records the
// longest stall. Exit code 1 when the loop stalled for more than 100 ms.

#include "net/photocompression.h"
#include "widgets/photopicker.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtMath>

#include <algorithm>
#include <cstdio>

namespace {

const QSize kPhotoSize(4000, 3000);
const QSize kFitted(1440, 1080);
const qint64 kLimit = PhotoCompression::DefaultLimit;

// A stand-in for a room photo: a few smooth light gradients and soft shapes,
// a mid-frequency texture (plaster, fabric, wood grain) and sensor noise.
// At quality 95 it encodes to about 5 MB, like a 12 MP phone picture.
QImage makePhoto()
{
    QRandomGenerator rng(20240601);
    QImage image(kPhotoSize, QImage::Format_RGB32);
    const int w = kPhotoSize.width(), h = kPhotoSize.height();
    const int block = 4;
    QVector<int> texture(w / block + 1);
    for (int y = 0; y < h; ++y) {
        if (y % block == 0) {
            for (int &t : texture)
                t = int(rng.bounded(25)) - 12;
        }
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double fy = double(y) / h;
        for (int x = 0; x < w; ++x) {
            const double fx = double(x) / w;
            // Window light from the upper left, a darker floor, a soft lamp.
            const double light = 0.55 + 0.35 * (1.0 - fx) * (1.0 - fy)
                                 + 0.25 * qExp(-((fx - 0.7) * (fx - 0.7) + (fy - 0.35) * (fy - 0.35)) * 18.0)
                                 - (fy > 0.72 ? 0.18 : 0.0);
            const double wall = 0.5 + 0.5 * qSin(fx * 7.0 + fy * 3.0);
            const int n = texture[x / block] + int(rng.bounded(17)) - 8;
            const int r = int(light * (170 + 50 * wall)) + n;
            const int g = int(light * (150 + 40 * wall)) + n;
            const int b = int(light * (120 + 60 * (1.0 - wall))) + n;
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

QString ensurePhoto(const QString &dataDir)
{
    const QString path = dataDir + QStringLiteral("/photo_4000x3000.jpg");
    if (QImageReader(path).size() == kPhotoSize)
        return path;
    QDir().mkpath(dataDir);
    std::printf("generating %s ...\n", qPrintable(path));
    QImageWriter writer(path, "jpeg");
    writer.setQuality(95);
    if (!writer.write(makePhoto())) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return QString();
    }
    return path;
}

// The distribution's ImageMagick in /usr/bin is preferred, so a wrapper
// earlier in PATH does not add its own start-up time to the reference.
QString findConvert(const QString &requested)
{
    if (!requested.isEmpty())
        return requested;
    const QString env = qEnvironmentVariable("HOUSEBOOK_CONVERT");
    if (!env.isEmpty())
        return env;
    QString found = QStandardPaths::findExecutable(QStringLiteral("convert"), {QStringLiteral("/usr/bin")});
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QStringLiteral("convert"));
    return found;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

struct Result
{
    QVector<double> ms;
    qint64 bytes = 0;
    QSize size;
    QString note;
};

Result runOurs(const QString &photo, int reps)
{
    Result result;
    for (int i = 0; i < reps; ++i) {
        // A fresh cache each time, so every run writes "<name>_com.jpg".
        QTemporaryDir cache;
        PhotoCompression::setCacheRoot(cache.path());
        PhotoCompression job;
        job.setAddress(photo);
        job.setLimit(kLimit);
        QString output;
        QObject::connect(&job, &PhotoCompression::compression_address,
                         [&output](const QString &path, const QVariant &) { output = path; });
        QElapsedTimer timer;
        timer.start();
        job.startCompression();
        result.ms << timer.nsecsElapsed() / 1e6;

        result.bytes = QFileInfo(output).size();
        result.size = QImageReader(output).size();
        QStringList qualities;
        for (int q : job.savedQualities())
            qualities << (q < 0 ? QStringLiteral("default") : QString::number(q));
        result.note = QStringLiteral("saves: %1").arg(qualities.join(QStringLiteral(", ")));
        if (output == photo)
            result.note = QStringLiteral("source returned unchanged");
    }
    PhotoCompression::setCacheRoot(QString());
    return result;
}

Result runImageMagick(const QString &convert, const QString &photo, int reps)
{
    Result result;
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("im.jpg"));
    for (int i = 0; i < reps; ++i) {
        QFile::remove(out);
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(convert, {photo, QStringLiteral("-resize"), QStringLiteral("1440x1080"),
                                QStringLiteral("-quality"), QStringLiteral("50"), out});
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            result.note = QStringLiteral("failed: %1").arg(QString::fromLocal8Bit(process.readAllStandardError()));
            return result;
        }
        result.ms << timer.nsecsElapsed() / 1e6;
    }
    result.bytes = QFileInfo(out).size();
    result.size = QImageReader(out).size();
    result.note = convert;
    return result;
}

void printRow(const char *name, const Result &r)
{
    if (r.ms.isEmpty()) {
        std::printf("%-12s  %s\n", name, qPrintable(r.note));
        return;
    }
    const auto [lo, hi] = std::minmax_element(r.ms.begin(), r.ms.end());
    std::printf("%-12s  median %8.1f ms  (min %7.1f, max %7.1f)  %7lld bytes  %4d x %-4d  %s\n", name,
                median(r.ms), *lo, *hi, static_cast<long long>(r.bytes), r.size.width(), r.size.height(),
                qPrintable(r.note));
}

// A 3000 x 2000 camera photo: the room stand-in cut down, kept in the data folder.
QString ensurePickerPhoto(const QString &dataDir)
{
    const QString path = dataDir + QStringLiteral("/photo_3000x2000.jpg");
    if (QImageReader(path).size() == QSize(3000, 2000))
        return path;
    const QString source = ensurePhoto(dataDir);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(92);
    if (source.isEmpty() || !writer.write(QImage(source).copy(0, 0, 3000, 2000)))
        return QString();
    return path;
}

// The picker's batch of `count` photos with the event loop watched every 10 ms.
int runPicker(const QString &dataDir, int count)
{
    const QString photo = ensurePickerPhoto(dataDir);
    QTemporaryDir work;
    if (photo.isEmpty() || !work.isValid())
        return 2;
    PhotoCompression::setCacheRoot(work.path());
    QStringList paths;
    for (int k = 0; k < count; ++k) {
        paths << work.filePath(QStringLiteral("room%1.jpg").arg(k));
        QFile::copy(photo, paths.last());
    }
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - lastTick - 10);
        lastTick = now;
    });
    PhotoPicker picker;
    picker.setFileChooser([paths](QWidget *, const QString &, const QString &, const QString &) { return paths; });
    QStringList results;
    QObject::connect(&picker, &PhotoPicker::finished, [&](const QStringList &done) {
        results = done;
        QCoreApplication::quit();
    });
    clock.start();
    ticker.start();
    picker.pick();
    QCoreApplication::exec();
    const qint64 total = clock.elapsed();
    qint64 largest = 0;
    for (const QString &r : results)
        largest = std::max(largest, QFileInfo(r).size());
    std::printf("picker: %d photos of 3000 x 2000 in %lld ms; longest event-loop stall %lld ms (<= 100: %s); "
                "largest result %lld bytes\n",
                count, static_cast<long long>(total), static_cast<long long>(longest), longest <= 100 ? "yes" : "NO",
                static_cast<long long>(largest));
    PhotoCompression::setCacheRoot(QString());
    return longest <= 100 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("PhotoCompression vs ImageMagick"));
    parser.addHelpOption();
    const QCommandLineOption repsOption(QStringLiteral("reps"), QStringLiteral("Repetitions per tool."),
                                        QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption convertOption(QStringLiteral("convert"), QStringLiteral("ImageMagick convert binary."),
                                           QStringLiteral("path"));
    const QCommandLineOption dataOption(QStringLiteral("data"), QStringLiteral("Folder of the cached test photo."),
                                        QStringLiteral("dir"), QStringLiteral(HOUSEBOOK_BENCH_DATA_DIR));
    const QCommandLineOption pickerOption(QStringLiteral("picker"), QStringLiteral("Photos to pass through the picker."),
                                          QStringLiteral("n"));
    parser.addOptions({repsOption, convertOption, dataOption, pickerOption});
    parser.process(app);
    if (parser.isSet(pickerOption))
        return runPicker(parser.value(dataOption), qMax(1, parser.value(pickerOption).toInt()));
    const int reps = qMax(1, parser.value(repsOption).toInt());

    const QString photo = ensurePhoto(parser.value(dataOption));
    if (photo.isEmpty())
        return 2;
    const QString convert = findConvert(parser.value(convertOption));
    if (convert.isEmpty()) {
        std::fprintf(stderr, "ImageMagick's convert not found (bash scripts/deps.sh imagemagick)\n");
        return 2;
    }

    std::printf("photo: %s, %d x %d, %lld bytes; %d repetitions each\n", qPrintable(photo), kPhotoSize.width(),
                kPhotoSize.height(), static_cast<long long>(QFileInfo(photo).size()), reps);

    // One untimed run each, so both start with the file in the page cache.
    runOurs(photo, 1);
    runImageMagick(convert, photo, 1);

    const Result ours = runOurs(photo, reps);
    const Result magick = runImageMagick(convert, photo, reps);
    printRow("ours", ours);
    printRow("imagemagick", magick);
    if (magick.ms.isEmpty())
        return 2;

    const bool small = ours.bytes > 0 && ours.bytes <= kLimit;
    const bool fitted = ours.size.isValid() && ours.size.width() <= kFitted.width()
                        && ours.size.height() <= kFitted.height()
                        && qAbs(ours.size.width() * kFitted.height() - ours.size.height() * kFitted.width())
                               <= kFitted.width();
    const double ratio = median(ours.ms) / median(magick.ms);
    const bool fast = ratio <= 1.5;
    std::printf("ours <= 200 KB: %s | fitted to 1440 x 1080: %s | time %.2f x ImageMagick (<= 1.5): %s\n",
                small ? "yes" : "NO", fitted ? "yes" : "NO", ratio, fast ? "yes" : "NO");
    return small && fitted && fast ? 0 : 1;
}
