#pragma once
// The exclusive agency form of a role: contract photos, deed and identity, electronic contract, end date.
#include "separation/separationevidenceform.h"

class HouseSeperate_EditVIPMessageWidget : public SeparationEvidenceForm
{
    Q_OBJECT
public:
    HouseSeperate_EditVIPMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);

private:
    // {"housecernum":[{url}], "hostcernum":[{url}]}
    QString deedAndIdentityPhotos() const;

    EvidenceChoiceButton *m_contract = nullptr;
};
