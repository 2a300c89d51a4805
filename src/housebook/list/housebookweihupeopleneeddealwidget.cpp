#include "list/housebookweihupeopleneeddealwidget.h"

#include "commonsignaltool.h"
#include "detail/housebookmessagedetailwidget.h"
#include "list/housebookpaging.h"
#include "list/houselistcolumns.h"
#include "widgets/houselisttableheadview.h"
#include "list/houselisttablewidget.h"
#include "widgets/listpagingbar.h"
#include "list/syncstatehint.h"
#include "platform/housebookcodes.h"
#include "services/maintainertermsservice.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"
#include "sql/housequerybuilder.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/pagedlistcontroller.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using HouseBookCodes::kJointSale;

namespace {
// The worklist shows the days left after the book's own columns.
QVariantMap daysColumn()
{
    return {{QStringLiteral("key"), QStringLiteral("key_days")}, {QStringLiteral("title"), QStringLiteral("到期时间")},
            {QStringLiteral("sort"), true}, {QStringLiteral("rate"), 3}, {QStringLiteral("choose"), true}};
}
} // namespace

HouseBookWeiHuPeoPleNeedDealWidget::HouseBookWeiHuPeoPleNeedDealWidget(QWidget *parent, bool flag)
    : QWidget(parent)
    , m_flag(flag)
{
    m_terms = new MaintainerTermsService(this);
    buildUi();
    connectSignals();
    refreshColumns();
    downloadData();
}

void HouseBookWeiHuPeoPleNeedDealWidget::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTopBar());
    m_table = new HouseListTableWidget(this);
    m_table->setObjectName(QStringLiteral("tableWidget"));
    layout->addWidget(m_table, 1);
    m_paging = new ListPagingBar(this);
    layout->addWidget(m_paging);
    // The first page comes by the term, shortest first.
    m_pager = new PagedListController(HouseBookPaging::refusals(), PagedListController::SizeChange::FirstPage, this);
    m_pager->setSort(QStringLiteral("days"), false);
    m_pager->setPageSize(HouseBookPaging::storedPageSize(kJointSale));
    m_pager->bind(m_paging);
    m_overlay = new BusyOverlay(m_table);
    m_header = m_table->installSortHeader();
    m_header->setFixedHeight(40);
    m_loadTimer = new QTimer(this);
    m_loadTimer->setSingleShot(true);
    m_loadTimer->setInterval(100);
}

QWidget *HouseBookWeiHuPeoPleNeedDealWidget::buildTopBar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(10, 5, 10, 5);
    auto *back = new QPushButton(QIcon(QStringLiteral(":/res/icon_back.png")), QStringLiteral("返回"), bar);
    back->setObjectName(QStringLiteral("backButton"));
    connect(back, &QPushButton::clicked, this, &HouseBookWeiHuPeoPleNeedDealWidget::back_mainPage);
    auto *title = new QLabel(QStringLiteral("维护人即将到期"), bar);
    title->setStyleSheet(QStringLiteral("font-size:16px;color:black;"));
    auto *refresh = new QPushButton(QStringLiteral("刷新"), bar);
    refresh->setObjectName(QStringLiteral("refreshPushButton"));
    connect(refresh, &QPushButton::clicked, this, &HouseBookWeiHuPeoPleNeedDealWidget::updataSqlData);
    layout->addWidget(back);
    layout->addWidget(title);
    layout->addStretch(1);
    layout->addWidget(refresh);
    return bar;
}

void HouseBookWeiHuPeoPleNeedDealWidget::connectSignals()
{
    connect(m_loadTimer, &QTimer::timeout, this, &HouseBookWeiHuPeoPleNeedDealWidget::initCurrentPageDataList);
    connect(m_table, &HoverTableWidget::clickRowIndex, this, &HouseBookWeiHuPeoPleNeedDealWidget::openRow);
    connect(m_header, &QHeaderView::sectionDoubleClicked, this, &HouseBookWeiHuPeoPleNeedDealWidget::sortBySection);
    connect(m_pager, &PagedListController::pageRequested, this, &HouseBookWeiHuPeoPleNeedDealWidget::loadWithOverlay);
    // A valid size applies at once, so the bar never describes a size other than the shown one.
    connect(m_paging, &ListPagingBar::pageSizeEdited, this, [this](const QString &text) {
        m_pager->changePageSize(HouseBookPaging::storePageSizeText(text, kJointSale));
    });
    connect(BookSyncStatus::instance(), &BookSyncStatus::stateChanged, this, [this](bool isJointSale) {
        if (isJointSale == kJointSale)
            m_loadTimer->start();
    });
    connect(CommonSignalTool::Instance(), &CommonSignalTool::localHouseChange, this,
            &HouseBookWeiHuPeoPleNeedDealWidget::dealMsg);
    connect(m_terms, &MaintainerTermsService::termsStored, this, &HouseBookWeiHuPeoPleNeedDealWidget::termsStored);
    connect(m_terms, &MaintainerTermsService::downloadFailed, this, [this](const QString &reason) {
        m_downloadFailure = reason;
        m_loadTimer->start();
    });
}

void HouseBookWeiHuPeoPleNeedDealWidget::refreshColumns()
{
    m_columns = HouseListColumns::visibleColumns(m_flag, m_table->viewport()->width(), kJointSale);
    m_columns << daysColumn();
    m_table->setColumns(m_columns);
    // The first page comes by the term: its header shows the direction.
    if (m_pager->sortKey() == QLatin1String("days"))
        m_header->setCurrentSection(m_columns.size() - 1);
}


void HouseBookWeiHuPeoPleNeedDealWidget::dealMsg(QVariant value)
{
    Q_UNUSED(value)
    m_loadTimer->start();
}

void HouseBookWeiHuPeoPleNeedDealWidget::refreshPage()
{
    ++m_refreshCount;
    m_pager->setPageSize(HouseBookPaging::storedPageSize(kJointSale));
    m_pager->setPage(1);
    downloadData();
}

void HouseBookWeiHuPeoPleNeedDealWidget::updataSqlData()
{
    m_pager->setPage(1);
    downloadData();
}

// A failed download still shows the terms stored by the last one.
void HouseBookWeiHuPeoPleNeedDealWidget::downloadData()
{
    m_table->setEmptyText(QString());
    m_overlay->start(QStringLiteral("获取房源列表中..."));
    m_terms->download();
}

void HouseBookWeiHuPeoPleNeedDealWidget::dealDealData(QJsonValue value)
{
    MaintainerTermsService::storeTerms(value);
    termsStored();
}

void HouseBookWeiHuPeoPleNeedDealWidget::termsStored()
{
    m_downloadFailure.clear();
    m_pager->setSort(QStringLiteral("days"), m_pager->sortDescending());
    m_pager->setPage(1);
    m_loadTimer->start();
}

void HouseBookWeiHuPeoPleNeedDealWidget::initCurrentPageDataList()
{
    m_loadTimer->stop();
    HouseQuery query;
    query.mode = HouseBookCodes::allListingsMode(m_flag);
    query.sortKey = m_pager->sortKey();
    query.sortDescending = m_pager->sortDescending();
    query.page = m_pager->page();
    query.pageSize = m_pager->pageSize();
    query.fields = HouseListColumns::fieldsFor(m_columns);
    HouseMessage_DataSqlTable store(nullptr, kJointSale);
    const QList<Record> list = store.weihuHouseList(query);
    const int count = store.weihuHouseCount(query);
    houseListData(list);
    houseCount(count);
    m_overlay->stop();
    m_table->setEmptyText(emptyText());
}

// An empty worklist is "nothing due" only when both the book and the terms were fetched.
QString HouseBookWeiHuPeoPleNeedDealWidget::emptyText() const
{
    if (!m_downloadFailure.isEmpty())
        return SyncStateHint::html(QStringLiteral("维护人数据获取失败：%1<br/>请点击右上角“刷新”重试。")
                                       .arg(m_downloadFailure.toHtmlEscaped()));
    return SyncStateHint::emptyText(kJointSale, SyncStateHint::html(QStringLiteral("暂无即将到期的房源")));
}

void HouseBookWeiHuPeoPleNeedDealWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FirstBookDownload::startIfNeeded(kJointSale);
}

int HouseBookWeiHuPeoPleNeedDealWidget::page() const { return m_pager->page(); }
int HouseBookWeiHuPeoPleNeedDealWidget::pageSize() const { return m_pager->pageSize(); }
int HouseBookWeiHuPeoPleNeedDealWidget::total() const { return m_pager->total(); }
int HouseBookWeiHuPeoPleNeedDealWidget::pageCount() const { return m_pager->pageCount(); }
QString HouseBookWeiHuPeoPleNeedDealWidget::sortKey() const { return m_pager->sortKey(); }
bool HouseBookWeiHuPeoPleNeedDealWidget::sortDescending() const { return m_pager->sortDescending(); }

void HouseBookWeiHuPeoPleNeedDealWidget::houseListData(QList<HouseMessage_DataSqlTable::HouseMessageData> list)
{
    m_listings = list;
    HouseListColumns::renderPage(m_table, m_columns, m_table->viewport()->width(), m_pager->pageSize(), m_listings);
}

void HouseBookWeiHuPeoPleNeedDealWidget::houseCount(int count)
{
    m_pager->setTotal(count);
    emit back_count(count);
}

// Sorted like the list page, and by the term under "到期时间".
void HouseBookWeiHuPeoPleNeedDealWidget::sortBySection(int section)
{
    if (section < 0 || section >= m_columns.size())
        return;
    const QString key =
        HouseListColumns::sortKeyForTitle(m_columns.at(section).value(QStringLiteral("title")).toString(), true);
    if (key.isEmpty())
        return;
    m_header->setCurrentSection(section);
    m_pager->sortBy(key, m_header->isDescending());
}

void HouseBookWeiHuPeoPleNeedDealWidget::loadWithOverlay()
{
    m_listings.clear();
    m_table->setRows(m_listings);
    m_overlay->start(QStringLiteral("获取房源列表中..."));
    m_loadTimer->start();
}

void HouseBookWeiHuPeoPleNeedDealWidget::openRow(int row)
{
    if (row < 0 || row >= m_listings.size())
        return;
    auto *detail = new HouseBookMessageDetailWidget(nullptr, 1, 1);
    CommonAddWidget *popup = openPopup(this, PopupSize::Detail, QString(), detail);
    connect(detail, &HouseBookMessageDetailWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    connect(detail, &HouseBookMessageDetailWidget::lastPage, this, &HouseBookWeiHuPeoPleNeedDealWidget::detailPageLastPage);
    connect(detail, &HouseBookMessageDetailWidget::nextPage, this, &HouseBookWeiHuPeoPleNeedDealWidget::detailPageNextPage);
    detail->showHouseAt(row, listingIds(), false);
}

QList<int> HouseBookWeiHuPeoPleNeedDealWidget::listingIds() const
{
    QList<int> ids;
    for (const Record &r : m_listings) {
        if (r.id > 0)
            ids << r.id;
    }
    return ids;
}

// The detail window stepped past the ends of this page: it goes on with the neighbouring one.
void HouseBookWeiHuPeoPleNeedDealWidget::detailPageLastPage(HouseBookMessageDetailWidget *w)
{
    if (!m_pager->stepWithoutRequest(PagedListController::Back))
        return;
    initCurrentPageDataList();
    if (w)
        w->showHouseAt(listingIds().size() - 1, listingIds(), false);
}

void HouseBookWeiHuPeoPleNeedDealWidget::detailPageNextPage(HouseBookMessageDetailWidget *w)
{
    if (!m_pager->stepWithoutRequest(PagedListController::Forward))
        return;
    initCurrentPageDataList();
    if (w)
        w->showHouseAt(0, listingIds(), false);
}
