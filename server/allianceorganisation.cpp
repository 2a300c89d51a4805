// The organisation and its users: the signed-in user's profile and rights, the department
// trees and the review authority, one handler per path.
#include "alliancestore.h"

namespace Alliance {

namespace {

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

// The handlers of the organisation and its users.
struct OrganisationRoutes
{
    static Answer jobs(Store &s, const Form &, const User &)
    {
        QJsonArray list;
        for (const auto &j : s.m_jobs)
            list.append(QJsonObject{{"id", j.first}, {"name", j.second}});
        return fetched(list);
    }

    static Answer initialize(Store &s, const Form &, const User &u)
    {
        return fetched(s.initObject(u));
    }

    static Answer userInfo(Store &s, const Form &, const User &u)
    {
        QJsonObject info = s.initObject(u);
        info.insert(QStringLiteral("manager"), u.manager);
        return fetched(info);
    }

    static Answer staff(Store &s, const Form &, const User &u)
    {
        return fetched(s.departmentTree(u));
    }

    // Code 24: the review authority.
    static Answer isPrime(Store &, const Form &, const User &u)
    {
        return fetched(QJsonObject{{"isprime", u.manager || u.rights == User::Full}, {"checkauth", u.manager ? 1 : 0}});
    }

    // ---- Department trees, one level per request ----

    static const Department *department(const Store &s, int id)
    {
        for (const Department &d : s.m_departments)
            if (d.id == id)
                return &d;
        return nullptr;
    }

    static QString companyName(const Store &s, int companyId)
    {
        for (const Company &c : s.m_companies)
            if (c.id == companyId)
                return c.name;
        return QString();
    }

    // Whether department `id` is `ancestor` or lies below it.
    static bool isWithin(const Store &s, int id, int ancestor)
    {
        for (const Department *d = department(s, id); d; d = department(s, d->parentId))
            if (d->id == ancestor)
                return true;
        return false;
    }

    static QJsonObject departmentEntry(const Store &s, const Department &d)
    {
        int staff = 0;
        for (const User &x : s.m_users)
            staff += isWithin(s, x.deptId, d.id) ? 1 : 0;
        int subs = 0;
        for (const Department &c : s.m_departments)
            subs += c.parentId == d.id ? 1 : 0;
        return QJsonObject{{"dept_id", d.id},           {"dept_name", d.name},
                           {"company_id", d.companyId}, {"company_name", companyName(s, d.companyId)},
                           {"count", staff},            {"sub_count", subs}};
    }

    static QJsonObject personEntry(const Store &s, const User &x)
    {
        const Department *d = department(s, x.deptId);
        return QJsonObject{{"id", x.userId},           {"name", x.name},
                           {"phone", x.phone},         {"dept_id", x.deptId},
                           {"storename", d->name},     {"companyid", x.companyId},
                           {"companyname", companyName(s, x.companyId)}};
    }

    // A department's level: its sub-departments and the people placed directly in it.
    static QJsonObject level(const Store &s, const Department &d)
    {
        QJsonArray depts;
        for (const Department &c : s.m_departments)
            if (c.parentId == d.id)
                depts.append(departmentEntry(s, c));
        QJsonArray users;
        for (const User &x : s.m_users)
            if (x.deptId == d.id)
                users.append(personEntry(s, x));
        return QJsonObject{{"dept_id", d.id}, {"dept_name", d.name}, {"depts", depts}, {"users", users}};
    }

    static Answer refused(const QString &message)
    {
        Answer a;
        a.code = 405;
        a.message = message;
        return a;
    }

    // The alliance's top level: one department per company (its root), nobody directly.
    static Answer allianceTop(Store &s, const Form &, const User &)
    {
        QJsonArray depts;
        for (const Department &d : qAsConst(s.m_departments))
            if (d.parentId == 0)
                depts.append(departmentEntry(s, d));
        return fetched(QJsonObject{{"dept_id", 0}, {"dept_name", QStringLiteral("合肥房产联卖联盟")},
                                   {"depts", depts}, {"users", QJsonArray()}});
    }

    // The own company's top level: the level of the company's root department.
    static Answer ownTop(Store &s, const Form &, const User &u)
    {
        for (const Department &d : qAsConst(s.m_departments))
            if (d.parentId == 0 && d.companyId == u.companyId)
                return fetched(level(s, d));
        return refused(QStringLiteral("部门不存在"));
    }

    // One level below the top (`dept_id`); the own company's tree shows only its departments.
    static Answer sub(Store &s, const Form &form, const User &u, bool alliance)
    {
        bool ok = false;
        const int id = form.value(QStringLiteral("dept_id")).trimmed().toInt(&ok);
        const Department *d = ok ? department(s, id) : nullptr;
        if (!d || (!alliance && d->companyId != u.companyId))
            return refused(QStringLiteral("部门不存在"));
        return fetched(level(s, *d));
    }

    static Answer allianceSub(Store &s, const Form &form, const User &u)
    {
        return sub(s, form, u, true);
    }

    static Answer ownSub(Store &s, const Form &form, const User &u)
    {
        return sub(s, form, u, false);
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"workcenter/jobposts", jobs},
                      {"account/initialize", initialize},
                      {"lmai/user/info", userInfo},
                      {"omp/emp/dept_staff_info", staff},
                      {"apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime", isPrime},
                      {"lmai/lwpV2", allianceTop},
                      {"omp/lwpV2", ownTop},
                      {"lmai/dept/lwpSub", allianceSub},
                      {"omp/dept/lwpSub", ownSub}});
    }
};

void addOrganisationRoutes(RouteTable &table)
{
    OrganisationRoutes::addTo(table);
}

} // namespace Alliance
