#include "widgets/choosers/departmentlevel.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

namespace {

const QString kType = QStringLiteral("chooseType");
const QString kDept = QStringLiteral("dept");
const QString kPerson = QStringLiteral("person");

// A key counts as present only with a non-empty text form (numbers and strings both do).
bool hasText(const QJsonObject &object, const QString &key)
{
    const QJsonValue v = object.value(key);
    return (v.isString() && !v.toString().trimmed().isEmpty()) || v.isDouble();
}

QString text(const QVariant &value)
{
    // Ids arrive as JSON numbers (doubles): 10100.0 must read "10100".
    if (value.type() == QVariant::Double)
        return QString::number(value.toLongLong());
    return value.toString().trimmed();
}

// Appends the objects of `array` that carry an id and a name; counts the rest as skipped.
void readEntries(const QJsonValue &array, bool departments, QList<QVariantMap> *out, int *skipped)
{
    const QString idKey = departments ? QStringLiteral("dept_id") : QStringLiteral("id");
    const QString nameKey = departments ? QStringLiteral("dept_name") : QStringLiteral("name");
    for (const QJsonValue &item : array.toArray()) {
        const QJsonObject object = item.toObject();
        if (!hasText(object, idKey) || !hasText(object, nameKey)) {
            ++*skipped;
            continue;
        }
        QVariantMap entry = object.toVariantMap();
        entry.insert(kType, departments ? kDept : kPerson);
        out->append(DepartmentLevel::tagged(entry));
    }
}

// Missing lists are empty; a list of the wrong kind makes the level unreadable.
bool isListOrAbsent(const QJsonValue &value)
{
    return value.isArray() || value.isUndefined() || value.isNull();
}

} // namespace

DepartmentLevel DepartmentLevel::parse(const QJsonValue &data)
{
    DepartmentLevel level;
    const QJsonObject object = data.toObject();
    const QJsonValue depts = object.value(QStringLiteral("depts"));
    const QJsonValue users = object.value(QStringLiteral("users"));
    if (!data.isObject() || (!depts.isArray() && !users.isArray()) || !isListOrAbsent(depts)
        || !isListOrAbsent(users))
        return level;
    level.valid = true;
    level.deptId = text(object.value(QStringLiteral("dept_id")).toVariant());
    level.deptName = object.value(QStringLiteral("dept_name")).toString().trimmed();
    readEntries(depts, true, &level.departments, &level.skipped);
    readEntries(users, false, &level.people, &level.skipped);
    return level;
}

bool DepartmentLevel::isDepartment(const QVariantMap &entry)
{
    const QString type = entry.value(kType).toString();
    return type.isEmpty() ? entry.contains(QStringLiteral("dept_name")) : type == kDept;
}

QString DepartmentLevel::entryKey(const QVariantMap &entry)
{
    if (isDepartment(entry)) {
        const QString id = text(entry.value(QStringLiteral("dept_id")));
        return QStringLiteral("dept_") + (id.isEmpty() ? text(entry.value(QStringLiteral("dept_name"))) : id);
    }
    const QString id = text(entry.value(QStringLiteral("id")));
    return QStringLiteral("person_") + (id.isEmpty() ? text(entry.value(QStringLiteral("phone"))) : id);
}

QVariantMap DepartmentLevel::tagged(const QVariantMap &entry)
{
    QVariantMap out = entry;
    const bool department = isDepartment(entry);
    out.insert(kType, department ? kDept : kPerson);
    if (department)
        out.insert(QStringLiteral("with_down"), entry.value(QStringLiteral("with_down")).toBool());
    return out;
}
