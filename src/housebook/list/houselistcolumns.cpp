#include "list/houselistcolumns.h"

#include "list/houselisttablewidget.h"

#include "sql/housebookset_sqltable.h"

#include <QHash>

namespace HouseListColumns {

QList<QVariantMap> visibleColumns(bool sale, int availableWidth, bool isJointSale)
{
    HouseBookSet_SqlTable settings(nullptr, isJointSale);
    QList<QVariantMap> columns;
    for (const QVariantMap &item :
         settings.showItems(sale ? HouseBookSet_SqlTable::SaleBook : HouseBookSet_SqlTable::RentBook)) {
        if (item.value(QStringLiteral("choose")).toBool())
            columns << item;
    }
    assignWidths(columns, availableWidth);
    return columns;
}

void assignWidths(QList<QVariantMap> &columns, int availableWidth)
{
    int fixedSum = 0;
    int rateSum = 0;
    for (const QVariantMap &c : qAsConst(columns)) {
        const int fixed = c.value(QStringLiteral("fixed")).toInt();
        fixedSum += fixed;
        rateSum += fixed > 0 ? 0 : qMax(1, c.value(QStringLiteral("rate")).toInt());
    }
    const int shared = qMax(0, availableWidth - fixedSum);
    for (QVariantMap &c : columns) {
        const int fixed = c.value(QStringLiteral("fixed")).toInt();
        const int rate = qMax(1, c.value(QStringLiteral("rate")).toInt());
        const int width = fixed > 0 ? fixed : (rateSum > 0 ? shared * rate / rateSum : 0);
        c.insert(QStringLiteral("width"), qMax(40, width));
    }
}

QStringList fieldsFor(const QList<QVariantMap> &columns)
{
    static const QStringList fixedFields = QStringLiteral(
        "id,types,userphone,name,buildingNo,unitNo,roomNo,photo,newstate,companyid,sf,stype,housestatus,deptid,"
        "istop,suopan,fengpan,hbdujia,havegarage,havevideo,shenhestatus,aboutid,companyname,quanjing,createtime,"
        "lasttime,dongunit,danyuanunit").split(QLatin1Char(','));
    static const QHash<QString, QString> byKey{
        {"key_area", "district,area"}, {"key_housetype", "hutype,room,hall,huxingwei"},
        {"key_size", "builtuparea"}, {"key_zhuangxiu", "renovation"}, {"key_peitao", "peitao"},
        {"key_jiaotong", "traffic"}, {"key_seehousetime", "seetime"}, {"key_rentway", "rentway"},
        {"key_payway", "payway"}, {"key_monthmoney", "price,zuunit"}, {"key_zhutime", "ruzhutime"},
        {"key_key", "keys"}, {"key_chaoxiang", "toward"}, {"key_follow", "follows"}, {"key_source", "source"},
        {"key_phone", "contacts"}, {"key_remark", "remark"}, {"key_publisher", "author,deptname"},
        {"key_followdate", "followtime"}, {"key_price", "price"}, {"key_chanquan", "propertyquan"},
        {"key_chanzheng", "property"}, {"key_car", "garage"}, {"key_school", "primaryschool,middleschool"},
        {"key_xingzhi", "attribute"}, {"key_unitprice", "unitprice"}, {"key_tags", "tags"},
        {"key_floor", "floors,allfloors"},
        {"key_xiezuo", "lururen,weihuren,weituoren,shikanren,yaoshiren,dujiaren,chengjiaoren,jindu"},
        {"key_house_type", "housetype"}};
    QStringList fields = fixedFields;
    for (const QVariantMap &c : columns) {
        const QString more = byKey.value(c.value(QStringLiteral("key")).toString());
        if (!more.isEmpty())
            fields << more.split(QLatin1Char(','));
    }
    return fields;
}

QString sortKeyForTitle(const QString &title, bool withDays)
{
    static const QHash<QString, QString> keys{
        {"面积", "builtuparea"}, {"单价", "unitprice"}, {"总价", "price"}, {"更新时间", "lasttime"},
        {"录入时间", "createtime"}, {"户型", "room"}, {"租金", "price"}, {"入住时间", "ruzhutime"},
        {"跟进时间", "followtime"}, {"楼层", "floors"}, {"编号", "id"}};
    if (withDays && title == QStringLiteral("到期时间"))
        return QStringLiteral("days");
    return keys.value(title);
}

} // namespace HouseListColumns

void HouseListColumns::renderPage(HouseListTableWidget *table, QList<QVariantMap> columns, int availableWidth,
                                  int pageSize, const QList<HouseMessage_DataSqlTable::HouseMessageData> &listings)
{
    assignWidths(columns, availableWidth);
    table->setColumns(columns);
    table->fitRowHeight(pageSize);
    table->setRows(listings);
    table->fitColumnWidths(availableWidth);
}
