#include "entry_forms/chooser/choosehouseloudongwidget.h"

using CommunityStructure::TypedOutcome;

ChooseHouseLouDongWidget::ChooseHouseLouDongWidget(QWidget *parent)
    : StructureListPage({QStringLiteral("loudong"), QStringLiteral("楼栋号"), QStringLiteral("添加楼栋号"),
                         QStringLiteral("请输入要添加的楼栋号"), CommunityStructure::buildingSuffixes(), QString()},
                        parent)
{
    setObjectName(QStringLiteral("ChooseHouseLouDongWidget"));
}

void ChooseHouseLouDongWidget::setBuildings(const QList<XiaoQuLouDongMsg_Model::LouDong> &buildings)
{
    m_buildings = buildings;
    QStringList names;
    for (const auto &building : buildings)
        names << building.name;
    setEntries(names);
}

void ChooseHouseLouDongWidget::dealSearchData(const QJsonValue &value)
{
    stopLoading();
    setBuildings(CommunityStructure::buildingsOf(value));
}

void ChooseHouseLouDongWidget::addCustomTxt(const QString &content, const QString &unit)
{
    const TypedOutcome outcome = CommunityStructure::typedBuilding(content, unit, m_buildings, m_locked,
                                                                   !m_locked && CommunityStructure::mayAddStructure());
    const XiaoQuLouDongMsg_Model::LouDong fresh{QString(), outcome.name, outcome.unit, false};
    takeTyped(outcome, m_buildings, fresh, [this](const XiaoQuLouDongMsg_Model::LouDong &chosen) { emit clickItem(chosen); });
}

void ChooseHouseLouDongWidget::entryChosen(int index)
{
    if (index >= 0 && index < m_buildings.size())
        emit clickItem(m_buildings.at(index));
}
