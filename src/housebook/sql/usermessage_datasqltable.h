#pragma once
// The signed-in user's profile row (initialisation reply, rights, department tree), the
// right test every page asks, and the accessors of the settings file "configdata.ini".
//
// Stored shapes read here:
// - userauth: a JSON array of right entries {id, selected, range, bumens, count, sons}, or an
//   object holding that array under "list", "data" or "auth", or an object keyed by right id.
//   An entry whose `selected` is false is not held. `bumens` of an entry are the chosen
//   departments: nodes {dept_id (or id), dept_name, with_down}, or groups {content: [{id, selected}]}.
// - bumens: the department tree as an array of nodes {dept_id, dept_name, count, sons, with_down,
//   hideData, range, selected}, or an object with that array under "sons", "tree", "list" or
//   "bumens" (or itself one root node), plus `suozai_bumens`, the user's own departments, keyed
//   by department id or listed as {id, name}.
#include "sql/basesqlobject.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

class UserMessage_DataSqlTable : public BaseSqlObject
{
    Q_OBJECT
public:
    // How far a right reaches over other people's listings (the entry's `range`). The user's
    // own listings are within every range. Kinds other than 2, 4, 5 and 6 (0 the default,
    // 1 and 3 whole company) do not restrict.
    enum RangeKind {
        RangeDefault = 0,      // no range set for the job: every listing of the company
        RangeCompany = 1,      // 全公司
        RangeOwn = 2,          // only the user's own listings
        RangeDeptAndSubs = 4,  // the user's departments and everything below them
        RangeChosen = 5,       // the chosen departments, with their sub-departments when with_down
        RangeDeptOnly = 6      // the user's departments only
    };

    UserMessage_DataSqlTable(QObject *parent, bool isJointSale);

    // Writes init / userauth / bumens of the current user, creating the row when missing.
    // Does nothing while the login window is in front.
    bool updateColumn(const QString &column, const QString &value);
    // The stored row; empty when there is none.
    QVariantMap getUserRow();
    // The user-information map: phone, init, the members of init, userauth (list of rights)
    // and bumens (as stored, parsed); empty without a row.
    QVariantMap getUserInfo();

    // The department tree, whole (top-level nodes with their sons) and flattened depth first
    // (each node without sons, with parent_id and level added).
    QVariantList getDepartmentTree();
    QList<QVariantMap> getDepartmentList();
    // Ids of the user's own departments.
    QStringList ownDepartmentIds();

    // The right's entry in userauth; empty when absent.
    QVariantMap authorityItem(int authId);
    // The right's range kind; -1 when the right is absent or not granted.
    int authorityRange(int authId);
    // Ids of the departments in the right's range (kinds 4, 5, 6; empty for the others).
    QStringList authorityDeptIds(int authId);
    // The right test used by every page: does the current user hold right authId for a listing
    // owned by ownerPhone in department ownerDeptId? Empty owner/0 dept: the right as such.
    // subItems: sub-options that must be among the right's chosen `sons`. A joint-sale
    // manager (DataCenter::isJointSaleManger) holds every right.
    bool isHaveAuthority(int authId, const QString &ownerPhone = QString(), int ownerDeptId = 0,
                         const QStringList &subItems = QStringList());

    static QString pluginVersion() { return BaseSqlObject::pluginVersion(); }

    // "configdata.ini" (see ConfigDataSettings).
    static QString getConfigValue(const QString &group, const QString &key);
    static bool setConfigValue(const QString &group, const QString &key, const QString &value);
    static QString lastLoginPhone();
    static bool setLastLoginPhone(const QString &phone);
    static QString companyLogo();
    static QString companyName();

    // Appends one line to a text file in UTF-8.
    static bool appendLine(const QString &filePath, const QString &line);

private:
    QString table() const;
    QStringList rangeDeptIds(const QVariantMap &item);
    bool withinRange(const QVariantMap &item, const QString &ownerPhone, int ownerDeptId);
    QVariantList rights();
    QVariant bumens();

    // Parsed columns, kept while the stored text is unchanged: the privacy mask asks the
    // right test for every row of a page.
    QString m_rawAuth;
    QVariantList m_rights;
    QString m_rawBumens;
    QVariant m_bumens;
};
