#pragma once
// Literals for the SQL text the record stores build. Every text a user typed goes through
// these: texts are made valid Unicode without NUL, quotes are doubled, numbers are checked to
// be numbers, and like-patterns keep the "<%>" wildcard scheme (turned into "%" by finalized()
// just before execution) while the user's own "%", "_" and "\" match literally.
#include <QString>
#include <QStringList>
#include <QVariant>

namespace SqlLiteral {

// The text with each lone surrogate replaced by U+FFFD and every U+0000 dropped. The driver
// hands the statement to SQLite as UTF-16, whose decoder reads a lone surrogate together
// with the code unit after it (a doubled quote loses its first half) and stops at a NUL (the
// rest of the statement is never seen); a literal of valid text stays one literal.
QString validText(const QString &text);

// 'text' with its quotes doubled. A "<%>" inside the text is split so that the wildcard step
// cannot turn it into "%".
QString quoted(const QString &text);
// "'a','b'" of the items, empty items dropped.
QString quotedList(const QStringList &items);
// The containment pattern '<%>text<%>' for "like"; the text's own wildcards are escaped and an
// "escape '\'" clause follows when that was needed.
QString containsPattern(const QString &text);
// The pattern 'text' for "like" without wildcards: the whole text, letter case aside.
QString exactPattern(const QString &text);
// The text of a finite number, or empty when text is not one.
QString number(const QString &text);
// The text of an integer, or empty when text is not one.
QString integer(const QString &text);
// "1,2,3" of the items that are integers; the others are dropped.
QString integerList(const QStringList &items);
// Items of a comma list (or of a variant list), trimmed, empty ones dropped.
QStringList items(const QVariant &value);
// A condition value as one trimmed text (lists joined with ",").
QString text(const QVariant &value);
// The statement as executed: "<%>" becomes "%".
QString finalized(const QString &sql);

} // namespace SqlLiteral
