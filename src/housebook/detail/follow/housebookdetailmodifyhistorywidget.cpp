#include "housebookdetailmodifyhistorywidget.h"

#include "widgets/pageplaceholder.h"

HouseBookDetailModifyHistoryWidget::HouseBookDetailModifyHistoryWidget(QWidget *parent)
    : QWidget(parent)
{
    fillPlaceholder(this, QStringLiteral("查看/修改"));
}

void HouseBookDetailModifyHistoryWidget::showHouse(int id, bool rent)
{
    m_id = id;
    m_rent = rent;
}
