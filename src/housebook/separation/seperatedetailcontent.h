#pragma once
// What the details of one role entry show, decided apart from the window that shows it: the
// text lines of the entry's role and its photo groups under their captions.
#include "services/separationmodels.h"

#include <QList>
#include <QStringList>

namespace SeperateDetailContent {

struct PhotoGroup
{
    QString key;     // the picturecontent member it comes from
    QString title;
    QStringList urls;
};

// "等待审核" (or "等待OA审核" in the office approval flow), "审核通过", "审核拒绝"; "" otherwise.
QString stateText(int state, bool inOfficeApproval);

// The lines of an entry of role kind `type`, in display order. Codes the details lack are
// taken from the role row; a value nobody knows reads "暂无".
QStringList lines(const HouseBookSeperateDetail_Model::Data &detail, const HouseBookSeperateList_Model::ItemData &row);

// The photo groups that hold photos, in display order. The contract photos are captioned by
// the role (委托合同, 独家代理合同, 成交合同); unknown groups are left out.
QList<PhotoGroup> photoGroups(const HouseBookSeperateDetail_Model::Data &detail, int type);

// Whether the entry carries a contract chosen from the contract lists.
bool hasContract(const HouseBookSeperateDetail_Model::Data &detail);
// Whether the role keeps electronic contracts (commission, exclusive agency, deal).
bool keepsElectronicContracts(int type);

} // namespace SeperateDetailContent
