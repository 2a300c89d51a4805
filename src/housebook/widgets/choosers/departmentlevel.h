#pragma once
// One level of a department tree as the organisation server answers it: the department,
// its direct sub-departments and the people placed directly in it. Entries come out as
// maps tagged with `chooseType` ("dept" or "person") so a caller can tell a chosen
// department from a chosen person.
#include <QList>
#include <QString>
#include <QVariantMap>

class QJsonValue;

struct DepartmentLevel
{
    QString deptId;                 // empty for a top level without a department of its own
    QString deptName;
    QList<QVariantMap> departments; // each with dept_id and dept_name
    QList<QVariantMap> people;      // each with id and name
    int skipped = 0;                // entries left out for a wrong shape or missing keys
    bool valid = false;             // the reply had the shape of a level at all

    // Reads {dept_id, dept_name, depts: [...], users: [...]}; never throws away a whole
    // level for one bad entry.
    static DepartmentLevel parse(const QJsonValue &data);

    // "dept_<id>" or "person_<id>": the same entry met again on another level (or given
    // back by a caller) has the same key. Departments stored without an id use their name,
    // people without an id their phone.
    static QString entryKey(const QVariantMap &entry);
    // Entries handed in by callers may lack the tag: a department is known by dept_name.
    static bool isDepartment(const QVariantMap &entry);
    // The entry with its tag set (and with_down present on departments).
    static QVariantMap tagged(const QVariantMap &entry);
};
