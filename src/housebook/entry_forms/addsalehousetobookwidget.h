#pragma once
// Entry form of a sale listing: new, published from the agency's own book, edited or reviewed.
#include "entry_forms/listingentryform.h"

class AddSaleHouseToBookWidget : public ListingEntryForm
{
    Q_OBJECT
public:
    explicit AddSaleHouseToBookWidget(QWidget *parent = nullptr, bool isEdit = false, bool isReview = false);
};
