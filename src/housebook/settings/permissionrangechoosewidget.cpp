#include "settings/permissionrangechoosewidget.h"

#include "widgets/choosers/jointsale_personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/namedwidgets.h"
#include "widgets/openpopup.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace {

const QString kDeptId = QStringLiteral("dept_id");
const QString kDeptName = QStringLiteral("dept_name");
const QString kWithDown = QStringLiteral("with_down");

// A chosen department in the stored shape; ids given as digits are stored as numbers.
QVariantMap storedDepartment(const QVariantMap &entry)
{
    QVariant id = entry.contains(kDeptId) ? entry.value(kDeptId) : entry.value(QStringLiteral("id"));
    bool isNumber = false;
    const int number = id.toString().toInt(&isNumber);
    if (isNumber)
        id = number;
    return {{kDeptId, id}, {kDeptName, entry.value(kDeptName).toString()}, {kWithDown, entry.value(kWithDown).toBool()}};
}

} // namespace

PermissionRangeChooseWidget::PermissionRangeChooseWidget(QWidget *parent, bool offerDefault) : QWidget(parent)
{
    qRegisterMetaType<QList<QVariantMap>>("QList<QVariantMap>");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("comboBox_range"));
    m_combo->setCursor(Qt::PointingHandCursor);
    m_combo->setFixedWidth(150);
    if (offerDefault)
        m_combo->addItem(QStringLiteral("默认范围"), Default);
    m_combo->addItem(QStringLiteral("仅自己"), Own);
    m_combo->addItem(QStringLiteral("指定部门"), ChosenDepts);
    m_combo->addItem(QStringLiteral("仅所在部门"), DeptOnly);
    m_combo->addItem(QStringLiteral("所在部门及下级部门"), DeptAndSubs);
    m_combo->addItem(QStringLiteral("全公司"), Company);
    layout->addWidget(m_combo);
    connect(m_combo, QOverload<int>::of(&QComboBox::activated), this, &PermissionRangeChooseWidget::comboboxCilck);

    m_label = namedLabel(QStringLiteral("label_bumens"), this);
    m_label->setWordWrap(true);
    m_label->setStyleSheet(QStringLiteral("QLabel{color:rgb(102,102,102);font-size:12px;}"));
    layout->addWidget(m_label, 1);

    m_range = offerDefault ? Default : Own;
    showRange();
}

QString PermissionRangeChooseWidget::bumensText(const QList<QVariantMap> &bumens)
{
    QStringList names;
    for (const QVariantMap &dept : bumens)
        names << dept.value(kDeptName).toString() + (dept.value(kWithDown).toBool() ? QStringLiteral("(含以下)") : QString());
    return names.join(QStringLiteral("、"));
}

void PermissionRangeChooseWidget::setRange(int range, const QList<QVariantMap> &bumens)
{
    m_range = range;
    m_bumens.clear();
    if (range == ChosenDepts) {
        for (const QVariantMap &dept : bumens)
            m_bumens << storedDepartment(dept);
    }
    showRange();
}

void PermissionRangeChooseWidget::showRange()
{
    const QSignalBlocker blocker(m_combo);
    m_combo->setCurrentIndex(m_combo->findData(m_range));
    m_label->setText(bumensText(m_bumens));
    m_label->setToolTip(m_label->text());
}

void PermissionRangeChooseWidget::comboboxCilck()
{
    const int chosen = m_combo->currentData().toInt();
    if (chosen == ChosenDepts) {
        chooseBuMen();
        return;
    }
    if (chosen == m_range)
        return;
    m_range = chosen;
    m_bumens.clear();
    showRange();
    emit backChoose(m_range, m_bumens);
}

void PermissionRangeChooseWidget::chooseBuMen()
{
    if (m_popup)
        return;
    const int kind = PersonOrDepartmentChooseWidget::Departments;
    PersonOrDepartmentChooseWidget *chooser = m_alliance
        ? new JointSale_PersonOrDepartmentChooseWidget(nullptr, kind, true)
        : new PersonOrDepartmentChooseWidget(nullptr, kind, true);
    chooser->setChosen(m_bumens);
    m_chose = false;
    CommonAddWidget *popup = openPopup(window(), PopupSize::Settings, QStringLiteral("选择指定部门"), chooser);
    m_popup = popup;
    connect(chooser, &PersonOrDepartmentChooseWidget::backChoose, this, [this, popup](const QList<QVariantMap> &list) {
        m_chose = true;
        applyDepartments(list);
        popup->closeWidget();
    });
    // Closed without a choice: the combo goes back to the range held before.
    connect(popup, &QObject::destroyed, this, [this] {
        if (!m_chose)
            showRange();
    });
}

void PermissionRangeChooseWidget::applyDepartments(const QList<QVariantMap> &chosen)
{
    m_bumens.clear();
    for (const QVariantMap &entry : chosen) {
        if (DepartmentLevel::isDepartment(entry))
            m_bumens << storedDepartment(entry);
    }
    m_range = ChosenDepts;
    showRange();
    emit backChoose(m_range, m_bumens);
}
