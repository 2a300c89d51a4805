#include "widgets/choosers/personordepartmentchoosewidget.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/chosenpanel.h"
#include "widgets/choosers/rowlayout.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QJsonValue>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const QString kChoosePrefix = QStringLiteral("choose_");

const QString kCrumbStyle = QStringLiteral(
    "QPushButton{border:none;background:transparent;color:rgb(12,145,235);font-size:14px;padding:0 2px;}"
    "QPushButton:hover{text-decoration:underline;}"
    "QPushButton:disabled{color:rgb(51,51,51);font-weight:bold;}");
const QString kEnterStyle = QStringLiteral(
    "QPushButton{border:1px solid rgb(12,145,235);border-radius:3px;color:rgb(12,145,235);"
    "background:white;font-size:12px;padding:2px 8px;}"
    "QPushButton:hover{background:rgb(232,244,253);}");
const QString kSureStyle = QStringLiteral(
    "QPushButton{background-color:rgb(12,145,235);color:white;font-size:14px;border:none;"
    "border-radius:4px;padding:6px 28px;}"
    "QPushButton:disabled{background-color:rgb(190,190,190);}");

QString deptCaption(const QVariantMap &dept)
{
    const QString name = dept.value(QStringLiteral("dept_name")).toString();
    bool isCount = false;
    const int staff = dept.value(QStringLiteral("count")).toInt(&isCount);
    return isCount ? QStringLiteral("%1（%2人）").arg(name).arg(staff) : name;
}

} // namespace

PersonOrDepartmentChooseWidget::PersonOrDepartmentChooseWidget(QWidget *parent, int kind, bool multiple)
    : PersonOrDepartmentChooseWidget(parent, kind, multiple,
                                     Source{Endpoints::instance().omp_lwpV2, Endpoints::instance().omp_dept_lwpSub})
{
}

PersonOrDepartmentChooseWidget::PersonOrDepartmentChooseWidget(QWidget *parent, int kind, bool multiple,
                                                               const Source &source)
    : QWidget(parent)
    , m_source(source)
    , m_kind(kind & PeopleAndDepartments ? kind & PeopleAndDepartments : People)
    , m_multiple(multiple)
{
    qRegisterMetaType<QList<QVariantMap>>("QList<QVariantMap>");
    setObjectName(QStringLiteral("PersonOrDepartmentChooseWidget"));
    buildUi();
    loadTop();
}

QSize PersonOrDepartmentChooseWidget::sizeHint() const
{
    return QSize(640, 480);
}

void PersonOrDepartmentChooseWidget::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->setSpacing(8);
    layout->addWidget(buildTrailBar());
    layout->addWidget(buildErrorLine());

    auto *body = new QHBoxLayout;
    QScrollArea *scroll = newRowArea(this, QStringLiteral("widget_rows"), QStringLiteral("white"), &m_rows, &m_rowLayout);
    scroll->setObjectName(QStringLiteral("scrollArea_items"));
    body->addWidget(scroll, 3);
    m_chosen = new ChosenPanel(this);
    body->addWidget(m_chosen, 2);
    layout->addLayout(body, 1);
    connect(m_chosen, &ChosenPanel::changed, this, &PersonOrDepartmentChooseWidget::syncChecks);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    m_sure = new QPushButton(QStringLiteral("确定"), this);
    m_sure->setObjectName(QStringLiteral("pushButton_sure"));
    m_sure->setCursor(Qt::PointingHandCursor);
    m_sure->setStyleSheet(kSureStyle);
    m_sure->setEnabled(false);
    connect(m_sure, &QPushButton::clicked, this, &PersonOrDepartmentChooseWidget::sureChoose);
    bottom->addWidget(m_sure);
    layout->addLayout(bottom);

    m_overlay = new BusyOverlay(scroll);
}

QWidget *PersonOrDepartmentChooseWidget::buildTrailBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("widget_trail"));
    m_crumbLayout = new QHBoxLayout(bar);
    m_crumbLayout->setContentsMargins(0, 0, 0, 0);
    m_crumbLayout->setSpacing(4);
    m_crumbLayout->addStretch();
    return bar;
}

QWidget *PersonOrDepartmentChooseWidget::buildErrorLine()
{
    auto *line = new QWidget(this);
    line->setObjectName(QStringLiteral("widget_error"));
    m_errorLine = line;
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    m_error = new QLabel(line);
    m_error->setObjectName(QStringLiteral("label_error"));
    m_error->setStyleSheet(QStringLiteral("QLabel{color:rgb(230,67,64);font-size:13px;}"));
    m_error->setWordWrap(true);
    layout->addWidget(m_error, 1);
    m_retry = new QPushButton(QStringLiteral("重试"), line);
    m_retry->setObjectName(QStringLiteral("pushButton_retry"));
    m_retry->setCursor(Qt::PointingHandCursor);
    m_retry->setStyleSheet(kEnterStyle);
    connect(m_retry, &QPushButton::clicked, this, &PersonOrDepartmentChooseWidget::retry);
    layout->addWidget(m_retry);
    line->hide();
    return line;
}

// ---- Loading levels ----

void PersonOrDepartmentChooseWidget::loadTop()
{
    request(QVariantMap());
}

void PersonOrDepartmentChooseWidget::enterDepartment(const QVariantMap &dept)
{
    request(dept);
}

void PersonOrDepartmentChooseWidget::retry()
{
    if (m_failed)
        request(m_failedTarget);
}

// target: the department whose level is asked for; empty for the top level.
void PersonOrDepartmentChooseWidget::request(const QVariantMap &target)
{
    const int serial = ++m_serial;
    m_failed = false;
    m_errorLine->hide();
    auto *request = new NetRequestObjecet(this);
    connect(request, &NetRequestObjecet::loadSuccess, this, [this, serial, target](const QJsonValue &value) {
        if (serial == m_serial)
            dealLevel(target, value);
    });
    connect(request, &NetRequestObjecet::loadFail, this, [this, serial, target, request] {
        if (serial == m_serial)
            dealFailure(target, request->failureReason());
    });
    connect(request, &NetRequestObjecet::loadFinish, request, &QObject::deleteLater);
    m_overlay->start(QStringLiteral("加载中..."));
    if (target.isEmpty())
        request->postForm(m_source.top, QVariantMap());
    else
        request->postForm(m_source.sub, {{QStringLiteral("dept_id"), target.value(QStringLiteral("dept_id"))}});
}

void PersonOrDepartmentChooseWidget::dealLevel(const QVariantMap &target, const QJsonValue &value)
{
    m_overlay->stop();
    const DepartmentLevel level = DepartmentLevel::parse(value);
    if (!level.valid) {
        m_failedTarget = target;
        showError(QStringLiteral("部门数据无法识别，请重试"), true);
        return;
    }
    QString crumb = target.value(QStringLiteral("dept_name")).toString();
    if (target.isEmpty()) {
        m_trail.clear();
        crumb = level.deptName.isEmpty() ? QStringLiteral("全部") : level.deptName;
    }
    m_trail.append({crumb, level});
    showLevel();
    if (level.skipped > 0)
        showError(QStringLiteral("有%1项数据无法识别，已略过").arg(level.skipped), false);
}

void PersonOrDepartmentChooseWidget::dealFailure(const QVariantMap &target, const QString &reason)
{
    m_overlay->stop();
    m_failedTarget = target;
    const QString name = target.value(QStringLiteral("dept_name")).toString();
    showError(target.isEmpty() ? QStringLiteral("加载失败：%1").arg(reason)
                               : QStringLiteral("“%1”加载失败：%2").arg(name, reason),
              true);
}

void PersonOrDepartmentChooseWidget::showError(const QString &text, bool canRetry)
{
    m_failed = canRetry;
    m_error->setText(text);
    m_retry->setVisible(canRetry);
    m_errorLine->show();
}

void PersonOrDepartmentChooseWidget::backTo(int depth)
{
    if (depth < 0 || depth >= m_trail.size())
        return;
    // A level still on its way would replace the one the user went back to.
    ++m_serial;
    m_overlay->stop();
    m_failed = false;
    m_errorLine->hide();
    m_trail = m_trail.mid(0, depth + 1);
    showLevel();
}

// ---- Showing a level ----

QStringList PersonOrDepartmentChooseWidget::trail() const
{
    QStringList crumbs;
    for (const Level &level : m_trail)
        crumbs << level.crumb;
    return crumbs;
}

void PersonOrDepartmentChooseWidget::showCrumbs()
{
    discardRows(m_crumbLayout, 1);
    for (int i = 0; i < m_trail.size(); ++i) {
        auto *bar = m_crumbLayout->parentWidget();
        if (i > 0) {
            auto *separator = new QLabel(QStringLiteral("›"), bar);
            separator->setStyleSheet(QStringLiteral("QLabel{color:rgb(153,153,153);font-size:14px;}"));
            m_crumbLayout->insertWidget(m_crumbLayout->count() - 1, separator);
        }
        auto *crumb = new QPushButton(m_trail.at(i).crumb, bar);
        crumb->setObjectName(QStringLiteral("crumb_%1").arg(i));
        crumb->setCursor(Qt::PointingHandCursor);
        crumb->setStyleSheet(kCrumbStyle);
        crumb->setEnabled(i + 1 < m_trail.size());
        connect(crumb, &QPushButton::clicked, this, [this, i] { backTo(i); });
        m_crumbLayout->insertWidget(m_crumbLayout->count() - 1, crumb);
    }
}

void PersonOrDepartmentChooseWidget::showLevel()
{
    showCrumbs();
    discardRows(m_rowLayout, 1);
    const DepartmentLevel &level = m_trail.last().data;
    int row = 0;
    for (const QVariantMap &dept : level.departments)
        m_rowLayout->insertWidget(row++, departmentRow(dept));
    if (m_kind & People) {
        for (const QVariantMap &person : level.people)
            m_rowLayout->insertWidget(row++, personRow(person));
    }
    if (row == 0) {
        auto *empty = new QLabel(m_kind & People ? QStringLiteral("暂无下级部门和人员") : QStringLiteral("暂无下级部门"), m_rows);
        empty->setObjectName(QStringLiteral("label_empty"));
        empty->setStyleSheet(QStringLiteral("QLabel{color:rgb(153,153,153);font-size:13px;}"));
        m_rowLayout->insertWidget(0, empty);
    }
    syncChecks();
}

QWidget *PersonOrDepartmentChooseWidget::departmentRow(const QVariantMap &dept)
{
    auto *row = new QWidget(m_rows);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 3, 0, 3);
    if (m_kind & Departments)
        layout->addWidget(chooseBox(dept, deptCaption(dept), row), 1);
    else
        layout->addWidget(new QLabel(deptCaption(dept), row), 1);
    auto *enter = new QPushButton(QStringLiteral("下级 ›"), row);
    enter->setObjectName(QStringLiteral("enter_") + DepartmentLevel::entryKey(dept));
    enter->setCursor(Qt::PointingHandCursor);
    enter->setStyleSheet(kEnterStyle);
    connect(enter, &QPushButton::clicked, this, [this, dept] { enterDepartment(dept); });
    layout->addWidget(enter);
    return row;
}

QWidget *PersonOrDepartmentChooseWidget::personRow(const QVariantMap &person)
{
    auto *row = new QWidget(m_rows);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 3, 0, 3);
    layout->addWidget(chooseBox(person, person.value(QStringLiteral("name")).toString(), row), 1);
    auto *phone = new QLabel(person.value(QStringLiteral("phone")).toString(), row);
    phone->setStyleSheet(QStringLiteral("QLabel{color:rgb(153,153,153);}"));
    layout->addWidget(phone);
    return row;
}

QCheckBox *PersonOrDepartmentChooseWidget::chooseBox(const QVariantMap &entry, const QString &text, QWidget *row)
{
    auto *box = new QCheckBox(text, row);
    box->setObjectName(kChoosePrefix + DepartmentLevel::entryKey(entry));
    box->setCursor(Qt::PointingHandCursor);
    connect(box, &QCheckBox::toggled, this, [this, entry](bool on) { setEntryChosen(entry, on); });
    return box;
}

// ---- The choice ----

void PersonOrDepartmentChooseWidget::setEntryChosen(const QVariantMap &entry, bool on)
{
    if (!on) {
        m_chosen->remove(DepartmentLevel::entryKey(entry));
        return;
    }
    if (!m_multiple)
        m_chosen->clear();
    m_chosen->add(entry);
}

// The boxes of the current level follow the chosen column (a single choice unticks the
// previous one, a removal in the column unticks its box).
void PersonOrDepartmentChooseWidget::syncChecks()
{
    for (QCheckBox *box : m_rows->findChildren<QCheckBox *>()) {
        if (!box->objectName().startsWith(kChoosePrefix))
            continue;
        const QSignalBlocker blocker(box);
        box->setChecked(m_chosen->contains(box->objectName().mid(kChoosePrefix.size())));
    }
    m_sure->setEnabled(!m_chosen->entries().isEmpty());
}

void PersonOrDepartmentChooseWidget::setChosen(const QList<QVariantMap> &entries)
{
    m_chosen->clear();
    for (const QVariantMap &entry : entries) {
        m_chosen->add(entry);
        if (!m_multiple)
            break;
    }
    syncChecks();
}

QList<QVariantMap> PersonOrDepartmentChooseWidget::chosen() const
{
    return m_chosen->entries();
}

void PersonOrDepartmentChooseWidget::sureChoose()
{
    const QList<QVariantMap> entries = m_chosen->entries();
    if (entries.isEmpty())
        return;
    if (m_multiple)
        emit backChoose(entries);
    else
        emit backSingleChoose(entries.first());
}
