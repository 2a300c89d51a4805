#include "list/searchitemdatewidgets.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char kDateFormat[] = "yyyy/MM/dd";

QString chooseText()
{
    return QStringLiteral("请选择");
}

QDate parsedDate(const QString &text)
{
    return QDate::fromString(text, QLatin1String(kDateFormat));
}

QLabel *captionLabel(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setStyleSheet(QStringLiteral("QLabel{color:rgb(60,60,60);font-size:13px;font-family:微软雅黑;}"));
    return label;
}

} // namespace

HouseSearchDatePicker::HouseSearchDatePicker(QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("datePicker"));
    setStyleSheet(QStringLiteral("#datePicker{background-color:white;border:1px solid rgb(221,221,221);}"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(captionLabel(QStringLiteral("datePickerTitle"), QStringLiteral("选择日期"), this));
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("calendarWidget"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    layout->addWidget(m_calendar);
    connect(m_calendar, &QCalendarWidget::clicked, this, &HouseSearchDatePicker::pick);
    connect(m_calendar, &QCalendarWidget::activated, this, &HouseSearchDatePicker::pick);
}

void HouseSearchDatePicker::popup(QWidget *anchor, const QDate &date)
{
    m_calendar->setSelectedDate(date.isValid() ? date : QDate::currentDate());
    adjustSize();
    move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    show();
}

void HouseSearchDatePicker::pick(const QDate &date)
{
    hide();
    emit datePicked(date);
}

HouseSearch_FifthWidget::HouseSearch_FifthWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchItem(description, parent), m_picker(new HouseSearchDatePicker(this))
{
    auto *row = plainRow(this);
    row->addWidget(captionLabel(QStringLiteral("titleLabel"), title(), this));
    m_startButton = addDateButton(QStringLiteral("pushButton_startDate"));
    row->addWidget(m_startButton, 1);
    row->addWidget(captionLabel(QStringLiteral("rangeDashLabel"), QStringLiteral("-"), this));
    m_endButton = addDateButton(QStringLiteral("pushButton_endDate"));
    row->addWidget(m_endButton, 1);
    // A chosen day must stay readable even where the configured width is narrower.
    setMaximumWidth(qMax(maximumWidth(), minimumSizeHint().width()));
}

QPushButton *HouseSearch_FifthWidget::addDateButton(const QString &objectName)
{
    auto *button = new QPushButton(QIcon(QStringLiteral(":/res/icon_calendar.png")), chooseText(), this);
    button->setObjectName(objectName);
    button->setStyleSheet(buttonStyle());
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) + 28);
    connect(button, &QPushButton::clicked, this, [this, button]() { choose(button); });
    return button;
}

// One picker serves both buttons; the button that opened it takes the day.
void HouseSearch_FifthWidget::choose(QPushButton *button)
{
    disconnect(m_picker, &HouseSearchDatePicker::datePicked, this, nullptr);
    connect(m_picker, &HouseSearchDatePicker::datePicked, this, [this, button](const QDate &date) {
        (button == m_startButton ? m_start : m_end) = date.toString(QLatin1String(kDateFormat));
        showDates();
        emit dateValue(itemId(), value());
    });
    m_picker->popup(button, parsedDate(button == m_startButton ? m_start : m_end));
}

QString HouseSearch_FifthWidget::value() const
{
    if (m_start.isEmpty() && m_end.isEmpty())
        return QString();
    return m_start + QLatin1Char(',') + m_end;
}

void HouseSearch_FifthWidget::setValue(const QString &text)
{
    m_start = text.section(QLatin1Char(','), 0, 0);
    m_end = text.section(QLatin1Char(','), 1, 1);
    showDates();
    emit dateValue(itemId(), value());
}

void HouseSearch_FifthWidget::clearValue()
{
    m_start.clear();
    m_end.clear();
    showDates();
}

void HouseSearch_FifthWidget::showDates()
{
    m_startButton->setText(m_start.isEmpty() ? chooseText() : m_start);
    m_endButton->setText(m_end.isEmpty() ? chooseText() : m_end);
}

HouseSearch_SingleDateChooseWidget::HouseSearch_SingleDateChooseWidget(const QVariantMap &description,
                                                                       QWidget *parent)
    : HouseSearchItem(description, parent), m_picker(new HouseSearchDatePicker(this))
{
    m_button = new QPushButton(QIcon(QStringLiteral(":/res/icon_calendar.png")), chooseText(), this);
    m_button->setObjectName(QStringLiteral("pushButton_date"));
    m_button->setStyleSheet(buttonStyle());
    m_button->setCursor(Qt::PointingHandCursor);
    plainRow(this)->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, [this]() { m_picker->popup(m_button, parsedDate(m_date)); });
    connect(m_picker, &HouseSearchDatePicker::datePicked, this,
            [this](const QDate &date) { setValue(date.toString(QLatin1String(kDateFormat))); });
}

QString HouseSearch_SingleDateChooseWidget::value() const
{
    return m_date;
}

void HouseSearch_SingleDateChooseWidget::setValue(const QString &text)
{
    m_date = text;
    m_button->setText(m_date.isEmpty() ? chooseText() : m_date);
    emit lineTextValue(itemId(), m_date);
}

void HouseSearch_SingleDateChooseWidget::clearValue()
{
    m_date.clear();
    m_button->setText(chooseText());
}
