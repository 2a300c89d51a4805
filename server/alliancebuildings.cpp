// Communities, buildings, units and rooms from the seeded `building` texts, the register of the
// buildings under intensive farming, and the map pages; one handler per path.
//
// Ids: building = community × 100 + n, unit = building × 10 + n, room = unit × 1000 + the
// room's place in its unit (from 1). The register uses the same ids as the community service,
// so a room picked from either is asked for its facts the same way.
#include "alliancestore.h"

#include <QJsonDocument>
#include <QSqlQuery>

namespace Alliance {

CommunityTraits communityTraits(qint64 id)
{
    CommunityTraits t;
    t.myid = id % 4 == 0 ? 0 : id;
    t.lianmai = id % 2 == 1;
    t.alias = id % 5 == 0 ? QStringLiteral("%1号地块").arg(id) : QString();
    t.lockdong = id % 7 == 1 || id % 7 == 3;
    t.lockuar = id % 7 == 2 || id % 7 == 3;
    // Communities numbering their buildings "1号楼" (every third) list none: their names are
    // more than a number, so the client asks for them.
    t.buildingForm = id % 3 == 1 ? CommunityTraits::BuildingMaps
                     : id % 3 == 2 ? CommunityTraits::BuildingTexts
                                   : CommunityTraits::NoBuildings;
    t.registerBuildings = id % 5 == 2 ? 2 : 0;
    return t;
}

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

// The first of the keys the form carries, as posted.
QString text(const Form &form, std::initializer_list<const char *> keys)
{
    for (const char *k : keys)
        if (form.contains(QLatin1String(k)))
            return form.value(QLatin1String(k));
    return QString();
}

qint64 idValue(const QJsonValue &v)
{
    return v.toVariant().toLongLong();
}

bool underRegister(qint64 buildingId)
{
    return buildingId % 100 <= communityTraits(buildingId / 100).registerBuildings;
}

// A search row's buildings in the community's form: maps, bare numbers or none.
QJsonArray searchBuildings(qint64 communityId, const QString &buildingText)
{
    const CommunityTraits t = communityTraits(communityId);
    QJsonArray list;
    if (t.buildingForm == CommunityTraits::NoBuildings)
        return list;
    for (const QJsonValue &v : QJsonDocument::fromJson(buildingText.toUtf8()).array()) {
        const QJsonObject b = v.toObject();
        if (t.buildingForm == CommunityTraits::BuildingMaps)
            list.append(QJsonObject{{"id", b.value(QStringLiteral("id"))}, {"name", b.value(QStringLiteral("name"))}});
        else
            list.append(QString::number(idValue(b.value(QStringLiteral("id"))) % 100));
    }
    return list;
}

// What the community service knows of a room: its floor, size and layout, all taken from its
// id, so every request about the same room answers the same.
QJsonObject roomFacts(qint64 roomId, const QString &name, int allFloors)
{
    const int area = 60 + int(roomId % 90);
    return QJsonObject{{"id", roomId},
                       {"name", name},
                       {"floors", name.toInt() / 100},
                       {"allfloors", allFloors},
                       {"builtuparea", area},
                       {"room", area < 75 ? 1 : area < 100 ? 2 : area < 130 ? 3 : 4},
                       {"hall", area < 75 ? 1 : 2},
                       {"huxingwei", area < 100 ? 1 : 2},
                       {"kitchen", 1},
                       {"balcony", area < 90 ? 1 : 2},
                       {"unitid", roomId / 1000},
                       {"dongid", roomId / 10000}};
}

} // namespace

// The handlers of the communities and their buildings.
struct BuildingRoutes
{
    static QJsonArray buildingsOf(Store &s, qint64 communityId)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select building from community where id=? and deleted=0"));
        q.addBindValue(communityId);
        return q.exec() && q.next() ? QJsonDocument::fromJson(q.value(0).toString().toUtf8()).array() : QJsonArray();
    }

    static QJsonObject buildingOf(Store &s, qint64 buildingId)
    {
        for (const QJsonValue &b : buildingsOf(s, buildingId / 100))
            if (idValue(b.toObject().value(QStringLiteral("id"))) == buildingId)
                return b.toObject();
        return QJsonObject();
    }

    static QJsonObject unitIn(const QJsonObject &building, qint64 unitId)
    {
        for (const QJsonValue &unit : building.value(QStringLiteral("units")).toArray())
            if (idValue(unit.toObject().value(QStringLiteral("id"))) == unitId)
                return unit.toObject();
        return QJsonObject();
    }

    // By `key` (also `keyword`, `name`): communities whose name or other name contains it.
    static Answer searchCommunity(Store &s, const Form &form, const User &)
    {
        const QString key = text(form, {"key", "keyword", "name"}).trimmed();
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select id, name, othrename, districtname, areaname, areaid, address, complete, building, "
                                 "(select count(*) from house h where h.mycommunityid=c.id and h.deleted=0) "
                                 "from community c where deleted=0 and (?='' or instr(name, ?)>0 or instr(othrename, ?)>0) "
                                 "order by id limit 30"));
        for (int k = 0; k < 3; ++k)
            q.addBindValue(key);
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(searchRow(q));
        return fetched(list);
    }

    static QJsonObject searchRow(const QSqlQuery &q)
    {
        const qint64 id = q.value(0).toLongLong();
        const CommunityTraits t = communityTraits(id);
        return QJsonObject{{"id", id},
                           {"myid", t.myid},
                           {"name", q.value(1).toString()},
                           {"othername", q.value(2).toString()},
                           {"districtname", q.value(3).toString()},
                           {"areaname", q.value(4).toString()},
                           {"areaid", q.value(5).toLongLong()},
                           {"address", q.value(6).toString()},
                           {"housecount", q.value(9).toLongLong()},
                           {"complete", q.value(7).toInt() ? 1 : 0},
                           {"lianmai", t.lianmai ? 1 : 0},
                           {"building", searchBuildings(id, q.value(8).toString())}};
    }

    static Answer locks(Store &s, const Form &form, const User &)
    {
        const qint64 id = number(form, {"comid", "xiaoquid", "communityid", "id"});
        const bool known = !buildingsOf(s, id).isEmpty();
        const CommunityTraits t = communityTraits(id);
        return fetched(QJsonObject{{"lockdong", known && t.lockdong ? 1 : 0}, {"lockuar", known && t.lockuar ? 1 : 0}});
    }

    static Answer buildings(Store &s, const Form &form, const User &)
    {
        QJsonArray list;
        for (const QJsonValue &v : buildingsOf(s, number(form, {"comid", "xiaoquid", "communityid", "id"}))) {
            const QJsonObject b = v.toObject();
            list.append(QJsonObject{{"id", b.value(QStringLiteral("id"))}, {"name", b.value(QStringLiteral("name"))},
                                    {"unit", b.value(QStringLiteral("unit"))}, {"floors", b.value(QStringLiteral("floors"))},
                                    {"jinggeng", underRegister(idValue(b.value(QStringLiteral("id")))) ? 1 : 0}});
        }
        return fetched(list);
    }

    static QJsonArray unitsOf(const QJsonObject &building)
    {
        QJsonArray list;
        for (const QJsonValue &v : building.value(QStringLiteral("units")).toArray()) {
            const QJsonObject unit = v.toObject();
            list.append(QJsonObject{{"id", unit.value(QStringLiteral("id"))}, {"name", unit.value(QStringLiteral("name"))},
                                    {"unit", unit.value(QStringLiteral("unit"))}});
        }
        return list;
    }

    // The rooms of a unit; the register's rows carry its unit and room ids besides.
    static QJsonArray roomsOf(Store &s, qint64 unitId, bool registerRows)
    {
        const QJsonObject unit = unitIn(buildingOf(s, unitId / 10), unitId);
        QJsonArray list;
        qint64 roomId = unitId * 1000;
        for (const QJsonValue &room : unit.value(QStringLiteral("rooms")).toArray()) {
            QJsonObject row{{"id", ++roomId}, {"name", room.toString()}};
            if (registerRows) {
                row.insert(QStringLiteral("unitid"), unitId);
                row.insert(QStringLiteral("roomid"), roomId);
            } else {
                row.insert(QStringLiteral("floor"), room.toString().toInt() / 100);
            }
            list.append(row);
        }
        return list;
    }

    static Answer units(Store &s, const Form &form, const User &)
    {
        return fetched(unitsOf(buildingOf(s, number(form, {"dongid", "loudongid", "id"}))));
    }

    static Answer rooms(Store &s, const Form &form, const User &)
    {
        return fetched(roomsOf(s, number(form, {"unitid", "danyuanid", "id"}), false));
    }

    static Answer room(Store &s, const Form &form, const User &)
    {
        const qint64 roomId = number(form, {"roomid", "id"});
        const qint64 givenUnit = number(form, {"unitid"});
        const qint64 unitId = roomId / 1000;
        const QJsonObject building = buildingOf(s, unitId / 10);
        const QString name = unitIn(building, unitId).value(QStringLiteral("rooms")).toArray().at(int(roomId % 1000) - 1).toString();
        if (name.isEmpty() || (givenUnit > 0 && givenUnit != unitId))
            return refusal(QStringLiteral("房间不存在"));
        return fetched(roomFacts(roomId, name, building.value(QStringLiteral("floors")).toInt()));
    }

    // The register knows only the buildings under intensive farming, and only of its city.
    static bool inRegister(const Form &form, qint64 buildingId)
    {
        const qint64 city = number(form, {"cityid"});
        return (city == 0 || city == 340100) && buildingId > 0 && underRegister(buildingId);
    }

    static Answer registerUnits(Store &s, const Form &form, const User &)
    {
        const qint64 buildingId = number(form, {"id", "dongid"});
        return fetched(inRegister(form, buildingId) ? unitsOf(buildingOf(s, buildingId)) : QJsonArray());
    }

    static Answer registerRooms(Store &s, const Form &form, const User &)
    {
        const qint64 unitId = number(form, {"id", "unitid"});
        return fetched(inRegister(form, unitId / 10) ? roomsOf(s, unitId, true) : QJsonArray());
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
                      {"house/jinggeng/getLocks", locks},
                      {"house/jinggeng/loudongInfo", buildings},
                      {"house/jinggeng/danyuanInfo", units},
                      {"house/jinggeng/unitInfo", rooms},
                      {"house/jinggeng/RoomDetail", room},
                      {"intensiveFarming/getUnitList", registerUnits},
                      {"intensiveFarming/getHouseList", registerRooms},
                      {"map/search.html", mapPage}});
    }
};

void addBuildingRoutes(RouteTable &table)
{
    BuildingRoutes::addTo(table);
}

} // namespace Alliance
