#pragma once
// The report form against a role holder.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseSeperateJuBaoWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperateJuBaoWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       QWidget *parent = nullptr);

signals:
    void operateSuccess();
};
