#include "qx_callBaby.h"

#include "datacenter.h"

#include <QButtonGroup>
#include <QDialog>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QRadioButton>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace {

const int kAmounts[] = {50, 100, 200};

QString rechargeAddress()
{
    const QString server = qEnvironmentVariable("QX_HOUSEBOOK_SERVER").trimmed();
    return server.isEmpty() ? QString() : server + QStringLiteral("/app/call/recharge");
}

// Posts the amount; the dialog closes on success and shows the message otherwise.
void postRecharge(QDialog *dialog, int amount, QLabel *status, QPushButton *button)
{
    const QString address = rechargeAddress();
    if (address.isEmpty()) {
        status->setText(QStringLiteral("未配置充值服务地址，请联系管理员！"));
        return;
    }
    auto *nam = new QNetworkAccessManager(dialog);
    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("qxphone", DataCenter::UserPhoneNumber.toUtf8());
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("amount"), QString::number(amount));
    button->setEnabled(false);
    status->setText(QStringLiteral("充值中..."));
    QNetworkReply *reply = nam->post(request, form.toString(QUrl::FullyEncoded).toUtf8());
    QObject::connect(reply, &QNetworkReply::finished, dialog, [=] {
        reply->deleteLater();
        const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
        button->setEnabled(true);
        if (reply->error() == QNetworkReply::NoError && answer.value(QStringLiteral("code")).toInt() == 200) {
            dialog->accept();
            return;
        }
        const QString message = answer.value(QStringLiteral("message")).toString();
        status->setText(message.isEmpty() ? QStringLiteral("充值失败，请稍后重试！") : message);
    });
}

} // namespace

void rechargeCallBaby(QWidget *parent)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("rechargeCallBabyDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("隐号通话充值"));
    dialog->setWindowModality(Qt::WindowModal);

    auto *layout = new QVBoxLayout(dialog);
    auto *explain = new QLabel(QStringLiteral("隐号通话按分钟计费，余额不足时无法拨打业主电话。请选择充值金额："), dialog);
    explain->setWordWrap(true);
    layout->addWidget(explain);
    auto *amounts = new QButtonGroup(dialog);
    auto *row = new QHBoxLayout;
    for (int amount : kAmounts) {
        auto *choice = new QRadioButton(QStringLiteral("%1元").arg(amount), dialog);
        choice->setObjectName(QStringLiteral("amount%1").arg(amount));
        choice->setChecked(amount == kAmounts[0]);
        amounts->addButton(choice, amount);
        row->addWidget(choice);
    }
    layout->addLayout(row);
    auto *status = new QLabel(dialog);
    status->setObjectName(QStringLiteral("rechargeStatus"));
    layout->addWidget(status);
    auto *pay = new QPushButton(QStringLiteral("充值"), dialog);
    pay->setObjectName(QStringLiteral("rechargeButton"));
    layout->addWidget(pay);
    QObject::connect(pay, &QPushButton::clicked, dialog, [=] { postRecharge(dialog, amounts->checkedId(), status, pay); });
    dialog->show();
}
