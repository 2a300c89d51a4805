#pragma once
// The range of listings one permission reaches: a combo of range kinds and, for "指定部门",
// the departments chosen in the department chooser, shown beside it as
// "蜀山大区(含以下)、天鹅湖店".
#include <QList>
#include <QPointer>
#include <QVariantMap>
#include <QWidget>

class CommonAddWidget;
class QComboBox;
class QLabel;

class PermissionRangeChooseWidget : public QWidget
{
    Q_OBJECT
public:
    // The range kinds as stored in a permission entry's `range`.
    enum Range { Default = 0, Company = 1, Own = 2, DeptAndSubs = 4, ChosenDepts = 5, DeptOnly = 6 };

    // offerDefault adds "默认范围" (the job editor offers it, a single user's range does not).
    explicit PermissionRangeChooseWidget(QWidget *parent = nullptr, bool offerDefault = false);

    // Shows a stored range without reporting it. A range the combo does not offer is kept
    // as it is (the combo shows no choice) until the user picks one.
    void setRange(int range, const QList<QVariantMap> &bumens);
    int range() const { return m_range; }
    // The chosen departments as stored: {dept_id, dept_name, with_down}; empty unless the
    // range is ChosenDepts.
    QList<QVariantMap> bumens() const { return m_bumens; }

    // Departments are then chosen among the alliance's companies instead of the own company.
    void setAllianceScope(bool alliance) { m_alliance = alliance; }
    bool allianceScope() const { return m_alliance; }

    // "(含以下)" marks a department chosen with its sub-departments.
    static QString bumensText(const QList<QVariantMap> &bumens);

signals:
    void backChoose(int range, QList<QVariantMap> bumens);

public slots:
    // The user picked an entry of the combo (picking "指定部门" again edits the departments).
    void comboboxCilck();
    // Opens the department chooser over the current departments.
    void chooseBuMen();

private:
    void applyDepartments(const QList<QVariantMap> &chosen);
    void showRange();

    QComboBox *m_combo = nullptr;
    QLabel *m_label = nullptr;
    int m_range = Default;
    QList<QVariantMap> m_bumens;
    bool m_alliance = false;
    QPointer<CommonAddWidget> m_popup;  // the open department chooser
    bool m_chose = false;               // its choice arrived before it closed
};
