#pragma once
// The deal form of a role: a chosen deal contract or contract photos, and a remark.
#include "separation/separationevidenceform.h"

class HouseSeperate_EditCompelateWidget : public SeparationEvidenceForm
{
    Q_OBJECT
public:
    HouseSeperate_EditCompelateWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);
};
