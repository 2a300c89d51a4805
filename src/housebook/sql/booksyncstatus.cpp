#include "sql/booksyncstatus.h"

#include "commonsignaltool.h"
#include "net/netrequestobjecet.h"
#include "platform/housebookcodes.h"
#include "sql/basesqlobject.h"
#include "sql/firstbookdownload.h"
#include "sql/housemessage_datasqltable.h"

#include <QVariantMap>

#include <atomic>


namespace {

std::atomic<int> pageCap{0};

int slot(bool isJointSale)
{
    return isJointSale ? 1 : 0;
}

bool bookIsEmpty(bool isJointSale)
{
    HouseMessage_DataSqlTable house(nullptr, isJointSale);
    return house.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB) == 0;
}

} // namespace

BookSyncStatus *BookSyncStatus::instance()
{
    static BookSyncStatus status;
    return &status;
}

BookSyncStatus::State BookSyncStatus::state(bool isJointSale) const
{
    return m_state[slot(isJointSale)];
}

QString BookSyncStatus::lastError(bool isJointSale) const
{
    return m_reason[slot(isJointSale)];
}

void BookSyncStatus::retry(bool isJointSale)
{
    if (state(isJointSale) == Running)
        return;
    if (bookIsEmpty(isJointSale) && FirstBookDownload::restart(isJointSale))
        return;
    auto *sync = new BaseSqlObject(nullptr, isJointSale);
    connect(sync, &BaseSqlObject::loadDataFinish, sync, &QObject::deleteLater);
    sync->download_house();
}

void BookSyncStatus::setRunning(bool isJointSale)
{
    set(isJointSale, Running, QString());
}

void BookSyncStatus::setSucceeded(bool isJointSale)
{
    set(isJointSale, Succeeded, QString());
}

// The host cannot see this object: the failure also goes out on the signal hub, with the
// reason, so that its status bar does not report a failed sync as done.
void BookSyncStatus::setFailed(bool isJointSale, const QString &reason)
{
    const QString text = reason.isEmpty() ? unreadableReply() : reason;
    set(isJointSale, Failed, text);
    CommonSignalTool::Instance()->send_baseSqlReq(HouseBookCodes::HubFailed,
                                                  QVariantMap{{QStringLiteral("type"), HouseBookCodes::HouseSyncDownload},
                                                              {QStringLiteral("lianmai"), isJointSale},
                                                              {QStringLiteral("message"), text}},
                                                  nullptr);
}

void BookSyncStatus::setIdle(bool isJointSale)
{
    set(isJointSale, Idle, QString());
}

void BookSyncStatus::reset()
{
    setIdle(false);
    setIdle(true);
}

void BookSyncStatus::set(bool isJointSale, State state, const QString &reason)
{
    const int i = slot(isJointSale);
    if (m_state[i] == state && m_reason[i] == reason)
        return;
    m_state[i] = state;
    m_reason[i] = reason;
    emit stateChanged(isJointSale);
}

// The request object puts the failure into words (transport error, HTTP status, refusal
// or unreadable reply); the request is still alive when it reports the failure.
void BookSyncStatus::postForm(NetRequestObjecet *request, const QString &url, const QVariantMap &form,
                              QObject *context, const std::function<void(const QString &)> &onFail)
{
    QObject::connect(request, &NetRequestObjecet::loadFail, context,
                     [request, onFail](int, const QString &) { onFail(request->failureReason()); });
    request->postForm(url, form);
}

QString BookSyncStatus::unreadableReply()
{
    return QStringLiteral("服务器返回的数据无法识别");
}

QString BookSyncStatus::storeFailure()
{
    return QStringLiteral("本地数据保存失败");
}

QString BookSyncStatus::tooManyPages()
{
    return QStringLiteral("同步页数超过上限(%1页)").arg(maxSyncPages());
}

int BookSyncStatus::maxSyncPages()
{
    const int cap = pageCap.load();
    return cap > 0 ? cap : kMaxSyncPages;
}

void BookSyncStatus::setMaxSyncPages(int pages)
{
    pageCap.store(pages);
}
