#pragma once
// The owner contacts of a listing: a first row that is always there ("firstLinkPeopleWidget"),
// further rows added with "添加联系人" ("addPeople_pushButton") under "linkPeopleNextwidget",
// each with a name ("contactsLineEdit"), a grade ("comboBox_LinkPeopleGrader"), 先生 / 女士
// and a phone ("tellineEdit"). A protected phone is shown masked and cannot be changed; the
// stored number is kept and posted as it was.
#include <QList>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class QVBoxLayout;

class ContactRowsWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ContactRowsWidget(QWidget *parent = nullptr);

    // Entries with name, phone, level and title, one per row.
    QList<QVariantMap> contacts() const;
    // The list as the server takes it: compact JSON text.
    QString contactsJson() const;
    void setContacts(const QList<QVariantMap> &contacts);
    // Reads the stored JSON list (objects, or plain phone texts).
    static QList<QVariantMap> parse(const QString &json);

    // The first rule a row breaks, rows in turn: "" when every row passes.
    QString firstProblem() const;

    void setPhonesProtected(bool hidden);
    bool phonesProtected() const { return m_protected; }

public slots:
    void addNewLinkPeople();

private:
    QWidget *addRow(const QVariantMap &contact);
    void removeRow(QWidget *row);
    void showPhone(QWidget *row);

    QWidget *m_first = nullptr;
    QWidget *m_next = nullptr;
    QVBoxLayout *m_nextLayout = nullptr;
    QList<QWidget *> m_rows;
    bool m_protected = false;
};
