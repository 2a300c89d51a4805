#include "detail/follow/housebookdetailtakelookhistorywidget.h"

#include "datacenter.h"
#include "detail/follow/rowlistarea.h"
#include "detail/follow/takelooklistitem.h"
#include "services/followservice.h"
#include "widgets/busyoverlay.h"

HouseBookDetailTakeLookHistoryWidget::HouseBookDetailTakeLookHistoryWidget(QWidget *parent)
    : FollowPagedPage(QStringLiteral("当前已经是第一页了，无法向上翻页了！"), QStringLiteral("当前已经是最后一页了，无法向下翻页了！"),
                      FollowService::kViewingPageSize, QStringLiteral("暂无带看记录"), parent)
{
    connect(pager(), &PagedListController::pageRequested, this,
            &HouseBookDetailTakeLookHistoryWidget::download_followLookData);
    connect(service(), &FollowService::viewingsLoaded, this, &HouseBookDetailTakeLookHistoryWidget::deal_followLookData);
}

void HouseBookDetailTakeLookHistoryWidget::showHouse(int id, bool rent)
{
    setListing(id, rent);
    m_model = HousebookTakeLookList_Model();
    loadFollowLookList();
    download_followLookData();
}

bool HouseBookDetailTakeLookHistoryWidget::judgeCanSeeCustomer(int itemType,
                                                               const HousebookTakeLookList_Model::ListData &data,
                                                               const QVariantMap &customer_map)
{
    Q_UNUSED(itemType)
    if (DataCenter::isManager || DataCenter::isJointSaleManger)
        return true;
    if (data.userid > 0 && data.userid == DataCenter::YongHuID)
        return true;
    return data.clientid > 0 && customer_map.contains(QString::number(data.clientid));
}

void HouseBookDetailTakeLookHistoryWidget::download_followLookData()
{
    if (houseId() <= 0)
        return;
    overlay()->start();
    service()->loadViewings(houseId(), page());
}

void HouseBookDetailTakeLookHistoryWidget::deal_followLookData(QJsonValue resultValue)
{
    m_model.setReply(resultValue);
    pager()->setTotal(m_model.total());
    loadFollowLookList();
}

void HouseBookDetailTakeLookHistoryWidget::loadFollowLookList()
{
    rowList()->clear();
    const int kind = FollowService::kindOf(isRent());
    for (const HousebookTakeLookList_Model::ListData &data : m_model.list())
        rowList()->addRow(new TakeLookListItem(data, judgeCanSeeCustomer(kind, data, m_customers)));
    rowList()->finish();
}
