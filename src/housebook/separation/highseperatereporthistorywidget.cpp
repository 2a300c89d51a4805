#include "highseperatereporthistorywidget.h"

#include "entry_forms/chooser/failureline.h"
#include "separation/highseperatereporthistoryitemview.h"
#include "separation/highseperatereportreviewwidget.h"
#include "separation/reportexport.h"
#include "services/listingdetailservice.h"
#include "services/reportservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/pagedlistcontroller.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace HighSeperateReportList_Model;

namespace {

HighSeperateReportHistoryWidget::DetailOpener &detailOpener()
{
    static HighSeperateReportHistoryWidget::DetailOpener opener;
    return opener;
}

PagedListController::Refusals refusals()
{
    return {QStringLiteral("当前已经是第一页跟进记录了，无法向上翻页了！"),
            QStringLiteral("当前已经是最后一页跟进记录了，无法向下翻页了！"), QString(), QString()};
}

} // namespace

HighSeperateReportHistoryWidget::HighSeperateReportHistoryWidget(QWidget *parent, int type)
    : QWidget(parent)
    , m_type(type)
    , m_status(Waiting)
    , m_service(new ReportService(this))
    , m_pager(new PagedListController(refusals(), PagedListController::SizeChange::FirstPage, this))
    , m_overlay(new BusyOverlay(this))
{
    setObjectName(QStringLiteral("reportHistoryWidget"));
    m_pager->setPageSize(ReportService::kPageSize);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("reportScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_rows = new QWidget(scroll);
    m_rowLayout = new QVBoxLayout(m_rows);
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_rowLayout->setSpacing(1);
    m_empty = new QLabel(QStringLiteral("暂无举报记录"), m_rows);
    m_empty->setObjectName(QStringLiteral("emptyLabel"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->hide();
    m_failure = new FailureLine(m_rows);
    m_rowLayout->addWidget(m_empty);
    m_rowLayout->addWidget(m_failure);
    m_rowLayout->addStretch(1);
    scroll->setWidget(m_rows);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildTopBar());
    layout->addWidget(scroll, 1);
    layout->addWidget(buildPagingBar());

    connect(m_pager, &PagedListController::pageRequested, this, &HighSeperateReportHistoryWidget::download_list);
    connect(m_failure, &FailureLine::retry, m_pager, &PagedListController::reload);
    connect(m_service, &ReportService::pageLoaded, this, [this](int pageIndex, int status, const Page &page) {
        // A reply for a page or filter left since is of no use any more.
        if (pageIndex == m_pager->page() && status == m_status)
            dealData(page);
    });
    connect(m_service, &ReportService::last30DaysLoaded, this, &HighSeperateReportHistoryWidget::dealHistoryData);
    connect(m_service, &ReportService::failed, this, [this](ReportService::Request request, const QString &message) {
        if (request == ReportService::Page) {
            clearRows();
            m_failure->showFailure(QStringLiteral("举报记录加载失败：%1")
                                       .arg(message.isEmpty() ? QStringLiteral("服务器没有应答") : message));
        }
    });
    connect(m_service, &ReportService::finished, m_overlay, &BusyOverlay::stop);
    download_list();
}

QWidget *HighSeperateReportHistoryWidget::buildTopBar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("状态："), bar));
    m_statusBox = new QComboBox(bar);
    m_statusBox->setObjectName(QStringLiteral("statusBox"));
    m_statusBox->addItem(QStringLiteral("已审核"), Reviewed);
    m_statusBox->addItem(QStringLiteral("待审核"), Waiting);
    m_statusBox->addItem(QStringLiteral("全部"), All);
    m_statusBox->setCurrentIndex(m_statusBox->findData(m_status));
    connect(m_statusBox, QOverload<int>::of(&QComboBox::activated), this, &HighSeperateReportHistoryWidget::changeStatus);
    layout->addWidget(m_statusBox);
    layout->addStretch(1);
    auto *exportButton = new QPushButton(QStringLiteral("最近30天举报记录导出excel"), bar);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    connect(exportButton, &QPushButton::clicked, this, &HighSeperateReportHistoryWidget::downloadHistoryData);
    layout->addWidget(exportButton);
    return bar;
}

QWidget *HighSeperateReportHistoryWidget::buildPagingBar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    auto *back = new QPushButton(QStringLiteral("上一页"), bar);
    back->setObjectName(QStringLiteral("lastPageButton"));
    connect(back, &QPushButton::clicked, this, &HighSeperateReportHistoryWidget::lastPage);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    auto *forward = new QPushButton(QStringLiteral("下一页"), bar);
    forward->setObjectName(QStringLiteral("nextPageButton"));
    connect(forward, &QPushButton::clicked, this, &HighSeperateReportHistoryWidget::nextPage);
    layout->addWidget(back);
    layout->addWidget(m_pageLabel);
    layout->addWidget(forward);
    return bar;
}

void HighSeperateReportHistoryWidget::setDetailOpener(const DetailOpener &opener)
{
    detailOpener() = opener;
}

void HighSeperateReportHistoryWidget::setPageIndex(int index)
{
    m_pager->setPage(index);
}

int HighSeperateReportHistoryWidget::pageIndex() const
{
    return m_pager->page();
}

void HighSeperateReportHistoryWidget::changeStatus(int index)
{
    const int status = m_statusBox->itemData(index).toInt();
    if (index < 0 || status == m_status)
        return;
    m_status = status;
    m_pager->restart();
}

void HighSeperateReportHistoryWidget::download_list()
{
    ++m_loadCount;
    m_failure->hide();
    m_overlay->start(QStringLiteral("数据加载中..."));
    m_service->loadPage(m_pager->page(), m_status);
}

void HighSeperateReportHistoryWidget::dealData(const Page &page)
{
    m_items = page.items;
    m_pager->setTotal(page.total);
    showListView();
}

void HighSeperateReportHistoryWidget::clearRows()
{
    // A row may be the sender of the click that led here: it goes once control returns.
    for (auto *row : m_rows->findChildren<HighSeperateReportHistoryItemView *>(QString(), Qt::FindDirectChildrenOnly)) {
        row->setParent(nullptr);
        row->deleteLater();
    }
    m_empty->hide();
    m_failure->hide();
}

void HighSeperateReportHistoryWidget::showListView()
{
    clearRows();
    for (const ItemData &item : qAsConst(m_items)) {
        auto *row = new HighSeperateReportHistoryItemView(item, m_rows);
        connect(row, &HighSeperateReportHistoryItemView::itemClick, this, &HighSeperateReportHistoryWidget::reportDeal);
        connect(row, &HighSeperateReportHistoryItemView::houseClick, this, &HighSeperateReportHistoryWidget::openHouseDetail);
        m_rowLayout->insertWidget(m_rowLayout->count() - 1, row);
    }
    m_empty->setVisible(m_items.isEmpty());
    m_pageLabel->setText(QStringLiteral("第%1页/共%2页").arg(m_pager->page()).arg(qMax(1, m_pager->pageCount())));
}

void HighSeperateReportHistoryWidget::lastPage()
{
    m_pager->step(PagedListController::Back);
}

void HighSeperateReportHistoryWidget::nextPage()
{
    m_pager->step(PagedListController::Forward);
}

void HighSeperateReportHistoryWidget::reportDeal(const ItemData &item)
{
    auto *review = new HighSeperateReportReviewWidget(item);
    CommonAddWidget *popup = openPopup(this, PopupSize::Settings, QStringLiteral("举报审核"), review);
    connect(review, &HighSeperateReportReviewWidget::houseClick, this, &HighSeperateReportHistoryWidget::openHouseDetail);
    connect(review, &HighSeperateReportReviewWidget::reviewSuccess, this, [this, popup, item] {
        popup->closeWidget();
        judged(item);
    });
}

void HighSeperateReportHistoryWidget::judged(const ItemData &item)
{
    syncListing(item.itemid);
    AlertWidget::tip(QStringLiteral("审核成功！"));
    download_list();
}

void HighSeperateReportHistoryWidget::syncListing(const QString &itemId)
{
    const int id = itemId.toInt();
    if (id <= 0)
        return;
    // The store outlives the page if need be; the service goes once the download ends.
    auto *service = new ListingDetailService(QCoreApplication::instance());
    connect(service, &ListingDetailService::storeDownloadFinished, service, &QObject::deleteLater);
    service->refreshOneListing(id);
}

void HighSeperateReportHistoryWidget::openHouseDetail(int id)
{
    if (id > 0 && detailOpener())
        detailOpener()(this, id);
}

void HighSeperateReportHistoryWidget::downloadHistoryData()
{
    m_overlay->start(QStringLiteral("数据加载中..."));
    m_service->loadLast30Days();
}

void HighSeperateReportHistoryWidget::dealHistoryData(const QList<ItemData> &reports)
{
    if (reports.isEmpty()) {
        AlertWidget::warning(QStringLiteral("当前没有可供审核的数据！"));
        return;
    }
    ReportExport::save(this, reports, m_excelLibrary);
}
