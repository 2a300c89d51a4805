#include "housebookmessagedetailwidget.h"

#include "widgets/pageplaceholder.h"

HouseBookMessageDetailWidget::HouseBookMessageDetailWidget(QWidget *parent, int firstTab, int firstPageFlag)
    : QWidget(parent)
    , m_firstTab(firstTab)
    , m_firstPageFlag(firstPageFlag)
{
    fillPlaceholder(this, QStringLiteral("房源详情"));
}

void HouseBookMessageDetailWidget::showHouseId(int id)
{
    showHouseAt(0, QList<int>{id}, false);
}

void HouseBookMessageDetailWidget::showHouseAt(int index, const QList<int> &ids, bool refreshed)
{
    if (index < 0 || index >= ids.size())
        return;
    m_index = index;
    m_ids = ids;
    m_refreshed = refreshed;
    emit pageChange(index);
}
