#include "detail/describe/describephotoset.h"

#include "net/endpoints.h"
#include "net/photosuploadobject.h"
#include "widgets/alertwidget.h"
#include "widgets/photopicker.h"

#include <QDir>

DescribePhotoSet::DescribePhotoSet(QObject *parent)
    : QObject(parent)
    , m_picker(new PhotoPicker(this))
{
    m_picker->setTitle(QStringLiteral("选取图片"));
    m_picker->setFilter(QStringLiteral("Image Files(*.jpg *.png *.jpeg)"));
    m_picker->setStartFolder(QDir(QStringLiteral("C:/")).exists() ? QStringLiteral("C:/") : QDir::homePath());
    connect(m_picker, &PhotoPicker::finished, this, &DescribePhotoSet::picked);
}

void DescribePhotoSet::setPhotos(const QList<DescribeTexts::Photo> &photos)
{
    m_photos = photos.mid(0, kMax);
    emit changed();
}

int DescribePhotoSet::count(int type) const
{
    if (type < 0)
        return m_photos.size();
    return int(std::count_if(m_photos.cbegin(), m_photos.cend(), [type](const DescribeTexts::Photo &p) { return p.type == type; }));
}

void DescribePhotoSet::warnFull()
{
    AlertWidget::warning(QStringLiteral("最多上传30张图片！"));
}

void DescribePhotoSet::pick(QWidget *dialogParent, int type)
{
    if (m_photos.size() >= kMax) {
        warnFull();
        return;
    }
    m_pickType = type;
    m_picker->pick(dialogParent);
}

void DescribePhotoSet::picked(const QStringList &paths)
{
    bool refused = false;
    for (const QString &path : paths) {
        if (m_photos.size() >= kMax) {
            refused = true;
            break;
        }
        m_photos.append({path, m_pickType, m_photos.isEmpty()});
    }
    emit changed();
    if (refused)
        warnFull();
}

bool DescribePhotoSet::addAddress(const QString &url, int type)
{
    if (m_photos.size() >= kMax) {
        warnFull();
        return false;
    }
    m_photos.append({url, type, m_photos.isEmpty()});
    emit changed();
    return true;
}

bool DescribePhotoSet::contains(const QString &url) const
{
    return std::any_of(m_photos.cbegin(), m_photos.cend(), [&url](const DescribeTexts::Photo &p) { return p.url == url; });
}

void DescribePhotoSet::remove(int index)
{
    if (index < 0 || index >= m_photos.size())
        return;
    const bool wasCover = m_photos.takeAt(index).cover;
    if (wasCover && !m_photos.isEmpty())
        m_photos.first().cover = true;
    emit changed();
}

void DescribePhotoSet::removeAddress(const QString &url)
{
    for (int i = 0; i < m_photos.size(); ++i)
        if (m_photos.at(i).url == url)
            return remove(i);
}

void DescribePhotoSet::setCover(int index)
{
    if (index < 0 || index >= m_photos.size())
        return;
    m_photos = DescribeTexts::withCover(m_photos, index);
    emit changed();
}

bool DescribePhotoSet::isBusy() const
{
    return m_picker->isBusy() || m_uploader;
}

void DescribePhotoSet::upload()
{
    QList<PhotosUploadObject::PhotosModel> models;
    for (const DescribeTexts::Photo &p : qAsConst(m_photos)) {
        PhotosUploadObject::PhotosModel m;
        m.path = p.url;
        m.isCover = p.cover;
        models << m;
    }
    m_uploader = new PhotosUploadObject(this);
    m_uploader->setPhotos(models);
    connect(m_uploader, &PhotosUploadObject::photosUpFinish, this, [this](const QList<PhotosUploadObject::PhotosModel> &done) {
        bool complete = true;
        for (int i = 0; i < done.size() && i < m_photos.size(); ++i) {
            m_photos[i].url = done.at(i).path;
            complete = complete && !m_uploader->needsUpload(done.at(i).path);
        }
        m_uploader->deleteLater();
        m_uploader = nullptr;
        emit changed();
        if (complete)
            emit uploaded();
        else
            emit uploadFailed();
    });
    m_uploader->startUpload(Endpoints::instance().photoUpload);
}
