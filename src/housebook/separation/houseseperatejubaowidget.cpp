#include "separation/houseseperatejubaowidget.h"

#include "services/reportservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

HouseSeperateJuBaoWidget::HouseSeperateJuBaoWidget(const HouseMessage_DataSqlTable::HouseMessageData &house,
                                                   const HouseBookSeperateList_Model::ItemData &row, QWidget *parent)
    : QWidget(parent)
    , m_itemId(QString::number(house.id))
    , m_row(row)
    , m_service(new ReportService(this))
    , m_content(new QTextEdit(this))
    , m_overlay(new BusyOverlay(this))
{
    auto *label = new QLabel(QStringLiteral("举报内容："), this);
    label->setObjectName(QStringLiteral("contentLabel"));
    m_content->setObjectName(QStringLiteral("contentEdit"));
    m_content->setPlaceholderText(QStringLiteral("请输入举报内容"));
    m_content->setAcceptRichText(false);
    auto *submit = new QPushButton(QStringLiteral("举报"), this);
    submit->setObjectName(QStringLiteral("submitButton"));
    submit->setCursor(Qt::PointingHandCursor);
    connect(submit, &QPushButton::clicked, this, &HouseSeperateJuBaoWidget::submitData);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(submit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(label);
    layout->addWidget(m_content, 1);
    layout->addLayout(buttons);

    connect(m_service, &ReportService::reported, this, &HouseSeperateJuBaoWidget::operateSuccess);
    connect(m_service, &ReportService::finished, m_overlay, &BusyOverlay::stop);
}

void HouseSeperateJuBaoWidget::submitData()
{
    const QString content = m_content->toPlainText().trimmed();
    if (content.isEmpty()) {
        AlertWidget::warning(QStringLiteral("请输入举报内容！"));
        return;
    }
    if (m_overlay->isRunning())
        return;  // one report per click, even a double one
    m_overlay->start(QStringLiteral("举报..."));
    m_service->report(m_itemId, m_row, content);
}
