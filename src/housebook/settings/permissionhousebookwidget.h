#pragma once
// Editor of one job's house-book permissions: one row per permission with its tick and,
// depending on the permission, a range of listings, a limit and sub-options. Filled from the
// job's permission entries {id, selected, range, bumens, count, sons}; every change the
// agent makes is reported with the whole list of entries.
#include <QList>
#include <QVariantMap>
#include <QWidget>

class PermissionRangeChooseWidget;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QVBoxLayout;

class PermissionHouseBookWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PermissionHouseBookWidget(QWidget *parent = nullptr);

    // Fills the editor from the job's permission entries; rows without an entry start
    // unticked with the default range. Entries of permissions this editor does not show are
    // handed back unchanged by permissionList().
    void setPermissionList(const QList<QVariantMap> &list);
    // Every row as an entry (sons as names), then the entries this editor does not show.
    QList<QVariantMap> permissionList() const;

    // Departments of ranges are then chosen among the alliance's companies.
    void setAllianceScope(bool alliance);

signals:
    void valueChange(QList<QVariantMap> list);

public slots:
    // Reports the current entries (every user change ends here).
    void dealValueChange();
    // A view right of listings was ticked or unticked: its "必跟进" right follows
    // (0: every "必跟进" right).
    void followChange(int viewId);
    // A "必跟进" right is only open while one of its view rights is ticked; without any it is
    // unticked and closed.
    void changeFollow(int followId);
    // A permission was ticked or unticked: its controls open or close, and an unticked
    // permission keeps no sub-options.
    void setDeHaveChoose(int id, bool selected);
    // The "全部" box of a permission ticks or unticks all its sub-options.
    void allSons(int id, bool on);
    // A sub-option was ticked or unticked: the "全部" box shows whether all are ticked.
    void sonBoxsChoose(int id);

private:
    struct Row
    {
        int id = 0;
        bool unlimitedAtZero = false; // a limit of 0 shows as "不限"
        QCheckBox *check = nullptr;
        PermissionRangeChooseWidget *range = nullptr;
        QLineEdit *count = nullptr;
        QCheckBox *all = nullptr;
        QList<QCheckBox *> sons;
        QVariantMap stored;          // the entry it was filled from, for keys it does not edit
        QStringList storedOtherSons; // stored sub-options it does not offer
    };

    void buildRows(QVBoxLayout *layout, QWidget *parent);
    QWidget *buildRow(Row &row, const QString &label, bool hasRange, const QString &unit, const QStringList &sons,
                      QWidget *parent);
    void addRangeControl(Row &row, QWidget *parent, QHBoxLayout *layout);
    void addCountControl(Row &row, const QString &unit, QWidget *parent, QHBoxLayout *layout);
    QWidget *buildSonBoxes(Row &row, const QStringList &names, QWidget *parent);
    void fillRow(Row &row, const QVariantMap &entry);
    QVariantMap entryOf(const Row &row) const;
    Row *rowOf(int id);
    void setControlsEnabled(Row &row, bool on);
    void syncAllBox(Row &row);

    QList<Row> m_rows;
    QList<QVariantMap> m_unknown;
    bool m_filling = false;
};
