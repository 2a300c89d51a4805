#include "settings/housebooksalesetwidget.h"

HouseBookSaleSetWidget::HouseBookSaleSetWidget(QWidget *parent) : HouseBookBookSetPage(BookSetKind::sale(), parent) {}

void HouseBookSaleSetWidget::sale_message_submit()
{
    submit();
}
