#include "detail/follow/housefollowhistorywidget.h"

#include "detail/follow/followrowparts.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HouseFollowHistoryWidget::HouseFollowHistoryWidget(const HouseBookFollowData_Model::ListData &data, QWidget *parent)
    : QWidget(parent)
    , m_data(data)
{
    setObjectName(QStringLiteral("followRow"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    auto *header = FollowRowParts::header(data, this);
    layout->addLayout(header);
    auto *content = FollowRowParts::plainLabel(data.content, QStringLiteral("contentLabel"), this);
    content->setWordWrap(true);
    content->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(content);
    if (QLayout *reminder = FollowRowParts::reminder(data.tixing, data.tixinguser, data.tixingtime, data.contents, this))
        layout->addLayout(reminder);
    if (data.own) {
        auto *remove = new QPushButton(QStringLiteral("删除"), this);
        remove->setObjectName(QStringLiteral("deleteButton"));
        remove->setCursor(Qt::PointingHandCursor);
        remove->setFlat(true);
        static_cast<QHBoxLayout *>(header)->addWidget(remove);
        connect(remove, &QPushButton::clicked, this, [this] { emit deleteRequested(m_data.id); });
    }
}

DayWorkFollowItemView::DayWorkFollowItemView(const HouseBookFollowData_Model::ListData &data, QWidget *parent)
    : HouseFollowHistoryWidget(data, parent)
{
    setObjectName(QStringLiteral("dayWorkFollowRow"));
    layout()->setContentsMargins(4, 3, 4, 3);
}
