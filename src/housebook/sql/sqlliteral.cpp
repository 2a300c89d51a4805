#include "sql/sqlliteral.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

const QLatin1String kWildcard("<%>");
// Written between the "<" and "%" of a "<%>" inside a quoted text, so that the wildcard step
// leaves it alone, and removed by that step. A non-character: no valid text holds it.
const QChar kWildcardGuard(0xFDD0);

bool isNonCharacter(uint codePoint)
{
    return (codePoint >= 0xFDD0 && codePoint <= 0xFDEF) || (codePoint & 0xFFFE) == 0xFFFE;
}

QString doubledQuotes(const QString &text)
{
    return SqlLiteral::validText(text).replace(QLatin1Char('\''), QLatin1String("''"));
}

bool needsRepair(const QString &text)
{
    for (const QChar c : text) {
        if (c.isNull() || c.isSurrogate() || isNonCharacter(c.unicode()))
            return true;
    }
    return false;
}

bool hasLikeSpecials(const QString &text)
{
    return text.contains(QLatin1Char('%')) || text.contains(QLatin1Char('_')) || text.contains(QLatin1Char('\\'));
}

// 'edge text edge' for "like", the text's own wildcards escaped, with the escape clause when
// that was needed.
QString likePattern(const QString &text, QLatin1String edge)
{
    QString escaped = SqlLiteral::validText(text);
    const bool needsEscape = hasLikeSpecials(escaped);
    if (needsEscape) {
        escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
        escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    }
    // A "<%>" of the text itself has had its "%" escaped, so the wildcard step leaves it alone.
    const QString pattern = QLatin1Char('\'') + edge + doubledQuotes(escaped) + edge + QLatin1Char('\'');
    return needsEscape ? pattern + QLatin1String(" escape '\\'") : pattern;
}

// At most kMaxSearchText units of an already valid, trimmed text.
QString shortened(const QString &text)
{
    if (text.size() <= SqlLiteral::kMaxSearchText)
        return text;
    int size = SqlLiteral::kMaxSearchText;
    if (text.at(size - 1).isHighSurrogate())
        --size;
    return text.left(size).trimmed();
}

QString searchText(const QString &raw)
{
    return shortened(SqlLiteral::validText(raw).trimmed());
}

bool isList(const QVariant &value)
{
    return value.type() == QVariant::List || value.type() == QVariant::StringList;
}

// The items as given: a list's entries, or the parts of a comma list.
QStringList rawItems(const QVariant &value)
{
    if (isList(value))
        return value.toStringList();
    static const QRegularExpression separators(QStringLiteral("[,，]"));
    return value.toString().split(separators);
}

} // namespace

namespace SqlLiteral {

QString validText(const QString &text)
{
    if (!needsRepair(text))
        return text;
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const QChar low = text.at(++i);
            if (!isNonCharacter(QChar::surrogateToUcs4(c, low)))
                out.append(c).append(low);
        } else if (!c.isNull() && !c.isSurrogate() && !isNonCharacter(c.unicode())) {
            out += c;
        }
    }
    return out;
}

QString quoted(const QString &text)
{
    QString escaped = doubledQuotes(text);
    escaped.replace(kWildcard, QLatin1Char('<') + kWildcardGuard + QLatin1String("%>"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString quotedList(const QStringList &values)
{
    QStringList parts;
    for (const QString &v : values) {
        if (!v.isEmpty())
            parts << quoted(v);
    }
    return parts.join(QLatin1Char(','));
}

QString containsPattern(const QString &text)
{
    return likePattern(text, QLatin1String("<%>"));
}

QString containsStored(const QString &column, const QString &storedText)
{
    return QLatin1String("instr(") + column + QLatin1String(", ") + quoted(storedText) + QLatin1String(") > 0");
}

QString exactPattern(const QString &text)
{
    return likePattern(text, QLatin1String(""));
}

QString number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return QString();
    return QString::number(value, 'g', 15);
}

QString integer(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok ? QString::number(value) : QString();
}

QString integerList(const QStringList &values)
{
    QStringList parts;
    for (const QString &v : values) {
        const QString n = integer(v);
        if (!n.isEmpty())
            parts << n;
    }
    return parts.join(QLatin1Char(','));
}

QStringList items(const QVariant &value)
{
    QStringList out;
    for (const QString &item : rawItems(value)) {
        const QString t = searchText(item);
        if (!t.isEmpty())
            out << t;
        if (out.size() == kMaxSearchItems)
            break;
    }
    return out;
}

QString text(const QVariant &value)
{
    if (isList(value))
        return items(value).join(QLatin1Char(','));
    return searchText(value.toString());
}

bool isUnmatchable(const QVariant &value)
{
    const QStringList given = rawItems(value);
    const bool dropped = std::any_of(given.cbegin(), given.cend(), [](const QString &t) { return needsRepair(t); });
    return dropped && items(value).isEmpty();
}

bool isCut(const QVariant &value)
{
    if (isList(value))
        return itemsCut(value);
    return validText(value.toString()).trimmed().size() > kMaxSearchText;
}

bool itemsCut(const QVariant &value)
{
    int count = 0;
    for (const QString &item : rawItems(value)) {
        const QString t = validText(item).trimmed();
        if (t.size() > kMaxSearchText || (!t.isEmpty() && ++count > kMaxSearchItems))
            return true;
    }
    return false;
}

QString finalized(const QString &sql)
{
    QString out = sql;
    out.replace(kWildcard, QLatin1String("%"));
    return out.remove(kWildcardGuard);
}

} // namespace SqlLiteral
