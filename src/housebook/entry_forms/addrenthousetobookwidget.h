#pragma once
// Entry form of a rent listing: new, published from the agency's own book, edited or reviewed.
#include "entry_forms/listingentryform.h"

class addRentHouseToBookWidget : public ListingEntryForm
{
    Q_OBJECT
public:
    explicit addRentHouseToBookWidget(QWidget *parent = nullptr, bool isEdit = false, bool isReview = false);
};
