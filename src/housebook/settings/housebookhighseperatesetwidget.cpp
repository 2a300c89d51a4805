#include "settings/housebookhighseperatesetwidget.h"

#include "net/wholenumber.h"
#include "services/housebooksettingsservice.h"
#include "widgets/busyoverlay.h"
#include "widgets/loadfailureview.h"
#include "widgets/namedwidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The photo categories a survey standard can require, by type 1..6.
const char *const kCategoryNames[] = {"户型图", "厨房图", "客厅图", "卧室图", "卫生间", "室外图"};

const QString kType = QStringLiteral("type");
const QString kCount = QStringLiteral("count");
const QString kChoose = QStringLiteral("choose");
const QString kRules = QStringLiteral("rules");

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A count or a day span: whole digits, "" counting as 0.
QLineEdit *digitsEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), edit));
    edit->setFixedWidth(60);
    edit->setToolTip(QStringLiteral("填0表示不作要求"));
    return edit;
}

QString numberText(const QVariant &value)
{
    return QString::number(qMax(0, WholeNumber::toInt(value)));
}

} // namespace

HouseBookHighSeperateSetWidget::HouseBookHighSeperateSetWidget(QWidget *parent)
    : QWidget(parent), m_service(new HouseBookSettingsService(this))
{
    m_form = new QWidget(this);
    auto *grid = new QGridLayout(m_form);
    grid->setColumnStretch(1, 1);
    addRow(grid, QStringLiteral("实勘标准："), buildRules());
    m_shikanContent = new QPlainTextEdit(m_form);
    m_shikanContent->setObjectName(QStringLiteral("shikanContentEdit"));
    m_shikanContent->setPlaceholderText(QStringLiteral("写给实勘人的拍摄要求，如：照片需横向拍摄、光线充足"));
    m_shikanContent->setFixedHeight(80);
    addRow(grid, QStringLiteral("实勘说明："), m_shikanContent);
    addRow(grid, QStringLiteral("跟进要求："),
           buildFrequency(&m_followDays, &m_followCount, QStringLiteral("followDaysEdit"),
                          QStringLiteral("followCountEdit"), QStringLiteral("天内至少跟进")));
    addRow(grid, QStringLiteral("通话要求："),
           buildFrequency(&m_telDays, &m_telCount, QStringLiteral("telDaysEdit"), QStringLiteral("telCountEdit"),
                          QStringLiteral("天内至少通话")));
    m_hideOwnerPhone = new QCheckBox(QStringLiteral("对协作人隐藏业主电话"), m_form);
    m_hideOwnerPhone->setObjectName(QStringLiteral("hideOwnerPhoneCheck"));
    addRow(grid, QStringLiteral("号码保护："), m_hideOwnerPhone);
    m_dujiaren = new QCheckBox(QStringLiteral("启用独家代理人"), m_form);
    m_dujiaren->setObjectName(QStringLiteral("dujiarenCheck"));
    addRow(grid, QStringLiteral("独家代理："), m_dujiaren);
    QPushButton *save = namedButton(QStringLiteral("saveSeperateRuleButton"), QStringLiteral("保存"), m_form);
    grid->addWidget(save, grid->rowCount(), 1, Qt::AlignLeft);
    grid->setRowStretch(grid->rowCount(), 1);

    m_failure = new LoadFailureView(QStringLiteral("分单规则加载失败："), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_failure);
    layout->addWidget(m_form);
    m_overlay = new BusyOverlay(this);

    connect(save, &QPushButton::clicked, this, &HouseBookHighSeperateSetWidget::submit);
    connect(m_failure, &LoadFailureView::retryRequested, this, &HouseBookHighSeperateSetWidget::load);
    connect(m_service, &HouseBookSettingsService::separationRulesLoaded, this, &HouseBookHighSeperateSetWidget::showRules);
    connect(m_service, &HouseBookSettingsService::failed, this,
            [this](HouseBookSettingsService::Request request, const QString &reason) {
                m_overlay->stop();
                if (request == HouseBookSettingsService::LoadSeparationRules)
                    showLoadFailure(reason);
            });
    connect(m_service, &HouseBookSettingsService::cachesReloaded, this, [this] {
        m_overlay->stop();
        emit setSuccess();
        load();
    });
    load();
}

QWidget *HouseBookHighSeperateSetWidget::buildRules()
{
    auto *box = new QWidget(m_form);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kCategories; ++i) {
        m_ruleChecks[i] = new QCheckBox(QString::fromUtf8(kCategoryNames[i]), box);
        m_ruleChecks[i]->setObjectName(QStringLiteral("ruleCheck_%1").arg(i + 1));
        m_ruleCounts[i] = new QSpinBox(box);
        m_ruleCounts[i]->setObjectName(QStringLiteral("ruleCountSpin_%1").arg(i + 1));
        m_ruleCounts[i]->setRange(1, 99);
        m_ruleCounts[i]->setPrefix(QStringLiteral("至少 "));
        m_ruleCounts[i]->setSuffix(QStringLiteral(" 张"));
        // Two categories a line, so the page fits the settings window whatever the font.
        const int row = i / 2;
        const int column = (i % 2) * 2;
        grid->addWidget(m_ruleChecks[i], row, column);
        grid->addWidget(m_ruleCounts[i], row, column + 1);
    }
    grid->setColumnStretch(4, 1);
    return box;
}

// "每 [days] 天内至少跟进 [count] 次".
QWidget *HouseBookHighSeperateSetWidget::buildFrequency(QLineEdit **days, QLineEdit **count, const QString &daysName,
                                                        const QString &countName, const QString &action)
{
    auto *box = new QWidget(m_form);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    *days = digitsEdit(daysName, box);
    *count = digitsEdit(countName, box);
    row->addWidget(new QLabel(QStringLiteral("每"), box));
    row->addWidget(*days);
    row->addWidget(new QLabel(action, box));
    row->addWidget(*count);
    row->addWidget(new QLabel(QStringLiteral("次"), box));
    row->addStretch(1);
    return box;
}

void HouseBookHighSeperateSetWidget::addRow(QGridLayout *grid, const QString &label, QWidget *field)
{
    const int row = grid->rowCount();
    auto *title = new QLabel(label, m_form);
    title->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(title, row, 0);
    grid->addWidget(field, row, 1);
}

void HouseBookHighSeperateSetWidget::load()
{
    m_failure->hide();
    m_overlay->start(QStringLiteral("数据加载中..."));
    m_service->loadSeparationRules();
}

void HouseBookHighSeperateSetWidget::showLoadFailure(const QString &reason)
{
    m_form->hide();
    m_failure->showReason(reason);
}

// A reply without members, or with rules that are no list, is not the rules.
void HouseBookHighSeperateSetWidget::showRules(const QVariantMap &rules)
{
    m_overlay->stop();
    if (rules.isEmpty() || (rules.contains(kRules) && rules.value(kRules).type() != QVariant::List)) {
        showLoadFailure(QStringLiteral("服务器返回的分单规则无法识别"));
        return;
    }
    for (int i = 0; i < kCategories; ++i) {
        m_ruleChecks[i]->setChecked(false);
        m_ruleCounts[i]->setValue(1);
    }
    for (const QVariant &entry : rules.value(kRules).toList()) {
        const QVariantMap rule = entry.toMap();
        const int index = WholeNumber::toInt(rule.value(kType)) - 1;
        if (index < 0 || index >= kCategories)
            continue;
        m_ruleChecks[index]->setChecked(WholeNumber::toInt(rule.value(kChoose)) == 1);
        m_ruleCounts[index]->setValue(WholeNumber::toInt(rule.value(kCount), 1));
    }
    m_followDays->setText(numberText(rules.value(QStringLiteral("followdays"))));
    m_followCount->setText(numberText(rules.value(QStringLiteral("followcount"))));
    m_telDays->setText(numberText(rules.value(QStringLiteral("teldays"))));
    m_telCount->setText(numberText(rules.value(QStringLiteral("telcount"))));
    m_shikanContent->setPlainText(rules.value(QStringLiteral("shikancontent")).toString());
    m_hideOwnerPhone->setChecked(WholeNumber::toInt(rules.value(QStringLiteral("hideOwnerPhone"))) == 1);
    m_dujiaren->setChecked(WholeNumber::toInt(rules.value(QStringLiteral("dujiaren"))) == 1);
    m_form->show();
}

QList<QVariantMap> HouseBookHighSeperateSetWidget::rules() const
{
    QList<QVariantMap> entries;
    for (int i = 0; i < kCategories; ++i)
        entries << QVariantMap{{kType, i + 1},
                               {kCount, m_ruleCounts[i]->value()},
                               {kChoose, m_ruleChecks[i]->isChecked()}};
    return entries;
}

QVariantMap HouseBookHighSeperateSetWidget::form() const
{
    return {{QStringLiteral("followdays"), numberText(m_followDays->text())},
            {QStringLiteral("followcount"), numberText(m_followCount->text())},
            {QStringLiteral("teldays"), numberText(m_telDays->text())},
            {QStringLiteral("telcount"), numberText(m_telCount->text())},
            {QStringLiteral("shikancontent"), m_shikanContent->toPlainText().trimmed()},
            {QStringLiteral("hideOwnerPhone"), flagText(m_hideOwnerPhone->isChecked())},
            {QStringLiteral("dujiaren"), flagText(m_dujiaren->isChecked())}};
}

void HouseBookHighSeperateSetWidget::submit()
{
    if (m_overlay->isRunning() || m_form->isHidden())
        return;
    m_overlay->start(QStringLiteral("提交设置中..."));
    m_service->saveSeparationRules(rules(), form());
}
