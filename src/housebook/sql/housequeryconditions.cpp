// The search bar's conditions as clauses of the listing query (part of HouseQueryBuilder).
#include "sql/housequerybuilder.h"

#include "sql/houserecord.h"
#include "sql/sqlliteral.h"
#include "sql/textscramble.h"

#include <QDate>
#include <QTime>
#include <QJsonDocument>

using namespace SqlLiteral;

namespace {

struct KeyColumn
{
    const char *key;
    const char *column;
};

// Text conditions compared whole with a scrambled column.
const KeyColumn kTextEquals[] = {
    {"buildingNo", "buildingNo"}, {"unitNo", "unitNo"},     {"roomNo", "roomNo"},       {"houseType", "housetype"},
    {"hutype", "hutype"},         {"renovation", "renovation"}, {"chaoXiang", "toward"}, {"seetime", "seetime"},
    {"ruZhuTime", "ruzhutime"},   {"rentWay", "rentway"},   {"payWay", "payway"},       {"source", "source"},
    {"chanQuan", "propertyquan"}, {"chanZhen", "property"}};
const KeyColumn kIntegerEquals[] = {
    {"hall", "hall"}, {"room", "room"}, {"huxingwei", "huxingwei"}, {"id", "id"}, {"shenhestatus", "shenhestatus"}};
// One chosen item must be among the column's items.
const KeyColumn kItemContains[] = {{"peitao", "peitao"}, {"traffic", "traffic"}, {"tag", "tags"}};
// The column's value is one of the chosen ones.
const KeyColumn kTextLists[] = {{"district", "district"}, {"area", "area"}, {"state", "newstate"}};
const KeyColumn kNumberRanges[] = {
    {"yueZu", "price"}, {"price", "price"}, {"unitPrice", "unitprice"}, {"size", "builtuparea"}, {"floor", "floors"}};
const KeyColumn kDateRanges[] = {{"publishTime", "createtime"}, {"updataTime", "lasttime"}, {"followTime", "followtime"}};
// The role holders the search bar can choose.
const KeyColumn kRoleHolders[] = {{"xiezuo_weihu", "weihuren"},    {"xiezuo_weituo", "weituoren"},
                                  {"xiezuo_shikan", "shikanren"},  {"xiezuo_yaoshi", "yaoshiren"},
                                  {"xiezuo_dujia", "dujiaren"},    {"xiezuo_chengjiao", "chengjiaoren"}};
// Cooperation words after 已 / 待.
const KeyColumn kCooperationWords[] = {{"录入", "lururen"},   {"维护", "weihuren"},  {"委托", "weituoren"},
                                       {"实勘", "shikanren"}, {"钥匙", "yaoshiren"}, {"独家代理", "dujiaren"},
                                       {"成交", "chengjiaoren"}};

// Conditions compared as one text, and those compared item by item.
const char *const kFreeTextKeys[] = {"keyWord", "name", "tel"};
const char *const kListKeys[] = {"xiaoid", "quanXian", "xiezuo", "xiezuo_null"};

// visit(key, isList) for each condition a search text or item list fills.
template <typename Visit>
void forEachTextKey(Visit visit)
{
    for (const char *key : kFreeTextKeys)
        visit(key, false);
    for (const KeyColumn &k : kTextEquals)
        visit(k.key, false);
    for (const char *key : kListKeys)
        visit(key, true);
    for (const KeyColumn &k : kItemContains)
        visit(k.key, true);
    for (const KeyColumn &k : kTextLists)
        visit(k.key, true);
}

// Something typed of which nothing searchable is left: the query matches nothing.
bool hasUnmatchableText(const QVariantMap &c)
{
    bool found = false;
    forEachTextKey([&](const char *key, bool) { found = found || isUnmatchable(c.value(QLatin1String(key))); });
    return found;
}

QString scr(const QString &text)
{
    return TextScramble::scramble(text);
}

QString value(const QVariantMap &c, const char *key)
{
    return text(c.value(QLatin1String(key)));
}

// A date or date-time condition in the stored form "yyyy/MM/dd[ HH:mm:ss]"; a bare upper
// date covers its whole day. Empty when the text is not a date. (QDate and QTime, not
// QDateTime: no time zone is involved.)
QString dateBound(const QString &input, bool upper)
{
    const QString t = input.trimmed();
    if (t.isEmpty())
        return QString();
    const QString datePart = t.section(QLatin1Char(' '), 0, 0);
    const QString timePart = t.section(QLatin1Char(' '), 1, 1, QString::SectionSkipEmpty);
    QDate date;
    for (const char *format : {"yyyy/M/d", "yyyy-M-d", "yyyy.M.d"}) {
        if (!date.isValid())
            date = QDate::fromString(datePart, QLatin1String(format));
    }
    if (!date.isValid() || t.count(QLatin1Char(' ')) > 1)
        return QString();
    if (timePart.isEmpty())
        return date.toString(QStringLiteral("yyyy/MM/dd")) + (upper ? QStringLiteral(" 23:59:59") : QString());
    QTime time = QTime::fromString(timePart, QStringLiteral("H:m:s"));
    if (!time.isValid())
        time = QTime::fromString(timePart, QStringLiteral("H:m"));
    return time.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd ")) + time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

// Chosen people, departments or companies: a list of nodes, or its JSON text, or a comma
// list of phones.
QVariantList nodesOf(const QVariant &v)
{
    if (v.type() == QVariant::List)
        return v.toList().mid(0, kMaxSearchItems);
    const QString t = v.toString().trimmed();
    const QJsonDocument doc = QJsonDocument::fromJson(t.toUtf8());
    if (doc.isArray())
        return doc.toVariant().toList().mid(0, kMaxSearchItems);
    if (doc.isObject())
        return {doc.toVariant()};
    QVariantList phones;
    for (const QString &phone : items(t))
        phones << QVariantMap{{QStringLiteral("phone"), phone}};
    return phones;
}

QString nodeValue(const QVariantMap &node, const char *key)
{
    return text(node.value(QLatin1String(key)).toString());
}

bool isCompanyNode(const QVariantMap &node)
{
    const QString type = nodeValue(node, "nodeType").toLower();
    if (type.contains(QLatin1String("company")))
        return true;
    return nodeValue(node, "dept_id").isEmpty() && !nodeValue(node, "companyid").isEmpty();
}

QString inClause(const char *column, const QString &list)
{
    return list.isEmpty() ? QString() : QLatin1String(column) + QLatin1String(" in(") + list + QLatin1Char(')');
}

} // namespace

bool HouseQueryBuilder::cutsConditions(const QVariantMap &c)
{
    bool cut = false;
    forEachTextKey([&](const char *key, bool isList) {
        const QVariant v = c.value(QLatin1String(key));
        cut = cut || (isList ? itemsCut(v) : isCut(v));
    });
    return cut;
}

QStringList HouseQueryBuilder::conditionClauses(const QVariantMap &c) const
{
    if (hasUnmatchableText(c))
        return {QStringLiteral("0")};
    QStringList out;
    const QString community = communityClause(c);
    if (!community.isEmpty())
        out << community;
    addEqualities(c, out);
    addRanges(c, out);
    addWordChoices(c, out);
    addPeople(c, out);
    addCooperation(c, out);
    out << keywordClauses(value(c, "keyWord"));
    out.removeAll(QString());
    return out;
}

QString HouseQueryBuilder::communityClause(const QVariantMap &c) const
{
    const QString ids = integerList(items(c.value(QStringLiteral("xiaoid"))));
    const QString name = value(c, "name");
    if (name.isEmpty())
        return ids.isEmpty() ? QString()
               : ids.contains(QLatin1Char(',')) ? QStringLiteral("mycommunityid in(%1)").arg(ids)
                                                : QStringLiteral("mycommunityid = %1").arg(ids);
    QString byName = containsStored(QStringLiteral("name"), scr(name));
    if (m_scope.hasCommunityTable)
        byName += QLatin1String(" or ") + communityNameMatch(name);
    if (ids.isEmpty())
        return QLatin1Char('(') + byName + QLatin1Char(')');
    return QStringLiteral("(mycommunityid in(%1) or %2)").arg(ids, byName);
}

void HouseQueryBuilder::addEqualities(const QVariantMap &c, QStringList &out) const
{
    for (const KeyColumn &k : kTextEquals) {
        const QString t = value(c, k.key);
        if (!t.isEmpty())
            out << QLatin1String(k.column) + QLatin1String(" = ") + quoted(scr(t));
    }
    for (const KeyColumn &k : kIntegerEquals) {
        const QString n = integer(value(c, k.key));
        const QString column = QLatin1String(k.column) == QLatin1String("id") ? idColumn() : QLatin1String(k.column);
        if (!n.isEmpty())
            out << column + QLatin1String(" = ") + n;
    }
    for (const KeyColumn &k : kItemContains) {
        for (const QString &item : items(c.value(QLatin1String(k.key))))
            out << containsStored(QLatin1String(k.column), scr(item));
    }
    for (const KeyColumn &k : kTextLists) {
        QStringList stored;
        for (const QString &item : items(c.value(QLatin1String(k.key))))
            stored << scr(item);
        out << inClause(k.column, quotedList(stored));
    }
    const QString tel = value(c, "tel");
    if (!tel.isEmpty())
        out << containsStored(QStringLiteral("contacts"), scr(tel));
}

// A range on a column with a sort index is written "+column": the planner would otherwise
// answer a filtered page through that narrow index, fetching every listing in the range from
// the table (over a second at a million listings), instead of filtering the book's covering
// index. A page sorted by the column still walks its index for the order.
QString HouseQueryBuilder::rangeColumn(const char *column)
{
    const QString name = QLatin1String(column);
    return indexedSortKeys().contains(name) ? QLatin1Char('+') + name : name;
}

void HouseQueryBuilder::addRanges(const QVariantMap &c, QStringList &out) const
{
    for (const KeyColumn &k : kNumberRanges) {
        const QString low = number(text(c.value(QLatin1String(k.key) + QLatin1String("_up"))));
        const QString high = number(text(c.value(QLatin1String(k.key) + QLatin1String("_down"))));
        if (!low.isEmpty())
            out << rangeColumn(k.column) + QLatin1String(" >= ") + low;
        if (!high.isEmpty())
            out << rangeColumn(k.column) + QLatin1String(" <= ") + high;
    }
    for (const KeyColumn &k : kDateRanges) {
        const QString low = dateBound(text(c.value(QLatin1String(k.key) + QLatin1String("_up"))), false);
        const QString high = dateBound(text(c.value(QLatin1String(k.key) + QLatin1String("_down"))), true);
        if (!low.isEmpty())
            out << rangeColumn(k.column) + QLatin1String(" >= ") + quoted(low);
        if (!high.isEmpty())
            out << rangeColumn(k.column) + QLatin1String(" <= ") + quoted(high);
    }
}

void HouseQueryBuilder::addWordChoices(const QVariantMap &c, QStringList &out) const
{
    const QString keys = value(c, "keys");
    if (keys == QStringLiteral("有钥匙"))
        out << QStringLiteral("(length(yaoshiren) > 0 or havekeys = 1)");
    else if (keys == QStringLiteral("无钥匙"))
        out << QStringLiteral("(havekeys = 0 and length(yaoshiren) = 0)");
    const QString pic = value(c, "pic");
    if (pic == QStringLiteral("有图") || pic == QStringLiteral("无图"))
        out << QStringLiteral("length(photo) %1 0").arg(pic == QStringLiteral("有图") ? QStringLiteral(">") : QStringLiteral("<="));
    const QString follow = value(c, "follow");
    if (follow == QStringLiteral("有跟进") || follow == QStringLiteral("无跟进"))
        out << QStringLiteral("length(follows) %1 0").arg(follow == QStringLiteral("有跟进") ? QStringLiteral(">") : QStringLiteral("<="));
    const QString school = value(c, "school");
    if (school == QStringLiteral("有学区"))
        out << QStringLiteral("(length(primaryschool) > 0 or length(middleschool) > 0)");
    else if (school == QStringLiteral("无学区"))
        out << QStringLiteral("(length(primaryschool) = 0 and length(middleschool) = 0)");
    const QString garage = value(c, "carhouse");
    if (garage.startsWith(QStringLiteral("有")) || garage.startsWith(QStringLiteral("无")))
        out << QStringLiteral("havegarage = %1").arg(garage.startsWith(QStringLiteral("有")) ? 1 : 0);
    QStringList levels;
    for (const QString &word : items(c.value(QStringLiteral("quanXian")))) {
        const bool isPublic = word.endsWith(QStringLiteral("公盘")), isPrivate = word.endsWith(QStringLiteral("私盘"));
        const bool isCompany = word.startsWith(QStringLiteral("公司")), isStore = word.startsWith(QStringLiteral("门店"));
        if ((isPublic || isPrivate) && (isCompany || isStore))
            levels << QStringLiteral("(stype = %1 and sf = %2)").arg(isPrivate ? 1 : 0).arg(isStore ? 1 : 0);
    }
    if (!levels.isEmpty())
        out << QLatin1Char('(') + levels.join(QLatin1String(" or ")) + QLatin1Char(')');
}

// The entering people, departments and companies, and the chosen role holders.
void HouseQueryBuilder::addPeople(const QVariantMap &c, QStringList &out) const
{
    QStringList phones, depts, companies;
    for (const char *key : {"lurupeople", "lurudept"}) {
        for (const QVariant &v : nodesOf(c.value(QLatin1String(key)))) {
            const QVariantMap node = v.toMap();
            if (!nodeValue(node, "phone").isEmpty())
                phones << scr(nodeValue(node, "phone"));
            else if (isCompanyNode(node))
                companies << nodeValue(node, "companyid");
            else
                depts << nodeValue(node, "dept_id");
        }
    }
    QStringList chosen{inClause("userphone", quotedList(phones)), inClause("deptid", integerList(depts)),
                       inClause("fbcompanyid", integerList(companies))};
    chosen.removeAll(QString());
    if (!chosen.isEmpty())
        out << QLatin1Char('(') + chosen.join(QLatin1String(" or ")) + QLatin1Char(')');

    QStringList holders;
    for (const KeyColumn &k : kRoleHolders) {
        for (const QVariant &v : nodesOf(c.value(QLatin1String(k.key)))) {
            const QString phone = nodeValue(v.toMap(), "phone");
            if (!phone.isEmpty())
                holders << QStringLiteral("(%1 and stype = 0 and sf = 0)")
                               .arg(containsStored(QLatin1String(k.column), QLatin1Char('"') + scr(phone) + QLatin1Char('"')));
        }
    }
    if (!holders.isEmpty())
        out << QLatin1Char('(') + holders.join(QLatin1String(" or ")) + QLatin1Char(')');
}

// 已团队协作 / 待团队协作: public company listings whose chosen roles are held / not held.
void HouseQueryBuilder::addCooperation(const QVariantMap &c, QStringList &out) const
{
    struct Kind
    {
        const char *key;
        const char *prefix;
        const char *comparison;
    };
    const Kind kinds[] = {{"xiezuo", "已", "> 0"}, {"xiezuo_null", "待", "= 0"}};
    for (const Kind &kind : kinds) {
        QStringList parts;
        for (const QString &word : items(c.value(QLatin1String(kind.key)))) {
            for (const KeyColumn &k : kCooperationWords) {
                if (word == QString::fromUtf8(kind.prefix) + QString::fromUtf8(k.key))
                    parts << QStringLiteral("length(%1) %2").arg(QLatin1String(k.column), QLatin1String(kind.comparison));
            }
        }
        if (!parts.isEmpty())
            out << QStringLiteral("(sf = 0 and stype = 0)") << parts;
    }
}
