#include "separation/houseseperate_editcompelatewidget.h"

#include "separation/evidencechoicebutton.h"

HouseSeperate_EditCompelateWidget::HouseSeperate_EditCompelateWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent)
    : SeparationEvidenceForm(house, row, edit, SeparationService::DealEvidence, QStringLiteral("提交成交信息中..."), parent)
{
    EvidenceChoiceButton *contract = addContract(QStringLiteral("dealContractButton"), QStringLiteral("成交合同："),
                                                 EvidenceContractChooseWidget::DealContracts);
    addPhotoGroup(QStringLiteral("contract"), QStringLiteral("成交合同"));
    addRemark();

    setFields({atLeastOne([this, contract] { return contract->hasChoice() || hasPhotos({"contract"}); },
                          QStringLiteral("请至少选择一个合同或者上传一张合同照片！")),
               itemIdRow(),
               photosRow(QStringLiteral("contract"), QStringLiteral("contract")),
               FormField::constant(QStringLiteral("picturecontent"), QStringLiteral("{}")),
               {QStringLiteral("remarkEdit"), QStringLiteral("remark"), QStringLiteral("remark")},
               choiceRow(QStringLiteral("contractid"), contract)});
}
