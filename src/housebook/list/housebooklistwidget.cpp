#include "list/housebooklistwidget.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"

#include "commonsignaltool.h"
#include "datacenter.h"
#include "helpquestionwidget.h"
#include "list/housebookpaging.h"
#include "list/houselistcolumns.h"
#include "widgets/houselisttableheadview.h"
#include "list/housesearchview.h"
#include "list/houselisttablewidget.h"
#include "widgets/listpagingbar.h"
#include "list/syncstatehint.h"
#include "platform/housebookcodes.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housecountcache.h"
#include "sql/housecountworker.h"
#include "sql/housequerybuilder.h"
#include "sql/sqlliteral.h"
#include "widgets/busyoverlay.h"
#include "widgets/pagedlistcontroller.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using HouseBookCodes::isSaleMode;
using HouseBookCodes::kJointSale;

namespace {
constexpr int kDeferMs = 100;
constexpr int kSaleStatusItem = 20;
constexpr int kRentStatusItem = 37;
constexpr int kKeywordItem = 23;

bool &countsInBackground()
{
    static bool on = true;
    return on;
}

QString emptyHint()
{
    return QStringLiteral("<p style=\"font-size:14px;\">木有找到呀！(请点击左下角<span style=\"color:#ff0000;\">查看范围"
                          "</span>确认是否有查看权限)</p>");
}

QString queryFailedText()
{
    return QStringLiteral("查询失败：读取本机房源时出错，可点击“重试”重新查询。");
}

QString shortenedText()
{
    return QStringLiteral("搜索内容过长，已截短后搜索（每项最多%1个字、%2个选项）。")
        .arg(SqlLiteral::kMaxSearchText)
        .arg(SqlLiteral::kMaxSearchItems);
}

QPushButton *newRetryButton(QWidget *parent, const QString &objectName)
{
    auto *retry = new QPushButton(QStringLiteral("重试"), parent);
    retry->setObjectName(objectName);
    retry->setCursor(Qt::PointingHandCursor);
    retry->setStyleSheet(QStringLiteral("QPushButton{background-color:rgb(12,145,235);color:white;border:none;"
                                        "border-radius:3px;padding:3px 14px;}"));
    return retry;
}

// The words the agent searched for, shown in red in the community cells: the free words of
// the keyword (not the worklists' own keywords) and the community name, as far as searched.
QStringList searchWordsOf(const QVariantMap &conditions)
{
    static const QStringList worklistWords{QStringLiteral("待处理"), QStringLiteral("待审核房源"),
                                           QStringLiteral("待审核")};
    QString text = SqlLiteral::text(conditions.value(QStringLiteral("keyWord")));
    text.replace(QChar(0x3000), QLatin1Char(' '));
    QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &w : worklistWords)
        words.removeAll(w);
    const QString name = SqlLiteral::text(conditions.value(QStringLiteral("name")));
    if (!name.isEmpty() && !words.contains(name))
        words << name;
    return words;
}

// "A,B,C,D" of the company's status classes, in class order.
QString defaultStatusText(bool sale)
{
    const QStringList names = HouseBookSet_SqlTable(nullptr, kJointSale).classStateNames(sale);
    return QStringLiteral("%1,%2,%3,%4").arg(names.at(0), names.at(1), names.at(2), names.at(3));
}
} // namespace

HouseBookListWidget::HouseBookListWidget(QWidget *parent) : QWidget(parent)
{
    buildUi();
    connectSignals();
    connectChanges();
}

void HouseBookListWidget::setCountsInBackground(bool on)
{
    countsInBackground() = on;
}

void HouseBookListWidget::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_searchView = new HouseSearchView(this);
    m_searchView->setObjectName(QStringLiteral("houseSearchView"));
    m_searchView->setJointSale(kJointSale);
    layout->addWidget(m_searchView);
    layout->addWidget(buildSyncFailBar());
    layout->addWidget(buildSearchNoticeBar());
    m_table = new HouseListTableWidget(this);
    m_table->setObjectName(QStringLiteral("tableWidget"));
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_table, 1);
    layout->addWidget(buildBottomBar());
    m_menu = new QMenu(m_table);
    m_menu->setObjectName(QStringLiteral("tableMenu"));
    m_overlay = new BusyOverlay(m_table);
    m_loadTimer = new QTimer(this);
    m_loadTimer->setObjectName(QStringLiteral("loadTimer"));
    m_loadTimer->setSingleShot(true);
    m_loadTimer->setInterval(kDeferMs);
    m_counter = new HouseCountWorker(this);
}

// Shown while the book could not be fetched from the server: what failed, that the listings
// below are the ones kept on this computer, and a way to try again.
QWidget *HouseBookListWidget::buildSyncFailBar()
{
    m_syncFailBar = new QWidget(this);
    m_syncFailBar->setObjectName(QStringLiteral("syncFailBar"));
    m_syncFailBar->setAttribute(Qt::WA_StyledBackground);
    m_syncFailBar->setStyleSheet(QStringLiteral("#syncFailBar{background-color:rgb(255,240,240);}"));
    auto *layout = new QHBoxLayout(m_syncFailBar);
    layout->setContentsMargins(10, 4, 10, 4);
    m_syncFailLabel = new QLabel(m_syncFailBar);
    m_syncFailLabel->setObjectName(QStringLiteral("syncFailLabel"));
    m_syncFailLabel->setTextFormat(Qt::PlainText);
    m_syncFailLabel->setStyleSheet(QStringLiteral("color:rgb(220,40,40);font-size:13px;"));
    auto *retry = newRetryButton(m_syncFailBar, QStringLiteral("syncRetryButton"));
    connect(retry, &QPushButton::clicked, this, [] { BookSyncStatus::instance()->retry(kJointSale); });
    layout->addWidget(m_syncFailLabel, 1);
    layout->addWidget(retry);
    m_syncFailBar->hide();
    return m_syncFailBar;
}

// Under the search bar: that the search used shortened texts, or that the query failed (rows
// could not be read, which must not pass for "nothing found") with a way to query again.
QWidget *HouseBookListWidget::buildSearchNoticeBar()
{
    m_searchNoticeBar = new QWidget(this);
    m_searchNoticeBar->setObjectName(QStringLiteral("searchNoticeBar"));
    auto *layout = new QHBoxLayout(m_searchNoticeBar);
    layout->setContentsMargins(10, 4, 10, 4);
    m_searchNoticeLabel = new QLabel(m_searchNoticeBar);
    m_searchNoticeLabel->setObjectName(QStringLiteral("searchNoticeLabel"));
    m_searchNoticeLabel->setTextFormat(Qt::PlainText);
    m_searchRetryButton = newRetryButton(m_searchNoticeBar, QStringLiteral("searchRetryButton"));
    connect(m_searchRetryButton, &QPushButton::clicked, this, &HouseBookListWidget::loadWithOverlay);
    layout->addWidget(m_searchNoticeLabel, 1);
    layout->addWidget(m_searchRetryButton);
    m_searchNoticeBar->hide();
    return m_searchNoticeBar;
}

QWidget *HouseBookListWidget::buildBottomBar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(10, 0, 0, 0);
    auto *watchRange = new QPushButton(QStringLiteral("查看范围"), bar);
    watchRange->setObjectName(QStringLiteral("pushButton_watchRange"));
    watchRange->setCursor(Qt::PointingHandCursor);
    watchRange->setStyleSheet(QStringLiteral("QPushButton{border:none;color:rgb(12,145,235);font-size:13px;}"));
    connect(watchRange, &QPushButton::clicked, this, &HouseBookListWidget::showWatchRange);
    auto *tip = new HelpQuestionWidget(bar);
    tip->setObjectName(QStringLiteral("widget_tip_34"));
    tip->setTipId(34);
    layout->addWidget(watchRange);
    layout->addWidget(tip);
    m_paging = new ListPagingBar(bar);
    layout->addWidget(m_paging, 1);
    m_pager = new PagedListController(HouseBookPaging::refusals(), PagedListController::SizeChange::KeepFirstRow, this);
    m_pager->setSort(QStringLiteral("id"), true);
    m_pager->bind(m_paging);
    return bar;
}

void HouseBookListWidget::connectSignals()
{
    connect(m_loadTimer, &QTimer::timeout, this, &HouseBookListWidget::loadNow);
    connect(m_counter, &HouseCountWorker::counted, this,
            [this](int, int count, bool failed) { countArrived(count, failed); });
    connect(m_table, &QWidget::customContextMenuRequested, this, &HouseBookListWidget::showTableMeun);
    connect(m_table, &HoverTableWidget::clickRowIndex, this, &HouseBookListWidget::openRow);
    connect(m_searchView, &HouseSearchView::searchParam, this,
            [this](const QVariantMap &map, const QList<QVariantMap> &) { newSearch(map); });
    connect(m_pager, &PagedListController::pageRequested, this, &HouseBookListWidget::loadWithOverlay);
    connect(m_paging, &ListPagingBar::pageSizeEdited, this, &HouseBookListWidget::pageSizeEdited);
    connect(CommonSignalTool::Instance(), &CommonSignalTool::localHouseChange, this,
            &HouseBookListWidget::refreshData);
    connect(CommonSignalTool::Instance(), &CommonSignalTool::houseBookSetChange, this,
            &HouseBookListWidget::houseSetChange);
    connect(BookSyncStatus::instance(), &BookSyncStatus::stateChanged, this, [this](bool isJointSale) {
        if (isJointSale == kJointSale)
            syncStateChanged();
    });
}

void HouseBookListWidget::setMode(int mode, int subMode)
{
    m_mode = mode;
    m_subMode = subMode;
    m_pager->setPage(1);
    m_pager->setPageSize(HouseBookPaging::storedPageSize(kJointSale));
    m_searchView->setItemsFromSettings(isSaleMode(mode) ? HouseBookSet_SqlTable::SaleBook
                                                        : HouseBookSet_SqlTable::RentBook);
    applyDefaultStatus();
    sortDeal();
    refreshData();
}

void HouseBookListWidget::applyDefaultStatus()
{
    const bool sale = isSaleMode(m_mode);
    const int item = sale ? kSaleStatusItem : kRentStatusItem;
    if (!m_searchView->hasItem(item))
        return;
    const QString text = defaultStatusText(sale);
    m_conditions.insert(QStringLiteral("state"), text);
    m_searchView->setItemValue(item, text);
}

void HouseBookListWidget::showNeedDeal() { showWorklist(QStringLiteral("待处理")); }
void HouseBookListWidget::showNeedReview() { showWorklist(QStringLiteral("待审核房源")); }
void HouseBookListWidget::showNeedXieZuo() { showWorklist(QStringLiteral("待审核")); }

void HouseBookListWidget::showWorklist(const QString &keyWord)
{
    m_searchView->clearData();
    m_searchView->setItemValue(kKeywordItem, keyWord);
    m_conditions = QVariantMap{{QStringLiteral("keyWord"), keyWord}};
    m_pager->setPage(1);
    refreshData();
}

// The count does not wait for the load's deferral: it depends on neither the page nor the
// columns, and on a large book it takes longer than the page.
void HouseBookListWidget::refreshData()
{
    m_loadTimer->start();
    if (countsInBackground()) {
        HouseMessage_DataSqlTable store(nullptr, kJointSale);
        knownCount(store, currentQuery());
    }
}

// While the listing sync of the joint-sale book runs, its end announces the changed
// listings anyway; reloading now would read a half-written table.
void HouseBookListWidget::houseSetChange()
{
    // A new page size starts the book again from its first page, so no page is skipped.
    const int size = HouseBookPaging::storedPageSize(kJointSale);
    if (size != m_pager->pageSize()) {
        m_pager->setPageSize(size);
        m_pager->setPage(1);
        m_paging->showPageSize(size);
    }
    m_searchView->setItemsFromSettings(isSaleMode(m_mode) ? HouseBookSet_SqlTable::SaleBook
                                                          : HouseBookSet_SqlTable::RentBook);
    applyDefaultStatus();
    refreshColumns();
    const QByteArray &flags = DataCenter::refreshStateOfDB;
    if (flags.size() > 1 && flags.at(1) != 0)
        return;
    refreshData();
}

void HouseBookListWidget::refreshColumns()
{
    m_columns = HouseListColumns::visibleColumns(isSaleMode(m_mode), 1000, kJointSale);
    m_fields = HouseListColumns::fieldsFor(m_columns);
    m_table->setColumns(m_columns);
}

void HouseBookListWidget::sortDeal()
{
    if (!m_header) {
        m_header = m_table->installSortHeader();
        m_header->setFixedHeight(40);
        connect(m_header, &QHeaderView::sectionDoubleClicked, this, &HouseBookListWidget::sortBySection);
    }
    refreshColumns();
}

void HouseBookListWidget::sortBySection(int section)
{
    if (section < 0 || section >= m_columns.size() || !m_header)
        return;
    const QString key = HouseListColumns::sortKeyForTitle(m_columns.at(section).value(QStringLiteral("title")).toString());
    if (key.isEmpty())
        return;
    m_header->setCurrentSection(section);
    m_pager->sortBy(key, m_header->isDescending());
}

void HouseBookListWidget::refreshPage()
{
    m_pager->setPageSize(HouseBookPaging::storedPageSize(kJointSale));
    m_pager->setSort(QStringLiteral("id"), true);
    m_conditions.clear();
    m_pager->setPage(1);
    m_searchView->setItemsFromSettings(isSaleMode(m_mode) ? HouseBookSet_SqlTable::SaleBook
                                                          : HouseBookSet_SqlTable::RentBook);
    applyDefaultStatus();
    sortDeal();
    loadWithOverlay();
}

void HouseBookListWidget::newSearch(const QVariantMap &map)
{
    m_conditions = map;
    m_pager->restart();
}

void HouseBookListWidget::loadWithOverlay()
{
    // No "nothing found" while the rows are being fetched: only a finished load may say so.
    m_table->setEmptyText(QString());
    m_listings.clear();
    m_table->setRows(m_listings);
    m_overlay->start(QStringLiteral("获取房源列表中..."));
    refreshData();
}

HouseQuery HouseBookListWidget::currentQuery() const
{
    HouseQuery query;
    query.mode = m_mode;
    query.subMode = m_subMode;
    query.activeOnly = false;
    query.conditions = m_conditions;
    query.sortKey = m_pager->sortKey();
    query.sortDescending = m_pager->sortDescending();
    query.page = m_pager->page();
    query.pageSize = m_pager->pageSize();
    query.fields = m_fields;
    return query;
}

void HouseBookListWidget::loadNow()
{
    m_loadTimer->stop();
    if (m_fields.isEmpty())
        m_fields = HouseListColumns::fieldsFor(m_columns);
    const HouseQuery query = currentQuery();
    HouseMessage_DataSqlTable store(nullptr, kJointSale);
    m_table->setSearchWords(searchWordsOf(m_conditions));
    const QList<Record> list = store.getHouseList(query);
    houseListData(list);
    if (!countsInBackground()) {
        houseCount(store.getHouseCount(query));
    } else {
        const int known = knownCount(store, query);
        if (known >= 0)
            houseCount(known);
        else
            m_pager->setCounting(list.size() >= m_pager->pageSize());
    }
    m_overlay->stop();
    showSyncState();
    showQueryState(store.queryFailed(), HouseQueryBuilder::cutsConditions(m_conditions));
}

// The count of a query when the cache holds it for the table as it is now; else -1, and the
// worker counts it. A count of the same query already under way on the same data is left to
// finish (turning pages does not start it again); any other query makes it stale.
int HouseBookListWidget::knownCount(HouseMessage_DataSqlTable &store, const HouseQuery &query)
{
    if (DataCenter::UserPhoneNumber.isEmpty()) {  // nothing to count, as the store answers then
        m_counter->cancel();
        return 0;
    }
    const QString statement = store.countStatement(query);
    HouseCountCache *cache = HouseCountCache::instance();
    const HouseCountCache::Ticket ticket = cache->ticket(statement, kJointSale);
    const int cached = cache->lookup(ticket);
    if (cached >= 0) {
        m_counter->cancel();
        return cached;
    }
    if (!m_counter->isPending() || ticket.key != m_countKey || ticket.version != m_countVersion) {
        m_countKey = ticket.key;
        m_countVersion = ticket.version;
        m_counter->request(statement, kJointSale);
    }
    return -1;
}

void HouseBookListWidget::countArrived(int count, bool failed)
{
    if (!failed) {
        HouseCountCache::Ticket ticket;
        ticket.key = m_countKey;
        ticket.version = m_countVersion;
        HouseCountCache::instance()->store(ticket, count);
    }
    // A count that arrives before its page (it starts before the load's deferral) waits for it.
    if (m_loadTimer->isActive())
        return;
    houseCount(count);
    showSyncState();
    if (failed)
        showQueryState(true, HouseQueryBuilder::cutsConditions(m_conditions));
}

void HouseBookListWidget::showQueryState(bool failed, bool shortened)
{
    m_searchNoticeBar->setVisible(failed || shortened);
    m_searchNoticeLabel->setText(failed ? queryFailedText() : shortenedText());
    m_searchNoticeLabel->setStyleSheet(failed ? QStringLiteral("color:rgb(220,40,40);font-size:13px;")
                                              : QStringLiteral("color:rgb(150,100,0);font-size:13px;"));
    m_searchRetryButton->setVisible(failed);
    if (failed)
        m_table->setEmptyText(SyncStateHint::html(QStringLiteral("查询失败，请点击上方“重试”重新查询。")));
}

void HouseBookListWidget::syncStateChanged()
{
    // A finished download brings listings (or their absence) the page has not read yet.
    if (BookSyncStatus::instance()->state(kJointSale) != BookSyncStatus::Running)
        refreshData();
    showSyncState();
}

// What the page says besides its rows: a failed download above the table, and instead of
// the empty table's "nothing found" the download under way or the failure, so an agent
// never takes a network fault for a missing right.
void HouseBookListWidget::showSyncState()
{
    BookSyncStatus *status = BookSyncStatus::instance();
    const BookSyncStatus::State state = status->state(kJointSale);
    m_syncFailBar->setVisible(state == BookSyncStatus::Failed);
    m_syncFailLabel->setText(QStringLiteral("房源同步失败：%1。%2可点击“重试”重新同步。")
                                 .arg(status->lastError(kJointSale),
                                      m_pager->total() > 0 || !m_listings.isEmpty() ? QStringLiteral("下方显示的是本机已保存的房源，") : QString()));
    m_table->setEmptyText(m_pager->total() == 0 ? SyncStateHint::emptyText(kJointSale, emptyHint()) : emptyHint());
}

void HouseBookListWidget::pageChange()
{
    m_paging->jumpToTyped();
}

// A valid size applies at once, on the page that holds the first row shown so far, so the
// bar never describes a size other than the one on screen.
void HouseBookListWidget::pageSizeEdited(const QString &text)
{
    m_pager->changePageSize(HouseBookPaging::storePageSizeText(text, kJointSale));
}

int HouseBookListWidget::page() const { return m_pager->page(); }
int HouseBookListWidget::pageSize() const { return m_pager->pageSize(); }
int HouseBookListWidget::total() const { return m_pager->total(); }
int HouseBookListWidget::pageCount() const { return m_pager->pageCount(); }
bool HouseBookListWidget::counting() const { return m_pager->isCounting(); }
QString HouseBookListWidget::sortKey() const { return m_pager->sortKey(); }
bool HouseBookListWidget::sortDescending() const { return m_pager->sortDescending(); }

void HouseBookListWidget::houseListData(QList<HouseMessage_DataSqlTable::HouseMessageData> list)
{
    m_listings = list;
    renderTable();
}

void HouseBookListWidget::renderTable()
{
    const int barWidth = m_searchView->width();
    HouseListColumns::renderPage(m_table, m_columns, barWidth > 100 ? barWidth : m_table->viewport()->width(),
                                 m_pager->pageSize(), m_listings);
}

void HouseBookListWidget::houseCount(int count)
{
    m_pager->setTotal(count);
}

void HouseBookListWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FirstBookDownload::startIfNeeded(kJointSale);
    const int stored = HouseBookPaging::storedPageSize(kJointSale);
    if (stored == m_pager->pageSize())
        return;
    m_pager->setPageSize(stored);
    m_paging->showPageSize(stored);
    refreshData();
}

void HouseBookListWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isActiveWindow() && !m_listings.isEmpty())
        renderTable();
}
