#include "detail/describe/housedescribeitemlistview.h"

#include "widgets/thumbnailview.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HouseDescribeItemListView::HouseDescribeItemListView(int index, const QString &source, bool cover, QWidget *parent)
    : QWidget(parent)
    , m_index(index)
    , m_cover(cover)
{
    setObjectName(QStringLiteral("describePhotoItem"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_picture = new ThumbnailView(this);
    m_picture->setObjectName(QStringLiteral("photoView"));
    m_picture->setFixedSize(150, 112);
    m_picture->setPlaceholder(QStringLiteral("://res/icon_no_photo.png"));
    m_picture->setStyleSheet(QStringLiteral("background:#f2f2f2;border:1px solid #e5e5e5;"));
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->setSource(source);
    connect(m_picture, &ThumbnailView::clicked, this, [this] { emit photoClicked(m_index); });
    layout->addWidget(m_picture);

    auto *row = new QHBoxLayout;
    m_coverLabel = new QLabel(QStringLiteral("封面"), this);
    m_coverLabel->setObjectName(QStringLiteral("label_cover"));
    m_coverLabel->setStyleSheet(QStringLiteral("color:#ffffff;background:#0c91eb;padding:1px 6px;border-radius:2px;"));
    m_coverLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_coverButton = new QPushButton(QStringLiteral("设置封面"), this);
    m_coverButton->setObjectName(QStringLiteral("pushButton_cover"));
    m_coverButton->setCursor(Qt::PointingHandCursor);
    m_coverButton->setStyleSheet(QStringLiteral("QPushButton{border:none;color:#0c91eb;}"));
    connect(m_coverButton, &QPushButton::clicked, this, [this] { emit coverClicked(m_index); });
    m_removeButton = new QPushButton(QStringLiteral("删除"), this);
    m_removeButton->setObjectName(QStringLiteral("pushButton_remove"));
    m_removeButton->setStyleSheet(QStringLiteral("QPushButton{border:none;color:#999999;}"));
    m_removeButton->hide();
    connect(m_removeButton, &QPushButton::clicked, this, [this] { emit removeClicked(m_index); });
    row->addWidget(m_coverLabel);
    row->addWidget(m_coverButton);
    row->addStretch(1);
    row->addWidget(m_removeButton);
    layout->addLayout(row);
    m_coverLabel->setVisible(cover);
    m_coverButton->setVisible(!cover);
}

QString HouseDescribeItemListView::source() const
{
    return m_picture->source();
}

void HouseDescribeItemListView::setEditable(bool editable)
{
    m_coverButton->setVisible(editable && !m_cover);
}

void HouseDescribeItemListView::setRemovable(bool removable)
{
    m_removeButton->setVisible(removable);
}
