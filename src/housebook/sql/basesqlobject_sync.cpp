#include "sql/basesqlobject.h"

#include <QJsonValue>

// The listing sync, the snapshot, the column back-fill and the one-listing refresh.

void BaseSqlObject::download_house(bool authRefresh, bool isCanDownloadBD)
{
    Q_UNUSED(authRefresh)
    Q_UNUSED(isCanDownloadBD)
}

void BaseSqlObject::download_first_house()
{
}

void BaseSqlObject::first_house_download_finish()
{
}

void BaseSqlObject::first_house_download_fail()
{
}

void BaseSqlObject::deal_UpdateData(const QJsonValue &value)
{
    Q_UNUSED(value)
}

void BaseSqlObject::dealData_checkHouseDB(const QJsonValue &value)
{
    Q_UNUSED(value)
}

void BaseSqlObject::downloadDB(const QString &url)
{
    Q_UNUSED(url)
}

void BaseSqlObject::downloadDBSuccess()
{
}

void BaseSqlObject::download_keyHouse(const QList<QVariantMap> &house_add_list, const QList<QVariantMap> &community_add_list)
{
    Q_UNUSED(house_add_list)
    Q_UNUSED(community_add_list)
}

void BaseSqlObject::dealData_keyHouse(const QJsonValue &value)
{
    Q_UNUSED(value)
}

void BaseSqlObject::finshData_keyHouse()
{
}

void BaseSqlObject::downloadUndateOneHouse(int id)
{
    Q_UNUSED(id)
}

void BaseSqlObject::deal_UpdateOneHouseData(const QJsonValue &value)
{
    Q_UNUSED(value)
}

void BaseSqlObject::finshData_UpdateOneHouseData()
{
}
