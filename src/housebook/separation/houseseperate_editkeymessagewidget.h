#pragma once
// The keys form of a role: key number, keeping department, holder, date received, remark.
#include "separation/separationevidenceform.h"

class HouseSeperate_EditKeyMessageWidget : public SeparationEvidenceForm
{
    Q_OBJECT
public:
    HouseSeperate_EditKeyMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);

protected:
    void fillFrom(const HouseBookSeperateDetail_Model::Data &detail) override;

private:
    // Opens the own company's chooser of departments or people under title.
    void choose(EvidenceChoiceButton *target, int kind, const QString &title);

    EvidenceChoiceButton *m_dept = nullptr;
    EvidenceChoiceButton *m_holder = nullptr;
    EvidenceChoiceButton *m_date = nullptr;
};
