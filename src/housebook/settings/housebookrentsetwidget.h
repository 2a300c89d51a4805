#pragma once
// The "出租房源" page of the house-book settings: the search items and list columns of the
// agent's own and the store's rent book (see HouseBookBookSetPage).
#include "settings/housebookbooksetpage.h"

class HouseBookRentSetWidget : public HouseBookBookSetPage
{
    Q_OBJECT
public:
    explicit HouseBookRentSetWidget(QWidget *parent = nullptr);

public slots:
    void rent_message_submit();
};
