#include "detail/describe/housedescribechoosephotoview.h"

#include "widgets/thumbnailview.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

HouseDescribeChoosePhotoView::HouseDescribeChoosePhotoView(const QString &url, const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_url(url)
{
    setObjectName(QStringLiteral("choosePhotoItem"));
    setCursor(Qt::PointingHandCursor);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_picture = new ThumbnailView(this);
    m_picture->setFixedSize(110, 82);
    m_picture->setPlaceholder(QStringLiteral("://res/icon_no_photo.png"));
    m_picture->setStyleSheet(QStringLiteral("background:#f2f2f2;"));
    m_picture->setSource(url);
    // The whole tile is the click target.
    m_picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_mark = new QLabel(m_picture);
    m_mark->setObjectName(QStringLiteral("label_chosen"));
    m_mark->setText(QStringLiteral("✓"));
    m_mark->setStyleSheet(QStringLiteral("color:#ffffff;background:#0c91eb;padding:0 4px;"));
    m_mark->hide();
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("label_title"));
    m_title->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_picture);
    layout->addWidget(m_title);
    titleNameChange(title);
}

QString HouseDescribeChoosePhotoView::titleName() const
{
    return m_title->text();
}

void HouseDescribeChoosePhotoView::setChosen(bool chosen)
{
    m_chosen = chosen;
    m_mark->setVisible(chosen);
}

void HouseDescribeChoosePhotoView::titleNameChange(QString txt)
{
    m_title->setText(txt);
}

void HouseDescribeChoosePhotoView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clickItem(this);
    QWidget::mouseReleaseEvent(event);
}
