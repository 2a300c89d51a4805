#include "addsalehousetobookwidget.h"

#include "widgets/pageplaceholder.h"

AddSaleHouseToBookWidget::AddSaleHouseToBookWidget(QWidget *parent, bool isEdit, bool isReview)
    : ListingEntryForm(parent, isEdit, isReview)
{
    fillPlaceholder(this, QStringLiteral("出售房源录入"));
}
