#pragma once
// The exclusive agency form of a role: contract photos, deed and identity, electronic contract, end date.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseSeperate_EditVIPMessageWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperate_EditVIPMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);

signals:
    void submitSuccess();
};
