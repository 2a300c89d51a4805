#include "sql/usermessage_datasqltable.h"

#include "datacenter.h"
#include "net/wholenumber.h"
#include "sql/configdatasettings.h"

#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

namespace {

const QString kDeptId = QStringLiteral("dept_id");
const QString kSons = QStringLiteral("sons");

// Stored JSON text as variants; invalid text reads as nothing.
QVariant parseJson(const QString &text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    return doc.isNull() ? QVariant() : doc.toVariant();
}

// The first member of a map, among names, that holds a list.
QVariantList listMember(const QVariantMap &map, const QStringList &names)
{
    for (const QString &name : names) {
        if (map.value(name).type() == QVariant::List)
            return map.value(name).toList();
    }
    return QVariantList();
}

QVariantList rightsFrom(const QVariant &userauth)
{
    if (userauth.type() == QVariant::List)
        return userauth.toList();
    const QVariantMap map = userauth.toMap();
    const QVariantList listed = listMember(map, {QStringLiteral("list"), QStringLiteral("data"), QStringLiteral("auth")});
    if (!listed.isEmpty())
        return listed;
    QVariantList keyed;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QVariantMap entry = it.value().toMap();
        if (!entry.isEmpty() && !entry.contains(QStringLiteral("id")))
            entry.insert(QStringLiteral("id"), it.key());
        if (!entry.isEmpty())
            keyed.append(entry);
    }
    return keyed;
}

QVariantList treeFrom(const QVariant &bumens)
{
    if (bumens.type() == QVariant::List)
        return bumens.toList();
    const QVariantMap map = bumens.toMap();
    if (map.contains(kDeptId))
        return {map};
    return listMember(map, {kSons, QStringLiteral("tree"), QStringLiteral("list"), QStringLiteral("bumens")});
}

QString nodeId(const QVariantMap &node)
{
    const QVariant id = node.contains(kDeptId) ? node.value(kDeptId) : node.value(QStringLiteral("id"));
    return id.toString();
}

QVariantList nodeSons(const QVariantMap &node)
{
    return node.contains(kSons) ? node.value(kSons).toList() : node.value(QStringLiteral("children")).toList();
}

void flatten(const QVariantList &nodes, const QString &parentId, int level, QList<QVariantMap> &out)
{
    for (const QVariant &v : nodes) {
        QVariantMap node = v.toMap();
        const QVariantList sons = nodeSons(node);
        node.remove(kSons);
        node.insert(QStringLiteral("parent_id"), parentId);
        node.insert(QStringLiteral("level"), level);
        out.append(node);
        flatten(sons, nodeId(node), level + 1, out);
    }
}

void appendSubtree(const QVariantMap &node, QStringList &ids)
{
    if (!ids.contains(nodeId(node)))
        ids.append(nodeId(node));
    for (const QVariant &son : nodeSons(node))
        appendSubtree(son.toMap(), ids);
}

// The department and, from the tree, every department below it. A department the tree
// does not know still counts by itself.
void appendDepartment(const QVariantList &tree, const QString &id, bool withDown, QStringList &ids)
{
    if (id.isEmpty())
        return;
    if (!ids.contains(id))
        ids.append(id);
    if (!withDown)
        return;
    for (const QVariant &v : tree) {
        const QVariantMap node = v.toMap();
        if (nodeId(node) == id)
            appendSubtree(node, ids);
        else
            appendDepartment(nodeSons(node), id, true, ids);
    }
}

QStringList ownIdsFrom(const QVariant &bumens)
{
    const QVariant own = bumens.toMap().value(QStringLiteral("suozai_bumens"));
    QStringList ids;
    if (own.type() == QVariant::List) {
        for (const QVariant &v : own.toList())
            ids << nodeId(v.toMap());
    } else {
        ids = own.toMap().keys();
    }
    ids.removeAll(QString());
    return ids;
}

// The chosen departments of a right: plain nodes, or groups whose content items are chosen.
void appendChosen(const QVariantList &tree, const QVariantList &chosen, QStringList &ids)
{
    for (const QVariant &v : chosen) {
        const QVariantMap entry = v.toMap();
        if (entry.contains(QStringLiteral("content"))) {
            QVariantList picked;
            for (const QVariant &item : entry.value(QStringLiteral("content")).toList()) {
                const QVariantMap m = item.toMap();
                if (!m.contains(QStringLiteral("selected")) || m.value(QStringLiteral("selected")).toBool())
                    picked.append(m);
            }
            appendChosen(tree, picked, ids);
            continue;
        }
        appendDepartment(tree, nodeId(entry), entry.value(QStringLiteral("with_down")).toBool(), ids);
    }
}

bool isGranted(const QVariantMap &item)
{
    return !item.isEmpty()
           && (!item.contains(QStringLiteral("selected")) || item.value(QStringLiteral("selected")).toBool());
}

bool hasSubItems(const QVariantMap &item, const QStringList &subItems)
{
    QStringList chosen;
    for (const QVariant &son : item.value(kSons).toList()) {
        const QVariantMap m = son.toMap();
        chosen << (m.isEmpty() ? son.toString() : m.value(QStringLiteral("name"), m.value(QStringLiteral("id"))).toString());
    }
    for (const QString &sub : subItems) {
        if (!chosen.contains(sub))
            return false;
    }
    return true;
}

} // namespace

UserMessage_DataSqlTable::UserMessage_DataSqlTable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    if (!isHaveTable(table(), PersonDB))
        createTable(QStringLiteral("create table %1(phone varchar unique,init varchar,userauth varchar,bumens varchar)")
                        .arg(table()),
                    PersonDB);
}

QString UserMessage_DataSqlTable::table() const
{
    return tableName(QStringLiteral("user"));
}

bool UserMessage_DataSqlTable::updateColumn(const QString &column, const QString &value)
{
    static const QStringList writable{QStringLiteral("init"), QStringLiteral("userauth"), QStringLiteral("bumens")};
    if (isLoginWindow() || !writable.contains(column) || DataCenter::UserPhoneNumber.isEmpty())
        return false;
    if (getUserRow().isEmpty()
        && !exec(PersonDB, QStringLiteral("insert into %1 values(?,?,?,?)").arg(table()),
                 {DataCenter::UserPhoneNumber, QString(), QString(), QString()}))
        return false;
    return exec(PersonDB, QStringLiteral("update %1 set %2=? where phone=?").arg(table(), column),
                {value, DataCenter::UserPhoneNumber});
}

QVariantMap UserMessage_DataSqlTable::getUserRow()
{
    return selectRows(PersonDB, QStringLiteral("select * from %1 where phone=?").arg(table()),
                      {DataCenter::UserPhoneNumber})
        .value(0);
}

QVariantMap UserMessage_DataSqlTable::getUserInfo()
{
    const QVariantMap row = getUserRow();
    if (row.isEmpty())
        return QVariantMap();
    const QVariantMap init = parseJson(row.value(QStringLiteral("init")).toString()).toMap();
    QVariantMap info = init;
    info.insert(QStringLiteral("phone"), row.value(QStringLiteral("phone")));
    info.insert(QStringLiteral("init"), init);
    info.insert(QStringLiteral("userauth"), rights());
    info.insert(QStringLiteral("bumens"), bumens());
    return info;
}

QVariantList UserMessage_DataSqlTable::rights()
{
    const QString raw = getUserRow().value(QStringLiteral("userauth")).toString();
    if (raw != m_rawAuth || m_rights.isEmpty()) {
        m_rawAuth = raw;
        m_rights = rightsFrom(parseJson(raw));
    }
    return m_rights;
}

QVariant UserMessage_DataSqlTable::bumens()
{
    const QString raw = getUserRow().value(QStringLiteral("bumens")).toString();
    if (raw != m_rawBumens || !m_bumens.isValid()) {
        m_rawBumens = raw;
        m_bumens = parseJson(raw);
    }
    return m_bumens;
}

QVariantList UserMessage_DataSqlTable::getDepartmentTree()
{
    return treeFrom(bumens());
}

QList<QVariantMap> UserMessage_DataSqlTable::getDepartmentList()
{
    QList<QVariantMap> list;
    flatten(getDepartmentTree(), QString(), 0, list);
    return list;
}

QStringList UserMessage_DataSqlTable::ownDepartmentIds()
{
    return ownIdsFrom(bumens());
}

QVariantMap UserMessage_DataSqlTable::authorityItem(int authId)
{
    for (const QVariant &v : rights()) {
        const QVariantMap item = v.toMap();
        bool isNumber = false;
        if (item.value(QStringLiteral("id")).toString().toInt(&isNumber) == authId && isNumber)
            return item;
    }
    return QVariantMap();
}

int UserMessage_DataSqlTable::authorityRange(int authId)
{
    const QVariantMap item = authorityItem(authId);
    return isGranted(item) ? WholeNumber::toInt(item.value(QStringLiteral("range"))) : -1;
}

QStringList UserMessage_DataSqlTable::authorityDeptIds(int authId)
{
    return rangeDeptIds(authorityItem(authId));
}

QStringList UserMessage_DataSqlTable::rangeDeptIds(const QVariantMap &item)
{
    if (!isGranted(item))
        return QStringList();
    const QVariantList tree = getDepartmentTree();
    QStringList ids;
    switch (WholeNumber::toInt(item.value(QStringLiteral("range")))) {
    case RangeDeptAndSubs:
        for (const QString &own : ownDepartmentIds())
            appendDepartment(tree, own, true, ids);
        break;
    case RangeDeptOnly:
        ids = ownDepartmentIds();
        break;
    case RangeChosen:
        appendChosen(tree, item.value(QStringLiteral("bumens")).toList(), ids);
        break;
    default:
        break;
    }
    return ids;
}

bool UserMessage_DataSqlTable::isHaveAuthority(int authId, const QString &ownerPhone, int ownerDeptId,
                                               const QStringList &subItems)
{
    if (DataCenter::isJointSaleManger)
        return true;
    const QVariantMap item = authorityItem(authId);
    if (!isGranted(item) || !hasSubItems(item, subItems))
        return false;
    if (ownerPhone.isEmpty() && ownerDeptId == 0)
        return true;
    return withinRange(item, ownerPhone, ownerDeptId);
}

// The user's own listings are within every range; the department ranges need the listing's
// department among theirs.
bool UserMessage_DataSqlTable::withinRange(const QVariantMap &item, const QString &ownerPhone, int ownerDeptId)
{
    if (!ownerPhone.isEmpty() && ownerPhone == DataCenter::UserPhoneNumber)
        return true;
    switch (WholeNumber::toInt(item.value(QStringLiteral("range")))) {
    case RangeOwn:
        return false;
    case RangeDeptAndSubs:
    case RangeChosen:
    case RangeDeptOnly:
        return ownerDeptId != 0 && rangeDeptIds(item).contains(QString::number(ownerDeptId));
    default:
        return true;
    }
}

QString UserMessage_DataSqlTable::getConfigValue(const QString &group, const QString &key)
{
    return ConfigDataSettings::value(group, key);
}

bool UserMessage_DataSqlTable::setConfigValue(const QString &group, const QString &key, const QString &value)
{
    return ConfigDataSettings::setValue(group, key, value);
}

QString UserMessage_DataSqlTable::lastLoginPhone()
{
    return ConfigDataSettings::lastLoginPhone();
}

bool UserMessage_DataSqlTable::setLastLoginPhone(const QString &phone)
{
    return ConfigDataSettings::setLastLoginPhone(phone);
}

QString UserMessage_DataSqlTable::companyLogo()
{
    return ConfigDataSettings::companyLogo();
}

QString UserMessage_DataSqlTable::companyName()
{
    return ConfigDataSettings::companyName();
}

bool UserMessage_DataSqlTable::appendLine(const QString &filePath, const QString &line)
{
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << line << '\n';
    out.flush();
    return out.status() == QTextStream::Ok;
}
