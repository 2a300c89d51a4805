#include "addsalehousetobookwidget.h"

AddSaleHouseToBookWidget::AddSaleHouseToBookWidget(QWidget *parent, bool isEdit, bool isReview)
    : ListingEntryForm(parent, isEdit, isReview, ListingFormKind::sale())
{
}
