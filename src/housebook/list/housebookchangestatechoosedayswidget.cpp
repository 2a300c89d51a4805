#include "housebookchangestatechoosedayswidget.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "sql/basesqlobject.h"
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
    radiuChange();
}

QString HouseBookChangeStateChooseDaysWidget::failureText(int type)
{
    static const char *const names[] = {"置顶", "锁盘", "封盘", "独家"};
    const QString name = type >= Top && type <= Exclusive ? QString::fromUtf8(names[type - Top]) : QString();
    return QStringLiteral("更改%1状态失败：%2\n房源未作更改，请稍后重试。").arg(name, QStringLiteral("%1"));
}

QString HouseBookChangeStateChooseDaysWidget::successText(int type)
{
    switch (type) {
    case Top:
        return QStringLiteral("更改置顶状态成功！");
    case Lock:
        return QStringLiteral("更改锁盘状态成功！");
    case Seal:
        return QStringLiteral("更改封盘状态成功！");
    case Exclusive:
        return QStringLiteral("更改独家状态成功！");
    default:
        return QString();
    }
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
    if (m_posting)
        return;
    const bool fixedTerm = m_haveTime->isChecked();
    const int days = fixedTerm ? m_days->text().toInt() : 0;
    if (fixedTerm && days <= 0) {
        AlertWidget::warning(QStringLiteral("请输入天数"));
        return;
    }
    QVariantMap form{{QStringLiteral("itemid"), m_houseId},
                     {QStringLiteral("state"), m_state},
                     {QStringLiteral("type"), m_type},
                     {QStringLiteral("lianmai"), QStringLiteral("1")}};
    if (days > 0)
        form.insert(QStringLiteral("days"), days);

    auto *request = new NetRequestObjecet(this);
    request->setFailureNotice(failureText(m_type));
    connect(request, &NetRequestObjecet::loadSuccess, this, &HouseBookChangeStateChooseDaysWidget::dealSubmit);
    connect(request, &NetRequestObjecet::loadFail, this, [this] {
        m_posting = false;
        m_overlay->stop();
    });
    connect(request, &NetRequestObjecet::loadFinish, request, &QObject::deleteLater);
    m_posting = true;
    m_overlay->start();
    request->postForm(Endpoints::instance().app_houseshuxing, form);
}

void HouseBookChangeStateChooseDaysWidget::dealSubmit(const QJsonValue &value)
{
    Q_UNUSED(value)
    m_posting = false;
    startHouseSync();
    AlertWidget::tip(successText(m_type));
    emit modifySuccess();
}

// The sync outlives this form (the page closes it on success); it stops the overlay if the
// form is still there and deletes itself when done.
void HouseBookChangeStateChooseDaysWidget::startHouseSync()
{
    auto *sync = new BaseSqlObject(nullptr, true);
    connect(sync, &BaseSqlObject::loadDataFinish, m_overlay, &BusyOverlay::stop);
    connect(sync, &BaseSqlObject::loadDataFinish, sync, &QObject::deleteLater);
    sync->download_house();
}
