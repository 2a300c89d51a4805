// The simulator's role records and reports: the seven rows agree with the listing's holder
// columns; handing over, picking up and releasing a role touch that role only and reach the
// next sync; evidence is refused to anyone but the holder and self-approved only for
// reviewers; approvals (direct and in the office flow) and their history; the report list's
// filter and pages, and the three judgements acting on the role; contracts and their PDFs.
#include "allianceserver.h"
#include "alliancestore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kManager = QStringLiteral("13800000001");  // joint-sale manager
const QString kOther = QStringLiteral("13800000002");    // narrow rights
const QString kAgent = QStringLiteral("13800000004");    // agent, no review right
const QString kFull = QStringLiteral("13800000005");     // every right, not the manager
const QStringList kColumns{"lururen", "weihuren", "weituoren", "shikanren", "yaoshiren", "dujiaren", "chengjiaoren"};
const QStringList kTitles{"录入人", "维护人", "委托人", "实勘人", "钥匙人", "独家代理人", "成交人"};

QJsonObject dataOf(const Alliance::Answer &a)
{
    return a.data.toObject();
}

QString str(const QJsonValue &v)
{
    return v.toVariant().toString();
}

} // namespace

class TestSeparationRoutes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void rowsFollowHolderColumns_data();
    void rowsFollowHolderColumns();
    void assignChangesOnlyItsRole_data();
    void assignChangesOnlyItsRole();
    void release_data();
    void release();
    void evidence_data();
    void evidence();
    void review_data();
    void review();
    void historyIsPaged();
    void reportList_data();
    void reportList();
    void reportJudgement_data();
    void reportJudgement();
    void canCheck_data();
    void canCheck();
    void contractsAndPdfs();

private:
    Alliance::Answer ask(const QString &path, Alliance::Form form, const QString &phone = kManager)
    {
        form.insert(QStringLiteral("lianmai"), QStringLiteral("1"));
        return m_store->handle(path, form, phone);
    }
    QString userId(const QString &phone) const { return QString::number(m_store->user(phone)->userId); }
    QJsonObject row(qint64 house, int type)
    {
        return dataOf(ask("fd/LianmaiPosts", {{"itemid", QString::number(house)}})).value("list").toArray().at(type).toObject();
    }
    QJsonObject listing(qint64 house) { return dataOf(ask("app/SyncHousebookDetail", {{"id", QString::number(house)}})); }
    static QJsonObject holderOf(const QJsonObject &listing, int type)
    {
        return listing.value("replenish").toObject().value(kColumns.at(type)).toObject();
    }
    QJsonObject newestLine(const QJsonValue &entryId)
    {
        return dataOf(ask("fd/fendanrecord", {{"id", str(entryId)}, {"pageindex", "1"}, {"pagesize", "20"}})).value("list").toArray().first().toObject();
    }
    void assign(qint64 house, int type, const QString &phone)
    {
        QCOMPARE(ask("fd/Changeoperator", {{"type", QString::number(type)}, {"houseid", QString::number(house)}, {"userid", userId(phone)}}).code, 200);
    }
    // The listing as the next alliance sync after `mark` brings it; empty when it does not.
    QJsonObject pulled(qint64 house, const QString &mark)
    {
        for (const QJsonValue &v : dataOf(ask("app/LianmaiSyncHousebook", {{"pageindex", "1"}, {"lasttime", mark}})).value("housebook").toArray())
            if (v.toObject().value("id").toInt() == house)
                return v.toObject();
        return {};
    }

    QTemporaryDir m_dir;
    QScopedPointer<Alliance::Store> m_store;
};

void TestSeparationRoutes::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 90;
    options.communities = 10;
    options.dbPath = m_dir.filePath(QStringLiteral("alliance.db"));
    m_store.reset(new Alliance::Store(options));
    QString error;
    QVERIFY2(m_store->open(&error), qPrintable(error));
}

void TestSeparationRoutes::rowsFollowHolderColumns_data()
{
    QTest::addColumn<qint64>("house");
    for (qint64 house : {1, 2, 4, 7, 13, 30})
        QTest::addRow("listing %lld", house) << house;
}

// Every row names the holder of its column (state 1 where the column is unreviewed); the
// entry role of listings N mod 9 = 4 waits in the office approval flow.
void TestSeparationRoutes::rowsFollowHolderColumns()
{
    QFETCH(qint64, house);
    const QJsonArray rows = dataOf(ask("fd/LianmaiPosts", {{"itemid", QString::number(house)}})).value("list").toArray();
    QCOMPARE(rows.size(), 7);
    const QJsonObject record = listing(house);
    for (int type = 0; type < 7; ++type) {
        const QJsonObject r = rows.at(type).toObject();
        const QJsonObject holder = holderOf(record, type);
        QCOMPARE(r.value("type").toInt(), type);
        QCOMPARE(r.value("title").toString(), kTitles.at(type));
        QCOMPARE(r.value("phone").toString(), holder.value("phone").toString());
        QCOMPARE(r.value("info").toObject().value("name").toString(), holder.value("name").toString());
        QCOMPARE(r.value("own").toInt(), holder.value("phone").toString() == kManager ? 1 : 0);
        const bool office = type == 0 && house % 9 == 4;
        QCOMPARE(str(r.value("detailinfo").toObject().value("sp_id")) != "0", office);
        if (!holder.isEmpty())
            QCOMPARE(r.value("state").toInt(), holder.value("review").toBool() ? 2 : 1);
        else
            QCOMPARE(str(r.value("id")), QStringLiteral("0"));
    }
}

void TestSeparationRoutes::assignChangesOnlyItsRole_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    for (int type = 0; type < 7; ++type)
        QTest::addRow("fd/Changeoperator %s", qPrintable(kTitles.at(type))) << "fd/Changeoperator" << type;
    QTest::newRow("alliance hand-over of the entry") << "app/LianmaiHouseFenpei" << 0;
    QTest::newRow("alliance hand-over of the maintenance") << "fd/LianmaiChangeWeihuren" << 1;
}

// Fault guarded: fd/Changeoperator handed the whole listing (owner and maintainer) to the
// person, whatever role `type` named.
void TestSeparationRoutes::assignChangesOnlyItsRole()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    const qint64 house = 20 + type + (path == "fd/Changeoperator" ? 0 : 10);
    const QJsonObject before = listing(house);
    const QString mark = before.value("lasttime").toString();
    Alliance::Form form{{"type", QString::number(type)}, {"houseid", QString::number(house)}, {"xiezuoid", "0"},
                        {"userid", userId(kAgent)}};
    if (path != "fd/Changeoperator")
        form = {{"id", QString::number(house)}, {"companyid", "101"}, {"ncompanyid", "102"}, {"nuserid", userId(kAgent)}};
    QCOMPARE(ask(path, form).code, 200);

    const QJsonObject after = pulled(house, mark);
    QVERIFY(!after.isEmpty());
    for (int t = 0; t < 7; ++t) {
        if (t != type)
            QCOMPARE(holderOf(after, t), holderOf(before, t));
    }
    QCOMPARE(holderOf(after, type).value("phone").toString(), kAgent);
    if (type != 0)
        QCOMPARE(after.value("userphone").toString(), before.value("userphone").toString());
    const QJsonObject r = row(house, type);
    QCOMPARE(r.value("phone").toString(), kAgent);
    QCOMPARE(r.value("state").toInt(), 2);
    QCOMPARE(newestLine(r.value("id")).value("content").toString(), QStringLiteral("分配%1给刘洋").arg(kTitles.at(type)));
}

void TestSeparationRoutes::release_data()
{
    QTest::addColumn<QString>("form");  // "role": with type; "vacant": a role nobody holds; "lock": without type
    QTest::newRow("role") << "role";
    QTest::newRow("role nobody holds") << "vacant";
    QTest::newRow("lock and seal") << "lock";
}

void TestSeparationRoutes::release()
{
    QFETCH(QString, form);
    const qint64 house = 40;
    assign(house, 3, kAgent);
    if (form == "vacant")
        QCOMPARE(ask("fd/JieChu", {{"type", "3"}, {"id", "0"}, {"itemid", QString::number(house)}}).code, 200);
    QCOMPARE(ask("app/houseshuxing", {{"itemid", QString::number(house)}, {"type", "2"}, {"state", "1"}}).code, 200);
    const QJsonObject before = listing(house);
    const QJsonObject r = row(house, 3);

    const auto answer = form == "lock" ? ask("fd/JieChu", {{"id", QString::number(house)}})
                                       : ask("fd/JieChu", {{"type", "3"}, {"id", str(r.value("id"))}, {"itemid", QString::number(house)}});
    const QJsonObject after = listing(house);
    if (form == "vacant") {
        QVERIFY(answer.code != 200);
        QCOMPARE(after.value("lasttime"), before.value("lasttime"));
        return;
    }
    QCOMPARE(answer.code, 200);
    QCOMPARE(after.value("suopan").toInt(), form == "lock" ? 0 : 1);
    QCOMPARE(holderOf(after, 3).isEmpty(), form == "role");
    QCOMPARE(holderOf(after, 1), holderOf(before, 1));
    if (form == "role") {
        QCOMPARE(row(house, 3).value("phone").toString(), QString());
        QCOMPARE(newestLine(r.value("id")).value("content").toString(), QStringLiteral("解除实勘人"));
    }
}

void TestSeparationRoutes::evidence_data()
{
    QTest::addColumn<qint64>("house");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("holder");  // before the post: "none", "poster" or "other"
    QTest::addColumn<QString>("poster");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("state");       // the entry's state afterwards
    QTest::newRow("keys, vacant, manager asks approval") << qint64(50) << "fd/hbaddkey" << 4 << "none" << kManager << "1" << 200 << 2;
    QTest::newRow("keys, vacant, agent asks approval") << qint64(51) << "fd/hbaddkey" << 4 << "none" << kAgent << "1" << 200 << 1;
    QTest::newRow("exclusive, own, manager does not ask") << qint64(52) << "fd/hbdujia" << 5 << "poster" << kManager << "0" << 200 << 1;
    QTest::newRow("commission, own, every right") << qint64(53) << "fd/hbweituo" << 2 << "poster" << kFull << "1" << 200 << 2;
    QTest::newRow("deal, someone else's") << qint64(54) << "fd/hbchengjiao" << 6 << "other" << kAgent << "1" << 405 << 2;
}

void TestSeparationRoutes::evidence()
{
    QFETCH(qint64, house);
    QFETCH(QString, path);
    QFETCH(int, type);
    QFETCH(QString, holder);
    QFETCH(QString, poster);
    QFETCH(QString, pass);
    QFETCH(int, code);
    QFETCH(int, state);
    if (holder == "none" && !row(house, type).value("phone").toString().isEmpty())
        QCOMPARE(ask("fd/JieChu", {{"type", QString::number(type)}, {"itemid", QString::number(house)}}).code, 200);
    if (holder != "none")
        assign(house, type, holder == "poster" ? poster : kOther);
    const QString photos = QStringLiteral("[{\"url\":\"http://127.0.0.1:1/files/photos/1.jpg\"}]");
    const Alliance::Form form{{"itemid", QString::number(house)}, {"pass", pass}, {"remark", "备注"}, {"keycode", "YS-T1"},
                              {"keydeptid", "10111"}, {"keydeptname", "天鹅湖店"}, {"shoudate", "2024-5-6"},
                              {"contract", photos}, {"picturecontent", "{\"housecernum\":" + photos + "}"}, {"contractid", "301"},
                              {"housecernum", "皖123"}, {"endtime", "2025-1-2"}, {"heyancode", "HY1"}, {"weituocode", "WT1"}};
    const auto answer = ask(path, form, poster);
    QCOMPARE(answer.code, code);
    const QJsonObject r = row(house, type);
    QCOMPARE(r.value("state").toInt(), state);
    QCOMPARE(holderOf(listing(house), type).value("review").toBool(), state == 2);
    if (code != 200) {
        QCOMPARE(answer.message, QStringLiteral("您不是该角色的操作人"));
        QCOMPARE(r.value("phone").toString(), kOther);
        return;
    }
    QCOMPARE(dataOf(answer).value("pass").toInt(), state == 2 ? 1 : 0);
    QCOMPARE(r.value("phone").toString(), poster);
    QVERIFY(newestLine(r.value("id")).value("content").toString().contains(QRegularExpression("^(录入|修改)")));
    const QJsonObject detail = dataOf(ask("fd/hbfendandetail", {{"id", str(r.value("id"))}}));
    const QJsonObject info = detail.value("detailinfo").toObject();
    if (type == 4)
        QCOMPARE(info.value("keycode").toString() + info.value("shoudate").toString() + info.value("deptName").toString(),
                 QStringLiteral("YS-T12024-5-6天鹅湖店"));
    if (type == 5) {
        QCOMPARE(detail.value("contractNo").toString(), QStringLiteral("DZ20240001"));
        QVERIFY(detail.value("pdf").toArray().first().toObject().value("url").toString().endsWith("/files/contracts/301.pdf"));
        QCOMPARE(detail.value("picturecontent").toObject().value("housecernum").toArray().size(), 1);
    }
    if (type == 2)
        QCOMPARE(r.value("detailinfo").toObject().value("weituocode").toString(), QStringLiteral("WT1"));
}

void TestSeparationRoutes::review_data()
{
    QTest::addColumn<qint64>("house");
    QTest::addColumn<QString>("waiting");  // what waits: "evidence" or "change" (office flow) or "seeded" (office flow)
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("reviewer");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("after");        // entry state afterwards
    QTest::addColumn<bool>("changed");     // the holder changed
    QTest::newRow("evidence approved") << qint64(60) << "evidence" << "fd/shenpi" << "2" << kManager << 200 << 2 << false;
    QTest::newRow("evidence refused") << qint64(61) << "evidence" << "fd/shenpi" << "3" << kFull << 200 << 3 << false;
    QTest::newRow("evidence, agent may not review") << qint64(62) << "evidence" << "fd/shenpi" << "2" << kAgent << 405 << 1 << false;
    QTest::newRow("change approved") << qint64(63) << "change" << "fd/shenpi" << "2" << kManager << 200 << 2 << true;
    QTest::newRow("change refused keeps holder") << qint64(64) << "change" << "fd/shenpi" << "3" << kManager << 200 << 3 << false;
    QTest::newRow("office check approves") << qint64(65) << "change" << "apiv3_0_2/ArApplyRecordCtr/check" << "1" << kManager << 200 << 2 << true;
    QTest::newRow("office check refuses") << qint64(66) << "change" << "apiv3_0_2/ArApplyRecordCtr/check" << "2" << kManager << 200 << 3 << false;
    QTest::newRow("seeded office approval") << qint64(67) << "seeded" << "apiv3_0_2/ArApplyRecordCtr/check" << "1" << kManager << 200 << 2 << true;
}

void TestSeparationRoutes::review()
{
    QFETCH(qint64, house);
    QFETCH(QString, waiting);
    QFETCH(QString, path);
    QFETCH(QString, state);
    QFETCH(QString, reviewer);
    QFETCH(int, code);
    QFETCH(int, after);
    QFETCH(bool, changed);
    QCOMPARE(house % 9 == 4, waiting == "seeded");
    const int type = waiting == "evidence" ? 4 : 0;
    QString recordId;
    if (waiting == "evidence") {
        assign(house, type, kAgent);
        QCOMPARE(ask("fd/hbaddkey", {{"itemid", QString::number(house)}, {"keycode", "K9"}, {"keydeptid", "10211"}, {"pass", "1"}}, kAgent).code, 200);
    } else if (waiting == "change") {
        assign(house, type, kAgent);
        const auto applied = ask("apiv3_0_2/ArApplyRecordCtr/apply", {{"house_book_id", QString::number(house)}, {"userid", userId(kOther)},
                                                                       {"content", "修改房源【x】的录入人为【李娜】需要进行审批，审批"}});
        QCOMPARE(applied.code, 200);
        recordId = str(dataOf(applied).value("record_id"));
    }
    const QJsonObject before = row(house, type);
    QCOMPARE(before.value("state").toInt(), 1);
    if (waiting != "evidence") {
        QVERIFY(str(before.value("detailinfo").toObject().value("sp_id")) != "0");
        recordId = str(before.value("detailinfo").toObject().value("sp_id"));
    }
    const auto answer = path == "fd/shenpi" ? ask(path, {{"id", str(before.value("id"))}, {"state", state}, {"remark", "材料不全"}}, reviewer)
                                            : ask(path, {{"record_id", recordId}, {"state", state}, {"remark", "材料不全"}}, reviewer);
    QCOMPARE(answer.code, code);
    const QJsonObject r = row(house, type);
    QCOMPARE(r.value("state").toInt(), after);
    QCOMPARE(r.value("phone") != before.value("phone"), changed);
    if (waiting == "change" && changed)
        QCOMPARE(r.value("phone").toString(), kOther);
    QCOMPARE(holderOf(listing(house), type).value("phone").toString(), r.value("phone").toString());
    QCOMPARE(holderOf(listing(house), type).value("review").toBool(), after == 2);
    if (code == 200)
        QCOMPARE(str(r.value("detailinfo").toObject().value("sp_id")), QStringLiteral("0"));
    const QString line = newestLine(r.value("id")).value("content").toString();
    QVERIFY2(code != 200 || line.contains(after == 2 ? QStringLiteral("通过") : QStringLiteral("拒绝：材料不全")), qPrintable(line));
}

void TestSeparationRoutes::historyIsPaged()
{
    const qint64 house = 70;
    const QStringList people{kAgent, kOther};
    for (int k = 0; k < 21; ++k)
        assign(house, 3, people.at(k % 2));
    const QString entry = str(row(house, 3).value("id"));
    const auto page = [&](int index) {
        return dataOf(ask("fd/fendanrecord", {{"id", entry}, {"pageindex", QString::number(index)}, {"pagesize", "20"}}));
    };
    const int total = page(1).value("total").toInt();
    QVERIFY(total >= 21);
    QCOMPARE(page(1).value("list").toArray().size(), 20);
    QCOMPARE(page(2).value("list").toArray().size(), total - 20);
    const QJsonObject newest = page(1).value("list").toArray().first().toObject();
    QCOMPARE(newest.value("content").toString(), QStringLiteral("分配实勘人给刘洋"));
    QCOMPARE(newest.value("author").toString(), QStringLiteral("张伟"));
    QVERIFY(!newest.value("time").toString().isEmpty());
}

void TestSeparationRoutes::reportList_data()
{
    QTest::addColumn<QString>("status");
    QTest::newRow("waiting") << "0";
    QTest::newRow("reviewed") << "1";
    QTest::newRow("all") << "2";
}

void TestSeparationRoutes::reportList()
{
    QFETCH(QString, status);
    const auto page = [&](int index) {
        return dataOf(ask("fd/jubaoposts", {{"pageindex", QString::number(index)}, {"pagesize", "20"}, {"status", status}}));
    };
    const int total = page(1).value("total").toInt();
    QJsonArray rows;
    for (int index = 1; index <= total / 20 + 1; ++index)
        for (const QJsonValue &v : page(index).value("data").toArray())
            rows.append(v);
    QCOMPARE(rows.size(), total);
    QVERIFY(page(total / 20 + 2).value("data").toArray().isEmpty());
    if (status == "2")
        QVERIFY2(total > 40, "three pages of reports under all");
    QString previous = QStringLiteral("9999");
    for (const QJsonValue &v : rows) {
        const QJsonObject report = v.toObject();
        const int state = report.value("state").toInt();
        QVERIFY(status == "2" || (state == 0) == (status == "0"));
        QVERIFY(report.value("time").toString() <= previous);
        previous = report.value("time").toString();
        QCOMPARE(report.value("days").toInt() > 0, state == 2);
        QCOMPARE(report.value("shenpiren").toString().isEmpty(), state == 0);
        QVERIFY(!report.value("fdstepname").toString().isEmpty());
        QCOMPARE(str(report.value("sh").toObject().value("id")).toInt() > 0, true);
    }
    const QJsonArray recent = dataOf(ask("fd/jubaoDownload", {})).value("data").toArray();
    QVERIFY(!recent.isEmpty() && recent.size() < dataOf(ask("fd/jubaoposts", {{"status", "2"}})).value("total").toInt());
    const QString since = QDateTime::currentDateTime().addDays(-30).toString("yyyy-MM-dd HH:mm");
    for (const QJsonValue &v : recent)
        QVERIFY(v.toObject().value("time").toString() >= since);
}

void TestSeparationRoutes::reportJudgement_data()
{
    QTest::addColumn<qint64>("house");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("newHolder");  // "reporter", "" (removed)
    QTest::addColumn<QString>("days");
    QTest::addColumn<int>("code");
    QTest::newRow("upheld, to the reporter") << qint64(80) << "1" << "reporter" << "" << 200;
    QTest::newRow("upheld, removed") << qint64(81) << "1" << "" << "" << 200;
    QTest::newRow("rework") << qint64(82) << "2" << "" << "5" << 200;
    QTest::newRow("rework without days") << qint64(83) << "2" << "" << "" << 405;
    QTest::newRow("rejected") << qint64(84) << "3" << "" << "" << 200;
}

void TestSeparationRoutes::reportJudgement()
{
    QFETCH(qint64, house);
    QFETCH(QString, state);
    QFETCH(QString, newHolder);
    QFETCH(QString, days);
    QFETCH(int, code);
    assign(house, 3, kAgent);
    const QJsonObject entry = row(house, 3);
    const auto filed = ask("fd/Jubao", {{"id", str(entry.value("id"))}, {"type", "3"}, {"itemid", QString::number(house)},
                                        {"userid", userId(kAgent)}, {"content", "照片不是实拍"}}, kOther);
    QCOMPARE(filed.code, 200);
    const QString report = str(dataOf(filed).value("id"));
    const QString mark = listing(house).value("lasttime").toString();

    const auto answer = ask("fd/jubaoshenpi", {{"id", report}, {"state", state}, {"yonghuid", userId(kAgent)}, {"days", days},
                                               {"newuserid", newHolder == "reporter" ? userId(kOther) : QString()}, {"content", "核实"}});
    QCOMPARE(answer.code, code);
    const QJsonObject next = pulled(house, mark);
    QCOMPARE(next.isEmpty(), state != "1");
    const QString expected = state != "1" ? kAgent : newHolder == "reporter" ? kOther : QString();
    QCOMPARE(holderOf(listing(house), 3).value("phone").toString(), expected);
    if (state == "1")
        QCOMPARE(holderOf(next, 3).value("phone").toString(), expected);

    QJsonObject listed;
    for (const QJsonValue &v : dataOf(ask("fd/jubaoposts", {{"pageindex", "1"}, {"pagesize", "20"}, {"status", "2"}})).value("data").toArray())
        if (str(v.toObject().value("id")) == report)
            listed = v.toObject();
    QCOMPARE(listed.value("state").toInt(), code == 200 ? state.toInt() : 0);
    QCOMPARE(listed.value("days").toInt(), code == 200 ? days.toInt() : 0);
    QCOMPARE(listed.value("authorid").toInt(), userId(kOther).toInt());
    if (code == 200)
        QCOMPARE(listed.value("shenpiren").toString(), QStringLiteral("张伟"));

    QCOMPARE(ask("fd/JieChu", {{"type", "3"}, {"itemid", QString::number(house)}}).code, expected.isEmpty() ? 405 : 200);
    QCOMPARE(ask("fd/Jubao", {{"type", "3"}, {"itemid", QString::number(house)}, {"content", "再次举报"}}, kOther).message,
             QStringLiteral("当前无操作人"));
}

void TestSeparationRoutes::canCheck_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("asked");  // user_id's phone
    QTest::addColumn<int>("cancheck");
    QTest::newRow("manager about herself") << kManager << kManager << 1;
    QTest::newRow("manager about an agent") << kManager << kAgent << 0;
    QTest::newRow("agent about every right") << kAgent << kFull << 1;
}

void TestSeparationRoutes::canCheck()
{
    QFETCH(QString, phone);
    QFETCH(QString, asked);
    QFETCH(int, cancheck);
    const auto answer = ask("apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck",
                            {{"user_id", userId(asked)}, {"record_id", "1"}, {"store_id", "10100"}, {"role_id", "1"}}, phone);
    QCOMPARE(dataOf(answer).value("cancheck").toInt(-1), cancheck);
}

// Deal contracts filter by community; every electronic contract's address serves a PDF of
// one or two pages over HTTP.
void TestSeparationRoutes::contractsAndPdfs()
{
    QTemporaryDir dir;
    AllianceServer::Options options;
    options.listings = 20;
    options.communities = 10;
    options.dbPath = dir.filePath(QStringLiteral("alliance.db"));
    AllianceServer server(options);
    QVERIFY(server.start());
    QNetworkAccessManager network;
    const auto post = [&](const QString &path, const QByteArray &body) {
        QNetworkRequest request(QUrl(server.rootUrl("app") + path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        QNetworkReply *reply = network.post(request, body + "&lianmai=1");
        QSignalSpy done(reply, &QNetworkReply::finished);
        done.wait(10000);
        reply->deleteLater();
        return QJsonDocument::fromJson(reply->readAll()).object().value("data").toObject().value("list").toArray();
    };
    for (const QString &path : {QStringLiteral("app/LianmaiScontractPosts"), QStringLiteral("app/LianmaiScontractRentPosts")}) {
        const QJsonArray all = post(path, "xiaoqu=");
        QVERIFY(all.size() >= 6);
        const QString community = all.first().toObject().value("xiaoqu").toString();
        const QJsonArray some = post(path, "xiaoqu=" + QUrl::toPercentEncoding(community.mid(1, 2)));
        QVERIFY(!some.isEmpty() && some.size() < all.size());
        for (const QJsonValue &v : some)
            QVERIFY(v.toObject().value("xiaoqu").toString().contains(community.mid(1, 2)));
    }
    const QJsonArray contracts = post("itcontract/LianmaiPosts", "htcode=");
    QVERIFY(contracts.size() >= 6);
    QCOMPARE(post("itcontract/LianmaiPosts", "htcode=dz20240002").size(), 1);
    for (const QJsonValue &v : contracts) {
        const QString url = v.toObject().value("pdf").toArray().first().toObject().value("url").toString();
        QNetworkReply *reply = network.get(QNetworkRequest(QUrl(url)));
        QSignalSpy done(reply, &QNetworkReply::finished);
        QVERIFY(done.wait(10000));
        QCOMPARE(reply->header(QNetworkRequest::ContentTypeHeader).toString(), QStringLiteral("application/pdf"));
        const QByteArray pdf = reply->readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        const QRegularExpressionMatch pages = QRegularExpression("/Count (\\d+)").match(QString::fromLatin1(pdf.constData(), pdf.size()));
        QVERIFY(pages.hasMatch() && pages.captured(1).toInt() >= 1 && pages.captured(1).toInt() <= 2);
        reply->deleteLater();
    }
    QNetworkReply *missing = network.get(QNetworkRequest(QUrl(server.baseUrl() + "/files/contracts/999.pdf")));
    QSignalSpy done(missing, &QNetworkReply::finished);
    QVERIFY(done.wait(10000));
    QCOMPARE(missing->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 404);
    delete missing;
}

QTEST_MAIN(TestSeparationRoutes)
#include "tst_separationroutes.moc"
