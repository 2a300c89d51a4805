#include "housebookdetailtakelookhistorywidget.h"

#include "widgets/pageplaceholder.h"

HouseBookDetailTakeLookHistoryWidget::HouseBookDetailTakeLookHistoryWidget(QWidget *parent)
    : QWidget(parent)
{
    fillPlaceholder(this, QStringLiteral("带看记录"));
}

void HouseBookDetailTakeLookHistoryWidget::showHouse(int id, bool rent)
{
    m_id = id;
    m_rent = rent;
}
