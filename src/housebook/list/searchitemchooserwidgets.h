#pragma once
// The chooser items of the search bar, both reporting through chooseTextValue: people and
// departments (kind 11), and several schools and communities at once (kind 13).
#include "list/searchitem.h"
#include "sql/communitymessage_datasqltable.h"

#include <QFrame>
#include <QPointer>
#include <QStringList>

class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QThread;
class QToolButton;

// Kind 11: a department (`dept_id`: caption, then the user's department tree), further
// departments (`more`: a menu of check boxes) and staff typed by phone (`down_search`, several
// separated by ","). The value is the JSON list of chosen nodes the house store reads for
// people keys: {nodeType "dept", dept_id, dept_name} and {nodeType "staff", phone}; "" when
// nothing is chosen. A value that is not such a list is taken as typed phones.
class HouseSearch_ChooseDeptmentMessageWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_ChooseDeptmentMessageWidget(const QVariantMap &description, bool isJointSale, QWidget *parent);

    QString value() const override;
    void setValue(const QString &text) override;
    void clearValue() override;

public slots:
    // Reports the current choice.
    void chooseStaff();

private:
    void fillDepartments(bool isJointSale);
    QStringList chosenDeptIds() const;
    void checkDepartments(const QStringList &ids);

    QComboBox *m_dept = nullptr;
    QToolButton *m_more = nullptr;
    QMenu *m_moreMenu = nullptr;
    QLineEdit *m_staff = nullptr;
};

// The chooser that kind 13 opens: schools (`schools`, narrowed by `schoolSearchEdit`) and
// communities (`coms`) as check boxes, confirmed by `submitButton`.
class HouseSearch_ChooseMoreSchool_ChooseWidget : public QFrame
{
    Q_OBJECT
public:
    explicit HouseSearch_ChooseMoreSchool_ChooseWidget(QWidget *parent);

    // The communities on offer and the schools named by them; earlier ticks are kept.
    void setCommunities(const QList<CommunityMessage_DataSqlTable::ListData> &list);
    void setChosen(const QStringList &schools, const QStringList &coms);
    QStringList chosenSchools() const;
    QStringList chosenComs() const;

signals:
    void chosen(const QStringList &schools, const QStringList &coms);

public slots:
    // Shows only the schools whose name contains text.
    void macthSchool(const QString &text);
    // Closes with the ticked schools and communities.
    void submitData();

private:
    QListWidget *m_schools = nullptr;
    QListWidget *m_coms = nullptr;
};

// Kind 13: the button "多学区/小区搜索" (`chooseButton`) opens the chooser, filled from the
// local community table; the choice shows as "学区：…；小区：…" (`chosenLabel`). The value is
// the JSON object {schools: [...], coms: [...]}, "" when nothing is chosen.
class HouseSearch_ChooseMoreSchoolWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_ChooseMoreSchoolWidget(const QVariantMap &description, bool isJointSale, QWidget *parent);

    QString value() const override;
    void setValue(const QString &text) override;
    void clearValue() override;

    // The chooser, created with the item.
    HouseSearch_ChooseMoreSchool_ChooseWidget *chooser() const { return m_chooser; }

private:
    void openChooser();
    void loadCommunities();
    void takeChoice(const QStringList &schools, const QStringList &coms);
    void showChoice();

    bool m_isJointSale = false;
    QLabel *m_label = nullptr;
    HouseSearch_ChooseMoreSchool_ChooseWidget *m_chooser = nullptr;
    QPointer<QThread> m_loading;
    QStringList m_schools;
    QStringList m_coms;
};
