#include "widgets/forms/formbinder.h"

#include "net/formencoding.h"
#include "widgets/forms/choicecombobox.h"
#include "widgets/forms/tagchooserwidget.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>

namespace {

InputRules::Rule ruleOf(FormField::Kind kind)
{
    if (kind == FormField::Integer)
        return InputRules::Integer;
    if (kind == FormField::Decimal)
        return InputRules::Decimal;
    return InputRules::AnyText;
}

bool isNumber(FormField::Kind kind)
{
    return kind == FormField::Integer || kind == FormField::Decimal;
}

// A record value as the widgets show it. Doubles keep at most the four decimals the
// decimal rule allows and never turn into an exponent (a price of 1234567 stays so).
QString displayText(const QVariant &value)
{
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::Double:
    case QMetaType::Float: {
        QString text = QString::number(value.toDouble(), 'f', 4);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return text == QLatin1String("-0") ? QStringLiteral("0") : text;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return value.toStringList().join(TagChooserWidget::Separator);
    default:
        return FormEncoding::valueText(value);
    }
}

bool isTrue(const QVariant &value)
{
    if (value.type() == QVariant::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed();
    return text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
           || text.toDouble() != 0;
}

} // namespace

FormBinder::FormBinder(QWidget *form, const QList<FormField> &fields)
    : m_form(form)
    , m_fields(fields)
{
    for (const FormField &field : m_fields) {
        if (isNumber(field.kind))
            InputRules::apply(qobject_cast<QLineEdit *>(widget(field.objectName)), ruleOf(field.kind));
    }
}

QWidget *FormBinder::widget(const QString &objectName) const
{
    // An empty name would match any child.
    if (!m_form || objectName.isEmpty())
        return nullptr;
    return m_form->findChild<QWidget *>(objectName);
}

QList<FormField> FormBinder::presentIn(QWidget *form, const QList<FormField> &fields)
{
    QList<FormField> present;
    for (const FormField &field : fields) {
        if (field.compute || (form && !field.objectName.isEmpty() && form->findChild<QWidget *>(field.objectName)))
            present << field;
    }
    return present;
}

QStringList FormBinder::missingWidgets() const
{
    QStringList missing;
    for (const FormField &field : m_fields) {
        if (!field.compute && !widget(field.objectName))
            missing << field.objectName;
    }
    return missing;
}

const FormField *FormBinder::row(const QString &objectName) const
{
    for (const FormField &field : m_fields) {
        if (field.objectName == objectName)
            return &field;
    }
    return nullptr;
}

void FormBinder::fill(const QVariantMap &record)
{
    for (const FormField &field : m_fields) {
        if (!field.recordField.isEmpty() && record.contains(field.recordField))
            setValueOf(field, record.value(field.recordField));
    }
}

QString FormBinder::value(const QString &objectName) const
{
    const FormField *field = row(objectName);
    return field ? valueOf(*field) : QString();
}

void FormBinder::setValue(const QString &objectName, const QVariant &value)
{
    if (const FormField *field = row(objectName))
        setValueOf(*field, value);
}

QString FormBinder::valueOf(const FormField &field) const
{
    if (field.compute)
        return field.compute();
    QWidget *w = widget(field.objectName);
    QString text;
    if (auto *spin = qobject_cast<QSpinBox *>(w))
        text = QString::number(spin->value());
    else if (auto *tags = qobject_cast<TagChooserWidget *>(w))
        text = tags->value();
    else if (auto *choice = qobject_cast<ChoiceComboBox *>(w))
        text = choice->value();
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        text = combo->currentText();
    else if (auto *edit = qobject_cast<QLineEdit *>(w))
        text = edit->text();
    else if (auto *rich = qobject_cast<QTextEdit *>(w))
        text = rich->toPlainText();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        text = plain->toPlainText();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        text = button->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    // Blanks around a number are no part of it.
    return isNumber(field.kind) ? text.trimmed() : text;
}

void FormBinder::setValueOf(const FormField &field, const QVariant &value)
{
    QWidget *w = widget(field.objectName);
    const QString text = displayText(value);
    if (auto *spin = qobject_cast<QSpinBox *>(w))
        spin->setValue(text.toInt());
    else if (auto *tags = qobject_cast<TagChooserWidget *>(w))
        tags->setValue(text);
    else if (auto *choice = qobject_cast<ChoiceComboBox *>(w))
        choice->setValue(text);
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setCurrentIndex(combo->findText(text));
    else if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(w))
        rich->setPlainText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        plain->setPlainText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        button->setChecked(isTrue(value));
}

// Empty means no text (blanks only count as none), or an unticked box for a check row.
bool FormBinder::isEmptyValue(const FormField &field, const QString &text) const
{
    if (field.kind == FormField::Check)
        return text != QLatin1String("1");
    return text.trimmed().isEmpty();
}

FormBinder::PostForm FormBinder::collect() const
{
    PostForm form;
    for (const FormField &field : m_fields) {
        if (field.postKey.isEmpty())
            continue;
        const QString text = valueOf(field);
        if ((field.flags & FormField::SkipEmpty) && isEmptyValue(field, text))
            continue;
        form.append({field.postKey, text});
    }
    return form;
}

QVariantMap FormBinder::toMap(const PostForm &form)
{
    QVariantMap map;
    for (const auto &pair : form)
        map.insert(pair.first, pair.second);
    return map;
}

QByteArray FormBinder::toBody(const PostForm &form)
{
    QByteArray body;
    for (const auto &pair : form) {
        if (!body.isEmpty())
            body += '&';
        body += FormEncoding::encodeMap({{pair.first, pair.second}});
    }
    return body;
}

FormBinder::Problem FormBinder::firstProblem() const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        const FormField &field = m_fields.at(i);
        const QString text = valueOf(field);
        const bool empty = isEmptyValue(field, text);
        bool bad = !empty && !InputRules::accepts(ruleOf(field.kind), text);
        if (!bad && (field.flags & FormField::Required))
            bad = empty || (isNumber(field.kind) && text.toDouble() == 0);
        if (bad)
            return {i, field.objectName, field.message, widget(field.objectName)};
    }
    return {};
}
