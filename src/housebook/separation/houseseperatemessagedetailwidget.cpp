#include "separation/houseseperatemessagedetailwidget.h"

HouseSeperateMessageDetailWidget::HouseSeperateMessageDetailWidget(const HouseMessage_DataSqlTable::HouseMessageData &, const HouseBookSeperateList_Model::ItemData &,
       QWidget *parent)
    : QWidget(parent)
{
}
