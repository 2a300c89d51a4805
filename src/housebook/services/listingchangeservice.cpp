#include "services/listingchangeservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "platform/housebookcodes.h"
#include "sql/basesqlobject.h"
#include "sql/housemessage_datasqltable.h"

#include <QStringList>

using namespace HouseBookCodes;

namespace {

const char *flagName(int type)
{
    static const char *const names[] = {"置顶", "锁盘", "封盘", "独家"};
    return isFlagType(type) ? names[type - TopFlag] : "";
}

// The server's forms, one per endpoint. Every change names the joint-sale book.
QVariantMap flagForm(int id, int type, int state, int days)
{
    QVariantMap form{{QStringLiteral("itemid"), id},
                     {QStringLiteral("state"), state},
                     {QStringLiteral("type"), type},
                     {QStringLiteral("lianmai"), QStringLiteral("1")}};
    if (days > 0)
        form.insert(QStringLiteral("days"), days);
    return form;
}

QVariantMap statusForm(int id, const QString &status)
{
    return {{QStringLiteral("id"), id}, {QStringLiteral("state"), status}, {QStringLiteral("lianmai"), QStringLiteral("1")}};
}

QVariantMap deletionForm(int id)
{
    return {{QStringLiteral("id"), id}, {QStringLiteral("lianmai"), QStringLiteral("1")}};
}

} // namespace

ListingChangeService::ListingChangeService(QObject *parent) : QObject(parent)
{
}

QString ListingChangeService::flagColumn(int type)
{
    static const char *const columns[] = {"istop", "suopan", "fengpan", "hbdujia"};
    return isFlagType(type) ? QString::fromLatin1(columns[type - TopFlag]) : QString();
}

QString ListingChangeService::flagSuccessText(int type)
{
    return isFlagType(type) ? QStringLiteral("更改%1状态成功！").arg(QString::fromUtf8(flagName(type))) : QString();
}

QString ListingChangeService::flagFailureText(int type)
{
    return QStringLiteral("更改%1状态失败：%2\n房源未作更改，请稍后重试。")
        .arg(QString::fromUtf8(flagName(type)), QStringLiteral("%1"));
}

bool ListingChangeService::takesOffMarket(const QString &status)
{
    static const QStringList words{QStringLiteral("暂不售"), QStringLiteral("电话无效"), QStringLiteral("已定"),
                                   QStringLiteral("成交"),   QStringLiteral("已售"),     QStringLiteral("无效")};
    return words.contains(status);
}

void ListingChangeService::changeFlag(int id, int type, int state, int days)
{
    if (!isFlagType(type))
        return;
    post(id, Endpoints::instance().app_houseshuxing, flagForm(id, type, state, state == 1 ? days : 0),
         flagFailureText(type), [this, id, type, state] { flagAccepted(id, type, state); });
}

void ListingChangeService::changeStatus(int id, const QString &status)
{
    post(id, Endpoints::instance().app_housebooknewstate, statusForm(id, status),
         QStringLiteral("更改房源状态失败：%1\n房源未作更改，请稍后重试。"),
         [this, id, status] { statusAccepted(id, status); });
}

void ListingChangeService::deleteListing(int id)
{
    post(id, Endpoints::instance().app_housebookdel, deletionForm(id),
         QStringLiteral("删除房源失败：%1\n房源未删除，请稍后重试。"), [this, id] { deletionAccepted(id); });
}

template <typename Accepted>
void ListingChangeService::post(int id, const QString &url, const QVariantMap &form, const QString &failureNotice,
                                Accepted accepted)
{
    auto *request = new NetRequestObjecet(this);
    request->setFailureNotice(failureNotice);
    connect(request, &NetRequestObjecet::loadSuccess, this, accepted);
    connect(request, &NetRequestObjecet::loadFail, this,
            [this, id, request] { emit changeFailed(id, request->failureReason()); });
    // One end per post: a redirect the request would still follow is not waited for.
    connect(request, &NetRequestObjecet::loadFinish, this, [this, request] {
        disconnect(request, nullptr, this, nullptr);
        request->deleteLater();
        --m_posting;
        emit postFinished();
    });
    ++m_posting;
    request->postForm(url, form);
}

void ListingChangeService::flagAccepted(int id, int type, int state)
{
    HouseMessage_DataSqlTable(nullptr, kJointSale).updateHouseColumn(id, flagColumn(type), state);
    startHouseSync();
    emit flagChanged(id, type, state);
}

void ListingChangeService::statusAccepted(int id, const QString &status)
{
    HouseMessage_DataSqlTable(nullptr, kJointSale).updateHouseColumn(id, QStringLiteral("newstate"), status);
    startHouseSync();
    emit statusChanged(id, status);
    if (takesOffMarket(status))
        emit takeDownDue(id, QStringLiteral("房源状态修改为：%1").arg(status));
}

void ListingChangeService::deletionAccepted(int id)
{
    HouseMessage_DataSqlTable(nullptr, kJointSale).deleteHouse(id);
    startHouseSync();
    emit listingDeleted(id);
    emit takeDownDue(id, QStringLiteral("房源已被删除！"));
}

// The sync outlives the service (a pop-up may close on the change's success); it releases
// itself when it ends.
void ListingChangeService::startHouseSync()
{
    auto *sync = new BaseSqlObject(nullptr, kJointSale);
    connect(sync, &BaseSqlObject::loadDataFinish, sync, &QObject::deleteLater);
    connect(sync, &BaseSqlObject::loadDataFinish, this, &ListingChangeService::houseSyncFinished);
    sync->download_house();
}
