#include "housebookchangestatechoosedayswidget.h"

#include "services/listingchangeservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFixedWidth(60);
    return label;
}

} // namespace

HouseBookChangeStateChooseDaysWidget::HouseBookChangeStateChooseDaysWidget(QWidget *parent, int houseId, int type,
                                                                           int state)
    : QWidget(parent), m_houseId(houseId), m_type(type), m_state(state)
{
    setObjectName(QStringLiteral("HouseBookChangeStateChooseDaysWidget"));
    buildUi();
    m_overlay = new BusyOverlay(this);
    m_changes = new ListingChangeService(this);
    // The overlay stays until the sync the change started has ended.
    connect(m_changes, &ListingChangeService::flagChanged, this, &HouseBookChangeStateChooseDaysWidget::dealSubmit);
    connect(m_changes, &ListingChangeService::houseSyncFinished, m_overlay, &BusyOverlay::stop);
    connect(m_changes, &ListingChangeService::changeFailed, m_overlay, &BusyOverlay::stop);
    radiuChange();
}

QString HouseBookChangeStateChooseDaysWidget::failureText(int type)
{
    return ListingChangeService::flagFailureText(type);
}

QString HouseBookChangeStateChooseDaysWidget::successText(int type)
{
    return ListingChangeService::flagSuccessText(type);
}

void HouseBookChangeStateChooseDaysWidget::buildUi()
{
    setStyleSheet(QStringLiteral("QLabel,QRadioButton{font-size:14px;font-family:微软雅黑;}"
                                 "QLineEdit{font-size:14px;font-family:微软雅黑;height:30px;}"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    layout->setSpacing(24);
    layout->addWidget(buildModeRow());
    layout->addWidget(buildDaysRow());
    layout->addStretch(1);
    m_submit = new QPushButton(QStringLiteral("提交"), this);
    m_submit->setObjectName(QStringLiteral("submitButton"));
    m_submit->setFixedHeight(40);
    m_submit->setCursor(Qt::PointingHandCursor);
    m_submit->setStyleSheet(QStringLiteral("QPushButton{background-color:rgb(12,145,235);color:white;font-size:16px;"
                                           "font-family:微软雅黑;border:none;border-radius:20px;}"));
    layout->addWidget(m_submit);
    connect(m_submit, &QPushButton::clicked, this, &HouseBookChangeStateChooseDaysWidget::submitData);
}

QWidget *HouseBookChangeStateChooseDaysWidget::buildModeRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(captionLabel(QStringLiteral("模式："), row));
    m_permanent = new QRadioButton(QStringLiteral("永久"), row);
    m_permanent->setObjectName(QStringLiteral("radioButton_permanent"));
    m_permanent->setChecked(true);
    m_haveTime = new QRadioButton(QStringLiteral("固定时效"), row);
    m_haveTime->setObjectName(QStringLiteral("radioButton_haveTime"));
    auto *group = new QButtonGroup(row);
    group->addButton(m_permanent);
    group->addButton(m_haveTime);
    layout->addWidget(m_permanent);
    layout->addWidget(m_haveTime);
    layout->addStretch(1);
    connect(m_permanent, &QRadioButton::toggled, this, &HouseBookChangeStateChooseDaysWidget::radiuChange);
    return row;
}

QWidget *HouseBookChangeStateChooseDaysWidget::buildDaysRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(captionLabel(QStringLiteral("天数："), row));
    m_days = new QLineEdit(row);
    m_days->setObjectName(QStringLiteral("lineEdit_days"));
    m_days->setPlaceholderText(QStringLiteral("请输入天数"));
    m_days->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]+$")), m_days));
    layout->addWidget(m_days, 1);
    return row;
}

void HouseBookChangeStateChooseDaysWidget::radiuChange()
{
    const bool fixedTerm = m_haveTime->isChecked();
    m_days->setEnabled(fixedTerm);
    if (!fixedTerm)
        m_days->clear();
}

// A permanent flag carries no days; a fixed term needs a positive number of them.
void HouseBookChangeStateChooseDaysWidget::submitData()
{
    if (m_changes->isPosting())
        return;
    const bool fixedTerm = m_haveTime->isChecked();
    const int days = fixedTerm ? m_days->text().toInt() : 0;
    if (fixedTerm && days <= 0) {
        AlertWidget::warning(QStringLiteral("请输入天数"));
        return;
    }
    m_changes->changeFlag(m_houseId, m_type, m_state, days);
    if (m_changes->isPosting())
        m_overlay->start();
}

void HouseBookChangeStateChooseDaysWidget::dealSubmit()
{
    AlertWidget::tip(successText(m_type));
    emit modifySuccess();
}
