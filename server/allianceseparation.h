#pragma once
// The role records of the listings (who holds which part of a listing's work, the evidence of
// each role, its review and its history) and the reports against role holders. One entry per
// listing and role kind; the listing's holder columns (lururen … chengjiaoren) follow every
// change of an entry, and each change moves the listing's lasttime so the next sync brings it.
#include "alliancestore.h"

namespace Alliance {

// One listing's role of one kind. id 0: the role never had an entry.
struct RoleEntry
{
    qint64 id = 0;
    qint64 houseId = 0;
    int type = 0;          // 0 entry … 6 deal
    int userId = 0;        // holder; 0 none
    int state = 0;         // 0 none, 1 awaiting review, 2 approved, 3 refused
    QString remark;
    QJsonObject evidence;  // texts at the top, photo groups under "pictures"
    qint64 spId = 0;       // office approval record while a holder change waits in it
    int pendingUser = 0;   // the holder that change proposes
    QString heyancode;
    QString weituocode;
    QString author;        // who wrote the entry last
    qint64 ms = 0;

    bool exists() const { return id > 0; }
};

struct SeparationRoutes
{
    // ---- entries (allianceseparation.cpp) ----
    // The seven entries of a listing in kind order, first brought in line with its holder
    // columns (other requests change those columns too); a role never held has id 0.
    static QVector<RoleEntry> entriesOf(Store &s, qint64 houseId);
    static RoleEntry entryOf(Store &s, qint64 houseId, int type);
    static RoleEntry entryById(Store &s, qint64 id);
    static void save(Store &s, RoleEntry &e);
    static void save(QSqlQuery &q, RoleEntry &e);
    // Rewrites the listing's holder column of the entry (and the flags that go with it).
    static void writeHolder(Store &s, const RoleEntry &e);
    // The entry's holder becomes userId (0: nobody), approved; a waiting office approval is closed.
    static void setHolder(Store &s, RoleEntry &e, int userId);
    // Approves or refuses what the entry waits for; an approved holder change takes effect.
    static void decide(Store &s, RoleEntry &e, bool approve);
    // A history line of the entry (ms 0: now).
    static void note(Store &s, qint64 entryId, const User &by, const QString &content, qint64 ms = 0);
    static void note(QSqlQuery &q, qint64 entryId, const User &by, const QString &content, qint64 ms = 0);
    static bool canReview(const User &u);
    static QString deptName(const Store &s, int deptId);
    // The store's own calls the requests of this feature use.
    static QSqlDatabase db(Store &s) { return s.db(); }
    static bool houseExists(Store &s, qint64 id) { return s.houseExists(id); }
    static QVariantMap houseRow(Store &s, qint64 id) { return s.houseRow(id); }
    static bool updateHouse(Store &s, qint64 id, const QVariantMap &columns) { return s.updateHouse(id, columns); }
    static const User *userById(const Store &s, int userId) { return s.userById(userId); }
    static QString baseUrl(const Store &s) { return s.m_baseUrl; }
    static QString resolve(const Store &s, QString url);
    static QString stored(const Store &s, QString url);
    static void addTo(RouteTable &t);

    // ---- reports (allianceseparation_reports.cpp) ----
    static void addReportTo(RouteTable &t);

    // ---- seeding ----
    static bool createTables(QSqlQuery &q, QString *error);
    static bool seedContracts(Store &s, QSqlQuery &q, QString *error);
    static bool seedEntries(Store &s, QString *error);
    static bool seedReports(Store &s, QString *error);
};

// The time the role records show: "yyyy-MM-dd HH:mm".
QString recordTime(qint64 secs);

} // namespace Alliance
