#pragma once
// The details of one role entry, with approval and refusal.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseSeperateMessageDetailWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperateMessageDetailWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       QWidget *parent = nullptr);

signals:
    void refreshListAndClose();
};
