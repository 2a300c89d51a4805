#include "separation/houseseperate_editweituomessagewidget.h"

#include "net/wholenumber.h"
#include "platform/siblinglibrary.h"
#include "separation/evidencechoicebutton.h"
#include "separation/evidencetexts.h"
#include "datacenter.h"

#include <QComboBox>
#include <QPushButton>

// configXinfuLi of qx_pushHouse (see host/siblings/qx_pushHouse/qx_pushHouse.h).
using ConfigXinfuLi = QWidget *(*)(QWidget *, const QVariantMap &);

HouseSeperate_EditWeiTuoMessageWidget::HouseSeperate_EditWeiTuoMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent)
    : SeparationEvidenceForm(house, row, edit, SeparationService::WeiTuoEvidence, QStringLiteral("提交独家代理信息中..."), parent)
{
    EvidenceChoiceButton *contract = addContract(QStringLiteral("eleContractButton"), QStringLiteral("dud合同："),
                                                 EvidenceContractChooseWidget::EleContracts);
    addPhotoGroup(QStringLiteral("contract"), QStringLiteral("合同照片"));
    addPhotoGroup(QStringLiteral("fangchanzheng"), QStringLiteral("房产证"));
    addPhotoGroup(QStringLiteral("shenfenzheng_zhenmian"), QStringLiteral("身份证正面"));
    addPhotoGroup(QStringLiteral("shenfenzheng_fanmian"), QStringLiteral("身份证反面"));
    addPhotoGroup(QStringLiteral("weituoshu"), QStringLiteral("委托书"));
    addPhotoGroup(QStringLiteral("other"), QStringLiteral("其他"));
    addLineEdit(QStringLiteral("weituoCodeEdit"), QStringLiteral("委托码："), QStringLiteral("请输入委托码"));
    addLineEdit(QStringLiteral("heyanCodeEdit"), QStringLiteral("核验码："), QStringLiteral("请输入核验码"));
    m_verifiers = new QComboBox(this);
    m_verifiers->setObjectName(QStringLiteral("heyanrenCombo"));
    m_verifiers->addItem(QStringLiteral("请选择核验人"));
    addRow(QStringLiteral("核验人："), m_verifiers);
    addRemark();
    connect(addFooterButton(QStringLiteral("settingButton"), QStringLiteral("核验设置")), &QPushButton::clicked,
            this, &HouseSeperate_EditWeiTuoMessageWidget::openSettings);

    auto photos = [this](const QString &key) { return photosRow(key, key); };
    auto verifierMember = [this](const QString &postKey, const QString &member) {
        return FormField::computed(postKey, [this, member] { return verifier().value(member).toString(); });
    };
    setFields({atLeastOne([this, contract] { return contract->hasChoice() || hasPhotos({"contract"}); },
                          QStringLiteral("请至少选择一个合同或者上传一张合同照片！")),
               atLeastOne([this] { return !m_verifierRequired || !verifier().isEmpty(); }, QStringLiteral("请选择核验人！")),
               itemIdRow(),
               photos(QStringLiteral("contract")),
               photos(QStringLiteral("fangchanzheng")),
               photos(QStringLiteral("shenfenzheng_zhenmian")),
               photos(QStringLiteral("shenfenzheng_fanmian")),
               photos(QStringLiteral("weituoshu")),
               photosRow(QStringLiteral("picturecontent"), QStringLiteral("other")),
               {QStringLiteral("remarkEdit"), QStringLiteral("remark"), QStringLiteral("remark")},
               {QStringLiteral("weituoCodeEdit"), QStringLiteral("weituocode"), QStringLiteral("weituocode")},
               {QStringLiteral("heyanCodeEdit"), QStringLiteral("heyancode"), QStringLiteral("heyancode")},
               verifierMember(QStringLiteral("heyanleixing"), QStringLiteral("type")),
               verifierMember(QStringLiteral("heyanrenid"), QStringLiteral("id")),
               verifierMember(QStringLiteral("heyanren"), QStringLiteral("name")),
               FormField::constant(QStringLiteral("userid"), QString::number(DataCenter::YongHuID)),
               choiceRow(QStringLiteral("contractid"), contract)});

    connect(service(), &SeparationService::companyPromotionLoaded, this, &HouseSeperate_EditWeiTuoMessageWidget::showVerifiers);
    loadVerifiers();
}

void HouseSeperate_EditWeiTuoMessageWidget::loadVerifiers()
{
    service()->loadCompanyPromotion();
}

void HouseSeperate_EditWeiTuoMessageWidget::showVerifiers(const QVariantMap &settings)
{
    const QString kept = m_wantedVerifier.isEmpty() ? verifier().value(QStringLiteral("name")).toString() : m_wantedVerifier;
    m_settings = settings;
    m_verifierRequired = WholeNumber::toInt(settings.value(QStringLiteral("heyan"))) == 1;
    while (m_verifiers->count() > 1)
        m_verifiers->removeItem(1);
    for (const QVariant &entry : settings.value(QStringLiteral("heyanren")).toList()) {
        const QVariantMap person = entry.toMap();
        if (!person.value(QStringLiteral("name")).toString().isEmpty())
            m_verifiers->addItem(EvidenceTexts::verifierText(person), person);
    }
    selectVerifier(kept);
}

void HouseSeperate_EditWeiTuoMessageWidget::selectVerifier(const QString &name)
{
    m_wantedVerifier = name;
    for (int i = 1; i < m_verifiers->count(); ++i) {
        if (m_verifiers->itemData(i).toMap().value(QStringLiteral("name")).toString() == name) {
            m_verifiers->setCurrentIndex(i);
            m_wantedVerifier.clear();
            return;
        }
    }
}

QVariantMap HouseSeperate_EditWeiTuoMessageWidget::verifier() const
{
    return m_verifiers->currentData().toMap();
}

void HouseSeperate_EditWeiTuoMessageWidget::fillFrom(const HouseBookSeperateDetail_Model::Data &detail)
{
    SeparationEvidenceForm::fillFrom(detail);
    if (!detail.detailinfo.heyanren.isEmpty())
        selectVerifier(detail.detailinfo.heyanren);
}

void HouseSeperate_EditWeiTuoMessageWidget::openSettings()
{
    const auto config = SiblingLibrary::resolveAs<ConfigXinfuLi>(m_settingsLibrary, "configXinfuLi");
    if (!config)
        return;
    QVariantMap args = m_settings;
    args.insert(QStringLiteral("houseId"), house().id);
    args.insert(QStringLiteral("entryId"), role().id);
    QWidget *dialog = config(window(), args);
    if (dialog)
        connect(dialog, &QObject::destroyed, this, &HouseSeperate_EditWeiTuoMessageWidget::loadVerifiers);
    else
        loadVerifiers();
}
