#include "detail/follow/customerfollowhistorywidget.h"

#include "detail/follow/customeraddfollowwidget.h"
#include "services/followservice.h"
#include "widgets/commonaddwidget.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CustomerFollowHistoryWidget::CustomerFollowHistoryWidget(QWidget *parent, bool jointSale)
    : FollowListWidget(parent)
    , m_jointSale(jointSale)
{
    setCompactRows(true);
    auto *bar = new QHBoxLayout;
    bar->addStretch(1);
    auto *add = new QPushButton(QStringLiteral("添加跟进"), this);
    add->setObjectName(QStringLiteral("addFollowButton"));
    bar->addWidget(add);
    topLayout()->addLayout(bar);
    connect(add, &QPushButton::clicked, this, &CustomerFollowHistoryWidget::addFollow);
}

void CustomerFollowHistoryWidget::showHouse(int id, bool rent)
{
    showListing(id, rent);
}

void CustomerFollowHistoryWidget::requestPage(int page)
{
    if (m_jointSale)
        service()->loadAllianceFollows(houseId(), isRent(), page);
    else
        FollowListWidget::requestPage(page);
}

void CustomerFollowHistoryWidget::addFollow()
{
    auto *popup = new CommonAddWidget(this);
    popup->setTitle(QStringLiteral("添加跟进"));
    auto *form = new CustomerAddFollowWidget(houseId(), isRent(), popup);
    popup->setContentWidget(form);
    popup->resize(560, 480);
    connect(form, &CustomerAddFollowWidget::followSuccess, this, [this] {
        showListing(houseId(), isRent());
        emit followSuccess();
    });
    connect(form, &CustomerAddFollowWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    popup->show();
}
