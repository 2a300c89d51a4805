#include "separation/houseseperatemessagerefusecauseaddwidget.h"

HouseSeperateMessageRefuseCauseAddWidget::HouseSeperateMessageRefuseCauseAddWidget(QWidget *parent)
    : ReasonBox(QStringLiteral("拒绝原因："), QStringLiteral("请输入拒绝原因！"), parent)
{
    connect(this, &ReasonBox::submitted, this, &HouseSeperateMessageRefuseCauseAddWidget::backReason);
}
