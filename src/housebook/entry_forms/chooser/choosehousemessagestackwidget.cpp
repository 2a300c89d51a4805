#include "choosehousemessagestackwidget.h"

ChooseHouseMessageStackWidget::ChooseHouseMessageStackWidget(QWidget *parent, Mode)
    : QWidget(parent)
{
}
