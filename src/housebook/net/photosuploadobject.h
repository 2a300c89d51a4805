#pragma once
// Uploads a list of photos one after another to the photo upload address. Photos that are
// already on the web are left as they are.
#include <QList>
#include <QObject>
#include <QStringList>

class NetRequestObjecet;

class PhotosUploadObject : public QObject
{
    Q_OBJECT
public:
    struct PhotosModel
    {
        QString path;    // local path before the upload, web address after it
        QString type;    // the caller's category of the photo
        QString title;
        QString remark;
        bool isCover = false;
        bool isSelected = false;
        bool isVideo = false;
    };

    explicit PhotosUploadObject(QObject *parent = nullptr);

    void setPhotos(const QList<PhotosModel> &photos) { m_photos = photos; }
    QList<PhotosModel> photos() const { return m_photos; }
    // Host names of the alliance's picture servers (defaults from the configuration).
    void setImageHosts(const QStringList &hosts) { m_imageHosts = hosts; }

    // Starts with the first photo; photosUpFinish follows when all are done.
    void startUpload(const QString &uploadUrl);

    // Whether a photo must go to the server: a local file, not a web or alliance address.
    bool needsUpload(const QString &path) const;

signals:
    void photosUpFinish(QList<PhotosUploadObject::PhotosModel> list);
    void singlePhotoUpFinish(PhotosUploadObject::PhotosModel model);

private:
    void uploadNext();
    void photoUploaded(const QString &address);

    QList<PhotosModel> m_photos;
    int m_index = -1;
    QString m_uploadUrl;
    QStringList m_imageHosts;
};

Q_DECLARE_METATYPE(PhotosUploadObject::PhotosModel)
