#include "sql/housepermission.h"

#include "datacenter.h"
#include "platform/housebookcodes.h"
#include "net/wholenumber.h"
#include "sql/housebookset_sqltable.h"
#include "sql/houserecord.h"
#include "sql/sqlliteral.h"
#include "sql/textscramble.h"
#include "sql/usermessage_datasqltable.h"

#include <QHash>
#include <QJsonDocument>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

using HouseBookCodes::isRentMode;
using HouseBookCodes::isSaleMode;

using namespace SqlLiteral;
using Range = UserMessage_DataSqlTable::RangeKind;

// One right of the user as the permission model reads it.
struct RightScope
{
    bool granted = false;
    int range = 0;
    int distance = 0;        // metres of the view range, 0 when not limited by distance
    QStringList sons;        // chosen sub-options
    QSet<QString> deptIds;   // departments of ranges 4, 5, 6
    QString deptList;        // the same as "1,2,3"
};

struct RightsSnapshot
{
    QString key;  // the stored texts it was read from
    bool anyGranted = false;  // false until a download has granted the user at least one right
    QHash<int, RightScope> rights;
    QString ownDepts;  // "1,2"
    QStringList districts;
};

namespace {

enum Right {
    ViewRange = 132,
    SaleStates = 114,
    RentStates = 115,
    ViewLocked = 102,
    Seal = 109,
    Review = 136,
};

// Rights that reveal fields: building/unit/room, floors, contacts; private listings first,
// then public listings maintained by someone else.
const int kPrivateRights[3] = {31, 127, 32};
const int kPublicRights[3] = {152, 153, 154};
const int kSnapshotRights[] = {ViewRange, SaleStates, RentStates, ViewLocked, Seal, Review, 31, 127, 32, 152, 153, 154};

QStringList scrambledAll(const QStringList &values)
{
    QStringList out;
    for (const QString &v : values)
        out << TextScramble::scramble(v);
    return out;
}

QVariant parsedJson(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).toVariant();
}

// Names of a list of texts or of objects carrying a name.
QStringList namesOf(const QVariantList &list, const char *nameKey)
{
    QStringList names;
    for (const QVariant &v : list) {
        const QString name = v.type() == QVariant::Map ? v.toMap().value(QLatin1String(nameKey)).toString() : v.toString();
        if (!name.trimmed().isEmpty())
            names << name.trimmed();
    }
    return names;
}

bool isDepartmentRange(int range)
{
    return range == Range::RangeDeptAndSubs || range == Range::RangeChosen || range == Range::RangeDeptOnly;
}

bool isGranted(const QVariantMap &item)
{
    return !item.isEmpty() && (!item.contains(QStringLiteral("selected")) || item.value(QStringLiteral("selected")).toBool());
}

bool grantsAnything(const QVariantList &rights)
{
    for (const QVariant &v : rights) {
        if (isGranted(v.toMap()))
            return true;
    }
    return false;
}

RightScope readRight(UserMessage_DataSqlTable &user, int id)
{
    const QVariantMap item = user.authorityItem(id);
    RightScope r;
    r.granted = isGranted(item);
    r.range = WholeNumber::toInt(item.value(QStringLiteral("range")));
    r.distance = WholeNumber::toInt(item.value(QStringLiteral("count"), item.value(QStringLiteral("distance"))));
    r.sons = namesOf(item.value(QStringLiteral("sons")).toList(), "name");
    if (r.granted && isDepartmentRange(r.range)) {
        const QStringList ids = user.authorityDeptIds(id);
        r.deptIds = QSet<QString>(ids.cbegin(), ids.cend());
        r.deptList = integerList(ids);
    }
    return r;
}

QSharedPointer<const RightsSnapshot> buildSnapshot(UserMessage_DataSqlTable &user, const QString &key)
{
    QSharedPointer<RightsSnapshot> s(new RightsSnapshot);
    s->key = key;
    for (int id : kSnapshotRights)
        s->rights.insert(id, readRight(user, id));
    s->ownDepts = integerList(user.ownDepartmentIds());
    const QVariantMap info = user.getUserInfo();
    s->anyGranted = grantsAnything(info.value(QStringLiteral("userauth")).toList());
    const QVariant quyu = info.value(QStringLiteral("quyu"));
    s->districts = namesOf(quyu.type() == QVariant::Map ? QVariantList{quyu} : quyu.toList(), "name");
    return s;
}

// The snapshot of the stored rights, read again only when the stored texts changed.
QSharedPointer<const RightsSnapshot> snapshotOf(UserMessage_DataSqlTable &user, bool jointSale)
{
    static QMutex lock;
    static QHash<bool, QSharedPointer<const RightsSnapshot>> cache;
    const QVariantMap row = user.getUserRow();
    const QString key = QStringList{DataCenter::UserPhoneNumber, row.value(QStringLiteral("init")).toString(),
                                    row.value(QStringLiteral("userauth")).toString(),
                                    row.value(QStringLiteral("bumens")).toString()}
                            .join(QChar(0));
    {
        QMutexLocker locker(&lock);
        const QSharedPointer<const RightsSnapshot> cached = cache.value(jointSale);
        if (cached && cached->key == key)
            return cached;
    }
    const QSharedPointer<const RightsSnapshot> fresh = buildSnapshot(user, key);
    QMutexLocker locker(&lock);
    cache.insert(jointSale, fresh);
    return fresh;
}

} // namespace

HousePermission::HousePermission(bool isJointSale)
    : BaseSqlObject(nullptr, isJointSale)
    , m_user(new UserMessage_DataSqlTable(nullptr, isJointSale))
    , m_phone(DataCenter::UserPhoneNumber)
    , m_storedPhone(TextScramble::scramble(DataCenter::UserPhoneNumber))
{
    if (!seesEverything())
        m_rights = snapshotOf(*m_user, isJointSale);
}

HousePermission::~HousePermission() = default;

bool HousePermission::seesEverything() const
{
    return isJointSale() ? DataCenter::isJointSaleManger : DataCenter::isManager;
}

QStringList HousePermission::clauses(int mode, HouseBookSet_SqlTable &settings)
{
    if (seesEverything())
        return {};
    QStringList out{viewRangeClause(), statusClause(mode, settings),
                    rangeLimitedClause(ViewLocked,
                                       QStringLiteral("((suopan = 1 and deptid in(%1)) or suopan = 0 or userphone = %2)"),
                                       QStringLiteral("(suopan = 0 or (suopan = 1 and userphone = %1))")),
                    rangeLimitedClause(Review,
                                       QStringLiteral("((shenhestatus = 1 and deptid in(%1)) or shenhestatus != 1 or "
                                                      "shenhestatus is null or userphone = %2)"),
                                       QStringLiteral("(shenhestatus != 1 or shenhestatus is null or "
                                                      "(shenhestatus = 1 and userphone = %1))")),
                    districtClause()};
    if (!m_rights->rights.value(Seal).granted)
        out << QStringLiteral("(fengpan = 0)");
    out.removeAll(QString());
    return out;
}

// The view range: own listings only, departments, or (default) public listings plus the own
// departments' private ones, within the watched communities when a distance is set. Until the
// user's rights are known (not downloaded yet, or the download granted nothing) the narrowest
// range applies: a job's range cannot be told from nothing, and guessing wide would show the
// company's book to someone who may be allowed only her own listings.
QString HousePermission::viewRangeClause()
{
    const RightScope r = m_rights->rights.value(ViewRange);
    const QString me = quoted(m_storedPhone);
    if (!m_rights->anyGranted)
        return QStringLiteral("(userphone = %1)").arg(me);
    const int range = r.granted ? r.range : int(Range::RangeDefault);
    if (range == Range::RangeOwn)
        return QStringLiteral("(userphone = %1)").arg(me);
    if (isDepartmentRange(range))
        return QStringLiteral("(deptid in(%1) or userphone = %2)").arg(r.deptList, me);
    if (range != Range::RangeDefault)
        return QString();
    const QString privateClause = QStringLiteral("(stype = 0 or deptid in(%1) or userphone = %2)").arg(m_rights->ownDepts, me);
    if (!r.granted || r.distance <= 0)
        return privateClause;
    const QString watched = QStringLiteral("(mycommunityid in(%1) or userphone = %2)").arg(integerList(watchedCommunityIds()), me);
    return QStringLiteral("((%1) or (%2)) and %3")
        .arg(watched, QStringLiteral("(deptid in(%1))").arg(m_rights->ownDepts), privateClause);
}

// Only the chosen statuses (besides the company's own classes and 有效), or own listings.
QString HousePermission::statusClause(int mode, HouseBookSet_SqlTable &settings)
{
    if (!isSaleMode(mode) && !isRentMode(mode))
        return QString();
    const RightScope r = m_rights->rights.value(isSaleMode(mode) ? SaleStates : RentStates);
    if (!r.granted || r.sons.isEmpty())
        return QString();
    const QVariantMap bookset = parsedJson(settings.getValue(QStringLiteral("bookset"))).toMap();
    const QVariantList states =
        bookset.value(isSaleMode(mode) ? QStringLiteral("chushoustate") : QStringLiteral("chuzustate")).toList();
    const QStringList allowed = QStringList{QStringLiteral("有效")} + namesOf(states, "title") + namesOf(states, "lable") + r.sons;
    return QStringLiteral("(newstate in(%1) or userphone = %2)").arg(quotedList(scrambledAll(allowed)), quoted(m_storedPhone));
}

// Department ranges limit to their departments and own listings; own-only or no right to own
// listings; whole-company ranges do not limit.
QString HousePermission::rangeLimitedClause(int right, const QString &limitedForm, const QString &ownOnlyForm) const
{
    const RightScope r = m_rights->rights.value(right);
    const QString me = quoted(m_storedPhone);
    if (r.granted && isDepartmentRange(r.range))
        return limitedForm.arg(r.deptList, me);
    if (r.granted && r.range != Range::RangeOwn)
        return QString();
    return ownOnlyForm.arg(me);
}

// The districts of the user's area (quyu of the user information), when the area is limited.
QString HousePermission::districtClause() const
{
    if (m_rights->districts.isEmpty())
        return QString();
    return QStringLiteral("(cityid = %1 and district in(%2))")
        .arg(QString::number(DataCenter::CityID), quotedList(scrambledAll(m_rights->districts)));
}

QStringList HousePermission::watchedCommunityIds()
{
    const QString table = tableName(QStringLiteral("basemessage"));
    if (!isHaveTable(table, PersonDB))
        return {};
    const QList<QVariantMap> rows = selectRows(PersonDB, QStringLiteral("select watchcommunitys from %1 where id=1").arg(table));
    QStringList ids;
    for (const QVariant &v : parsedJson(rows.value(0).value(QStringLiteral("watchcommunitys")).toString()).toList()) {
        const QVariantMap c = v.toMap();
        ids << c.value(QStringLiteral("id"), c.value(QStringLiteral("communityid"))).toString();
    }
    return ids;
}

bool HousePermission::holds(int right, const QString &owner, int deptId) const
{
    if (DataCenter::isJointSaleManger)
        return true;
    if (!m_rights)
        return true;  // a manager of this book: nothing is withheld
    const RightScope r = m_rights->rights.value(right);
    if (!r.granted)
        return false;
    if (owner.isEmpty() && deptId == 0)
        return true;  // the right as such
    if (!owner.isEmpty() && owner == m_phone)
        return true;
    if (r.range == Range::RangeOwn)
        return false;
    if (isDepartmentRange(r.range))
        return deptId != 0 && r.deptIds.contains(QString::number(deptId));
    return true;
}

void HousePermission::maskGroup(QVariantMap &row, const int rights[3], const QString &owner, int deptId) const
{
    static const QList<QStringList> fields{{QStringLiteral("buildingNo"), QStringLiteral("roomNo"), QStringLiteral("unitNo")},
                                           {QStringLiteral("floors"), QStringLiteral("allfloors")},
                                           {QStringLiteral("contacts")}};
    for (int i = 0; i < 3; ++i) {
        if (holds(rights[i], owner, deptId))
            continue;
        for (const QString &f : fields.at(i)) {
            if (row.contains(f))
                row.insert(f, HouseRecord::isTextColumn(f) ? QVariant(QString()) : QVariant(0));
        }
    }
}

void HousePermission::mask(QVariantMap &row)
{
    const QString owner = row.value(QStringLiteral("userphone")).toString();
    if (seesEverything() || (!owner.isEmpty() && owner == m_phone))
        return;
    const int deptId = WholeNumber::toInt(row.value(QStringLiteral("deptid")));
    const bool maintainedByOthers = !HouseRecord::rolePhones(row.value(QStringLiteral("weihuren"))).contains(m_phone);
    if (WholeNumber::toInt(row.value(QStringLiteral("sf"))) == 1)
        maskGroup(row, kPrivateRights, owner, deptId);
    else if (maintainedByOthers)
        maskGroup(row, kPublicRights, owner, deptId);
    if (WholeNumber::toInt(row.value(QStringLiteral("hbdujia"))) == 1 && maintainedByOthers && row.contains(QStringLiteral("contacts")))
        row.insert(QStringLiteral("contacts"), QString());
}
