#include "detail/photos/housebookphotoedititemview.h"

#include "detail/photos/photocategory.h"
#include "widgets/thumbnailview.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QSize kPicture(160, 120);

} // namespace

HouseBookPhotoEditItemView::HouseBookPhotoEditItemView(const QString &url, int type, const QString &title, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("photoEditItem"));
    setFixedWidth(kPicture.width() + 8);
    m_picture = new ThumbnailView(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setFixedSize(kPicture);
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->setStyleSheet(QStringLiteral("background: rgb(242,242,242);"));
    m_picture->installEventFilter(this);
    m_picture->setSource(url);

    m_badge = new QLabel(m_picture);
    m_badge->setObjectName(QStringLiteral("categoryBadge"));
    m_badge->move(0, 0);
    m_failedMark = new QLabel(QStringLiteral("上传失败"), m_picture);
    m_failedMark->setObjectName(QStringLiteral("failedMark"));
    m_failedMark->setAlignment(Qt::AlignCenter);
    m_failedMark->setStyleSheet(QStringLiteral("background: rgba(230,40,40,210); color: white; font-size: 12px;"));
    m_failedMark->setGeometry(0, kPicture.height() - 22, kPicture.width(), 22);
    m_failedMark->hide();

    auto *remove = new QPushButton(m_picture);
    remove->setObjectName(QStringLiteral("deleteButton"));
    remove->setIcon(QIcon(QStringLiteral("://res/icon_delete.png")));
    remove->setToolTip(QStringLiteral("删除"));
    remove->setCursor(Qt::PointingHandCursor);
    remove->setFixedSize(22, 22);
    remove->setStyleSheet(QStringLiteral("QPushButton { background: rgba(0,0,0,120); border: none; }"));
    remove->move(kPicture.width() - 22, 0);
    connect(remove, &QPushButton::clicked, this, &HouseBookPhotoEditItemView::deleteItem);

    m_title = new QLineEdit(title, this);
    m_title->setObjectName(QStringLiteral("titleEdit"));
    m_title->setPlaceholderText(QStringLiteral("图片标题"));
    m_title->setMaxLength(20);
    m_title->setFixedWidth(kPicture.width());
    connect(m_title, &QLineEdit::textChanged, this, &HouseBookPhotoEditItemView::titleChange);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_picture);
    layout->addWidget(m_title);
    setType(type);
}

void HouseBookPhotoEditItemView::setType(int type)
{
    m_type = type;
    const PhotoCategory::Info *category = PhotoCategory::find(type);
    const QColor colour = category ? category->colour : QColor(153, 153, 153);
    m_badge->setText(PhotoCategory::nameOf(type));
    m_badge->setStyleSheet(QStringLiteral("background: %1; color: white; font-size: 12px; padding: 2px 6px;").arg(colour.name()));
    m_badge->adjustSize();
}

QString HouseBookPhotoEditItemView::title() const
{
    return m_title->text();
}

void HouseBookPhotoEditItemView::setUploadFailed(bool failed)
{
    m_failedMark->setVisible(failed);
    m_failedMark->raise();
}

bool HouseBookPhotoEditItemView::isUploadFailed() const
{
    return !m_failedMark->isHidden();
}

bool HouseBookPhotoEditItemView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picture && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            emit clickItem();
        else if (mouse->button() == Qt::RightButton)
            emit rightClickItem();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
