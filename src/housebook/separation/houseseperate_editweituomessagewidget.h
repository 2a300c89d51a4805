#pragma once
// The commission form of a role: contract, deed, identity and commission photos, codes, verifier.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseSeperate_EditWeiTuoMessageWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperate_EditWeiTuoMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);

signals:
    void submitSuccess();
};
