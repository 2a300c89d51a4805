#include "portal/housebookxinfulipushobject.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "services/jointsalepost.h"
#include "widgets/alertwidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/reasonbox.h"

#include <QJsonObject>
#include <QStringList>

#include <memory>

#include "datacenter.h"

namespace {

QStringList &takedowns()
{
    static QStringList log;
    return log;
}

} // namespace

HouseBookXinfuLiPushObject::HouseBookXinfuLiPushObject(QObject *parent) : PortalPushBase(parent) {}

QStringList HouseBookXinfuLiPushObject::putDownLog()
{
    return takedowns();
}

void HouseBookXinfuLiPushObject::clearPutDownLog()
{
    takedowns().clear();
}

HouseBookXinfuLiPushObject *HouseBookXinfuLiPushObject::announcer()
{
    static HouseBookXinfuLiPushObject instance;
    return &instance;
}

QString HouseBookXinfuLiPushObject::failureNotice() const
{
    if (m_mode == PushMode)
        return QStringLiteral("推送失败：%1");
    // A takedown the agent did not start (a status change, a deletion) must say what is left.
    if (!m_reasonTyped)
        return QStringLiteral("幸福里下架失败：%1，房源仍在幸福里展示，请稍后重试。");
    return QStringLiteral("下架失败：%1");
}

void HouseBookXinfuLiPushObject::pushHouse(int id)
{
    m_data.houseId = id;
    m_mode = PushMode;
    m_positionWaived = false;
    downloadXinfuliPushStatus();
}

void HouseBookXinfuLiPushObject::downloadXinfuliPushStatus()
{
    post(Endpoints::instance().VtApp_housestatus,
         {{QStringLiteral("companyid"), m_data.companyId}, {QStringLiteral("house_id"), m_data.houseId}},
         failureNotice(), [this](const QJsonValue &data) { dealXinfuLiPushStatusData(data); });
}

void HouseBookXinfuLiPushObject::dealXinfuLiPushStatusData(QJsonValue value)
{
    m_data.portalStatus = PortalRecords::housestatusOf(value);
    if (m_mode == PutDownMode) {
        // The portal does not handle the listing: there is nothing to take down. Any other
        // answer sends the removal, which the portal ignores for a listing it does not show.
        if (m_data.portalStatus == 0)
            end();
        else if (m_reason.isEmpty())
            fillXiaJiaReason();
        else
            removeFromPortal();
        return;
    }
    if (m_data.portalStatus <= 0) {
        const QString text = m_data.portalStatus == 0 ? QStringLiteral("该房源暂不支持推送到幸福里")
                                                      : QStringLiteral("推送状态查询失败");
        AlertWidget::warning(text);
        fail(text);
        return;
    }
    if (readListing())
        downloadHouseDescriceData();
}

void HouseBookXinfuLiPushObject::downloadHouseDescriceData()
{
    postPromotion(failureNotice(), [this](const QJsonValue &data) { dealHouseDescriceData(data); });
}

void HouseBookXinfuLiPushObject::dealHouseDescriceData(QJsonValue value)
{
    m_data.promotion = value.toObject();
    m_data.photos = PortalRecords::promotionPhotosOf(value);
    downloadHouseVrs();
}

void HouseBookXinfuLiPushObject::downloadHouseVrs()
{
    postVrs(failureNotice(), [this](const QJsonValue &data) { dealHouseVrs(data); });
}

void HouseBookXinfuLiPushObject::dealHouseVrs(QJsonValue value)
{
    m_data.vrs = PortalRecords::vrsOf(value);
    downloadWaterMark();
}

void HouseBookXinfuLiPushObject::downloadWaterMark()
{
    post(Endpoints::instance().Propaganda_WatermarkDetail, {}, failureNotice(),
         [this](const QJsonValue &data) { dealWaterMark(data); });
}

void HouseBookXinfuLiPushObject::dealWaterMark(QJsonValue value)
{
    PortalRecords::watermarkOf(value, &m_data.watermarkPlatform, &m_data.watermarkStyle);
    downloadXinfuLiNeedData();
}

void HouseBookXinfuLiPushObject::downloadXinfuLiNeedData()
{
    post(Endpoints::instance().search_xinfuli_info, {{QStringLiteral("houseid"), m_data.houseId}}, failureNotice(),
         [this](const QJsonValue &data) { dealXinfuLiNeedData(data); });
}

void HouseBookXinfuLiPushObject::dealXinfuLiNeedData(QJsonValue value)
{
    m_data.portalInfo = PortalRecords::portalInfoOf(value);
    if (m_mode == PutDownMode)
        postRemoval();
    else
        submitData();
}

void HouseBookXinfuLiPushObject::submitData(const QString &lat_lng)
{
    if (hasEnded())
        return;
    const bool waived = m_positionWaived || !lat_lng.isEmpty();
    const PortalRecords::Refusal refusal = PortalRecords::xinfuLiRefusal(m_data, waived);
    if (refusal == PortalRecords::Refusal::NoMapPosition) {
        refuse(refusal, false, QStringLiteral("前往标注"), [this] { openCommunityEditor(true); },
               QStringLiteral("继续推送"), [this] {
                   m_positionWaived = true;
                   submitData();
               });
        return;
    }
    if (refusal != PortalRecords::Refusal::None) {
        refuse(refusal, false);
        return;
    }
    post(Endpoints::instance().VtApp_houseimport, PortalRecords::xinfuLiImportForm(m_data, lat_lng), failureNotice(),
         [this](const QJsonValue &) {
             AlertWidget::tip(QStringLiteral("房源已推送到幸福里！"));
             succeed();
         });
}

void HouseBookXinfuLiPushObject::communityEdited(const QVariantMap &saved)
{
    PortalPushBase::communityEdited(saved);
    if (saved.contains(QStringLiteral("lng")) && saved.contains(QStringLiteral("lat")))
        submitData(QStringLiteral("%1,%2").arg(m_data.community.lng, m_data.community.lat));
}

void HouseBookXinfuLiPushObject::fillXiaJiaReason()
{
    auto *box = new ReasonBox(QStringLiteral("下架原因："), QStringLiteral("请输入下架的原因"));
    box->setObjectName(QStringLiteral("xiaJiaReasonBox"));
    box->setSubmitText(QStringLiteral("下架"));
    CommonAddWidget *frame = openPopup(DataCenter::MainWindowWidget, PopupSize::DaysChooser,
                                       QStringLiteral("幸福里下架"), box);
    // Closing the box without a reason leaves the listing on the portal.
    auto typed = std::make_shared<bool>(false);
    connect(box, &ReasonBox::submitted, this, [this, frame, typed](const QString &reason) {
        *typed = true;
        m_reason = reason;
        m_reasonTyped = true;
        frame->closeWidget();
        removeFromPortal();
    });
    connect(frame, &QObject::destroyed, this, [this, typed] {
        if (!*typed)
            fail(QStringLiteral("未填写下架原因"));
    });
}

void HouseBookXinfuLiPushObject::removeFromPortal()
{
    JointSalePost::Callbacks callbacks;
    callbacks.onSuccess = [this](const QJsonValue &data) {
        if (!hasEnded())
            dealXinfuLiNeedData(data);
    };
    callbacks.onFailed = [this](const QString &) {
        if (!hasEnded())
            postRemoval();
    };
    JointSalePost::post(this, Endpoints::instance().search_xinfuli_info, {{QStringLiteral("houseid"), m_data.houseId}},
                        callbacks)
        ->closeAlert();
}

void HouseBookXinfuLiPushObject::postRemoval()
{
    QVariantMap form = PortalRecords::topHolder(m_data.portalInfo, QString::number(DataCenter::YongHuID),
                                                DataCenter::UserPhoneNumber)
                           .toVariantMap();
    form.insert(QStringLiteral("companyid"), m_data.companyId);
    form.insert(QStringLiteral("house_id"), m_data.houseId);
    form.insert(QStringLiteral("city_name"), m_data.portalInfo.value(QStringLiteral("city_name")).toString());
    form.insert(QStringLiteral("reason"), m_reason);
    post(Endpoints::instance().VtApp_houseremove, form, failureNotice(), [this](const QJsonValue &) { succeed(); });
}

void HouseBookXinfuLiPushObject::xiaJiaData(int id, const QString &reason)
{
    m_data.houseId = id;
    m_mode = PutDownMode;
    m_reason = reason.trimmed();
    m_reasonTyped = false;
    takedowns() << QStringLiteral("%1:%2").arg(id).arg(reason);
    emit putDownRequested(id, reason);
    if (this == announcer())
        return;
    emit announcer()->putDownRequested(id, reason);
    downloadXinfuliPushStatus();
}
