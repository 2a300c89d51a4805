#pragma once
// Several-of-a-list choices (tags, traffic, facilities, attached facts) as a grid of
// checkable buttons. The value travels as the server's comma-joined text, items in the
// order of the list.
#include <QList>
#include <QStringList>
#include <QWidget>

class QGridLayout;
class QPushButton;

class TagChooserWidget : public QWidget
{
    Q_OBJECT
public:
    static const QChar Separator;

    explicit TagChooserWidget(QWidget *parent = nullptr, int columns = 4);

    // Replaces the buttons. Checked items stay checked; one the new list lacks keeps a
    // button of its own.
    void setChoices(const QStringList &choices);
    QStringList choices() const;

    // At most this many items can be checked (0: no limit). A further click is refused and
    // reported with limitReached().
    void setMaxChecked(int max) { m_maxChecked = max; }
    int maxChecked() const { return m_maxChecked; }

    QStringList checkedItems() const;
    QString value() const;
    // Checks the items of a joined text (blanks around items ignored). Items the list does
    // not offer (a record's older choices) get a button of their own, so they survive a save.
    void setValue(const QString &joined);
    void setCheckedItems(const QStringList &items);

    QPushButton *button(const QString &item) const;

signals:
    void valueChanged(const QString &value);
    void limitReached(int max);

private:
    QPushButton *addButton(const QString &item);
    // Checks exactly these items, adding buttons for unknown ones; no signals.
    void check(const QStringList &items);
    void buttonToggled(QPushButton *button, bool checked);

    QGridLayout *m_grid = nullptr;
    int m_columns;
    int m_maxChecked = 0;
    QList<QPushButton *> m_buttons;
};
