#pragma once
// The days chooser: when an agent sets the top, lock, seal or exclusive flag of a listing,
// this form asks whether the flag is permanent ("永久") or runs for a number of days
// ("固定时效"), has the change posted and reports success. It sits in a 412 × 312 pop-up
// frame, which the list page closes on modifySuccess().
#include <QWidget>

class BusyOverlay;
class ListingChangeService;
class QLineEdit;
class QPushButton;
class QRadioButton;

class HouseBookChangeStateChooseDaysWidget : public QWidget
{
    Q_OBJECT
public:
    // houseId: the listing; type: HouseBookCodes::FlagType; state: 1, the flag is being set.
    HouseBookChangeStateChooseDaysWidget(QWidget *parent, int houseId, int type, int state = 1);

    int houseId() const { return m_houseId; }
    int type() const { return m_type; }
    int state() const { return m_state; }
    // "更改置顶状态成功！" ... by flag type; empty for other types.
    static QString successText(int type);
    // The warning shown when the change did not reach the server; %1 is the reason.
    static QString failureText(int type);

signals:
    void modifySuccess();

public slots:
    // The days field is open only for a fixed term.
    void radiuChange();
    void submitData();

private:
    void buildUi();
    QWidget *buildModeRow();
    QWidget *buildDaysRow();
    void dealSubmit();

    int m_houseId;
    int m_type;
    int m_state;
    QRadioButton *m_permanent = nullptr;
    QRadioButton *m_haveTime = nullptr;
    QLineEdit *m_days = nullptr;
    QPushButton *m_submit = nullptr;
    BusyOverlay *m_overlay = nullptr;
    ListingChangeService *m_changes = nullptr;
};
