#include "addrenthousetobookwidget.h"

addRentHouseToBookWidget::addRentHouseToBookWidget(QWidget *parent, bool isEdit, bool isReview)
    : ListingEntryForm(parent, isEdit, isReview, ListingFormKind::rentKind())
{
}
