#include "sql/sqlliteral.h"

#include <QRegularExpression>

#include <cmath>

namespace {

const QLatin1String kWildcard("<%>");

QString doubledQuotes(const QString &text)
{
    return SqlLiteral::validText(text).replace(QLatin1Char('\''), QLatin1String("''"));
}

bool needsRepair(const QString &text)
{
    for (const QChar c : text) {
        if (c.isNull() || c.isSurrogate())
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
    const bool needsEscape = hasLikeSpecials(text);
    if (needsEscape) {
        escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
        escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    }
    // A "<%>" of the text itself has had its "%" escaped, so the wildcard step leaves it alone.
    const QString pattern = QLatin1Char('\'') + edge + doubledQuotes(escaped) + edge + QLatin1Char('\'');
    return needsEscape ? pattern + QLatin1String(" escape '\\'") : pattern;
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
            out += c;
            out += text.at(++i);
        } else if (!c.isNull()) {
            out += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
        }
    }
    return out;
}

QString quoted(const QString &text)
{
    const QString escaped = doubledQuotes(text);
    if (!escaped.contains(kWildcard))
        return QLatin1Char('\'') + escaped + QLatin1Char('\'');
    // 'a<' || '%>b': the same text, without the three characters in a row.
    QString split = escaped;
    split.replace(kWildcard, QLatin1String("<' || '%>"));
    return QLatin1String("('") + split + QLatin1String("')");
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
    QStringList raw;
    if (value.type() == QVariant::List || value.type() == QVariant::StringList) {
        for (const QVariant &v : value.toList())
            raw << v.toString();
    } else {
        static const QRegularExpression separators(QStringLiteral("[,，]"));
        raw = value.toString().split(separators);
    }
    QStringList out;
    for (const QString &item : raw) {
        if (!item.trimmed().isEmpty())
            out << item.trimmed();
    }
    return out;
}

QString text(const QVariant &value)
{
    if (value.type() == QVariant::List || value.type() == QVariant::StringList)
        return items(value).join(QLatin1Char(','));
    return value.toString().trimmed();
}

QString finalized(const QString &sql)
{
    QString out = sql;
    return out.replace(kWildcard, QLatin1String("%"));
}

} // namespace SqlLiteral
