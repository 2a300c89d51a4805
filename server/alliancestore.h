#pragma once
// The simulator's state and answers: the seeded organisation (city, companies, departments,
// users), the listings and communities in SQLite, and one answer per relative path.
// Every public call is serialised by the server; the store itself holds no lock.
#include "allianceserver.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <initializer_list>

namespace Alliance {

using Form = QMap<QString, QString>;

// The answer of one request: an envelope unless `raw` is set (HTML pages).
struct Answer
{
    int code = 200;
    QString message = QStringLiteral("success");
    QJsonValue data;
    bool isRaw = false;
    QByteArray raw;
    QByteArray rawType;
};

struct Department
{
    int id = 0;
    int companyId = 0;
    int parentId = 0;  // 0: the company's root
    QString name;
};

struct Company
{
    int id = 0;
    QString name;
    QString shortName;
};

struct User
{
    QString phone;
    QString name;
    int companyId = 0;
    int deptId = 0;
    int jobId = 0;
    bool manager = false;    // the joint-sale manager: every right, whole alliance
    enum Rights { Full, Narrow, DeptRanges, Agent } rights = Agent;
    int userId = 0;
};

struct District
{
    int id = 0;
    QString name;
    QVector<QPair<int, QString>> areas;
};

class Store;

// The handler of one relative path; the route table maps each path to its handler.
using Handler = Answer (*)(Store &store, const Form &form, const User &u);
using RouteTable = QHash<QString, Handler>;
struct Route
{
    const char *path;
    Handler handler;
};
// Adds routes to the table; a path already there keeps its first handler.
void addRoutes(RouteTable &table, std::initializer_list<Route> routes);
// The routes of each feature.
void addSyncRoutes(RouteTable &table);
void addChangeRoutes(RouteTable &table);
void addReferenceRoutes(RouteTable &table);
void addBuildingRoutes(RouteTable &table);
void addOrganisationRoutes(RouteTable &table);
void addDetailRoutes(RouteTable &table);
void addFollowRoutes(RouteTable &table);
void addPhotoRoutes(RouteTable &table);
void addSurveyRoutes(RouteTable &table);
void addDescribeRoutes(RouteTable &table);
void addSeparationRoutes(RouteTable &table);
void addSettingsRoutes(RouteTable &table);
void addPortalRoutes(RouteTable &table);
// The tables of the detail window (follow-up tags, change history, the must-follow debt) and
// their seeded rows: follow-ups, call recordings and change history of some listings.
bool createDetailTables(QSqlQuery &q, QString *error);
bool seedDetailRecords(QSqlQuery &q, const QVector<Company> &companies, QString *error);
// The table of what agencies save (book settings, categories, separation rules, job
// permissions); it lives in the database file, so a restart on the same file keeps it.
bool createSettingsTables(QSqlQuery &q, QString *error);
// The seeded settings: what a company gets until it saves its own.
QJsonObject seededBookConfig();
QJsonObject seededBookCategories();
QJsonObject seededSurveyRules();
// What each seeded community is besides its row, taken from its id alone (so that drawing it
// leaves the rest of the seeded data as it was).
struct CommunityTraits
{
    enum BuildingForm { BuildingMaps, BuildingTexts, NoBuildings };
    qint64 myid = 0;           // the agency's own record of the community; 0: none
    bool lianmai = false;      // a joint-sale community
    QString alias;             // its other name ("1005号地块"), often empty
    bool lockdong = false;     // no new buildings may be added
    bool lockuar = false;      // no new units may be added
    BuildingForm buildingForm = NoBuildings;  // how a search row lists its buildings
    int registerBuildings = 0; // buildings 1..n are under intensive farming (in the register)
};
CommunityTraits communityTraits(qint64 communityId);

// The photo tables (stored files, survey records with their photos and videos) and the seeded
// records of some listings.
bool createPhotoTables(QSqlQuery &q, QString *error);
bool seedPhotoRecords(QSqlQuery &q, QString *error);
// Sets the listing's photo column to the photos of its approved survey records.
void followListingPhotos(Store &store, qint64 houseId);
// The address a stored photo or video address is served under now (the port may change).
QString servedPhotoUrl(const Store &store, const QString &stored);
// The photos of a listing's approved survey records; -1 when the listing has no record.
int recordPhotoCount(Store &store, qint64 houseId);
// The role records (one per listing and role kind), their evidence, history, office approvals,
// the contracts they link to and the reports against role holders, with their seeded rows.
bool createSeparationTables(QSqlQuery &q, QString *error);
bool seedSeparationRecords(Store &store, QSqlQuery &q, QString *error);
// The entry role of the listing went to holder through another request (the alliance's
// hand-over of a listing); its role record and history follow.
void enterHolderChanged(Store &store, qint64 houseId, const User &holder, const User &by);
// "录入人", "维护人", … "成交人" for role kinds 0 … 6; empty for others.
QString roleTitle(int type);
// A successful answer of a read.
Answer fetched(const QJsonValue &data, const QString &message = QStringLiteral("获取成功"));
// A refused request: another envelope code with its message.
Answer refusal(const QString &message, int code = 405);
// The first of the keys that holds a positive number; 0 when none does.
qint64 formId(const Form &form, std::initializer_list<const char *> keys);

// The time the server writes: "yyyy/M/d H:mm:ss" (local time).
QString serverTime(qint64 secs);
// Reads the server's and the stored form ("yyyy/MM/dd HH:mm:ss", also "-" separated and
// without seconds); -1 when the text is no time.
qint64 parseTime(const QString &text);

class Store
{
public:
    explicit Store(const AllianceServer::Options &options);
    ~Store();

    // Opens the database, seeding it unless it already holds this seed's data.
    bool open(QString *error);
    // Closes every connection the store made (call once no request runs any more).
    void close();

    Answer handle(const QString &path, const Form &form, const QString &phone);

    QStringList userPhones() const;
    // The address "hbook/checkhousedb" answers; empty: no snapshot, the sync goes by pages.
    void setSnapshotUrl(const QString &url) { m_snapshotUrl = url; }
    // "http://127.0.0.1:PORT": the start of the addresses of served files (recordings).
    void setBaseUrl(const QString &url) { m_baseUrl = url; }
    const User *user(const QString &phone) const;
    // Seconds it took to seed (0 when the database was reused).
    double seedSeconds() const { return m_seedSeconds; }
    // What a portal holds of a listing, for tests: {"form": the last form posted (QVariantMap),
    // "status": 1 on the portal / 0 taken down, "reason", "time" (seconds)}; empty when nothing
    // was ever posted. Portals: "58", "58video", "xinfuli", and "58xiaoqu" keyed by community id.
    QVariantMap portalRecord(const QString &portal, qint64 houseId);

    // The columns of a listing and of a community as the plug-in's tables have them.
    static const QStringList &houseColumns();
    static const QStringList &communityColumns();
    // Whether a listing column holds whole numbers / decimals (else text).
    static bool isIntColumn(const QString &column);
    static bool isRealColumn(const QString &column);

private:
    QSqlDatabase db();
    void buildOrganisation();
    bool seed(QString *error);
    bool isSeeded();
    QString signature() const;

    // ---- answers ----
    // Each feature registers its handlers (one per path) through its own friend; the first
    // registration of a path wins.
    friend struct SyncRoutes;
    friend struct ChangeRoutes;
    friend struct ReferenceRoutes;
    friend struct BuildingRoutes;
    friend struct OrganisationRoutes;
    friend struct DetailRoutes;
    friend struct FollowRoutes;
    friend struct PhotoRoutes;
    friend struct SurveyRoutes;
    friend struct DescribeRoutes;
    friend struct SeparationRoutes;
    friend struct SettingsRoutes;
    friend struct PortalRoutes;
    static const RouteTable &routes();
    Answer sync(const Form &form, const User &u, bool jointSale);
    Answer columnsOf(const Form &form, const User &u);
    Answer detail(const Form &form);
    Answer generic(const QString &path, const Form &form);

    // ---- listings ----
    QJsonObject houseObject(const QVariantMap &row) const;
    QJsonObject communityObject(const QVariantMap &row) const;
    QVariantMap houseRow(qint64 id);
    bool houseExists(qint64 id);
    // Sets columns of a listing and moves its lasttime; false when the listing is gone.
    bool updateHouse(qint64 id, const QVariantMap &columns);
    qint64 nextChangeTime();
    void expireFlagTerms();
    QString scopeClause(const User &u, bool jointSale) const;

    QJsonArray personalList(const QString &phone, const QString &kind);
    void addPersonal(const QString &phone, const QString &kind, qint64 houseId, const QString &content);

    // ---- detail window ----
    // The listing whose follow-up the user owes before viewing others (0: none).
    qint64 waitingFollowUp(const QString &phone);
    void setWaitingFollowUp(const QString &phone, qint64 houseId);  // 0 clears
    // A follow-up of houseId settles the user's debt when it is that listing.
    void followedUp(const QString &phone, qint64 houseId);
    // Writes the change history row of an accepted change of a listing.
    void noteChange(const QString &path, const Form &form, const Answer &answer, const User &u);
    const User *userById(int userId) const;

    QJsonObject initObject(const User &u) const;
    QJsonArray rightsOf(const User &u) const;
    QJsonValue departmentTree(const User &u) const;
    QJsonObject roleHolder(const User &u, bool review) const;

    AllianceServer::Options m_options;
    QString m_dbPath;
    QString m_connectionPrefix;
    QStringList m_connections;
    double m_seedSeconds = 0;
    QString m_snapshotUrl;
    QString m_baseUrl;
    qint64 m_lastIssued = 0;

    // The sequence of one sync (user, book, marks, city), fixed by its page 1.
    struct SyncSnapshot
    {
        QVector<qint64> houses;
        QVector<qint64> communities;
        qint64 takenAt = 0;  // records changed later are not in this sync
        quint64 usedAt = 0;
    };
    const SyncSnapshot &syncSnapshot(const QString &key, bool firstPage, const QString &where, const QString &communityWhere);
    QJsonArray syncPage(const QString &table, const QVector<qint64> &ids, qint64 takenAt, qint64 from, int size,
                        const std::function<QJsonObject(const QVariantMap &)> &toObject);
    QHash<QString, SyncSnapshot> m_snapshots;
    quint64 m_snapshotClock = 0;

    QVector<Company> m_companies;
    QVector<Department> m_departments;
    QVector<User> m_users;
    QHash<QString, int> m_userIndex;
    QVector<District> m_districts;
    QVector<QPair<int, QString>> m_jobs;
};

} // namespace Alliance
