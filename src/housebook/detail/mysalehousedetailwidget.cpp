#include "mysalehousedetailwidget.h"

#include "widgets/pageplaceholder.h"

#include <QLabel>

MySaleHouseDetailWidget::MySaleHouseDetailWidget(QWidget *parent, int firstTab, int firstPageFlag)
    : QWidget(parent)
    , m_firstTab(firstTab)
    , m_firstPageFlag(firstPageFlag)
{
    m_caption = fillPlaceholder(this, QStringLiteral("房源详情"));
}

void MySaleHouseDetailWidget::closeThisWidget()
{
    emit closeWidget();
}

void MySaleHouseDetailWidget::houseDataDeal(const HouseMessage_DataSqlTable::HouseMessageData &model,
                                            int page, bool hideNavigation, bool refreshed)
{
    m_record = model;
    m_requestedId = page;
    m_hideNavigation = hideNavigation;
    m_refreshed = refreshed;
    m_caption->setText(QStringLiteral("房源详情 %1").arg(page));
}

void MySaleHouseDetailWidget::loadLastPage()
{
    emit lastPage();
}

void MySaleHouseDetailWidget::loadNextPage()
{
    emit nextPage();
}
