#include "housedetailfirstpagewidget.h"

#include "widgets/pageplaceholder.h"

HouseDetailFirstPageWidget::HouseDetailFirstPageWidget(QWidget *parent)
    : QWidget(parent)
{
    fillPlaceholder(this, QStringLiteral("房源详情"));
}

void HouseDetailFirstPageWidget::showRecord(const HouseMessage_DataSqlTable::HouseMessageData &record,
                                            bool refreshed, bool rent)
{
    Q_UNUSED(refreshed)
    Q_UNUSED(rent)
    if (record.id != m_record.id)
        m_followed = false;
    m_record = record;
}

void HouseDetailFirstPageWidget::setNavigationHidden(bool hidden)
{
    Q_UNUSED(hidden)
}
