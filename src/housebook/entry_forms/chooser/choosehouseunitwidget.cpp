#include "entry_forms/chooser/choosehouseunitwidget.h"

using CommunityStructure::TypedOutcome;

ChooseHouseUnitWidget::ChooseHouseUnitWidget(QWidget *parent)
    : StructureListPage({QStringLiteral("danyuan"), QStringLiteral("单元号"), QStringLiteral("添加单元号"),
                         QStringLiteral("请输入要添加的单元"), CommunityStructure::unitSuffixes(), QString()},
                        parent)
{
    setObjectName(QStringLiteral("ChooseHouseUnitWidget"));
}

void ChooseHouseUnitWidget::setUnits(const QList<XiaoQuLouDongMsg_Model::DanYuan> &units)
{
    m_units = units;
    QStringList names;
    for (const auto &unit : units)
        names << unit.name;
    setEntries(names);
}

void ChooseHouseUnitWidget::dealDataList(const QJsonValue &value)
{
    stopLoading();
    setUnits(CommunityStructure::unitsOf(value));
}

void ChooseHouseUnitWidget::addCustomTxt(const QString &content, const QString &unit)
{
    const TypedOutcome outcome = CommunityStructure::typedUnit(content, unit, m_units, m_locked,
                                                               !m_locked && CommunityStructure::mayAddStructure());
    const XiaoQuLouDongMsg_Model::DanYuan fresh{QString(), outcome.name, outcome.unit};
    takeTyped(outcome, m_units, fresh, [this](const XiaoQuLouDongMsg_Model::DanYuan &chosen) { emit clickItem(chosen); });
}

void ChooseHouseUnitWidget::entryChosen(int index)
{
    if (index >= 0 && index < m_units.size())
        emit clickItem(m_units.at(index));
}
