#include "services/maintainertermsservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "platform/housebookcodes.h"
#include "sql/housebookweihumessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QVariantMap>

MaintainerTermsService::MaintainerTermsService(QObject *parent) : QObject(parent)
{
}

void MaintainerTermsService::download()
{
    auto *request = new NetRequestObjecet(this);
    request->closeAlert();
    connect(request, &NetRequestObjecet::loadSuccess, this, [this](const QJsonValue &reply) {
        storeTerms(reply);
        emit termsStored();
    });
    connect(request, &NetRequestObjecet::loadFail, this,
            [this, request] { emit downloadFailed(request->failureReason()); });
    connect(request, &NetRequestObjecet::loadFinish, request, &QObject::deleteLater);
    request->postForm(Endpoints::instance().app_HouseMaintain, {{QStringLiteral("lianmai"), QStringLiteral("1")}});
}

void MaintainerTermsService::storeTerms(const QJsonValue &reply)
{
    QList<QVariantMap> terms;
    for (const QJsonValue &item : reply.toArray()) {
        if (item.isObject())
            terms << item.toObject().toVariantMap();
    }
    HouseBookWeiHuMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).storeDays(terms, true);
}
