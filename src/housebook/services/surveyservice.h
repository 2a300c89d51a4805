#pragma once
// The survey tab's own requests: removing a photo or a video of a survey record, uploading a
// video, handing a collaboration role to someone or releasing it, reviewing a survey record
// (directly or, for one in the office approval flow, after asking whether the user may), and
// saving every photo and video of a record into a folder under names that say what they show.
// Each call ends with finished(); a refusal has been shown by the request object and ends in
// failed() as well.
#include "services/photoservice.h"
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// What the signed-in user may do with the photos of one listing.
struct SurveyRights
{
    bool edit = false;      // add or remove photos and videos (10, the listing's or the record's owner)
    bool download = false;  // save the photos and videos (7)
    bool review = false;    // approve or reject a survey record (99)

    // recordOwnerPhone: the phone of the survey record's author ("" when there is none).
    static SurveyRights of(const HouseMessage_DataSqlTable::HouseMessageData &listing,
                           const QString &recordOwnerPhone = QString());
};

class SurveyService : public QObject
{
    Q_OBJECT
public:
    enum Request { DeleteMedia, UploadVideo, ChangeOperator, ReleaseOperator, Review, CanCheck, Download };
    Q_ENUM(Request)

    // One file of a download: where it comes from and the name it gets ("户型图1.jpg").
    struct DownloadFile
    {
        QString url;
        QString fileName;
    };

    explicit SurveyService(QObject *parent = nullptr);

    // fd/hbpicturedel or, for a video, fd/hbvoddel.
    void deleteMedia(const QString &recordId, const QString &url, bool video);
    // fd/uploadvod: the file goes up with the listing and the record it belongs to.
    void uploadVideo(int houseId, const QString &recordId, const QString &path);
    // fd/Changeoperator: type is the role (2 commission … 6 deal), userId the new holder.
    void changeOperator(int type, int houseId, const QString &xiezuoid, const QString &userId);
    // fd/JieChu: the role of the listing loses its holder.
    void releaseOperator(int type, int houseId);
    // fd/ShikanShenpi: state 1 approves, 2 rejects with the remark.
    void review(int houseId, const QString &recordId, const QString &xiezuoid, int state, const QString &remark);
    // isCanCheck: may the user review the record in the office approval flow?
    void askCanCheck(int houseId, const QString &recordId);
    // Saves the files one after the other into folder; downloaded() follows.
    void download(const QList<DownloadFile> &files, const QString &folder);

    // The photos and videos of a record under the names of their groups, numbered within
    // each group from 1, in the order the survey page shows the groups.
    static QList<DownloadFile> downloadFilesOf(const HouseBookPhotos_Model::DataItem &record);
    // The group a photo of this category is shown and saved under ("户型图"); empty for a
    // category that belongs to no group.
    static QString groupName(int category);
    // The photo categories in the order their groups are shown.
    static QList<int> categoryOrder();
    // A picture collected from another site: a web address not on the upload server's host
    // nor on the alliance's picture hosts.
    static bool isCollected(const QString &url);

signals:
    void mediaDeleted(const QString &url, bool video);
    void uploadProgress(int percent);
    // Every byte of the video is up; the server is storing it.
    void uploadProcessing();
    void videoUploaded(const QString &url);
    void operatorChanged(int type);
    void operatorReleased(int type);
    void reviewed(int state);
    void canCheckAnswered(bool canCheck);
    void downloaded(int saved, int failedCount);
    void failed(SurveyService::Request request, const QString &message);
    void finished(SurveyService::Request request);

private:
    void post(Request request, const QString &url, const QVariantMap &form,
              const std::function<void(const QJsonValue &)> &onSuccess);
    void downloadNext();

    QList<DownloadFile> m_downloads;
    QString m_folder;
    int m_saved = 0;
    int m_failed = 0;
};
