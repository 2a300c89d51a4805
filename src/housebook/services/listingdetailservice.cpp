#include "services/listingdetailservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "net/wholenumber.h"
#include "platform/housebookcodes.h"
#include "sql/basesqlobject.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonObject>
#include <QJsonValue>

namespace {

const QString kLianmai = QStringLiteral("1");

// A count as a number or as decimal text; anything else counts as none.
int countOf(const QJsonValue &value)
{
    if (value.isString()) {
        bool ok = false;
        const int n = value.toString().trimmed().toInt(&ok);
        return ok && n > 0 ? n : 0;
    }
    return qMax(0, WholeNumber::toInt(value));
}

QString textOf(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return QString();
}

} // namespace

ListingDetailService::ListingDetailService(QObject *parent) : QObject(parent)
{
}

QString ListingDetailService::maskedPhone(const QString &phone)
{
    QString digits = phone;
    digits.remove(QLatin1Char(' '));
    if (digits.size() < 8)
        return QString();
    return digits.left(3) + QStringLiteral("****") + digits.right(4);
}

template <typename Accepted>
NetRequestObjecet *ListingDetailService::post(const QString &url, const QVariantMap &form, Accepted accepted,
                                              const QString &failureNotice)
{
    auto *request = new NetRequestObjecet(this);
    request->setFailureNotice(failureNotice);
    connect(request, &NetRequestObjecet::loadSuccess, this, accepted);
    connect(request, &NetRequestObjecet::loadFinish, request, &QObject::deleteLater);
    request->postForm(url, form);
    return request;
}

ListingDetailService::Counts ListingDetailService::countsOf(const QJsonValue &data)
{
    const QJsonObject object = data.toObject();
    Counts counts;
    counts.photos = countOf(object.value(QLatin1String("photocount")));
    counts.videos = countOf(object.value(QLatin1String("videocount")));
    counts.lastTime = textOf(object.value(QLatin1String("lasttime")));
    return counts;
}

void ListingDetailService::recordReveal(int id, bool rent, int itemType)
{
    const QVariantMap form{{QStringLiteral("id"), id},
                           {QStringLiteral("type"), kindCode(rent)},
                           {QStringLiteral("itemtype"), itemType},
                           {QStringLiteral("lianmai"), kLianmai}};
    post(Endpoints::instance().app_showphone, form, [this, itemType] { emit revealRecorded(itemType); });
}

void ListingDetailService::toggleCollect(int id, bool rent, bool collected)
{
    const QVariantMap form{{QStringLiteral("id"), id}, {QStringLiteral("type"), kindCode(rent)},
                           {QStringLiteral("lianmai"), kLianmai}};
    const auto accepted = [this, id, collected](const QJsonValue &data) {
        // The server toggles; without its word the new state is the opposite of the old one.
        const QJsonValue state = data.toObject().value(QLatin1String("collection"));
        emit collectChanged(id, state.isBool() ? state.toBool() : !collected);
    };
    post(Endpoints::instance().app_collection, form, accepted, QStringLiteral("收藏失败：%1"));
}

void ListingDetailService::turnPublic(int id)
{
    const QVariantMap form{{QStringLiteral("id"), id}, {QStringLiteral("lianmai"), kLianmai}};
    post(Endpoints::instance().app_housebookzhuangongpan, form, [this, id] {
        HouseMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).updateHouseColumn(id, QStringLiteral("stype"), 0);
        emit turnedPublic(id);
    }, QStringLiteral("转为公盘失败：%1"));
}

void ListingDetailService::fetchCounts(int id)
{
    const QVariantMap form{{QStringLiteral("id"), id}, {QStringLiteral("lianmai"), kLianmai}};
    post(Endpoints::instance().app_housebookdetailInfo, form,
         [this](const QJsonValue &data) { emit countsArrived(data); });
}

void ListingDetailService::requestSafeNumber(bool rent, const QString &itemId, const QString &phone)
{
    const QVariantMap form{{QStringLiteral("type"), kindCode(rent)},
                           {QStringLiteral("itemid"), itemId},
                           {QStringLiteral("wphone"), maskedPhone(phone)},
                           {QStringLiteral("lianmai"), kLianmai}};
    NetRequestObjecet *request = post(Endpoints::instance().call_LianmaiGetPhoneV2, form, [this](const QJsonValue &data) {
        const QJsonObject object = data.toObject();
        const QString caller = textOf(object.value(QLatin1String("caller")));
        const QString called = textOf(object.value(QLatin1String("called")));
        if (called.isEmpty())
            emit safeNumberFailed();
        else
            emit safeNumberArrived(caller, called);
    });
    // No call credit is answered with an offer to buy some; other refusals are the request's.
    connect(request, &NetRequestObjecet::loadFail, this, [this](int code, const QString &message) {
        if (code >= 101 && code <= 103)
            emit noCallCredit(message);
        else
            emit safeNumberFailed();
    });
}

BaseSqlObject *ListingDetailService::storeForOneDownload()
{
    // The store outlives the page if need be; it releases itself when the download ends.
    auto *store = new BaseSqlObject(nullptr, HouseBookCodes::kJointSale);
    connect(store, &BaseSqlObject::loadDataFinish, store, &QObject::deleteLater);
    connect(store, &BaseSqlObject::loadDataFinish, this, &ListingDetailService::storeDownloadFinished);
    return store;
}

void ListingDetailService::refreshOneListing(int id)
{
    storeForOneDownload()->downloadUndateOneHouse(id);
}

void ListingDetailService::fetchChangedListings()
{
    storeForOneDownload()->download_house();
}
