#include "detail/follow/followlistwidget.h"

#include "detail/follow/housebookdetailrecordingitemview.h"
#include "detail/follow/housefollowhistorywidget.h"
#include "detail/follow/rowlistarea.h"
#include "services/followservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"

FollowListWidget::FollowListWidget(QWidget *parent)
    : FollowPagedPage(QStringLiteral("当前已经是第一页跟进记录了，无法向上翻页了！"),
                      QStringLiteral("当前已经是最后一页跟进记录了，无法向下翻页了！"),
                      HouseBookFollowData_Model::kDefaultPageSize, QStringLiteral("暂无跟进记录"), parent)
{
    connect(pager(), &PagedListController::pageRequested, this, &FollowListWidget::download_followData);
    connect(service(), &FollowService::followsLoaded, this, &FollowListWidget::deal_followData);
    connect(service(), &FollowService::followDeleted, this, &FollowListWidget::download_followData);
    connect(service(), &FollowService::recordHidden, this, &FollowListWidget::download_followData);
}

QString FollowListWidget::deleteQuestion()
{
    return QStringLiteral("您确定要删除该项吗？");
}

void FollowListWidget::showListing(int id, bool rent)
{
    setListing(id, rent);
    m_model = HouseBookFollowData_Model();
    loadFollowList();
    download_followData();
}

void FollowListWidget::download_followData()
{
    if (houseId() <= 0)
        return;
    overlay()->start();
    requestPage(page());
}

void FollowListWidget::requestPage(int page)
{
    service()->loadFollows(houseId(), isRent(), page);
}

void FollowListWidget::deal_followData(QJsonValue resultValue)
{
    m_model.setReply(resultValue);
    pager()->setPageSize(m_model.pageSize());
    pager()->setTotal(m_model.total());
    loadFollowList();
}

void FollowListWidget::loadFollowList()
{
    rowList()->clear();
    for (const HouseBookFollowData_Model::ListData &data : m_model.list())
        rowList()->addRow(createRow(data));
    rowList()->finish();
}

QWidget *FollowListWidget::createRow(const HouseBookFollowData_Model::ListData &data)
{
    if (data.isRecording()) {
        auto *row = m_compactRows ? new HouseBookDetailVoiceRecordingItemView(data)
                                  : new HouseBookDetailRecordingItemView(data);
        connect(row, &HouseBookDetailRecordingItemView::recordChange, this,
                [this, id = data.recordid](int state) { hideRecord(id, state); });
        return row;
    }
    auto *row = m_compactRows ? new DayWorkFollowItemView(data) : new HouseFollowHistoryWidget(data);
    connect(row, &HouseFollowHistoryWidget::deleteRequested, this, &FollowListWidget::deleteFollow);
    return row;
}

void FollowListWidget::deleteFollow(int id)
{
    auto *box = new AlertWidget(deleteQuestion(), AlertWidget::WarningIcon, AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("删除"));
    connect(box, &AlertWidget::sureClick, this, [this, id] {
        overlay()->start();
        service()->deleteFollow(id);
    });
}

void FollowListWidget::hideRecord(int id, int state)
{
    overlay()->start();
    service()->hideRecord(id, state);
}
