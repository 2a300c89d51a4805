#include "widgets/datetimechoosewidget.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

DateTimeChooseWidget::DateTimeChooseWidget(const QString &format, QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , m_format(format)
    , m_titleLabel(new QLabel(QStringLiteral("选择日期"), this))
    , m_calendar(new QCalendarWidget(this))
    , m_timeEdit(new QTimeEdit(this))
    , m_sureButton(new QPushButton(QStringLiteral("确定"), this))
{
    setObjectName(QStringLiteral("dateTimeChooseWidget"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_calendar->setObjectName(QStringLiteral("calendarWidget"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_timeEdit->setObjectName(QStringLiteral("timeEdit"));
    m_timeEdit->setDisplayFormat(QStringLiteral("HH:mm"));
    m_sureButton->setObjectName(QStringLiteral("sureButton"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_timeEdit);
    bottom->addStretch();
    bottom->addWidget(m_sureButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_titleLabel);
    layout->addWidget(m_calendar);
    layout->addLayout(bottom);

    // A date-only chooser needs no confirmation: the clicked day is the answer.
    m_timeEdit->setVisible(hasTime());
    m_sureButton->setVisible(hasTime());
    connect(m_calendar, &QCalendarWidget::clicked, this, &DateTimeChooseWidget::dayClicked);
    connect(m_calendar, &QCalendarWidget::activated, this, &DateTimeChooseWidget::sure);
    connect(m_sureButton, &QPushButton::clicked, this, &DateTimeChooseWidget::sure);
    setDateTime(QDateTime());
}

bool DateTimeChooseWidget::hasTime() const
{
    return m_format.contains(QLatin1Char('H')) || m_format.contains(QLatin1Char('h'));
}

void DateTimeChooseWidget::setTitle(const QString &title)
{
    m_titleLabel->setText(title);
}

QString DateTimeChooseWidget::title() const
{
    return m_titleLabel->text();
}

void DateTimeChooseWidget::setMinimumDate(const QDate &date)
{
    m_calendar->setMinimumDate(date);
}

void DateTimeChooseWidget::setDateTime(const QDateTime &dateTime)
{
    const QDateTime start = dateTime.isValid() ? dateTime : QDateTime::currentDateTime();
    m_calendar->setSelectedDate(start.date());
    m_timeEdit->setTime(QTime(start.time().hour(), start.time().minute()));
}

void DateTimeChooseWidget::setText(const QString &text)
{
    QDateTime parsed = QDateTime::fromString(text.trimmed(), m_format);
    setDateTime(parsed);
}

QDateTime DateTimeChooseWidget::dateTime() const
{
    return QDateTime(m_calendar->selectedDate(), hasTime() ? m_timeEdit->time() : QTime(0, 0));
}

QString DateTimeChooseWidget::text() const
{
    return dateTime().toString(m_format);
}

void DateTimeChooseWidget::popup(QWidget *anchor)
{
    adjustSize();
    if (anchor)
        move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    else if (parentWidget())
        move(parentWidget()->mapToGlobal(parentWidget()->rect().center() - rect().center()));
    show();
    m_calendar->setFocus();
}

void DateTimeChooseWidget::sure()
{
    emit resultDate(text());
    close();
}

void DateTimeChooseWidget::dayClicked()
{
    if (!hasTime())
        sure();
}
