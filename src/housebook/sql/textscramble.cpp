#include "sql/textscramble.h"

#include <QByteArray>
#include <QStringList>

namespace {

const QLatin1String kItemSeparator("qxwcp");

QByteArray xorWith8(QByteArray bytes)
{
    for (char &c : bytes)
        c = char(c ^ 8);
    return bytes;
}

// Moves characters so the result does not read as Base64 at a glance.
QString rearrange(const QString &s)
{
    const int n = s.size();
    if (n >= 10)
        return s.left(3) + s.right(2) + s.mid(3, n - 5);
    if (n >= 5)
        return s.left(1) + s.right(3) + s.mid(1, n - 4);
    return s;
}

QString restore(const QString &s)
{
    const int n = s.size();
    if (n >= 10)
        return s.left(3) + s.right(n - 5) + s.mid(3, 2);
    if (n >= 5)
        return s.left(1) + s.right(n - 4) + s.mid(1, 3);
    return s;
}

bool isBase64(const QByteArray &bytes)
{
    if (bytes.size() % 4 != 0)
        return false;
    for (const char c : bytes) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+'
                        || c == '/' || c == '=';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

namespace TextScramble {

QString scramble(const QString &text)
{
    if (text.isEmpty())
        return QString();
    const QByteArray once = xorWith8(text.toUtf8().toBase64());
    return rearrange(QString::fromLatin1(once.toBase64()));
}

QString unscramble(const QString &text)
{
    if (text.isEmpty())
        return QString();
    const QByteArray outer = restore(text).toLatin1();
    if (!isBase64(outer))
        return QString();
    const QByteArray inner = xorWith8(QByteArray::fromBase64(outer));
    if (!isBase64(inner))
        return QString();
    return QString::fromUtf8(QByteArray::fromBase64(inner));
}

QString scrambleList(const QString &commaList)
{
    QStringList items;
    for (const QString &item : commaList.split(QLatin1Char(','), Qt::SkipEmptyParts))
        items << scramble(item);
    return items.join(kItemSeparator);
}

QString unscrambleList(const QString &stored)
{
    QStringList items;
    for (const QString &item : stored.split(kItemSeparator, Qt::SkipEmptyParts))
        items << unscramble(item);
    return items.join(QLatin1Char(','));
}

} // namespace TextScramble
