#pragma once
// The keys form of a role: key number, keeping department, holder, date received, remark.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseSeperate_EditKeyMessageWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperate_EditKeyMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);

signals:
    void submitSuccess();
};
