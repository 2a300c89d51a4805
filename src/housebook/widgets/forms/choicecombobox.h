#pragma once
// A combo box of one choice list: either a list of the house book's reference data (by its
// column, e.g. "zhuangxiu", "housetype", "payway", or a member of a settings object such as
// "customerrentset" / "fukuan") or a fixed list given by the form. An optional empty first
// entry stands for "not chosen" and reads as "".
#include <QComboBox>
#include <QStringList>

class ChoiceComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ChoiceComboBox(QWidget *parent = nullptr);

    // Fills the combo from the stored reference data of the joint-sale book (or of the
    // agency's own book). An empty or unreadable list leaves only the empty entry, if any.
    void setChoiceList(const QString &column, bool emptyFirst = false, bool jointSale = true);
    void setChoiceList(const QString &column, const QString &member, bool emptyFirst = false,
                       bool jointSale = true);
    void setChoices(const QStringList &choices, bool emptyFirst = false);
    // The stored list of the column, or the fallback when the store has none yet (a book
    // whose reference data was never downloaded still offers the usual choices).
    void setChoiceListOr(const QString &column, const QStringList &fallback, bool emptyFirst = false,
                         bool jointSale = true);

    QStringList choices() const { return m_choices; }
    bool hasEmptyEntry() const { return m_emptyFirst; }

    // The chosen text; "" for the empty entry or when nothing is chosen.
    QString value() const;
    // Selects the entry of that text. A value the list lacks (an older record's choice) is
    // added at the end so that saving the record again keeps it; "" selects the empty entry
    // or, without one, nothing.
    void setValue(const QString &text);

signals:
    void valueChanged(const QString &text);

private:
    QStringList m_choices;
    bool m_emptyFirst = false;
};
