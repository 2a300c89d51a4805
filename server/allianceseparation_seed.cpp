// The tables of the role records and their seeded rows: an entry for every role a listing's
// holder columns name (with evidence and its history line for commission, keys, exclusive
// agency and deal), an office approval waiting on the entry role of listings N mod 9 = 4,
// the company's deal contracts, electronic contracts with their PDF files, and reports of the
// last 60 days in every state.
#include "allianceseparation.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlError>
#include <QSqlQuery>

namespace Alliance {

namespace {

using S = SeparationRoutes;

const QStringList kSigners{"赵敏", "钱进", "孙立", "李明", "周洁", "吴磊", "郑华", "王芳"};
const QStringList kContractTypes{"独家代理合同", "房屋买卖合同", "房屋租赁合同", "委托代理协议"};
const QStringList kReportTexts{"实勘照片不是本房源的实拍图", "钥匙实际不在登记的门店", "委托书信息与业主不符",
                               "维护人长期未跟进房源", "独家代理合同已过期", "成交信息不实"};
constexpr int kContractsPerKind = 8;
constexpr int kSeededReports = 45;

bool run(QSqlQuery &q, const QString &sql, QString *error)
{
    if (q.exec(sql))
        return true;
    *error = q.lastError().text() + QStringLiteral(" in ") + sql;
    return false;
}

// A contract's PDF: drawn with the PDF writer when fonts are at hand (a GUI application),
// else written out by hand with a standard font and the number in Latin letters.
QByteArray contractPdf(const QString &contractNo, const QString &typeName, int pages)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setResolution(72);
        writer.setTitle(QStringLiteral("电子合同 ") + contractNo);
        writer.setCreator(QStringLiteral("qx_alliance_server"));
        QPainter p(&writer);
        QFont font = p.font();
        font.setPixelSize(18);
        p.setFont(font);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                writer.newPage();
            p.drawText(QRect(30, 30, 360, 40), QStringLiteral("电子合同 ") + contractNo);
            p.drawText(QRect(30, 80, 360, 40), QStringLiteral("%1 第%2页/共%3页").arg(typeName).arg(page).arg(pages));
        }
        p.end();
        return bytes;
    }
    QList<QByteArray> objects;
    QByteArray kids;
    for (int k = 0; k < pages; ++k)
        kids += QByteArray::number(4 + 2 * k) + " 0 R ";
    objects << "<< /Type /Catalog /Pages 2 0 R >>"
            << "<< /Type /Pages /Kids [" + kids.trimmed() + "] /Count " + QByteArray::number(pages) + " >>"
            << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
    for (int k = 0; k < pages; ++k) {
        const QByteArray stream = "BT /F1 18 Tf 30 540 Td (Electronic contract " + contractNo.toLatin1() + ") Tj ET\n"
                                  "BT /F1 12 Tf 30 510 Td (Page " + QByteArray::number(k + 1) + " of " + QByteArray::number(pages) + ") Tj ET";
        objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 420 595] /Resources << /Font << /F1 3 0 R >> >> /Contents "
                       + QByteArray::number(5 + 2 * k) + " 0 R >>"
                << "<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream + "\nendstream";
    }
    QByteArray pdf = "%PDF-1.4\n";
    QByteArray xref = "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int k = 0; k < objects.size(); ++k) {
        xref += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(k + 1) + " 0 obj\n" + objects.at(k) + "\nendobj\n";
    }
    const int start = pdf.size();
    return pdf + xref + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(start) + "\n%%EOF\n";
}

QJsonArray seededPhoto(int file)
{
    return QJsonArray{QJsonObject{{"url", QStringLiteral("{base}/files/photos/%1.jpg").arg(file)}}};
}

QString seededDate(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy-M-d"));
}

// The evidence a seeded entry carries, taken from the listing's id, and the history line that
// entered it (empty for the roles without evidence: their entries start without history).
QString seedEvidence(const Store &s, RoleEntry &e, const User &holder, bool sale)
{
    const qint64 h = e.houseId;
    switch (e.type) {
    case 2:
        e.evidence = {{"pictures", QJsonObject{{"contract", seededPhoto(1)}, {"fangchanzheng", seededPhoto(2)},
                                               {"shenfenzheng_zhenmian", seededPhoto(3)}, {"shenfenzheng_fanmian", seededPhoto(4)},
                                               {"weituoshu", seededPhoto(5)}}},
                      {"heyanren", QStringLiteral("王建国")}, {"heyanleixing", QStringLiteral("业主")}};
        e.heyancode = QStringLiteral("HY%1").arg(h * 7919 % 100000000, 8, 10, QLatin1Char('0'));
        e.weituocode = QStringLiteral("WT%1").arg(h * 104729 % 100000000, 8, 10, QLatin1Char('0'));
        return QStringLiteral("录入委托信息");
    case 4:
        e.evidence = {{"keycode", QStringLiteral("YS%1").arg(h, 5, 10, QLatin1Char('0'))}, {"shoudate", seededDate(e.ms)},
                      {"deptName", S::deptName(s, holder.deptId)}, {"deptid", QString::number(holder.deptId)}};
        return QStringLiteral("录入钥匙信息");
    case 5:
        e.evidence = {{"pictures", QJsonObject{{"contract", seededPhoto(6)}, {"housecernum", seededPhoto(7)}, {"hostcernum", seededPhoto(8)}}},
                      {"housecernum", QStringLiteral("皖(2021)合肥市不动产权第%1号").arg(h, 7, 10, QLatin1Char('0'))},
                      {"hostcernum", QStringLiteral("34010419850101%1").arg(h % 10000, 4, 10, QLatin1Char('0'))},
                      {"endtime", seededDate(e.ms + qint64(180) * 86400)}, {"contractid", QString::number(301 + h % kContractsPerKind)}};
        return QStringLiteral("录入独家代理信息");
    case 6:
        e.evidence = {{"pictures", QJsonObject{{"contract", seededPhoto(1)}}},
                      {"contractid", QString::number((sale ? 101 : 201) + h % kContractsPerKind)}};
        return QStringLiteral("录入成交信息");
    default:
        return QString();
    }
}

// Another agent than the holder, to propose as the new one.
const User &otherAgent(const QVector<User> &users, int holderId, qint64 salt)
{
    const User &u = users.at(int(5 + salt % (users.size() - 5)));
    return u.userId != holderId ? u : users.at(5 + (salt + 1) % (users.size() - 5));
}

} // namespace

bool SeparationRoutes::createTables(QSqlQuery &q, QString *error)
{
    for (const QString &sql : {
             QStringLiteral("create table roleentries(id integer primary key autoincrement, houseid integer, type integer, "
                            "userid integer default 0, state integer default 0, remark text default '', evidence text default '{}', "
                            "sp_id integer default 0, pendinguser integer default 0, heyancode text default '', "
                            "weituocode text default '', author text default '', ms integer default 0)"),
             QStringLiteral("create unique index roleentries_role on roleentries(houseid, type)"),
             QStringLiteral("create table rolehistory(id integer primary key autoincrement, entryid integer, author text, "
                            "content text, ms integer)"),
             QStringLiteral("create index rolehistory_entry on rolehistory(entryid, ms)"),
             QStringLiteral("create table approvals(id integer primary key autoincrement, entryid integer, houseid integer, "
                            "userid integer, applicant text, content text, state integer default 0, remark text default '', ms integer)"),
             QStringLiteral("create table reports(id integer primary key autoincrement, houseid integer, entryid integer, "
                            "type integer, reporterid integer, holderid integer, content text, state integer default 0, ms integer, "
                            "reviewerid integer default 0, reviewms integer default 0, days integer default 0, reason text default '')"),
             QStringLiteral("create table contracts(id integer primary key, kind integer, contractno text, typename text default '', "
                            "xiaoqu text default '', houseaddress text default '', qianyueren text, storename text, ms integer, "
                            "pdf blob)")}) {
        if (!run(q, sql, error))
            return false;
    }
    return true;
}

// Sale deal contracts 101-108, rent deal contracts 201-208, electronic contracts 301-308.
bool SeparationRoutes::seedContracts(Store &s, QSqlQuery &q, QString *error)
{
    QStringList communities;
    q.exec(QStringLiteral("select name from community order by id limit %1").arg(kContractsPerKind));
    while (q.next())
        communities << q.value(0).toString();
    if (communities.isEmpty())
        communities << QStringLiteral("滨湖花园");
    QStringList stores;
    for (const Department &d : qAsConst(s.m_departments))
        if (d.id % 100 >= 10)
            stores << s.m_companies.at(d.companyId - 101).shortName + d.name;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    q.prepare(QStringLiteral("insert into contracts(id, kind, contractno, typename, xiaoqu, houseaddress, qianyueren, storename, ms, pdf) "
                             "values(?,?,?,?,?,?,?,?,?,?)"));
    for (int kind = 0; kind < 3; ++kind) {
        for (int k = 0; k < kContractsPerKind; ++k) {
            const QString number = QStringLiteral("%1%2").arg(QStringList{"XS2024", "ZL2024", "DZ2024"}.at(kind)).arg(k + 1, 4, 10, QLatin1Char('0'));
            const QString community = communities.at(k % communities.size());
            const QString typeName = kind == 2 ? kContractTypes.at(k % kContractTypes.size()) : QString();
            for (const QVariant &v : QVariantList{(kind + 1) * 100 + k + 1, kind, number, typeName, community,
                                                  QStringLiteral("%1%2栋%3室").arg(community).arg(k % 5 + 1).arg(301 + k * 100),
                                                  kSigners.at(k), stores.at((k * 3 + kind) % stores.size()), now - qint64(k * 3 + kind) * 86400,
                                                  kind == 2 ? contractPdf(number, typeName, 1 + k % 2) : QByteArray()})
                q.addBindValue(v);
            if (!q.exec()) {
                *error = q.lastError().text();
                return false;
            }
        }
    }
    return true;
}

bool SeparationRoutes::seedEntries(Store &s, QString *error)
{
    QSqlQuery read(s.db());
    if (!read.exec(QStringLiteral("select id, types, lastms, %1 from house order by id").arg(QStringList{
            "lururen", "weihuren", "weituoren", "shikanren", "yaoshiren", "dujiaren", "chengjiaoren"}.join(QLatin1Char(','))))) {
        *error = read.lastError().text();
        return false;
    }
    // One prepared statement each: a large book has hundreds of thousands of entries.
    QSqlQuery entries(s.db());
    QSqlQuery lines(s.db());
    QSqlQuery approvals(s.db());
    approvals.prepare(QStringLiteral("insert into approvals(id, entryid, houseid, userid, applicant, content, state, ms) "
                                     "values(?,?,?,?,?,?,0,?)"));
    QSqlQuery unreviewed(s.db());
    unreviewed.prepare(QStringLiteral("update house set lururen=? where id=?"));
    qint64 approvalId = 0;
    while (read.next()) {
        for (int type = 0; type < 7; ++type) {
            const QJsonObject holderJson = QJsonDocument::fromJson(read.value(3 + type).toString().toUtf8()).object();
            const User *holder = s.user(holderJson.value(QStringLiteral("phone")).toString());
            if (!holder)
                continue;
            RoleEntry e;
            e.houseId = read.value(0).toLongLong();
            e.type = type;
            e.userId = holder->userId;
            e.state = holderJson.value(QStringLiteral("review")).toBool(true) ? 2 : 1;
            e.author = holder->name;
            e.ms = read.value(2).toLongLong();
            const QString line = seedEvidence(s, e, *holder, read.value(1).toInt() == 0);
            // A change of the entry role waits in the office approval flow.
            const bool office = type == 0 && e.houseId % 9 == 4;
            const User &proposed = otherAgent(s.m_users, holder->userId, e.houseId);
            if (office) {
                e.spId = ++approvalId;
                e.pendingUser = proposed.userId;
                e.state = 1;
            }
            save(entries, e);
            if (!line.isEmpty())
                note(lines, e.id, *holder, line, e.ms);
            if (!office)
                continue;
            for (const QVariant &v : QVariantList{approvalId, e.id, e.houseId, proposed.userId, holder->name,
                                                  QStringLiteral("修改房源【%1】的录入人为【%2】需要进行审批").arg(e.houseId).arg(proposed.name), e.ms})
                approvals.addBindValue(v);
            unreviewed.addBindValue(QString::fromUtf8(QJsonDocument(s.roleHolder(*holder, false)).toJson(QJsonDocument::Compact)));
            unreviewed.addBindValue(e.houseId);
            if (!approvals.exec() || !unreviewed.exec()) {
                *error = approvals.lastError().text() + unreviewed.lastError().text();
                return false;
            }
        }
    }
    return true;
}

// Reports against the maintenance, commission, survey and keys holders of the first listings,
// one every 1.3 days back from now: waiting, upheld, rework and rejected in turn.
bool SeparationRoutes::seedReports(Store &s, QString *error)
{
    QSqlQuery read(s.db());
    if (!read.exec(QStringLiteral("select id, houseid, type, userid from roleentries where userid>0 and type between 1 and 4 "
                                  "order by houseid, type limit %1").arg(kSeededReports))) {
        *error = read.lastError().text();
        return false;
    }
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const User &reviewer = s.m_users.first();
    QSqlQuery q(s.db());
    q.prepare(QStringLiteral("insert into reports(houseid, entryid, type, reporterid, holderid, content, state, ms, reviewerid, "
                             "reviewms, days) values(?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; read.next(); ++i) {
        const User &reporter = otherAgent(s.m_users, read.value(3).toInt(), i * 5);
        const int state = i % 4;
        const qint64 ms = now - 1800 - qint64(i) * (59 * 86400 / kSeededReports);
        for (const QVariant &v : QVariantList{read.value(1), read.value(0), read.value(2), reporter.userId, read.value(3),
                                              kReportTexts.at(i % kReportTexts.size()), state, ms, state ? reviewer.userId : 0,
                                              state ? std::min(now, ms + 3 * 3600) : 0, state == 2 ? 3 + (i % 3) * 2 : 0})
            q.addBindValue(v);
        if (!q.exec()) {
            *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

bool createSeparationTables(QSqlQuery &q, QString *error)
{
    return SeparationRoutes::createTables(q, error);
}

bool seedSeparationRecords(Store &store, QSqlQuery &q, QString *error)
{
    return SeparationRoutes::seedContracts(store, q, error) && SeparationRoutes::seedEntries(store, error)
           && SeparationRoutes::seedReports(store, error);
}

} // namespace Alliance
