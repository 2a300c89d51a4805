#include "alliancestore.h"

#include "sql/storecolumns.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>
#include <random>

namespace Alliance {

namespace {

// The alliance itself as a company: the owner of every listing of its shared book.
constexpr int kAllianceCompanyId = 9001;


struct ColumnList
{
    QStringList names;
    QSet<QString> ints;
    QSet<QString> reals;
};

ColumnList parseColumnList(const char *columns)
{
    ColumnList s;
    for (const QString &item : QString::fromLatin1(columns).split(QLatin1Char(','))) {
        const QStringList parts = item.split(QLatin1Char(' '));
        s.names << parts.at(0);
        if (parts.at(1) == QLatin1String("int"))
            s.ints.insert(parts.at(0));
        else if (parts.at(1) == QLatin1String("float"))
            s.reals.insert(parts.at(0));
    }
    return s;
}

const ColumnList &houseSpec()
{
    static const ColumnList s = parseColumnList(StoreColumns::kHouse);
    return s;
}

const ColumnList &communitySpec()
{
    static const ColumnList s = parseColumnList(StoreColumns::kCommunity);
    return s;
}

const QStringList &roleColumns()
{
    static const QStringList roles{QStringLiteral("lururen"),   QStringLiteral("weihuren"),  QStringLiteral("weituoren"),
                                   QStringLiteral("shikanren"), QStringLiteral("yaoshiren"), QStringLiteral("dujiaren"),
                                   QStringLiteral("chengjiaoren")};
    return roles;
}

// Columns that travel in a listing's `replenish` object rather than at its top level.
bool isReplenishColumn(const QString &column)
{
    static const QSet<QString> columns = [] {
        QSet<QString> s{QStringLiteral("describespicture"), QStringLiteral("jindu"), QStringLiteral("heyan"),
                        QStringLiteral("phonerange"), QStringLiteral("realuserphone")};
        for (const QString &r : roleColumns())
            s.insert(r);
        return s;
    }();
    return columns.contains(column);
}

// A generator whose numbers are the same on every platform for a seed (the standard's
// distributions are not).
class Rng
{
public:
    explicit Rng(quint32 seed) : m_gen(seed) {}
    quint32 next() { return quint32(m_gen()); }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint32(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T &pick(const QVector<T> &v) { return v.at(below(v.size())); }
    QString pick(const QStringList &v) { return v.at(below(v.size())); }

private:
    std::mt19937 m_gen;
};

const QStringList kSurnames{"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡",
                            "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹"};
const QStringList kGiven{"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛",
                         "明", "超", "秀英", "华", "慧", "建华", "志强", "晓东", "海燕", "桂英", "玉兰", "子涵", "浩然"};

QString personName(Rng &r)
{
    return r.pick(kSurnames) + r.pick(kGiven);
}

QString mobile(Rng &r)
{
    static const QStringList prefixes{"135", "136", "137", "138", "139", "150", "151", "152", "158", "159", "177", "186", "187", "188"};
    return r.pick(prefixes) + QString::asprintf("%08d", r.below(100000000));
}

QString compact(const QJsonValue &v)
{
    if (v.isArray())
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    if (v.isObject())
        return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    return v.toString();
}

QJsonValue parsed(const QString &text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (doc.isArray())
        return doc.array();
    if (doc.isObject())
        return doc.object();
    return QJsonValue();
}

qint64 nowSecs()
{
    return QDateTime::currentSecsSinceEpoch();
}

QString followTime(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy/M/d H:mm"));
}

Answer fail(const QString &message, int code = 405)
{
    Answer a;
    a.code = code;
    a.message = message;
    return a;
}

Answer ok(const QJsonValue &data = QJsonValue(QJsonObject()), const QString &message = QStringLiteral("操作成功"))
{
    Answer a;
    a.message = message;
    a.data = data;
    return a;
}

// ---- The seeded city ----

struct CommunitySeed
{
    int id;
    QString name;
    int districtIndex;
    int areaIndex;
    int unitPrice;  // yuan per square metre
    QString buildingType;
    QString buildingWord;             // "栋" or "号楼": how the community numbers its buildings
    QVector<int> floors;              // per building
    QVector<int> units;               // per building
    QVector<int> roomsPerFloor;       // per building
    QString primarySchool;
    QString middleSchool;
    QString traffic;
};

const QStringList kCommunityPrefixes{"万科", "保利", "绿地", "融创", "中海", "华润", "金地", "招商", "龙湖", "滨湖",
                                     "天鹅湖", "政务", "翡翠", "蜀山", "庐阳", "包河", "琥珀", "银杏", "梧桐", "锦绣",
                                     "书香", "阳光", "紫云", "春江"};
const QStringList kCommunitySuffixes{"花园", "城", "公馆", "名邸", "华府", "雅苑", "新村", "小区", "家园", "壹号院",
                                     "御府", "湾"};

const QString kUnitWord = QStringLiteral("单元");

QString buildingName(const CommunitySeed &c, int number)
{
    return QString::number(number) + c.buildingWord;
}

QString unitName(int number)
{
    return QString::number(number) + kUnitWord;
}

} // namespace

qint64 formId(const Form &form, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        bool ok = false;
        const qint64 id = form.value(QLatin1String(key)).trimmed().toLongLong(&ok);
        if (ok && id > 0)
            return id;
    }
    return 0;
}

QString serverTime(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy/M/d H:mm:ss"));
}

qint64 parseTime(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return -1;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return -1;
    return QDateTime(date, time).toSecsSinceEpoch();
}

Store::Store(const AllianceServer::Options &options)
    : m_options(options)
{
    m_connectionPrefix = QStringLiteral("alliance-%1").arg(reinterpret_cast<quintptr>(this));
    buildOrganisation();
}

Store::~Store()
{
    close();
}

const QStringList &Store::houseColumns()
{
    return houseSpec().names;
}

const QStringList &Store::communityColumns()
{
    return communitySpec().names;
}

bool Store::isIntColumn(const QString &column)
{
    return houseSpec().ints.contains(column);
}

bool Store::isRealColumn(const QString &column)
{
    return houseSpec().reals.contains(column);
}

QStringList Store::userPhones() const
{
    QStringList phones;
    for (const User &u : m_users)
        phones << u.phone;
    return phones;
}

const User *Store::user(const QString &phone) const
{
    const auto it = m_userIndex.constFind(phone);
    return it == m_userIndex.constEnd() ? nullptr : &m_users.at(*it);
}

// Each worker thread has its own connection: a QtSql connection belongs to the thread that
// made it.
QSqlDatabase Store::db()
{
    const QString name = QStringLiteral("%1-%2").arg(m_connectionPrefix).arg(reinterpret_cast<quintptr>(QThread::currentThreadId()));
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(m_dbPath);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    db.open();
    QSqlQuery(db).exec(QStringLiteral("pragma journal_mode=wal"));
    QSqlQuery(db).exec(QStringLiteral("pragma synchronous=off"));
    m_connections << name;
    return db;
}

void Store::close()
{
    // Removed without being fetched: fetching a connection of another thread is refused.
    for (const QString &name : qAsConst(m_connections))
        QSqlDatabase::removeDatabase(name);
    m_connections.clear();
}

// ---- The organisation: fixed, so the README can name its users ----

void Store::buildOrganisation()
{
    m_companies = {{101, QStringLiteral("合肥安家房产经纪有限公司"), QStringLiteral("安家房产")},
                   {102, QStringLiteral("合肥徽居置业有限公司"), QStringLiteral("徽居置业")},
                   {103, QStringLiteral("合肥庐州房地产经纪有限公司"), QStringLiteral("庐州地产")},
                   {104, QStringLiteral("合肥包河宜居房产有限公司"), QStringLiteral("宜居房产")}};
    static const QStringList regions{QStringLiteral("蜀山大区"), QStringLiteral("包河大区")};
    static const QStringList stores{QStringLiteral("天鹅湖店"), QStringLiteral("大学城店"), QStringLiteral("滨湖店"),
                                    QStringLiteral("万达店")};
    for (const Company &c : qAsConst(m_companies)) {
        const int root = c.id * 100;
        m_departments.append({root, c.id, 0, c.shortName});
        for (int r = 0; r < 2; ++r) {
            m_departments.append({root + r + 1, c.id, root, regions.at(r)});
            for (int s = 0; s < 2; ++s)
                m_departments.append({root + (r + 1) * 10 + s + 1, c.id, root + r + 1, stores.at(r * 2 + s)});
        }
    }
    m_jobs = {{1, QStringLiteral("总经理")},   {2, QStringLiteral("区域经理")}, {3, QStringLiteral("店长")},
              {4, QStringLiteral("置业顾问")}, {5, QStringLiteral("见习顾问")}, {6, QStringLiteral("联卖专员")}};

    auto addUser = [this](const QString &phone, const QString &name, int company, int dept, int job, bool manager,
                          User::Rights rights) {
        User u;
        u.phone = phone;
        u.name = name;
        u.companyId = company;
        u.deptId = dept;
        u.jobId = job;
        u.manager = manager;
        u.rights = rights;
        u.userId = 5000 + m_users.size() + 1;
        m_userIndex.insert(phone, m_users.size());
        m_users.append(u);
    };
    addUser(QStringLiteral("13800000001"), QStringLiteral("张伟"), 101, 10100, 1, true, User::Full);
    addUser(QStringLiteral("13800000002"), QStringLiteral("李娜"), 101, 10111, 4, false, User::Narrow);
    addUser(QStringLiteral("13800000003"), QStringLiteral("王强"), 101, 10101, 2, false, User::DeptRanges);
    addUser(QStringLiteral("13800000004"), QStringLiteral("刘洋"), 102, 10211, 3, false, User::Agent);
    addUser(QStringLiteral("13800000005"), QStringLiteral("陈静"), 103, 10300, 6, false, User::Full);
    // Three agents in every store: the owners and role holders of the seeded listings.
    Rng names(20240601);
    int n = 0;
    for (const Department &d : qAsConst(m_departments)) {
        if (d.id % 100 < 10)
            continue;
        for (int k = 0; k < 3; ++k)
            addUser(QStringLiteral("139%1").arg(++n, 8, 10, QLatin1Char('0')), personName(names), d.companyId, d.id,
                    k == 0 ? 3 : 4, false, User::Agent);
    }

    static const QList<QPair<QString, QStringList>> districts{
        {QStringLiteral("蜀山区"), {"天鹅湖", "大学城", "南七", "井岗", "西园新村"}},
        {QStringLiteral("包河区"), {"滨湖新区", "万达", "望湖城", "包河工业区"}},
        {QStringLiteral("庐阳区"), {"四牌楼", "杏花村", "三孝口", "双岗"}},
        {QStringLiteral("瑶海区"), {"和平路", "明光路", "龙岗", "东站"}},
        {QStringLiteral("高新区"), {"创新大道", "柏堰湖", "蜀西湖"}},
        {QStringLiteral("经开区"), {"翡翠湖", "明珠广场", "锦绣大道"}},
        {QStringLiteral("政务区"), {"怀宁路", "潜山路", "南二环"}},
        {QStringLiteral("新站区"), {"少荃湖", "瑶海公园", "新蚌埠路"}}};
    int districtId = 340101;
    for (const auto &d : districts) {
        District district;
        district.id = districtId++;
        district.name = d.first;
        int a = 1;
        for (const QString &area : d.second)
            district.areas.append({district.id * 100 + a++, area});
        m_districts.append(district);
    }
}

// ---- Database and seed ----

bool Store::open(QString *error)
{
    m_dbPath = m_options.dbPath;
    if (m_dbPath.isEmpty()) {
        *error = QStringLiteral("no database path");
        return false;
    }
    QDir().mkpath(QFileInfo(m_dbPath).absolutePath());
    if (!isSeeded()) {
        close();
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(m_dbPath + suffix);
        QElapsedTimer timer;
        timer.start();
        if (!seed(error))
            return false;
        m_seedSeconds = timer.elapsed() / 1000.0;
    }
    QSqlQuery q(db());
    q.exec(QStringLiteral("select max(lastms), max(delms) from house"));
    if (q.next())
        m_lastIssued = std::max(q.value(0).toLongLong(), q.value(1).toLongLong());
    q.exec(QStringLiteral("select max(lastms), max(delms) from community"));
    if (q.next())
        m_lastIssued = std::max({m_lastIssued, q.value(0).toLongLong(), q.value(1).toLongLong()});
    return true;
}

// A database made for the same seed and sizes is used as it is, changes included.
bool Store::isSeeded()
{
    if (!QFile::exists(m_dbPath))
        return false;
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("select value from meta where key='signature'")) || !q.next())
        return false;
    return q.value(0).toString() == signature();
}

// Seed and sizes, plus the generation of the seeding rules: a database seeded by older rules
// (other texts for the same seed) is seeded afresh.
QString Store::signature() const
{
    return QStringLiteral("%1/%2/%3/g9").arg(m_options.seed).arg(m_options.listings).arg(m_options.communities);
}

namespace {

bool createSchema(QSqlQuery &q, QString *error)
{
    QStringList houseDefs;
    for (const QString &c : houseSpec().names)
        houseDefs << c + (houseSpec().ints.contains(c) ? QStringLiteral(" integer") : houseSpec().reals.contains(c) ? QStringLiteral(" real") : QStringLiteral(" text"));
    QStringList communityDefs;
    for (const QString &c : communitySpec().names)
        communityDefs << c + (communitySpec().ints.contains(c) ? QStringLiteral(" integer") : QStringLiteral(" text"));
    const QStringList schema{
        QStringLiteral("create table meta(key text primary key, value text)"),
        QStringLiteral("create table house(%1, lianmai integer, deleted integer default 0, delms integer default 0, "
                       "lastms integer, primary key(id))")
            .arg(houseDefs.join(QLatin1Char(','))),
        QStringLiteral("create index house_lastms on house(lastms, id)"),
        // The community search counts each community's listings.
        QStringLiteral("create index house_community on house(mycommunityid)"),
        QStringLiteral("create table community(%1, deleted integer default 0, delms integer default 0, lastms integer, "
                       "primary key(id))")
            .arg(communityDefs.join(QLatin1Char(','))),
        QStringLiteral("create index community_lastms on community(lastms, id)"),
        QStringLiteral("create table personal(phone text, kind text, houseid integer, content text, ms integer)"),
        QStringLiteral("create table follows(id integer primary key autoincrement, houseid integer, phone text, "
                       "name text, content text, ms integer, lianmai integer, type integer default 1, tag text default '', "
                       "tixing integer default 0, contents text default '', tixinguser text default '', tixingms integer default 0, "
                       "recordid integer default 0, recordhidden integer default 0, recordconverting integer default 0)"),
        QStringLiteral("create table flagterms(houseid integer, type integer, expms integer, primary key(houseid, type))")};
    for (const QString &sql : schema) {
        if (!q.exec(sql)) {
            *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

// The seeded book spans the 23 months up to the day it is seeded, so its listings are as
// old on the day it is used as they were meant to be: the maintainer terms and "new"
// listings count days from the present.
struct SeedSpan
{
    qint64 end = QDateTime(QDate::currentDate(), QTime(0, 0)).toSecsSinceEpoch();
    qint64 base = end - qint64(699) * 86400;
};

// The community names in seeded order.
QStringList communityNames(Rng &r)
{
    QStringList names;
    for (const QString &p : kCommunityPrefixes)
        for (const QString &s : kCommunitySuffixes)
            names << p + s;
    const int baseNames = names.size();
    for (int i = 0; i < baseNames; ++i)
        names << names.at(i) + QStringLiteral("二期");
    for (int i = names.size() - 1; i > 0; --i)
        names.swapItemsAt(i, r.below(i + 1));
    return names;
}

// A community's buildings with their units and rooms, as its `building` text holds them.
QJsonArray seedBuildings(CommunitySeed &c, Rng &r, int buildings, int *houseCount)
{
    const int tall = c.buildingType == QLatin1String("高层") ? 33 : c.buildingType == QLatin1String("小高层") ? 18
                     : c.buildingType == QLatin1String("别墅")                                              ? 3
                                                                                                           : 7;
    QJsonArray buildingJson;
    for (int b = 0; b < buildings; ++b) {
        c.floors << std::max(2, tall - r.below(4));
        c.units << r.between(1, 3);
        c.roomsPerFloor << r.between(2, 4);
        const int dongId = c.id * 100 + b + 1;
        QJsonArray unitJson;
        for (int u = 0; u < c.units.last(); ++u) {
            QJsonArray rooms;
            for (int f = 1; f <= c.floors.last(); ++f)
                for (int k = 1; k <= c.roomsPerFloor.last(); ++k)
                    rooms.append(QString::number(f * 100 + k));
            *houseCount += rooms.size();
            unitJson.append(QJsonObject{{"id", dongId * 10 + u + 1}, {"name", unitName(u + 1)}, {"unit", kUnitWord}, {"rooms", rooms}});
        }
        buildingJson.append(QJsonObject{{"id", dongId}, {"name", buildingName(c, b + 1)}, {"unit", c.buildingWord},
                                        {"floors", c.floors.last()}, {"units", unitJson}});
    }
    return buildingJson;
}

// The community's row in the order of the community columns, the last change time after them.
QVariantList communityValues(const CommunitySeed &c, const District &d, Rng &r, const SeedSpan &span, int buildings,
                             int houseCount, const QJsonArray &buildingJson)
{
    static const QStringList propertyCompanies{"万科物业", "保利物业", "绿城服务", "新鸿基物业", "徽建物业", "长城物业"};
    static const QStringList developers{"万科地产", "保利发展", "绿地集团", "融创中国", "中海地产", "华润置地", "安徽建工"};
    const qint64 created = span.base + r.below(int(span.end - span.base) / 2);
    const qint64 changed = created + r.below(int(span.end - created));
    return QVariantList{c.id, 0, c.name, d.id, d.name, d.areas.at(c.areaIndex).first, d.areas.at(c.areaIndex).second,
                        communityTraits(c.id).alias, QStringLiteral("合肥市%1%2路%3号").arg(d.name, d.areas.at(c.areaIndex).second).arg(r.between(1, 999)),
                        QString(), QString::number(117.13 + r.below(3000) / 10000.0, 'f', 6),
                        QString::number(31.74 + r.below(2000) / 10000.0, 'f', 6), QString::number(r.between(1998, 2022)),
                        QStringLiteral("%1%").arg(r.between(25, 45)), c.primarySchool, c.middleSchool, c.buildingType,
                        QStringLiteral("%1元/㎡·月").arg(r.between(8, 35) / 10.0), r.pick(propertyCompanies), r.pick(developers),
                        QString::number(buildings), QString::number(houseCount),
                        QStringLiteral("https://img.qxfdc.example/community/%1/cover.jpg").arg(c.id),
                        QString::number(c.unitPrice), serverTime(created), serverTime(changed), compact(buildingJson),
                        QStringLiteral("1"), QString(), QString(), 340100, changed};
}

// Some communities lack what the outside portals check, taken from the id so the rest of the
// seeded data stays as it was: no map position (1006, 1026, …: lng and lat empty; 1016, 1036,
// …: both "0") and impossible build years (1008, 1038, …: 1900; 1018, 1048, …: 1850; 1028, 1058,
// …: five years after the year of seeding).
void leavePortalGaps(int id, QVariantList *values)
{
    const int lng = communitySpec().names.indexOf(QStringLiteral("lng"));
    const int lat = communitySpec().names.indexOf(QStringLiteral("lat"));
    const int years = communitySpec().names.indexOf(QStringLiteral("years"));
    if (id % 20 == 6 || id % 20 == 16) {
        const QString none = id % 20 == 6 ? QString() : QStringLiteral("0");
        (*values)[lng] = none;
        (*values)[lat] = none;
    }
    if (id % 30 == 18)
        (*values)[years] = QStringLiteral("1900");
    else if (id % 30 == 28)
        (*values)[years] = QStringLiteral("1850");
    else if (id % 30 == 8)
        (*values)[years] = QString::number(QDate::currentDate().year() + 5);
}

// One seeded community: its place, prices and buildings; its row is `values`.
CommunitySeed seedCommunity(int i, const QStringList &names, const QVector<District> &districts, Rng &r, const SeedSpan &span,
                            QVariantList *values)
{
    static const QStringList buildingTypes{"高层", "小高层", "多层", "洋房", "别墅"};
    static const QStringList primary{"合肥师范附小", "南门小学", "琥珀小学", "安大附小", "屯溪路小学", "六安路小学", "卫岗小学"};
    static const QStringList middle{"合肥一中", "四十五中", "五十中", "四十二中", "168中学", "寿春中学", "38中"};
    static const QStringList lines{"地铁1号线", "地铁2号线", "地铁3号线", "地铁4号线", "地铁5号线", "BRT1号线"};
    CommunitySeed c;
    c.id = 1001 + i;
    c.name = i < names.size() ? names.at(i) : names.at(i % names.size()) + QString::number(i / names.size() + 2) + QStringLiteral("期");
    c.districtIndex = r.below(districts.size());
    c.areaIndex = r.below(districts.at(c.districtIndex).areas.size());
    c.unitPrice = r.between(11000, 38000) / 100 * 100;
    c.buildingType = r.pick(buildingTypes);
    // Taken from the id, not the generator, so the rest of the seeded data stays as it was.
    c.buildingWord = c.id % 3 == 0 ? QStringLiteral("号楼") : QStringLiteral("栋");
    const int buildings = r.between(3, 8);
    int houseCount = 0;
    const QJsonArray buildingJson = seedBuildings(c, r, buildings, &houseCount);
    c.primarySchool = r.pick(primary);
    c.middleSchool = r.pick(middle);
    c.traffic = r.pick(lines);
    *values = communityValues(c, districts.at(c.districtIndex), r, span, buildings, houseCount, buildingJson);
    leavePortalGaps(c.id, values);
    return c;
}

const QStringList &listingRemarks()
{
    static const QStringList remarks{"业主诚心出售，价格可谈", "房东好说话，看房方便", "中间楼层，采光好",
                                     "小区环境好，物业管理到位", "满五唯一，税费低", "刚需首选，户型方正"};
    return remarks;
}

// What the seeded organisation gives the listings.
struct SeedOrganisation
{
    QVector<const User *> agents;  // the owners and role holders to draw from
    const QVector<Company> &companies;
    const QVector<Department> &departments;
    const QVector<District> &districts;
};

// One listing's values as drawn first: where it is, whose it is, its size, price and times.
struct ListingSeed
{
    int id = 0;
    const CommunitySeed *c = nullptr;
    const District *d = nullptr;
    bool sale = false;
    const User *owner = nullptr;
    const Company *company = nullptr;
    int b = 0;
    int unit = 0;
    int floor = 0;
    int roomOnFloor = 0;
    int dongId = 0;
    int rooms = 0;
    double builtArea = 0;
    int unitPrice = 0;
    qint64 created = 0;
    qint64 changed = 0;
    QString state;
    bool exclusive = false;
    bool keys = false;
    QString contactPhone;
};

ListingSeed drawListing(int i, const QVector<CommunitySeed> &communities, const SeedOrganisation &org, Rng &r, const SeedSpan &span)
{
    static const QStringList saleStates{"有效", "有效", "有效", "急售", "特价", "一般", "暂不售", "电话无效", "已定", "成交", "已售", "无效"};
    static const QStringList rentStates{"有效", "有效", "有效", "急租", "特价", "一般", "暂不租", "电话无效", "已定", "成交", "已租", "无效"};
    ListingSeed l;
    l.c = &communities.at(r.below(communities.size()));
    l.d = &org.districts.at(l.c->districtIndex);
    l.sale = r.chance(62);
    l.owner = org.agents.at(r.below(org.agents.size()));
    l.company = &org.companies.at(l.owner->companyId - 101);
    l.b = r.below(l.c->floors.size());
    l.unit = r.below(l.c->units.at(l.b)) + 1;
    l.floor = r.between(1, l.c->floors.at(l.b));
    l.roomOnFloor = r.between(1, l.c->roomsPerFloor.at(l.b));
    l.dongId = l.c->id * 100 + l.b + 1;
    l.rooms = r.between(1, 5);
    l.builtArea = (35 + l.rooms * 22 + r.below(300) / 10.0);
    l.unitPrice = l.c->unitPrice + r.between(-1500, 1500) / 100 * 100;
    l.created = span.base + r.below(int(span.end - span.base));
    // Changed within 90 days of entry, and never after the end: clamping instead would
    // pile the late listings up on the last second.
    l.changed = l.created + r.below(int(std::min<qint64>(90 * 86400, span.end - l.created)));
    l.state = l.sale ? (r.chance(80) ? saleStates.at(r.below(6)) : r.pick(saleStates))
                     : (r.chance(80) ? rentStates.at(r.below(6)) : r.pick(rentStates));
    l.exclusive = r.chance(6);
    l.keys = r.chance(35);
    l.id = i + 1;
    return l;
}

// A listing's row being filled column by column, in the order of the listing columns.
class ListingRow
{
public:
    ListingRow(const QHash<QString, int> &position, int size)
        : m_position(position)
    {
        m_values.fill(QVariant(), size);
    }
    void set(const char *column, const QVariant &v) { m_values[m_position.value(QLatin1String(column))] = v; }
    const QVariant &at(const char *column) const { return m_values.at(m_position.value(QLatin1String(column))); }
    const QVector<QVariant> &values() const { return m_values; }

private:
    const QHash<QString, int> &m_position;
    QVector<QVariant> m_values;
};

// Where the listing is and what it is like.
void seedListingPlace(ListingRow &row, const ListingSeed &l, Rng &r)
{
    const CommunitySeed &c = *l.c;
    row.set("id", l.id);
    row.set("types", l.sale ? 0 : 1);
    row.set("userphone", l.owner->phone);
    row.set("mycommunityid", c.id);
    row.set("name", c.name);
    // As an agent writes them: "4栋" or "4号楼", "1单元", "304".
    row.set("buildingNo", buildingName(c, l.b + 1));
    row.set("unitNo", unitName(l.unit));
    row.set("roomNo", QString::number(l.floor * 100 + l.roomOnFloor));
    row.set("dongunit", c.buildingWord);
    row.set("danyuanunit", kUnitWord);
    row.set("district", l.d->name);
    row.set("area", l.d->areas.at(c.areaIndex).second);
    row.set("address", QStringLiteral("合肥市%1%2").arg(l.d->name, c.name));
    row.set("author", l.owner->name);
    row.set("room", l.rooms);
    row.set("hall", r.between(1, 2));
    row.set("balcony", r.between(0, 2));
    row.set("kitchen", 1);
    row.set("floors", l.floor);
    row.set("allfloors", c.floors.at(l.b));
    row.set("builtuparea", std::round(l.builtArea * 10) / 10);
}

// The price of a sale or the rent and terms of a rental.
void seedListingPrice(ListingRow &row, const ListingSeed &l, Rng &r)
{
    static const QStringList saleTags{"满五唯一", "满二", "近地铁", "学区房", "南北通透", "随时看房", "带车位", "电梯房"};
    static const QStringList rentTags{"拎包入住", "近地铁", "随时看房", "可短租", "押一付一", "独立卫生间"};
    static const QStringList peitao{"床", "空调", "冰箱", "洗衣机", "热水器", "宽带", "电视", "衣柜", "燃气灶"};
    static const QStringList payWays{"押一付三", "押一付一", "押二付三", "半年付", "年付"};
    if (l.sale) {
        row.set("unitprice", l.unitPrice);
        row.set("price", std::round(l.unitPrice * l.builtArea / 1000.0) / 10);
        row.set("zuunit", QStringLiteral("万"));
        row.set("tags", QStringList{r.pick(saleTags), r.pick(saleTags)}.join(QLatin1Char(',')));
    } else {
        row.set("unitprice", 0);
        row.set("price", double(std::max(600, int(l.builtArea * r.between(22, 60)) / 50 * 50)));
        row.set("zuunit", QStringLiteral("元/月"));
        row.set("payway", r.pick(payWays));
        row.set("rentway", r.chance(75) ? QStringLiteral("整租") : QStringLiteral("合租"));
        row.set("peitao", QStringList{r.pick(peitao), r.pick(peitao), r.pick(peitao)}.join(QLatin1Char(',')));
        row.set("tags", r.pick(rentTags));
        row.set("ruzhutime", r.chance(70) ? QStringLiteral("随时入住") : serverTime(l.changed + 20 * 86400).section(QLatin1Char(' '), 0, 0));
    }
}

// Contact, description, follow-ups, keys, photos and parking.
void seedListingDetails(ListingRow &row, ListingSeed &l, Rng &r)
{
    static const QStringList renovations{"精装", "简装", "毛坯", "豪装", "中装"};
    static const QStringList towards{"南北", "南", "东南", "西南", "东西", "东", "北"};
    static const QStringList sources{"上门", "电话", "网络", "老客户", "转介绍", "社区开发"};
    static const QStringList seeTimes{"随时看房", "提前预约", "下班后", "周末"};
    static const QStringList housetypes{"普通住宅", "普通住宅", "普通住宅", "公寓", "别墅", "商住"};
    row.set("primaryschool", l.c->primarySchool);
    row.set("middleschool", l.c->middleSchool);
    const QString contactName = r.pick(kSurnames) + (r.chance(55) ? QStringLiteral("先生") : QStringLiteral("女士"));
    l.contactPhone = mobile(r);
    row.set("contacts", compact(QJsonArray{QJsonObject{{"name", contactName}, {"phone", l.contactPhone}}}));
    row.set("renovation", r.pick(renovations));
    row.set("property", QStringLiteral("住宅"));
    row.set("housetype", r.pick(housetypes));
    row.set("hutype", QStringLiteral("%1室%2厅").arg(l.rooms).arg(row.at("hall").toInt()));
    row.set("remark", r.pick(listingRemarks()));
    row.set("remarkshow", r.below(2));
    const int followCount = r.below(12);
    row.set("follows", QString::number(followCount));
    row.set("followtime", followCount ? followTime(l.changed - r.below(5 * 86400)) : QString());
    row.set("toward", r.pick(towards));
    row.set("havekeys", l.keys ? 1 : 0);
    row.set("keys", l.keys ? QStringLiteral("%1钥匙箱%2号").arg(l.company->shortName).arg(r.between(1, 300)) : QString());
    row.set("seetime", r.pick(seeTimes));
    row.set("source", r.pick(sources));
    row.set("traffic", l.c->traffic);
    row.set("createtime", serverTime(l.created));
    row.set("lasttime", serverTime(l.changed));
    QStringList photos;
    for (int p = r.below(7); p > 0; --p)
        photos << QStringLiteral("https://img.qxfdc.example/house/%1/%2.jpg").arg(l.id).arg(p);
    row.set("photo", photos.join(QLatin1Char(',')));
    row.set("attribute", l.sale ? QStringLiteral("商品房") : QString());
    const bool garage = r.chance(20);
    row.set("havegarage", garage ? 1 : 0);
    row.set("garage", garage ? QStringLiteral("地下车位") : QString());
    row.set("propertyquan", QStringLiteral("70年"));
}

// State, owning agency and store, marks and the VR links.
void seedListingState(ListingRow &row, const ListingSeed &l, const SeedOrganisation &org, Rng &r)
{
    const User &owner = *l.owner;
    row.set("state", l.state);
    row.set("newstate", l.state);
    row.set("companyid", owner.companyId);
    row.set("companyname", l.company->name);
    row.set("fbcompanyid", owner.companyId);
    row.set("sf", r.chance(10) ? 1 : 0);
    row.set("stype", 0);
    row.set("housestatus", r.chance(88) ? 1 : 0);
    row.set("storeid", owner.deptId);
    row.set("deptid", owner.deptId);
    const auto dept = std::find_if(org.departments.cbegin(), org.departments.cend(), [&](const Department &x) { return x.id == owner.deptId; });
    row.set("storename", dept->name);
    row.set("deptname", dept->name);
    const bool vr = r.chance(15);
    row.set("vrurl", vr ? QStringLiteral("https://vr.qxfdc.example/house/%1").arg(l.id) : QString());
    row.set("quanjing", vr && r.chance(50) ? QStringLiteral("https://vr.qxfdc.example/pano/%1").arg(l.id) : QString());
    row.set("tongbu", QString());
    row.set("title", QStringLiteral("%1 %2室%3厅 %4").arg(l.c->name).arg(l.rooms).arg(row.at("hall").toInt()).arg(row.at("renovation").toString()));
    row.set("describes", QStringLiteral("%1，%2，%3。").arg(r.pick(listingRemarks()), row.at("toward").toString(), l.c->traffic));
    row.set("describespicture", QString());
    row.set("huxingwei", r.below(2));
    row.set("istop", r.chance(8) ? 1 : 0);
    row.set("suopan", r.chance(5) ? 1 : 0);
    row.set("fengpan", r.chance(3) ? 1 : 0);
    row.set("hbdujia", l.exclusive ? 1 : 0);
    row.set("jindu", r.below(5));
}

// The role holders, the room's ids and the review and privacy marks.
void seedListingRoles(ListingRow &row, const ListingSeed &l, const SeedOrganisation &org, Rng &r)
{
    const User &owner = *l.owner;
    const QVector<const User *> &agents = org.agents;
    auto holder = [&](const User &u) { return QJsonObject{{"name", u.name}, {"phone", u.phone}, {"review", !r.chance(12)}}; };
    row.set("lururen", compact(QJsonObject{{"name", owner.name}, {"phone", owner.phone}, {"review", true}}));
    row.set("weihuren", compact(holder(r.chance(70) ? owner : *agents.at(r.below(agents.size())))));
    row.set("weituoren", r.chance(30) ? compact(holder(*agents.at(r.below(agents.size())))) : QString());
    row.set("shikanren", r.chance(40) ? compact(holder(*agents.at(r.below(agents.size())))) : QString());
    row.set("yaoshiren", l.keys ? compact(holder(*agents.at(r.below(agents.size())))) : QString());
    row.set("dujiaren", l.exclusive && l.sale ? compact(holder(owner)) : QString());
    const bool closed = l.state == QLatin1String("成交") || l.state == QLatin1String("已售") || l.state == QLatin1String("已租");
    row.set("chengjiaoren", closed ? compact(holder(*agents.at(r.below(agents.size())))) : QString());
    row.set("havevideo", r.chance(10) ? 1 : 0);
    row.set("dongid", l.dongId);
    row.set("unitid", l.dongId * 10 + l.unit);
    // A room's id is its unit's id and its place in the unit's room list (from 1).
    row.set("roomid", (l.dongId * 10 + l.unit) * 1000 + (l.floor - 1) * l.c->roomsPerFloor.at(l.b) + l.roomOnFloor);
    row.set("anxuan", r.chance(10) ? 1 : 0);
    row.set("cityid", 340100);
    const int review = r.below(100);
    row.set("shenhestatus", review < 75 ? 0 : review < 85 ? 1 : review < 95 ? 2 : 3);
    row.set("aboutid", 0);
    row.set("yinsifangwen", r.chance(20) ? 1 : 0);
    row.set("heyan", r.chance(30) ? QStringLiteral("已核验") : QString());
    row.set("phonerange", r.chance(15) ? QStringLiteral("本店") : QString());
    row.set("realuserphone", r.chance(20) ? l.contactPhone : QString());
    row.set("isdel", 0);
}

bool seedListings(QSqlQuery &q, const QVector<CommunitySeed> &communities, const SeedOrganisation &org, int count, Rng &r,
                  const SeedSpan &span, QString *error)
{
    const QStringList &cols = houseSpec().names;
    q.prepare(QStringLiteral("insert into house(%1, lianmai, lastms) values(%2?,?)")
                  .arg(cols.join(QLatin1Char(',')), QStringLiteral("?,").repeated(cols.size())));
    QHash<QString, int> position;
    for (int k = 0; k < cols.size(); ++k)
        position.insert(cols.at(k), k);
    for (int i = 0; i < count; ++i) {
        ListingRow row(position, cols.size());
        ListingSeed l = drawListing(i, communities, org, r, span);
        seedListingPlace(row, l, r);
        seedListingPrice(row, l, r);
        seedListingDetails(row, l, r);
        seedListingState(row, l, org, r);
        seedListingRoles(row, l, org, r);
        const QVector<QVariant> &values = row.values();
        for (int k = 0; k < values.size(); ++k)
            q.bindValue(k, values.at(k));
        q.bindValue(values.size(), r.chance(90) ? 1 : 0);
        q.bindValue(values.size() + 1, l.changed);
        if (!q.exec()) {
            *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

// Communities, with their buildings, units and rooms; `communities` gets what the listings need.
bool seedCommunities(QSqlQuery &q, const QVector<District> &districts, int count, Rng &r, const SeedSpan &span,
                     QVector<CommunitySeed> *communities, QString *error)
{
    const QStringList names = communityNames(r);
    q.prepare(QStringLiteral("insert into community(%1, lastms) values(%2?)")
                  .arg(communitySpec().names.join(QLatin1Char(',')), QStringLiteral("?,").repeated(communitySpec().names.size())));
    for (int i = 0; i < count; ++i) {
        QVariantList values;
        const CommunitySeed c = seedCommunity(i, names, districts, r, span, &values);
        for (int k = 0; k < values.size(); ++k)
            q.bindValue(k, values.at(k));
        if (!q.exec()) {
            *error = q.lastError().text();
            return false;
        }
        communities->append(c);
    }
    return true;
}

} // namespace

bool Store::seed(QString *error)
{
    QSqlDatabase database = db();
    if (!database.isOpen()) {
        *error = database.lastError().text();
        return false;
    }
    QSqlQuery q(database);
    if (!createSchema(q, error))
        return false;

    Rng r(m_options.seed);
    database.transaction();
    const SeedSpan span;
    SeedOrganisation org{{}, m_companies, m_departments, m_districts};
    for (const User &u : qAsConst(m_users))
        if (u.phone.startsWith(QLatin1String("139")))
            org.agents << &u;
    // The special users own some listings too, so "mine" is never empty for them.
    for (int k = 0; k < 5; ++k)
        org.agents << &m_users.at(k);
    QVector<CommunitySeed> communities;
    if (!seedCommunities(q, m_districts, m_options.communities, r, span, &communities, error)
        || !seedListings(q, communities, org, m_options.listings, r, span, error)
        || !createDetailTables(q, error) || !seedDetailRecords(q, m_companies, error)
        || !createPhotoTables(q, error) || !seedPhotoRecords(q, error)
        || !createSeparationTables(q, error) || !seedSeparationRecords(*this, q, error)
        || !createSettingsTables(q, error)) {
        database.rollback();
        return false;
    }
    q.prepare(QStringLiteral("insert into meta values('signature', ?)"));
    q.bindValue(0, signature());
    q.exec();
    if (!database.commit()) {
        *error = database.lastError().text();
        return false;
    }
    return true;
}

// ---- Listing state ----

// Every change gets a time after every time handed out before, so "changed since the mark"
// never misses a change made in the same second as the last one synced.
qint64 Store::nextChangeTime()
{
    m_lastIssued = std::max(nowSecs(), m_lastIssued + 1);
    return m_lastIssued;
}

QVariantMap Store::houseRow(qint64 id)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("select * from house where id=? and deleted=0"));
    q.addBindValue(id);
    QVariantMap row;
    if (q.exec() && q.next()) {
        const QSqlRecord rec = q.record();
        for (int k = 0; k < rec.count(); ++k)
            row.insert(rec.fieldName(k), q.value(k));
    }
    return row;
}

bool Store::houseExists(qint64 id)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("select 1 from house where id=? and deleted=0"));
    q.addBindValue(id);
    return q.exec() && q.next();
}

bool Store::updateHouse(qint64 id, const QVariantMap &columns)
{
    if (!houseExists(id))
        return false;
    const qint64 t = nextChangeTime();
    QStringList sets{QStringLiteral("lasttime=?"), QStringLiteral("lastms=?")};
    QVariantList values{serverTime(t), t};
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        if (!houseSpec().names.contains(it.key()) || it.key() == QLatin1String("id") || it.key() == QLatin1String("lasttime"))
            continue;
        sets << it.key() + QStringLiteral("=?");
        values << it.value();
    }
    QSqlQuery q(db());
    q.prepare(QStringLiteral("update house set %1 where id=?").arg(sets.join(QLatin1Char(','))));
    for (const QVariant &v : qAsConst(values))
        q.addBindValue(v);
    q.addBindValue(id);
    return q.exec();
}

// Flags set for a number of days fall back when their time is up; the listing changes then.
void Store::expireFlagTerms()
{
    static const char *flagColumns[] = {"istop", "suopan", "fengpan", "hbdujia"};
    QSqlQuery q(db());
    q.prepare(QStringLiteral("select houseid, type from flagterms where expms<=?"));
    q.addBindValue(nowSecs());
    if (!q.exec())
        return;
    QList<QPair<qint64, int>> due;
    while (q.next())
        due.append({q.value(0).toLongLong(), q.value(1).toInt()});
    for (const auto &term : due) {
        if (term.second >= 1 && term.second <= 4)
            updateHouse(term.first, {{QLatin1String(flagColumns[term.second - 1]), 0}});
        QSqlQuery del(db());
        del.prepare(QStringLiteral("delete from flagterms where houseid=? and type=?"));
        del.addBindValue(term.first);
        del.addBindValue(term.second);
        del.exec();
    }
}

QString Store::scopeClause(const User &u, bool jointSale) const
{
    return jointSale ? QStringLiteral("(lianmai=1 or companyid=%1)").arg(u.companyId)
                     : QStringLiteral("companyid=%1").arg(u.companyId);
}

QJsonObject Store::houseObject(const QVariantMap &row) const
{
    QJsonObject object;
    QJsonObject replenish;
    QJsonObject xiezuo;
    for (const QString &c : houseSpec().names) {
        const QVariant v = row.value(c);
        if (roleColumns().contains(c)) {
            const QJsonValue holder = parsed(v.toString());
            replenish.insert(c, holder.isObject() || holder.isArray() ? holder : QJsonValue(QString()));
        } else if (c == QLatin1String("jindu")) {
            xiezuo.insert(QStringLiteral("jindu"), v.toInt());
        } else if (c == QLatin1String("heyan")) {
            replenish.insert(QStringLiteral("heyanState"), v.toString());
        } else if (isReplenishColumn(c)) {
            replenish.insert(c, v.toString());
        } else if (houseSpec().ints.contains(c)) {
            object.insert(c, v.toLongLong());
        } else if (houseSpec().reals.contains(c)) {
            object.insert(c, v.toDouble());
        } else {
            object.insert(c, v.toString());
        }
    }
    replenish.insert(QStringLiteral("xiezuo"), xiezuo);
    object.insert(QStringLiteral("replenish"), replenish);
    return object;
}

QJsonObject Store::communityObject(const QVariantMap &row) const
{
    QJsonObject object;
    for (const QString &c : communitySpec().names) {
        const QVariant v = row.value(c);
        if (communitySpec().ints.contains(c))
            object.insert(c, v.toLongLong());
        else
            object.insert(c, v.toString());
    }
    return object;
}

QJsonArray Store::personalList(const QString &phone, const QString &kind)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("select houseid, content, ms, rowid from personal where phone=? and kind=? order by ms, rowid"));
    q.addBindValue(phone);
    q.addBindValue(kind);
    QJsonArray list;
    if (!q.exec())
        return list;
    while (q.next()) {
        if (kind == QLatin1String("remind"))
            list.append(QJsonObject{{"id", q.value(3).toLongLong()},
                                    {"houseid", q.value(0).toLongLong()},
                                    {"content", q.value(1).toString()},
                                    {"time", serverTime(q.value(2).toLongLong())}});
        else
            list.append(q.value(0).toLongLong());
    }
    return list;
}

void Store::addPersonal(const QString &phone, const QString &kind, qint64 houseId, const QString &content)
{
    QSqlQuery q(db());
    if (kind != QLatin1String("remind")) {
        q.prepare(QStringLiteral("delete from personal where phone=? and kind=? and houseid=?"));
        q.addBindValue(phone);
        q.addBindValue(kind);
        q.addBindValue(houseId);
        q.exec();
    }
    q.prepare(QStringLiteral("insert into personal values(?,?,?,?,?)"));
    q.addBindValue(phone);
    q.addBindValue(kind);
    q.addBindValue(houseId);
    q.addBindValue(content);
    q.addBindValue(nowSecs());
    q.exec();
}

// ---- The sync ----

// One page of the changes since the marks, oldest first. The marks stay the same for all
// pages of one sync; `pageindex` walks through them.
Answer Store::sync(const Form &form, const User &u, bool jointSale)
{
    expireFlagTerms();
    const qint64 houseMark = std::max<qint64>(0, parseTime(form.value(QStringLiteral("lasttime"))));
    const qint64 communityMark = std::max<qint64>(0, parseTime(form.value(QStringLiteral("community_lastupdatatime"))));
    const int page = std::max(1, form.value(QStringLiteral("pageindex")).toInt());
    const int size = std::max(1, m_options.pageSize);
    const int cityId = form.value(QStringLiteral("cityid")).toInt();
    QString where = QStringLiteral("lastms>%1 and %2").arg(houseMark).arg(scopeClause(u, jointSale));
    if (cityId > 0)
        where += QStringLiteral(" and cityid=%1").arg(cityId);

    QString communityWhere = QStringLiteral("lastms>%1").arg(communityMark);
    if (cityId > 0)
        communityWhere += QStringLiteral(" and cityid=%1").arg(cityId);

    const QString key = QStringList{u.phone, jointSale ? QStringLiteral("1") : QStringLiteral("0"), QString::number(houseMark),
                                    QString::number(communityMark), QString::number(cityId)}
                            .join(QLatin1Char('|'));
    const SyncSnapshot &snapshot = syncSnapshot(key, page == 1, where, communityWhere);
    const qint64 from = qint64(page - 1) * size;
    // In the alliance's book a listing belongs to the alliance (the publishing agency stays in
    // fbcompanyid) and carries its alliance link; communities are shared by everyone.
    const QJsonArray houses = syncPage(QStringLiteral("house"), snapshot.houses, snapshot.takenAt, from, size, [this, jointSale](const QVariantMap &row) {
        QJsonObject house = houseObject(row);
        if (jointSale) {
            house.insert(QStringLiteral("companyid"), kAllianceCompanyId);
            if (house.value(QStringLiteral("aboutid")).toInt() <= 0)
                house.insert(QStringLiteral("aboutid"), house.value(QStringLiteral("id")));
        }
        return house;
    });
    const QJsonArray communities =
        syncPage(QStringLiteral("community"), snapshot.communities, snapshot.takenAt, from, size, [this, jointSale](const QVariantMap &row) {
            QJsonObject community = communityObject(row);
            if (jointSale)
                community.insert(QStringLiteral("companyid"), 0);
            return community;
        });
    const bool more = from + size < snapshot.houses.size() || from + size < snapshot.communities.size();

    QJsonObject data{{"housebook", houses}, {"community", communities}, {"nextpage", more}, {"pageindex", page}};
    QStringList dels;
    QStringList communityDels;
    if (page == 1) {
        QSqlQuery q(db());
        q.exec(QStringLiteral("select id from house where deleted=1 and delms>%1 and %2 order by delms, id")
                   .arg(houseMark)
                   .arg(scopeClause(u, jointSale)));
        while (q.next())
            dels << q.value(0).toString();
        q.exec(QStringLiteral("select id from community where deleted=1 and delms>%1 order by delms, id").arg(communityMark));
        while (q.next())
            communityDels << q.value(0).toString();
        data.insert(QStringLiteral("collection"), personalList(u.phone, QStringLiteral("collection")));
        data.insert(QStringLiteral("history"), personalList(u.phone, QStringLiteral("history")));
        data.insert(QStringLiteral("newremindinfo"), personalList(u.phone, QStringLiteral("remind")));
    }
    data.insert(QStringLiteral("dels"), dels.join(QLatin1Char(',')));
    data.insert(QStringLiteral("communitydels"), communityDels.join(QLatin1Char(',')));
    return ok(data, QStringLiteral("获取成功"));
}

// Page 1 fixes the sequence of the whole sync; later pages are cut from it. A record
// changed or deleted after page 1 is left out of the rest of this sync: its new time is
// later than every time this sync hands out, so the next sync brings it.
const Store::SyncSnapshot &Store::syncSnapshot(const QString &key, bool firstPage, const QString &where, const QString &communityWhere)
{
    auto snapshot = m_snapshots.find(key);
    if (firstPage || snapshot == m_snapshots.end()) {
        QSqlQuery q(db());
        SyncSnapshot taken;
        taken.takenAt = m_lastIssued;
        q.exec(QStringLiteral("select id from house where deleted=0 and %1 order by lastms, id").arg(where));
        while (q.next())
            taken.houses << q.value(0).toLongLong();
        q.exec(QStringLiteral("select id from community where deleted=0 and %1 order by lastms, id").arg(communityWhere));
        while (q.next())
            taken.communities << q.value(0).toLongLong();
        if (m_snapshots.size() >= 16) {
            auto oldest = m_snapshots.begin();
            for (auto it = m_snapshots.begin(); it != m_snapshots.end(); ++it)
                if (it->usedAt < oldest->usedAt)
                    oldest = it;
            m_snapshots.erase(oldest);
        }
        snapshot = m_snapshots.insert(key, taken);
    }
    snapshot->usedAt = ++m_snapshotClock;
    return *snapshot;
}

// The records of one page of a snapshot that are still there and unchanged since it was taken.
QJsonArray Store::syncPage(const QString &table, const QVector<qint64> &ids, qint64 takenAt, qint64 from, int size,
                           const std::function<QJsonObject(const QVariantMap &)> &toObject)
{
    QJsonArray out;
    if (from >= ids.size())
        return out;
    const QVector<qint64> slice = ids.mid(int(from), size);
    QStringList list;
    for (qint64 id : slice)
        list << QString::number(id);
    QSqlQuery q(db());
    q.exec(QStringLiteral("select * from %1 where deleted=0 and lastms<=%2 and id in (%3)")
               .arg(table)
               .arg(takenAt)
               .arg(list.join(QLatin1Char(','))));
    QHash<qint64, QJsonObject> found;
    while (q.next()) {
        QVariantMap row;
        const QSqlRecord rec = q.record();
        for (int k = 0; k < rec.count(); ++k)
            row.insert(rec.fieldName(k), q.value(k));
        found.insert(row.value(QStringLiteral("id")).toLongLong(), toObject(row));
    }
    for (qint64 id : slice)
        if (found.contains(id))
            out.append(found.value(id));
    return out;
}

// The column back-fill: the asked columns of every listing and community of the user's book.
Answer Store::columnsOf(const Form &form, const User &u)
{
    auto keys = [&](const QString &name, const QStringList &known) {
        QStringList out;
        const QJsonValue v = parsed(form.value(name));
        if (v.isArray()) {
            for (const QJsonValue &item : v.toArray()) {
                const QString key = item.isObject() ? item.toObject().value(QStringLiteral("key")).toString() : item.toString();
                if (known.contains(key) && key != QLatin1String("id"))
                    out << key;
            }
        } else {
            for (const QString &key : form.value(name).split(QLatin1Char(','), Qt::SkipEmptyParts))
                if (known.contains(key.trimmed()) && key.trimmed() != QLatin1String("id"))
                    out << key.trimmed();
        }
        return out;
    };
    const QStringList houseKeys = keys(QStringLiteral("housekey"), houseSpec().names);
    const QStringList communityKeys = keys(QStringLiteral("communitykey"), communitySpec().names);
    const bool joint = form.value(QStringLiteral("lianmai")) == QLatin1String("1");
    QJsonArray houses;
    QJsonArray communities;
    QSqlQuery q(db());
    if (!houseKeys.isEmpty()) {
        q.exec(QStringLiteral("select * from house where deleted=0 and %1 order by id").arg(scopeClause(u, joint)));
        while (q.next()) {
            QVariantMap row;
            const QSqlRecord rec = q.record();
            for (int k = 0; k < rec.count(); ++k)
                row.insert(rec.fieldName(k), q.value(k));
            // Every asked column at the top level, those of `replenish` included: a record
            // updates exactly the columns it carries.
            const QJsonObject full = houseObject(row);
            const QJsonObject replenish = full.value(QStringLiteral("replenish")).toObject();
            QJsonObject out{{"id", full.value(QStringLiteral("id"))}};
            for (const QString &key : houseKeys) {
                if (full.contains(key))
                    out.insert(key, full.value(key));
                else if (key == QLatin1String("jindu"))
                    out.insert(key, replenish.value(QStringLiteral("xiezuo")).toObject().value(key));
                else if (key == QLatin1String("heyan"))
                    out.insert(key, replenish.value(QStringLiteral("heyanState")));
                else
                    out.insert(key, replenish.value(key));
            }
            houses.append(out);
        }
    }
    if (!communityKeys.isEmpty()) {
        q.exec(QStringLiteral("select id, %1 from community where deleted=0 order by id").arg(communityKeys.join(QLatin1Char(','))));
        while (q.next()) {
            QJsonObject out{{"id", q.value(0).toLongLong()}};
            for (int k = 0; k < communityKeys.size(); ++k)
                out.insert(communityKeys.at(k), communitySpec().ints.contains(communityKeys.at(k)) ? QJsonValue(q.value(k + 1).toLongLong())
                                                                                                  : QJsonValue(q.value(k + 1).toString()));
            communities.append(out);
        }
    }
    return ok(QJsonObject{{"housebook", houses}, {"community", communities}});
}

Answer Store::detail(const Form &form)
{
    const qint64 id = formId(form, {"id", "houseid", "itemid"});
    const QVariantMap row = houseRow(id);
    if (row.isEmpty())
        return fail(QStringLiteral("房源不存在或已被删除"));
    return ok(houseObject(row));
}

// ---- Dispatch ----

void addRoutes(RouteTable &table, std::initializer_list<Route> routes)
{
    for (const Route &r : routes) {
        const QString path = QString::fromLatin1(r.path);
        if (!table.contains(path))
            table.insert(path, r.handler);
    }
}

// The handlers of the sync and of the listing details.
struct SyncRoutes
{
    static Answer syncBook(Store &s, const Form &form, const User &u)
    {
        return s.sync(form, u, false);
    }

    static Answer syncAllianceBook(Store &s, const Form &form, const User &u)
    {
        return s.sync(form, u, true);
    }

    static Answer columns(Store &s, const Form &form, const User &u)
    {
        return s.columnsOf(form, u);
    }

    static Answer detail(Store &s, const Form &form, const User &)
    {
        return s.detail(form);
    }

    // Without a snapshot file the sync goes page by page.
    static Answer snapshot(Store &s, const Form &, const User &)
    {
        if (s.m_snapshotUrl.isEmpty())
            return ok(QString(), QStringLiteral("无需下载"));
        return ok(s.m_snapshotUrl, QStringLiteral("请下载数据库"));
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"app/synchousebook", syncBook},
                      {"app/LianmaiSyncHousebook", syncAllianceBook},
                      {"app/synchouseInfo", columns},
                      {"app/SyncHousebookDetail", detail},
                      {"hbook/checkhousedb", snapshot}});
    }
};

void addSyncRoutes(RouteTable &table)
{
    SyncRoutes::addTo(table);
}

const RouteTable &Store::routes()
{
    static const RouteTable table = [] {
        RouteTable t;
        addSyncRoutes(t);
        // The detail window's paths come before the generic change handlers.
        addDetailRoutes(t);
        addFollowRoutes(t);
        addPhotoRoutes(t);
        addSurveyRoutes(t);
        addSeparationRoutes(t);
        addDescribeRoutes(t);
        addChangeRoutes(t);
        addReferenceRoutes(t);
        addSettingsRoutes(t);
        addPortalRoutes(t);
        addOrganisationRoutes(t);
        addBuildingRoutes(t);
        return t;
    }();
    return table;
}

Answer Store::handle(const QString &path, const Form &form, const QString &phone)
{
    // Only seeded users are served: an unknown phone must not borrow anyone's rights.
    const User *found = user(phone);
    if (!found)
        return fail(QStringLiteral("该手机号未注册：%1").arg(phone));
    const Handler handler = routes().value(path);
    if (!handler)
        return generic(path, form);
    const Answer answer = handler(*this, form, *found);
    if (answer.code == 200)
        noteChange(path, form, answer, *found);
    return answer;
}

} // namespace Alliance
