#include "sql/housebookweihumessage_datasqltable.h"

#include "sql/sqlliteral.h"

#include <QSqlDatabase>

namespace {

const QString kTable = QStringLiteral("weihu_house");
const QString kHouseTable = QStringLiteral("house");

} // namespace

HouseBookWeiHuMessage_DataSqlTable::HouseBookWeiHuMessage_DataSqlTable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    if (!isHaveTable(kTable, CompanyDB))
        createTable(QStringLiteral("create table %1(id int unique,days varchar)").arg(kTable), CompanyDB);
}

bool HouseBookWeiHuMessage_DataSqlTable::storeDays(const QList<QVariantMap> &list, bool clearOld)
{
    QSqlDatabase db = database(CompanyDB);
    if (!db.isOpen() || !db.transaction())
        return false;
    if ((clearOld && !clearTableData(kTable, CompanyDB)) || !writeDays(list)) {
        db.rollback();
        return false;
    }
    return db.commit();
}

bool HouseBookWeiHuMessage_DataSqlTable::writeDays(const QList<QVariantMap> &list)
{
    const QString sql = QStringLiteral("replace into %1 values(?,?)").arg(kTable);
    for (const QVariantMap &entry : list) {
        bool isNumber = false;
        const int id = entry.value(QStringLiteral("houseid")).toString().toInt(&isNumber);
        if (!isNumber || id <= 0)
            continue;
        if (!exec(CompanyDB, sql, {id, entry.value(QStringLiteral("days")).toString()}))
            return false;
    }
    return true;
}

QString HouseBookWeiHuMessage_DataSqlTable::daysOf(int houseId)
{
    return selectRows(CompanyDB, QStringLiteral("select days from %1 where id=?").arg(kTable), {houseId})
        .value(0)
        .value(QStringLiteral("days"))
        .toString();
}

int HouseBookWeiHuMessage_DataSqlTable::count(const QString &whereClause, const QVariantList &values)
{
    const QString where = SqlLiteral::finalized(whereClause);
    const QString sql = QStringLiteral("select count(*) as n from %1 inner join %2 on %3.id=%4.id %5")
                            .arg(kHouseTable, kTable, kHouseTable, kTable, where);
    const QList<QVariantMap> rows = selectRows(CompanyDB, sql, values);
    return rows.isEmpty() ? 0 : rows.first().value(QStringLiteral("n")).toInt();
}
