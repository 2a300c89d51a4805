#include "separation/evidencecontractchoosewidget.h"

#include "separation/evidencetexts.h"
#include "services/separationservice.h"
#include "widgets/busyoverlay.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

EvidenceContractChooseWidget::EvidenceContractChooseWidget(Kind kind, const HouseMessage_DataSqlTable::HouseMessageData &house,
                                                           QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_house(house)
    , m_service(new SeparationService(this))
{
    setObjectName(QStringLiteral("contractChooser"));
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->setPlaceholderText(kind == DealContracts ? QStringLiteral("请输入小区名称搜索")
                                                       : QStringLiteral("请输入合同编号搜索"));
    auto *go = new QPushButton(QStringLiteral("搜索"), this);
    go->setObjectName(QStringLiteral("searchButton"));
    bar->addWidget(m_search, 1);
    bar->addWidget(go);
    layout->addLayout(bar);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("contractList"));
    m_list->setWordWrap(true);
    layout->addWidget(m_list, 1);
    m_busy = new BusyOverlay(this);

    connect(go, &QPushButton::clicked, this, &EvidenceContractChooseWidget::search);
    connect(m_search, &QLineEdit::returnPressed, this, &EvidenceContractChooseWidget::search);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { choose(m_list->row(item)); });
    connect(m_service, &SeparationService::dealContractsLoaded, this, &EvidenceContractChooseWidget::showContracts);
    connect(m_service, &SeparationService::eleContractsLoaded, this, &EvidenceContractChooseWidget::showContracts);
    connect(m_service, &SeparationService::finished, m_busy, &BusyOverlay::stop);
    search();
}

QString EvidenceContractChooseWidget::titleOf(Kind kind)
{
    return kind == DealContracts ? QStringLiteral("选择合同") : QStringLiteral("选择dud合同");
}

void EvidenceContractChooseWidget::search()
{
    m_busy->start(QStringLiteral("加载中..."));
    const QString text = m_search->text().trimmed();
    if (m_kind == DealContracts)
        m_service->loadDealContracts(m_house.types == 1, m_house.address, text);
    else
        m_service->loadEleContracts(text);
}

void EvidenceContractChooseWidget::showContracts(const QList<QVariantMap> &contracts)
{
    m_contracts = contracts;
    m_list->clear();
    const QString line = QString::fromUtf8(m_kind == DealContracts ? EvidenceTexts::kDealContractLine
                                                                   : EvidenceTexts::kEleContractLine);
    for (const QVariantMap &contract : contracts)
        m_list->addItem(EvidenceTexts::fill(line, contract));
}

void EvidenceContractChooseWidget::choose(int row)
{
    if (row >= 0 && row < m_contracts.size())
        emit contractChosen(m_contracts.at(row));
}
