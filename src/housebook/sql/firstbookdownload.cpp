#include "sql/firstbookdownload.h"

#include "datacenter.h"
#include "sql/basesqlobject.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housemessage_datasqltable.h"

namespace {

bool &startedFor(bool isJointSale)
{
    static bool started[2] = {false, false};
    return started[isJointSale ? 1 : 0];
}

bool neverSynced(bool isJointSale)
{
    CompanySQLConfig_DataSqltable config(nullptr, isJointSale);
    if (config.lastUpdateTime() != BaseSqlObject::initialSyncTime())
        return false;
    HouseMessage_DataSqlTable house(nullptr, isJointSale);
    return house.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB) == 0;
}

} // namespace

namespace FirstBookDownload {

bool startIfNeeded(bool isJointSale)
{
    if (startedFor(isJointSale) || DataCenter::UserPhoneNumber.isEmpty()
        || DataCenter::CurrentWindow == QLatin1String("Login") || !neverSynced(isJointSale))
        return false;
    startedFor(isJointSale) = true;
    auto *download = new BaseSqlObject(nullptr, isJointSale);
    QObject::connect(download, &BaseSqlObject::allLoadFinish, download, &QObject::deleteLater);
    // The user's profile and rights first, then settings and reference data, the book last.
    download->download_id({23, 5, 11, 22, 2, 3, 4, 6, 7, 10, 12, 13, 14, 15, 16, 17, 19, 20, 24, 25, 26, 1});
    return true;
}

} // namespace FirstBookDownload
