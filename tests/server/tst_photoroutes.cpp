// The simulator's listing photos: uploads stored and served back byte for byte, the photo
// set post reflected in the survey records, the agent's own record and the listing's photo
// count, deletes, a video's transcoding state, the seeded records and the survey standard.
#include "allianceserver.h"
#include "alliancestore.h"

#include <QBuffer>
#include <QHttpMultiPart>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kManager = QStringLiteral("13800000001");
const QString kAgent = QStringLiteral("13800000002");
constexpr qint64 kSeeded = 3;  // a listing with every kind of seeded photo record

QJsonArray listOf(const Alliance::Answer &a)
{
    return a.data.toObject().value(QStringLiteral("list")).toArray();
}

QString photosJson(const QStringList &urls, int type)
{
    QJsonArray list;
    for (const QString &url : urls)
        list.append(QJsonObject{{"url", url}, {"type", type}, {"title", QStringLiteral("客厅")}});
    return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
}

} // namespace

class TestPhotoRoutes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void uploadThenGetReturnsTheBytes();
    void photoSetShowsInRecordsAndCount_data();
    void photoSetShowsInRecordsAndCount();
    void deletesAndVideoState();
    void seededRecordsAndStandard();

private:
    Alliance::Answer ask(const QString &path, const Alliance::Form &form, const QString &phone = kManager)
    {
        return m_store->handle(path, form, phone);
    }
    QNetworkReply *wait(QNetworkReply *reply)
    {
        QSignalSpy done(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            done.wait(10000);
        return reply;
    }
    int photoCount(qint64 houseId)
    {
        return ask(QStringLiteral("app/housebookdetailInfo"), {{"id", QString::number(houseId)}})
            .data.toObject().value(QStringLiteral("photocount")).toInt(-1);
    }

    QTemporaryDir m_dir;
    QScopedPointer<Alliance::Store> m_store;
    const QString m_base = QStringLiteral("http://127.0.0.1:1");
};

void TestPhotoRoutes::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 60;
    options.communities = 20;
    options.dbPath = m_dir.filePath(QStringLiteral("alliance.db"));
    m_store.reset(new Alliance::Store(options));
    QString error;
    QVERIFY2(m_store->open(&error), qPrintable(error));
    m_store->setBaseUrl(m_base);
}

// Uploads may come from several agents at once; each gets its own address and bytes.
void TestPhotoRoutes::uploadThenGetReturnsTheBytes()
{
    AllianceServer server;
    QVERIFY(server.start());
    QNetworkAccessManager network;
    QList<QByteArray> sent;
    QList<QNetworkReply *> replies;
    for (int k = 0; k < 3; ++k) {
        QImage image(40 + k, 30, QImage::Format_RGB32);
        image.fill(qRgb(10 * k, 100, 200));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
        sent << bytes;
        auto *multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=\"file\"; filename=\"p%1.jpg\"").arg(k));
        part.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("image/jpeg"));
        part.setBody(bytes);
        multi->append(part);
        QNetworkReply *reply = network.post(QNetworkRequest(QUrl(server.rootUrl("app") + "app/upphoto")), multi);
        multi->setParent(reply);
        replies << reply;
    }
    QStringList urls;
    for (QNetworkReply *reply : replies) {
        const QJsonObject answer = QJsonDocument::fromJson(wait(reply)->readAll()).object();
        QCOMPARE(answer.value(QStringLiteral("code")).toInt(), 200);
        QCOMPARE(answer.value(QStringLiteral("message")).toString(),
                 answer.value(QStringLiteral("data")).toObject().value(QStringLiteral("url")).toString());
        urls << answer.value(QStringLiteral("data")).toObject().value(QStringLiteral("url")).toString();
        QVERIFY2(urls.last().startsWith(server.baseUrl() + "/files/photos/"), qPrintable(urls.last()));
    }
    QCOMPARE(QSet<QString>(urls.begin(), urls.end()).size(), 3);
    for (int k = 0; k < 3; ++k) {
        QNetworkReply *got = wait(network.get(QNetworkRequest(QUrl(urls.at(k)))));
        QCOMPARE(got->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        QCOMPARE(got->header(QNetworkRequest::ContentTypeHeader).toString(), QStringLiteral("image/jpeg"));
        QCOMPARE(got->readAll(), sent.at(k));
    }
    QNetworkReply *missing = wait(network.get(QNetworkRequest(QUrl(server.baseUrl() + "/files/photos/999999.jpg"))));
    QCOMPARE(missing->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 404);
}

void TestPhotoRoutes::photoSetShowsInRecordsAndCount_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<qint64>("house");
    QTest::addColumn<int>("state");
    QTest::newRow("approver: passed at once") << kManager << qint64(10) << 1;
    QTest::newRow("agent: awaits review") << kAgent << qint64(11) << 0;
}

void TestPhotoRoutes::photoSetShowsInRecordsAndCount()
{
    QFETCH(QString, phone);
    QFETCH(qint64, house);
    QFETCH(int, state);
    const QStringList urls{m_base + "/files/photos/1.jpg", m_base + "/files/photos/2.jpg", "https://img.example/x.jpg"};
    const Alliance::Answer added = ask(QStringLiteral("fd/hbpictureadd"),
                                       {{"houseid", QString::number(house)}, {"shikaneditid", "0"}, {"pass", "1"},
                                        {"photos", photosJson(urls, 3)}, {"photodels", ""}, {"photodelurls", ""}}, phone);
    QCOMPARE(added.code, 200);
    const qint64 record = added.data.toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    QVERIFY(record > 0);
    QCOMPARE(added.data.toObject().value(QStringLiteral("pass")).toInt(), state);

    const QJsonObject newest = listOf(ask(QStringLiteral("fd/HousePhotoNavigation"), {{"houseid", QString::number(house)}})).first().toObject();
    QCOMPARE(newest.value(QStringLiteral("id")).toVariant().toLongLong(), record);
    QCOMPARE(newest.value(QStringLiteral("state")).toInt(), state);
    QStringList shown;
    for (const QJsonValue &p : newest.value(QStringLiteral("photos")).toArray())
        shown << p.toObject().value(QStringLiteral("url")).toString();
    QCOMPARE(shown, urls);
    // Only approved photos count for the listing.
    QCOMPARE(photoCount(house), state == 1 ? urls.size() : 0);

    // The same record edited: one photo removed by address, the rest kept.
    const Alliance::Answer own = ask(QStringLiteral("fd/photonavigation"), {{"itemid", QString::number(house)}}, phone);
    QCOMPARE(own.data.toObject().value(QStringLiteral("id")).toVariant().toLongLong(), record);
    ask(QStringLiteral("fd/hbpictureadd"), {{"houseid", QString::number(house)}, {"shikaneditid", QString::number(record)},
                                            {"photos", photosJson(urls, 3)}, {"photodelurls", urls.first()}}, phone);
    QCOMPARE(listOf(ask(QStringLiteral("fd/photonavigation"), {{"itemid", QString::number(house)}}, phone)).size(), 2);
}

void TestPhotoRoutes::deletesAndVideoState()
{
    const qint64 house = 12;
    const QString url = m_base + "/files/photos/4.jpg";
    const qint64 record = ask(QStringLiteral("fd/hbpictureadd"), {{"houseid", "12"}, {"photos", photosJson({url}, 4)}})
                              .data.toObject().value(QStringLiteral("id")).toVariant().toLongLong();
    QCOMPARE(photoCount(house), 1);
    const Alliance::Answer video = ask(QStringLiteral("fd/uploadvod"), {{"houseid", "12"}, {"shikaneditid", QString::number(record)},
                                                                        {"file", "v.mp4"}, {"file.bytes", QString::fromLatin1(QByteArray("movie").toBase64())}});
    QCOMPARE(video.data.toObject().value(QStringLiteral("status")).toInt(), 0);
    auto videoStatus = [&] {
        return listOf(ask(QStringLiteral("fd/HousePhotoNavigation"), {{"houseid", "12"}})).first().toObject()
            .value(QStringLiteral("videos")).toArray().first().toObject().value(QStringLiteral("status")).toInt();
    };
    QCOMPARE(videoStatus(), 0);
    QCOMPARE(videoStatus(), 1);

    ask(QStringLiteral("fd/hbpicturedel"), {{"isvideo", "0"}, {"shikaneditid", QString::number(record)}, {"photoName", url}});
    QCOMPARE(photoCount(house), 0);
    ask(QStringLiteral("fd/hbvoddel"), {{"isvideo", "1"}, {"shikaneditid", QString::number(record)},
                                        {"photoName", video.data.toObject().value(QStringLiteral("url")).toString()}});
    QVERIFY(listOf(ask(QStringLiteral("fd/HousePhotoNavigation"), {{"houseid", "12"}})).first().toObject()
                .value(QStringLiteral("videos")).toArray().isEmpty());
}

void TestPhotoRoutes::seededRecordsAndStandard()
{
    const QJsonArray records = listOf(ask(QStringLiteral("fd/HousePhotoNavigation"), {{"houseid", QString::number(kSeeded)}}));
    QCOMPARE(records.size(), 2);
    QCOMPARE(records.at(0).toObject().value(QStringLiteral("state")).toInt(), 0);  // newest: awaiting review
    const QJsonObject approved = records.at(1).toObject();
    QSet<int> types;
    int collected = 0;
    for (const QJsonValue &p : approved.value(QStringLiteral("photos")).toArray()) {
        types << p.toObject().value(QStringLiteral("type")).toInt();
        collected += p.toObject().value(QStringLiteral("url")).toString().startsWith(QLatin1String("http://localhost:1/")) ? 1 : 0;
    }
    QCOMPARE(types, (QSet<int>{0, 1, 2, 3, 4, 5, 6, 8}));
    QCOMPARE(collected, 1);
    QCOMPARE(approved.value(QStringLiteral("videos")).toArray().size(), 1);
    QCOMPARE(photoCount(kSeeded), 8);

    const Alliance::Answer picture = ask(QStringLiteral("files/photos"), {{"file", "1"}});
    QImage image;
    QVERIFY(image.loadFromData(picture.raw, "JPEG"));
    QCOMPARE(image.size(), QSize(320, 240));

    const QJsonObject rules = ask(QStringLiteral("fd/getfendanguize"), {}).data.toObject();
    QCOMPARE(rules.value(QStringLiteral("rules")).toArray().size(), 6);
    QVERIFY(!rules.value(QStringLiteral("shikancontent")).toString().isEmpty());
    QVERIFY(rules.contains(QStringLiteral("fendan")));
    QCOMPARE(listOf(ask(QStringLiteral("house/vr/VRContent"), {{"type", "1"}, {"houseid", "3"}})).size(), 1);
}

QTEST_GUILESS_MAIN(TestPhotoRoutes)
#include "tst_photoroutes.moc"
