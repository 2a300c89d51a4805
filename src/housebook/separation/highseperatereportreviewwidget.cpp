#include "separation/highseperatereportreviewwidget.h"

#include "services/reportservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace HighSeperateReportList_Model;

namespace {

constexpr int kCaptionWidth = 96;

QRadioButton *addChoice(QButtonGroup *group, int id, const QString &text, const QString &name, QWidget *parent,
                        QHBoxLayout *layout)
{
    auto *radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    group->addButton(radio, id);
    layout->addWidget(radio);
    return radio;
}

QHBoxLayout *rowLayout(QWidget *row, const QString &caption)
{
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(caption, row);
    label->setFixedWidth(kCaptionWidth);
    layout->addWidget(label);
    return layout;
}

} // namespace

HighSeperateReportReviewWidget::HighSeperateReportReviewWidget(const ItemData &item, QWidget *parent)
    : QWidget(parent)
    , m_item(item)
    , m_service(new ReportService(this))
    , m_overlay(new BusyOverlay(this))
{
    auto *grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, kCaptionWidth);
    grid->setColumnStretch(1, 1);
    m_house = new QPushButton(this);
    m_house->setObjectName(QStringLiteral("houseButton"));
    m_house->setFlat(true);
    m_house->setCursor(Qt::PointingHandCursor);
    m_house->setStyleSheet(QStringLiteral("QPushButton{border:none;color:#3a8ee6;text-align:left;}"));
    connect(m_house, &QPushButton::clicked, this, &HighSeperateReportReviewWidget::showHouseDetail);
    grid->addWidget(new QLabel(QStringLiteral("房源名称："), this), 0, 0);
    grid->addWidget(m_house, 0, 1);
    m_target = addInfoRow(grid, 1, QStringLiteral("举报对象："), QStringLiteral("targetLabel"));
    m_reporter = addInfoRow(grid, 2, QStringLiteral("举报人："), QStringLiteral("reporterLabel"));
    m_content = addInfoRow(grid, 3, QStringLiteral("举报内容："), QStringLiteral("contentLabel"));
    m_content->setWordWrap(true);

    m_reason = new QTextEdit(this);
    m_reason->setObjectName(QStringLiteral("reasonEdit"));
    m_reason->setAcceptRichText(false);
    m_reason->setPlaceholderText(QStringLiteral("请输入理由"));
    auto *reasonRow = new QWidget(this);
    QHBoxLayout *reasonLayout = rowLayout(reasonRow, QStringLiteral("理由："));
    reasonLayout->itemAt(0)->setAlignment(Qt::AlignTop);
    reasonLayout->addWidget(m_reason, 1);

    auto *submit = new QPushButton(QStringLiteral("提交"), this);
    submit->setObjectName(QStringLiteral("submitButton"));
    connect(submit, &QPushButton::clicked, this, &HighSeperateReportReviewWidget::submitDataClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(submit);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addLayout(grid);
    layout->addWidget(buildJudgementRow());
    layout->addWidget(buildAssignmentRow());
    layout->addWidget(buildDaysRow());
    layout->addWidget(reasonRow, 1);
    layout->addLayout(buttons);

    connect(m_service, &ReportService::judged, this, &HighSeperateReportReviewWidget::reviewSuccess);
    connect(m_service, &ReportService::finished, m_overlay, &BusyOverlay::stop);
    showContent();
    clickChange(Pending);
}

QLabel *HighSeperateReportReviewWidget::addInfoRow(QGridLayout *grid, int row, const QString &caption,
                                                   const QString &name)
{
    auto *value = new QLabel(this);
    value->setObjectName(name);
    value->setTextFormat(Qt::PlainText);
    grid->addWidget(new QLabel(caption, this), row, 0, Qt::AlignTop);
    grid->addWidget(value, row, 1);
    return value;
}

QWidget *HighSeperateReportReviewWidget::buildJudgementRow()
{
    auto *row = new QWidget(this);
    QHBoxLayout *layout = rowLayout(row, QStringLiteral("举报审核："));
    m_judgements = new QButtonGroup(this);
    addChoice(m_judgements, Upheld, QStringLiteral("举报属实"), QStringLiteral("upheldRadio"), row, layout);
    addChoice(m_judgements, Rework, QStringLiteral("限期返工"), QStringLiteral("reworkRadio"), row, layout);
    addChoice(m_judgements, Rejected, QStringLiteral("驳回"), QStringLiteral("rejectRadio"), row, layout);
    layout->addStretch(1);
    connect(m_judgements, &QButtonGroup::idClicked, this, &HighSeperateReportReviewWidget::clickChange);
    return row;
}

QWidget *HighSeperateReportReviewWidget::buildAssignmentRow()
{
    m_assignmentRow = new QWidget(this);
    m_assignmentRow->setObjectName(QStringLiteral("assignmentRow"));
    auto *outer = new QVBoxLayout(m_assignmentRow);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *choices = new QWidget(m_assignmentRow);
    QHBoxLayout *layout = rowLayout(choices, QStringLiteral("分配角色："));
    m_assignments = new QButtonGroup(this);
    addChoice(m_assignments, Release, QStringLiteral("解除原有角色"), QStringLiteral("releaseRadio"), choices, layout)
        ->setChecked(true);
    addChoice(m_assignments, ToReporter, QStringLiteral("分配给举报人"), QStringLiteral("toReporterRadio"), choices,
              layout);
    addChoice(m_assignments, ToChosen, QStringLiteral("分配给指定人"), QStringLiteral("toChosenRadio"), choices, layout);
    layout->addStretch(1);
    connect(m_assignments, &QButtonGroup::idClicked, this, &HighSeperateReportReviewWidget::shuShiDealChange);

    auto *person = new QWidget(m_assignmentRow);
    QHBoxLayout *personLayout = rowLayout(person, QStringLiteral("选择指定人："));
    m_choosePerson = new QPushButton(QStringLiteral("请选择"), person);
    m_choosePerson->setObjectName(QStringLiteral("choosePersonButton"));
    connect(m_choosePerson, &QPushButton::clicked, this, &HighSeperateReportReviewWidget::choseZhiDingPeople);
    personLayout->addWidget(m_choosePerson);
    personLayout->addStretch(1);
    outer->addWidget(choices);
    outer->addWidget(person);
    shuShiDealChange(Release);
    return m_assignmentRow;
}

QWidget *HighSeperateReportReviewWidget::buildDaysRow()
{
    m_daysRow = new QWidget(this);
    m_daysRow->setObjectName(QStringLiteral("daysRow"));
    QHBoxLayout *layout = rowLayout(m_daysRow, QStringLiteral("返工期限："));
    m_days = new QLineEdit(m_daysRow);
    m_days->setObjectName(QStringLiteral("daysEdit"));
    m_days->setPlaceholderText(QStringLiteral("请输入返工期限"));
    m_days->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_days));
    m_days->setFixedWidth(160);
    layout->addWidget(m_days);
    layout->addWidget(new QLabel(QStringLiteral("天"), m_daysRow));
    layout->addStretch(1);
    return m_daysRow;
}

void HighSeperateReportReviewWidget::showContent()
{
    m_house->setText(m_item.house.title.isEmpty() ? m_item.itemid : m_item.house.title);
    QStringList target;
    for (const QString &part : {m_item.fdstepname, m_item.sh.username}) {
        if (!part.isEmpty())
            target << part;
    }
    m_target->setText(target.join(QStringLiteral("：")));
    m_reporter->setText(m_item.author);
    m_content->setText(m_item.content);
}

void HighSeperateReportReviewWidget::clickChange(int judgement)
{
    m_assignmentRow->setEnabled(judgement == Upheld);
    m_daysRow->setEnabled(judgement == Rework);
}

void HighSeperateReportReviewWidget::shuShiDealChange(int assignment)
{
    m_choosePerson->setEnabled(assignment == ToChosen);
}

void HighSeperateReportReviewWidget::showHouseDetail()
{
    emit houseClick(m_item.itemid.toInt());
}

void HighSeperateReportReviewWidget::choseZhiDingPeople()
{
    auto *popup = new CommonAddWidget(this);
    popup->setTitle(QStringLiteral("选择部门"));
    auto *chooser = new PersonOrDepartmentChooseWidget(popup, PersonOrDepartmentChooseWidget::People, false);
    chooser->setObjectName(QStringLiteral("personChooser"));
    if (!m_person.isEmpty())
        chooser->setChosen({m_person});
    popup->setContentWidget(chooser);
    popup->resize(chooser->sizeHint().expandedTo(QSize(600, 500)));
    connect(chooser, &PersonOrDepartmentChooseWidget::backSingleChoose, popup, [this, popup](const QVariantMap &person) {
        setChosenPerson(person);
        popup->closeWidget();
    });
    popup->show();
}

void HighSeperateReportReviewWidget::setChosenPerson(const QVariantMap &person)
{
    m_person = person;
    const QString name = person.value(QStringLiteral("name")).toString();
    m_choosePerson->setText(name.isEmpty() ? QStringLiteral("请选择") : name);
}

QString HighSeperateReportReviewWidget::refusal() const
{
    switch (m_judgements->checkedId()) {
    case Upheld:
        if (m_assignments->checkedId() == ToChosen && m_person.value(QStringLiteral("id")).toString().isEmpty())
            return QStringLiteral("请选择指定人！");
        // Without the reporter's id the role would be released instead of handed over.
        if (m_assignments->checkedId() == ToReporter && m_item.authorId.isEmpty())
            return QStringLiteral("无法识别举报人，请选择其他分配方式！");
        return QString();
    case Rework:
        return m_days->text().toInt() > 0 ? QString() : QStringLiteral("请填写返工时限！");
    case Rejected:
        return m_reason->toPlainText().trimmed().isEmpty() ? QStringLiteral("请输入驳回理由！") : QString();
    default:
        return QStringLiteral("请选择审核结果！");
    }
}

QString HighSeperateReportReviewWidget::newHolderId() const
{
    if (m_judgements->checkedId() != Upheld)
        return QString();
    switch (m_assignments->checkedId()) {
    case ToReporter:
        return m_item.authorId;
    case ToChosen:
        return m_person.value(QStringLiteral("id")).toString();
    default:
        return QString();
    }
}

void HighSeperateReportReviewWidget::submitDataClick()
{
    const QString why = refusal();
    if (!why.isEmpty()) {
        AlertWidget::warning(why);
        return;
    }
    if (m_overlay->isRunning())
        return;
    ReportService::Judgement judgement;
    judgement.reportId = m_item.id;
    judgement.state = m_judgements->checkedId();
    judgement.holderId = m_item.sh.userid;
    judgement.newHolderId = newHolderId();
    judgement.days = judgement.state == Rework ? QString::number(m_days->text().toInt()) : QString();
    judgement.content = m_reason->toPlainText().trimmed();
    m_overlay->start(QStringLiteral("审核中..."));
    m_service->judge(judgement);
}
