// Requests of the evidence forms and the lists they choose from.
#include "services/separationservice.h"

#include "net/endpoints.h"

#include <QJsonObject>

namespace {

QString evidencePath(SeparationService::Request kind)
{
    const Endpoints &e = Endpoints::instance();
    switch (kind) {
    case SeparationService::KeyEvidence:
        return e.fd_hbaddkey;
    case SeparationService::DuJiaEvidence:
        return e.fd_hbdujia;
    case SeparationService::DealEvidence:
        return e.fd_hbchengjiao;
    case SeparationService::WeiTuoEvidence:
        return e.fd_hbweituo;
    default:
        return QString();
    }
}

} // namespace

void SeparationService::submitEvidence(Request kind, const QVariantMap &form)
{
    const QString path = evidencePath(kind);
    if (path.isEmpty()) {
        emit failed(kind, QString());
        emit finished(kind);
        return;
    }
    // The form asks for self-approval; the reply tells whether it applied.
    QVariantMap body = form;
    body.insert(QStringLiteral("pass"), 1);
    post(kind, path, body, [this, kind](const QJsonValue &data) { emit evidenceSubmitted(kind, autoApproved(data)); });
}

void SeparationService::loadDealContracts(bool rent, const QString &houseAddress, const QString &community)
{
    const Endpoints &e = Endpoints::instance();
    post(DealContracts, rent ? e.app_LianmaiScontractRentPosts : e.app_LianmaiScontractPosts,
         {{QStringLiteral("houseaddress"), houseAddress}, {QStringLiteral("xiaoqu"), community}},
         [this](const QJsonValue &data) { emit dealContractsLoaded(rowsOf(data)); });
}

void SeparationService::loadEleContracts(const QString &code)
{
    post(EleContracts, Endpoints::instance().itcontract_LianmaiPosts, {{QStringLiteral("htcode"), code}},
         [this](const QJsonValue &data) { emit eleContractsLoaded(rowsOf(data)); });
}

void SeparationService::loadCompanyPromotion()
{
    post(CompanyPromotion, Endpoints::instance().xinfuli_getCompanyPromotion, {},
         [this](const QJsonValue &data) { emit companyPromotionLoaded(data.toObject().toVariantMap()); });
}
