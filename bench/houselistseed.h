#pragma once
// Realistic listings of the joint-sale book for the list page's benchmark and screenshots:
// Chinese community names, districts and remarks, a mix of sale and rent, flags and states,
// and an agent signed in like the host would leave one.
#include "datacenter.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/usermessage_datasqltable.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QStringList>
#include <QVariantMap>

namespace HouseListSeed {

inline const QString &me()
{
    static const QString phone = QStringLiteral("13800000001");
    return phone;
}

inline QString pick(QRandomGenerator &rng, const QStringList &list)
{
    return list.at(int(rng.bounded(list.size())));
}

inline QString communityName(int index)
{
    static const QStringList prefixes =
        QStringLiteral("阳光,翡翠,滨湖,万科,绿地,保利,碧桂园,融创,中海,华润,金地,龙湖,招商,世茂,恒大,富力").split(',');
    static const QStringList suffixes =
        QStringLiteral("花园,小区,公馆,湖畔,名邸,家园,新村,华府,天地,雅苑,国际,广场,尚城,壹号,御景,半岛").split(',');
    return prefixes.at(index % prefixes.size()) + suffixes.at((index / prefixes.size()) % suffixes.size());
}

inline QVariantMap person(QRandomGenerator &rng)
{
    static const QStringList agents = QStringLiteral("张伟,王芳,李娜,刘洋,陈杰,杨静,赵磊,黄敏,周强,吴婷").split(',');
    const int agent = int(rng.bounded(200));
    return {{"name", agents.at(agent % agents.size())},
            {"phone", QStringLiteral("1390000%1").arg(agent, 4, 10, QLatin1Char('0'))},
            {"review", rng.bounded(10) != 0}};
}

// One listing; even ids rent, odd ids sale; mostly active and unflagged.
inline QVariantMap makeListing(int id, QRandomGenerator &rng)
{
    static const QStringList districts = QStringLiteral("蜀山区,包河区,庐阳区,瑶海区,政务区,高新区,经开区").split(',');
    static const QStringList areas = QStringLiteral("南七,三里庵,滨湖,万达,天鹅湖,大学城,四牌楼,琥珀").split(',');
    static const QStringList decorations = QStringLiteral("毛坯,简单装修,中等装修,精装修,豪华装修").split(',');
    static const QStringList towards = QStringLiteral("南,南北,东南,东西,西南").split(',');
    static const QStringList saleStates = QStringLiteral("急售,有效,有效,有效,一般,暂缓,已售,无效").split(',');
    static const QStringList rentStates = QStringLiteral("急租,有效,有效,有效,一般,暂缓,已租,无效").split(',');
    static const QStringList tags = QStringLiteral("满五唯一,学区房,地铁房,南北通透,精装修,急售,随时看房").split(',');
    const auto oneIn = [&rng](int n) { return rng.bounded(n) == 0 ? 1 : 0; };
    const bool rent = id % 2 == 0;
    const int room = 1 + int(rng.bounded(4));
    const double area = 40 + rng.bounded(160);
    const double price = rent ? 800 + rng.bounded(7200) : 50 + rng.bounded(450);
    const QString time =
        QDateTime(QDate(2023, 1, 1), QTime(8, 0)).addSecs(qint64(id) * 120).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    QVariantMap m{{"id", id}, {"types", rent ? 1 : 0}, {"userphone", oneIn(50) ? me() : person(rng).value("phone")},
                  {"mycommunityid", 1 + id % 500}, {"name", communityName(id % 500)},
                  {"buildingNo", QString::number(1 + rng.bounded(30))}, {"unitNo", QString::number(1 + rng.bounded(4))},
                  {"roomNo", QString::number((1 + rng.bounded(30)) * 100 + 1 + rng.bounded(4))},
                  {"district", pick(rng, districts)}, {"area", pick(rng, areas)}, {"author", person(rng).value("name")},
                  {"room", room}, {"hall", 1 + int(rng.bounded(2))}, {"huxingwei", 1}, {"floors", 1 + int(rng.bounded(30))},
                  {"allfloors", 33}, {"price", price}, {"unitprice", rent ? 0 : int(price * 10000 / area)},
                  {"builtuparea", area}, {"renovation", pick(rng, decorations)}, {"toward", pick(rng, towards)},
                  {"housetype", QStringLiteral("住宅")}, {"tags", pick(rng, tags) + "," + pick(rng, tags)},
                  {"createtime", time}, {"lasttime", time}, {"deptname", QStringLiteral("滨湖一部")},
                  {"newstate", pick(rng, rent ? rentStates : saleStates)}, {"cityid", 340100}, {"companyid", 0},
                  {"isdel", 0}, {"sf", 0}, {"stype", oneIn(8)}, {"housestatus", 1 - oneIn(20)}, {"istop", oneIn(200)},
                  {"suopan", oneIn(30)}, {"fengpan", oneIn(50)}, {"hbdujia", oneIn(15)}, {"shenhestatus", oneIn(40)},
                  {"deptid", 11 + int(rng.bounded(20))}, {"companyname", QStringLiteral("启贤地产")}};
    if (rng.bounded(5) < 3)
        m.insert({{"lururen", person(rng)}, {"weihuren", person(rng)}});
    return m;
}

// An ordinary agent of department 11 with the rights of a shop assistant (not a manager, so
// the permission clauses and the privacy mask run), and a page size.
inline void signIn(const QString &baseDir, int pageSize)
{
    DataCenter::reset();
    DataCenter::CityID = 340100;
    DataCenter::CompanyID = 1001;
    DataCenter::JointSaleCompanyId = 9001;
    DataCenter::UserPhoneNumber = me();
    DataCenter::UserOnline = true;
    DataCenter::CurrentWindow = QStringLiteral("main");
    BaseSqlObject::setPersonalBaseDir(baseDir + QStringLiteral("/app"));
    const auto right = [](int id, int range) {
        return QVariantMap{{"id", id}, {"selected", true}, {"range", range}, {"bumens", QVariantList()}};
    };
    const QVariantList rights{right(132, 0), right(102, 4), right(136, 4), right(48, 4), right(59, 4), right(110, 0)};
    const QVariantMap bumens{{"suozai_bumens", QVariantList{QVariantMap{{"id", 11}}}},
                             {"sons", QVariantList{QVariantMap{{"dept_id", 10}, {"dept_name", QStringLiteral("滨湖区域")},
                                                               {"sons", QVariantList{QVariantMap{{"dept_id", 11}}}}}}}};
    UserMessage_DataSqlTable user(nullptr, true);
    user.updateColumn(QStringLiteral("userauth"), QString::fromUtf8(QJsonDocument::fromVariant(rights).toJson()));
    user.updateColumn(QStringLiteral("bumens"), QString::fromUtf8(QJsonDocument::fromVariant(bumens).toJson()));
    HouseBookSet_SqlTable settings(nullptr, true);
    settings.setValue(QStringLiteral("page"), QString::number(pageSize));
    const QVariantMap bookset{{"chushoustate", QStringLiteral("急售,有效,一般,暂缓")},
                              {"chuzustate", QStringLiteral("急租,有效,一般,暂缓")}};
    settings.setValue(QStringLiteral("bookset"), QString::fromUtf8(QJsonDocument::fromVariant(bookset).toJson()));
    // The sale book shows its total price, so the page can be sorted by it.
    QList<QVariantMap> columns = settings.showItems(HouseBookSet_SqlTable::SaleBook);
    for (QVariantMap &c : columns) {
        if (c.value(QStringLiteral("title")).toString() == QStringLiteral("总价"))
            c.insert(QStringLiteral("choose"), true);
    }
    settings.setShowItems(HouseBookSet_SqlTable::SaleBook, columns);
}

// Listings 1..count in pages of 1,000, one transaction each.
inline int seed(int count, quint32 seedValue = 20240305)
{
    HouseMessage_DataSqlTable houses(nullptr, true);
    QRandomGenerator rng(seedValue);
    int written = 0;
    for (int first = 1; first <= count; first += 1000) {
        QList<QVariantMap> page;
        for (int id = first; id < first + 1000 && id <= count; ++id)
            page << makeListing(id, rng);
        written += qMax(0, houses.insertOrReplaceHouses(page, true));
    }
    return written;
}

} // namespace HouseListSeed
