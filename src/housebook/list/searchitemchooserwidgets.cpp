#include "list/searchitemchooserwidgets.h"

#include "sql/communitybookdataobject.h"
#include "sql/usermessage_datasqltable.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kDeptId = QStringLiteral("dept_id");
const QString kDeptName = QStringLiteral("dept_name");

QString departmentId(const QVariantMap &node)
{
    const QString id = node.value(kDeptId).toString();
    return id.isEmpty() ? node.value(QStringLiteral("id")).toString() : id;
}

QStringList checkedTexts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            texts << list->item(row)->text();
    }
    return texts;
}

// Adds the names not yet listed, unticked.
void addNames(QListWidget *list, const QStringList &names)
{
    for (const QString &name : names) {
        if (name.isEmpty() || !list->findItems(name, Qt::MatchExactly).isEmpty())
            continue;
        auto *item = new QListWidgetItem(name, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void tickNames(QListWidget *list, const QStringList &names)
{
    addNames(list, names);
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(names.contains(list->item(row)->text()) ? Qt::Checked : Qt::Unchecked);
}

QStringList jsonStrings(const QJsonValue &value)
{
    QStringList out;
    for (const QJsonValue &v : value.toArray())
        out << v.toString();
    return out;
}

} // namespace

HouseSearch_ChooseDeptmentMessageWidget::HouseSearch_ChooseDeptmentMessageWidget(const QVariantMap &description,
                                                                                 bool isJointSale, QWidget *parent)
    : HouseSearchItem(description, parent)
{
    m_dept = new QComboBox(this);
    m_dept->setObjectName(QStringLiteral("dept_id"));
    m_dept->setStyleSheet(comboBoxStyle());
    m_more = new QToolButton(this);
    m_more->setObjectName(QStringLiteral("more"));
    m_more->setArrowType(Qt::DownArrow);
    m_more->setPopupMode(QToolButton::InstantPopup);
    m_moreMenu = new QMenu(m_more);
    m_more->setMenu(m_moreMenu);
    m_staff = addLineEdit(QStringLiteral("down_search"), prompt(), this);
    fillDepartments(isJointSale);

    auto *row = plainRow(this);
    row->addWidget(m_dept, 1);
    row->addWidget(m_more);
    row->addWidget(m_staff, 1);
    connect(m_dept, QOverload<int>::of(&QComboBox::activated), this, &HouseSearch_ChooseDeptmentMessageWidget::chooseStaff);
    connect(m_staff, &QLineEdit::textEdited, this, &HouseSearch_ChooseDeptmentMessageWidget::chooseStaff);
}

// The departments of the signed-in user's company, indented by their depth.
void HouseSearch_ChooseDeptmentMessageWidget::fillDepartments(bool isJointSale)
{
    m_dept->addItem(title());
    UserMessage_DataSqlTable users(nullptr, isJointSale);
    for (const QVariantMap &node : users.getDepartmentList()) {
        const QString id = departmentId(node), name = node.value(kDeptName).toString();
        if (id.isEmpty())
            continue;
        m_dept->addItem(QString(node.value(QStringLiteral("level")).toInt() * 2, QLatin1Char(' ')) + name, id);
        QAction *action = m_moreMenu->addAction(name);
        action->setCheckable(true);
        action->setData(id);
        connect(action, &QAction::toggled, this, &HouseSearch_ChooseDeptmentMessageWidget::chooseStaff);
    }
    m_more->setEnabled(!m_moreMenu->isEmpty());
}

QStringList HouseSearch_ChooseDeptmentMessageWidget::chosenDeptIds() const
{
    QStringList ids;
    if (m_dept->currentIndex() > 0)
        ids << m_dept->currentData().toString();
    for (const QAction *action : m_moreMenu->actions()) {
        if (action->isChecked() && !ids.contains(action->data().toString()))
            ids << action->data().toString();
    }
    return ids;
}

QString HouseSearch_ChooseDeptmentMessageWidget::value() const
{
    QJsonArray nodes;
    for (const QString &id : chosenDeptIds()) {
        const int index = m_dept->findData(id);
        nodes.append(QJsonObject{{QStringLiteral("nodeType"), QStringLiteral("dept")}, {kDeptId, id},
                                 {kDeptName, m_dept->itemText(index).trimmed()}});
    }
    for (const QString &phone : m_staff->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!phone.trimmed().isEmpty())
            nodes.append(QJsonObject{{QStringLiteral("nodeType"), QStringLiteral("staff")},
                                     {QStringLiteral("phone"), phone.trimmed()}});
    }
    return nodes.isEmpty() ? QString() : QString::fromUtf8(QJsonDocument(nodes).toJson(QJsonDocument::Compact));
}

void HouseSearch_ChooseDeptmentMessageWidget::setValue(const QString &text)
{
    clearValue();
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray()) {
        m_staff->setText(text);
    } else {
        QStringList ids, phones;
        for (const QJsonValue &v : doc.array()) {
            const QVariantMap node = v.toObject().toVariantMap();
            const QString phone = node.value(QStringLiteral("phone")).toString();
            (phone.isEmpty() ? ids : phones) << (phone.isEmpty() ? departmentId(node) : phone);
        }
        checkDepartments(ids);
        m_staff->setText(phones.join(QLatin1Char(',')));
    }
    chooseStaff();
}

void HouseSearch_ChooseDeptmentMessageWidget::checkDepartments(const QStringList &ids)
{
    for (QAction *action : m_moreMenu->actions()) {
        const QSignalBlocker quiet(action);
        action->setChecked(ids.contains(action->data().toString()));
    }
}

void HouseSearch_ChooseDeptmentMessageWidget::clearValue()
{
    const QSignalBlocker quietDept(m_dept);
    const QSignalBlocker quietStaff(m_staff);
    m_dept->setCurrentIndex(0);
    m_staff->clear();
    checkDepartments(QStringList());
}

void HouseSearch_ChooseDeptmentMessageWidget::chooseStaff()
{
    emit chooseTextValue(itemId(), value());
}

HouseSearch_ChooseMoreSchool_ChooseWidget::HouseSearch_ChooseMoreSchool_ChooseWidget(QWidget *parent)
    : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("chooseMoreSchoolWidget"));
    setStyleSheet(QStringLiteral("#chooseMoreSchoolWidget{background-color:white;border:1px solid rgb(221,221,221);}"));
    auto *search = new QLineEdit(this);
    search->setObjectName(QStringLiteral("schoolSearchEdit"));
    m_schools = new QListWidget(this);
    m_schools->setObjectName(QStringLiteral("schools"));
    m_coms = new QListWidget(this);
    m_coms->setObjectName(QStringLiteral("coms"));
    auto *submit = new QPushButton(QStringLiteral("确定"), this);
    submit->setObjectName(QStringLiteral("submitButton"));
    submit->setStyleSheet(QStringLiteral("QPushButton{background-color:rgb(12,145,235);color:white;border:none;"
                                         "border-radius:5px;min-height:28px;}"));

    auto *lists = new QHBoxLayout;
    lists->addWidget(m_schools);
    lists->addWidget(m_coms);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(search);
    layout->addLayout(lists, 1);
    layout->addWidget(submit);
    resize(420, 320);
    connect(search, &QLineEdit::textEdited, this, &HouseSearch_ChooseMoreSchool_ChooseWidget::macthSchool);
    connect(submit, &QPushButton::clicked, this, &HouseSearch_ChooseMoreSchool_ChooseWidget::submitData);
}

void HouseSearch_ChooseMoreSchool_ChooseWidget::setCommunities(const QList<CommunityMessage_DataSqlTable::ListData> &list)
{
    QStringList schools, coms;
    for (const CommunityMessage_DataSqlTable::ListData &community : list) {
        coms << community.name;
        schools << community.primaryschool << community.middleschool;
    }
    schools.removeDuplicates();
    addNames(m_schools, schools);
    addNames(m_coms, coms);
}

void HouseSearch_ChooseMoreSchool_ChooseWidget::setChosen(const QStringList &schools, const QStringList &coms)
{
    tickNames(m_schools, schools);
    tickNames(m_coms, coms);
}

QStringList HouseSearch_ChooseMoreSchool_ChooseWidget::chosenSchools() const
{
    return checkedTexts(m_schools);
}

QStringList HouseSearch_ChooseMoreSchool_ChooseWidget::chosenComs() const
{
    return checkedTexts(m_coms);
}

void HouseSearch_ChooseMoreSchool_ChooseWidget::macthSchool(const QString &text)
{
    for (int row = 0; row < m_schools->count(); ++row)
        m_schools->item(row)->setHidden(!m_schools->item(row)->text().contains(text.trimmed(), Qt::CaseInsensitive));
}

void HouseSearch_ChooseMoreSchool_ChooseWidget::submitData()
{
    hide();
    emit chosen(chosenSchools(), chosenComs());
}

HouseSearch_ChooseMoreSchoolWidget::HouseSearch_ChooseMoreSchoolWidget(const QVariantMap &description,
                                                                       bool isJointSale, QWidget *parent)
    : HouseSearchItem(description, parent), m_isJointSale(isJointSale),
      m_chooser(new HouseSearch_ChooseMoreSchool_ChooseWidget(this))
{
    auto *button = new QPushButton(QStringLiteral("多学区/小区搜索"), this);
    button->setObjectName(QStringLiteral("chooseButton"));
    button->setStyleSheet(buttonStyle());
    button->setCursor(Qt::PointingHandCursor);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("chosenLabel"));
    m_label->setStyleSheet(QStringLiteral("QLabel{color:rgb(60,60,60);font-size:13px;font-family:微软雅黑;}"));
    auto *row = plainRow(this);
    row->addWidget(button);
    row->addWidget(m_label, 1);
    connect(button, &QPushButton::clicked, this, &HouseSearch_ChooseMoreSchoolWidget::openChooser);
    connect(m_chooser, &HouseSearch_ChooseMoreSchool_ChooseWidget::chosen, this,
            &HouseSearch_ChooseMoreSchoolWidget::takeChoice);
}

void HouseSearch_ChooseMoreSchoolWidget::openChooser()
{
    loadCommunities();
    m_chooser->setChosen(m_schools, m_coms);
    m_chooser->move(mapToGlobal(QPoint(0, height())));
    m_chooser->show();
}

// Every community of the local table, read on a worker thread; one load at a time.
void HouseSearch_ChooseMoreSchoolWidget::loadCommunities()
{
    if (m_loading)
        return;
    CommunityBookDataObject::Condition condition;
    condition.pageSize = 0;
    condition.fields = QStringList{QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("primaryschool"),
                                   QStringLiteral("middleschool")};
    condition.isJointSale = m_isJointSale;
    auto *request = new CommunityBookDataObject(this);
    connect(request, &CommunityBookDataObject::backCommunityList, this,
            [this, request](const QList<CommunityMessage_DataSqlTable::ListData> &list) {
                request->deleteLater();
                m_chooser->setCommunities(list);
            });
    m_loading = request->requestCommunityList(condition);
}

void HouseSearch_ChooseMoreSchoolWidget::takeChoice(const QStringList &schools, const QStringList &coms)
{
    m_schools = schools;
    m_coms = coms;
    showChoice();
    emit chooseTextValue(itemId(), value());
}

QString HouseSearch_ChooseMoreSchoolWidget::value() const
{
    if (m_schools.isEmpty() && m_coms.isEmpty())
        return QString();
    const QJsonObject chosen{{QStringLiteral("schools"), QJsonArray::fromStringList(m_schools)},
                             {QStringLiteral("coms"), QJsonArray::fromStringList(m_coms)}};
    return QString::fromUtf8(QJsonDocument(chosen).toJson(QJsonDocument::Compact));
}

void HouseSearch_ChooseMoreSchoolWidget::setValue(const QString &text)
{
    const QJsonObject chosen = QJsonDocument::fromJson(text.toUtf8()).object();
    takeChoice(jsonStrings(chosen.value(QStringLiteral("schools"))), jsonStrings(chosen.value(QStringLiteral("coms"))));
}

void HouseSearch_ChooseMoreSchoolWidget::clearValue()
{
    m_schools.clear();
    m_coms.clear();
    showChoice();
}

// "学区：a、b；小区：c", each part only when something of it is chosen.
void HouseSearch_ChooseMoreSchoolWidget::showChoice()
{
    QStringList parts;
    if (!m_schools.isEmpty())
        parts << QStringLiteral("学区：%1").arg(m_schools.join(QStringLiteral("、")));
    if (!m_coms.isEmpty())
        parts << QStringLiteral("小区：%1").arg(m_coms.join(QStringLiteral("、")));
    m_label->setText(parts.join(QStringLiteral("；")));
}
