#pragma once
// The people and department chooser of the own company. It walks the department tree one
// level at a time (the organisation server answers a level per request), keeps a trail of
// the levels opened ("安家房产 > 蜀山大区 > 天鹅湖店", each crumb leads back), lists the
// sub-departments and people of the current level and collects the choice across levels.
// Callers choose people (assigning a listing), departments (permission ranges) or both,
// one or several; "确定" hands the choice back with backChoose or backSingleChoose.
// The alliance's chooser is the same widget over the alliance's tree
// (JointSale_PersonOrDepartmentChooseWidget).
#include "widgets/choosers/departmentlevel.h"

#include <QList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class ChosenPanel;
class QCheckBox;
class QHBoxLayout;
class QJsonValue;
class QLabel;
class QPushButton;
class QVBoxLayout;

class PersonOrDepartmentChooseWidget : public QWidget
{
    Q_OBJECT
public:
    enum ChooseKind { People = 1, Departments = 2, PeopleAndDepartments = People | Departments };

    // Starts loading the top level at once.
    explicit PersonOrDepartmentChooseWidget(QWidget *parent = nullptr, int kind = People, bool multiple = false);

    int chooseKind() const { return m_kind; }
    bool isMultiple() const { return m_multiple; }
    // Preselects entries (the last person assigned, the departments of a stored range).
    // A single chooser keeps only the first.
    void setChosen(const QList<QVariantMap> &entries);
    QList<QVariantMap> chosen() const;
    // The crumb texts, top level first.
    QStringList trail() const;
    QSize sizeHint() const override;

signals:
    void backChoose(QList<QVariantMap> list);
    void backSingleChoose(QVariantMap map);

public slots:
    void loadTop();
    // Opens a sub-department of the current level (an entry of its departments).
    void enterDepartment(const QVariantMap &dept);
    // Returns to the level at that place in the trail (0: the top level).
    void backTo(int depth);
    // Asks again for the level whose load failed.
    void retry();
    void sureChoose();

protected:
    // The two addresses of a tree: its top level and one department's level (`dept_id`).
    struct Source
    {
        QString top;
        QString sub;
    };
    PersonOrDepartmentChooseWidget(QWidget *parent, int kind, bool multiple, const Source &source);

private:
    struct Level
    {
        QString crumb;
        DepartmentLevel data;
    };

    void buildUi();
    QWidget *buildTrailBar();
    QWidget *buildErrorLine();
    void request(const QVariantMap &target);
    void dealLevel(const QVariantMap &target, const QJsonValue &value);
    void dealFailure(const QVariantMap &target, const QString &reason);
    void showError(const QString &text, bool canRetry);
    void abandonPending();
    void showLevel();
    void showCrumbs();
    QWidget *departmentRow(const QVariantMap &dept);
    QWidget *personRow(const QVariantMap &person);
    QCheckBox *chooseBox(const QVariantMap &entry, const QString &text, QWidget *row);
    void setEntryChosen(const QVariantMap &entry, bool on);
    void syncChecks();

    Source m_source;
    int m_kind;
    bool m_multiple;
    QList<Level> m_trail;
    QVariantMap m_failedTarget;  // the level to ask for again ({} for the top level)
    bool m_failed = false;
    int m_serial = 0;            // replies of abandoned requests are ignored

    QHBoxLayout *m_crumbLayout = nullptr;
    QWidget *m_errorLine = nullptr;
    QLabel *m_error = nullptr;
    QPushButton *m_retry = nullptr;
    QWidget *m_rows = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
    ChosenPanel *m_chosen = nullptr;
    QPushButton *m_sure = nullptr;
    BusyOverlay *m_overlay = nullptr;
};
