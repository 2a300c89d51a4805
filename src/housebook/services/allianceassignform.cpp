#include "services/allianceassignform.h"

namespace AllianceAssignForm {

int positiveNumber(const QVariant &value)
{
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok && number > 0 ? number : 0;
}

int firstNumber(const QVariantMap &entry, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        if (const int number = positiveNumber(entry.value(QLatin1String(key))))
            return number;
    }
    return 0;
}

int holderCompanyId(const HouseMessage_DataSqlTable::HouseMessageData &record,
                    const HouseMessage_DataSqlTable::XieZuoItemData &holder)
{
    if (const int id = firstNumber(holder.data, {"companyid", "company_id", "fbcompanyid"}))
        return id;
    return record.fbcompanyid > 0 ? record.fbcompanyid : record.companyid;
}

int holderUserId(const HouseMessage_DataSqlTable::XieZuoItemData &holder)
{
    return firstNumber(holder.data, {"yonghuid", "userid", "id"});
}

QVariantMap of(const HouseMessage_DataSqlTable::HouseMessageData &record,
               const HouseMessage_DataSqlTable::XieZuoItemData &holder, const QVariantMap &person,
               int presentUserId)
{
    return {{QStringLiteral("companyid"), holderCompanyId(record, holder)},
            {QStringLiteral("yonghuid"), presentUserId > 0 ? presentUserId : holderUserId(holder)},
            {QStringLiteral("id"), record.id},
            {QStringLiteral("ncompanyid"), firstNumber(person, {"companyid", "company_id"})},
            {QStringLiteral("nuserid"), firstNumber(person, {"id", "userid", "yonghuid"})}};
}

} // namespace AllianceAssignForm
