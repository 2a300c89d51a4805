#include "detail/follow/customeraddfollowwidget.h"

#include "detail/follow/followtagbar.h"
#include "services/followservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/datetimechoosewidget.h"

#include <QCheckBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd H:mm");
} // namespace

CustomerAddFollowWidget::CustomerAddFollowWidget(int id, bool rent, QWidget *parent)
    : QWidget(parent)
    , m_id(id)
    , m_rent(rent)
    , m_service(new FollowService(this))
    , m_tags(new FollowTagBar(this))
    , m_content(new QPlainTextEdit(this))
    , m_remind(new QCheckBox(QStringLiteral("启用提醒功能"), this))
    , m_remindTime(new QLineEdit(this))
    , m_person(new QPushButton(QStringLiteral("请选择"), this))
    , m_remindText(new QLineEdit(this))
    , m_overlay(new BusyOverlay(this))
{
    setObjectName(QStringLiteral("CustomerAddFollowWidget"));
    auto *layout = new QVBoxLayout(this);
    m_tags->setRent(rent);
    layout->addWidget(m_tags);
    layout->addWidget(new QLabel(QStringLiteral("跟进内容："), this));
    m_content->setObjectName(QStringLiteral("contentEdit"));
    m_content->setPlaceholderText(QStringLiteral("请输入跟进内容"));
    layout->addWidget(m_content, 1);
    m_remind->setObjectName(QStringLiteral("remindBox"));
    layout->addWidget(m_remind);
    QWidget *reminder = buildReminder();
    layout->addWidget(reminder);
    auto *submit = new QPushButton(QStringLiteral("提交跟进"), this);
    submit->setObjectName(QStringLiteral("submitButton"));
    layout->addWidget(submit, 0, Qt::AlignRight);

    reminder->setEnabled(false);
    connect(m_remind, &QCheckBox::toggled, reminder, &QWidget::setEnabled);
    connect(submit, &QPushButton::clicked, this, &CustomerAddFollowWidget::submitData);
    connect(m_service, &FollowService::finished, m_overlay, &BusyOverlay::stop);
    connect(m_service, &FollowService::followAdded, this, [this] {
        emit followSuccess();
        emit closeWidget();
    });
    download_tagList();
}

QWidget *CustomerAddFollowWidget::buildReminder()
{
    auto *box = new QWidget(this);
    auto *form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    auto *timeLine = new QHBoxLayout;
    m_remindTime->setObjectName(QStringLiteral("remindTimeEdit"));
    m_remindTime->setReadOnly(true);
    timeLine->addWidget(m_remindTime, 1);
    auto *chooseDate = new QPushButton(QStringLiteral("选择日期"), box);
    chooseDate->setObjectName(QStringLiteral("chooseDateButton"));
    timeLine->addWidget(chooseDate);
    form->addRow(QStringLiteral("提醒时间："), timeLine);
    m_person->setObjectName(QStringLiteral("choosePersonButton"));
    form->addRow(QStringLiteral("提醒对象:"), m_person);
    m_remindText->setObjectName(QStringLiteral("remindContentEdit"));
    m_remindText->setPlaceholderText(QStringLiteral("请输入提醒内容"));
    form->addRow(QStringLiteral("提醒内容："), m_remindText);
    connect(chooseDate, &QPushButton::clicked, this, &CustomerAddFollowWidget::dateChoose);
    connect(m_person, &QPushButton::clicked, this, &CustomerAddFollowWidget::peopleChoose);
    return box;
}

void CustomerAddFollowWidget::download_tagList()
{
    m_tags->download_tagList();
}

void CustomerAddFollowWidget::deal_tagData(QJsonValue resultValue)
{
    m_tags->deal_tagData(resultValue);
}

void CustomerAddFollowWidget::followTagShow()
{
    m_tags->followTagShow();
}

void CustomerAddFollowWidget::deal_addTag()
{
    m_tags->deal_addTag();
}

void CustomerAddFollowWidget::dateChoose()
{
    auto *chooser = new DateTimeChooseWidget(kTimeFormat, this);
    chooser->setTitle(QStringLiteral("选择日期"));
    chooser->setMinimumDate(QDate::currentDate());
    chooser->setText(m_remindTime->text());
    connect(chooser, &DateTimeChooseWidget::resultDate, this, &CustomerAddFollowWidget::setRemindTime);
    chooser->popup(m_remindTime);
}

void CustomerAddFollowWidget::peopleChoose()
{
    auto *popup = new CommonAddWidget(this);
    popup->setTitle(QStringLiteral("选择提醒对象"));
    auto *chooser = new PersonOrDepartmentChooseWidget(popup, PersonOrDepartmentChooseWidget::People, false);
    popup->setContentWidget(chooser);
    popup->resize(chooser->sizeHint());
    connect(chooser, &PersonOrDepartmentChooseWidget::backSingleChoose, this, [this, popup](const QVariantMap &person) {
        setRemindPerson(person);
        popup->closeWidget();
    });
    popup->show();
}

void CustomerAddFollowWidget::setRemindTime(const QString &time)
{
    m_remindTime->setText(time);
}

void CustomerAddFollowWidget::setRemindPerson(const QVariantMap &person)
{
    m_personId = person.value(QStringLiteral("id")).toString();
    const QString name = person.value(QStringLiteral("name")).toString();
    m_person->setText(name.isEmpty() ? QStringLiteral("请选择") : name);
}

QVariantMap CustomerAddFollowWidget::form() const
{
    QVariantMap form{{QStringLiteral("type"), FollowService::kindOf(m_rent)},
                     {QStringLiteral("id"), m_id},
                     {QStringLiteral("content"), m_content->toPlainText()},
                     {QStringLiteral("tag"), FollowService::joinTags(m_tags->chosenTags())}};
    if (!m_remind->isChecked())
        return form;
    // The chosen moment reads "yyyy-MM-dd H:mm"; date, hour and minute go as written.
    const QStringList dateAndTime = m_remindTime->text().trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList hourAndMinute = dateAndTime.value(1).split(QLatin1Char(':'));
    form.insert(QStringLiteral("tixing"), QStringLiteral("1"));
    form.insert(QStringLiteral("startdate"), dateAndTime.value(0));
    form.insert(QStringLiteral("starthour"), hourAndMinute.value(0));
    form.insert(QStringLiteral("startminute"), hourAndMinute.value(1));
    form.insert(QStringLiteral("tixinguserid"), m_personId);
    form.insert(QStringLiteral("contents"), m_remindText->text());
    return form;
}

QString CustomerAddFollowWidget::reminderRefusal() const
{
    if (!m_remind->isChecked())
        return QString();
    if (!QDateTime::fromString(m_remindTime->text().trimmed(), kTimeFormat).isValid())
        return QStringLiteral("请选择提醒时间！");
    if (m_personId.isEmpty())
        return QStringLiteral("请选择提醒对象！");
    return QString();
}

void CustomerAddFollowWidget::submitData()
{
    QString refusal = FollowService::contentRefusal(m_content->toPlainText());
    if (refusal.isEmpty())
        refusal = reminderRefusal();
    if (!refusal.isEmpty()) {
        AlertWidget::warning(refusal);
        return;
    }
    m_overlay->start();
    m_service->addFollow(form());
}
