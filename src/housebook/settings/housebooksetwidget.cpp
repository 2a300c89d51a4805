#include "housebooksetwidget.h"

#include "widgets/pageplaceholder.h"

HouseBookSetWidget::HouseBookSetWidget(QWidget *parent, int type) : QWidget(parent), m_type(type)
{
    fillPlaceholder(this, QStringLiteral("房源本设置"));
}
