// The promotion tab of a listing: its promotion text (kept in the listing's own columns, so
// the next sync brings it back), the extended facts for the outside portals (kept per listing
// in a table of their own, texts exactly as posted), the portal tag names and the colleagues'
// evaluations.
#include "alliancestore.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlQuery>

namespace Alliance {

namespace {

const QString kGone = QStringLiteral("房源不存在或已被删除");

// Facts posted as numbers; answered as numbers, -1 when never set.
const QStringList kNumberFacts{QStringLiteral("taoneimianji"), QStringLiteral("shoufu"), QStringLiteral("yongjin")};
const QStringList kTextFacts{
    QStringLiteral("title"), QStringLiteral("describes"), QStringLiteral("dianti"), QStringLiteral("jianzhuxingshi"),
    QStringLiteral("heating"), QStringLiteral("chanquannianxian"), QStringLiteral("chanquanleixing"),
    QStringLiteral("fushuxinxi"), QStringLiteral("weiyizhufang"), QStringLiteral("isyishoufang"),
    QStringLiteral("fangbennianxian"), QStringLiteral("certificateRegisterTime"), QStringLiteral("certificateNo"),
    QStringLiteral("onSaleTime"), QStringLiteral("depreciateMark"), QStringLiteral("fuwuleixing"),
    QStringLiteral("showingTime"), QStringLiteral("yezhuxintai"), QStringLiteral("fuwujieshao"),
    QStringLiteral("fangyuantag"), QStringLiteral("vrurl")};
const QStringList kHouseTags{QStringLiteral("满五唯一"), QStringLiteral("近地铁"), QStringLiteral("学区房"),
                             QStringLiteral("南北通透"), QStringLiteral("精装修"), QStringLiteral("随时看房"),
                             QStringLiteral("低总价"), QStringLiteral("带车位"), QStringLiteral("采光好"),
                             QStringLiteral("拎包入住")};

qint64 listingId(const Form &form)
{
    return formId(form, {"id", "houseid"});
}

QJsonValue jsonText(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).array();
}

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

struct DescribeRoutes
{
    // The tables are made on first use, so a database seeded before they existed works too.
    static QSqlQuery query(Store &s)
    {
        QSqlQuery q(s.db());
        q.exec(QStringLiteral("create table if not exists describefacts(houseid integer primary key, facts text, pic text)"));
        q.exec(QStringLiteral("create table if not exists evaluations(id integer primary key autoincrement, houseid integer, "
                              "phone text, name text, content text, ms integer)"));
        return q;
    }

    static QJsonObject storedFacts(Store &s, qint64 id, QString *pic)
    {
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("select facts, pic from describefacts where houseid=?"));
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            return QJsonObject();
        *pic = q.value(1).toString();
        return QJsonDocument::fromJson(q.value(0).toString().toUtf8()).object();
    }

    static Answer detail(Store &s, const Form &form, const User &)
    {
        const qint64 id = listingId(form);
        const QVariantMap row = s.houseRow(id);
        if (row.isEmpty())
            return refusal(kGone);
        QString pic = QStringLiteral("[]");
        const QJsonObject facts = storedFacts(s, id, &pic);
        QJsonObject data{{"id", id}, {"axid", facts.value(QStringLiteral("axid")).toString()}, {"pic", jsonText(pic)}};
        for (const QString &key : kNumberFacts) {
            bool ok = false;
            const double value = facts.value(key).toString().toDouble(&ok);
            data.insert(key, ok ? value : -1);
        }
        for (const QString &key : kTextFacts)
            data.insert(key, facts.value(key).toString());
        if (!facts.contains(QStringLiteral("title")))
            data.insert(QStringLiteral("title"), row.value(QStringLiteral("title")).toString());
        if (!facts.contains(QStringLiteral("describes")))
            data.insert(QStringLiteral("describes"), row.value(QStringLiteral("describes")).toString());
        return fetched(data);
    }

    // The whole set of facts, or "id, pic" alone when only the cover changed.
    static Answer editFacts(Store &s, const Form &form, const User &)
    {
        const qint64 id = listingId(form);
        if (!s.houseExists(id))
            return refusal(kGone);
        QString pic = QStringLiteral("[]");
        QJsonObject facts = storedFacts(s, id, &pic);
        if (form.contains(QStringLiteral("pic")))
            pic = form.value(QStringLiteral("pic"));
        for (const QString &key : kNumberFacts + kTextFacts + QStringList{QStringLiteral("axid")})
            if (form.contains(key))
                facts.insert(key, form.value(key));
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("insert or replace into describefacts(houseid, facts, pic) values(?, ?, ?)"));
        q.addBindValue(id);
        q.addBindValue(compact(facts));
        q.addBindValue(pic);
        q.exec();
        return fetched(QJsonObject(), QStringLiteral("操作成功"));
    }

    // The promotion text in the listing's own columns; "types, id, describespicture" sets the cover.
    static Answer editPromotion(Store &s, const Form &form, const User &)
    {
        const qint64 id = listingId(form);
        QVariantMap columns;
        for (const char *c : {"title", "describes", "describespicture", "quanjing"})
            if (form.contains(QLatin1String(c)))
                columns.insert(QLatin1String(c), form.value(QLatin1String(c)));
        if (!s.updateHouse(id, columns))
            return refusal(kGone);
        return fetched(QJsonObject(), QStringLiteral("操作成功"));
    }

    static Answer houseTags(Store &, const Form &, const User &)
    {
        return fetched(QJsonObject{{"list", QJsonArray::fromStringList(kHouseTags)}});
    }

    static Answer evaluations(Store &s, const Form &form, const User &)
    {
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("select id, name, content, ms from evaluations where houseid=? order by ms desc, id desc"));
        q.addBindValue(listingId(form));
        QJsonArray list;
        if (q.exec())
            while (q.next())
                list.append(QJsonObject{
                    {"id", q.value(0).toLongLong()}, {"username", q.value(1).toString()}, {"content", q.value(2).toString()},
                    {"time", QDateTime::fromSecsSinceEpoch(q.value(3).toLongLong()).toString(QStringLiteral("yyyy-MM-dd HH:mm"))}});
        return fetched(QJsonObject{{"list", list}, {"total", list.size()}});
    }

    static Answer addEvaluation(Store &s, const Form &form, const User &u)
    {
        const qint64 id = listingId(form);
        const QString content = form.value(QStringLiteral("content"));
        if (content.trimmed().isEmpty())
            return refusal(QStringLiteral("请添加评价内容后再提交！"));
        if (!s.houseExists(id))
            return refusal(kGone);
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("insert into evaluations(houseid, phone, name, content, ms) values(?, ?, ?, ?, ?)"));
        for (const QVariant &v : {QVariant(id), QVariant(u.phone), QVariant(u.name), QVariant(content),
                                  QVariant(QDateTime::currentSecsSinceEpoch())})
            q.addBindValue(v);
        q.exec();
        return fetched(QJsonObject{{"id", q.lastInsertId().toLongLong()}}, QStringLiteral("操作成功"));
    }

    static Answer deleteEvaluation(Store &s, const Form &form, const User &)
    {
        QSqlQuery q = query(s);
        q.prepare(QStringLiteral("delete from evaluations where id=?"));
        q.addBindValue(formId(form, {"id"}));
        q.exec();
        return fetched(QJsonObject(), QStringLiteral("操作成功"));
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"housebook2/housebookdesdetail", detail}, {"housebook2/housebookeditdes", editFacts},
                      {"app/housebookeditdes", editPromotion}, {"anxuan/gethousetag", houseTags},
                      {"app/housepjposts", evaluations}, {"app/housepjadd", addEvaluation},
                      {"app/housepjdel", deleteEvaluation}});
    }
};

void addDescribeRoutes(RouteTable &table)
{
    DescribeRoutes::addTo(table);
}

} // namespace Alliance
