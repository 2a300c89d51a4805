// The room picker of a unit: a small non-modal dialog listing the unit's rooms as the
// community service has them; clicking one hands it back to the caller and closes.
#include "qx_jointsale_community.h"

#include "common/softservice.h"

#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>
#include <QVBoxLayout>

#include <memory>

namespace {

// An id as the caller wants it: a number when it is one, else the text as given.
QVariant idOf(const QVariant &v)
{
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    return ok ? QVariant(n) : QVariant(v.toString());
}

// The rooms of a reply's data: a list, or an object holding one under "list" or as its values.
QJsonArray roomsOf(const QJsonValue &data)
{
    if (data.isArray())
        return data.toArray();
    const QJsonObject o = data.toObject();
    if (o.value(QStringLiteral("list")).isArray())
        return o.value(QStringLiteral("list")).toArray();
    QJsonArray rooms;
    for (const QJsonValue &v : o)
        if (v.isObject())
            rooms.append(v);
    return rooms;
}

void fillRooms(QListWidget *list, QLabel *status, const QJsonArray &rooms, const QVariant &current)
{
    for (const QJsonValue &v : rooms) {
        const QJsonObject room = v.toObject();
        const QString name = room.value(QStringLiteral("name")).toVariant().toString().trimmed();
        if (name.isEmpty())
            continue;
        auto *item = new QListWidgetItem(name + QStringLiteral("室"), list);
        item->setData(Qt::UserRole, idOf(room.value(QStringLiteral("id")).toVariant()));
        item->setData(Qt::UserRole + 1, name);
        if (item->data(Qt::UserRole).toString() == current.toString())
            list->setCurrentItem(item);
    }
    status->setText(list->count() ? QStringLiteral("请选择房号") : QStringLiteral("该单元暂无房号"));
}

void loadRooms(QDialog *dialog, QListWidget *list, QLabel *status, const QVariantMap &args)
{
    const QString address = SoftService::address(QStringLiteral("house/jinggeng/unitInfo"));
    if (address.isEmpty()) {
        status->setText(QStringLiteral("未配置房源服务地址，请联系管理员！"));
        return;
    }
    const QNetworkRequest request = SoftService::formRequest(address);
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("unitid"), args.value(QStringLiteral("unitId")).toString());
    form.addQueryItem(QStringLiteral("lianmai"), QStringLiteral("1"));
    auto *nam = new QNetworkAccessManager(dialog);
    QNetworkReply *reply = nam->post(request, form.toString(QUrl::FullyEncoded).toUtf8());
    const QVariant current = args.value(QStringLiteral("roomId"));
    QObject::connect(reply, &QNetworkReply::finished, dialog, [=] {
        reply->deleteLater();
        const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
        if (reply->error() != QNetworkReply::NoError || answer.value(QStringLiteral("code")).toVariant().toInt() != 200) {
            const QString message = answer.value(QStringLiteral("message")).toString();
            status->setText(message.isEmpty() ? QStringLiteral("加载房号失败，请稍后重试！") : message);
            return;
        }
        fillRooms(list, status, roomsOf(answer.value(QStringLiteral("data"))), current);
    });
}

} // namespace

QWidget *chooseJinGenHouse(QWidget *parent, const QVariantMap &args, JinGenHousePicked picked, void *context)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("jinGenHousePicker"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("选择房号"));
    dialog->resize(320, 420);
    auto *layout = new QVBoxLayout(dialog);
    auto *status = new QLabel(QStringLiteral("加载数据中..."), dialog);
    status->setObjectName(QStringLiteral("jinGenStatus"));
    layout->addWidget(status);
    auto *list = new QListWidget(dialog);
    list->setObjectName(QStringLiteral("jinGenRoomList"));
    layout->addWidget(list);
    const QVariant unitId = idOf(args.value(QStringLiteral("unitId")));
    // Only the first pick counts: a second click on the closing dialog hands back nothing.
    auto done = std::make_shared<bool>(false);
    QObject::connect(list, &QListWidget::itemClicked, dialog, [=](QListWidgetItem *item) {
        if (*done)
            return;
        *done = true;
        if (picked)
            picked(context, {{QStringLiteral("uid"), unitId},
                             {QStringLiteral("rid"), item->data(Qt::UserRole)},
                             {QStringLiteral("name"), item->data(Qt::UserRole + 1)}});
        dialog->close();
    });
    loadRooms(dialog, list, status, args);
    dialog->show();
    return dialog;
}
