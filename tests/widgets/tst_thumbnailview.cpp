// Thumbnails load without blocking: from a loopback server through the shared network
// access, again from its disk cache with the server gone quiet, from a local file, scaled
// once with the aspect kept; a view destroyed while its picture is on the way is never
// touched again.
#include "hostfixture.h"
#include "recordingserver.h"
#include "widgets/thumbnailview.h"

#include <QBuffer>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

namespace {

QByteArray jpeg(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(30, 160, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

} // namespace

class TestThumbnailView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void loads_data();
    void loads();
    void secondViewReadsTheDiskCache();
    void destroyedWhileLoading();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QTemporaryDir m_dir;
};

void TestThumbnailView::initTestCase()
{
    QVERIFY(m_server.start());
    m_host.reset(new HostFixture);
    m_server.setReply("/wide.jpg", RecordingServer::raw(jpeg({400, 200}), 200, "image/jpeg"));
    m_server.setReply("/broken.jpg", RecordingServer::raw("not a picture", 200, "image/jpeg"));
    QVERIFY(QImage(300, 600, QImage::Format_RGB32).save(m_dir.filePath("tall.png")));
}

void TestThumbnailView::loads_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("web, scaled to the box") << m_server.url("/wide.jpg") << true << QSize(160, 80);
    QTest::newRow("local file") << m_dir.filePath("tall.png") << true << QSize(60, 120);
    QTest::newRow("web 404") << m_server.url("/missing.jpg") << false << QSize();
    QTest::newRow("not a picture") << m_server.url("/broken.jpg") << false << QSize();
    QTest::newRow("missing file") << m_dir.filePath("none.jpg") << false << QSize();
}

void TestThumbnailView::loads()
{
    QFETCH(QString, source);
    QFETCH(bool, ok);
    QFETCH(QSize, shown);
    ThumbnailView view;
    view.setFixedSize(160, 120);
    QSignalSpy loaded(&view, &ThumbnailView::loaded);
    view.setSource(source);
    QVERIFY(!view.hasPicture());
    QTRY_COMPARE(loaded.size(), 1);
    QCOMPARE(loaded.first().first().toBool(), ok);
    QCOMPARE(view.hasPicture(), ok);
    if (ok)
        QCOMPARE(view.pixmap(Qt::ReturnByValue).size(), shown);
    else
        QVERIFY(!view.pixmap(Qt::ReturnByValue).isNull());  // the placeholder
}

void TestThumbnailView::secondViewReadsTheDiskCache()
{
    m_server.setReply("/cached.jpg", RecordingServer::raw(jpeg({120, 90}), 200, "image/jpeg"));
    {
        ThumbnailView first;
        QSignalSpy loaded(&first, &ThumbnailView::loaded);
        first.setSource(m_server.url("/cached.jpg"));
        QTRY_COMPARE(loaded.size(), 1);
        QVERIFY(first.hasPicture());
    }
    m_server.setReply("/cached.jpg", RecordingServer::raw("gone", 404));
    const int asked = m_server.requestsTo("/cached.jpg").size();
    ThumbnailView second;
    QSignalSpy loaded(&second, &ThumbnailView::loaded);
    second.setSource(m_server.url("/cached.jpg"));
    QTRY_COMPARE(loaded.size(), 1);
    QVERIFY(second.hasPicture());
    QCOMPARE(m_server.requestsTo("/cached.jpg").size(), asked);
}

void TestThumbnailView::destroyedWhileLoading()
{
    RecordingServer::Reply slow = RecordingServer::raw(jpeg({100, 100}), 200, "image/jpeg");
    slow.delayMs = 200;
    m_server.setReply("/slow.jpg", slow);
    for (const QString &source : {m_server.url("/slow.jpg"), m_dir.filePath("tall.png")}) {
        auto *view = new ThumbnailView;
        view->setSource(source);
        delete view;
    }
    QTRY_COMPARE(m_server.requestsTo("/slow.jpg").size(), 1);
    // A later view still loads: nothing of the destroyed ones is left waiting on the way.
    QThreadPool::globalInstance()->waitForDone();
    ThumbnailView after;
    QSignalSpy loaded(&after, &ThumbnailView::loaded);
    after.setSource(m_server.url("/wide.jpg"));
    QTRY_COMPARE(loaded.size(), 1);
    QVERIFY(after.hasPicture());
}

QTEST_MAIN(TestThumbnailView)
#include "tst_thumbnailview.moc"
