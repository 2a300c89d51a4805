// Requests of the role rows: the list, handing over, picking up, releasing, the history.
#include "services/separationservice.h"

#include "datacenter.h"
#include "net/endpoints.h"
#include "net/wholenumber.h"
#include "platform/housebookcodes.h"
#include "services/allianceassignform.h"
#include "sql/usermessage_datasqltable.h"

#include <QJsonObject>

using namespace HouseBookSeperateList_Model;

namespace {

constexpr int kHistoryPageSize = 20;

// The listing's own record of a role's holder (entry and maintenance only).
const HouseMessage_DataSqlTable::XieZuoItemData &holderOf(const HouseMessage_DataSqlTable::HouseMessageData &house,
                                                          int type)
{
    return type == LuRu ? house.lururen : house.weihuren;
}

QString entryIdOf(const ItemData &row)
{
    return row.hasEntry() ? row.id : QStringLiteral("0");
}

} // namespace

void SeparationService::loadList(int itemId)
{
    post(List, Endpoints::instance().fd_LianmaiPosts, {{QStringLiteral("itemid"), itemId}},
         [this, itemId](const QJsonValue &data) { emit listLoaded(itemId, listFromJson(data)); });
}

void SeparationService::pickUp(int itemId)
{
    post(PickUp, Endpoints::instance().fd_hbweihuren, {{QStringLiteral("itemid"), itemId}},
         [this, itemId](const QJsonValue &) { emit pickedUp(itemId); });
}

void SeparationService::assign(const HouseMessage_DataSqlTable::HouseMessageData &house, const ItemData &row,
                               const QVariantMap &person)
{
    const int type = row.type;
    const auto done = [this, type](const QJsonValue &) { emit assigned(type); };
    if (type == LuRu || type == WeiHu) {
        const QVariantMap form = AllianceAssignForm::of(house, holderOf(house, type), person,
                                                        AllianceAssignForm::positiveNumber(row.info.userId));
        const Endpoints &e = Endpoints::instance();
        post(Assign, type == LuRu ? e.app_LianmaiHouseFenpei : e.fd_LianmaiChangeWeihuren, form, done);
        return;
    }
    post(Assign, Endpoints::instance().fd_Changeoperator,
         {{QStringLiteral("type"), type},
          {QStringLiteral("houseid"), house.id},
          {QStringLiteral("xiezuoid"), entryIdOf(row)},
          {QStringLiteral("userid"), AllianceAssignForm::firstNumber(person, {"id", "userid", "yonghuid"})}},
         done);
}

void SeparationService::remove(int itemId, const ItemData &row)
{
    const int type = row.type;
    post(Remove, Endpoints::instance().fd_JieChu,
         {{QStringLiteral("type"), type}, {QStringLiteral("id"), entryIdOf(row)}, {QStringLiteral("itemid"), itemId}},
         [this, type](const QJsonValue &) { emit removed(type); });
}

void SeparationService::loadHistory(const QString &entryId, int pageIndex)
{
    post(History, Endpoints::instance().fd_fendanrecord,
         {{QStringLiteral("id"), entryId}, {QStringLiteral("pageindex"), pageIndex},
          {QStringLiteral("pagesize"), kHistoryPageSize}},
         [this](const QJsonValue &data) {
             const QList<QVariantMap> lines = rowsOf(data);
             const int total = WholeNumber::toInt(data.toObject().value(QStringLiteral("total")).toVariant());
             emit historyLoaded(lines, qMax(total, lines.size()));
         });
}

// The office approval service wants the asking user's store and job beside the record.
void SeparationService::askCanCheck(const QString &recordId)
{
    const QVariantMap user = UserMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale).getUserInfo();
    post(CanCheck, Endpoints::instance().apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck,
         {{QStringLiteral("user_id"), DataCenter::YongHuID},
          {QStringLiteral("record_id"), recordId},
          {QStringLiteral("store_id"), user.value(QStringLiteral("deptid")).toString()},
          {QStringLiteral("role_id"), user.value(QStringLiteral("jobid")).toString()}},
         [this](const QJsonValue &data) {
             const QJsonValue flag = data.toObject().value(QStringLiteral("cancheck"));
             emit canCheckAnswered(flag.isBool() ? flag.toBool() : WholeNumber::toInt(flag.toVariant()) == 1);
         });
}
