#include "separation/evidencephotogroup.h"

#include "widgets/photopicker.h"
#include "widgets/thumbnailview.h"

#include <QGridLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kColumns = 5;
constexpr int kThumb = 88;
} // namespace

EvidencePhotoGroup::EvidencePhotoGroup(const QString &key, const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_key(key)
    , m_title(title)
    , m_picker(new PhotoPicker(this))
{
    setObjectName(QStringLiteral("photoGroup_") + key);
    m_picker->setTitle(QStringLiteral("选取图片"));
    connect(m_picker, &PhotoPicker::finished, this, &EvidencePhotoGroup::picked);
    connect(m_picker, &PhotoPicker::progress, this, &EvidencePhotoGroup::showProgress);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *head = new QHBoxLayout;
    m_add = new QPushButton(QStringLiteral("+ 添加图片"), this);
    m_add->setObjectName(QStringLiteral("addPhotoButton"));
    m_add->setCursor(Qt::PointingHandCursor);
    connect(m_add, &QPushButton::clicked, this, &EvidencePhotoGroup::choose);
    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("progressLabel"));
    m_progress->setStyleSheet(QStringLiteral("color: rgb(153, 153, 153);"));
    head->addWidget(m_add);
    head->addWidget(m_progress);
    head->addStretch();
    layout->addLayout(head);
    m_grid = new QGridLayout;
    m_grid->setSpacing(6);
    m_grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(m_grid);
}

bool EvidencePhotoGroup::isBusy() const
{
    return m_picker->isBusy();
}

void EvidencePhotoGroup::choose()
{
    m_picker->pick(window());
}

void EvidencePhotoGroup::picked(const QStringList &paths)
{
    m_progress->clear();
    m_photos << paths;
    rebuild();
}

void EvidencePhotoGroup::showProgress(int done, int total)
{
    m_progress->setText(done < total ? QStringLiteral("图片处理中 %1/%2").arg(done).arg(total) : QString());
}

void EvidencePhotoGroup::setPhotos(const QStringList &photos)
{
    m_photos = photos;
    rebuild();
}

void EvidencePhotoGroup::replacePhoto(int index, const QString &path)
{
    if (index < 0 || index >= m_photos.size() || m_photos.at(index) == path)
        return;
    m_photos[index] = path;
    rebuild();
}

void EvidencePhotoGroup::removePhoto(int index)
{
    if (index < 0 || index >= m_photos.size())
        return;
    m_photos.removeAt(index);
    rebuild();
}

QString EvidencePhotoGroup::json() const
{
    return QString::fromUtf8(QJsonDocument(array(m_photos)).toJson(QJsonDocument::Compact));
}

QJsonArray EvidencePhotoGroup::array(const QStringList &urls)
{
    QJsonArray list;
    for (const QString &url : urls)
        list.append(QJsonObject{{QStringLiteral("url"), url}});
    return list;
}

void EvidencePhotoGroup::rebuild()
{
    while (QLayoutItem *item = m_grid->takeAt(0)) {
        if (QWidget *w = item->widget())
            w->deleteLater();
        delete item;
    }
    for (int i = 0; i < m_photos.size(); ++i)
        m_grid->addWidget(photoItem(i), i / kColumns, i % kColumns);
    emit changed();
}

QWidget *EvidencePhotoGroup::photoItem(int index)
{
    auto *item = new QWidget(this);
    item->setObjectName(QStringLiteral("photoItem"));
    item->setFixedSize(kThumb, kThumb);
    auto *view = new ThumbnailView(item);
    view->setGeometry(0, 0, kThumb, kThumb);
    view->setPlaceholder(QStringLiteral(":/res/icon_no_photo.png"));
    view->setSource(m_photos.at(index));
    auto *remove = new QPushButton(QStringLiteral("×"), item);
    remove->setObjectName(QStringLiteral("deleteButton"));
    remove->setGeometry(kThumb - 20, 0, 20, 20);
    remove->setCursor(Qt::PointingHandCursor);
    remove->setStyleSheet(QStringLiteral("background: rgba(0,0,0,120); color: white; border: none;"));
    // The item is rebuilt on every change, so its place is looked up when clicked.
    connect(remove, &QPushButton::clicked, this, [this, item] {
        const int at = m_grid->indexOf(item);
        if (at >= 0)
            removePhoto(at);
    });
    return item;
}
