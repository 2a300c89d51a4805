// Communities, buildings, units and rooms from the seeded `building` texts, and the map pages;
// one handler per path.
#include "alliancestore.h"

#include <QJsonDocument>
#include <QSqlQuery>

namespace Alliance {

namespace {

// The first positive number the form gives under one of the keys.
qint64 number(const Form &form, std::initializer_list<const char *> keys)
{
    for (const char *k : keys) {
        const qint64 v = form.value(QLatin1String(k)).toLongLong();
        if (v > 0)
            return v;
    }
    return 0;
}

qint64 idValue(const QJsonValue &v)
{
    return v.toVariant().toLongLong();
}

} // namespace

// The handlers of the communities and their buildings.
struct BuildingRoutes
{
    static QJsonArray buildingsOf(Store &s, qint64 communityId)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select building from community where id=?"));
        q.addBindValue(communityId);
        return q.exec() && q.next() ? QJsonDocument::fromJson(q.value(0).toString().toUtf8()).array() : QJsonArray();
    }

    static Answer searchCommunity(Store &s, const Form &form, const User &)
    {
        const QString keyword = form.value(QStringLiteral("keyword"), form.value(QStringLiteral("name"))).trimmed();
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select id, name, address, districtname, areaname, price from community where deleted=0 and name like ? order by id limit 30"));
        q.addBindValue(QStringLiteral("%%1%").arg(keyword));
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"name", q.value(1).toString()}, {"address", q.value(2).toString()},
                                        {"districtname", q.value(3).toString()}, {"areaname", q.value(4).toString()},
                                        {"price", q.value(5).toString()}});
        return fetched(list);
    }

    static Answer buildings(Store &s, const Form &form, const User &)
    {
        QJsonArray list;
        for (const QJsonValue &b : buildingsOf(s, number(form, {"xiaoquid", "communityid", "id"}))) {
            const QJsonObject o = b.toObject();
            list.append(QJsonObject{{"id", o.value(QStringLiteral("id"))}, {"name", o.value(QStringLiteral("name"))},
                                    {"floors", o.value(QStringLiteral("floors"))}});
        }
        return fetched(list);
    }

    static Answer units(Store &s, const Form &form, const User &)
    {
        const qint64 dongId = number(form, {"dongid", "loudongid", "id"});
        QJsonArray list;
        for (const QJsonValue &b : buildingsOf(s, dongId / 100))
            if (idValue(b.toObject().value(QStringLiteral("id"))) == dongId)
                for (const QJsonValue &unit : b.toObject().value(QStringLiteral("units")).toArray())
                    list.append(QJsonObject{{"id", unit.toObject().value(QStringLiteral("id"))}, {"name", unit.toObject().value(QStringLiteral("name"))}});
        return fetched(list);
    }

    // Room ids: the unit's id times 1000 plus the room's place in the unit's list (from 1).
    static Answer rooms(Store &s, const Form &form, const User &)
    {
        const qint64 unitId = number(form, {"unitid", "danyuanid", "id"});
        QJsonArray list;
        for (const QJsonValue &b : buildingsOf(s, unitId / 1000))
            for (const QJsonValue &unit : b.toObject().value(QStringLiteral("units")).toArray())
                if (idValue(unit.toObject().value(QStringLiteral("id"))) == unitId) {
                    int place = 0;
                    for (const QJsonValue &room : unit.toObject().value(QStringLiteral("rooms")).toArray())
                        list.append(QJsonObject{{"id", unitId * 1000 + ++place}, {"name", room.toString()},
                                                {"floor", room.toString().toInt() / 100}});
                }
        return fetched(list);
    }

    static Answer room(Store &s, const Form &form, const User &)
    {
        const qint64 roomId = number(form, {"roomid", "id"});
        const qint64 unitId = roomId / 1000;
        const int place = int(roomId % 1000);
        for (const QJsonValue &b : buildingsOf(s, unitId / 1000))
            for (const QJsonValue &unit : b.toObject().value(QStringLiteral("units")).toArray())
                if (idValue(unit.toObject().value(QStringLiteral("id"))) == unitId) {
                    const QString room = unit.toObject().value(QStringLiteral("rooms")).toArray().at(place - 1).toString();
                    if (room.isEmpty())
                        break;
                    return fetched(QJsonObject{{"id", roomId}, {"name", room}, {"floor", room.toInt() / 100}, {"unitid", unitId},
                                               {"dongid", unitId / 10}, {"mycommunityid", unitId / 1000},
                                               {"builtuparea", 60 + int(roomId % 90)}});
                }
        Answer a;
        a.code = 405;
        a.message = QStringLiteral("房间不存在");
        return a;
    }

    // Code 20: communities within the user's view range (all of them without a distance).
    static Answer range(Store &s, const Form &form, const User &)
    {
        const int distance = form.value(QStringLiteral("distance")).toInt();
        QSqlQuery q(s.db());
        q.exec(QStringLiteral("select id, name, districtname, areaname from community where deleted=0 order by id %1")
                   .arg(distance > 0 ? QStringLiteral("limit %1").arg(std::max(10, distance / 50)) : QString()));
        QJsonArray list;
        while (q.next())
            list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"name", q.value(1).toString()},
                                    {"districtname", q.value(2).toString()}, {"areaname", q.value(3).toString()}});
        return fetched(list);
    }

    static Answer emptyList(Store &, const Form &, const User &)
    {
        return fetched(QJsonArray());
    }

    static Answer mapPage(Store &, const Form &, const User &)
    {
        Answer a;
        a.isRaw = true;
        a.rawType = "text/html; charset=utf-8";
        a.raw = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>地图</title></head>"
                               "<body><div id=\"map\">合肥市地图（模拟）</div></body></html>")
                    .toUtf8();
        return a;
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"community/search/range", range},
                      {"gather/community", emptyList},
                      {"house/xiaoqu/search", searchCommunity},
                      {"house/jinggeng/loudongInfo", buildings},
                      {"house/jinggeng/unitInfo", units},
                      {"house/jinggeng/danyuanInfo", rooms},
                      {"house/jinggeng/RoomDetail", room},
                      {"house/jinggeng/getLocks", emptyList},
                      {"map/search.html", mapPage}});
    }
};

void addBuildingRoutes(RouteTable &table)
{
    BuildingRoutes::addTo(table);
}

} // namespace Alliance
