// Times a first listing sync end to end: a loopback RecordingServer answers the pages, the
// sync object posts them, and its worker thread parses, normalises, scrambles and stores them
// the way it does in the host.
//
//   bench_sync [--listings N] [--communities N] [--page N]
//
// The book (default 100,000 listings with Chinese texts and 2,000 communities) is cut into
// pages of --page listings (default 500), the communities spread over them, and every page
// body is made before the clock starts. Figures:
//   wall        - from download_house() to the end of code 1;
//   listings/s  - listings stored per second of that time;
//   peak memory - VmHWM of /proc/self/status (Linux only; elsewhere run it under
//                 /usr/bin/time -v), with the resident size before the sync for comparison
//                 (the page bodies waiting in the server are part of it);
//   longest stall - the longest gap between two ticks of a 10 ms timer on the GUI thread;
//   GUI-thread CPU - what the sync cost the GUI thread (Linux);
//   raw insert  - the baseline: the rows the sync stored, read back and inserted into an empty
//                 table of the same schema (indexes included) through one prepared statement,
//                 one transaction per page; only the inserts are timed.
// Every location written lies in a fresh temporary folder (printed). Exit code 1 when a target
// is missed: >= 20,000 listings/s, peak <= 300 MB, no stall > 50 ms, or when the stored counts
// are not the book's.

#include "datacenter.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "sql/basesqlobject.h"
#include "sql/companysqlconfig_datasqltable.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

struct Options
{
    int listings = 100000;
    int communities = 2000;
    int page = 500;
};

Options parse(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption listings(QStringLiteral("listings"), QStringLiteral("Listings in the book."), QStringLiteral("N"));
    const QCommandLineOption communities(QStringLiteral("communities"), QStringLiteral("Communities."), QStringLiteral("N"));
    const QCommandLineOption page(QStringLiteral("page"), QStringLiteral("Listings per page."), QStringLiteral("N"));
    parser.addOptions({listings, communities, page});
    parser.process(app);
    Options o;
    if (parser.isSet(listings))
        o.listings = parser.value(listings).toInt();
    if (parser.isSet(communities))
        o.communities = parser.value(communities).toInt();
    if (parser.isSet(page))
        o.page = qMax(1, parser.value(page).toInt());
    return o;
}

// ---- A book that reads like a real one ----

const QStringList kEstates{"翡翠", "滨湖", "金色", "阳光", "香樟", "碧桂园", "万科", "绿地", "融创", "保利", "中海", "华润"};
const QStringList kEstateKinds{"花园", "华府", "公馆", "名苑", "雅居", "新城", "家园", "天地", "印象", "国际"};
const QStringList kDistricts{"蜀山区", "包河区", "庐阳区", "瑶海区", "政务区", "经开区", "高新区", "滨湖新区"};
const QStringList kAreas{"天鹅湖", "三里庵", "大学城", "万达", "南七", "四里河", "和平广场", "科学城"};
const QStringList kRoads{"黄山路", "长江西路", "望江西路", "金寨路", "徽州大道", "潜山路", "习友路", "繁华大道"};
const QStringList kPhrases{"满五唯一", "南北通透", "采光好", "近地铁", "学区房", "精装修", "拎包入住", "业主诚心出售",
                           "看房方便", "随时可签", "户型方正", "中间楼层", "小区环境优美", "配套齐全", "交通便利"};
const QStringList kSurnames{"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const QStringList kGiven{"伟", "芳", "娜", "敏", "静", "磊", "洋", "勇", "艳", "杰"};

QString pick(const QStringList &list, QRandomGenerator &random)
{
    return list.at(random.bounded(list.size()));
}

QString phrases(int count, QRandomGenerator &random)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << pick(kPhrases, random);
    return words.join(QStringLiteral("，"));
}

QString phone(QRandomGenerator &random)
{
    return QStringLiteral("1%1").arg(random.bounded(3000000000u) + 3000000000u);
}

QJsonObject person(QRandomGenerator &random)
{
    return {{"name", pick(kSurnames, random) + pick(kGiven, random)}, {"phone", phone(random)}, {"review", true}};
}

// Server times, oldest first across the book, in the server's "yyyy/M/d H:mm:ss".
QString serverTime(int n)
{
    const QDateTime t = QDateTime(QDate(2023, 1, 1), QTime(8, 0)).addSecs(qint64(n) * 97);
    return t.toString(QStringLiteral("yyyy/M/d H:mm:ss"));
}

QString estateName(int communityId)
{
    return kEstates.at(communityId % kEstates.size()) + kEstateKinds.at((communityId / kEstates.size()) % kEstateKinds.size())
           + QStringLiteral("%1期").arg(communityId % 5 + 1);
}

QJsonObject listing(int id, int communities, QRandomGenerator &random)
{
    const int community = random.bounded(communities) + 1;
    const int room = random.bounded(1, 5);
    const double area = 40 + random.bounded(120) + random.bounded(10) / 10.0;
    const double price = area * (1.2 + random.bounded(20) / 10.0);
    return {{"id", id},
            {"types", id % 2},
            {"userphone", phone(random)},
            {"mycommunityid", community},
            {"name", estateName(community)},
            {"buildingNo", QString::number(random.bounded(1, 30))},
            {"unitNo", QString::number(random.bounded(1, 4))},
            {"roomNo", QString::number(random.bounded(1, 33) * 100 + random.bounded(1, 5))},
            {"district", pick(kDistricts, random)},
            {"area", pick(kAreas, random)},
            {"address", QStringLiteral("合肥市%1%2号").arg(pick(kRoads, random)).arg(random.bounded(1, 999))},
            {"room", room},
            {"hall", random.bounded(1, 3)},
            {"huxingwei", random.bounded(1, 3)},
            {"floors", random.bounded(1, 33)},
            {"allfloors", 33},
            {"price", qRound(price * 10) / 10.0},
            {"unitprice", int(price * 10000 / area)},
            {"builtuparea", area},
            {"contacts", QJsonArray{QJsonObject{{"name", pick(kSurnames, random) + QStringLiteral("先生")}, {"phone", phone(random)}}}},
            {"renovation", QStringLiteral("精装")},
            {"toward", QStringLiteral("南北")},
            {"tags", QStringLiteral("满五唯一,近地铁,南北通透")},
            {"remark", phrases(4, random)},
            {"follows", QStringLiteral("业主说可以再谈，周末方便看房")},
            {"followtime", serverTime(id).left(serverTime(id).lastIndexOf(QLatin1Char(':')))},
            {"createtime", serverTime(id)},
            {"lasttime", serverTime(id)},
            {"state", QStringLiteral("有效")},
            {"newstate", QStringLiteral("有效")},
            {"companyid", 1001},
            {"cityid", 340100},
            {"deptid", 11},
            {"deptname", QStringLiteral("政务区一店")},
            {"housestatus", 1},
            {"title", estateName(community) + QStringLiteral(" %1室 %2").arg(room).arg(phrases(2, random))},
            {"describes", phrases(6, random)},
            {"lururen", QString::fromUtf8(QJsonDocument(person(random)).toJson(QJsonDocument::Compact))},
            {"weihuren", QString::fromUtf8(QJsonDocument(person(random)).toJson(QJsonDocument::Compact))},
            {"isdel", 0}};
}

QJsonObject community(int id, QRandomGenerator &random)
{
    return {{"id", id},
            {"companyid", 1001},
            {"name", estateName(id)},
            {"districtname", pick(kDistricts, random)},
            {"areaname", pick(kAreas, random)},
            {"address", QStringLiteral("合肥市%1%2号").arg(pick(kRoads, random)).arg(random.bounded(1, 999))},
            {"pinyin", QStringLiteral("feicuihupan")},
            {"years", QStringLiteral("2012")},
            {"propertycompany", QStringLiteral("万科物业")},
            {"price", QString::number(random.bounded(15000, 40000))},
            {"createtime", serverTime(id)},
            {"lasttime", serverTime(id)},
            {"cityid", 340100}};
}

// Every page's envelope, made before the clock starts.
QList<QByteArray> makePages(const Options &o)
{
    QRandomGenerator random(20240305);
    const int pages = (o.listings + o.page - 1) / o.page;
    QList<QByteArray> bodies;
    for (int p = 0; p < pages; ++p) {
        QJsonArray houses;
        for (int id = p * o.page + 1; id <= qMin(o.listings, (p + 1) * o.page); ++id)
            houses.append(listing(id, o.communities, random));
        QJsonArray communities;
        for (int id = p * o.communities / pages + 1; id <= (p + 1) * o.communities / pages; ++id)
            communities.append(community(id, random));
        const QJsonObject data{{"housebook", houses}, {"community", communities}, {"nextpage", p + 1 < pages}};
        bodies << QJsonDocument(QJsonObject{{"code", 200}, {"data", data}, {"message", ""}}).toJson(QJsonDocument::Compact);
    }
    return bodies;
}

// ---- Measuring ----

// A status line of /proc/self/status in MB; -1 where there is none.
double procStatusMb(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// CPU seconds of the calling thread; -1 where the clock is missing.
double threadCpuSeconds()
{
#if defined(Q_OS_LINUX)
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0)
        return double(t.tv_sec) + t.tv_nsec / 1e9;
#endif
    return -1;
}

// The longest gap between two ticks of a 10 ms timer on the GUI thread, and the CPU time the
// GUI thread spent inside that gap: on a loaded machine a gap with little CPU in it is the
// scheduler's, not the code's.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 gap = m_clock.restart();
            const double cpu = threadCpuSeconds();
            if (gap > m_longest) {
                m_longest = gap;
                m_longestCpuMs = (cpu - m_lastCpu) * 1000;
            }
            m_lastCpu = cpu;
        });
    }
    void start()
    {
        m_clock.start();
        m_lastCpu = threadCpuSeconds();
        m_timer.start(10);
    }
    qint64 longestMs() const { return m_longest; }
    double longestCpuMs() const { return m_longestCpuMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
    double m_lastCpu = 0;
    double m_longestCpuMs = 0;
};

// The baseline: the stored rows inserted again, page by page, through one prepared statement
// into a fresh file with the same table and indexes. Returns the seconds the inserts took.
double rawInsertSeconds(const QString &dbPath, const QString &folder, int pageSize, int *rows)
{
    double seconds = 0;
    *rows = 0;
    {
        QSqlDatabase from = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-from"));
        from.setDatabaseName(dbPath);
        QSqlDatabase to = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-to"));
        to.setDatabaseName(folder + QStringLiteral("/raw-insert.db"));
        if (!from.open() || !to.open())
            return -1;
        QSqlQuery schema(from);
        schema.exec(QStringLiteral("select sql from sqlite_master where tbl_name='house' and sql is not null"));
        while (schema.next())
            QSqlQuery(to).exec(schema.value(0).toString());
        QSqlQuery read(from);
        read.setForwardOnly(true);
        read.exec(QStringLiteral("select * from house order by id"));
        const int columns = read.record().count();
        QStringList marks;
        for (int c = 0; c < columns; ++c)
            marks << QStringLiteral("?");
        QSqlQuery insert(to);
        insert.prepare(QStringLiteral("insert into house values(%1)").arg(marks.join(QLatin1Char(','))));
        QList<QVariantList> page;
        bool more = true;
        while (more) {
            page.clear();
            while (page.size() < pageSize && (more = read.next())) {
                QVariantList values;
                for (int c = 0; c < columns; ++c)
                    values << read.value(c);
                page << values;
            }
            QElapsedTimer clock;
            clock.start();
            to.transaction();
            for (const QVariantList &values : qAsConst(page)) {
                for (int c = 0; c < columns; ++c)
                    insert.bindValue(c, values.at(c));
                *rows += insert.exec() ? 1 : 0;
            }
            to.commit();
            seconds += clock.nsecsElapsed() / 1e9;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-from"));
    QSqlDatabase::removeDatabase(QStringLiteral("bench-to"));
    return seconds;
}

int countRows(const QString &dbPath, const QString &table)
{
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-count"));
        db.setDatabaseName(dbPath);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("select count(*) from %1").arg(table)) && query.next())
            n = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-count"));
    return n;
}

struct Result
{
    double seconds = 0;
    double cpuSeconds = -1;
    qint64 stallMs = 0;
    double stallCpuMs = 0;
    int successes = 0;
};

Result runSync()
{
    BaseSqlObject sql(nullptr, false);
    QEventLoop loop;
    Result result;
    QObject::connect(&sql, &BaseSqlObject::loadDataSuccess, [&](int code) { result.successes += code == 1; });
    QObject::connect(&sql, &BaseSqlObject::loadDataFinish, &loop, [&](int code) {
        if (code == 1)
            loop.quit();
    });
    StallMeter stalls;
    QElapsedTimer wall;
    const double cpuBefore = threadCpuSeconds();
    wall.start();
    stalls.start();
    sql.download_house(true, false);
    loop.exec();
    result.seconds = wall.nsecsElapsed() / 1e9;
    if (cpuBefore >= 0)
        result.cpuSeconds = threadCpuSeconds() - cpuBefore;
    result.stallMs = stalls.longestMs();
    result.stallCpuMs = stalls.longestCpuMs();
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Options o = parse(app);

    RecordingServer server;
    if (!server.start())
        return 2;
    qputenv("QX_HOUSEBOOK_SERVER", server.baseUrl().toUtf8());
    HostFixture host;

    std::printf("data folder (every location written): %s\n", qPrintable(host.dataDir()));
    std::printf("making %d listings and %d communities in pages of %d ...\n", o.listings, o.communities, o.page);
    qint64 bodyBytes = 0;
    for (const QByteArray &body : makePages(o)) {
        bodyBytes += body.size();
        server.queueReply(QStringLiteral("/app/app/synchousebook"), RecordingServer::raw(body, 200, QStringLiteral("application/json")));
    }
    const double rssBefore = procStatusMb("VmRSS:");

    const Result r = runSync();
    const double peak = procStatusMb("VmHWM:");
    const QString db = BaseSqlObject(nullptr, false).getDBAddress(BaseSqlObject::CompanyDB);
    const int houses = countRows(db, QStringLiteral("house"));
    const int communities = countRows(db, QStringLiteral("community"));
    const double rate = houses / r.seconds;
    int rawRows = 0;
    const double rawSeconds = rawInsertSeconds(db, host.dataDir(), o.page, &rawRows);

    std::printf("page bodies: %.1f MB in total\n", bodyBytes / 1048576.0);
    std::printf("stored: %d listings, %d communities; sync mark %s; success reported %d time(s)\n", houses, communities,
                qPrintable(CompanySQLConfig_DataSqltable(nullptr, false).lastUpdateTime()), r.successes);
    std::printf("wall: %.2f s\n", r.seconds);
    std::printf("listings/s: %.0f (target >= 20000); baseline raw insert of the same %d rows through one "
                "prepared statement: %.0f rows/s (%.2f s)\n",
                rate, rawRows, rawRows / rawSeconds, rawSeconds);
    std::printf("peak memory (VmHWM) during the sync: %.0f MB (target <= 300); resident before the sync: %.0f MB\n",
                peak, rssBefore);
    std::printf("longest event-loop stall: %lld ms (target <= 50), GUI-thread CPU inside it: %.1f ms\n",
                static_cast<long long>(r.stallMs), r.stallCpuMs);
    if (r.cpuSeconds > 0)
        std::printf("GUI-thread CPU: %.2f s, %.0f listings per CPU second\n", r.cpuSeconds, houses / r.cpuSeconds);
    std::printf("rows measured: %d listings synced, %d rows raw-inserted\n", houses, rawRows);

    const bool countsOk = houses == o.listings && communities == o.communities && r.successes == 1 && rawRows == houses;
    const bool targetsOk = rate >= 20000 && (peak < 0 || peak <= 300) && r.stallMs <= 50;
    if (!countsOk)
        std::fprintf(stderr, "the stored book does not match the served one\n");
    return countsOk && targetsOk ? 0 : 1;
}
