// The requests that change listings. Each one that changes a listing moves its lasttime, so
// the next sync of every book that sees the listing brings the change back.
#include "alliancestore.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Alliance {

namespace {

qint64 idOf(const Form &form, std::initializer_list<const char *> keys = {"id", "houseid", "itemid", "hid"})
{
    return formId(form, keys);
}

Answer done(const QJsonValue &data = QJsonValue(QJsonObject()), const QString &message = QStringLiteral("操作成功"))
{
    Answer a;
    a.message = message;
    a.data = data;
    return a;
}

Answer refused(const QString &message)
{
    Answer a;
    a.code = 405;
    a.message = message;
    return a;
}

const Answer kGone = refused(QStringLiteral("房源不存在或已被删除"));

QString compactText(const QJsonValue &v)
{
    if (v.isArray())
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
}

// The listing a form names: `myid` in the edit forms, `id`/`houseid`/… elsewhere.
qint64 listingOf(const Form &form)
{
    return idOf(form, {"myid", "id", "houseid", "itemid", "hid"});
}

// The community a form refers to, under the first of its reference keys that holds a number
// (the agency's own record, then the alliance's); 0 when the keys are there without one, -1
// when the form has none of them.
qint64 communityReference(const Form &form)
{
    bool present = false;
    for (const char *key : {"mycommunityid", "scommunityid", "communityid"}) {
        present = present || form.contains(QLatin1String(key));
        bool ok = false;
        const qint64 id = form.value(QLatin1String(key)).trimmed().toLongLong(&ok);
        if (ok && id > 0)
            return id;
    }
    return present ? 0 : -1;
}

// The listing columns a form carries: the entry and edit forms name them as the table does,
// except the kind of house (`houseType`), the photos (`imgurls`) and the community reference.
// Texts are kept exactly as posted.
QVariantMap columnsFromForm(const Form &form)
{
    static const QSet<QString> ownedByServer{QStringLiteral("id"), QStringLiteral("lasttime"), QStringLiteral("createtime"),
                                             QStringLiteral("companyid"), QStringLiteral("companyname"), QStringLiteral("isdel"),
                                             QStringLiteral("mycommunityid"), QStringLiteral("unitprice")};
    static const QHash<QString, QString> renamed{{QStringLiteral("houseType"), QStringLiteral("housetype")},
                                                 {QStringLiteral("imgurls"), QStringLiteral("photo")}};
    QVariantMap columns;
    for (auto it = form.cbegin(); it != form.cend(); ++it) {
        const QString column = renamed.value(it.key(), it.key());
        if (!Store::houseColumns().contains(column) || ownedByServer.contains(column))
            continue;
        if (Store::isIntColumn(column))
            columns.insert(column, it.value().trimmed().toLongLong());
        else if (Store::isRealColumn(column))
            columns.insert(column, it.value().trimmed().toDouble());
        else
            columns.insert(column, it.value());
    }
    const qint64 community = communityReference(form);
    if (community >= 0)
        columns.insert(QStringLiteral("mycommunityid"), community);
    return columns;
}

// A sale listing's price per square metre follows its total price (in 10 000 yuan) and area;
// `row` gives what the columns leave unchanged.
void addUnitPrice(QVariantMap &columns, const QVariantMap &row = QVariantMap())
{
    const auto value = [&](const char *c) { return columns.value(QLatin1String(c), row.value(QLatin1String(c))); };
    if (value("types").toInt() != 0 || (!columns.contains(QStringLiteral("price")) && !columns.contains(QStringLiteral("builtuparea"))))
        return;
    const double area = value("builtuparea").toDouble();
    columns.insert(QStringLiteral("unitprice"), area > 0 ? qRound64(value("price").toDouble() * 10000 / area) : 0);
}

} // namespace

QJsonObject Store::roleHolder(const User &u, bool review) const
{
    return QJsonObject{{"name", u.name}, {"phone", u.phone}, {"review", review}};
}

// The handlers of the requests that change listings, one per path.
struct ChangeRoutes
{
    static Answer newState(Store &s, const Form &form, const User &)
    {
        const qint64 id = idOf(form);
        const QString state = form.value(QStringLiteral("state")).trimmed();
        if (state.isEmpty())
            return refused(QStringLiteral("请选择房源状态"));
        QVariantMap columns{{"newstate", state}, {"state", state}};
        if (!s.updateHouse(id, columns))
            return kGone;
        return done(QJsonObject{{"id", id}, {"state", state}}, QStringLiteral("更改房源状态成功"));
    }

    static Answer flag(Store &s, const Form &form, const User &)
    {
        static const char *flagColumns[] = {"istop", "suopan", "fengpan", "hbdujia"};
        const qint64 id = idOf(form);
        const int type = form.value(QStringLiteral("type")).toInt();
        const int state = form.value(QStringLiteral("state")).toInt() ? 1 : 0;
        const int days = form.value(QStringLiteral("days")).toInt();
        if (type < 1 || type > 4)
            return refused(QStringLiteral("属性类型错误"));
        if (!s.updateHouse(id, {{QLatin1String(flagColumns[type - 1]), state}}))
            return kGone;
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("delete from flagterms where houseid=? and type=?"));
        q.addBindValue(id);
        q.addBindValue(type);
        q.exec();
        QJsonObject data{{"id", id}, {"type", type}, {"state", state}};
        if (state == 1 && days > 0) {
            const qint64 until = QDateTime::currentSecsSinceEpoch() + qint64(days) * 86400;
            q.prepare(QStringLiteral("insert into flagterms values(?,?,?)"));
            q.addBindValue(id);
            q.addBindValue(type);
            q.addBindValue(until);
            q.exec();
            data.insert(QStringLiteral("days"), days);
            data.insert(QStringLiteral("endtime"), serverTime(until));
        }
        return done(data);
    }

    static Answer remove(Store &s, const Form &form, const User &)
    {
        const qint64 id = idOf(form);
        if (!s.houseExists(id))
            return kGone;
        const qint64 t = s.nextChangeTime();
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("update house set deleted=1, isdel=1, delms=? where id=?"));
        q.addBindValue(t);
        q.addBindValue(id);
        q.exec();
        return done(QJsonObject{{"id", id}}, QStringLiteral("删除成功"));
    }

    // The columns of a new listing: the entering user's, then the form's.
    static QVariantMap newRow(const Store &s, const QVariantMap &columns, const User &u, qint64 newId, qint64 t)
    {
        const auto company = std::find_if(s.m_companies.cbegin(), s.m_companies.cend(), [&](const Company &c) { return c.id == u.companyId; });
        const auto dept = std::find_if(s.m_departments.cbegin(), s.m_departments.cend(), [&](const Department &d) { return d.id == u.deptId; });
        QVariantMap row{{"id", newId}, {"types", columns.value(QStringLiteral("types")).toInt()}, {"userphone", u.phone}, {"author", u.name},
                        {"companyid", u.companyId}, {"fbcompanyid", u.companyId},
                        {"companyname", company != s.m_companies.cend() ? company->name : QString()},
                        {"deptid", u.deptId}, {"storeid", u.deptId},
                        {"deptname", dept != s.m_departments.cend() ? dept->name : QString()},
                        {"storename", dept != s.m_departments.cend() ? dept->name : QString()},
                        {"cityid", 340100}, {"createtime", serverTime(t)}, {"lasttime", serverTime(t)},
                        {"housestatus", 1}, {"shenhestatus", 1}, {"newstate", QStringLiteral("有效")},
                        {"state", QStringLiteral("有效")}, {"sf", 0}, {"stype", 0}, {"isdel", 0},
                        {"lururen", compactText(s.roleHolder(u, true))}, {"weihuren", compactText(s.roleHolder(u, true))}};
        // Who entered it, when and its review are the server's; the form gives the rest.
        static const QSet<QString> entering{QStringLiteral("userphone"), QStringLiteral("author"), QStringLiteral("fbcompanyid"),
                                            QStringLiteral("deptid"), QStringLiteral("storeid"), QStringLiteral("deptname"),
                                            QStringLiteral("storename"), QStringLiteral("shenhestatus"),
                                            QStringLiteral("lururen"), QStringLiteral("weihuren")};
        for (auto it = columns.cbegin(); it != columns.cend(); ++it)
            if (!entering.contains(it.key()))
                row.insert(it.key(), it.value());
        return row;
    }

    static Answer add(Store &s, const Form &form, const User &u)
    {
        QVariantMap columns = columnsFromForm(form);
        addUnitPrice(columns);
        const qint64 communityId = columns.value(QStringLiteral("mycommunityid")).toLongLong();
        QSqlQuery q(s.db());
        if (communityId > 0 && !columns.contains(QStringLiteral("name"))) {
            q.prepare(QStringLiteral("select name, districtname, areaname from community where id=?"));
            q.addBindValue(communityId);
            if (q.exec() && q.next()) {
                columns.insert(QStringLiteral("name"), q.value(0));
                columns.insert(QStringLiteral("district"), q.value(1));
                columns.insert(QStringLiteral("area"), q.value(2));
            }
        }
        if (columns.value(QStringLiteral("name")).toString().isEmpty())
            return refused(QStringLiteral("请选择小区"));
        q.exec(QStringLiteral("select coalesce(max(id),0)+1 from house"));
        const qint64 newId = q.next() ? q.value(0).toLongLong() : 1;
        const qint64 t = s.nextChangeTime();
        const QVariantMap row = newRow(s, columns, u, newId, t);
        QStringList names;
        QStringList marks;
        for (auto it = row.cbegin(); it != row.cend(); ++it) {
            names << it.key();
            marks << QStringLiteral("?");
        }
        q.prepare(QStringLiteral("insert into house(%1, lianmai, lastms) values(%2, 1, ?)").arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            q.addBindValue(it.value());
        q.addBindValue(t);
        if (!q.exec())
            return refused(QStringLiteral("房源录入失败"));
        return done(QJsonObject{{"id", newId}}, QStringLiteral("房源录入成功"));
    }

    // Applies an edit form to the listing; false when the listing is gone.
    static bool applyEdit(Store &s, qint64 id, const Form &form, bool backToReview)
    {
        const QVariantMap row = s.houseRow(id);
        if (row.isEmpty())
            return false;
        QVariantMap columns = columnsFromForm(form);
        columns.remove(QStringLiteral("shenhestatus"));
        addUnitPrice(columns, row);
        // Editing a rejected listing hands it in for review again.
        if (backToReview && row.value(QStringLiteral("shenhestatus")).toInt() == 3)
            columns.insert(QStringLiteral("shenhestatus"), 1);
        return s.updateHouse(id, columns);
    }

    static Answer edit(Store &s, const Form &form, const User &)
    {
        const qint64 id = listingOf(form);
        if (!applyEdit(s, id, form, true))
            return kGone;
        return done(QJsonObject{{"id", id}}, QStringLiteral("房源修改成功"));
    }

    // The reviewer's edit form: the listing takes the edit and is approved with it.
    static Answer approve(Store &s, const Form &form, const User &)
    {
        const qint64 id = listingOf(form);
        if (!applyEdit(s, id, form, false))
            return kGone;
        return review(s, id, form, true, QString());
    }

    // Approves a listing (`wholeListing`) and the role holders' entries awaiting review
    // ("role" names the column, default `defaultRole`, empty: all of them).
    static Answer review(Store &s, qint64 id, const Form &form, bool wholeListing, const QString &defaultRole)
    {
        const QVariantMap row = s.houseRow(id);
        if (row.isEmpty())
            return kGone;
        QVariantMap columns;
        if (wholeListing)
            columns = {{"shenhestatus", 2}, {"housestatus", 1}};
        const QString role = form.value(QStringLiteral("role"), defaultRole);
        for (const QString &column : {QStringLiteral("weihuren"), QStringLiteral("weituoren"), QStringLiteral("shikanren"),
                                      QStringLiteral("yaoshiren"), QStringLiteral("dujiaren"), QStringLiteral("chengjiaoren")}) {
            if (!role.isEmpty() && role != column)
                continue;
            QJsonObject holder = QJsonDocument::fromJson(row.value(column).toString().toUtf8()).object();
            if (!holder.isEmpty() && !holder.value(QStringLiteral("review")).toBool()) {
                holder.insert(QStringLiteral("review"), true);
                columns.insert(column, compactText(holder));
            }
        }
        s.updateHouse(id, columns);
        return done(QJsonObject{{"id", id}}, QStringLiteral("审核成功"));
    }

    static Answer reject(Store &s, const Form &form, const User &)
    {
        const qint64 id = idOf(form);
        if (!s.updateHouse(id, {{"shenhestatus", 3}}))
            return kGone;
        return done(QJsonObject{{"id", id}, {"reason", form.value(QStringLiteral("reason"), form.value(QStringLiteral("content")))}},
                    QStringLiteral("驳回成功"));
    }

    // Duplicate check of a new listing (`type` 0 sale, 1 rent) in the book the form names
    // (`lianmai` 1: the alliance's): the same room of the same community and building.
    static Answer check(Store &s, const Form &form, const User &u)
    {
        const QString unit = form.value(QStringLiteral("unitNo")).trimmed();
        QString where = QStringLiteral("deleted=0 and types=? and %1 and buildingNo=? and roomNo=?")
                            .arg(s.scopeClause(u, form.value(QStringLiteral("lianmai")).toInt() == 1));
        QVariantList binds{form.value(QStringLiteral("type"), form.value(QStringLiteral("types"))).toInt(),
                           form.value(QStringLiteral("buildingNo")).trimmed(), form.value(QStringLiteral("roomNo")).trimmed()};
        const QString name = form.value(QStringLiteral("name")).trimmed();
        where += name.isEmpty() ? QStringLiteral(" and mycommunityid=?") : QStringLiteral(" and name=?");
        binds << (name.isEmpty() ? QVariant(idOf(form, {"mycommunityid", "communityid"})) : QVariant(name));
        if (idOf(form) > 0) {
            where += QStringLiteral(" and id<>?");
            binds << idOf(form);
        }
        QSqlQuery q(s.db());
        // The same unit first: an exact match outweighs a room of the same number elsewhere.
        q.prepare(QStringLiteral("select id, author, unitNo from house where %1 order by unitNo=? desc, id limit 1").arg(where));
        for (const QVariant &b : qAsConst(binds))
            q.addBindValue(b);
        q.addBindValue(unit);
        if (!q.exec() || !q.next())
            return done(QJsonObject{{"existed", false}, {"message", QString()}, {"id", 0}}, QStringLiteral("房源不重复"));
        const QString message = q.value(2).toString().trimmed() == unit
                                    ? QStringLiteral("房源本中已存在相同房源（录入人：%1）").arg(q.value(1).toString())
                                    : QStringLiteral("房源本中存在疑似重复房源（%1，录入人：%2），请核实后再录入")
                                          .arg(q.value(2).toString(), q.value(1).toString());
        return done(QJsonObject{{"existed", true}, {"message", message}, {"id", q.value(0).toLongLong()}}, message);
    }

    static Answer collection(Store &s, const Form &form, const User &u)
    {
        const qint64 id = idOf(form);
        if (!s.houseExists(id))
            return kGone;
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select 1 from personal where phone=? and kind='collection' and houseid=?"));
        q.addBindValue(u.phone);
        q.addBindValue(id);
        const bool collected = q.exec() && q.next();
        // `type` is the listing's kind (1 sale, 2 rent), never the wanted state.
        const QString wanted = form.value(QStringLiteral("state"));
        const bool collect = wanted.isEmpty() ? !collected : wanted.toInt() == 1;
        if (collect) {
            s.addPersonal(u.phone, QStringLiteral("collection"), id, QString());
        } else {
            q.prepare(QStringLiteral("delete from personal where phone=? and kind='collection' and houseid=?"));
            q.addBindValue(u.phone);
            q.addBindValue(id);
            q.exec();
        }
        return done(QJsonObject{{"id", id}, {"collection", collect}}, collect ? QStringLiteral("收藏成功") : QStringLiteral("取消收藏成功"));
    }

    // Days since each maintained listing was last followed up or changed.
    static Answer maintain(Store &s, const Form &, const User &u)
    {
        QSqlQuery q(s.db());
        const bool all = u.manager || u.rights == User::Full;
        q.prepare(QStringLiteral("select id, lastms, followtime, weihuren from house where deleted=0 and housestatus=1 and %1 order by id")
                      .arg(all ? QStringLiteral("companyid=%1").arg(u.companyId) : QStringLiteral("(userphone=? or weihuren like ?)")));
        if (!all) {
            q.addBindValue(u.phone);
            q.addBindValue(QStringLiteral("%\"%1\"%").arg(u.phone));
        }
        QJsonArray list;
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        if (q.exec()) {
            while (q.next()) {
                const qint64 follow = parseTime(q.value(2).toString());
                const qint64 last = std::max(q.value(1).toLongLong(), follow);
                list.append(QJsonObject{{"houseid", q.value(0).toLongLong()}, {"days", QString::number((now - last) / 86400)}});
            }
        }
        return done(list);
    }

    // Sets columns of the listing and answers its id.
    static Answer setColumns(Store &s, const Form &form, const QVariantMap &columns)
    {
        const qint64 id = idOf(form);
        if (!s.updateHouse(id, columns))
            return kGone;
        return done(QJsonObject{{"id", id}});
    }

    static Answer picture(Store &s, const Form &form, bool add)
    {
        const qint64 id = idOf(form);
        const QVariantMap row = s.houseRow(id);
        if (row.isEmpty())
            return kGone;
        QStringList photos = row.value(QStringLiteral("photo")).toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QStringList given = form.value(QStringLiteral("photo"), form.value(QStringLiteral("url"))).split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &p : given) {
            photos.removeAll(p.trimmed());
            if (add)
                photos << p.trimmed();
        }
        s.updateHouse(id, {{"photo", photos.join(QLatin1Char(','))}});
        return done(QJsonObject{{"id", id}, {"photo", photos.join(QLatin1Char(','))}});
    }

    static Answer remindAdd(Store &s, const Form &form, const User &u)
    {
        const qint64 id = idOf(form);
        if (!s.houseExists(id))
            return kGone;
        s.addPersonal(u.phone, QStringLiteral("remind"), id, form.value(QStringLiteral("content"), QStringLiteral("房源提醒")));
        return done(QJsonObject{{"houseid", id}});
    }

    static Answer remindPosts(Store &s, const Form &, const User &u)
    {
        return done(s.personalList(u.phone, QStringLiteral("remind")));
    }

    static Answer remindDelete(Store &s, const Form &form, const User &u)
    {
        const qint64 id = idOf(form);
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("delete from personal where phone=? and kind='remind' and (rowid=? or houseid=?)"));
        q.addBindValue(u.phone);
        q.addBindValue(id);
        q.addBindValue(id);
        q.exec();
        return done();
    }

    static Answer clearHistory(Store &s, const Form &, const User &u)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("delete from personal where phone=? and kind='history'"));
        q.addBindValue(u.phone);
        q.exec();
        return done();
    }

    static void addTo(RouteTable &t)
    {
        using F = const Form &;
        using U = const User &;
        addRoutes(t, {{"app/housebooknewstate", newState}, {"app/houseshuxing", flag}, {"app/housebookdel", remove},
                      {"fd/HouseAdd", add}, {"fd/HouseEidt", edit},
                      {"fd/HouseShenhe", approve},
                      {"fd/HouseBohui", reject}, {"app/housebookcheck", check},
                      {"app/collection", collection}, {"app/HouseMaintain", maintain}});
        addRoutes(t, {{"app/updatehousebookvr",
                       [](Store &s, F f, U) {
                           return setColumns(s, f, {{"vrurl", f.value(QStringLiteral("vrurl"), f.value(QStringLiteral("url")))}});
                       }},
                      {"app/messagepromptadd", remindAdd}, {"app/messagepromptposts", remindPosts},
                      {"app/housepromptdelete", remindDelete}, {"app/clearhistory", clearHistory}});
    }
};

void addChangeRoutes(RouteTable &table)
{
    ChangeRoutes::addTo(table);
}

} // namespace Alliance
