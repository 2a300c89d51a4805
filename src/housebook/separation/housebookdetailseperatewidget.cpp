#include "separation/housebookdetailseperatewidget.h"

#include "platform/housebookcodes.h"
#include "platform/siblinglibrary.h"
#include "separation/houseseperatejubaowidget.h"
#include "separation/houseseperatemessagedetailwidget.h"
#include "separation/houseseperateoperatehistorylistwidget.h"
#include "services/listingdetailservice.h"
#include "services/separationservice.h"
#include "settings/housebooksetwidget.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/loadfailureview.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace HouseBookSeperateList_Model;

namespace {

// Rights of the user's job, as the permission editor numbers them.
constexpr int kReviewRight = 99;   // approve entries, set the separation rules
constexpr int kAssignRight = 149;  // hand roles over
constexpr int kReleaseRight = 151; // release holders

// The approval library's decision window: (parent, listing id, approval record id).
using LoadReviewDetail = void (*)(QWidget *parent, int houseId, const QString &recordId);

} // namespace

HouseBookDetailSeperateWidget::HouseBookDetailSeperateWidget(QWidget *parent)
    : QWidget(parent)
    , m_reviewLibrary(QStringLiteral("qx_reviewBook.dll"))
    , m_service(new SeparationService(this))
    , m_listings(new ListingDetailService(this))
{
    buildUi();
    connectService();
}

void HouseBookDetailSeperateWidget::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    m_unsupported = new QLabel(QStringLiteral("该房源类型不支持"), this);
    m_unsupported->setObjectName(QStringLiteral("label_unsupported"));
    m_unsupported->hide();
    auto *rule = new QPushButton(QStringLiteral("规则设置"), this);
    rule->setObjectName(QStringLiteral("pushButton_rule"));
    connect(rule, &QPushButton::clicked, this, &HouseBookDetailSeperateWidget::ruleSet);
    bar->addWidget(m_unsupported);
    bar->addStretch();
    bar->addWidget(rule);
    auto *area = new QScrollArea(this);
    area->setWidgetResizable(true);
    auto *body = new QWidget(area);
    body->setObjectName(QStringLiteral("seperateRows"));
    m_rowLayout = new QVBoxLayout(body);
    m_rowLayout->addStretch();
    area->setWidget(body);
    m_failure = new LoadFailureView(QStringLiteral("团队协作加载失败："), this);
    m_failure->setObjectName(QStringLiteral("loadFailure"));
    m_failure->hide();
    connect(m_failure, &LoadFailureView::retryRequested, this, &HouseBookDetailSeperateWidget::download_dataList);
    layout->addLayout(bar);
    layout->addWidget(m_failure);
    layout->addWidget(area, 1);
    m_overlay = new BusyOverlay(this);
}

void HouseBookDetailSeperateWidget::connectService()
{
    m_service->setFailureNotice(QStringLiteral("操作失败：%1"));
    connect(m_service, &SeparationService::finished, m_overlay, &BusyOverlay::stop);
    // A list that could not be had says so with a retry instead of showing no roles.
    connect(m_service, &SeparationService::failed, this, [this](SeparationService::Request request, const QString &reason) {
        if (request == SeparationService::List)
            m_failure->showReason(reason);
    });
    connect(m_service, &SeparationService::listLoaded, this, [this](int itemId, const QList<ItemData> &rows) {
        if (itemId != m_house.id)
            return;  // the page has moved on to another listing
        m_failure->hide();
        m_data = rows;
        showListView();
    });
    for (auto changed : {&SeparationService::assigned, &SeparationService::removed})
        connect(m_service, changed, this, &HouseBookDetailSeperateWidget::houseChange);
    connect(m_service, &SeparationService::pickedUp, this, &HouseBookDetailSeperateWidget::houseChange);
    connect(m_service, &SeparationService::canCheckAnswered, this,
            &HouseBookDetailSeperateWidget::checkUserIsOAReviewPeopleResult);
}

bool HouseBookDetailSeperateWidget::holds(int right) const
{
    return UserMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).isHaveAuthority(right, QString(), m_house.deptid);
}

void HouseBookDetailSeperateWidget::setHouse(const House &house)
{
    const bool other = house.id != m_house.id;
    m_house = house;
    m_rights.assign = holds(kAssignRight);
    m_rights.release = holds(kReleaseRight);
    m_unsupported->setVisible(!listingTakesPart(house));
    if (other) {
        m_failure->hide();
        m_data.clear();
        showListView();
    }
    download_dataList();
}

void HouseBookDetailSeperateWidget::download_dataList()
{
    if (m_house.id <= 0)
        return;
    m_overlay->start();
    m_service->loadList(m_house.id);
}

void HouseBookDetailSeperateWidget::dealData(QJsonValue value)
{
    m_data = listFromJson(value);
    showListView();
}

void HouseBookDetailSeperateWidget::showListView()
{
    qDeleteAll(m_rowViews);
    m_rowViews.clear();
    const bool takesPart = listingTakesPart(m_house);
    for (const ItemData &row : qAsConst(m_data)) {
        auto *view = new HouseBookDetailSeperateItemView(m_rowLayout->parentWidget());
        view->setRights(m_rights);
        view->setTypeAndStatu(row, m_house);
        if (!takesPart)
            view->hiddenOperateBtns();
        connect(view, &HouseBookDetailSeperateItemView::clickBtn, this,
                [this, view](const QString &txt) { operate(view->model(), txt); });
        m_rowLayout->insertWidget(m_rowLayout->count() - 1, view);
        m_rowViews << view;
    }
}

void HouseBookDetailSeperateWidget::operate(HouseBookSeperateList_Model::ItemData model, QString txt)
{
    m_current = model;
    m_editing = txt == QStringLiteral("编辑");
    if (m_editing || txt == HouseBookDetailSeperateItemView::evidenceButton(model.type)) {
        dispatchEvidence();
    } else if (txt == QStringLiteral("等待审核")) {
        if (holds(kReviewRight))
            watchDetail();
        else
            AlertWidget::warning(QStringLiteral("您没有审核权限，如有需要请联系管理员！"));
    } else if (txt == QStringLiteral("等待OA审核")) {
        checkUserIsOAReviewPeople(model.detailinfo.sp_id);
    } else if (txt == QStringLiteral("查看详情")) {
        watchDetail();
    } else if (txt == QStringLiteral("操作记录")) {
        watchOperateHistory(model.id);
    } else if (txt == QStringLiteral("举报")) {
        juBaoPeople();
    } else if (txt == QStringLiteral("解除")) {
        remove_people(model.type);
    } else if (txt == QStringLiteral("拣入")) {
        jianRuHouse();
    } else if (txt == QStringLiteral("分配")) {
        if (model.type == LuRu)
            assignatePeopleToLuRu();
        else if (model.type == WeiHu)
            assignatePeopleToWeiHu();
        else
            assignatePeopleToOtherXieZuo(model.type);
    }
}

void HouseBookDetailSeperateWidget::ruleSet()
{
    if (!listingTakesPart(m_house))
        AlertWidget::warning(QStringLiteral("该房源类型不支持"));
    else if (!holds(kReviewRight))
        AlertWidget::warning(QStringLiteral("您没有设置权限！"));
    else
        HouseBookSetWidget::openSettings(window(), HouseBookSetWidget::XieZuoPage);
}

CommonAddWidget *HouseBookDetailSeperateWidget::openPage(QWidget *content, const QString &title, bool detailSize)
{
    return openPopup(window(), detailSize ? PopupSize::Detail : PopupSize::EntryForm, title, content);
}

void HouseBookDetailSeperateWidget::closeAndReload(CommonAddWidget *popup)
{
    popup->closeWidget();
    houseChange();
}

void HouseBookDetailSeperateWidget::houseChange()
{
    download_dataList();
    if (m_house.id > 0)
        m_listings->refreshOneListing(m_house.id);
}

void HouseBookDetailSeperateWidget::watchDetail()
{
    if (!m_current.hasEntry()) {
        AlertWidget::warning(QStringLiteral("当前项无详情内容！"));
        return;
    }
    auto *detail = new HouseSeperateMessageDetailWidget(m_house, m_current);
    CommonAddWidget *popup = openPage(detail, QStringLiteral("查看详情"), true);
    connect(detail, &HouseSeperateMessageDetailWidget::refreshListAndClose, popup,
            [this, popup] { closeAndReload(popup); });
}

void HouseBookDetailSeperateWidget::checkUserIsOAReviewPeople(QString record_id)
{
    m_overlay->start();
    m_service->askCanCheck(record_id);
}

void HouseBookDetailSeperateWidget::checkUserIsOAReviewPeopleResult(bool canCheck)
{
    if (!canCheck) {
        AlertWidget::warning(QStringLiteral("您没有权限审核该OA申请！"));
        return;
    }
    if (auto load = SiblingLibrary::resolveAs<LoadReviewDetail>(m_reviewLibrary, "loadReviewDetail"))
        load(window(), m_house.id, m_current.detailinfo.sp_id);
}

void HouseBookDetailSeperateWidget::watchOperateHistory(QString id)
{
    auto *history = new HouseSeperateOperateHistoryListWidget(id);
    CommonAddWidget *popup = openPopup(window(), PopupSize::Settings, QStringLiteral("操作记录"), history);
    connect(history, &HouseSeperateOperateHistoryListWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
}

void HouseBookDetailSeperateWidget::juBaoPeople()
{
    if (!m_current.hasHolder()) {
        AlertWidget::warning(QStringLiteral("当前无操作人，不支持举报！"));
        return;
    }
    auto *report = new HouseSeperateJuBaoWidget(m_house, m_current);
    CommonAddWidget *popup = openPage(report, QStringLiteral("举报"), false);
    connect(report, &HouseSeperateJuBaoWidget::operateSuccess, popup, [this, popup] {
        AlertWidget::tip(QStringLiteral("举报成功！"));
        closeAndReload(popup);
    });
}

void HouseBookDetailSeperateWidget::remove_people(int type)
{
    if (!m_current.hasHolder()) {
        AlertWidget::warning(QStringLiteral("当前无操作人，不支持移除！"));
        return;
    }
    auto *box = new AlertWidget(QStringLiteral("您确定解除该项操作人吗？"), AlertWidget::WarningIcon,
                                AlertWidget::SureAndCancle, QStringLiteral("main"), this);
    ItemData row = m_current;
    row.type = type;
    connect(box, &AlertWidget::sureClick, this, [this, row] {
        m_overlay->start(QStringLiteral("解除中..."));
        m_service->remove(m_house.id, row);
    });
}

void HouseBookDetailSeperateWidget::jianRuHouse()
{
    auto *box = new AlertWidget(QStringLiteral("您确定要拣入该房源成为该房源的维护人吗？"), AlertWidget::WarningIcon,
                                AlertWidget::SureAndCancle, QStringLiteral("main"), this);
    const int id = m_house.id;
    connect(box, &AlertWidget::sureClick, this, [this, id] {
        m_overlay->start(QStringLiteral("成为维护人..."));
        m_service->pickUp(id);
    });
}
