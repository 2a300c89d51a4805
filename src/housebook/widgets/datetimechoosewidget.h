#pragma once
// The small date (and time) chooser the forms open from their "选择日期" buttons: a calendar,
// a time field when the caller's format has hours, and "确定". The choice is answered with
// resultDate() as text in the caller's format ("yyyy-MM-dd H:mm", "yyyy-M-d", "yyyy-MM-dd").
// Without a time field a click on a day answers at once.
#include <QDateTime>
#include <QFrame>
#include <QString>

class QCalendarWidget;
class QLabel;
class QPushButton;
class QTimeEdit;

class DateTimeChooseWidget : public QFrame
{
    Q_OBJECT
public:
    explicit DateTimeChooseWidget(const QString &format = QStringLiteral("yyyy-MM-dd"),
                                  QWidget *parent = nullptr);

    QString format() const { return m_format; }
    // True when the format carries hours, so the time field is offered.
    bool hasTime() const;

    void setTitle(const QString &title);
    QString title() const;
    void setMinimumDate(const QDate &date);

    // Starts on this moment; an invalid one starts on now.
    void setDateTime(const QDateTime &dateTime);
    // Starts on a value written in the format; text that does not parse starts on now.
    void setText(const QString &text);
    QDateTime dateTime() const;
    QString text() const;

    // Shows the chooser under anchor (or centred on its parent without one).
    void popup(QWidget *anchor = nullptr);

signals:
    void resultDate(QString date);

public slots:
    // Answers with the current choice and closes.
    void sure();

private:
    void dayClicked();

    QString m_format;
    QLabel *m_titleLabel = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QTimeEdit *m_timeEdit = nullptr;
    QPushButton *m_sureButton = nullptr;
};
