#include "separation/houseseperate_editvipmessagewidget.h"

#include "separation/evidencechoicebutton.h"
#include "separation/evidencephotogroup.h"

#include <QJsonDocument>
#include <QJsonObject>

HouseSeperate_EditVIPMessageWidget::HouseSeperate_EditVIPMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent)
    : SeparationEvidenceForm(house, row, edit, SeparationService::DuJiaEvidence, QStringLiteral("提交独家代理信息中..."), parent)
{
    m_contract = addContract(QStringLiteral("eleContractButton"), QStringLiteral("dud合同："),
                             EvidenceContractChooseWidget::EleContracts);
    addPhotoGroup(QStringLiteral("contract"), QStringLiteral("独家代理合同"));
    addLineEdit(QStringLiteral("houseCerNumEdit"), QStringLiteral("房产证号："), QStringLiteral("请输入房产证号"));
    addPhotoGroup(QStringLiteral("housecernum"), QStringLiteral("房产证"));
    addLineEdit(QStringLiteral("hostCerNumEdit"), QStringLiteral("身份证号："), QStringLiteral("请输入业主身份证号"));
    addPhotoGroup(QStringLiteral("hostcernum"), QStringLiteral("身份证"));
    EvidenceChoiceButton *endTime = addDate(QStringLiteral("endTimeButton"), QStringLiteral("截止日期："),
                                            QStringLiteral("选择日期"), QStringLiteral("endtime"));
    addRemark();

    setFields({atLeastOne([this] { return m_contract->hasChoice() || hasPhotos({"contract", "housecernum", "hostcernum"}); },
                          QStringLiteral("请至少选择一个合同或者上传一张合同图片或房产证或身份证图片！")),
               itemIdRow(),
               {QStringLiteral("houseCerNumEdit"), QStringLiteral("housecernum"), QStringLiteral("housecernum")},
               {QStringLiteral("hostCerNumEdit"), QStringLiteral("hostcernum"), QStringLiteral("hostcernum")},
               photosRow(QStringLiteral("contract"), QStringLiteral("contract")),
               FormField::computed(QStringLiteral("picturecontent"), [this] { return deedAndIdentityPhotos(); }),
               choiceRow(QStringLiteral("endtime"), endTime),
               {QStringLiteral("remarkEdit"), QStringLiteral("remark"), QStringLiteral("remark")},
               choiceRow(QStringLiteral("contractid"), m_contract)});
}

QString HouseSeperate_EditVIPMessageWidget::deedAndIdentityPhotos() const
{
    QJsonObject photos;
    for (const QString &key : {QStringLiteral("housecernum"), QStringLiteral("hostcernum")})
        photos.insert(key, EvidencePhotoGroup::array(photoGroup(key)->photos()));
    return QString::fromUtf8(QJsonDocument(photos).toJson(QJsonDocument::Compact));
}
