#include "sql/housequerybuilder.h"

#include "platform/housebookcodes.h"
#include "sql/houserecord.h"
#include "sql/sqlliteral.h"
#include "sql/textscramble.h"

#include <QHash>
#include <QRegularExpression>

using namespace SqlLiteral;
using namespace HouseBookCodes;

namespace {

const QString kOffShelfWord = QStringLiteral("待处理");
const QString kReviewFalse = QStringLiteral("\"review\":false");

QString scr(const QString &text)
{
    return TextScramble::scramble(text);
}

// The words of a keyword: separated by commas or white space.
QStringList wordsOf(const QString &keyWord)
{
    static const QRegularExpression separators(QStringLiteral("[,，\\s]+"));
    return keyWord.split(separators, Qt::SkipEmptyParts);
}

QString joined(const QStringList &parts, const char *separator)
{
    return parts.join(QLatin1String(separator));
}

// "like" of a role column holding a pending review.
QString pendingReview(const QString &column)
{
    return column + QLatin1String(" like ") + containsPattern(kReviewFalse);
}

QString anyPendingReview()
{
    QStringList parts;
    for (const QString &role : HouseRecord::roleColumns())
        parts << pendingReview(role);
    return QLatin1Char('(') + joined(parts, " or ") + QLatin1Char(')');
}

// The words of the worklists and quick filters.
const QHash<QString, QString> &tagWordClauses()
{
    static const QHash<QString, QString> words = [] {
        QHash<QString, QString> h{
            {kOffShelfWord, QStringLiteral("housestatus = 0")},
            {QStringLiteral("封盘"), QStringLiteral("fengpan = 1")},
            {QStringLiteral("锁盘"), QStringLiteral("suopan = 1")},
            {QStringLiteral("独家"), QStringLiteral("hbdujia = 1")},
            {QStringLiteral("视频"), QStringLiteral("havevideo = 1")},
            {QStringLiteral("安选"), QStringLiteral("anxuan = 1")},
            {QStringLiteral("VR"), QStringLiteral("length(vrurl) > 0")},
            {QStringLiteral("待审核房源"), QStringLiteral("shenhestatus == 1")},
            {QStringLiteral("联卖"), QStringLiteral("aboutid > 0")},
            {QStringLiteral("全景"), QStringLiteral("length(quanjing) > 0")},
            {QStringLiteral("待审核"), anyPendingReview()}};
        const QList<QPair<QString, QString>> roles{
            {QStringLiteral("录入人"), QStringLiteral("lururen")},   {QStringLiteral("维护人"), QStringLiteral("weihuren")},
            {QStringLiteral("委托人"), QStringLiteral("weituoren")}, {QStringLiteral("实勘人"), QStringLiteral("shikanren")},
            {QStringLiteral("钥匙人"), QStringLiteral("yaoshiren")}, {QStringLiteral("独家代理人"), QStringLiteral("dujiaren")},
            {QStringLiteral("独家人"), QStringLiteral("dujiaren")},  {QStringLiteral("成交人"), QStringLiteral("chengjiaoren")}};
        for (const auto &r : roles)
            h.insert(QStringLiteral("待审核") + r.first, pendingReview(r.second));
        return h;
    }();
    return words;
}

QString tagWordClause(const QString &word)
{
    const QString key = word.compare(QLatin1String("vr"), Qt::CaseInsensitive) == 0 ? QStringLiteral("VR") : word;
    return tagWordClauses().value(key);
}

} // namespace

HouseQueryBuilder::HouseQueryBuilder(const Scope &scope) : m_scope(scope)
{
}

QString HouseQueryBuilder::myPhone() const
{
    return scr(m_scope.userPhone);
}

QString HouseQueryBuilder::whereClause(const HouseQuery &query, const QStringList &extraClauses) const
{
    const QStringList all = clauses(query) + extraClauses;
    return all.isEmpty() ? QString() : QLatin1String("where ") + joined(all, " and ");
}

QStringList HouseQueryBuilder::clauses(const HouseQuery &query) const
{
    QStringList all = scopeClauses() + kindClauses(query);
    if (!query.ids.isEmpty())
        all << idColumn() + QLatin1String(" in(") + integerList(query.ids) + QLatin1Char(')');
    all << conditionClauses(query.conditions) << filterClauses(query.columnFilters);
    return all;
}

QStringList HouseQueryBuilder::scopeClauses() const
{
    return {QStringLiteral("(cityid = %1)").arg(m_scope.cityId),
            QStringLiteral("(companyid = %1 or companyid = 0)").arg(m_scope.companyId),
            QStringLiteral("(%1 or length(realuserphone) = 0)")
                .arg(containsStored(QStringLiteral("phonerange"), myPhone())),
            QStringLiteral("(isdel = 0)")};
}

// The user owns the listing, or holds one of its roles on a public company listing.
QString HouseQueryBuilder::mineClause(bool sale) const
{
    QStringList roles;
    for (const QString &role : HouseRecord::roleColumns()) {
        if (sale || role != QLatin1String("dujiaren"))
            roles << containsStored(role, myPhone());
    }
    return QStringLiteral("(userphone = %1 or ((%2) and sf = 0 and stype = 0))")
        .arg(quoted(myPhone()), joined(roles, " or "));
}

QStringList HouseQueryBuilder::kindClauses(const HouseQuery &query) const
{
    switch (query.mode) {
    case ActiveSaleMode:
        return {QStringLiteral("types = 0"), QStringLiteral("housestatus = 1")};
    case ActiveRentMode:
        return {QStringLiteral("types = 1"), QStringLiteral("housestatus = 1")};
    case MyRentMode:
    case MySaleMode:
    case AllSaleMode:
    case AllRentMode:
        break;
    default:
        return {};
    }
    const bool sale = isSaleMode(query.mode);
    QStringList out{sale ? QStringLiteral("types = 0") : QStringLiteral("types = 1")};
    if (query.mode == MyRentMode || query.mode == MySaleMode)
        out << mineClause(sale);
    if (query.activeOnly && !includesOffShelf(query.conditions))
        out << QStringLiteral("housestatus = 1");
    return out;
}

bool HouseQueryBuilder::includesOffShelf(const QVariantMap &conditions)
{
    const QString keyWord = text(conditions.value(QStringLiteral("keyWord")));
    return wordsOf(keyWord).contains(kOffShelfWord);
}

QStringList HouseQueryBuilder::keywordClauses(const QString &keyWord) const
{
    QStringList out;
    QStringList freeWords;
    for (const QString &word : wordsOf(keyWord)) {
        const QString clause = tagWordClause(word);
        if (clause.isEmpty())
            freeWords << word;
        else if (!out.contains(clause))
            out << clause;
    }
    if (!freeWords.isEmpty())
        out << freeTextClause(freeWords.join(QLatin1Char(' ')));
    return out;
}

// Names are scrambled whole, so a part of a community's name (or its other name or pinyin) is
// found through the community table, which is kept in clear; the listing's own community name
// matches as a whole, and a number as the listing number.
QString HouseQueryBuilder::freeTextClause(const QString &text) const
{
    QStringList parts;
    if (m_scope.hasCommunityTable)
        parts << communityNameMatch(text);
    parts << QLatin1String("name = ") + quoted(scr(text));
    const QString id = integer(text);
    if (!id.isEmpty())
        parts << idColumn() + QLatin1String(" = ") + id;
    return QLatin1Char('(') + joined(parts, " or ") + QLatin1Char(')');
}

QString HouseQueryBuilder::communityNameMatch(const QString &name) const
{
    const QString p = containsPattern(name);
    return QStringLiteral("mycommunityid in(select id from community where name like %1 or othrename like %1 "
                          "or pinyin like %1)")
        .arg(p);
}

QStringList HouseQueryBuilder::filterClauses(const QVariantMap &filters) const
{
    static const QStringList containment{QStringLiteral("contacts"), QStringLiteral("peitao"),
                                         QStringLiteral("traffic"), QStringLiteral("tags"), QStringLiteral("follows")};
    QStringList out;
    for (auto it = filters.cbegin(); it != filters.cend(); ++it) {
        const QString column = it.key();
        const QString value = text(it.value());
        if (!HouseRecord::isColumn(column) || value.isEmpty())
            continue;
        const QString target = column == QLatin1String("id") ? idColumn() : column;
        if (column == QLatin1String("follows")) {
            out << target + QLatin1String(" like ") + containsPattern(value);
        } else if (containment.contains(column)) {
            out << containsStored(target, scr(value));
        } else if (HouseRecord::isTextColumn(column)) {
            out << target + QLatin1String(" = ") + quoted(HouseRecord::toStored(column, value).toString());
        } else if (!number(value).isEmpty()) {
            out << target + QLatin1String(" = ") + number(value);
        }
    }
    return out;
}

QString HouseQueryBuilder::orderClause(const QString &sortKey, bool descending)
{
    const QString column = HouseRecord::isColumn(sortKey) ? sortKey : QStringLiteral("id");
    return QStringLiteral("order by istop desc, %1 %2").arg(column, descending ? QStringLiteral("desc") : QStringLiteral("asc"));
}

const QStringList &HouseQueryBuilder::indexedSortKeys()
{
    static const QStringList keys{QStringLiteral("id"),          QStringLiteral("price"),
                                  QStringLiteral("unitprice"),   QStringLiteral("builtuparea"),
                                  QStringLiteral("createtime"),  QStringLiteral("lasttime"),
                                  QStringLiteral("followtime")};
    return keys;
}

QString HouseQueryBuilder::pinnedSplitPage(const QString &select, const QString &table, const QString &where,
                                           const QString &sortKey, bool descending, int page, int pageSize)
{
    // Concatenated, not arg()ed: a second arg() pass could find "%1" inside a searched text.
    const QString arm = QLatin1String("select ") + select + QLatin1String(" from ") + table + QLatin1Char(' ') + where
                        + (where.isEmpty() ? QLatin1String("where ") : QLatin1String(" and ")) + QLatin1String("istop = ");
    return arm + QLatin1Char('1') + QLatin1String(" union all ") + arm + QLatin1Char('0') + QLatin1Char(' ')
           + orderClause(sortKey, descending) + QLatin1Char(' ') + pagingClause(page, pageSize);
}

QString HouseQueryBuilder::pagingClause(int page, int pageSize)
{
    const int size = qMax(1, pageSize);
    const qint64 offset = qint64(qMax(1, page) - 1) * size;
    return QStringLiteral("limit %1 offset %2").arg(size).arg(offset);
}

QString HouseQueryBuilder::selectList(const QStringList &fields, const QStringList &required)
{
    if (fields.isEmpty())
        return QStringLiteral("*");
    QStringList columns;
    for (const QString &f : fields + required) {
        if (HouseRecord::isColumn(f) && !columns.contains(f))
            columns << f;
    }
    return columns.isEmpty() ? QStringLiteral("*") : columns.join(QLatin1Char(','));
}
