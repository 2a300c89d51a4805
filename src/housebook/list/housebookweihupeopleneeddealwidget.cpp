#include "housebookweihupeopleneeddealwidget.h"

#include "widgets/pageplaceholder.h"

HouseBookWeiHuPeoPleNeedDealWidget::HouseBookWeiHuPeoPleNeedDealWidget(QWidget *parent, bool flag)
    : QWidget(parent)
    , m_flag(flag)
{
    fillPlaceholder(this, QStringLiteral("维护人即将到期"));
}

void HouseBookWeiHuPeoPleNeedDealWidget::refreshPage()
{
    ++m_refreshCount;
}
