#include "separation/houseseperate_editweituomessagewidget.h"

HouseSeperate_EditWeiTuoMessageWidget::HouseSeperate_EditWeiTuoMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &, const HouseBookSeperateList_Model::ItemData &,
       bool, QWidget *parent)
    : QWidget(parent)
{
}
