// Times the listing store on a realistic book against the sqlite3 shell running the same SQL
// on the same file.
//
//   bench_housestore [--listings N] [--communities N] [--batch N] [--reps N] [--data DIR]
//                    [--sqlite3 PATH] [--keep]
//
// Seeds N listings (default 200,000: half sale, half rent, Chinese texts, 2,000 communities)
// through the store's insert-or-replace in pages of --batch (default 1,000) records, one
// transaction each, with the sync mark moving. Then, as an ordinary agent (not a manager, so
// the permission clauses and the privacy mask run), it times:
//   (b) the first page (20) of 出售房源 with the default status filter, newest first, and its count;
//   (c) the same with a community-name keyword and a price range;
//   (d) page 500 of (b);
//   (e), (f) (b) ordered by the total price, descending and ascending (their count is (b)'s).
// Figures, each the fastest of --reps runs after a warm-up (the machine may be shared; the
// fastest run is what the code costs when it has the processor):
//   call    - our whole call: table object, statement, unscrambling, privacy mask, records;
//   QtSql   - the same statement run through QtSql on its own connection, every value fetched;
//   sqlite3 - the shell's wall time running the statement R times in one process minus its
//             wall time running "select 1" R times (start-up, output set-up), divided by R.
// The insert rate is given per second of elapsed time and per second of CPU time; on a busy
// machine the second shows what the store itself costs.
// Exit code 1 when a target is missed: insert >= 10,000 listings/s (elapsed); (b), (d) <= 50 ms and
// (c) <= 150 ms for the whole call; the statement through QtSql at most 2x the shell's time.

#include "datacenter.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/housequerybuilder.h"
#include "sql/usermessage_datasqltable.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>

namespace {

const QString kMe = QStringLiteral("13800000001");

struct Options
{
    int listings = 200000;
    int communities = 2000;
    int batch = 1000;
    int reps = 7;
    QString dataDir;
    QString sqlite3 = QStringLiteral("sqlite3");
    bool keep = false;
};

template <typename T>
const T &pick(QRandomGenerator &rng, const QList<T> &list)
{
    return list.at(int(rng.bounded(list.size())));
}

QString someOf(QRandomGenerator &rng, const QStringList &list, int least, int most)
{
    QStringList chosen;
    const int n = least + int(rng.bounded(most - least + 1));
    while (chosen.size() < n) {
        const QString item = pick(rng, list);
        if (!chosen.contains(item))
            chosen << item;
    }
    return chosen.join(QLatin1Char(','));
}

const QStringList kPrefixes = QStringLiteral(
    "阳光,翡翠,滨湖,万科,绿地,保利,碧桂园,融创,中海,华润,金地,龙湖,招商,世茂,恒大,富力,雅居乐,蓝光,新城,旭辉,"
    "信达,金科,荣盛,建业,正荣,中南,时代,美的,奥园,华侨城,远洋,首开,北辰,金茂,越秀,绿城,禹洲,宝龙,合景,东方").split(',');
const QStringList kSuffixes = QStringLiteral(
    "花园,小区,公馆,湖畔,名邸,家园,新村,华府,天地,城,府,苑,雅苑,国际,广场,尚城,壹号,御景,半岛,天悦,翰林,学府,春天,时光,中心").split(',');
const QStringList kDistricts = QStringLiteral("蜀山区,包河区,庐阳区,瑶海区,政务区,高新区,经开区,新站区").split(',');
const QStringList kAreas = QStringLiteral("南七,三里庵,滨湖,万达,天鹅湖,大学城,火车站,四牌楼,七里站,琥珀").split(',');
const QStringList kRoads = QStringLiteral("长江西路,黄山路,望江西路,金寨路,徽州大道,马鞍山路,合作化路,潜山路").split(',');
const QStringList kAgents = QStringLiteral("张伟,王芳,李娜,刘洋,陈杰,杨静,赵磊,黄敏,周强,吴婷,徐斌,孙丽").split(',');
const QStringList kOwners = QStringLiteral("王先生,李女士,张先生,刘女士,陈先生,杨女士").split(',');
const QStringList kRemarks = QStringLiteral(
    "业主诚心出售，价格可谈。满五唯一，税费低。看房需提前一天预约。南北通透，采光很好。"
    "小区环境优美，物业管理到位。精装修拎包入住，家电齐全。靠近地铁口，出行方便。学区房，对口名校。"
    "楼层好，视野开阔，不临街。业主换房急售，随时可以签约。").split(QStringLiteral("。"), Qt::SkipEmptyParts);
const QStringList kTags = QStringLiteral("满五唯一,满二,学区房,地铁房,南北通透,精装修,急售,随时看房,采光好,低总价").split(',');
const QStringList kFacilities = QStringLiteral("水,电,有线电视,空调,暖气,电梯,家具,宽带,冰箱,洗衣机,热水器,天然气").split(',');
const QStringList kTraffic = QStringLiteral("地铁1号线,地铁2号线,地铁3号线,公交,BRT").split(',');
const QStringList kDecorations = QStringLiteral("毛坯,简单装修,中等装修,精装修,豪华装修").split(',');
const QStringList kTowards = QStringLiteral("南,南北,东南,东西,西南,北").split(',');
// Company states A-D, then the off-market ones, by weight.
const QStringList kSaleStates = QStringLiteral("急售,急售,有效,有效,有效,有效,有效,一般,一般,暂缓,已售,已售,无效,暂不售").split(',');
const QStringList kRentStates = QStringLiteral("急租,急租,有效,有效,有效,有效,有效,一般,一般,暂缓,已租,已租,无效,暂不租").split(',');
const QString kDefaultSaleStates = QStringLiteral("急售,有效,一般,暂缓");

QString communityName(int index)
{
    const int base = index % (kPrefixes.size() * kSuffixes.size());
    QString name = kPrefixes.at(base / kSuffixes.size()) + kSuffixes.at(base % kSuffixes.size());
    if (index >= kPrefixes.size() * kSuffixes.size())
        name += QStringLiteral("二期");
    return name;
}

QList<QVariantMap> makeCommunities(int count)
{
    QList<QVariantMap> list;
    for (int i = 0; i < count; ++i)
        list << QVariantMap{{"id", i + 1}, {"name", communityName(i)}, {"pinyin", QStringLiteral("xq%1").arg(i + 1)},
                            {"districtname", kDistricts.at(i % kDistricts.size())}, {"cityid", 340100},
                            {"companyid", 1001}, {"price", QString::number(8000 + (i * 37) % 20000)},
                            {"lasttime", "2024/01/01 00:00:00"}};
    return list;
}

QVariantMap person(QRandomGenerator &rng)
{
    const int agent = int(rng.bounded(200));
    return {{"name", kAgents.at(agent % kAgents.size())},
            {"phone", QStringLiteral("1390000%1").arg(agent, 4, 10, QLatin1Char('0'))},
            {"review", rng.bounded(10) != 0}};
}

// The flags and organisation of a listing: mostly public, on the shelf, unflagged.
void addFlags(QVariantMap &m, QRandomGenerator &rng)
{
    const auto oneIn = [&rng](int n) { return rng.bounded(n) == 0 ? 1 : 0; };
    m.insert({{"companyid", oneIn(20) ? 0 : 1001}, {"cityid", 340100}, {"isdel", oneIn(100)}, {"sf", oneIn(10)},
              {"stype", oneIn(8)}, {"housestatus", 1 - oneIn(20)}, {"istop", oneIn(200)}, {"suopan", oneIn(30)},
              {"fengpan", oneIn(50)}, {"hbdujia", oneIn(15)}, {"shenhestatus", oneIn(40)},
              {"deptid", 11 + int(rng.bounded(20))}, {"deptname", "滨湖一部"}, {"companyname", "启贤地产"},
              {"fbcompanyid", 1001}});
    if (rng.bounded(5) < 3)
        m.insert({{"lururen", person(rng)}, {"weihuren", person(rng)}});
}

QString sentences(QRandomGenerator &rng, int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += pick(rng, kRemarks) + QStringLiteral("。");
    return text;
}

QVariantMap makeListing(int id, int communities, QRandomGenerator &rng)
{
    const bool rent = id % 2 == 0;
    const int community = 1 + int(rng.bounded(communities));
    const int room = 1 + int(rng.bounded(4));
    const double area = 40 + rng.bounded(160);
    const double price = rent ? 800 + rng.bounded(7200) : 50 + rng.bounded(450);
    const QString time = QDateTime(QDate(2023, 1, 1), QTime(8, 0)).addSecs(qint64(id) * 120).toString("yyyy/MM/dd HH:mm:ss");
    const QString name = communityName(community - 1);
    QVariantMap m{{"id", id}, {"types", rent ? 1 : 0}, {"userphone", person(rng).value("phone")},
                  {"mycommunityid", community}, {"name", name}, {"buildingNo", QString::number(1 + rng.bounded(30))},
                  {"unitNo", QString::number(1 + rng.bounded(4))},
                  {"roomNo", QString::number((1 + rng.bounded(30)) * 100 + 1 + rng.bounded(4))},
                  {"district", pick(rng, kDistricts)}, {"area", pick(rng, kAreas)},
                  {"address", QStringLiteral("%1%2号").arg(pick(rng, kRoads)).arg(1 + rng.bounded(300))},
                  {"author", pick(rng, kAgents)}, {"room", room}, {"hall", 1 + int(rng.bounded(2))},
                  {"huxingwei", 1 + int(rng.bounded(2))}, {"floors", 1 + int(rng.bounded(30))}, {"allfloors", 33},
                  {"price", price}, {"unitprice", rent ? 0 : int(price * 10000 / area)}, {"builtuparea", area},
                  {"contacts", QVariantList{pick(rng, kOwners), QStringLiteral("13%1").arg(rng.bounded(1000000000), 9, 10, QLatin1Char('0'))}},
                  {"renovation", pick(rng, kDecorations)}, {"property", "有"}, {"housetype", "住宅"}, {"hutype", "平层"},
                  {"remark", sentences(rng, 2)}, {"describes", sentences(rng, 3)}, {"tags", someOf(rng, kTags, 1, 3)},
                  {"toward", pick(rng, kTowards)}, {"seetime", "预约"}, {"ruzhutime", "随时"}, {"source", "上门"},
                  {"payway", rent ? "押一付三" : "一次性付款"}, {"rentway", rent ? "整租" : ""},
                  {"peitao", someOf(rng, kFacilities, rent ? 3 : 1, rent ? 6 : 2)}, {"traffic", someOf(rng, kTraffic, 1, 2)},
                  {"createtime", time}, {"lasttime", time},
                  {"follows", rng.bounded(3) == 0 ? QStringLiteral("客户看过，觉得价格偏高") : QString()},
                  {"photo", rng.bounded(2) == 0 ? QStringLiteral("https://img.example.com/h/%1_1.jpg").arg(id) : QString()},
                  {"newstate", pick(rng, rent ? kRentStates : kSaleStates)},
                  {"title", name + QStringLiteral(" 精装%1房 南北通透 满五唯一").arg(room)}};
    addFlags(m, rng);
    return m;
}

// An ordinary agent of department 11 with the usual rights of a shop assistant.
void signIn(const QString &dataDir)
{
    DataCenter::reset();
    DataCenter::CityID = 340100;
    DataCenter::CompanyID = 1001;
    DataCenter::UserPhoneNumber = kMe;
    DataCenter::CurrentWindow = QStringLiteral("main");
    BaseSqlObject::setPersonalBaseDir(dataDir + QStringLiteral("/app"));
    const auto right = [](int id, int range) {
        return QVariantMap{{"id", id}, {"selected", true}, {"range", range}, {"bumens", QVariantList()}};
    };
    const QVariantList rights{right(132, 0), right(102, 4), right(136, 4), right(31, 4), right(127, 4),
                              right(32, 4),  right(152, 0), right(153, 0), right(154, 0)};
    const QVariantMap bumens{{"suozai_bumens", QVariantList{QVariantMap{{"id", 11}}}},
                             {"sons", QVariantList{QVariantMap{{"dept_id", 10},
                                                               {"sons", QVariantList{QVariantMap{{"dept_id", 11}},
                                                                                     QVariantMap{{"dept_id", 12}}}}}}}};
    UserMessage_DataSqlTable user(nullptr, false);
    user.updateColumn(QStringLiteral("userauth"), QString::fromUtf8(QJsonDocument::fromVariant(rights).toJson()));
    user.updateColumn(QStringLiteral("bumens"), QString::fromUtf8(QJsonDocument::fromVariant(bumens).toJson()));
    HouseBookSet_SqlTable(nullptr, false).setValue(QStringLiteral("readhistory"), QStringLiteral("199,299,399"));
}

struct InsertRate
{
    double wall = -1;  // listings per second of elapsed time
    double cpu = -1;   // listings per second of this process's CPU time (immune to other load)
};

// Seeds the book, timing the insert-or-replace calls alone.
InsertRate seed(const Options &o)
{
    HouseMessage_DataSqlTable houses(nullptr, false);
    CommunityMessage_DataSqlTable(nullptr, false).insertOrReplaceCommunities(makeCommunities(o.communities));
    QRandomGenerator rng(20240305);
    qint64 storeNs = 0;
    std::clock_t cpu = 0;
    for (int first = 1; first <= o.listings; first += o.batch) {
        QList<QVariantMap> page;
        for (int id = first; id < first + o.batch && id <= o.listings; ++id)
            page << makeListing(id, o.communities, rng);
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        if (houses.insertOrReplaceHouses(page, true) != page.size())
            std::fprintf(stderr, "page at %d not fully written\n", first);
        cpu += std::clock() - cpuStart;
        storeNs += timer.nsecsElapsed();
    }
    return {o.listings / (storeNs / 1e9), o.listings / (double(cpu) / CLOCKS_PER_SEC)};
}

double fastest(const QList<double> &values)
{
    return values.isEmpty() ? 0 : *std::min_element(values.cbegin(), values.cend());
}

double fastestMs(const std::function<void()> &run, int reps)
{
    QList<double> times;
    run();  // warm-up
    for (int i = 0; i < reps; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times << timer.nsecsElapsed() / 1e6;
    }
    return fastest(times);
}

double shellWallMs(const QString &sqlite3, const QString &db, const QString &statement, int times)
{
    QString script = QStringLiteral(".output /dev/null\n");
    for (int i = 0; i < times; ++i)
        script += statement + QStringLiteral(";\n");
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(sqlite3, {QStringLiteral("-batch"), db});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    if (shell.exitCode() != 0)
        std::fprintf(stderr, "sqlite3: %s\n", shell.readAllStandardError().constData());
    return timer.nsecsElapsed() / 1e6;
}

// Per-statement time of the shell: (R statements - R trivial ones) / R, fastest of reps.
double shellMs(const Options &o, const QString &db, const QString &statement)
{
    const int times = 10;
    QList<double> per;
    shellWallMs(o.sqlite3, db, statement, 1);  // warm-up
    for (int i = 0; i < o.reps; ++i) {
        const double work = shellWallMs(o.sqlite3, db, statement, times);
        const double idle = shellWallMs(o.sqlite3, db, QStringLiteral("select 1"), times);
        per << qMax(0.0, (work - idle) / times);
    }
    return fastest(per);
}

// The statement through QtSql with every value of every row read.
double qtSqlMs(const QString &db, const QString &statement, int reps)
{
    double ms = 0;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-qtsql"));
        connection.setDatabaseName(db);
        connection.open();
        ms = fastestMs(
            [&] {
                QSqlQuery query(connection);
                query.setForwardOnly(true);
                query.exec(statement);
                const int columns = query.record().count();
                while (query.next()) {
                    for (int i = 0; i < columns; ++i)
                        query.value(i);
                }
            },
            reps);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-qtsql"));
    return ms;
}

struct Row
{
    QString name;
    double call;
    double qtSql;
    double shell;
    double target;
};

bool report(const QList<Row> &rows)
{
    bool ok = true;
    std::printf("\n%-30s %9s %9s %9s %11s %10s %7s\n", "query", "call ms", "QtSql ms", "sqlite3", "QtSql/shell",
                "call/shell", "target");
    for (const Row &r : rows) {
        const double sqlRatio = r.shell > 0 ? r.qtSql / r.shell : 0;
        const bool pass = r.call <= r.target && (r.qtSql <= 2 * r.shell || r.qtSql < 0.5);
        ok = ok && pass;
        std::printf("%-30s %9.2f %9.2f %9.2f %11.2f %10.2f %5.0f %s\n", qPrintable(r.name), r.call, r.qtSql, r.shell,
                    sqlRatio, r.shell > 0 ? r.call / r.shell : 0, r.target, pass ? "ok" : "MISSED");
    }
    return ok;
}

HouseQuery saleQuery(const QVariantMap &extra = QVariantMap(), int page = 1)
{
    HouseQuery q;
    q.mode = 4;
    q.conditions = extra;
    q.conditions.insert(QStringLiteral("state"), kDefaultSaleStates);
    q.page = page;
    q.pageSize = 20;
    return q;
}

// (b) ordered by the total price instead of the newest first.
HouseQuery sortedSaleQuery(bool descending)
{
    HouseQuery q = saleQuery();
    q.sortKey = QStringLiteral("price");
    q.sortDescending = descending;
    return q;
}

Options parse(const QCoreApplication &app)
{
    QCommandLineParser p;
    p.addHelpOption();
    p.addOptions({{"listings", "listings to seed", "n", "200000"},
                  {"communities", "communities to seed", "n", "2000"},
                  {"batch", "records per insert call", "n", "1000"},
                  {"reps", "repetitions per figure", "n", "7"},
                  {"data", "data folder", "dir", QStringLiteral(HOUSEBOOK_BENCH_DATA_DIR)},
                  {"sqlite3", "sqlite3 shell", "path", "sqlite3"},
                  {"keep", "reuse a seeded database"}});
    p.process(app);
    Options o;
    o.listings = p.value("listings").toInt();
    o.communities = p.value("communities").toInt();
    o.batch = qMax(1, p.value("batch").toInt());
    o.reps = qMax(1, p.value("reps").toInt());
    o.dataDir = QDir(p.value("data")).absoluteFilePath(QStringLiteral("housestore"));
    o.sqlite3 = p.value("sqlite3");
    o.keep = p.isSet("keep");
    return o;
}

struct Case
{
    QString name;
    HouseQuery query;
    double targetMs;
};

// The rows of one case: the page, and for a first page also its count.
QList<Row> measure(const Options &o, const QString &db, const Case &c)
{
    HouseMessage_DataSqlTable statements(nullptr, false);
    const QString list = statements.listStatement(c.query);
    QList<Row> rows{{c.name, fastestMs([&] { HouseMessage_DataSqlTable(nullptr, false).getHouseList(c.query); }, o.reps),
                     qtSqlMs(db, list, o.reps), shellMs(o, db, list), c.targetMs}};
    if (c.query.page == 1 && c.query.sortKey == QLatin1String("id")) {
        const QString count = statements.countStatement(c.query);
        rows << Row{c.name.left(4) + QStringLiteral("count"),
                    fastestMs([&] { HouseMessage_DataSqlTable(nullptr, false).getHouseCount(c.query); }, o.reps),
                    qtSqlMs(db, count, o.reps), shellMs(o, db, count), c.targetMs};
    }
    std::printf("%s: %d rows of %d\n", qPrintable(c.name), statements.getHouseList(c.query).size(),
                statements.getHouseCount(c.query));
    return rows;
}

// Seeds a fresh book unless --keep finds one.
InsertRate seedUnlessKept(const Options &o, const QString &db)
{
    if (o.keep && HouseMessage_DataSqlTable(nullptr, false).haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB)
                      >= o.listings)
        return {};
    BaseSqlObject::removeAllConnect();
    QFile::remove(db);
    std::printf("seeding %d listings into %s ...\n", o.listings, qPrintable(db));
    const InsertRate rate = seed(o);
    std::printf("(a) insert-or-replace: %.0f listings/s wall, %.0f per CPU second (target >= 10000) %s\n", rate.wall,
                rate.cpu, rate.wall >= 10000 ? "ok" : "MISSED");
    return rate;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bench_housestore"));
    const Options o = parse(app);
    // Every database of the run lives under the data folder.
    QDir().mkpath(o.dataDir);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(o.dataDir + QStringLiteral("/config")));
    signIn(o.dataDir);
    const QString db = HouseMessage_DataSqlTable(nullptr, false).getDBAddress(BaseSqlObject::CompanyDB);
    const InsertRate insertRate = seedUnlessKept(o, db);

    const QList<Case> cases{
        {QStringLiteral("(b) mode 4 page 1"), saleQuery(), 50},
        {QStringLiteral("(c) keyword + price page 1"),
         saleQuery({{"keyWord", QStringLiteral("翡翠")}, {"price_up", "100"}, {"price_down", "300"}}), 150},
        {QStringLiteral("(d) mode 4 page 500"), saleQuery({}, 500), 50},
        {QStringLiteral("(e) by 总价 desc page 1"), sortedSaleQuery(true), 50},
        {QStringLiteral("(f) by 总价 asc page 1"), sortedSaleQuery(false), 50}};
    QList<Row> rows;
    for (const Case &c : cases)
        rows << measure(o, db, c);
    std::printf("\nstatement (b): %s\n", qPrintable(HouseMessage_DataSqlTable(nullptr, false).listStatement(cases.first().query)));
    const bool ok = report(rows) && (insertRate.wall < 0 || insertRate.wall >= 10000);
    return ok ? 0 : 1;
}
