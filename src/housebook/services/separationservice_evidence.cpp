// Requests of the evidence forms and the lists they choose from.
#include "services/separationservice.h"

void SeparationService::submitEvidence(Request, const QVariantMap &) {}
void SeparationService::loadDealContracts(bool, const QString &, const QString &) {}
void SeparationService::loadEleContracts(const QString &) {}
void SeparationService::loadCompanyPromotion() {}
