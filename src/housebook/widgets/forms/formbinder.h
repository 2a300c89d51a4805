#pragma once
// A form declared as a table of fields. Each row ties a widget (by object name) to the key
// it is posted under and to the record field it is filled from; the binder fills the
// widgets from a record, collects the post form in table order and finds the first field
// that cannot be sent. Widgets it understands: line edits (UnitLineEdit included), text
// edits, combo boxes (ChoiceComboBox included), spin boxes, checkable buttons and
// TagChooserWidget. A row may instead compute its value (ids, JSON texts, constants) so a
// whole post form stays one table in the order the server expects.
#include "widgets/forms/inputrules.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <functional>

struct FormField
{
    enum Kind {
        Text,    // any text
        Integer, // InputRules::Integer
        Decimal, // InputRules::Decimal
        Choice,  // a combo box's chosen text
        Check,   // a checkable button, "1" or "0"
        Tags     // a tag chooser's joined text
    };
    enum Flag {
        NoFlags = 0,
        SkipEmpty = 1, // posted only when it has a value
        Required = 2   // must have a value; numbers must also differ from 0
    };

    // Rows are written as {objectName, postKey, recordField, kind[, flags[, message]]}.
    FormField(const QString &objectName, const QString &postKey, const QString &recordField,
              Kind kind = Text, int flags = NoFlags, const QString &message = QString())
        : objectName(objectName), postKey(postKey), recordField(recordField), kind(kind),
          flags(flags), message(message)
    {
    }

    // A posted row without a widget: its value comes from compute (read at collect time).
    static FormField computed(const QString &postKey, std::function<QString()> compute,
                              int flags = NoFlags)
    {
        FormField field(QString(), postKey, QString(), Text, flags);
        field.compute = std::move(compute);
        return field;
    }
    static FormField constant(const QString &postKey, const QString &value)
    {
        return computed(postKey, [value] { return value; });
    }

    QString objectName;
    QString postKey;     // "" when the field is not posted
    QString recordField; // "" when the field is not filled from a record
    Kind kind;
    int flags;
    QString message;     // what the user is told when a required field is empty
    std::function<QString()> compute; // set for computed rows only
};

class FormBinder
{
public:
    using PostForm = QList<QPair<QString, QString>>;

    struct Problem
    {
        int row = -1; // -1: nothing wrong
        QString objectName;
        QString message;
        QWidget *widget = nullptr;
        bool isValid() const { return row < 0; }
    };

    // Installs the numeric rules on the line edits of number rows.
    FormBinder(QWidget *form, const QList<FormField> &fields);

    const QList<FormField> &fields() const { return m_fields; }
    QWidget *widget(const QString &objectName) const;
    // Object names of rows whose widget the form lacks; empty for a complete form.
    QStringList missingWidgets() const;
    // The table without the widget rows the form lacks: one table can serve forms that
    // build only some of its widgets. Computed rows are kept.
    static QList<FormField> presentIn(QWidget *form, const QList<FormField> &fields);

    // Sets every row whose record field the record holds; other rows keep their values.
    void fill(const QVariantMap &record);
    QString value(const QString &objectName) const;
    void setValue(const QString &objectName, const QVariant &value);

    // Posted rows in table order.
    PostForm collect() const;
    static QVariantMap toMap(const PostForm &form);
    // The percent-encoded body ("k1=v1&k2=v2") in the form's order.
    static QByteArray toBody(const PostForm &form);

    // The first row, in table order, that breaks its rule or is required and empty.
    Problem firstProblem() const;

private:
    QString valueOf(const FormField &field) const;
    void setValueOf(const FormField &field, const QVariant &value);
    bool isEmptyValue(const FormField &field, const QString &text) const;
    const FormField *row(const QString &objectName) const;

    QPointer<QWidget> m_form;
    QList<FormField> m_fields;
};
