// The detail window's requests about a listing as a whole: view records and the must-follow
// rule, the detail counts, revealed numbers and hidden-number calls, turning a listing public,
// handing it to another enterer, and the change history that every accepted change writes.
// The pages the window embeds (map, recording player) and the recordings are served raw.
#include "alliancestore.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>
#include <QtMath>

namespace Alliance {

namespace {

const QString kFollowFirst = QStringLiteral("您有房源尚查看后未跟进，请先跟进后再查看其它房源！");
const QString kGone = QStringLiteral("房源不存在或已被删除");

qint64 listingId(const Form &form)
{
    return formId(form, {"id", "houseid", "itemid", "hid"});
}

QString holderText(const User &u)
{
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"name", u.name}, {"phone", u.phone}, {"review", true}})
                                 .toJson(QJsonDocument::Compact));
}

// Users seeded without call credit, each refused with its own code until a top-up
// (see server/README.md).
Answer callRefusal(const QString &phone)
{
    if (phone == QLatin1String("13900000046"))
        return refusal(QStringLiteral("您的通话余额不足，请充值后再拨打！"), 101);
    if (phone == QLatin1String("13900000047"))
        return refusal(QStringLiteral("您的隐号通话套餐已到期，请续费后再拨打！"), 102);
    if (phone == QLatin1String("13900000048"))
        return refusal(QStringLiteral("您所在的公司尚未开通隐号通话服务！"), 103);
    return Answer();
}

Answer htmlPage(const QString &title, const QString &body)
{
    Answer a;
    a.isRaw = true;
    a.rawType = "text/html; charset=utf-8";
    a.raw = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head><body>%2</body></html>")
                .arg(title, body)
                .toUtf8();
    return a;
}

// One second of a mono 16-bit tone at 8 kHz, its pitch set by the recording's number.
QByteArray toneWav(int number)
{
    const int rate = 8000;
    const int samples = rate;
    QByteArray pcm(samples * 2, '\0');
    const double pitch = 330.0 + (number % 12) * 40.0;
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(qint16(8000 * qSin(2 * M_PI * pitch * i / rate)), pcm.data() + i * 2);
    QByteArray wav("RIFF");
    auto put32 = [&wav](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    auto put16 = [&wav](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    put32(quint32(36 + pcm.size()));
    wav.append("WAVEfmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    wav.append("data");
    put32(quint32(pcm.size()));
    return wav + pcm;
}

using ChangeText = QString (*)(const Form &form, const QJsonObject &data);

QString flagChange(const Form &form, const QJsonObject &)
{
    static const QStringList names{QStringLiteral("置顶"), QStringLiteral("锁盘"), QStringLiteral("封盘"), QStringLiteral("独家")};
    const int type = form.value(QStringLiteral("type")).toInt();
    const QString name = type >= 1 && type <= 4 ? names.at(type - 1) : QString();
    return (form.value(QStringLiteral("state")).toInt() ? QStringLiteral("设置") : QStringLiteral("取消")) + name;
}

QString holderChange(const QString &role, const QJsonObject &data)
{
    return QStringLiteral("%1变更为%2").arg(role, data.value(QStringLiteral("name")).toString());
}

// What the change history says about each accepted change of a listing.
const QHash<QString, ChangeText> &changeTexts()
{
    static const QHash<QString, ChangeText> texts{
        {"app/housebooknewstate", [](const Form &f, const QJsonObject &) { return QStringLiteral("房源状态修改为%1").arg(f.value(QStringLiteral("state"))); }},
        {"app/houseshuxing", flagChange},
        {"app/housebookzhuangongpan", [](const Form &, const QJsonObject &) { return QStringLiteral("房源转为公盘"); }},
        {"app/LianmaiHouseFenpei", [](const Form &, const QJsonObject &d) { return holderChange(QStringLiteral("录入人"), d); }},
        {"fd/Changeoperator", [](const Form &f, const QJsonObject &d) { return holderChange(roleTitle(f.value(QStringLiteral("type")).toInt()), d); }},
        {"fd/hbweihuren", [](const Form &, const QJsonObject &d) { return holderChange(QStringLiteral("维护人"), d); }},
        {"fd/LianmaiChangeWeihuren", [](const Form &, const QJsonObject &d) { return holderChange(QStringLiteral("维护人"), d); }},
        {"fd/hbweituo", [](const Form &, const QJsonObject &d) { return holderChange(QStringLiteral("委托人"), d); }},
        {"fd/hbaddkey", [](const Form &, const QJsonObject &d) { return holderChange(QStringLiteral("钥匙人"), d); }},
        {"fd/hbdujia", [](const Form &, const QJsonObject &d) { return holderChange(QStringLiteral("独家代理人"), d); }},
        {"fd/hbchengjiao", [](const Form &, const QJsonObject &d) { return holderChange(QStringLiteral("成交人"), d); }},
        {"fd/HouseAdd", [](const Form &, const QJsonObject &) { return QStringLiteral("录入房源"); }},
        {"fd/HouseEidt", [](const Form &, const QJsonObject &) { return QStringLiteral("修改房源信息"); }},
        {"fd/HouseShenhe", [](const Form &, const QJsonObject &) { return QStringLiteral("房源审核通过"); }},
        {"fd/HouseBohui", [](const Form &, const QJsonObject &) { return QStringLiteral("房源被驳回"); }},
        {"fd/JieChu", [](const Form &f, const QJsonObject &) {
             return f.contains(QStringLiteral("type")) ? QStringLiteral("解除") + roleTitle(f.value(QStringLiteral("type")).toInt())
                                                       : QStringLiteral("解除锁盘/封盘");
         }},
        {"fd/hbpictureadd", [](const Form &, const QJsonObject &) { return QStringLiteral("添加房源图片"); }},
        {"fd/hbpicturedel", [](const Form &, const QJsonObject &) { return QStringLiteral("删除房源图片"); }},
        {"app/housebookeditdes", [](const Form &, const QJsonObject &) { return QStringLiteral("修改房源描述"); }},
        {"housebook2/housebookeditdes", [](const Form &, const QJsonObject &) { return QStringLiteral("修改房源描述"); }},
        {"app/updatehousebookvr", [](const Form &, const QJsonObject &) { return QStringLiteral("修改VR地址"); }}};
    return texts;
}

} // namespace

Answer refusal(const QString &message, int code)
{
    Answer a;
    a.code = code;
    a.message = message;
    return a;
}

qint64 Store::waitingFollowUp(const QString &phone)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("select houseid from mustfollow where phone=?"));
    q.addBindValue(phone);
    return q.exec() && q.next() ? q.value(0).toLongLong() : 0;
}

void Store::setWaitingFollowUp(const QString &phone, qint64 houseId)
{
    QSqlQuery q(db());
    q.prepare(houseId > 0 ? QStringLiteral("insert or replace into mustfollow(phone, houseid) values(?, ?)")
                          : QStringLiteral("delete from mustfollow where phone=?"));
    q.addBindValue(phone);
    if (houseId > 0)
        q.addBindValue(houseId);
    q.exec();
}

void Store::followedUp(const QString &phone, qint64 houseId)
{
    if (waitingFollowUp(phone) == houseId)
        setWaitingFollowUp(phone, 0);
}

const User *Store::userById(int userId) const
{
    for (const User &u : m_users)
        if (u.userId == userId)
            return &u;
    return nullptr;
}

void Store::noteChange(const QString &path, const Form &form, const Answer &answer, const User &u)
{
    const ChangeText text = changeTexts().value(path);
    if (!text)
        return;
    const QJsonObject data = answer.data.toObject();
    // The role requests name the listing by itemid or houseid and their role entry by id.
    qint64 id = formId(form, {"itemid", "houseid", "id", "hid"});
    if (id <= 0 || path == QLatin1String("fd/HouseAdd"))
        id = data.value(QStringLiteral("id")).toVariant().toLongLong();
    QSqlQuery q(db());
    q.prepare(QStringLiteral("insert into modifyrecord(houseid, name, content, ms) values(?,?,?,?)"));
    q.addBindValue(id);
    q.addBindValue(u.name);
    q.addBindValue(text(form, data));
    q.addBindValue(QDateTime::currentSecsSinceEpoch());
    q.exec();
}

// The handlers of the detail window's listing requests, one per path.
struct DetailRoutes
{
    static bool visibleTo(const QVariantMap &row, const User &u)
    {
        return row.value(QStringLiteral("lianmai")).toInt() == 1 || row.value(QStringLiteral("companyid")).toInt() == u.companyId;
    }

    // A view is recorded unless the user still owes the follow-up of another viewed listing.
    static Answer addView(Store &s, const Form &form, const User &u)
    {
        const qint64 id = listingId(form);
        const QVariantMap row = s.houseRow(id);
        if (row.isEmpty())
            return refusal(kGone);
        if (!visibleTo(row, u))
            return refusal(QStringLiteral("您没有查看该房源的权限"));
        const qint64 waiting = s.waitingFollowUp(u.phone);
        if (waiting > 0 && waiting != id) {
            Answer a = refusal(kFollowFirst, 128);
            a.data = QJsonObject{{"id", waiting}};
            return a;
        }
        s.addPersonal(u.phone, QStringLiteral("history"), id, QString());
        return fetched(QJsonObject{{"id", id}}, QStringLiteral("操作成功"));
    }

    static Answer addLimit(Store &s, const Form &form, const User &u)
    {
        const qint64 id = listingId(form);
        if (!s.houseExists(id))
            return refusal(kGone);
        s.setWaitingFollowUp(u.phone, id);
        return fetched(QJsonObject(), QStringLiteral("操作成功"));
    }

    static Answer clearLimit(Store &s, const Form &, const User &u)
    {
        s.setWaitingFollowUp(u.phone, 0);
        return fetched(QJsonObject(), QStringLiteral("操作成功"));
    }

    // Photo and video counts and the listing's update time; the sync's detail keeps its shape.
    static Answer detailInfo(Store &s, const Form &form, const User &)
    {
        const QVariantMap row = s.houseRow(listingId(form));
        if (row.isEmpty())
            return refusal(kGone);
        const int recorded = recordPhotoCount(s, listingId(form));
        const int photos = recorded >= 0 ? recorded
                                         : row.value(QStringLiteral("photo")).toString().split(QLatin1Char(','), Qt::SkipEmptyParts).size();
        const qint64 last = parseTime(row.value(QStringLiteral("lasttime")).toString());
        return fetched(QJsonObject{{"photocount", photos},
                                   {"videocount", row.value(QStringLiteral("havevideo")).toInt() ? 1 : 0},
                                   {"lasttime", QDateTime::fromSecsSinceEpoch(last).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))}});
    }

    // Counts a revealed number (0 contact, 1 room, 2 floor) among the user's reveals.
    static Answer showPhone(Store &s, const Form &form, const User &u)
    {
        const qint64 id = listingId(form);
        if (!s.houseExists(id))
            return refusal(kGone);
        s.addPersonal(u.phone, QStringLiteral("reveal"), id, form.value(QStringLiteral("itemtype"), QStringLiteral("0")));
        return fetched(QJsonObject(), QStringLiteral("操作成功"));
    }

    // A hidden-number call: the agent's phone rings, the owner sees a virtual number.
    static Answer hiddenCall(Store &s, const Form &form, const User &u)
    {
        const Answer refused = callRefusal(u.phone);
        if (refused.code != 200 && s.personalList(u.phone, QStringLiteral("callcredit")).isEmpty())
            return refused;
        const qint64 id = listingId(form);
        if (!s.houseExists(id))
            return refusal(kGone);
        const QString called = QStringLiteral("170%1").arg(id % 100000000, 8, 10, QLatin1Char('0'));
        return fetched(QJsonObject{{"caller", u.phone}, {"called", called}}, QStringLiteral("呼叫成功"));
    }

    // The call-service top-up (the host's call library posts it): the user may call again.
    static Answer recharge(Store &s, const Form &form, const User &u)
    {
        const int amount = form.value(QStringLiteral("amount")).toInt();
        if (amount <= 0)
            return refusal(QStringLiteral("请选择充值金额"));
        s.addPersonal(u.phone, QStringLiteral("callcredit"), 0, QString::number(amount));
        return fetched(QJsonObject{{"amount", amount}}, QStringLiteral("充值成功"));
    }

    static Answer turnPublic(Store &s, const Form &form, const User &)
    {
        const qint64 id = listingId(form);
        if (!s.updateHouse(id, {{"sf", 0}, {"stype", 0}}))
            return refusal(kGone);
        return fetched(QJsonObject(), QStringLiteral("转公盘成功"));
    }

    // Hands the listing to another enterer (`nuserid`, a user id): owner, department and lururen.
    static Answer assignEnterer(Store &s, const Form &form, const User &u)
    {
        const qint64 id = listingId(form);
        if (!s.houseExists(id))
            return refusal(kGone);
        const User *target = s.userById(form.value(QStringLiteral("nuserid")).toInt());
        if (!target)
            return refusal(QStringLiteral("经纪人不存在"));
        const auto dept = std::find_if(s.m_departments.cbegin(), s.m_departments.cend(),
                                       [&](const Department &d) { return d.id == target->deptId; });
        const QString deptName = dept != s.m_departments.cend() ? dept->name : QString();
        s.updateHouse(id, {{"userphone", target->phone}, {"author", target->name}, {"lururen", holderText(*target)},
                           {"companyid", target->companyId}, {"deptid", target->deptId}, {"deptname", deptName},
                           {"storeid", target->deptId}, {"storename", deptName}});
        enterHolderChanged(s, id, *target, u);
        return fetched(QJsonObject{{"id", id}, {"name", target->name}}, QStringLiteral("分配成功"));
    }

    static Answer modifyRecord(Store &s, const Form &form, const User &)
    {
        const qint64 id = listingId(form);
        const int page = std::max(1, form.value(QStringLiteral("pageindex")).toInt());
        const int size = std::max(1, form.value(QStringLiteral("pagesize"), QStringLiteral("15")).toInt());
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select count(*) from modifyrecord where houseid=?"));
        q.addBindValue(id);
        const int total = q.exec() && q.next() ? q.value(0).toInt() : 0;
        q.prepare(QStringLiteral("select name, content, ms from modifyrecord where houseid=? order by ms desc, id desc limit ? offset ?"));
        q.addBindValue(id);
        q.addBindValue(size);
        q.addBindValue((page - 1) * size);
        QJsonArray list;
        if (q.exec()) {
            while (q.next())
                list.append(QJsonObject{{"name", q.value(0).toString()}, {"content", q.value(1).toString()},
                                        {"time", QDateTime::fromSecsSinceEpoch(q.value(2).toLongLong()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}});
        }
        return fetched(QJsonObject{{"list", list}, {"total", total}});
    }

    static Answer residencePage(Store &, const Form &form, const User &)
    {
        const QString lng = form.value(QStringLiteral("lng")).toHtmlEscaped();
        const QString lat = form.value(QStringLiteral("lat")).toHtmlEscaped();
        return htmlPage(QStringLiteral("小区位置"),
                        QStringLiteral("<div id=\"map\">小区位置</div><p id=\"lng\">经度：%1</p><p id=\"lat\">纬度：%2</p>").arg(lng, lat));
    }

    static Answer playerPage(Store &, const Form &form, const User &)
    {
        const QString url = form.value(QStringLiteral("url")).toHtmlEscaped();
        return htmlPage(QStringLiteral("录音播放"),
                        QStringLiteral("<audio id=\"player\" controls autoplay src=\"%1\"></audio>").arg(url));
    }

    static Answer recording(Store &, const Form &form, const User &)
    {
        Answer a;
        a.isRaw = true;
        a.rawType = "audio/wav";
        a.raw = toneWav(form.value(QStringLiteral("file")).toInt());
        return a;
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"app/addviews", addView}, {"app/addgenjinlimt", addLimit}, {"app/cleargenjinlimt", clearLimit},
                      {"app/housebookdetailInfo", detailInfo}, {"app/showphone", showPhone},
                      {"call/LianmaiGetPhoneV2", hiddenCall}, {"call/recharge", recharge},
                      {"app/housebookzhuangongpan", turnPublic},
                      {"app/LianmaiHouseFenpei", assignEnterer}, {"app/modifyrecord", modifyRecord},
                      {"map/residence.html", residencePage}, {"call/player.html", playerPage},
                      {"call/record.wav", recording}});
    }
};

void addDetailRoutes(RouteTable &table)
{
    DetailRoutes::addTo(table);
}

} // namespace Alliance
