#include "detail/yinghaolistitemview.h"
#include "widgets/namedwidgets.h"

#include "platform/siblinglibrary.h"
#include "services/listingdetailservice.h"
#include "widgets/alertwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

namespace {

QString &callBabyLibrary()
{
    static QString name = QStringLiteral("qx_callBaby.dll");
    return name;
}

const QString kCallText = QStringLiteral("拨打");

} // namespace

YingHaoListItemView::YingHaoListItemView(QWidget *parent)
    : QWidget(parent), m_service(new ListingDetailService(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("stackedWidget"));
    m_stack->addWidget(createFirstPage());
    m_stack->addWidget(createSecondPage());
    layout->addWidget(m_stack);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &YingHaoListItemView::countDown);
    connect(m_service, &ListingDetailService::safeNumberArrived, this, &YingHaoListItemView::showSafeNumber);
    connect(m_service, &ListingDetailService::noCallCredit, this, &YingHaoListItemView::offerRecharge);
    connect(m_service, &ListingDetailService::safeNumberFailed, this, &YingHaoListItemView::endWaiting);
}

QWidget *YingHaoListItemView::createFirstPage()
{
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    m_nameLabel = namedLabel(QStringLiteral("label_name"), page);
    QLabel *mode = namedLabel(QStringLiteral("label_mode"), page);
    mode->setText(QStringLiteral("隐号模式"));
    mode->setStyleSheet(QStringLiteral("color:#3485ea;border:1px solid #3485ea;border-radius:3px;padding:0 3px;"));
    m_realLabel = namedLabel(QStringLiteral("label_real"), page);
    m_realLabel->hide();
    m_realButton = namedButton(QStringLiteral("pushButton_real"), QStringLiteral("查看真实号码"), page);
    m_callButton = namedButton(QStringLiteral("pushButton_call"), kCallText, page);
    connect(m_realButton, &QPushButton::clicked, this, &YingHaoListItemView::showRealNumber);
    connect(m_callButton, &QPushButton::clicked, this, &YingHaoListItemView::callClick);
    for (QWidget *w : {static_cast<QWidget *>(m_nameLabel), static_cast<QWidget *>(mode),
                       static_cast<QWidget *>(m_realLabel)})
        layout->addWidget(w);
    layout->addStretch();
    layout->addWidget(m_realButton);
    layout->addWidget(m_callButton);
    return page;
}

QWidget *YingHaoListItemView::createSecondPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *top = new QHBoxLayout;
    m_safeLabel = namedLabel(QStringLiteral("label_safe"), page);
    m_countLabel = namedLabel(QStringLiteral("label_count"), page);
    m_countLabel->setStyleSheet(QStringLiteral("color:#ff0000;"));
    top->addWidget(m_safeLabel);
    top->addStretch();
    top->addWidget(m_countLabel);
    m_tipLabel = namedLabel(QStringLiteral("label_tip"), page);
    m_tipLabel->setTextFormat(Qt::RichText);
    m_tipLabel->setWordWrap(true);
    layout->addLayout(top);
    layout->addWidget(m_tipLabel);
    return page;
}

void YingHaoListItemView::setData(const QString &name, const QString &phone, const QString &itemId, bool rent,
                                  bool realAllowed)
{
    m_name = name;
    m_phone = phone;
    m_itemId = itemId;
    m_rent = rent;
    m_nameLabel->setText(name);
    m_realButton->setVisible(realAllowed);
}

int YingHaoListItemView::currentPage() const
{
    return m_stack->currentIndex();
}

bool YingHaoListItemView::isCounting() const
{
    return m_timer->isActive();
}

void YingHaoListItemView::setCallBabyLibrary(const QString &name)
{
    callBabyLibrary() = name;
}

void YingHaoListItemView::callClick()
{
    if (ListingDetailService::maskedPhone(m_phone).isEmpty()) {
        AlertWidget::warning(QStringLiteral("号码位数长度不足！"));
        return;
    }
    m_callButton->setEnabled(false);
    m_callButton->setText(QStringLiteral("获取号码中..."));
    m_service->requestSafeNumber(m_rent, m_itemId, m_phone);
}

void YingHaoListItemView::showRealNumber()
{
    QString phone = m_phone;
    m_realLabel->setText(QStringLiteral("真实号码 %1").arg(phone.remove(QLatin1Char(' '))));
    m_realLabel->show();
}

void YingHaoListItemView::endWaiting()
{
    m_callButton->setEnabled(true);
    m_callButton->setText(kCallText);
}

void YingHaoListItemView::showSafeNumber(const QString &caller, const QString &called)
{
    endWaiting();
    m_safeLabel->setText(QStringLiteral("%1 %2(安全号)").arg(m_name, called));
    m_tipLabel->setText(QStringLiteral("请使用您的授权号<span style=\"color:#ff0000;\">%1</span>"
                                       "拨打安全号【%2】，拨号动作请在1分钟内完成，超出请重试")
                            .arg(caller.toHtmlEscaped(), called.toHtmlEscaped()));
    m_remaining = kCallSeconds;
    m_countLabel->setText(QStringLiteral("%1s").arg(m_remaining));
    m_stack->setCurrentIndex(1);
    m_timer->start();
}

void YingHaoListItemView::countDown()
{
    if (m_remaining > 0)
        --m_remaining;
    m_countLabel->setText(QStringLiteral("%1s").arg(m_remaining));
    if (m_remaining == 0) {
        m_timer->stop();
        m_stack->setCurrentIndex(0);
    }
}

void YingHaoListItemView::offerRecharge(const QString &message)
{
    endWaiting();
    auto *box = new AlertWidget(message, AlertWidget::WarningIcon, AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("去购买"));
    QWidget *parentWindow = window();
    connect(box, &AlertWidget::sureClick, this, [parentWindow] {
        using Recharge = void (*)(QWidget *);
        if (auto recharge = SiblingLibrary::resolveAs<Recharge>(callBabyLibrary(), "rechargeCallBaby",
                                                                QStringLiteral("缺少<duz>组件！")))
            recharge(parentWindow);
    });
}
