#include "addrenthousetobookwidget.h"

#include "widgets/pageplaceholder.h"

addRentHouseToBookWidget::addRentHouseToBookWidget(QWidget *parent, bool isEdit, bool isReview)
    : ListingEntryForm(parent, isEdit, isReview)
{
    fillPlaceholder(this, QStringLiteral("出租房源录入"));
}
