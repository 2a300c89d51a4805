#pragma once
// The promotion photos an editor is working on: web addresses already stored and local
// pictures picked (and shrunk) since, at most kMax of them, one marked as the cover. Picked
// pictures are uploaded on demand, after which every photo is a web address.
#include "detail/describe/describetexts.h"

#include <QObject>

class PhotoPicker;
class PhotosUploadObject;
class QWidget;

class DescribePhotoSet : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMax = 30;

    explicit DescribePhotoSet(QObject *parent = nullptr);

    QList<DescribeTexts::Photo> photos() const { return m_photos; }
    void setPhotos(const QList<DescribeTexts::Photo> &photos);
    int count(int type = -1) const;
    PhotoPicker *picker() const { return m_picker; }

    // Opens the file dialog for pictures of the given type; says "最多上传30张图片！" instead
    // when the set is full, and when a batch would overfill it (the batch's first pictures
    // are kept).
    void pick(QWidget *dialogParent, int type = 0);
    // Adds a web address; false (with the same warning) when the set is full.
    bool addAddress(const QString &url, int type = 0);
    bool contains(const QString &url) const;
    void remove(int index);
    void removeAddress(const QString &url);
    void setCover(int index);

    // Pictures are still being shrunk or uploaded.
    bool isBusy() const;
    // Uploads the local pictures; uploaded() follows, or uploadFailed() when some could not go.
    void upload();

signals:
    void changed();
    void uploaded();
    void uploadFailed();

private:
    void picked(const QStringList &paths);
    void warnFull();

    QList<DescribeTexts::Photo> m_photos;
    PhotoPicker *m_picker;
    PhotosUploadObject *m_uploader = nullptr;
    int m_pickType = 0;
};
