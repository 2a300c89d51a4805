#pragma once
// What the signed-in user may see of the house book: the where clauses that hide listings
// outside the user's rights, and the privacy mask that blanks protected fields of a row.
// Managers (DataCenter::isManager, or DataCenter::isJointSaleManger for the alliance's book)
// see everything.
//
// The mask asks the right test for every row of a page. The user store's test reads and parses
// the stored rights each time, so the rights are read once into a snapshot (kept for the process
// while the stored rights, departments and profile are unchanged) and the test is evaluated the
// way UserMessage_DataSqlTable::isHaveAuthority does: a joint-sale manager holds every right, a
// right not granted is not held, a granted right as such (no owner, no department) is held, own listings are within every range, range 2 holds only own
// listings, ranges 4, 5 and 6 the listings of the range's departments, other ranges all.
// A user who holds no right at all (rights not downloaded yet, or none granted) sees only her
// own listings; the rights arriving widen the view at the next query.
#include "sql/basesqlobject.h"

#include <QScopedPointer>
#include <QSharedPointer>
#include <QStringList>
#include <QVariantMap>

class UserMessage_DataSqlTable;
class HouseBookSet_SqlTable;
struct RightsSnapshot;

class HousePermission : public BaseSqlObject
{
public:
    explicit HousePermission(bool isJointSale);
    ~HousePermission() override;

    bool seesEverything() const;
    // The clauses for a book kind (sale kinds 2, 4, 5; rent kinds 1, 3, 6); settings gives the
    // company's own states.
    QStringList clauses(int mode, HouseBookSet_SqlTable &settings);
    // Blanks, in a clear row, the fields the user's rights do not reveal.
    void mask(QVariantMap &row);
    // The right test for a listing of owner in department deptId.
    bool holds(int right, const QString &owner, int deptId) const;

private:
    QString viewRangeClause();
    QString statusClause(int mode, HouseBookSet_SqlTable &settings);
    QString rangeLimitedClause(int right, const QString &limitedForm, const QString &ownOnlyForm) const;
    QString districtClause() const;
    QStringList watchedCommunityIds();
    void maskGroup(QVariantMap &row, const int rights[3], const QString &owner, int deptId) const;

    QScopedPointer<UserMessage_DataSqlTable> m_user;
    QSharedPointer<const RightsSnapshot> m_rights;
    QString m_phone;       // the user's phone, clear
    QString m_storedPhone; // the same as stored
};
