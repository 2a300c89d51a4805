#include "detail/describe/housebookdescribeevaluatewidget.h"

#include "detail/describe/describerights.h"
#include "detail/describe/joinertext.h"
#include "services/describeservice.h"
#include "widgets/alertwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

HouseBookDescribeEvaluateWidget::HouseBookDescribeEvaluateWidget(QWidget *parent)
    : QWidget(parent)
    , m_service(new DescribeService(this))
{
    setObjectName(QStringLiteral("describeEvaluations"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    auto *head = new QHBoxLayout;
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("label_count"));
    m_addLink = new QLabel(QStringLiteral("<a href=\"add\">点击添加></a>"), this);
    m_addLink->setObjectName(QStringLiteral("label_add"));
    head->addWidget(m_countLabel);
    head->addStretch(1);
    head->addWidget(m_addLink);
    layout->addLayout(head);

    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto *list = new QWidget(scroll);
    m_rows = new QVBoxLayout(list);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->addStretch(1);
    scroll->setWidget(list);
    layout->addWidget(scroll, 1);

    auto *entry = new QHBoxLayout;
    m_entry = new QLineEdit(this);
    m_entry->setObjectName(QStringLiteral("lineEdit_evaluate"));
    m_entry->setPlaceholderText(QStringLiteral("请添加房源评价"));
    m_entry->setMaxLength(300);
    m_send = new QPushButton(QStringLiteral("发送"), this);
    m_send->setObjectName(QStringLiteral("pushButton_send"));
    entry->addWidget(m_entry, 1);
    entry->addWidget(m_send);
    layout->addLayout(entry);

    connect(m_addLink, &QLabel::linkActivated, m_entry, [this] { m_entry->setFocus(); });
    connect(m_send, &QPushButton::clicked, this, &HouseBookDescribeEvaluateWidget::submitData);
    connect(m_entry, &QLineEdit::returnPressed, this, &HouseBookDescribeEvaluateWidget::submitData);
    connect(m_service, &DescribeService::evaluationsLoaded, this, &HouseBookDescribeEvaluateWidget::deal_listData);
    connect(m_service, &DescribeService::evaluationAdded, this, [this] {
        m_entry->clear();
        downloadData();
    });
    connect(m_service, &DescribeService::evaluationDeleted, this, &HouseBookDescribeEvaluateWidget::downloadData);
    connect(m_service, &DescribeService::finished, this, [this] { m_send->setEnabled(true); });
}

void HouseBookDescribeEvaluateWidget::dealHouseData(HouseMessage_DataSqlTable::HouseMessageData model)
{
    m_house = model;
    const DescribeRights rights = DescribeRights::of(model);
    m_entry->setVisible(rights.evaluate);
    m_send->setVisible(rights.evaluate);
    m_addLink->setVisible(rights.evaluate);
    m_model = HouseDescribeList_Model();
    showListView();
    downloadData();
}

void HouseBookDescribeEvaluateWidget::downloadData()
{
    if (m_house.id > 0)
        m_service->loadEvaluations(m_house.id);
}

void HouseBookDescribeEvaluateWidget::deal_listData(QJsonValue value)
{
    m_model.setReply(value);
    showListView();
}

QWidget *HouseBookDescribeEvaluateWidget::buildRow(const HouseDescribeList_Model::ListData &row, bool removable)
{
    auto *item = new QWidget;
    item->setObjectName(QStringLiteral("evaluationRow"));
    auto *layout = new QVBoxLayout(item);
    layout->setContentsMargins(0, 6, 0, 6);
    auto *head = new QHBoxLayout;
    auto *who = new QLabel(QStringLiteral("%1  %2").arg(row.username, row.time), item);
    who->setObjectName(QStringLiteral("label_who"));
    who->setStyleSheet(QStringLiteral("color:#999999;"));
    head->addWidget(who, 1);
    if (removable) {
        auto *remove = new QPushButton(QStringLiteral("删除"), item);
        remove->setObjectName(QStringLiteral("pushButton_delete"));
        remove->setStyleSheet(QStringLiteral("QPushButton{border:none;color:#0c91eb;}"));
        const int id = row.id;
        connect(remove, &QPushButton::clicked, this, [this, id] { deleteEvaluate(id); });
        head->addWidget(remove);
    }
    layout->addLayout(head);
    auto *content = new QLabel(row.content, item);
    content->setObjectName(QStringLiteral("label_content"));
    content->setWordWrap(true);
    content->setTextFormat(Qt::PlainText);
    layout->addWidget(content);
    return item;
}

void HouseBookDescribeEvaluateWidget::showListView()
{
    while (m_rows->count() > 1) {
        QLayoutItem *item = m_rows->takeAt(0);
        delete item->widget();
        delete item;
    }
    const bool removable = DescribeRights::of(m_house).removeEvaluation;
    const QList<HouseDescribeList_Model::ListData> rows = m_model.list();
    for (int i = 0; i < rows.size(); ++i)
        m_rows->insertWidget(i, buildRow(rows.at(i), removable && rows.at(i).id > 0));
    m_countLabel->setText(rows.isEmpty() ? QStringLiteral("暂无评价") : QStringLiteral("房屋评价（%1）").arg(m_model.total()));
}

void HouseBookDescribeEvaluateWidget::submitData()
{
    const QString content = m_entry->text().trimmed();
    if (content.isEmpty()) {
        AlertWidget::warning(QStringLiteral("请添加评价内容后再提交！"));
        return;
    }
    if (m_house.id <= 0 || !m_send->isEnabled())
        return;
    m_send->setEnabled(false);  // one post at a time: a double click must not add it twice
    m_service->addEvaluation(m_house.id, JoinerText::stored(content));
}

void HouseBookDescribeEvaluateWidget::deleteEvaluate(int id)
{
    auto *box = new AlertWidget(QStringLiteral("您确定要删除该条评价吗？"), AlertWidget::WarningIcon, AlertWidget::SureAndCancle,
                                QStringLiteral("main"), this);
    connect(box, &AlertWidget::sureClick, this, [this, id] { m_service->deleteEvaluation(id); });
}
