#include "net/photosuploadobject.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "net/serverconfig.h"

PhotosUploadObject::PhotosUploadObject(QObject *parent)
    : QObject(parent)
    , m_imageHosts(Endpoints::config().imageHosts)
{
}

bool PhotosUploadObject::needsUpload(const QString &path) const
{
    if (path.isEmpty() || path.contains(QLatin1String("http://")) || path.contains(QLatin1String("https://")))
        return false;
    for (const QString &host : m_imageHosts) {
        if (!host.isEmpty() && path.contains(host))
            return false;
    }
    return true;
}

void PhotosUploadObject::startUpload(const QString &uploadUrl)
{
    m_uploadUrl = uploadUrl;
    m_index = -1;
    uploadNext();
}

// Takes the next photo that needs the server; the others count as done on the way.
void PhotosUploadObject::uploadNext()
{
    ++m_index;
    while (m_index < m_photos.size() && !needsUpload(m_photos.at(m_index).path))
        ++m_index;
    if (m_index >= m_photos.size()) {
        emit photosUpFinish(m_photos);
        return;
    }

    auto *request = new NetRequestObjecet(this);
    connect(request, &NetRequestObjecet::fileUploadSuccess, this, &PhotosUploadObject::photoUploaded);
    // Success or failure, the list moves on once the request has ended.
    connect(request, &NetRequestObjecet::loadFinish, this, [this, request] {
        request->deleteLater();
        uploadNext();
    });
    request->uploadFiles(m_uploadUrl, QVariantMap(),
                         {NetRequestObjecet::UploadFile{QStringLiteral("file"), m_photos.at(m_index).path, QString()}});
}

void PhotosUploadObject::photoUploaded(const QString &address)
{
    QString web = address;
    if (!web.contains(QLatin1String("http://")) && !web.contains(QLatin1String("https://")))
        web.prepend(QLatin1String("http://"));
    m_photos[m_index].path = web;
    emit singlePhotoUpFinish(m_photos.at(m_index));
}
