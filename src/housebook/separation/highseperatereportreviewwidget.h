#pragma once
// The review of one report: the listing, the reported holder, the reporter and the report,
// and the reviewer's judgement. Upheld reports say what becomes of the role (released, given
// to the reporter or to a chosen person); rework sets a period in days; a rejection gives
// its reason. reviewSuccess() follows an accepted judgement.
#include "services/separationmodels.h"

#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class QButtonGroup;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class ReportService;

class HighSeperateReportReviewWidget : public QWidget
{
    Q_OBJECT
public:
    // What an upheld report does to the role.
    enum Assignment { Release = 0, ToReporter = 1, ToChosen = 2 };

    explicit HighSeperateReportReviewWidget(const HighSeperateReportList_Model::ItemData &item,
                                            QWidget *parent = nullptr);

    const HighSeperateReportList_Model::ItemData &item() const { return m_item; }
    // The person chosen for ToChosen (a people chooser entry); empty until one is chosen.
    QVariantMap chosenPerson() const { return m_person; }

signals:
    void reviewSuccess();
    // The listing's detail window is asked for.
    void houseClick(int houseId);

public slots:
    void showContent();
    // A judgement (HighSeperateReportList_Model::Judgement) was chosen.
    void clickChange(int judgement);
    // An Assignment was chosen.
    void shuShiDealChange(int assignment);
    void showHouseDetail();
    void choseZhiDingPeople();
    void setChosenPerson(const QVariantMap &person);
    void submitDataClick();

private:
    QWidget *buildJudgementRow();
    QWidget *buildAssignmentRow();
    QWidget *buildDaysRow();
    QLabel *addInfoRow(QGridLayout *grid, int row, const QString &caption, const QString &name);
    // Why the form cannot be sent (empty when it can).
    QString refusal() const;
    QString newHolderId() const;

    HighSeperateReportList_Model::ItemData m_item;
    QVariantMap m_person;
    ReportService *m_service;
    BusyOverlay *m_overlay;
    QPushButton *m_house = nullptr;
    QLabel *m_target = nullptr;
    QLabel *m_reporter = nullptr;
    QLabel *m_content = nullptr;
    QButtonGroup *m_judgements = nullptr;
    QButtonGroup *m_assignments = nullptr;
    QWidget *m_assignmentRow = nullptr;
    QPushButton *m_choosePerson = nullptr;
    QWidget *m_daysRow = nullptr;
    QLineEdit *m_days = nullptr;
    QTextEdit *m_reason = nullptr;
};
