#include "services/photoservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "net/wholenumber.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace HouseBookPhotos_Model;

namespace {

const QString kLianmai = QStringLiteral("lianmai");

bool flagOf(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    const QString text = PhotoService::textOf(value).trimmed().toLower();
    return text == QLatin1String("true") || PhotoService::numberOf(value) != 0;
}

Photo photoOf(const QJsonValue &value)
{
    const QJsonObject o = PhotoService::objectOf(value);
    Photo photo;
    if (o.isEmpty()) {
        photo.url = PhotoService::textOf(value);  // a bare address
        return photo;
    }
    photo.id = PhotoService::textOf(o.value(QStringLiteral("id")));
    photo.url = PhotoService::textOf(o.value(QStringLiteral("url")));
    photo.type = PhotoService::numberOf(o.value(QStringLiteral("type")), Other);
    photo.title = PhotoService::textOf(o.value(QStringLiteral("title")));
    return photo;
}

Video videoOf(const QJsonValue &value)
{
    const QJsonObject o = PhotoService::objectOf(value);
    Video video;
    video.id = PhotoService::textOf(o.value(QStringLiteral("id")));
    video.url = PhotoService::textOf(o.value(QStringLiteral("url")));
    video.cover = PhotoService::textOf(o.value(QStringLiteral("cover")));
    video.title = PhotoService::textOf(o.value(QStringLiteral("title")));
    // A video without a status is taken as playable.
    video.ready = !o.contains(QStringLiteral("status")) || PhotoService::numberOf(o.value(QStringLiteral("status"))) == 1;
    return video;
}

DataItem recordOf(const QJsonValue &value)
{
    const QJsonObject o = PhotoService::objectOf(value);
    DataItem item;
    item.id = PhotoService::textOf(o.value(QStringLiteral("id")));
    item.xiezuoid = PhotoService::textOf(o.value(QStringLiteral("xiezuoid")));
    item.username = PhotoService::textOf(o.value(QStringLiteral("username")));
    item.userphone = PhotoService::textOf(o.value(QStringLiteral("userphone")));
    item.deptname = PhotoService::textOf(o.value(QStringLiteral("deptname")));
    item.time = PhotoService::textOf(o.value(QStringLiteral("time")));
    item.state = PhotoService::numberOf(o.value(QStringLiteral("state")));
    item.oa = flagOf(o.value(QStringLiteral("oa")));
    for (const QJsonValue &p : PhotoService::entriesOf(o.value(QStringLiteral("photos"))))
        item.photos << photoOf(p);
    for (const QJsonValue &v : PhotoService::entriesOf(o.value(QStringLiteral("videos"))))
        item.videos << videoOf(v);
    return item;
}

} // namespace

PhotoService::PhotoService(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<QList<HouseBookPhotos_Model::DataItem>>();
    qRegisterMetaType<QList<HouseBookPhotos_Model::Photo>>();
}

QJsonObject PhotoService::objectOf(const QJsonValue &value)
{
    if (value.isObject())
        return value.toObject();
    // Some servers send nested objects as JSON text.
    if (value.isString())
        return QJsonDocument::fromJson(value.toString().toUtf8()).object();
    return QJsonObject();
}

QString PhotoService::textOf(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        const double d = value.toDouble();
        qint64 whole = 0;
        return WholeNumber::fromDouble(d, &whole) ? QString::number(whole) : QString::number(d);
    }
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return QString();
}

int PhotoService::numberOf(const QJsonValue &value, int fallback)
{
    if (value.isDouble())
        return WholeNumber::toInt(value, fallback);
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    return ok ? n : fallback;
}

QList<QJsonValue> PhotoService::entriesOf(const QJsonValue &value)
{
    QList<QJsonValue> entries;
    if (value.isArray()) {
        for (const QJsonValue &v : value.toArray())
            entries << v;
        return entries;
    }
    if (value.isString()) {
        const QJsonDocument doc = QJsonDocument::fromJson(value.toString().toUtf8());
        if (doc.isArray() || doc.isObject())
            return entriesOf(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()));
        return entries;
    }
    if (!value.isObject())
        return entries;
    const QJsonObject o = value.toObject();
    if (o.contains(QStringLiteral("list")))
        return entriesOf(o.value(QStringLiteral("list")));
    for (const QJsonValue &v : o)
        entries << v;
    return entries;
}

QList<DataItem> PhotoService::recordsOf(const QJsonValue &data)
{
    QList<DataItem> records;
    for (const QJsonValue &v : entriesOf(data)) {
        if (v.isObject() || v.isString())
            records << recordOf(v);
    }
    return records;
}

QList<Photo> PhotoService::photosOf(const QJsonValue &data)
{
    QList<Photo> photos;
    for (const QJsonValue &v : entriesOf(data)) {
        const Photo p = photoOf(v);
        if (!p.url.isEmpty())
            photos << p;
    }
    return photos;
}

HouseBookPhotos_Model::Standard PhotoService::standardOf(const QJsonValue &data)
{
    HouseBookPhotos_Model::Standard standard;
    const QJsonObject o = objectOf(data);
    for (const QJsonValue &v : entriesOf(o.value(QStringLiteral("rules")))) {
        const QJsonObject rule = objectOf(v);
        StandardEntry entry;
        entry.type = numberOf(rule.value(QStringLiteral("type")), -1);
        entry.count = numberOf(rule.value(QStringLiteral("count")));
        entry.choose = flagOf(rule.value(QStringLiteral("choose")));
        if (entry.type >= 0)
            standard.entries << entry;
    }
    standard.shikancontent = textOf(o.value(QStringLiteral("shikancontent")));
    return standard;
}

template <typename Accepted>
void PhotoService::post(Request kind, const QString &url, QVariantMap form, const QString &failureNotice,
                        Accepted accepted)
{
    form.insert(kLianmai, 1);
    auto *request = new NetRequestObjecet(this);
    request->setFailureNotice(failureNotice);
    connect(request, &NetRequestObjecet::loadSuccess, this, accepted);
    connect(request, &NetRequestObjecet::loadFail, this,
            [this, request, kind] { emit failed(kind, request->failureReason()); });
    connect(request, &NetRequestObjecet::loadFinish, this, [this, request, kind] {
        disconnect(request, nullptr, this, nullptr);
        request->deleteLater();
        emit finished(kind);
    });
    request->postForm(url, form);
}

void PhotoService::loadRecords(int houseId)
{
    post(Records, Endpoints::instance().fd_HousePhotoNavigation, {{QStringLiteral("houseid"), houseId}}, QString(),
         [this](const QJsonValue &data) { emit recordsArrived(recordsOf(data)); });
}

void PhotoService::loadOwnPhotos(int houseId)
{
    post(OwnPhotos, Endpoints::instance().fd_photonavigation, {{QStringLiteral("itemid"), houseId}}, QString(),
         [this](const QJsonValue &data) {
             const QString id = textOf(objectOf(data).value(QStringLiteral("id")));
             emit ownPhotosArrived(id.isEmpty() ? QStringLiteral("0") : id, photosOf(data));
         });
}

void PhotoService::loadStandard()
{
    post(Standard, Endpoints::instance().fd_getfendanguize, {}, QString(),
         [this](const QJsonValue &data) { emit standardArrived(standardOf(data)); });
}

void PhotoService::loadVrs(int houseId, bool rent)
{
    post(Vrs, Endpoints::instance().house_vr_VRContent,
         {{QStringLiteral("type"), rent ? 2 : 1}, {QStringLiteral("houseid"), houseId}}, QString(),
         [this](const QJsonValue &data) {
             QList<Video> vrs;
             for (const QJsonValue &v : entriesOf(data))
                 vrs << videoOf(v);
             emit vrsArrived(vrs);
         });
}

void PhotoService::loadWatermark()
{
    post(Watermark, Endpoints::instance().Propaganda_WatermarkDetail, {}, QString(), [this](const QJsonValue &data) {
        const QJsonObject o = objectOf(data);
        emit watermarkArrived(textOf(o.value(QStringLiteral("platform"))), numberOf(o.value(QStringLiteral("imagestyle"))));
    });
}

void PhotoService::submitSet(const QVariantMap &form)
{
    post(SubmitSet, Endpoints::instance().fd_hbpictureadd, form, QStringLiteral("房源图片提交失败：%1"),
         [this](const QJsonValue &data) { emit setSubmitted(numberOf(objectOf(data).value(QStringLiteral("pass"))) == 1); });
}
