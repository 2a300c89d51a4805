#include "separation/highseperatereporthistoryitemview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

HighSeperateReportHistoryItemView::HighSeperateReportHistoryItemView(const HighSeperateReportList_Model::ItemData &item,
                                                                     QWidget *parent)
    : QWidget(parent)
    , m_item(item)
{
    setObjectName(QStringLiteral("reportRow"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#reportRow{background:#ffffff;border-bottom:1px solid #e5e5e5;}"));
    setCursor(Qt::PointingHandCursor);

    auto *house = new QPushButton(QStringLiteral("房源编号：%1").arg(item.itemid), this);
    house->setObjectName(QStringLiteral("houseButton"));
    house->setFlat(true);
    house->setStyleSheet(QStringLiteral("QPushButton{border:none;color:#3a8ee6;text-align:left;}"));
    connect(house, &QPushButton::clicked, this, [this] { emit houseClick(m_item.itemid.toInt()); });

    auto *state = new QLabel(item.stateText(), this);
    state->setObjectName(QStringLiteral("stateLabel"));
    state->setTextFormat(Qt::PlainText);
    state->setStyleSheet(item.state == HighSeperateReportList_Model::Pending ? waitingStyle() : reviewedStyle());

    auto *top = new QHBoxLayout;
    top->addWidget(house);
    top->addStretch(1);
    top->addWidget(state);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(4);
    layout->addLayout(top);
    addLine(layout, QStringLiteral("authorLabel"), QStringLiteral("举报：%1").arg(item.author));
    addLine(layout, QStringLiteral("timeLabel"), QStringLiteral("举报时间：%1").arg(item.time));
    addLine(layout, QStringLiteral("contentLabel"), QStringLiteral("举报内容：%1").arg(item.content))->setWordWrap(true);
    addLine(layout, QStringLiteral("reviewerLabel"), QStringLiteral("审核人：%1").arg(item.shenpiren));
    addLine(layout, QStringLiteral("reviewTimeLabel"), QStringLiteral("审核时间：%1").arg(item.shenpitime));
}

QString HighSeperateReportHistoryItemView::waitingStyle()
{
    return QStringLiteral("color:#ff0000;");
}

QString HighSeperateReportHistoryItemView::reviewedStyle()
{
    return QStringLiteral("color:#999999;");
}

QLabel *HighSeperateReportHistoryItemView::addLine(QVBoxLayout *layout, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    // Texts come from other agents: never read as markup.
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    return label;
}

void HighSeperateReportHistoryItemView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit itemClick(m_item);
    QWidget::mouseReleaseEvent(event);
}
