#include "services/separationservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "net/wholenumber.h"

#include <QJsonArray>
#include <QJsonObject>

SeparationService::SeparationService(QObject *parent)
    : QObject(parent)
{
}

void SeparationService::post(Request request, const QString &url, const QVariantMap &form,
                             const std::function<void(const QJsonValue &)> &onSuccess)
{
    auto *net = new NetRequestObjecet(this);
    QVariantMap body = form;
    body.insert(QStringLiteral("lianmai"), 1);
    if (isChange(request))
        net->setFailureNotice(m_failureNotice);
    connect(net, &NetRequestObjecet::loadSuccess, this, onSuccess);
    // The reason in the agent's words ("服务器错误(500)", the server's own refusal), not the
    // transport's.
    connect(net, &NetRequestObjecet::loadFail, this,
            [this, request, net] { emit failed(request, net->failureReason()); });
    connect(net, &NetRequestObjecet::loadFinish, this, [this, net, request] {
        net->deleteLater();
        emit finished(request);
    });
    net->postForm(url, body);
}

bool SeparationService::isChange(Request request)
{
    switch (request) {
    case PickUp:
    case Assign:
    case Remove:
    case KeyEvidence:
    case DuJiaEvidence:
    case DealEvidence:
    case WeiTuoEvidence:
    case Review:
        return true;
    default:
        return false;
    }
}

bool SeparationService::autoApproved(const QJsonValue &data)
{
    const QJsonValue pass = data.toObject().value(QStringLiteral("pass"));
    return pass.isBool() ? pass.toBool() : WholeNumber::toInt(pass.toVariant()) == 1;
}

QList<QVariantMap> SeparationService::rowsOf(const QJsonValue &data)
{
    QJsonArray rows = data.toArray();
    if (!data.isArray())
        rows = data.toObject().value(QStringLiteral("list")).toArray();
    QList<QVariantMap> maps;
    for (const QJsonValue &row : rows) {
        if (row.isObject())
            maps << row.toObject().toVariantMap();
    }
    return maps;
}

void SeparationService::loadDetail(const QString &entryId)
{
    post(Detail, Endpoints::instance().fd_hbfendandetail, {{QStringLiteral("id"), entryId}},
         [this](const QJsonValue &data) { emit detailLoaded(HouseBookSeperateDetail_Model::fromJson(data)); });
}
