#include "services/surveyservice.h"

#include "datacenter.h"
#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "net/serverconfig.h"
#include "net/wholenumber.h"
#include "platform/housebookcodes.h"
#include "sql/usermessage_datasqltable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>
#include <memory>

using HouseBookPhotos_Model::DataItem;

namespace {

// Rights of the house book's permission table.
constexpr int kEditPhotosRight = 10;
constexpr int kDownloadPhotosRight = 7;
constexpr int kReviewRight = 99;

const QString kVideoGroup = QStringLiteral("房源视频");

// A reply flag held as a number, its text or a boolean.
bool flagOf(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    return WholeNumber::toInt(value.toVariant()) != 0;
}

// The file's extension from its address (without the query), else the fallback.
QString suffixOf(const QString &url, const QString &fallback)
{
    const QString suffix = QFileInfo(QUrl(url).path()).suffix().toLower();
    const bool plain = !suffix.isEmpty() && suffix.size() <= 5
                       && std::all_of(suffix.cbegin(), suffix.cend(), [](QChar c) { return c.isLetterOrNumber(); });
    return plain ? suffix : fallback;
}

// A name not yet taken in the folder: "户型图1.jpg", else "户型图1(2).jpg" and so on.
QString freeName(const QDir &folder, const QString &fileName)
{
    if (!folder.exists(fileName))
        return fileName;
    const QFileInfo info(fileName);
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1(%2).%3").arg(info.completeBaseName()).arg(n).arg(info.suffix());
        if (!folder.exists(candidate))
            return candidate;
    }
}

} // namespace

SurveyRights SurveyRights::of(const HouseMessage_DataSqlTable::HouseMessageData &listing, const QString &recordOwnerPhone)
{
    UserMessage_DataSqlTable user(nullptr, HouseBookCodes::kJointSale);
    const auto holds = [&](int right) { return user.isHaveAuthority(right, QString(), listing.deptid); };
    const QString me = DataCenter::UserPhoneNumber;
    const bool owner = !me.isEmpty() && (listing.userphone == me || recordOwnerPhone == me);
    SurveyRights rights;
    rights.edit = owner || holds(kEditPhotosRight);
    rights.download = holds(kDownloadPhotosRight);
    rights.review = holds(kReviewRight);
    return rights;
}

SurveyService::SurveyService(QObject *parent) : QObject(parent)
{
}

void SurveyService::post(Request request, const QString &url, const QVariantMap &form,
                         const std::function<void(const QJsonValue &)> &onSuccess)
{
    auto *net = new NetRequestObjecet(this);
    QVariantMap body = form;
    body.insert(QStringLiteral("lianmai"), 1);
    connect(net, &NetRequestObjecet::loadSuccess, this, onSuccess);
    connect(net, &NetRequestObjecet::loadFail, this,
            [this, request](int, const QString &message) { emit failed(request, message); });
    connect(net, &NetRequestObjecet::loadFinish, this, [this, net, request] {
        net->deleteLater();
        emit finished(request);
    });
    net->postForm(url, body);
}

void SurveyService::deleteMedia(const QString &recordId, const QString &url, bool video)
{
    const Endpoints &e = Endpoints::instance();
    post(DeleteMedia, video ? e.fd_hbvoddel : e.fd_hbpicturedel,
         {{QStringLiteral("isvideo"), video ? 1 : 0}, {QStringLiteral("shikaneditid"), recordId},
          {QStringLiteral("photoName"), url}},
         [this, url, video](const QJsonValue &) { emit mediaDeleted(url, video); });
}

void SurveyService::changeOperator(int type, int houseId, const QString &xiezuoid, const QString &userId)
{
    post(ChangeOperator, Endpoints::instance().fd_Changeoperator,
         {{QStringLiteral("type"), type}, {QStringLiteral("houseid"), houseId}, {QStringLiteral("xiezuoid"), xiezuoid},
          {QStringLiteral("userid"), userId}},
         [this, type](const QJsonValue &) { emit operatorChanged(type); });
}

void SurveyService::releaseOperator(int type, int houseId)
{
    post(ReleaseOperator, Endpoints::instance().fd_JieChu,
         {{QStringLiteral("type"), type}, {QStringLiteral("itemid"), houseId}},
         [this, type](const QJsonValue &) { emit operatorReleased(type); });
}

void SurveyService::review(int houseId, const QString &recordId, const QString &xiezuoid, int state,
                           const QString &remark)
{
    QVariantMap form{{QStringLiteral("houseid"), houseId}, {QStringLiteral("shikanid"), recordId},
                     {QStringLiteral("xiezuoid"), xiezuoid}, {QStringLiteral("state"), state}};
    if (state == 2)
        form.insert(QStringLiteral("remark"), remark);
    post(Review, Endpoints::instance().fd_ShikanShenpi, form, [this, state](const QJsonValue &) { emit reviewed(state); });
}

void SurveyService::askCanCheck(int houseId, const QString &recordId)
{
    post(CanCheck, Endpoints::instance().apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck,
         {{QStringLiteral("houseid"), houseId}, {QStringLiteral("shikanid"), recordId}},
         [this](const QJsonValue &data) {
             const QJsonObject reply = data.toObject();
             const QJsonValue flag = reply.contains(QStringLiteral("cancheck")) ? reply.value(QStringLiteral("cancheck"))
                                                                                 : reply.value(QStringLiteral("iscancheck"));
             emit canCheckAnswered(data.isObject() ? flagOf(flag) : flagOf(data));
         });
}

void SurveyService::uploadVideo(int houseId, const QString &recordId, const QString &path)
{
    auto *net = new NetRequestObjecet(this);
    auto processing = std::make_shared<bool>(false);
    connect(net, &NetRequestObjecet::fileUploadProgress, this, [this, processing](qint64 sent, qint64 total) {
        if (total <= 0 || *processing)
            return;
        emit uploadProgress(int(sent * 100 / total));
        if (sent >= total) {
            *processing = true;
            emit uploadProcessing();
        }
    });
    connect(net, &NetRequestObjecet::fileUploadSuccess, this, [this, net] {
        const QJsonObject data = QJsonDocument::fromJson(net->result().toUtf8()).object().value(QStringLiteral("data")).toObject();
        emit videoUploaded(data.value(QStringLiteral("url")).toString());
    });
    connect(net, &NetRequestObjecet::loadFail, this, [this](int, const QString &message) { emit failed(UploadVideo, message); });
    connect(net, &NetRequestObjecet::loadFinish, this, [this, net] {
        net->deleteLater();
        emit finished(UploadVideo);
    });
    const QVariantMap form{{QStringLiteral("houseid"), houseId}, {QStringLiteral("shikaneditid"), recordId},
                           {QStringLiteral("lianmai"), 1}};
    net->uploadFiles(Endpoints::instance().fd_uploadvod, form,
                     {NetRequestObjecet::UploadFile{QStringLiteral("file"), path, QFileInfo(path).fileName()}});
}

void SurveyService::download(const QList<DownloadFile> &files, const QString &folder)
{
    m_downloads = files;
    m_folder = folder;
    m_saved = 0;
    m_failed = 0;
    downloadNext();
}

// Each file lands under the request object's own name first and is then renamed, so a
// failed download never leaves a half file under a group's name.
void SurveyService::downloadNext()
{
    if (m_downloads.isEmpty()) {
        emit downloaded(m_saved, m_failed);
        emit finished(Download);
        return;
    }
    const DownloadFile file = m_downloads.takeFirst();
    auto *net = new NetRequestObjecet(this);
    connect(net, &NetRequestObjecet::downloadFileSuccess, this, [this, file](const QString &saved) {
        const QDir folder(m_folder);
        if (QFile::rename(saved, folder.filePath(freeName(folder, file.fileName))))
            ++m_saved;
        else
            ++m_failed;
    });
    connect(net, &NetRequestObjecet::loadFail, this, [this] { ++m_failed; });
    connect(net, &NetRequestObjecet::loadFinish, this, [this, net] {
        net->deleteLater();
        downloadNext();
    });
    net->downloadFile(file.url, m_folder);
}

QList<int> SurveyService::categoryOrder()
{
    using namespace HouseBookPhotos_Model;
    return {FloorPlan, Kitchen, LivingRoom, DiningRoom, Bedroom, Bathroom, Outside, Other};
}

QString SurveyService::groupName(int category)
{
    using namespace HouseBookPhotos_Model;
    switch (category) {
    case FloorPlan: return QStringLiteral("户型图");
    case Kitchen: return QStringLiteral("厨房图");
    case LivingRoom: return QStringLiteral("客厅图");
    case DiningRoom: return QStringLiteral("餐厅图");
    case Bedroom: return QStringLiteral("卧室图");
    case Bathroom: return QStringLiteral("卫生间");
    case Outside: return QStringLiteral("室外图");
    case Other: return QStringLiteral("其他");
    default: return QString();
    }
}

QList<SurveyService::DownloadFile> SurveyService::downloadFilesOf(const DataItem &record)
{
    QList<DownloadFile> files;
    int n = 0;
    for (const auto &video : record.videos) {
        if (!video.url.isEmpty())
            files.append({video.url, QStringLiteral("%1%2.%3").arg(kVideoGroup).arg(++n).arg(suffixOf(video.url, QStringLiteral("mp4")))});
    }
    for (int category : categoryOrder()) {
        n = 0;
        for (const auto &photo : record.photos) {
            if (photo.type == category && !photo.url.isEmpty())
                files.append({photo.url, QStringLiteral("%1%2.%3").arg(groupName(category)).arg(++n).arg(suffixOf(photo.url, QStringLiteral("jpg")))});
        }
    }
    return files;
}

bool SurveyService::isCollected(const QString &url)
{
    const QUrl address(url.trimmed());
    const QString scheme = address.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return false;
    const QString host = address.host();
    if (host.compare(QUrl(Endpoints::instance().photoUpload).host(), Qt::CaseInsensitive) == 0)
        return false;
    for (const QString &own : Endpoints::config().imageHosts) {
        if (host.compare(own.trimmed(), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}
