#include "separation/houseseperate_editkeymessagewidget.h"

HouseSeperate_EditKeyMessageWidget::HouseSeperate_EditKeyMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &, const HouseBookSeperateList_Model::ItemData &,
       bool, QWidget *parent)
    : QWidget(parent)
{
}
