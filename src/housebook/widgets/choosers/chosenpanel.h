#pragma once
// The chooser's "已选择" column: the entries chosen so far, across every level visited,
// in the order they were chosen. Each row can be removed; a department row also says
// whether it includes its sub-departments ("含以下", the entry's with_down).
#include <QList>
#include <QVariantMap>
#include <QWidget>

class QLabel;
class QVBoxLayout;

class ChosenPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ChosenPanel(QWidget *parent = nullptr);

    QList<QVariantMap> entries() const { return m_entries; }
    bool contains(const QString &key) const;
    // Entries are tagged on the way in (DepartmentLevel::tagged); a key already there is
    // left as it is.
    void add(const QVariantMap &entry);
    void remove(const QString &key);
    void clear();

signals:
    void changed();

private:
    int indexOf(const QString &key) const;
    void rebuild();
    QWidget *rowFor(const QVariantMap &entry);
    void setWithDown(const QString &key, bool on);

    QList<QVariantMap> m_entries;
    QLabel *m_count = nullptr;
    QWidget *m_rows = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
};
