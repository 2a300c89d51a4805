#include "services/listingviewservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "platform/housebookcodes.h"
#include "services/allianceassignform.h"
#include "sql/housebookset_sqltable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using HouseBookCodes::kJointSale;

namespace {

QString typeOf(bool rent)
{
    return rent ? QStringLiteral("2") : QStringLiteral("1");
}

QVariantMap listingForm(int id, bool rent)
{
    return {{QStringLiteral("id"), id}, {QStringLiteral("type"), typeOf(rent)}, {QStringLiteral("lianmai"), QStringLiteral("1")}};
}

// One request whose object releases itself once it has ended.
NetRequestObjecet *newRequest(QObject *owner)
{
    auto *request = new NetRequestObjecet(owner);
    QObject::connect(request, &NetRequestObjecet::loadFinish, request, &QObject::deleteLater);
    return request;
}

} // namespace

ListingViewService::ListingViewService(QObject *parent) : QObject(parent)
{
}

void ListingViewService::recordView(int id, bool rent)
{
    HouseBookSet_SqlTable(nullptr, kJointSale).appendHistoryId(QStringLiteral("readhistory"), QString::number(id));
    NetRequestObjecet *request = newRequest(this);
    connect(request, &NetRequestObjecet::loadSuccess, this, [this, id] { emit viewed(id); });
    connect(request, &NetRequestObjecet::loadFail, this, [this, id, request](int code, const QString &message) {
        if (code == kRefusedCode)
            emit viewRefused(id);
        else if (code == kFollowFirstCode)
            emit followFirst(waitingIdFrom(request->result().toUtf8(), message), message);
        else
            emit viewFailed(id);
    });
    request->postForm(Endpoints::instance().app_addviews, listingForm(id, rent));
}

// The lock is bookkeeping the agent did not ask for: its failures stay quiet.
void ListingViewService::sendMustFollow(int id, bool rent)
{
    NetRequestObjecet *request = newRequest(this);
    request->closeAlert();
    request->postForm(Endpoints::instance().app_addgenjinlimt, listingForm(id, rent));
}

void ListingViewService::clearMustFollow()
{
    NetRequestObjecet *request = newRequest(this);
    request->closeAlert();
    request->postForm(Endpoints::instance().app_cleargenjinlimt, {{QStringLiteral("lianmai"), QStringLiteral("1")}});
}

void ListingViewService::assign(const HouseMessage_DataSqlTable::HouseMessageData &record, const QVariantMap &person)
{
    const int id = record.id;
    QVariantMap form = AllianceAssignForm::of(record, record.lururen, person);
    form.insert(QStringLiteral("lianmai"), QStringLiteral("1"));
    NetRequestObjecet *request = newRequest(this);
    connect(request, &NetRequestObjecet::loadSuccess, this, [this, id] { emit assigned(id); });
    connect(request, &NetRequestObjecet::loadFail, this,
            [this, id](int, const QString &message) { emit assignFailed(id, message); });
    request->postForm(Endpoints::instance().app_LianmaiHouseFenpei, form);
}

int ListingViewService::waitingIdFrom(const QByteArray &reply, const QString &message)
{
    const QJsonValue data = QJsonDocument::fromJson(reply).object().value(QStringLiteral("data"));
    using AllianceAssignForm::positiveNumber;
    if (const int id = positiveNumber(data.toObject().value(QStringLiteral("id")).toVariant()))
        return id;
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\d+")).match(message);
    return match.hasMatch() ? positiveNumber(match.captured()) : 0;
}

int ListingViewService::enteringCompanyId(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    return AllianceAssignForm::holderCompanyId(record, record.lururen);
}

int ListingViewService::enteringUserId(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    return AllianceAssignForm::holderUserId(record.lururen);
}
