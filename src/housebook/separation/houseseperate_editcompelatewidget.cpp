#include "separation/houseseperate_editcompelatewidget.h"

HouseSeperate_EditCompelateWidget::HouseSeperate_EditCompelateWidget(const HouseMessage_DataSqlTable::HouseMessageData &, const HouseBookSeperateList_Model::ItemData &,
       bool, QWidget *parent)
    : QWidget(parent)
{
}
