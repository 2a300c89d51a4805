#include "portal/housebook58anxuanpushobject.h"

#include "net/endpoints.h"
#include "widgets/alertwidget.h"

#include <QDate>

#include "datacenter.h"

using PortalRecords::Refusal;

namespace {

const QString kPushFailed = QStringLiteral("推送失败：%1");
const QString kPutDownFailed = QStringLiteral("下架失败：%1");
const QString kUnreadable = QStringLiteral("服务器返回的数据无法识别");

// The exchange tells the companies apart by the address, not by the form.
QString exchangeAddress(const QString &endpoint)
{
    return QStringLiteral("%1?companyid=%2").arg(endpoint).arg(DataCenter::CompanyID);
}

} // namespace

HouseBook58AnXuanPushObject::HouseBook58AnXuanPushObject(QObject *parent) : PortalPushBase(parent) {}

void HouseBook58AnXuanPushObject::pushHouse(int id)
{
    m_data.houseId = id;
    m_mode = PushMode;
    if (readListing())
        downloadHouseStatus();
}

void HouseBook58AnXuanPushObject::downloadHouseStatus()
{
    post(exchangeAddress(Endpoints::instance().Wubapush_housestatus),
         {{QStringLiteral("bianhao"), QString::number(m_data.houseId)}}, kPushFailed,
         [this](const QJsonValue &data) { dealHouseStatus(data); });
}

// Whether the listing is on 58 already does not matter: a second push updates it there.
void HouseBook58AnXuanPushObject::dealHouseStatus(QJsonValue value)
{
    m_data.portalStatus = value.isObject() ? PortalRecords::housestatusOf(value) : -1;
    if (m_data.portalStatus < 0) {
        const QString text = QStringLiteral("推送状态查询失败");
        AlertWidget::warning(text);
        fail(text);
        return;
    }
    downloadDetailData();
}

void HouseBook58AnXuanPushObject::downloadDetailData()
{
    postPromotion(kPushFailed, [this](const QJsonValue &data) { dealDetailData(data); });
}

void HouseBook58AnXuanPushObject::dealDetailData(QJsonValue value)
{
    if (!value.isObject()) {
        failUnreadable();
        return;
    }
    m_data.promotion = value.toObject();
    m_data.photos = PortalRecords::promotionPhotosOf(value);
    downloadHouseVrs();
}

void HouseBook58AnXuanPushObject::downloadHouseVrs()
{
    postVrs(kPushFailed, [this](const QJsonValue &data) { dealHouseVrs(data); });
}

// VR views and the video are optional: whatever the reply holds that reads as one is used.
void HouseBook58AnXuanPushObject::dealHouseVrs(QJsonValue value)
{
    m_data.vrs = PortalRecords::vrsOf(value);
    downloadHouseVideo();
}

void HouseBook58AnXuanPushObject::downloadHouseVideo()
{
    post(Endpoints::instance().fd_getHouseVod, {{QStringLiteral("houseid"), m_data.houseId}}, kPushFailed,
         [this](const QJsonValue &data) { dealHouseVideo(data); });
}

void HouseBook58AnXuanPushObject::dealHouseVideo(QJsonValue value)
{
    m_data.videoUrl.clear();
    m_data.videoCover.clear();
    PortalRecords::videoOf(value, &m_data.videoUrl, &m_data.videoCover);
    prepareCheckData();
}

void HouseBook58AnXuanPushObject::prepareCheckData()
{
    m_refusal = PortalRecords::wubaRefusal(m_data, currentYear());
    switch (m_refusal) {
    case Refusal::None:
        submitXiaoQu();
        break;
    case Refusal::NoMapPosition:
        refuse(m_refusal, true, QStringLiteral("前往标注"), [this] { checkCommunityLocation(); });
        break;
    case Refusal::BuildYear:
        refuse(m_refusal, true, QStringLiteral("前往修改"), [this] { checkCommunityYear(); });
        break;
    default:
        refuse(m_refusal, true);
        break;
    }
}

void HouseBook58AnXuanPushObject::checkCommunityLocation()
{
    openCommunityEditor(true);
}

void HouseBook58AnXuanPushObject::checkCommunityYear()
{
    openCommunityEditor(false);
}

// The refused push stays refused: the agent pushes again with the corrected community.
void HouseBook58AnXuanPushObject::communityEdited(const QVariantMap &saved)
{
    PortalPushBase::communityEdited(saved);
    fail(PortalRecords::refusalText(m_refusal, true));
}

void HouseBook58AnXuanPushObject::submitXiaoQu()
{
    post(exchangeAddress(Endpoints::instance().Wubapush_dataxiaoqu), PortalRecords::wubaCommunityForm(m_data),
         kPushFailed, [this](const QJsonValue &data) {
             // The listing names its community by 58's id; without one there is nothing to post.
             m_data.wubaCommunityId = data.isObject() ? PortalRecords::wubaCommunityIdOf(data) : QString();
             if (m_data.wubaCommunityId.isEmpty())
                 failUnreadable();
             else
                 submitHouse();
         });
}

void HouseBook58AnXuanPushObject::submitHouse()
{
    post(exchangeAddress(Endpoints::instance().Wubapush_datahouse), PortalRecords::wubaHouseForm(m_data), kPushFailed,
         [this](const QJsonValue &) {
             if (m_data.videoUrl.isEmpty())
                 pushed();
             else
                 realPushVideo();
         });
}

void HouseBook58AnXuanPushObject::realPushVideo()
{
    post(exchangeAddress(Endpoints::instance().Wubapush_addhousevideo), PortalRecords::wubaListingForm(m_data),
         kPushFailed, [this](const QJsonValue &) { pushed(); });
}

// The category 58 files the listing under comes from the stored listing; one no longer stored
// is refused rather than taken down under a guessed category.
void HouseBook58AnXuanPushObject::realPutDown(int id)
{
    m_data.houseId = id;
    m_mode = PutDownMode;
    if (!readListing())
        return;
    post(exchangeAddress(Endpoints::instance().Wubapush_delclaimhouse), PortalRecords::wubaListingForm(m_data),
         kPutDownFailed, [this](const QJsonValue &) { succeed(); });
}

int HouseBook58AnXuanPushObject::currentYear() const
{
    return m_currentYear > 0 ? m_currentYear : QDate::currentDate().year();
}

void HouseBook58AnXuanPushObject::failUnreadable()
{
    const QString text = kPushFailed.arg(kUnreadable);
    AlertWidget::warning(text);
    fail(kUnreadable);
}

void HouseBook58AnXuanPushObject::pushed()
{
    AlertWidget::tip(QStringLiteral("房源已推送到58安选！"));
    succeed();
}
