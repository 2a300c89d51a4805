#pragma once
// The maintenance days of listings (weihu_house): listing id to the days since its last
// maintenance, joined with house by the maintainer worklist.
#include "sql/basesqlobject.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class HouseBookWeiHuMessage_DataSqlTable : public BaseSqlObject
{
    Q_OBJECT
public:
    HouseBookWeiHuMessage_DataSqlTable(QObject *parent, bool isJointSale);

    // Stores {houseid, days} entries in one transaction; entries without a positive numeric
    // houseid are skipped. clearOld: the list is the whole worklist, earlier rows go.
    bool storeDays(const QList<QVariantMap> &list, bool clearOld = true);
    // The days stored for a listing; empty when none.
    QString daysOf(int houseId);
    // Listings of the worklist matching a where clause ("where ..." or empty, its wildcard
    // written "<%>"), with its bound values.
    int count(const QString &whereClause = QString(), const QVariantList &values = QVariantList());

private:
    bool writeDays(const QList<QVariantMap> &list);
};
