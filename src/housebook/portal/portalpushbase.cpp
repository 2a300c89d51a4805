#include "portal/portalpushbase.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "platform/housebookcodes.h"
#include "platform/siblinglibrary.h"
#include "services/jointsalepost.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/alertwidget.h"

#include <QPointer>
#include <memory>
#include <QTimer>
#include <QWidget>

#include "datacenter.h"

namespace {

const QString kCommunityLibrary = QStringLiteral("qx_community.dll");

PortalCommunity communityOf(int communityId)
{
    PortalCommunity community;
    if (communityId <= 0)
        return community;
    const CommunityMessage_DataSqlTable::ListData row =
        CommunityMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).getCommunityData(communityId);
    if (row.id <= 0)
        return community;
    community.found = true;
    community.id = row.id;
    community.name = row.name;
    community.district = row.districtname;
    community.area = row.areaname;
    community.address = row.address;
    community.lng = row.lng;
    community.lat = row.lat;
    community.years = row.years;
    return community;
}

} // namespace

// Lives while a community editor is open: the editor calls back through it, and it goes with
// the editor.
struct PortalEditorContext
{
    QPointer<PortalPushBase> owner;
    int communityId = 0;
    bool saved = false;

    static void edited(void *context, const QVariantMap &saved)
    {
        auto *self = static_cast<PortalEditorContext *>(context);
        self->saved = true;
        QVariantMap record = saved;
        record.insert(QStringLiteral("id"), self->communityId);
        CommunityMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).updateCommunities({record}, saved.keys());
        if (self->owner)
            self->owner->communityEdited(saved);
    }
};

PortalPushBase::PortalPushBase(QObject *parent) : QObject(parent)
{
    m_data.companyId = DataCenter::CompanyID;
}

void PortalPushBase::post(const QString &url, const QVariantMap &form, const QString &failureNotice,
                          std::function<void(const QJsonValue &)> onData)
{
    JointSalePost::Callbacks callbacks;
    callbacks.onSuccess = [this, onData](const QJsonValue &data) {
        if (!m_ended)
            onData(data);
    };
    callbacks.onFailed = [this](const QString &reason) { fail(reason); };
    JointSalePost::post(this, url, form, callbacks, failureNotice);
}

void PortalPushBase::postPromotion(const QString &failureNotice, std::function<void(const QJsonValue &)> onData)
{
    post(Endpoints::instance().housebook2_housebookdesdetail, {{QStringLiteral("id"), m_data.houseId}}, failureNotice,
         std::move(onData));
}

void PortalPushBase::postVrs(const QString &failureNotice, std::function<void(const QJsonValue &)> onData)
{
    post(Endpoints::instance().house_vr_VRContent,
         {{QStringLiteral("type"), m_data.rent ? 2 : 1}, {QStringLiteral("houseid"), m_data.houseId}}, failureNotice,
         std::move(onData));
}

bool PortalPushBase::readListing()
{
    m_data.house = HouseMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).getHouseData(m_data.houseId);
    m_data.houseFound = m_data.house.id > 0;
    if (!m_data.houseFound) {
        const QString text = QStringLiteral("房源不存在或已被删除！");
        AlertWidget::warning(text);
        fail(text);
        return false;
    }
    m_data.rent = m_data.house.types == 1;
    m_data.community = communityOf(m_data.house.mycommunityid);
    return true;
}

void PortalPushBase::refuse(PortalRecords::Refusal refusal, bool wuba, const QString &actionText,
                            std::function<void()> action, const QString &secondText, std::function<void()> second)
{
    const QString text = PortalRecords::refusalText(refusal, wuba);
    if (actionText.isEmpty()) {
        AlertWidget::warning(text);
        fail(text);
        return;
    }
    auto *box = new AlertWidget(text, AlertWidget::WarningIcon, AlertWidget::SureAndCancle);
    box->setSureText(actionText);
    if (!secondText.isEmpty())
        box->setCancleText(secondText);
    // An answer that starts an action hands the work to it; a box closed otherwise ends it.
    auto taken = std::make_shared<bool>(false);
    connect(box, &AlertWidget::sureClick, this, [taken, action] {
        *taken = true;
        if (action)
            action();
    });
    if (second)
        connect(box, &AlertWidget::cancleClick, this, [taken, second] {
            *taken = true;
            second();
        });
    connect(box, &AlertWidget::hasClosed, this, [this, taken, text] {
        if (!*taken)
            fail(text);
    });
}

void PortalPushBase::openCommunityEditor(bool location)
{
    using Editor = QWidget *(*)(QWidget *, int, void (*)(void *, const QVariantMap &), void *);
    const char *function = location ? "editCommunityLocation" : "editCommunityMessage";
    const auto open = SiblingLibrary::resolveAs<Editor>(kCommunityLibrary, function);
    if (!open) {
        fail(QStringLiteral("缺少qx_community组件！"));
        return;
    }
    auto *context = new PortalEditorContext;
    context->owner = this;
    context->communityId = m_data.community.id;
    QWidget *editor = open(DataCenter::MainWindowWidget, m_data.community.id, &PortalEditorContext::edited, context);
    if (!editor) {
        delete context;
        fail(QStringLiteral("小区编辑窗口无法打开！"));
        return;
    }
    connect(editor, &QObject::destroyed, [context] {
        if (context->owner && !context->saved)
            context->owner->fail(QStringLiteral("小区信息未修改"));
        delete context;
    });
}

void PortalPushBase::communityEdited(const QVariantMap &saved)
{
    if (saved.contains(QStringLiteral("lng")))
        m_data.community.lng = saved.value(QStringLiteral("lng")).toString();
    if (saved.contains(QStringLiteral("lat")))
        m_data.community.lat = saved.value(QStringLiteral("lat")).toString();
    if (saved.contains(QStringLiteral("years")))
        m_data.community.years = saved.value(QStringLiteral("years")).toString();
}

void PortalPushBase::succeed()
{
    if (m_ended)
        return;
    if (m_mode == PutDownMode)
        emit putDownSuccess();
    else
        emit pushSuccess();
    end();
}

void PortalPushBase::fail(const QString &reason)
{
    if (m_ended)
        return;
    emit failed(reason);
    end();
}

void PortalPushBase::end()
{
    if (m_ended)
        return;
    m_ended = true;
    emit finished();
    if (!parent())
        deleteLater();
}
