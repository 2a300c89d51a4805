#include "separation/houseseperateoperatehistorylistwidget.h"

#include "services/separationservice.h"
#include "widgets/busyoverlay.h"
#include "widgets/pagedlistcontroller.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

PagedListController::Refusals historyRefusals()
{
    return {QStringLiteral("当前已经是第一页了，无法向上翻页了！"), QStringLiteral("当前已经是最后一页了，无法向下翻页了！"),
            QStringLiteral("后面没有十页内容了！"), QStringLiteral("请选择有效的页数！")};
}

QPushButton *stepButton(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

} // namespace

HouseSeperateOperateHistoryListWidget::HouseSeperateOperateHistoryListWidget(const QString &entryId, QWidget *parent)
    : QWidget(parent)
    , m_entryId(entryId)
    , m_service(new SeparationService(this))
    , m_pager(new PagedListController(historyRefusals(), PagedListController::SizeChange::FirstPage, this))
    , m_list(new QListWidget(this))
    , m_pageLabel(new QLabel(this))
    , m_overlay(new BusyOverlay(this))
{
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setWordWrap(true);
    m_pageLabel->setObjectName(QStringLiteral("label_page"));
    auto *back = stepButton(QStringLiteral("pushButton_lastPage"), QStringLiteral("上一页"), this);
    auto *forward = stepButton(QStringLiteral("pushButton_nextPage"), QStringLiteral("下一页"), this);
    auto *bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(back);
    bar->addWidget(m_pageLabel);
    bar->addWidget(forward);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(bar);
    connect(back, &QPushButton::clicked, this, &HouseSeperateOperateHistoryListWidget::lastPage);
    connect(forward, &QPushButton::clicked, this, &HouseSeperateOperateHistoryListWidget::nextPage);
    connect(m_pager, &PagedListController::pageRequested, this, [this](int page) { load(page); });
    connect(m_service, &SeparationService::historyLoaded, this, &HouseSeperateOperateHistoryListWidget::showLines);
    connect(m_service, &SeparationService::finished, m_overlay, &BusyOverlay::stop);
    m_pager->setPageSize(20);
    load(1);
}

int HouseSeperateOperateHistoryListWidget::page() const
{
    return m_pager->page();
}

QString HouseSeperateOperateHistoryListWidget::lineOf(const QVariantMap &row)
{
    return QStringLiteral("%1：%2%3").arg(row.value(QStringLiteral("author")).toString(),
                                         row.value(QStringLiteral("content")).toString(),
                                         row.value(QStringLiteral("time")).toString());
}

void HouseSeperateOperateHistoryListWidget::lastPage()
{
    m_pager->step(PagedListController::Back);
}

void HouseSeperateOperateHistoryListWidget::nextPage()
{
    m_pager->step(PagedListController::Forward);
}

void HouseSeperateOperateHistoryListWidget::load(int page)
{
    m_overlay->start();
    m_service->loadHistory(m_entryId, page);
}

void HouseSeperateOperateHistoryListWidget::showLines(const QList<QVariantMap> &rows, int total)
{
    m_lines.clear();
    m_list->clear();
    for (const QVariantMap &row : rows) {
        m_lines << lineOf(row);
        m_list->addItem(m_lines.last());
    }
    m_pager->setTotal(total);
    m_pageLabel->setText(QStringLiteral("%1/%2").arg(m_pager->page()).arg(qMax(1, m_pager->pageCount())));
}
