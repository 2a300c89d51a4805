#pragma once
// What every item of the search bar has in common: its id, its description from the
// settings store, the value signals the bar listens to, and the three operations the bar
// needs (read, show a value, reset). Each widget kind reports its value through the signal
// named for it; the bar connects all of them to HouseSearchView::changValue.
#include <QVariantMap>
#include <QWidget>

class QHBoxLayout;
class QLineEdit;

class HouseSearchItem : public QWidget
{
    Q_OBJECT
public:
    // description: {type, id, placeholder, title, minH, minW, maxH, maxW, SingleLine, ...}.
    HouseSearchItem(const QVariantMap &description, QWidget *parent);

    int itemId() const { return m_id; }
    int itemType() const;
    bool isSingleLine() const;
    QString title() const;
    // The placeholder, or the title when there is none.
    QString prompt() const;
    const QVariantMap &description() const { return m_description; }

    // The text this item reports.
    virtual QString value() const = 0;
    // Shows text as this item's value and reports it.
    virtual void setValue(const QString &text) = 0;
    // Back to empty without reporting (the bar forgets the collected values itself).
    virtual void clearValue() = 0;
    // Conditions the value alone cannot carry (the id of a chosen community); empty by default.
    virtual QVariantMap extraConditions() const { return QVariantMap(); }

signals:
    void lineTextValue(int id, const QString &text);
    void comboboxValue(int id, const QString &text);
    void dateValue(int id, const QString &text);
    void chooseTextValue(int id, const QString &text);
    void startSearch();

protected:
    // A line edit in the bar's look; Return starts a search.
    QLineEdit *addLineEdit(const QString &objectName, const QString &placeholder, QWidget *parent);
    static QString lineEditStyle();
    static QString comboBoxStyle();
    static QString buttonStyle();
    // The item's row: no margins, narrow spacing.
    static QHBoxLayout *plainRow(QWidget *owner);

private:
    void applySizeLimits();

    QVariantMap m_description;
    int m_id = 0;
};
