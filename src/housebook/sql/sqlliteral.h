#pragma once
// Literals for the SQL text the record stores build. Every text a user typed goes through
// these: texts lose the characters no stored text holds, search texts and lists are cut to a
// bounded size, quotes are doubled, numbers are checked to be numbers, and like-patterns keep
// the "<%>" wildcard scheme (turned into "%" by finalized() just before execution) while the
// user's own "%", "_" and "\" match literally.
#include <QString>
#include <QStringList>
#include <QVariant>

namespace SqlLiteral {

// The longest search text and the most items of a list condition a statement is built from.
// Longer ones are cut: a statement stays far below SQLite's limits on statement size, like
// patterns and expression depth, and the list page tells the agent that it searched less.
constexpr int kMaxSearchText = 100;
constexpr int kMaxSearchItems = 50;

// The text without the characters no stored text holds: U+0000, lone surrogates and the
// Unicode non-characters (U+FDD0..U+FDEF and the last two code points of every plane). The
// driver hands the statement to SQLite as UTF-16, whose decoder reads a lone surrogate
// together with the code unit after it (a doubled quote loses its first half) and stops at a
// NUL (the rest of the statement is never seen); a literal of valid text stays one literal.
QString validText(const QString &text);

// 'text' with its quotes doubled. A "<%>" inside the text is kept from the wildcard step.
QString quoted(const QString &text);
// "'a','b'" of the items, empty items dropped.
QString quotedList(const QStringList &items);
// The containment pattern '<%>text<%>' for "like"; the text's own wildcards are escaped and an
// "escape '\'" clause follows when that was needed.
QString containsPattern(const QString &text);
// "instr(column, 'text') > 0": a scrambled text within a scrambled column. Not "like", which
// ignores the letter case of the scrambled form and so finds texts that differ from it.
QString containsStored(const QString &column, const QString &storedText);
// The pattern 'text' for "like" without wildcards: the whole text, letter case aside.
QString exactPattern(const QString &text);
// The text of a finite number, or empty when text is not one.
QString number(const QString &text);
// The text of an integer, or empty when text is not one.
QString integer(const QString &text);
// "1,2,3" of the items that are integers; the others are dropped.
QString integerList(const QStringList &items);
// Items of a comma list (or of a variant list) as search texts (see text()), empty ones
// dropped; at most kMaxSearchItems.
QStringList items(const QVariant &value);
// A condition value as one search text: valid, trimmed, at most kMaxSearchText characters
// (a surrogate pair is never cut in two). A list gives its items joined with ",".
QString text(const QVariant &value);
// The agent gave something (not only white space), of which nothing searchable is left: a
// search for it matches nothing, as no stored text holds those characters.
bool isUnmatchable(const QVariant &value);
// text() cut the value short.
bool isCut(const QVariant &value);
// items() cut the value short: too many items, or an item too long.
bool itemsCut(const QVariant &value);
// The statement as executed: "<%>" becomes "%" (a "<%>" of a quoted text stays as it is).
QString finalized(const QString &sql);

} // namespace SqlLiteral
