#include "detail/photos/housebookphotoitemview.h"

#include "detail/photos/photocategory.h"
#include "widgets/thumbnailview.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QSize kPicture(160, 120);

} // namespace

HouseBookPhotoItemView::HouseBookPhotoItemView(const ItemPhoto &photo, QWidget *parent)
    : QWidget(parent)
    , m_photo(photo)
{
    setObjectName(QStringLiteral("photoItem"));
    setAttribute(Qt::WA_StyledBackground);
    m_picture = new ThumbnailView(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setFixedSize(kPicture);
    m_picture->setSource(photo.url);
    connect(m_picture, &ThumbnailView::clicked, this, [this] { emit clickItem(m_photo); });

    auto *caption = new QLabel(photo.title.isEmpty() ? PhotoCategory::nameOf(photo.type) : photo.title, this);
    caption->setObjectName(QStringLiteral("caption"));
    caption->setStyleSheet(QStringLiteral("color: rgb(102,102,102); font-size: 12px;"));

    m_delete = new QPushButton(QStringLiteral("删除"), this);
    m_delete->setObjectName(QStringLiteral("deleteButton"));
    m_download = new QPushButton(QStringLiteral("下载"), this);
    m_download->setObjectName(QStringLiteral("downloadButton"));
    for (QPushButton *b : {m_delete, m_download}) {
        b->setCursor(Qt::PointingHandCursor);
        b->setFlat(true);
        b->setStyleSheet(QStringLiteral("color: rgb(24,137,240); font-size: 12px; border: none;"));
    }
    connect(m_delete, &QPushButton::clicked, this, [this] { emit deleteItem(m_photo); });
    connect(m_download, &QPushButton::clicked, this, [this] { emit downloadItem(m_photo.url); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(caption, 1);
    buttons->addWidget(m_download);
    buttons->addWidget(m_delete);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_picture);
    layout->addLayout(buttons);
    updateFrame();
}

void HouseBookPhotoItemView::setDeletable(bool on)
{
    m_delete->setVisible(on);
}

void HouseBookPhotoItemView::setDownloadable(bool on)
{
    m_download->setVisible(on);
}

void HouseBookPhotoItemView::setChosen(bool chosen)
{
    m_chosen = chosen;
    updateFrame();
}

void HouseBookPhotoItemView::updateFrame()
{
    setStyleSheet(m_chosen ? QStringLiteral("#photoItem { border: 2px solid rgb(24,137,240); background: white; }")
                           : QStringLiteral("#photoItem { border: 2px solid transparent; background: white; }"));
}
