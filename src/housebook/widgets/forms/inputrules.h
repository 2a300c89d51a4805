#pragma once
// The numeric input rules of the entry forms and editors, usable on any QLineEdit:
// - integers (floors, counts): an optional minus sign and digits;
// - decimals (areas, prices, rents): at most six integer digits and four decimals, no
//   leading zero before other digits, or nothing at all (a tab alone counts as nothing).
#include <QString>

class QLineEdit;
class QObject;
class QRegularExpression;
class QValidator;

namespace InputRules {

enum Rule { AnyText, Integer, Decimal };

QRegularExpression pattern(Rule rule);
// A validator for the rule, owned by parent; null for AnyText.
QValidator *validator(Rule rule, QObject *parent);
// Installs the rule's validator on the edit (removes any validator for AnyText).
void apply(QLineEdit *edit, Rule rule);
// Whether a complete value satisfies the rule (a half-typed "-" or "12." does not).
bool accepts(Rule rule, const QString &text);

} // namespace InputRules
