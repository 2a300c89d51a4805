#pragma once
// The date items of the search bar: a date range (kind 5, reported through dateValue) and a
// single date (kind 12, reported through lineTextValue). Dates are written "yyyy/MM/dd", the
// form the house store compares; a value set from outside is kept as given.
#include "list/searchitem.h"

#include <QDate>
#include <QFrame>

class QCalendarWidget;
class QPushButton;

// The date picker the date items open under their button: a calendar captioned "选择日期"
// in a pop-up (`datePicker`, calendar `calendarWidget`) that closes once a day is picked.
class HouseSearchDatePicker : public QFrame
{
    Q_OBJECT
public:
    explicit HouseSearchDatePicker(QWidget *parent);
    // Shows the picker under anchor, on date when it is valid.
    void popup(QWidget *anchor, const QDate &date);

signals:
    void datePicked(const QDate &date);

private:
    void pick(const QDate &date);

    QCalendarWidget *m_calendar = nullptr;
};

// Kind 5: `titleLabel`, `pushButton_startDate` and `pushButton_endDate` ("请选择" until a day
// is chosen); the value is "start,end", "" while both are empty.
class HouseSearch_FifthWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_FifthWidget(const QVariantMap &description, QWidget *parent);

    QString value() const override;
    void setValue(const QString &text) override;
    void clearValue() override;

private:
    QPushButton *addDateButton(const QString &objectName);
    void choose(QPushButton *button);
    void showDates();

    QPushButton *m_startButton = nullptr;
    QPushButton *m_endButton = nullptr;
    HouseSearchDatePicker *m_picker = nullptr;
    QString m_start;
    QString m_end;
};

// Kind 12: one button ("请选择", `pushButton_date`) opening the date picker; the value is the
// chosen day.
class HouseSearch_SingleDateChooseWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_SingleDateChooseWidget(const QVariantMap &description, QWidget *parent);

    QString value() const override;
    void setValue(const QString &text) override;
    void clearValue() override;

private:
    QPushButton *m_button = nullptr;
    HouseSearchDatePicker *m_picker = nullptr;
    QString m_date;
};
