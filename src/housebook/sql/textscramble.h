#pragma once
// The reversible scrambling of stored text: local listing texts and the settings file are
// never kept in clear. A value always scrambles to the same text, so equality and
// containment searches still work on scrambled columns.
#include <QString>

namespace TextScramble {

QString scramble(const QString &text);
// Empty when the input is not a scrambled text.
QString unscramble(const QString &text);

// Comma lists are scrambled item by item and joined with "qxwcp"; reading gives "a,b,c".
QString scrambleList(const QString &commaList);
QString unscrambleList(const QString &stored);

} // namespace TextScramble
