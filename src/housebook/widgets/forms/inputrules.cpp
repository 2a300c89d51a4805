#include "widgets/forms/inputrules.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace InputRules {

QRegularExpression pattern(Rule rule)
{
    switch (rule) {
    case Integer:
        return QRegularExpression(QStringLiteral("-?[0-9]+$"));
    case Decimal:
        return QRegularExpression(QStringLiteral("^(-?[0]|-?[1-9][0-9]{0,5})(?:\\.\\d{1,4})?$|(^\\t?$)"));
    case AnyText:
        break;
    }
    return QRegularExpression(QStringLiteral(".*"), QRegularExpression::DotMatchesEverythingOption);
}

QValidator *validator(Rule rule, QObject *parent)
{
    if (rule == AnyText)
        return nullptr;
    return new QRegularExpressionValidator(pattern(rule), parent);
}

void apply(QLineEdit *edit, Rule rule)
{
    if (!edit)
        return;
    edit->setValidator(validator(rule, edit));
}

bool accepts(Rule rule, const QString &text)
{
    if (rule == AnyText)
        return true;
    // The validator anchors the pattern to the whole text, as typing into the edit would.
    QRegularExpressionValidator check(pattern(rule));
    QString copy = text;
    int pos = 0;
    return check.validate(copy, pos) == QValidator::Acceptable;
}

} // namespace InputRules
