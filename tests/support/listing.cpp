#include "listing.h"

const QString Listing::kOwner = QStringLiteral("13900000009");

Listing::Listing(qint64 id)
    : m_fields{{"id", id},
               {"types", 0},
               {"userphone", kOwner},
               {"mycommunityid", 100},
               {"name", QStringLiteral("阳光花园")},
               {"housestatus", 1},
               {"newstate", QStringLiteral("有效")},
               {"cityid", 340100},
               {"companyid", 1001},
               {"fbcompanyid", 1001},
               {"deptid", 11},
               {"isdel", 0},
               {"sf", 0},
               {"stype", 0},
               {"istop", 0},
               {"suopan", 0},
               {"fengpan", 0},
               {"hbdujia", 0},
               {"shenhestatus", 0},
               {"createtime", QStringLiteral("2024/03/01 10:00:00")},
               {"lasttime", QStringLiteral("2024/03/01 10:00:00")}}
{
}

Listing &Listing::sale()
{
    return set(QStringLiteral("types"), 0);
}

Listing &Listing::rent()
{
    return set(QStringLiteral("types"), 1);
}

Listing &Listing::status(const QString &newstate)
{
    return set(QStringLiteral("newstate"), newstate);
}

Listing &Listing::active(bool onShelf)
{
    return set(QStringLiteral("housestatus"), onShelf ? 1 : 0);
}

Listing &Listing::price(double price)
{
    return set(QStringLiteral("price"), price);
}

Listing &Listing::unitPrice(double unitPrice)
{
    return set(QStringLiteral("unitprice"), unitPrice);
}

Listing &Listing::area(double builtUpArea)
{
    return set(QStringLiteral("builtuparea"), builtUpArea);
}

Listing &Listing::community(int id, const QString &name)
{
    set(QStringLiteral("mycommunityid"), id);
    return set(QStringLiteral("name"), name);
}

Listing &Listing::district(const QString &district, const QString &area)
{
    set(QStringLiteral("district"), district);
    return set(QStringLiteral("area"), area);
}

Listing &Listing::unit(const QString &building, const QString &unit, const QString &room)
{
    set(QStringLiteral("buildingNo"), building);
    set(QStringLiteral("unitNo"), unit);
    return set(QStringLiteral("roomNo"), room);
}

Listing &Listing::floors(int floor, int allFloors)
{
    set(QStringLiteral("floors"), floor);
    return set(QStringLiteral("allfloors"), allFloors);
}

Listing &Listing::owner(const QString &phone)
{
    return set(QStringLiteral("userphone"), phone);
}

Listing &Listing::department(int deptId)
{
    return set(QStringLiteral("deptid"), deptId);
}

Listing &Listing::company(int companyId)
{
    return set(QStringLiteral("companyid"), companyId);
}

Listing &Listing::city(int cityId)
{
    return set(QStringLiteral("cityid"), cityId);
}

Listing &Listing::role(const QString &roleKey, const QString &name, const QString &phone, bool reviewed)
{
    return set(roleKey, person(name, phone, reviewed));
}

Listing &Listing::created(const QString &time)
{
    return set(QStringLiteral("createtime"), time);
}

Listing &Listing::updated(const QString &time)
{
    return set(QStringLiteral("lasttime"), time);
}

Listing &Listing::top(bool on)
{
    return flag("istop", on);
}

Listing &Listing::locked(bool on)
{
    return flag("suopan", on);
}

Listing &Listing::sealed(bool on)
{
    return flag("fengpan", on);
}

Listing &Listing::exclusive(bool on)
{
    return flag("hbdujia", on);
}

Listing &Listing::deleted(bool on)
{
    return flag("isdel", on);
}

Listing &Listing::underReview(bool on)
{
    return flag("shenhestatus", on);
}

Listing &Listing::set(const QString &key, const QVariant &value)
{
    m_fields.insert(key, value);
    return *this;
}

Listing &Listing::with(const QVariantMap &changes)
{
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        m_fields.insert(it.key(), it.value());
    return *this;
}

QVariantMap Listing::person(const QString &name, const QString &phone, bool reviewed)
{
    return {{QStringLiteral("name"), name}, {QStringLiteral("phone"), phone}, {QStringLiteral("review"), reviewed}};
}

Listing &Listing::flag(const char *key, bool on)
{
    return set(QLatin1String(key), on ? 1 : 0);
}
