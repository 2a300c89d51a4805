#pragma once
// The "出售房源" page of the house-book settings: the search items and list columns of the
// agent's own and the store's sale book (see HouseBookBookSetPage).
#include "settings/housebookbooksetpage.h"

class HouseBookSaleSetWidget : public HouseBookBookSetPage
{
    Q_OBJECT
public:
    explicit HouseBookSaleSetWidget(QWidget *parent = nullptr);

public slots:
    void sale_message_submit();
};
