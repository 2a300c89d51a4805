#include "widgets/photopicker.h"

#include "net/photocompression.h"

#include <QDir>
#include <QImage>
#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Random pixels keep the JPEG large, so the picture is well above the size limit.
QImage noise(const QSize &size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32 *>(image.bits()), image.sizeInBytes() / 4);
    return image;
}

} // namespace

class TestPhotoPicker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void chosenFilesAreCompressedInOrder();
    void cancelledDialogDoesNothing();
    void laterFilesJoinRunningBatch();
    void cancelDropsTheBatch();
    void destroyingPickerStopsWorkers();

private:
    QString cacheFiles() const;

    QTemporaryDir m_dir;
    QString m_small;
    QString m_large;
    QString m_huge;
};

void TestPhotoPicker::initTestCase()
{
    QVERIFY(m_dir.isValid());
    PhotoCompression::setCacheRoot(m_dir.filePath(QStringLiteral("root")));
    m_small = m_dir.filePath(QStringLiteral("small.png"));
    m_large = m_dir.filePath(QStringLiteral("large.jpg"));
    m_huge = m_dir.filePath(QStringLiteral("huge.jpg"));
    QImage plain(64, 48, QImage::Format_RGB32);
    plain.fill(Qt::darkCyan);
    QVERIFY(plain.save(m_small, "PNG"));
    QVERIFY(noise(QSize(700, 500), 1).save(m_large, "JPEG", 95));
    QVERIFY(noise(QSize(3000, 2200), 2).save(m_huge, "JPEG", 95));
    QVERIFY(QFileInfo(m_large).size() > PhotoCompression::DefaultLimit);
}

void TestPhotoPicker::init()
{
    QDir(PhotoCompression::outputFolder()).removeRecursively();
}

void TestPhotoPicker::cleanupTestCase()
{
    QTRY_COMPARE_WITH_TIMEOUT(PhotoPicker::activeCompressions(), 0, 60000);
    PhotoCompression::setCacheRoot(QString());
}

QString TestPhotoPicker::cacheFiles() const
{
    return QDir(PhotoCompression::outputFolder()).entryList(QDir::Files).join(QLatin1Char(','));
}

void TestPhotoPicker::chosenFilesAreCompressedInOrder()
{
    PhotoPicker picker;
    picker.setTitle(QStringLiteral("选取房源图片"));
    picker.setStartFolder(QStringLiteral("C:/"));
    QStringList asked;
    picker.setFileChooser([&](QWidget *, const QString &title, const QString &folder, const QString &filter) {
        asked << title << folder << filter;
        return QStringList{m_large, m_small};
    });
    QSignalSpy progress(&picker, &PhotoPicker::progress);
    QSignalSpy ready(&picker, &PhotoPicker::photoReady);
    QSignalSpy finished(&picker, &PhotoPicker::finished);

    QCOMPARE(picker.pick(), QStringList({m_large, m_small}));
    QCOMPARE(asked, QStringList({"选取房源图片", "C:/", "Image Files(*.jpg *.png *.jpeg)"}));
    QCOMPARE(picker.runningCount(), 2);
    QVERIFY(picker.isBusy());

    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.size(), 1);
    const QStringList paths = finished.first().first().toStringList();
    QCOMPARE(paths.size(), 2);
    // The large photo became a shrunk copy in the cache; the small one goes as it is.
    QCOMPARE(QFileInfo(paths.at(0)).absolutePath(), QFileInfo(PhotoCompression::outputFolder()).absoluteFilePath());
    QVERIFY(paths.at(0).endsWith(QLatin1String("large_com.jpg")));
    QVERIFY(QFileInfo::exists(paths.at(0)));
    QCOMPARE(paths.at(1), m_small);

    QCOMPARE(ready.size(), 2);
    QCOMPARE(progress.first(), QVariantList({0, 2}));
    QCOMPARE(progress.last(), QVariantList({2, 2}));
    QCOMPARE(picker.runningCount(), 0);
    QCOMPARE(picker.totalCount(), 0);
}

void TestPhotoPicker::cancelledDialogDoesNothing()
{
    PhotoPicker picker;
    picker.setFileChooser([](QWidget *, const QString &, const QString &, const QString &) { return QStringList(); });
    QSignalSpy progress(&picker, &PhotoPicker::progress);
    QVERIFY(picker.pick().isEmpty());
    QVERIFY(progress.isEmpty());
    QVERIFY(!picker.isBusy());
}

void TestPhotoPicker::laterFilesJoinRunningBatch()
{
    PhotoPicker picker;
    QSignalSpy progress(&picker, &PhotoPicker::progress);
    QSignalSpy finished(&picker, &PhotoPicker::finished);

    picker.compress({m_small});
    picker.compress({m_large, m_small});
    QCOMPARE(picker.totalCount(), 3);
    QCOMPARE(progress.last(), QVariantList({0, 3}));

    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.size(), 1);
    const QStringList paths = finished.first().first().toStringList();
    QCOMPARE(paths.size(), 3);
    QCOMPARE(paths.at(0), m_small);
    QVERIFY(paths.at(1).endsWith(QLatin1String("_com.jpg")));
    QCOMPARE(paths.at(2), m_small);
    QCOMPARE(progress.last(), QVariantList({3, 3}));

    // The next choice starts a batch of its own.
    picker.compress({m_small});
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.last().first().toStringList(), QStringList({m_small}));
}

void TestPhotoPicker::cancelDropsTheBatch()
{
    PhotoPicker picker;
    QSignalSpy ready(&picker, &PhotoPicker::photoReady);
    QSignalSpy finished(&picker, &PhotoPicker::finished);

    picker.compress({m_large, m_small});
    picker.cancel();
    QVERIFY(!picker.isBusy());
    QCOMPARE(picker.totalCount(), 0);

    picker.compress({m_small});
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().toStringList(), QStringList({m_small}));
    // Answers of the dropped batch never surface, not even once the new batch is done.
    QTRY_COMPARE_WITH_TIMEOUT(PhotoPicker::activeCompressions(), 0, 60000);
    QCoreApplication::processEvents();
    QCOMPARE(ready.size(), 1);
    QCOMPARE(finished.size(), 1);
}

// An owner closed while photos are still being shrunk: the workers give up, leave no copies
// behind and their late answers reach nothing.
void TestPhotoPicker::destroyingPickerStopsWorkers()
{
    QObject owner;
    auto *picker = new PhotoPicker(&owner);
    picker->compress({m_huge, m_huge, m_large});
    QCOMPARE(PhotoPicker::activeCompressions(), 3);
    delete picker;

    QTRY_COMPARE_WITH_TIMEOUT(PhotoPicker::activeCompressions(), 0, 60000);
    QCoreApplication::processEvents();
    QCOMPARE(cacheFiles(), QString());
}

QTEST_MAIN(TestPhotoPicker)
#include "tst_photopicker.moc"
