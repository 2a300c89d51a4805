#include "detail/housebookcommunityhouselistwidget.h"

#include "detail/housebookmessagedetailwidget.h"
#include "sql/housequerybuilder.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/pagedlistcontroller.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

PagedListController::Refusals communityRefusals()
{
    PagedListController::Refusals r;
    r.firstPage = QStringLiteral("当前已经是第一页了！");
    r.lastPage = QStringLiteral("当前已经是最后一页了！");
    r.noTenAhead = r.lastPage;
    r.invalidPage = r.lastPage;
    return r;
}

QLabel *rowLabel(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

} // namespace

HouseBookCommunityHouseListItemView::HouseBookCommunityHouseListItemView(const HouseMessage_DataSqlTable::HouseMessageData &record,
                                                                         QWidget *parent)
    : QWidget(parent)
    , m_houseId(record.id)
{
    setObjectName(QStringLiteral("communityHouseRow"));
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#communityHouseRow{border-bottom:1px solid #EEEEEE;}"));
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(rowLabel(QStringLiteral("houseName"), record.name, this), 1);
    layout->addWidget(rowLabel(QStringLiteral("housePrice"), priceText(record), this));
    layout->addWidget(rowLabel(QStringLiteral("houseLayout"), layoutText(record), this));
}

QString HouseBookCommunityHouseListItemView::priceText(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    return record.types == 1 ? QStringLiteral("%1元/月").arg(record.price) : QStringLiteral("%1万").arg(record.price);
}

QString HouseBookCommunityHouseListItemView::layoutText(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    return QStringLiteral("%1室%2厅%3卫 %4m²").arg(record.room).arg(record.hall).arg(record.huxingwei).arg(record.builtuparea);
}

void HouseBookCommunityHouseListItemView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clicked(m_houseId);
    QWidget::mouseReleaseEvent(event);
}

HouseBookCommunityHouseListWidget::HouseBookCommunityHouseListWidget(QWidget *parent, int communityId, bool isJointSale, bool rent)
    : QWidget(parent)
    , m_communityId(communityId)
    , m_isJointSale(isJointSale)
    , m_rent(rent)
{
    setObjectName(QStringLiteral("communityHouseList"));
    m_pager = new PagedListController(communityRefusals(), PagedListController::SizeChange::FirstPage, this);
    m_pager->setPageSize(kPageSize);
    m_pager->setSort(QStringLiteral("id"), true);
    connect(m_pager, &PagedListController::pageRequested, this, [this](int page) { loadPage(page); });
    buildUi();
}

CommonAddWidget *HouseBookCommunityHouseListWidget::openFor(QWidget *parent, int communityId, bool isJointSale, bool rent)
{
    auto *list = new HouseBookCommunityHouseListWidget(nullptr, communityId, isJointSale, rent);
    CommonAddWidget *popup = openPopup(parent, PopupSize::Detail, QStringLiteral("小区"), list);
    connect(list, &HouseBookCommunityHouseListWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    list->loadPage(1);
    return popup;
}

void HouseBookCommunityHouseListWidget::buildUi()
{
    auto *rowsHost = new QWidget(this);
    m_rows = new QVBoxLayout(rowsHost);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    m_rows->addStretch();
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(rowsHost);

    auto *back = new QPushButton(QStringLiteral("上一页"), this);
    back->setObjectName(QStringLiteral("lastPageButton"));
    auto *forward = new QPushButton(QStringLiteral("下一页"), this);
    forward->setObjectName(QStringLiteral("nextPageButton"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("pageStatus"));
    connect(back, &QPushButton::clicked, this, [this] { m_pager->step(PagedListController::Back); });
    connect(forward, &QPushButton::clicked, this, [this] { m_pager->step(PagedListController::Forward); });

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_status);
    bar->addStretch();
    bar->addWidget(back);
    bar->addWidget(forward);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(bar);
}

void HouseBookCommunityHouseListWidget::loadPage(int page)
{
    HouseQuery query;
    query.mode = m_rent ? 6 : 5;
    query.activeOnly = true;
    query.columnFilters.insert(QStringLiteral("mycommunityid"), m_communityId);
    query.sortKey = m_pager->sortKey();
    query.sortDescending = m_pager->sortDescending();
    query.pageSize = kPageSize;
    HouseMessage_DataSqlTable store(nullptr, m_isJointSale);
    const int total = store.getHouseCount(query);
    // A page past the end (listings gone since the last count) falls back to the last one.
    const int pages = PagedListController::pagesFor(total, kPageSize);
    query.page = qBound(1, page, qMax(1, pages));
    m_pager->setPage(query.page);
    showRows(store.getHouseList(query));
    m_pager->setTotal(total);
    showStatus();
}

QList<HouseBookCommunityHouseListItemView *> HouseBookCommunityHouseListWidget::rows() const
{
    return findChildren<HouseBookCommunityHouseListItemView *>();
}

void HouseBookCommunityHouseListWidget::showRows(const QList<HouseMessage_DataSqlTable::HouseMessageData> &records)
{
    qDeleteAll(rows());
    for (const auto &record : records) {
        auto *row = new HouseBookCommunityHouseListItemView(record, m_rows->parentWidget());
        connect(row, &HouseBookCommunityHouseListItemView::clicked, this, &HouseBookCommunityHouseListWidget::openHouse);
        m_rows->insertWidget(m_rows->count() - 1, row);
    }
}

void HouseBookCommunityHouseListWidget::showStatus()
{
    m_status->setText(QStringLiteral("当前第%1/%2页，共%3条").arg(m_pager->page()).arg(m_pager->pageCount()).arg(m_pager->total()));
}

void HouseBookCommunityHouseListWidget::openHouse(int houseId)
{
    auto *detail = new HouseBookMessageDetailWidget(nullptr, 1, 1);
    CommonAddWidget *popup = openPopup(this, PopupSize::Detail, QString(), detail);
    connect(detail, &HouseBookMessageDetailWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    detail->showHouseId(houseId);
}
