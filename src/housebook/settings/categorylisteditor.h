#pragma once
// The editor of one option list of the category page (产权, 交通, 付款方式, ...): the entries
// in a list, each with a "删除" button, and a line to add a new name. Entries are {id, name};
// an added entry has id 0 until the server numbers it.
#include <QList>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

class CategoryListEditor : public QWidget
{
    Q_OBJECT
public:
    // key names the list in the store and in the widgets' object names; title is the list's
    // name as the agent reads it.
    CategoryListEditor(const QString &key, const QString &title, QWidget *parent = nullptr);

    QString key() const { return m_key; }
    void setEntries(const QList<QVariantMap> &entries);
    // The shown entries in order, {id, name} each.
    QList<QVariantMap> entries() const;

    // Adds the trimmed text of the line; an empty or already listed name is refused with a
    // message saying why.
    void addFromEdit();

private:
    void appendEntry(int id, const QString &name);
    bool contains(const QString &name) const;

    QString m_key;
    QString m_title;
    QListWidget *m_list = nullptr;
    QLineEdit *m_edit = nullptr;
};
