#include "housebookmessagedetailwidget.h"

#include "detail/mysalehousedetailwidget.h"
#include "platform/housebookcodes.h"

#include <QGridLayout>
#include <QStackedWidget>
#include <QTimer>

namespace {
constexpr int kLoadDelayMs = 30;
}

HouseBookMessageDetailWidget::HouseBookMessageDetailWidget(QWidget *parent, int firstTab, int firstPageFlag)
    : QWidget(parent)
    , m_firstTab(firstTab)
    , m_firstPageFlag(firstPageFlag)
{
    resize(900, 650);
    auto *grid = new QGridLayout(this);
    grid->setObjectName(QStringLiteral("gridLayout"));
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("stackedWidget"));
    grid->addWidget(m_stack, 0, 0);
}

void HouseBookMessageDetailWidget::showHouseId(int id)
{
    showHouseAt(0, QList<int>{id}, false);
}

void HouseBookMessageDetailWidget::showHouseAt(int index, const QList<int> &ids, bool refreshed)
{
    if (index < 0 || index >= ids.size())
        return;
    m_wantedIndex = index;
    m_wantedIds = ids;
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer, index, ids, refreshed] {
        timer->deleteLater();
        load(index, ids, refreshed);
    });
    timer->start(kLoadDelayMs);
}

void HouseBookMessageDetailWidget::load(int index, const QList<int> &ids, bool refreshed)
{
    m_index = index;
    m_ids = ids;
    m_refreshed = refreshed;
    emit pageChange(index);
    const int id = ids.at(index);
    m_record = HouseMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).getHouseData(id);
    if (!m_window)
        createWindow();
    m_window->houseDataDeal(m_record, id, ids.size() <= 1, refreshed);
    if (m_stack->indexOf(m_window) < 0)
        m_stack->addWidget(m_window);
    m_stack->setCurrentWidget(m_window);
}

void HouseBookMessageDetailWidget::createWindow()
{
    m_window = new MySaleHouseDetailWidget(this, m_firstTab, m_firstPageFlag);
    connect(m_window, &MySaleHouseDetailWidget::closeWidget, this, &HouseBookMessageDetailWidget::closeWidget);
    connect(m_window, &MySaleHouseDetailWidget::lastPage, this, &HouseBookMessageDetailWidget::stepBack);
    connect(m_window, &MySaleHouseDetailWidget::nextPage, this, &HouseBookMessageDetailWidget::stepForward);
    connect(m_window, &MySaleHouseDetailWidget::refreshBaseMessage, this, &HouseBookMessageDetailWidget::reload);
    connect(m_window, &MySaleHouseDetailWidget::loadHouseId, this, &HouseBookMessageDetailWidget::showHouseId);
}

// Steps and reloads start from the last position asked for, not the last one loaded: a
// reload asked while a step to the next page is still pending would otherwise bring the
// old page's listing back after it.
void HouseBookMessageDetailWidget::stepBack()
{
    if (m_wantedIndex > 0)
        showHouseAt(m_wantedIndex - 1, m_wantedIds, false);
    else
        emit lastPage(this);
}

void HouseBookMessageDetailWidget::stepForward()
{
    if (m_wantedIndex < m_wantedIds.size() - 1)
        showHouseAt(m_wantedIndex + 1, m_wantedIds, false);
    else
        emit nextPage(this);
}

void HouseBookMessageDetailWidget::reload()
{
    showHouseAt(m_wantedIndex, m_wantedIds, true);
}
