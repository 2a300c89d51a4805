#pragma once
// The drop-down items of the search bar: one choice (kind 1), several choices with optional
// sub-choices (kind 7) and the contract step with its state (kind 10). All report through
// comboboxValue.
#include "list/searchitem.h"

#include <QStringList>

class QComboBox;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;

// Kind 1: `comboBox` with the caption first and the options of the placeholder
// "caption,option1,option2,..."; the value is the chosen option ("" for the caption).
class HouseSearch_FirstWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_FirstWidget(const QVariantMap &description, QWidget *parent);

    QString value() const override;
    // An option that is not in the list is added, so a value always shows as given.
    void setValue(const QString &text) override;
    void clearValue() override;

private:
    QComboBox *m_combo = nullptr;
};

// Kind 7: `comboBox` whose entries are check boxes built from the item's `sons` ({title,
// choose[, sons]}), or from the placeholder's options when it has none. The closed box shows
// the chosen titles, or the caption. The value of a flat list is the chosen titles joined by
// ","; a list whose entries have sub-choices (districts with their areas) reports the JSON
// tree [{title, choose, sons: [{title, choose}]}] of the entries with anything chosen.
class HouseSearch_SevenWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_SevenWidget(const QVariantMap &description, QWidget *parent);

    QString value() const override;
    // A JSON tree as above, or titles joined by ","; titles that are not among the choices
    // are added as chosen entries.
    void setValue(const QString &text) override;
    void clearValue() override;
    // Titles of the chosen entries (sub-choices included), in list order.
    QStringList chosenTitles() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillChoices();
    void addChoice(const QString &title, bool chosen, QStandardItem *parent);
    QList<QStandardItem *> choiceItems() const;
    void checkTitles(const QStringList &titles);
    void checkTree(const QString &json);
    void setAllChecked(bool checked);
    void onItemChanged();
    void showSummary();
    bool isTree() const { return m_tree; }
    QString treeValue() const;

    QComboBox *m_combo = nullptr;
    QStandardItemModel *m_model = nullptr;
    QString m_caption;
    bool m_tree = false;
    bool m_updating = false;
};

// Kind 10: the contract step (`comboBox`: caption, then the steps of the item's `sons`) and
// its state (`stateComboBox`: the chosen step's own choices, "未完成" and "已完成"). The
// value is the JSON object {name, stepinfo, state} of the chosen step, "" when none.
class HouseSearch_ContractStepWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_ContractStepWidget(const QVariantMap &description, QWidget *parent);

    QString value() const override;
    void setValue(const QString &text) override;
    void clearValue() override;

private:
    void fillStates();
    void report();
    QVariantMap stepAt(int index) const;

    QComboBox *m_combo = nullptr;
    QComboBox *m_state = nullptr;
    QVariantList m_steps;
};
