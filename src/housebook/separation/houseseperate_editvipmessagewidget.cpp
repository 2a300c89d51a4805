#include "separation/houseseperate_editvipmessagewidget.h"

HouseSeperate_EditVIPMessageWidget::HouseSeperate_EditVIPMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &, const HouseBookSeperateList_Model::ItemData &,
       bool, QWidget *parent)
    : QWidget(parent)
{
}
