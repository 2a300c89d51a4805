#include "widgets/forms/choicecombobox.h"

#include "sql/basemessage_sqltable.h"

ChoiceComboBox::ChoiceComboBox(QWidget *parent)
    : QComboBox(parent)
{
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this] { emit valueChanged(value()); });
}

void ChoiceComboBox::setChoiceList(const QString &column, bool emptyFirst, bool jointSale)
{
    setChoiceList(column, QString(), emptyFirst, jointSale);
}

void ChoiceComboBox::setChoiceList(const QString &column, const QString &member, bool emptyFirst,
                                   bool jointSale)
{
    BaseMessage_SqlTable reference(nullptr, jointSale);
    setChoices(member.isEmpty() ? reference.names(column) : reference.settingNames(column, member),
               emptyFirst);
}

void ChoiceComboBox::setChoiceListOr(const QString &column, const QStringList &fallback, bool emptyFirst,
                                     bool jointSale)
{
    const QStringList stored = BaseMessage_SqlTable(nullptr, jointSale).names(column);
    setChoices(stored.isEmpty() ? fallback : stored, emptyFirst);
}

void ChoiceComboBox::setChoices(const QStringList &choices, bool emptyFirst)
{
    const QSignalBlocker quiet(this);
    clear();
    m_choices = choices;
    m_emptyFirst = emptyFirst;
    if (emptyFirst)
        addItem(QString());
    addItems(choices);
    setCurrentIndex(count() > 0 ? 0 : -1);
}

QString ChoiceComboBox::value() const
{
    if (currentIndex() < 0 || (m_emptyFirst && currentIndex() == 0))
        return QString();
    return currentText();
}

void ChoiceComboBox::setValue(const QString &text)
{
    if (text.isEmpty()) {
        setCurrentIndex(m_emptyFirst ? 0 : -1);
        return;
    }
    const int first = m_emptyFirst ? 1 : 0;
    int index = findText(text, Qt::MatchExactly);
    if (index < first) {
        addItem(text);
        index = count() - 1;
    }
    setCurrentIndex(index);
}
