#include "portal/portalrecords.h"

namespace PortalRecords {

QList<PortalPhoto> promotionPhotosOf(const QJsonValue &) { return {}; }
QJsonArray vrsOf(const QJsonValue &) { return {}; }
void videoOf(const QJsonValue &, QString *, QString *) {}
void watermarkOf(const QJsonValue &, QString *, int *) {}
QJsonObject portalInfoOf(const QJsonValue &) { return {}; }
int housestatusOf(const QJsonValue &) { return -1; }
QString wubaCommunityIdOf(const QJsonValue &) { return {}; }
QString refusalText(Refusal, bool) { return {}; }
bool hasMapPosition(const PortalCommunity &) { return false; }
bool buildYearAcceptable(const QString &, int) { return false; }
Refusal wubaRefusal(const PortalPushData &, int) { return Refusal::None; }
Refusal xinfuLiRefusal(const PortalPushData &, bool) { return Refusal::None; }
QString wubaCateId(bool rent) { return rent ? QStringLiteral("8") : QStringLiteral("12"); }
QVariantMap wubaCommunityForm(const PortalPushData &) { return {}; }
QJsonObject wubaRecord(const PortalPushData &) { return {}; }
QVariantMap wubaHouseForm(const PortalPushData &) { return {}; }
QVariantMap wubaListingForm(const PortalPushData &) { return {}; }
QJsonObject xinfuLiRecord(const PortalPushData &, const QString &) { return {}; }
QVariantMap xinfuLiImportForm(const PortalPushData &, const QString &) { return {}; }
QList<Field> wubaFieldTable() { return {}; }
QList<Field> xinfuLiFieldTable() { return {}; }

} // namespace PortalRecords
