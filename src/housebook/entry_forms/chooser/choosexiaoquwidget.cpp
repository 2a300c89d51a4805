#include "entry_forms/chooser/choosexiaoquwidget.h"

#include "entry_forms/chooser/chooserstyle.h"
#include "entry_forms/chooser/choosexiaoquitemview.h"
#include "entry_forms/chooser/failureline.h"
#include "platform/housebookcodes.h"
#include "services/communitystructureservice.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/rowlayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// Agents holding this right may record a community the search does not know.
constexpr int kAddCommunityRight = 18;

} // namespace

ChooseXiaoQuWidget::ChooseXiaoQuWidget(QWidget *parent)
    : QWidget(parent)
    , m_service(new CommunityStructureService(this))
{
    setObjectName(QStringLiteral("ChooseXiaoQuWidget"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(buildSearchBar());
    m_failure = new FailureLine(this);
    connect(m_failure, &FailureLine::retry, this, &ChooseXiaoQuWidget::downloadXiaoQu);
    layout->addWidget(m_failure);
    QScrollArea *scroll = newRowArea(this, QStringLiteral("xiaoqu_rows"), QStringLiteral("white"), &m_rows, &m_rowLayout);
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_rowLayout->setSpacing(0);
    layout->addWidget(scroll, 1);
    m_overlay = new BusyOverlay(scroll);

    connect(m_service, &CommunityStructureService::communitiesArrived, this, &ChooseXiaoQuWidget::showCommunities);
    connect(m_service, &CommunityStructureService::failed, this,
            [this](CommunityStructureService::Request, const QString &reason) { showFailure(reason); });
    connect(m_service, &CommunityStructureService::finished, m_overlay, &BusyOverlay::stop);
}

QWidget *ChooseXiaoQuWidget::buildSearchBar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_search = new QLineEdit(bar);
    m_search->setObjectName(QStringLiteral("lineEdit_search"));
    m_search->setPlaceholderText(QStringLiteral("请输入小区名称"));
    m_search->setStyleSheet(ChooserStyle::edit());
    layout->addWidget(m_search, 1);
    auto *search = new QPushButton(QStringLiteral("搜索"), bar);
    search->setObjectName(QStringLiteral("pushButton_search"));
    search->setCursor(Qt::PointingHandCursor);
    search->setStyleSheet(ChooserStyle::primaryButton());
    layout->addWidget(search);
    connect(search, &QPushButton::clicked, this, &ChooseXiaoQuWidget::downloadXiaoQu);
    connect(m_search, &QLineEdit::returnPressed, this, &ChooseXiaoQuWidget::downloadXiaoQu);
    return bar;
}

QString ChooseXiaoQuWidget::errorText() const
{
    return m_failure->text();
}

void ChooseXiaoQuWidget::setSearchText(const QString &text)
{
    m_search->setText(text);
}

void ChooseXiaoQuWidget::downloadXiaoQu()
{
    m_key = m_search->text().trimmed();
    m_failure->hide();
    m_overlay->start(QStringLiteral("加载数据中..."));
    m_service->searchCommunities(m_key);
}

void ChooseXiaoQuWidget::deal_XiaoquSearch(const QJsonValue &resultValue)
{
    m_overlay->stop();
    showCommunities(CommunityStructure::communitiesOf(resultValue));
}

void ChooseXiaoQuWidget::showCommunities(const QList<QVariantMap> &communities)
{
    m_communities = communities;
    discardRows(m_rowLayout, 1);
    for (int i = 0; i < communities.size(); ++i) {
        auto *row = new ChooseXiaoQuItemView(communities.at(i), m_rows);
        row->setObjectName(QStringLiteral("xiaoqu_%1").arg(i));
        connect(row, &ChooseXiaoQuItemView::clicked, this, [this, i] {
            if (i < m_communities.size())
                emit chooseItem(m_communities.at(i));
        });
        m_rowLayout->insertWidget(m_rowLayout->count() - 1, row);
    }
    addManualRow();
}

void ChooseXiaoQuWidget::showFailure(const QString &reason)
{
    m_overlay->stop();
    showCommunities({});
    m_failure->showFailure(QStringLiteral("小区搜索失败：%1").arg(reason));
}

void ChooseXiaoQuWidget::addManualRow()
{
    if (m_key.isEmpty())
        return;
    auto *row = ChooseXiaoQuItemView::manualRow(m_key, m_rows);
    row->setObjectName(QStringLiteral("xiaoqu_manual"));
    connect(row, &ChooseXiaoQuItemView::clicked, this, &ChooseXiaoQuWidget::chooseManual);
    m_rowLayout->insertWidget(m_rowLayout->count() - 1, row);
}

void ChooseXiaoQuWidget::chooseManual()
{
    if (!UserMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).isHaveAuthority(kAddCommunityRight)) {
        AlertWidget::warning(QStringLiteral("您当前职位不支持录入新小区档案权限,如需添加请联系管理员！"));
        return;
    }
    emit chooseItem({{QStringLiteral("name"), m_key}});
}
