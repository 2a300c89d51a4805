#include "highseperatereporthistorywidget.h"

#include "widgets/pageplaceholder.h"

HighSeperateReportHistoryWidget::HighSeperateReportHistoryWidget(QWidget *parent, int type)
    : QWidget(parent)
    , m_type(type)
{
    fillPlaceholder(this, QStringLiteral("举报审核"));
}

void HighSeperateReportHistoryWidget::download_list()
{
    ++m_loadCount;
}
