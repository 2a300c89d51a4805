#include "housebookdetailfollowhistorywidget.h"

#include "widgets/pageplaceholder.h"

HouseBookDetailFollowHistoryWidget::HouseBookDetailFollowHistoryWidget(QWidget *parent)
    : QWidget(parent)
{
    fillPlaceholder(this, QStringLiteral("跟进记录"));
}

void HouseBookDetailFollowHistoryWidget::showHouse(int id, bool rent)
{
    m_id = id;
    m_rent = rent;
}
