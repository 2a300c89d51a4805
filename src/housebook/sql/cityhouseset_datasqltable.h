#pragma once
// The city's list settings: the order of list columns (showsort) and of search fields
// (searchsort), each kept as JSON text in one row.
#include "sql/basesqlobject.h"

#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class CityHouseSet_DataSqlTable : public BaseSqlObject
{
    Q_OBJECT
public:
    // The table is shared by both books, so the joint-sale flag does not change its name.
    CityHouseSet_DataSqlTable(QObject *parent, bool isJointSale);

    QVariantMap getRow();
    // Writes showsort or searchsort; does nothing while the login window is in front.
    bool updateColumn(const QString &column, const QString &value);
    // Stores the reply of the city's list configuration: showsort from "showsort",
    // searchsort from "search".
    bool storeConfigReply(const QJsonObject &reply);

    // The stored orders as parsed JSON; invalid when empty or unreadable.
    QVariant showSort();
    QVariant searchSort();

private:
    QVariant parsedColumn(const QString &column);
};
