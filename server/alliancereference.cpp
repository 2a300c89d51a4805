// Settings and reference data of the books, one handler per path; the seeded book settings,
// categories and survey standard (the defaults under what an agency saves); plus the
// plausible answer of every other path.
#include "alliancestore.h"

#include <QJsonDocument>
#include <QSqlQuery>

#include <tuple>

namespace Alliance {

Answer fetched(const QJsonValue &data, const QString &message)
{
    Answer a;
    a.message = message;
    a.data = data;
    return a;
}

namespace {

Answer ok(const QJsonValue &data, const QString &message = QStringLiteral("获取成功"))
{
    return fetched(data, message);
}

QJsonArray named(const QStringList &names, int firstId = 1)
{
    QJsonArray list;
    int id = firstId;
    for (const QString &n : names)
        list.append(QJsonObject{{"id", id++}, {"name", n}});
    return list;
}

QJsonArray choices(const QList<QPair<int, const char *>> &items)
{
    QJsonArray list;
    for (const auto &item : items)
        list.append(QJsonObject{{"id", item.first}, {"title", QString::fromUtf8(item.second)}, {"choose", true}});
    return list;
}

QJsonArray stateClasses(const QStringList &titles)
{
    QJsonArray list;
    const QString labels = QStringLiteral("ABCD");
    for (int i = 0; i < titles.size(); ++i)
        list.append(QJsonObject{{"title", titles.at(i)}, {"lable", QString(labels.at(i))}});
    return list;
}

QJsonObject rule(bool choose, int days)
{
    return QJsonObject{{"timeLimit", days > 0}, {"choose", choose}, {"days", days}};
}

// Codes 25 and 26: separation rules as an object of shares per role.
QJsonObject separationRules(bool sale)
{
    QJsonObject shares{{"lururen", 10}, {"weihuren", 20}, {"weituoren", 15}, {"shikanren", 10}, {"yaoshiren", 10}, {"chengjiaoren", 25}};
    if (sale)
        shares.insert(QStringLiteral("dujiaren"), 10);
    return QJsonObject{{"open", 1}, {"shenhe", 1}, {"fendan", shares}};
}

} // namespace

// Code 6: the book settings; `page` is the list's page size.
QJsonObject seededBookConfig()
{
    const QJsonArray tabs{QJsonObject{{"id", 4}, {"title", QStringLiteral("出售房源")}, {"choose", true}},
                          QJsonObject{{"id", 3}, {"title", QStringLiteral("出租房源")}, {"choose", true}},
                          QJsonObject{{"id", 2}, {"title", QStringLiteral("我的出售")}, {"choose", true}},
                          QJsonObject{{"id", 1}, {"title", QStringLiteral("我的出租")}, {"choose", true}}};
    return QJsonObject{
        {"item", tabs},
        {"page", 20},
        {"enterfresh", 1},
        {"housepush", 1},
        {"setrepeat", QStringLiteral("1")},
        {"mysalesearch", choices({{1, "小区"}, {83, "区域/片区"}, {3, "楼栋号"}, {4, "编号"}, {5, "电话"}, {7, "户型"}, {8, "装修"},
                                  {11, "图片"}, {10, "钥匙"}, {22, "跟进"}, {23, "关键字"}, {25, "面积"}, {26, "总价"}, {27, "楼层"},
                                  {28, "录入时间"}})},
        {"mysaleshow", choices({{1, "编号"}, {2, "区域"}, {3, "小区"}, {4, "楼栋号"}, {5, "户型"}, {6, "面积"}, {7, "装修"},
                                {26, "总价"}, {32, "单价"}, {22, "录入人"}, {23, "录入时间"}, {18, "跟进"}, {17, "状态"}, {24, "更新时间"}})},
        {"myrentsearch", choices({{1, "小区"}, {83, "区域/片区"}, {3, "楼栋号"}, {4, "编号"}, {5, "电话"}, {7, "户型"}, {8, "装修"},
                                  {11, "图片"}, {10, "钥匙"}, {16, "租房方式"}, {23, "关键字"}, {36, "租金"}, {25, "面积"}, {27, "楼层"},
                                  {28, "录入时间"}})},
        {"myrentshow", choices({{1, "编号"}, {2, "区域"}, {3, "小区"}, {4, "楼栋号"}, {5, "户型"}, {6, "面积"}, {7, "装修"},
                                {11, "租房方式"}, {13, "租金"}, {22, "录入人"}, {23, "录入时间"}, {12, "付款方式"}, {16, "朝向"}})},
        {"companyGstate", 1},
        {"companySstate", 1},
        {"company_rent_style", 1},
        {"company_sale_style", 1},
        {"storeGstate", 0},
        {"storeSstate", 0},
        {"chushoustate", stateClasses({"有效", "急售", "特价", "一般"})},
        {"chuzustate", stateClasses({"有效", "急租", "特价", "一般"})},
        {"viewrecord", QJsonArray{QJsonObject{{"id", 1}, {"choose", true}}, QJsonObject{{"id", 2}, {"choose", true}},
                                  QJsonObject{{"id", 3}, {"choose", false}}}}};
}

// Code 7: the book's categories.
QJsonObject seededBookCategories()
{
    return QJsonObject{{"property1", named({"住宅", "商铺", "写字楼", "厂房", "车位"})},
                       {"property2", named({"商品房", "房改房", "经济适用房", "安置房", "自建房"})},
                       {"traffic", named({"地铁1号线", "地铁2号线", "地铁3号线", "地铁4号线", "地铁5号线", "BRT1号线"})},
                       {"renttag", named({"拎包入住", "近地铁", "随时看房", "可短租", "押一付一", "独立卫生间"})},
                       {"saletag", named({"满五唯一", "满二", "近地铁", "学区房", "南北通透", "随时看房", "带车位", "电梯房"})},
                       {"payway", named({"押一付三", "押一付一", "押二付三", "半年付", "年付"})},
                       {"laiyuan", named({"上门", "电话", "网络", "老客户", "转介绍", "社区开发"})}};
}

// Code 25: the sale rules with the company's survey standard: photos required per category.
QJsonObject seededSurveyRules()
{
    QJsonObject rules = separationRules(true);
    QJsonArray standard;
    for (const auto &entry : {std::make_tuple(1, 1, true), std::make_tuple(2, 1, false), std::make_tuple(3, 1, true),
                              std::make_tuple(4, 1, true), std::make_tuple(5, 1, false), std::make_tuple(6, 1, false)})
        standard.append(QJsonObject{{"type", std::get<0>(entry)}, {"count", std::get<1>(entry)}, {"choose", std::get<2>(entry)}});
    rules.insert(QStringLiteral("rules"), standard);
    rules.insert(QStringLiteral("shikancontent"), QStringLiteral("照片需横向拍摄、光线充足、画面整洁，不得带有其他平台水印。"));
    return rules;
}

// The handlers of the settings and reference data.
struct ReferenceRoutes
{
    // Code 2: districts with their areas.
    static Answer districts(Store &s, const Form &, const User &)
    {
        QJsonArray list;
        for (const District &d : qAsConst(s.m_districts)) {
            QJsonArray sons;
            for (const auto &a : d.areas)
                sons.append(QJsonObject{{"id", a.first}, {"name", a.second}, {"status", 1}, {"pid", d.id}});
            list.append(QJsonObject{{"id", d.id}, {"name", d.name}, {"status", 1}, {"cityid", 340100}, {"sons", sons}});
        }
        return ok(list);
    }

    // Code 3: public categories as [{name, data}].
    static Answer publicCategories(Store &, const Form &, const User &)
    {
        return ok(QJsonArray{
            QJsonObject{{"name", QStringLiteral("装修")}, {"data", named({"毛坯", "简装", "中装", "精装", "豪装"})}},
            QJsonObject{{"name", QStringLiteral("房产证")}, {"data", named({"满五年", "满两年", "不满两年", "未出证"})}},
            QJsonObject{{"name", QStringLiteral("房屋类型")}, {"data", named({"普通住宅", "公寓", "别墅", "商住", "商铺", "写字楼"})}},
            QJsonObject{{"name", QStringLiteral("标签")}, {"data", named({"满五唯一", "满二", "近地铁", "学区房", "南北通透", "随时看房", "带车位", "电梯房"})}},
            QJsonObject{{"name", QStringLiteral("户型")}, {"data", named({"1室", "2室", "3室", "4室", "5室及以上"})}}});
    }

    static Answer packages(Store &, const Form &, const User &)
    {
        return ok(QJsonArray{QJsonObject{{"id", 1}, {"name", QStringLiteral("房源")}, {"dll", QStringLiteral("qx_jointsale_housebook.dll")}, {"version", QStringLiteral("4.2.0.1")}},
                             QJsonObject{{"id", 2}, {"name", QStringLiteral("客源")}, {"dll", QStringLiteral("qx_clientbook.dll")}, {"version", QStringLiteral("3.8.0.2")}},
                             QJsonObject{{"id", 3}, {"name", QStringLiteral("合同")}, {"dll", QStringLiteral("qx_contract.dll")}, {"version", QStringLiteral("2.6.1.0")}}});
    }

    // Code 12: the city's list configuration.
    static Answer publicOfferConfig(Store &, const Form &, const User &)
    {
        return ok(QJsonObject{{"showsort", choices({{1, "编号"}, {2, "区域"}, {3, "小区"}, {5, "户型"}, {6, "面积"}, {26, "总价"}, {23, "录入时间"}})},
                              {"search", choices({{1, "小区"}, {83, "区域/片区"}, {7, "户型"}, {25, "面积"}, {26, "总价"}})}});
    }

    static Answer cityList(Store &s, const Form &form, const User &)
    {
        QJsonArray areas;
        for (const District &d : qAsConst(s.m_districts))
            areas.append(QJsonObject{{"id", d.id}, {"name", d.name}});
        return ok(QJsonObject{{"cityid", form.value(QStringLiteral("cityId"), QStringLiteral("340100")).toInt()},
                              {"items", QJsonArray{QJsonObject{{"id", 1}, {"name", QStringLiteral("个人房源")}, {"rentType", 0}},
                                                   QJsonObject{{"id", 2}, {"name", QStringLiteral("个人出租")}, {"rentType", 1}}}},
                              {"areas", areas},
                              {"refreshtime", 30}});
    }

    // Code 14: customer-book settings of the three books.
    static Answer clientBookConfig(Store &, const Form &, const User &)
    {
        auto book = [](const QStringList &states) {
            return QJsonObject{{"tags", named({"首套", "改善", "投资", "急需"})}, {"fukuan", named({"全款", "商贷", "公积金", "组合贷"})},
                               {"state", stateClasses(states)}};
        };
        return ok(QJsonObject{{"customersaleset", book({"有效", "急需", "一般", "暂缓"})},
                              {"customerrentset", book({"有效", "急租", "一般", "暂缓"})},
                              {"customernewhouseset", book({"有效", "意向", "一般", "暂缓"})}});
    }

    static Answer clientBookListConfig(Store &, const Form &, const User &)
    {
        return ok(QJsonObject{{"liebiaoitem", choices({{1, "编号"}, {2, "姓名"}, {3, "电话"}, {4, "需求"}, {5, "预算"}})},
                              {"gonggong", 1}});
    }

    static Answer contractSettings(Store &, const Form &, const User &)
    {
        return ok(QJsonObject{{"tags", named({"按揭", "全款", "急办"})}, {"yongjin", 2.0}, {"bianhao", QStringLiteral("HT")}});
    }

    // Code 19: call settings.
    static Answer callSettings(Store &, const Form &, const User &)
    {
        const QJsonObject sale{{"timeLimit", true}, {"choose", true}, {"days", 7},
                               {"wuXiao", rule(true, 3)},  {"yiShou", rule(true, 3)},       {"chengJiao", rule(false, 0)},
                               {"yiDing", rule(true, 5)}, {"dianHuaWuXiao", rule(true, 1)}, {"zanBuShou", rule(false, 0)}};
        const QJsonObject three{{"ershoufang", rule(true, 7)}, {"zufang", rule(true, 3)}, {"xinfang", rule(false, 0)}};
        return ok(QJsonObject{{"isopen", 1},
                              {"housebook", QJsonObject{{"sale", sale}, {"rent", rule(true, 3)}, {"datadisk", rule(false, 0)}}},
                              {"clientbook", three},
                              {"hetong", three}});
    }

    // Code 26: the rent separation rules.
    static Answer rentSeparationRules(Store &, const Form &, const User &)
    {
        return ok(separationRules(false));
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"app/getdistric", districts},
                      {"publics/housecategory", publicCategories},
                      {"softpack/basePcAppPosts", packages},
                      {"app/getpublicofferconfig", publicOfferConfig},
                      {"black/cityList", cityList},
                      {"app/getclientbookconfig", clientBookConfig},
                      {"app/getclientbookbconfig", clientBookListConfig},
                      {"app/scontractSetting", contractSettings},
                      {"app/scontractrentsetting", contractSettings},
                      {"call/getsetting", callSettings},
                      {"fd/GetRentFendanguize", rentSeparationRules}});
    }
};

void addReferenceRoutes(RouteTable &table)
{
    ReferenceRoutes::addTo(table);
}

// Every other path of the table: success, with an empty list for list-like paths
// ({"list": [], "total": 0}) and an empty object otherwise.
Answer Store::generic(const QString &path, const Form &)
{
    const QString lower = path.toLower();
    if (lower.contains(QLatin1String("posts")) || lower.contains(QLatin1String("list")) || lower.contains(QLatin1String("record"))
        || lower.contains(QLatin1String("search")))
        return ok(QJsonObject{{"list", QJsonArray()}, {"total", 0}});
    return ok(QJsonObject(), QStringLiteral("操作成功"));
}

} // namespace Alliance
