#include "separation/houseseperatemessagedetailwidget.h"

#include "datacenter.h"
#include "platform/housebookcodes.h"
#include "separation/houseseperatemessagerefusecauseaddwidget.h"
#include "separation/seperatedetailcontent.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/largepicture.h"
#include "widgets/loadfailureview.h"
#include "widgets/openpopup.h"
#include "widgets/thumbnailview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace HouseBookSeperateList_Model;

namespace {

// The right to review the evidence of role entries.
constexpr int kReviewRight = 99;
constexpr int kPhotosPerRow = 6;

QPushButton *actionButton(const QString &text, const QString &objectName, const QString &color, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setFixedSize(90, 32);
    button->setStyleSheet(QStringLiteral("background:%1;color:white;border-radius:4px;").arg(color));
    button->hide();
    return button;
}

} // namespace

HouseSeperateMessageDetailWidget::HouseSeperateMessageDetailWidget(const HouseMessage_DataSqlTable::HouseMessageData &house,
                                                                   const ItemData &row, QWidget *parent)
    : QWidget(parent)
    , m_house(house)
    , m_row(row)
    , m_contractLibrary(QStringLiteral("qx_jointsale_contractManager.dll"))
    , m_pdfLibrary(QStringLiteral("qx_eleContract.dll"))
    , m_service(new SeparationService(this))
    , m_overlay(new BusyOverlay(this))
    , m_scroll(new QScrollArea(this))
    , m_failure(new LoadFailureView(QStringLiteral("获取详情失败："), this))
    , m_pass(actionButton(QStringLiteral("通过"), QStringLiteral("passButton"), QStringLiteral("rgb(24,137,240)"), this))
    , m_refuse(actionButton(QStringLiteral("拒绝"), QStringLiteral("refuseButton"), QStringLiteral("rgb(255,0,0)"), this))
    , m_reviewFailure(new QLabel(this))
{
    buildLayout();
    connectService();
    loadDetail();
}

void HouseSeperateMessageDetailWidget::buildLayout()
{
    setObjectName(QStringLiteral("houseSeperateMessageDetail"));
    m_scroll->setObjectName(QStringLiteral("detailScrollArea"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);

    m_failure->setObjectName(QStringLiteral("loadFailure"));

    m_reviewFailure->setObjectName(QStringLiteral("reviewFailure"));
    m_reviewFailure->setStyleSheet(QStringLiteral("color:#ff0000;"));
    m_reviewFailure->hide();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_reviewFailure, 1);
    buttons->addStretch(1);
    buttons->addWidget(m_refuse);
    buttons->addWidget(m_pass);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_failure, 1);
    layout->addLayout(buttons);
}

void HouseSeperateMessageDetailWidget::connectService()
{
    connect(m_failure, &LoadFailureView::retryRequested, this, &HouseSeperateMessageDetailWidget::loadDetail);
    connect(m_pass, &QPushButton::clicked, this, &HouseSeperateMessageDetailWidget::approve);
    connect(m_refuse, &QPushButton::clicked, this, &HouseSeperateMessageDetailWidget::askRefuseReason);
    connect(m_service, &SeparationService::detailLoaded, this, &HouseSeperateMessageDetailWidget::showDetail);
    connect(m_service, &SeparationService::failed, this, &HouseSeperateMessageDetailWidget::onFailed);
    connect(m_service, &SeparationService::finished, m_overlay, &BusyOverlay::stop);
    connect(m_service, &SeparationService::reviewed, this, &HouseSeperateMessageDetailWidget::refreshListAndClose);
    connect(m_service, &SeparationService::pdfDownloaded, this, &HouseSeperateMessageDetailWidget::previewDownloaded);
    connect(m_service, &SeparationService::pdfDownloadFailed, this, [this](const QString &reason) {
        m_overlay->stop();
        AlertWidget::warning(QStringLiteral("dud合同下载失败：%1").arg(reason));
    });
}

void HouseSeperateMessageDetailWidget::setLibraries(const QString &contractLibrary, const QString &pdfLibrary)
{
    m_contractLibrary = contractLibrary;
    m_pdfLibrary = pdfLibrary;
}

void HouseSeperateMessageDetailWidget::loadDetail()
{
    m_failure->hide();
    m_overlay->start(QStringLiteral("获取详情内容中..."));
    m_service->loadDetail(m_row.id);
}

// A judgement that did not go through stays on the page next to the buttons (a refusal
// box from the server may already have said why), so the reviewer can try again.
void HouseSeperateMessageDetailWidget::onFailed(SeparationService::Request request, const QString &message)
{
    if (request == SeparationService::Detail) {
        showFailure(message);
    } else if (request == SeparationService::Review) {
        m_reviewFailure->setText(QStringLiteral("审核未完成：%1")
                                     .arg(message.isEmpty() ? QStringLiteral("服务器没有应答") : message));
        m_reviewFailure->show();
    }
}

// The details could not be had: saying so (with a retry) instead of an empty page keeps a
// reviewer from judging an entry whose evidence was never seen.
void HouseSeperateMessageDetailWidget::showFailure(const QString &reason)
{
    delete m_scroll->takeWidget();
    m_scroll->hide();
    m_pass->hide();
    m_refuse->hide();
    m_failure->showReason(reason);
}

void HouseSeperateMessageDetailWidget::showDetail(const HouseBookSeperateDetail_Model::Data &detail)
{
    m_detail = detail;
    m_failure->hide();
    delete m_scroll->takeWidget();
    m_scroll->setWidget(buildBody());
    m_scroll->show();
    const bool awaiting = detail.state == Waiting && !detail.isEmpty();
    const bool office = m_row.inOfficeApproval()
                        || (!detail.detailinfo.sp_id.isEmpty() && detail.detailinfo.sp_id != QLatin1String("0"));
    // An entry in the office approval flow is judged there, not here.
    const bool reviewable = awaiting && !office && mayReview();
    m_pass->setVisible(reviewable);
    m_refuse->setVisible(reviewable);
}

bool HouseSeperateMessageDetailWidget::mayReview() const
{
    return DataCenter::isJointSaleManger
           || UserMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).isHaveAuthority(kReviewRight, QString(), m_house.deptid);
}

QWidget *HouseSeperateMessageDetailWidget::buildBody()
{
    auto *body = new QWidget;
    body->setObjectName(QStringLiteral("detailBody"));
    auto *layout = new QVBoxLayout(body);
    layout->setSpacing(10);
    if (m_detail.isEmpty()) {
        auto *empty = new QLabel(QStringLiteral("当前项无详情内容！"), body);
        empty->setObjectName(QStringLiteral("emptyLabel"));
        empty->setAlignment(Qt::AlignCenter);
        layout->addWidget(empty);
        return body;
    }
    for (const QString &text : SeperateDetailContent::lines(m_detail, m_row)) {
        auto *line = new QLabel(text, body);
        line->setObjectName(QStringLiteral("detailLine"));
        line->setWordWrap(true);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(line);
    }
    addLinks(layout);
    addPhotoGroups(layout);
    layout->addStretch(1);
    return body;
}

void HouseSeperateMessageDetailWidget::addPhotoGroups(QVBoxLayout *layout)
{
    for (const auto &group : SeperateDetailContent::photoGroups(m_detail, m_row.type)) {
        auto *title = new QLabel(group.title);
        title->setObjectName(QStringLiteral("photoGroupTitle"));
        title->setStyleSheet(QStringLiteral("font-weight:bold;"));
        layout->addWidget(title);
        auto *grid = new QGridLayout;
        grid->setAlignment(Qt::AlignLeft);
        for (int i = 0; i < group.urls.size(); ++i) {
            auto *thumb = new ThumbnailView;
            thumb->setObjectName(QStringLiteral("photo_%1").arg(group.key));
            thumb->setFixedSize(120, 90);
            thumb->setCursor(Qt::PointingHandCursor);
            const QString url = group.urls.at(i);
            thumb->setSource(url);
            connect(thumb, &ThumbnailView::clicked, this, [this, url] { showLargePicture(this, url); });
            grid->addWidget(thumb, i / kPhotosPerRow, i % kPhotosPerRow);
        }
        layout->addLayout(grid);
    }
}

void HouseSeperateMessageDetailWidget::approve()
{
    m_reviewFailure->hide();
    m_overlay->start(QStringLiteral("审核中..."));
    m_service->review(m_row.id, Approved, QString());
}

void HouseSeperateMessageDetailWidget::askRefuseReason()
{
    auto *box = new HouseSeperateMessageRefuseCauseAddWidget;
    box->setObjectName(QStringLiteral("refuseReasonBox"));
    CommonAddWidget *frame = openPopup(this, PopupSize::DaysChooser, QStringLiteral("拒绝原因"), box);
    frame->resize(420, 260);
    connect(box, &HouseSeperateMessageRefuseCauseAddWidget::backReason, frame, [this, frame](const QString &reason) {
        frame->closeWidget();
        refuseWith(reason);
    });
}

void HouseSeperateMessageDetailWidget::refuseWith(const QString &reason)
{
    m_reviewFailure->hide();
    m_overlay->start(QStringLiteral("审核中..."));
    m_service->review(m_row.id, Refused, reason);
}
