#include "qx_reviewBook.h"

#include "datacenter.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QUrlQuery>
#include <QVBoxLayout>

#include <functional>

namespace {

QString helpRoot()
{
    QString root = qEnvironmentVariable("QX_HOUSEBOOK_HELP_ROOT").trimmed();
    if (root.isEmpty()) {
        const QString server = qEnvironmentVariable("QX_HOUSEBOOK_SERVER").trimmed();
        if (server.isEmpty())
            return QString();
        root = server + (server.endsWith(QLatin1Char('/')) ? QStringLiteral("help/") : QStringLiteral("/help/"));
    }
    return root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
}

QDialog *newDialog(QWidget *parent, const char *name, const QString &title)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QLatin1String(name));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);
    dialog->setWindowModality(Qt::WindowModal);
    return dialog;
}

QLabel *statusLine(QDialog *dialog)
{
    auto *status = new QLabel(dialog);
    status->setObjectName(QStringLiteral("reviewStatus"));
    status->setWordWrap(true);
    return status;
}

// Posts the form to the approval service; success hands over the reply's data, a failure
// (or a missing address) is written in the status line.
void postForm(QDialog *dialog, const QString &path, const QVariantMap &form, QLabel *status,
              const std::function<void(const QJsonObject &)> &onSuccess)
{
    const QString root = helpRoot();
    if (root.isEmpty()) {
        status->setText(QStringLiteral("未配置审批服务地址，请联系管理员！"));
        return;
    }
    QNetworkRequest request{QUrl(root + path)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("qxphone", DataCenter::UserPhoneNumber.toUtf8());
    QUrlQuery query;
    for (auto it = form.cbegin(); it != form.cend(); ++it)
        query.addQueryItem(it.key(), QString::fromUtf8(QUrl::toPercentEncoding(it.value().toString())));
    query.addQueryItem(QStringLiteral("lianmai"), QStringLiteral("1"));
    status->setText(QStringLiteral("提交中..."));
    auto *nam = new QNetworkAccessManager(dialog);
    QNetworkReply *reply = nam->post(request, query.toString(QUrl::FullyEncoded).toUtf8());
    QObject::connect(reply, &QNetworkReply::finished, dialog, [=] {
        reply->deleteLater();
        const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
        if (reply->error() == QNetworkReply::NoError && answer.value(QStringLiteral("code")).toInt() == 200) {
            status->clear();
            onSuccess(answer.value(QStringLiteral("data")).toObject());
            return;
        }
        const QString message = answer.value(QStringLiteral("message")).toString();
        status->setText(message.isEmpty() ? QStringLiteral("提交失败，请稍后重试！") : message);
    });
}

QString keysText(const QVariantMap &args)
{
    QStringList lines;
    for (auto it = args.cbegin(); it != args.cend(); ++it) {
        if (it.key() != QLatin1String("content"))
            lines << QStringLiteral("%1：%2").arg(it.key(), it.value().toString());
    }
    return lines.join(QLatin1Char('\n'));
}

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

void loadReviewStep(QWidget *parent, const QVariantMap &args, ReviewStepSubmitted submitted, void *context)
{
    QDialog *dialog = newDialog(parent, "reviewStepDialog", QStringLiteral("发起审批"));
    auto *layout = new QVBoxLayout(dialog);
    auto *content = new QLabel(args.value(QStringLiteral("content")).toString(), dialog);
    content->setObjectName(QStringLiteral("reviewContent"));
    content->setWordWrap(true);
    auto *keys = new QLabel(keysText(args), dialog);
    keys->setObjectName(QStringLiteral("reviewKeys"));
    QLabel *status = statusLine(dialog);
    auto *submit = button(QStringLiteral("提交审批"), "reviewSubmit", dialog);
    auto *cancel = button(QStringLiteral("取消"), "reviewCancel", dialog);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(submit);
    row->addWidget(cancel);
    for (QWidget *w : {static_cast<QWidget *>(content), static_cast<QWidget *>(keys), static_cast<QWidget *>(status)})
        layout->addWidget(w);
    layout->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(submit, &QPushButton::clicked, dialog, [=] {
        postForm(dialog, QStringLiteral("apiv3_0_2/ArApplyRecordCtr/apply"), args, status,
                 [=](const QJsonObject &data) {
                     if (submitted)
                         submitted(context, data.value(QStringLiteral("record_id")).toVariant().toInt());
                     dialog->accept();
                 });
    });
    dialog->show();
}

void loadReviewDetail(QWidget *parent, int houseId, const QString &recordId)
{
    QDialog *dialog = newDialog(parent, "reviewDetailDialog", QStringLiteral("审批"));
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(QStringLiteral("房源：%1  审批记录：%2").arg(houseId).arg(recordId), dialog));
    auto *remark = new QLineEdit(dialog);
    remark->setObjectName(QStringLiteral("reviewRemark"));
    remark->setPlaceholderText(QStringLiteral("审批意见"));
    layout->addWidget(remark);
    QLabel *status = statusLine(dialog);
    layout->addWidget(status);
    auto *row = new QHBoxLayout;
    row->addStretch();
    const QList<QPair<int, QPushButton *>> decisions{{1, button(QStringLiteral("通过"), "reviewApprove", dialog)},
                                                     {2, button(QStringLiteral("拒绝"), "reviewRefuse", dialog)}};
    for (const auto &decision : decisions) {
        row->addWidget(decision.second);
        const int state = decision.first;
        QObject::connect(decision.second, &QPushButton::clicked, dialog, [=] {
            const QVariantMap form{{QStringLiteral("record_id"), recordId},
                                   {QStringLiteral("state"), state},
                                   {QStringLiteral("remark"), remark->text()}};
            postForm(dialog, QStringLiteral("apiv3_0_2/ArApplyRecordCtr/check"), form, status,
                     [dialog](const QJsonObject &) { dialog->accept(); });
        });
    }
    layout->addLayout(row);
    dialog->show();
}
