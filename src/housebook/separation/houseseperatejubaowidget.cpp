#include "separation/houseseperatejubaowidget.h"

HouseSeperateJuBaoWidget::HouseSeperateJuBaoWidget(const HouseMessage_DataSqlTable::HouseMessageData &, const HouseBookSeperateList_Model::ItemData &,
       QWidget *parent)
    : QWidget(parent)
{
}
