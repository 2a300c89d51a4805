// The separation page's role work: entering a role's evidence and handing a role over,
// directly or through the company's office approval.
#include "separation/housebookdetailseperatewidget.h"

#include "platform/siblinglibrary.h"
#include "separation/houseseperate_editcompelatewidget.h"
#include "separation/houseseperate_editkeymessagewidget.h"
#include "separation/houseseperate_editvipmessagewidget.h"
#include "separation/houseseperate_editweituomessagewidget.h"
#include "services/lastassignee.h"
#include "services/separationservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/jointsale_personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QPointer>

using namespace HouseBookSeperateList_Model;

namespace {

// The approval library's request window; submitted(context, record id) once it is filed.
using ReviewStepSubmitted = void (*)(void *context, int recordId);
using LoadReviewStep = void (*)(QWidget *parent, const QVariantMap &args, ReviewStepSubmitted submitted, void *context);

// The page that filed an approval hears of it if it is still there. The context is released
// with the call; a request the agent cancels keeps only this small guard.
void reviewFiled(void *context, int)
{
    auto *page = static_cast<QPointer<HouseBookDetailSeperateWidget> *>(context);
    if (*page)
        (*page)->houseChange();
    delete page;
}

QString nameOf(const QVariantMap &person)
{
    return person.value(QStringLiteral("name")).toString();
}

QString phoneOf(const QVariantMap &person)
{
    return person.value(QStringLiteral("phone")).toString();
}

// Texts the evidence forms refuse with when someone else holds the role.
QString notHolderText(int type)
{
    switch (type) {
    case WeiTuo: return QStringLiteral("您不是委托人无法重新上传文件！");
    case YaoShi: return QStringLiteral("您不是钥匙人无法重新录入钥匙！");
    case DuJia: return QStringLiteral("您不是独家代理人无法重新上传文件！");
    case ChengJiao: return QStringLiteral("您不是成交人无法重新录入合同！");
    default: return QString();
    }
}

} // namespace

// ---- evidence ---------------------------------------------------------------------------

bool HouseBookDetailSeperateWidget::mayEnterEvidence()
{
    const QString refusal = notHolderText(m_current.type);
    if (refusal.isEmpty() || !m_current.hasHolder() || m_current.own)
        return true;
    AlertWidget::warning(refusal);
    return false;
}

void HouseBookDetailSeperateWidget::dispatchEvidence()
{
    if (!mayEnterEvidence())
        return;
    switch (m_current.type) {
    case LuRu: emit houseEdit(); break;
    case WeiTuo: addWeiTuoMessage(); break;
    case ShiKan: addShiKan(); break;
    case YaoShi: addKeyMessage(); break;
    case DuJia: addVipMessage(); break;
    case ChengJiao: addCompleteContractMessage(); break;
    default: break;
    }
}

void HouseBookDetailSeperateWidget::addShiKan()
{
    if (!m_photoEditor) {
        emit goToPhoto();
        return;
    }
    QPointer<HouseBookDetailSeperateWidget> page(this);
    m_photoEditor(window(), m_house, [page] {
        if (page)
            page->houseChange();
    });
}

void HouseBookDetailSeperateWidget::addWeiTuoMessage()
{
    const bool edit = m_editing && m_current.hasEntry();
    auto *form = new HouseSeperate_EditWeiTuoMessageWidget(m_house, m_current, edit);
    CommonAddWidget *popup = openPage(form, edit ? QStringLiteral("修改委托信息") : QStringLiteral("录入委托信息"), false);
    connect(form, &HouseSeperate_EditWeiTuoMessageWidget::submitSuccess, popup, [this, popup] { closeAndReload(popup); });
}

void HouseBookDetailSeperateWidget::addKeyMessage()
{
    auto *form = new HouseSeperate_EditKeyMessageWidget(m_house, m_current, m_editing && m_current.hasEntry());
    CommonAddWidget *popup = openPage(form, QStringLiteral("录入钥匙"), false);
    connect(form, &HouseSeperate_EditKeyMessageWidget::submitSuccess, popup, [this, popup] { closeAndReload(popup); });
}

void HouseBookDetailSeperateWidget::addVipMessage()
{
    auto *form = new HouseSeperate_EditVIPMessageWidget(m_house, m_current, m_editing && m_current.hasEntry());
    CommonAddWidget *popup = openPage(form, QStringLiteral("录入独家代理信息"), false);
    connect(form, &HouseSeperate_EditVIPMessageWidget::submitSuccess, popup, [this, popup] { closeAndReload(popup); });
}

void HouseBookDetailSeperateWidget::addCompleteContractMessage()
{
    auto *form = new HouseSeperate_EditCompelateWidget(m_house, m_current, m_editing && m_current.hasEntry());
    CommonAddWidget *popup = openPage(form, QStringLiteral("录入成交信息"), false);
    connect(form, &HouseSeperate_EditCompelateWidget::submitSuccess, popup, [this, popup] { closeAndReload(popup); });
}

// ---- handing over -----------------------------------------------------------------------

void HouseBookDetailSeperateWidget::assignatePeopleToLuRu()
{
    openChooser(LuRu);
}

void HouseBookDetailSeperateWidget::assignatePeopleToWeiHu()
{
    openChooser(WeiHu);
}

void HouseBookDetailSeperateWidget::assignatePeopleToOtherXieZuo(int itemId)
{
    openChooser(itemId);
}

// The chooser starts on the person last chosen, remembered across listings and sessions.
void HouseBookDetailSeperateWidget::openChooser(int type)
{
    auto *chooser = new JointSale_PersonOrDepartmentChooseWidget(nullptr, PersonOrDepartmentChooseWidget::People, false);
    chooser->setObjectName(QStringLiteral("fenPeiChooser"));
    const QVariantMap last = LastAssignee::load();
    if (!last.isEmpty())
        chooser->setChosen({last});
    CommonAddWidget *popup =
        openPopup(window(), PopupSize::Settings, QStringLiteral("选择要指定的%1").arg(roleName(type)), chooser);
    connect(chooser, &PersonOrDepartmentChooseWidget::backSingleChoose, popup, [this, popup](const QVariantMap &person) {
        popup->closeWidget();
        choosePeopleMap(person);
    });
}

void HouseBookDetailSeperateWidget::choosePeopleMap(QVariantMap map)
{
    LastAssignee::store(map);
    if (m_current.type == LuRu)
        luruPeople(map);
    else if (m_current.type == WeiHu)
        weiHuPeople(map);
    else
        otherXieZuoPeople(map);
}

void HouseBookDetailSeperateWidget::luruPeople(QVariantMap map)
{
    confirmAssign(QStringLiteral("你确定要将该房源的录入人分配给%1<%2>吗？").arg(nameOf(map), phoneOf(map)), map, true);
}

void HouseBookDetailSeperateWidget::weiHuPeople(QVariantMap map)
{
    confirmAssign(QStringLiteral("你确定要将该房源的维护人分配给%1<%2>吗？").arg(nameOf(map), phoneOf(map)), map, true);
}

void HouseBookDetailSeperateWidget::otherXieZuoPeople(QVariantMap map)
{
    confirmAssign(QStringLiteral("你确定要将该房源的%1分配给%2<%3>吗？").arg(roleName(m_current.type), nameOf(map), phoneOf(map)),
                  map, false);
}

// A role in the company's office approval flow changes holder only through an approval.
void HouseBookDetailSeperateWidget::confirmAssign(const QString &question, const QVariantMap &person, bool throughOffice)
{
    auto *box = new AlertWidget(question, AlertWidget::WarningIcon, AlertWidget::SureAndCancle, QStringLiteral("main"), this);
    box->setSureText(QStringLiteral("分配"));
    const ItemData row = m_current;
    connect(box, &AlertWidget::sureClick, this, [this, row, person, throughOffice] {
        m_current = row;
        if (throughOffice && row.inOfficeApproval()) {
            if (row.type == LuRu)
                oa_luruPeople(person);
            else
                oa_weiHuPeople(person);
            return;
        }
        m_overlay->start(QStringLiteral("分配中..."));
        m_service->assign(m_house, row, person);
    });
}

void HouseBookDetailSeperateWidget::oa_luruPeople(QVariantMap map)
{
    startOfficeReview(map);
}

void HouseBookDetailSeperateWidget::oa_weiHuPeople(QVariantMap map)
{
    startOfficeReview(map);
}

QString HouseBookDetailSeperateWidget::reviewText(const House &house, const QString &roleName, const QString &newHolder)
{
    const QString listing = house.title.isEmpty() ? house.name : house.title;
    return QStringLiteral("修改房源【%1】的%2为【%3】需要进行审批，审批通过后生效。").arg(listing, roleName, newHolder);
}

// The approval carries the listing, the present and the new holder, the role (tag_id) and
// the role's approval flow (pro_id).
void HouseBookDetailSeperateWidget::startOfficeReview(const QVariantMap &person)
{
    auto load = SiblingLibrary::resolveAs<LoadReviewStep>(m_reviewLibrary, "loadReviewStep");
    if (!load)
        return;
    const QVariantMap args{{QStringLiteral("house_book_id"), m_house.id},
                           {QStringLiteral("xiaoquname"), m_house.name},
                           {QStringLiteral("yonghuid"), m_current.info.userId},
                           {QStringLiteral("userid"), person.value(QStringLiteral("id"))},
                           {QStringLiteral("name"), nameOf(person)},
                           {QStringLiteral("username"), m_current.info.name},
                           {QStringLiteral("tag_id"), m_current.type},
                           {QStringLiteral("pro_id"), m_current.detailinfo.sp_id},
                           {QStringLiteral("content"), reviewText(m_house, roleName(m_current.type), nameOf(person))}};
    load(window(), args, &reviewFiled, new QPointer<HouseBookDetailSeperateWidget>(this));
}
