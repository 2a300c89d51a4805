#include "list/housewatchrange.h"

#include "datacenter.h"
#include "sql/usermessage_datasqltable.h"

#include <QStringList>

namespace HouseWatchRange {

namespace {

QStringList namesOf(const QVariantList &list, const QStringList &keys)
{
    QStringList names;
    for (const QVariant &v : list) {
        if (v.type() != QVariant::Map) {
            if (!v.toString().isEmpty())
                names << v.toString();
            continue;
        }
        const QVariantMap m = v.toMap();
        for (const QString &key : keys) {
            if (!m.value(key).toString().isEmpty()) {
                names << m.value(key).toString();
                break;
            }
        }
    }
    return names;
}

QString deptNamesOf(const QVariantMap &item)
{
    return namesOf(item.value(QStringLiteral("bumens")).toList(), {QStringLiteral("dept_name"), QStringLiteral("name")})
        .join(QLatin1Char(','));
}

QString cityName(const QVariantMap &info)
{
    const QString name = info.value(QStringLiteral("cityname")).toString();
    if (!name.isEmpty())
        return name;
    const QString city = info.value(QStringLiteral("cityinfo")).toMap().value(QStringLiteral("city")).toString();
    return city.isEmpty() ? QString::number(DataCenter::CityID) : city;
}

QString areaLine(const QVariantMap &info)
{
    const QVariant quyu = info.value(QStringLiteral("quyu"));
    const QVariantList districts = quyu.type() == QVariant::Map ? QVariantList{quyu} : quyu.toList();
    QStringList entries;
    for (const QVariant &v : districts) {
        const QVariantMap d = v.toMap();
        if (d.value(QStringLiteral("name")).toString().isEmpty())
            continue;
        const QStringList areas = namesOf(d.value(QStringLiteral("sons")).toList(), {QStringLiteral("name")});
        entries << QStringLiteral("%1(%2)").arg(d.value(QStringLiteral("name")).toString(), areas.join(QLatin1Char(',')));
    }
    return entries.isEmpty() ? QString() : QStringLiteral("5.仅可查看区域：%1").arg(entries.join(QStringLiteral("；")));
}

} // namespace

QString viewScopeLine(bool held, int scope, int distance, const QString &deptNames)
{
    if (!held)
        return QStringLiteral("2.公司房源及所在部门房源");
    switch (scope) {
    case 0:
        return distance > 0 ? QStringLiteral("2.以所在部门为中心【%1m】以内的公司房源及所在部门房源").arg(distance)
                            : QStringLiteral("2.公司房源及所在部门房源");
    case 2: return QStringLiteral("2.仅自己的房源");
    case 4: return QStringLiteral("2.所在部门及以下部门的房源");
    case 5: return QStringLiteral("2.指定部门(%1)的房源").arg(deptNames);
    case 6: return QStringLiteral("2.所在部门的房源");
    default: return QString();
    }
}

QString lockViewLine(bool held, int scope, const QString &deptNames)
{
    if (!held)
        return QStringLiteral("4.锁盘查看：仅自己的锁盘房源");
    switch (scope) {
    case 0: return QStringLiteral("4.锁盘查看：全公司的锁盘房源");
    case 2:
    case 4: return QStringLiteral("4.锁盘查看：所在部门及以下部门的锁盘房源");
    case 5: return QStringLiteral("4.锁盘查看：指定部门(%1)的锁盘房源及自己的锁盘房源").arg(deptNames);
    case 6: return QStringLiteral("4.锁盘查看：所在部门的锁盘房源");
    default: return QString();
    }
}

QString text(bool saleMode, bool isJointSale)
{
    UserMessage_DataSqlTable user(nullptr, isJointSale);
    const QVariantMap info = user.getUserInfo();
    QStringList lines{QStringLiteral("1.当前城市(%1)的房源").arg(cityName(info))};
    if (DataCenter::isJointSaleManger)
        return lines.join(QLatin1Char('\n'));
    const QVariantMap view = user.authorityItem(132);
    const int distance = view.value(QStringLiteral("count"), view.value(QStringLiteral("distance"))).toInt();
    lines << viewScopeLine(user.authorityRange(132) >= 0, view.value(QStringLiteral("range")).toInt(), distance,
                           deptNamesOf(view));
    const int statusRight = saleMode ? 114 : 115;
    if (user.authorityRange(statusRight) >= 0) {
        const QStringList statuses = namesOf(user.authorityItem(statusRight).value(QStringLiteral("sons")).toList(),
                                             {QStringLiteral("name"), QStringLiteral("title")});
        if (!statuses.isEmpty())
            lines << QStringLiteral("3.状态包含在【%1】以内的房源").arg(statuses.join(QLatin1Char(',')));
    }
    const QVariantMap lock = user.authorityItem(102);
    lines << lockViewLine(user.authorityRange(102) >= 0, lock.value(QStringLiteral("range")).toInt(), deptNamesOf(lock));
    lines << areaLine(info);
    // A scope this version does not know, or a status right without statuses, has nothing
    // to tell the agent: its line is left out rather than shown empty.
    lines.removeAll(QString());
    return lines.join(QLatin1Char('\n'));
}

} // namespace HouseWatchRange
