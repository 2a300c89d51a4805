#pragma once
// The deal form of a role: a chosen deal contract or contract photos, and a remark.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseSeperate_EditCompelateWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperate_EditCompelateWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);

signals:
    void submitSuccess();
};
