#include "widgets/photopicker.h"

#include "net/photocompression.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestPhotoPicker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void chosenFilesAreCompressedInOrder();
    void batchesJoinAndCancel();
    void largeBatchUsesBoundedWorkers();
    void destroyingPickerStopsWorkers();

private:
    QTemporaryDir m_dir;
    QString m_small;
    QString m_large;
};

void TestPhotoPicker::initTestCase()
{
    QVERIFY(m_dir.isValid());
    PhotoCompression::setCacheRoot(m_dir.filePath(QStringLiteral("root")));
    m_small = m_dir.filePath(QStringLiteral("small.png"));
    m_large = m_dir.filePath(QStringLiteral("large.jpg"));
    QImage plain(64, 48, QImage::Format_RGB32);
    plain.fill(Qt::darkCyan);
    QVERIFY(plain.save(m_small, "PNG"));
    // Random pixels keep the JPEG well above the size limit.
    QImage noise(700, 500, QImage::Format_RGB32);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(noise.bits()), noise.sizeInBytes() / 4);
    QVERIFY(noise.save(m_large, "JPEG", 95));
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

    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.size(), 1);
    const QStringList paths = finished.first().first().toStringList();
    // The large photo became a shrunk copy in the cache; the small one goes as it is.
    QCOMPARE(QFileInfo(paths.at(0)).absolutePath(), QFileInfo(PhotoCompression::outputFolder()).absoluteFilePath());
    QVERIFY(QFileInfo(paths.at(0)).fileName() == QLatin1String("large_com.jpg") && QFileInfo::exists(paths.at(0)));
    QCOMPARE(paths.at(1), m_small);

    QCOMPARE(ready.size(), 2);
    QCOMPARE(progress.first(), QVariantList({0, 2}));
    QCOMPARE(progress.last(), QVariantList({2, 2}));
    QVERIFY(!picker.isBusy());

    // A cancelled dialog starts nothing.
    picker.setFileChooser([](QWidget *, const QString &, const QString &, const QString &) { return QStringList(); });
    QVERIFY(picker.pick().isEmpty());
    QCOMPARE(progress.size(), 3);
}

// Files chosen while a batch runs join it; a cancelled batch never answers, even when its
// workers finish after the next batch has started.
void TestPhotoPicker::batchesJoinAndCancel()
{
    PhotoPicker picker;
    QSignalSpy progress(&picker, &PhotoPicker::progress);
    QSignalSpy finished(&picker, &PhotoPicker::finished);

    picker.compress({m_small});
    picker.compress({m_large, m_small});
    QCOMPARE(progress.last(), QVariantList({0, 3}));
    QVERIFY(finished.wait(60000));
    const QStringList paths = finished.first().first().toStringList();
    QCOMPARE(paths.size(), 3);
    QVERIFY(paths.at(1).endsWith(QLatin1String("_com.jpg")));
    QCOMPARE(progress.last(), QVariantList({3, 3}));

    finished.clear();
    picker.compress({m_large, m_small});
    picker.cancel();
    QVERIFY(!picker.isBusy());
    picker.compress({m_small});
    QVERIFY(finished.wait(60000));
    QTRY_COMPARE_WITH_TIMEOUT(PhotoPicker::activeCompressions(), 0, 60000);
    QCoreApplication::processEvents();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toStringList(), QStringList({m_small}));
}

// A large batch waits for free workers instead of taking a thread per photo at once; every
// photo still arrives, in the order chosen.
void TestPhotoPicker::largeBatchUsesBoundedWorkers()
{
    PhotoPicker picker;
    QSignalSpy finished(&picker, &PhotoPicker::finished);
    const QStringList batch{m_large, m_small, m_large, m_small, m_large, m_small};
    picker.compress(batch);
    QCOMPARE(picker.runningCount(), batch.size());
    QVERIFY(PhotoPicker::activeCompressions() <= PhotoPicker::workerLimit());
    QVERIFY(finished.wait(120000));
    QCOMPARE(finished.first().first().toStringList().size(), batch.size());
    QCOMPARE(finished.first().first().toStringList().at(1), m_small);
}

// An owner closed while photos are still being shrunk: the workers give up, leave no copies
// behind and their late answers reach nothing.
void TestPhotoPicker::destroyingPickerStopsWorkers()
{
    QObject owner;
    auto *picker = new PhotoPicker(&owner);
    picker->compress({m_large, m_large, m_large});
    QCOMPARE(PhotoPicker::activeCompressions(), qMin(3, PhotoPicker::workerLimit()));
    delete picker;

    QTRY_COMPARE_WITH_TIMEOUT(PhotoPicker::activeCompressions(), 0, 60000);
    QCoreApplication::processEvents();
    QCOMPARE(QDir(PhotoCompression::outputFolder()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestPhotoPicker)
#include "tst_photopicker.moc"
