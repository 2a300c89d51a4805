// Photo upload: order, one request at a time, skipped addresses, returned addresses.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/photosuploadobject.h"
#include "recordingserver.h"

#include <QTemporaryDir>
#include <QtTest>

using Photo = PhotosUploadObject::PhotosModel;

namespace {
Photo photoAt(const QString &path)
{
    Photo p;
    p.path = path;
    return p;
}
} // namespace

class TestPhotosUploadObject : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void uploadsLocalFilesInOrder();
    void webAndEmptyAddressesNeedNoRequest();
    void failedPhotoMovesOn();

private:
    QString makeFile(const QString &name);
    RecordingServer m_server;
    QTemporaryDir m_dir;
};

void TestPhotosUploadObject::initTestCase()
{
    qRegisterMetaType<Photo>();
    qRegisterMetaType<QList<Photo>>();
    QVERIFY(m_server.start());
}

QString TestPhotosUploadObject::makeFile(const QString &name)
{
    QFile f(m_dir.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(name.toUtf8());
    return f.fileName();
}

void TestPhotosUploadObject::uploadsLocalFilesInOrder()
{
    HostFixture host;
    const QString upload = m_server.url(QStringLiteral("/app/app/upphoto"));
    m_server.queueReply(QStringLiteral("/app/app/upphoto"),
                        RecordingServer::envelope(200, QJsonValue(), QStringLiteral("img.alliance.test/1.jpg")));
    m_server.queueReply(QStringLiteral("/app/app/upphoto"),
                        RecordingServer::envelope(200, QJsonValue(), QStringLiteral("https://cdn.test/2.jpg")));

    PhotosUploadObject up;
    up.setImageHosts({QStringLiteral("img.alliance.test")});
    Photo a{makeFile(QStringLiteral("a.jpg")), QStringLiteral("室内"), QStringLiteral("客厅"), QString(), true, false, false};
    Photo web{QStringLiteral("http://elsewhere.test/x.jpg"), QStringLiteral("室外"), QString(), QString(), false, true, false};
    Photo ours{QStringLiteral("img.alliance.test/old.jpg"), QString(), QString(), QString(), false, false, false};
    Photo b{makeFile(QStringLiteral("b.jpg")), QStringLiteral("户型"), QString(), QStringLiteral("r"), false, false, true};
    up.setPhotos({a, web, ours, b});

    QSignalSpy single(&up, &PhotosUploadObject::singlePhotoUpFinish);
    QSignalSpy all(&up, &PhotosUploadObject::photosUpFinish);
    up.startUpload(upload);
    // One request at a time: the second file is not sent before the first is answered.
    QTRY_COMPARE(all.count(), 1);
    const QList<RecordingServer::Request> reqs = m_server.requests();
    QCOMPARE(reqs.size(), 2);
    QCOMPARE(reqs.at(0).parts.value(0).body, QByteArray("a.jpg"));
    QCOMPARE(reqs.at(1).parts.value(0).body, QByteArray("b.jpg"));
    QCOMPARE(reqs.at(0).parts.value(0).name, QStringLiteral("file"));

    QCOMPARE(single.count(), 2);
    const QList<Photo> list = all.at(0).at(0).value<QList<Photo>>();
    QCOMPARE(list.size(), 4);
    QCOMPARE(list.at(0).path, QStringLiteral("http://img.alliance.test/1.jpg"));
    QCOMPARE(list.at(0).title, QStringLiteral("客厅"));
    QVERIFY(list.at(0).isCover);
    QCOMPARE(list.at(1).path, web.path);
    QCOMPARE(list.at(2).path, ours.path);
    QCOMPARE(list.at(3).path, QStringLiteral("https://cdn.test/2.jpg"));
    QCOMPARE(list.at(3).remark, QStringLiteral("r"));
    QVERIFY(list.at(3).isVideo);
}

void TestPhotosUploadObject::webAndEmptyAddressesNeedNoRequest()
{
    HostFixture host;
    m_server.clearRequests();
    PhotosUploadObject up;
    up.setPhotos({photoAt(QStringLiteral("https://x.test/1.jpg")), photoAt(QString()), photoAt(QStringLiteral("http://y/2.png"))});
    QSignalSpy all(&up, &PhotosUploadObject::photosUpFinish);
    QSignalSpy single(&up, &PhotosUploadObject::singlePhotoUpFinish);
    up.startUpload(m_server.url(QStringLiteral("/app/app/upphoto")));
    QCOMPARE(all.count(), 1);
    QCOMPARE(single.count(), 0);
    QCOMPARE(m_server.requestCount(), 0);

    PhotosUploadObject none;
    QSignalSpy noneDone(&none, &PhotosUploadObject::photosUpFinish);
    none.startUpload(m_server.url(QStringLiteral("/app/app/upphoto")));
    QCOMPARE(noneDone.count(), 1);
}

void TestPhotosUploadObject::failedPhotoMovesOn()
{
    HostFixture host;
    AlertRecorder alerts;
    alerts.answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.queueReply(QStringLiteral("/app/app/up2"), RecordingServer::dropped());
    m_server.queueReply(QStringLiteral("/app/app/up2"), RecordingServer::envelope(200, QJsonValue(), QStringLiteral("h/2.jpg")));
    PhotosUploadObject up;
    const QString first = makeFile(QStringLiteral("c.jpg"));
    up.setPhotos({photoAt(first), photoAt(m_dir.filePath(QStringLiteral("gone.jpg"))), photoAt(makeFile(QStringLiteral("d.jpg")))});
    QSignalSpy all(&up, &PhotosUploadObject::photosUpFinish);
    QSignalSpy single(&up, &PhotosUploadObject::singlePhotoUpFinish);
    up.startUpload(m_server.url(QStringLiteral("/app/app/up2")));
    QTRY_COMPARE(all.count(), 1);
    const QList<Photo> list = all.at(0).at(0).value<QList<Photo>>();
    QCOMPARE(list.at(0).path, first);  // failed: left as it was
    QCOMPARE(list.at(1).path, m_dir.filePath(QStringLiteral("gone.jpg")));
    QCOMPARE(list.at(2).path, QStringLiteral("http://h/2.jpg"));
    QCOMPARE(single.count(), 1);
    QCOMPARE(m_server.requestCount(), 2);
}

QTEST_MAIN(TestPhotosUploadObject)
#include "tst_photosuploadobject.moc"
