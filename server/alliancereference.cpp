// Settings, reference data, the signed-in user's profile and rights, the organisation, and
// the building data of the communities; plus the plausible answer of every other path.
#include "alliancestore.h"

#include <QJsonDocument>
#include <QSqlQuery>

namespace Alliance {

namespace {

Answer ok(const QJsonValue &data, const QString &message = QStringLiteral("获取成功"))
{
    Answer a;
    a.message = message;
    a.data = data;
    return a;
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

// The names of some rights the pages ask for; the others are numbered.
QString rightName(int id)
{
    static const QHash<int, QString> names{{7, QStringLiteral("查看房源")},        {36, QStringLiteral("删除房源")},
                                           {48, QStringLiteral("修改出售状态")},    {59, QStringLiteral("修改出租状态")},
                                           {102, QStringLiteral("查看业主电话")},   {108, QStringLiteral("锁盘")},
                                           {109, QStringLiteral("封盘")},           {110, QStringLiteral("置顶")},
                                           {132, QStringLiteral("查看范围")},       {136, QStringLiteral("联卖房源审核")}};
    return names.value(id, QStringLiteral("权限%1").arg(id));
}

} // namespace

QJsonObject Store::initObject(const User &u) const
{
    const auto company = std::find_if(m_companies.cbegin(), m_companies.cend(), [&](const Company &c) { return c.id == u.companyId; });
    const auto dept = std::find_if(m_departments.cbegin(), m_departments.cend(), [&](const Department &d) { return d.id == u.deptId; });
    const auto job = std::find_if(m_jobs.cbegin(), m_jobs.cend(), [&](const QPair<int, QString> &j) { return j.first == u.jobId; });
    return QJsonObject{{"userid", u.userId},
                       {"phone", u.phone},
                       {"name", u.name},
                       {"companyid", u.companyId},
                       {"companyname", company->name},
                       {"companyshortname", company->shortName},
                       {"companylogo", QStringLiteral("https://img.qxfdc.example/company/%1/logo.png").arg(u.companyId)},
                       {"deptid", u.deptId},
                       {"deptname", dept->name},
                       {"jobid", u.jobId},
                       {"jobname", job->second},
                       {"cityid", 340100},
                       {"cityname", QStringLiteral("合肥")},
                       {"lmcompanyid", 9001 /* the alliance company id of the shared book */},
                       {"lmcompanyname", QStringLiteral("合肥房产联卖联盟")},
                       {"headimg", QStringLiteral("https://img.qxfdc.example/user/%1.jpg").arg(u.userId)},
                       {"token", QStringLiteral("qx-%1").arg(u.phone)}};
}

// Right entries {id, name, selected, range, bumens, count, sons}.
QJsonArray Store::rightsOf(const User &u) const
{
    QJsonArray list;
    auto entry = [](int id, int range, const QJsonArray &bumens = QJsonArray(), int count = 0) {
        return QJsonObject{{"id", id},         {"name", rightName(id)}, {"selected", true},
                           {"range", range},   {"bumens", bumens},      {"count", count},
                           {"sons", QJsonArray()}};
    };
    switch (u.rights) {
    case User::Full:
        for (int id = 1; id <= 140; ++id)
            list.append(entry(id, 1));
        break;
    case User::Narrow:
        // Sees and edits only what is the user's own; the view scope is 3 km around the store.
        list.append(entry(7, 2));
        list.append(entry(102, 2));
        list.append(entry(132, 0, QJsonArray(), 3000));
        break;
    case User::DeptRanges: {
        const QJsonArray chosen{QJsonObject{{"dept_id", u.companyId * 100 + 21}, {"dept_name", QStringLiteral("滨湖店")}, {"with_down", false}},
                                QJsonObject{{"dept_id", u.companyId * 100 + 2}, {"dept_name", QStringLiteral("包河大区")}, {"with_down", true}}};
        for (int id = 1; id <= 140; ++id) {
            if (id == 36 || id == 48 || id == 59 || (id >= 108 && id <= 110))
                list.append(entry(id, 4));  // the user's region and its stores
            else if (id == 102 || id == 136)
                list.append(entry(id, 5, chosen));
            else if (id == 7)
                list.append(entry(id, 1));
            else if (id % 3 == 0)
                list.append(entry(id, 6));
        }
        break;
    }
    case User::Agent:
        for (int id : {7, 36, 48, 59, 102, 108, 110, 132, 136})
            list.append(entry(id, id == 7 || id == 132 ? 1 : 6));
        break;
    }
    return list;
}

// The user's company as a department tree, with the user's own department named apart.
QJsonValue Store::departmentTree(const User &u) const
{
    std::function<QJsonObject(const Department &)> node = [&](const Department &d) {
        QJsonArray sons;
        for (const Department &s : m_departments)
            if (s.parentId == d.id)
                sons.append(node(s));
        int staff = 0;
        for (const User &x : m_users)
            if (x.deptId == d.id)
                ++staff;
        return QJsonObject{{"dept_id", d.id},  {"dept_name", d.name}, {"count", staff}, {"sons", sons},
                           {"with_down", false}, {"hideData", 0},     {"range", 0},     {"selected", false}};
    };
    QJsonArray roots;
    for (const Department &d : m_departments)
        if (d.parentId == 0 && d.companyId == u.companyId)
            roots.append(node(d));
    const auto own = std::find_if(m_departments.cbegin(), m_departments.cend(), [&](const Department &d) { return d.id == u.deptId; });
    return QJsonObject{{"sons", roots}, {"suozai_bumens", QJsonArray{QJsonObject{{"id", own->id}, {"name", own->name}}}}};
}

Answer Store::reference(const QString &path, const Form &form, const User &u, bool *handled)
{
    *handled = true;
    // Code 2: districts with their areas.
    if (path == QLatin1String("app/getdistric")) {
        QJsonArray list;
        for (const District &d : qAsConst(m_districts)) {
            QJsonArray sons;
            for (const auto &a : d.areas)
                sons.append(QJsonObject{{"id", a.first}, {"name", a.second}, {"status", 1}, {"pid", d.id}});
            list.append(QJsonObject{{"id", d.id}, {"name", d.name}, {"status", 1}, {"cityid", 340100}, {"sons", sons}});
        }
        return ok(list);
    }
    // Code 3: public categories as [{name, data}].
    if (path == QLatin1String("publics/housecategory")) {
        return ok(QJsonArray{
            QJsonObject{{"name", QStringLiteral("装修")}, {"data", named({"毛坯", "简装", "中装", "精装", "豪装"})}},
            QJsonObject{{"name", QStringLiteral("房产证")}, {"data", named({"满五年", "满两年", "不满两年", "未出证"})}},
            QJsonObject{{"name", QStringLiteral("房屋类型")}, {"data", named({"普通住宅", "公寓", "别墅", "商住", "商铺", "写字楼"})}},
            QJsonObject{{"name", QStringLiteral("标签")}, {"data", named({"满五唯一", "满二", "近地铁", "学区房", "南北通透", "随时看房", "带车位", "电梯房"})}},
            QJsonObject{{"name", QStringLiteral("户型")}, {"data", named({"1室", "2室", "3室", "4室", "5室及以上"})}}});
    }
    if (path == QLatin1String("workcenter/jobposts")) {
        QJsonArray list;
        for (const auto &j : m_jobs)
            list.append(QJsonObject{{"id", j.first}, {"name", j.second}});
        return ok(list);
    }
    if (path == QLatin1String("account/initialize"))
        return ok(initObject(u));
    if (path == QLatin1String("lmai/user/info")) {
        QJsonObject info = initObject(u);
        info.insert(QStringLiteral("manager"), u.manager);
        return ok(info);
    }
    // Code 6: the book settings; `page` is the list's page size.
    if (path == QLatin1String("app/gethousebookconfig")) {
        const QJsonArray tabs{QJsonObject{{"id", 4}, {"title", QStringLiteral("出售房源")}, {"choose", true}},
                              QJsonObject{{"id", 3}, {"title", QStringLiteral("出租房源")}, {"choose", true}},
                              QJsonObject{{"id", 2}, {"title", QStringLiteral("我的出售")}, {"choose", true}},
                              QJsonObject{{"id", 1}, {"title", QStringLiteral("我的出租")}, {"choose", true}}};
        return ok(QJsonObject{
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
                                      QJsonObject{{"id", 3}, {"choose", false}}}}});
    }
    // Code 7: the book's categories.
    if (path == QLatin1String("app/gethousebookcategory")) {
        return ok(QJsonObject{{"property1", named({"住宅", "商铺", "写字楼", "厂房", "车位"})},
                              {"property2", named({"商品房", "房改房", "经济适用房", "安置房", "自建房"})},
                              {"traffic", named({"地铁1号线", "地铁2号线", "地铁3号线", "地铁4号线", "地铁5号线", "BRT1号线"})},
                              {"renttag", named({"拎包入住", "近地铁", "随时看房", "可短租", "押一付一", "独立卫生间"})},
                              {"saletag", named({"满五唯一", "满二", "近地铁", "学区房", "南北通透", "随时看房", "带车位", "电梯房"})},
                              {"payway", named({"押一付三", "押一付一", "押二付三", "半年付", "年付"})},
                              {"laiyuan", named({"上门", "电话", "网络", "老客户", "转介绍", "社区开发"})}});
    }
    if (path == QLatin1String("softpack/basePcAppPosts")) {
        return ok(QJsonArray{QJsonObject{{"id", 1}, {"name", QStringLiteral("房源")}, {"dll", QStringLiteral("qx_jointsale_housebook.dll")}, {"version", QStringLiteral("4.2.0.1")}},
                             QJsonObject{{"id", 2}, {"name", QStringLiteral("客源")}, {"dll", QStringLiteral("qx_clientbook.dll")}, {"version", QStringLiteral("3.8.0.2")}},
                             QJsonObject{{"id", 3}, {"name", QStringLiteral("合同")}, {"dll", QStringLiteral("qx_contract.dll")}, {"version", QStringLiteral("2.6.1.0")}}});
    }
    if (path == QLatin1String("workcenter/currentauth") || path == QLatin1String("workcenter/jobauthInfo"))
        return ok(rightsOf(u));
    // Code 12: the city's list configuration.
    if (path == QLatin1String("app/getpublicofferconfig")) {
        return ok(QJsonObject{{"showsort", choices({{1, "编号"}, {2, "区域"}, {3, "小区"}, {5, "户型"}, {6, "面积"}, {26, "总价"}, {23, "录入时间"}})},
                              {"search", choices({{1, "小区"}, {83, "区域/片区"}, {7, "户型"}, {25, "面积"}, {26, "总价"}})}});
    }
    if (path == QLatin1String("black/cityList")) {
        QJsonArray areas;
        for (const District &d : qAsConst(m_districts))
            areas.append(QJsonObject{{"id", d.id}, {"name", d.name}});
        return ok(QJsonObject{{"cityid", form.value(QStringLiteral("cityId"), QStringLiteral("340100")).toInt()},
                              {"items", QJsonArray{QJsonObject{{"id", 1}, {"name", QStringLiteral("个人房源")}, {"rentType", 0}},
                                                   QJsonObject{{"id", 2}, {"name", QStringLiteral("个人出租")}, {"rentType", 1}}}},
                              {"areas", areas},
                              {"refreshtime", 30}});
    }
    // Code 14: customer-book settings of the three books.
    if (path == QLatin1String("app/getclientbookconfig")) {
        auto book = [](const QStringList &states) {
            return QJsonObject{{"tags", named({"首套", "改善", "投资", "急需"})}, {"fukuan", named({"全款", "商贷", "公积金", "组合贷"})},
                               {"state", stateClasses(states)}};
        };
        return ok(QJsonObject{{"customersaleset", book({"有效", "急需", "一般", "暂缓"})},
                              {"customerrentset", book({"有效", "急租", "一般", "暂缓"})},
                              {"customernewhouseset", book({"有效", "意向", "一般", "暂缓"})}});
    }
    if (path == QLatin1String("app/getclientbookbconfig")) {
        return ok(QJsonObject{{"liebiaoitem", choices({{1, "编号"}, {2, "姓名"}, {3, "电话"}, {4, "需求"}, {5, "预算"}})},
                              {"gonggong", 1}});
    }
    if (path == QLatin1String("app/scontractSetting") || path == QLatin1String("app/scontractrentsetting")) {
        return ok(QJsonObject{{"tags", named({"按揭", "全款", "急办"})}, {"yongjin", 2.0}, {"bianhao", QStringLiteral("HT")}});
    }
    // Code 19: call settings.
    if (path == QLatin1String("call/getsetting")) {
        const QJsonObject sale{{"timeLimit", true}, {"choose", true}, {"days", 7},
                               {"wuXiao", rule(true, 3)},  {"yiShou", rule(true, 3)},       {"chengJiao", rule(false, 0)},
                               {"yiDing", rule(true, 5)}, {"dianHuaWuXiao", rule(true, 1)}, {"zanBuShou", rule(false, 0)}};
        const QJsonObject three{{"ershoufang", rule(true, 7)}, {"zufang", rule(true, 3)}, {"xinfang", rule(false, 0)}};
        return ok(QJsonObject{{"isopen", 1},
                              {"housebook", QJsonObject{{"sale", sale}, {"rent", rule(true, 3)}, {"datadisk", rule(false, 0)}}},
                              {"clientbook", three},
                              {"hetong", three}});
    }
    // Code 20: communities within the user's view range (all of them without a distance).
    if (path == QLatin1String("community/search/range")) {
        const int distance = form.value(QStringLiteral("distance")).toInt();
        QSqlQuery q(db());
        q.exec(QStringLiteral("select id, name, districtname, areaname from community where deleted=0 order by id %1")
                   .arg(distance > 0 ? QStringLiteral("limit %1").arg(std::max(10, distance / 50)) : QString()));
        QJsonArray list;
        while (q.next())
            list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"name", q.value(1).toString()},
                                    {"districtname", q.value(2).toString()}, {"areaname", q.value(3).toString()}});
        return ok(list);
    }
    if (path == QLatin1String("omp/emp/dept_staff_info"))
        return ok(departmentTree(u));
    // Code 24: the review authority.
    if (path == QLatin1String("apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime"))
        return ok(QJsonObject{{"isprime", u.manager || u.rights == User::Full}, {"checkauth", u.manager ? 1 : 0}});
    if (path == QLatin1String("apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck"))
        return ok(QJsonObject{{"iscancheck", u.manager || u.rights == User::Full}});
    // Codes 25 and 26: separation rules as an object of shares per role.
    if (path == QLatin1String("fd/getfendanguize") || path == QLatin1String("fd/GetRentFendanguize") || path == QLatin1String("fd/fendanguize")) {
        const bool sale = path != QLatin1String("fd/GetRentFendanguize");
        QJsonObject shares{{"lururen", 10}, {"weihuren", 20}, {"weituoren", 15}, {"shikanren", 10}, {"yaoshiren", 10}, {"chengjiaoren", 25}};
        if (sale)
            shares.insert(QStringLiteral("dujiaren"), 10);
        return ok(QJsonObject{{"open", 1}, {"shenhe", 1}, {"fendan", shares}});
    }
    // Organisation trees.
    if (path == QLatin1String("lmai/lwpV2") || path == QLatin1String("omp/lwpV2") || path == QLatin1String("lmai/dept/lwpSub")
        || path == QLatin1String("omp/dept/lwpSub")) {
        const bool alliance = path.startsWith(QLatin1String("lmai"));
        QJsonArray companies;
        for (const Company &c : qAsConst(m_companies)) {
            if (!alliance && c.id != u.companyId)
                continue;
            User holder = u;
            holder.companyId = c.id;
            holder.deptId = c.id * 100;
            companies.append(departmentTree(holder).toObject().value(QStringLiteral("sons")).toArray().first());
        }
        return ok(companies);
    }
    if (path == QLatin1String("gather/community"))
        return ok(QJsonArray());
    *handled = false;
    return Answer();
}

// Communities, buildings, units and rooms from the seeded `building` texts.
Answer Store::building(const QString &path, const Form &form, bool *handled)
{
    *handled = true;
    auto number = [&](std::initializer_list<const char *> keys) -> qint64 {
        for (const char *k : keys) {
            const qint64 v = form.value(QLatin1String(k)).toLongLong();
            if (v > 0)
                return v;
        }
        return 0;
    };
    auto buildingsOf = [&](qint64 communityId) {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("select building from community where id=?"));
        q.addBindValue(communityId);
        return q.exec() && q.next() ? QJsonDocument::fromJson(q.value(0).toString().toUtf8()).array() : QJsonArray();
    };
    if (path == QLatin1String("house/xiaoqu/search")) {
        const QString keyword = form.value(QStringLiteral("keyword"), form.value(QStringLiteral("name"))).trimmed();
        QSqlQuery q(db());
        q.prepare(QStringLiteral("select id, name, address, districtname, areaname, price from community where deleted=0 and name like ? order by id limit 30"));
        q.addBindValue(QStringLiteral("%%1%").arg(keyword));
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"name", q.value(1).toString()}, {"address", q.value(2).toString()},
                                        {"districtname", q.value(3).toString()}, {"areaname", q.value(4).toString()},
                                        {"price", q.value(5).toString()}});
        return ok(list);
    }
    if (path == QLatin1String("house/jinggeng/loudongInfo")) {
        QJsonArray list;
        for (const QJsonValue &b : buildingsOf(number({"xiaoquid", "communityid", "id"}))) {
            const QJsonObject o = b.toObject();
            list.append(QJsonObject{{"id", o.value(QStringLiteral("id"))}, {"name", o.value(QStringLiteral("name"))},
                                    {"floors", o.value(QStringLiteral("floors"))}});
        }
        return ok(list);
    }
    const qint64 dongId = number({"dongid", "loudongid", "id"});
    if (path == QLatin1String("house/jinggeng/unitInfo")) {
        QJsonArray list;
        for (const QJsonValue &b : buildingsOf(dongId / 100))
            if (b.toObject().value(QStringLiteral("id")).toVariant().toLongLong() == dongId)
                for (const QJsonValue &unit : b.toObject().value(QStringLiteral("units")).toArray())
                    list.append(QJsonObject{{"id", unit.toObject().value(QStringLiteral("id"))}, {"name", unit.toObject().value(QStringLiteral("name"))}});
        return ok(list);
    }
    // Room ids: the unit's id times 1000 plus the room's place in the unit's list (from 1).
    if (path == QLatin1String("house/jinggeng/danyuanInfo")) {
        const qint64 unitId = number({"unitid", "danyuanid", "id"});
        QJsonArray list;
        for (const QJsonValue &b : buildingsOf(unitId / 1000))
            for (const QJsonValue &unit : b.toObject().value(QStringLiteral("units")).toArray())
                if (unit.toObject().value(QStringLiteral("id")).toVariant().toLongLong() == unitId) {
                    int place = 0;
                    for (const QJsonValue &room : unit.toObject().value(QStringLiteral("rooms")).toArray())
                        list.append(QJsonObject{{"id", unitId * 1000 + ++place}, {"name", room.toString()},
                                                {"floor", room.toString().toInt() / 100}});
                }
        return ok(list);
    }
    if (path == QLatin1String("house/jinggeng/RoomDetail")) {
        const qint64 roomId = number({"roomid", "id"});
        const qint64 unitId = roomId / 1000;
        const int place = int(roomId % 1000);
        for (const QJsonValue &b : buildingsOf(unitId / 1000))
            for (const QJsonValue &unit : b.toObject().value(QStringLiteral("units")).toArray())
                if (unit.toObject().value(QStringLiteral("id")).toVariant().toLongLong() == unitId) {
                    const QString room = unit.toObject().value(QStringLiteral("rooms")).toArray().at(place - 1).toString();
                    if (room.isEmpty())
                        break;
                    return ok(QJsonObject{{"id", roomId}, {"name", room}, {"floor", room.toInt() / 100}, {"unitid", unitId},
                                          {"dongid", unitId / 10}, {"mycommunityid", unitId / 1000},
                                          {"builtuparea", 60 + int(roomId % 90)}});
                }
        Answer a;
        a.code = 405;
        a.message = QStringLiteral("房间不存在");
        return a;
    }
    if (path == QLatin1String("house/jinggeng/getLocks"))
        return ok(QJsonArray());
    if (path == QLatin1String("map/residence.html") || path == QLatin1String("map/search.html")) {
        Answer a;
        a.isRaw = true;
        a.rawType = "text/html; charset=utf-8";
        a.raw = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>地图</title></head>"
                               "<body><div id=\"map\">合肥市地图（模拟）</div></body></html>")
                    .toUtf8();
        return a;
    }
    *handled = false;
    return Answer();
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
