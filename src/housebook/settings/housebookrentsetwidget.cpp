#include "settings/housebookrentsetwidget.h"

HouseBookRentSetWidget::HouseBookRentSetWidget(QWidget *parent) : HouseBookBookSetPage(BookSetKind::rent(), parent) {}

void HouseBookRentSetWidget::rent_message_submit()
{
    submit();
}
