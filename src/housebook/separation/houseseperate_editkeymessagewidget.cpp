#include "separation/houseseperate_editkeymessagewidget.h"

#include "separation/evidencechoicebutton.h"
#include "widgets/choosers/personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"
#include "datacenter.h"

#include <QDate>

HouseSeperate_EditKeyMessageWidget::HouseSeperate_EditKeyMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent)
    : SeparationEvidenceForm(house, row, edit, SeparationService::KeyEvidence, QStringLiteral("提交钥匙信息中..."), parent)
{
    addLineEdit(QStringLiteral("keyCodeEdit"), QStringLiteral("钥匙编号："), QStringLiteral("请输入钥匙编号"));
    m_dept = addChoice(QStringLiteral("keyDeptButton"), QStringLiteral("钥匙所在："), QStringLiteral("选择钥匙所在"));
    m_holder = addChoice(QStringLiteral("keyPeopleButton"), QStringLiteral("钥匙人："), QStringLiteral("选择钥匙人"));
    m_date = addDate(QStringLiteral("shouDateButton"), QStringLiteral("收钥日期："), QStringLiteral("选择收钥日期"),
                     QStringLiteral("shoudate"));
    addRemark();

    // The keys are with the role's holder today unless the agent says otherwise.
    const QString self = QString::number(DataCenter::YongHuID);
    if (row.hasHolder() && !row.info.userId.isEmpty())
        m_holder->setChoice(row.info.userId, row.info.name);
    else
        m_holder->setChoice(self, QStringLiteral("本人"));
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-M-d"));
    m_date->setChoice(today, today);

    connect(m_dept, &QPushButton::clicked, this, [this] {
        choose(m_dept, PersonOrDepartmentChooseWidget::Departments, QStringLiteral("选择钥匙所在"));
    });
    connect(m_holder, &QPushButton::clicked, this, [this] {
        choose(m_holder, PersonOrDepartmentChooseWidget::People, QStringLiteral("选择钥匙人"));
    });

    setFields({itemIdRow(),
               {QStringLiteral("keyCodeEdit"), QStringLiteral("keycode"), QStringLiteral("keycode"), FormField::Text,
                FormField::Required, QStringLiteral("请输入钥匙编号！")},
               {QStringLiteral("remarkEdit"), QStringLiteral("remark"), QStringLiteral("remark")},
               atLeastOne([this] { return m_dept->hasChoice(); }, QStringLiteral("请选择钥匙所在部门！")),
               choiceRow(QStringLiteral("keydeptid"), m_dept),
               choiceRow(QStringLiteral("keydeptname"), m_dept, true),
               choiceRow(QStringLiteral("userid"), m_holder),
               choiceRow(QStringLiteral("shoudate"), m_date)});
}

void HouseSeperate_EditKeyMessageWidget::choose(EvidenceChoiceButton *target, int kind, const QString &title)
{
    auto *popup = new CommonAddWidget(this);
    popup->setObjectName(QStringLiteral("choosePopup"));
    popup->setTitle(title);
    auto *chooser = new PersonOrDepartmentChooseWidget(popup, kind, false);
    popup->setContentWidget(chooser);
    popup->resize(chooser->sizeHint());
    const bool dept = kind == PersonOrDepartmentChooseWidget::Departments;
    connect(chooser, &PersonOrDepartmentChooseWidget::backSingleChoose, this, [target, popup, dept](const QVariantMap &entry) {
        target->setChoice(entry.value(dept ? QStringLiteral("dept_id") : QStringLiteral("id")).toString(),
                          entry.value(dept ? QStringLiteral("dept_name") : QStringLiteral("name")).toString());
        popup->closeWidget();
    });
    popup->show();
}

void HouseSeperate_EditKeyMessageWidget::fillFrom(const HouseBookSeperateDetail_Model::Data &detail)
{
    SeparationEvidenceForm::fillFrom(detail);
    // The entry names the department but not its id; the holder's department stands in.
    if (!detail.detailinfo.deptName.isEmpty())
        m_dept->setChoice(role().deptid, detail.detailinfo.deptName);
}
