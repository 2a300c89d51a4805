#include "detail/follow/takelooklistitem.h"

#include "detail/follow/followrowparts.h"
#include "detail/housebookmessagedetailwidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using FollowRowParts::plainLabel;

TakeLookListItem::TakeLookListItem(const HousebookTakeLookList_Model::ListData &data, bool canSeeCustomer,
                                   QWidget *parent)
    : QWidget(parent)
    , m_data(data)
{
    setObjectName(QStringLiteral("takeLookRow"));
    const QString name = canSeeCustomer ? data.clientname : QStringLiteral("***");
    const QString phone = canSeeCustomer ? data.clientphone : maskedPhone(data.clientphone);
    const QString remark = canSeeCustomer ? data.remark : QStringLiteral("******");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    auto *top = new QHBoxLayout;
    top->addWidget(plainLabel(QStringLiteral("带看了一组客户:%1(%2)").arg(name, phone), QStringLiteral("clientLabel"), this));
    top->addWidget(plainLabel(QStringLiteral("%1 %2").arg(data.username, data.storename).trimmed(),
                              QStringLiteral("agentLabel"), this));
    top->addStretch(1);
    top->addWidget(plainLabel(data.time.isEmpty() ? emptyTime() : data.time, QStringLiteral("timeLabel"), this));
    layout->addLayout(top);
    if (!data.content.isEmpty()) {
        auto *content = plainLabel(data.content, QStringLiteral("contentLabel"), this);
        content->setWordWrap(true);
        layout->addWidget(content);
    }
    auto *remarkLabel = plainLabel(QStringLiteral("反馈：%1").arg(remark), QStringLiteral("remarkLabel"), this);
    remarkLabel->setWordWrap(true);
    layout->addWidget(remarkLabel);
    if (QLayout *reminder = FollowRowParts::reminder(data.tixing > 0, data.tixinguser, data.tixingtime,
                                                     data.contents, this))
        layout->addLayout(reminder);
    if (data.houseid > 0) {
        auto *link = new QLabel(QStringLiteral("<a href=\"%1\">查看房源</a>").arg(data.houseid), this);
        link->setObjectName(QStringLiteral("houseLink"));
        link->setTextFormat(Qt::RichText);
        connect(link, &QLabel::linkActivated, this, &TakeLookListItem::dealClickLink);
        layout->addWidget(link, 0, Qt::AlignRight);
    }
}

QString TakeLookListItem::emptyTime()
{
    return QStringLiteral("0000 00-00 00:00");
}

QString TakeLookListItem::maskedPhone(const QString &phone)
{
    return phone.size() > 3 ? phone.left(3) + QStringLiteral("********") : phone;
}

void TakeLookListItem::dealClickLink(QString text)
{
    bool ok = false;
    const int id = text.trimmed().toInt(&ok);
    if (!ok || id <= 0)
        return;
    auto *shell = new HouseBookMessageDetailWidget(nullptr, 0, 0);
    CommonAddWidget *popup = openPopup(window(), PopupSize::Detail, QString(), shell);
    connect(shell, &HouseBookMessageDetailWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    shell->showHouseId(id);
}
